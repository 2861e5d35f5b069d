#include "pmr/SclMap.h"

#include <algorithm>
#include <iterator>

#include "config/FieldRoutines.h"
#include "config/Phonebook.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelRows.h"
#include "pmr/OptionRows.h"

namespace km::pmr {
namespace {

namespace sr = selcall_rows;
using fields::FieldRow;
using fields::FieldValue;

constexpr int kLowestUserTone = 300;
constexpr int kHighestUserTone = 3500;

std::int64_t NumberOf(const FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::int64_t ReadNumber(const PmrJobImage& image, const FieldRow& row) {
    return NumberOf(fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr)));
}

std::string ReadText(std::span<const std::uint8_t> bytes, const FieldRow& row, std::size_t at) {
    return fields::FormatField(row, fields::ReadField(row, bytes, at));
}

// A text as the field keeps it: parsed, stored into a field of its own and read back.
std::string AsStored(const FieldRow& row, std::string_view shown) {
    std::array<std::uint8_t, 32> field{};
    const auto value = fields::ParseField(row, shown);
    fields::WriteField(row, field, 0, value ? *value : FieldValue(std::string()));
    return ReadText(field, row, 0);
}

std::string PrintableOf(std::string_view utf8) {
    std::string kept;
    std::copy_if(utf8.begin(), utf8.end(), std::back_inserter(kept),
                 [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
    return kept;
}

bool AllDecimal(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string NotAnInteger(std::string_view text) {
    std::string message(kNotAnIntegerMessage);
    return message.replace(message.find("%s"), 2, text);
}

std::size_t PhoneBookEntryAt(std::size_t entry) {
    return kPhoneBook + entry * kPhoneBookEntrySize;
}
std::size_t StatusEntryAt(std::size_t entry) {
    return kStatusList + entry * kStatusEntrySize;
}

void WriteText(std::span<std::uint8_t> image, const FieldRow& column, std::size_t at,
               std::string_view text) {
    const auto value = fields::ParseField(column, text);
    fields::WriteField(column, image, at + static_cast<std::size_t>(column.at.pmr),
                       value ? *value : FieldValue(std::string()));
}

// ---- Tone tables ----

const SelcallToneset* TonesetAt(const PmrJobImage& image, const FieldRow& row) {
    const std::int64_t index = ReadNumber(image, row);
    return index >= 0 && index < kTonesetCount
               ? &kSelcallTonesetTable[static_cast<std::size_t>(index)]
               : nullptr;
}

bool IsUserDefined(const SelcallToneset* toneset) {
    return toneset == &kSelcallTonesetTable[kUserDefinedToneset];
}

// The tones of a toneset: the table's, or the grid's for USER_DEFINED (an empty cell 0).
struct Tones {
    std::array<std::uint16_t, kSelcallDigitValues> hz{};
    bool complete = true;
};
Tones TonesOf(const SelcallToneset& toneset, const UserTones& grid) {
    if (!IsUserDefined(&toneset)) {
        return {toneset.tones, true};
    }
    Tones tones;
    for (std::size_t d = 0; d < grid.size(); ++d) {
        if (grid[d].empty()) {
            tones.complete = false;
            continue;
        }
        tones.hz[d] = static_cast<std::uint16_t>(
            std::clamp<std::int64_t>(IntegerOfField(grid[d]), 0, kHighestUserTone));
    }
    return tones;
}

void WriteTones(PmrJobImage& image, std::size_t at, const Tones& tones) {
    for (std::size_t d = 0; d < tones.hz.size(); ++d) {
        image.SetU16(at + 2 * d, tones.hz[d]);
    }
}

}  // namespace

std::optional<std::string_view> TonesetName(std::int64_t index) {
    if (index < 0 || index >= kTonesetCount) {
        return std::nullopt;
    }
    return kSelcallTonesetTable[static_cast<std::size_t>(index)].name;
}

UserTones UserTonesOf(const PmrJobImage& image) {
    std::optional<std::size_t> from;
    if (IsUserDefined(TonesetAt(image, sr::kEncodeToneset1Row))) {
        from = kEncodeTones1;
    } else if (IsUserDefined(TonesetAt(image, sr::kEncodeToneset2Row))) {
        from = kEncodeTones2;
    } else if (IsUserDefined(TonesetAt(image, sr::kDecodeTonesetRow))) {
        from = kUserDecodeTones;
    }
    UserTones grid;
    for (std::size_t d = 0; from && d < grid.size(); ++d) {
        grid[d] = std::to_string(image.U16(*from + 2 * d));
    }
    return grid;
}

bool UserTonesetChosen(const PmrJobImage& image) {
    return IsUserDefined(TonesetAt(image, sr::kEncodeToneset1Row)) ||
           IsUserDefined(TonesetAt(image, sr::kEncodeToneset2Row)) ||
           IsUserDefined(TonesetAt(image, sr::kDecodeTonesetRow));
}

bool StoreToneTables(PmrJobImage& image, const UserTones& grid) {
    bool complete = true;
    for (const auto& [row, at] : {std::pair{&sr::kEncodeToneset1Row, kEncodeTones1},
                                  std::pair{&sr::kEncodeToneset2Row, kEncodeTones2}}) {
        if (const SelcallToneset* toneset = TonesetAt(image, *row)) {
            const Tones tones = TonesOf(*toneset, grid);
            WriteTones(image, at, tones);
            complete = complete && tones.complete;
        }
    }
    if (const SelcallToneset* toneset = TonesetAt(image, sr::kDecodeTonesetRow)) {
        const Tones tones = TonesOf(*toneset, grid);
        if (IsUserDefined(toneset)) {
            WriteTones(image, kUserDecodeTones, tones);
        }
        complete = complete && tones.complete;
        for (std::size_t d = 0; d < tones.hz.size(); ++d) {
            const int f = tones.hz[d];
            const int margin = f * toneset->marginPercent / 100;
            image.SetU16(kDecodeWindows + 4 * d, static_cast<std::uint16_t>(f - margin));
            image.SetU16(kDecodeWindows + 4 * d + 2, static_cast<std::uint16_t>(f + margin));
        }
    }
    return complete;
}

std::optional<std::string> UserToneMessage(std::string_view cell) {
    if (cell.empty() || IntegerOfField(cell) == 0) {
        return std::nullopt;
    }
    const std::int64_t hz = IntegerOfField(cell);
    if (hz < kLowestUserTone || hz > kHighestUserTone) {
        return FormatNumbers(fields::kRangeMessage, {kLowestUserTone, kHighestUserTone});
    }
    return std::nullopt;
}

void StoreSelcallRules(PmrJobImage& image) {
    if (ReadNumber(image, sr::kSentStatus) != sr::kDefaultStatusChosen) {
        fields::WriteField(sr::kDefaultStatusRow, image.Bytes(), kDefaultStatus, std::string());
    }
    fields::WriteField(sr::kThirdToneReset, image.Bytes(), kThirdToneResetByte, std::int64_t{0});
}

bool FfskStatusMessages(const PmrJobImage& image) {
    const fields::FieldRow& row = options_rows::kFfskStatusMessages;
    return fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr)) !=
           fields::FieldValue(std::int64_t{0});
}

std::optional<std::string> SpecialEncodeMessage(int index, std::string_view cell, bool ffsk) {
    if (cell.empty()) {
        return std::nullopt;
    }
    const std::int64_t high = ffsk && index >= 4 ? kHighestFfskStatus : kMaxEncode;
    const std::int64_t value = IntegerOfField(cell);
    if (value < 1 || value > high) {
        return FormatNumbers(fields::kRangeMessage, {1, high});
    }
    return std::nullopt;
}

// ---- Phone book and status list ----

std::vector<SelcallPhonebookEntry> LoadSelcallPhonebook(std::span<const std::uint8_t> image) {
    std::vector<SelcallPhonebookEntry> entries(kPhoneBookEntries);
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::size_t at = PhoneBookEntryAt(e);
        entries[e] = {ReadText(image, sr::kPhoneBookName, at + 12),
                      ReadText(image, sr::kPhoneBookIdentity, at)};
    }
    return entries;
}

void StoreSelcallPhonebook(std::span<std::uint8_t> image,
                           std::span<const SelcallPhonebookEntry> entries) {
    for (std::size_t e = 0; e < kPhoneBookEntries; ++e) {
        const SelcallPhonebookEntry entry =
            e < entries.size() ? entries[e] : SelcallPhonebookEntry{};
        WriteText(image, sr::kPhoneBookName, PhoneBookEntryAt(e), entry.name);
        WriteText(image, sr::kPhoneBookIdentity, PhoneBookEntryAt(e), entry.identity);
    }
}

std::vector<StatusEntry> LoadStatusList(std::span<const std::uint8_t> image) {
    std::vector<StatusEntry> entries(kStatusEntries);
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::size_t at = StatusEntryAt(e);
        entries[e] = {ReadText(image, sr::kStatusMessage, at + 2),
                      ReadText(image, sr::kStatusNumber, at)};
    }
    return entries;
}

void StoreStatusList(std::span<std::uint8_t> image, std::span<const StatusEntry> entries) {
    for (std::size_t e = 0; e < kStatusEntries; ++e) {
        const StatusEntry entry = e < entries.size() ? entries[e] : StatusEntry{};
        WriteText(image, sr::kStatusMessage, StatusEntryAt(e), entry.message);
        WriteText(image, sr::kStatusNumber, StatusEntryAt(e), entry.number);
    }
}

SelcallPhonebookEntry Bounded(const SelcallPhonebookEntry& entry) {
    return {AsStored(sr::kPhoneBookName, PrintableOf(entry.name)),
            AsStored(sr::kPhoneBookIdentity, entry.identity)};
}

StatusEntry Bounded(const StatusEntry& entry) {
    return {AsStored(sr::kStatusMessage, PrintableOf(entry.message)),
            AsStored(sr::kStatusNumber, entry.number)};
}

namespace {

// Copies the text of `row` into every later row and counts its number on by one a row; `next`
// gives the number after one, or nullopt when counting has to stop.
template <class Entry, class Next>
std::optional<std::string> Fill(std::vector<Entry>& rows, std::size_t row, std::string Entry::*text,
                                std::string Entry::*number, Next next) {
    if (row >= rows.size()) {
        return std::nullopt;
    }
    const Entry source = rows[row];
    if (!AllDecimal(source.*number)) {
        return NotAnInteger(source.*number);
    }
    std::string current = source.*number;
    for (std::size_t r = row + 1; r < rows.size(); ++r) {
        if (!current.empty()) {
            const auto following = next(current);
            if (!following) {
                break;
            }
            current = *following;
            rows[r].*number = current;
        }
        rows[r].*text = source.*text;  // an empty number: the texts alone are copied
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FillToEnd(std::vector<SelcallPhonebookEntry>& rows, std::size_t row) {
    return Fill(rows, row, &SelcallPhonebookEntry::name, &SelcallPhonebookEntry::identity,
                [](const std::string& identity) -> std::optional<std::string> {
                    std::string next = NextDecimal(identity);
                    if (next.size() > static_cast<std::size_t>(kPhoneBookDigits)) {
                        return std::nullopt;
                    }
                    return next;
                });
}

std::optional<std::string> FillToEnd(std::vector<StatusEntry>& rows, std::size_t row) {
    return Fill(rows, row, &StatusEntry::message, &StatusEntry::number,
                [](const std::string& number) -> std::optional<std::string> {
                    return IntegerOfField(number) < kHighestStatusNumber ? NextDecimal(number)
                                                                         : number;
                });
}

// ---- CSV ----

namespace {

std::string HeaderLines(std::string_view table, std::string_view columns) {
    std::string text;
    text.append(kPmrCsvKind).append(",").append(table).append(csv::kLineEnd);
    text.append(columns).append(csv::kLineEnd);
    return text;
}

void AppendRow(std::string& text, std::size_t index, std::string_view first,
               std::string_view second) {
    text.append(csv::IndexedRow(index, {std::string(first), std::string(second)}))
        .append(csv::kLineEnd);
}

// The rows of a file after its two header lines, in file order; nullopt for a file of another
// table.
std::optional<csv::GridRows> RowsOfFile(std::string_view fileBytes, std::string_view table,
                                        std::size_t capacity) {
    const std::vector<std::string> lines = csv::Lines(csv::TextOfFile(fileBytes));
    if (lines.empty() || !csv::HeaderIs(lines[0], kPmrCsvKind, table)) {
        return std::nullopt;
    }
    constexpr std::size_t kCells = 2;
    return csv::RowsInFileOrder(lines, kCells, capacity);
}

template <class Entry>
std::variant<GridImport<Entry>, std::string> Import(std::string_view fileBytes,
                                                    std::string_view table, std::size_t capacity,
                                                    std::string_view wrongFile) {
    const auto file = RowsOfFile(fileBytes, table, capacity);
    if (!file) {
        return std::string(wrongFile);
    }
    GridImport<Entry> result;
    result.entries.resize(capacity);
    for (std::size_t r = 0; r < file->rows.size(); ++r) {
        result.entries[r] = Bounded(Entry{file->rows[r][0], file->rows[r][1]});
    }
    result.summary = {file->rows.size(), file->skipped};
    return result;
}

}  // namespace

std::string ExportSelcallPhonebookCsv(std::span<const SelcallPhonebookEntry> entries) {
    std::string text = HeaderLines(kPhonebookCsvTable, kPhonebookCsvColumns);
    for (std::size_t e = 0; e < kPhoneBookEntries; ++e) {
        const SelcallPhonebookEntry entry =
            e < entries.size() ? entries[e] : SelcallPhonebookEntry{};
        AppendRow(text, e, entry.name, entry.identity);
    }
    return csv::FileOfText(text);
}

std::string ExportStatusListCsv(std::span<const StatusEntry> entries) {
    std::string text = HeaderLines(kStatusCsvTable, kStatusCsvColumns);
    for (std::size_t e = 0; e < kStatusEntries; ++e) {
        const StatusEntry entry = e < entries.size() ? entries[e] : StatusEntry{};
        AppendRow(text, e + 1, entry.message, entry.number);
    }
    return csv::FileOfText(text);
}

std::variant<GridImport<SelcallPhonebookEntry>, std::string> ImportSelcallPhonebookCsv(
    std::string_view fileBytes) {
    return Import<SelcallPhonebookEntry>(fileBytes, kPhonebookCsvTable, kPhoneBookEntries,
                                         kNotAPhonebook);
}

std::variant<GridImport<StatusEntry>, std::string> ImportStatusListCsv(std::string_view fileBytes) {
    return Import<StatusEntry>(fileBytes, kStatusCsvTable, kStatusEntries, kNotAStatusList);
}

std::string ExportSelcallPhonebookCsvOfImage(std::span<const std::uint8_t> image) {
    return ExportSelcallPhonebookCsv(LoadSelcallPhonebook(image));
}

std::string ExportStatusListCsvOfImage(std::span<const std::uint8_t> image) {
    return ExportStatusListCsv(LoadStatusList(image));
}

std::variant<csv::ImportSummary, std::string> ImportSelcallPhonebookCsvIntoImage(
    std::span<std::uint8_t> image, std::string_view fileBytes) {
    auto imported = ImportSelcallPhonebookCsv(fileBytes);
    if (auto* error = std::get_if<std::string>(&imported)) {
        return *error;
    }
    const auto& result = std::get<GridImport<SelcallPhonebookEntry>>(imported);
    StoreSelcallPhonebook(image, result.entries);
    return result.summary;
}

std::variant<csv::ImportSummary, std::string> ImportStatusListCsvIntoImage(
    std::span<std::uint8_t> image, std::string_view fileBytes) {
    auto imported = ImportStatusListCsv(fileBytes);
    if (auto* error = std::get_if<std::string>(&imported)) {
        return *error;
    }
    const auto& result = std::get<GridImport<StatusEntry>>(imported);
    StoreStatusList(image, result.entries);
    return result.summary;
}

}  // namespace km::pmr
