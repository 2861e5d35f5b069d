// km700rcp-cli csv: the trunk phone book of a job to and from a CSV file.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <sstream>

#include "CsvCommand.h"
#include "config/Phonebook.h"
#include "core/Files.h"

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
    Write(Path("in.csv"), "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n3,123,Three\r\n300,1,X\r\n");
    const Result r = RunCsv({"csv", "import", "--table", "phonebook", Path("job.tnk"),
                             Path("in.csv"), "-o", Path("out.tnk")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("1 rows"), std::string::npos) << r.err;
    EXPECT_EQ(Read(Path("job.tnk")), Read(kTemplate));
    EXPECT_EQ(LoadPhonebook(Read(Path("out.tnk")))[3], (PhonebookEntry{"123", "Three"}));
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

}  // namespace
}  // namespace km::cli
