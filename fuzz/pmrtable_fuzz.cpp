// A PMR job's channel table and zones as a file or a radio gives them: any bytes in the table's
// regions. Loading them, storing them and loading again must stay inside the image, keep the
// table's limits and give back the same table.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ImageFuzzInput.h"
#include "core/Person.h"
#include "pmr/ChannelTable.h"
#include "pmr/Zones.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    auto image = std::make_unique<km::PmrJobImage>();
    image->Write(0, km::fuzzing::Tiled({data, size}, km::PmrJobImage::kSize));
    km::pmr::ChannelTable table;
    km::pmr::LoadChannelTable(*image, table);
    Require(table.Size() <= 1000);
    km::pmr::ZoneGrids grids;
    km::pmr::LoadZones(*image, grids);

    SilentPerson person;
    km::pmr::StoreChannelTable(table, {.radioTypeMask = data[0] & 1 ? 16 : 512}, *image, person);
    km::pmr::StoreZones(grids, km::pmr::ZoneSwitchesOf(*image), *image);
    Require(image->U16(110) == table.Size());
    Require(image->U16(122) <= 20);

    km::pmr::ChannelTable again;
    km::pmr::LoadChannelTable(*image, again);
    Require(again.Size() == table.Size());
    for (std::size_t i = 0; i < again.Size(); ++i) {
        Require(again.At(i).Number() == table.At(i).Number());
        Require(again.At(i).IsGroup() == table.At(i).IsGroup() || table.At(i).IsGroup());
    }
    return 0;
}
