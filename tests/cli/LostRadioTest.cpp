// A radio that goes away in the middle of a command (switched off, its cable pulled out): the
// virtual radio closes its pseudo-terminal at the moment its own log names, and km700rcp-cli
// ends by itself, non-zero, with the communications failure message, whatever the step was.
// A radio whose programming or upgrade was cut off is programmed again from the start and then
// holds the job.

#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <string>

#include "CliCommand.h"
#include "ProgramFixtures.h"
#include "SimProcess.h"
#include "core/Files.h"
#include "link/DataLink.h"
#include "sim/RadioMemory.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

// How long a command may take at most to notice a lost radio and end: the link gives up within
// about 10 s; this only keeps a hanging command from hanging the test run.
constexpr int kCommandEndsWithinMs = 60000;

class LostRadioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
        const fs::path codes = fs::path(KM_SOURCE_DIR) / "sim" / "data" / "Radio_SW";
        fs::copy(codes, workdir_ / "Radio_SW");
    }
    void TearDown() override { fs::remove_all(workdir_); }

    testing::CliOutput Cli(const QStringList& args) {
        return testing::RunCli(args, workdir_, kCommandEndsWithinMs);
    }

    QString Put(const std::string& name, std::span<const std::uint8_t> bytes) {
        const fs::path file = workdir_ / name;
        EXPECT_TRUE(WriteFileAtomically(file, bytes));
        return QString::fromStdString(file.string());
    }
    QString Path(const std::string& name) const {
        return QString::fromStdString((workdir_ / name).string());
    }

    std::string SimLog() const {
        const auto bytes = ReadFileBytes(workdir_ / "sim.log", 1 << 24);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    fs::path workdir_ = testing::TestFolder("km_cli_lost_");
};

constexpr const char* kTrunkRadio = "type = 0\ntrunk_job = yes\n";
constexpr const char* kPmrRadio = "type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n";

enum class Job { ReadTrunk, ReadPmr, Info, ProgramTrunk, ProgramPmr, Upgrade };

struct Moment {
    const char* name;
    Job job;
    const char* radio;   // the profile
    const char* goneAt;  // the radio's log line it goes away at
};

QStringList CommandOf(Job job, const QString& trunkJob, const QString& pmrJob,
                      const QString& codeFile, const QString& output) {
    switch (job) {
        case Job::ReadTrunk:
            return {"read", "--port", "COM1", "--trunk", "-o", output};
        case Job::ReadPmr:
            return {"read", "--port", "COM1", "--pmr", "-o", output};
        case Job::Info:
            return {"info", "--port", "COM1"};
        case Job::ProgramTrunk:
            return {"program", "--port", "COM1", trunkJob, "--yes"};
        case Job::ProgramPmr:
            return {"program", "--port", "COM1", pmrJob, "--yes"};
        case Job::Upgrade:
            return {"upgrade", "--port", "COM1", codeFile, "--yes"};
    }
    return {};
}

// One moment of every kind of step a radio command takes.
TEST_F(LostRadioTest, RadioLostAtAnyStepEndsTheCommandWithTheMessage) {
    const Moment moments[] = {
        {"identification", Job::ReadTrunk, kTrunkRadio, "IdentifyRequest"},
        {"Flash Index Table read", Job::ReadTrunk, kTrunkRadio, "ReadRequest block 7 "},
        {"trunk data read", Job::ReadTrunk, kTrunkRadio, "ReadRequest block 576 "},
        {"phone book check", Job::ReadTrunk, kTrunkRadio, "ReadRequest block 1965 "},
        {"PMR data read", Job::ReadPmr, kPmrRadio, "ReadRequest block 1760 "},
        {"band record read", Job::ProgramTrunk, kTrunkRadio, "ReadRequest block 8 "},
        {"radio type check", Job::ProgramTrunk, kTrunkRadio, "InfoRequest item 6"},
        {"software head read", Job::ProgramTrunk, kTrunkRadio, "ReadRequest block 896 "},
        {"erase", Job::ProgramTrunk, kTrunkRadio, "EraseRequest sector 7"},
        {"code piece", Job::ProgramTrunk, kTrunkRadio, "write of 128 data blocks to block 928"},
        {"overlay", Job::ProgramTrunk, kTrunkRadio, "write of 128 data blocks to block 1024"},
        {"startup code", Job::ProgramTrunk, kTrunkRadio, "write of 30 data blocks to block 416"},
        {"PMR areas read", Job::ProgramTrunk, kTrunkRadio, "ReadRequest block 512 size 512"},
        {"configuration write", Job::ProgramTrunk, kTrunkRadio,
         "write of 128 data blocks to block 576"},
        {"PMR erase", Job::ProgramPmr, kPmrRadio, "EraseRequest sector 13"},
        {"PMR channel write", Job::ProgramPmr, kPmrRadio, "write of 123 data blocks to block 1760"},
        {"upgrade code piece", Job::Upgrade, kTrunkRadio, "write of 128 data blocks to block 928"},
        {"upgrade overlay", Job::Upgrade, kTrunkRadio, "write of 128 data blocks to block 1024"},
        {"Radio Information", Job::Info, kTrunkRadio, "ReadRequest block 256 "},
    };
    const QString trunkJob =
        Put("job.tnk",
            testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true).Bytes());
    const QString pmrJob = Put(
        "job.pmr",
        testing::PatternPmrJob(testing::kHeadHmF, testing::kModeMultiJob, 600, 5, true).Bytes());
    const QString codeFile = Path("Radio_SW/7ktm630.bin");
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.name);
        fs::remove(workdir_ / "sim.log");
        testing::SimProcess sim(workdir_);
        ASSERT_TRUE(sim.Start(moment.radio, {"--gone-at", moment.goneAt}));
        const testing::CliOutput run =
            Cli(CommandOf(moment.job, trunkJob, pmrJob, codeFile, Path("back.job")));
        EXPECT_EQ(run.exitCode, kExitFailed) << run.err;
        EXPECT_NE(run.err.find(kSerialCommsErrorText), std::string::npos) << run.err;
        EXPECT_NE(SimLog().find("the radio goes away"), std::string::npos) << SimLog();
        EXPECT_TRUE(sim.WaitUntilStopped());
        EXPECT_FALSE(fs::exists(workdir_ / "back.job"));
    }
}

// A radio cut off while it was programmed or upgraded keeps what it had at that moment (its
// memory is saved as the radio goes away and served again). The same command run again from the
// start programs it, never writing onto flash that was not erased, and the radio then holds the
// job.
TEST_F(LostRadioTest, RadioCutOffWhileProgrammedIsProgrammedAgainFromTheStart) {
    const struct {
        const char* name;
        Job job;
        const char* goneAt;
    } cuts[] = {
        {"trunk code, in the middle of a write", Job::ProgramTrunk,
         "WriteBlock sequence 60 length 128"},
        {"trunk code, between its pieces", Job::ProgramTrunk,
         "write of 128 data blocks to block 928"},
        {"startup code", Job::ProgramTrunk, "write of 30 data blocks to block 416"},
        {"configuration", Job::ProgramTrunk, "write of 128 data blocks to block 576"},
        {"upgrade overlay", Job::Upgrade, "write of 128 data blocks to block 1024"},
    };
    const TrunkJobImage job =
        testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    const QString jobFile = Put("job.tnk", job.Bytes());
    const QString codeFile = Path("Radio_SW/7ktm630.bin");
    const QString memory = Path("memory.bin");
    const QString back = Path("back.tnk");
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.name);
        fs::remove(workdir_ / "sim.log");
        fs::remove(workdir_ / "memory.bin");
        fs::remove(workdir_ / "back.tnk");
        const QStringList command = CommandOf(cut.job, jobFile, {}, codeFile, {});
        {
            testing::SimProcess sim(workdir_);
            ASSERT_TRUE(sim.Start(kTrunkRadio, {"--gone-at", cut.goneAt, "--save", memory}));
            EXPECT_EQ(Cli(command).exitCode, kExitFailed);
            ASSERT_TRUE(sim.WaitUntilStopped());
        }
        ASSERT_TRUE(fs::exists(workdir_ / "memory.bin"));
        testing::SimProcess sim(workdir_);
        ASSERT_TRUE(sim.Start(kTrunkRadio, {"--load", memory}));
        const testing::CliOutput again = Cli(command);
        ASSERT_EQ(again.exitCode, kExitDone) << again.err;
        if (cut.job == Job::Upgrade) {
            const testing::CliOutput program =
                Cli(CommandOf(Job::ProgramTrunk, jobFile, {}, {}, {}));
            ASSERT_EQ(program.exitCode, kExitDone) << program.err;
        }
        const testing::CliOutput read = Cli(CommandOf(Job::ReadTrunk, {}, {}, {}, back));
        ASSERT_EQ(read.exitCode, kExitDone) << read.err;
        const auto bytes = ReadFileBytes(workdir_ / "back.tnk", 1 << 20);
        ASSERT_TRUE(bytes);
        ASSERT_EQ(bytes->size(), TrunkJobImage::kSize);
        // The read takes 16383 bytes of the trunk area: the job's last byte does not come back.
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end() - 1, job.Bytes().begin()));
        EXPECT_EQ(SimLog().find("FAULT"), std::string::npos) << SimLog();
    }
}

}  // namespace
}  // namespace km::cli
