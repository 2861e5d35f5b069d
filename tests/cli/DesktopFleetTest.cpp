// File > Program Several Radios... driven over two virtual radios: the dialog lists the ports as
// the COM Port dialog does, programs both at once with their own values from a sheet after a
// backup of each, shows each radio's serial number, result and time, saves the report, and its
// Cancel stops every radio.

#include <gtest/gtest.h>

#include <QAction>
#include <QProgressBar>
#include <filesystem>
#include <memory>

#include "EventWait.h"
#include "MainForm.h"
#include "ProgramFixtures.h"
#include "ShellFixtures.h"
#include "SimProcess.h"
#include "core/Files.h"
#include "fleet/Report.h"
#include "radio/FleetDialog.h"
#include "sim/RadioMemory.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

class DesktopFleetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        for (const char* templateName : {"default.tct", "default.cct"}) {
            fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / templateName, workdir_ / templateName);
        }
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
        const TrunkJobImage job =
            testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "fleet.tnk", job.Bytes()));
        const std::string sheet =
            "serial,header.description\nVIRTUAL-0000001,Car 1\nVIRTUAL-0000002,Car 2\n";
        ASSERT_TRUE(WriteFileAtomically(
            workdir_ / "sheet.csv",
            std::span(reinterpret_cast<const std::uint8_t*>(sheet.data()), sheet.size())));
    }
    void TearDown() override { fs::remove_all(workdir_); }

    // Opens the dialog from the File menu and runs `drive` on it while it is up.
    void RunDialog(const std::function<void(FleetDialog&)>& drive) {
        TForm_MF_MainForm window(*workspace_, state_, person_, dialogs_, workdir_);
        window.show();
        bool driven = false;
        dialogs_.modal.push_back([&](QDialog& dialog) {
            auto* fleet = qobject_cast<FleetDialog*>(&dialog);
            EXPECT_NE(fleet, nullptr);
            if (fleet != nullptr) {
                fleet->show();
                drive(*fleet);
                driven = true;
            }
            return static_cast<int>(QDialog::Accepted);
        });
        QAction* item = window.findChild<QAction*>("ProgramSeveral1");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), "Program Several Radios...");
        item->trigger();
        EXPECT_TRUE(driven);
    }

    static void ChooseTwoPortsAndTheJob(FleetDialog& dialog, const fs::path& workdir) {
        ASSERT_GE(dialog.ports.count(), 2);
        for (int i = 0; i < 2; ++i) {
            // Each COM number with the device it leads to.
            EXPECT_TRUE(dialog.ports.item(i)->text().contains("/dev/")) << i;
            dialog.ports.item(i)->setCheckState(Qt::Checked);
        }
        EXPECT_FALSE(dialog.openJobButton.isEnabled());  // no job is open
        dialog.fileJobButton.setChecked(true);
        dialog.jobFile.setText(QString::fromStdString((workdir / "fleet.tnk").string()));
    }

    fs::path workdir_ = testing::TestFolder("km_desktop_fleet_");
    testing::SimProcess sim_{workdir_};
    testing::ShellPerson person_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
};

TEST_F(DesktopFleetTest, TwoRadiosAreProgrammedAtOnceWithTheirOwnValuesAndTheReportIsSaved) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\n", {"--count", "2"}));
    RunDialog([&](FleetDialog& dialog) {
        ChooseTwoPortsAndTheJob(dialog, workdir_);
        dialog.sheetFile.setText(QString::fromStdString((workdir_ / "sheet.csv").string()));
        dialog.backupFolder.setText(QString::fromStdString((workdir_ / "backup").string()));
        dialog.startButton.click();
        EXPECT_TRUE(dialog.Running());
        EXPECT_FALSE(dialog.startButton.isEnabled());
        EXPECT_TRUE(dialog.cancelButton.isEnabled());
        ASSERT_TRUE(WaitFor([&] { return dialog.Finished(); }, 120000));

        ASSERT_EQ(dialog.table.rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(dialog.table.item(row, 0)->text(), QString("COM%1").arg(row + 1));
            EXPECT_EQ(dialog.table.item(row, 1)->text(), QString("VIRTUAL-000000%1").arg(row + 1));
            EXPECT_EQ(dialog.table.item(row, 5)->text(), "done")
                << dialog.table.item(row, 4)->text().toStdString();
            EXPECT_TRUE(dialog.table.item(row, 6)->text().endsWith(" s"));
            auto* bar = qobject_cast<QProgressBar*>(dialog.table.cellWidget(row, 3));
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(bar->value(), 100);
        }
        EXPECT_EQ(
            std::distance(fs::directory_iterator(workdir_ / "backup"), fs::directory_iterator()),
            2);

        dialogs_.saveAnswers.push_back(QString::fromStdString((workdir_ / "report.csv").string()));
        EXPECT_TRUE(dialog.saveReportButton.isEnabled());
        dialog.saveReportButton.click();
        const auto report = ReadFileBytes(workdir_ / "report.csv", 1 << 16);
        ASSERT_TRUE(report);
        const std::string text(report->begin(), report->end());
        EXPECT_TRUE(text.starts_with(fleet::kReportHeader)) << text;
        EXPECT_NE(text.find("COM2,VIRTUAL-0000002,KM700 mobile Rev 8,done,"), std::string::npos)
            << text;

        const QString screenshot = qEnvironmentVariable("KM_FLEET_SCREENSHOT");
        if (!screenshot.isEmpty()) {
            dialog.grab().save(screenshot);
        }
    });
    EXPECT_EQ(person_.shown.size(), 0u) << person_.Texts().front();
}

TEST_F(DesktopFleetTest, CancelStopsEveryRadio) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\n", {"--count", "2", "--realistic"}));
    RunDialog([&](FleetDialog& dialog) {
        ChooseTwoPortsAndTheJob(dialog, workdir_);
        dialog.startButton.click();
        // Cancel once both radios are being programmed (their erases take 3 s each).
        ASSERT_TRUE(WaitFor(
            [&] {
                return dialog.table.item(0, 4)->text().startsWith("Programming") &&
                       dialog.table.item(1, 4)->text().startsWith("Programming");
            },
            60000));
        dialog.cancelButton.click();
        ASSERT_TRUE(WaitFor([&] { return dialog.Finished(); }, 60000));
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(dialog.table.item(row, 5)->text(), "failed");
        }
        EXPECT_TRUE(dialog.startButton.isEnabled());
    });
}

}  // namespace
}  // namespace km
