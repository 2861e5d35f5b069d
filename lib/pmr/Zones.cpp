#include "pmr/Zones.h"

#include <algorithm>

#include "config/FieldRoutines.h"
#include "config/UiMap.h"
#include "fields/FieldOps.h"

namespace km::pmr {
namespace {

namespace zr = zone_rows;
using fields::FieldRow;
using fields::FieldValue;

// The User Interface options the zones depend on: the top rotary select switch and the top A/B/C
// switch, whose first position's use 2 selects zones.
constexpr const FieldRow& kSelectSwitch = key_rows::RowOf("ui.keys.select_switch");
constexpr std::int64_t kAbcZoneSelect = 2;
constexpr int kChannelEntriesMode = 1;
constexpr int kFirstChannelsMode = 2;
constexpr int kDialEntries = 16;

constexpr std::size_t kUndefinedZeroedBytes = 24;  // name and bytes 12..23
constexpr std::size_t kReservedByte12 = 12;
constexpr std::size_t kReservedByte14 = 14;
constexpr std::size_t kEntriesUsedByte = 13;

std::size_t ZoneAt(int zone) {
    return pmr_rows::ZoneStart(zone);
}

std::size_t EntryAt(int zone, int entry) {
    return ZoneAt(zone) + kZoneEntryOffset + kZoneEntrySize * static_cast<std::size_t>(entry);
}

// A number read through a row whose blank stands for `blank`.
int NumberOf(const FieldValue& value, int blank) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? static_cast<int>(*number) : blank;
}

int Read(const PmrJobImage& image, const FieldRow& row, std::size_t at, int blank) {
    return NumberOf(
        fields::ReadField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.pmr)), blank);
}

void Write(PmrJobImage& image, const FieldRow& row, std::size_t at, std::int64_t value) {
    fields::RewriteField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.pmr), value);
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The entries of a zone as the grid shows them.
void ShowEntries(const PmrJobImage& image, int zone, ZoneGrids& grids) {
    grids.channels.fill({});
    for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
        const ZoneEntry entry = ReadZoneEntry(image, zone, e);
        // Rows past the grid's 254 are not shown, and not stored back.
        if (entry.Used() && entry.row < kZonePositions) {
            grids.channels[static_cast<std::size_t>(entry.row)] = std::to_string(entry.channel);
        }
    }
}

// The grid's channels into a zone's entries, packed in row order, the rest emptied. The dial
// positions are kept (`keepDials`) or cleared.
void WriteGrid(const ZoneGrids& grids, int zone, bool keepDials, PmrJobImage& image) {
    int e = 0;
    for (int row = 0; row < kZonePositions; ++row) {
        const std::string& cell = grids.channels[static_cast<std::size_t>(row)];
        if (Blank(cell)) {
            continue;
        }
        const int dial = keepDials ? ReadZoneEntry(image, zone, e).dial : 0;
        const auto channel = static_cast<int>(
            std::clamp<std::int64_t>(IntegerOfField(cell), 0, kEmptyZoneChannel - 1));
        WriteZoneEntry(image, zone, e++, {channel, dial, row});
    }
    for (; e < static_cast<int>(kZoneEntries); ++e) {
        WriteZoneEntry(image, zone, e, {});
    }
}

void WriteDialPositions(PmrJobImage& image, int zone, int selectSwitchMode) {
    int next = 1;
    for (int e = 0; e < kDialEntries; ++e) {
        ZoneEntry entry = ReadZoneEntry(image, zone, e);
        entry.dial = 0;
        if (selectSwitchMode == kChannelEntriesMode && entry.Used() && entry.row < kDialEntries) {
            entry.dial = entry.row + 1;
        } else if (selectSwitchMode == kFirstChannelsMode && entry.Used()) {
            entry.dial = next++;
        }
        WriteZoneEntry(image, zone, e, entry);
    }
}

void DefineZone(PmrJobImage& image, int zone, const std::string& name) {
    fields::WriteField(zr::kName, image.Bytes(), ZoneAt(zone), name);
    image.SetU8(ZoneAt(zone) + kReservedByte12, 0);
    image.SetU8(ZoneAt(zone) + kReservedByte14, 0);
    Write(image, zr::kNumber, ZoneAt(zone), zone + 1);
}

void UndefineZone(PmrJobImage& image, int zone) {
    image.FillRegion(ZoneAt(zone), kUndefinedZeroedBytes, 0);
    Write(image, zr::kNumber, ZoneAt(zone), kUndefinedZoneNumber);
    for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
        WriteZoneEntry(image, zone, e, {});
    }
}

int UsedEntries(const PmrJobImage& image, int zone) {
    int used = 0;
    for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
        used += ReadZoneEntry(image, zone, e).Used() ? 1 : 0;
    }
    return used;
}

// The 1-based number of the last zone whose name begins with neither 0 nor 0xFF.
int LastNamedZone(const PmrJobImage& image) {
    for (int z = kZones; z > 0; --z) {
        const std::uint8_t first = image.U8(ZoneAt(z - 1));
        if (first != 0 && first != 0xFF) {
            return z;
        }
    }
    return 0;
}

}  // namespace

ZoneEntry ReadZoneEntry(const PmrJobImage& image, int zone, int entry) {
    const std::size_t at = EntryAt(zone, entry);
    return {Read(image, zr::kEntryChannel, at, kEmptyZoneChannel),
            Read(image, zr::kEntryDial, at, 0), Read(image, zr::kEntryRow, at, kEmptyZoneRow)};
}

void WriteZoneEntry(PmrJobImage& image, int zone, int entry, const ZoneEntry& value) {
    const std::size_t at = EntryAt(zone, entry);
    // Bit 2 of the first byte, which no row names, is always 0.
    image.FillRegion(at, kZoneEntrySize, 0);
    Write(image, zr::kEntryChannel, at, value.channel);
    Write(image, zr::kEntryDial, at, value.dial);
    Write(image, zr::kEntryRow, at, value.row);
}

std::string ZoneName(const PmrJobImage& image, int zone) {
    return std::get<std::string>(fields::ReadField(zr::kName, image.Bytes(), ZoneAt(zone)));
}

int ZoneCountOf(const PmrJobImage& image) {
    return std::min<int>(image.U16(pmr::kZoneCount), kZones);
}

void LoadZones(const PmrJobImage& image, ZoneGrids& grids) {
    grids = {};
    grids.zoneMode = Read(image, pmr_rows::kZoneModeRow, 0, 0) != 0;
    if (image.U16(kVersionWordOffset) < kFirstVersionWithZones) {
        return;
    }
    for (int z = 0; z < kZones; ++z) {
        // A record names the grid row it belongs to; 0 and anything past 20 name none.
        const int number = Read(image, zr::kNumber, ZoneAt(z), kUndefinedZoneNumber);
        const std::string name = ZoneName(image, z);
        if (number >= 1 && number <= kZones && !name.empty()) {
            grids.names[static_cast<std::size_t>(number - 1)] = name;
        }
    }
    ShowEntries(image, 0, grids);
}

void SelectZone(ZoneGrids& grids, int zone, bool& zoneReload, PmrJobImage& image) {
    const int leaving = zoneReload ? 0 : grids.currentZone;
    zoneReload = false;
    if (zone == leaving || zone < 0 || zone >= kZones) {
        return;
    }
    WriteGrid(grids, leaving, false, image);
    ShowEntries(image, zone, grids);
    grids.currentZone = zone;
}

void WriteShownZone(const ZoneGrids& grids, PmrJobImage& image) {
    WriteGrid(grids, grids.currentZone, false, image);
}

ZoneSwitches ZoneSwitchesOf(const PmrJobImage& image) {
    const auto read = [&](const FieldRow& row) {
        return fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr));
    };
    const FieldValue mode = read(kSelectSwitch);
    const auto* number = std::get_if<std::int64_t>(&mode);
    return {number ? static_cast<int>(*number) : 0,
            read(*key_rows::kDialUses[0]) == FieldValue(kAbcZoneSelect)};
}

void StoreZones(const ZoneGrids& grids, const ZoneSwitches& switches, PmrJobImage& image) {
    fields::WriteField(pmr_rows::kZoneModeRow, image.Bytes(), kZoneModeByte,
                       std::int64_t{grids.zoneMode});
    for (int z = 0; z < kZones; ++z) {
        const std::string& name = grids.names[static_cast<std::size_t>(z)];
        if (Blank(name)) {
            UndefineZone(image, z);
        } else {
            DefineZone(image, z, name);
        }
    }
    // A zone whose name was emptied loses the channels its grid still shows.
    if (!Blank(grids.names[static_cast<std::size_t>(grids.currentZone)])) {
        WriteGrid(grids, grids.currentZone, true, image);
    }
    for (int z = 0; z < kZones; ++z) {
        image.SetU8(ZoneAt(z) + kEntriesUsedByte, static_cast<std::uint8_t>(UsedEntries(image, z)));
        WriteDialPositions(image, z, switches.selectSwitchMode);
    }
    image.SetU16(pmr::kZoneCount, static_cast<std::uint16_t>(LastNamedZone(image)));
    if (!grids.zoneMode && switches.abcSwitchZoneSelect) {
        for (const auto& rows : {key_rows::kDialUses, key_rows::kDialValues}) {
            for (const FieldRow* row : rows) {
                fields::WriteField(*row, image.Bytes(), static_cast<std::size_t>(row->at.pmr),
                                   std::int64_t{0});
            }
        }
    }
}

std::string ZoneChannelName(const ChannelTable& table, std::string_view channel) {
    if (Blank(channel)) {
        return {};
    }
    const auto position = table.Find(static_cast<int>(IntegerOfField(channel)));
    return position ? table.At(*position).Name() : std::string();
}

bool ZoneChannelLeft(std::string_view channel, const ChannelTable& table, Person& person) {
    if (Blank(channel)) {
        return true;
    }
    return RangeCheck(channel, 0, kHighestNumber, person) &&
           ChannelDefined(table, static_cast<int>(IntegerOfField(channel)), person);
}

bool ZonesList(const ZoneGrids& grids, const PmrJobImage& image, int channel) {
    for (const std::string& cell : grids.channels) {
        if (!Blank(cell) && IntegerOfField(cell) == channel) {
            return true;
        }
    }
    for (int z = 0; z < kZones; ++z) {
        if (z == grids.currentZone || Blank(grids.names[static_cast<std::size_t>(z)])) {
            continue;
        }
        for (int e = 0; e < static_cast<int>(kZoneEntries); ++e) {
            const ZoneEntry entry = ReadZoneEntry(image, z, e);
            if (entry.Used() && entry.row < kZonePositions && entry.channel == channel) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace km::pmr
