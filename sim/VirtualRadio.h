#pragma once
// The virtual radio: a flash memory built from a profile, the radio's side of the programming
// messages and of the data link, and the frame layer, served on one serial port (an in-memory
// wire in tests, a pseudo-terminal in km700sim). Options pace the line at 19200 baud and inject
// faults; a log tells what the programmer did.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "link/Frame.h"
#include "link/SerialPort.h"
#include "link/Timers.h"
#include "sim/Flash.h"
#include "sim/LinePacer.h"
#include "sim/Profile.h"
#include "sim/RadioLink.h"
#include "sim/RadioMessages.h"

namespace km::sim {

struct FaultOptions {
    int dropIncomingEvery = 0;        // drop every Nth frame from the programmer (0: none)
    int dropOutgoingEvery = 0;        // drop every Nth frame to the programmer
    double corruptProbability = 0.0;  // chance that a byte on the line is changed, both ways
    std::uint32_t seed = 1;
    int linkRequestAfterMessage = 0;  // the radio resets its link instead of answering message K
    int silenceAfterMessage = 0;      // after message K the radio neither answers nor listens
    std::size_t readPieceSize = 0;    // data bytes per ReadData piece (0: the usual 128)
    bool padReads = false;            // fill the last piece of a read up to the 128-byte block
    // The radio goes away (switched off, its cable pulled) once its log has a line containing
    // this text: from then on it neither answers nor listens, and Gone() holds.
    std::string goneAtLog;
};

struct RadioOptions {
    bool paced = false;
    FaultOptions faults;
    // A USB serial adapter's latency timer on the programmer's side: the radio's bytes reach the
    // programmer on the next multiple of this many milliseconds (0: at once).
    int latencyMs = 0;
};

class VirtualRadio {
  public:
    using Log = std::function<void(const std::string&)>;
    using NowMs = std::function<std::int64_t()>;

    // Serves `memory` as the radio `profile` describes on `line`, which is opened when it is
    // not open yet. The radio must not outlive the timer service or the line.
    VirtualRadio(const Profile& profile, Flash memory, TimerService& timers, NowMs now,
                 SerialPort& line, RadioOptions options, Log log);
    ~VirtualRadio();
    VirtualRadio(const VirtualRadio&) = delete;
    VirtualRadio& operator=(const VirtualRadio&) = delete;

    Flash& Memory() { return memory_; }
    const MessageHandler& Messages() const { return messages_; }
    const RadioLink& Link() const { return link_; }
    int MessagesReceived() const { return messagesReceived_; }
    int FramesDropped() const { return framesDropped_; }
    int BytesCorrupted() const { return bytesCorrupted_; }
    bool Silent() const { return silent_; }
    // The radio has gone away (FaultOptions::goneAtLog); whoever serves it closes its line.
    bool Gone() const { return gone_; }
    // Nothing waits to go out: no reply queued, delayed or on the line.
    bool Idle() const;

  private:
    void LineData(std::span<const std::uint8_t> bytes);
    void Decode(std::span<const std::uint8_t> bytes);
    void FrameIn(std::span<const std::uint8_t> frame);
    void SendFrame(std::span<const std::uint8_t> frame);
    void MessageIn(std::span<const std::uint8_t> message);
    void PumpReplies();
    void BusyOver();
    std::vector<std::uint8_t> Corrupt(std::span<const std::uint8_t> bytes);
    void Write(const std::string& text);
    void ToLine(std::span<const std::uint8_t> bytes);
    void ReleaseHeld();

    NowMs now_;
    SerialPort& line_;
    RadioOptions options_;
    Log log_;
    Flash memory_;
    MessageHandler messages_;
    RadioLink link_;
    FrameDecoder decoder_;
    LinePacer inbound_;
    LinePacer outbound_;
    std::unique_ptr<Timer> busyTimer_;
    std::unique_ptr<Timer> latencyTimer_;
    std::vector<std::uint8_t> held_;  // bytes the adapter holds until its latency timer runs out
    std::deque<Reply> replies_;
    bool busy_ = false;
    bool silent_ = false;
    bool gone_ = false;
    int messagesReceived_ = 0;
    int framesIn_ = 0;
    int framesOut_ = 0;
    int framesDropped_ = 0;
    int bytesCorrupted_ = 0;
    std::mt19937 random_;
};

RadioAnswers AnswersOf(const Profile& profile, const FaultOptions& faults = {});

}  // namespace km::sim
