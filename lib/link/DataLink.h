#pragma once
// The radio link below the programming messages: the serial port with its frame layer, and the
// data link state machine. The programmer and the radio set up a link with link requests, then
// exchange numbered link transfers, each acknowledged by a link acknowledgement that grants
// credit for the next one. Unacknowledged transfers are sent again every 300 ms (eleven sends in
// all), an idle link is kept alive every 15 s, and a lost link resets itself.
//
// Everything runs on one thread. Calls up into the programming messages (and through them into
// the radio operations) never nest: while one is running (a question box may keep it on the
// stack for a long time), the link goes on acknowledging, retransmitting and keeping alive, and
// what it has to pass up waits in order until the running call returns.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"
#include "link/Frame.h"
#include "link/SerialPort.h"
#include "link/Timers.h"
#include "link/TransmitQueue.h"

namespace km {

inline constexpr const char* kPortInUseText =
    "COM Port specified already in use.\nPlease change your COM Port.";
inline constexpr const char* kPortDoesNotExistText =
    "COM Port specified does not exist.\nPlease change your COM Port.";
// Shown when a running operation loses the link to the radio.
inline constexpr const char* kSerialCommsErrorText =
    "Serial Communications Error.                   \nPlease Try Again.                   \n    ";

// The message for a serial device this user may not open (on Linux: not in the dialout group).
std::string PortNoPermissionText(std::string_view device);

// Where the link stands: lost, sending link requests until the radio acknowledges one; lost,
// waiting for the radio's own link request; or established.
enum class LinkState { LostReset = 1, LostWait = 2, Established = 3 };

// The first byte of every link message.
inline constexpr std::uint8_t kLinkRequest = 1;
inline constexpr std::uint8_t kLinkAcknowledge = 2;
inline constexpr std::uint8_t kLinkTransfer = 4;
// Bytes in front of the programming message inside a link transfer: 04, N(S), 01, 00.
inline constexpr std::size_t kTransferHeader = 4;

// Texts of the link status label.
inline constexpr const char* kStatusInitial = "Lost";
inline constexpr const char* kStatusLostReset = "Link Lost - Reset";
inline constexpr const char* kStatusLostWait = "Link Lost - Wait";
inline constexpr const char* kStatusRetrying = "Retrying ";
inline constexpr const char* kStatusEstablished = "Link Established ";

inline constexpr std::uint8_t kInitialP1 = 14;
inline constexpr std::uint8_t kInitialP2 = 1;
inline constexpr int kRetrySends = 11;
inline constexpr int kActivityTicks = 5;
inline constexpr int kRequestCountWrap = 20;
// Link transfers passed up but not yet taken by the programming messages. A transfer arriving
// beyond this is neither acknowledged nor kept, so the radio sends it again later.
inline constexpr std::size_t kMaxWaitingTransfers = 32;
// How long a delayed close waits at most for the last message to leave (StopCommsTimer ticks).
inline constexpr int kCloseWaitTicks = 10;

// "Link request", "Link acknowledge", "Link transfer" or "Unknown", for the serial monitor.
std::string_view LinkMessageTypeName(std::span<const std::uint8_t> message);

enum class FrameDirection { In, Out };

// One link message as it crossed the line, for the serial monitor.
struct FrameEvent {
    FrameDirection direction;
    std::span<const std::uint8_t> message;  // the data of the frame (the link message)
    std::string_view type;
};

// The calls the data link makes into the programming messages.
class LinkClient {
  public:
    virtual ~LinkClient() = default;
    // A new in-sequence link transfer (type byte, N(S), 01, 00, then the message).
    virtual void MessageReceived(std::span<const std::uint8_t> transfer) = 0;
    // Everything sent has been acknowledged and the radio grants credit.
    virtual void SendWindowOpen() = 0;
    virtual void LinkWasReset() = 0;
    // The radio asked for a new link while the link was established.
    virtual void RadioRequestedLink() = 0;
    // The serial port failed under the link and has been closed; the link is lost.
    virtual void PortFailed(PortError error) = 0;
    // The link has just been established.
    virtual void LinkEstablished() = 0;
};

// The link variables, for the serial monitor and for tests.
struct LinkVariables {
    LinkState State;
    std::uint8_t SendSeq;
    std::uint8_t AckedSeq;
    std::uint8_t ReceiveSeq;
    std::uint8_t Credit;
    int RetryCount;
    int ActivityCount;
    int RequestCount;
    std::uint8_t P1;
    std::uint8_t P2;
};

class DataLink {
  public:
    DataLink(SerialPort& port, TimerService& timers, Person& person);
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;
    ~DataLink();

    // Opens COM(comIndex + 1) and starts the link timers. On failure the person is told why and
    // the result is false. Opening the port that is already open succeeds at once.
    bool OpenRadioPort(int comIndex);
    // The text the last refused open showed.
    const std::string& OpenRefusal() const { return openRefusal_; }
    void CloseRadioPort();
    bool PortOpen() const { return port_.IsOpen(); }
    // Why the port last failed under the link (a device gone, a read or a write refused).
    std::optional<PortError> LastPortError() const { return lastPortError_; }
    // Closes the port once the queued messages have been sent and acknowledged and have left
    // the port (looked at after every step of the link and every StopCommsTimer tick), or after
    // at most a second.
    void ClosePortWhenSent();

    // Starts the link afresh: variables, timers, transmit queue and receiver, then a link
    // request. On a closed port nothing is sent. While a delayed close is pending only the
    // programming messages are told (the closing message must still go out).
    void LinkReset();
    // One step of the state machine without a frame or timer: sends a queued message when the
    // radio grants credit.
    void LinkStep();
    LinkState State() const { return state_; }
    LinkVariables Variables() const;

    // Appends a programming message to the transmit queue; false when it does not fit.
    [[nodiscard]] bool QueueMessage(std::span<const std::uint8_t> message);
    // The radio grants credit and nothing waits to be sent or acknowledged.
    bool WindowOpen() const;
    bool Credit() const { return credit_ != 0; }
    // True while a call into the programming messages is running.
    bool InUpwardCall() const { return dispatching_; }
    // Runs `call` as a call into the programming messages: what the link has to pass up
    // meanwhile waits until it returns. For step machines started from outside the link.
    void RunAsUpwardCall(const std::function<void()>& call);

    void SetClient(LinkClient* client) { client_ = client; }
    void SetFrameMonitor(std::function<void(const FrameEvent&)> monitor) {
        frameMonitor_ = std::move(monitor);
    }
    // Called whenever the link status text changes.
    void SetStatusMonitor(std::function<void(std::string_view)> monitor) {
        statusMonitor_ = std::move(monitor);
    }
    std::string_view StatusText() const { return status_; }

  private:
    enum class Cause { Poll, Frame, LinkEstablishFired, RetryFired, ActivityFired };
    enum class UpwardKind { Message, WindowOpen, Reset, RadioRequest, PortFailed, Established };
    struct UpwardCall {
        UpwardKind kind;
        std::vector<std::uint8_t> transfer;
        PortError error = PortError::DeviceGone;
    };

    void OnData(std::span<const std::uint8_t> bytes);
    void OnPortError(PortError error);
    void Receive(std::span<const std::uint8_t> bytes);
    void RunLinkStep(Cause cause);
    void Step(Cause cause);
    void StepLostReset(Cause cause, std::span<const std::uint8_t> frame);
    void StepLostWait(Cause cause, std::span<const std::uint8_t> frame);
    void StepEstablished(Cause cause, std::span<const std::uint8_t> frame);
    void ReceiveAcknowledge(std::span<const std::uint8_t> frame);
    void ReceiveTransfer(std::span<const std::uint8_t> frame);
    void SendNextTransfer();
    void ResendTransfer();
    void LinkCounting();
    void Negotiate(std::span<const std::uint8_t> linkRequest);
    void ResetSequence();
    void Establish();
    void SendLinkRequest();
    void SendLinkAcknowledge();
    void SendLinkMessage(std::span<const std::uint8_t> message);
    void ResetReceiver();
    void UpdateStatus();
    void PassUp(UpwardKind kind, std::span<const std::uint8_t> transfer = {});
    void DispatchUpward();
    void OnStopCommsTick();
    bool AllSent() const;

    SerialPort& port_;
    Person& person_;
    LinkClient* client_ = nullptr;
    std::unique_ptr<Timer> linkEstablishTimer_;
    std::unique_ptr<Timer> retryTimer_;
    std::unique_ptr<Timer> activityTimer_;
    std::unique_ptr<Timer> stopCommsTimer_;
    int comIndex_ = -1;
    std::string openRefusal_;
    // The link holds an open port: from its open until CloseRadioPort. A port that is found
    // closed while held has failed, whether or not it said so.
    bool portHeld_ = false;
    std::optional<PortError> lastPortError_;

    FrameDecoder decoder_;
    LinkMessageBuffer linkMessage_;
    TransmitQueue queue_;
    std::vector<std::uint8_t> keptTransfer_;

    LinkState state_ = LinkState::LostReset;
    std::uint8_t sendSeq_ = 1;
    std::uint8_t ackedSeq_ = 1;
    std::uint8_t receiveSeq_ = 1;
    std::uint8_t credit_ = 0;
    int retryCount_ = 0;
    int activityCount_ = kActivityTicks;
    int requestCount_ = 0;
    std::uint8_t p1_ = kInitialP1;
    std::uint8_t p2_ = kInitialP2;

    // Bumped by every receiver reset, so that delivery of an event's frames stops after one.
    unsigned receiverGeneration_ = 0;
    bool inStep_ = false;
    bool receiving_ = false;
    std::vector<std::uint8_t> inbox_;
    bool dispatching_ = false;
    std::deque<UpwardCall> upward_;
    bool closePending_ = false;
    int closeTicks_ = 0;

    std::function<void(const FrameEvent&)> frameMonitor_;
    std::function<void(std::string_view)> statusMonitor_;
    std::string status_ = kStatusInitial;
};

}  // namespace km
