#include "config/RadioTypeChange.h"

#include <algorithm>
#include <array>

#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "config/TxtMap.h"

namespace km {
namespace {

// Transmit audio input rows 1 and 3 of the audio levels, stored as dB / 6.
constexpr std::array<std::size_t, 2> kTrunkTxInputLevels = {0x2148, 0x214A};
constexpr std::array<std::size_t, 2> kPmrTxInputLevels = {0x552, 0x554};
constexpr std::uint16_t kPortableTxInputLevel = 2;  // "+12"
constexpr std::uint16_t kMobileTxInputLevel = 0;    // "0"

// Transmit power levels of the channel options: indexes into the power list of the head.
constexpr std::size_t kHighPowerWord = 0x1D2E;
constexpr std::size_t kMediumPowerByte = 0x1D0E;  // bits 4-7
constexpr std::size_t kLowPowerWord = 0x1D30;
constexpr int kPortableTopPowerIndex = 5;
constexpr int kMobileTopLowPowerIndex = 4;

bool ValidRow(int row) {
    return row >= 0 && row < kRadioTypeRowCount;
}

template <std::size_t N>
void SetTxInputLevels(ByteImage<N>& image, const std::array<std::size_t, 2>& offsets,
                      bool portable) {
    for (std::size_t offset : offsets) {
        image.SetU16(offset, portable ? kPortableTxInputLevel : kMobileTxInputLevel);
    }
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
        ApplyPortableKeyDefaults(image);
    }
    SetTxInputLevels(image, kTrunkTxInputLevels, IsPortableRow(newRow));
}

void ApplyRadioTypeChange(PmrJobImage& image, int previousRow, int newRow) {
    if (!ValidRow(previousRow) || !ValidRow(newRow)) {
        return;
    }
    const RadioTypeRow& head = kRadioTypeRows[static_cast<std::size_t>(newRow)];
    RefillTextsForHead(fields::ImageId::Pmr, image.Bytes(), head.RadioTypeMask);
    LimitPowerLevels(image, IsPortableRow(newRow));
    if (!IsPortableRow(previousRow) && IsPortableRow(newRow)) {
        ApplyPortableKeyDefaults(image);
    }
    SetTxInputLevels(image, kPmrTxInputLevels, IsPortableRow(newRow));
}

}  // namespace km
