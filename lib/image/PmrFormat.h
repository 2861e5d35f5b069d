#pragma once
// The PMR job format check and the two unpack steps that turn a radio read into a job image.
// All functions here are pure: they work on the buffers they are given and show nothing; the
// JobFiles class adds the template file and the messages.

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/Images.h"

namespace km {

// Format versions of the PMR image: 200 and 201 are older layouts converted on load.
inline constexpr std::uint16_t kPmrFormat200 = 200;
inline constexpr std::uint16_t kPmrFormat201 = 201;

enum class PmrFormatStatus {
    Current,          // the bytes were already in the current format
    Converted,        // an older format was converted, with the template filling the gaps
    TooShort,         // the bytes end before the last byte their format needs
    TemplateMissing,  // an older format needs the template and none was given
    Unsupported,      // a format this program cannot read (below 200 or above 202)
};

// Bytes a .pmr file of `version` must hold; 0 for a version that cannot be read.
std::size_t PmrBytesNeeded(std::uint16_t version);

// The format version of .pmr file bytes (low byte first at offset 112), or 0 when too short.
std::uint16_t PmrFileVersion(std::span<const std::uint8_t> fileBytes);

// Turns the bytes of a .pmr file into a current-format image in `out`. An older format is
// converted on fresh copies of `templ` (nullptr when the template file is missing). `out` is
// written only when the result is Current or Converted. Bytes beyond the image size are ignored.
PmrFormatStatus ConvertPmrFile(std::span<const std::uint8_t> fileBytes, const PmrJobImage* templ,
                               PmrJobImage& out);

// Trunk read: swaps the ScratchBuffer's words at 0x8000 into image order and copies the 16384
// bytes from 0x8000 into the trunk image. The caller then builds the Trunk view.
void UnpackTrunkRead(ScratchBuffer& scratch, TrunkJobImage& trunk);

// PMR read: the ScratchBuffer holds the radio's PMR memory at the radio addresses, high byte
// first. Older formats (200, 201) are converted in the first block from `templ`, and take group
// area 2 and the zone area from the template. `image` is changed only when the result is
// Current or Converted; the caller then sets ZoneReload and builds the PMR view.
PmrFormatStatus UnpackPmrRead(ScratchBuffer& scratch, const PmrJobImage* templ, PmrJobImage& image);

}  // namespace km
