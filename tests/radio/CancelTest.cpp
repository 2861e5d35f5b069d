// Cancel in the progress dialog: a read stops at once and changes no job; programming stops only
// once the radio has taken the block on the line, sends nothing more (no erase, no further
// block, no end message), and leaves the radio as a lost radio is left, to be programmed again
// from the start.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"
#include "radio/Operation.h"

namespace km {
namespace {

using testing::kHeadHmF;

class CancelTest : public testing::ProgramBench {
  protected:
    void SetUp() override {
        ProgramBench::SetUp();
        operations_->onStatusMessage = [this](const std::string& text) { status_ = text; };
    }

    // Radio log lines that name `what` from line `from` on.
    int LoggedFrom(std::size_t from, const std::string& what) const {
        int count = 0;
        for (std::size_t i = from; i < radioLog_.size(); ++i) {
            count += radioLog_[i].find(what) != std::string::npos ? 1 : 0;
        }
        return count;
    }

    std::string status_;
};

TEST_F(CancelTest, ReadStopsAtOnceAndKeepsTheJob) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
    state_.TrunkJobLoaded = true;
    const auto before = workspace_->trunk.Bytes();
    state_.BandSelected = 0;
    operations_->ReadRadio(kImageTrunk);
    ASSERT_TRUE(clock_.AdvanceUntil([this] { return progress_.Counter() > 20; }, 30000));
    progress_.UserClosed();
    EXPECT_FALSE(progress_.Visible());
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
    EXPECT_EQ(status_, "Read Radio cancelled");
    clock_.AdvanceBy(60000);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), workspace_->trunk.Bytes().begin()));
    EXPECT_TRUE(person_.shown.empty());
}

TEST_F(CancelTest, ProgrammingStopsBetweenBlocksAndTheRadioIsProgrammedAgain) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
    state_.ImageKind = kImageTrunk;
    state_.TrunkJobLoaded = true;
    operations_->ProgramRadio();
    ASSERT_TRUE(clock_.AdvanceUntil(
        [this] { return RadioLogged("WriteBlock sequence 40 length 128"); }, 60000))
        << Log();
    const std::size_t atCancel = radioLog_.size();
    progress_.UserClosed();
    // The block on the line is still taken by the radio; then nothing more goes out.
    EXPECT_TRUE(progress_.Cancelling());
    ASSERT_TRUE(RunToEnd());
    EXPECT_FALSE(progress_.Visible());
    EXPECT_FALSE(trunkProgramming_->Completed());
    EXPECT_EQ(status_, "Program Radio cancelled");
    EXPECT_LE(LoggedFrom(atCancel, "WriteBlock"), 1) << Log();
    EXPECT_EQ(LoggedFrom(atCancel, "EraseRequest"), 0);
    EXPECT_EQ(LoggedFrom(atCancel, "write of"), 0);
    EXPECT_EQ(LoggedFrom(atCancel, "EndProgramming"), 0);
    EXPECT_TRUE(person_.shown.empty());
    clock_.AdvanceBy(60000);
    EXPECT_FALSE(link_->PortOpen());

    // Programmed again from the start, the radio holds the job.
    Program(kImageTrunk);
    EXPECT_TRUE(trunkProgramming_->Completed()) << Log();
    EXPECT_TRUE(radio_->Memory().Faults().empty());
    const auto job = workspace_->trunk;
    ReadBack(kImageTrunk);
    EXPECT_TRUE(
        std::equal(job.Bytes().begin(), job.Bytes().end() - 1, workspace_->trunk.Bytes().begin()));
}

}  // namespace
}  // namespace km
