// A phone book CSV file comes from a spreadsheet or anywhere else. Whatever its bytes, an import
// either refuses the file or gives 250 entries that the image can hold as they are; storing them
// touches nothing outside the phone book, and exporting and importing them again gives them back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "config/Phonebook.h"

namespace {

constexpr std::size_t kFirst = 0x0598;
constexpr std::size_t kEnd = 0x1538 + 250 * 12;

void Require(bool condition, const char* what) {
    if (!condition) {
        throw std::logic_error(what);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto result = km::ImportPhonebookCsv(file);
    const auto* imported = std::get_if<km::PhonebookImport>(&result);
    if (imported == nullptr) {
        return 0;
    }
    Require(imported->entries.size() == 250, "not 250 entries");
    for (const km::PhonebookEntry& entry : imported->entries) {
        Require(km::Bounded(entry) == entry, "an entry the image cannot hold as it is");
    }
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::TrunkJobImage>();
    image->Fill(0xA5);
    km::StorePhonebook(image->Bytes(), imported->entries);
    const auto bytes = image->Bytes();
    Require(std::all_of(bytes.begin(), bytes.begin() + kFirst, [](auto b) { return b == 0xA5; }) &&
                std::all_of(bytes.begin() + kEnd, bytes.end(), [](auto b) { return b == 0xA5; }),
            "a byte outside the phone book changed");
    const auto again = km::ImportPhonebookCsv(km::ExportPhonebookCsv(imported->entries));
    const auto* second = std::get_if<km::PhonebookImport>(&again);
    Require(second != nullptr, "an export that its import refuses");
    for (std::size_t e = 0; e < 250; ++e) {
        // A name of one blank is empty in the file format.
        const bool blankName = imported->entries[e].name == " ";
        Require(second->entries[e].number == imported->entries[e].number &&
                    (blankName || second->entries[e].name == imported->entries[e].name),
                "export and import changed an entry");
    }
    return 0;
}
