// default.cct: the template of a new PMR job and the base of every PMR format conversion. Its
// format word must be the current one; bytes 15164..15643 (the CTCSS tone names) are what a
// conversion from format 201 inserts.

#include <array>

#include "DataFiles.h"
#include "ImageTables.h"
#include "TemplateParts.h"
#include "config/UiMap.h"
#include "pmr/SclMap.h"
#include "tables/Tables.h"

namespace km::datagen {
namespace {

constexpr ByteFill kPmrBytes[] = {
    {0x1E66, 4, 0xFF},  // own selcall identity: no digits (a zero count reads empty either way)
};

// The user interface fields and the channel options start from their rows' defaults
// (config/UiMap.h, UiLevels.h, pmr/OptionRows.h).
constexpr WordFill kPmrWords[] = {
    {kVersionWordOffset, kProgramVersionNumber},
    {pmr::kFormatVersion, pmr::kCurrentFormat},
    {0x1D22, 0xFFFF},  // first visible channel: none
};

constexpr TextField kPmrTexts[] = {
    // As a store leaves them: the group area's fill overwrites the marker's second half.
    {0x2B34, 8, "---GROUP"},
    {0x3D1C, 16, "--CHANNEL DATA--"},
};

// Phone book: 250 x {10 x 0xFF, 14 x 0}, the digits unused (a zero count reads empty either way);
// DTMF-1/2: {0, 0, 10 x 0xFF, 12 x 0}. The channel table, the group areas, the zones, the other
// selcall settings and the status list are the defaults of their rows.
constexpr std::uint8_t kPhoneBookEntry[24] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr std::uint8_t kDtmfSequence[24] = {0,    0,    0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

constexpr RepeatedRecord kPmrRecords[] = {
    {0x0598, 250, kPhoneBookEntry},
    {0x1D64, 1, kDtmfSequence},
    {0x1D7C, 1, kDtmfSequence},
};

}  // namespace

PmrJobImage PmrTemplate() {
    PmrJobImage image;
    tables::FillTemplateDefaults(fields::ImageId::Pmr, image.Bytes());
    Apply(image, {kPmrBytes, kPmrWords, kPmrTexts, kPmrRecords});
    ApplyUserInterfaceDefaults(fields::ImageId::Pmr, image.Bytes());
    ApplyHeadTexts(fields::ImageId::Pmr, image.Bytes());
    // The tone tables of the template's tonesets, as a store of the Selcall form leaves them.
    pmr::StoreToneTables(image, {});
    return image;
}

}  // namespace km::datagen
