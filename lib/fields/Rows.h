#pragma once
// Makers of the common kinds of rows, shared by the field tables of every form, and the lookup
// of a row by its id.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

#include "fields/Field.h"

namespace km::fields {

// Where a row sits: the page of its form that shows it, and its places.
struct Where {
    std::string_view tab;
    Places at;
};

constexpr Places InTrunk(std::int32_t at) {
    return {.trunk = at};
}
constexpr Places InPmr(std::int32_t at) {
    return {.pmr = at};
}

// A number in a word, low byte first; 0 and 0 for min and max take any number the word holds.
constexpr FieldRow Word(std::string_view id, std::string_view caption, std::string_view control,
                        Where where, std::int64_t min, std::int64_t max,
                        std::int64_t defaultValue = 0, Scale scale = {},
                        std::int64_t blank = kNoBlank) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = where.tab,
            .at = where.at,
            .encoding = Encoding::U16,
            .min = min,
            .max = max,
            .defaultValue = defaultValue,
            .blankRaw = blank,
            .scale = scale};
}

// Bit `bit` of a byte, edited by a check box.
constexpr FieldRow Flag(std::string_view id, std::string_view caption, std::string_view control,
                        Where where, int bit, std::int64_t defaultValue = 0) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = where.tab,
            .at = where.at,
            .encoding = Encoding::Bits,
            .width = 1,
            .bitShift = static_cast<std::uint8_t>(bit),
            .bitCount = 1,
            .defaultValue = defaultValue,
            .controlKind = ControlKind::CheckBox};
}

// The row as a value the program writes on every store rather than one the user edits.
constexpr FieldRow Derived(FieldRow row) {
    row.derived = true;
    return row;
}

// The row of `id` among `rows`; a compile error in a constant expression (std::out_of_range at
// run time) when no row has it.
constexpr const FieldRow& RowById(std::span<const FieldRow> rows, std::string_view id) {
    for (const FieldRow& row : rows) {
        if (row.id == id) {
            return row;
        }
    }
    throw std::out_of_range("no row has this id");
}

}  // namespace km::fields
