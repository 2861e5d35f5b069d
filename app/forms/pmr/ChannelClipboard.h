#pragma once
// The rows of the channel list for the Edit menu: the selected entries copied (as the rows of the
// channel CSV file, and exactly for another job of this program), entries pasted by number, and
// one column set over the selected channels. Each change is one undo step of the list's model.

#include <QTableView>
#include <functional>
#include <memory>
#include <vector>

#include "Dialogs.h"
#include "core/Person.h"
#include "forms/RecordTableModel.h"
#include "forms/Undo.h"
#include "pmr/ChannelEdit.h"
#include "pmr/ChannelTable.h"

namespace km {

class ChannelRowsClipboard : public undo::RowClipboard {
  public:
    // `context` gives the Channel Editor's context for the rules a bulk edit runs.
    ChannelRowsClipboard(QTableView& view, RecordTableModel& model, pmr::ChannelTable& table,
                         Person& person, Dialogs& dialogs,
                         std::function<pmr::ChannelEditContext()> context);

    std::unique_ptr<QMimeData> CopyRows() const override;
    void PasteRows(const QMimeData& data) override;
    bool CanBulkEdit() const override { return true; }
    void BulkEdit() override;

    // The selected positions in table order (the current one when none is selected).
    std::vector<std::size_t> SelectedPositions() const;
    void SelectPositions(const std::vector<std::size_t>& positions);

  private:
    QTableView& view_;
    RecordTableModel& model_;
    pmr::ChannelTable& table_;
    Person& person_;
    Dialogs& dialogs_;
    std::function<pmr::ChannelEditContext()> context_;
};

}  // namespace km
