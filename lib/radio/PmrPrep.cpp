#include "radio/PmrPrep.h"

#include <algorithm>

#include "core/Files.h"
#include "image/WordOrder.h"

namespace km {
namespace {

using pmrprep::kChannelsInFirstPart;

constexpr std::uint8_t kPmrRadioMode = 0;
constexpr std::size_t kMaxChannels = pmr::kMaxEntries;
constexpr std::size_t kMaxEncodes = pmr::kMaxEncode;
constexpr std::size_t kMaxGroupB = pmr::kGroupsPerArea;
constexpr std::size_t kMaxZones = pmr::kZones;

constexpr std::size_t kEncodeWordsPerRecord = 6;
constexpr std::size_t kGroupBWordsPerRecord = 16;

constexpr std::size_t kBlankTrunkAreaSize = 256;

// In the radio's trunk data read back to 0x8000: the band words of the two network files.
constexpr std::size_t kNetwork1Band =
    pmrprep::kTrunkData + trunk::NetworkFileStart(0) + network::kBandCode;
constexpr std::size_t kNetwork2Band =
    pmrprep::kTrunkData + trunk::NetworkFileStart(1) + network::kBandCode;
// Startup byte 2: the trunk data's block count.
constexpr std::size_t kTrunkBlocksByte = 2;
constexpr std::uint8_t kBlocksWithoutNetwork2 = 104;
constexpr std::uint8_t kNoNetworkSelected = 3;

std::size_t ClampedCount(const PmrJobImage& job, std::size_t offset, std::size_t capacity) {
    return std::min<std::size_t>(job.U16(offset), capacity);
}

std::uint8_t Blocks(std::size_t length) {
    return static_cast<std::uint8_t>(length / kWriteBlockSize);
}

// Turns the first `words` words of each record of a table high byte first (or back).
void SwapRecordWords(ScratchBuffer& scratch, std::size_t base, std::size_t records,
                     std::size_t words) {
    for (std::size_t r = 0; r < records; ++r) {
        for (std::size_t w = 0; w < words; ++w) {
            const std::size_t at = base + r * pmr::kRecordSize + 2 * w;
            const std::uint8_t low = scratch.U8(at);
            scratch.SetU8(at, scratch.U8(at + 1));
            scratch.SetU8(at + 1, low);
        }
    }
}

void CopyHeader(const PmrJobImage& job, ScratchBuffer& scratch, std::size_t to) {
    scratch.Write(to, job.Region(0, pmr::kHeaderSize));
    SwapPmrWords(scratch, to);
}

bool Blank(std::uint16_t word) {
    return word == 0x0000 || word == 0xFFFF;
}

}  // namespace

std::optional<AlignConfig> LoadAlignConfig(const std::filesystem::path& folder, Person& person) {
    const auto bytes =
        ReadFileBytes(FindFileIgnoringCase(folder, kAlignConfigName), kAlignConfigSize);
    if (!bytes || bytes->size() < kAlignConfigSize) {
        person.Warn(kAlignConfigMissingText);
        return std::nullopt;
    }
    AlignConfig config{};
    std::copy_n(bytes->begin(), kAlignConfigSize, config.begin());
    return config;
}

WriteRegions PreparePmrData(const PmrJobImage& job, const AlignConfig& alignConfig,
                            ScratchBuffer& scratch) {
    WriteRegions regions;
    auto& length = regions.WriteRegionLength;
    scratch.Fill(0);

    scratch.Write(pmrprep::kStartupData, alignConfig);
    scratch.SetU8(startupdata::kNetworkCleared, 0);
    scratch.SetU8(startupdata::kNetwork,
                  static_cast<std::uint8_t>(job.U16(startupdata::kJobNetworkWord)));
    scratch.SetU8(startupdata::kModeCleared, 0);
    scratch.SetU8(startupdata::kModeFlag, (job.U8(startupdata::kJobFlagsByte) >> 6) & 1);
    // The radio is told the number of channels that will be written.
    scratch.SetU16BE(startupdata::kChannelCount, static_cast<std::uint16_t>(ClampedCount(
                                                     job, pmr::kChannelCount, kMaxChannels)));

    length[0] = startupdata::kSize;
    CopyHeader(job, scratch, pmrprep::kPmrConfig);
    length[1] = pmr::kHeaderSize;

    if (job.U8(pmr::kRadioMode) == kPmrRadioMode) {
        length[2] = 0;
        scratch.FillRegion(pmrprep::kTrunkData, kBlankTrunkAreaSize, 0xFF);
    } else {
        length[2] = TrunkJobImage::kSize;  // the radio's trunk data, written back whole
    }
    length[3] = 0;

    scratch.SetU8(0, Blocks(length[0]));
    scratch.SetU8(1, Blocks(length[1]));
    scratch.SetU8(2, Blocks(length[2]));
    scratch.SetU8(3, 0);
    regions.progressTotal =
        static_cast<int>((length[1] + 2 * length[0] + 2 * length[2]) / kWriteBlockSize) + 10;
    return regions;
}

void SetPmrStartupNetworks(ScratchBuffer& scratch) {
    auto clearNetwork = [&scratch](std::uint8_t network) {
        if (scratch.U8(startupdata::kNetwork) == network) {
            scratch.SetU8(startupdata::kNetwork, kNoNetworkSelected);
        }
    };
    if (Blank(scratch.U16BE(kNetwork2Band))) {
        clearNetwork(2);
        scratch.SetU8(kTrunkBlocksByte, kBlocksWithoutNetwork2);
    }
    if (Blank(scratch.U16BE(kNetwork1Band))) {
        clearNetwork(1);
        scratch.SetU8(kTrunkBlocksByte, 0);
    }
}

PmrChannelRegions PreparePmrChannels(const PmrJobImage& job, bool portableHead,
                                     const RadioIdentity& radio, ScratchBuffer& scratch,
                                     Person& person) {
    PmrChannelRegions prep;
    auto& length = prep.regions.WriteRegionLength;
    scratch.Fill(0);
    // Copied whole, the records from number 512 on land at 0x4000, where the second write and
    // the radio's read of the second channel area expect them.
    scratch.Write(pmrprep::kChannels,
                  job.Region(pmr::kChannelRecords, kMaxChannels * pmr::kRecordSize));

    const std::size_t channels = ClampedCount(job, pmr::kChannelCount, kMaxChannels);
    if (channels == 0) {
        person.Warn(kNoChannelsText);
        prep.proceed = false;
        return prep;
    }
    length[0] = std::min(channels, kChannelsInFirstPart) * pmr::kRecordSize;
    length[1] = (channels - std::min(channels, kChannelsInFirstPart)) * pmr::kRecordSize;

    scratch.Write(pmrprep::kEncodes,
                  job.Region(pmr::kEncodeRecords, kMaxEncodes * pmr::kRecordSize));
    SwapRecordWords(scratch, pmrprep::kEncodes, kMaxEncodes, kEncodeWordsPerRecord);
    prep.encodeLength = ClampedCount(job, pmr::kEncodeCount, kMaxEncodes) * pmr::kRecordSize;

    scratch.Write(pmrprep::kGroupB, job.Region(pmr::kGroupArea2, kMaxGroupB * pmr::kRecordSize));
    SwapRecordWords(scratch, pmrprep::kGroupB, kMaxGroupB, kGroupBWordsPerRecord);
    prep.groupBLength = ClampedCount(job, pmr::kGroupBCount, kMaxGroupB) * pmr::kRecordSize;

    if (portableHead || radio.MobileRevision != 0) {
        CopyHeader(job, scratch, pmrprep::kPmrConfigCopy);
        length[3] = pmr::kHeaderSize;
    }

    const std::size_t total =
        length[0] + length[1] + length[2] + length[3] + prep.encodeLength + prep.groupBLength;
    prep.regions.progressTotal = static_cast<int>(total / kWriteBlockSize) + 3;
    return prep;
}

WriteRegions PrepareZones(const PmrJobImage& job, ScratchBuffer& scratch) {
    WriteRegions regions;
    scratch.Fill(0);
    scratch.Write(pmrprep::kZones, job.Region(pmr::kZoneRecords, kMaxZones * pmr::kZoneSize));
    regions.WriteRegionLength[0] = ClampedCount(job, pmr::kZoneCount, kMaxZones) * pmr::kZoneSize;
    regions.progressTotal = static_cast<int>(regions.WriteRegionLength[0] / kWriteBlockSize) + 3;
    return regions;
}

}  // namespace km
