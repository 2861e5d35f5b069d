#include "forms/pmr/ChannelEditor.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/RadioTypes.h"
#include "core/Person.h"
#include "forms/pmr/FieldExits.h"
#include "pmr/ChannelRows.h"

namespace km {
namespace {

namespace cr = pmr::channel_rows;
using pmr::ChannelEditFields;

constexpr const char* kCaption = "Channel Editor";
constexpr const char* kChOptionsPage = "Ch Options";
constexpr const char* kSelcallPage = "Selcall";
constexpr const char* kNumberHint = "Channel Number 0 - 999";
constexpr const char* kPowerTexts[] = {"Low", "Medium", "High"};
constexpr const char* kBandwidthTexts[] = {"10  kHz", "12.5 kHz", "20  kHz", "25  kHz"};
constexpr int kNumberDigits = 3;
constexpr int kFrequencyCharacters = 9;
constexpr int kEncodeDigits = 3;

QString Q(std::string_view text) {
    return ToQString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

void SetChecked(QCheckBox& box, bool on) {
    const QSignalBlocker blocker(box);
    box.setChecked(on);
}

void SetText(QLineEdit& edit, const std::string& text) {
    const QSignalBlocker blocker(edit);
    edit.setText(Q(text));
}

void SetRow(QComboBox& combo, int row) {
    const QSignalBlocker blocker(combo);
    combo.setCurrentIndex(row);
}

// The combo box item of a code byte (the binder stores the code as the item's data).
void SetCode(QComboBox& combo, std::uint8_t code) {
    const QSignalBlocker blocker(combo);
    const int row = combo.findData(QVariant::fromValue<qlonglong>(code));
    if (row >= 0) {
        combo.setCurrentIndex(row);
    }
}

std::uint8_t CodeOf(const QComboBox& combo) {
    return static_cast<std::uint8_t>(combo.currentData().toLongLong());
}

void DigitsOnly(QLineEdit& edit, int digits) {
    edit.setMaxLength(digits);
    edit.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &edit));
}

}  // namespace

TCEDT_Form::TCEDT_Form(const pmr::ChannelEditContext& context, const ChannelEditorSetup& setup,
                       Person& person, QWidget* parent)
    : QDialog(parent), context_(context), person_(person), exits_(new FieldExits(*this)) {
    setObjectName("TCEDT_Form");
    setWindowTitle(kCaption);
    NameDecodeBoxes();
    FillLists();
    BuildLayout();
    binder_.emplace(*this, cr::kColumns);
    Connect();
    ShowDialog(setup);
}

void TCEDT_Form::NameDecodeBoxes() {
    for (std::size_t d = 0; d < CEDT_CBox_Decodes.size(); ++d) {
        CEDT_CBox_Decodes[d].setObjectName(QString("CEDT_CBox_Decode%1").arg(d + 1));
        CEDT_CBox_Decodes[d].setText(QString("Decode %1").arg(d + 1));
    }
}

void TCEDT_Form::FillLists() {
    for (const char* text : kPowerTexts) {
        CEDT_Combo_Tx_Power.addItem(text);
    }
    for (const char* text : kBandwidthTexts) {
        CEDT_ComboBox_ChanSpacing.addItem(text);
    }
}

void TCEDT_Form::BuildLayout() {
    CEDT_Edit_ChanNumber.setToolTip(kNumberHint);
    DigitsOnly(CEDT_Edit_ChanNumber, kNumberDigits);
    DigitsOnly(CEDT_Edit_SelcallEncode, kEncodeDigits);
    DigitsOnly(CEDT_Edit_PttOffEncode, kEncodeDigits);
    CEDT_Edit_ChanName.setMaxLength(12);
    for (QLineEdit* frequency : {&CEDT_Edit_Rx_Frequency, &CEDT_Edit_Tx_Frequency}) {
        frequency->setMaxLength(kFrequencyCharacters);
        frequency->setValidator(
            new QRegularExpressionValidator(QRegularExpression("[0-9]*[.,]?[0-9]*"), frequency));
    }
    CEDT_GBox_Receiver.setTitle("Receiver");
    CEDT_GBox_Transmitter.setTitle("Transmitter");
    CEDT_GBox_CTCSS.setTitle("CTCSS/DCS");
    CEDT_GBox_Decodes.setTitle("Active Decodes");
    CEDT_CBox_TxDisabled.setText("Transmit Disabled");
    CEDT_CBox_ComRepeater.setText("Community Repeater");
    CEDT_CBox_Hidden.setText("Hidden");
    CEDT_CBox_Economiser.setText("Economiser");
    CEDT_CBox_OverrideXtal.setText("Override Xtal Switch");
    CEDT_CBox_SelectableCTCSS.setText("Selectable CTCSS");
    CEDT_RadioGrp_DCS.setTitle("");
    CEDT_Radio_CTCSS.setText("CTCSS");
    CEDT_Radio_DCS.setText("DCS");
    CEDT_Radio_CTCSS.setChecked(true);
    CEDT_CBox_DcsRxNormal.setText("Rx Normal DCS");
    CEDT_CBox_DcsRxInverted.setText("Rx Inverted DCS");
    CEDT_CBox_DcsTxInverted.setText("Tx Inverted DCS");
    CEDT_CBox_DcsRxNormal.setChecked(true);
    CEDT_CBox_DcsRxInverted.setChecked(true);
    CEDT_CBox_SelcallEnabled.setText("Selcall Enabled");
    CEDT_CBox_OpenSelcall.setText("Open Selcall");
    CEDT_CBox_Rx_Lockout.setText("Rx Lockout");
    CEDT_CBox_Tx_Lockout.setText("Tx Lockout");
    CEDT_CBox_NoFfskAni.setText("No FFSK ANI");
    CEDT_BitBtn_OK.setText("OK");
    CEDT_BitBtn_Cancel.setText("Cancel");
    CEDT_BitBtn_OK.setDefault(false);
    CEDT_BitBtn_OK.setAutoDefault(false);
    CEDT_BitBtn_Cancel.setAutoDefault(false);

    auto* identity = new QFormLayout;
    identity->addRow("Channel Number", &CEDT_Edit_ChanNumber);
    identity->addRow("Name", &CEDT_Edit_ChanName);

    auto* receiver = new QFormLayout(&CEDT_GBox_Receiver);
    receiver->addRow("Frequency (MHz)", &CEDT_Edit_Rx_Frequency);
    receiver->addRow("CTCSS/DCS", &CEDT_Combo_Rx_CTCSSTone);

    auto* transmitter = new QFormLayout(&CEDT_GBox_Transmitter);
    transmitter->addRow("Frequency (MHz)", &CEDT_Edit_Tx_Frequency);
    transmitter->addRow("CTCSS/DCS", &CEDT_Combo_Tx_CTCSSTone);
    transmitter->addRow("Power", &CEDT_Combo_Tx_Power);
    transmitter->addRow(&CEDT_CBox_TxDisabled);

    auto* dcsModes = new QHBoxLayout(&CEDT_RadioGrp_DCS);
    dcsModes->addWidget(&CEDT_Radio_CTCSS);
    dcsModes->addWidget(&CEDT_Radio_DCS);
    auto* tones = new QVBoxLayout(&CEDT_GBox_CTCSS);
    tones->addWidget(&CEDT_CBox_SelectableCTCSS);
    tones->addWidget(&CEDT_RadioGrp_DCS);
    tones->addWidget(&CEDT_CBox_DcsRxNormal);
    tones->addWidget(&CEDT_CBox_DcsRxInverted);
    tones->addWidget(&CEDT_CBox_DcsTxInverted);
    tones->addStretch(1);

    auto* flags = new QVBoxLayout;
    flags->addWidget(&CEDT_CBox_ComRepeater);
    flags->addWidget(&CEDT_CBox_Hidden);
    auto* spacing = new QFormLayout;
    spacing->addRow("Channel Bandwidth", &CEDT_ComboBox_ChanSpacing);
    flags->addLayout(spacing);
    flags->addWidget(&CEDT_CBox_Economiser);
    flags->addWidget(&CEDT_CBox_OverrideXtal);
    flags->addStretch(1);

    auto* options = new QGridLayout(&CEDT_Tab_ChOptions);
    options->addLayout(identity, 0, 0, 1, 2);
    options->addWidget(&CEDT_GBox_Receiver, 1, 0);
    options->addWidget(&CEDT_GBox_Transmitter, 1, 1);
    options->addLayout(flags, 2, 0);
    options->addWidget(&CEDT_GBox_CTCSS, 2, 1);

    auto* decodes = new QGridLayout(&CEDT_GBox_Decodes);
    for (std::size_t d = 0; d < CEDT_CBox_Decodes.size(); ++d) {
        decodes->addWidget(&CEDT_CBox_Decodes[d], static_cast<int>(d % 4), static_cast<int>(d / 4));
    }
    auto* encodes = new QFormLayout;
    encodes->addRow(&CEDT_CBox_SelcallEnabled);
    encodes->addRow(&CEDT_CBox_OpenSelcall);
    encodes->addRow("Selcall Encode", &CEDT_Edit_SelcallEncode);
    encodes->addRow("PTT Off Encode", &CEDT_Edit_PttOffEncode);
    encodes->addRow(&CEDT_CBox_Rx_Lockout);
    encodes->addRow(&CEDT_CBox_Tx_Lockout);
    encodes->addRow(&CEDT_CBox_NoFfskAni);
    auto* selcall = new QHBoxLayout(&CEDT_Tab_Selcall);
    selcall->addLayout(encodes);
    selcall->addWidget(&CEDT_GBox_Decodes, 0, Qt::AlignTop);

    CEDT_PageControl.addTab(&CEDT_Tab_ChOptions, kChOptionsPage);
    CEDT_PageControl.addTab(&CEDT_Tab_Selcall, kSelcallPage);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(&CEDT_BitBtn_OK);
    buttons->addWidget(&CEDT_BitBtn_Cancel);
    auto* dialog = new QVBoxLayout(this);
    dialog->addWidget(&CEDT_PageControl);
    dialog->addLayout(buttons);
}

void TCEDT_Form::Connect() {
    exits_->SetCancelButton(&CEDT_BitBtn_Cancel);
    exits_->OnExit(CEDT_Edit_ChanNumber, [this] { return CEDT_Edit_ChanNumberExit(); });
    exits_->OnExit(CEDT_Edit_ChanName, [this] { return CEDT_Edit_ChanNameExit(); });
    exits_->OnExit(CEDT_Edit_Rx_Frequency, [this] { return CEDT_Edit_FrequencyExit(false); });
    exits_->OnExit(CEDT_Edit_Tx_Frequency, [this] { return CEDT_Edit_FrequencyExit(true); });
    for (QWidget* control : std::initializer_list<QWidget*>{
             &CEDT_Combo_Rx_CTCSSTone, &CEDT_Combo_Tx_CTCSSTone, &CEDT_Combo_Tx_Power,
             &CEDT_CBox_TxDisabled, &CEDT_CBox_ComRepeater, &CEDT_CBox_Hidden,
             &CEDT_ComboBox_ChanSpacing, &CEDT_CBox_Economiser, &CEDT_CBox_OverrideXtal,
             &CEDT_CBox_SelectableCTCSS, &CEDT_CBox_DcsTxInverted, &CEDT_CBox_SelcallEnabled,
             &CEDT_CBox_OpenSelcall, &CEDT_Edit_SelcallEncode, &CEDT_Edit_PttOffEncode,
             &CEDT_CBox_Rx_Lockout, &CEDT_CBox_Tx_Lockout, &CEDT_CBox_NoFfskAni}) {
        exits_->EnterMovesFocus(*control);
    }
    for (QCheckBox& decode : CEDT_CBox_Decodes) {
        exits_->EnterMovesFocus(decode);
    }
    connect(&CEDT_CBox_TxDisabled, &QCheckBox::clicked, this,
            [this] { CEDT_CBox_TxDisabledClick(); });
    connect(&CEDT_CBox_Rx_Lockout, &QCheckBox::clicked, this,
            [this] { CEDT_CBox_Rx_LockoutClick(); });
    connect(&CEDT_CBox_OpenSelcall, &QCheckBox::clicked, this,
            [this] { CEDT_CBox_OpenSelcallClick(); });
    connect(&CEDT_CBox_ComRepeater, &QCheckBox::clicked, this,
            [this] { CEDT_CBox_ComRepeaterClick(); });
    connect(&CEDT_CBox_SelectableCTCSS, &QCheckBox::clicked, this,
            [this] { CEDT_CBox_SelectableCTCSSClick(); });
    connect(&CEDT_Combo_Rx_CTCSSTone, &QComboBox::activated, this,
            [this] { CEDT_Combo_CTCSSToneChange(false); });
    connect(&CEDT_Combo_Tx_CTCSSTone, &QComboBox::activated, this,
            [this] { CEDT_Combo_CTCSSToneChange(true); });
    connect(&CEDT_Combo_Tx_Power, &QComboBox::activated, this,
            [this] { CEDT_Combo_Tx_PowerChange(); });
    connect(&CEDT_ComboBox_ChanSpacing, &QComboBox::activated, this,
            [this] { CEDT_ComboBox_ChanSpacingChange(); });
    for (QLineEdit* encode : {&CEDT_Edit_SelcallEncode, &CEDT_Edit_PttOffEncode}) {
        connect(encode, &QLineEdit::textEdited, this, [this, encode] {
            if (!CEDT_Edit_EncodeChange(*encode)) {
                encode->setFocus();
            }
        });
    }
    connect(&CEDT_BitBtn_OK, &QPushButton::clicked, this, [this] { CEDT_BitBtn_OKClick(); });
    connect(&CEDT_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TCEDT_Form::ShowDialog(const ChannelEditorSetup& setup) {
    CEDT_CBox_Economiser.setVisible(IsPortableMask(context_.radioTypeMask));
    CEDT_CBox_OverrideXtal.setVisible(setup.userLevelMask == 4 || setup.userLevelMask == 8);
    CEDT_CBox_Hidden.setVisible(!setup.zoneMode);
    if (setup.zoneMode) {
        SetChecked(CEDT_CBox_Hidden, false);
    }
    // The CTCSS/DCS choice and the receive DCS polarities are written fixed by the store.
    CEDT_RadioGrp_DCS.setVisible(false);
    CEDT_CBox_DcsRxNormal.setVisible(false);
    CEDT_CBox_DcsRxInverted.setVisible(false);
    nameEdited_ = false;
    hiddenInZoneMode_ = setup.zoneMode;
}

// ---- Fill and read back ----

void TCEDT_Form::FillFromEditBuffer(const pmr::ChannelEntry& entry) {
    binder_->Load(fields::ImageId::Pmr, entry.record, 0);
    Show(pmr::FieldsOf(entry));
    if (hiddenInZoneMode_) {
        SetChecked(CEDT_CBox_Hidden, false);
    }
    nameEdited_ = false;
}

void TCEDT_Form::ReadBackToEditBuffer(pmr::ChannelEntry& entry) const {
    binder_->Store(fields::ImageId::Pmr, entry.record, 0);
    pmr::ReadBack(Fields(), entry);
}

ChannelEditFields TCEDT_Form::Fields() const {
    ChannelEditFields fields;
    fields.number = S(CEDT_Edit_ChanNumber.text());
    fields.name = S(CEDT_Edit_ChanName.text());
    fields.rx = S(CEDT_Edit_Rx_Frequency.text());
    fields.tx = S(CEDT_Edit_Tx_Frequency.text());
    fields.txDisabled = CEDT_CBox_TxDisabled.isChecked();
    fields.rxCode = CodeOf(CEDT_Combo_Rx_CTCSSTone);
    fields.txCode = CodeOf(CEDT_Combo_Tx_CTCSSTone);
    fields.power = static_cast<pmr::Power>(std::max(0, CEDT_Combo_Tx_Power.currentIndex()));
    fields.bandwidth =
        static_cast<pmr::Bandwidth>(std::max(0, CEDT_ComboBox_ChanSpacing.currentIndex()));
    fields.selectableCtcss = CEDT_CBox_SelectableCTCSS.isChecked();
    fields.communityRepeater = CEDT_CBox_ComRepeater.isChecked();
    fields.rxLockout = CEDT_CBox_Rx_Lockout.isChecked();
    fields.openSelcall = CEDT_CBox_OpenSelcall.isChecked();
    fields.selcallEnabled = CEDT_CBox_SelcallEnabled.isChecked();
    fields.encode = S(CEDT_Edit_SelcallEncode.text());
    fields.pttOffEncode = S(CEDT_Edit_PttOffEncode.text());
    fields.nameEdited = nameEdited_;
    fields.wideNameKept = wideNameKept_;
    return fields;
}

void TCEDT_Form::Show(const ChannelEditFields& fields) {
    SetText(CEDT_Edit_ChanNumber, fields.number);
    SetText(CEDT_Edit_ChanName, fields.name);
    SetText(CEDT_Edit_Rx_Frequency, fields.rx);
    SetText(CEDT_Edit_Tx_Frequency, fields.tx);
    SetChecked(CEDT_CBox_TxDisabled, fields.txDisabled);
    SetCode(CEDT_Combo_Rx_CTCSSTone, fields.rxCode);
    SetCode(CEDT_Combo_Tx_CTCSSTone, fields.txCode);
    SetRow(CEDT_Combo_Tx_Power, static_cast<int>(fields.power));
    SetRow(CEDT_ComboBox_ChanSpacing, static_cast<int>(fields.bandwidth));
    SetChecked(CEDT_CBox_SelectableCTCSS, fields.selectableCtcss);
    SetChecked(CEDT_CBox_ComRepeater, fields.communityRepeater);
    SetChecked(CEDT_CBox_Rx_Lockout, fields.rxLockout);
    SetChecked(CEDT_CBox_OpenSelcall, fields.openSelcall);
    SetChecked(CEDT_CBox_SelcallEnabled, fields.selcallEnabled);
    SetText(CEDT_Edit_SelcallEncode, fields.encode);
    SetText(CEDT_Edit_PttOffEncode, fields.pttOffEncode);
    nameEdited_ = fields.nameEdited;
}

QLineEdit& TCEDT_Form::FieldControl(pmr::EditField field) {
    switch (field) {
        case pmr::EditField::Name:
            return CEDT_Edit_ChanName;
        case pmr::EditField::Rx:
            return CEDT_Edit_Rx_Frequency;
        case pmr::EditField::Tx:
            return CEDT_Edit_Tx_Frequency;
        case pmr::EditField::Encode:
            return CEDT_Edit_SelcallEncode;
        case pmr::EditField::PttOffEncode:
            return CEDT_Edit_PttOffEncode;
        case pmr::EditField::None:
        case pmr::EditField::Number:
            break;
    }
    return CEDT_Edit_ChanNumber;
}

// ---- Rules ----

bool TCEDT_Form::CEDT_Edit_ChanNumberExit() {
    return pmr::NumberLeft(Fields(), context_, person_);
}

bool TCEDT_Form::CEDT_Edit_ChanNameExit() {
    ChannelEditFields fields = Fields();
    const bool passed = pmr::NameLeft(fields, context_, person_);
    nameEdited_ = fields.nameEdited;
    wideNameKept_ = fields.wideNameKept;
    if (Q(fields.name) != CEDT_Edit_ChanName.text()) {
        SetText(CEDT_Edit_ChanName, fields.name);  // shortened to what fits, as the user chose
    }
    return passed;
}

bool TCEDT_Form::CEDT_Edit_FrequencyExit(bool transmit) {
    ChannelEditFields fields = Fields();
    const bool passed = pmr::FrequencyLeft(fields, transmit, context_, person_);
    Show(fields);
    return passed;
}

bool TCEDT_Form::CEDT_Edit_EncodeChange(QLineEdit& encode) {
    return pmr::EncodeChanged(S(encode.text()), person_);
}

void TCEDT_Form::CEDT_CBox_TxDisabledClick() {
    ChannelEditFields fields = Fields();
    pmr::TxDisabledTicked(fields, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_CBox_Rx_LockoutClick() {
    ChannelEditFields fields = Fields();
    pmr::RxLockoutTicked(fields, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_CBox_OpenSelcallClick() {
    ChannelEditFields fields = Fields();
    pmr::OpenSelcallTicked(fields, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_CBox_ComRepeaterClick() {
    pmr::CommunityRepeaterTicked(Fields(), person_);
}

void TCEDT_Form::CEDT_Combo_CTCSSToneChange(bool transmit) {
    ChannelEditFields fields = Fields();
    pmr::CodeChanged(fields, transmit, context_, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_CBox_SelectableCTCSSClick() {
    ChannelEditFields fields = Fields();
    pmr::SelectableCtcssTicked(fields, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_Combo_Tx_PowerChange() {
    ChannelEditFields fields = Fields();
    pmr::PowerChanged(fields, context_, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_ComboBox_ChanSpacingChange() {
    ChannelEditFields fields = Fields();
    pmr::BandwidthChanged(fields, context_, person_);
    Show(fields);
}

void TCEDT_Form::CEDT_BitBtn_OKClick() {
    ChannelEditFields fields = Fields();
    const bool nameFocused = CEDT_Edit_ChanName.hasFocus();
    const pmr::FinalCheck result = pmr::FinalChannelCheck(fields, context_, nameFocused, person_);
    Show(fields);
    if (result.close) {
        accept();
    } else if (result.focus != pmr::EditField::None) {
        QLineEdit& field = FieldControl(result.focus);
        CEDT_PageControl.setCurrentWidget(
            field.parentWidget() == &CEDT_Tab_Selcall ? &CEDT_Tab_Selcall : &CEDT_Tab_ChOptions);
        field.setFocus();
    }
}

}  // namespace km
