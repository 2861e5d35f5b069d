// The trunk phone book: its places in the job, the grid commands and the "TRUNK,Phonebook" CSV
// file.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "config/Phonebook.h"
#include "core/Csv.h"

namespace km {
namespace {

std::unique_ptr<TrunkJobImage> EmptyPhonebookImage() {
    auto image = std::make_unique<TrunkJobImage>();
    StorePhonebook(image->Bytes(), Phonebook(250));
    return image;
}

Phonebook RandomPhonebook(unsigned seed) {
    std::mt19937 random(seed);
    Phonebook book(250);
    const std::string dial = "0123456789*#";
    const std::string letters = "ABCXYZ abc.-/";
    for (PhonebookEntry& entry : book) {
        if (random() % 3 == 0) {
            continue;
        }
        for (std::size_t n = random() % 32; n > 0; --n) {
            entry.number.push_back(dial[random() % dial.size()]);
        }
        for (std::size_t n = random() % 13; n > 0; --n) {
            entry.name.push_back(letters[random() % letters.size()]);
        }
        // A field of a single blank reads as empty: the file format cannot keep such a name.
        if (entry.name == " ") {
            entry.name = "A ";
        }
    }
    book[7] = {std::string(31, '9'), "123456789012"};
    return book;
}

std::string Imported(const std::variant<csv::ImportSummary, std::string>& result) {
    const auto* error = std::get_if<std::string>(&result);
    return error ? *error : std::string();
}

TEST(PhonebookTest, EntriesLiveAtTheirPlacesInTheJob) {
    auto image = EmptyPhonebookImage();
    Phonebook book(250);
    book[0] = {"12*#", "Base"};
    book[249] = {"7", "Last"};
    StorePhonebook(image->Bytes(), book);
    EXPECT_EQ(image->U8(0x0598), 0x12);
    EXPECT_EQ(image->U8(0x0599), 0xBC);
    EXPECT_EQ(image->U8(0x059A), 0xFF);
    EXPECT_EQ(image->Text(0x1538, 12), "Base");
    EXPECT_EQ(image->U8(0x0598 + 249 * 16), 0x7F);
    EXPECT_EQ(image->Text(0x1538 + 249 * 12, 12), "Last");
    EXPECT_EQ(LoadPhonebook(image->Bytes()), book);
}

TEST(PhonebookTest, RowsAreLabelledAsShortFormEntriesThenByNumber) {
    EXPECT_EQ(PhonebookRowLabel(0), "SFD 0");
    EXPECT_EQ(PhonebookRowLabel(19), "SFD 19");
    EXPECT_EQ(PhonebookRowLabel(20), "20");
    EXPECT_EQ(PhonebookRowLabel(249), "249");
}

TEST(PhonebookTest, InsertAndDeleteMoveTheRowsBelow) {
    Phonebook book(250);
    for (std::size_t e = 0; e < book.size(); ++e) {
        book[e].name = std::to_string(e);
    }
    InsertRow(book, 3);
    EXPECT_EQ(book[3], PhonebookEntry{});
    EXPECT_EQ(book[4].name, "3");
    EXPECT_EQ(book[249].name, "248");
    DeleteRow(book, 3);
    EXPECT_EQ(book[3].name, "3");
    EXPECT_EQ(book[248].name, "248");
    EXPECT_EQ(book[249], PhonebookEntry{});
}

TEST(PhonebookTest, FillToEndCountsDecimalStringsOnWithCarryAndKeptWidth) {
    Phonebook book(250);
    book[245] = {"0998", "Car"};
    EXPECT_EQ(FillToEnd(book, 245), std::nullopt);
    EXPECT_EQ(book[246], (PhonebookEntry{"0999", "Car"}));
    EXPECT_EQ(book[247], (PhonebookEntry{"1000", "Car"}));
    EXPECT_EQ(book[249], (PhonebookEntry{"1002", "Car"}));
    // Numbers of 31 digits count on without overflow; one that no longer fits ends the fill.
    book[200] = {std::string(30, '9') + "8", "Long"};
    book[203] = {"x", "x"};
    EXPECT_EQ(FillToEnd(book, 200), std::nullopt);
    EXPECT_EQ(book[201].number, std::string(31, '9'));
    EXPECT_EQ(book[202], PhonebookEntry{});
    EXPECT_EQ(book[203], (PhonebookEntry{"x", "x"}));
    // An empty dial string empties the later ones.
    book[240] = {"", "Free"};
    EXPECT_EQ(FillToEnd(book, 240), std::nullopt);
    EXPECT_EQ(book[249], (PhonebookEntry{"", "Free"}));
    // A dial string that is no decimal number changes nothing.
    book[100] = {"12*", "Star"};
    EXPECT_EQ(FillToEnd(book, 100),
              std::optional<std::string>("'12*' is not a valid integer value"));
    EXPECT_EQ(book[101], PhonebookEntry{});
}

TEST(PhonebookTest, AnEmptyPhonebookExportsTwoHeaderLinesAnd250DataLines) {
    const std::string file = ExportPhonebookCsv(Phonebook(250));
    const auto lines = csv::Lines(file);
    ASSERT_EQ(lines.size(), 252u);
    EXPECT_EQ(lines[0], "TRUNK,Phonebook");
    EXPECT_EQ(lines[1], "Index, Number, Name,");
    EXPECT_EQ(lines[2], "0,,");
    EXPECT_EQ(lines[251], "249,,");
    EXPECT_EQ(file.substr(0, 17), "TRUNK,Phonebook\r\n");
    EXPECT_EQ(file.substr(file.size() - 9), "\r\n249,,\r\n");
}

TEST(PhonebookTest, ExportThenImportReproducesTheImageByteForByte) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        auto image = EmptyPhonebookImage();
        StorePhonebook(image->Bytes(), RandomPhonebook(seed));
        const std::string file = ExportPhonebookCsvOfImage(image->Bytes());
        auto other = std::make_unique<TrunkJobImage>();
        other->Fill(0x5A);
        ASSERT_EQ(Imported(ImportPhonebookCsvIntoImage(other->Bytes(), file)), "");
        EXPECT_TRUE(std::equal(image->Bytes().begin() + 0x0598,
                               image->Bytes().begin() + 0x1538 + 250 * 12,
                               other->Bytes().begin() + 0x0598))
            << seed;
        // Bytes outside the phone book are left alone.
        EXPECT_EQ(other->U8(0x0597), 0x5A);
        EXPECT_EQ(other->U8(0x1538 + 250 * 12), 0x5A);
    }
}

TEST(PhonebookTest, CommasInNamesAreWrittenAsBlanksSoColumnsStayInPlace) {
    Phonebook book(250);
    book[3] = {"123", "Smith, J"};
    const auto lines = csv::Lines(ExportPhonebookCsv(book));
    EXPECT_EQ(lines[5], "3,123,Smith  J");
}

TEST(PhonebookTest, ImportFillsTheGridInFileOrderWhateverTheIndexSays) {
    // A file sorted or renumbered in a spreadsheet: the index column is not used.
    const std::string file =
        "TRUNK,Phonebook\n"
        "Index, Number, Name,\n"
        "5,555,Five\n"
        ",556,Six\n"      // no index
        ",,\n"            // commas only: an empty entry, nothing shifted
        "8, ,Eight\n"     // a single blank is empty
        "250,1,Beyond\n"  // an index no entry has
        "5,9,Again\n"     // an index an earlier row had
        "x,9,Letters\n"   // no number
        "\n"              // an empty line is no row
        "9,12a-3E\t4,Na\tme that is too long,extra\n";
    const auto result = ImportPhonebookCsv(file);
    ASSERT_TRUE(std::holds_alternative<PhonebookImport>(result));
    const auto& imported = std::get<PhonebookImport>(result);
    EXPECT_EQ(imported.summary.rows, 8u);
    EXPECT_EQ(imported.summary.skipped, 0u);
    const std::vector<PhonebookEntry> expected = {
        {"555", "Five"},
        {"556", "Six"},
        {},
        {"", "Eight"},
        {"1", "Beyond"},
        {"9", "Again"},
        {"9", "Letters"},
        // Dial characters only; printable characters cut to the 12 a name holds.
        {"12-3E4", "Name that is"},
    };
    for (std::size_t e = 0; e < expected.size(); ++e) {
        EXPECT_EQ(imported.entries[e], expected[e]) << e;
    }
    EXPECT_EQ(imported.entries[expected.size()], PhonebookEntry{});
}

TEST(PhonebookTest, ImportCountsTheRowsBeyondTheLast250) {
    std::string file = "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n";
    for (int r = 0; r < 253; ++r) {
        file += "0," + std::to_string(r) + ",Row\r\n";
    }
    auto image = EmptyPhonebookImage();
    const auto result = ImportPhonebookCsvIntoImage(image->Bytes(), file);
    ASSERT_TRUE(std::holds_alternative<csv::ImportSummary>(result));
    EXPECT_EQ(std::get<csv::ImportSummary>(result).rows, 250u);
    EXPECT_EQ(std::get<csv::ImportSummary>(result).skipped, 3u);
    const Phonebook book = LoadPhonebook(image->Bytes());
    EXPECT_EQ(book[0], (PhonebookEntry{"0", "Row"}));
    EXPECT_EQ(book[249], (PhonebookEntry{"249", "Row"}));
}

TEST(PhonebookTest, AFileOfAnotherKindIsRefusedBeforeAnythingChanges) {
    for (const char* file : {"PMR,Phonebook\r\nIndex, Name, Number,\r\n0,Base,123\r\n", "",
                             "TRUNK\r\n", "TRUNK,Channels\r\n"}) {
        auto image = EmptyPhonebookImage();
        Phonebook book(250);
        book[0] = {"1", "Keep"};
        StorePhonebook(image->Bytes(), book);
        EXPECT_EQ(Imported(ImportPhonebookCsvIntoImage(image->Bytes(), file)),
                  "File does not contain a valid Phonebook.");
        EXPECT_EQ(LoadPhonebook(image->Bytes())[0], book[0]);
    }
}

TEST(PhonebookTest, NamesAreWindows1252InTheFile) {
    Phonebook book(250);
    book[0] = {"1", "Caf\u00e9"};
    const std::string file = ExportPhonebookCsv(book);
    EXPECT_NE(file.find("0,1,Caf\xE9\r\n"), std::string::npos);
    const auto imported = std::get<PhonebookImport>(ImportPhonebookCsv(file));
    EXPECT_EQ(imported.entries[0].name, "Caf\u00e9");
}

}  // namespace
}  // namespace km
