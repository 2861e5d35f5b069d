// The identities of a network slot: records at their places, the conversions of each numbering
// scheme, the fields computed from the own identity, five-digit dialling and the status list.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ScriptedPerson.h"
#include "config/IdMap.h"

namespace km {
namespace {

using testing::ScriptedPerson;

// Network 1's slot and network file, Network 2's 3072 bytes on.
constexpr std::size_t kSlot1 = 0x2800;
constexpr std::size_t kSlot2 = 0x3400;
constexpr std::size_t kSchemeWord1 = 0x2E5E;
constexpr std::size_t kSchemeWord2 = 0x3A5E;
constexpr std::size_t kAnnTable1 = 0x2E00 + 480;

std::vector<std::uint8_t> BytesAt(const TrunkJobImage& image, std::size_t at, std::size_t n) {
    const auto bytes = image.Region(at, n);
    return {bytes.begin(), bytes.end()};
}

class IdMapTest : public ::testing::Test {
  protected:
    void SetScheme(int scheme, int selector = 0) {
        image->SetU16(selector == 0 ? kSchemeWord1 : kSchemeWord2,
                      static_cast<std::uint16_t>(scheme));
    }
    // ANN prefix p: miniaturisation extent and fleet partition.
    void SetAnnPrefix(int p, int extent, int partition) {
        image->SetU8(kAnnTable1 + 2 * p, static_cast<std::uint8_t>(extent));
        image->SetU8(kAnnTable1 + 2 * p + 1, static_cast<std::uint8_t>(partition));
    }
    void SetCpsxCounts(int large, int medium, int small) {
        image->SetU16(kSlot1 + 0x5C8, static_cast<std::uint16_t>(large));
        image->SetU16(kSlot1 + 0x5CA, static_cast<std::uint16_t>(medium));
        image->SetU16(kSlot1 + 0x5CC, static_cast<std::uint16_t>(small));
    }
    IdentityTexts RoundTrip(const IdentityTexts& texts, int selector = 0) {
        StoreIdentityTexts(*image, selector, texts);
        return LoadIdentityTexts(*image, selector);
    }

    std::unique_ptr<TrunkJobImage> image = std::make_unique<TrunkJobImage>();
};

TEST_F(IdMapTest, AnOwnMpt1343IdentityIsStoredAsItsRecordInTheSlotBeingEdited) {
    SetScheme(kSchemeMpt1343, 0);
    SetScheme(kSchemeMpt1343, 1);
    image->SetU8(kSlot1 + 0x14, 0xFD);  // bit 0 of +4 survives, the others are cleared
    IdentityTexts texts;
    texts.own = "2002001200";
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(BytesAt(*image, kSlot1 + 0x10, 8),
              (std::vector<std::uint8_t>{0x80, 0, 2, 0, 0x03, 0, 2, 0}));
    EXPECT_EQ(LoadIdentityTexts(*image, 0).own, "2002001200");
    // The nine-digit form of the same address keeps bit 1 clear and reads back nine digits.
    texts.own = "200200120";
    StoreIdentityTexts(*image, 1, texts);
    EXPECT_EQ(BytesAt(*image, kSlot2 + 0x10, 8),
              (std::vector<std::uint8_t>{0x80, 0, 2, 0, 0, 0, 2, 0}));
    EXPECT_EQ(LoadIdentityTexts(*image, 1).own, "200200120");
    EXPECT_EQ(LoadIdentityTexts(*image, 0).own, "2002001200");
}

TEST_F(IdMapTest, EmptyOwnIdentityAndHighestUnitStoreAClearedRecordAndIdentZero) {
    SetScheme(kSchemeMpt1343);
    image->FillRegion(kSlot1 + 0x10, 8, 0xFF);
    image->SetU16(kSlot1 + 0x68, 1234);
    StoreIdentityTexts(*image, 0, IdentityTexts{});
    EXPECT_EQ(BytesAt(*image, kSlot1 + 0x10, 8),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0x01, 0, 0, 0}));
    EXPECT_EQ(image->U16(kSlot1 + 0x68), 0);
    EXPECT_EQ(image->U8(kSlot1 + 0x80) & 0x40, 0);
    const IdentityTexts loaded = LoadIdentityTexts(*image, 0);
    EXPECT_EQ(loaded.own, "");
    EXPECT_EQ(loaded.highestUnit, "");
}

TEST_F(IdMapTest, IdentitiesOfEachSchemeReadBackAsDialled) {
    struct Case {
        int scheme;
        IdentityField field;
        const char* dialled;
    };
    const Case cases[] = {
        {kSchemeMpt1343, IdentityField::Own, "3276050200"},
        {kScheme3Rp, IdentityField::Own, "200200189"},
        {kSchemeMpt1343, IdentityField::Group, "2002001900"},
        {kSchemeMpt1343, IdentityField::Group, "200200199"},
        // A dispatcher may be a group; it is kept with the individual formula.
        {kSchemeMpt1343, IdentityField::Individual, "2002001998"},
        {kSchemeAnn, IdentityField::Own, "7051250"},      // large fleet 1
        {kSchemeAnn, IdentityField::Group, "7051900"},    // a large fleet's group
        {kSchemeAnn, IdentityField::Group, "7052395"},    // small fleet 23
        {kSchemeAnn, IdentityField::Group, "8059592"},    // miniaturised fleet 95, digit 8
        {kSchemeAnn, IdentityField::Own, "9059541"},      // miniaturised unit, digit 9
        {kSchemeCpsx, IdentityField::Own, "20020200"},    // large fleet 20
        {kSchemeCpsx, IdentityField::Group, "20021904"},  // the odd partner's groups
        {kSchemeCpsx, IdentityField::Individual, "20026317"},
    };
    SetAnnPrefix(5, 1, 2);
    SetCpsxCounts(1, 1, 1);
    for (const Case& c : cases) {
        SetScheme(c.scheme);
        ScriptedPerson person;
        const Numbering numbering = NumberingOfSlot(*image, 0);
        const auto parsed = ParseIdentity(c.dialled, c.field, numbering, person);
        ASSERT_TRUE(parsed.has_value())
            << c.dialled << " " << ::testing::PrintToString(person.Texts());
        EXPECT_TRUE(parsed->record.defined);
        EXPECT_EQ(FormatIdentity(parsed->record, c.field, numbering), c.dialled);
    }
}

TEST_F(IdMapTest, AnnRecordsKeepTheBasesOfTheirFleets) {
    SetScheme(kSchemeAnn);
    SetAnnPrefix(5, 1, 2);
    ScriptedPerson person;
    const Numbering numbering = NumberingOfSlot(*image, 0);
    // Large fleet 1: units from base 802, its groups from base 1502.
    auto own = ParseIdentity("7051250", IdentityField::Own, numbering, person);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->record, (IdentityRecord{true, 5, 852, true, 802}));
    auto group = ParseIdentity("7051900", IdentityField::Group, numbering, person);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->record, (IdentityRecord{true, 5, 1502, true, 1502}));
    // A miniaturised fleet's group 92 dialled with leading digit 8: fleet x 80 + 76.
    group = ParseIdentity("8059592", IdentityField::Group, numbering, person);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->record.ident, 95 * 80 + 76);
    EXPECT_TRUE(person.shown.empty());
}

TEST_F(IdMapTest, AnAnnLargeFleetOwnIdentityWithHighestGroup900StoresTheGroupBase) {
    SetScheme(kSchemeAnn);
    SetAnnPrefix(5, 1, 2);
    IdentityTexts texts;
    texts.own = "7051250";
    texts.highestGroup = "900";
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x6E), 800 * 1 + 702);
    EXPECT_EQ(image->U16(kSlot1 + 0x6C), 800 * 1 + 702);
    EXPECT_NE(image->U8(kSlot1 + 0x80) & 0x20, 0);
    EXPECT_EQ(LoadIdentityTexts(*image, 0).highestGroup, "900");
}

TEST_F(IdMapTest, HighestUnitAndGroupFollowTheOwnIdentitysForm) {
    SetScheme(kSchemeMpt1343);
    IdentityTexts texts;
    texts.own = "2002001200";
    texts.highestUnit = "450";
    texts.ownFleetGroup = "2003";
    texts.highestGroup = "95";
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x68), 2 + 450 - 200);
    EXPECT_NE(image->U8(kSlot1 + 0x80) & 0x40, 0);
    EXPECT_EQ(image->U16(kSlot1 + 0x6E), 2 * 2003 - 4000);
    EXPECT_EQ(image->U16(kSlot1 + 0x6C), 2 * 2003 + 95 - 4090);
    EXPECT_EQ(image->U8(kSlot1 + 0x80) & 0x20, 0);
    const IdentityTexts loaded = LoadIdentityTexts(*image, 0);
    EXPECT_EQ(loaded.highestUnit, "450");
    EXPECT_EQ(loaded.highestGroup, "95");
    EXPECT_EQ(loaded.ownFleetGroup, "2003");
    // A stored highest unit past the three-digit units shows as 899.
    image->SetU16(kSlot1 + 0x68, 2 + 950 - 200);
    EXPECT_EQ(LoadIdentityTexts(*image, 0).highestUnit, "899");
    // An empty highest group stores nothing.
    texts.highestGroup.clear();
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x6C), 2 * 2003 + 95 - 4090);
}

TEST_F(IdMapTest, GroupsAndIdentitiesThatDoNotParseAreStoredCleared) {
    SetScheme(kSchemeMpt1343);
    IdentityTexts texts;
    texts.groups[0] = "2002001900";
    texts.groups[3] = "123";
    texts.dispatcher = "99";
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(image->U8(kSlot1 + 0x18), 0x80);
    EXPECT_EQ(image->U8(kSlot1 + 0x18 + 3 * 8), 0);
    EXPECT_EQ(image->U8(kSlot1 + 0x58), 0);
    const IdentityTexts loaded = LoadIdentityTexts(*image, 0);
    EXPECT_EQ(loaded.groups[0], "2002001900");
    EXPECT_EQ(loaded.groups[3], "");
}

TEST_F(IdMapTest, CpsxGroupRecordsKeepNoFleetBase) {
    SetScheme(kSchemeCpsx);
    SetCpsxCounts(1, 1, 1);
    image->FillRegion(kSlot1 + 0x18, 8, 0xFF);
    IdentityTexts texts;
    texts.own = "20020200";
    texts.groups[0] = "20020950";
    StoreIdentityTexts(*image, 0, texts);
    ScriptedPerson person;
    const auto group =
        ParseIdentity("20020950", IdentityField::Group, NumberingOfSlot(*image, 0), person);
    ASSERT_TRUE(group);
    const auto ident = static_cast<std::uint8_t>(group->record.ident);
    const auto identHigh = static_cast<std::uint8_t>(group->record.ident >> 8);
    // +0, the ident and the three-digit bit (bit 0 of +4 is kept); the fleet-base word is 0.
    EXPECT_EQ(BytesAt(*image, kSlot1 + 0x18, 8),
              (std::vector<std::uint8_t>{0x80, 0, ident, identHigh, 0x03, 0, 0, 0}));
    // The own identity keeps its fleet's base.
    EXPECT_EQ(image->U16(kSlot1 + 0x16), 1);
    EXPECT_EQ(LoadIdentityTexts(*image, 0).groups[0], "20020950");
}

TEST_F(IdMapTest, CpsxDynamicGroupIsKeptAsItsIdentAndAnEmptyFieldClearsIt) {
    SetScheme(kSchemeCpsx);
    SetCpsxCounts(1, 1, 1);
    IdentityTexts texts;
    texts.own = "20026200";
    texts.dynamicGroup = "20026910";
    StoreIdentityTexts(*image, 0, texts);
    const int tinyBase = 6 * 135;  // fleet 26: h = 6, tiny, base h x 135
    EXPECT_EQ(image->U16(kSlot1 + 0x5D0), tinyBase + 1 + 118 + 10);
    EXPECT_EQ(LoadIdentityTexts(*image, 0).dynamicGroup, "20026910");
    texts.dynamicGroup.clear();
    StoreIdentityTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x5D0), 0);
}

TEST_F(IdMapTest, ExitChecksOfTheComputedFieldsShowTheFormsMessages) {
    struct Case {
        int scheme;
        const char* own;
        const char* highestUnit;
        const char* message;
        const char* replaced;  // the text the field then shows, or null
    };
    const Case cases[] = {
        {kSchemeMpt1343, "", "200", "Individual Ident must be correctly defined first", nullptr},
        {kSchemeCpsx, "", "250", "Radio's Identity must be correctly defined first", "200"},
        {kSchemeMpt1343, "2002001200", "150", "Value out of Range. Must be between 200 - 899",
         nullptr},
        {kSchemeMpt1343, "200200120", "95", "Value out of Range. Must be between 20 - 89", nullptr},
        {kSchemeMpt1343, "3276050200", "899",
         "Unit number is too high for corresponding fleet number", nullptr},
        {kSchemeCpsx, "20026200", "318",
         "Invalid Highest Unit Number.                    \nHighest Unit Number range is 200 to "
         "317.",
         nullptr},
        {kSchemeMpt1343, "2002001200", "899", nullptr, nullptr},
    };
    SetCpsxCounts(1, 1, 1);
    for (const Case& c : cases) {
        SetScheme(c.scheme);
        ScriptedPerson person;
        const ExitCheck check =
            CheckHighestUnit(c.highestUnit, c.own, NumberingOfSlot(*image, 0), person);
        EXPECT_EQ(check.passed, c.message == nullptr) << c.highestUnit;
        EXPECT_EQ(person.Texts(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.highestUnit;
        EXPECT_EQ(check.replaceWith,
                  c.replaced ? std::optional<std::string>(c.replaced) : std::nullopt);
    }
}

TEST_F(IdMapTest, HighestGroupAndOwnFleetGroupChecks) {
    SetAnnPrefix(5, 1, 2);
    SetCpsxCounts(1, 1, 1);
    struct Case {
        int scheme;
        const char* own;
        const char* highest;
        const char* message;
    };
    const Case cases[] = {
        {kSchemeMpt1343, "", "100", "Value out of Range. Must be between 90-99 or 900-998"},
        {kSchemeAnn, "", "95", "Individual Ident must be correctly defined first"},
        {kSchemeAnn, "7051250", "95", "Highest Group Number must be betweem 900 and 998"},
        {kSchemeAnn, "7052320", "900", "Highest Group Number must be betweem 90 and 99"},
        {kSchemeAnn, "9059541", "94", "Highest Group Number must be betweem 90 and 93"},
        {kSchemeCpsx, "20026200", "918",
         "Invalid Highest Group Number.                    \nHighest Group Number range is 900 "
         "to 916."},
        {kSchemeCpsx, "", "900", "Radio's Identity must be correctly defined first"},
        {kSchemeAnn, "7051250", "998", nullptr},
    };
    for (const Case& c : cases) {
        SetScheme(c.scheme);
        ScriptedPerson person;
        const ExitCheck check =
            CheckHighestGroup(c.highest, c.own, "", NumberingOfSlot(*image, 0), person);
        EXPECT_EQ(check.passed, c.message == nullptr) << c.own << " " << c.highest;
        EXPECT_EQ(person.Texts(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    SetScheme(kSchemeMpt1343);
    ScriptedPerson person;
    EXPECT_FALSE(CheckHighestGroup("998", "", "6050", NumberingOfSlot(*image, 0), person).passed);
    EXPECT_FALSE(CheckOwnFleetGroup("2000", "", person).passed);
    EXPECT_FALSE(CheckOwnFleetGroup("6050", "998", person).passed);
    EXPECT_TRUE(CheckOwnFleetGroup("6050", "90", person).passed);
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"Group number is too high for corresponding fleet number",
                                        "Value out of Range. Must be between 2001 - 6050",
                                        "Fleet number is too high"}));
}

TEST_F(IdMapTest, CpsxCountsMustNotDecreaseFromLargeToSmall) {
    ScriptedPerson person;
    EXPECT_TRUE(CheckCpsxCounts({1, 1, 1}, CpsxCount::Large, person));
    EXPECT_FALSE(CheckCpsxCounts({3, 2, 5}, CpsxCount::Large, person));
    EXPECT_FALSE(CheckCpsxCounts({1, 6, 5}, CpsxCount::Medium, person));
    EXPECT_FALSE(CheckCpsxCounts({1, 2, 1}, CpsxCount::Small, person));
    EXPECT_EQ(
        person.Texts(),
        (std::vector<std::string>{
            "Large size parameter must be less than or equal to the Medium size parameter.      "
            "          \n ",
            "Medium size parameter cannot be greater than the Small size parameter.            "
            "    \nMedium size parameter cannot be smaller than the Large size parameter.        "
            "        \n ",
            "Small size parameter must be greater than or equal to the Medium size parameter.   "
            "             \n "}));
}

TEST_F(IdMapTest, TheCpsxResetPutsBackCountsTheCheckTakes) {
    const int count = static_cast<int>(kCpsxResetCount);
    for (const CpsxCount changed : {CpsxCount::Large, CpsxCount::Medium, CpsxCount::Small}) {
        ScriptedPerson person;
        EXPECT_TRUE(CheckCpsxCounts({count, count, count}, changed, person));
        EXPECT_TRUE(person.Texts().empty());
    }
    // The reset counts are a choice of each count's list.
    for (const char* id :
         {"identities.cpsx_large", "identities.cpsx_medium", "identities.cpsx_small"}) {
        const fields::FieldRow& row = id_rows::Row(id);
        EXPECT_TRUE(std::any_of(row.choices.begin(), row.choices.end(),
                                [](const fields::Choice& c) { return c.code == kCpsxResetCount; }))
            << id;
    }
}

TEST_F(IdMapTest, FiveDigitEntriesOneToTenAreWordsAndElevenToTwentyPackedBytes) {
    std::vector<FiveDigitEntry> entries(20);
    entries[0] = {"25", "201", "2001", "300"};
    entries[10] = {"905", "201", "2001", "20"};
    entries[11] = {"95", "400", "9999", "250"};  // prefix and fleet out of range store 0
    StoreFiveDigit(*image, 0, entries);
    EXPECT_EQ(BytesAt(*image, 0x2A00, 8),
              (std::vector<std::uint8_t>{25, 0, 0x2C, 0x01, 0x81, 0, 2, 0}));
    EXPECT_EQ(BytesAt(*image, 0x2910, 6),
              (std::vector<std::uint8_t>{0x89, 0x03, 0x81, 0x14, 0x02, 0x00}));
    EXPECT_EQ(BytesAt(*image, 0x2916, 6), (std::vector<std::uint8_t>{95, 0x00, 0, 250, 0, 0}));
    const auto loaded = LoadFiveDigit(*image, 0);
    EXPECT_EQ(loaded[0].prefix, "201");
    EXPECT_EQ(loaded[10].fleetCode, "905");
    EXPECT_EQ(loaded[10].highest, "20");
    EXPECT_EQ(loaded[10].fleet, "2001");
    // An unused entry is stored as zeros; an all-ones FleetCode reads as unused.
    entries[0] = {};
    StoreFiveDigit(*image, 0, entries);
    EXPECT_EQ(BytesAt(*image, 0x2A00, 8), std::vector<std::uint8_t>(8, 0));
    image->SetU16(0x2A08, 0xFFFF);
    image->SetU8(0x291C, 0xFF);
    image->SetU8(0x291D, 0x0F);
    EXPECT_EQ(LoadFiveDigit(*image, 0)[1].fleetCode, "");
    EXPECT_EQ(LoadFiveDigit(*image, 0)[12].fleetCode, "");
}

TEST_F(IdMapTest, FiveDigitCellsAreCheckedWithTheMessagesOfEnterAndOfLeaving) {
    using C = FiveDigitColumn;
    EXPECT_FALSE(CheckFiveDigitCell(C::FleetCode, "905", "", true));
    EXPECT_FALSE(CheckFiveDigitCell(C::FleetCode, "0", "", false));
    const auto enter = CheckFiveDigitCell(C::Prefix, "199", "", true);
    ASSERT_TRUE(enter);
    EXPECT_EQ(enter->kind, BoxKind::Error);
    EXPECT_EQ(enter->text,
              "Invalid Prefix. Valid numbers are:                        \n   200 - 327        "
              "        \n ");
    const auto leave = CheckFiveDigitCell(C::FleetCode, "30", "", false);
    ASSERT_TRUE(leave);
    EXPECT_EQ(leave->kind, BoxKind::Warning);
    EXPECT_EQ(leave->text,
              "Invalid FleetCode. Valid numbers are:                     \n   0 - disabled     "
              "                 \n   20 - 29 or 90 - 99                         \n   200 - 299 or "
              "900 - 999             \n ");
    // The highest number is checked against the FleetCode only when the cell is left.
    EXPECT_FALSE(CheckFiveDigitCell(C::Highest, "50", "25", true));
    const auto two = CheckFiveDigitCell(C::Highest, "50", "25", false);
    ASSERT_TRUE(two);
    EXPECT_NE(two->text.find("200 - 999"), std::string_view::npos);
    const auto three = CheckFiveDigitCell(C::Highest, "200", "905", false);
    ASSERT_TRUE(three);
    EXPECT_NE(three->text.find("defind FleetCode"), std::string_view::npos);
    EXPECT_FALSE(CheckFiveDigitCell(C::Fleet, "6050", "", false));
    EXPECT_TRUE(CheckFiveDigitCell(C::Fleet, "6051", "", false));
}

TEST_F(IdMapTest, StatusRepliesArePackedFourToAWordLowestStatusHighest) {
    std::vector<StatusEntry> entries(30);
    entries[0] = {"Busy", "Free", "STA+GPS"};
    entries[1] = {"123456789012", "", "STA+JOB"};
    entries[29] = {"", "", "STA+JOB+GPS"};
    entries[5] = {"", "", "nonsense"};
    image->SetU16(0x2DA0, 0xF000);  // status 0's nibble is always 0
    StoreStatusList(*image, 0, entries);
    EXPECT_EQ(image->U16(0x2DA0), 0x0120);
    EXPECT_EQ(image->U16(0x2DA0 + 2 * 7) >> 4 & 0x0F, 3);  // status 30: word 7, bits 4-7
    EXPECT_EQ(BytesAt(*image, 0x2A5C, 12),
              (std::vector<std::uint8_t>{'B', 'u', 's', 'y', 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(
        BytesAt(*image, 0x2A5C + 12, 12),
        (std::vector<std::uint8_t>{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', '2'}));
    EXPECT_EQ(image->U8(0x2BDC), 'F');
    const auto loaded = LoadStatusList(*image, 0);
    EXPECT_EQ(loaded[0].reply, "STA+GPS");
    EXPECT_EQ(loaded[1].incoming, "123456789012");
    EXPECT_EQ(loaded[5].reply, "Status");
    EXPECT_EQ(loaded[29].reply, "STA+JOB+GPS");
}

TEST_F(IdMapTest, AStoreWritesTheMarkerClearsTheSpareFieldsAndCountsTheDtmfDigits) {
    image->FillRegion(kSlot1 + 0x90, 0x80, 0x55);
    image->SetU8(kSlot1 + 0x1F4, 0xFF);
    image->SetU8(kSlot1 + 0x1F1, 1);  // dispatcher loading, auto-call off
    image->SetU8(kSlot1 + 0x5B0, 9);
    const std::vector<std::uint8_t> digits = {0x12, 0xD3, 0xFF, 0xFF, 0xFF,
                                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    image->Write(kSlot1 + 0x5B2, digits);
    image->FillRegion(kSlot1 + 0x5BE, 10, 0xFF);
    image->SetU8(kSlot1 + 0x5BD, 7);
    StoreDerivedFields(*image, 0);
    EXPECT_EQ(image->Text(kSlot1, 16), "--NETWORK DATA--");
    EXPECT_EQ(BytesAt(*image, kSlot1 + 0x90, 0x80), std::vector<std::uint8_t>(0x80, 0));
    EXPECT_EQ(image->U8(kSlot1 + 0x1F4), 0x1D);
    EXPECT_EQ(image->U8(kSlot1 + 0x1F1), 0);
    EXPECT_EQ(image->U8(kSlot1 + 0x5B0), 0);
    EXPECT_EQ(image->U8(kSlot1 + 0x5B1), 4);  // "12-3"
    EXPECT_EQ(image->U8(kSlot1 + 0x5BD), 0);
}

TEST_F(IdMapTest, FieldsStillShowingWhatWasLoadedKeepTheirBytes) {
    // As a radio might hold them: spare bits in an own record, unused five-digit entries of all
    // ones, a reply code no list has.
    SetScheme(kSchemeMpt1343);
    const std::vector<std::uint8_t> own = {0x80, 0x00, 2, 0, 0xFA, 0x07, 2, 0};
    image->Write(kSlot1 + 0x10, own);
    image->FillRegion(0x2A00, 80, 0xFF);
    image->SetU16(0x2DA0, 0xF750);
    const TrunkJobImage before = *image;
    const IdentityTexts loaded = LoadIdentityTexts(*image, 0);
    IdentityTexts texts = loaded;
    const auto fiveDigit = LoadFiveDigit(*image, 0);
    const auto statuses = LoadStatusList(*image, 0);
    StoreIdentityTexts(*image, 0, texts, &loaded);
    StoreFiveDigit(*image, 0, fiveDigit, fiveDigit);
    StoreStatusList(*image, 0, statuses, statuses);
    EXPECT_TRUE(*image == before);
    // An edited field is stored whole.
    EXPECT_EQ(loaded.own, "2002001200");
    texts.own = "2002001201";
    StoreIdentityTexts(*image, 0, texts, &loaded);
    EXPECT_EQ(BytesAt(*image, kSlot1 + 0x10, 8),
              (std::vector<std::uint8_t>{0x80, 0, 3, 0, 0x02, 0, 2, 0}));
}

TEST_F(IdMapTest, DataRetriesAreKeptOnlyByJobsAfterVersion3131) {
    image->SetU16(14, 3131);
    EXPECT_FALSE(DataRetriesStored(*image));
    image->SetU16(14, 3132);
    EXPECT_TRUE(DataRetriesStored(*image));
}

}  // namespace
}  // namespace km
