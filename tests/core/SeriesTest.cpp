// Texts counted on from a first cell, as a fill series writes them.

#include <gtest/gtest.h>

#include "core/Series.h"

namespace km {
namespace {

TEST(SeriesTest, ANumberAtTheEndCountsOnAndKeepsItsWidth) {
    struct Case {
        std::string first;
        long long steps;
        std::string text;
    };
    const Case cases[] = {
        {"CH 1", 15, "CH 16"},
        {"Rpt 08", 2, "Rpt 10"},
        {"100", 1, "101"},
        {"0099", 1, "0100"},
        {"9999", 1, "10000"},
        {"Depot", 3, "Depot"},
        {"", 2, ""},
        {"A1B2", 8, "A1B10"},
        {"7", -7, "0"},
        {"7", -8, "7"},
        {"x1234567890123456", 1, "x1234567890123456"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountedText(c.first, c.steps), c.text) << c.first << " + " << c.steps;
    }
}

}  // namespace
}  // namespace km
