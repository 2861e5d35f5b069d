// How long the image conversions take: the PMR format conversion on open, the two unpack steps
// after a radio read.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "image/PmrFormat.h"
#include "image/WordOrder.h"

namespace {

std::unique_ptr<km::PmrJobImage> Template() {
    auto t = std::make_unique<km::PmrJobImage>();
    for (std::size_t i = 0; i < km::PmrJobImage::kSize; ++i) {
        t->SetU8(i, static_cast<std::uint8_t>(i * 7));
    }
    t->SetU16(km::pmr::kFormatVersion, km::pmr::kCurrentFormat);
    return t;
}

void BM_ConvertPmrFile(benchmark::State& state) {
    const auto version = static_cast<std::uint16_t>(state.range(0));
    const auto templ = Template();
    std::vector<std::uint8_t> file(km::PmrBytesNeeded(version), 0x5A);
    file[112] = static_cast<std::uint8_t>(version & 0xFF);
    file[113] = static_cast<std::uint8_t>(version >> 8);
    auto out = std::make_unique<km::PmrJobImage>();
    for (auto _ : state) {
        benchmark::DoNotOptimize(km::ConvertPmrFile(file, templ.get(), *out));
    }
}
BENCHMARK(BM_ConvertPmrFile)->Arg(200)->Arg(201)->Arg(202);

void BM_UnpackPmrRead(benchmark::State& state) {
    const auto version = static_cast<std::uint16_t>(state.range(0));
    const auto templ = Template();
    auto scratch = std::make_unique<km::ScratchBuffer>();
    auto image = std::make_unique<km::PmrJobImage>();
    for (auto _ : state) {
        scratch->SetU16BE(km::pmr::kFormatVersion, version);
        benchmark::DoNotOptimize(km::UnpackPmrRead(*scratch, templ.get(), *image));
    }
}
BENCHMARK(BM_UnpackPmrRead)->Arg(201)->Arg(202);

void BM_UnpackTrunkRead(benchmark::State& state) {
    auto scratch = std::make_unique<km::ScratchBuffer>();
    km::TrunkJobImage trunk;
    for (auto _ : state) {
        km::UnpackTrunkRead(*scratch, trunk);
        benchmark::DoNotOptimize(trunk.Data());
    }
}
BENCHMARK(BM_UnpackTrunkRead);

}  // namespace
