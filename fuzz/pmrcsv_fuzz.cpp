// CSV files of channels and zones come from spreadsheets and hands. Whatever their bytes, an
// import keeps the table's limits (at most 1000 entries, numbers 0..999 and unique), puts only
// what the radio can take into the job, and what is exported again reads back the same. The first
// byte chooses the channel or the zone table.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/Person.h"
#include "pmr/PmrCsv.h"

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

void Channels(std::string_view file, km::PmrJobImage& image) {
    const km::pmr::ChannelsImport import = km::pmr::ReadChannelsCsv(file, 16);
    if (!import.valid) {
        return;
    }
    const km::pmr::ChannelTable& table = import.table;
    Require(table.Size() <= 1000);
    for (std::size_t i = 0; i < table.Size(); ++i) {
        Require(table.At(i).Number() >= 0 && table.At(i).Number() <= 999);
        Require(i == 0 || table.At(i - 1).Number() < table.At(i).Number());
    }
    SilentPerson person;
    km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, image, person);
    const km::pmr::ChannelsImport again = km::pmr::ReadChannelsCsv(km::pmr::ChannelsCsv(image), 16);
    Require(again.valid && again.skipped == 0 && again.table.Size() == table.Size());
}

void Zones(std::string_view file, km::PmrJobImage& image) {
    const km::pmr::ZonesImport import = km::pmr::ReadZonesCsv(file);
    if (!import.valid) {
        return;
    }
    Require(import.zones.size() <= 20);
    km::pmr::ZoneGrids grids;
    km::pmr::ApplyZonesImport(import, image, grids);
    km::pmr::StoreZones(grids, {}, image);
    Require(image.U16(122) <= 20);
    const km::pmr::ZonesImport again = km::pmr::ReadZonesCsv(km::pmr::ZonesCsv(image));
    Require(again.valid && again.zones.size() <= 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::PmrJobImage>();
    image->Fill(0);
    image->SetU16(14, 5860);
    if (data[0] & 1) {
        Zones(file, *image);
    } else {
        Channels(file, *image);
    }
    return 0;
}
