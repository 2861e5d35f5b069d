// What the person sees as an operation ends: the last box of an operation that finishes comes
// while the progress dialog is still up, and a code file that has gone since it was chosen ends
// the operation without touching the radio's flash.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::kHeadHmF;

class EndingOrderTest : public testing::ProgramBench {
  protected:
    void SetUp() override {
        ProgramBench::SetUp();
        person_.onShow = [this](const testing::ShownBox& box) {
            boxes_.push_back({box.text, progress_.Visible()});
        };
    }

    struct Box {
        std::string text;
        bool progressShown;
    };
    std::vector<Box> boxes_;
};

TEST_F(EndingOrderTest, RadioInformationShowsItsReportThenClosesTheProgressWindow) {
    StartRadio("type = 4\n");
    operations_->RadioInformation();
    ASSERT_TRUE(RunToEnd());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(person_.shown[0].kind, BoxKind::Information);
    EXPECT_TRUE(boxes_[0].progressShown);
    EXPECT_FALSE(progress_.Visible());
    EXPECT_TRUE(RadioLogged("EndProgramming"));
}

// New flash devices take no software before V6.30: the refusal is shown while the operation is
// still up, then the operation finishes (its closing message goes out) without an erase.
struct OlderCase {
    const char* name;
    const char* profile;
    int view;
    std::vector<std::pair<const char*, std::vector<std::uint8_t>>> files;
};

class OlderSoftwareTest : public EndingOrderTest,
                          public ::testing::WithParamInterface<OlderCase> {};

TEST_P(OlderSoftwareTest, IsShownBeforeTheOperationFinishes) {
    const OlderCase& c = GetParam();
    StartRadio(c.profile);
    for (const auto& [name, bytes] : c.files) {
        PutCode(name, bytes);
    }
    person_.answers = {Answer::Yes};  // the later version found on disk
    workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
    workspace_->pmr = testing::PatternPmrJob(kHeadHmF, testing::kModeMultiJob, 20, 0, false);
    Program(c.view);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, kOlderSoftwareProgrammingText);
    EXPECT_TRUE(boxes_[1].progressShown);
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    EXPECT_TRUE(Erases().empty());
    EXPECT_FALSE(progress_.Visible());
    EXPECT_FALSE(link_->PortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Views, OlderSoftwareTest,
    ::testing::Values(
        OlderCase{"Trunk",
                  "type = 4\nflash_type = 2\ntrunk_code.software_code = 10810\n"
                  "trunk_code.version = V6.10\ntrunk_job = yes\n",
                  kImageTrunk,
                  {{"79tm620.bin", testing::SampleCodeFile(83, "V6.20", 20000, false)},
                   {"79s_620.bin", testing::SampleCodeFile(80, "V6.20", 20000, false, "12910")}}},
        OlderCase{"Pmr",
                  "type = 4\nflash_type = 2\npmr_code.software_code = 10720\n"
                  "pmr_code.version = V6.10\npmr_channels = 10\n",
                  kImagePmr,
                  {{"79p_620.bin", testing::SampleCodeFile(81, "V6.20", 20000, false)},
                   {"79s_620.bin", testing::SampleCodeFile(80, "V6.20", 20000, false, "12910")}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The trunk code file is chosen, then disappears while the person answers the question about it:
// its load fails with the file's own message and the operation finishes, nothing erased.
TEST_F(EndingOrderTest, CodeFileGoneBetweenChoiceAndLoadFinishesTheOperation) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    const auto trunkFile =
        PutCode("7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
    PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820"));
    person_.onShow = [&](const testing::ShownBox&) { std::filesystem::remove(trunkFile); };
    person_.answers = {Answer::Yes};
    workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
    Program(kImageTrunk);
    ASSERT_EQ(person_.shown.size(), 2u);
    EXPECT_EQ(person_.shown[1].text, kCodeFileNotFoundText);
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    EXPECT_TRUE(Erases().empty());
    EXPECT_FALSE(trunkProgramming_->Completed());
    EXPECT_FALSE(link_->PortOpen());
}

// The download dialog's file is gone when Download is pressed: nothing starts and the port
// closes.
TEST_F(EndingOrderTest, DownloadOfAFileGoneSinceItWasChosenClosesThePort) {
    StartRadio("type = 0\n");
    const auto path = PutCode("code.bin", testing::SampleCodeFile(4, "V6.30", 20000, false));
    std::filesystem::remove(path);
    ASSERT_TRUE(link_->OpenRadioPort(0));
    EXPECT_FALSE(StartDownload(*operations_, path));
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kCodeFileNotFoundText});
    EXPECT_FALSE(link_->PortOpen());
    EXPECT_FALSE(state_.CommsBusy);
}

}  // namespace
}  // namespace km
