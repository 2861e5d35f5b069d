#pragma once
// Hunt channels of a network file: the sub-band table that maps channel numbers to frequencies,
// the global channel options, the normal hunt list and the comprehensive hunt range with its
// withdrawn channels. Offsets count from the start of the network file.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/BandTable.h"
#include "config/CtcssDcsTable.h"
#include "fields/Field.h"
#include "image/Images.h"

namespace km {

namespace hunt_rows {

using fields::BitPiece;
using fields::Encoding;

// Channel bandwidth, bit 2 and bit 0 of byte 736, in the order of the form's radio group.
inline constexpr BitPiece kBandwidthBits[] = {{.offset = 0, .shift = 2}, {.offset = 0, .shift = 0}};
inline constexpr fields::Choice kBandwidthChoices[] = {
    {2, "10    kHz"}, {0, "12.5 kHz"}, {3, "20    kHz"}, {1, "25    kHz"}};
inline constexpr fields::Choice kPowerLevelChoices[] = {
    {0, "M: 1 W     P: 0.5 W"}, {1, "M: 2 W     P: 1 W"}, {2, "M: 2.5 W  P: 2 W"},
    {3, "M: 4 W     P: 2.5 W"}, {4, "M: 5 W     P: 4 W"}, {5, "M: 6 W     P: 5 W"},
    {6, "M: 8 W     P: 5 W"},   {7, "M: 10 W   P: 5 W"},  {8, "M: 15 W   P: 5 W"},
    {9, "M: 20 W   P: 5 W"},    {10, "M: 25 W   P: 5 W"}};
inline constexpr fields::Choice kHuntTypeChoices[] = {{0, "Continuous"}, {1, "Timed"}};
inline constexpr fields::Choice kSubBandPowerChoices[] = {{0, "High"}, {1, "Low"}};

// Separation and steps of a sub-band as one code: byte 9 bits 7 and 5, byte 8 bits 7 (transmit
// 5 kHz), 6 (receive 5 kHz), 2 (transmit 7.5 kHz) and 1 (receive 7.5 kHz), most significant
// first. No step bit means 6.25 kHz.
inline constexpr BitPiece kSeparationBits[] = {
    {.offset = 1, .shift = 7}, {.offset = 1, .shift = 5}, {.offset = 0, .shift = 7},
    {.offset = 0, .shift = 6}, {.offset = 0, .shift = 2}, {.offset = 0, .shift = 1}};
inline constexpr std::int64_t kSeparation25 = 0b100000;
inline constexpr std::int64_t kSeparation20 = 0b101100;
inline constexpr std::int64_t kSeparation15 = 0b000011;
inline constexpr std::int64_t kSeparation10 = 0b001100;
inline constexpr std::int64_t kSeparation6_25 = 0b010000;
inline constexpr std::int64_t kSeparation12_5 = 0;
// Read from radios and files, never written by the form: 5 kHz steps with byte 9 bit 5.
inline constexpr std::int64_t kSeparation5 = 0b011100;
// The bits of the code, as kSeparationBits orders them.
inline constexpr std::int64_t kRx7500Bit = 1 << 0;
inline constexpr std::int64_t kTx7500Bit = 1 << 1;
inline constexpr std::int64_t kRx5000Bit = 1 << 2;
inline constexpr std::int64_t kTx5000Bit = 1 << 3;
inline constexpr std::int64_t kByte9Bit5 = 1 << 4;
inline constexpr std::int64_t kByte9Bit7 = 1 << 5;
// The radio's reading rule: byte 9 bit 7 means 20 kHz with the receive 5 kHz step, else 25 kHz;
// otherwise the receive 7.5 kHz step means 15 kHz, the receive 5 kHz step 10 kHz (5 kHz with
// byte 9 bit 5), byte 9 bit 5 alone 6.25 kHz and nothing 12.5 kHz. A stored code reads as the
// code of the separation the rule names.
constexpr std::int64_t SeparationReadAs(std::int64_t code) {
    if ((code & kByte9Bit7) != 0) {
        return (code & kRx5000Bit) != 0 ? kSeparation20 : kSeparation25;
    }
    if ((code & kRx7500Bit) != 0) {
        return kSeparation15;
    }
    if ((code & kRx5000Bit) != 0) {
        return (code & kByte9Bit5) != 0 ? kSeparation5 : kSeparation10;
    }
    return (code & kByte9Bit5) != 0 ? kSeparation6_25 : kSeparation12_5;
}
inline constexpr fields::Choice kSeparationChoices[] = {
    {kSeparation6_25, "6.25kHz"}, {kSeparation10, "10kHz"}, {kSeparation12_5, "12.5kHz"},
    {kSeparation15, "15kHz"},     {kSeparation20, "20kHz"}, {kSeparation25, "25kHz"},
    {kSeparation5, "5kHz"}};
// The drop-down list of the separation cells: every choice but the last.
inline constexpr std::span<const fields::Choice> kSeparationList{kSeparationChoices, 6};

// The transmit CTCSS code: bit 0 of byte 8 is its bit 5, bits 0..4 of byte 9 its bits 4..0; a
// row of the CTCSS/DCS list (tones only).
inline constexpr BitPiece kTxCtcssBits[] = {{.offset = 0, .shift = 0},
                                            {.offset = 1, .shift = 0, .count = 5}};
inline constexpr int kTxCtcssRows = kFirstDcsRow;
constexpr std::array<fields::Choice, kTxCtcssRows> TxCtcssChoices() {
    std::array<fields::Choice, kTxCtcssRows> choices{};
    for (int i = 0; i < kTxCtcssRows; ++i) {
        choices[static_cast<std::size_t>(i)] = {i, kCtcssDcsRows[static_cast<std::size_t>(i)].text};
    }
    return choices;
}
inline constexpr auto kTxCtcssChoices = TxCtcssChoices();

// A 17-bit start count: bits 16..1 a big-endian word, bit 0 in byte 8 (bit 5 transmit, bit 4
// receive).
inline constexpr BitPiece kTxCountBits[] = {{.offset = 0, .bytes = 2, .count = 16},
                                            {.offset = 4, .shift = 5}};
inline constexpr BitPiece kRxCountBits[] = {{.offset = 0, .bytes = 2, .count = 16},
                                            {.offset = 2, .shift = 4}};

// A channel number of the hunt lists; 0 is an unused entry.
constexpr fields::FieldRow HuntChannel(std::string_view id, std::string_view caption,
                                       Encoding encoding, std::uint16_t width,
                                       std::uint8_t bitCount) {
    return {.id = id,
            .caption = caption,
            .at = {.network = 0},
            .encoding = encoding,
            .width = width,
            .bitCount = bitCount,
            .min = 0,
            .max = 1023,
            .defaultValue = 0,
            .blankRaw = 0,
            .blankShowsNumber = true};
}

inline constexpr fields::FieldRow kRows[] = {
    // Written by every store from the sub-band table and the normal hunt list.
    {.id = "network.hunt.highest_max_channel",
     .caption = "Highest maximum channel of all sub-bands",
     .at = {.network = 148},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "network.hunt.first_min_channel",
     .caption = "Minimum channel of sub-band 1",
     .at = {.network = 150},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "network.hunt.comprehensive_highest",
     .caption = "Highest Channel",
     .control = "Edit_CHNT_HighestChan",
     .at = {.network = 152},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1023},
    {.id = "network.hunt.comprehensive_lowest",
     .caption = "Lowest Channel",
     .control = "Edit_CHNT_LowestChan",
     .at = {.network = 154},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1023},
    {.id = "network.hunt.comprehensive_enabled",
     .caption = "Enable Comprehensive Hunt",
     .control = "CBox_CHNT_EnableComprHunt",
     .at = {.network = 156},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 1},
    {.id = "network.hunt.normal_hunt_count",
     .caption = "Normal hunt entries in use",
     .at = {.network = 224},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "network.hunt.bandwidth",
     .caption = "Channel Bandwidth",
     .control = "RadioGrp_CHN_ChanSpacing",
     .at = {.network = 736},
     .encoding = Encoding::Pieces,
     .width = 1,
     .pieces = kBandwidthBits,
     .choices = kBandwidthChoices},
    {.id = "network.hunt.xtal_switch",
     .caption = "Xtal Switch",
     .control = "CBox_CHN_XtalSwitch",
     .at = {.network = 736},
     .encoding = Encoding::Bits,
     .bitShift = 3,
     .bitCount = 1},
    {.id = "network.hunt.highest_sub_band",
     .caption = "Sub-band with the highest maximum channel",
     .at = {.network = 738},
     .encoding = Encoding::U16,
     .derived = true},
    {.id = "network.hunt.tx_low_power",
     .caption = "Tx Low Power",
     .control = "ComboBox_CHN_TxLowPwr",
     .at = {.network = 1240},
     .encoding = Encoding::U16,
     .choices = kPowerLevelChoices},
    {.id = "network.hunt.tx_high_power",
     .caption = "Tx High Power",
     .control = "ComboBox_CHN_TxHighPwr",
     .at = {.network = 1242},
     .encoding = Encoding::U16,
     .choices = kPowerLevelChoices},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Network, NetworkImage::kSize));

inline constexpr fields::FieldRow kWithdrawnColumns[] = {
    HuntChannel("withdrawn", "Withdrawn Channel", Encoding::U16, 2, 0)};
inline constexpr fields::FieldRow kNormalHuntColumns[] = {
    HuntChannel("channel", "Channel", Encoding::Bits, 2, 15),
    {.id = "type",
     .caption = "Type C/T",
     .at = {.network = 0},
     .encoding = Encoding::Bits,
     .width = 2,
     .bitShift = 15,
     .bitCount = 1,
     .choices = kHuntTypeChoices},
};
inline constexpr fields::FieldRow kSubBandColumns[] = {
    {.id = "min_channel",
     .caption = "Min Ch",
     .at = {.network = 0},
     .encoding = Encoding::U16BE,
     .min = 0,
     .max = 1023},
    {.id = "max_channel",
     .caption = "Max Ch",
     .at = {.network = 2},
     .encoding = Encoding::U16BE,
     .min = 0,
     .max = 1023},
    {.id = "tx_count",
     .caption = "Transmit start count (TxMin MHz x 1000 / step kHz)",
     .at = {.network = 4},
     .encoding = Encoding::Pieces,
     .width = 5,
     .pieces = kTxCountBits},
    {.id = "rx_count",
     .caption = "Receive start count (RxMin MHz x 1000 / step kHz)",
     .at = {.network = 6},
     .encoding = Encoding::Pieces,
     .width = 3,
     .pieces = kRxCountBits},
    {.id = "power",
     .caption = "Power",
     .at = {.network = 9},
     .encoding = Encoding::Bits,
     .bitShift = 6,
     .bitCount = 1,
     .choices = kSubBandPowerChoices},
    {.id = "separation",
     .caption = "Separation",
     .at = {.network = 8},
     .encoding = Encoding::Pieces,
     .width = 2,
     .pieces = kSeparationBits,
     .choices = kSeparationChoices,
     .readsAs = SeparationReadAs},
    {.id = "tx_ctcss",
     .caption = "Tx CTCSS",
     .at = {.network = 8},
     .encoding = Encoding::Pieces,
     .width = 2,
     .pieces = kTxCtcssBits,
     .choices = kTxCtcssChoices},
};

inline constexpr int kWithdrawnChannels = 32;
inline constexpr int kNormalHuntEntries = 40;
inline constexpr int kSubBands = 50;
inline constexpr fields::RecordTable kRecords[] = {
    {.id = "network.hunt.comprehensive",
     .base = {.network = 160},
     .stride = 2,
     .capacity = kWithdrawnChannels,
     .columns = kWithdrawnColumns},
    {.id = "network.hunt.normal",
     .base = {.network = 228},
     .stride = 2,
     .capacity = kNormalHuntEntries,
     .columns = kNormalHuntColumns},
    {.id = "network.hunt.sub_bands",
     .base = {.network = 740},
     .stride = 10,
     .capacity = kSubBands,
     .columns = kSubBandColumns},
};
static_assert(fields::RecordsValid(kRecords[0], fields::ImageId::Network, NetworkImage::kSize));
static_assert(fields::RecordsValid(kRecords[1], fields::ImageId::Network, NetworkImage::kSize));
static_assert(fields::RecordsValid(kRecords[2], fields::ImageId::Network, NetworkImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "network.hunt",
                                              .form = "Hunt Channels",
                                              .area = fields::Area::NetworkFile,
                                              .rows = kRows,
                                              .records = kRecords};

inline constexpr const fields::FieldRow& kHighestMaxChannel = kRows[0];
inline constexpr const fields::FieldRow& kFirstMinChannel = kRows[1];
inline constexpr const fields::FieldRow& kComprehensiveHighest = kRows[2];
inline constexpr const fields::FieldRow& kComprehensiveLowest = kRows[3];
inline constexpr const fields::FieldRow& kNormalHuntCount = kRows[5];
inline constexpr const fields::FieldRow& kHighestSubBand = kRows[8];
inline constexpr const fields::RecordTable& kWithdrawn = kRecords[0];
inline constexpr const fields::RecordTable& kNormalHunt = kRecords[1];
inline constexpr const fields::RecordTable& kSubBandRecords = kRecords[2];

}  // namespace hunt_rows

// Messages of the hunt channel checks.
inline constexpr std::string_view kFrequencyRangeMessage =
    "Value out of range.\nMust be between %dMHz and %dMHz";
// No band is chosen on the Network Systems form, so no frequency can be checked.
inline constexpr std::string_view kNoBandMessage =
    "No frequency band is selected.\nSelect the Frequency Band on the Network Systems form first.";
// A frequency must be a whole number of the steps its separation stores it in.
inline constexpr std::string_view kStepMismatchMessage =
    "Frequency is not a multiple of %s,\nthe channel step of the %s separation.";
inline constexpr std::string_view kDuplicateHuntMessage = "Duplicate value is not allowed";
inline constexpr std::string_view kHighestBelowLowestMessage =
    "Highest channel must be greater than the Lowest channel.";
inline constexpr std::string_view kLowestAboveHighestMessage =
    "Lowest channel must be less than the Highest channel.";
inline constexpr std::string_view kMinimumFirstMessage = "Please enter Minimum Channel first.";
inline constexpr std::string_view kNextRangeMessage =
    "Please enter next channel range immediately                         \nbelow the last chanel "
    "range";
inline constexpr std::string_view kMinAfterPreviousEnterMessage =
    "Minimum Channel number must be                             \ngreater than the Previous "
    "Maximum Channel number";
inline constexpr std::string_view kMinAfterPreviousMoveMessage =
    "Minimum Channel number must be                         \ngreater than the Previous Maximum "
    "Channel number";
inline constexpr std::string_view kMaxAboveMinEnterMessage =
    "Maximum Channel number must be                             \ngreater than the Minimum Channel "
    "number";
inline constexpr std::string_view kMaxAtLeastMinMoveMessage =
    "Maximum Channel number must be greater than                         \nor equal to the Minimum "
    "Channel number";

// Frequencies as the hunt grid shows and reads them.
struct TypedFrequency {
    std::int64_t hertz = 0;
    bool wholeHertz = true;  // false when digits below 1 Hz are not zero
};
// Megahertz typed with "." or "," as the decimal separator, at most four digits before it.
// nullopt when the text is no such number.
std::optional<TypedFrequency> ParseMegahertz(std::string_view text);
// Hertz as megahertz with five decimals ("450.00625").
std::string FormatMegahertz(std::int64_t hertz);

// When a grid cell is checked.
enum class CellMoment { Enter, Move };

// The sub-band grid as the form shows it, and what it stores. A record whose channel and count
// bytes are all zero, or whose minimum channel is 0xFFFF, shows as an empty line; every other
// record shows, wherever it lies. A store rewrites only what was edited: a record none of whose
// cells changed keeps its bytes, and in an edited record the fields not edited keep their bits.
class SubBandTable {
  public:
    // Grid columns; column 0 numbers the lines.
    enum Column {
        kMinChannel = 1,
        kMaxChannel,
        kTxMin,
        kRxMin,
        kPower,
        kSeparation,
        kTxCtcss,
        kColumnCount
    };
    using Line = std::array<std::string, kColumnCount>;

    void Load(std::span<const std::uint8_t> bytes, std::size_t area);
    const std::string& Text(int line, int column) const;
    void SetText(int line, int column, std::string text);
    bool Edited(int line, int column) const;

    // The check of a cell when Enter is pressed in it or another cell is chosen. `band` is the
    // band chosen for the network (null when none is).
    std::optional<std::string> Check(int line, int column, CellMoment moment,
                                     const BandEntry* band) const;
    // The check of a line when it is left: its frequencies must be whole numbers of the steps its
    // separation stores them in (the separation may be chosen after the frequencies are typed).
    std::optional<std::string> CheckLine(int line, const BandEntry* band) const;

    // Writes the edited records.
    void Store(std::span<std::uint8_t> bytes, std::size_t area) const;

  private:
    struct Steps {
        std::int64_t rx;  // hertz
        std::int64_t tx;
    };
    bool LoadedEmpty(int line) const;
    // The separation code a line is stored with: the chosen text's when the separation was
    // chosen (or the line is new), else the code read.
    std::int64_t SeparationCode(int line) const;
    std::optional<std::string> CheckChannel(int line, int column, CellMoment moment) const;
    // `wholeSteps`: the frequency must also be a whole number of the line's steps.
    std::optional<std::string> CheckFrequency(int line, int column, const BandEntry* band,
                                              bool wholeSteps) const;
    void StoreLine(std::span<std::uint8_t> bytes, std::size_t at, int line) const;

    std::array<Line, hunt_rows::kSubBands> loaded_;
    std::array<Line, hunt_rows::kSubBands> texts_;
    std::array<std::int64_t, hunt_rows::kSubBands> loadedSeparation_{};
};

// The summary words every store writes after the records and the normal hunt list: highest maximum
// channel (148) and the number of its sub-band (738) over the records in use, sub-band 1's minimum
// channel (150), and the number of normal hunt entries with a channel (224).
void StoreHuntSummary(std::span<std::uint8_t> bytes, std::size_t area);

// Text of a separation code as the grid shows it: the reading rule of the radio's flags
// (SeparationReadAs).
std::string_view SeparationText(std::int64_t code);
// The code a separation text is stored as; any text not in the list stores 12.5 kHz.
std::int64_t SeparationCodeOf(std::string_view text);

// Normal hunt list: the channel of `line` already stands in another line (0, the unused entry,
// may stand in any number).
bool DuplicateHuntChannel(std::span<const std::string> channels, int line);
// Comprehensive hunt: the message when both edits hold numbers and highest is below lowest;
// `fromHighest` names the edit being left.
std::optional<std::string> CheckComprehensiveRange(std::string_view highest,
                                                   std::string_view lowest, bool fromHighest);

}  // namespace km
