#include "pmr/GroupEdit.h"

#include "config/FieldRoutines.h"
#include "pmr/ChannelEdit.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;

bool IsPortable(int radioTypeMask) {
    return radioTypeMask == 256 || radioTypeMask == 512 || radioTypeMask == 1024;
}

bool IsScan(GroupType type) {
    return type == GroupType::UserScan || type == GroupType::FixedScan;
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string NumberText(std::uint16_t number) {
    return number == kNoMember ? std::string() : std::to_string(number);
}

std::uint16_t NumberOfText(std::string_view text) {
    return Blank(text) ? kNoMember : static_cast<std::uint16_t>(IntegerOfField(text));
}

// The entries the limits count: groups other than the one being edited.
int GroupsOf(const GroupEditContext& context, bool userScan) {
    int count = 0;
    for (std::size_t i = 0; i < context.table.Size(); ++i) {
        const ChannelEntry& entry = context.table.At(i);
        if (i != context.replacing && entry.IsGroup() &&
            (GroupTypeOf(entry) == GroupType::UserScan) == userScan) {
            ++count;
        }
    }
    return count;
}

}  // namespace

GroupEditFields GroupFieldsOf(const ChannelEntry& entry) {
    GroupEditFields fields;
    fields.number = std::to_string(entry.Number());
    fields.name = entry.Name();
    fields.type = GroupTypeOf(entry);
    fields.selcallScan = entry.Flag(cr::kSelcall);
    fields.showAsChannel = entry.Flag(cr::kShowAsChannel);
    fields.priority = NumberText(entry.scanPriority);
    for (std::size_t m = 0; m < fields.members.size(); ++m) {
        fields.members[m] = NumberText(entry.members[m]);
    }
    return fields;
}

ChannelEntry ReadBackGroup(const GroupEditFields& fields, int radioTypeMask) {
    ChannelEntry entry;
    entry.SetFlag(cr::kIsGroup, true);
    entry.SetNumber(static_cast<int>(IntegerOfField(fields.number)));
    entry.SetName(fields.name);
    SetGroupType(entry, fields.type);
    entry.SetFlag(cr::kSelcall, fields.selcallScan);
    entry.SetFlag(cr::kShowAsChannel, fields.showAsChannel);
    const bool alwaysShown = radioTypeMask == 2 || radioTypeMask == 512 || radioTypeMask == 1024;
    entry.SetFlag(cr::kHidden, IsScan(fields.type) && !alwaysShown);
    entry.scanPriority = IsScan(fields.type) ? NumberOfText(fields.priority) : kNoMember;
    std::size_t next = 0;
    for (int row = 0; row < MemberRows(fields.type); ++row) {
        const std::uint16_t member = NumberOfText(fields.members[static_cast<std::size_t>(row)]);
        if (member != kNoMember) {
            entry.members[next++] = member;
        }
    }
    return entry;
}

int MemberRows(GroupType type) {
    return MemberCapacity(type);
}

bool ShowAsChannelVisible(GroupType type, int radioTypeMask) {
    return IsScan(type) && !IsPortable(radioTypeMask);
}

void GroupTypeChosen(GroupEditFields& fields, int radioTypeMask) {
    if (!IsScan(fields.type) || IsPortable(radioTypeMask)) {
        fields.showAsChannel = true;
    }
}

bool GroupNumberLeft(const GroupEditFields& fields, const GroupEditContext& context,
                     Person& person) {
    if (!RangeCheck(fields.number, 0, kHighestNumber, person)) {
        return false;
    }
    if (!Blank(fields.number) &&
        context.table.NumberTaken(static_cast<int>(IntegerOfField(fields.number)),
                                  context.replacing)) {
        person.Error(kDuplicateNumberText);
        return false;
    }
    return true;
}

bool GroupNameLeft(GroupEditFields& fields, const GroupEditContext& context, Person& person) {
    constexpr int kHmFMask = 16;
    return context.radioTypeMask != kHmFMask ||
           LeaveDisplayName(fields.name, fields.wideNameKept, context.hmFPlus, person);
}

bool GroupTypeLeft(const GroupEditFields& fields, const GroupEditContext& context, Person& person) {
    if (fields.type == GroupType::UserScan) {
        if (GroupsOf(context, true) >= kEditorUserScanGroups) {
            person.Error(kUserScanLimitText);
            return false;
        }
    } else if (GroupsOf(context, false) >= kEditorOtherGroups) {
        person.Error(kGroupLimitText);
        return false;
    }
    return true;
}

bool MemberLeft(const GroupEditFields& fields, std::size_t cell, const GroupEditContext& context,
                Person& person) {
    const std::string& text = fields.members.at(cell);
    if (Blank(text)) {
        return true;
    }
    if (!RangeCheck(text, 0, kHighestNumber, person)) {
        return false;
    }
    const auto number = static_cast<int>(IntegerOfField(text));
    if (!Blank(fields.number) && number == IntegerOfField(fields.number)) {
        person.Error(kOwnGroupText);
        return false;
    }
    for (std::size_t i = 0; i < context.table.Size(); ++i) {
        const ChannelEntry& entry = context.table.At(i);
        if (i == context.replacing || entry.Number() != number) {
            continue;
        }
        if (entry.IsGroup()) {
            person.Error(kGroupInGroupText);
            return false;
        }
        return true;
    }
    person.Error(kMemberNotDefinedText);
    return false;
}

bool PriorityLeft(const GroupEditFields& fields, Person& person) {
    return RangeCheck(fields.priority, 0, kHighestNumber, person);
}

bool FinalGroupCheck(const GroupEditFields& fields, const GroupEditContext& context,
                     Person& person) {
    if (Blank(fields.number)) {
        person.Error(kNoNumberText);
        return false;
    }
    return GroupNumberLeft(fields, context, person) && PriorityLeft(fields, person);
}

}  // namespace km::pmr
