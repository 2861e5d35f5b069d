// The PMR phone book and status list CSV files come from a spreadsheet or anywhere else. Whatever
// their bytes, an import either refuses the file or gives the grid's rows as the image can hold
// them; storing them touches nothing outside the table, and exporting and importing them again
// gives them back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "pmr/SclMap.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        throw std::logic_error(what);
    }
}

// A text of one blank is an empty field in the file format.
bool SameInFile(const std::string& a, const std::string& b) {
    return a == b || (a == " " && b.empty());
}

template <class Entry, class Import, class Export, class Store>
void Check(std::string_view file, std::size_t rows, std::size_t first, std::size_t end,
           Import import, Export exportRows, Store store, std::string Entry::*text,
           std::string Entry::*number) {
    const auto result = import(file);
    const auto* imported = std::get_if<km::pmr::GridImport<Entry>>(&result);
    if (imported == nullptr) {
        return;
    }
    Require(imported->entries.size() == rows, "not a whole grid");
    for (const Entry& entry : imported->entries) {
        Require(km::pmr::Bounded(entry) == entry, "a row the image cannot hold as it is");
    }
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::PmrJobImage>();
    image->Fill(0xA5);
    store(*image, imported->entries);
    const auto bytes = image->Bytes();
    Require(std::all_of(bytes.begin(), bytes.begin() + first, [](auto b) { return b == 0xA5; }) &&
                std::all_of(bytes.begin() + end, bytes.end(), [](auto b) { return b == 0xA5; }),
            "a byte outside the table changed");
    const auto again = import(exportRows(imported->entries));
    const auto* second = std::get_if<km::pmr::GridImport<Entry>>(&again);
    Require(second != nullptr, "an export that its import refuses");
    for (std::size_t r = 0; r < rows; ++r) {
        Require(second->entries[r].*number == imported->entries[r].*number &&
                    SameInFile(imported->entries[r].*text, second->entries[r].*text),
                "export and import changed a row");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace km::pmr;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    Check<SelcallPhonebookEntry>(
        file, kPhoneBookEntries, kPhoneBook, kPhoneBook + kPhoneBookEntries * kPhoneBookEntrySize,
        ImportSelcallPhonebookCsv, [](const auto& rows) { return ExportSelcallPhonebookCsv(rows); },
        [](km::PmrJobImage& image, const auto& rows) {
            StoreSelcallPhonebook(image.Bytes(), rows);
        },
        &SelcallPhonebookEntry::name, &SelcallPhonebookEntry::identity);
    Check<StatusEntry>(
        file, kStatusEntries, kStatusList, kStatusList + kStatusEntries * kStatusEntrySize,
        ImportStatusListCsv, [](const auto& rows) { return ExportStatusListCsv(rows); },
        [](km::PmrJobImage& image, const auto& rows) { StoreStatusList(image.Bytes(), rows); },
        &StatusEntry::message, &StatusEntry::number);
    return 0;
}
