#pragma once
// km700rcp-cli dump, diff and verify: a job file by field, the fields in which two jobs differ,
// and the findings of every field's check. All three
// work on the files alone; no radio, no working directory.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace km::cli {

inline constexpr const char* kDumpUsageText =
    "Usage: km700rcp-cli dump FILE [--json]\n"
    "\n"
    "  Prints every field of FILE (a .tnk, .pmr or .nwk job, a .tct or .cct template, or\n"
    "  Setup.dat) on a line of its own: the field's id, its caption and its value as the form\n"
    "  shows it. Tables list their records in use by index. A value no list entry names shows as\n"
    "  \"? <number>\". A job whose format mark, radio mode or network marker is not one this\n"
    "  program writes (a file of another kind renamed) is dumped after a warning on stderr.\n"
    "  --json        print a JSON array of objects instead of lines: \"id\", \"caption\",\n"
    "                \"value\" and \"form\"; \"page\" and \"control\" where the field has them;\n"
    "                for a column of a record \"record\" (its index) and, where a grid shows\n"
    "                the record, \"grid\" and \"column\" (the column's title)\n"
    "\n"
    "Exit codes: 0 done; 2 wrong arguments or FILE is no job file.\n";

inline constexpr const char* kDiffUsageText =
    "Usage: km700rcp-cli diff A B\n"
    "\n"
    "  Prints the fields in which the jobs A and B (of the same kind) differ, one a line: the\n"
    "  field's id, its value in A and its value in B; then the byte ranges that differ where no\n"
    "  field names the bytes.\n"
    "\n"
    "Exit codes: 0 the jobs are the same; 1 they differ; 2 wrong arguments or a file is no job\n"
    "file.\n";

inline constexpr const char* kVerifyUsageText =
    "Usage: km700rcp-cli verify FILE\n"
    "\n"
    "  Runs the check of every field of FILE (a .tnk, .pmr or .nwk job) and prints one line per\n"
    "  finding: \"error\" or \"warning\", the form, its page and the field, and the check's\n"
    "  message. An error (a number out of its range) is what Program Radio refuses; a warning\n"
    "  (a value no list entry names, a text longer than its form takes) is what it asks about.\n"
    "  A first warning line says when FILE does not look like a job made by this program (its\n"
    "  format mark, radio mode or network marker is not one the program writes).\n"
    "\n"
    "Exit codes: 0 nothing found; 1 something found; 2 wrong arguments or FILE is no job file.\n";

bool IsJobCommand(std::string_view command);

// The whole command (args[0] is "dump", "diff" or "verify"): results on `out`, messages on `err`;
// gives the exit code.
int JobMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace km::cli
