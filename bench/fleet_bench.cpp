// Many radios at once against virtual radios at line speed: km700sim serves N radios, each paced
// at 19200 baud (10 bits per byte, both ways) with the realistic 3-second sector erases, and
// km700rcp-cli programs all of them with one trunk job in one process. The work is waiting on
// serial lines, so N radios should take about as long as one. Each case runs once, in real time
// (these are minutes of line time, not CPU time); the counters give the seconds of the run and
// its ratio to one radio programmed alone with the single-radio command.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ProgramFixtures.h"
#include "core/Files.h"
#include "sim/RadioMemory.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace km;

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The programs' progress lines would drown the benchmark's table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A scratch working folder with the files programming needs, and N paced virtual radios.
class Fleet {
  public:
    explicit Fleet(int radios) {
        folder_ = fs::temp_directory_path() /
                  ("km_fleet_bench_" + std::to_string(radios) + "_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        WriteFileAtomically(folder_ / "aligncfg.bin", sim::AlignConfigContents());
        WriteFileAtomically(folder_ / "FIT000101.bin", sim::FitFileContents());
        const std::string profile = "type = 0\ntrunk_job = yes\n";
        WriteFileAtomically(
            folder_ / "radio.profile",
            std::span(reinterpret_cast<const std::uint8_t*>(profile.data()), profile.size()));
        const TrunkJobImage job =
            km::testing::PatternTrunkJob(km::testing::kHeadHmF, km::testing::kModeTrunkJob, true);
        WriteFileAtomically(folder_ / "job.tnk", job.Bytes());
        sim_ = Spawn({KM_SIM_PROGRAM, "--profile", (folder_ / "radio.profile").string(),
                      "--workdir", folder_.string(), "--count", std::to_string(radios), "--pace",
                      "--realistic", "--ready-file", (folder_ / "ready").string()});
        for (int i = 0; i < 500 && !fs::exists(folder_ / "ready"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~Fleet() {
        if (sim_ > 0) {
            kill(sim_, SIGTERM);
            WaitFor(sim_);
        }
        fs::remove_all(folder_);
    }

    bool Ready() const { return sim_ > 0 && fs::exists(folder_ / "ready"); }

    // Programs every radio (the fleet command) or the first one (the single-radio command);
    // the seconds it took, or a negative number when it failed.
    double Program(int radios, bool fleetCommand) const {
        std::vector<std::string> args = {KM_CLI_PROGRAM, "program", (folder_ / "job.tnk").string(),
                                         "--workdir", folder_.string()};
        for (int i = 0; i < radios; ++i) {
            args.insert(args.end(), {"--port", "COM" + std::to_string(i + 1)});
        }
        if (fleetCommand && radios == 1) {
            args.insert(args.end(), {"--report", (folder_ / "report.csv").string()});
        }
        const auto start = std::chrono::steady_clock::now();
        const int code = WaitFor(Spawn(args));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        return code == 0 ? took.count() : -1.0;
    }

  private:
    fs::path folder_;
    pid_t sim_ = -1;
};

double aloneSeconds = 0;

void SingleRadioCommand(benchmark::State& state) {
    for (auto _ : state) {
        const Fleet fleet(1);
        if (!fleet.Ready()) {
            state.SkipWithError("km700sim did not come up");
            return;
        }
        aloneSeconds = fleet.Program(1, false);
        if (aloneSeconds < 0) {
            state.SkipWithError("programming failed");
            return;
        }
        state.SetIterationTime(aloneSeconds);
    }
    state.counters["seconds"] = aloneSeconds;
}

void FleetCommand(benchmark::State& state) {
    const int radios = static_cast<int>(state.range(0));
    double seconds = 0;
    for (auto _ : state) {
        const Fleet fleet(radios);
        if (!fleet.Ready()) {
            state.SkipWithError("km700sim did not come up");
            return;
        }
        seconds = fleet.Program(radios, true);
        if (seconds < 0) {
            state.SkipWithError("a radio failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["radios"] = radios;
    state.counters["seconds"] = seconds;
    if (aloneSeconds > 0) {
        state.counters["x_alone"] = seconds / aloneSeconds;
    }
}

BENCHMARK(SingleRadioCommand)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(FleetCommand)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
