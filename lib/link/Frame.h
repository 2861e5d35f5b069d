#pragma once
// The frame layer of the radio line. Every link message travels as one frame:
//   SYN DLE STX, the data with every DLE doubled, DLE ETX, two check bytes (low byte first).
// The check is CRC-16/USB over the unstuffed data followed by DLE and ETX.
//
// The FrameEncoder builds one frame; the FrameDecoder turns the incoming byte stream back into
// checked frames, kept one after the other in the 1024-byte ReceiveRing until they are handed up
// through the 256-byte LinkMessageBuffer. Both are used by the programmer and by the radio side.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace km {

inline constexpr std::uint8_t kSyn = 0x16;
inline constexpr std::uint8_t kDle = 0x10;
inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;

// A frame carries at most 248 data bytes: data plus the trailing DLE and ETX may not pass 250.
inline constexpr std::size_t kMaxFrameData = 248;
inline constexpr std::size_t kMaxFrameCount = kMaxFrameData + 2;
// SYN DLE STX, every data byte doubled, DLE ETX and the two check bytes.
inline constexpr std::size_t kMaxEncodedFrame = 2 * kMaxFrameData + 7;
inline constexpr std::size_t kReceiveRingSize = 1024;

// One link message as handed between the frame layer and the data link: a length byte followed
// by that many data bytes. A length byte of 0 means the buffer has been consumed.
class LinkMessageBuffer {
  public:
    static constexpr std::size_t kSize = 256;

    std::uint8_t Length() const { return bytes_[0]; }
    bool Empty() const { return bytes_[0] == 0; }
    std::span<const std::uint8_t> Data() const {
        return std::span<const std::uint8_t>(bytes_).subspan(1, bytes_[0]);
    }
    void Clear() { bytes_.fill(0); }

  private:
    friend class FrameDecoder;
    std::array<std::uint8_t, kSize> bytes_{};
};

// The bytes of one encoded frame, held without allocation.
class EncodedFrame {
  public:
    std::span<const std::uint8_t> Bytes() const {
        return std::span<const std::uint8_t>(bytes_).first(size_);
    }

  private:
    friend class FrameEncoder;
    void Append(std::uint8_t byte) { bytes_.at(size_++) = byte; }
    std::array<std::uint8_t, kMaxEncodedFrame> bytes_{};
    std::size_t size_ = 0;
};

class FrameEncoder {
  public:
    // Frames `data` (at most kMaxFrameData bytes; more throws std::length_error).
    static EncodedFrame Encode(std::span<const std::uint8_t> data);
};

enum class DecoderState : std::uint8_t {
    Hunt = 0,
    GotSyn = 1,
    GotDle = 2,
    InData = 3,
    InDataDle = 4,
    CheckFirst = 5,
    CheckSecond = 6,
};

class FrameDecoder {
  public:
    // Feeds one byte from the line.
    void Push(std::uint8_t byte);
    void Push(std::span<const std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes) {
            Push(byte);
        }
    }

    // Complete, checked frames not yet handed up.
    std::size_t FrameCount() const { return frameCount_; }
    // Moves the oldest complete frame into `buffer`; false when there is none.
    bool PopFrame(LinkMessageBuffer& buffer);
    // Back to Hunt with an empty ring: frames not yet handed up are dropped.
    void Reset();

    DecoderState State() const { return state_; }
    // Ring bytes held by undelivered frames and the frame being decoded.
    std::size_t UsedBytes() const;
    // True when the ring may not hold another whole frame until the complete ones are handed up.
    bool NeedsDelivery() const {
        return frameCount_ > 0 && UsedBytes() + kMaxFrameCount + 1 >= kReceiveRingSize;
    }

  private:
    void StartFrame();
    void DropFrame() { state_ = DecoderState::Hunt; }
    bool StoreData(std::uint8_t byte);
    void FinishFrame();
    static std::size_t Next(std::size_t position) { return (position + 1) % kReceiveRingSize; }
    static std::size_t Distance(std::size_t from, std::size_t to) {
        return (to + kReceiveRingSize - from) % kReceiveRingSize;
    }

    std::array<std::uint8_t, kReceiveRingSize> ring_{};
    std::size_t frameStart_ = 0;
    std::size_t write_ = 0;
    std::size_t read_ = 0;
    std::size_t frameCount_ = 0;
    DecoderState state_ = DecoderState::Hunt;
    std::uint16_t check_ = 0;
    std::size_t byteCount_ = 0;
    std::uint8_t checkFirst_ = 0;
    std::uint8_t checkSecond_ = 0;
};

}  // namespace km
