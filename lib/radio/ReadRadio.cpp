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

// How far the read of a configuration has come, after one of its pieces. A blank radio is
// recognised as soon as its marker byte has arrived; a read that ends before that byte is a
// broken one.
enum class ConfigurationRead { Waiting, Blank, Broken, Arrived };

ConfigurationRead JudgeConfigurationRead(ReadProgress result, std::size_t bytesRead,
                                         const ScratchBuffer& scratch, std::size_t mirrorOffset) {
    if (bytesRead > kBlankMarkerOffset &&
        scratch.U8(mirrorOffset + kBlankMarkerOffset) == kBlankMarker) {
        return ConfigurationRead::Blank;
    }
    if (result != ReadProgress::Complete) {
        return ConfigurationRead::Waiting;
    }
    return bytesRead > kBlankMarkerOffset ? ConfigurationRead::Arrived : ConfigurationRead::Broken;
}

constexpr std::uint16_t kPhonebookCheckSize = 384;
constexpr PhonebookLayout kTrunkPhonebook{
    13, 344, 7040, 7000, mirror::kTrunkConfiguration + 1432, "Reading Modified Trunk Phonebook. "};
constexpr PhonebookLayout kPmrPhonebook{
    11, 368, 6400, 6000, mirror::kPmrConfiguration + 1432, "Reading Modified PMR Phonebook. "};
constexpr std::uint16_t kSizeRecordSize = 128;

bool PhonebookFlagged(const PhonebookBuffer& buffer, const PhonebookLayout& layout) {
    return buffer[layout.flagInCheck] == 0x12 && buffer[layout.flagInCheck + 1] == 0x34;
}

// A zone record as an empty zone looks in the radio: no name, byte 15 = 63, and 255 entries
// 03 FF FF.
void WriteEmptyZone(ScratchBuffer& scratch, std::size_t at) {
    scratch.FillRegion(at, pmr::kZoneSize, 0);
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
constexpr CountField kChannelCount{pmr::kChannelCount, true, false, pmr::kMaxEntries};
constexpr CountField kEncodeCount{pmr::kEncodeCount, false, false, pmr::kMaxEncode};
constexpr CountField kGroupBCount{pmr::kGroupBCount, false, true,
                                  static_cast<int>(pmr::kGroupsPerArea)};
constexpr CountField kZoneCount{pmr::kZoneCount, false, true, pmr::kZones};

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
    for (int zone = 0; zone < pmr::kZones; ++zone) {
        WriteEmptyZone(scratch,
                       mirror::kPmrZones + pmr::kZoneSize * static_cast<std::size_t>(zone));
    }
}

PmrReadSizes TakePmrCounts(ScratchBuffer& scratch) {
    const int channelBytes = TakeCount(scratch, kChannelCount) * static_cast<int>(pmr::kRecordSize);
    const int firstPart = std::min(channelBytes, static_cast<int>(mirror::kRegionSize));
    PmrReadSizes sizes;
    sizes.channelsFirst = static_cast<std::uint16_t>(firstPart);
    sizes.channelsSecond = static_cast<std::uint16_t>(channelBytes - firstPart);
    sizes.encodes = static_cast<std::uint16_t>(TakeCount(scratch, kEncodeCount) * pmr::kRecordSize);
    sizes.groupB = static_cast<std::uint16_t>(TakeCount(scratch, kGroupBCount) * pmr::kRecordSize);
    sizes.zones = static_cast<std::uint16_t>(TakeCount(scratch, kZoneCount) * pmr::kZoneSize);
    return sizes;
}

// ---- What the reads share ----

void RadioRead::BeginRead(Work afterFit) {
    phonebook_.fill(0);
    GetProgress().SetProgressTotal(256);
    GetProgress().ShowProgress("Reading Radio", "Getting DataSize");
    ThenIdentify(kInvalidRadioText);
    ThenReadFit(std::move(afterFit));
}

void RadioRead::ThenReadConfiguration(std::uint16_t block, std::size_t mirrorOffset,
                                      const char* status) {
    ThenRead(block, mirror::kConfigurationSize,
             Scratch().Region(mirrorOffset, mirror::kConfigurationSize), status,
             [this, mirrorOffset](ReadProgress progress) {
                 switch (JudgeConfigurationRead(progress, ReadBytes(), Scratch(), mirrorOffset)) {
                     case ConfigurationRead::Blank:
                         host_.AbortOperation();
                         return false;
                     case ConfigurationRead::Broken:
                         host_.AbortOperation(AbortReason::CommsError);
                         return false;
                     case ConfigurationRead::Waiting:
                     case ConfigurationRead::Arrived:
                         break;
                 }
                 return true;
             });
}

void RadioRead::ThenCheckPhonebook(std::uint16_t areaBlock, const PhonebookLayout& layout,
                                   std::function<bool()> flagCounts) {
    ThenRead(static_cast<std::uint16_t>(areaBlock + layout.checkBlocks), kPhonebookCheckSize,
             phonebook_, "Checking if Phonebook has been modified. ");
    ThenDo([this, areaBlock, &layout, flagCounts = std::move(flagCounts)] {
        if (!PhonebookFlagged(phonebook_, layout) || !flagCounts()) {
            Finish();
            return false;
        }
        ThenRead(areaBlock, layout.readSize, phonebook_, layout.readStatus);
        ThenDo([this, &layout] {
            Scratch().Write(layout.mirrorOffset,
                            std::span<const std::uint8_t>(phonebook_).first(layout.dataSize));
            Finish();
            return false;
        });
        return true;
    });
}

// ---- Trunk read ----

void TrunkRead::Begin() {
    ClearTrunkMirror(Scratch());
    BeginRead([this] {
        if (!TakeArea(kTrunkSizeEntry) || !TakeArea(kTrunkConfigurationEntry) ||
            !TakeArea(kTrunkPhonebookEntry, kTrunkPhonebook.checkBlocks)) {
            return false;
        }
        ThenRead(Entry(kTrunkSizeEntry).block, kSizeRecordSize,
                 IdBuffer().Region(0, kSizeRecordSize));
        ThenDo([this] { return ReadConfiguration(); });
        return true;
    });
}

bool TrunkRead::ReadConfiguration() {
    // Byte 2 of the data-size record says whether the radio holds a trunk configuration.
    const bool present = ReadBytes() > 2 && IdBuffer().U8(2) != 0;
    GetProgress().SetProgressTotal((present ? mirror::kConfigurationSize : 0) / 128 + 79);
    if (!present) {
        host_.AbortOperation();
        return false;
    }
    ThenReadConfiguration(Entry(kTrunkConfigurationEntry).block, mirror::kTrunkConfiguration,
                          "Reading Trunk Radio Configuration.   ");
    ThenCheckPhonebook(Entry(kTrunkPhonebookEntry).block, kTrunkPhonebook, [] { return true; });
    return true;
}

void TrunkRead::Finish() {
    Workspace& workspace = host_.GetWorkspace();
    UnpackTrunkRead(workspace.scratch, workspace.trunk);
    host_.State().TrunkJobLoaded = true;
    if (host_.onJobReplaced) {
        host_.onJobReplaced(kImageTrunk);
    }
    Complete();
}

// ---- PMR read ----

void PmrRead::Begin() {
    ClearPmrMirror(Scratch());
    BeginRead([this] {
        for (const int entry :
             {kPmrConfigurationEntry, kPmrChannelEntries[0], kPmrChannelEntries[1],
              kPmrChannelEntries[2], kPmrChannelEntries[3]}) {
            if (!TakeArea(entry)) {
                return false;
            }
        }
        if (!TakeArea(kPmrPhonebookEntry, kPmrPhonebook.checkBlocks)) {
            return false;
        }
        ThenReadConfiguration(Entry(kPmrConfigurationEntry).block, mirror::kPmrConfiguration,
                              "Reading PMR Radio Configuration.   ");
        ThenDo([this] { return ReadRecords(); });
        return true;
    });
}

bool PmrRead::ReadRecords() {
    ScratchBuffer& scratch = Scratch();
    if (scratch.U16BE(mirror::kPmrConfiguration + kChannelCount.word) == 0) {
        host_.GetPerson().Warn(kNoChannelsDefinedText);
        host_.FinishOperation();
        return false;
    }
    const PmrReadSizes sizes = TakePmrCounts(scratch);
    ThenRead(Entry(kPmrChannelEntries[0]).block, sizes.channelsFirst,
             scratch.Region(mirror::kPmrChannelsFirst, mirror::kRegionSize),
             "Reading PMR Channel Data.   ");
    ThenRead(Entry(kPmrChannelEntries[1]).block, sizes.channelsSecond,
             scratch.Region(mirror::kPmrChannelsSecond, mirror::kRegionSize));
    ThenRead(Entry(kPmrChannelEntries[2]).block, sizes.encodes,
             scratch.Region(mirror::kPmrEncodes, mirror::kPmrGroupB - mirror::kPmrEncodes),
             "Reading PMR Selcall Encodes Data.   ");
    ThenRead(Entry(kPmrChannelEntries[3]).block, sizes.groupB,
             scratch.Region(mirror::kPmrGroupB, mirror::kPmrZones - mirror::kPmrGroupB),
             "Reading PMR GroupB Channels.   ");
    // A radio without a zone table has 0 or 0xFFFF here; the zone read is then skipped.
    const std::uint16_t zoneBlock = Entry(kPmrZoneEntry).block;
    if (BlockUsable(zoneBlock)) {
        ThenDo([this] {
            GetProgress().SetProgressCounter(0);
            return true;
        });
        ThenRead(zoneBlock, sizes.zones,
                 scratch.Region(mirror::kPmrZones, pmr::kZones * pmr::kZoneSize),
                 "Reading PMR Zone Table Data.   ");
    }
    // The flag counts only in a configuration whose phonebook has the current format.
    ThenCheckPhonebook(Entry(kPmrPhonebookEntry).block, kPmrPhonebook, [this] {
        return Scratch().U8(mirror::kPmrConfiguration + kPhonebookFormatOffset) ==
               kPhonebookFormatMark;
    });
    return true;
}

void PmrRead::Finish() {
    const RadioContext& context = host_.Context();
    if (!UnpackPmrRadioRead(context.workspace, host_.GetPerson(), context.workFolder)) {
        host_.FinishOperation();  // the unpack has said why the job was left as it was
        return;
    }
    host_.State().PmrJobLoaded = true;
    if (host_.onJobReplaced) {
        host_.onJobReplaced(kImagePmr);
    }
    Complete();
}

}  // namespace km
