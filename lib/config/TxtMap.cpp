#include "config/TxtMap.h"

#include <algorithm>
#include <optional>
#include <string>

#include "config/CtcssDcsTable.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using fields::ImageId;

// A grid row: its label, then its default text in each column. An empty text is a default too:
// the Defaults button empties such a row.
struct MessageRow {
    std::string_view label;
    std::string_view hmF;  // RadioTypeMask 16
    std::string_view hmE;  // 8, 512, 1024 (and 256 on a radio type change)
    std::string_view hmD;  // 32
    std::string_view hmC;  // 4
};
struct MenuRow {
    std::string_view label;
    std::string_view first;
    std::string_view second;
    std::string_view third;
};
struct EditRow {
    std::string_view label;
    std::string_view standard;  // every head but HM-D
    std::string_view hmD;
};

// clang-format off
constexpr MessageRow kTrunkMessages[] = {
    {"All Units", "All Units", "AllUnits", "All Units", "ALL"},
    {"Incoming...", "Incoming...", "Incoming", "Incoming...", "RxING"},
    {"Alerting", "Alerting", "Alerting", "Alerting", "RING"},
    {"Backlight", "Backlight", "Backlight", "Backlight", "BLITE"},
    {"Busy", "Busy", "Busy", "Busy", "BUSY"},
    {"Call Back", "Call Back", "Call Back", "Call Back", "CBACK"},
    {"Radio Busy", "Radio Busy", "Radio Busy", "Radio Busy", "BUSY"},
    {"Call PABX", "Call PABX", "CallPABX", "Call PABX", "PABX"},
    {"Call PSTN", "Call PSTN", "CallPSTN", "Call PSTN", "PHONE"},
    {"Engaged", "Engaged", "Engaged", "Engaged", "ENGD"},
    {"Cancelling", "Cancelling", "Cancel", "Cancelling", "CANCL"},
    {"Confirmed", "Confirmed", "Confrmed", "Confirmed", "DONE"},
    {"Diverted", "Diverted", "Diverted", "Diverted", "DIVRT"},
    {"Emergency", "Emergency", "Emergncy", "Emergency", "EMERG"},
    {"Outgoing...", "Outgoing...", "Outgoing", "Outgoing...", "OUT.."},
    {"Enter No.", "Enter No.", "Enter No.", "Enter No.", "ENTER"},
    {"Enter Text", "Enter Text", "Enter Text", "Enter Text", "ENTER"},
    {"Dead", "Dead", "Dead", "Dead", "DEAD"},
    {"Volume", "Volume", "Volume", "Volume", "VOL"},
    {"Apco P25", "Apco P25", "Apco P25", "Apco P25", "P25"},
    {"Invalid", "Invalid", "Invalid", "Invalid", "ERROR"},
    {"Key beeps", "Key beeps", "Key beeps", "Key beeps", "KBEEP"},
    {"Load", "Load", "Load", "Load", "LOAD"},
    {"Loading", "Loading", "Loading", "Loading", "LOAD"},
    {"DTMF", "DTMF", "DTMF", "DTMF", "DTMF"},
    {"Network 1", "Network 1", "Network 1", "Network 1", "NW 1"},
    {"Network 2", "Network 2", "Network 2", "Network 2", "NW 2"},
    {"No Service", "No Service", "NoSrvice", "No Service", "WAIT"},
    {"Out of Fleet", "Out of Fleet", "OutFleet", "Out of Fleet", "XFLEET"},
    {"Queued", "Queued", "Queued", "Queued", "QUED"},
    {"Queueing", "Queueing", "Queuing", "Queueing", "Q-ING"},
    {"System Busy", "System Busy", "Sys Busy", "System Busy", "BUSY"},
    {"Save", "Save", "Save", "Save", "SAVE"},
    {"Saving", "Saving", "Saving", "Saving", "SAVE"},
    {"PMR", "PMR", "PMR", "PMR", "PMR"},
    {"Unknown", "Unknown", "Unknown", "Unknown", "ERROR"},
    {"Unobtainable", "Unobtainable", "Unobtain", "Unobtainable", "NotFnd"},
    {"Unavailable", "Unavailable", "Unavail", "Unavailable", "NotFnd"},
    {"Voice", "Voice", "Voice", "Voice", "VOICE"},
    {"Data", "Data", "Data", "Data", "DATA"},
    {"Status", "Status", "Status", "Status", "STAT"},
    {"SEL to Edit", "SEL to Edit", "SEL to Edit", "SEL to Edit", "Push S"},
    {"Code:", "Code:", "Code:", "Code:", "CODE:"},
    {"New Message", "New Message", "New Msg", "New Message", "MSG"},
    {"In Service NW1", "", "Network 1", "InService 1", ""},
    {"In Service NW2", "Network 2", "Network 2", "InService 2", "NWK2"},
    {"Call 8180", "Emergency", "Emergency", "Emergency", "EMERG"},
    {"Lock", "Lock", "Lock", "Lock", "LOCK"},
};
constexpr MessageRow kPmrMessages[] = {
    {"Added", "Added", "Added", "Added", "ADDED"},
    {"Called", "Called", "Called", "Called", "CALLD"},
    {"Stunned", "Stunned", "Stunned", "Stunned", "STUND"},
    {"Backlight", "Backlight", "Backlight", "Backlight", "BLITE"},
    {"Busy", "Busy", "Busy", "Busy", "BUSY"},
    {"Repeater", "Repeater", "Repeater", "RPTR", "RPTR"},
    {"Call Failed", "Call Failed", "Call Failed", "Call Failed", "FAIL"},
    {"Data Msg", "Data Msg", "Data Msg", "Data Msg", "DMSG"},
    {"Select to Edit", "SEL to Edit", "SEL to Edit", "SEL to Edit", "EDIT"},
    {"ID:", "ID:", "ID:", "ID:", "ID:"},
    {"Cancelling", "Cancelling", "Cancelling", "Cancelling", "CANCL"},
    {"Confirmed", "Confirmed", "Confirmed", "Confirmed", "CONFM"},
    {"DTMF", "DTMF", "DTMF", "DTMF", "DTMF"},
    {"Volume", "Volume", "Volume", "Volume", "VOL"},
    {"Outgoing...", "Outgoing...", "Outgoing...", "Outgoing...", "OUT.."},
    {"Enter Number", "Enter No.", "Enter No.", "Enter No.", "ENTER"},
    {"Enter Text", "Enter Text", "Enter Text", "Enter Text", "ENTER"},
    {"External Alert", "Ext Alert", "Ext Alert", "Ext Alert", "XALRT"},
    {"Incompatible", "Incompatible", "Incompatible", "Incompatible", "ERROR"},
    {"Multiax", "Multiax", "Multiax", "Multiax", "MUX"},
    {"Invalid", "Invalid", "Invalid", "Invalid", "ERROR"},
    {"Key beeps", "Key beeps", "Key beeps", "Key beeps", "KBEEP"},
    {"Load", "Load", "Load", "Load", "LOAD"},
    {"Loading", "Loading", "Loading", "Loading", "LOAD"},
    {"Apco P25", "Apco P25", "Apco P25", "Apco P25", "P25"},
    {"Network 1", "Network 1", "Network 1", "Network 1", "NW 1"},
    {"Network 2", "Network 2", "Network 2", "Network 2", "NW 2"},
    {"Voting", "Voting", "Voting", "Voting", "VOTE"},
    {"Scanning", "Scanning", "Scan", "SCAN", "SCAN"},
    {"Queued", "Queued", "Queued", "Queued", "QUE'D"},
    {"Dual Watch", "Dual Watch", "DualWtch", "DualWtch", "DUALW"},
    {"Code:", "Code:", "Code:", "Code:", "CODE:"},
    {"Save", "Save", "Save", "Save", "SAVE"},
    {"Saving", "Saving", "Saving", "Saving", "SAVE"},
    {"PMR", "PMR", "PMR", "PMR", "PMR"},
    {"Unknown", "Unknown", "Unknown", "Unknown", "UNKNWN"},
    {"On Call", "On Call", "On Call", "On Call", "ONCAL"},
    {"0Del 1Ad 2Pr", "", "0Del 1Ad 2Pr", "0Del 1Ad 2Pr", ""},
    {"Member", "Member", "Member", "Member", "MEMBR"},
    {"Priority", "Priority", "Priority", "Priority", "PRI"},
    {"Skipped", "Skipped", "Skipped", "Skipped", "SKIPED"},
    {"Deleted", "Deleted", "Deleted", "Deleted", "DELETE"},
    {"Lock", "Lock", "Lock", "Lock", "LOCK"},
    {"Out Of Area", "Out Of Area", "Out Of Area", "Out Of Area", "XAREA"},
};
constexpr MenuRow kTrunkMenus[] = {
    {"PhoneBook", "PhoneBook", "PhoneBook", "PH-BK"},
    {"Recall", "Recall", "Recall", "RCALL"},
    {"Stored Calls", "Stored Calls", "StoredCalls", "STORE"},
    {"Call Types", "Call Types", "Call Types", "CTYPE"},
    {"Status", "Status", "Status", "STATUS"},
    {"Setup", "Setup", "Setup", "SETUP"},
    {"User Options", "User Options", "UserOptions", "U-OPT"},
    {"Group", "Group", "Group", "GROUP"},
    {"Phbk Edit", "Ph Book Edit", "PhBk Edit", "PB-EDT"},
    {"Contrast", "Contrast", "Contrast", "CTRAST"},
    {"Alert Volume", "Alert Volume", "Alert Vol", "ALRT-V"},
    {"Info", "Radio Info", "Radio Info", "INFO"},
    {"Network", "Network", "Network", "NETWRK"},
    {"NA", "", "", ""},
    {"NA", "", "", ""},
    {"NA", "", "", ""},
    {"Send Message", "Send Message", "Send Message", "SNDMSG"},
    {"--- MENU ---", "--- MENU ---", "--- MENU ---", ""},
};
constexpr MenuRow kPmrMenus[] = {
    {"Menu", "Menu", "--- MENU ---", "MENU"},
    {"PhoneBook", "PhoneBook", "PhoneBook", "PH-BK"},
    {"Status", "Status", "Status", "STATUS"},
    {"Stored Calls", "Stored Calls", "Stored Calls", "STORED"},
    {"Mute Adjust", "Mute Adjust", "Mute Adjust", "MUTE"},
    {"Setup", "Setup", "Setup", "SETUP"},
    {"User Options", "User Options", "User Options", "USEROP"},
    {"User CTCSS", "User CTCSS", "User CTCSS", "CTCSS"},
    {"Phbk Edit", "Ph Book Edit", "Ph Book Edit", "PB-EDT"},
    {"Contrast", "Contrast", "Contrast", "CONTR"},
    {"Alert Volume", "Alert Volume", "Alert Volume", "ALRT-V"},
    {"Info", "Radio Info", "Radio Info", "INFO"},
    {"Network", "Network", "Network", "NETWRK"},
    {"RSSI", "RSSI", "RSSI", "RSSI"},
    {"Lone Worker", "Lone Worker", "Lone Worker", "LONE_W"},
    {"", "", "", ""},
    {"Send Message", "Send Message", "Send Message", "SNDMSG"},
    {"Zone", "Zone", "Zone", "Zone"},
};
constexpr EditRow kTrunkEditFunctions[] = {
    {"Add", "Add", "ADD"},
    {"Delete", "Del", "DELETE"},
    {"Edit", "Edit", "EDIT"},
    {"OK", "OK", "OK"},
    {"Back", "Back", "BACK"},
    {"More", "More", "MORE"},
    {"On", "On", "ON"},
    {"Off", "Off", "OFF"},
    {"Exit", "Exit", "EXIT"},
    {"Done", "Done", "DONE"},
    {"", "", ""},
    {"", "", ""},
    {"", "", ""},
    {"", "", ""},
    {"", "", ""},
    {"", "", ""},
};
constexpr EditRow kPmrEditFunctions[] = {
    {"Add", "Add", "ADD"},
    {"Delete", "Del", "DELETE"},
    {"Edit", "Edit", "EDIT"},
    {"OK", "OK", "OK"},
    {"Done", "Done", "DONE"},
    {"Skip", "Skip", "SKIP"},
    {"Priority", "Prty", "PRTY"},
    {"Exit", "Exit", "EXIT"},
    {"Back", "Back", "BACK"},
    {"More", "More", "MORE"},
    {"Key-1", "Key-1", "KEY-1"},
    {"Key-2", "Key-2", "KEY-2"},
    {"On", "On", "ON"},
    {"Off", "Off", "OFF"},
    {"Key-3", "Key-3", "KEY-3"},
    {"Key-4", "Key-4", "KEY-4"},
};
// clang-format on

inline constexpr std::string_view kUnlabelledRow = " ";
inline constexpr std::string_view kChannelDefaultTone = "Ch Default";

constexpr bool IsTrunk(ImageId image) {
    return image == ImageId::Trunk;
}

enum class MessageColumn { HmF, HmE, HmD, HmC };
enum class MenuColumn { First, Second, Third };

// The message column of a head; none for the heads without a text display of their own (HM-A,
// HM-B) and, on a Defaults button, for the earlier portable.
std::optional<MessageColumn> MessageColumnOf(int radioTypeMask, DefaultsCause cause) {
    switch (radioTypeMask) {
        case 16:
            return MessageColumn::HmF;
        case 32:
            return MessageColumn::HmD;
        case 8:
        case 512:
        case 1024:
            return MessageColumn::HmE;
        case 4:
            return MessageColumn::HmC;
        case 256:
            if (cause == DefaultsCause::RadioTypeChange) {
                return MessageColumn::HmE;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// As the messages, but the HM-D handset takes the HM-F menus in a trunk job and the HM-E menus in
// a PMR job.
std::optional<MenuColumn> MenuColumnOf(ImageId image, int radioTypeMask, DefaultsCause cause) {
    const auto message = MessageColumnOf(radioTypeMask, cause);
    if (!message) {
        return std::nullopt;
    }
    switch (*message) {
        case MessageColumn::HmF:
            return MenuColumn::First;
        case MessageColumn::HmD:
            return IsTrunk(image) ? MenuColumn::First : MenuColumn::Second;
        case MessageColumn::HmE:
            return MenuColumn::Second;
        case MessageColumn::HmC:
            return MenuColumn::Third;
    }
    return std::nullopt;
}

std::string_view TextOf(const MessageRow& row, MessageColumn column) {
    switch (column) {
        case MessageColumn::HmF:
            return row.hmF;
        case MessageColumn::HmE:
            return row.hmE;
        case MessageColumn::HmD:
            return row.hmD;
        case MessageColumn::HmC:
            return row.hmC;
    }
    return {};
}

std::string_view TextOf(const MenuRow& row, MenuColumn column) {
    switch (column) {
        case MenuColumn::First:
            return row.first;
        case MenuColumn::Second:
            return row.second;
        case MenuColumn::Third:
            return row.third;
    }
    return {};
}

std::string_view TextOf(const EditRow& row, bool hmD) {
    return hmD ? row.hmD : row.standard;
}

// Column `column` of the first `count` rows.
template <typename Row, typename Column>
std::vector<std::string_view> ColumnOf(std::span<const Row> rows, Column column,
                                       std::size_t count) {
    std::vector<std::string_view> texts;
    for (std::size_t i = 0; i < std::min(count, rows.size()); ++i) {
        texts.push_back(TextOf(rows[i], column));
    }
    return texts;
}

template <typename Row>
std::vector<std::string_view> LabelsOf(std::span<const Row> rows) {
    std::vector<std::string_view> labels;
    for (const Row& row : rows) {
        labels.push_back(row.label);
    }
    return labels;
}

std::span<const MessageRow> MessagesOf(ImageId image) {
    return IsTrunk(image) ? std::span<const MessageRow>(kTrunkMessages) : kPmrMessages;
}
std::span<const MenuRow> MenusOf(ImageId image) {
    return IsTrunk(image) ? std::span<const MenuRow>(kTrunkMenus) : kPmrMenus;
}
std::span<const EditRow> EditFunctionsOf(ImageId image) {
    return IsTrunk(image) ? std::span<const EditRow>(kTrunkEditFunctions) : kPmrEditFunctions;
}

std::vector<std::string_view> CtcssLabels() {
    std::vector<std::string_view> labels;
    for (int row = 0; row <= kLetteredToneCount; ++row) {
        labels.push_back(kCtcssDcsRows[static_cast<std::size_t>(row)].text);
    }
    labels.push_back(kChannelDefaultTone);
    return labels;
}

// Where column `column` of record `record` starts in `image`.
std::size_t OffsetOf(const fields::RecordTable& records, const fields::FieldRow& column,
                     std::size_t record, ImageId image) {
    return static_cast<std::size_t>(records.base.Of(image)) + record * records.stride +
           static_cast<std::size_t>(column.at.Of(image));
}

// The text of a record is its first column.
const fields::FieldRow& TextColumn(const fields::RecordTable& records) {
    return records.columns.front();
}

}  // namespace

std::size_t GridRowCount(TextGrid grid) {
    switch (grid) {
        case TextGrid::Messages:
            return text_rows::kMessages.capacity;
        case TextGrid::Menus:
            return text_rows::kMenus.capacity;
        case TextGrid::EditFunctions:
            return text_rows::kPmrEdit.capacity;
        case TextGrid::CtcssNames:
            return text_rows::kCtcssNames.capacity;
    }
    return 0;
}

std::size_t TextLimit(TextGrid grid) {
    // The PMR job has every grid.
    const fields::FieldRow& column = TextColumn(*RecordsOf(grid, ImageId::Pmr));
    return column.encoding == fields::Encoding::Label ? column.width - fields::kLabelTextStart
                                                      : column.width;
}

const fields::RecordTable* RecordsOf(TextGrid grid, ImageId image) {
    if (image != ImageId::Trunk && image != ImageId::Pmr) {
        return nullptr;
    }
    switch (grid) {
        case TextGrid::Messages:
            return &text_rows::kMessages;
        case TextGrid::Menus:
            return &text_rows::kMenus;
        case TextGrid::EditFunctions:
            return IsTrunk(image) ? &text_rows::kTrunkEdit : &text_rows::kPmrEdit;
        case TextGrid::CtcssNames:
            return IsTrunk(image) ? nullptr : &text_rows::kCtcssNames;
    }
    return nullptr;
}

std::vector<std::string> LoadTexts(TextGrid grid, ImageId image,
                                   std::span<const std::uint8_t> bytes) {
    std::vector<std::string> texts;
    if (const fields::RecordTable* records = RecordsOf(grid, image)) {
        const fields::FieldRow& column = TextColumn(*records);
        for (std::size_t r = 0; r < records->capacity; ++r) {
            texts.push_back(fields::FormatField(
                column, fields::ReadField(column, bytes, OffsetOf(*records, column, r, image))));
        }
    }
    return texts;
}

void StoreTexts(TextGrid grid, ImageId image, std::span<std::uint8_t> bytes,
                std::span<const std::string> texts) {
    const fields::RecordTable* records = RecordsOf(grid, image);
    if (records == nullptr) {
        return;
    }
    const fields::FieldRow& column = TextColumn(*records);
    for (std::size_t r = 0; r < std::min<std::size_t>(texts.size(), records->capacity); ++r) {
        if (const auto value = fields::ParseField(column, texts[r])) {
            fields::WriteField(column, bytes, OffsetOf(*records, column, r, image), *value);
        }
    }
}

std::vector<std::string_view> TextLabels(TextGrid grid, ImageId image) {
    switch (grid) {
        case TextGrid::Messages: {
            auto labels = LabelsOf(MessagesOf(image));
            labels.resize(GridRowCount(grid), kUnlabelledRow);
            return labels;
        }
        case TextGrid::Menus:
            return LabelsOf(MenusOf(image));
        case TextGrid::EditFunctions:
            return LabelsOf(EditFunctionsOf(image));
        case TextGrid::CtcssNames:
            return IsTrunk(image) ? std::vector<std::string_view>() : CtcssLabels();
    }
    return {};
}

std::vector<std::string_view> DefaultTexts(TextGrid grid, ImageId image, int radioTypeMask,
                                           DefaultsCause cause) {
    const bool headChange = cause == DefaultsCause::RadioTypeChange;
    switch (grid) {
        case TextGrid::Messages:
            if (const auto column = MessageColumnOf(radioTypeMask, cause)) {
                return ColumnOf(MessagesOf(image), *column, GridRowCount(grid));
            }
            return {};
        case TextGrid::Menus:
            if (const auto column = MenuColumnOf(image, radioTypeMask, cause)) {
                std::size_t rows = GridRowCount(grid);
                if (headChange && !IsTrunk(image)) {
                    --rows;  // a radio type change leaves the PMR job's zone menu as it is
                }
                return ColumnOf(MenusOf(image), *column, rows);
            }
            return {};
        case TextGrid::EditFunctions:
            // A radio type change keeps the trunk job's edit functions.
            if (headChange && IsTrunk(image)) {
                return {};
            }
            return ColumnOf(EditFunctionsOf(image), radioTypeMask == 32, GridRowCount(grid));
        case TextGrid::CtcssNames:
            // The tone names default to the tones themselves.
            return headChange ? std::vector<std::string_view>() : TextLabels(grid, image);
    }
    return {};
}

std::uint8_t EditDisplayRow(ImageId image, std::size_t record) {
    switch (record) {
        case 0:
            return 5;
        case 1:
            return 2;
        case 5:
            return IsTrunk(image) ? 0 : 5;
        case 6:
            return IsTrunk(image) ? 0 : 7;
        default:
            return 0;
    }
}

void WriteEditDisplayRows(ImageId image, std::span<std::uint8_t> bytes) {
    const fields::RecordTable* records = RecordsOf(TextGrid::EditFunctions, image);
    if (records == nullptr) {
        return;
    }
    const fields::FieldRow& row = text_rows::kEditColumns[1];
    for (std::size_t r = 0; r < records->capacity; ++r) {
        fields::WriteField(row, bytes, OffsetOf(*records, row, r, image),
                           std::int64_t{EditDisplayRow(image, r)});
    }
}

void RefillTextsForHead(ImageId image, std::span<std::uint8_t> bytes, int radioTypeMask) {
    for (TextGrid grid : {TextGrid::Messages, TextGrid::Menus, TextGrid::EditFunctions}) {
        const auto defaults =
            DefaultTexts(grid, image, radioTypeMask, DefaultsCause::RadioTypeChange);
        const std::vector<std::string> texts(defaults.begin(), defaults.end());
        StoreTexts(grid, image, bytes, texts);
    }
}

}  // namespace km
