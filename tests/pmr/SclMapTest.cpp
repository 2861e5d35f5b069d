// The Selcall form's fields of a PMR job: packed selcall digits of the own identity, the phone
// book and the status list, the tone tables the store computes, the sent status, the grid
// commands and the CSV files of the phone book and the status list. Offsets are the image's own,
// written out as literals.

#include <gtest/gtest.h>

#include <memory>

#include "fields/FieldOps.h"
#include "pmr/SclMap.h"

namespace km::pmr {
namespace {

namespace sr = selcall_rows;

std::unique_ptr<PmrJobImage> Image() {
    return std::make_unique<PmrJobImage>();
}

std::vector<std::uint8_t> BytesAt(const PmrJobImage& image, std::size_t at, std::size_t n) {
    const auto bytes = image.Bytes().subspan(at, n);
    return {bytes.begin(), bytes.end()};
}

void Write(PmrJobImage& image, const fields::FieldRow& row, const fields::FieldValue& value) {
    fields::WriteField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr), value);
}
fields::FieldValue Read(const PmrJobImage& image, const fields::FieldRow& row) {
    return fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr));
}

TEST(SelcallDigits, PhoneBookIdentitiesAndStatusNumbersPackAsTheRadioKeepsThem) {
    auto image = Image();
    std::vector<SelcallPhonebookEntry> book(250);
    book[3] = {"Depot", "12AB3"};
    StoreSelcallPhonebook(image->Bytes(), book);
    // Entry 3 at 0x0598 + 3 x 24: five digits, the count in byte 11, the name from byte 12.
    EXPECT_EQ(BytesAt(*image, 0x0598 + 72, 12),
              (std::vector<std::uint8_t>{0x12, 0xAB, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0, 5}));
    EXPECT_EQ(BytesAt(*image, 0x0598 + 84, 6),
              (std::vector<std::uint8_t>{'D', 'e', 'p', 'o', 't', 0}));
    EXPECT_EQ(LoadSelcallPhonebook(image->Bytes())[3], (SelcallPhonebookEntry{"Depot", "12AB3"}));
    // An emptied entry: no digits, count 0, no name.
    book[3] = {};
    StoreSelcallPhonebook(image->Bytes(), book);
    EXPECT_EQ(BytesAt(*image, 0x0598 + 72, 24),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0,    0,    0,    0,    0,    0,
                                         0,    0,    0,    0,    0,    0,    0,    0}));

    std::vector<StatusEntry> list(100);
    list[0] = {"On scene", "12"};
    list[1] = {"Clear", "0"};
    StoreStatusList(image->Bytes(), list);
    // Status n at 0x1F2E + 26 x (n - 1); its number's length is where the 0xF fill starts.
    EXPECT_EQ(BytesAt(*image, 0x1F2E, 3), (std::vector<std::uint8_t>{0x12, 0xFF, 'O'}));
    EXPECT_EQ(BytesAt(*image, 0x1F2E + 26, 2), (std::vector<std::uint8_t>{0x0F, 0xFF}));
    EXPECT_EQ(LoadStatusList(image->Bytes())[0], (StatusEntry{"On scene", "12"}));
    EXPECT_EQ(LoadStatusList(image->Bytes())[1], (StatusEntry{"Clear", "0"}));
}

TEST(SelcallDigits, StoredCountsBeyondTheFieldAreReadAsItsCapacity) {
    auto image = Image();
    // An own identity whose count word says 300 digits: the field holds eight.
    image->SetU16(0x1E66, 0x3412);
    image->SetU16(0x1E68, 0x7856);
    image->SetU16(0x1E6A, 300);
    EXPECT_EQ(Read(*image, sr::kOwnIdentityRow), fields::FieldValue(std::string("12345678")));
    // A phone book entry whose count byte says 31: twenty digits.
    image->SetU8(0x0598 + 11, 31);
    EXPECT_EQ(LoadSelcallPhonebook(image->Bytes())[0].identity, std::string(20, '0'));
}

TEST(SelcallOwnIdentity, EmptyingItWritesNoDigitsAndCountZero) {
    auto image = Image();
    Write(*image, sr::kOwnIdentityRow, std::string("1F2"));
    EXPECT_EQ(BytesAt(*image, 0x1E66, 6),
              (std::vector<std::uint8_t>{0x1F, 0x2F, 0xFF, 0xFF, 3, 0}));
    Write(*image, sr::kOwnIdentityRow, std::string());
    EXPECT_EQ(BytesAt(*image, 0x1E66, 6),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
}

TEST(SelcallToneTables, TablesAndDecodeWindowsFollowTheChosenTonesets) {
    auto image = Image();
    Write(*image, sr::kEncodeToneset1Row, std::int64_t{0});  // CML_CCIR
    Write(*image, sr::kEncodeToneset2Row, std::int64_t{9});  // CML_ZVEI
    Write(*image, sr::kDecodeTonesetRow, std::int64_t{0});   // CML_CCIR
    EXPECT_TRUE(StoreToneTables(*image, {}));
    EXPECT_EQ(image->U16(0x1E8A + 2), 1124);       // toneset 1, digit 1
    EXPECT_EQ(image->U16(0x1EAA + 2 * 10), 2800);  // toneset 2, digit A
    // Digit 1 (1124 Hz) with the 3 % margin: 1124 - 33 .. 1124 + 33.
    EXPECT_EQ(image->U16(0x1ECC + 4), 1091);
    EXPECT_EQ(image->U16(0x1ECC + 6), 1157);
    // The user decode tones are written only for a user defined decode toneset.
    EXPECT_EQ(image->U16(0x0578), 0);
}

TEST(SelcallToneTables, AUserDefinedTonesetTakesTheGridAndWarnsWhenACellIsEmpty) {
    auto image = Image();
    Write(*image, sr::kEncodeToneset1Row, std::int64_t{kUserDefinedToneset});
    Write(*image, sr::kDecodeTonesetRow, std::int64_t{kUserDefinedToneset});
    UserTones grid;
    grid.fill("1200");
    grid[2] = "1000";
    EXPECT_TRUE(StoreToneTables(*image, grid));
    EXPECT_EQ(image->U16(0x1E8A + 4), 1000);
    EXPECT_EQ(image->U16(0x0578 + 4), 1000);
    EXPECT_EQ(image->U16(0x1ECC + 8), 970);
    EXPECT_EQ(image->U16(0x1ECC + 10), 1030);
    EXPECT_EQ(UserTonesOf(*image)[2], "1000");
    // An empty cell stores 0 and makes the form warn; "0" is a tone of its own.
    grid[5] = "";
    grid[6] = "0";
    EXPECT_FALSE(StoreToneTables(*image, grid));
    EXPECT_EQ(image->U16(0x1E8A + 10), 0);
    grid[5] = "1100";
    EXPECT_TRUE(StoreToneTables(*image, grid));
}

TEST(SelcallToneTables, ATonesetIndexTheTableHasNotLeavesItsTablesAlone) {
    auto image = Image();
    image->SetU16(0x1E86, 30);
    image->SetU16(0x1ECA, 0xFFFF);
    image->SetU16(0x1E8A, 4321);
    image->SetU16(0x1ECC, 1234);
    StoreToneTables(*image, {});
    EXPECT_EQ(image->U16(0x1E8A), 4321);
    EXPECT_EQ(image->U16(0x1ECC), 1234);
    EXPECT_EQ(fields::FormatField(sr::kEncodeToneset1Row, Read(*image, sr::kEncodeToneset1Row)),
              "? 30");
}

TEST(SelcallRules, TheDefaultStatusIsKeptOnlyWhileItIsTheSentStatus) {
    auto image = Image();
    Write(*image, sr::kSentStatus, std::int64_t{2});
    Write(*image, sr::kDefaultStatusRow, std::string("42"));
    StoreSelcallRules(*image);
    EXPECT_EQ(image->U8(0x1E76) & 0x11, 0x10);
    EXPECT_EQ(BytesAt(*image, 0x1E74, 2), (std::vector<std::uint8_t>{0x42, 0xFF}));
    // "Save Decoded Status": bit 0 set, bit 4 clear, and no default status.
    Write(*image, sr::kSentStatus, std::int64_t{1});
    StoreSelcallRules(*image);
    EXPECT_EQ(image->U8(0x1E76) & 0x11, 0x01);
    EXPECT_EQ(BytesAt(*image, 0x1E74, 2), (std::vector<std::uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(Read(*image, sr::kSentStatus), fields::FieldValue(std::int64_t{1}));
    // The third tone reset starts clear; the decodes' store sets it.
    image->SetU8(0x29BF, 0xF1);
    StoreSelcallRules(*image);
    EXPECT_EQ(image->U8(0x29BF), 0xF0);
}

TEST(SelcallGrids, FillToEndCountsOnAsDecimalNumbers) {
    std::vector<SelcallPhonebookEntry> book(250);
    book[10] = {"Car", "100"};
    EXPECT_EQ(FillToEnd(book, 10), std::nullopt);
    EXPECT_EQ(book[11], (SelcallPhonebookEntry{"Car", "101"}));
    EXPECT_EQ(book[249], (SelcallPhonebookEntry{"Car", "339"}));
    EXPECT_EQ(book[9], SelcallPhonebookEntry{});
    // A hexadecimal identity is no decimal number: nothing is filled.
    book[20].identity = "1A";
    EXPECT_EQ(FillToEnd(book, 20), "'1A' is not a valid integer value");
    EXPECT_EQ(book[21].identity, "111");
    // Counting stops before an identity would outgrow its 20 digits.
    book[200].identity = "99999999999999999998";
    FillToEnd(book, 200);
    EXPECT_EQ(book[201].identity, "99999999999999999999");
    EXPECT_EQ(book[202].identity, "292");

    std::vector<StatusEntry> list(100);
    list[50] = {"Busy", "9998"};
    FillToEnd(list, 50);
    EXPECT_EQ(list[51], (StatusEntry{"Busy", "9999"}));
    EXPECT_EQ(list[99], (StatusEntry{"Busy", "9999"}));
}

TEST(SelcallGrids, InsertAndDeleteRowKeepTheGridsSize) {
    std::vector<StatusEntry> list(100);
    list[99] = {"Last", "99"};
    InsertGridRow(list, 99);
    EXPECT_EQ(list.size(), 100u);
    EXPECT_EQ(list[99], StatusEntry{});
    list[0] = {"First", "1"};
    list[1] = {"Second", "2"};
    InsertGridRow(list, 0);
    EXPECT_EQ(list[0], StatusEntry{});
    EXPECT_EQ(list[2], (StatusEntry{"Second", "2"}));
    DeleteGridRow(list, 0);
    EXPECT_EQ(list[0], (StatusEntry{"First", "1"}));
    EXPECT_EQ(list[99], StatusEntry{});
    EXPECT_EQ(list.size(), 100u);
}

TEST(SelcallChecks, UserTonesAndFunctionButtonEncodes) {
    EXPECT_EQ(UserToneMessage(""), std::nullopt);
    EXPECT_EQ(UserToneMessage("0"), std::nullopt);
    EXPECT_EQ(UserToneMessage("3500"), std::nullopt);
    EXPECT_EQ(UserToneMessage("299"), "Value out of range.  Must be between 300 and 3500");
    EXPECT_EQ(SpecialEncodeMessage(0, "250", true), std::nullopt);
    EXPECT_EQ(SpecialEncodeMessage(4, "250", false), std::nullopt);
    EXPECT_EQ(SpecialEncodeMessage(4, "101", true),
              "Value out of range.  Must be between 1 and 100");
    EXPECT_EQ(SpecialEncodeMessage(0, "0", false),
              "Value out of range.  Must be between 1 and 250");
}

// ---- CSV ----

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

TEST(SelcallCsv, ThePhoneBookGoesOutAndComesBackWhole) {
    std::vector<SelcallPhonebookEntry> book(250);
    book[0] = {"Base, north", "12345678901234567890"};
    book[249] = {"Last", "F"};
    const std::string file = ExportSelcallPhonebookCsv(book);
    EXPECT_TRUE(file.starts_with(
        "PMR,Phonebook\r\nIndex, Name, Number,\r\n0,Base  north,12345678901234567890\r\n1,,\r\n"));
    EXPECT_TRUE(file.ends_with("249,Last,F\r\n"));
    const auto imported = ImportSelcallPhonebookCsv(file);
    const auto& result = std::get<GridImport<SelcallPhonebookEntry>>(imported);
    EXPECT_EQ(result.entries[0], (SelcallPhonebookEntry{"Base  north", "12345678901234567890"}));
    EXPECT_EQ(result.entries[249], book[249]);
    EXPECT_EQ(result.summary.rows, 250u);
    EXPECT_EQ(result.summary.skipped, 0u);
}

TEST(SelcallCsv, ImportedRowsAreBoundedAndRowsBeyondTheGridSkippedAndCounted) {
    std::string file = Lines(
        {"PMR,Phonebook", "Index, Name, Number,", ",,,,", "x,A name too long,12-ab g3", "7,Seven"});
    for (int i = 0; i < 250; ++i) {
        file += "9,More,1\n";  // bare line feeds are lines too
    }
    const auto imported = ImportSelcallPhonebookCsv(file);
    const auto& result = std::get<GridImport<SelcallPhonebookEntry>>(imported);
    // A line of commas is an empty row, not a shifted one; the index is not used.
    EXPECT_EQ(result.entries[0], SelcallPhonebookEntry{});
    EXPECT_EQ(result.entries[1], (SelcallPhonebookEntry{"A name too l", "12AB3"}));
    EXPECT_EQ(result.entries[2], (SelcallPhonebookEntry{"Seven", ""}));
    EXPECT_EQ(result.entries[249], (SelcallPhonebookEntry{"More", "1"}));
    EXPECT_EQ(result.summary.rows, 250u);
    EXPECT_EQ(result.summary.skipped, 3u);
}

TEST(SelcallCsv, AFileOfAnotherTableIsRefusedWithItsMessage) {
    const std::string trunk = Lines({"TRUNK,Phonebook", "Index, Number, Name,", "0,123,Base"});
    EXPECT_EQ(std::get<std::string>(ImportSelcallPhonebookCsv(trunk)),
              "File does not contain a valid Phonebook.");
    EXPECT_EQ(std::get<std::string>(ImportStatusListCsv(trunk)),
              "File does not contain a valid Status Message List.");
    EXPECT_EQ(std::get<std::string>(ImportStatusListCsv("")),
              "File does not contain a valid Status Message List.");
    // A job the wrong file was imported into keeps its phone book.
    auto image = Image();
    std::vector<SelcallPhonebookEntry> book(250);
    book[0] = {"Kept", "1"};
    StoreSelcallPhonebook(image->Bytes(), book);
    EXPECT_TRUE(std::holds_alternative<std::string>(
        ImportSelcallPhonebookCsvIntoImage(image->Bytes(), trunk)));
    EXPECT_EQ(LoadSelcallPhonebook(image->Bytes())[0], book[0]);
}

TEST(SelcallCsv, TheStatusListKeepsItsMessagesAndNumbersThroughAJobImage) {
    auto image = Image();
    std::vector<StatusEntry> list(100);
    list[0] = {"Twenty-four characters!!", "9E01"};
    list[99] = {"Hundred", "0"};
    StoreStatusList(image->Bytes(), list);
    const std::string file = ExportStatusListCsvOfImage(image->Bytes());
    EXPECT_TRUE(file.starts_with(
        "PMR,StatusList\r\nIndex, Message, Status Number,\r\n1,Twenty-four characters!!,9E01\r\n"));
    EXPECT_TRUE(file.ends_with("100,Hundred,0\r\n"));
    auto other = Image();
    const auto summary = ImportStatusListCsvIntoImage(other->Bytes(), file);
    EXPECT_EQ(std::get<csv::ImportSummary>(summary).rows, 100u);
    EXPECT_EQ(LoadStatusList(other->Bytes()), LoadStatusList(image->Bytes()));
    // A status number keeps 0-9 and A-E only, at most four.
    const auto bounded = std::get<GridImport<StatusEntry>>(ImportStatusListCsv(
        Lines({"PMR,StatusList", "Index, Message, Status Number,", "1,Go,1f2e34"})));
    EXPECT_EQ(bounded.entries[0], (StatusEntry{"Go", "12E3"}));
}

TEST(SelcallOwnIdentity, AnEmptiedIdentityFillsOnlyItsFirstTwoBytes) {
    struct Case {
        const char* before;
        const char* after;
        std::vector<std::uint8_t> bytes;  // 0x1E66..0x1E6B: digits and count
    };
    const Case cases[] = {
        // Emptied: count 0 and 0xFF into 0x1E66..0x1E67; 0x1E68..0x1E69 keep their value.
        {"12345678", "", {0xFF, 0xFF, 0x56, 0x78, 0, 0}},
        {"1234567", "", {0xFF, 0xFF, 0x56, 0x7F, 0, 0}},
        // A number rewrites all four bytes.
        {"12345678", "9", {0x9F, 0xFF, 0xFF, 0xFF, 1, 0}},
        {"", "ABCDEF01", {0xAB, 0xCD, 0xEF, 0x01, 8, 0}},
    };
    for (const Case& c : cases) {
        auto image = Image();
        Write(*image, sr::kOwnIdentityRow, std::string(c.before));
        Write(*image, sr::kOwnIdentityRow, std::string(c.after));
        EXPECT_EQ(BytesAt(*image, 0x1E66, 6), c.bytes) << c.before << " > " << c.after;
        EXPECT_EQ(Read(*image, sr::kOwnIdentityRow), fields::FieldValue(std::string(c.after)));
    }
}

}  // namespace
}  // namespace km::pmr
