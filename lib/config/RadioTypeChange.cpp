#include "config/RadioTypeChange.h"

#include <algorithm>
#include <array>

#include "config/RadioTypes.h"
#include "config/TxtMap.h"
#include "config/UiLevels.h"
#include "config/UiMap.h"
#include "fields/FieldOps.h"
#include "pmr/OptionRows.h"

namespace km {
namespace {

// A portable has six power levels, a mobile five low levels.
constexpr int kPortableTopPowerIndex = 5;
constexpr int kMobileTopLowPowerIndex = 4;

bool ValidRow(int row) {
    return row >= 0 && row < kRadioTypeRowCount;
}

void LimitLevel(PmrJobImage& image, const fields::FieldRow& row, int top) {
    const auto at = static_cast<std::size_t>(row.at.pmr);
    const fields::FieldValue value = fields::ReadField(row, image.Bytes(), at);
    const auto* level = std::get_if<std::int64_t>(&value);
    if (level && *level > top) {
        fields::WriteField(row, image.Bytes(), at, std::int64_t{top});
    }
}

void LimitPowerLevels(PmrJobImage& image, bool portable) {
    namespace orows = pmr::options_rows;
    if (!portable) {
        LimitLevel(image, orows::kLowPower, kMobileTopLowPowerIndex);
        return;
    }
    for (const fields::FieldRow* row :
         {&orows::kHighPower, &orows::kMediumPower, &orows::kLowPower}) {
        LimitLevel(image, *row, kPortableTopPowerIndex);
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
