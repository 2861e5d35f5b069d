// Program Radio and Read Radio against the virtual radio: a job programmed and read back comes
// back as it was, apart from the bytes the radio never holds, and the radio never sees a write
// onto flash that was not erased.

#include <gtest/gtest.h>

#include <functional>

#include "ProgramFixtures.h"
#include "sim/RadioWords.h"

namespace km {
namespace {

using testing::kHeadHmF;
using testing::kHeadKp8b;
using testing::ProgramBench;

class RoundTripTest : public ProgramBench {};

struct TrunkRoundTrip {
    const char* name;
    const char* profile;
    testing::JobHead head;
    std::uint8_t mode;
    bool network2;
};

class TrunkRoundTripTest : public RoundTripTest,
                           public ::testing::WithParamInterface<TrunkRoundTrip> {};

// The trunk read takes 16383 bytes of the radio's trunk area: the job's last byte (0x3FFF) is
// never read back. Without Network 2 only Network 1's part (0x0000-0x33FF) is written, so the
// Network 2 slot reads back as the erased flash it is.
std::vector<std::size_t> BytesTheRadioDoesNotHold(bool network2) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = network2 ? 0x3FFF : 0x3400; i < TrunkJobImage::kSize; ++i) {
        offsets.push_back(i);
    }
    return offsets;
}

TEST_P(TrunkRoundTripTest, TheJobReadBackIsTheJobProgrammed) {
    const TrunkRoundTrip& c = GetParam();
    StartRadio(c.profile);
    const TrunkJobImage job = testing::PatternTrunkJob(c.head, c.mode, c.network2);
    workspace_->trunk = job;
    Program(kImageTrunk);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(trunkProgramming_->Completed());
    ExpectEndedCleanly();
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    // What the radio holds is the job in the radio's own word order.
    const std::size_t written = c.network2 ? TrunkJobImage::kSize : 0x3400;
    std::vector<std::uint8_t> held = RadioBytes(RadioFitBlock(sim::fit::kTrunkConfig), written);
    sim::TurnWords(held, sim::TrunkConfigurationWords());
    const auto mismatch = std::mismatch(held.begin(), held.end(), job.Bytes().begin());
    EXPECT_TRUE(mismatch.first == held.end())
        << "the radio holds another byte at " << mismatch.first - held.begin();

    workspace_->trunk.Fill(0);
    ReadBack(kImageTrunk);
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    const auto differing = testing::DifferingOffsets(job, workspace_->trunk);
    std::vector<std::size_t> unexpected;
    const auto allowed = BytesTheRadioDoesNotHold(c.network2);
    std::copy_if(differing.begin(), differing.end(), std::back_inserter(unexpected),
                 [&](std::size_t offset) {
                     return !std::binary_search(allowed.begin(), allowed.end(), offset);
                 });
    EXPECT_TRUE(unexpected.empty())
        << unexpected.size() << " bytes differ, the first at " << unexpected.front();
    if (!c.network2) {
        EXPECT_EQ(workspace_->trunk.U8(0x3400), 0xFF);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Radios, TrunkRoundTripTest,
    ::testing::Values(
        TrunkRoundTrip{"Revision8TrunkMode", "type = 0\ntrunk_job = yes\n", kHeadHmF,
                       testing::kModeTrunkJob, true},
        TrunkRoundTrip{"Revision8MultiModeWithoutNetwork2", "type = 0\npmr_channels = 20\n",
                       kHeadHmF, testing::kModeMultiJob, false},
        TrunkRoundTrip{"Revision10", "type = 8\ntrunk_code.software_code = 10810\n", kHeadHmF,
                       testing::kModeTrunkJob, true},
        TrunkRoundTrip{"Portable", "type = 1\ntrunk_code.software_code = 11250\ntrunk_job = yes\n",
                       kHeadKp8b, testing::kModeTrunkJob, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The PMR read gives back what the radio holds: the header, the channels, encodes and group B
// channels up to their counts, and the zones up to theirs. Records past the counts are not in the
// radio; the read fills them as empty records.
void ExpectPmrRecordsEqual(const PmrJobImage& programmed, const PmrJobImage& read, int channels,
                           int zones) {
    struct Held {
        const char* what;
        std::size_t offset;
        std::size_t size;
    };
    const Held held[] = {
        {"header", 0, 15660},
        {"channels", 0x3D2C, static_cast<std::size_t>(channels) * 32},
        {"encodes", 0xBA2C, 3 * 32},
        {"group B", 0xDA2C, 2 * 32},
        {"zones", 0xEA2C, static_cast<std::size_t>(zones) * 800},
    };
    for (const Held& h : held) {
        const auto a = programmed.Region(h.offset, h.size);
        const auto b = read.Region(h.offset, h.size);
        const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin());
        EXPECT_TRUE(mismatch.first == a.end())
            << h.what << " differ at job offset " << h.offset + (mismatch.first - a.begin());
    }
}

TEST_F(RoundTripTest, PmrJobOf600ChannelsAndZonesComesBack) {
    StartRadio("type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\npmr_channels = 40\n");
    const std::vector<std::uint8_t> trunkBefore =
        RadioBytes(RadioFitBlock(sim::fit::kTrunkConfig), 16384);
    const PmrJobImage job = testing::PatternPmrJob(kHeadHmF, testing::kModeMultiJob, 600, 5, true);
    workspace_->pmr = job;
    Program(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(pmrProgramming_->Completed());
    ExpectEndedCleanly();
    EXPECT_EQ(RadioBytes(RadioFitBlock(sim::fit::kTrunkConfig), 16384), trunkBefore)
        << "the radio's trunk configuration is kept";
    // What the radio holds is the job in the radio's own word order.
    struct Held {
        int entry;
        std::size_t jobOffset;
        std::size_t size;
        std::function<void(std::vector<std::uint8_t>&)> turn;
    };
    const Held held[] = {
        {sim::fit::kPmrConfig, 0, 15660,
         [](auto& bytes) { sim::TurnWords(bytes, sim::PmrConfigurationWords()); }},
        {sim::fit::kChannels1, 0x3D2C, 16384, [](auto&) {}},
        {sim::fit::kChannels2, 0x3D2C + 16384, 88 * 32, [](auto&) {}},
        {sim::fit::kEncodes, 0xBA2C, 3 * 32,
         [](auto& bytes) { sim::TurnRecordWords(bytes, 32, sim::kEncodeRecordWords); }},
        {sim::fit::kGroupB, 0xDA2C, 2 * 32,
         [](auto& bytes) { sim::TurnRecordWords(bytes, 32, sim::kGroupBRecordWords); }},
        {sim::fit::kZoneTable, 0xEA2C, 5 * 800, [](auto&) {}},
    };
    for (const Held& h : held) {
        std::vector<std::uint8_t> bytes = RadioBytes(RadioFitBlock(h.entry), h.size);
        h.turn(bytes);
        const auto expected = job.Region(h.jobOffset, h.size);
        const auto mismatch = std::mismatch(bytes.begin(), bytes.end(), expected.begin());
        EXPECT_TRUE(mismatch.first == bytes.end())
            << "area of FIT entry " << h.entry << " differs at " << mismatch.first - bytes.begin();
    }

    workspace_->pmr.Fill(0);
    ReadBack(kImagePmr);
    ASSERT_TRUE(person_.shown.empty()) << person_.Texts().front();
    ExpectPmrRecordsEqual(job, workspace_->pmr, 600, 5);
}

}  // namespace
}  // namespace km
