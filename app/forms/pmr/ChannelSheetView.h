#pragma once
// The channel table as a sheet (View > "Channels as a Table"): every field of a channel in a
// column, edited in place with the keyboard, sorted and filtered for viewing without changing
// the stored order, filled down and in series (frequencies by the step beside the button), a
// channel added after the current one, and Insert Channels. A value a rule refuses is named in a
// note beside its cell; the table is left as it was.
//
// Keys: arrows and Tab move, typing replaces the cell, F2 edits it, Enter takes the value and
// moves down, Delete empties the selected cells, Ctrl+D fills the selection down and
// Ctrl+Shift+D in series (every selected column from its first cell), Insert or Ctrl+Enter adds
// the next channel after the current one (its row copied, the frequencies a step further, the
// name counted on), Alt+Down opens the list of a cell that has one.

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

#include "Dialogs.h"
#include "forms/pmr/ChannelSheetModel.h"

namespace km {

// The grid of the sheet: a table view with a spreadsheet's keys.
class SheetGrid : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;
    std::function<void()> onClear;
    std::function<void()> onFillDown;
    std::function<void()> onFillSeries;
    std::function<void()> onAddNext;
    // A value just typed was refused: the cell stays current.
    std::function<bool()> refused;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

// "Insert Channels": how many, from which number and frequency, by which step, named how.
class InsertChannelsDialog : public QDialog {
    Q_OBJECT
  public:
    InsertChannelsDialog(int firstNumber, std::int64_t firstHz, QWidget* parent = nullptr);
    QLineEdit INS_Edit_Count;
    QLineEdit INS_Edit_FirstNumber;
    QLineEdit INS_Edit_FirstFrequency;
    QLineEdit INS_Edit_Step;
    QLineEdit INS_Edit_NamePattern;
    QDialogButtonBox INS_Buttons;
};

class ChannelSheetView : public QWidget {
    Q_OBJECT
  public:
    // `insertModel` gives the entry inserted channels copy their settings from (the channel at a
    // position, or a new entry's defaults when there is none).
    ChannelSheetView(ChannelSheetModel& model, Dialogs& dialogs,
                     std::function<pmr::ChannelEntry(std::optional<std::size_t>)> insertModel,
                     QWidget* parent = nullptr);

    // Commands of the buttons and keys.
    void FillDownClick();
    void FillSeriesClick();
    void InsertChannelsClick();
    void AddChannelClick();
    void ClearSelected();

    // The entry of the current cell, and a cell made current (the view may be sorted).
    std::optional<std::size_t> CurrentPosition() const;
    void SelectCell(std::size_t position, pmr::SheetColumn column);
    // Cells of the current column from `first` to `last` (positions in the table) selected.
    void SelectColumnRange(pmr::SheetColumn column, std::size_t first, std::size_t last);
    // The entries of the selected cells in table order (the current one when none is selected),
    // and entries selected as whole rows, for the Edit menu's Copy, Paste and Bulk Edit.
    std::vector<std::size_t> SelectedRows() const;
    void SelectRows(const std::vector<std::size_t>& positions);
    // The note beside the cell ("" when none is shown).
    QString Note() const;
    QSortFilterProxyModel& Proxy() { return proxy_; }

    QPushButton SHT_Btn_FillDown;
    QPushButton SHT_Btn_FillSeries;
    QLabel SHT_Lbl_Step;
    QLineEdit SHT_Edit_Step;  // the step of a series of frequencies, in kHz
    QPushButton SHT_Btn_AddChannel;
    QPushButton SHT_Btn_InsertChannels;
    QLabel SHT_Lbl_Filter;
    QLineEdit SHT_Edit_Filter;
    QComboBox SHT_Combo_FilterColumn;
    SheetGrid SHT_Grid_Channels;

  private:
    void BuildLayout();
    void SetColumnWidths();
    void Filter();
    // The selected positions of each selected column, in the order the view shows them.
    std::vector<pmr::ColumnRows> SelectedColumns() const;
    // The selection to fill, or nothing (a note then says how to select).
    std::optional<std::vector<pmr::ColumnRows>> FillSelection();
    // The step beside the buttons in hertz, or nothing (a note then says why).
    std::optional<std::int64_t> Step();
    std::optional<pmr::SheetColumn> CurrentColumn() const;
    void Tell(const pmr::SheetResult& result);
    void ShowNote(const QString& text);
    void HideNote();

    ChannelSheetModel& model_;
    Dialogs& dialogs_;
    std::function<pmr::ChannelEntry(std::optional<std::size_t>)> insertModel_;
    QSortFilterProxyModel proxy_;
    QLabel* note_;  // a child of the grid's viewport
};

}  // namespace km
