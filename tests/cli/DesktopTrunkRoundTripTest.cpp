// A trunk job read from the virtual radio in the Trunk view, edited on the Identities and Network
// Options forms, saved, programmed into the radio and read back: the job read back is the job
// saved, and the forms show the edits again.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "EventWait.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "SimProcess.h"
#include "forms/trunk/IdForm.h"
#include "forms/trunk/NwoForm.h"
#include "radio/RadioCommands.h"
#include "sim/RadioMemory.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

class DesktopTrunkRoundTripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        for (const char* templateName : {"default.tct", "default.cct"}) {
            fs::copy_file(kData / templateName, workdir_ / templateName);
        }
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
        window_ =
            std::make_unique<TForm_MF_MainForm>(*workspace_, state_, person_, dialogs_, workdir_);
        window_->show();
        window_->Menu_Forms_TrunkClick();
    }
    void TearDown() override {
        window_.reset();
        fs::remove_all(workdir_);
    }

    // Runs a radio command of the main window to its end.
    void RunCommand(void (TForm_MF_MainForm::*command)()) {
        (window_.get()->*command)();
        ASSERT_TRUE(state_.CommsBusy)
            << (person_.shown.empty() ? std::string("no box") : person_.Texts().back())
            << ", dialogs refused: " << dialogs_.unexpectedDialogs;
        ASSERT_TRUE(
            WaitFor([&] { return !state_.CommsBusy && !window_->Radio().PortOpen(); }, 60000));
    }

    std::vector<std::uint8_t> Save(const char* name) {
        const fs::path file = workdir_ / name;
        dialogs_.saveAnswers.push_back(QString::fromStdString(file.string()));
        window_->Save1Click();
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    template <class Form>
    Form& Shown(FormId id) {
        window_->ShowForm(id);
        auto* form = dynamic_cast<Form*>(window_->Form(id));
        EXPECT_NE(form, nullptr);
        return *form;
    }

    const fs::path kData = fs::path(KM_SOURCE_DIR) / "data";
    fs::path workdir_ = testing::TestFolder("km_desktop_trunk_");
    testing::SimProcess sim_{workdir_};
    testing::ShellPerson person_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
    std::unique_ptr<TForm_MF_MainForm> window_;
};

TEST_F(DesktopTrunkRoundTripTest, AJobEditedOnTheTrunkFormsIsProgrammedAndReadBackUnchanged) {
    ASSERT_TRUE(sim_.Start("type = 0\nband = TK\ntrunk_job = yes\ntrunk_job_file = " +
                           (kData / "default.tct").string() + "\nnetwork1_file = " +
                           (kData / "Networks" / "Demo.nwk").string() + "\n"));
    person_.answers.push_back(Answer::Yes);  // the new job of the Trunk view may go
    RunCommand(&TForm_MF_MainForm::ReadMobile1Click);
    ASSERT_TRUE(state_.TrunkJobLoaded);
    const std::vector<std::uint8_t> read = Save("read.tnk");

    Shown<TForm_ID_Identities>(FormId::Identities).Edit_DTMF_LET.setText("1234");
    Shown<TForm_NWO_NetworkOptions>(FormId::NetworkOptions).Edit_NDD_HomeZone.setText("5");
    const std::vector<std::uint8_t> edited = Save("edited.tnk");
    ASSERT_EQ(edited.size(), TrunkJobImage::kSize);
    ASSERT_NE(edited, read);

    RunCommand(&TForm_MF_MainForm::ProgramMobile1Click);
    EXPECT_EQ(person_.unexpectedQuestions, 0) << person_.Texts().front();
    EXPECT_EQ(dialogs_.unexpectedDialogs, 0);
    person_.answers.push_back(Answer::Yes);  // the job programmed, and saved, may go
    RunCommand(&TForm_MF_MainForm::ReadMobile1Click);
    const std::vector<std::uint8_t> back = Save("back.tnk");

    ASSERT_EQ(back.size(), edited.size());
    // The job has no Network 2: programming leaves its slot out, and the radio gives that part of
    // its erased memory back. Everything before it comes back as saved.
    const auto network2 = static_cast<std::ptrdiff_t>(trunk::SlotStart(1));
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + network2, edited.begin()));
    EXPECT_FALSE(NetworkPresent(workspace_->trunk, 1));
    EXPECT_EQ(Shown<TForm_ID_Identities>(FormId::Identities).Edit_DTMF_LET.text(), "1234");
    EXPECT_EQ(Shown<TForm_NWO_NetworkOptions>(FormId::NetworkOptions).Edit_NDD_HomeZone.text(),
              "5");
}

}  // namespace
}  // namespace km
