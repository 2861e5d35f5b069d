#include "sim/LinePacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/VirtualClock.h"

namespace km::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Arrival {
    std::int64_t atMs;
    Bytes bytes;
};

class LinePacerTest : public ::testing::Test {
  protected:
    LinePacer Pacer(bool paced) {
        return LinePacer(
            clock, [this] { return clock.Now(); }, paced,
            [this](std::span<const std::uint8_t> bytes) {
                arrivals.push_back({clock.Now(), Bytes(bytes.begin(), bytes.end())});
            });
    }

    VirtualClock clock;
    std::vector<Arrival> arrivals;
};

// At 1920 bytes/s a chunk arrives once its last byte has crossed the line, after everything
// pushed before it; a line left idle starts afresh.
TEST_F(LinePacerTest, ChunksArriveInOrderAfterTheirLineTime) {
    LinePacer pacer = Pacer(true);
    pacer.Push(Bytes(192, 1));  // 100 ms
    pacer.Push(Bytes(96, 2));   // 50 ms more
    EXPECT_TRUE(arrivals.empty());
    clock.AdvanceBy(99);
    EXPECT_TRUE(arrivals.empty());
    clock.AdvanceBy(60);
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].atMs, 100);
    EXPECT_EQ(arrivals[0].bytes, Bytes(192, 1));
    EXPECT_EQ(arrivals[1].atMs, 150);
    EXPECT_TRUE(pacer.Empty());

    clock.AdvanceBy(1000);
    pacer.Push(Bytes(1920, 3));
    clock.AdvanceBy(2000);
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[2].atMs, 1159 + 1000);
}

TEST_F(LinePacerTest, UnpacedChunksPassAtOnce) {
    LinePacer pacer = Pacer(false);
    pacer.Push(Bytes(5000, 7));
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].atMs, 0);
    EXPECT_EQ(LinePacer::LineTimeNs(1920), 1'000'000'000);
}

}  // namespace
}  // namespace km::sim
