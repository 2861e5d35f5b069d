// The status line of a radio command: the connection being made while the link comes up (with
// the gauge at 0 %), then what became of the command, which stands until the next one: what was
// done and how long it took, the failure's own message (also one shown after the progress
// dialog has gone), or that the person cancelled.

#include <gtest/gtest.h>

#include <regex>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::kHeadHmF;

class CommandStatusTest : public testing::ProgramBench {
  protected:
    void SetUp() override {
        ProgramBench::SetUp();
        operations_->onStatusMessage = [this](const std::string& text) {
            messages_.push_back(text);
            messageTimes_.push_back(clock_.Now());
        };
        workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
        workspace_->pmr = testing::PatternPmrJob(kHeadHmF, testing::kModePmrJob, 30, 0, false);
        state_.TrunkJobLoaded = true;
        state_.PmrJobLoaded = true;
    }

    // Runs `command` to its end and the event loop once more.
    void Run(const std::function<void()>& command) {
        startMs_ = clock_.Now();
        command();
        ASSERT_TRUE(RunToEnd());
        clock_.AdvanceBy(10);
    }

    std::vector<std::string> messages_;
    std::vector<std::int64_t> messageTimes_;
    std::int64_t startMs_ = 0;
};

struct DoneCase {
    const char* name;
    const char* profile;
    std::function<void(RadioOperations&, MainState&)> command;
    const char* done;  // what the status line says before the time
};

class CommandDoneTest : public CommandStatusTest, public ::testing::WithParamInterface<DoneCase> {};

TEST_P(CommandDoneTest, SaysWhatWasDoneAndHowLongItTook) {
    const DoneCase& c = GetParam();
    StartRadio(c.profile);
    Run([&] { c.command(*operations_, state_); });
    EXPECT_TRUE(person_.Texts().empty() || person_.shown.back().kind == BoxKind::Information)
        << person_.Texts().back();
    ASSERT_EQ(messages_.size(), 3u);
    EXPECT_EQ(messages_[0], "Connecting to the radio on COM1 ...");
    EXPECT_EQ(messages_[1], "Radio connected on COM1");
    const std::regex done(std::string(c.done) + ", ([0-9]+)\\.([0-9]) s");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(messages_[2], match, done)) << messages_[2];
    const double seconds = std::stod(match[1].str() + "." + match[2].str());
    EXPECT_NEAR(seconds, static_cast<double>(messageTimes_[2] - startMs_) / 1000.0, 0.051);
    // The operation started the moment the link was up (a few milliseconds of the wire), not
    // at the next 500 ms tick of the link poll.
    EXPECT_LT(messageTimes_[1] - startMs_, 100);
    EXPECT_EQ(operations_->StatusMessage(), messages_[2]);
    // The gauge was full when the progress dialog closed.
    EXPECT_EQ(progress_.lastGauge, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandDoneTest,
    ::testing::Values(DoneCase{"TrunkRead", "type = 0\ntrunk_job = yes\n",
                               [](RadioOperations& o, MainState&) { o.ReadRadio(kImageTrunk); },
                               "Radio read: trunk configuration"},
                      DoneCase{"PmrRead", "type = 4\npmr_channels = 20\n",
                               [](RadioOperations& o, MainState&) { o.ReadRadio(kImagePmr); },
                               "Radio read: PMR configuration"},
                      DoneCase{"TrunkProgram", "type = 0\ntrunk_job = yes\n",
                               [](RadioOperations& o, MainState& s) {
                                   s.ImageKind = kImageTrunk;
                                   o.ProgramRadio();
                               },
                               "Radio programmed: trunk configuration"},
                      DoneCase{"PmrProgram", "type = 0\npmr_channels = 10\n",
                               [](RadioOperations& o, MainState& s) {
                                   s.ImageKind = kImagePmr;
                                   o.ProgramRadio();
                               },
                               "Radio programmed: PMR configuration"},
                      DoneCase{"RadioInformation", "type = 4\n",
                               [](RadioOperations& o, MainState&) { o.RadioInformation(); },
                               "Radio Information read"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandStatusTest, UpgradeSaysTheSoftwareWasUpgraded) {
    StartRadio("type = 0\n");
    const auto path = PutCode("code.bin", testing::SampleCodeFile(4, "V6.30", 20000, false));
    person_.answers = {Answer::Yes, Answer::No};
    Run([&] { ASSERT_TRUE(StartDownload(*operations_, path)); });
    ASSERT_FALSE(messages_.empty());
    EXPECT_TRUE(std::regex_match(messages_.back(),
                                 std::regex("Radio software upgraded: StartUp software for a "
                                            "Revision 8 KM700 Mobile V6\\.30, [0-9]+\\.[0-9] s")))
        << messages_.back();
    EXPECT_EQ(progress_.lastGauge, 100);
}

struct FailureCase {
    const char* name;
    const char* profile;  // empty: no radio on the line
    sim::FaultOptions faults;
    std::function<void(RadioOperations&, MainState&)> command;
    std::vector<Answer> answers;
    const char* status;
    bool codeOnDisk = false;  // V6.30 trunk and startup code in Radio_SW
};

class CommandFailureTest : public CommandStatusTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CommandFailureTest, SaysTheFailuresOwnMessage) {
    const FailureCase& c = GetParam();
    if (*c.profile != '\0') {
        StartRadio(c.profile, c.faults);
    }
    if (c.codeOnDisk) {
        PutCode("7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
        PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820"));
    }
    person_.answers = {c.answers.begin(), c.answers.end()};
    Run([&] { c.command(*operations_, state_); });
    ASSERT_FALSE(messages_.empty());
    EXPECT_TRUE(person_.answers.empty());
    EXPECT_EQ(messages_.back(), c.status);
    EXPECT_EQ(operations_->StatusMessage(), c.status);
}

sim::FaultOptions LinkRequestInsteadOfMessage(int message) {
    sim::FaultOptions faults;
    faults.linkRequestAfterMessage = message;
    return faults;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandFailureTest,
    ::testing::Values(
        FailureCase{"NoRadio",
                    "",
                    {},
                    [](RadioOperations& o, MainState&) { o.ReadRadio(kImageTrunk); },
                    {},
                    "Cannot Detect Radio. Check serial cable connected between Radio and "
                    "Computer. Check Radio is switched on. Check Correct COM port specified."},
        FailureCase{"NothingToRead",
                    "type = 0\npmr_channels = 3\n",
                    {},
                    [](RadioOperations& o, MainState&) { o.ReadRadio(kImageTrunk); },
                    {},
                    "Nothing to Read. Radio does not contain a Trunk configuration."},
        // The box comes after the progress dialog has closed.
        FailureCase{"RadioResetsTheLink",
                    "type = 0\ntrunk_job = yes\n",
                    LinkRequestInsteadOfMessage(4),
                    [](RadioOperations& o, MainState&) { o.ReadRadio(kImageTrunk); },
                    {},
                    "Serial Communications Error. Please Try Again."},
        // The band message follows the abort.
        FailureCase{"WrongBand",
                    "type = 0\nband = B2\ntrunk_job = yes\n",
                    {},
                    [](RadioOperations& o, MainState& s) {
                        s.ImageKind = kImageTrunk;
                        o.ProgramRadio();
                    },
                    {},
                    "Incorrect Frequency Band. Radio Band: B2 Job File Band: A1"},
        // No downgrade, and No to programming anyway: the operation ends without a box.
        FailureCase{"NoToTheQuestions",
                    "type = 0\ntrunk_code.version = V6.40\ntrunk_job = yes\n",
                    {},
                    [](RadioOperations& o, MainState& s) {
                        s.ImageKind = kImageTrunk;
                        o.ProgramRadio();
                    },
                    {Answer::No, Answer::No},
                    "Program Radio stopped",
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandStatusTest, GaugeStaysAtZeroWhileNoRadioAnswers) {
    operations_->ReadRadio(kImageTrunk);
    ASSERT_TRUE(progress_.Visible());
    std::vector<int> gauges;
    while (progress_.Visible() && clock_.Now() < 10000) {
        gauges.push_back(progress_.Gauge());
        EXPECT_EQ(progress_.Text(), "Reading Radio");
        EXPECT_EQ(operations_->StatusMessage(), "Connecting to the radio on COM1 ...");
        clock_.AdvanceBy(250);
    }
    EXPECT_FALSE(progress_.Visible());
    EXPECT_GE(gauges.size(), 20u);  // about 5.5 s of polls
    EXPECT_EQ(gauges, std::vector<int>(gauges.size(), 0));
}

TEST_F(CommandStatusTest, ClosingTheProgressDialogSaysCancelledUntilTheNextCommand) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    operations_->ReadRadio(kImageTrunk);
    ASSERT_TRUE(clock_.AdvanceUntil([this] { return progress_.Counter() > 3; }, 30000));
    progress_.UserClosed();
    ASSERT_TRUE(RunToEnd());
    clock_.AdvanceBy(60000);
    EXPECT_EQ(operations_->StatusMessage(), "Read Radio cancelled");
    Run([this] { operations_->RadioInformation(); });
    EXPECT_EQ(messages_[messages_.size() - 3], "Connecting to the radio on COM1 ...");
}

}  // namespace
}  // namespace km
