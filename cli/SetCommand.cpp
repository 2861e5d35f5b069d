#include "SetCommand.h"

#include <ostream>
#include <variant>

#include "CliCommand.h"
#include "core/Files.h"
#include "tables/JobDump.h"
#include "tables/SetValues.h"

namespace km::cli {
namespace {

// A changes file larger than this is no list of field values.
constexpr std::size_t kMaxChangesFileBytes = 64 << 20;

int Usage(const std::string& error, std::ostream& err) {
    err << "km700rcp-cli: " << error << "\n\n" << kSetUsageText;
    return kExitUsage;
}

// The ID=VALUE arguments as changes; the first argument without '=' is named in `bad`.
std::vector<tables::FieldChange> ChangesOfArguments(std::span<const std::string> args,
                                                    std::string& bad) {
    std::vector<tables::FieldChange> changes;
    for (const std::string& arg : args) {
        const auto equals = arg.find('=');
        if (equals == std::string::npos || equals == 0) {
            bad = arg;
            return {};
        }
        changes.push_back({arg.substr(0, equals), arg.substr(equals + 1)});
    }
    return changes;
}

std::variant<std::vector<tables::FieldChange>, std::string> ChangesOfFile(const std::string& file) {
    const auto bytes = ReadFileBytes(file, kMaxChangesFileBytes + 1);
    if (!bytes) {
        return file + ": cannot be read";
    }
    if (bytes->size() > kMaxChangesFileBytes) {
        return file + ": too large for a list of changes";
    }
    auto parsed = tables::ParseChangesJson(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (auto* error = std::get_if<std::string>(&parsed)) {
        return file + ": " + *error;
    }
    return parsed;
}

}  // namespace

bool IsSetCommand(std::string_view command) {
    return command == "set" || command == "apply";
}

int SetMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") {
            out << kSetUsageText;
            return kExitDone;
        }
        if (args[i].starts_with("--")) {
            return Usage("unknown option " + args[i], err);
        }
        operands.push_back(args[i]);
    }
    const bool apply = args.at(0) == "apply";
    if (apply ? operands.size() != 2 : operands.size() < 2) {
        return Usage(apply ? "apply takes JOB and CHANGES.json" : "set takes JOB and ID=VALUE",
                     err);
    }
    std::vector<tables::FieldChange> changes;
    if (apply) {
        auto read = ChangesOfFile(operands[1]);
        if (auto* error = std::get_if<std::string>(&read)) {
            err << "km700rcp-cli: " << *error << "\n";
            return kExitUsage;
        }
        changes = std::get<std::vector<tables::FieldChange>>(std::move(read));
    } else {
        std::string bad;
        changes = ChangesOfArguments(std::span(operands).subspan(1), bad);
        if (!bad.empty()) {
            return Usage("'" + bad + "' is no ID=VALUE", err);
        }
    }
    auto read = tables::ReadJobBytes(operands[0]);
    if (auto* error = std::get_if<std::string>(&read)) {
        err << "km700rcp-cli: " << *error << "\n";
        return kExitUsage;
    }
    auto job = std::get<tables::JobBytes>(std::move(read));
    if (const auto refusal = tables::ApplyChanges(job.image, job.bytes, changes)) {
        err << "km700rcp-cli: " << refusal->id << ": " << refusal->message << "\n";
        return kExitUsage;
    }
    if (!WriteFileAtomically(operands[0], job.bytes)) {
        err << "km700rcp-cli: cannot write " << operands[0] << "\n";
        return kExitCannotWrite;
    }
    return kExitDone;
}

}  // namespace km::cli
