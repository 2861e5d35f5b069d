#pragma once
// A timer service on the steady clock for a program with its own poll loop: the loop asks how
// long it may sleep, waits for its file descriptors at most that long, then runs what is due.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/Timers.h"

namespace km::sim {

class RealTimeTimers : public TimerService {
  public:
    RealTimeTimers();
    ~RealTimeTimers() override;
    RealTimeTimers(const RealTimeTimers&) = delete;
    RealTimeTimers& operator=(const RealTimeTimers&) = delete;

    std::unique_ptr<Timer> CreateTimer(std::string_view name,
                                       std::function<void()> onTick) override;

    // Milliseconds since the service was made.
    std::int64_t NowMs() const;
    // Milliseconds until the next timer is due (0 when one is due); -1 when none is running.
    int MsUntilNextDue() const;
    // Fires every timer that is due, earliest first.
    void RunDue();

  private:
    class SteadyTimer;
    void Unregister(SteadyTimer* timer);

    std::chrono::steady_clock::time_point start_;
    std::uint64_t nextOrder_ = 0;
    std::vector<SteadyTimer*> timers_;
};

}  // namespace km::sim
