#include "config/IdMap.h"

#include <stdexcept>
#include <tuple>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"

namespace km {

namespace id_rows {

const FieldRow& Row(std::string_view id) {
    return fields::RowById(kRows, id);
}

}  // namespace id_rows

namespace {

using fields::FieldRow;
using id_rows::Row;

// ---- Messages ----

constexpr std::string_view kIndividualFirst = "Individual Ident must be correctly defined first";
constexpr std::string_view kRadioIdentityFirst = "Radio's Identity must be correctly defined first";
constexpr std::string_view kCpsxHighestUnit =
    "Invalid Highest Unit Number.                    \nHighest Unit Number range is 200 to %d.";
constexpr std::string_view kUnitRange3 = "Value out of Range. Must be between 200 - 899";
constexpr std::string_view kUnitRange2 = "Value out of Range. Must be between 20 - 89";
constexpr std::string_view kUnitRangeMini = "Value out of Range. Must be between 20 - 41";
constexpr std::string_view kUnitTooHigh = "Unit number is too high for corresponding fleet number";
constexpr std::string_view kGroupRange = "Value out of Range. Must be between 90-99 or 900-998";
constexpr std::string_view kGroupTooHigh =
    "Group number is too high for corresponding fleet number";
constexpr std::string_view kAnnGroupLarge = "Highest Group Number must be betweem 900 and 998";
constexpr std::string_view kAnnGroupSmall = "Highest Group Number must be betweem 90 and 99";
constexpr std::string_view kAnnGroupMini = "Highest Group Number must be betweem 90 and 93";
constexpr std::string_view kCpsxHighestGroup =
    "Invalid Highest Group Number.                    \nHighest Group Number range is 900 to %d.";
constexpr std::string_view kOwnFleetRange = "Value out of Range. Must be between 2001 - 6050";
constexpr std::string_view kFleetTooHigh = "Fleet number is too high";
constexpr std::string_view kCpsxLargeOrder =
    "Large size parameter must be less than or equal to the Medium size parameter.           "
    "     \n ";
constexpr std::string_view kCpsxMediumOrder =
    "Medium size parameter cannot be greater than the Small size parameter.                \n"
    "Medium size parameter cannot be smaller than the Large size parameter.                \n ";
constexpr std::string_view kCpsxSmallOrder =
    "Small size parameter must be greater than or equal to the Medium size parameter.          "
    "      \n ";

constexpr std::string_view kFleetCodeOnEnter =
    "Invalid FleetCode. Valid numbers are:                        \n"
    "   0 - disabled                         \n"
    "   20 - 29 or 90 - 99                            \n"
    "   200 - 299 or 900 - 999                \n ";
constexpr std::string_view kPrefixOnEnter =
    "Invalid Prefix. Valid numbers are:                        \n   200 - 327                \n ";
constexpr std::string_view kFleetOnEnter =
    "Invalid Fleet. Valid numbers are:                        \n   2001 - 6050                \n ";
constexpr std::string_view kFleetCodeOnLeave =
    "Invalid FleetCode. Valid numbers are:                     \n"
    "   0 - disabled                      \n"
    "   20 - 29 or 90 - 99                         \n"
    "   200 - 299 or 900 - 999             \n ";
constexpr std::string_view kPrefixOnLeave =
    "Invalid Prefix. Valid numbers are:                    \n   200 - 327            \n ";
constexpr std::string_view kFleetOnLeave =
    "Invalid Fleet. Valid numbers are:                    \n   2001 - 6050            \n ";
constexpr std::string_view kHighestForTwoDigitCode =
    "Invalid Highest Number.                         \n"
    "For the defined FleetCode, valid numbers are:                       \n"
    "   0 - disabled                        \n"
    "   200 - 999                \n ";
constexpr std::string_view kHighestForThreeDigitCode =
    "Invalid Highest Number.                         \n"
    "For the defind FleetCode, valid numbers are:                       \n"
    "   0 - disabled                        \n"
    "   20 - 99                \n ";

// ---- Numbers of the schemes ----

constexpr int kDialledPrefixBase = 200;
constexpr int kAnnLargeGroupBaseOffset = 700;  // a large fleet's groups start 700 idents on

// Stands in for the person where a store converts what the exit checks already passed.
class SilentPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons) override { return Answer::Ok; }
    void Beep() override {}
};

bool InRange(std::int64_t value, std::int64_t low, std::int64_t high) {
    return value >= low && value <= high;
}

bool IsMptLike(int scheme) {
    return scheme == kSchemeMpt1343 || scheme == kScheme3Rp;
}

std::size_t SlotAt(int selector, std::int32_t offset) {
    return trunk::SlotStart(selector) + static_cast<std::size_t>(offset);
}

std::int64_t NumberOf(const fields::FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::int64_t ReadNumber(const TrunkJobImage& image, std::size_t at, const FieldRow& row) {
    return NumberOf(
        fields::ReadField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.trunk)));
}

void WriteNumber(TrunkJobImage& image, std::size_t at, const FieldRow& row, std::int64_t value) {
    fields::WriteField(row, image.Bytes(), at + static_cast<std::size_t>(row.at.trunk), value);
}

std::int64_t SlotNumber(const TrunkJobImage& image, int selector, std::string_view id) {
    return ReadNumber(image, trunk::SlotStart(selector), Row(id));
}

void SetSlotNumber(TrunkJobImage& image, int selector, std::string_view id, std::int64_t value) {
    WriteNumber(image, trunk::SlotStart(selector), Row(id), value);
}

// The number a field holds; nullopt for an empty text or one that is no plain number.
std::optional<std::int64_t> EnteredNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return IntegerOfField(text);
}

bool Refuse(Person& person, std::string_view message) {
    person.Error(message);
    return false;
}

ExitCheck Failed(std::optional<std::string> replaceWith = std::nullopt) {
    return {false, std::move(replaceWith)};
}

// ---- Record columns ----

const FieldRow& Column(std::string_view id) {
    return fields::RowById(id_rows::kGroupColumns, id);
}

// The CPSX ident of a fleet's unit 200: the fleet's base. The odd fleet of a large pair holds
// groups only; its base is its even partner's.
int CpsxFleetBase(const CpsxNumber& number, const CpsxBounds& bounds) {
    SilentPerson quiet;
    for (int fleet : {number.fleet, number.fleet - 1}) {
        const auto address =
            CpsxNumberToIdent({number.prefix, fleet, 200}, IdentKind::Unit, bounds, quiet);
        if (address) {
            return address->ident;
        }
    }
    return 0;
}

std::optional<ParsedIdentity> ParseMptLike(std::string_view text, IdentityField field,
                                           Person& person) {
    const auto number = ParseMpt1343Number(text, person);
    if (!number) {
        return std::nullopt;
    }
    const IdentKind kind = field == IdentityField::Group ? IdentKind::Group : IdentKind::Unit;
    const bool checked = field == IdentityField::Own ? CheckMpt1343Unit(*number, person)
                         : field == IdentityField::Group
                             ? CheckMpt1343Group(*number, person)
                             : CheckMpt1343Either(*number, person).has_value();
    if (!checked) {
        return std::nullopt;
    }
    const Mpt1343Address address = Mpt1343NumberToAddress(*number, kind);
    ParsedIdentity parsed;
    parsed.record = {true, address.storedPrefix, address.ident, number->form == 3,
                     address.fleetBase};
    parsed.digits = number->form;
    parsed.fleet = number->fleet;
    return parsed;
}

// Groups of large and small fleets keep the base of the fleet's groups. A miniaturised fleet's
// numbers 90..93 are its groups and 20..41 its units, addressed as Numbering.h does, so that a
// unit typed into a group field reads back as typed.
AnnAddress AnnGroupAddress(const AnnNumber& number) {
    switch (number.annClass) {
        case AnnClass::LargeFleet:
            return {800 * number.fleet + 702, number.unit + 800 * number.fleet - 198};
        case AnnClass::SmallFleet:
            return {80 * number.fleet + 72, number.unit + 80 * number.fleet - 18};
        case AnnClass::Miniaturised:
        case AnnClass::None:
            break;
    }
    return AnnNumberToAddress(number);
}

std::optional<ParsedIdentity> ParseAnn(std::string_view text, IdentityField field,
                                       const Numbering& numbering, Person& person) {
    const auto number = ParseAnnNumber(text, numbering.ann, person);
    if (!number) {
        return std::nullopt;
    }
    const AnnAddress address =
        field == IdentityField::Group ? AnnGroupAddress(*number) : AnnNumberToAddress(*number);
    ParsedIdentity parsed;
    parsed.record = {true, number->prefix, address.ident, number->annClass == AnnClass::LargeFleet,
                     address.fleetBase};
    parsed.annClass = number->annClass;
    parsed.fleet = number->fleet;
    parsed.leadingDigit = number->leadingDigit;
    return parsed;
}

std::optional<ParsedIdentity> ParseCpsx(std::string_view text, IdentityField field,
                                        const Numbering& numbering, Person& person) {
    const auto number = field == IdentityField::Group ? ParseCpsxGroupNumber(text, person)
                                                      : ParseCpsxUnitNumber(text, person);
    if (!number) {
        return std::nullopt;
    }
    IdentKind kind = IdentKind::Unit;
    if (field == IdentityField::Group ||
        (field == IdentityField::Individual && number->value >= 900)) {
        kind = IdentKind::Group;
    }
    const auto address = CpsxNumberToIdent(*number, kind, numbering.cpsx, person);
    if (!address) {
        return std::nullopt;
    }
    // A group record keeps no fleet base: its word stays as the cleared record has it.
    const int fleetBase =
        field == IdentityField::Group ? 0 : CpsxFleetBase(*number, numbering.cpsx);
    ParsedIdentity parsed;
    parsed.record = {true, number->prefix - kDialledPrefixBase, address->ident, true, fleetBase};
    parsed.fleet = number->fleet;
    parsed.fleetSize = address->fleetSize;
    parsed.unitCount = address->unitCount;
    return parsed;
}

// The own identity as the fields computed from it see it: parsed without a message, and
// nullopt unless it is defined.
std::optional<ParsedIdentity> OwnIdentity(std::string_view ownText, const Numbering& numbering) {
    SilentPerson quiet;
    auto own = ParseIdentity(ownText, IdentityField::Own, numbering, quiet);
    if (!own || !own->record.defined) {
        return std::nullopt;
    }
    return own;
}

std::size_t RecordAt(int selector, std::int32_t record) {
    return SlotAt(selector, record);
}
std::size_t GroupAt(int selector, std::size_t g) {
    return SlotAt(selector, id_rows::kGroups) + g * id_rows::kRecordSize;
}

// ---- Highest unit and group ----

// A highest unit past the fleet's units shows as the last unit; a store keeps the same bound,
// so that what it wrote shows as it was typed.
std::int64_t ShownHighestUnitNumber(std::int64_t value, const IdentityRecord& own) {
    if (own.threeDigit) {
        return value >= 900 ? 899 : value;
    }
    return value > 89 || value <= 0 ? 89 : value;
}

std::string ShownHighestUnit(const TrunkJobImage& image, int selector, const IdentityRecord& own,
                             int scheme) {
    if (!own.defined) {
        return {};
    }
    const std::int64_t ident = SlotNumber(image, selector, "identities.highest_unit");
    // An emptied field of a three-digit fleet stored the own base without the three-digit bit,
    // which unit 200 would have set.
    if (own.threeDigit && scheme != kSchemeCpsx && ident == own.fleetBase &&
        SlotNumber(image, selector, "identities.highest_unit_three_digit") == 0) {
        return {};
    }
    return std::to_string(
        ShownHighestUnitNumber(ident - own.fleetBase + (own.threeDigit ? 200 : 20), own));
}

std::string ShownHighestGroup(const TrunkJobImage& image, int selector, int scheme) {
    const std::int64_t ident = SlotNumber(image, selector, "identities.highest_group");
    const std::int64_t base = SlotNumber(image, selector, "identities.own_fleet_group");
    if (ident == 0 && base == 0) {
        return {};  // never stored
    }
    const bool threeDigit = scheme == kSchemeCpsx ||
                            SlotNumber(image, selector, "identities.highest_group_three_digit");
    return std::to_string(ident - base + (threeDigit ? 900 : 90));
}

void StoreHighestUnit(TrunkJobImage& image, int selector, std::string_view text,
                      const IdentityRecord& own, int scheme) {
    // A highest unit counts from the own identity; without one it is empty, as it is shown.
    const auto entry = own.defined ? EnteredNumber(text) : std::nullopt;
    std::int64_t ident = own.fleetBase;
    bool threeDigit = scheme == kSchemeCpsx;
    if (entry) {
        threeDigit = own.threeDigit;
        ident = own.fleetBase + ShownHighestUnitNumber(*entry, own) - (own.threeDigit ? 200 : 20);
    }
    SetSlotNumber(image, selector, "identities.highest_unit", ident);
    SetSlotNumber(image, selector, "identities.highest_unit_three_digit", threeDigit ? 1 : 0);
}

struct HighestGroup {
    std::int64_t base;
    std::int64_t ident;
    bool threeDigit;
};

std::optional<HighestGroup> HighestGroupOf(std::int64_t h, const IdentityTexts& texts,
                                           const IdentityRecord& own, const Numbering& numbering) {
    if (IsMptLike(numbering.scheme)) {
        // An empty field, or one no fleet number (never passed by its exit check), is 2001.
        std::int64_t fleet = EnteredNumber(texts.ownFleetGroup).value_or(0);
        if (!InRange(fleet, 2001, 6050)) {
            fleet = 2001;
        }
        const bool threeDigit = h >= 100;
        return HighestGroup{2 * fleet - 4000, 2 * fleet + h - (threeDigit ? 4900 : 4090),
                            threeDigit};
    }
    if (numbering.scheme == kSchemeCpsx) {
        return HighestGroup{own.fleetBase, own.fleetBase + h - 900, true};
    }
    const auto parsed = OwnIdentity(texts.own, numbering);
    if (!parsed) {
        return std::nullopt;
    }
    const std::int64_t f = parsed->fleet;
    if (h >= 900) {
        return HighestGroup{800 * f + 702, 800 * f + h - 198, true};
    }
    if (parsed->annClass == AnnClass::SmallFleet) {
        return HighestGroup{80 * f + 72, 80 * f + h - 18, false};
    }
    if (parsed->annClass == AnnClass::Miniaturised) {
        const std::int64_t base = 4 * parsed->leadingDigit + 80 * f + 42;
        return HighestGroup{base, base + h - 90, false};
    }
    return std::nullopt;
}

void StoreHighestGroup(TrunkJobImage& image, int selector, const IdentityTexts& texts,
                       const IdentityRecord& own, const Numbering& numbering) {
    // An empty or 0 field stores nothing; nor does a number no group can have (never passed by
    // the field's exit check).
    const std::int64_t h = EnteredNumber(texts.highestGroup).value_or(0);
    if (!InRange(h, 90, 999)) {
        return;
    }
    if (const auto group = HighestGroupOf(h, texts, own, numbering)) {
        SetSlotNumber(image, selector, "identities.own_fleet_group", group->base);
        SetSlotNumber(image, selector, "identities.highest_group", group->ident);
        SetSlotNumber(image, selector, "identities.highest_group_three_digit",
                      group->threeDigit ? 1 : 0);
    }
}

}  // namespace

// ---------------------------------------------------------------- numbering and records

Numbering NumberingOfSlot(const TrunkJobImage& image, int selector) {
    Numbering numbering;
    const std::size_t file = trunk::NetworkFileStart(selector);
    numbering.scheme = image.U16(file + network::kNumberingScheme);
    NetworkImage copy;
    copy.Write(0, image.Region(file, NetworkImage::kSize));
    numbering.ann = AnnPrefixTableOf(copy);
    numbering.cpsx = {static_cast<int>(SlotNumber(image, selector, "identities.cpsx_large")),
                      static_cast<int>(SlotNumber(image, selector, "identities.cpsx_medium")),
                      static_cast<int>(SlotNumber(image, selector, "identities.cpsx_small"))};
    return numbering;
}

IdentityRecord ReadIdentityRecord(std::span<const std::uint8_t> bytes, std::size_t at) {
    auto read = [&](std::string_view id) {
        const FieldRow& column = Column(id);
        return static_cast<int>(NumberOf(
            fields::ReadField(column, bytes, at + static_cast<std::size_t>(column.at.trunk))));
    };
    return {read("defined") != 0, read("prefix"), read("ident"), read("three_digit") != 0,
            read("fleet_base")};
}

void WriteIdentityRecord(std::span<std::uint8_t> bytes, std::size_t at,
                         const IdentityRecord& record) {
    if (at > bytes.size() || bytes.size() - at < static_cast<std::size_t>(id_rows::kRecordSize)) {
        throw std::out_of_range("identity record outside its image");
    }
    auto write = [&](std::string_view id, std::int64_t value) {
        const FieldRow& column = Column(id);
        fields::WriteField(column, bytes, at + static_cast<std::size_t>(column.at.trunk), value);
    };
    write("defined", record.defined ? 1 : 0);
    write("prefix", record.prefix & 0x7F);
    bytes[at + 1] = 0;
    write("ident", record.ident);
    bytes[at + 4] &= 0x01;
    bytes[at + 5] = 0;
    write("three_digit", record.threeDigit ? 1 : 0);
    write("fleet_base", record.fleetBase);
}

std::optional<ParsedIdentity> ParseIdentity(std::string_view text, IdentityField field,
                                            const Numbering& numbering, Person& person) {
    if (text.empty()) {
        return ParsedIdentity{};
    }
    switch (numbering.scheme) {
        case kSchemeAnn:
            return ParseAnn(text, field, numbering, person);
        case kSchemeCpsx:
            return ParseCpsx(text, field, numbering, person);
        default:
            return ParseMptLike(text, field, person);
    }
}

std::string FormatIdentity(const IdentityRecord& record, IdentityField field,
                           const Numbering& numbering) {
    if (!record.defined) {
        return {};
    }
    std::optional<std::int64_t> number;
    switch (numbering.scheme) {
        case kSchemeAnn: {
            // A large fleet's groups keep the base of the fleet's groups, 700 idents on.
            const bool largeGroup = field == IdentityField::Group && record.threeDigit;
            number = AnnIdentToNumber(
                record.prefix, record.fleetBase - (largeGroup ? kAnnLargeGroupBaseOffset : 0),
                record.ident, numbering.ann);
            break;
        }
        case kSchemeCpsx:
            number = CpsxIdentToNumber(record.prefix, record.ident, numbering.cpsx);
            break;
        default:
            number = ComposeMpt1343Number(Mpt1343NumberOfAddress(
                {record.prefix, record.fleetBase, record.ident}, record.threeDigit ? 3 : 2,
                field == IdentityField::Group ? IdentKind::Group : IdentKind::Unit));
            break;
    }
    return number ? std::to_string(*number) : std::string();
}

// ---------------------------------------------------------------- identity pages

IdentityTexts LoadIdentityTexts(const TrunkJobImage& image, int selector) {
    const Numbering numbering = NumberingOfSlot(image, selector);
    const auto bytes = image.Bytes();
    IdentityTexts texts;
    const IdentityRecord own = ReadIdentityRecord(bytes, RecordAt(selector, id_rows::kOwn));
    texts.own = FormatIdentity(own, IdentityField::Own, numbering);
    texts.dispatcher =
        FormatIdentity(ReadIdentityRecord(bytes, RecordAt(selector, id_rows::kDispatcher)),
                       IdentityField::Individual, numbering);
    texts.data = FormatIdentity(ReadIdentityRecord(bytes, RecordAt(selector, id_rows::kData)),
                                IdentityField::Individual, numbering);
    texts.highestUnit = ShownHighestUnit(image, selector, own, numbering.scheme);
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        texts.groups[g] = FormatIdentity(ReadIdentityRecord(bytes, GroupAt(selector, g)),
                                         IdentityField::Group, numbering);
    }
    texts.highestGroup = ShownHighestGroup(image, selector, numbering.scheme);
    if (IsMptLike(numbering.scheme)) {
        const std::int64_t base = SlotNumber(image, selector, "identities.own_fleet_group");
        texts.ownFleetGroup = base == 0 ? std::string() : std::to_string((base >> 1) + 2000);
    }
    if (numbering.scheme == kSchemeCpsx) {
        const std::int64_t group = SlotNumber(image, selector, "identities.dynamic_group");
        if (group != 0) {
            const auto number =
                CpsxIdentToNumber(own.prefix, static_cast<int>(group), numbering.cpsx);
            texts.dynamicGroup = number ? std::to_string(*number) : std::string();
        }
    }
    return texts;
}

void StoreIdentityTexts(TrunkJobImage& image, int selector, const IdentityTexts& texts,
                        const IdentityTexts* loaded) {
    const Numbering numbering = NumberingOfSlot(image, selector);
    SilentPerson quiet;
    const auto bytes = image.Bytes();
    auto changed = [&](std::string IdentityTexts::*field) {
        return loaded == nullptr || texts.*field != loaded->*field;
    };
    auto store = [&](std::size_t at, std::string_view text, IdentityField field, bool edited) {
        if (!edited) {
            return ReadIdentityRecord(bytes, at);
        }
        const auto parsed = ParseIdentity(text, field, numbering, quiet);
        const IdentityRecord record = parsed ? parsed->record : IdentityRecord{};
        WriteIdentityRecord(bytes, at, record);
        return record;
    };
    const bool ownChanged = changed(&IdentityTexts::own);
    if (numbering.scheme == kSchemeCpsx && changed(&IdentityTexts::dynamicGroup)) {
        std::int64_t group = 0;
        bool parsed = texts.dynamicGroup.empty();
        if (!parsed) {
            const auto number =
                ParseIdentity(texts.dynamicGroup, IdentityField::Group, numbering, quiet);
            parsed = number.has_value();
            group = number ? number->record.ident : 0;
        }
        if (parsed) {
            SetSlotNumber(image, selector, "identities.dynamic_group", group);
        }
    }
    const IdentityRecord own =
        store(RecordAt(selector, id_rows::kOwn), texts.own, IdentityField::Own, ownChanged);
    store(RecordAt(selector, id_rows::kDispatcher), texts.dispatcher, IdentityField::Individual,
          changed(&IdentityTexts::dispatcher));
    store(RecordAt(selector, id_rows::kData), texts.data, IdentityField::Individual,
          changed(&IdentityTexts::data));
    if (ownChanged || changed(&IdentityTexts::highestUnit)) {
        StoreHighestUnit(image, selector, texts.highestUnit, own, numbering.scheme);
    }
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        store(GroupAt(selector, g), texts.groups[g], IdentityField::Group,
              loaded == nullptr || texts.groups[g] != loaded->groups[g]);
    }
    if (ownChanged || changed(&IdentityTexts::highestGroup) ||
        changed(&IdentityTexts::ownFleetGroup)) {
        StoreHighestGroup(image, selector, texts, own, numbering);
    }
}

// ---------------------------------------------------------------- exit checks

ExitCheck CheckHighestUnit(std::string_view text, std::string_view ownText,
                           const Numbering& numbering, Person& person) {
    if (text.empty()) {
        return {};
    }
    const bool cpsx = numbering.scheme == kSchemeCpsx;
    const auto own = OwnIdentity(ownText, numbering);
    if (!own) {
        person.Error(cpsx ? kRadioIdentityFirst : kIndividualFirst);
        return Failed(cpsx ? std::optional<std::string>("200") : std::nullopt);
    }
    const std::int64_t value = IntegerOfField(text);
    if (cpsx) {
        if (!InRange(value, 200, own->unitCount + 199)) {
            person.Error(FormatNumbers(kCpsxHighestUnit, {own->unitCount + 199}));
            return Failed();
        }
        return {};
    }
    if (own->record.threeDigit) {
        if (!InRange(value, 200, 899)) {
            return {Refuse(person, kUnitRange3)};
        }
    } else if (own->annClass == AnnClass::Miniaturised) {
        if (!InRange(value, 20, 41)) {
            return {Refuse(person, kUnitRangeMini)};
        }
    } else if (!InRange(value, 20, 89)) {
        return {Refuse(person, kUnitRange2)};
    }
    if (IsMptLike(numbering.scheme) &&
        2 * own->fleet + value - (value < 200 ? 4020 : 4200) > 8100) {
        return {Refuse(person, kUnitTooHigh)};
    }
    return {};
}

ExitCheck CheckHighestGroup(std::string_view text, std::string_view ownText,
                            std::string_view ownFleetGroupText, const Numbering& numbering,
                            Person& person) {
    if (text.empty()) {
        return {};
    }
    const std::int64_t value = IntegerOfField(text);
    if (numbering.scheme == kSchemeCpsx) {
        const auto own = OwnIdentity(ownText, numbering);
        if (!own) {
            person.Error(kRadioIdentityFirst);
            return Failed(std::string());
        }
        const int highest = own->fleetSize - own->unitCount + 899;
        if (!InRange(value, 900, highest)) {
            person.Error(FormatNumbers(kCpsxHighestGroup, {highest}));
            return Failed();
        }
        return {};
    }
    if (!InRange(value, 90, 99) && !InRange(value, 900, 998)) {
        return {Refuse(person, kGroupRange)};
    }
    if (IsMptLike(numbering.scheme)) {
        std::int64_t fleet = IntegerOfField(ownFleetGroupText);
        if (fleet == 0) {
            fleet = 2001;
        }
        if (2 * fleet + value - (value < 900 ? 4090 : 4900) > 8100) {
            return {Refuse(person, kGroupTooHigh)};
        }
        return {};
    }
    const auto own = OwnIdentity(ownText, numbering);
    if (!own) {
        return {Refuse(person, kIndividualFirst)};
    }
    switch (own->annClass) {
        case AnnClass::LargeFleet:
            return {InRange(value, 900, 998) || Refuse(person, kAnnGroupLarge)};
        case AnnClass::SmallFleet:
            return {InRange(value, 90, 99) || Refuse(person, kAnnGroupSmall)};
        case AnnClass::Miniaturised:
            return {InRange(value, 90, 93) || Refuse(person, kAnnGroupMini)};
        case AnnClass::None:
            break;
    }
    return {};
}

ExitCheck CheckOwnFleetGroup(std::string_view text, std::string_view highestGroupText,
                             Person& person) {
    if (text.empty()) {
        return {};
    }
    const std::int64_t fleet = IntegerOfField(text);
    if (!InRange(fleet, 2001, 6050)) {
        return {Refuse(person, kOwnFleetRange)};
    }
    const std::int64_t highest = IntegerOfField(highestGroupText);
    if (2 * fleet + highest - (highest >= 900 ? 4900 : 4090) > 8100) {
        return {Refuse(person, kFleetTooHigh)};
    }
    return {};
}

bool CheckCpsxCounts(const CpsxBounds& counts, CpsxCount changed, Person& person) {
    if (counts.large <= counts.medium && counts.medium <= counts.small) {
        return true;
    }
    switch (changed) {
        case CpsxCount::Large:
            person.Warn(kCpsxLargeOrder);
            break;
        case CpsxCount::Medium:
            person.Warn(kCpsxMediumOrder);
            break;
        case CpsxCount::Small:
            person.Warn(kCpsxSmallOrder);
            break;
    }
    return false;
}

// ---------------------------------------------------------------- five-digit dialling

namespace {

// Entry k (0..19): its record table and record.
struct FiveDigitPlace {
    const fields::RecordTable* table;
    std::size_t record;
};
FiveDigitPlace PlaceOf(std::size_t k) {
    constexpr std::size_t kWideEntries = 10;
    return k < kWideEntries ? FiveDigitPlace{&id_rows::kFiveDigitWide, k}
                            : FiveDigitPlace{&id_rows::kFiveDigitPacked, k - kWideEntries};
}

std::size_t RecordStart(int selector, const FiveDigitPlace& place) {
    return SlotAt(selector, place.table->base.trunk) + place.record * place.table->stride;
}

const FieldRow& ColumnOf(const fields::RecordTable& table, std::string_view id) {
    return fields::RowById(table.columns, id);
}

// The largest FleetCode the record holds stands for an unused entry, like 0.
std::int64_t AllOnes(const FieldRow& column) {
    return column.encoding == fields::Encoding::U16 ? 0xFFFF : (1 << column.bitCount) - 1;
}

}  // namespace

std::vector<FiveDigitEntry> LoadFiveDigit(const TrunkJobImage& image, int selector) {
    std::vector<FiveDigitEntry> entries(kFiveDigitEntries);
    for (std::size_t k = 0; k < kFiveDigitEntries; ++k) {
        const FiveDigitPlace place = PlaceOf(k);
        const std::size_t at = RecordStart(selector, place);
        auto number = [&](std::string_view id) {
            return ReadNumber(image, at, ColumnOf(*place.table, id));
        };
        const std::int64_t code = number("fleet_code");
        if (code == 0 || code == AllOnes(ColumnOf(*place.table, "fleet_code"))) {
            continue;
        }
        entries[k] = {std::to_string(code), std::to_string(number("prefix")),
                      std::to_string(number("fleet")), std::to_string(number("highest"))};
    }
    return entries;
}

void StoreFiveDigit(TrunkJobImage& image, int selector, std::span<const FiveDigitEntry> entries,
                    std::span<const FiveDigitEntry> loaded) {
    for (std::size_t k = 0; k < kFiveDigitEntries; ++k) {
        const FiveDigitEntry entry = k < entries.size() ? entries[k] : FiveDigitEntry{};
        if (k < loaded.size() && entry == loaded[k]) {
            continue;
        }
        const FiveDigitPlace place = PlaceOf(k);
        const std::size_t at = RecordStart(selector, place);
        auto write = [&](std::string_view id, std::int64_t value) {
            WriteNumber(image, at, ColumnOf(*place.table, id), value);
        };
        const std::int64_t code = EnteredNumber(entry.fleetCode).value_or(0);
        const std::int64_t prefix = EnteredNumber(entry.prefix).value_or(0);
        const std::int64_t fleet = EnteredNumber(entry.fleet).value_or(0);
        const bool used = code != 0;
        const bool prefixValid = used && InRange(prefix, 200, 327);
        write("fleet_code", code);
        write("highest", used ? EnteredNumber(entry.highest).value_or(0) : 0);
        write("prefix", prefixValid ? prefix : kDialledPrefixBase);
        write("defined", prefixValid ? 1 : 0);
        write("fleet", used && InRange(fleet, 2001, 6050) ? fleet : 2000);
    }
}

std::optional<CellMessage> CheckFiveDigitCell(FiveDigitColumn column, std::string_view text,
                                              std::string_view fleetCodeText, bool onEnter) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t value = IntegerOfField(text);
    const BoxKind kind = onEnter ? BoxKind::Error : BoxKind::Warning;
    switch (column) {
        case FiveDigitColumn::FleetCode:
            if (value == 0 || InRange(value, 20, 29) || InRange(value, 90, 99) ||
                InRange(value, 200, 299) || InRange(value, 900, 999)) {
                return std::nullopt;
            }
            return CellMessage{kind, onEnter ? kFleetCodeOnEnter : kFleetCodeOnLeave};
        case FiveDigitColumn::Prefix:
            if (InRange(value, 200, 327)) {
                return std::nullopt;
            }
            return CellMessage{kind, onEnter ? kPrefixOnEnter : kPrefixOnLeave};
        case FiveDigitColumn::Fleet:
            if (InRange(value, 2001, 6050)) {
                return std::nullopt;
            }
            return CellMessage{kind, onEnter ? kFleetOnEnter : kFleetOnLeave};
        case FiveDigitColumn::Highest: {
            const std::int64_t code = IntegerOfField(fleetCodeText);
            if (onEnter || value == 0) {
                return std::nullopt;
            }
            if (InRange(code, 20, 99) && !InRange(value, 200, 999)) {
                return CellMessage{kind, kHighestForTwoDigitCode};
            }
            if (InRange(code, 200, 999) && !InRange(value, 20, 99)) {
                return CellMessage{kind, kHighestForThreeDigitCode};
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- status list

namespace {

std::size_t StatusRecord(int selector, const fields::RecordTable& table, std::size_t s) {
    return SlotAt(selector, table.base.trunk) + s * table.stride;
}

const FieldRow& StatusText(const fields::RecordTable& table) {
    return table.columns.front();
}

}  // namespace

std::vector<StatusEntry> LoadStatusList(const TrunkJobImage& image, int selector) {
    std::vector<StatusEntry> entries(id_rows::kStatusCount);
    for (std::size_t s = 0; s < entries.size(); ++s) {
        auto text = [&](const fields::RecordTable& table) {
            const FieldRow& column = StatusText(table);
            return fields::FormatField(
                column, fields::ReadField(column, image.Bytes(), StatusRecord(selector, table, s)));
        };
        const FieldRow reply = id_rows::StatusReplyRow(static_cast<int>(s) + 1);
        entries[s] = {
            text(id_rows::kIncoming), text(id_rows::kOutgoing),
            fields::FormatField(
                reply, fields::ReadField(reply, image.Bytes(), SlotAt(selector, reply.at.trunk)))};
    }
    return entries;
}

void StoreStatusList(TrunkJobImage& image, int selector, std::span<const StatusEntry> entries,
                     std::span<const StatusEntry> loaded) {
    const auto bytes = image.Bytes();
    bool stored = loaded.empty();
    for (std::size_t s = 0; s < id_rows::kStatusCount; ++s) {
        const StatusEntry entry = s < entries.size() ? entries[s] : StatusEntry{};
        if (s < loaded.size() && entry == loaded[s]) {
            continue;
        }
        stored = true;
        auto store = [&](const fields::RecordTable& table, const std::string& text) {
            const FieldRow& column = StatusText(table);
            const auto value = fields::ParseField(column, text);
            fields::WriteField(column, bytes, StatusRecord(selector, table, s),
                               value ? *value : fields::FieldValue(std::string()));
        };
        store(id_rows::kIncoming, entry.incoming);
        store(id_rows::kOutgoing, entry.outgoing);
        const FieldRow reply = id_rows::StatusReplyRow(static_cast<int>(s) + 1);
        const auto code = fields::ParseField(reply, entry.reply);
        const bool listed = code && !fields::CheckField(reply, *code);
        fields::WriteField(reply, bytes, SlotAt(selector, reply.at.trunk),
                           listed ? *code : fields::FieldValue(std::int64_t{0}));
    }
    // Statuses 0 and 31 share the first and last words and are always 0.
    if (!stored) {
        return;
    }
    for (int s : {0, 31}) {
        const std::size_t at = SlotAt(selector, id_rows::StatusReplyWord(s));
        image.SetU16(
            at, static_cast<std::uint16_t>(image.U16(at) & ~(0xF << id_rows::StatusReplyShift(s))));
    }
}

// ---------------------------------------------------------------- the rest of a store

void StoreDerivedFields(TrunkJobImage& image, int selector) {
    const std::size_t slot = trunk::SlotStart(selector);
    const FieldRow& marker = Row("identities.marker");
    fields::WriteField(marker, image.Bytes(), slot + static_cast<std::size_t>(marker.at.trunk),
                       std::string(id_rows::kMarkerText));
    image.FillRegion(SlotAt(selector, id_rows::kClearedWords), id_rows::kClearedBytes, 0);
    const std::size_t options = SlotAt(selector, id_rows::kDataOptions);
    image.SetU8(options,
                static_cast<std::uint8_t>(image.U8(options) & ~id_rows::kDataOptionsSpareBits));
    for (const auto& [zero, length, sequence] :
         {std::tuple{"identities.dtmf1_zero", "identities.dtmf1_length", "identities.dtmf1"},
          std::tuple{"identities.dtmf2_zero", "identities.dtmf2_length", "identities.dtmf2"}}) {
        const FieldRow& digits = Row(sequence);
        const auto text = fields::ReadField(digits, image.Bytes(),
                                            slot + static_cast<std::size_t>(digits.at.trunk));
        SetSlotNumber(image, selector, zero, 0);
        SetSlotNumber(image, selector, length,
                      static_cast<std::int64_t>(std::get<std::string>(text).size()));
    }
    if (SlotNumber(image, selector, "identities.auto_call_count") == 0) {
        SetSlotNumber(image, selector, "identities.dispatcher_loading", 0);
    }
}

bool DataRetriesStored(const TrunkJobImage& image) {
    return image.U16(kVersionWordOffset) > kLastVersionWithoutDataRetries;
}

}  // namespace km
