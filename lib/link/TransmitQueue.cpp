#include "link/TransmitQueue.h"

namespace km {

bool TransmitQueue::Push(std::span<const std::uint8_t> message) {
    if (message.empty() || message.size() > kMaxQueuedMessage || message.size() + 1 > FreeBytes()) {
        return false;
    }
    auto put = [this](std::uint8_t byte) {
        bytes_[write_] = byte;
        write_ = (write_ + 1) % kTransmitQueueSize;
    };
    put(static_cast<std::uint8_t>(message.size()));
    for (std::uint8_t byte : message) {
        put(byte);
    }
    used_ += message.size() + 1;
    return true;
}

std::vector<std::uint8_t> TransmitQueue::Pop() {
    if (Empty()) {
        return {};
    }
    const std::size_t length = bytes_[read_];
    std::vector<std::uint8_t> message(length);
    for (std::size_t i = 0; i < length; ++i) {
        message[i] = bytes_[(read_ + 1 + i) % kTransmitQueueSize];
    }
    read_ = (read_ + length + 1) % kTransmitQueueSize;
    used_ -= length + 1;
    return message;
}

}  // namespace km
