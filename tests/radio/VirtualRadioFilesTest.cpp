// The virtual radio's own data files (its FIT000101.bin, aligncfg.bin and sample code files) carry
// a mark. Programming and the software upgrade write them into the virtual radio, and refuse them
// before the first erase for a radio whose serial number is not the virtual radio's.

#include <gtest/gtest.h>

#include <cstdio>

#include "ProgramFixtures.h"
#include "radio/VirtualRadioMark.h"

namespace km {
namespace {

using testing::kHeadHmF;

enum class Run { Trunk, Pmr, Upgrade };

struct VirtualFileCase {
    const char* name;
    const char* profile;
    Run run;
    bool makersFit;            // an unmarked FIT000101.bin takes the virtual radio's place
    bool makersAlign;          // the same for aligncfg.bin
    bool virtualCode;          // the code files on disk are the virtual radio's
    const char* refusedFiles;  // named in the refusal; null when the operation completes
};

class VirtualRadioFilesTest : public testing::ProgramBench,
                              public ::testing::WithParamInterface<VirtualFileCase> {
  protected:
    // The radio maker's file stands in as the same bytes without the mark.
    void PutUnmarked(const char* name, std::vector<std::uint8_t> bytes) {
        std::fill_n(bytes.begin(), 4, 0xFF);
        ASSERT_TRUE(WriteFileAtomically(folder_ / name, bytes));
    }

    std::vector<std::uint8_t> Code(std::uint8_t type, std::size_t length,
                                   const std::string& softwareCode) const {
        return testing::SampleCodeFile(type, "V6.30", length, false, softwareCode,
                                       GetParam().virtualCode ? "VIRTUAL RADIO TEST" : "Test code");
    }

    void RunOperation() {
        const VirtualFileCase& c = GetParam();
        switch (c.run) {
            case Run::Trunk:
                // The radio runs V6.20: the V6.30 files on disk are offered and taken.
                PutCode("7ktm630.bin", Code(2, 20000, "10810"));
                PutCode("7ks_630.bin", Code(4, 20000, "10820"));
                person_.answers = {Answer::Yes};
                workspace_->trunk =
                    testing::PatternTrunkJob(kHeadHmF, testing::kModeTrunkJob, true);
                Program(kImageTrunk);
                completed_ = trunkProgramming_->Completed();
                return;
            case Run::Pmr:
                workspace_->pmr =
                    testing::PatternPmrJob(kHeadHmF, testing::kModeMultiJob, 20, 2, true);
                Program(kImagePmr);
                completed_ = pmrProgramming_->Completed();
                return;
            case Run::Upgrade: {
                const auto path = PutCode("code.bin", Code(4, 20000, "10820"));
                person_.answers = {Answer::Yes, Answer::No};
                ASSERT_TRUE(StartDownload(*operations_, path));
                ASSERT_TRUE(RunToEnd());
                completed_ = upgrade_->Completed();
                return;
            }
        }
    }

    bool completed_ = false;
};

TEST_P(VirtualRadioFilesTest, WritesThemOnlyIntoTheVirtualRadio) {
    const VirtualFileCase& c = GetParam();
    StartRadio(c.profile);
    if (c.makersFit) {
        const auto fit = sim::FitFileContents();
        PutUnmarked("FIT000101.bin", {fit.begin(), fit.end()});
    }
    if (c.makersAlign) {
        const auto align = sim::AlignConfigContents();
        PutUnmarked("aligncfg.bin", {align.begin(), align.end()});
    }
    const auto before = AllRadioBytes();
    RunOperation();
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
    if (c.refusedFiles == nullptr) {
        EXPECT_TRUE(completed_);
        ExpectEndedCleanly();
        EXPECT_FALSE(Erases().empty());
        return;
    }
    std::array<char, 512> refusal{};
    std::snprintf(refusal.data(), refusal.size(), kVirtualRadioFileFormat, c.refusedFiles);
    ASSERT_FALSE(person_.shown.empty());
    EXPECT_EQ(person_.shown.back().text, refusal.data());
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Error);
    EXPECT_FALSE(completed_);
    EXPECT_TRUE(Erases().empty()) << Log();
    EXPECT_EQ(AllRadioBytes(), before);
}

constexpr const char* kRealRevision8 = "type = 0\nserial_number = 4711\ntrunk_job = yes\n";
constexpr const char* kVirtualRevision8 = "type = 0\ntrunk_job = yes\n";
constexpr const char* kRealRevision10 =
    "type = 8\nserial_number = 4711\npmr_code.software_code = 14510\ntrunk_job = yes\n"
    "pmr_channels = 20\n";

INSTANTIATE_TEST_SUITE_P(
    Files, VirtualRadioFilesTest,
    ::testing::Values(VirtualFileCase{"FitIntoARealRadio", kRealRevision8, Run::Trunk, false, true,
                                      false, "FIT000101.bin"},
                      VirtualFileCase{"CodeFilesIntoARealRadio", kRealRevision8, Run::Trunk, true,
                                      true, true, "7ktm630.bin, 7ks_630.bin"},
                      VirtualFileCase{"AlignConfigIntoARealRadio", kRealRevision10, Run::Pmr, true,
                                      false, false, "aligncfg.bin"},
                      VirtualFileCase{"DownloadIntoARealRadio", kRealRevision8, Run::Upgrade, true,
                                      true, true, "code.bin"},
                      VirtualFileCase{"MakersFilesIntoARealRadio", kRealRevision8, Run::Trunk, true,
                                      true, false, nullptr},
                      VirtualFileCase{"AllIntoTheVirtualRadio", kVirtualRevision8, Run::Trunk,
                                      false, false, true, nullptr},
                      VirtualFileCase{"DownloadIntoTheVirtualRadio", kVirtualRevision8,
                                      Run::Upgrade, false, false, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace km
