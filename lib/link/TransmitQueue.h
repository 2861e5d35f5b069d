#pragma once
// The data link's transmit queue: 1024 bytes used circularly, holding programming messages one
// after the other as a length byte followed by the message. A message that does not fit is
// refused (nothing is queued) rather than written over messages still waiting.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace km {

inline constexpr std::size_t kTransmitQueueSize = 1024;
// The longest programming message: a WriteBlock of 6 header bytes and 128 data bytes.
inline constexpr std::size_t kMaxQueuedMessage = 134;

class TransmitQueue {
  public:
    // False (and nothing queued) when the message is empty, longer than kMaxQueuedMessage, or
    // the queue lacks room for it.
    [[nodiscard]] bool Push(std::span<const std::uint8_t> message);
    // Takes the oldest message; empty when the queue is.
    std::vector<std::uint8_t> Pop();
    bool Empty() const { return used_ == 0; }
    std::size_t FreeBytes() const { return kTransmitQueueSize - used_; }
    void Clear() { read_ = write_ = used_ = 0; }

  private:
    std::array<std::uint8_t, kTransmitQueueSize> bytes_{};
    std::size_t read_ = 0;
    std::size_t write_ = 0;
    std::size_t used_ = 0;
};

}  // namespace km
