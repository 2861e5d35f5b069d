#pragma once
// The rows of the channel table for the Edit menu: the selected entries copied (as the rows of the
// channel CSV file, and exactly for another job of this program), entries pasted by number, and
// one column set over the selected channels. The same commands serve the list and the sheet;
// each change is one undo step of the view that shows the rows.

#include <QTableView>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Dialogs.h"
#include "core/Person.h"
#include "forms/RecordTableModel.h"
#include "forms/Undo.h"
#include "pmr/ChannelEdit.h"
#include "pmr/ChannelTable.h"

namespace km {

// What the commands need of the view that shows the rows.
struct ChannelRows {
    // The selected positions in table order (the current one when none is selected).
    std::function<std::vector<std::size_t>()> selected;
    std::function<void(const std::vector<std::size_t>&)> select;
    // Runs `edit`, which changes the table and returns true when it did, as one undo step named
    // `text` about the entry at `where` (the current one when not given); the view shows the
    // table again.
    std::function<void(const QString& text, std::optional<std::size_t> where,
                       const std::function<bool()>& edit)>
        change;
};

// The rows of the channel list and its model.
ChannelRows ListRows(QTableView& view, RecordTableModel& model, const pmr::ChannelTable& table);

class ChannelRowsClipboard : public undo::RowClipboard {
  public:
    // `view` is the widget the Edit menu finds by the focus; `context` gives the Channel
    // Editor's context for the rules a bulk edit runs.
    ChannelRowsClipboard(QWidget& view, ChannelRows rows, pmr::ChannelTable& table, Person& person,
                         Dialogs& dialogs, std::function<pmr::ChannelEditContext()> context);

    std::unique_ptr<QMimeData> CopyRows() const override;
    void PasteRows(const QMimeData& data) override;
    bool CanBulkEdit() const override { return true; }
    void BulkEdit() override;

  private:
    QWidget& view_;
    ChannelRows rows_;
    pmr::ChannelTable& table_;
    Person& person_;
    Dialogs& dialogs_;
    std::function<pmr::ChannelEditContext()> context_;
};

}  // namespace km
