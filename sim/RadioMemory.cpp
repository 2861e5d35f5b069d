#include "sim/RadioMemory.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>

#include "core/Files.h"
#include "radio/VirtualRadioMark.h"
#include "sim/RadioWords.h"

namespace km::sim {

namespace {

constexpr std::uint8_t kErased = 0xFF;
constexpr std::size_t kCodePiece = 16383;  // code travels in pieces of 16383 bytes
constexpr std::size_t kCodeSlot = 16384;   // each piece fills its own 32-block slot
constexpr std::size_t kCodeRecordSize = 64;
constexpr std::size_t kCodeLengthField = 7;
constexpr std::size_t kCodeRecordBase = 9;  // the record starts at L + 9
constexpr std::size_t kCodeImageExtra = 72;
constexpr std::size_t kBandRecordSize = 128;
constexpr std::size_t kOverlaySize = 4096;

constexpr std::size_t kBootLoaderBlock = 0;
constexpr std::size_t kBandRecordBlock = 8;
constexpr std::size_t kFpgaBackupBlock = 128;
constexpr std::size_t kFpgaConfigBlock = 192;
constexpr std::uint16_t kBootLoaderOffset = 0x100;
constexpr std::uint16_t kFpgaRecordOffset = 0x20;

// Offsets inside the areas the programmer reads and checks.
constexpr std::size_t kDescription = 36;
constexpr std::size_t kBand = 108;
constexpr std::size_t kChannelCount = 110;
constexpr std::size_t kFormat = 112;
constexpr std::size_t kEncodeCount = 115;
constexpr std::size_t kGroupBCount = 117;
constexpr std::size_t kBlankMarker = 119;
constexpr std::size_t kZoneCount = 123;
constexpr std::uint16_t kTrunkFormat = 100;
constexpr std::uint16_t kPmrFormat = 202;
constexpr std::size_t kNetwork1File = 10240 + 1536;
constexpr std::size_t kNetworkSize = 1536;
constexpr std::size_t kNetworkBand = 92;
constexpr std::size_t kNetworkName = 16;

// Startup data header: block counts of the four regions, the mode flag and the patched bytes.
constexpr std::uint8_t kStartupHeaderMark = 4;
constexpr std::uint8_t kPmrModeFlag = 0x80;
constexpr std::uint8_t kTrunkDataBlocks = kTrunkConfigSize / 128;
constexpr std::uint8_t kPmrConfigBlocks = kPmrConfigSize / 128;
constexpr std::size_t kStartupChannelCount = 350;
constexpr std::size_t kStartupNetwork = 353;

constexpr std::uint8_t kPhonebookMarker[] = {0x12, 0x34};

FitEntry Entry(std::size_t sector, std::size_t block, std::uint16_t offset = 0) {
    return {static_cast<std::uint8_t>(sector), static_cast<std::uint16_t>(block), offset};
}

// Entries common to both layouts.
FitLayout CommonLayout() {
    FitLayout layout{};
    layout[fit::kBootLoader] = Entry(0, kBootLoaderBlock, kBootLoaderOffset);
    layout[fit::kBackupCode] = Entry(2, 256);
    layout[fit::kBandRecord] = Entry(0, kBandRecordBlock);
    layout[fit::kFpgaBackup] = Entry(1, kFpgaBackupBlock, kFpgaRecordOffset);
    layout[fit::kFpgaConfig] = Entry(1, kFpgaConfigBlock, kFpgaRecordOffset);
    layout[fit::kStartupCode] = Entry(3, 384);
    layout[fit::kPmrCode] = Entry(5, 640);
    layout[fit::kTrunkCode] = Entry(7, 896);
    layout[fit::kOptionBoardCode] = Entry(9, 1152);
    layout[fit::kApcoCode] = Entry(11, 1408);
    layout[fit::kChannels1] = Entry(13, 1664);
    layout[fit::kChannels2] = Entry(13, 1696);
    layout[fit::kEncodes] = Entry(13, 1728);
    layout[fit::kGroupB] = Entry(13, 1744);
    layout[fit::kPmrContext] = Entry(14, 1792);
    layout[fit::kPmrPhonebook] = Entry(14, 1824);
    layout[fit::kTrunkContext] = Entry(15, 1920);
    layout[fit::kTrunkPhonebook] = Entry(15, 1952);
    return layout;
}

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) % 251);
    }
    return bytes;
}

// Text with a fixed width: blank-padded (descriptor fields) or 0xFF-padded (band record).
void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width,
             const std::string& text, std::uint8_t pad) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes.at(offset + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : pad;
    }
}

void PutU16BE(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value >> 8);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value & 0xFF);
}

std::size_t BlockOf(const FitLayout& layout, int entry) {
    return Flash::BlockAddress(layout[entry].block);
}

std::vector<std::uint8_t> ReadWhole(const std::string& file, std::size_t maxBytes) {
    const auto bytes = ReadFileBytes(file, maxBytes);
    if (!bytes) {
        throw std::runtime_error("cannot read " + file);
    }
    return *bytes;
}

void StoreBandRecord(Flash& flash, const Profile& profile) {
    std::vector<std::uint8_t> record(kBandRecordSize, kErased);
    std::copy(profile.esn.begin(), profile.esn.end(), record.begin());
    if (!profile.band.empty()) {
        PutText(record, 8, 2, profile.band, kErased);
    }
    PutText(record, 10, 16, profile.serialNumber, kErased);
    record[26] = profile.hardwareByte26;
    record[27] = profile.hardwareByte27;
    flash.Store(Flash::BlockAddress(kBandRecordBlock), record);
}

void StoreDate(Flash& flash, std::size_t block, std::uint16_t offset, const std::string& date) {
    std::vector<std::uint8_t> text(10, kErased);
    PutText(text, 0, 10, date, ' ');
    flash.Store(Flash::BlockAddress(block) + offset, text);
}

void StoreHardwareRecords(Flash& flash, const Profile& profile) {
    StoreDate(flash, kBootLoaderBlock, kBootLoaderOffset, profile.bootLoaderDate);
    StoreDate(flash, kFpgaBackupBlock, kFpgaRecordOffset, profile.fpgaBackupDate);
    StoreDate(flash, kFpgaConfigBlock, kFpgaRecordOffset, profile.fpgaConfigDate);
    // FPGA version "1.23": byte 3 holds the major digit, byte 4 the two minor digits as nibbles.
    const auto digit = [&](std::size_t i) {
        return static_cast<std::uint8_t>(profile.fpgaVersion[i] - '0');
    };
    const std::uint8_t version[] = {'F', 'P', 'G', digit(0),
                                    static_cast<std::uint8_t>(digit(2) << 4 | digit(3))};
    flash.Store(Flash::BlockAddress(kFpgaConfigBlock), version);
    StoreBandRecord(flash, profile);
}

void StoreCodeAreas(Flash& flash, const Profile& profile, const FitLayout& layout) {
    const std::pair<const CodeRecord*, int> areas[] = {
        {&profile.backupCode, fit::kBackupCode},
        {&profile.startupCode, fit::kStartupCode},
        {&profile.pmrCode, fit::kPmrCode},
        {&profile.trunkCode, fit::kTrunkCode},
        {&profile.optionBoardCode, fit::kOptionBoardCode},
    };
    for (const auto& [record, entry] : areas) {
        if (record->present) {
            StoreCode(flash, layout[entry].block, CodeImage(*record));
        }
    }
    if (profile.trunkCode.present) {
        flash.Store(BlockOf(layout, fit::kTrunkCode) + 4 * kCodeSlot, Pattern(kOverlaySize, 0x5A));
    }
}

// What the radio holds of a PMR configuration: the configuration area and the tables after it,
// each in radio order.
struct PmrContent {
    std::vector<std::uint8_t> config;
    std::vector<std::uint8_t> channels;  // the channel table entries, a record each
    std::vector<std::uint8_t> encodes;
    std::vector<std::uint8_t> groupB;
    std::vector<std::uint8_t> zones;

    std::size_t ChannelCount() const { return channels.size() / kRecordSize; }
};

std::vector<std::uint8_t> StartupData(const Profile& profile, const PmrContent* pmr) {
    std::vector<std::uint8_t> data(kStartupDataSize, 0);
    const auto align = AlignConfigContents();
    std::copy(align.begin(), align.end(), data.begin());
    data[0] = kStartupHeaderMark;
    data[1] = profile.trunkJob ? (pmr ? kPmrModeFlag : 0) : (pmr ? kPmrConfigBlocks : 0);
    data[2] = profile.trunkJob ? kTrunkDataBlocks : 0;
    data[3] = 0;
    PutU16BE(data, kStartupChannelCount, static_cast<std::uint16_t>(pmr ? pmr->ChannelCount() : 0));
    data[kStartupNetwork] = 1;
    return data;
}

// A trunk job file as the radio holds it after programming: Network 1's file in its slot, the
// radio's band in the job's band word, and every word high byte first.
std::vector<std::uint8_t> TrunkConfigFromJob(const Profile& profile) {
    std::vector<std::uint8_t> job = ReadWhole(profile.trunkJobFile, kTrunkConfigSize);
    job.resize(kTrunkConfigSize, 0);
    if (!profile.network1File.empty()) {
        const std::vector<std::uint8_t> network = ReadWhole(profile.network1File, kNetworkSize);
        std::copy(network.begin(), network.end(), job.begin() + kNetwork1File);
    }
    if (profile.band.size() == 2) {
        job[kBand] = static_cast<std::uint8_t>(profile.band[1]);  // images: low byte first
        job[kBand + 1] = static_cast<std::uint8_t>(profile.band[0]);
    }
    TurnWords(job, TrunkConfigurationWords());
    return job;
}

std::vector<std::uint8_t> TrunkConfig(const Profile& profile) {
    if (!profile.trunkConfigFile.empty()) {
        return ReadWhole(profile.trunkConfigFile, kTrunkConfigSize);
    }
    if (!profile.trunkJobFile.empty()) {
        return TrunkConfigFromJob(profile);
    }
    std::vector<std::uint8_t> config(kTrunkConfigSize, 0);
    PutText(config, kDescription, 64, "Virtual radio trunk job", 0);
    PutText(config, kBand, 2, profile.band, 0);
    PutU16BE(config, kFormat, kTrunkFormat);
    config[kBlankMarker] = 0;
    PutText(config, kNetwork1File, 16, "--NETWORK FILE--", 0);
    PutText(config, kNetwork1File + kNetworkName, 16, "SIMNET.NWK", ' ');
    PutText(config, kNetwork1File + kNetworkBand, 2, profile.band, 0);
    return config;
}

std::vector<std::uint8_t> PmrConfig(const Profile& profile) {
    if (!profile.pmrConfigFile.empty()) {
        return ReadWhole(profile.pmrConfigFile, kPmrConfigSize);
    }
    std::vector<std::uint8_t> config(kPmrConfigSize, 0);
    PutText(config, kDescription, 64, "Virtual radio PMR job", 0);
    PutText(config, kBand, 2, profile.band, 0);
    PutU16BE(config, kChannelCount, static_cast<std::uint16_t>(profile.pmrChannels));
    PutU16BE(config, kFormat, kPmrFormat);
    config[kEncodeCount] = static_cast<std::uint8_t>(profile.pmrEncodes);
    config[kGroupBCount] = static_cast<std::uint8_t>(profile.pmrGroupB);
    config[kBlankMarker] = 0;
    config[kZoneCount] = static_cast<std::uint8_t>(profile.pmrZones);
    return config;
}

// A made-up PMR configuration of the profile's counts: named channels, patterned tables.
PmrContent MadeUpPmr(const Profile& profile) {
    PmrContent pmr;
    pmr.config = PmrConfig(profile);
    for (int i = 0; i < profile.pmrChannels; ++i) {
        std::vector<std::uint8_t> record(kRecordSize, 0);
        PutU16BE(record, 0, static_cast<std::uint16_t>(i));
        PutText(record, 2, 12, "CHANNEL " + std::to_string(i), 0);
        pmr.channels.insert(pmr.channels.end(), record.begin(), record.end());
    }
    pmr.encodes = Pattern(static_cast<std::size_t>(profile.pmrEncodes) * kRecordSize, 0x33);
    pmr.groupB = Pattern(static_cast<std::size_t>(profile.pmrGroupB) * kRecordSize, 0x44);
    pmr.zones = Pattern(static_cast<std::size_t>(profile.pmrZones) * kZoneSize, 0x55);
    return pmr;
}

// A PMR job file holds the radio's PMR areas one after the other, words low byte first: the
// configuration, the channel table entries, the selcall encodes, the group B channels and the
// zones.
constexpr std::size_t kJobChannels = 0x3D2C;
constexpr std::size_t kJobEncodes = 0xBA2C;
constexpr std::size_t kJobGroupB = 0xDA2C;
constexpr std::size_t kJobZones = 0xEA2C;
constexpr std::size_t kMaxChannels = 1000;
constexpr std::size_t kMaxEncodes = 250;
constexpr std::size_t kMaxGroupB = 128;
constexpr std::size_t kMaxZones = 20;
constexpr std::size_t kPmrJobSize = kJobZones + kMaxZones * kZoneSize;

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t start,
                                std::size_t size) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(start),
            bytes.begin() + static_cast<std::ptrdiff_t>(start + size)};
}

// The PMR job of the profile as programming leaves it in the radio, its counts (limited to what
// the radio's areas hold) taken from its configuration and the band word set to the radio's band.
PmrContent PmrFromJob(const Profile& profile) {
    std::vector<std::uint8_t> job = ReadWhole(profile.pmrJobFile, kPmrJobSize);
    job.resize(kPmrJobSize, 0);
    PmrContent pmr;
    pmr.config = Slice(job, 0, kPmrConfigSize);
    TurnWords(pmr.config, PmrConfigurationWords());
    if (profile.band.size() == 2) {
        PutText(pmr.config, kBand, 2, profile.band, 0);
    }
    const auto channels = std::min<std::size_t>(
        static_cast<std::size_t>(pmr.config[kChannelCount] << 8 | pmr.config[kChannelCount + 1]),
        kMaxChannels);
    const auto count = [&](std::size_t at, std::size_t most) {
        return std::min<std::size_t>(pmr.config[at], most);
    };
    pmr.channels = Slice(job, kJobChannels, channels * kRecordSize);
    pmr.encodes = Slice(job, kJobEncodes, count(kEncodeCount, kMaxEncodes) * kRecordSize);
    TurnRecordWords(pmr.encodes, kRecordSize, kEncodeRecordWords);
    pmr.groupB = Slice(job, kJobGroupB, count(kGroupBCount, kMaxGroupB) * kRecordSize);
    TurnRecordWords(pmr.groupB, kRecordSize, kGroupBRecordWords);
    pmr.zones = Slice(job, kJobZones, count(kZoneCount, kMaxZones) * kZoneSize);
    return pmr;
}

std::optional<PmrContent> PmrContentOf(const Profile& profile) {
    if (!profile.pmrJobFile.empty()) {
        return PmrFromJob(profile);
    }
    if (profile.pmrChannels > 0) {
        return MadeUpPmr(profile);
    }
    return std::nullopt;
}

// Channel records: the first 512 in the first part, the rest in the second.
void StoreChannels(Flash& flash, const PmrContent& pmr, const FitLayout& layout) {
    for (std::size_t index = 0; index < pmr.ChannelCount(); ++index) {
        const std::size_t address =
            index < kFirstChannelPart
                ? BlockOf(layout, fit::kChannels1) + index * kRecordSize
                : BlockOf(layout, fit::kChannels2) + (index - kFirstChannelPart) * kRecordSize;
        flash.Store(address, std::span(pmr.channels).subspan(index * kRecordSize, kRecordSize));
    }
}

void StorePmr(Flash& flash, const PmrContent& pmr, const FitLayout& layout) {
    flash.Store(BlockOf(layout, fit::kPmrConfig), pmr.config);
    StoreChannels(flash, pmr, layout);
    flash.Store(BlockOf(layout, fit::kEncodes), pmr.encodes);
    flash.Store(BlockOf(layout, fit::kGroupB), pmr.groupB);
    if (layout[fit::kZoneTable].block != kNoBlock) {
        flash.Store(BlockOf(layout, fit::kZoneTable), pmr.zones);
    }
}

std::vector<std::uint8_t> Phonebook(std::size_t size, std::size_t marker, std::uint8_t seed) {
    std::vector<std::uint8_t> book = Pattern(size, seed);
    std::copy(std::begin(kPhonebookMarker), std::end(kPhonebookMarker), book.begin() + marker);
    return book;
}

void StoreData(Flash& flash, const Profile& profile, const FitLayout& layout) {
    const std::optional<PmrContent> pmr = PmrContentOf(profile);
    flash.Store(BlockOf(layout, fit::kStartupData), StartupData(profile, pmr ? &*pmr : nullptr));
    flash.Store(BlockOf(layout, fit::kPmrContext), Pattern(kBlockSize, 0x11));
    flash.Store(BlockOf(layout, fit::kTrunkContext), Pattern(kBlockSize, 0x22));
    flash.Store(Flash::BlockAddress(kFourthAreaBlock), std::vector<std::uint8_t>(128, 0));
    if (profile.trunkJob) {
        flash.Store(BlockOf(layout, fit::kTrunkConfig), TrunkConfig(profile));
    }
    if (pmr) {
        StorePmr(flash, *pmr, layout);
    }
    if (profile.trunkPhonebookEdited) {
        flash.Store(BlockOf(layout, fit::kTrunkPhonebook),
                    Phonebook(kTrunkPhonebookSize, kTrunkPhonebookMarker, 0x66));
    }
    if (profile.pmrPhonebookEdited) {
        flash.Store(BlockOf(layout, fit::kPmrPhonebook),
                    Phonebook(kPmrPhonebookSize, kPmrPhonebookMarker, 0x77));
    }
}

}  // namespace

bool UsesNewLayout(const Profile& profile) {
    const int type = profile.typeCode;
    return type == 1 || type == 4 || type == 8 || type == 17 || type == 18 || type == 22;
}

FitLayout FileTableLayout() {
    FitLayout layout = CommonLayout();
    layout[fit::kStartupData] = Entry(4, 512);
    layout[fit::kPmrConfig] = Entry(4, kComplexPmrBlock);
    layout[fit::kTrunkConfig] = Entry(4, 576);
    return layout;
}

FitLayout LayoutFor(const Profile& profile) {
    if (!UsesNewLayout(profile)) {
        return FileTableLayout();
    }
    FitLayout layout = CommonLayout();
    layout[fit::kStartupData] = Entry(16, 2048);
    layout[fit::kPmrConfig] = Entry(13, 1760);
    layout[fit::kTrunkConfig] = Entry(4, 512);
    if (profile.zoneArea) {
        layout[fit::kZoneTable] = Entry(17, 2176);
    }
    return layout;
}

std::array<std::uint8_t, kFitSize> EncodeFit(const FitLayout& layout, bool signature,
                                             std::uint8_t flashType) {
    std::array<std::uint8_t, kFitSize> table;
    table.fill(kErased);
    if (signature) {
        table[1] = flashType;
        table[4] = 'J';
        table[5] = 'W';
    }
    for (std::size_t i = 1; i < kFitEntryCount; ++i) {
        const FitEntry& entry = layout[i];
        if (entry.block == kNoBlock) {
            continue;  // an area the radio does not have: the entry stays erased
        }
        const std::size_t at = 8 * i;
        table[at] = entry.sector;
        table[at + 1] = 0;
        table[at + 2] = static_cast<std::uint8_t>(entry.block >> 8);
        table[at + 3] = static_cast<std::uint8_t>(entry.block & 0xFF);
        table[at + 4] = static_cast<std::uint8_t>(entry.offset >> 8);
        table[at + 5] = static_cast<std::uint8_t>(entry.offset & 0xFF);
    }
    return table;
}

std::array<std::uint8_t, kFitFileSize> FitFileContents() {
    const auto table = EncodeFit(FileTableLayout(), false, 0);
    std::array<std::uint8_t, kFitFileSize> file;
    std::copy_n(table.begin(), kFitFileSize, file.begin());
    // Entry 0 is no area: it carries the mark that keeps this file out of real radios.
    std::copy(kVirtualRadioFileMark.begin(), kVirtualRadioFileMark.end(), file.begin());
    return file;
}

std::array<std::uint8_t, kAlignConfigSize> AlignConfigContents() {
    // Bytes 0 to 3 are overwritten with the block counts when the programmer writes them, so they
    // carry the mark that keeps this file out of real radios; the rest stands for the radio's
    // alignment values: a name and a table of settings.
    std::array<std::uint8_t, kAlignConfigSize> align{};
    std::copy(kVirtualRadioFileMark.begin(), kVirtualRadioFileMark.end(), align.begin());
    const std::string name = "KM700 SIM ALIGN";
    std::copy(name.begin(), name.end(), align.begin() + 8);
    for (std::size_t i = 32; i < kAlignConfigSize; ++i) {
        align[i] = static_cast<std::uint8_t>(0x80 + (i * 5) % 64);
    }
    return align;
}

std::vector<std::uint8_t> CodeImage(const CodeRecord& record) {
    const std::size_t length = std::max(record.imageLength, kCodeImageExtra + kCodeRecordBase);
    const std::size_t l = length - kCodeImageExtra;
    std::vector<std::uint8_t> image = Pattern(length, static_cast<std::uint8_t>(record.codeType));
    PutText(image, 0, kCodeLengthField, "KMCODE", 0);
    PutU16BE(image, kCodeLengthField, static_cast<std::uint16_t>(l));
    // The record's last byte falls just beyond the image and is not part of it.
    std::vector<std::uint8_t> description(kCodeRecordSize, 0);
    PutText(description, 0, 25, record.description, ' ');
    PutText(description, 25, 6, record.softwareCode, ' ');
    PutText(description, 31, 6, record.version, ' ');
    PutText(description, 37, 10, record.date, ' ');
    description[47] = static_cast<std::uint8_t>(record.codeType);
    PutText(description, 49, 6, record.requiredRcp, ' ');
    PutText(description, 55, 6, record.minimumRcpVersion, ' ');
    std::copy_n(description.begin(), kCodeRecordSize - 1,
                image.begin() + static_cast<std::ptrdiff_t>(l + kCodeRecordBase));
    return image;
}

void StoreCode(Flash& flash, std::size_t block, const std::vector<std::uint8_t>& image) {
    for (std::size_t piece = 0; piece * kCodePiece < image.size(); ++piece) {
        const std::size_t from = piece * kCodePiece;
        const std::size_t length = std::min(kCodePiece, image.size() - from);
        flash.Store(Flash::BlockAddress(block) + piece * kCodeSlot,
                    std::span<const std::uint8_t>(image).subspan(from, length));
    }
}

Flash BuildRadioMemory(const Profile& profile) {
    Flash flash(profile.sectorCount);
    const FitLayout layout = LayoutFor(profile);
    if (profile.table == TableKind::OwnTable) {
        flash.Store(Flash::BlockAddress(kFitBlock),
                    EncodeFit(layout, true, static_cast<std::uint8_t>(profile.flashType)));
    }
    StoreHardwareRecords(flash, profile);
    StoreCodeAreas(flash, profile, layout);
    if (!profile.blank) {
        StoreData(flash, profile, layout);
    }
    return flash;
}

}  // namespace km::sim
