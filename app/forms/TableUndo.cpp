#include "forms/TableUndo.h"

#include <QApplication>
#include <QEvent>

namespace km::undo {

class TableCells::Step : public DoneStep {
  public:
    Step(TableCells& cells, const QString& text, std::vector<Change> changes)
        : DoneStep(text), cells_(&cells), changes_(std::move(changes)) {}
    void Redo() override { Put(true); }
    void Undo() override { Put(false); }

  private:
    void Put(bool after) {
        if (cells_ != nullptr) {
            cells_->Show(changes_, after);
        }
    }
    QPointer<TableCells> cells_;  // gone with its form
    std::vector<Change> changes_;
};

TableCells::TableCells(QTableWidget& table) : table_(table) {
    connect(&table_, &QTableWidget::itemChanged, this, [this] {
        if (!showing_) {
            CommitSoon(*this);
        }
    });
    // A cell editor lives in the viewport; when it goes, its cell's edit is done.
    table_.viewport()->installEventFilter(this);
    Rebase();
}

bool TableCells::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildRemoved) {
        CommitSoon(*this);
    }
    return QObject::eventFilter(watched, event);
}

bool TableCells::Editing() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && table_.viewport()->isAncestorOf(focus);
}

void TableCells::Commit() {
    if (committed_.size() != static_cast<std::size_t>(table_.rowCount())) {
        Rebase();  // the table was set up anew: no edit
        return;
    }
    std::vector<Change> changes;
    for (int line = 0; line < table_.rowCount(); ++line) {
        auto& texts = committed_[static_cast<std::size_t>(line)];
        texts.resize(static_cast<std::size_t>(table_.columnCount()));
        for (int column = 0; column < table_.columnCount(); ++column) {
            const QTableWidgetItem* item = table_.item(line, column);
            const QString now = item ? item->text() : QString();
            QString& before = texts[static_cast<std::size_t>(column)];
            if (now != before) {
                changes.push_back({line, column, before, now});
                before = now;
            }
        }
    }
    if (!changes.empty()) {
        const QTableWidgetItem* title = table_.horizontalHeaderItem(changes.front().column);
        Record(QStringLiteral("Edit %1").arg(title ? title->text() : QString()),
               std::move(changes));
    }
}

void TableCells::Record(const QString& text, std::vector<Change> changes) {
    if (!changes.empty() && Recorded(table_)) {
        Push(std::make_unique<Step>(*this, text, std::move(changes)));
    }
}

void TableCells::Rebase() {
    committed_.assign(static_cast<std::size_t>(table_.rowCount()), {});
    for (int line = 0; line < table_.rowCount(); ++line) {
        for (int column = 0; column < table_.columnCount(); ++column) {
            const QTableWidgetItem* item = table_.item(line, column);
            committed_[static_cast<std::size_t>(line)].push_back(item ? item->text() : QString());
        }
    }
}

void TableCells::Loaded(int line, int column, const QString& text) {
    if (line >= 0 && static_cast<std::size_t>(line) < committed_.size()) {
        auto& texts = committed_[static_cast<std::size_t>(line)];
        if (column >= 0 && static_cast<std::size_t>(column) < texts.size()) {
            texts[static_cast<std::size_t>(column)] = text;
        }
    }
}

void TableCells::Show(const std::vector<Change>& changes, bool after) {
    showing_ = true;
    for (const Change& change : changes) {
        const QString& text = after ? change.after : change.before;
        if (QTableWidgetItem* item = table_.item(change.line, change.column)) {
            item->setText(text);
        }
        Loaded(change.line, change.column, text);
    }
    showing_ = false;
}

}  // namespace km::undo
