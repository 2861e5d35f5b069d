#pragma once
// A profile describes one radio the virtual radio can be: what it answers when identified, how
// its flash is laid out and what its memory holds. Profiles are small text files of
// `key = value` lines ('#' starts a comment); every key has a default, so a profile names only
// what makes its radio different. The keys are listed in sim/profiles/README.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace km::sim {

// The Software Description record of one code area, as the radio's code carries it.
struct CodeRecord {
    bool present = false;
    std::string description;
    std::string softwareCode;  // five digits; its first four are the part number
    std::string version;       // V, digit, point, two digits
    std::string date;          // dd/mm/yyyy
    int codeType = 0;
    std::string requiredRcp = "10000";
    std::string minimumRcpVersion = "V5.86";
    std::size_t imageLength = 20000;  // the code image, record included
};

enum class TableKind { FromFile, OwnTable };

// The sectors the virtual radio's memory map uses (sim/RadioMemory.h).
inline constexpr std::size_t kMemorySectors = 18;

struct Profile {
    std::string name = "radio";
    int typeCode = 0;
    bool optionBoard = false;
    // Radios of types 0 and 16 carry no Flash Index Table; the programmer uses FIT000101.bin.
    TableKind table = TableKind::FromFile;
    int flashType = 1;
    bool zoneArea = true;  // only radios with their own table have a zone table area
    std::size_t sectorCount = kMemorySectors;

    std::array<std::uint8_t, 4> esn{0x0A, 0x31, 0x00, 0x14};
    std::string band = "A1";  // two characters; empty leaves the band record's band erased
    // The virtual radio's serial numbers begin "VIRTUAL", which tells the programmer that it may
    // write the virtual radio's own data files; a profile posing as a real radio sets another.
    std::string serialNumber = "VIRTUAL-0000001";
    std::uint8_t hardwareByte26 = 0xFF;  // all bits set: no hardware option
    std::uint8_t hardwareByte27 = 0xFF;
    std::string bootLoaderDate = "14/03/2002";
    std::string fpgaBackupDate = "02/04/2002";
    std::string fpgaConfigDate = "02/04/2002";
    std::string fpgaVersion = "1.23";

    CodeRecord backupCode;
    CodeRecord startupCode;
    CodeRecord pmrCode;
    CodeRecord trunkCode;
    CodeRecord optionBoardCode;

    bool blank = false;  // every data area erased: nothing configured
    bool trunkJob = false;
    int pmrChannels = 0;  // 0: no PMR configuration
    int pmrEncodes = 0;
    int pmrGroupB = 0;
    int pmrZones = 0;
    bool trunkPhonebookEdited = false;
    bool pmrPhonebookEdited = false;
    std::string trunkConfigFile;  // raw radio-order bytes for the trunk configuration area
    std::string trunkJobFile;     // a trunk job (.tnk) the radio holds, in place of a made-up one
    std::string network1File;     // a network file (.nwk) for Network 1 of that job
    std::string pmrConfigFile;    // raw radio-order bytes for the PMR configuration area
    std::string pmrJobFile;       // a PMR job (.pmr) the radio holds, in place of a made-up one

    int eraseTimeMs = 50;
    std::uint8_t linkP1 = 14;
    std::uint8_t linkP2 = 1;
    std::string info3 = "SIM INFO 3";
    std::string info6 = "SIM INFO 6";
};

// The erase time of "realistic" mode: the radio takes about three seconds per sector.
inline constexpr int kRealisticEraseTimeMs = 3000;

// Defaults of a profile for a radio type code: the table kind and code records that a radio of
// that type carries.
Profile DefaultProfileForType(int typeCode);

struct ProfileResult {
    std::optional<Profile> profile;
    std::string error;  // "line N: ..." when the profile is refused
};

// Parses profile text. A `type` line, when present, must come first: it selects the defaults
// that the other lines then change. Unknown keys and bad values refuse the whole profile.
ProfileResult ParseProfile(const std::string& text);
ProfileResult LoadProfile(const std::filesystem::path& path);

// The serial number of the radio `index` places after one with `first`, when several radios are
// served at once: the digits at the end counted up by `index`, keeping their width while it
// suffices ("VIRTUAL-0000009", 1 gives "VIRTUAL-0000010"); digits are added after a number
// without them ("RADIO", 2 gives "RADIO-2").
std::string NthSerialNumber(const std::string& first, int index);

}  // namespace km::sim
