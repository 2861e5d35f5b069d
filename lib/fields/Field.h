#pragma once
// A field of a configuration image declared as data: one row says where the field sits in each
// image, how its bytes encode the value, its range, default and choices, and which control edits
// it. Loading, storing, checking, showing, parsing, dumping and comparing are derived from the
// rows (FieldOps.h), so a field is declared once and fixed in one place.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace km::fields {

// The byte images a row can live in. Setup.dat is a small record of its own.
enum class ImageId : std::uint8_t { Trunk, Pmr, Network, Setup };
inline constexpr std::size_t kImageIdCount = 4;
inline constexpr std::array<std::size_t, kImageIdCount> kImageSizes = {16384, 75948, 1536, 92};

inline constexpr std::int32_t kAbsent = -1;

// Offsets of a row in each image; kAbsent where the image does not carry the field. Offsets of a
// per-network table are relative to its area (FieldTable::area), of a record column relative to
// the record.
struct Places {
    std::int32_t trunk = kAbsent;
    std::int32_t pmr = kAbsent;
    std::int32_t network = kAbsent;
    std::int32_t setup = kAbsent;

    constexpr std::int32_t Of(ImageId image) const {
        switch (image) {
            case ImageId::Trunk:
                return trunk;
            case ImageId::Pmr:
                return pmr;
            case ImageId::Network:
                return network;
            case ImageId::Setup:
                return setup;
        }
        return kAbsent;
    }
};

enum class Encoding : std::uint8_t {
    U8,
    U16,    // low byte first, as the images hold numbers
    U16BE,  // high byte first, as the radio holds them
    I16,    // signed, low byte first
    I32,    // signed, low byte first
    Bits,   // bits [bitShift, bitShift + bitCount) of a low-byte-first container of `width` bytes
    Bcd,    // `width` bytes, two decimal digits a byte, high digit first; the value is the number
    // As Bcd, the bytes low first: a BCD number kept in a little-endian word (1234 is 0x1234).
    BcdLowFirst,
    Text,  // Windows-1252, NUL-filled to `width`, no terminator at full width
    Memo,  // as Text, a line break stored as CR LF and shown as one line break
    // A radio frequency as a 17-bit count of a 5, 6.25 or 7.5 kHz step in `width` bytes: count
    // bits 16..1 high byte first in the first two bytes; in the last byte count bit 0 at bit
    // bitShift + 4 and the step flags at bitShift + 1 (7.5 kHz) and bitShift + 6 (6.25 kHz),
    // neither meaning 5 kHz. The value is in 10 Hz units (5 decimals show megahertz).
    RasterFrequency,
    // A label of the radio's display, a record of `width` bytes: byte 0 = 101 - 7 x the number
    // of characters, byte 1 the display row (a row of its own, never written by this one), the
    // text from byte 2, NUL-filled, no terminator at full width
    Label,
    // As Bits, of a high-byte-first container: a number whose top bits share its first byte
    // with flags.
    BitsHighFirst,
    // A number whose bits lie in several places of `width` bytes (FieldRow::pieces).
    Pieces,
    // Dial characters packed two to a byte as 4-bit codes, the first in the high nibble of the
    // first byte: "0"-"9" 0-9, "*" 11, "#" 12, "-" 13, "E" (or "e") 14. Code 15 ends the string
    // and fills every unused nibble. The field holds `max` characters, 2 x `width` - 1 when max
    // is 0 (so the end code always fits); a field of 2 x `width` characters has no end code when
    // it is full. The value is a text. A row with a blankRaw reads a field whose every byte is
    // blankRaw as the empty text (a zero-filled field that no packer wrote).
    PackedDial,
    // Selcall digits 0-F packed two to a byte, the first in the high nibble of the first byte,
    // every unused nibble 0xF. The field holds `max` digits in its first (max + 1) / 2 bytes.
    // With `pieces` the number of digits is the number they hold, a count kept in the row's
    // later bytes (read clamped to `max`), and F is a digit; without, the first 0xF nibble ends
    // the digits. The value is a text of "0"-"9" and "A"-"F".
    SelcallDigits
};

// One place of a number spread over a record (Encoding::Pieces): bits [shift, shift + count) of a
// container of `bytes` bytes, high byte first, `offset` bytes after the row's place. The first
// piece holds the most significant bits. A 17-bit count kept as a big-endian word and one bit of
// a flag byte four bytes on is {{0, 2, 0, 16}, {4, 1, 5, 1}}.
struct BitPiece {
    std::uint8_t offset = 0;
    std::uint8_t bytes = 1;
    std::uint8_t shift = 0;
    std::uint8_t count = 1;
};

// FieldRow::blankRaw of a row whose every raw number is a value.
inline constexpr std::int64_t kNoBlank = std::numeric_limits<std::int64_t>::min();

// Numbers shown to the user may be scaled: value = raw * mul / div + add (e.g. a timer kept in
// seconds and shown in minutes has div 60). A value with `decimals` is shown with that many
// digits after the point (the value is a count of 10^-decimals units).
struct Scale {
    std::int32_t mul = 1;
    std::int32_t div = 1;
    std::int32_t add = 0;
    std::uint8_t decimals = 0;
    std::string_view unit = {};
};

// One entry of a list: the code stored and the text shown.
struct Choice {
    std::int64_t code;
    std::string_view text;
};

// The kind of control a form makes for a row it builds from the rows: a line edit (the default),
// a check box, a list or a group of radio buttons (one a choice).
enum class ControlKind : std::uint8_t { Edit, CheckBox, List, RadioButtons };

// User level masks of Setup (Basic 1, General 2, Network 4, Engineering 8).
inline constexpr std::uint8_t kAllLevels = 0x0F;

struct FieldRow {
    std::string_view id;        // stable, dotted: "header.radio_mode"
    std::string_view caption;   // as the form labels it
    std::string_view control;   // object name of the control that edits it; empty when none
    std::string_view tab = {};  // caption of the form's page that shows it, where it has pages
    Places at = {};
    Encoding encoding = Encoding::U8;
    std::uint16_t width = 1;  // bytes; used by Bits, Bcd, Text and Memo
    std::uint8_t bitShift = 0;
    std::uint8_t bitCount = 0;
    std::span<const BitPiece> pieces = {};  // Encoding::Pieces; SelcallDigits: its count
    std::int64_t min = 0;  // range of the value (numbers) or of the length (texts, max only)
    std::int64_t max = 0;  // min == max == 0: no range beyond what the encoding holds
    std::int64_t defaultValue = 0;
    std::string_view defaultText = {};
    // The raw number that stands for "no value" (0xFFFF for an unused entry, say): it reads as an
    // empty text, the form shows an empty field, and an emptied field writes it. A defaultValue
    // equal to blankRaw makes the blank the default.
    std::int64_t blankRaw = kNoBlank;
    std::span<const Choice> choices = {};
    Scale scale = {};
    std::uint8_t levels = kAllLevels;
    // Set on a row that deliberately shares bytes with another (an alias of a word whose halves
    // are rows too, say). Bit fields sharing a container need no mark.
    bool overlapDeclared = false;
    // A value the program writes on every store, not something the user edits (version word).
    bool derived = false;
    // Where radios or stored jobs keep one value in several forms (a code byte in its short
    // form, flag patterns a reading rule names after the pattern they resemble): the raw
    // number a stored raw number is read as. It returns every raw number it gives unchanged, so
    // that a value written reads back as written; an unchanged value keeps its stored form.
    std::int64_t (*readsAs)(std::int64_t raw) = nullptr;
    // The blank reads back as its number (the unused entry 0 of a list of channels shows "0");
    // an emptied field still writes it.
    bool blankShowsNumber = false;
    // SelcallDigits: the first bytes of the digits an emptied field fills with 0xFF, leaving the
    // other digit bytes as they are; 0 fills every digit byte.
    std::uint8_t emptiedDigitBytes = 0;
    ControlKind controlKind = ControlKind::Edit;
};

// Records of a table one after the other: row r's column c sits at
// base + r * stride + column offset, in every image that carries the table.
struct RecordTable {
    std::string_view id;  // "channels"; a column's full id is "<table>.<id>[r].<column>"
    Places base = {};
    std::uint32_t stride = 0;
    std::uint32_t capacity = 0;
    std::string_view countField = {};  // id of the row that holds the number of records in use
    std::span<const FieldRow> columns = {};
};

// Where the offsets of a table are counted from.
enum class Area : std::uint8_t {
    Image,        // the start of the image
    NetworkSlot,  // the start of the chosen network slot of a trunk job
    NetworkFile,  // the start of a network file: the .nwk, or the copy in a trunk job's slot
};

struct FieldTable {
    std::string_view id;    // the form's prefix of every row id: "header"
    std::string_view form;  // the form's caption: "Radio Type"
    Area area = Area::Image;
    std::span<const FieldRow> rows = {};
    std::span<const RecordTable> records = {};
};

// Where the text of a Label starts in its record.
inline constexpr std::size_t kLabelTextStart = 2;

constexpr bool IsTextEncoding(Encoding e) {
    return e == Encoding::Text || e == Encoding::Memo || e == Encoding::Label ||
           e == Encoding::PackedDial || e == Encoding::SelcallDigits;
}

// The characters a packed dial string holds.
constexpr std::size_t DialCapacity(const FieldRow& row) {
    return row.max > 0 ? static_cast<std::size_t>(row.max) : 2 * std::size_t{row.width} - 1;
}

// The bytes that hold the digits of a SelcallDigits row.
constexpr std::size_t SelcallDigitBytes(const FieldRow& row) {
    return (static_cast<std::size_t>(row.max) + 1) / 2;
}

// Bytes a row occupies.
constexpr std::size_t ByteWidth(const FieldRow& row) {
    switch (row.encoding) {
        case Encoding::U8:
            return 1;
        case Encoding::U16:
        case Encoding::U16BE:
            return 2;
        case Encoding::I16:
            return 2;
        case Encoding::I32:
            return 4;
        case Encoding::Bits:
        case Encoding::BitsHighFirst:
        case Encoding::Bcd:
        case Encoding::BcdLowFirst:
        case Encoding::Text:
        case Encoding::Memo:
        case Encoding::RasterFrequency:
        case Encoding::Label:
        case Encoding::Pieces:
        case Encoding::PackedDial:
        case Encoding::SelcallDigits:
            return row.width;
    }
    return row.width;
}

// Bits a Pieces row's value has in all.
constexpr std::size_t PieceBits(const FieldRow& row) {
    std::size_t bits = 0;
    for (const BitPiece& piece : row.pieces) {
        bits += piece.count;
    }
    return bits;
}

// The bits of its container a bit field takes (all bits for any other row).
constexpr bool IsBitsEncoding(Encoding e) {
    return e == Encoding::Bits || e == Encoding::BitsHighFirst;
}

constexpr std::uint64_t BitMask(const FieldRow& row) {
    if (!IsBitsEncoding(row.encoding)) {
        return ~std::uint64_t{0};
    }
    return ((std::uint64_t{1} << row.bitCount) - 1) << row.bitShift;
}

// The bits of byte `index` (counted from the row's place) that the pieces of a row take.
constexpr std::uint8_t PiecesByteMask(const FieldRow& row, std::size_t index) {
    std::uint8_t mask = 0;
    for (const BitPiece& piece : row.pieces) {
        if (index < piece.offset || index >= std::size_t{piece.offset} + piece.bytes) {
            continue;
        }
        const std::uint64_t bits = ((std::uint64_t{1} << piece.count) - 1) << piece.shift;
        const std::size_t fromEnd = std::size_t{piece.offset} + piece.bytes - 1 - index;
        mask |= static_cast<std::uint8_t>(bits >> (8 * fromEnd));
    }
    return mask;
}

// The bits of byte `index` (counted from the row's place) that the row writes.
constexpr std::uint8_t ByteMask(const FieldRow& row, std::size_t index) {
    switch (row.encoding) {
        case Encoding::Bits:
            return static_cast<std::uint8_t>(BitMask(row) >> (8 * index));
        case Encoding::BitsHighFirst:
            return static_cast<std::uint8_t>(BitMask(row) >> (8 * (row.width - 1 - index)));
        case Encoding::RasterFrequency:
            // The count's top bits fill the first two bytes; the last byte holds count bit 0 and
            // the step flags.
            if (index < 2) {
                return 0xFF;
            }
            return index + 1 == row.width
                       ? static_cast<std::uint8_t>((1u << 1 | 1u << 4 | 1u << 6) << row.bitShift)
                       : 0;
        case Encoding::Label:
            return index == 1 ? 0 : 0xFF;  // byte 1, the display row, is another row's
        case Encoding::Pieces:
            return PiecesByteMask(row, index);
        case Encoding::SelcallDigits:
            return index < SelcallDigitBytes(row) ? 0xFF : PiecesByteMask(row, index);
        default:
            return 0xFF;
    }
}

// ---- Compile-time checks of a table, for static_assert beside each table ----

namespace detail {

constexpr bool PiecesFit(const FieldRow& row) {
    if (row.pieces.empty() || PieceBits(row) > 62) {
        return false;
    }
    for (const BitPiece& piece : row.pieces) {
        if (piece.count == 0 || piece.bytes == 0 || piece.bytes > 4 ||
            piece.shift + piece.count > 8 * piece.bytes ||
            std::size_t{piece.offset} + piece.bytes > row.width) {
            return false;
        }
    }
    return true;
}

// The digits fill the row's first bytes; a count lies after them.
constexpr bool SelcallDigitsFit(const FieldRow& row) {
    if (row.min != 0 || row.max <= 0 || SelcallDigitBytes(row) > row.width) {
        return false;
    }
    if (row.pieces.empty()) {
        return true;
    }
    if (!PiecesFit(row)) {
        return false;
    }
    for (const BitPiece& piece : row.pieces) {
        if (piece.offset < SelcallDigitBytes(row)) {
            return false;
        }
    }
    return true;
}

constexpr bool RowFits(const FieldRow& row, ImageId image, std::size_t areaSize) {
    const std::int32_t at = row.at.Of(image);
    if (at == kAbsent) {
        return true;
    }
    if (at < 0 || ByteWidth(row) == 0) {
        return false;
    }
    if (IsBitsEncoding(row.encoding) &&
        (row.bitCount == 0 || row.width > 4 || row.bitShift + row.bitCount > 8 * row.width)) {
        return false;
    }
    if (row.encoding == Encoding::RasterFrequency && (row.width < 3 || row.bitShift > 1)) {
        return false;
    }
    if (row.encoding == Encoding::Label && row.width < kLabelTextStart) {
        return false;
    }
    if (row.encoding == Encoding::Pieces && !PiecesFit(row)) {
        return false;
    }
    if (row.encoding == Encoding::PackedDial &&
        (row.min != 0 || row.max < 0 || row.max > 2 * row.width)) {
        return false;
    }
    if (row.encoding == Encoding::SelcallDigits && !SelcallDigitsFit(row)) {
        return false;
    }
    return static_cast<std::size_t>(at) + ByteWidth(row) <= areaSize;
}

constexpr bool Overlap(const FieldRow& a, const FieldRow& b, ImageId image) {
    const std::int32_t pa = a.at.Of(image);
    const std::int32_t pb = b.at.Of(image);
    if (pa == kAbsent || pb == kAbsent || a.overlapDeclared || b.overlapDeclared) {
        return false;
    }
    const auto first = static_cast<std::size_t>(pa < pb ? pb : pa);
    const auto ea = static_cast<std::size_t>(pa) + ByteWidth(a);
    const auto eb = static_cast<std::size_t>(pb) + ByteWidth(b);
    // One container is read in one byte order.
    if (first < ea && first < eb && IsBitsEncoding(a.encoding) && IsBitsEncoding(b.encoding) &&
        a.encoding != b.encoding) {
        return true;
    }
    // Rows may share a byte when they write different bits of it (bit fields of one container,
    // pieces of a spread number, the flags beside a count).
    for (std::size_t at = first; at < ea && at < eb; ++at) {
        if ((ByteMask(a, at - static_cast<std::size_t>(pa)) &
             ByteMask(b, at - static_cast<std::size_t>(pb))) != 0) {
            return true;
        }
    }
    return false;
}

constexpr bool RowsValid(std::span<const FieldRow> rows, ImageId image, std::size_t areaSize) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!RowFits(rows[i], image, areaSize)) {
            return false;
        }
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            if (Overlap(rows[i], rows[j], image)) {
                return false;
            }
        }
    }
    return true;
}

constexpr bool ChoicesUnique(const FieldRow& row) {
    for (std::size_t i = 0; i < row.choices.size(); ++i) {
        for (std::size_t j = i + 1; j < row.choices.size(); ++j) {
            if (row.choices[i].code == row.choices[j].code) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace detail

// True when every row of `rows` lies inside an area of `areaSize` bytes in `image` and no two
// rows share bytes without declaring it, and every list's codes are unique. For
// static_assert(RowsValid(...)) beside a table.
constexpr bool RowsValid(std::span<const FieldRow> rows, ImageId image, std::size_t areaSize) {
    for (const FieldRow& row : rows) {
        if (!detail::ChoicesUnique(row)) {
            return false;
        }
    }
    return detail::RowsValid(rows, image, areaSize);
}

// A record table: its columns fit the stride and do not overlap, and all records fit the area.
constexpr bool RecordsValid(const RecordTable& table, ImageId image, std::size_t areaSize) {
    const std::int32_t base = table.base.Of(image);
    if (base == kAbsent) {
        return true;
    }
    if (base < 0 || table.stride == 0 ||
        static_cast<std::size_t>(base) + std::size_t{table.stride} * table.capacity > areaSize) {
        return false;
    }
    return RowsValid(table.columns, image, table.stride);
}

}  // namespace km::fields
