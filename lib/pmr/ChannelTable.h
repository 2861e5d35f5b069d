#pragma once
// The in-memory channel table of a PMR job (`ChannelTable`): the channels and groups in number
// order, loaded from the image by `LoadChannelTable` and written back, with everything the radio
// computes from them, by `StoreChannelTable`. Between the two the table is the truth.
//
// An entry keeps its stored fields in the 32 bytes of its channel record, read and written
// through the record's columns (ChannelRows.h), so the editors, the list and the CSV files use
// the same rows as the dump. Only what the record cannot hold as the user sees it lives beside
// it: the frequencies in hertz (with the 800 MHz of the X8 band) and a group's member list.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"
#include "fields/Field.h"
#include "pmr/ChannelRows.h"

namespace km::pmr {

using ChannelRecord = std::array<std::uint8_t, kRecordSize>;

enum class GroupType { UserScan = 0, FixedScan = 1, Vote = 2, Multiax = 3 };
enum class Power { Low = 0, Medium = 1, High = 2 };
enum class Bandwidth { k10 = 0, k12_5 = 1, k20 = 2, k25 = 3 };

// Scan groups hold 15 members and a priority channel, vote and multiax groups 16 members.
inline constexpr int kScanGroupMembers = 15;
int MemberCapacity(GroupType type);

struct ChannelEntry {
    ChannelRecord record{};
    std::int64_t rxHz = 0;  // with the X8 band's 800 MHz
    std::int64_t txHz = 0;  // 0: transmit disabled
    std::array<std::uint16_t, kGroupMembers> members = FilledMembers();
    std::uint16_t scanPriority = kNoMember;

    // A column of the record.
    std::int64_t Get(const fields::FieldRow& column) const;
    void Set(const fields::FieldRow& column, std::int64_t value);
    bool Flag(const fields::FieldRow& column) const { return Get(column) != 0; }
    void SetFlag(const fields::FieldRow& column, bool on) { Set(column, on ? 1 : 0); }

    int Number() const;
    void SetNumber(int number);
    std::string Name() const;  // UTF-8
    void SetName(std::string_view utf8);
    bool IsGroup() const;

  private:
    static constexpr std::array<std::uint16_t, kGroupMembers> FilledMembers() {
        std::array<std::uint16_t, kGroupMembers> members{};
        members.fill(kNoMember);
        return members;
    }
};

// The group type as the record's type bits say (the rule the load uses), and the bits of a type.
GroupType GroupTypeOf(const ChannelEntry& entry);
void SetGroupType(ChannelEntry& entry, GroupType type);
Power PowerOf(const ChannelEntry& entry);
void SetPower(ChannelEntry& entry, Power power);
Bandwidth BandwidthOf(const ChannelEntry& entry);
void SetBandwidth(ChannelEntry& entry, Bandwidth bandwidth);

// A new entry (`ResetEditBuffer`): selcall and open selcall on, every decode active, 12.5 kHz,
// a fixed scan group type, both frequencies at `rxHz`.
ChannelEntry DefaultEntry(std::int64_t rxHz);
// A new entry made a new group (`Add Scan/Vote Group`): its selcall scanning is off, though it
// shares its bit with a channel's Selcall Enabled, which a new channel has on.
ChannelEntry NewGroupOf(ChannelEntry entry);

// Messages of the table.
inline constexpr std::string_view kChannelNotDefinedText =
    "Channel has not been defined in the channel table.";
inline constexpr std::string_view kUsedInGroupText =
    "Cannot delete channel.                               \n"
    "Channel is used in a Scan or Vote group.";
inline constexpr std::string_view kUsedAsPriorityText =
    "Cannot delete channel.                           \nChannel is used in a Scan group.";
inline constexpr std::string_view kTooManyUserScanGroupsText =
    "Too many groups.                           \nThe maximum number of User Scan Groups is 4";
inline constexpr std::string_view kTooManyGroupsText =
    "Too many groups.                           \nThe maximum number of Group Channels is 250";
// Renumbering a channel a group lists would leave the group naming a channel that is gone.
inline constexpr std::string_view kRenumberUsedInGroupText =
    "Cannot change the channel number.                               \n"
    "Channel is used in a Scan or Vote group.";

// "Channel " + number + " RX frequency not divisable by reference." (or TX).
std::string NotOnRasterText(int number, bool transmit);

class ChannelTable {
  public:
    const std::vector<ChannelEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const ChannelEntry& At(std::size_t position) const { return entries_.at(position); }

    // Adds a copy in number order and returns its position. Refused (nullopt) when the table
    // holds 1000 entries, the number lies outside 0..999 or another entry has it.
    std::optional<std::size_t> Add(const ChannelEntry& entry);
    // Puts `entry` in place of the entry at `position` and returns its new position; refused as
    // Add (the entry replaced does not count as a duplicate).
    std::optional<std::size_t> Replace(std::size_t position, const ChannelEntry& entry);
    void Remove(std::size_t position);
    void Clear() { entries_.clear(); }

    // The position of the entry with that number.
    std::optional<std::size_t> Find(int number) const;
    // True when an entry other than the one at `except` has the number.
    bool NumberTaken(int number, std::optional<std::size_t> except = std::nullopt) const;
    // The number an added entry proposes: the last number + 1, or 0 after 998 and for an empty
    // table.
    int NextNumber() const;

    // The groups that list `number` as a member, or as their scan priority channel.
    bool UsedAsMember(int number) const;
    bool UsedAsPriority(int number) const;

    // Entries as an image holds them, duplicates and all: the load keeps every record it finds.
    void AppendLoaded(const ChannelEntry& entry);
    void SortByNumber();

  private:
    std::vector<ChannelEntry> entries_;
};

// `ChannelDefined`: true when an entry has the number; otherwise warns that the channel is not
// in the table.
bool ChannelDefined(const ChannelTable& table, int number, Person& person);

// `DeleteSelected`'s checks: refuses (with the message) an entry a group lists.
bool DeleteAllowed(const ChannelTable& table, std::size_t position, Person& person);

// True when the Channel Options name the channel as the defined power-on channel, a Goto
// channel or the dual watch channel.
bool ChannelOptionsName(const PmrJobImage& image, int number);

// What the store needs from the rest of the job.
struct StoreSettings {
    int highPowerLevel = 0;  // index of the power lists, copied into every record
    int lowPowerLevel = 0;
    int radioTypeMask = 0;
    int countryCode = 0;
};

// The power level indexes as the image holds them (the Channel Options form's lists).
StoreSettings StoreSettingsOf(const PmrJobImage& image, int radioTypeMask, int countryCode);

// `LoadChannelTable`: empties the table and fills it from the image (a count above 1000 loads an
// empty table).
void LoadChannelTable(const PmrJobImage& image, ChannelTable& table);

// `StoreChannelTable`: rewrites the channel records, both group areas, the markers and the
// counters from the table; a frequency off the raster and groups beyond the limits are told to
// the person and stored as the radio can take them.
void StoreChannelTable(const ChannelTable& table, const StoreSettings& settings, PmrJobImage& image,
                       Person& person);

// The entry's line in the channel list, and the list's title.
inline constexpr std::string_view kListTitle =
    "Chn  Name         RxFrequency RXL CTCSS  TxFrequency TXL CTCSS PWR SC CR SP H";
std::string ListLine(const ChannelEntry& entry);

// "User Scan Grp", "Fixed Scan Grp", "Vote Group", "Multiax Group".
std::string_view GroupTypeText(GroupType type);

}  // namespace km::pmr
