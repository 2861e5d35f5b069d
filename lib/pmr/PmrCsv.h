#pragma once
// The channel table and the zone table of a PMR job as CSV files ("PMR,Channels" and
// "PMR,Zones"). An export reads the image as last stored; an import is read whole and checked
// before anything of the job is replaced, so a wrong file changes nothing.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Csv.h"
#include "image/Images.h"
#include "pmr/ChannelTable.h"
#include "pmr/Zones.h"

namespace km::pmr {

inline constexpr std::string_view kCsvKind = "PMR";
inline constexpr std::string_view kChannelsTable = "Channels";
inline constexpr std::string_view kZonesTable = "Zones";
inline constexpr std::string_view kChannelsHeader =
    "Channel Number,Channel Name,Chan Or Group, Rx Freq,Tx Freq,Tx Power,Hidden Channel,Com "
    "Repeater,Chan Bndwdth,CTCSS DCS,Rx Tone,Tx Tone, Select CTCSS,Rx Normal DCS,Rx Inverted "
    "DCS,Tx Inverted DCS,Secall Enabled, Open Selcall,Rx Lockout,Tx Lockout,Selcall "
    "Encode,Active Decode1,Active Decode2,Active Decode3,Active Decode4,Active Decode5,Active "
    "Decode6,Active Decode7,Active Decode8,Economiser,OverrideXtal,PttOffEnc,NoFfskANI";
inline constexpr std::string_view kNotAChannelTableText =
    "File does not contain a valid Channel Table.";
inline constexpr std::string_view kNotAZoneTableText = "File does not contain a valid Zone Table.";

// One entry of the table as its row of the file (UTF-8, no line end), and a row read back as an
// import reads it; nullopt for a row without a number of up to four digits. The rows the
// clipboard carries are these too.
std::string ChannelCsvRow(const ChannelEntry& entry);
std::optional<ChannelEntry> ChannelOfCsvRow(std::string_view line, int radioTypeMask);

// Files are bytes in Windows-1252. The file of the image's channel table (records in table order,
// CR LF line ends).
std::string ChannelsCsv(const PmrJobImage& image);

struct ChannelsImport {
    bool valid = false;  // line 1 names a PMR channel table
    ChannelTable table;
    // Rows left out: a number outside 0..999 or no number, a number an earlier row has, or a
    // row beyond the table's 1000 entries.
    int skipped = 0;
};
// Reads a channel file. Groups get the hidden flag the Group Editor would give them for the head.
ChannelsImport ReadChannelsCsv(std::string_view file, int radioTypeMask);

// "3 rows of the file were not imported: ..." for rows an import left out.
std::string SkippedRowsText(int skipped);

// The file of the image's zones (zones 1 up to the zone count).
std::string ZonesCsv(const PmrJobImage& image);

struct ImportedZone {
    std::string name;                // UTF-8
    std::vector<ZoneEntry> entries;  // in position order
};
struct ZonesImport {
    bool valid = false;
    std::vector<ImportedZone> zones;  // at most 20
};
ZonesImport ReadZonesCsv(std::string_view file);

// Puts imported zones into the job: every zone record's entries and the zone grids are replaced,
// the grids show zone 1. The names reach the image with the next store.
void ApplyZonesImport(const ZonesImport& import, PmrJobImage& image, ZoneGrids& grids);

// The two tables on a job's bytes, as km700rcp-cli csv lists its tables: the file of a job, and a
// file into a job (the summary, or the message of a file that is no such table, which changes
// nothing). The store messages of the channel table (a frequency off the raster, too many
// groups) are not shown: the records are stored as the desktop program stores them.
std::string ExportChannelsCsvOfImage(std::span<const std::uint8_t> job);
std::variant<csv::ImportSummary, std::string> ImportChannelsCsvIntoImage(
    std::span<std::uint8_t> job, std::string_view file, int countryCode);
std::string ExportZonesCsvOfImage(std::span<const std::uint8_t> job);
std::variant<csv::ImportSummary, std::string> ImportZonesCsvIntoImage(std::span<std::uint8_t> job,
                                                                      std::string_view file);

}  // namespace km::pmr
