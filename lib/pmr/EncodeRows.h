#pragma once
// Selcall encodes on the clipboard: each as a CSV row (the encode's number, the Encode dialog's
// fields as the dialog shows them, then the tone mask, durations and tonesets) for a spreadsheet,
// and exactly (number and record bytes) for another job of this program; and encodes pasted by
// number.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pmr/Scl2Map.h"

namespace km::pmr {

std::string EncodeCsvRow(const EncodeEntry& entry);
// nullopt when the number is not one of 1..250 or a field is no value of its column.
std::optional<EncodeEntry> EncodeOfCsvRow(std::string_view line);

std::string ExactBytesOfEncodes(std::span<const EncodeEntry> entries);
// nullopt for bytes that are no such list, or a number outside 1..250.
std::optional<std::vector<EncodeEntry>> EncodesOfExactBytes(std::string_view bytes);

inline constexpr std::string_view kNoEncodesToPasteText =
    "The clipboard holds no selcall encodes.\n"
    "Copy rows of an encode list, or lines of the same columns from a spreadsheet.";
inline constexpr std::string_view kBadEncodeRowsText =
    "A row on the clipboard is no selcall encode: nothing was pasted.\n"
    "Each row is the encode number (1..250), the fields of the Encode dialog as it shows them,\n"
    "then the tone mask, durations and tonesets.";

// Puts the encodes into `sorted` (in number order) by number: an encode whose number the list
// has takes its place, the others join in order. Returns the positions of the pasted encodes.
std::vector<std::size_t> PasteEncodes(std::vector<EncodeEntry>& sorted,
                                      std::span<const EncodeEntry> entries);

}  // namespace km::pmr
