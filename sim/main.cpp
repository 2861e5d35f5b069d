// km700sim: serves a virtual KM700 / KP800 radio on a pseudo-terminal and points a COM number of
// the programmer at it through comports.cfg in the programmer's working directory.

#include <poll.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/Files.h"
#include "sim/PtyPort.h"
#include "sim/RadioMemory.h"
#include "sim/RealTimeTimers.h"
#include "sim/VirtualRadio.h"

namespace {

using namespace km::sim;

constexpr const char* kUsage =
    "Usage: km700sim --profile FILE [options]\n"
    "Serves a virtual KM700 / KP800 radio on a pseudo-terminal and writes COM<n>=<device>\n"
    "into comports.cfg of the programmer's working directory.\n"
    "\n"
    "  --profile FILE          the radio to be (see sim/profiles)\n"
    "  --workdir DIR           the programmer's working directory (default: .)\n"
    "  --com N                 the COM number to point at the radio, 1 to 16 (default: 1)\n"
    "  --serial TEXT           the radio's serial number (default: the profile's)\n"
    "  --count N               serve N radios, 1 to 16, each on a pseudo-terminal of its own,\n"
    "                          at COM numbers N, N+1, ...; the serial number of each is the\n"
    "                          first one with its last digits counted up (VIRTUAL-0000001,\n"
    "                          VIRTUAL-0000002, ...), and --save FILE saves each radio's memory\n"
    "                          to FILE.<serial number>\n"
    "  --load FILE             start from a saved radio memory instead of the profile's\n"
    "  --save FILE             save the radio memory to FILE when the radio stops\n"
    "  --log FILE              write the log to FILE (default: standard error)\n"
    "  --pace                  pace the line at 19200 baud, 10 bits per byte, both ways\n"
    "  --realistic             erase a sector in 3 s, as a real radio does\n"
    "  --drop-in N             drop every Nth frame from the programmer\n"
    "  --drop-out N            drop every Nth frame to the programmer\n"
    "  --corrupt P             change each byte on the line with probability P (0 to 1)\n"
    "  --seed N                seed of the corruption (default: 1)\n"
    "  --link-request-after K  reset the link instead of answering message K\n"
    "  --silence-after K       fall silent after message K\n"
    "  --latency MS            hand the radio's bytes to the programmer on the next multiple of\n"
    "                          MS milliseconds, as a USB serial adapter's latency timer does\n"
    "  --gone-at TEXT          go away (close the terminal, as a radio switched off does) once\n"
    "                          the log has a line containing TEXT\n"
    "  --piece-size N          send read data in pieces of N bytes, 1 to 238 (default: 128)\n"
    "  --pad-reads             fill the last piece of a read up to the 128-byte block\n"
    "  --ready-file FILE       write the device path to FILE once the radio is serving (one\n"
    "                          line per radio)\n"
    "  --help                  show this text\n";

constexpr const char* kComportsFile = "comports.cfg";
// What the band record holds of a serial number.
constexpr std::size_t kMaxSerialNumber = 16;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

struct Options {
    std::string profile;
    std::filesystem::path workdir = ".";
    int com = 1;
    int count = 1;
    std::string serial;
    std::string load;
    std::string save;
    std::string log;
    std::string readyFile;
    RadioOptions radio;
    bool realistic = false;
};

std::optional<long> Integer(const std::string& text, long low, long high) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// Parses the command line; prints the reason and returns nullopt on a bad one.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    const std::vector<std::string> args(argv + 1, argv + argc);
    bool bad = false;
    for (std::size_t i = 0; i < args.size() && !bad; ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) {
                std::cerr << "km700sim: " << arg << " needs a value\n";
                bad = true;
                return "";
            }
            return args[++i];
        };
        auto number = [&](long low, long high) -> int {
            const std::string text = value();
            const auto parsed = Integer(text, low, high);
            if (!bad && !parsed) {
                std::cerr << "km700sim: " << arg << " takes a number from " << low << " to " << high
                          << "\n";
                bad = true;
            }
            return static_cast<int>(parsed.value_or(0));
        };
        FaultOptions& faults = options.radio.faults;
        if (arg == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg == "--pace") {
            options.radio.paced = true;
        } else if (arg == "--realistic") {
            options.realistic = true;
        } else if (arg == "--profile") {
            options.profile = value();
        } else if (arg == "--workdir") {
            options.workdir = value();
        } else if (arg == "--load") {
            options.load = value();
        } else if (arg == "--save") {
            options.save = value();
        } else if (arg == "--log") {
            options.log = value();
        } else if (arg == "--ready-file") {
            options.readyFile = value();
        } else if (arg == "--com") {
            options.com = number(1, 16);
        } else if (arg == "--count") {
            options.count = number(1, 16);
        } else if (arg == "--serial") {
            options.serial = value();
        } else if (arg == "--drop-in") {
            faults.dropIncomingEvery = number(0, 1000000);
        } else if (arg == "--drop-out") {
            faults.dropOutgoingEvery = number(0, 1000000);
        } else if (arg == "--seed") {
            faults.seed = static_cast<std::uint32_t>(number(0, 2147483647));
        } else if (arg == "--link-request-after") {
            faults.linkRequestAfterMessage = number(1, 1000000);
        } else if (arg == "--silence-after") {
            faults.silenceAfterMessage = number(1, 1000000);
        } else if (arg == "--latency") {
            options.radio.latencyMs = number(0, 1000);
        } else if (arg == "--gone-at") {
            faults.goneAtLog = value();
        } else if (arg == "--pad-reads") {
            faults.padReads = true;
        } else if (arg == "--piece-size") {
            faults.readPieceSize = static_cast<std::size_t>(number(1, 238));
        } else if (arg == "--corrupt") {
            const std::string text = value();
            char* end = nullptr;
            const double p = std::strtod(text.c_str(), &end);
            if (!bad && (*end != '\0' || !(p >= 0.0 && p <= 1.0))) {
                std::cerr << "km700sim: --corrupt takes a probability from 0 to 1\n";
                bad = true;
            }
            faults.corruptProbability = p;
        } else {
            std::cerr << "km700sim: unknown option " << arg << "\n" << kUsage;
            bad = true;
        }
    }
    if (!bad && options.profile.empty()) {
        std::cerr << "km700sim: --profile is required\n" << kUsage;
        bad = true;
    }
    if (!bad && options.com + options.count - 1 > 16) {
        std::cerr << "km700sim: --com and --count reach beyond COM16\n";
        bad = true;
    }
    if (bad) {
        return std::nullopt;
    }
    return options;
}

// Replaces the line of our COM number in comports.cfg (or removes it when `device` is empty),
// keeping every other line.
bool UpdateComports(const std::filesystem::path& workdir, int com, const std::string& device) {
    const std::filesystem::path file = workdir / kComportsFile;
    const std::string key = "COM" + std::to_string(com) + "=";
    std::string kept;
    if (const auto bytes = km::ReadFileBytes(file, 1 << 20)) {
        std::istringstream lines(std::string(bytes->begin(), bytes->end()));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.starts_with(key) && !line.empty()) {
                kept += line + "\n";
            }
        }
    }
    if (!device.empty()) {
        kept += key + device + "\n";
    }
    return km::WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(kept.data()), kept.size()));
}

// One radio of those served: its pseudo-terminal, its COM number and its memory's file.
struct Served {
    std::unique_ptr<PtyPort> pty;
    std::unique_ptr<VirtualRadio> radio;
    int com = 1;
    std::string save;
};

bool WriteText(const std::filesystem::path& file, const std::string& text) {
    return km::WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Serves every radio until a stop is asked for: each poll waits on all terminals at once.
void ServeUntilStopped(std::vector<Served>& radios, RealTimeTimers& timers) {
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    constexpr int kMaxWaitMs = 200;  // how soon a stop request is noticed
    std::vector<pollfd> fds(radios.size());
    while (!stopRequested) {
        int wait = timers.MsUntilNextDue();
        wait = wait < 0 ? kMaxWaitMs : std::min(wait, kMaxWaitMs);
        for (std::size_t i = 0; i < radios.size(); ++i) {
            const PtyPort& pty = *radios[i].pty;
            fds[i] = {pty.Fd(), static_cast<short>(POLLIN | (pty.BytesToWrite() ? POLLOUT : 0)), 0};
        }
        if (poll(fds.data(), fds.size(), wait) > 0) {
            for (std::size_t i = 0; i < radios.size(); ++i) {
                if (fds[i].revents & POLLIN) {
                    radios[i].pty->ReadAvailable();
                }
                if (fds[i].revents & POLLOUT) {
                    radios[i].pty->WritePending();
                }
            }
        }
        timers.RunDue();
        // A radio that has gone away closes its terminal; once every radio has gone, so do we.
        bool allGone = true;
        for (Served& served : radios) {
            if (served.radio->Gone()) {
                served.pty->Hangup();
            } else {
                allGone = false;
            }
        }
        if (allGone) {
            return;
        }
    }
}

int Serve(const Options& options) {
    const ProfileResult loaded = LoadProfile(options.profile);
    if (!loaded.profile) {
        std::cerr << "km700sim: " << loaded.error << "\n";
        return 2;
    }
    Profile profile = *loaded.profile;
    if (options.realistic) {
        profile.eraseTimeMs = kRealisticEraseTimeMs;
    }
    if (!options.serial.empty()) {
        profile.serialNumber = options.serial;
    }

    std::ofstream logFile;
    if (!options.log.empty()) {
        logFile.open(options.log, std::ios::app);
        if (!logFile) {
            std::cerr << "km700sim: cannot write the log " << options.log << "\n";
            return 2;
        }
    }
    std::ostream& log = logFile.is_open() ? logFile : std::cerr;

    RealTimeTimers timers;
    std::vector<Served> radios;
    std::string ready;
    for (int i = 0; i < options.count; ++i) {
        Profile own = profile;
        own.serialNumber = NthSerialNumber(profile.serialNumber, i);
        if (own.serialNumber.size() > kMaxSerialNumber) {
            std::cerr << "km700sim: the serial number " << own.serialNumber << " is longer than "
                      << kMaxSerialNumber << " characters\n";
            return 2;
        }
        Flash memory = BuildRadioMemory(own);
        if (!options.load.empty() && !memory.LoadFrom(options.load)) {
            std::cerr << "km700sim: cannot load radio memory from " << options.load << "\n";
            return 2;
        }
        Served served;
        served.com = options.com + i;
        served.save = options.save.empty() || options.count == 1
                          ? options.save
                          : options.save + "." + own.serialNumber;
        served.pty = std::make_unique<PtyPort>();
        const std::string prefix = options.count == 1 ? std::string() : own.serialNumber + ": ";
        served.radio = std::make_unique<VirtualRadio>(
            own, std::move(memory), timers, [&timers] { return timers.NowMs(); }, *served.pty,
            options.radio,
            [&log, prefix](const std::string& line) { log << prefix << line << std::endl; });
        const std::string& device = served.pty->DevicePath();
        if (!UpdateComports(options.workdir, served.com, device)) {
            std::cerr << "km700sim: cannot write " << (options.workdir / kComportsFile) << "\n";
            return 2;
        }
        log << prefix << "serving on " << device << " as COM" << served.com << std::endl;
        ready += (i == 0 ? "" : "\n") + device;
        radios.push_back(std::move(served));
    }
    if (!options.readyFile.empty()) {
        WriteText(options.readyFile, ready);
    }

    ServeUntilStopped(radios, timers);

    int result = 0;
    for (Served& served : radios) {
        UpdateComports(options.workdir, served.com, "");
        for (const auto& fault : served.radio->Memory().Faults()) {
            log << "flash fault: " << Describe(fault) << std::endl;
        }
        for (const auto& fault : served.radio->Messages().ProtocolFaults()) {
            log << "protocol fault: " << fault << std::endl;
        }
        if (!served.save.empty() && !served.radio->Memory().SaveTo(served.save)) {
            std::cerr << "km700sim: cannot save radio memory to " << served.save << "\n";
            result = 1;
        }
    }
    log << "stopped" << std::endl;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        return 2;
    }
    try {
        return Serve(*options);
    } catch (const std::exception& error) {
        std::cerr << "km700sim: " << error.what() << "\n";
        return 1;
    }
}
