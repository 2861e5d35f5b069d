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
#include "forms/NamedControl.h"
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
    KM_CONTROL(QTabWidget, Page_NWSYS_Systems);
    KM_CONTROL(QWidget, Tab_SYS_NetworkInfo);
    KM_CONTROL(QWidget, Tab_REG_Registration);
    KM_CONTROL(QWidget, Tab_FSL_SignalLevels);
    KM_CONTROL(QWidget, Tab_GEN_General);
    KM_CONTROL(QWidget, Tab_ANN_RCPMEP);
    KM_CONTROL(QWidget, Tab_OPID_Roaming);
    KM_CONTROL(QWidget, Tab_NWSYS_Next);
    KM_CONTROL(QLineEdit, Edit_SYS_NetworkDescription);
    KM_CONTROL(QComboBox, Combo_SYS_FrequencyBand);
    KM_CONTROL(QGroupBox, RadioGrp_SYS_NetworkScheme);
    KM_CONTROL(QGroupBox, RadioGrp_SYS_NetworkType);
    KM_CONTROL(QLineEdit, Edit_SYS_Identity);
    KM_CONTROL(QLineEdit, Edit_SYS_ZoneLength);
    KM_CONTROL(QLineEdit, Edit_SYS_AreaLength);
    KM_CONTROL(QLineEdit, Edit_SYS_LengthSIL);
    KM_CONTROL(QCheckBox, CBox_REG_RQREnabled);
    KM_CONTROL(QLabel, Lbl_REG_RQRINFO);
    KM_CONTROL(QLineEdit, Edit_REG_RQRINFO);
    KM_CONTROL(QCheckBox, CBox_REG_PwrOnRegistration);
    KM_CONTROL(QCheckBox, CBox_REG_PwrOffDeRegistration);
    KM_CONTROL(QGroupBox, RadioGrp_REG_DemandedRegistration);
    KM_CONTROL(QLineEdit, Edit_FSL_LevelL0dBm);
    KM_CONTROL(QLineEdit, Edit_FSL_LevelL2dBm);
    KM_CONTROL(QComboBox, Combo_FSL_LevelMargin1);
    KM_CONTROL(QComboBox, Combo_FSL_LevelMargin2);
    KM_CONTROL(QComboBox, Combo_FSL_LevelMargin3);
    KM_CONTROL(QLineEdit, Edit_FSL_KPRLevelL0);
    KM_CONTROL(QLineEdit, Edit_FSL_KPRLevelL2);
    KM_CONTROL(QCheckBox, CBox_FSL_FallbackAllowed);
    KM_CONTROL(QGroupBox, RadioGrp_FSL_FallbackType);
    KM_CONTROL(QLabel, Lbl_FSL_FallbackChannel);
    KM_CONTROL(QLineEdit, Edit_FSL_FallbackChannel);
    KM_CONTROL(QLabel, Lbl_FSL_FallbackNDD);
    KM_CONTROL(QLineEdit, Edit_FSL_FallbackNDD);
    KM_CONTROL(QCheckBox, CBox_GEN_BkgndHuntEnable);
    KM_CONTROL(QLineEdit, Edit_GEN_VoteNowSampleLength);
    KM_CONTROL(QLineEdit, Edit_GEN_NumOfPresselOnMsg);
    KM_CONTROL(QLineEdit, Edit_GEN_NumOfPresselOffMsg);
    std::array<QCheckBox, 5> CBox_GEN_Undefined;
    KM_CONTROL(QTableWidget, StrGrid_ANN_RCPMEPTable);
    KM_CONTROL(QPushButton, Btn_ANN_FillToEnd);
    KM_CONTROL(QTableWidget, StrGrid_OPID_RoamingTable);

  private:
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
