#pragma once
// A spreadsheet's commands on a grid of a form (the phone books, the status list): Ctrl+D fills
// the selected cells of each column with the first one, Fill Series (the grid's context menu, or
// Ctrl+Shift+D) counts on from it ("CH 1", "CH 2" ...; 100, 101 ...), and a click on a column's
// title sorts the lines for viewing: again the other way, a third time back to the stored order.
// Sorting moves only what is shown: every line stays the entry it is, so the store and the
// clipboard see the stored order.
//
// A fill goes through the grid's own checks: when a cell cannot take its text the fill is taken
// back whole and the message names the line. A fill is one undo step.

#include <QAction>
#include <QObject>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "forms/FieldGrid.h"

namespace km {

class Person;

class GridSheet : public QObject {
    Q_OBJECT
  public:
    GridSheet(FieldGrid& grid, QTableWidget& table, Person& person);

    void FillDown();
    void FillSeries();
    // Sorts the lines for viewing by a column's text (numbers as numbers); nullopt: stored order.
    void SortForViewing(std::optional<int> column, Qt::SortOrder order = Qt::AscendingOrder);

    QAction Action_FillDown;
    QAction Action_FillSeries;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Fill(bool series);
    // The selected lines of a column, in the order they are shown.
    std::vector<int> SelectedLines(int column) const;
    void TitleClicked(int column);

    FieldGrid& grid_;
    QTableWidget& table_;
    Person& person_;
    std::optional<int> sortColumn_;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace km
