#pragma once
// Before a radio is programmed, the job decides which trunk (or PMR) code and which startup code
// the radio must run. The code files live in the radio software folder, named by a prefix and a
// suffix that follow from the job and the radio, and a three-digit version. Comparing what the
// radio runs with what the job needs and what the folder holds gives the answer: program the
// configuration only, upgrade (or downgrade) the software first, or stop. Every question about
// software versions is asked here.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"
#include "radio/RadioIdentity.h"

namespace km {

// Results of the choice: stop, or flags of the code to replace (0: configuration only).
inline constexpr int kSoftwareStop = 4096;
inline constexpr int kUpgradeStartupCode = 1;
inline constexpr int kUpgradePmrCode = 2;
inline constexpr int kUpgradeTrunkCode = 4;

// Software types that name no software build.
inline constexpr int kUnknownSoftwareType = 4096;
inline constexpr int kSpecialSoftwareType = 8192;

// What the choice takes of the job's radio type row (the control head or portable model).
struct JobRadioType {
    int RadioTypeMask = 0;
    int PortableGeneration = 0;
};

struct SoftwareChoice {
    int result = kSoftwareStop;
    std::filesystem::path codePath;  // the trunk or PMR code file
    std::filesystem::path startupCodePath;
    std::string versionText;  // the chosen files' version, "%3.2f" of version / 100
};

// The radio's code record: a 4-character part number at 25-28 and a version text at 31-36, each
// read as the number its decimal digits form (other characters are skipped).
std::string RecordPartDigits(const CodeDescriptor& record);
int RecordPartNumber(const CodeDescriptor& record);
int RecordVersion(const CodeDescriptor& record);

// The software type a radio runs, from the part number of its trunk or PMR code record.
int TrunkSoftwareType(int partNumber);
int PmrSoftwareType(int partNumber);

// "%3.2f" of version / 100 (630 gives "6.30"), without the user's locale.
std::string FormatSoftwareVersion(int version);

// A file name matches a pattern ignoring letter case; '?' stands for one character, '*' for any.
bool CodeFileNameMatches(std::string_view pattern, std::string_view name);
// The last name, in name order ignoring case, of the files in `folder` that match `pattern`.
std::optional<std::string> LastMatchingCodeFile(const std::filesystem::path& folder,
                                                std::string_view pattern);
// The number formed by the digits among the three characters before ".bin".
int CodeFileVersion(std::string_view name);

// The radio software folder of a working directory, its name matched ignoring case.
std::filesystem::path RadioSoftwareFolderIn(const std::filesystem::path& workingDirectory);

inline constexpr const char* kMobileJobIntoPortableText =
    "Cannot download KM700 Mobile Configuration into an KP800 Portable.";
inline constexpr const char* kPortableJobIntoMobileText =
    "Cannot download KP800 Portable Configuration into an KM700 Mobile.";
inline constexpr const char* kSpecialCodeQuestion =
    "Radio contains special radio code: %s0                        \nThe radio software and "
    "configuration is unknown to this RCP.                        \nDo you want to program the "
    "RCP configuration anyway?";
inline constexpr const char* kUnknownNumberingText =
    "Unknown Network Numbering System specified in configuration";
inline constexpr const char* kUnknownHeadText = "Unknown Control Head Type specified";
inline constexpr const char* kAisNumberingText =
    "AIS Option Board only supports MPT1343 or ANN Numbering.";
inline constexpr const char* kUnknownAsiProtocolText = "Unknown ASI Protocol specified";
inline constexpr const char* kUnknownOptionBoardText = "Unknown Option Board Type specified";
inline constexpr const char* kLaterVersionQuestion =
    "A later version of radio software has been found on the computer's disk drive.            "
    "\nIt is recommended that you upgrade to the latest software version.            \n\n   "
    "Current Radio Software: V%3.2f            \n   Latest Version on PC:   V%3.2f            "
    "\n\nDo you want to update radio code to the latest version?";
inline constexpr const char* kDowngradeQuestion =
    "You should upgrade your RCP to the latest version.            \n\n   Current Radio "
    "Software: V%3.2f \n   Latest Version on PC:   V%3.2f            \n\nTo be sure that your "
    "new RCP configuration works, you can downgrade your radio code to V%3.2f.            \nDo "
    "you wish to downgrade your radio software and continue programming your radio?";
inline constexpr const char* kProgramAnywayQuestion = "Do you want to program your radio anyway?";
inline constexpr const char* kMissingFileQuestion =
    "Missing File: %s                           \nCannot upgrade radio software.              "
    "             \nCurrent radio software may not be compatible with the control head.        "
    "                  \nDo you want to program the RCP configuration anyway?";
inline constexpr const char* kTrunkVersionMismatchQuestion =
    "Unable to find 'Startup Code' file with same version as 'Trunk Code' file.               "
    "           \nRadio software will not be upgraded.                           \nDo you want "
    "to program the RCP configuration anyway?";
inline constexpr const char* kPmrVersionMismatchQuestion =
    "Unable to find 'Startup Code' file with same version as 'PMR Code' file.                 "
    "         \nRadio software will not be upgraded.                           \nDo you want to "
    "program the RCP configuration anyway?";
inline constexpr const char* kTypeChangeQuestion =
    "Current radio software does not fully support the new configuration.                    "
    "       \n   Either the Control-Head,                           \n   or the Network "
    "Numbering System,                           \n   or the Option Board has changed.         "
    "                 \nAre you sure you want to change the configuration?";
inline constexpr const char* kRevision1PortableZoneText =
    "Revision 1 Portable detected.                         \nRev 1 Portables do not support the "
    "'Zone Mode' option.";
inline constexpr const char* kRevision8MobileZoneText =
    "Revision 8 Mobile detected.                      \nRev 8 Mobiles do not support the 'Zone "
    "Mode' option.";
// The code files the missing-file question names: the pattern in the radio software folder, as
// the system spells the path (relative to the current folder when the folder lies inside it,
// which is the working folder of the desktop program).
std::string MissingCodeFileText(const std::filesystem::path& folder, std::string_view pattern);

// Trunk programming: which trunk and startup code the job needs (result bits 4 and 1).
// `trunkCodeRecord` is the radio's trunk code record; `startupVersion` the version of its
// startup code record.
SoftwareChoice ChooseRadioSoftware(const TrunkJobImage& job, const JobRadioType& jobType,
                                   const RadioIdentity& radio,
                                   const CodeDescriptor& trunkCodeRecord, int startupVersion,
                                   const std::filesystem::path& radioSoftwareFolder,
                                   Person& person);

// PMR programming: which PMR and startup code the job needs (result bits 2 and 1).
SoftwareChoice ChoosePmrSoftware(const PmrJobImage& job, const JobRadioType& jobType,
                                 const RadioIdentity& radio, const CodeDescriptor& pmrCodeRecord,
                                 int startupVersion,
                                 const std::filesystem::path& radioSoftwareFolder, Person& person);

// The Zone Mode option of a PMR job needs the radio's zone table area (FIT entry 28).
bool ZoneModeSet(const PmrJobImage& job);
inline constexpr const char* kRevision8ZoneTableText =
    "Cannot program Zone Table into old Revision 8 mobile radios.                              "
    "     \nPlease un-check the Zone Mode option.";
inline constexpr const char* kOldFitZoneTableText =
    "Cannot program Zone table because radio has old FIT table.                               "
    "    \nPlease run TablePatch.exe tool to update radio's FIT table.";
// The text to refuse with when Zone Mode is set and the radio has no zone table area.
std::optional<std::string_view> ZoneTableRefusal(const PmrJobImage& job,
                                                 std::uint16_t zoneTableBlock,
                                                 const RadioIdentity& radio);

}  // namespace km
