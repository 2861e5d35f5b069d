#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ScriptedPerson.h"
#include "config/FieldRoutines.h"

namespace km {
namespace {

using testing::ScriptedPerson;

TEST(FieldRoutinesTest, IntegerOfField) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::string_view text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {" 42 ", 42},
        {"-7", -7},
        {"+7", 7},
        {"3276050999", 3276050999},  // past 32 bits
        {"99999999999999999999999", kMax},
        {"-99999999999999999999999", -kMax},
        {"abc", 256},
        {"12a", 256},
        {"-", 256},
        {"1 2", 256},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntegerOfField(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(FieldRoutinesTest, RangeCheck) {
    struct Case {
        std::string_view text;
        std::int64_t low, high;
        bool passes;
    };
    const Case cases[] = {
        {"", 1, 5, true},
        {"1", 1, 5, true},
        {"5", 1, 5, true},
        {"0", 1, 5, false},
        {"6", 1, 5, false},
        {"-3", -5, 5, true},
        {"x", 0, 300, true},
        {"x", 0, 255, false},
        {"99999999999999999999", 0, 65535, false},
        {"4294967296", 0, 65535, false},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        EXPECT_EQ(RangeCheck(c.text, c.low, c.high, person), c.passes) << c.text;
        if (c.passes) {
            EXPECT_TRUE(person.shown.empty());
        } else {
            ASSERT_EQ(person.shown.size(), 1u);
            EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
            EXPECT_EQ(person.shown[0].text, "Value out of range.  Must be between " +
                                                std::to_string(c.low) + " and " +
                                                std::to_string(c.high));
        }
    }
}

// Accepted characters of each filter kind, probed over printable ASCII.
std::string AcceptedAscii(int kind, bool withLength) {
    std::string accepted;
    ScriptedPerson person;
    for (char32_t c = 32; c < 127; ++c) {
        const bool ok =
            withLength ? KeyAllowedWithin(kind, c, 0, 10, person) : KeyAllowed(kind, c, person);
        if (ok) {
            accepted.push_back(static_cast<char>(c));
        }
    }
    EXPECT_EQ(person.beeps, 95 - static_cast<int>(accepted.size()));
    return accepted;
}

TEST(FieldRoutinesTest, KeyFilterKindsOfBothVariants) {
    const std::string digits = "0123456789";
    const std::string hex = digits + "ABCDEFabcdef";
    std::string printable;
    for (char c = 32; c < 127; ++c) {
        printable.push_back(c);
    }
    auto sorted = [](std::string s) {
        std::sort(s.begin(), s.end());
        return s;
    };
    struct Case {
        int kind;
        std::string withLength;
        std::string withoutLength;
    };
    const Case cases[] = {
        {0, sorted(digits + "#*"), sorted(digits + "#*")},
        {1, printable, printable},
        {2, digits, digits},
        {3, sorted(hex), sorted(hex)},
        {4, sorted(hex + "Vv"), sorted(hex + "VvIi#*-")},
        {5, "", sorted(digits + "#*-")},
        {6, sorted(digits + "ABCDEabcde"), ""},
        {7, sorted(digits + "ABCDEabcde"), sorted(digits + "ABCDEabcde")},
        {9, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AcceptedAscii(c.kind, true), c.withLength) << "kind " << c.kind;
        EXPECT_EQ(AcceptedAscii(c.kind, false), c.withoutLength) << "kind " << c.kind;
    }
}

TEST(FieldRoutinesTest, ControlKeysAlwaysPassAndTheLengthLimitStopsTheRest) {
    ScriptedPerson person;
    for (char32_t control : {U'\b', U'\r', U'\x1b', U'\x16'}) {
        EXPECT_TRUE(KeyAllowed(2, control, person));
        EXPECT_TRUE(KeyAllowedWithin(2, control, 5, 5, person));
    }
    EXPECT_TRUE(KeyAllowedWithin(2, U'7', 4, 5, person));
    EXPECT_FALSE(KeyAllowedWithin(2, U'7', 5, 5, person));
    EXPECT_FALSE(KeyAllowedWithin(1, U'a', 9, 5, person));
    EXPECT_EQ(person.beeps, 2);
    // Printable means a character the images can hold.
    EXPECT_TRUE(KeyAllowed(1, U'\u00e9', person));
    EXPECT_TRUE(KeyAllowed(1, U'\u20ac', person));
    EXPECT_FALSE(KeyAllowed(1, U'\u4e2d', person));
    EXPECT_FALSE(KeyAllowed(1, U'\x7f', person));
}

TEST(FieldRoutinesTest, CharacterWidths) {
    struct Case {
        std::string_view characters;
        int pixels;
    };
    const Case cases[] = {{"Iil;.|", 4},   {"j", 6},
                          {"rt", 7},       {" 1f~@_", 8},
                          {"ceksvxz/", 9}, {"023456789FJLabdghnopqu*-", 10},
                          {"EPSXZy", 11},  {"BCDGHKNOQTUY#+", 12},
                          {"AMRV", 13},    {"m", 14},
                          {"w", 15},       {"W", 17}};
    for (const auto& c : cases) {
        for (char ch : c.characters) {
            EXPECT_EQ(CharacterPixels(static_cast<unsigned char>(ch)), c.pixels) << ch;
        }
    }
}

TEST(FieldRoutinesTest, DisplayWidthCheck) {
    const std::string tooWide =
        "The Message is too long to fit on the display,                  \n"
        "because of the proportional font used.                  \n"
        "Only the first %d characters will fit across the display.";
    struct Case {
        std::string text;
        bool fits;
        int fitting;  // characters named by the warning
    };
    const Case cases[] = {
        {"", true, 0},
        // 7 x 13 + 12 = 103 pixels.
        {"AAAAAAAB", true, 0},
        {"AAAAAAAB     ", true, 0},  // trailing blanks do not count
        {"AAAAAAAC ", true, 0},
        {"AAAAAAABi", false, 8},    // 107 pixels; the 8 characters up to 103 fit
        {"AAAAAAA BBB", false, 7},  // the blank after the seventh A fits but shows nothing
        {"WWWWWWWWWWWW", false, 6},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        EXPECT_EQ(CheckDisplayWidth(c.text, false, person), c.fits) << c.text;
        if (c.fits) {
            EXPECT_TRUE(person.shown.empty()) << c.text;
        } else {
            ASSERT_EQ(person.shown.size(), 1u) << c.text;
            EXPECT_EQ(person.shown[0].kind, BoxKind::Warning);
            const auto at = tooWide.find("%d");
            EXPECT_EQ(person.shown[0].text,
                      tooWide.substr(0, at) + std::to_string(c.fitting) + tooWide.substr(at + 2))
                << c.text;
        }
        ScriptedPerson hmfPlus;
        EXPECT_TRUE(CheckDisplayWidth(c.text, true, hmfPlus));
        EXPECT_TRUE(hmfPlus.shown.empty());
    }
    EXPECT_EQ(DisplayWidth("AAAAAAAB"), 103);
    EXPECT_EQ(DisplayWidth("AAAAAAAB   "), 103);
}

// A name too wide for the display is asked about once: Yes keeps it (and it is not asked about
// again), No shortens it to the characters that fit, Cancel goes back to it unchanged.
TEST(FieldRoutinesTest, ANameTooWideIsKeptOrShortenedAtTheUsersChoice) {
    const struct {
        Answer answer;
        bool left;
        std::string name;  // after leaving
        std::string kept;
    } cases[] = {
        {Answer::Yes, true, "WWWWWWWWWWWW", "WWWWWWWWWWWW"},
        {Answer::No, true, "WWWWWW", ""},
        {Answer::Cancel, false, "WWWWWWWWWWWW", ""},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        person.answers = {c.answer};
        std::string name = "WWWWWWWWWWWW";
        std::string kept;
        EXPECT_EQ(LeaveDisplayName(name, kept, false, person), c.left);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(kept, c.kept);
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].buttons, Buttons::YesNoCancel);
        // The warning as it stands, the choice added below it.
        EXPECT_EQ(person.shown[0].text.rfind(*DisplayWidthMessage("WWWWWWWWWWWW", false), 0), 0u);
        EXPECT_NE(person.shown[0].text.find("No shortens it"), std::string::npos);
        // Leaving it again asks nothing when it was kept or shortened.
        if (c.left) {
            EXPECT_TRUE(LeaveDisplayName(name, kept, false, person));
            EXPECT_EQ(person.shown.size(), 1u);
        }
    }
    // Another name is asked about again; a name that fits, or any name on the HM-F+ head, never.
    ScriptedPerson person;
    person.answers = {Answer::No};
    std::string kept = "WWWWWWWWWWWW";
    std::string name = "AAAAAAA BBB";
    EXPECT_TRUE(LeaveDisplayName(name, kept, false, person));
    EXPECT_EQ(name, "AAAAAAA");
    std::string fits = "AAAAAAAB";
    std::string wide = "WWWWWWWWWWWW";
    std::string none;
    EXPECT_TRUE(LeaveDisplayName(fits, none, false, person));
    EXPECT_TRUE(LeaveDisplayName(wide, none, true, person));
    EXPECT_EQ(person.shown.size(), 1u);
}

TEST(FieldRoutinesTest, FormatNumbers) {
    EXPECT_EQ(FormatNumbers("between %d and %d", {-5, 70000}), "between -5 and 70000");
    EXPECT_EQ(FormatNumbers("no values %d", {}), "no values %d");
}

}  // namespace
}  // namespace km
