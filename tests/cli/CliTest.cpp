// km700rcp-cli: its arguments, and whole runs against the virtual radio served by km700sim on a
// real pseudo-terminal; the job file written must equal the radio's content after the unpack.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "CliCommand.h"
#include "RadioContent.h"
#include "SimProcess.h"
#include "core/Files.h"
#include "link/DataLink.h"
#include "radio/Operation.h"
#include "radio/RadioIdentity.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

TEST(CliArgumentsTest, AcceptedCommandLines) {
    struct Case {
        std::vector<std::string> args;
        Command command;
        int comIndex;
        std::string device;
        bool pmr;
        std::string output;
        std::string workdir;
    };
    const Case cases[] = {
        {{"info", "--port", "COM1"}, Command::Info, 0, "", false, "", "."},
        {{"info", "--port", "com16", "--workdir", "/tmp/w"},
         Command::Info,
         15,
         "",
         false,
         "",
         "/tmp/w"},
        {{"read", "--trunk", "--port", "COM3", "-o", "a.tnk"},
         Command::Read,
         2,
         "",
         false,
         "a.tnk",
         "."},
        {{"read", "--port", "/dev/ttyUSB0", "--pmr", "--output", "b.pmr"},
         Command::Read,
         -1,
         "/dev/ttyUSB0",
         true,
         "b.pmr",
         "."},
        {{"--help"}, Command::Help, -1, "", false, "", "."},
        {{"read", "--help"}, Command::Help, -1, "", false, "", "."},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseArguments(c.args);
        ASSERT_TRUE(parsed.arguments) << c.args[0] << ": " << parsed.error;
        EXPECT_EQ(parsed.arguments->command, c.command);
        if (c.command == Command::Help) {
            continue;
        }
        EXPECT_EQ(parsed.arguments->comIndex, c.comIndex);
        EXPECT_EQ(parsed.arguments->devicePath, c.device);
        EXPECT_EQ(parsed.arguments->pmr, c.pmr);
        EXPECT_EQ(parsed.arguments->output, c.output);
        EXPECT_EQ(parsed.arguments->workdir, c.workdir);
    }
}

TEST(CliArgumentsTest, RefusedCommandLines) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"program"},
        {"info"},
        {"info", "--port"},
        {"info", "--port", "COM0"},
        {"info", "--port", "COM17"},
        {"info", "--port", "COMX"},
        {"info", "--port", "ttyS0"},
        {"info", "--port", "COM1", "--trunk"},
        {"read", "--port", "COM1", "-o", "a.tnk"},
        {"read", "--port", "COM1", "--trunk", "--pmr", "-o", "a.tnk"},
        {"read", "--port", "COM1", "--trunk"},
        {"read", "--port", "COM1", "--trunk", "-o", "a.tnk", "extra"},
    };
    for (const auto& args : refused) {
        const auto parsed = ParseArguments(args);
        EXPECT_FALSE(parsed.arguments) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(CliPortTest, ADevicePathIsOpenedAsItIsAndACOMNumberThroughTheWorkingDirectory) {
    const fs::path workdir = fs::temp_directory_path() / "km_cli_port_resolver";
    fs::create_directories(workdir);
    const std::string config = "COM2=/dev/km-mapped\n";
    ASSERT_TRUE(WriteFileAtomically(
        workdir / "comports.cfg",
        std::span(reinterpret_cast<const std::uint8_t*>(config.data()), config.size())));
    EXPECT_EQ(PortResolver("/dev/pts/7", workdir)(1), "/dev/pts/7");
    EXPECT_EQ(PortResolver("", workdir)(1), "/dev/km-mapped");
    fs::remove_all(workdir);
}

struct Output {
    int exitCode;
    std::string out;
    std::string err;
};

Output RunProgram(const char* program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(QString::fromUtf8(program), args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, "", "timed out"};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

// The virtual radio on a pseudo-terminal, pointed at by COM1 of a scratch working directory.
class CliRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
    }

    void TearDown() override { fs::remove_all(workdir_); }

    void StartSim(const std::string& profileText) {
        ASSERT_TRUE(sim_.Start(profileText));
        profile_ = sim_.profile;
    }

    Output Cli(QStringList args) {
        args << "--workdir" << QString::fromStdString(workdir_.string());
        return RunProgram(KM_CLI_PROGRAM, args, 60000);
    }

    std::vector<std::uint8_t> FileBytes(const fs::path& file) const {
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    fs::path workdir_ = testing::TestFolder("km_cli_");
    testing::SimProcess sim_{workdir_};
    sim::Profile profile_;
};

TEST_F(CliRunTest, ReadsATrunkJob) {
    StartSim("type = 4\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n");
    const fs::path job = workdir_ / "radio.tnk";
    const Output run =
        Cli({"read", "--port", "COM1", "--trunk", "-o", QString::fromStdString(job.string())});
    ASSERT_EQ(run.exitCode, kExitDone) << run.err;
    const TrunkJobImage expected = testing::TrunkJobOf(profile_, sim::BuildRadioMemory(profile_));
    const auto bytes = FileBytes(job);
    ASSERT_EQ(bytes.size(), TrunkJobImage::kSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.Bytes().begin()));
}

TEST_F(CliRunTest, ReadsAPmrJobOfARadioWithoutTable) {
    StartSim("type = 0\npmr_channels = 530\npmr_encodes = 5\npmr_group_b = 2\n");
    const fs::path job = workdir_ / "radio.pmr";
    const Output run =
        Cli({"read", "--port", "COM1", "--pmr", "-o", QString::fromStdString(job.string())});
    ASSERT_EQ(run.exitCode, kExitDone) << run.err;
    const PmrJobImage expected =
        testing::PmrJobOf(profile_, sim::BuildRadioMemory(profile_), PmrJobImage{}, false);
    const auto bytes = FileBytes(job);
    ASSERT_EQ(bytes.size(), PmrJobImage::kSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.Bytes().begin()));
}

TEST_F(CliRunTest, InfoPrintsTheReportAndWritesRadInfo) {
    StartSim("type = 8\nserial_number = CLI-TEST-01\n");
    const Output run = Cli({"info", "--port", "COM1"});
    ASSERT_EQ(run.exitCode, kExitDone) << run.err;
    EXPECT_NE(run.out.find("Serial No:\tCLI-TEST-01 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ESN:\t\t10/3/16389 "), std::string::npos);
    const auto file = FileBytes(workdir_ / "RadInfo.txt");
    std::string crlf;
    for (char c : run.out) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(std::string(file.begin(), file.end()), crlf);
}

TEST_F(CliRunTest, FailuresPrintTheirMessageAndExitNonZero) {
    StartSim("type = 16\ntrunk_job = yes\n");
    const fs::path job = workdir_ / "secure.tnk";
    const Output secure =
        Cli({"read", "--port", "COM1", "--trunk", "-o", QString::fromStdString(job.string())});
    EXPECT_EQ(secure.exitCode, kExitFailed);
    EXPECT_NE(secure.err.find(std::string(kInvalidRadioText) + "\n"), std::string::npos);
    EXPECT_NE(secure.err.find(std::string(kNothingToReadTrunkText) + "\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(job));

    const Output missing = Cli({"info", "--port", "/dev/km-no-such-port"});
    EXPECT_EQ(missing.exitCode, kExitFailed);
    EXPECT_EQ(missing.err, std::string(kPortDoesNotExistText) + "\n");

    const Output usage = RunProgram(KM_CLI_PROGRAM, {"read", "--port", "COM1"}, 10000);
    EXPECT_EQ(usage.exitCode, kExitUsage);
    EXPECT_NE(usage.err.find("Usage: km700rcp-cli"), std::string::npos);

    const Output help = RunProgram(KM_CLI_PROGRAM, {"--help"}, 10000);
    EXPECT_EQ(help.exitCode, kExitDone);
    EXPECT_EQ(help.out, kUsageText);
}

}  // namespace
}  // namespace km::cli
