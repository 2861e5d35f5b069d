#include "fleet/Sheet.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "core/Csv.h"
#include "core/Strings.h"

namespace km::fleet {
namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xE  ? 3
                                   : (c >> 3) == 0x1E ? 4
                                                      : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// The key a row is found by: a port's COM name in capitals, a serial number as written.
std::string KeyOf(SheetKey key, std::string_view text) {
    const std::string trimmed(Trim(text));
    return key == SheetKey::Port ? Upper(trimmed) : trimmed;
}

}  // namespace

const Sheet::Row* Sheet::Find(std::string_view wanted) const {
    const std::string k = KeyOf(key, wanted);
    for (const Row& row : rows) {
        if (KeyOf(key, row.key) == k) {
            return &row;
        }
    }
    return nullptr;
}

std::vector<tables::FieldChange> Sheet::ChangesOf(const Row& row) const {
    std::vector<tables::FieldChange> changes;
    for (std::size_t i = 0; i < ids.size() && i < row.values.size(); ++i) {
        if (!row.values[i].empty()) {
            changes.push_back({ids[i], row.values[i]});
        }
    }
    return changes;
}

std::vector<std::string> SplitCsvLine(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;     // inside quotes
    bool wasQuoted = false;  // the field had quotes: its blanks are its own
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == '"' && Trim(field).empty()) {
            quoted = true;
            wasQuoted = true;
            field.clear();
        } else if (c == ',') {
            fields.push_back(wasQuoted ? field : std::string(Trim(field)));
            field.clear();
            wasQuoted = false;
        } else if (!wasQuoted) {
            field.push_back(c);
        }
    }
    fields.push_back(wasQuoted ? field : std::string(Trim(field)));
    return fields;
}

std::variant<Sheet, std::string> ParseSheet(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const std::string text = ValidUtf8(bytes) ? std::string(bytes) : csv::TextOfFile(bytes);
    const std::vector<std::string> lines = csv::Lines(text);
    std::size_t first = 0;
    while (first < lines.size() && Trim(lines[first]).empty()) {
        ++first;
    }
    if (first == lines.size()) {
        return std::string("the sheet is empty");
    }
    Sheet sheet;
    std::vector<std::string> header = SplitCsvLine(lines[first]);
    const std::string keyName = Upper(header[0]);
    if (keyName != "SERIAL" && keyName != "PORT") {
        return "line " + std::to_string(first + 1) +
               ": the header must begin with \"serial\" or \"port\", then field ids";
    }
    sheet.key = keyName == "PORT" ? SheetKey::Port : SheetKey::Serial;
    sheet.ids.assign(header.begin() + 1, header.end());
    for (std::size_t i = 0; i < sheet.ids.size(); ++i) {
        if (sheet.ids[i].empty()) {
            return "line " + std::to_string(first + 1) + ": column " + std::to_string(i + 2) +
                   " has no field id";
        }
    }
    std::set<std::string> keys;
    for (std::size_t n = first + 1; n < lines.size(); ++n) {
        if (Trim(lines[n]).empty()) {
            continue;
        }
        std::vector<std::string> cells = SplitCsvLine(lines[n]);
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        if (cells.size() > header.size()) {
            return where + "more cells than the header has columns";
        }
        if (cells[0].empty()) {
            return where + "no " + (sheet.key == SheetKey::Port ? "port" : "serial number");
        }
        if (!keys.insert(KeyOf(sheet.key, cells[0])).second) {
            return where + cells[0] + " has a row already";
        }
        Sheet::Row row{cells[0], std::vector<std::string>(cells.begin() + 1, cells.end()), n + 1};
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

}  // namespace km::fleet
