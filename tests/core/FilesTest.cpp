#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/Files.h"

namespace km {
namespace {
namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("km_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(FilesTest, ReadStopsAtTheLimitAndReportsMissingFiles) {
    const std::vector<std::uint8_t> bytes(100, 7);
    ASSERT_TRUE(WriteFileAtomically(dir_ / "a.bin", bytes));
    auto read = ReadFileBytes(dir_ / "a.bin", 40);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), 40u);
    EXPECT_FALSE(ReadFileBytes(dir_ / "missing.bin", 40).has_value());
    EXPECT_FALSE(ReadFileBytes(dir_, 40).has_value());
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::vector<std::uint8_t> old(10, 1);
    ASSERT_TRUE(WriteFileAtomically(dir_ / "job.tnk", old));
    // A directory in place of the target makes the rename fail.
    fs::create_directories(dir_ / "blocked");
    fs::create_directories(dir_ / "blocked" / "inner");
    EXPECT_FALSE(WriteFileAtomically(dir_ / "blocked", old));
    EXPECT_FALSE(WriteFileAtomically(dir_ / "no" / "such" / "folder.tnk", old));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) {
        ++files;
    }
    EXPECT_EQ(files, 2);  // job.tnk and blocked
    EXPECT_EQ(*ReadFileBytes(dir_ / "job.tnk", 100), old);
}

TEST_F(FilesTest, FindsDataFilesWhateverTheirLetterCase) {
    std::ofstream(dir_ / "DEFAULT.TCT") << "x";
    EXPECT_EQ(FindFileIgnoringCase(dir_, "default.tct"), dir_ / "DEFAULT.TCT");
    EXPECT_EQ(FindFileIgnoringCase(dir_, "none.bin"), dir_ / "none.bin");
}

}  // namespace
}  // namespace km
