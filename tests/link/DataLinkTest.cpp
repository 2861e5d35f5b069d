#include <gtest/gtest.h>

#include <algorithm>

#include "LinkHarness.h"

namespace km {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::EncodeFrame;
using testing::LinkFixture;

const Bytes kOurLinkRequest = {kLinkRequest, 0x0E, 0x01, 0x01};

// Link messages the programmer sent, each with the virtual time it left.
class TimedLinkFixture : public LinkFixture {
  protected:
    TimedLinkFixture() {
        link.SetFrameMonitor([this](const FrameEvent& event) {
            if (event.direction == FrameDirection::Out) {
                sent.push_back({clock.Now(), Bytes(event.message.begin(), event.message.end())});
            }
        });
    }
    struct Sent {
        std::int64_t at;
        Bytes message;
    };
    std::vector<Sent> SentOfType(std::uint8_t type) const {
        std::vector<Sent> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out),
                     [type](const Sent& s) { return s.message[0] == type; });
        return out;
    }
    std::vector<Sent> sent;
};

TEST_F(TimedLinkFixture, ResetSendsLinkRequestsEvery500ms) {
    OpenAndReset();
    clock.AdvanceBy(1600);
    const auto requests = SentOfType(kLinkRequest);
    ASSERT_EQ(requests.size(), 4u);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].at, static_cast<std::int64_t>(500 * i));
        EXPECT_EQ(requests[i].message, kOurLinkRequest);
    }
    EXPECT_EQ(radio.received.front(), kOurLinkRequest);
    EXPECT_EQ(link.StatusText(), kStatusLostReset);
}

TEST_F(LinkFixture, EstablishmentAndNegotiation) {
    struct Case {
        const char* name;
        std::uint8_t p1, p2;
        Bytes answer;  // our link request after the radio's first
    };
    const Case cases[] = {
        {"same parameters", 0x0E, 0x01, {kLinkRequest, 0x0E, 0x01, 0x01}},
        {"radio asks for less", 0x0A, 0x01, {kLinkRequest, 0x0A, 0x01, 0x01}},
        {"never raised", 0x0F, 0x02, {kLinkRequest, 0x0E, 0x01, 0x01}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.CloseRadioPort();
        OpenAndReset();
        radio.received.clear();
        radio.Send({kLinkRequest, c.p1, c.p2, 0x01});
        clock.AdvanceBy(2);
        EXPECT_EQ(link.State(), LinkState::LostWait);
        ASSERT_EQ(radio.received.size(), 1u);
        EXPECT_EQ(radio.received[0], c.answer);
        // The radio's second request with the negotiated values establishes the link.
        radio.Send({kLinkRequest, c.answer[1], c.answer[2], 0x01});
        clock.AdvanceBy(2);
        EXPECT_EQ(link.State(), LinkState::Established);
        EXPECT_EQ(radio.received.back(), (Bytes{kLinkAcknowledge, 0x01, 0x01, 0x00}));
        EXPECT_EQ(link.StatusText(), kStatusEstablished);
    }
}

TEST_F(LinkFixture, UnansweredRequestsFallBackToLostResetAfterTwenty) {
    OpenAndReset();
    radio.Send({kLinkRequest, 0x0E, 0x01, 0x01});
    clock.AdvanceBy(2);
    ASSERT_EQ(link.State(), LinkState::LostWait);
    clock.AdvanceBy(19 * 500);
    EXPECT_EQ(link.State(), LinkState::LostWait);
    EXPECT_EQ(link.Variables().RequestCount, 19);
    clock.AdvanceBy(500);
    EXPECT_EQ(link.State(), LinkState::LostReset);
    EXPECT_EQ(link.Variables().RequestCount, 0);
}

TEST_F(LinkFixture, SequenceNumbersWrapFrom255To0) {
    Establish();
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(link.QueueMessage(Bytes{0x00, 0x38, static_cast<std::uint8_t>(i)}));
        link.LinkStep();
        clock.AdvanceBy(3);
        ASSERT_TRUE(link.WindowOpen()) << i;
    }
    const auto transfers = radio.OfType(kLinkTransfer);
    ASSERT_EQ(transfers.size(), 256u);
    EXPECT_EQ(transfers[254][1], 255);
    EXPECT_EQ(transfers[255][1], 0);
    EXPECT_EQ(link.Variables().SendSeq, 1);
    EXPECT_EQ(link.Variables().AckedSeq, 1);
    EXPECT_EQ(link.Variables().RetryCount, 0);
}

TEST_F(LinkFixture, ReceiveSequenceWrapsAndRepeatsAreNotDeliveredTwice) {
    testing::FakeHost host;
    ProgrammingMessages messages(link, clock);
    messages.SetHost(&host);
    Bytes seen;
    host.step = [&] { seen.push_back(messages.LastMessage()[6]); };
    Establish();
    for (int i = 0; i < 300; ++i) {
        const auto s = radio.sendSeq;
        radio.SendTransfer({0x00, kInfoReply, 0, 0, 0, 0, static_cast<std::uint8_t>(i)});
        if (i % 7 == 0) {  // the radio missed our acknowledgement and sends it again
            radio.Send({kLinkTransfer, s, 0x01, 0x00, 0x00, kInfoReply, 0, 0, 0, 0,
                        static_cast<std::uint8_t>(i)});
        }
        clock.AdvanceBy(3);
    }
    ASSERT_EQ(seen.size(), 300u);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(seen[i], static_cast<std::uint8_t>(i));
    }
    const auto acks = radio.OfType(kLinkAcknowledge);
    EXPECT_EQ(acks.size(), 300u + 43u);  // one per transfer, repeats included
    EXPECT_EQ(acks.back()[1], static_cast<std::uint8_t>(301));
    EXPECT_EQ(link.State(), LinkState::Established);
}

TEST_F(LinkFixture, OutOfSequenceTransferDropsToLostWait) {
    Establish();
    radio.Send({kLinkTransfer, 0x05, 0x01, 0x00, 0x00, kInfoReply});
    clock.AdvanceBy(2);
    EXPECT_EQ(link.State(), LinkState::LostWait);
    EXPECT_EQ(radio.received.back(), kOurLinkRequest);
}

TEST_F(TimedLinkFixture, OldAcknowledgementResendsAtOnce) {
    Establish();
    radio.autoAcknowledge = false;
    ASSERT_TRUE(link.QueueMessage(Bytes{0x00, 0x67, 0x01, 0x01, 0x00, 0x00}));
    link.LinkStep();
    clock.AdvanceBy(50);
    radio.Send({kLinkAcknowledge, 0x01, 0x01, 0x00});  // N(R) still 1: nothing acknowledged
    clock.AdvanceBy(2);
    const auto transfers = SentOfType(kLinkTransfer);
    ASSERT_EQ(transfers.size(), 2u);
    // On the acknowledgement (50 ms later plus 1 ms on the line), not on the next retry tick.
    EXPECT_EQ(transfers[1].at - transfers[0].at, 51);
    EXPECT_EQ(transfers[1].message, transfers[0].message);
    EXPECT_EQ(link.Variables().RetryCount, 10);
}

TEST_F(TimedLinkFixture, ElevenSendsThenReset) {
    Establish();
    radio.autoAcknowledge = false;
    ASSERT_TRUE(link.QueueMessage(Bytes{0x00, 0x67, 0x01, 0x01, 0x00, 0x00}));
    link.LinkStep();
    const std::int64_t start = clock.Now();
    clock.AdvanceBy(3299);
    EXPECT_EQ(SentOfType(kLinkTransfer).size(), 11u);
    EXPECT_EQ(link.State(), LinkState::Established);
    EXPECT_EQ(link.StatusText(), kStatusRetrying);
    clock.AdvanceBy(2);
    EXPECT_EQ(link.State(), LinkState::LostReset);
    EXPECT_EQ(SentOfType(kLinkRequest).back().at, start + 3300);
    // "Retrying " shows while the remaining budget is 1 to 9, between the established texts.
    const auto retrying = std::count(statuses.begin(), statuses.end(), kStatusRetrying);
    EXPECT_EQ(retrying, 1);
    const auto at = std::find(statuses.begin(), statuses.end(), kStatusRetrying);
    ASSERT_NE(at, statuses.end());
    EXPECT_EQ(*(at - 1), kStatusEstablished);
    EXPECT_EQ(*(at + 1), kStatusLostReset);
}

TEST_F(TimedLinkFixture, SilentRadioIsLostAfterFiveActivityTicks) {
    Establish();
    const std::int64_t start = clock.Now();
    clock.AdvanceBy(74990);
    EXPECT_EQ(link.State(), LinkState::Established);
    const auto keepAlives = SentOfType(kLinkAcknowledge);
    ASSERT_EQ(keepAlives.size(), 5u);  // the one that established the link and four keep-alives
    EXPECT_EQ(keepAlives[4].at - keepAlives[3].at, 15000);
    clock.AdvanceBy(20);
    EXPECT_EQ(link.State(), LinkState::LostReset);
    EXPECT_LE(clock.Now() - start, 75010);
}

TEST_F(LinkFixture, RadioAnsweringKeepAlivesIsNeverLost) {
    Establish();
    radio.autoAcknowledge = false;
    for (int i = 0; i < 20; ++i) {
        clock.AdvanceBy(15000);
        radio.Send({kLinkAcknowledge, 0x01, 0x01, 0x00});
    }
    clock.AdvanceBy(5);
    EXPECT_EQ(link.State(), LinkState::Established);
}

TEST_F(LinkFixture, AcknowledgingAnUnsentTransferResetsTheLink) {
    Establish();
    radio.Send({kLinkAcknowledge, 0x07, 0x01, 0x00});
    clock.AdvanceBy(2);
    EXPECT_EQ(link.State(), LinkState::LostReset);
    EXPECT_EQ(radio.received.back(), kOurLinkRequest);
}

TEST_F(LinkFixture, ShortAndUnknownFramesAreConsumedWithoutEffect) {
    Establish();
    for (const Bytes& frame : {Bytes{}, Bytes{kLinkRequest}, Bytes{kLinkAcknowledge, 9},
                               Bytes{kLinkTransfer, 1, 1}, Bytes{0x09, 1, 2, 3, 4}}) {
        radio.Send(frame);
    }
    clock.AdvanceBy(2);
    EXPECT_EQ(link.State(), LinkState::Established);
    EXPECT_TRUE(radio.received.empty());
    EXPECT_EQ(link.Variables().ReceiveSeq, 1);
}

TEST_F(LinkFixture, EveryFrameOfOneLargeDataEventIsHandedUpInOrder) {
    testing::FakeHost host;
    ProgrammingMessages messages(link, clock);
    messages.SetHost(&host);
    std::vector<std::uint8_t> order;
    host.step = [&] { order.push_back(messages.LastMessage()[6]); };
    Establish();
    // Twelve transfers of 200 bytes (about 2.5 KB, more than the receive ring) in one event.
    Bytes burst;
    for (std::uint8_t i = 0; i < 12; ++i) {
        Bytes message(200, 0x10);  // every byte doubled on the wire
        message[0] = 0x00;
        message[1] = kReadData;
        message[6] = i;
        burst =
            Concat({burst, EncodeFrame(Concat({{kLinkTransfer, radio.sendSeq++, 1, 0}, message}))});
    }
    radio.SendRaw(burst);
    clock.AdvanceBy(2);
    EXPECT_EQ(order, (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(radio.OfType(kLinkAcknowledge).size(), 12u);
}

TEST_F(LinkFixture, ClosedPortIsNeverReopenedAndNothingIsSent) {
    Establish();
    link.CloseRadioPort();
    wire.A().ClearWritten();
    link.LinkReset();
    link.LinkStep();
    clock.AdvanceBy(5000);
    EXPECT_FALSE(link.PortOpen());
    EXPECT_TRUE(wire.A().Written().empty());
    EXPECT_EQ(link.State(), LinkState::LostReset);
}

TEST_F(LinkFixture, OpeningTheOpenPortAgainSucceeds) {
    ASSERT_TRUE(link.OpenRadioPort(2));
    EXPECT_TRUE(link.OpenRadioPort(2));
    EXPECT_EQ(wire.A().ComIndex(), 2);
    EXPECT_TRUE(person.shown.empty());
}

TEST_F(LinkFixture, OpenFailuresAreReported) {
    struct Case {
        OpenOutcome outcome;
        std::string text;
    };
    const Case cases[] = {
        {OpenOutcome::InUse, "COM Port specified already in use.\nPlease change your COM Port."},
        {OpenOutcome::DoesNotExist,
         "COM Port specified does not exist.\nPlease change your COM Port."},
        {OpenOutcome::OtherFailure,
         "COM Port specified does not exist.\nPlease change your COM Port."},
        {OpenOutcome::NoPermission, PortNoPermissionText("wire:COM4")},
    };
    for (const auto& c : cases) {
        person.shown.clear();
        wire.A().SetOpenOutcome(c.outcome);
        EXPECT_FALSE(link.OpenRadioPort(3));
        EXPECT_FALSE(link.PortOpen());
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(person.shown[0].text, c.text);
    }
    EXPECT_NE(PortNoPermissionText("/dev/ttyUSB0").find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(PortNoPermissionText("/dev/ttyUSB0").find("dialout"), std::string::npos);
}

TEST_F(LinkFixture, DelayedCloseWaitsForTheLastMessage) {
    Establish();
    radio.autoAcknowledge = false;
    ASSERT_TRUE(link.QueueMessage(Bytes{0x00, kEndProgramming, 0, 0, 0, 0}));
    link.LinkStep();
    link.ClosePortWhenSent();
    link.LinkReset();  // the progress window closing must not drop the closing message
    clock.AdvanceBy(250);
    EXPECT_TRUE(link.PortOpen());
    EXPECT_TRUE(radio.OfType(kLinkRequest).empty());
    radio.Send({kLinkAcknowledge, 0x02, 0x01, 0x00});
    clock.AdvanceBy(101);
    EXPECT_FALSE(link.PortOpen());
    ASSERT_EQ(radio.OfType(kLinkTransfer).size(), 1u);
    EXPECT_EQ(radio.OfType(kLinkTransfer)[0][5], kEndProgramming);
}

TEST_F(LinkFixture, DelayedCloseGivesUpAfterASecond) {
    Establish();
    radio.autoAcknowledge = false;
    ASSERT_TRUE(link.QueueMessage(Bytes{0x00, kEndProgramming, 0, 0, 0, 0}));
    link.LinkStep();
    link.ClosePortWhenSent();
    clock.AdvanceBy(999);
    EXPECT_TRUE(link.PortOpen());
    clock.AdvanceBy(1);
    EXPECT_FALSE(link.PortOpen());
}

TEST_F(LinkFixture, ReopeningCancelsAPendingClose) {
    Establish();
    link.ClosePortWhenSent();
    EXPECT_TRUE(link.OpenRadioPort(0));
    link.LinkReset();
    clock.AdvanceBy(2000);
    EXPECT_TRUE(link.PortOpen());
    EXPECT_FALSE(radio.OfType(kLinkRequest).empty());
}

}  // namespace
}  // namespace km
