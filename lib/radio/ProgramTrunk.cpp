#include "radio/ProgramTrunk.h"

#include <cstdio>

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

constexpr int kChoiceProgressTotal = 100;
constexpr std::uint8_t kInfoItem = 6;
constexpr std::uint16_t kStartupDataSize = 512;
constexpr std::size_t kStartupPieces = 2;
constexpr std::size_t kCodePieces = 4;

constexpr const char* kTrunkUpdateFormat = "Updating Radio's Trunk Software with V%s.";
constexpr const char* kTrunkOverlayFormat = "Updating Radio's Trunk Overlay Software with V%s.";
constexpr const char* kStartupUpdateText = "Updating Radio's Startup Software.  ";
constexpr const char* kConfigurationUpdateText = "Updating Radio Configuration.  ";

std::string WithVersion(const char* format, const std::string& version) {
    std::array<char, 128> text{};
    std::snprintf(text.data(), text.size(), format, version.c_str());
    return text.data();
}

bool TrunkModeJob(const TrunkJobImage& job) {
    return job.U8(trunk::kRadioMode) == kTrunkRadioModeByte;
}

}  // namespace

bool ProgramTrunk::NewerRadio() {
    return host_.Identity().Portable || host_.Identity().MobileRevision != 0;
}

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

void ProgramTrunk::Begin() {
    choice_ = SoftwareChoice{};
    trunkCode_.reset();
    startupCode_.reset();
    const TrunkJobImage& job = host_.GetWorkspace().trunk;
    // A job that cannot be programmed is refused before the radio is touched.
    if (!CheckTrunkJobBeforeProgramming(job, host_.GetPerson())) {
        host_.AbortOperation(AbortReason::Quiet);
        return;
    }
    GetProgress().SetProgressTotal(25);
    ThenIdentifyRadio(
        kInvalidRadioProgrammingText, job.U16(trunk::kBandCode), kTrunkCodeEntry,
        [this] {
            ThenInfo(5, kInfoItem, "Identifying Radio. ");
            return true;
        },
        [this] { return ChooseSoftware(); });
}

bool ProgramTrunk::ChooseSoftware() {
    Workspace& workspace = host_.GetWorkspace();
    Person& person = host_.GetPerson();
    GetProgress().SetProgressTotal(kChoiceProgressTotal);
    GetProgress().SetProgressCounter(0);
    choice_ = ChooseRadioSoftware(workspace.trunk, JobRadioTypeOf(workspace.trunk),
                                  host_.Identity(), CodeDescriptorRead(), StartupVersion(),
                                  RadioSoftwareFolderIn(host_.Context().workFolder), person);
    if (choice_.result == kSoftwareStop) {
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    const bool trunkUpgrade = (choice_.result & kUpgradeTrunkCode) != 0;
    const bool startupUpgrade = (choice_.result & kUpgradeStartupCode) != 0;
    if (trunkUpgrade) {
        if (OlderSoftwareRefused(host_.Identity(), ChosenVersionNumber(choice_.versionText), 0)) {
            host_.FinishOperation([&person] { person.Error(kOlderSoftwareProgrammingText); });
            return false;
        }
        // Every code file is read and checked, overlay included, before a sector is erased.
        trunkCode_ = ReadCode(choice_.codePath, kTrunkCodeEntry);
        if (!trunkCode_ || !CheckOverlay(*trunkCode_, person)) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        if (!TakeErasableArea(kTrunkCodeEntry, kOverlayBlockOffset + kCodeSlotBlocks)) {
            return false;
        }
    }
    if (startupUpgrade) {
        startupCode_ = ReadCode(choice_.startupCodePath, kStartupCodeEntry);
        if (!startupCode_) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        if (!TakeErasableArea(kStartupCodeEntry, 2 * kCodeSlotBlocks)) {
            return false;
        }
    }
    if (!VirtualRadioFilesAllowed()) {
        return false;
    }
    if (!TakeConfigurationAreas()) {
        return false;
    }
    if (trunkUpgrade) {
        QueueTrunkCode();
    }
    if (startupUpgrade) {
        QueueStartupCode();
    }
    ThenDo(19, [this] { return QueueConfiguration(); });
    return true;
}

void ProgramTrunk::QueueTrunkCode() {
    const std::uint16_t block = Entry(kTrunkCodeEntry).block;
    const std::uint8_t sector = Entry(kTrunkCodeEntry).sector;
    const std::string status = WithVersion(kTrunkUpdateFormat, choice_.versionText);
    const WriteRegions regions = CodeRegions(trunkCode_->codeLength);
    ThenDo(9, [this, regions] {
        LoadCodeImage(*trunkCode_, Scratch());
        GetProgress().SetProgressTotal(regions.progressTotal);
        GetProgress().SetProgressCounter(0);
        return true;
    });
    ThenErase(10, sector, "Erasing Trunk Code Sector. (3 Seconds)");
    ThenErase(11, static_cast<std::uint8_t>(sector + 1),
              "Erasing Trunk Code Overlays Sector. (3 Seconds) ");
    ThenWriteCodePieces(12, block, regions, kCodePieces, status);
    ThenDo(15, [this, block] {
        const OverlayParse overlay = ParseOverlay(trunkCode_->fileBytes);
        if (overlay.outcome != OverlayOutcome::Built) {
            return true;  // no overlay: the erased overlay sector stays empty
        }
        Scratch().Write(0, overlay.image);
        GetProgress().SetProgressTotal(kOverlayProgressTotal);
        GetProgress().SetProgressCounter(0);
        ThenWriteScratch(16, static_cast<std::uint16_t>(block + kOverlayBlockOffset),
                         kOverlayWriteSize, 0,
                         WithVersion(kTrunkOverlayFormat, choice_.versionText));
        return true;
    });
}

void ProgramTrunk::QueueStartupCode() {
    const WriteRegions regions = CodeRegions(startupCode_->codeLength);
    ThenDo(16, [this, regions] {
        LoadCodeImage(*startupCode_, Scratch());
        GetProgress().SetProgressTotal(regions.progressTotal);
        GetProgress().SetProgressCounter(0);
        return true;
    });
    ThenErase(17, Entry(kStartupCodeEntry).sector, "Erasing Startup Code Sector. (3 Seconds)");
    ThenWriteCodePieces(18, Entry(kStartupCodeEntry).block, regions, kStartupPieces,
                        kStartupUpdateText);
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
    GetProgress().SetProgressTotal(preparation_.regions.progressTotal);
    GetProgress().SetProgressCounter(0);
    const auto& length = preparation_.regions.WriteRegionLength;
    const bool newer = NewerRadio();

    ThenRead(20, Entry(kStartupDataEntry).block, kStartupDataSize,
             Scratch().Region(trunkprep::kStartupHeader, kStartupDataSize),
             "Reading Simple PMR Data.  ");
    ThenDo(20, [this, &job] {
        SetTrunkStartupHeader(job, preparation_.regions, Scratch());
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
    if (!newer) {
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
