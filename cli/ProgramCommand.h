#pragma once
// km700rcp-cli program and upgrade: Program Radio with a job file, and Upgrade Software with a
// radio code file, from the command line. The questions the desktop program asks in boxes are
// answered by --yes or --no, or asked on the terminal.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"

namespace km::cli {

inline constexpr const char* kProgrammingUsageText =
    "Usage: km700rcp-cli program --port P FILE [--yes | --no] [--workdir DIR]\n"
    "       km700rcp-cli upgrade --port P FILE [--yes | --no] [--workdir DIR]\n"
    "\n"
    "  program       write the job FILE (a .tnk trunk job or a .pmr PMR job) into the radio;\n"
    "                the radio's software is replaced first when the job needs other software\n"
    "                and its code files are in the Radio_SW folder of the working directory\n"
    "  upgrade       write the radio code file FILE (.bin) into the radio\n"
    "  --port P      COM1 .. COM16 or a serial device path, as for the other commands\n"
    "  --yes, --no   answer every question so; without them each question is asked here\n"
    "  --workdir DIR the working directory (default: the current directory)\n"
    "\n"
    "Exit codes: 0 done; 1 the radio operation failed, was refused or declined; 2 wrong\n"
    "arguments. Every message goes to standard error.\n";

inline constexpr const char* kTerminalAnswerPrompt = "[y/n] ";

struct ProgrammingArguments {
    bool upgrade = false;
    int comIndex = -1;       // 0 for COM1, when the port was given as a COM number
    std::string devicePath;  // when the port was given as a device path
    std::filesystem::path file;
    std::filesystem::path workdir = ".";
    std::optional<Answer> answer;  // the answer to every question; asked when empty
};

struct ProgrammingParse {
    std::optional<ProgrammingArguments> arguments;
    bool help = false;
    std::string error;  // why the arguments were refused
};

bool IsProgrammingCommand(std::string_view command);
ProgrammingParse ParseProgrammingArguments(const std::vector<std::string>& args);

// Runs the command; the Qt core application must exist.
int RunProgramming(const ProgrammingArguments& arguments);

// The whole command: arguments, usage text and run; gives the exit code.
int ProgrammingMain(const std::vector<std::string>& args);

}  // namespace km::cli
