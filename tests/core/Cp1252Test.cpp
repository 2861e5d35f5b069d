#include <gtest/gtest.h>

#include <string>

#include "core/Cp1252.h"

namespace km {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnencodableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");        // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF\xFE"), "??");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "??");
}

}  // namespace
}  // namespace km
