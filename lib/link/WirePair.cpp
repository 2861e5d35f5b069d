#include "link/WirePair.h"

#include <string>

namespace km {

OpenResult WireEnd::Open(int comIndex) {
    if (openOutcome_ == OpenOutcome::Ok) {
        open_ = true;
        comIndex_ = comIndex;
    }
    return {openOutcome_, "wire:COM" + std::to_string(comIndex + 1)};
}

void WireEnd::Close() {
    open_ = false;
}

void WireEnd::Fail(PortError error) {
    open_ = false;
    ReportError(error);
}

void WireEnd::Write(std::span<const std::uint8_t> bytes) {
    if (!open_) {
        ReportError(PortError::WriteFailed);
        return;
    }
    written_.insert(written_.end(), bytes.begin(), bytes.end());
    wire_.Carry(side_, bytes);
}

void WireEnd::Receive(std::span<const std::uint8_t> bytes) {
    if (open_) {
        Deliver(bytes);
    }
}

void WirePair::Carry(int fromSide, std::span<const std::uint8_t> bytes) {
    const int toSide = 1 - fromSide;
    if (!delayMs_) {
        Deliver(toSide, bytes);
        return;
    }
    auto& pending = inFlight_[fromSide];
    const bool scheduled = !pending.empty();
    pending.insert(pending.end(), bytes.begin(), bytes.end());
    if (!scheduled) {
        clock_.Post(*delayMs_, [this, fromSide, toSide] {
            const std::vector<std::uint8_t> chunk = std::move(inFlight_[fromSide]);
            inFlight_[fromSide].clear();
            Deliver(toSide, chunk);
        });
    }
}

void WirePair::Deliver(int toSide, std::span<const std::uint8_t> bytes) {
    if (!chunker_) {
        ends_[toSide].Receive(bytes);
        return;
    }
    for (const auto& chunk : chunker_(bytes)) {
        ends_[toSide].Receive(chunk);
    }
}

}  // namespace km
