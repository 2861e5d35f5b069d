// default.tct: the template of a new trunk job and of a new network. Every field whose range
// excludes 0 holds a value in range, and every table whose "empty" marker is 0xFF / 0xFFFF holds
// that marker, so that a new job opens without forcing corrections.

#include <array>

#include "DataFiles.h"
#include "ImageTables.h"
#include "TemplateParts.h"
#include "config/UiMap.h"
#include "network/SysMap.h"
#include "tables/Tables.h"

namespace km::datagen {
namespace {

constexpr std::uint8_t kTrunkRadioMode = 1;

constexpr ByteFill kTrunkBytes[] = {
    {trunk::kRadioMode, 1, kTrunkRadioMode}, {0x0B8, 8, 0xFF},  // second alarm dial string: empty
};

// The user interface fields start from their rows' defaults (config/UiMap.h, UiLevels.h).
constexpr WordFill kTrunkWords[] = {
    {kVersionWordOffset, kProgramVersionNumber},
    {trunk::kFormatMark, trunk::kFormatMarkValue},
};

// The job part of each network slot: its marker (every other field starts from its row's
// default).
constexpr TextField kJobPartTexts[] = {
    {0x000, 16, "--NETWORK DATA--"},
};

}  // namespace

TrunkJobImage TrunkTemplate() {
    TrunkJobImage image;
    tables::FillTemplateDefaults(fields::ImageId::Trunk, image.Bytes());
    Apply(image, {kTrunkBytes, kTrunkWords, {}});
    ApplyUserInterfaceDefaults(fields::ImageId::Trunk, image.Bytes());
    WriteCallTypeDefaults(image.Bytes());
    ApplyHeadTexts(fields::ImageId::Trunk, image.Bytes());

    for (int slot = 0; slot < 2; ++slot) {
        Apply(image, {{}, {}, kJobPartTexts}, trunk::SlotStart(slot));
    }
    // Slot 0's network file is the template of a new network; its band stays 0, so a new trunk
    // job holds no network.
    WriteNetworkMarker(image.Bytes(), trunk::NetworkFileStart(0));
    return image;
}

}  // namespace km::datagen
