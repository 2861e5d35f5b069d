#include "forms/trunk/NwoForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"
#include "fields/Rows.h"
#include "tables/Tables.h"

namespace km {
namespace {

using namespace nwo_rows;

constexpr int kPriorityColumn = 1;
constexpr int kLengthColumn = 2;
constexpr int kDataColumn = 3;
constexpr std::int64_t kLargestHomeZone = 511;
constexpr int kDatumDigits = 3;

enum Page { kPageAcquisition, kPageNetworkData, kPageFleetAccess, kPageNext };

std::string Text(const QLineEdit& edit) {
    return edit.text().toStdString();
}

const fields::FieldRow& Column(std::string_view id) {
    return fields::RowById(kPreferenceColumns, id);
}

}  // namespace

TForm_NWO_NetworkOptions::TForm_NWO_NetworkOptions(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(ToQString(kFormCaption));
    setObjectName("TForm_NWO_NetworkOptions");
    NameAcquisitionEntries();
    BuildLayout();
    binder_.emplace(*this, kRows);
    BuildGrid();
    WatchEdits();
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        connect(&Combo_ACQ_Type[e], &QComboBox::activated, this,
                [this, e] { Combo_ACQ_TypeChange(e); });
        Combo_ACQ_Type[e].installEventFilter(this);
    }
    Combo_NDD_MobileControlCategory.installEventFilter(this);
    connect(&Btn_ACQ_Defaults, &QPushButton::clicked, this, [this] { Btn_ACQ_DefaultsClick(); });
    connect(&Btn_NDD_Defaults, &QPushButton::clicked, this, [this] { Btn_NDD_DefaultsClick(); });
    connect(&Page_NWO_NetworkOptions, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kPageNext) {
            Tab_NWO_NextShow();
        }
    });
}

void TForm_NWO_NetworkOptions::NameAcquisitionEntries() {
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        Combo_ACQ_Type[e].setObjectName(QStringLiteral("Combo_ACQ_Type%1").arg(e + 1));
        Edit_ACQ_Data[e].setObjectName(QStringLiteral("Edit_ACQ_Data%1").arg(e + 1));
    }
}

void TForm_NWO_NetworkOptions::BuildLayout() {
    auto* entries = new QGridLayout;
    entries->addWidget(new QLabel("Entry", &Tab_ACQ_Aquisition), 0, 0);
    entries->addWidget(new QLabel(ToQString(kAcquisitionColumns[0].caption), &Tab_ACQ_Aquisition),
                       0, 1);
    entries->addWidget(new QLabel(ToQString(kAcquisitionColumns[1].caption), &Tab_ACQ_Aquisition),
                       0, 2);
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        const int line = static_cast<int>(e) + 1;
        entries->addWidget(new QLabel(QString::number(line), &Tab_ACQ_Aquisition), line, 0);
        for (const fields::Choice& choice : kTypeChoices) {
            Combo_ACQ_Type[e].addItem(ToQString(choice.text),
                                      QVariant::fromValue<qlonglong>(choice.code));
        }
        entries->addWidget(&Combo_ACQ_Type[e], line, 1);
        Edit_ACQ_Data[e].setMaxLength(kDatumDigits);
        Edit_ACQ_Data[e].setFixedWidth(Edit_ACQ_Data[e].fontMetrics().horizontalAdvance("000000") +
                                       8);
        entries->addWidget(&Edit_ACQ_Data[e], line, 2);
    }
    Btn_ACQ_Defaults.setText("Defaults");
    auto* acquisition = new QHBoxLayout(&Tab_ACQ_Aquisition);
    auto* entryColumn = new QVBoxLayout;
    entryColumn->addLayout(entries);
    entryColumn->addStretch(1);
    acquisition->addLayout(entryColumn);
    acquisition->addSpacing(24);
    acquisition->addWidget(&Btn_ACQ_Defaults, 0, Qt::AlignTop);
    acquisition->addStretch(1);

    Edit_NDD_HomeZone.setMaxLength(kDatumDigits);
    Edit_NDD_AbbrDialMaxLimit.setMaxLength(2);
    for (QLineEdit* edit : {&Edit_NDD_HomeZone, &Edit_NDD_AbbrDialMaxLimit}) {
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("000000") + 8);
    }
    auto* fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(ToQString(kRows[0].caption), &Edit_NDD_HomeZone);
    fields->addRow(ToQString(kRows[1].caption), &Combo_NDD_MobileControlCategory);
    fields->addRow(ToQString(kRows[2].caption), &Edit_NDD_AbbrDialMaxLimit);
    Btn_NDD_Defaults.setText("Defaults");
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(new QLabel("Preference Data", &Tab_NDD_NetworkData));
    gridColumn->addWidget(&StrGrid_NDD_NDDPrefData);
    gridColumn->addStretch(1);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addLayout(fields);
    fieldColumn->addWidget(&Btn_NDD_Defaults, 0, Qt::AlignLeft);
    fieldColumn->addStretch(1);
    auto* networkData = new QHBoxLayout(&Tab_NDD_NetworkData);
    networkData->addLayout(fieldColumn);
    networkData->addSpacing(24);
    networkData->addLayout(gridColumn);
    networkData->addStretch(1);

    Page_NWO_NetworkOptions.addTab(&Tab_ACQ_Aquisition, ToQString(kTabAcquisition));
    Page_NWO_NetworkOptions.addTab(&Tab_NDD_NetworkData, ToQString(kTabNetworkData));
    Page_NWO_NetworkOptions.addTab(&Tab_FA_FleetAccess, ToQString(kTabFleetAccess));
    Page_NWO_NetworkOptions.addTab(&Tab_NWO_Next, ToQString(kTabNext));
    // The fleet access page keeps its place among the pages but is never shown.
    Page_NWO_NetworkOptions.setTabVisible(kPageFleetAccess, false);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&Page_NWO_NetworkOptions);
}

void TForm_NWO_NetworkOptions::BuildGrid() {
    using Kind = FieldGrid::Editor::Kind;
    preferences_.emplace(StrGrid_NDD_NDDPrefData, person());
    const FieldGrid::Column columns[] = {
        {"Entry", 50}, {"Priority", 50}, {"Length", 50}, {"Data", 50}};
    preferences_->SetUp(static_cast<int>(kPreferenceEntries), columns);
    preferences_->SetEditor(kPriorityColumn, {Kind::Digits, 2, {}});
    preferences_->SetEditor(kLengthColumn, {Kind::Digits, 2, {}});
    preferences_->SetEditor(kDataColumn, {Kind::Digits, 3, {}});
    preferences_->extraCheck = [this](int line, int column, FieldGrid::Moment) {
        return PreferenceMessage(line, column);
    };
}

std::optional<std::string> TForm_NWO_NetworkOptions::PreferenceMessage(int line, int column) const {
    const std::string text = preferences_->Text(line, column).toStdString();
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t high = 0;
    switch (column) {
        case kPriorityColumn:
            high = Column("priority").max;
            break;
        case kLengthColumn:
            high = Column("length").max;
            break;
        default:
            high = LargestPreferenceData(preferences_->Text(line, kLengthColumn).toStdString());
            break;
    }
    const std::int64_t value = IntegerOfField(text);
    if (value >= 0 && value <= high) {
        return std::nullopt;
    }
    return FormatNumbers(fields::kRangeMessage, {0, high});
}

void TForm_NWO_NetworkOptions::WatchEdits() {
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        checks_.Watch(Edit_ACQ_Data[e], EditChecks::Keys::Digits, [this, e] {
            const auto type = Combo_ACQ_Type[e].currentData().toLongLong();
            return RangeCheck(Text(Edit_ACQ_Data[e]), 0,
                              LargestDatum(static_cast<int>(type), lengths_), person());
        });
    }
    checks_.Watch(Edit_NDD_HomeZone, EditChecks::Keys::Digits, [this] {
        return RangeCheck(Text(Edit_NDD_HomeZone), 0, kLargestHomeZone, person());
    });
    checks_.Watch(Edit_NDD_AbbrDialMaxLimit, EditChecks::Keys::Digits,
                  [this] { return binder_->CheckControl(&Edit_NDD_AbbrDialMaxLimit, person()); });
}

bool TForm_NWO_NetworkOptions::eventFilter(QObject* watched, QEvent* event) {
    return MoveOnAtEnter(*event) || ConfigForm::eventFilter(watched, event);
}

std::size_t TForm_NWO_NetworkOptions::Slot() const {
    return tables::AreaStart(fields::Area::NetworkSlot, fields::ImageId::Trunk,
                             state().NetworkSelector)
        .value_or(trunk::SlotStart(0));
}

NetworkOptionTexts TForm_NWO_NetworkOptions::Shown() const {
    NetworkOptionTexts texts;
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        texts.acquisition[e] = {Combo_ACQ_Type[e].currentData().toLongLong(),
                                Text(Edit_ACQ_Data[e])};
    }
    texts.homeZone = Text(Edit_NDD_HomeZone);
    for (std::size_t p = 0; p < kPreferenceEntries; ++p) {
        const int line = static_cast<int>(p);
        texts.preferences[p] = {preferences_->Text(line, kPriorityColumn).toStdString(),
                                preferences_->Text(line, kLengthColumn).toStdString(),
                                preferences_->Text(line, kDataColumn).toStdString()};
    }
    return texts;
}

void TForm_NWO_NetworkOptions::Show(const NetworkOptionTexts& texts, bool asLoaded) {
    for (std::size_t e = 0; e < kAcquisitionEntries; ++e) {
        const QSignalBlocker blocker(Combo_ACQ_Type[e]);
        Combo_ACQ_Type[e].setCurrentIndex(
            Combo_ACQ_Type[e].findData(QVariant::fromValue<qlonglong>(texts.acquisition[e].type)));
        Edit_ACQ_Data[e].setText(ToQString(texts.acquisition[e].data));
    }
    Edit_NDD_HomeZone.setText(ToQString(texts.homeZone));
    for (std::size_t p = 0; p < kPreferenceEntries; ++p) {
        const int line = static_cast<int>(p);
        const PreferenceEntry& entry = texts.preferences[p];
        const std::pair<int, const std::string*> cells[] = {{kPriorityColumn, &entry.priority},
                                                            {kLengthColumn, &entry.length},
                                                            {kDataColumn, &entry.data}};
        for (const auto& [column, text] : cells) {
            if (asLoaded) {
                preferences_->ShowLoaded(line, column, ToQString(*text));
            } else {
                preferences_->SetText(line, column, ToQString(*text));
            }
        }
    }
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_NWO_NetworkOptions::LoadPass() {
    const TrunkJobImage& image = workspace().trunk;
    lengths_ = ZoneAreaLengthsOfSlot(image, state().NetworkSelector);
    binder_->Load(fields::ImageId::Trunk, workspace().trunk.Bytes(), Slot());
    loaded_ = LoadNetworkOptionTexts(image, state().NetworkSelector);
    Show(loaded_, true);
}

void TForm_NWO_NetworkOptions::StorePass() {
    binder_->Store(fields::ImageId::Trunk, workspace().trunk.Bytes(), Slot());
    StoreNetworkOptionTexts(workspace().trunk, state().NetworkSelector, Shown(), &loaded_);
}

void TForm_NWO_NetworkOptions::ShowFirstPage() {
    const QSignalBlocker blocker(Page_NWO_NetworkOptions);
    Page_NWO_NetworkOptions.setCurrentIndex(kPageAcquisition);
}

bool TForm_NWO_NetworkOptions::CheckFocusedField() {
    if (preferences_->HasFocus() && !preferences_->CheckCurrentCell(FieldGrid::Moment::Move)) {
        return false;
    }
    return checks_.CheckFocused();
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_NWO_NetworkOptions::Combo_ACQ_TypeChange(std::size_t entry) {
    Edit_ACQ_Data.at(entry).setText("0");
}

void TForm_NWO_NetworkOptions::Btn_ACQ_DefaultsClick() {
    NetworkOptionTexts texts = Shown();
    AcquisitionDefaults(texts);
    Show(texts, false);
}

void TForm_NWO_NetworkOptions::Btn_NDD_DefaultsClick() {
    NetworkOptionTexts texts = Shown();
    NetworkDataDefaults(texts);
    Show(texts, false);
    for (const fields::FieldRow& row : kRows) {
        if (!row.control.empty()) {
            binder_->Show(row, fields::DefaultValue(row));
        }
    }
}

void TForm_NWO_NetworkOptions::Tab_NWO_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::TextStrings);
}

KM_REGISTER_FORM(FormId::NetworkOptions, TForm_NWO_NetworkOptions);

}  // namespace km
