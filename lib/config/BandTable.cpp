#include "config/BandTable.h"

namespace km {
namespace {

constexpr std::array<BandEntry, kBandCount> UsaBands() {
    std::array<BandEntry, kBandCount> bands = kBandEntries;
    bands[1] = {0x4143, "AC   150-174 MHz", 150000000, 174000000};
    bands[11] = {0x5557, "UW   440-512 MHz", 440000000, 512000000};
    bands[12] = {0x5548, "UW-H 440-512 MHz", 440000000, 512000000};
    return bands;
}
constexpr std::array<BandEntry, kBandCount> kUsaBands = UsaBands();

}  // namespace

std::span<const BandEntry, kBandCount> BandTable(int countryCode) {
    return countryCode == kCountryUsa ? kUsaBands : kBandEntries;
}

int BandEntryOfWord(std::uint16_t codeWord) {
    for (int i = 0; i < kBandCount; ++i) {
        if (kBandEntries[static_cast<std::size_t>(i)].codeWord == codeWord) {
            return i + 1;
        }
    }
    return 0;
}

std::uint16_t BandWordOfEntry(int entry) {
    if (entry < 1 || entry > kBandCount) {
        return 0;
    }
    return kBandEntries[static_cast<std::size_t>(entry - 1)].codeWord;
}

}  // namespace km
