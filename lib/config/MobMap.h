#pragma once
// The job header of the trunk and PMR jobs as the Radio Type form edits it: description, radio
// mode, radio type, band, accessory, and the version word and format mark every store writes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "config/BandTable.h"
#include "config/RadioTypes.h"
#include "fields/Field.h"
#include "image/Images.h"

namespace km {

// The header rows of the Radio Type form. Radio type, head variant and band are shown through
// composite lists of the form (the radio type list, the band table), so they name no control.
namespace header_rows {

inline constexpr fields::Choice kRadioModeChoices[] = {
    {0, kRadioModeTexts[0]}, {1, kRadioModeTexts[1]}, {2, kRadioModeTexts[2]}};
static_assert(std::size(kRadioModeChoices) == kRadioModeCount);
inline constexpr fields::Choice kAccessoryChoices[] = {{0, kAccessoryTexts[0]},
                                                       {1, kAccessoryTexts[1]},
                                                       {2, kAccessoryTexts[2]},
                                                       {3, kAccessoryTexts[3]}};

// The radio type codes as the current program numbers them (older images may number them
// differently; the form decodes those through the image's version word).
constexpr std::array<fields::Choice, 12> RadioTypeCodeChoices() {
    std::array<fields::Choice, 12> choices{};
    std::size_t n = 0;
    for (const RadioTypeRow& row : kRadioTypeRows) {
        bool seen = false;
        for (std::size_t i = 0; i < n; ++i) {
            seen = seen || choices[i].code == row.code;
        }
        if (!seen) {
            choices[n++] = {row.code, row.text};
        }
    }
    return choices;
}
inline constexpr auto kRadioTypeCodeChoices = RadioTypeCodeChoices();

constexpr std::array<fields::Choice, kBandCount + 1> BandChoices() {
    std::array<fields::Choice, kBandCount + 1> choices{};
    choices[0] = {0, kUndefinedBandText};
    for (std::size_t i = 0; i < kBandEntries.size(); ++i) {
        choices[i + 1] = {kBandEntries[i].codeWord, kBandEntries[i].text};
    }
    return choices;
}
inline constexpr auto kBandChoices = BandChoices();

using fields::Encoding;
inline constexpr fields::FieldRow kRows[] = {
    // Shown by the form as "Made with RCP V" and the number.
    {.id = "header.version",
     .caption = "Made with RCP V",
     .at = {.trunk = kVersionWordOffset, .pmr = kVersionWordOffset},
     .encoding = Encoding::U16,
     .levels = 4 | 8,
     .derived = true},
    {.id = "header.format",
     .caption = "Job format",
     .at = {.trunk = trunk::kFormatMark, .pmr = pmr::kFormatVersion},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "header.description",
     .caption = "Description",
     .control = "Memo_MOB_Description",
     .at = {.trunk = trunk::kDescription, .pmr = pmr::kDescription},
     .encoding = Encoding::Memo,
     .width = trunk::kDescriptionWidth,
     .max = 60},
    {.id = "header.radio_type",
     .caption = "Radio Type",
     .at = {.trunk = trunk::kRadioType, .pmr = pmr::kRadioType},
     .defaultValue = 4,
     .choices = kRadioTypeCodeChoices},
    {.id = "header.radio_mode",
     .caption = "Radio Mode",
     .control = "ComboBox_MOB_Mobile",
     .at = {.trunk = trunk::kRadioMode, .pmr = pmr::kRadioMode},
     .choices = kRadioModeChoices},
    {.id = "header.band",
     .caption = "Frequency Band",
     .at = {.trunk = trunk::kBandCode, .pmr = pmr::kBandCode},
     .encoding = Encoding::U16,
     .choices = kBandChoices},
    {.id = "header.accessory",
     .caption = "Accessory",
     .control = "ComboBox_MOB_Accessory",
     .at = {.trunk = trunk::kAccessory, .pmr = pmr::kAccessory},
     .encoding = Encoding::U16,
     .choices = kAccessoryChoices},
    {.id = "header.head_variant",
     .caption = "Head variant",
     .at = {.trunk = trunk::kHeadVariant, .pmr = pmr::kHeadVariant}},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTable = {
    .id = "header", .form = "Radio Type", .area = fields::Area::Image, .rows = kRows};

// The rows by name, for the map's own code.
inline constexpr const fields::FieldRow& kVersion = kRows[0];
inline constexpr const fields::FieldRow& kFormat = kRows[1];
inline constexpr const fields::FieldRow& kDescription = kRows[2];
inline constexpr const fields::FieldRow& kRadioType = kRows[3];
inline constexpr const fields::FieldRow& kRadioMode = kRows[4];
inline constexpr const fields::FieldRow& kBand = kRows[5];
inline constexpr const fields::FieldRow& kAccessory = kRows[6];
inline constexpr const fields::FieldRow& kHeadVariant = kRows[7];

}  // namespace header_rows

// The description as typed: the memo allows 60 bytes, line breaks counted as CR LF.
inline constexpr std::size_t kDescriptionTypedLimit = header_rows::kDescription.max;

// The header as the form shows it. Values read from the image that lie outside their lists are
// kept as they are, so a store writes them back unchanged.
struct JobHeader {
    std::string description;  // UTF-8, lines separated by "\n"
    std::uint16_t versionWord = 0;
    int radioMode = 0;           // list row 0..2, or the stored byte
    int radioTypeRow = 0;        // row of the radio type list
    int bandEntry = 0;           // entry of the band table, 0 = "Undefined"
    std::uint16_t bandWord = 0;  // the band word as stored, kept when it names no band
    int accessory = 0;           // list row 0..3, or the stored word
};

JobHeader LoadTrunkHeader(const TrunkJobImage& image);
JobHeader LoadPmrHeader(const PmrJobImage& image);

// The trunk band is not chosen on the form: it is taken from Network 1's network file, and the
// band words of absent networks are cleared.
void StoreTrunkHeader(TrunkJobImage& image, const JobHeader& header);
// The PMR band is the chosen entry of the band table.
void StorePmrHeader(PmrJobImage& image, const JobHeader& header);

// Bytes a description takes in the image, for the memo's limit.
std::size_t DescriptionLength(std::string_view utf8);

// "Made with RCP V" and the version word, shown at the Network and Engineering levels.
inline constexpr std::string_view kMadeWithText = "Made with RCP V";
bool VersionLabelVisible(int userLevelMask);

}  // namespace km
