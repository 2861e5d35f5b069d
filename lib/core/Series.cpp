#include "core/Series.h"

namespace km {

std::string CountedText(std::string_view first, long long steps) {
    std::size_t digits = first.size();
    while (digits > 0 && first[digits - 1] >= '0' && first[digits - 1] <= '9') {
        --digits;
    }
    // Numbers of up to 15 digits count; a longer run of digits repeats like any text.
    constexpr std::size_t kMostDigits = 15;
    if (digits == first.size() || first.size() - digits > kMostDigits) {
        return std::string(first);
    }
    const std::string_view number = first.substr(digits);
    long long value = 0;
    for (char c : number) {
        value = value * 10 + (c - '0');
    }
    const long long next = value + steps;
    if (next < 0) {
        return std::string(first);
    }
    std::string text = std::to_string(next);
    if (text.size() < number.size()) {
        text.insert(0, number.size() - text.size(), '0');
    }
    return std::string(first.substr(0, digits)) + text;
}

}  // namespace km
