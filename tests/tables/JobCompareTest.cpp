// File > Compare with...: fields named by the entry that holds them, PMR channels matched by
// their number, and the values the program computes kept apart.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Files.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelRows.h"
#include "tables/JobCompare.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

namespace cr = pmr::channel_rows;
using fields::ImageId;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

std::vector<std::uint8_t> Template(const char* name, std::size_t size) {
    auto bytes = ReadFileBytes(kData / name, size);
    EXPECT_TRUE(bytes && bytes->size() == size) << name;
    return bytes ? *bytes : std::vector<std::uint8_t>(size, 0);
}

struct Channel {
    int number;
    const char* name;
    std::int64_t rx;  // 10 Hz units
};

// A PMR job whose channel table holds `channels` in this order.
std::vector<std::uint8_t> PmrJob(const std::vector<Channel>& channels) {
    auto bytes = Template("default.cct", 75948);
    fields::WriteField(pmr::pmr_rows::kChannelCountRow, bytes, 110,
                       static_cast<std::int64_t>(channels.size()));
    for (std::size_t r = 0; r < channels.size(); ++r) {
        const std::size_t record = 0x3D2C + 32 * r;
        auto put = [&](const fields::FieldRow& row, fields::FieldValue value) {
            fields::WriteField(row, bytes, record + static_cast<std::size_t>(row.at.pmr), value);
        };
        put(cr::kNumber, std::int64_t{channels[r].number});
        put(cr::kName, std::string(channels[r].name));
        put(cr::kRx, channels[r].rx);
        put(cr::kTx, channels[r].rx);
        put(cr::kIsGroup, std::int64_t{0});
        // The links the store pass gives every entry: the previous and next in the table.
        put(cr::kPrevLink, static_cast<std::int64_t>(r == 0 ? 0x7FF : r - 1));
        put(cr::kNextLink, static_cast<std::int64_t>(r + 1 == channels.size() ? 0x7FF : r + 1));
    }
    return bytes;
}

std::vector<std::string> Lines(const JobComparison& comparison, bool derived) {
    std::vector<std::string> lines;
    for (const ComparedField& field : comparison.fields) {
        if (field.derived == derived) {
            lines.push_back(field.form + " | " + field.entry + " | " + field.caption + " | " +
                            field.before + " | " + field.after);
        }
    }
    return lines;
}

TEST(JobCompareTest, ChannelsAreMatchedByNumberAndNamedByNumberAndName) {
    const auto a = PmrJob({{1, "DEPOT", 45001250}, {2, "YARD", 45002500}, {3, "CITY", 45003750}});
    // A channel inserted before YARD, YARD renamed, CITY moved to another frequency.
    const auto b = PmrJob({{1, "DEPOT", 45001250},
                           {5, "NEW", 45006250},
                           {2, "YARD2", 45002500},
                           {3, "CITY", 45005000}});
    const JobComparison comparison = CompareJobs(ImageId::Pmr, a, b);
    const std::vector<std::string> typed = Lines(comparison, false);
    EXPECT_EQ(typed, (std::vector<std::string>{
                         "Channel Options | Channel 002 YARD | Name | YARD | YARD2",
                         "Channel Options | Channel 003 CITY | Tx Frequency | 450.03750 | "
                         "450.05000",
                         "Channel Options | Channel 003 CITY | Rx Frequency | 450.03750 | "
                         "450.05000",
                         "Channel Options | Channel 005 NEW | Entry | absent | present"}));
    // The count and the links changed as well: computed by the program, kept apart.
    const std::vector<std::string> computed = Lines(comparison, true);
    EXPECT_NE(std::find(computed.begin(), computed.end(),
                        "Channel Options |  | Channel table entries | 3 | 4"),
              computed.end());
    EXPECT_TRUE(std::any_of(computed.begin(), computed.end(), [](const std::string& line) {
        return line.find("Channel 002 YARD | Previous visible entry") != std::string::npos;
    }));
    EXPECT_TRUE(CompareJobs(ImageId::Pmr, a, a).Empty());
}

TEST(JobCompareTest, ADeletedChannelIsOneEntryAndLeftoversBeyondTheCountAreIgnored) {
    const auto a = PmrJob({{1, "DEPOT", 45001250}, {2, "YARD", 45002500}, {3, "CITY", 45003750}});
    auto b = PmrJob({{1, "DEPOT", 45001250}, {3, "CITY", 45003750}});
    // The record the deleted channel left behind beyond the count differs from a's third record.
    b[0x3D2C + 2 * 32 + 12] = 'Z';
    const std::vector<std::string> typed = Lines(CompareJobs(ImageId::Pmr, a, b), false);
    EXPECT_EQ(typed, (std::vector<std::string>{
                         "Channel Options | Channel 002 YARD | Entry | present | absent"}));
}

// A channel code kept in its short form (as an older job holds it) reads as the same code, yet the
// files differ: the comparison shows the channel with both stored forms, not "the same values".
TEST(JobCompareTest, OneValueInTwoStoredFormsIsADifference) {
    const auto standard = PmrJob({{1, "DEPOT", 45001250}, {2, "YARD", 45002500}});
    auto older = standard;
    const std::size_t rxCode = 0x3D2C + 32 + 9;  // the second channel's Rx code byte
    older[rxCode] = 0x34;
    auto written = standard;
    written[rxCode] = 0x81;
    const std::vector<std::string> typed = Lines(CompareJobs(ImageId::Pmr, older, written), false);
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_TRUE(typed[0].starts_with("Channel Options | Channel 002 YARD | ")) << typed[0];
    EXPECT_NE(typed[0].find("DCS 023 (stored 34) | DCS 023 (stored 81)"), std::string::npos)
        << typed[0];
}

// Records of other tables are named by their number and zones by their name; a trunk job's
// per-network forms say which network.
TEST(JobCompareTest, EntriesAreNamedAsTheUserKnowsThem) {
    struct Case {
        ImageId image;
        const char* templ;
        std::size_t size;
        const char* recordsId;
        std::size_t record;
        int selector;
        const char* entry;
        const char* formEnd;
    };
    for (const Case& c : {
             Case{ImageId::Trunk, "default.tct", 16384, "identities.phonebook.names", 4, 0,
                  "Phone book entry 5", "Identities"},
             Case{ImageId::Pmr, "default.cct", 75948, "selcall.phonebook", 0, 0,
                  "Phone book entry 1", "Selcall"},
             Case{ImageId::Trunk, "default.tct", 16384, "identities.groups", 2, 1, "Group 3",
                  ", Network 2"},
         }) {
        const auto a = Template(c.templ, c.size);
        auto b = a;
        bool changed = false;
        for (const fields::FieldTable* table : AllTables()) {
            for (const fields::RecordTable& records : table->records) {
                if (records.id != c.recordsId || changed) {
                    continue;
                }
                // A name where the entry has one (a digit string may end before a byte).
                const auto text = std::find_if(
                    records.columns.begin(), records.columns.end(),
                    [](const auto& column) { return column.encoding == fields::Encoding::Text; });
                const fields::FieldRow& column =
                    text != records.columns.end() ? *text : records.columns.front();
                if (const auto at =
                        RecordOffset(*table, records, column, c.record, c.image, c.selector)) {
                    b[*at] = b[*at] == 'Q' ? 'R' : 'Q';
                    changed = true;
                }
            }
        }
        ASSERT_TRUE(changed) << c.recordsId;
        const JobComparison comparison = CompareJobs(c.image, a, b);
        ASSERT_FALSE(comparison.fields.empty()) << c.recordsId;
        EXPECT_EQ(comparison.fields.front().entry, c.entry);
        EXPECT_TRUE(comparison.fields.front().form.ends_with(c.formEnd))
            << comparison.fields.front().form;
    }
}

TEST(JobCompareTest, ZonesAreNamedByTheirName) {
    auto a = PmrJob({{1, "DEPOT", 45001250}});
    const std::size_t zone = pmr::pmr_rows::ZoneStart(1);
    fields::WriteField(pmr::pmr_rows::kZoneCountRow, a, 122, std::int64_t{2});
    fields::WriteField(pmr::zone_rows::kName, a, zone, std::string("HARBOUR"));
    fields::WriteField(pmr::pmr_rows::EntriesUsedRow(1), a, zone + 13, std::int64_t{1});
    auto b = a;
    fields::WriteField(pmr::zone_rows::kEntryChannel, b, zone + 32, std::int64_t{1});
    const std::vector<std::string> typed = Lines(CompareJobs(ImageId::Pmr, a, b), false);
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_TRUE(typed[0].starts_with("Channel Options | Zone HARBOUR entry 1 | Channel | "))
        << typed[0];
}

}  // namespace
}  // namespace km::tables
