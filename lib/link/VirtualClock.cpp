#include "link/VirtualClock.h"

#include <algorithm>
#include <string>
#include <tuple>

namespace km {

class VirtualClock::VirtualTimer : public Timer {
  public:
    VirtualTimer(VirtualClock& clock, std::string name, std::function<void()> onTick)
        : clock_(clock), name_(std::move(name)), onTick_(std::move(onTick)) {}
    ~VirtualTimer() override { clock_.Unregister(this); }

    void Start(int intervalMs) override {
        if (intervalMs <= 0) {
            Stop();
            return;
        }
        interval_ = intervalMs;
        due_ = clock_.now_ + intervalMs;
        order_ = clock_.nextOrder_++;
        active_ = true;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }

    // Moves the timer to its next expiry, then runs its handler (which may restart or stop it).
    void Fire() {
        due_ += interval_;
        onTick_();
    }

    std::int64_t due_ = 0;
    std::uint64_t order_ = 0;
    bool active_ = false;

  private:
    VirtualClock& clock_;
    std::string name_;
    std::function<void()> onTick_;
    int interval_ = 0;
};

VirtualClock::~VirtualClock() = default;

std::unique_ptr<Timer> VirtualClock::CreateTimer(std::string_view name,
                                                 std::function<void()> onTick) {
    auto timer = std::make_unique<VirtualTimer>(*this, std::string(name), std::move(onTick));
    timers_.push_back(timer.get());
    return timer;
}

void VirtualClock::Unregister(VirtualTimer* timer) {
    std::erase(timers_, timer);
}

void VirtualClock::Post(std::int64_t delayMs, std::function<void()> call) {
    posted_.push_back({now_ + std::max<std::int64_t>(delayMs, 0), nextOrder_++, std::move(call)});
}

bool VirtualClock::FireNext(std::int64_t limit) {
    VirtualTimer* timer = nullptr;
    for (VirtualTimer* candidate : timers_) {
        if (candidate->active_ && candidate->due_ <= limit &&
            (!timer ||
             std::tie(candidate->due_, candidate->order_) < std::tie(timer->due_, timer->order_))) {
            timer = candidate;
        }
    }
    auto post = std::min_element(posted_.begin(), posted_.end(), [](const auto& a, const auto& b) {
        return std::tie(a.due, a.order) < std::tie(b.due, b.order);
    });
    const bool postDue = post != posted_.end() && post->due <= limit;
    if (postDue &&
        (!timer || std::tie(post->due, post->order) < std::tie(timer->due_, timer->order_))) {
        now_ = std::max(now_, post->due);
        auto call = std::move(post->call);
        posted_.erase(post);
        call();
        return true;
    }
    if (timer) {
        now_ = std::max(now_, timer->due_);
        timer->Fire();
        return true;
    }
    return false;
}

void VirtualClock::AdvanceBy(std::int64_t ms) {
    const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
    while (FireNext(target)) {
    }
    now_ = std::max(now_, target);
}

bool VirtualClock::AdvanceUntil(const std::function<bool()>& done, std::int64_t maxMs) {
    const std::int64_t limit = now_ + std::max<std::int64_t>(maxMs, 0);
    while (!done()) {
        if (!FireNext(limit)) {
            now_ = std::max(now_, limit);
            return done();
        }
    }
    return true;
}

}  // namespace km
