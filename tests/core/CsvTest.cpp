// The rows of the index-and-cells tables (phone books, status list): what a grid line becomes as
// a CSV row, and what a row gives back, whatever a spreadsheet or a user left in it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Csv.h"

namespace km::csv {
namespace {

TEST(IndexedRowTest, WritesIndexThenCellsWithCommasAsBlanks) {
    struct Case {
        std::size_t index;
        std::vector<std::string> cells;
        std::string line;
    };
    const Case cases[] = {
        {0, {"123", "Base"}, "0,123,Base"},
        {249, {"", ""}, "249,,"},
        {7, {"Smith, J", "12"}, "7,Smith  J,12"},
        {100, {}, "100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IndexedRow(c.index, c.cells), c.line) << c.line;
    }
}

TEST(IndexedRowTest, CellsOfARowIgnoreTheIndexAndFillWhatIsMissing) {
    struct Case {
        std::string line;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {"5,Depot,1234", {"Depot", "1234"}},
        {"x,Depot,1234", {"Depot", "1234"}},  // the index is not read
        {"5,Depot", {"Depot", ""}},           // a short line
        {"5, ,1234", {"", "1234"}},           // a single blank is empty
        {"5,Depot,1234,extra", {"Depot", "1234"}},
        {"", {"", ""}},
        {",,", {"", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellsOfIndexedRow(c.line, 2), c.cells) << c.line;
    }
}

TEST(IndexedRowTest, ARowWrittenReadsBackItsCells) {
    const std::vector<std::string> cells = {"0123", "Workshop"};
    EXPECT_EQ(CellsOfIndexedRow(IndexedRow(42, cells), cells.size()), cells);
}

}  // namespace
}  // namespace km::csv
