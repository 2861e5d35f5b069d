#pragma once
// The three configuration images, the scratch buffer and the places of their header fields and
// regions. Field tables of the forms add their own offsets beside their map units.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ByteImage.h"

namespace km {

using TrunkJobImage = ByteImage<16384>;
using PmrJobImage = ByteImage<75948>;
using NetworkImage = ByteImage<1536>;
using ScratchBuffer = ByteImage<98304>;

// The program's version, written into every image by every store pass.
inline constexpr std::uint16_t kProgramVersionNumber = 5860;
inline constexpr const char* kProgramVersionText = "RCP V5.86  ";

// Bytes 14 and 15 of every job image: the version word of the program that stored it.
inline constexpr std::size_t kVersionWordOffset = 14;

namespace trunk {
inline constexpr std::size_t kDescription = 36;  // 64 bytes, at most 60 typed
inline constexpr std::size_t kDescriptionWidth = 64;
inline constexpr std::size_t kRadioType = 106;
inline constexpr std::size_t kRadioMode = 107;
inline constexpr std::size_t kBandCode = 108;
inline constexpr std::size_t kFormatMark = 112;
inline constexpr std::uint16_t kFormatMarkValue = 100;
inline constexpr std::size_t kAccessory = 114;
inline constexpr std::size_t kHeadVariant = 116;

// A network slot is the pair (job part, network file) of one network.
inline constexpr std::size_t kFirstSlot = 10240;
inline constexpr std::size_t kSlotSize = 3072;
inline constexpr std::size_t kJobPartSize = 1536;
inline constexpr std::size_t kNetworkFileInSlot = 1536;

constexpr std::size_t SlotStart(int selector) {
    return kFirstSlot + kSlotSize * static_cast<std::size_t>(selector);
}
constexpr std::size_t NetworkFileStart(int selector) {
    return SlotStart(selector) + kNetworkFileInSlot;
}
}  // namespace trunk

namespace network {
inline constexpr std::size_t kMarker = 0;  // "--NETWORK FILE--"
inline constexpr std::size_t kName = 16;   // file name, at most 14 characters, blank-padded to 16
inline constexpr std::size_t kNameWidth = 16;
inline constexpr std::size_t kNameCharacters = 14;
inline constexpr std::size_t kDescription = 32;  // 60 bytes
inline constexpr std::size_t kBandCode = 92;     // two ASCII characters, first in the high byte
inline constexpr std::size_t kNumberingScheme = 94;
inline constexpr std::size_t kAnnPrefixTable = 480;
inline constexpr std::size_t kRoamingTable = 1244;
}  // namespace network

namespace pmr {
inline constexpr std::size_t kDescription = 36;
inline constexpr std::size_t kDescriptionWidth = 64;
inline constexpr std::size_t kRadioType = 106;
inline constexpr std::size_t kRadioMode = 107;
inline constexpr std::size_t kBandCode = 108;
inline constexpr std::size_t kChannelCount = 110;
inline constexpr std::size_t kFormatVersion = 112;
inline constexpr std::uint16_t kCurrentFormat = 202;
inline constexpr std::size_t kEncodeCount = 114;
inline constexpr std::size_t kGroupBCount = 116;
inline constexpr std::size_t kAccessory = 118;
inline constexpr std::size_t kHeadVariant = 120;
inline constexpr std::size_t kZoneCount = 122;

// The image is the radio's PMR memory gathered into six blocks.
struct Block {
    std::size_t imageOffset;
    std::size_t size;
    std::size_t radioAddress;
};
inline constexpr Block kBlocks[] = {
    {0, 15660, 0x0000},    {15660, 16384, 0x4000}, {32044, 15616, 0x8000},
    {47660, 8000, 0xC000}, {55852, 4096, 0xE000},  {59948, 16000, 0xF000},
};
inline constexpr std::size_t kUnreadArea = 55660;  // 192 bytes not read from the radio
inline constexpr std::size_t kUnreadAreaSize = 192;
}  // namespace pmr

// Network n is present when the band code of its network file is neither 0 nor 0xFFFF.
bool NetworkPresent(const TrunkJobImage& image, int selector);

// The 14-character name field of a slot's network file, as shown in the network label.
std::string NetworkNameOfSlot(const TrunkJobImage& image, int selector);

}  // namespace km
