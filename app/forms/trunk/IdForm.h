#pragma once
// The Identities form of the Trunk view: who the radio is on the network being edited, its groups,
// five-digit dialling, facilities, DTMF, the phone book, the status list, auto-call dispatchers
// and the data options. The rows and conversions are config/IdMap.h and config/Phonebook.h; this
// class shows them, runs the checks when a field is left and asks the questions.

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

#include "config/IdMap.h"
#include "config/Phonebook.h"
#include "forms/ConfigForm.h"
#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/GridSheet.h"
#include "forms/NamedControl.h"

namespace km {

inline constexpr std::string_view kDeletePhonebookQuestion = " Delete the Entire Phonebook?\n ";
inline constexpr std::string_view kFillToEndQuestion =
    "The selected row will be copied into the remainder of the table.       \n"
    "Note: New dialstrings are not validated.        \n"
    "Do you want to continue?\n ";
inline constexpr std::string_view kInterrogateWithoutMaximum =
    "Cannot specify \"Interrogate Status\" if \"Maximum Transmitted Status\" is None.  \n ";
inline constexpr std::string_view kInterrogateSameAsPowerOn =
    "Interrogate Status value should not be the same as the Power-On Status value.            "
    "         \n ";

class TForm_ID_Identities : public ConfigForm {
    Q_OBJECT
  public:
    explicit TForm_ID_Identities(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // Handlers, named as the domain names them.
    void ComboBox_RI_CPSXChange(CpsxCount changed);
    void Combo_STA_MaxTxStatusChange();
    void CBox_STA_StatusCallClick();
    void Combo_STA_InterrogateValueChange();
    void Combo_STA_PowerOnStatusChange();
    void Btn_STA_CopyClick();
    void Btn_PBK_DeleteAllClick();
    void Btn_PBK_FillToEndClick();
    void Btn_PBK_InsertRowClick();
    void Btn_PBK_DeleteRowClick();
    void CBox_SFD_AutoCallClick();
    void Tab_ID_NextShow();

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, Page_ID_Identities);
    KM_CONTROL(QWidget, Tab_RI_RadioIdentity);
    KM_CONTROL(QWidget, Tab_GRP_Groups);
    KM_CONTROL(QWidget, Tab_5DD_FiveDigitDial);
    KM_CONTROL(QWidget, Tab_FAC_Facilities);
    KM_CONTROL(QWidget, Tab_DTMF_Dtmf);
    KM_CONTROL(QWidget, Tab_PBK_Phonebook);
    KM_CONTROL(QWidget, Tab_STA_Status);
    KM_CONTROL(QWidget, Tab_SFD_CallDispatchers);
    KM_CONTROL(QWidget, Tab_DAT_Data);
    KM_CONTROL(QWidget, Tab_ID_Next);
    // Radio Identity
    KM_CONTROL(QLineEdit, Edit_RI_RadioIdentity);
    KM_CONTROL(QLineEdit, Edit_RI_HighestUnit);
    KM_CONTROL(QLineEdit, Edit_RI_DispatcherIdentity);
    KM_CONTROL(QLabel, Label_RI_DataIdentity);
    KM_CONTROL(QLineEdit, Edit_RI_DataIdentity);
    KM_CONTROL(QLineEdit, Edit_RI_EmergencyAddr);
    KM_CONTROL(QGroupBox, GBox_RI_CPSX);
    KM_CONTROL(QComboBox, ComboBox_RI_CPSXLarge);
    KM_CONTROL(QComboBox, ComboBox_RI_CPSXMedium);
    KM_CONTROL(QComboBox, ComboBox_RI_CPSXSmall);
    KM_CONTROL(QComboBox, ComboBox_RI_RadioHomeSite);
    KM_CONTROL(QCheckBox, CBox_RI_InitAuthority);
    KM_CONTROL(QLineEdit, Edit_RI_DynamicGrp);
    // Groups
    KM_CONTROL(QTableWidget, StrGrid_GRP_Groups);
    KM_CONTROL(QCheckBox, CBox_GRP_TalkGroups);
    KM_CONTROL(QCheckBox, CBox_GRP_DefinableGroups);
    KM_CONTROL(QLineEdit, Edit_GRP_HighestGroup);
    KM_CONTROL(QLabel, Label_GRP_OwnFleetGroup);
    KM_CONTROL(QLineEdit, Edit_GRP_OwnFleetGroup);
    // 5 Digit Dial
    KM_CONTROL(QTableWidget, StrGrid_5DD_Table);
    // Facilities
    KM_CONTROL(QCheckBox, CBox_FAC_FOACSU);
    KM_CONTROL(QCheckBox, CBox_FAC_GroupInterFleetCalls);
    KM_CONTROL(QCheckBox, CBox_FAC_IndividualInterFleetCalls);
    KM_CONTROL(QCheckBox, CBox_FAC_PABXCall);
    KM_CONTROL(QCheckBox, CBox_FAC_FreeDialPSTN);
    KM_CONTROL(QCheckBox, CBox_FAC_ShortDialPSTN);
    KM_CONTROL(QCheckBox, CBox_FAC_ShortDataCall);
    KM_CONTROL(QCheckBox, CBox_FAC_IncludeCall);
    KM_CONTROL(QCheckBox, CBox_FAC_SpeechCall);
    KM_CONTROL(QCheckBox, CBox_FAC_DataCall);
    KM_CONTROL(QCheckBox, CBox_FAC_DiversionCalls);
    KM_CONTROL(QCheckBox, CBox_FAC_3rdPartyDiversion);
    KM_CONTROL(QComboBox, ComboBox_FAC_SpeechDivert);
    KM_CONTROL(QComboBox, ComboBox_FAC_DataDivert);
    // DTMF
    KM_CONTROL(QCheckBox, CBox_DTMF_DTMFEnabled);
    KM_CONTROL(QLineEdit, Edit_DTMF_TonePeriod);
    KM_CONTROL(QLineEdit, Edit_DTMF_InterTonePeriod);
    KM_CONTROL(QLineEdit, Edit_DTMF_LET);
    KM_CONTROL(QLineEdit, Edit_DTMF_Holdover);
    KM_CONTROL(QLineEdit, Edit_DTMF_Sequence1);
    KM_CONTROL(QLineEdit, Edit_DTMF_Sequence2);
    // Phone Book
    KM_CONTROL(QTableWidget, StrGrid_PBK_Phonebook);
    KM_CONTROL(QCheckBox, CBox_PBK_PhbkAlphaOrder);
    KM_CONTROL(QPushButton, Btn_PBK_DeleteAll);
    KM_CONTROL(QPushButton, Btn_PBK_FillToEnd);
    KM_CONTROL(QPushButton, Btn_PBK_InsertRow);
    KM_CONTROL(QPushButton, Btn_PBK_DeleteRow);
    // Status
    KM_CONTROL(QTableWidget, StrGrid_STA_StatusNames);
    KM_CONTROL(QPushButton, Btn_STA_Copy);
    KM_CONTROL(QCheckBox, CBox_STA_StatusCall);
    KM_CONTROL(QComboBox, Combo_STA_MsgAckStatus);
    KM_CONTROL(QComboBox, Combo_STA_MaxTxStatus);
    KM_CONTROL(QComboBox, Combo_STA_PowerOnStatus);
    KM_CONTROL(QComboBox, Combo_STA_InterrogateValue);
    KM_CONTROL(QComboBox, Combo_STA_GPSPollStatus);
    KM_CONTROL(QComboBox, Combo_STA_ExtAlertStatus);
    // Call Dispatchers
    KM_CONTROL(QTableWidget, StrGrid_SFD_CallDispatchers);
    KM_CONTROL(QLineEdit, Edit_SFD_NumberOfSFD);
    KM_CONTROL(QCheckBox, CBox_SFD_AutoCall);
    KM_CONTROL(QGroupBox, RadioGrp_SFD_DispatcherLoading);
    // Data
    KM_CONTROL(QLineEdit, Edit_DAT_DataLeadInDelay);
    KM_CONTROL(QLineEdit, Edit_DAT_DataRetries);
    KM_CONTROL(QCheckBox, CBox_DAT_ImmediateMsgDisplay);
    KM_CONTROL(QCheckBox, CBox_DAT_DeleteRepliedJob);
    KM_CONTROL(QCheckBox, CBox_DAT_DataJobNumbers);
    KM_CONTROL(QCheckBox, CBox_DAT_IgnitionSense);
    KM_CONTROL(QLineEdit, Edit_DAT_TimeBased);
    KM_CONTROL(QLabel, Label_DAT_DistanceBased);
    KM_CONTROL(QLineEdit, Edit_DAT_DistanceBased);
    KM_CONTROL(QLabel, Label_DAT_m);

    // The phone book as the grid shows it (what Print prints).
    Phonebook ShownPhonebook() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void BuildGrids();
    void WatchEdits();
    void Connect();
    void ShowScheme();

    std::span<std::uint8_t> Bytes() const;
    std::size_t Slot() const;
    // The numbering of the network being edited, with the CPSX counts the form shows.
    Numbering CurrentNumbering() const;
    std::int64_t ValueOf(const QWidget& control) const;

    IdentityTexts ShownIdentities() const;
    void ShowIdentities(const IdentityTexts& texts);
    std::vector<FiveDigitEntry> ShownFiveDigit() const;
    std::vector<StatusEntry> ShownStatusList() const;
    void ShowPhonebook(const Phonebook& book, bool asLoaded);

    // A check that reports through the lib's person, as a message for a grid.
    std::optional<std::string> GroupMessage(const QString& text) const;
    std::optional<std::string> DisplayWidthMessage(const QString& text) const;
    bool CheckIdentity(QLineEdit& edit, IdentityField field);
    bool ApplyExitCheck(QLineEdit& edit, const ExitCheck& check);
    void ResetStatusChoices();
    void WarnIfInterrogateIsPowerOn();

    std::optional<FieldBinder> slotBinder_;
    std::optional<FieldBinder> jobBinder_;
    std::optional<FieldGrid> groups_;
    std::optional<FieldGrid> fiveDigit_;
    std::optional<FieldGrid> phonebook_;
    std::optional<GridSheet> phonebookSheet_;  // fill down, fill series, sort for viewing
    std::optional<FieldGrid> status_;
    std::optional<FieldGrid> dispatchers_;
    EditChecks checks_;

    // What the load pass showed: fields that still show it keep their bytes.
    IdentityTexts loadedIdentities_;
    std::vector<FiveDigitEntry> loadedFiveDigit_;
    std::vector<StatusEntry> loadedStatus_;
    // A change of the CPSX counts gives every dialled number another ident: all are stored.
    bool cpsxCountsChanged_ = false;
};

}  // namespace km
