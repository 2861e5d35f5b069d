#include "radio/ProgramTrunk.h"

#include "config/RadioTypes.h"

namespace km {

namespace {

constexpr std::uint8_t kTrunkRadioModeByte = 1;

// FIT entries of the areas trunk programming uses.
constexpr int kPmrContextEntry = 14;
constexpr int kStartupDataEntry = 17;
constexpr int kTrunkConfigurationEntry = 19;
constexpr int kTrunkContextEntry = 21;

// The fourth configuration area as prepared in the ScratchBuffer.
constexpr std::size_t kFourthAreaData = 0xC000;

constexpr std::uint8_t kInfoItem = 6;
constexpr const char* kConfigurationUpdateText = "Updating Radio Configuration.  ";

constexpr ProgrammedCode kTrunkCode{kTrunkCodeEntry,
                                    kUpgradeTrunkCode,
                                    true,
                                    "Erasing Trunk Code Sector. (3 Seconds)",
                                    "Erasing Trunk Code Overlays Sector. (3 Seconds) ",
                                    "Updating Radio's Trunk Software with V%s.",
                                    "Updating Radio's Trunk Overlay Software with V%s.",
                                    9,
                                    16,
                                    19};

bool TrunkModeJob(const TrunkJobImage& job) {
    return job.U8(trunk::kRadioMode) == kTrunkRadioModeByte;
}

}  // namespace

bool ProgramTrunk::ErasesStartupData() {
    return NewerRadio();
}

bool ProgramTrunk::ErasesPmrContext() {
    return !(TrunkModeJob(host_.GetWorkspace().trunk) && NewerRadio());
}

bool ProgramTrunk::TakeConfigurationAreas() {
    const bool startupData =
        ErasesStartupData() ? TakeErasableArea(kStartupDataEntry, 0) : TakeArea(kStartupDataEntry);
    return startupData && TakeErasableArea(kTrunkConfigurationEntry, 0) &&
           TakeErasableArea(kTrunkContextEntry, 0) &&
           (!ErasesPmrContext() || TakeErasableArea(kPmrContextEntry, 0));
}

void ProgramTrunk::BeginProgramming() {
    const TrunkJobImage& job = host_.GetWorkspace().trunk;
    // A job that cannot be programmed is refused before the radio is touched.
    if (!CheckTrunkJobBeforeProgramming(job, host_.GetPerson())) {
        host_.AbortOperation(AbortReason::Quiet);
        return;
    }
    GetProgress().SetProgressTotal(25);
    ThenIdentifyRadio(
        kInvalidRadioProgrammingText, job.U16(trunk::kBandCode), kTrunkCode,
        [this] {
            ThenInfo(5, kInfoItem, "Identifying Radio. ");
            return true;
        },
        [this] {
            const TrunkJobImage& job = host_.GetWorkspace().trunk;
            return ChooseRadioSoftware(
                job, JobRadioTypeOf(job), host_.Identity(), CodeDescriptorRead(), StartupVersion(),
                RadioSoftwareFolderIn(host_.Context().workFolder), host_.GetPerson());
        });
}

bool ProgramTrunk::QueueConfiguration() {
    Workspace& workspace = host_.GetWorkspace();
    const TrunkJobImage& job = workspace.trunk;
    GetProgress().SetProgressText("Preparing Trunk Data.  ");
    const bool portableHead = IsPortableMask(JobRadioTypeOf(job).RadioTypeMask);
    preparation_ =
        PrepareTrunkData(job, portableHead, host_.Identity(), Scratch(), host_.GetPerson());
    if (!preparation_.proceed) {
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    StartCounting(preparation_.regions.progressTotal);
    const auto& length = preparation_.regions.WriteRegionLength;

    ThenRead(20, Entry(kStartupDataEntry).block, startupdata::kSize,
             Scratch().Region(trunkprep::kStartupHeader, startupdata::kSize),
             "Reading Simple PMR Data.  ");
    ThenDo(20, [this] {
        SetTrunkStartupHeader(host_.GetWorkspace().trunk, preparation_.regions, Scratch());
        return true;
    });
    if (ErasesStartupData()) {
        ThenErase(22, Entry(kStartupDataEntry).sector,
                  "Erasing RCP Startup Data Sector.  (3 Seconds)");
    } else {
        // Revision 8 keeps its complex PMR data in the sector about to be erased: read it back.
        ThenRead(21, kComplexPmrBlock, static_cast<std::uint16_t>(length[1]),
                 Scratch().Region(trunkprep::kSecondHeader, std::max<std::size_t>(length[1], 1)),
                 "Reading Complex PMR Data.  ");
    }
    ThenErase(23, Entry(kTrunkConfigurationEntry).sector, "Erasing RCP Data Sector.  (3 Seconds)");
    ThenErase(24, Entry(kTrunkContextEntry).sector,
              "Erasing Trunk Context Data Sector. (3 Seconds) ");
    if (ErasesPmrContext()) {
        ThenErase(25, Entry(kPmrContextEntry).sector,
                  "Erasing PMR Context Data Sector. (3 Seconds) ");
    }
    ThenWriteScratch(26, Entry(kStartupDataEntry).block, length[0], trunkprep::kStartupHeader,
                     kConfigurationUpdateText);
    if (!NewerRadio()) {
        ThenWriteScratch(27, kComplexPmrBlock, length[1], trunkprep::kSecondHeader,
                         kConfigurationUpdateText);
    }
    ThenWriteScratch(28, Entry(kTrunkConfigurationEntry).block, length[2], trunkprep::kTrunkData,
                     kConfigurationUpdateText);
    ThenWriteScratch(29, kFourthAreaBlock, length[3], kFourthAreaData, kConfigurationUpdateText);
    ThenDo(29, [this] {
        Complete();
        return false;
    });
    return true;
}

}  // namespace km
