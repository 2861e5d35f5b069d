#pragma once
// The channel table as a Qt table model for the sheet: the rows are the table's entries, the
// columns the fields of the channel CSV row (pmr/ChannelSheet.h). Nothing is copied: a cell reads
// its entry when the view paints it, so 1000 channels open at once.
//
// Every change (a cell, a fill, an insert, a clear) is one undo step that keeps the table before
// and after it. After each change, and after its undo and redo, `changed` is emitted: the form
// then applies the table's store rules to the job.

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "pmr/ChannelSheet.h"
#include "pmr/ChannelTable.h"

namespace km {

class ChannelSheetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // What the view sorts by: hertz and numbers as numbers, the rest as text.
    static constexpr int kSortRole = Qt::UserRole + 1;

    ChannelSheetModel(pmr::ChannelTable& table, std::function<pmr::SheetContext()> context,
                      QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A cell typed in: refused values leave the table alone; LastResult says what happened.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The commands of the sheet, each one undo step when it changes anything.
    pmr::SheetResult SetText(std::size_t position, pmr::SheetColumn column, const QString& text);
    // Cells of several columns emptied together.
    struct Cell {
        std::size_t position;
        pmr::SheetColumn column;
    };
    pmr::SheetResult Clear(std::span<const Cell> cells);
    pmr::SheetResult FillDown(pmr::SheetColumn column, std::span<const std::size_t> positions);
    pmr::SheetResult FillSeries(pmr::SheetColumn column, std::span<const std::size_t> positions,
                                std::int64_t stepHz);
    // Several columns at once, each from its own first selected cell.
    pmr::SheetResult FillDown(std::span<const pmr::ColumnRows> columns);
    pmr::SheetResult FillSeries(std::span<const pmr::ColumnRows> columns, std::int64_t stepHz);
    // The channel after the one at `after` (or `model` when there is none to follow).
    pmr::SheetResult AddNext(std::optional<std::size_t> after, const pmr::ChannelEntry& model,
                             std::int64_t stepHz);
    pmr::SheetResult Insert(const pmr::ChannelEntry& model, const pmr::InsertRequest& request);
    // A change of the table made by a command of its own (a paste, a bulk edit): `edit` returns
    // true when it changed anything.
    void Change(const QString& text, const std::function<bool()>& edit);

    // What the last command did (for the note beside the cell).
    const pmr::SheetResult& LastResult() const { return last_; }
    pmr::SheetContext Context() const { return context_(); }
    const pmr::ChannelTable& Table() const { return table_; }

    // The table changed outside the sheet (a load, the list's editors): the views read it again.
    void Reload();

  signals:
    // The table changed through the sheet, or an undo or redo of such a change.
    void changed();
    // A value typed into a cell was taken or refused (LastResult says which).
    void answered();

  private:
    pmr::SheetResult Run(const QString& text, const std::function<pmr::SheetResult()>& edit);
    // The views show the table again: rows moved within (a renumber) or rows added or removed.
    void Refresh(std::size_t sizeBefore);

    pmr::ChannelTable& table_;
    std::function<pmr::SheetContext()> context_;
    pmr::SheetResult last_;
};

}  // namespace km
