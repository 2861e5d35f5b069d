#pragma once
// The user interface options of the trunk and PMR jobs, as the User Interface form edits them:
// power-on behaviour, timers, password, audio and alerts, VOX and the trunk alarm sequence,
// programmable keys and their labels, switches, microphone keys, menus, call types, the option
// board with its input/output lines, and the MRS values. Most fields sit at the same offset in
// both jobs; the audio level words are config/UiLevels.h, the function and menu tables
// config/UiFunctions.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/IoDevices.h"
#include "config/UiFunctions.h"
#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"

namespace km {

namespace ui_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;
using fields::Flag;

inline constexpr std::string_view kForm = "User Interface";
inline constexpr std::string_view kUserOptionsTab = "User Options";
inline constexpr std::string_view kAudioTab = "Audio";
inline constexpr std::string_view kVoxTab = "Vox/Alm";
inline constexpr std::string_view kKeysTab = "Keys";
inline constexpr std::string_view kMicKeysTab = "Mic Keys";
inline constexpr std::string_view kMenusTab = "Menus";
inline constexpr std::string_view kCallTypesTab = "Call Types";
inline constexpr std::string_view kIoTab = "Input/Output";
inline constexpr std::string_view kMrsTab = "MRS";

// The power-on modes as stored; the list shows every one but Simple PMR, which the form shows as
// "PMR" with its check box.
inline constexpr std::int64_t kPowerOnLastSelected = 0;
inline constexpr std::int64_t kPowerOnNetwork1 = 1;
inline constexpr std::int64_t kPowerOnPmr = 3;
inline constexpr std::int64_t kPowerOnSimplePmr = 4;
inline constexpr std::int64_t kPowerOnP25 = 16;
inline constexpr Choice kPowerOnChoices[] = {{kPowerOnLastSelected, "Last Selected Mode"},
                                             {kPowerOnNetwork1, "Network 1"},
                                             {2, "Network 2"},
                                             {kPowerOnPmr, "PMR"},
                                             {kPowerOnSimplePmr, "Simple PMR"},
                                             {kPowerOnP25, "P25"}};

// External alert: bit 7 of 0x0A0 ("continuous") above bit 1 of 0x0A1 ("off").
inline constexpr fields::BitPiece kExtAlertPieces[] = {{.offset = 0, .shift = 7},
                                                       {.offset = 1, .shift = 1}};
inline constexpr std::int64_t kExtAlertPulsed = 0;
inline constexpr std::int64_t kExtAlertOff = 1;
inline constexpr std::int64_t kExtAlertContinuous = 2;
inline constexpr Choice kExtAlertChoices[] = {
    {kExtAlertPulsed, "Pulsed"}, {kExtAlertContinuous, "Continuous"}, {kExtAlertOff, "Off"}};

constexpr std::array<Choice, 63> AlertOffsetChoices() {
    constexpr std::string_view kTexts[] = {
        "-31", "-30", "-29", "-28", "-27", "-26", "-25", "-24", "-23", "-22", "-21", "-20", "-19",
        "-18", "-17", "-16", "-15", "-14", "-13", "-12", "-11", "-10", "-9",  "-8",  "-7",  "-6",
        "-5",  "-4",  "-3",  "-2",  "-1",  "0",   "+1",  "+2",  "+3",  "+4",  "+5",  "+6",  "+7",
        "+8",  "+9",  "+10", "+11", "+12", "+13", "+14", "+15", "+16", "+17", "+18", "+19", "+20",
        "+21", "+22", "+23", "+24", "+25", "+26", "+27", "+28", "+29", "+30", "+31"};
    std::array<Choice, 63> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i) {
        choices[i] = {static_cast<std::int64_t>(i) - 31, kTexts[i]};
    }
    return choices;
}
// The item index is the offset + 31.
inline constexpr auto kAlertOffsetChoices = AlertOffsetChoices();

inline constexpr Choice kSensitivityChoices[] = {
    {0, "0"}, {1, "1"}, {2, "2"},   {3, "3"},   {4, "4"},   {5, "5"},   {6, "6"},   {7, "7"},
    {8, "8"}, {9, "9"}, {10, "10"}, {11, "11"}, {12, "12"}, {13, "13"}, {14, "14"}, {15, "15"}};
inline constexpr Choice kAlarmMicChoices[] = {
    {0, "Normal Mic"}, {1, "Handsfree Mic"}, {2, "Direct Aux Mic"}};
inline constexpr std::int64_t kDirectAuxMic = 2;

constexpr fields::Places Both(std::int32_t at) {
    return {.trunk = at, .pmr = at};
}
constexpr fields::Places TrunkOnly(std::int32_t at) {
    return {.trunk = at};
}
constexpr fields::Places PmrOnly(std::int32_t at) {
    return {.pmr = at};
}
// A number typed into an edit, in a range.
constexpr FieldRow Number(std::string_view id, std::string_view caption, std::string_view control,
                          std::string_view tab, fields::Places at, Encoding encoding,
                          std::int64_t min, std::int64_t max, std::int64_t defaultValue = 0) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = tab,
            .at = at,
            .encoding = encoding,
            .min = min,
            .max = max,
            .defaultValue = defaultValue};
}

inline constexpr FieldRow kMarker = {.id = "ui.marker",
                                     .caption = "Operation data mark",
                                     .at = Both(0x080),
                                     .encoding = Encoding::Text,
                                     .width = 16,
                                     .defaultText = "-OPERATION DATA-",
                                     .derived = true};

// "User Options", "Audio" and "Vox/Alm".
inline constexpr FieldRow kRows[] = {
    kMarker,
    // Shown by the form's own list and check box (Simple PMR is "PMR" checked).
    {.id = "ui.power_on_mode",
     .caption = "Power-On Mode",
     .tab = kUserOptionsTab,
     .at = Both(0x090),
     .encoding = Encoding::U16,
     .choices = kPowerOnChoices},
    // Four decimal digits; an entry below 1000 is no password.
    {.id = "ui.password",
     .caption = "User Password",
     .control = "Edit_UO_UserPassword",
     .tab = kUserOptionsTab,
     .at = Both(0x092),
     .encoding = Encoding::BcdLowFirst,
     .width = 2,
     .min = 0,
     .max = 9999},
    Number("ui.backlight_time", "Backlight Time (s)", "Edit_UO_BacklightTime", kUserOptionsTab,
           Both(0x094), Encoding::U16, 0, 32000, 10),
    Number("ui.power_down_time", "Power Down Time (min)", "Edit_UO_PowerDownTime", kUserOptionsTab,
           Both(0x096), Encoding::U16, 0, 1440),
    Number("ui.menu_timeout", "Menu Timeout (s)", "Edit_UO_MenuTimeout", kUserOptionsTab,
           Both(0x098), Encoding::U16, 1, 255, 10),
    Number("ui.message_timeout", "Message Timeout (s)", "Edit_UO_MessageTimeout", kUserOptionsTab,
           Both(0x09A), Encoding::U16, 1, 255, 5),
    Flag("ui.low_power_override", "Low Power Override", "CBox_UO_LowPowerOverride",
         {kUserOptionsTab, Both(0x09C)}, 0),
    Flag("ui.memory_key", "Memory Key", "CBox_UO_MemoryKey", {kUserOptionsTab, Both(0x09C)}, 1),
    Flag("ui.side_ptt_with_remote", "Side PTT with Remote", "CBox_UO_SidePttWithRemote",
         {kUserOptionsTab, Both(0x09C)}, 2),
    Flag("ui.ptt_call_request", "PTT Call Request", "CBox_KEY_PTTCallRequest",
         {kKeysTab, TrunkOnly(0x09C)}, 3),
    Flag("ui.no_keypad_dialling", "No Keypad Dialling", "CBox_UO_NoKeypadDialling",
         {kUserOptionsTab, Both(0x09C)}, 4),
    Flag("ui.call_timer_display", "Call Timer Display", "CBox_UO_CallTimerDisplay",
         {kUserOptionsTab, Both(0x09C)}, 5),
    Flag("ui.permanent_power", "Permanent Power", "CBox_UO_PermanentPower",
         {kUserOptionsTab, Both(0x09C)}, 6),
    Flag("ui.autolock", "Autolock", "CBox_UO_Autolock", {kUserOptionsTab, Both(0x09D)}, 1),
    Flag("ui.allow_side_keys", "Allow Side Keys", "CBox_UO_AllowSideKeys",
         {kUserOptionsTab, Both(0x09D)}, 3),
    {.id = "ui.welcome_text",
     .caption = "Power-On Text",
     .control = "Edit_UO_WelcomeText",
     .tab = kUserOptionsTab,
     .at = Both(0x140),
     .encoding = Encoding::Text,
     .width = 12},

    Flag("ui.key_beeps", "Key Beeps Enabled", "CBox_AU_KeyBeepsEnabled", {kAudioTab, Both(0x0A0)},
         0),
    Flag("ui.service_beeps", "Service Beeps", "CBox_AU_ServiceBeeps", {kAudioTab, TrunkOnly(0x0A0)},
         1),
    Flag("ui.invalid_key_beeps", "Invalid Key Beeps", "CBox_AU_InvalidKeyBeeps",
         {kAudioTab, Both(0x0A0)}, 2),
    Flag("ui.battery_low_alert", "Battery Low Alert", "CBox_AU_BatteryLowAlert",
         {kAudioTab, Both(0x0A0)}, 3),
    Flag("ui.telemetry_output", "Telemetry Output", "CBox_AU_TelemetryOutput",
         {kAudioTab, PmrOnly(0x0A0)}, 4),
    Flag("ui.vox_handsfree", "VOX Handsfree", "CBox_VOX_VoxHandsfree", {kVoxTab, TrunkOnly(0x0A0)},
         5),
    Flag("ui.cradle_mute", "Default Cradle Mute", "CBox_AU_DefCradleMute", {kAudioTab, Both(0x0A0)},
         6),
    {.id = "ui.external_alert",
     .caption = "External Alert",
     .control = "RGrp_AU_ExtAlertPC",
     .tab = kAudioTab,
     .at = Both(0x0A0),
     .encoding = Encoding::Pieces,
     .width = 2,
     .pieces = kExtAlertPieces,
     .choices = kExtAlertChoices},
    Flag("ui.vox_ptt_default", "VOX PTT Default", "CBox_VOX_VoxPttDefault", {kVoxTab, Both(0x0A1)},
         0),
    Flag("ui.save_scrambler_state", "Save Scrambler State", "CBox_AU_SaveScramblerState",
         {kAudioTab, Both(0x0A1)}, 2),
    Flag("ui.eight_ohm_speaker", "8 Ohm Speaker", "CBox_AU_EightOhmSpeaker",
         {kAudioTab, PmrOnly(0x0A1)}, 3),
    // A stored 0 shows as 1.
    Number("ui.ext_alert_delay", "External Alert Delay (s)", "Edit_AU_ExtAlertDelay", kAudioTab,
           TrunkOnly(0x0A2), Encoding::U16, 1, 999, 10),
    Number("ui.max_volume", "Maximum Speech Volume", "Edit_AU_MaxVolume", kAudioTab, Both(0x0A4),
           Encoding::U8, 0, 31, 31),
    Number("ui.min_volume", "Minimum Speech Volume", "Edit_AU_MinVolume", kAudioTab, Both(0x0A5),
           Encoding::U8, 0, 31),
    Number("ui.max_alert_volume", "Maximum Alert Volume", "Edit_AU_MaxAlertVolume", kAudioTab,
           Both(0x0A6), Encoding::U8, 0, 31, 31),
    Number("ui.min_alert_volume", "Minimum Alert Volume", "Edit_AU_MinAlertVolume", kAudioTab,
           Both(0x0A7), Encoding::U8, 0, 31),
    {.id = "ui.alert_offset",
     .caption = "Alert Offset",
     .control = "Combo_AU_AlertOffset",
     .tab = kAudioTab,
     .at = Both(0x0AA),
     .encoding = Encoding::I16,
     .choices = kAlertOffsetChoices},
    Number("ui.data_volume", "Data Volume", "Edit_AU_DataVolume", kAudioTab,
           {.trunk = 0x0AC, .pmr = 0x0B2}, Encoding::U16, 0, 31),
    // Kept in 4 ms units; a stored value above 8000 shows as 0.
    {.id = "ui.ext_alert_duration",
     .caption = "External Alert Duration (ms)",
     .control = "Edit_AU_ExtAlertDuration",
     .tab = kAudioTab,
     .at = TrunkOnly(0x0AE),
     .encoding = Encoding::U16,
     .min = 0,
     .max = 32000,
     .scale = {.mul = 4}},
    Number("ui.min_mute", "Minimum Mute", "Edit_AU_MinMute", kAudioTab, PmrOnly(0x0AC),
           Encoding::U16, 0, 15),
    Number("ui.max_mute", "Maximum Mute", "Edit_AU_MaxMute", kAudioTab, PmrOnly(0x0AE),
           Encoding::U16, 0, 15, 15),
    Number("ui.default_mute", "Default Mute", "Edit_AU_DefaultMute", kAudioTab, PmrOnly(0x0B0),
           Encoding::U16, 0, 15, 8),
    Flag("ui.phase_invert_tx", "Phase Invert Tx", "CBox_AU_PhaseInvertTx",
         {kAudioTab, PmrOnly(0x0B8)}, 0),
    Flag("ui.phase_invert_rx", "Phase Invert Rx", "CBox_AU_PhaseInvertRx",
         {kAudioTab, PmrOnly(0x0B8)}, 2),
    Flag("ui.remove_ctcss", "Remove CTCSS", "CBox_AU_RemoveCTCSS", {kAudioTab, PmrOnly(0x0B8)}, 3),

    Flag("ui.vox_after_manual_ptt", "VOX after Manual PTT", "CBox_VOX_VoxAfterManPtt",
         {kVoxTab, PmrOnly(0x0B4)}, 0),
    Flag("ui.vox_with_headset", "VOX with Headset", "CBox_VOX_VoxWithHeadset",
         {kVoxTab, PmrOnly(0x0B4)}, 2),
    {.id = "ui.vox_sensitivity",
     .caption = "VOX Sensitivity",
     .control = "Combo_VOX_Sensitivity",
     .tab = kVoxTab,
     .at = PmrOnly(0x0B5),
     .defaultValue = 8,
     .choices = kSensitivityChoices},
    Number("ui.vox_hang_time", "VOX Hang Time (ms)", "Edit_VOX_HangTime", kVoxTab, PmrOnly(0x0B6),
           Encoding::U16, 500, 2500, 1000),
    {.id = "ui.alarm_microphone",
     .caption = "Alarm Microphone",
     .control = "Combo_ALM_Microphone",
     .tab = kVoxTab,
     .at = TrunkOnly(0x0B0),
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 2,
     .choices = kAlarmMicChoices},
    Number("ui.alarm_repeats", "Alarm Repeats", "Edit_ALM_Repeats", kVoxTab, TrunkOnly(0x0B1),
           Encoding::U8, 0, 255),
    Number("ui.alarm_rx_time", "Alarm Rx Time (s)", "Edit_ALM_RxTime", kVoxTab, TrunkOnly(0x0B2),
           Encoding::U8, 0, 255),
    Number("ui.alarm_tx_time", "Alarm Tx Time (s)", "Edit_ALM_TxTime", kVoxTab, TrunkOnly(0x0B3),
           Encoding::U8, 0, 255),
    Number("ui.alarm_debounce", "Alarm Debounce (ms)", "Edit_ALM_AlarmDebounce", kVoxTab,
           TrunkOnly(0x0B4), Encoding::U16, 0, 10000),
    {.id = "ui.alarm_confidence_beep",
     .caption = "Confidence Beep",
     .control = "CBox_ALM_ConfidenceBeep",
     .tab = kVoxTab,
     .at = TrunkOnly(0x0B6),
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 0,
     .bitCount = 1},
    // An all-zero field shows empty.
    {.id = "ui.alarm_second_dial",
     .caption = "Second Alarm Dial String",
     .control = "Edit_ALM_SecondDialStr",
     .tab = kVoxTab,
     .at = TrunkOnly(0x0B8),
     .encoding = Encoding::PackedDial,
     .width = 8,
     .max = 15,
     .blankRaw = 0},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTable = {
    .id = "ui", .form = kForm, .area = fields::Area::Image, .rows = kRows};

// The rows the form's own code reads and writes.
constexpr const FieldRow& RowOf(std::string_view id) {
    return fields::RowById(kRows, id);
}
inline constexpr const FieldRow& kPowerOnMode = RowOf("ui.power_on_mode");
inline constexpr const FieldRow& kPassword = RowOf("ui.password");
inline constexpr const FieldRow& kPowerDownTime = RowOf("ui.power_down_time");
inline constexpr const FieldRow& kExternalAlert = RowOf("ui.external_alert");
inline constexpr const FieldRow& kExtAlertDelay = RowOf("ui.ext_alert_delay");
inline constexpr const FieldRow& kExtAlertDuration = RowOf("ui.ext_alert_duration");
inline constexpr const FieldRow& kAlarmMicrophone = RowOf("ui.alarm_microphone");

}  // namespace ui_rows

// ---- Keys, labels, switches, microphone keys, toggle and menus ----

namespace key_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;

// The function button words, 0x0C0 to 0x0D6. A mobile head keeps F5 and F6 at 0x0C0 and 0x0D6 and
// its fixed keys between; a portable keeps F5 to F11 one after the other from 0x0CA.
enum class KeyWord : std::uint8_t {
    W0C0,
    W0C2,
    W0C4,
    W0C6,
    W0C8,
    W0CA,
    W0CC,
    W0CE,
    W0D0,
    W0D2,
    W0D4,
    W0D6
};
inline constexpr std::int32_t kFirstKeyWord = 0x0C0;
inline constexpr std::size_t kKeyWordCount = 12;

constexpr std::int32_t OffsetOf(KeyWord word) {
    return kFirstKeyWord + 2 * static_cast<std::int32_t>(word);
}

constexpr FieldRow KeyRow(std::string_view id, std::string_view caption, KeyWord word,
                          fields::ImageId image, std::span<const Choice> choices) {
    const std::int32_t at = OffsetOf(word);
    return {.id = id,
            .caption = caption,
            .tab = "Keys",
            .at = image == fields::ImageId::Trunk ? fields::Places{.trunk = at}
                                                  : fields::Places{.pmr = at},
            .encoding = Encoding::U16,
            .defaultValue = kNoFunction,
            .choices = choices};
}
// The man-down alert keeps the low byte of its function's code.
constexpr FieldRow ManDownRow(std::string_view id, fields::ImageId image,
                              std::span<const Choice> choices) {
    return {.id = id,
            .caption = "Man-Down Alert Function",
            .tab = "Mic Keys",
            .at = image == fields::ImageId::Trunk ? fields::Places{.trunk = 0x12D}
                                                  : fields::Places{.pmr = 0x12D},
            .defaultValue = 0xFF,
            .choices = choices};
}

using fields::ImageId;
inline constexpr FieldRow kTrunkRows[] = {
    KeyRow("ui.trunk_keys.f5_mobile", "F5 (mobile)", KeyWord::W0C0, ImageId::Trunk,
           kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f1", "F1", KeyWord::W0C2, ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f2", "F2", KeyWord::W0C4, ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f3", "F3", KeyWord::W0C6, ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f4", "F4", KeyWord::W0C8, ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f5_portable", "F5 (portable), Call key (mobile)", KeyWord::W0CA,
           ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f6_portable", "F6 (portable), Clear key (mobile)", KeyWord::W0CC,
           ImageId::Trunk, kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f7", "F7 (portable), Menu key (mobile)", KeyWord::W0CE, ImageId::Trunk,
           kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f8", "F8 (portable), fixed key (mobile)", KeyWord::W0D0, ImageId::Trunk,
           kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f9", "F9 (portable), Right key (mobile)", KeyWord::W0D2, ImageId::Trunk,
           kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f10", "F10 (portable), Left key (mobile)", KeyWord::W0D4, ImageId::Trunk,
           kTrunkKeyChoices),
    KeyRow("ui.trunk_keys.f11", "F11 (portable), F6 (mobile)", KeyWord::W0D6, ImageId::Trunk,
           kTrunkKeyChoices),
    ManDownRow("ui.trunk_keys.man_down_function", ImageId::Trunk, kTrunkLowByteChoices),
};
inline constexpr FieldRow kPmrRows[] = {
    KeyRow("ui.pmr_keys.f5_mobile", "F5 (mobile)", KeyWord::W0C0, ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f1", "F1", KeyWord::W0C2, ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f2", "F2", KeyWord::W0C4, ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f3", "F3", KeyWord::W0C6, ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f4", "F4", KeyWord::W0C8, ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f5_portable", "F5 (portable), Call key (mobile)", KeyWord::W0CA,
           ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f6_portable", "F6 (portable), Clear key (mobile)", KeyWord::W0CC,
           ImageId::Pmr, kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f7", "F7 (portable), Menu key (mobile)", KeyWord::W0CE, ImageId::Pmr,
           kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f8", "F8 (portable), fixed key (mobile)", KeyWord::W0D0, ImageId::Pmr,
           kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f9", "F9 (portable), Right key (mobile)", KeyWord::W0D2, ImageId::Pmr,
           kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f10", "F10 (portable), Left key (mobile)", KeyWord::W0D4, ImageId::Pmr,
           kPmrKeyChoices),
    KeyRow("ui.pmr_keys.f11", "F11 (portable), F6 (mobile)", KeyWord::W0D6, ImageId::Pmr,
           kPmrKeyChoices),
    ManDownRow("ui.pmr_keys.man_down_function", ImageId::Pmr, kPmrLowByteChoices),
    {.id = "ui.pmr_keys.toggle_function",
     .caption = "Toggle Function",
     .tab = "Keys",
     .at = {.pmr = 0x534},
     .encoding = Encoding::U16,
     .defaultValue = kNoFunction,
     .choices = kPmrKeyChoices},
};
static_assert(fields::RowsValid(kTrunkRows, ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kPmrRows, ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTrunkTable = {
    .id = "ui.trunk_keys", .form = ui_rows::kForm, .area = fields::Area::Image, .rows = kTrunkRows};
inline constexpr fields::FieldTable kPmrTable = {
    .id = "ui.pmr_keys", .form = ui_rows::kForm, .area = fields::Area::Image, .rows = kPmrRows};

// The key rows of a view, by word.
constexpr const FieldRow& KeyRowOf(ImageId image, KeyWord word) {
    return (image == ImageId::Pmr ? kPmrRows : kTrunkRows)[static_cast<std::size_t>(word)];
}
constexpr const FieldRow& ManDownRowOf(ImageId image) {
    return image == ImageId::Pmr ? kPmrRows[kKeyWordCount] : kTrunkRows[kKeyWordCount];
}
inline constexpr const FieldRow& kToggleFunction = kPmrRows[kKeyWordCount + 1];

inline constexpr Choice kSelectSwitchChoices[] = {{0, "Not Used"},
                                                  {1, "Chan Entries 1-16"},
                                                  {2, "First 16 channels"},
                                                  {3, "Continuous Rotation"}};
inline constexpr std::int64_t kDialNotUsed = 0;
inline constexpr std::int64_t kDialZone = 2;
inline constexpr std::int64_t kDialMode = 4;
inline constexpr Choice kDialUseChoices[] = {
    {kDialNotUsed, "Not Used"}, {kDialZone, "Zone"}, {kDialMode, "Mode"}};

// The label of F1-F4: byte 0 the label's place, byte 1 the button's display row, the text.
constexpr FieldRow LabelRow(std::string_view id, std::string_view caption, std::string_view control,
                            std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "Keys",
            .at = {.trunk = at, .pmr = at},
            .encoding = Encoding::Label,
            .width = 8,
            .max = 6};
}
constexpr FieldRow DisplayRowRow(std::string_view id, std::string_view caption, std::int32_t at,
                                 std::int64_t row) {
    return {.id = id,
            .caption = caption,
            .tab = "Keys",
            .at = {.trunk = at, .pmr = at},
            .defaultValue = row,
            .derived = true};
}
// The PMR labels of F5-F11: two zero bytes, then the text.
constexpr FieldRow PmrLabelRow(std::string_view id, std::string_view caption,
                               std::string_view control, std::int32_t record) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "Keys",
            .at = {.pmr = record + 2},
            .encoding = Encoding::Text,
            .width = 6};
}
constexpr FieldRow PmrLabelPlaceRow(std::string_view id, std::int32_t record) {
    return {.id = id,
            .caption = "Label place",
            .tab = "Keys",
            .at = {.pmr = record},
            .encoding = Encoding::U16,
            .derived = true};
}
constexpr FieldRow Gps(std::string_view id, std::string_view caption, std::string_view control,
                       std::int32_t at, std::int64_t max = 0) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "Mic Keys",
            .at = {.trunk = at, .pmr = at},
            .encoding = Encoding::U16,
            .max = max};
}
// A position of the dial switch: bits 12-15 its use, bits 0-11 the value chosen for it.
constexpr FieldRow DialUseRow(std::string_view id, std::string_view caption,
                              std::string_view control, std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "Keys",
            .at = {.trunk = at, .pmr = at},
            .encoding = Encoding::Bits,
            .width = 2,
            .bitShift = 12,
            .bitCount = 4,
            .choices = kDialUseChoices};
}
// Its list depends on the use, so the form fills it.
constexpr FieldRow DialValueRow(std::string_view id, std::string_view caption, std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .tab = "Keys",
            .at = {.trunk = at, .pmr = at},
            .encoding = Encoding::Bits,
            .width = 2,
            .bitShift = 0,
            .bitCount = 12};
}

inline constexpr std::int32_t kPmrLabels = 0x1D94;
inline constexpr std::int32_t kMainMenu = 0x0F6;
inline constexpr std::size_t kMainMenuEntries = 9;
inline constexpr std::int32_t kSetupMenu = 0x108;
inline constexpr std::size_t kSetupMenuEntries = 10;

inline constexpr FieldRow kRows[] = {
    LabelRow("ui.keys.f1_label", "F1 Label", "Edit_KEY_FB1Name", 0x3A4),
    DisplayRowRow("ui.keys.f1_label_row", "F1 Label display row", 0x3A5, 7),
    LabelRow("ui.keys.f2_label", "F2 Label", "Edit_KEY_FB2Name", 0x3AC),
    DisplayRowRow("ui.keys.f2_label_row", "F2 Label display row", 0x3AD, 5),
    LabelRow("ui.keys.f3_label", "F3 Label", "Edit_KEY_FB3Name", 0x3B4),
    DisplayRowRow("ui.keys.f3_label_row", "F3 Label display row", 0x3B5, 2),
    LabelRow("ui.keys.f4_label", "F4 Label", "Edit_KEY_FB4Name", 0x3BC),
    DisplayRowRow("ui.keys.f4_label_row", "F4 Label display row", 0x3BD, 0),
    PmrLabelPlaceRow("ui.keys.f5_label_place", kPmrLabels),
    PmrLabelRow("ui.keys.f5_label", "F5 Label", "Edit_KEY_FB5Name", kPmrLabels),
    PmrLabelPlaceRow("ui.keys.f6_label_place", kPmrLabels + 8),
    PmrLabelRow("ui.keys.f6_label", "F6 Label", "Edit_KEY_FB6Name", kPmrLabels + 8),
    PmrLabelPlaceRow("ui.keys.f7_label_place", kPmrLabels + 16),
    PmrLabelRow("ui.keys.f7_label", "F7 Label", "Edit_KEY_FB7Name", kPmrLabels + 16),
    PmrLabelPlaceRow("ui.keys.f8_label_place", kPmrLabels + 24),
    PmrLabelRow("ui.keys.f8_label", "F8 Label", "Edit_KEY_FB8Name", kPmrLabels + 24),
    PmrLabelPlaceRow("ui.keys.f9_label_place", kPmrLabels + 32),
    PmrLabelRow("ui.keys.f9_label", "F9 Label", "Edit_KEY_FB9Name", kPmrLabels + 32),
    PmrLabelPlaceRow("ui.keys.f10_label_place", kPmrLabels + 40),
    PmrLabelRow("ui.keys.f10_label", "F10 Label", "Edit_KEY_FB10Name", kPmrLabels + 40),
    PmrLabelPlaceRow("ui.keys.f11_label_place", kPmrLabels + 48),
    PmrLabelRow("ui.keys.f11_label", "F11 Label", "Edit_KEY_FB11Name", kPmrLabels + 48),
    // Written on every store: 0x80 for a KP8C/KP8D-generation portable with "ACC1" or "OEM Mic".
    {.id = "ui.keys.accessory_mark",
     .caption = "Microphone accessory mark",
     .tab = "Mic Keys",
     .at = {.trunk = 0x0DC, .pmr = 0x0DC},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "ui.keys.select_switch",
     .caption = "Select Switch",
     .control = "ComboBox_KEY_SelectSwitch",
     .tab = "Keys",
     .at = {.trunk = 0x138, .pmr = 0x138},
     .encoding = Encoding::U16,
     .choices = kSelectSwitchChoices},
    DialUseRow("ui.keys.dial_1_use", "Dial Switch", "ComboBox_KEY_D1", 0x12E),
    DialValueRow("ui.keys.dial_1", "Dial Position 1", 0x12E),
    DialUseRow("ui.keys.dial_2_use", "Dial Switch, position 2", "", 0x130),
    DialValueRow("ui.keys.dial_2", "Dial Position 2", 0x130),
    DialUseRow("ui.keys.dial_3_use", "Dial Switch, position 3", "", 0x132),
    DialValueRow("ui.keys.dial_3", "Dial Position 3", 0x132),
    Gps("ui.keys.gps_cold_search", "Cold Fix Search Time (s)", "Edit_KEY2_CFST", 0x120, 9999),
    Gps("ui.keys.gps_cold_idle", "Cold Fix Idle Time (s)", "Edit_KEY2_CFIT", 0x122),
    Gps("ui.keys.gps_warm_on", "Warm Fix On Time (s)", "Edit_KEY2_WFOT", 0x124),
    Gps("ui.keys.gps_warm_idle", "Warm Fix Idle Time (s)", "Edit_KEY2_WFIT", 0x126),
    Gps("ui.keys.gps_poll_on", "Poll Fix On Time (s)", "Edit_KEY2_PFOT", 0x128),
    {.id = "ui.keys.tilt_delay",
     .caption = "Tilt Delay (s)",
     .control = "Edit_KEY2_TiltDelay",
     .tab = "Mic Keys",
     .at = {.trunk = 0x12A, .pmr = 0x12A},
     .max = 255},
    {.id = "ui.keys.alert_delay",
     .caption = "Alert Delay (s)",
     .control = "Edit_KEY2_AlertDelay",
     .tab = "Mic Keys",
     .at = {.trunk = 0x12B, .pmr = 0x12B},
     .max = 255},
    {.id = "ui.keys.gps_beep",
     .caption = "GPS Beeps",
     .control = "CBox_KEY2_GPSBeep",
     .tab = "Mic Keys",
     .at = {.trunk = 0x12C, .pmr = 0x12C},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 1},
    {.id = "ui.keys.toggle_text",
     .caption = "Toggle Text",
     .control = "Edit_KEY_ToggleText",
     .tab = "Keys",
     .at = {.pmr = 0x536},
     .encoding = Encoding::Text,
     .width = 12},
    {.id = "ui.keys.menu_mark",
     .caption = "Menu mark",
     .tab = "Menus",
     .at = {.trunk = 0x0F4, .pmr = 0x0F4},
     .encoding = Encoding::U16,
     .derived = true},
};
static_assert(fields::RowsValid(kRows, ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kRows, ImageId::Pmr, PmrJobImage::kSize));

inline constexpr FieldRow kMenuColumns[] = {{.id = "entry",
                                             .caption = "Menu",
                                             .tab = "Menus",
                                             .at = {.trunk = 0, .pmr = 0},
                                             .encoding = Encoding::U16,
                                             .defaultValue = kNoMenu,
                                             .choices = kMenuChoices}};
inline constexpr fields::RecordTable kMainMenuRecords = {
    .id = "ui.main_menu",
    .base = {.trunk = kMainMenu, .pmr = kMainMenu},
    .stride = 2,
    .capacity = kMainMenuEntries,
    .columns = kMenuColumns};
inline constexpr fields::RecordTable kSetupMenuRecords = {
    .id = "ui.setup_menu",
    .base = {.trunk = kSetupMenu, .pmr = kSetupMenu},
    .stride = 2,
    .capacity = kSetupMenuEntries,
    .columns = kMenuColumns};
inline constexpr fields::RecordTable kRecords[] = {kMainMenuRecords, kSetupMenuRecords};
static_assert(fields::RecordsValid(kMainMenuRecords, ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kSetupMenuRecords, ImageId::Pmr, PmrJobImage::kSize));
static_assert(kMainMenu + 2 * kMainMenuEntries == kSetupMenu);

inline constexpr fields::FieldTable kTable = {.id = "ui.keys",
                                              .form = ui_rows::kForm,
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

constexpr const FieldRow& RowOf(std::string_view id) {
    return fields::RowById(kRows, id);
}
inline constexpr const FieldRow& kAccessoryMark = RowOf("ui.keys.accessory_mark");
inline constexpr std::array<const FieldRow*, 3> kDialUses = {
    &RowOf("ui.keys.dial_1_use"), &RowOf("ui.keys.dial_2_use"), &RowOf("ui.keys.dial_3_use")};
inline constexpr std::array<const FieldRow*, 3> kDialValues = {
    &RowOf("ui.keys.dial_1"), &RowOf("ui.keys.dial_2"), &RowOf("ui.keys.dial_3")};

}  // namespace key_rows

// ---- Call types (trunk only) ----

namespace call_type_rows {

using fields::Encoding;

inline constexpr std::size_t kCallTypes = 10;
inline constexpr fields::FieldRow kDialColumns[] = {{.id = "dial",
                                                     .caption = "Dial String",
                                                     .tab = "Call Types",
                                                     .at = {.trunk = 0},
                                                     .encoding = Encoding::PackedDial,
                                                     .width = 2,
                                                     .max = 4}};
inline constexpr fields::FieldRow kNameColumns[] = {{.id = "name",
                                                     .caption = "Name/Message",
                                                     .tab = "Call Types",
                                                     .at = {.trunk = 0},
                                                     .encoding = Encoding::Text,
                                                     .width = 12}};
inline constexpr fields::RecordTable kDials = {.id = "ui.call_type_dials",
                                               .base = {.trunk = 0x580},
                                               .stride = 2,
                                               .capacity = kCallTypes,
                                               .columns = kDialColumns};
inline constexpr fields::RecordTable kNames = {.id = "ui.call_type_names",
                                               .base = {.trunk = 0x508},
                                               .stride = 12,
                                               .capacity = kCallTypes,
                                               .columns = kNameColumns};
inline constexpr fields::RecordTable kRecords[] = {kDials, kNames};
static_assert(fields::RecordsValid(kDials, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kNames, fields::ImageId::Trunk, TrunkJobImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "ui.call_types",
                                              .form = ui_rows::kForm,
                                              .area = fields::Area::Image,
                                              .records = kRecords};

struct CallTypeDefault {
    std::string_view dial;
    std::string_view name;
};
// What "Defaults" fills.
inline constexpr CallTypeDefault kDefaults[kCallTypes] = {
    {"*1*", "Conference"}, {"*11*", "Broadcast"}, {"*8*", "Priority"}, {"*9*", "Emergency"},
    {"*0*", "Call Back"},  {"#0*", "Cncl CBack"}, {"*41*", "Divert"},  {"#41", "Cancl Divert"},
    {"*49", "Set Busy"},   {"#49", "Cancl Busy"},
};

}  // namespace call_type_rows

// ---- Option board, input/output lines, device selections and MRS ----

namespace io_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;

inline constexpr std::int64_t kBoardNone = 0;
inline constexpr std::int64_t kBoardSib = 2;
inline constexpr std::int64_t kBoardDmap = 3;
inline constexpr std::int64_t kBoardAudioDiscriminator = 4;
inline constexpr std::int64_t kBoard600Ohm = 5;
inline constexpr std::int64_t kBoardAsiStandard = 6;
inline constexpr std::int64_t kBoardAsiGps = 7;
inline constexpr Choice kBoardChoices[] = {{kBoardNone, "None"},
                                           {1, "Direct GPS"},
                                           {kBoardSib, "SIB"},
                                           {kBoardDmap, "DMAP"},
                                           {kBoardAudioDiscriminator, "Audio Discriminator"},
                                           {kBoard600Ohm, "600ohm Interface"},
                                           {kBoardAsiStandard, "ASI-Standard"},
                                           {kBoardAsiGps, "ASI-GPS"}};
inline constexpr std::int64_t kRate19200 = 6;
inline constexpr Choice kRateChoices[] = {
    {0, "300"},  {1, "600"},  {2, "1200"},           {3, "2400"},
    {4, "4800"}, {5, "9600"}, {kRate19200, "19200"}, {7, "38400"}};
inline constexpr Choice kProtocolChoices[] = {{0, "MAP27"}, {1, "SUP"}};
inline constexpr Choice kGatingChoices[] = {{0, "None"}, {1, "Carrier "}, {2, "Valid Signal"}};

// The device word: the input device in the low byte, the option board device in the high byte
// (config/IoDevices.h).
inline constexpr std::int32_t kTrunkDeviceWord = 0x2140;
inline constexpr std::int32_t kPmrDeviceWord = 0x2B30;

// The MRS values pass through; a range a user could not reach would only block programming, but
// the encode times are entered in ms and kept in 10 ms units.
constexpr FieldRow Mrs(std::string_view id, std::string_view caption, std::string_view control,
                       std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "MRS",
            .at = {.pmr = at},
            .encoding = Encoding::U16};
}
constexpr FieldRow MrsTime(std::string_view id, std::string_view caption, std::string_view control,
                           std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "MRS",
            .at = {.pmr = at},
            .min = 0,
            .max = 2550,
            .scale = {.mul = 10}};
}

inline constexpr FieldRow kRows[] = {
    {.id = "ui.io.option_board",
     .caption = "Option Board",
     .control = "Combo_IO_OptionBoardMode",
     .tab = "Input/Output",
     .at = {.trunk = 0x2142, .pmr = 0x2B2E},
     .encoding = Encoding::U16,
     .choices = kBoardChoices},
    {.id = "ui.io.serial_a_rate",
     .caption = "Serial Port A Data Rate",
     .control = "Combo_IO_SerialADataRate",
     .tab = "Input/Output",
     .at = {.trunk = 0x20F5, .pmr = 0x2B2D},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 3,
     .choices = kRateChoices},
    {.id = "ui.io.protocol",
     .caption = "Protocol",
     .control = "Combo_IO_Protocol",
     .tab = "Input/Output",
     .at = {.trunk = 0x20F5, .pmr = 0x2B2D},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 3,
     .bitCount = 4,
     .choices = kProtocolChoices},
    {.id = "ui.io.serial_b_rate",
     .caption = "Serial Port B Data Rate",
     .control = "Combo_IO_SerialBDataRate",
     .tab = "Input/Output",
     .at = {.trunk = 0x20F4, .pmr = 0x2B2C},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 3,
     .choices = kRateChoices},
    {.id = "ui.io.rx_audio_gating",
     .caption = "Rx Audio Gating",
     .control = "Combo_IO_RxAudioGating",
     .tab = "Input/Output",
     .at = {.pmr = 0x2B32},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 2,
     .choices = kGatingChoices},
    // The device selections: shown by name on the tab's labels, written from the selections.
    {.id = "ui.io.input_device",
     .caption = "Input Device",
     .tab = "Input/Output",
     .at = {.trunk = kTrunkDeviceWord, .pmr = kPmrDeviceWord},
     .choices = kDeviceChoices},
    {.id = "ui.io.option_board_device",
     .caption = "Option Board Device",
     .tab = "Input/Output",
     .at = {.trunk = kTrunkDeviceWord + 1, .pmr = kPmrDeviceWord + 1},
     .choices = kDeviceChoices},
    // The MRS tab is never shown; its values pass through as they are.
    MrsTime("ui.io.mrs_encode_lod", "DMAP Encode LOD (ms)", "Edit_MRS_EncodeLODTime", 0x2B1C),
    MrsTime("ui.io.mrs_encode_let", "DMAP Encode LET (ms)", "Edit_MRS_EncodeLETTime", 0x2B1D),
    Mrs("ui.io.mrs_primary_channel", "Primary Repeater Channel", "Edit_MRS_PrimaryRptrChan",
        0x2B1E),
    Mrs("ui.io.mrs_secondary_channel", "Secondary Repeater Channel", "Edit_MRS_SecondaryRptrChan",
        0x2B20),
    Mrs("ui.io.mrs_clone_time", "Clone Time", "Edit_MRS_CloneTime", 0x2B22),
    Mrs("ui.io.mrs_active_time", "Repeater Active Time", "Edit_MRS_RptrActiveTime", 0x2B24),
    Mrs("ui.io.mrs_heartbeat", "Heartbeat Period", "Edit_MRS_HeartbeatPeriod", 0x2B26),
    Mrs("ui.io.mrs_power_down", "Power Down Time", "Edit_MRS_PowerDownTime", 0x2B28),
    Mrs("ui.io.mrs_reactivation", "Reactivation Time", "Edit_MRS_ReactivationTime", 0x2B2A),
};

// The ten input/output lines, records of four bytes. The PMR job keeps them just before its audio
// level words, as the trunk job does (0x20F8 + 40 is the trunk job's first level word 0x2120).
inline constexpr std::size_t kLineCount = 10;
inline constexpr std::int64_t kLineInput = 1;
inline constexpr std::int64_t kNoLineFunction = 0xFF;
inline constexpr std::int64_t kNoDebounce = 0xFFFF;
inline constexpr Choice kDirectionChoices[] = {{0, "Output"}, {kLineInput, "Input"}};
inline constexpr Choice kActiveChoices[] = {{0, "Low"}, {1, "High"}};
inline constexpr FieldRow kLineColumns[] = {
    {.id = "function",
     .caption = "Function",
     .tab = "Input/Output",
     .at = {.trunk = 0, .pmr = 0},
     .defaultValue = kNoLineFunction,
     .blankRaw = kNoLineFunction},
    {.id = "direction",
     .caption = "Input/Output",
     .tab = "Input/Output",
     .at = {.trunk = 1, .pmr = 1},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 1,
     .choices = kDirectionChoices},
    {.id = "active",
     .caption = "Active",
     .tab = "Input/Output",
     .at = {.trunk = 1, .pmr = 1},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 1,
     .bitCount = 1,
     .choices = kActiveChoices},
    {.id = "kind",
     .caption = "Function kind",
     .tab = "Input/Output",
     .at = {.trunk = 1, .pmr = 1},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 2,
     .bitCount = 2,
     .derived = true},
    {.id = "debounce",
     .caption = "Dbnce(mS)",
     .tab = "Input/Output",
     .at = {.trunk = 2, .pmr = 2},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 30000,
     .defaultValue = kNoDebounce,
     .blankRaw = kNoDebounce},
};
inline constexpr fields::RecordTable kLines = {.id = "ui.io.lines",
                                               .base = {.trunk = 0x20F8, .pmr = 0x2AE4},
                                               .stride = 4,
                                               .capacity = kLineCount,
                                               .columns = kLineColumns};
inline constexpr fields::RecordTable kRecords[] = {kLines};
static_assert(fields::RecordsValid(kLines, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kLines, fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(0x20F8 + 4 * kLineCount == 0x2120 && 0x2AE4 + 4 * kLineCount == 0x2B0C);
static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "ui.io",
                                              .form = ui_rows::kForm,
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

inline constexpr const FieldRow& kOptionBoard = kRows[0];
inline constexpr const FieldRow& kSerialARate = kRows[1];
inline constexpr const FieldRow& kProtocol = kRows[2];
inline constexpr const FieldRow& kSerialBRate = kRows[3];
inline constexpr const FieldRow& kInputDevice = kRows[5];
inline constexpr const FieldRow& kOptionBoardDevice = kRows[6];
inline constexpr const FieldRow& kLineFunction = kLineColumns[0];
inline constexpr const FieldRow& kLineDirection = kLineColumns[1];
inline constexpr const FieldRow& kLineActive = kLineColumns[2];
inline constexpr const FieldRow& kLineKind = kLineColumns[3];
inline constexpr const FieldRow& kLineDebounce = kLineColumns[4];

}  // namespace io_rows

// ---- What the form's own code does beyond its rows ----

// Power-on mode as the form shows it: a list entry and the Simple PMR box.
struct PowerOnShown {
    std::int64_t code;  // a list code, or a stored value no entry has
    bool simplePmr;
};
PowerOnShown ShowPowerOnMode(std::int64_t stored);
// The value stored for what the form shows, by the rules of the view: `imageRadioMode` is the
// radio mode byte of the view's image (0 PMR Radio, 1 Trunk Radio, 2 Multi Mode Radio).
std::int64_t PowerOnModeToStore(fields::ImageId view, const PowerOnShown& shown, int userLevelMask,
                                int imageRadioMode);
// The mode a choice of power-on mode falls back to, with the error shown, when the job's radio
// mode does not allow it; nullopt when it is allowed.
struct PowerOnRefusal {
    std::int64_t code;
    std::string_view message;
};
std::optional<PowerOnRefusal> RefusePowerOnMode(std::int64_t chosen, int radioModeMask);

inline constexpr std::string_view kPowerUpInPmrRefused =
    "You Cannot Power-up in PMR mode,                   \nif the Mobile is Trunk only.";
inline constexpr std::string_view kPowerUpInTrunkRefused =
    "You Cannot Power-up in Trunk mode,                   \nif the Mobile is PMR only.";
inline constexpr std::string_view kPermanentPowerWarning =
    "Power Down Timer should be disabled if Permanent-Power option is enabled.                   "
    "    \n";
inline constexpr std::string_view kCovertMicQuestion =
    "Covert Microphone audio input level will be set to 12dB.                   \n  ";
inline constexpr std::string_view kFfskPhaseWarning =
    "This option must be enabled if the Network Scheme is 3RP.                      \n";
inline constexpr std::string_view kPin7IsInput = "DB15 Pin 7 is always an Input.";
inline constexpr std::string_view kPin8IsOutput = "DB15 Pin 8 is always an Output.";
inline constexpr std::string_view kNoDebounceForOutputs =
    "Debounce property is not required for Outputs.";

// A password entry below 1000 is no password.
std::int64_t PasswordToStore(std::int64_t entered);

// The external alert delay and duration as the form shows them: a delay of 0 shows as 1, a
// duration above 32000 ms (a stored value above 8000) as 0.
std::int64_t ShownExtAlertDelay(std::int64_t stored);
std::int64_t ShownExtAlertDuration(std::int64_t milliseconds);
// A stored external alert with both bits set shows as "Off".
std::int64_t ShownExternalAlert(std::int64_t stored);

// The option board item of a stored mode: trunk jobs of program versions below 0x107 numbered
// items 3 and 4 the other way round.
std::int64_t OptionBoardItem(fields::ImageId view, std::int64_t stored, std::uint16_t versionWord);

// True when the network file of Network 1 uses the 3RP numbering scheme (the FFSK modulation row
// is then always stored inverted).
bool NetworkOneIs3rp(std::span<const std::uint8_t> trunkBytes);

// What every store writes besides the rows the form shows: the marker, the label display rows,
// the zero places of the PMR labels and the menu mark; in a trunk job the alarm's unused bits
// are cleared.
void WriteFixedUiFields(fields::ImageId view, std::span<std::uint8_t> bytes);

// The function button words as a store writes them. A trunk store first sets every word of
// 0x0C0-0x0F3 to 0xFFFF. `buttons` holds the codes of F1..F11. A mobile's F5 and F6 go to 0x0C0 and
// 0x0D6, and in a trunk job its fixed keys (trunk functions) are written; a portable's F5..F11
// follow each other from 0x0CA. A KP8C/KP8D-generation portable with "ACC1" or "OEM Mic" gets
// 0x80 at 0x0DC.
inline constexpr std::size_t kButtonCount = 11;
struct KeyLayout {
    bool portable;
    int portableGeneration;
    int accessory;
};
void StoreKeys(fields::ImageId view, std::span<std::uint8_t> bytes, const KeyLayout& layout,
               const std::array<std::int64_t, kButtonCount>& buttons);
// The word that holds button `button` (0 for F1 .. 10 for F11) for a mobile or a portable;
// nullopt for F7..F11 of a mobile.
std::optional<key_rows::KeyWord> ButtonWord(std::size_t button, bool portable);

// Writes the portable defaults of the programmable keys F8..F11 (when a job changes from a
// mobile head to a portable).
void ApplyPortableKeyDefaults(fields::ImageId view, std::span<std::uint8_t> bytes);

// Dial switch positions: the use in bits 12-15 of each of the three words, the value of each
// position in bits 0-11 (0 when none is chosen).
inline constexpr std::size_t kDialPositions = 3;
void StoreDialSwitch(fields::ImageId view, std::span<std::uint8_t> bytes, std::int64_t use,
                     const std::array<std::int64_t, kDialPositions>& values);
// The values a position offers for a use: zone numbers or modes (text and value).
std::span<const fields::Choice> DialValues(std::int64_t use);

// The call type defaults into the job (the "Defaults" button, and a new job's template).
void WriteCallTypeDefaults(std::span<std::uint8_t> trunkBytes);

// What a new job's template (an HM-F job) holds beyond its rows' defaults: the fields every store
// writes, no function on any key but the head's fixed keys, the power-on mode the radio mode
// allows, empty labels, and line 1 (always an input) as an input.
void ApplyUserInterfaceDefaults(fields::ImageId view, std::span<std::uint8_t> bytes);

// An input/output line as the form shows it, and as a store writes it. `function` is the list
// text ("" for none, "? 23" for a stored code no list has).
struct IoLine {
    bool input;
    std::string function;
    bool activeHigh;
    std::string debounce;  // "" for none
};
IoLine LoadIoLine(fields::ImageId view, std::span<const std::uint8_t> bytes, std::size_t line);
void StoreIoLine(fields::ImageId view, std::span<std::uint8_t> bytes, std::size_t line,
                 const IoLine& shown);
// The function texts a line offers: input functions for the head, or the view's outputs.
std::vector<std::string_view> LineFunctions(FunctionView view, int radioTypeMask, bool input);
// The fixed lines: line 1 is always an input, line 2 always an output.
inline constexpr std::size_t kInputOnlyLine = 0;
inline constexpr std::size_t kOutputOnlyLine = 1;

// The device word from the two selections, and back.
struct DeviceSelections {
    int input = 0;
    int optionBoard = 0;
};
DeviceSelections LoadDeviceSelections(fields::ImageId view, std::span<const std::uint8_t> bytes);
void StoreDeviceSelections(fields::ImageId view, std::span<std::uint8_t> bytes,
                           const DeviceSelections& selections);

// The input/output grid rows the option board mode leaves uncovered, and which controls it shows.
struct BoardLayout {
    std::size_t linesShown;  // grid rows 1..linesShown are uncovered
    bool protocol;
    bool serialB;
    bool rxAudioGating;  // in the PMR view
};
BoardLayout LayoutOfBoard(std::int64_t board);
// The serial protocol stored for a board: cleared for "ASI-GPS".
std::int64_t ProtocolToStore(std::int64_t board, std::int64_t protocol);

}  // namespace km
