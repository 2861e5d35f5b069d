#include "fields/FieldOps.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>

#include "core/Cp1252.h"
#include "core/Strings.h"

namespace km::fields {
namespace {

void CheckFits(const FieldRow& row, std::size_t size, std::size_t offset) {
    const std::size_t width = ByteWidth(row);
    if (offset > size || width > size - offset) {
        throw std::out_of_range("field outside its image");
    }
}

// A little-endian unsigned number of `width` bytes.
std::uint64_t ReadLittle(std::span<const std::uint8_t> bytes, std::size_t offset,
                         std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | bytes[offset + i];
    }
    return value;
}

void WriteLittle(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
                 std::uint64_t value) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The container of a bit field as a number, in the byte order of its encoding.
std::uint64_t ReadContainer(const FieldRow& row, std::span<const std::uint8_t> bytes,
                            std::size_t offset) {
    if (row.encoding == Encoding::Bits) {
        return ReadLittle(bytes, offset, row.width);
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < row.width; ++i) {
        value = value << 8 | bytes[offset + i];
    }
    return value;
}

void WriteContainer(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                    std::uint64_t value) {
    if (row.encoding == Encoding::Bits) {
        WriteLittle(bytes, offset, row.width, value);
        return;
    }
    for (std::size_t i = row.width; i-- > 0;) {
        bytes[offset + i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

// Where the k-th most significant byte of a BCD number lies.
std::size_t BcdByte(Encoding encoding, std::size_t width, std::size_t k) {
    return encoding == Encoding::BcdLowFirst ? width - 1 - k : k;
}

std::int64_t ReadBcd(Encoding encoding, std::span<const std::uint8_t> bytes, std::size_t offset,
                     std::size_t width) {
    std::int64_t value = 0;
    for (std::size_t k = 0; k < width; ++k) {
        const std::uint8_t byte = bytes[offset + BcdByte(encoding, width, k)];
        value = value * 100 + (byte >> 4) * 10 + (byte & 0x0F);
    }
    return value;
}

void WriteBcd(Encoding encoding, std::span<std::uint8_t> bytes, std::size_t offset,
              std::size_t width, std::int64_t value) {
    auto rest = static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0));
    for (std::size_t k = width; k-- > 0;) {
        const auto low = static_cast<std::uint8_t>(rest % 10);
        rest /= 10;
        const auto high = static_cast<std::uint8_t>(rest % 10);
        rest /= 10;
        bytes[offset + BcdByte(encoding, width, k)] = static_cast<std::uint8_t>(high << 4 | low);
    }
}

// The flag byte of a raster frequency and its bits.
std::size_t RasterFlagByte(const FieldRow& row, std::size_t offset) {
    return offset + row.width - 1;
}
unsigned RasterBit(const FieldRow& row, unsigned bit) {
    return 1u << (row.bitShift + bit);
}
constexpr unsigned kCountBit0 = 4;
constexpr unsigned kStep7500Flag = 1;
constexpr unsigned kStep6250Flag = 6;

std::int64_t ReadRasterFrequency(const FieldRow& row, std::span<const std::uint8_t> bytes,
                                 std::size_t offset) {
    const unsigned flags = bytes[RasterFlagByte(row, offset)];
    const std::int64_t count = bytes[offset] << 9 | bytes[offset + 1] << 1 |
                               ((flags & RasterBit(row, kCountBit0)) != 0 ? 1 : 0);
    std::int64_t step = kRasterStep5000;
    if ((flags & RasterBit(row, kStep6250Flag)) != 0) {
        step = kRasterStep6250;
    } else if ((flags & RasterBit(row, kStep7500Flag)) != 0) {
        step = kRasterStep7500;
    }
    return count * step;
}

// A frequency no step divides is written with the 5 kHz step and the nearest count.
void WriteRasterFrequency(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                          std::int64_t tenHz) {
    RasterCount stored{kRasterStep5000, (tenHz + kRasterStep5000 / 2) / kRasterStep5000};
    if (const auto exact = RasterCountOf(tenHz)) {
        stored = *exact;
    }
    const auto count =
        static_cast<unsigned>(std::clamp<std::int64_t>(stored.count, 0, kMaxRasterCount));
    bytes[offset] = static_cast<std::uint8_t>(count >> 9);
    bytes[offset + 1] = static_cast<std::uint8_t>(count >> 1);
    unsigned flags = bytes[RasterFlagByte(row, offset)];
    flags &= ~(RasterBit(row, kCountBit0) | RasterBit(row, kStep7500Flag) |
               RasterBit(row, kStep6250Flag));
    if ((count & 1) != 0) {
        flags |= RasterBit(row, kCountBit0);
    }
    if (stored.step == kRasterStep6250) {
        flags |= RasterBit(row, kStep6250Flag);
    } else if (stored.step == kRasterStep7500) {
        flags |= RasterBit(row, kStep7500Flag);
    }
    bytes[RasterFlagByte(row, offset)] = static_cast<std::uint8_t>(flags);
}

// A big-endian container of a piece.
std::uint64_t ReadPieceContainer(std::span<const std::uint8_t> bytes, std::size_t at,
                                 const BitPiece& piece) {
    std::uint64_t container = 0;
    for (std::size_t i = 0; i < piece.bytes; ++i) {
        container = container << 8 | bytes[at + i];
    }
    return container;
}

std::uint64_t PieceMask(const BitPiece& piece) {
    return ((std::uint64_t{1} << piece.count) - 1) << piece.shift;
}

std::int64_t ReadPieces(const FieldRow& row, std::span<const std::uint8_t> bytes,
                        std::size_t offset) {
    std::uint64_t value = 0;
    for (const BitPiece& piece : row.pieces) {
        const std::uint64_t container = ReadPieceContainer(bytes, offset + piece.offset, piece);
        value = value << piece.count | (container & PieceMask(piece)) >> piece.shift;
    }
    return static_cast<std::int64_t>(value);
}

void WritePieces(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                 std::uint64_t value) {
    // The last piece holds the least significant bits.
    for (auto piece = row.pieces.rbegin(); piece != row.pieces.rend(); ++piece) {
        const std::size_t at = offset + piece->offset;
        const std::uint64_t container = ReadPieceContainer(bytes, at, *piece);
        const std::uint64_t bits = (value & ((std::uint64_t{1} << piece->count) - 1))
                                   << piece->shift;
        std::uint64_t updated = (container & ~PieceMask(*piece)) | bits;
        for (std::size_t i = piece->bytes; i-- > 0;) {
            bytes[at + i] = static_cast<std::uint8_t>(updated);
            updated >>= 8;
        }
        value >>= piece->count;
    }
}

std::int64_t ReadRaw(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset) {
    switch (row.encoding) {
        case Encoding::U8:
            return bytes[offset];
        case Encoding::U16:
            return static_cast<std::int64_t>(ReadLittle(bytes, offset, 2));
        case Encoding::U16BE:
            return bytes[offset] << 8 | bytes[offset + 1];
        case Encoding::I16:
            return static_cast<std::int16_t>(ReadLittle(bytes, offset, 2));
        case Encoding::I32:
            return static_cast<std::int32_t>(ReadLittle(bytes, offset, 4));
        case Encoding::Bits:
        case Encoding::BitsHighFirst:
            return static_cast<std::int64_t>((ReadContainer(row, bytes, offset) & BitMask(row)) >>
                                             row.bitShift);
        case Encoding::Bcd:
        case Encoding::BcdLowFirst:
            return ReadBcd(row.encoding, bytes, offset, row.width);
        case Encoding::RasterFrequency:
            return ReadRasterFrequency(row, bytes, offset);
        case Encoding::Pieces:
            return ReadPieces(row, bytes, offset);
        case Encoding::Text:
        case Encoding::Memo:
        case Encoding::Label:
        case Encoding::PackedDial:
        case Encoding::SelcallDigits:
            break;
    }
    throw std::logic_error("not a numeric field");
}

// The largest raw number the encoding holds, and the smallest.
std::pair<std::int64_t, std::int64_t> RawLimits(const FieldRow& row) {
    switch (row.encoding) {
        case Encoding::U8:
            return {0, 0xFF};
        case Encoding::U16:
        case Encoding::U16BE:
            return {0, 0xFFFF};
        case Encoding::I16:
            return {std::numeric_limits<std::int16_t>::min(),
                    std::numeric_limits<std::int16_t>::max()};
        case Encoding::I32:
            return {std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max()};
        case Encoding::Bits:
        case Encoding::BitsHighFirst:
            return {0, static_cast<std::int64_t>((std::uint64_t{1} << row.bitCount) - 1)};
        case Encoding::Bcd:
        case Encoding::BcdLowFirst: {
            std::int64_t top = 1;
            for (std::size_t i = 0; i < 2u * row.width && top < (std::int64_t{1} << 58); ++i) {
                top *= 10;
            }
            return {0, top - 1};
        }
        case Encoding::RasterFrequency:
            return {0, kMaxRasterCount * kRasterStep7500};
        case Encoding::Pieces:
            return {0, static_cast<std::int64_t>((std::uint64_t{1} << PieceBits(row)) - 1)};
        case Encoding::Text:
        case Encoding::Memo:
        case Encoding::Label:
        case Encoding::PackedDial:
        case Encoding::SelcallDigits:
            break;
    }
    return {0, 0};
}

void WriteRaw(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
              std::int64_t raw) {
    const auto [low, high] = RawLimits(row);
    raw = std::clamp(raw, low, high);
    switch (row.encoding) {
        case Encoding::U8:
            bytes[offset] = static_cast<std::uint8_t>(raw);
            return;
        case Encoding::U16:
            WriteLittle(bytes, offset, 2, static_cast<std::uint64_t>(raw));
            return;
        case Encoding::U16BE:
            bytes[offset] = static_cast<std::uint8_t>(raw >> 8);
            bytes[offset + 1] = static_cast<std::uint8_t>(raw);
            return;
        case Encoding::I16:
            WriteLittle(bytes, offset, 2, static_cast<std::uint16_t>(raw));
            return;
        case Encoding::I32:
            WriteLittle(bytes, offset, 4, static_cast<std::uint32_t>(raw));
            return;
        case Encoding::Bits:
        case Encoding::BitsHighFirst: {
            const std::uint64_t container = ReadContainer(row, bytes, offset);
            const std::uint64_t bits = static_cast<std::uint64_t>(raw) << row.bitShift;
            WriteContainer(row, bytes, offset, (container & ~BitMask(row)) | bits);
            return;
        }
        case Encoding::Bcd:
        case Encoding::BcdLowFirst:
            WriteBcd(row.encoding, bytes, offset, row.width, raw);
            return;
        case Encoding::RasterFrequency:
            WriteRasterFrequency(row, bytes, offset, raw);
            return;
        case Encoding::Pieces:
            WritePieces(row, bytes, offset, static_cast<std::uint64_t>(raw));
            return;
        case Encoding::Text:
        case Encoding::Memo:
        case Encoding::Label:
        case Encoding::PackedDial:
        case Encoding::SelcallDigits:
            break;
    }
    throw std::logic_error("not a numeric field");
}

// Where a text's characters start in its field.
std::size_t TextStart(const FieldRow& row) {
    return row.encoding == Encoding::Label ? kLabelTextStart : 0;
}

std::string ReadText(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::string raw;
    for (std::size_t i = TextStart(row); i < row.width && bytes[offset + i] != 0; ++i) {
        raw.push_back(static_cast<char>(bytes[offset + i]));
    }
    if (row.encoding == Encoding::Memo) {
        std::string lines;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\r') {
                lines.push_back('\n');
                if (i + 1 < raw.size() && raw[i + 1] == '\n') {
                    ++i;
                }
            } else {
                lines.push_back(raw[i]);
            }
        }
        raw = std::move(lines);
    }
    return Cp1252ToUtf8(raw);
}

// Longest text stored: a memo keeps room for its terminating NUL, a label for its two bytes of
// place.
std::size_t StoredLimit(const FieldRow& row) {
    switch (row.encoding) {
        case Encoding::Memo:
            return std::size_t{row.width} - 1;
        case Encoding::Label:
            return std::size_t{row.width} - kLabelTextStart;
        default:
            return row.width;
    }
}

// The bytes a text is stored as: Windows-1252, a memo's line breaks as CR LF, cut at the stored
// limit but never inside a line break.
std::string TextBytes(const FieldRow& row, std::string_view utf8) {
    const std::string raw = Utf8ToCp1252(utf8);
    const std::size_t limit = StoredLimit(row);
    std::string out;
    for (char c : raw) {
        if (c == '\0') {
            break;
        }
        if (row.encoding == Encoding::Memo && c == '\r') {
            continue;  // a line break is stored as CR LF whatever the text held
        }
        const bool lineBreak = row.encoding == Encoding::Memo && c == '\n';
        if (out.size() + (lineBreak ? 2 : 1) > limit) {
            break;
        }
        out += lineBreak ? std::string_view("\r\n") : std::string_view(&c, 1);
    }
    return out;
}

// Byte 0 of a label of `characters` characters.
std::uint8_t LabelPlace(std::size_t characters) {
    return static_cast<std::uint8_t>(
        std::max<std::int64_t>(0, 101 - 7 * static_cast<std::int64_t>(characters)));
}

void WriteText(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
               std::string_view utf8) {
    const std::string stored = TextBytes(row, utf8);
    const std::size_t start = TextStart(row);
    for (std::size_t i = 0; i + start < row.width; ++i) {
        bytes[offset + start + i] = i < stored.size() ? static_cast<std::uint8_t>(stored[i]) : 0;
    }
    if (row.encoding == Encoding::Label) {
        bytes[offset] = LabelPlace(stored.size());
    }
}

// The character of each 4-bit dial code; code 10 has none and shows as "?", code 15 ends a
// string.
constexpr std::string_view kDialCharacters = "0123456789?*#-E";
constexpr std::uint8_t kDialEnd = 15;

std::optional<std::uint8_t> DialCode(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    switch (c) {
        case '*':
            return 11;
        case '#':
            return 12;
        case '-':
            return 13;
        case 'E':
        case 'e':
            return 14;
        default:
            return std::nullopt;
    }
}

std::uint8_t DialNibble(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t i) {
    const std::uint8_t byte = bytes[offset + i / 2];
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

std::string ReadDial(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (row.blankRaw != kNoBlank &&
        std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                    bytes.begin() + static_cast<std::ptrdiff_t>(offset + row.width),
                    [&](std::uint8_t b) { return b == row.blankRaw; })) {
        return {};
    }
    std::string text;
    for (std::size_t i = 0; i < DialCapacity(row); ++i) {
        const std::uint8_t code = DialNibble(bytes, offset, i);
        if (code == kDialEnd) {
            break;
        }
        text.push_back(kDialCharacters[code]);
    }
    return text;
}

// Packs the dial characters of `text` up to the field's capacity; any other character is
// dropped, so text that never passed a key filter (a pasted or imported one) cannot bring codes
// the radio does not know.
void WriteDial(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
               std::string_view text) {
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), row.width, 0xFF);
    std::size_t i = 0;
    for (char c : text) {
        const auto code = DialCode(c);
        if (!code || i == DialCapacity(row)) {
            continue;
        }
        std::uint8_t& byte = bytes[offset + i / 2];
        byte = i % 2 == 0 ? static_cast<std::uint8_t>(*code << 4 | (byte & 0x0F))
                          : static_cast<std::uint8_t>((byte & 0xF0) | *code);
        ++i;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Selcall digits: a nibble's hexadecimal character and back ("a".."f" read as "A".."F").
constexpr std::string_view kHexCharacters = "0123456789ABCDEF";
constexpr std::uint8_t kSelcallFill = 0xF;

std::optional<std::uint8_t> SelcallCode(char c) {
    const int digit = HexDigit(c);
    return digit < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(digit));
}

bool Counted(const FieldRow& row) {
    return !row.pieces.empty();
}

// The digits a field can hold: without a count the fill nibble F is no digit.
bool IsSelcallCharacter(const FieldRow& row, char c) {
    const auto code = SelcallCode(c);
    return code && (Counted(row) || *code != kSelcallFill);
}

std::string ReadSelcall(const FieldRow& row, std::span<const std::uint8_t> bytes,
                        std::size_t offset) {
    const auto capacity = static_cast<std::size_t>(row.max);
    // A stored count beyond the field's digits is read as the digits the field has.
    const std::size_t count = Counted(row) ? static_cast<std::size_t>(std::min<std::int64_t>(
                                                 ReadPieces(row, bytes, offset), row.max))
                                           : capacity;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t code = DialNibble(bytes, offset, i);
        if (!Counted(row) && code == kSelcallFill) {
            break;
        }
        text.push_back(kHexCharacters[code]);
    }
    return text;
}

// Packs the digits of `text` up to the field's capacity; any other character is dropped, so
// text that never passed a key filter (an imported one) cannot reach the radio.
void WriteSelcall(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                  std::string_view text) {
    const bool emptied =
        std::none_of(text.begin(), text.end(), [&](char c) { return IsSelcallCharacter(row, c); });
    const std::size_t filled =
        emptied && row.emptiedDigitBytes > 0
            ? std::min<std::size_t>(row.emptiedDigitBytes, SelcallDigitBytes(row))
            : SelcallDigitBytes(row);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), filled, 0xFF);
    std::size_t i = 0;
    for (char c : text) {
        if (!IsSelcallCharacter(row, c) || i == static_cast<std::size_t>(row.max)) {
            continue;
        }
        const std::uint8_t code = *SelcallCode(c);
        std::uint8_t& byte = bytes[offset + i / 2];
        byte = i % 2 == 0 ? static_cast<std::uint8_t>(code << 4 | (byte & 0x0F))
                          : static_cast<std::uint8_t>((byte & 0xF0) | code);
        ++i;
    }
    if (Counted(row)) {
        WritePieces(row, bytes, offset, i);
    }
}

std::int64_t Pow10(int n) {
    std::int64_t p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

std::string FormatNumber(const FieldRow& row, std::int64_t value) {
    const int decimals = row.scale.decimals;
    if (decimals == 0) {
        return std::to_string(value);
    }
    const std::int64_t unit = Pow10(decimals);
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(unit));
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return (value < 0 ? "-" : "") + std::to_string(magnitude / static_cast<std::uint64_t>(unit)) +
           "." + fraction;
}

// A decimal number with at most `decimals` digits after the point, without locale.
std::optional<std::int64_t> ParseNumber(std::string_view text, int decimals) {
    text = Trim(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    std::string_view whole = text;
    std::string_view fraction;
    if (const auto point = text.find('.'); point != std::string_view::npos) {
        whole = text.substr(0, point);
        fraction = text.substr(point + 1);
        if (fraction.size() > static_cast<std::size_t>(decimals) ||
            (!fraction.empty() && !AllDigits(fraction))) {
            return std::nullopt;
        }
    }
    if (!AllDigits(whole) || whole.size() > 15) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    std::from_chars(whole.data(), whole.data() + whole.size(), value);
    std::string digits(fraction);
    digits.append(static_cast<std::size_t>(decimals) - digits.size(), '0');
    std::int64_t part = 0;
    if (!digits.empty()) {
        std::from_chars(digits.data(), digits.data() + digits.size(), part);
    }
    value = value * Pow10(decimals) + part;
    return negative ? -value : value;
}

bool IsControl(unsigned char c, bool lineBreaksAllowed) {
    return (c < 0x20 && !(lineBreaksAllowed && c == '\n')) || c == 0x7F;
}

std::string EscapeControls(std::string_view text, bool lineBreaksAllowed) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsControl(c, lineBreaksAllowed)) {
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

// Undoes EscapeControls: only "\xNN" that names a control byte is an escape, so a typed "\x41"
// stays as it was typed.
std::string UnescapeControls(std::string_view text, bool lineBreaksAllowed) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() + 0 && text[i + 1] == 'x') {
            const int high = HexDigit(text[i + 2]);
            const int low = HexDigit(text[i + 3]);
            if (high >= 0 && low >= 0 &&
                IsControl(static_cast<unsigned char>(high << 4 | low), lineBreaksAllowed)) {
                out.push_back(static_cast<char>(high << 4 | low));
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string ReplaceRangeEnds(std::string_view pattern, const std::string& low,
                             const std::string& high) {
    std::string out(pattern);
    for (const std::string* end : {&low, &high}) {
        if (const auto at = out.find("%d"); at != std::string::npos) {
            out.replace(at, 2, *end);
        }
    }
    return out;
}

bool HasBlank(const FieldRow& row) {
    return row.blankRaw != kNoBlank && !IsTextEncoding(row.encoding);
}

// The value of an emptied field of a row with a blank.
bool IsBlankValue(const FieldRow& row, const FieldValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    return HasBlank(row) && text != nullptr && text->empty();
}

std::optional<std::string> CheckDial(const FieldRow& row, const FieldValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    const std::string_view chars = text ? std::string_view(*text) : std::string_view();
    if (!std::all_of(chars.begin(), chars.end(), [](char c) { return DialCode(c).has_value(); })) {
        return std::string(kNotDialMessage);
    }
    if (chars.size() > DialCapacity(row)) {
        return ReplaceRangeEnds(kTooLongMessage, std::to_string(DialCapacity(row)), "");
    }
    return std::nullopt;
}

std::optional<std::string> CheckSelcall(const FieldRow& row, const FieldValue& value) {
    const auto* text = std::get_if<std::string>(&value);
    const std::string_view chars = text ? std::string_view(*text) : std::string_view();
    if (!std::all_of(chars.begin(), chars.end(),
                     [&](char c) { return IsSelcallCharacter(row, c); })) {
        return std::string(Counted(row) ? kNotSelcallMessage : kNotSelcallStatusMessage);
    }
    if (chars.size() > static_cast<std::size_t>(row.max)) {
        return ReplaceRangeEnds(kTooLongMessage, std::to_string(row.max), "");
    }
    return std::nullopt;
}

}  // namespace

std::optional<RasterCount> RasterCountOf(std::int64_t tenHz) {
    for (std::int64_t step : {kRasterStep6250, kRasterStep5000, kRasterStep7500}) {
        if (tenHz >= 0 && tenHz % step == 0 && tenHz / step <= kMaxRasterCount) {
            return RasterCount{step, tenHz / step};
        }
    }
    return std::nullopt;
}

std::int64_t ValueOfRaw(const FieldRow& row, std::int64_t raw) {
    return raw * row.scale.mul / row.scale.div + row.scale.add;
}

std::int64_t RawOfValue(const FieldRow& row, std::int64_t value) {
    return (value - row.scale.add) * row.scale.div / row.scale.mul;
}

FieldValue ReadField(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset) {
    CheckFits(row, bytes.size(), offset);
    if (row.encoding == Encoding::PackedDial) {
        return ReadDial(row, bytes, offset);
    }
    if (row.encoding == Encoding::SelcallDigits) {
        return ReadSelcall(row, bytes, offset);
    }
    if (IsTextEncoding(row.encoding)) {
        return ReadText(row, bytes, offset);
    }
    std::int64_t raw = ReadRaw(row, bytes, offset);
    if (row.readsAs != nullptr) {
        raw = row.readsAs(raw);
    }
    if (HasBlank(row) && raw == row.blankRaw && !row.blankShowsNumber) {
        return std::string();
    }
    return ValueOfRaw(row, raw);
}

void WriteField(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                const FieldValue& value) {
    CheckFits(row, bytes.size(), offset);
    if (ReadField(row, bytes, offset) != value) {
        RewriteField(row, bytes, offset, value);
    }
}

void RewriteField(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t offset,
                  const FieldValue& value) {
    CheckFits(row, bytes.size(), offset);
    if (IsTextEncoding(row.encoding)) {
        const auto* text = std::get_if<std::string>(&value);
        const std::string_view chars = text ? std::string_view(*text) : std::string_view();
        if (row.encoding == Encoding::PackedDial) {
            WriteDial(row, bytes, offset, chars);
        } else if (row.encoding == Encoding::SelcallDigits) {
            WriteSelcall(row, bytes, offset, chars);
        } else {
            WriteText(row, bytes, offset, chars);
        }
    } else if (IsBlankValue(row, value)) {
        WriteRaw(row, bytes, offset, row.blankRaw);
    } else {
        const auto* number = std::get_if<std::int64_t>(&value);
        WriteRaw(row, bytes, offset, RawOfValue(row, number ? *number : 0));
    }
}

FieldValue DefaultValue(const FieldRow& row) {
    if (IsTextEncoding(row.encoding)) {
        return std::string(row.defaultText);
    }
    if (HasBlank(row) && row.defaultValue == row.blankRaw && !row.blankShowsNumber) {
        return std::string();
    }
    return row.defaultValue;
}

std::optional<std::string> CheckField(const FieldRow& row, const FieldValue& value) {
    if (row.encoding == Encoding::PackedDial) {
        return CheckDial(row, value);
    }
    if (row.encoding == Encoding::SelcallDigits) {
        return CheckSelcall(row, value);
    }
    if (IsTextEncoding(row.encoding)) {
        const auto* text = std::get_if<std::string>(&value);
        const std::size_t limit =
            row.max > 0 ? static_cast<std::size_t>(row.max) : StoredLimit(row);
        std::size_t length = 0;
        for (char c : Utf8ToCp1252(text ? *text : std::string())) {
            length += row.encoding == Encoding::Memo && c == '\n' ? 2 : (c == '\r' ? 0 : 1);
        }
        if (length > limit) {
            return ReplaceRangeEnds(kTooLongMessage, std::to_string(limit), "");
        }
        return std::nullopt;
    }
    if (IsBlankValue(row, value)) {
        return std::nullopt;
    }
    const auto* number = std::get_if<std::int64_t>(&value);
    if (number == nullptr) {
        return std::string(kNotInListMessage);
    }
    if (!row.choices.empty()) {
        const bool listed = std::any_of(row.choices.begin(), row.choices.end(),
                                        [&](const Choice& c) { return c.code == *number; });
        return listed ? std::nullopt : std::optional<std::string>(kNotInListMessage);
    }
    std::int64_t low = row.min;
    std::int64_t high = row.max;
    if (low == 0 && high == 0) {
        const auto [rawLow, rawHigh] = RawLimits(row);
        low = std::min(ValueOfRaw(row, rawLow), ValueOfRaw(row, rawHigh));
        high = std::max(ValueOfRaw(row, rawLow), ValueOfRaw(row, rawHigh));
    }
    if (*number < low || *number > high) {
        return ReplaceRangeEnds(kRangeMessage, FormatNumber(row, low), FormatNumber(row, high));
    }
    if (row.encoding == Encoding::RasterFrequency && !RasterCountOf(RawOfValue(row, *number))) {
        return std::string(kNotOnRasterMessage);
    }
    return std::nullopt;
}

std::string FormatField(const FieldRow& row, const FieldValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return EscapeControls(*text, row.encoding == Encoding::Memo);
    }
    const std::int64_t number = std::get<std::int64_t>(value);
    if (!row.choices.empty()) {
        for (const Choice& choice : row.choices) {
            if (choice.code == number) {
                return std::string(choice.text);
            }
        }
        return "? " + std::to_string(number);
    }
    return FormatNumber(row, number);
}

std::optional<FieldValue> ParseField(const FieldRow& row, std::string_view text) {
    if (row.encoding == Encoding::SelcallDigits) {
        std::string digits(text);
        std::transform(digits.begin(), digits.end(), digits.begin(),
                       [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
        return digits;
    }
    if (IsTextEncoding(row.encoding)) {
        return UnescapeControls(text, row.encoding == Encoding::Memo);
    }
    if (HasBlank(row) && Trim(text).empty()) {
        return std::string();
    }
    if (!row.choices.empty()) {
        for (const Choice& choice : row.choices) {
            if (choice.text == text) {
                return choice.code;
            }
        }
        if (text.starts_with("? ")) {
            if (const auto code = ParseNumber(text.substr(2), 0)) {
                return *code;
            }
        }
        return std::nullopt;
    }
    if (const auto number = ParseNumber(text, row.scale.decimals)) {
        return *number;
    }
    return std::nullopt;
}

void FillDefaults(std::span<const FieldRow> rows, ImageId image, std::span<std::uint8_t> bytes,
                  std::size_t areaOffset) {
    for (const FieldRow& row : rows) {
        const std::int32_t at = row.at.Of(image);
        if (at != kAbsent && !row.derived) {
            WriteField(row, bytes, areaOffset + static_cast<std::size_t>(at), DefaultValue(row));
        }
    }
}

}  // namespace km::fields
