// Writes a starting corpus for each fuzz target from the files the program ships (templates,
// sample networks, the demo PMR job, the virtual radio's code files and profiles) and from the
// CSV files and clipboard rows the program itself makes of them, each put in the input layout
// its target reads: make_fuzz_seeds <source tree> <output folder> writes
// <output folder>/<target>/<seed>. A fuzzer that starts from real jobs reaches the paths real
// jobs take in its first seconds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/Phonebook.h"
#include "core/Files.h"
#include "image/Images.h"
#include "image/PmrFormat.h"
#include "pmr/ChannelGridEdit.h"
#include "pmr/ChannelTable.h"
#include "pmr/EncodeRows.h"
#include "pmr/PmrCsv.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"
#include "print/Reports.h"
#include "tables/Tables.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class Seeds {
  public:
    explicit Seeds(fs::path out) : out_(std::move(out)) {}

    // One seed: the head bytes of the target's layout, then `body`.
    void Add(std::string_view target, std::string_view name, std::initializer_list<int> head,
             std::span<const std::uint8_t> body) {
        Bytes seed;
        for (int b : head) {
            seed.push_back(static_cast<std::uint8_t>(b));
        }
        seed.insert(seed.end(), body.begin(), body.end());
        const fs::path folder = out_ / target;
        fs::create_directories(folder);
        if (!km::WriteFileAtomically(folder / name, seed)) {
            std::cerr << "make_fuzz_seeds: cannot write " << (folder / name).string() << "\n";
            failed_ = true;
        }
    }
    void Add(std::string_view target, std::string_view name, std::initializer_list<int> head,
             std::string_view body) {
        Add(target, name, head, {reinterpret_cast<const std::uint8_t*>(body.data()), body.size()});
    }
    bool Failed() const { return failed_; }

  private:
    fs::path out_;
    bool failed_ = false;
};

struct Shipped {
    std::string name;
    Bytes bytes;
};

std::vector<Shipped> FilesIn(const fs::path& folder, std::string_view extension) {
    std::vector<Shipped> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) {
            if (auto bytes = km::ReadFileBytes(entry.path(), 1 << 20)) {
                files.push_back({entry.path().filename().string(), std::move(*bytes)});
            }
        }
    }
    return files;
}

std::unique_ptr<km::PmrJobImage> PmrImage(const Bytes& bytes) {
    auto image = std::make_unique<km::PmrJobImage>();
    image->Write(0, {bytes.data(), std::min(bytes.size(), image->Size())});
    return image;
}

// The head bytes of jobfile_fuzz and pmrformat_fuzz that keep a PMR file's own version word.
std::optional<std::pair<int, int>> VersionChoice(const Bytes& pmr) {
    const int version = pmr[km::pmr::kFormatVersion] | pmr[km::pmr::kFormatVersion + 1] << 8;
    if (version >= 198 && version <= 204) {
        return std::pair{version - 198, 0};
    }
    if ((version & 0x80) != 0) {
        return std::pair{version & 0xFF, version >> 8};
    }
    return std::nullopt;
}

void JobSeeds(Seeds& seeds, const std::vector<Shipped>& trunk, const std::vector<Shipped>& pmr,
              const std::vector<Shipped>& networks) {
    const std::size_t tableCount = km::tables::AllTables().size();
    for (const Shipped& job : trunk) {
        for (std::size_t t = 0; t < tableCount; ++t) {
            seeds.Add("fields_fuzz", job.name + "." + std::to_string(t),
                      {0, static_cast<int>(t), 0, 16}, job.bytes);
        }
        seeds.Add("identities_fuzz", job.name + ".1", {0}, job.bytes);
        seeds.Add("identities_fuzz", job.name + ".2", {1}, job.bytes);
        seeds.Add("ui_fuzz", job.name, {0}, job.bytes);
        seeds.Add("reports_fuzz", job.name, {30, 1, 4, 0}, job.bytes);
        seeds.Add("jobfile_fuzz", job.name, {0, 0, 0}, job.bytes);
        const std::string book = km::ExportPhonebookCsv(km::LoadPhonebook(job.bytes));
        seeds.Add("phonebookcsv_fuzz", job.name + ".csv", {}, book);
    }
    for (const Shipped& job : pmr) {
        for (std::size_t t = 0; t < tableCount; ++t) {
            seeds.Add("fields_fuzz", job.name + "." + std::to_string(t),
                      {1, static_cast<int>(t), 0, 16}, job.bytes);
        }
        for (int report = 0; report < 4; ++report) {
            seeds.Add("reports_fuzz", job.name + "." + std::to_string(report), {30, 2, report, 12},
                      job.bytes);
        }
        seeds.Add("pmrtable_fuzz", job.name, {0, 12}, job.bytes);
        seeds.Add("selcall_fuzz", job.name, {}, job.bytes);
        seeds.Add("ui_fuzz", job.name, {1}, job.bytes);
        if (const auto choice = VersionChoice(job.bytes)) {
            // The byte that gives the version's high byte also chooses the file's length, which
            // is the one the version needs when it is a multiple of 4.
            if (choice->second % 4 == 0) {
                seeds.Add("jobfile_fuzz", job.name, {2, choice->second, choice->first}, job.bytes);
            }
            seeds.Add("pmrformat_fuzz", job.name, {choice->first, choice->second, 0}, job.bytes);
        }

        const auto image = PmrImage(job.bytes);
        seeds.Add("pmrcsv_fuzz", job.name + ".channels.csv", {0}, km::pmr::ChannelsCsv(*image));
        seeds.Add("pmrcsv_fuzz", job.name + ".zones.csv", {1}, km::pmr::ZonesCsv(*image));
        seeds.Add("selcallcsv_fuzz", job.name + ".phonebook.csv", {},
                  km::pmr::ExportSelcallPhonebookCsv(km::pmr::LoadSelcallPhonebook(job.bytes)));
        seeds.Add("selcallcsv_fuzz", job.name + ".status.csv", {},
                  km::pmr::ExportStatusListCsv(km::pmr::LoadStatusList(job.bytes)));

        // What Copy puts on the clipboard: channel rows, their CSV lines, encode rows and lines.
        km::pmr::ChannelTable table;
        km::pmr::LoadChannelTable(*image, table);
        std::vector<km::pmr::ChannelEntry> entries;
        for (std::size_t i = 0; i < table.Size() && i < 20; ++i) {
            entries.push_back(table.At(i));
        }
        seeds.Add("clipboard_fuzz", job.name + ".channels", {0}, km::pmr::ExactBytesOf(entries));
        seeds.Add("clipboard_fuzz", job.name + ".channels.csv", {1}, km::pmr::ChannelsCsv(*image));
        const auto encodes = km::pmr::LoadEncodes(*image);
        seeds.Add("clipboard_fuzz", job.name + ".encodes", {2},
                  km::pmr::ExactBytesOfEncodes(encodes));
        std::string lines;
        for (const auto& encode : encodes) {
            lines += km::pmr::EncodeCsvRow(encode) + "\r\n";
        }
        seeds.Add("clipboard_fuzz", job.name + ".encodes.csv", {3}, lines);
    }
    for (const Shipped& file : networks) {
        for (std::size_t t = 0; t < tableCount; ++t) {
            seeds.Add("fields_fuzz", file.name + "." + std::to_string(t),
                      {2, static_cast<int>(t), 0, 16}, file.bytes);
        }
        seeds.Add("jobfile_fuzz", file.name, {1, 0, 0}, file.bytes);
        const auto& b = file.bytes;
        const auto band = std::span(b).subspan(km::network::kBandCode, 2);
        const auto scheme = std::span(b).subspan(km::network::kNumberingScheme, 2);
        for (int answer = 0; answer < 2; ++answer) {
            seeds.Add("network_fuzz", file.name + "." + std::to_string(answer),
                      {answer, band[0], band[1], scheme[0], scheme[1]},
                      std::span(b).subspan(km::network::kAnnPrefixTable));
        }
        std::string body = "450.0125|";
        body.append(b.begin(), b.end());
        seeds.Add("networkmaps_fuzz", file.name, {1}, body);
    }
}

void RadioSeeds(Seeds& seeds, const fs::path& simData, const fs::path& profiles) {
    for (const Shipped& code : FilesIn(simData / "Radio_SW", ".bin")) {
        seeds.Add("codefile_fuzz", code.name, {}, code.bytes);
    }
    for (const Shipped& profile : FilesIn(profiles, ".profile")) {
        seeds.Add("sim_fuzz", profile.name, {2}, profile.bytes);
    }
    // Each radio and operation of program_fuzz, with the radio's memory as it was built, whole,
    // with the radio silent after 2 s of line time and with its adapter pulled after 5 s.
    for (int choice = 0; choice < 9; ++choice) {
        for (const auto& [loss, cut] : {std::pair{0, 255}, std::pair{0, 50}, std::pair{9, 125}}) {
            seeds.Add("program_fuzz",
                      "operation" + std::to_string(choice + loss) + ".cut" + std::to_string(cut),
                      {choice + loss, cut}, Bytes{});
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_fuzz_seeds SOURCE_TREE OUTPUT_FOLDER\n";
        return 2;
    }
    const fs::path source = argv[1];
    Seeds seeds(argv[2]);
    try {
        const auto templates = FilesIn(source / "data", ".tct");
        auto pmr = FilesIn(source / "data", ".cct");
        for (Shipped& job : FilesIn(source / "sim" / "data", ".pmr")) {
            pmr.push_back(std::move(job));
        }
        JobSeeds(seeds, templates, pmr, FilesIn(source / "data" / "Networks", ".nwk"));
        RadioSeeds(seeds, source / "sim" / "data", source / "sim" / "profiles");
    } catch (const std::exception& e) {
        std::cerr << "make_fuzz_seeds: " << e.what() << "\n";
        return 1;
    }
    return seeds.Failed() ? 1 : 0;
}
