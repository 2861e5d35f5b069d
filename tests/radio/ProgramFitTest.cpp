// Program Radio checks a Flash Index Table entry only where its path erases or writes the area:
// an entry that names an area the path leaves alone may point anywhere, while one the path would
// erase or write must be usable before anything is erased.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::kHeadHmF;

struct FitCase {
    const char* name;
    const char* profile;
    int view;  // kImageTrunk or kImagePmr
    std::uint8_t mode;
    int entry;
    std::uint8_t sector;
    std::uint16_t block;
    bool refused;
};

class ProgramFitTest : public testing::ProgramBench, public ::testing::WithParamInterface<FitCase> {
  protected:
    // Changes the entry in the table the programmer uses: the radio's own, or FIT000101.bin.
    void SetFitEntry(int entry, std::uint8_t sector, std::uint16_t block) {
        const std::vector<std::uint8_t> bytes{sector, 0x00, static_cast<std::uint8_t>(block >> 8),
                                              static_cast<std::uint8_t>(block & 0xFF)};
        const std::size_t at = 8 * static_cast<std::size_t>(entry);
        if (profile_.table == sim::TableKind::OwnTable) {
            radio_->Memory().Store(sim::Flash::BlockAddress(7) + at, bytes);
            return;
        }
        auto file = sim::FitFileContents();
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        ASSERT_TRUE(WriteFileAtomically(folder_ / "FIT000101.bin", file));
    }
};

TEST_P(ProgramFitTest, ChecksTheEntriesItsPathUses) {
    const FitCase& c = GetParam();
    StartRadio(c.profile);
    SetFitEntry(c.entry, c.sector, c.block);
    if (c.view == kImageTrunk) {
        workspace_->trunk = testing::PatternTrunkJob(kHeadHmF, c.mode, true);
    } else {
        workspace_->pmr = testing::PatternPmrJob(kHeadHmF, c.mode, 20, 0, false);
    }
    Program(c.view);
    if (c.refused) {
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{kFitErrorText});
        EXPECT_TRUE(Erases().empty()) << Log();
    } else {
        EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
        EXPECT_FALSE(Erases().empty());
        ExpectEndedCleanly();
    }
    const ProgrammingMachine& machine =
        c.view == kImageTrunk ? static_cast<const ProgrammingMachine&>(*trunkProgramming_)
                              : *pmrProgramming_;
    EXPECT_EQ(machine.Completed(), !c.refused);
    EXPECT_FALSE(state_.CommsBusy);
}

constexpr const char* kRevision8 = "type = 0\ntrunk_job = yes\npmr_channels = 10\n";
constexpr const char* kRevision10 =
    "type = 8\ntrunk_code.software_code = 10810\npmr_code.software_code = 10720\n"
    "trunk_job = yes\npmr_channels = 10\n";
constexpr std::uint8_t kBootSector = 1;  // never erased by programming

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramFitTest,
    ::testing::Values(
        // Entry 17, the startup data: a Revision 8 mobile writes it but never erases its sector;
        // newer radios and PMR programming erase it.
        FitCase{"Revision8TrunkNeverErasesStartupData", kRevision8, kImageTrunk,
                testing::kModeTrunkJob, 17, kBootSector, 512, false},
        FitCase{"Revision10TrunkErasesStartupData", kRevision10, kImageTrunk,
                testing::kModeTrunkJob, 17, kBootSector, 2048, true},
        FitCase{"PmrErasesStartupData", kRevision8, kImagePmr, testing::kModeMultiJob, 17,
                kBootSector, 512, true},
        // Entry 14, the PMR context: a trunk-only job leaves it alone on newer radios.
        FitCase{"Revision10TrunkOnlyLeavesPmrContext", kRevision10, kImageTrunk,
                testing::kModeTrunkJob, 14, 0xFF, 0xFFFF, false},
        FitCase{"Revision10MultiModeErasesPmrContext", kRevision10, kImageTrunk,
                testing::kModeMultiJob, 14, 0xFF, 0xFFFF, true},
        FitCase{"Revision8TrunkOnlyErasesPmrContext", kRevision8, kImageTrunk,
                testing::kModeTrunkJob, 14, 0xFF, 0xFFFF, true},
        FitCase{"PmrErasesPmrContext", kRevision10, kImagePmr, testing::kModeMultiJob, 14, 0xFF,
                0xFFFF, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace km
