// The radio goes away while the desktop program writes a job into it: the operation ends by
// itself, the progress window closes, the communications failure message is shown and the status
// bar says what became of the port; once the radio is back on the same COM number, the next Read
// Radio works without a restart.

#include <gtest/gtest.h>

#include <QStatusBar>
#include <filesystem>
#include <memory>

#include "EventWait.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "SimProcess.h"
#include "link/DataLink.h"
#include "radio/ProgressDialog.h"
#include "radio/RadioCommands.h"
#include "sim/RadioMemory.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

constexpr const char* kPmrRadio = "type = 0\npmr_channels = 20\nband = UU\n";

class DesktopLostRadioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        for (const char* templateName : {"default.tct", "default.cct"}) {
            fs::copy_file(fs::path(KM_SOURCE_DIR) / "data" / templateName, workdir_ / templateName);
        }
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
    }
    void TearDown() override { fs::remove_all(workdir_); }

    // Runs a radio command of the main window until it has ended by itself (a generous bound).
    void RunCommand(TForm_MF_MainForm& window, const std::function<void()>& command) {
        command();
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(
            WaitFor([&] { return !state_.CommsBusy && !window.Radio().PortOpen(); }, 60000));
    }

    fs::path workdir_ = testing::TestFolder("km_desktop_lost_");
    testing::ShellPerson person_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
};

TEST_F(DesktopLostRadioTest, RadioLostWhileProgrammingEndsTheCommandAndTheNextReadWorks) {
    auto window =
        std::make_unique<TForm_MF_MainForm>(*workspace_, state_, person_, dialogs_, workdir_);
    window->show();
    window->Menu_Forms_PMRClick();
    {
        testing::SimProcess radio(workdir_);
        ASSERT_TRUE(radio.Start(kPmrRadio, {"--gone-at", "WriteBlock sequence 60 "}));
        RunCommand(*window, [&] { window->ReadMobile1Click(); });
        ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
        RunCommand(*window, [&] {
            dialogs_.modal.push_back([](QDialog&) { return QDialog::Accepted; });
            window->ProgramMobile1Click();
        });
        EXPECT_TRUE(radio.WaitUntilStopped());
    }
    EXPECT_FALSE(window->Radio().ProgressDialog().isVisible());
    ASSERT_EQ(person_.shown.size(), 1u);
    EXPECT_EQ(person_.shown[0].text, kSerialCommsErrorText);
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Serial Communications Error. Please Try Again. The serial port went away: the "
              "cable or the radio was disconnected.");

    // The radio is back on COM1 (on another pseudo-terminal): Read Radio works at once.
    testing::SimProcess radio(workdir_);
    ASSERT_TRUE(radio.Start(kPmrRadio));
    person_.answers.push_back(Answer::Yes);  // destroy the current configuration
    RunCommand(*window, [&] { window->ReadMobile1Click(); });
    EXPECT_EQ(person_.shown.size(), 1u);
    EXPECT_TRUE(window->Radio().StatusMessage().startsWith("Radio read: PMR configuration"))
        << window->Radio().StatusMessage().toStdString();
    EXPECT_EQ(person_.unexpectedQuestions, 0);
}

}  // namespace
}  // namespace km
