// The channel table as a sheet: cells edited with the Channel Editor's rules, refusals that leave
// the table alone, fill down, fill series within the band and on the raster, Insert Channels.

#include <gtest/gtest.h>

#include "ScriptedPerson.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelEdit.h"
#include "pmr/ChannelGridEdit.h"
#include "pmr/ChannelSheet.h"
#include "pmr/PmrCsv.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using SC = SheetColumn;

constexpr std::uint16_t kUw = 0x5557;  // 440..500 MHz

SheetContext Context(int country = 0, int mask = 512) {
    return {.band = *LimitsOfBand(kUw, country), .countryCode = country, .radioTypeMask = mask};
}

ChannelEntry Channel(int number, std::int64_t hz, std::string_view name = "") {
    ChannelEntry entry = DefaultEntry(hz);
    entry.SetNumber(number);
    entry.SetName(name);
    return entry;
}

// Channels 1..n at 450 MHz and up by 25 kHz.
ChannelTable Table(int n) {
    ChannelTable table;
    for (int i = 1; i <= n; ++i) {
        table.Add(Channel(i, 450000000 + 25000 * (i - 1), "Ch"));
    }
    return table;
}

std::vector<std::size_t> Rows(std::size_t first, std::size_t count) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < count; ++i) {
        rows.push_back(first + i);
    }
    return rows;
}

bool SameTable(const ChannelTable& a, const ChannelTable& b) {
    return CsvRowsOf(a.Entries()) == CsvRowsOf(b.Entries()) &&
           ExactBytesOf(a.Entries()) == ExactBytesOf(b.Entries());
}

TEST(ChannelSheetTest, TheColumnsAreTheFieldsOfTheChannelCsvRow) {
    std::vector<std::string> header = csv::Fields(kChannelsHeader);
    ASSERT_EQ(header.size(), static_cast<std::size_t>(kSheetColumnCount));
    for (int c = 0; c < kSheetColumnCount; ++c) {
        std::string title = header[static_cast<std::size_t>(c)];
        title.erase(0, title.find_first_not_of(' '));
        EXPECT_EQ(ColumnInfo(SheetColumnAt(c)).title, title) << c;
    }
}

TEST(ChannelSheetTest, ACellShowsWhatTheCsvRowWritesAndAGroupShowsOnlyItsOwnCells) {
    ChannelEntry channel = Channel(7, 450012500, "Base");
    channel.Set(cr::kRxCode, *ToneCodeByte(670));
    SetPower(channel, Power::High);
    const std::string row = ChannelCsvRow(channel);
    const std::vector<std::string> fields = csv::Fields(row);
    for (int c = 0; c < kSheetColumnCount; ++c) {
        EXPECT_EQ(CellText(channel, SheetColumnAt(c)), fields[static_cast<std::size_t>(c)]) << c;
    }
    channel.txHz = 0;
    EXPECT_EQ(CellText(channel, SC::Tx), "") << "transmit disabled";

    ChannelEntry group = Channel(20, 0, "Scan");
    group.SetFlag(cr::kIsGroup, true);
    EXPECT_EQ(CellText(group, SC::Kind), "Group");
    EXPECT_EQ(CellText(group, SC::Rx), "");
    EXPECT_EQ(CellText(group, SC::Power), "");
    EXPECT_TRUE(CellEditable(group, SC::Name, Context()));
    EXPECT_FALSE(CellEditable(group, SC::Rx, Context()));
    EXPECT_FALSE(CellEditable(channel, SC::CodeKind, Context()));
    EXPECT_FALSE(CellEditable(channel, SC::Economiser, Context(0, 16))) << "a mobile";
    EXPECT_TRUE(CellEditable(channel, SC::Economiser, Context(0, 512))) << "a portable";
    EXPECT_FALSE(CellEditable(channel, SC::OverrideXtal, Context()));
    SheetContext zones = Context();
    zones.zoneMode = true;
    EXPECT_FALSE(CellEditable(channel, SC::Hidden, zones));
}

TEST(ChannelSheetTest, CellsTakeTheirValuesAsTypedInACell) {
    struct Case {
        SC column;
        std::string typed;
        std::string shown;
    };
    const Case cases[] = {
        {SC::Rx, "450.0125", "450.01250"},
        {SC::Rx, "450,025", "450.02500"},
        {SC::Tx, "", ""},
        {SC::Tx, "451", "451.00000"},
        {SC::Power, "h", "Hi"},
        {SC::Power, "Medium", "Med"},
        {SC::Power, "", "Low"},
        {SC::Bandwidth, "25", "25.0"},
        {SC::Bandwidth, "10  kHz", "10.0"},
        {SC::RxCode, "67", " 67.0"},
        {SC::RxCode, "DCS 023", "023"},
        {SC::RxCode, "", ""},
        {SC::TxCode, "254.1", "254.1"},
        {SC::Hidden, "y", "Y"},
        {SC::Decode3, "N", "0"},
        {SC::Decode3, "1", "1"},
        {SC::Encode, "12", "12"},
        {SC::Encode, "", "0"},
        {SC::PttOffEncode, "007", "7"},
        {SC::Number, "42", "42"},
        {SC::Name, "Depot", "Depot"},
        {SC::TxLockout, "yes", "Y"},
    };
    for (const Case& c : cases) {
        ChannelTable table = Table(3);
        const SheetResult result = SetCell(table, 1, c.column, c.typed, Context());
        ASSERT_FALSE(result.refusal) << c.typed << ": " << *result.refusal;
        ASSERT_EQ(result.positions.size(), 1u);
        EXPECT_EQ(CellText(table.At(result.positions[0]), c.column), c.shown) << c.typed;
    }
}

TEST(ChannelSheetTest, ARefusedValueLeavesTheTableAsItWasAndSaysWhy) {
    ChannelTable grouped = Table(3);
    ChannelEntry group = Channel(10, 0, "Scan");
    group.SetFlag(cr::kIsGroup, true);
    group.members[0] = 2;
    grouped.Add(group);
    struct Case {
        SC column;
        std::string typed;
        std::string why;
        int country = 0;
    };
    const Case cases[] = {
        {SC::Rx, "450.0013", std::string(fields::kNotOnRasterMessage)},
        {SC::Rx, "", "Undefined Rx/Tx Frequency\nMust be between 440MHz and 500MHz"},
        {SC::Rx, "abc", "'abc' is not a value of the column \"Rx Freq\"."},
        {SC::Number, "3", std::string(kDuplicateNumberText)},
        {SC::Number, "", std::string(kNoNumberText)},
        {SC::Number, "1000", "Value out of range.  Must be between 0 and 999"},
        {SC::Name, "Thirteen Char", std::string(kNameTooLongText)},
        {SC::Power, "x", "'x' is not a value of the column \"Tx Power\"."},
        {SC::Encode, "251", "Value out of range.  Must be between 0 and 250"},
        {SC::SelectableCtcss, "Y", std::string(kSelectableWithoutToneText)},
        {SC::Number, "5", std::string(kRenumberUsedInGroupText)},
        // An Australian CB channel keeps low power.
        {SC::Power, "Med", std::string(kCbMediumPowerText), 1},
    };
    for (const Case& c : cases) {
        ChannelTable table = grouped;
        const std::size_t row = 1;  // channel 2, a member of the group
        if (c.country == 1) {
            ChannelEntry cb = table.At(row);
            cb.rxHz = cb.txHz = 476450000;
            table.Replace(row, cb);
        }
        const ChannelTable before = table;
        const SheetResult result = SetCell(table, row, c.column, c.typed, Context(c.country));
        ASSERT_TRUE(result.refusal) << c.typed;
        EXPECT_EQ(*result.refusal, c.why) << c.typed;
        EXPECT_FALSE(result.changed);
        EXPECT_TRUE(SameTable(table, before)) << c.typed;
    }
}

TEST(ChannelSheetTest, AValueTheEditorTakesWithAWarningIsTakenAndTheWarningKept) {
    ChannelTable table = Table(2);
    const SheetResult result = SetCell(table, 0, SC::Rx, "505", Context());
    ASSERT_FALSE(result.refusal);
    EXPECT_EQ(table.At(0).rxHz, 505000000);
    ASSERT_FALSE(result.notes.empty());
    EXPECT_NE(result.notes.front().find("Frequency 505MHz is out of band."), std::string::npos);
}

TEST(ChannelSheetTest, ACellEditGivesTheEntryTheChannelEditorGives) {
    // The editor: fields from the entry, the control changed and left, OK, read back.
    ChannelTable table = Table(4);
    ChannelEntry viaEditor = table.At(2);
    {
        ChannelTable others = table;
        others.Remove(2);
        testing::ScriptedPerson person;
        const ChannelEditContext context{others, std::nullopt, Context().band, 0, 512};
        ChannelEditFields fields = FieldsOf(viaEditor);
        fields.tx = "455.5";
        ASSERT_TRUE(FrequencyLeft(fields, true, context, person));
        ASSERT_TRUE(FinalChannelCheck(fields, context, false, person).close);
        ReadBack(fields, viaEditor);
    }
    ASSERT_FALSE(SetCell(table, 2, SC::Tx, "455.5", Context()).refusal);
    EXPECT_EQ(ExactBytesOf(std::span(&table.At(2), 1)), ExactBytesOf(std::span(&viaEditor, 1)));
}

TEST(ChannelSheetTest, RenumberingMovesTheEntryToItsPlace) {
    ChannelTable table = Table(5);
    const SheetResult result = SetCell(table, 0, SC::Number, "9", Context());
    ASSERT_FALSE(result.refusal);
    ASSERT_EQ(result.positions, std::vector<std::size_t>{4});
    EXPECT_EQ(table.At(4).Number(), 9);
    EXPECT_EQ(table.At(0).Number(), 2);
}

TEST(ChannelSheetTest, FillDownCopiesTheFirstCellIntoTheChannelsAndLeavesGroupsAlone) {
    ChannelTable table = Table(4);
    ChannelEntry group = Channel(3, 0, "Vote");
    table.Remove(2);
    group.SetFlag(cr::kIsGroup, true);
    table.Add(group);
    ASSERT_FALSE(SetCell(table, 0, SC::RxCode, "88.5", Context()).refusal);
    const auto rows = Rows(0, 4);
    const SheetResult result = FillDown(table, SC::RxCode, rows, Context());
    ASSERT_FALSE(result.refusal);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(CellText(table.At(1), SC::RxCode), " 88.5");
    EXPECT_EQ(CellText(table.At(3), SC::RxCode), " 88.5");
    EXPECT_TRUE(table.At(2).IsGroup());
    EXPECT_EQ(table.At(2).Get(cr::kRxCode), 0);
}

TEST(ChannelSheetTest, AFrequencySeriesStepsByTheRasterGivenAndStaysInTheBand) {
    ChannelTable table = Table(16);
    ASSERT_FALSE(SetCell(table, 0, SC::Rx, "450", Context()).refusal);
    const auto rows = Rows(0, 16);
    ASSERT_FALSE(FillSeries(table, SC::Rx, rows, kDefaultStepHz, Context()).refusal);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(table.At(i).rxHz, 450000000 + 12500 * static_cast<std::int64_t>(i)) << i;
    }

    // From 499.9 MHz the fifth step leaves the band: nothing changes.
    ASSERT_FALSE(SetCell(table, 0, SC::Tx, "499.95", Context()).refusal);
    const ChannelTable before = table;
    const SheetResult outside = FillSeries(table, SC::Tx, rows, kDefaultStepHz, Context());
    ASSERT_TRUE(outside.refusal);
    EXPECT_EQ(*outside.refusal,
              "The series leaves the band at channel 6 (500.01250 MHz).\n"
              "The band runs from 440 MHz to 500 MHz.");
    EXPECT_TRUE(SameTable(table, before));

    const SheetResult offRaster = FillSeries(table, SC::Rx, rows, 2500, Context());
    ASSERT_TRUE(offRaster.refusal);
    EXPECT_EQ(*offRaster.refusal, kStepOffRasterText);
    EXPECT_TRUE(SameTable(table, before));

    // Downwards, 25 kHz.
    ASSERT_FALSE(FillSeries(table, SC::Rx, Rows(0, 3), -25000, Context()).refusal);
    EXPECT_EQ(table.At(2).rxHz, 449950000);
}

TEST(ChannelSheetTest, NamesAndNumbersCountFromTheFirstCell) {
    ChannelTable table = Table(16);
    ASSERT_FALSE(SetCell(table, 0, SC::Name, "CH 1", Context()).refusal);
    ASSERT_FALSE(FillSeries(table, SC::Name, Rows(0, 16), kDefaultStepHz, Context()).refusal);
    EXPECT_EQ(table.At(8).Name(), "CH 9");
    EXPECT_EQ(table.At(15).Name(), "CH 16");

    ASSERT_FALSE(SetCell(table, 0, SC::Name, "Rpt 08", Context()).refusal);
    ASSERT_FALSE(FillSeries(table, SC::Name, Rows(0, 3), kDefaultStepHz, Context()).refusal);
    EXPECT_EQ(table.At(2).Name(), "Rpt 10") << "the digits keep their width";

    // "Depot 999999" counts past twelve characters: refused at that channel.
    ASSERT_FALSE(SetCell(table, 0, SC::Name, "Depot 999999", Context()).refusal);
    const SheetResult tooLong = FillSeries(table, SC::Name, Rows(0, 2), kDefaultStepHz, Context());
    ASSERT_TRUE(tooLong.refusal);
    EXPECT_EQ(*tooLong.refusal, "Channel 2: " + std::string(kNameTooLongText));

    // Channels 1..4 renumbered 100..103 together; then 5 cannot take 102.
    ASSERT_FALSE(SetCell(table, 0, SC::Number, "100", Context()).refusal);
    const auto first = *table.Find(100);
    ASSERT_FALSE(FillSeries(table, SC::Number, std::vector<std::size_t>{first, 0, 1, 2},
                            kDefaultStepHz, Context())
                     .refusal);
    EXPECT_TRUE(table.Find(103).has_value());
    EXPECT_FALSE(table.Find(4).has_value());
    const ChannelTable before = table;
    ASSERT_TRUE(SetCell(table, 0, SC::Number, "102", Context()).refusal);
    EXPECT_TRUE(SameTable(table, before));
}

TEST(ChannelSheetTest, InsertChannelsAddsNamedChannelsOnTheRaster) {
    ChannelTable table = Table(2);
    const ChannelEntry model = table.At(0);
    const InsertRequest request{
        .count = 16, .firstNumber = 10, .firstHz = 450000000, .stepHz = 12500};
    const SheetResult result = InsertChannels(table, model, request, Context());
    ASSERT_FALSE(result.refusal) << *result.refusal;
    ASSERT_EQ(table.Size(), 18u);
    ASSERT_EQ(result.positions.size(), 16u);
    const ChannelEntry& last = table.At(*table.Find(25));
    EXPECT_EQ(last.Name(), "CH 16");
    EXPECT_EQ(last.rxHz, 450187500);
    EXPECT_EQ(last.txHz, 450187500);
    EXPECT_EQ(table.At(*table.Find(10)).Name(), "CH 1");

    const ChannelTable before = table;
    struct Case {
        InsertRequest request;
        std::string why;
    };
    const Case refused[] = {
        {{.count = 2, .firstNumber = 25, .firstHz = 450000000}, std::string(kInsertNumbersText)},
        {{.count = 2, .firstNumber = 999, .firstHz = 450000000}, std::string(kInsertNumbersText)},
        {{.count = 983, .firstNumber = 0, .firstHz = 450000000},
         "Between 1 and 982 channels can be inserted: the table holds 18 entries of 1000."},
        {{.count = 4, .firstNumber = 30, .firstHz = 499975000},
         "The series leaves the band at channel 33 (500.01250 MHz).\n"
         "The band runs from 440 MHz to 500 MHz."},
        {{.count = 2, .firstNumber = 30, .firstHz = 450000000, .stepHz = 1000},
         std::string(kStepOffRasterText)},
    };
    for (const Case& c : refused) {
        const SheetResult r = InsertChannels(table, model, c.request, Context());
        ASSERT_TRUE(r.refusal);
        EXPECT_EQ(*r.refusal, c.why);
        EXPECT_TRUE(SameTable(table, before));
    }
}

TEST(ChannelSheetTest, InsertedCbChannelsAreNamedAsTheEditorNamesThem) {
    ChannelTable table;
    InsertRequest request{.count = 2, .firstNumber = 1, .firstHz = 476425000, .stepHz = 25000};
    request.namePattern.clear();
    ASSERT_FALSE(InsertChannels(table, DefaultEntry(476425000), request, Context(1)).refusal);
    EXPECT_EQ(table.At(0).Name(), "CB CH1");
    EXPECT_EQ(table.At(1).Name(), "CB CH2");
}

TEST(ChannelSheetTest, FillsOverSeveralColumnsAreOneChangeOrNone) {
    ChannelTable table = Table(16);
    ASSERT_FALSE(SetCell(table, 0, SC::Name, "CH 1", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Rx, "450", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Tx, "455", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Number, "20", Context()).refusal);
    // The renumbered channel is now the last; the view shows it first.
    std::vector<std::size_t> rows = {15};
    for (std::size_t i = 0; i < 15; ++i) {
        rows.push_back(i);
    }
    const std::vector<ColumnRows> columns = {
        {SC::Number, rows},
        {SC::Name, rows},
        {SC::Rx, rows},
        {SC::Tx, std::vector<std::size_t>(rows.begin(), rows.begin() + 4)}};
    const SheetResult series = FillSeries(table, columns, kDefaultStepHz, Context());
    ASSERT_FALSE(series.refusal) << *series.refusal;
    ASSERT_TRUE(series.changed);
    for (int n = 20; n < 36; ++n) {
        const ChannelEntry& entry = table.At(*table.Find(n));
        const std::int64_t k = n - 20;
        EXPECT_EQ(entry.Name(), "CH " + std::to_string(k + 1)) << n;
        EXPECT_EQ(entry.rxHz, 450000000 + 12500 * k) << n;
        EXPECT_EQ(entry.txHz, k < 4 ? 455000000 + 12500 * k : 450000000 + 25000 * k) << n;
    }

    // Down: every column from its own first cell.
    const std::vector<ColumnRows> down = {{SC::Power, Rows(0, 3)}, {SC::Name, Rows(0, 3)}};
    ASSERT_FALSE(SetCell(table, 0, SC::Power, "Hi", Context()).refusal);
    ASSERT_FALSE(FillDown(table, down, Context()).refusal);
    EXPECT_EQ(table.At(2).Name(), "CH 1");
    EXPECT_EQ(CellText(table.At(2), SC::Power), "Hi");

    // The transmit series leaves the band: the names and numbers filled before it are undone.
    ASSERT_FALSE(SetCell(table, 0, SC::Tx, "499.99", Context()).refusal);
    const ChannelTable before = table;
    const std::vector<ColumnRows> outside = {
        {SC::Name, Rows(0, 4)}, {SC::Number, Rows(0, 4)}, {SC::Tx, Rows(0, 4)}};
    const SheetResult refused = FillSeries(table, outside, kDefaultStepHz, Context());
    ASSERT_TRUE(refused.refusal);
    EXPECT_FALSE(refused.changed);
    EXPECT_TRUE(SameTable(table, before));
}

TEST(ChannelSheetTest, TheNextChannelFollowsTheCurrentOneByTheStep) {
    ChannelTable table;
    ChannelEntry model = Channel(0, 440000000);
    const SheetResult first = AddNextChannel(table, std::nullopt, model, kDefaultStepHz, Context());
    ASSERT_FALSE(first.refusal) << *first.refusal;
    ASSERT_EQ(table.Size(), 1u);
    EXPECT_EQ(first.positions, std::vector<std::size_t>{0});
    EXPECT_EQ(table.At(0).rxHz, 440000000) << "the first takes the model as it is";
    ASSERT_FALSE(SetCell(table, 0, SC::Number, "1", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Name, "CH 1", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Rx, "450", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::Tx, "455", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 0, SC::RxCode, "88.5", Context()).refusal);
    for (std::size_t i = 0; i < 15; ++i) {
        const SheetResult next = AddNextChannel(table, i, model, kDefaultStepHz, Context());
        ASSERT_FALSE(next.refusal) << *next.refusal;
        EXPECT_EQ(next.positions, std::vector<std::size_t>{i + 1});
    }
    ASSERT_EQ(table.Size(), 16u);
    for (std::size_t i = 0; i < 16; ++i) {
        const ChannelEntry& entry = table.At(i);
        const auto k = static_cast<std::int64_t>(i);
        EXPECT_EQ(entry.Number(), k + 1);
        EXPECT_EQ(entry.Name(), "CH " + std::to_string(k + 1));
        EXPECT_EQ(entry.rxHz, 450000000 + 12500 * k);
        EXPECT_EQ(entry.txHz, 455000000 + 12500 * k) << "the offset kept";
        EXPECT_EQ(CellText(entry, SC::RxCode), " 88.5") << "the rest copied";
    }

    // The next free number above: 2 to 16 are taken, so after 1 comes 17; a disabled transmit
    // frequency stays disabled.
    ASSERT_FALSE(SetCell(table, 0, SC::Tx, "", Context()).refusal);
    ASSERT_FALSE(AddNextChannel(table, 0, model, -kDefaultStepHz, Context()).refusal);
    const ChannelEntry& after = table.At(*table.Find(17));
    EXPECT_EQ(after.rxHz, 449987500);
    EXPECT_EQ(after.txHz, 0);
    EXPECT_EQ(after.Name(), "CH 2");

    ChannelTable high = table;
    ASSERT_FALSE(SetCell(high, 15, SC::Number, "999", Context()).refusal);
    ChannelTable edge = table;
    ASSERT_FALSE(SetCell(edge, 15, SC::Rx, "499.9875", Context()).refusal);
    ASSERT_FALSE(SetCell(table, 15, SC::Name, "Depot 999999", Context()).refusal);
    struct Case {
        ChannelTable table;
        std::size_t after;
        std::int64_t stepHz;
        std::string why;
    };
    const Case refused[] = {
        {high, 16, kDefaultStepHz, std::string(kNoNumberAboveText)},
        {edge, 15, 25000,
         "The series leaves the band at channel 18 (500.01250 MHz).\n"
         "The band runs from 440 MHz to 500 MHz."},
        {table, 15, 1000, std::string(kStepOffRasterText)},
        {table, 15, kDefaultStepHz, std::string(kNameTooLongText)},
    };
    for (const Case& c : refused) {
        ChannelTable tried = c.table;
        const SheetResult r = AddNextChannel(tried, c.after, model, c.stepHz, Context());
        ASSERT_TRUE(r.refusal) << c.why;
        EXPECT_EQ(*r.refusal, c.why);
        EXPECT_FALSE(r.changed);
        EXPECT_TRUE(SameTable(tried, c.table));
    }
}

TEST(ChannelSheetTest, AThousandChannelSeriesStoresEveryRecordOnItsRaster) {
    ChannelTable table;
    const InsertRequest request{
        .count = 1000, .firstNumber = 0, .firstHz = 440000000, .stepHz = 12500};
    ASSERT_FALSE(InsertChannels(table, DefaultEntry(440000000), request, Context()).refusal);
    ASSERT_FALSE(FillSeries(table, SC::Tx, Rows(0, 1000), 6250, Context()).refusal);
    auto image = std::make_unique<PmrJobImage>();
    testing::ScriptedPerson person;
    StoreChannelTable(table, {}, *image, person);
    EXPECT_TRUE(person.shown.empty());
    ChannelTable loaded;
    LoadChannelTable(*image, loaded);
    ASSERT_EQ(loaded.Size(), 1000u);
    EXPECT_EQ(loaded.At(999).rxHz, 440000000 + 999 * 12500);
    EXPECT_EQ(loaded.At(999).txHz, 440000000 + 999 * 6250);
}

}  // namespace
}  // namespace km::pmr
