#pragma once
// What the Edit menu does to the channel table: entries copied as the rows of the channel CSV
// file (for a spreadsheet) and as their exact bytes (for another job of this program), entries
// pasted by number, and one column set over the selected channels with the Channel Editor's
// rules.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"
#include "pmr/ChannelEdit.h"
#include "pmr/ChannelTable.h"

namespace km::pmr {

// ---- Copy ----

// The rows of the entries, each as its line of the channel CSV file (no line ends).
std::vector<std::string> CsvRowsOf(std::span<const ChannelEntry> entries);
// The entries exactly, record bytes, frequencies and members, and back; nullopt for bytes that
// are no such list (a different length, a count that does not match).
std::string ExactBytesOf(std::span<const ChannelEntry> entries);
std::optional<std::vector<ChannelEntry>> EntriesOfExactBytes(std::string_view bytes);

// Rows of the channel CSV file read as an import reads them; rows without a number are left out.
std::vector<ChannelEntry> EntriesOfCsvRows(std::span<const std::string> rows, int radioTypeMask);

// ---- Paste ----

inline constexpr std::string_view kNothingToPasteText =
    "The clipboard holds no channels or groups.\n"
    "Copy rows of a channel table, or lines of a channel CSV file.";
inline constexpr std::string_view kPasteNumberText =
    "The channels cannot be pasted: channel numbers must lie between 0 and 999 "
    "and appear once.";
inline constexpr std::string_view kPasteMembersText =
    "The channels cannot be pasted: a group would list a channel\n"
    "the table does not have, or another group.";

// Puts the entries into the table by number: an entry whose number the table has takes that
// entry's place, the others are added. All or nothing: on a refusal the table is unchanged and
// the message says why. Returns the positions of the pasted entries.
struct PasteResult {
    std::vector<std::size_t> positions;
    std::optional<std::string_view> refusal;
};
PasteResult PasteEntries(ChannelTable& table, std::span<const ChannelEntry> entries);

// True when every group lists only channels of the table (members and priority channel).
bool GroupMembersPresent(const ChannelTable& table);

// ---- Bulk edit ----

enum class BulkColumn { TxPower, Bandwidth, RxCode, TxCode };
struct BulkColumnInfo {
    BulkColumn column;
    std::string_view title;
};
inline constexpr std::array<BulkColumnInfo, 4> kBulkColumns = {{
    {BulkColumn::TxPower, "Tx Power"},
    {BulkColumn::Bandwidth, "Channel Bandwidth"},
    {BulkColumn::RxCode, "Rx CTCSS/DCS"},
    {BulkColumn::TxCode, "Tx CTCSS/DCS"},
}};
inline constexpr std::string_view kBulkGroupsOnlyText =
    "The selected rows are groups: a bulk edit changes channels only.";

// The values a column offers, as the Channel Editor lists them.
std::vector<std::string> BulkChoices(BulkColumn column);

// Sets the column of every channel at `positions` (groups are left alone) to the choice, and
// runs the Channel Editor's rule for that control on each (an Australian CB channel keeps low
// power, 12.5 kHz, no tone); a message a rule gives is told once. Returns how many entries
// changed.
int ApplyBulkEdit(ChannelTable& table, std::span<const std::size_t> positions, BulkColumn column,
                  std::size_t choice, const ChannelEditContext& context, Person& person);

}  // namespace km::pmr
