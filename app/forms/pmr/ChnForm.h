#pragma once
// The Channel Options form of the PMR view: the channel page (the channel table as a list, with
// the buttons that open the Channel Editor and the Group Editor), the zones page and the pages of
// the radio-wide settings (OptionPages.h). The table
// lives in memory between the load and store passes (pmr/ChannelTable.h); the list is a view of
// it, so a table of 1000 entries scrolls without a widget per line.

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <memory>
#include <optional>

#include "forms/ConfigForm.h"
#include "forms/RecordTableModel.h"
#include "forms/mobile/RadioTypeListener.h"
#include "forms/pmr/ChannelClipboard.h"
#include "pmr/ChannelSheet.h"
#include "pmr/ChannelTable.h"
#include "pmr/Frequency.h"

namespace km {

class ChannelOptionPages;
class ChannelSheetModel;
class ChannelSheetView;
class TZEDT_Form;

class TCHN_Form_Channels : public ConfigForm, public RadioTypeListener {
    Q_OBJECT
  public:
    explicit TCHN_Form_Channels(const FormContext& context, QWidget* parent = nullptr);
    ~TCHN_Form_Channels() override;

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;
    // A change of radio type: the power levels shown reach the image, which limits them to the
    // new head's lists; the lists and the controls of the head are shown again.
    void BeforeRadioTypeChange() override;
    void RadioTypeChanged(const RadioTypeChange& change) override;

    // Handlers, named as the domain names them.
    void CHN_Btn_AddChannelClick();
    void CHN_Btn_AddGroupClick();
    void CHN_Btn_EditChannelClick();
    void CHN_Btn_DeleteChannelClick();
    void Tab_CHN_NextShow();

    // The table and the selected position, for the CSV commands and the tests.
    const pmr::ChannelTable& Table() const { return table_; }
    std::optional<std::size_t> Selected() const;
    void Select(std::size_t position);
    // Replaces the whole table (a CSV import) and selects the first entry.
    void ReplaceTable(pmr::ChannelTable table);

    // The channel page shows the table as a sheet edited in place instead of the list and its
    // editors. The sheet is built the first time it is shown.
    void ShowAsTable(bool table);
    bool ShownAsTable() const { return shownAsTable_; }
    ChannelSheetView* Sheet() const { return sheet_.get(); }

    // Controls, public for the form's tests.
    QTabWidget Page_CHN_Channels;
    QWidget Tab_CHN_Channels;
    std::unique_ptr<TZEDT_Form> Tab_CHN_Zones;  // the zones page
    // The pages of the radio-wide settings, between the zones and "Next Form -->".
    std::unique_ptr<ChannelOptionPages> Options;
    QWidget Tab_CHN_Next;
    QTableView CHN_LBox_Channels;
    QPushButton CHN_Btn_AddChannel;
    QPushButton CHN_Btn_AddGroup;
    QPushButton CHN_Btn_EditChannel;
    QPushButton CHN_Btn_DeleteChannel;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Records;

    void BuildLayout();
    void Connect();
    pmr::BandLimits Band() const;
    bool ZoneMode() const;
    pmr::ChannelEntry NewEntry() const;
    bool TableFull();
    // Opens the editor matching the entry; after OK the entry goes into the table (added, or in
    // place of the entry at `replacing`).
    void EditEntry(pmr::ChannelEntry entry, std::optional<std::size_t> replacing);
    bool RunChannelEditor(pmr::ChannelEntry& entry, std::optional<std::size_t> replacing);
    bool RunGroupEditor(pmr::ChannelEntry& entry, std::optional<std::size_t> replacing);
    // What the Channel Editor's rules know of the job.
    pmr::ChannelEditContext EditContext(std::optional<std::size_t> replacing) const;
    void ShowTable(std::optional<std::size_t> select);
    // A channel that a zone or a channel option names is changed only when the user says so.
    bool ReferencesAllow(int number, std::string_view question);
    void PageChanged(int page);
    pmr::SheetContext SheetContext() const;
    // After an edit in the sheet: the list shows it and the job takes the table with its store
    // rules (links, group lists, the first visible entry).
    void SheetChanged();

    pmr::ChannelTable table_;
    std::unique_ptr<Records> records_;
    std::unique_ptr<RecordTableModel> model_;
    std::unique_ptr<ChannelRowsClipboard> rows_;  // Copy, Paste and Bulk Edit of the list
    std::unique_ptr<ChannelSheetModel> sheetModel_;
    std::unique_ptr<ChannelSheetView> sheet_;
    std::unique_ptr<ChannelRowsClipboard> sheetRows_;  // Copy, Paste and Bulk Edit of the sheet
    bool shownAsTable_ = false;
    bool sheetChanging_ = false;  // the list reloads for an edit of the sheet
};

}  // namespace km
