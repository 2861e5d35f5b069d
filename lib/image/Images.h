#pragma once
// The three configuration images, the scratch buffer and the places of their header fields and
// regions. Field tables of the forms add their own offsets beside their map units.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// The radio modes a job's header byte 107 holds: 0 PMR Radio, 1 Trunk Radio, 2 Multi Mode Radio.
inline constexpr int kRadioModeCount = 3;

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
inline constexpr std::size_t kMarker = 0;
// The text at kMarker, written whenever the Network Systems form is loaded.
inline constexpr std::string_view kMarkerText = "--NETWORK FILE--";
inline constexpr std::size_t kName = 16;  // file name, at most 14 characters, blank-padded to 16
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

inline constexpr std::size_t kZoneModeByte = 0x1D24;
inline constexpr std::uint8_t kZoneModeBit = 0x02;  // the Zone Mode option

// The header (the radio's PMR configuration) and the tables after it. Channels and groups share
// 32-byte records, as do the selcall encodes and the group B channels of group area 2; a zone is
// 800 bytes.
inline constexpr std::size_t kHeaderSize = 15660;
inline constexpr std::size_t kRecordSize = 32;
inline constexpr std::size_t kChannelRecords = 0x3D2C;
inline constexpr int kMaxEntries = 1000;  // channels and groups together
inline constexpr std::size_t kEncodeRecords = 0xBA2C;
inline constexpr int kMaxEncode = 250;              // selcall encodes 1..250, 0 none
inline constexpr std::size_t kGroupArea2 = 0xDA2C;  // group indexes 128..255
inline constexpr std::size_t kGroupsPerArea = 128;
inline constexpr std::size_t kZoneRecords = 0xEA2C;
inline constexpr int kZones = 20;
inline constexpr std::size_t kZoneSize = 800;

// The image is the radio's PMR memory gathered into six blocks: the header, the channel records
// in two (those from number 512 on in the second), the selcall encodes, group area 2 and the
// zones.
struct Block {
    std::size_t imageOffset;
    std::size_t size;
    std::size_t radioAddress;
};
inline constexpr std::size_t kFirstChannelBlockSize = 16384;
inline constexpr Block kBlocks[] = {
    {0, kHeaderSize, 0x0000},
    {kChannelRecords, kFirstChannelBlockSize, 0x4000},
    {kChannelRecords + kFirstChannelBlockSize, kMaxEntries* kRecordSize - kFirstChannelBlockSize,
     0x8000},
    {kEncodeRecords, kMaxEncode* kRecordSize, 0xC000},
    {kGroupArea2, kGroupsPerArea* kRecordSize, 0xE000},
    {kZoneRecords, kZones* kZoneSize, 0xF000},
};
inline constexpr std::size_t kUnreadArea = 55660;  // 192 bytes not read from the radio
inline constexpr std::size_t kUnreadAreaSize = 192;
}  // namespace pmr

// Network n is present when the band code of its network file is neither 0 nor 0xFFFF.
bool NetworkPresent(const TrunkJobImage& image, int selector);

// The 14-character name field of a slot's network file, as shown in the network label.
std::string NetworkNameOfSlot(const TrunkJobImage& image, int selector);

}  // namespace km
