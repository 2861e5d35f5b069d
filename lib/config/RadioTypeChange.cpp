#include "config/RadioTypeChange.h"

#include <algorithm>
#include <array>

#include "config/RadioTypes.h"
#include "config/TxtMap.h"
#include "config/UiLevels.h"
#include "config/UiMap.h"

namespace km {
namespace {

// Transmit power levels of the channel options: indexes into the power list of the head.
constexpr std::size_t kHighPowerWord = 0x1D2E;
constexpr std::size_t kMediumPowerByte = 0x1D0E;  // bits 4-7
constexpr std::size_t kLowPowerWord = 0x1D30;
constexpr int kPortableTopPowerIndex = 5;
constexpr int kMobileTopLowPowerIndex = 4;

bool ValidRow(int row) {
    return row >= 0 && row < kRadioTypeRowCount;
}

void LimitWord(PmrJobImage& image, std::size_t offset, int top) {
    if (image.U16(offset) > top) {
        image.SetU16(offset, static_cast<std::uint16_t>(top));
    }
}

void LimitPowerLevels(PmrJobImage& image, bool portable) {
    if (!portable) {
        LimitWord(image, kLowPowerWord, kMobileTopLowPowerIndex);
        return;
    }
    LimitWord(image, kHighPowerWord, kPortableTopPowerIndex);
    LimitWord(image, kLowPowerWord, kPortableTopPowerIndex);
    const std::uint8_t medium = image.U8(kMediumPowerByte);
    if ((medium >> 4) > kPortableTopPowerIndex) {
        image.SetU8(kMediumPowerByte,
                    static_cast<std::uint8_t>((medium & 0x0F) | kPortableTopPowerIndex << 4));
    }
}

}  // namespace

void ApplyRadioTypeChange(TrunkJobImage& image, int previousRow, int newRow) {
    if (!ValidRow(previousRow) || !ValidRow(newRow)) {
        return;
    }
    const RadioTypeRow& head = kRadioTypeRows[static_cast<std::size_t>(newRow)];
    RefillTextsForHead(fields::ImageId::Trunk, image.Bytes(), head.RadioTypeMask);
    if (!IsPortableRow(previousRow) && IsPortableRow(newRow)) {
        ApplyPortableKeyDefaults(fields::ImageId::Trunk, image.Bytes());
    }
    SetTxInputLevelsForKind(fields::ImageId::Trunk, image.Bytes(), IsPortableRow(newRow));
}

void ApplyRadioTypeChange(PmrJobImage& image, int previousRow, int newRow) {
    if (!ValidRow(previousRow) || !ValidRow(newRow)) {
        return;
    }
    const RadioTypeRow& head = kRadioTypeRows[static_cast<std::size_t>(newRow)];
    RefillTextsForHead(fields::ImageId::Pmr, image.Bytes(), head.RadioTypeMask);
    LimitPowerLevels(image, IsPortableRow(newRow));
    if (!IsPortableRow(previousRow) && IsPortableRow(newRow)) {
        ApplyPortableKeyDefaults(fields::ImageId::Pmr, image.Bytes());
    }
    SetTxInputLevelsForKind(fields::ImageId::Pmr, image.Bytes(), IsPortableRow(newRow));
}

}  // namespace km
