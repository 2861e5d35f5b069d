// Read Radio of a full trunk configuration (Flash Index Table, data-size record, the 16383-byte
// configuration, the phonebook check and the edited phonebook) against the virtual radio paced at
// 19200 baud, 10 bits per byte both ways. Under stop-and-wait nothing overlaps on the line, so
// the read takes at least the time every byte of it spends there, in both directions, at 1920
// bytes/s. The counters report the whole command's virtual time, from Read Radio to the port
// closed (link-up, identification, Flash Index Table, data and end included), that bound over
// all its traffic and their ratio (1.0 would be a line never idle); the benchmark's own time is
// the cost of simulating it. The argument is the latency timer of a USB serial adapter in
// milliseconds (0: none), which holds every byte the radio sends until its next multiple.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/Files.h"
#include "core/Person.h"
#include "image/State.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/RadioSession.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace {

using namespace km;

class SilentPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons) override { return Answer::Ok; }
    void Beep() override {}
};

void BM_PacedTrunkReadRadio(benchmark::State& state) {
    const auto profile =
        *sim::ParseProfile("type = 0\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n").profile;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "km_read_bench";
    std::filesystem::create_directories(folder);
    WriteFileAtomically(folder / "FIT000101.bin", sim::FitFileContents());

    double readMs = 0;
    double boundMs = 0;
    for (auto _ : state) {
        VirtualClock clock;
        WirePair wire(clock);
        SilentPerson person;
        Progress progress;
        auto workspace = std::make_unique<Workspace>();
        MainState main;
        RadioSession session(wire.A(), clock,
                             {*workspace, main, person, progress, folder, {folder}});
        RadioOperations& operations = session.Operations();
        sim::VirtualRadio radio(profile, sim::BuildRadioMemory(profile), clock,
                                [&clock] { return clock.Now(); }, wire.B(),
                                {true, {}, static_cast<int>(state.range(0))}, {});

        const std::int64_t start = clock.Now();
        const std::size_t before = wire.A().Written().size() + wire.B().Written().size();
        operations.ReadRadio(kImageTrunk);
        clock.AdvanceUntil([&] { return !main.CommsBusy && !session.Link().PortOpen(); }, 600000);
        if (!main.TrunkJobLoaded) {
            state.SkipWithError("the read did not succeed");
            break;
        }
        const std::size_t lineBytes =
            wire.A().Written().size() + wire.B().Written().size() - before;
        readMs = static_cast<double>(clock.Now() - start);
        boundMs = 1000.0 * static_cast<double>(lineBytes) / sim::kLineBytesPerSecond;
    }
    state.counters["read_ms"] = readMs;
    state.counters["wire_bound_ms"] = boundMs;
    state.counters["ratio"] = readMs / boundMs;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PacedTrunkReadRadio)->Arg(0)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
