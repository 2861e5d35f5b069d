#include "radio/TrunkPrep.h"

#include <gtest/gtest.h>

#include <memory>

#include "PrepTestSupport.h"
#include "ScriptedPerson.h"
#include "image/WordOrder.h"

namespace km {
namespace {

using testing::Mobile;
using testing::PortableRadio;
using testing::ScriptedPerson;

constexpr std::uint8_t kPmrMode = 0, kTrunkMode = 1, kMultiMode = 2;

// A job whose every byte is known, with hunt channels in Network 1.
TrunkJobImage Job(std::uint8_t mode, bool network2) {
    TrunkJobImage job;
    for (std::size_t i = 0; i < job.Size(); ++i) {
        job.SetU8(i, static_cast<std::uint8_t>(i * 7 + i / 256));
    }
    job.SetU8(trunk::kRadioMode, mode);
    job.SetU16(0x30E4, 3);
    job.SetU16(trunk::NetworkFileStart(1) + network::kBandCode, network2 ? 0x4143 : 0);
    return job;
}

struct Prepared {
    std::unique_ptr<ScratchBuffer> scratch = std::make_unique<ScratchBuffer>();
    ScriptedPerson person;
    TrunkPreparation prep;
};

Prepared Prepare(const TrunkJobImage& job, bool portableHead, const RadioIdentity& radio) {
    Prepared p;
    p.scratch->Fill(0xEE);  // left over from an earlier operation
    p.prep = PrepareTrunkData(job, portableHead, radio, *p.scratch, p.person);
    return p;
}

std::array<std::uint8_t, 4> Bytes4(const ScratchBuffer& s, std::size_t at) {
    return {s.U8(at), s.U8(at + 1), s.U8(at + 2), s.U8(at + 3)};
}

TEST(PrepareTrunkDataTest, RegionsAndHeaderCopiesFollowModeHeadAndRadio) {
    struct Case {
        const char* name;
        std::uint8_t mode;
        bool network2;
        bool portableHead;
        RadioIdentity radio;
        std::array<std::size_t, 4> regions;
        std::array<std::uint8_t, 4> header;
        std::array<std::uint8_t, 4> secondHeader;
        int progressTotal;
    };
    const Case cases[] = {
        {"Rev 8 trunk",
         kTrunkMode,
         false,
         false,
         Mobile(0),
         {512, 0, 13312, 0},
         {4, 0, 104, 0},
         {4, 0, 104, 0},
         115},
        {"Rev 8 multi",
         kMultiMode,
         true,
         false,
         Mobile(0),
         {512, 16383, 16384, 0},
         {4, 127, 128, 0},
         {4, 127, 128, 0},
         394},
        {"Rev 8 PMR mode",
         kPmrMode,
         false,
         false,
         Mobile(0),
         {512, 16383, 13312, 0},
         {4, 127, 104, 0},
         {4, 127, 104, 0},
         370},
        {"portable multi",
         kMultiMode,
         true,
         true,
         PortableRadio(true, true, true),
         {512, 0, 16384, 0},
         {4, 0, 128, 0},
         {0, 0, 128, 0},
         139},
        {"Rev 10 multi",
         kMultiMode,
         false,
         false,
         Mobile(8),
         {512, 0, 13312, 0},
         {4, 0, 104, 0},
         {4, 127, 104, 0},
         115},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Prepared p = Prepare(Job(c.mode, c.network2), c.portableHead, c.radio);
        EXPECT_TRUE(p.prep.proceed);
        EXPECT_EQ(p.prep.regions.WriteRegionLength, c.regions);
        EXPECT_EQ(Bytes4(*p.scratch, 0), c.header);
        EXPECT_EQ(Bytes4(*p.scratch, 0x4000), c.secondHeader);
        EXPECT_EQ(p.prep.regions.progressTotal, c.progressTotal);
        // Only a trunk-mode job blanks the complex PMR area after the header copy.
        EXPECT_EQ(p.scratch->U8(0x40FF), c.mode == kTrunkMode ? 0xFF : 0x00);
        EXPECT_EQ(p.scratch->U8(0x4100), 0x00);
        EXPECT_TRUE(p.person.shown.empty());
    }
}

TEST(PrepareTrunkDataTest, JobIsLaidOutHighByteFirstAndSwapsBackToItself) {
    for (bool network2 : {false, true}) {
        TrunkJobImage job = Job(kTrunkMode, network2);
        job.SetU16(0x0004, 0x1234);  // a radio-wide word
        const Prepared p = Prepare(job, false, Mobile(0));
        EXPECT_EQ(p.scratch->U8(0x8004), 0x12);
        EXPECT_EQ(p.scratch->U8(0x8005), 0x34);

        ScratchBuffer back = *p.scratch;
        SwapTrunkWords(back);
        EXPECT_TRUE(std::ranges::equal(back.Region(0x8000, 0x3400), job.Region(0, 0x3400)));
        if (network2) {
            EXPECT_TRUE(std::ranges::equal(back.Region(0xB400, 0xC00), job.Region(0x3400, 0xC00)));
        } else {
            EXPECT_TRUE(std::ranges::all_of(p.scratch->Region(0xB400, 0xC00),
                                            [](std::uint8_t b) { return b == 0; }));
        }
        // Nothing is left over from earlier work.
        EXPECT_EQ(p.scratch->U8(0x0004), 0);
        EXPECT_EQ(p.scratch->U8(0xC000), 0);
    }
}

TEST(PrepareTrunkDataTest, Network1WithoutChannelsStopsTheOperation) {
    TrunkJobImage job = Job(kTrunkMode, false);
    job.SetU16(0x30E4, 0);
    const Prepared p = Prepare(job, false, Mobile(0));
    EXPECT_FALSE(p.prep.proceed);
    ASSERT_EQ(p.person.shown.size(), 1u);
    EXPECT_EQ(p.person.shown[0].kind, BoxKind::Warning);
    EXPECT_EQ(p.person.shown[0].text, "No channels defined in the Network 1 file.");

    ScriptedPerson person;
    EXPECT_FALSE(CheckTrunkJobBeforeProgramming(job, person));
    EXPECT_EQ(person.Texts(), std::vector<std::string>{kNoNetwork1ChannelsText});
    for (std::size_t countByte : {0x30E4, 0x30E5}) {
        job.SetU16(0x30E4, 0);
        job.SetU8(countByte, 1);
        ScriptedPerson quiet;
        EXPECT_TRUE(CheckTrunkJobBeforeProgramming(job, quiet));
        EXPECT_TRUE(quiet.shown.empty());
    }
}

TEST(PrepareTrunkDataTest, StartupHeaderTakesModeBlockCountsAndJobValues) {
    TrunkJobImage job = Job(kMultiMode, true);
    job.SetU8(0x9C, 0x40);
    job.SetU16(0x90, 0x0102);
    ScratchBuffer scratch;
    scratch.Fill(0xEE);
    WriteRegions regions;
    regions.WriteRegionLength = {512, 16383, 16384, 0};
    SetTrunkStartupHeader(job, regions, scratch);
    EXPECT_EQ(Bytes4(scratch, 0), (std::array<std::uint8_t, 4>{4, 0x80, 128, 0}));
    EXPECT_EQ(scratch.U8(332), 0);
    EXPECT_EQ(scratch.U8(333), 1);
    EXPECT_EQ(scratch.U8(352), 0);
    EXPECT_EQ(scratch.U8(353), 2);
    EXPECT_EQ(scratch.U8(4), 0xEE);  // the rest is the radio's own

    job.SetU8(trunk::kRadioMode, kTrunkMode);
    job.SetU8(0x9C, 0xBF);
    SetTrunkStartupHeader(job, regions, scratch);
    EXPECT_EQ(scratch.U8(1), 0x00);
    EXPECT_EQ(scratch.U8(333), 0);
}

}  // namespace
}  // namespace km
