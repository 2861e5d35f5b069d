#include "link/Frame.h"

#include <stdexcept>

#include "link/Crc16.h"

namespace km {

EncodedFrame FrameEncoder::Encode(std::span<const std::uint8_t> data) {
    if (data.size() > kMaxFrameData) {
        throw std::length_error("link message longer than one frame");
    }
    EncodedFrame frame;
    frame.Append(kSyn);
    frame.Append(kDle);
    frame.Append(kStx);
    std::uint16_t check = kCrcInitial;
    for (std::uint8_t byte : data) {
        frame.Append(byte);
        check = Crc16UsbUpdate(check, byte);
        if (byte == kDle) {
            frame.Append(kDle);  // the doubled DLE is not part of the check
        }
    }
    for (std::uint8_t trailer : {kDle, kEtx}) {
        frame.Append(trailer);
        check = Crc16UsbUpdate(check, trailer);
    }
    check ^= kCrcFinalXor;
    frame.Append(static_cast<std::uint8_t>(check & 0xFF));
    frame.Append(static_cast<std::uint8_t>(check >> 8));
    return frame;
}

std::size_t FrameDecoder::UsedBytes() const {
    const std::size_t delivered = frameCount_ > 0 ? Distance(read_, frameStart_) : 0;
    return delivered + Distance(frameStart_, write_);
}

// Every byte seen in Hunt starts a new frame at the frame-start position: the length byte is
// cleared, so a dropped or failed frame leaves no trace.
void FrameDecoder::StartFrame() {
    check_ = kCrcInitial;
    byteCount_ = 0;
    ring_[frameStart_] = 0;
    write_ = Next(frameStart_);
}

// Stores a data byte unless it would run into frames not yet handed up (the ring always keeps
// one free place for the next frame's length byte). False means the frame is dropped.
bool FrameDecoder::StoreData(std::uint8_t byte) {
    if (UsedBytes() + 1 >= kReceiveRingSize) {
        return false;
    }
    ring_[write_] = byte;
    write_ = Next(write_);
    return true;
}

void FrameDecoder::FinishFrame() {
    check_ ^= kCrcFinalXor;
    const bool good = checkFirst_ == (check_ & 0xFF) && checkSecond_ == (check_ >> 8);
    if (good) {
        ring_[frameStart_] = static_cast<std::uint8_t>(byteCount_ - 2);
        frameStart_ = write_;
        ++frameCount_;
    }
}

void FrameDecoder::Push(std::uint8_t byte) {
    switch (state_) {
        case DecoderState::Hunt:
            StartFrame();
            state_ = byte == kSyn ? DecoderState::GotSyn : DecoderState::Hunt;
            break;
        case DecoderState::GotSyn:
            state_ = byte == kDle   ? DecoderState::GotDle
                     : byte == kSyn ? DecoderState::GotSyn
                                    : DecoderState::Hunt;
            break;
        case DecoderState::GotDle:
            if (byte == kStx) {
                byteCount_ = 0;
                check_ = kCrcInitial;
                state_ = DecoderState::InData;
            } else {
                state_ = byte == kSyn ? DecoderState::GotSyn : DecoderState::Hunt;
            }
            break;
        case DecoderState::InData:
            check_ = Crc16UsbUpdate(check_, byte);
            if (++byteCount_ > kMaxFrameCount || !StoreData(byte)) {
                DropFrame();
            } else {
                state_ = byte == kDle ? DecoderState::InDataDle : DecoderState::InData;
            }
            break;
        case DecoderState::InDataDle:
            if (byte == kDle) {
                state_ = DecoderState::InData;  // second DLE of a stuffed pair
            } else if (byte == kEtx) {
                check_ = Crc16UsbUpdate(check_, byte);
                if (++byteCount_ > kMaxFrameCount) {
                    DropFrame();
                } else {
                    write_ = (write_ + kReceiveRingSize - 1) % kReceiveRingSize;  // un-store DLE
                    state_ = DecoderState::CheckFirst;
                }
            } else {
                DropFrame();
            }
            break;
        case DecoderState::CheckFirst:
            checkFirst_ = byte;
            state_ = DecoderState::CheckSecond;
            break;
        case DecoderState::CheckSecond:
            checkSecond_ = byte;
            FinishFrame();
            state_ = DecoderState::Hunt;
            break;
    }
}

bool FrameDecoder::PopFrame(LinkMessageBuffer& buffer) {
    if (frameCount_ == 0) {
        return false;
    }
    const std::size_t length = ring_[read_];
    buffer.bytes_.fill(0);
    for (std::size_t i = 0; i <= length; ++i) {
        buffer.bytes_[i] = ring_[(read_ + i) % kReceiveRingSize];
    }
    read_ = (read_ + length + 1) % kReceiveRingSize;
    --frameCount_;
    return true;
}

void FrameDecoder::Reset() {
    ring_.fill(0);
    frameStart_ = write_ = read_ = 0;
    frameCount_ = 0;
    state_ = DecoderState::Hunt;
    check_ = 0;
    byteCount_ = 0;
    checkFirst_ = checkSecond_ = 0;
}

}  // namespace km
