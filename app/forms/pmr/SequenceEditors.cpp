#include "forms/pmr/SequenceEditors.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "config/FieldRoutines.h"
#include "config/FormVisibility.h"
#include "core/Person.h"
#include "forms/pmr/FieldExits.h"

namespace km {
namespace {

namespace qr = pmr::sequence_rows;
using fields::FieldRow;

constexpr const char* kEncodeCaption = "Selcall Encode Mask";
constexpr const char* kDecodeCaption = "Decode Mask";
constexpr int kMaskLength = pmr::kMaxTones;

// The information labels: "Own Id :     " and the identity, the tonesets, and each duration
// as "Duration 0 : " and its text in milliseconds.
void FillInfo(SequenceInfoLabels& labels, const pmr::SelcallSettings& settings,
              std::span<const QString> tonesetCaptions, std::span<const std::size_t> tonesets) {
    labels.ownId.setText("Own Id :     " + ToQString(settings.ownIdentity));
    for (std::size_t t = 0; t < labels.tonesets.size(); ++t) {
        const bool shown = t < tonesets.size();
        labels.tonesets[t].setVisible(shown);
        if (shown) {
            labels.tonesets[t].setText(tonesetCaptions[t] +
                                       ToQString(settings.tonesetNames[tonesets[t]]));
        }
    }
    for (std::size_t d = 0; d < labels.durations.size(); ++d) {
        labels.durations[d].setText(QString("Duration %1 : ").arg(d) +
                                    ToQString(settings.durations[d]) + " mSec");
    }
}

QLayout* InfoLayout(SequenceInfoLabels& labels) {
    auto* info = new QVBoxLayout;
    info->addWidget(&labels.ownId);
    for (QLabel& label : labels.tonesets) {
        info->addWidget(&label);
    }
    for (QLabel& label : labels.durations) {
        info->addWidget(&label);
    }
    info->addStretch(1);
    return info;
}

void FitEdit(QLineEdit& edit, int chars) {
    edit.setMaxLength(chars);
    edit.setMaximumWidth(edit.fontMetrics().horizontalAdvance(QString(chars + 1, '0')) + 12);
}

QString Caption(const FieldRow& row) {
    return ToQString(row.caption);
}

const FieldRow& EncodeColumn(std::string_view id) {
    return qr::Column(qr::kEncodeColumns, id);
}
const FieldRow& DecodeColumn(std::string_view id) {
    return qr::Column(qr::kDecodeColumns, id);
}

// A digits-only edit of a dialog.
void Digits(QLineEdit& edit, int chars) {
    FitEdit(edit, chars);
    edit.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &edit));
}

// Bound numbers whose edit was emptied read back as 0, as the integer of an empty field is.
void StoreEmptyAsZero(const FieldBinder& binder, pmr::SequenceRecord& record) {
    for (QWidget* control : binder.Controls()) {
        const auto* edit = qobject_cast<const QLineEdit*>(control);
        const FieldRow* row = binder.RowOf(control);
        if (edit != nullptr && edit->text().isEmpty() && row->blankRaw == fields::kNoBlank &&
            !fields::IsTextEncoding(row->encoding)) {
            pmr::SetColumn(record, *row, 0);
        }
    }
}

void ShowTones(QLineEdit& mask, QLineEdit& durations, QLineEdit* tonesets,
               const pmr::ToneStrings& tones) {
    mask.setText(ToQString(tones.mask));
    durations.setText(ToQString(tones.durations));
    if (tonesets != nullptr) {
        tonesets->setText(ToQString(tones.tonesets));
    }
}

void SetUpButtons(QPushButton& ok, QPushButton& cancel) {
    ok.setText("OK");
    cancel.setText("Cancel");
    ok.setDefault(false);
    ok.setAutoDefault(false);
    cancel.setAutoDefault(false);
}

QHBoxLayout* ButtonRow(QPushButton& ok, QPushButton& cancel) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(&ok);
    buttons->addWidget(&cancel);
    return buttons;
}

}  // namespace

// ---- Keys ------------------------------------------------------------------------------------

void SequenceKeys::Watch(QLineEdit& edit, Rule rule) {
    rules_[&edit] = std::move(rule);
    edit.installEventFilter(this);
}

bool SequenceKeys::eventFilter(QObject* watched, QEvent* event) {
    const auto rule = rules_.find(watched);
    if (rule == rules_.end() || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) {
        return QObject::eventFilter(watched, event);  // editing keys pass
    }
    auto& edit = *static_cast<QLineEdit*>(watched);
    const char16_t typed = text.at(0).unicode();
    const pmr::KeyVerdict verdict =
        typed < 0x80 ? rule->second(edit, static_cast<char>(typed)) : pmr::KeyVerdict{};
    if (verdict.accepted) {
        edit.insert(QString(QChar(*verdict.accepted)));  // upper case; the edit keeps its length
        return true;
    }
    if (verdict.message) {
        person_.Error(*verdict.message);
    }
    person_.Beep();
    return true;
}

// ---- Encode dialog ---------------------------------------------------------------------------

TEDIT_ENC_Form::TEDIT_ENC_Form(const pmr::SelcallSettings& settings,
                               std::span<const pmr::EncodeEntry> list,
                               std::optional<std::size_t> editing, Person& person, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      list_(list),
      editing_(editing),
      person_(person),
      exits_(new FieldExits(*this)),
      keys_(new SequenceKeys(*this, person)) {
    setWindowTitle(kEncodeCaption);
    setObjectName("TEDIT_ENC_Form");
    BuildLayout();
    binder_.emplace(*this, qr::kEncodeColumns);
    Connect();
    EDENC_CBox_StartTimedReset.setVisible(false);  // never shown; its value is carried
}

void TEDIT_ENC_Form::BuildLayout() {
    Digits(EDENC_Edit_EncodeNumber, 3);
    for (QLineEdit* edit : {&EDENC_Edit_Mask, &EDENC_Edit_Duration, &EDENC_Edit_Toneset}) {
        edit->setMaxLength(kMaskLength);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kMaskLength + 2, 'W')));
    }
    Digits(EDENC_Edit_LET, 4);
    Digits(EDENC_Edit_LeadOutDelay, 4);
    Digits(EDENC_Edit_ResendDelay, 2);
    Digits(EDENC_Edit_MaxResends, 2);
    Digits(EDENC_Edit_AppendEncode, 3);
    EDENC_CBox_StartTimedReset.setText(Caption(EncodeColumn("start_timed_reset")));

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow("Encode Number", &EDENC_Edit_EncodeNumber);
    fields->addRow("Mask", &EDENC_Edit_Mask);
    fields->addRow("Duration", &EDENC_Edit_Duration);
    fields->addRow("Toneset", &EDENC_Edit_Toneset);
    fields->addRow(Caption(qr::kLinkEstablishTime), &EDENC_Edit_LET);
    fields->addRow(Caption(qr::kLeadOutDelay), &EDENC_Edit_LeadOutDelay);
    fields->addRow(Caption(qr::kResendInterval), &EDENC_Edit_ResendDelay);
    fields->addRow(Caption(EncodeColumn("max_resends")), &EDENC_Edit_MaxResends);
    fields->addRow(Caption(qr::kAckDecode), &EDENC_Combo_AckDecode);
    fields->addRow(Caption(qr::kAppendEncode), &EDENC_Edit_AppendEncode);
    fields->addRow(Caption(qr::kEncodeMute), &EDENC_Combo_SCMuteAction);
    fields->addRow(Caption(qr::kQueuing), &EDENC_Combo_OnCarrier);
    fields->addRow(Caption(EncodeColumn("ignore_decodes")), &EDENC_Combo_IgnoreDecodes);
    fields->addRow(Caption(EncodeColumn("user_ptt")), &EDENC_Combo_UserPTT);
    fields->addRow(&EDENC_CBox_StartTimedReset);

    SetUpButtons(EDENC_BitBtn_OK, EDENC_BitBtn_Cancel);
    auto* body = new QHBoxLayout;
    body->addLayout(fields);
    body->addSpacing(20);
    body->addLayout(InfoLayout(EDENC_Lbl_Info));
    auto* dialog = new QVBoxLayout(this);
    dialog->addLayout(body);
    dialog->addLayout(ButtonRow(EDENC_BitBtn_OK, EDENC_BitBtn_Cancel));
}

void TEDIT_ENC_Form::Connect() {
    exits_->SetCancelButton(&EDENC_BitBtn_Cancel);
    exits_->OnExit(EDENC_Edit_EncodeNumber, [this] { return EDENC_Edit_EncodeNumberExit(); });
    exits_->OnExit(EDENC_Edit_AppendEncode, [this] { return EDENC_Edit_AppendEncodeExit(); });
    for (QLineEdit* edit : {&EDENC_Edit_LET, &EDENC_Edit_LeadOutDelay, &EDENC_Edit_ResendDelay,
                            &EDENC_Edit_MaxResends}) {
        exits_->OnExit(*edit, [this, edit] { return binder_->CheckControl(edit, person_); });
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             &EDENC_Edit_EncodeNumber, &EDENC_Edit_Mask, &EDENC_Edit_Duration, &EDENC_Edit_Toneset,
             &EDENC_Edit_LET, &EDENC_Edit_LeadOutDelay, &EDENC_Edit_ResendDelay,
             &EDENC_Edit_MaxResends, &EDENC_Edit_AppendEncode, &EDENC_Combo_SCMuteAction,
             &EDENC_Combo_OnCarrier, &EDENC_Combo_AckDecode, &EDENC_Combo_IgnoreDecodes,
             &EDENC_Combo_UserPTT}) {
        exits_->EnterMovesFocus(*control);
    }
    keys_->Watch(EDENC_Edit_Mask, [this](const QLineEdit& edit, char typed) {
        return pmr::MaskKey(edit.text().toStdString(), typed, settings_, pmr::SequenceKind::Encode);
    });
    keys_->Watch(EDENC_Edit_Duration, [this](const QLineEdit&, char typed) {
        return pmr::DurationKey(typed, settings_, pmr::SequenceKind::Encode);
    });
    keys_->Watch(EDENC_Edit_Toneset,
                 [](const QLineEdit&, char typed) { return pmr::TonesetKey(typed); });
    connect(&EDENC_Edit_EncodeNumber, &QLineEdit::textEdited, this,
            [this] { EDENC_Edit_EncodeNumberChange(); });
    connect(&EDENC_BitBtn_OK, &QPushButton::clicked, this, [this] { EDENC_BitBtn_OKClick(); });
    connect(&EDENC_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEDIT_ENC_Form::FillFromEntry(const pmr::EncodeEntry& entry) {
    const QString tonesetCaptions[] = {"Toneset 1 : ", "Toneset 2 : "};
    const std::size_t tonesets[] = {0, 1};
    FillInfo(EDENC_Lbl_Info, settings_, tonesetCaptions, tonesets);
    EDENC_Edit_EncodeNumber.setText(QString::number(entry.number));
    ShowTones(EDENC_Edit_Mask, EDENC_Edit_Duration, &EDENC_Edit_Toneset,
              pmr::TonesOf(entry.record, pmr::SequenceKind::Encode));
    binder_->Load(fields::ImageId::Pmr, entry.record, 0);
}

void TEDIT_ENC_Form::ReadBack(pmr::EncodeEntry& entry) const {
    entry.number = static_cast<int>(IntegerOfField(EDENC_Edit_EncodeNumber.text().toStdString()));
    binder_->Store(fields::ImageId::Pmr, entry.record, 0);
    StoreEmptyAsZero(*binder_, entry.record);
    const pmr::ToneStrings typed{EDENC_Edit_Mask.text().toStdString(),
                                 EDENC_Edit_Duration.text().toStdString(),
                                 EDENC_Edit_Toneset.text().toStdString()};
    pmr::SetTones(entry.record, pmr::FilledTones(typed, pmr::SequenceKind::Encode),
                  pmr::SequenceKind::Encode);
}

void TEDIT_ENC_Form::EDENC_Edit_EncodeNumberChange() {
    RangeCheck(EDENC_Edit_EncodeNumber.text().toStdString(), 1, pmr::kMaxEncode, person_);
}

bool TEDIT_ENC_Form::EDENC_Edit_EncodeNumberExit() {
    const auto message =
        pmr::EncodeNumberMessage(EDENC_Edit_EncodeNumber.text().toStdString(), list_, editing_);
    if (message) {
        person_.Error(*message);
    }
    return !message;
}

bool TEDIT_ENC_Form::EDENC_Edit_AppendEncodeExit() {
    const auto message = pmr::AppendEncodeMessage(EDENC_Edit_AppendEncode.text().toStdString(),
                                                  EDENC_Edit_EncodeNumber.text().toStdString());
    if (message) {
        person_.Error(*message);
    }
    return !message;
}

void TEDIT_ENC_Form::EDENC_BitBtn_OKClick() {
    // An encode numbered 0 or left without a number would never be stored: OK refuses it.
    const auto message =
        pmr::EncodeNumberAtOkMessage(EDENC_Edit_EncodeNumber.text().toStdString(), list_, editing_);
    if (message) {
        person_.Error(*message);
        EDENC_Edit_EncodeNumber.setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!EDENC_Edit_AppendEncodeExit()) {
        EDENC_Edit_AppendEncode.setFocus(Qt::OtherFocusReason);
        return;
    }
    accept();
}

// ---- Decode dialog ---------------------------------------------------------------------------

TEDIT_DEC_Form::TEDIT_DEC_Form(const pmr::SelcallSettings& settings, Head head, bool narrowDisplay,
                               Person& person, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      narrowDisplay_(narrowDisplay),
      person_(person),
      exits_(new FieldExits(*this)),
      keys_(new SequenceKeys(*this, person)) {
    setWindowTitle(kDecodeCaption);
    setObjectName("TEDIT_DEC_Form");
    // Without an external alert its controls are hidden, their values kept.
    BuildLayout(!DecodeShowsExternalAlert(head));
    binder_.emplace(*this, qr::kDecodeColumns);
    Connect();
}

void TEDIT_DEC_Form::BuildLayout(bool withoutExternalAlert) {
    FitEdit(EDDEC_Edit_DecodeNumber, 3);
    EDDEC_Edit_DecodeNumber.setEnabled(false);
    EDDEC_Edit_DecodeName.setMaxLength(static_cast<int>(pmr::kDecodeNameWidth));
    for (QLineEdit* edit : {&EDDEC_Edit_Mask, &EDDEC_Edit_Duration}) {
        edit->setMaxLength(kMaskLength);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kMaskLength + 2, 'W')));
    }
    Digits(EDDEC_Edit_AlertTime, 4);
    Digits(EDDEC_Edit_ExtAlertTime, 4);
    Digits(EDDEC_Edit_ExtAlertDelay, 4);
    Digits(EDDEC_Edit_AckEncode, 3);
    Digits(EDDEC_Edit_AckEncodeDelay, 3);
    EDDEC_CBox_ResetAck.setText(Caption(qr::kAckResetTone));
    EDDEC_CBox_TriggerTimedRst.setText(Caption(qr::kDecodeTimedReset));
    EDDEC_CBox_ThirdToneReset.setText(Caption(qr::kDecodeThirdToneReset));

    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow("Decode Number", &EDDEC_Edit_DecodeNumber);
    fields->addRow(Caption(qr::kDecodeName), &EDDEC_Edit_DecodeName);
    fields->addRow("Mask", &EDDEC_Edit_Mask);
    fields->addRow("Duration", &EDDEC_Edit_Duration);
    auto* alert = new QHBoxLayout;
    alert->addWidget(&EDDEC_Combo_AlertAction);
    alert->addWidget(&EDDEC_Combo_AlertTone);
    alert->addWidget(&EDDEC_Edit_AlertTime);
    alert->addStretch(1);
    fields->addRow(Caption(qr::kAlertAction), alert);
    auto* external = new QHBoxLayout;
    external->addWidget(&EDDEC_Combo_ExtAlertAction);
    external->addWidget(&EDDEC_Edit_ExtAlertTime);
    external->addWidget(&EDDEC_Edit_ExtAlertDelay);
    external->addStretch(1);
    auto* externalLabel = new QLabel(Caption(qr::kExternalAlert));
    fields->addRow(externalLabel, external);
    fields->addRow(Caption(qr::kDecodeMute), &EDDEC_Combo_SCMuteAction);
    fields->addRow(Caption(qr::kCalledIcon), &EDDEC_Combo_CalledIcon);
    fields->addRow(Caption(qr::kDecodePtt), &EDDEC_Combo_PTTAction);
    fields->addRow(Caption(qr::kFunction), &EDDEC_Combo_StunAction);
    fields->addRow(Caption(DecodeColumn("stored_calls")), &EDDEC_Combo_CallInAbsence);
    auto* ack = new QHBoxLayout;
    ack->addWidget(&EDDEC_Edit_AckEncode);
    ack->addWidget(&EDDEC_Edit_AckEncodeDelay);
    ack->addStretch(1);
    fields->addRow("Acknowledge with Selcall Encode", ack);
    fields->addRow(&EDDEC_CBox_ResetAck);
    fields->addRow(&EDDEC_CBox_TriggerTimedRst);
    fields->addRow(&EDDEC_CBox_ThirdToneReset);
    for (QWidget* control :
         std::initializer_list<QWidget*>{externalLabel, &EDDEC_Combo_ExtAlertAction,
                                         &EDDEC_Edit_ExtAlertTime, &EDDEC_Edit_ExtAlertDelay}) {
        control->setVisible(!withoutExternalAlert);
    }

    SetUpButtons(EDDEC_BitBtn_OK, EDDEC_BitBtn_Cancel);
    auto* body = new QHBoxLayout;
    body->addLayout(fields);
    body->addSpacing(20);
    body->addLayout(InfoLayout(EDDEC_Lbl_Info));
    auto* dialog = new QVBoxLayout(this);
    dialog->addLayout(body);
    dialog->addLayout(ButtonRow(EDDEC_BitBtn_OK, EDDEC_BitBtn_Cancel));
}

void TEDIT_DEC_Form::Connect() {
    exits_->SetCancelButton(&EDDEC_BitBtn_Cancel);
    exits_->OnExit(EDDEC_Edit_DecodeName, [this] { return EDDEC_Edit_DecodeNameExit(); });
    exits_->OnExit(EDDEC_Edit_AckEncode, [this] { return EDDEC_Edit_AckEncodeExit(); });
    for (QLineEdit* edit : {&EDDEC_Edit_AlertTime, &EDDEC_Edit_ExtAlertTime,
                            &EDDEC_Edit_ExtAlertDelay, &EDDEC_Edit_AckEncodeDelay}) {
        exits_->OnExit(*edit, [this, edit] { return binder_->CheckControl(edit, person_); });
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             &EDDEC_Edit_DecodeName, &EDDEC_Edit_Mask, &EDDEC_Edit_Duration,
             &EDDEC_Combo_AlertAction, &EDDEC_Combo_AlertTone, &EDDEC_Edit_AlertTime,
             &EDDEC_Combo_ExtAlertAction, &EDDEC_Edit_ExtAlertTime, &EDDEC_Edit_ExtAlertDelay,
             &EDDEC_Combo_SCMuteAction, &EDDEC_Combo_CalledIcon, &EDDEC_Combo_PTTAction,
             &EDDEC_Combo_StunAction, &EDDEC_Combo_CallInAbsence, &EDDEC_Edit_AckEncode,
             &EDDEC_Edit_AckEncodeDelay}) {
        exits_->EnterMovesFocus(*control);
    }
    keys_->Watch(EDDEC_Edit_Mask, [this](const QLineEdit& edit, char typed) {
        return pmr::MaskKey(edit.text().toStdString(), typed, settings_, pmr::SequenceKind::Decode);
    });
    keys_->Watch(EDDEC_Edit_Duration, [this](const QLineEdit&, char typed) {
        return pmr::DurationKey(typed, settings_, pmr::SequenceKind::Decode);
    });
    for (QComboBox* combo : {&EDDEC_Combo_AlertAction, &EDDEC_Combo_ExtAlertAction}) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this] { EDDEC_Combo_ActionChange(); });
    }
    connect(&EDDEC_CBox_ResetAck, &QCheckBox::clicked, this,
            [this] { EDDEC_CBox_ResetAckClick(); });
    connect(&EDDEC_BitBtn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(&EDDEC_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TEDIT_DEC_Form::FillFromEntry(const pmr::DecodeEntry& entry) {
    const QString tonesetCaptions[] = {"Toneset : "};
    const std::size_t tonesets[] = {2};
    FillInfo(EDDEC_Lbl_Info, settings_, tonesetCaptions, tonesets);
    EDDEC_Edit_DecodeNumber.setText(QString::number(entry.number));
    EDDEC_Edit_DecodeName.setText(ToQString(entry.name));
    ShowTones(EDDEC_Edit_Mask, EDDEC_Edit_Duration, nullptr,
              pmr::TonesOf(entry.record, pmr::SequenceKind::Decode));
    binder_->Load(fields::ImageId::Pmr, entry.record, 0);
    EDDEC_Combo_ActionChange();
}

void TEDIT_DEC_Form::ReadBack(pmr::DecodeEntry& entry) const {
    entry.name = EDDEC_Edit_DecodeName.text().toStdString();
    binder_->Store(fields::ImageId::Pmr, entry.record, 0);
    StoreEmptyAsZero(*binder_, entry.record);
    const pmr::ToneStrings typed{EDDEC_Edit_Mask.text().toStdString(),
                                 EDDEC_Edit_Duration.text().toStdString(), ""};
    pmr::SetTones(entry.record, pmr::FilledTones(typed, pmr::SequenceKind::Decode),
                  pmr::SequenceKind::Decode);
}

bool TEDIT_DEC_Form::AckEncodeDefined() const {
    return IntegerOfField(EDDEC_Edit_AckEncode.text().toStdString()) != 0;
}

bool TEDIT_DEC_Form::EDDEC_Edit_DecodeNameExit() {
    return !narrowDisplay_ ||
           CheckDisplayWidth(EDDEC_Edit_DecodeName.text().toStdString(), false, person_);
}

bool TEDIT_DEC_Form::EDDEC_Edit_AckEncodeExit() {
    if (!binder_->CheckControl(&EDDEC_Edit_AckEncode, person_)) {
        return false;
    }
    if (!AckEncodeDefined()) {
        EDDEC_CBox_ResetAck.setChecked(false);
    }
    return true;
}

void TEDIT_DEC_Form::EDDEC_CBox_ResetAckClick() {
    if (EDDEC_CBox_ResetAck.isChecked() && !AckEncodeDefined()) {
        person_.Error(pmr::kAckResetToneText);
        EDDEC_CBox_ResetAck.setChecked(false);
    }
}

void TEDIT_DEC_Form::EDDEC_Combo_ActionChange() {
    const auto value = [this](QComboBox& combo) { return binder_->Value(&combo); };
    const bool alert = value(EDDEC_Combo_AlertAction) == fields::FieldValue(qr::kAlertStart);
    EDDEC_Combo_AlertTone.setEnabled(alert);
    EDDEC_Edit_AlertTime.setEnabled(alert);
    const bool external =
        value(EDDEC_Combo_ExtAlertAction) == fields::FieldValue(qr::kExtAlertStart);
    EDDEC_Edit_ExtAlertTime.setEnabled(external);
    EDDEC_Edit_ExtAlertDelay.setEnabled(external);
}

}  // namespace km
