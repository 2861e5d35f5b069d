#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedPerson.h"
#include "config/Numbering.h"

namespace km {
namespace {

using testing::ScriptedPerson;

// ---------------------------------------------------------------- MPT1343 and 3RP

TEST(Mpt1343Test, ParsesTenAndNineDigitNumbers) {
    ScriptedPerson person;
    struct Case {
        std::string_view text;
        int form, prefix, fleet, unit;
    };
    const Case cases[] = {
        {"2002001200", 3, 200, 2001, 200},
        {"200200120", 2, 200, 2001, 20},
        {"3276050899", 3, 327, 6050, 899},  // above the 32-bit signed range
        {"9999999999", 3, 999, 9999, 999},
        {"0200200120", 2, 200, 2001, 20},
        {"", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto number = ParseMpt1343Number(c.text, person);
        ASSERT_TRUE(number.has_value()) << c.text;
        EXPECT_EQ(number->form, c.form) << c.text;
        EXPECT_EQ(number->prefix, c.prefix) << c.text;
        EXPECT_EQ(number->fleet, c.fleet) << c.text;
        EXPECT_EQ(number->unit, c.unit) << c.text;
    }
    EXPECT_TRUE(person.shown.empty());
}

TEST(Mpt1343Test, RefusesNumbersOfOtherLengths) {
    for (std::string_view text : {"99999999", "1", "10000000000", "99999999999999999999999",
                                  "20020012a", "-200200120", " 200200120"}) {
        ScriptedPerson person;
        EXPECT_FALSE(ParseMpt1343Number(text, person).has_value()) << text;
        EXPECT_EQ(
            person.Texts(),
            std::vector<std::string>{"Invalid Number \nIdentities must be 9 or 10 digits long"})
            << text;
    }
}

TEST(Mpt1343Test, ChecksReportTheFirstFailingRule) {
    const std::string prefix = "Invalid Number \nPrefix (digits 1-3) must be in range 200-327";
    const std::string fleet =
        "Invalid Number \nFleet Number (digits 4-7) must be in range 2001-6050";
    const std::string unitRange =
        "Invalid Number \nUnit Number (last 2 or 3 digits) must be in range 20-89 or 200-899";
    const std::string groupRange =
        "Invalid Number \nGroup Number (last 2 or 3 digits) must be in range 90-99 or 900-998";
    const std::string eitherRange =
        "Invalid Number \nUnit Number (last 2 or 3 digits) must be in range 20-99 or 200-998";
    const std::string unit3 =
        "Invalid Number \n( (FleetNumber - 2000)*2 + (UnitNumber - 200) ) must be less than 8100";
    const std::string unit2 =
        "Invalid Number \n( (FleetNumber - 2000)*2 + (UnitNumber - 20) ) must be less than 8100";
    const std::string group3 =
        "Invalid Number \n( (FleetNumber - 2000)*2 + (GroupNumber - 900) ) must be less than 8100";
    const std::string group2 =
        "Invalid Number \n( (FleetNumber - 2000)*2 + (GroupNumber - 90) ) must be less than 8100";
    enum Check { Unit, Group, Either };
    struct Case {
        Check check;
        Mpt1343Number number;
        std::string message;  // empty: accepted
    };
    const Case cases[] = {
        {Unit, {3, 199, 2001, 200}, prefix},
        {Unit, {3, 328, 9999, 5}, prefix},
        {Group, {3, 200, 2000, 900}, fleet},
        {Either, {2, 327, 6051, 20}, fleet},
        {Unit, {3, 200, 2001, 199}, unitRange},
        {Unit, {3, 200, 2001, 900}, unitRange},
        {Unit, {2, 200, 2001, 90}, unitRange},
        // A ten-digit number holds three-digit units; a two-digit value would give a negative
        // ident.
        {Unit, {3, 200, 2001, 50}, unitRange},
        {Group, {3, 200, 2001, 999}, groupRange},
        {Group, {3, 200, 2001, 95}, groupRange},
        {Group, {2, 200, 2001, 89}, groupRange},
        {Either, {3, 200, 2001, 999}, eitherRange},
        {Either, {3, 200, 2001, 99}, eitherRange},
        {Either, {2, 200, 2001, 19}, eitherRange},
        // Fleet 6050 unit 899 gives 8100 + 699.
        {Unit, {3, 200, 6050, 899}, unit3},
        {Unit, {3, 200, 6050, 200}, ""},  // exactly 8100
        {Unit, {3, 200, 6050, 201}, unit3},
        {Unit, {2, 200, 6050, 20}, ""},
        {Unit, {2, 200, 6050, 21}, unit2},
        {Group, {3, 200, 6050, 900}, ""},
        {Group, {3, 200, 6050, 901}, group3},
        {Group, {2, 200, 6050, 91}, group2},
        {Either, {3, 200, 6050, 901}, group3},
        {Either, {2, 200, 6050, 21}, unit2},
        {Either, {3, 327, 2001, 998}, ""},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        bool accepted = false;
        switch (c.check) {
            case Unit:
                accepted = CheckMpt1343Unit(c.number, person);
                break;
            case Group:
                accepted = CheckMpt1343Group(c.number, person);
                break;
            case Either:
                accepted = CheckMpt1343Either(c.number, person).has_value();
                break;
        }
        const std::string where = std::to_string(ComposeMpt1343Number(c.number));
        EXPECT_EQ(accepted, c.message.empty()) << where;
        EXPECT_EQ(person.Texts(),
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message})
            << where;
    }
}

TEST(Mpt1343Test, EdgeNumbersGiveIdentTwo) {
    ScriptedPerson person;
    for (std::string_view text : {"2002001200", "200200120"}) {
        const auto number = ParseMpt1343Number(text, person);
        ASSERT_TRUE(number && CheckMpt1343Unit(*number, person));
        const Mpt1343Address address = Mpt1343NumberToAddress(*number, IdentKind::Unit);
        EXPECT_EQ(address.ident, 2) << text;
        EXPECT_EQ(address.storedPrefix, 0);
        EXPECT_EQ(address.fleetBase, 2);
        EXPECT_EQ(std::to_string(ComposeMpt1343Number(*number)), text);
    }
    const auto group = ParseMpt1343Number("2272001998", person);
    ASSERT_TRUE(group);
    EXPECT_EQ(CheckMpt1343Either(*group, person), IdentKind::Group);
}

// Every ident, in both number forms, as a unit and as a group: the number shown for a stored
// address parses and checks back to the same address. The fleet base is the highest even base
// that holds the ident, as a stored record would have it.
TEST(Mpt1343Test, EveryIdentRoundTripsThroughItsNumber) {
    ScriptedPerson person;
    struct Form {
        int form;
        IdentKind kind;
        int origin;
    };
    const Form forms[] = {{3, IdentKind::Unit, 200},
                          {2, IdentKind::Unit, 20},
                          {3, IdentKind::Group, 900},
                          {2, IdentKind::Group, 90}};
    for (const auto& f : forms) {
        for (int ident = 2; ident <= 8100; ++ident) {
            const Mpt1343Address address{ident % 128, ident - ident % 2, ident};
            const Mpt1343Number shown = Mpt1343NumberOfAddress(address, f.form, f.kind);
            const auto parsed =
                ParseMpt1343Number(std::to_string(ComposeMpt1343Number(shown)), person);
            ASSERT_TRUE(parsed) << ident;
            const bool valid = f.kind == IdentKind::Unit ? CheckMpt1343Unit(*parsed, person)
                                                         : CheckMpt1343Group(*parsed, person);
            ASSERT_TRUE(valid) << ident;
            EXPECT_EQ(CheckMpt1343Either(*parsed, person), f.kind);
            const Mpt1343Address back = Mpt1343NumberToAddress(*parsed, f.kind);
            ASSERT_EQ(back.ident, ident);
            ASSERT_EQ(back.fleetBase, address.fleetBase);
            ASSERT_EQ(back.storedPrefix, address.storedPrefix);
        }
    }
    EXPECT_TRUE(person.shown.empty());
}

// ---------------------------------------------------------------- ANN

AnnPrefixTable TableWith(int prefix, int extent, int partition) {
    AnnPrefixTable table{};
    table[static_cast<std::size_t>(prefix)] = {extent, partition};
    return table;
}

TEST(AnnTest, ParsesTheLeadingDigitAndPrefixOfEachLength) {
    ScriptedPerson person;
    const AnnPrefixTable table{};
    struct Case {
        std::string_view text;
        int leading, prefix, fleet, unit;
    };
    const Case cases[] = {
        {"79999", 7, 0, 99, 99},      {"751234", 7, 5, 12, 34},   {"7991234", 7, 99, 12, 34},
        {"71271234", 7, 127, 12, 34}, {"70001234", 7, 0, 12, 34},
    };
    for (const auto& c : cases) {
        const auto number = ParseAnnNumber(c.text, table, person);
        ASSERT_TRUE(number) << c.text;
        EXPECT_EQ(number->annClass, AnnClass::SmallFleet) << c.text;
        EXPECT_EQ(number->leadingDigit, c.leading) << c.text;
        EXPECT_EQ(number->prefix, c.prefix) << c.text;
        EXPECT_EQ(number->fleet, c.fleet) << c.text;
        EXPECT_EQ(number->unit, c.unit) << c.text;
    }
    EXPECT_TRUE(person.shown.empty());
    const auto empty = ParseAnnNumber("", table, person);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->annClass, AnnClass::None);
}

TEST(AnnTest, RefusalsCarryTheirMessages) {
    const std::string length = "Invalid Number \nIdentities must be 5, 6, 7 or 8 digits long.";
    const std::string leading = "Invalid Number \nLeading Digit must be 7, 8 or 9.";
    struct Case {
        std::string_view text;
        AnnPrefixTable table;
        std::string message;
    };
    const Case cases[] = {
        {"7999", {}, length},
        {"799999999", {}, length},
        {"79a99", {}, length},
        {"69999", {}, leading},
        {"0799999", {}, leading},
        {"61281234", {}, leading},  // the leading digit is tested before the prefix
        {"71281234", {}, "Invalid Number \nWrong Prefix."},
        // Prefix 0, small fleet 12: only leading digit 7.
        {"8001234", {}, "Invalid Number \nLeading Digit must be 7 for a Small Fleet."},
        {"7001210", {}, "Invalid Number \nUnit Number must be between 20 and 99."},
        {"8001234", TableWith(0, 0, 1),
         "Invalid Number \nLeading Digit must be 7 for a Small Fleet."},
        {"8000234", TableWith(0, 0, 1),
         "Invalid Number \nLeading Digit must be 7 for a Large Fleet."},
        {"7000199", TableWith(0, 0, 1),
         "Invalid Number \nUnit Number must be between 200 and 999."},
        {"7009942", TableWith(0, 1, 0),
         "Invalid Number \nUnit Number must be between 20 and 41 or 90 to 93."},
        {"9009994", TableWith(0, 1, 0),
         "Invalid Number \nUnit Number must be between 20 and 41 or 90 to 93."},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        EXPECT_FALSE(ParseAnnNumber(c.text, c.table, person).has_value()) << c.text;
        EXPECT_EQ(person.Texts(), std::vector{c.message}) << c.text;
    }
}

TEST(AnnTest, ExtentZeroNeverMiniaturises) {
    ScriptedPerson person;
    const auto number = ParseAnnNumber("7009999", TableWith(0, 0, 0), person);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->annClass, AnnClass::SmallFleet);
    const auto mini = ParseAnnNumber("7009999", TableWith(0, 1, 0), person);
    EXPECT_FALSE(mini);  // fleet 99 is miniaturised with extent 1, and 99 is no unit there
}

TEST(AnnTest, MiniaturisedGroupsAndUnitsTakeTheLeadingDigit) {
    ScriptedPerson person;
    const AnnPrefixTable table = TableWith(5, 1, 0);  // fleets 90..99 are miniaturised
    struct Case {
        std::string_view text;
        int ident;
    };
    const Case cases[] = {
        {"8059592", 95 * 80 + 76},  // group 92, leading digit 8
        {"9059541", 95 * 80 + 67},  // unit 41, leading digit 9
        {"7059020", 90 * 80 + 2},  {"7059090", 90 * 80 + 70}, {"9059993", 99 * 80 + 81},
    };
    for (const auto& c : cases) {
        const auto number = ParseAnnNumber(c.text, table, person);
        ASSERT_TRUE(number) << c.text;
        EXPECT_EQ(number->annClass, AnnClass::Miniaturised);
        const AnnAddress address = AnnNumberToAddress(*number);
        EXPECT_EQ(address.ident, c.ident) << c.text;
        EXPECT_EQ(AnnIdentToNumber(5, address.fleetBase, address.ident, table),
                  std::stoll(std::string(c.text)));
    }
    EXPECT_TRUE(person.shown.empty());
}

TEST(AnnTest, IdentsOutsideTheSchemeHaveNoNumber) {
    const AnnPrefixTable table = TableWith(5, 1, 2);
    EXPECT_FALSE(AnnIdentToNumber(5, 2, 1, table));
    EXPECT_FALSE(AnnIdentToNumber(5, 2, 8002, table));  // past fleet 99
    EXPECT_FALSE(AnnIdentToNumber(5, 2, 8100, table));
    EXPECT_FALSE(AnnIdentToNumber(5, 2, 95 * 80 + 68, table));  // between units and groups
    EXPECT_FALSE(AnnIdentToNumber(128, 2, 100, table));
    EXPECT_FALSE(AnnIdentToNumber(-1, 2, 100, table));
    // A large-fleet ident needs the base of its own fleet.
    EXPECT_FALSE(AnnIdentToNumber(5, 802, 100, table));
    EXPECT_FALSE(AnnIdentToNumber(5, 3, 100, table));
    EXPECT_EQ(AnnIdentToNumber(5, 802, 1000, table), 7051000 + 398);
}

// Every ident under a range of prefix tables: each ident the scheme can dial converts to a number
// that parses back to it; the only idents without a number are those of no fleet.
TEST(AnnTest, EveryIdentRoundTripsThroughItsNumber) {
    ScriptedPerson person;
    for (int prefix : {0, 7, 99, 100, 127}) {
        for (int extent : {0, 1, 3, 10}) {
            for (int partition : {0, 1, 4, 10}) {
                const AnnPrefixTable table = TableWith(prefix, extent, partition);
                int withoutNumber = 0;
                for (int ident = 1; ident <= 8100; ++ident) {
                    const bool large = ident < partition * 800 + 2;
                    const int base = large ? (ident - 2) / 800 * 800 + 2 : 0;
                    const auto number = AnnIdentToNumber(prefix, base, ident, table);
                    if (!number) {
                        ++withoutNumber;
                        continue;
                    }
                    const std::string text = std::to_string(*number);
                    EXPECT_EQ(text.size(), prefix > 99 ? 8u : 7u);
                    const auto parsed = ParseAnnNumber(text, table, person);
                    ASSERT_TRUE(parsed) << text;
                    ASSERT_EQ(AnnNumberToAddress(*parsed).ident, ident) << text;
                    ASSERT_EQ(parsed->prefix, prefix);
                }
                // Ident 1, the 99 idents past the last fleet and two idents per miniaturised fleet.
                const int miniFleets = std::min(10 * extent, 100 - std::min(partition * 10, 100));
                EXPECT_EQ(withoutNumber, 1 + 99 + 2 * (extent == 0 ? 0 : miniFleets))
                    << prefix << " " << extent << " " << partition;
            }
        }
    }
    EXPECT_TRUE(person.shown.empty());
}

// ---------------------------------------------------------------- CPSX

TEST(CpsxTest, ParsesEightDigitNumbersOnly) {
    ScriptedPerson person;
    const auto number = ParseCpsxUnitNumber("32779899", person);
    ASSERT_TRUE(number);
    EXPECT_EQ(number->prefix, 327);
    EXPECT_EQ(number->fleet, 79);
    EXPECT_EQ(number->value, 899);
    ASSERT_TRUE(ParseCpsxGroupNumber("", person));
    for (std::string_view text : {"9999999", "100000000", "2002020a", "09999999"}) {
        EXPECT_FALSE(ParseCpsxGroupNumber(text, person)) << text;
    }
    EXPECT_EQ(person.Texts(),
              std::vector<std::string>(4, "Invalid Number \nIdentities must be 8 digits long"));
}

TEST(CpsxTest, FleetsOfOneBlockEach) {
    const CpsxBounds bounds{1, 1, 1};
    const std::string illegalMedium = "Illegal Fleet Number.";
    const std::string illegalSmall = "Illegal Fleet Number in PPPFFUUU.";
    struct Case {
        int fleet;
        int value;
        IdentKind kind;
        int ident;  // 0: refused with the message
        std::string message;
    };
    const Case cases[] = {
        {20, 200, IdentKind::Unit, 1, ""},
        {20, 899, IdentKind::Unit, 700, ""},
        {20, 900, IdentKind::Group, 701, ""},
        {20, 999, IdentKind::Group, 800, ""},
        {20, 900, IdentKind::Unit, 0,
         "Invalid Unit Number in PPPFFUUU.                       \nUnit Number range is 200 to "
         "899."},
        {20, 899, IdentKind::Group, 0,
         "Invalid Group Number in PPPFFGGG.                       \nGroup Number range is 900 "
         "to 999."},
        {21, 900, IdentKind::Group, 801, ""},
        {21, 909, IdentKind::Group, 810, ""},
        {21, 910, IdentKind::Group, 0,
         "Invalid Group Number in PPPFFGGG.                               \nFor Large Odd Fleet "
         "numbers, Group number range is 900 to 909."},
        {21, 200, IdentKind::Unit, 0, "Only Groups allowed in this fleet"},
        {22, 200, IdentKind::Unit, 0, illegalMedium},
        {23, 200, IdentKind::Unit, 0, illegalSmall},
        {25, 900, IdentKind::Group, 0, illegalSmall},
        {26, 200, IdentKind::Unit, 811, ""},
        {26, 317, IdentKind::Unit, 928, ""},
        {26, 318, IdentKind::Unit, 0,
         "Invalid Unit Number in PPPFFUUU.                       \nUnit Number range is 200 to "
         "317."},
        {26, 916, IdentKind::Group, 945, ""},
        {26, 917, IdentKind::Group, 0,
         "Invalid Group Number in PPPFFGGG.                       \nGroup Number range is 900 to "
         "916."},
        {79, 916, IdentKind::Group, 8100, ""},
        {19, 200, IdentKind::Unit, 0,
         "Invalid Fleet Number in PPPFFUUU.\nFleet number range is 20 to 79."},
        {80, 200, IdentKind::Unit, 0,
         "Invalid Fleet Number in PPPFFUUU.\nFleet number range is 20 to 79."},
    };
    for (const auto& c : cases) {
        ScriptedPerson person;
        const auto address = CpsxNumberToIdent({200, c.fleet, c.value}, c.kind, bounds, person);
        const std::string where = std::to_string(c.fleet) + "/" + std::to_string(c.value);
        if (c.ident == 0) {
            EXPECT_FALSE(address) << where;
            EXPECT_EQ(person.Texts(), std::vector{c.message}) << where;
        } else {
            ASSERT_TRUE(address) << where;
            EXPECT_EQ(address->ident, c.ident) << where;
            EXPECT_TRUE(person.shown.empty()) << where;
        }
    }
}

TEST(CpsxTest, PrefixesAndEmptyFields) {
    ScriptedPerson person;
    const CpsxBounds bounds{1, 2, 3};
    EXPECT_FALSE(CpsxNumberToIdent({199, 20, 200}, IdentKind::Unit, bounds, person));
    EXPECT_FALSE(CpsxNumberToIdent({328, 20, 200}, IdentKind::Unit, bounds, person));
    EXPECT_EQ(person.Texts(),
              std::vector<std::string>(
                  2, "Invalid Prefix Number in PPPFFUUU.\nPrefix number range is 200 to 327."));
    const auto empty = CpsxNumberToIdent({}, IdentKind::Group, bounds, person);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->ident, 0);
    EXPECT_EQ(CpsxIdentToNumber(5, 0, bounds), 20500000);
}

TEST(CpsxTest, FleetSizesFollowTheBounds) {
    ScriptedPerson person;
    const CpsxBounds bounds{1, 2, 3};
    struct Case {
        int fleet, size, units, ident;
    };
    const Case cases[] = {
        {20, 810, 700, 1},    {22, 405, 354, 811},  {23, 405, 354, 1216},
        {26, 270, 236, 1621}, {28, 270, 236, 2161}, {38, 135, 118, 2431},
    };
    for (const auto& c : cases) {
        const auto address =
            CpsxNumberToIdent({200, c.fleet, 200}, IdentKind::Unit, bounds, person);
        ASSERT_TRUE(address) << c.fleet;
        EXPECT_EQ(address->fleetSize, c.size) << c.fleet;
        EXPECT_EQ(address->unitCount, c.units) << c.fleet;
        EXPECT_EQ(address->ident, c.ident) << c.fleet;
    }
    EXPECT_TRUE(person.shown.empty());
}

TEST(CpsxTest, IdentOfAnOddLargeFleetGroup) {
    EXPECT_EQ(CpsxIdentToNumber(0, 805, {1, 1, 1}), 20021904);
    EXPECT_EQ(CpsxIdentToNumber(127, 1, {0, 0, 0}), 32720200);
    EXPECT_FALSE(CpsxIdentToNumber(0, 8101, {1, 1, 1}));
    EXPECT_FALSE(CpsxIdentToNumber(0, -1, {1, 1, 1}));
}

// Every ident under a range of bounds, including bounds out of order or range as a damaged image
// may hold them: the number of an ident parses and converts back to the same ident.
TEST(CpsxTest, EveryIdentRoundTripsThroughItsNumber) {
    ScriptedPerson person;
    const CpsxBounds boundsList[] = {{0, 0, 0},  {1, 1, 1},    {1, 2, 3},  {0, 5, 5},
                                     {3, 3, 10}, {10, 10, 10}, {0, 0, 10}, {4, 2, 99}};
    for (const auto& bounds : boundsList) {
        for (int ident = 1; ident <= 8100; ++ident) {
            const auto number = CpsxIdentToNumber(ident % 128, ident, bounds);
            ASSERT_TRUE(number);
            const std::string text = std::to_string(*number);
            const auto parsed = ParseCpsxUnitNumber(text, person);
            ASSERT_TRUE(parsed) << text;
            const IdentKind kind = parsed->value >= 900 ? IdentKind::Group : IdentKind::Unit;
            const auto address = CpsxNumberToIdent(*parsed, kind, bounds, person);
            ASSERT_TRUE(address) << text << " bounds " << bounds.large << bounds.medium;
            ASSERT_EQ(address->ident, ident) << text;
            ASSERT_EQ(parsed->prefix, ident % 128 + 200);
        }
    }
    EXPECT_TRUE(person.shown.empty());
}

}  // namespace
}  // namespace km
