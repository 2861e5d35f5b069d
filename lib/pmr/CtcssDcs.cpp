#include "pmr/CtcssDcs.h"

#include <algorithm>

namespace km::pmr {

std::optional<int> RowOfCodeByte(std::uint8_t codeByte) {
    const auto* found =
        std::find_if(kCtcssDcsTable.begin(), kCtcssDcsTable.end(),
                     [&](const CtcssDcsRow& row) { return row.codeByte == codeByte; });
    if (found == kCtcssDcsTable.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kCtcssDcsTable.begin());
}

bool IsDcsCodeByte(std::uint8_t codeByte) {
    const auto row = RowOfCodeByte(codeByte);
    return row && IsDcsRow(*row);
}

std::string_view ShortTextOfCodeByte(std::uint8_t codeByte) {
    const auto row = RowOfCodeByte(codeByte);
    return row ? kCtcssDcsTable[static_cast<std::size_t>(*row)].shortText : std::string_view("?");
}

std::optional<std::uint8_t> ToneCodeByte(int tenthsHz) {
    for (int row = kFirstToneRow; row <= kLastToneRow; ++row) {
        if (kCtcssDcsTable[static_cast<std::size_t>(row)].tenthsHz == tenthsHz) {
            return kCtcssDcsTable[static_cast<std::size_t>(row)].codeByte;
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> DcsCodeByte(std::string_view digits) {
    for (int row = kFirstDcsRow; row < kCtcssDcsRows; ++row) {
        if (kCtcssDcsTable[static_cast<std::size_t>(row)].shortText == digits) {
            return kCtcssDcsTable[static_cast<std::size_t>(row)].codeByte;
        }
    }
    return std::nullopt;
}

}  // namespace km::pmr
