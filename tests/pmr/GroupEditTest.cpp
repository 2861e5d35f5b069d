// The Group Editor's rules: limits, member checks and the read-back of a group.

#include <gtest/gtest.h>

#include "ScriptedPerson.h"
#include "pmr/GroupEdit.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using km::testing::ScriptedPerson;

ChannelEntry GroupEntry(int number, GroupType type) {
    GroupEditFields fields;
    fields.number = std::to_string(number);
    fields.type = type;
    return ReadBackGroup(fields, 16);
}

ChannelEntry ChannelEntryOf(int number) {
    ChannelEntry entry = DefaultEntry(450000000);
    entry.SetNumber(number);
    return entry;
}

TEST(GroupEditTest, AUserScanGroupBeingEditedDoesNotCountItself) {
    ChannelTable table;
    for (int n = 0; n < 4; ++n) {
        ASSERT_TRUE(table.Add(GroupEntry(n, GroupType::UserScan)));
    }
    ScriptedPerson person;
    GroupEditFields fields = GroupFieldsOf(table.At(2));
    fields.name = "Renamed";
    EXPECT_TRUE(GroupTypeLeft(fields, {table, std::size_t{2}}, person));
    EXPECT_FALSE(GroupTypeLeft(fields, {table, std::nullopt}, person));
    EXPECT_EQ(person.Texts(),
              std::vector<std::string>{
                  "Maximum number of User Scan Groups has already been defined.        \n"
                  "The maximum number of User Scan Groups is 4."});
    fields.type = GroupType::Vote;
    EXPECT_TRUE(GroupTypeLeft(fields, {table, std::nullopt}, person));
}

TEST(GroupEditTest, TheTwoHundredAndFortyNinthOtherGroupIsRefused) {
    ChannelTable table;
    for (int n = 0; n < 248; ++n) {
        ASSERT_TRUE(table.Add(GroupEntry(n, GroupType::Multiax)));
    }
    ScriptedPerson person;
    GroupEditFields fields;
    fields.type = GroupType::FixedScan;
    EXPECT_FALSE(GroupTypeLeft(fields, {table, std::nullopt}, person));
    EXPECT_EQ(person.shown.back().text,
              "The maximum number of Groups has already been defined.        \n"
              "The maximum number of Groups is 248.");
}

TEST(GroupEditTest, MemberCellsTakeOnlyChannelsOtherThanTheGroupItself) {
    ChannelTable table;
    ASSERT_TRUE(table.Add(ChannelEntryOf(5)));
    ASSERT_TRUE(table.Add(GroupEntry(6, GroupType::Vote)));
    ScriptedPerson person;
    GroupEditFields fields;
    fields.number = "7";
    const GroupEditContext context{table, std::nullopt};
    const std::pair<const char*, const char*> cases[] = {
        {"5", nullptr},
        {"", nullptr},
        {"7", "Cannot include current channel in its own group."},
        {"6", "Cannot include a group within a group."},
        {"8",
         "Invalid Channel.                    \n"
         "A Channel must be defined before it can be added to the group."},
        {"1000", "Value out of range.  Must be between 0 and 999"},
    };
    for (const auto& [cell, message] : cases) {
        person.shown.clear();
        fields.members[3] = cell;
        EXPECT_EQ(MemberLeft(fields, 3, context, person), message == nullptr) << cell;
        if (message != nullptr) {
            ASSERT_EQ(person.shown.size(), 1u) << cell;
            EXPECT_EQ(person.shown[0].text, message);
            EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
        }
    }
}

TEST(GroupEditTest, ReadBackClosesUpEmptyCellsAndClearsTheChannelFields) {
    GroupEditFields fields;
    fields.number = "20";
    fields.type = GroupType::FixedScan;
    fields.members[0] = "5";
    fields.members[2] = "7";
    fields.members[15] = "9";  // beyond a scan group's 15 rows
    fields.priority = "5";
    ChannelEntry entry = ReadBackGroup(fields, 16);
    EXPECT_EQ(entry.members[0], 5);
    EXPECT_EQ(entry.members[1], 7);
    for (std::size_t m = 2; m < 16; ++m) {
        EXPECT_EQ(entry.members[m], kNoMember) << m;
    }
    EXPECT_EQ(entry.scanPriority, 5);
    EXPECT_TRUE(entry.Flag(cr::kHidden));
    EXPECT_EQ(entry.rxHz, 0);
    EXPECT_FALSE(entry.Flag(cr::kOpenSelcall));
    EXPECT_EQ(entry.Get(*cr::kDecodes[0]), 0);
    // HM-B and the KP8A/KP8B portables show every group.
    EXPECT_FALSE(ReadBackGroup(fields, 512).Flag(cr::kHidden));
    fields.type = GroupType::Vote;
    entry = ReadBackGroup(fields, 16);
    EXPECT_FALSE(entry.Flag(cr::kHidden));
    EXPECT_EQ(entry.members[2], 9);
    EXPECT_EQ(entry.scanPriority, kNoMember);
}

TEST(GroupEditTest, ShowAsChannelIsTickedAndHiddenWhereTheRadioAlwaysShowsTheGroup) {
    GroupEditFields fields;
    fields.type = GroupType::Vote;
    GroupTypeChosen(fields, 16);
    EXPECT_TRUE(fields.showAsChannel);
    EXPECT_FALSE(ShowAsChannelVisible(GroupType::Vote, 16));
    fields = {};
    fields.type = GroupType::UserScan;
    GroupTypeChosen(fields, 256);
    EXPECT_TRUE(fields.showAsChannel);
    EXPECT_FALSE(ShowAsChannelVisible(GroupType::UserScan, 256));
    EXPECT_TRUE(ShowAsChannelVisible(GroupType::UserScan, 16));
    EXPECT_EQ(MemberRows(GroupType::UserScan), 15);
    EXPECT_EQ(MemberRows(GroupType::Multiax), 16);
}

}  // namespace
}  // namespace km::pmr
