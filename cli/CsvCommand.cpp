#include "CsvCommand.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <ostream>

#include "CliCommand.h"
#include "config/Phonebook.h"
#include "core/Files.h"
#include "pmr/PmrCsv.h"
#include "pmr/SclMap.h"
#include "tables/JobDump.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

// A message box text (lines padded with blanks to widen the box) as one line of the console.
std::string OneLine(std::string_view text) {
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view part = text.substr(start, end - start);
        const auto first = part.find_first_not_of(' ');
        if (first != std::string_view::npos) {
            part = part.substr(first, part.find_last_not_of(' ') - first + 1);
            line += (line.empty() ? "" : " ") + std::string(part);
        }
        start = end + 1;
    }
    return line;
}

// Larger files are no table of a job.
constexpr std::size_t kLargestCsvFile = 4 * 1024 * 1024;

std::variant<csv::ImportSummary, std::string> ImportTrunkPhonebook(std::span<std::uint8_t> job,
                                                                   std::string_view file,
                                                                   const CsvOptions&) {
    return ImportPhonebookCsvIntoImage(job, file);
}

std::variant<csv::ImportSummary, std::string> ImportPmrChannels(std::span<std::uint8_t> job,
                                                                std::string_view file,
                                                                const CsvOptions& options) {
    return pmr::ImportChannelsCsvIntoImage(job, file, options.countryCode);
}

std::variant<csv::ImportSummary, std::string> ImportPmrZones(std::span<std::uint8_t> job,
                                                             std::string_view file,
                                                             const CsvOptions&) {
    return pmr::ImportZonesCsvIntoImage(job, file);
}

std::variant<csv::ImportSummary, std::string> ImportPmrPhonebook(std::span<std::uint8_t> job,
                                                                 std::string_view file,
                                                                 const CsvOptions&) {
    return pmr::ImportSelcallPhonebookCsvIntoImage(job, file);
}

std::variant<csv::ImportSummary, std::string> ImportStatusList(std::span<std::uint8_t> job,
                                                               std::string_view file,
                                                               const CsvOptions&) {
    return pmr::ImportStatusListCsvIntoImage(job, file);
}

constexpr CsvTable kCsvTables[] = {
    {"phonebook", "trunk-phonebook", fields::ImageId::Trunk, ExportPhonebookCsvOfImage,
     ImportTrunkPhonebook},
    {"channels", "", fields::ImageId::Pmr, pmr::ExportChannelsCsvOfImage, ImportPmrChannels},
    {"zones", "", fields::ImageId::Pmr, pmr::ExportZonesCsvOfImage, ImportPmrZones},
    {"pmr-phonebook", "", fields::ImageId::Pmr, pmr::ExportSelcallPhonebookCsvOfImage,
     ImportPmrPhonebook},
    {"status", "", fields::ImageId::Pmr, pmr::ExportStatusListCsvOfImage, ImportStatusList},
};

struct Parsed {
    std::string direction;  // "export" or "import"
    std::string table;
    std::vector<std::string> files;
    std::string output;
    CsvOptions options;
    bool help = false;
    std::string error;
};

Parsed Parse(const std::vector<std::string>& args) {
    Parsed parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--table" || arg == "-o" || arg == "--country";
        if (valued && i + 1 >= args.size()) {
            parsed.error = arg + " needs a value";
            return parsed;
        }
        if (arg == "--help") {
            parsed.help = true;
        } else if (arg == "--table") {
            parsed.table = args[++i];
        } else if (arg == "-o") {
            parsed.output = args[++i];
        } else if (arg == "--country") {
            const std::string& value = args[++i];
            if (value != "0" && value != "1" && value != "5") {
                parsed.error = "--country takes 0, 1 or 5";
                return parsed;
            }
            parsed.options.countryCode = std::stoi(value);
        } else if (arg.starts_with("-") && arg != "-") {
            parsed.error = "unknown option " + arg;
            return parsed;
        } else if (parsed.direction.empty()) {
            parsed.direction = arg;
        } else {
            parsed.files.push_back(arg);
        }
    }
    return parsed;
}

int Usage(const std::string& error, std::ostream& err) {
    err << "km700rcp-cli: " << error << "\n\n" << kCsvUsageText;
    return kExitUsage;
}

const CsvTable* TableNamed(std::string_view name) {
    for (const CsvTable& table : kCsvTables) {
        if (table.name == name || (!table.alias.empty() && table.alias == name)) {
            return &table;
        }
    }
    return nullptr;
}

bool IsCsvName(const std::string& file) {
    std::string extension = fs::path(file).extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".csv";
}

// The job and the CSV file of an import, in whichever order they were given.
std::pair<std::string, std::string> JobAndCsv(const std::vector<std::string>& files) {
    if (IsCsvName(files[0]) && !IsCsvName(files[1])) {
        return {files[1], files[0]};
    }
    return {files[0], files[1]};
}

std::optional<tables::JobBytes> ReadJob(const std::string& file, const CsvTable& table,
                                        std::ostream& err) {
    auto read = tables::ReadJobBytes(file);
    if (const auto* error = std::get_if<std::string>(&read)) {
        err << "km700rcp-cli: " << *error << "\n";
        return std::nullopt;
    }
    auto job = std::get<tables::JobBytes>(std::move(read));
    if (job.image != table.image) {
        err << "km700rcp-cli: " << file << " holds no " << table.name << " table\n";
        return std::nullopt;
    }
    return job;
}

bool WriteWhole(const std::string& file, std::string_view bytes) {
    return WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

int Export(const Parsed& parsed, const CsvTable& table, std::ostream& out, std::ostream& err) {
    const std::size_t extra = parsed.output.empty() ? 2 : 1;
    if (parsed.files.empty() || parsed.files.size() > extra) {
        return Usage("export takes JOB and at most one CSV file", err);
    }
    const auto job = ReadJob(parsed.files[0], table, err);
    if (!job) {
        return kExitUsage;
    }
    const std::string csvFile = parsed.files.size() == 2 ? parsed.files[1] : parsed.output;
    const std::string text = table.exportCsv(job->bytes);
    if (csvFile.empty()) {
        out << text;
        return kExitDone;
    }
    if (!WriteWhole(csvFile, text)) {
        err << "km700rcp-cli: cannot write " << csvFile << "\n";
        return kExitCannotWrite;
    }
    return kExitDone;
}

int Import(const Parsed& parsed, const CsvTable& table, std::ostream& err) {
    if (parsed.files.size() != 2) {
        return Usage("import takes JOB and the CSV file", err);
    }
    const auto [jobFile, csvFile] = JobAndCsv(parsed.files);
    auto job = ReadJob(jobFile, table, err);
    if (!job) {
        return kExitUsage;
    }
    std::error_code ec;
    const auto size = fs::file_size(csvFile, ec);
    const auto bytes =
        ec || size > kLargestCsvFile ? std::nullopt : ReadFileBytes(csvFile, kLargestCsvFile);
    if (!bytes) {
        err << "km700rcp-cli: cannot read " << csvFile << "\n";
        return kExitFailed;
    }
    const auto result = table.importCsv(
        job->bytes, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
        parsed.options);
    if (const auto* error = std::get_if<std::string>(&result)) {
        err << "km700rcp-cli: " << *error << "\n";
        return kExitFailed;
    }
    const std::string target = parsed.output.empty() ? jobFile : parsed.output;
    if (!WriteFileAtomically(target, job->bytes)) {
        err << "km700rcp-cli: cannot write " << target << "\n";
        return kExitCannotWrite;
    }
    const auto& summary = std::get<csv::ImportSummary>(result);
    for (const std::string& note : summary.notes) {
        err << "km700rcp-cli: " << OneLine(note) << "\n";
    }
    if (summary.skipped > 0) {
        err << "km700rcp-cli: " << summary.skipped << " rows of " << csvFile << " were left out\n";
    }
    return summary.skipped > 0 || !summary.notes.empty() ? kExitFailed : kExitDone;
}

}  // namespace

std::span<const CsvTable> CsvTables() {
    return kCsvTables;
}

bool IsCsvCommand(std::string_view command) {
    return command == "csv";
}

int CsvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Parsed parsed = Parse(args);
    if (parsed.help) {
        out << kCsvUsageText;
        return kExitDone;
    }
    if (!parsed.error.empty()) {
        return Usage(parsed.error, err);
    }
    if (parsed.direction != "export" && parsed.direction != "import") {
        return Usage("csv takes export or import", err);
    }
    const CsvTable* table = TableNamed(parsed.table);
    if (table == nullptr) {
        return Usage(parsed.table.empty() ? "--table is missing" : "no table named " + parsed.table,
                     err);
    }
    return parsed.direction == "export" ? Export(parsed, *table, out, err)
                                        : Import(parsed, *table, err);
}

}  // namespace km::cli
