#pragma once
// Program Radio in the Trunk view: identify the radio, check its band, find out which startup and
// trunk software it runs, let the software choice decide whether that software must be replaced
// (and replace it from the code files), then erase the configuration sectors and write the trunk
// job, laid out the radio's way, area by area. Every check that can refuse comes before the first
// erase: the job's own checks before the radio is even asked who it is, and every code file the
// operation needs before a code sector is erased.

#include <optional>

#include "radio/ProgramSteps.h"

namespace km {

// Fixed blocks of Revision 8 radios: the complex PMR data and the fourth configuration area.
inline constexpr std::uint16_t kComplexPmrBlock = 544;
inline constexpr std::uint16_t kFourthAreaBlock = 608;

class ProgramTrunk : public ProgrammingMachine {
  public:
    using ProgrammingMachine::ProgrammingMachine;

  private:
    void Begin() override;
    bool ChooseSoftware();
    void QueueTrunkCode();
    void QueueStartupCode();
    bool QueueConfiguration();
    // A portable, or a mobile after Revision 8.
    bool NewerRadio();
    // Which areas this radio and job have erased; the Flash Index Table is checked for exactly
    // these. Revision 8 mobiles keep their startup data in the configuration sector, erased
    // anyway; a trunk-only job leaves the PMR context of a newer radio alone.
    bool ErasesStartupData();
    bool ErasesPmrContext();
    // The FIT entries of the configuration areas the chosen path erases or writes.
    bool TakeConfigurationAreas();

    SoftwareChoice choice_;
    std::optional<CodeImage> trunkCode_;
    std::optional<CodeImage> startupCode_;
    TrunkPreparation preparation_;
};

}  // namespace km
