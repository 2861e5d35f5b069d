#pragma once
// Holds bytes back to the pace of the serial line: at 19200 baud with ten bits per byte (start,
// eight data, stop) a byte takes 1/1920 s. Each chunk is handed on when its last byte would have
// crossed the line, after everything pushed before it.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "link/Timers.h"

namespace km::sim {

inline constexpr std::int64_t kLineBytesPerSecond = 1920;

class LinePacer {
  public:
    using Sink = std::function<void(std::span<const std::uint8_t>)>;
    using NowMs = std::function<std::int64_t()>;

    // Without pacing every chunk goes straight to the sink.
    LinePacer(TimerService& timers, NowMs now, bool paced, Sink sink);

    void Push(std::span<const std::uint8_t> bytes);
    bool Empty() const { return pending_.empty(); }

    // Nanoseconds a number of bytes spends on the line.
    static std::int64_t LineTimeNs(std::size_t bytes) {
        return static_cast<std::int64_t>(bytes) * 1'000'000'000 / kLineBytesPerSecond;
    }

  private:
    struct Chunk {
        std::int64_t dueNs;
        std::vector<std::uint8_t> bytes;
    };

    void Tick();
    void Schedule();

    NowMs now_;
    bool paced_;
    Sink sink_;
    std::unique_ptr<Timer> timer_;
    std::deque<Chunk> pending_;
    std::int64_t busyUntilNs_ = 0;
};

}  // namespace km::sim
