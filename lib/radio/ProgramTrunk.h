#pragma once
// Program Radio in the Trunk view: identify the radio, check its band, find out which startup and
// trunk software it runs, let the software choice decide whether that software must be replaced
// (and replace it from the code files), then erase the configuration sectors and write the trunk
// job, laid out the radio's way, area by area. Every check that can refuse comes before the first
// erase: the job's own checks before the radio is even asked who it is, and every code file the
// operation needs before a code sector is erased.

#include "radio/ProgramSteps.h"

namespace km {

// Fixed blocks of Revision 8 radios: the complex PMR data and the fourth configuration area.
inline constexpr std::uint16_t kComplexPmrBlock = 544;
inline constexpr std::uint16_t kFourthAreaBlock = 608;

class ProgramTrunk : public JobProgramming {
  public:
    using JobProgramming::JobProgramming;

  private:
    void BeginProgramming() override;
    bool TakeConfigurationAreas() override;
    bool QueueConfiguration() override;
    // Which areas this radio and job have erased; the Flash Index Table is checked for exactly
    // these. Revision 8 mobiles keep their startup data in the configuration sector, erased
    // anyway; a trunk-only job leaves the PMR context of a newer radio alone.
    bool ErasesStartupData();
    bool ErasesPmrContext();

    TrunkPreparation preparation_;
};

}  // namespace km
