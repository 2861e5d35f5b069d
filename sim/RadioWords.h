#pragma once
// Which bytes of the virtual radio's configuration areas form 16-bit words, which the radio
// keeps high byte first (a job file keeps them low byte first). This is the radio's own statement
// of its memory, kept apart from the programmer's word-order maps on purpose: a job programmed
// into the virtual radio and turned back with this statement must give the job again, so a
// programmer whose maps are wrong is caught by its round trips.

#include <cstddef>
#include <cstdint>
#include <span>

namespace km::sim {

// A run of words: its first byte and the number of words.
struct WordRun {
    std::size_t start;
    std::size_t words;
};

// The trunk configuration (16384 bytes): the radio-wide words, and the same runs for each of the
// two networks, the second 3072 bytes after the first.
std::span<const WordRun> TrunkConfigurationWords();
// The PMR configuration (its 15660-byte header).
std::span<const WordRun> PmrConfigurationWords();
// Words at the start of each 32-byte record of the selcall encodes and of the group B channels.
inline constexpr std::size_t kEncodeRecordWords = 6;
inline constexpr std::size_t kGroupBRecordWords = 16;

// Exchanges the two bytes of every word of `runs` in `bytes`: a job's order into the radio's, or
// back. Runs beyond `bytes` are left alone.
void TurnWords(std::span<std::uint8_t> bytes, std::span<const WordRun> runs);
// The same for the first `words` words of every `recordSize`-byte record of `bytes`.
void TurnRecordWords(std::span<std::uint8_t> bytes, std::size_t recordSize, std::size_t words);

}  // namespace km::sim
