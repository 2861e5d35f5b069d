#include "pmr/CtcssDcs.h"

namespace km::pmr {

std::optional<int> RowOfCodeByte(std::uint8_t codeByte) {
    const std::int64_t standard = CodeByteReadAs(codeByte);
    for (int row = 0; row < kCtcssDcsRowCount; ++row) {
        if (CodeByteOfRow(row) == standard) {
            return row;
        }
    }
    return std::nullopt;
}

bool IsDcsCodeByte(std::uint8_t codeByte) {
    const auto row = RowOfCodeByte(codeByte);
    return row && *row >= kFirstDcsRow;
}

std::string_view ShortTextOfCodeByte(std::uint8_t codeByte) {
    const auto row = RowOfCodeByte(codeByte);
    return row ? kCtcssDcsRows[static_cast<std::size_t>(*row)].shortText : std::string_view("?");
}

std::optional<std::uint8_t> ToneCodeByte(int tenthsHz) {
    for (int row = 1; row < kFirstDcsRow; ++row) {
        if (kCtcssDcsRows[static_cast<std::size_t>(row)].toneDecihertz == tenthsHz) {
            return CodeByteOfRow(row);
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> DcsCodeByte(std::string_view digits) {
    for (int row = kFirstDcsRow; row < kCtcssDcsRowCount; ++row) {
        if (kCtcssDcsRows[static_cast<std::size_t>(row)].shortText == digits) {
            return CodeByteOfRow(row);
        }
    }
    return std::nullopt;
}

}  // namespace km::pmr
