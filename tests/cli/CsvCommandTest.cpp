// km700rcp-cli csv: the trunk phone book of a job to and from a CSV file.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <sstream>

#include "CsvCommand.h"
#include "ScriptedPerson.h"
#include "config/Phonebook.h"
#include "core/Files.h"
#include "pmr/PmrCsv.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kTemplate = fs::path(KM_SOURCE_DIR) / "data" / "default.tct";

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCsv(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = CsvMain(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::uint8_t> Read(const fs::path& file) {
    return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
}

void Write(const fs::path& file, std::string_view text) {
    ASSERT_TRUE(WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

class CsvCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        fs::copy_file(kTemplate, Path("job.tnk"));
    }
    std::string Path(const char* name) const {
        return (fs::path(dir.path().toStdString()) / name).string();
    }
    // A job with a few phone book entries.
    void FillPhonebook(const std::string& job) {
        std::vector<std::uint8_t> bytes = Read(job);
        Phonebook book(250);
        book[0] = {"1234567890123456789012345678901", "Head Office"};
        book[20] = {"*9#", "Depot North"};
        book[249] = {"5", "Last"};
        StorePhonebook(bytes, book);
        ASSERT_TRUE(WriteFileAtomically(job, bytes));
    }

    QTemporaryDir dir;
};

TEST_F(CsvCommandTest, ExportWritesTheFileOrStandardOutput) {
    const Result r =
        RunCsv({"csv", "export", "--table", "phonebook", Path("job.tnk"), Path("a.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::uint8_t> file = Read(Path("a.csv"));
    const std::string text(file.begin(), file.end());
    EXPECT_EQ(text.substr(0, 39), "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n");
    EXPECT_EQ(csv::Lines(text).size(), 252u);
    const Result toOut = RunCsv({"csv", "export", "--table", "phonebook", Path("job.tnk")});
    EXPECT_EQ(toOut.out, text);
    const Result withO =
        RunCsv({"csv", "export", "--table", "phonebook", Path("job.tnk"), "-o", Path("b.csv")});
    EXPECT_EQ(withO.code, 0);
    EXPECT_EQ(Read(Path("b.csv")), file);
    // The trunk phone book goes by print's name for it as well.
    const Result byReportName =
        RunCsv({"csv", "export", "--table", "trunk-phonebook", Path("job.tnk")});
    EXPECT_EQ(byReportName.code, 0) << byReportName.err;
    EXPECT_EQ(byReportName.out, text);
}

TEST_F(CsvCommandTest, ExportThenImportIntoAnotherJobGivesTheSameJobByteForByte) {
    FillPhonebook(Path("job.tnk"));
    fs::copy_file(kTemplate, Path("other.tnk"));
    ASSERT_EQ(
        RunCsv({"csv", "export", "--table", "phonebook", Path("job.tnk"), Path("a.csv")}).code, 0);
    // The job and the file may come in either order.
    const Result r =
        RunCsv({"csv", "import", "--table", "phonebook", Path("a.csv"), Path("other.tnk")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Read(Path("other.tnk")), Read(Path("job.tnk")));
}

TEST_F(CsvCommandTest, ImportWritesToTheOutputWhenGivenAndCountsRowsLeftOut) {
    // The rows fill the phone book in file order; the 251st is left out.
    std::string file = "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n3,123,Three\r\n";
    for (int r = 1; r < 251; ++r) {
        file += "300,1,X\r\n";
    }
    Write(Path("in.csv"), file);
    const Result r = RunCsv({"csv", "import", "--table", "phonebook", Path("job.tnk"),
                             Path("in.csv"), "-o", Path("out.tnk")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("1 rows"), std::string::npos) << r.err;
    EXPECT_EQ(Read(Path("job.tnk")), Read(kTemplate));
    EXPECT_EQ(LoadPhonebook(Read(Path("out.tnk")))[0], (PhonebookEntry{"123", "Three"}));
    EXPECT_EQ(LoadPhonebook(Read(Path("out.tnk")))[249], (PhonebookEntry{"1", "X"}));
}

TEST_F(CsvCommandTest, AFileOfAnotherTableChangesNothing) {
    Write(Path("pmr.csv"), "PMR,Phonebook\r\nIndex, Name, Number,\r\n0,Base,123\r\n");
    const Result r =
        RunCsv({"csv", "import", "--table", "phonebook", Path("job.tnk"), Path("pmr.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("File does not contain a valid Phonebook."), std::string::npos);
    EXPECT_EQ(Read(Path("job.tnk")), Read(kTemplate));
}

TEST_F(CsvCommandTest, WrongArgumentsAndUnwritableFilesHaveTheirExitCodes) {
    const std::string job = Path("job.tnk");
    EXPECT_EQ(RunCsv({"csv", "export", job}).code, 2);
    EXPECT_EQ(RunCsv({"csv", "export", "--table", "zones", job}).code, 2);
    EXPECT_EQ(RunCsv({"csv", "send", "--table", "phonebook", job}).code, 2);
    EXPECT_EQ(RunCsv({"csv", "import", "--table", "phonebook", job}).code, 2);
    EXPECT_EQ(RunCsv({"csv", "export", "--table"}).code, 2);
    fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / "default.cct", Path("job.pmr"));
    EXPECT_EQ(RunCsv({"csv", "export", "--table", "phonebook", Path("job.pmr")}).code, 2);
    EXPECT_EQ(RunCsv({"csv", "import", "--table", "phonebook", job, Path("missing.csv")}).code, 1);
    const std::string nowhere = Path("no/such/folder/a.csv");
    EXPECT_EQ(RunCsv({"csv", "export", "--table", "phonebook", job, nowhere}).code, 3);
    EXPECT_EQ(RunCsv({"csv", "--help"}).code, 0);
}

// A PMR job of 1000 channels and groups and two zones.
class PmrCsvCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        auto image = std::make_unique<PmrJobImage>();
        image->Write(0, Read(fs::path(KM_SOURCE_DIR) / "data" / "default.cct"));
        pmr::ChannelTable table;
        for (int n = 0; n < 990; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(440000000 + 12500LL * n);
            entry.SetNumber(n);
            entry.SetName("Ch" + std::to_string(n));
            entry.SetFlag(pmr::channel_rows::kHidden, n % 5 == 0);
            ASSERT_TRUE(table.Add(entry));
        }
        for (int g = 990; g < 1000; ++g) {
            pmr::ChannelEntry group;
            group.SetFlag(pmr::channel_rows::kIsGroup, true);
            pmr::SetGroupType(group, pmr::GroupType::Vote);
            group.SetFlag(pmr::channel_rows::kShowAsChannel, true);
            group.SetNumber(g);
            group.members[0] = static_cast<std::uint16_t>(g - 990);
            ASSERT_TRUE(table.Add(group));
        }
        testing::ScriptedPerson person;
        pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *image, person);
        pmr::ZoneGrids grids;
        grids.names[0] = "North";
        grids.names[1] = "South";
        grids.channels[0] = "5";
        grids.channels[9] = "999";
        pmr::StoreZones(grids, {}, *image);
        ASSERT_TRUE(WriteFileAtomically(Path("job.pmr"), image->Bytes()));
    }
    std::string Path(const char* name) const {
        return (fs::path(dir.path().toStdString()) / name).string();
    }
    QTemporaryDir dir;
};

TEST_F(PmrCsvCommandTest, ChannelsAndZonesGoOutAndComeBackIntoTheSameJob) {
    for (const char* table : {"channels", "zones"}) {
        ASSERT_EQ(RunCsv({"csv", "export", "--table", table, Path("job.pmr"), Path("t.csv")}).code,
                  0)
            << table;
        const Result r = RunCsv({"csv", "import", "--table", table, Path("job.pmr"), Path("t.csv"),
                                 "-o", Path("back.pmr")});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(Read(Path("back.pmr")), Read(Path("job.pmr"))) << table;
    }
    const Result zones = RunCsv({"csv", "export", "--table", "zones", Path("job.pmr")});
    EXPECT_EQ(zones.out.substr(0, 11), "PMR,Zones\r\n");
    EXPECT_NE(zones.out.find("North,5, , , , , , , , ,999,"), std::string::npos);
}

TEST_F(PmrCsvCommandTest, AWrongFileChangesNothingAndRowsLeftOutAreCounted) {
    Write(Path("phonebook.csv"), "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n0,,\r\n");
    const auto before = Read(Path("job.pmr"));
    const Result wrong =
        RunCsv({"csv", "import", "--table", "channels", Path("job.pmr"), Path("phonebook.csv")});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_NE(wrong.err.find("File does not contain a valid Channel Table."), std::string::npos);
    EXPECT_EQ(Read(Path("job.pmr")), before);

    Write(Path("few.csv"),
          "PMR,Channels\nheader\n1,A,Chan,450,450\n1,B,Chan,451,451\n1200,C,Chan,452,452\n");
    const Result few =
        RunCsv({"csv", "import", "--table", "channels", Path("job.pmr"), Path("few.csv")});
    EXPECT_EQ(few.code, 1);
    EXPECT_NE(few.err.find("2 rows"), std::string::npos) << few.err;
    const auto after = Read(Path("job.pmr"));
    ASSERT_EQ(after.size(), PmrJobImage::kSize);
    EXPECT_EQ(after[0x006E] | after[0x006F] << 8, 1);
}

// What the store changes so that the radio can take it is said, as the desktop program says it,
// and counts as something found.
TEST_F(PmrCsvCommandTest, AFrequencyTheStoreMustChangeIsToldAndCounts) {
    Write(Path("odd.csv"), "PMR,Channels\nheader\n1,A,Chan,450.003,450\n");
    const Result r =
        RunCsv({"csv", "import", "--table", "channels", Path("job.pmr"), Path("odd.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("km700rcp-cli: Channel 1 RX frequency not divisable by reference."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("left out"), std::string::npos);
    const auto after = Read(Path("job.pmr"));
    ASSERT_EQ(after.size(), PmrJobImage::kSize);
    EXPECT_EQ(after[0x006E] | after[0x006F] << 8, 1);
}

}  // namespace
}  // namespace km::cli
