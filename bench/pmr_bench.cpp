// How long the channel table takes: the Channel Options form's load and store passes of a full
// table (1000 channels and groups, with both group areas in use and 20 zones), and the CSV export
// and import of 1000 channels.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/Person.h"
#include "pmr/PmrCsv.h"
#include "tables/Tables.h"

namespace {

namespace cr = km::pmr::channel_rows;

class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons) override { return km::Answer::Ok; }
    void Beep() override {}
};

// 1000 entries: 254 groups (4 user scan, 250 others, so both group areas hold member lists) and
// 746 channels with tones, names and every flag the store computes from, and 20 zones.
std::unique_ptr<km::PmrJobImage> FullJob() {
    auto image = std::make_unique<km::PmrJobImage>();
    km::tables::FillTemplateDefaults(km::fields::ImageId::Pmr, image->Bytes());
    image->SetU16(14, 5860);
    km::pmr::ChannelTable table;
    for (int n = 0; n < 746; ++n) {
        km::pmr::ChannelEntry entry = km::pmr::DefaultEntry(440000000 + 6250LL * n);
        entry.txHz = entry.rxHz + 5000000;
        entry.SetNumber(n);
        entry.SetName("Channel " + std::to_string(n));
        entry.Set(cr::kRxCode, static_cast<std::uint8_t>(1 + n % 51));
        entry.Set(cr::kTxCode, static_cast<std::uint8_t>(1 + n % 51));
        entry.SetFlag(cr::kHidden, n % 9 == 0);
        table.Add(entry);
    }
    for (int g = 0; g < 254; ++g) {
        km::pmr::ChannelEntry group;
        group.SetFlag(cr::kIsGroup, true);
        km::pmr::SetGroupType(group,
                              g < 4 ? km::pmr::GroupType::UserScan : km::pmr::GroupType::Multiax);
        group.SetNumber(746 + g);
        for (std::size_t m = 0; m < 15; ++m) {
            group.members[m] = static_cast<std::uint16_t>((g + m) % 746);
        }
        table.Add(group);
    }
    SilentPerson person;
    km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
    km::pmr::ZoneGrids grids;
    for (std::size_t z = 0; z < grids.names.size(); ++z) {
        grids.names[z] = "Zone " + std::to_string(z + 1);
    }
    for (std::size_t p = 0; p < grids.channels.size(); ++p) {
        grids.channels[p] = std::to_string(p);
    }
    km::pmr::StoreZones(grids, {}, *image);
    return image;
}

void BM_LoadFullTable(benchmark::State& state) {
    const auto image = FullJob();
    for (auto _ : state) {
        km::pmr::ChannelTable table;
        km::pmr::LoadChannelTable(*image, table);
        km::pmr::ZoneGrids grids;
        km::pmr::LoadZones(*image, grids);
        benchmark::DoNotOptimize(table.Size());
    }
}
BENCHMARK(BM_LoadFullTable)->Unit(benchmark::kMillisecond);

void BM_StoreFullTable(benchmark::State& state) {
    const auto image = FullJob();
    km::pmr::ChannelTable table;
    km::pmr::LoadChannelTable(*image, table);
    km::pmr::ZoneGrids grids;
    km::pmr::LoadZones(*image, grids);
    SilentPerson person;
    for (auto _ : state) {
        km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
        km::pmr::StoreZones(grids, {}, *image);
        benchmark::DoNotOptimize(image->U16(110));
    }
}
BENCHMARK(BM_StoreFullTable)->Unit(benchmark::kMillisecond);

std::unique_ptr<km::PmrJobImage> ThousandChannels() {
    auto image = std::make_unique<km::PmrJobImage>();
    km::tables::FillTemplateDefaults(km::fields::ImageId::Pmr, image->Bytes());
    km::pmr::ChannelTable table;
    for (int n = 0; n < 1000; ++n) {
        km::pmr::ChannelEntry entry = km::pmr::DefaultEntry(440000000 + 12500LL * n);
        entry.SetNumber(n);
        entry.SetName("Channel " + std::to_string(n));
        entry.Set(cr::kRxCode, static_cast<std::uint8_t>(1 + n % 51));
        table.Add(entry);
    }
    SilentPerson person;
    km::pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
    return image;
}

void BM_ExportThousandChannels(benchmark::State& state) {
    const auto image = ThousandChannels();
    for (auto _ : state) {
        benchmark::DoNotOptimize(km::pmr::ChannelsCsv(*image));
    }
}
BENCHMARK(BM_ExportThousandChannels)->Unit(benchmark::kMillisecond);

void BM_ImportThousandChannels(benchmark::State& state) {
    const std::string file = km::pmr::ChannelsCsv(*ThousandChannels());
    for (auto _ : state) {
        benchmark::DoNotOptimize(km::pmr::ReadChannelsCsv(file, 16).table.Size());
    }
}
BENCHMARK(BM_ImportThousandChannels)->Unit(benchmark::kMillisecond);

}  // namespace
