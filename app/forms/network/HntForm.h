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
    QTabWidget Page_HNT_Hunt;
    QWidget Tab_CHN_Channels;
    QWidget Tab_NHNT_NormalHunt;
    QWidget Tab_CHNT_ComprehensiveHunt;
    QTableWidget StrGrid_CHN_ChannelTable;
    QGroupBox RadioGrp_CHN_ChanSpacing;
    QCheckBox CBox_CHN_XtalSwitch;
    QComboBox ComboBox_CHN_TxLowPwr;
    QComboBox ComboBox_CHN_TxHighPwr;
    QTableWidget StrGrid_NHNT_NormalHunt;
    QCheckBox CBox_CHNT_EnableComprHunt;
    QLineEdit Edit_CHNT_HighestChan;
    QLineEdit Edit_CHNT_LowestChan;
    QTableWidget StrGrid_CHNT_WithdrawnChn;

  private:
    void NameControls();
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
