#pragma once
// The programmer's link stack (data link and programming messages) against the virtual radio,
// on one in-memory wire and one virtual clock, and a small radio operation that runs a list of
// requests the way every radio operation does: identify, read, erase, write, end.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedPerson.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace km::sim::testing {

using Bytes = std::vector<std::uint8_t>;

struct Request {
    enum Kind { Identify, Read, Erase, Write, End } kind;
    std::uint16_t block = 0;
    std::uint16_t size = 0;
    std::uint8_t sector = 0;
    Bytes data = {};  // what a write sends
};

// Runs the requests one after the other with the programming messages' step discipline.
class SessionHost : public OperationHost {
  public:
    SessionHost(ProgrammingMessages& messages, std::vector<Request> requests)
        : messages_(messages), requests_(std::move(requests)) {}

    OperationKind PendingOperation() const override { return pending; }
    void ResetSteps() override { ++resets; }
    void RadioRequestedLink() override {
        ++radioRequests;
        pending = OperationKind::None;
    }
    void CommsFailed() override {
        ++failures;
        pending = OperationKind::None;
    }
    void RunStep() override {
        while (pending != OperationKind::None && next_ < requests_.size()) {
            if (waiting_ ? !TakeReply() : !Send()) {
                return;
            }
        }
    }

    bool Done() const { return next_ == requests_.size(); }

    OperationKind pending =
        OperationKind::ReadTrunk;  // an operation the radio's link request abandons
    std::optional<std::uint8_t> typeCode;
    std::vector<Bytes> reads;
    int resets = 0;
    int radioRequests = 0;
    int failures = 0;

  private:
    // Sends the next request; false when the step must wait (no credit, or a write under way).
    bool Send() {
        const Request& request = requests_[next_];
        if (!messages_.BeginSend()) {
            return false;
        }
        bool queued = true;
        switch (request.kind) {
            case Request::Identify:
                queued = messages_.Identify();
                break;
            case Request::Read:
                readBuffer_.assign((request.size + 127u) / 128u * 128u, 0);
                queued = messages_.StartRead(request.block, request.size, readBuffer_);
                break;
            case Request::Erase:
                queued = messages_.EraseSector(request.sector);
                break;
            case Request::Write: {
                auto buffer = messages_.WriteBuffer();
                std::fill(buffer.begin(), buffer.end(), 0xEE);
                std::copy(request.data.begin(), request.data.end(), buffer.begin());
                messages_.StartWrite(request.block, request.size);
                waiting_ = true;
                messages_.SendWindowOpen();
                return false;  // called again once the radio has taken it all
            }
            case Request::End:
                messages_.EndProgramming(false);
                ++next_;
                pending = OperationKind::None;
                return false;
        }
        waiting_ = queued;
        return false;  // the reply comes later
    }

    // Takes the reply the current request waits for; true when it is complete.
    bool TakeReply() {
        const Request& request = requests_[next_];
        bool complete = false;
        switch (request.kind) {
            case Request::Identify:
                complete = messages_.ReplyIs(kIdentifyReplyPrefix);
                if (complete) {
                    typeCode = messages_.LastMessage()[3];
                }
                break;
            case Request::Read:
                if (messages_.AcceptReadData() == ReadProgress::Complete) {
                    reads.emplace_back(readBuffer_.begin(), readBuffer_.begin() + request.size);
                    complete = true;
                }
                break;
            case Request::Erase:
                complete = messages_.ReplyIs(kEraseDoneReply);
                break;
            case Request::Write:
                complete = !messages_.WriteInProgress();
                break;
            case Request::End:
                break;
        }
        if (complete) {
            waiting_ = false;
            ++next_;
        }
        return complete;
    }

    ProgrammingMessages& messages_;
    std::vector<Request> requests_;
    std::size_t next_ = 0;
    bool waiting_ = false;
    Bytes readBuffer_;
};

// Programmer and virtual radio joined by a wire with a millisecond each way.
class SimSession {
  public:
    explicit SimSession(const Profile& profile, RadioOptions options = {})
        : radio(
              profile, BuildRadioMemory(profile), clock, [this] { return clock.Now(); }, wire.B(),
              options, [this](const std::string& line) { log.push_back(line); }) {
        wire.SetDelay(1);
    }

    // Opens the port, resets the link, waits for it to come up and runs the requests; true when
    // all of them completed within `maxMs` of virtual time.
    bool Run(std::vector<Request> requests, std::int64_t maxMs = 120000) {
        host.emplace(messages, std::move(requests));
        messages.SetHost(&*host);
        if (!link.OpenRadioPort(0)) {
            return false;
        }
        link.LinkReset();
        if (!clock.AdvanceUntil([this] { return link.State() == LinkState::Established; }, 10000)) {
            return false;
        }
        host->RunStep();
        return clock.AdvanceUntil(
                   [this] { return host->Done() || host->pending == OperationKind::None; },
                   maxMs) &&
               host->Done();
    }

    std::string Log() const {
        std::string all;
        for (const auto& line : log) {
            all += line + "\n";
        }
        return all;
    }

    VirtualClock clock;
    WirePair wire{clock};
    km::testing::ScriptedPerson person;
    DataLink link{wire.A(), clock, person};
    ProgrammingMessages messages{link, clock};
    std::vector<std::string> log;
    VirtualRadio radio;
    std::optional<SessionHost> host;
};

}  // namespace km::sim::testing
