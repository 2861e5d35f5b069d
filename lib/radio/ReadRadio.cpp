#include "radio/ReadRadio.h"

#include <algorithm>

#include "image/JobFiles.h"
#include "image/PmrFormat.h"

namespace km {

namespace {

// FIT entries of the areas a read uses.
constexpr int kTrunkSizeEntry = 17;
constexpr int kTrunkConfigurationEntry = 19;
constexpr int kTrunkPhonebookEntry = 22;
constexpr int kPmrConfigurationEntry = 18;
constexpr int kPmrChannelEntries[] = {9, 10, 11, 12};
constexpr int kPmrPhonebookEntry = 15;
constexpr int kPmrZoneEntry = 28;

// Configuration bytes (offsets inside the configuration as read).
constexpr std::size_t kPhonebookFormatOffset = 113;
constexpr std::uint8_t kPhonebookFormatMark = 0xCA;
constexpr std::size_t kBlankMarkerOffset = 119;
constexpr std::uint8_t kBlankMarker = 0xFF;

// How far the read of a configuration has come. A blank radio is recognised as soon as its
// marker byte has arrived; a read that ends before that byte is a broken one.
enum class ConfigurationRead { Waiting, Blank, Broken, Arrived };

ConfigurationRead JudgeConfigurationRead(ReadProgress result, std::size_t bytesRead,
                                         const ScratchBuffer& scratch, std::size_t mirrorOffset) {
    if (result != ReadProgress::Counted && result != ReadProgress::Complete) {
        return ConfigurationRead::Waiting;
    }
    if (bytesRead > kBlankMarkerOffset &&
        scratch.U8(mirrorOffset + kBlankMarkerOffset) == kBlankMarker) {
        return ConfigurationRead::Blank;
    }
    if (result != ReadProgress::Complete) {
        return ConfigurationRead::Waiting;
    }
    return bytesRead > kBlankMarkerOffset ? ConfigurationRead::Arrived : ConfigurationRead::Broken;
}

constexpr std::size_t kRecordSize = 32;
constexpr std::size_t kZoneSize = 800;

// The phonebook edited on the radio is flagged by 12 34 after its data. The check reads the
// three blocks around the flag.
struct PhonebookLayout {
    std::uint16_t checkBlocks;  // blocks from the area start to the checked piece
    std::size_t flagInCheck;    // where the flag lies inside the checked piece
    std::uint16_t readSize;     // the whole phonebook area read when modified
    std::size_t dataSize;       // the bytes laid over the configuration
    std::size_t configurationOffset;
};
constexpr std::uint16_t kPhonebookCheckSize = 384;
constexpr PhonebookLayout kTrunkPhonebook{13, 344, 7040, 7000, 1432};
constexpr PhonebookLayout kPmrPhonebook{11, 368, 6400, 6000, 1432};

bool PhonebookFlagged(const PhonebookBuffer& buffer, const PhonebookLayout& layout) {
    return buffer[layout.flagInCheck] == 0x12 && buffer[layout.flagInCheck + 1] == 0x34;
}

// A zone record as an empty zone looks in the radio: no name, byte 15 = 63, and 255 entries
// 03 FF FF.
void WriteEmptyZone(ScratchBuffer& scratch, std::size_t at) {
    scratch.FillRegion(at, kZoneSize, 0);
    scratch.SetU8(at + 15, 63);
    for (std::size_t entry = 0; entry < 255; ++entry) {
        const std::size_t place = at + 32 + 3 * entry;
        scratch.SetU8(place, 0x03);
        scratch.SetU8(place + 1, 0xFF);
        scratch.SetU8(place + 2, 0xFF);
    }
}

// A count of the configuration as read: the big-endian word whose low byte counts (the whole
// word for the channels), where 0xFF means none for some. A count beyond `capacity` is clamped,
// and the word rewritten with the clamped count.
struct CountField {
    std::size_t word;
    bool wholeWord;
    bool erasedIsNone;
    int capacity;
};
constexpr CountField kChannelCount{110, true, false, kMaxChannels};
constexpr CountField kEncodeCount{114, false, false, kMaxEncodes};
constexpr CountField kGroupBCount{116, false, true, kMaxGroupB};
constexpr CountField kZoneCount{122, false, true, kMaxZones};

int TakeCount(ScratchBuffer& scratch, const CountField& field) {
    const std::size_t at = mirror::kPmrConfiguration + field.word;
    const int value = field.wholeWord ? scratch.U16BE(at) : scratch.U8(at + 1);
    if (field.erasedIsNone && value == 0xFF) {
        return 0;
    }
    if (value <= field.capacity) {
        return value;
    }
    scratch.SetU16BE(at, static_cast<std::uint16_t>(field.capacity));
    return field.capacity;
}

}  // namespace

void ClearTrunkMirror(ScratchBuffer& scratch) {
    scratch.FillRegion(mirror::kTrunkConfiguration, mirror::kRegionSize, 0);
}

void ClearPmrMirror(ScratchBuffer& scratch) {
    scratch.FillRegion(mirror::kPmrConfiguration, mirror::kPmrGroupB, 0);
    scratch.FillRegion(mirror::kPmrGroupB, mirror::kPmrZones - mirror::kPmrGroupB, 0xFF);
    for (int zone = 0; zone < kMaxZones; ++zone) {
        WriteEmptyZone(scratch, mirror::kPmrZones + kZoneSize * static_cast<std::size_t>(zone));
    }
}

PmrReadSizes TakePmrCounts(ScratchBuffer& scratch) {
    const int channelBytes = TakeCount(scratch, kChannelCount) * static_cast<int>(kRecordSize);
    const int firstPart = std::min(channelBytes, static_cast<int>(mirror::kRegionSize));
    PmrReadSizes sizes;
    sizes.channelsFirst = static_cast<std::uint16_t>(firstPart);
    sizes.channelsSecond = static_cast<std::uint16_t>(channelBytes - firstPart);
    sizes.encodes = static_cast<std::uint16_t>(TakeCount(scratch, kEncodeCount) * kRecordSize);
    sizes.groupB = static_cast<std::uint16_t>(TakeCount(scratch, kGroupBCount) * kRecordSize);
    sizes.zones = static_cast<std::uint16_t>(TakeCount(scratch, kZoneCount) * kZoneSize);
    return sizes;
}

// ---- Trunk read ----

void TrunkRead::Run(std::span<const std::uint8_t> message) {
    Progress& progress = host_.GetProgress();
    ScratchBuffer& scratch = host_.GetWorkspace().scratch;
    switch (step_) {
        case 1:
            ClearTrunkMirror(scratch);
            phonebook_.fill(0);
            progress.SetProgressTotal(256);
            progress.ShowProgress("Reading Radio", "Getting DataSize");
            RequestIdentify(2);
            return;
        case 2:
            if (HandleIdentify(message, kInvalidRadioText)) {
                ReadFit(3);
            }
            return;
        case 3:
            if (CollectRead() != ReadProgress::Complete || !FitValid()) {
                return;
            }
            if (!TakeFitBlock(kTrunkSizeEntry, 0, sizeRecordBlock_) ||
                !TakeFitBlock(kTrunkConfigurationEntry, 0, configurationBlock_) ||
                !TakeFitBlock(kTrunkPhonebookEntry, kTrunkPhonebook.checkBlocks, phonebookBlock_)) {
                return;
            }
            StartRead(sizeRecordBlock_, 128, host_.IdBuffer().Region(0, 128), 4);
            return;
        case 4: {
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            // Byte 2 of the data-size record says whether the radio holds a trunk configuration.
            const bool present = ReadBytes() > 2 && host_.IdBuffer().U8(2) != 0;
            const int size = present ? mirror::kConfigurationSize : 0;
            progress.SetProgressTotal(size / 128 + 79);
            if (!present) {
                host_.AbortOperation();
                return;
            }
            progress.SetProgressText("Reading Trunk Radio Configuration.   ");
            StartRead(configurationBlock_, mirror::kConfigurationSize,
                      scratch.Region(mirror::kTrunkConfiguration, mirror::kConfigurationSize), 5);
            return;
        }
        case 5: {
            const auto result = CollectRead();
            switch (
                JudgeConfigurationRead(result, ReadBytes(), scratch, mirror::kTrunkConfiguration)) {
                case ConfigurationRead::Waiting:
                    return;
                case ConfigurationRead::Blank:
                    host_.AbortOperation();
                    return;
                case ConfigurationRead::Broken:
                    host_.AbortOperation(AbortReason::CommsError);
                    return;
                case ConfigurationRead::Arrived:
                    break;
            }
            progress.SetProgressText("Checking if Phonebook has been modified. ");
            StartRead(static_cast<std::uint16_t>(phonebookBlock_ + kTrunkPhonebook.checkBlocks),
                      kPhonebookCheckSize, phonebook_, 6);
            return;
        }
        case 6:
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            if (!PhonebookFlagged(phonebook_, kTrunkPhonebook)) {
                Finish();
                return;
            }
            progress.SetProgressText("Reading Modified Trunk Phonebook. ");
            StartRead(phonebookBlock_, kTrunkPhonebook.readSize, phonebook_, 7);
            return;
        case 7:
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            scratch.Write(
                mirror::kTrunkConfiguration + kTrunkPhonebook.configurationOffset,
                std::span<const std::uint8_t>(phonebook_).first(kTrunkPhonebook.dataSize));
            Finish();
            return;
        default:
            return;
    }
}

void TrunkRead::Finish() {
    Workspace& workspace = host_.GetWorkspace();
    UnpackTrunkRead(workspace.scratch, workspace.trunk);
    host_.State().TrunkJobLoaded = true;
    if (host_.onJobReplaced) {
        host_.onJobReplaced(kImageTrunk);
    }
    host_.FinishOperation();
}

// ---- PMR read ----

bool PmrRead::TakeBlocks() {
    if (!TakeFitBlock(kPmrConfigurationEntry, 0, configurationBlock_)) {
        return false;
    }
    for (std::size_t i = 0; i < channelBlocks_.size(); ++i) {
        if (!TakeFitBlock(kPmrChannelEntries[i], 0, channelBlocks_[i])) {
            return false;
        }
    }
    if (!TakeFitBlock(kPmrPhonebookEntry, kPmrPhonebook.checkBlocks, phonebookBlock_)) {
        return false;
    }
    // A radio without a zone table has 0 or 0xFFFF here; the zone read is then skipped.
    zoneBlock_ = FitEntryAt(host_.IdBuffer(), kPmrZoneEntry).block;
    return true;
}

void PmrRead::Run(std::span<const std::uint8_t> message) {
    Progress& progress = host_.GetProgress();
    ScratchBuffer& scratch = host_.GetWorkspace().scratch;
    switch (step_) {
        case 1:
            ClearPmrMirror(scratch);
            phonebook_.fill(0);
            progress.SetProgressTotal(256);
            progress.ShowProgress("Reading Radio", "Getting DataSize");
            RequestIdentify(2);
            return;
        case 2:
            if (HandleIdentify(message, kInvalidRadioText)) {
                ReadFit(3);
            }
            return;
        case 3:
            if (CollectRead() != ReadProgress::Complete || !FitValid() || !TakeBlocks()) {
                return;
            }
            progress.SetProgressText("Reading PMR Radio Configuration.   ");
            StartRead(configurationBlock_, mirror::kConfigurationSize,
                      scratch.Region(mirror::kPmrConfiguration, mirror::kConfigurationSize), 4);
            return;
        case 4: {
            const auto result = CollectRead();
            switch (
                JudgeConfigurationRead(result, ReadBytes(), scratch, mirror::kPmrConfiguration)) {
                case ConfigurationRead::Waiting:
                    return;
                case ConfigurationRead::Blank:
                    host_.AbortOperation();
                    return;
                case ConfigurationRead::Broken:
                    host_.AbortOperation(AbortReason::CommsError);
                    return;
                case ConfigurationRead::Arrived:
                    break;
            }
            if (scratch.U16BE(mirror::kPmrConfiguration + kChannelCount.word) == 0) {
                host_.GetPerson().Warn(kNoChannelsDefinedText);
                host_.FinishOperation();
                return;
            }
            sizes_ = TakePmrCounts(scratch);
            progress.SetProgressText("Reading PMR Channel Data.   ");
            StartRead(channelBlocks_[0], sizes_.channelsFirst,
                      scratch.Region(mirror::kPmrChannelsFirst, mirror::kRegionSize), 5);
            return;
        }
        case 5:
            if (CollectRead() == ReadProgress::Complete) {
                StartRead(channelBlocks_[1], sizes_.channelsSecond,
                          scratch.Region(mirror::kPmrChannelsSecond, mirror::kRegionSize), 6);
            }
            return;
        case 6:
            if (CollectRead() == ReadProgress::Complete) {
                progress.SetProgressText("Reading PMR Selcall Encodes Data.   ");
                StartRead(
                    channelBlocks_[2], sizes_.encodes,
                    scratch.Region(mirror::kPmrEncodes, mirror::kPmrGroupB - mirror::kPmrEncodes),
                    7);
            }
            return;
        case 7:
            if (CollectRead() == ReadProgress::Complete) {
                progress.SetProgressText("Reading PMR GroupB Channels.   ");
                StartRead(
                    channelBlocks_[3], sizes_.groupB,
                    scratch.Region(mirror::kPmrGroupB, mirror::kPmrZones - mirror::kPmrGroupB), 8);
            }
            return;
        case 8:
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            if (!BlockUsable(zoneBlock_)) {
                CheckPhonebook();
                return;
            }
            progress.SetProgressText("Reading PMR Zone Table Data.   ");
            progress.SetProgressCounter(0);
            StartRead(zoneBlock_, sizes_.zones,
                      scratch.Region(mirror::kPmrZones, kMaxZones * kZoneSize), 9);
            return;
        case 9:
            if (CollectRead() == ReadProgress::Complete) {
                CheckPhonebook();
            }
            return;
        case 10:
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            // The flag counts only in a configuration whose phonebook has the current format.
            if (!PhonebookFlagged(phonebook_, kPmrPhonebook) ||
                scratch.U8(mirror::kPmrConfiguration + kPhonebookFormatOffset) !=
                    kPhonebookFormatMark) {
                Finish();
                return;
            }
            progress.SetProgressText("Reading Modified PMR Phonebook. ");
            StartRead(phonebookBlock_, kPmrPhonebook.readSize, phonebook_, 11);
            return;
        case 11:
            if (CollectRead() != ReadProgress::Complete) {
                return;
            }
            scratch.Write(mirror::kPmrConfiguration + kPmrPhonebook.configurationOffset,
                          std::span<const std::uint8_t>(phonebook_).first(kPmrPhonebook.dataSize));
            Finish();
            return;
        default:
            return;
    }
}

void PmrRead::CheckPhonebook() {
    host_.GetProgress().SetProgressText("Checking if Phonebook has been modified. ");
    StartRead(static_cast<std::uint16_t>(phonebookBlock_ + kPmrPhonebook.checkBlocks),
              kPhonebookCheckSize, phonebook_, 10);
}

void PmrRead::Finish() {
    const RadioContext& env = host_.Context();
    if (UnpackPmrRadioRead(env.workspace, env.person, env.workFolder)) {
        host_.State().PmrJobLoaded = true;
        if (host_.onJobReplaced) {
            host_.onJobReplaced(kImagePmr);
        }
    }
    host_.FinishOperation();
}

}  // namespace km
