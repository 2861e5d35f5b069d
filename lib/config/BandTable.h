#pragma once
// The frequency bands a radio can be built for. The Radio Type form, the network system form, the
// hunt channels and the channel editor all list these 15 bands; entry 0 is "Undefined".

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace km {

struct BandEntry {
    std::uint16_t codeWord;  // two ASCII characters, first in the high byte
    std::string_view text;
    std::uint32_t lowerHz;  // limits are inclusive
    std::uint32_t upperHz;
};

inline constexpr int kBandCount = 15;
inline constexpr std::string_view kUndefinedBandText = "Undefined";
// Dealers in the United States of America get narrower AC, UW and UH bands.
inline constexpr int kCountryUsa = 5;

// The bands with the international limits.
inline constexpr std::array<BandEntry, kBandCount> kBandEntries = {{
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

// The 15 entries (entry n of the lists is element n - 1) with the limits of the country.
std::span<const BandEntry, kBandCount> BandTable(int countryCode);

// The entry number (1..15) of a band code word, or 0 when the word names no band.
int BandEntryOfWord(std::uint16_t codeWord);

// The code word of entry 1..15; 0 for entry 0 and for anything outside the table.
std::uint16_t BandWordOfEntry(int entry);

}  // namespace km
