#pragma once
// What every field row can do, generically: read its value from an image, write it back, check
// it with the form's range message, show it as the form shows it and parse typed text back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "fields/Field.h"

namespace km::fields {

// A number (in the row's shown units) or a text (UTF-8; line breaks as "\n"). A numeric row with a
// blank (FieldRow::blankRaw) reads its blank as the empty text.
using FieldValue = std::variant<std::int64_t, std::string>;

// The message of a range check: the two "%d" are the range's ends.
inline constexpr std::string_view kRangeMessage = "Value out of range.  Must be between %d and %d";
inline constexpr std::string_view kTooLongMessage = "Text too long.  At most %d characters";
inline constexpr std::string_view kNotDialMessage =
    "A dial string holds only the digits 0-9 and * # - E";
inline constexpr std::string_view kNotSelcallMessage =
    "A selcall number holds only the digits 0-9 and A-F";
inline constexpr std::string_view kNotSelcallStatusMessage =
    "A status number holds only the digits 0-9 and A-E";
inline constexpr std::string_view kNotInListMessage = "Value is not one of the list's entries";
inline constexpr std::string_view kNotOnRasterMessage =
    "Frequency is not a multiple of 5kHz, 6.25kHz or 7.5kHz";

// The steps of a raster frequency in 10 Hz units, and the largest count.
inline constexpr std::int64_t kRasterStep5000 = 500;
inline constexpr std::int64_t kRasterStep6250 = 625;
inline constexpr std::int64_t kRasterStep7500 = 750;
inline constexpr std::int64_t kMaxRasterCount = 0x1FFFF;

struct RasterCount {
    std::int64_t step;  // 10 Hz units
    std::int64_t count;
};
// How a frequency in 10 Hz units is stored: the first of the 6.25, 5 and 7.5 kHz steps that
// divides it with a count that fits 17 bits; nullopt when none does.
std::optional<RasterCount> RasterCountOf(std::int64_t tenHz);

// The value of `row` whose bytes start at `offset` of `bytes`. Throws std::out_of_range when the
// row does not fit.
FieldValue ReadField(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset);

// Writes `value`. When the bytes already hold that value they are left exactly as they are, so a
// load and store of an unchanged form never rewrites a byte (a value no list entry names, bytes
// after a text's NUL, a scaled value that does not divide evenly all survive). Bits outside a bit
// field are kept. Throws std::out_of_range when the row does not fit.
void WriteField(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                const FieldValue& value);

// Writes `value` in the form WriteField gives a changed value, even when the bytes already hold
// the value in another form (a frequency of 0 kept with another step, say): for stores that
// rebuild a record from nothing.
void RewriteField(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                  const FieldValue& value);

// The row's default as a value.
FieldValue DefaultValue(const FieldRow& row);

// The message the form shows for a value it refuses, or nullopt when the value passes.
std::optional<std::string> CheckField(const FieldRow& row, const FieldValue& value);

// The value as the form shows it: a list entry's text ("? 37" for a code no entry has), a number
// with its decimals (no thousands separator, whatever the locale), a text with bytes that are not
// printable written as "\xNN".
std::string FormatField(const FieldRow& row, const FieldValue& value);

// Text typed or shown back into a value: an entry's text, "? 37", a number (with the row's
// decimals), or a text. nullopt when the text is not a value of the row.
std::optional<FieldValue> ParseField(const FieldRow& row, std::string_view text);

// Writes every row's default (rows without a place in `image` are skipped). `areaOffset` is where
// the table's area starts in `bytes`.
void FillDefaults(std::span<const FieldRow> rows, ImageId image, std::span<std::uint8_t> bytes,
                  std::size_t areaOffset);

// The raw number a numeric value is stored as, and back.
std::int64_t RawOfValue(const FieldRow& row, std::int64_t value);
std::int64_t ValueOfRaw(const FieldRow& row, std::int64_t raw);

}  // namespace km::fields
