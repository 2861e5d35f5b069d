#include "forms/GridSheet.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <set>

#include "core/Person.h"
#include "core/Series.h"
#include "forms/FieldBinder.h"

namespace km {
namespace {

constexpr const char* kFillDownText = "Fill Down\tCtrl+D";
constexpr const char* kFillSeriesText = "Fill Series\tCtrl+Shift+D";
// The line a refused fill stopped at: "Entry 12: " and the cell's own message.
constexpr const char* kRefusedLineText = "%1 %2: %3";
constexpr std::string_view kSelectCellsText =
    "Select the cells to fill: the first cell of each column is filled into the others.";

// A cell's text as a number when it is one, so that 9 sorts before 10.
std::optional<long long> NumberOf(const QString& text) {
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

bool Before(const QString& a, const QString& b) {
    const auto x = NumberOf(a);
    const auto y = NumberOf(b);
    if (x && y) {
        return *x < *y;
    }
    if (x.has_value() != y.has_value()) {
        return x.has_value();  // numbers first, then texts, then empty cells
    }
    if (a.isEmpty() != b.isEmpty()) {
        return b.isEmpty();
    }
    return QString::localeAwareCompare(a, b) < 0;
}

}  // namespace

GridSheet::GridSheet(FieldGrid& grid, QTableWidget& table, Person& person)
    : grid_(grid), table_(table), person_(person) {
    // The keys are the grid's own (eventFilter); the menu names them.
    Action_FillDown.setText(kFillDownText);
    Action_FillSeries.setText(kFillSeriesText);
    for (QAction* action : {&Action_FillDown, &Action_FillSeries}) {
        table_.addAction(action);
    }
    table_.setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(&Action_FillDown, &QAction::triggered, this, [this] { FillDown(); });
    connect(&Action_FillSeries, &QAction::triggered, this, [this] { FillSeries(); });
    QHeaderView& titles = *table_.horizontalHeader();
    titles.setSectionsClickable(true);
    connect(&titles, &QHeaderView::sectionClicked, this,
            [this](int column) { TitleClicked(column); });
    table_.installEventFilter(this);
}

bool GridSheet::eventFilter(QObject* watched, QEvent* event) {
    // The grid's keys come before the form's: Ctrl+D and Ctrl+Shift+D are the fills.
    if (watched == &table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_D && (key->modifiers() & Qt::ControlModifier)) {
            Fill(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void GridSheet::FillDown() {
    Fill(false);
}

void GridSheet::FillSeries() {
    Fill(true);
}

std::vector<int> GridSheet::SelectedLines(int column) const {
    std::vector<int> lines;
    for (const QModelIndex& index : table_.selectionModel()->selectedIndexes()) {
        if (index.column() == column) {
            lines.push_back(index.row());
        }
    }
    const QHeaderView& shown = *table_.verticalHeader();
    std::sort(lines.begin(), lines.end(),
              [&](int a, int b) { return shown.visualIndex(a) < shown.visualIndex(b); });
    return lines;
}

void GridSheet::Fill(bool series) {
    // Every selected column but the entry's index, each from its own first selected cell.
    std::set<int> selected;
    for (const QModelIndex& index : table_.selectionModel()->selectedIndexes()) {
        if (index.column() > 0) {
            selected.insert(index.column());
        }
    }
    struct Cell {
        int line;
        int column;
        QString before;
    };
    std::vector<Cell> filled;
    for (const int column : selected) {
        const std::vector<int> lines = SelectedLines(column);
        const std::string first =
            lines.empty() ? std::string() : grid_.Text(lines.front(), column).toStdString();
        for (std::size_t k = 1; k < lines.size(); ++k) {
            filled.push_back({lines[k], column, grid_.Text(lines[k], column)});
            const long long steps = series ? static_cast<long long>(k) : 0;
            grid_.SetText(lines[k], column, ToQString(CountedText(first, steps)));
        }
    }
    if (filled.empty()) {
        person_.Inform(kSelectCellsText);
        return;
    }
    for (const Cell& cell : filled) {
        const auto message = grid_.CellMessage(cell.line, cell.column, FieldGrid::Moment::Move);
        if (!message) {
            continue;
        }
        // Taken back whole: what the grid shows is what it showed before.
        for (const Cell& back : filled) {
            grid_.SetText(back.line, back.column, back.before);
        }
        const QString title = table_.horizontalHeaderItem(0) != nullptr
                                  ? table_.horizontalHeaderItem(0)->text()
                                  : QString();
        person_.Error(QString(kRefusedLineText)
                          .arg(title, grid_.Text(cell.line, 0), ToQString(*message))
                          .toStdString());
        return;
    }
}

void GridSheet::TitleClicked(int column) {
    if (column <= 0) {
        SortForViewing(std::nullopt);
    } else if (sortColumn_ != column) {
        SortForViewing(column, Qt::AscendingOrder);
    } else if (sortOrder_ == Qt::AscendingOrder) {
        SortForViewing(column, Qt::DescendingOrder);
    } else {
        SortForViewing(std::nullopt);
    }
}

void GridSheet::SortForViewing(std::optional<int> column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    std::vector<int> lines(static_cast<std::size_t>(table_.rowCount()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = static_cast<int>(i);
    }
    if (column) {
        std::stable_sort(lines.begin(), lines.end(), [&](int a, int b) {
            const QString x = grid_.Text(a, *column);
            const QString y = grid_.Text(b, *column);
            // Empty lines stay at the end either way.
            if (x.isEmpty() != y.isEmpty()) {
                return y.isEmpty();
            }
            return order == Qt::AscendingOrder ? Before(x, y) : Before(y, x);
        });
    }
    // The lines move on the screen only: a line is still the entry it was.
    QHeaderView& shown = *table_.verticalHeader();
    for (std::size_t place = 0; place < lines.size(); ++place) {
        shown.moveSection(shown.visualIndex(lines[place]), static_cast<int>(place));
    }
    QHeaderView& titles = *table_.horizontalHeader();
    titles.setSortIndicatorShown(column.has_value());
    if (column) {
        titles.setSortIndicator(*column, order);
    }
}

}  // namespace km
