#include "sim/RadioLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/VirtualClock.h"

namespace km::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kLinkRequest14{0x01, 0x0E, 0x01, 0x01};

class RadioLinkTest : public ::testing::Test {
  protected:
    explicit RadioLinkTest(std::uint8_t p1 = 14)
        : link(clock, p1, 1,
               {[this](std::span<const std::uint8_t> f) { sent.emplace_back(f.begin(), f.end()); },
                [this](std::span<const std::uint8_t> m) {
                    received.emplace_back(m.begin(), m.end());
                },
                [this] { ++lost; }, [](const std::string&) {}}) {}

    // The programmer's side of setting the link up: its request, then the same request again
    // once it has seen the radio's. The programmer's acknowledgement is left to each test.
    void Establish() {
        link.FrameReceived(kLinkRequest14);
        link.FrameReceived(kLinkRequest14);
        ASSERT_EQ(link.State(), RadioLinkState::Up);
        sent.clear();
    }
    void Transfer(std::uint8_t ns, Bytes message) {
        Bytes frame{0x04, ns, 0x01, 0x00};
        frame.insert(frame.end(), message.begin(), message.end());
        link.FrameReceived(frame);
    }

    VirtualClock clock;
    std::vector<Bytes> sent;
    std::vector<Bytes> received;
    int lost = 0;
    RadioLink link;
};

TEST_F(RadioLinkTest, OffersItsOwnRequestThenAcknowledgesTheMatchingOne) {
    link.FrameReceived(kLinkRequest14);
    EXPECT_EQ(link.State(), RadioLinkState::Offered);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], kLinkRequest14);
    link.FrameReceived(kLinkRequest14);
    EXPECT_EQ(link.State(), RadioLinkState::Up);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], (Bytes{0x02, 0x01, 0x01, 0x00}));  // N(R) 1, credit 1
}

class RadioLinkParameterTest : public RadioLinkTest {
  protected:
    RadioLinkParameterTest() : RadioLinkTest(10) {}
};

TEST_F(RadioLinkParameterTest, OffersItsSmallerParameterUntilTheProgrammerTakesIt) {
    link.FrameReceived(kLinkRequest14);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0x01, 0x0A, 0x01, 0x01}));
    link.FrameReceived(kLinkRequest14);  // the programmer has not lowered yet
    EXPECT_EQ(link.State(), RadioLinkState::Offered);
    EXPECT_EQ(sent.back(), (Bytes{0x01, 0x0A, 0x01, 0x01}));
    link.FrameReceived(Bytes{0x01, 0x0A, 0x01, 0x01});
    EXPECT_EQ(link.State(), RadioLinkState::Up);
    EXPECT_EQ(sent.back(), (Bytes{0x02, 0x01, 0x01, 0x00}));
}

TEST_F(RadioLinkTest, AcknowledgesTransfersAndHandsEachUpOnce) {
    Establish();
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});
    Transfer(1, {0x00, 0x67});
    Transfer(1, {0x00, 0x67});  // a repeat: the acknowledgement was lost
    Transfer(2, {0x00, 0x38});
    EXPECT_EQ(received, (std::vector<Bytes>{{0x00, 0x67}, {0x00, 0x38}}));
    EXPECT_EQ(sent,
              (std::vector<Bytes>{
                  {0x02, 0x02, 0x01, 0x00}, {0x02, 0x02, 0x01, 0x00}, {0x02, 0x03, 0x01, 0x00}}));
}

TEST_F(RadioLinkTest, SequenceNumbersWrapFrom255To0) {
    Establish();
    for (int i = 1; i <= 256; ++i) {
        Transfer(static_cast<std::uint8_t>(i), {0x00, 0x38});
    }
    EXPECT_EQ(received.size(), 256u);
    EXPECT_EQ(sent.back(), (Bytes{0x02, 0x01, 0x01, 0x00}));
}

TEST_F(RadioLinkTest, TransferOutOfSequenceTakesTheLinkDown) {
    Establish();
    Transfer(5, {0x00, 0x67});
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(link.State(), RadioLinkState::Offered);
    EXPECT_EQ(sent.back(), kLinkRequest14);
    EXPECT_EQ(lost, 1);
}

TEST_F(RadioLinkTest, SendsRepliesOneAtATimeAsCreditArrives) {
    Establish();
    link.QueueMessage({0x00, 0x7A});
    EXPECT_TRUE(sent.empty()) << "no credit before the programmer acknowledges the set-up";
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});
    link.QueueMessage({0x00, 0x81});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0x04, 0x01, 0x01, 0x00, 0x00, 0x7A}));
    link.FrameReceived(Bytes{0x02, 0x02, 0x01, 0x00});
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], (Bytes{0x04, 0x02, 0x01, 0x00, 0x00, 0x81}));
    link.FrameReceived(Bytes{0x02, 0x03, 0x01, 0x00});
    EXPECT_TRUE(link.Idle());
}

TEST_F(RadioLinkTest, RetransmitsUntilAcknowledgedAndGivesUpAfterElevenSends) {
    Establish();
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});
    link.QueueMessage({0x00, 0x7A});
    clock.AdvanceBy(kRadioRetryMs);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], sent[0]);
    // An acknowledgement of the old number asks for the transfer again at once.
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});
    EXPECT_EQ(sent.size(), 3u);
    clock.AdvanceBy(kRadioRetryMs * 8);
    EXPECT_EQ(sent.size(), 11u);
    EXPECT_EQ(link.State(), RadioLinkState::Up);
    clock.AdvanceBy(kRadioRetryMs);
    EXPECT_EQ(link.State(), RadioLinkState::Offered);
    EXPECT_EQ(sent.back(), kLinkRequest14);
    EXPECT_EQ(lost, 1);
}

TEST_F(RadioLinkTest, AnswersKeepAlivesOnly) {
    Establish();
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});  // the set-up's acknowledgement
    EXPECT_TRUE(sent.empty());
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});  // 15 s later: a keep-alive
    EXPECT_EQ(sent, (std::vector<Bytes>{{0x02, 0x01, 0x01, 0x00}}));
}

TEST_F(RadioLinkTest, LinkRequestWhileUpOffersAgain) {
    Establish();
    link.FrameReceived(Bytes{0x02, 0x01, 0x01, 0x00});
    link.QueueMessage({0x00, 0x81});
    link.FrameReceived(kLinkRequest14);
    EXPECT_EQ(link.State(), RadioLinkState::Offered);
    EXPECT_EQ(sent.back(), kLinkRequest14);
    EXPECT_EQ(lost, 1);
    link.FrameReceived(kLinkRequest14);
    EXPECT_EQ(link.State(), RadioLinkState::Up);
    EXPECT_TRUE(link.Idle()) << "replies of the old link are dropped";
}

TEST_F(RadioLinkTest, IgnoresShortAndUnknownFramesAndAsksForALinkWhenDown) {
    link.FrameReceived(Bytes{});
    link.FrameReceived(Bytes{0x04, 0x01});
    link.FrameReceived(Bytes{0x09, 0x00, 0x00, 0x00});
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(link.State(), RadioLinkState::Down);
    Transfer(1, {0x00, 0x67});
    EXPECT_EQ(sent, (std::vector<Bytes>{kLinkRequest14}));
    EXPECT_TRUE(received.empty());
}

}  // namespace
}  // namespace km::sim
