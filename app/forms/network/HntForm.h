#pragma once
// The Hunt Channels form: the sub-band table, the global channel options, the normal hunt list
// and the comprehensive hunt range with its withdrawn channels. The rows and the sub-band rules are
// lib/network/HntMap.h.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <optional>

#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/NamedControl.h"
#include "forms/network/NetworkFileForm.h"
#include "network/HntMap.h"

namespace km {

class TForm_NWHNT_Hunt : public NetworkFileForm {
    Q_OBJECT
  public:
    explicit TForm_NWHNT_Hunt(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, Page_HNT_Hunt);
    KM_CONTROL(QWidget, Tab_CHN_Channels);
    KM_CONTROL(QWidget, Tab_NHNT_NormalHunt);
    KM_CONTROL(QWidget, Tab_CHNT_ComprehensiveHunt);
    KM_CONTROL(QTableWidget, StrGrid_CHN_ChannelTable);
    KM_CONTROL(QGroupBox, RadioGrp_CHN_ChanSpacing);
    KM_CONTROL(QCheckBox, CBox_CHN_XtalSwitch);
    KM_CONTROL(QComboBox, ComboBox_CHN_TxLowPwr);
    KM_CONTROL(QComboBox, ComboBox_CHN_TxHighPwr);
    KM_CONTROL(QTableWidget, StrGrid_NHNT_NormalHunt);
    KM_CONTROL(QCheckBox, CBox_CHNT_EnableComprHunt);
    KM_CONTROL(QLineEdit, Edit_CHNT_HighestChan);
    KM_CONTROL(QLineEdit, Edit_CHNT_LowestChan);
    KM_CONTROL(QTableWidget, StrGrid_CHNT_WithdrawnChn);

  private:
    void BuildLayout();
    void BuildChannelGrid();
    void BuildHuntGrids();
    void WatchEdits();
    // The band chosen on the Network Systems form, with the limits of the country; null for none.
    const BandEntry* Band() const;
    // The sub-band grid's texts into the table that checks and stores them.
    void TakeChannelTexts();
    std::optional<std::string> ChannelCellMessage(int line, int column, FieldGrid::Moment moment);

    std::optional<FieldBinder> binder_;
    std::optional<FieldGrid> channels_;
    std::optional<FieldGrid> normalHunt_;
    std::optional<FieldGrid> withdrawn_;
    SubBandTable subBands_;
    EditChecks checks_;
};

}  // namespace km
