#pragma once
// The radio-wide conventional settings of the Channel Options form as field rows: power-on
// channel and zone, Goto channels, what a channel change does, the three transmit power levels,
// repeater options, scanning and dual watch, voting, microphone and PTT behaviour, DTMF, the
// battery economiser, FFSK data and GPS reporting. Each field sits once in the PmrJobImage; the
// form's pages, the job dump and the radio type change read and write it through these rows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "config/CtcssDcsTable.h"
#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"

namespace km::pmr::options_rows {

using fields::Choice;
using fields::Derived;
using fields::Encoding;
using fields::FieldRow;
using fields::Flag;
using fields::Scale;
using fields::Where;
using fields::Word;

// The pages of the Channel Options form that show these rows, in their order.
inline constexpr std::string_view kOptionsTab = "Options";
inline constexpr std::string_view kScanTab = "Scan";
inline constexpr std::string_view kVoteTab = "Vote/Multiax";
inline constexpr std::string_view kMicrophoneTab = "Microphone";
inline constexpr std::string_view kDtmfTab = "DTMF/Econ";
inline constexpr std::string_view kDataTab = "Data/GPS";

inline constexpr std::uint16_t kNoChannel = 0xFFFF;
inline constexpr std::uint8_t kNoZone = 63;
inline constexpr std::uint16_t kNoPagerChannel = 0x3FF;
inline constexpr int kHighestChannel = 999;
inline constexpr int kHighestZone = 20;

// Power-on modes, the entries of the "Power-On" radio group.
inline constexpr int kPowerOnDefined = 0;
inline constexpr int kPowerOnLast = 1;
inline constexpr int kPowerOnSwitch = 2;
inline constexpr Choice kPowerOnChoices[] = {
    {kPowerOnDefined, "Defined Zone/Channel"},
    {kPowerOnLast, "Last Zone/Channel"},
    {kPowerOnSwitch, "Zone/Channel Switch"},
};

inline constexpr Choice kRepeaterDefeatChoices[] = {
    {0, "Swap Tx/Rx Frequencies"}, {1, "Rx using Tx Frequency"}, {2, "Tx using Rx Frequency"}};

// Transmit power levels: a mobile's high and medium lists, whose first five entries are its low
// list; a portable's three lists.
inline constexpr Choice kMobilePowerChoices[] = {
    {0, "1 W"}, {1, "2 W"},  {2, "2.5 W"}, {3, "4 W"},  {4, "5 W"},  {5, "6 W"},
    {6, "8 W"}, {7, "10 W"}, {8, "15 W"},  {9, "20 W"}, {10, "25 W"}};
inline constexpr std::size_t kMobileLowPowerLevels = 5;
inline constexpr Choice kPortablePowerChoices[] = {{0, "0.5 W"}, {1, "1 W"}, {2, "2 W"},
                                                   {3, "2.5 W"}, {4, "4 W"}, {5, "5 W"}};

// Signal thresholds: "Disabled", then -65 dBm down in 5 dB steps.
template <std::size_t N>
constexpr std::array<Choice, N> ThresholdChoices(const std::array<std::string_view, N>& texts) {
    std::array<Choice, N> choices{};
    for (std::size_t i = 0; i < N; ++i) {
        choices[i] = {static_cast<std::int64_t>(i), texts[i]};
    }
    return choices;
}
inline constexpr auto kScanThresholdChoices = ThresholdChoices<13>(
    {"Disabled", "-65 dBm", "-70 dBm", "-75 dBm", "-80 dBm", "-85 dBm", "-90 dBm", "-95 dBm",
     "-100 dBm", "-105 dBm", "-110 dBm", "-115 dBm", "-120 dBm"});
inline constexpr auto kFastVoteChoices =
    ThresholdChoices<11>({"Disabled", "-65 dBm", "-70 dBm", "-75 dBm", "-80 dBm", "-85 dBm",
                          "-90 dBm", "-95 dBm", "-100 dBm", "-105 dBm", "-110 dBm"});

inline constexpr Choice kScanTxChannelChoices[] = {
    {0, "Last Received"}, {1, "Next Free"}, {2, "Priority"}, {3, "First in Group"}};

// The forced revote time is kept in seconds and chosen in whole minutes (the row's scale).
inline constexpr auto kForcedRevoteChoices = ThresholdChoices<32>(
    {"Disabled", "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",      "10",
     "11",       "12", "13", "14", "15", "16", "17", "18", "19", "20",     "21",
     "22",       "23", "24", "25", "26", "27", "28", "29", "30", "PTT-Rel"});

inline constexpr Choice kMessageQueueChoices[] = {
    {0, "None"}, {1, "Que on Carrier"}, {2, "Que on Busy"}};
inline constexpr Choice kDataRateChoices[] = {{0, "1200"}, {1, "2400"}};
inline constexpr auto kRetryTimeChoices =
    ThresholdChoices<8>({"0", "50", "100", "200", "400", "800", "1600", "3200"});

// Data CTCSS: "Undefined", the 38 lettered tones of the CTCSS/DCS list (rows 1..38) with texts
// of their own, the frequency right-aligned with one decimal, "Unchanged".
inline constexpr std::array<std::string_view, kLetteredToneCount> kDataCtcssTexts = {
    "Q,   67.0 Hz", "R,   71.9 Hz", "S,   74.4 Hz", "T,   77.0 Hz", "U,   79.7 Hz", "I,   82.5 Hz",
    "V,   85.4 Hz", "A,   88.5 Hz", "W,   91.5 Hz", "J,   94.8 Hz", "=,   97.4 Hz", "B,  100.0 Hz",
    "K,  103.5 Hz", "C,  107.2 Hz", "L,  110.9 Hz", "D,  114.8 Hz", "M,  118.8 Hz", "E,  123.0 Hz",
    "N,  127.3 Hz", "F,  131.8 Hz", "O,  136.5 Hz", "G,  141.3 Hz", "P,  146.2 Hz", "H,  151.4 Hz",
    "X,  156.7 Hz", "Y,  162.2 Hz", "0,  167.9 Hz", "1,  173.8 Hz", "2,  179.9 Hz", "3,  186.2 Hz",
    "4,  192.8 Hz", "5,  203.5 Hz", "6,  210.7 Hz", "7,  218.1 Hz", "8,  225.7 Hz", "9,  233.6 Hz",
    "*,  241.8 Hz", "#,  250.3 Hz"};
inline constexpr int kDataCtcssUnchanged = kLetteredToneCount + 1;
constexpr std::array<Choice, kLetteredToneCount + 2> DataCtcssChoices() {
    std::array<Choice, kLetteredToneCount + 2> choices{};
    choices[0] = {0, kCtcssDcsRows[0].text};
    for (int row = 1; row <= kLetteredToneCount; ++row) {
        choices[static_cast<std::size_t>(row)] = {
            row, kDataCtcssTexts[static_cast<std::size_t>(row - 1)]};
    }
    choices[kDataCtcssUnchanged] = {kDataCtcssUnchanged, "Unchanged"};
    return choices;
}
inline constexpr auto kDataCtcssChoices = DataCtcssChoices();

// ---- Row makers ---------------------------------------------------------------------------

constexpr FieldRow Byte(std::string_view id, std::string_view caption, std::string_view control,
                        Where where, std::int64_t min, std::int64_t max,
                        std::int64_t defaultValue = 0, Scale scale = {},
                        std::int64_t blank = fields::kNoBlank) {
    FieldRow row = Word(id, caption, control, where, min, max, defaultValue, scale, blank);
    row.encoding = Encoding::U8;
    return row;
}

// Bits [shift, shift + count) of a little-endian container of `width` bytes.
constexpr FieldRow Bits(std::string_view id, std::string_view caption, std::string_view control,
                        Where where, int width, int shift, int count, std::int64_t min = 0,
                        std::int64_t max = 0) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = where.tab,
            .at = where.at,
            .encoding = Encoding::Bits,
            .width = static_cast<std::uint16_t>(width),
            .bitShift = static_cast<std::uint8_t>(shift),
            .bitCount = static_cast<std::uint8_t>(count),
            .min = min,
            .max = max};
}

// A flag whose box shows the inverse of the stored bit ("Channel Reversion" ticked = bit clear).
constexpr FieldRow InverseFlag(std::string_view id, std::string_view caption,
                               std::string_view control, Where where, int bit) {
    FieldRow row = Flag(id, caption, control, where, bit, 1);
    row.scale = {.mul = -1, .add = 1};
    return row;
}

constexpr FieldRow List(FieldRow row, std::span<const Choice> choices) {
    row.choices = choices;
    row.min = 0;
    row.max = 0;
    row.controlKind = fields::ControlKind::List;
    return row;
}

// A list shown as a group of radio buttons, one a choice.
constexpr FieldRow Buttons(FieldRow row) {
    row.controlKind = fields::ControlKind::RadioButtons;
    return row;
}

// A channel number, 0xFFFF for none.
constexpr FieldRow Channel(std::string_view id, std::string_view caption, std::string_view control,
                           Where where) {
    return Word(id, caption, control, where, 0, kHighestChannel, kNoChannel, {}, kNoChannel);
}

// The encode a microphone or PTT event sends: 1..250, 0 (empty) for none.
constexpr FieldRow Encode(std::string_view id, std::string_view caption, std::string_view control,
                          Where where) {
    return Byte(id, caption, control, where, 1, 250, 0, {}, 0);
}

// A hold-off in seconds: bits 6-15 of a word whose low bits belong to the radio.
constexpr FieldRow HoldOff(std::string_view id, std::string_view caption, std::string_view control,
                           Where where, std::int64_t blank) {
    FieldRow row = Bits(id, caption, control, where, 2, 6, 10, 0, 999);
    row.blankRaw = blank;
    return row;
}

// DTMF sequence records: byte 0 is 0, byte 1 the number of digits, bytes 2-9 the digits packed two
// a byte (unused nibbles 0xF), bytes 10-11 0xFF and bytes 12-23 zero. The digits are read and
// written with their count (pmr/ChannelOptions.h), so every row of the record is derived.
inline constexpr int kDtmfSequenceSize = 24;
inline constexpr int kDtmfDigits = 16;
inline constexpr int kDtmf1 = 0x1D64;
inline constexpr int kDtmf2 = 0x1D7C;
inline constexpr int kDtmfCountByte = 1;
inline constexpr int kDtmfDigitsByte = 2;
inline constexpr int kDtmfFillByte = 10;
inline constexpr int kDtmfTailByte = 12;
inline constexpr std::uint16_t kDtmfFill = 0xFFFF;

constexpr std::array<FieldRow, 5> DtmfSequence(std::string_view lead, std::string_view count,
                                               std::string_view digits, std::string_view fill,
                                               std::string_view tail, std::string_view caption,
                                               std::string_view control, int at) {
    return {Derived(Byte(lead, "DTMF sequence lead byte", "", {kDtmfTab, fields::InPmr(at)}, 0, 0)),
            Derived(Byte(count, "DTMF sequence digit count", "",
                         {kDtmfTab, fields::InPmr(at + kDtmfCountByte)}, 0, kDtmfDigits)),
            Derived({.id = digits,
                     .caption = caption,
                     .control = control,
                     .tab = kDtmfTab,
                     .at = {.pmr = at + kDtmfDigitsByte},
                     .encoding = Encoding::PackedDial,
                     .width = kDtmfDigits / 2,
                     .max = kDtmfDigits}),
            Derived(Word(fill, "DTMF sequence fill", "",
                         {kDtmfTab, fields::InPmr(at + kDtmfFillByte)}, 0, 0, kDtmfFill)),
            Derived({.id = tail,
                     .caption = "DTMF sequence tail",
                     .tab = kDtmfTab,
                     .at = {.pmr = at + kDtmfTailByte},
                     .encoding = Encoding::Text,
                     .width = kDtmfSequenceSize - kDtmfTailByte})};
}
inline constexpr auto kDtmf1Rows =
    DtmfSequence("options.dtmf1_lead", "options.dtmf1_count", "options.dtmf1", "options.dtmf1_fill",
                 "options.dtmf1_tail", "DTMF-1", "DTMF_Edit_Sequence1", kDtmf1);
inline constexpr auto kDtmf2Rows =
    DtmfSequence("options.dtmf2_lead", "options.dtmf2_count", "options.dtmf2", "options.dtmf2_fill",
                 "options.dtmf2_tail", "DTMF-2", "DTMF_Edit_Sequence2", kDtmf2);

inline constexpr Where O(int at) {
    return {kOptionsTab, fields::InPmr(at)};
}
inline constexpr Where S(int at) {
    return {kScanTab, fields::InPmr(at)};
}
inline constexpr Where V(int at) {
    return {kVoteTab, fields::InPmr(at)};
}
inline constexpr Where M(int at) {
    return {kMicrophoneTab, fields::InPmr(at)};
}
inline constexpr Where T(int at) {
    return {kDtmfTab, fields::InPmr(at)};
}
inline constexpr Where D(int at) {
    return {kDataTab, fields::InPmr(at)};
}

// Every row but the DTMF sequences', page by page.
inline constexpr FieldRow kPlainRows[] = {
    // Options: power-on (the mode, channel and zone are worked out again by every store).
    Buttons(List(Word("options.power_on_mode", "Power-On", "COP_RadioGrp_PowerOn", O(0x1D18), 0, 0),
                 kPowerOnChoices)),
    Channel("options.power_on_channel", "Defined Chan", "COP_Edit_Defined", O(0x1D16)),
    [] {
        FieldRow row = Bits("options.power_on_zone", "Defined Zone", "COP_Edit_DefinedZone",
                            O(0x1D11), 1, 2, 6, 1, kHighestZone);
        row.defaultValue = kNoZone;
        row.blankRaw = kNoZone;
        return row;
    }(),
    [] {
        FieldRow row = Bits("options.pager_channel", "Pager Channel", "COP_Edit_PagerChannel",
                            O(0x1D10), 2, 0, 10, 0, kHighestChannel);
        row.defaultValue = kNoPagerChannel;
        row.blankRaw = kNoPagerChannel;
        return row;
    }(),
    Channel("options.goto_a", "Goto A", "COP_Edit_GotoA", O(0x1D1A)),
    Channel("options.goto_b", "Goto B", "COP_Edit_GotoB", O(0x1D1C)),
    Channel("options.goto_c", "Goto C", "COP_Edit_GotoC", O(0x1D1E)),
    Channel("options.goto_d", "Goto D", "COP_Edit_GotoD", O(0x1D20)),
    Flag("options.dont_display_chan_number", "Do not Display Chan Number ",
         "COP_CBox_DontDisplayChanNumber", O(0x1D24), 0),
    InverseFlag("options.reversion", "Channel Reversion", "COP_CBox_Reversion", O(0x1D24), 2),
    InverseFlag("options.redefinition", "Channel Redefinition", "COP_CBox_Redefinition", O(0x1D24),
                3),
    // On channel change.
    Flag("options.change_mute_audio", "Mute Audio", "COP_CBox_MuteOpen", O(0x1D14), 7),
    Flag("options.change_mute_ctcss", "Mute CTCSS", "COP_CBox_MuteCTCSS", O(0x1D14), 6),
    Flag("options.change_mute_selcall", "Mute Selcall", "COP_CBox_MuteSelcall", O(0x1D14), 5),
    Flag("options.change_clear_on_call", "Clear ON-CALL indicator", "COP_CBox_ClearOnCall",
         O(0x1D14), 3),
    Flag("options.change_timed_reset", "Do Timed Reset Actions", "COP_CBox_TimedReset", O(0x1D14),
         2),
    Flag("options.change_remove_queued", "Remove Queued Encodes", "COP_CBox_RemoveQueuedSC",
         O(0x1D14), 1),
    Flag("options.reverse_tone_burst", "Reverse Tone Burst", "COP_CBox_RTB", O(0x1D53), 0),
    List(Word("options.repeater_defeat", "Repeater Defeat", "COP_Combo_RepeaterDefeat", O(0x1D2C),
              0, 0),
         kRepeaterDefeatChoices),
    [] {
        FieldRow row = Bits("options.repeater_tail", "Repeater Tail (mS)", "COP_Edit_RepeaterTail",
                            O(0x1D12), 1, 0, 7, 0, 10000);
        row.scale = {.mul = 100};
        return row;
    }(),
    List(Word("options.high_power", "Tx High Pwr", "COP_Combo_TxHighPwr", O(0x1D2E), 0, 0),
         kMobilePowerChoices),
    List(Bits("options.medium_power", "Tx Medium Pwr", "COP_Combo_TxMediumPwr", O(0x1D0E), 1, 4, 4),
         kMobilePowerChoices),
    Derived(Bits("options.medium_power_low_bits", "Tx Medium Pwr low bits (written 0)", "",
                 O(0x1D0E), 1, 0, 4)),
    Derived(Byte("options.medium_power_pad", "Byte after Tx Medium Pwr (written 0)", "", O(0x1D0F),
                 0, 0)),
    List(Word("options.low_power", "Tx Low Pwr", "COP_Combo_TxLowPwr", O(0x1D30), 0, 0),
         std::span(kMobilePowerChoices).first(kMobileLowPowerLevels)),
    Flag("options.disable_repeater_defeat", "Disable Defeat on Vote Groups",
         "COP_CBox_DisableRptrDefeat", O(0x1D46), 3),

    // Scan.
    Word("options.scan_restart", "Scan Restart Time (sec)", "SCN_MEdit_RestartTime", S(0x1D26), 0,
         255),
    Word("options.priority_interval", "Priority Interval (mS)", "SCN_Edit_PriorityInterval",
         S(0x1D28), 0, 10000, 0, {.mul = 100}, 0xFFFF),
    Word("options.out_of_cradle_alert", "Out-of-Cradle Alert (sec)", "SCN_Edit_OutOfCradleAlert",
         S(0x1D2A), 0, 300, 0, {.div = 10}, 0xFFFF),
    Byte("options.skip_time", "Skip Time (sec)", "SCN_Edit_ScanSkipTime", S(0x1D37), 0, 255),
    List(Word("options.scan_threshold", "Scan Threshold", "SCN_Combo_ScanThreshold", S(0x1D38), 0,
              0),
         kScanThresholdChoices),
    List(Bits("options.scan_tx_channel", "Tx Channel while Scanning", "SCN_Combo_ScanningTxChan",
              S(0x1D36), 1, 0, 3),
         kScanTxChannelChoices),
    Flag("options.pause_scan_off_hook", "Pause Scanning when Off-Hook", "SCN_CBox_TxChanOffHook",
         S(0x1D36), 3),
    Channel("options.dual_watch_channel", "Dual-Watch Channel", "SCN_Edit_DWChannel", S(0x1D32)),
    Byte("options.dual_watch_interval", "Interval (mS)", "SCN_Edit_DWInterval", S(0x1D34), 100,
         25500, 500, {.mul = 100}),
    Byte("options.dual_watch_pause", "Pause Time (mS)", "SCN_Edit_DWPauseTime", S(0x1D35), 1000,
         10000, 2000, {.mul = 100}),

    // Vote/Multiax.
    Flag("options.vote_without_ctcss", "Vote without CTCSS", "VMX_CBox_VoteNoCTCSS", V(0x1D46), 0),
    Flag("options.display_vote_channel", "Display Vote/Multiax Channel",
         "VMX_CBox_DisplayVoteIndex", V(0x1D46), 1),
    Flag("options.stop_vote_off_cradle", "Stop Voting while Mic off cradle",
         "VMX_CBox_StopVoteOffCradle", V(0x1D46), 2),
    Word("options.vote_let", "LET (mSec)", "VMX_Edit_LET", V(0x1D3C), 0, 2550),
    Word("options.mute_level", "Mute Level", "VMX_Edit_MuteLevel", V(0x1D40), 1, 15, 8),
    List(Word("options.fast_vote", "Fast Vote Threshold", "VMX_Combo_FastVote", V(0x1D42), 0, 0),
         kFastVoteChoices),
    Word("options.revote_dwell", "Re-Vote Dwell Time (mS)", "VMX_Edit_RevoteDwell", V(0x1D3E), 10,
         300000, 10, {.mul = 10}),
    List(Word("options.forced_revote", "Forced Revote Time (min)", "VMX_Combo_ForcedRevoteTime",
              V(0x1D3A), 0, 0, 0, {.div = 60}),
         kForcedRevoteChoices),
    Word("options.out_of_area_alarm", "Out of Area Alarm (sec)", "VMX_Edit_OutOfAreaAlarm",
         V(0x1D44), 0, 2550),

    // Microphone.
    Word("options.tx_limit", "Tx Limit Timer (sec)", "MIC_Edit_TxLimitTimer", M(0x1D48), 0, 255),
    Word("options.re_tx_limit", "Re-PTT Limit Timer (sec)", "MIC_Edit_ReTxLimitTimer", M(0x1D4A), 0,
         255),
    Word("options.conversation", "Conversation Timer (sec)", "MIC_Edit_ConversationTimer",
         M(0x1D4C), 0, 255),
    Word("options.re_conversation", "Re-Conversation Timer (sec)", "MIC_Edit_ReConversationTimer",
         M(0x1D4E), 0, 255),
    Flag("options.busy_channel_lockout", "Busy Channel-Lockout", "MIC_CBox_TransmitInhibit",
         M(0x1D52), 1),
    Flag("options.tx_limit_beeps", "Tx Limit Beeps", "MIC_CBox_TxLimitBeeps", M(0x1D52), 2),
    Flag("options.ptt_on_grant_tone", "Grant Tone", "MIC_CBox_PON_GrantTone", M(0x1D54), 0),
    Flag("options.ptt_on_unmute_selcall", "Unmute Selcall", "MIC_CBox_PON_UnMuteSelcall", M(0x1D54),
         2),
    Encode("options.ptt_on_encode", "Send Encode", "MIC_Edit_PON_PreANI", M(0x1D55)),
    // A stored word below 64 (a hold-off of 0) shows empty.
    HoldOff("options.ptt_on_holdoff", "Hold-Off (Sec)", "MIC_Edit_PON_Holdoff", M(0x1F28), 0),
    Encode("options.ptt_off_encode", "Send Encode", "MIC_Edit_POF_PostANI", M(0x1D57)),
    HoldOff("options.ptt_off_holdoff", "Hold-Off (Sec)", "MIC_Edit_POF_Holdoff", M(0x1F2C),
            fields::kNoBlank),
    Flag("options.in_cradle_mute_ctcss", "Mute CTCSS", "MIC_CBox_MIC_MuteCTCSS", M(0x1D58), 5),
    Flag("options.in_cradle_mute_selcall", "Mute Selcall", "MIC_CBox_MIC_MuteSelcall", M(0x1D58),
         4),
    Flag("options.in_cradle_clear_on_call", "Clear ON-CALL indicator", "MIC_CBox_MIC_ClearOnCall",
         M(0x1D58), 2),
    Flag("options.in_cradle_timed_reset", "Start Timed Reset", "MIC_CBox_MIC_EnableTimedRst",
         M(0x1D58), 3),
    Encode("options.in_cradle_encode", "Send Encode", "MIC_Edit_MIC_SendANI", M(0x1D59)),
    Flag("options.out_of_cradle_unmute_ctcss", "Unmute CTCSS", "MIC_CBox_MOC_UnMuteCTCSS",
         M(0x1D5A), 4),
    Flag("options.out_of_cradle_unmute_selcall", "Unmute Selcall", "MIC_CBox_MOC_UnMuteSelcall",
         M(0x1D5A), 3),
    Flag("options.out_of_cradle_set_on_call", "Set ON-CALL indicator", "MIC_CBox_MOC_SetOnCall",
         M(0x1D5A), 1),
    Flag("options.out_of_cradle_mute_speaker", "Mute External Speaker",
         "MIC_CBox_MOC_MuteExternalSpkr", M(0x1D5A), 0),
    Encode("options.out_of_cradle_encode", "Send Encode", "MIC_Edit_MOC_SendANI", M(0x1D5B)),

    // DTMF/Econ.
    Flag("options.dtmf_side_tone", "Side Tone", "DTMF_CBox_SideTone", T(0x1D5C), 0),
    Flag("options.dtmf_on", "DTMF On after Programming", "DTMF_CBox_DtmfOn", T(0x1D5C), 2),
    Word("options.dtmf_tone_period", "Tone Period (ms)", "DTMF_Edit_TonePeriod", T(0x1D5E), 0, 2550,
         0, {.mul = 10}),
    Word("options.dtmf_inter_tone_period", "Inter-Tone Period (ms)", "DTMF_Edit_InterTonePeriod",
         T(0x1D60), 0, 2550, 0, {.mul = 10}),
    Word("options.dtmf_let", "LET (ms)", "DTMF_Edit_LET", T(0x1D62), 0, 10000, 0, {.mul = 10}),
    Word("options.dtmf_hang_time", "Tx Hang Time (ms)", "DTMF_Edit_Holdover", T(0x1E54), 0, 10000,
         0, {.mul = 10}),
    Word("options.econ_awake", "Awake Time (mS)", "DTMF_Edit_EconAwake", T(0x1DDC), 50, 9999, 70),
    Word("options.econ_sleep", "Sleep Time (mS)", "DTMF_Edit_EconSleep", T(0x1DDE), 0, 9999, 800),
    Word("options.econ_pause", "Pause Time (mS)", "DTMF_Edit_EconPause", T(0x1DE0), 0, 9999, 2000),

    // Data/GPS.
    Word("options.own_data_address", "Own Data Address", "DATA_Edit_OwnDataAddr", D(0x1E56), 1,
         65000, 1),
    Word("options.group_data_address", "Group Data Address", "DATA_Edit_GrpDataAddr", D(0x1E58),
         65501, 65516, 65501),
    Word("options.base_address", "Base Address", "DATA_Edit_BaseAddr", D(0x1E5A), 1, 65000, 1),
    Word("options.dispatcher_address", "Dispatcher Address", "DATA_Edit_DispatchAddr", D(0x1E5C), 1,
         65000, 1),
    Flag("options.ffsk_ani", "FFSK ANI", "DATA_CBox_FFSKANI", D(0x1E62), 0),
    Flag("options.gps_reporting", "GPS Reporting", "DATA_CBox_GPSReport", D(0x1E62), 1),
    Flag("options.job_numbering", "Job Numbering", "DATA_CBox_JobNumbering", D(0x1E62), 2),
    Flag("options.mute_during_ffsk", "Mute Speaker during FFSK", "DATA_CBox_MuteRx", D(0x1E62), 3,
         1),
    List(Bits("options.ffsk_message_queue", "FFSK Message Queuing", "DATA_Combo_FFSKMsgQue",
              D(0x1E62), 1, 4, 2),
         kMessageQueueChoices),
    Flag("options.delete_job_after_reply", "Delete Job after Reply", "DATA_CBox_DelJobAfterReply",
         D(0x1E62), 6),
    Flag("options.immediate_message_display", "Immediate Message Display",
         "DATA_CBox_ImmediateMsgDsply", D(0x1E62), 7),
    Flag("options.ffsk_ani_lid", "Use LID for FFSK ANI", "DATA_CBox_FfskAniLid", D(0x1D24), 4),
    Flag("options.ffsk_status_messages", "FFSK Status Messaging", "DATA_CBox_FfskStatusMsg",
         D(0x1D24), 6),
    List(Bits("options.ffsk_data_rate", "FFSK Data Rate", "DATA_Combo_FFSKDataRate", D(0x1D25), 1,
              0, 1),
         kDataRateChoices),
    Flag("options.ffsk_reversals_during_lid", "Tx Reversals during LID",
         "DATA_CBox_FfskRevsDuringLID", D(0x1D25), 1),
    Word("options.ffsk_lead_in_delay", "FFSK Lead-In Delay (ms)", "DATA_Edit_FFSKLID", D(0x1E5E), 1,
         9999, 1),
    List(Word("options.retry_time", "Maximum Retry Time (ms)", "DATA_Combo_RetryTime", D(0x1E60), 0,
              0),
         kRetryTimeChoices),
    Byte("options.retries", "Number of Retries", "DATA_Edit_NumRetries", D(0x1E63), 0, 255),
    List(Word("options.data_ctcss", "Data CTCSS", "DATA_Combo_DataCTCSS", D(0x1E64), 0, 0),
         kDataCtcssChoices),
    Word("options.gps_time_interval", "Time Based (sec)", "DATA_Edit_TimeBased", D(0x0134), 0,
         50000),
    Word("options.gps_distance", "Distance Based", "DATA_Edit_DistanceBased", D(0x0136), 0, 50000),
    Flag("options.ignition_sense_gps", "Ignition Sense GPS", "DATA_CBox_IgnitionSense", D(0x1D5C),
         3),
};

constexpr std::array<FieldRow, std::size(kPlainRows) + 2 * kDtmf1Rows.size()> AllRows() {
    std::array<FieldRow, std::size(kPlainRows) + 2 * kDtmf1Rows.size()> rows{};
    std::size_t n = 0;
    for (const FieldRow& row : kPlainRows) {
        rows[n++] = row;
    }
    for (const auto* sequence : {&kDtmf1Rows, &kDtmf2Rows}) {
        for (const FieldRow& row : *sequence) {
            rows[n++] = row;
        }
    }
    return rows;
}
inline constexpr auto kRows = AllRows();
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

// The row of `id`; a compile error in a constant expression (std::out_of_range at run time) when
// no row has it.
constexpr const FieldRow& Row(std::string_view id) {
    return fields::RowById(kRows, id);
}

inline constexpr const FieldRow& kPowerOnMode = Row("options.power_on_mode");
inline constexpr const FieldRow& kPowerOnChannel = Row("options.power_on_channel");
inline constexpr const FieldRow& kPowerOnZone = Row("options.power_on_zone");
inline constexpr const FieldRow& kGotoA = Row("options.goto_a");
inline constexpr const FieldRow& kGotoB = Row("options.goto_b");
inline constexpr const FieldRow& kGotoC = Row("options.goto_c");
inline constexpr const FieldRow& kGotoD = Row("options.goto_d");
inline constexpr const FieldRow& kDualWatchChannel = Row("options.dual_watch_channel");
inline constexpr const FieldRow& kHighPower = Row("options.high_power");
inline constexpr const FieldRow& kMediumPower = Row("options.medium_power");
inline constexpr const FieldRow& kMediumPowerLowBits = Row("options.medium_power_low_bits");
inline constexpr const FieldRow& kMediumPowerPad = Row("options.medium_power_pad");
inline constexpr const FieldRow& kLowPower = Row("options.low_power");
inline constexpr const FieldRow& kFfskStatusMessages = Row("options.ffsk_status_messages");
inline constexpr const FieldRow& kEconAwake = Row("options.econ_awake");
inline constexpr const FieldRow& kEconSleep = Row("options.econ_sleep");
inline constexpr const FieldRow& kEconPause = Row("options.econ_pause");

inline constexpr fields::FieldTable kTable = {
    .id = "options", .form = "Channel Options", .area = fields::Area::Image, .rows = kRows};

}  // namespace km::pmr::options_rows
