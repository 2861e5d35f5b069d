#pragma once
// Who the radio is on each of its two trunked networks, as the Identities form edits it: the own,
// dispatcher and data identities, the groups, facilities, DTMF, five-digit dialling, the status
// list, the data options and, under CPSX, the fleet partition. Everything here lives in the job
// part of a network slot; the phone book and the GPS intervals, kept once per job, are in
// Phonebook.h.
//
// Identities are kept as 8-byte IdentityRecords and shown in the dialled form of the network's
// numbering scheme (Numbering.h). The rows below name every byte the form writes; the functions
// after them are what goes beyond plain rows: conversions between records and dialled numbers,
// the fields computed from the own identity, the five-digit dialling grid and the status list.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/Numbering.h"
#include "core/Person.h"
#include "fields/Field.h"
#include "fields/Rows.h"
#include "image/Images.h"
#include "image/NetworkFile.h"

namespace km {

namespace id_rows {

using fields::Choice;
using fields::Encoding;
using fields::FieldRow;
using fields::Flag;
using fields::Word;

// The pages of the form, in their order.
inline constexpr std::string_view kTabIdentity = "Radio Identity";
inline constexpr std::string_view kTabGroups = "Groups";
inline constexpr std::string_view kTabFiveDigit = "5 Digit Dial";
inline constexpr std::string_view kTabFacilities = "Facilities";
inline constexpr std::string_view kTabDtmf = "DTMF";
inline constexpr std::string_view kTabPhonebook = "Phone Book";
inline constexpr std::string_view kTabStatus = "Status";
inline constexpr std::string_view kTabDispatchers = "Call Dispatchers";
inline constexpr std::string_view kTabData = "Data";
inline constexpr std::string_view kTabNext = "Next Form -->";

inline constexpr std::string_view kFormCaption = "Identities";

// ---- Lists ----

inline constexpr std::string_view kNumberTexts[] = {
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11", "12", "13", "14", "15",
    "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"};
inline constexpr std::string_view kGpsPairTexts[] = {
    "1+2",   "2+3",   "3+4",   "4+5",   "5+6",   "6+7",   "7+8",   "8+9",   "9+10",  "10+11",
    "11+12", "12+13", "13+14", "14+15", "15+16", "16+17", "17+18", "18+19", "19+20", "20+21",
    "21+22", "22+23", "23+24", "24+25", "25+26", "26+27", "27+28", "28+29", "29+30"};

inline constexpr int kStatusCount = 30;

// Item 0 says what 0 means, item n is status n.
constexpr std::array<Choice, kStatusCount + 1> StatusChoices(std::string_view none) {
    std::array<Choice, kStatusCount + 1> choices{};
    choices[0] = {0, none};
    for (int n = 1; n <= kStatusCount; ++n) {
        choices[static_cast<std::size_t>(n)] = {n, kNumberTexts[n]};
    }
    return choices;
}
// Codes first..last shown as the numbers first + textOffset...
template <std::size_t Count>
constexpr std::array<Choice, Count> NumberChoices(int first, int textOffset) {
    std::array<Choice, Count> choices{};
    for (std::size_t i = 0; i < Count; ++i) {
        const int code = first + static_cast<int>(i);
        choices[i] = {code, kNumberTexts[code + textOffset]};
    }
    return choices;
}
constexpr std::array<Choice, kStatusCount + 1> GpsPollChoices() {
    std::array<Choice, kStatusCount + 1> choices{};
    choices[0] = {0, "Disabled"};
    for (int n = 1; n < kStatusCount; ++n) {
        choices[static_cast<std::size_t>(n)] = {n, kGpsPairTexts[n - 1]};
    }
    choices[kStatusCount] = {kStatusCount, kNumberTexts[kStatusCount]};
    return choices;
}

inline constexpr auto kMsgAckChoices = StatusChoices("No Ack");
inline constexpr auto kMaxTxChoices = StatusChoices("None");
inline constexpr auto kDisabledOrStatusChoices = StatusChoices("Disabled");
inline constexpr auto kPowerOnChoices = NumberChoices<kStatusCount>(1, 0);
inline constexpr auto kGpsPollChoices = GpsPollChoices();
inline constexpr auto kCpsxCountChoices = NumberChoices<11>(0, 0);
inline constexpr auto kHomeSiteChoices = NumberChoices<10>(0, 1);
inline constexpr auto kDivertChoices = NumberChoices<4>(0, 0);
inline constexpr Choice kLoadingChoices[] = {{0, "Even"}, {1, "Priority"}};
inline constexpr Choice kReplyChoices[] = {
    {0, "Status"}, {1, "STA+GPS"}, {2, "STA+JOB"}, {3, "STA+JOB+GPS"}};

// ---- Row makers ----

constexpr FieldRow StatusList(std::string_view id, std::string_view caption,
                              std::string_view control, std::int32_t at,
                              std::span<const Choice> choices, std::int64_t defaultValue = 0) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = kTabStatus,
            .at = {.trunk = at},
            .encoding = Encoding::U16,
            .defaultValue = defaultValue,
            .choices = choices};
}

// ---- IdentityRecord: 8 bytes ----

inline constexpr std::int32_t kRecordSize = 8;
inline constexpr std::uint8_t kDefinedBit = 7;
inline constexpr std::uint8_t kThreeDigitBit = 1;

struct IdentityIds {
    std::string_view defined, prefix, ident, threeDigit, fleetBase;
};

// The columns of a record; `at` is where the record starts.
constexpr std::array<FieldRow, 5> IdentityRecordRows(const IdentityIds& ids, std::string_view tab,
                                                     std::int32_t at) {
    return {{
        Flag(ids.defined, "Defined", {}, {tab, fields::InTrunk(at)}, kDefinedBit),
        {.id = ids.prefix,
         .caption = "Prefix",
         .tab = tab,
         .at = {.trunk = at},
         .encoding = Encoding::Bits,
         .width = 1,
         .bitShift = 0,
         .bitCount = 7},
        Word(ids.ident, "Ident", {}, {tab, fields::InTrunk(at + 2)}, 0, 0, 0),
        Flag(ids.threeDigit, "Three-digit numbering", {}, {tab, fields::InTrunk(at + 4)},
             kThreeDigitBit),
        Word(ids.fleetBase, "Fleet base", {}, {tab, fields::InTrunk(at + 6)}, 0, 0, 0),
    }};
}

// ---- Slot offsets ----

inline constexpr std::int32_t kMarker = 0x000;
inline constexpr std::int32_t kOwn = 0x010;
inline constexpr std::int32_t kGroups = 0x018;
inline constexpr std::int32_t kDispatcher = 0x058;
inline constexpr std::int32_t kData = 0x060;
inline constexpr std::int32_t kFacility0 = 0x080;
inline constexpr std::int32_t kClearedWords = 0x090;  // two arrays of 32 words, zero on store
inline constexpr std::size_t kClearedBytes = 0x80;
inline constexpr std::int32_t kFiveDigitPackedAt = 0x110;  // entries 11-20
inline constexpr std::int32_t kDispatcherStringsAt = 0x150;
inline constexpr std::int32_t kDataOptions = 0x1F4;
inline constexpr std::int32_t kFiveDigitWideAt = 0x200;  // entries 1-10
inline constexpr std::int32_t kStatusIncoming = 0x25C;
inline constexpr std::int32_t kStatusOutgoing = 0x3DC;
inline constexpr std::int32_t kStatusReplies = 0x5A0;
inline constexpr std::int32_t kDtmf1 = 0x5B0;  // a zero byte, the length, 10 bytes of digits
inline constexpr std::int32_t kDtmf2 = 0x5BC;

inline constexpr std::string_view kMarkerText = "--NETWORK DATA--";

// Bits of the data options byte that every store clears.
inline constexpr std::uint8_t kDataOptionsSpareBits = 0xE2;

inline constexpr std::uint16_t kDtmfSequenceCharacters = 16;

constexpr FieldRow DtmfLength(std::string_view id, std::int32_t at) {
    return {.id = id,
            .caption = "DTMF sequence length",
            .tab = kTabDtmf,
            .at = {.trunk = at + 1},
            .derived = true};
}
constexpr FieldRow DtmfSequence(std::string_view id, std::string_view caption,
                                std::string_view control, std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = kTabDtmf,
            .at = {.trunk = at + 2},
            .encoding = Encoding::PackedDial,
            .width = 10,
            .max = kDtmfSequenceCharacters};
}

// ---- Status replies: four to a word, the lowest-numbered status in the top nibble ----

struct IndexedIds {
    std::array<std::array<char, 32>, kStatusCount> chars{};
    std::array<std::size_t, kStatusCount> sizes{};
};
constexpr IndexedIds StatusReplyIds() {
    IndexedIds ids;
    constexpr std::string_view prefix = "identities.status_reply.";
    for (std::size_t n = 0; n < kStatusCount; ++n) {
        std::size_t size = 0;
        for (char c : prefix) {
            ids.chars[n][size++] = c;
        }
        for (char c : kNumberTexts[n + 1]) {
            ids.chars[n][size++] = c;
        }
        ids.sizes[n] = size;
    }
    return ids;
}
inline constexpr IndexedIds kStatusReplyIds = StatusReplyIds();

// The place of status s (0..31) in the reply words.
constexpr std::int32_t StatusReplyWord(int s) {
    return kStatusReplies + 2 * (s / 4);
}
constexpr std::uint8_t StatusReplyShift(int s) {
    return static_cast<std::uint8_t>(12 - 4 * (s % 4));
}

constexpr FieldRow StatusReplyRow(int status) {
    const auto n = static_cast<std::size_t>(status - 1);
    return {.id = std::string_view(kStatusReplyIds.chars[n].data(), kStatusReplyIds.sizes[n]),
            .caption = "Send Status/SDM",
            .tab = kTabStatus,
            .at = {.trunk = StatusReplyWord(status)},
            .encoding = Encoding::Bits,
            .width = 2,
            .bitShift = StatusReplyShift(status),
            .bitCount = 4,
            .choices = kReplyChoices};
}

// ---- The rows of a slot ----

inline constexpr FieldRow kPlainRows[] = {
    {.id = "identities.marker",
     .caption = "Network data marker",
     .at = {.trunk = kMarker},
     .encoding = Encoding::Text,
     .width = 16,
     .defaultText = kMarkerText,
     .derived = true},
    Word("identities.highest_unit", "Highest Unit Number", {},
         {kTabIdentity, fields::InTrunk(0x068)}, 0, 0, 0),
    Flag("identities.talk_groups", "Talk Groups", "CBox_GRP_TalkGroups",
         {kTabGroups, fields::InTrunk(0x06A)}, 0),
    Flag("identities.definable_groups", "Definable Groups", "CBox_GRP_DefinableGroups",
         {kTabGroups, fields::InTrunk(0x06A)}, 1),
    Word("identities.highest_group", "Highest Group Number", {},
         {kTabGroups, fields::InTrunk(0x06C)}, 0, 0, 0),
    Word("identities.own_fleet_group", "Own Fleet Group Number", {},
         {kTabGroups, fields::InTrunk(0x06E)}, 0, 0, 0),
    {.id = "identities.emergency",
     .caption = "Emergency Identity",
     .control = "Edit_RI_EmergencyAddr",
     .tab = kTabIdentity,
     .at = {.trunk = 0x070},
     .encoding = Encoding::PackedDial,
     .width = 16},
    Flag("identities.foacsu", "FOACSU", "CBox_FAC_FOACSU",
         {kTabFacilities, fields::InTrunk(kFacility0)}, 4),
    Flag("identities.highest_group_three_digit", "Highest group is three-digit", {},
         {kTabGroups, fields::InTrunk(kFacility0)}, 5),
    Flag("identities.highest_unit_three_digit", "Highest unit is three-digit", {},
         {kTabIdentity, fields::InTrunk(kFacility0)}, 6),
    Flag("identities.group_inter_fleet", "Group Inter-Fleet Calls", "CBox_FAC_GroupInterFleetCalls",
         {kTabFacilities, fields::InTrunk(kFacility0)}, 7),
    Flag("identities.individual_inter_fleet", "Individual Inter-Fleet Calls",
         "CBox_FAC_IndividualInterFleetCalls", {kTabFacilities, fields::InTrunk(0x081)}, 0),
    Flag("identities.dtmf_enabled", "DTMF Enabled", "CBox_DTMF_DTMFEnabled",
         {kTabDtmf, fields::InTrunk(0x081)}, 7),
    Flag("identities.pabx", "PABX Calls", "CBox_FAC_PABXCall",
         {kTabFacilities, fields::InTrunk(0x082)}, 6),
    Flag("identities.free_dial_pstn", "Free Dial PSTN Calls", "CBox_FAC_FreeDialPSTN",
         {kTabFacilities, fields::InTrunk(0x082)}, 7),
    Flag("identities.short_dial_pstn", "Short Dial PSTN Calls", "CBox_FAC_ShortDialPSTN",
         {kTabFacilities, fields::InTrunk(0x083)}, 0),
    Flag("identities.short_data", "Short Data Calls", "CBox_FAC_ShortDataCall",
         {kTabFacilities, fields::InTrunk(0x083)}, 2),
    Flag("identities.status_call", "Status Calls", "CBox_STA_StatusCall",
         {kTabStatus, fields::InTrunk(0x083)}, 3),
    Flag("identities.include_call", "Include Calls", "CBox_FAC_IncludeCall",
         {kTabFacilities, fields::InTrunk(0x083)}, 5),
    Flag("identities.speech_call", "Speech Calls", "CBox_FAC_SpeechCall",
         {kTabFacilities, fields::InTrunk(0x083)}, 6),
    Flag("identities.data_call", "Data Calls", "CBox_FAC_DataCall",
         {kTabFacilities, fields::InTrunk(0x083)}, 7),
    {.id = "identities.speech_divert",
     .caption = "Speech Divert",
     .control = "ComboBox_FAC_SpeechDivert",
     .tab = kTabFacilities,
     .at = {.trunk = 0x084},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 2,
     .choices = kDivertChoices},
    {.id = "identities.data_divert",
     .caption = "Data Divert",
     .control = "ComboBox_FAC_DataDivert",
     .tab = kTabFacilities,
     .at = {.trunk = 0x084},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 2,
     .bitCount = 2,
     .choices = kDivertChoices},
    Flag("identities.diversion_calls", "Diversion Calls", "CBox_FAC_DiversionCalls",
         {kTabFacilities, fields::InTrunk(0x084)}, 6),
    Flag("identities.third_party_diversion", "3rd Party Diversion", "CBox_FAC_3rdPartyDiversion",
         {kTabFacilities, fields::InTrunk(0x084)}, 7),
    Word("identities.dtmf_tone", "Tone Period (ms)", "Edit_DTMF_TonePeriod",
         {kTabDtmf, fields::InTrunk(0x086)}, 1, 9999, 100),
    Word("identities.dtmf_inter_tone", "Inter-Tone Period (ms)", "Edit_DTMF_InterTonePeriod",
         {kTabDtmf, fields::InTrunk(0x088)}, 1, 9999, 100),
    Word("identities.dtmf_let", "Link Establishment Time (ms)", "Edit_DTMF_LET",
         {kTabDtmf, fields::InTrunk(0x08A)}, 1, 9999, 1000),
    Word("identities.dtmf_holdover", "Transmit Hang Time (ms)", "Edit_DTMF_Holdover",
         {kTabDtmf, fields::InTrunk(0x08C)}, 0, 9999, 0),
    {.id = "identities.auto_call_count",
     .caption = "Number of Auto-Call Dispatchers",
     .control = "Edit_SFD_NumberOfSFD",
     .tab = kTabDispatchers,
     .at = {.trunk = 0x1F0},
     .max = 9},
    {.id = "identities.dispatcher_loading",
     .caption = "Dispatcher Loading",
     .control = "RadioGrp_SFD_DispatcherLoading",
     .tab = kTabDispatchers,
     .at = {.trunk = 0x1F1},
     .encoding = Encoding::Bits,
     .width = 1,
     .bitShift = 0,
     .bitCount = 1,
     .choices = kLoadingChoices},
    Word("identities.data_lead_in", "Data Lead-In Delay (ms)", "Edit_DAT_DataLeadInDelay",
         {kTabData, fields::InTrunk(0x1F2)}, 1, 9999, 10),
    Flag("identities.immediate_message", "Immediate Message Display",
         "CBox_DAT_ImmediateMsgDisplay", {kTabData, fields::InTrunk(kDataOptions)}, 0),
    Flag("identities.delete_replied_job", "Delete Replied Job", "CBox_DAT_DeleteRepliedJob",
         {kTabData, fields::InTrunk(kDataOptions)}, 2),
    Flag("identities.job_numbers", "Data Job Numbers", "CBox_DAT_DataJobNumbers",
         {kTabData, fields::InTrunk(kDataOptions)}, 3),
    Flag("identities.ignition_sense", "Ignition Sense", "CBox_DAT_IgnitionSense",
         {kTabData, fields::InTrunk(kDataOptions)}, 4),
    {.id = "identities.data_retries",
     .caption = "Data Retries",
     .control = "Edit_DAT_DataRetries",
     .tab = kTabData,
     .at = {.trunk = 0x1F5}},
    StatusList("identities.message_ack_status", "Message Acknowledge Status",
               "Combo_STA_MsgAckStatus", 0x1F6, kMsgAckChoices),
    StatusList("identities.max_tx_status", "Maximum Transmitted Status", "Combo_STA_MaxTxStatus",
               0x1F8, kMaxTxChoices),
    StatusList("identities.power_on_status", "Power-On Status", "Combo_STA_PowerOnStatus", 0x1FA,
               kPowerOnChoices, 1),
    StatusList("identities.interrogate_status", "Interrogate Status", "Combo_STA_InterrogateValue",
               0x1FC, kDisabledOrStatusChoices),
    StatusList("identities.gps_poll_status", "GPS Poll Status", "Combo_STA_GPSPollStatus", 0x1FE,
               kGpsPollChoices),
    {.id = "identities.dtmf1_zero",
     .caption = "DTMF-1 lead byte",
     .tab = kTabDtmf,
     .at = {.trunk = kDtmf1},
     .derived = true},
    DtmfLength("identities.dtmf1_length", kDtmf1),
    DtmfSequence("identities.dtmf1", "DTMF Sequence 1", "Edit_DTMF_Sequence1", kDtmf1),
    {.id = "identities.dtmf2_zero",
     .caption = "DTMF-2 lead byte",
     .tab = kTabDtmf,
     .at = {.trunk = kDtmf2},
     .derived = true},
    DtmfLength("identities.dtmf2_length", kDtmf2),
    DtmfSequence("identities.dtmf2", "DTMF Sequence 2", "Edit_DTMF_Sequence2", kDtmf2),
    {.id = "identities.cpsx_large",
     .caption = "Large Fleets",
     .control = "ComboBox_RI_CPSXLarge",
     .tab = kTabIdentity,
     .at = {.trunk = 0x5C8},
     .encoding = Encoding::U16,
     .defaultValue = 10,
     .choices = kCpsxCountChoices},
    {.id = "identities.cpsx_medium",
     .caption = "Medium Fleets",
     .control = "ComboBox_RI_CPSXMedium",
     .tab = kTabIdentity,
     .at = {.trunk = 0x5CA},
     .encoding = Encoding::U16,
     .defaultValue = 10,
     .choices = kCpsxCountChoices},
    {.id = "identities.cpsx_small",
     .caption = "Small and Pico Fleets",
     .control = "ComboBox_RI_CPSXSmall",
     .tab = kTabIdentity,
     .at = {.trunk = 0x5CC},
     .encoding = Encoding::U16,
     .defaultValue = 10,
     .choices = kCpsxCountChoices},
    Word("identities.init_authority", "Call Initiation Authority", "CBox_RI_InitAuthority",
         {kTabIdentity, fields::InTrunk(0x5CE)}, 0, 1, 0),
    Word("identities.dynamic_group", "Default Dynamic Group", {},
         {kTabIdentity, fields::InTrunk(0x5D0)}, 0, 0, 0),
    {.id = "identities.home_site",
     .caption = "Radio Home Site",
     .control = "ComboBox_RI_RadioHomeSite",
     .tab = kTabIdentity,
     .at = {.trunk = 0x5D2},
     .encoding = Encoding::U16,
     .choices = kHomeSiteChoices},
    StatusList("identities.ext_alert_status", "External Alert Status", "Combo_STA_ExtAlertStatus",
               0x5FC, kDisabledOrStatusChoices),
};

inline constexpr IdentityIds kOwnIds = {"identities.own.defined", "identities.own.prefix",
                                        "identities.own.ident", "identities.own.three_digit",
                                        "identities.own.fleet_base"};
inline constexpr IdentityIds kDispatcherIds = {
    "identities.dispatcher.defined", "identities.dispatcher.prefix", "identities.dispatcher.ident",
    "identities.dispatcher.three_digit", "identities.dispatcher.fleet_base"};
inline constexpr IdentityIds kDataIds = {"identities.data.defined", "identities.data.prefix",
                                         "identities.data.ident", "identities.data.three_digit",
                                         "identities.data.fleet_base"};

template <std::size_t... N>
constexpr auto Concat(const std::array<FieldRow, N>&... parts) {
    std::array<FieldRow, (N + ...)> all{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)),
      at += N),
     ...);
    return all;
}

constexpr std::array<FieldRow, kStatusCount> StatusReplyRows() {
    std::array<FieldRow, kStatusCount> rows{};
    for (int s = 1; s <= kStatusCount; ++s) {
        rows[static_cast<std::size_t>(s - 1)] = StatusReplyRow(s);
    }
    return rows;
}

constexpr std::array<FieldRow, std::size(kPlainRows)> PlainRows() {
    std::array<FieldRow, std::size(kPlainRows)> rows{};
    std::copy(std::begin(kPlainRows), std::end(kPlainRows), rows.begin());
    return rows;
}

inline constexpr auto kRows =
    Concat(PlainRows(), IdentityRecordRows(kOwnIds, kTabIdentity, kOwn),
           IdentityRecordRows(kDispatcherIds, kTabIdentity, kDispatcher),
           IdentityRecordRows(kDataIds, kTabIdentity, kData), StatusReplyRows());

// ---- Record tables of a slot ----

inline constexpr IdentityIds kGroupColumnIds = {"defined", "prefix", "ident", "three_digit",
                                                "fleet_base"};
inline constexpr auto kGroupColumns = IdentityRecordRows(kGroupColumnIds, kTabGroups, 0);

// Five-digit dialling: entries 1-10 are four words; entries 11-20 six packed bytes. The prefix is
// shown as dialled (code & 0x7F + 200), the fleet as dialled (base / 2 + 2000).
inline constexpr fields::BitPiece kPackedHighest[] = {
    {.offset = 1, .bytes = 1, .shift = 4, .count = 4}, {.offset = 3, .bytes = 1, .count = 8}};

constexpr FieldRow FiveDigitPrefix(std::int32_t at, std::uint16_t width) {
    return {.id = "prefix",
            .caption = "Prefix",
            .tab = kTabFiveDigit,
            .at = {.trunk = at},
            .encoding = Encoding::Bits,
            .width = width,
            .bitShift = 0,
            .bitCount = 7,
            .defaultValue = 200,
            .scale = {.add = 200}};
}
constexpr FieldRow FiveDigitDefined(std::int32_t at, std::uint16_t width) {
    return {.id = "defined",
            .caption = "Prefix defined",
            .tab = kTabFiveDigit,
            .at = {.trunk = at},
            .encoding = Encoding::Bits,
            .width = width,
            .bitShift = 7,
            .bitCount = 1};
}
constexpr FieldRow FiveDigitFleet(std::int32_t at) {
    return {.id = "fleet",
            .caption = "Fleet",
            .tab = kTabFiveDigit,
            .at = {.trunk = at},
            .encoding = Encoding::U16,
            .defaultValue = 2000,
            .scale = {.div = 2, .add = 2000}};
}

inline constexpr FieldRow kFiveDigitWideColumns[] = {
    Word("fleet_code", "FleetCode", {}, {kTabFiveDigit, fields::InTrunk(0)}, 0, 0, 0),
    Word("highest", "Highest Number", {}, {kTabFiveDigit, fields::InTrunk(2)}, 0, 0, 0),
    FiveDigitPrefix(4, 2),
    FiveDigitDefined(4, 2),
    FiveDigitFleet(6),
};
inline constexpr FieldRow kFiveDigitPackedColumns[] = {
    {.id = "fleet_code",
     .caption = "FleetCode",
     .tab = kTabFiveDigit,
     .at = {.trunk = 0},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 0,
     .bitCount = 12},
    {.id = "highest",
     .caption = "Highest Number",
     .tab = kTabFiveDigit,
     .at = {.trunk = 0},
     .encoding = Encoding::Pieces,
     .width = 4,
     .pieces = kPackedHighest},
    FiveDigitPrefix(2, 1),
    FiveDigitDefined(2, 1),
    FiveDigitFleet(4),
};

inline constexpr FieldRow kDispatcherStringColumns[] = {
    {.id = "dial",
     .caption = "Auto-Call Dispatcher",
     .control = "StrGrid_SFD_CallDispatchers",
     .tab = kTabDispatchers,
     .at = {.trunk = 0},
     .encoding = Encoding::PackedDial,
     .width = 16},
};
inline constexpr FieldRow kIncomingColumns[] = {
    {.id = "incoming",
     .caption = "Incoming Message",
     .control = "StrGrid_STA_StatusNames",
     .tab = kTabStatus,
     .at = {.trunk = 0},
     .encoding = Encoding::Text,
     .width = 12},
};
inline constexpr FieldRow kOutgoingColumns[] = {
    {.id = "outgoing",
     .caption = "Outgoing Message",
     .control = "StrGrid_STA_StatusNames",
     .tab = kTabStatus,
     .at = {.trunk = 0},
     .encoding = Encoding::Text,
     .width = 12},
};

inline constexpr fields::RecordTable kGroupRecords = {.id = "identities.groups",
                                                      .base = {.trunk = kGroups},
                                                      .stride = kRecordSize,
                                                      .capacity = 8,
                                                      .columns = kGroupColumns};
inline constexpr fields::RecordTable kFiveDigitWide = {.id = "identities.five_digit",
                                                       .base = {.trunk = kFiveDigitWideAt},
                                                       .stride = 8,
                                                       .capacity = 10,
                                                       .columns = kFiveDigitWideColumns};
inline constexpr fields::RecordTable kFiveDigitPacked = {.id = "identities.five_digit_11",
                                                         .base = {.trunk = kFiveDigitPackedAt},
                                                         .stride = 6,
                                                         .capacity = 10,
                                                         .columns = kFiveDigitPackedColumns};
inline constexpr fields::RecordTable kDispatcherStrings = {.id = "identities.dispatchers",
                                                           .base = {.trunk = kDispatcherStringsAt},
                                                           .stride = 16,
                                                           .capacity = 10,
                                                           .columns = kDispatcherStringColumns};
inline constexpr fields::RecordTable kIncoming = {.id = "identities.status_in",
                                                  .base = {.trunk = kStatusIncoming},
                                                  .stride = 12,
                                                  .capacity = kStatusCount,
                                                  .columns = kIncomingColumns};
inline constexpr fields::RecordTable kOutgoing = {.id = "identities.status_out",
                                                  .base = {.trunk = kStatusOutgoing},
                                                  .stride = 12,
                                                  .capacity = kStatusCount,
                                                  .columns = kOutgoingColumns};

inline constexpr fields::RecordTable kRecords[] = {kGroupRecords, kDispatcherStrings, kIncoming,
                                                   kOutgoing};
// The two halves of the five-digit table share their column names, so each is a table of its own.
inline constexpr fields::RecordTable kFiveDigitWideRecords[] = {kFiveDigitWide};
inline constexpr fields::RecordTable kFiveDigitPackedRecords[] = {kFiveDigitPacked};

static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kGroupRecords, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kFiveDigitWide, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kFiveDigitPacked, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kDispatcherStrings, fields::ImageId::Trunk,
                                   trunk::kJobPartSize));
static_assert(fields::RecordsValid(kIncoming, fields::ImageId::Trunk, trunk::kJobPartSize));
static_assert(fields::RecordsValid(kOutgoing, fields::ImageId::Trunk, trunk::kJobPartSize));

inline constexpr fields::FieldTable kTable = {.id = "identities",
                                              .form = kFormCaption,
                                              .area = fields::Area::NetworkSlot,
                                              .rows = kRows,
                                              .records = kRecords};
inline constexpr fields::FieldTable kFiveDigitTable = {.id = "identities.five_digit",
                                                       .form = kFormCaption,
                                                       .area = fields::Area::NetworkSlot,
                                                       .records = kFiveDigitWideRecords};
inline constexpr fields::FieldTable kFiveDigit11Table = {.id = "identities.five_digit_11",
                                                         .form = kFormCaption,
                                                         .area = fields::Area::NetworkSlot,
                                                         .records = kFiveDigitPackedRecords};

// The rows by id, for the map's own code.
const FieldRow& Row(std::string_view id);

}  // namespace id_rows

// ---- Numbering of a slot ----

struct Numbering {
    int scheme = kSchemeMpt1343;
    AnnPrefixTable ann{};
    CpsxBounds cpsx{};
};
// The scheme and ANN prefix table of the slot's network file, the CPSX counts of its job part.
Numbering NumberingOfSlot(const TrunkJobImage& image, int selector);

// ---- IdentityRecord ----

struct IdentityRecord {
    bool defined = false;
    int prefix = 0;  // dialled prefix - 200 (MPT1343, 3RP, CPSX), or the ANN prefix
    int ident = 0;
    bool threeDigit = false;
    int fleetBase = 0;

    friend bool operator==(const IdentityRecord&, const IdentityRecord&) = default;
};

// `at` is the record's offset in `bytes`.
IdentityRecord ReadIdentityRecord(std::span<const std::uint8_t> bytes, std::size_t at);
// Writes the record whole: byte +1, bits 2-7 of +4 and byte +5 are cleared; bit 0 of +4, whose
// meaning is not known, is kept.
void WriteIdentityRecord(std::span<std::uint8_t> bytes, std::size_t at,
                         const IdentityRecord& record);

// Which conversion a field uses: the own identity must be a unit; dispatcher and data
// identities may be units or groups and are kept with the individual formulas; groups with the
// group formulas.
enum class IdentityField { Own, Individual, Group };

// A dialled identity with what the fields computed from the own identity need.
struct ParsedIdentity {
    IdentityRecord record;  // defined is false for an empty text
    int digits = 0;         // MPT1343 and 3RP: 2 or 3 digits of unit or group number
    AnnClass annClass = AnnClass::None;
    int fleet = 0;         // the dialled fleet number
    int leadingDigit = 0;  // ANN
    int fleetSize = 0;     // CPSX: idents of the fleet
    int unitCount = 0;     // CPSX: units of the fleet
};

// Parses and checks a dialled identity of `field` in the scheme; the failing check shows its
// message and gives nullopt. An empty text gives a record that is not defined.
std::optional<ParsedIdentity> ParseIdentity(std::string_view text, IdentityField field,
                                            const Numbering& numbering, Person& person);
// The dialled form of a record; empty when the record is not defined or the scheme has no number
// for it.
std::string FormatIdentity(const IdentityRecord& record, IdentityField field,
                           const Numbering& numbering);

// ---- The Radio Identity and Groups pages ----

inline constexpr std::size_t kGroupCount = 8;

struct IdentityTexts {
    std::string own;
    std::string dispatcher;
    std::string data;
    std::string highestUnit;
    std::array<std::string, kGroupCount> groups;
    std::string highestGroup;
    std::string ownFleetGroup;  // MPT1343 and 3RP
    std::string dynamicGroup;   // CPSX
};

IdentityTexts LoadIdentityTexts(const TrunkJobImage& image, int selector);
// Writes the identities, highest unit and group and the dynamic group into the slot. Never
// refuses: a text that does not parse leaves its record cleared, without a message. The CPSX
// counts must be stored first (the conversions use the slot's counts).
//
// `loaded` is what the form showed after its load pass: a field that still shows it keeps its
// bytes as they are (a job read from a radio is stored as the radio had it); the fields computed
// from the own identity are stored again when it changed. Null stores every field (after a
// change of the CPSX counts, which gives every dialled number another ident).
void StoreIdentityTexts(TrunkJobImage& image, int selector, const IdentityTexts& texts,
                        const IdentityTexts* loaded = nullptr);

// The exit checks of the fields computed from the own identity. `replaceWith` is the text the
// field then shows, where the check sets one.
struct ExitCheck {
    bool passed = true;
    std::optional<std::string> replaceWith;
};
ExitCheck CheckHighestUnit(std::string_view text, std::string_view ownText,
                           const Numbering& numbering, Person& person);
ExitCheck CheckHighestGroup(std::string_view text, std::string_view ownText,
                            std::string_view ownFleetGroupText, const Numbering& numbering,
                            Person& person);
ExitCheck CheckOwnFleetGroup(std::string_view text, std::string_view highestGroupText,
                             Person& person);

// Large <= Medium <= Small; a change that breaks it warns with the message of the count that
// changed and gives false.
enum class CpsxCount { Large, Medium, Small };
bool CheckCpsxCounts(const CpsxBounds& counts, CpsxCount changed, Person& person);

// What a refused change of the CPSX counts puts back: every count 10 (an order the check takes),
// the radio, dispatcher and data identities, the dynamic group and every group emptied, the
// highest unit 200 and the highest group 900.
inline constexpr std::int64_t kCpsxResetCount = 10;
inline constexpr std::string_view kCpsxResetHighestUnit = "200";
inline constexpr std::string_view kCpsxResetHighestGroup = "900";

// ---- Five-digit dialling ----

inline constexpr std::size_t kFiveDigitEntries = 20;

struct FiveDigitEntry {
    std::string fleetCode;  // empty for an unused entry
    std::string prefix;
    std::string fleet;
    std::string highest;

    friend bool operator==(const FiveDigitEntry&, const FiveDigitEntry&) = default;
};
std::vector<FiveDigitEntry> LoadFiveDigit(const TrunkJobImage& image, int selector);
// An entry with FleetCode 0 (or empty) is stored as zeros; a prefix or fleet out of range stores
// 0 in its field. Entries equal to their `loaded` ones (when given) keep their bytes.
void StoreFiveDigit(TrunkJobImage& image, int selector, std::span<const FiveDigitEntry> entries,
                    std::span<const FiveDigitEntry> loaded = {});

enum class FiveDigitColumn { FleetCode = 1, Prefix = 2, Fleet = 3, Highest = 4 };
// The check of a cell: nullopt when the value passes, else its message. `onEnter` picks the
// padding the message has when Enter is pressed (otherwise the cell is being left); the Highest
// Number is checked against the row's FleetCode only when the cell is left.
struct CellMessage {
    BoxKind kind;  // an error when Enter is pressed, a warning when the cell is left
    std::string_view text;
};
std::optional<CellMessage> CheckFiveDigitCell(FiveDigitColumn column, std::string_view text,
                                              std::string_view fleetCodeText, bool onEnter);
inline constexpr std::string_view kDefineFleetCodeFirst =
    "Please define the FleetCode first.              \n ";

// ---- Status list ----

struct StatusEntry {
    std::string incoming;
    std::string outgoing;
    std::string reply;  // "Status", "STA+GPS", "STA+JOB" or "STA+JOB+GPS"

    friend bool operator==(const StatusEntry&, const StatusEntry&) = default;
};
std::vector<StatusEntry> LoadStatusList(const TrunkJobImage& image, int selector);
// Texts are cut to 12 characters; a reply that is none of the four words stores 0, as do
// statuses 0 and 31. Entries equal to their `loaded` ones (when given) keep their bytes.
void StoreStatusList(TrunkJobImage& image, int selector, std::span<const StatusEntry> entries,
                     std::span<const StatusEntry> loaded = {});

// ---- Everything else a store writes ----

// The marker, the two cleared arrays, the spare data option bits, the DTMF lengths and lead
// bytes, and the dispatcher loading (cleared while auto-call is off). Run after the plain rows
// are stored.
void StoreDerivedFields(TrunkJobImage& image, int selector);

// The data retries and lead-in delay are kept in the image only by programs after version 3131;
// older jobs show 0 and 1.
inline constexpr std::uint16_t kLastVersionWithoutDataRetries = 3131;
inline constexpr std::string_view kOldJobDataRetries = "0";
inline constexpr std::string_view kOldJobLeadInDelay = "1";
bool DataRetriesStored(const TrunkJobImage& image);

}  // namespace km
