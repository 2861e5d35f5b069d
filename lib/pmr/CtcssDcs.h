#pragma once
// The CTCSS tones and DCS codes a channel can carry (`CtcssDcsTable`): 156 rows, the row index is
// what the channel editor's lists select. Row 0 is "Undefined", rows 1..51 the tones, rows
// 52..155 the DCS codes in ascending octal order. A channel record stores a code byte per row:
// 0 for none, the row for a tone, 0x80 + row - 51 for a DCS code.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fields/Field.h"

namespace km::pmr {

inline constexpr int kCtcssDcsRows = 156;
inline constexpr int kFirstToneRow = 1;
inline constexpr int kLastToneRow = 51;
inline constexpr int kFirstDcsRow = 52;

struct CtcssDcsRow {
    std::uint8_t codeByte;       // as a channel record stores it
    std::string_view text;       // as the lists show it: "Q, 67.0 Hz", "   150.0 Hz", "DCS 023"
    std::string_view shortText;  // as the channel list shows it: " 67.0", "023", " "
    int tenthsHz;                // a tone's frequency in 0.1 Hz; 0 for row 0 and DCS codes
};

inline constexpr std::array<CtcssDcsRow, kCtcssDcsRows> kCtcssDcsTable = {{
    {0x00, "Undefined", " ", 0},          {0x01, "Q, 67.0 Hz", " 67.0", 670},
    {0x02, "R, 71.9 Hz", " 71.9", 719},   {0x03, "S, 74.4 Hz", " 74.4", 744},
    {0x04, "T, 77.0 Hz", " 77.0", 770},   {0x05, "U, 79.7 Hz", " 79.7", 797},
    {0x06, "I, 82.5 Hz", " 82.5", 825},   {0x07, "V, 85.4 Hz", " 85.4", 854},
    {0x08, "A, 88.5 Hz", " 88.5", 885},   {0x09, "W, 91.5 Hz", " 91.5", 915},
    {0x0A, "J, 94.8 Hz", " 94.8", 948},   {0x0B, "=, 97.4 Hz", " 97.4", 974},
    {0x0C, "B, 100 Hz", "100.0", 1000},   {0x0D, "K, 103.5 Hz", "103.5", 1035},
    {0x0E, "C, 107.2 Hz", "107.2", 1072}, {0x0F, "L, 110.9 Hz", "110.9", 1109},
    {0x10, "D, 114.8 Hz", "114.8", 1148}, {0x11, "M, 118.8 Hz", "118.8", 1188},
    {0x12, "E, 123.0 Hz", "123.0", 1230}, {0x13, "N, 127.3 Hz", "127.3", 1273},
    {0x14, "F, 131.8 Hz", "131.8", 1318}, {0x15, "O, 136.5 Hz", "136.5", 1365},
    {0x16, "G, 141.3 Hz", "141.3", 1413}, {0x17, "P, 146.2 Hz", "146.2", 1462},
    {0x18, "H, 151.4 Hz", "151.4", 1514}, {0x19, "X, 156.7 Hz", "156.7", 1567},
    {0x1A, "Y, 162.2 Hz", "162.2", 1622}, {0x1B, "0, 167.9 Hz", "167.9", 1679},
    {0x1C, "1, 173.8 Hz", "173.8", 1738}, {0x1D, "2, 179.9 Hz", "179.9", 1799},
    {0x1E, "3, 186.2 Hz", "186.2", 1862}, {0x1F, "4, 192.8 Hz", "192.8", 1928},
    {0x20, "5, 203.5 Hz", "203.5", 2035}, {0x21, "6, 210.7 Hz", "210.7", 2107},
    {0x22, "7, 218.1 Hz", "218.1", 2181}, {0x23, "8, 225.7 Hz", "225.7", 2257},
    {0x24, "9, 233.6 Hz", "233.6", 2336}, {0x25, "*, 241.8 Hz", "241.8", 2418},
    {0x26, "#, 250.3 Hz", "250.3", 2503}, {0x27, "   150.0 Hz", "150.0", 1500},
    {0x28, "   206.5 Hz", "206.5", 2065}, {0x29, "    69.3 Hz", " 69.3", 693},
    {0x2A, "   159.8 Hz", "159.8", 1598}, {0x2B, "   165.5 Hz", "165.5", 1655},
    {0x2C, "   171.3 Hz", "171.3", 1713}, {0x2D, "   177.3 Hz", "177.3", 1773},
    {0x2E, "   183.5 Hz", "183.5", 1835}, {0x2F, "   189.9 Hz", "189.9", 1899},
    {0x30, "   196.6 Hz", "196.6", 1966}, {0x31, "   199.5 Hz", "199.5", 1995},
    {0x32, "   229.1 Hz", "229.1", 2291}, {0x33, "   254.1 Hz", "254.1", 2541},
    {0x81, "DCS 023", "023", 0},          {0x82, "DCS 025", "025", 0},
    {0x83, "DCS 026", "026", 0},          {0x84, "DCS 031", "031", 0},
    {0x85, "DCS 032", "032", 0},          {0x86, "DCS 036", "036", 0},
    {0x87, "DCS 043", "043", 0},          {0x88, "DCS 047", "047", 0},
    {0x89, "DCS 051", "051", 0},          {0x8A, "DCS 053", "053", 0},
    {0x8B, "DCS 054", "054", 0},          {0x8C, "DCS 065", "065", 0},
    {0x8D, "DCS 071", "071", 0},          {0x8E, "DCS 072", "072", 0},
    {0x8F, "DCS 073", "073", 0},          {0x90, "DCS 074", "074", 0},
    {0x91, "DCS 114", "114", 0},          {0x92, "DCS 115", "115", 0},
    {0x93, "DCS 116", "116", 0},          {0x94, "DCS 122", "122", 0},
    {0x95, "DCS 125", "125", 0},          {0x96, "DCS 131", "131", 0},
    {0x97, "DCS 132", "132", 0},          {0x98, "DCS 134", "134", 0},
    {0x99, "DCS 143", "143", 0},          {0x9A, "DCS 145", "145", 0},
    {0x9B, "DCS 152", "152", 0},          {0x9C, "DCS 155", "155", 0},
    {0x9D, "DCS 156", "156", 0},          {0x9E, "DCS 162", "162", 0},
    {0x9F, "DCS 165", "165", 0},          {0xA0, "DCS 172", "172", 0},
    {0xA1, "DCS 174", "174", 0},          {0xA2, "DCS 205", "205", 0},
    {0xA3, "DCS 212", "212", 0},          {0xA4, "DCS 223", "223", 0},
    {0xA5, "DCS 225", "225", 0},          {0xA6, "DCS 226", "226", 0},
    {0xA7, "DCS 243", "243", 0},          {0xA8, "DCS 244", "244", 0},
    {0xA9, "DCS 245", "245", 0},          {0xAA, "DCS 246", "246", 0},
    {0xAB, "DCS 251", "251", 0},          {0xAC, "DCS 252", "252", 0},
    {0xAD, "DCS 255", "255", 0},          {0xAE, "DCS 261", "261", 0},
    {0xAF, "DCS 263", "263", 0},          {0xB0, "DCS 265", "265", 0},
    {0xB1, "DCS 266", "266", 0},          {0xB2, "DCS 271", "271", 0},
    {0xB3, "DCS 274", "274", 0},          {0xB4, "DCS 306", "306", 0},
    {0xB5, "DCS 311", "311", 0},          {0xB6, "DCS 315", "315", 0},
    {0xB7, "DCS 325", "325", 0},          {0xB8, "DCS 331", "331", 0},
    {0xB9, "DCS 332", "332", 0},          {0xBA, "DCS 343", "343", 0},
    {0xBB, "DCS 346", "346", 0},          {0xBC, "DCS 351", "351", 0},
    {0xBD, "DCS 356", "356", 0},          {0xBE, "DCS 364", "364", 0},
    {0xBF, "DCS 365", "365", 0},          {0xC0, "DCS 371", "371", 0},
    {0xC1, "DCS 411", "411", 0},          {0xC2, "DCS 412", "412", 0},
    {0xC3, "DCS 413", "413", 0},          {0xC4, "DCS 423", "423", 0},
    {0xC5, "DCS 431", "431", 0},          {0xC6, "DCS 432", "432", 0},
    {0xC7, "DCS 445", "445", 0},          {0xC8, "DCS 446", "446", 0},
    {0xC9, "DCS 452", "452", 0},          {0xCA, "DCS 454", "454", 0},
    {0xCB, "DCS 455", "455", 0},          {0xCC, "DCS 462", "462", 0},
    {0xCD, "DCS 464", "464", 0},          {0xCE, "DCS 465", "465", 0},
    {0xCF, "DCS 466", "466", 0},          {0xD0, "DCS 503", "503", 0},
    {0xD1, "DCS 506", "506", 0},          {0xD2, "DCS 516", "516", 0},
    {0xD3, "DCS 523", "523", 0},          {0xD4, "DCS 526", "526", 0},
    {0xD5, "DCS 532", "532", 0},          {0xD6, "DCS 546", "546", 0},
    {0xD7, "DCS 565", "565", 0},          {0xD8, "DCS 606", "606", 0},
    {0xD9, "DCS 612", "612", 0},          {0xDA, "DCS 624", "624", 0},
    {0xDB, "DCS 627", "627", 0},          {0xDC, "DCS 631", "631", 0},
    {0xDD, "DCS 632", "632", 0},          {0xDE, "DCS 654", "654", 0},
    {0xDF, "DCS 662", "662", 0},          {0xE0, "DCS 664", "664", 0},
    {0xE1, "DCS 703", "703", 0},          {0xE2, "DCS 712", "712", 0},
    {0xE3, "DCS 723", "723", 0},          {0xE4, "DCS 731", "731", 0},
    {0xE5, "DCS 732", "732", 0},          {0xE6, "DCS 734", "734", 0},
    {0xE7, "DCS 743", "743", 0},          {0xE8, "DCS 754", "754", 0},
}};

// The code bytes with the lists' texts, for the channel record's code columns.
constexpr std::array<fields::Choice, kCtcssDcsRows> CtcssDcsChoices() {
    std::array<fields::Choice, kCtcssDcsRows> choices{};
    for (std::size_t i = 0; i < choices.size(); ++i) {
        choices[i] = {kCtcssDcsTable[i].codeByte, kCtcssDcsTable[i].text};
    }
    return choices;
}
inline constexpr auto kCtcssDcsChoices = CtcssDcsChoices();

constexpr bool IsDcsRow(int row) {
    return row >= kFirstDcsRow;
}

// The row of a stored code byte, or nullopt for a byte that names no row.
std::optional<int> RowOfCodeByte(std::uint8_t codeByte);

// True when the byte is a DCS code (as the CSV export's "CTCSS DCS" column tells them apart).
bool IsDcsCodeByte(std::uint8_t codeByte);

// The short form of a code byte for the channel list and the CSV export; a byte that names no
// row shows as "?".
std::string_view ShortTextOfCodeByte(std::uint8_t codeByte);

// The code byte of a tone given in 0.1 Hz, or nullopt when no row has that tone.
std::optional<std::uint8_t> ToneCodeByte(int tenthsHz);

// The code byte of a DCS code given as its three octal digits ("023"), or nullopt.
std::optional<std::uint8_t> DcsCodeByte(std::string_view digits);

}  // namespace km::pmr
