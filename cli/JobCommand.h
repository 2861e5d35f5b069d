#pragma once
// km700rcp-cli dump and diff: a job file by field, and the fields in which two jobs differ. Both
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
    "  \"? <number>\".\n"
    "  --json        print a JSON array of {\"id\", \"caption\", \"value\"} objects instead\n"
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

bool IsJobCommand(std::string_view command);

// The whole command (args[0] is "dump" or "diff"): results on `out`, messages on `err`; gives
// the exit code.
int JobMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace km::cli
