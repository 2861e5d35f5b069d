#include "radio/PmrPrep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "PrepTestSupport.h"
#include "ScriptedPerson.h"
#include "image/WordOrder.h"

namespace km {
namespace {

using testing::Mobile;
using testing::PortableRadio;
using testing::ScratchFolder;
using testing::ScriptedPerson;

constexpr std::uint8_t kPmrMode = 0, kMultiMode = 2;
constexpr std::size_t kChannelRecords = 0x3D2C;
constexpr std::size_t kEncodeRecords = 0xBA2C;
constexpr std::size_t kGroupBRecords = 0xDA2C;
constexpr std::size_t kZoneRecords = 0xEA2C;

struct Counts {
    std::uint16_t channels = 300;
    std::uint16_t encodes = 10;
    std::uint16_t groupB = 4;
    std::uint16_t zones = 3;
};

// A job whose every byte is known; a heap copy, the image is large.
std::unique_ptr<PmrJobImage> Job(std::uint8_t mode, const Counts& counts) {
    auto job = std::make_unique<PmrJobImage>();
    for (std::size_t i = 0; i < job->Size(); ++i) {
        job->SetU8(i, static_cast<std::uint8_t>(i * 13 + i / 251));
    }
    job->SetU8(pmr::kRadioMode, mode);
    job->SetU16(pmr::kChannelCount, counts.channels);
    job->SetU16(pmr::kEncodeCount, counts.encodes);
    job->SetU16(pmr::kGroupBCount, counts.groupB);
    job->SetU16(pmr::kZoneCount, counts.zones);
    return job;
}

AlignConfig Align() {
    AlignConfig config;
    for (std::size_t i = 0; i < config.size(); ++i) {
        config[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return config;
}

// ---- aligncfg.bin ----

TEST(AlignConfigTest, MissingOrShortFileWarnsBeforeAnythingHappens) {
    for (std::size_t size : {std::size_t{0}, std::size_t{199}}) {
        ScratchFolder folder;
        if (size > 0) {
            folder.Put("aligncfg.bin", std::vector<std::uint8_t>(size, 1));
        }
        ScriptedPerson person;
        EXPECT_FALSE(LoadAlignConfig(folder.Path(), person));
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].kind, BoxKind::Warning);
        EXPECT_EQ(person.shown[0].text, "\"ALIGNCFG.BIN\"  file not found ");
    }
}

TEST(AlignConfigTest, FirstTwoHundredBytesAreTakenFromAFileNamedInAnyCase) {
    ScratchFolder folder;
    std::vector<std::uint8_t> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    folder.Put("ALIGNCFG.BIN", bytes);
    ScriptedPerson person;
    const auto config = LoadAlignConfig(folder.Path(), person);
    ASSERT_TRUE(config);
    EXPECT_TRUE(std::ranges::equal(*config, std::span(bytes).first(200)));
    EXPECT_TRUE(person.shown.empty());
}

// ---- Startup data and PMR configuration ----

TEST(PreparePmrDataTest, StartupDataIsAligncfgPatchedFromTheJob) {
    auto job = Job(kPmrMode, {});
    job->SetU16(144, 0x0302);
    job->SetU8(156, 0x40);
    auto scratch = std::make_unique<ScratchBuffer>();
    scratch->Fill(0xEE);
    const WriteRegions regions = PreparePmrData(*job, Align(), *scratch);

    EXPECT_EQ(regions.WriteRegionLength, (std::array<std::size_t, 4>{512, 15660, 0, 0}));
    EXPECT_EQ(regions.progressTotal, (15660 + 2 * 512) / 128 + 10);
    const std::array<std::uint8_t, 4> counts{scratch->U8(0), scratch->U8(1), scratch->U8(2),
                                             scratch->U8(3)};
    EXPECT_EQ(counts, (std::array<std::uint8_t, 4>{4, 122, 0, 0}));
    EXPECT_EQ(scratch->U8(4), 0xA4);
    EXPECT_EQ(scratch->U8(199), static_cast<std::uint8_t>(0xA0 + 199));
    EXPECT_EQ(scratch->U8(200), 0);
    EXPECT_EQ(scratch->U8(332), 0);
    EXPECT_EQ(scratch->U8(333), 1);
    EXPECT_EQ(scratch->U16BE(350), 300);
    EXPECT_EQ(scratch->U8(352), 0);
    EXPECT_EQ(scratch->U8(353), 2);
    // A PMR-only job writes one blank block into the trunk area.
    EXPECT_EQ(scratch->U8(0x8000), 0xFF);
    EXPECT_EQ(scratch->U8(0x80FF), 0xFF);
    EXPECT_EQ(scratch->U8(0x8100), 0);

    SwapPmrWords(*scratch, 0x4000);
    EXPECT_TRUE(std::ranges::equal(scratch->Region(0x4000, 15660), job->Region(0, 15660)));
}

TEST(PreparePmrDataTest, MultiModeJobKeepsTheRadiosTrunkArea) {
    auto job = Job(kMultiMode, {1200});
    auto scratch = std::make_unique<ScratchBuffer>();
    const WriteRegions regions = PreparePmrData(*job, Align(), *scratch);
    EXPECT_EQ(regions.WriteRegionLength[2], 16384u);
    EXPECT_EQ(scratch->U8(2), 128);
    EXPECT_EQ(scratch->U8(0x8000), 0);
    EXPECT_EQ(regions.progressTotal, (15660 + 2 * 512 + 2 * 16384) / 128 + 10);
    // The radio is told how many channels are written, not a count beyond the table.
    EXPECT_EQ(scratch->U16BE(350), 1000);
}

TEST(PreparePmrDataTest, NetworksTheRadioDoesNotHoldAreNotNamed) {
    struct Case {
        std::uint16_t network1Band;
        std::uint16_t network2Band;
        std::uint8_t selected;
        std::uint8_t blocks;
        std::uint8_t selectedAfter;
    };
    for (const Case& c : {Case{0x4143, 0x0000, 2, 104, 3}, Case{0x4143, 0xFFFF, 1, 104, 1},
                          Case{0x0000, 0x0000, 1, 0, 3}, Case{0xFFFF, 0x4143, 2, 0, 2},
                          Case{0x4143, 0x4143, 2, 128, 2}}) {
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->SetU8(2, 128);
        scratch->SetU8(353, c.selected);
        scratch->SetU16BE(0xAE5C, c.network1Band);
        scratch->SetU16BE(0xBA5C, c.network2Band);
        SetPmrStartupNetworks(*scratch);
        EXPECT_EQ(scratch->U8(2), c.blocks) << c.network1Band << " " << c.network2Band;
        EXPECT_EQ(scratch->U8(353), c.selectedAfter);
    }
}

// ---- Channels, encodes and group B ----

TEST(PreparePmrChannelsTest, ChannelWritesSplitWhereTheRadioReadsThem) {
    struct Case {
        std::uint16_t channels;
        std::size_t first;
        std::size_t second;
    };
    for (const Case& c : {Case{300, 9600, 0}, Case{512, 16384, 0}, Case{600, 16384, 2816},
                          Case{1000, 16384, 15616}, Case{40000, 16384, 15616}}) {
        auto job = Job(kPmrMode, {c.channels});
        auto scratch = std::make_unique<ScratchBuffer>();
        ScriptedPerson person;
        const PmrChannelRegions prep = PreparePmrChannels(*job, false, Mobile(0), *scratch, person);
        EXPECT_TRUE(prep.proceed);
        EXPECT_EQ(prep.regions.WriteRegionLength,
                  (std::array<std::size_t, 4>{c.first, c.second, 0, 0}))
            << c.channels;
        // Record 512 starts the second write at 0x4000; the records are copied unchanged.
        EXPECT_TRUE(
            std::ranges::equal(scratch->Region(0, 32000), job->Region(kChannelRecords, 32000)));
        EXPECT_EQ(scratch->U8(0x4000), job->U8(kChannelRecords + 512 * 32));
    }
}

TEST(PreparePmrChannelsTest, EncodeAndGroupBRecordsAreTurnedAndCountsClamped) {
    auto job = Job(kPmrMode, {300, 260, 200});
    job->SetU16(kEncodeRecords, 0x1234);       // word 0 of encode 0: swapped
    job->SetU16(kEncodeRecords + 12, 0x5678);  // word 6: stays
    job->SetU16(kGroupBRecords + 30, 0x9ABC);  // word 15 of group B 0: swapped
    auto scratch = std::make_unique<ScratchBuffer>();
    ScriptedPerson person;
    const PmrChannelRegions prep = PreparePmrChannels(*job, false, Mobile(0), *scratch, person);
    EXPECT_EQ(prep.encodeLength, 250u * 32);
    EXPECT_EQ(prep.groupBLength, 128u * 32);
    EXPECT_EQ(scratch->U16BE(0x8000), 0x1234);
    EXPECT_EQ(scratch->U16(0x8000 + 12), 0x5678);
    EXPECT_EQ(scratch->U16BE(0xA000 + 30), 0x9ABC);
    EXPECT_EQ(prep.regions.WriteRegionLength[3], 0u);
    EXPECT_EQ(prep.regions.progressTotal, (9600 + 8000 + 4096) / 128 + 3);
}

TEST(PreparePmrChannelsTest, PortablesAndNewerMobilesGetASecondConfigurationCopy) {
    struct Case {
        bool portableHead;
        RadioIdentity radio;
        bool copy;
    };
    for (const Case& c :
         {Case{true, PortableRadio(true, true, true), true}, Case{false, Mobile(4), true},
          Case{false, Mobile(8), true}, Case{false, Mobile(0), false}}) {
        auto job = Job(kPmrMode, {});
        auto scratch = std::make_unique<ScratchBuffer>();
        ScriptedPerson person;
        const PmrChannelRegions prep =
            PreparePmrChannels(*job, c.portableHead, c.radio, *scratch, person);
        EXPECT_EQ(prep.regions.WriteRegionLength[3], c.copy ? 15660u : 0u);
        if (c.copy) {
            SwapPmrWords(*scratch, 0xC000);
            EXPECT_TRUE(std::ranges::equal(scratch->Region(0xC000, 15660), job->Region(0, 15660)));
        }
    }
}

TEST(PreparePmrChannelsTest, JobWithoutChannelsWritesNothing) {
    auto job = Job(kPmrMode, {0});
    auto scratch = std::make_unique<ScratchBuffer>();
    ScriptedPerson person;
    const PmrChannelRegions prep = PreparePmrChannels(*job, true, Mobile(0), *scratch, person);
    EXPECT_FALSE(prep.proceed);
    EXPECT_EQ(prep.regions.WriteRegionLength, (std::array<std::size_t, 4>{}));
    EXPECT_EQ(prep.encodeLength, 0u);
    EXPECT_EQ(prep.groupBLength, 0u);
    EXPECT_EQ(person.Texts(), std::vector<std::string>{"No channels defined."});
    EXPECT_EQ(person.shown[0].kind, BoxKind::Warning);
}

// ---- Zones ----

TEST(PrepareZonesTest, ZoneTableLengthFollowsTheClampedCount) {
    for (const auto& [zones, length] : {std::pair{std::uint16_t{3}, std::size_t{2400}},
                                        std::pair{std::uint16_t{0}, std::size_t{0}},
                                        std::pair{std::uint16_t{65535}, std::size_t{16000}}}) {
        auto job = Job(kPmrMode, {300, 0, 0, zones});
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->Fill(0xEE);
        const WriteRegions regions = PrepareZones(*job, *scratch);
        EXPECT_EQ(regions.WriteRegionLength, (std::array<std::size_t, 4>{length, 0, 0, 0}));
        EXPECT_EQ(regions.progressTotal, static_cast<int>(length / 128) + 3);
        EXPECT_TRUE(
            std::ranges::equal(scratch->Region(0, 16000), job->Region(kZoneRecords, 16000)));
        EXPECT_EQ(scratch->U8(16000), 0);
    }
}

}  // namespace
}  // namespace km
