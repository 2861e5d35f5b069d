// The desktop program's Read Radio (offscreen): the radio commands on the Qt serial port and
// timers read a trunk and a PMR job from km700sim on a real pseudo-terminal, and the job file
// that Save writes equals the radio's content after the unpack.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "RadioContent.h"
#include "ScriptedPerson.h"
#include "SimProcess.h"
#include "image/JobFiles.h"
#include "radio/RadioCommands.h"

namespace km {
namespace {

namespace fs = std::filesystem;

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
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (!state_.CommsBusy && !commands.PortOpen()) {
                loop.quit();
            }
        });
        check.start(20);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(state_.CommsBusy);
        EXPECT_EQ(jobsReplaced, 1);
    }

    std::vector<std::uint8_t> Saved(JobView view, const fs::path& file) {
        JobFiles jobs(*workspace_, state_, person_, workdir_);
        EXPECT_TRUE(jobs.Save(view, file));
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    fs::path workdir_ =
        fs::temp_directory_path() /
        ("km_desktop_" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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

}  // namespace
}  // namespace km

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
