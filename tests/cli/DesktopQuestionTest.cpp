// A question of a radio operation left open on the desktop: while the box waits for its answer
// the link to km700sim (on a pseudo-terminal, paced at 19200 baud) stays up through its
// keep-alives, and the operation goes on when the question is answered.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "EventWait.h"
#include "ProgramFixtures.h"
#include "ScriptedPerson.h"
#include "SimProcess.h"
#include "radio/Operation.h"
#include "radio/ProgramTrunk.h"
#include "radio/RadioCommands.h"

namespace km {
namespace {

namespace fs = std::filesystem;
using testing::WaitFor;

// Runs the event loop for `ms`, as a modal box does while it waits for its answer.
void KeepEventsRunning(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class DesktopQuestionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_ / "Radio_SW");
    }
    void TearDown() override { fs::remove_all(workdir_); }

    void PutCode(const char* name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "Radio_SW" / name, bytes));
    }

    std::string SimLog() const {
        const auto bytes = ReadFileBytes(workdir_ / "sim.log", 1 << 22);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }

    fs::path workdir_ = testing::TestFolder("km_desktop_");
    testing::SimProcess sim_{workdir_};
    testing::ScriptedPerson person_;
    std::unique_ptr<Workspace> workspace_ = std::make_unique<Workspace>();
    MainState state_;
};

// The radio runs V6.20 and V6.30 is on disk: Program Radio asks whether to upgrade, and the
// person takes longer to say No than the five keep-alive periods (75 s) after which a radio
// that has not answered counts as lost. The configuration is written.
TEST_F(DesktopQuestionTest, LaterSoftwareQuestionAnsweredAfterAMinute) {
    ASSERT_TRUE(sim_.Start("type = 0\ntrunk_job = yes\n", {"--pace"}));
    PutCode("7ktm620.bin", testing::SampleCodeFile(2, "V6.20", 20000, false));
    PutCode("7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
    PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820"));
    workspace_->trunk = testing::PatternTrunkJob(testing::kHeadHmF, testing::kModeTrunkJob, true);
    state_.ImageKind = kImageTrunk;
    state_.TrunkJobLoaded = true;
    person_.answers = {Answer::No};
    person_.onShow = [](const testing::ShownBox& box) {
        if (box.kind == BoxKind::Confirmation) {
            KeepEventsRunning(80000);
        }
    };
    RadioCommands commands(
        *workspace_, state_, person_, workdir_, [] { return 0; }, nullptr);
    commands.ProgramRadio([] { return true; });
    ASSERT_TRUE(state_.CommsBusy);
    EXPECT_TRUE(WaitFor([&] { return !state_.CommsBusy && !commands.PortOpen(); }, 180000));
    ASSERT_EQ(person_.shown.size(), 1u) << person_.Texts().back();
    EXPECT_EQ(person_.shown[0].text.rfind("A later version of radio software", 0), 0u);
    EXPECT_TRUE(commands.Operations().TrunkProgramming().Completed()) << SimLog();
    EXPECT_EQ(SimLog().find("link down"), std::string::npos) << SimLog();
}

}  // namespace
}  // namespace km
