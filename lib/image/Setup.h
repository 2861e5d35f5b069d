#pragma once
// Setup.dat: the 92-byte settings record in the working directory, five little-endian 32-bit
// fields and 72 reserved bytes written as zero. A missing file gives the defaults; a field that a
// short file does not reach, or that holds a value outside its range, takes its default.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "fields/Field.h"

namespace km {

inline constexpr const char* kSetupFileName = "Setup.dat";
inline constexpr std::size_t kSetupRecordSize = 92;

enum ViewAtExit { kViewNone = 0, kViewTrunk = 1, kViewPmr = 2, kViewNetwork = 3 };

// The five fields of the record, each a little-endian 32-bit signed integer with its range and
// default. A field out of its range on disk takes its default.
namespace setup_rows {
using fields::Encoding;
inline constexpr fields::FieldRow kRows[] = {
    {.id = "setup.com_port",
     .caption = "COM Port",
     .at = {.setup = 0},
     .encoding = Encoding::I32,
     .min = 0,
     .max = 15},  // COM1..COM16
    {.id = "setup.baud_rate",
     .caption = "Baud rate",
     .at = {.setup = 4},
     .encoding = Encoding::I32,
     .min = 0,
     .max = 2,
     .defaultValue = 2},  // 4800, 9600, 19200
    {.id = "setup.user_level",
     .caption = "User level",
     .at = {.setup = 8},
     .encoding = Encoding::I32,
     .min = 0,
     .max = 3},  // Basic, General, Network, Engineering
    {.id = "setup.view_at_exit",
     .caption = "View at exit",
     .at = {.setup = 12},
     .encoding = Encoding::I32,
     .min = kViewNone,
     .max = kViewNetwork,
     .defaultValue = kViewTrunk},
    {.id = "setup.country",
     .caption = "Country",
     .at = {.setup = 16},
     .encoding = Encoding::I32,
     .min = 0,
     .max = 2,
     .defaultValue = 1},  // International, Australia / NewZealand, USA
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Setup, kSetupRecordSize));

constexpr std::int32_t Default(std::size_t row) {
    return static_cast<std::int32_t>(kRows[row].defaultValue);
}
}  // namespace setup_rows

struct SetupRecord {
    std::int32_t comPortIndex = setup_rows::Default(0);
    std::int32_t baudRateIndex = setup_rows::Default(1);
    std::int32_t userLevelIndex = setup_rows::Default(2);
    std::int32_t viewAtExit = setup_rows::Default(3);
    std::int32_t countryIndex = setup_rows::Default(4);

    friend bool operator==(const SetupRecord&, const SetupRecord&) = default;
};

// The member of each row, in the order of the rows.
inline constexpr std::int32_t SetupRecord::*kSetupMembers[] = {
    &SetupRecord::comPortIndex, &SetupRecord::baudRateIndex, &SetupRecord::userLevelIndex,
    &SetupRecord::viewAtExit, &SetupRecord::countryIndex};
static_assert(std::size(kSetupMembers) == std::size(setup_rows::kRows));

SetupRecord ParseSetupRecord(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> SerializeSetupRecord(const SetupRecord& record);

// Reads Setup.dat from `workDir`; defaults when it cannot be opened.
SetupRecord ReadSetup(const std::filesystem::path& workDir);
// Replaces Setup.dat in `workDir` whole; false when it cannot be written.
bool WriteSetup(const std::filesystem::path& workDir, const SetupRecord& record);

// Level index 0..3 gives the mask 1, 2, 4, 8; any other index gives 2.
int UserLevelMaskFromIndex(int levelIndex);
// The mask 1, 2, 4, 8 gives the index 0..3 (anything else gives 0).
int LevelIndexFromMask(int userLevelMask);
// Country index 1 gives 1, 2 gives 5, anything else 0.
int CountryCodeFromIndex(int countryIndex);

}  // namespace km
