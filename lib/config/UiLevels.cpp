#include "config/UiLevels.h"

#include "fields/FieldOps.h"

namespace km {
namespace {

constexpr std::int64_t kInvertedFrom = 0x8000;
constexpr std::int64_t kWordRange = 0x10000;
constexpr std::string_view kPortableTxInputText = "+12";

const fields::Choice* StepOfCode(AudioLevel level, std::int64_t code) {
    for (const fields::Choice& step : LevelSteps(level)) {
        if (step.code == code) {
            return &step;
        }
    }
    return nullptr;
}

bool IsPortableTxInput(AudioLevel level) {
    return level == AudioLevel::TxInput1 || level == AudioLevel::TxInput3;
}

}  // namespace

std::span<const fields::Choice> LevelSteps(AudioLevel level) {
    const std::span<const fields::Choice> choices = LevelRowOf(level).choices;
    return HasPhase(level) ? choices.first(choices.size() / 2) : choices;
}

ShownLevel ShowLevel(AudioLevel level, std::uint16_t word) {
    ShownLevel shown;
    std::int64_t code = word;
    if (HasPhase(level) && word >= kInvertedFrom) {
        shown.inverted = true;
        code = kWordRange - word;
    }
    const fields::Choice* step = StepOfCode(level, code);
    shown.text = step ? std::string(step->text) : "? " + std::to_string(word);
    return shown;
}

std::optional<std::uint16_t> LevelWord(AudioLevel level, std::string_view text, bool inverted) {
    for (const fields::Choice& step : LevelSteps(level)) {
        if (step.text == text) {
            const std::int64_t code =
                HasPhase(level) && inverted && step.code != 0 ? kWordRange - step.code : step.code;
            return static_cast<std::uint16_t>(code);
        }
    }
    // "? <word>": a stored word no step has goes back as it was.
    const auto value = fields::ParseField(LevelRowOf(level), text);
    if (const auto* number = value ? std::get_if<std::int64_t>(&*value) : nullptr) {
        return static_cast<std::uint16_t>(*number);
    }
    return std::nullopt;
}

std::string_view DefaultLevelText(AudioLevel level, bool portable) {
    if (portable && IsPortableTxInput(level)) {
        return kPortableTxInputText;
    }
    const fields::FieldRow& row = LevelRowOf(level);
    return StepOfCode(level, row.defaultValue)->text;
}

void SetTxInputLevelsForKind(fields::ImageId image, std::span<std::uint8_t> bytes, bool portable) {
    for (AudioLevel level : {AudioLevel::TxInput1, AudioLevel::TxInput3}) {
        const fields::FieldRow& row = LevelRowOf(level);
        const auto word = LevelWord(level, DefaultLevelText(level, portable), false);
        fields::WriteField(row, bytes, static_cast<std::size_t>(row.at.Of(image)),
                           std::int64_t{*word});
    }
}

}  // namespace km
