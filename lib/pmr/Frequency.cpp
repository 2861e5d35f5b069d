#include "pmr/Frequency.h"

#include <algorithm>

#include "config/BandTable.h"
#include "core/Strings.h"

namespace km::pmr {
namespace {

constexpr std::int64_t kLargestHz = 100000000000;  // 100 GHz: no radio comes near it
constexpr int kHzDigits = 6;                       // decimals of a megahertz that make a hertz

}  // namespace

std::optional<std::int64_t> ParseMegahertz(std::string_view text) {
    return ParseMillionths(text);
}

std::optional<std::int64_t> ParseMillionths(std::string_view text) {
    text = Trim(text);
    const std::size_t point = text.find_first_of(".,");
    std::string_view whole = text.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // Either side of the point may be empty (".5", "146."), not both.
    if ((whole.empty() && fraction.empty()) || (!whole.empty() && !AllDigits(whole)) ||
        (!fraction.empty() && !AllDigits(fraction))) {
        return std::nullopt;
    }
    // Digits past the hertz must be zeros.
    while (fraction.size() > kHzDigits && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    while (whole.size() > 1 && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    if (fraction.size() > kHzDigits || whole.size() > 6) {
        return std::nullopt;
    }
    std::int64_t hz = 0;
    for (char c : whole) {
        hz = hz * 10 + (c - '0');
    }
    for (int i = 0; i < kHzDigits; ++i) {
        hz = hz * 10 + (i < static_cast<int>(fraction.size()) ? fraction[i] - '0' : 0);
    }
    if (hz > kLargestHz) {
        return std::nullopt;
    }
    return hz;
}

std::string FormatMegahertz(std::int64_t hz, int decimals) {
    const bool negative = hz < 0;
    std::int64_t magnitude = negative ? -hz : hz;
    std::int64_t unit = 1;
    for (int i = decimals; i < kHzDigits; ++i) {
        unit *= 10;
    }
    // Rounded half away from zero, as printf rounds these exact values.
    const std::int64_t scaled = (magnitude + unit / 2) / unit;
    std::int64_t perMHz = 1;
    for (int i = 0; i < decimals; ++i) {
        perMHz *= 10;
    }
    std::string text = std::to_string(scaled / perMHz);
    if (decimals > 0) {
        std::string fraction = std::to_string(scaled % perMHz);
        fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
        text += "." + fraction;
    }
    return negative ? "-" + text : text;
}

std::string ShortestMegahertz(std::int64_t hz) {
    std::string text = FormatMegahertz(hz, kHzDigits);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

bool OnRaster(std::int64_t hz) {
    return hz % 5000 == 0 || hz % 6250 == 0 || hz % 7500 == 0;
}

std::optional<BandLimits> LimitsOfBand(std::uint16_t bandWord, int countryCode) {
    const int entry = BandEntryOfWord(bandWord);
    if (entry == 0) {
        return std::nullopt;
    }
    const BandEntry& band = BandTable(countryCode)[static_cast<std::size_t>(entry - 1)];
    return BandLimits{band.lowerHz, band.upperHz, band.lowerHz == kX8LowerHz};
}

bool InCbRange(std::int64_t hz) {
    return hz >= kCbLowerHz && hz <= kCbUpperHz;
}

std::optional<int> CbChannel(std::int64_t hz) {
    if (!InCbRange(hz) || hz % 12500 != 0) {
        return std::nullopt;
    }
    if (hz % 25000 == 0) {
        return static_cast<int>((hz - 476400000) / 25000);
    }
    return static_cast<int>((hz - 476412500) / 25000 + 40);
}

bool IsCbNoToneChannel(std::int64_t hz) {
    return hz == 476525000 || hz == 477275000;
}

}  // namespace km::pmr
