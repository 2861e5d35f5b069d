#pragma once
// The job header of the trunk and PMR jobs as the Radio Type form edits it: description, radio
// mode, radio type, band, accessory, and the version word and format mark every store writes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "image/Images.h"

namespace km {

enum class HeaderField {
    VersionWord,
    FormatMark,
    Description,
    RadioType,
    RadioMode,
    BandCode,
    Accessory,
    HeadVariant,
};

// One header field: where it sits in each job image and the control that edits it.
struct HeaderFieldPlace {
    HeaderField field;
    std::size_t trunkOffset;
    std::size_t pmrOffset;
    std::size_t width;  // bytes
    std::string_view control;
};

inline constexpr std::array<HeaderFieldPlace, 8> kHeaderFields = {{
    {HeaderField::VersionWord, kVersionWordOffset, kVersionWordOffset, 2, "Lbl_MOB_RCPJobVersion"},
    {HeaderField::FormatMark, trunk::kFormatMark, pmr::kFormatVersion, 2, ""},
    {HeaderField::Description, trunk::kDescription, pmr::kDescription, trunk::kDescriptionWidth,
     "Memo_MOB_Description"},
    {HeaderField::RadioType, trunk::kRadioType, pmr::kRadioType, 1, "ComboBox_MOB_Head"},
    {HeaderField::RadioMode, trunk::kRadioMode, pmr::kRadioMode, 1, "ComboBox_MOB_Mobile"},
    {HeaderField::BandCode, trunk::kBandCode, pmr::kBandCode, 2, "ComboBox_MOB_Frequency"},
    {HeaderField::Accessory, trunk::kAccessory, pmr::kAccessory, 2, "ComboBox_MOB_Accessory"},
    {HeaderField::HeadVariant, trunk::kHeadVariant, pmr::kHeadVariant, 1, "ComboBox_MOB_Head"},
}};

// The description as typed: the memo allows 60 bytes, line breaks counted as CR LF.
inline constexpr std::size_t kDescriptionTypedLimit = 60;

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

// The description converted for the image: Windows-1252, line breaks as CR LF, at most 63 bytes
// so that the terminating NUL always fits, never ending in half a line break.
std::string DescriptionBytes(std::string_view utf8);
// Bytes a description takes in the image, for the memo's limit.
std::size_t DescriptionLength(std::string_view utf8);

// Written when a job changes from a mobile head to a portable: the four programmable keys of the
// user interface options get the portable defaults.
void ApplyPortableKeyDefaults(TrunkJobImage& image);
void ApplyPortableKeyDefaults(PmrJobImage& image);

// "Made with RCP V" and the version word, shown at the Network and Engineering levels.
inline constexpr std::string_view kMadeWithText = "Made with RCP V";
bool VersionLabelVisible(int userLevelMask);

}  // namespace km
