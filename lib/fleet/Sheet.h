#pragma once
// The sheet of a fleet: a CSV file whose header is "serial" (or "port") followed by field ids,
// then one row per radio with that radio's own values. A value that holds a comma is written in
// double quotes, as spreadsheets write it ("" inside stands for one quote).

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tables/SetValues.h"

namespace km::fleet {

enum class SheetKey { Serial, Port };

struct Sheet {
    struct Row {
        std::string key;  // the radio's serial number or port
        std::vector<std::string> values;
        std::size_t line = 0;  // in the file, from 1
    };

    SheetKey key = SheetKey::Serial;
    std::vector<std::string> ids;
    std::vector<Row> rows;

    // The row of a radio; COM names of ports match whatever their letter case.
    const Row* Find(std::string_view key) const;
    // The values of a row as changes, in the order of the columns; an empty cell leaves the
    // field as the job has it.
    std::vector<tables::FieldChange> ChangesOf(const Row& row) const;
};

// The fields of one CSV line: split at commas outside double quotes; blanks around a field
// outside quotes are dropped.
std::vector<std::string> SplitCsvLine(std::string_view line);

// A sheet from a file's bytes (UTF-8, or Windows-1252 when they are no UTF-8). The error is one
// line for the user: a header that starts with neither "serial" nor "port", a row with more cells
// than the header, a radio named twice.
std::variant<Sheet, std::string> ParseSheet(std::string_view bytes);

}  // namespace km::fleet
