#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/VirtualClock.h"
#include "link/WirePair.h"

namespace km {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(VirtualClockTest, FiresInTimeOrderAndStartedFirstFirstOnTies) {
    VirtualClock clock;
    std::vector<std::string> log;
    auto note = [&](std::string name) {
        return [&log, &clock, name] { log.push_back(name + "@" + std::to_string(clock.Now())); };
    };
    auto poll = clock.CreateTimer("poll", note("poll"));
    auto link = clock.CreateTimer("link", note("link"));
    auto retry = clock.CreateTimer("retry", note("retry"));
    link->Start(500);
    poll->Start(500);
    retry->Start(300);
    clock.AdvanceBy(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"retry@300", "link@500", "poll@500", "retry@600",
                                             "retry@900", "link@1000", "poll@1000"}));
    EXPECT_EQ(clock.Now(), 1000);
}

TEST(VirtualClockTest, RestartStopAndZeroInterval) {
    VirtualClock clock;
    int ticks = 0;
    auto timer = clock.CreateTimer("t", [&] { ++ticks; });
    timer->Start(100);
    clock.AdvanceBy(90);
    timer->Start(100);  // a restart begins the interval anew
    clock.AdvanceBy(90);
    EXPECT_EQ(ticks, 0);
    clock.AdvanceBy(10);
    EXPECT_EQ(ticks, 1);
    timer->Start(0);
    EXPECT_FALSE(timer->IsActive());
    clock.AdvanceBy(1000);
    EXPECT_EQ(ticks, 1);
}

TEST(VirtualClockTest, HandlerMayStopItselfOrAdvanceTheClockInside) {
    VirtualClock clock;
    std::vector<std::int64_t> inner;
    std::unique_ptr<Timer> once;
    once = clock.CreateTimer("once", [&] {
        once->Stop();
        clock.AdvanceBy(1000);  // a modal box keeps the loop running for a second
    });
    auto beat = clock.CreateTimer("beat", [&] { inner.push_back(clock.Now()); });
    once->Start(100);
    beat->Start(300);
    clock.AdvanceBy(200);
    EXPECT_EQ(inner, (std::vector<std::int64_t>{300, 600, 900}));
    EXPECT_EQ(clock.Now(), 1100);
    EXPECT_FALSE(once->IsActive());
}

TEST(VirtualClockTest, AdvanceUntilStopsAtTheCondition) {
    VirtualClock clock;
    int ticks = 0;
    auto timer = clock.CreateTimer("t", [&] { ++ticks; });
    timer->Start(500);
    EXPECT_TRUE(clock.AdvanceUntil([&] { return ticks == 3; }, 10000));
    EXPECT_EQ(clock.Now(), 1500);
    EXPECT_FALSE(clock.AdvanceUntil([&] { return ticks == 100; }, 1000));
    EXPECT_EQ(clock.Now(), 2500);
}

struct WireFixture : ::testing::Test {
    WireFixture() {
        wire.B().SetDataAvailable([this](std::span<const std::uint8_t> bytes) {
            events.emplace_back(bytes.begin(), bytes.end());
        });
        wire.A().Open(0);
        wire.B().Open(1);
    }
    VirtualClock clock;
    WirePair wire{clock};
    std::vector<Bytes> events;
};

TEST_F(WireFixture, WritesBeforeTheClockRunsArriveAsOneEvent) {
    wire.SetDelay(5);
    wire.A().Write(Bytes{1, 2});
    wire.A().Write(Bytes{3});
    clock.AdvanceBy(4);
    EXPECT_TRUE(events.empty());
    clock.AdvanceBy(1);
    EXPECT_EQ(events, std::vector<Bytes>{(Bytes{1, 2, 3})});
    EXPECT_EQ(wire.A().Written(), (Bytes{1, 2, 3}));
}

TEST_F(WireFixture, ImmediateDeliveryAndChunker) {
    wire.SetDelay(std::nullopt);
    wire.SetChunker([](std::span<const std::uint8_t> bytes) {
        std::vector<Bytes> chunks;
        for (std::uint8_t b : bytes) {
            chunks.push_back({b});
        }
        return chunks;
    });
    wire.A().Write(Bytes{7, 8});
    EXPECT_EQ(events, (std::vector<Bytes>{{7}, {8}}));
}

TEST_F(WireFixture, ClosedEndsNeitherSendNorReceive) {
    wire.B().Close();
    wire.A().Write(Bytes{1});
    clock.RunPending();
    EXPECT_TRUE(events.empty());
    wire.A().Close();
    wire.A().Write(Bytes{2});
    EXPECT_TRUE(wire.A().Written() == Bytes{1});
    wire.A().SetOpenOutcome(OpenOutcome::InUse);
    EXPECT_EQ(wire.A().Open(3).outcome, OpenOutcome::InUse);
    EXPECT_FALSE(wire.A().IsOpen());
}

}  // namespace
}  // namespace km
