#pragma once
// The two modal dialogs of the Encode/Decode form: the encode dialog (`TEDIT_ENC_Form`, "Selcall
// Encode Mask") and the decode dialog (`TEDIT_DEC_Form`, "Decode Mask"). Each is filled from a
// working entry, checks its fields as they are typed and left, and reads its values back into the
// entry after OK. The plain fields are bound to the columns of the entry's record
// (lib/pmr/Scl2Map.h); the mask, duration and toneset strings become the record's tone bytes.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <span>

#include "config/RadioTypes.h"
#include "forms/FieldBinder.h"
#include "forms/NamedControl.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"

namespace km {

class Person;
class FieldExits;

// The key rules of a dialog's edits: each typed character is taken (upper case), or refused with
// a beep and, where the rule has one, a message.
class SequenceKeys : public QObject {
    Q_OBJECT
  public:
    using Rule = std::function<pmr::KeyVerdict(const QLineEdit& edit, char typed)>;
    SequenceKeys(QObject& owner, Person& person) : QObject(&owner), person_(person) {}
    void Watch(QLineEdit& edit, Rule rule);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Person& person_;
    std::map<QObject*, Rule> rules_;
};

// The information labels both dialogs show: the own identity, the tonesets and the durations.
struct SequenceInfoLabels {
    QLabel ownId;
    std::array<QLabel, 2> tonesets;
    std::array<QLabel, pmr::kToneDurationCount> durations;
};

class TEDIT_ENC_Form : public QDialog {
    Q_OBJECT
  public:
    // `list` are the encodes of the form; `editing` the place of the one edited (none when one is
    // added).
    TEDIT_ENC_Form(const pmr::SelcallSettings& settings, std::span<const pmr::EncodeEntry> list,
                   std::optional<std::size_t> editing, Person& person, QWidget* parent = nullptr);

    void FillFromEntry(const pmr::EncodeEntry& entry);
    void ReadBack(pmr::EncodeEntry& entry) const;

    // Handlers, named as the domain names them. The exits return false when the focus goes back.
    void EDENC_Edit_EncodeNumberChange();
    bool EDENC_Edit_EncodeNumberExit();
    bool EDENC_Edit_AppendEncodeExit();
    // OK: the number (and the append encode) must pass; the dialog closes with Accepted then.
    void EDENC_BitBtn_OKClick();

    // Controls, public for the form's tests.
    SequenceInfoLabels EDENC_Lbl_Info;
    KM_CONTROL(QLineEdit, EDENC_Edit_EncodeNumber);
    KM_CONTROL(QLineEdit, EDENC_Edit_Mask);
    KM_CONTROL(QLineEdit, EDENC_Edit_Duration);
    KM_CONTROL(QLineEdit, EDENC_Edit_Toneset);
    KM_CONTROL(QLineEdit, EDENC_Edit_LET);
    KM_CONTROL(QLineEdit, EDENC_Edit_LeadOutDelay);
    KM_CONTROL(QLineEdit, EDENC_Edit_ResendDelay);
    KM_CONTROL(QLineEdit, EDENC_Edit_MaxResends);
    KM_CONTROL(QLineEdit, EDENC_Edit_AppendEncode);
    KM_CONTROL(QComboBox, EDENC_Combo_SCMuteAction);
    KM_CONTROL(QComboBox, EDENC_Combo_OnCarrier);
    KM_CONTROL(QComboBox, EDENC_Combo_AckDecode);
    KM_CONTROL(QComboBox, EDENC_Combo_IgnoreDecodes);
    KM_CONTROL(QComboBox, EDENC_Combo_UserPTT);
    KM_CONTROL(QCheckBox, EDENC_CBox_StartTimedReset);
    KM_CONTROL(QPushButton, EDENC_BitBtn_OK);
    KM_CONTROL(QPushButton, EDENC_BitBtn_Cancel);

  private:
    void BuildLayout();
    void Connect();

    pmr::SelcallSettings settings_;
    std::span<const pmr::EncodeEntry> list_;
    std::optional<std::size_t> editing_;
    Person& person_;
    FieldExits* exits_;
    SequenceKeys* keys_;
    std::optional<FieldBinder> binder_;
};

class TEDIT_DEC_Form : public QDialog {
    Q_OBJECT
  public:
    // `narrowDisplay`: the name must fit the display of the radio's head.
    TEDIT_DEC_Form(const pmr::SelcallSettings& settings, Head head, bool narrowDisplay,
                   Person& person, QWidget* parent = nullptr);

    void FillFromEntry(const pmr::DecodeEntry& entry);
    void ReadBack(pmr::DecodeEntry& entry) const;

    // Handlers, named as the domain names them.
    bool EDDEC_Edit_DecodeNameExit();
    bool EDDEC_Edit_AckEncodeExit();
    void EDDEC_CBox_ResetAckClick();
    void EDDEC_Combo_ActionChange();

    // Controls, public for the form's tests.
    SequenceInfoLabels EDDEC_Lbl_Info;
    KM_CONTROL(QLineEdit, EDDEC_Edit_DecodeNumber);
    KM_CONTROL(QLineEdit, EDDEC_Edit_DecodeName);
    KM_CONTROL(QLineEdit, EDDEC_Edit_Mask);
    KM_CONTROL(QLineEdit, EDDEC_Edit_Duration);
    KM_CONTROL(QComboBox, EDDEC_Combo_AlertAction);
    KM_CONTROL(QComboBox, EDDEC_Combo_AlertTone);
    KM_CONTROL(QLineEdit, EDDEC_Edit_AlertTime);
    KM_CONTROL(QComboBox, EDDEC_Combo_ExtAlertAction);
    KM_CONTROL(QLineEdit, EDDEC_Edit_ExtAlertTime);
    KM_CONTROL(QLineEdit, EDDEC_Edit_ExtAlertDelay);
    KM_CONTROL(QComboBox, EDDEC_Combo_SCMuteAction);
    KM_CONTROL(QComboBox, EDDEC_Combo_CalledIcon);
    KM_CONTROL(QComboBox, EDDEC_Combo_PTTAction);
    KM_CONTROL(QComboBox, EDDEC_Combo_StunAction);
    KM_CONTROL(QComboBox, EDDEC_Combo_CallInAbsence);
    KM_CONTROL(QLineEdit, EDDEC_Edit_AckEncode);
    KM_CONTROL(QLineEdit, EDDEC_Edit_AckEncodeDelay);
    KM_CONTROL(QCheckBox, EDDEC_CBox_ResetAck);
    KM_CONTROL(QCheckBox, EDDEC_CBox_TriggerTimedRst);
    KM_CONTROL(QCheckBox, EDDEC_CBox_ThirdToneReset);
    KM_CONTROL(QPushButton, EDDEC_BitBtn_OK);
    KM_CONTROL(QPushButton, EDDEC_BitBtn_Cancel);

  private:
    void BuildLayout(bool withoutExternalAlert);
    void Connect();
    bool AckEncodeDefined() const;

    pmr::SelcallSettings settings_;
    bool narrowDisplay_;
    Person& person_;
    FieldExits* exits_;
    SequenceKeys* keys_;
    std::optional<FieldBinder> binder_;
};

}  // namespace km
