#include "config/BandTable.h"

namespace km {
namespace {

constexpr std::array<BandEntry, kBandCount> kBands = {{
    {0x4530, "E0    66-88  MHz", 66000000, 88000000},
    {0x4143, "AC   136-174 MHz", 136000000, 174000000},
    {0x4B31, "K1   174-208 MHz", 174000000, 208000000},
    {0x4B4D, "KM   208-245 MHz", 208000000, 245000000},
    {0x5230, "R0   310-350 MHz", 310000000, 350000000},
    {0x5231, "R1   335-375 MHz", 335000000, 375000000},
    {0x5232, "R2   350-400 MHz", 350000000, 400000000},
    {0x5233, "R3   335-400 MHz", 335000000, 400000000},
    {0x544B, "TK   400-450 MHz", 400000000, 450000000},
    {0x5455, "TU   400-480 MHz", 400000000, 480000000},
    {0x554C, "UW-L 430-500 MHz", 430000000, 500000000},
    {0x5557, "UW   440-500 MHz", 440000000, 500000000},
    {0x5548, "UW-H 440-520 MHz", 440000000, 520000000},
    {0x5752, "WR   470-530 MHz", 470000000, 530000000},
    {0x5838, "X8   806-870 MHz", 806000000, 870000000},
}};

constexpr std::array<BandEntry, kBandCount> UsaBands() {
    std::array<BandEntry, kBandCount> bands = kBands;
    bands[1] = {0x4143, "AC   150-174 MHz", 150000000, 174000000};
    bands[11] = {0x5557, "UW   440-512 MHz", 440000000, 512000000};
    bands[12] = {0x5548, "UW-H 440-512 MHz", 440000000, 512000000};
    return bands;
}
constexpr std::array<BandEntry, kBandCount> kUsaBands = UsaBands();

}  // namespace

std::span<const BandEntry, kBandCount> BandTable(int countryCode) {
    return countryCode == kCountryUsa ? kUsaBands : kBands;
}

int BandEntryOfWord(std::uint16_t codeWord) {
    for (int i = 0; i < kBandCount; ++i) {
        if (kBands[static_cast<std::size_t>(i)].codeWord == codeWord) {
            return i + 1;
        }
    }
    return 0;
}

std::uint16_t BandWordOfEntry(int entry) {
    if (entry < 1 || entry > kBandCount) {
        return 0;
    }
    return kBands[static_cast<std::size_t>(entry - 1)].codeWord;
}

}  // namespace km
