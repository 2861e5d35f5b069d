#pragma once
// The conventional channel table of a PmrJobImage as field rows: the 32-byte channel records
// (channels and groups share them), the two areas of group member lists, the 20 zones of 800
// bytes with their 255 entries, and the counters and markers of the header. Every bit the radio
// reads is a row, so a job dumps, diffs and is tested by field; the load and store passes
// (ChannelTable.h) and the editors read and write entries through these rows.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"
#include "pmr/CtcssDcs.h"

namespace km::pmr {

// Where the table lives in the image (the tables' places and sizes are the image's, Images.h).
inline constexpr std::size_t kFirstVisibleEntry = 0x1D22;  // u16, 0xFFFF = every entry hidden
inline constexpr std::size_t kGroupMarker = 0x2B34;        // "---GROUP"
inline constexpr std::size_t kGroupArea1 = 0x2B3C;         // group indexes 0..127
inline constexpr std::size_t kChannelMarker = 0x3D1C;      // "--CHANNEL DATA--"

inline constexpr int kHighestNumber = 999;
inline constexpr int kGroupMembers = 16;
inline constexpr std::uint16_t kNoMember = 0xFFFF;
inline constexpr std::uint16_t kNoLink = 0x7FF;
inline constexpr std::uint16_t kNoEntry = 0xFFFF;

inline constexpr std::size_t kZoneEntries = 255;
inline constexpr std::size_t kZoneEntryOffset = 32;
inline constexpr std::size_t kZoneEntrySize = 3;
inline constexpr int kZonePositions = 254;  // rows of a zone's channel list
inline constexpr std::uint8_t kUndefinedZoneNumber = 63;
inline constexpr std::uint8_t kEmptyZoneRow = 0xFF;
inline constexpr std::uint16_t kEmptyZoneChannel = 0x3FF;

// The member list of group index `index` (the group record's encode byte): indexes 0..127 in
// the first area, the rest in the second.
constexpr std::size_t GroupRecordOffset(int index) {
    return index < static_cast<int>(kGroupsPerArea)
               ? kGroupArea1 + kRecordSize * static_cast<std::size_t>(index)
               : kGroupArea2 + kRecordSize * static_cast<std::size_t>(index - kGroupsPerArea);
}

inline constexpr std::string_view kGroupMarkerText = "---GROUP DATA---";
inline constexpr std::string_view kChannelMarkerText = "--CHANNEL DATA--";

// The pages of the Channel Options form that show the rows.
inline constexpr std::string_view kChannelsTab = "Channels";
inline constexpr std::string_view kZonesTab = "Zones";

namespace channel_rows {

using fields::Encoding;
using fields::FieldRow;
using fields::Flag;

// Bits of the high-byte-first word at `byte` (an 11-bit number and the flags above it).
constexpr FieldRow WordBits(std::string_view id, std::string_view caption, std::string_view control,
                            int byte, int shift, int count, std::int64_t max = 0,
                            bool derived = false) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = kChannelsTab,
            .at = {.pmr = byte},
            .encoding = Encoding::BitsHighFirst,
            .width = 2,
            .bitShift = static_cast<std::uint8_t>(shift),
            .bitCount = static_cast<std::uint8_t>(count),
            .max = max,
            .derived = derived};
}

constexpr FieldRow Frequency(std::string_view id, std::string_view caption, int byte, int width,
                             int shift) {
    return {.id = id,
            .caption = caption,
            .tab = kChannelsTab,
            .at = {.pmr = byte},
            .encoding = Encoding::RasterFrequency,
            .width = static_cast<std::uint16_t>(width),
            .bitShift = static_cast<std::uint8_t>(shift),
            .scale = {.decimals = 5, .unit = "MHz"},
            .overlapDeclared = true};
}

// Columns of a channel record. A group uses the same record: its type is spread over byte 0 bits
// 2 and 3 and byte 1 bits 0 and 7, byte 1 bit 3 is its selcall scanning, byte 7 its group index
// and byte 24 bit 3 its "Show As Channel". Rows marked derived are computed by every store.
inline constexpr FieldRow kColumns[] = {
    Flag("economiser", "Economiser", "CEDT_CBox_Economiser", {kChannelsTab, fields::InPmr(0)}, 0),
    fields::Derived(Flag("xtal_switch", "Xtal Switch", "", {kChannelsTab, fields::InPmr(0)}, 1)),
    Flag("vote", "Group type Vote", "", {kChannelsTab, fields::InPmr(0)}, 2),
    Flag("scan", "Group type User Scan or Fixed Scan", "", {kChannelsTab, fields::InPmr(0)}, 3),
    fields::Derived(Flag("clock_shift", "Clock Shift", "", {kChannelsTab, fields::InPmr(0)}, 4)),
    Flag("hidden", "Hidden", "CEDT_CBox_Hidden", {kChannelsTab, fields::InPmr(0)}, 5),
    Flag("reserved", "Reserved flag", "", {kChannelsTab, fields::InPmr(0)}, 6),
    Flag("override_xtal", "Override Xtal Switch", "CEDT_CBox_OverrideXtal",
         {kChannelsTab, fields::InPmr(0)}, 7),
    Flag("bandwidth_bit0", "Bandwidth bit 0 (group type User Scan)", "",
         {kChannelsTab, fields::InPmr(1)}, 0),
    Flag("rx_lockout", "Rx Lockout", "CEDT_CBox_Rx_Lockout", {kChannelsTab, fields::InPmr(1)}, 1),
    Flag("bandwidth_bit2", "Bandwidth bit 2", "", {kChannelsTab, fields::InPmr(1)}, 2),
    Flag("selcall", "Selcall Enabled (group: Selcall Scanning)", "CEDT_CBox_SelcallEnabled",
         {kChannelsTab, fields::InPmr(1)}, 3),
    Flag("tx_lockout", "Tx Lockout", "CEDT_CBox_Tx_Lockout", {kChannelsTab, fields::InPmr(1)}, 4),
    Flag("community_repeater", "Community Repeater", "CEDT_CBox_ComRepeater",
         {kChannelsTab, fields::InPmr(1)}, 5),
    Flag("power_high", "Power High", "", {kChannelsTab, fields::InPmr(1)}, 6),
    Flag("multiax", "Group type Multiax", "", {kChannelsTab, fields::InPmr(1)}, 7),
    Frequency("tx", "Tx Frequency", 2, 5, 1),
    Frequency("rx", "Rx Frequency", 4, 3, 0),
    Flag("is_group", "Group with a stored member list", "", {kChannelsTab, fields::InPmr(6)}, 0),
    Flag("open_selcall", "Open Selcall", "CEDT_CBox_OpenSelcall", {kChannelsTab, fields::InPmr(6)},
         3),
    // The editor shows the encode itself: 0 (none) as an empty field.
    {.id = "encode",
     .caption = "Selcall Encode (group: group index)",
     .tab = kChannelsTab,
     .at = {.pmr = 7}},
    {.id = "tx_code",
     .caption = "Tx CTCSS/DCS",
     .control = "CEDT_Combo_Tx_CTCSSTone",
     .tab = kChannelsTab,
     .at = {.pmr = 8},
     .choices = kCtcssDcsChoices,
     .readsAs = CodeByteReadAs},
    {.id = "rx_code",
     .caption = "Rx CTCSS/DCS",
     .control = "CEDT_Combo_Rx_CTCSSTone",
     .tab = kChannelsTab,
     .at = {.pmr = 9},
     .choices = kCtcssDcsChoices,
     .readsAs = CodeByteReadAs},
    WordBits("number", "Channel Number", "", 10, 0, 11, kHighestNumber),
    WordBits("selectable_ctcss", "Selectable CTCSS", "CEDT_CBox_SelectableCTCSS", 10, 11, 1),
    WordBits("high_power_level", "High power level", "", 10, 12, 4, 0, true),
    {.id = "name",
     .caption = "Name",
     .control = "CEDT_Edit_ChanName",
     .tab = kChannelsTab,
     .at = {.pmr = 12},
     .encoding = Encoding::Text,
     .width = 12},
    WordBits("next_link", "Next visible entry", "", 24, 0, 11, 0, true),
    WordBits("show_as_channel", "Group: Show As Channel", "", 24, 11, 1),
    WordBits("low_power_level", "Low power level", "", 24, 12, 4, 0, true),
    WordBits("prev_link", "Previous visible entry", "", 26, 0, 11, 0, true),
    WordBits("no_ffsk_ani", "No FFSK ANI", "CEDT_CBox_NoFfskAni", 26, 11, 1),
    WordBits("rx_normal_dcs", "Rx Normal DCS", "", 26, 13, 1, 0, true),
    WordBits("rx_inverted_dcs", "Rx Inverted DCS", "", 26, 14, 1, 0, true),
    WordBits("tx_inverted_dcs", "Tx Inverted DCS", "CEDT_CBox_DcsTxInverted", 26, 15, 1),
    fields::Derived(Flag("cb", "Australian CB channel", "", {kChannelsTab, fields::InPmr(28)}, 1)),
    fields::Derived(Flag("cb_no_ctcss", "Australian CB channel 5 or 35", "",
                         {kChannelsTab, fields::InPmr(28)}, 2)),
    Flag("power_medium", "Power Medium", "", {kChannelsTab, fields::InPmr(28)}, 3),
    Flag("decode1", "Decode 1", "CEDT_CBox_Decode1", {kChannelsTab, fields::InPmr(28)}, 4),
    Flag("decode2", "Decode 2", "CEDT_CBox_Decode2", {kChannelsTab, fields::InPmr(28)}, 5),
    Flag("decode3", "Decode 3", "CEDT_CBox_Decode3", {kChannelsTab, fields::InPmr(28)}, 6),
    Flag("decode4", "Decode 4", "CEDT_CBox_Decode4", {kChannelsTab, fields::InPmr(28)}, 7),
    {.id = "ptt_off_encode",
     .caption = "PTT Off Encode",
     .control = "CEDT_Edit_PttOffEncode",
     .tab = kChannelsTab,
     .at = {.pmr = 29},
     .max = kMaxEncode,
     .blankRaw = 0},
    Flag("decode5", "Decode 5", "CEDT_CBox_Decode5", {kChannelsTab, fields::InPmr(30)}, 4),
    Flag("decode6", "Decode 6", "CEDT_CBox_Decode6", {kChannelsTab, fields::InPmr(30)}, 5),
    Flag("decode7", "Decode 7", "CEDT_CBox_Decode7", {kChannelsTab, fields::InPmr(30)}, 6),
    Flag("decode8", "Decode 8", "CEDT_CBox_Decode8", {kChannelsTab, fields::InPmr(30)}, 7),
};
static_assert(fields::RowsValid(kColumns, fields::ImageId::Pmr, kRecordSize));

// The columns by name, for the passes and the editors.
constexpr const FieldRow& Column(std::string_view id) {
    return fields::RowById(kColumns, id);
}
inline constexpr const FieldRow& kEconomiser = Column("economiser");
inline constexpr const FieldRow& kXtalSwitch = Column("xtal_switch");
inline constexpr const FieldRow& kVote = Column("vote");
inline constexpr const FieldRow& kScan = Column("scan");
inline constexpr const FieldRow& kClockShift = Column("clock_shift");
inline constexpr const FieldRow& kHidden = Column("hidden");
inline constexpr const FieldRow& kReserved = Column("reserved");
inline constexpr const FieldRow& kOverrideXtal = Column("override_xtal");
inline constexpr const FieldRow& kBandwidthBit0 = Column("bandwidth_bit0");
inline constexpr const FieldRow& kRxLockout = Column("rx_lockout");
inline constexpr const FieldRow& kBandwidthBit2 = Column("bandwidth_bit2");
inline constexpr const FieldRow& kSelcall = Column("selcall");
inline constexpr const FieldRow& kTxLockout = Column("tx_lockout");
inline constexpr const FieldRow& kCommunityRepeater = Column("community_repeater");
inline constexpr const FieldRow& kPowerHigh = Column("power_high");
inline constexpr const FieldRow& kMultiax = Column("multiax");
inline constexpr const FieldRow& kTx = Column("tx");
inline constexpr const FieldRow& kRx = Column("rx");
inline constexpr const FieldRow& kIsGroup = Column("is_group");
inline constexpr const FieldRow& kOpenSelcall = Column("open_selcall");
inline constexpr const FieldRow& kEncode = Column("encode");
inline constexpr const FieldRow& kTxCode = Column("tx_code");
inline constexpr const FieldRow& kRxCode = Column("rx_code");
inline constexpr const FieldRow& kNumber = Column("number");
inline constexpr const FieldRow& kSelectableCtcss = Column("selectable_ctcss");
inline constexpr const FieldRow& kHighPowerLevel = Column("high_power_level");
inline constexpr const FieldRow& kName = Column("name");
inline constexpr const FieldRow& kNextLink = Column("next_link");
inline constexpr const FieldRow& kShowAsChannel = Column("show_as_channel");
inline constexpr const FieldRow& kLowPowerLevel = Column("low_power_level");
inline constexpr const FieldRow& kPrevLink = Column("prev_link");
inline constexpr const FieldRow& kNoFfskAni = Column("no_ffsk_ani");
inline constexpr const FieldRow& kRxNormalDcs = Column("rx_normal_dcs");
inline constexpr const FieldRow& kRxInvertedDcs = Column("rx_inverted_dcs");
inline constexpr const FieldRow& kTxInvertedDcs = Column("tx_inverted_dcs");
inline constexpr const FieldRow& kCb = Column("cb");
inline constexpr const FieldRow& kCbNoCtcss = Column("cb_no_ctcss");
inline constexpr const FieldRow& kPowerMedium = Column("power_medium");
inline constexpr const FieldRow& kPttOffEncode = Column("ptt_off_encode");
inline constexpr std::array<const FieldRow*, 8> kDecodes = {
    &Column("decode1"), &Column("decode2"), &Column("decode3"), &Column("decode4"),
    &Column("decode5"), &Column("decode6"), &Column("decode7"), &Column("decode8")};

// A group member list: sixteen channel numbers, 0xFFFF empty. Scan groups keep their priority
// channel in the last word.
constexpr FieldRow Member(std::string_view id, std::string_view caption, int word) {
    return {.id = id,
            .caption = caption,
            .tab = kChannelsTab,
            .at = {.pmr = 2 * word},
            .encoding = Encoding::U16,
            .max = kHighestNumber,
            .defaultValue = kNoMember,
            .blankRaw = kNoMember};
}
inline constexpr FieldRow kMemberColumns[] = {
    Member("member1", "Member 1", 0),
    Member("member2", "Member 2", 1),
    Member("member3", "Member 3", 2),
    Member("member4", "Member 4", 3),
    Member("member5", "Member 5", 4),
    Member("member6", "Member 6", 5),
    Member("member7", "Member 7", 6),
    Member("member8", "Member 8", 7),
    Member("member9", "Member 9", 8),
    Member("member10", "Member 10", 9),
    Member("member11", "Member 11", 10),
    Member("member12", "Member 12", 11),
    Member("member13", "Member 13", 12),
    Member("member14", "Member 14", 13),
    Member("member15", "Member 15", 14),
    Member("member16", "Member 16 (scan groups: Scan Priority Channel)", 15),
};
static_assert(fields::RowsValid(kMemberColumns, fields::ImageId::Pmr, kRecordSize));

}  // namespace channel_rows

namespace zone_rows {

using fields::Encoding;
using fields::FieldRow;

// A zone record: the name (all zero: no zone), its number 1..20 (63 when undefined), and 255
// entries of three bytes after byte 32.
inline constexpr FieldRow kColumns[] = {
    {.id = "name", .caption = "Name", .at = {.pmr = 0}, .encoding = Encoding::Text, .width = 12},
    {.id = "number", .caption = "Zone", .at = {.pmr = 15}, .defaultValue = kUndefinedZoneNumber},
};
static_assert(fields::RowsValid(kColumns, fields::ImageId::Pmr, kZoneSize));
inline constexpr const FieldRow& kName = kColumns[0];
inline constexpr const FieldRow& kNumber = kColumns[1];

// A zone entry: the channel number (0x3FF empty) and the rotary dial position (0 none, 1..16)
// share a high-byte-first word; the third byte is the entry's row in the zone's channel list
// (0xFF empty).
inline constexpr FieldRow kEntryColumns[] = {
    {.id = "channel",
     .caption = "Channel",
     .control = "ZONE_StrGrid_Channels",
     .tab = kZonesTab,
     .at = {.pmr = 0},
     .encoding = Encoding::BitsHighFirst,
     .width = 2,
     .bitShift = 0,
     .bitCount = 10,
     .max = kHighestNumber,
     .defaultValue = kEmptyZoneChannel,
     .blankRaw = kEmptyZoneChannel},
    {.id = "dial",
     .caption = "Dial position",
     .tab = kZonesTab,
     .at = {.pmr = 0},
     .encoding = Encoding::BitsHighFirst,
     .width = 2,
     .bitShift = 11,
     .bitCount = 5,
     .max = 16},
    {.id = "row",
     .caption = "Index",
     .tab = kZonesTab,
     .at = {.pmr = 2},
     .max = kZonePositions - 1,
     .defaultValue = kEmptyZoneRow,
     .blankRaw = kEmptyZoneRow},
};
static_assert(fields::RowsValid(kEntryColumns, fields::ImageId::Pmr, kZoneEntrySize));
inline constexpr const FieldRow& kEntryChannel = kEntryColumns[0];
inline constexpr const FieldRow& kEntryDial = kEntryColumns[1];
inline constexpr const FieldRow& kEntryRow = kEntryColumns[2];

}  // namespace zone_rows

// The rows of the channel table, groups and zones, and its records, as one field table.
namespace pmr_rows {

using fields::Encoding;
using fields::FieldRow;
using fields::RecordTable;

inline constexpr std::string_view kEntriesUsedIds[kZones] = {
    "pmr.zone1_entries_used",  "pmr.zone2_entries_used",  "pmr.zone3_entries_used",
    "pmr.zone4_entries_used",  "pmr.zone5_entries_used",  "pmr.zone6_entries_used",
    "pmr.zone7_entries_used",  "pmr.zone8_entries_used",  "pmr.zone9_entries_used",
    "pmr.zone10_entries_used", "pmr.zone11_entries_used", "pmr.zone12_entries_used",
    "pmr.zone13_entries_used", "pmr.zone14_entries_used", "pmr.zone15_entries_used",
    "pmr.zone16_entries_used", "pmr.zone17_entries_used", "pmr.zone18_entries_used",
    "pmr.zone19_entries_used", "pmr.zone20_entries_used"};
inline constexpr std::string_view kEntryTableIds[kZones] = {
    "pmr.zone1_entries",  "pmr.zone2_entries",  "pmr.zone3_entries",  "pmr.zone4_entries",
    "pmr.zone5_entries",  "pmr.zone6_entries",  "pmr.zone7_entries",  "pmr.zone8_entries",
    "pmr.zone9_entries",  "pmr.zone10_entries", "pmr.zone11_entries", "pmr.zone12_entries",
    "pmr.zone13_entries", "pmr.zone14_entries", "pmr.zone15_entries", "pmr.zone16_entries",
    "pmr.zone17_entries", "pmr.zone18_entries", "pmr.zone19_entries", "pmr.zone20_entries"};

constexpr std::size_t ZoneStart(int zone) {
    return kZoneRecords + kZoneSize * static_cast<std::size_t>(zone);
}

inline constexpr FieldRow kHeaderRows[] = {
    {.id = "pmr.channel_count",
     .caption = "Channel table entries",
     .at = {.pmr = static_cast<std::int32_t>(kChannelCount)},
     .encoding = Encoding::U16,
     .max = kMaxEntries,
     .derived = true},
    {.id = "pmr.group_area2_count",
     .caption = "Group records in the second area",
     .at = {.pmr = static_cast<std::int32_t>(kGroupBCount)},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "pmr.zone_count",
     .caption = "Zones",
     .at = {.pmr = static_cast<std::int32_t>(pmr::kZoneCount)},
     .encoding = Encoding::U16,
     .max = kZones,
     .derived = true},
    {.id = "pmr.first_visible",
     .caption = "First visible entry",
     .at = {.pmr = static_cast<std::int32_t>(kFirstVisibleEntry)},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "pmr.zone_mode",
     .caption = "Zone Mode",
     .control = "ZONE_CBox_ZoneMode",
     .tab = kZonesTab,
     .at = {.pmr = static_cast<std::int32_t>(kZoneModeByte)},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = std::countr_zero(kZoneModeBit),
     .bitCount = 1},
    {.id = "pmr.group_marker",
     .caption = "Group data marker",
     .at = {.pmr = static_cast<std::int32_t>(kGroupMarker)},
     .encoding = Encoding::Text,
     .width = 8,
     .derived = true},
    {.id = "pmr.channel_marker",
     .caption = "Channel data marker",
     .at = {.pmr = static_cast<std::int32_t>(kChannelMarker)},
     .encoding = Encoding::Text,
     .width = 16,
     .derived = true},
};

// Byte 13 of every zone record counts its entries in use.
constexpr std::array<FieldRow, std::size(kHeaderRows) + kZones> Rows() {
    std::array<FieldRow, std::size(kHeaderRows) + kZones> rows{};
    std::size_t n = 0;
    for (const FieldRow& row : kHeaderRows) {
        rows[n++] = row;
    }
    for (int z = 0; z < kZones; ++z) {
        rows[n++] = {.id = kEntriesUsedIds[z],
                     .caption = "Zone entries in use",
                     .at = {.pmr = static_cast<std::int32_t>(ZoneStart(z) + 13)},
                     .max = kZonePositions,
                     .derived = true};
    }
    return rows;
}
inline constexpr auto kRows = Rows();
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr const FieldRow& kChannelCountRow = kRows[0];
inline constexpr const FieldRow& kGroupArea2CountRow = kRows[1];
inline constexpr const FieldRow& kZoneCountRow = kRows[2];
inline constexpr const FieldRow& kFirstVisibleRow = kRows[3];
inline constexpr const FieldRow& kZoneModeRow = kRows[4];
inline constexpr const FieldRow& kGroupMarkerRow = kRows[5];
inline constexpr const FieldRow& kChannelMarkerRow = kRows[6];
constexpr const FieldRow& EntriesUsedRow(int zone) {
    return kRows[std::size(kHeaderRows) + static_cast<std::size_t>(zone)];
}

constexpr std::array<RecordTable, 4 + kZones> Records() {
    std::array<RecordTable, 4 + kZones> records{};
    records[0] = {.id = "pmr.channels",
                  .base = {.pmr = static_cast<std::int32_t>(kChannelRecords)},
                  .stride = kRecordSize,
                  .capacity = kMaxEntries,
                  .countField = "pmr.channel_count",
                  .columns = channel_rows::kColumns};
    records[1] = {.id = "pmr.groups",
                  .base = {.pmr = static_cast<std::int32_t>(kGroupArea1)},
                  .stride = kRecordSize,
                  .capacity = kGroupsPerArea,
                  .columns = channel_rows::kMemberColumns};
    records[2] = {.id = "pmr.groups_b",
                  .base = {.pmr = static_cast<std::int32_t>(kGroupArea2)},
                  .stride = kRecordSize,
                  .capacity = kGroupsPerArea,
                  .countField = "pmr.group_area2_count",
                  .columns = channel_rows::kMemberColumns};
    records[3] = {.id = "pmr.zones",
                  .base = {.pmr = static_cast<std::int32_t>(kZoneRecords)},
                  .stride = kZoneSize,
                  .capacity = kZones,
                  .countField = "pmr.zone_count",
                  .columns = zone_rows::kColumns};
    for (int z = 0; z < kZones; ++z) {
        records[4 + static_cast<std::size_t>(z)] = {
            .id = kEntryTableIds[z],
            .base = {.pmr = static_cast<std::int32_t>(ZoneStart(z) + kZoneEntryOffset)},
            .stride = kZoneEntrySize,
            .capacity = kZoneEntries,
            .countField = kEntriesUsedIds[z],
            .columns = zone_rows::kEntryColumns};
    }
    return records;
}
inline constexpr auto kRecords = Records();

constexpr bool AllRecordsValid() {
    for (const RecordTable& records : kRecords) {
        if (!fields::RecordsValid(records, fields::ImageId::Pmr, PmrJobImage::kSize)) {
            return false;
        }
    }
    return true;
}
static_assert(AllRecordsValid());

inline constexpr const RecordTable& kChannels = kRecords[0];

inline constexpr fields::FieldTable kTable = {.id = "pmr",
                                              .form = "Channel Options",
                                              .area = fields::Area::Image,
                                              .rows = kRows,
                                              .records = kRecords};

}  // namespace pmr_rows

}  // namespace km::pmr
