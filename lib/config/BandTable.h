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

// The 15 entries (entry n of the lists is element n - 1) with the limits of the country.
std::span<const BandEntry, kBandCount> BandTable(int countryCode);

// The entry number (1..15) of a band code word, or 0 when the word names no band.
int BandEntryOfWord(std::uint16_t codeWord);

// The code word of entry 1..15; 0 for entry 0 and for anything outside the table.
std::uint16_t BandWordOfEntry(int entry);

}  // namespace km
