#include "FleetCommand.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <ctime>
#include <iostream>
#include <memory>
#include <set>

#include "CliCommand.h"
#include "QtSerialPort.h"
#include "QtTimers.h"
#include "core/Files.h"
#include "fleet/FleetRadio.h"
#include "image/JobFiles.h"
#include "radio/CommandStatus.h"
#include "radio/Operation.h"

namespace km::cli {

namespace fs = std::filesystem;

namespace {

// A sheet larger than this is no list of radios.
constexpr std::size_t kMaxSheetBytes = 16 << 20;

volatile std::sig_atomic_t interrupted = 0;

void Interrupt(int) {
    interrupted = 1;
}

// Opening the job: boxes on standard error, questions answered by --yes / --no (no by default).
class JobOpeningPerson : public Person {
  public:
    explicit JobOpeningPerson(std::optional<Answer> answer) : answer_(answer) {}
    Answer Show(BoxKind, std::string_view text, Buttons buttons) override {
        std::cerr << text << "\n";
        if (buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        const bool yes = answer_ == Answer::Yes;
        std::cerr << (yes ? "yes" : "no") << "\n";
        if (buttons == Buttons::OkCancel || buttons == Buttons::Cancel) {
            return yes && buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel;
        }
        return yes ? Answer::Yes : Answer::No;
    }
    void Beep() override {}

  private:
    std::optional<Answer> answer_;
};

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return text.data();
}

// One radio with its own port and timers.
struct Station {
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<QtTimerService> timers;
    std::unique_ptr<fleet::FleetRadio> radio;
    std::string lastText;
};

int Usage(const std::string& error) {
    std::cerr << "km700rcp-cli: " << error << "\n\n" << kFleetUsageText;
    return kExitUsage;
}

}  // namespace

bool IsFleetCommand(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "program" && args[0] != "read")) {
        return false;
    }
    int ports = 0;
    for (const std::string& arg : args) {
        ports += arg == "--port" ? 1 : 0;
        if (arg == "--sheet" || arg == "--sheet-optional" || arg == "--backup" ||
            arg == "--report") {
            return true;
        }
    }
    return ports > 1;
}

FleetParse ParseFleetArguments(const std::vector<std::string>& args) {
    FleetArguments arguments;
    arguments.read = args.at(0) == "read";
    bool trunk = false;
    std::set<std::string> seen;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help") {
            return {std::nullopt, true, ""};
        } else if (arg == "--port" && hasValue) {
            const std::string name = args[++i];
            const auto port = ParseArguments({"info", "--port", name});
            if (!port.arguments) {
                return {std::nullopt, false, port.error};
            }
            if (!seen.insert(name).second) {
                return {std::nullopt, false, "the port " + name + " is named twice"};
            }
            arguments.ports.push_back({name, port.arguments->comIndex, port.arguments->devicePath});
        } else if (arg == "--workdir" && hasValue) {
            arguments.workdir = args[++i];
        } else if (arg == "--report" && hasValue) {
            arguments.report = args[++i];
        } else if (arg == "--sheet" && hasValue && !arguments.read) {
            arguments.sheet = args[++i];
        } else if (arg == "--sheet-optional" && !arguments.read) {
            arguments.sheetOptional = true;
        } else if (arg == "--backup" && hasValue && !arguments.read) {
            arguments.backup = args[++i];
        } else if ((arg == "--yes" || arg == "--no") && !arguments.answer && !arguments.read) {
            arguments.answer = arg == "--yes" ? Answer::Yes : Answer::No;
        } else if (arg == "--trunk" && arguments.read) {
            trunk = true;
        } else if (arg == "--pmr" && arguments.read) {
            arguments.pmr = true;
        } else if ((arg == "-o" || arg == "--output") && hasValue && arguments.read) {
            arguments.output = args[++i];
        } else if (!arg.starts_with("-") && !arguments.read && arguments.job.empty()) {
            arguments.job = arg;
        } else {
            return {std::nullopt, false, "unexpected argument '" + arg + "'"};
        }
    }
    if (arguments.ports.empty()) {
        return {std::nullopt, false, "--port is missing"};
    }
    if (arguments.read) {
        if (trunk == arguments.pmr) {
            return {std::nullopt, false, "read needs either --trunk or --pmr"};
        }
        if (arguments.output.empty()) {
            return {std::nullopt, false, "read needs -o DIR"};
        }
    } else if (arguments.job.empty()) {
        return {std::nullopt, false, "program needs a JOB"};
    }
    if (arguments.sheetOptional && arguments.sheet.empty()) {
        return {std::nullopt, false, "--sheet-optional needs --sheet"};
    }
    return {arguments, false, ""};
}

namespace {

std::optional<fleet::Sheet> ReadSheet(const fs::path& file) {
    const auto bytes = ReadFileBytes(file, kMaxSheetBytes + 1);
    if (!bytes || bytes->size() > kMaxSheetBytes) {
        std::cerr << "km700rcp-cli: " << file.string() << ": cannot be read\n";
        return std::nullopt;
    }
    auto parsed = fleet::ParseSheet(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "km700rcp-cli: " << file.string() << ": " << *error << "\n";
        return std::nullopt;
    }
    return std::get<fleet::Sheet>(std::move(parsed));
}

// A folder the command writes into: made when missing; false after a message when it cannot be.
bool FolderReady(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder)) {
        std::cerr << "km700rcp-cli: cannot make the folder " << folder.string() << "\n";
        return false;
    }
    return true;
}

// Runs every radio to its end, with a line on standard error for each new step of each radio.
// Ctrl+C cancels every radio.
void RunFleet(std::vector<Station>& stations) {
    QEventLoop loop;
    const auto allEnded = [&stations] {
        for (const Station& station : stations) {
            if (!station.radio->Ended()) {
                return false;
            }
        }
        return true;
    };
    for (Station& station : stations) {
        station.radio->onChanged = [&station, &loop, &allEnded] {
            const fleet::FleetRadio& radio = *station.radio;
            const std::string text = radio.Ended() ? std::string() : radio.StepText();
            if (!text.empty() && text != station.lastText) {
                std::cerr << radio.Result().port << ": " << text << "\n";
                station.lastText = text;
            }
            if (allEnded()) {
                QTimer::singleShot(0, &loop, &QEventLoop::quit);
            }
        };
    }
    interrupted = 0;
    const auto previous = std::signal(SIGINT, Interrupt);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&stations] {
        if (interrupted) {
            interrupted = 0;
            std::cerr << "km700rcp-cli: cancelling every radio\n";
            for (Station& station : stations) {
                station.radio->Cancel();
            }
        }
    });
    constexpr int kInterruptCheckMs = 100;
    watch.start(kInterruptCheckMs);
    for (Station& station : stations) {
        station.radio->Start();
    }
    if (!allEnded()) {
        loop.exec();
    }
    std::signal(SIGINT, previous);
}

}  // namespace

int FleetMain(const std::vector<std::string>& args) {
    const auto parsed = ParseFleetArguments(args);
    if (parsed.help) {
        std::cout << kFleetUsageText;
        return kExitDone;
    }
    if (!parsed.arguments) {
        return Usage(parsed.error);
    }
    const FleetArguments& arguments = *parsed.arguments;
    std::error_code ec;
    const fs::path workdir = fs::absolute(arguments.workdir, ec);
    if (ec || !fs::is_directory(workdir)) {
        std::cerr << "km700rcp-cli: the working directory " << arguments.workdir.string()
                  << " does not exist\n";
        return kExitUsage;
    }

    auto job = std::make_unique<Workspace>();
    MainState jobState;
    fleet::FleetJob fleetJob;
    fleetJob.task = arguments.read ? fleet::FleetTask::Read : fleet::FleetTask::Program;
    fleetJob.view = arguments.pmr ? kImagePmr : kImageTrunk;
    std::optional<fleet::Sheet> sheet;
    if (!arguments.read) {
        JobOpeningPerson person(arguments.answer);
        JobFiles files(*job, jobState, person, workdir);
        static_cast<void>(files.Open(fs::absolute(arguments.job)));
        if (!jobState.TrunkJobLoaded && !jobState.PmrJobLoaded) {
            person.Error(kNoJobLoadedText);
            return kExitUsage;
        }
        fleetJob.view = jobState.TrunkJobLoaded ? kImageTrunk : kImagePmr;
        if (!arguments.sheet.empty()) {
            sheet = ReadSheet(arguments.sheet);
            if (!sheet) {
                return kExitUsage;
            }
        }
        if (!arguments.backup.empty() && !FolderReady(arguments.backup)) {
            return kExitCannotWrite;
        }
    } else if (!FolderReady(arguments.output)) {
        return kExitCannotWrite;
    }
    fleetJob.job = job.get();
    fleetJob.jobState = &jobState;
    fleetJob.sheet = sheet ? &*sheet : nullptr;
    fleetJob.sheetOptional = arguments.sheetOptional;
    fleetJob.backupFolder = arguments.backup.empty() ? fs::path() : fs::absolute(arguments.backup);
    fleetJob.readFolder = arguments.read ? fs::absolute(arguments.output) : fs::path();
    fleetJob.answer = arguments.answer;
    fleetJob.workFolder = workdir;
    fleetJob.dataFolders = DataFolders(workdir);
    fleetJob.timeStamp = TimeStamp;

    std::vector<Station> stations(arguments.ports.size());
    for (std::size_t i = 0; i < arguments.ports.size(); ++i) {
        const FleetPort& port = arguments.ports[i];
        Station& station = stations[i];
        station.port = std::make_unique<QtSerialPort>(PortResolver(port.devicePath, workdir));
        station.timers = std::make_unique<QtTimerService>();
        station.radio = std::make_unique<fleet::FleetRadio>(
            port.name, port.devicePath.empty() ? port.comIndex : 0, *station.port, *station.timers,
            fleetJob);
    }
    RunFleet(stations);

    std::vector<fleet::RadioResult> results;
    bool allDone = true;
    for (const Station& station : stations) {
        results.push_back(station.radio->Result());
        allDone = allDone && station.radio->Result().done;
    }
    for (const std::string& line : fleet::ResultLines(results)) {
        std::cout << line << "\n";
    }
    std::cout << std::flush;
    if (!arguments.report.empty()) {
        const std::string csv = fleet::ReportCsv(results);
        if (!WriteFileAtomically(
                arguments.report,
                std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()))) {
            std::cerr << "km700rcp-cli: cannot write " << arguments.report.string() << "\n";
            return kExitCannotWrite;
        }
    }
    return allDone ? kExitDone : kExitFailed;
}

}  // namespace km::cli
