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
#include "forms/NamedControl.h"
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
    KM_CONTROL(QTabWidget, CEDT_PageControl);
    KM_CONTROL(QWidget, CEDT_Tab_ChOptions);
    KM_CONTROL(QWidget, CEDT_Tab_Selcall);
    KM_CONTROL(QLineEdit, CEDT_Edit_ChanNumber);
    KM_CONTROL(QLineEdit, CEDT_Edit_ChanName);
    KM_CONTROL(QGroupBox, CEDT_GBox_Receiver);
    KM_CONTROL(QLineEdit, CEDT_Edit_Rx_Frequency);
    KM_CONTROL(QComboBox, CEDT_Combo_Rx_CTCSSTone);
    KM_CONTROL(QGroupBox, CEDT_GBox_Transmitter);
    KM_CONTROL(QLineEdit, CEDT_Edit_Tx_Frequency);
    KM_CONTROL(QComboBox, CEDT_Combo_Tx_CTCSSTone);
    KM_CONTROL(QComboBox, CEDT_Combo_Tx_Power);
    KM_CONTROL(QCheckBox, CEDT_CBox_TxDisabled);
    KM_CONTROL(QCheckBox, CEDT_CBox_ComRepeater);
    KM_CONTROL(QCheckBox, CEDT_CBox_Hidden);
    KM_CONTROL(QComboBox, CEDT_ComboBox_ChanSpacing);
    KM_CONTROL(QCheckBox, CEDT_CBox_Economiser);
    KM_CONTROL(QCheckBox, CEDT_CBox_OverrideXtal);
    KM_CONTROL(QGroupBox, CEDT_GBox_CTCSS);
    KM_CONTROL(QCheckBox, CEDT_CBox_SelectableCTCSS);
    KM_CONTROL(QGroupBox, CEDT_RadioGrp_DCS);
    QRadioButton CEDT_Radio_CTCSS;
    QRadioButton CEDT_Radio_DCS;
    KM_CONTROL(QCheckBox, CEDT_CBox_DcsRxNormal);
    KM_CONTROL(QCheckBox, CEDT_CBox_DcsRxInverted);
    KM_CONTROL(QCheckBox, CEDT_CBox_DcsTxInverted);
    KM_CONTROL(QCheckBox, CEDT_CBox_SelcallEnabled);
    KM_CONTROL(QCheckBox, CEDT_CBox_OpenSelcall);
    KM_CONTROL(QLineEdit, CEDT_Edit_SelcallEncode);
    KM_CONTROL(QLineEdit, CEDT_Edit_PttOffEncode);
    KM_CONTROL(QCheckBox, CEDT_CBox_Rx_Lockout);
    KM_CONTROL(QCheckBox, CEDT_CBox_Tx_Lockout);
    KM_CONTROL(QCheckBox, CEDT_CBox_NoFfskAni);
    KM_CONTROL(QGroupBox, CEDT_GBox_Decodes);
    std::array<QCheckBox, 8> CEDT_CBox_Decodes;
    KM_CONTROL(QPushButton, CEDT_BitBtn_OK);
    KM_CONTROL(QPushButton, CEDT_BitBtn_Cancel);

  private:
    void NameDecodeBoxes();
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
