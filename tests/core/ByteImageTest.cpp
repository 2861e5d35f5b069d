#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/ByteImage.h"

namespace km {
namespace {

TEST(ByteImage, WordsInBothByteOrders) {
    ByteImage<8> image;
    image.SetU16(0, 0x1234);
    image.SetU16BE(2, 0x1234);
    EXPECT_EQ(image.U8(0), 0x34);
    EXPECT_EQ(image.U8(1), 0x12);
    EXPECT_EQ(image.U8(2), 0x12);
    EXPECT_EQ(image.U8(3), 0x34);
    EXPECT_EQ(image.U16(0), 0x1234);
    EXPECT_EQ(image.U16BE(2), 0x1234);
}

TEST(ByteImage, AccessOutsideTheImageThrowsInsteadOfTouchingMemory) {
    ByteImage<8> image;
    EXPECT_THROW(image.U8(8), std::out_of_range);
    EXPECT_THROW(image.U16(7), std::out_of_range);
    EXPECT_THROW(image.SetU16BE(7, 1), std::out_of_range);
    EXPECT_THROW(image.Text(4, 5), std::out_of_range);
    EXPECT_THROW(image.Region(static_cast<std::size_t>(-1), 2), std::out_of_range);
    const std::vector<std::uint8_t> three(3, 1);
    EXPECT_THROW(image.Write(6, three), std::out_of_range);
    EXPECT_NO_THROW(image.Write(5, three));
}

TEST(ByteImage, TextIsNulPaddedAndHasNoTerminatorAtFullWidth) {
    ByteImage<10> image;
    image.Fill(0xAA);
    image.SetText(0, 4, "ab");
    EXPECT_EQ(image.U8(2), 0);
    EXPECT_EQ(image.U8(3), 0);
    EXPECT_EQ(image.U8(4), 0xAA);
    image.SetText(4, 4, "abcdefg");
    EXPECT_EQ(image.Text(4, 4), "abcd");
    EXPECT_EQ(image.U8(8), 0xAA);
}

TEST(ByteImage, TextIsStoredAsSingleByteWindows1252) {
    ByteImage<4> image;
    image.SetText(0, 4, "\xE2\x82\xAC\xC3\xA9");  // euro sign, e acute
    EXPECT_EQ(image.U8(0), 0x80);
    EXPECT_EQ(image.U8(1), 0xE9);
    EXPECT_EQ(image.Text(0, 4), "\xE2\x82\xAC\xC3\xA9");
}

}  // namespace
}  // namespace km
