#include "core/Csv.h"

#include <algorithm>

#include "core/Cp1252.h"

namespace km::csv {

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        const std::string_view field = line.substr(0, comma);
        fields.emplace_back(field == " " ? std::string_view() : field);
        if (comma == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(comma + 1);
    }
}

bool HeaderIs(std::string_view line, std::string_view kind, std::string_view table) {
    const std::vector<std::string> fields = Fields(line);
    return fields.size() >= 2 && fields[0] == kind && fields[1] == table;
}

std::string FieldText(std::string_view text) {
    std::string field(text);
    std::replace(field.begin(), field.end(), ',', ' ');
    return field;
}

std::string IndexedRow(std::size_t index, const std::vector<std::string>& cells) {
    std::string row = std::to_string(index);
    for (const std::string& cell : cells) {
        row.append(",").append(FieldText(cell));
    }
    return row;
}

std::vector<std::string> CellsOfIndexedRow(std::string_view line, std::size_t count) {
    std::vector<std::string> fields = Fields(line);
    fields.erase(fields.begin());  // the index: the row goes where it is put
    fields.resize(count);
    return fields;
}

GridRows RowsInFileOrder(const std::vector<std::string>& lines, std::size_t cells,
                         std::size_t capacity) {
    constexpr std::size_t kHeaderLines = 2;
    GridRows grid;
    for (std::size_t l = kHeaderLines; l < lines.size(); ++l) {
        if (lines[l].empty()) {
            continue;
        }
        if (grid.rows.size() == capacity) {
            ++grid.skipped;
            continue;
        }
        grid.rows.push_back(CellsOfIndexedRow(lines[l], cells));
    }
    return grid;
}

std::string TextOfFile(std::string_view bytes) {
    return Cp1252ToUtf8(bytes);
}

std::string FileOfText(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

}  // namespace km::csv
