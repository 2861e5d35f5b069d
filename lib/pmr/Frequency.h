#pragma once
// Channel frequencies as whole hertz: the text the user types, the band limits of the job, the
// 5 / 6.25 / 7.5 kHz raster, the 800 MHz band and the Australian UHF CB band plan.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace km::pmr {

inline constexpr std::int64_t kHzPerMHz = 1000000;
// The radio stores frequencies of the X8 band (806-870 MHz) 800 MHz lower.
inline constexpr std::int64_t kX8OffsetHz = 800000000;
inline constexpr std::uint16_t kX8BandWord = 0x5838;  // "X8"
inline constexpr std::int64_t kX8LowerHz = 806000000;

// A decimal number ("67.5", " 450,0125 ") in millionths, exactly; nullopt for text that is no such
// number, for a part of a millionth, and for values beyond 100 000.
std::optional<std::int64_t> ParseMillionths(std::string_view text);

// Decimal megahertz as typed or read from a file ("450.0125", "450,0125", " 66 "), exactly, in
// hertz. nullopt for text that is no such number, for a part of a hertz, and for values beyond
// 100 GHz.
std::optional<std::int64_t> ParseMegahertz(std::string_view text);

// Megahertz with `decimals` digits after the point ("%.5f" without the locale).
std::string FormatMegahertz(std::int64_t hz, int decimals = 5);
// The shortest text that reads back as the value ("450.0125", "66").
std::string ShortestMegahertz(std::int64_t hz);

// A whole multiple of 5, 6.25 or 7.5 kHz.
bool OnRaster(std::int64_t hz);

struct BandLimits {
    std::int64_t lowerHz = 0;
    std::int64_t upperHz = 0;
    bool x8 = false;  // the 800 MHz band (lower limit 806 MHz)
    bool Contains(std::int64_t hz) const { return hz >= lowerHz && hz <= upperHz; }
    int LowerMHz() const { return static_cast<int>(lowerHz / kHzPerMHz); }
    int UpperMHz() const { return static_cast<int>(upperHz / kHzPerMHz); }
};

// The limits of the job's band word for the dealer's country, or nullopt when the word names no
// band.
std::optional<BandLimits> LimitsOfBand(std::uint16_t bandWord, int countryCode);

// The Australian UHF CB band plan (used when the country code is 1).
inline constexpr int kCountryAustralia = 1;
inline constexpr std::int64_t kCbLowerHz = 476425000;
inline constexpr std::int64_t kCbUpperHz = 477412500;
bool InCbRange(std::int64_t hz);
// The CB channel (1..80) of a frequency in the CB range on the 12.5 kHz raster.
std::optional<int> CbChannel(std::int64_t hz);
// Channels 5 and 35 carry no CTCSS.
bool IsCbNoToneChannel(std::int64_t hz);

}  // namespace km::pmr
