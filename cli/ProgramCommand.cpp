#include "ProgramCommand.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <memory>

#include "CliCommand.h"
#include "QtSerialPort.h"
#include "QtTimers.h"
#include "TerminalAnswer.h"
#include "image/JobFiles.h"
#include "image/State.h"
#include "radio/ProgramPmr.h"
#include "radio/ProgramTrunk.h"
#include "radio/RadioSession.h"
#include "radio/Upgrade.h"

namespace km::cli {

namespace fs = std::filesystem;

namespace {

// The person at the console: every box is a line on standard error; questions take the answer
// given on the command line or read one from the terminal while the radio's link keeps running.
class AnsweringPerson : public Person {
  public:
    explicit AnsweringPerson(std::optional<Answer> answer) : answer_(answer) {}

    Answer Show(BoxKind, std::string_view text, Buttons buttons) override {
        std::cerr << text << "\n";
        if (buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        if (buttons == Buttons::Cancel) {
            return Answer::Cancel;
        }
        if (answer_) {
            std::cerr << (*answer_ == Answer::Yes ? "yes" : "no") << "\n";
            return *answer_;
        }
        std::cerr << kTerminalAnswerPrompt << std::flush;
        const std::optional<std::string> line = ReadAnswerLine(STDIN_FILENO);
        if (!line) {
            return Answer::No;
        }
        return !line->empty() && ((*line)[0] == 'y' || (*line)[0] == 'Y') ? Answer::Yes
                                                                          : Answer::No;
    }
    void Beep() override {}

  private:
    std::optional<Answer> answer_;
};

// Each new status text of the progress dialog on a line of its own.
class LineProgress : public Progress {
  protected:
    void Shown() override { Print(); }
    void Changed() override { Print(); }

  private:
    void Print() {
        if (Text() != last_) {
            last_ = Text();
            std::cerr << Caption() << ": " << Text() << "\n";
        }
    }
    std::string last_;
};

// Loads the job file into the workspace the way File > Open does; the view it belongs to, or
// nothing when no job could be loaded (a file that cannot be read has shown its reason).
std::optional<int> OpenJob(const fs::path& file, Workspace& workspace, MainState& state,
                           Person& person, const fs::path& workdir) {
    JobFiles files(workspace, state, person, workdir);
    static_cast<void>(files.Open(file));
    if (state.TrunkJobLoaded) {
        return kImageTrunk;
    }
    if (state.PmrJobLoaded) {
        return kImagePmr;
    }
    person.Error(kNoJobLoadedText);
    return std::nullopt;
}

}  // namespace

bool IsProgrammingCommand(std::string_view command) {
    return command == "program" || command == "upgrade";
}

ProgrammingParse ParseProgrammingArguments(const std::vector<std::string>& args) {
    if (args.empty() || !IsProgrammingCommand(args[0])) {
        return {std::nullopt, false, "no program or upgrade command"};
    }
    ProgrammingArguments arguments;
    arguments.upgrade = args[0] == "upgrade";
    std::optional<std::string> port;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help") {
            return {std::nullopt, true, ""};
        } else if (arg == "--port" && hasValue) {
            port = args[++i];
        } else if (arg == "--workdir" && hasValue) {
            arguments.workdir = args[++i];
        } else if ((arg == "--yes" || arg == "--no") && !arguments.answer) {
            arguments.answer = arg == "--yes" ? Answer::Yes : Answer::No;
        } else if (!arg.starts_with("-") && arguments.file.empty()) {
            arguments.file = arg;
        } else {
            return {std::nullopt, false, "unexpected argument '" + arg + "'"};
        }
    }
    if (!port) {
        return {std::nullopt, false, "--port is missing"};
    }
    if (arguments.file.empty()) {
        return {std::nullopt, false, args[0] + " needs a FILE"};
    }
    // The port is named as for the other commands.
    const auto portOnly = ParseArguments({"info", "--port", *port});
    if (!portOnly.arguments) {
        return {std::nullopt, false, portOnly.error};
    }
    arguments.comIndex = portOnly.arguments->comIndex;
    arguments.devicePath = portOnly.arguments->devicePath;
    return {arguments, false, ""};
}

int RunProgramming(const ProgrammingArguments& arguments) {
    std::error_code ec;
    const fs::path workdir = fs::absolute(arguments.workdir, ec);
    if (ec || !fs::is_directory(workdir)) {
        std::cerr << "km700rcp-cli: the working directory " << arguments.workdir.string()
                  << " does not exist\n";
        return kExitUsage;
    }
    const fs::path file = fs::absolute(arguments.file);
    AnsweringPerson person(arguments.answer);
    if (arguments.upgrade && !CodeFileExtensionAccepted(file)) {
        person.Error(kInvalidCodeExtensionText);
        return kExitFailed;
    }

    const int comIndex = arguments.devicePath.empty() ? arguments.comIndex : 0;

    auto workspace = std::make_unique<Workspace>();
    MainState state;
    std::optional<int> view;
    if (!arguments.upgrade) {
        view = OpenJob(file, *workspace, state, person, workdir);
        if (!view) {
            return kExitFailed;
        }
    }

    QtSerialPort port(PortResolver(arguments.devicePath, workdir));
    QtTimerService timers;
    LineProgress progress;
    RadioSession session(port, timers,
                         {*workspace, state, person, progress, workdir, DataFolders(workdir),
                          [comIndex] { return comIndex; }});
    RadioOperations& operations = session.Operations();

    const ProgrammingMachine* machine = &operations.SoftwareUpgrade();
    if (arguments.upgrade) {
        if (!StartDownload(operations, file)) {
            return kExitFailed;
        }
    } else {
        state.ImageKind = *view;
        machine = *view == kImagePmr
                      ? static_cast<const ProgrammingMachine*>(&operations.PmrProgramming())
                      : &operations.TrunkProgramming();
        operations.ProgramRadio();
        if (!state.CommsBusy) {
            return kExitFailed;  // the port could not be opened; the reason has been printed
        }
    }
    WaitUntilEnded(state, session.Link());
    return machine->Completed() ? kExitDone : kExitFailed;
}

int ProgrammingMain(const std::vector<std::string>& args) {
    const auto parsed = ParseProgrammingArguments(args);
    if (parsed.help) {
        std::cout << kProgrammingUsageText;
        return kExitDone;
    }
    if (!parsed.arguments) {
        std::cerr << "km700rcp-cli: " << parsed.error << "\n\n" << kProgrammingUsageText;
        return kExitUsage;
    }
    return RunProgramming(*parsed.arguments);
}

}  // namespace km::cli
