#include "pmr/ChannelSheet.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "config/FieldRoutines.h"
#include "config/RadioTypes.h"
#include "core/Cp1252.h"
#include "core/Series.h"
#include "core/Strings.h"
#include "pmr/ChannelEdit.h"
#include "pmr/CtcssDcs.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using SC = SheetColumn;

constexpr std::array<SheetColumnInfo, kSheetColumnCount> kColumnInfo = {{
    {SC::Number, "Channel Number", CellKind::Number},
    {SC::Name, "Channel Name", CellKind::Text},
    {SC::Kind, "Chan Or Group", CellKind::Fixed},
    {SC::Rx, "Rx Freq", CellKind::Frequency},
    {SC::Tx, "Tx Freq", CellKind::Frequency},
    {SC::Power, "Tx Power", CellKind::List},
    {SC::Hidden, "Hidden Channel", CellKind::List},
    {SC::Repeater, "Com Repeater", CellKind::List},
    {SC::Bandwidth, "Chan Bndwdth", CellKind::List},
    {SC::CodeKind, "CTCSS DCS", CellKind::Fixed},
    {SC::RxCode, "Rx Tone", CellKind::List},
    {SC::TxCode, "Tx Tone", CellKind::List},
    {SC::SelectableCtcss, "Select CTCSS", CellKind::List},
    {SC::RxNormalDcs, "Rx Normal DCS", CellKind::Fixed},
    {SC::RxInvertedDcs, "Rx Inverted DCS", CellKind::Fixed},
    {SC::TxInvertedDcs, "Tx Inverted DCS", CellKind::List},
    {SC::Selcall, "Secall Enabled", CellKind::List},
    {SC::OpenSelcall, "Open Selcall", CellKind::List},
    {SC::RxLockout, "Rx Lockout", CellKind::List},
    {SC::TxLockout, "Tx Lockout", CellKind::List},
    {SC::Encode, "Selcall Encode", CellKind::Number},
    {SC::Decode1, "Active Decode1", CellKind::List},
    {SC::Decode2, "Active Decode2", CellKind::List},
    {SC::Decode3, "Active Decode3", CellKind::List},
    {SC::Decode4, "Active Decode4", CellKind::List},
    {SC::Decode5, "Active Decode5", CellKind::List},
    {SC::Decode6, "Active Decode6", CellKind::List},
    {SC::Decode7, "Active Decode7", CellKind::List},
    {SC::Decode8, "Active Decode8", CellKind::List},
    {SC::Economiser, "Economiser", CellKind::List},
    {SC::OverrideXtal, "OverrideXtal", CellKind::List},
    {SC::PttOffEncode, "PttOffEnc", CellKind::Number},
    {SC::NoFfskAni, "NoFfskANI", CellKind::List},
}};
static_assert([] {
    for (int i = 0; i < kSheetColumnCount; ++i) {
        if (static_cast<int>(kColumnInfo[static_cast<std::size_t>(i)].column) != i) {
            return false;
        }
    }
    return true;
}());

constexpr std::array<std::string_view, 3> kPowerTexts = {"Low", "Med", "Hi"};
constexpr std::array<std::string_view, 4> kBandwidthTexts = {"10.0", "12.5", "20.0", "25.0"};
constexpr std::array<std::string_view, 2> kYesNo = {"Y", "N"};
constexpr std::array<std::string_view, 2> kDecodeTexts = {"1", "0"};
constexpr int kNameCharacters = 12;

bool IsDecode(SC column) {
    return column >= SC::Decode1 && column <= SC::Decode8;
}

const fields::FieldRow& DecodeRow(SC column) {
    return *cr::kDecodes.at(static_cast<std::size_t>(column) -
                            static_cast<std::size_t>(SC::Decode1));
}

// The record's flag a plain flag column stands for (one the editor's rules do not look at).
const fields::FieldRow* PlainFlag(SC column) {
    if (IsDecode(column)) {
        return &DecodeRow(column);
    }
    switch (column) {
        case SC::Hidden:
            return &cr::kHidden;
        case SC::TxInvertedDcs:
            return &cr::kTxInvertedDcs;
        case SC::TxLockout:
            return &cr::kTxLockout;
        case SC::Economiser:
            return &cr::kEconomiser;
        case SC::OverrideXtal:
            return &cr::kOverrideXtal;
        case SC::NoFfskAni:
            return &cr::kNoFfskAni;
        default:
            return nullptr;
    }
}

// The flag of any Y/N column, the ones with rules included.
const fields::FieldRow* FlagRow(SC column) {
    if (const fields::FieldRow* plain = PlainFlag(column)) {
        return plain;
    }
    switch (column) {
        case SC::Repeater:
            return &cr::kCommunityRepeater;
        case SC::SelectableCtcss:
            return &cr::kSelectableCtcss;
        case SC::RxNormalDcs:
            return &cr::kRxNormalDcs;
        case SC::RxInvertedDcs:
            return &cr::kRxInvertedDcs;
        case SC::Selcall:
            return &cr::kSelcall;
        case SC::OpenSelcall:
            return &cr::kOpenSelcall;
        case SC::RxLockout:
            return &cr::kRxLockout;
        default:
            return nullptr;
    }
}

std::string_view FlagText(SC column, bool on) {
    const auto& texts = IsDecode(column) ? kDecodeTexts : kYesNo;
    return texts[on ? 0 : 1];
}

std::uint8_t CodeByte(const ChannelEntry& entry, const fields::FieldRow& column) {
    return static_cast<std::uint8_t>(entry.Get(column));
}

// The list's short form of a code; no code is an empty cell.
std::string CodeText(std::uint8_t code) {
    return code == 0 ? std::string() : std::string(ShortTextOfCodeByte(code));
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// "%d" and "%s" of a pattern replaced in turn.
std::string Formatted(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string out(pattern);
    std::size_t from = 0;
    for (const std::string& value : values) {
        const std::size_t d = out.find("%d", from);
        const std::size_t s = out.find("%s", from);
        const std::size_t at = std::min(d, s);
        if (at == std::string::npos) {
            break;
        }
        out.replace(at, 2, value);
        from = at + value.size();
    }
    return out;
}

std::string NotAValue(std::string_view text, SC column) {
    return Formatted(kNotAValueText, {std::string(text), std::string(ColumnInfo(column).title)});
}

// The code byte a tone cell names: the list's short form, a tone in hertz ("67", "67.0") or a
// DCS code ("023", "DCS 023"); empty is none.
std::optional<std::uint8_t> CodeOfCell(std::string_view text) {
    const std::string cell = Upper(Trim(text, " "));
    if (cell.empty()) {
        return 0;
    }
    for (const fields::Choice& choice : kCtcssDcsChoices) {
        const auto code = static_cast<std::uint8_t>(choice.code);
        if (code != 0 &&
            (Trim(ShortTextOfCodeByte(code), " ") == cell || Upper(choice.text) == cell)) {
            return code;
        }
    }
    const std::string dcs =
        cell.rfind("DCS", 0) == 0 ? std::string(Trim(cell.substr(3), " ")) : cell;
    if (auto code = DcsCodeByte(dcs)) {
        return code;
    }
    const auto millionths = ParseMillionths(cell);
    if (millionths && *millionths % 100000 == 0) {
        return ToneCodeByte(static_cast<int>(*millionths / 100000));
    }
    return std::nullopt;
}

// The index of a list's text (ignoring case; a unique beginning will do, as typed in a cell).
template <std::size_t N>
std::optional<std::size_t> IndexOfText(const std::array<std::string_view, N>& texts,
                                       std::string_view text) {
    const std::string cell = Upper(Trim(text, " "));
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < N; ++i) {
        const std::string candidate = Upper(texts[i]);
        if (candidate == cell) {
            return i;
        }
        if (!cell.empty() && candidate.rfind(cell, 0) == 0) {
            if (found) {
                return std::nullopt;
            }
            found = i;
        }
    }
    return found;
}

std::optional<Power> PowerOfCell(std::string_view text) {
    if (Trim(text, " ").empty()) {
        return Power::Low;
    }
    // The Channel Editor's words are taken too.
    const std::string cell = Upper(Trim(text, " "));
    if (cell == "HIGH") {
        return Power::High;
    }
    if (cell == "MEDIUM") {
        return Power::Medium;
    }
    const auto index = IndexOfText(kPowerTexts, text);
    return index ? std::optional<Power>(static_cast<Power>(*index)) : std::nullopt;
}

std::optional<Bandwidth> BandwidthOfCell(std::string_view text) {
    std::string cell(Trim(text, " "));
    if (cell.size() > 3 && Upper(cell.substr(cell.size() - 3)) == "KHZ") {
        cell = std::string(Trim(cell.substr(0, cell.size() - 3), " "));
    }
    const auto millionths = ParseMillionths(cell);
    for (std::size_t i = 0; millionths && i < kBandwidthTexts.size(); ++i) {
        if (ParseMillionths(kBandwidthTexts[i]) == millionths) {
            return static_cast<Bandwidth>(i);
        }
    }
    return std::nullopt;
}

std::optional<bool> FlagOfCell(SC column, std::string_view text) {
    const std::string cell = Upper(Trim(text, " "));
    if (cell.empty()) {
        return false;
    }
    if (cell == FlagText(column, true) || cell == "Y" || cell == "YES" || cell == "1") {
        return true;
    }
    if (cell == FlagText(column, false) || cell == "N" || cell == "NO" || cell == "0") {
        return false;
    }
    return std::nullopt;
}

// A name the record can hold as typed: at most 12 characters of Windows-1252, none a control.
bool NameFits(std::string_view utf8) {
    const std::string bytes = Utf8ToCp1252(utf8);
    return bytes.size() <= kNameCharacters && Cp1252ToUtf8(bytes) == utf8 &&
           std::none_of(bytes.begin(), bytes.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// Tells nothing: keeps every box the rules show, for the sheet to name beside the cell.
class Notes : public Person {
  public:
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        shown.push_back({kind, std::string(text)});
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No
                                                                            : Answer::Ok;
    }
    void Beep() override {}

    // The reason of a refusal: the last error shown, or else the last box.
    std::optional<std::string> Reason() const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
            if (it->kind == BoxKind::Error) {
                return it->text;
            }
        }
        return shown.empty() ? std::nullopt : std::optional<std::string>(shown.back().text);
    }

    struct Box {
        BoxKind kind;
        std::string text;
    };
    std::vector<Box> shown;
};

bool SameEntry(const ChannelEntry& a, const ChannelEntry& b) {
    return a.record == b.record && a.rxHz == b.rxHz && a.txHz == b.txHz && a.members == b.members &&
           a.scanPriority == b.scanPriority;
}

ChannelEditContext EditContextOf(const ChannelTable& others, const SheetContext& context) {
    return {others,         std::nullopt, context.band, context.countryCode, context.radioTypeMask,
            context.hmFPlus};
}

// What one cell edit gives: the entry as the editor would leave it, or why it is refused.
struct Outcome {
    std::optional<ChannelEntry> entry;
    std::string refusal;
    std::vector<std::string> notes;
};

Outcome Refused(std::string reason) {
    Outcome outcome;
    outcome.refusal = std::move(reason);
    return outcome;
}

// The text of the cell as the value typed would show it, or nullopt for text that is no value of
// the column. It is what the cell must show after the rules, or they refused the value.
std::optional<std::string> CanonicalText(SC column, std::string_view text) {
    switch (ColumnInfo(column).kind) {
        case CellKind::Number: {
            const std::string digits(Trim(text, " "));
            if (digits.empty()) {
                return column == SC::Number ? std::optional<std::string>("") : "0";
            }
            if (!AllDigits(digits) || digits.size() > 4) {
                return std::nullopt;
            }
            return std::to_string(std::stoi(digits));
        }
        case CellKind::Text:
            return std::string(text);
        case CellKind::Frequency: {
            if (Trim(text, " ").empty()) {
                return std::string();
            }
            const auto hz = ParseMegahertz(text);
            return hz ? std::optional<std::string>(FormatMegahertz(*hz)) : std::nullopt;
        }
        case CellKind::Fixed:
            return std::nullopt;
        case CellKind::List:
            break;
    }
    if (column == SC::Power) {
        const auto power = PowerOfCell(text);
        return power ? std::optional<std::string>(kPowerTexts[static_cast<std::size_t>(*power)])
                     : std::nullopt;
    }
    if (column == SC::Bandwidth) {
        const auto bandwidth = BandwidthOfCell(text);
        return bandwidth ? std::optional<std::string>(
                               kBandwidthTexts[static_cast<std::size_t>(*bandwidth)])
                         : std::nullopt;
    }
    if (column == SC::RxCode || column == SC::TxCode) {
        const auto code = CodeOfCell(text);
        return code ? std::optional<std::string>(CodeText(*code)) : std::nullopt;
    }
    const auto flag = FlagOfCell(column, text);
    return flag ? std::optional<std::string>(FlagText(column, *flag)) : std::nullopt;
}

// The number or the name of a group: the other cells of a group are not edited in the sheet.
Outcome EditGroup(const ChannelEntry& old, SC column, const std::string& text,
                  const ChannelEditContext& edit) {
    Notes notes;
    ChannelEditFields fields = FieldsOf(old);
    ChannelEntry entry = old;
    if (column == SC::Number) {
        fields.number = text;
        if (!NumberLeft(fields, edit, notes)) {
            return Refused(notes.Reason().value_or(""));
        }
        entry.SetNumber(std::stoi(text));
    } else {
        fields.name = text;
        if (!NameLeft(fields, edit, notes)) {
            return Refused(notes.Reason().value_or(""));
        }
        entry.SetName(text);
    }
    return {.entry = entry};
}

// Puts the value of the cell into the fields or the record, and runs the rule the editor runs
// when that control changes. False: the rule refused the value.
bool ApplyRule(SC column, const std::string& text, ChannelEntry& entry, ChannelEditFields& fields,
               const ChannelEditContext& edit, Person& notes) {
    switch (column) {
        case SC::Number:
            fields.number = text;
            return NumberLeft(fields, edit, notes);
        case SC::Name:
            fields.name = text;
            return NameLeft(fields, edit, notes);
        case SC::Rx:
        case SC::Tx: {
            const bool transmit = column == SC::Tx;
            (transmit ? fields.tx : fields.rx) = text;
            if (transmit) {
                fields.txDisabled = text.empty();
            }
            return transmit && fields.txDisabled ? true
                                                 : FrequencyLeft(fields, transmit, edit, notes);
        }
        case SC::Power:
            fields.power = *PowerOfCell(text);
            PowerChanged(fields, edit, notes);
            return true;
        case SC::Bandwidth:
            fields.bandwidth = *BandwidthOfCell(text);
            BandwidthChanged(fields, edit, notes);
            return true;
        case SC::RxCode:
        case SC::TxCode: {
            const bool transmit = column == SC::TxCode;
            (transmit ? fields.txCode : fields.rxCode) = *CodeOfCell(text);
            CodeChanged(fields, transmit, edit, notes);
            return true;
        }
        case SC::Repeater:
            fields.communityRepeater = *FlagOfCell(column, text);
            CommunityRepeaterTicked(fields, notes);
            return true;
        case SC::SelectableCtcss:
            fields.selectableCtcss = *FlagOfCell(column, text);
            SelectableCtcssTicked(fields, notes);
            return true;
        case SC::Selcall:
            fields.selcallEnabled = *FlagOfCell(column, text);
            return true;
        case SC::OpenSelcall:
            fields.openSelcall = *FlagOfCell(column, text);
            OpenSelcallTicked(fields, notes);
            return true;
        case SC::RxLockout:
            fields.rxLockout = *FlagOfCell(column, text);
            RxLockoutTicked(fields, notes);
            return true;
        case SC::Encode:
        case SC::PttOffEncode: {
            const std::string value = text == "0" ? std::string() : text;
            (column == SC::Encode ? fields.encode : fields.pttOffEncode) = value;
            return EncodeChanged(value, notes);
        }
        default:
            break;
    }
    if (const fields::FieldRow* flag = PlainFlag(column)) {
        entry.SetFlag(*flag, *FlagOfCell(column, text));
        return true;
    }
    return false;
}

// One cell of a channel edited as the Channel Editor edits it: the control's rule, the final
// check of OK, the read-back.
Outcome EditChannel(const ChannelEntry& old, SC column, const std::string& text,
                    const ChannelEditContext& edit, const SheetContext& context) {
    Notes notes;
    ChannelEntry entry = old;
    ChannelEditFields fields = FieldsOf(entry);
    if (!ApplyRule(column, text, entry, fields, edit, notes)) {
        return Refused(notes.Reason().value_or(NotAValue(text, column)));
    }
    // The rules of the other fields read what the record holds now.
    fields.nameEdited = column == SC::Name;
    if (!FinalChannelCheck(fields, edit, false, notes).close) {
        return Refused(notes.Reason().value_or(""));
    }
    ReadBack(fields, entry);
    if (context.zoneMode) {
        entry.SetFlag(cr::kHidden, false);
    }
    Outcome outcome{.entry = entry};
    for (const auto& box : notes.shown) {
        outcome.notes.push_back(box.text);
    }
    return outcome;
}

Outcome EditCell(const ChannelEntry& old, SC column, std::string_view typed,
                 const ChannelEditContext& edit, const SheetContext& context) {
    const auto want = CanonicalText(column, typed);
    if (!want) {
        return Refused(NotAValue(typed, column));
    }
    // Numbers are taken as the value they are ("007" is 7).
    const std::string text = ColumnInfo(column).kind == CellKind::Number ||
                                     ColumnInfo(column).kind == CellKind::Frequency
                                 ? *want
                                 : std::string(typed);
    if (column == SC::Name && !NameFits(text)) {
        return Refused(std::string(kNameTooLongText));
    }
    Outcome outcome = old.IsGroup() ? EditGroup(old, column, text, edit)
                                    : EditChannel(old, column, text, edit, context);
    // A rule that put the control back (an Australian CB channel keeps low power) refused it.
    if (outcome.entry && CellText(*outcome.entry, column) != *want) {
        return Refused(outcome.notes.empty() ? NotAValue(typed, column) : outcome.notes.back());
    }
    return outcome;
}

std::string WithChannel(int number, const std::string& text, bool several) {
    return several ? Formatted(kChannelPrefixText, {std::to_string(number)}) + text : text;
}

void AddNotes(std::vector<std::string>& notes, const std::vector<std::string>& more) {
    for (const std::string& note : more) {
        if (std::find(notes.begin(), notes.end(), note) == notes.end()) {
            notes.push_back(note);
        }
    }
}

// The table without the entries at `positions`.
ChannelTable Without(const ChannelTable& table, std::vector<std::size_t> positions) {
    ChannelTable others = table;
    std::sort(positions.rbegin(), positions.rend());
    for (std::size_t position : positions) {
        others.Remove(position);
    }
    return others;
}

// The series value of row k from the first row's text, or the refusal.
struct SeriesText {
    std::optional<std::string> text;
    std::string refusal;
};

SeriesText SeriesValue(SC column, const std::string& first, int k, std::int64_t stepHz, int number,
                       const SheetContext& context) {
    switch (ColumnInfo(column).kind) {
        case CellKind::Number:
            return {std::to_string((first.empty() ? 0 : std::stoll(first)) + k), {}};
        case CellKind::Text:
            return {CountedText(first, k), {}};
        case CellKind::Frequency: {
            const auto start = ParseMegahertz(first);
            if (!start) {
                return {std::nullopt, std::string(kSeriesNeedsFrequencyText)};
            }
            const std::int64_t hz = *start + stepHz * k;
            if (!context.band.Contains(hz)) {
                return {std::nullopt, Formatted(kSeriesLeavesBandText,
                                                {std::to_string(number), FormatMegahertz(hz),
                                                 std::to_string(context.band.LowerMHz()),
                                                 std::to_string(context.band.UpperMHz())})};
            }
            return {FormatMegahertz(hz), {}};
        }
        case CellKind::List:
        case CellKind::Fixed:
            break;
    }
    return {first, {}};
}

// SetCells; `several` names the channel of a refusal.
SheetResult SetColumnCells(ChannelTable& table, SC column, std::span<const SheetCell> cells,
                           const SheetContext& context, bool several) {
    std::vector<std::size_t> positions;
    for (const SheetCell& cell : cells) {
        if (cell.position < table.Size() &&
            CellEditable(table.At(cell.position), column, context)) {
            positions.push_back(cell.position);
        }
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    // Each row is checked against the rows the change leaves alone; the rows changed together
    // are checked against each other when they go back into the table.
    ChannelTable result = Without(table, positions);
    const ChannelEditContext edit = EditContextOf(result, context);
    SheetResult sheet;
    std::vector<ChannelEntry> edited;
    std::vector<std::size_t> done;
    for (const SheetCell& cell : cells) {
        if (!std::binary_search(positions.begin(), positions.end(), cell.position) ||
            std::find(done.begin(), done.end(), cell.position) != done.end()) {
            continue;
        }
        done.push_back(cell.position);
        const ChannelEntry& old = table.At(cell.position);
        Outcome outcome = EditCell(old, column, cell.text, edit, context);
        if (outcome.entry && outcome.entry->Number() != old.Number() &&
            (table.UsedAsMember(old.Number()) || table.UsedAsPriority(old.Number()))) {
            outcome = Refused(std::string(kRenumberUsedInGroupText));
        }
        if (!outcome.entry) {
            sheet.refusal = WithChannel(old.Number(), outcome.refusal, several);
            return sheet;
        }
        AddNotes(sheet.notes, outcome.notes);
        edited.push_back(*outcome.entry);
    }
    for (std::size_t i = 0; i < edited.size(); ++i) {
        if (!result.Add(edited[i])) {
            sheet.refusal =
                WithChannel(edited[i].Number(), std::string(kDuplicateNumberText), several);
            sheet.notes.clear();
            return sheet;
        }
    }
    for (std::size_t i = 0; i < edited.size(); ++i) {
        sheet.changed = sheet.changed || !SameEntry(table.At(done[i]), edited[i]);
    }
    for (const ChannelEntry& entry : edited) {
        sheet.positions.push_back(*result.Find(entry.Number()));
    }
    if (sheet.changed) {
        table = std::move(result);
    }
    return sheet;
}

// Fill down (no step) or fill series from the first row's cell over the editable rows.
SheetResult Fill(ChannelTable& table, SC column, std::span<const std::size_t> positions,
                 std::optional<std::int64_t> stepHz, const SheetContext& context) {
    SheetResult sheet;
    if (positions.size() < 2 || positions.front() >= table.Size()) {
        return sheet;
    }
    const std::string first = CellText(table.At(positions.front()), column);
    std::vector<SheetCell> cells;
    int k = 0;
    for (std::size_t position : positions.subspan(1)) {
        if (position >= table.Size() || !CellEditable(table.At(position), column, context)) {
            continue;
        }
        ++k;
        const SeriesText value =
            stepHz ? SeriesValue(column, first, k, *stepHz, table.At(position).Number(), context)
                   : SeriesText{first, {}};
        if (!value.text) {
            sheet.refusal = value.refusal;
            return sheet;
        }
        cells.push_back({position, *value.text});
    }
    return SetColumnCells(table, column, cells, context, true);
}

// The refusal of a channel whose frequencies leave the band, or nothing.
std::optional<std::string> LeavesBand(int number, std::initializer_list<std::int64_t> hz,
                                      const SheetContext& context) {
    for (const std::int64_t one : hz) {
        if (!context.band.Contains(one)) {
            return Formatted(kSeriesLeavesBandText, {std::to_string(number), FormatMegahertz(one),
                                                     std::to_string(context.band.LowerMHz()),
                                                     std::to_string(context.band.UpperMHz())});
        }
    }
    return std::nullopt;
}

// A new channel checked as the Channel Editor checks one added: its frequencies are left, then
// OK is pressed. Where it stands in `result`, or nothing when refused (`sheet` says why).
std::optional<std::size_t> AddAsTheEditorAdds(ChannelTable& result, ChannelEntry entry,
                                              bool nameEdited, const ChannelEditContext& edit,
                                              const SheetContext& context, SheetResult& sheet) {
    entry.SetFlag(cr::kIsGroup, false);
    Notes notes;
    ChannelEditFields fields = FieldsOf(entry);
    fields.nameEdited = nameEdited;
    const bool txLeft = entry.txHz != 0 && entry.txHz != entry.rxHz;
    if (!FrequencyLeft(fields, false, edit, notes) ||
        (txLeft && !FrequencyLeft(fields, true, edit, notes)) ||
        !FinalChannelCheck(fields, edit, false, notes).close) {
        sheet.refusal = WithChannel(entry.Number(), notes.Reason().value_or(""), true);
        sheet.notes.clear();
        return std::nullopt;
    }
    ReadBack(fields, entry);
    if (context.zoneMode) {
        entry.SetFlag(cr::kHidden, false);
    }
    std::vector<std::string> texts;
    for (const auto& box : notes.shown) {
        texts.push_back(box.text);
    }
    AddNotes(sheet.notes, texts);
    const auto position = result.Add(entry);
    if (!position) {
        sheet.refusal = std::string(kInsertNumbersText);
        sheet.notes.clear();
    }
    return position;
}

// A fill of several columns, each by `fill`, as one change: a refusal in any leaves the whole
// table as it was. A renumber moves entries, so the number column goes last and the others still
// find their rows where the selection saw them.
SheetResult FillColumns(ChannelTable& table, std::span<const ColumnRows> columns,
                        const std::function<SheetResult(ChannelTable&, const ColumnRows&)>& fill) {
    std::vector<ColumnRows> ordered(columns.begin(), columns.end());
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const ColumnRows& rows) { return rows.column != SC::Number; });
    ChannelTable filled = table;
    SheetResult result;
    for (const ColumnRows& rows : ordered) {
        SheetResult one = fill(filled, rows);
        if (one.refusal) {
            return one;
        }
        result.changed = result.changed || one.changed;
        AddNotes(result.notes, one.notes);
        result.positions = std::move(one.positions);
    }
    if (result.changed) {
        table = std::move(filled);
    }
    return result;
}

}  // namespace

const SheetColumnInfo& ColumnInfo(SheetColumn column) {
    return kColumnInfo.at(static_cast<std::size_t>(column));
}

SheetColumn SheetColumnAt(int index) {
    return kColumnInfo.at(static_cast<std::size_t>(index)).column;
}

std::string CellText(const ChannelEntry& entry, SheetColumn column) {
    switch (column) {
        case SC::Number:
            return std::to_string(entry.Number());
        case SC::Name:
            return entry.Name();
        case SC::Kind:
            return entry.IsGroup() ? "Group" : "Chan";
        default:
            break;
    }
    if (entry.IsGroup()) {
        return {};
    }
    switch (column) {
        case SC::Rx:
            return FormatMegahertz(entry.rxHz);
        case SC::Tx:
            return entry.txHz == 0 ? std::string() : FormatMegahertz(entry.txHz);
        case SC::Power:
            return std::string(kPowerTexts[static_cast<std::size_t>(PowerOf(entry))]);
        case SC::Bandwidth:
            return std::string(kBandwidthTexts[static_cast<std::size_t>(BandwidthOf(entry))]);
        case SC::CodeKind:
            return IsDcsCodeByte(CodeByte(entry, cr::kRxCode)) ||
                           IsDcsCodeByte(CodeByte(entry, cr::kTxCode))
                       ? "DCS"
                       : "CTCSS";
        case SC::RxCode:
            return CodeText(CodeByte(entry, cr::kRxCode));
        case SC::TxCode:
            return CodeText(CodeByte(entry, cr::kTxCode));
        case SC::Encode:
            return std::to_string(entry.Get(cr::kEncode));
        case SC::PttOffEncode:
            return std::to_string(entry.Get(cr::kPttOffEncode));
        default:
            break;
    }
    const fields::FieldRow* flag = FlagRow(column);
    return flag ? std::string(FlagText(column, entry.Flag(*flag))) : std::string();
}

std::optional<std::int64_t> CellNumber(const ChannelEntry& entry, SheetColumn column) {
    switch (column) {
        case SC::Number:
            return entry.Number();
        case SC::Rx:
            return entry.IsGroup() ? std::nullopt : std::optional<std::int64_t>(entry.rxHz);
        case SC::Tx:
            return entry.IsGroup() ? std::nullopt : std::optional<std::int64_t>(entry.txHz);
        case SC::Encode:
        case SC::PttOffEncode:
            return entry.IsGroup() ? std::nullopt
                                   : std::optional<std::int64_t>(entry.Get(
                                         column == SC::Encode ? cr::kEncode : cr::kPttOffEncode));
        default:
            return std::nullopt;
    }
}

bool CellEditable(const ChannelEntry& entry, SheetColumn column, const SheetContext& context) {
    if (ColumnInfo(column).kind == CellKind::Fixed) {
        return false;
    }
    if (entry.IsGroup()) {
        return column == SC::Number || column == SC::Name;
    }
    switch (column) {
        case SC::Economiser:
            return IsPortableMask(context.radioTypeMask);
        case SC::OverrideXtal:
            return context.userLevelMask == 4 || context.userLevelMask == 8;
        case SC::Hidden:
            return !context.zoneMode;
        default:
            return true;
    }
}

std::vector<std::string> CellChoices(SheetColumn column) {
    if (ColumnInfo(column).kind != CellKind::List) {
        return {};
    }
    const auto texts = [](const auto& list) {
        return std::vector<std::string>(list.begin(), list.end());
    };
    switch (column) {
        case SC::Power:
            return texts(kPowerTexts);
        case SC::Bandwidth:
            return texts(kBandwidthTexts);
        case SC::RxCode:
        case SC::TxCode: {
            std::vector<std::string> codes;
            for (const fields::Choice& choice : kCtcssDcsChoices) {
                codes.push_back(CodeText(static_cast<std::uint8_t>(choice.code)));
            }
            return codes;
        }
        default:
            return texts(IsDecode(column) ? kDecodeTexts : kYesNo);
    }
}

SheetResult SetCell(ChannelTable& table, std::size_t position, SheetColumn column,
                    std::string_view text, const SheetContext& context) {
    const SheetCell cell{position, std::string(text)};
    return SetCells(table, column, std::span(&cell, 1), context);
}

SheetResult SetCells(ChannelTable& table, SheetColumn column, std::span<const SheetCell> cells,
                     const SheetContext& context) {
    return SetColumnCells(table, column, cells, context, cells.size() > 1);
}

SheetResult FillDown(ChannelTable& table, SheetColumn column,
                     std::span<const std::size_t> positions, const SheetContext& context) {
    return Fill(table, column, positions, std::nullopt, context);
}

SheetResult FillSeries(ChannelTable& table, SheetColumn column,
                       std::span<const std::size_t> positions, std::int64_t stepHz,
                       const SheetContext& context) {
    if (ColumnInfo(column).kind == CellKind::Frequency && !OnRaster(std::abs(stepHz))) {
        return {.refusal = std::string(kStepOffRasterText)};
    }
    return Fill(table, column, positions, stepHz, context);
}

SheetResult FillDown(ChannelTable& table, std::span<const ColumnRows> columns,
                     const SheetContext& context) {
    return FillColumns(table, columns, [&](ChannelTable& filled, const ColumnRows& rows) {
        return FillDown(filled, rows.column, rows.positions, context);
    });
}

SheetResult FillSeries(ChannelTable& table, std::span<const ColumnRows> columns,
                       std::int64_t stepHz, const SheetContext& context) {
    return FillColumns(table, columns, [&](ChannelTable& filled, const ColumnRows& rows) {
        return FillSeries(filled, rows.column, rows.positions, stepHz, context);
    });
}

SheetResult AddNextChannel(ChannelTable& table, std::optional<std::size_t> after,
                           const ChannelEntry& model, std::int64_t stepHz,
                           const SheetContext& context) {
    SheetResult sheet;
    if (table.Size() >= static_cast<std::size_t>(kMaxEntries)) {
        sheet.refusal = std::string(kTableFullText);
        return sheet;
    }
    if (!OnRaster(std::abs(stepHz))) {
        sheet.refusal = std::string(kStepOffRasterText);
        return sheet;
    }
    const bool follows = after && *after < table.Size() && !table.At(*after).IsGroup();
    int number =
        after && *after < table.Size() ? table.At(*after).Number() + 1 : table.NextNumber();
    while (number <= kHighestNumber && table.NumberTaken(number)) {
        ++number;
    }
    if (number > kHighestNumber) {
        sheet.refusal = std::string(kNoNumberAboveText);
        return sheet;
    }
    ChannelEntry entry = follows ? table.At(*after) : model;
    entry.SetNumber(number);
    if (follows) {
        const std::string name = CountedText(entry.Name(), 1);
        if (!NameFits(name)) {
            sheet.refusal = std::string(kNameTooLongText);
            return sheet;
        }
        entry.SetName(name);
        entry.rxHz += stepHz;
        entry.txHz = entry.txHz == 0 ? 0 : entry.txHz + stepHz;
    }
    const std::int64_t txHz = entry.txHz == 0 ? entry.rxHz : entry.txHz;
    if (auto outside = LeavesBand(number, {entry.rxHz, txHz}, context)) {
        sheet.refusal = std::move(outside);
        return sheet;
    }
    ChannelTable result = table;
    const auto position = AddAsTheEditorAdds(result, entry, !entry.Name().empty(),
                                             EditContextOf(table, context), context, sheet);
    if (!position) {
        return sheet;
    }
    sheet.positions.push_back(*position);
    sheet.changed = true;
    table = std::move(result);
    return sheet;
}

std::string NameOfPattern(std::string_view pattern, int n) {
    std::string name(pattern);
    for (std::size_t at = name.find('#'); at != std::string::npos; at = name.find('#', at)) {
        const std::string count = std::to_string(n);
        name.replace(at, 1, count);
        at += count.size();
    }
    return name;
}

SheetResult InsertChannels(ChannelTable& table, const ChannelEntry& model,
                           const InsertRequest& request, const SheetContext& context) {
    SheetResult sheet;
    const int room = kMaxEntries - static_cast<int>(table.Size());
    if (request.count < 1 || request.count > room) {
        sheet.refusal = Formatted(
            kInsertCountText, {std::to_string(std::max(room, 0)), std::to_string(table.Size())});
        return sheet;
    }
    if (request.stepHz != 0 && !OnRaster(std::abs(request.stepHz))) {
        sheet.refusal = std::string(kStepOffRasterText);
        return sheet;
    }
    if (request.firstNumber < 0 || request.firstNumber + request.count - 1 > kHighestNumber) {
        sheet.refusal = std::string(kInsertNumbersText);
        return sheet;
    }
    ChannelTable result = table;
    const ChannelEditContext edit = EditContextOf(table, context);
    for (int k = 0; k < request.count; ++k) {
        const int number = request.firstNumber + k;
        const std::int64_t hz = request.firstHz + request.stepHz * k;
        if (auto outside = LeavesBand(number, {hz}, context)) {
            sheet.refusal = std::move(outside);
            return sheet;
        }
        if (table.NumberTaken(number)) {
            sheet.refusal = std::string(kInsertNumbersText);
            return sheet;
        }
        ChannelEntry entry = model;
        entry.SetNumber(number);
        entry.SetName(NameOfPattern(request.namePattern, k + 1));
        entry.rxHz = hz;
        entry.txHz = hz;
        if (!AddAsTheEditorAdds(result, entry, !request.namePattern.empty(), edit, context,
                                sheet)) {
            return sheet;
        }
    }
    for (int k = 0; k < request.count; ++k) {
        sheet.positions.push_back(*result.Find(request.firstNumber + k));
    }
    sheet.changed = true;
    table = std::move(result);
    return sheet;
}

}  // namespace km::pmr
