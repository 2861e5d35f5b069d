#include "config/Numbering.h"

#include <algorithm>

#include "config/FieldRoutines.h"

namespace km {
namespace {

// ---- MPT1343 / 3RP messages ----
constexpr std::string_view kMptLength = "Invalid Number \nIdentities must be 9 or 10 digits long";
constexpr std::string_view kMptPrefix =
    "Invalid Number \nPrefix (digits 1-3) must be in range 200-327";
constexpr std::string_view kMptFleet =
    "Invalid Number \nFleet Number (digits 4-7) must be in range 2001-6050";
constexpr std::string_view kMptUnitRange =
    "Invalid Number \nUnit Number (last 2 or 3 digits) must be in range 20-89 or 200-899";
constexpr std::string_view kMptGroupRange =
    "Invalid Number \nGroup Number (last 2 or 3 digits) must be in range 90-99 or 900-998";
constexpr std::string_view kMptEitherRange =
    "Invalid Number \nUnit Number (last 2 or 3 digits) must be in range 20-99 or 200-998";
constexpr std::string_view kMptLimitUnit3 =
    "Invalid Number \n( (FleetNumber - 2000)*2 + (UnitNumber - 200) ) must be less than 8100";
constexpr std::string_view kMptLimitUnit2 =
    "Invalid Number \n( (FleetNumber - 2000)*2 + (UnitNumber - 20) ) must be less than 8100";
constexpr std::string_view kMptLimitGroup3 =
    "Invalid Number \n( (FleetNumber - 2000)*2 + (GroupNumber - 900) ) must be less than 8100";
constexpr std::string_view kMptLimitGroup2 =
    "Invalid Number \n( (FleetNumber - 2000)*2 + (GroupNumber - 90) ) must be less than 8100";

// ---- ANN messages ----
constexpr std::string_view kAnnLength =
    "Invalid Number \nIdentities must be 5, 6, 7 or 8 digits long.";
constexpr std::string_view kAnnPrefix = "Invalid Number \nWrong Prefix.";
constexpr std::string_view kAnnLeading = "Invalid Number \nLeading Digit must be 7, 8 or 9.";
constexpr std::string_view kAnnLargeLeading =
    "Invalid Number \nLeading Digit must be 7 for a Large Fleet.";
constexpr std::string_view kAnnLargeUnit =
    "Invalid Number \nUnit Number must be between 200 and 999.";
constexpr std::string_view kAnnMiniUnit =
    "Invalid Number \nUnit Number must be between 20 and 41 or 90 to 93.";
constexpr std::string_view kAnnSmallLeading =
    "Invalid Number \nLeading Digit must be 7 for a Small Fleet.";
constexpr std::string_view kAnnSmallUnit =
    "Invalid Number \nUnit Number must be between 20 and 99.";

// ---- CPSX messages ----
constexpr std::string_view kCpsxLength = "Invalid Number \nIdentities must be 8 digits long";
constexpr std::string_view kCpsxPrefix =
    "Invalid Prefix Number in PPPFFUUU.\nPrefix number range is 200 to 327.";
constexpr std::string_view kCpsxFleet =
    "Invalid Fleet Number in PPPFFUUU.\nFleet number range is 20 to 79.";
constexpr std::string_view kCpsxIllegalMediumGap = "Illegal Fleet Number.";
constexpr std::string_view kCpsxIllegalSmallGap = "Illegal Fleet Number in PPPFFUUU.";
constexpr std::string_view kCpsxOnlyGroups = "Only Groups allowed in this fleet";
constexpr std::string_view kCpsxUnitRange =
    "Invalid Unit Number in PPPFFUUU.                       \nUnit Number range is 200 to %d.";
constexpr std::string_view kCpsxOddGroup =
    "Invalid Group Number in PPPFFGGG.                               \n"
    "For Large Odd Fleet numbers, Group number range is 900 to 909.";
constexpr std::string_view kCpsxGroupTo999 =
    "Invalid Group Number in PPPFFGGG.                       \nGroup Number range is 900 to 999.";
constexpr std::string_view kCpsxGroupRange =
    "Invalid Group Number in PPPFFGGG.                       \nGroup Number range is 900 to %d.";

constexpr int kLowestDialledPrefix = 200;
constexpr int kHighestDialledPrefix = 327;
constexpr int kMaxIdent = 8100;

// The value of a text of only digits and at most `maxDigits` of them; nullopt otherwise. Checking
// the digit count first keeps every value well inside 64 bits.
std::optional<std::int64_t> DigitsValue(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool Refuse(Person& person, std::string_view message) {
    person.Error(message);
    return false;
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// ---- MPT1343 ----

// Units and groups of a ten-digit number have three digits, of a nine-digit number two.
int UnitOrigin(int form, IdentKind kind) {
    if (kind == IdentKind::Group) {
        return form == 3 ? 900 : 90;
    }
    return form == 3 ? 200 : 20;
}

bool IsMptGroupNumber(const Mpt1343Number& number) {
    return number.form == 3 ? InRange(number.unit, 900, 998) : InRange(number.unit, 90, 99);
}

bool CheckPrefixAndFleet(const Mpt1343Number& number, Person& person) {
    if (!InRange(number.prefix, kLowestDialledPrefix, kHighestDialledPrefix)) {
        return Refuse(person, kMptPrefix);
    }
    if (!InRange(number.fleet, 2001, 6050)) {
        return Refuse(person, kMptFleet);
    }
    return true;
}

bool CheckIdentLimit(const Mpt1343Number& number, IdentKind kind, Person& person) {
    const int sum = (number.fleet - 2000) * 2 + (number.unit - UnitOrigin(number.form, kind));
    if (sum <= kMaxIdent) {
        return true;
    }
    const bool three = number.form == 3;
    if (kind == IdentKind::Group) {
        return Refuse(person, three ? kMptLimitGroup3 : kMptLimitGroup2);
    }
    return Refuse(person, three ? kMptLimitUnit3 : kMptLimitUnit2);
}

bool MptUnitInRange(const Mpt1343Number& number) {
    return number.form == 3 ? InRange(number.unit, 200, 899) : InRange(number.unit, 20, 89);
}

bool MptEitherInRange(const Mpt1343Number& number) {
    return number.form == 3 ? InRange(number.unit, 200, 998) : InRange(number.unit, 20, 99);
}

// ---- ANN ----

constexpr int kAnnFirstIdent = 2;
constexpr int kAnnLargeFleetIdents = 800;
constexpr int kAnnSmallFleetIdents = 80;
constexpr int kAnnMiniUnitsPerDigit = 22;
constexpr int kAnnMiniGroupsPerDigit = 4;
constexpr int kAnnMiniFirstGroup = 70;  // offset of a miniaturised fleet's groups

int MiniaturisedFrom(const AnnPrefixEntry& entry) {
    return 100 - 10 * entry.extent;
}

// ---- CPSX ----

constexpr int kCpsxBlock = 810;

struct CpsxFleet {
    int size;
    int units;
    int base;
    bool large;
};

CpsxBounds Normalised(const CpsxBounds& bounds) {
    CpsxBounds b;
    b.large = std::clamp(bounds.large, 0, 10);
    b.medium = std::clamp(bounds.medium, b.large, 10);
    b.small = std::clamp(bounds.small, b.medium, 10);
    return b;
}

std::optional<CpsxFleet> CpsxFleetOf(int fleet, const CpsxBounds& b, Person& person) {
    const int h = fleet - 20;
    if (h / 2 < b.large) {
        return CpsxFleet{810, 700, (h / 2) * kCpsxBlock, true};
    }
    if (h < 2 * b.medium) {
        return CpsxFleet{405, 354, h * 405, false};
    }
    if (h < 3 * b.medium) {
        person.Error(kCpsxIllegalMediumGap);
        return std::nullopt;
    }
    if (h < 3 * b.small) {
        return CpsxFleet{270, 236, h * 270, false};
    }
    if (h < 6 * b.small) {
        person.Error(kCpsxIllegalSmallGap);
        return std::nullopt;
    }
    return CpsxFleet{135, 118, h * 135, false};
}

std::optional<CpsxNumber> ParseCpsx(std::string_view text, Person& person) {
    if (text.empty()) {
        return CpsxNumber{};
    }
    const auto n = DigitsValue(text, 8);
    if (!n || *n < 10000000) {
        person.Error(kCpsxLength);
        return std::nullopt;
    }
    const int value = static_cast<int>(*n);
    return CpsxNumber{value / 100000, (value % 100000) / 1000, value % 1000};
}

}  // namespace

// ---------------------------------------------------------------- MPT1343 and 3RP

std::optional<Mpt1343Number> ParseMpt1343Number(std::string_view text, Person& person) {
    if (text.empty()) {
        return Mpt1343Number{};
    }
    const auto n = DigitsValue(text, 10);
    if (!n || *n < 100000000) {
        person.Error(kMptLength);
        return std::nullopt;
    }
    if (*n >= 1000000000) {
        return Mpt1343Number{3, static_cast<int>(*n / 10000000),
                             static_cast<int>((*n % 10000000) / 1000), static_cast<int>(*n % 1000)};
    }
    return Mpt1343Number{2, static_cast<int>(*n / 1000000), static_cast<int>((*n % 1000000) / 100),
                         static_cast<int>(*n % 100)};
}

bool CheckMpt1343Unit(const Mpt1343Number& number, Person& person) {
    if (!CheckPrefixAndFleet(number, person)) {
        return false;
    }
    if (!MptUnitInRange(number)) {
        return Refuse(person, kMptUnitRange);
    }
    return CheckIdentLimit(number, IdentKind::Unit, person);
}

bool CheckMpt1343Group(const Mpt1343Number& number, Person& person) {
    if (!CheckPrefixAndFleet(number, person)) {
        return false;
    }
    if (!IsMptGroupNumber(number)) {
        return Refuse(person, kMptGroupRange);
    }
    return CheckIdentLimit(number, IdentKind::Group, person);
}

std::optional<IdentKind> CheckMpt1343Either(const Mpt1343Number& number, Person& person) {
    if (!CheckPrefixAndFleet(number, person)) {
        return std::nullopt;
    }
    if (!MptEitherInRange(number)) {
        person.Error(kMptEitherRange);
        return std::nullopt;
    }
    const IdentKind kind = IsMptGroupNumber(number) ? IdentKind::Group : IdentKind::Unit;
    if (!CheckIdentLimit(number, kind, person)) {
        return std::nullopt;
    }
    return kind;
}

Mpt1343Address Mpt1343NumberToAddress(const Mpt1343Number& number, IdentKind kind) {
    Mpt1343Address address;
    address.storedPrefix = number.prefix - kLowestDialledPrefix;
    address.fleetBase = (number.fleet - 2000) * 2;
    address.ident = address.fleetBase + number.unit - UnitOrigin(number.form, kind);
    return address;
}

std::int64_t ComposeMpt1343Number(const Mpt1343Number& number) {
    if (number.form == 3) {
        return std::int64_t{number.prefix} * 10000000 + std::int64_t{number.fleet} * 1000 +
               number.unit;
    }
    return std::int64_t{number.prefix} * 1000000 + std::int64_t{number.fleet} * 100 + number.unit;
}

Mpt1343Number Mpt1343NumberOfAddress(const Mpt1343Address& address, int form, IdentKind kind) {
    Mpt1343Number number;
    number.form = form;
    number.prefix = (address.storedPrefix & 0x7F) + kLowestDialledPrefix;
    number.fleet = (address.fleetBase >> 1) + 2000;
    number.unit = address.ident + UnitOrigin(form, kind) - address.fleetBase;
    return number;
}

// ---------------------------------------------------------------- ANN

AnnPrefixTable AnnPrefixTableOf(const NetworkImage& network) {
    AnnPrefixTable table;
    for (std::size_t p = 0; p < table.size(); ++p) {
        table[p].extent = network.U8(network::kAnnPrefixTable + 2 * p);
        table[p].partition = network.U8(network::kAnnPrefixTable + 2 * p + 1);
    }
    return table;
}

std::optional<AnnNumber> ParseAnnNumber(std::string_view text, const AnnPrefixTable& table,
                                        Person& person) {
    if (text.empty()) {
        return AnnNumber{};
    }
    const auto value = DigitsValue(text, 8);
    if (!value || text.size() < 5) {
        person.Error(kAnnLength);
        return std::nullopt;
    }
    const int n = static_cast<int>(*value);
    const int q = n / 10000;
    AnnNumber number;
    switch (text.size()) {
        case 5:
            number.leadingDigit = q;
            break;
        case 6:
            number.leadingDigit = n / 100000;
            number.prefix = q % 10;
            break;
        case 7:
            number.leadingDigit = n / 1000000;
            number.prefix = q % 100;
            break;
        default:
            number.leadingDigit = n / 10000000;
            number.prefix = q % 1000;
            break;
    }
    if (!InRange(number.leadingDigit, 7, 9)) {
        person.Error(kAnnLeading);
        return std::nullopt;
    }
    if (number.prefix >= static_cast<int>(table.size())) {
        person.Error(kAnnPrefix);
        return std::nullopt;
    }
    const AnnPrefixEntry& entry = table[static_cast<std::size_t>(number.prefix)];
    const int r = n % 10000;
    if (r / 1000 < entry.partition) {
        number.annClass = AnnClass::LargeFleet;
        number.fleet = r / 1000;
        number.unit = r % 1000;
        if (number.leadingDigit != 7) {
            person.Error(kAnnLargeLeading);
            return std::nullopt;
        }
        if (number.unit < 200) {
            person.Error(kAnnLargeUnit);
            return std::nullopt;
        }
        return number;
    }
    number.fleet = r / 100;
    number.unit = r % 100;
    if (number.fleet >= MiniaturisedFrom(entry)) {
        number.annClass = AnnClass::Miniaturised;
        if (!InRange(number.unit, 20, 41) && !InRange(number.unit, 90, 93)) {
            person.Error(kAnnMiniUnit);
            return std::nullopt;
        }
        return number;
    }
    number.annClass = AnnClass::SmallFleet;
    if (number.leadingDigit != 7) {
        person.Error(kAnnSmallLeading);
        return std::nullopt;
    }
    if (number.unit < 20) {
        person.Error(kAnnSmallUnit);
        return std::nullopt;
    }
    return number;
}

AnnAddress AnnNumberToAddress(const AnnNumber& number) {
    AnnAddress address;
    const int digitStep = number.leadingDigit - 7;
    switch (number.annClass) {
        case AnnClass::LargeFleet:
            address.fleetBase = number.fleet * kAnnLargeFleetIdents + kAnnFirstIdent;
            address.ident = address.fleetBase + number.unit - 200;
            break;
        case AnnClass::SmallFleet:
            address.fleetBase = number.fleet * kAnnSmallFleetIdents + kAnnFirstIdent;
            address.ident = address.fleetBase + number.unit - 20;
            break;
        case AnnClass::Miniaturised:
            if (number.unit >= 90) {
                address.fleetBase = number.fleet * kAnnSmallFleetIdents + kAnnMiniFirstGroup +
                                    kAnnMiniGroupsPerDigit * digitStep;
                address.ident = address.fleetBase + number.unit - 90;
            } else {
                address.fleetBase = number.fleet * kAnnSmallFleetIdents + kAnnFirstIdent +
                                    kAnnMiniUnitsPerDigit * digitStep;
                address.ident = address.fleetBase + number.unit - 20;
            }
            break;
        case AnnClass::None:
            break;
    }
    return address;
}

std::optional<std::int64_t> AnnIdentToNumber(int prefix, int fleetBase, int ident,
                                             const AnnPrefixTable& table) {
    if (!InRange(prefix, 0, static_cast<int>(table.size()) - 1) || ident < kAnnFirstIdent) {
        return std::nullopt;
    }
    const AnnPrefixEntry& entry = table[static_cast<std::size_t>(prefix)];
    const std::int64_t head = prefix > 99 ? 7000 : 700;
    const std::int64_t p = prefix;
    if (ident < entry.partition * kAnnLargeFleetIdents + kAnnFirstIdent) {
        // The fleet comes from the base, which must be a large fleet's base holding the ident.
        const int fleet = (fleetBase - kAnnFirstIdent) / kAnnLargeFleetIdents;
        const int unit = ident - fleetBase + 200;
        if (fleetBase < kAnnFirstIdent ||
            (fleetBase - kAnnFirstIdent) % kAnnLargeFleetIdents != 0 || fleet > 9 ||
            !InRange(unit, 200, 999)) {
            return std::nullopt;
        }
        return (head + p) * 10000 + fleet * 1000 + unit;
    }
    const int g = (ident - kAnnFirstIdent) / kAnnSmallFleetIdents;
    if (g > 99) {
        return std::nullopt;  // past the last fleet the scheme can dial
    }
    const int k = ident - kAnnSmallFleetIdents * g;
    if (entry.extent != 0 && g >= MiniaturisedFrom(entry)) {
        int t = 0;
        int d = 7;
        if (k < 68) {
            for (t = k + 18; t > 41; t -= kAnnMiniUnitsPerDigit) {
                ++d;
            }
        } else if (k >= kAnnMiniFirstGroup) {
            for (t = k + 20; t > 93; t -= kAnnMiniGroupsPerDigit) {
                ++d;
            }
        } else {
            return std::nullopt;  // the two idents between the units and the groups
        }
        return (d * (prefix > 99 ? 1000 : 100) + p) * 10000 + g * 100 + t;
    }
    return (head + p) * 10000 + g * 100 + ((ident - kAnnFirstIdent) % kAnnSmallFleetIdents + 20);
}

// ---------------------------------------------------------------- CPSX

std::optional<CpsxNumber> ParseCpsxUnitNumber(std::string_view text, Person& person) {
    return ParseCpsx(text, person);
}

std::optional<CpsxNumber> ParseCpsxGroupNumber(std::string_view text, Person& person) {
    return ParseCpsx(text, person);
}

std::optional<CpsxAddress> CpsxNumberToIdent(const CpsxNumber& number, IdentKind kind,
                                             const CpsxBounds& bounds, Person& person) {
    if (number.prefix == 0 && number.fleet == 0 && number.value == 0) {
        return CpsxAddress{};
    }
    if (!InRange(number.prefix, kLowestDialledPrefix, kHighestDialledPrefix)) {
        person.Error(kCpsxPrefix);
        return std::nullopt;
    }
    if (!InRange(number.fleet, 20, 79)) {
        person.Error(kCpsxFleet);
        return std::nullopt;
    }
    const auto fleet = CpsxFleetOf(number.fleet, Normalised(bounds), person);
    if (!fleet) {
        return std::nullopt;
    }
    const bool oddLarge = fleet->large && number.fleet % 2 == 1;
    const int c = number.value;
    CpsxAddress address{0, fleet->size, fleet->units};
    if (kind == IdentKind::Unit) {
        if (oddLarge) {
            person.Error(kCpsxOnlyGroups);
            return std::nullopt;
        }
        if (!InRange(c, 200, 199 + fleet->units)) {
            person.Error(FormatNumbers(kCpsxUnitRange, {199 + fleet->units}));
            return std::nullopt;
        }
        address.ident = fleet->base + 1 + (c - 200);
        return address;
    }
    const int groups = fleet->size - fleet->units;
    if (oddLarge) {
        if (!InRange(c, 900, 909)) {
            person.Error(kCpsxOddGroup);
            return std::nullopt;
        }
        address.ident = fleet->base + 801 + (c - 900);
        return address;
    }
    if (!InRange(c, 900, 899 + groups)) {
        if (899 + groups >= 999) {
            person.Error(kCpsxGroupTo999);
        } else {
            person.Error(FormatNumbers(kCpsxGroupRange, {899 + groups}));
        }
        return std::nullopt;
    }
    address.ident = fleet->base + 1 + fleet->units + (c - 900);
    return address;
}

std::optional<std::int64_t> CpsxIdentToNumber(int storedPrefix, int ident,
                                              const CpsxBounds& bounds) {
    if (!InRange(ident, 0, kMaxIdent)) {
        return std::nullopt;
    }
    const std::int64_t head = 20000000 + std::int64_t{storedPrefix & 0x7F} * 100000;
    if (ident == 0) {
        return head;
    }
    const CpsxBounds b = Normalised(bounds);
    int size = 270;
    int units = 236;
    if (ident <= kCpsxBlock * b.large) {
        size = 810;
        units = 700;
    } else if (ident <= kCpsxBlock * b.medium) {
        size = 405;
        units = 354;
    } else if (ident > kCpsxBlock * b.small) {
        size = 135;
        units = 118;
    }
    int f = (ident - 1) / size;
    if (size == 810) {
        f *= 2;
    }
    const int r = (ident - 1) % size;
    int fleet = f + 20;
    int value = r + 200;
    if (r >= units) {
        value = r - units + 900;
        if (value > 999) {
            value = r - units + 800;  // the groups of the odd partner of a large pair
            fleet = f + 21;
        }
    }
    return head + fleet * 1000 + value;
}

}  // namespace km
