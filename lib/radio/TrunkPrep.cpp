#include "radio/TrunkPrep.h"

#include "image/WordOrder.h"

namespace km {
namespace {

constexpr std::uint8_t kTrunkRadioMode = 1;

// Network 1's hunt channel counts, two bytes of its network file.
constexpr std::size_t kNetwork1ChannelCounts = trunk::NetworkFileStart(0) + 0x2E4;
// Network 2 is written when the band word of its network file is not 0.
constexpr std::size_t kNetwork2BandWord = trunk::NetworkFileStart(1) + network::kBandCode;

// The radio-wide part and Network 1's slot, and Network 2's slot.
constexpr std::size_t kNetwork1PartSize = trunk::SlotStart(1);
constexpr std::size_t kNetwork2PartSize = TrunkJobImage::kSize - kNetwork1PartSize;

constexpr std::size_t kRegion0Length = startupdata::kSize;
constexpr std::size_t kPmrRegionLength = 16383;  // the complex PMR data of a multi-mode job
constexpr std::size_t kTrunkModeFillSize = 256;

std::uint8_t Blocks(std::size_t length) {
    return static_cast<std::uint8_t>(length / kWriteBlockSize);
}

void WriteBlockCounts(ScratchBuffer& scratch, std::size_t offset,
                      const std::array<std::size_t, 4>& lengths) {
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        scratch.SetU8(offset + i, Blocks(lengths[i]));
    }
}

}  // namespace

bool Network1HasChannels(const TrunkJobImage& job) {
    return job.U8(kNetwork1ChannelCounts) != 0 || job.U8(kNetwork1ChannelCounts + 1) != 0;
}

bool CheckTrunkJobBeforeProgramming(const TrunkJobImage& job, Person& person) {
    if (!Network1HasChannels(job)) {
        person.Warn(kNoNetwork1ChannelsText);
        return false;
    }
    return true;
}

TrunkPreparation PrepareTrunkData(const TrunkJobImage& job, bool portableHead,
                                  const RadioIdentity& radio, ScratchBuffer& scratch,
                                  Person& person) {
    TrunkPreparation prep;
    auto& length = prep.regions.WriteRegionLength;
    scratch.Fill(0);

    length[0] = kRegion0Length;
    if (job.U8(trunk::kRadioMode) == kTrunkRadioMode) {
        length[1] = 0;
        scratch.FillRegion(trunkprep::kSecondHeader, kTrunkModeFillSize, 0xFF);
    } else {
        length[1] = kPmrRegionLength;
    }

    scratch.Write(trunkprep::kTrunkData, job.Region(0, kNetwork1PartSize));
    length[2] = kNetwork1PartSize;
    if (job.U16(kNetwork2BandWord) != 0) {
        scratch.Write(trunkprep::kNetwork2Data, job.Region(kNetwork1PartSize, kNetwork2PartSize));
        length[2] = TrunkJobImage::kSize;
    }
    length[3] = 0;

    prep.proceed = CheckTrunkJobBeforeProgramming(job, person);

    if (portableHead) {
        length[1] = 0;
        length[3] = 0;
        WriteBlockCounts(scratch, trunkprep::kSecondHeader, {0, 0, length[2], 0});
    } else {
        WriteBlockCounts(scratch, trunkprep::kSecondHeader, length);
    }
    // Radios after Revision 8 keep no complex PMR data and no fourth area; the second header copy
    // keeps the counts written above.
    if (radio.MobileRevision != 0) {
        length[0] = kRegion0Length;
        length[1] = 0;
        length[3] = 0;
    }
    WriteBlockCounts(scratch, trunkprep::kStartupHeader, length);

    SwapTrunkWords(scratch);

    prep.regions.progressTotal =
        static_cast<int>((2 * length[0] + 2 * length[1] + length[2] + length[3]) /
                         kWriteBlockSize) +
        3;
    return prep;
}

void SetTrunkStartupHeader(const TrunkJobImage& job, const WriteRegions& regions,
                           ScratchBuffer& scratch) {
    const auto& length = regions.WriteRegionLength;
    scratch.SetU8(0, 4);
    scratch.SetU8(1, job.U8(trunk::kRadioMode) == kTrunkRadioMode ? 0x00 : 0x80);
    scratch.SetU8(2, Blocks(length[2]));
    scratch.SetU8(3, Blocks(length[3]));
    scratch.SetU8(startupdata::kModeCleared, 0);
    scratch.SetU8(startupdata::kModeFlag, (job.U8(startupdata::kJobFlagsByte) >> 6) & 1);
    scratch.SetU8(startupdata::kNetworkCleared, 0);
    scratch.SetU8(startupdata::kNetwork,
                  static_cast<std::uint8_t>(job.U16(startupdata::kJobNetworkWord)));
}

}  // namespace km
