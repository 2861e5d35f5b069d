#include "sim/LinePacer.h"

#include <algorithm>

namespace km::sim {

namespace {
constexpr std::int64_t kNsPerMs = 1'000'000;
}

LinePacer::LinePacer(TimerService& timers, NowMs now, bool paced, Sink sink)
    : now_(std::move(now)),
      paced_(paced),
      sink_(std::move(sink)),
      timer_(timers.CreateTimer("LinePacer", [this] { Tick(); })) {}

void LinePacer::Push(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    if (!paced_) {
        sink_(bytes);
        return;
    }
    const std::int64_t nowNs = now_() * kNsPerMs;
    busyUntilNs_ = std::max(busyUntilNs_, nowNs) + LineTimeNs(bytes.size());
    pending_.push_back({busyUntilNs_, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    if (pending_.size() == 1) {
        Schedule();
    }
}

void LinePacer::Tick() {
    const std::int64_t nowNs = now_() * kNsPerMs;
    while (!pending_.empty() && pending_.front().dueNs <= nowNs) {
        const Chunk chunk = std::move(pending_.front());
        pending_.pop_front();
        sink_(chunk.bytes);
    }
    Schedule();
}

void LinePacer::Schedule() {
    if (pending_.empty()) {
        timer_->Stop();
        return;
    }
    const std::int64_t waitNs = pending_.front().dueNs - now_() * kNsPerMs;
    // Timers count whole milliseconds; round up so that the chunk is due when the timer fires.
    const std::int64_t waitMs = std::max<std::int64_t>(1, (waitNs + kNsPerMs - 1) / kNsPerMs);
    timer_->Start(static_cast<int>(waitMs));
}

}  // namespace km::sim
