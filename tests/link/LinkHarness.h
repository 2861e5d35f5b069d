#pragma once
// A programmer-side link on one end of an in-memory wire and a scripted radio on the other,
// driven by the virtual clock.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScriptedPerson.h"
#include "link/DataLink.h"
#include "link/Frame.h"
#include "link/Messages.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"

namespace km::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

inline Bytes EncodeFrame(const Bytes& message) {
    const auto frame = FrameEncoder::Encode(message);
    return Bytes(frame.Bytes().begin(), frame.Bytes().end());
}

// The radio side of the wire: decodes what the programmer sends and sends link messages back.
// With autoAcknowledge it acknowledges every in-sequence link transfer with credit 1, and
// `onMessage` sees the programming message inside it.
class RadioPeer {
  public:
    explicit RadioPeer(WireEnd& end) : end_(end) {
        end_.Open(0);
        end_.SetDataAvailable([this](std::span<const std::uint8_t> bytes) { OnBytes(bytes); });
    }

    void Send(const Bytes& message) { end_.Write(EncodeFrame(message)); }
    void SendRaw(const Bytes& bytes) { end_.Write(bytes); }
    // A link transfer carrying `message`, with the radio's next N(S).
    void SendTransfer(const Bytes& message) {
        Send(Concat({{kLinkTransfer, sendSeq++, 0x01, 0x00}, message}));
    }

    std::vector<Bytes> received;  // every link message from the programmer
    std::vector<Bytes> messages;  // the programming messages inside new link transfers
    bool autoAcknowledge = false;
    // Answers the programmer's keep-alive acknowledgements with one of its own.
    bool answerKeepAlives = false;
    std::uint8_t credit = 1;
    std::uint8_t sendSeq = 1;
    std::uint8_t expectedSeq = 1;
    std::function<void(const Bytes&)> onMessage;

    std::vector<Bytes> OfType(std::uint8_t type) const {
        std::vector<Bytes> out;
        for (const auto& m : received) {
            if (!m.empty() && m[0] == type) {
                out.push_back(m);
            }
        }
        return out;
    }

  private:
    void OnBytes(std::span<const std::uint8_t> bytes) {
        decoder_.Push(bytes);
        LinkMessageBuffer buffer;
        while (decoder_.PopFrame(buffer)) {
            const Bytes message(buffer.Data().begin(), buffer.Data().end());
            received.push_back(message);
            if (answerKeepAlives && message.size() >= 4 && message[0] == kLinkAcknowledge) {
                Send({kLinkAcknowledge, expectedSeq, credit, 0x00});
            }
            if (autoAcknowledge && message.size() >= 4 && message[0] == kLinkTransfer) {
                const bool fresh = message[1] == expectedSeq;
                if (fresh) {
                    ++expectedSeq;
                }
                Send({kLinkAcknowledge, expectedSeq, credit, 0x00});
                if (fresh) {
                    const Bytes inner(message.begin() + 4, message.end());
                    messages.push_back(inner);
                    if (onMessage) {
                        onMessage(inner);
                    }
                }
            }
        }
    }

    WireEnd& end_;
    FrameDecoder decoder_;
};

class LinkFixture : public ::testing::Test {
  protected:
    LinkFixture() {
        wire.SetDelay(1);  // a millisecond on the line each way
        link.SetStatusMonitor([this](std::string_view text) { statuses.emplace_back(text); });
    }

    void OpenAndReset() {
        ASSERT_TRUE(link.OpenRadioPort(0));
        link.LinkReset();
        clock.AdvanceBy(2);
    }

    // Brings the link up the usual way: the radio's link request, then its acknowledgement
    // with credit 1. The radio then acknowledges every transfer by itself.
    void Establish() {
        OpenAndReset();
        radio.Send({kLinkRequest, kInitialP1, kInitialP2, 0x01});
        clock.AdvanceBy(2);
        radio.Send({kLinkAcknowledge, 0x01, 0x01, 0x00});
        clock.AdvanceBy(2);
        ASSERT_EQ(link.State(), LinkState::Established);
        radio.received.clear();
        radio.autoAcknowledge = true;
    }

    VirtualClock clock;
    WirePair wire{clock};
    ScriptedPerson person;
    DataLink link{wire.A(), clock, person};
    RadioPeer radio{wire.B()};
    std::vector<std::string> statuses;
};

// A radio operation for the message layer tests: runs `step` whenever the message layer asks.
class FakeHost : public OperationHost {
  public:
    OperationKind PendingOperation() const override { return pending; }
    void RunStep() override {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        ++steps;
        if (step) {
            step();
        }
        --depth;
    }
    void ResetSteps() override { ++resets; }
    void AdvanceProgress() override { ++progress; }
    void RadioRequestedLink() override { ++radioRequests; }
    void CommsFailed() override { ++failures; }
    void PortFailed(PortError error) override { portFailures.push_back(error); }

    OperationKind pending = OperationKind::ReadTrunk;
    std::function<void()> step;
    int steps = 0;
    int depth = 0;
    int maxDepth = 0;
    int resets = 0;
    int progress = 0;
    int radioRequests = 0;
    int failures = 0;
    std::vector<PortError> portFailures;
};

}  // namespace km::testing
