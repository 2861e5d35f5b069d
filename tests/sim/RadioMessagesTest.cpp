#include "sim/RadioMessages.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace km::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RadioMessagesTest : public ::testing::Test {
  protected:
    RadioMessagesTest() {
        std::vector<std::uint8_t> pattern(2 * kSectorSize);
        std::iota(pattern.begin(), pattern.end(), 0);
        flash.Store(0, pattern);
    }

    std::vector<Bytes> Answer(const Bytes& message) {
        std::vector<Bytes> out;
        for (auto& reply : handler.Handle(message)) {
            out.push_back(reply.message);
        }
        return out;
    }

    Flash flash{16};
    RadioAnswers answers{4, true, 3000, "VERSION", "IDENTITY"};
    std::vector<std::string> log;
    MessageHandler handler{flash, answers,
                           [this](const std::string& line) { log.push_back(line); }};
};

TEST_F(RadioMessagesTest, IdentifyReplyCarriesTypeCodeAndOptionBoard) {
    EXPECT_EQ(Answer({0x00, 0x67, 0x01, 0x01, 0x00, 0x00}),
              (std::vector<Bytes>{{0x00, 0x7A, 0x00, 0x04, 0x00, 0x01}}));
}

// A read answers with a header, the data in pieces of 128 bytes and an end message; the
// programmer expects ceil(size / 128) + 2 messages and collects exactly the bytes asked for.
TEST_F(RadioMessagesTest, ReadAnswersHeaderPiecesAndEnd) {
    const struct {
        std::uint16_t block;
        std::uint16_t size;
        std::size_t messages;
        std::size_t lastPiece;
    } cases[] = {{7, 512, 6, 128}, {640, 300, 5, 44}, {1, 0, 2, 0}, {3, 16383, 130, 127}};
    for (const auto& c : cases) {
        const auto replies =
            Answer({0x00, 0x6E, 0x00, 0x00, 0x00, 0x04, static_cast<std::uint8_t>(c.block >> 8),
                    static_cast<std::uint8_t>(c.block), static_cast<std::uint8_t>(c.size >> 8),
                    static_cast<std::uint8_t>(c.size)});
        ASSERT_EQ(replies.size(), c.messages) << c.size;
        EXPECT_EQ(Bytes(replies.front().begin(), replies.front().begin() + 4),
                  (Bytes{0x00, 0x81, 0x00, 0x00}));
        EXPECT_EQ(replies.back(), (Bytes{0x00, 0x81, 0x00, 0x00, 0x00, 0x00}));
        Bytes data;
        for (std::size_t i = 1; i + 1 < replies.size(); ++i) {
            EXPECT_EQ(MessageU16(replies[i], 2), i) << "sequence";
            EXPECT_EQ(MessageU16(replies[i], 4), replies[i].size() - 6) << "length field";
            data.insert(data.end(), replies[i].begin() + 6, replies[i].end());
        }
        if (c.messages > 2) {
            EXPECT_EQ(replies[c.messages - 2].size() - 6, c.lastPiece);
        }
        EXPECT_EQ(data, flash.Read(c.block * kBlockSize, c.size)) << c.size;
    }
}

// A radio may cut its data into other pieces; the bytes and their order stay the same.
TEST_F(RadioMessagesTest, ReadPiecesOfAnotherSize) {
    for (std::size_t pieceSize : {std::size_t{200}, std::size_t{64}, std::size_t{1000}}) {
        RadioAnswers other = answers;
        other.readPieceSize = pieceSize;
        MessageHandler h(flash, other, [](const std::string&) {});
        const auto replies =
            h.Handle(Bytes{0x00, 0x6E, 0x00, 0x00, 0x00, 0x04, 0x00, 0x03, 0x01, 0xF4});
        Bytes data;
        for (std::size_t i = 1; i + 1 < replies.size(); ++i) {
            EXPECT_LE(replies[i].message.size() - 6, std::min(pieceSize, kMaxPieceSize));
            data.insert(data.end(), replies[i].message.begin() + 6, replies[i].message.end());
        }
        EXPECT_EQ(data, flash.Read(3 * kBlockSize, 500)) << pieceSize;
    }
}

TEST_F(RadioMessagesTest, WriteProgramsDataBlocksAtTheStartBlock) {
    flash.EraseSector(5);
    EXPECT_TRUE(Answer({0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x02, 0x02, 0x80}).empty());
    EXPECT_TRUE(handler.WriteOpen());
    for (std::uint8_t sequence : {1, 2}) {
        Bytes block{0x00, 0x70, 0x00, sequence, 0x00, 0x80};
        block.resize(6 + 128, static_cast<std::uint8_t>(0xA0 + sequence));
        EXPECT_TRUE(Answer(block).empty());
    }
    Answer({0x00, 0x70, 0x00, 0x00, 0x00, 0x00});
    EXPECT_FALSE(handler.WriteOpen());
    EXPECT_EQ(flash.At(640 * kBlockSize), 0xA1);
    EXPECT_EQ(flash.At(640 * kBlockSize + 128), 0xA2);
    EXPECT_EQ(flash.At(640 * kBlockSize + 256), 0xFF);
    EXPECT_TRUE(flash.Faults().empty());
    EXPECT_TRUE(handler.ProtocolFaults().empty());
}

TEST_F(RadioMessagesTest, WriteWithoutEraseIsAFlashFault) {
    Answer({0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x10});
    Bytes block{0x00, 0x70, 0x00, 0x01, 0x00, 0x80};
    block.resize(6 + 128, 0x00);
    Answer(block);
    ASSERT_FALSE(flash.Faults().empty());
    EXPECT_EQ(flash.Faults()[0].kind, FaultKind::WriteOntoUnerased);
    EXPECT_EQ(flash.Faults()[0].address, 0x10 * kBlockSize);
}

// What a confused programmer may send is recorded, never written where it does not belong.
TEST_F(RadioMessagesTest, RecordsProtocolFaultsWithoutTouchingFlash) {
    const struct {
        const char* what;
        std::vector<Bytes> messages;
        const char* fault;
    } cases[] = {
        {"data without a header",
         {{0x00, 0x70, 0x00, 0x01, 0x00, 0x02, 0x01, 0x02}},
         "outside a write"},
        {"sequence beyond the count",
         {{0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x02, 0x80},
          {0x00, 0x70, 0x00, 0x02, 0x00, 0x01, 0x00}},
         "outside the announced"},
        {"end before all blocks",
         {{0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x03, 0x02, 0x80},
          {0x00, 0x70, 0x00, 0x00, 0x00, 0x00}},
         "ended after 0 of 3"},
        {"short read request", {{0x00, 0x6E, 0x00, 0x00}}, "ReadRequest shorter"},
        {"short erase request", {{0x00, 0x74, 0x00}}, "EraseRequest shorter"},
        {"unknown code", {{0x00, 0x55}}, "unknown request"},
        {"no leading zero", {{0x01, 0x67}}, "leading 00"},
    };
    for (const auto& c : cases) {
        Flash fresh(16);
        MessageHandler h(fresh, answers, [](const std::string&) {});
        for (const auto& m : c.messages) {
            EXPECT_TRUE(h.Handle(m).empty()) << c.what;
        }
        ASSERT_FALSE(h.ProtocolFaults().empty()) << c.what;
        EXPECT_NE(h.ProtocolFaults().back().find(c.fault), std::string::npos)
            << c.what << ": " << h.ProtocolFaults().back();
        EXPECT_EQ(fresh.Read(640 * kBlockSize, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF})) << c.what;
    }
}

TEST_F(RadioMessagesTest, EraseAnswersAfterTheEraseTime) {
    const auto replies = handler.Handle(Bytes{0x00, 0x74, 0x00, 0x00, 0x00, 0x01, 0x05});
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].message, (Bytes{0x00, 0x87, 0x00, 0x00, 0x00, 0x01, 0x05}));
    EXPECT_EQ(replies[0].delayMs, 3000);
    EXPECT_EQ(flash.Read(5 * kSectorSize, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(flash.EraseCount(), 1u);
}

TEST_F(RadioMessagesTest, InfoRepliesForItemsThreeAndSix) {
    const struct {
        std::uint8_t item;
        std::string text;
    } cases[] = {{3, "VERSION"}, {6, "IDENTITY"}, {9, ""}};
    for (const auto& c : cases) {
        const auto replies = Answer({0x00, 0x6B, c.item});
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(Bytes(replies[0].begin(), replies[0].begin() + 4),
                  (Bytes{0x00, 0x7E, 0x00, c.item}));
        EXPECT_EQ(std::string(replies[0].begin() + 6, replies[0].end()), c.text);
    }
}

TEST_F(RadioMessagesTest, EndProgrammingIsCountedAndNotAnswered) {
    EXPECT_TRUE(Answer({0x00, 0x38, 0x00, 0x00, 0x00, 0x00}).empty());
    EXPECT_EQ(handler.EndProgrammingCount(), 1);
    EXPECT_EQ(log.back(), "EndProgramming");
}

}  // namespace
}  // namespace km::sim
