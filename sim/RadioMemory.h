#pragma once
// The memory map of the virtual radio and the builder that fills a flash from a profile.
//
// Sectors are 128 blocks (64 KiB). The map is chosen so that every erase and write the
// programmer makes lands in a sector it has erased in the same operation:
//   sector 0   boot loader record (block 0), Flash Index Table (block 7), band record (block 8)
//   sector 1   FPGA backup (block 128) and FPGA configuration (block 192) records
//   sector 2   backup code            sector 3   startup code
//   sector 4   configuration: trunk data and the fourth area (block 608); on radios without
//              their own table also the startup data (512), PMR configuration (544, the
//              complex PMR data) and trunk data (576), since those radios rewrite all four
//              after erasing this one sector
//   sectors 5, 7, 9, 11   PMR, trunk, option board and APCO P25 code, each followed by the
//              sector of its overlays (6, 8, 10, 12)
//   sector 13  PMR channels (two parts), selcall encodes, group B channels; on radios with their
//              own table also the PMR configuration, rewritten after the channel erase
//   sector 14  PMR context data and the PMR phonebook the radio's user edits
//   sector 15  trunk context data and the trunk phonebook the radio's user edits
//   sector 16  startup data (radios with their own table)
//   sector 17  zone table (radios with their own table and a zone area)

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Flash.h"
#include "sim/Profile.h"

namespace km::sim {

inline constexpr std::size_t kFitBlock = 7;
inline constexpr std::size_t kFitSize = 512;
inline constexpr std::size_t kFitFileSize = 256;
inline constexpr std::size_t kFitEntryCount = 32;  // entries 1 to 31 are in use
inline constexpr std::uint16_t kNoBlock = 0xFFFF;
inline constexpr std::size_t kComplexPmrBlock = 544;
inline constexpr std::size_t kFourthAreaBlock = 608;
inline constexpr std::size_t kStartupDataSize = 512;
inline constexpr std::size_t kAlignConfigSize = 200;

// FIT entries by their number.
namespace fit {
inline constexpr int kBootLoader = 1;
inline constexpr int kBackupCode = 2;
inline constexpr int kBandRecord = 3;
inline constexpr int kFpgaBackup = 4;
inline constexpr int kFpgaConfig = 5;
inline constexpr int kStartupCode = 7;
inline constexpr int kPmrCode = 8;
inline constexpr int kChannels1 = 9;
inline constexpr int kChannels2 = 10;
inline constexpr int kEncodes = 11;
inline constexpr int kGroupB = 12;
inline constexpr int kPmrContext = 14;
inline constexpr int kPmrPhonebook = 15;
inline constexpr int kStartupData = 17;
inline constexpr int kPmrConfig = 18;
inline constexpr int kTrunkConfig = 19;
inline constexpr int kTrunkCode = 20;
inline constexpr int kTrunkContext = 21;
inline constexpr int kTrunkPhonebook = 22;
inline constexpr int kOptionBoardCode = 25;
inline constexpr int kZoneTable = 28;
inline constexpr int kApcoCode = 30;
}  // namespace fit

struct FitEntry {
    std::uint8_t sector = 0xFF;
    std::uint16_t block = kNoBlock;
    std::uint16_t offset = 0xFFFF;  // byte offset of the record (entries 1, 4 and 5)
};

// The radio's layout: entry i of the table, unused entries erased.
using FitLayout = std::array<FitEntry, kFitEntryCount>;

// Radios of types 1, 4, 8, 17, 18, 22 lay their data out the new way.
bool UsesNewLayout(const Profile& profile);
FitLayout LayoutFor(const Profile& profile);
// The layout of the radios without their own table (types 0 and 16).
FitLayout FileTableLayout();

// The 512 bytes of the table: entries at 8 x i; with `signature`, flash type at byte 1 and "JW"
// at bytes 4 and 5.
std::array<std::uint8_t, kFitSize> EncodeFit(const FitLayout& layout, bool signature,
                                             std::uint8_t flashType);
// FIT000101.bin: the first 256 bytes of the table of radios without one, no signature, and the
// virtual radio's mark in the unused entry 0.
std::array<std::uint8_t, kFitFileSize> FitFileContents();

// aligncfg.bin: the first 200 bytes of the startup data of every virtual radio; its bytes 0-3,
// which the programmer overwrites, carry the virtual radio's mark.
std::array<std::uint8_t, kAlignConfigSize> AlignConfigContents();

// The code image a profile's record stands for: length bytes with L = length - 72 at bytes 7-8
// and the 64-byte Software Description at L + 9.
std::vector<std::uint8_t> CodeImage(const CodeRecord& record);
// Stores a code image the way the programmer writes one: 16383 bytes into each 32-block slot.
void StoreCode(Flash& flash, std::size_t block, const std::vector<std::uint8_t>& image);

// Sizes the programmer reads: the trunk configuration and the two phonebook areas.
inline constexpr std::size_t kTrunkConfigSize = 16384;
inline constexpr std::size_t kPmrConfigSize = 15660;
inline constexpr std::size_t kTrunkPhonebookSize = 7040;
inline constexpr std::size_t kTrunkPhonebookMarker = 7000;
inline constexpr std::size_t kPmrPhonebookSize = 6400;
inline constexpr std::size_t kPmrPhonebookMarker = 6000;
inline constexpr std::size_t kRecordSize = 32;
inline constexpr std::size_t kZoneSize = 800;
inline constexpr std::size_t kFirstChannelPart = 512;  // records 0 to 511 in the first part

// Fills a flash as the profile describes. Throws std::runtime_error when a file the profile
// names cannot be read.
Flash BuildRadioMemory(const Profile& profile);

}  // namespace km::sim
