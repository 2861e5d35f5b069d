#pragma once
// Program Radio in the PMR view: identify the radio, check its band and whether it can take the
// job's zone table, let the software choice decide whether the PMR and startup code must be
// replaced, then rewrite the startup data and PMR configuration (keeping the radio's trunk data),
// the channel sector (channels, selcall encodes, group B channels and, on newer radios, a copy of
// the configuration) and, when the radio has one, the zone table. aligncfg.bin and every code
// file the operation needs are checked before the first erase.

#include <optional>

#include "radio/PmrPrep.h"
#include "radio/ProgramSteps.h"

namespace km {

class ProgramPmr : public ProgrammingMachine {
  public:
    using ProgrammingMachine::ProgrammingMachine;

  private:
    void Begin() override;
    bool CheckZoneTable();
    bool ChooseSoftware();
    void QueuePmrCode();
    void QueueStartupCode();
    bool QueueConfiguration();
    bool QueueChannels();
    bool QueueZones();
    bool NewerRadio();
    bool HasZoneArea();

    std::optional<AlignConfig> alignConfig_;
    SoftwareChoice choice_;
    std::optional<CodeImage> pmrCode_;
    std::optional<CodeImage> startupCode_;
    WriteRegions dataRegions_;
    PmrChannelRegions channelRegions_;
    WriteRegions zoneRegions_;
};

// aligncfg.bin from the first of `folders` that holds it whole; the warning when none does.
std::optional<AlignConfig> FindAlignConfig(const std::vector<std::filesystem::path>& folders,
                                           Person& person);

}  // namespace km
