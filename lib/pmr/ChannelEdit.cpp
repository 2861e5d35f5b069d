#include "pmr/ChannelEdit.h"

#include <algorithm>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;

constexpr std::int64_t k360MHz = 360000000;
constexpr std::int64_t k450MHz = 450000000;
constexpr std::int64_t kX8TxGapLowerHz = 825000000;
constexpr std::int64_t kX8RxLowerHz = 851000000;
constexpr std::int64_t kCbRasterHz = 12500;

bool IsMobile(int radioTypeMask) {
    return radioTypeMask == 1 || radioTypeMask == 2 || radioTypeMask == 4 || radioTypeMask == 8 ||
           radioTypeMask == 16 || radioTypeMask == 32;
}

bool AustralianCb(const ChannelEditContext& context, std::int64_t hz) {
    return context.countryCode == kCountryAustralia && InCbRange(hz);
}

// "%s" replaced by the text.
std::string WithText(std::string_view pattern, std::string_view text) {
    std::string out(pattern);
    if (const auto at = out.find("%s"); at != std::string::npos) {
        out.replace(at, 2, text);
    }
    return out;
}

// "%ld" (or "%d") replaced by the values in turn.
std::string WithNumbers(std::string_view pattern, std::initializer_list<std::int64_t> values) {
    std::string out(pattern);
    for (std::int64_t value : values) {
        std::size_t at = out.find("%ld");
        std::size_t length = 3;
        if (at == std::string::npos) {
            at = out.find("%d");
            length = 2;
        }
        if (at == std::string::npos) {
            break;
        }
        out.replace(at, length, std::to_string(value));
    }
    return out;
}

std::string BandText(std::string_view pattern, const BandLimits& band) {
    return WithNumbers(pattern, {band.LowerMHz(), band.UpperMHz()});
}

std::string OutOfBandText(std::string_view pattern, std::int64_t hz, const BandLimits& band) {
    return WithNumbers(pattern, {hz / kHzPerMHz, band.LowerMHz(), band.UpperMHz()});
}

// The value of a frequency field, or nullopt after telling the user the text is no frequency.
std::optional<std::int64_t> FrequencyOf(std::string_view text, Person& person) {
    const auto hz = ParseMegahertz(text);
    if (!hz) {
        person.Error(WithText(kNotAFrequencyText, text));
    }
    return hz;
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// The number's checks of a leave and of the final check.
bool NumberPasses(const ChannelEditFields& fields, const ChannelEditContext& context,
                  Person& person) {
    if (Blank(fields.number)) {
        person.Error(kNoNumberText);
        return false;
    }
    if (!RangeCheck(fields.number, 0, kHighestNumber, person)) {
        return false;
    }
    const auto number = static_cast<int>(IntegerOfField(fields.number));
    if (context.table.NumberTaken(number, context.replacing)) {
        person.Error(kDuplicateNumberText);
        return false;
    }
    // A channel a group lists keeps its number, or the group would name a channel that is gone.
    if (context.replacing) {
        const int old = context.table.At(*context.replacing).Number();
        if (number != old &&
            (context.table.UsedAsMember(old) || context.table.UsedAsPriority(old))) {
            person.Error(kRenumberUsedInGroupText);
            return false;
        }
    }
    return true;
}

void ClearCodes(ChannelEditFields& fields) {
    fields.rxCode = 0;
    fields.txCode = 0;
}

bool IsDcsCode(std::uint8_t code) {
    return IsDcsCodeByte(code);
}

void DisableTransmit(ChannelEditFields& fields) {
    fields.power = Power::Low;
    fields.tx.clear();
}

// Step 5 of the final check: the CB band plan for a transmit frequency in the CB range. False
// when the dialog stays open.
bool FinalCbRules(ChannelEditFields& fields, std::int64_t rxHz, std::int64_t txHz,
                  const ChannelEditContext& context, bool nameFocused, FinalCheck& result,
                  Person& person) {
    fields.bandwidth = Bandwidth::k12_5;
    if (rxHz % kCbRasterHz != 0) {
        person.Error(kRxNotCbText);
        result.focus = EditField::Rx;
        return false;
    }
    if (txHz % kCbRasterHz != 0) {
        person.Error(kTxNotCbText);
        result.focus = EditField::Tx;
        return false;
    }
    if (txHz == 476950000 || txHz == 476975000) {
        person.Warn(kCbDataOnlyText);
        DisableTransmit(fields);
    } else if (txHz == 476937500 || txHz == 476962500 || txHz == 476987500) {
        person.Warn(kCbNotPermittedText);
        DisableTransmit(fields);
    } else if (IsCbNoToneChannel(txHz)) {
        fields.selcallEnabled = false;
        if (fields.txCode != 0) {
            person.Warn(kCbNoToneText);
            ClearCodes(fields);
        }
    }
    if (IsMobile(context.radioTypeMask) && fields.power != Power::Low) {
        person.Warn(kCbMobilePowerText);
        if (fields.power == Power::Medium) {
            fields.power = Power::Low;
        }
    }
    if (!nameFocused && !fields.nameEdited) {
        if (const auto name = CbChannelName(rxHz, txHz)) {
            fields.name = *name;
        }
    }
    return true;
}

bool EncodePasses(std::string_view text, Person& person) {
    return RangeCheck(text, 0, kMaxEncode, person);
}

std::string EncodeText(std::int64_t value) {
    return value == 0 ? std::string() : std::to_string(value);
}

}  // namespace

ChannelEditFields FieldsOf(const ChannelEntry& entry) {
    ChannelEditFields fields;
    fields.number = std::to_string(entry.Number());
    fields.name = entry.Name();
    fields.rx = ShortestMegahertz(entry.rxHz);
    fields.txDisabled = entry.txHz == 0;
    fields.tx = fields.txDisabled ? std::string() : ShortestMegahertz(entry.txHz);
    fields.rxCode = static_cast<std::uint8_t>(entry.Get(cr::kRxCode));
    fields.txCode = static_cast<std::uint8_t>(entry.Get(cr::kTxCode));
    fields.power = PowerOf(entry);
    fields.bandwidth = BandwidthOf(entry);
    fields.selectableCtcss = entry.Flag(cr::kSelectableCtcss);
    fields.communityRepeater = entry.Flag(cr::kCommunityRepeater);
    fields.rxLockout = entry.Flag(cr::kRxLockout);
    fields.openSelcall = entry.Flag(cr::kOpenSelcall);
    fields.selcallEnabled = entry.Flag(cr::kSelcall);
    fields.encode = EncodeText(entry.Get(cr::kEncode));
    fields.pttOffEncode = EncodeText(entry.Get(cr::kPttOffEncode));
    return fields;
}

void ReadBack(const ChannelEditFields& fields, ChannelEntry& entry) {
    entry.SetNumber(static_cast<int>(IntegerOfField(fields.number)));
    entry.SetName(fields.name);
    entry.rxHz = ParseMegahertz(fields.rx).value_or(0);
    entry.txHz = fields.txDisabled ? 0 : ParseMegahertz(fields.tx).value_or(0);
    entry.Set(cr::kRxCode, fields.rxCode);
    entry.Set(cr::kTxCode, fields.txCode);
    SetPower(entry, fields.power);
    SetBandwidth(entry, fields.bandwidth);
    entry.SetFlag(cr::kSelectableCtcss, fields.selectableCtcss);
    entry.SetFlag(cr::kCommunityRepeater, fields.communityRepeater);
    entry.SetFlag(cr::kRxLockout, fields.rxLockout);
    entry.SetFlag(cr::kOpenSelcall, fields.openSelcall);
    entry.SetFlag(cr::kSelcall, fields.selcallEnabled);
    entry.Set(cr::kEncode, IntegerOfField(fields.encode));
    entry.Set(cr::kPttOffEncode, IntegerOfField(fields.pttOffEncode));
}

bool NumberLeft(const ChannelEditFields& fields, const ChannelEditContext& context,
                Person& person) {
    return NumberPasses(fields, context, person);
}

bool NameLeft(ChannelEditFields& fields, const ChannelEditContext& context, Person& person) {
    constexpr int kHmFMask = 16;
    if (context.radioTypeMask == kHmFMask &&
        !LeaveDisplayName(fields.name, fields.wideNameKept, context.hmFPlus, person)) {
        return false;
    }
    fields.nameEdited = true;
    return true;
}

bool FrequencyLeft(ChannelEditFields& fields, bool transmit, const ChannelEditContext& context,
                   Person& person) {
    fields.nameEdited = false;
    std::string& text = transmit ? fields.tx : fields.rx;
    if (transmit && fields.txDisabled) {
        person.Error(kTxWhileDisabledText);
        text.clear();
        return true;
    }
    if (Blank(text)) {
        person.Error(BandText(kUndefinedFrequencyText, context.band));
        return true;
    }
    const auto hz = FrequencyOf(text, person);
    if (!hz) {
        return false;
    }
    if (context.band.x8) {
        if (transmit && *hz > kX8TxGapLowerHz && *hz < kX8RxLowerHz) {
            person.Warn(kX8TxText);
        } else if (!transmit && *hz < kX8RxLowerHz) {
            person.Warn(kX8RxText);
        }
    }
    if (!context.band.Contains(*hz)) {
        person.Error(OutOfBandText(kOutOfBandLeftText, *hz, context.band));
        return true;
    }
    if (AustralianCb(context, *hz)) {
        fields.bandwidth = Bandwidth::k12_5;
        if (*hz % kCbRasterHz != 0) {
            person.Error(kNotCbChannelText);
            return false;
        }
        if (fields.power == Power::Medium) {
            person.Warn(kCbMediumLeftText);
            fields.power = Power::Low;
        }
        const std::uint8_t ownCode = transmit ? fields.txCode : fields.rxCode;
        if (IsCbNoToneChannel(*hz) && ownCode != 0) {
            person.Warn(kCbNoToneLeftText);
            ClearCodes(fields);
        }
    }
    if (!OnRaster(*hz)) {
        person.Error(fields::kNotOnRasterMessage);
        return false;
    }
    if (*hz == k360MHz || *hz == k450MHz) {
        person.Warn(kUnusableRxText);
    }
    return true;
}

bool EncodeChanged(std::string_view text, Person& person) {
    return EncodePasses(text, person);
}

void TxDisabledTicked(ChannelEditFields& fields, Person& person) {
    if (!fields.txDisabled || Blank(fields.tx)) {
        return;
    }
    if (person.Ask(kDisableTransmitQuestion) == Answer::Yes) {
        fields.tx.clear();
    } else {
        fields.txDisabled = false;
    }
}

void RxLockoutTicked(ChannelEditFields& fields, Person& person) {
    if (fields.rxLockout && fields.openSelcall) {
        person.Error(kOpenSelcallRxLockoutText);
        fields.rxLockout = false;
    }
}

void OpenSelcallTicked(ChannelEditFields& fields, Person& person) {
    if (fields.openSelcall && fields.rxLockout) {
        person.Error(kOpenSelcallRxLockoutText);
        fields.openSelcall = false;
    }
}

void CommunityRepeaterTicked(const ChannelEditFields& fields, Person& person) {
    if (fields.communityRepeater && (fields.rxCode == 0 || fields.txCode == 0)) {
        person.Warn(kCommunityRepeaterText);
    }
}

void CodeChanged(ChannelEditFields& fields, bool transmit, const ChannelEditContext& context,
                 Person& person) {
    const std::uint8_t code = transmit ? fields.txCode : fields.rxCode;
    if (code == 0) {
        fields.communityRepeater = false;
    }
    if ((fields.rxCode == 0 && fields.txCode == 0) || IsDcsCode(fields.rxCode)) {
        fields.selectableCtcss = false;
    }
    if (context.countryCode != kCountryAustralia || code == 0) {
        return;
    }
    const auto hz = ParseMegahertz(transmit ? fields.tx : fields.rx);
    if (hz && IsCbNoToneChannel(*hz)) {
        person.Warn(transmit ? kCbNoToneTxCodeText : kCbNoToneText);
        ClearCodes(fields);
    }
}

void SelectableCtcssTicked(ChannelEditFields& fields, Person& person) {
    if (!fields.selectableCtcss) {
        return;
    }
    if (IsDcsCode(fields.rxCode)) {
        person.Warn(kSelectableWithDcsText);
        fields.selectableCtcss = false;
    } else if (fields.rxCode == 0 && fields.txCode == 0) {
        person.Warn(kSelectableWithoutToneText);
        fields.selectableCtcss = false;
    }
}

void PowerChanged(ChannelEditFields& fields, const ChannelEditContext& context, Person& person) {
    const auto tx = ParseMegahertz(fields.tx);
    if (fields.power == Power::Medium && tx && AustralianCb(context, *tx)) {
        person.Warn(kCbMediumPowerText);
        fields.power = Power::Low;
    }
}

void BandwidthChanged(ChannelEditFields& fields, const ChannelEditContext& context,
                      Person& person) {
    const auto tx = ParseMegahertz(fields.tx);
    if (fields.bandwidth != Bandwidth::k12_5 && tx && AustralianCb(context, *tx)) {
        person.Warn(kCbBandwidthText);
        fields.bandwidth = Bandwidth::k12_5;
    }
}

FinalCheck FinalChannelCheck(ChannelEditFields& fields, const ChannelEditContext& context,
                             bool nameFocused, Person& person) {
    FinalCheck result;
    // A frequency off the raster keeps the dialog open while the other checks still run; the
    // other failures end the check. The number and encode checks run whatever the frequencies
    // were, so that no entry without a valid, unique number reaches the table.
    bool offRaster = false;
    const auto frequenciesPass = [&] {
        if (fields.txDisabled) {
            fields.tx.clear();
            return true;
        }
        if (Blank(fields.rx) || Blank(fields.tx)) {
            person.Error(BandText(kUndefinedRxTxText, context.band));
            result.focus = Blank(fields.rx) ? EditField::Rx : EditField::Tx;
            return false;
        }
        const auto rx = FrequencyOf(fields.rx, person);
        const auto tx = rx ? FrequencyOf(fields.tx, person) : std::nullopt;
        if (!rx || !tx) {
            result.focus = rx ? EditField::Tx : EditField::Rx;
            return false;
        }
        if (!context.band.Contains(*rx)) {
            person.Error(OutOfBandText(kOutOfBandText, *rx, context.band));
            return true;
        }
        if (!OnRaster(*rx)) {
            person.Error(fields::kNotOnRasterMessage);
            result.focus = EditField::Rx;
            offRaster = true;
        }
        if (AustralianCb(context, *tx) &&
            !FinalCbRules(fields, *rx, *tx, context, nameFocused, result, person)) {
            return false;
        }
        if (!context.band.Contains(*tx)) {
            person.Error(OutOfBandText(kOutOfBandText, *tx, context.band));
            return true;
        }
        if (!OnRaster(*tx)) {
            person.Error(fields::kNotOnRasterMessage);
            if (!offRaster) {
                result.focus = EditField::Tx;
            }
            offRaster = true;
        }
        return true;
    };
    if (!frequenciesPass()) {
        return result;
    }
    if (!NumberPasses(fields, context, person)) {
        result.focus = EditField::Number;
        return result;
    }
    if (!EncodePasses(fields.encode, person)) {
        result.focus = EditField::Encode;
        return result;
    }
    if (!EncodePasses(fields.pttOffEncode, person)) {
        result.focus = EditField::PttOffEncode;
        return result;
    }
    result.close = !offRaster;
    return result;
}

std::optional<std::string> CbChannelName(std::int64_t rxHz, std::int64_t txHz) {
    const auto rx = CbChannel(rxHz);
    if (!rx) {
        return std::nullopt;
    }
    const auto tx = CbChannel(txHz);
    if (!tx || *tx == *rx) {
        return "CB CH" + std::to_string(*rx);
    }
    if (*rx >= 1 && *rx <= 8 && *tx == *rx + 30) {
        return "CB Rep " + std::to_string(*rx);
    }
    return "CB CH" + std::to_string(*rx) + "-" + std::to_string(*tx);
}

}  // namespace km::pmr
