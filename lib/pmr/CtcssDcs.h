#pragma once
// How a channel record stores a row of the CTCSS/DCS list (config/CtcssDcsTable.h): 0 for none,
// the row for a tone (1..51), 0x80 + row - 51 for a DCS code (0x81..0xE8). Stored jobs may
// hold other bytes for some rows; they are read as the rows they name and stored in the form above.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "config/CtcssDcsTable.h"
#include "fields/Field.h"

namespace km::pmr {

constexpr std::uint8_t CodeByteOfRow(int row) {
    return static_cast<std::uint8_t>(row < kFirstDcsRow ? row : 0x80 + row - (kFirstDcsRow - 1));
}

// A stored code byte as the byte of the row it names: a byte of 0x80 or more names row
// byte - 77, any other byte row byte & 0x7F, so the bytes 0x34..0x7F a stored job may hold are
// DCS codes and 0x80 is the last tone (254.1 Hz). A byte that names no row (0xE9..0xFF) reads as
// itself.
constexpr std::int64_t CodeByteReadAs(std::int64_t codeByte) {
    constexpr std::int64_t kHighRowOffset = 77;
    const std::int64_t row = codeByte >= 0x80 ? codeByte - kHighRowOffset : (codeByte & 0x7F);
    return row >= 0 && row < kCtcssDcsRowCount ? CodeByteOfRow(static_cast<int>(row)) : codeByte;
}

// The code bytes with the lists' texts, for the channel record's code columns.
constexpr std::array<fields::Choice, kCtcssDcsRowCount> CtcssDcsChoices() {
    std::array<fields::Choice, kCtcssDcsRowCount> choices{};
    for (int row = 0; row < kCtcssDcsRowCount; ++row) {
        choices[static_cast<std::size_t>(row)] = {
            CodeByteOfRow(row), kCtcssDcsRows[static_cast<std::size_t>(row)].text};
    }
    return choices;
}
inline constexpr auto kCtcssDcsChoices = CtcssDcsChoices();

// The row of a stored code byte (as CodeByteReadAs reads it), or nullopt for a byte that names
// no row.
std::optional<int> RowOfCodeByte(std::uint8_t codeByte);

// True when the byte is a DCS code (as the CSV export's "CTCSS DCS" column tells them apart).
bool IsDcsCodeByte(std::uint8_t codeByte);

// The short form of a code byte for the channel list and the CSV export; a byte that names no
// row shows as "?".
std::string_view ShortTextOfCodeByte(std::uint8_t codeByte);

// The code byte of a tone given in 0.1 Hz, or nullopt when no row has that tone.
std::optional<std::uint8_t> ToneCodeByte(int tenthsHz);

// The code byte of a DCS code given as its three octal digits ("023"), or nullopt.
std::optional<std::uint8_t> DcsCodeByte(std::string_view digits);

}  // namespace km::pmr
