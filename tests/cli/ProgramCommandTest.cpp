// km700rcp-cli program and upgrade: their arguments, and round trips through km700sim on a real
// pseudo-terminal: a job programmed with `program` and read back with `read` comes back as it
// was (apart from the bytes the radio never holds), and the radio never sees a write onto flash
// that was not erased.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "CliCommand.h"
#include "ProgramCommand.h"
#include "ProgramFixtures.h"
#include "SimProcess.h"
#include "core/Files.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

TEST(ProgramArgumentsTest, AcceptedCommandLines) {
    struct Case {
        std::vector<std::string> args;
        bool upgrade;
        int comIndex;
        std::string device;
        std::string file;
        std::optional<Answer> answer;
    };
    const Case cases[] = {
        {{"program", "--port", "COM2", "job.tnk"}, false, 1, "", "job.tnk", std::nullopt},
        {{"program", "job.pmr", "--port", "/dev/pts/3", "--yes"},
         false,
         -1,
         "/dev/pts/3",
         "job.pmr",
         Answer::Yes},
        {{"upgrade", "--no", "--port", "COM1", "7ktm630.bin", "--workdir", "/tmp/w"},
         true,
         0,
         "",
         "7ktm630.bin",
         Answer::No},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseProgrammingArguments(c.args);
        ASSERT_TRUE(parsed.arguments) << parsed.error;
        EXPECT_EQ(parsed.arguments->upgrade, c.upgrade);
        EXPECT_EQ(parsed.arguments->comIndex, c.comIndex);
        EXPECT_EQ(parsed.arguments->devicePath, c.device);
        EXPECT_EQ(parsed.arguments->file, c.file);
        EXPECT_EQ(parsed.arguments->answer, c.answer);
    }
    EXPECT_TRUE(ParseProgrammingArguments({"upgrade", "--help"}).help);
}

TEST(ProgramArgumentsTest, RefusedCommandLines) {
    const std::vector<std::vector<std::string>> refused = {
        {"program"},
        {"program", "job.tnk"},
        {"program", "--port", "COM1"},
        {"program", "--port", "COM17", "job.tnk"},
        {"program", "--port", "COM1", "job.tnk", "other.tnk"},
        {"program", "--port", "COM1", "job.tnk", "--yes", "--no"},
        {"upgrade", "--port", "COM1", "code.bin", "--trunk"},
    };
    for (const auto& args : refused) {
        const auto parsed = ParseProgrammingArguments(args);
        EXPECT_FALSE(parsed.arguments) << args.back();
        EXPECT_FALSE(parsed.error.empty());
    }
}

using Output = testing::CliOutput;

class ProgramRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        const auto align = sim::AlignConfigContents();
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", align));
    }
    void TearDown() override { fs::remove_all(workdir_); }

    Output Cli(const QStringList& args) { return testing::RunCli(args, workdir_); }

    QString Put(const std::string& name, std::span<const std::uint8_t> bytes) {
        const fs::path file = workdir_ / name;
        EXPECT_TRUE(WriteFileAtomically(file, bytes));
        return QString::fromStdString(file.string());
    }

    std::vector<std::uint8_t> FileBytes(const std::string& name) const {
        return ReadFileBytes(workdir_ / name, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    std::string SimLog() const {
        const auto bytes = FileBytes("sim.log");
        return std::string(bytes.begin(), bytes.end());
    }

    fs::path workdir_ = testing::TestFolder("km_cli_program_");
    testing::SimProcess sim_{workdir_};
};

TEST_F(ProgramRunTest, TrunkJobProgrammedAndReadBackThroughAPseudoTerminal) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\n"));
    const TrunkJobImage job =
        testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    const Output program = Cli({"program", "--port", "COM1", Put("job.tnk", job.Bytes())});
    ASSERT_EQ(program.exitCode, kExitDone) << program.err;
    const Output read = Cli({"read", "--port", "COM1", "--trunk", "-o",
                             QString::fromStdString((workdir_ / "back.tnk").string())});
    ASSERT_EQ(read.exitCode, kExitDone) << read.err;

    const auto back = FileBytes("back.tnk");
    ASSERT_EQ(back.size(), TrunkJobImage::kSize);
    // The read takes 16383 bytes of the trunk area: the job's last byte does not come back.
    EXPECT_TRUE(std::equal(back.begin(), back.end() - 1, job.Bytes().begin()));
    EXPECT_EQ(SimLog().find("FAULT"), std::string::npos) << SimLog();
}

TEST_F(ProgramRunTest, PmrJobProgrammedAndReadBackThroughAPseudoTerminal) {
    ASSERT_TRUE(sim_.Start("type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n"));
    const PmrJobImage job =
        testing::PatternPmrJob(testing::kHeadHmF, testing::kModeMultiJob, 600, 5, true);
    const Output program = Cli({"program", "--port", "COM1", Put("job.pmr", job.Bytes())});
    ASSERT_EQ(program.exitCode, kExitDone) << program.err;
    const Output read = Cli({"read", "--port", "COM1", "--pmr", "-o",
                             QString::fromStdString((workdir_ / "back.pmr").string())});
    ASSERT_EQ(read.exitCode, kExitDone) << read.err;

    const auto back = FileBytes("back.pmr");
    ASSERT_EQ(back.size(), PmrJobImage::kSize);
    // What the radio holds: the header, the channels and the zones up to their counts.
    const auto same = [&](std::size_t offset, std::size_t size) {
        const auto expected = job.Region(offset, size);
        return std::equal(expected.begin(), expected.end(),
                          back.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    EXPECT_TRUE(same(0, 15660));
    EXPECT_TRUE(same(0x3D2C, 600 * 32));
    EXPECT_TRUE(same(0xEA2C, 5 * 800));
    EXPECT_EQ(SimLog().find("FAULT"), std::string::npos) << SimLog();
}

TEST_F(ProgramRunTest, UpgradeDeclinedOrWronglyNamedLeavesTheRadioAlone) {
    ASSERT_TRUE(sim_.Start("type = 0\n"));
    const auto code = testing::SampleCodeFile(4, "V6.30", 20000, false);
    const QString file = Put("7ks_630.bin", code);
    const Output declined = Cli({"upgrade", "--port", "COM1", file, "--no"});
    EXPECT_EQ(declined.exitCode, kExitFailed);
    EXPECT_NE(declined.err.find("Are you sure you want to upgrade the Radio's StartUp Software?"),
              std::string::npos)
        << declined.err;
    const Output wrongName = Cli({"upgrade", "--port", "COM1", Put("code.Bin", code), "--yes"});
    EXPECT_EQ(wrongName.exitCode, kExitFailed);
    EXPECT_EQ(wrongName.err, std::string(kInvalidCodeExtensionText) + "\n");
    EXPECT_EQ(SimLog().find("EraseRequest"), std::string::npos);

    const Output done = Cli({"upgrade", "--port", "COM1", file, "--yes"});
    EXPECT_EQ(done.exitCode, kExitDone) << done.err;
    EXPECT_NE(SimLog().find("EraseRequest"), std::string::npos);
    EXPECT_EQ(SimLog().find("FAULT"), std::string::npos) << SimLog();
}

}  // namespace
}  // namespace km::cli
