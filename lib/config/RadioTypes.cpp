#include "config/RadioTypes.h"

namespace km {
namespace {

// Rows for codes 0..11 in the three numberings the list has had.
constexpr std::array<int, 12> kRowsUpTo5062 = {0, 1, 2, 5, 6, 7, 8, 9, 6, 6, 6, 6};
constexpr std::array<int, 12> kRowsUpTo5070 = {0, 1, 2, 4, 5, 6, 7, 8, 9, 6, 6, 6};
constexpr std::array<int, 12> kRowsCurrent = {0, 1, 2, 5, 6, 8, 9, 10, 4, 11, 12, 13};
constexpr int kRowOfUnknownCode = kRowHmF;

const std::array<int, 12>& RowsForVersion(std::uint16_t versionWord) {
    if (versionWord <= 5062) {
        return kRowsUpTo5062;
    }
    if (versionWord <= 5070 || versionWord == 5080) {
        return kRowsUpTo5070;
    }
    return kRowsCurrent;
}

}  // namespace

bool IsKnownRadioTypeMask(int mask) {
    return IsKnownHead(HeadOfMask(mask));
}

int RadioTypeRowOfCode(std::uint8_t code, std::uint8_t headVariant, std::uint16_t versionWord) {
    const auto& rows = RowsForVersion(versionWord);
    if (code >= rows.size()) {
        return kRowOfUnknownCode;
    }
    int row = rows[code];
    if (&rows == &kRowsCurrent) {
        if (code == 2 && headVariant == 1) {
            row = 3;
        } else if (code == 4 && headVariant == 3) {
            row = kRowHmFPlus;
        }
    }
    return row;
}

RadioTypeCode RadioTypeCodeOfRow(int row) {
    if (row < 0 || row >= kRadioTypeRowCount) {
        return {kUnknownRowCode, 0};
    }
    const auto& entry = kRadioTypeRows[static_cast<std::size_t>(row)];
    return {entry.code, entry.headVariant};
}

int RadioModeMaskOfRow(int row) {
    switch (row) {
        case 0:
            return kModePmr;
        case 1:
            return kModeTrunk;
        case 2:
            return kModeMulti;
        default:
            return kModeUnknown;
    }
}

}  // namespace km
