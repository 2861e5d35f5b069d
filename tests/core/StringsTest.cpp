// The text helpers every reader of typed or stored text shares.

#include <gtest/gtest.h>

#include <string_view>

#include "core/Strings.h"

namespace km {
namespace {

TEST(StringsTest, TrimDropsTheBlanksAtEitherEndOnly) {
    struct Case {
        std::string_view text;
        std::string_view blanks;
        std::string_view trimmed;
    };
    const Case cases[] = {
        {"", kBlanks, ""},
        {"   ", kBlanks, ""},
        {" \t \t", kBlanks, ""},
        {"146.5", kBlanks, "146.5"},
        {" \t146.5\t ", kBlanks, "146.5"},
        {"  CH 1  ", kBlanks, "CH 1"},
        {"a", kBlanks, "a"},
        // Only the blanks asked for: a tab stays where only spaces are trimmed.
        {"\t 12 \t", " ", "\t 12 \t"},
        {"  12\t  ", " ", "12\t"},
        {"\r\nCOM1\r\n", " \t\r\n", "COM1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Trim(c.text, c.blanks), c.trimmed) << '"' << c.text << '"';
    }
}

TEST(StringsTest, AllDigitsWantsAtLeastOneDigitAndNothingElse) {
    struct Case {
        std::string_view text;
        bool digits;
    };
    const Case cases[] = {
        {"", false},  // the empty text is no number
        {"0", true},   {"0123456789", true}, {" 1", false}, {"1 ", false}, {"-1", false},
        {"+1", false}, {"1.5", false},       {"1a", false}, {"/", false},  {":", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AllDigits(c.text), c.digits) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace km
