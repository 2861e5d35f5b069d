#include "pmr/ChannelTable.h"

#include <algorithm>
#include <cstdio>

#include "fields/FieldOps.h"
#include "pmr/ChannelOptions.h"
#include "pmr/Frequency.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using fields::FieldRow;

std::int64_t NumberOf(const fields::FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::size_t ColumnOffset(const FieldRow& column) {
    return static_cast<std::size_t>(column.at.pmr);
}

std::int64_t ReadColumn(const ChannelRecord& record, const FieldRow& column) {
    return NumberOf(fields::ReadField(column, record, ColumnOffset(column)));
}

void WriteColumn(ChannelRecord& record, const FieldRow& column, std::int64_t value) {
    fields::WriteField(column, record, ColumnOffset(column), value);
}

// ---- Radio type masks ----

bool MaskIn(int mask, std::initializer_list<int> masks) {
    return std::find(masks.begin(), masks.end(), mask) != masks.end();
}
bool IsMobileMask(int mask) {
    return MaskIn(mask, {1, 2, 4, 8, 16, 32});
}
// Heads on which every group is shown as a channel.
bool GroupsAlwaysShown(int mask) {
    return MaskIn(mask, {2, 512, 1024});
}

// ---- Crystal switch and clock shift ----

// frac(x / d) compared with a bound given in 1/100000: (x mod d) * 100000 < bound * d.
constexpr std::int64_t kFracUnit = 100000;
bool FracBelow(std::int64_t x, std::int64_t d, std::int64_t bound) {
    return (x % d) * kFracUnit < bound * d;
}
bool FracAbove(std::int64_t x, std::int64_t d, std::int64_t bound) {
    return (x % d) * kFracUnit > bound * d;
}
bool FracOutside(std::int64_t x, std::int64_t d, std::int64_t low, std::int64_t high) {
    return FracBelow(x, d, low) || FracAbove(x, d, high);
}

// Values in 10 Hz units.
constexpr std::int64_t kXtalDivisor = 76800;        // 768 kHz
constexpr std::int64_t kClockDivisor11M = 1105920;  // 11.0592 MHz
constexpr std::int64_t kClockDivisor4M = 491520;    // 4.9152 MHz
constexpr std::int64_t k800MHz = 80000000;
constexpr std::int64_t k900MHz = 90000000;
constexpr std::int64_t kLocalOscillator = 9000000;  // 90 MHz

bool XtalSwitch(std::int64_t v, int radioTypeMask) {
    const bool lowBand = v > 6600000 && v < 8800000;
    const std::int64_t low = lowBand ? 1950 : 3255;
    const std::int64_t high = lowBand ? 98000 : 96750;
    bool on = FracOutside(v, kXtalDivisor, low, high);
    const std::int64_t w = v >= 40000000 ? v - kLocalOscillator : v + kLocalOscillator;
    on = on || FracOutside(w, kXtalDivisor, low, high);
    on = on || (MaskIn(radioTypeMask, {512, 1024}) && (v == 45865000 || v == 8502500));
    return on;
}

// Receive frequencies of the 800 MHz band whose switch is known, in 10 Hz units above 800 MHz.
constexpr std::int64_t kX8SwitchOff[] = {5170000, 5323750, 5707500, 5861250,
                                         6015000, 6322500, 6398750, 6552500};
constexpr std::int64_t kX8SwitchOn[] = {5680000, 5776250, 5823750, 5836250, 6063750,
                                        6256250, 6697500, 6760000, 6916250};

bool XtalSwitch800(std::int64_t v) {
    bool on = FracOutside(v + k800MHz, kXtalDivisor, 1630, 98300) ||
              FracOutside(v + k800MHz + kLocalOscillator, kXtalDivisor, 1630, 98300);
    if (std::find(std::begin(kX8SwitchOff), std::end(kX8SwitchOff), v) != std::end(kX8SwitchOff)) {
        on = false;
    }
    if (std::find(std::begin(kX8SwitchOn), std::end(kX8SwitchOn), v) != std::end(kX8SwitchOn)) {
        on = true;
    }
    return on;
}

bool ClockShift(std::int64_t v, int radioTypeMask) {
    if (MaskIn(radioTypeMask, {2, 8, 16, 32})) {
        return !FracBelow(v, kClockDivisor11M, 452) && !FracAbove(v, kClockDivisor11M, 99548);
    }
    if (radioTypeMask == 4) {
        return !FracBelow(v, kClockDivisor4M, 1017) && !FracAbove(v, kClockDivisor4M, 98983);
    }
    return false;
}

// ---- Group member lists ----

void WriteMemberList(PmrJobImage& image, int index, const ChannelEntry& entry, GroupType type) {
    const std::size_t at = GroupRecordOffset(index);
    const int members = MemberCapacity(type);
    for (int w = 0; w < kGroupMembers; ++w) {
        const std::uint16_t word =
            w < members ? entry.members[static_cast<std::size_t>(w)] : entry.scanPriority;
        image.SetU16(at + 2 * static_cast<std::size_t>(w), word);
    }
}

void ReadMemberList(const PmrJobImage& image, int index, ChannelEntry& entry, GroupType type) {
    const std::size_t at = GroupRecordOffset(index);
    const int members = MemberCapacity(type);
    for (int w = 0; w < members; ++w) {
        entry.members[static_cast<std::size_t>(w)] =
            image.U16(at + 2 * static_cast<std::size_t>(w));
    }
    if (members < kGroupMembers) {
        entry.scanPriority = image.U16(at + 2 * kScanGroupMembers);
    }
}

// Group indexes: 0..3 the user scan groups, from 4 on the others; a list of index 254 or 255
// was never stored.
constexpr int kUserScanGroups = 4;
constexpr int kOtherGroups = 250;
constexpr int kHighestStoredIndex = 253;
constexpr int kNotStoredIndex = 255;

// ---- The store, one record at a time ----

// The fields of the entry the store copies as they are.
constexpr const FieldRow* kCopied[] = {
    &cr::kNumber,        &cr::kName,          &cr::kRxLockout,     &cr::kRxCode,
    &cr::kEconomiser,    &cr::kReserved,      &cr::kOverrideXtal,  &cr::kTxLockout,
    &cr::kTxCode,        &cr::kPowerHigh,     &cr::kPowerMedium,   &cr::kCommunityRepeater,
    &cr::kHidden,        &cr::kBandwidthBit0, &cr::kBandwidthBit2, &cr::kSelectableCtcss,
    &cr::kTxInvertedDcs, &cr::kSelcall,       &cr::kOpenSelcall,   &cr::kEncode,
    &cr::kPttOffEncode,  &cr::kNoFfskAni,
};

struct StoreCounts {
    int userScan = 0;  // u
    int other = 0;     // p
};

// Frequency in 10 Hz units as stored: 800 to 900 MHz lose their 800 MHz.
struct StoredFrequency {
    std::int64_t v;
    bool band800;
};
StoredFrequency Reduce(std::int64_t hz) {
    const std::int64_t v = hz / 10;
    if (v > k800MHz && v < k900MHz) {
        return {v - k800MHz, true};
    }
    return {v, false};
}

void WriteFrequency(ChannelRecord& out, const FieldRow& column, std::int64_t v, int number,
                    bool transmit, Person& person) {
    if (!fields::RasterCountOf(v)) {
        person.Show(BoxKind::Plain, NotOnRasterText(number, transmit), Buttons::Ok);
    }
    // Rewritten, so that 0 gets the step bits of a zero count too.
    fields::RewriteField(column, out, ColumnOffset(column), v);
}

void ApplyCb(ChannelRecord& out, std::int64_t v, const StoreSettings& settings) {
    const bool cb =
        settings.countryCode == kCountryAustralia && v >= kCbLowerHz / 10 && v <= kCbUpperHz / 10;
    WriteColumn(out, cr::kCb, cb ? 1 : 0);
    const bool noTone = cb && IsCbNoToneChannel(v * 10);
    WriteColumn(out, cr::kCbNoCtcss, noTone ? 1 : 0);
    if (!cb) {
        return;
    }
    constexpr int k5WattLevel = 4;
    if (IsMobileMask(settings.radioTypeMask) &&
        ReadColumn(out, cr::kHighPowerLevel) > k5WattLevel) {
        WriteColumn(out, cr::kHighPowerLevel, k5WattLevel);
    }
    if (noTone) {
        WriteColumn(out, cr::kRxCode, 0);
        WriteColumn(out, cr::kTxCode, 0);
        WriteColumn(out, cr::kSelcall, 0);
    }
}

void SetGroupTypeBits(ChannelRecord& record, GroupType type) {
    WriteColumn(record, cr::kScan, type == GroupType::UserScan || type == GroupType::FixedScan);
    WriteColumn(record, cr::kBandwidthBit0, type == GroupType::UserScan);
    WriteColumn(record, cr::kVote, type == GroupType::Vote);
    WriteColumn(record, cr::kMultiax, type == GroupType::Multiax);
}

void ApplyGroup(ChannelRecord& out, const ChannelEntry& entry, const StoreSettings& settings,
                StoreCounts& counts, PmrJobImage& image, Person& person) {
    const GroupType type = GroupTypeOf(entry);
    const bool selcallScan = entry.Flag(cr::kSelcall);
    out[0] = 0;
    out[1] = 0;
    const bool scanType = type == GroupType::UserScan || type == GroupType::FixedScan;
    WriteColumn(out, cr::kSelcall, scanType && selcallScan ? 1 : 0);
    const bool shown = entry.Flag(cr::kShowAsChannel) || GroupsAlwaysShown(settings.radioTypeMask);
    WriteColumn(out, cr::kShowAsChannel, shown ? 1 : 0);
    WriteColumn(out, cr::kHidden, shown ? 0 : 1);
    if (counts.other < kOtherGroups) {
        SetGroupTypeBits(out, type);
    }
    int index = kNotStoredIndex;
    if (type == GroupType::UserScan) {
        if (counts.userScan < kUserScanGroups) {
            index = counts.userScan++;
        } else {
            person.Show(BoxKind::Error, kTooManyUserScanGroupsText, Buttons::Cancel);
        }
    } else if (counts.other < kOtherGroups) {
        index = counts.other + kUserScanGroups;
        if (index >= static_cast<int>(kGroupsPerArea)) {
            image.SetU16(kGroupBCount, static_cast<std::uint16_t>(index - kGroupsPerArea + 1));
        }
        ++counts.other;
    } else {
        person.Show(BoxKind::Error, kTooManyGroupsText, Buttons::Cancel);
    }
    if (index != kNotStoredIndex) {
        WriteMemberList(image, index, entry, type);
    }
    WriteColumn(out, cr::kIsGroup, index != kNotStoredIndex ? 1 : 0);
    WriteColumn(out, cr::kEncode, index);
}

ChannelRecord StoredRecord(const ChannelEntry& entry, const StoreSettings& settings,
                           StoreCounts& counts, PmrJobImage& image, Person& person) {
    ChannelRecord out{};
    for (const FieldRow* column : kCopied) {
        const std::size_t at = ColumnOffset(*column);
        fields::WriteField(*column, out, at, fields::ReadField(*column, entry.record, at));
    }
    WriteColumn(out, cr::kHighPowerLevel, settings.highPowerLevel);
    WriteColumn(out, cr::kLowPowerLevel, settings.lowPowerLevel);
    WriteColumn(out, cr::kRxNormalDcs, 1);
    WriteColumn(out, cr::kRxInvertedDcs, 1);
    for (const FieldRow* decode : cr::kDecodes) {
        WriteColumn(out, *decode, entry.Get(*decode));
    }
    if (!entry.Flag(cr::kSelcall)) {
        WriteColumn(out, cr::kOpenSelcall, 0);
        WriteColumn(out, cr::kEncode, 0);
        for (const FieldRow* decode : cr::kDecodes) {
            WriteColumn(out, *decode, 0);
        }
    }

    const int number = entry.Number();
    const StoredFrequency rx = Reduce(entry.rxHz);
    const StoredFrequency tx = Reduce(entry.txHz);
    WriteFrequency(out, cr::kRx, rx.v, number, false, person);
    WriteFrequency(out, cr::kTx, tx.v, number, true, person);

    bool xtal = XtalSwitch(rx.v, settings.radioTypeMask);
    WriteColumn(out, cr::kClockShift, ClockShift(rx.v, settings.radioTypeMask) ? 1 : 0);
    if (rx.band800 || tx.band800) {
        xtal = XtalSwitch800(rx.v);
    }
    if (entry.Flag(cr::kOverrideXtal)) {
        xtal = !xtal;
    }
    WriteColumn(out, cr::kXtalSwitch, xtal ? 1 : 0);

    ApplyCb(out, rx.v, settings);

    if (entry.IsGroup()) {
        ApplyGroup(out, entry, settings, counts, image, person);
    } else {
        WriteColumn(out, cr::kIsGroup, 0);
    }
    return out;
}

// The next (or previous) visible position from `from`, going round the table once; `from`
// itself when no other is visible.
std::size_t VisibleLink(const std::vector<bool>& hidden, std::size_t from, bool forward) {
    const std::size_t n = hidden.size();
    for (std::size_t step = 1; step < n; ++step) {
        const std::size_t j = forward ? (from + step) % n : (from + n - step) % n;
        if (!hidden[j]) {
            return j;
        }
    }
    return from;
}

void WriteLinks(PmrJobImage& image, std::size_t count) {
    std::vector<bool> hidden(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kChannelRecords + kRecordSize * i + ColumnOffset(cr::kHidden);
        hidden[i] = NumberOf(fields::ReadField(cr::kHidden, image.Bytes(), at)) != 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kChannelRecords + kRecordSize * i;
        const std::int64_t next =
            hidden[i] ? kNoLink : static_cast<std::int64_t>(VisibleLink(hidden, i, true));
        const std::int64_t prev =
            hidden[i] ? kNoLink : static_cast<std::int64_t>(VisibleLink(hidden, i, false));
        fields::WriteField(cr::kNextLink, image.Bytes(), at + ColumnOffset(cr::kNextLink), next);
        fields::WriteField(cr::kPrevLink, image.Bytes(), at + ColumnOffset(cr::kPrevLink), prev);
    }
}

// `text` cut or filled with blanks to `width` characters (UTF-8 counted by character).
std::string Padded(std::string_view text, std::size_t width) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lead = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (lead && characters == width) {
            break;
        }
        characters += lead ? 1 : 0;
        out.push_back(text[i]);
    }
    out.append(width - characters, ' ');
    return out;
}

std::string RightAligned(std::string_view text, std::size_t width) {
    std::string out(text);
    if (out.size() < width) {
        out.insert(0, width - out.size(), ' ');
    }
    return out;
}

std::string ThreeDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

}  // namespace

int MemberCapacity(GroupType type) {
    return type == GroupType::UserScan || type == GroupType::FixedScan ? kScanGroupMembers
                                                                       : kGroupMembers;
}

// ---- ChannelEntry ----

std::int64_t ChannelEntry::Get(const FieldRow& column) const {
    return ReadColumn(record, column);
}

void ChannelEntry::Set(const FieldRow& column, std::int64_t value) {
    WriteColumn(record, column, value);
}

int ChannelEntry::Number() const {
    return static_cast<int>(Get(cr::kNumber));
}

void ChannelEntry::SetNumber(int number) {
    Set(cr::kNumber, number);
}

std::string ChannelEntry::Name() const {
    const fields::FieldValue value = fields::ReadField(cr::kName, record, ColumnOffset(cr::kName));
    return std::get<std::string>(value);
}

void ChannelEntry::SetName(std::string_view utf8) {
    fields::WriteField(cr::kName, record, ColumnOffset(cr::kName), std::string(utf8));
}

bool ChannelEntry::IsGroup() const {
    return Flag(cr::kIsGroup);
}

GroupType GroupTypeOf(const ChannelEntry& entry) {
    const bool scan = entry.Flag(cr::kScan);
    const bool userScan = entry.Flag(cr::kBandwidthBit0);
    if (scan) {
        return userScan ? GroupType::UserScan : GroupType::FixedScan;
    }
    if (entry.Flag(cr::kVote)) {
        return GroupType::Vote;
    }
    if (entry.Flag(cr::kMultiax)) {
        return GroupType::Multiax;
    }
    return GroupType::FixedScan;
}

void SetGroupType(ChannelEntry& entry, GroupType type) {
    SetGroupTypeBits(entry.record, type);
}

Power PowerOf(const ChannelEntry& entry) {
    if (entry.Flag(cr::kPowerHigh)) {
        return Power::High;
    }
    return entry.Flag(cr::kPowerMedium) ? Power::Medium : Power::Low;
}

void SetPower(ChannelEntry& entry, Power power) {
    entry.SetFlag(cr::kPowerHigh, power == Power::High);
    entry.SetFlag(cr::kPowerMedium, power == Power::Medium);
}

Bandwidth BandwidthOf(const ChannelEntry& entry) {
    const bool bit0 = entry.Flag(cr::kBandwidthBit0);
    const bool bit2 = entry.Flag(cr::kBandwidthBit2);
    if (bit2) {
        return bit0 ? Bandwidth::k20 : Bandwidth::k10;
    }
    return bit0 ? Bandwidth::k25 : Bandwidth::k12_5;
}

void SetBandwidth(ChannelEntry& entry, Bandwidth bandwidth) {
    entry.SetFlag(cr::kBandwidthBit0, bandwidth == Bandwidth::k20 || bandwidth == Bandwidth::k25);
    entry.SetFlag(cr::kBandwidthBit2, bandwidth == Bandwidth::k10 || bandwidth == Bandwidth::k20);
}

ChannelEntry DefaultEntry(std::int64_t rxHz) {
    ChannelEntry entry;
    entry.rxHz = rxHz;
    entry.txHz = rxHz;
    entry.SetFlag(cr::kSelcall, true);
    entry.SetFlag(cr::kOpenSelcall, true);
    for (const FieldRow* decode : cr::kDecodes) {
        entry.SetFlag(*decode, true);
    }
    SetGroupType(entry, GroupType::FixedScan);
    return entry;
}

ChannelEntry NewGroupOf(ChannelEntry entry) {
    entry.SetFlag(cr::kIsGroup, true);
    entry.SetFlag(cr::kSelcall, false);
    return entry;
}

std::string NotOnRasterText(int number, bool transmit) {
    return "Channel " + std::to_string(number) +
           (transmit ? " TX frequency not divisable by reference."
                     : " RX frequency not divisable by reference.");
}

// ---- ChannelTable ----

std::optional<std::size_t> ChannelTable::Add(const ChannelEntry& entry) {
    const int number = entry.Number();
    if (entries_.size() >= static_cast<std::size_t>(kMaxEntries) || number < 0 ||
        number > kHighestNumber || NumberTaken(number)) {
        return std::nullopt;
    }
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), number,
                                     [](int n, const ChannelEntry& e) { return n < e.Number(); });
    const auto position = static_cast<std::size_t>(at - entries_.begin());
    entries_.insert(at, entry);
    return position;
}

std::optional<std::size_t> ChannelTable::Replace(std::size_t position, const ChannelEntry& entry) {
    const int number = entry.Number();
    if (position >= entries_.size() || number < 0 || number > kHighestNumber ||
        NumberTaken(number, position)) {
        return std::nullopt;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    return Add(entry);
}

void ChannelTable::Remove(std::size_t position) {
    if (position < entries_.size()) {
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    }
}

std::optional<std::size_t> ChannelTable::Find(int number) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].Number() == number) {
            return i;
        }
    }
    return std::nullopt;
}

bool ChannelTable::NumberTaken(int number, std::optional<std::size_t> except) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (i != except && entries_[i].Number() == number) {
            return true;
        }
    }
    return false;
}

int ChannelTable::NextNumber() const {
    if (entries_.empty()) {
        return 0;
    }
    const int last = entries_.back().Number();
    return last > kHighestNumber - 1 ? 0 : last + 1;
}

bool ChannelTable::UsedAsMember(int number) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const ChannelEntry& e) {
        if (!e.IsGroup()) {
            return false;
        }
        const int members = MemberCapacity(GroupTypeOf(e));
        return std::find(e.members.begin(), e.members.begin() + members, number) !=
               e.members.begin() + members;
    });
}

bool ChannelTable::UsedAsPriority(int number) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const ChannelEntry& e) {
        return e.IsGroup() && MemberCapacity(GroupTypeOf(e)) == kScanGroupMembers &&
               e.scanPriority == number;
    });
}

void ChannelTable::AppendLoaded(const ChannelEntry& entry) {
    entries_.push_back(entry);
}

void ChannelTable::SortByNumber() {
    std::stable_sort(
        entries_.begin(), entries_.end(),
        [](const ChannelEntry& a, const ChannelEntry& b) { return a.Number() < b.Number(); });
}

bool ChannelDefined(const ChannelTable& table, int number, Person& person) {
    if (table.Find(number)) {
        return true;
    }
    person.Warn(kChannelNotDefinedText);
    return false;
}

bool DeleteAllowed(const ChannelTable& table, std::size_t position, Person& person) {
    const int number = table.At(position).Number();
    if (table.UsedAsMember(number)) {
        person.Error(kUsedInGroupText);
        return false;
    }
    if (table.UsedAsPriority(number)) {
        person.Error(kUsedAsPriorityText);
        return false;
    }
    return true;
}

bool ChannelOptionsName(const PmrJobImage& image, int number) {
    namespace orows = options_rows;
    const auto names = [&](const FieldRow& row) {
        return fields::ReadField(row, image.Bytes(), static_cast<std::size_t>(row.at.pmr)) ==
               fields::FieldValue(std::int64_t{number});
    };
    // The power-on channel counts only when the user defined it: the other modes compute it at
    // every store.
    return names(orows::kGotoA) || names(orows::kGotoB) || names(orows::kGotoC) ||
           names(orows::kGotoD) || names(orows::kDualWatchChannel) ||
           (fields::ReadField(orows::kPowerOnMode, image.Bytes(),
                              static_cast<std::size_t>(orows::kPowerOnMode.at.pmr)) ==
                fields::FieldValue(std::int64_t{orows::kPowerOnDefined}) &&
            names(orows::kPowerOnChannel));
}

// ---- Load and store ----

StoreSettings StoreSettingsOf(const PmrJobImage& image, int radioTypeMask, int countryCode) {
    // A record keeps a level in four bits.
    constexpr int kLargestLevel = 15;
    const PowerLevels levels = PowerLevelsOf(image);
    return {std::clamp(levels.high, 0, kLargestLevel), std::clamp(levels.low, 0, kLargestLevel),
            radioTypeMask, countryCode};
}

void LoadChannelTable(const PmrJobImage& image, ChannelTable& table) {
    table.Clear();
    std::size_t count = image.U16(kChannelCount);
    if (count > static_cast<std::size_t>(kMaxEntries)) {
        count = 0;
    }
    const bool x8 = image.U16(kBandCode) == kX8BandWord;
    for (std::size_t i = 0; i < count; ++i) {
        ChannelEntry entry;
        const auto bytes = image.Bytes().subspan(kChannelRecords + kRecordSize * i, kRecordSize);
        std::copy(bytes.begin(), bytes.end(), entry.record.begin());
        for (auto [column, hz] :
             {std::pair{&cr::kRx, &entry.rxHz}, std::pair{&cr::kTx, &entry.txHz}}) {
            *hz = entry.Get(*column) * 10;
            if (x8 && *hz != 0) {
                *hz += kX8OffsetHz;
            }
        }
        const int index = static_cast<int>(entry.Get(cr::kEncode));
        if (entry.IsGroup()) {
            const GroupType type = GroupTypeOf(entry);
            if (index <= kHighestStoredIndex) {
                ReadMemberList(image, index, entry, type);
            }
            if (MemberCapacity(type) == kGroupMembers) {
                entry.SetFlag(cr::kShowAsChannel, true);
            }
        }
        table.AppendLoaded(entry);
    }
    table.SortByNumber();
}

void StoreChannelTable(const ChannelTable& table, const StoreSettings& settings, PmrJobImage& image,
                       Person& person) {
    image.SetText(kGroupMarker, kGroupMarkerText.size(), kGroupMarkerText);
    image.SetText(kChannelMarker, kChannelMarkerText.size(), kChannelMarkerText);
    image.FillRegion(kGroupArea1, kGroupsPerArea * kRecordSize, 0xFF);
    image.FillRegion(kGroupArea2, kGroupsPerArea * kRecordSize, 0xFF);
    image.FillRegion(kChannelRecords, kMaxEntries * kRecordSize, 0);
    const std::size_t count = std::min(table.Size(), static_cast<std::size_t>(kMaxEntries));
    image.SetU16(kChannelCount, static_cast<std::uint16_t>(count));
    StoreCounts counts;
    std::uint16_t firstVisible = kNoEntry;
    for (std::size_t q = 0; q < count; ++q) {
        const ChannelRecord record = StoredRecord(table.At(q), settings, counts, image, person);
        image.Write(kChannelRecords + kRecordSize * q, record);
        if (firstVisible == kNoEntry && ReadColumn(record, cr::kHidden) == 0) {
            firstVisible = static_cast<std::uint16_t>(q);
        }
    }
    image.SetU16(kFirstVisibleEntry, firstVisible);
    WriteLinks(image, count);
}

// ---- List lines ----

std::string_view GroupTypeText(GroupType type) {
    switch (type) {
        case GroupType::UserScan:
            return "User Scan Grp";
        case GroupType::FixedScan:
            return "Fixed Scan Grp";
        case GroupType::Vote:
            return "Vote Group";
        case GroupType::Multiax:
            return "Multiax Group";
    }
    return "";
}

std::string ListLine(const ChannelEntry& entry) {
    std::string line = ThreeDigits(entry.Number()) + " " + Padded(entry.Name(), 12) + " ";
    if (entry.IsGroup()) {
        line += Padded(GroupTypeText(GroupTypeOf(entry)), 14) + "    ";
        constexpr int kMembersShown = 8;
        for (int m = 0; m < kMembersShown; ++m) {
            const std::uint16_t member = entry.members[static_cast<std::size_t>(m)];
            line +=
                RightAligned(member == kNoMember ? "---" : std::to_string(member).substr(0, 3), 3) +
                ",";
        }
        return line + "  . . .";
    }
    static constexpr std::string_view kPower[] = {"Lo", "Med", "Hi"};
    static constexpr std::string_view kBandwidth[] = {"10", "12", "20", "25"};
    const auto yesNo = [&](const FieldRow& column) { return entry.Flag(column) ? "Yes" : "No"; };
    line +=
        RightAligned(FormatMegahertz(entry.rxHz), 10) + "MHz " + Padded(yesNo(cr::kRxLockout), 3) +
        RightAligned(ShortTextOfCodeByte(static_cast<std::uint8_t>(entry.Get(cr::kRxCode))), 5) +
        " " + RightAligned(FormatMegahertz(entry.txHz), 10) + "MHz " +
        Padded(yesNo(cr::kTxLockout), 3) +
        RightAligned(ShortTextOfCodeByte(static_cast<std::uint8_t>(entry.Get(cr::kTxCode))), 5) +
        "  " + Padded(kPower[static_cast<int>(PowerOf(entry))], 3) + " " +
        Padded(entry.Flag(cr::kSelcall) ? "SC" : "  ", 3) +
        Padded(entry.Flag(cr::kCommunityRepeater) ? "CR" : "  ", 3) +
        Padded(kBandwidth[static_cast<int>(BandwidthOf(entry))], 3) +
        Padded(entry.Flag(cr::kHidden) ? "H" : " ", 2) + " ";
    return line;
}

}  // namespace km::pmr
