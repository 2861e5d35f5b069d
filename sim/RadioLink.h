#pragma once
// The radio's side of the data link. The radio is the answering station:
//   - while its link is down it answers whatever arrives with a link request of its own
//     (01 P1 P2 01), taking for each parameter the smaller of its own and the programmer's;
//   - once it has offered, a link request with the same parameters sets the link up: the radio
//     acknowledges (02 N(R) N(K) 00) with credit 1 and both sides count from 1;
//   - a link request while the link is up means the programmer has reset its side: the radio
//     offers again;
//   - link transfers in sequence are acknowledged and handed up; a repeat of the previous one
//     is acknowledged again and dropped; any other number takes the link down;
//   - the radio's replies go out one link transfer at a time (04 N(S) 01 00 message), each
//     only once the programmer has granted credit, sent again every 400 ms until acknowledged,
//     at most 11 times before the radio gives the link up and offers it anew;
//   - a keep-alive acknowledgement (one that acknowledges nothing new while nothing is
//     outstanding) is answered with an acknowledgement, so that the programmer sees the radio.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/Timers.h"

namespace km::sim {

inline constexpr int kRadioRetryMs = 400;
inline constexpr int kRadioMaxSends = 11;

enum class RadioLinkState { Down, Offered, Up };

struct RadioLinkCallbacks {
    std::function<void(std::span<const std::uint8_t>)> sendFrame;        // one link message
    std::function<void(std::span<const std::uint8_t>)> messageReceived;  // an in-sequence message
    std::function<void()> linkLost;  // the link went down: replies not yet sent are dropped
    std::function<void(const std::string&)> log;
};

class RadioLink {
  public:
    RadioLink(TimerService& timers, std::uint8_t p1, std::uint8_t p2, RadioLinkCallbacks callbacks);

    // One decoded link message from the line.
    void FrameReceived(std::span<const std::uint8_t> frame);
    // Queues a reply; it goes out as soon as the programmer grants credit.
    void QueueMessage(std::vector<std::uint8_t> message);
    // The radio resets its own side in the middle of whatever runs, and offers the link anew.
    void OfferLink();

    RadioLinkState State() const { return state_; }
    bool Idle() const { return queue_.empty() && !outstanding_; }
    int Retransmissions() const { return retransmissions_; }

  private:
    void LinkRequestReceived(std::uint8_t p1, std::uint8_t p2);
    void AcknowledgeReceived(std::uint8_t nr, std::uint8_t nk);
    void TransferReceived(std::uint8_t ns, std::span<const std::uint8_t> message);
    void Negotiate(std::uint8_t p1, std::uint8_t p2);
    void SendLinkRequest();
    void SendAcknowledge();
    void Establish();
    void GoDown(const std::string& why);
    void SendNext();
    void Transmit();
    void RetryTick();

    std::unique_ptr<Timer> retryTimer_;
    std::uint8_t configuredP1_;
    std::uint8_t configuredP2_;
    std::uint8_t p1_;
    std::uint8_t p2_;
    RadioLinkCallbacks callbacks_;

    RadioLinkState state_ = RadioLinkState::Down;
    std::uint8_t sendSeq_ = 1;     // N(S) of the next new transfer
    std::uint8_t receiveSeq_ = 1;  // N(S) expected from the programmer
    int credit_ = 0;
    bool confirmed_ = false;  // the programmer has acknowledged the link set-up
    bool outstanding_ = false;
    std::vector<std::uint8_t> lastTransfer_;
    int sends_ = 0;
    int retransmissions_ = 0;
    std::deque<std::vector<std::uint8_t>> queue_;
};

}  // namespace km::sim
