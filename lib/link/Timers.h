#pragma once
// Timers as the link and the radio commands see them. Starting a running timer restarts it
// (stop, set interval, start); an interval of 0 stops it; every timer repeats until stopped.
// The programs implement the service with QTimer; tests use the VirtualClock, which advances
// time by hand and fires due timers in time order.

#include <functional>
#include <memory>
#include <string_view>

namespace km {

struct TimerSetting {
    std::string_view name;
    int intervalMs;
};

// The named timers of the radio link and the radio commands.
inline constexpr TimerSetting kLinkEstablishTimer{"LinkEstablishTimer", 500};
inline constexpr TimerSetting kRetryTimer{"RetryTimer", 300};
inline constexpr TimerSetting kActivityTimer{"ActivityTimer", 15000};
inline constexpr TimerSetting kStopCommsTimer{"StopCommsTimer", 100};
// The link poll that starts a waiting radio operation: it ticks every half second, whatever its
// object name says.
inline constexpr TimerSetting kLinkPollTimer{"Timer_1SecDelay", 500};

class Timer {
  public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    void Start(const TimerSetting& definition) { Start(definition.intervalMs); }
};

class TimerService {
  public:
    virtual ~TimerService() = default;
    // A stopped timer that calls `onTick` on every expiry. The timer must not outlive the
    // service.
    virtual std::unique_ptr<Timer> CreateTimer(std::string_view name,
                                               std::function<void()> onTick) = 0;
};

}  // namespace km
