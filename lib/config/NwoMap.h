#pragma once
// The per-network options the Network Options form edits in the job part of a network slot: the
// eight acquisition authorisation entries, the home zone, the control category, the abbreviated
// dialling limit and the network dependent preference data.
//
// Zone and area data are kept shifted into a field of F bits (9 on a network of the wide form, 4
// otherwise) by the zone and area lengths of the slot's network file. Lengths are whatever the
// file holds, so the shift is never negative and a range never exceeds the field.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fields/Field.h"
#include "image/Images.h"

namespace km {

namespace nwo_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;

inline constexpr std::string_view kFormCaption = "Network Options";
inline constexpr std::string_view kTabAcquisition = "Aquisition Authorisation";
inline constexpr std::string_view kTabNetworkData = "Network Dependent Data";
inline constexpr std::string_view kTabFleetAccess = "Fleet Access";
inline constexpr std::string_view kTabNext = "Next Form -->";

inline constexpr std::size_t kAcquisitionEntries = 8;
inline constexpr std::size_t kPreferenceEntries = 8;

enum AcquisitionType { kTypeNone = 0, kTypeZone = 1, kTypeArea = 2, kTypeFull = 3 };
inline constexpr Choice kTypeChoices[] = {
    {kTypeNone, "None"}, {kTypeZone, "Zone"}, {kTypeArea, "Area"}, {kTypeFull, "Full"}};
inline constexpr Choice kCategoryChoices[] = {{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}};

inline constexpr std::uint16_t kDefaultAbbreviatedLimit = 15;

inline constexpr FieldRow kRows[] = {
    {.id = "network_options.home_zone",
     .caption = "Home Zone",
     .tab = kTabNetworkData,
     .at = {.trunk = 0x560},
     .encoding = Encoding::U16},
    {.id = "network_options.category",
     .caption = "Mobile Control Category",
     .control = "Combo_NDD_MobileControlCategory",
     .tab = kTabNetworkData,
     .at = {.trunk = 0x562},
     .encoding = Encoding::U16,
     .choices = kCategoryChoices},
    {.id = "network_options.abbreviated_limit",
     .caption = "Abbreviated Dialling Max Limit",
     .control = "Edit_NDD_AbbrDialMaxLimit",
     .tab = kTabNetworkData,
     .at = {.trunk = 0x564},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 49,
     .defaultValue = kDefaultAbbreviatedLimit},
};

// Bits 9-13 of an entry belong to neither column and are kept.
inline constexpr FieldRow kAcquisitionColumns[] = {
    {.id = "type",
     .caption = "Type",
     .tab = kTabAcquisition,
     .at = {.trunk = 0},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 14,
     .bitCount = 2,
     .choices = kTypeChoices},
    {.id = "datum",
     .caption = "Data",
     .tab = kTabAcquisition,
     .at = {.trunk = 0},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 0,
     .bitCount = 9},
};
// Bits 10-15 of the data word are kept.
inline constexpr FieldRow kPreferenceColumns[] = {
    {.id = "length",
     .caption = "Length",
     .tab = kTabNetworkData,
     .at = {.trunk = 0},
     .min = 0,
     .max = 9},
    {.id = "priority",
     .caption = "Priority",
     .tab = kTabNetworkData,
     .at = {.trunk = 1},
     .min = 0,
     .max = 10},
    {.id = "data",
     .caption = "Data",
     .tab = kTabNetworkData,
     .at = {.trunk = 2},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 0,
     .bitCount = 10},
};

inline constexpr fields::RecordTable kAcquisition = {.id = "network_options.acquisition",
                                                     .base = {.trunk = 0x550},
                                                     .stride = 2,
                                                     .capacity = kAcquisitionEntries,
                                                     .columns = kAcquisitionColumns};
inline constexpr fields::RecordTable kPreferences = {.id = "network_options.preference",
                                                     .base = {.trunk = 0x568},
                                                     .stride = 4,
                                                     .capacity = kPreferenceEntries,
                                                     .columns = kPreferenceColumns};
inline constexpr fields::RecordTable kRecords[] = {kAcquisition, kPreferences};

static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kAcquisition, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kPreferences, fields::ImageId::Trunk, trunk::kJobPartSize));

inline constexpr fields::FieldTable kTable = {.id = "network_options",
                                              .form = kFormCaption,
                                              .area = fields::Area::NetworkSlot,
                                              .rows = kRows,
                                              .records = kRecords};

}  // namespace nwo_rows

// The zone and area lengths and the wide flag of a slot's network file.
struct ZoneAreaLengths {
    int zoneBits = 0;   // u16 at network file offset 0x62
    int areaBits = 0;   // u16 at 0x64
    bool wide = false;  // bit 6 of the byte at 0x61: a 9-bit field instead of a 4-bit one
};
ZoneAreaLengths ZoneAreaLengthsOfSlot(const TrunkJobImage& image, int selector);

// The bits a zone or area datum is kept in: 9 or 4.
int FieldBits(const ZoneAreaLengths& lengths);
// How far an entry of `type` is shifted into its field: F - Z for zones, F - A for areas, never
// below 0; 0 for None and Full.
int DatumShift(int type, const ZoneAreaLengths& lengths);
// The largest entry of `type`: 0 for None, 2^min(Z, F) - 1 for zones, 2^min(A, F) - 1 for areas,
// 2^F - 1 for Full.
std::int64_t LargestDatum(int type, const ZoneAreaLengths& lengths);
// Stored datum of an entry, and the entry shown for a stored datum (None shows the stored datum
// unchanged and stores 0).
std::int64_t StoredDatum(int type, std::int64_t entry, const ZoneAreaLengths& lengths);
std::int64_t ShownDatum(int type, std::int64_t stored, const ZoneAreaLengths& lengths);

// The form's texts beyond its plain rows.
struct AcquisitionEntry {
    std::int64_t type = nwo_rows::kTypeNone;  // a code of kTypeChoices, or the stored bits
    std::string data;

    friend bool operator==(const AcquisitionEntry&, const AcquisitionEntry&) = default;
};
struct PreferenceEntry {
    std::string priority;
    std::string length;
    std::string data;

    friend bool operator==(const PreferenceEntry&, const PreferenceEntry&) = default;
};
struct NetworkOptionTexts {
    std::array<AcquisitionEntry, nwo_rows::kAcquisitionEntries> acquisition;
    std::string homeZone;
    std::array<PreferenceEntry, nwo_rows::kPreferenceEntries> preferences;
};

NetworkOptionTexts LoadNetworkOptionTexts(const TrunkJobImage& image, int selector);
// Never refuses; an entry that is no number stores 0. Entries and the home zone still showing
// what `loaded` (when given) showed keep their bytes.
void StoreNetworkOptionTexts(TrunkJobImage& image, int selector, const NetworkOptionTexts& texts,
                             const NetworkOptionTexts* loaded = nullptr);

// The range of a preference row's data: 0 to 2^Length - 1, a Length above 10 counting as 0.
std::int64_t LargestPreferenceData(std::string_view lengthText);

// The Defaults buttons of the two pages.
void AcquisitionDefaults(NetworkOptionTexts& texts);
void NetworkDataDefaults(NetworkOptionTexts& texts);

}  // namespace km
