#pragma once
// Setup.dat: the 92-byte settings record in the working directory, five little-endian 32-bit
// fields and 72 reserved bytes written as zero. A missing file gives the defaults; a field that a
// short file does not reach, or that holds a value outside its range, takes its default.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace km {

inline constexpr const char* kSetupFileName = "Setup.dat";
inline constexpr std::size_t kSetupRecordSize = 92;

enum ViewAtExit { kViewNone = 0, kViewTrunk = 1, kViewPmr = 2, kViewNetwork = 3 };

struct SetupRecord {
    std::int32_t comPortIndex = 0;    // 0..15 = COM1..COM16
    std::int32_t baudRateIndex = 2;   // 0 = 4800, 1 = 9600, 2 = 19200
    std::int32_t userLevelIndex = 0;  // 0 Basic, 1 General, 2 Network, 3 Engineering
    std::int32_t viewAtExit = kViewTrunk;
    std::int32_t countryIndex = 1;  // 0 International, 1 Australia / NewZealand, 2 USA

    friend bool operator==(const SetupRecord&, const SetupRecord&) = default;
};

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
