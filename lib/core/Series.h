#pragma once
// A series of texts as a spreadsheet fills it from its first cell: a number at the end counts on
// ("CH 1", "CH 2" ...; "Rpt 08", "Rpt 09", "Rpt 10"), its width kept by leading zeros; a text
// without one repeats.

#include <string>
#include <string_view>

namespace km {

// The text `steps` places after `first` in its series.
std::string CountedText(std::string_view first, long long steps);

}  // namespace km
