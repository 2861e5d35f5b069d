#include "JobCommand.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>
#include <variant>

#include "CliCommand.h"
#include "image/JobMarks.h"
#include "tables/JobDump.h"
#include "tables/Verify.h"

namespace km::cli {
namespace {

struct Parsed {
    std::vector<std::string> files;
    bool json = false;
    bool help = false;
    std::string error;
};

Parsed Parse(const std::vector<std::string>& args, bool jsonAllowed) {
    Parsed parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help") {
            parsed.help = true;
        } else if (arg == "--json" && jsonAllowed) {
            parsed.json = true;
        } else if (arg.starts_with("--")) {
            parsed.error = "unknown option " + arg;
        } else {
            parsed.files.push_back(arg);
        }
    }
    return parsed;
}

// The job of a file, or nothing after its one-line error on `err`.
std::optional<tables::JobBytes> ReadJob(const std::string& file, std::ostream& err) {
    auto read = tables::ReadJobBytes(file);
    if (auto* error = std::get_if<std::string>(&read)) {
        err << "km700rcp-cli: " << *error << "\n";
        return std::nullopt;
    }
    return std::get<tables::JobBytes>(std::move(read));
}

// "warning: <file> does not look like a trunk job made by this program: <marks>" when the job's
// marks are not the ones the program writes (the desktop program asks before opening it); empty
// otherwise.
std::string ForeignJobLine(const std::string& file, const tables::JobBytes& job) {
    std::optional<JobKind> kind;
    switch (job.image) {
        case fields::ImageId::Trunk:
            kind = JobKind::Trunk;
            break;
        case fields::ImageId::Pmr:
            kind = JobKind::Pmr;
            break;
        case fields::ImageId::Network:
            kind = JobKind::Network;
            break;
        case fields::ImageId::Setup:
            break;
    }
    const auto marks = kind ? ForeignJobMarks(*kind, job.bytes) : std::vector<ForeignMark>{};
    if (marks.empty()) {
        return {};
    }
    std::string line =
        "warning: " + NotOwnJobText(*kind, std::filesystem::path(file).filename().string()) + ":";
    for (std::size_t i = 0; i < marks.size(); ++i) {
        line += (i == 0 ? " " : "; ") + ForeignMarkText(marks[i]);
    }
    return line;
}

int Usage(const std::string& error, const char* usage, std::ostream& err) {
    err << "km700rcp-cli: " << error << "\n\n" << usage;
    return kExitUsage;
}

int Dump(const Parsed& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.files.size() != 1) {
        return Usage("dump takes one FILE", kDumpUsageText, err);
    }
    const auto job = ReadJob(parsed.files[0], err);
    if (!job) {
        return kExitUsage;
    }
    if (const std::string foreign = ForeignJobLine(parsed.files[0], *job); !foreign.empty()) {
        err << "km700rcp-cli: " << foreign << "\n";
    }
    const auto lines = tables::DumpImage(job->image, job->bytes);
    if (parsed.json) {
        out << tables::DumpAsJson(lines);
        return kExitDone;
    }
    std::size_t idWidth = 0;
    std::size_t captionWidth = 0;
    for (const auto& line : lines) {
        idWidth = std::max(idWidth, line.id.size());
        captionWidth = std::max(captionWidth, line.caption.size());
    }
    for (const auto& line : lines) {
        out << std::left << std::setw(static_cast<int>(idWidth + 2)) << line.id
            << std::setw(static_cast<int>(captionWidth + 2)) << line.caption << line.value << "\n";
    }
    return kExitDone;
}

int Diff(const Parsed& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.files.size() != 2) {
        return Usage("diff takes two files, A and B", kDiffUsageText, err);
    }
    const auto a = ReadJob(parsed.files[0], err);
    const auto b = ReadJob(parsed.files[1], err);
    if (!a || !b) {
        return kExitUsage;
    }
    if (a->image != b->image) {
        err << "km700rcp-cli: " << parsed.files[0] << " and " << parsed.files[1]
            << " are jobs of different kinds\n";
        return kExitUsage;
    }
    const auto difference = tables::DiffImages(a->image, a->bytes, b->bytes);
    for (const auto& field : difference.fields) {
        out << field.id << ": " << field.before << " -> " << field.after << "\n";
    }
    for (const auto& range : difference.unnamedBytes) {
        out << "bytes " << range.begin << ".." << range.end - 1 << " differ\n";
    }
    return difference.Empty() ? kExitDone : kExitFailed;
}

int Verify(const Parsed& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.files.size() != 1) {
        return Usage("verify takes one FILE", kVerifyUsageText, err);
    }
    const auto job = ReadJob(parsed.files[0], err);
    if (!job) {
        return kExitUsage;
    }
    const std::string foreign = ForeignJobLine(parsed.files[0], *job);
    if (!foreign.empty()) {
        out << foreign << "\n";
    }
    const auto findings = tables::VerifyImage(job->image, job->bytes);
    for (const auto& finding : findings) {
        out << tables::FindingLine(finding) << "\n";
    }
    return findings.empty() && foreign.empty() ? kExitDone : kExitFailed;
}

}  // namespace

bool IsJobCommand(std::string_view command) {
    return command == "dump" || command == "diff" || command == "verify";
}

int JobMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    struct Subcommand {
        std::string_view name;
        const char* usage;
        int (*run)(const Parsed&, std::ostream&, std::ostream&);
    };
    static constexpr Subcommand kSubcommands[] = {
        {"dump", kDumpUsageText, Dump},
        {"diff", kDiffUsageText, Diff},
        {"verify", kVerifyUsageText, Verify},
    };
    const Subcommand* command = &kSubcommands[0];
    for (const Subcommand& candidate : kSubcommands) {
        if (candidate.name == args.at(0)) {
            command = &candidate;
        }
    }
    const Parsed parsed = Parse(args, command->run == Dump);
    if (parsed.help) {
        out << command->usage;
        return kExitDone;
    }
    if (!parsed.error.empty()) {
        return Usage(parsed.error, command->usage, err);
    }
    return command->run(parsed, out, err);
}

}  // namespace km::cli
