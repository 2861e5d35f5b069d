#pragma once
// The system part of a network file as the Network Systems form edits it: identity, numbering
// scheme, registration, signal levels, fallback, the general values, the ANN prefix table and the
// roaming table. Offsets count from the start of the network file (the .nwk, or the copy in a trunk
// job's network slot).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/MobMap.h"
#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"

namespace km {

namespace system_rows {

using fields::Encoding;

inline constexpr fields::Choice kSchemeChoices[] = {
    {0, "MPT1343"}, {1, "ANN"}, {2, "3RP"}, {3, "CPSX"}};
// Bit 14 of the identity word; the radio group lists National first.
inline constexpr fields::Choice kNetworkTypeChoices[] = {{1, "National"}, {0, "Regional"}};
inline constexpr fields::Choice kDemandedRegistrationChoices[] = {{0, "1988 Version"},
                                                                  {1, "1991 Version"}};
inline constexpr fields::Choice kMarginChoices[] = {{0, "0    dB"}, {6, "6    dB"}, {12, "12  dB"},
                                                    {18, "18  dB"}, {24, "24  dB"}, {30, "30  dB"},
                                                    {36, "36  dB"}, {42, "42  dB"}};
inline constexpr fields::Choice kFallbackTypeChoices[] = {{0, "Fixed"}, {1, "Variable"}};

inline constexpr std::string_view kMarker = network::kMarkerText;

// A signal level in -dBm.
constexpr fields::FieldRow Level(std::string_view id, std::string_view caption,
                                 std::string_view control, std::int32_t at,
                                 std::int64_t defaultValue) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .at = {.network = at},
            .encoding = Encoding::U16,
            .min = 60,
            .max = 120,
            .defaultValue = defaultValue};
}

constexpr fields::FieldRow Margin(std::string_view id, std::string_view caption,
                                  std::string_view control, std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .at = {.network = at},
            .encoding = Encoding::U16,
            .choices = kMarginChoices};
}

inline constexpr fields::FieldRow kRows[] = {
    // Written by every load of the form.
    {.id = "network.system.marker",
     .caption = "Network file marker",
     .at = {.network = 0},
     .encoding = Encoding::Text,
     .width = 16,
     .defaultText = kMarker,
     .derived = true},
    // The file name the network was last saved under, blank-padded: written by Save.
    {.id = "network.system.name",
     .caption = "Network name",
     .at = {.network = 16},
     .encoding = Encoding::Text,
     .width = 16,
     .derived = true},
    {.id = "network.system.description",
     .caption = "Network Description",
     .control = "Edit_SYS_NetworkDescription",
     .at = {.network = 32},
     .encoding = Encoding::Text,
     .width = 60,
     .max = 60},
    {.id = "network.system.band",
     .caption = "Frequency Band",
     .control = "Combo_SYS_FrequencyBand",
     .at = {.network = 92},
     .encoding = Encoding::U16,
     .choices = header_rows::kBandChoices},
    {.id = "network.system.scheme",
     .caption = "Numbering Scheme",
     .control = "RadioGrp_SYS_NetworkScheme",
     .at = {.network = 94},
     .encoding = Encoding::U16,
     .choices = kSchemeChoices},
    {.id = "network.system.network_type",
     .caption = "Network Type",
     .control = "RadioGrp_SYS_NetworkType",
     .at = {.network = 96},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 14,
     .bitCount = 1,
     .choices = kNetworkTypeChoices},
    // The identity sits in bits 7..13 of a Regional network's word and in bits 12..13 of a
    // National one's; the form shows the one its network type names.
    {.id = "network.system.national_identity",
     .caption = "Network Identity (National)",
     .at = {.network = 96},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 12,
     .bitCount = 2,
     .min = 0,
     .max = 3,
     .overlapDeclared = true},
    {.id = "network.system.regional_identity",
     .caption = "Network Identity (Regional)",
     .at = {.network = 96},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 7,
     .bitCount = 7,
     .min = 0,
     .max = 127,
     .overlapDeclared = true},
    {.id = "network.system.zone_length",
     .caption = "Zone Length (bits)",
     .control = "Edit_SYS_ZoneLength",
     .at = {.network = 98},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 9},
    {.id = "network.system.area_length",
     .caption = "Area Length (bits)",
     .control = "Edit_SYS_AreaLength",
     .at = {.network = 100},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 9},
    // A National network allows 3..9, a Regional one 3..4; 0 is the empty field.
    {.id = "network.system.sil",
     .caption = "SIL Length (bits)",
     .control = "Edit_SYS_LengthSIL",
     .at = {.network = 102},
     .encoding = Encoding::U16,
     .min = 3,
     .max = 9,
     .blankRaw = 0},
    {.id = "network.system.variable_info",
     .caption = "Variable INFO field",
     .control = "CBox_REG_RQREnabled",
     .at = {.network = 104},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 15,
     .bitCount = 1},
    {.id = "network.system.info",
     .caption = "INFO",
     .control = "Edit_REG_RQRINFO",
     .at = {.network = 104},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 0,
     .bitCount = 15,
     .min = 0,
     .max = 32767},
    {.id = "network.system.power_on_registration",
     .caption = "Power On Registration",
     .control = "CBox_REG_PwrOnRegistration",
     .at = {.network = 107},
     .encoding = Encoding::Bits,
     .bitShift = 7,
     .bitCount = 1},
    {.id = "network.system.power_off_deregistration",
     .caption = "Power Off De-Registration",
     .control = "CBox_REG_PwrOffDeRegistration",
     .at = {.network = 107},
     .encoding = Encoding::Bits,
     .bitShift = 6,
     .bitCount = 1},
    {.id = "network.system.demanded_registration",
     .caption = "Demanded Registration",
     .control = "RadioGrp_REG_DemandedRegistration",
     .at = {.network = 107},
     .encoding = Encoding::Bits,
     .bitShift = 5,
     .bitCount = 1,
     .choices = kDemandedRegistrationChoices},
    Level("network.system.mobile_level_l0", "Mobile Level L0 (-dBm)", "Edit_FSL_LevelL0dBm", 112,
          100),
    Level("network.system.mobile_level_l2", "Mobile Level L2 (-dBm)", "Edit_FSL_LevelL2dBm", 114,
          90),
    Margin("network.system.level_margin_1", "Level Margin 1", "Combo_FSL_LevelMargin1", 116),
    Margin("network.system.level_margin_2", "Level Margin 2", "Combo_FSL_LevelMargin2", 118),
    Margin("network.system.level_margin_3", "Level Margin 3", "Combo_FSL_LevelMargin3", 120),
    Level("network.system.portable_level_l0", "Portable Level L0 (-dBm)", "Edit_FSL_KPRLevelL0",
          122, 100),
    Level("network.system.portable_level_l2", "Portable Level L2 (-dBm)", "Edit_FSL_KPRLevelL2",
          124, 90),
    {.id = "network.system.fallback_allowed",
     .caption = "Fallback Allowed",
     .control = "CBox_FSL_FallbackAllowed",
     .at = {.network = 126},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1},
    {.id = "network.system.fallback_type",
     .caption = "Fallback Type",
     .control = "RadioGrp_FSL_FallbackType",
     .at = {.network = 128},
     .encoding = Encoding::U16,
     .choices = kFallbackTypeChoices},
    {.id = "network.system.fallback_channel",
     .caption = "Fallback Channel",
     .control = "Edit_FSL_FallbackChannel",
     .at = {.network = 130},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1023},
    // The system code on the fallback channel: National 0..511, Regional 0..15.
    {.id = "network.system.fallback_ndd",
     .caption = "Fallback NDD",
     .control = "Edit_FSL_FallbackNDD",
     .at = {.network = 132},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 511},
    {.id = "network.system.background_hunt",
     .caption = "Background Hunt Enabled",
     .control = "CBox_GEN_BkgndHuntEnable",
     .at = {.network = 136},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1},
    {.id = "network.system.vote_now_sample_length",
     .caption = "Vote Now Sample Length (slots)",
     .control = "Edit_GEN_VoteNowSampleLength",
     .at = {.network = 142},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 30,
     .defaultValue = 4},
    {.id = "network.system.pressel_on_messages",
     .caption = "Number of Pressel On Messages",
     .control = "Edit_GEN_NumOfPresselOnMsg",
     .at = {.network = 144},
     .encoding = Encoding::U16,
     .min = 1,
     .max = 5,
     .defaultValue = 1},
    {.id = "network.system.pressel_off_messages",
     .caption = "Number of Pressel Off Messages",
     .control = "Edit_GEN_NumOfPresselOffMsg",
     .at = {.network = 146},
     .encoding = Encoding::U16,
     .min = 1,
     .max = 5,
     .defaultValue = 1},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Network, NetworkImage::kSize));

// ANN prefix table: entry k for prefix k, byte 0 the miniaturisation extent, byte 1 the fleet
// partition. The grid shows the partition before the extent.
inline constexpr fields::FieldRow kAnnColumns[] = {
    {.id = "extent", .caption = "MEP", .at = {.network = 0}, .min = 0, .max = 10},
    {.id = "partition", .caption = "RCP", .at = {.network = 1}, .min = 0, .max = 10},
};
// Roaming table: operator identities, each OPID x 128; 0xFFFF is an empty entry. A word is read
// as (word AND 0x3FFF) >> 7, whatever its bits 14 and 15 hold.
constexpr std::int64_t RoamingWordReadAs(std::int64_t word) {
    constexpr std::int64_t kEmpty = 0xFFFF;
    constexpr std::int64_t kOpidBits = 0x3F80;
    return word == kEmpty ? word : word & kOpidBits;
}
inline constexpr fields::FieldRow kRoamingColumns[] = {
    {.id = "opid",
     .caption = "OPID",
     .at = {.network = 0},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 127,
     .defaultValue = 0xFFFF,
     .blankRaw = 0xFFFF,
     .scale = {.div = 128},
     .readsAs = RoamingWordReadAs},
};
inline constexpr int kAnnEntries = 128;
inline constexpr int kRoamingEntries = 50;
inline constexpr fields::RecordTable kRecords[] = {
    {.id = "network.system.ann",
     .base = {.network = 480},
     .stride = 2,
     .capacity = kAnnEntries,
     .columns = kAnnColumns},
    {.id = "network.system.roaming",
     .base = {.network = 1244},
     .stride = 2,
     .capacity = kRoamingEntries,
     .columns = kRoamingColumns},
};
static_assert(fields::RecordsValid(kRecords[0], fields::ImageId::Network, NetworkImage::kSize));
static_assert(fields::RecordsValid(kRecords[1], fields::ImageId::Network, NetworkImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "network.system",
                                              .form = "Network Systems",
                                              .area = fields::Area::NetworkFile,
                                              .rows = kRows,
                                              .records = kRecords};

// The rows by name, for the map's own code and the form.
constexpr const fields::FieldRow& Row(std::string_view id) {
    return fields::RowById(kRows, id);
}
inline constexpr const fields::FieldRow& kMarkerRow = Row("network.system.marker");
inline constexpr const fields::FieldRow& kBand = Row("network.system.band");
inline constexpr const fields::FieldRow& kScheme = Row("network.system.scheme");
inline constexpr const fields::FieldRow& kNetworkType = Row("network.system.network_type");
inline constexpr const fields::FieldRow& kNationalIdentity =
    Row("network.system.national_identity");
inline constexpr const fields::FieldRow& kRegionalIdentity =
    Row("network.system.regional_identity");
inline constexpr const fields::FieldRow& kZoneLength = Row("network.system.zone_length");
inline constexpr const fields::FieldRow& kAreaLength = Row("network.system.area_length");
inline constexpr const fields::FieldRow& kSil = Row("network.system.sil");
inline constexpr const fields::FieldRow& kFallbackNdd = Row("network.system.fallback_ndd");
inline constexpr const fields::FieldRow& kAnnExtent = kAnnColumns[0];
inline constexpr const fields::FieldRow& kAnnPartition = kAnnColumns[1];
inline constexpr const fields::FieldRow& kRoamingOpid = kRoamingColumns[0];

}  // namespace system_rows

struct NumberRange {
    std::int64_t low;
    std::int64_t high;
};

// The network identity: bit 14 of the word says National; the identity is bits 12..13 of a
// National network, bits 7..13 of a Regional one.
struct NetworkIdentity {
    bool national = false;
    int identity = 0;

    friend bool operator==(const NetworkIdentity&, const NetworkIdentity&) = default;
};
NetworkIdentity ReadNetworkIdentity(std::span<const std::uint8_t> bytes, std::size_t area);
// National: 0x4000 + identity x 4096; Regional: identity x 128. A store of the identity that was
// read leaves the word as it was.
void WriteNetworkIdentity(std::span<std::uint8_t> bytes, std::size_t area,
                          const NetworkIdentity& identity);

// The ranges that follow the network type.
NumberRange IdentityRange(bool national);
NumberRange SilRange(bool national);
NumberRange FallbackNddRange(bool national);

// Written at every load of the form.
void WriteNetworkMarker(std::span<std::uint8_t> bytes, std::size_t area);

// The largest extent the ANN grid accepts beside a partition typed as `partitionText`: 10 minus
// the partition; a partition that is no number allows 0.
int AnnExtentLimit(std::string_view partitionText);

// A roaming table of nothing but zeros has never been filled: its entries become empty (0xFFFF).
void PrepareRoamingTable(std::span<std::uint8_t> bytes, std::size_t area);
// The entries as the grid holds them (OPID texts, empty for none): every entry is emptied, then
// the OPIDs are written from the first entry on in grid order, without gaps.
void StoreRoamingTable(std::span<std::uint8_t> bytes, std::size_t area,
                       std::span<const std::string> opids);

}  // namespace km
