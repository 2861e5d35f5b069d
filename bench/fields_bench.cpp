// The field tables over whole jobs: a dump of each template, and a load and store pass of every
// row (what the forms of a view do between them when the view is built and saved).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "core/Files.h"
#include "fields/FieldOps.h"
#include "tables/JobDump.h"
#include "tables/Tables.h"

namespace {

using km::fields::ImageId;

std::vector<std::uint8_t> Template(ImageId image) {
    std::vector<std::uint8_t> bytes(km::fields::kImageSizes[static_cast<std::size_t>(image)], 0);
    km::tables::FillTemplateDefaults(image, bytes);
    return bytes;
}

// Every record table of the image in use up to its capacity (all 1000 channels of a PMR job).
void FillEveryTable(ImageId image, std::vector<std::uint8_t>& bytes) {
    for (const km::fields::FieldTable* table : km::tables::AllTables()) {
        for (const auto& records : table->records) {
            for (const km::fields::FieldRow& row : table->rows) {
                const auto at = km::tables::RowOffset(*table, row, image, 0);
                if (row.id == records.countField && at) {
                    km::fields::WriteField(row, bytes, *at, std::int64_t{records.capacity});
                }
            }
        }
    }
}

void BM_Dump(benchmark::State& state) {
    const auto image = static_cast<ImageId>(state.range(0));
    std::vector<std::uint8_t> bytes = Template(image);
    FillEveryTable(image, bytes);
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = km::tables::DumpImage(image, bytes).size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["fields"] = static_cast<double>(lines);
}
BENCHMARK(BM_Dump)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_LoadStoreEveryRow(benchmark::State& state) {
    const auto image = static_cast<ImageId>(state.range(0));
    std::vector<std::uint8_t> bytes = Template(image);
    std::size_t fields = 0;
    for (auto _ : state) {
        fields = 0;
        km::tables::ForEachField(
            image, bytes, km::tables::Records::All, [&](const km::tables::PlacedField& field) {
                km::fields::WriteField(*field.row, bytes, field.offset,
                                       km::fields::ReadField(*field.row, bytes, field.offset));
                ++fields;
            });
        benchmark::ClobberMemory();
    }
    state.counters["fields"] = static_cast<double>(fields);
}
BENCHMARK(BM_LoadStoreEveryRow)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
