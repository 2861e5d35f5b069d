// Thresholds and timers: call durations, the minute timer and the defaults of the timer grid.

#include <gtest/gtest.h>

#include <vector>

#include "fields/FieldOps.h"
#include "network/TimMap.h"

namespace km {
namespace {

TEST(TimerMapTest, CallDurationsShowTheirUnit) {
    EXPECT_EQ(DecodeCallDuration(9), (CallDuration{DurationUnit::Minutes, 13}));
    EXPECT_EQ(DecodeCallDuration(1), (CallDuration{DurationUnit::Minutes, 5}));
    EXPECT_EQ(DecodeCallDuration(10), (CallDuration{DurationUnit::Seconds, 10}));
    EXPECT_EQ(DecodeCallDuration(0), (CallDuration{DurationUnit::NoLimit, 0}));
    EXPECT_EQ(EncodeCallDuration({DurationUnit::Minutes, 5}), 1);
    EXPECT_EQ(EncodeCallDuration({DurationUnit::Seconds, 254}), 254);
    EXPECT_EQ(EncodeCallDuration({DurationUnit::NoLimit, 0}), 0);
    for (std::uint16_t word = 0; word <= 300; ++word) {
        ASSERT_EQ(EncodeCallDuration(DecodeCallDuration(word)), word);
    }
    EXPECT_EQ(DurationRange(DurationUnit::Seconds).low, 10);
    EXPECT_EQ(DurationRange(DurationUnit::Seconds).high, 254);
    EXPECT_EQ(DurationRange(DurationUnit::Minutes).low, 5);
    EXPECT_EQ(DurationRange(DurationUnit::Minutes).high, 13);
    EXPECT_EQ(DurationRange(DurationUnit::NoLimit).high, 0);
}

TEST(TimerMapTest, TheRegistrationTimerIsShownInMinutesAndStoredInSeconds) {
    const fields::FieldRow& td = timer_rows::kTimers[3];
    std::vector<std::uint8_t> file(1536, 0);
    file[406] = 600 & 0xFF;
    file[407] = 600 >> 8;
    EXPECT_EQ(fields::ReadField(td, file, 406), fields::FieldValue(std::int64_t{10}));
    fields::WriteField(td, file, 406, std::int64_t{70});
    EXPECT_EQ(file[406] | file[407] << 8, 4200);
    // Seconds that are no whole minute survive a store of what was shown.
    file[406] = 125;
    file[407] = 0;
    fields::WriteField(td, file, 406, fields::ReadField(td, file, 406));
    EXPECT_EQ(file[406], 125);
}

TEST(TimerMapTest, NvAcceptsSixteenAndRefusesSeventeen) {
    const fields::FieldRow& nv = timer_rows::ErrorLimitRow(6, 0);
    EXPECT_EQ(fields::CheckField(nv, std::int64_t{16}), std::nullopt);
    EXPECT_EQ(fields::CheckField(nv, std::int64_t{17}),
              "Value out of range.  Must be between 1 and 16");
    EXPECT_EQ(TypedLength(nv), 2);
    EXPECT_EQ(TypedLength(timer_rows::kTimers[10]), 3);  // TL, up to 320
}

TEST(TimerMapTest, DefaultsStoredGiveTheTimersInOffsetOrder) {
    std::vector<std::uint8_t> file(1536, 0);
    fields::FillDefaults(timer_rows::kTimers, fields::ImageId::Network, file, 0);
    const std::uint16_t expected[] = {60, 2,  60, 600, 180, 5, 10, 4,  2,
                                      20, 10, 7,  5,   250, 5, 60, 60, 180};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(file[400 + 2 * i] | file[401 + 2 * i] << 8, expected[i]) << 400 + 2 * i;
    }
}

}  // namespace
}  // namespace km
