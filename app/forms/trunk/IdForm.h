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
    QTabWidget Page_ID_Identities;
    QWidget Tab_RI_RadioIdentity;
    QWidget Tab_GRP_Groups;
    QWidget Tab_5DD_FiveDigitDial;
    QWidget Tab_FAC_Facilities;
    QWidget Tab_DTMF_Dtmf;
    QWidget Tab_PBK_Phonebook;
    QWidget Tab_STA_Status;
    QWidget Tab_SFD_CallDispatchers;
    QWidget Tab_DAT_Data;
    QWidget Tab_ID_Next;
    // Radio Identity
    QLineEdit Edit_RI_RadioIdentity;
    QLineEdit Edit_RI_HighestUnit;
    QLineEdit Edit_RI_DispatcherIdentity;
    QLabel Label_RI_DataIdentity;
    QLineEdit Edit_RI_DataIdentity;
    QLineEdit Edit_RI_EmergencyAddr;
    QGroupBox GBox_RI_CPSX;
    QComboBox ComboBox_RI_CPSXLarge;
    QComboBox ComboBox_RI_CPSXMedium;
    QComboBox ComboBox_RI_CPSXSmall;
    QComboBox ComboBox_RI_RadioHomeSite;
    QCheckBox CBox_RI_InitAuthority;
    QLineEdit Edit_RI_DynamicGrp;
    // Groups
    QTableWidget StrGrid_GRP_Groups;
    QCheckBox CBox_GRP_TalkGroups;
    QCheckBox CBox_GRP_DefinableGroups;
    QLineEdit Edit_GRP_HighestGroup;
    QLabel Label_GRP_OwnFleetGroup;
    QLineEdit Edit_GRP_OwnFleetGroup;
    // 5 Digit Dial
    QTableWidget StrGrid_5DD_Table;
    // Facilities
    QCheckBox CBox_FAC_FOACSU;
    QCheckBox CBox_FAC_GroupInterFleetCalls;
    QCheckBox CBox_FAC_IndividualInterFleetCalls;
    QCheckBox CBox_FAC_PABXCall;
    QCheckBox CBox_FAC_FreeDialPSTN;
    QCheckBox CBox_FAC_ShortDialPSTN;
    QCheckBox CBox_FAC_ShortDataCall;
    QCheckBox CBox_FAC_IncludeCall;
    QCheckBox CBox_FAC_SpeechCall;
    QCheckBox CBox_FAC_DataCall;
    QCheckBox CBox_FAC_DiversionCalls;
    QCheckBox CBox_FAC_3rdPartyDiversion;
    QComboBox ComboBox_FAC_SpeechDivert;
    QComboBox ComboBox_FAC_DataDivert;
    // DTMF
    QCheckBox CBox_DTMF_DTMFEnabled;
    QLineEdit Edit_DTMF_TonePeriod;
    QLineEdit Edit_DTMF_InterTonePeriod;
    QLineEdit Edit_DTMF_LET;
    QLineEdit Edit_DTMF_Holdover;
    QLineEdit Edit_DTMF_Sequence1;
    QLineEdit Edit_DTMF_Sequence2;
    // Phone Book
    QTableWidget StrGrid_PBK_Phonebook;
    QCheckBox CBox_PBK_PhbkAlphaOrder;
    QPushButton Btn_PBK_DeleteAll;
    QPushButton Btn_PBK_FillToEnd;
    QPushButton Btn_PBK_InsertRow;
    QPushButton Btn_PBK_DeleteRow;
    // Status
    QTableWidget StrGrid_STA_StatusNames;
    QPushButton Btn_STA_Copy;
    QCheckBox CBox_STA_StatusCall;
    QComboBox Combo_STA_MsgAckStatus;
    QComboBox Combo_STA_MaxTxStatus;
    QComboBox Combo_STA_PowerOnStatus;
    QComboBox Combo_STA_InterrogateValue;
    QComboBox Combo_STA_GPSPollStatus;
    QComboBox Combo_STA_ExtAlertStatus;
    // Call Dispatchers
    QTableWidget StrGrid_SFD_CallDispatchers;
    QLineEdit Edit_SFD_NumberOfSFD;
    QCheckBox CBox_SFD_AutoCall;
    QGroupBox RadioGrp_SFD_DispatcherLoading;
    // Data
    QLineEdit Edit_DAT_DataLeadInDelay;
    QLineEdit Edit_DAT_DataRetries;
    QCheckBox CBox_DAT_ImmediateMsgDisplay;
    QCheckBox CBox_DAT_DeleteRepliedJob;
    QCheckBox CBox_DAT_DataJobNumbers;
    QCheckBox CBox_DAT_IgnitionSense;
    QLineEdit Edit_DAT_TimeBased;
    QLabel Label_DAT_DistanceBased;
    QLineEdit Edit_DAT_DistanceBased;
    QLabel Label_DAT_m;

    // The phone book as the grid shows it (what Print prints).
    Phonebook ShownPhonebook() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void NameControls();
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
