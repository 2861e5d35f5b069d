#pragma once
// The virtual radio comes with data files of its own: a FIT000101.bin and an aligncfg.bin that
// describe its made-up memory, and sample code files of made-up software. Written into a real
// radio they would erase and overwrite the wrong flash, so each of them carries a mark that a
// radio maker's file cannot carry by chance, and the virtual radio tells who it is by the range
// of its serial numbers. Programming and the software upgrade refuse a marked file before the
// first erase unless the radio on the line is the virtual radio.
//
// Only constants live here, so that the virtual radio and its data generators state their marks
// with the very bytes the programmer looks for.

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace km {

// Bytes 0-3 of the virtual radio's FIT000101.bin (entry 0, which no radio uses) and of its
// aligncfg.bin (overwritten with block counts before the startup data is written).
inline constexpr std::array<std::uint8_t, 4> kVirtualRadioFileMark{'V', 'R', 'A', 'D'};

// The description in the Software Description of the virtual radio's code files begins so.
inline constexpr std::string_view kVirtualRadioCodeDescription = "VIRTUAL RADIO";

// The serial number text of the virtual radio's band record (bytes 10-25) begins so.
inline constexpr std::string_view kVirtualRadioSerialPrefix = "VIRTUAL";

// True when `bytes` begin with the virtual radio's file mark.
inline bool CarriesVirtualRadioMark(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kVirtualRadioFileMark.size() &&
           std::equal(kVirtualRadioFileMark.begin(), kVirtualRadioFileMark.end(), bytes.begin());
}

// The refusal, with the file's name in place of %s.
inline constexpr const char* kVirtualRadioFileFormat =
    "%s was made for the virtual radio.\nIt must not be written into this radio: put the radio "
    "maker's file in the working folder in its place.";

}  // namespace km
