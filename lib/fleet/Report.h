#pragma once
// What became of each radio of a fleet: one line per radio on the console, and the same lines
// as a CSV report.

#include <string>
#include <vector>

namespace km::fleet {

inline constexpr const char* kReportHeader = "port,serial,radio,result,seconds,message,backup";
inline constexpr const char* kResultDone = "done";
inline constexpr const char* kResultFailed = "failed";

struct RadioResult {
    std::string port;
    std::string serial;  // as identification read it; empty until then
    std::string radio;   // the radio's type ("KM700 mobile Rev 9", "KP800 portable")
    bool done = false;
    double seconds = 0;
    std::string message;  // why the radio failed, on one line
    std::string backup;   // the backup job file written, or the job file read
};

// "COM3  VIRTUAL-0000003  KM700 mobile Rev 9  done  41.2 s" (and the message after a failure),
// the columns as wide as the widest entry of `all`.
std::vector<std::string> ResultLines(const std::vector<RadioResult>& all);

// The report: the header, then a line per radio, lines ended by CR LF. A field with a comma, a
// quote or a line break is quoted.
std::string ReportCsv(const std::vector<RadioResult>& all);

}  // namespace km::fleet
