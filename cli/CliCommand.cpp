#include "CliCommand.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cctype>
#include <iostream>
#include <memory>

#include "QtSerialPort.h"
#include "QtTimers.h"
#include "core/Cp1252.h"
#include "core/Files.h"
#include "core/Person.h"
#include "image/State.h"
#include "radio/RadioSession.h"

namespace km::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kComPorts = 16;

std::optional<int> ComIndexOf(const std::string& port) {
    if (port.size() < 4 || port.size() > 5) {
        return std::nullopt;
    }
    std::string prefix = port.substr(0, 3);
    for (char& c : prefix) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string digits = port.substr(3);
    if (prefix != "COM" || !std::all_of(digits.begin(), digits.end(),
                                        [](unsigned char c) { return std::isdigit(c); })) {
        return std::nullopt;
    }
    const int number = std::stoi(digits);
    if (number < 1 || number > kComPorts) {
        return std::nullopt;
    }
    return number - 1;
}

// The person at the console: boxes become lines, the report goes to standard output and every
// warning and error to standard error. No question is asked by the commands of this program.
class ConsolePerson : public Person {
  public:
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        if (kind == BoxKind::Information) {
            std::cout << text << std::flush;
        } else {
            std::cerr << text << "\n" << std::flush;
        }
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    void Beep() override {}
};

// One progress line on standard error, rewritten in place on a terminal.
class ConsoleProgress : public Progress {
  public:
    ConsoleProgress() : terminal_(::isatty(STDERR_FILENO) != 0) {}

  protected:
    void Shown() override { Print(); }
    void Changed() override { Print(); }
    void Hidden() override {
        if (!line_.empty() && terminal_) {
            std::cerr << "\n";
        }
        line_.clear();
    }

  private:
    void Print() {
        // Before the operation has a step total the gauge means nothing.
        const std::string gauge = Total() == 0 ? "" : " " + std::to_string(Gauge()) + "%";
        const std::string line = Caption() + ": " + Text() + gauge;
        if (line == line_) {
            return;
        }
        if (terminal_) {
            const std::size_t blanks = line_.size() > line.size() ? line_.size() - line.size() : 0;
            std::cerr << "\r" << line << std::string(blanks, ' ') << std::flush;
        } else if (line_.empty() || Text() != text_) {
            std::cerr << line << "\n";
        }
        line_ = line;
        text_ = Text();
    }

    bool terminal_;
    std::string line_;
    std::string text_;
};

bool WriteJob(const fs::path& file, std::span<const std::uint8_t> bytes) {
    if (WriteFileAtomically(file, bytes)) {
        return true;
    }
    std::cerr << "km700rcp-cli: cannot write " << file.string() << "\n";
    return false;
}

}  // namespace

std::vector<fs::path> DataFolders(const fs::path& workdir) {
    return {workdir, QCoreApplication::applicationDirPath().toStdString()};
}

void WaitUntilEnded(const MainState& state, const DataLink& link) {
    // Checking every 20 ms keeps the wait unnoticeable without spinning.
    constexpr int kEndCheckMs = 20;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!state.CommsBusy && !link.PortOpen()) {
            loop.quit();
        }
    });
    check.start(kEndCheckMs);
    loop.exec();
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    if (args.empty()) {
        return {std::nullopt, "no command given"};
    }
    Arguments arguments;
    std::optional<std::string> port;
    bool trunk = false;
    const std::string& command = args[0];
    if (command == "--help" || command == "help") {
        return {arguments, ""};
    }
    if (command == "info") {
        arguments.command = Command::Info;
    } else if (command == "read") {
        arguments.command = Command::Read;
    } else {
        return {std::nullopt, "unknown command '" + command + "'"};
    }
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help") {
            arguments.command = Command::Help;
            return {arguments, ""};
        } else if (arg == "--trunk" && arguments.command == Command::Read) {
            trunk = true;
        } else if (arg == "--pmr" && arguments.command == Command::Read) {
            arguments.pmr = true;
        } else if (arg == "--port" && hasValue) {
            port = args[++i];
        } else if ((arg == "-o" || arg == "--output") && hasValue &&
                   arguments.command == Command::Read) {
            arguments.output = args[++i];
        } else if (arg == "--workdir" && hasValue) {
            arguments.workdir = args[++i];
        } else {
            return {std::nullopt, "unexpected argument '" + arg + "'"};
        }
    }
    if (!port) {
        return {std::nullopt, "--port is missing"};
    }
    if (const auto index = ComIndexOf(*port)) {
        arguments.comIndex = *index;
    } else if (port->find('/') != std::string::npos) {
        arguments.devicePath = *port;
    } else {
        return {std::nullopt, "unknown port '" + *port + "' (COM1 .. COM16 or a device path)"};
    }
    if (arguments.command == Command::Read) {
        if (trunk == arguments.pmr) {
            return {std::nullopt, "read needs either --trunk or --pmr"};
        }
        if (arguments.output.empty()) {
            return {std::nullopt, "read needs -o FILE"};
        }
    }
    return {arguments, ""};
}

DeviceResolver PortResolver(const std::string& devicePath, const fs::path& workdir) {
    if (devicePath.empty()) {
        return ComPortsResolver(workdir);
    }
    return [devicePath](int) { return devicePath; };
}

int Run(const Arguments& arguments) {
    std::error_code ec;
    const fs::path workdir = fs::absolute(arguments.workdir, ec);
    if (ec || !fs::is_directory(workdir)) {
        std::cerr << "km700rcp-cli: the working directory " << arguments.workdir.string()
                  << " does not exist\n";
        return kExitUsage;
    }
    const fs::path output = arguments.output.empty() ? fs::path() : fs::absolute(arguments.output);

    const int comIndex = arguments.devicePath.empty() ? arguments.comIndex : 0;

    QtSerialPort port(PortResolver(arguments.devicePath, workdir));
    QtTimerService timers;
    ConsolePerson person;
    ConsoleProgress progress;
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    RadioSession session(port, timers,
                         {*workspace, state, person, progress, workdir, DataFolders(workdir),
                          [comIndex] { return comIndex; }});
    RadioOperations& operations = session.Operations();

    if (arguments.command == Command::Info) {
        operations.RadioInformation();
    } else {
        operations.ReadRadio(arguments.pmr ? kImagePmr : kImageTrunk);
    }
    if (!state.CommsBusy) {
        return kExitFailed;  // the port could not be opened; the reason has been printed
    }
    WaitUntilEnded(state, session.Link());

    if (arguments.command == Command::Info) {
        return operations.LastReport().empty() ? kExitFailed : kExitDone;
    }
    if (arguments.pmr) {
        if (!state.PmrJobLoaded) {
            return kExitFailed;
        }
        return WriteJob(output, workspace->pmr.Bytes()) ? kExitDone : kExitCannotWrite;
    }
    if (!state.TrunkJobLoaded) {
        return kExitFailed;
    }
    return WriteJob(output, workspace->trunk.Bytes()) ? kExitDone : kExitCannotWrite;
}

}  // namespace km::cli
