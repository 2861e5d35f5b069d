// Channels copied, pasted and edited in bulk: the clipboard's exact form gives back the entries
// as they were, a paste is all or nothing, a bulk edit changes channels only and keeps the
// Channel Editor's rules.

#include <gtest/gtest.h>

#include <functional>

#include "ScriptedPerson.h"
#include "pmr/ChannelGridEdit.h"
#include "pmr/ChannelRows.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using km::testing::ScriptedPerson;

ChannelEntry Channel(int number, std::int64_t rxHz) {
    ChannelEntry entry = DefaultEntry(rxHz);
    entry.SetNumber(number);
    entry.SetName("Ch" + std::to_string(number));
    return entry;
}

ChannelEntry Group(int number, std::initializer_list<std::uint16_t> members) {
    ChannelEntry entry = DefaultEntry(0);
    entry.SetNumber(number);
    entry.SetFlag(cr::kIsGroup, true);
    SetGroupType(entry, GroupType::Vote);
    std::copy(members.begin(), members.end(), entry.members.begin());
    return entry;
}

ChannelTable TableOf(std::initializer_list<ChannelEntry> entries) {
    ChannelTable table;
    for (const ChannelEntry& entry : entries) {
        EXPECT_TRUE(table.Add(entry));
    }
    return table;
}

std::vector<std::string> Lines(const ChannelTable& table) {
    std::vector<std::string> lines;
    for (const ChannelEntry& entry : table.Entries()) {
        lines.push_back(ListLine(entry));
    }
    return lines;
}

ChannelEditContext ContextOf(const ChannelTable& table, int country = 0) {
    return {table, std::nullopt, {400000000, 480000000}, country, 16, false};
}

TEST(ChannelClipboard, TheExactFormGivesBackEveryByteOfChannelsAndGroups) {
    ChannelEntry odd = Channel(7, 851012500);
    odd.record[31] = 0xA5;  // a bit no column names
    odd.txHz = 0;
    const std::vector<ChannelEntry> entries = {odd, Group(12, {7, 3})};
    const auto back = EntriesOfExactBytes(ExactBytesOf(entries));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ((*back)[i].record, entries[i].record);
        EXPECT_EQ((*back)[i].rxHz, entries[i].rxHz);
        EXPECT_EQ((*back)[i].txHz, entries[i].txHz);
        EXPECT_EQ((*back)[i].members, entries[i].members);
        EXPECT_EQ((*back)[i].scanPriority, entries[i].scanPriority);
    }
}

TEST(ChannelClipboard, BytesThatAreNoListOfEntriesAreRefused) {
    const std::string good = ExactBytesOf(std::vector<ChannelEntry>{Channel(1, 450000000)});
    const std::string cases[] = {"", "KM700CH", "XM700CHN" + good.substr(8),
                                 good.substr(0, good.size() - 1), good + "x"};
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(EntriesOfExactBytes(bytes)) << bytes.size();
    }
    EXPECT_TRUE(EntriesOfExactBytes("KM700CHN"));  // no entries
}

TEST(ChannelClipboard, CsvRowsReadBackAsTheImportReadsThem) {
    const std::vector<ChannelEntry> entries = {Channel(3, 450012500), Channel(4, 451000000)};
    const std::vector<std::string> rows = CsvRowsOf(entries);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 27), "3,Ch3,Chan,450.01250,450.01");
    EXPECT_EQ(rows[0].back(), ',');
    std::vector<std::string> withJunk = rows;
    withJunk.push_back("Channel Number,Channel Name");  // a header line from a file
    const auto back = EntriesOfCsvRows(withJunk, 16);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(ListLine(back[0]), ListLine(entries[0]));
    EXPECT_EQ(ListLine(back[1]), ListLine(entries[1]));
}

TEST(ChannelPaste, EntriesReplaceTheirNumbersAndJoinTheTableInOrder) {
    ChannelTable table = TableOf({Channel(1, 450000000), Channel(5, 450500000)});
    ChannelEntry replacement = Channel(5, 460000000);
    replacement.SetName("New5");
    const std::vector<ChannelEntry> pasted = {replacement, Channel(3, 455000000), Group(9, {1, 3})};
    const PasteResult result = PasteEntries(table, pasted);
    EXPECT_FALSE(result.refusal);
    EXPECT_EQ(result.positions, (std::vector<std::size_t>{1, 2, 3}));
    ASSERT_EQ(table.Size(), 4u);
    EXPECT_EQ(table.At(2).Name(), "New5");
    EXPECT_EQ(table.At(2).rxHz, 460000000);
    EXPECT_EQ(table.At(1).Number(), 3);
}

TEST(ChannelPaste, ARefusedPasteLeavesTheTableAsItWas) {
    struct Case {
        std::vector<ChannelEntry> entries;
        std::string_view refusal;
    };
    const Case cases[] = {
        {{Group(4, {1, 8})}, kPasteMembersText},  // channel 8 is not in the table
        {{Group(4, {2})}, kPasteMembersText},     // a group as a member
        {{Group(1, {})}, kPasteMembersText},      // a member turned into a group
        {{Channel(3, 450000000), Channel(1000, 450000000)}, kPasteNumberText},
    };
    for (const Case& c : cases) {
        ChannelTable table = TableOf({Channel(1, 450000000), Group(2, {1})});
        const auto before = Lines(table);
        const PasteResult result = PasteEntries(table, c.entries);
        ASSERT_TRUE(result.refusal);
        EXPECT_EQ(*result.refusal, c.refusal);
        EXPECT_EQ(Lines(table), before);
    }
}

TEST(ChannelPaste, AFullTableTakesEntriesOfItsNumbersAndTheLaterOfTwoRowsWins) {
    ChannelTable table;
    for (int n = 0; n < 1000; ++n) {
        table.Add(Channel(n, 450000000));
    }
    ChannelEntry first = Channel(999, 451000000);
    ChannelEntry second = Channel(999, 452000000);
    const PasteResult result = PasteEntries(table, std::vector<ChannelEntry>{first, second});
    EXPECT_FALSE(result.refusal);
    EXPECT_EQ(result.positions, (std::vector<std::size_t>{999}));
    EXPECT_EQ(table.Size(), 1000u);
    EXPECT_EQ(table.At(999).rxHz, 452000000);
}

TEST(ChannelBulkEdit, AHundredChannelsGetOnePowerAndGroupsAreLeftAlone) {
    ChannelTable table;
    for (int n = 0; n < 100; ++n) {
        table.Add(Channel(n, 450000000 + 12500LL * n));
    }
    table.Add(Group(100, {1, 2}));
    std::vector<std::size_t> all;
    for (std::size_t p = 0; p < table.Size(); ++p) {
        all.push_back(p);
    }
    ScriptedPerson person;
    const ChannelTable before = table;
    EXPECT_EQ(ApplyBulkEdit(table, all, BulkColumn::TxPower, 2, ContextOf(before), person), 100);
    for (std::size_t p = 0; p < 100; ++p) {
        EXPECT_EQ(PowerOf(table.At(p)), Power::High);
        EXPECT_EQ(table.At(p).Name(), before.At(p).Name());
        EXPECT_EQ(table.At(p).rxHz, before.At(p).rxHz);
    }
    EXPECT_EQ(table.At(100).record, before.At(100).record);
    EXPECT_TRUE(person.Texts().empty());
}

TEST(ChannelBulkEdit, EachColumnSetsItsBitsAndTheRulesHold) {
    struct Case {
        BulkColumn column;
        std::size_t choice;
        int country;
        std::int64_t rxHz;
        std::function<bool(const ChannelEntry&)> holds;
        std::size_t messages;
    };
    const Case cases[] = {
        {BulkColumn::Bandwidth, 3, 0, 450000000,
         [](const ChannelEntry& e) { return BandwidthOf(e) == Bandwidth::k25; }, 0},
        {BulkColumn::TxCode, 1, 0, 450000000,
         [](const ChannelEntry& e) { return e.Get(cr::kTxCode) == kCtcssDcsChoices[1].code; }, 0},
        {BulkColumn::RxCode, 0, 0, 450000000,
         [](const ChannelEntry& e) { return e.Get(cr::kRxCode) == 0; }, 0},
        // Australian CB channels: Medium power and a wide channel are refused, told once.
        {BulkColumn::TxPower, 1, kCountryAustralia, 476425000,
         [](const ChannelEntry& e) { return PowerOf(e) == Power::Low; }, 1},
        {BulkColumn::Bandwidth, 3, kCountryAustralia, 476425000,
         [](const ChannelEntry& e) { return BandwidthOf(e) == Bandwidth::k12_5; }, 1},
    };
    for (const Case& c : cases) {
        ChannelTable table = TableOf({Channel(1, c.rxHz), Channel(2, c.rxHz + 25000)});
        const ChannelTable context = table;
        ScriptedPerson person;
        const std::vector<std::size_t> both = {0, 1};
        ApplyBulkEdit(table, both, c.column, c.choice, ContextOf(context, c.country), person);
        EXPECT_TRUE(c.holds(table.At(0)));
        EXPECT_TRUE(c.holds(table.At(1)));
        EXPECT_EQ(person.Texts().size(), c.messages);
    }
}

}  // namespace
}  // namespace km::pmr
