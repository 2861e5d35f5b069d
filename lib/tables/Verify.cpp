#include "tables/Verify.h"

#include <algorithm>

#include "fields/FieldOps.h"
#include "image/Images.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

bool NetworkHeld(fields::ImageId image, std::span<const std::uint8_t> bytes,
                 const PlacedField& field) {
    if (image != fields::ImageId::Trunk || !PerNetwork(*field.table)) {
        return true;
    }
    // A slot holds a network when the band word of its network file names one (neither 0 nor
    // 0xFFFF), as the Radio Type form shows it.
    const std::size_t band = trunk::NetworkFileStart(field.selector) + network::kBandCode;
    const unsigned word = bytes[band] | bytes[band + 1] << 8;
    return word != 0 && word != 0xFFFF;
}

// A code no list entry names and a text longer than the form lets one type are values the radio
// may still take; a number out of its range is not.
Severity SeverityOf(const fields::FieldRow& row, const std::string& message) {
    const bool unlisted = !row.choices.empty() && message == fields::kNotInListMessage;
    return unlisted || fields::IsTextEncoding(row.encoding) ? Severity::Warning : Severity::Error;
}

}  // namespace

std::vector<Finding> VerifyImage(fields::ImageId image, std::span<const std::uint8_t> bytes) {
    std::vector<Finding> findings;
    ForEachField(image, bytes, Records::InUse, [&](const PlacedField& field) {
        if (field.row->derived || !NetworkHeld(image, bytes, field)) {
            return;
        }
        const auto message =
            fields::CheckField(*field.row, fields::ReadField(*field.row, bytes, field.offset));
        if (message) {
            findings.push_back({SeverityOf(*field.row, *message), std::string(field.table->form),
                                std::string(field.row->tab), std::string(field.row->caption),
                                field.id, std::string(field.row->control), *message});
        }
    });
    return findings;
}

std::string FindingLine(const Finding& finding) {
    std::string line = finding.severity == Severity::Error ? "error: " : "warning: ";
    line += finding.form + " > ";
    if (!finding.tab.empty()) {
        line += finding.tab + " > ";
    }
    line += finding.caption + " (" + finding.id + "): ";
    for (char c : finding.message) {
        line.push_back(c == '\n' ? ' ' : c);
    }
    return line;
}

bool HasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace km::tables
