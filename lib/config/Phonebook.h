#pragma once
// The trunk phone book and the other fields the Identities form keeps once per job (not per
// network): 250 entries of a packed dial string and a 12-character name, the alphabetical-order
// flag and the two GPS reporting intervals. The phone book grid's editing commands and its CSV
// file ("TRUNK,Phonebook") are here too, so that the form, the desktop's CSV commands and
// km700rcp-cli share one codec.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/IdMap.h"
#include "core/Csv.h"
#include "fields/Field.h"
#include "image/Images.h"

namespace km {

namespace phonebook_rows {

using fields::Encoding;
using fields::FieldRow;

inline constexpr std::size_t kEntries = 250;
inline constexpr std::uint16_t kNameWidth = 12;

inline constexpr FieldRow kRows[] = {
    // Bit 0 clear means alphabetical order: the check box shows 1 - bit.
    {.id = "identities.alphabetical_order",
     .caption = "Display in Alphabetical Order",
     .control = "CBox_PBK_PhbkAlphaOrder",
     .tab = id_rows::kTabPhonebook,
     .at = {.trunk = 0x009E},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 1,
     .defaultValue = 1,
     .scale = {.mul = -1, .add = 1}},
    {.id = "identities.gps_interval",
     .caption = "Time Based (s)",
     .control = "Edit_DAT_TimeBased",
     .tab = id_rows::kTabData,
     .at = {.trunk = 0x0134},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 50000},
    {.id = "identities.gps_distance",
     .caption = "Distance Based (m)",
     .control = "Edit_DAT_DistanceBased",
     .tab = id_rows::kTabData,
     .at = {.trunk = 0x0136},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 50000},
};

inline constexpr FieldRow kNumberColumns[] = {
    {.id = "number",
     .caption = "Dial String",
     .control = "StrGrid_PBK_Phonebook",
     .tab = id_rows::kTabPhonebook,
     .at = {.trunk = 0},
     .encoding = Encoding::PackedDial,
     .width = 16},
};
inline constexpr FieldRow kNameColumns[] = {
    {.id = "name",
     .caption = "Name/Message",
     .control = "StrGrid_PBK_Phonebook",
     .tab = id_rows::kTabPhonebook,
     .at = {.trunk = 0},
     .encoding = Encoding::Text,
     .width = kNameWidth},
};

inline constexpr fields::RecordTable kNumbers = {.id = "identities.phonebook.numbers",
                                                 .base = {.trunk = 0x0598},
                                                 .stride = 16,
                                                 .capacity = kEntries,
                                                 .columns = kNumberColumns};
inline constexpr fields::RecordTable kNames = {.id = "identities.phonebook.names",
                                               .base = {.trunk = 0x1538},
                                               .stride = kNameWidth,
                                               .capacity = kEntries,
                                               .columns = kNameColumns};
inline constexpr fields::RecordTable kRecords[] = {kNumbers, kNames};

static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kNumbers, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RecordsValid(kNames, fields::ImageId::Trunk, TrunkJobImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "identities",
                                              .form = id_rows::kFormCaption,
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

}  // namespace phonebook_rows

// One row of the phone book grid, as the grid shows it.
struct PhonebookEntry {
    std::string number;
    std::string name;

    friend bool operator==(const PhonebookEntry&, const PhonebookEntry&) = default;
};
using Phonebook = std::vector<PhonebookEntry>;

// The label of grid row `entry` (0..249): the twenty short-form dial entries are "SFD 0" ..
// "SFD 19", the others their number.
std::string PhonebookRowLabel(std::size_t entry);

Phonebook LoadPhonebook(std::span<const std::uint8_t> trunkImage);
// Stores up to 250 entries (missing ones empty). Only dial characters up to the 31 a field holds
// and names up to 12 characters reach the image, whatever the grid holds; an entry shown as it
// was loaded leaves its bytes alone.
void StorePhonebook(std::span<std::uint8_t> trunkImage, std::span<const PhonebookEntry> entries);

// An entry as the image would keep it: the number's dial characters, at most 31; the name cut to
// 12 characters.
PhonebookEntry Bounded(const PhonebookEntry& entry);

// ---- Grid commands; `row` is the selected entry ----

void InsertRow(Phonebook& book, std::size_t row);  // the last entry is lost
void DeleteRow(Phonebook& book, std::size_t row);  // the last entry becomes empty

// Copies the selected row's name into every later row; a dial string counts on by one from row to
// row as a decimal digit string (leading zeros kept), and later rows get an empty dial string when
// it is empty. A dial string that is no plain decimal number gives the conversion error and
// changes nothing; counting stops at the last row or when the next number would no longer fit.
std::optional<std::string> FillToEnd(Phonebook& book, std::size_t row);
inline constexpr std::string_view kNotAnIntegerMessage = "'%s' is not a valid integer value";

// The decimal digit string one above `digits` (which holds only digits), of the same width unless
// every digit is 9.
std::string NextDecimal(std::string_view digits);

// ---- CSV ----

inline constexpr std::string_view kCsvKind = "TRUNK";
inline constexpr std::string_view kCsvTable = "Phonebook";
inline constexpr std::string_view kCsvColumns = "Index, Number, Name,";
inline constexpr std::string_view kNotAPhonebook = "File does not contain a valid Phonebook.";

// The file's bytes: the two header lines and one line per entry ("index,number,name"), CR LF
// after each, Windows-1252.
std::string ExportPhonebookCsv(std::span<const PhonebookEntry> entries);

struct PhonebookImport {
    Phonebook entries;  // all 250; entries the file does not name are empty
    csv::ImportSummary summary;
};
// Reads a file's bytes. A file whose line 1 is not "TRUNK,Phonebook" gives kNotAPhonebook. The
// rows fill the grid in file order (the index field is not used); rows beyond the 250th are
// counted as skipped. Numbers keep their dial characters, names their printable ones, bounded as
// the image bounds them.
std::variant<PhonebookImport, std::string> ImportPhonebookCsv(std::string_view fileBytes);

// The same two for a job image, as km700rcp-cli runs them.
std::string ExportPhonebookCsvOfImage(std::span<const std::uint8_t> trunkImage);
std::variant<csv::ImportSummary, std::string> ImportPhonebookCsvIntoImage(
    std::span<std::uint8_t> trunkImage, std::string_view fileBytes);

}  // namespace km
