#pragma once
// The comma-separated files the tables of a job are exchanged in: one record a line, fields
// separated by commas with no quoting, Windows-1252 text, lines ended by CR LF (a bare LF is
// accepted). Line 1 names the job kind and the table, line 2 is a column header.
//
// Reading never trusts a line: lines of any length are read whole, a field of a single blank is
// empty, and a table takes only the fields it knows. Writing keeps the columns: a comma inside a
// text becomes a blank, since the format has no quoting.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace km::csv {

inline constexpr std::string_view kLineEnd = "\r\n";

// The lines of a file in UTF-8: split at LF, a CR before the LF dropped. A final LF ends the last
// line rather than starting an empty one.
std::vector<std::string> Lines(std::string_view text);

// The fields of a line: split at every comma; a field of one blank is empty.
std::vector<std::string> Fields(std::string_view line);

// True when line 1 names `kind` and `table` ("TRUNK", "Phonebook").
bool HeaderIs(std::string_view line, std::string_view kind, std::string_view table);

// A text as it is written into a field: commas become blanks.
std::string FieldText(std::string_view text);

// A row of a table whose lines are an index and the texts of a grid's columns (the phone books and
// the status list): "index,cell,cell", no line end, commas in a cell written as blanks. The rows
// the clipboard carries between grids are these lines too.
std::string IndexedRow(std::size_t index, const std::vector<std::string>& cells);
// The `count` cells after the index field of such a row; a cell the line lacks is empty.
std::vector<std::string> CellsOfIndexedRow(std::string_view line, std::size_t count);

// The rows of a file whose lines are an index and the texts of a grid's columns (the phone books
// and the status list), in file order: row r of the grid is the r-th line after the two header
// lines, whatever its index field says, so a file sorted or numbered by hand loses nothing. Each
// row is the `cells` fields after the index (missing ones empty); blank lines are no rows, and
// lines beyond `capacity` rows are counted as skipped.
struct GridRows {
    std::vector<std::vector<std::string>> rows;
    std::size_t skipped = 0;
};
GridRows RowsInFileOrder(const std::vector<std::string>& lines, std::size_t cells,
                         std::size_t capacity);

// A file's bytes (Windows-1252) as UTF-8 text, and back.
std::string TextOfFile(std::string_view bytes);
std::string FileOfText(std::string_view utf8);

// What an import did, for the message the user sees.
struct ImportSummary {
    std::size_t rows = 0;     // rows taken into the table
    std::size_t skipped = 0;  // rows of the file that were not taken
    // What the store changed so that the radio can take it (a frequency off the raster, groups
    // beyond the limits), in the words the desktop program shows.
    std::vector<std::string> notes;
};

}  // namespace km::csv
