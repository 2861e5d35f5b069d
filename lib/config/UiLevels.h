#pragma once
// The audio level settings of the User Interface form ("Audio Levels"): each a word of the trunk
// and PMR jobs whose value is one of a list of steps (decibels, a modulation percentage), each
// step stored as a code of its own. Three modulation rows keep their phase inversion in the sign
// of the word: the code negated (65536 - code).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fields/Field.h"
#include "image/Images.h"

namespace km {

// The settings, in the order of their grids.
enum class AudioLevel : std::uint8_t {
    TxInput1,
    TxInput2,
    TxInput3,
    TxInput4,
    TxInput5,
    TxInput6,
    TxInput7,
    TxBreakout1,
    TxBreakout2,
    SibThreshold,
    CompressorGain,
    Modulation1,
    Modulation2,
    Modulation3,
    Dtmf,
    Selcall,
    Ffsk,
    ModulationLast,
    RxBreakout1,
    RxBreakout2,
    LineOutput1,
    LineOutput2,
    LineOutput3,
    Discriminator,
};
inline constexpr std::size_t kAudioLevelCount = 24;

namespace level_rows {

using fields::Choice;

// Steps of 6 dB, 0.5 dB, 1 dB and modulation percentages, as the cells show them.
inline constexpr std::string_view kSixDbTexts[] = {"-18", "-12", "-6",  "0",   "+6", "+12",
                                                   "+18", "+24", "+30", "+36", "+42"};
inline constexpr std::string_view kHalfDbTexts[] = {"-6.5", "-6.0", "-5.5", "-5.0", "-4.5", "-4.0",
                                                    "-3.5", "-3.0", "-2.5", "-2.0", "-1.5", "-1.0",
                                                    "-0.5", "0.0",  "0.5",  "1.0"};
inline constexpr std::string_view kOneDbTexts[] = {"-10", "-9", "-8", "-7", "-6", "-5", "-4", "-3",
                                                   "-2",  "-1", "0",  "+1", "+2", "+3", "+4", "+5"};
inline constexpr std::string_view kPercent25Texts[] = {"25%", "30%", "35%", "40%", "45%", "50%",
                                                       "55%", "60%", "65%", "70%", "75%", "80%",
                                                       "85%", "90%", "95%", "100%"};
// A phase-inverted modulation row's word, as the dump shows it.
inline constexpr std::string_view kInvertedPercentTexts[] = {
    "-25%", "-30%", "-35%", "-40%", "-45%", "-50%", "-55%", "-60%",
    "-65%", "-70%", "-75%", "-80%", "-85%", "-90%", "-95%", "-100%"};
inline constexpr std::string_view kPercent50Texts[] = {
    "50%",  "60%",  "70%",  "80%",  "90%",  "100%", "110%", "120%",
    "130%", "140%", "150%", "160%", "170%", "180%", "190%", "200%"};
inline constexpr std::string_view kDiscriminatorTexts[] = {
    "-6.0", "-5.5", "-5.0", "-4.5", "-4.0", "-3.5", "-3.0", "-2.5",
    "-2.0", "-1.5", "-1.0", "-0.5", "0.0",  "0.5",  "1.0",  "1.5"};

// A signed step stored as a word: negative codes in two's complement.
constexpr std::int64_t Word(int code) {
    return code < 0 ? 0x10000 + code : code;
}

// The texts of `texts` from item `first` on, with codes `firstCode`, `firstCode` + 1, ...
template <std::size_t N>
constexpr std::array<Choice, N> Counted(std::span<const std::string_view> texts, int firstCode,
                                        std::size_t first = 0) {
    std::array<Choice, N> choices{};
    for (std::size_t i = 0; i < N; ++i) {
        choices[i] = {Word(firstCode + static_cast<int>(i)), texts[first + i]};
    }
    return choices;
}

template <std::size_t N>
constexpr std::array<Choice, N> Coded(std::span<const std::string_view> texts,
                                      const std::array<std::uint16_t, N>& codes) {
    std::array<Choice, N> choices{};
    for (std::size_t i = 0; i < N; ++i) {
        choices[i] = {codes[i], texts[i]};
    }
    return choices;
}

// Percentages times a factor; a list of twice as many entries as texts goes on with the negated
// words (a phase row's inverted steps).
template <std::size_t N>
constexpr std::array<Choice, N> Percentages(std::span<const std::string_view> texts, int first,
                                            int step, int factor) {
    std::array<Choice, N> choices{};
    const std::size_t steps = texts.size();
    for (std::size_t i = 0; i < N; ++i) {
        const int percent = first + step * static_cast<int>(i % steps);
        const int code = factor * percent;
        choices[i] = i < steps ? Choice{code, texts[i]}
                               : Choice{0x10000 - code, kInvertedPercentTexts[i - steps]};
    }
    return choices;
}

inline constexpr std::array<std::uint16_t, 16> kTxInput2Codes = {
    13697, 14509, 15369, 16280, 17244, 18266, 19349, 20495,
    21709, 22995, 24358, 25802, 27331, 28950, 30665, 32482};
inline constexpr std::array<std::uint16_t, 16> kTxInput4Codes = {
    13697, 14509, 15369, 16280, 17244, 18266, 19349, 20495,
    21709, 22995, 24358, 25802, 27331, 28950, 30665, 32767};
inline constexpr std::array<std::uint16_t, 16> kTxBreakout1Codes = {
    27202, 30530, 17155, 19267, 21635, 24259, 27203, 30531,
    17156, 19268, 21636, 24260, 27204, 30532, 17157, 19269};
inline constexpr std::array<std::uint16_t, 16> kTxBreakout2Codes = {
    28081, 25041, 22321, 19921, 17777, 31698, 28274, 25202,
    22482, 20050, 17874, 31891, 28467, 25395, 22643, 20179};
inline constexpr std::array<std::uint16_t, 16> kRxBreakout1Codes = {
    13601, 15265, 8578,  9634,  10818, 12130, 13602, 15266,
    8579,  9635,  10819, 12131, 13603, 15267, 8580,  9636};
inline constexpr std::array<std::uint16_t, 16> kRxBreakout2Codes = {
    11072, 9856, 8768,  7840,  13937, 12433, 11089, 9873,
    8785,  7857, 13938, 12434, 11090, 9874,  8786,  7858};
inline constexpr std::array<std::uint16_t, 16> kDiscriminatorCodes = {
    6909,  7318,  7752,  8211,  8698,  9213,  9759,  10338,
    10950, 11599, 12286, 13014, 13785, 14602, 15468, 16384};

// dB / 6: "-18" is -3.
inline constexpr auto kSixDbInputChoices = Counted<11>(kSixDbTexts, -3);
inline constexpr auto kTxInput2Choices = Coded(kHalfDbTexts, kTxInput2Codes);
inline constexpr auto kTxInput4Choices = Coded(kHalfDbTexts, kTxInput4Codes);
// dB / 6 + 2, "-18" to "+12".
inline constexpr auto kSixDbShiftedChoices = Counted<6>(kSixDbTexts, -1);
inline constexpr auto kTxBreakout1Choices = Coded(kOneDbTexts, kTxBreakout1Codes);
inline constexpr auto kTxBreakout2Choices = Coded(kOneDbTexts, kTxBreakout2Codes);
inline constexpr auto kRxBreakout1Choices = Coded(kOneDbTexts, kRxBreakout1Codes);
inline constexpr auto kRxBreakout2Choices = Coded(kOneDbTexts, kRxBreakout2Codes);
inline constexpr auto kModulation163Choices = Percentages<16>(kPercent25Texts, 25, 5, 163);
inline constexpr auto kModulation32Choices = Percentages<16>(kPercent25Texts, 25, 5, 32);
inline constexpr auto kDtmfChoices = Percentages<32>(kPercent25Texts, 25, 5, 88);
inline constexpr auto kSelcallChoices = Percentages<32>(kPercent25Texts, 25, 5, 182);
inline constexpr auto kFfskChoices = Percentages<32>(kPercent25Texts, 25, 5, 273);
inline constexpr auto kModulationLastChoices = Percentages<16>(kPercent50Texts, 50, 10, 163);
// "-6" to "+18" and "-6" to "+6" in 6 dB steps, dB / 6.
inline constexpr auto kLineOutputChoices = Counted<5>(kSixDbTexts, -1, 2);
inline constexpr auto kLineOutput3Choices = Counted<3>(kSixDbTexts, -1, 2);
inline constexpr auto kDiscriminatorChoices = Coded(kDiscriminatorTexts, kDiscriminatorCodes);
inline constexpr Choice kSibThresholdChoices[] = {{0, "+6"}, {1, "0"}};
inline constexpr Choice kCompressorGainChoices[] = {{0, "0 "}, {1, "6 "}, {2, "12 "}, {3, "18 "}};

using fields::Encoding;

// A level word at its two offsets, with its list and the value of the tab's Defaults button.
constexpr fields::FieldRow LevelRow(std::string_view id, std::string_view caption,
                                    std::int32_t trunkAt, std::int32_t pmrAt,
                                    std::span<const Choice> choices, std::int64_t defaultCode,
                                    std::string_view control = {}) {
    return {.id = id,
            .caption = caption,
            .control = control,
            .tab = "Audio Levels",
            .at = {.trunk = trunkAt, .pmr = pmrAt},
            .encoding = Encoding::U16,
            .defaultValue = defaultCode,
            .choices = choices,
            .levels = 4 | 8};
}

inline constexpr fields::FieldRow kRows[] = {
    LevelRow("ui.levels.tx_input_1", "Tx audio input 1", 0x2148, 0x552, kSixDbInputChoices, 0),
    LevelRow("ui.levels.tx_input_2", "Tx audio input 2", 0x2150, 0x55A, kTxInput2Choices, 28950),
    LevelRow("ui.levels.tx_input_3", "Tx audio input 3", 0x214A, 0x554, kSixDbInputChoices, 0),
    LevelRow("ui.levels.tx_input_4", "Tx audio input 4", 0x214E, 0x558, kTxInput4Choices, 28950),
    LevelRow("ui.levels.tx_input_5", "Tx audio input 5", 0x2120, 0x2B0C, kSixDbShiftedChoices, 2),
    LevelRow("ui.levels.tx_input_6", "Tx audio input 6", 0x2122, 0x2B0E, kSixDbShiftedChoices, 2),
    LevelRow("ui.levels.tx_input_7", "Tx audio input 7", 0x2124, 0x2B10, kSixDbShiftedChoices, 2),
    LevelRow("ui.levels.tx_breakout_1", "Tx speech path breakout 1", 0x2152, 0x55C,
             kTxBreakout1Choices, 21636),
    LevelRow("ui.levels.tx_breakout_2", "Tx speech path breakout 2", 0x2154, 0x55E,
             kTxBreakout2Choices, 17874),
    LevelRow("ui.levels.sib_threshold", "SIB Threshold", 0x214C, 0x556, kSibThresholdChoices, 0,
             "Combo_GPIF_LimiterThreshold"),
    LevelRow("ui.levels.compressor_gain", "Compressor Gain", 0x2146, 0x550, kCompressorGainChoices,
             0, "Combo_GPIF_LimiterGain"),
    LevelRow("ui.levels.modulation_1", "Modulation source 1", 0x215A, 0x564, kModulation163Choices,
             14670),
    LevelRow("ui.levels.modulation_2", "Modulation source 2", 0x215C, 0x566, kModulation32Choices,
             2880),
    LevelRow("ui.levels.modulation_3", "Modulation source 3", 0x215E, 0x568, kModulation163Choices,
             14670),
    LevelRow("ui.levels.dtmf", "DTMF modulation", 0x2158, 0x562, kDtmfChoices, 5280),
    LevelRow("ui.levels.selcall", "Selcall modulation", 0x216A, 0x574, kSelcallChoices, 16380),
    LevelRow("ui.levels.ffsk", "FFSK modulation", 0x216C, 0x576, kFfskChoices, 16380),
    LevelRow("ui.levels.modulation_last", "Modulation source 8", 0x2168, 0x572,
             kModulationLastChoices, 16300),
    LevelRow("ui.levels.rx_breakout_1", "Rx speech path breakout 1", 0x2160, 0x56A,
             kRxBreakout1Choices, 10819),
    LevelRow("ui.levels.rx_breakout_2", "Rx speech path breakout 2", 0x2162, 0x56C,
             kRxBreakout2Choices, 13938),
    LevelRow("ui.levels.line_output_1", "Line output 1", 0x2126, 0x2B12, kLineOutputChoices, 0),
    LevelRow("ui.levels.line_output_2", "Line output 2", 0x2128, 0x2B14, kLineOutputChoices, 0),
    LevelRow("ui.levels.line_output_3", "Line output 3", 0x212A, 0x2B16, kLineOutput3Choices, 0),
    LevelRow("ui.levels.discriminator", "Discriminator Level", 0x2164, 0x56E, kDiscriminatorChoices,
             13785, "Combo_GPIF_Discriminator"),
};
static_assert(std::size(kRows) == kAudioLevelCount);
static_assert(fields::RowsValid(kRows, fields::ImageId::Trunk, TrunkJobImage::kSize));
static_assert(fields::RowsValid(kRows, fields::ImageId::Pmr, PmrJobImage::kSize));

inline constexpr fields::FieldTable kTable = {
    .id = "ui.levels", .form = "User Interface", .area = fields::Area::Image, .rows = kRows};

}  // namespace level_rows

constexpr const fields::FieldRow& LevelRowOf(AudioLevel level) {
    return level_rows::kRows[static_cast<std::size_t>(level)];
}

// The three rows whose phase inversion is kept in the sign of the word.
constexpr bool HasPhase(AudioLevel level) {
    return level == AudioLevel::Dtmf || level == AudioLevel::Selcall || level == AudioLevel::Ffsk;
}

// The list a cell or combo offers: the row's entries without the inverted words.
std::span<const fields::Choice> LevelSteps(AudioLevel level);

// A level as the form shows it: the text of the first step whose code is the word (for a phase
// row, the word or its negation), or "? <word>" for a word no step has; and for a phase row
// whether the word is inverted.
struct ShownLevel {
    std::string text;
    bool inverted = false;
};
ShownLevel ShowLevel(AudioLevel level, std::uint16_t word);

// The word for a shown text, or nullopt when the text is neither a step nor "? <word>" (the
// word is then left as it was).
std::optional<std::uint16_t> LevelWord(AudioLevel level, std::string_view text, bool inverted);

// The text the Defaults button shows: the row's default, and "+12" for transmit inputs 1 and 3
// of a portable.
std::string_view DefaultLevelText(AudioLevel level, bool portable);

// Transmit inputs 1 and 3 as a change of radio type sets them: "+12" for a portable, "0" for a
// mobile.
void SetTxInputLevelsForKind(fields::ImageId image, std::span<std::uint8_t> bytes, bool portable);

}  // namespace km
