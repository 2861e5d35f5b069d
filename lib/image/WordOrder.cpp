#include "image/WordOrder.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace km {
namespace {

// Offsets are TrunkJobImage offsets.
constexpr WordRange kRadioWideTrunkRanges[] = {
    {0x0004, 14}, {0x0064, 14}, {0x0090, 8},  {0x00A0, 12},
    {0x00C0, 26}, {0x00F4, 22}, {0x0120, 16}, {0x20F4, 62},
};

// Network 1's ranges; Network 2 has the same ranges one slot (3072 bytes) further on.
constexpr WordRange kNetwork1TrunkRanges[] = {
    {0x2810, 48}, {0x2880, 8},  {0x2890, 96}, {0x29F0, 8},   {0x2A00, 40}, {0x2D50, 8},
    {0x2D60, 20}, {0x2D88, 20}, {0x2DC8, 27}, {0x2E5E, 323}, {0x32D8, 2},  {0x32DC, 50},
};

constexpr std::size_t kRadioWideCount = std::size(kRadioWideTrunkRanges);
constexpr std::size_t kPerNetworkCount = std::size(kNetwork1TrunkRanges);

constexpr auto BuildTrunkRanges() {
    std::array<WordRange, kRadioWideCount + 2 * kPerNetworkCount> ranges{};
    std::size_t n = 0;
    for (const WordRange& r : kRadioWideTrunkRanges) {
        ranges[n++] = r;
    }
    for (std::size_t slot = 0; slot < 2; ++slot) {
        for (const WordRange& r : kNetwork1TrunkRanges) {
            ranges[n++] = {r.start + slot * trunk::kSlotSize, r.words};
        }
    }
    return ranges;
}
constexpr auto kTrunkRanges = BuildTrunkRanges();

// Offsets inside the PMR image's first block.
constexpr auto BuildPmrRanges() {
    constexpr WordRange kListed[] = {
        {4, 14},    {100, 14},  {144, 88},  {1332, 1},   {1346, 27},    {7440, 11},
        {7766, 8},  {7798, 79}, {7462, 10}, {7482, 7},   {7496, 10},    {7516, 4},
        {7644, 3},  {7764, 1},  {7786, 5},  {7956, 9},   {7974, 4},     {10682, 4},
        {10690, 9}, {10708, 4}, {10716, 4}, {10980, 40}, {11068, 2048},
    };
    constexpr std::size_t kRecordRangeStart = 10724;  // 8 records of 32 bytes, 6 words each
    constexpr std::size_t kRecords = 8;
    std::array<WordRange, std::size(kListed) + kRecords> ranges{};
    std::size_t n = 0;
    for (const WordRange& r : kListed) {
        ranges[n++] = r;
    }
    for (std::size_t i = 0; i < kRecords; ++i) {
        ranges[n++] = {kRecordRangeStart + 32 * i, 6};
    }
    return ranges;
}
constexpr auto kPmrRanges = BuildPmrRanges();
constexpr std::size_t kPmrFirstBlockSize = pmr::kBlocks[0].size;

// Checks the whole map before touching a byte, so a buffer too small is left as it was.
void SwapRanges(std::span<std::uint8_t> bytes, std::span<const WordRange> ranges) {
    for (const WordRange& r : ranges) {
        if (r.start + 2 * r.words > bytes.size()) {
            throw std::out_of_range("word range outside the buffer");
        }
    }
    for (const WordRange& r : ranges) {
        for (std::size_t w = 0; w < r.words; ++w) {
            std::swap(bytes[r.start + 2 * w], bytes[r.start + 2 * w + 1]);
        }
    }
}

}  // namespace

std::span<const WordRange> TrunkWordRanges() {
    return kTrunkRanges;
}
std::span<const WordRange> PmrWordRanges() {
    return kPmrRanges;
}

void SwapTrunkWords(std::span<std::uint8_t> trunkBytes) {
    SwapRanges(trunkBytes, kTrunkRanges);
}

void SwapTrunkWords(ScratchBuffer& scratch) {
    SwapTrunkWords(scratch.Region(kTrunkScratchBase, TrunkJobImage::kSize));
}

void SwapPmrWords(std::span<std::uint8_t> firstBlock) {
    SwapRanges(firstBlock, kPmrRanges);
}

void SwapPmrWords(ScratchBuffer& scratch, std::size_t base) {
    SwapPmrWords(scratch.Region(base, kPmrFirstBlockSize));
}

}  // namespace km
