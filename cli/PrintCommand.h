#pragma once
// km700rcp-cli print: a report of a job as a PDF file, with the same pages as the desktop
// program's File > Print. The reports are those of lib/print (ReportKinds()).

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace km::cli {

inline constexpr const char* kPrintUsageText =
    "Usage: km700rcp-cli print --report NAME JOB OUT.pdf [--copies N] [--collate]\n"
    "\n"
    "  print         writes the report NAME of JOB as a PDF file OUT.pdf (A4, the report's\n"
    "                fixed-pitch font, its header repeated on every page)\n"
    "  --report NAME channels, encodes, decodes or pmr-phonebook (a .pmr job), or\n"
    "                trunk-phonebook or phonebook (a .tnk job); a phone book prints the entries\n"
    "                that have a name or a number\n"
    "  --copies N    print N copies (1 .. 99; default 1): each page N times in a row\n"
    "  --collate     print the copies as whole reports, one after the other\n"
    "\n"
    "Exit codes: 0 done; 1 not even one row fits a page; 2 wrong arguments or JOB is no job of\n"
    "the report's kind; 3 OUT.pdf could not be written.\n";

bool IsPrintCommand(std::string_view command);

// The whole command (args[0] is "print"); needs a QGuiApplication. Gives the exit code.
int PrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// main() of the command: makes the QGuiApplication (offscreen when no display is set) and runs
// PrintCommand.
int PrintMain(int argc, char** argv);

}  // namespace km::cli
