#pragma once
// Lays a trunk job out in the ScratchBuffer the way the radio keeps it, just before Program Radio
// writes it: the startup-data header copies at 0 and 0x4000, the job at 0x8000 with its words
// turned high byte first, and the lengths of the four write regions.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Person.h"
#include "image/Images.h"
#include "link/Messages.h"  // kWriteBufferSize
#include "radio/RadioIdentity.h"

namespace km {

// The lengths of the (up to four) pieces a programming step writes, and the progress total that
// goes with them. A region never exceeds the 16384-byte write buffer.
struct WriteRegions {
    std::array<std::size_t, 4> WriteRegionLength{};
    int progressTotal = 0;
};
inline constexpr std::size_t kWriteBlockSize = 128;

inline constexpr const char* kNoNetwork1ChannelsText = "No channels defined in the Network 1 file.";

// Where the prepared trunk data sits in the ScratchBuffer.
namespace trunkprep {
inline constexpr std::size_t kStartupHeader = 0x0000;
inline constexpr std::size_t kSecondHeader = 0x4000;
inline constexpr std::size_t kTrunkData = 0x8000;
inline constexpr std::size_t kNetwork2Data = 0xB400;
}  // namespace trunkprep

// The radio's startup data (512 bytes), and the bytes of it that trunk and PMR programming fill
// from the job: trunk and PMR jobs keep those values at the same offsets.
namespace startupdata {
inline constexpr std::size_t kSize = 512;
inline constexpr std::size_t kJobNetworkWord = 144;
inline constexpr std::size_t kJobFlagsByte = 156;
inline constexpr std::size_t kModeCleared = 332;
inline constexpr std::size_t kModeFlag = 333;      // bit 6 of the job's byte 156
inline constexpr std::size_t kChannelCount = 350;  // PMR: two bytes, high byte first
inline constexpr std::size_t kNetworkCleared = 352;
inline constexpr std::size_t kNetwork = 353;  // low byte of the job's word 144
}  // namespace startupdata

// True when Network 1's network file lists at least one hunt channel.
bool Network1HasChannels(const TrunkJobImage& job);

// The checks that need only the job; run before the radio is touched, so that nothing is erased
// for a job that cannot be programmed. Warns and returns false when programming must not start.
bool CheckTrunkJobBeforeProgramming(const TrunkJobImage& job, Person& person);

struct TrunkPreparation {
    WriteRegions regions;
    // False when Network 1 has no channels: the warning has been shown and the operation must
    // end without writing.
    bool proceed = true;
};

// `portableHead` is true when the job's control head is one of the portable entries.
TrunkPreparation PrepareTrunkData(const TrunkJobImage& job, bool portableHead,
                                  const RadioIdentity& radio, ScratchBuffer& scratch,
                                  Person& person);

// The startup-data header bytes that Program Radio sets after reading the radio's 512 bytes of
// startup data back into the ScratchBuffer at 0.
void SetTrunkStartupHeader(const TrunkJobImage& job, const WriteRegions& regions,
                           ScratchBuffer& scratch);

}  // namespace km
