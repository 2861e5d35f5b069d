#include "link/DataLink.h"

#include <algorithm>

namespace km {

namespace {
// Bytes a link request, acknowledgement or transfer needs before its fields can be read.
constexpr std::size_t kLinkFieldBytes = 4;

bool IsType(std::span<const std::uint8_t> frame, std::uint8_t type) {
    return frame.size() >= kLinkFieldBytes && frame[0] == type;
}

// Raises a flag for the life of the scope, so that an exception cannot leave it standing (and
// the link deaf) for the rest of the run.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
};
}  // namespace

std::string PortNoPermissionText(std::string_view device) {
    return "No permission to open the serial port " + std::string(device) +
           ".\nAdd your user to the dialout group (sudo usermod -aG dialout $USER),\n"
           "then log out and log in again.";
}

std::string_view LinkMessageTypeName(std::span<const std::uint8_t> message) {
    if (message.empty()) {
        return "Unknown";
    }
    switch (message[0]) {
        case kLinkRequest:
            return "Link request";
        case kLinkAcknowledge:
            return "Link acknowledge";
        case kLinkTransfer:
            return "Link transfer";
        default:
            return "Unknown";
    }
}

DataLink::DataLink(SerialPort& port, TimerService& timers, Person& person)
    : port_(port), person_(person) {
    linkEstablishTimer_ = timers.CreateTimer(kLinkEstablishTimer.name,
                                             [this] { RunLinkStep(Cause::LinkEstablishFired); });
    retryTimer_ = timers.CreateTimer(kRetryTimer.name, [this] { RunLinkStep(Cause::RetryFired); });
    activityTimer_ =
        timers.CreateTimer(kActivityTimer.name, [this] { RunLinkStep(Cause::ActivityFired); });
    stopCommsTimer_ = timers.CreateTimer(kStopCommsTimer.name, [this] { OnStopCommsTick(); });
    port_.SetDataAvailable([this](std::span<const std::uint8_t> bytes) { OnData(bytes); });
    port_.SetErrorOccurred([this](PortError error) { OnPortError(error); });
}

DataLink::~DataLink() {
    port_.SetDataAvailable(nullptr);
    port_.SetErrorOccurred(nullptr);
}

bool DataLink::OpenRadioPort(int comIndex) {
    if (port_.IsOpen() && comIndex == comIndex_) {
        // A close still pending from the last operation gives way to the new one.
        closePending_ = false;
        stopCommsTimer_->Stop();
        return true;
    }
    if (port_.IsOpen()) {
        CloseRadioPort();
    }
    const OpenResult result = port_.Open(comIndex);
    switch (result.outcome) {
        case OpenOutcome::Ok:
            comIndex_ = comIndex;
            portHeld_ = true;
            linkEstablishTimer_->Start(kLinkEstablishTimer);
            retryTimer_->Start(kRetryTimer);
            activityTimer_->Start(kActivityTimer);
            return true;
        case OpenOutcome::InUse:
            openRefusal_ = kPortInUseText;
            break;
        case OpenOutcome::NoPermission:
            openRefusal_ = PortNoPermissionText(result.device);
            break;
        case OpenOutcome::DoesNotExist:
        case OpenOutcome::OtherFailure:
            openRefusal_ = kPortDoesNotExistText;
            break;
    }
    person_.Error(openRefusal_);
    return false;
}

void DataLink::CloseRadioPort() {
    linkEstablishTimer_->Stop();
    retryTimer_->Stop();
    activityTimer_->Stop();
    stopCommsTimer_->Stop();
    closePending_ = false;
    portHeld_ = false;
    port_.Close();
}

// The port failed under the link: it is closed, the link is lost at once (nothing waits for
// retries that could never go out), and the programming messages are told.
void DataLink::OnPortError(PortError error) {
    if (!portHeld_) {
        return;  // a port the link has already let go of
    }
    lastPortError_ = error;
    CloseRadioPort();
    ResetSequence();
    queue_.Clear();
    keptTransfer_.clear();
    ResetReceiver();
    state_ = LinkState::LostReset;
    UpdateStatus();
    PassUp(UpwardKind::PortFailed);
    upward_.back().error = error;
    DispatchUpward();
}

void DataLink::ClosePortWhenSent() {
    if (!port_.IsOpen()) {
        return;
    }
    closePending_ = true;
    closeTicks_ = 0;
    stopCommsTimer_->Start(kStopCommsTimer);
}

bool DataLink::AllSent() const {
    return queue_.Empty() && sendSeq_ == ackedSeq_ && port_.BytesToWrite() == 0;
}

void DataLink::OnStopCommsTick() {
    ++closeTicks_;
    if (AllSent() || closeTicks_ >= kCloseWaitTicks || !port_.IsOpen()) {
        CloseRadioPort();
    }
}

LinkVariables DataLink::Variables() const {
    return {state_,      sendSeq_,       ackedSeq_,     receiveSeq_, credit_,
            retryCount_, activityCount_, requestCount_, p1_,         p2_};
}

bool DataLink::QueueMessage(std::span<const std::uint8_t> message) {
    return queue_.Push(message);
}

bool DataLink::WindowOpen() const {
    return state_ == LinkState::Established && credit_ != 0 && queue_.Empty() &&
           sendSeq_ == ackedSeq_;
}

void DataLink::LinkStep() {
    RunLinkStep(Cause::Poll);
}

void DataLink::ResetSequence() {
    sendSeq_ = receiveSeq_ = ackedSeq_ = 1;
    credit_ = 0;
    retryCount_ = 0;
    activityCount_ = kActivityTicks;
}

void DataLink::LinkReset() {
    if (closePending_) {
        PassUp(UpwardKind::Reset);
        DispatchUpward();
        return;
    }
    ResetSequence();
    p1_ = kInitialP1;
    p2_ = kInitialP2;
    requestCount_ = 0;
    linkEstablishTimer_->Stop();
    retryTimer_->Stop();
    activityTimer_->Stop();
    if (port_.IsOpen()) {
        SendLinkRequest();
    }
    queue_.Clear();
    keptTransfer_.clear();
    ResetReceiver();
    state_ = LinkState::LostReset;
    PassUp(UpwardKind::Reset);
    DispatchUpward();
}

void DataLink::ResetReceiver() {
    decoder_.Reset();
    linkMessage_.Clear();
    inbox_.clear();
    ++receiverGeneration_;
}

// ---- receiving bytes ----

void DataLink::OnData(std::span<const std::uint8_t> bytes) {
    if (!port_.IsOpen() || bytes.empty()) {
        return;
    }
    if (inStep_ || receiving_) {
        // Only a peer that answers inside our Write gets here: its bytes wait for the step.
        inbox_.insert(inbox_.end(), bytes.begin(), bytes.end());
        return;
    }
    {
        const FlagScope receiving(receiving_);
        Receive(bytes);
        while (!inbox_.empty() && port_.IsOpen()) {
            const std::vector<std::uint8_t> waiting = std::move(inbox_);
            inbox_.clear();
            Receive(waiting);
        }
    }
    // Only now, with every byte of the event decoded, may a step machine run: it may open a
    // question box whose event loop delivers newer bytes.
    DispatchUpward();
}

// Decodes the bytes of one data event and hands each complete frame to the link step. When the
// ring fills, the frames decoded so far are handed up first, so no good frame is lost however
// large the event. A receiver reset while handing up drops the rest of the event.
void DataLink::Receive(std::span<const std::uint8_t> bytes) {
    const unsigned generation = receiverGeneration_;
    auto deliver = [&] {
        while (generation == receiverGeneration_ && decoder_.PopFrame(linkMessage_)) {
            RunLinkStep(Cause::Frame);
        }
        return generation == receiverGeneration_;
    };
    for (std::uint8_t byte : bytes) {
        decoder_.Push(byte);
        if (decoder_.NeedsDelivery() && !deliver()) {
            return;
        }
    }
    deliver();
}

// ---- the link step ----

void DataLink::RunLinkStep(Cause cause) {
    if (!port_.IsOpen()) {
        if (portHeld_) {
            OnPortError(PortError::DeviceGone);  // closed under the link without a word
        }
        return;
    }
    {
        const FlagScope inStep(inStep_);
        Step(cause);
        linkMessage_.Clear();  // the frame is consumed when the step ends
    }
    if (closePending_ && portHeld_ && AllSent()) {
        // The last message has been acknowledged: nothing keeps the port open any longer.
        CloseRadioPort();
        return;
    }
    if (!portHeld_) {
        // The port failed during the step: whatever the step made of the link, it is lost.
        ResetSequence();
        state_ = LinkState::LostReset;
        retryTimer_->Stop();
        linkEstablishTimer_->Stop();
        activityTimer_->Stop();
    }
    UpdateStatus();
    if (!inbox_.empty() && !receiving_) {
        // Bytes a peer wrote back inside our Write, during the step.
        const std::vector<std::uint8_t> waiting = std::move(inbox_);
        inbox_.clear();
        OnData(waiting);
    }
    DispatchUpward();
}

void DataLink::Step(Cause cause) {
    std::span<const std::uint8_t> frame;
    if (cause == Cause::Frame) {
        frame = linkMessage_.Data();
        if (frameMonitor_) {
            frameMonitor_({FrameDirection::In, frame, LinkMessageTypeName(frame)});
        }
    }
    switch (state_) {
        case LinkState::LostReset:
            StepLostReset(cause, frame);
            break;
        case LinkState::LostWait:
            StepLostWait(cause, frame);
            break;
        case LinkState::Established:
            StepEstablished(cause, frame);
            break;
    }
}

void DataLink::LinkCounting() {
    if (++requestCount_ >= kRequestCountWrap) {
        requestCount_ = 0;
        state_ = LinkState::LostReset;
    }
}

void DataLink::Negotiate(std::span<const std::uint8_t> linkRequest) {
    p1_ = std::min(p1_, linkRequest[1]);
    p2_ = std::min(p2_, linkRequest[2]);
}

void DataLink::Establish() {
    SendLinkAcknowledge();
    state_ = LinkState::Established;
    PassUp(UpwardKind::Established);  // an operation waiting for the link starts at once
}

void DataLink::StepLostReset(Cause cause, std::span<const std::uint8_t> frame) {
    if (cause == Cause::LinkEstablishFired) {
        LinkCounting();
        SendLinkRequest();
    } else if (cause == Cause::Frame) {
        if (IsType(frame, kLinkRequest)) {
            Negotiate(frame);
            state_ = LinkState::LostWait;
        }
        SendLinkRequest();
    }
}

void DataLink::StepLostWait(Cause cause, std::span<const std::uint8_t> frame) {
    if (cause == Cause::LinkEstablishFired) {
        LinkCounting();
        SendLinkRequest();
    } else if (IsType(frame, kLinkRequest)) {
        if (frame[1] == p1_ && frame[2] == p2_) {
            ResetSequence();
            Establish();
        } else {
            Negotiate(frame);
            SendLinkRequest();
        }
    } else if (IsType(frame, kLinkAcknowledge)) {
        ResetSequence();
        credit_ = frame[2];
        Establish();
    } else if (IsType(frame, kLinkTransfer)) {
        SendLinkRequest();
    }
}

void DataLink::StepEstablished(Cause cause, std::span<const std::uint8_t> frame) {
    // The sending side: a retransmission when the retry timer ran out, else a queued message.
    if (retryCount_ != 0 && cause == Cause::RetryFired) {
        if (--retryCount_ == 0) {
            LinkReset();
            return;
        }
        ResendTransfer();
    } else if (!queue_.Empty() && credit_ != 0) {
        SendNextTransfer();
    }
    // The receiving side.
    if (cause == Cause::ActivityFired) {
        if (activityCount_ > 0) {
            --activityCount_;
        }
        if (activityCount_ == 0) {
            LinkReset();
        } else {
            SendLinkAcknowledge();  // keep-alive
        }
    } else if (IsType(frame, kLinkAcknowledge)) {
        ReceiveAcknowledge(frame);
    } else if (IsType(frame, kLinkRequest)) {
        Negotiate(frame);
        retryCount_ = 0;
        SendLinkRequest();
        state_ = LinkState::LostReset;
        PassUp(UpwardKind::RadioRequest);
    } else if (IsType(frame, kLinkTransfer)) {
        ReceiveTransfer(frame);
    }
}

void DataLink::ReceiveAcknowledge(std::span<const std::uint8_t> frame) {
    const std::uint8_t r = frame[1];
    const auto acknowledged = static_cast<std::uint8_t>(r - ackedSeq_);
    const auto outstanding = static_cast<std::uint8_t>(sendSeq_ - ackedSeq_);
    if (acknowledged > outstanding) {
        LinkReset();  // the radio acknowledges a transfer never sent
        return;
    }
    activityCount_ = kActivityTicks;
    credit_ = frame[2];
    if (r == sendSeq_) {
        retryCount_ = 0;
        ackedSeq_ = r;
        if (credit_ > 0) {
            PassUp(UpwardKind::WindowOpen);
        }
    } else if (r == ackedSeq_ && retryCount_ > 0) {
        // Nothing new acknowledged: the radio missed the transfer, so it goes again at once.
        if (--retryCount_ == 0) {
            LinkReset();
        } else {
            ResendTransfer();
        }
    }
}

void DataLink::ReceiveTransfer(std::span<const std::uint8_t> frame) {
    const std::uint8_t s = frame[1];
    activityCount_ = kActivityTicks;
    if (s == receiveSeq_) {
        const auto waiting = std::count_if(upward_.begin(), upward_.end(), [](const auto& call) {
            return call.kind == UpwardKind::Message;
        });
        if (static_cast<std::size_t>(waiting) >= kMaxWaitingTransfers) {
            return;  // not acknowledged: the radio sends it again
        }
        ++receiveSeq_;
        SendLinkAcknowledge();
        PassUp(UpwardKind::Message, frame);
    } else if (s == static_cast<std::uint8_t>(receiveSeq_ - 1) ||
               s == static_cast<std::uint8_t>(receiveSeq_ + 1)) {
        SendLinkAcknowledge();  // a repeat (or one ahead): acknowledged, not delivered again
    } else {
        p1_ = kInitialP1;
        p2_ = kInitialP2;
        requestCount_ = 0;
        retryCount_ = 0;
        SendLinkRequest();
        state_ = LinkState::LostWait;
    }
}

void DataLink::SendNextTransfer() {
    const std::vector<std::uint8_t> message = queue_.Pop();
    keptTransfer_ = {kLinkTransfer, sendSeq_, 0x01, 0x00};
    keptTransfer_.insert(keptTransfer_.end(), message.begin(), message.end());
    SendLinkMessage(keptTransfer_);
    ++sendSeq_;
    --credit_;
    retryTimer_->Start(kRetryTimer);
    retryCount_ = kRetrySends;
}

void DataLink::ResendTransfer() {
    SendLinkMessage(keptTransfer_);
    retryTimer_->Start(kRetryTimer);
}

void DataLink::SendLinkRequest() {
    const std::array<std::uint8_t, 4> request{kLinkRequest, p1_, p2_, 0x01};
    SendLinkMessage(request);
    linkEstablishTimer_->Start(kLinkEstablishTimer);
}

void DataLink::SendLinkAcknowledge() {
    const std::array<std::uint8_t, 4> acknowledge{kLinkAcknowledge, receiveSeq_, 0x01, 0x00};
    SendLinkMessage(acknowledge);
    activityTimer_->Start(kActivityTimer);
}

void DataLink::SendLinkMessage(std::span<const std::uint8_t> message) {
    if (!port_.IsOpen()) {
        // Never taken for a sent frame: a held port that is closed has failed.
        if (portHeld_) {
            OnPortError(PortError::WriteFailed);
        }
        return;
    }
    const EncodedFrame frame = FrameEncoder::Encode(message);
    if (frameMonitor_) {
        frameMonitor_({FrameDirection::Out, message, LinkMessageTypeName(message)});
    }
    port_.Write(frame.Bytes());
}

void DataLink::UpdateStatus() {
    const char* text = kStatusEstablished;
    if (state_ == LinkState::LostReset) {
        text = kStatusLostReset;
    } else if (state_ == LinkState::LostWait) {
        text = kStatusLostWait;
    } else if (retryCount_ >= 1 && retryCount_ <= 9) {
        text = kStatusRetrying;
    }
    if (status_ != text) {
        status_ = text;
        if (statusMonitor_) {
            statusMonitor_(status_);
        }
    }
}

// ---- calls up into the programming messages ----

void DataLink::PassUp(UpwardKind kind, std::span<const std::uint8_t> transfer) {
    if (kind == UpwardKind::Reset) {
        upward_.clear();  // a reset abandons whatever was still to be passed up
    }
    if (kind == UpwardKind::WindowOpen &&
        std::any_of(upward_.begin(), upward_.end(),
                    [](const auto& call) { return call.kind == UpwardKind::WindowOpen; })) {
        return;
    }
    upward_.push_back({kind, std::vector<std::uint8_t>(transfer.begin(), transfer.end())});
}

void DataLink::DispatchUpward() {
    if (dispatching_ || inStep_ || receiving_) {
        return;  // what runs finishes first; its caller then takes what waits
    }
    const FlagScope dispatching(dispatching_);
    while (!upward_.empty()) {
        UpwardCall call = std::move(upward_.front());
        upward_.pop_front();
        if (!client_) {
            continue;
        }
        switch (call.kind) {
            case UpwardKind::Message:
                client_->MessageReceived(call.transfer);
                break;
            case UpwardKind::WindowOpen:
                client_->SendWindowOpen();
                break;
            case UpwardKind::Reset:
                client_->LinkWasReset();
                break;
            case UpwardKind::RadioRequest:
                client_->RadioRequestedLink();
                break;
            case UpwardKind::PortFailed:
                client_->PortFailed(call.error);
                break;
            case UpwardKind::Established:
                client_->LinkEstablished();
                break;
        }
    }
}

void DataLink::RunAsUpwardCall(const std::function<void()>& call) {
    if (dispatching_ || inStep_ || receiving_) {
        call();
        return;
    }
    {
        const FlagScope dispatching(dispatching_);
        call();
    }
    DispatchUpward();
}

}  // namespace km
