#include "forms/network/SysForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/BandTable.h"
#include "config/FieldRoutines.h"
#include "network/SysMap.h"

namespace km {
namespace {

using namespace system_rows;

constexpr const char* kFormCaption = "Network Systems";
constexpr std::string_view kNetworkTypeQuestion =
    "Changing the network type will affect the network parameters:               \n"
    "Network Identity, Zone Length, Area Length and SIL,               \n"
    "These values will be reset to 0.               \n\n"
    "Are you sure you want to change the Network Type?";
constexpr const char* kIdentityCaption = "Network Identity";
constexpr const char* kFillToEndCaption = "Fill to End";
constexpr const char* kUndefinedCaption = "Undefined";
constexpr const char* kReservedCaption = "Reserved (not stored)";
constexpr const char* kReservedHint =
    "Reserved: the network file has no place for these options, so they are never stored.";

constexpr int kAnnScheme = 1;  // the scheme row that shows the ANN page
constexpr int kAnnColumnWidth = 50;
constexpr int kAnnTypedLength = 2;
constexpr int kOpidTypedLength = 3;
constexpr int kPartitionColumn = 1;
constexpr int kExtentColumn = 2;
constexpr int kOpidColumn = 1;

std::size_t RecordOffset(const fields::RecordTable& records, const fields::FieldRow& column,
                         int entry) {
    return static_cast<std::size_t>(records.base.network) +
           static_cast<std::size_t>(entry) * records.stride +
           static_cast<std::size_t>(column.at.network);
}

QList<QRadioButton*> RadioButtonsOf(const QGroupBox& group) {
    return group.findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

TForm_NWSYS_System::TForm_NWSYS_System(const FormContext& context, QWidget* parent)
    : NetworkFileForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(kFormCaption);
    setObjectName("TForm_NWSYS_System");
    BuildLayout();
    binder_.emplace(*this, kRows);
    BuildGrids();
    Connect();
    WatchEdits();
    // The band list is in a fixed-pitch font, so that its texts line up as they are written.
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    Combo_SYS_FrequencyBand.setFont(fixed);
}

void TForm_NWSYS_System::BuildLayout() {
    // Labels and boxes carry the captions of their rows.
    auto form = [](QWidget* parent) {
        auto* layout = new QFormLayout(parent);
        layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        return layout;
    };
    auto narrow = [](QLineEdit& edit, int characters) {
        edit.setMaximumWidth(edit.fontMetrics().horizontalAdvance(QString(characters + 2, '0')) +
                             12);
    };
    for (QLineEdit* edit :
         {&Edit_SYS_Identity, &Edit_SYS_ZoneLength, &Edit_SYS_AreaLength, &Edit_SYS_LengthSIL,
          &Edit_FSL_LevelL0dBm, &Edit_FSL_LevelL2dBm, &Edit_FSL_KPRLevelL0, &Edit_FSL_KPRLevelL2,
          &Edit_FSL_FallbackChannel, &Edit_FSL_FallbackNDD, &Edit_GEN_VoteNowSampleLength,
          &Edit_GEN_NumOfPresselOnMsg, &Edit_GEN_NumOfPresselOffMsg}) {
        narrow(*edit, 4);
    }
    narrow(Edit_REG_RQRINFO, 5);
    Edit_SYS_NetworkDescription.setMinimumWidth(
        Edit_SYS_NetworkDescription.fontMetrics().horizontalAdvance(QString(60, 'n')));

    // Network Information
    RadioGrp_SYS_NetworkScheme.setTitle(Caption(kScheme));
    RadioGrp_SYS_NetworkType.setTitle(Caption(kNetworkType));
    auto* identity = form(nullptr);
    identity->addRow(kIdentityCaption, &Edit_SYS_Identity);
    identity->addRow(Caption(kZoneLength), &Edit_SYS_ZoneLength);
    identity->addRow(Caption(kAreaLength), &Edit_SYS_AreaLength);
    identity->addRow(Caption(kSil), &Edit_SYS_LengthSIL);
    auto* top = form(nullptr);
    top->addRow(Caption(Row("network.system.description")), &Edit_SYS_NetworkDescription);
    top->addRow(Caption(kBand), &Combo_SYS_FrequencyBand);
    auto* groups = new QHBoxLayout;
    groups->addWidget(&RadioGrp_SYS_NetworkScheme, 0, Qt::AlignTop);
    groups->addWidget(&RadioGrp_SYS_NetworkType, 0, Qt::AlignTop);
    groups->addLayout(identity);
    groups->addStretch(1);
    auto* info = new QVBoxLayout(&Tab_SYS_NetworkInfo);
    info->addLayout(top);
    info->addLayout(groups);
    info->addStretch(1);

    // Registration
    CBox_REG_RQREnabled.setText(Caption(Row("network.system.variable_info")));
    Lbl_REG_RQRINFO.setText(Caption(Row("network.system.info")));
    CBox_REG_PwrOnRegistration.setText(Caption(Row("network.system.power_on_registration")));
    CBox_REG_PwrOffDeRegistration.setText(Caption(Row("network.system.power_off_deregistration")));
    RadioGrp_REG_DemandedRegistration.setTitle(
        Caption(Row("network.system.demanded_registration")));
    auto* infoLine = new QHBoxLayout;
    infoLine->addWidget(&CBox_REG_RQREnabled);
    infoLine->addSpacing(24);
    infoLine->addWidget(&Lbl_REG_RQRINFO);
    infoLine->addWidget(&Edit_REG_RQRINFO);
    infoLine->addStretch(1);
    auto* registration = new QVBoxLayout(&Tab_REG_Registration);
    registration->addLayout(infoLine);
    registration->addWidget(&CBox_REG_PwrOnRegistration);
    registration->addWidget(&CBox_REG_PwrOffDeRegistration);
    registration->addWidget(&RadioGrp_REG_DemandedRegistration, 0, Qt::AlignLeft);
    registration->addStretch(1);

    // Signal Levels: the mobile and portable levels, the margins and the fallback.
    auto* mobile = new QGroupBox("Mobile");
    auto* mobileLayout = form(mobile);
    mobileLayout->addRow(Caption(Row("network.system.mobile_level_l0")), &Edit_FSL_LevelL0dBm);
    mobileLayout->addRow(Caption(Row("network.system.mobile_level_l2")), &Edit_FSL_LevelL2dBm);
    auto* portable = new QGroupBox("Portable");
    auto* portableLayout = form(portable);
    portableLayout->addRow(Caption(Row("network.system.portable_level_l0")), &Edit_FSL_KPRLevelL0);
    portableLayout->addRow(Caption(Row("network.system.portable_level_l2")), &Edit_FSL_KPRLevelL2);
    auto* margins = new QGroupBox("Level Margins");
    auto* marginLayout = form(margins);
    marginLayout->addRow(Caption(Row("network.system.level_margin_1")), &Combo_FSL_LevelMargin1);
    marginLayout->addRow(Caption(Row("network.system.level_margin_2")), &Combo_FSL_LevelMargin2);
    marginLayout->addRow(Caption(Row("network.system.level_margin_3")), &Combo_FSL_LevelMargin3);
    auto* fallback = new QGroupBox("Fallback");
    auto* fallbackLayout = new QGridLayout(fallback);
    CBox_FSL_FallbackAllowed.setText(Caption(Row("network.system.fallback_allowed")));
    RadioGrp_FSL_FallbackType.setTitle(Caption(Row("network.system.fallback_type")));
    Lbl_FSL_FallbackChannel.setText(Caption(Row("network.system.fallback_channel")));
    Lbl_FSL_FallbackNDD.setText(Caption(kFallbackNdd));
    fallbackLayout->addWidget(&CBox_FSL_FallbackAllowed, 0, 0, 1, 2);
    fallbackLayout->addWidget(&RadioGrp_FSL_FallbackType, 1, 0, 1, 2, Qt::AlignLeft);
    fallbackLayout->addWidget(&Lbl_FSL_FallbackChannel, 2, 0);
    fallbackLayout->addWidget(&Edit_FSL_FallbackChannel, 2, 1);
    fallbackLayout->addWidget(&Lbl_FSL_FallbackNDD, 3, 0);
    fallbackLayout->addWidget(&Edit_FSL_FallbackNDD, 3, 1);
    auto* levels = new QGridLayout(&Tab_FSL_SignalLevels);
    levels->addWidget(mobile, 0, 0);
    levels->addWidget(portable, 1, 0);
    levels->addWidget(margins, 0, 1);
    levels->addWidget(fallback, 1, 1);
    levels->setColumnStretch(2, 1);
    levels->setRowStretch(2, 1);

    // General
    CBox_GEN_BkgndHuntEnable.setText(Caption(Row("network.system.background_hunt")));
    auto* general = new QGridLayout(&Tab_GEN_General);
    general->addWidget(&CBox_GEN_BkgndHuntEnable, 0, 0, 1, 2);
    auto* counts = form(nullptr);
    counts->addRow(Caption(Row("network.system.vote_now_sample_length")),
                   &Edit_GEN_VoteNowSampleLength);
    counts->addRow(Caption(Row("network.system.pressel_on_messages")), &Edit_GEN_NumOfPresselOnMsg);
    counts->addRow(Caption(Row("network.system.pressel_off_messages")),
                   &Edit_GEN_NumOfPresselOffMsg);
    general->addLayout(counts, 1, 0);
    // Five options the network file has no place for: shown greyed under a caption that says so,
    // never stored.
    auto* reserved = new QGroupBox(kReservedCaption, &Tab_GEN_General);
    reserved->setObjectName("GBox_GEN_Reserved");
    reserved->setToolTip(kReservedHint);
    auto* undefined = new QVBoxLayout(reserved);
    for (QCheckBox& box : CBox_GEN_Undefined) {
        box.setText(kUndefinedCaption);
        box.setEnabled(false);
        box.setToolTip(kReservedHint);
        undefined->addWidget(&box);
    }
    general->addWidget(reserved, 1, 1, Qt::AlignTop);
    general->setColumnStretch(2, 1);
    general->setRowStretch(2, 1);

    // ANN and OPID
    Btn_ANN_FillToEnd.setText(kFillToEndCaption);
    auto* ann = new QHBoxLayout(&Tab_ANN_RCPMEP);
    ann->addWidget(&StrGrid_ANN_RCPMEPTable);
    ann->addWidget(&Btn_ANN_FillToEnd, 0, Qt::AlignTop);
    ann->addStretch(1);
    auto* roaming = new QHBoxLayout(&Tab_OPID_Roaming);
    roaming->addWidget(&StrGrid_OPID_RoamingTable);
    roaming->addStretch(1);

    Page_NWSYS_Systems.addTab(&Tab_SYS_NetworkInfo, "Network Information");
    Page_NWSYS_Systems.addTab(&Tab_REG_Registration, "Registration");
    Page_NWSYS_Systems.addTab(&Tab_FSL_SignalLevels, "Signal Levels");
    Page_NWSYS_Systems.addTab(&Tab_GEN_General, "General");
    Page_NWSYS_Systems.addTab(&Tab_ANN_RCPMEP, "ANN");
    Page_NWSYS_Systems.addTab(&Tab_OPID_Roaming, "OPID");
    Page_NWSYS_Systems.addTab(&Tab_NWSYS_Next, "Next Form -->");
    auto* page = new QVBoxLayout(this);
    page->addWidget(&Page_NWSYS_Systems);
}

void TForm_NWSYS_System::BuildGrids() {
    // ANN prefix table: the prefix, then the partition ("RCP") and the extent ("MEP").
    annGrid_.emplace(StrGrid_ANN_RCPMEPTable, person());
    const FieldGrid::Column annColumns[] = {
        {"Prefix", kAnnColumnWidth}, {"RCP", kAnnColumnWidth}, {"MEP", kAnnColumnWidth}};
    annGrid_->SetUp(kAnnEntries, annColumns, 0);
    const FieldGrid::Editor twoDigits{FieldGrid::Editor::Kind::Digits, kAnnTypedLength, {}};
    annGrid_->SetEditor(kPartitionColumn, twoDigits);
    annGrid_->SetEditor(kExtentColumn, twoDigits);
    const auto& ann = kRecords[0];
    for (int entry = 0; entry < kAnnEntries; ++entry) {
        annGrid_->Bind(entry, kPartitionColumn, kAnnPartition,
                       RecordOffset(ann, kAnnPartition, entry));
        annGrid_->Bind(entry, kExtentColumn, kAnnExtent, RecordOffset(ann, kAnnExtent, entry));
    }
    annGrid_->extraCheck = [this](int line, int column,
                                  FieldGrid::Moment) -> std::optional<std::string> {
        if (column != kExtentColumn) {
            return std::nullopt;
        }
        const int limit = AnnExtentLimit(annGrid_->Text(line, kPartitionColumn).toStdString());
        if (IntegerOfField(annGrid_->Text(line, column).toStdString()) > limit) {
            return FormatNumbers(fields::kRangeMessage, {0, limit});
        }
        return std::nullopt;
    };

    roamingGrid_.emplace(StrGrid_OPID_RoamingTable, person());
    const FieldGrid::Column roamingColumns[] = {{"", kAnnColumnWidth}, {"OPID", kAnnColumnWidth}};
    roamingGrid_->SetUp(kRoamingEntries, roamingColumns, 1);
    roamingGrid_->SetEditor(kOpidColumn, {FieldGrid::Editor::Kind::Digits, kOpidTypedLength, {}});
    for (int entry = 0; entry < kRoamingEntries; ++entry) {
        roamingGrid_->Bind(entry, kOpidColumn, kRoamingOpid,
                           RecordOffset(kRecords[1], kRoamingOpid, entry));
    }
}

void TForm_NWSYS_System::Connect() {
    for (QRadioButton* button : RadioButtonsOf(RadioGrp_SYS_NetworkType)) {
        connect(button, &QRadioButton::clicked, this, [this] { RadioGrp_SYS_NetworkTypeClick(); });
    }
    for (QRadioButton* button : RadioButtonsOf(RadioGrp_SYS_NetworkScheme)) {
        connect(button, &QRadioButton::clicked, this,
                [this] { RadioGrp_SYS_NetworkSchemeClick(); });
    }
    connect(&CBox_REG_RQREnabled, &QCheckBox::clicked, this,
            [this] { CBox_REG_RQREnabledClick(); });
    connect(&CBox_FSL_FallbackAllowed, &QCheckBox::clicked, this,
            [this] { CBox_FSL_FallbackAllowedClick(); });
    connect(&Btn_ANN_FillToEnd, &QPushButton::clicked, this, [this] { Btn_ANN_FillToEndClick(); });
    connect(&Combo_SYS_FrequencyBand, &QComboBox::activated, this,
            [this] { Combo_SYS_FrequencyBandChange(); });
    connect(&Page_NWSYS_Systems, &QTabWidget::currentChanged, this, [this](int page) {
        if (Page_NWSYS_Systems.widget(page) == &Tab_NWSYS_Next) {
            Tab_NWSYS_NextShow();
        }
    });
}

bool TForm_NWSYS_System::CheckRange(const QLineEdit& edit, const NumberRange& range) {
    return RangeCheck(edit.text().toStdString(), range.low, range.high, person());
}

void TForm_NWSYS_System::WatchEdits() {
    // The identity, SIL and fallback NDD ranges follow the network type; the other edits check
    // their rows.
    checks_.Watch(Edit_SYS_Identity, EditChecks::Keys::Digits, [this] {
        return CheckRange(Edit_SYS_Identity, IdentityRange(NationalChosen()));
    });
    checks_.Watch(Edit_SYS_LengthSIL, EditChecks::Keys::Digits,
                  [this] { return CheckRange(Edit_SYS_LengthSIL, SilRange(NationalChosen())); });
    checks_.Watch(Edit_FSL_FallbackNDD, EditChecks::Keys::Digits, [this] {
        return CheckRange(Edit_FSL_FallbackNDD, FallbackNddRange(NationalChosen()));
    });
    for (QWidget* control : binder_->Controls()) {
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit == nullptr || edit == &Edit_SYS_LengthSIL || edit == &Edit_FSL_FallbackNDD) {
            continue;
        }
        const auto keys = edit == &Edit_SYS_NetworkDescription ? EditChecks::Keys::Printable
                                                               : EditChecks::Keys::Digits;
        checks_.Watch(*edit, keys, [this, edit] { return binder_->CheckControl(edit, person()); });
    }
}

bool TForm_NWSYS_System::NationalChosen() const {
    const auto value = binder_->Value(&RadioGrp_SYS_NetworkType);
    return value && std::get<std::int64_t>(*value) == 1;
}

void TForm_NWSYS_System::SelectNetworkType(bool national) {
    binder_->Show(kNetworkType, std::int64_t{national ? 1 : 0});
}

void TForm_NWSYS_System::ShowBandTexts() {
    const auto bands = BandTable(state().CountryCode);
    for (int entry = 1; entry <= kBandCount && entry < Combo_SYS_FrequencyBand.count(); ++entry) {
        Combo_SYS_FrequencyBand.setItemText(
            entry, ToQString(bands[static_cast<std::size_t>(entry - 1)].text));
    }
}

void TForm_NWSYS_System::ShowPagesOfChoices() {
    const auto scheme = binder_->Value(&RadioGrp_SYS_NetworkScheme);
    Page_NWSYS_Systems.setTabVisible(Page_NWSYS_Systems.indexOf(&Tab_ANN_RCPMEP),
                                     scheme && std::get<std::int64_t>(*scheme) == kAnnScheme);
    Page_NWSYS_Systems.setTabVisible(Page_NWSYS_Systems.indexOf(&Tab_OPID_Roaming),
                                     !NationalChosen());
    const bool variableInfo = CBox_REG_RQREnabled.isChecked();
    Lbl_REG_RQRINFO.setEnabled(!variableInfo);
    Edit_REG_RQRINFO.setEnabled(!variableInfo);
    const bool fallback = CBox_FSL_FallbackAllowed.isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             &RadioGrp_FSL_FallbackType, &Lbl_FSL_FallbackChannel, &Edit_FSL_FallbackChannel,
             &Lbl_FSL_FallbackNDD, &Edit_FSL_FallbackNDD}) {
        control->setEnabled(fallback);
    }
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_NWSYS_System::LoadPass() {
    WriteNetworkMarker(Bytes(), Area());
    PrepareRoamingTable(Bytes(), Area());
    binder_->Load(kOffsets, Bytes(), Area());
    ShowBandTexts();
    const NetworkIdentity identity = ReadNetworkIdentity(Bytes(), Area());
    Edit_SYS_Identity.setText(QString::number(identity.identity));
    nationalShown_ = identity.national;
    annGrid_->Load(kOffsets, Bytes(), Area());
    roamingGrid_->Load(kOffsets, Bytes(), Area());
    Combo_SYS_FrequencyBandChange();
    ShowPagesOfChoices();
}

void TForm_NWSYS_System::StorePass() {
    binder_->Store(kOffsets, Bytes(), Area());
    WriteNetworkIdentity(
        Bytes(), Area(),
        {NationalChosen(),
         static_cast<int>(IntegerOfField(Edit_SYS_Identity.text().toStdString()))});
    annGrid_->Store(kOffsets, Bytes(), Area());
    bool roamingEdited = false;
    std::vector<std::string> opids;
    for (int entry = 0; entry < kRoamingEntries; ++entry) {
        roamingEdited = roamingEdited || roamingGrid_->Edited(entry, kOpidColumn);
        opids.push_back(roamingGrid_->Text(entry, kOpidColumn).toStdString());
    }
    // An untouched table keeps its entries where they are.
    if (roamingEdited) {
        StoreRoamingTable(Bytes(), Area(), opids);
    }
}

void TForm_NWSYS_System::ShowFirstPage() {
    const QSignalBlocker blocker(Page_NWSYS_Systems);
    Page_NWSYS_Systems.setCurrentWidget(&Tab_SYS_NetworkInfo);
}

bool TForm_NWSYS_System::CheckFocusedField() {
    for (FieldGrid* grid : {&*annGrid_, &*roamingGrid_}) {
        if (grid->HasFocus() && !grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return checks_.CheckFocused();
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_NWSYS_System::RadioGrp_SYS_NetworkTypeClick() {
    const bool national = NationalChosen();
    ShowPagesOfChoices();
    if (national == nationalShown_) {
        return;
    }
    if (person().Ask(kNetworkTypeQuestion) != Answer::Yes) {
        SelectNetworkType(nationalShown_);
        ShowPagesOfChoices();
        return;
    }
    nationalShown_ = national;
    for (QLineEdit* edit :
         {&Edit_SYS_Identity, &Edit_SYS_ZoneLength, &Edit_SYS_AreaLength, &Edit_SYS_LengthSIL}) {
        edit->setText("0");
    }
}

void TForm_NWSYS_System::RadioGrp_SYS_NetworkSchemeClick() {
    ShowPagesOfChoices();
}

void TForm_NWSYS_System::CBox_REG_RQREnabledClick() {
    ShowPagesOfChoices();
}

void TForm_NWSYS_System::CBox_FSL_FallbackAllowedClick() {
    ShowPagesOfChoices();
}

void TForm_NWSYS_System::Btn_ANN_FillToEndClick() {
    const int from = StrGrid_ANN_RCPMEPTable.currentRow();
    if (from < 0 || !annGrid_->CheckCurrentCell(FieldGrid::Moment::Move)) {
        return;
    }
    for (int line = from + 1; line < kAnnEntries; ++line) {
        for (int column : {kPartitionColumn, kExtentColumn}) {
            annGrid_->SetText(line, column, annGrid_->Text(from, column));
        }
    }
}

void TForm_NWSYS_System::Combo_SYS_FrequencyBandChange() {
    // The hunt channels check their frequencies against the band chosen here.
    const int entry = Combo_SYS_FrequencyBand.currentIndex();
    state().BandSelected = entry >= 0 && entry <= kBandCount ? entry : 0;
}

void TForm_NWSYS_System::Tab_NWSYS_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::ThresholdsTimers);
}

KM_REGISTER_FORM(FormId::NetworkSystem, TForm_NWSYS_System);

}  // namespace km
