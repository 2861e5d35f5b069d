#include "pmr/PmrCsv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "core/Csv.h"
#include "core/Person.h"
#include "core/Strings.h"
#include "pmr/CtcssDcs.h"
#include "pmr/Frequency.h"
#include "pmr/GroupEdit.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;

constexpr std::string_view kChannelKind = "Chan";
constexpr std::string_view kGroupKind = "Group";
constexpr std::array<std::string_view, 4> kGroupTypeTexts = {"USRSCANGRP", "SCANGRP", "VOTEGRP",
                                                             "MUXGRP"};
constexpr std::array<std::string_view, 3> kPowerTexts = {"Low", "Med", "Hi"};
constexpr std::array<std::string_view, 4> kBandwidthTexts = {"10.0", "12.5", "20.0", "25.0"};
// A tone below 10 Hz or above 9999 Hz is none.
constexpr std::int64_t kLowestToneMillionths = 10000000;
constexpr std::int64_t kHighestToneMillionths = 9999000000;

// ---- Writing ----

// A row of fields, each followed by a comma.
class Row {
  public:
    Row& Add(std::string_view field) {
        text_ += field;
        text_ += ',';
        return *this;
    }
    Row& Add(std::int64_t number) { return Add(std::to_string(number)); }
    Row& YesNo(bool on) { return Add(on ? "Y" : "N"); }
    // A name without commas.
    Row& Name(const std::string& utf8) { return Add(csv::FieldText(utf8)); }
    std::string Line() const { return text_ + std::string(csv::kLineEnd); }

  private:
    std::string text_;
};

std::string MemberText(std::uint16_t number) {
    return number == kNoMember ? std::string() : std::to_string(number);
}

std::string ChannelLine(const ChannelEntry& entry) {
    const auto code = [&](const fields::FieldRow& column) {
        return static_cast<std::uint8_t>(entry.Get(column));
    };
    Row row;
    row.Add(entry.Number()).Name(entry.Name()).Add(kChannelKind);
    row.Add(FormatMegahertz(entry.rxHz)).Add(FormatMegahertz(entry.txHz));
    row.Add(kPowerTexts[static_cast<std::size_t>(PowerOf(entry))]);
    row.YesNo(entry.Flag(cr::kHidden)).YesNo(entry.Flag(cr::kCommunityRepeater));
    row.Add(kBandwidthTexts[static_cast<std::size_t>(BandwidthOf(entry))]);
    const bool dcs = IsDcsCodeByte(code(cr::kRxCode)) || IsDcsCodeByte(code(cr::kTxCode));
    row.Add(dcs ? "DCS" : "CTCSS");
    row.Add(ShortTextOfCodeByte(code(cr::kRxCode))).Add(ShortTextOfCodeByte(code(cr::kTxCode)));
    for (const fields::FieldRow* flag :
         {&cr::kSelectableCtcss, &cr::kRxNormalDcs, &cr::kRxInvertedDcs, &cr::kTxInvertedDcs,
          &cr::kSelcall, &cr::kOpenSelcall, &cr::kRxLockout, &cr::kTxLockout}) {
        row.YesNo(entry.Flag(*flag));
    }
    row.Add(entry.Get(cr::kEncode));
    for (const fields::FieldRow* decode : cr::kDecodes) {
        row.Add(entry.Flag(*decode) ? "1" : "0");
    }
    row.YesNo(entry.Flag(cr::kEconomiser)).YesNo(entry.Flag(cr::kOverrideXtal));
    row.Add(entry.Get(cr::kPttOffEncode)).YesNo(entry.Flag(cr::kNoFfskAni));
    return row.Line();
}

std::string GroupLine(const ChannelEntry& entry) {
    const GroupType type = GroupTypeOf(entry);
    const bool scan = MemberCapacity(type) == kScanGroupMembers;
    Row row;
    row.Add(entry.Number()).Name(entry.Name()).Add(kGroupKind);
    row.Add(kGroupTypeTexts[static_cast<std::size_t>(type)]).YesNo(entry.Flag(cr::kSelcall));
    row.Add(scan ? MemberText(entry.scanPriority) : std::string());
    row.YesNo(entry.Flag(cr::kShowAsChannel));
    for (int m = 0; m < kGroupMembers; ++m) {
        row.Add(m < MemberCapacity(type) ? MemberText(entry.members[static_cast<std::size_t>(m)])
                                         : std::string());
    }
    return row.Line();
}

std::string FirstLines(std::string_view table, std::string_view header) {
    return std::string(kCsvKind) + "," + std::string(table) + std::string(csv::kLineEnd) +
           std::string(header) + std::string(csv::kLineEnd);
}

// ---- Reading ----

// A whole number of at most `digits` digits (blanks around it allowed), or -1.
int WholeNumber(std::string_view text, std::size_t digits = 3) {
    text = Trim(text, " ");
    if (text.empty() || text.size() > digits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    int value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The fields of a row, any missing one empty.
class RowFields {
  public:
    explicit RowFields(std::string_view line) : fields_(csv::Fields(line)) {}
    const std::string& operator[](std::size_t i) const {
        static const std::string kEmpty;
        return i < fields_.size() ? fields_[i] : kEmpty;
    }
    // Any text but "N" sets a flag.
    bool Flag(std::size_t i) const { return (*this)[i] != "N"; }

  private:
    std::vector<std::string> fields_;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

Power PowerOfText(std::string_view text) {
    if (text == "Hi") {
        return Power::High;
    }
    return text == "Med" ? Power::Medium : Power::Low;
}

Bandwidth BandwidthOfText(std::string_view text) {
    if (text == "10.0" || text == "10") {
        return Bandwidth::k10;
    }
    if (text == "20.0" || text == "20") {
        return Bandwidth::k20;
    }
    if (text == "25.0" || text == "25") {
        return Bandwidth::k25;
    }
    return Bandwidth::k12_5;
}

std::uint8_t ToneOfText(std::string_view text) {
    const auto millionths = ParseMillionths(text);
    if (!millionths || *millionths < kLowestToneMillionths ||
        *millionths > kHighestToneMillionths) {
        return 0;
    }
    constexpr std::int64_t kMillionthsPerTenth = 100000;
    const auto tenths =
        static_cast<int>((*millionths + kMillionthsPerTenth / 2) / kMillionthsPerTenth);
    return ToneCodeByte(tenths).value_or(0);
}

std::uint8_t CodeOfText(std::string_view text, bool ctcss) {
    return ctcss ? ToneOfText(text) : DcsCodeByte(Trim(text, " ")).value_or(0);
}

int EncodeOfText(std::string_view text) {
    const int value = WholeNumber(text);
    return value >= 0 && value <= kMaxEncode ? value : 0;
}

ChannelEntry ChannelOfRow(const RowFields& f, int number) {
    ChannelEntry entry;
    entry.SetNumber(number);
    entry.SetName(f[1]);
    entry.rxHz = ParseMegahertz(f[3]).value_or(0);
    entry.txHz = ParseMegahertz(f[4]).value_or(0);
    SetPower(entry, PowerOfText(f[5]));
    entry.SetFlag(cr::kHidden, f.Flag(6));
    entry.SetFlag(cr::kCommunityRepeater, f.Flag(7));
    SetBandwidth(entry, BandwidthOfText(f[8]));
    const bool ctcss = f[9] == "CTCSS";
    entry.Set(cr::kRxCode, CodeOfText(f[10], ctcss));
    entry.Set(cr::kTxCode, CodeOfText(f[11], ctcss));
    std::size_t i = 12;
    for (const fields::FieldRow* flag :
         {&cr::kSelectableCtcss, &cr::kRxNormalDcs, &cr::kRxInvertedDcs, &cr::kTxInvertedDcs,
          &cr::kSelcall, &cr::kOpenSelcall, &cr::kRxLockout, &cr::kTxLockout}) {
        entry.SetFlag(*flag, f.Flag(i++));
    }
    entry.Set(cr::kEncode, EncodeOfText(f[i++]));
    for (const fields::FieldRow* decode : cr::kDecodes) {
        entry.SetFlag(*decode, f[i++] != "0");
    }
    entry.SetFlag(cr::kEconomiser, f.Flag(i++));
    entry.SetFlag(cr::kOverrideXtal, f.Flag(i++));
    entry.Set(cr::kPttOffEncode, EncodeOfText(f[i++]));
    entry.SetFlag(cr::kNoFfskAni, f.Flag(i));
    return entry;
}

std::string MemberOfText(std::string_view text) {
    const int value = WholeNumber(text);
    return value >= 0 ? std::to_string(value) : std::string();
}

ChannelEntry GroupOfRow(const RowFields& f, int number, int radioTypeMask) {
    GroupEditFields fields;
    fields.number = std::to_string(number);
    fields.name = f[1];
    const auto* type = std::find(kGroupTypeTexts.begin(), kGroupTypeTexts.end(), f[3]);
    fields.type = type == kGroupTypeTexts.end()
                      ? GroupType::UserScan
                      : static_cast<GroupType>(type - kGroupTypeTexts.begin());
    fields.selcallScan = f.Flag(4);
    fields.priority = MemberOfText(f[5]);
    // Files written without the "shown as a channel" column have their members from field 7.
    const bool shownColumn = f[6] == "Y" || f[6] == "N";
    fields.showAsChannel = shownColumn && f[6] == "Y";
    const std::size_t first = shownColumn ? 7 : 6;
    for (std::size_t m = 0; m < fields.members.size(); ++m) {
        fields.members[m] = MemberOfText(f[first + m]);
    }
    GroupTypeChosen(fields, radioTypeMask);
    ChannelEntry entry = ReadBackGroup(fields, radioTypeMask);
    // Members keep their places: a file of a job read from a radio may have gaps.
    for (int m = 0; m < kGroupMembers; ++m) {
        const int member = m < MemberCapacity(fields.type)
                               ? WholeNumber(f[first + static_cast<std::size_t>(m)])
                               : -1;
        entry.members[static_cast<std::size_t>(m)] =
            member >= 0 ? static_cast<std::uint16_t>(member) : kNoMember;
    }
    return entry;
}

std::unique_ptr<PmrJobImage> ImageOf(std::span<const std::uint8_t> job) {
    auto image = std::make_unique<PmrJobImage>();
    image->Write(0, job.first(std::min(job.size(), PmrJobImage::kSize)));
    return image;
}

void CopyBack(const PmrJobImage& image, std::span<std::uint8_t> job) {
    std::copy_n(image.Bytes().begin(), std::min(job.size(), PmrJobImage::kSize), job.begin());
}

int RadioTypeMaskOf(const PmrJobImage& image) {
    const int row = LoadPmrHeader(image).radioTypeRow;
    return row >= 0 && row < kRadioTypeRowCount
               ? kRadioTypeRows[static_cast<std::size_t>(row)].RadioTypeMask
               : 0;
}

// The store's messages, kept for the summary of an import without a desktop.
class NotingPerson : public Person {
  public:
    explicit NotingPerson(std::vector<std::string>& notes) : notes_(notes) {}
    Answer Show(BoxKind, std::string_view text, Buttons buttons) override {
        notes_.emplace_back(text);
        return buttons == Buttons::Cancel ? Answer::Cancel : Answer::Ok;
    }
    void Beep() override {}

  private:
    std::vector<std::string>& notes_;
};

}  // namespace

std::string ChannelCsvRow(const ChannelEntry& entry) {
    std::string line = entry.IsGroup() ? GroupLine(entry) : ChannelLine(entry);
    line.resize(line.size() - csv::kLineEnd.size());
    return line;
}

std::optional<ChannelEntry> ChannelOfCsvRow(std::string_view line, int radioTypeMask) {
    const RowFields f(line);
    const int number = WholeNumber(f[0], 4);
    if (number < 0) {
        return std::nullopt;
    }
    return Upper(f[2]) == Upper(std::string(kGroupKind)) ? GroupOfRow(f, number, radioTypeMask)
                                                         : ChannelOfRow(f, number);
}

std::string ChannelsCsv(const PmrJobImage& image) {
    ChannelTable table;
    LoadChannelTable(image, table);
    std::string file = FirstLines(kChannelsTable, kChannelsHeader);
    for (const ChannelEntry& entry : table.Entries()) {
        file += ChannelCsvRow(entry) + std::string(csv::kLineEnd);
    }
    return csv::FileOfText(file);
}

ChannelsImport ReadChannelsCsv(std::string_view file, int radioTypeMask) {
    ChannelsImport import;
    const std::vector<std::string> lines = csv::Lines(csv::TextOfFile(file));
    if (lines.empty() || !csv::HeaderIs(lines[0], kCsvKind, kChannelsTable)) {
        return import;
    }
    import.valid = true;
    for (std::size_t l = 2; l < lines.size(); ++l) {
        if (lines[l].empty()) {
            continue;
        }
        const auto entry = ChannelOfCsvRow(lines[l], radioTypeMask);
        if (!entry || !import.table.Add(*entry)) {
            ++import.skipped;
        }
    }
    return import;
}

std::string SkippedRowsText(int skipped) {
    return std::to_string(skipped) +
           " rows of the file were not imported:\n"
           "their channel numbers are missing, outside 0..999 or repeated,\n"
           "or the table already holds 1000 channels and groups.";
}

std::string ZonesCsv(const PmrJobImage& image) {
    std::string header = "ZoneName,";
    for (int p = 1; p <= kZonePositions; ++p) {
        header += std::to_string(p) + ",";
    }
    std::string file = FirstLines(kZonesTable, header);
    for (int z = 0; z < ZoneCountOf(image); ++z) {
        std::array<std::string, kZonePositions> positions;
        positions.fill(" ");
        // The first 254 entries; of two naming one row the later counts.
        for (int e = 0; e < kZonePositions; ++e) {
            const ZoneEntry entry = ReadZoneEntry(image, z, e);
            if (entry.Used() && entry.row < kZonePositions) {
                positions[static_cast<std::size_t>(entry.row)] =
                    entry.channel <= kHighestNumber ? std::to_string(entry.channel) : " ";
            }
        }
        Row row;
        row.Name(ZoneName(image, z));
        for (const std::string& position : positions) {
            row.Add(position);
        }
        file += row.Line();
    }
    return csv::FileOfText(file);
}

ZonesImport ReadZonesCsv(std::string_view file) {
    ZonesImport import;
    const std::vector<std::string> lines = csv::Lines(csv::TextOfFile(file));
    if (lines.empty() || !csv::HeaderIs(lines[0], kCsvKind, kZonesTable)) {
        return import;
    }
    import.valid = true;
    for (std::size_t l = 2; l < lines.size() && import.zones.size() < kZones; ++l) {
        const RowFields f(lines[l]);
        ImportedZone zone;
        zone.name = f[0];
        for (int p = 1; p <= kZonePositions; ++p) {
            // A position whose number is no channel number stays empty.
            const int channel = WholeNumber(f[static_cast<std::size_t>(p)]);
            if (channel >= 0 && channel <= kHighestNumber) {
                zone.entries.push_back({channel, 0, p - 1});
            }
        }
        import.zones.push_back(std::move(zone));
    }
    return import;
}

void ApplyZonesImport(const ZonesImport& import, PmrJobImage& image, ZoneGrids& grids) {
    grids.names.fill({});
    for (int z = 0; z < kZones; ++z) {
        const ImportedZone* zone = z < static_cast<int>(import.zones.size())
                                       ? &import.zones[static_cast<std::size_t>(z)]
                                       : nullptr;
        grids.names[static_cast<std::size_t>(z)] = zone ? zone->name : std::string();
        for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
            const bool used = zone && e < static_cast<int>(zone->entries.size());
            WriteZoneEntry(image, z, e,
                           used ? zone->entries[static_cast<std::size_t>(e)] : ZoneEntry{});
        }
    }
    grids.channels.fill({});
    if (!import.zones.empty()) {
        for (const ZoneEntry& entry : import.zones.front().entries) {
            grids.channels[static_cast<std::size_t>(entry.row)] = std::to_string(entry.channel);
        }
    }
    grids.currentZone = 0;
}

std::string ExportChannelsCsvOfImage(std::span<const std::uint8_t> job) {
    return ChannelsCsv(*ImageOf(job));
}

std::variant<csv::ImportSummary, std::string> ImportChannelsCsvIntoImage(
    std::span<std::uint8_t> job, std::string_view file, int countryCode) {
    const auto image = ImageOf(job);
    const int radioTypeMask = RadioTypeMaskOf(*image);
    const ChannelsImport import = ReadChannelsCsv(file, radioTypeMask);
    if (!import.valid) {
        return std::string(kNotAChannelTableText);
    }
    csv::ImportSummary summary{import.table.Size(), static_cast<std::size_t>(import.skipped), {}};
    NotingPerson person(summary.notes);
    StoreChannelTable(import.table, StoreSettingsOf(*image, radioTypeMask, countryCode), *image,
                      person);
    CopyBack(*image, job);
    return summary;
}

std::string ExportZonesCsvOfImage(std::span<const std::uint8_t> job) {
    return ZonesCsv(*ImageOf(job));
}

std::variant<csv::ImportSummary, std::string> ImportZonesCsvIntoImage(std::span<std::uint8_t> job,
                                                                      std::string_view file) {
    const ZonesImport import = ReadZonesCsv(file);
    if (!import.valid) {
        return std::string(kNotAZoneTableText);
    }
    const auto image = ImageOf(job);
    ZoneGrids grids;
    LoadZones(*image, grids);
    ApplyZonesImport(import, *image, grids);
    StoreZones(grids, ZoneSwitchesOf(*image), *image);
    CopyBack(*image, job);
    return csv::ImportSummary{import.zones.size(), 0};
}

}  // namespace km::pmr
