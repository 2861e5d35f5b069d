// Hunt channels: the sub-band grid read from and stored into a network file, its checks, and the
// summary words a store writes.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/BandTable.h"
#include "fields/FieldOps.h"
#include "network/HntMap.h"

namespace km {
namespace {

using Col = SubBandTable::Column;

constexpr std::size_t kFirstRecord = 740;
const BandEntry& kTk = kBandEntries[8];   // 400-450 MHz
const BandEntry& kUw = kBandEntries[11];  // 440-500 MHz
const BandEntry& kX8 = kBandEntries[14];  // 806-870 MHz

std::size_t Record(int subBand) {
    return kFirstRecord + 10 * static_cast<std::size_t>(subBand - 1);
}

std::uint16_t Word(const std::vector<std::uint8_t>& file, std::size_t at) {
    return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8);
}

// A record: channels min..max, transmit and receive counts, flag bytes 8 and 9.
void PutRecord(std::vector<std::uint8_t>& file, int subBand, int min, int max, int tx, int rx,
               std::uint8_t byte8, std::uint8_t byte9) {
    const std::size_t at = Record(subBand);
    const std::uint8_t record[10] = {
        static_cast<std::uint8_t>(min >> 8),
        static_cast<std::uint8_t>(min),
        static_cast<std::uint8_t>(max >> 8),
        static_cast<std::uint8_t>(max),
        static_cast<std::uint8_t>(tx >> 9),
        static_cast<std::uint8_t>(tx >> 1),
        static_cast<std::uint8_t>(rx >> 9),
        static_cast<std::uint8_t>(rx >> 1),
        static_cast<std::uint8_t>(byte8 | (tx & 1) << 5 | (rx & 1) << 4),
        byte9};
    std::copy(std::begin(record), std::end(record), file.begin() + static_cast<std::ptrdiff_t>(at));
}

void Fill(SubBandTable& table, int line, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        table.SetText(line, static_cast<int>(i) + 1, texts[i]);
    }
}

TEST(HuntMapTest, FrequenciesAreStoredAsCountsOfTheSeparationsStep) {
    std::vector<std::uint8_t> file(1536, 0);
    SubBandTable table;
    table.Load(file, 0);
    Fill(table, 0, {"1", "10", "450.00625", "450,00625", "Low", "12.5kHz", "B, 100 Hz"});
    Fill(table, 1, {"11", "20", "450.0075", "450.0075", "High", "15kHz", "Undefined"});
    ASSERT_EQ(table.Check(0, Col::kTxMin, CellMoment::Move, &kUw), std::nullopt);
    ASSERT_EQ(table.Check(1, Col::kRxMin, CellMoment::Move, &kUw), std::nullopt);
    table.Store(file, 0);
    // 450.00625 MHz in 6.25 kHz steps is count 72001: bits 16..1 big-endian, bit 0 in byte 8.
    EXPECT_EQ(file[Record(1) + 4], 0x8C);
    EXPECT_EQ(file[Record(1) + 5], 0xA0);
    EXPECT_EQ(file[Record(1) + 6], 0x8C);
    EXPECT_EQ(file[Record(1) + 7], 0xA0);
    EXPECT_EQ(file[Record(1) + 8], 0x20 | 0x10);  // count bits 0, no step flag
    EXPECT_EQ(file[Record(1) + 9], 0x40 | 12);    // power Low, CTCSS row 12
    // 450.0075 MHz in 7.5 kHz steps is count 60001.
    EXPECT_EQ(
        (file[Record(2) + 6] << 9 | file[Record(2) + 7] << 1 | (file[Record(2) + 8] >> 4 & 1)),
        60001);
    EXPECT_EQ(file[Record(2) + 8] & 0x06, 0x06);  // 7.5 kHz steps, receive and transmit
    EXPECT_EQ(file[Record(2) + 0], 0);
    EXPECT_EQ(file[Record(2) + 1], 11);

    SubBandTable reloaded;
    reloaded.Load(file, 0);
    EXPECT_EQ(reloaded.Text(0, Col::kTxMin), "450.00625");
    EXPECT_EQ(reloaded.Text(0, Col::kPower), "Low");
    EXPECT_EQ(reloaded.Text(0, Col::kTxCtcss), "B, 100 Hz");
    EXPECT_EQ(reloaded.Text(1, Col::kRxMin), "450.00750");
    EXPECT_EQ(reloaded.Text(1, Col::kSeparation), "15kHz");
}

TEST(HuntMapTest, EmptyLinesShowEmptyAndLinesAfterAGapAreKept) {
    std::vector<std::uint8_t> file(1536, 0);
    for (int n = 1; n <= 3; ++n) {
        PutRecord(file, n, 100 * n, 100 * n + 50, 67200, 68800, 0, 0);
    }
    PutRecord(file, 6, 0, 40, 67200, 68800, 0, 0);  // channel 0 is a channel like any other
    const std::vector<std::uint8_t> before = file;
    SubBandTable table;
    table.Load(file, 0);
    EXPECT_EQ(table.Text(2, Col::kMinChannel), "300");
    for (int line : {3, 4, 49}) {
        for (int column = Col::kMinChannel; column <= Col::kPower; ++column) {
            EXPECT_EQ(table.Text(line, column), "") << line << " " << column;
        }
        EXPECT_EQ(table.Text(line, Col::kSeparation), "12.5kHz");
    }
    EXPECT_EQ(table.Text(5, Col::kMinChannel), "0");
    EXPECT_EQ(table.Text(5, Col::kMaxChannel), "40");
    table.Store(file, 0);
    EXPECT_EQ(file, before);
}

TEST(HuntMapTest, ChannelRangesFollowTheLineAbove) {
    std::vector<std::uint8_t> file(1536, 0);
    SubBandTable table;
    table.Load(file, 0);
    Fill(table, 0, {"10", "99"});
    table.SetText(1, Col::kMinChannel, "100");
    EXPECT_EQ(table.Check(1, Col::kMinChannel, CellMoment::Enter, &kTk), std::nullopt);
    table.SetText(1, Col::kMinChannel, "99");
    EXPECT_EQ(table.Check(1, Col::kMinChannel, CellMoment::Enter, &kTk),
              std::string(kMinAfterPreviousEnterMessage));
    EXPECT_EQ(table.Check(1, Col::kMinChannel, CellMoment::Move, &kTk),
              std::string(kMinAfterPreviousMoveMessage));
    table.SetText(1, Col::kMinChannel, "1024");
    EXPECT_EQ(table.Check(1, Col::kMinChannel, CellMoment::Move, &kTk),
              "Value out of range.  Must be between 0 and 1023");
    table.SetText(3, Col::kMinChannel, "500");
    EXPECT_EQ(table.Check(3, Col::kMinChannel, CellMoment::Move, &kTk),
              std::string(kNextRangeMessage));
    // Maximum: never without a minimum; above it on Enter, not below it when moving on.
    table.SetText(2, Col::kMaxChannel, "5");
    EXPECT_EQ(table.Check(2, Col::kMaxChannel, CellMoment::Move, &kTk),
              std::string(kMinimumFirstMessage));
    table.SetText(0, Col::kMaxChannel, "10");
    EXPECT_EQ(table.Check(0, Col::kMaxChannel, CellMoment::Enter, &kTk),
              std::string(kMaxAboveMinEnterMessage));
    EXPECT_EQ(table.Check(0, Col::kMaxChannel, CellMoment::Move, &kTk), std::nullopt);
    table.SetText(0, Col::kMaxChannel, "9");
    EXPECT_EQ(table.Check(0, Col::kMaxChannel, CellMoment::Move, &kTk),
              std::string(kMaxAtLeastMinMoveMessage));
}

TEST(HuntMapTest, FrequenciesAreCheckedAgainstBandRasterStepAndCountWidth) {
    std::vector<std::uint8_t> file(1536, 0);
    SubBandTable table;
    table.Load(file, 0);
    Fill(table, 0, {"1", "10"});
    struct Case {
        const BandEntry* band;
        const char* separation;
        const char* text;
        std::optional<std::string> message;
    };
    const std::string tkRange = "Value out of range.\nMust be between 400MHz and 450MHz";
    const Case cases[] = {
        {&kTk, "12.5kHz", "425.0125", std::nullopt},
        {&kTk, "12.5kHz", "450", std::nullopt},
        {&kTk, "12.5kHz", "450.00625", tkRange},
        {&kTk, "12.5kHz", "399,99375", tkRange},
        {&kTk, "12.5kHz", "4a0", tkRange},
        {&kTk, "12.5kHz", "425.0001", "Frequency is not a multiple of 5kHz, 6.25kHz or 7.5kHz"},
        {&kTk, "12.5kHz", "425.00625000001",
         "Frequency is not a multiple of 5kHz, 6.25kHz or 7.5kHz"},
        // The separation may come later: a frequency on another step passes its cell.
        {&kTk, "12.5kHz", "425.005", std::nullopt},
        // 17 bits of 6.25 kHz reach 819.19375 MHz: the top of the 800 MHz band does not fit.
        {&kX8, "12.5kHz", "819.19375", std::nullopt},
        {&kX8, "12.5kHz", "830", "Value out of range.\nMust be between 806MHz and 819MHz"},
        {nullptr, "12.5kHz", "425", std::string(kNoBandMessage)},
    };
    for (const Case& c : cases) {
        table.SetText(0, Col::kSeparation, c.separation);
        table.SetText(0, Col::kTxMin, c.text);
        EXPECT_EQ(table.Check(0, Col::kTxMin, CellMoment::Enter, c.band), c.message) << c.text;
    }
    // Leaving the line, the frequency must fit the steps of its separation.
    table.SetText(0, Col::kSeparation, "12.5kHz");
    table.SetText(0, Col::kTxMin, "425.005");
    EXPECT_EQ(
        table.CheckLine(0, &kTk),
        "Frequency is not a multiple of 6.25kHz,\nthe channel step of the 12.5kHz separation.");
    table.SetText(0, Col::kSeparation, "10kHz");
    EXPECT_EQ(table.CheckLine(0, &kTk), std::nullopt);
}

TEST(HuntMapTest, AFiveKilohertzRecordKeepsItsFlagsUntilItsSeparationIsChosen) {
    std::vector<std::uint8_t> file(1536, 0);
    // 450.005 MHz in 5 kHz steps, byte 9 bit 5 and byte 8 bits 6 and 7, junk in byte 8 bit 3.
    PutRecord(file, 1, 1, 10, 90001, 90001, 0xC8, 0x20);
    SubBandTable table;
    table.Load(file, 0);
    EXPECT_EQ(table.Text(0, Col::kSeparation), "5kHz");
    EXPECT_EQ(table.Text(0, Col::kTxMin), "450.00500");
    // Editing the maximum channel rewrites only its bytes.
    table.SetText(0, Col::kMaxChannel, "12");
    std::vector<std::uint8_t> expected = file;
    expected[Record(1) + 3] = 12;
    table.Store(file, 0);
    EXPECT_EQ(file, expected);
    // The 12.5 kHz steps cannot hold the frequency: the line cannot be left so.
    table.SetText(0, Col::kSeparation, "12.5kHz");
    EXPECT_EQ(
        table.CheckLine(0, &kUw),
        "Frequency is not a multiple of 6.25kHz,\nthe channel step of the 12.5kHz separation.");
    // Were it stored anyway, the counts would stay as they are rather than be cut.
    std::vector<std::uint8_t> forced = file;
    table.Store(forced, 0);
    EXPECT_EQ(forced[Record(1) + 5], file[Record(1) + 5]);
    table.SetText(0, Col::kSeparation, "20kHz");
    EXPECT_EQ(table.CheckLine(0, &kUw), std::nullopt);
    table.Store(file, 0);
    EXPECT_EQ(file[Record(1) + 8] & 0xC6, 0xC0);
    EXPECT_EQ(file[Record(1) + 9] & 0xA0, 0x80);
    EXPECT_EQ(file[Record(1) + 8] & 0x08, 0x08);  // a bit no field names stays
}

TEST(HuntMapTest, SeparationTextsFollowTheReadingRule) {
    const std::pair<std::int64_t, const char*> codes[] = {
        {hunt_rows::kSeparation25, "25kHz"},
        {hunt_rows::kSeparation20, "20kHz"},
        {hunt_rows::kSeparation15, "15kHz"},
        {hunt_rows::kSeparation10, "10kHz"},
        {hunt_rows::kSeparation6_25, "6.25kHz"},
        {hunt_rows::kSeparation12_5, "12.5kHz"},
        {0b010100, "5kHz"},  // byte 9 bit 5 and the receive 5 kHz flag
    };
    for (const auto& [code, text] : codes) {
        EXPECT_EQ(SeparationText(code), text) << code;
    }
    EXPECT_EQ(SeparationCodeOf("5kHz"), hunt_rows::kSeparation12_5);
    EXPECT_EQ(SeparationCodeOf("anything"), hunt_rows::kSeparation12_5);
}

TEST(HuntMapTest, TheSummaryNamesTheHighestMaximumOfUnorderedRecords) {
    std::vector<std::uint8_t> file(1536, 0);
    PutRecord(file, 1, 7, 300, 67200, 68800, 0, 0);
    PutRecord(file, 2, 301, 500, 67200, 68800, 0, 0);
    PutRecord(file, 3, 100, 200, 67200, 68800, 0, 0);
    file[228] = 5;                    // normal hunt entry 1: channel 5
    file[232] = 0, file[233] = 0x80;  // entry 3: Timed, no channel
    file[240] = 9;                    // entry 7: channel 9
    StoreHuntSummary(file, 0);
    EXPECT_EQ(Word(file, 148), 500);
    EXPECT_EQ(Word(file, 738), 2);
    EXPECT_EQ(Word(file, 150), 7);
    EXPECT_EQ(Word(file, 224), 2);
    std::vector<std::uint8_t> none(1536, 0);
    StoreHuntSummary(none, 0);
    EXPECT_EQ(Word(none, 148), 0);
    EXPECT_EQ(Word(none, 738), 0);
}

TEST(HuntMapTest, ClearingTheMinimumChannelEmptiesTheRecord) {
    std::vector<std::uint8_t> file(1536, 0);
    PutRecord(file, 1, 1, 10, 67200, 68800, 0x00, 0x45);
    SubBandTable table;
    table.Load(file, 0);
    table.SetText(0, Col::kMinChannel, "");
    table.Store(file, 0);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(file[Record(1) + i], 0) << i;
    }
}

TEST(HuntMapTest, HuntListsAndComprehensiveRange) {
    const std::vector<std::string> channels = {"5", "", "7", "5", "0", "0"};
    EXPECT_TRUE(DuplicateHuntChannel(channels, 3));
    EXPECT_FALSE(DuplicateHuntChannel(channels, 2));
    EXPECT_FALSE(DuplicateHuntChannel(channels, 1));
    EXPECT_FALSE(DuplicateHuntChannel(channels, 4));
    EXPECT_EQ(CheckComprehensiveRange("10", "20", true), std::string(kHighestBelowLowestMessage));
    EXPECT_EQ(CheckComprehensiveRange("10", "20", false), std::string(kLowestAboveHighestMessage));
    EXPECT_EQ(CheckComprehensiveRange("20", "20", true), std::nullopt);
    EXPECT_EQ(CheckComprehensiveRange("", "20", true), std::nullopt);
}

TEST(HuntMapTest, MegahertzAreReadExactly) {
    const auto parsed = ParseMegahertz(" 450,0075 ");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->hertz, 450007500);
    EXPECT_TRUE(parsed->wholeHertz);
    EXPECT_EQ(ParseMegahertz("869.99375")->hertz, 869993750);
    EXPECT_FALSE(ParseMegahertz("450.1234567")->wholeHertz);
    for (const char* bad : {"", ".5", "45000", "4.5.0", "1e3", "-450"}) {
        EXPECT_EQ(ParseMegahertz(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(FormatMegahertz(450006250), "450.00625");
    EXPECT_EQ(FormatMegahertz(66000000), "66.00000");
}

TEST(HuntMapTest, StepPatternsShowByTheReadingRuleAndChannelZeroAsZero) {
    struct Case {
        std::uint8_t byte8;  // step bits
        std::uint8_t byte9;  // separation flags
        const char* shown;
    };
    const Case cases[] = {
        {0x06, 0x00, "15kHz"},   {0x02, 0x00, "15kHz"}, {0x42, 0x00, "15kHz"},
        {0xC0, 0x00, "10kHz"},   {0x40, 0x00, "10kHz"}, {0x80, 0x00, "12.5kHz"},
        {0x00, 0x00, "12.5kHz"}, {0xC0, 0x80, "20kHz"}, {0x40, 0x80, "20kHz"},
        {0x00, 0x80, "25kHz"},   {0x02, 0x80, "25kHz"}, {0x00, 0x20, "6.25kHz"},
        {0x04, 0x20, "6.25kHz"}, {0xC0, 0x20, "5kHz"},  {0x40, 0x20, "5kHz"},
    };
    const fields::FieldRow& separation = hunt_rows::kSubBandRecords.columns[5];
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file(1536, 0);
        PutRecord(file, 1, 1, 10, 0, 0, c.byte8, c.byte9);
        const std::size_t at = Record(1) + 8;
        const auto value = fields::ReadField(separation, file, at);
        // As the dump and diff show it, as verify checks it and as the form shows it.
        EXPECT_EQ(fields::FormatField(separation, value), c.shown) << int{c.byte8};
        EXPECT_EQ(fields::CheckField(separation, value), std::nullopt) << int{c.byte8};
        SubBandTable table;
        table.Load(file, 0);
        EXPECT_EQ(table.Text(0, Col::kSeparation), c.shown) << int{c.byte8};
    }

    std::vector<std::uint8_t> file(1536, 0);
    file[228 + 3] = 0x80;  // normal hunt entry 2: channel 0, Timed
    for (const auto& [records, at] : {std::pair{&hunt_rows::kNormalHunt, std::size_t{228}},
                                      std::pair{&hunt_rows::kNormalHunt, std::size_t{230}},
                                      std::pair{&hunt_rows::kWithdrawn, std::size_t{160}}}) {
        const fields::FieldRow& row = records->columns[0];
        EXPECT_EQ(fields::FormatField(row, fields::ReadField(row, file, at)), "0") << at;
        EXPECT_EQ(fields::CheckField(row, fields::ReadField(row, file, at)), std::nullopt);
    }
    // An emptied entry is channel 0; the Timed bit stays.
    const fields::FieldRow& channel = hunt_rows::kNormalHunt.columns[0];
    file[230] = 5;
    fields::WriteField(channel, file, 230, std::string());
    EXPECT_EQ(Word(file, 230), 0x8000);
}

}  // namespace
}  // namespace km
