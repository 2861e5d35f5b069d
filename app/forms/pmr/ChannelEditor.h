#pragma once
// The Channel Editor: the modal dialog in which one channel of the channel table is added or
// changed. It is filled from an entry (the channel edit buffer), checks each field as it is left
// and the whole channel on OK (the rules are pmr/ChannelEdit.h), and reads its values back into
// the entry after OK. The plain flags, lists and the name are bound to the channel record's rows.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <optional>

#include "forms/FieldBinder.h"
#include "pmr/ChannelEdit.h"

namespace km {

class Person;
class FieldExits;

// What the dialog shows besides the entry.
struct ChannelEditorSetup {
    int userLevelMask = 1;
    bool zoneMode = false;
};

class TCEDT_Form : public QDialog {
    Q_OBJECT
  public:
    TCEDT_Form(const pmr::ChannelEditContext& context, const ChannelEditorSetup& setup,
               Person& person, QWidget* parent = nullptr);

    // `FillFromEditBuffer` and `ReadBackToEditBuffer`.
    void FillFromEditBuffer(const pmr::ChannelEntry& entry);
    void ReadBackToEditBuffer(pmr::ChannelEntry& entry) const;

    // Handlers, named as the domain names them. The exits return false when the focus goes back.
    bool CEDT_Edit_ChanNumberExit();
    bool CEDT_Edit_ChanNameExit();
    bool CEDT_Edit_FrequencyExit(bool transmit);
    bool CEDT_Edit_EncodeChange(QLineEdit& encode);
    void CEDT_CBox_TxDisabledClick();
    void CEDT_CBox_Rx_LockoutClick();
    void CEDT_CBox_OpenSelcallClick();
    void CEDT_CBox_ComRepeaterClick();
    void CEDT_Combo_CTCSSToneChange(bool transmit);
    void CEDT_CBox_SelectableCTCSSClick();
    void CEDT_Combo_Tx_PowerChange();
    void CEDT_ComboBox_ChanSpacingChange();
    // OK: the final check; the dialog closes with Accepted when it passes.
    void CEDT_BitBtn_OKClick();

    // Controls, public for the form's tests.
    QTabWidget CEDT_PageControl;
    QWidget CEDT_Tab_ChOptions;
    QWidget CEDT_Tab_Selcall;
    QLineEdit CEDT_Edit_ChanNumber;
    QLineEdit CEDT_Edit_ChanName;
    QGroupBox CEDT_GBox_Receiver;
    QLineEdit CEDT_Edit_Rx_Frequency;
    QComboBox CEDT_Combo_Rx_CTCSSTone;
    QGroupBox CEDT_GBox_Transmitter;
    QLineEdit CEDT_Edit_Tx_Frequency;
    QComboBox CEDT_Combo_Tx_CTCSSTone;
    QComboBox CEDT_Combo_Tx_Power;
    QCheckBox CEDT_CBox_TxDisabled;
    QCheckBox CEDT_CBox_ComRepeater;
    QCheckBox CEDT_CBox_Hidden;
    QComboBox CEDT_ComboBox_ChanSpacing;
    QCheckBox CEDT_CBox_Economiser;
    QCheckBox CEDT_CBox_OverrideXtal;
    QGroupBox CEDT_GBox_CTCSS;
    QCheckBox CEDT_CBox_SelectableCTCSS;
    QGroupBox CEDT_RadioGrp_DCS;
    QRadioButton CEDT_Radio_CTCSS;
    QRadioButton CEDT_Radio_DCS;
    QCheckBox CEDT_CBox_DcsRxNormal;
    QCheckBox CEDT_CBox_DcsRxInverted;
    QCheckBox CEDT_CBox_DcsTxInverted;
    QCheckBox CEDT_CBox_SelcallEnabled;
    QCheckBox CEDT_CBox_OpenSelcall;
    QLineEdit CEDT_Edit_SelcallEncode;
    QLineEdit CEDT_Edit_PttOffEncode;
    QCheckBox CEDT_CBox_Rx_Lockout;
    QCheckBox CEDT_CBox_Tx_Lockout;
    QCheckBox CEDT_CBox_NoFfskAni;
    QGroupBox CEDT_GBox_Decodes;
    std::array<QCheckBox, 8> CEDT_CBox_Decodes;
    QPushButton CEDT_BitBtn_OK;
    QPushButton CEDT_BitBtn_Cancel;

  private:
    void NameControls();
    void BuildLayout();
    void FillLists();
    void Connect();
    void ShowDialog(const ChannelEditorSetup& setup);
    // The fields the rules read, from the controls, and back.
    pmr::ChannelEditFields Fields() const;
    void Show(const pmr::ChannelEditFields& fields);
    QLineEdit& FieldControl(pmr::EditField field);

    const pmr::ChannelEditContext& context_;
    Person& person_;
    FieldExits* exits_;
    std::optional<FieldBinder> binder_;
    bool nameEdited_ = false;
    std::string wideNameKept_;
    bool hiddenInZoneMode_ = false;  // in zone mode Hidden is not offered and stays unticked
};

}  // namespace km
