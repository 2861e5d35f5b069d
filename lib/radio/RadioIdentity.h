#pragma once
// Who the connected radio is: the answer to the IdentifyRequest, the radio's Flash Index Table
// (or FIT000101.bin for radios that carry none), the band record with its hardware option bits,
// and the code descriptors that tell which software the radio runs. Everything here reads bytes
// that came over the serial line, so every offset and pointer is range-checked before use.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ByteImage.h"

namespace km {

// The record of the connected radio; overwritten by each operation.
struct RadioIdentity {
    std::uint8_t TypeCode = 0;
    bool Portable = false;
    int MobileRevision = 0;  // 0 Revision 8, 4 Revision 9, 8 Revision 10 (0 for portables)
    int OtherKind = 0;       // 2 for type code 3
    bool Secure = false;
    bool OptionBoardFitted = false;
    int FlashType = 0;  // 0 when the table came from FIT000101.bin, else 1 or 2
    std::uint16_t RadioBand = 0;
    bool HardwareOptionA = false;
    bool HardwareOptionB = false;
    bool HardwareOptionC = false;
    // The serial number of the band record lies in the virtual radio's range; set by the band
    // check, like the hardware option flags.
    bool VirtualRadio = false;
};

// One row of the type-code table.
struct RadioTypeEntry {
    std::uint8_t code;
    bool portable;
    int mobileRevision;
    int otherKind;
    bool secure;
};

inline constexpr RadioTypeEntry kRadioTypes[] = {
    {0, false, 0, 0, false}, {1, true, 0, 0, false},  {3, false, 0, 2, false},
    {4, false, 4, 0, false}, {8, false, 8, 0, false}, {16, false, 0, 0, true},
    {17, true, 0, 0, true},  {18, false, 4, 0, true}, {22, false, 8, 0, true},
};

inline constexpr const char* kUnknownRadioTypeText = "Unknown Radio Type.";
// Shown when an operation meets a secure radio; programming a trunk radio pads with 32 blanks.
inline constexpr const char* kInvalidRadioText =
    "Invalid Radio.                            \nThis RCP cannot read/write secure radios.";
inline constexpr const char* kInvalidRadioProgrammingText =
    "Invalid Radio.                                \nThis RCP cannot read/write secure radios.";

enum class IdentifyOutcome { NotAnIdentifyReply, UnknownType, Identified };

// Decodes an IdentifyReply (00 7A, byte 3 type code, byte 5 option board flag). The flags are
// cleared first; TypeCode and OptionBoardFitted are stored even for an unknown type.
IdentifyOutcome DecodeIdentifyReply(std::span<const std::uint8_t> message, RadioIdentity& identity);

// The 2048-byte buffer that holds the Flash Index Table and the later small reads of an operation.
using IdentificationBuffer = ByteImage<2048>;

inline constexpr std::uint16_t kFitBlock = 7;
inline constexpr std::uint16_t kFitSize = 512;
inline constexpr std::size_t kFitFileSize = 256;
inline constexpr const char* kFitFileName = "FIT000101.bin";
inline constexpr int kFitEntries = 31;

inline constexpr const char* kMissingFitText =
    "Missing Flash Index Table file: FIT000101.BIN                             \nor Radio has a "
    "later Flash type than this RCP supports.";
// A table entry that points nowhere usable (block 0, 0xFFFF, or past the 16-bit block range).
inline constexpr const char* kFitErrorText = "Error in Flash Index Table.";

struct FitEntry {
    std::uint8_t sector = 0;
    std::uint16_t block = 0;
    std::uint16_t offset = 0;  // a record's byte offset from the block (entries 1, 4 and 5)
};

// Entry i (1..31) of the table at the start of `buffer`: byte 0 sector, bytes 2-3 block, bytes
// 4-5 offset.
FitEntry FitEntryAt(const IdentificationBuffer& buffer, int index);

// A block taken from the radio is usable when it names real memory: neither 0 nor 0xFFFF, and
// `extraBlocks` further on still inside the 16-bit block range.
bool BlockUsable(std::uint16_t block, std::uint32_t extraBlocks = 0);

// Checks the table just read into `buffer` and sets FlashType. Radios without their own table
// (type 0 and 16) use FIT000101.bin, found (ignoring letter case) in the first of `folders` that
// holds it; the file must be exactly 256 bytes. On failure the buffer is cleared.
bool ValidateFit(IdentificationBuffer& buffer, RadioIdentity& identity,
                 const std::vector<std::filesystem::path>& folders);
// After a successful ValidateFit: the table came from FIT000101.bin, and that file is the
// virtual radio's.
bool FitFromVirtualRadioFile(const IdentificationBuffer& buffer, const RadioIdentity& identity);

// The band record (128 bytes at the block of FIT entry 3).
inline constexpr std::size_t kBandRecordSize = 128;
inline constexpr const char* kIncorrectBandFormat =
    "Incorrect Frequency Band.                                   \n\n   Radio Band:    %s        "
    "                           \n   Job File Band: %s ";

// Sets RadioBand, the hardware option flags and VirtualRadio from the record and compares the
// radio's band with the job's band word (two characters, the first in the high byte). Returns the
// message to show when they differ; nothing when they match or the radio's band is 00 00 or FF FF.
std::optional<std::string> CheckBand(std::span<const std::uint8_t> record, std::uint16_t jobBand,
                                     RadioIdentity& identity);

// Where a code area keeps its 64-byte descriptor: found through the big-endian pointer at bytes
// 7-8 of the area, with the gap byte the radio leaves after every 16383 bytes of code.
struct DescriptorLocation {
    std::uint16_t block = 0;
    std::uint16_t offset = 0;  // byte inside the block, 0..511
};
inline constexpr std::size_t kDescriptorSize = 64;
inline constexpr std::uint16_t kDescriptorReadSize = 768;

// Nothing when the area pointer is 0, the area is erased (pointer 0xFFFF), or the descriptor
// would lie outside the block range.
std::optional<DescriptorLocation> LocateDescriptor(std::span<const std::uint8_t> areaHead,
                                                   std::uint16_t areaBlock);

// The descriptor as the programmer keeps it: the 64 bytes read, or the text "Undefined" when it
// is missing (first byte 0x00 or 0xFF, or nothing read).
using CodeDescriptor = std::array<std::uint8_t, kDescriptorSize>;
inline constexpr const char* kUndefinedText = "Undefined";
CodeDescriptor UndefinedDescriptor();
CodeDescriptor TakeDescriptor(std::span<const std::uint8_t> read, std::size_t offset);

}  // namespace km
