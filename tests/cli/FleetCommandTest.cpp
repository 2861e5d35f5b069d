// km700rcp-cli program and read of many radios at once, against virtual radios on real
// pseudo-terminals: each radio of a sheet holds its own values and the rest of the job byte for
// byte, each backup is what its radio held, and a radio that refuses or is lost part-way fails
// alone while the others finish.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>

#include "CliCommand.h"
#include "FleetCommand.h"
#include "ProgramFixtures.h"
#include "SimProcess.h"
#include "core/Files.h"
#include "fleet/FleetRadio.h"
#include "fleet/Report.h"
#include "tables/SetValues.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

TEST(FleetArgumentsTest, ManyPortsOrAFleetOptionMakeAFleetCommand) {
    EXPECT_FALSE(IsFleetCommand({"program", "--port", "COM1", "job.tnk"}));
    EXPECT_FALSE(IsFleetCommand({"read", "--port", "COM1", "--trunk", "-o", "a.tnk"}));
    EXPECT_FALSE(IsFleetCommand({"dump", "--port", "COM1", "--port", "COM2"}));
    EXPECT_TRUE(IsFleetCommand({"program", "--port", "COM1", "--port", "COM2", "job.tnk"}));
    EXPECT_TRUE(IsFleetCommand({"program", "--port", "COM1", "job.tnk", "--backup", "b"}));
    EXPECT_TRUE(IsFleetCommand({"read", "--port", "COM1", "--port", "/dev/pts/4", "--pmr"}));

    const auto parsed = ParseFleetArguments({"program", "--port", "COM2", "--port", "/dev/pts/9",
                                             "job.tnk", "--sheet", "s.csv", "--sheet-optional",
                                             "--backup", "bk", "--report", "r.csv", "--yes"});
    ASSERT_TRUE(parsed.arguments) << parsed.error;
    ASSERT_EQ(parsed.arguments->ports.size(), 2u);
    EXPECT_EQ(parsed.arguments->ports[0].comIndex, 1);
    EXPECT_EQ(parsed.arguments->ports[1].devicePath, "/dev/pts/9");
    EXPECT_EQ(parsed.arguments->job, "job.tnk");
    EXPECT_TRUE(parsed.arguments->sheetOptional);
    EXPECT_EQ(parsed.arguments->answer, Answer::Yes);

    const std::vector<std::vector<std::string>> refused = {
        {"program", "--port", "COM1", "--port", "COM1", "job.tnk"},
        {"program", "--port", "COM1", "--port", "COM2"},
        {"program", "--port", "COM1", "--port", "COM2", "job.tnk", "--sheet-optional"},
        {"read", "--port", "COM1", "--port", "COM2", "--trunk"},
        {"read", "--port", "COM1", "--port", "COM2", "-o", "d"},
        {"read", "--port", "COM1", "--port", "COM2", "--trunk", "-o", "d", "--sheet", "s.csv"},
        {"program", "--port", "COM99", "--port", "COM2", "job.tnk"},
    };
    for (const auto& args : refused) {
        EXPECT_FALSE(ParseFleetArguments(args).arguments) << args.back();
    }
}

struct Output {
    int exitCode;
    std::string out;
    std::string err;
};

class FleetRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "FIT000101.bin", sim::FitFileContents()));
    }
    void TearDown() override {
        sims_.clear();
        fs::remove_all(workdir_);
    }

    // A virtual radio process (or several radios with --count) in a folder of its own; the
    // devices it serves.
    std::vector<std::string> Serve(const std::string& profile, const QStringList& options = {}) {
        const fs::path folder = workdir_ / ("sim" + std::to_string(sims_.size()));
        fs::create_directories(folder);
        sims_.push_back(std::make_unique<testing::SimProcess>(folder));
        if (!sims_.back()->Start(profile, options)) {
            return {};
        }
        return sims_.back()->DevicePaths();
    }

    Output Cli(QStringList args) {
        args << "--workdir" << Path(workdir_);
        QProcess process;
        process.start(QString::fromUtf8(KM_CLI_PROGRAM), args);
        if (!process.waitForFinished(180000)) {
            process.kill();
            process.waitForFinished();
            return {-1, "", "timed out"};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    QString Put(const std::string& name, std::span<const std::uint8_t> bytes) {
        const fs::path file = workdir_ / name;
        EXPECT_TRUE(WriteFileAtomically(file, bytes));
        return Path(file);
    }
    QString PutText(const std::string& name, const std::string& text) {
        return Put(name,
                   std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    std::vector<std::uint8_t> FileBytes(const fs::path& file) const {
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }
    static QString Path(const fs::path& path) { return QString::fromStdString(path.string()); }

    static QStringList Ports(const std::vector<std::string>& devices) {
        QStringList ports;
        for (const std::string& device : devices) {
            ports << "--port" << QString::fromStdString(device);
        }
        return ports;
    }

    fs::path workdir_ = testing::TestFolder("km_cli_fleet_");
    std::vector<std::unique_ptr<testing::SimProcess>> sims_;
};

TEST_F(FleetRunTest, ThreeRadiosTakeTheirOwnValuesAfterABackupOfWhatEachHeld) {
    const auto devices = Serve("type = 0\ntrunk_job = yes\n", {"--count", "3"});
    ASSERT_EQ(devices.size(), 3u);
    const QStringList ports = Ports(devices);

    // What the radios hold before, read all at once.
    const Output before =
        Cli(QStringList{"read", "--trunk", "-o", Path(workdir_ / "before")} + ports);
    ASSERT_EQ(before.exitCode, kExitDone) << before.err;

    const TrunkJobImage job =
        testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    const char* kSerials[] = {"VIRTUAL-0000001", "VIRTUAL-0000002", "VIRTUAL-0000003"};
    const QString sheet = PutText("sheet.csv",
                                  "serial,header.description,n1.identities.own.ident\r\n"
                                  "VIRTUAL-0000003,\"Van 3, north\",303\r\n"
                                  "VIRTUAL-0000001,Van 1,101\r\n"
                                  "VIRTUAL-0000002,Van 2,\r\n");
    const Output program =
        Cli(QStringList{"program", Put("fleet.tnk", job.Bytes()), "--sheet", sheet, "--backup",
                        Path(workdir_ / "backup"), "--report", Path(workdir_ / "report.csv")} +
            ports);
    ASSERT_EQ(program.exitCode, kExitDone) << program.err << program.out;
    for (const char* serial : kSerials) {
        EXPECT_NE(program.out.find(serial), std::string::npos) << program.out;
    }

    const Output after =
        Cli(QStringList{"read", "--trunk", "-o", Path(workdir_ / "after")} + ports);
    ASSERT_EQ(after.exitCode, kExitDone) << after.err;
    const std::vector<std::vector<tables::FieldChange>> values = {
        {{"header.description", "Van 1"}, {"n1.identities.own.ident", "101"}},
        {{"header.description", "Van 2"}},
        {{"header.description", "Van 3, north"}, {"n1.identities.own.ident", "303"}},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(kSerials[i]);
        TrunkJobImage expected = job;
        ASSERT_FALSE(tables::ApplyChanges(fields::ImageId::Trunk, expected.Bytes(), values[i]));
        const auto back = FileBytes(workdir_ / "after" / (std::string(kSerials[i]) + ".tnk"));
        ASSERT_EQ(back.size(), TrunkJobImage::kSize);
        // The read takes 16383 bytes of the trunk area: the job's last byte does not come back.
        EXPECT_TRUE(std::equal(back.begin(), back.end() - 1, expected.Bytes().begin()));

        std::vector<fs::path> backups;
        for (const auto& entry : fs::directory_iterator(workdir_ / "backup")) {
            if (entry.path().filename().string().starts_with(kSerials[i])) {
                backups.push_back(entry.path());
            }
        }
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_EQ(backups[0].extension(), ".tnk");
        EXPECT_EQ(FileBytes(backups[0]),
                  FileBytes(workdir_ / "before" / (std::string(kSerials[i]) + ".tnk")));
    }

    const auto report = FileBytes(workdir_ / "report.csv");
    const std::string text(report.begin(), report.end());
    EXPECT_TRUE(text.starts_with(std::string(fleet::kReportHeader) + "\r\n")) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_NE(text.find(",VIRTUAL-0000002,KM700 mobile Rev 8,done,"), std::string::npos) << text;
}

TEST_F(FleetRunTest, ARefusingRadioAndALostOneFailAloneWhileTheOthersFinish) {
    const auto good = Serve("type = 0\ntrunk_job = yes\n", {"--count", "2"});
    const auto wrongBand =
        Serve("type = 0\ntrunk_job = yes\nband = B2\nserial_number = VIRTUAL-BAND\n");
    const auto lost = Serve("type = 0\ntrunk_job = yes\nserial_number = VIRTUAL-LOST\n",
                            {"--silence-after", "40"});
    ASSERT_EQ(good.size(), 2u);
    ASSERT_EQ(wrongBand.size(), 1u);
    ASSERT_EQ(lost.size(), 1u);
    const TrunkJobImage job =
        testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    const QString sheet = PutText("sheet.csv",
                                  "serial,header.description\n"
                                  "VIRTUAL-0000001,Van 1\n"
                                  "VIRTUAL-BAND,Van 9\n");
    const Output program =
        Cli(QStringList{"program", Put("fleet.tnk", job.Bytes()), "--sheet", sheet,
                        "--sheet-optional", "--report", Path(workdir_ / "report.csv")} +
            Ports({good[0], wrongBand[0], good[1], lost[0]}));
    EXPECT_EQ(program.exitCode, kExitFailed) << program.err;

    const auto report = FileBytes(workdir_ / "report.csv");
    const std::string text(report.begin(), report.end());
    const auto lineOf = [&text](const std::string& serial) {
        const auto at = text.find("," + serial + ",");
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_NE(lineOf("VIRTUAL-0000001").find(",done,"), std::string::npos) << text;
    EXPECT_NE(lineOf("VIRTUAL-0000002").find(",done,"), std::string::npos) << text;
    EXPECT_NE(lineOf("VIRTUAL-BAND").find(",failed,"), std::string::npos) << text;
    EXPECT_NE(lineOf("VIRTUAL-BAND").find("Incorrect Frequency Band"), std::string::npos) << text;
    EXPECT_NE(lineOf("VIRTUAL-LOST").find(",failed,"), std::string::npos) << text;
    EXPECT_EQ(lineOf("VIRTUAL-LOST").find(",failed,,"), std::string::npos)
        << "a lost radio is reported with a message: " << text;
}

TEST_F(FleetRunTest, ARadioWithoutASheetRowOrWithARefusedValueFailsBeforeAnyErase) {
    const auto devices = Serve("type = 0\ntrunk_job = yes\n", {"--count", "2"});
    ASSERT_EQ(devices.size(), 2u);
    const TrunkJobImage job =
        testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    const QString sheet = PutText("sheet.csv",
                                  "serial,n1.identities.own.prefix\n"
                                  "VIRTUAL-0000001,500\n");
    const Output program = Cli(
        QStringList{"program", Put("fleet.tnk", job.Bytes()), "--sheet", sheet} + Ports(devices));
    EXPECT_EQ(program.exitCode, kExitFailed);
    EXPECT_NE(program.out.find("sheet line 2: n1.identities.own.prefix: Value out of range."),
              std::string::npos)
        << program.out;
    EXPECT_NE(program.out.find(fleet::kNoSheetRowText), std::string::npos) << program.out;
    EXPECT_EQ(program.err.find("Erasing"), std::string::npos) << program.err;
}

}  // namespace
}  // namespace km::cli
