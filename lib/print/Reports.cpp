#include "print/Reports.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "core/Cp1252.h"
#include "pmr/CtcssDcs.h"

namespace km::print {

namespace {

namespace cr = pmr::channel_rows;

// printf into a string. Texts given to it are single-byte (Windows-1252), so that "%-12.12s"
// counts characters; the finished row is turned into UTF-8.
template <typename... Args>
std::string Printf(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// ---- PMR channel table ----

constexpr std::size_t kChannelDashes = 108;
constexpr std::string_view kChannelHeader1 =
    "Chn Name           Rx Freq     CTCSS  Tx Freq     CTCSS  Pwr CR Ch Hide CTCSS  Sel Open RXL "
    "TXL Enc Active   ";
constexpr std::string_view kChannelHeader2 =
    "                     MHz        DCS     Mhz        DCS         Band      DCS   Call SC      "
    "        Decodes ";

double Megahertz(std::int64_t hz) {
    return static_cast<double>(hz) / 1e6;
}

// A code as the report shows it: a tone's short form, or a DCS code with "N" or "I" for normal
// or inverted.
std::string CodeText(std::uint8_t codeByte, bool inverted) {
    const std::string text(pmr::ShortTextOfCodeByte(codeByte));
    return pmr::IsDcsCodeByte(codeByte) ? text + (inverted ? "I" : "N") : text;
}

const char* PowerText(pmr::Power power) {
    switch (power) {
        case pmr::Power::High:
            return "Hi";
        case pmr::Power::Medium:
            return "Med";
        case pmr::Power::Low:
            break;
    }
    return "Lo";
}

const char* BandwidthText(pmr::Bandwidth bandwidth) {
    static constexpr std::array<const char*, 4> kTexts = {"10", "12", "20", "25"};
    return kTexts.at(static_cast<std::size_t>(bandwidth));
}

// The digits 1 to 8 of the decodes that are on.
std::string ActiveDecodes(const pmr::ChannelEntry& entry) {
    std::string digits;
    for (std::size_t d = 0; d < cr::kDecodes.size(); ++d) {
        if (entry.Flag(*cr::kDecodes[d])) {
            digits += static_cast<char>('1' + d);
        }
    }
    return digits;
}

std::string ChannelRow(const pmr::ChannelEntry& entry) {
    const auto yesNo = [&](const fields::FieldRow& column) {
        return entry.Flag(column) ? "Yes" : "No";
    };
    const auto rxCode = static_cast<std::uint8_t>(entry.Get(cr::kRxCode));
    const auto txCode = static_cast<std::uint8_t>(entry.Get(cr::kTxCode));
    const bool rxInverted = entry.Flag(cr::kRxInvertedDcs) && !entry.Flag(cr::kRxNormalDcs);
    const std::string rx = CodeText(rxCode, rxInverted);
    const std::string tx = CodeText(txCode, entry.Flag(cr::kTxInvertedDcs));
    const std::string name = Utf8ToCp1252(entry.Name());
    const std::string decodes = ActiveDecodes(entry);
    const char* power = PowerText(pmr::PowerOf(entry));
    const char* repeater = entry.Flag(cr::kCommunityRepeater) ? "CR" : "  ";
    const char* band = BandwidthText(pmr::BandwidthOf(entry));
    const char* hidden = entry.Flag(cr::kHidden) ? "H" : " ";
    const char* selectable = yesNo(cr::kSelectableCtcss);
    const char* selcall = entry.Flag(cr::kSelcall) ? "SC" : "  ";
    const char* openSelcall = entry.Flag(cr::kOpenSelcall) ? "OS" : "  ";
    const int encode = static_cast<int>(entry.Get(cr::kEncode));
    if (pmr::IsDcsCodeByte(rxCode) || pmr::IsDcsCodeByte(txCode)) {
        return Printf(
            "%03d %-12.12s %10.5f    %-5.5s %10.5f    %-5.5s  %-3s%-3s%-3s %-2s   %-4s | %-3s %-3s "
            "%-3s %-3s %-4d%-8s",
            entry.Number(), name.c_str(), Megahertz(entry.rxHz), rx.c_str(), Megahertz(entry.txHz),
            tx.c_str(), power, repeater, band, hidden, selectable, selcall, openSelcall,
            yesNo(cr::kRxLockout), yesNo(cr::kTxLockout), encode, decodes.c_str());
    }
    return Printf(
        "%03d %-12.12s %10.5f    %5s %10.5f    %5s  %-3s%-3s%-3s %-2s %-6s | %-3s %-3s %-3s %-3s "
        "%-4d%-8s",
        entry.Number(), name.c_str(), Megahertz(entry.rxHz), rx.c_str(), Megahertz(entry.txHz),
        tx.c_str(), power, repeater, band, hidden, selectable, selcall, openSelcall,
        yesNo(cr::kRxLockout), yesNo(cr::kTxLockout), encode, decodes.c_str());
}

// A group: its type, "SC" when it scans for selcall, its members and a scan group's priority
// channel.
std::string GroupRow(const pmr::ChannelEntry& entry) {
    const pmr::GroupType type = pmr::GroupTypeOf(entry);
    const std::string name = Utf8ToCp1252(entry.Name());
    const std::string typeText(pmr::GroupTypeText(type));
    std::string row = Printf("%03d %-12.12s  %-14.14s  %-3s  ", entry.Number(), name.c_str(),
                             typeText.c_str(), entry.Flag(cr::kSelcall) ? "SC" : "");
    const auto capacity = static_cast<std::size_t>(pmr::MemberCapacity(type));
    for (std::size_t m = 0; m < std::min(capacity, entry.members.size()); ++m) {
        if (entry.members[m] != pmr::kNoMember) {
            row += Printf("%03d ", static_cast<int>(entry.members[m]));
        }
    }
    const bool scan = type == pmr::GroupType::UserScan || type == pmr::GroupType::FixedScan;
    if (scan && entry.scanPriority != pmr::kNoMember) {
        row += Printf("P%d ", static_cast<int>(entry.scanPriority));
    }
    return row;
}

// ---- Selcall encodes and decodes ----

namespace qr = pmr::sequence_rows;

constexpr std::size_t kSequenceDashes = 106;

// A coded column as a short word of the lists; "?" for a code no word has.
const char* WordOf(std::int64_t code, std::initializer_list<const char*> words) {
    return code >= 0 && static_cast<std::size_t>(code) < words.size() ? words.begin()[code] : "?";
}

int IntOf(const pmr::SequenceRecord& record, const fields::FieldRow& column) {
    return static_cast<int>(pmr::ColumnValue(record, column));
}

std::string EncodeRow(const pmr::EncodeEntry& entry) {
    const pmr::SequenceRecord& r = entry.record;
    const std::string mask = pmr::TonesOf(r, pmr::SequenceKind::Encode).mask;
    const auto column = [](std::string_view id) -> const fields::FieldRow& {
        return qr::Column(qr::kEncodeColumns, id);
    };
    return Printf(
        "%03d    %-25.25s %-4d %-4d  %-9s %-9s  %-5s %-9s  %-4d  %-3s  %-3d %4d ", entry.number,
        mask.c_str(), IntOf(r, qr::kLinkEstablishTime), IntOf(r, qr::kLeadOutDelay),
        WordOf(pmr::ColumnValue(r, qr::kEncodeMute), {"NoChange", "Open", "Closed"}),
        WordOf(pmr::ColumnValue(r, qr::kQueuing),
               {"NoQueuing", "OnBusy", "InhOnBusy", "OnCarrier", "InhOnCarr"}),
        WordOf(pmr::ColumnValue(r, column("ignore_decodes")),
               {"No", "1s", "2s", "3s", "4s", "5s", "6s", "7s"}),
        WordOf(pmr::ColumnValue(r, column("user_ptt")), {"NoChange", "OvrTxLock", "Disabled"}),
        IntOf(r, qr::kResendInterval),
        WordOf(pmr::ColumnValue(r, qr::kAckDecode),
               {"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8"}),
        IntOf(r, column("max_resends")), IntOf(r, qr::kAppendEncode));
}

std::string DecodeRow(const pmr::DecodeEntry& entry) {
    const pmr::SequenceRecord& r = entry.record;
    const std::string mask = pmr::TonesOf(r, pmr::SequenceKind::Decode).mask;
    const std::string name = Utf8ToCp1252(entry.name);
    const auto column = [](std::string_view id) -> const fields::FieldRow& {
        return qr::Column(qr::kDecodeColumns, id);
    };
    return Printf("%03d  %-13.13s %-21.21s %-6s %-7s%-4d  %-6s %-4d %-4d  %-4d %-4d  ",
                  entry.number, name.c_str(), mask.c_str(),
                  WordOf(pmr::ColumnValue(r, qr::kAlertAction), {"Start", "Stop", "No"}),
                  WordOf(pmr::ColumnValue(r, column("alert_tone")),
                         {"Ring", "Bip", "2XBip", "Beep", "Urgent"}),
                  IntOf(r, column("alert_time")),
                  WordOf(pmr::ColumnValue(r, qr::kExternalAlert), {"No", "Start", "Stop"}),
                  IntOf(r, column("external_alert_delay")), IntOf(r, column("external_alert_time")),
                  IntOf(r, qr::kAckEncode), IntOf(r, column("ack_encode_delay")));
}

PmrJobImage PmrImageOf(std::span<const std::uint8_t> job) {
    PmrJobImage image;
    std::copy_n(job.begin(), std::min(job.size(), image.Size()), image.Bytes().begin());
    return image;
}

Report EncodesReportOfImage(std::span<const std::uint8_t> job) {
    return EncodesReport(pmr::LoadEncodes(PmrImageOf(job)));
}

Report DecodesReportOfImage(std::span<const std::uint8_t> job) {
    return DecodesReport(pmr::LoadDecodes(PmrImageOf(job)));
}

Report ChannelReportOfImage(std::span<const std::uint8_t> job) {
    pmr::ChannelTable table;
    pmr::LoadChannelTable(PmrImageOf(job), table);
    return ChannelReport(table);
}

// ---- Trunk phone book ----

constexpr std::size_t kPhonebookDashes = 60;

Report TrunkPhonebookReportOfImage(std::span<const std::uint8_t> job) {
    return TrunkPhonebookReport(LoadPhonebook(job));
}

Report PmrPhonebookReportOfImage(std::span<const std::uint8_t> job) {
    return PmrPhonebookReport(pmr::LoadSelcallPhonebook(job));
}

constexpr std::array kReportKinds = {
    ReportKind{"channels", "", kChannelTitle, fields::ImageId::Pmr, ChannelReportOfImage},
    ReportKind{"encodes", "", kEncodesTitle, fields::ImageId::Pmr, EncodesReportOfImage},
    ReportKind{"decodes", "", kDecodesTitle, fields::ImageId::Pmr, DecodesReportOfImage},
    ReportKind{"pmr-phonebook", "", kPmrPhonebookTitle, fields::ImageId::Pmr,
               PmrPhonebookReportOfImage},
    ReportKind{"trunk-phonebook", "phonebook", kTrunkPhonebookTitle, fields::ImageId::Trunk,
               TrunkPhonebookReportOfImage},
};

}  // namespace

Report ChannelReport(const pmr::ChannelTable& table) {
    Report report{.title = std::string(kChannelTitle),
                  .header1 = std::string(kChannelHeader1),
                  .header2 = std::string(kChannelHeader2),
                  .dashes = kChannelDashes};
    for (const pmr::ChannelEntry& entry : table.Entries()) {
        report.rows.push_back(Cp1252ToUtf8(entry.IsGroup() ? GroupRow(entry) : ChannelRow(entry)));
    }
    return report;
}

Report TrunkPhonebookReport(std::span<const PhonebookEntry> book) {
    Report report{.title = std::string(kTrunkPhonebookTitle),
                  .header1 = " Trunk Phonebook                     ",
                  .header2 = " #          Identity                     Name ",
                  .dashes = kPhonebookDashes};
    for (std::size_t e = 0; e < book.size(); ++e) {
        if (book[e].number.empty() && book[e].name.empty()) {
            continue;
        }
        const std::string label = PhonebookRowLabel(e);
        const std::string number = Utf8ToCp1252(book[e].number);
        const std::string name = Utf8ToCp1252(book[e].name);
        report.rows.push_back(Cp1252ToUtf8(Printf("%-8.8s    %-25.25s    %-25.25s ", label.c_str(),
                                                  number.c_str(), name.c_str())));
    }
    return report;
}

Report PmrPhonebookReport(std::span<const pmr::SelcallPhonebookEntry> book) {
    Report report{.title = std::string(kPmrPhonebookTitle),
                  .header1 = " PMR Phonebook                       ",
                  .header2 = " #      Name                         Selcall  ",
                  .dashes = kPhonebookDashes};
    for (std::size_t e = 0; e < book.size(); ++e) {
        if (book[e].name.empty() && book[e].identity.empty()) {
            continue;
        }
        const std::string name = Utf8ToCp1252(book[e].name);
        const std::string identity = Utf8ToCp1252(book[e].identity);
        report.rows.push_back(
            Cp1252ToUtf8(Printf("%-4.4s    %-25.25s    %-25.25s ", std::to_string(e).c_str(),
                                name.c_str(), identity.c_str())));
    }
    return report;
}

Report EncodesReport(std::span<const pmr::EncodeEntry> encodes) {
    Report report{.title = std::string(kEncodesTitle),
                  .header1 =
                      " #     Encode Mask               LET  LOD   Mute      Queuing   Ignore "
                      "User       RSend Ack  Max   Append  ",
                  .header2 =
                      "                                 mS   mS                         Dec   "
                      "PTT              Dec  RSend Encode ",
                  .dashes = kSequenceDashes};
    for (const pmr::EncodeEntry& entry : encodes) {
        report.rows.push_back(Cp1252ToUtf8(EncodeRow(entry)));
    }
    return report;
}

Report DecodesReport(std::span<const pmr::DecodeEntry> decodes) {
    Report report{.title = std::string(kDecodesTitle),
                  .header1 =
                      " #   Decode        Decode                Alert  Tone  Time   Ext   "
                      "Delay Time  Ack Ack  ",
                  .header2 =
                      "     Name          Mask                                      Alrt    "
                      "          Enc Delay ",
                  .dashes = kSequenceDashes};
    for (const pmr::DecodeEntry& entry : decodes) {
        report.rows.push_back(Cp1252ToUtf8(DecodeRow(entry)));
    }
    return report;
}

std::span<const ReportKind> ReportKinds() {
    return kReportKinds;
}

const ReportKind* FindReport(std::string_view name) {
    const auto* kind =
        std::find_if(kReportKinds.begin(), kReportKinds.end(), [&](const ReportKind& k) {
            return k.name == name || (!k.alias.empty() && k.alias == name);
        });
    return kind == kReportKinds.end() ? nullptr : kind;
}

}  // namespace km::print
