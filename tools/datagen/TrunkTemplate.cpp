// default.tct: the template of a new trunk job and of a new network. Every field whose range
// excludes 0 holds a value in range, and every table whose "empty" marker is 0xFF / 0xFFFF holds
// that marker, so that a new job opens without forcing corrections.

#include <array>

#include "DataFiles.h"
#include "ImageTables.h"
#include "TemplateParts.h"
#include "fields/FieldOps.h"
#include "tables/Tables.h"

namespace km::datagen {
namespace {

constexpr std::uint8_t kTrunkRadioMode = 1;

constexpr ByteFill kTrunkBytes[] = {
    {trunk::kRadioMode, 1, kTrunkRadioMode}, {0x0B8, 8, 0xFF},  // second alarm dial string: empty
};

constexpr WordFill kTrunkWords[] = {
    {kVersionWordOffset, kProgramVersionNumber},
    {trunk::kFormatMark, trunk::kFormatMarkValue},
    {0x094, 10},          // backlight timer, seconds
    {0x098, 10},          // menu timeout, seconds (1..255)
    {0x09A, 5},           // message timeout, seconds (1..255)
    {0x0A2, 10},          // external alert delay, seconds (1..999)
    {0x0C0, 0xFFFF, 26},  // keys: none
    {0x0F6, 0xFFFF, 19},  // menu slots: none
    // Audio levels.
    {0x2120, 2, 3},
    {0x2150, 28950},
    {0x214E, 28950},
    {0x2152, 21636},
    {0x2154, 17874},
    {0x215A, 14670},
    {0x215C, 2880},
    {0x215E, 14670},
    {0x2158, 5280},
    {0x216A, 16380},
    {0x216C, 16380},
    {0x2168, 16300},
    {0x2160, 10819},
    {0x2162, 13938},
    {0x2164, 13785},
};

// Speech volumes and alert volumes: full range.
constexpr ByteFill kVolumeBytes[] = {
    {0x0A4, 1, 31},
    {0x0A6, 1, 31},
};

constexpr TextField kTrunkTexts[] = {
    {0x080, 16, "-OPERATION DATA-"},
};

// Input/output lines: 10 records {0xFF, direction, 0xFFFF}; line 1 is an input.
constexpr std::uint8_t kOutputLine[] = {0xFF, 0x00, 0xFF, 0xFF};
constexpr RepeatedRecord kIoLines[] = {{0x20F8, 10, kOutputLine}};
constexpr std::size_t kLine1Direction = 0x20F9;

// F1..F4 label records: byte 0 = 101 (no text), byte 1 the display row.
constexpr std::size_t kFunctionLabels = 0x03A4;
constexpr std::uint8_t kFunctionLabelRows[] = {7, 5, 2, 0};

constexpr std::uint8_t kTrunkEditRows[] = {5, 2};

// The ten call types: packed dial strings of two bytes from 0x580, names of 12 characters from
// 0x508.
struct CallType {
    std::string_view dial;
    std::string_view name;
};
constexpr CallType kCallTypes[] = {
    {"*1*", "Conference"}, {"*11*", "Broadcast"}, {"*8*", "Priority"}, {"*9*", "Emergency"},
    {"*0*", "Call Back"},  {"#0*", "Cncl CBack"}, {"*41*", "Divert"},  {"#41", "Cancl Divert"},
    {"*49", "Set Busy"},   {"#49", "Cancl Busy"},
};
constexpr std::size_t kCallTypeDials = 0x0580;
constexpr std::size_t kCallTypeNames = 0x0508;

// A call type's dial string: four characters in two bytes, no end code when full.
constexpr fields::FieldRow kCallTypeDial = {
    .id = "call_type.dial", .encoding = fields::Encoding::PackedDial, .width = 2, .max = 4};

void ApplyCallTypes(TrunkJobImage& image) {
    for (std::size_t n = 0; n < std::size(kCallTypes); ++n) {
        fields::WriteField(kCallTypeDial, image.Bytes(), kCallTypeDials + 2 * n,
                           std::string(kCallTypes[n].dial));
        image.SetText(kCallTypeNames + 12 * n, 12, kCallTypes[n].name);
    }
}

// The job part of each network slot: its marker (every other field starts from its row's
// default).
constexpr TextField kJobPartTexts[] = {
    {0x000, 16, "--NETWORK DATA--"},
};

}  // namespace

TrunkJobImage TrunkTemplate() {
    TrunkJobImage image;
    tables::FillTemplateDefaults(fields::ImageId::Trunk, image.Bytes());
    Apply(image, {kTrunkBytes, kTrunkWords, kTrunkTexts, kIoLines});
    Apply(image, {kVolumeBytes, {}, {}});
    image.SetU8(kLine1Direction, 1);
    for (std::size_t i = 0; i < std::size(kFunctionLabelRows); ++i) {
        image.SetU8(kFunctionLabels + 8 * i, 101);
        image.SetU8(kFunctionLabels + 8 * i + 1, kFunctionLabelRows[i]);
    }
    ApplyTextList(image, 0x014C, 12, kTrunkMessages);
    ApplyTextList(image, 0x03C4, 12, kTrunkMenus);
    ApplyEditFunctions(image, 0x04B4, kTrunkEditFunctions, kTrunkEditRows);
    ApplyCallTypes(image);

    for (int slot = 0; slot < 2; ++slot) {
        Apply(image, {{}, {}, kJobPartTexts}, trunk::SlotStart(slot));
    }
    // Slot 0's network file is the template of a new network; its band stays 0, so a new trunk
    // job holds no network.
    ApplyNewNetworkDefaults(image, trunk::NetworkFileStart(0));
    ApplyRoamingTableEmpty(image, trunk::NetworkFileStart(1));
    return image;
}

}  // namespace km::datagen
