// The end of a radio command on the desktop: the progress gauge is full when the dialog closes,
// and the main window's status bar says what became of the command (what was done and how long
// it took, or the failure's own message) until the next one; while no radio answers, the gauge
// stays at 0 % and the status bar says the radio is being connected.

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "EventWait.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "SimProcess.h"
#include "radio/ProgressDialog.h"
#include "radio/RadioCommands.h"
#include "sim/RadioMemory.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

class DesktopStatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        for (const char* templateName : {"default.tct", "default.cct"}) {
            fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / templateName, workdir_ / templateName);
        }
    }
    void TearDown() override { fs::remove_all(workdir_); }

    std::unique_ptr<TForm_MF_MainForm> OpenWindow() {
        auto window =
            std::make_unique<TForm_MF_MainForm>(*workspace_, state_, person_, dialogs_, workdir_);
        window->show();
        return window;
    }

    // Runs a radio command of the main window to its end.
    void RunCommand(TForm_MF_MainForm& window, const std::function<void()>& command) {
        command();
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(
            WaitFor([&] { return !state_.CommsBusy && !window.Radio().PortOpen(); }, 60000));
    }

    static QString Message(TForm_MF_MainForm& window) {
        return window.statusBar()->currentMessage();
    }

    fs::path workdir_ = testing::TestFolder("km_desktop_");
    testing::SimProcess sim_{workdir_};
    testing::ShellPerson person_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
};

TEST_F(DesktopStatusTest, StatusBarSaysWhatEachCommandDid) {
    ASSERT_TRUE(sim_.Start("type = 0\npmr_channels = 20\nband = UU\n"));
    const auto align = sim::AlignConfigContents();
    ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", align));
    auto window = OpenWindow();
    window->Menu_Forms_PMRClick();
    struct Step {
        std::function<void()> command;
        const char* status;  // a pattern
    };
    const std::vector<Step> steps = {
        {[&] { window->ReadMobile1Click(); }, "Radio read: PMR configuration, \\d+\\.\\d s"},
        {[&] {
             // The checks of the job read may find fields to look at: go on all the same.
             dialogs_.modal.push_back([](QDialog&) { return QDialog::Accepted; });
             window->ProgramMobile1Click();
         },
         "Radio programmed: PMR configuration, \\d+\\.\\d s"},
        {[&] { window->RadioInformation1Click(); }, "Radio Information read, \\d+\\.\\d s"},
    };
    // The Radio Information report comes while the progress dialog is still up.
    int gaugeAtReport = -1;
    person_.onShow = [&](const testing::ShownBox&) {
        gaugeAtReport = window->Radio().ProgressDialog().PROGRS_Gauge_Progress.value();
    };
    for (const Step& step : steps) {
        RunCommand(*window, step.command);
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(step.status));
        EXPECT_TRUE(pattern.match(Message(*window)).hasMatch()) << Message(*window).toStdString();
        EXPECT_EQ(window->Radio().StatusMessage(), Message(*window));
    }
    ASSERT_EQ(person_.shown.size(), 1u) << person_.Texts().front();
    EXPECT_EQ(person_.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(gaugeAtReport, 100);
    EXPECT_EQ(person_.unexpectedQuestions, 0);

    // A menu hint passes over the line; leaving it brings the line back.
    const QString done = Message(*window);
    QStatusTipEvent hint("Read the radio");
    QCoreApplication::sendEvent(window.get(), &hint);
    EXPECT_EQ(Message(*window), "Read the radio");
    QStatusTipEvent left{QString()};
    QCoreApplication::sendEvent(window.get(), &left);
    EXPECT_EQ(Message(*window), done);
}

// Nothing answers on COM1 (a pseudo-terminal nobody serves): the gauge stays at 0 % while the
// link is tried, then the status bar keeps the failure's message.
TEST_F(DesktopStatusTest, NoRadioKeepsTheGaugeAtZeroThenSaysWhy) {
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    const std::string line = "COM1=" + std::string(name.data()) + "\n";
    ASSERT_TRUE(WriteFileAtomically(
        workdir_ / "comports.cfg",
        std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size())));
    auto window = OpenWindow();
    window->Menu_Forms_TrunkClick();
    window->ReadMobile1Click();
    ASSERT_TRUE(state_.CommsBusy);
    EXPECT_EQ(Message(*window), "Connecting to the radio on COM1 ...");
    TForm_Progress& progress = window->Radio().ProgressDialog();
    std::vector<int> gauges;
    WaitFor(
        [&] {
            if (progress.isVisible()) {
                gauges.push_back(progress.PROGRS_Gauge_Progress.value());
            }
            return !state_.CommsBusy;
        },
        15000);
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_GT(gauges.size(), 10u);
    EXPECT_EQ(gauges, std::vector<int>(gauges.size(), 0));
    EXPECT_EQ(Message(*window),
              "Cannot Detect Radio. Check serial cable connected between Radio and Computer. "
              "Check Radio is switched on. Check Correct COM port specified.");
    close(master);
    close(slave);
}

}  // namespace
}  // namespace km
