#pragma once
// Every field table of the program, and where a table's area lies in each image.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "fields/Field.h"

namespace km::tables {

// All tables, in the order of the forms. A new form adds its table here once.
std::span<const fields::FieldTable* const> AllTables();

// The image whose offsets a row of an area uses when it is read from `image`: the rows of a
// network file keep their network offsets inside a trunk job's slot.
fields::ImageId OffsetsOf(fields::Area area, fields::ImageId image);

// Where `area` starts in `image` for network slot `selector` (0 or 1); nullopt when the image
// does not carry the area.
std::optional<std::size_t> AreaStart(fields::Area area, fields::ImageId image, int selector);

// The byte offset of a row of `table` in `image`, for slot `selector`; nullopt when the image
// does not carry it.
std::optional<std::size_t> RowOffset(const fields::FieldTable& table, const fields::FieldRow& row,
                                     fields::ImageId image, int selector);

// The byte offset of column `column` of record `index` of `records`, as RowOffset.
std::optional<std::size_t> RecordOffset(const fields::FieldTable& table,
                                        const fields::RecordTable& records,
                                        const fields::FieldRow& column, std::size_t index,
                                        fields::ImageId image, int selector);

// One field as it is found in an image: its full id ("n2." before the rows of a trunk job's
// second network slot, "[r]" after a record table's id), its row and its byte offset.
struct PlacedField {
    std::string id;
    const fields::FieldRow* row;
    std::size_t offset;
    const fields::FieldTable* table;
    int selector;  // the network slot of a per-network table in a trunk job, else 0
    const fields::RecordTable* records = nullptr;  // the record table of a column, else null
    std::size_t record = 0;                        // the index of a column's record
};

enum class Records { InUse, All };

// Calls `visit` for every field `image` carries, in table order, the per-network tables once for
// each slot of a trunk job. Records::InUse visits the records a table's count says are in use
// (clamped to the capacity), Records::All every record up to the capacity.
void ForEachField(fields::ImageId image, std::span<const std::uint8_t> bytes, Records records,
                  const std::function<void(const PlacedField&)>& visit);

// Writes the default of every row (and of every column of every record) that `image` carries,
// in both network slots of a trunk job: what a template of the image holds before anything else.
void FillTemplateDefaults(fields::ImageId image, std::span<std::uint8_t> bytes);

// True when the table has a network slot or network file area, i.e. a trunk job carries it
// twice.
constexpr bool PerNetwork(const fields::FieldTable& table) {
    return table.area != fields::Area::Image;
}

}  // namespace km::tables
