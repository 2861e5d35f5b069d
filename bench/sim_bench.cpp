// Reading 16383 bytes from the virtual radio paced at 19200 baud (10 bits per byte both ways),
// against the wire-time bound of the protocol: under stop-and-wait nothing overlaps, so the read
// takes at least the time every byte of it spends on the line, in both directions, at 1920
// bytes/s. The counters report the read's virtual time, that bound and their ratio (1.0 would be
// a line never idle); the benchmark's own time is the cost of simulating it.

#include <benchmark/benchmark.h>

#include <vector>

#include "core/Person.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace {

using namespace km;

class SilentPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons) override { return Answer::Ok; }
    void Beep() override {}
};

// Identifies the radio, then reads `size` bytes from `block`.
class ReadHost : public OperationHost {
  public:
    ReadHost(ProgrammingMessages& messages, std::uint16_t block, std::uint16_t size)
        : messages_(messages), block_(block), size_(size), buffer_((size + 127u) / 128u * 128u) {}

    OperationKind PendingOperation() const override { return OperationKind::ReadTrunk; }
    void ResetSteps() override { step_ = 0; }
    void RadioRequestedLink() override { step_ = 0; }
    void CommsFailed() override { step_ = 0; }
    void RunStep() override {
        if (step_ == 1 && messages_.BeginSend() && messages_.Identify()) {
            step_ = 2;
        } else if (step_ == 2 && messages_.ReplyIs(kIdentifyReplyPrefix)) {
            step_ = 3;
        } else if (step_ == 4 && messages_.BeginSend() &&
                   messages_.StartRead(block_, size_, buffer_)) {
            step_ = 5;
        } else if (step_ == 5 && messages_.AcceptReadData() == ReadProgress::Complete) {
            step_ = 6;
        }
    }

    int step_ = 1;

  private:
    ProgrammingMessages& messages_;
    std::uint16_t block_;
    std::uint16_t size_;
    std::vector<std::uint8_t> buffer_;
};

void BM_PacedRead16383(benchmark::State& state) {
    const km::sim::Profile profile = *km::sim::ParseProfile("type = 0\ntrunk_job = yes\n").profile;
    double readMs = 0;
    double boundMs = 0;
    for (auto _ : state) {
        VirtualClock clock;
        WirePair wire(clock);
        wire.SetDelay(0);
        SilentPerson person;
        DataLink link(wire.A(), clock, person);
        ProgrammingMessages messages(link, clock);
        km::sim::VirtualRadio radio(profile, km::sim::BuildRadioMemory(profile), clock,
                                    [&clock] { return clock.Now(); }, wire.B(), {true, {}}, {});
        ReadHost host(messages, 576, 16383);
        messages.SetHost(&host);
        link.OpenRadioPort(0);
        link.LinkReset();
        clock.AdvanceUntil([&] { return link.State() == LinkState::Established; }, 10000);
        host.RunStep();
        clock.AdvanceUntil([&] { return host.step_ == 3; }, 10000);

        const std::int64_t start = clock.Now();
        const std::size_t sentBefore = wire.A().Written().size() + wire.B().Written().size();
        host.step_ = 4;
        host.RunStep();
        clock.AdvanceUntil([&] { return host.step_ == 6; }, 600000);
        const std::size_t lineBytes =
            wire.A().Written().size() + wire.B().Written().size() - sentBefore;
        readMs = static_cast<double>(clock.Now() - start);
        boundMs = 1000.0 * static_cast<double>(lineBytes) / km::sim::kLineBytesPerSecond;
    }
    state.counters["read_ms"] = readMs;
    state.counters["wire_bound_ms"] = boundMs;
    state.counters["ratio"] = readMs / boundMs;
}
BENCHMARK(BM_PacedRead16383)->Unit(benchmark::kMillisecond);

}  // namespace
