#pragma once
// The Selcall form's part of a PmrJobImage: the radio's own selcall identity, the tonesets it
// encodes and decodes with and the tone tables computed from them, the four tone durations, the
// special tones, the function button encodes, the phone book of 250 entries, the status list of
// 100 entries, the timed reset and reset tone actions and the alarm. Every field is a row; the
// rules between fields (tone tables, sent status, the grids' commands) and the CSV files of the
// phone book and the status list are here too, so that the form, the desktop's CSV commands and
// km700rcp-cli share them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Csv.h"
#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"

namespace km::pmr {

// Where the fields live in the image.
inline constexpr std::size_t kPhoneBookOrderByte = 0x009E;  // bit 0: not alphabetical
inline constexpr std::size_t kUserDecodeTones = 0x0578;     // 16 x u16
inline constexpr std::size_t kPhoneBook = 0x0598;
inline constexpr std::size_t kPhoneBookEntrySize = 24;
inline constexpr std::size_t kPhoneBookEntries = 250;
inline constexpr std::size_t kOwnIdentity = 0x1E66;  // 4 bytes of digits, u16 count
inline constexpr std::size_t kVariableDigits = 0x1E6C;
inline constexpr std::size_t kStatusDigits = 0x1E6E;
inline constexpr std::size_t kGroupAlertByte = 0x1E70;
inline constexpr std::size_t kToneMargin = 0x1E72;
inline constexpr std::size_t kDefaultStatus = 0x1E74;
inline constexpr std::size_t kSelcallFlags = 0x1E76;
inline constexpr std::size_t kRepeatTone = 0x1E78;
inline constexpr std::size_t kGroupTone = 0x1E7A;
inline constexpr std::size_t kResetTone = 0x1E7C;
inline constexpr std::size_t kEncodeToneset1 = 0x1E86;
inline constexpr std::size_t kEncodeToneset2 = 0x1E88;
inline constexpr std::size_t kEncodeTones1 = 0x1E8A;  // 16 x u16
inline constexpr std::size_t kEncodeTones2 = 0x1EAA;  // 16 x u16
inline constexpr std::size_t kDecodeToneset = 0x1ECA;
inline constexpr std::size_t kDecodeWindows = 0x1ECC;  // 16 x (u16 low, u16 high)
inline constexpr std::size_t kToneDurations = 0x1F0C;  // 4 x u16, ms
inline constexpr std::size_t kSend2Encode = 0x1F14;
inline constexpr std::size_t kSpecialEncodes = 0x1F16;  // 8 x u16
inline constexpr std::size_t kStatusList = 0x1F2E;
inline constexpr std::size_t kStatusEntrySize = 26;
inline constexpr std::size_t kStatusEntries = 100;
inline constexpr std::size_t kTimedResetInterval = 0x29BA;
inline constexpr std::size_t kTimedResetOperations = 0x29BC;
inline constexpr std::size_t kResetToneOperations = 0x29BE;
inline constexpr std::size_t kThirdToneResetByte = 0x29BF;  // bit 0
inline constexpr std::size_t kAlarmChannel = 0x29C2;
inline constexpr std::size_t kAlarmRepeat = 0x29C4;
inline constexpr std::size_t kAlarmTxTime = 0x29C6;
inline constexpr std::size_t kAlarmRxTime = 0x29C7;
inline constexpr std::size_t kAlarmFlags = 0x29C8;
inline constexpr std::size_t kAlarmEncode = 0x29CA;
inline constexpr std::size_t kAlarmButtonPress = 0x29CC;

inline constexpr int kSelcallDigitValues = 16;  // digits 0..F
inline constexpr int kToneDurationCount = 4;
inline constexpr int kSpecialEncodeCount = 8;
inline constexpr int kOwnIdentityDigits = 8;
inline constexpr int kPhoneBookDigits = 20;
inline constexpr int kPhoneBookNameWidth = 12;
inline constexpr int kStatusNumberDigits = 4;
inline constexpr int kStatusMessageWidth = 24;
inline constexpr int kHighestStatusNumber = 9999;
inline constexpr int kHighestFfskStatus = 100;
inline constexpr int kLongestDecodeTone = 4000;  // ms

// The form and its pages.
inline constexpr std::string_view kSelcallFormCaption = "Selcall";
inline constexpr std::string_view kSelcallOptionsTab = "Selcall Options";
inline constexpr std::string_view kMoreOptionsTab = "More Options";
inline constexpr std::string_view kFbEncodesTab = "FB Encodes";
inline constexpr std::string_view kPhoneBookTab = "Phone Book";
inline constexpr std::string_view kStatusTab = "Status";
inline constexpr std::string_view kResetTab = "Reset";
inline constexpr std::string_view kAlarmTab = "Alarm";

// ---- SelcallTonesetTable ----

struct SelcallToneset {
    std::string_view name;
    int marginPercent;
    std::array<std::uint16_t, kSelcallDigitValues> tones;  // Hz for digits 0..F, 0 = none
};

inline constexpr int kTonesetCount = 25;
inline constexpr int kUserDefinedToneset = 24;

namespace toneset_detail {
using Tones = std::array<std::uint16_t, kSelcallDigitValues>;
constexpr Tones Join(std::array<std::uint16_t, 10> digits, std::array<std::uint16_t, 6> letters) {
    Tones tones{};
    for (std::size_t i = 0; i < 10; ++i) {
        tones[i] = digits[i];
    }
    for (std::size_t i = 0; i < 6; ++i) {
        tones[10 + i] = letters[i];
    }
    return tones;
}
inline constexpr std::array<std::uint16_t, 10> kCcir = {1981, 1124, 1197, 1275, 1358,
                                                        1446, 1540, 1640, 1747, 1860};
inline constexpr std::array<std::uint16_t, 10> kZvei = {2400, 1060, 1160, 1270, 1400,
                                                        1530, 1670, 1830, 2000, 2200};
inline constexpr std::array<std::uint16_t, 10> kZvei3 = {2200, 970,  1060, 1160, 1270,
                                                         1400, 1530, 1670, 1830, 2000};
inline constexpr std::array<std::uint16_t, 10> kNatel = {1633, 631,  697,  770,  852,
                                                         941,  1040, 1209, 1336, 1477};
inline constexpr std::array<std::uint16_t, 10> kEia = {600,  741,  882,  1023, 1164,
                                                       1305, 1446, 1587, 1728, 1869};
}  // namespace toneset_detail

inline constexpr std::array<SelcallToneset, kTonesetCount> kSelcallTonesetTable = [] {
    using toneset_detail::Join;
    using toneset_detail::kCcir;
    using toneset_detail::kEia;
    using toneset_detail::kNatel;
    using toneset_detail::kZvei;
    using toneset_detail::kZvei3;
    return std::array<SelcallToneset, kTonesetCount>{{
        {"CML_CCIR", 3, Join(kCcir, {2400, 930, 2247, 991, 2110, 0})},
        {"KW730_CCIR", 3, Join(kCcir, {1055, 0, 2400, 0, 2110, 0})},
        {"SIGTEC_CCIR", 3, Join(kCcir, {2110, 2400, 1055, 2247, 930, 991})},
        {"SIGTEC_CCIRH", 3, Join(kCcir, {2400, 930, 2247, 991, 2110, 1055})},
        {"SEPAC_CCIR", 3, Join(kCcir, {2400, 1055, 2247, 991, 2110, 0})},
        {"CML_EEA", 3, Join(kCcir, {1055, 930, 2247, 991, 2110, 0})},
        {"KW730_EEA", 3, Join(kCcir, {1055, 0, 2400, 0, 2110, 0})},
        {"SIGTEC_EEA", 3, Join(kCcir, {2110, 1055, 2400, 2247, 930, 991})},
        {"SEPAC_EEA", 3, Join(kCcir, {1055, 970, 2247, 2400, 2110, 0})},
        {"CML_ZVEI", 3, Join(kZvei, {2800, 810, 970, 886, 2600, 0})},
        {"KW730_ZVEI", 3, Join(kZvei, {970, 0, 2800, 0, 2600, 0})},
        {"SIGTEC_ZVEI_1", 3, Join(kZvei, {2600, 2800, 741, 970, 810, 886})},
        {"SEPAC_ZVEI_1", 3, Join(kZvei, {2800, 970, 885, 0, 2600, 0})},
        {"SIGTEC_ZVEI_2", 3, Join(kZvei, {970, 885, 741, 2600, 2800, 600})},
        {"SEPAC_ZVEI_2", 3, Join(kZvei, {885, 741, 2600, 0, 970, 0})},
        {"SIGTEC_ZVEI_3", 3, Join(kZvei3, {2400, 885, 741, 2600, 2800, 600})},
        {"SEPAC_ZVEI_3", 3, Join(kZvei3, {885, 741, 2600, 0, 2400, 0})},
        {"KW730_CML_ZVEI_3", 3, Join(kZvei, {885, 0, 810, 0, 970, 0})},
        {"KW730_CML_DZVEI", 3, Join(kZvei3, {2600, 0, 886, 810, 2400, 0})},
        {"KW730_DZVEI", 3, Join(kZvei3, {825, 0, 2600, 0, 2400, 0})},
        {"SIGTEC_NATEL", 3, Join(kNatel, {1805, 1995, 1300, 1700, 2175, 2937})},
        {"SIGTEC_EIA", 3, Join(kEia, {459, 2151, 2600, 2010, 2433, 2292})},
        {"SEPAC_EIA", 3, Join(kEia, {2151, 1091, 2400, 0, 459, 0})},
        {"KW730_EIA", 3, Join(kEia, {2151, 0, 2010, 0, 459, 0})},
        {"USER_DEFINED", 3, {}},
    }};
}();

// The toneset's name, or nullopt for an index the table has no row for.
std::optional<std::string_view> TonesetName(std::int64_t index);

namespace selcall_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;
using fields::Flag;
using fields::Word;

inline constexpr auto kTonesetChoices = [] {
    std::array<Choice, kTonesetCount> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i) {
        choices[i] = {static_cast<std::int64_t>(i), kSelcallTonesetTable[i].name};
    }
    return choices;
}();
inline constexpr Choice kDigitChoices[] = {
    {0, "0"}, {1, "1"}, {2, "2"},  {3, "3"},  {4, "4"},  {5, "5"},  {6, "6"},  {7, "7"},
    {8, "8"}, {9, "9"}, {10, "A"}, {11, "B"}, {12, "C"}, {13, "D"}, {14, "E"}, {15, "F"}};
inline constexpr Choice kAlertToneChoices[] = {
    {0, "Ring"}, {1, "Bip"}, {2, "2xBip"}, {3, "Beep"}, {4, "Urgent"}};
inline constexpr Choice kToneMarginChoices[] = {{0, "2 %"}, {1, "3 %"}, {2, "4 %"}, {3, "5 %"},
                                                {4, "6 %"}, {5, "7 %"}, {6, "8 %"}};
// Bit 4 above bit 0 of the flags: "Save Decoded Status" is bit 0, "Default Status" bit 4.
inline constexpr Choice kSentStatusChoices[] = {
    {0, "Keep User Status"}, {1, "Save Decoded Status"}, {2, "Default Status"}};
inline constexpr std::int64_t kDefaultStatusChosen = 2;
inline constexpr fields::BitPiece kSentStatusBits[] = {{.offset = 0, .shift = 4},
                                                       {.offset = 0, .shift = 0}};
inline constexpr Choice kDisplayChoices[] = {{0, "Frozen"}, {1, "Blank"}};
// Bits 4-6 of the alarm flags: bit 6 fist, bit 5 handsfree, bit 4 direct covert.
inline constexpr Choice kMicrophoneChoices[] = {
    {4, "Fist Mic"}, {2, "Handsfree Mic"}, {1, "Direct Covert Mic"}, {0, "None"}};
inline constexpr std::int64_t kDirectCovertMic = 1;

// A phone book identity: 20 digits in bytes 0-9, byte 10 zero and byte 11 the count.
inline constexpr fields::BitPiece kPhoneBookCount[] = {{.offset = 10, .count = 8},
                                                       {.offset = 11, .count = 8}};
// The own identity: 8 digits in 4 bytes, the count a low-byte-first word after them.
inline constexpr fields::BitPiece kOwnIdentityCount[] = {{.offset = 5, .count = 8},
                                                         {.offset = 4, .count = 8}};

inline constexpr std::string_view kUserToneIds[] = {
    "selcall.user_tone_0", "selcall.user_tone_1", "selcall.user_tone_2", "selcall.user_tone_3",
    "selcall.user_tone_4", "selcall.user_tone_5", "selcall.user_tone_6", "selcall.user_tone_7",
    "selcall.user_tone_8", "selcall.user_tone_9", "selcall.user_tone_A", "selcall.user_tone_B",
    "selcall.user_tone_C", "selcall.user_tone_D", "selcall.user_tone_E", "selcall.user_tone_F"};
inline constexpr std::string_view kEncodeTones1Ids[] = {
    "selcall.encode_toneset1_tone_0", "selcall.encode_toneset1_tone_1",
    "selcall.encode_toneset1_tone_2", "selcall.encode_toneset1_tone_3",
    "selcall.encode_toneset1_tone_4", "selcall.encode_toneset1_tone_5",
    "selcall.encode_toneset1_tone_6", "selcall.encode_toneset1_tone_7",
    "selcall.encode_toneset1_tone_8", "selcall.encode_toneset1_tone_9",
    "selcall.encode_toneset1_tone_A", "selcall.encode_toneset1_tone_B",
    "selcall.encode_toneset1_tone_C", "selcall.encode_toneset1_tone_D",
    "selcall.encode_toneset1_tone_E", "selcall.encode_toneset1_tone_F"};
inline constexpr std::string_view kEncodeTones2Ids[] = {
    "selcall.encode_toneset2_tone_0", "selcall.encode_toneset2_tone_1",
    "selcall.encode_toneset2_tone_2", "selcall.encode_toneset2_tone_3",
    "selcall.encode_toneset2_tone_4", "selcall.encode_toneset2_tone_5",
    "selcall.encode_toneset2_tone_6", "selcall.encode_toneset2_tone_7",
    "selcall.encode_toneset2_tone_8", "selcall.encode_toneset2_tone_9",
    "selcall.encode_toneset2_tone_A", "selcall.encode_toneset2_tone_B",
    "selcall.encode_toneset2_tone_C", "selcall.encode_toneset2_tone_D",
    "selcall.encode_toneset2_tone_E", "selcall.encode_toneset2_tone_F"};
inline constexpr std::string_view kWindowLowIds[] = {
    "selcall.decode_window_0_low", "selcall.decode_window_1_low", "selcall.decode_window_2_low",
    "selcall.decode_window_3_low", "selcall.decode_window_4_low", "selcall.decode_window_5_low",
    "selcall.decode_window_6_low", "selcall.decode_window_7_low", "selcall.decode_window_8_low",
    "selcall.decode_window_9_low", "selcall.decode_window_A_low", "selcall.decode_window_B_low",
    "selcall.decode_window_C_low", "selcall.decode_window_D_low", "selcall.decode_window_E_low",
    "selcall.decode_window_F_low"};
inline constexpr std::string_view kWindowHighIds[] = {
    "selcall.decode_window_0_high", "selcall.decode_window_1_high", "selcall.decode_window_2_high",
    "selcall.decode_window_3_high", "selcall.decode_window_4_high", "selcall.decode_window_5_high",
    "selcall.decode_window_6_high", "selcall.decode_window_7_high", "selcall.decode_window_8_high",
    "selcall.decode_window_9_high", "selcall.decode_window_A_high", "selcall.decode_window_B_high",
    "selcall.decode_window_C_high", "selcall.decode_window_D_high", "selcall.decode_window_E_high",
    "selcall.decode_window_F_high"};
inline constexpr std::string_view kUserToneCaptions[] = {
    "Tone 0 ", "Tone 1 ", "Tone 2 ", "Tone 3 ", "Tone 4 ", "Tone 5 ", "Tone 6 ", "Tone 7 ",
    "Tone 8 ", "Tone 9 ", "Tone A ", "Tone B ", "Tone C ", "Tone D ", "Tone E ", "Tone F "};
inline constexpr std::string_view kDurationIds[] = {
    "selcall.tone_duration0", "selcall.tone_duration1", "selcall.tone_duration2",
    "selcall.tone_duration3"};
inline constexpr std::string_view kDurationCaptions[] = {
    "Tone Duration 0 (mS)", "Tone Duration 1 (mS)", "Tone Duration 2 (mS)", "Tone Duration 3 (mS)"};
inline constexpr std::string_view kDurationControls[] = {
    "SOP_Edit_ToneDuration1", "SOP_Edit_ToneDuration2", "SOP_Edit_ToneDuration3",
    "SOP_Edit_ToneDuration4"};
inline constexpr std::int64_t kDefaultDurations[] = {100, 70, 40, 1000};
inline constexpr std::string_view kSpecialEncodeIds[] = {
    "selcall.special_encode1", "selcall.special_encode2", "selcall.special_encode3",
    "selcall.special_encode4", "selcall.special_encode5", "selcall.special_encode6",
    "selcall.special_encode7", "selcall.special_encode8"};
inline constexpr std::string_view kSpecialEncodeCaptions[] = {
    "Special Encode 1 :",          "Special Encode 2 :",          "Special Encode 3 :",
    "Special Encode 4 :",          "Special Encode 5 or Status:", "Special Encode 6 or Status:",
    "Special Encode 7 or Status:", "Special Encode 8 or Status :"};

// Controls of the timed reset and reset tone operations, bits 0..7 of their bytes (the reset
// tone byte has bits 2..7 only).
struct Operation {
    std::string_view id;
    std::string_view caption;
    std::string_view timedControl;
    std::string_view resetToneControl;  // empty for bits 0 and 1
};
inline constexpr Operation kOperations[] = {
    {"auto_reset", "Auto-Reset Timer", "TRST_CBox_AutoReset", ""},
    {"pause_off_cradle", "Pause Timer While Off Cradle", "TRST_CBox_PauseOffCradle", ""},
    {"restore_tx_lockout", "Restore Transmit Lockout", "TRST_CBox_RestoreTxLockout",
     "RST_CBox_RestoreTxLockout"},
    {"re_enable_ptt", "Re-Enable PTT", "TRST_CBox_ReEnablePTT", "RST_CBox_ReEnablePTT"},
    {"stop_alerts", "Stop Alerts", "TRST_CBox_StopAlerts", "RST_CBox_StopAlerts"},
    {"clear_called", "Clear Called Indicator", "TRST_CBox_ClearCalled", "RST_CBox_ClearCalled"},
    {"enable_ctcss_mute", "Enable CTCSS Mute", "TRST_CBox_EnableCTCSSMute",
     "RST_CBox_EnableCTCSSMute"},
    {"close_selcall_mute", "Close Selcall Mute", "TRST_CBox_CloseSelcallMute",
     "RST_CBox_CloseSelcallMute"},
};
inline constexpr std::string_view kTimedOperationIds[] = {
    "selcall.timed_reset.auto_reset",         "selcall.timed_reset.pause_off_cradle",
    "selcall.timed_reset.restore_tx_lockout", "selcall.timed_reset.re_enable_ptt",
    "selcall.timed_reset.stop_alerts",        "selcall.timed_reset.clear_called",
    "selcall.timed_reset.enable_ctcss_mute",  "selcall.timed_reset.close_selcall_mute"};
inline constexpr std::string_view kResetToneOperationIds[] = {
    "",
    "",
    "selcall.reset_tone.restore_tx_lockout",
    "selcall.reset_tone.re_enable_ptt",
    "selcall.reset_tone.stop_alerts",
    "selcall.reset_tone.clear_called",
    "selcall.reset_tone.enable_ctcss_mute",
    "selcall.reset_tone.close_selcall_mute"};

constexpr FieldRow Choices(std::string_view id, std::string_view caption, std::string_view control,
                           std::string_view tab, std::size_t at, std::span<const Choice> choices) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = tab,
            .at = {.pmr = static_cast<std::int32_t>(at)},
            .encoding = Encoding::U16,
            .choices = choices};
}

// A tone table the store computes.
constexpr FieldRow Computed(std::string_view id, std::string_view caption, std::size_t at) {
    return {.id = id,
            .caption = caption,
            .tab = kMoreOptionsTab,
            .at = {.pmr = static_cast<std::int32_t>(at)},
            .encoding = Encoding::U16,
            .scale = {.unit = "Hz"},
            .derived = true};
}

inline constexpr FieldRow kSingleRows[] = {
    // Bit 0 set means "not alphabetical": the check box shows 1 - bit.
    {.id = "selcall.phonebook_alphabetical",
     .caption = "Display in Alphabetical Order",
     .control = "SCL_CBox_PhbkAlphaOrder",
     .tab = kPhoneBookTab,
     .at = {.pmr = static_cast<std::int32_t>(kPhoneBookOrderByte)},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 1,
     .defaultValue = 1,
     .scale = {.mul = -1, .add = 1}},
    {.id = "selcall.own_identity",
     .caption = "Own Identity",
     .control = "SOP_Edit_OwnID",
     .tab = kSelcallOptionsTab,
     .at = {.pmr = static_cast<std::int32_t>(kOwnIdentity)},
     .encoding = Encoding::SelcallDigits,
     .width = 6,
     .pieces = kOwnIdentityCount,
     .max = kOwnIdentityDigits,
     // An emptied identity writes 0xFF into its first two bytes only.
     .emptiedDigitBytes = 2},
    Word("selcall.variable_digits", "No of Variable Identity Digits", "SOP2_Edit_VariableDigits",
         {kMoreOptionsTab, fields::InPmr(kVariableDigits)}, 0, 8),
    Word("selcall.status_digits", "No of Variable Status Digits", "SOP2_Edit_StatusDigits",
         {kMoreOptionsTab, fields::InPmr(kStatusDigits)}, 0, 4),
    {.id = "selcall.group_alert_tone",
     .caption = "Group Alert Tone",
     .control = "SOP2_Combo_GrpAlertTone",
     .tab = kMoreOptionsTab,
     .at = {.pmr = static_cast<std::int32_t>(kGroupAlertByte)},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 3,
     .choices = kAlertToneChoices},
    Flag("selcall.group_ptt_disabled", "PTT Disabled", "SOP2_CBox_GrpPttInhibit",
         {kMoreOptionsTab, fields::InPmr(kGroupAlertByte)}, 3),
    Flag("selcall.allow_external_alert", "Allow External Alert", "SOP2_CBox_AllowExtAlert",
         {kMoreOptionsTab, fields::InPmr(kGroupAlertByte)}, 4),
    Choices("selcall.tone_margin", "Tone Margin", "SOP_Combo_ToneMargin", kSelcallOptionsTab,
            kToneMargin, kToneMarginChoices),
    {.id = "selcall.default_status",
     .caption = "Default Status",
     .control = "STA_Edit_DefaultStatus",
     .tab = kStatusTab,
     .at = {.pmr = static_cast<std::int32_t>(kDefaultStatus)},
     .encoding = Encoding::SelcallDigits,
     .width = 2,
     .max = kStatusNumberDigits},
    {.id = "selcall.sent_status",
     .caption = "Sent Status",
     .control = "STA_RadioGrp_SentStatus",
     .tab = kStatusTab,
     .at = {.pmr = static_cast<std::int32_t>(kSelcallFlags)},
     .encoding = Encoding::Pieces,
     .width = 1,
     .pieces = kSentStatusBits,
     .choices = kSentStatusChoices},
    Flag("selcall.decode_with_ctcss", "Decode with CTCSS/DCS", "SOP_CBox_DecodeWithCTCSS",
         {kSelcallOptionsTab, fields::InPmr(kSelcallFlags)}, 1),
    Flag("selcall.beeps_while_called", "Beeps while being called", "SOP_CBox_BeepsWhileCalled",
         {kSelcallOptionsTab, fields::InPmr(kSelcallFlags)}, 2),
    Flag("selcall.free_dial", "Free-dial Selcall", "SOP_CBox_FreeDialSelcall",
         {kSelcallOptionsTab, fields::InPmr(kSelcallFlags)}, 3),
    Flag("selcall.remote_channel_change", "Remote Channel Change", "STA_CheckBox_RemoteChanChange",
         {kStatusTab, fields::InPmr(kSelcallFlags)}, 5),
    Flag("selcall.silent_monitor", "Silent Monitor", "STA_CheckBox_SilentMonitor",
         {kStatusTab, fields::InPmr(kSelcallFlags)}, 6),
    Flag("selcall.user_entered_id", "User Entered ID", "SOP_CBox_UserEnteredID",
         {kSelcallOptionsTab, fields::InPmr(kSelcallFlags)}, 7),
    Choices("selcall.repeat_tone", "Repeat Tone", "SOP_Combo_RepeatTone", kSelcallOptionsTab,
            kRepeatTone, kDigitChoices),
    Choices("selcall.group_tone", "Group Tone", "SOP_Combo_GroupTone", kSelcallOptionsTab,
            kGroupTone, kDigitChoices),
    Choices("selcall.reset_tone", "Reset Tone", "SOP_Combo_ResetTone", kSelcallOptionsTab,
            kResetTone, kDigitChoices),
    Choices("selcall.encode_toneset1", "Encode Toneset 1", "SOP_Combo_EncToneset1",
            kSelcallOptionsTab, kEncodeToneset1, kTonesetChoices),
    Choices("selcall.encode_toneset2", "Encode Toneset 2 ", "SOP_Combo_EncToneset2",
            kSelcallOptionsTab, kEncodeToneset2, kTonesetChoices),
    Choices("selcall.decode_toneset", "Decode Toneset", "SOP_Combo_DecToneset", kSelcallOptionsTab,
            kDecodeToneset, kTonesetChoices),
    Word("selcall.send2_encode", "Send 2 Function uses Encode", "FBE_Edit_Send2Encode",
         {kFbEncodesTab, fields::InPmr(kSend2Encode)}, 1, 250, 0xFFFF, {}, 0xFFFF),
    Word("selcall.timed_reset_interval", "Timed Reset Interval (S)", "TRST_Edit_TimedResetInterval",
         {kResetTab, fields::InPmr(kTimedResetInterval)}, 0, 255, 0xFFFF, {}, 0xFFFF),
    fields::Derived(Flag("selcall.third_tone_reset", "Third Tone Reset", "RST_CBox_ThirdToneReset",
                         {kResetTab, fields::InPmr(kThirdToneResetByte)}, 0)),
    Word("selcall.alarm_channel", "Alarm Channel Number", "ALM_Edit_AlarmChannelNum",
         {kAlarmTab, fields::InPmr(kAlarmChannel)}, 0, 999, 0xFFFF, {}, 0xFFFF),
    Word("selcall.alarm_repeat", "Alarm Encode Repeat", "ALM_Edit_EmergencyEncRptCnt",
         {kAlarmTab, fields::InPmr(kAlarmRepeat)}, 0, 255),
    {.id = "selcall.alarm_tx_time",
     .caption = "Transmit Time  (Sec)",
     .control = "ALM_Edit_TxTime",
     .tab = kAlarmTab,
     .at = {.pmr = static_cast<std::int32_t>(kAlarmTxTime)}},
    {.id = "selcall.alarm_rx_time",
     .caption = "Receive Time  (Sec)",
     .control = "ALM_Edit_RxTime",
     .tab = kAlarmTab,
     .at = {.pmr = static_cast<std::int32_t>(kAlarmRxTime)}},
    {.id = "selcall.alarm_display",
     .caption = "Display Operation",
     .control = "ALM_Combo_DisplayOperation",
     .tab = kAlarmTab,
     .at = {.pmr = static_cast<std::int32_t>(kAlarmFlags)},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 2,
     .choices = kDisplayChoices},
    Flag("selcall.alarm_confidence_beep", "Confidence Beep", "ALM_CBox_Confidence",
         {kAlarmTab, fields::InPmr(kAlarmFlags)}, 2),
    Flag("selcall.alarm_avl_message", "AVL Alarm Message", "ALM_CBox_AvlAlarmMsg",
         {kAlarmTab, fields::InPmr(kAlarmFlags)}, 3),
    {.id = "selcall.alarm_microphone",
     .caption = "Microphone",
     .control = "ALM_Combo_Microphone",
     .tab = kAlarmTab,
     .at = {.pmr = static_cast<std::int32_t>(kAlarmFlags)},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 4,
     .bitCount = 3,
     .choices = kMicrophoneChoices},
    Flag("selcall.alarm_stay_on_channel", "Stay on Alarm Channel", "ALM_CBox_StayOnAlarmCh",
         {kAlarmTab, fields::InPmr(kAlarmFlags)}, 7),
    Word("selcall.alarm_encode", "Alarm Encode", "ALM_Edit_AlarmEncode",
         {kAlarmTab, fields::InPmr(kAlarmEncode)}, 1, 250, 0xFFFF, {}, 0xFFFF),
    Word("selcall.alarm_button_press", "Alarm Button Press (mS)", "ALM_Edit_BtnPress",
         {kAlarmTab, fields::InPmr(kAlarmButtonPress)}, 0, 32000),
};

// The rows above, then the rows of each digit, duration, special encode and operation.
inline constexpr std::size_t kRowCount = std::size(kSingleRows) + 5 * kSelcallDigitValues +
                                         kToneDurationCount + kSpecialEncodeCount +
                                         std::size(kOperations) + std::size(kOperations) - 2;

constexpr std::array<FieldRow, kRowCount> Rows() {
    std::array<FieldRow, kRowCount> rows{};
    std::size_t n = 0;
    for (const FieldRow& row : kSingleRows) {
        rows[n++] = row;
    }
    // The user tones matter only with a user defined decode toneset (the grid checks what is
    // typed): whatever else they hold is no error of the job.
    for (std::size_t d = 0; d < kSelcallDigitValues; ++d) {
        rows[n++] = {.id = kUserToneIds[d],
                     .caption = kUserToneCaptions[d],
                     .tab = kMoreOptionsTab,
                     .at = {.pmr = static_cast<std::int32_t>(kUserDecodeTones + 2 * d)},
                     .encoding = Encoding::U16,
                     .scale = {.unit = "Hz"}};
    }
    for (std::size_t d = 0; d < kSelcallDigitValues; ++d) {
        rows[n++] = Computed(kEncodeTones1Ids[d], "Encode toneset 1 tone", kEncodeTones1 + 2 * d);
    }
    for (std::size_t d = 0; d < kSelcallDigitValues; ++d) {
        rows[n++] = Computed(kEncodeTones2Ids[d], "Encode toneset 2 tone", kEncodeTones2 + 2 * d);
    }
    for (std::size_t d = 0; d < kSelcallDigitValues; ++d) {
        rows[n++] = Computed(kWindowLowIds[d], "Decode window, lowest", kDecodeWindows + 4 * d);
        rows[n++] =
            Computed(kWindowHighIds[d], "Decode window, highest", kDecodeWindows + 4 * d + 2);
    }
    for (std::size_t i = 0; i < kToneDurationCount; ++i) {
        FieldRow row =
            Word(kDurationIds[i], kDurationCaptions[i], kDurationControls[i],
                 {kSelcallOptionsTab, fields::InPmr(kToneDurations + 2 * i)}, 20, 30000, 0, {}, 0);
        // An empty duration (0) is undefined; the template has a duration in each.
        row.defaultValue = kDefaultDurations[i];
        rows[n++] = row;
    }
    for (std::size_t i = 0; i < kSpecialEncodeCount; ++i) {
        rows[n++] = Word(kSpecialEncodeIds[i], kSpecialEncodeCaptions[i], "FBE_StrGrid_FBEncodes",
                         {kFbEncodesTab, fields::InPmr(kSpecialEncodes + 2 * i)}, 1, 250, 0xFFFF,
                         {}, 0xFFFF);
    }
    for (std::size_t bit = 0; bit < std::size(kOperations); ++bit) {
        rows[n++] =
            Flag(kTimedOperationIds[bit], kOperations[bit].caption, kOperations[bit].timedControl,
                 {kResetTab, fields::InPmr(kTimedResetOperations)}, static_cast<int>(bit));
        if (!kOperations[bit].resetToneControl.empty()) {
            rows[n++] =
                Flag(kResetToneOperationIds[bit], kOperations[bit].caption,
                     kOperations[bit].resetToneControl,
                     {kResetTab, fields::InPmr(kResetToneOperations)}, static_cast<int>(bit));
        }
    }
    return rows;
}
inline constexpr auto kRows = Rows();
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

// The rows by id, for the rules of the form and the map.
constexpr const FieldRow& Row(std::string_view id) {
    return fields::RowById(kRows, id);
}
inline constexpr const FieldRow& kAlphabetical = Row("selcall.phonebook_alphabetical");
inline constexpr const FieldRow& kOwnIdentityRow = Row("selcall.own_identity");
inline constexpr const FieldRow& kVariableDigitsRow = Row("selcall.variable_digits");
inline constexpr const FieldRow& kStatusDigitsRow = Row("selcall.status_digits");
inline constexpr const FieldRow& kDefaultStatusRow = Row("selcall.default_status");
inline constexpr const FieldRow& kSentStatus = Row("selcall.sent_status");
inline constexpr const FieldRow& kUserEnteredId = Row("selcall.user_entered_id");
inline constexpr const FieldRow& kEncodeToneset1Row = Row("selcall.encode_toneset1");
inline constexpr const FieldRow& kEncodeToneset2Row = Row("selcall.encode_toneset2");
inline constexpr const FieldRow& kDecodeTonesetRow = Row("selcall.decode_toneset");
inline constexpr const FieldRow& kThirdToneReset = Row("selcall.third_tone_reset");
inline constexpr const FieldRow& kAlarmChannelRow = Row("selcall.alarm_channel");
inline constexpr const FieldRow& kMicrophone = Row("selcall.alarm_microphone");
constexpr const FieldRow& DurationRow(int index) {
    return Row(kDurationIds[static_cast<std::size_t>(index)]);
}
constexpr const FieldRow& SpecialEncodeRow(int index) {
    return Row(kSpecialEncodeIds[static_cast<std::size_t>(index)]);
}
constexpr const FieldRow& UserToneRow(int digit) {
    return Row(kUserToneIds[static_cast<std::size_t>(digit)]);
}

// A phone book entry and a status list entry.
inline constexpr FieldRow kPhoneBookColumns[] = {
    {.id = "identity",
     .caption = "Selcall ID",
     .control = "SCL_SGrid_PhoneBook",
     .tab = kPhoneBookTab,
     .at = {.pmr = 0},
     .encoding = Encoding::SelcallDigits,
     .width = 12,
     .pieces = kPhoneBookCount,
     .max = kPhoneBookDigits},
    {.id = "name",
     .caption = "Name/Message",
     .control = "SCL_SGrid_PhoneBook",
     .tab = kPhoneBookTab,
     .at = {.pmr = 12},
     .encoding = Encoding::Text,
     .width = kPhoneBookNameWidth},
};
static_assert(fields::RowsValid(kPhoneBookColumns, fields::ImageId::Pmr, kPhoneBookEntrySize));
inline constexpr const FieldRow& kPhoneBookIdentity = kPhoneBookColumns[0];
inline constexpr const FieldRow& kPhoneBookName = kPhoneBookColumns[1];

inline constexpr FieldRow kStatusColumns[] = {
    {.id = "number",
     .caption = "Status Number",
     .control = "STA_StrGrid_Status",
     .tab = kStatusTab,
     .at = {.pmr = 0},
     .encoding = Encoding::SelcallDigits,
     .width = 2,
     .max = kStatusNumberDigits},
    {.id = "message",
     .caption = "Name/Message",
     .control = "STA_StrGrid_Status",
     .tab = kStatusTab,
     .at = {.pmr = 2},
     .encoding = Encoding::Text,
     .width = kStatusMessageWidth},
};
static_assert(fields::RowsValid(kStatusColumns, fields::ImageId::Pmr, kStatusEntrySize));
inline constexpr const FieldRow& kStatusNumber = kStatusColumns[0];
inline constexpr const FieldRow& kStatusMessage = kStatusColumns[1];

inline constexpr fields::RecordTable kRecords[] = {
    {.id = "selcall.phonebook",
     .base = {.pmr = static_cast<std::int32_t>(kPhoneBook)},
     .stride = kPhoneBookEntrySize,
     .capacity = kPhoneBookEntries,
     .columns = kPhoneBookColumns},
    {.id = "selcall.status",
     .base = {.pmr = static_cast<std::int32_t>(kStatusList)},
     .stride = kStatusEntrySize,
     .capacity = kStatusEntries,
     .columns = kStatusColumns},
};
static_assert(fields::RecordsValid(kRecords[0], fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kRecords[1], fields::ImageId::Pmr, PmrJobImage::kSize));
inline constexpr const fields::RecordTable& kPhoneBookRecords = kRecords[0];
inline constexpr const fields::RecordTable& kStatusRecords = kRecords[1];

inline constexpr fields::FieldTable kTable = {.id = "selcall",
                                              .form = kSelcallFormCaption,
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

}  // namespace selcall_rows

// ---- Messages of the form ----

inline constexpr std::string_view kOwnIdentityNeededText =
    "To enable this field, the \"Own Identity\" field must be defined.                    \n\n"
    " The number of digits in the Own Identity field tells the                       \n"
    " mobile how many ID digits will be entered when the mobile                      \n"
    " is switched on. ";
inline constexpr std::string_view kDecodeDurationWarningText =
    "Tone durations for Decodes must be less than 4000mS.";
inline constexpr std::string_view kVariableDigitsWarningText =
    "Please ensure that the number of Variable digits in any Decode or                \n"
    "Encode sequence does not exceed %d.";
inline constexpr std::string_view kStatusDigitsWarningText =
    "Please ensure that the number of Variable Status digits               \n"
    "in any Decode or Encode sequence does not exceed %d.";
inline constexpr std::string_view kUserTonesetIncompleteText =
    "User Defined Selcall Toneset is not fully defined.                    \n";
inline constexpr std::string_view kClearPhonebookQuestion = " Delete the Entire Phonebook?\n ";
inline constexpr std::string_view kClearStatusQuestion = " Delete the Entire Status List?\n ";
inline constexpr std::string_view kFillToEndQuestion =
    "The selected row will be copied into the remainder of the table.       \n"
    "Do you want to continue?\n ";

// ---- Tone tables ----

// The user tone grid: one cell a digit 0..F, as typed ("" empty).
using UserTones = std::array<std::string, kSelcallDigitValues>;

// The grid as a load fills it: from encode toneset 1's table when that toneset is user defined,
// otherwise from toneset 2's when that is, otherwise from the decode tones when the decode
// toneset is; otherwise empty.
UserTones UserTonesOf(const PmrJobImage& image);

// True when any of the three tonesets is USER_DEFINED (the grid is shown).
bool UserTonesetChosen(const PmrJobImage& image);

// Writes the tone tables of the three tonesets the image names: a table's tones, or for
// USER_DEFINED the grid's, and the decode windows of the toneset's margin. A toneset index the
// table has no row for leaves its computed tones as they are. Returns false when a user defined
// toneset met an empty cell (stored as 0): the form warns.
bool StoreToneTables(PmrJobImage& image, const UserTones& grid);

// A user tone cell's check: empty, "0" or 300..3500.
std::optional<std::string> UserToneMessage(std::string_view cell);

// The rules of the store beyond the rows: the default status is kept only while "Default
// Status" is the sent status (0xFFFF otherwise), and the third tone reset starts clear (the
// decodes' store sets it).
void StoreSelcallRules(PmrJobImage& image);

// FFSK status messages (a Channel Options setting): status numbers become 1..100.
bool FfskStatusMessages(const PmrJobImage& image);

// The check of a function button encode cell (`index` 0..7): empty, or 1..250; rows 5..8 1..100
// while FFSK status messages are on.
std::optional<std::string> SpecialEncodeMessage(int index, std::string_view cell, bool ffsk);

// ---- Phone book and status list ----

struct SelcallPhonebookEntry {
    std::string name;
    std::string identity;
    friend bool operator==(const SelcallPhonebookEntry&, const SelcallPhonebookEntry&) = default;
};
struct StatusEntry {
    std::string message;
    std::string number;
    friend bool operator==(const StatusEntry&, const StatusEntry&) = default;
};

std::vector<SelcallPhonebookEntry> LoadSelcallPhonebook(std::span<const std::uint8_t> image);
// Stores the entries (missing ones empty): a name up to 12 characters and an identity of up to
// 20 digits 0-F, whatever the grid holds.
void StoreSelcallPhonebook(std::span<std::uint8_t> image,
                           std::span<const SelcallPhonebookEntry> entries);
std::vector<StatusEntry> LoadStatusList(std::span<const std::uint8_t> image);
void StoreStatusList(std::span<std::uint8_t> image, std::span<const StatusEntry> entries);

// An entry as the image keeps it.
SelcallPhonebookEntry Bounded(const SelcallPhonebookEntry& entry);
StatusEntry Bounded(const StatusEntry& entry);

// The grid commands on rows of a grid of `rows.size()` lines.
template <class Row>
void InsertGridRow(std::vector<Row>& rows, std::size_t row) {
    if (row < rows.size()) {
        rows.pop_back();
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), Row{});
    }
}
template <class Row>
void DeleteGridRow(std::vector<Row>& rows, std::size_t row) {
    if (row < rows.size()) {
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
        rows.push_back(Row{});
    }
}

// "Fill To End": the selected row's text into every later row, and its number counted on by one
// a row as a decimal digit string (leading zeros kept). A number that is no decimal number gives
// the conversion error and fills nothing. An empty number leaves the later numbers as they are.
// Counting stops before an identity would have 21 digits; status numbers stop at 9999 and hold
// it.
std::optional<std::string> FillToEnd(std::vector<SelcallPhonebookEntry>& rows, std::size_t row);
std::optional<std::string> FillToEnd(std::vector<StatusEntry>& rows, std::size_t row);

// ---- CSV ----

inline constexpr std::string_view kPmrCsvKind = "PMR";
inline constexpr std::string_view kPhonebookCsvTable = "Phonebook";
inline constexpr std::string_view kPhonebookCsvColumns = "Index, Name, Number,";
inline constexpr std::string_view kStatusCsvTable = "StatusList";
inline constexpr std::string_view kStatusCsvColumns = "Index, Message, Status Number,";
inline constexpr std::string_view kNotAStatusList =
    "File does not contain a valid Status Message List.";

template <class Entry>
struct GridImport {
    std::vector<Entry> entries;  // every row of the grid; rows the file has not are empty
    csv::ImportSummary summary;
};

// The file's bytes: the two header lines and a line per row ("index,name,number", the status
// list numbered from 1), CR LF after each, Windows-1252; commas inside a text become blanks.
std::string ExportSelcallPhonebookCsv(std::span<const SelcallPhonebookEntry> entries);
std::string ExportStatusListCsv(std::span<const StatusEntry> entries);

// Reads a file's bytes into the rows of the grid, one file line a row in order (the index is
// not used). A wrong first line gives the file's message and nothing else; lines beyond the
// grid's rows are skipped and counted; texts and numbers are bounded as the image bounds them.
std::variant<GridImport<SelcallPhonebookEntry>, std::string> ImportSelcallPhonebookCsv(
    std::string_view fileBytes);
std::variant<GridImport<StatusEntry>, std::string> ImportStatusListCsv(std::string_view fileBytes);

// The same for a job image, as km700rcp-cli runs them.
std::string ExportSelcallPhonebookCsvOfImage(std::span<const std::uint8_t> image);
std::string ExportStatusListCsvOfImage(std::span<const std::uint8_t> image);
std::variant<csv::ImportSummary, std::string> ImportSelcallPhonebookCsvIntoImage(
    std::span<std::uint8_t> image, std::string_view fileBytes);
std::variant<csv::ImportSummary, std::string> ImportStatusListCsvIntoImage(
    std::span<std::uint8_t> image, std::string_view fileBytes);

}  // namespace km::pmr
