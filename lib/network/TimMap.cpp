#include "network/TimMap.h"

#include <algorithm>

namespace km {
namespace {

constexpr int kMinuteOffset = 4;  // 1..9 stand for 5..13 minutes
constexpr std::uint16_t kFirstSecondsWord = 10;

}  // namespace

CallDuration DecodeCallDuration(std::uint16_t word) {
    if (word >= kFirstSecondsWord) {
        return {DurationUnit::Seconds, word};
    }
    if (word > 0) {
        return {DurationUnit::Minutes, word + kMinuteOffset};
    }
    return {DurationUnit::NoLimit, 0};
}

std::uint16_t EncodeCallDuration(const CallDuration& duration) {
    switch (duration.unit) {
        case DurationUnit::Seconds:
            return static_cast<std::uint16_t>(std::clamp(duration.shown, 0, 0xFFFF));
        case DurationUnit::Minutes:
            return static_cast<std::uint16_t>(
                std::clamp(duration.shown - kMinuteOffset, 0, 0xFFFF));
        case DurationUnit::NoLimit:
            break;
    }
    return 0;
}

NumberRange DurationRange(DurationUnit unit) {
    switch (unit) {
        case DurationUnit::Seconds:
            return {kFirstSecondsWord, 254};
        case DurationUnit::Minutes:
            return {1 + kMinuteOffset, 9 + kMinuteOffset};
        case DurationUnit::NoLimit:
            break;
    }
    return {0, 0};
}

int TypedLength(const fields::FieldRow& row) {
    int digits = 1;
    for (std::int64_t rest = row.max; rest >= 10; rest /= 10) {
        ++digits;
    }
    return digits;
}

}  // namespace km
