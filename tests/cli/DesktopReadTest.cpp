// The desktop program's Read Radio (offscreen): the radio commands on the Qt serial port and
// timers read a trunk and a PMR job from km700sim on a real pseudo-terminal, and the job file
// that Save writes equals the radio's content after the unpack.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "EventWait.h"
#include "MainForm.h"
#include "RadioContent.h"
#include "ScriptedPerson.h"
#include "ShellFixtures.h"
#include "SimProcess.h"
#include "image/JobFiles.h"
#include "radio/ProgressDialog.h"
#include "radio/RadioCommands.h"
#include "radio/SerialMonitor.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

class DesktopReadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
    }
    void TearDown() override { fs::remove_all(workdir_); }

    // Runs Read Radio in `view` and waits until it has ended and the port is closed.
    void ReadRadio(int view) {
        RadioCommands commands(
            *workspace_, state_, person_, workdir_, [] { return 0; }, nullptr);
        int jobsReplaced = 0;
        commands.SetJobReplaced([&](int kind) {
            EXPECT_EQ(kind, view);
            ++jobsReplaced;
        });
        commands.ReadRadio(view);
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(commands.ProgressDialog().isVisible());
        EXPECT_TRUE(WaitFor([&] { return !state_.CommsBusy && !commands.PortOpen(); }, 60000));
        EXPECT_FALSE(commands.ProgressDialog().isVisible());
        EXPECT_EQ(jobsReplaced, 1);
    }

    // Shows `view` in a main window over `workspace` and `state`, lets `bringJob` put a job into
    // it, and saves the job as `name`. Every store pass writes the program's version word, which
    // is checked and then set back to 0.
    std::vector<std::uint8_t> SaveFromMainWindow(
        View view, Workspace& workspace, MainState& state, const char* name,
        const std::function<void(TForm_MF_MainForm&, testing::ScriptedDialogs&)>& bringJob) {
        for (const char* templateName : {"default.tct", "default.cct"}) {
            fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / templateName, workdir_ / templateName,
                          fs::copy_options::skip_existing);
        }
        testing::ShellPerson person;
        testing::ScriptedDialogs dialogs;
        TForm_MF_MainForm window(workspace, state, person, dialogs, workdir_);
        window.show();
        if (view == View::Pmr) {
            window.Menu_Forms_PMRClick();
        } else {
            window.Menu_Forms_TrunkClick();
        }
        bringJob(window, dialogs);
        EXPECT_TRUE(person.shown.empty()) << person.Texts().front();
        EXPECT_TRUE(view == View::Pmr ? state.PmrJobLoaded : state.TrunkJobLoaded);

        const fs::path job = workdir_ / name;
        dialogs.saveAnswers.push_back(QString::fromStdString(job.string()));
        window.Save1Click();
        auto bytes = ReadFileBytes(job, 1 << 20).value_or(std::vector<std::uint8_t>{});
        if (bytes.size() > kVersionWordOffset + 1) {
            EXPECT_EQ(bytes[kVersionWordOffset] | (bytes[kVersionWordOffset + 1] << 8),
                      kProgramVersionNumber);
            bytes[kVersionWordOffset] = 0;
            bytes[kVersionWordOffset + 1] = 0;
        }
        return bytes;
    }

    // Reads the radio in `view` of the main window and saves the job as `name`.
    std::vector<std::uint8_t> ReadAndSaveInMainWindow(View view, const char* name) {
        return SaveFromMainWindow(
            view, *workspace_, state_, name,
            [&](TForm_MF_MainForm& window, testing::ScriptedDialogs&) {
                window.ReadMobile1Click();
                EXPECT_TRUE(state_.CommsBusy);
                EXPECT_TRUE(WaitFor([&] { return !state_.CommsBusy && !window.Radio().PortOpen(); },
                                    60000));
            });
    }

    // Opens `job` from a file in a main window of its own and saves it as `name`: what the
    // forms' passes make of the job, whatever they rewrite.
    std::vector<std::uint8_t> OpenAndSaveInMainWindow(View view, std::span<const std::uint8_t> job,
                                                      const char* name) {
        const fs::path file = workdir_ / (std::string("opened_") + name);
        EXPECT_TRUE(WriteFileAtomically(file, job));
        auto workspace = std::make_unique<Workspace>();
        MainState state;
        return SaveFromMainWindow(
            view, *workspace, state, name,
            [&](TForm_MF_MainForm& window, testing::ScriptedDialogs& dialogs) {
                dialogs.openAnswers.push_back(QString::fromStdString(file.string()));
                window.Open1Click();
            });
    }

    std::vector<std::uint8_t> Saved(JobView view, const fs::path& file) {
        JobFiles jobs(*workspace_, state_, person_, workdir_);
        EXPECT_TRUE(jobs.Save(view, file));
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    fs::path workdir_ = testing::TestFolder("km_desktop_");
    testing::SimProcess sim_{workdir_};
    testing::ScriptedPerson person_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
};

TEST_F(DesktopReadTest, TrunkJobSavedAsTheRadioHoldsIt) {
    ASSERT_TRUE(sim_.Start("type = 4\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n"));
    ReadRadio(kImageTrunk);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ASSERT_TRUE(state_.TrunkJobLoaded);
    const auto bytes = Saved(JobView::Trunk, workdir_ / "radio.tnk");
    const TrunkJobImage expected =
        testing::TrunkJobOf(sim_.profile, sim::BuildRadioMemory(sim_.profile));
    ASSERT_EQ(bytes.size(), TrunkJobImage::kSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.Bytes().begin()));
}

TEST_F(DesktopReadTest, PmrJobSavedAsTheRadioHoldsIt) {
    ASSERT_TRUE(sim_.Start(
        "type = 8\nflash_type = 2\npmr_channels = 700\npmr_encodes = 9\npmr_group_b = 4\n"
        "pmr_zones = 3\npmr_phonebook_edited = yes\n"));
    ReadRadio(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ASSERT_TRUE(state_.PmrJobLoaded);
    const auto bytes = Saved(JobView::Pmr, workdir_ / "radio.pmr");
    const PmrJobImage expected =
        testing::PmrJobOf(sim_.profile, sim::BuildRadioMemory(sim_.profile), PmrJobImage{}, true);
    ASSERT_EQ(bytes.size(), PmrJobImage::kSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.Bytes().begin()));
}

// The whole desktop program: File > Read Radio in the Trunk or PMR view, then File > Save. The
// radio's band has two like characters: the virtual radio keeps a network file's band word in
// the other byte order than the header's, which the Radio Type form's store pass copies.
TEST_F(DesktopReadTest, MainWindowReadsAndSavesATrunkJob) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\nband = UU\n"));
    const auto read = ReadAndSaveInMainWindow(View::Trunk, "read.tnk");
    const TrunkJobImage held =
        testing::TrunkJobOf(sim_.profile, sim::BuildRadioMemory(sim_.profile));
    EXPECT_EQ(read, OpenAndSaveInMainWindow(View::Trunk, held.Bytes(), "held.tnk"));
}

TEST_F(DesktopReadTest, MainWindowReadsAndSavesAPmrJob) {
    ASSERT_TRUE(sim_.Start("type = 4\npmr_channels = 20\npmr_encodes = 2\nband = UU\n"));
    const auto read = ReadAndSaveInMainWindow(View::Pmr, "read.pmr");
    const auto held = std::make_unique<PmrJobImage>(
        testing::PmrJobOf(sim_.profile, sim::BuildRadioMemory(sim_.profile), PmrJobImage{}, false));
    EXPECT_EQ(read, OpenAndSaveInMainWindow(View::Pmr, held->Bytes(), "held.pmr"));
}

TEST_F(DesktopReadTest, SerialMonitorReadTestListsTheFrames) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\n"));
    RadioCommands commands(
        *workspace_, state_, person_, workdir_, [] { return 0; }, nullptr);
    TCOM_Form_SerialMonitor& monitor = commands.SerialMonitor();
    EXPECT_EQ(monitor.COM_Lbl_Link.text(), "Lost");
    monitor.COM_SpeedBtn_Monitor.click();
    EXPECT_FALSE(monitor.COM_SpeedBtn_Monitor.isEnabled());
    monitor.COM_SpeedBtn_Start.click();
    ASSERT_TRUE(WaitFor([&] { return monitor.COM_Lbl_Link.text() == "Link Established "; }, 10000));

    monitor.COM_CSpinEdit_Block.setValue(7);
    monitor.COM_CSpinEdit_Size.setValue(512);
    monitor.COM_Btn_Read.click();
    RadioOperations& operations = commands.Operations();
    EXPECT_EQ(operations.PendingOperation(), OperationKind::MonitorRead);
    ASSERT_TRUE(
        WaitFor([&] { return operations.PendingOperation() == OperationKind::None; }, 10000));

    QStringList rows;
    for (int i = 0; i < monitor.COM_ListBox_SerialData.count(); ++i) {
        rows << monitor.COM_ListBox_SerialData.item(i)->text();
    }
    const QString all = rows.join('\n');
    EXPECT_TRUE(all.contains("Out  04 ")) << all.toStdString();
    EXPECT_TRUE(all.contains("00 6E 00 00 00 04 00 07 02 00  Link transfer: ReadRequest"));
    EXPECT_TRUE(all.contains("In   04 ") && all.contains("Link transfer: ReadData"));
    EXPECT_TRUE(all.contains("Link acknowledge"));

    monitor.COM_SpeedBtn_Stop.click();
    EXPECT_FALSE(commands.PortOpen());
    monitor.Button1.click();
    EXPECT_EQ(monitor.COM_ListBox_SerialData.count(), 0);
}

TEST_F(DesktopReadTest, ClosingTheProgressDialogCancels) {
    ASSERT_TRUE(sim_.Start("type = 4\n"));
    RadioCommands commands(
        *workspace_, state_, person_, workdir_, [] { return 0; }, nullptr);
    bool busy = false;
    commands.SetBusyChanged([&](bool now) { busy = now; });
    commands.RadioInformation();
    TForm_Progress& progress = commands.ProgressDialog();
    ASSERT_TRUE(progress.isVisible());
    EXPECT_TRUE(busy);
    EXPECT_EQ(progress.windowTitle(), "Identifying Radio");
    EXPECT_EQ(progress.PROGRESS_Lbl_StatusMsg.text(), "Connecting to Radio");
    progress.close();
    EXPECT_FALSE(busy);
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_EQ(commands.Operations().PendingOperation(), OperationKind::None);
    EXPECT_FALSE(commands.PortOpen());
    EXPECT_EQ(progress.windowTitle(), "Undefined");
    WaitFor([] { return false; }, 1500);  // three polls: nothing starts any more
    EXPECT_FALSE(commands.PortOpen());
    EXPECT_TRUE(person_.shown.empty());
    EXPECT_FALSE(fs::exists(workdir_ / "RadInfo.txt"));
}

}  // namespace
}  // namespace km
