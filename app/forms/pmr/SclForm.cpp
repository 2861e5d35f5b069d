#include "forms/pmr/SclForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/FieldRoutines.h"
#include "config/FormVisibility.h"
#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "forms/pmr/ChnForm.h"
#include "forms/ui/UiForm.h"
#include "pmr/ChannelTable.h"

namespace km {
namespace {

namespace sr = pmr::selcall_rows;
using fields::FieldRow;

constexpr const char* kNextPage = "Next Form -->";
constexpr const char* kUserTonesetTitle = "User Defined Selcall Toneset";
constexpr const char* kFrequencyTitle = "Frequency (Hz)";
constexpr const char* kTimedResetTitle = "Timed Reset";
constexpr const char* kResetToneTitle = "Reset Tone Operations";
constexpr const char* kRemoteOptionsTitle = "Remote Options";
constexpr const char* kIdentityTitle = "Identity";
constexpr const char* kTonesetsTitle = "Tonesets";
constexpr const char* kDurationsTitle = "Tone Durations";
constexpr const char* kSpecialTonesTitle = "Special Tones";

constexpr int kEntryWidth = 50;
constexpr int kNameWidth = 130;
constexpr int kIdentityWidth = 180;
constexpr int kMessageWidth = 210;
constexpr int kStatusNumberWidth = 110;
constexpr int kToneNameWidth = 70;
constexpr int kFrequencyWidth = 110;
constexpr int kSpecialNameWidth = 200;
constexpr int kSpecialValueWidth = 80;
constexpr int kTextColumn = 1;
constexpr int kNumberColumn = 2;
constexpr int kValueColumn = 1;

// The timed reset's "Pause Timer While Off Cradle", the box only mobiles show.
constexpr std::size_t kPauseOffCradleBit = 1;

std::size_t At(const FieldRow& row) {
    return static_cast<std::size_t>(row.at.pmr);
}

// An edit wide enough for `chars` characters.
void FitEdit(QLineEdit& edit, int chars) {
    edit.setMaxLength(chars);
    edit.setMaximumWidth(edit.fontMetrics().horizontalAdvance(QString(chars + 1, '0')) + 12);
}

FieldGrid::Editor TextEditor(int chars) {
    return {FieldGrid::Editor::Kind::Text, chars, {}};
}
FieldGrid::Editor DigitsEditor(int chars) {
    return {FieldGrid::Editor::Kind::Digits, chars, {}};
}
FieldGrid::Editor PatternEditor(int chars, const char* characters) {
    return {FieldGrid::Editor::Kind::Pattern, chars, {}, QString::fromLatin1(characters)};
}

}  // namespace

TSCL_Form_Selcall::TSCL_Form_Selcall(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(ToQString(pmr::kSelcallFormCaption));
    setObjectName("TSCL_Form_Selcall");
    NameDurationEdits();
    BuildLayout();
    binder_.emplace(*this, sr::kRows);
    BuildGrids();
    WatchEdits();
    Connect();
}

void TSCL_Form_Selcall::NameDurationEdits() {
    for (int d = 0; d < pmr::kToneDurationCount; ++d) {
        SOP_Edit_ToneDuration[static_cast<std::size_t>(d)].setObjectName(
            ToQString(sr::kDurationControls[static_cast<std::size_t>(d)]));
    }
}

QLabel& TSCL_Form_Selcall::LabelOf(QWidget& control, std::string_view caption) {
    // The layout the label goes into takes it as a child of its page.
    auto* label = new QLabel(ToQString(caption));
    labels_.emplace_back(&control, label);
    return *label;
}

void TSCL_Form_Selcall::SetShown(QWidget& control, bool shown) {
    control.setVisible(shown);
    for (const auto& [owner, label] : labels_) {
        if (owner == &control) {
            label->setVisible(shown);
        }
    }
}

void TSCL_Form_Selcall::BuildLayout() {
    auto addRow = [this](QFormLayout& form, QWidget& control, const FieldRow& row) {
        form.addRow(&LabelOf(control, row.caption), &control);
    };
    auto check = [](QCheckBox& box, const FieldRow& row) { box.setText(ToQString(row.caption)); };

    // Selcall Options: identity, tonesets, durations and special tones, a group each.
    auto group = [](const char* title) {
        auto* box = new QGroupBox(title);
        auto* form = new QFormLayout(box);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        return std::pair{box, form};
    };
    FitEdit(SOP_Edit_OwnID, pmr::kOwnIdentityDigits);
    const auto [identityBox, identity] = group(kIdentityTitle);
    addRow(*identity, SOP_Edit_OwnID, sr::kOwnIdentityRow);
    for (auto [box, id] : {std::pair{&SOP_CBox_UserEnteredID, "selcall.user_entered_id"},
                           std::pair{&SOP_CBox_FreeDialSelcall, "selcall.free_dial"},
                           std::pair{&SOP_CBox_DecodeWithCTCSS, "selcall.decode_with_ctcss"},
                           std::pair{&SOP_CBox_BeepsWhileCalled, "selcall.beeps_while_called"}}) {
        check(*box, sr::Row(id));
        identity->addRow(box);
    }
    const auto [tonesetBox, tonesets] = group(kTonesetsTitle);
    addRow(*tonesets, SOP_Combo_EncToneset1, sr::kEncodeToneset1Row);
    addRow(*tonesets, SOP_Combo_EncToneset2, sr::kEncodeToneset2Row);
    addRow(*tonesets, SOP_Combo_DecToneset, sr::kDecodeTonesetRow);
    addRow(*tonesets, SOP_Combo_ToneMargin, sr::Row("selcall.tone_margin"));
    const auto [durationBox, durations] = group(kDurationsTitle);
    for (int d = 0; d < pmr::kToneDurationCount; ++d) {
        QLineEdit& edit = SOP_Edit_ToneDuration[static_cast<std::size_t>(d)];
        FitEdit(edit, 5);
        addRow(*durations, edit, sr::DurationRow(d));
    }
    const auto [specialBox, special] = group(kSpecialTonesTitle);
    addRow(*special, SOP_Combo_RepeatTone, sr::Row("selcall.repeat_tone"));
    addRow(*special, SOP_Combo_GroupTone, sr::Row("selcall.group_tone"));
    addRow(*special, SOP_Combo_ResetTone, sr::Row("selcall.reset_tone"));
    auto* options = new QGridLayout(&Tab_SOP_Options);
    options->addWidget(identityBox, 0, 0);
    options->addWidget(tonesetBox, 0, 1);
    options->addWidget(durationBox, 1, 0);
    options->addWidget(specialBox, 1, 1);
    options->setColumnStretch(2, 1);
    options->setRowStretch(2, 1);

    // More Options: variable digits, the group alert and the user defined toneset.
    FitEdit(SOP2_Edit_VariableDigits, 1);
    FitEdit(SOP2_Edit_StatusDigits, 1);
    auto* more = new QFormLayout;
    more->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    addRow(*more, SOP2_Edit_VariableDigits, sr::kVariableDigitsRow);
    addRow(*more, SOP2_Edit_StatusDigits, sr::kStatusDigitsRow);
    addRow(*more, SOP2_Combo_GrpAlertTone, sr::Row("selcall.group_alert_tone"));
    check(SOP2_CBox_GrpPttInhibit, sr::Row("selcall.group_ptt_disabled"));
    check(SOP2_CBox_AllowExtAlert, sr::Row("selcall.allow_external_alert"));
    more->addRow(&SOP2_CBox_GrpPttInhibit);
    more->addRow(&SOP2_CBox_AllowExtAlert);
    SOP2_GrpBox_UserToneset.setTitle(kUserTonesetTitle);
    auto* toneset = new QVBoxLayout(&SOP2_GrpBox_UserToneset);
    toneset->addWidget(&SOP2_StrGrid_UserTones);
    auto* moreOptions = new QHBoxLayout(&Tab_SOP2_MoreOptions);
    moreOptions->addLayout(more);
    moreOptions->addSpacing(30);
    moreOptions->addWidget(&SOP2_GrpBox_UserToneset, 0, Qt::AlignTop);
    moreOptions->addStretch(1);
    moreOptions->setAlignment(more, Qt::AlignTop);

    // FB Encodes.
    FitEdit(FBE_Edit_Send2Encode, 3);
    auto* send2 = new QFormLayout;
    send2->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    addRow(*send2, FBE_Edit_Send2Encode, sr::Row("selcall.send2_encode"));
    auto* encodes = new QVBoxLayout(&Tab_FBE_Encodes);
    encodes->addLayout(send2);
    encodes->addWidget(&FBE_StrGrid_FBEncodes, 0, Qt::AlignLeft);
    encodes->addStretch(1);

    // Phone Book.
    check(SCL_CBox_PhbkAlphaOrder, sr::kAlphabetical);
    SCL_Btn_ClearPhbk.setText("Clear Phbk");
    SCL_Btn_FillToEnd.setText("Fill To End");
    SCL_Btn_InsertRow.setText("Insert Row");
    SCL_Btn_DeleteRow.setText("Delete Row");
    auto* phoneBookSide = new QVBoxLayout;
    phoneBookSide->addWidget(&SCL_CBox_PhbkAlphaOrder);
    for (QPushButton* button :
         {&SCL_Btn_ClearPhbk, &SCL_Btn_FillToEnd, &SCL_Btn_InsertRow, &SCL_Btn_DeleteRow}) {
        button->setAutoDefault(false);
        phoneBookSide->addWidget(button);
    }
    phoneBookSide->addStretch(1);
    auto* phoneBook = new QHBoxLayout(&Tab_SCL_PhoneBook);
    phoneBook->addWidget(&SCL_SGrid_PhoneBook);
    phoneBook->addLayout(phoneBookSide);
    phoneBook->addStretch(1);

    // Status.
    STA_Btn_ClearStatus.setText("Clear Status");
    STA_Btn_FillToEnd.setText("Fill To End");
    STA_GrpBox_RemoteOptions.setTitle(kRemoteOptionsTitle);
    check(STA_CheckBox_RemoteChanChange, sr::Row("selcall.remote_channel_change"));
    check(STA_CheckBox_SilentMonitor, sr::Row("selcall.silent_monitor"));
    auto* remote = new QVBoxLayout(&STA_GrpBox_RemoteOptions);
    remote->addWidget(&STA_CheckBox_RemoteChanChange);
    remote->addWidget(&STA_CheckBox_SilentMonitor);
    STA_RadioGrp_SentStatus.setTitle(ToQString(sr::kSentStatus.caption));
    FitEdit(STA_Edit_DefaultStatus, pmr::kStatusNumberDigits);
    STA_Lbl_DefaultStatus.setText(ToQString(sr::kDefaultStatusRow.caption));
    auto* statusSide = new QVBoxLayout;
    for (QPushButton* button : {&STA_Btn_ClearStatus, &STA_Btn_FillToEnd}) {
        button->setAutoDefault(false);
        statusSide->addWidget(button);
    }
    statusSide->addWidget(&STA_GrpBox_RemoteOptions);
    statusSide->addWidget(&STA_RadioGrp_SentStatus);
    auto* defaultStatus = new QHBoxLayout;
    defaultStatus->addWidget(&STA_Lbl_DefaultStatus);
    defaultStatus->addWidget(&STA_Edit_DefaultStatus);
    defaultStatus->addStretch(1);
    statusSide->addLayout(defaultStatus);
    statusSide->addStretch(1);
    auto* status = new QHBoxLayout(&Tab_STA_Status);
    status->addWidget(&STA_StrGrid_Status);
    status->addLayout(statusSide);
    status->addStretch(1);

    // Reset.
    FitEdit(TRST_Edit_TimedResetInterval, 3);
    auto* interval = new QFormLayout;
    interval->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    addRow(*interval, TRST_Edit_TimedResetInterval, sr::Row("selcall.timed_reset_interval"));
    TRST_GrpBox_Operations.setTitle(kTimedResetTitle);
    RST_GrpBox_Operations.setTitle(kResetToneTitle);
    auto* timed = new QVBoxLayout(&TRST_GrpBox_Operations);
    auto* resetTone = new QVBoxLayout(&RST_GrpBox_Operations);
    for (const sr::Operation& operation : sr::kOperations) {
        auto* box = new QCheckBox(ToQString(operation.caption), &TRST_GrpBox_Operations);
        box->setObjectName(ToQString(operation.timedControl));
        timed->addWidget(box);
        TRST_CBox.push_back(box);
        if (!operation.resetToneControl.empty()) {
            auto* toneBox = new QCheckBox(ToQString(operation.caption), &RST_GrpBox_Operations);
            toneBox->setObjectName(ToQString(operation.resetToneControl));
            resetTone->addWidget(toneBox);
            RST_CBox.push_back(toneBox);
        }
    }
    check(RST_CBox_ThirdToneReset, sr::kThirdToneReset);
    resetTone->addWidget(&RST_CBox_ThirdToneReset);
    resetTone->addStretch(1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(&TRST_GrpBox_Operations, 0, Qt::AlignTop);
    groups->addWidget(&RST_GrpBox_Operations, 0, Qt::AlignTop);
    groups->addStretch(1);
    auto* reset = new QVBoxLayout(&Tab_RST_Reset);
    reset->addLayout(interval);
    reset->addLayout(groups);
    reset->addStretch(1);

    // Alarm.
    for (auto [edit, chars] :
         {std::pair{&ALM_Edit_AlarmChannelNum, 3}, std::pair{&ALM_Edit_AlarmEncode, 3},
          std::pair{&ALM_Edit_EmergencyEncRptCnt, 3}, std::pair{&ALM_Edit_TxTime, 3},
          std::pair{&ALM_Edit_RxTime, 3}, std::pair{&ALM_Edit_BtnPress, 5}}) {
        FitEdit(*edit, chars);
    }
    auto* alarm = new QFormLayout;
    alarm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    addRow(*alarm, ALM_Edit_AlarmChannelNum, sr::kAlarmChannelRow);
    addRow(*alarm, ALM_Edit_AlarmEncode, sr::Row("selcall.alarm_encode"));
    addRow(*alarm, ALM_Edit_EmergencyEncRptCnt, sr::Row("selcall.alarm_repeat"));
    addRow(*alarm, ALM_Edit_TxTime, sr::Row("selcall.alarm_tx_time"));
    addRow(*alarm, ALM_Edit_RxTime, sr::Row("selcall.alarm_rx_time"));
    addRow(*alarm, ALM_Combo_DisplayOperation, sr::Row("selcall.alarm_display"));
    addRow(*alarm, ALM_Combo_Microphone, sr::kMicrophone);
    addRow(*alarm, ALM_Edit_BtnPress, sr::Row("selcall.alarm_button_press"));
    check(ALM_CBox_Confidence, sr::Row("selcall.alarm_confidence_beep"));
    check(ALM_CBox_AvlAlarmMsg, sr::Row("selcall.alarm_avl_message"));
    check(ALM_CBox_StayOnAlarmCh, sr::Row("selcall.alarm_stay_on_channel"));
    for (QCheckBox* box : {&ALM_CBox_Confidence, &ALM_CBox_AvlAlarmMsg, &ALM_CBox_StayOnAlarmCh}) {
        alarm->addRow(box);
    }
    auto* alarmPage = new QHBoxLayout(&Tab_ALM_Alarm);
    alarmPage->addLayout(alarm);
    alarmPage->addStretch(1);
    alarmPage->setAlignment(alarm, Qt::AlignTop);

    SCL_Page_Selcall.addTab(&Tab_SOP_Options, ToQString(pmr::kSelcallOptionsTab));
    SCL_Page_Selcall.addTab(&Tab_SOP2_MoreOptions, ToQString(pmr::kMoreOptionsTab));
    SCL_Page_Selcall.addTab(&Tab_FBE_Encodes, ToQString(pmr::kFbEncodesTab));
    SCL_Page_Selcall.addTab(&Tab_SCL_PhoneBook, ToQString(pmr::kPhoneBookTab));
    SCL_Page_Selcall.addTab(&Tab_STA_Status, ToQString(pmr::kStatusTab));
    SCL_Page_Selcall.addTab(&Tab_RST_Reset, ToQString(pmr::kResetTab));
    SCL_Page_Selcall.addTab(&Tab_ALM_Alarm, ToQString(pmr::kAlarmTab));
    SCL_Page_Selcall.addTab(&Tab_SCL_Next, kNextPage);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&SCL_Page_Selcall);
}

void TSCL_Form_Selcall::BuildGrids() {
    userTones_.emplace(SOP2_StrGrid_UserTones, person());
    const FieldGrid::Column toneColumns[] = {{"", kToneNameWidth},
                                             {kFrequencyTitle, kFrequencyWidth}};
    userTones_->SetUp(pmr::kSelcallDigitValues, toneColumns);
    for (int d = 0; d < pmr::kSelcallDigitValues; ++d) {
        userTones_->SetName(d, ToQString(sr::kUserToneCaptions[static_cast<std::size_t>(d)]));
    }
    userTones_->SetEditor(kValueColumn, DigitsEditor(4));
    userTones_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        return pmr::UserToneMessage(userTones_->Text(line, column).toStdString());
    };

    fbEncodes_.emplace(FBE_StrGrid_FBEncodes, person());
    const FieldGrid::Column encodeColumns[] = {{"", kSpecialNameWidth}, {"", kSpecialValueWidth}};
    fbEncodes_->SetUp(pmr::kSpecialEncodeCount, encodeColumns);
    for (int i = 0; i < pmr::kSpecialEncodeCount; ++i) {
        const FieldRow& row = sr::SpecialEncodeRow(i);
        fbEncodes_->SetName(i, ToQString(row.caption));
        fbEncodes_->SetCellEditor(i, kValueColumn, DigitsEditor(3));
        fbEncodes_->Bind(i, kValueColumn, row, At(row));
    }
    fbEncodes_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        return pmr::SpecialEncodeMessage(line, fbEncodes_->Text(line, column).toStdString(),
                                         FfskStatusMessages());
    };

    phoneBook_.emplace(SCL_SGrid_PhoneBook, person());
    const FieldGrid::Column bookColumns[] = {
        {"Entry", kEntryWidth}, {"Name/Message", kNameWidth}, {"Selcall ID", kIdentityWidth}};
    phoneBook_->SetUp(static_cast<int>(pmr::kPhoneBookEntries), bookColumns, 0);
    phoneBook_->SetEditor(kTextColumn, TextEditor(pmr::kPhoneBookNameWidth));
    phoneBook_->SetEditor(kNumberColumn, PatternEditor(pmr::kPhoneBookDigits, "0-9A-Fa-f"));
    for (int e = 0; e < static_cast<int>(pmr::kPhoneBookEntries); ++e) {
        const std::size_t entry = pmr::kPhoneBook + pmr::kPhoneBookEntrySize * e;
        phoneBook_->Bind(e, kTextColumn, sr::kPhoneBookName, entry + At(sr::kPhoneBookName));
        phoneBook_->Bind(e, kNumberColumn, sr::kPhoneBookIdentity,
                         entry + At(sr::kPhoneBookIdentity));
    }
    // A name must fit the display of the HM-F control unit (the HM-F+ one is wider).
    phoneBook_->extraCheck = [this](int line, int column,
                                    FieldGrid::Moment) -> std::optional<std::string> {
        if (column != kTextColumn || !HasNarrowDisplay(HeadOfMask(state().RadioTypeMask))) {
            return std::nullopt;
        }
        return DisplayWidthMessage(phoneBook_->Text(line, column).toStdString(),
                                   LoadPmrHeader(workspace().pmr).radioTypeRow == kRowHmFPlus);
    };
    // The display width is a warning (the name cell keeps the focus all the same).
    phoneBook_->messageKind = [](int, int column, FieldGrid::Moment) {
        return column == kTextColumn ? BoxKind::Warning : BoxKind::Error;
    };
    phoneBookSheet_.emplace(*phoneBook_, SCL_SGrid_PhoneBook, person());

    status_.emplace(STA_StrGrid_Status, person());
    const FieldGrid::Column statusColumns[] = {{"Entry", kEntryWidth},
                                               {"Name/Message", kMessageWidth},
                                               {"Status Number", kStatusNumberWidth}};
    status_->SetUp(static_cast<int>(pmr::kStatusEntries), statusColumns, 1);
    status_->SetEditor(kTextColumn, TextEditor(pmr::kStatusMessageWidth));
    status_->SetEditor(kNumberColumn, PatternEditor(pmr::kStatusNumberDigits, "0-9A-Ea-e"));
    for (int e = 0; e < static_cast<int>(pmr::kStatusEntries); ++e) {
        const std::size_t entry = pmr::kStatusList + pmr::kStatusEntrySize * e;
        status_->Bind(e, kTextColumn, sr::kStatusMessage, entry + At(sr::kStatusMessage));
        status_->Bind(e, kNumberColumn, sr::kStatusNumber, entry + At(sr::kStatusNumber));
    }
    statusSheet_.emplace(*status_, STA_StrGrid_Status, person());
}

void TSCL_Form_Selcall::WatchEdits() {
    auto rowCheck = [this](QLineEdit& edit) {
        return [this, &edit] { return binder_->CheckControl(&edit, person()); };
    };
    checks_.Watch(SOP_Edit_OwnID, EditChecks::Keys::Hex, [this] {
        if (!binder_->CheckControl(&SOP_Edit_OwnID, person())) {
            return false;
        }
        if (SOP_Edit_OwnID.text().isEmpty()) {
            SOP_CBox_UserEnteredID.setChecked(false);
        }
        return true;
    });
    for (QLineEdit& edit : SOP_Edit_ToneDuration) {
        checks_.Watch(edit, EditChecks::Keys::Digits, [this, &edit] {
            if (!binder_->CheckControl(&edit, person())) {
                return false;
            }
            if (IntegerOfField(edit.text().toStdString()) > pmr::kLongestDecodeTone) {
                person().Warn(pmr::kDecodeDurationWarningText);
            }
            return true;
        });
    }
    checks_.Watch(SOP2_Edit_VariableDigits, EditChecks::Keys::Digits, [this] {
        return DigitCountCheck(SOP2_Edit_VariableDigits, variableDigits_,
                               pmr::kVariableDigitsWarningText);
    });
    checks_.Watch(SOP2_Edit_StatusDigits, EditChecks::Keys::Digits, [this] {
        return DigitCountCheck(SOP2_Edit_StatusDigits, statusDigits_,
                               pmr::kStatusDigitsWarningText);
    });
    for (QLineEdit* edit :
         {&FBE_Edit_Send2Encode, &ALM_Edit_AlarmEncode, &ALM_Edit_EmergencyEncRptCnt,
          &ALM_Edit_TxTime, &ALM_Edit_RxTime, &ALM_Edit_BtnPress, &TRST_Edit_TimedResetInterval,
          &STA_Edit_DefaultStatus}) {
        checks_.Watch(*edit, EditChecks::Keys::Digits, rowCheck(*edit));
    }
    checks_.Watch(ALM_Edit_AlarmChannelNum, EditChecks::Keys::Digits,
                  [this] { return AlarmChannelCheck(); });
}

void TSCL_Form_Selcall::Connect() {
    connect(&SOP_CBox_UserEnteredID, &QCheckBox::clicked, this,
            [this] { SOP_CBox_UserEnteredIDClick(); });
    for (QComboBox* combo :
         {&SOP_Combo_EncToneset1, &SOP_Combo_EncToneset2, &SOP_Combo_DecToneset}) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this] { SOP_Combo_TonesetChange(); });
    }
    connect(&ALM_Combo_Microphone, &QComboBox::activated, this,
            [this] { ALM_Combo_MicrophoneChange(); });
    for (QRadioButton* button : STA_RadioGrp_SentStatus.findChildren<QRadioButton*>()) {
        connect(button, &QRadioButton::clicked, this, [this] { STA_RadioGrp_SentStatusClick(); });
    }
    const std::pair<QPushButton*, void (TSCL_Form_Selcall::*)()> buttons[] = {
        {&SCL_Btn_ClearPhbk, &TSCL_Form_Selcall::SCL_Btn_ClearPhbkClick},
        {&SCL_Btn_FillToEnd, &TSCL_Form_Selcall::SCL_Btn_FillToEndClick},
        {&SCL_Btn_InsertRow, &TSCL_Form_Selcall::SCL_Btn_InsertRowClick},
        {&SCL_Btn_DeleteRow, &TSCL_Form_Selcall::SCL_Btn_DeleteRowClick},
        {&STA_Btn_ClearStatus, &TSCL_Form_Selcall::STA_Btn_ClearStatusClick},
        {&STA_Btn_FillToEnd, &TSCL_Form_Selcall::STA_Btn_FillToEndClick},
    };
    for (const auto& entry : buttons) {
        const auto handler = entry.second;
        connect(entry.first, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
    connect(&SCL_Page_Selcall, &QTabWidget::currentChanged, this, [this](int page) {
        if (SCL_Page_Selcall.widget(page) == &Tab_SCL_Next) {
            Tab_SCL_NextShow();
        }
    });
}

// ---- Passes ----------------------------------------------------------------------------------

void TSCL_Form_Selcall::LoadPass() {
    const PmrJobImage& image = workspace().pmr;
    binder_->Load(fields::ImageId::Pmr, image.Bytes(), 0);
    const std::uint8_t timed = image.U8(pmr::kTimedResetOperations);
    const std::uint8_t tone = image.U8(pmr::kResetToneOperations);
    for (std::size_t bit = 0; bit < TRST_CBox.size(); ++bit) {
        TRST_CBox[bit]->setChecked((timed >> bit & 1) != 0);
    }
    for (std::size_t i = 0; i < RST_CBox.size(); ++i) {
        RST_CBox[i]->setChecked((tone >> (i + 2) & 1) != 0);
    }
    const pmr::UserTones tones = pmr::UserTonesOf(image);
    for (int d = 0; d < pmr::kSelcallDigitValues; ++d) {
        userTones_->ShowLoaded(d, kValueColumn, ToQString(tones[static_cast<std::size_t>(d)]));
    }
    fbEncodes_->Load(fields::ImageId::Pmr, image.Bytes(), 0);
    phoneBook_->Load(fields::ImageId::Pmr, image.Bytes(), 0);
    status_->Load(fields::ImageId::Pmr, image.Bytes(), 0);
    variableDigits_ =
        static_cast<int>(IntegerOfField(SOP2_Edit_VariableDigits.text().toStdString()));
    statusDigits_ = static_cast<int>(IntegerOfField(SOP2_Edit_StatusDigits.text().toStdString()));
    // The default status is shown as 0 unless it is the sent status.
    if (binder_->Value(&STA_RadioGrp_SentStatus) != fields::FieldValue(sr::kDefaultStatusChosen)) {
        STA_Edit_DefaultStatus.setText("0");
    }
    RefreshVisibility();
}

void TSCL_Form_Selcall::StorePass() {
    PmrJobImage& image = workspace().pmr;
    binder_->Store(fields::ImageId::Pmr, image.Bytes(), 0);
    std::uint8_t timed = image.U8(pmr::kTimedResetOperations);
    for (std::size_t bit = 0; bit < TRST_CBox.size(); ++bit) {
        timed = static_cast<std::uint8_t>((timed & ~(1u << bit)) |
                                          (TRST_CBox[bit]->isChecked() ? 1u << bit : 0u));
    }
    image.SetU8(pmr::kTimedResetOperations, timed);
    std::uint8_t tone = image.U8(pmr::kResetToneOperations);
    for (std::size_t i = 0; i < RST_CBox.size(); ++i) {
        const unsigned bit = 1u << (i + 2);
        tone = static_cast<std::uint8_t>((tone & ~bit) | (RST_CBox[i]->isChecked() ? bit : 0u));
    }
    image.SetU8(pmr::kResetToneOperations, tone);
    fbEncodes_->Store(fields::ImageId::Pmr, image.Bytes(), 0);
    phoneBook_->Store(fields::ImageId::Pmr, image.Bytes(), 0);
    status_->Store(fields::ImageId::Pmr, image.Bytes(), 0);
    pmr::StoreSelcallRules(image);
    if (!pmr::StoreToneTables(image, UserToneCells())) {
        person().Warn(pmr::kUserTonesetIncompleteText);
    }
}

void TSCL_Form_Selcall::RefreshVisibility() {
    const SelcallVisibility v = SelcallVisibilityOf(
        {HeadOfMask(state().RadioTypeMask), state().PortableGeneration, state().RadioModeMask});
    SetShown(SOP_CBox_FreeDialSelcall, v.freeDial);
    SetShown(SOP_CBox_UserEnteredID, v.freeDial);
    SCL_Page_Selcall.setTabVisible(SCL_Page_Selcall.indexOf(&Tab_SCL_PhoneBook),
                                   v.phonebookAndStatus);
    SCL_Page_Selcall.setTabVisible(SCL_Page_Selcall.indexOf(&Tab_STA_Status), v.phonebookAndStatus);
    TRST_CBox[kPauseOffCradleBit]->setVisible(v.pauseOffCradle);
    SetShown(ALM_Combo_Microphone, v.alarmMicrophone);
    SetShown(ALM_Edit_BtnPress, v.alarmButtonPress);
    // Never shown; their values are carried.
    SetShown(SOP_Combo_ToneMargin, false);
    STA_CheckBox_SilentMonitor.setVisible(false);
    RST_CBox_ThirdToneReset.setVisible(false);
    // FFSK status messages: the status list holds messages 1..100 without selcall numbers.
    const bool ffsk = FfskStatusMessages();
    STA_StrGrid_Status.setColumnHidden(kNumberColumn, ffsk);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &STA_Btn_FillToEnd, &STA_GrpBox_RemoteOptions, &STA_RadioGrp_SentStatus}) {
        control->setVisible(!ffsk);
    }
    ShowDefaultStatus();
    ShowUserToneGrid();
}

void TSCL_Form_Selcall::ShowFirstPage() {
    const QSignalBlocker blocker(SCL_Page_Selcall);
    SCL_Page_Selcall.setCurrentWidget(&Tab_SOP_Options);
}

bool TSCL_Form_Selcall::CheckFocusedField() {
    for (FieldGrid* grid : {&*userTones_, &*fbEncodes_, &*phoneBook_, &*status_}) {
        if (grid->HasFocus() && !grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return checks_.CheckFocused();
}

void TSCL_Form_Selcall::showEvent(QShowEvent* event) {
    // The radio type or the FFSK setting may have changed since the load.
    RefreshVisibility();
    ConfigForm::showEvent(event);
}

void TSCL_Form_Selcall::keyPressEvent(QKeyEvent* event) {
    // Enter in a control that does not take it reaches the form.
    if (!MoveOnAtEnter(*event)) {
        ConfigForm::keyPressEvent(event);
    }
}

// ---- What others read ------------------------------------------------------------------------

pmr::SelcallSettings TSCL_Form_Selcall::CurrentSettings() const {
    pmr::SelcallSettings settings;
    settings.ownIdentity = SOP_Edit_OwnID.text().toStdString();
    settings.tonesetNames = {SOP_Combo_EncToneset1.currentText().toStdString(),
                             SOP_Combo_EncToneset2.currentText().toStdString(),
                             SOP_Combo_DecToneset.currentText().toStdString()};
    for (std::size_t d = 0; d < settings.durations.size(); ++d) {
        settings.durations[d] = SOP_Edit_ToneDuration[d].text().toStdString();
    }
    settings.variableDigits =
        static_cast<int>(IntegerOfField(SOP2_Edit_VariableDigits.text().toStdString()));
    settings.statusDigits =
        static_cast<int>(IntegerOfField(SOP2_Edit_StatusDigits.text().toStdString()));
    return settings;
}

std::vector<pmr::SelcallPhonebookEntry> TSCL_Form_Selcall::PhoneBookRows() const {
    std::vector<pmr::SelcallPhonebookEntry> rows;
    for (int line = 0; line < phoneBook_->Lines(); ++line) {
        rows.push_back({phoneBook_->Text(line, kTextColumn).toStdString(),
                        phoneBook_->Text(line, kNumberColumn).toStdString()});
    }
    return rows;
}

void TSCL_Form_Selcall::ShowPhoneBookRows(const std::vector<pmr::SelcallPhonebookEntry>& rows) {
    for (int line = 0; line < phoneBook_->Lines(); ++line) {
        const auto entry = static_cast<std::size_t>(line) < rows.size()
                               ? rows[static_cast<std::size_t>(line)]
                               : pmr::SelcallPhonebookEntry{};
        phoneBook_->SetText(line, kTextColumn, ToQString(entry.name));
        phoneBook_->SetText(line, kNumberColumn, ToQString(entry.identity));
    }
}

std::vector<pmr::StatusEntry> TSCL_Form_Selcall::StatusRows() const {
    std::vector<pmr::StatusEntry> rows;
    for (int line = 0; line < status_->Lines(); ++line) {
        rows.push_back({status_->Text(line, kTextColumn).toStdString(),
                        status_->Text(line, kNumberColumn).toStdString()});
    }
    return rows;
}

void TSCL_Form_Selcall::ShowStatusRows(const std::vector<pmr::StatusEntry>& rows) {
    for (int line = 0; line < status_->Lines(); ++line) {
        const auto entry = static_cast<std::size_t>(line) < rows.size()
                               ? rows[static_cast<std::size_t>(line)]
                               : pmr::StatusEntry{};
        status_->SetText(line, kTextColumn, ToQString(entry.message));
        status_->SetText(line, kNumberColumn, ToQString(entry.number));
    }
}

// ---- Rules -----------------------------------------------------------------------------------

bool TSCL_Form_Selcall::FfskStatusMessages() const {
    return pmr::FfskStatusMessages(workspace().pmr);
}

pmr::UserTones TSCL_Form_Selcall::UserToneCells() const {
    pmr::UserTones cells;
    for (int d = 0; d < pmr::kSelcallDigitValues; ++d) {
        cells[static_cast<std::size_t>(d)] = userTones_->Text(d, kValueColumn).toStdString();
    }
    return cells;
}

void TSCL_Form_Selcall::ShowUserToneGrid() {
    const auto userDefined = [](const QComboBox& combo) {
        return combo.currentData().toLongLong() == pmr::kUserDefinedToneset;
    };
    SOP2_GrpBox_UserToneset.setVisible(userDefined(SOP_Combo_EncToneset1) ||
                                       userDefined(SOP_Combo_EncToneset2) ||
                                       userDefined(SOP_Combo_DecToneset));
}

void TSCL_Form_Selcall::ShowDefaultStatus() {
    const bool shown =
        binder_->Value(&STA_RadioGrp_SentStatus) == fields::FieldValue(sr::kDefaultStatusChosen) &&
        !FfskStatusMessages();
    STA_Edit_DefaultStatus.setVisible(shown);
    STA_Lbl_DefaultStatus.setVisible(shown);
}

bool TSCL_Form_Selcall::DigitCountCheck(QLineEdit& edit, int& remembered,
                                        std::string_view warning) {
    if (!binder_->CheckControl(&edit, person())) {
        return false;
    }
    const int count = static_cast<int>(IntegerOfField(edit.text().toStdString()));
    if (count != remembered) {
        remembered = count;
        person().Warn(FormatNumbers(warning, {count}));
    }
    return true;
}

bool TSCL_Form_Selcall::AlarmChannelCheck() {
    if (!binder_->CheckControl(&ALM_Edit_AlarmChannelNum, person())) {
        return false;
    }
    const QString text = ALM_Edit_AlarmChannelNum.text();
    return text.isEmpty() ||
           ChannelNumberDefined(static_cast<int>(IntegerOfField(text.toStdString())));
}

bool TSCL_Form_Selcall::ChannelNumberDefined(int number) {
    // The Channel Options form's table is the truth between the passes.
    if (const auto* channels =
            dynamic_cast<const TCHN_Form_Channels*>(shell().Form(FormId::Channels))) {
        return pmr::ChannelDefined(channels->Table(), number, person());
    }
    pmr::ChannelTable stored;
    pmr::LoadChannelTable(workspace().pmr, stored);
    return pmr::ChannelDefined(stored, number, person());
}

std::size_t TSCL_Form_Selcall::SelectedLine(const QTableWidget& grid) const {
    return static_cast<std::size_t>(std::max(grid.currentRow(), 0));
}

bool TSCL_Form_Selcall::ConfirmFillToEnd(QTableWidget& grid) {
    if (person().Ask(pmr::kFillToEndQuestion) == Answer::Yes) {
        return true;
    }
    grid.setFocus(Qt::OtherFocusReason);
    return false;
}

// ---- Handlers --------------------------------------------------------------------------------

void TSCL_Form_Selcall::SOP_CBox_UserEnteredIDClick() {
    if (SOP_CBox_UserEnteredID.isChecked() && SOP_Edit_OwnID.text().isEmpty()) {
        person().Warn(pmr::kOwnIdentityNeededText);
        SOP_CBox_UserEnteredID.setChecked(false);
    }
}

void TSCL_Form_Selcall::SOP_Combo_TonesetChange() {
    ShowUserToneGrid();
}

void TSCL_Form_Selcall::ALM_Combo_MicrophoneChange() {
    if (binder_->Value(&ALM_Combo_Microphone) != fields::FieldValue(sr::kDirectCovertMic) ||
        person().Ask(kCovertMicQuestion) != Answer::Yes) {
        return;
    }
    // The audio levels and devices are the User Interface form's.
    if (auto* ui = dynamic_cast<TForm_UI_UserInterface*>(shell().Form(FormId::UserInterface))) {
        ui->CovertMicChosen();
    }
}

void TSCL_Form_Selcall::STA_RadioGrp_SentStatusClick() {
    ShowDefaultStatus();
}

void TSCL_Form_Selcall::SCL_Btn_ClearPhbkClick() {
    if (person().Ask(pmr::kClearPhonebookQuestion) == Answer::Yes) {
        ShowPhoneBookRows({});
    }
}

void TSCL_Form_Selcall::SCL_Btn_FillToEndClick() {
    if (!ConfirmFillToEnd(SCL_SGrid_PhoneBook)) {
        return;
    }
    std::vector<pmr::SelcallPhonebookEntry> rows = PhoneBookRows();
    if (const auto message = pmr::FillToEnd(rows, SelectedLine(SCL_SGrid_PhoneBook))) {
        person().Error(*message);
        return;
    }
    ShowPhoneBookRows(rows);
}

void TSCL_Form_Selcall::SCL_Btn_InsertRowClick() {
    std::vector<pmr::SelcallPhonebookEntry> rows = PhoneBookRows();
    pmr::InsertGridRow(rows, SelectedLine(SCL_SGrid_PhoneBook));
    ShowPhoneBookRows(rows);
}

void TSCL_Form_Selcall::SCL_Btn_DeleteRowClick() {
    std::vector<pmr::SelcallPhonebookEntry> rows = PhoneBookRows();
    pmr::DeleteGridRow(rows, SelectedLine(SCL_SGrid_PhoneBook));
    ShowPhoneBookRows(rows);
}

void TSCL_Form_Selcall::STA_Btn_ClearStatusClick() {
    if (person().Ask(pmr::kClearStatusQuestion) == Answer::Yes) {
        ShowStatusRows({});
    }
}

void TSCL_Form_Selcall::STA_Btn_FillToEndClick() {
    if (!ConfirmFillToEnd(STA_StrGrid_Status)) {
        return;
    }
    std::vector<pmr::StatusEntry> rows = StatusRows();
    if (const auto message = pmr::FillToEnd(rows, SelectedLine(STA_StrGrid_Status))) {
        person().Error(*message);
        return;
    }
    ShowStatusRows(rows);
}

void TSCL_Form_Selcall::Tab_SCL_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::EncodeDecode);
}

KM_REGISTER_FORM(FormId::Selcall, TSCL_Form_Selcall);

}  // namespace km
