#pragma once
// The small checks every form applies to its fields: the range check with its message, the
// integer value of a field, the key filters applied to each typed character, and the check that a
// text fits the width of the radio's display in its proportional font.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/Person.h"

namespace km {

// Replaces each "%d" of the pattern by the next value, in order.
std::string FormatNumbers(std::string_view pattern, std::initializer_list<std::int64_t> values);

// The value a range check sees for text that is not a number.
inline constexpr std::int64_t kNotANumberValue = 256;

// The decimal value of a field: empty text gives 0, text that is not a number gives 256, and a
// number too long for 64 bits gives the largest (or smallest) 64-bit value, so it is out of any
// range. Leading and trailing blanks are ignored.
std::int64_t IntegerOfField(std::string_view text);

// Empty text passes; otherwise the value must lie in low..high, or the range message is shown
// (error, OK) and the check fails.
bool RangeCheck(std::string_view text, std::int64_t low, std::int64_t high, Person& person);

// Key filters. A form names a filter by its kind number; the two variants number some sets
// differently. A refused character beeps and must be dropped; control characters (below 32)
// always pass, so editing keys keep working.
//
// Variant with a length limit (KeyAllowedWithin): 0 digits, "#", "*"; 1 any printable character;
// 2 digits; 3 hexadecimal digits; 4 hexadecimal digits and V/v; 6 and 7 digits, A..E and a..e.
// Variant without (KeyAllowed): 0..3 as above; 4 hexadecimal digits, V/v, I/i, "#", "*", "-";
// 5 digits, "#", "*", "-"; 7 digits, A..E and a..e.
bool KeyAllowed(int kind, char32_t key, Person& person);
// Refuses every printable character once `currentLength` has reached `maxLength`.
bool KeyAllowedWithin(int kind, char32_t key, std::size_t currentLength, std::size_t maxLength,
                      Person& person);

// The radio's display is 103 pixels wide.
inline constexpr int kDisplayWidthPixels = 103;
int CharacterPixels(unsigned char cp1252);
// Pixels of a text, blanks at its end not counted.
int DisplayWidth(std::string_view utf8);
// True when the text fits; otherwise warns how many characters fit and returns false. The
// HM-F+ control unit has a wider display on which every text fits.
bool CheckDisplayWidth(std::string_view utf8, bool hmFPlusHead, Person& person);
// The warning of CheckDisplayWidth, or nullopt when the text fits.
std::optional<std::string> DisplayWidthMessage(std::string_view utf8, bool hmFPlusHead);
// How many characters of a text fit across the display (blanks at the end of them not
// counted).
std::size_t FittingCharacters(std::string_view utf8);
// Leaving a name that may not fit across the display: the width warning, with the question
// whether to keep the name as it is (the display shows its first characters) or to shorten it
// to the characters that fit (`name` becomes them). A name the user chose to keep is remembered
// in `kept` and not asked about again. False when the user goes back to the name.
bool LeaveDisplayName(std::string& name, std::string& kept, bool hmFPlusHead, Person& person);

}  // namespace km
