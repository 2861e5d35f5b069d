#pragma once
// The radio keeps the 16-bit words of its configuration high byte first, the job images low byte
// first. The word-order maps list the ranges that hold words; exchanging the two bytes of every
// word in them turns one order into the other, and doing it twice gives back the original bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/Images.h"

namespace km {

// One range of 16-bit words: start as a byte offset, length in words.
struct WordRange {
    std::size_t start;
    std::size_t words;
};

// Where the read and the trunk preparation keep the trunk job inside the ScratchBuffer.
inline constexpr std::size_t kTrunkScratchBase = 0x8000;

// Swaps the words of a trunk job image held in `trunkBytes` (at least TrunkJobImage::kSize bytes).
void SwapTrunkWords(std::span<std::uint8_t> trunkBytes);
// Swaps the words of the trunk job held in the ScratchBuffer from 0x8000.
void SwapTrunkWords(ScratchBuffer& scratch);

// Swaps the words of a copy of the PMR image's first block that starts at `base` in the
// ScratchBuffer.
void SwapPmrWords(ScratchBuffer& scratch, std::size_t base);
// Swaps the words of a PMR first block held in `firstBlock` (at least 15660 bytes).
void SwapPmrWords(std::span<std::uint8_t> firstBlock);

// The maps themselves, for the preparation steps that need to walk them.
std::span<const WordRange> TrunkWordRanges();
std::span<const WordRange> PmrWordRanges();

}  // namespace km
