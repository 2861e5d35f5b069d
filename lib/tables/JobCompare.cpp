#include "tables/JobCompare.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

#include "fields/FieldOps.h"
#include "pmr/ChannelRows.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

using fields::FieldRow;
using fields::FieldTable;
using fields::ImageId;
using fields::RecordTable;
namespace cr = pmr::channel_rows;
namespace pr = pmr::pmr_rows;

// How the records of a table are named: "Phone book entry 5" is record 4 of the phone book.
struct RecordNoun {
    std::string_view records;
    std::string_view noun;
    int first;  // the number of record 0
};
constexpr RecordNoun kRecordNouns[] = {
    {"identities.phonebook.numbers", "Phone book entry", 1},
    {"identities.phonebook.names", "Phone book entry", 1},
    {"identities.groups", "Group", 1},
    {"identities.five_digit", "Five digit entry", 1},
    {"identities.five_digit_11", "Five digit entry", 11},
    {"identities.dispatchers", "Dispatcher", 1},
    {"identities.status_in", "Incoming status", 1},
    {"identities.status_out", "Outgoing status", 1},
    {"selcall.phonebook", "Phone book entry", 1},
    {"selcall.status", "Status", 1},
    {"selcall2.encodes", "Encode", 1},
    {"selcall2.decodes", "Decode", 1},
    {"text.messages", "Message", 1},
    {"text.menus", "Menu text", 1},
    {"text.edit", "Edit function text", 1},
    {"text.ctcss", "CTCSS name", 1},
    {"ui.main_menu", "Main menu item", 1},
    {"ui.setup_menu", "Setup menu item", 1},
    {"ui.call_type_dials", "Call type", 1},
    {"ui.call_type_names", "Call type", 1},
    {"ui.io.lines", "Line", 1},
    {"network_options.acquisition", "Acquisition entry", 1},
    {"network_options.preference", "Preference entry", 1},
};

bool IsChannelRecords(const RecordTable* records) {
    return records == &pr::kRecords[0] || records == &pr::kRecords[1] ||
           records == &pr::kRecords[2];
}

// The zone whose entries `records` holds, if it holds a zone's entries.
std::optional<int> ZoneOfEntries(const RecordTable* records) {
    for (int z = 0; z < pmr::kZones; ++z) {
        if (records == &pr::kRecords[4 + static_cast<std::size_t>(z)]) {
            return z;
        }
    }
    return std::nullopt;
}

std::string TextOf(const FieldRow& row, std::span<const std::uint8_t> bytes, std::size_t offset) {
    const fields::FieldValue value = fields::ReadField(row, bytes, offset);
    const auto* text = std::get_if<std::string>(&value);
    std::string trimmed = text ? *text : std::string();
    while (!trimmed.empty() && trimmed.back() == ' ') {
        trimmed.pop_back();
    }
    return trimmed;
}

std::int64_t NumberOf(const FieldRow& row, std::span<const std::uint8_t> bytes,
                      std::size_t offset) {
    const fields::FieldValue value = fields::ReadField(row, bytes, offset);
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

std::string ThreeDigits(std::int64_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03lld", static_cast<long long>(number));
    return text;
}

// "Zone CITY", or "Zone 3" for a zone without a name in either image.
std::string ZoneName(int zone, std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const std::size_t at =
        pr::ZoneStart(zone) + static_cast<std::size_t>(pmr::zone_rows::kName.at.pmr);
    std::string name = TextOf(pmr::zone_rows::kName, a, at);
    if (name.empty()) {
        name = TextOf(pmr::zone_rows::kName, b, at);
    }
    return "Zone " + (name.empty() ? std::to_string(zone + 1) : name);
}

// The entry that holds a field of a record table, as the user knows it.
std::string EntryName(const PlacedField& field, std::span<const std::uint8_t> a,
                      std::span<const std::uint8_t> b) {
    const int index = static_cast<int>(field.record);
    if (field.records == &pr::kRecords[3]) {
        return ZoneName(index, a, b);
    }
    if (const auto zone = ZoneOfEntries(field.records)) {
        return ZoneName(*zone, a, b) + " entry " + std::to_string(index + 1);
    }
    for (const RecordNoun& noun : kRecordNouns) {
        if (noun.records == field.records->id) {
            return std::string(noun.noun) + " " + std::to_string(index + noun.first);
        }
    }
    return "Entry " + std::to_string(index + 1);
}

std::string FormName(const FieldTable& table, ImageId image, int selector) {
    std::string form(table.form);
    if (image == ImageId::Trunk && PerNetwork(table)) {
        form += selector == 0 ? ", Network 1" : ", Network 2";
    }
    return form;
}

// The records each table has in use in an image, per network slot.
using RecordKey = std::pair<const RecordTable*, int>;
std::map<RecordKey, std::size_t> RecordsInUse(ImageId image, std::span<const std::uint8_t> bytes) {
    std::map<RecordKey, std::size_t> used;
    ForEachField(image, bytes, Records::InUse, [&](const PlacedField& field) {
        if (field.records != nullptr) {
            std::size_t& count = used[{field.records, field.selector}];
            count = std::max(count, field.record + 1);
        }
    });
    return used;
}

// ---- The PMR channel table: channels and groups by channel number ----

struct ChannelEntry {
    std::size_t record;  // byte offset of the 32-byte record
    bool group;
    std::string name;
    int groupIndex;  // the member list of a stored group
};

// The entries in use, by channel number (and, for a number held twice, by occurrence).
std::map<std::pair<std::int64_t, int>, ChannelEntry> ChannelsByNumber(
    std::span<const std::uint8_t> bytes) {
    std::map<std::pair<std::int64_t, int>, ChannelEntry> entries;
    const std::size_t count = static_cast<std::size_t>(std::clamp<std::int64_t>(
        NumberOf(pr::kChannelCountRow, bytes, pmr::kChannelCount), 0, pr::kChannels.capacity));
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t record =
            static_cast<std::size_t>(pr::kChannels.base.pmr) + r * pr::kChannels.stride;
        const auto column = [&](const FieldRow& row) {
            return record + static_cast<std::size_t>(row.at.pmr);
        };
        const std::int64_t number = NumberOf(cr::kNumber, bytes, column(cr::kNumber));
        const bool group = NumberOf(cr::kIsGroup, bytes, column(cr::kIsGroup)) != 0;
        int occurrence = 0;
        while (entries.contains({number, occurrence})) {
            ++occurrence;
        }
        entries[{number, occurrence}] = {
            record, group, TextOf(cr::kName, bytes, column(cr::kName)),
            static_cast<int>(NumberOf(cr::kEncode, bytes, column(cr::kEncode)))};
    }
    return entries;
}

std::string ChannelEntryName(std::int64_t number, const ChannelEntry& entry) {
    std::string name = (entry.group ? "Group " : "Channel ") + ThreeDigits(number);
    return entry.name.empty() ? name : name + " " + entry.name;
}

void CompareChannels(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                     std::vector<ComparedField>& out) {
    const auto before = ChannelsByNumber(a);
    const auto after = ChannelsByNumber(b);
    const std::string form(pr::kTable.form);
    auto compareRows = [&](std::span<const FieldRow> rows, std::size_t atA, std::size_t atB,
                           const std::string& entry, const std::string& idBase, bool group) {
        for (const FieldRow& row : rows) {
            const std::size_t offset = static_cast<std::size_t>(row.at.pmr);
            auto shown = ShownDifference(row, a, atA + offset, b, atB + offset);
            if (!shown) {
                continue;
            }
            // A group's encode byte is the index of its member list, given out on every store.
            const bool derived = row.derived || (group && &row == &cr::kEncode);
            out.push_back({idBase + std::string(row.id), form, entry, std::string(row.caption),
                           std::move(shown->before), std::move(shown->after), derived});
        }
    };
    std::map<std::pair<std::int64_t, int>, int> seen;
    for (const auto& [key, entry] : before) {
        seen[key] = 1;
    }
    for (const auto& [key, entry] : after) {
        seen[key] |= 2;
    }
    for (const auto& [key, where] : seen) {
        const std::int64_t number = key.first;
        const std::string id = "pmr.channels[" + std::to_string(number) + "].";
        if (where != 3) {
            const ChannelEntry& entry = where == 1 ? before.at(key) : after.at(key);
            out.push_back({id + "entry", form, ChannelEntryName(number, entry), kEntryCaption,
                           where == 1 ? kEntryPresent : kEntryAbsent,
                           where == 1 ? kEntryAbsent : kEntryPresent, false});
            continue;
        }
        const ChannelEntry& old = before.at(key);
        const ChannelEntry& now = after.at(key);
        const std::string name = ChannelEntryName(number, old);
        compareRows(cr::kColumns, old.record, now.record, name, id, old.group || now.group);
        if (old.group && now.group) {
            compareRows(cr::kMemberColumns, pmr::GroupRecordOffset(old.groupIndex),
                        pmr::GroupRecordOffset(now.groupIndex), name, id, true);
        }
    }
}

}  // namespace

JobComparison CompareJobs(ImageId image, std::span<const std::uint8_t> a,
                          std::span<const std::uint8_t> b) {
    JobComparison comparison;
    std::vector<bool> named(std::min(a.size(), b.size()), false);
    std::map<RecordKey, std::size_t> used = RecordsInUse(image, a);
    for (const auto& [key, count] : RecordsInUse(image, b)) {
        used[key] = std::max(used[key], count);
    }
    ForEachField(image, a, Records::All, [&](const PlacedField& field) {
        const std::size_t end =
            std::min(field.offset + fields::ByteWidth(*field.row), named.size());
        for (std::size_t i = field.offset; i < end; ++i) {
            named[i] = true;
        }
        if (field.records != nullptr && (IsChannelRecords(field.records) ||
                                         field.record >= used[{field.records, field.selector}])) {
            return;
        }
        auto shown = ShownDifference(*field.row, a, field.offset, b, field.offset);
        if (!shown) {
            return;
        }
        comparison.fields.push_back(
            {field.id, FormName(*field.table, image, field.selector),
             field.records != nullptr ? EntryName(field, a, b) : std::string(),
             std::string(field.row->caption), std::move(shown->before), std::move(shown->after),
             field.row->derived});
    });
    if (image == ImageId::Pmr) {
        CompareChannels(a, b, comparison.fields);
    }
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (named[i] || a[i] == b[i]) {
            continue;
        }
        if (!comparison.unnamedBytes.empty() && comparison.unnamedBytes.back().end == i) {
            ++comparison.unnamedBytes.back().end;
        } else {
            comparison.unnamedBytes.push_back({i, i + 1});
        }
    }
    return comparison;
}

}  // namespace km::tables
