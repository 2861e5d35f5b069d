#pragma once
// The selcall sequences of a PmrJobImage: up to 250 encodes (sequences the radio sends, numbered
// 1..250) and exactly 8 decodes (sequences it recognises, with the actions it takes), as the
// Encode/Decode form and its two dialogs edit them. A sequence is a mask of up to 20 tones; each
// tone is one byte of its record (`SelcallToneByte`) holding a digit or a special character, the
// tone duration to use and, for encodes, the toneset.
//
// An entry of the form's lists keeps its whole 32-byte record, read and written through the
// record's columns, so the dialogs bind their controls to the same rows as the dump. Only the
// number (the record's place) and a decode's name live beside it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"
#include "pmr/ChannelRows.h"

namespace km::pmr {

inline constexpr std::size_t kDecodeRecords = 0x29E4;
inline constexpr std::size_t kDecodeNames = 0x1DF4;
inline constexpr std::size_t kHighestEncodeCopy = 0x29DA;
inline constexpr std::size_t kSequenceRecordSize = 32;
inline constexpr std::size_t kDecodeNameWidth = 12;
inline constexpr int kDecodeCapacity = 8;
inline constexpr int kMaxTones = 20;
inline constexpr std::size_t kFirstToneByte = 12;
// Images stored by programs up to this version keep one third tone reset for all decodes.
inline constexpr std::uint16_t kLastSharedThirdToneResetVersion = 3260;

inline constexpr std::string_view kEncodeDecodeFormCaption = "Selcall 2";
inline constexpr std::string_view kDecodesTab = "Decodes";
inline constexpr std::string_view kEncodesTab = "Encodes";

using SequenceRecord = std::array<std::uint8_t, kSequenceRecordSize>;

enum class SequenceKind { Encode, Decode };

namespace sequence_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;

// The mask character of a special tone's code; none for codes that have none.
constexpr char SpecialCharacter(int code) {
    switch (code) {
        case 0:
            return '#';
        case 1:
            return '*';
        case 2:
            return 'I';
        case 3:
            return 'K';
        case 15:
            return '-';
        default:
            return '\0';
    }
}

inline constexpr std::string_view kToneIds[kMaxTones] = {
    "tone1",  "tone2",  "tone3",  "tone4",  "tone5",  "tone6",  "tone7",
    "tone8",  "tone9",  "tone10", "tone11", "tone12", "tone13", "tone14",
    "tone15", "tone16", "tone17", "tone18", "tone19", "tone20"};
inline constexpr std::string_view kToneCaptions[kMaxTones] = {
    "Tone 1",  "Tone 2",  "Tone 3",  "Tone 4",  "Tone 5",  "Tone 6",  "Tone 7",
    "Tone 8",  "Tone 9",  "Tone 10", "Tone 11", "Tone 12", "Tone 13", "Tone 14",
    "Tone 15", "Tone 16", "Tone 17", "Tone 18", "Tone 19", "Tone 20"};

inline constexpr Choice kEncodeMuteChoices[] = {{0, "No Change"}, {1, "Open"}, {2, "Close"}};
inline constexpr Choice kQueuingChoices[] = {{0, "No Queuing"},
                                             {1, "Queue on Busy"},
                                             {2, "Inhibit on Busy"},
                                             {3, "Queue on Carrier"},
                                             {4, "Inhibit on Carrier"}};
inline constexpr Choice kIgnoreChoices[] = {{0, "Dont Ignore"}, {1, "1 Second"},  {2, "2 Seconds"},
                                            {3, "3 Seconds"},   {4, "4 Seconds"}, {5, "5 Seconds"},
                                            {6, "6 Seconds"},   {7, "7 Seconds"}};
inline constexpr Choice kAckDecodeChoices[] = {{0, "Decode 1"}, {1, "Decode 2"}, {2, "Decode 3"},
                                               {3, "Decode 4"}, {4, "Decode 5"}, {5, "Decode 6"},
                                               {6, "Decode 7"}, {7, "Decode 8"}};
inline constexpr Choice kEncodePttChoices[] = {
    {0, "No Change"}, {1, "Override Tx Lockout"}, {2, "Disabled"}};
inline constexpr Choice kDecodeMuteChoices[] = {{0, "No Change"}, {1, "Open"}, {2, "Closed"}};
inline constexpr Choice kCalledIconChoices[] = {
    {0, "No Change"}, {1, "Set"}, {2, "Cleared"}, {3, "Flashing"}};
inline constexpr Choice kDecodePttChoices[] = {{0, "No Change"}, {1, "Disabled"}, {2, "Enabled"}};
inline constexpr Choice kAlertActionChoices[] = {{0, "Start"}, {1, "Stop"}, {2, "No"}};
inline constexpr Choice kAlertToneChoices[] = {
    {0, "Ring"}, {1, "Bip"}, {2, "2 X Bip"}, {3, "Beep"}, {4, "Urgent"}};
inline constexpr Choice kExtAlertChoices[] = {{0, "No"}, {1, "Start"}, {2, "Stop"}};
inline constexpr Choice kStoredCallsChoices[] = {
    {0, "No Stored Calls"}, {1, "Store on Alert Timeout"}, {2, "Store All Calls"}};
inline constexpr Choice kFunctionChoices[] = {{0, "No Change"}, {1, "Stunned"}, {2, "Revived"}};
inline constexpr std::int64_t kAlertStart = 0;
inline constexpr std::int64_t kExtAlertStart = 1;
inline constexpr std::int64_t kEncodeDefined = 1;  // byte 1 bits 6-7

// Bits of a byte, or of a low-byte-first word (`width` 2).
constexpr FieldRow Bits(std::string_view id, std::string_view caption, std::string_view control,
                        std::string_view tab, int byte, int width, int shift, int count,
                        std::span<const Choice> choices = {}, std::int64_t max = 0,
                        bool derived = false) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = tab,
            .at = {.pmr = byte},
            .encoding = Encoding::Bits,
            .width = static_cast<std::uint16_t>(width),
            .bitShift = static_cast<std::uint8_t>(shift),
            .bitCount = static_cast<std::uint8_t>(count),
            .max = max,
            .choices = choices,
            .derived = derived};
}

// The columns of a kind of record, then its 20 tone bytes (`SelcallToneByte`: the digit or special
// code in bits 0-3, the toneset in bit 4, special in bit 5, the duration in bits 6-7).
template <std::size_t N>
constexpr std::array<FieldRow, N + kMaxTones> WithTones(const FieldRow (&columns)[N],
                                                        std::string_view tab) {
    std::array<FieldRow, N + kMaxTones> rows{};
    for (std::size_t i = 0; i < N; ++i) {
        rows[i] = columns[i];
    }
    for (std::size_t t = 0; t < kMaxTones; ++t) {
        rows[N + t] = {.id = kToneIds[t],
                       .caption = kToneCaptions[t],
                       .tab = tab,
                       .at = {.pmr = static_cast<std::int32_t>(kFirstToneByte + t)}};
    }
    return rows;
}

inline constexpr FieldRow kEncodeFields[] = {
    Bits("tone_count", "Number of tones", "", kEncodesTab, 0, 1, 0, 5, {}, kMaxTones, true),
    Bits("mute", "Selcall Mute", "EDENC_Combo_SCMuteAction", kEncodesTab, 0, 1, 5, 3,
         kEncodeMuteChoices),
    Bits("queuing", "Queuing", "EDENC_Combo_OnCarrier", kEncodesTab, 1, 1, 0, 3, kQueuingChoices),
    Bits("ignore_decodes", "Ignore Decodes", "EDENC_Combo_IgnoreDecodes", kEncodesTab, 1, 1, 3, 3,
         kIgnoreChoices),
    Bits("defined", "Encode defined", "", kEncodesTab, 1, 1, 6, 2, {}, 0, true),
    Bits("resend_interval", "Re-send after", "EDENC_Edit_ResendDelay", kEncodesTab, 2, 2, 0, 6),
    Bits("max_resends", "Maximum Re-sends", "EDENC_Edit_MaxResends", kEncodesTab, 2, 2, 6, 6),
    Bits("ack_decode", "Acknowledge Decode", "EDENC_Combo_AckDecode", kEncodesTab, 2, 2, 12, 3,
         kAckDecodeChoices),
    // 0 (none) shows as an empty field.
    {.id = "append_encode",
     .caption = "Append Encode",
     .control = "EDENC_Edit_AppendEncode",
     .tab = kEncodesTab,
     .at = {.pmr = 4},
     .max = kMaxEncode,
     .blankRaw = 0},
    {.id = "lead_out_delay",
     .caption = "LeadOut Delay",
     .control = "EDENC_Edit_LeadOutDelay",
     .tab = kEncodesTab,
     .at = {.pmr = 6},
     .max = 2550,
     .scale = {.mul = 10, .unit = "ms"}},
    {.id = "link_establish_time",
     .caption = "Link Establish Time",
     .control = "EDENC_Edit_LET",
     .tab = kEncodesTab,
     .at = {.pmr = 7},
     .max = 2550,
     .scale = {.mul = 10, .unit = "ms"}},
    Bits("user_ptt", "User PTT", "EDENC_Combo_UserPTT", kEncodesTab, 8, 1, 0, 2, kEncodePttChoices),
    Bits("start_timed_reset", "Start Timed Reset", "EDENC_CBox_StartTimedReset", kEncodesTab, 8, 1,
         2, 1),
};
inline constexpr auto kEncodeColumns = WithTones(kEncodeFields, kEncodesTab);
static_assert(fields::RowsValid(kEncodeColumns, fields::ImageId::Pmr, kSequenceRecordSize));

inline constexpr FieldRow kDecodeFields[] = {
    Bits("tone_count", "Number of tones", "", kDecodesTab, 0, 2, 0, 5, {}, kMaxTones, true),
    Bits("longest_tone", "Longest tone duration", "", kDecodesTab, 0, 2, 5, 2, {}, 0, true),
    Bits("mute", "Selcall Mute", "EDDEC_Combo_SCMuteAction", kDecodesTab, 0, 2, 7, 3,
         kDecodeMuteChoices),
    Bits("called_icon", "CALLED Icon", "EDDEC_Combo_CalledIcon", kDecodesTab, 0, 2, 10, 3,
         kCalledIconChoices),
    Bits("user_ptt", "User PTT", "EDDEC_Combo_PTTAction", kDecodesTab, 0, 2, 13, 3,
         kDecodePttChoices),
    Bits("alert_action", "Alert", "EDDEC_Combo_AlertAction", kDecodesTab, 2, 2, 0, 2,
         kAlertActionChoices),
    Bits("alert_tone", "Alert Tone", "EDDEC_Combo_AlertTone", kDecodesTab, 2, 2, 2, 3,
         kAlertToneChoices),
    Bits("start_timed_reset", "Start Timed Reset", "EDDEC_CBox_TriggerTimedRst", kDecodesTab, 2, 2,
         5, 1),
    Bits("alert_time", "Alert Time", "EDDEC_Edit_AlertTime", kDecodesTab, 2, 2, 6, 10, {}, 1023),
    Bits("external_alert", "External Alert for", "EDDEC_Combo_ExtAlertAction", kDecodesTab, 4, 2, 0,
         2, kExtAlertChoices),
    Bits("external_alert_time", "External Alert Time", "EDDEC_Edit_ExtAlertTime", kDecodesTab, 4, 2,
         6, 10, {}, 255),
    Bits("stored_calls", "Stored Calls", "EDDEC_Combo_CallInAbsence", kDecodesTab, 6, 2, 0, 2,
         kStoredCallsChoices),
    Bits("third_tone_reset", "Third Tone Reset", "EDDEC_CBox_ThirdToneReset", kDecodesTab, 6, 2, 5,
         1),
    Bits("external_alert_delay", "External Alert Delay", "EDDEC_Edit_ExtAlertDelay", kDecodesTab, 6,
         2, 6, 10, {}, 255),
    {.id = "ack_encode",
     .caption = "Acknowledge with Selcall Encode",
     .control = "EDDEC_Edit_AckEncode",
     .tab = kDecodesTab,
     .at = {.pmr = 8},
     .max = kMaxEncode},
    Bits("ack_reset_tone", "Ack Trailing Reset Tone", "EDDEC_CBox_ResetAck", kDecodesTab, 9, 1, 0,
         1),
    Bits("function", "Function", "EDDEC_Combo_StunAction", kDecodesTab, 10, 2, 0, 3,
         kFunctionChoices),
    Bits("ack_encode_delay", "Acknowledge Encode Delay", "EDDEC_Edit_AckEncodeDelay", kDecodesTab,
         10, 2, 6, 10, {}, 255),
};
inline constexpr auto kDecodeColumns = WithTones(kDecodeFields, kDecodesTab);
static_assert(fields::RowsValid(kDecodeColumns, fields::ImageId::Pmr, kSequenceRecordSize));

inline constexpr FieldRow kDecodeNameColumns[] = {
    {.id = "name",
     .caption = "Decode Name",
     .control = "EDDEC_Edit_DecodeName",
     .tab = kDecodesTab,
     .at = {.pmr = 0},
     .encoding = Encoding::Text,
     .width = kDecodeNameWidth},
};

constexpr const FieldRow& Column(std::span<const FieldRow> columns, std::string_view id) {
    return fields::RowById(columns, id);
}
inline constexpr const FieldRow& kEncodeToneCount = Column(kEncodeColumns, "tone_count");
inline constexpr const FieldRow& kEncodeDefinedColumn = Column(kEncodeColumns, "defined");
inline constexpr const FieldRow& kEncodeMute = Column(kEncodeColumns, "mute");
inline constexpr const FieldRow& kQueuing = Column(kEncodeColumns, "queuing");
inline constexpr const FieldRow& kResendInterval = Column(kEncodeColumns, "resend_interval");
inline constexpr const FieldRow& kAckDecode = Column(kEncodeColumns, "ack_decode");
inline constexpr const FieldRow& kAppendEncode = Column(kEncodeColumns, "append_encode");
inline constexpr const FieldRow& kLeadOutDelay = Column(kEncodeColumns, "lead_out_delay");
inline constexpr const FieldRow& kLinkEstablishTime = Column(kEncodeColumns, "link_establish_time");
inline constexpr const FieldRow& kDecodeToneCount = Column(kDecodeColumns, "tone_count");
inline constexpr const FieldRow& kLongestTone = Column(kDecodeColumns, "longest_tone");
inline constexpr const FieldRow& kDecodeMute = Column(kDecodeColumns, "mute");
inline constexpr const FieldRow& kCalledIcon = Column(kDecodeColumns, "called_icon");
inline constexpr const FieldRow& kDecodePtt = Column(kDecodeColumns, "user_ptt");
inline constexpr const FieldRow& kAlertAction = Column(kDecodeColumns, "alert_action");
inline constexpr const FieldRow& kDecodeTimedReset = Column(kDecodeColumns, "start_timed_reset");
inline constexpr const FieldRow& kExternalAlert = Column(kDecodeColumns, "external_alert");
inline constexpr const FieldRow& kDecodeThirdToneReset = Column(kDecodeColumns, "third_tone_reset");
inline constexpr const FieldRow& kAckEncode = Column(kDecodeColumns, "ack_encode");
inline constexpr const FieldRow& kAckResetTone = Column(kDecodeColumns, "ack_reset_tone");
inline constexpr const FieldRow& kFunction = Column(kDecodeColumns, "function");
inline constexpr const FieldRow& kDecodeName = kDecodeNameColumns[0];

inline constexpr FieldRow kRows[] = {
    // Read by the radio preparation as the number of encodes to send.
    {.id = "selcall2.encode_count",
     .caption = "Highest encode number",
     .at = {.pmr = static_cast<std::int32_t>(pmr::kEncodeCount)},
     .encoding = Encoding::U16,
     .max = kMaxEncode,
     .derived = true},
    {.id = "selcall2.highest_encode",
     .caption = "Highest encode number (second copy)",
     .at = {.pmr = static_cast<std::int32_t>(kHighestEncodeCopy)},
     .encoding = Encoding::U16,
     .max = kMaxEncode,
     .derived = true},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));
inline constexpr const FieldRow& kEncodeCountRow = kRows[0];
inline constexpr const FieldRow& kHighestEncodeRow = kRows[1];

inline constexpr fields::RecordTable kRecords[] = {
    {.id = "selcall2.encodes",
     .base = {.pmr = static_cast<std::int32_t>(kEncodeRecords)},
     .stride = kSequenceRecordSize,
     .capacity = kMaxEncode,
     .countField = "selcall2.encode_count",
     .columns = kEncodeColumns},
    {.id = "selcall2.decodes",
     .base = {.pmr = static_cast<std::int32_t>(kDecodeRecords)},
     .stride = kSequenceRecordSize,
     .capacity = kDecodeCapacity,
     .columns = kDecodeColumns},
    {.id = "selcall2.decode_names",
     .base = {.pmr = static_cast<std::int32_t>(kDecodeNames)},
     .stride = kDecodeNameWidth,
     .capacity = kDecodeCapacity,
     .columns = kDecodeNameColumns},
};
static_assert(fields::RecordsValid(kRecords[0], fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kRecords[1], fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kRecords[2], fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "selcall2",
                                              .form = kEncodeDecodeFormCaption,
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

}  // namespace sequence_rows

// ---- Entries ----

struct EncodeEntry {
    int number = 1;
    SequenceRecord record{};
};

struct DecodeEntry {
    int number = 1;
    SequenceRecord record{};
    std::string name;  // UTF-8
};

// A column of a record.
std::int64_t ColumnValue(const SequenceRecord& record, const fields::FieldRow& column);
void SetColumn(SequenceRecord& record, const fields::FieldRow& column, std::int64_t value);

// The three strings of a sequence: one character a tone. Durations are "0".."3"; tonesets "1" or
// "2" (encodes only).
struct ToneStrings {
    std::string mask;
    std::string durations;
    std::string tonesets;
    friend bool operator==(const ToneStrings&, const ToneStrings&) = default;
};

// The strings of a record's tones: as many as its count says, at most 20; a special code no mask
// character has ends the mask.
ToneStrings TonesOf(const SequenceRecord& record, SequenceKind kind);
// Writes the tones of the strings: mask characters in order, at most 20, until one that is no
// tone (decodes have no "K"; lower case is taken as upper case); a duration character "0".."3"
// (else 0) and a toneset character "2" (else toneset 1, and always for decodes) at the same place.
// The count becomes the number of tones; bytes after the last tone are 0.
void SetTones(SequenceRecord& record, const ToneStrings& tones, SequenceKind kind);

// A dialog read back: every mask place gets a duration (and for encodes a toneset) character,
// the last one seen where the typed string is shorter (at the start the first, or "0" and "1"
// when the string is empty); characters beyond the mask are dropped.
ToneStrings FilledTones(const ToneStrings& typed, SequenceKind kind);

// ---- Load and store ----

// Encodes 1..250 whose record says they are defined, in number order; tone counts above 20 are
// read as 20.
std::vector<EncodeEntry> LoadEncodes(const PmrJobImage& image);
// The eight decodes with their names. Their third tone reset: a decode's own bit for images of
// programs after version 3260, otherwise the radio-wide bit for every decode.
std::vector<DecodeEntry> LoadDecodes(const PmrJobImage& image);

// Rewrites the encode area from the entries: every record zeroed, each entry numbered 1..250
// written as defined; the highest number stored goes into both encode count words (left as they
// were when no entry is stored). Entries numbered otherwise are not stored.
void StoreEncodes(std::span<const EncodeEntry> entries, PmrJobImage& image);
// Rewrites the eight decode records and names (entry i is decode i + 1), with each decode's
// longest-tone duration index from the tone durations in the image, and sets the radio's third
// tone reset when any decode has it.
void StoreDecodes(std::span<const DecodeEntry> entries, PmrJobImage& image);

// The duration index bits 5-6 of a decode hold: over the tones after the first ("-" places left
// out) the largest of their tone durations, and the first index whose duration equals it.
int LongestToneIndex(const ToneStrings& tones, const std::array<std::uint16_t, 4>& durationsMs);

// ---- List lines ----

inline constexpr std::string_view kEncodeHeading =
    " #     Mask                      LET  LOD   Mute      Queuing   Rsnd/AckD +Enc  ";
inline constexpr std::string_view kDecodeHeading =
    " #   Mask                    Alert ExtAlrt ScMute Icon  PTT     Ack Func  TRst  ";
std::string EncodeLine(const EncodeEntry& entry);
std::string DecodeLine(const DecodeEntry& entry);

// The number an added encode proposes after the last of `sorted`: one more, or 0 when the last is
// above 249 (the dialog refuses 0, so the user chooses a free number).
int ProposedEncodeNumber(std::span<const EncodeEntry> sorted);

// ---- Dialog rules ----

inline constexpr std::string_view kDuplicateEncodeText =
    "Duplicate Encode Numbers are not allowed.";
inline constexpr std::string_view kAppendToItselfText = "Cannot append encode to itself. ";
inline constexpr std::string_view kAckResetToneText =
    "Cannot enable 'Ack Trailing Reset Tone',                      \n"
    "if 'Acknowledge Encode' has not been defined.";
inline constexpr std::string_view kStatusDigitsLimitText =
    "Maximum number of Status Digits is %d.                           \n"
    "Maximum is specified on the Selcall\\MoreOptions page.";
inline constexpr std::string_view kVariableDigitsLimitText =
    "Maximum number of Variable Digits is %d.                           \n"
    "Maximum is specified on the Selcall\\MoreOptions page.";
inline constexpr std::string_view kOwnIdDigitsLimitText =
    "Maximum number of Own ID Digits is %d.                           \n"
    "Maximum is specified on the Selcall\\Options page.";
inline constexpr std::string_view kKDigitsLimitText =
    "Maximum number of K Digits is %d.                           \n"
    "Maximum is specified on the Selcall\\Options page.";
inline constexpr std::string_view kDurationUndefinedText =
    "Tone duration %d is undefined.                               \n"
    "Tone durations are specified on the selcall options page";
inline constexpr std::string_view kDecodeDurationTooLongText =
    "Tone Duration %d is greater than 4000mS.                            \n"
    "Decode Tone durations must be less than 4000mS.                           \n"
    "\n"
    "Tone durations are specified on the selcall options page.";

// What the Selcall form says at the moment a dialog uses it (not yet stored edits count).
struct SelcallSettings {
    std::string ownIdentity;
    std::array<std::string, 3> tonesetNames;  // encode 1, encode 2, decode
    std::array<std::string, 4> durations;     // the duration fields' texts, ms
    int variableDigits = 0;
    int statusDigits = 0;
};
// The same read from the image, for a job whose Selcall form is not open.
SelcallSettings SelcallSettingsOf(const PmrJobImage& image);

// A key typed into a dialog field: the character taken (upper case), or refused with a beep and,
// where there is one, a message (error).
struct KeyVerdict {
    std::optional<char> accepted;
    std::optional<std::string> message;
};
// Mask keys: "0".."9", "A".."F", "I", "#", "*", "-" and, for encodes, "K"; then the counts of
// "*" (variable status digits), "#" (variable identity digits), "I" (own identity digits) and
// "K" (own identity digits) in the mask with the typed key, each against its limit, in that order.
KeyVerdict MaskKey(std::string_view mask, char typed, const SelcallSettings& settings,
                   SequenceKind kind);
// Duration keys: "0".."3" whose tone duration is defined (and for decodes at most 4000 ms).
KeyVerdict DurationKey(char typed, const SelcallSettings& settings, SequenceKind kind);
// Toneset keys: "1" and "2".
KeyVerdict TonesetKey(char typed);

// The encode number when it is left: 1..250 (empty passes), and no other entry (`editing`, the
// entry being edited, does not count) with the number.
std::optional<std::string> EncodeNumberMessage(std::string_view text,
                                               std::span<const EncodeEntry> entries,
                                               std::optional<std::size_t> editing);
// The encode number at OK: as when left, and not empty or 0 (an encode numbered 0 would not be
// stored).
std::optional<std::string> EncodeNumberAtOkMessage(std::string_view text,
                                                   std::span<const EncodeEntry> entries,
                                                   std::optional<std::size_t> editing);
// The append encode when it is left: 0..250, and not the encode's own number.
std::optional<std::string> AppendEncodeMessage(std::string_view append, std::string_view number);

}  // namespace km::pmr
