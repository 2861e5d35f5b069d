#pragma once
// Two serial port ends joined by an in-memory wire, for the virtual radio and for tests. What
// one open end writes arrives at the other end if that end is open. Delivery goes through the
// virtual clock after a set delay (bytes written before the clock runs arrive together, as in
// one data event of a real port), or immediately inside Write. A chunking hook may cut each
// delivery into other pieces, to try split frames and several frames per event.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "link/SerialPort.h"
#include "link/VirtualClock.h"

namespace km {

class WirePair;

class WireEnd : public SerialPort {
  public:
    OpenResult Open(int comIndex) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    void Write(std::span<const std::uint8_t> bytes) override;

    // The end fails as a real port does when its device goes away: it closes and reports `error`.
    void Fail(PortError error = PortError::DeviceGone);

    // The outcome the next Open reports (Ok by default); the port stays closed unless Ok.
    void SetOpenOutcome(OpenOutcome outcome) { openOutcome_ = outcome; }
    int ComIndex() const { return comIndex_; }
    // Every byte this end has written while open, in order.
    const std::vector<std::uint8_t>& Written() const { return written_; }
    void ClearWritten() { written_.clear(); }

  private:
    friend class WirePair;
    WireEnd(WirePair& wire, int side) : wire_(wire), side_(side) {}
    void Receive(std::span<const std::uint8_t> bytes);

    WirePair& wire_;
    int side_;
    bool open_ = false;
    int comIndex_ = -1;
    OpenOutcome openOutcome_ = OpenOutcome::Ok;
    std::vector<std::uint8_t> written_;
};

class WirePair {
  public:
    // Cuts one delivery into the chunks that arrive as separate data events.
    using Chunker =
        std::function<std::vector<std::vector<std::uint8_t>>(std::span<const std::uint8_t>)>;

    explicit WirePair(VirtualClock& clock) : clock_(clock), ends_{{{*this, 0}, {*this, 1}}} {}
    WirePair(const WirePair&) = delete;
    WirePair& operator=(const WirePair&) = delete;

    WireEnd& A() { return ends_[0]; }
    WireEnd& B() { return ends_[1]; }

    // Delivery delay through the clock; nullopt delivers inside Write.
    void SetDelay(std::optional<std::int64_t> delayMs) { delayMs_ = delayMs; }
    void SetChunker(Chunker chunker) { chunker_ = std::move(chunker); }

  private:
    friend class WireEnd;
    void Carry(int fromSide, std::span<const std::uint8_t> bytes);
    void Deliver(int toSide, std::span<const std::uint8_t> bytes);

    VirtualClock& clock_;
    std::array<WireEnd, 2> ends_;
    std::optional<std::int64_t> delayMs_ = 0;
    Chunker chunker_;
    std::array<std::vector<std::uint8_t>, 2> inFlight_;
};

}  // namespace km
