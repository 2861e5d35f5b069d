#include "radio/ProgramPmr.h"

#include <cstdio>

#include "config/RadioTypes.h"
#include "core/Files.h"
#include "radio/VirtualRadioMark.h"

namespace km {

namespace {

// FIT entries of the areas PMR programming uses.
constexpr int kChannelsEntry = 9;
constexpr int kLaterChannelsEntry = 10;
constexpr int kEncodesEntry = 11;
constexpr int kGroupBEntry = 12;
constexpr int kPmrContextEntry = 14;
constexpr int kStartupDataEntry = 17;
constexpr int kPmrConfigurationEntry = 18;
constexpr int kTrunkConfigurationEntry = 19;
constexpr int kZoneTableEntry = 28;

constexpr int kBandProgressTotal = 25;
constexpr int kChoiceProgressTotal = 100;
constexpr std::size_t kStartupPieces = 2;
constexpr std::size_t kCodePieces = 4;

constexpr const char* kPmrUpdateFormat = "Updating Radio's PMR Software with V%s.";
constexpr const char* kStartupUpdateText = "Updating Radio's Startup Software.  ";
constexpr const char* kConfigurationUpdateText = "Updating Radio Configuration.  ";
constexpr const char* kChannelUpdateText = "Updating Channel Data.  ";

void StartCounting(Progress& progress, int total) {
    progress.SetProgressTotal(total);
    progress.SetProgressCounter(0);
}

}  // namespace

std::optional<AlignConfig> FindAlignConfig(const std::vector<std::filesystem::path>& folders,
                                           Person& person) {
    for (const auto& folder : folders) {
        const auto bytes =
            ReadFileBytes(FindFileIgnoringCase(folder, kAlignConfigName), kAlignConfigSize);
        if (bytes && bytes->size() == kAlignConfigSize) {
            AlignConfig config{};
            std::copy_n(bytes->begin(), kAlignConfigSize, config.begin());
            return config;
        }
    }
    person.Warn(kAlignConfigMissingText);
    return std::nullopt;
}

bool ProgramPmr::NewerRadio() {
    return host_.Identity().Portable || host_.Identity().MobileRevision != 0;
}

bool ProgramPmr::HasZoneArea() {
    return BlockUsable(Entry(kZoneTableEntry).block);
}

void ProgramPmr::Begin() {
    choice_ = SoftwareChoice{};
    pmrCode_.reset();
    startupCode_.reset();
    // The startup data comes from aligncfg.bin: without it nothing may be erased.
    alignConfig_ = FindAlignConfig(host_.Context().dataFolders, host_.GetPerson());
    if (!alignConfig_) {
        host_.AbortOperation(AbortReason::Quiet);
        return;
    }
    if (CarriesVirtualRadioMark(*alignConfig_)) {
        NoteVirtualRadioFile(kAlignConfigName);
    }
    const PmrJobImage& job = host_.GetWorkspace().pmr;
    ThenIdentifyRadio(
        nullptr, job.U16(pmr::kBandCode), kPmrCodeEntry,
        [this] {
            GetProgress().SetProgressTotal(kBandProgressTotal);
            return CheckZoneTable();
        },
        [this] { return ChooseSoftware(); });
}

bool ProgramPmr::CheckZoneTable() {
    if (const auto refusal = ZoneTableRefusal(host_.GetWorkspace().pmr,
                                              Entry(kZoneTableEntry).block, host_.Identity())) {
        host_.AbortOperation(AbortReason::Quiet);
        host_.GetPerson().Error(*refusal);
        return false;
    }
    return true;
}

bool ProgramPmr::ChooseSoftware() {
    Workspace& workspace = host_.GetWorkspace();
    Person& person = host_.GetPerson();
    StartCounting(GetProgress(), kChoiceProgressTotal);
    choice_ = ChoosePmrSoftware(workspace.pmr, JobRadioTypeOf(workspace.pmr), host_.Identity(),
                                CodeDescriptorRead(), StartupVersion(),
                                RadioSoftwareFolderIn(host_.Context().workFolder), person);
    if (choice_.result == kSoftwareStop) {
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    const bool pmrUpgrade = (choice_.result & kUpgradePmrCode) != 0;
    const bool startupUpgrade = (choice_.result & kUpgradeStartupCode) != 0;
    if (pmrUpgrade) {
        if (OlderSoftwareRefused(host_.Identity(), ChosenVersionNumber(choice_.versionText), 0)) {
            host_.FinishOperation([&person] { person.Error(kOlderSoftwareProgrammingText); });
            return false;
        }
        pmrCode_ = ReadCode(choice_.codePath, kPmrCodeEntry);
        if (!pmrCode_) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        if (!TakeErasableArea(kPmrCodeEntry, kCodePieces * kCodeSlotBlocks)) {
            return false;
        }
    }
    if (startupUpgrade) {
        startupCode_ = ReadCode(choice_.startupCodePath, kStartupCodeEntry);
        if (!startupCode_) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        if (!TakeErasableArea(kStartupCodeEntry, kStartupPieces * kCodeSlotBlocks)) {
            return false;
        }
    }
    if (!VirtualRadioFilesAllowed()) {
        return false;
    }
    for (const int entry : {kStartupDataEntry, kPmrContextEntry, kChannelsEntry}) {
        if (!TakeErasableArea(entry, 0)) {
            return false;
        }
    }
    for (const int entry : {kPmrConfigurationEntry, kTrunkConfigurationEntry, kLaterChannelsEntry,
                            kEncodesEntry, kGroupBEntry}) {
        if (!TakeArea(entry)) {
            return false;
        }
    }
    if (NewerRadio() && HasZoneArea() && !TakeErasableArea(kZoneTableEntry, 0)) {
        return false;
    }
    if (pmrUpgrade) {
        QueuePmrCode();
    }
    if (startupUpgrade) {
        QueueStartupCode();
    }
    ThenDo(14, [this] { return QueueConfiguration(); });
    return true;
}

void ProgramPmr::QueuePmrCode() {
    const WriteRegions regions = CodeRegions(pmrCode_->codeLength);
    std::array<char, 128> status{};
    std::snprintf(status.data(), status.size(), kPmrUpdateFormat, choice_.versionText.c_str());
    ThenDo(9, [this, regions] {
        LoadCodeImage(*pmrCode_, Scratch());
        StartCounting(GetProgress(), regions.progressTotal);
        return true;
    });
    ThenErase(10, Entry(kPmrCodeEntry).sector, "Erasing PMR Code Sector. (3 Seconds)");
    ThenWriteCodePieces(10, Entry(kPmrCodeEntry).block, regions, kCodePieces, status.data());
}

void ProgramPmr::QueueStartupCode() {
    const WriteRegions regions = CodeRegions(startupCode_->codeLength);
    ThenDo(12, [this, regions] {
        LoadCodeImage(*startupCode_, Scratch());
        StartCounting(GetProgress(), regions.progressTotal);
        return true;
    });
    ThenErase(13, Entry(kStartupCodeEntry).sector, "Erasing Startup Code Sector. (3 Seconds)");
    ThenWriteCodePieces(13, Entry(kStartupCodeEntry).block, regions, kStartupPieces,
                        kStartupUpdateText);
}

bool ProgramPmr::QueueConfiguration() {
    GetProgress().SetProgressText("Preparing PMR Data.  ");
    dataRegions_ = PreparePmrData(host_.GetWorkspace().pmr, *alignConfig_, Scratch());
    StartCounting(GetProgress(), dataRegions_.progressTotal);
    const auto& length = dataRegions_.WriteRegionLength;
    // The radio's trunk data is read back so that the rewrite keeps it.
    ThenRead(15, Entry(kTrunkConfigurationEntry).block, static_cast<std::uint16_t>(length[2]),
             Scratch().Region(pmrprep::kTrunkData, std::max<std::size_t>(length[2], 1)),
             "Reading Trunk RCP Data.  ");
    ThenDo(15, [this] {
        SetPmrStartupNetworks(Scratch());
        return true;
    });
    ThenErase(16, Entry(kStartupDataEntry).sector, "Erasing RCP Data Sector. (3 Seconds)");
    ThenErase(17, Entry(kPmrContextEntry).sector, "Erasing PMR Context Data Sector. (3 Seconds) ");
    ThenWriteScratch(18, Entry(kStartupDataEntry).block, length[0], pmrprep::kStartupData,
                     kConfigurationUpdateText);
    if (!NewerRadio()) {
        ThenWriteScratch(19, Entry(kPmrConfigurationEntry).block, length[1], pmrprep::kPmrConfig,
                         kConfigurationUpdateText);
        ThenWriteScratch(20, Entry(kTrunkConfigurationEntry).block, length[2], pmrprep::kTrunkData,
                         kConfigurationUpdateText);
    }
    ThenDo(20, [this] { return QueueChannels(); });
    return true;
}

bool ProgramPmr::QueueChannels() {
    const PmrJobImage& job = host_.GetWorkspace().pmr;
    const bool portableHead = IsPortableMask(JobRadioTypeOf(job).RadioTypeMask);
    channelRegions_ =
        PreparePmrChannels(job, portableHead, host_.Identity(), Scratch(), host_.GetPerson());
    if (!channelRegions_.proceed) {
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    StartCounting(GetProgress(), channelRegions_.regions.progressTotal);
    const auto& length = channelRegions_.regions.WriteRegionLength;
    ThenErase(21, Entry(kChannelsEntry).sector, "Erasing PMR Channel Data Sector. (3 Seconds) ");
    ThenWriteScratch(22, Entry(kChannelsEntry).block, length[0], pmrprep::kChannels,
                     kChannelUpdateText);
    ThenWriteScratch(22, Entry(kLaterChannelsEntry).block, length[1], pmrprep::kLaterChannels,
                     kChannelUpdateText);
    ThenWriteScratch(22, Entry(kEncodesEntry).block, channelRegions_.encodeLength,
                     pmrprep::kEncodes, "Updating Selcall Data.  ");
    ThenWriteScratch(22, Entry(kGroupBEntry).block, channelRegions_.groupBLength, pmrprep::kGroupB,
                     "Updating GroupB Data.  ");
    if (NewerRadio()) {
        ThenWriteScratch(23, Entry(kPmrConfigurationEntry).block, length[3],
                         pmrprep::kPmrConfigCopy, "Updating PMR Configuration.  ");
        if (HasZoneArea()) {
            ThenDo(23, [this] { return QueueZones(); });
        }
    }
    ThenDo(24, [this] {
        Complete();
        return false;
    });
    return true;
}

bool ProgramPmr::QueueZones() {
    zoneRegions_ = PrepareZones(host_.GetWorkspace().pmr, Scratch());
    StartCounting(GetProgress(), zoneRegions_.progressTotal);
    ThenErase(24, Entry(kZoneTableEntry).sector, "Erasing Zone Table Data Sector. (3 Seconds) ");
    ThenWriteScratch(24, Entry(kZoneTableEntry).block, zoneRegions_.WriteRegionLength[0],
                     pmrprep::kZones, "Updating Zone Table.  ");
    return true;
}

}  // namespace km
