// Read Radio against the virtual radio: the trunk and PMR reads end to end in process, the ways
// a read is refused or fails (the job must stay as it was), and the link poll.

#include <gtest/gtest.h>

#include "OperationBench.h"
#include "radio/ReadRadio.h"

namespace km {
namespace {

using testing::OperationBench;

constexpr std::uint8_t kOldJobByte = 0xAB;

class ReadRadioTest : public OperationBench {
  protected:
    // A job that a failed read must leave alone.
    void LoadOldJobs() {
        workspace_->trunk.Fill(kOldJobByte);
        workspace_->pmr.Fill(kOldJobByte);
        state_.TrunkJobLoaded = true;
        state_.PmrJobLoaded = true;
    }

    void ReadIn(int imageKind) {
        operations_->ReadRadio(imageKind);
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(RunToEnd());
    }

    void ExpectOldJobsKept() {
        TrunkJobImage oldTrunk;
        oldTrunk.Fill(kOldJobByte);
        PmrJobImage oldPmr;
        oldPmr.Fill(kOldJobByte);
        EXPECT_EQ(workspace_->trunk, oldTrunk);
        EXPECT_EQ(workspace_->pmr, oldPmr);
        EXPECT_TRUE(state_.TrunkJobLoaded);
        EXPECT_TRUE(state_.PmrJobLoaded);
    }

    void ExpectEnded() {
        EXPECT_FALSE(state_.CommsBusy);
        EXPECT_EQ(operations_->PendingOperation(), OperationKind::None);
        EXPECT_FALSE(progress_.Visible());
        EXPECT_FALSE(link_->PortOpen());
    }

    TrunkJobImage ExpectedTrunkJob() const {
        return testing::TrunkJobOf(profile_, radio_->Memory());
    }
    PmrJobImage ExpectedPmrJob(const PmrJobImage& before, bool phonebookLaidOver) const {
        return testing::PmrJobOf(profile_, radio_->Memory(), before, phonebookLaidOver);
    }

    std::string ReadOf(int entry, int extraBlocks, int size) const {
        return "ReadRequest block " + std::to_string(RadioFitBlock(entry) + extraBlocks) +
               " size " + std::to_string(size);
    }
};

// ---- Trunk reads that succeed ----

struct TrunkRadio {
    const char* name;
    const char* profile;
};

class TrunkReadTest : public ReadRadioTest, public ::testing::WithParamInterface<TrunkRadio> {};

TEST_P(TrunkReadTest, ReadsTheRadiosTrunkJob) {
    WriteFitFile();
    StartRadio(GetParam().profile);
    LoadOldJobs();
    ReadIn(kImageTrunk);

    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_EQ(workspace_->trunk, ExpectedTrunkJob());
    EXPECT_NE(workspace_->trunk.Text(36, 64), "") << "the radio's job description arrived";
    EXPECT_TRUE(state_.TrunkJobLoaded);
    EXPECT_EQ(state_.CurrentJobFileName, "");
    ExpectEnded();
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kTrunkConfig, 0, 16383)));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kTrunkPhonebook, 13, 384)));
    EXPECT_EQ(RadioLogged(ReadOf(sim::fit::kTrunkPhonebook, 0, 7040)),
              profile_.trunkPhonebookEdited);
}

INSTANTIATE_TEST_SUITE_P(
    Radios, TrunkReadTest,
    ::testing::Values(TrunkRadio{"Revision8", "type = 0\ntrunk_job = yes\n"},
                      TrunkRadio{"Revision9", "type = 4\ntrunk_job = yes\n"},
                      TrunkRadio{"PortableNewFlash", "type = 1\nflash_type = 2\ntrunk_job = yes\n"},
                      TrunkRadio{"EditedPhonebook",
                                 "type = 8\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadRadioTest, ModifiedPhonebookReplacesBytes1432To8431) {
    WriteFitFile();
    StartRadio("type = 0\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n");
    // Mark the configuration's own phonebook area so that the overlay can be seen.
    const std::size_t config = sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kTrunkConfig));
    radio_->Memory().Store(config + 1431, std::vector<std::uint8_t>(7002, 0x01));
    ReadIn(kImageTrunk);

    ASSERT_TRUE(person_.shown.empty());
    auto scratch = std::make_unique<ScratchBuffer>();
    ClearTrunkMirror(*scratch);
    auto raw = RadioBytes(RadioFitBlock(sim::fit::kTrunkConfig), 16383);
    const auto phonebook = RadioBytes(RadioFitBlock(sim::fit::kTrunkPhonebook), 7000);
    std::copy(phonebook.begin(), phonebook.end(), raw.begin() + 1432);
    EXPECT_EQ(raw[1431], 0x01) << "the byte before the phonebook stays";
    EXPECT_EQ(raw[8432], 0x01) << "the byte after the phonebook stays";
    scratch->Write(0x8000, raw);
    TrunkJobImage expected;
    UnpackTrunkRead(*scratch, expected);
    EXPECT_EQ(workspace_->trunk, expected);
}

// ---- Reads that are refused or fail: the jobs stay as they were ----

struct RefusedRead {
    const char* name;
    const char* profile;
    bool fitFile;
    int imageKind;
    std::vector<std::string> texts;
};

class RefusedReadTest : public ReadRadioTest, public ::testing::WithParamInterface<RefusedRead> {};

TEST_P(RefusedReadTest, ShowsItsMessagesAndKeepsTheJobs) {
    const RefusedRead& c = GetParam();
    if (c.fitFile) {
        WriteFitFile();
    }
    StartRadio(c.profile);
    LoadOldJobs();
    ReadIn(c.imageKind);

    EXPECT_EQ(person_.Texts(), c.texts);
    ExpectOldJobsKept();
    ExpectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Radios, RefusedReadTest,
    ::testing::Values(
        RefusedRead{"SecureTrunk",
                    "type = 16\ntrunk_job = yes\n",
                    true,
                    kImageTrunk,
                    {kInvalidRadioText, kNothingToReadTrunkText}},
        RefusedRead{"SecurePmr",
                    "type = 18\npmr_channels = 3\n",
                    true,
                    kImagePmr,
                    {kInvalidRadioText, kNothingToReadPmrText}},
        RefusedRead{
            "NoFitFile", "type = 0\ntrunk_job = yes\n", false, kImageTrunk, {kMissingFitText}},
        RefusedRead{"LaterFlashType",
                    "type = 1\nflash_type = 3\ntrunk_job = yes\n",
                    true,
                    kImageTrunk,
                    {kMissingFitText}},
        RefusedRead{"OtherKindOwnTable",
                    "type = 3\ntable = own\ntrunk_job = yes\n",
                    true,
                    kImageTrunk,
                    {kMissingFitText}},
        RefusedRead{"OtherKindNoTable",
                    "type = 3\ntable = file\ntrunk_job = yes\n",
                    true,
                    kImageTrunk,
                    {kMissingFitText}},
        RefusedRead{"UnknownType",
                    "type = 5\ntrunk_job = yes\n",
                    true,
                    kImageTrunk,
                    {kUnknownRadioTypeText}},
        RefusedRead{"NoTrunkJob",
                    "type = 0\npmr_channels = 3\n",
                    true,
                    kImageTrunk,
                    {kNothingToReadTrunkText}},
        RefusedRead{
            "BlankPmr", "type = 4\nblank = yes\n", true, kImagePmr, {kNothingToReadPmrText}},
        RefusedRead{"NoPmrChannels",
                    "type = 4\ntrunk_job = yes\n",
                    true,
                    kImagePmr,
                    {kNothingToReadPmrText}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadRadioTest, DataSizeRecordZeroGivesOnlyTheWarning) {
    WriteFitFile();
    StartRadio("type = 4\ntrunk_job = yes\n");
    // Byte 2 of the data-size record (FIT entry 17) says there is no trunk configuration.
    radio_->Memory().Store(sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kStartupData)) + 2,
                           std::vector<std::uint8_t>{0});
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kNothingToReadTrunkText});
    EXPECT_FALSE(RadioLogged(ReadOf(sim::fit::kTrunkConfig, 0, 16383)));
    ExpectOldJobsKept();
    ExpectEnded();
}

TEST_F(ReadRadioTest, PmrConfigurationWithoutChannels) {
    WriteFitFile();
    StartRadio("type = 4\npmr_channels = 5\n");
    const std::size_t config = sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kPmrConfig));
    radio_->Memory().Store(config + 110, std::vector<std::uint8_t>{0, 0});
    LoadOldJobs();
    ReadIn(kImagePmr);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kNoChannelsDefinedText});
    ExpectOldJobsKept();
    ExpectEnded();
    EXPECT_TRUE(RadioLogged("EndProgramming"));
}

// A count beyond what the job image holds (an erased encode count of 0xFF, say) is read as the
// image's capacity, and the job says so; "Nothing to Read." is for the blank marker alone.
struct PmrCount {
    const char* name;
    std::size_t word;  // the count's word in the configuration, high byte first
    std::uint16_t value;
    std::uint16_t jobCount;
    int entry;  // the area whose read the count sizes
    int readSize;
};

class PmrCountTest : public ReadRadioTest, public ::testing::WithParamInterface<PmrCount> {};

TEST_P(PmrCountTest, CountBeyondTheImageIsClampedToIt) {
    const PmrCount& c = GetParam();
    WriteFitFile();
    StartRadio("type = 4\npmr_channels = 5\n");
    const std::size_t config = sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kPmrConfig));
    radio_->Memory().Store(config + c.word,
                           std::vector<std::uint8_t>{static_cast<std::uint8_t>(c.value >> 8),
                                                     static_cast<std::uint8_t>(c.value & 0xFF)});
    LoadOldJobs();
    ReadIn(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(RadioLogged(ReadOf(c.entry, 0, c.readSize))) << Log();
    EXPECT_EQ(workspace_->pmr.U16(c.word), c.jobCount);
    EXPECT_TRUE(state_.PmrJobLoaded);
    ExpectEnded();
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PmrCountTest,
    ::testing::Values(PmrCount{"Channels1001", 110, 1001, 1000, sim::fit::kChannels2, 15616},
                      PmrCount{"Channels65535", 110, 0xFFFF, 1000, sim::fit::kChannels2, 15616},
                      PmrCount{"EncodesErased", 114, 0x00FF, 250, sim::fit::kEncodes, 8000},
                      PmrCount{"Encodes251", 114, 251, 250, sim::fit::kEncodes, 8000},
                      PmrCount{"Encodes250", 114, 250, 250, sim::fit::kEncodes, 8000},
                      PmrCount{"GroupB129", 116, 129, 128, sim::fit::kGroupB, 4096},
                      PmrCount{"GroupBErasedIsNone", 116, 0x00FF, 0x00FF, sim::fit::kGroupB, 0},
                      PmrCount{"Zones21", 122, 21, 20, sim::fit::kZoneTable, 16000},
                      PmrCount{"ZonesErasedIsNone", 122, 0x00FF, 0x00FF, sim::fit::kZoneTable, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadRadioTest, BlankMarkerInTheTrunkConfiguration) {
    WriteFitFile();
    StartRadio("type = 0\ntrunk_job = yes\n");
    const std::size_t config = sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kTrunkConfig));
    radio_->Memory().Store(config + 119, std::vector<std::uint8_t>{0xFF});
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kNothingToReadTrunkText});
    ExpectOldJobsKept();
    ExpectEnded();
}

TEST_F(ReadRadioTest, FitEntryPointingNowhereIsRefused) {
    WriteFitFile();
    StartRadio("type = 4\ntrunk_job = yes\n");
    // Entry 19 (the trunk configuration) erased in the radio's own table.
    radio_->Memory().Store(sim::Flash::BlockAddress(7) + 8 * 19 + 2,
                           std::vector<std::uint8_t>{0xFF, 0xFF});
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kFitErrorText});
    ExpectOldJobsKept();
    ExpectEnded();
}

// ---- PMR reads ----

TEST_F(ReadRadioTest, PmrRadioWith600Channels) {
    WriteFitFile();
    StartRadio("type = 4\npmr_channels = 600\npmr_encodes = 7\npmr_group_b = 3\npmr_zones = 2\n");
    LoadOldJobs();
    const PmrJobImage before = workspace_->pmr;
    ReadIn(kImagePmr);

    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kChannels1, 0, 16384)));
    // Records 512 to 599: 600 x 32 - 16384 bytes.
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kChannels2, 0, 2816)));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kEncodes, 0, 7 * 32)));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kGroupB, 0, 3 * 32)));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kZoneTable, 0, 2 * 800)));
    EXPECT_EQ(workspace_->pmr, ExpectedPmrJob(before, false));
    EXPECT_EQ(workspace_->pmr.U16(pmr::kChannelCount), 600);
    EXPECT_TRUE(state_.PmrJobLoaded);
    EXPECT_TRUE(workspace_->ZoneReload);
    ExpectEnded();
}

// A radio that sends the last piece of each read whole (up to the 128-byte block) is read like
// any other: the trunk configuration (16383 bytes), the second channel part of 600 channels (2816)
// and 250 selcall encodes (8000).
TEST_F(ReadRadioTest, RadioPaddingItsLastPiecesIsReadAlike) {
    WriteFitFile();
    sim::FaultOptions padding;
    padding.padReads = true;
    StartRadio("type = 4\ntrunk_job = yes\npmr_channels = 600\npmr_encodes = 250\n", padding);
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_EQ(workspace_->trunk, ExpectedTrunkJob());

    const PmrJobImage before = workspace_->pmr;
    ReadIn(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kChannels2, 0, 2816)));
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kEncodes, 0, 8000)));
    EXPECT_EQ(workspace_->pmr, ExpectedPmrJob(before, false));
    ExpectEnded();
}

TEST_F(ReadRadioTest, PmrRadioWithoutZoneAreaIsReadWithoutTheZoneRequest) {
    WriteFitFile();
    StartRadio("type = 0\npmr_channels = 40\npmr_zones = 2\n");  // FIT entry 28 is 0xFFFF
    LoadOldJobs();
    const PmrJobImage before = workspace_->pmr;
    ReadIn(kImagePmr);

    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    // The table, the configuration, four channel areas and the phonebook check: no zones.
    EXPECT_EQ(RadioLogCount("ReadRequest"), 7);
    EXPECT_EQ(std::count(progress_.texts.begin(), progress_.texts.end(),
                         "Reading PMR Zone Table Data.   "),
              0);
    EXPECT_EQ(workspace_->pmr, ExpectedPmrJob(before, false));
    ExpectEnded();
}

TEST_F(ReadRadioTest, PmrPhonebookEditedOnTheRadioIsLaidOver) {
    WriteFitFile();
    StartRadio("type = 4\npmr_channels = 10\npmr_phonebook_edited = yes\n");
    LoadOldJobs();
    const PmrJobImage before = workspace_->pmr;
    ReadIn(kImagePmr);
    EXPECT_TRUE(person_.shown.empty());
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kPmrPhonebook, 0, 6400)));
    EXPECT_EQ(workspace_->pmr, ExpectedPmrJob(before, true));
}

TEST_F(ReadRadioTest, PmrPhonebookMarkerIgnoredWithAnOlderPhonebookFormat) {
    WriteFitFile();
    StartRadio("type = 4\npmr_channels = 10\npmr_phonebook_edited = yes\n");
    const std::size_t config = sim::Flash::BlockAddress(RadioFitBlock(sim::fit::kPmrConfig));
    radio_->Memory().Store(config + 113, std::vector<std::uint8_t>{0xC9});
    ReadIn(kImagePmr);
    EXPECT_TRUE(RadioLogged(ReadOf(sim::fit::kPmrPhonebook, 11, 384)));
    EXPECT_FALSE(RadioLogged(ReadOf(sim::fit::kPmrPhonebook, 0, 6400)));
}

// ---- Link trouble ----

TEST_F(ReadRadioTest, LinkRequestInTheMiddleOfATrunkReadLeavesTheJobUntouched) {
    WriteFitFile();
    sim::FaultOptions faults;
    faults.linkRequestAfterMessage = 4;  // instead of answering the configuration read
    StartRadio("type = 0\ntrunk_job = yes\n", faults);
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kSerialCommsErrorText});
    ExpectOldJobsKept();
    ExpectEnded();
}

TEST_F(ReadRadioTest, RadioFallingSilentEndsTheRead) {
    WriteFitFile();
    sim::FaultOptions faults;
    faults.silenceAfterMessage = 3;
    StartRadio("type = 0\ntrunk_job = yes\n", faults);
    LoadOldJobs();
    ReadIn(kImageTrunk);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kSerialCommsErrorText});
    ExpectOldJobsKept();
    ExpectEnded();
}

TEST_F(ReadRadioTest, ReadSurvivesALossyLine) {
    WriteFitFile();
    sim::FaultOptions faults;
    faults.dropIncomingEvery = 7;
    faults.dropOutgoingEvery = 11;
    StartRadio("type = 4\ntrunk_job = yes\n", faults);
    ReadIn(kImageTrunk);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_EQ(workspace_->trunk, ExpectedTrunkJob());
    ExpectEnded();
}

TEST_F(ReadRadioTest, NoRadioGivesCannotDetectRadioOnTheEleventhTick) {
    operations_->ReadRadio(kImageTrunk);
    ASSERT_TRUE(progress_.Visible());
    clock_.AdvanceBy(5000);  // ten ticks
    EXPECT_TRUE(person_.shown.empty());
    EXPECT_EQ(operations_->PollCount(), 10);
    EXPECT_EQ(operations_->PendingOperation(), OperationKind::ReadTrunk);
    clock_.AdvanceBy(500);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kCannotDetectRadioText});
    EXPECT_GE(person_.beeps, 1);
    EXPECT_EQ(operations_->PollCount(), 0);
    ExpectEnded();
    clock_.AdvanceBy(5000);
    EXPECT_EQ(person_.shown.size(), 1u) << "the poll has stopped";
}

TEST_F(ReadRadioTest, RadioAnsweringOnTheThirdPollStartsTheRead) {
    WriteFitFile();
    operations_->ReadRadio(kImageTrunk);
    clock_.AdvanceBy(1100);
    StartRadio("type = 0\ntrunk_job = yes\n");
    ASSERT_TRUE(RunToEnd());
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(state_.TrunkJobLoaded);
}

TEST_F(ReadRadioTest, PollRefusesPmrProgrammingWithoutChannels) {
    StartRadio("type = 4\npmr_channels = 3\n");
    workspace_->pmr.SetU16(pmr::kChannelCount, 0);
    ASSERT_TRUE(operations_->BeginCommand(OperationKind::ProgramPmr, "Program Radio",
                                          "Connecting to Radio"));
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kNoChannelsDefinedText});
    EXPECT_EQ(RadioLogCount("IdentifyRequest"), 0) << "nothing is asked of the radio";
    ExpectEnded();
}

TEST_F(ReadRadioTest, ClosingTheProgressDialogCancelsTheRead) {
    WriteFitFile();
    StartRadio("type = 0\ntrunk_job = yes\n");
    LoadOldJobs();
    operations_->ReadRadio(kImageTrunk);
    ASSERT_TRUE(clock_.AdvanceUntil(
        [this] {
            return !progress_.texts.empty() &&
                   progress_.texts.back() == "Reading Trunk Radio Configuration.   ";
        },
        30000));
    progress_.UserClosed();
    EXPECT_TRUE(RunToEnd());
    clock_.AdvanceBy(30000);
    EXPECT_TRUE(person_.shown.empty());
    ExpectOldJobsKept();
    ExpectEnded();
}

// ---- The command itself ----

TEST_F(ReadRadioTest, CommandIsRefusedOrAsksFirst) {
    operations_->ReadRadio(kImageNetwork);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kReadInNetworkViewText});
    EXPECT_FALSE(state_.CommsBusy);

    person_.shown.clear();
    state_.PmrJobLoaded = true;
    state_.BandSelected = 0;
    state_.CurrentJobFileName = "job.pmr";
    operations_->ReadRadio(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << "an Undefined band asks nothing";
    EXPECT_TRUE(state_.CommsBusy);
    EXPECT_EQ(state_.CurrentJobFileName, "");

    operations_->ReadRadio(kImagePmr);  // busy: nothing happens
    EXPECT_TRUE(person_.shown.empty());
    progress_.UserClosed();
    ASSERT_TRUE(RunToEnd());

    state_.BandSelected = 3;
    state_.CurrentJobFileName = "job.pmr";
    person_.answers.push_back(Answer::No);
    operations_->ReadRadio(kImagePmr);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kDestroyConfigurationText});
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
    EXPECT_EQ(state_.CurrentJobFileName, "job.pmr");
}

TEST(MirrorTest, ClearedRegionsHoldTheEmptyPatterns) {
    auto scratch = std::make_unique<ScratchBuffer>();
    scratch->Fill(0x5C);
    ClearTrunkMirror(*scratch);
    EXPECT_EQ(scratch->U8(0x7FFF), 0x5C);
    EXPECT_EQ(scratch->U8(0x8000), 0x00);
    EXPECT_EQ(scratch->U8(0xBFFF), 0x00);
    EXPECT_EQ(scratch->U8(0xC000), 0x5C);

    scratch->Fill(0x5C);
    ClearPmrMirror(*scratch);
    EXPECT_EQ(scratch->U8(0x0000), 0x00);
    EXPECT_EQ(scratch->U8(0xDFFF), 0x00);
    EXPECT_EQ(scratch->U8(0xE000), 0xFF);
    EXPECT_EQ(scratch->U8(0xEFFF), 0xFF);
    for (std::size_t zone = 0; zone < 20; ++zone) {
        const std::size_t at = 0xF000 + 800 * zone;
        EXPECT_EQ(scratch->U8(at), 0x00);
        EXPECT_EQ(scratch->U8(at + 15), 63);
        EXPECT_EQ(scratch->U8(at + 32), 0x03);
        EXPECT_EQ(scratch->U16BE(at + 33), 0xFFFF);
        EXPECT_EQ(scratch->U8(at + 32 + 3 * 254), 0x03);
        EXPECT_EQ(scratch->U8(at + 797), 0x00);
    }
    EXPECT_EQ(scratch->U8(0xF000 + 16000), 0x5C);
}

TEST(PmrSizesTest, ChannelPartsAndCounts) {
    struct Case {
        int channels, encodes, groupB, zones;
        std::uint16_t first, second, encodeBytes, groupBytes, zoneBytes;
    };
    const Case cases[] = {
        {600, 7, 3, 2, 16384, 2816, 224, 96, 1600},
        {512, 0, 0, 0, 16384, 0, 0, 0, 0},
        {513, 250, 128, 20, 16384, 32, 8000, 4096, 16000},
        {1000, 1, 0xFF, 0xFF, 16384, 15616, 32, 0, 0},
        {1, 0, 0, 0, 32, 0, 0, 0, 0},
        {1200, 0xFF, 200, 21, 16384, 15616, 8000, 4096, 16000},
    };
    for (const auto& c : cases) {
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->SetU16BE(110, static_cast<std::uint16_t>(c.channels));
        scratch->SetU8(115, static_cast<std::uint8_t>(c.encodes));
        scratch->SetU8(117, static_cast<std::uint8_t>(c.groupB));
        scratch->SetU8(123, static_cast<std::uint8_t>(c.zones));
        const PmrReadSizes sizes = TakePmrCounts(*scratch);
        EXPECT_EQ(sizes.channelsFirst, c.first) << c.channels;
        EXPECT_EQ(sizes.channelsSecond, c.second) << c.channels;
        EXPECT_EQ(sizes.encodes, c.encodeBytes) << c.channels;
        EXPECT_EQ(sizes.groupB, c.groupBytes) << c.channels;
        EXPECT_EQ(sizes.zones, c.zoneBytes) << c.channels;
    }
}

}  // namespace
}  // namespace km
