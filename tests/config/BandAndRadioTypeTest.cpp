#include <gtest/gtest.h>

#include "config/BandTable.h"
#include "config/RadioTypes.h"

namespace km {
namespace {

TEST(BandTableTest, CodeWordsDecodeToTheirEntryAndBack) {
    for (int entry = 1; entry <= kBandCount; ++entry) {
        const std::uint16_t word = BandWordOfEntry(entry);
        EXPECT_EQ(BandEntryOfWord(word), entry);
        // The word is the two characters of the text's code, first in the high byte.
        const auto& band = BandTable(0)[static_cast<std::size_t>(entry - 1)];
        EXPECT_EQ(word >> 8, static_cast<unsigned char>(band.text[0])) << band.text;
    }
    // The text of entry 11 starts "UW-L" but its code is "UL".
    EXPECT_EQ(BandWordOfEntry(11), 0x554C);
    EXPECT_EQ(BandEntryOfWord(0x5838), 15);
}

TEST(BandTableTest, UnknownWordsAndEntriesMeanUndefined) {
    for (std::uint16_t word : {0x0000, 0xFFFF, 0x3045, 0x4145, 0x5839}) {
        EXPECT_EQ(BandEntryOfWord(word), 0) << word;
    }
    for (int entry : {-1, 0, 16, 1000}) {
        EXPECT_EQ(BandWordOfEntry(entry), 0) << entry;
    }
}

TEST(BandTableTest, UsaNarrowsThreeBandsOnly) {
    const auto usual = BandTable(1);
    const auto usa = BandTable(kCountryUsa);
    struct Case {
        int entry;
        std::string_view text;
        std::uint32_t lower, upper;
    };
    const Case changed[] = {{2, "AC   150-174 MHz", 150000000, 174000000},
                            {12, "UW   440-512 MHz", 440000000, 512000000},
                            {13, "UW-H 440-512 MHz", 440000000, 512000000}};
    for (int i = 0; i < kBandCount; ++i) {
        const auto& a = usual[static_cast<std::size_t>(i)];
        const auto& b = usa[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.codeWord, b.codeWord);
        bool isChanged = false;
        for (const auto& c : changed) {
            if (c.entry == i + 1) {
                isChanged = true;
                EXPECT_EQ(b.text, c.text);
                EXPECT_EQ(b.lowerHz, c.lower);
                EXPECT_EQ(b.upperHz, c.upper);
            }
        }
        if (!isChanged) {
            EXPECT_EQ(a.text, b.text);
            EXPECT_EQ(a.lowerHz, b.lowerHz);
            EXPECT_EQ(a.upperHz, b.upperHz);
        }
    }
    EXPECT_EQ(usual[1].text, "AC   136-174 MHz");
    EXPECT_EQ(usual[12].upperHz, 520000000u);
}

TEST(RadioTypeTest, CodeDecodingDependsOnTheVersionWord) {
    struct Case {
        std::uint8_t code;
        std::uint8_t variant;
        std::uint16_t version;
        int row;
    };
    const Case cases[] = {
        {3, 0, 5050, 5},   {3, 0, 5066, 4},  {3, 0, 5860, 5},  {3, 0, 5080, 4},   {3, 0, 5071, 5},
        {3, 0, 5062, 5},   {3, 0, 5063, 4},  {5, 0, 5062, 7},  {5, 0, 5070, 6},   {5, 0, 5860, 8},
        {8, 0, 5000, 6},   {8, 0, 5066, 9},  {8, 0, 5860, 4},  {9, 0, 5860, 11},  {10, 0, 5860, 12},
        {11, 0, 5860, 13}, {11, 0, 5066, 6}, {12, 0, 5860, 6}, {255, 0, 5860, 6}, {2, 1, 5860, 3},
        {2, 1, 5066, 2},   {4, 3, 5860, 7},  {4, 3, 5050, 6},  {4, 0, 5860, 6},   {0, 0, 0, 0},
        {1, 0, 0, 1},      {7, 0, 5860, 10}, {6, 0, 5860, 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RadioTypeRowOfCode(c.code, c.variant, c.version), c.row)
            << "code " << int(c.code) << " variant " << int(c.variant) << " version " << c.version;
    }
}

TEST(RadioTypeTest, EveryRowStoresACodeThatReadsBackAsTheSameRow) {
    for (int row = 0; row < kRadioTypeRowCount; ++row) {
        const RadioTypeCode code = RadioTypeCodeOfRow(row);
        EXPECT_EQ(RadioTypeRowOfCode(code.code, code.headVariant, 5860), row) << row;
    }
    EXPECT_EQ(RadioTypeCodeOfRow(-1).code, 4);
    EXPECT_EQ(RadioTypeCodeOfRow(14).code, 4);
}

TEST(RadioTypeTest, MasksAndModes) {
    EXPECT_TRUE(IsKnownRadioTypeMask(32));
    EXPECT_FALSE(IsKnownRadioTypeMask(64));
    EXPECT_FALSE(IsKnownRadioTypeMask(0));
    EXPECT_TRUE(IsPortableRow(8));
    EXPECT_FALSE(IsPortableRow(7));
    EXPECT_EQ(RadioModeMaskOfRow(0), 1);
    EXPECT_EQ(RadioModeMaskOfRow(1), 2);
    EXPECT_EQ(RadioModeMaskOfRow(2), 4);
    EXPECT_EQ(RadioModeMaskOfRow(3), 0x8000);
    EXPECT_EQ(RadioModeMaskOfRow(-1), 0x8000);
}

}  // namespace
}  // namespace km
