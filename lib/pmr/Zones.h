#pragma once
// The zones of a PMR job: up to 20 named lists of up to 254 channels, from which the radio in
// zone mode selects a zone and then a channel. The zones page shows two grids: the zone names
// and the channels of one zone (the current zone); the other zones' channels stay in the image
// between zone selections, so the image's zone area is written partly at each selection and
// completed by the store.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"
#include "pmr/ChannelRows.h"
#include "pmr/ChannelTable.h"

namespace km::pmr {

// The two grids of the zones page, as typed.
struct ZoneGrids {
    std::array<std::string, kZones> names{};             // rows 1..20
    std::array<std::string, kZonePositions> channels{};  // the "Channel" column, rows 1..254
    int currentZone = 0;                                 // whose channels the grid shows
    bool zoneMode = false;

    bool operator==(const ZoneGrids&) const = default;
};

// Images stored by a program older than this have no zones to show.
inline constexpr std::uint16_t kFirstVersionWithZones = 5401;

// One entry of a zone record.
struct ZoneEntry {
    int channel = kEmptyZoneChannel;
    int dial = 0;
    int row = kEmptyZoneRow;
    bool Used() const { return row != kEmptyZoneRow; }
};
ZoneEntry ReadZoneEntry(const PmrJobImage& image, int zone, int entry);
void WriteZoneEntry(PmrJobImage& image, int zone, int entry, const ZoneEntry& value);
std::string ZoneName(const PmrJobImage& image, int zone);
// The zone count of the header, never more than there are zone records.
int ZoneCountOf(const PmrJobImage& image);

// The zone part of the load: zone mode, the names, and the channels of zone 1.
void LoadZones(const PmrJobImage& image, ZoneGrids& grids);

// A selection of zone `zone` (0-based) in the names grid: the channels shown go into the zone
// being left (zone 0 after a job was loaded, `zoneReload`, which is cleared), then the new zone's
// channels are shown.
void SelectZone(ZoneGrids& grids, int zone, bool& zoneReload, PmrJobImage& image);

// Writes the channels the grid shows into the image's entries of the current zone, as a zone
// selection does (before a check that reads the zone from the image).
void WriteShownZone(const ZoneGrids& grids, PmrJobImage& image);

// What the store needs from the User Interface options.
struct ZoneSwitches {
    int selectSwitchMode = 0;  // 0 Not Used, 1 Chan Entries 1-16, 2 First 16 channels, 3 ...
    bool abcSwitchZoneSelect = false;
};
ZoneSwitches ZoneSwitchesOf(const PmrJobImage& image);

// The zone part of the store.
void StoreZones(const ZoneGrids& grids, const ZoneSwitches& switches, PmrJobImage& image);

// The name the grid shows beside a channel number: the table entry's, or empty.
std::string ZoneChannelName(const ChannelTable& table, std::string_view channel);

// Leaving a "Channel" cell: range 0..999, then the channel must be in the table. False keeps the
// focus in the cell.
bool ZoneChannelLeft(std::string_view channel, const ChannelTable& table, Person& person);

// True when a zone lists the channel: the current zone as its grid shows it, the others as the
// image holds them.
bool ZonesList(const ZoneGrids& grids, const PmrJobImage& image, int channel);

inline constexpr std::string_view kZoneChannelsHint =
    "Up to 254 channels can be assigned to each zone.";

}  // namespace km::pmr
