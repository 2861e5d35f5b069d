#include "forms/network/TimForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/FieldRoutines.h"

namespace km {
namespace {

using namespace timer_rows;

constexpr const char* kFormCaption = "Thresholds and Timers";
// The unit groups, in the order of DurationUnit.
constexpr std::array<const char*, 3> kUnitTexts = {"Seconds (10 - 254)", "Minutes   (5 - 13)",
                                                   "No Limit"};
constexpr std::array<const char*, kDurationCount> kDurationTitles = {
    "Speech Call Time Limit (CLIM)", "Emergency Call Limit (CLIME)", "Data Call Duration (TU)"};
constexpr const char* kDefaultsCaption = "Defaults";

constexpr int kTimerNameWidth = 270;
constexpr int kTimeWidth = 80;
constexpr int kErrorNameWidth = 300;
constexpr int kErrorValueWidth = 100;
constexpr int kValueColumn = 1;

QList<QRadioButton*> RadioButtonsOf(const QGroupBox& group) {
    return group.findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

std::size_t Offset(const fields::FieldRow& row) {
    return static_cast<std::size_t>(row.at.network);
}

}  // namespace

TForm_NWTIM_ThresholdAndTimers::TForm_NWTIM_ThresholdAndTimers(const FormContext& context,
                                                               QWidget* parent)
    : NetworkFileForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(kFormCaption);
    setObjectName("TForm_NWTIM_ThresholdAndTimers");
    BuildLayout();
    binder_.emplace(*this, kRows);
    BuildGrids();
    WatchEdits();
    connect(&Btn_ERR_DefaultTimers, &QPushButton::clicked, this,
            [this] { Btn_ERR_DefaultTimersClick(); });
    connect(&Page_NWTIM_ThresholdAndTimers, &QTabWidget::currentChanged, this, [this](int page) {
        if (Page_NWTIM_ThresholdAndTimers.widget(page) == &Tab_NWTIM_Next) {
            Tab_NWTIM_NextShow();
        }
    });
}

std::array<TForm_NWTIM_ThresholdAndTimers::DurationControls, kDurationCount>
TForm_NWTIM_ThresholdAndTimers::Durations() {
    return {{{&RadioGrp_CAL_CallUnits, &Edit_CAL_CallTime},
             {&RadioGrp_CAL_EmergUnits, &Edit_CAL_EmergTime},
             {&RadioGrp_CAL_DataUnits, &Edit_CAL_DataTime}}};
}

void TForm_NWTIM_ThresholdAndTimers::BuildLayout() {
    // Call Durations: a unit group and its edit for each limit, and the TSCLIM control.
    auto* durations = new QGridLayout(&Tab_CAL_CallDurations);
    int duration = 0;
    for (const DurationControls& controls : Durations()) {
        controls.units->setTitle(kDurationTitles[static_cast<std::size_t>(duration)]);
        auto* layout = new QHBoxLayout(controls.units);
        auto* buttons = new QVBoxLayout;
        for (const char* text : kUnitTexts) {
            auto* button = new QRadioButton(text, controls.units);
            buttons->addWidget(button);
            connect(button, &QRadioButton::clicked, this,
                    [this, duration] { RadioGrp_CAL_UnitsClick(duration); });
        }
        layout->addLayout(buttons);
        layout->addWidget(controls.edit, 0, Qt::AlignVCenter);
        controls.edit->setMaximumWidth(controls.edit->fontMetrics().horizontalAdvance("00000") +
                                       12);
        durations->addWidget(controls.units, duration, 0);
        ++duration;
    }
    RadioGrp_CAL_TSCLIMcontrol.setTitle(Caption(kRows[3]));
    durations->addWidget(&RadioGrp_CAL_TSCLIMcontrol, 0, 1, Qt::AlignTop);
    durations->setColumnStretch(2, 1);
    durations->setRowStretch(kDurationCount, 1);

    Btn_ERR_DefaultTimers.setText(kDefaultsCaption);
    auto* timers = new QHBoxLayout(&Tab_TIM_Timers);
    timers->addWidget(&StrGrid_TIM_Timers, 0, Qt::AlignTop);
    timers->addWidget(&Btn_ERR_DefaultTimers, 0, Qt::AlignTop);
    timers->addStretch(1);

    auto* limits = new QFormLayout;
    limits->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (QLineEdit* edit : {&Edit_ERR_NS, &Edit_ERR_NT}) {
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("00000") + 12);
    }
    limits->addRow(Caption(kRows[kFirstErrorLimit + 2 * kErrorLimitCount]), &Edit_ERR_NS);
    limits->addRow(Caption(kRows[kFirstErrorLimit + 2 * kErrorLimitCount + 1]), &Edit_ERR_NT);
    auto* errors = new QVBoxLayout(&Tab_ERR_ErrorRates);
    errors->addWidget(&StrGrid_ERR_ErrorRates, 0, Qt::AlignLeft);
    errors->addLayout(limits);
    errors->addStretch(1);

    Page_NWTIM_ThresholdAndTimers.addTab(&Tab_CAL_CallDurations, "Call Durations");
    Page_NWTIM_ThresholdAndTimers.addTab(&Tab_TIM_Timers, "Timers");
    Page_NWTIM_ThresholdAndTimers.addTab(&Tab_ERR_ErrorRates, "Error Limits");
    Page_NWTIM_ThresholdAndTimers.addTab(&Tab_NWTIM_Next, "Next Form -->");
    auto* page = new QVBoxLayout(this);
    page->addWidget(&Page_NWTIM_ThresholdAndTimers);
}

void TForm_NWTIM_ThresholdAndTimers::BuildGrids() {
    timers_.emplace(StrGrid_TIM_Timers, person());
    const FieldGrid::Column timerColumns[] = {{"", kTimerNameWidth}, {"Time", kTimeWidth}};
    timers_->SetUp(kTimerCount, timerColumns);
    for (int line = 0; line < kTimerCount; ++line) {
        const fields::FieldRow& row = kTimers[static_cast<std::size_t>(line)];
        timers_->SetName(line, Caption(row));
        timers_->SetCellEditor(line, kValueColumn,
                               {FieldGrid::Editor::Kind::Digits, TypedLength(row), {}});
        timers_->Bind(line, kValueColumn, row, Offset(row));
    }

    errors_.emplace(StrGrid_ERR_ErrorRates, person());
    const FieldGrid::Column errorColumns[] = {
        {"", kErrorNameWidth}, {"Continuous", kErrorValueWidth}, {"Time Shared", kErrorValueWidth}};
    errors_->SetUp(kErrorLimitCount, errorColumns);
    for (int line = 0; line < kErrorLimitCount; ++line) {
        errors_->SetName(line, ToQString(kErrorLimitNames[static_cast<std::size_t>(line)]));
        for (int column : {0, 1}) {
            const fields::FieldRow& row = ErrorLimitRow(line, column);
            errors_->SetCellEditor(line, column + 1,
                                   {FieldGrid::Editor::Kind::Digits, TypedLength(row), {}});
            errors_->Bind(line, column + 1, row, Offset(row));
        }
    }
}

void TForm_NWTIM_ThresholdAndTimers::WatchEdits() {
    int duration = 0;
    for (const DurationControls& controls : Durations()) {
        checks_.Watch(*controls.edit, EditChecks::Keys::Digits, [this, duration, controls] {
            const NumberRange range = DurationRange(UnitOf(duration));
            return RangeCheck(controls.edit->text().toStdString(), range.low, range.high, person());
        });
        ++duration;
    }
    for (QLineEdit* edit : {&Edit_ERR_NS, &Edit_ERR_NT}) {
        checks_.Watch(*edit, EditChecks::Keys::Digits,
                      [this, edit] { return binder_->CheckControl(edit, person()); });
    }
}

DurationUnit TForm_NWTIM_ThresholdAndTimers::UnitOf(int duration) {
    const auto buttons = RadioButtonsOf(*Durations()[static_cast<std::size_t>(duration)].units);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked()) {
            return static_cast<DurationUnit>(i);
        }
    }
    return DurationUnit::NoLimit;
}

void TForm_NWTIM_ThresholdAndTimers::ShowUnit(int duration, DurationUnit unit) {
    const DurationControls controls = Durations()[static_cast<std::size_t>(duration)];
    const auto buttons = RadioButtonsOf(*controls.units);
    buttons[static_cast<qsizetype>(unit)]->setChecked(true);
    // "No Limit" empties and disables the edit; the other units enable it.
    controls.edit->setEnabled(unit != DurationUnit::NoLimit);
    if (unit == DurationUnit::NoLimit) {
        controls.edit->clear();
    }
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_NWTIM_ThresholdAndTimers::LoadPass() {
    binder_->Load(kOffsets, Bytes(), Area());
    for (int duration = 0; duration < kDurationCount; ++duration) {
        const fields::FieldRow& row = kDurations[static_cast<std::size_t>(duration)];
        const auto word = static_cast<std::uint16_t>(
            std::get<std::int64_t>(fields::ReadField(row, Bytes(), Area() + Offset(row))));
        const CallDuration shown = DecodeCallDuration(word);
        ShowUnit(duration, shown.unit);
        if (shown.unit != DurationUnit::NoLimit) {
            Durations()[static_cast<std::size_t>(duration)].edit->setText(
                QString::number(shown.shown));
        }
    }
    timers_->Load(kOffsets, Bytes(), Area());
    errors_->Load(kOffsets, Bytes(), Area());
}

void TForm_NWTIM_ThresholdAndTimers::StorePass() {
    binder_->Store(kOffsets, Bytes(), Area());
    for (int duration = 0; duration < kDurationCount; ++duration) {
        const DurationUnit unit = UnitOf(duration);
        const QString text = Durations()[static_cast<std::size_t>(duration)].edit->text();
        // An emptied edit keeps the stored limit.
        if (unit != DurationUnit::NoLimit && text.isEmpty()) {
            continue;
        }
        const fields::FieldRow& row = kDurations[static_cast<std::size_t>(duration)];
        const CallDuration shown{unit, static_cast<int>(IntegerOfField(text.toStdString()))};
        fields::WriteField(row, Bytes(), Area() + Offset(row),
                           std::int64_t{EncodeCallDuration(shown)});
    }
    timers_->Store(kOffsets, Bytes(), Area());
    errors_->Store(kOffsets, Bytes(), Area());
}

void TForm_NWTIM_ThresholdAndTimers::ShowFirstPage() {
    const QSignalBlocker blocker(Page_NWTIM_ThresholdAndTimers);
    Page_NWTIM_ThresholdAndTimers.setCurrentWidget(&Tab_CAL_CallDurations);
}

bool TForm_NWTIM_ThresholdAndTimers::CheckFocusedField() {
    for (FieldGrid* grid : {&*timers_, &*errors_}) {
        if (grid->HasFocus() && !grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return checks_.CheckFocused();
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_NWTIM_ThresholdAndTimers::RadioGrp_CAL_UnitsClick(int duration) {
    ShowUnit(duration, UnitOf(duration));
}

void TForm_NWTIM_ThresholdAndTimers::Btn_ERR_DefaultTimersClick() {
    // Into the grid only: the next store writes them.
    for (int line = 0; line < kTimerCount; ++line) {
        const fields::FieldRow& row = kTimers[static_cast<std::size_t>(line)];
        timers_->SetText(line, kValueColumn,
                         ToQString(fields::FormatField(row, fields::DefaultValue(row))));
    }
}

void TForm_NWTIM_ThresholdAndTimers::Tab_NWTIM_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::HuntChannels);
}

KM_REGISTER_FORM(FormId::ThresholdsTimers, TForm_NWTIM_ThresholdAndTimers);

}  // namespace km
