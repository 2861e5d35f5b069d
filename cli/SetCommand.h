#pragma once
// km700rcp-cli set and apply: values of a job file set by field id, through the rows' own parse
// and check, and the job written whole and safely as Save writes it.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace km::cli {

inline constexpr const char* kSetUsageText =
    "Usage: km700rcp-cli set JOB ID=VALUE [ID=VALUE ...]\n"
    "       km700rcp-cli apply JOB CHANGES.json\n"
    "\n"
    "  set           sets fields of JOB (a .tnk, .pmr or .nwk job) by id, as `dump` names them,\n"
    "                to values as the form shows them: a list entry by its text, a number with\n"
    "                its decimals, a text (\"\\n\" is a line break in a memo)\n"
    "  apply         sets the fields a JSON array of {\"id\": ..., \"value\": ...} objects names,\n"
    "                in the shape `dump --json` prints, so that a dump, edited, applies back\n"
    "\n"
    "  Each value is parsed and checked as the form checks it. When one is refused (or an id\n"
    "  names no field) the job is left as it was and the field's message is printed. Values the\n"
    "  job already holds are left alone. The job is written whole: a temporary file renamed into\n"
    "  place.\n"
    "\n"
    "Exit codes: 0 done; 2 wrong arguments, a value refused or JOB is no job file; 3 JOB could\n"
    "not be written.\n";

bool IsSetCommand(std::string_view command);

// The whole command (args[0] is "set" or "apply"): messages on `err`; gives the exit code.
int SetMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace km::cli
