// The channel table of a PMR job: records, group areas, markers and counters as the store writes
// them and the load reads them back. Offsets are the image's own, written out as literals.

#include <gtest/gtest.h>

#include <memory>

#include "ScriptedPerson.h"
#include "pmr/ChannelTable.h"
#include "pmr/CtcssDcs.h"
#include "pmr/Frequency.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using km::testing::ScriptedPerson;

constexpr std::size_t kRecords = 0x3D2C;
constexpr std::size_t kArea1 = 0x2B3C;
constexpr std::size_t kArea2 = 0xDA2C;

struct Job {
    std::unique_ptr<PmrJobImage> image = std::make_unique<PmrJobImage>();
    ScriptedPerson person;
    StoreSettings settings{.highPowerLevel = 7, .lowPowerLevel = 2, .radioTypeMask = 16};

    void Store(const ChannelTable& table) { StoreChannelTable(table, settings, *image, person); }
    ChannelTable Load() const {
        ChannelTable table;
        LoadChannelTable(*image, table);
        return table;
    }
    std::uint8_t Byte(std::size_t q, std::size_t b) const {
        return image->U8(kRecords + 32 * q + b);
    }
    std::uint16_t Word(std::size_t offset) const { return image->U16(offset); }
};

ChannelEntry Channel(int number, std::int64_t rxHz, std::int64_t txHz = -1) {
    ChannelEntry entry = DefaultEntry(rxHz);
    entry.txHz = txHz < 0 ? rxHz : txHz;
    entry.SetNumber(number);
    entry.SetName("CH" + std::to_string(number));
    return entry;
}

ChannelEntry Group(int number, GroupType type, std::vector<std::uint16_t> members = {},
                   std::uint16_t priority = kNoMember) {
    ChannelEntry entry = DefaultEntry(0);
    entry.SetFlag(cr::kIsGroup, true);
    entry.SetFlag(cr::kSelcall, false);
    SetGroupType(entry, type);
    // As the group editor leaves them: vote and multiax groups are always shown as a channel.
    entry.SetFlag(cr::kShowAsChannel, MemberCapacity(type) == 16);
    entry.SetNumber(number);
    for (std::size_t m = 0; m < members.size(); ++m) {
        entry.members[m] = members[m];
    }
    entry.scanPriority = priority;
    return entry;
}

ChannelTable TableOf(std::initializer_list<ChannelEntry> entries) {
    ChannelTable table;
    for (const ChannelEntry& entry : entries) {
        EXPECT_TRUE(table.Add(entry)) << entry.Number();
    }
    return table;
}

TEST(FrequencyTextTest, EitherSideOfThePointMayBeEmptyButNotBoth) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> millionths;
    };
    const Case cases[] = {
        {"67.5", 67500000},    {" 450,0125 ", 450012500}, {".5", 500000},
        {"146.", 146000000},   {"\t66\t", 66000000},      {"", std::nullopt},
        {".", std::nullopt},   {" ", std::nullopt},       {"1.a", std::nullopt},
        {"a.1", std::nullopt}, {"-1", std::nullopt},      {"1 .5", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseMillionths(c.text), c.millionths) << '"' << c.text << '"';
    }
}

TEST(ChannelStoreTest, AnEmptyTableStoresMarkersEmptyAreasAndNoVisibleEntry) {
    Job job;
    job.image->Fill(0x5A);
    job.Store(ChannelTable{});
    EXPECT_EQ(job.Word(0x006E), 0);
    EXPECT_EQ(job.Word(0x1D22), 0xFFFF);
    EXPECT_EQ(job.image->Text(0x2B34, 8), "---GROUP");
    EXPECT_EQ(job.image->Text(0x3D1C, 16), "--CHANNEL DATA--");
    for (std::size_t i = 0; i < 32000; ++i) {
        ASSERT_EQ(job.image->U8(kRecords + i), 0) << i;
    }
    for (std::size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(job.image->U8(kArea1 + i), 0xFF) << i;
        ASSERT_EQ(job.image->U8(kArea2 + i), 0xFF) << i;
    }
    EXPECT_TRUE(job.person.shown.empty());
}

struct RasterCase {
    std::int64_t hz;
    std::uint8_t stepBits;  // byte 6 bits 1 and 6 of the receive side
    std::int64_t count;
};

TEST(ChannelStoreTest, FrequenciesTakeTheFirstStepThatDividesThem) {
    const RasterCase cases[] = {
        {476412500, 0x40, 76226},  // a multiple of 6.25 kHz
        {450025000, 0x40, 72004},  // 25 kHz channels always take 6.25 kHz
        {150007500, 0x02, 20001},  // 7.5 kHz
        {450005000, 0x00, 90001},  // 5 kHz
    };
    for (const RasterCase& c : cases) {
        Job job;
        job.Store(TableOf({Channel(1, c.hz)}));
        EXPECT_EQ(job.Byte(0, 6) & 0x42, c.stepBits) << c.hz;
        const std::int64_t count =
            job.Byte(0, 4) << 9 | job.Byte(0, 5) << 1 | (job.Byte(0, 6) >> 4 & 1);
        EXPECT_EQ(count, c.count) << c.hz;
        EXPECT_EQ(job.Load().At(0).rxHz, c.hz);
    }
}

TEST(ChannelStoreTest, AFrequencyOffTheRasterIsToldAndStoredWithTheFiveKilohertzStep) {
    Job job;
    job.Store(TableOf({Channel(12, 450001000, 450000000)}));
    ASSERT_EQ(job.person.shown.size(), 1u);
    EXPECT_EQ(job.person.shown[0].text, "Channel 12 RX frequency not divisable by reference.");
    EXPECT_EQ(job.person.shown[0].kind, BoxKind::Plain);
    EXPECT_EQ(job.Byte(0, 6) & 0x42, 0);
}

TEST(ChannelStoreTest, TheX8BandStoresEightHundredMegahertzLower) {
    Job job;
    job.image->SetU16(0x006C, 0x5838);
    job.Store(TableOf({Channel(0, 851012500, 0)}));
    // 51.0125 MHz is count 8162 at 6.25 kHz; transmit 0 is count 0 with the 6.25 kHz step.
    EXPECT_EQ(job.Byte(0, 4), 8162 >> 9);
    EXPECT_EQ(job.Byte(0, 5), (8162 >> 1) & 0xFF);
    EXPECT_EQ(job.Byte(0, 6) & 0xF2, 0x40 | 0x80);
    EXPECT_EQ(job.Byte(0, 2), 0);
    EXPECT_EQ(job.Byte(0, 3), 0);
    ChannelTable back = job.Load();
    EXPECT_EQ(back.At(0).rxHz, 851012500);
    EXPECT_EQ(back.At(0).txHz, 0);
    job.image->SetU16(0x006C, 0x5557);  // "UW"
    back = job.Load();
    EXPECT_EQ(back.At(0).rxHz, 51012500);
}

TEST(ChannelStoreTest, CrystalSwitchAndClockShiftFollowTheReceiveFrequency) {
    Job job;
    ChannelEntry onGrid = Channel(1, 460800000);  // 600 x 768 kHz
    ChannelEntry offGrid = Channel(2, 450000000);
    ChannelEntry overridden = Channel(3, 460800000);
    overridden.SetFlag(cr::kOverrideXtal, true);
    ChannelEntry x8Listed = Channel(4, 851700000);  // switch always off
    job.Store(TableOf({onGrid, offGrid, overridden, x8Listed}));
    EXPECT_EQ(job.Byte(0, 0) & 0x02, 0x02);
    EXPECT_EQ(job.Byte(1, 0) & 0x02, 0);
    EXPECT_EQ(job.Byte(2, 0) & 0x82, 0x80);
    EXPECT_EQ(job.Byte(3, 0) & 0x02, 0);
    // HM-F (mask 16): 460.8 MHz is 41.67 x 11.0592 MHz, so the clock shifts; 442.368 MHz is 40 x.
    EXPECT_EQ(job.Byte(0, 0) & 0x10, 0x10);
    job.Store(TableOf({Channel(1, 442368000)}));
    EXPECT_EQ(job.Byte(0, 0) & 0x10, 0);
}

TEST(ChannelStoreTest, AustralianCbChannelsFiveAndThirtyFiveLoseTheirTones) {
    for (int country : {1, 0}) {
        Job job;
        job.settings.countryCode = country;
        ChannelEntry cb5 = Channel(5, 476525000);
        cb5.Set(cr::kRxCode, 8);
        cb5.Set(cr::kTxCode, 8);
        job.Store(TableOf({cb5}));
        if (country == 1) {
            EXPECT_EQ(job.Byte(0, 8), 0);
            EXPECT_EQ(job.Byte(0, 9), 0);
            EXPECT_EQ(job.Byte(0, 28) & 0x06, 0x06);
            EXPECT_EQ(job.Byte(0, 1) & 0x08, 0) << "selcall cleared";
            // A mobile's high level is held at the 5 W row.
            EXPECT_EQ(job.Byte(0, 10) >> 4, 4);
        } else {
            EXPECT_EQ(job.Byte(0, 8), 8);
            EXPECT_EQ(job.Byte(0, 9), 8);
            EXPECT_EQ(job.Byte(0, 28) & 0x06, 0);
            EXPECT_EQ(job.Byte(0, 10) >> 4, 7);
        }
    }
}

TEST(ChannelStoreTest, LinksRunBetweenVisibleEntriesAndRoundTheTable) {
    Job job;
    ChannelEntry a = Channel(1, 450000000);
    ChannelEntry b = Channel(2, 450000000);
    ChannelEntry c = Channel(3, 450000000);
    b.SetFlag(cr::kHidden, true);
    job.Store(TableOf({a, b, c}));
    const auto link = [&](std::size_t q, std::size_t byte) {
        return (job.Byte(q, byte) & 0x07) << 8 | job.Byte(q, byte + 1);
    };
    EXPECT_EQ(link(0, 24), 2);
    EXPECT_EQ(link(0, 26), 2);
    EXPECT_EQ(link(1, 24), 0x7FF);
    EXPECT_EQ(link(1, 26), 0x7FF);
    EXPECT_EQ(link(2, 24), 0);
    EXPECT_EQ(link(2, 26), 0);
    EXPECT_EQ(job.Word(0x1D22), 0);

    a.SetFlag(cr::kHidden, true);
    c.SetFlag(cr::kHidden, true);
    job.Store(TableOf({a, b, c}));
    for (std::size_t q = 0; q < 3; ++q) {
        EXPECT_EQ(link(q, 24), 0x7FF);
        EXPECT_EQ(link(q, 26), 0x7FF);
    }
    EXPECT_EQ(job.Word(0x1D22), 0xFFFF);

    b.SetFlag(cr::kHidden, false);
    job.Store(TableOf({a, b, c}));
    EXPECT_EQ(link(1, 24), 1);
    EXPECT_EQ(link(1, 26), 1);
    EXPECT_EQ(job.Word(0x1D22), 1);
}

TEST(ChannelStoreTest, GroupsBeyondTheLimitsAreToldAndStoredWithoutMembers) {
    Job job;
    ChannelTable table;
    for (int g = 0; g < 5; ++g) {
        ASSERT_TRUE(table.Add(Group(g, GroupType::UserScan, {900})));
    }
    for (int g = 0; g < 251; ++g) {
        ASSERT_TRUE(table.Add(Group(100 + g, GroupType::Vote, {900})));
    }
    ASSERT_TRUE(table.Add(Channel(900, 450000000)));
    job.Store(table);
    ASSERT_EQ(job.person.shown.size(), 2u);
    EXPECT_EQ(job.person.shown[0].text,
              "Too many groups.                           \n"
              "The maximum number of User Scan Groups is 4");
    EXPECT_EQ(job.person.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(job.person.shown[0].buttons, Buttons::Cancel);
    EXPECT_EQ(job.person.shown[1].text,
              "Too many groups.                           \n"
              "The maximum number of Group Channels is 250");
    // Positions 0..3 are user scan groups 0..3, position 4 the fifth; 5.. the vote groups.
    for (std::size_t q = 0; q < 4; ++q) {
        EXPECT_EQ(job.Byte(q, 7), q);
        EXPECT_EQ(job.Byte(q, 6) & 1, 1);
    }
    EXPECT_EQ(job.Byte(4, 7), 255);
    EXPECT_EQ(job.Byte(4, 6) & 1, 0);
    EXPECT_EQ(job.Byte(5, 7), 4);
    EXPECT_EQ(job.Byte(5 + 249, 7), 253);
    EXPECT_EQ(job.Byte(5 + 250, 7), 255);
    EXPECT_EQ(job.Byte(5 + 249, 0) & 0x0C, 0x04) << "the 250th is a vote group";
    EXPECT_EQ(job.Byte(5 + 250, 0) & 0x0C, 0) << "no type bits for the 251st";
    // Indexes 128..253 lie in the second area, whose count is written.
    EXPECT_EQ(job.Word(0x0074), 126);
    EXPECT_EQ(job.Word(kArea2 + 32 * 125), 900);
}

TEST(ChannelStoreTest, MemberListsRoundTripInBothAreasUpToTheLastIndexStored) {
    Job job;
    ChannelTable table;
    ASSERT_TRUE(table.Add(Channel(999, 450000000)));
    ASSERT_TRUE(table.Add(Group(0, GroupType::UserScan, {999, 998}, 997)));
    for (int g = 0; g < 250; ++g) {
        const auto type = g % 2 == 0 ? GroupType::FixedScan : GroupType::Multiax;
        std::vector<std::uint16_t> members(MemberCapacity(type));
        for (std::size_t m = 0; m < members.size(); ++m) {
            members[m] = static_cast<std::uint16_t>((g + static_cast<int>(m)) % 999);
        }
        ASSERT_TRUE(table.Add(Group(1 + g, type, members, static_cast<std::uint16_t>(g))));
    }
    job.Store(table);
    EXPECT_TRUE(job.person.shown.empty());
    const ChannelTable back = job.Load();
    ASSERT_EQ(back.Size(), table.Size());
    for (std::size_t q = 0; q < table.Size(); ++q) {
        const ChannelEntry& was = table.At(q);
        const ChannelEntry& is = back.At(q);
        ASSERT_EQ(is.Number(), was.Number());
        if (!was.IsGroup()) {
            continue;
        }
        const GroupType type = GroupTypeOf(was);
        EXPECT_EQ(GroupTypeOf(is), type) << was.Number();
        EXPECT_EQ(is.members, was.members) << was.Number();
        if (MemberCapacity(type) == 15) {
            EXPECT_EQ(is.scanPriority, was.scanPriority) << was.Number();
        }
    }
    // The last other group has index 253, the last record of the second area.
    EXPECT_EQ(job.Byte(250, 7), 253);
}

TEST(ChannelLoadTest, AStoredTableLoadsAndStoresToTheSameBytes) {
    Job job;
    job.settings.countryCode = 1;
    ChannelEntry lockout = Channel(3, 451012500, 406012500);
    lockout.SetFlag(cr::kRxLockout, true);
    lockout.Set(cr::kEncode, 17);
    ChannelEntry noSelcall = Channel(4, 476525000);
    noSelcall.SetFlag(cr::kSelcall, false);
    SetBandwidth(noSelcall, Bandwidth::k10);
    ChannelEntry hidden = Channel(5, 150007500, 0);
    hidden.SetFlag(cr::kHidden, true);
    job.Store(TableOf({lockout, noSelcall, hidden, Group(6, GroupType::Vote, {3, 4, 5}),
                       Group(7, GroupType::UserScan, {3}, 4)}));
    const std::vector<std::uint8_t> first(job.image->Bytes().begin(), job.image->Bytes().end());
    job.Store(job.Load());
    const std::vector<std::uint8_t> second(job.image->Bytes().begin(), job.image->Bytes().end());
    for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(first[i], second[i]) << "byte " << i;
    }
    EXPECT_EQ(job.Load().At(0).Name(), "CH3");
    EXPECT_EQ(job.image->Text(0x3D2C + 12, 12), "CH3");
    EXPECT_TRUE(job.person.shown.empty());
}

TEST(ChannelLoadTest, ACountAboveOneThousandLoadsAnEmptyTable) {
    Job job;
    job.Store(TableOf({Channel(1, 450000000)}));
    job.image->SetU16(0x006E, 1001);
    EXPECT_TRUE(job.Load().Empty());
}

TEST(ChannelLoadTest, EveryRecordOfTheImageIsKeptInNumberOrder) {
    Job job;
    job.image->SetU16(0x006E, 3);
    for (auto [q, number] : {std::pair{0, 7}, {1, 3}, {2, 7}}) {
        job.image->SetU8(kRecords + 32 * q + 11, static_cast<std::uint8_t>(number));
    }
    const ChannelTable table = job.Load();
    ASSERT_EQ(table.Size(), 3u);
    EXPECT_EQ(table.At(0).Number(), 3);
    EXPECT_EQ(table.At(1).Number(), 7);
    EXPECT_EQ(table.At(2).Number(), 7);
}

TEST(ChannelTableTest, AddRefusesDuplicatesNumbersOutOfRangeAndAThousandAndFirst) {
    ChannelTable table;
    for (int n = 0; n < 1000; ++n) {
        ASSERT_TRUE(table.Add(Channel(999 - n, 450000000)));
    }
    EXPECT_EQ(table.At(0).Number(), 0);
    EXPECT_EQ(table.NextNumber(), 0) << "after 999 comes 0";
    table.Remove(500);
    EXPECT_FALSE(table.Add(Channel(3, 450000000)));
    EXPECT_FALSE(table.Add(Channel(1000, 450000000)));
    EXPECT_TRUE(table.Add(Channel(500, 450000000)));
    EXPECT_FALSE(table.Add(Channel(500, 450000000)));
    // A replacement may keep its own number but not take another's.
    EXPECT_TRUE(table.Replace(10, Channel(10, 460000000)));
    EXPECT_FALSE(table.Replace(10, Channel(11, 460000000)));
}

TEST(ChannelTableTest, DeletingAChannelAGroupListsIsRefused) {
    const ChannelTable table =
        TableOf({Channel(1, 450000000), Channel(2, 450000000), Channel(3, 450000000),
                 Group(10, GroupType::FixedScan, {1}, 2)});
    ScriptedPerson person;
    EXPECT_FALSE(DeleteAllowed(table, 0, person));
    EXPECT_FALSE(DeleteAllowed(table, 1, person));
    EXPECT_TRUE(DeleteAllowed(table, 2, person));
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"Cannot delete channel.                               \n"
                                        "Channel is used in a Scan or Vote group.",
                                        "Cannot delete channel.                           \n"
                                        "Channel is used in a Scan group."}));
    EXPECT_TRUE(ChannelDefined(table, 10, person));
    EXPECT_FALSE(ChannelDefined(table, 11, person));
    EXPECT_EQ(person.shown.back().text, "Channel has not been defined in the channel table.");
    EXPECT_EQ(person.shown.back().kind, BoxKind::Warning);
}

TEST(ChannelTableTest, ListLinesShowChannelsAndGroupsInFixedColumns) {
    ChannelEntry channel = Channel(7, 450012500, 455012500);
    channel.SetName("Depot");
    channel.Set(cr::kRxCode, 1);     // 67.0 Hz
    channel.Set(cr::kTxCode, 0x81);  // DCS 023
    channel.SetFlag(cr::kRxLockout, true);
    SetPower(channel, Power::Medium);
    SetBandwidth(channel, Bandwidth::k25);
    channel.SetFlag(cr::kHidden, true);
    EXPECT_EQ(ListLine(channel),
              "007 Depot         450.01250MHz Yes 67.0  455.01250MHz No   023  Med SC    25 H  ");
    ChannelEntry group = Group(12, GroupType::UserScan, {5, 17, 123});
    group.SetName("Trucks");
    EXPECT_EQ(ListLine(group),
              "012 Trucks       User Scan Grp       5, 17,123,---,---,---,---,---,  . . .");
}

TEST(ChannelLoadTest, CodeBytesOfOlderProgramsShowTheirRowsAndStoreAsTheStandardByte) {
    struct Case {
        std::uint8_t stored;
        const char* shortText;  // the list's and the CSV file's
        std::uint8_t written;   // by the next store
    };
    const Case cases[] = {
        {0x00, " ", 0x00},
        {0x01, " 67.0", 0x01},
        {0x33, "254.1", 0x33},
        // Code bytes in their short form: 0x34..0x7F are DCS codes, 0x80 the last tone.
        {0x34, "023", 0x81},
        {0x50, "156", 0x9D},
        {0x7F, "462", 0xCC},
        {0x80, "254.1", 0x33},
        {0x81, "023", 0x81},
        {0xE8, "754", 0xE8},
        // Bytes that name no row are kept as they are.
        {0xE9, "?", 0xE9},
        {0xFF, "?", 0xFF},
    };
    for (const Case& c : cases) {
        Job job;
        job.Store(TableOf({Channel(1, 450000000)}));
        job.image->SetU8(kRecords + 8, c.stored);  // transmit
        job.image->SetU8(kRecords + 9, c.stored);  // receive
        const ChannelTable table = job.Load();
        const ChannelEntry& entry = table.At(0);
        EXPECT_EQ(ShortTextOfCodeByte(static_cast<std::uint8_t>(entry.Get(cr::kRxCode))),
                  c.shortText)
            << int{c.stored};
        EXPECT_NE(ListLine(entry).find(std::string(c.shortText) + " "), std::string::npos)
            << ListLine(entry);
        job.Store(table);
        EXPECT_EQ(job.Byte(0, 8), c.written) << int{c.stored};
        EXPECT_EQ(job.Byte(0, 9), c.written) << int{c.stored};
    }
}

TEST(ChannelStoreTest, ANewGroupStoresItsSelcallScanningOff) {
    const ChannelEntry channel = DefaultEntry(450000000);
    const ChannelEntry group = NewGroupOf(channel);
    EXPECT_TRUE(channel.Flag(cr::kSelcall));
    EXPECT_TRUE(group.IsGroup());
    EXPECT_FALSE(group.Flag(cr::kSelcall));
    ChannelEntry numbered = group;
    numbered.SetNumber(5);
    Job job;
    job.Store(TableOf({Channel(1, 450000000), numbered}));
    EXPECT_EQ(job.Byte(0, 1) & 0x08, 0x08);  // the channel: Selcall Enabled
    EXPECT_EQ(job.Byte(1, 1), 0x00);         // the fixed scan group, accepted unchanged
    EXPECT_EQ(job.Byte(1, 0) & 0x08, 0x08);  // its type bit
}

}  // namespace
}  // namespace km::pmr
