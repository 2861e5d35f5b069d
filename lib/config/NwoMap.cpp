#include "config/NwoMap.h"

#include <algorithm>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using fields::FieldRow;

constexpr std::size_t kZoneBitsWord = 0x62;
constexpr std::size_t kAreaBitsWord = 0x64;
constexpr std::size_t kWideFlagByte = 0x61;
constexpr std::uint8_t kWideFlag = 0x40;
constexpr int kWideFieldBits = 9;
constexpr int kNarrowFieldBits = 4;
constexpr int kLargestPreferenceLength = 10;

std::int64_t NumberOf(const fields::FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

// The entry of a field that holds digits only; 0 for anything else.
std::int64_t Entered(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return IntegerOfField(text);
}

std::size_t RecordAt(int selector, const fields::RecordTable& table, std::size_t r) {
    return trunk::SlotStart(selector) + static_cast<std::size_t>(table.base.trunk) +
           r * table.stride;
}

std::int64_t Read(const TrunkJobImage& image, std::size_t at, const FieldRow& row) {
    return NumberOf(
        fields::ReadField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.trunk)));
}
void Write(TrunkJobImage& image, std::size_t at, const FieldRow& row, std::int64_t value) {
    fields::WriteField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.trunk), value);
}

const FieldRow& HomeZone() {
    return nwo_rows::kRows[0];
}
const FieldRow& AcquisitionType() {
    return nwo_rows::kAcquisitionColumns[0];
}
const FieldRow& AcquisitionData() {
    return nwo_rows::kAcquisitionColumns[1];
}

// Lengths the shift is taken from, bounded by the field.
int Bounded(int bits, const ZoneAreaLengths& lengths) {
    return std::clamp(bits, 0, FieldBits(lengths));
}

int LengthOf(int type, const ZoneAreaLengths& lengths) {
    return type == nwo_rows::kTypeZone ? lengths.zoneBits : lengths.areaBits;
}

}  // namespace

ZoneAreaLengths ZoneAreaLengthsOfSlot(const TrunkJobImage& image, int selector) {
    const std::size_t file = trunk::NetworkFileStart(selector);
    return {image.U16(file + kZoneBitsWord), image.U16(file + kAreaBitsWord),
            (image.U8(file + kWideFlagByte) & kWideFlag) != 0};
}

int FieldBits(const ZoneAreaLengths& lengths) {
    return lengths.wide ? kWideFieldBits : kNarrowFieldBits;
}

int DatumShift(int type, const ZoneAreaLengths& lengths) {
    if (type != nwo_rows::kTypeZone && type != nwo_rows::kTypeArea) {
        return 0;
    }
    return FieldBits(lengths) - Bounded(LengthOf(type, lengths), lengths);
}

std::int64_t LargestDatum(int type, const ZoneAreaLengths& lengths) {
    switch (type) {
        case nwo_rows::kTypeZone:
        case nwo_rows::kTypeArea:
            return (std::int64_t{1} << Bounded(LengthOf(type, lengths), lengths)) - 1;
        case nwo_rows::kTypeFull:
            return (std::int64_t{1} << FieldBits(lengths)) - 1;
        default:
            return 0;
    }
}

std::int64_t StoredDatum(int type, std::int64_t entry, const ZoneAreaLengths& lengths) {
    if (type == nwo_rows::kTypeNone) {
        return 0;
    }
    return std::max<std::int64_t>(entry, 0) << DatumShift(type, lengths);
}

std::int64_t ShownDatum(int type, std::int64_t stored, const ZoneAreaLengths& lengths) {
    return stored >> DatumShift(type, lengths);
}

NetworkOptionTexts LoadNetworkOptionTexts(const TrunkJobImage& image, int selector) {
    const ZoneAreaLengths lengths = ZoneAreaLengthsOfSlot(image, selector);
    NetworkOptionTexts texts;
    for (std::size_t e = 0; e < nwo_rows::kAcquisitionEntries; ++e) {
        const std::size_t at = RecordAt(selector, nwo_rows::kAcquisition, e);
        const std::int64_t type = Read(image, at, AcquisitionType());
        texts.acquisition[e] = {
            type, std::to_string(ShownDatum(static_cast<int>(type),
                                            Read(image, at, AcquisitionData()), lengths))};
    }
    texts.homeZone = std::to_string(ShownDatum(
        nwo_rows::kTypeZone, Read(image, trunk::SlotStart(selector), HomeZone()), lengths));
    for (std::size_t p = 0; p < nwo_rows::kPreferenceEntries; ++p) {
        const std::size_t at = RecordAt(selector, nwo_rows::kPreferences, p);
        auto text = [&](std::size_t column) {
            return std::to_string(Read(image, at, nwo_rows::kPreferenceColumns[column]));
        };
        texts.preferences[p] = {text(1), text(0), text(2)};
    }
    return texts;
}

void StoreNetworkOptionTexts(TrunkJobImage& image, int selector, const NetworkOptionTexts& texts,
                             const NetworkOptionTexts* loaded) {
    const ZoneAreaLengths lengths = ZoneAreaLengthsOfSlot(image, selector);
    for (std::size_t e = 0; e < nwo_rows::kAcquisitionEntries; ++e) {
        const std::size_t at = RecordAt(selector, nwo_rows::kAcquisition, e);
        const AcquisitionEntry& entry = texts.acquisition[e];
        if (loaded != nullptr && entry == loaded->acquisition[e]) {
            continue;
        }
        const int type = static_cast<int>(entry.type);
        Write(image, at, AcquisitionType(), entry.type);
        const std::int64_t datum = std::min(StoredDatum(type, Entered(entry.data), lengths),
                                            (std::int64_t{1} << AcquisitionData().bitCount) - 1);
        Write(image, at, AcquisitionData(), datum);
    }
    if (loaded == nullptr || texts.homeZone != loaded->homeZone) {
        Write(image, trunk::SlotStart(selector), HomeZone(),
              StoredDatum(nwo_rows::kTypeZone, Entered(texts.homeZone), lengths));
    }
    for (std::size_t p = 0; p < nwo_rows::kPreferenceEntries; ++p) {
        const std::size_t at = RecordAt(selector, nwo_rows::kPreferences, p);
        const PreferenceEntry& entry = texts.preferences[p];
        if (loaded != nullptr && entry == loaded->preferences[p]) {
            continue;
        }
        Write(image, at, nwo_rows::kPreferenceColumns[0], Entered(entry.length));
        Write(image, at, nwo_rows::kPreferenceColumns[1], Entered(entry.priority));
        Write(image, at, nwo_rows::kPreferenceColumns[2], Entered(entry.data));
    }
}

std::int64_t LargestPreferenceData(std::string_view lengthText) {
    std::int64_t length = IntegerOfField(lengthText);
    if (length < 0 || length > kLargestPreferenceLength) {
        length = 0;
    }
    return (std::int64_t{1} << length) - 1;
}

void AcquisitionDefaults(NetworkOptionTexts& texts) {
    for (AcquisitionEntry& entry : texts.acquisition) {
        entry = {nwo_rows::kTypeNone, "0"};
    }
}

void NetworkDataDefaults(NetworkOptionTexts& texts) {
    texts.homeZone = std::string(1, '0');
    for (PreferenceEntry& entry : texts.preferences) {
        entry = {"0", "0", "0"};
    }
}

}  // namespace km
