#pragma once
// The Network Systems form: the system part of a network file (identity, numbering scheme,
// registration, signal levels, fallback, general values, the ANN prefix table and the roaming
// table). The rows and rules are lib/network/SysMap.h; this class shows them and asks the network
// type question.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <array>
#include <optional>

#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/network/NetworkFileForm.h"

namespace km {

class TForm_NWSYS_System : public NetworkFileForm {
    Q_OBJECT
  public:
    explicit TForm_NWSYS_System(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // Handlers, named as the domain names them.
    void RadioGrp_SYS_NetworkTypeClick();
    void RadioGrp_SYS_NetworkSchemeClick();
    void CBox_REG_RQREnabledClick();
    void CBox_FSL_FallbackAllowedClick();
    void Btn_ANN_FillToEndClick();
    void Combo_SYS_FrequencyBandChange();
    void Tab_NWSYS_NextShow();

    // Controls, public for the form's tests.
    QTabWidget Page_NWSYS_Systems;
    QWidget Tab_SYS_NetworkInfo;
    QWidget Tab_REG_Registration;
    QWidget Tab_FSL_SignalLevels;
    QWidget Tab_GEN_General;
    QWidget Tab_ANN_RCPMEP;
    QWidget Tab_OPID_Roaming;
    QWidget Tab_NWSYS_Next;
    QLineEdit Edit_SYS_NetworkDescription;
    QComboBox Combo_SYS_FrequencyBand;
    QGroupBox RadioGrp_SYS_NetworkScheme;
    QGroupBox RadioGrp_SYS_NetworkType;
    QLineEdit Edit_SYS_Identity;
    QLineEdit Edit_SYS_ZoneLength;
    QLineEdit Edit_SYS_AreaLength;
    QLineEdit Edit_SYS_LengthSIL;
    QCheckBox CBox_REG_RQREnabled;
    QLabel Lbl_REG_RQRINFO;
    QLineEdit Edit_REG_RQRINFO;
    QCheckBox CBox_REG_PwrOnRegistration;
    QCheckBox CBox_REG_PwrOffDeRegistration;
    QGroupBox RadioGrp_REG_DemandedRegistration;
    QLineEdit Edit_FSL_LevelL0dBm;
    QLineEdit Edit_FSL_LevelL2dBm;
    QComboBox Combo_FSL_LevelMargin1;
    QComboBox Combo_FSL_LevelMargin2;
    QComboBox Combo_FSL_LevelMargin3;
    QLineEdit Edit_FSL_KPRLevelL0;
    QLineEdit Edit_FSL_KPRLevelL2;
    QCheckBox CBox_FSL_FallbackAllowed;
    QGroupBox RadioGrp_FSL_FallbackType;
    QLabel Lbl_FSL_FallbackChannel;
    QLineEdit Edit_FSL_FallbackChannel;
    QLabel Lbl_FSL_FallbackNDD;
    QLineEdit Edit_FSL_FallbackNDD;
    QCheckBox CBox_GEN_BkgndHuntEnable;
    QLineEdit Edit_GEN_VoteNowSampleLength;
    QLineEdit Edit_GEN_NumOfPresselOnMsg;
    QLineEdit Edit_GEN_NumOfPresselOffMsg;
    std::array<QCheckBox, 5> CBox_GEN_Undefined;
    QTableWidget StrGrid_ANN_RCPMEPTable;
    QPushButton Btn_ANN_FillToEnd;
    QTableWidget StrGrid_OPID_RoamingTable;

  private:
    void NameControls();
    void BuildLayout();
    void BuildGrids();
    void Connect();
    void WatchEdits();
    bool NationalChosen() const;
    void SelectNetworkType(bool national);
    void ShowPagesOfChoices();
    void ShowBandTexts();
    bool CheckRange(const QLineEdit& edit, const struct NumberRange& range);

    std::optional<FieldBinder> binder_;
    std::optional<FieldGrid> annGrid_;
    std::optional<FieldGrid> roamingGrid_;
    EditChecks checks_;
    bool nationalShown_ = false;  // the network type before a click, for the question
};

}  // namespace km
