// Program Radio in the PMR view against the virtual radio: the areas written for a Revision 8
// mobile, a Revision 10 mobile with a zone table and a portable; the startup data that follows
// the radio's trunk data; the PMR code upgrade; and the refusals before anything is erased.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::kHeadHmF;
using testing::kHeadKp8b;
using testing::RadioWrite;
namespace fit = sim::fit;

class ProgramPmrTest : public testing::ProgramBench {
  protected:
    void ProgramJob(const PmrJobImage& job) {
        workspace_->pmr = job;
        Program(kImagePmr);
    }
};

struct EntryWrite {
    int entry;  // FIT entry of the area written
    int blocks;
};

struct PmrAreaCase {
    const char* name;
    const char* profile;
    testing::JobHead head;
    std::uint8_t mode;
    int channels;
    int zones;
    bool zoneMode;
    std::vector<int> erasedEntries;
    std::vector<EntryWrite> writes;
};

class PmrAreasTest : public ProgramPmrTest, public ::testing::WithParamInterface<PmrAreaCase> {};

TEST_P(PmrAreasTest, ErasesAndWritesTheRadiosAreas) {
    const PmrAreaCase& c = GetParam();
    StartRadio(c.profile);
    ProgramJob(testing::PatternPmrJob(c.head, c.mode, c.channels, c.zones, c.zoneMode));
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ExpectEndedCleanly();

    std::vector<int> sectors;
    for (const int entry : c.erasedEntries) {
        sectors.push_back(Sector(entry));
    }
    EXPECT_EQ(Erases(), sectors);
    std::vector<RadioWrite> writes;
    for (const EntryWrite& w : c.writes) {
        writes.push_back({w.blocks, Block(w.entry)});
    }
    EXPECT_EQ(Writes(), writes);
    // The radio is told how many channels follow.
    const auto startup = RadioBytes(Block(fit::kStartupData), 512);
    EXPECT_EQ(startup[350] * 256 + startup[351], c.channels);
}

INSTANTIATE_TEST_SUITE_P(
    Radios, PmrAreasTest,
    ::testing::Values(
        // 300 channels are 9600 bytes (75 blocks); the second channel area still gets one block.
        // A PMR-only job writes one blank block to the trunk area.
        PmrAreaCase{"Revision8PmrMode300Channels",
                    "type = 0\npmr_channels = 10\n",
                    kHeadHmF,
                    testing::kModePmrJob,
                    300,
                    0,
                    false,
                    {fit::kStartupData, fit::kPmrContext, fit::kChannels1},
                    {{fit::kStartupData, 4},
                     {fit::kPmrConfig, 123},
                     {fit::kTrunkConfig, 1},
                     {fit::kChannels1, 75},
                     {fit::kChannels2, 1},
                     {fit::kEncodes, 1},
                     {fit::kGroupB, 1}}},
        // 600 channels: records 0-511 in the first area, 88 more (2816 bytes) in the second.
        PmrAreaCase{"Revision10ZoneMode600Channels",
                    "type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n",
                    kHeadHmF,
                    testing::kModeMultiJob,
                    600,
                    5,
                    true,
                    {fit::kStartupData, fit::kPmrContext, fit::kChannels1, fit::kZoneTable},
                    {{fit::kStartupData, 4},
                     {fit::kChannels1, 128},
                     {fit::kChannels2, 22},
                     {fit::kEncodes, 1},
                     {fit::kGroupB, 1},
                     {fit::kPmrConfig, 123},
                     {fit::kZoneTable, 32}}},
        PmrAreaCase{"Portable",
                    "type = 1\npmr_code.software_code = 11240\n",
                    kHeadKp8b,
                    testing::kModePmrJob,
                    20,
                    0,
                    false,
                    {fit::kStartupData, fit::kPmrContext, fit::kChannels1, fit::kZoneTable},
                    {{fit::kStartupData, 4},
                     {fit::kChannels1, 5},
                     {fit::kChannels2, 1},
                     {fit::kEncodes, 1},
                     {fit::kGroupB, 1},
                     {fit::kPmrConfig, 123},
                     {fit::kZoneTable, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramPmrTest, PmrOnlyJobWritesABlankTrunkBlock) {
    StartRadio("type = 0\ntrunk_job = yes\npmr_channels = 10\n");
    ProgramJob(testing::PatternPmrJob(kHeadHmF, testing::kModePmrJob, 300, 0, false));
    ExpectEndedCleanly();
    EXPECT_TRUE(
        RadioLogged("write of 1 data blocks to block " + std::to_string(Block(fit::kTrunkConfig))));
    EXPECT_EQ(RadioBytes(Block(fit::kTrunkConfig), 128), std::vector<std::uint8_t>(128, 0xFF));
}

// The startup data names the trunk networks the radio holds: a radio whose trunk data has no
// Network 2 gets 104 blocks of trunk data (Network 1's part) in byte 2.
TEST_F(ProgramPmrTest, StartupDataFollowsTheNetworksOfTheRadiosTrunkData) {
    StartRadio("type = 0\npmr_channels = 10\n");
    workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, testing::kModeMultiJob, false);
    Program(kImageTrunk);
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    radioLog_.clear();

    PmrJobImage job = testing::PatternPmrJob(kHeadHmF, testing::kModeMultiJob, 50, 0, false);
    job.SetU16(144, 2);  // the PMR side names Network 2
    ProgramJob(job);
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ExpectEndedCleanly();
    const auto startup = RadioBytes(Block(fit::kStartupData), 512);
    EXPECT_EQ(startup[2], 104);
    EXPECT_EQ(startup[353], 3) << "the absent Network 2 is not named";
    // The radio's trunk data was read back and written again unchanged.
    EXPECT_TRUE(RadioLogged("ReadRequest block " + std::to_string(Block(fit::kTrunkConfig)) +
                            " size 16384"));
}

TEST_F(ProgramPmrTest, PmrCodeUpgradeComesBeforeTheConfiguration) {
    StartRadio("type = 0\npmr_channels = 10\n");
    const auto pmrCode = testing::SampleCodeFile(3, "V6.30", 30100, false, "10720");
    PutCode("7kp_630.bin", pmrCode);
    PutCode("7ks_630.bin", testing::SampleCodeFile(4, "V6.30", 20100, false, "10820"));
    person_.answers = {Answer::Yes};
    ProgramJob(testing::PatternPmrJob(kHeadHmF, testing::kModePmrJob, 30, 0, false));
    ASSERT_EQ(person_.shown.size(), 1u) << person_.Texts().back();
    ExpectEndedCleanly();
    const auto erases = Erases();
    ASSERT_GE(erases.size(), 2u);
    EXPECT_EQ(erases[0], Sector(fit::kPmrCode));
    EXPECT_EQ(erases[1], Sector(fit::kStartupCode));
    const int block = Block(fit::kPmrCode);
    const auto writes = Writes();
    ASSERT_GE(writes.size(), 4u);
    EXPECT_EQ(std::vector<RadioWrite>(writes.begin(), writes.begin() + 4),
              (std::vector<RadioWrite>{
                  {128, block}, {108, block + 32}, {1, block + 64}, {1, block + 96}}));
    EXPECT_EQ(RadioBytes(block + 32, 30100 - 16383),
              std::vector<std::uint8_t>(pmrCode.begin() + 16383, pmrCode.begin() + 30100));
}

// ---- Refusals before anything is erased ----

struct PmrRefusal {
    const char* name;
    const char* profile;
    testing::JobHead head;
    bool zoneMode;
    bool alignConfig;
    std::string text;
    bool radioAsked;
};

class PmrRefusalTest : public ProgramPmrTest, public ::testing::WithParamInterface<PmrRefusal> {};

TEST_P(PmrRefusalTest, RefusesBeforeTheFirstErase) {
    const PmrRefusal& c = GetParam();
    StartRadio(c.profile);
    if (!c.alignConfig) {
        std::filesystem::remove(folder_ / "aligncfg.bin");
    }
    const auto before = AllRadioBytes();
    ProgramJob(testing::PatternPmrJob(c.head, testing::kModeMultiJob, 30, 2, c.zoneMode));
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{c.text});
    EXPECT_TRUE(Erases().empty()) << Log();
    EXPECT_EQ(AllRadioBytes(), before);
    EXPECT_EQ(RadioLogged("IdentifyRequest"), c.radioAsked);
    EXPECT_FALSE(pmrProgramming_->Completed());
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PmrRefusalTest,
    ::testing::Values(PmrRefusal{"AlignConfigMissing", "type = 0\npmr_channels = 10\n", kHeadHmF,
                                 false, false, kAlignConfigMissingText, false},
                      PmrRefusal{"ZoneModeOnRevision8", "type = 0\npmr_channels = 10\n", kHeadHmF,
                                 true, true, kRevision8ZoneTableText, true},
                      PmrRefusal{"ZoneModeOnPortableWithOldTable",
                                 "type = 1\nzone_area = no\npmr_code.software_code = 11240\n",
                                 kHeadKp8b, true, true, kOldFitZoneTableText, true},
                      PmrRefusal{"ZoneModeOnRevision1Portable",
                                 "type = 1\npmr_code.software_code = 11240\n", kHeadKp8b, true,
                                 true, kRevision1PortableZoneText, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramPmrTest, JobWithoutChannelsIsRefusedOnceTheLinkIsUp) {
    StartRadio("type = 0\npmr_channels = 10\n");
    ProgramJob(testing::PatternPmrJob(kHeadHmF, testing::kModePmrJob, 0, 0, false));
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kNoChannelsDefinedText});
    EXPECT_FALSE(RadioLogged("IdentifyRequest"));
    EXPECT_FALSE(link_->PortOpen());
}

}  // namespace
}  // namespace km
