// The sheet of a fleet as spreadsheets write it, the rows found for each radio, and the report.

#include <gtest/gtest.h>

#include <variant>

#include "fleet/Report.h"
#include "fleet/Sheet.h"

namespace km::fleet {
namespace {

Sheet Parsed(std::string_view text) {
    auto parsed = ParseSheet(text);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<Sheet>(std::move(parsed));
}

TEST(SheetTest, RowsAreFoundByTheirRadioAndEmptyCellsKeepTheJobsValue) {
    const Sheet sheet = Parsed(
        "\xEF\xBB\xBFSerial, header.description ,n1.identities.own.ident\r\n"
        "VIRTUAL-0000001,\"Van 1, \"\"north\"\"\",101\r\n"
        "\r\n"
        "VIRTUAL-0000002,,102\r\n"
        " VIRTUAL-0000003 ,Van 3\r\n");
    EXPECT_EQ(sheet.key, SheetKey::Serial);
    ASSERT_EQ(sheet.ids.size(), 2u);
    EXPECT_EQ(sheet.ids[0], "header.description");
    ASSERT_EQ(sheet.rows.size(), 3u);

    const Sheet::Row* first = sheet.Find("VIRTUAL-0000001");
    ASSERT_NE(first, nullptr);
    const auto changes = sheet.ChangesOf(*first);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].value, "Van 1, \"north\"");
    EXPECT_EQ(changes[1].id, "n1.identities.own.ident");

    const Sheet::Row* second = sheet.Find("VIRTUAL-0000002");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->line, 4u);
    ASSERT_EQ(sheet.ChangesOf(*second).size(), 1u);
    EXPECT_EQ(sheet.ChangesOf(*second)[0].value, "102");
    ASSERT_NE(sheet.Find("VIRTUAL-0000003"), nullptr);
    EXPECT_EQ(sheet.ChangesOf(*sheet.Find("VIRTUAL-0000003")).size(), 1u);
    EXPECT_EQ(sheet.Find("VIRTUAL-0000004"), nullptr);
    EXPECT_EQ(sheet.Find("virtual-0000001"), nullptr);  // serial numbers are taken as written
}

TEST(SheetTest, PortsMatchWhateverTheirLetterCaseAndWindows1252TextIsRead) {
    const Sheet sheet = Parsed("port,header.description\ncom3,Caf\xE9\n/dev/ttyUSB0,Van\n");
    EXPECT_EQ(sheet.key, SheetKey::Port);
    ASSERT_NE(sheet.Find("COM3"), nullptr);
    EXPECT_EQ(sheet.ChangesOf(*sheet.Find("COM3"))[0].value, "Caf\xC3\xA9");
    EXPECT_NE(sheet.Find("/dev/ttyUSB0"), nullptr);
}

TEST(SheetTest, ASheetThatCannotBeMeantIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "the sheet is empty"},
        {"radio,header.description\nA,B\n", "line 1: the header must begin"},
        {"serial,,header.description\n", "line 1: column 2 has no field id"},
        {"serial,header.description\nA,B,C\n", "line 2: more cells"},
        {"serial,header.description\n,B\n", "line 2: no serial number"},
        {"serial,header.description\nA,B\n\nA,C\n", "line 4: A has a row already"},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseSheet(c.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.text;
        EXPECT_TRUE(std::get<std::string>(parsed).starts_with(c.error))
            << std::get<std::string>(parsed);
    }
}

TEST(ReportTest, TheReportQuotesWhatWouldBreakItsColumns) {
    RadioResult done{"COM1", "VIRTUAL-0000001", "KM700 mobile Rev 8", true, 41.25, "", "b/1.tnk"};
    RadioResult failed{"COM12", "A,\"B\"", "KP800 portable", false, 3, "Line one\nLine two", ""};
    EXPECT_EQ(ReportCsv({done, failed}),
              "port,serial,radio,result,seconds,message,backup\r\n"
              "COM1,VIRTUAL-0000001,KM700 mobile Rev 8,done,41.2,,b/1.tnk\r\n"
              "COM12,\"A,\"\"B\"\"\",KP800 portable,failed,3.0,\"Line one\nLine two\",\r\n");
    const auto lines = ResultLines({done, failed});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].find("done"), lines[1].find("failed"));
    EXPECT_TRUE(lines[1].ends_with("3.0 s  Line one\nLine two"));
}

}  // namespace
}  // namespace km::fleet
