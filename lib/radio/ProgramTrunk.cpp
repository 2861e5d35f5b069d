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
                                    "Updating Radio's Trunk Overlay Software with V%s."};

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
            ThenInfo(kInfoItem, "Identifying Radio. ");
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

    ThenRead(Entry(kStartupDataEntry).block, startupdata::kSize,
             Scratch().Region(trunkprep::kStartupHeader, startupdata::kSize),
             "Reading Simple PMR Data.  ");
    ThenDo([this] {
        SetTrunkStartupHeader(host_.GetWorkspace().trunk, preparation_.regions, Scratch());
        return true;
    });
    if (ErasesStartupData()) {
        ThenErase(Entry(kStartupDataEntry).sector, "Erasing RCP Startup Data Sector.  (3 Seconds)");
    } else {
        // Revision 8 keeps its complex PMR data in the sector about to be erased: read it back.
        ThenRead(kComplexPmrBlock, static_cast<std::uint16_t>(length[1]),
                 Scratch().Region(trunkprep::kSecondHeader, std::max<std::size_t>(length[1], 1)),
                 "Reading Complex PMR Data.  ");
    }
    ThenErase(Entry(kTrunkConfigurationEntry).sector, "Erasing RCP Data Sector.  (3 Seconds)");
    ThenErase(Entry(kTrunkContextEntry).sector, "Erasing Trunk Context Data Sector. (3 Seconds) ");
    if (ErasesPmrContext()) {
        ThenErase(Entry(kPmrContextEntry).sector, "Erasing PMR Context Data Sector. (3 Seconds) ");
    }
    ThenWriteScratch(Entry(kStartupDataEntry).block, length[0], trunkprep::kStartupHeader,
                     kConfigurationUpdateText);
    if (!NewerRadio()) {
        ThenWriteScratch(kComplexPmrBlock, length[1], trunkprep::kSecondHeader,
                         kConfigurationUpdateText);
    }
    ThenWriteScratch(Entry(kTrunkConfigurationEntry).block, length[2], trunkprep::kTrunkData,
                     kConfigurationUpdateText);
    ThenWriteScratch(kFourthAreaBlock, length[3], kFourthAreaData, kConfigurationUpdateText);
    ThenDo([this] {
        Complete();
        return false;
    });
    return true;
}

}  // namespace km
