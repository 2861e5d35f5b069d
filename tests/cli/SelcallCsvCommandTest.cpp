// km700rcp-cli csv: the PMR phone book and status list of a job to and from CSV files.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <sstream>

#include "CsvCommand.h"
#include "core/Files.h"
#include "pmr/SclMap.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kTemplate = fs::path(KM_SOURCE_DIR) / "data" / "default.cct";

struct Result {
    int code;
    std::string err;
};

Result RunCsv(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = CsvMain(args, out, err);
    return {code, err.str()};
}

std::vector<std::uint8_t> Read(const fs::path& file) {
    return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
}

void Write(const fs::path& file, std::string_view text) {
    ASSERT_TRUE(WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

class SelcallCsvCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        fs::copy_file(kTemplate, Path("job.pmr"));
        fs::copy_file(kTemplate, Path("other.pmr"));
    }
    std::string Path(const char* name) const {
        return (fs::path(dir.path().toStdString()) / name).string();
    }
    QTemporaryDir dir;
};

TEST_F(SelcallCsvCommandTest, BothTablesGoOutAndComeBackIntoAnotherJobByteForByte) {
    std::vector<std::uint8_t> job = Read(Path("job.pmr"));
    std::vector<pmr::SelcallPhonebookEntry> book(250);
    book[0] = {"Head Office", "12345678901234567890"};
    book[249] = {"Last", "ABCDEF"};
    pmr::StoreSelcallPhonebook(job, book);
    std::vector<pmr::StatusEntry> list(100);
    list[0] = {"At the depot, loading", "1"};
    list[99] = {"Twenty-four characters!!", "9E01"};
    pmr::StoreStatusList(job, list);
    ASSERT_TRUE(WriteFileAtomically(Path("job.pmr"), job));

    for (const char* table : {"pmr-phonebook", "status"}) {
        ASSERT_EQ(RunCsv({"csv", "export", "--table", table, Path("job.pmr"), Path("a.csv")}).code,
                  0);
        const Result r =
            RunCsv({"csv", "import", "--table", table, Path("other.pmr"), Path("a.csv")});
        ASSERT_EQ(r.code, 0) << r.err;
    }
    // The comma of a message became a blank: the file format has no quoting.
    EXPECT_EQ(pmr::LoadStatusList(Read(Path("other.pmr")))[0].message, "At the depot  loading");
    list[0].message = "At the depot  loading";
    pmr::StoreStatusList(job, list);
    EXPECT_EQ(Read(Path("other.pmr")), job);
}

TEST_F(SelcallCsvCommandTest, RowsBeyondTheListAreLeftOutAndCounted) {
    std::string file = "PMR,StatusList\r\nIndex, Message, Status Number,\r\n";
    for (int i = 1; i <= 102; ++i) {
        file += std::to_string(i) + ",Row,1\r\n";
    }
    Write(Path("in.csv"), file);
    const Result r = RunCsv({"csv", "import", "--table", "status", Path("job.pmr"), Path("in.csv"),
                             "-o", Path("out.pmr")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("2 rows"), std::string::npos) << r.err;
    EXPECT_EQ(pmr::LoadStatusList(Read(Path("out.pmr")))[99], (pmr::StatusEntry{"Row", "1"}));
    EXPECT_EQ(Read(Path("job.pmr")), Read(kTemplate));
}

TEST_F(SelcallCsvCommandTest, AFileOrJobOfAnotherKindChangesNothing) {
    Write(Path("trunk.csv"), "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n0,123,Base\r\n");
    const Result r =
        RunCsv({"csv", "import", "--table", "pmr-phonebook", Path("job.pmr"), Path("trunk.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("File does not contain a valid Phonebook."), std::string::npos);
    EXPECT_EQ(Read(Path("job.pmr")), Read(kTemplate));
    fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / "default.tct", Path("job.tnk"));
    EXPECT_EQ(RunCsv({"csv", "export", "--table", "status", Path("job.tnk")}).code, 2);
}

}  // namespace
}  // namespace km::cli
