// Program Radio of a full trunk job (Network 1 and Network 2, multi-mode, so that a Revision 8
// radio also gets its complex PMR data read back and rewritten) against the virtual radio paced
// at 19200 baud, 10 bits per byte both ways, with the radio's realistic 3-second sector erases.
// Under stop-and-wait the operation's messages follow one another, so it takes about the time
// every byte of both directions spends on the line plus the erase times. That sum counts a little
// twice (the link's acknowledgements crossing data on the line, keep-alives while the radio
// erases), so a ratio just below 1.0 means a line that is never idle. The counters report the
// whole command's virtual time, from Program Radio to the port closed (link-up, identification,
// Flash Index Table, data and end included), that bound over all its traffic and their ratio;
// the benchmark's own time is the cost of simulating it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/Files.h"
#include "core/Person.h"
#include "image/State.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/ProgramTrunk.h"
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

// An HM-F multi-mode job on MPT1343 with both networks present.
TrunkJobImage FullTrunkJob() {
    TrunkJobImage job;
    for (std::size_t i = 0; i < TrunkJobImage::kSize; ++i) {
        job.SetU8(i, static_cast<std::uint8_t>(i * 7 + i / 256 + 1));
    }
    job.SetU16(kVersionWordOffset, kProgramVersionNumber);
    job.SetU8(trunk::kRadioType, 4);
    job.SetU8(trunk::kHeadVariant, 0);
    job.SetU8(trunk::kRadioMode, 2);
    job.SetU16(trunk::kBandCode, 0x4131);
    job.SetU16(trunk::NetworkFileStart(0) + network::kNumberingScheme, 0);
    job.SetU16(trunk::NetworkFileStart(0) + 0x2E4, 3);
    job.SetU16(trunk::NetworkFileStart(1) + network::kBandCode, 0x4131);
    job.SetU16(0x2142, 0);
    return job;
}

void BM_PacedTrunkProgramRadio(benchmark::State& state) {
    const auto profile =
        *sim::ParseProfile("type = 0\nrealistic = yes\npmr_channels = 100\n").profile;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "km_program_bench";
    std::filesystem::create_directories(folder);
    WriteFileAtomically(folder / "FIT000101.bin", sim::FitFileContents());

    double programMs = 0;
    double boundMs = 0;
    double erases = 0;
    for (auto _ : state) {
        VirtualClock clock;
        WirePair wire(clock);
        SilentPerson person;
        Progress progress;
        auto workspace = std::make_unique<Workspace>();
        workspace->trunk = FullTrunkJob();
        MainState main;
        main.ImageKind = kImageTrunk;
        main.TrunkJobLoaded = true;
        RadioSession session(wire.A(), clock,
                             {*workspace, main, person, progress, folder, {folder}});
        RadioOperations& operations = session.Operations();
        const StepMachine& program = operations.TrunkProgramming();
        sim::VirtualRadio radio(profile, sim::BuildRadioMemory(profile), clock,
                                [&clock] { return clock.Now(); }, wire.B(), {true, {}}, {});

        const std::int64_t start = clock.Now();
        const std::size_t before = wire.A().Written().size() + wire.B().Written().size();
        const std::size_t erasesBefore = radio.Memory().EraseCount();
        operations.ProgramRadio();
        clock.AdvanceUntil([&] { return !main.CommsBusy && !session.Link().PortOpen(); }, 600000);
        if (!program.Completed() || !radio.Memory().Faults().empty() ||
            radio.Memory().EraseCount() == erasesBefore) {
            state.SkipWithError("programming did not succeed");
            break;
        }
        const std::size_t lineBytes =
            wire.A().Written().size() + wire.B().Written().size() - before;
        erases = static_cast<double>(radio.Memory().EraseCount() - erasesBefore);
        programMs = static_cast<double>(clock.Now() - start);
        boundMs = 1000.0 * static_cast<double>(lineBytes) / sim::kLineBytesPerSecond +
                  erases * sim::kRealisticEraseTimeMs;
    }
    state.counters["program_ms"] = programMs;
    state.counters["erases"] = erases;
    state.counters["bound_ms"] = boundMs;
    state.counters["ratio"] = programMs / boundMs;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PacedTrunkProgramRadio)->Unit(benchmark::kMillisecond);

}  // namespace
