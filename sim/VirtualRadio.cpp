#include "sim/VirtualRadio.h"

#include <sstream>

namespace km::sim {

RadioAnswers AnswersOf(const Profile& profile, const FaultOptions& faults) {
    return {static_cast<std::uint8_t>(profile.typeCode),
            profile.optionBoard,
            profile.eraseTimeMs,
            profile.info3,
            profile.info6,
            faults.readPieceSize > 0 ? faults.readPieceSize : kPieceSize,
            faults.padReads};
}

VirtualRadio::VirtualRadio(const Profile& profile, Flash memory, TimerService& timers, NowMs now,
                           SerialPort& line, RadioOptions options, Log log)
    : now_(std::move(now)),
      line_(line),
      options_(options),
      log_(std::move(log)),
      memory_(std::move(memory)),
      messages_(memory_, AnswersOf(profile, options.faults),
                [this](const std::string& text) { Write(text); }),
      link_(timers, profile.linkP1, profile.linkP2,
            {[this](std::span<const std::uint8_t> frame) { SendFrame(frame); },
             [this](std::span<const std::uint8_t> message) { MessageIn(message); },
             [this] {
                 replies_.clear();
                 busy_ = false;
                 busyTimer_->Stop();
             },
             [this](const std::string& text) { Write(text); }}),
      inbound_(timers, now_, options.paced,
               [this](std::span<const std::uint8_t> bytes) { Decode(bytes); }),
      outbound_(timers, now_, options.paced,
                [this](std::span<const std::uint8_t> bytes) { ToLine(bytes); }),
      busyTimer_(timers.CreateTimer("RadioBusyTimer", [this] { BusyOver(); })),
      latencyTimer_(timers.CreateTimer("AdapterLatencyTimer", [this] { ReleaseHeld(); })),
      random_(options.faults.seed) {
    if (!line_.IsOpen()) {
        line_.Open(0);
    }
    line_.SetDataAvailable([this](std::span<const std::uint8_t> bytes) { LineData(bytes); });
    Write("radio '" + profile.name + "' type " + std::to_string(profile.typeCode) + " ready");
}

VirtualRadio::~VirtualRadio() {
    line_.SetDataAvailable({});
}

bool VirtualRadio::Idle() const {
    return replies_.empty() && !busy_ && link_.Idle() && outbound_.Empty() && held_.empty();
}

void VirtualRadio::ToLine(std::span<const std::uint8_t> bytes) {
    if (gone_) {
        return;
    }
    const int latency = options_.latencyMs;
    if (latency <= 0) {
        line_.Write(bytes);
        return;
    }
    held_.insert(held_.end(), bytes.begin(), bytes.end());
    if (!latencyTimer_->IsActive()) {
        const std::int64_t now = now_();
        latencyTimer_->Start(static_cast<int>((now / latency + 1) * latency - now));
    }
}

void VirtualRadio::ReleaseHeld() {
    latencyTimer_->Stop();
    const std::vector<std::uint8_t> bytes = std::move(held_);
    held_.clear();
    if (!gone_) {
        line_.Write(bytes);
    }
}

void VirtualRadio::LineData(std::span<const std::uint8_t> bytes) {
    if (options_.faults.corruptProbability > 0) {
        inbound_.Push(Corrupt(bytes));
    } else {
        inbound_.Push(bytes);
    }
}

void VirtualRadio::Decode(std::span<const std::uint8_t> bytes) {
    // Frames are taken out as soon as they are complete, so the ring never fills up however
    // many bytes arrive at once.
    std::vector<std::vector<std::uint8_t>> frames;
    LinkMessageBuffer buffer;
    for (std::uint8_t byte : bytes) {
        decoder_.Push(byte);
        while (decoder_.PopFrame(buffer)) {
            frames.emplace_back(buffer.Data().begin(), buffer.Data().end());
        }
    }
    for (const auto& frame : frames) {
        FrameIn(frame);
    }
}

void VirtualRadio::FrameIn(std::span<const std::uint8_t> frame) {
    if (silent_) {
        return;
    }
    ++framesIn_;
    const int every = options_.faults.dropIncomingEvery;
    if (every > 0 && framesIn_ % every == 0) {
        ++framesDropped_;
        Write("fault: frame from the programmer dropped");
        return;
    }
    link_.FrameReceived(frame);
}

void VirtualRadio::SendFrame(std::span<const std::uint8_t> frame) {
    if (silent_) {
        return;
    }
    ++framesOut_;
    const int every = options_.faults.dropOutgoingEvery;
    if (every > 0 && framesOut_ % every == 0) {
        ++framesDropped_;
        Write("fault: frame to the programmer dropped");
        return;
    }
    const EncodedFrame encoded = FrameEncoder::Encode(frame);
    if (options_.faults.corruptProbability > 0) {
        outbound_.Push(Corrupt(encoded.Bytes()));
    } else {
        outbound_.Push(encoded.Bytes());
    }
}

void VirtualRadio::MessageIn(std::span<const std::uint8_t> message) {
    ++messagesReceived_;
    const FaultOptions& faults = options_.faults;
    if (faults.linkRequestAfterMessage == messagesReceived_) {
        Write("fault: the radio resets its link instead of answering message " +
              std::to_string(messagesReceived_));
        link_.OfferLink();
        return;
    }
    for (Reply& reply : messages_.Handle(message)) {
        replies_.push_back(std::move(reply));
    }
    if (faults.silenceAfterMessage > 0 && messagesReceived_ >= faults.silenceAfterMessage) {
        Write("fault: the radio falls silent after message " + std::to_string(messagesReceived_));
        silent_ = true;
        replies_.clear();
        return;
    }
    PumpReplies();
}

void VirtualRadio::PumpReplies() {
    while (!replies_.empty() && !busy_) {
        Reply& reply = replies_.front();
        if (reply.delayMs > 0) {
            busy_ = true;
            busyTimer_->Start(reply.delayMs);
            return;
        }
        link_.QueueMessage(std::move(reply.message));
        replies_.pop_front();
    }
}

void VirtualRadio::BusyOver() {
    busyTimer_->Stop();
    busy_ = false;
    if (!replies_.empty()) {
        replies_.front().delayMs = 0;
    }
    PumpReplies();
}

std::vector<std::uint8_t> VirtualRadio::Corrupt(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
    std::bernoulli_distribution hit(options_.faults.corruptProbability);
    std::uniform_int_distribution<int> change(1, 255);
    for (std::uint8_t& byte : out) {
        if (hit(random_)) {
            byte ^= static_cast<std::uint8_t>(change(random_));
            ++bytesCorrupted_;
        }
    }
    return out;
}

void VirtualRadio::Write(const std::string& text) {
    if (log_) {
        std::ostringstream line;
        line << "[" << now_() << " ms] " << text;
        log_(line.str());
    }
    const std::string& goneAt = options_.faults.goneAtLog;
    if (!gone_ && !goneAt.empty() && text.find(goneAt) != std::string::npos) {
        gone_ = true;
        silent_ = true;
        replies_.clear();
        if (log_) {
            log_("[" + std::to_string(now_()) + " ms] fault: the radio goes away");
        }
    }
}

}  // namespace km::sim
