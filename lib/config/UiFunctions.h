#pragma once
// The functions a programmable key, the man-down alert or an input line of the radio can carry,
// the output functions of an output line, and the entries of the radio's menus. Each view has its
// own function table; each control head offers a part of it (its `RadioTypeMask` in an entry's
// head mask).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "config/RadioTypes.h"
#include "fields/Field.h"

namespace km {

// Control heads and portable models as bits of a set of heads (their RadioTypeMask values).
constexpr int HeadBit(Head head) {
    return static_cast<int>(head);
}
inline constexpr int kHeadHmA = HeadBit(Head::HmA);
inline constexpr int kHeadHmB = HeadBit(Head::HmB);
inline constexpr int kHeadHmC = HeadBit(Head::HmC);
inline constexpr int kHeadHmE = HeadBit(Head::HmE);
inline constexpr int kHeadHmF = HeadBit(Head::HmF);
inline constexpr int kHeadHmD = HeadBit(Head::HmD);
inline constexpr int kHeadPortable0 = HeadBit(Head::Portable0);
inline constexpr int kHeadKp8AC = HeadBit(Head::Kp8AC);
inline constexpr int kHeadKp8BD = HeadBit(Head::Kp8BD);
inline constexpr int kMobileHeads = kHeadHmA | kHeadHmB | kHeadHmC | kHeadHmE | kHeadHmF | kHeadHmD;
inline constexpr int kPortableHeads = kHeadPortable0 | kHeadKp8AC | kHeadKp8BD;
inline constexpr int kAllHeads = kMobileHeads | kPortableHeads;

// What an entry is offered for: the flags of the function tables.
inline constexpr std::uint8_t kKeyUse = 1;        // function buttons, man-down, toggle
inline constexpr std::uint8_t kLineUse = 1 << 4;  // input lines
inline constexpr std::uint8_t kKeyAndLine = kKeyUse | kLineUse;

// How the radio treats an input line's function: stored in bits 2-3 of the line's record.
enum class FunctionKind : std::uint8_t { Normal = 1, Ptt = 2 };

inline constexpr std::uint16_t kNoFunction = 0xFFFF;

struct FunctionEntry {
    std::string_view name;     // shown in the lists; empty for a row that is never offered
    std::string_view display;  // the radio's short text for the function
    int heads;                 // the RadioTypeMask values that offer it
    std::uint8_t uses;
    std::uint16_t code;  // what is stored
    FunctionKind kind = FunctionKind::Normal;
};

enum class FunctionView { Trunk, Pmr };

// The view's function table, in list order.
std::span<const FunctionEntry> FunctionTable(FunctionView view);

// The entries a list offers for a head: those with `use` whose head mask holds `radioTypeMask`,
// in table order.
std::vector<const FunctionEntry*> OfferedFunctions(FunctionView view, int radioTypeMask,
                                                   std::uint8_t use);

// The first entry of the table that stores `code`, or null.
const FunctionEntry* FunctionOfCode(FunctionView view, std::uint16_t code);

// Output functions of an output line, as list entries (text and stored code).
std::span<const fields::Choice> OutputFunctions(FunctionView view);

// ---- Menus ----

struct MenuEntry {
    std::string_view name;
    std::uint16_t code;
    int heads = kAllHeads;
};

inline constexpr std::uint16_t kNoMenu = 0xFFFF;
inline constexpr std::uint16_t kSetupMenu = 5;

inline constexpr MenuEntry kMenuEntries[] = {
    {"No Menu", kNoMenu},
    {"PhoneBook", 0},
    {"Recall", 1},
    {"Stored Calls", 2},
    {"Call Types", 3},
    {"Status", 4},
    {"Setup", kSetupMenu},
    {"User Options", 6},
    {"Group", 7},
    {"Phbk Edit", 8},
    {"Contrast", 9},
    {"Alert Volume", 10},
    {"Info", 11},
    {"Network", 12},
    {"VOX Sensitivity", 13, kAllHeads & ~kHeadHmD},
    {"NA", 14},
    {"NA", 15},
    {"Send Message", 16},
};

// The menu entries a head offers, in table order.
std::vector<const MenuEntry*> OfferedMenus(int radioTypeMask);

// ---- The tables as list entries of field rows ----

namespace function_choices {

// Entries of a table that have a name, each code once: what a dump shows for a stored code.
constexpr std::size_t NamedCodeCount(std::span<const FunctionEntry> table) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        bool seen = table[i].name.empty();
        for (std::size_t j = 0; j < i && !seen; ++j) {
            seen = !table[j].name.empty() && table[j].code == table[i].code;
        }
        count += seen ? 0 : 1;
    }
    return count;
}

// The list entries of a table's named codes; with `lowByte` the codes are their low bytes (the
// man-down alert keeps only that byte).
template <std::size_t N>
constexpr std::array<fields::Choice, N> NamedCodes(std::span<const FunctionEntry> table,
                                                   bool lowByte) {
    std::array<fields::Choice, N> choices{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < table.size() && n < N; ++i) {
        bool seen = table[i].name.empty();
        for (std::size_t j = 0; j < i && !seen; ++j) {
            seen = !table[j].name.empty() && table[j].code == table[i].code;
        }
        if (!seen) {
            choices[n++] = {lowByte ? table[i].code & 0xFF : table[i].code, table[i].name};
        }
    }
    return choices;
}

}  // namespace function_choices

// The trunk table, declared here so that rows can take their list entries from it.
inline constexpr FunctionEntry kTrunkFunctions[] = {
    {"Undefined", "", kAllHeads, kKeyAndLine, kNoFunction},
    {"Alarm", "Alarm", kAllHeads, kKeyAndLine, 7},
    {"Auxiliary", "Aux", kMobileHeads, kKeyUse, 0x11},
    {"Call", "Call", kAllHeads, kKeyAndLine, 0},
    {"Call SFD 1", "Call1", kAllHeads, kKeyAndLine, 8},
    {"Call SFD 2", "Call2", kAllHeads, kKeyAndLine, 9},
    {"Call SFD 3", "Call3", kAllHeads, kKeyAndLine, 0x0A},
    {"Call SFD 4", "Call4", kAllHeads, kKeyAndLine, 0x0B},
    {"Clear", "Clear", kAllHeads, kKeyAndLine, 6},
    {"Ext Alert ", "ExtAlert", kMobileHeads, kKeyUse, 0x0C},
    {"Left", "Left", kAllHeads, kKeyAndLine, 1},
    {"Menu", "Menu", kAllHeads, kKeyAndLine, 3},
    {"OK", "OK", kAllHeads, kKeyAndLine, 5},
    {"Radio Select", "RadSel", kMobileHeads, kKeyUse, 0x0D},
    {"Right", "Right", kAllHeads, kKeyAndLine, 2},
    {"Send DTMF1", "DTMF-1", kAllHeads, kKeyAndLine, 0x12},
    {"Send DTMF2", "DTMF-2", kAllHeads, kKeyAndLine, 0x13},
    {"Volume Up", "", kAllHeads, kLineUse, 0x0E},
    {"Volume Dn", "", kAllHeads, kLineUse, 0x0F},
    {"", "", 0, 0, 4},
    {"VOX Enable", "VOX", kMobileHeads, kKeyUse, 0x14},
    {"Speaker Mute", "Spkr", kAllHeads, kKeyAndLine, 0x15},
    {"Lock/Unlock Keys", "Lock", kAllHeads, kKeyUse, 0x16},
    {"Scrambler On/Off", "Secure", kAllHeads, kKeyUse, 0x17},
    {"Mode", "Mode", kAllHeads, kKeyUse, 0x18},
    {"Stored Calls", "Calls", kAllHeads, 0, 0x19},
    {"----------------", "", kAllHeads, kLineUse, 0xFE},
    {"Cradle Mute", "", kAllHeads, kLineUse, 0x8A},
    {"External Alert", "", kAllHeads, kLineUse, 0x87},
    {"Mic Mute", "", kAllHeads, kLineUse, 0x84},
    {"PTT Mic", "", kAllHeads, kLineUse, 0x80, FunctionKind::Ptt},
    {"PTT Data", "", kAllHeads, kLineUse, 0x81, FunctionKind::Ptt},
    {"PTT Ext", "", kAllHeads, kLineUse, 0x82, FunctionKind::Ptt},
    {"PTT Ext Data", "", kAllHeads, kLineUse, 0x83, FunctionKind::Ptt},
    {"PTT Hands Free", "", kAllHeads, kLineUse, 0x89, FunctionKind::Ptt},
    {"RTS/PTT", "", kAllHeads, kLineUse, 0x86},
    {"Spare", "", kAllHeads, 0, 0x88},
    {"Speaker_Mute", "", kAllHeads, kLineUse, 0x85},
    {"External GPS", "", kAllHeads, kLineUse, 0x8B},
    {"Undefined", "", kAllHeads, kLineUse, kNoFunction},
};

namespace detail {

// A row of the PMR table as the program lists it; a code of -1 takes the next code of 0x03..0x40
// that no row names.
struct PmrFunctionSource {
    std::string_view name;
    std::string_view display = {};
    int heads = kAllHeads;
    std::uint8_t uses = kKeyAndLine;
    int code = -1;
    FunctionKind kind = FunctionKind::Normal;
};

inline constexpr int kPmrScanHeads = kHeadHmC | kHeadHmE | kHeadHmF | kHeadHmD;
inline constexpr int kPmrZoneHeads = kHeadHmF | kHeadHmD | kHeadKp8AC | kHeadKp8BD;
inline constexpr int kKp8Heads = kHeadKp8AC | kHeadKp8BD;

inline constexpr PmrFunctionSource kPmrFunctionSources[] = {
    {"Alarm", "Alarm", kAllHeads, kKeyAndLine, 0x22},
    {"Auxiliary"},
    {"Channel Up", "Chn Up", kAllHeads, kKeyAndLine, 0x0F},
    {"Channel Down", "Chn Dn", kAllHeads, kKeyAndLine, 0x10},
    {"Cradle Off"},
    {"Cradle On"},
    {"CTCSS/DCS"},
    {"External Alert"},
    {"Goto ChA"},
    {"Goto ChB"},
    {"Goto ChC"},
    {"Goto ChD"},
    {"KeypadFunction"},
    {"Key MicMode"},
    {"Low Power"},
    {"Menu"},
    {"Menu Down"},
    {"Mic Key0"},
    {"Monitor-Reset", "MonRes", kAllHeads, kKeyAndLine, 2},
    {"Mute"},
    {"Noise Blanker", "Blankr", kPortableHeads, kKeyAndLine, 0x21},
    {"PTT On", "", 0, 0, 0x2A, FunctionKind::Ptt},
    {"PTT Off", "", 0, 0, 0x2B, FunctionKind::Ptt},
    {"Radio Select"},
    {"Repeater Defeat"},
    {"Repeater Mode"},
    {"Reset"},
    {"Scan", "Scan", kPmrScanHeads, kKeyAndLine, 5},
    {"Scan Add"},
    {"Scrambler On/Off"},
    {"Scrambler-2"},
    {"Send2"},
    {"Send Ch Encode", "Snd-CE", kAllHeads, kKeyAndLine, 1},
    {"Send DTMF1"},
    {"Send DTMF2"},
    {"Special Enc1", "SpEnc1", kAllHeads, kKeyAndLine, 0x18},
    {"Special Enc2", "SpEnc2", kAllHeads, kKeyAndLine, 0x19},
    {"Special Enc3", "SpEnc3", kAllHeads, kKeyAndLine, 0x1A},
    {"Special Enc4", "SpEnc4", kAllHeads, kKeyAndLine, 0x1B},
    {"Special Enc5", "SpEnc5", kAllHeads, kKeyAndLine, 0x1C},
    {"Special Enc6", "SpEnc6", kAllHeads, kKeyAndLine, 0x1D},
    {"Special Enc7", "SpEnc7", kAllHeads, kKeyAndLine, 0x1E},
    {"Special Enc8", "SpEnc8", kAllHeads, kKeyAndLine, 0x1F},
    {"SquelchDef"},
    {"Transpond Disable"},
    {"T-Test"},
    {"Toggle Volume"},
    {"User CTCSS"},
    {"Volume Up"},
    {"Volume Down"},
    {"VOX Enable"},
    {"", "", 0, 0},
    {"", "", 0, 0},
    {"", "", 0, 0},
    {"", "", 0, 0},
    {"Lock/UnLock Key"},
    {"", "", 0, 0},
    {"Backlight", "BLite", kKp8Heads, kKeyUse, 0x37},
    {"CalibrationTone"},
    {"Mode"},
    {"Zone Select", "Zone", kPmrZoneHeads, kKeyUse, 0x3A},
    {"Zone Up"},
    {"Zone Down"},
    {"", "", 0, 0},
};
inline constexpr int kFirstListedPmrCode = 0x03;

constexpr bool PmrCodeNamed(int code) {
    for (const PmrFunctionSource& source : kPmrFunctionSources) {
        if (source.code == code) {
            return true;
        }
    }
    return false;
}

// The PMR table: "Undefined" (no function) first, as the trunk table has it, so that a key
// without a function is one of the list's entries; then the program's rows.
constexpr std::array<FunctionEntry, std::size(kPmrFunctionSources) + 1> BuildPmrFunctions() {
    std::array<FunctionEntry, std::size(kPmrFunctionSources) + 1> table{};
    table[0] = {"Undefined", "", kAllHeads, kKeyAndLine, kNoFunction};
    int next = kFirstListedPmrCode;
    for (std::size_t i = 0; i < std::size(kPmrFunctionSources); ++i) {
        const PmrFunctionSource& source = kPmrFunctionSources[i];
        int code = source.code;
        if (code < 0) {
            while (PmrCodeNamed(next)) {
                ++next;
            }
            code = next++;
        }
        table[i + 1] = {source.name,
                        source.display,
                        source.heads,
                        source.uses,
                        static_cast<std::uint16_t>(code),
                        source.kind};
    }
    return table;
}

}  // namespace detail

inline constexpr auto kPmrFunctions = detail::BuildPmrFunctions();
// Every row of the program's table has a code of 0x03..0x40 or one of its own.
static_assert(kPmrFunctions.back().code == 0x40);

// A trunk store writes the mobile heads' fixed keys, among them code 4, which no function of
// the lists has: the dump names it.
inline constexpr fields::Choice kTrunkFixedKey = {4, "(head key)"};
constexpr auto TrunkKeyChoices() {
    constexpr std::size_t kNamed = function_choices::NamedCodeCount(kTrunkFunctions);
    const auto named = function_choices::NamedCodes<kNamed>(kTrunkFunctions, false);
    std::array<fields::Choice, kNamed + 1> choices{};
    for (std::size_t i = 0; i < kNamed; ++i) {
        choices[i] = named[i];
    }
    choices[kNamed] = kTrunkFixedKey;
    return choices;
}
inline constexpr auto kTrunkKeyChoices = TrunkKeyChoices();
inline constexpr auto kPmrKeyChoices =
    function_choices::NamedCodes<function_choices::NamedCodeCount(kPmrFunctions)>(kPmrFunctions,
                                                                                  false);
inline constexpr auto kTrunkLowByteChoices =
    function_choices::NamedCodes<function_choices::NamedCodeCount(kTrunkFunctions)>(kTrunkFunctions,
                                                                                    true);
inline constexpr auto kPmrLowByteChoices =
    function_choices::NamedCodes<function_choices::NamedCodeCount(kPmrFunctions)>(kPmrFunctions,
                                                                                  true);

// The menu entries as list entries, each code once.
constexpr std::array<fields::Choice, std::size(kMenuEntries) - 1> MenuChoices() {
    std::array<fields::Choice, std::size(kMenuEntries) - 1> choices{};
    std::size_t n = 0;
    for (const MenuEntry& entry : kMenuEntries) {
        bool textSeen = false;
        for (std::size_t i = 0; i < n; ++i) {
            textSeen = textSeen || choices[i].text == entry.name;
        }
        if (!textSeen) {
            choices[n++] = {entry.code, entry.name};
        }
    }
    return choices;
}
inline constexpr auto kMenuChoices = MenuChoices();

}  // namespace km
