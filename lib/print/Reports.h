#pragma once
// The report tables of a job, with their exact header lines, dashed lines and row formats:
// the PMR channel table (channels and groups in list order), the selcall encodes and decodes (every
// entry of their lists) and the trunk and PMR phone books (only the entries that have a name or a
// number). Each report is one entry of ReportKinds(), so
// the desktop program and km700rcp-cli print the same lines.

#include <cstdint>
#include <span>
#include <string_view>

#include "config/Phonebook.h"
#include "fields/Field.h"
#include "pmr/ChannelTable.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"
#include "print/Report.h"

namespace km::print {

inline constexpr std::string_view kChannelTitle = "PMR Channel Table";
inline constexpr std::string_view kTrunkPhonebookTitle = "Trunk Phonebook Table";
inline constexpr std::string_view kPmrPhonebookTitle = "Phonebook Table";
inline constexpr std::string_view kEncodesTitle = "PMR Selcall Encodes Table";
inline constexpr std::string_view kDecodesTitle = "PMR Selcall Decodes Table";

Report ChannelReport(const pmr::ChannelTable& table);
Report TrunkPhonebookReport(std::span<const PhonebookEntry> book);
Report PmrPhonebookReport(std::span<const pmr::SelcallPhonebookEntry> book);
Report EncodesReport(std::span<const pmr::EncodeEntry> encodes);
Report DecodesReport(std::span<const pmr::DecodeEntry> decodes);

struct ReportKind {
    std::string_view name;   // km700rcp-cli print --report NAME
    std::string_view alias;  // another name it goes by (the table's name in csv), or empty
    std::string_view title;  // the printer's document title
    fields::ImageId image;   // the kind of job that holds the table
    // The report of a job image of that kind (its exact size).
    Report (*build)(std::span<const std::uint8_t> job);
};

std::span<const ReportKind> ReportKinds();
const ReportKind* FindReport(std::string_view name);

}  // namespace km::print
