#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "link/Crc16.h"
#include "link/Frame.h"

namespace km {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const Bytes& data) {
    const auto frame = FrameEncoder::Encode(data);
    return Bytes(frame.Bytes().begin(), frame.Bytes().end());
}

Bytes DataOf(const LinkMessageBuffer& buffer) {
    return Bytes(buffer.Data().begin(), buffer.Data().end());
}

std::vector<Bytes> PopAll(FrameDecoder& decoder) {
    std::vector<Bytes> frames;
    LinkMessageBuffer buffer;
    while (decoder.PopFrame(buffer)) {
        frames.push_back(DataOf(buffer));
    }
    return frames;
}

Bytes Counting(std::size_t n, std::uint8_t first = 0) {
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) {
        data[i] = static_cast<std::uint8_t>(first + i);
    }
    return data;
}

TEST(Crc16UsbTest, StandardCheckValueAndFrameTrailer) {
    constexpr std::string_view kDigits = "123456789";
    const Bytes digits(kDigits.begin(), kDigits.end());
    EXPECT_EQ(Crc16Usb(digits), 0xB4C8);
    EXPECT_EQ(Crc16Usb(Bytes{0x01, 0x0E, 0x01, 0x01, 0x10, 0x03}), 0x098A);
}

TEST(FrameEncoderTest, WorkedExamples) {
    struct Case {
        Bytes message;
        Bytes wire;
    };
    const Case cases[] = {
        {{0x01, 0x0E, 0x01, 0x01},
         {0x16, 0x10, 0x02, 0x01, 0x0E, 0x01, 0x01, 0x10, 0x03, 0x8A, 0x09}},
        {{0x10}, {0x16, 0x10, 0x02, 0x10, 0x10, 0x10, 0x03, 0xC2, 0x3B}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(c.message), c.wire);
        FrameDecoder decoder;
        decoder.Push(c.wire);
        EXPECT_EQ(PopAll(decoder), std::vector<Bytes>{c.message});
    }
}

TEST(FrameEncoderTest, RefusesMoreThanOneFrameOfData) {
    EXPECT_NO_THROW(FrameEncoder::Encode(Bytes(kMaxFrameData, 0x10)));
    EXPECT_THROW(FrameEncoder::Encode(Bytes(kMaxFrameData + 1, 0)), std::length_error);
}

TEST(FrameDecoderTest, LongestFrameIsAcceptedOneMoreIsDropped) {
    FrameDecoder decoder;
    const Bytes longest = Counting(248);
    Bytes tooLong = Counting(249);
    Bytes wire = Encode(longest);
    // The encoder refuses 249 bytes, so the oversized frame is put together by hand.
    Bytes oversized = {kSyn, kDle, kStx};
    std::uint16_t check = kCrcInitial;
    for (std::uint8_t b : tooLong) {
        oversized.push_back(b);
        check = Crc16UsbUpdate(check, b);
        if (b == kDle) {
            oversized.push_back(kDle);
        }
    }
    check = Crc16UsbUpdate(Crc16UsbUpdate(check, kDle), kEtx) ^ kCrcFinalXor;
    oversized.insert(oversized.end(), {kDle, kEtx, static_cast<std::uint8_t>(check & 0xFF),
                                       static_cast<std::uint8_t>(check >> 8)});
    const Bytes after = {0x02, 0x05, 0x01, 0x00};
    decoder.Push(oversized);
    decoder.Push(wire);
    decoder.Push(Encode(after));
    EXPECT_EQ(PopAll(decoder), (std::vector<Bytes>{longest, after}));
}

TEST(FrameDecoderTest, DamagedInputIsDiscardedAndTheNextGoodFrameDelivered) {
    const Bytes message = {0x04, 0x01, 0x01, 0x00, 0x00, 0x67, 0x10};
    const Bytes good = Encode(message);
    Bytes swapped = good;
    std::swap(swapped[swapped.size() - 1], swapped[swapped.size() - 2]);
    Bytes strayAfterDle = {kSyn, kDle, kStx, 0x01, kDle, 0x55, 0x02};
    Bytes repeatedSyn = {kSyn, kSyn, kSyn};
    repeatedSyn.insert(repeatedSyn.end(), good.begin() + 1, good.end());
    Bytes synRestartsAfterDle = {kSyn, kDle, kSyn};
    synRestartsAfterDle.insert(synRestartsAfterDle.end(), good.begin() + 1, good.end());
    Bytes noiseFirst = {0x00, 0xFF, kDle, kEtx, kStx};
    noiseFirst.insert(noiseFirst.end(), good.begin(), good.end());

    struct Case {
        const char* name;
        Bytes input;
        std::size_t frames;
    };
    const Case cases[] = {
        {"swapped check bytes", swapped, 0},       {"stray byte after DLE", strayAfterDle, 0},
        {"repeated SYN", repeatedSyn, 1},          {"SYN after SYN DLE", synRestartsAfterDle, 1},
        {"noise before the frame", noiseFirst, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameDecoder decoder;
        decoder.Push(c.input);
        decoder.Push(good);
        const auto frames = PopAll(decoder);
        ASSERT_EQ(frames.size(), c.frames + 1);
        for (const auto& frame : frames) {
            EXPECT_EQ(frame, message);
        }
    }
}

TEST(FrameDecoderTest, FramesStraddlingTheRingEndAreCopiedOutWhole) {
    FrameDecoder decoder;
    // Frames of 100 data bytes take 101 ring bytes; delivering each before the next lets the
    // positions run round the 1024-byte ring several times.
    for (int i = 0; i < 40; ++i) {
        const Bytes data = Counting(100, static_cast<std::uint8_t>(i * 7));
        decoder.Push(Encode(data));
        decoder.Push(Encode(Bytes{0x02, static_cast<std::uint8_t>(i), 0x01, 0x00}));
        const auto frames = PopAll(decoder);
        ASSERT_EQ(frames.size(), 2u) << i;
        EXPECT_EQ(frames[0], data) << i;
        EXPECT_EQ(frames[1][1], i);
    }
}

TEST(FrameDecoderTest, UndeliveredFramesAreNeverOverwritten) {
    FrameDecoder decoder;
    std::vector<Bytes> sent;
    for (int i = 0; i < 8; ++i) {  // 8 x 249 ring bytes: more than the ring holds
        sent.push_back(Counting(248, static_cast<std::uint8_t>(i)));
        decoder.Push(Encode(sent.back()));
    }
    EXPECT_LT(decoder.UsedBytes(), kReceiveRingSize);
    const auto frames = PopAll(decoder);
    ASSERT_GE(frames.size(), 3u);
    ASSERT_LT(frames.size(), sent.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i], sent[i]) << i;
    }
    // Once delivered, the ring takes frames again.
    decoder.Push(Encode(sent[0]));
    EXPECT_EQ(PopAll(decoder), std::vector<Bytes>{sent[0]});
}

TEST(FrameDecoderTest, ResetDropsFramesNotYetHandedUp) {
    FrameDecoder decoder;
    const Bytes frame = Encode({0x01, 0x0E, 0x01, 0x01});
    decoder.Push(frame);
    decoder.Push(Bytes(frame.begin(), frame.begin() + 5));
    decoder.Reset();
    EXPECT_EQ(decoder.FrameCount(), 0u);
    EXPECT_EQ(decoder.State(), DecoderState::Hunt);
    decoder.Push(frame);
    EXPECT_EQ(PopAll(decoder).size(), 1u);
}

}  // namespace
}  // namespace km
