#pragma once
// The control heads and portable models a job can be made for, as the rows of the radio type
// list, and the radio modes. The row chosen drives what the other forms show through
// `RadioTypeMask` and `PortableGeneration`.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace km {

struct RadioTypeRow {
    std::string_view text;
    std::uint8_t code;         // radio type code stored in the job header
    std::uint8_t headVariant;  // distinguishes heads that share a code
    int RadioTypeMask;
    int PortableGeneration;
};

inline constexpr int kRadioTypeRowCount = 14;
inline constexpr std::array<RadioTypeRow, kRadioTypeRowCount> kRadioTypeRows = {{
    {"HM-A External Serial", 0, 0, 1, 0},
    {"HM-B Basic Fist Mic", 1, 0, 2, 0},
    {"HM-C Alpha Mic", 2, 0, 4, 0},
    {"HM-C Plus", 2, 1, 4, 0},
    {"HM-D Handset", 8, 0, 32, 0},
    {"HM-E Handset", 3, 0, 8, 0},
    {"HM-F Control Unit", 4, 0, 16, 0},
    {"HM-F+ Control Unit", 4, 3, 16, 0},
    // Stands for an earlier portable model that has no row of its own; it cannot be chosen.
    {"----------------", 5, 0, 256, 0},
    {"KP8A", 6, 0, 512, 0},
    {"KP8B", 7, 0, 1024, 0},
    {"Reserved", 9, 2, 256, 2},
    {"KP8C", 10, 2, 512, 2},
    {"KP8D", 11, 2, 1024, 2},
}};

inline constexpr int kRowHmF = 6;
inline constexpr int kRowHmFPlus = 7;
inline constexpr int kRowHmD = 4;
inline constexpr int kSeparatorRow = 8;
inline constexpr int kReservedRow = 11;
inline constexpr int kFirstPortableRow = 8;
// A row index outside the list stores the HM-F code.
inline constexpr std::uint8_t kUnknownRowCode = 4;

inline constexpr int kPortableMasks = 256 | 512 | 1024;

// The separator and the reserved row stand for radios a job may hold but no user chooses: the
// list shows them for such a job and offers them to nobody.
constexpr bool ChoosableRow(int row) {
    return row != kSeparatorRow && row != kReservedRow;
}

// The control head or portable model of a job: its `RadioTypeMask` by name. A job whose radio type
// is not known yet has a mask no head has (0).
enum class Head : int {
    HmA = 1,
    HmB = 2,
    HmC = 4,
    HmE = 8,
    HmF = 16,
    HmD = 32,
    Portable0 = 256,  // the earlier portable, and the Reserved entry of the second generation
    Kp8AC = 512,      // KP8A, KP8C
    Kp8BD = 1024,     // KP8B, KP8D
};

constexpr Head HeadOfMask(int radioTypeMask) {
    return static_cast<Head>(radioTypeMask);
}
constexpr bool HeadIn(Head head, std::initializer_list<Head> heads) {
    for (const Head h : heads) {
        if (h == head) {
            return true;
        }
    }
    return false;
}
// The heads of a mobile: HM-A to HM-F and HM-D.
constexpr bool IsMobileHead(Head head) {
    return HeadIn(head, {Head::HmA, Head::HmB, Head::HmC, Head::HmE, Head::HmF, Head::HmD});
}
// The portables: the earlier one (and the Reserved entry) and the KP8 models.
constexpr bool IsPortableHead(Head head) {
    return HeadIn(head, {Head::Portable0, Head::Kp8AC, Head::Kp8BD});
}
// A head of the radio type list; a job whose radio type is not known yet has none.
constexpr bool IsKnownHead(Head head) {
    for (const RadioTypeRow& row : kRadioTypeRows) {
        if (HeadOfMask(row.RadioTypeMask) == head) {
            return true;
        }
    }
    return false;
}
// The KP8 portables, the models with an accessory socket.
constexpr bool IsKp8Head(Head head) {
    return HeadIn(head, {Head::Kp8AC, Head::Kp8BD});
}

constexpr bool IsPortableRow(int row) {
    return row >= kFirstPortableRow && row < kRadioTypeRowCount;
}
constexpr bool IsPortableMask(int mask) {
    return mask == 256 || mask == 512 || mask == 1024;
}
// True when the mask is one of the masks of the radio type list.
bool IsKnownRadioTypeMask(int mask);

// The row shown for a stored radio type code. Images stored by older programs numbered the list
// differently, so the decoding depends on the image's version word.
int RadioTypeRowOfCode(std::uint8_t code, std::uint8_t headVariant, std::uint16_t versionWord);

struct RadioTypeCode {
    std::uint8_t code;
    std::uint8_t headVariant;
};
RadioTypeCode RadioTypeCodeOfRow(int row);

// Radio modes, the rows of the mode list.
inline constexpr std::array<std::string_view, 3> kRadioModeTexts = {"PMR Radio", "Trunk Radio",
                                                                    "Multi Mode Radio"};
inline constexpr int kModePmr = 1;
inline constexpr int kModeTrunk = 2;
inline constexpr int kModeMulti = 4;
inline constexpr int kModeUnknown = 0x8000;
int RadioModeMaskOfRow(int row);

inline constexpr std::array<std::string_view, 4> kAccessoryTexts = {
    "None", "ACC1  (ACC2, ACC3)", "RSM-GPS  (ACC4/ACC5/ACC6)", "OEM Mic"};

}  // namespace km
