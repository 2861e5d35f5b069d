#pragma once
// The words the radio shows on its display, as the Text Strings form edits them: 48 messages, 18
// menu labels, the edit-function labels of the radio's editing screens and, in a PMR job, a name
// for each CTCSS tone. Both jobs keep the messages, menus and edit functions at the same offsets;
// the PMR job has sixteen edit functions where the trunk job has ten (its call type names follow
// them), and only the PMR job has the tone names. The default texts depend on the control head's
// display (`RadioTypeMask`); a change of radio type refills them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fields/Field.h"
#include "image/Images.h"

namespace km {

namespace text_rows {

using fields::Encoding;

inline constexpr std::uint16_t kTextWidth = 12;
inline constexpr std::uint16_t kEditRecordSize = 8;

inline constexpr fields::FieldRow kMessageColumns[] = {
    {.id = "message",
     .caption = "Text Message",
     .control = "StrGrid_TXT1_12char",
     .at = {.trunk = 0, .pmr = 0},
     .encoding = Encoding::Text,
     .width = kTextWidth},
};
inline constexpr fields::FieldRow kMenuColumns[] = {
    {.id = "menu",
     .caption = "Menu Text",
     .control = "StrGrid_TXT3_MenuNames",
     .at = {.trunk = 0, .pmr = 0},
     .encoding = Encoding::Text,
     .width = kTextWidth},
};
// The display row is no text the user edits: every store writes the record's own row.
inline constexpr fields::FieldRow kEditColumns[] = {
    {.id = "label",
     .caption = "Edit Function Text",
     .control = "StrGrid_TXT4_EditFunctions",
     .at = {.trunk = 0, .pmr = 0},
     .encoding = Encoding::Label,
     .width = kEditRecordSize},
    {.id = "row",
     .caption = "Display row",
     .at = {.trunk = 1, .pmr = 1},
     .overlapDeclared = true,
     .derived = true},
};
inline constexpr fields::FieldRow kCtcssColumns[] = {
    {.id = "name",
     .caption = "CTCSS Tone Name",
     .control = "StrGrid_TXT4_CTCSSToneNames",
     .at = {.pmr = 0},
     .encoding = Encoding::Text,
     .width = kTextWidth},
};

inline constexpr fields::RecordTable kMessages = {.id = "text.messages",
                                                  .base = {.trunk = 0x014C, .pmr = 0x014C},
                                                  .stride = kTextWidth,
                                                  .capacity = 48,
                                                  .columns = kMessageColumns};
inline constexpr fields::RecordTable kMenus = {.id = "text.menus",
                                               .base = {.trunk = 0x03C4, .pmr = 0x03C4},
                                               .stride = kTextWidth,
                                               .capacity = 18,
                                               .columns = kMenuColumns};
inline constexpr fields::RecordTable kTrunkEdit = {.id = "text.edit",
                                                   .base = {.trunk = 0x04B4},
                                                   .stride = kEditRecordSize,
                                                   .capacity = 10,
                                                   .columns = kEditColumns};
inline constexpr fields::RecordTable kPmrEdit = {.id = "text.edit",
                                                 .base = {.pmr = 0x04B4},
                                                 .stride = kEditRecordSize,
                                                 .capacity = 16,
                                                 .columns = kEditColumns};
inline constexpr fields::RecordTable kCtcssNames = {.id = "text.ctcss",
                                                    .base = {.pmr = 0x3B3C},
                                                    .stride = kTextWidth,
                                                    .capacity = 40,
                                                    .columns = kCtcssColumns};

inline constexpr fields::RecordTable kRecords[] = {kMessages, kMenus, kTrunkEdit, kCtcssNames};
// A record table has one capacity, so the sixteen PMR edit functions are a table of their own
// under the same record id.
inline constexpr fields::RecordTable kPmrRecords[] = {kPmrEdit};

static_assert(fields::RecordsValid(kMessages, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kMessages, fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kMenus, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kMenus, fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kTrunkEdit, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kPmrEdit, fields::ImageId::Pmr, PmrJobImage::kSize));
static_assert(fields::RecordsValid(kCtcssNames, fields::ImageId::Pmr, PmrJobImage::kSize));
// The trunk edit functions end before the call type names at 0x0508.
static_assert(0x04B4 + kEditRecordSize * 10 == 0x0504);

inline constexpr fields::FieldTable kTable = {
    .id = "text", .form = "Text Strings", .area = fields::Area::Image, .records = kRecords};
inline constexpr fields::FieldTable kPmrEditTable = {
    .id = "text.pmr", .form = "Text Strings", .area = fields::Area::Image, .records = kPmrRecords};

}  // namespace text_rows

// The grids of the form, in the order of its tabs.
enum class TextGrid { Messages, Menus, EditFunctions, CtcssNames };
inline constexpr TextGrid kTextGrids[] = {TextGrid::Messages, TextGrid::Menus,
                                          TextGrid::EditFunctions, TextGrid::CtcssNames};

// Rows a grid shows in either view.
std::size_t GridRowCount(TextGrid grid);

// Characters a text of the grid holds: 12, or 6 for an edit function.
std::size_t TextLimit(TextGrid grid);

// The records that keep a grid's texts in `image` (Trunk or Pmr); null when the image has none.
// Grid row r is record r; rows past the capacity are shown but never stored.
const fields::RecordTable* RecordsOf(TextGrid grid, fields::ImageId image);

// The texts of a grid's records as the form shows them (FormatField), record r for grid row r;
// empty when the image has no such records.
std::vector<std::string> LoadTexts(TextGrid grid, fields::ImageId image,
                                   std::span<const std::uint8_t> bytes);

// Stores texts[r], as the form shows it, into record r for the records the image has; rows past
// them are never stored. A text longer than its field is cut; an unchanged one leaves its bytes.
void StoreTexts(TextGrid grid, fields::ImageId image, std::span<std::uint8_t> bytes,
                std::span<const std::string> texts);

// The fixed labels of a grid's first column in the view of `image`, one per grid row; empty for
// a grid the view does not show.
std::vector<std::string_view> TextLabels(TextGrid grid, fields::ImageId image);

// Who asks for the defaults: a grid's Defaults button, or a change of radio type (which also
// refills for the earlier portable, mask 256, and leaves some rows alone).
enum class DefaultsCause { Button, RadioTypeChange };

// The default texts of `grid` for the head `radioTypeMask` in the view of `image`, from grid row 0
// on; rows past the end of the list keep their texts. Empty when the head keeps every text.
std::vector<std::string_view> DefaultTexts(TextGrid grid, fields::ImageId image, int radioTypeMask,
                                           DefaultsCause cause);

// The display row of edit function record `record` in `image`.
std::uint8_t EditDisplayRow(fields::ImageId image, std::size_t record);

// Writes the display row of every edit function record (the derived column of the records).
void WriteEditDisplayRows(fields::ImageId image, std::span<std::uint8_t> bytes);

// What a change of radio type does to the texts of a job: the grids take the new head's defaults
// (DefaultTexts with DefaultsCause::RadioTypeChange).
void RefillTextsForHead(fields::ImageId image, std::span<std::uint8_t> bytes, int radioTypeMask);

}  // namespace km
