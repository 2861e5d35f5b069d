#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/Phonebook.h"
#include "pmr/ChannelTable.h"
#include "print/Report.h"
#include "print/Reports.h"

namespace km::print {
namespace {

namespace cr = pmr::channel_rows;

TEST(RowsPerPageTest, LinesThatFitLessFiveAtLeastOneOrNoneWhenNotEvenOneRowFits) {
    struct Case {
        int pageHeight;
        int lineHeight;
        std::optional<int> rows;
    };
    const Case cases[] = {
        {1000, 10, 95},
        {1009, 10, 95},
        {70, 10, 2},
        {60, 10, 1},
        {50, 10, 1},
        {49, 10, std::nullopt},
        {0, 10, std::nullopt},
        {1000, 0, std::nullopt},
        {1000, -3, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowsPerPage(c.pageHeight, c.lineHeight), c.rows)
            << c.pageHeight << " / " << c.lineHeight;
    }
}

Report Numbered(int rows) {
    Report report{.title = "T", .header1 = "first", .header2 = "second", .dashes = 6};
    for (int r = 0; r < rows; ++r) {
        report.rows.push_back("row " + std::to_string(r));
    }
    return report;
}

TEST(PaginateTest, ExactlyRRowsFillOnePageAndRPlusOneStartASecondWithTheHeaderRepeated) {
    const std::vector<Page> one = Paginate(Numbered(3), 3);
    ASSERT_EQ(one.size(), 1U);
    EXPECT_EQ(one[0], (Page{" ", "first", "second", "------", "row 0", "row 1", "row 2"}));

    const std::vector<Page> two = Paginate(Numbered(4), 3);
    ASSERT_EQ(two.size(), 2U);
    EXPECT_EQ(two[0], one[0]);
    EXPECT_EQ(two[1], (Page{" ", "first", "second", "------", "row 3"}));
}

TEST(PaginateTest, NoRowsGiveOnePageOfTheHeaderAndRowsPerPageBelowOneCountAsOne) {
    EXPECT_EQ(Paginate(Numbered(0), 5), (std::vector<Page>{{" ", "first", "second", "------"}}));
    EXPECT_EQ(Paginate(Numbered(2), 0).size(), 2U);
    EXPECT_EQ(Paginate(Numbered(2), -4).size(), 2U);
}

// The footer takes the page's last line, the one after the last row a full page holds, so that
// it stands at the same place on every page; the page number ends under the dashed line.
TEST(PaginateTest, AFooterEndsEveryPageWithTheJobTheDateAndThePageNumber) {
    Report report = Numbered(4);
    report.dashes = 40;
    report.footer = "depot.pmr  2026-12-11";
    const std::vector<Page> pages = Paginate(report, 3);
    ASSERT_EQ(pages.size(), 2U);
    EXPECT_EQ(pages[0], (Page{" ", "first", "second", std::string(40, '-'), "row 0", "row 1",
                              "row 2", "depot.pmr  2026-12-11        Page 1 of 2"}));
    EXPECT_EQ(pages[1], (Page{" ", "first", "second", std::string(40, '-'), "row 3", "", "",
                              "depot.pmr  2026-12-11        Page 2 of 2"}));
    // Together with the header the page needs the lines RowsPerPage leaves for it.
    EXPECT_EQ(static_cast<int>(pages[0].size()), kHeaderLines + 3 + 1);
    EXPECT_LE(kHeaderLines + 1, kReservedLines);
    // A footer longer than the dashes keeps two blanks before the number.
    report.dashes = 6;
    EXPECT_EQ(Paginate(report, 10)[0].back(), "depot.pmr  2026-12-11  Page 1 of 1");
}

TEST(PrintOrderTest, CollatePrintsTheReportPerCopyOtherwiseEachPageCopiesTimesInARow) {
    EXPECT_EQ(PrintOrder(2, 2, false), (std::vector<std::size_t>{0, 0, 1, 1}));
    EXPECT_EQ(PrintOrder(2, 2, true), (std::vector<std::size_t>{0, 1, 0, 1}));
    EXPECT_EQ(PrintOrder(3, 1, false), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(PrintOrder(2, 0, true), (std::vector<std::size_t>{0, 1}));
}

TEST(TrunkPhonebookReportTest, PrintsOnlyEntriesWithANameOrANumberInEntryOrder) {
    Phonebook book(250);
    book[3] = {"99", "Base"};
    book[5] = {"1234", ""};
    book[80] = {"", "Workshop"};
    book[200] = {"42", "A name longer than the twenty-five columns"};
    const Report report = TrunkPhonebookReport(book);
    EXPECT_EQ(report.title, "Trunk Phonebook Table");
    EXPECT_EQ(report.header1, " Trunk Phonebook                     ");
    EXPECT_EQ(report.header2, " #          Identity                     Name ");
    EXPECT_EQ(report.dashes, 60U);
    EXPECT_EQ(report.rows,
              (std::vector<std::string>{
                  "SFD 3       99                           Base                      ",
                  "SFD 5       1234                                                   ",
                  "80                                       Workshop                  ",
                  "200         42                           A name longer than the tw ",
              }));
    // Three rows of four fill one page of four rows: empty entries do not count for the pages.
    EXPECT_EQ(Paginate(report, 4).size(), 1U);
}

TEST(PmrPhonebookReportTest, EntriesFiveEightyAndTwoHundredOnlyPrintOnePageOfThreeRows) {
    std::vector<pmr::SelcallPhonebookEntry> book(250);
    book[200] = {"Last", "12345"};
    book[5] = {"Base", "100"};
    book[80] = {"", "0A1F"};
    const Report report = PmrPhonebookReport(book);
    EXPECT_EQ(report.title, "Phonebook Table");
    EXPECT_EQ(report.header1, " PMR Phonebook                       ");
    EXPECT_EQ(report.header2, " #      Name                         Selcall  ");
    EXPECT_EQ(report.dashes, 60U);
    EXPECT_EQ(report.rows, (std::vector<std::string>{
                               "5       Base                         100                       ",
                               "80                                   0A1F                      ",
                               "200     Last                         12345                     ",
                           }));
    EXPECT_EQ(Paginate(report, 3).size(), 1U);
}

pmr::ChannelEntry Channel(int number, std::int64_t rxHz, std::int64_t txHz) {
    pmr::ChannelEntry entry = pmr::DefaultEntry(rxHz);
    entry.txHz = txHz;
    entry.SetNumber(number);
    entry.SetName("CH" + std::to_string(number));
    return entry;
}

TEST(ChannelReportTest, ChannelsWithTonesOrDcsCodesAndGroupsInListOrder) {
    pmr::ChannelEntry tone = Channel(7, 440500000, 445500000);
    tone.Set(cr::kRxCode, 0x01);  // 67.0 Hz
    tone.Set(cr::kTxCode, 0x0C);  // 100.0 Hz
    pmr::SetPower(tone, pmr::Power::High);
    pmr::SetBandwidth(tone, pmr::Bandwidth::k12_5);
    tone.SetFlag(cr::kCommunityRepeater, true);
    tone.SetFlag(cr::kHidden, true);
    tone.SetFlag(cr::kRxLockout, true);
    tone.SetFlag(*cr::kDecodes[1], false);
    tone.SetFlag(*cr::kDecodes[4], false);
    tone.Set(cr::kEncode, 12);

    pmr::ChannelEntry dcs = Channel(8, 156012500, 0);
    dcs.Set(cr::kRxCode, 0x81);  // DCS 023
    dcs.Set(cr::kTxCode, 0x82);  // DCS 025, sent inverted
    dcs.SetFlag(cr::kTxInvertedDcs, true);
    pmr::SetPower(dcs, pmr::Power::Low);
    pmr::SetBandwidth(dcs, pmr::Bandwidth::k25);
    dcs.SetFlag(cr::kSelectableCtcss, true);
    dcs.SetFlag(cr::kSelcall, false);
    dcs.SetFlag(cr::kOpenSelcall, false);
    dcs.SetFlag(cr::kTxLockout, true);
    for (const fields::FieldRow* decode : cr::kDecodes) {
        dcs.SetFlag(*decode, false);
    }

    pmr::ChannelEntry group = pmr::DefaultEntry(0);
    group.SetFlag(cr::kIsGroup, true);
    pmr::SetGroupType(group, pmr::GroupType::FixedScan);
    group.SetNumber(900);
    group.SetName("SCANS");
    group.members[0] = 7;
    group.members[1] = 8;
    group.scanPriority = 7;

    pmr::ChannelTable table;
    ASSERT_TRUE(table.Add(group));
    ASSERT_TRUE(table.Add(dcs));
    ASSERT_TRUE(table.Add(tone));

    const Report report = ChannelReport(table);
    EXPECT_EQ(report.title, "PMR Channel Table");
    EXPECT_EQ(report.header1,
              "Chn Name           Rx Freq     CTCSS  Tx Freq     CTCSS  Pwr CR Ch Hide CTCSS  Sel "
              "Open RXL TXL Enc Active   ");
    EXPECT_EQ(report.header2,
              "                     MHz        DCS     Mhz        DCS         Band      DCS   Call "
              "SC              Decodes ");
    EXPECT_EQ(report.dashes, 108U);
    EXPECT_EQ(
        report.rows,
        (std::vector<std::string>{
            "007 CH7           440.50000     67.0  445.50000    100.0  Hi CR 12  H  No     | "
            "SC  OS  Yes No  12  134678  ",
            "008 CH8           156.01250    023N     0.00000    025I   Lo    25       Yes  |   "
            "      No  Yes 0           ",
            "900 SCANS         Fixed Scan Grp  SC   007 008 P7 ",
        }));
}

TEST(SelcallReportsTest, EncodesAndDecodesWithTheirHeadersAndEveryEntryInListOrder) {
    namespace qr = pmr::sequence_rows;
    pmr::EncodeEntry encode{.number = 12};
    pmr::SetTones(encode.record, {"123", "000", "111"}, pmr::SequenceKind::Encode);
    pmr::SetColumn(encode.record, qr::kLinkEstablishTime, 120);
    pmr::SetColumn(encode.record, qr::kLeadOutDelay, 50);
    pmr::SetColumn(encode.record, qr::kEncodeMute, 1);
    pmr::SetColumn(encode.record, qr::kQueuing, 2);
    pmr::SetColumn(encode.record, qr::Column(qr::kEncodeColumns, "ignore_decodes"), 1);
    pmr::SetColumn(encode.record, qr::Column(qr::kEncodeColumns, "user_ptt"), 1);
    pmr::SetColumn(encode.record, qr::kResendInterval, 5);
    pmr::SetColumn(encode.record, qr::kAckDecode, 2);
    pmr::SetColumn(encode.record, qr::Column(qr::kEncodeColumns, "max_resends"), 3);
    pmr::SetColumn(encode.record, qr::kAppendEncode, 7);
    const pmr::EncodeEntry encodes[] = {encode, {.number = 250}};
    const Report encodeReport = EncodesReport(encodes);
    EXPECT_EQ(encodeReport.title, "PMR Selcall Encodes Table");
    EXPECT_EQ(encodeReport.header1,
              " #     Encode Mask               LET  LOD   Mute      Queuing   Ignore User       "
              "RSend Ack  Max   Append  ");
    EXPECT_EQ(encodeReport.header2,
              "                                 mS   mS                         Dec   PTT          "
              "    Dec  RSend Encode ");
    EXPECT_EQ(encodeReport.dashes, 106U);
    ASSERT_EQ(encodeReport.rows.size(), 2U);
    EXPECT_EQ(
        encodeReport.rows[0],
        "012    123                       120  50    Open      InhOnBusy  1s    OvrTxLock  5  "
        "   D3   3      7 ");
    EXPECT_TRUE(encodeReport.rows[1].starts_with("250    "));

    pmr::DecodeEntry decode{.number = 3, .name = "Depot"};
    pmr::SetTones(decode.record, {"4567", "0000", ""}, pmr::SequenceKind::Decode);
    pmr::SetColumn(decode.record, qr::kAlertAction, 1);
    pmr::SetColumn(decode.record, qr::Column(qr::kDecodeColumns, "alert_tone"), 2);
    pmr::SetColumn(decode.record, qr::Column(qr::kDecodeColumns, "alert_time"), 30);
    pmr::SetColumn(decode.record, qr::kExternalAlert, 1);
    pmr::SetColumn(decode.record, qr::Column(qr::kDecodeColumns, "external_alert_delay"), 5);
    pmr::SetColumn(decode.record, qr::Column(qr::kDecodeColumns, "external_alert_time"), 10);
    pmr::SetColumn(decode.record, qr::kAckEncode, 12);
    pmr::SetColumn(decode.record, qr::Column(qr::kDecodeColumns, "ack_encode_delay"), 100);
    const Report decodeReport = DecodesReport(std::span(&decode, 1));
    EXPECT_EQ(decodeReport.title, "PMR Selcall Decodes Table");
    EXPECT_EQ(decodeReport.header1,
              " #   Decode        Decode                Alert  Tone  Time   Ext   Delay Time  Ack "
              "Ack  ");
    EXPECT_EQ(decodeReport.header2,
              "     Name          Mask                                      Alrt              Enc "
              "Delay ");
    EXPECT_EQ(decodeReport.dashes, 106U);
    EXPECT_EQ(decodeReport.rows,
              (std::vector<std::string>{"003  Depot         4567                  Stop   2XBip  30 "
                                        "   Start  5    10    12   100   "}));

    // A job's decodes are all eight, whatever they hold.
    const PmrJobImage blank;
    ASSERT_NE(FindReport("decodes"), nullptr);
    EXPECT_EQ(FindReport("decodes")->build(blank.Bytes()).rows.size(), 8U);
    ASSERT_NE(FindReport("encodes"), nullptr);
    EXPECT_TRUE(FindReport("encodes")->build(blank.Bytes()).rows.empty());
}

TEST(ReportKindsTest, EachReportIsFoundByNameAndBuiltFromAJobImage) {
    ASSERT_NE(FindReport("channels"), nullptr);
    EXPECT_EQ(FindReport("channels")->title, "PMR Channel Table");
    EXPECT_EQ(FindReport("channels")->image, fields::ImageId::Pmr);
    EXPECT_EQ(FindReport("nonsense"), nullptr);
    ASSERT_NE(FindReport("pmr-phonebook"), nullptr);
    EXPECT_EQ(FindReport("pmr-phonebook")->image, fields::ImageId::Pmr);

    const ReportKind* phonebook = FindReport("trunk-phonebook");
    ASSERT_NE(phonebook, nullptr);
    TrunkJobImage trunk;
    Phonebook book(250);
    book[21] = {"5551", "Depot"};
    StorePhonebook(trunk.Bytes(), book);
    const Report report = phonebook->build(trunk.Bytes());
    EXPECT_EQ(report.title, "Trunk Phonebook Table");
    EXPECT_EQ(report.rows,
              (std::vector<std::string>{
                  "21          5551                         Depot                     "}));

    const PmrJobImage blank;
    EXPECT_TRUE(FindReport("channels")->build(blank.Bytes()).rows.empty());
}

}  // namespace
}  // namespace km::print
