#include "sim/RadioLink.h"

#include <algorithm>

namespace km::sim {

namespace {
constexpr std::uint8_t kLinkRequest = 1;
constexpr std::uint8_t kLinkAcknowledge = 2;
constexpr std::uint8_t kLinkTransfer = 4;
constexpr std::size_t kLinkFrameSize = 4;
constexpr std::size_t kTransferHeader = 4;
constexpr std::uint8_t kGrantedCredit = 1;
}  // namespace

RadioLink::RadioLink(TimerService& timers, std::uint8_t p1, std::uint8_t p2,
                     RadioLinkCallbacks callbacks)
    : retryTimer_(timers.CreateTimer("RadioRetryTimer", [this] { RetryTick(); })),
      configuredP1_(p1),
      configuredP2_(p2),
      p1_(p1),
      p2_(p2),
      callbacks_(std::move(callbacks)) {}

void RadioLink::FrameReceived(std::span<const std::uint8_t> frame) {
    if (frame.empty()) {
        return;
    }
    // Link requests and acknowledgements carry four bytes, transfers at least their header.
    if (frame.size() < kLinkFrameSize) {
        callbacks_.log("short link frame of " + std::to_string(frame.size()) + " bytes ignored");
        return;
    }
    switch (frame[0]) {
        case kLinkRequest:
            LinkRequestReceived(frame[1], frame[2]);
            break;
        case kLinkAcknowledge:
            AcknowledgeReceived(frame[1], frame[2]);
            break;
        case kLinkTransfer:
            TransferReceived(frame[1], frame.subspan(kTransferHeader));
            break;
        default:
            break;
    }
}

void RadioLink::QueueMessage(std::vector<std::uint8_t> message) {
    queue_.push_back(std::move(message));
    SendNext();
}

void RadioLink::OfferLink() {
    GoDown("the radio resets its link");
    p1_ = configuredP1_;
    p2_ = configuredP2_;
    SendLinkRequest();
    state_ = RadioLinkState::Offered;
}

void RadioLink::LinkRequestReceived(std::uint8_t p1, std::uint8_t p2) {
    switch (state_) {
        case RadioLinkState::Down:
            Negotiate(p1, p2);
            SendLinkRequest();
            state_ = RadioLinkState::Offered;
            break;
        case RadioLinkState::Offered:
            Negotiate(p1, p2);
            if (p1 == p1_ && p2 == p2_) {
                Establish();
            } else {
                SendLinkRequest();
            }
            break;
        case RadioLinkState::Up:
            // The programmer has reset its side; it waits for the radio's offer.
            GoDown("link request from the programmer");
            Negotiate(p1, p2);
            SendLinkRequest();
            state_ = RadioLinkState::Offered;
            break;
    }
}

void RadioLink::AcknowledgeReceived(std::uint8_t nr, std::uint8_t nk) {
    if (state_ == RadioLinkState::Down) {
        SendLinkRequest();
        state_ = RadioLinkState::Offered;
        return;
    }
    // While offering, an acknowledgement is left unanswered: answering it with yet another link
    // request would keep the two sides resetting each other.
    if (state_ == RadioLinkState::Offered) {
        return;
    }
    credit_ = nk;
    if (outstanding_) {
        if (nr == sendSeq_) {
            outstanding_ = false;
            retryTimer_->Stop();
            confirmed_ = true;
        } else if (nr == static_cast<std::uint8_t>(sendSeq_ - 1)) {
            Transmit();  // the programmer still expects the outstanding transfer
            return;
        }
    } else if (confirmed_) {
        SendAcknowledge();  // a keep-alive: show the programmer that the radio is there
    } else {
        confirmed_ = true;
    }
    SendNext();
}

void RadioLink::TransferReceived(std::uint8_t ns, std::span<const std::uint8_t> message) {
    if (state_ != RadioLinkState::Up) {
        SendLinkRequest();
        state_ = RadioLinkState::Offered;
        return;
    }
    if (ns == receiveSeq_) {
        ++receiveSeq_;
        SendAcknowledge();
        callbacks_.messageReceived(message);
    } else if (ns == static_cast<std::uint8_t>(receiveSeq_ - 1) ||
               ns == static_cast<std::uint8_t>(receiveSeq_ + 1)) {
        SendAcknowledge();  // a repeat: acknowledged again, not handed up twice
    } else {
        GoDown("link transfer " + std::to_string(ns) + " out of sequence, expected " +
               std::to_string(receiveSeq_));
        SendLinkRequest();
        state_ = RadioLinkState::Offered;
    }
}

void RadioLink::Negotiate(std::uint8_t p1, std::uint8_t p2) {
    p1_ = std::min(configuredP1_, p1);
    p2_ = std::min(configuredP2_, p2);
}

void RadioLink::SendLinkRequest() {
    const std::uint8_t frame[] = {kLinkRequest, p1_, p2_, 0x01};
    callbacks_.sendFrame(frame);
}

void RadioLink::SendAcknowledge() {
    const std::uint8_t frame[] = {kLinkAcknowledge, receiveSeq_, kGrantedCredit, 0x00};
    callbacks_.sendFrame(frame);
}

void RadioLink::Establish() {
    sendSeq_ = 1;
    receiveSeq_ = 1;
    credit_ = 0;
    confirmed_ = false;
    outstanding_ = false;
    queue_.clear();
    retryTimer_->Stop();
    state_ = RadioLinkState::Up;
    callbacks_.log("link established (parameters " + std::to_string(p1_) + ", " +
                   std::to_string(p2_) + ")");
    SendAcknowledge();
}

void RadioLink::GoDown(const std::string& why) {
    const bool wasUp = state_ == RadioLinkState::Up;
    queue_.clear();
    outstanding_ = false;
    retryTimer_->Stop();
    state_ = RadioLinkState::Down;
    if (wasUp) {
        callbacks_.log("link down: " + why);
        callbacks_.linkLost();
    }
}

void RadioLink::SendNext() {
    if (state_ != RadioLinkState::Up || outstanding_ || credit_ <= 0 || queue_.empty()) {
        return;
    }
    lastTransfer_ = {kLinkTransfer, sendSeq_, 0x01, 0x00};
    const std::vector<std::uint8_t>& message = queue_.front();
    lastTransfer_.insert(lastTransfer_.end(), message.begin(), message.end());
    queue_.pop_front();
    ++sendSeq_;
    --credit_;
    outstanding_ = true;
    sends_ = 0;
    Transmit();
}

void RadioLink::Transmit() {
    if (sends_ >= kRadioMaxSends) {
        GoDown("no acknowledgement after " + std::to_string(kRadioMaxSends) + " sends");
        SendLinkRequest();
        state_ = RadioLinkState::Offered;
        return;
    }
    if (sends_ > 0) {
        ++retransmissions_;
    }
    ++sends_;
    callbacks_.sendFrame(lastTransfer_);
    retryTimer_->Start(kRadioRetryMs);
}

void RadioLink::RetryTick() {
    if (!outstanding_) {
        retryTimer_->Stop();
        return;
    }
    Transmit();
}

}  // namespace km::sim
