#include "pmr/Scl2Map.h"

#include <algorithm>
#include <cstdio>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"
#include "pmr/SclMap.h"

namespace km::pmr {
namespace {

namespace qr = sequence_rows;
using fields::FieldRow;

// SelcallToneByte.
constexpr std::uint8_t kDigitBits = 0x0F;
constexpr std::uint8_t kToneset2Bit = 0x10;
constexpr std::uint8_t kSpecialBit = 0x20;
constexpr unsigned kDurationShift = 6;
constexpr std::uint8_t kToneCountBits = 0x1F;

std::size_t ColumnOffset(const FieldRow& column) {
    return static_cast<std::size_t>(column.at.pmr);
}

std::span<const FieldRow> ColumnsOf(SequenceKind kind) {
    return kind == SequenceKind::Encode ? std::span<const FieldRow>(qr::kEncodeColumns)
                                        : std::span<const FieldRow>(qr::kDecodeColumns);
}

// The special code of a mask character, or nullopt for a digit or no tone.
std::optional<std::uint8_t> SpecialCode(char c, SequenceKind kind) {
    switch (c) {
        case '#':
            return 0;
        case '*':
            return 1;
        case 'I':
            return 2;
        case 'K':
            return kind == SequenceKind::Encode ? std::optional<std::uint8_t>(3) : std::nullopt;
        case '-':
            return 15;
        default:
            return std::nullopt;
    }
}

std::optional<std::uint8_t> DigitCode(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The mask character of a tone byte, or nullopt when the byte ends the mask.
std::optional<char> MaskCharacter(std::uint8_t tone, SequenceKind kind) {
    const int code = tone & kDigitBits;
    if ((tone & kSpecialBit) == 0) {
        return "0123456789ABCDEF"[code];
    }
    const char special = qr::SpecialCharacter(code);
    if (special == '\0' || (special == 'K' && kind == SequenceKind::Decode)) {
        return std::nullopt;
    }
    return special;
}

bool IsToneByte(const FieldRow& column) {
    return ColumnOffset(column) >= kFirstToneByte;
}

std::size_t ToneCount(const SequenceRecord& record) {
    return std::min<std::size_t>(record[0] & kToneCountBits, kMaxTones);
}

// The record with every column copied through its row and the tones rebuilt from their strings:
// bytes no column names are 0, as the radio expects them.
SequenceRecord Normalised(const SequenceRecord& record, SequenceKind kind) {
    SequenceRecord fresh{};
    for (const FieldRow& column : ColumnsOf(kind)) {
        if (IsToneByte(column)) {
            continue;
        }
        fields::RewriteField(column, fresh, ColumnOffset(column),
                             fields::ReadField(column, record, ColumnOffset(column)));
    }
    SetTones(fresh, TonesOf(record, kind), kind);
    return fresh;
}

std::size_t EncodeAt(int number) {
    return kEncodeRecords + kSequenceRecordSize * static_cast<std::size_t>(number - 1);
}
std::size_t DecodeAt(std::size_t index) {
    return kDecodeRecords + kSequenceRecordSize * index;
}
std::size_t DecodeNameAt(std::size_t index) {
    return kDecodeNames + kDecodeNameWidth * index;
}

SequenceRecord RecordAt(const PmrJobImage& image, std::size_t at) {
    SequenceRecord record{};
    const auto bytes = image.Bytes().subspan(at, record.size());
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return record;
}

void WriteRecord(PmrJobImage& image, std::size_t at, const SequenceRecord& record) {
    std::copy(record.begin(), record.end(),
              image.Bytes().begin() + static_cast<std::ptrdiff_t>(at));
}

// A word of a list line: the entry of `words` the code names, "?" for one it has none for.
std::string_view WordOf(std::int64_t code, std::initializer_list<std::string_view> words) {
    return code >= 0 && static_cast<std::size_t>(code) < words.size() ? *(words.begin() + code)
                                                                      : std::string_view("?");
}

std::string Format(const char* pattern, auto... values) {
    const int size = std::snprintf(nullptr, 0, pattern, values...);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, values...);
    return text;
}

std::string NumberMessage(std::string_view pattern, int number) {
    return FormatNumbers(pattern, {number});
}

KeyVerdict Accepted(char c) {
    return {c, std::nullopt};
}
KeyVerdict Beep() {
    return {};
}
KeyVerdict Refused(std::string message) {
    return {std::nullopt, std::move(message)};
}

}  // namespace

std::int64_t ColumnValue(const SequenceRecord& record, const FieldRow& column) {
    const auto value = fields::ReadField(column, record, ColumnOffset(column));
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

void SetColumn(SequenceRecord& record, const FieldRow& column, std::int64_t value) {
    fields::WriteField(column, record, ColumnOffset(column), value);
}

ToneStrings TonesOf(const SequenceRecord& record, SequenceKind kind) {
    ToneStrings tones;
    for (std::size_t t = 0; t < ToneCount(record); ++t) {
        const std::uint8_t tone = record[kFirstToneByte + t];
        const auto mask = MaskCharacter(tone, kind);
        if (!mask) {
            break;
        }
        tones.mask.push_back(*mask);
        tones.durations.push_back(static_cast<char>('0' + (tone >> kDurationShift)));
        if (kind == SequenceKind::Encode) {
            tones.tonesets.push_back((tone & kToneset2Bit) != 0 ? '2' : '1');
        }
    }
    return tones;
}

void SetTones(SequenceRecord& record, const ToneStrings& tones, SequenceKind kind) {
    std::fill(record.begin() + kFirstToneByte, record.end(), 0);
    std::size_t count = 0;
    for (char typed : tones.mask) {
        if (count == kMaxTones) {
            break;
        }
        const char c = Upper(typed);
        const auto special = SpecialCode(c, kind);
        const auto digit = DigitCode(c);
        if (!special && !digit) {
            break;
        }
        std::uint8_t tone = special ? static_cast<std::uint8_t>(*special | kSpecialBit) : *digit;
        if (kind == SequenceKind::Encode && count < tones.tonesets.size() &&
            tones.tonesets[count] == '2') {
            tone |= kToneset2Bit;
        }
        if (count < tones.durations.size() && tones.durations[count] >= '0' &&
            tones.durations[count] <= '3') {
            tone |= static_cast<std::uint8_t>((tones.durations[count] - '0') << kDurationShift);
        }
        record[kFirstToneByte + count] = tone;
        ++count;
    }
    record[0] = static_cast<std::uint8_t>((record[0] & ~kToneCountBits) | count);
}

ToneStrings FilledTones(const ToneStrings& typed, SequenceKind kind) {
    auto fill = [&](const std::string& chars, char empty) {
        std::string filled;
        char last = chars.empty() ? empty : chars.front();
        for (std::size_t i = 0; i < typed.mask.size(); ++i) {
            if (i < chars.size()) {
                last = chars[i];
            }
            filled.push_back(last);
        }
        return filled;
    };
    ToneStrings filled{typed.mask, fill(typed.durations, '0'), ""};
    if (kind == SequenceKind::Encode) {
        filled.tonesets = fill(typed.tonesets, '1');
    }
    return filled;
}

// ---- Load and store ----

std::vector<EncodeEntry> LoadEncodes(const PmrJobImage& image) {
    std::vector<EncodeEntry> entries;
    for (int n = 1; n <= kMaxEncode; ++n) {
        const SequenceRecord record = RecordAt(image, EncodeAt(n));
        if (ColumnValue(record, qr::kEncodeDefinedColumn) == qr::kEncodeDefined) {
            entries.push_back({n, Normalised(record, SequenceKind::Encode)});
        }
    }
    return entries;
}

std::vector<DecodeEntry> LoadDecodes(const PmrJobImage& image) {
    const bool ownBit = image.U16(kVersionWordOffset) > kLastSharedThirdToneResetVersion;
    const bool shared = (image.U8(kThirdToneResetByte) & 0x01) != 0;
    std::vector<DecodeEntry> entries;
    for (std::size_t i = 0; i < kDecodeCapacity; ++i) {
        DecodeEntry entry{
            static_cast<int>(i + 1), Normalised(RecordAt(image, DecodeAt(i)), SequenceKind::Decode),
            fields::FormatField(qr::kDecodeName, fields::ReadField(qr::kDecodeName, image.Bytes(),
                                                                   DecodeNameAt(i)))};
        if (!ownBit) {
            SetColumn(entry.record, qr::kDecodeThirdToneReset, shared ? 1 : 0);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void StoreEncodes(std::span<const EncodeEntry> entries, PmrJobImage& image) {
    std::fill_n(image.Bytes().begin() + static_cast<std::ptrdiff_t>(kEncodeRecords),
                kMaxEncode * kSequenceRecordSize, 0);
    int highest = 0;
    for (const EncodeEntry& entry : entries) {
        if (entry.number < 1 || entry.number > kMaxEncode) {
            continue;
        }
        SequenceRecord record = Normalised(entry.record, SequenceKind::Encode);
        SetColumn(record, qr::kEncodeDefinedColumn, qr::kEncodeDefined);
        WriteRecord(image, EncodeAt(entry.number), record);
        highest = std::max(highest, entry.number);
    }
    if (highest > 0) {
        image.SetU16(pmr::kEncodeCount, static_cast<std::uint16_t>(highest));
        image.SetU16(kHighestEncodeCopy, static_cast<std::uint16_t>(highest));
    }
}

int LongestToneIndex(const ToneStrings& tones, const std::array<std::uint16_t, 4>& durationsMs) {
    int longest = 0;
    for (std::size_t t = 1; t < tones.mask.size() && t < tones.durations.size(); ++t) {
        const char d = tones.durations[t];
        if (tones.mask[t] == '-' || d < '0' || d > '3') {
            continue;
        }
        longest = std::max<int>(longest, durationsMs[static_cast<std::size_t>(d - '0')]);
    }
    for (std::size_t d = 0; d < durationsMs.size(); ++d) {
        if (durationsMs[d] == longest) {
            return static_cast<int>(d);
        }
    }
    return 0;
}

void StoreDecodes(std::span<const DecodeEntry> entries, PmrJobImage& image) {
    std::fill_n(image.Bytes().begin() + static_cast<std::ptrdiff_t>(kDecodeRecords),
                kDecodeCapacity * kSequenceRecordSize, 0);
    std::array<std::uint16_t, 4> durations{};
    for (std::size_t d = 0; d < durations.size(); ++d) {
        durations[d] = image.U16(kToneDurations + 2 * d);
    }
    for (std::size_t i = 0; i < kDecodeCapacity && i < entries.size(); ++i) {
        SequenceRecord record = Normalised(entries[i].record, SequenceKind::Decode);
        SetColumn(record, qr::kLongestTone,
                  LongestToneIndex(TonesOf(record, SequenceKind::Decode), durations));
        WriteRecord(image, DecodeAt(i), record);
        fields::RewriteField(qr::kDecodeName, image.Bytes(), DecodeNameAt(i), entries[i].name);
        if (ColumnValue(record, qr::kDecodeThirdToneReset) != 0) {
            image.SetU8(kThirdToneResetByte, image.U8(kThirdToneResetByte) | 0x01);
        }
    }
}

// ---- List lines ----

std::string EncodeLine(const EncodeEntry& entry) {
    const SequenceRecord& r = entry.record;
    const std::string mask = TonesOf(r, SequenceKind::Encode).mask;
    const std::string mute(WordOf(ColumnValue(r, qr::kEncodeMute), {"NoChange", "Open", "Closed"}));
    const std::string queuing(
        WordOf(ColumnValue(r, qr::kQueuing),
               {"NoQueuing", "OnBusy", "InhOnBusy", "OnCarrier", "InhOnCarr"}));
    const std::string ack(
        WordOf(ColumnValue(r, qr::kAckDecode), {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8"}));
    return Format("%03d    %-25.25s %-4d %-4d  %-9s %-9s %-4d %-3s %4d ", entry.number,
                  mask.c_str(), static_cast<int>(ColumnValue(r, qr::kLinkEstablishTime)),
                  static_cast<int>(ColumnValue(r, qr::kLeadOutDelay)), mute.c_str(),
                  queuing.c_str(), static_cast<int>(ColumnValue(r, qr::kResendInterval)),
                  ack.c_str(), static_cast<int>(ColumnValue(r, qr::kAppendEncode)));
}

std::string DecodeLine(const DecodeEntry& entry) {
    const SequenceRecord& r = entry.record;
    const std::string mask = TonesOf(r, SequenceKind::Decode).mask;
    auto word = [&](const FieldRow& column, std::initializer_list<std::string_view> words) {
        return std::string(WordOf(ColumnValue(r, column), words));
    };
    return Format("%03d  %-23.23s %-5s %-7s %-6s %-5s %-7s %-3d %-6s %-3s", entry.number,
                  mask.c_str(), word(qr::kAlertAction, {"Start", "Stop", "No"}).c_str(),
                  word(qr::kExternalAlert, {"No", "Start", "Stop"}).c_str(),
                  word(qr::kDecodeMute, {"NoChg", "Open", "Close"}).c_str(),
                  word(qr::kCalledIcon, {"NoChg", "Set", "Clear", "Flash"}).c_str(),
                  word(qr::kDecodePtt, {"NoChg", "Inhibit", "Enable"}).c_str(),
                  static_cast<int>(ColumnValue(r, qr::kAckEncode)),
                  word(qr::kFunction, {"NoChg", "Stun", "Revive"}).c_str(),
                  word(qr::kDecodeTimedReset, {"No", "Yes"}).c_str());
}

int ProposedEncodeNumber(std::span<const EncodeEntry> sorted) {
    if (sorted.empty()) {
        return 1;
    }
    const int last = sorted.back().number;
    return last > kMaxEncode - 1 ? 0 : last + 1;
}

// ---- Dialog rules ----

SelcallSettings SelcallSettingsOf(const PmrJobImage& image) {
    namespace sr = selcall_rows;
    auto text = [&](const FieldRow& row) {
        return fields::FormatField(
            row, fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr)));
    };
    auto number = [&](const FieldRow& row) { return static_cast<int>(IntegerOfField(text(row))); };
    SelcallSettings settings;
    settings.ownIdentity = text(sr::kOwnIdentityRow);
    settings.tonesetNames = {text(sr::kEncodeToneset1Row), text(sr::kEncodeToneset2Row),
                             text(sr::kDecodeTonesetRow)};
    for (int d = 0; d < kToneDurationCount; ++d) {
        settings.durations[static_cast<std::size_t>(d)] = text(sr::DurationRow(d));
    }
    settings.variableDigits = number(sr::kVariableDigitsRow);
    settings.statusDigits = number(sr::kStatusDigitsRow);
    return settings;
}

KeyVerdict MaskKey(std::string_view mask, char typed, const SelcallSettings& settings,
                   SequenceKind kind) {
    const char c = Upper(typed);
    if (!DigitCode(c) && !SpecialCode(c, kind) && c != 'I') {
        return Beep();
    }
    std::string after(mask);
    after.push_back(c);
    const int ownDigits = static_cast<int>(settings.ownIdentity.size());
    struct Limit {
        char character;
        int limit;
        std::string_view message;
        int shown;
    };
    const Limit limits[] = {
        {'*', settings.statusDigits, kStatusDigitsLimitText, settings.statusDigits},
        {'#', settings.variableDigits, kVariableDigitsLimitText, settings.variableDigits},
        {'I', ownDigits, kOwnIdDigitsLimitText, ownDigits},
        {'K', ownDigits, kKDigitsLimitText, ownDigits},
    };
    for (const Limit& limit : limits) {
        if (limit.character == 'K' && kind == SequenceKind::Decode) {
            continue;
        }
        if (std::count(after.begin(), after.end(), limit.character) > limit.limit) {
            return Refused(NumberMessage(limit.message, limit.shown));
        }
    }
    return Accepted(c);
}

KeyVerdict DurationKey(char typed, const SelcallSettings& settings, SequenceKind kind) {
    if (typed < '0' || typed > '3') {
        return Beep();
    }
    const int d = typed - '0';
    const std::string& duration = settings.durations[static_cast<std::size_t>(d)];
    if (duration.empty()) {
        return Refused(NumberMessage(kDurationUndefinedText, d));
    }
    if (kind == SequenceKind::Decode && IntegerOfField(duration) > kLongestDecodeTone) {
        return Refused(NumberMessage(kDecodeDurationTooLongText, d));
    }
    return Accepted(typed);
}

KeyVerdict TonesetKey(char typed) {
    return typed == '1' || typed == '2' ? Accepted(typed) : Beep();
}

namespace {

std::optional<std::string> RangeMessage(std::string_view text, std::int64_t low,
                                        std::int64_t high) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t value = IntegerOfField(text);
    if (value < low || value > high) {
        return FormatNumbers(fields::kRangeMessage, {low, high});
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> EncodeNumberMessage(std::string_view text,
                                               std::span<const EncodeEntry> entries,
                                               std::optional<std::size_t> editing) {
    if (auto message = RangeMessage(text, 1, kMaxEncode)) {
        return message;
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t number = IntegerOfField(text);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i != editing && entries[i].number == number) {
            return std::string(kDuplicateEncodeText);
        }
    }
    return std::nullopt;
}

std::optional<std::string> EncodeNumberAtOkMessage(std::string_view text,
                                                   std::span<const EncodeEntry> entries,
                                                   std::optional<std::size_t> editing) {
    if (IntegerOfField(text) == 0) {
        return FormatNumbers(fields::kRangeMessage, {1, kMaxEncode});
    }
    return EncodeNumberMessage(text, entries, editing);
}

std::optional<std::string> AppendEncodeMessage(std::string_view append, std::string_view number) {
    if (auto message = RangeMessage(append, 0, kMaxEncode)) {
        return message;
    }
    if (!append.empty() && !number.empty() && IntegerOfField(append) == IntegerOfField(number)) {
        return std::string(kAppendToItselfText);
    }
    return std::nullopt;
}

}  // namespace km::pmr
