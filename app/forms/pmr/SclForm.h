#pragma once
// The Selcall form of the PMR view: the radio's own selcall identity, tonesets, tone durations
// and special tones, the user defined toneset, the function button encodes, the phone book, the
// status list, the timed reset and reset tone actions and the alarm. The rows, the tone tables
// and the grids' commands are lib/pmr/SclMap.h; the form adds the rules between its controls.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "forms/ConfigForm.h"
#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/GridSheet.h"
#include "forms/NamedControl.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"

namespace km {

class TSCL_Form_Selcall : public ConfigForm {
    Q_OBJECT
  public:
    explicit TSCL_Form_Selcall(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // What the Encode/Decode form's dialogs read at the moment they use it: the own identity, the
    // toneset names, the tone durations and the variable digit counts as shown, stored or not.
    pmr::SelcallSettings CurrentSettings() const;

    // The phone book and status list as their grids show them, and a CSV import into them (the
    // next store writes them).
    std::vector<pmr::SelcallPhonebookEntry> PhoneBookRows() const;
    void ShowPhoneBookRows(const std::vector<pmr::SelcallPhonebookEntry>& rows);
    std::vector<pmr::StatusEntry> StatusRows() const;
    void ShowStatusRows(const std::vector<pmr::StatusEntry>& rows);

    // Handlers, named as the domain names them.
    void SOP_CBox_UserEnteredIDClick();
    void SOP_Combo_TonesetChange();
    void ALM_Combo_MicrophoneChange();
    void STA_RadioGrp_SentStatusClick();
    void SCL_Btn_ClearPhbkClick();
    void SCL_Btn_FillToEndClick();
    void SCL_Btn_InsertRowClick();
    void SCL_Btn_DeleteRowClick();
    void STA_Btn_ClearStatusClick();
    void STA_Btn_FillToEndClick();
    void Tab_SCL_NextShow();

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, SCL_Page_Selcall);
    KM_CONTROL(QWidget, Tab_SOP_Options);
    KM_CONTROL(QWidget, Tab_SOP2_MoreOptions);
    KM_CONTROL(QWidget, Tab_FBE_Encodes);
    KM_CONTROL(QWidget, Tab_SCL_PhoneBook);
    KM_CONTROL(QWidget, Tab_STA_Status);
    KM_CONTROL(QWidget, Tab_RST_Reset);
    KM_CONTROL(QWidget, Tab_ALM_Alarm);
    KM_CONTROL(QWidget, Tab_SCL_Next);
    // Selcall Options
    KM_CONTROL(QLineEdit, SOP_Edit_OwnID);
    KM_CONTROL(QCheckBox, SOP_CBox_UserEnteredID);
    KM_CONTROL(QCheckBox, SOP_CBox_FreeDialSelcall);
    KM_CONTROL(QCheckBox, SOP_CBox_DecodeWithCTCSS);
    KM_CONTROL(QCheckBox, SOP_CBox_BeepsWhileCalled);
    KM_CONTROL(QComboBox, SOP_Combo_EncToneset1);
    KM_CONTROL(QComboBox, SOP_Combo_EncToneset2);
    KM_CONTROL(QComboBox, SOP_Combo_DecToneset);
    KM_CONTROL(QComboBox, SOP_Combo_ToneMargin);
    std::array<QLineEdit, pmr::kToneDurationCount> SOP_Edit_ToneDuration;
    KM_CONTROL(QComboBox, SOP_Combo_RepeatTone);
    KM_CONTROL(QComboBox, SOP_Combo_GroupTone);
    KM_CONTROL(QComboBox, SOP_Combo_ResetTone);
    // More Options
    KM_CONTROL(QLineEdit, SOP2_Edit_VariableDigits);
    KM_CONTROL(QLineEdit, SOP2_Edit_StatusDigits);
    KM_CONTROL(QComboBox, SOP2_Combo_GrpAlertTone);
    KM_CONTROL(QCheckBox, SOP2_CBox_GrpPttInhibit);
    KM_CONTROL(QCheckBox, SOP2_CBox_AllowExtAlert);
    KM_CONTROL(QGroupBox, SOP2_GrpBox_UserToneset);
    KM_CONTROL(QTableWidget, SOP2_StrGrid_UserTones);
    // FB Encodes
    KM_CONTROL(QLineEdit, FBE_Edit_Send2Encode);
    KM_CONTROL(QTableWidget, FBE_StrGrid_FBEncodes);
    // Phone Book
    KM_CONTROL(QTableWidget, SCL_SGrid_PhoneBook);
    KM_CONTROL(QCheckBox, SCL_CBox_PhbkAlphaOrder);
    KM_CONTROL(QPushButton, SCL_Btn_ClearPhbk);
    KM_CONTROL(QPushButton, SCL_Btn_FillToEnd);
    KM_CONTROL(QPushButton, SCL_Btn_InsertRow);
    KM_CONTROL(QPushButton, SCL_Btn_DeleteRow);
    // Status
    KM_CONTROL(QTableWidget, STA_StrGrid_Status);
    KM_CONTROL(QPushButton, STA_Btn_ClearStatus);
    KM_CONTROL(QPushButton, STA_Btn_FillToEnd);
    KM_CONTROL(QGroupBox, STA_GrpBox_RemoteOptions);
    KM_CONTROL(QCheckBox, STA_CheckBox_RemoteChanChange);
    KM_CONTROL(QCheckBox, STA_CheckBox_SilentMonitor);
    KM_CONTROL(QGroupBox, STA_RadioGrp_SentStatus);
    KM_CONTROL(QLineEdit, STA_Edit_DefaultStatus);
    KM_CONTROL(QLabel, STA_Lbl_DefaultStatus);
    // Reset
    KM_CONTROL(QLineEdit, TRST_Edit_TimedResetInterval);
    KM_CONTROL(QGroupBox, TRST_GrpBox_Operations);
    KM_CONTROL(QGroupBox, RST_GrpBox_Operations);
    std::vector<QCheckBox*> TRST_CBox;  // bits 0..7 of the timed reset operations
    std::vector<QCheckBox*> RST_CBox;   // bits 2..7 of the reset tone operations
    KM_CONTROL(QCheckBox, RST_CBox_ThirdToneReset);
    // Alarm
    KM_CONTROL(QLineEdit, ALM_Edit_AlarmChannelNum);
    KM_CONTROL(QLineEdit, ALM_Edit_AlarmEncode);
    KM_CONTROL(QLineEdit, ALM_Edit_EmergencyEncRptCnt);
    KM_CONTROL(QLineEdit, ALM_Edit_TxTime);
    KM_CONTROL(QLineEdit, ALM_Edit_RxTime);
    KM_CONTROL(QComboBox, ALM_Combo_DisplayOperation);
    KM_CONTROL(QComboBox, ALM_Combo_Microphone);
    KM_CONTROL(QCheckBox, ALM_CBox_Confidence);
    KM_CONTROL(QCheckBox, ALM_CBox_AvlAlarmMsg);
    KM_CONTROL(QCheckBox, ALM_CBox_StayOnAlarmCh);
    KM_CONTROL(QLineEdit, ALM_Edit_BtnPress);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void NameDurationEdits();
    void BuildLayout();
    void BuildGrids();
    void WatchEdits();
    void Connect();
    // A label for a control: its row's caption, hidden and shown with it.
    QLabel& LabelOf(QWidget& control, std::string_view caption);
    void SetShown(QWidget& control, bool shown);
    bool FfskStatusMessages() const;
    pmr::UserTones UserToneCells() const;
    void ShowUserToneGrid();
    void ShowDefaultStatus();
    bool AlarmChannelCheck();
    bool ChannelNumberDefined(int number);
    bool DigitCountCheck(QLineEdit& edit, int& remembered, std::string_view warning);
    bool ConfirmFillToEnd(QTableWidget& grid);
    std::size_t SelectedLine(const QTableWidget& grid) const;

    std::optional<FieldBinder> binder_;
    std::optional<FieldGrid> userTones_;
    std::optional<FieldGrid> fbEncodes_;
    std::optional<FieldGrid> phoneBook_;
    std::optional<GridSheet> phoneBookSheet_;  // fill down, fill series, sort for viewing
    std::optional<FieldGrid> status_;
    std::optional<GridSheet> statusSheet_;  // fill down, fill series, sort for viewing
    EditChecks checks_;
    std::vector<std::pair<QWidget*, QLabel*>> labels_;
    // The variable digit counts as last loaded or changed, for the change warnings.
    int variableDigits_ = 0;
    int statusDigits_ = 0;
};

}  // namespace km
