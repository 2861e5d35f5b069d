#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "image/WordOrder.h"

namespace km {
namespace {

using testing::FillPattern;

TEST(WordOrder, SwappingTwiceGivesBackTheOriginalBytes) {
    ScratchBuffer scratch;
    FillPattern(scratch, 3);
    const ScratchBuffer original = scratch;
    SwapTrunkWords(scratch);
    EXPECT_NE(scratch, original);
    SwapTrunkWords(scratch);
    EXPECT_EQ(scratch, original);

    SwapPmrWords(scratch, 0x100);
    EXPECT_NE(scratch, original);
    SwapPmrWords(scratch, 0x100);
    EXPECT_EQ(scratch, original);
}

// Offsets of a trunk image: whether the byte pair there is one word of the map.
struct WordCase {
    std::size_t offset;
    bool swapped;
};

TEST(WordOrder, TrunkMapCoversItsRangesInBothNetworkSlots) {
    const WordCase cases[] = {
        {0x0004, true},         {0x001E, true},
        {0x0020, false},  // first range ends at 0x0020
        {0x0024, false},  // job description is text
        {0x0090, true},         {0x20F4, true},
        {0x216E, true},         {0x2170, false},
        {0x2810, true},         {0x2E5E, true},
        {0x30E2, true},         {0x30E4, false},  // sub-bands
        {0x32DC, true},         {0x333E, true},
        {0x3340, false},        {0x2810 + 3072, true},
        {0x2E5E + 3072, true},  {0x32DC + 3072, true},
        {0x2E5C + 3072, false},
    };
    ScratchBuffer scratch;
    FillPattern(scratch, 9);
    const ScratchBuffer before = scratch;
    SwapTrunkWords(scratch);
    for (const WordCase& c : cases) {
        const std::size_t at = kTrunkScratchBase + c.offset;
        if (c.swapped) {
            EXPECT_EQ(scratch.U8(at), before.U8(at + 1)) << std::hex << c.offset;
            EXPECT_EQ(scratch.U8(at + 1), before.U8(at)) << std::hex << c.offset;
        } else {
            EXPECT_EQ(scratch.U16(at), before.U16(at)) << std::hex << c.offset;
        }
    }
    // Nothing outside the trunk job's 16 KiB is touched.
    EXPECT_EQ(scratch.Region(0, kTrunkScratchBase).size(), kTrunkScratchBase);
    EXPECT_TRUE(std::equal(scratch.Bytes().begin(), scratch.Bytes().begin() + kTrunkScratchBase,
                           before.Bytes().begin()));
}

TEST(WordOrder, PmrMapSwapsTheHeaderAndGroupAreaButNotTheToneNames) {
    const WordCase cases[] = {
        {4, true},
        {112, true},
        {114, true},  // header words, format version
        {36, false},  // description
        {10724, true},
        {10734, true},
        {10736, false},  // 6 words of a 32-byte record
        {10724 + 32 * 7, true},
        {10724 + 32 * 7 + 12, false},
        {11068, true},
        {15162, true},  // group area 1
        {15164, false},
        {15642, false},  // CTCSS tone names
    };
    ScratchBuffer scratch;
    FillPattern(scratch, 5);
    const ScratchBuffer before = scratch;
    SwapPmrWords(scratch, 0);
    for (const WordCase& c : cases) {
        if (c.swapped) {
            EXPECT_EQ(scratch.U16(c.offset), before.U16BE(c.offset)) << c.offset;
        } else {
            EXPECT_EQ(scratch.U16(c.offset), before.U16(c.offset)) << c.offset;
        }
    }
}

TEST(WordOrder, SwapOfABufferTooSmallForTheMapThrowsInsteadOfOverrunning) {
    std::vector<std::uint8_t> small(100);
    EXPECT_THROW(SwapTrunkWords(small), std::out_of_range);
    EXPECT_THROW(SwapPmrWords(small), std::out_of_range);
    ScratchBuffer scratch;
    EXPECT_THROW(SwapPmrWords(scratch, ScratchBuffer::kSize - 100), std::out_of_range);
}

}  // namespace
}  // namespace km
