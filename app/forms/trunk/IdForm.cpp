#include "forms/trunk/IdForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "config/FieldRoutines.h"
#include "config/FormVisibility.h"
#include "config/RadioTypes.h"
#include "fields/FieldOps.h"
#include "tables/Tables.h"

namespace km {
namespace {

using namespace id_rows;

constexpr int kIdentityDigits = 10;
constexpr int kGroupDigits = 10;
constexpr int kDialCharacters = 31;
constexpr int kNameCharacters = 12;

// The pages by index, in the order of their tabs.
enum Page {
    kPageIdentity,
    kPageGroups,
    kPageFiveDigit,
    kPageFacilities,
    kPageDtmf,
    kPagePhonebook,
    kPageStatus,
    kPageDispatchers,
    kPageData,
    kPageNext
};

constexpr int kPhonebookNumber = 1;
constexpr int kPhonebookName = 2;
constexpr int kIncomingColumn = 1;
constexpr int kOutgoingColumn = 2;
constexpr int kReplyColumn = 3;

// Records what a check of the library would show, so that a grid shows it instead.
class MessageCatcher : public Person {
  public:
    Answer Show(BoxKind, std::string_view text, Buttons) override {
        message = std::string(text);
        return Answer::Ok;
    }
    void Beep() override {}
    std::optional<std::string> message;
};

std::string Text(const QLineEdit& edit) {
    return edit.text().toStdString();
}

QStringList ReplyTexts() {
    QStringList texts;
    for (const fields::Choice& choice : kReplyChoices) {
        texts << ToQString(choice.text);
    }
    return texts;
}

}  // namespace

TForm_ID_Identities::TForm_ID_Identities(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(ToQString(kFormCaption));
    setObjectName("TForm_ID_Identities");
    BuildLayout();
    slotBinder_.emplace(*this, kRows);
    jobBinder_.emplace(*this, phonebook_rows::kRows);
    BuildGrids();
    WatchEdits();
    Connect();
}

// ---- Layout ----------------------------------------------------------------------------------

namespace {

// A column of labelled fields that keeps to its size at the top of its page.
QFormLayout* Fields() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft);
    return form;
}

void Width(QLineEdit& edit, int characters) {
    edit.setMaxLength(characters);
    edit.setFixedWidth(edit.fontMetrics().horizontalAdvance(QString(characters + 2, '0')) + 8);
}

void CheckBoxes(QLayout& layout,
                std::initializer_list<std::pair<QCheckBox*, std::string_view>> boxes) {
    for (const auto& [box, caption] : boxes) {
        box->setText(ToQString(caption));
        layout.addWidget(box);
    }
}

// Captions of plain rows come from the rows.
std::string_view CaptionOf(std::string_view id) {
    for (const fields::FieldRow& row : kRows) {
        if (row.id == id) {
            return row.caption;
        }
    }
    for (const fields::FieldRow& row : phonebook_rows::kRows) {
        if (row.id == id) {
            return row.caption;
        }
    }
    return id;
}

}  // namespace

void TForm_ID_Identities::BuildLayout() {
    // Radio Identity
    Width(Edit_RI_RadioIdentity, kIdentityDigits);
    Width(Edit_RI_HighestUnit, 3);
    Width(Edit_RI_DispatcherIdentity, kIdentityDigits);
    Width(Edit_RI_DataIdentity, kIdentityDigits);
    Width(Edit_RI_DynamicGrp, kIdentityDigits);
    Edit_RI_EmergencyAddr.setFixedWidth(
        Edit_RI_EmergencyAddr.fontMetrics().horizontalAdvance(QString(kDialCharacters + 2, '0')) +
        8);
    Label_RI_DataIdentity.setText("Data Identity");
    auto* identities = Fields();
    identities->addRow("Radio Identity", &Edit_RI_RadioIdentity);
    identities->addRow(ToQString(CaptionOf("identities.highest_unit")), &Edit_RI_HighestUnit);
    identities->addRow("Dispatcher Identity", &Edit_RI_DispatcherIdentity);
    identities->addRow(&Label_RI_DataIdentity, &Edit_RI_DataIdentity);
    identities->addRow(ToQString(CaptionOf("identities.emergency")), &Edit_RI_EmergencyAddr);

    GBox_RI_CPSX.setTitle("CPSX");
    auto* cpsx = Fields();
    cpsx->addRow(ToQString(CaptionOf("identities.cpsx_large")), &ComboBox_RI_CPSXLarge);
    cpsx->addRow(ToQString(CaptionOf("identities.cpsx_medium")), &ComboBox_RI_CPSXMedium);
    cpsx->addRow(ToQString(CaptionOf("identities.cpsx_small")), &ComboBox_RI_CPSXSmall);
    cpsx->addRow(ToQString(CaptionOf("identities.home_site")), &ComboBox_RI_RadioHomeSite);
    cpsx->addRow(ToQString(CaptionOf("identities.dynamic_group")), &Edit_RI_DynamicGrp);
    CBox_RI_InitAuthority.setText(ToQString(CaptionOf("identities.init_authority")));
    cpsx->addRow(&CBox_RI_InitAuthority);
    GBox_RI_CPSX.setLayout(cpsx);

    auto* identityPage = new QHBoxLayout(&Tab_RI_RadioIdentity);
    auto* identityColumn = new QVBoxLayout;
    identityColumn->addLayout(identities);
    identityColumn->addStretch(1);
    identityPage->addLayout(identityColumn);
    identityPage->addSpacing(24);
    identityPage->addWidget(&GBox_RI_CPSX, 0, Qt::AlignTop);
    identityPage->addStretch(1);

    // Groups
    Width(Edit_GRP_HighestGroup, 3);
    Width(Edit_GRP_OwnFleetGroup, 4);
    Label_GRP_OwnFleetGroup.setText(ToQString(CaptionOf("identities.own_fleet_group")));
    auto* groupFields = Fields();
    groupFields->addRow(ToQString(CaptionOf("identities.highest_group")), &Edit_GRP_HighestGroup);
    groupFields->addRow(&Label_GRP_OwnFleetGroup, &Edit_GRP_OwnFleetGroup);
    auto* groupOptions = new QVBoxLayout;
    CheckBoxes(*groupOptions,
               {{&CBox_GRP_TalkGroups, CaptionOf("identities.talk_groups")},
                {&CBox_GRP_DefinableGroups, CaptionOf("identities.definable_groups")}});
    groupOptions->addLayout(groupFields);
    groupOptions->addStretch(1);
    auto* groupPage = new QHBoxLayout(&Tab_GRP_Groups);
    groupPage->addWidget(&StrGrid_GRP_Groups, 0, Qt::AlignTop);
    groupPage->addSpacing(24);
    groupPage->addLayout(groupOptions);
    groupPage->addStretch(1);

    // 5 Digit Dial
    auto* fiveDigitPage = new QVBoxLayout(&Tab_5DD_FiveDigitDial);
    fiveDigitPage->addWidget(&StrGrid_5DD_Table, 0, Qt::AlignLeft | Qt::AlignTop);
    fiveDigitPage->addStretch(1);

    // Facilities
    auto* calls = new QGroupBox("Calls", &Tab_FAC_Facilities);
    auto* callsLayout = new QVBoxLayout(calls);
    CheckBoxes(
        *callsLayout,
        {{&CBox_FAC_SpeechCall, CaptionOf("identities.speech_call")},
         {&CBox_FAC_DataCall, CaptionOf("identities.data_call")},
         {&CBox_FAC_ShortDataCall, CaptionOf("identities.short_data")},
         {&CBox_FAC_IncludeCall, CaptionOf("identities.include_call")},
         {&CBox_FAC_PABXCall, CaptionOf("identities.pabx")},
         {&CBox_FAC_FreeDialPSTN, CaptionOf("identities.free_dial_pstn")},
         {&CBox_FAC_ShortDialPSTN, CaptionOf("identities.short_dial_pstn")},
         {&CBox_FAC_GroupInterFleetCalls, CaptionOf("identities.group_inter_fleet")},
         {&CBox_FAC_IndividualInterFleetCalls, CaptionOf("identities.individual_inter_fleet")},
         {&CBox_FAC_FOACSU, CaptionOf("identities.foacsu")}});
    auto* diversion = new QGroupBox("Diversion", &Tab_FAC_Facilities);
    auto* diversionLayout = new QVBoxLayout(diversion);
    CheckBoxes(*diversionLayout,
               {{&CBox_FAC_DiversionCalls, CaptionOf("identities.diversion_calls")},
                {&CBox_FAC_3rdPartyDiversion, CaptionOf("identities.third_party_diversion")}});
    auto* divert = Fields();
    divert->addRow(ToQString(CaptionOf("identities.speech_divert")), &ComboBox_FAC_SpeechDivert);
    divert->addRow(ToQString(CaptionOf("identities.data_divert")), &ComboBox_FAC_DataDivert);
    diversionLayout->addLayout(divert);
    auto* facilitiesPage = new QHBoxLayout(&Tab_FAC_Facilities);
    facilitiesPage->addWidget(calls, 0, Qt::AlignTop);
    facilitiesPage->addWidget(diversion, 0, Qt::AlignTop);
    facilitiesPage->addStretch(1);

    // DTMF
    for (QLineEdit* edit :
         {&Edit_DTMF_TonePeriod, &Edit_DTMF_InterTonePeriod, &Edit_DTMF_LET, &Edit_DTMF_Holdover}) {
        Width(*edit, 4);
    }
    for (QLineEdit* edit : {&Edit_DTMF_Sequence1, &Edit_DTMF_Sequence2}) {
        Width(*edit, kDtmfSequenceCharacters);
    }
    CBox_DTMF_DTMFEnabled.setText(ToQString(CaptionOf("identities.dtmf_enabled")));
    auto* dtmf = Fields();
    dtmf->addRow(&CBox_DTMF_DTMFEnabled);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf_tone")), &Edit_DTMF_TonePeriod);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf_inter_tone")), &Edit_DTMF_InterTonePeriod);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf_let")), &Edit_DTMF_LET);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf_holdover")), &Edit_DTMF_Holdover);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf1")), &Edit_DTMF_Sequence1);
    dtmf->addRow(ToQString(CaptionOf("identities.dtmf2")), &Edit_DTMF_Sequence2);
    auto* dtmfPage = new QVBoxLayout(&Tab_DTMF_Dtmf);
    dtmfPage->addLayout(dtmf);
    dtmfPage->addStretch(1);

    // Phone Book
    CBox_PBK_PhbkAlphaOrder.setText(ToQString(CaptionOf("identities.alphabetical_order")));
    Btn_PBK_DeleteAll.setText("Delete All");
    Btn_PBK_FillToEnd.setText("Fill To End");
    Btn_PBK_InsertRow.setText("Insert Row");
    Btn_PBK_DeleteRow.setText("Delete Row");
    auto* phonebookButtons = new QVBoxLayout;
    phonebookButtons->addWidget(&CBox_PBK_PhbkAlphaOrder);
    phonebookButtons->addSpacing(12);
    for (QPushButton* button :
         {&Btn_PBK_InsertRow, &Btn_PBK_DeleteRow, &Btn_PBK_FillToEnd, &Btn_PBK_DeleteAll}) {
        phonebookButtons->addWidget(button);
    }
    phonebookButtons->addStretch(1);
    auto* phonebookPage = new QHBoxLayout(&Tab_PBK_Phonebook);
    phonebookPage->addWidget(&StrGrid_PBK_Phonebook);
    phonebookPage->addSpacing(12);
    phonebookPage->addLayout(phonebookButtons);
    phonebookPage->addStretch(1);

    // Status
    Btn_STA_Copy.setText("COPY");
    CBox_STA_StatusCall.setText(ToQString(CaptionOf("identities.status_call")));
    auto* statusFields = Fields();
    statusFields->addRow(&CBox_STA_StatusCall);
    statusFields->addRow(ToQString(CaptionOf("identities.message_ack_status")),
                         &Combo_STA_MsgAckStatus);
    statusFields->addRow(ToQString(CaptionOf("identities.max_tx_status")), &Combo_STA_MaxTxStatus);
    statusFields->addRow(ToQString(CaptionOf("identities.power_on_status")),
                         &Combo_STA_PowerOnStatus);
    statusFields->addRow(ToQString(CaptionOf("identities.interrogate_status")),
                         &Combo_STA_InterrogateValue);
    statusFields->addRow(ToQString(CaptionOf("identities.gps_poll_status")),
                         &Combo_STA_GPSPollStatus);
    statusFields->addRow(ToQString(CaptionOf("identities.ext_alert_status")),
                         &Combo_STA_ExtAlertStatus);
    auto* statusGridColumn = new QVBoxLayout;
    statusGridColumn->addWidget(&StrGrid_STA_StatusNames);
    statusGridColumn->addWidget(&Btn_STA_Copy, 0, Qt::AlignLeft);
    auto* statusSide = new QVBoxLayout;
    statusSide->addLayout(statusFields);
    statusSide->addStretch(1);
    auto* statusPage = new QHBoxLayout(&Tab_STA_Status);
    statusPage->addLayout(statusGridColumn);
    statusPage->addSpacing(24);
    statusPage->addLayout(statusSide);
    statusPage->addStretch(1);

    // Call Dispatchers
    Width(Edit_SFD_NumberOfSFD, 1);
    CBox_SFD_AutoCall.setText("Auto-Call");
    RadioGrp_SFD_DispatcherLoading.setTitle(ToQString(CaptionOf("identities.dispatcher_loading")));
    auto* dispatcherFields = Fields();
    dispatcherFields->addRow(&CBox_SFD_AutoCall);
    dispatcherFields->addRow(ToQString(CaptionOf("identities.auto_call_count")),
                             &Edit_SFD_NumberOfSFD);
    dispatcherFields->addRow(&RadioGrp_SFD_DispatcherLoading);
    auto* dispatcherPage = new QHBoxLayout(&Tab_SFD_CallDispatchers);
    dispatcherPage->addWidget(&StrGrid_SFD_CallDispatchers, 0, Qt::AlignTop);
    dispatcherPage->addLayout(dispatcherFields);
    dispatcherPage->addStretch(1);

    // Data
    Width(Edit_DAT_DataLeadInDelay, 4);
    Width(Edit_DAT_DataRetries, 3);
    Width(Edit_DAT_TimeBased, 5);
    Width(Edit_DAT_DistanceBased, 5);
    Label_DAT_DistanceBased.setText(ToQString(CaptionOf("identities.gps_distance")));
    Label_DAT_m.setText("m");
    auto* data = Fields();
    data->addRow(ToQString(CaptionOf("identities.data_lead_in")), &Edit_DAT_DataLeadInDelay);
    data->addRow(ToQString(CaptionOf("identities.data_retries")), &Edit_DAT_DataRetries);
    auto* dataOptions = new QVBoxLayout;
    CheckBoxes(*dataOptions,
               {{&CBox_DAT_ImmediateMsgDisplay, CaptionOf("identities.immediate_message")},
                {&CBox_DAT_DeleteRepliedJob, CaptionOf("identities.delete_replied_job")},
                {&CBox_DAT_DataJobNumbers, CaptionOf("identities.job_numbers")},
                {&CBox_DAT_IgnitionSense, CaptionOf("identities.ignition_sense")}});
    auto* gps = new QGroupBox("GPS Reports", &Tab_DAT_Data);
    auto* gpsFields = Fields();
    gpsFields->addRow(ToQString(CaptionOf("identities.gps_interval")), &Edit_DAT_TimeBased);
    auto* distance = new QHBoxLayout;
    distance->addWidget(&Edit_DAT_DistanceBased);
    distance->addWidget(&Label_DAT_m);
    gpsFields->addRow(&Label_DAT_DistanceBased, distance);
    gps->setLayout(gpsFields);
    auto* dataPage = new QVBoxLayout(&Tab_DAT_Data);
    dataPage->addLayout(data);
    dataPage->addLayout(dataOptions);
    dataPage->addWidget(gps, 0, Qt::AlignLeft);
    dataPage->addStretch(1);

    const std::pair<QWidget*, std::string_view> pages[] = {
        {&Tab_RI_RadioIdentity, kTabIdentity},
        {&Tab_GRP_Groups, kTabGroups},
        {&Tab_5DD_FiveDigitDial, kTabFiveDigit},
        {&Tab_FAC_Facilities, kTabFacilities},
        {&Tab_DTMF_Dtmf, kTabDtmf},
        {&Tab_PBK_Phonebook, kTabPhonebook},
        {&Tab_STA_Status, kTabStatus},
        {&Tab_SFD_CallDispatchers, kTabDispatchers},
        {&Tab_DAT_Data, kTabData},
        {&Tab_ID_Next, kTabNext},
    };
    for (const auto& [page, caption] : pages) {
        Page_ID_Identities.addTab(page, ToQString(caption));
    }
    auto* form = new QVBoxLayout(this);
    form->addWidget(&Page_ID_Identities);
}

void TForm_ID_Identities::BuildGrids() {
    using Kind = FieldGrid::Editor::Kind;

    groups_.emplace(StrGrid_GRP_Groups, person());
    const FieldGrid::Column groupColumns[] = {{"", 50}, {"Group Address", 120}};
    groups_->SetUp(static_cast<int>(kGroupCount), groupColumns);
    groups_->SetEditor(1, {Kind::Digits, kGroupDigits, {}});
    // An emptied group cell clears the group; a number is checked when its cell is left.
    groups_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        const QString text = groups_->Text(line, column);
        return text.trimmed().isEmpty() ? std::nullopt : GroupMessage(text);
    };

    fiveDigit_.emplace(StrGrid_5DD_Table, person());
    const FieldGrid::Column fiveDigitColumns[] = {
        {" ", 50}, {"FleetCode", 100}, {"Prefix", 100}, {"Fleet", 100}, {"Highest Number", 100}};
    fiveDigit_->SetUp(static_cast<int>(kFiveDigitEntries), fiveDigitColumns);
    const int digits[] = {0, 3, 3, 4, 3};
    for (int column = 1; column <= 4; ++column) {
        fiveDigit_->SetEditor(column, {Kind::Digits, digits[column], {}});
    }
    fiveDigit_->extraCheck = [this](int line, int column, FieldGrid::Moment moment) {
        const auto message = CheckFiveDigitCell(
            static_cast<FiveDigitColumn>(column), fiveDigit_->Text(line, column).toStdString(),
            fiveDigit_->Text(line, 1).toStdString(), moment == FieldGrid::Moment::Enter);
        return message ? std::optional<std::string>(message->text) : std::nullopt;
    };
    fiveDigit_->messageKind = [](int, int, FieldGrid::Moment moment) {
        return moment == FieldGrid::Moment::Enter ? BoxKind::Error : BoxKind::Warning;
    };

    phonebook_.emplace(StrGrid_PBK_Phonebook, person());
    const FieldGrid::Column phonebookColumns[] = {
        {"Entry", 50}, {"Dial String", 220}, {"Name/Message", 110}};
    phonebook_->SetUp(static_cast<int>(phonebook_rows::kEntries), phonebookColumns, 0);
    for (std::size_t entry = 0; entry < phonebook_rows::kEntries; ++entry) {
        phonebook_->SetName(static_cast<int>(entry), ToQString(PhonebookRowLabel(entry)));
    }
    phonebook_->SetEditor(kPhonebookNumber, {Kind::Dial, kDialCharacters, {}});
    phonebook_->SetEditor(kPhonebookName, {Kind::Text, kNameCharacters, {}});
    phonebook_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        return column == kPhonebookName ? DisplayWidthMessage(phonebook_->Text(line, column))
                                        : std::nullopt;
    };
    phonebook_->messageKind = [](int, int, FieldGrid::Moment) { return BoxKind::Warning; };
    phonebookSheet_.emplace(*phonebook_, StrGrid_PBK_Phonebook, person());

    status_.emplace(StrGrid_STA_StatusNames, person());
    const FieldGrid::Column statusColumns[] = {{"Status", 50},
                                               {"Incoming Message", 98},
                                               {"Outgoing Message", 98},
                                               {"Send Status/SDM", 98}};
    status_->SetUp(kStatusCount, statusColumns);
    status_->SetEditor(kIncomingColumn, {Kind::Text, kNameCharacters, {}});
    status_->SetEditor(kOutgoingColumn, {Kind::Text, kNameCharacters, {}});
    status_->SetEditor(kReplyColumn, {Kind::List, 0, ReplyTexts()});
    status_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        return column == kReplyColumn ? std::nullopt
                                      : DisplayWidthMessage(status_->Text(line, column));
    };
    status_->messageKind = [](int, int, FieldGrid::Moment) { return BoxKind::Warning; };

    dispatchers_.emplace(StrGrid_SFD_CallDispatchers, person());
    const FieldGrid::Column dispatcherColumns[] = {{"", 50}, {"Dispatcher", 220}};
    dispatchers_->SetUp(static_cast<int>(kDispatcherStrings.capacity), dispatcherColumns);
    dispatchers_->SetEditor(1, {Kind::Dial, kDialCharacters, {}});
    for (std::uint32_t line = 0; line < kDispatcherStrings.capacity; ++line) {
        dispatchers_->Bind(static_cast<int>(line), 1, kDispatcherStringColumns[0],
                           static_cast<std::size_t>(kDispatcherStrings.base.trunk) +
                               line * kDispatcherStrings.stride);
    }
}

void TForm_ID_Identities::WatchEdits() {
    using Keys = EditChecks::Keys;
    checks_.Watch(Edit_RI_RadioIdentity, Keys::Digits,
                  [this] { return CheckIdentity(Edit_RI_RadioIdentity, IdentityField::Own); });
    checks_.Watch(Edit_RI_DispatcherIdentity, Keys::Digits, [this] {
        return CheckIdentity(Edit_RI_DispatcherIdentity, IdentityField::Individual);
    });
    checks_.Watch(Edit_RI_DataIdentity, Keys::Digits, [this] {
        return CheckIdentity(Edit_RI_DataIdentity, IdentityField::Individual);
    });
    checks_.Watch(Edit_RI_DynamicGrp, Keys::Digits, [this] {
        return CurrentNumbering().scheme != kSchemeCpsx ||
               CheckIdentity(Edit_RI_DynamicGrp, IdentityField::Group);
    });
    checks_.Watch(Edit_RI_HighestUnit, Keys::Digits, [this] {
        return ApplyExitCheck(Edit_RI_HighestUnit, CheckHighestUnit(Text(Edit_RI_HighestUnit),
                                                                    Text(Edit_RI_RadioIdentity),
                                                                    CurrentNumbering(), person()));
    });
    checks_.Watch(Edit_GRP_HighestGroup, Keys::Digits, [this] {
        return ApplyExitCheck(
            Edit_GRP_HighestGroup,
            CheckHighestGroup(Text(Edit_GRP_HighestGroup), Text(Edit_RI_RadioIdentity),
                              Text(Edit_GRP_OwnFleetGroup), CurrentNumbering(), person()));
    });
    checks_.Watch(Edit_GRP_OwnFleetGroup, Keys::Digits, [this] {
        return ApplyExitCheck(Edit_GRP_OwnFleetGroup,
                              CheckOwnFleetGroup(Text(Edit_GRP_OwnFleetGroup),
                                                 Text(Edit_GRP_HighestGroup), person()));
    });
    // Plain rows: the row's own check.
    const std::pair<QLineEdit*, Keys> plain[] = {
        {&Edit_RI_EmergencyAddr, Keys::Dial},       {&Edit_DTMF_TonePeriod, Keys::Digits},
        {&Edit_DTMF_InterTonePeriod, Keys::Digits}, {&Edit_DTMF_LET, Keys::Digits},
        {&Edit_DTMF_Holdover, Keys::Digits},        {&Edit_DTMF_Sequence1, Keys::Dtmf},
        {&Edit_DTMF_Sequence2, Keys::Dtmf},         {&Edit_SFD_NumberOfSFD, Keys::Digits},
        {&Edit_DAT_DataLeadInDelay, Keys::Digits},  {&Edit_DAT_DataRetries, Keys::Digits},
    };
    for (const auto& entry : plain) {
        QLineEdit* edit = entry.first;
        checks_.Watch(*edit, entry.second,
                      [this, edit] { return slotBinder_->CheckControl(edit, person()); });
    }
    for (QLineEdit* edit : {&Edit_DAT_TimeBased, &Edit_DAT_DistanceBased}) {
        checks_.Watch(*edit, Keys::Digits,
                      [this, edit] { return jobBinder_->CheckControl(edit, person()); });
    }
}

void TForm_ID_Identities::Connect() {
    const std::pair<QComboBox*, CpsxCount> counts[] = {{&ComboBox_RI_CPSXLarge, CpsxCount::Large},
                                                       {&ComboBox_RI_CPSXMedium, CpsxCount::Medium},
                                                       {&ComboBox_RI_CPSXSmall, CpsxCount::Small}};
    for (const auto& entry : counts) {
        const CpsxCount count = entry.second;
        connect(entry.first, &QComboBox::activated, this,
                [this, count] { ComboBox_RI_CPSXChange(count); });
    }
    connect(&Combo_STA_MaxTxStatus, &QComboBox::activated, this,
            [this] { Combo_STA_MaxTxStatusChange(); });
    connect(&Combo_STA_InterrogateValue, &QComboBox::activated, this,
            [this] { Combo_STA_InterrogateValueChange(); });
    connect(&Combo_STA_PowerOnStatus, &QComboBox::activated, this,
            [this] { Combo_STA_PowerOnStatusChange(); });
    connect(&CBox_STA_StatusCall, &QCheckBox::clicked, this,
            [this] { CBox_STA_StatusCallClick(); });
    connect(&CBox_SFD_AutoCall, &QCheckBox::clicked, this, [this] { CBox_SFD_AutoCallClick(); });
    connect(&Btn_STA_Copy, &QPushButton::clicked, this, [this] { Btn_STA_CopyClick(); });
    connect(&Btn_PBK_DeleteAll, &QPushButton::clicked, this, [this] { Btn_PBK_DeleteAllClick(); });
    connect(&Btn_PBK_FillToEnd, &QPushButton::clicked, this, [this] { Btn_PBK_FillToEndClick(); });
    connect(&Btn_PBK_InsertRow, &QPushButton::clicked, this, [this] { Btn_PBK_InsertRowClick(); });
    connect(&Btn_PBK_DeleteRow, &QPushButton::clicked, this, [this] { Btn_PBK_DeleteRowClick(); });
    connect(&Page_ID_Identities, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kPageNext) {
            Tab_ID_NextShow();
        }
    });
    // Moving to the Prefix, Fleet or Highest Number of a line without a FleetCode goes back to
    // the FleetCode.
    connect(&StrGrid_5DD_Table, &QTableWidget::currentCellChanged, this,
            [this](int line, int column) {
                // A move the grid refused (the cell left failed its check) went back already.
                const bool moved = StrGrid_5DD_Table.currentRow() == line &&
                                   StrGrid_5DD_Table.currentColumn() == column;
                if (!moved || line < 0 || column < 2 ||
                    IntegerOfField(fiveDigit_->Text(line, 1).toStdString()) != 0) {
                    return;
                }
                person().Warn(kDefineFleetCodeFirst);
                QTimer::singleShot(0, &StrGrid_5DD_Table,
                                   [this, line] { StrGrid_5DD_Table.setCurrentCell(line, 1); });
            });
    // Enter on a list or a tick box moves on, as on the rest of the form.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(control) || qobject_cast<QCheckBox*>(control) ||
            qobject_cast<QPushButton*>(control)) {
            control->installEventFilter(this);
        }
    }
}

bool TForm_ID_Identities::eventFilter(QObject* watched, QEvent* event) {
    return MoveOnAtEnter(*event) || ConfigForm::eventFilter(watched, event);
}

// ---- Helpers ---------------------------------------------------------------------------------

std::span<std::uint8_t> TForm_ID_Identities::Bytes() const {
    return workspace().trunk.Bytes();
}

std::size_t TForm_ID_Identities::Slot() const {
    return tables::AreaStart(fields::Area::NetworkSlot, fields::ImageId::Trunk,
                             state().NetworkSelector)
        .value_or(trunk::SlotStart(0));
}

std::int64_t TForm_ID_Identities::ValueOf(const QWidget& control) const {
    const auto value = slotBinder_->Value(&control);
    const auto* number = value ? std::get_if<std::int64_t>(&*value) : nullptr;
    return number ? *number : 0;
}

Numbering TForm_ID_Identities::CurrentNumbering() const {
    Numbering numbering = NumberingOfSlot(workspace().trunk, state().NetworkSelector);
    numbering.cpsx = {static_cast<int>(ValueOf(ComboBox_RI_CPSXLarge)),
                      static_cast<int>(ValueOf(ComboBox_RI_CPSXMedium)),
                      static_cast<int>(ValueOf(ComboBox_RI_CPSXSmall))};
    return numbering;
}

bool TForm_ID_Identities::CheckIdentity(QLineEdit& edit, IdentityField field) {
    return ParseIdentity(Text(edit), field, CurrentNumbering(), person()).has_value();
}

bool TForm_ID_Identities::ApplyExitCheck(QLineEdit& edit, const ExitCheck& check) {
    if (check.replaceWith) {
        edit.setText(ToQString(*check.replaceWith));
    }
    return check.passed;
}

std::optional<std::string> TForm_ID_Identities::GroupMessage(const QString& text) const {
    MessageCatcher catcher;
    ParseIdentity(text.toStdString(), IdentityField::Group, CurrentNumbering(), catcher);
    return catcher.message;
}

// With either HM-F head a text too wide for the display cannot be left; the HM-F+ display takes
// every text.
std::optional<std::string> TForm_ID_Identities::DisplayWidthMessage(const QString& text) const {
    if (!HasNarrowDisplay(HeadOfMask(state().RadioTypeMask))) {
        return std::nullopt;
    }
    const TrunkJobImage& image = workspace().trunk;
    const bool plus = RadioTypeRowOfCode(image.U8(trunk::kRadioType), image.U8(trunk::kHeadVariant),
                                         image.U16(kVersionWordOffset)) == kRowHmFPlus;
    MessageCatcher catcher;
    CheckDisplayWidth(text.toStdString(), plus, catcher);
    return catcher.message;
}

IdentityTexts TForm_ID_Identities::ShownIdentities() const {
    IdentityTexts texts;
    texts.own = Text(Edit_RI_RadioIdentity);
    texts.dispatcher = Text(Edit_RI_DispatcherIdentity);
    texts.data = Text(Edit_RI_DataIdentity);
    texts.highestUnit = Text(Edit_RI_HighestUnit);
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        texts.groups[g] = groups_->Text(static_cast<int>(g), 1).toStdString();
    }
    texts.highestGroup = Text(Edit_GRP_HighestGroup);
    texts.ownFleetGroup = Text(Edit_GRP_OwnFleetGroup);
    texts.dynamicGroup = Text(Edit_RI_DynamicGrp);
    return texts;
}

void TForm_ID_Identities::ShowIdentities(const IdentityTexts& texts) {
    Edit_RI_RadioIdentity.setText(ToQString(texts.own));
    Edit_RI_DispatcherIdentity.setText(ToQString(texts.dispatcher));
    Edit_RI_DataIdentity.setText(ToQString(texts.data));
    Edit_RI_HighestUnit.setText(ToQString(texts.highestUnit));
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        groups_->ShowLoaded(static_cast<int>(g), 1, ToQString(texts.groups[g]));
    }
    Edit_GRP_HighestGroup.setText(ToQString(texts.highestGroup));
    Edit_GRP_OwnFleetGroup.setText(ToQString(texts.ownFleetGroup));
    Edit_RI_DynamicGrp.setText(ToQString(texts.dynamicGroup));
}

std::vector<FiveDigitEntry> TForm_ID_Identities::ShownFiveDigit() const {
    std::vector<FiveDigitEntry> entries(kFiveDigitEntries);
    for (int line = 0; line < static_cast<int>(kFiveDigitEntries); ++line) {
        entries[static_cast<std::size_t>(line)] = {
            fiveDigit_->Text(line, 1).toStdString(), fiveDigit_->Text(line, 2).toStdString(),
            fiveDigit_->Text(line, 3).toStdString(), fiveDigit_->Text(line, 4).toStdString()};
    }
    return entries;
}

std::vector<StatusEntry> TForm_ID_Identities::ShownStatusList() const {
    std::vector<StatusEntry> entries(kStatusCount);
    for (int line = 0; line < kStatusCount; ++line) {
        entries[static_cast<std::size_t>(line)] = {
            status_->Text(line, kIncomingColumn).toStdString(),
            status_->Text(line, kOutgoingColumn).toStdString(),
            status_->Text(line, kReplyColumn).toStdString()};
    }
    return entries;
}

Phonebook TForm_ID_Identities::ShownPhonebook() const {
    Phonebook book(phonebook_rows::kEntries);
    for (std::size_t e = 0; e < book.size(); ++e) {
        const int line = static_cast<int>(e);
        book[e] = {phonebook_->Text(line, kPhonebookNumber).toStdString(),
                   phonebook_->Text(line, kPhonebookName).toStdString()};
    }
    return book;
}

void TForm_ID_Identities::ShowPhonebook(const Phonebook& book, bool asLoaded) {
    for (std::size_t e = 0; e < book.size() && e < phonebook_rows::kEntries; ++e) {
        const int line = static_cast<int>(e);
        const QString number = ToQString(book[e].number);
        const QString name = ToQString(book[e].name);
        if (asLoaded) {
            phonebook_->ShowLoaded(line, kPhonebookNumber, number);
            phonebook_->ShowLoaded(line, kPhonebookName, name);
        } else {
            phonebook_->SetText(line, kPhonebookNumber, number);
            phonebook_->SetText(line, kPhonebookName, name);
        }
    }
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_ID_Identities::LoadPass() {
    const TrunkJobImage& image = workspace().trunk;
    const int selector = state().NetworkSelector;
    slotBinder_->Load(fields::ImageId::Trunk, Bytes(), Slot());
    jobBinder_->Load(fields::ImageId::Trunk, Bytes(), 0);
    if (!DataRetriesStored(image)) {
        Edit_DAT_DataRetries.setText(ToQString(kOldJobDataRetries));
        Edit_DAT_DataLeadInDelay.setText(ToQString(kOldJobLeadInDelay));
    }
    CBox_SFD_AutoCall.setChecked(ValueOf(Edit_SFD_NumberOfSFD) != 0);

    loadedIdentities_ = LoadIdentityTexts(image, selector);
    ShowIdentities(loadedIdentities_);
    cpsxCountsChanged_ = false;

    loadedFiveDigit_ = LoadFiveDigit(image, selector);
    for (std::size_t k = 0; k < loadedFiveDigit_.size(); ++k) {
        const FiveDigitEntry& entry = loadedFiveDigit_[k];
        const QString texts[] = {ToQString(entry.fleetCode), ToQString(entry.prefix),
                                 ToQString(entry.fleet), ToQString(entry.highest)};
        for (int column = 1; column <= 4; ++column) {
            fiveDigit_->ShowLoaded(static_cast<int>(k), column, texts[column - 1]);
        }
    }
    loadedStatus_ = LoadStatusList(image, selector);
    for (std::size_t s = 0; s < loadedStatus_.size(); ++s) {
        const int line = static_cast<int>(s);
        status_->ShowLoaded(line, kIncomingColumn, ToQString(loadedStatus_[s].incoming));
        status_->ShowLoaded(line, kOutgoingColumn, ToQString(loadedStatus_[s].outgoing));
        status_->ShowLoaded(line, kReplyColumn, ToQString(loadedStatus_[s].reply));
    }
    dispatchers_->Load(fields::ImageId::Trunk, Bytes(), Slot());
    ShowPhonebook(LoadPhonebook(Bytes()), true);
    ShowScheme();
}

void TForm_ID_Identities::StorePass() {
    TrunkJobImage& image = workspace().trunk;
    const int selector = state().NetworkSelector;
    slotBinder_->Store(fields::ImageId::Trunk, Bytes(), Slot());
    jobBinder_->Store(fields::ImageId::Trunk, Bytes(), 0);
    const IdentityTexts shown = ShownIdentities();
    StoreIdentityTexts(image, selector, shown, cpsxCountsChanged_ ? nullptr : &loadedIdentities_);
    StoreFiveDigit(image, selector, ShownFiveDigit(), loadedFiveDigit_);
    StoreStatusList(image, selector, ShownStatusList(), loadedStatus_);
    dispatchers_->Store(fields::ImageId::Trunk, Bytes(), Slot());
    StorePhonebook(Bytes(), ShownPhonebook());
    StoreDerivedFields(image, selector);
}

// ---- Visibility ------------------------------------------------------------------------------

void TForm_ID_Identities::RefreshVisibility() {
    const IdentitiesVisibility v = IdentitiesVisibilityOf(
        {HeadOfMask(state().RadioTypeMask), state().PortableGeneration, state().RadioModeMask},
        state().ImageKind == kImageTrunk);
    const bool shown[] = {v.identity,  v.groups, v.fiveDigit,   v.facilities, v.dtmf,
                          v.phonebook, v.status, v.dispatchers, v.data,       v.next};
    for (int page = 0; page < Page_ID_Identities.count(); ++page) {
        Page_ID_Identities.setTabVisible(page, shown[page]);
    }
    CBox_DAT_IgnitionSense.setVisible(v.ignitionSense);
    for (QWidget* never :
         std::initializer_list<QWidget*>{&CBox_DTMF_DTMFEnabled, &Edit_DAT_DistanceBased,
                                         &Label_DAT_DistanceBased, &Label_DAT_m}) {
        never->setVisible(false);
    }
    ShowScheme();
}

void TForm_ID_Identities::ShowScheme() {
    const int scheme = CurrentNumbering().scheme;
    const bool cpsx = scheme == kSchemeCpsx;
    GBox_RI_CPSX.setVisible(cpsx);
    Label_RI_DataIdentity.setVisible(!cpsx);
    Edit_RI_DataIdentity.setVisible(!cpsx);
    const bool mptLike = scheme == kSchemeMpt1343 || scheme == kScheme3Rp;
    Label_GRP_OwnFleetGroup.setVisible(mptLike);
    Edit_GRP_OwnFleetGroup.setVisible(mptLike);
    checks_.SetKeys(Edit_RI_EmergencyAddr,
                    cpsx ? EditChecks::Keys::DialOrE : EditChecks::Keys::Dial);
}

void TForm_ID_Identities::ShowFirstPage() {
    const QSignalBlocker blocker(Page_ID_Identities);
    Page_ID_Identities.setCurrentIndex(kPageIdentity);
}

bool TForm_ID_Identities::CheckFocusedField() {
    for (FieldGrid* grid : {&*groups_, &*fiveDigit_, &*phonebook_, &*status_, &*dispatchers_}) {
        if (grid->HasFocus() && !grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return checks_.CheckFocused();
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_ID_Identities::ComboBox_RI_CPSXChange(CpsxCount changed) {
    cpsxCountsChanged_ = true;
    const Numbering numbering = CurrentNumbering();
    if (CheckCpsxCounts(numbering.cpsx, changed, person())) {
        return;
    }
    for (std::string_view id :
         {"identities.cpsx_large", "identities.cpsx_medium", "identities.cpsx_small"}) {
        slotBinder_->Show(Row(id), kCpsxResetCount);
    }
    Edit_RI_RadioIdentity.clear();
    Edit_RI_DispatcherIdentity.clear();
    Edit_RI_DataIdentity.clear();
    Edit_RI_DynamicGrp.clear();
    Edit_RI_HighestUnit.setText(ToQString(kCpsxResetHighestUnit));
    Edit_GRP_HighestGroup.setText(ToQString(kCpsxResetHighestGroup));
    for (int line = 0; line < static_cast<int>(kGroupCount); ++line) {
        groups_->SetText(line, 1, QString());
    }
}

void TForm_ID_Identities::ResetStatusChoices() {
    Combo_STA_PowerOnStatus.setCurrentIndex(0);
    Combo_STA_InterrogateValue.setCurrentIndex(0);
}

void TForm_ID_Identities::Combo_STA_MaxTxStatusChange() {
    if (ValueOf(Combo_STA_MaxTxStatus) == 0) {
        ResetStatusChoices();
    }
}

void TForm_ID_Identities::CBox_STA_StatusCallClick() {
    if (!CBox_STA_StatusCall.isChecked()) {
        ResetStatusChoices();
    }
}

// The two lists number their items differently ("Disabled" comes first in one of them): the
// statuses they name are compared.
void TForm_ID_Identities::WarnIfInterrogateIsPowerOn() {
    const std::int64_t interrogate = ValueOf(Combo_STA_InterrogateValue);
    if (interrogate != 0 && interrogate == ValueOf(Combo_STA_PowerOnStatus)) {
        person().Warn(kInterrogateSameAsPowerOn);
    }
}

void TForm_ID_Identities::Combo_STA_InterrogateValueChange() {
    if (ValueOf(Combo_STA_MaxTxStatus) == 0) {
        person().Error(kInterrogateWithoutMaximum);
        Combo_STA_InterrogateValue.setCurrentIndex(0);
        return;
    }
    WarnIfInterrogateIsPowerOn();
}

void TForm_ID_Identities::Combo_STA_PowerOnStatusChange() {
    WarnIfInterrogateIsPowerOn();
}

void TForm_ID_Identities::Btn_STA_CopyClick() {
    for (int line = 0; line < kStatusCount; ++line) {
        status_->SetText(line, kOutgoingColumn, status_->Text(line, kIncomingColumn));
    }
}

void TForm_ID_Identities::Btn_PBK_DeleteAllClick() {
    if (person().Ask(kDeletePhonebookQuestion) == Answer::Yes) {
        ShowPhonebook(Phonebook(phonebook_rows::kEntries), false);
    }
}

void TForm_ID_Identities::Btn_PBK_FillToEndClick() {
    if (person().Ask(kFillToEndQuestion) != Answer::Yes) {
        StrGrid_PBK_Phonebook.setFocus();
        return;
    }
    Phonebook book = ShownPhonebook();
    const int row = std::max(StrGrid_PBK_Phonebook.currentRow(), 0);
    if (const auto error = FillToEnd(book, static_cast<std::size_t>(row))) {
        person().Error(*error);
    }
    ShowPhonebook(book, false);
}

void TForm_ID_Identities::Btn_PBK_InsertRowClick() {
    Phonebook book = ShownPhonebook();
    InsertRow(book, static_cast<std::size_t>(std::max(StrGrid_PBK_Phonebook.currentRow(), 0)));
    ShowPhonebook(book, false);
}

void TForm_ID_Identities::Btn_PBK_DeleteRowClick() {
    Phonebook book = ShownPhonebook();
    DeleteRow(book, static_cast<std::size_t>(std::max(StrGrid_PBK_Phonebook.currentRow(), 0)));
    ShowPhonebook(book, false);
}

// Auto-call is on while there are dispatchers to call.
void TForm_ID_Identities::CBox_SFD_AutoCallClick() {
    const bool on = CBox_SFD_AutoCall.isChecked();
    if (!on) {
        Edit_SFD_NumberOfSFD.setText("0");
    } else if (ValueOf(Edit_SFD_NumberOfSFD) == 0) {
        Edit_SFD_NumberOfSFD.setText("1");
    }
}

void TForm_ID_Identities::Tab_ID_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::NetworkOptions);
}

KM_REGISTER_FORM(FormId::Identities, TForm_ID_Identities);

}  // namespace km
