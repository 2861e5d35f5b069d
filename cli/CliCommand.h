#pragma once
// km700rcp-cli: Radio Information and Read Radio from the command line. It works in a working
// directory like the desktop program (FIT000101.bin, the templates, comports.cfg, RadInfo.txt),
// prints the same messages the desktop program shows in its boxes, and ends with an exit code.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ComPortMap.h"

namespace km {
struct MainState;
class DataLink;
}  // namespace km

namespace km::cli {

inline constexpr const char* kUsageText =
    "Usage: km700rcp-cli info --port P [--workdir DIR]\n"
    "       km700rcp-cli read --port P (--trunk | --pmr) -o FILE [--workdir DIR]\n"
    "       km700rcp-cli program --port P FILE [--yes | --no] [--workdir DIR]\n"
    "       km700rcp-cli upgrade --port P FILE [--yes | --no] [--workdir DIR]\n"
    "       km700rcp-cli dump FILE [--json]\n"
    "       km700rcp-cli diff A B\n"
    "       km700rcp-cli verify FILE\n"
    "       km700rcp-cli set JOB ID=VALUE [ID=VALUE ...]\n"
    "       km700rcp-cli apply JOB CHANGES.json\n"
    "       km700rcp-cli csv export|import --table NAME JOB FILE.csv\n"
    "       km700rcp-cli print --report NAME JOB OUT.pdf\n"
    "\n"
    "  info          read the radio's identity and software versions; prints the Radio\n"
    "                Information report and writes it to RadInfo.txt in the working directory\n"
    "  read          read the radio's trunk (--trunk) or PMR (--pmr) configuration into FILE\n"
    "                (a .tnk or .pmr job file)\n"
    "  --port P      COM1 .. COM16 (mapped to a device as the desktop program does, through\n"
    "                comports.cfg in the working directory) or a serial device path\n"
    "  --workdir DIR the working directory (default: the current directory)\n"
    "  program       write a .tnk or .pmr job into the radio (see: program --help)\n"
    "                with several --port, into many radios at once, each with its own values\n"
    "                from a --sheet and a --backup first; read takes several --port too\n"
    "  upgrade       write a radio code file into the radio (see: upgrade --help)\n"
    "  dump          print every field of a job file (see: dump --help)\n"
    "  diff          print the fields in which two job files differ (see: diff --help)\n"
    "  verify        check every field of a job file (see: verify --help)\n"
    "  set, apply    set fields of a job file by id (see: set --help)\n"
    "  csv           a table of a job to or from a CSV file (see: csv --help)\n"
    "  print         a report of a job as a PDF file (see: print --help)\n"
    "  --help        show this text\n"
    "\n"
    "Exit codes: 0 done; 1 the radio operation failed; 2 wrong arguments; 3 FILE could not be\n"
    "written. Every failure prints its message on standard error.\n";

enum ExitCode { kExitDone = 0, kExitFailed = 1, kExitUsage = 2, kExitCannotWrite = 3 };

enum class Command { Help, Info, Read };

struct Arguments {
    Command command = Command::Help;
    int comIndex = -1;       // 0 for COM1, when the port was given as a COM number
    std::string devicePath;  // when the port was given as a device path
    bool pmr = false;
    std::filesystem::path output;
    std::filesystem::path workdir = ".";
};

struct ParseResult {
    std::optional<Arguments> arguments;
    std::string error;  // why the arguments were refused
};

ParseResult ParseArguments(const std::vector<std::string>& args);

// Runs the command; the Qt core application must exist. Messages go to standard output (the
// report) and standard error (progress and every failure).
int Run(const Arguments& arguments);

// The device of the --port argument: a device path is opened as it is; a COM number reaches its
// device as in the desktop program (comports.cfg in the working directory, then the system's
// serial ports).
DeviceResolver PortResolver(const std::string& devicePath, const std::filesystem::path& workdir);

// Where FIT000101.bin and aligncfg.bin are looked for: the working directory, then beside the
// program.
std::vector<std::filesystem::path> DataFolders(const std::filesystem::path& workdir);

// Runs the event loop until a radio command has ended: no progress shown, and the port closed
// once the closing message has left.
void WaitUntilEnded(const MainState& state, const DataLink& link);

}  // namespace km::cli
