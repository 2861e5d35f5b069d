#pragma once
// Time for tests: a timer service whose clock moves only when told to. Due timers and posted
// calls fire in time order; of those due at the same instant, the one started (or posted) first
// fires first, so two 500 ms timers started in one command always tick in that order. A handler
// may advance the clock itself, as a modal box running its own event loop would.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/Timers.h"

namespace km {

class VirtualClock : public TimerService {
  public:
    VirtualClock() = default;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;
    ~VirtualClock() override;

    std::unique_ptr<Timer> CreateTimer(std::string_view name,
                                       std::function<void()> onTick) override;

    // Runs `call` once, `delayMs` from now (0: at the next advance, after what is due already).
    void Post(std::int64_t delayMs, std::function<void()> call);

    std::int64_t Now() const { return now_; }
    // Fires everything due up to now + ms and leaves the clock there.
    void AdvanceBy(std::int64_t ms);
    // Fires what is due now (posted calls with delay 0 included).
    void RunPending() { AdvanceBy(0); }
    // Fires events in order until `done` holds or `maxMs` have passed; returns `done`.
    bool AdvanceUntil(const std::function<bool()>& done, std::int64_t maxMs);

  private:
    class VirtualTimer;
    struct PostedCall {
        std::int64_t due;
        std::uint64_t order;
        std::function<void()> call;
    };

    // Fires the earliest event due at or before `limit`; false when there is none.
    bool FireNext(std::int64_t limit);
    void Unregister(VirtualTimer* timer);

    std::int64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::vector<VirtualTimer*> timers_;
    std::vector<PostedCall> posted_;
};

}  // namespace km
