#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

#include "LinkHarness.h"

namespace km {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::FakeHost;
using testing::LinkFixture;

class MessagesFixture : public LinkFixture {
  protected:
    MessagesFixture() { messages.SetHost(&host); }

    // Runs the host's first step once the link is up, as the link poll does.
    void Start() {
        Establish();
        host.RunStep();
    }

    // The radio answers a ReadRequest with a header, the given data pieces and an end message.
    void AnswerReadsWith(std::vector<Bytes> pieces) {
        radio.onMessage = [this, pieces](const Bytes& message) {
            if (message.size() < 2 || message[1] != kReadRequest) {
                return;
            }
            radio.SendTransfer({0x00, kReadData, 0x00, 0x00, 0x00, 0x04, 0xAA, 0xBB});
            std::uint8_t sequence = 1;
            for (const auto& piece : pieces) {
                radio.SendTransfer(
                    Concat({{0x00, kReadData, 0x00, sequence++, 0x00, 0x80}, piece}));
            }
            radio.SendTransfer({0x00, kReadData, 0x00, sequence, 0x00, 0x00});
        };
    }

    FakeHost host;
    ProgrammingMessages messages{link, clock};
    int step = 1;
};

TEST(MessageBuildersTest, RequestsByteForByte) {
    EXPECT_EQ(IdentifyRequestMessage(), (Bytes{0x00, 0x67, 0x01, 0x01, 0x00, 0x00}));
    EXPECT_EQ(ReadRequestMessage(7, 512),
              (Bytes{0x00, 0x6E, 0x00, 0x00, 0x00, 0x04, 0x00, 0x07, 0x02, 0x00}));
    EXPECT_EQ(EraseRequestMessage(5), (Bytes{0x00, 0x74, 0x00, 0x00, 0x00, 0x01, 0x05}));
    EXPECT_EQ(InfoRequestMessage(3), (Bytes{0x00, 0x6B, 0x03}));
    EXPECT_EQ(EndProgrammingMessage(), (Bytes{0x00, 0x38, 0x00, 0x00, 0x00, 0x00}));
    const struct {
        std::uint16_t size;
        int expected;
    } reads[] = {{0, 2}, {1, 3}, {128, 3}, {129, 4}, {512, 6}, {16384, 130}};
    for (const auto& r : reads) {
        EXPECT_EQ(ExpectedReadMessages(r.size), r.expected) << r.size;
    }
}

TEST_F(MessagesFixture, WritesTravelAsHeaderDataBlocksAndEndByteForByte) {
    struct Case {
        std::uint16_t block;
        std::uint16_t size;
        Bytes header;
        int dataBlocks;
    };
    const Case cases[] = {
        {544, 0, {0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x02, 0x20}, 1},
        {640, 300, {0x00, 0x70, 0x00, 0x00, 0x00, 0x04, 0x00, 0x03, 0x02, 0x80}, 3},
    };
    auto buffer = messages.WriteBuffer();
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        link.CloseRadioPort();
        radio.messages.clear();
        radio.expectedSeq = 1;
        host.steps = host.progress = 0;
        step = 1;
        host.step = [&] {
            if (step == 1) {
                if (!messages.BeginSend()) {
                    return;
                }
                messages.StartWrite(c.block, c.size);
                messages.SendWindowOpen();
                step = 2;
            } else if (step == 2 && !messages.WriteInProgress()) {
                step = 3;
            }
        };
        Start();
        clock.AdvanceBy(100);
        EXPECT_EQ(step, 3);
        ASSERT_EQ(radio.messages.size(), static_cast<std::size_t>(c.dataBlocks + 2));
        EXPECT_EQ(radio.messages.front(), c.header);
        for (int d = 1; d <= c.dataBlocks; ++d) {
            const Bytes& sent = radio.messages[d];
            ASSERT_EQ(sent.size(), 134u);
            EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 6),
                      (Bytes{0x00, 0x70, 0x00, static_cast<std::uint8_t>(d), 0x00, 0x80}));
            EXPECT_EQ(Bytes(sent.begin() + 6, sent.end()),
                      Bytes(buffer.begin() + (d - 1) * 128, buffer.begin() + d * 128));
        }
        EXPECT_EQ(radio.messages.back(), (Bytes{0x00, 0x70, 0x00, 0x00, 0x00, 0x00}));
        EXPECT_EQ(host.progress, c.dataBlocks);
        EXPECT_EQ(host.steps, 2);  // the start and once after the end block was acknowledged
    }
}

TEST_F(MessagesFixture, ReadOf512BytesExpectsSixMessages) {
    std::vector<Bytes> pieces;
    for (std::uint8_t p = 0; p < 4; ++p) {
        pieces.push_back(Bytes(128, static_cast<std::uint8_t>(0x40 + p)));
    }
    AnswerReadsWith(pieces);
    std::array<std::uint8_t, 1024> destination{};
    destination.fill(0xEE);
    std::vector<ReadProgress> progress;
    host.step = [&] {
        if (step == 1) {
            if (!messages.BeginSend() || !messages.StartRead(0x0280, 512, destination)) {
                return;
            }
            EXPECT_EQ(messages.ReadMessagesExpected(), 6);
            step = 2;
        } else if (step == 2) {
            progress.push_back(messages.AcceptReadData());
            if (progress.back() == ReadProgress::Complete) {
                step = 3;
            }
        }
    };
    Start();
    clock.AdvanceBy(100);
    EXPECT_EQ(radio.messages.front(),
              (Bytes{0x00, 0x6E, 0x00, 0x00, 0x00, 0x04, 0x02, 0x80, 0x02, 0x00}));
    ASSERT_EQ(progress.size(), 6u);
    EXPECT_EQ(progress.back(), ReadProgress::Complete);
    EXPECT_TRUE(messages.Ready());
    EXPECT_EQ(messages.ReadBytesStored(), 512u);
    for (std::size_t i = 0; i < 512; ++i) {
        ASSERT_EQ(destination[i], 0x40 + i / 128) << i;
    }
    EXPECT_EQ(destination[512], 0xEE);
}

TEST_F(MessagesFixture, ReadsEndOnTheEndMessageAndNeverWritePastTheirSize) {
    struct Case {
        const char* name;
        std::vector<Bytes> pieces;
        ReadProgress last;
        std::size_t stored;
    };
    const Case cases[] = {
        {"pieces of another size",
         {Bytes(200, 1), Bytes(200, 2), Bytes(112, 3)},
         ReadProgress::Complete,
         512},
        {"smaller pieces than the message count allows for",
         {Bytes(64, 1), Bytes(64, 2), Bytes(64, 3), Bytes(64, 4), Bytes(64, 5), Bytes(64, 6),
          Bytes(64, 7), Bytes(64, 8)},
         ReadProgress::Complete,
         512},
        {"one piece too many",
         {Bytes(128, 1), Bytes(128, 2), Bytes(128, 3), Bytes(128, 4), Bytes(128, 5)},
         ReadProgress::Overflow,
         512},
        {"a piece too long",
         {Bytes(128, 1), Bytes(128, 2), Bytes(128, 3), Bytes(200, 4)},
         ReadProgress::Overflow,
         384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.CloseRadioPort();
        radio.expectedSeq = 1;
        radio.sendSeq = 1;
        AnswerReadsWith(c.pieces);
        std::array<std::uint8_t, 1024> destination{};
        std::vector<ReadProgress> progress;
        step = 1;
        host.step = [&] {
            if (step == 1) {
                if (messages.BeginSend() && messages.StartRead(1, 512, destination)) {
                    step = 2;
                }
            } else if (step == 2) {
                progress.push_back(messages.AcceptReadData());
                if (progress.back() != ReadProgress::Counted) {
                    step = 3;
                }
            }
        };
        Start();
        clock.AdvanceBy(100);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), c.last);
        EXPECT_EQ(messages.ReadBytesStored(), c.stored);
        EXPECT_TRUE(std::all_of(destination.begin() + 512, destination.end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

// A radio may send the last piece of a read whole, up to the 128-byte block: the bytes past the
// size asked for are dropped, and the read completes without an error. The replies are handed to
// the message layer as the data link delivers them.
TEST_F(MessagesFixture, PaddedLastPieceIsTakenUpToTheSizeAskedFor) {
    for (const std::uint16_t size : {16383, 2816, 8000}) {
        SCOPED_TRACE(size);
        link.CloseRadioPort();
        radio.expectedSeq = 1;
        radio.sendSeq = 1;
        std::vector<std::uint8_t> buffer(16384 + 128, 0x11);
        std::vector<ReadProgress> progress;
        step = 1;
        host.step = [&] {
            if (step == 1) {
                if (messages.BeginSend() &&
                    messages.StartRead(1, size, std::span(buffer).first(size))) {
                    step = 2;
                }
            } else if (step == 2) {
                progress.push_back(messages.AcceptReadData());
            }
        };
        Start();
        auto deliver = [this](const Bytes& message) {
            messages.MessageReceived(Concat({{kLinkTransfer, 0x01, 0x01, 0x00}, message}));
        };
        deliver({0x00, kReadData, 0x00, 0x00, 0x00, 0x04, 0xAA, 0xBB});
        const std::size_t padded = (size + 127u) / 128u * 128u;
        for (std::size_t from = 0; from < padded; from += 128) {
            Bytes piece{0x00, kReadData, 0x00, static_cast<std::uint8_t>(from / 128 + 1),
                        0x00, 0x80};
            for (std::size_t i = from; i < from + 128; ++i) {
                piece.push_back(i < size ? static_cast<std::uint8_t>(i % 251) : 0xEE);
            }
            deliver(piece);
        }
        deliver({0x00, kReadData, 0x00, 0x00, 0x00, 0x00});
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(std::count(progress.begin(), progress.end(), ReadProgress::Complete), 1);
        EXPECT_EQ(std::count(progress.begin(), progress.end(), ReadProgress::Overflow), 0);
        EXPECT_EQ(messages.ReadBytesStored(), size);
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(buffer[i], i % 251) << i;
        }
        EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(),
                                [](std::uint8_t b) { return b == 0x11; }));
    }
}

TEST_F(MessagesFixture, StepWithoutCreditSetsReadyAndSendsWhenCreditArrives) {
    Establish();
    radio.credit = 0;
    ASSERT_TRUE(link.QueueMessage(Bytes{0x00, 0x6B, 0x06}));
    link.LinkStep();
    clock.AdvanceBy(2);
    ASSERT_FALSE(link.Credit());
    host.step = [&] {
        if (step == 1 && messages.BeginSend() && messages.Identify()) {
            step = 2;
        }
    };
    host.RunStep();
    EXPECT_TRUE(messages.Ready());
    clock.AdvanceBy(1000);
    EXPECT_EQ(radio.messages.size(), 1u);
    radio.Send({kLinkAcknowledge, radio.expectedSeq, 0x01, 0x00});
    clock.AdvanceBy(3);
    EXPECT_FALSE(messages.Ready());
    EXPECT_EQ(step, 2);
    ASSERT_EQ(radio.messages.size(), 2u);
    EXPECT_EQ(radio.messages[1], IdentifyRequestMessage());
}

TEST_F(MessagesFixture, RepliesReachOnlyARunningOperation) {
    Establish();
    const struct {
        OperationKind pending;
        Bytes message;
        int steps;
    } cases[] = {
        {OperationKind::None, {0x00, kReadData, 0, 0, 0, 0}, 0},
        {OperationKind::ReadTrunk, {0x00, kReadData, 0, 0, 0, 0}, 1},
        {OperationKind::ReadTrunk, {0x00, 0x55, 0, 0, 0, 0}, 0},  // not a reply
        {OperationKind::ReadTrunk, {0x00}, 0},                    // too short to carry a code
        {OperationKind::RadioInformation, {0x00, kEraseDone, 0, 0, 0, 1}, 1},
    };
    for (const auto& c : cases) {
        host.pending = c.pending;
        host.steps = 0;
        radio.SendTransfer(c.message);
        clock.AdvanceBy(2);
        EXPECT_EQ(host.steps, c.steps) << int(c.message.size());
    }
    host.step = [&] { EXPECT_EQ(messages.AcceptReadData(), ReadProgress::NotReadData); };
    radio.SendTransfer({0x00, kReadData, 0x00});  // shorter than a reply
    clock.AdvanceBy(2);
}

TEST_F(MessagesFixture, RadioLinkRequestAbandonsOnlyLongOperations) {
    const struct {
        OperationKind pending;
        int abandoned;
    } cases[] = {{OperationKind::ReadTrunk, 1},
                 {OperationKind::ProgramPmr, 1},
                 {OperationKind::UpgradeSoftware, 1},
                 {OperationKind::RadioInformation, 0},
                 {OperationKind::None, 0}};
    for (const auto& c : cases) {
        link.CloseRadioPort();
        host.pending = c.pending;
        host.radioRequests = 0;
        Establish();
        radio.Send({kLinkRequest, 0x0E, 0x01, 0x01});
        clock.AdvanceBy(2);
        EXPECT_EQ(link.State(), LinkState::LostReset);
        EXPECT_EQ(host.radioRequests, c.abandoned) << static_cast<int>(c.pending);
    }
}

TEST_F(MessagesFixture, ResetAbandonsAWriteSoNoStaleBlockFollowsOnTheNextLink) {
    radio.autoAcknowledge = false;
    host.step = [&] {
        if (step == 1 && messages.BeginSend()) {
            messages.StartWrite(100, 1000);
            messages.SendWindowOpen();
            step = 2;
        }
    };
    Establish();
    radio.autoAcknowledge = false;
    host.RunStep();
    clock.AdvanceBy(2);
    ASSERT_TRUE(messages.WriteInProgress());
    const int resetsBefore = host.resets;
    link.LinkReset();
    EXPECT_EQ(host.resets, resetsBefore + 1);
    EXPECT_FALSE(messages.WriteInProgress());
    radio.received.clear();
    radio.Send({kLinkRequest, 0x0E, 0x01, 0x01});
    clock.AdvanceBy(2);
    radio.Send({kLinkAcknowledge, 0x01, 0x01, 0x00});
    clock.AdvanceBy(1000);
    EXPECT_EQ(link.State(), LinkState::Established);
    EXPECT_TRUE(radio.OfType(kLinkTransfer).empty());
}

TEST_F(MessagesFixture, SilentRadioFailsTheOperation) {
    const struct {
        const char* name;
        bool erase;
        std::int64_t quiet;
    } cases[] = {{"identify", false, 10000}, {"erase", true, 30000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.CloseRadioPort();
        host.failures = 0;
        step = 1;
        host.step = [&] {
            if (step == 1 && messages.BeginSend() &&
                (c.erase ? messages.EraseSector(9) : messages.Identify())) {
                step = 2;
            }
        };
        Start();
        radio.answerKeepAlives = true;  // the link itself stays up
        clock.AdvanceBy(c.quiet - 10);
        EXPECT_EQ(host.failures, 0);
        clock.AdvanceBy(20);
        EXPECT_EQ(host.failures, 1);
        clock.AdvanceBy(60000);
        EXPECT_EQ(host.failures, 1);
        EXPECT_EQ(link.State(), LinkState::Established);
    }
}

// A port that fails under a running operation is heard at once, at every kind of moment: the
// link is lost, the port closed, nothing more is written or retried, and the operation is told
// once, even when a question box was open at that moment.
TEST_F(MessagesFixture, PortFailureUnderAnOperationIsHeardAtOnceAndOnlyOnce) {
    enum class Moment { Write, Read, Question, ClosedWithoutAWord };
    const struct {
        const char* name;
        Moment moment;
        PortError error;
        PortError heard;
    } cases[] = {
        {"write block outstanding", Moment::Write, PortError::DeviceGone, PortError::DeviceGone},
        {"waiting for a read", Moment::Read, PortError::ReadFailed, PortError::ReadFailed},
        {"question box open", Moment::Question, PortError::DeviceGone, PortError::DeviceGone},
        {"port closed without a word", Moment::ClosedWithoutAWord, PortError::DeviceGone,
         PortError::DeviceGone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.CloseRadioPort();
        host.portFailures.clear();
        host.failures = 0;
        radio.sendSeq = radio.expectedSeq = 1;  // the radio's side of a new link
        step = 1;
        bool answered = false;
        host.step = [&] {
            if (step == 1 && messages.BeginSend()) {
                if (c.moment == Moment::Write) {
                    messages.StartWrite(100, 1000);
                    messages.SendWindowOpen();
                } else {
                    static_cast<void>(messages.Identify());
                }
                step = 2;
            } else if (step == 2 && c.moment == Moment::Question && !answered) {
                answered = true;
                clock.Post(500, [&] { wire.A().Fail(c.error); });
                clock.AdvanceBy(5000);  // the box stays open past the loss
                EXPECT_TRUE(host.portFailures.empty());
            }
        };
        radio.onMessage = [&](const Bytes& message) {
            if (c.moment == Moment::Question && message == IdentifyRequestMessage()) {
                radio.SendTransfer({0x00, kIdentifyReply, 0x00, 0x00, 0x00, 0x00});
            }
        };
        Establish();
        radio.autoAcknowledge = c.moment != Moment::Write;
        host.RunStep();
        clock.AdvanceBy(50);
        if (c.moment == Moment::ClosedWithoutAWord) {
            wire.A().Close();
        } else if (c.moment != Moment::Question) {
            wire.A().Fail(c.error);
        }
        const std::size_t written = wire.A().Written().size();
        clock.AdvanceBy(400);
        EXPECT_EQ(host.portFailures, std::vector<PortError>{c.heard});
        EXPECT_FALSE(link.PortOpen());
        EXPECT_EQ(link.State(), LinkState::LostReset);
        EXPECT_EQ(link.LastPortError(), c.heard);
        EXPECT_FALSE(messages.WriteInProgress());
        clock.AdvanceBy(60000);
        EXPECT_EQ(host.portFailures.size(), 1u);
        EXPECT_EQ(host.failures, 0);
        EXPECT_EQ(wire.A().Written().size(), written);
        // The port opens again for the next command and the link comes up on it.
        Establish();
        EXPECT_TRUE(link.PortOpen());
    }
}

// A question box opened inside a step runs a nested event loop. The link must stay alive
// meanwhile, and what the radio sends must wait until the step returns.
TEST_F(MessagesFixture, QuestionInsideAStepKeepsTheLinkAliveWithoutReenteringIt) {
    std::vector<int> seen;
    host.step = [&] {
        if (step == 1) {
            if (messages.BeginSend() && messages.Identify()) {
                step = 2;
            }
        } else if (step == 2 && messages.ReplyIs(kIdentifyReplyPrefix)) {
            step = 3;
            // The radio goes on talking while the box is open for two minutes.
            clock.Post(1000, [&] { radio.SendTransfer({0x00, kInfoReply, 0, 0, 0, 0, 1}); });
            clock.Post(2000, [&] { radio.SendTransfer({0x00, kInfoReply, 0, 0, 0, 0, 2}); });
            clock.AdvanceBy(120000);
        } else if (step == 3 && messages.ReplyIs(kInfoReplyPrefix)) {
            seen.push_back(messages.Payload()[0]);
        }
    };
    radio.onMessage = [&](const Bytes& message) {
        if (message == IdentifyRequestMessage()) {
            radio.SendTransfer({0x00, kIdentifyReply, 0x00, 0x00, 0x00, 0x00});
        }
    };
    Start();
    radio.answerKeepAlives = true;
    clock.AdvanceBy(10);
    EXPECT_EQ(host.maxDepth, 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_EQ(link.State(), LinkState::Established);
    EXPECT_EQ(host.failures, 0);
    // Both transfers were acknowledged while the box was open, and keep-alives went on.
    EXPECT_EQ(link.Variables().ReceiveSeq, 4);
    EXPECT_GE(radio.OfType(kLinkAcknowledge).size(), 8u);
}

TEST_F(MessagesFixture, StepStartedFromOutsideTheLinkIsNotReenteredEither) {
    int replies = 0;
    host.step = [&] {
        if (step == 1) {
            if (messages.BeginSend() && messages.Identify()) {
                step = 2;
                clock.AdvanceBy(5000);  // a box opened right after sending; the reply comes
            }
        } else if (step == 2 && messages.ReplyIs(kIdentifyReplyPrefix)) {
            ++replies;
        }
    };
    radio.onMessage = [&](const Bytes& message) {
        if (message == IdentifyRequestMessage()) {
            radio.SendTransfer({0x00, kIdentifyReply, 0x00, 0x00, 0x00, 0x00});
        }
    };
    Establish();
    messages.RunStepFromOutside([&] { host.RunStep(); });
    EXPECT_EQ(host.maxDepth, 1);
    EXPECT_EQ(replies, 1);
}

TEST_F(MessagesFixture, StepThatThrowsLeavesTheLinkWorking) {
    int replies = 0;
    host.step = [&] {
        if (++replies == 1) {
            throw std::runtime_error("step failed");
        }
    };
    Establish();
    radio.SendTransfer({0x00, kInfoReply, 0, 0, 0, 0});
    EXPECT_THROW(clock.AdvanceBy(2), std::runtime_error);
    radio.SendTransfer({0x00, kInfoReply, 0, 0, 0, 0});
    clock.AdvanceBy(2);
    EXPECT_EQ(replies, 2);
    EXPECT_FALSE(link.InUpwardCall());
}

}  // namespace
}  // namespace km
