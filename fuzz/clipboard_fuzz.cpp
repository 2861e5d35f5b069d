// Rows pasted from the clipboard come from any program. Whatever their bytes, a paste into the
// channel table keeps its limits (numbers 0..999, unique, in order; groups list channels of the
// table) and stores; encodes stay numbered 1..250 in order; a grid line gives as many cells as
// the grid has. The first byte chooses the kind of rows.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Csv.h"
#include "core/Person.h"
#include "pmr/ChannelGridEdit.h"
#include "pmr/EncodeRows.h"

namespace {

class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons) override { return km::Answer::Ok; }
    void Beep() override {}
};

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::vector<std::string> LinesOf(std::string_view text) {
    return km::csv::Lines(text);
}

void PasteChannels(const std::vector<km::pmr::ChannelEntry>& entries) {
    km::pmr::ChannelTable table;
    for (int n = 0; n < 5; ++n) {
        km::pmr::ChannelEntry entry = km::pmr::DefaultEntry(450000000);
        entry.SetNumber(n * 3);
        table.Add(entry);
    }
    const km::pmr::PasteResult result = km::pmr::PasteEntries(table, entries);
    Require(table.Size() <= 1000);
    for (std::size_t i = 0; i < table.Size(); ++i) {
        Require(table.At(i).Number() >= 0 && table.At(i).Number() <= 999);
        Require(i == 0 || table.At(i - 1).Number() < table.At(i).Number());
    }
    Require(km::pmr::GroupMembersPresent(table));
    for (std::size_t position : result.positions) {
        Require(position < table.Size());
    }
    SilentPerson person;
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::PmrJobImage>();
    image->Fill(0);
    km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
}

void PasteEncodes(const std::vector<km::pmr::EncodeEntry>& entries) {
    std::vector<km::pmr::EncodeEntry> list(3);
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].number = static_cast<int>(2 * i + 1);
    }
    km::pmr::PasteEncodes(list, entries);
    for (std::size_t i = 0; i < list.size(); ++i) {
        Require(list[i].number >= 1 && list[i].number <= 250);
        Require(i == 0 || list[i - 1].number < list[i].number);
    }
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::PmrJobImage>();
    image->Fill(0);
    km::pmr::StoreEncodes(list, *image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 5) {
        case 0:
            if (const auto entries = km::pmr::EntriesOfExactBytes(bytes)) {
                PasteChannels(*entries);
            }
            break;
        case 1: {
            const std::vector<std::string> rows = LinesOf(bytes);
            PasteChannels(km::pmr::EntriesOfCsvRows(rows, 16));
            break;
        }
        case 2:
            if (const auto entries = km::pmr::EncodesOfExactBytes(bytes)) {
                PasteEncodes(*entries);
            }
            break;
        case 3: {
            std::vector<km::pmr::EncodeEntry> entries;
            for (const std::string& line : LinesOf(bytes)) {
                if (const auto entry = km::pmr::EncodeOfCsvRow(line)) {
                    entries.push_back(*entry);
                    // What is copied again reads back as the same encode.
                    const auto again = km::pmr::EncodeOfCsvRow(km::pmr::EncodeCsvRow(*entry));
                    Require(again && again->number == entry->number);
                }
            }
            PasteEncodes(entries);
            break;
        }
        default:
            for (const std::string& line : LinesOf(bytes)) {
                Require(km::csv::CellsOfIndexedRow(line, 2).size() == 2);
            }
    }
    return 0;
}
