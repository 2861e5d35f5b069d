#include "pmr/EncodeRows.h"

#include <algorithm>
#include <charconv>

#include "core/Csv.h"
#include "fields/FieldOps.h"

namespace km::pmr {
namespace {

namespace sr = sequence_rows;

constexpr std::string_view kExactMark = "KM700ENC";
constexpr std::size_t kExactEntrySize = 1 + kSequenceRecordSize;

// The dialog's fields: every column the user sets (the derived ones and the tone bytes are
// written from the tone strings).
std::vector<const fields::FieldRow*> RowFields() {
    std::vector<const fields::FieldRow*> columns;
    for (const fields::FieldRow& column : sr::kEncodeFields) {
        if (!column.derived) {
            columns.push_back(&column);
        }
    }
    return columns;
}

bool ValidNumber(int number) {
    return number >= 1 && number <= kMaxEncode;
}

// A number of 1..250 (blanks around it allowed), or 0.
int EncodeNumberOf(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && ValidNumber(number) ? number
                                                                                           : 0;
}

}  // namespace

std::string EncodeCsvRow(const EncodeEntry& entry) {
    std::vector<std::string> cells;
    for (const fields::FieldRow* column : RowFields()) {
        cells.push_back(fields::FormatField(*column, ColumnValue(entry.record, *column)));
    }
    const ToneStrings tones = TonesOf(entry.record, SequenceKind::Encode);
    cells.insert(cells.end(), {tones.mask, tones.durations, tones.tonesets});
    return csv::IndexedRow(static_cast<std::size_t>(entry.number), cells);
}

std::optional<EncodeEntry> EncodeOfCsvRow(std::string_view line) {
    const std::vector<const fields::FieldRow*> columns = RowFields();
    EncodeEntry entry;
    entry.number = EncodeNumberOf(csv::Fields(line).front());
    if (entry.number == 0) {
        return std::nullopt;
    }
    const std::vector<std::string> cells = csv::CellsOfIndexedRow(line, columns.size() + 3);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto parsed = fields::ParseField(*columns[c], cells[c]);
        const auto* code = parsed ? std::get_if<std::int64_t>(&*parsed) : nullptr;
        if (code == nullptr || fields::CheckField(*columns[c], *code)) {
            return std::nullopt;
        }
        SetColumn(entry.record, *columns[c], *code);
    }
    const std::size_t t = columns.size();
    SetTones(entry.record,
             FilledTones({cells[t], cells[t + 1], cells[t + 2]}, SequenceKind::Encode),
             SequenceKind::Encode);
    return entry;
}

std::string ExactBytesOfEncodes(std::span<const EncodeEntry> entries) {
    std::string bytes(kExactMark);
    for (const EncodeEntry& entry : entries) {
        bytes.push_back(static_cast<char>(entry.number));
        bytes.append(entry.record.begin(), entry.record.end());
    }
    return bytes;
}

std::optional<std::vector<EncodeEntry>> EncodesOfExactBytes(std::string_view bytes) {
    if (bytes.substr(0, kExactMark.size()) != kExactMark ||
        (bytes.size() - kExactMark.size()) % kExactEntrySize != 0) {
        return std::nullopt;
    }
    std::vector<EncodeEntry> entries;
    for (std::size_t at = kExactMark.size(); at < bytes.size(); at += kExactEntrySize) {
        EncodeEntry entry;
        entry.number = static_cast<std::uint8_t>(bytes[at]);
        if (!ValidNumber(entry.number)) {
            return std::nullopt;
        }
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + 1), kSequenceRecordSize,
                    entry.record.begin());
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::size_t> PasteEncodes(std::vector<EncodeEntry>& sorted,
                                      std::span<const EncodeEntry> entries) {
    const auto byNumber = [](const EncodeEntry& a, const EncodeEntry& b) {
        return a.number < b.number;
    };
    for (const EncodeEntry& entry : entries) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), entry, byNumber);
        if (at != sorted.end() && at->number == entry.number) {
            *at = entry;
        } else {
            sorted.insert(at, entry);
        }
    }
    std::vector<std::size_t> positions;
    for (const EncodeEntry& entry : entries) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), entry, byNumber);
        positions.push_back(static_cast<std::size_t>(at - sorted.begin()));
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

}  // namespace km::pmr
