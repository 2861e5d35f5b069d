#pragma once
// The rules of the Group Editor: a scan, vote or multiax group of the channel table with its
// member list, checked as its fields are left, and read back into a table entry on OK.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "pmr/ChannelTable.h"

namespace km::pmr {

struct GroupEditFields {
    std::string number;
    std::string name;
    GroupType type = GroupType::FixedScan;
    bool selcallScan = false;
    bool showAsChannel = false;
    std::string priority;                              // empty: none
    std::array<std::string, kGroupMembers> members{};  // the grid's cells; empty cells are none
    // A name too wide for the display that the user chose to keep: not asked about again.
    std::string wideNameKept;
};

struct GroupEditContext {
    const ChannelTable& table;
    std::optional<std::size_t> replacing;  // position of the entry being edited
    int radioTypeMask = 0;
    bool hmFPlus = false;
};

GroupEditFields GroupFieldsOf(const ChannelEntry& entry);
// The entry of the fields: the members in grid order with the empty cells closed up, every
// channel field cleared, hidden as the group type and the head say.
ChannelEntry ReadBackGroup(const GroupEditFields& fields, int radioTypeMask);

// Rows of the member grid for a type, and whether "Show As Channel" is offered.
int MemberRows(GroupType type);
bool ShowAsChannelVisible(GroupType type, int radioTypeMask);
// A group type chosen: vote and multiax groups, and every group of a portable, show as a channel.
void GroupTypeChosen(GroupEditFields& fields, int radioTypeMask);

// Leaving a field or cell. False: the message has been shown and the focus goes back.
bool GroupNumberLeft(const GroupEditFields& fields, const GroupEditContext& context,
                     Person& person);
bool GroupNameLeft(GroupEditFields& fields, const GroupEditContext& context, Person& person);
bool GroupTypeLeft(const GroupEditFields& fields, const GroupEditContext& context, Person& person);
bool MemberLeft(const GroupEditFields& fields, std::size_t cell, const GroupEditContext& context,
                Person& person);
bool PriorityLeft(const GroupEditFields& fields, Person& person);

// OK: the number must be valid and unique (an empty number would enter the table as 0).
bool FinalGroupCheck(const GroupEditFields& fields, const GroupEditContext& context,
                     Person& person);

// The group limits of the editor.
inline constexpr int kEditorUserScanGroups = 4;
inline constexpr int kEditorOtherGroups = 248;

inline constexpr std::string_view kUserScanLimitText =
    "Maximum number of User Scan Groups has already been defined.        \n"
    "The maximum number of User Scan Groups is 4.";
inline constexpr std::string_view kGroupLimitText =
    "The maximum number of Groups has already been defined.        \n"
    "The maximum number of Groups is 248.";
inline constexpr std::string_view kOwnGroupText =
    "Cannot include current channel in its own group.";
inline constexpr std::string_view kGroupInGroupText = "Cannot include a group within a group.";
inline constexpr std::string_view kMemberNotDefinedText =
    "Invalid Channel.                    \n"
    "A Channel must be defined before it can be added to the group.";

}  // namespace km::pmr
