#include <gtest/gtest.h>

#include "LinkHarness.h"
#include "link/TransmitQueue.h"

namespace km {
namespace {

using testing::Bytes;

Bytes Filled(std::size_t n, std::uint8_t value) {
    return Bytes(n, value);
}

TEST(TransmitQueueTest, RefusesWhatDoesNotFitAndKeepsWhatIsQueued) {
    TransmitQueue queue;
    EXPECT_FALSE(queue.Push(Bytes{}));
    EXPECT_FALSE(queue.Push(Filled(kMaxQueuedMessage + 1, 1)));
    // Seven of the longest messages take 945 of the 1024 bytes; an eighth does not fit.
    for (std::uint8_t i = 0; i < 7; ++i) {
        ASSERT_TRUE(queue.Push(Filled(kMaxQueuedMessage, i)));
    }
    EXPECT_FALSE(queue.Push(Filled(kMaxQueuedMessage, 0xEE)));
    EXPECT_TRUE(queue.Push(Filled(78, 0x77)));  // exactly fills the rest
    EXPECT_EQ(queue.FreeBytes(), 0u);
    EXPECT_FALSE(queue.Push(Bytes{1}));
    for (std::uint8_t i = 0; i < 7; ++i) {
        EXPECT_EQ(queue.Pop(), Filled(kMaxQueuedMessage, i)) << int(i);
    }
    EXPECT_EQ(queue.Pop(), Filled(78, 0x77));
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Pop().empty());
}

TEST(TransmitQueueTest, MessagesWrapRoundTheBufferIntact) {
    TransmitQueue queue;
    for (int round = 0; round < 50; ++round) {
        const Bytes first = Filled(100 + round % 30, static_cast<std::uint8_t>(round));
        const Bytes second = Filled(7, static_cast<std::uint8_t>(~round));
        ASSERT_TRUE(queue.Push(first));
        ASSERT_TRUE(queue.Push(second));
        EXPECT_EQ(queue.Pop(), first);
        EXPECT_EQ(queue.Pop(), second);
    }
    EXPECT_EQ(queue.FreeBytes(), kTransmitQueueSize);
}

class RefusalFixture : public testing::LinkFixture {};

TEST_F(RefusalFixture, RequestTheQueueRefusesFailsTheOperation) {
    testing::FakeHost host;
    ProgrammingMessages messages(link, clock);
    messages.SetHost(&host);
    Establish();
    radio.autoAcknowledge = false;  // no acknowledgement, so no credit: requests pile up
    Bytes block = Filled(kMaxQueuedMessage, 0x10);
    block[0] = 0x00;
    block[1] = kWriteBlock;
    int refused = 0;
    for (int i = 0; i < 12; ++i) {
        if (!messages.QueueRequest(block)) {
            ++refused;
        }
    }
    EXPECT_EQ(refused, 4);  // one went out at once, seven wait in the queue
    EXPECT_EQ(host.failures, refused);
    // What was queued is sent unchanged once the radio acknowledges.
    radio.autoAcknowledge = true;
    radio.Send({kLinkAcknowledge, 0x01, 0x01, 0x00});
    clock.AdvanceBy(3000);
    EXPECT_EQ(radio.messages.size(), static_cast<std::size_t>(12 - refused));
    for (const auto& message : radio.messages) {
        EXPECT_EQ(message, block);
    }
}

}  // namespace
}  // namespace km
