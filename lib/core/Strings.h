#pragma once
// Small text helpers every reader of typed or stored text shares.

#include <algorithm>
#include <string_view>

namespace km {

// The blanks a typed field or a line of a file may carry around its value.
inline constexpr std::string_view kBlanks = " \t";

// `text` without the characters of `blanks` at either end; an all-blank text is empty.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kBlanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Whether `text` is a number of decimal digits: at least one digit and nothing else. The empty
// text is no number.
constexpr bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace km
