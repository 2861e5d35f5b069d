#include "pmr/ChannelOptions.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "config/FieldRoutines.h"
#include "config/RadioTypes.h"

namespace km::pmr {
namespace {

namespace orows = options_rows;
using fields::FieldRow;
using fields::FieldValue;

// Select switch modes of the User Interface options.
constexpr int kSwitchNotUsed = 0;
constexpr int kSwitchChannelEntries = 1;
constexpr int kSwitchFirstChannels = 2;
constexpr int kSwitchContinuous = 3;
constexpr int kSecondGeneration = 2;
// The head variant of the second generation portables, which can power on at the switches.
constexpr int kSwitchHeadVariant = 2;

// Economiser times the radio cannot take, and what they load as.
constexpr std::int64_t kLongestEconTime = 9999;
constexpr std::int64_t kEncodeNone = 255;
constexpr std::uint16_t kLastDataFreeVersion = 300;

bool SwitchSelectsChannels(const ZoneSwitches& switches) {
    return switches.selectSwitchMode == kSwitchChannelEntries ||
           switches.selectSwitchMode == kSwitchFirstChannels;
}

std::size_t At(const FieldRow& row) {
    return static_cast<std::size_t>(row.at.pmr);
}

std::optional<std::int64_t> NumberIn(const FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? std::optional(*number) : std::nullopt;
}

std::optional<std::int64_t> Read(const PmrJobImage& image, const FieldRow& row) {
    return NumberIn(fields::ReadField(row, image.Bytes(), At(row)));
}

void Write(PmrJobImage& image, const FieldRow& row, const FieldValue& value) {
    fields::WriteField(row, image.Bytes(), At(row), value);
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The 1-based number of the first zone record in use, or nullopt.
std::optional<int> FirstZoneInUse(const PmrJobImage& image) {
    for (int z = 0; z < kZones; ++z) {
        const auto number = NumberIn(fields::ReadField(
            zone_rows::kNumber, image.Bytes(), pmr_rows::ZoneStart(z) + At(zone_rows::kNumber)));
        if (number != orows::kNoZone) {
            return z + 1;
        }
    }
    return std::nullopt;
}

// The channel of the first used entry of zone `zone` (1-based), or nullopt.
std::optional<int> FirstChannelOfZone(const PmrJobImage& image, int zone) {
    for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
        const ZoneEntry entry = ReadZoneEntry(image, zone - 1, e);
        if (entry.Used()) {
            return entry.channel;
        }
    }
    return std::nullopt;
}

bool ZoneLists(const PmrJobImage& image, int zone, int channel) {
    for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
        const ZoneEntry entry = ReadZoneEntry(image, zone - 1, e);
        if (entry.Used() && entry.channel == channel) {
            return true;
        }
    }
    return false;
}

// A channel field left: 0..999, then the table must have the channel.
bool ChannelInTable(std::string_view channel, const ChannelTable& table, Person& person) {
    return RangeCheck(channel, 0, orows::kHighestChannel, person) &&
           ChannelDefined(table, static_cast<int>(IntegerOfField(channel)), person);
}

}  // namespace

// ---- Power lists ------------------------------------------------------------------------------

std::span<const fields::Choice> PowerList(const FieldRow& row, int radioTypeMask) {
    if (IsPortableMask(radioTypeMask)) {
        return orows::kPortablePowerChoices;
    }
    return row.choices;
}

PowerLevels PowerLevelsOf(const PmrJobImage& image) {
    return {static_cast<int>(Read(image, orows::kHighPower).value_or(0)),
            static_cast<int>(Read(image, orows::kMediumPower).value_or(0)),
            static_cast<int>(Read(image, orows::kLowPower).value_or(0))};
}

// ---- Visibility -------------------------------------------------------------------------------

bool HasZones(int radioTypeMask) {
    return HeadIn(HeadOfMask(radioTypeMask),
                  {Head::HmF, Head::HmD, Head::Portable0, Head::Kp8AC, Head::Kp8BD});
}

namespace {

// The id of a row of the options table; a misspelt id does not compile.
constexpr std::string_view Id(std::string_view id) {
    return orows::Row(id).id;
}

constexpr std::string_view kDisplayHeadIds[] = {Id("options.goto_a"),
                                                Id("options.goto_b"),
                                                Id("options.goto_c"),
                                                Id("options.goto_d"),
                                                Id("options.change_clear_on_call"),
                                                Id("options.repeater_defeat"),
                                                Id("options.dont_display_chan_number")};
// What the microphone's cradle does, and the ignition sense: mobiles only.
constexpr std::string_view kMobileIds[] = {
    Id("options.out_of_cradle_alert"),        Id("options.pause_scan_off_hook"),
    Id("options.stop_vote_off_cradle"),       Id("options.in_cradle_mute_ctcss"),
    Id("options.in_cradle_mute_selcall"),     Id("options.in_cradle_clear_on_call"),
    Id("options.in_cradle_timed_reset"),      Id("options.in_cradle_encode"),
    Id("options.out_of_cradle_unmute_ctcss"), Id("options.out_of_cradle_unmute_selcall"),
    Id("options.out_of_cradle_set_on_call"),  Id("options.out_of_cradle_mute_speaker"),
    Id("options.out_of_cradle_encode"),       Id("options.ignition_sense_gps")};
// The skip time and the battery economiser: portables only.
constexpr std::string_view kPortableIds[] = {Id("options.skip_time"), Id("options.econ_awake"),
                                             Id("options.econ_sleep"), Id("options.econ_pause")};
constexpr std::string_view kVoteIndexIds[] = {Id("options.display_vote_channel")};
// Carried, never shown.
constexpr std::string_view kCarriedIds[] = {
    Id("options.pager_channel"), Id("options.scan_threshold"), Id("options.dtmf_on"),
    Id("options.dtmf_hang_time"), Id("options.gps_distance")};

struct ShowRule {
    std::span<const std::string_view> ids;
    bool (*shown)(Head head);
};
constexpr ShowRule kShowRules[] = {
    {kDisplayHeadIds,
     [](Head h) {
         return HeadIn(h, {Head::HmC, Head::HmE, Head::HmF, Head::HmD, Head::Kp8AC, Head::Kp8BD});
     }},
    {kMobileIds, &IsMobileHead},
    {kPortableIds, &IsPortableHead},
    {kVoteIndexIds, [](Head h) { return h != Head::Portable0; }},
    {kCarriedIds, [](Head) { return false; }},
};

}  // namespace

bool OptionShown(const FieldRow& row, Head head, bool radioModeSet) {
    if (!radioModeSet) {
        return false;
    }
    for (const ShowRule& rule : kShowRules) {
        if (std::find(rule.ids.begin(), rule.ids.end(), row.id) != rule.ids.end()) {
            return rule.shown(head);
        }
    }
    return true;
}

// ---- Power-on ---------------------------------------------------------------------------------

bool SwitchChoiceOffered(int portableGeneration, const ZoneSwitches& switches) {
    return portableGeneration == kSecondGeneration &&
           switches.selectSwitchMode != kSwitchContinuous;
}

PowerOnGroup PowerOnGroupOf(bool zoneMode, const ZoneSwitches& switches) {
    const bool forced = zoneMode ? switches.abcSwitchZoneSelect || SwitchSelectsChannels(switches)
                                 : SwitchSelectsChannels(switches);
    return {!forced, forced};
}

int PowerOnChoiceClicked(int choice, const ZoneSwitches& switches, Person& person) {
    if (choice == orows::kPowerOnSwitch && switches.selectSwitchMode == kSwitchNotUsed &&
        !switches.abcSwitchZoneSelect) {
        person.Warn(kSwitchNeedsSelectText);
        return orows::kPowerOnLast;
    }
    return choice;
}

PowerOnFields PowerOnFieldsShown(int mode, int radioTypeMask) {
    const bool defined = mode == orows::kPowerOnDefined;
    return {defined, defined && HasZones(radioTypeMask)};
}

int PowerOnModeToStore(const PowerOnChoice& choice) {
    int mode = choice.mode;
    const ZoneSwitches& switches = choice.switches;
    if (choice.headVariant != kSwitchHeadVariant) {
        return mode == orows::kPowerOnSwitch ? orows::kPowerOnLast : mode;
    }
    if (SwitchSelectsChannels(switches)) {
        mode = orows::kPowerOnSwitch;
    }
    if (switches.selectSwitchMode == kSwitchContinuous) {
        return mode == orows::kPowerOnSwitch ? orows::kPowerOnLast : mode;
    }
    if (choice.zoneMode && switches.abcSwitchZoneSelect) {
        mode = orows::kPowerOnSwitch;
    }
    if (mode == orows::kPowerOnSwitch && switches.selectSwitchMode == kSwitchNotUsed &&
        !switches.abcSwitchZoneSelect) {
        mode = orows::kPowerOnLast;
    }
    return mode;
}

void StorePowerOn(const PowerOnChoice& choice, PmrJobImage& image) {
    const int mode = PowerOnModeToStore(choice);
    Write(image, orows::kPowerOnMode, std::int64_t{mode});

    std::optional<int> zone;
    if (mode == orows::kPowerOnDefined) {
        zone = choice.zoneMode ? choice.definedZone : std::nullopt;
    } else {
        zone = FirstZoneInUse(image);
    }
    Write(image, orows::kPowerOnZone, zone ? FieldValue(std::int64_t{*zone}) : FieldValue(""));

    const auto firstVisible = Read(image, pmr_rows::kFirstVisibleRow);
    std::optional<std::int64_t> channel;
    if (mode == orows::kPowerOnDefined && choice.definedChannel) {
        channel = *choice.definedChannel;
    } else if (mode == orows::kPowerOnSwitch && choice.zoneMode) {
        channel = zone ? FirstChannelOfZone(image, *zone) : std::nullopt;
    } else {
        channel = firstVisible;
    }
    // 0xFFFF (every entry hidden, or no channel in the zone) stays "none".
    Write(image, orows::kPowerOnChannel,
          channel && *channel != orows::kNoChannel ? FieldValue(*channel) : FieldValue(""));
}

// ---- Field checks -----------------------------------------------------------------------------

bool DefinedZoneLeft(std::string_view zone, const ZoneGrids& grids, Person& person) {
    if (Blank(zone)) {
        return true;
    }
    if (!RangeCheck(zone, 1, orows::kHighestZone, person)) {
        return false;
    }
    if (Blank(grids.names[static_cast<std::size_t>(IntegerOfField(zone) - 1)])) {
        person.Warn(kZoneNotDefinedText);
        return false;
    }
    return true;
}

ExitResult DefinedChannelLeft(std::string_view channel, std::string_view zone,
                              const ChannelTable& table, const ZoneGrids& grids, PmrJobImage& image,
                              Person& person) {
    if (Blank(channel)) {
        return ExitResult::Pass;
    }
    if (!ChannelInTable(channel, table, person)) {
        return ExitResult::Refuse;
    }
    if (!grids.zoneMode) {
        return ExitResult::Pass;
    }
    WriteShownZone(grids, image);
    if (Blank(zone)) {
        person.Warn(kDefineZoneFirstText);
        return ExitResult::ClearChannel;
    }
    const std::int64_t number = IntegerOfField(zone);
    if (number < 1 || number > kZones ||
        !ZoneLists(image, static_cast<int>(number), static_cast<int>(IntegerOfField(channel)))) {
        person.Warn(kChannelNotInZoneText);
        return ExitResult::Refuse;
    }
    return ExitResult::Pass;
}

bool GotoChannelLeft(std::string_view channel, const ChannelTable& table, Person& person) {
    if (Blank(channel)) {
        return true;
    }
    if (!RangeCheck(channel, 0, orows::kHighestChannel, person)) {
        return false;
    }
    // A Goto may name a channel the table does not hold yet: the user is told, nothing more.
    ChannelDefined(table, static_cast<int>(IntegerOfField(channel)), person);
    return true;
}

bool DualWatchChannelLeft(std::string_view channel, const ChannelTable& table, Person& person) {
    if (Blank(channel)) {
        return true;
    }
    if (!ChannelInTable(channel, table, person)) {
        return false;
    }
    person.Warn(kDualWatchActiveText);
    return true;
}

// ---- Load -------------------------------------------------------------------------------------

FieldValue ShownOnLoad(const FieldRow& row, const FieldValue& stored) {
    const auto number = NumberIn(stored);
    if (!number) {
        return stored;
    }
    if (row.blankRaw == 0 && row.encoding == fields::Encoding::U8 && *number == kEncodeNone) {
        return std::string();  // an encode byte of 255 names no encode
    }
    if (&row == &orows::kEconAwake && (*number == 0 || *number > kLongestEconTime)) {
        return row.defaultValue;
    }
    if ((&row == &orows::kEconSleep || &row == &orows::kEconPause) && *number > kLongestEconTime) {
        return row.defaultValue;
    }
    return stored;
}

bool DataSettingsStored(const PmrJobImage& image) {
    return image.U16(kVersionWordOffset) > kLastDataFreeVersion;
}

// ---- DTMF sequences ---------------------------------------------------------------------------

namespace {

// The rows of the sequence record at `at`: lead, count, digits, fill, tail.
const std::array<FieldRow, 5>& SequenceRows(int at) {
    return at == orows::kDtmf2 ? orows::kDtmf2Rows : orows::kDtmf1Rows;
}

}  // namespace

bool IsDtmfCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == '-';
}

std::string DtmfSequenceOf(std::span<const std::uint8_t> bytes, int at) {
    const auto& rows = SequenceRows(at);
    const auto count = NumberIn(fields::ReadField(rows[1], bytes, At(rows[1]))).value_or(0);
    std::string digits = std::get<std::string>(fields::ReadField(rows[2], bytes, At(rows[2])));
    digits.resize(std::min<std::size_t>(
        digits.size(),
        static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, orows::kDtmfDigits))));
    return digits;
}

void StoreDtmfSequence(std::span<std::uint8_t> bytes, int at, std::string_view text) {
    // An unchanged sequence keeps its bytes, codes no key has included.
    if (DtmfSequenceOf(bytes, at) == text) {
        return;
    }
    std::string digits;
    for (char c : text) {
        if (IsDtmfCharacter(c) && digits.size() < static_cast<std::size_t>(orows::kDtmfDigits)) {
            digits.push_back(c);
        }
    }
    const auto& rows = SequenceRows(at);
    fields::RewriteField(rows[0], bytes, At(rows[0]), std::int64_t{0});
    fields::RewriteField(rows[1], bytes, At(rows[1]), static_cast<std::int64_t>(digits.size()));
    fields::RewriteField(rows[2], bytes, At(rows[2]), digits);
    fields::RewriteField(rows[3], bytes, At(rows[3]), std::int64_t{orows::kDtmfFill});
    fields::RewriteField(rows[4], bytes, At(rows[4]), std::string());
}

}  // namespace km::pmr
