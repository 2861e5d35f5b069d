#pragma once
// km700rcp-cli csv: a table of a job to and from a CSV file, with the same codecs as the desktop
// program's File > CSV Export and CSV Import. No radio, no working directory.
//
// Each table is one entry of kCsvTables: its --table name, the job it belongs to and its two
// codecs. A new table joins the command with one entry.

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Csv.h"
#include "fields/Field.h"

namespace km::cli {

inline constexpr const char* kCsvUsageText =
    "Usage: km700rcp-cli csv export --table NAME JOB [OUT.csv | -o OUT.csv]\n"
    "       km700rcp-cli csv import --table NAME JOB IN.csv [-o OUT]\n"
    "\n"
    "  export        writes the table NAME of JOB as a CSV file to OUT.csv, or to standard\n"
    "                output when no file is given\n"
    "  import        replaces the table NAME of JOB by the CSV file IN.csv and writes the job to\n"
    "                OUT (JOB itself without -o). A file that is no such table changes nothing;\n"
    "                rows the table cannot take are left out and counted on standard error,\n"
    "                and so is what the store changes for the radio (a frequency off the\n"
    "                raster). JOB and the CSV file may be given in either order.\n"
    "  --table NAME  phonebook or trunk-phonebook (a .tnk job: the trunk phone book), channels\n"
    "                or zones (a .pmr job: the channel table with its groups, or the zone\n"
    "                table), pmr-phonebook or status (a .pmr job: the selcall phone book, or\n"
    "                the status message list)\n"
    "  --country C   the dealer's country code the channel table's store follows: 0 (default),\n"
    "                1 Australia/New Zealand (the UHF CB band plan), 5 United States\n"
    "\n"
    "Exit codes: 0 done; 1 the file is no such table, rows were left out or the store changed\n"
    "a value; 2 wrong arguments or JOB is no job of the table's kind; 3 a file could not be\n"
    "written.\n";

// What an import may need beyond the file.
struct CsvOptions {
    int countryCode = 0;
};

struct CsvTable {
    std::string_view name;   // the --table argument
    std::string_view alias;  // another name it goes by (the report's name in print), or empty
    fields::ImageId image;   // the kind of job that holds the table
    std::string (*exportCsv)(std::span<const std::uint8_t> job);
    // The summary, or the message of a file that is no such table (the job is then unchanged).
    std::variant<csv::ImportSummary, std::string> (*importCsv)(std::span<std::uint8_t> job,
                                                               std::string_view file,
                                                               const CsvOptions& options);
};

std::span<const CsvTable> CsvTables();

bool IsCsvCommand(std::string_view command);

// The whole command (args[0] is "csv"): a table exported without a file goes to `out`, messages
// to `err`; gives the exit code.
int CsvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace km::cli
