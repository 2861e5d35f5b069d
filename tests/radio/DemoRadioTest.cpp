// The demo working folder: the virtual radio's profiles, its own data files and sample code files
// agree, so that the demo jobs are programmed into the demo radios without a question.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"
#include "sim/Profile.h"

namespace km {
namespace {

class DemoRadioTest : public testing::ProgramBench {
  protected:
    // The working folder as scripts/seed-workdir.sh --virtual-radio fills it.
    void SeedVirtualRadioFiles() {
        std::filesystem::copy(KM_SIM_DATA_DIR, folder_,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
    void StartDemoRadio(const char* profileName) {
        const auto loaded =
            sim::LoadProfile(std::filesystem::path(KM_SIM_PROFILE_DIR) / profileName);
        ASSERT_TRUE(loaded.profile) << loaded.error;
        StartRadio(*loaded.profile);
    }
};

TEST_F(DemoRadioTest, DemoPmrJobIsProgrammedWithoutAQuestion) {
    SeedVirtualRadioFiles();
    StartDemoRadio("pmr_job.profile");
    const auto demo =
        ReadFileBytes(std::filesystem::path(KM_SIM_DATA_DIR) / "demo.pmr", PmrJobImage::kSize);
    ASSERT_TRUE(demo && demo->size() == PmrJobImage::kSize);
    workspace_->pmr.Write(0, *demo);
    Program(kImagePmr);
    EXPECT_TRUE(person_.shown.empty()) << person_.Texts().front();
    EXPECT_TRUE(pmrProgramming_->Completed()) << Log();
    ExpectEndedCleanly();
}

}  // namespace
}  // namespace km
