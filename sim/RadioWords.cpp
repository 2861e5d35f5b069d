#include "sim/RadioWords.h"

#include <array>
#include <utility>

namespace km::sim {

namespace {

constexpr std::size_t kNetworkSpacing = 3072;

constexpr WordRun kRadioWide[] = {
    {0x0004, 14}, {0x0064, 14}, {0x0090, 8},  {0x00A0, 12},
    {0x00C0, 26}, {0x00F4, 22}, {0x0120, 16}, {0x20F4, 62},
};

// Network 1's job part and network file; Network 2's lie one network further on.
constexpr WordRun kFirstNetwork[] = {
    {0x2810, 48}, {0x2880, 8},  {0x2890, 96}, {0x29F0, 8},   {0x2A00, 40}, {0x2D50, 8},
    {0x2D60, 20}, {0x2D88, 20}, {0x2DC8, 27}, {0x2E5E, 323}, {0x32D8, 2},  {0x32DC, 50},
};

constexpr auto kTrunkRuns = [] {
    std::array<WordRun, std::size(kRadioWide) + 2 * std::size(kFirstNetwork)> runs{};
    std::size_t n = 0;
    for (const WordRun& run : kRadioWide) {
        runs[n++] = run;
    }
    for (std::size_t network = 0; network < 2; ++network) {
        for (const WordRun& run : kFirstNetwork) {
            runs[n++] = {run.start + network * kNetworkSpacing, run.words};
        }
    }
    return runs;
}();

// Eight selcall records of 32 bytes from 10724 keep 6 words each.
constexpr auto kPmrRuns = [] {
    constexpr WordRun kRuns[] = {
        {4, 14},    {100, 14},  {144, 88},  {1332, 1},   {1346, 27},    {7440, 11},
        {7462, 10}, {7482, 7},  {7496, 10}, {7516, 4},   {7644, 3},     {7764, 1},
        {7766, 8},  {7786, 5},  {7798, 79}, {7956, 9},   {7974, 4},     {10682, 4},
        {10690, 9}, {10708, 4}, {10716, 4}, {10980, 40}, {11068, 2048},
    };
    std::array<WordRun, std::size(kRuns) + 8> runs{};
    std::size_t n = 0;
    for (const WordRun& run : kRuns) {
        runs[n++] = run;
    }
    for (std::size_t record = 0; record < 8; ++record) {
        runs[n++] = {10724 + 32 * record, 6};
    }
    return runs;
}();

void TurnWord(std::span<std::uint8_t> bytes, std::size_t at) {
    std::swap(bytes[at], bytes[at + 1]);
}

}  // namespace

std::span<const WordRun> TrunkConfigurationWords() {
    return kTrunkRuns;
}

std::span<const WordRun> PmrConfigurationWords() {
    return kPmrRuns;
}

void TurnWords(std::span<std::uint8_t> bytes, std::span<const WordRun> runs) {
    for (const WordRun& run : runs) {
        for (std::size_t w = 0; w < run.words && run.start + 2 * w + 1 < bytes.size(); ++w) {
            TurnWord(bytes, run.start + 2 * w);
        }
    }
}

void TurnRecordWords(std::span<std::uint8_t> bytes, std::size_t recordSize, std::size_t words) {
    for (std::size_t record = 0; record + recordSize <= bytes.size(); record += recordSize) {
        for (std::size_t w = 0; w < words; ++w) {
            TurnWord(bytes, record + 2 * w);
        }
    }
}

}  // namespace km::sim
