// A PMR job's channel table, zones and channel options as a file or a radio gives them: any bytes
// in their regions. Loading them, storing them and loading again must stay inside the image, keep
// the table's limits and give back the same table; the power-on store names a zone of the table
// or none, and a DTMF sequence comes back as it was stored.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ImageFuzzInput.h"
#include "core/Person.h"
#include "image/Images.h"
#include "pmr/ChannelOptions.h"
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

// Input: the radio type, power-on mode and head variant; the numbers of channels and zones the
// job says it holds (a few, so that one input loads and stores a page of the table rather than a
// thousand channels); then the job's bytes (repeated to its size).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 2;
    if (size < kHead) {
        return 0;
    }
    static auto image = std::make_unique<km::PmrJobImage>();
    image->Write(0, km::fuzzing::Tiled({data + kHead, size - kHead}, km::PmrJobImage::kSize));
    image->SetU16(km::pmr::kChannelCount, data[1] % 41);
    image->SetU16(km::pmr::kZoneCount, data[1] / 41 % 6);
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

    namespace orows = km::pmr::options_rows;
    for (const km::fields::FieldRow& row : orows::kRows) {
        km::pmr::ShownOnLoad(
            row, km::fields::ReadField(row, image->Bytes(), static_cast<std::size_t>(row.at.pmr)));
    }
    const std::string sequence = km::pmr::DtmfSequenceOf(image->Bytes(), orows::kDtmf1);
    Require(sequence.size() <= 16);
    km::pmr::StoreDtmfSequence(image->Bytes(), orows::kDtmf2, sequence);
    std::string keys;
    for (char c : sequence) {
        if (km::pmr::IsDtmfCharacter(c)) {
            keys.push_back(c);
        }
    }
    const std::string stored = km::pmr::DtmfSequenceOf(image->Bytes(), orows::kDtmf2);
    Require(stored == sequence || stored == keys);
    km::pmr::StorePowerOn({.mode = data[0] % 3,
                           .definedChannel = data[0] % 5 == 0 ? std::nullopt : std::optional(7),
                           .definedZone = data[0] % 7 == 0 ? std::nullopt : std::optional(3),
                           .zoneMode = grids.zoneMode,
                           .switches = km::pmr::ZoneSwitchesOf(*image),
                           .headVariant = data[0] % 4},
                          *image);
    Require(image->U16(0x1D18) <= 2);
    const int zone = image->U8(0x1D11) >> 2;
    Require(zone == 63 || (zone >= 1 && zone <= 20));

    km::pmr::ChannelTable again;
    km::pmr::LoadChannelTable(*image, again);
    Require(again.Size() == table.Size());
    for (std::size_t i = 0; i < again.Size(); ++i) {
        Require(again.At(i).Number() == table.At(i).Number());
        Require(again.At(i).IsGroup() == table.At(i).IsGroup() || table.At(i).IsGroup());
    }
    return 0;
}
