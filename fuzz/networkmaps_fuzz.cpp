// Any bytes as a network file through the maps of the Network view's forms: the sub-band grid
// read and stored untouched must leave every byte as it was; typed texts (any bytes) are checked
// and stored without a fault; the summary, the identity word and the roaming table take any
// contents.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/BandTable.h"
#include "network/HntMap.h"
#include "network/SysMap.h"

namespace {

// Input: a byte naming a band, a text typed into the cells, "|", then the network file's bytes
// (repeated to its size).
struct Input {
    const km::BandEntry* band = nullptr;
    std::string typed;
    std::vector<std::uint8_t> file;
};

Input Split(const std::uint8_t* data, std::size_t size) {
    Input input;
    input.file.assign(km::NetworkImage::Size(), 0);
    if (size == 0) {
        return input;
    }
    const int entry = data[0] % (km::kBandCount + 1);
    input.band = entry == 0 ? nullptr : &km::kBandEntries[static_cast<std::size_t>(entry - 1)];
    std::size_t at = 1;
    while (at < size && data[at] != '|') {
        input.typed.push_back(static_cast<char>(data[at++]));
    }
    const std::size_t rest = at < size ? size - at - 1 : 0;
    for (std::size_t i = 0; rest > 0 && i < input.file.size(); ++i) {
        input.file[i] = data[at + 1 + i % rest];
    }
    return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input = Split(data, size);
    std::vector<std::uint8_t>& file = input.file;
    const std::vector<std::uint8_t> original = file;

    km::SubBandTable table;
    table.Load(file, 0);
    table.Store(file, 0);
    if (file != original) {
        throw std::logic_error("an untouched sub-band grid changed the file");
    }
    km::WriteNetworkIdentity(file, 0, km::ReadNetworkIdentity(file, 0));
    if (file != original) {
        throw std::logic_error("an unchanged identity changed the file");
    }

    // The typed text in every cell of two lines, checked as the grid checks it, then stored.
    for (int line : {0, static_cast<int>(size % km::hunt_rows::kSubBands)}) {
        for (int column = 1; column < km::SubBandTable::kColumnCount; ++column) {
            table.SetText(line, column, input.typed);
            (void)table.Check(line, column, km::CellMoment::Enter, input.band);
            (void)table.Check(line, column, km::CellMoment::Move, input.band);
        }
        (void)table.CheckLine(line, input.band);
    }
    table.Store(file, 0);
    km::StoreHuntSummary(file, 0);
    km::PrepareRoamingTable(file, 0);
    km::StoreRoamingTable(file, 0, std::vector<std::string>(3, input.typed));
    (void)km::ParseMegahertz(input.typed);
    (void)km::AnnExtentLimit(input.typed);
    return 0;
}
