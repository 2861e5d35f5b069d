#pragma once
// km700rcp-cli program and read of many radios at once: every radio on every --port runs on a
// session of its own in this one process, each with its own copy of the job (and its own values
// from a sheet), a backup first when asked; one line per radio at the end, and a CSV report.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"

namespace km::cli {

inline constexpr const char* kFleetUsageText =
    "Usage: km700rcp-cli program --port P --port Q ... JOB [--sheet SHEET.csv [--sheet-optional]]\n"
    "                            [--backup DIR] [--report FILE.csv] [--yes | --no] [--workdir "
    "DIR]\n"
    "       km700rcp-cli read --port P --port Q ... (--trunk | --pmr) -o DIR [--report FILE.csv]\n"
    "                         [--workdir DIR]\n"
    "\n"
    "  program       programs the radios on every port at the same time with the job JOB\n"
    "  read          reads every radio's trunk or PMR configuration into DIR, a job file per\n"
    "                radio named after its serial number\n"
    "  --port P      a radio's port, COM1 .. COM16 or a serial device path; once per radio\n"
    "  --sheet SHEET.csv\n"
    "                each radio's own values: a header \"serial\" (or \"port\") followed by field\n"
    "                ids as `dump` names them, then a row per radio; the row's values are set in\n"
    "                the radio's copy of the job before anything is written (an empty cell keeps\n"
    "                the job's value). A radio without a row fails, or with --sheet-optional is\n"
    "                programmed with the job as it is\n"
    "  --backup DIR  reads each radio's configuration first and saves it in DIR as a job file\n"
    "                named after its serial number and the date and time; a radio whose backup\n"
    "                cannot be read or written is not programmed\n"
    "  --report FILE.csv\n"
    "                writes the result lines as CSV: port,serial,radio,result,seconds,message,\n"
    "                backup\n"
    "  --yes, --no   the answer to every question (default: no)\n"
    "  --workdir DIR the working directory (default: the current directory)\n"
    "\n"
    "  One line per radio is printed at the end: port, serial number, radio type, done or\n"
    "  failed, seconds, and the failure's message. One radio failing never stops the others.\n"
    "  Ctrl+C stops every radio as Cancel does.\n"
    "\n"
    "Exit codes: 0 every radio done; 1 a radio failed; 2 wrong arguments, or the job or sheet\n"
    "cannot be read; 3 the report or the backup folder could not be written.\n";

// True when a program or read command names many radios or a fleet option: more than one
// --port, --sheet, --sheet-optional, --backup or --report. The single-radio commands run
// otherwise.
bool IsFleetCommand(const std::vector<std::string>& args);

struct FleetPort {
    std::string name;  // as given
    int comIndex = 0;
    std::string devicePath;  // empty for a COM number
};

struct FleetArguments {
    bool read = false;
    bool pmr = false;  // read: --pmr
    std::vector<FleetPort> ports;
    std::filesystem::path job;  // program
    std::filesystem::path sheet;
    bool sheetOptional = false;
    std::filesystem::path backup;
    std::filesystem::path output;  // read: the folder
    std::filesystem::path report;
    std::optional<Answer> answer;
    std::filesystem::path workdir = ".";
};

struct FleetParse {
    std::optional<FleetArguments> arguments;
    bool help = false;
    std::string error;
};

FleetParse ParseFleetArguments(const std::vector<std::string>& args);

// The whole command; the Qt core application must exist. Result lines on standard output,
// progress and messages on standard error.
int FleetMain(const std::vector<std::string>& args);

}  // namespace km::cli
