#pragma once
// Whether the bytes of a job file look like a job this program wrote. Every store of a trunk job
// writes its format mark and a radio mode, a PMR job carries one of the formats the program
// reads and a radio mode, and every network file starts with its marker. A file without them (a
// file of another kind renamed, random bytes) would load as garbage, so the desktop program asks
// before it opens one and km700rcp-cli says so beside its dump and verify.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"

namespace km {

enum class JobKind { Trunk, Pmr, Network };

// One mark that is not as this program writes it.
struct ForeignMark {
    std::string_view mark;  // "format mark", "radio mode", "network marker"
    std::string found;      // the value found, as a number or a quoted text
    std::string expected;   // what the program writes
};

// The marks of `bytes` (the start of a job file of `kind`) that this program would not have
// written, in header order; empty for a job of its own. A mark beyond the end of the bytes counts
// as foreign.
std::vector<ForeignMark> ForeignJobMarks(JobKind kind, std::span<const std::uint8_t> bytes);

// "format mark 45768 (this program writes 100)".
std::string ForeignMarkText(const ForeignMark& mark);

// "<file> does not look like a trunk job made by this program" (a PMR job, a network file).
std::string NotOwnJobText(JobKind kind, std::string_view fileName);
// The same followed by ". Open it anyway?".
std::string NotOwnJobQuestion(JobKind kind, std::string_view fileName);

// True when `bytes` look like a job of this program, or when the person, warned with
// NotOwnJobQuestion, chooses to open the file all the same (No is the safe default).
bool OpenAnyway(JobKind kind, std::span<const std::uint8_t> bytes, std::string_view fileName,
                Person& person);

}  // namespace km
