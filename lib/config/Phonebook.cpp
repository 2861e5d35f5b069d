#include "config/Phonebook.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <tuple>

#include "config/FieldRoutines.h"
#include "core/Strings.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using phonebook_rows::kEntries;

constexpr std::size_t kShortFormEntries = 20;

const fields::FieldRow& NumberColumn() {
    return phonebook_rows::kNumberColumns[0];
}
const fields::FieldRow& NameColumn() {
    return phonebook_rows::kNameColumns[0];
}

std::size_t NumberAt(std::size_t entry) {
    return static_cast<std::size_t>(phonebook_rows::kNumbers.base.trunk) +
           entry * phonebook_rows::kNumbers.stride;
}
std::size_t NameAt(std::size_t entry) {
    return static_cast<std::size_t>(phonebook_rows::kNames.base.trunk) +
           entry * phonebook_rows::kNames.stride;
}

// A text stored into a field of its own and read back: what the image keeps of it.
std::string AsStored(const fields::FieldRow& row, std::string_view shown) {
    std::array<std::uint8_t, 16> field{};
    const auto value = fields::ParseField(row, shown);
    fields::WriteField(row, field, 0, value ? *value : fields::FieldValue(std::string()));
    return fields::FormatField(row, fields::ReadField(row, field, 0));
}

// Typed names take printable characters only.
std::string PrintableOf(std::string_view utf8) {
    std::string kept;
    std::copy_if(utf8.begin(), utf8.end(), std::back_inserter(kept),
                 [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
    return kept;
}

}  // namespace

std::string PhonebookRowLabel(std::size_t entry) {
    return entry < kShortFormEntries ? "SFD " + std::to_string(entry) : std::to_string(entry);
}

Phonebook LoadPhonebook(std::span<const std::uint8_t> trunkImage) {
    Phonebook book(kEntries);
    for (std::size_t e = 0; e < kEntries; ++e) {
        book[e].number = fields::FormatField(
            NumberColumn(), fields::ReadField(NumberColumn(), trunkImage, NumberAt(e)));
        book[e].name = fields::FormatField(NameColumn(),
                                           fields::ReadField(NameColumn(), trunkImage, NameAt(e)));
    }
    return book;
}

void StorePhonebook(std::span<std::uint8_t> trunkImage, std::span<const PhonebookEntry> entries) {
    for (std::size_t e = 0; e < kEntries; ++e) {
        const PhonebookEntry entry = e < entries.size() ? entries[e] : PhonebookEntry{};
        for (const auto& [row, at, text] : {std::tuple{&NumberColumn(), NumberAt(e), &entry.number},
                                            std::tuple{&NameColumn(), NameAt(e), &entry.name}}) {
            const auto value = fields::ParseField(*row, *text);
            fields::WriteField(*row, trunkImage, at,
                               value ? *value : fields::FieldValue(std::string()));
        }
    }
}

PhonebookEntry Bounded(const PhonebookEntry& entry) {
    return {AsStored(NumberColumn(), entry.number), AsStored(NameColumn(), entry.name)};
}

void InsertRow(Phonebook& book, std::size_t row) {
    book.resize(kEntries);
    if (row >= kEntries) {
        return;
    }
    std::rotate(book.begin() + static_cast<std::ptrdiff_t>(row), book.end() - 1, book.end());
    book[row] = {};
}

void DeleteRow(Phonebook& book, std::size_t row) {
    book.resize(kEntries);
    if (row >= kEntries) {
        return;
    }
    std::rotate(book.begin() + static_cast<std::ptrdiff_t>(row),
                book.begin() + static_cast<std::ptrdiff_t>(row) + 1, book.end());
    book.back() = {};
}

std::string NextDecimal(std::string_view digits) {
    std::string next(digits);
    for (std::size_t i = next.size(); i-- > 0;) {
        if (next[i] != '9') {
            ++next[i];
            return next;
        }
        next[i] = '0';
    }
    return "1" + next;
}

std::optional<std::string> FillToEnd(Phonebook& book, std::size_t row) {
    book.resize(kEntries);
    if (row >= kEntries) {
        return std::nullopt;
    }
    const std::string number = book[row].number;
    if (!number.empty() && !AllDigits(number)) {
        std::string message(kNotAnIntegerMessage);
        return message.replace(message.find("%s"), 2, number);
    }
    const std::size_t capacity = fields::DialCapacity(NumberColumn());
    std::string current = number;
    for (std::size_t e = row + 1; e < kEntries; ++e) {
        if (!current.empty()) {
            current = NextDecimal(current);
            if (current.size() > capacity) {
                break;
            }
        }
        book[e] = {current, book[row].name};
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- CSV

std::string ExportPhonebookCsv(std::span<const PhonebookEntry> entries) {
    std::string text;
    text.append(kCsvKind).append(",").append(kCsvTable).append(csv::kLineEnd);
    text.append(kCsvColumns).append(csv::kLineEnd);
    for (std::size_t e = 0; e < kEntries; ++e) {
        const PhonebookEntry entry = e < entries.size() ? Bounded(entries[e]) : PhonebookEntry{};
        text.append(csv::IndexedRow(e, {entry.number, entry.name})).append(csv::kLineEnd);
    }
    return csv::FileOfText(text);
}

std::variant<PhonebookImport, std::string> ImportPhonebookCsv(std::string_view fileBytes) {
    const std::vector<std::string> lines = csv::Lines(csv::TextOfFile(fileBytes));
    if (lines.empty() || !csv::HeaderIs(lines[0], kCsvKind, kCsvTable)) {
        return std::string(kNotAPhonebook);
    }
    constexpr std::size_t kCells = 2;
    const csv::GridRows file = csv::RowsInFileOrder(lines, kCells, kEntries);
    PhonebookImport result;
    result.entries.resize(kEntries);
    for (std::size_t r = 0; r < file.rows.size(); ++r) {
        result.entries[r] = Bounded({file.rows[r][0], PrintableOf(file.rows[r][1])});
    }
    result.summary = {file.rows.size(), file.skipped};
    return result;
}

std::string ExportPhonebookCsvOfImage(std::span<const std::uint8_t> trunkImage) {
    return ExportPhonebookCsv(LoadPhonebook(trunkImage));
}

std::variant<csv::ImportSummary, std::string> ImportPhonebookCsvIntoImage(
    std::span<std::uint8_t> trunkImage, std::string_view fileBytes) {
    auto imported = ImportPhonebookCsv(fileBytes);
    if (auto* error = std::get_if<std::string>(&imported)) {
        return *error;
    }
    const auto& result = std::get<PhonebookImport>(imported);
    StorePhonebook(trunkImage, result.entries);
    return result.summary;
}

}  // namespace km
