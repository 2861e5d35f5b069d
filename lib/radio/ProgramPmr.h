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

class ProgramPmr : public JobProgramming {
  public:
    using JobProgramming::JobProgramming;

  private:
    void BeginProgramming() override;
    bool CheckZoneTable();
    bool TakeConfigurationAreas() override;
    bool QueueConfiguration() override;
    bool QueueChannels();
    bool QueueZones();
    bool HasZoneArea();

    std::optional<AlignConfig> alignConfig_;
    WriteRegions dataRegions_;
    PmrChannelRegions channelRegions_;
    WriteRegions zoneRegions_;
};

// aligncfg.bin from the first of `folders` that holds it whole; the warning when none does.
std::optional<AlignConfig> FindAlignConfig(const std::vector<std::filesystem::path>& folders,
                                           Person& person);

}  // namespace km
