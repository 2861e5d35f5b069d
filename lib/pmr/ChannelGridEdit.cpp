#include "pmr/ChannelGridEdit.h"

#include <algorithm>
#include <set>

#include "pmr/CtcssDcs.h"
#include "pmr/PmrCsv.h"

namespace km::pmr {
namespace {

// The exact form: a mark, then per entry its record, the two frequencies (eight bytes each, low
// byte first), the sixteen members and the priority channel (two bytes each).
constexpr std::string_view kExactMark = "KM700CHN";
constexpr std::size_t kExactEntrySize = kRecordSize + 8 + 8 + 2 * kGroupMembers + 2;

void PutNumber(std::string& bytes, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint64_t TakeNumber(std::string_view& bytes, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= std::uint64_t{static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)])}
                 << (8 * i);
    }
    bytes.remove_prefix(static_cast<std::size_t>(size));
    return value;
}

// Tells each text once: a rule that refuses a value for a hundred channels says so once.
class OncePerson : public Person {
  public:
    explicit OncePerson(Person& person) : person_(person) {}
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        if (told_.insert(std::string(text)).second) {
            return person_.Show(kind, text, buttons);
        }
        return buttons == Buttons::Cancel ? Answer::Cancel : Answer::Ok;
    }
    void Beep() override {}

  private:
    Person& person_;
    std::set<std::string> told_;
};

bool Listed(const ChannelTable& table, std::uint16_t number) {
    if (number == kNoMember) {
        return true;
    }
    const auto position = table.Find(number);
    return position && !table.At(*position).IsGroup();
}

}  // namespace

std::vector<std::string> CsvRowsOf(std::span<const ChannelEntry> entries) {
    std::vector<std::string> rows;
    for (const ChannelEntry& entry : entries) {
        rows.push_back(ChannelCsvRow(entry));
    }
    return rows;
}

std::string ExactBytesOf(std::span<const ChannelEntry> entries) {
    std::string bytes(kExactMark);
    for (const ChannelEntry& entry : entries) {
        bytes.append(entry.record.begin(), entry.record.end());
        PutNumber(bytes, static_cast<std::uint64_t>(entry.rxHz), 8);
        PutNumber(bytes, static_cast<std::uint64_t>(entry.txHz), 8);
        for (std::uint16_t member : entry.members) {
            PutNumber(bytes, member, 2);
        }
        PutNumber(bytes, entry.scanPriority, 2);
    }
    return bytes;
}

std::optional<std::vector<ChannelEntry>> EntriesOfExactBytes(std::string_view bytes) {
    if (bytes.substr(0, kExactMark.size()) != kExactMark ||
        (bytes.size() - kExactMark.size()) % kExactEntrySize != 0) {
        return std::nullopt;
    }
    bytes.remove_prefix(kExactMark.size());
    std::vector<ChannelEntry> entries;
    while (!bytes.empty()) {
        ChannelEntry entry;
        std::copy_n(bytes.begin(), kRecordSize, entry.record.begin());
        bytes.remove_prefix(kRecordSize);
        entry.rxHz = static_cast<std::int64_t>(TakeNumber(bytes, 8));
        entry.txHz = static_cast<std::int64_t>(TakeNumber(bytes, 8));
        for (std::uint16_t& member : entry.members) {
            member = static_cast<std::uint16_t>(TakeNumber(bytes, 2));
        }
        entry.scanPriority = static_cast<std::uint16_t>(TakeNumber(bytes, 2));
        entries.push_back(entry);
    }
    return entries;
}

std::vector<ChannelEntry> EntriesOfCsvRows(std::span<const std::string> rows, int radioTypeMask) {
    std::vector<ChannelEntry> entries;
    for (const std::string& row : rows) {
        if (auto entry = ChannelOfCsvRow(row, radioTypeMask)) {
            entries.push_back(*entry);
        }
    }
    return entries;
}

bool GroupMembersPresent(const ChannelTable& table) {
    for (const ChannelEntry& entry : table.Entries()) {
        if (!entry.IsGroup()) {
            continue;
        }
        const bool membersListed =
            std::all_of(entry.members.begin(), entry.members.end(),
                        [&](std::uint16_t member) { return Listed(table, member); });
        if (!membersListed || !Listed(table, entry.scanPriority)) {
            return false;
        }
    }
    return true;
}

PasteResult PasteEntries(ChannelTable& table, std::span<const ChannelEntry> entries) {
    ChannelTable result = table;
    for (const ChannelEntry& entry : entries) {
        const auto existing = result.Find(entry.Number());
        const auto position = existing ? result.Replace(*existing, entry) : result.Add(entry);
        if (!position) {
            // Numbers 0..999, each once: a table that takes them never overflows.
            return {.refusal = kPasteNumberText};
        }
    }
    if (!GroupMembersPresent(result)) {
        return {.refusal = kPasteMembersText};
    }
    table = std::move(result);
    PasteResult pasted;
    for (const ChannelEntry& entry : entries) {
        pasted.positions.push_back(*table.Find(entry.Number()));
    }
    std::sort(pasted.positions.begin(), pasted.positions.end());
    pasted.positions.erase(std::unique(pasted.positions.begin(), pasted.positions.end()),
                           pasted.positions.end());
    return pasted;
}

std::vector<std::string> BulkChoices(BulkColumn column) {
    switch (column) {
        case BulkColumn::TxPower:
            return {"Low", "Medium", "High"};
        case BulkColumn::Bandwidth:
            return {"10  kHz", "12.5 kHz", "20  kHz", "25  kHz"};
        case BulkColumn::RxCode:
        case BulkColumn::TxCode:
            break;
    }
    std::vector<std::string> codes;
    for (const fields::Choice& choice : kCtcssDcsChoices) {
        codes.emplace_back(choice.text);
    }
    return codes;
}

int ApplyBulkEdit(ChannelTable& table, std::span<const std::size_t> positions, BulkColumn column,
                  std::size_t choice, const ChannelEditContext& context, Person& person) {
    OncePerson once(person);
    int changed = 0;
    for (std::size_t position : positions) {
        if (position >= table.Size() || table.At(position).IsGroup()) {
            continue;
        }
        ChannelEntry entry = table.At(position);
        ChannelEditFields fields = FieldsOf(entry);
        switch (column) {
            case BulkColumn::TxPower:
                fields.power = static_cast<Power>(choice);
                PowerChanged(fields, context, once);
                break;
            case BulkColumn::Bandwidth:
                fields.bandwidth = static_cast<Bandwidth>(choice);
                BandwidthChanged(fields, context, once);
                break;
            case BulkColumn::RxCode:
            case BulkColumn::TxCode: {
                const bool transmit = column == BulkColumn::TxCode;
                const auto code = static_cast<std::uint8_t>(kCtcssDcsChoices.at(choice).code);
                (transmit ? fields.txCode : fields.rxCode) = code;
                CodeChanged(fields, transmit, context, once);
                break;
            }
        }
        // Only what the column and its rule touch is read back.
        entry.Set(channel_rows::kRxCode, fields.rxCode);
        entry.Set(channel_rows::kTxCode, fields.txCode);
        SetPower(entry, fields.power);
        SetBandwidth(entry, fields.bandwidth);
        entry.SetFlag(channel_rows::kSelectableCtcss, fields.selectableCtcss);
        entry.SetFlag(channel_rows::kCommunityRepeater, fields.communityRepeater);
        if (entry.record != table.At(position).record) {
            table.Replace(position, entry);
            ++changed;
        }
    }
    return changed;
}

}  // namespace km::pmr
