#include "config/FieldRoutines.h"

#include <limits>

#include "core/Cp1252.h"
#include "core/Strings.h"

namespace km {
namespace {

constexpr std::string_view kRangeMessage = "Value out of range.  Must be between %d and %d";
constexpr std::string_view kTooWideMessage =
    "The Message is too long to fit on the display,                  \n"
    "because of the proportional font used.                  \n"
    "Only the first %d characters will fit across the display.";

// Added below the width warning when a name is left: the user decides once.
constexpr std::string_view kKeepOrShortenQuestion =
    "\n\nYes keeps the name as it is, No shortens it to those characters,\n"
    "Cancel goes back to the name.";

constexpr int kDefaultPixels = 8;
constexpr int kBlankPixels = 8;

bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
bool IsHex(char32_t c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsOneOf(char32_t c, std::u32string_view set) {
    return set.find(c) != std::u32string_view::npos;
}

// A printable character is one the images can hold: Windows-1252 has a byte for it.
bool IsPrintable(char32_t c) {
    if (c < 32 || c == 127) {
        return false;
    }
    if (c == '?') {
        return true;
    }
    std::string utf8;
    // Encode one code point as UTF-8.
    if (c < 0x80) {
        utf8.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
        utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        return false;
    }
    return Utf8ToCp1252(utf8) != "?";
}

// The character sets of the filters, named once; the kind numbers of the two variants map here.
enum class KeySet {
    DialDigits,
    Printable,
    Digits,
    Hex,
    HexV,
    HexVIDial,
    DialDash,
    DigitsAtoE,
    None
};

KeySet SetOfKind(int kind, bool withLength) {
    switch (kind) {
        case 0:
            return KeySet::DialDigits;
        case 1:
            return KeySet::Printable;
        case 2:
            return KeySet::Digits;
        case 3:
            return KeySet::Hex;
        case 4:
            return withLength ? KeySet::HexV : KeySet::HexVIDial;
        case 5:
            return withLength ? KeySet::None : KeySet::DialDash;
        case 6:
            return withLength ? KeySet::DigitsAtoE : KeySet::None;
        case 7:
            return KeySet::DigitsAtoE;
        default:
            return KeySet::None;
    }
}

bool InSet(KeySet set, char32_t c) {
    switch (set) {
        case KeySet::DialDigits:
            return IsDigit(c) || IsOneOf(c, U"#*");
        case KeySet::Printable:
            return IsPrintable(c);
        case KeySet::Digits:
            return IsDigit(c);
        case KeySet::Hex:
            return IsHex(c);
        case KeySet::HexV:
            return IsHex(c) || IsOneOf(c, U"Vv");
        case KeySet::HexVIDial:
            return IsHex(c) || IsOneOf(c, U"VvIi#*-");
        case KeySet::DialDash:
            return IsDigit(c) || IsOneOf(c, U"#*-");
        case KeySet::DigitsAtoE:
            return IsDigit(c) || IsOneOf(c, U"ABCDEabcde");
        case KeySet::None:
            return false;
    }
    return false;
}

bool Refuse(Person& person) {
    person.Beep();
    return false;
}

std::size_t TrailingBlanks(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == ' ') {
        ++count;
    }
    return count;
}

}  // namespace

std::string FormatNumbers(std::string_view pattern, std::initializer_list<std::int64_t> values) {
    std::string result;
    auto value = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 2) == "%d" && value != values.end()) {
            result += std::to_string(*value++);
            ++i;
        } else {
            result.push_back(pattern[i]);
        }
    }
    return result;
}

std::int64_t IntegerOfField(std::string_view text) {
    text = Trim(text, " ");
    if (text.empty()) {
        return 0;
    }
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return kNotANumberValue;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(static_cast<unsigned char>(c))) {
            return kNotANumberValue;
        }
        const int digit = c - '0';
        if (value > (kMax - digit) / 10) {
            // Still a number, only too long: it must fail every range, so saturate.
            value = kMax;
        } else {
            value = value * 10 + digit;
        }
    }
    return negative ? -value : value;
}

bool RangeCheck(std::string_view text, std::int64_t low, std::int64_t high, Person& person) {
    if (text.empty()) {
        return true;
    }
    const std::int64_t value = IntegerOfField(text);
    if (value >= low && value <= high) {
        return true;
    }
    person.Error(FormatNumbers(kRangeMessage, {low, high}));
    return false;
}

bool KeyAllowed(int kind, char32_t key, Person& person) {
    if (key < 32) {
        return true;
    }
    return InSet(SetOfKind(kind, false), key) || Refuse(person);
}

bool KeyAllowedWithin(int kind, char32_t key, std::size_t currentLength, std::size_t maxLength,
                      Person& person) {
    if (key < 32) {
        return true;
    }
    if (currentLength >= maxLength) {
        return Refuse(person);
    }
    return InSet(SetOfKind(kind, true), key) || Refuse(person);
}

int CharacterPixels(unsigned char c) {
    static constexpr struct {
        int pixels;
        std::string_view characters;
    } kWidths[] = {
        {4, "Iil;.|"},
        {6, "j"},
        {7, "rt"},
        {9, "ceksvxz/"},
        {10, "023456789FJLabdghnopqu*-"},
        {11, "EPSXZy"},
        {12, "BCDGHKNOQTUY#+"},
        {13, "AMRV"},
        {14, "m"},
        {15, "w"},
        {17, "W"},
    };
    for (const auto& width : kWidths) {
        if (width.characters.find(static_cast<char>(c)) != std::string_view::npos) {
            return width.pixels;
        }
    }
    return kDefaultPixels;  // blank, "1", "f" and every character not listed
}

int DisplayWidth(std::string_view utf8) {
    const std::string text = Utf8ToCp1252(utf8);
    int sum = 0;
    for (char c : text) {
        sum += CharacterPixels(static_cast<unsigned char>(c));
    }
    return sum - kBlankPixels * static_cast<int>(TrailingBlanks(text));
}

bool CheckDisplayWidth(std::string_view utf8, bool hmFPlusHead, Person& person) {
    const auto message = DisplayWidthMessage(utf8, hmFPlusHead);
    if (message) {
        person.Warn(*message);
    }
    return !message;
}

std::size_t FittingCharacters(std::string_view utf8) {
    const std::string text = Utf8ToCp1252(utf8);
    std::size_t fitting = 0;
    int sum = 0;
    while (fitting < text.size()) {
        sum += CharacterPixels(static_cast<unsigned char>(text[fitting]));
        if (sum > kDisplayWidthPixels) {
            break;
        }
        ++fitting;
    }
    // Blanks at the end of the part that fits show nothing, so they are not counted.
    return fitting - TrailingBlanks(std::string_view(text).substr(0, fitting));
}

std::optional<std::string> DisplayWidthMessage(std::string_view utf8, bool hmFPlusHead) {
    if (hmFPlusHead || DisplayWidth(utf8) <= kDisplayWidthPixels) {
        return std::nullopt;
    }
    return FormatNumbers(kTooWideMessage, {static_cast<std::int64_t>(FittingCharacters(utf8))});
}

bool LeaveDisplayName(std::string& name, std::string& kept, bool hmFPlusHead, Person& person) {
    const auto warning = name == kept ? std::nullopt : DisplayWidthMessage(name, hmFPlusHead);
    if (!warning) {
        return true;
    }
    switch (person.Show(BoxKind::Warning, *warning + std::string(kKeepOrShortenQuestion),
                        Buttons::YesNoCancel)) {
        case Answer::Yes:
            kept = name;
            return true;
        case Answer::No:
            name = Cp1252ToUtf8(Utf8ToCp1252(name).substr(0, FittingCharacters(name)));
            return true;
        default:
            return false;
    }
}

}  // namespace km
