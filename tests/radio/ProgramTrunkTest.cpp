// Program Radio in the Trunk view against the virtual radio: what is erased and written for a
// Revision 8 mobile, a newer mobile and a portable; software upgrades from the code files; and
// the refusals, which must all come before the first erase.

#include <gtest/gtest.h>

#include <cstdio>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::kHeadHmF;
using testing::kHeadKp8b;
using testing::RadioWrite;
namespace fit = sim::fit;

class ProgramTrunkTest : public testing::ProgramBench {
  protected:
    void ProgramJob(const TrunkJobImage& job) {
        workspace_->trunk = job;
        Program(kImageTrunk);
    }
};

// ---- The configuration areas, by radio and radio mode ----

struct AreaCase {
    const char* name;
    const char* profile;
    testing::JobHead head;
    std::uint8_t mode;
    bool network2;
    std::vector<int> erasedEntries;
    bool complexPmrRead;  // block 544 read back and rewritten (Revision 8)
    int complexPmrSize;   // bytes read back from block 544
    int complexPmrBlocks;
    int trunkBlocks;
};

class TrunkAreasTest : public ProgramTrunkTest, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(TrunkAreasTest, ErasesAndWritesTheRadiosAreas) {
    const AreaCase& c = GetParam();
    StartRadio(c.profile);
    ProgramJob(testing::PatternTrunkJob(c.head, c.mode, c.network2));
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ExpectEndedCleanly();

    std::vector<int> sectors;
    for (const int entry : c.erasedEntries) {
        sectors.push_back(Sector(entry));
    }
    EXPECT_EQ(Erases(), sectors);
    std::vector<RadioWrite> writes{{4, Block(fit::kStartupData)}};
    if (c.complexPmrRead) {
        writes.push_back({c.complexPmrBlocks, 544});
    }
    writes.push_back({c.trunkBlocks, Block(fit::kTrunkConfig)});
    writes.push_back({1, 608});
    EXPECT_EQ(Writes(), writes) << Log();
    EXPECT_EQ(RadioLogged("ReadRequest block 544 size " + std::to_string(c.complexPmrSize)),
              c.complexPmrRead);
    // The startup data says how many blocks of trunk data follow.
    EXPECT_EQ(RadioBytes(Block(fit::kStartupData), 4)[2], c.trunkBlocks);
}

INSTANTIATE_TEST_SUITE_P(
    Radios, TrunkAreasTest,
    ::testing::Values(
        // Trunk mode on Revision 8: the startup data shares the configuration sector, block 544
        // is read back with size 0 and rewritten as one block, the PMR context is erased.
        AreaCase{"Revision8TrunkMode",
                 "type = 0\ntrunk_job = yes\n",
                 kHeadHmF,
                 testing::kModeTrunkJob,
                 true,
                 {fit::kTrunkConfig, fit::kTrunkContext, fit::kPmrContext},
                 true,
                 0,
                 1,
                 128},
        AreaCase{"Revision8MultiMode",
                 "type = 0\npmr_channels = 30\n",
                 kHeadHmF,
                 testing::kModeMultiJob,
                 false,
                 {fit::kTrunkConfig, fit::kTrunkContext, fit::kPmrContext},
                 true,
                 16383,
                 128,
                 104},
        // A portable in trunk mode: its own startup data sector, no PMR context erase, no 544.
        AreaCase{"PortableTrunkMode",
                 "type = 1\ntrunk_code.software_code = 11250\ntrunk_job = yes\n",
                 kHeadKp8b,
                 testing::kModeTrunkJob,
                 true,
                 {fit::kStartupData, fit::kTrunkConfig, fit::kTrunkContext},
                 false,
                 0,
                 0,
                 128},
        AreaCase{"Revision9MultiMode",
                 "type = 4\ntrunk_code.software_code = 10810\n",
                 kHeadHmF,
                 testing::kModeMultiJob,
                 true,
                 {fit::kStartupData, fit::kTrunkConfig, fit::kTrunkContext, fit::kPmrContext},
                 false,
                 0,
                 0,
                 128}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramTrunkTest, StatusTextsFollowTheSteps) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    ProgramJob(testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true));
    const std::vector<std::string> expected = {
        "Connecting to Radio",
        "Identifying Radio. ",
        "Checking Band. ",
        "Identifying Radio. ",
        "Checking current radio type. ",
        "Preparing Trunk Data.  ",
        "Reading Simple PMR Data.  ",
        "Reading Complex PMR Data.  ",
        "Erasing RCP Data Sector.  (3 Seconds)",
        "Erasing Trunk Context Data Sector. (3 Seconds) ",
        "Erasing PMR Context Data Sector. (3 Seconds) ",
        "Updating Radio Configuration.  ",
    };
    EXPECT_EQ(progress_.texts, expected);
}

// ---- Software upgrades ----

TEST_F(ProgramTrunkTest, LaterSoftwareOnDiskIsWrittenBeforeTheConfiguration) {
    // The radio runs V6.20; V6.30 trunk code with an overlay and V6.30 startup code are on disk.
    StartRadio("type = 0\ntrunk_job = yes\n");
    const auto trunkCode = testing::SampleCodeFile(2, "V6.30", 40000, true);
    const auto startupCode = testing::SampleCodeFile(4, "V6.30", 20100, false, "10820");
    PutCode("7ktm620.bin", testing::SampleCodeFile(2, "V6.20", 40000, false));
    PutCode("7ktm630.bin", trunkCode);
    PutCode("7ks_630.bin", startupCode);
    person_.answers = {Answer::Yes};
    ProgramJob(testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true));
    ASSERT_EQ(person_.shown.size(), 1u) << person_.Texts().back();
    EXPECT_NE(person_.shown[0].text.find("Latest Version on PC:   V6.30"), std::string::npos);
    ExpectEndedCleanly();

    const int trunk = Block(fit::kTrunkCode);
    const int startup = Block(fit::kStartupCode);
    EXPECT_EQ(Erases(), (std::vector<int>{Sector(fit::kTrunkCode), Sector(fit::kTrunkCode) + 1,
                                          Sector(fit::kStartupCode), Sector(fit::kTrunkConfig),
                                          Sector(fit::kTrunkContext), Sector(fit::kPmrContext)}));
    // 40000 bytes of trunk code in pieces of 16383, 16383, 7234 and 0 (one block), the overlay,
    // then the startup code's two pieces (16383 and 3717 bytes).
    const std::vector<RadioWrite> code = {{128, trunk},      {128, trunk + 32},  {57, trunk + 64},
                                          {1, trunk + 96},   {128, trunk + 128}, {128, startup},
                                          {30, startup + 32}};
    const auto writes = Writes();
    ASSERT_GE(writes.size(), code.size());
    EXPECT_EQ(std::vector<RadioWrite>(writes.begin(), writes.begin() + 7), code);
    // Each piece sits at the start of its own slot.
    EXPECT_EQ(RadioBytes(trunk, 16383),
              std::vector<std::uint8_t>(trunkCode.begin(), trunkCode.begin() + 16383));
    EXPECT_EQ(RadioBytes(trunk + 64, 7234),
              std::vector<std::uint8_t>(trunkCode.begin() + 32766, trunkCode.begin() + 40000));
    EXPECT_EQ(RadioBytes(startup + 32, 20100 - 16383),
              std::vector<std::uint8_t>(startupCode.begin() + 16383, startupCode.begin() + 20100));
    // The overlay section (slot 1) lands 4096 bytes into the overlay area.
    EXPECT_EQ(RadioBytes(trunk + 128 + 8, 1)[0], 0x00);
    EXPECT_EQ(RadioBytes(trunk + 128 + 8, 6)[3], 0x5A);
}

// A radio without startup code reports no descriptor ("Undefined", version 0): upgrading its
// trunk code brings the startup code of the same version along.
TEST_F(ProgramTrunkTest, RadioWithoutStartupDescriptorGetsTheStartupCode) {
    StartRadio("type = 0\nstartup_code.present = no\ntrunk_job = yes\n");
    PutCode("7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
    PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820"));
    person_.answers = {Answer::Yes};
    ProgramJob(testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true));
    ExpectEndedCleanly();
    EXPECT_TRUE(trunkProgramming_->Completed());
    const auto erases = Erases();
    ASSERT_GE(erases.size(), 3u);
    EXPECT_EQ(erases[2], Sector(fit::kStartupCode));
    // No descriptor to read: only the area's head was read.
    EXPECT_EQ(RadioLogCount("ReadRequest block " + std::to_string(Block(fit::kStartupCode))), 1);
}

TEST_F(ProgramTrunkTest, TrunkCodeWithoutOverlayStillErasesTheOverlaySector) {
    StartRadio("type = 0\ntrunk_job = yes\n");
    PutCode("7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
    PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820"));
    person_.answers = {Answer::Yes};
    ProgramJob(testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true));
    ExpectEndedCleanly();
    const auto erases = Erases();
    ASSERT_GE(erases.size(), 2u);
    EXPECT_EQ(erases[1], Sector(fit::kTrunkCode) + 1);
    const auto writes = Writes();
    EXPECT_TRUE(std::none_of(writes.begin(), writes.end(), [&](const RadioWrite& w) {
        return w.block == Block(fit::kTrunkCode) + 128;
    }));
}

// ---- Refusals: nothing is erased ----

struct Refusal {
    const char* name;
    const char* profile;
    testing::JobHead head;
    bool network1Channels;
    std::vector<std::pair<const char*, std::vector<std::uint8_t>>> files;
    std::deque<Answer> answers;
    std::string lastText;
    bool radioAsked;  // the radio was identified before the refusal
};

class TrunkRefusalTest : public ProgramTrunkTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(TrunkRefusalTest, RefusesBeforeTheFirstErase) {
    const Refusal& c = GetParam();
    StartRadio(c.profile);
    for (const auto& [name, bytes] : c.files) {
        PutCode(name, bytes);
    }
    person_.answers = c.answers;
    TrunkJobImage job = testing::PatternTrunkJob(c.head, testing::kModeTrunkJob, true);
    if (!c.network1Channels) {
        job.SetU16(trunk::NetworkFileStart(0) + 0x2E4, 0);
    }
    const auto before = AllRadioBytes();
    ProgramJob(job);
    ASSERT_FALSE(person_.shown.empty());
    EXPECT_EQ(person_.shown.back().text, c.lastText);
    EXPECT_TRUE(Erases().empty()) << Log();
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(AllRadioBytes(), before);
    EXPECT_EQ(RadioLogged("IdentifyRequest"), c.radioAsked);
    EXPECT_FALSE(trunkProgramming_->Completed());
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
}

std::string BandText(const char* radio, const char* job) {
    std::array<char, 256> text{};
    std::snprintf(text.data(), text.size(), kIncorrectBandFormat, radio, job);
    return text.data();
}

const std::vector<std::uint8_t> kTruncatedStartup = [] {
    auto bytes = testing::SampleCodeFile(4, "V6.30", 20000, false, "10820");
    bytes.resize(15000);
    return bytes;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, TrunkRefusalTest,
    ::testing::Values(
        Refusal{"Network1WithoutChannels",
                "type = 0\ntrunk_job = yes\n",
                kHeadHmF,
                false,
                {},
                {},
                kNoNetwork1ChannelsText,
                false},
        Refusal{"SecureRadio",
                "type = 16\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {},
                {},
                kInvalidRadioProgrammingText,
                true},
        Refusal{"MobileJobIntoPortable",
                "type = 1\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {},
                {},
                kMobileJobIntoPortableText,
                true},
        Refusal{"DowngradeDeclinedTwice",
                "type = 0\ntrunk_code.version = V6.40\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {{"7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false)},
                 {"7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820")}},
                {Answer::No, Answer::No},
                kProgramAnywayQuestion,
                true},
        // The startup file is unusable: found out before the trunk code sector is erased.
        Refusal{"BrokenStartupCodeFile",
                "type = 0\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {{"7ktm630.bin", testing::SampleCodeFile(2, "V6.30", 20000, false)},
                 {"7ks_630.bin", kTruncatedStartup}},
                {Answer::Yes},
                kNoDescriptionText,
                true},
        // A file named as trunk code that holds startup code.
        Refusal{"WrongKindOfCode",
                "type = 0\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {{"7ktm630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false)},
                 {"7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20000, false, "10820")}},
                {Answer::Yes},
                kUnknownCodeFileText,
                true},
        // New flash devices take no software before V6.30.
        Refusal{"OlderSoftwareOnNewFlash",
                "type = 4\nflash_type = 2\ntrunk_code.software_code = 10810\n"
                "trunk_code.version = V6.10\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {{"79tm620.bin", testing::SampleCodeFile(83, "V6.20", 20000, false)},
                 {"79s_620.bin", testing::SampleCodeFile(80, "V6.20", 20000, false, "12910")}},
                {Answer::Yes},
                kOlderSoftwareProgrammingText,
                true},
        Refusal{"BandMismatch",
                "type = 0\nband = B2\ntrunk_job = yes\n",
                kHeadHmF,
                true,
                {},
                {},
                BandText("B2", "A1"),
                true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The command ----

TEST_F(ProgramTrunkTest, CommandRefusesTheNetworkViewAndAMissingJob) {
    struct Case {
        int view;
        bool trunkLoaded;
        const char* text;
    };
    const Case cases[] = {
        {kImageNetwork, true, kProgramInNetworkViewText},
        {kImageNetwork, false, kNoJobLoadedText},
        {kImageTrunk, false, kNoJobLoadedText},
        {kImagePmr, true, kNoJobLoadedText},
    };
    for (const Case& c : cases) {
        person_.shown.clear();
        state_.ImageKind = c.view;
        state_.TrunkJobLoaded = c.trunkLoaded;
        state_.PmrJobLoaded = false;
        operations_->ProgramRadio();
        ASSERT_EQ(person_.Texts(), std::vector<std::string>{c.text}) << c.view;
        EXPECT_FALSE(state_.CommsBusy);
        EXPECT_FALSE(link_->PortOpen());
    }
}

// ---- A bad line ----

struct LineTrouble {
    const char* name;
    sim::FaultOptions faults;
};

class TrunkLineTroubleTest : public ProgramTrunkTest,
                             public ::testing::WithParamInterface<LineTrouble> {};

// Lost and corrupted frames are repaired by the link; a radio that resets its link or falls
// silent ends the operation. Either way programming ends, and no write lands on flash that the
// operation has not erased.
TEST_P(TrunkLineTroubleTest, EndsWithoutWritingOntoUnerasedFlash) {
    StartRadio("type = 0\ntrunk_job = yes\n", GetParam().faults);
    const TrunkJobImage job = testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
    ProgramJob(job);
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
    EXPECT_TRUE(radio_->Memory().Faults().empty()) << Log();
    if (trunkProgramming_->Completed()) {
        EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
        const auto written = RadioBytes(Block(fit::kTrunkConfig), 16384);
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->Write(0x8000, written);
        TrunkJobImage back;
        UnpackTrunkRead(*scratch, back);
        EXPECT_EQ(back, job);
    } else {
        EXPECT_EQ(person_.Texts().back(), kSerialCommsErrorText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TrunkLineTroubleTest,
    ::testing::Values(LineTrouble{"LostFramesToTheRadio", {.dropIncomingEvery = 7}},
                      LineTrouble{"LostFramesFromTheRadio", {.dropOutgoingEvery = 5}},
                      LineTrouble{"CorruptedBytes", {.corruptProbability = 0.0005, .seed = 3}},
                      LineTrouble{"RadioResetsItsLink", {.linkRequestAfterMessage = 40}},
                      LineTrouble{"RadioFallsSilent", {.silenceAfterMessage = 30}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace km
