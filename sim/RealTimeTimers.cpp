#include "sim/RealTimeTimers.h"

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>

namespace km::sim {

class RealTimeTimers::SteadyTimer : public Timer {
  public:
    SteadyTimer(RealTimeTimers& service, std::function<void()> onTick)
        : service_(service), onTick_(std::move(onTick)) {}
    ~SteadyTimer() override { service_.Unregister(this); }

    void Start(int intervalMs) override {
        if (intervalMs <= 0) {
            Stop();
            return;
        }
        interval_ = intervalMs;
        due_ = service_.NowMs() + intervalMs;
        order_ = service_.nextOrder_++;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }

    void Fire() {
        due_ += interval_;
        onTick_();
    }

    std::int64_t due_ = 0;
    std::uint64_t order_ = 0;
    bool active_ = false;

  private:
    RealTimeTimers& service_;
    std::function<void()> onTick_;
    int interval_ = 0;
};

RealTimeTimers::RealTimeTimers() : start_(std::chrono::steady_clock::now()) {}

RealTimeTimers::~RealTimeTimers() = default;

std::unique_ptr<Timer> RealTimeTimers::CreateTimer(std::string_view, std::function<void()> onTick) {
    auto timer = std::make_unique<SteadyTimer>(*this, std::move(onTick));
    timers_.push_back(timer.get());
    return timer;
}

void RealTimeTimers::Unregister(SteadyTimer* timer) {
    std::erase(timers_, timer);
}

std::int64_t RealTimeTimers::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

int RealTimeTimers::MsUntilNextDue() const {
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (const SteadyTimer* timer : timers_) {
        if (timer->active_) {
            next = std::min(next, timer->due_);
        }
    }
    if (next == std::numeric_limits<std::int64_t>::max()) {
        return -1;
    }
    return static_cast<int>(std::max<std::int64_t>(0, next - NowMs()));
}

void RealTimeTimers::RunDue() {
    // A handler may start, stop or destroy timers, so the earliest due one is looked up afresh
    // after every firing; a timer that is due again at once waits for the next call.
    const std::int64_t now = NowMs();
    std::vector<SteadyTimer*> fired;
    for (;;) {
        SteadyTimer* next = nullptr;
        for (SteadyTimer* timer : timers_) {
            const bool due = timer->active_ && timer->due_ <= now &&
                             std::find(fired.begin(), fired.end(), timer) == fired.end();
            if (due && (!next || std::tie(timer->due_, timer->order_) <
                                     std::tie(next->due_, next->order_))) {
                next = timer;
            }
        }
        if (!next) {
            return;
        }
        fired.push_back(next);
        next->Fire();
    }
}

}  // namespace km::sim
