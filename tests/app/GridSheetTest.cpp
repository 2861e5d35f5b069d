// Fill down, fill series and sort for viewing on the grids of the forms (the phone books and the
// status list): the grid's own checks hold, a fill is one undo step or nothing, and sorting moves
// lines only on the screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>
#include <array>

#include "ScriptedPerson.h"
#include "forms/FieldGrid.h"
#include "forms/GridSheet.h"
#include "forms/Undo.h"

namespace km {
namespace {

constexpr int kName = 1;
constexpr int kNumber = 2;

// A phone book of ten lines: names of up to 12 characters, numbers of up to 4 digits.
struct Book {
    Book() : grid(table, person) {
        undo::SetStack(&history);
        const FieldGrid::Column columns[] = {{"Entry", 40}, {"Name", 100}, {"Number", 60}};
        grid.SetUp(10, columns, 0);
        grid.SetEditor(kName, {FieldGrid::Editor::Kind::Text, 12, {}, {}});
        grid.SetEditor(kNumber, {FieldGrid::Editor::Kind::Digits, 4, {}, {}});
        grid.extraCheck = [this](int line, int column,
                                 FieldGrid::Moment) -> std::optional<std::string> {
            if (column == kNumber && grid.Text(line, column).size() > 4) {
                return "A number has at most 4 digits.";
            }
            return std::nullopt;
        };
        sheet.emplace(grid, table, person);
        undo::StartAfresh();
    }
    ~Book() { undo::SetStack(nullptr); }
    void Select(int column, int first, int last) {
        table.setCurrentCell(first, column);
        table.setRangeSelected(QTableWidgetSelectionRange(first, column, last, column), true);
    }
    void Settle() {
        QCoreApplication::processEvents();
        undo::CommitAll();
    }

    QUndoStack history;
    QTableWidget table;
    testing::ScriptedPerson person;
    FieldGrid grid;
    std::optional<GridSheet> sheet;
};

TEST(GridSheetTest, FillDownAndFillSeriesAreOneUndoStepEach) {
    Book book;
    book.grid.SetText(0, kName, "Truck 1");
    book.grid.SetText(0, kNumber, "100");
    book.Settle();
    const int steps = book.history.count();

    book.Select(kName, 0, 4);
    QTest::keyClick(&book.table, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    book.Settle();
    book.table.clearSelection();
    book.Select(kNumber, 0, 4);
    QTest::keyClick(&book.table, Qt::Key_D, Qt::ControlModifier);
    book.Settle();
    EXPECT_EQ(book.grid.Text(4, kName), "Truck 5");
    EXPECT_EQ(book.grid.Text(4, kNumber), "100");
    EXPECT_EQ(book.history.count(), steps + 2);
    book.history.undo();
    EXPECT_EQ(book.grid.Text(4, kNumber), "");
    EXPECT_EQ(book.grid.Text(4, kName), "Truck 5");
    book.sheet->FillSeries();  // the numbers again, counting
    book.Settle();
    EXPECT_EQ(book.grid.Text(4, kNumber), "104");
    EXPECT_TRUE(book.person.shown.empty());
}

TEST(GridSheetTest, AFillACellCannotTakeIsTakenBackWholeAndTheLineNamed) {
    Book book;
    book.grid.SetText(0, kNumber, "9998");
    book.Settle();
    const int steps = book.history.count();
    book.Select(kNumber, 0, 3);
    book.sheet->FillSeries();
    book.Settle();
    ASSERT_EQ(book.person.shown.size(), 1u);
    EXPECT_EQ(book.person.shown[0].text, "Entry 2: A number has at most 4 digits.");
    EXPECT_EQ(book.grid.Text(1, kNumber), "");
    EXPECT_EQ(book.grid.Text(3, kNumber), "");
    EXPECT_EQ(book.history.count(), steps) << "nothing changed";
}

TEST(GridSheetTest, AFillCoversEverySelectedColumnAsOneStep) {
    Book book;
    book.grid.SetText(0, kName, "Truck 1");
    book.grid.SetText(0, kNumber, "100");
    book.grid.SetText(5, kName, "Spare");
    book.Settle();
    const int steps = book.history.count();
    book.table.setCurrentCell(0, kName);
    book.table.setRangeSelected(QTableWidgetSelectionRange(0, kName, 3, kNumber), true);
    QTest::keyClick(&book.table, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    book.Settle();
    EXPECT_EQ(book.grid.Text(3, kName), "Truck 4");
    EXPECT_EQ(book.grid.Text(3, kNumber), "103");
    EXPECT_EQ(book.grid.Text(4, kName), "") << "outside the selection";
    EXPECT_EQ(book.history.count(), steps + 1);
    book.history.undo();
    EXPECT_EQ(book.grid.Text(3, kName), "");
    EXPECT_EQ(book.grid.Text(3, kNumber), "");

    // A number that grows past four digits takes back the names filled with it.
    book.grid.SetText(0, kNumber, "9998");
    book.Settle();
    const int before = book.history.count();
    book.table.setRangeSelected(QTableWidgetSelectionRange(0, kName, 5, kNumber), true);
    book.sheet->FillSeries();
    book.Settle();
    ASSERT_EQ(book.person.shown.size(), 1u);
    EXPECT_EQ(book.person.shown[0].text, "Entry 2: A number has at most 4 digits.");
    EXPECT_EQ(book.grid.Text(1, kName), "");
    EXPECT_EQ(book.grid.Text(5, kName), "Spare");
    EXPECT_EQ(book.history.count(), before) << "nothing changed";
}

TEST(GridSheetTest, SortingForViewingMovesLinesOnTheScreenOnly) {
    Book book;
    const char* numbers[] = {"30", "9", "", "100"};
    for (int line = 0; line < 4; ++line) {
        book.grid.SetText(line, kNumber, numbers[line]);
    }
    book.Settle();
    QHeaderView& shown = *book.table.verticalHeader();
    book.sheet->SortForViewing(kNumber);
    EXPECT_EQ(shown.logicalIndex(0), 1) << "9 first";
    EXPECT_EQ(shown.logicalIndex(1), 0);
    EXPECT_EQ(shown.logicalIndex(2), 3);
    EXPECT_EQ(book.grid.Text(3, kNumber), "100") << "the entry is where it was";
    // A click on the title sorts the other way, the next back to the stored order.
    book.table.horizontalHeader()->sectionClicked(kNumber);
    EXPECT_EQ(shown.logicalIndex(0), 3);
    book.table.horizontalHeader()->sectionClicked(kNumber);
    for (int line = 0; line < 10; ++line) {
        EXPECT_EQ(shown.logicalIndex(line), line);
    }
    // A fill follows the lines as shown.
    book.sheet->SortForViewing(kNumber, Qt::DescendingOrder);  // 100, 30, 9
    book.Select(kName, 3, 3);
    book.table.setCurrentCell(3, kName);
    book.grid.SetText(3, kName, "Top 1");
    book.Settle();
    book.table.clearSelection();
    for (int line : {3, 0, 1}) {
        book.table.setRangeSelected(QTableWidgetSelectionRange(line, kName, line, kName), true);
    }
    book.sheet->FillSeries();
    EXPECT_EQ(book.grid.Text(0, kName), "Top 2");
    EXPECT_EQ(book.grid.Text(1, kName), "Top 3");
}

// A grid bound to the records of a table that lies elsewhere in each image loads and stores each
// image's own place: the trunk records at 10, the PMR records at 20 with the column one byte on.
constexpr fields::FieldRow kLevelColumns[] = {
    {.id = "level", .caption = "Level", .at = {.trunk = 0, .pmr = 1}, .max = 200}};
constexpr fields::RecordTable kLevels = {.id = "levels",
                                         .base = {.trunk = 10, .pmr = 20},
                                         .stride = 2,
                                         .capacity = 3,
                                         .columns = kLevelColumns};

TEST(FieldGridTest, RecordCellsLoadAndStoreAtThePlaceOfTheImageGiven) {
    QTableWidget table;
    testing::ScriptedPerson person;
    FieldGrid grid(table, person);
    const FieldGrid::Column columns[] = {{"Entry", 40}, {"Level", 60}};
    grid.SetUp(3, columns);
    for (int entry = 0; entry < 3; ++entry) {
        grid.BindRecord(entry, 1, kLevels, entry, kLevelColumns[0]);
    }
    std::array<std::uint8_t, 32> bytes{};
    bytes[10] = 1;
    bytes[12] = 2;
    bytes[14] = 3;
    bytes[21] = 7;
    bytes[23] = 8;
    bytes[25] = 9;

    grid.Load(fields::ImageId::Trunk, bytes, 0);
    EXPECT_EQ(grid.Text(2, 1), "3");
    grid.Load(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(grid.Text(0, 1), "7");
    EXPECT_EQ(grid.Text(2, 1), "9");

    grid.SetText(1, 1, "55");
    grid.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes[23], 55);
    EXPECT_EQ(bytes[12], 2);
    EXPECT_EQ(bytes[22], 0);
    // An image without the table leaves the cells and the bytes alone.
    grid.Store(fields::ImageId::Network, bytes, 0);
    grid.Load(fields::ImageId::Network, bytes, 0);
    EXPECT_EQ(grid.Text(1, 1), "55");
}

}  // namespace
}  // namespace km
