#include "radio/ProgramPmr.h"

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
constexpr const char* kConfigurationUpdateText = "Updating Radio Configuration.  ";
constexpr const char* kChannelUpdateText = "Updating Channel Data.  ";

// PMR code has no overlay written after it.
constexpr ProgrammedCode kPmrCode{kPmrCodeEntry, kUpgradePmrCode,
                                  false,         "Erasing PMR Code Sector. (3 Seconds)",
                                  nullptr,       "Updating Radio's PMR Software with V%s.",
                                  nullptr};

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

bool ProgramPmr::HasZoneArea() {
    return BlockUsable(Entry(kZoneTableEntry).block);
}

void ProgramPmr::BeginProgramming() {
    // The startup data comes from aligncfg.bin: without it nothing may be erased.
    alignConfig_ = FindAlignConfig(host_.Context().dataFolders, host_.GetPerson());
    if (!alignConfig_) {
        host_.AbortOperation(AbortReason::Quiet);
        return;
    }
    if (CarriesVirtualRadioMark(*alignConfig_)) {
        NoteVirtualRadioFile(kAlignConfigName);
    }
    ThenIdentifyRadio(
        nullptr, host_.GetWorkspace().pmr.U16(pmr::kBandCode), kPmrCode,
        [this] {
            GetProgress().SetProgressTotal(kBandProgressTotal);
            return CheckZoneTable();
        },
        [this] {
            const PmrJobImage& job = host_.GetWorkspace().pmr;
            return ChoosePmrSoftware(
                job, JobRadioTypeOf(job), host_.Identity(), CodeDescriptorRead(), StartupVersion(),
                RadioSoftwareFolderIn(host_.Context().workFolder), host_.GetPerson());
        });
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

// PMR programming erases the startup data, the PMR context and the channel sector, and the zone
// table of a newer radio that has one; it writes the PMR configuration, the channel areas, and
// reads the radio's trunk data back.
bool ProgramPmr::TakeConfigurationAreas() {
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
    return !(NewerRadio() && HasZoneArea()) || TakeErasableArea(kZoneTableEntry, 0);
}

bool ProgramPmr::QueueConfiguration() {
    GetProgress().SetProgressText("Preparing PMR Data.  ");
    dataRegions_ = PreparePmrData(host_.GetWorkspace().pmr, *alignConfig_, Scratch());
    StartCounting(dataRegions_.progressTotal);
    const auto& length = dataRegions_.WriteRegionLength;
    // The radio's trunk data is read back so that the rewrite keeps it.
    ThenRead(Entry(kTrunkConfigurationEntry).block, static_cast<std::uint16_t>(length[2]),
             Scratch().Region(pmrprep::kTrunkData, std::max<std::size_t>(length[2], 1)),
             "Reading Trunk RCP Data.  ");
    ThenDo([this] {
        SetPmrStartupNetworks(Scratch());
        return true;
    });
    ThenErase(Entry(kStartupDataEntry).sector, "Erasing RCP Data Sector. (3 Seconds)");
    ThenErase(Entry(kPmrContextEntry).sector, "Erasing PMR Context Data Sector. (3 Seconds) ");
    ThenWriteScratch(Entry(kStartupDataEntry).block, length[0], pmrprep::kStartupData,
                     kConfigurationUpdateText);
    if (!NewerRadio()) {
        ThenWriteScratch(Entry(kPmrConfigurationEntry).block, length[1], pmrprep::kPmrConfig,
                         kConfigurationUpdateText);
        ThenWriteScratch(Entry(kTrunkConfigurationEntry).block, length[2], pmrprep::kTrunkData,
                         kConfigurationUpdateText);
    }
    ThenDo([this] { return QueueChannels(); });
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
    StartCounting(channelRegions_.regions.progressTotal);
    const auto& length = channelRegions_.regions.WriteRegionLength;
    ThenErase(Entry(kChannelsEntry).sector, "Erasing PMR Channel Data Sector. (3 Seconds) ");
    ThenWriteScratch(Entry(kChannelsEntry).block, length[0], pmrprep::kChannels,
                     kChannelUpdateText);
    ThenWriteScratch(Entry(kLaterChannelsEntry).block, length[1], pmrprep::kLaterChannels,
                     kChannelUpdateText);
    ThenWriteScratch(Entry(kEncodesEntry).block, channelRegions_.encodeLength, pmrprep::kEncodes,
                     "Updating Selcall Data.  ");
    ThenWriteScratch(Entry(kGroupBEntry).block, channelRegions_.groupBLength, pmrprep::kGroupB,
                     "Updating GroupB Data.  ");
    if (NewerRadio()) {
        ThenWriteScratch(Entry(kPmrConfigurationEntry).block, length[3], pmrprep::kPmrConfigCopy,
                         "Updating PMR Configuration.  ");
        if (HasZoneArea()) {
            ThenDo([this] { return QueueZones(); });
        }
    }
    ThenDo([this] {
        Complete();
        return false;
    });
    return true;
}

bool ProgramPmr::QueueZones() {
    zoneRegions_ = PrepareZones(host_.GetWorkspace().pmr, Scratch());
    StartCounting(zoneRegions_.progressTotal);
    ThenErase(Entry(kZoneTableEntry).sector, "Erasing Zone Table Data Sector. (3 Seconds) ");
    ThenWriteScratch(Entry(kZoneTableEntry).block, zoneRegions_.WriteRegionLength[0],
                     pmrprep::kZones, "Updating Zone Table.  ");
    return true;
}

}  // namespace km
