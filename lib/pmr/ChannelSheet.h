#pragma once
// The channel table as a spreadsheet: one column per field of the channel CSV row, each cell
// shown as text and edited in place with the Channel Editor's rules, and the commands of a sheet
// over a selection of rows (fill down, fill series) and Insert Channels. Every change is all or
// nothing: a value a rule refuses leaves the whole table as it was and says why, so the view
// can name the refusal beside the cell instead of opening a box.
//
// A cell edit runs what the Channel Editor runs when that control is changed and the dialog is
// closed with OK: the control's own rule, then the final check, then the read-back into the
// entry. The result is the entry the editor would give for the same change.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pmr/ChannelTable.h"
#include "pmr/Frequency.h"

namespace km::pmr {

// The fields of the channel CSV row, in its order.
enum class SheetColumn {
    Number,
    Name,
    Kind,
    Rx,
    Tx,
    Power,
    Hidden,
    Repeater,
    Bandwidth,
    CodeKind,
    RxCode,
    TxCode,
    SelectableCtcss,
    RxNormalDcs,
    RxInvertedDcs,
    TxInvertedDcs,
    Selcall,
    OpenSelcall,
    RxLockout,
    TxLockout,
    Encode,
    Decode1,
    Decode2,
    Decode3,
    Decode4,
    Decode5,
    Decode6,
    Decode7,
    Decode8,
    Economiser,
    OverrideXtal,
    PttOffEncode,
    NoFfskAni,
};
inline constexpr int kSheetColumnCount = 33;

// How a column's cells are typed.
enum class CellKind {
    Number,     // digits, counted by a series
    Text,       // a name, counted by its trailing number
    Frequency,  // megahertz, stepped by a series
    List,       // one of the column's choices
    Fixed,      // shown only: the entry's kind, what the codes are, what the store writes
};

struct SheetColumnInfo {
    SheetColumn column;
    std::string_view title;  // the CSV header's name
    CellKind kind;
};
const SheetColumnInfo& ColumnInfo(SheetColumn column);
SheetColumn SheetColumnAt(int index);

// What the sheet knows of the job: the Channel Editor's context and what the dialog shows.
struct SheetContext {
    BandLimits band;
    int countryCode = 0;
    int radioTypeMask = 0;
    bool hmFPlus = false;
    int userLevelMask = 1;  // Override Xtal Switch is offered at the levels 4 and 8
    bool zoneMode = false;  // in zone mode Hidden is not offered and an edit clears it
};

// A cell as the sheet shows it: the CSV row's text (a disabled transmit frequency is empty).
// A group shows its number, name and kind; its other cells are empty.
std::string CellText(const ChannelEntry& entry, SheetColumn column);
// The value a sheet sorts by: hertz, numbers, or nothing (then the text).
std::optional<std::int64_t> CellNumber(const ChannelEntry& entry, SheetColumn column);
// False for the fixed columns, a group's channel columns, and what the editor does not offer
// (Economiser on a mobile, Override Xtal Switch below the levels 4 and 8, Hidden in zone mode).
bool CellEditable(const ChannelEntry& entry, SheetColumn column, const SheetContext& context);
// The texts a list column offers, in the order of its list; empty for other columns.
std::vector<std::string> CellChoices(SheetColumn column);

// What a change did. Nothing changed when `refusal` is set; `notes` are the warnings the rules
// gave about values they took (a frequency out of band, a tone cleared on a CB channel).
struct SheetResult {
    bool changed = false;
    std::optional<std::string> refusal;
    std::vector<std::string> notes;
    std::vector<std::size_t> positions;  // where the edited or inserted entries stand now
};

// One cell set to a text. An empty text clears the cell: no transmit frequency, no tone, no
// encode, "N", Low power.
SheetResult SetCell(ChannelTable& table, std::size_t position, SheetColumn column,
                    std::string_view text, const SheetContext& context);

// Cells of one column, each set to its text, as one change (rows the column is not editable in
// are left alone).
struct SheetCell {
    std::size_t position;
    std::string text;
};
SheetResult SetCells(ChannelTable& table, SheetColumn column, std::span<const SheetCell> cells,
                     const SheetContext& context);

// The first row's cell copied into the other rows (positions in the order the view shows them).
SheetResult FillDown(ChannelTable& table, SheetColumn column,
                     std::span<const std::size_t> positions, const SheetContext& context);

// A series from the first row's cell: frequencies step by `stepHz` and stay within the band,
// names count by their trailing number ("CH 1", "CH 2" ...), numbers count up by one; other
// columns are filled down.
inline constexpr std::int64_t kDefaultStepHz = 12500;
SheetResult FillSeries(ChannelTable& table, SheetColumn column,
                       std::span<const std::size_t> positions, std::int64_t stepHz,
                       const SheetContext& context);

// Cells of several columns, each filled from its own first selected cell, as one change that a
// refusal in any column leaves undone. The selection may differ from column to column.
struct ColumnRows {
    SheetColumn column;
    std::vector<std::size_t> positions;  // in the order the view shows them
};
SheetResult FillDown(ChannelTable& table, std::span<const ColumnRows> columns,
                     const SheetContext& context);
SheetResult FillSeries(ChannelTable& table, std::span<const ColumnRows> columns,
                       std::int64_t stepHz, const SheetContext& context);

// "Insert Channels...": `count` channels numbered from `firstNumber`, both frequencies from
// `firstHz` by `stepHz`, named by `namePattern` with "#" standing for 1, 2, 3 ... (an empty
// pattern leaves the names empty, and an Australian CB channel is named as the editor names it).
// Each takes the other settings of `model` (the selected channel, or a new entry's).
struct InsertRequest {
    int count = 16;
    int firstNumber = 0;
    std::int64_t firstHz = 0;
    std::int64_t stepHz = kDefaultStepHz;
    std::string namePattern = "CH #";
};
SheetResult InsertChannels(ChannelTable& table, const ChannelEntry& model,
                           const InsertRequest& request, const SheetContext& context);

// The channel after the one at `after`, added without a dialog: a copy of its row with the first
// free number above its own, both frequencies `stepHz` further and the name counted on ("CH 1"
// gives "CH 2"), checked as the Channel Editor checks a channel it adds. Without a channel to
// follow (an empty table, a group), `model` with the next free number.
SheetResult AddNextChannel(ChannelTable& table, std::optional<std::size_t> after,
                           const ChannelEntry& model, std::int64_t stepHz,
                           const SheetContext& context);

// The name of the n-th channel of a pattern ("CH #", 3 gives "CH 3").
std::string NameOfPattern(std::string_view pattern, int n);

// Messages of the sheet.
inline constexpr std::string_view kNotAValueText = "'%s' is not a value of the column \"%s\".";
inline constexpr std::string_view kNameTooLongText =
    "A name has at most 12 characters, each a letter, digit, blank or sign.";
inline constexpr std::string_view kSeriesLeavesBandText =
    "The series leaves the band at channel %d (%s MHz).\n"
    "The band runs from %d MHz to %d MHz.";
inline constexpr std::string_view kStepOffRasterText =
    "The step must be a multiple of 5kHz, 6.25kHz or 7.5kHz.";
inline constexpr std::string_view kSeriesNeedsFrequencyText =
    "A series of frequencies starts from a frequency: the first cell is empty.";
inline constexpr std::string_view kInsertCountText =
    "Between 1 and %d channels can be inserted: the table holds %d entries of 1000.";
inline constexpr std::string_view kInsertNumbersText =
    "The channels cannot be inserted: their numbers must lie between 0 and 999 and be free.";
inline constexpr std::string_view kTableFullText =
    "The channel table is full.\nAt most 1000 channels and groups can be defined.";
inline constexpr std::string_view kNoNumberAboveText =
    "No channel number above this channel's is free: the next channel cannot be added.";
inline constexpr std::string_view kChannelPrefixText = "Channel %d: ";

}  // namespace km::pmr
