#pragma once
// Tables shared by the templates and the sample network: the default radio texts (display of
// the HM-F head) and the defaults of a new network file.

#include <string_view>

#include "ImageTables.h"
#include "image/Images.h"

namespace km::datagen {

inline constexpr std::string_view kTrunkMessages[] = {
    "All Units",  "Incoming...",  "Alerting",    "Backlight",    "Busy",
    "Call Back",  "Radio Busy",   "Call PABX",   "Call PSTN",    "Engaged",
    "Cancelling", "Confirmed",    "Diverted",    "Emergency",    "Outgoing...",
    "Enter No.",  "Enter Text",   "Dead",        "Volume",       "Apco P25",
    "Invalid",    "Key beeps",    "Load",        "Loading",      "DTMF",
    "Network 1",  "Network 2",    "No Service",  "Out of Fleet", "Queued",
    "Queueing",   "System Busy",  "Save",        "Saving",       "PMR",
    "Unknown",    "Unobtainable", "Unavailable", "Voice",        "Data",
    "Status",     "SEL to Edit",  "Code:",       "New Message",  "",
    "Network 2",  "Emergency",    "Lock",
};
// Rows 0..43; rows 44..47 of the PMR image stay empty.
inline constexpr std::string_view kPmrMessages[] = {
    "Added",      "Called",      "Stunned",   "Backlight",    "Busy",
    "Repeater",   "Call Failed", "Data Msg",  "SEL to Edit",  "ID:",
    "Cancelling", "Confirmed",   "DTMF",      "Volume",       "Outgoing...",
    "Enter No.",  "Enter Text",  "Ext Alert", "Incompatible", "Multiax",
    "Invalid",    "Key beeps",   "Load",      "Loading",      "Apco P25",
    "Network 1",  "Network 2",   "Voting",    "Scanning",     "Queued",
    "Dual Watch", "Code:",       "Save",      "Saving",       "PMR",
    "Unknown",    "On Call",     "",          "Member",       "Priority",
    "Skipped",    "Deleted",     "Lock",      "Out Of Area",
};
inline constexpr std::string_view kTrunkMenus[] = {
    "PhoneBook",
    "Recall",
    "Stored Calls",
    "Call Types",
    "Status",
    "Setup",
    "User Options",
    "Group",
    "Ph Book Edit",
    "Contrast",
    "Alert Volume",
    "Radio Info",
    "Network",
    "",
    "",
    "",
    "Send Message",
    "--- MENU ---",
};
inline constexpr std::string_view kPmrMenus[] = {
    "Menu",         "PhoneBook", "Status",       "Stored Calls",
    "Mute Adjust",  "Setup",     "User Options", "User CTCSS",
    "Ph Book Edit", "Contrast",  "Alert Volume", "Radio Info",
    "Network",      "RSSI",      "Lone Worker",  "",
    "Send Message", "Zone",
};
inline constexpr std::string_view kTrunkEditFunctions[] = {
    "Add", "Del", "Edit", "OK", "Back", "More", "On", "Off", "Exit", "Done",
};
inline constexpr std::string_view kPmrEditFunctions[] = {
    "Add",  "Del",  "Edit",  "OK",    "Done", "Skip", "Prty",  "Exit",
    "Back", "More", "Key-1", "Key-2", "On",   "Off",  "Key-3", "Key-4",
};
inline constexpr std::string_view kCtcssToneNames[] = {
    "Undefined",   "Q, 67.0 Hz",  "R, 71.9 Hz",  "S, 74.4 Hz",  "T, 77.0 Hz",  "U, 79.7 Hz",
    "I, 82.5 Hz",  "V, 85.4 Hz",  "A, 88.5 Hz",  "W, 91.5 Hz",  "J, 94.8 Hz",  "=, 97.4 Hz",
    "B, 100 Hz",   "K, 103.5 Hz", "C, 107.2 Hz", "L, 110.9 Hz", "D, 114.8 Hz", "M, 118.8 Hz",
    "E, 123.0 Hz", "N, 127.3 Hz", "F, 131.8 Hz", "O, 136.5 Hz", "G, 141.3 Hz", "P, 146.2 Hz",
    "H, 151.4 Hz", "X, 156.7 Hz", "Y, 162.2 Hz", "0, 167.9 Hz", "1, 173.8 Hz", "2, 179.9 Hz",
    "3, 186.2 Hz", "4, 192.8 Hz", "5, 203.5 Hz", "6, 210.7 Hz", "7, 218.1 Hz", "8, 225.7 Hz",
    "9, 233.6 Hz", "*, 241.8 Hz", "#, 250.3 Hz", "Ch Default",
};

// Defaults of a new network file (NetworkImage offsets): signal levels, pressel messages, the
// protocol timers, error limits and an empty roaming table. The band stays 0 (no network).
inline constexpr WordFill kNetworkWords[] = {
    {112, 100},
    {114, 90},  // mobile levels L0, L2 (-dBm)
    {122, 100},
    {124, 90},  // portable levels L0, L2 (-dBm)
    {142, 4},   // vote-now sample length, slots
    {144, 1},
    {146, 1},  // pressel-on and pressel-off messages
    // Timers TA, TB, TC, TD (seconds), TF, TGI, TGG, TH, TI, TL, TJ, TN, TP, TR, TS, TT, TW, TX.
    {400, 60},
    {402, 2},
    {404, 60},
    {406, 600},
    {408, 180},
    {410, 5},
    {412, 10},
    {414, 4},
    {416, 2},
    {418, 20},
    {420, 10},
    {422, 7},
    {424, 5},
    {426, 250},
    {428, 5},
    {430, 60},
    {432, 60},
    {434, 180},
    {454, 3},  // NS
    {456, 6},  // NT
    {network::kRoamingTable, 0xFFFF, 50},
};
// Error limits, Continuous and Time Shared: NC1, NC2, NX1, NX2, NZ1, NZ2, NV.
inline constexpr std::uint8_t kErrorLimits[] = {2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 3, 3, 2, 2};
inline constexpr std::size_t kErrorLimitsOffset = 440;
inline constexpr TextField kNetworkTexts[] = {
    {network::kMarker, 16, "--NETWORK FILE--"},
};

template <std::size_t N>
void ApplyNewNetworkDefaults(ByteImage<N>& image, std::size_t base) {
    Apply(image, {{}, kNetworkWords, kNetworkTexts}, base);
    image.Write(base + kErrorLimitsOffset, kErrorLimits);
}

template <std::size_t N>
void ApplyRoamingTableEmpty(ByteImage<N>& image, std::size_t base) {
    constexpr WordFill kEmptyRoaming[] = {{network::kRoamingTable, 0xFFFF, 50}};
    Apply(image, {{}, kEmptyRoaming, {}}, base);
}

}  // namespace km::datagen
