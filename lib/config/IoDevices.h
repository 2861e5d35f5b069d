#pragma once
// The devices the Input/Output Device dialog offers when an input line gets a push-to-talk
// function for an external device or the option board becomes "DMAP" or "SIB": each presets the
// audio level settings that suit it, and the job remembers the chosen devices by number.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "config/UiLevels.h"
#include "fields/Field.h"

namespace km {

// Which dialog offers a device.
enum class DeviceKind : std::uint8_t { Never, PttExt, PttExtData, PttData, Dmap, Sib };

// The settings a device presets, in the order of its presets.
inline constexpr std::array<AudioLevel, 11> kPresetSettings = {
    AudioLevel::TxInput1,     AudioLevel::TxInput2,       AudioLevel::TxInput3,
    AudioLevel::TxInput4,     AudioLevel::TxBreakout1,    AudioLevel::TxBreakout2,
    AudioLevel::SibThreshold, AudioLevel::CompressorGain, AudioLevel::RxBreakout1,
    AudioLevel::RxBreakout2,  AudioLevel::Discriminator};

struct IoDevice {
    std::string_view name;
    DeviceKind kind;
    // The step each setting takes, as its list shows it; empty leaves the setting as it is.
    std::array<std::string_view, kPresetSettings.size()> presets = {};
};

inline constexpr IoDevice kIoDevices[] = {
    {"Default", DeviceKind::Never},
    {"Desk Mic", DeviceKind::PttExt, {"0", "0.0", "", "", "", "", "", "0 "}},
    {"Direct Covert Mic", DeviceKind::PttExt, {"+42", "0.0", "", "", "", "", "", "12 "}},
    {"Mini Handsfree Mic", DeviceKind::PttExt, {"0", "0.0", "", "", "", "", "", "12 "}},
    {"4mVrms Ext Input", DeviceKind::PttExt, {"+12", "-2.0", "", "", "", "", "", "0 "}},
    {"40mVrms Ext Input", DeviceKind::PttExt, {"0", "0.0", "", "", "", "", "", "0 "}},
    {"400mVrms Ext Input", DeviceKind::PttExt, {"-6", "-4.0", "", "", "", "", "", "0 "}},
    {"100mVpp Data", DeviceKind::PttExtData, {"0", "0.0", "", "", "", "", "", "0 "}},
    {"1Vpp Data", DeviceKind::PttExtData, {"-6", "-4.0", "", "", "", "", "", "0 "}},
    {"RS232 Data Pipe", DeviceKind::PttData, {"", "", "-6", "-1.0", "", "", "", "0 "}},
    {"DMAP Dual Head", DeviceKind::Dmap, {"0", "0.0", "", "", "", "", "", "0 "}},
    {"DMAP Line User", DeviceKind::Dmap, {"0", "0.0", "", "", "", "", "", "0 "}},
    {"DMAP Customer 1", DeviceKind::Never},
    {"DMAP Customer 2", DeviceKind::Never},
    {"Transcrypt Scrambler", DeviceKind::Sib, {"", "", "", "", "-3", "-5", "0", "0 ", "0", "-5"}},
    {"SIB Ext -16dB", DeviceKind::Sib, {"", "", "", "", "-6", "-9", "+6", "0 ", "-6", "-9"}},
    {"SIB Ext -10dB", DeviceKind::Sib, {"", "", "", "", "0", "-3", "+6", "0 ", "0", "-3"}},
    // The second transmit breakout takes the step of the second receive breakout, as the other
    // SIB devices do.
    {"SIB Ext -6dB", DeviceKind::Sib, {"", "", "", "", "+4", "+1", "0", "0 ", "+4", "+1"}},
    {"SIB Customer 1", DeviceKind::Never},
    {"SIB Customer 2", DeviceKind::Never},
};
inline constexpr int kDeviceCount = 20;
static_assert(std::size(kIoDevices) == kDeviceCount);

// A selection of no device: "Don't change input settings", the Defaults button.
inline constexpr int kNoDevice = 255;
inline constexpr int kDmapDualHead = 10;
inline constexpr std::string_view kDontChangeText = "Don't change input settings";
inline constexpr std::size_t kMostDevicesOffered = 10;

// The device numbers as list entries of the device word's rows.
constexpr std::array<fields::Choice, kDeviceCount + 1> DeviceChoices() {
    std::array<fields::Choice, kDeviceCount + 1> choices{};
    for (int i = 0; i < kDeviceCount; ++i) {
        choices[static_cast<std::size_t>(i)] = {i, kIoDevices[i].name};
    }
    choices[kDeviceCount] = {kNoDevice, "None"};
    return choices;
}
inline constexpr auto kDeviceChoices = DeviceChoices();

// The devices a dialog of `kind` offers, by number, ascending.
std::vector<int> DevicesOffered(DeviceKind kind);

// The help topic of a dialog's INFO button.
int HelpTopic(DeviceKind kind);

// The dialog an input line's function or an option board mode opens, if any.
std::optional<DeviceKind> DeviceKindOfLineFunction(std::string_view function);
std::optional<DeviceKind> DeviceKindOfBoard(std::int64_t board);

// The name a device label shows for a selection: the device's name for 1..19, else empty.
std::string_view DeviceLabel(int selection);

// The settings a device presets: the setting and the step it takes.
struct Preset {
    AudioLevel setting;
    std::string_view step;
};
std::vector<Preset> PresetsOf(int device);

}  // namespace km
