#include "radio/RadioInfo.h"

#include <cstdio>
#include <vector>

#include "config/BandTable.h"
#include "core/Cp1252.h"
#include "core/Files.h"

namespace km {

namespace {

constexpr const char* kReportFormat =
    "                   \nRadio Band:\t%-26.26s                   \nESN:\t\t%-26.26s          "
    "         \nSerial No:\t%-26.26s                   \nFlash Type:\t%s                  "
    "\n\nBootLoader:\t%s                   \nPLA Backup:\t%s                    \nPLA "
    "Config:\t%-14.14s\t%-10.10s                  \n\nBackupCode:\t%-26.26s\t%-32.32s       "
    "            \nStartup Code:\t%-26.26s\t%-32.32s                   \nPMR "
    "Code:\t%-26.28s\t%-32.32s                   \nTMR Code:\t%-26.28s\t%-32.32s             "
    "      \nDMAP Code:\t%-26.26s\t%-32.32s                   \n";

bool Missing(std::uint8_t first) {
    return first == 0x00 || first == 0xFF;
}

// Up to `width` characters from `offset`, ending early at a NUL, as a C string would.
std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::string text;
    for (std::size_t i = offset; i < bytes.size() && i < offset + width && bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(bytes[i]));
    }
    return text;
}

char DigitOf(int nibble) {
    return "0123456789ABCDEF"[nibble & 0x0F];
}

}  // namespace

RadioInfoValues::RadioInfoValues()
    : radioBand(kUndefinedText),
      esn(kUndefinedText),
      serialNumber(kUndefinedText),
      flashType(kUndefinedText),
      bootLoaderDate(kUndefinedText),
      fpgaBackupDate(kUndefinedText),
      fpgaConfigDate(kUndefinedText),
      fpgaVersion(kUndefinedText) {
    descriptors.fill(UndefinedDescriptor());
}

Esn DecodeEsn(std::span<const std::uint8_t, 4> bytes) {
    const std::uint32_t number =
        (static_cast<std::uint32_t>(bytes[1]) << 16) | (bytes[2] << 8) | bytes[3];
    return Esn{bytes[0], bytes[1] >> 4, static_cast<int>((number / 4) & 0x3FFFF)};
}

std::string EsnText(std::span<const std::uint8_t> bandRecord) {
    if (bandRecord.size() < 4 || Missing(bandRecord[0])) {
        return kUndefinedText;
    }
    const Esn esn = DecodeEsn(bandRecord.first<4>());
    return std::to_string(esn.manufacturer) + "/" + std::to_string(esn.model) + "/" +
           std::to_string(esn.serial);
}

std::string RadioBandText(std::span<const std::uint8_t> bandRecord) {
    if (bandRecord.size() < 10 || Missing(bandRecord[8])) {
        return kUndefinedText;
    }
    return TextAt(bandRecord, 8, 2);
}

std::string RadioBandName(std::span<const std::uint8_t> bandRecord, int countryCode) {
    const std::string code = RadioBandText(bandRecord);
    if (code == kUndefinedText) {
        return code;
    }
    const int entry =
        BandEntryOfWord(static_cast<std::uint16_t>(bandRecord[8] << 8 | bandRecord[9]));
    if (entry == 0) {
        return code;
    }
    return std::string(BandTable(countryCode)[static_cast<std::size_t>(entry - 1)].text);
}

std::string SerialNumberText(std::span<const std::uint8_t> bandRecord) {
    constexpr std::size_t kStart = 10;
    constexpr std::size_t kMostUsed = 15;
    if (bandRecord.size() < kStart + 16 || Missing(bandRecord[kStart])) {
        return kUndefinedText;
    }
    std::string text;
    for (std::size_t i = kStart; i < kStart + kMostUsed; ++i) {
        // An erased 0xFF ends the text like a NUL.
        if (bandRecord[i] == 0x00 || bandRecord[i] == 0xFF) {
            break;
        }
        text.push_back(static_cast<char>(bandRecord[i]));
    }
    return text;
}

std::string DateText(std::span<const std::uint8_t> read, std::size_t offset) {
    constexpr std::size_t kDateWidth = 10;
    if (offset >= read.size() || Missing(read[offset])) {
        return kUndefinedText;
    }
    return TextAt(read, offset, kDateWidth);
}

std::string FpgaVersionText(std::span<const std::uint8_t> firstBlock) {
    if (firstBlock.size() < 5) {
        return kUndefinedText;
    }
    if (firstBlock[3] == 0) {
        return " ";
    }
    return std::string{'V', DigitOf(firstBlock[3]), '.', DigitOf(firstBlock[4] >> 4),
                       DigitOf(firstBlock[4])};
}

std::string DescriptionText(const CodeDescriptor& descriptor) {
    return TextAt(descriptor, 0, 25);
}

std::string CodeLineText(const CodeDescriptor& descriptor) {
    return TextAt(descriptor, 25, 6) + "  " + TextAt(descriptor, 31, 6) + " " +
           TextAt(descriptor, 37, 10);
}

std::string FormatRadioInfoReport(const RadioInfoValues& v) {
    std::array<std::string, 5> descriptions;
    std::array<std::string, 5> lines;
    for (std::size_t i = 0; i < v.descriptors.size(); ++i) {
        descriptions[i] = DescriptionText(v.descriptors[i]);
        lines[i] = CodeLineText(v.descriptors[i]);
    }
    // Every argument is a bounded std::string, so the format never reads past a value.
    std::vector<char> text(4096);
    const int length = std::snprintf(
        text.data(), text.size(), kReportFormat, v.radioBand.c_str(), v.esn.c_str(),
        v.serialNumber.c_str(), v.flashType.c_str(), v.bootLoaderDate.c_str(),
        v.fpgaBackupDate.c_str(), v.fpgaConfigDate.c_str(), v.fpgaVersion.c_str(),
        descriptions[0].c_str(), lines[0].c_str(), descriptions[1].c_str(), lines[1].c_str(),
        descriptions[2].c_str(), lines[2].c_str(), descriptions[3].c_str(), lines[3].c_str(),
        descriptions[4].c_str(), lines[4].c_str());
    return length > 0 ? std::string(text.data()) : std::string();
}

bool WriteRadInfo(const std::filesystem::path& folder, const std::string& report) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(report.size() + 64);
    for (const char c : report) {
        if (c == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    return WriteFileAtomically(folder / kRadInfoFileName, bytes);
}

// ---- The Radio Information machine ----

namespace {

using Item = RadioInfoMachine::Item;

struct ItemRow {
    Item item;
    const char* status;
    int fitEntry;    // the area the item reads (0: a descriptor found through its index)
    int descriptor;  // backup, startup, PMR, trunk, DMAP: 0..4; -1 for none
};

constexpr ItemRow kItems[] = {
    {Item::BootLoaderDate, "Reading BootLoader Date. ", 1, -1},
    {Item::FpgaBackupDate, "Reading FPGA Backup Date. ", 4, -1},
    {Item::FpgaConfigDate, "Reading FPGA Data Date. ", 5, -1},
    {Item::FpgaVersion, "Reading FPGA Version. ", 5, -1},
    {Item::BackupIndex, "Reading Backup Code Index. ", 2, 0},
    {Item::StartupIndex, "Reading Startup Info Index. ", 7, 1},
    {Item::PmrIndex, "Reading Complex PMR Info Index. ", 8, 2},
    {Item::TrunkIndex, "Reading Complex Trunk Info Index. ", 20, 3},
    {Item::DmapIndex, "Reading GPIF Info Index. ", 25, 4},
    {Item::BackupInfo, "Reading Backup Info. ", 0, 0},
    {Item::StartupInfo, "Reading Startup Info. ", 0, 1},
    {Item::PmrInfo, "Reading Complex PMR Info. ", 0, 2},
    {Item::TrunkInfo, "Reading Trunk Info. ", 0, 3},
    {Item::SerialNumber, "Reading Serial Number. ", 3, -1},
    {Item::DmapInfo, "Reading DMAP Info. ", 0, 4},
};

const ItemRow& RowOf(Item item) {
    return kItems[static_cast<int>(item)];
}

Item NextOf(Item item) {
    return static_cast<Item>(static_cast<int>(item) + 1);
}

bool IsDateItem(Item item) {
    return item == Item::BootLoaderDate || item == Item::FpgaBackupDate ||
           item == Item::FpgaConfigDate;
}

bool IsIndexItem(Item item) {
    return item >= Item::BackupIndex && item <= Item::DmapIndex;
}

bool NeedsOptionBoard(Item item) {
    return item == Item::DmapIndex || item == Item::DmapInfo;
}

constexpr std::uint16_t kBlockSize = 512;
constexpr std::uint16_t kIndexSize = 128;
constexpr std::size_t kDateWidth = 10;
constexpr int kTotalWithOptionBoard = 80;
constexpr int kTotalWithoutOptionBoard = 72;

}  // namespace

void RadioInfoMachine::Begin() {
    values_ = RadioInfoValues();
    descriptorPlaces_.fill(std::nullopt);
    GetProgress().SetProgressTotal(kTotalWithOptionBoard);
    GetProgress().ShowProgress("Identifying Radio", "Reading Radio");
    ThenIdentify(nullptr);
    ThenReadFit([this] { return QueueNextItem(Item::BootLoaderDate); },
                // A secure radio is refused once its table starts to arrive.
                [this](ReadProgress) {
                    if (!host_.Identity().Secure) {
                        return true;
                    }
                    host_.GetPerson().Error(kInvalidRadioText);
                    host_.AbortOperation();
                    return false;
                });
}

// Moves on to the next item the radio can answer; an area that is missing keeps "Undefined".
bool RadioInfoMachine::QueueNextItem(Item item) {
    for (; item != Item::Done; item = NextOf(item)) {
        if (NeedsOptionBoard(item) && !host_.Identity().OptionBoardFitted) {
            GetProgress().SetProgressTotal(kTotalWithoutOptionBoard);
            continue;
        }
        if (const auto place = Locate(item)) {
            ThenRead(place->block, place->size, IdBuffer().Region(0, place->size),
                     RowOf(item).status);
            ThenDo([this, item, offset = place->offset] {
                Take(item, IdBuffer().Bytes(), offset);
                return QueueNextItem(NextOf(item));
            });
            return true;
        }
    }
    Report();
    return false;
}

std::optional<RadioInfoMachine::Place> RadioInfoMachine::Locate(Item item) const {
    const ItemRow& row = RowOf(item);
    if (row.fitEntry == 0) {
        const auto& where = descriptorPlaces_[static_cast<std::size_t>(row.descriptor)];
        if (!where) {
            return std::nullopt;
        }
        return Place{where->block, kDescriptorReadSize, where->offset};
    }
    const FitEntry entry = Entry(row.fitEntry);
    if (IsDateItem(item)) {
        // Records kept at a byte offset from their entry's block.
        const std::uint16_t offset = entry.offset;
        const std::uint32_t blocks = offset / kBlockSize;
        // The boot loader's record may well lie in block 0; only a record without any place
        // (block and offset 0) or an erased entry is missing.
        const bool missing = (entry.block == 0 && offset == 0) || entry.block == 0xFFFF ||
                             entry.block + blocks > 0xFFFF;
        if (missing) {
            return std::nullopt;
        }
        const std::size_t inBlock = offset % kBlockSize;
        // A date that crosses into the next block needs that block too.
        const std::uint16_t size = inBlock + kDateWidth > kBlockSize ? 2 * kBlockSize : kBlockSize;
        return Place{static_cast<std::uint16_t>(entry.block + blocks), size, inBlock};
    }
    if (!BlockUsable(entry.block)) {
        return std::nullopt;
    }
    const std::uint16_t size = item == Item::FpgaVersion ? kBlockSize : kIndexSize;
    return Place{entry.block, size, 0};
}

void RadioInfoMachine::Take(Item item, std::span<const std::uint8_t> read, std::size_t offset) {
    const ItemRow& row = RowOf(item);
    switch (item) {
        case Item::BootLoaderDate:
            values_.bootLoaderDate = DateText(read, offset);
            return;
        case Item::FpgaBackupDate:
            values_.fpgaBackupDate = DateText(read, offset);
            return;
        case Item::FpgaConfigDate:
            values_.fpgaConfigDate = DateText(read, offset);
            return;
        case Item::FpgaVersion:
            values_.fpgaVersion = FpgaVersionText(read);
            return;
        case Item::SerialNumber:
            values_.radioBand =
                RadioBandName(read.first(kBandRecordSize), host_.Context().state.CountryCode);
            values_.esn = EsnText(read.first(kBandRecordSize));
            values_.serialNumber = SerialNumberText(read.first(kBandRecordSize));
            return;
        default:
            break;
    }
    const auto slot = static_cast<std::size_t>(row.descriptor);
    if (IsIndexItem(item)) {
        descriptorPlaces_[slot] =
            LocateDescriptor(read.first(kIndexSize), Entry(row.fitEntry).block);
    } else {
        values_.descriptors[slot] = TakeDescriptor(read.first(kDescriptorReadSize), offset);
    }
}

void RadioInfoMachine::Report() {
    values_.flashType = std::to_string(host_.Identity().FlashType);
    const std::string report = FormatRadioInfoReport(values_);
    host_.SetLastReport(report);
    // The report box comes before the progress dialog closes.
    Complete([this, &report] {
        WriteRadInfo(host_.Context().workFolder, report);
        host_.GetPerson().Report(Cp1252ToUtf8(report));
    });
}

}  // namespace km
