#include "network/HntMap.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using namespace hunt_rows;
using fields::FieldRow;

constexpr std::int64_t kHertzPerMegahertz = 1000000;
constexpr std::int64_t kStep5000 = 5000;
constexpr std::int64_t kStep6250 = 6250;
constexpr std::int64_t kStep7500 = 7500;
constexpr std::int64_t kLargestCount = 0x1FFFF;
constexpr std::uint16_t kUnusedRecord = 0xFFFF;
constexpr std::size_t kRecordSize = 10;
constexpr std::size_t kMegahertzDigits = 4;
constexpr std::size_t kHertzDecimals = 6;

constexpr const FieldRow& kMinRow = kSubBandColumns[0];
constexpr const FieldRow& kMaxRow = kSubBandColumns[1];
constexpr const FieldRow& kTxCountRow = kSubBandColumns[2];
constexpr const FieldRow& kRxCountRow = kSubBandColumns[3];
constexpr const FieldRow& kPowerRow = kSubBandColumns[4];
constexpr const FieldRow& kSeparationRow = kSubBandColumns[5];
// The separation bits as stored, not as the reading rule names them: the grid keeps the steps a
// record was written with.
constexpr FieldRow StoredSeparationRow() {
    FieldRow row = kSeparationRow;
    row.readsAs = nullptr;
    return row;
}
constexpr FieldRow kStoredSeparationRow = StoredSeparationRow();
constexpr const FieldRow& kTxCtcssRow = kSubBandColumns[6];

std::size_t RecordAt(std::size_t area, int line) {
    return area + static_cast<std::size_t>(kSubBandRecords.base.network) +
           kRecordSize * static_cast<std::size_t>(line);
}

std::size_t PlaceOf(const FieldRow& row, std::size_t at) {
    return at + static_cast<std::size_t>(row.at.network);
}

std::int64_t Number(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t at) {
    const fields::FieldValue value = fields::ReadField(row, bytes, PlaceOf(row, at));
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::string Shown(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t at) {
    return fields::FormatField(row, fields::ReadField(row, bytes, PlaceOf(row, at)));
}

void Write(const FieldRow& row, std::span<std::uint8_t> bytes, std::size_t at, std::int64_t value) {
    fields::WriteField(row, bytes, PlaceOf(row, at), value);
}

// A record in use has a channel or a count; 0xFFFF as minimum channel is erased memory.
bool RecordInUse(std::span<const std::uint8_t> bytes, std::size_t at) {
    const std::int64_t min = Number(kMinRow, bytes, at);
    if (min == kUnusedRecord) {
        return false;
    }
    return min != 0 || Number(kMaxRow, bytes, at) != 0 || Number(kTxCountRow, bytes, at) != 0 ||
           Number(kRxCountRow, bytes, at) != 0;
}

std::int64_t RxStep(std::int64_t code) {
    if ((code & kRx7500Bit) != 0) {
        return kStep7500;
    }
    return (code & kRx5000Bit) != 0 ? kStep5000 : kStep6250;
}

std::int64_t TxStep(std::int64_t code) {
    if ((code & kTx7500Bit) != 0) {
        return kStep7500;
    }
    return (code & kTx5000Bit) != 0 ? kStep5000 : kStep6250;
}

std::string_view StepText(std::int64_t step) {
    switch (step) {
        case kStep5000:
            return "5kHz";
        case kStep7500:
            return "7.5kHz";
        default:
            return "6.25kHz";
    }
}

std::string Replace(std::string_view pattern, std::string_view first, std::string_view second) {
    std::string text(pattern);
    for (std::string_view part : {first, second}) {
        if (const auto at = text.find("%s"); at != std::string::npos) {
            text.replace(at, 2, part);
        }
    }
    return text;
}

// A typed number of a row, or nullopt for empty text or text that is no number.
std::optional<std::int64_t> TypedNumber(const FieldRow& row, std::string_view text) {
    const auto value = fields::ParseField(row, text);
    if (!value) {
        return std::nullopt;
    }
    const auto* number = std::get_if<std::int64_t>(&*value);
    return number ? std::optional(*number) : std::nullopt;
}

// The range check of a typed channel: text that is no number is out of any range.
std::optional<std::string> ChannelRangeMessage(const FieldRow& row, std::string_view text) {
    const auto value = TypedNumber(row, text);
    return fields::CheckField(row, value ? *value : std::numeric_limits<std::int64_t>::min() / 2);
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

// ---- Frequencies ------------------------------------------------------------------------------

std::optional<TypedFrequency> ParseMegahertz(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    const auto separator = text.find_first_of(".,");
    std::string_view whole = text.substr(0, separator);
    std::string_view fraction =
        separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
    auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > kMegahertzDigits || !digits(whole) || !digits(fraction)) {
        return std::nullopt;
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    TypedFrequency frequency;
    frequency.wholeHertz = fraction.size() <= kHertzDecimals;
    std::int64_t hertz = 0;
    for (char c : whole) {
        hertz = hertz * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < kHertzDecimals; ++i) {
        hertz = hertz * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    frequency.hertz = hertz;
    return frequency;
}

std::string FormatMegahertz(std::int64_t hertz) {
    std::string fraction = std::to_string(hertz % kHertzPerMegahertz / 10);
    fraction.insert(0, 5 - std::min<std::size_t>(5, fraction.size()), '0');
    return std::to_string(hertz / kHertzPerMegahertz) + "." + fraction;
}

// ---- Separation -------------------------------------------------------------------------------

std::string_view SeparationText(std::int64_t code) {
    const std::int64_t named = SeparationReadAs(code);
    for (const fields::Choice& choice : kSeparationChoices) {
        if (choice.code == named) {
            return choice.text;
        }
    }
    return "12.5kHz";  // every code the rule gives is a choice
}

std::int64_t SeparationCodeOf(std::string_view text) {
    for (const fields::Choice& choice : kSeparationList) {
        if (choice.text == text) {
            return choice.code;
        }
    }
    return kSeparation12_5;
}

// ---- Sub-band table ---------------------------------------------------------------------------

void SubBandTable::Load(std::span<const std::uint8_t> bytes, std::size_t area) {
    for (int line = 0; line < kSubBands; ++line) {
        const std::size_t at = RecordAt(area, line);
        const std::int64_t code = Number(kStoredSeparationRow, bytes, at);
        loadedSeparation_[static_cast<std::size_t>(line)] = code;
        Line& shown = loaded_[static_cast<std::size_t>(line)];
        shown.fill(std::string());
        if (!RecordInUse(bytes, at)) {
            shown[kSeparation] = SeparationText(kSeparation12_5);
            continue;
        }
        shown[kMinChannel] = Shown(kMinRow, bytes, at);
        shown[kMaxChannel] = Shown(kMaxRow, bytes, at);
        shown[kTxMin] = FormatMegahertz(Number(kTxCountRow, bytes, at) * TxStep(code));
        shown[kRxMin] = FormatMegahertz(Number(kRxCountRow, bytes, at) * RxStep(code));
        shown[kPower] = Shown(kPowerRow, bytes, at);
        shown[kSeparation] = SeparationText(code);
        shown[kTxCtcss] = Shown(kTxCtcssRow, bytes, at);
    }
    texts_ = loaded_;
}

const std::string& SubBandTable::Text(int line, int column) const {
    return texts_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column));
}

void SubBandTable::SetText(int line, int column, std::string text) {
    texts_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column)) =
        std::move(text);
}

bool SubBandTable::Edited(int line, int column) const {
    return Text(line, column) !=
           loaded_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column));
}

bool SubBandTable::LoadedEmpty(int line) const {
    return loaded_.at(static_cast<std::size_t>(line))[kMinChannel].empty();
}

std::int64_t SubBandTable::SeparationCode(int line) const {
    if (Edited(line, kSeparation) || LoadedEmpty(line)) {
        return SeparationCodeOf(Text(line, kSeparation));
    }
    return loadedSeparation_.at(static_cast<std::size_t>(line));
}

std::optional<std::string> SubBandTable::Check(int line, int column, CellMoment moment,
                                               const BandEntry* band) const {
    // What the file holds and the user did not touch is not judged again.
    if (!Edited(line, column)) {
        return std::nullopt;
    }
    switch (column) {
        case kMinChannel:
        case kMaxChannel:
            return CheckChannel(line, column, moment);
        case kTxMin:
        case kRxMin:
            return CheckFrequency(line, column, band, false);
        default:
            return std::nullopt;
    }
}

std::optional<std::string> SubBandTable::CheckChannel(int line, int column,
                                                      CellMoment moment) const {
    const std::string& text = Text(line, column);
    if (Blank(text)) {
        return std::nullopt;
    }
    const FieldRow& row = column == kMinChannel ? kMinRow : kMaxRow;
    if (auto message = ChannelRangeMessage(row, text)) {
        return message;
    }
    const std::int64_t value = *TypedNumber(row, text);
    if (column == kMinChannel) {
        if (line == 0) {
            return std::nullopt;
        }
        if (Blank(Text(line - 1, kMinChannel))) {
            return std::string(kNextRangeMessage);
        }
        const auto previousMax = TypedNumber(kMaxRow, Text(line - 1, kMaxChannel));
        if (previousMax && value <= *previousMax) {
            return std::string(moment == CellMoment::Enter ? kMinAfterPreviousEnterMessage
                                                           : kMinAfterPreviousMoveMessage);
        }
        return std::nullopt;
    }
    const auto min = TypedNumber(kMinRow, Text(line, kMinChannel));
    if (!min) {
        return std::string(kMinimumFirstMessage);
    }
    if (moment == CellMoment::Enter ? value <= *min : value < *min) {
        return std::string(moment == CellMoment::Enter ? kMaxAboveMinEnterMessage
                                                       : kMaxAtLeastMinMoveMessage);
    }
    return std::nullopt;
}

std::optional<std::string> SubBandTable::CheckFrequency(int line, int column, const BandEntry* band,
                                                        bool wholeSteps) const {
    const std::string& text = Text(line, column);
    if (Blank(text)) {
        return std::nullopt;
    }
    if (band == nullptr) {
        return std::string(kNoBandMessage);
    }
    const std::int64_t separationCode = SeparationCode(line);
    const std::int64_t step = column == kTxMin ? TxStep(separationCode) : RxStep(separationCode);
    // The count must fit its 17 bits as well as the band.
    const std::int64_t upper = std::min<std::int64_t>(band->upperHz, kLargestCount * step);
    const std::int64_t lower = band->lowerHz;
    const auto frequency = ParseMegahertz(text);
    if (!frequency || frequency->hertz < lower || frequency->hertz > upper) {
        return FormatNumbers(kFrequencyRangeMessage,
                             {lower / kHertzPerMegahertz, upper / kHertzPerMegahertz});
    }
    const std::int64_t hertz = frequency->hertz;
    if (!frequency->wholeHertz ||
        (hertz % kStep5000 != 0 && hertz % kStep6250 != 0 && hertz % kStep7500 != 0)) {
        return std::string(fields::kNotOnRasterMessage);
    }
    if (wholeSteps && hertz % step != 0) {
        return Replace(kStepMismatchMessage, StepText(step), SeparationText(separationCode));
    }
    return std::nullopt;
}

std::optional<std::string> SubBandTable::CheckLine(int line, const BandEntry* band) const {
    for (int column : {kTxMin, kRxMin}) {
        if (!Edited(line, column) && !Edited(line, kSeparation)) {
            continue;
        }
        if (auto message = CheckFrequency(line, column, band, true)) {
            return message;
        }
    }
    return std::nullopt;
}

void SubBandTable::Store(std::span<std::uint8_t> bytes, std::size_t area) const {
    for (int line = 0; line < kSubBands; ++line) {
        bool edited = false;
        for (int column = kMinChannel; column < kColumnCount; ++column) {
            edited = edited || Edited(line, column);
        }
        if (edited) {
            StoreLine(bytes, RecordAt(area, line), line);
        }
    }
}

void SubBandTable::StoreLine(std::span<std::uint8_t> bytes, std::size_t at, int line) const {
    if (at > bytes.size() || kRecordSize > bytes.size() - at) {
        throw std::out_of_range("sub-band record outside its image");
    }
    const bool fresh = LoadedEmpty(line);
    if (fresh || Blank(Text(line, kMinChannel))) {
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kRecordSize, std::uint8_t{0});
        if (Blank(Text(line, kMinChannel))) {
            return;  // an empty minimum channel leaves the record zero
        }
    }
    // A new line writes every field; an edited one only what changed, and its frequencies again
    // when its separation (and so its steps) changed.
    auto changed = [&](int column) { return fresh || Edited(line, column); };
    const std::int64_t code = SeparationCode(line);
    const bool newSteps = changed(kSeparation);
    for (int column : {kMinChannel, kMaxChannel}) {
        if (changed(column)) {
            const FieldRow& row = column == kMinChannel ? kMinRow : kMaxRow;
            Write(row, bytes, at, TypedNumber(row, Text(line, column)).value_or(0));
        }
    }
    if (newSteps) {
        Write(kSeparationRow, bytes, at, code);
    }
    for (int column : {kTxMin, kRxMin}) {
        if (!changed(column) && !newSteps) {
            continue;
        }
        const std::int64_t step = column == kTxMin ? TxStep(code) : RxStep(code);
        const std::string& text = Text(line, column);
        const auto frequency = ParseMegahertz(text);
        const std::int64_t hertz = frequency ? frequency->hertz : 0;
        // A frequency the checks would refuse never becomes a rounded count: the stored one stays.
        const bool exact = Blank(text) || (frequency && frequency->wholeHertz &&
                                           hertz % step == 0 && hertz / step <= kLargestCount);
        if (exact) {
            Write(column == kTxMin ? kTxCountRow : kRxCountRow, bytes, at,
                  Blank(text) ? 0 : hertz / step);
        }
    }
    if (changed(kPower)) {
        Write(kPowerRow, bytes, at, Text(line, kPower) == "Low" ? 1 : 0);
    }
    if (changed(kTxCtcss)) {
        Write(kTxCtcssRow, bytes, at, TypedNumber(kTxCtcssRow, Text(line, kTxCtcss)).value_or(0));
    }
}

// ---- Summary and the other lists --------------------------------------------------------------

void StoreHuntSummary(std::span<std::uint8_t> bytes, std::size_t area) {
    std::int64_t highest = -1;
    int highestLine = 0;
    for (int line = 0; line < kSubBands; ++line) {
        const std::size_t at = RecordAt(area, line);
        if (RecordInUse(bytes, at) && Number(kMaxRow, bytes, at) > highest) {
            highest = Number(kMaxRow, bytes, at);
            highestLine = line + 1;
        }
    }
    const std::size_t first = RecordAt(area, 0);
    const std::int64_t firstMin = RecordInUse(bytes, first) ? Number(kMinRow, bytes, first) : 0;
    int huntEntries = 0;
    const FieldRow& huntChannel = kNormalHuntColumns[0];
    for (std::size_t entry = 0; entry < kNormalHunt.capacity; ++entry) {
        const std::size_t at =
            area + static_cast<std::size_t>(kNormalHunt.base.network) + entry * kNormalHunt.stride;
        if (Number(huntChannel, bytes, at) != 0) {
            ++huntEntries;
        }
    }
    Write(kHighestMaxChannel, bytes, area, std::max<std::int64_t>(highest, 0));
    Write(kHighestSubBand, bytes, area, highestLine);
    Write(kFirstMinChannel, bytes, area, firstMin);
    Write(kNormalHuntCount, bytes, area, huntEntries);
}

bool DuplicateHuntChannel(std::span<const std::string> channels, int line) {
    const FieldRow& row = kNormalHuntColumns[0];
    // 0 is the unused entry, which any number of lines may hold.
    const auto value = TypedNumber(row, channels[static_cast<std::size_t>(line)]);
    if (!value || *value == 0) {
        return false;
    }
    for (std::size_t other = 0; other < channels.size(); ++other) {
        if (other != static_cast<std::size_t>(line) && TypedNumber(row, channels[other]) == value) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> CheckComprehensiveRange(std::string_view highest,
                                                   std::string_view lowest, bool fromHighest) {
    const auto high = TypedNumber(kComprehensiveHighest, highest);
    const auto low = TypedNumber(kComprehensiveLowest, lowest);
    if (!high || !low || *high >= *low) {
        return std::nullopt;
    }
    return std::string(fromHighest ? kHighestBelowLowestMessage : kLowestAboveHighestMessage);
}

}  // namespace km
