#include "forms/ui/UiForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "Resources.h"
#include "config/FieldRoutines.h"
#include "config/IoDevices.h"
#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "config/UiLevels.h"
#include "forms/mobile/MobForm.h"
#include "forms/ui/IowForm.h"

namespace km {
namespace {

using fields::FieldRow;
using fields::ImageId;

constexpr const char* kFormCaption = "User Interface";
constexpr const char* kUserOptionsCaption = "User Options";
constexpr const char* kAudioCaption = "Audio";
constexpr const char* kVoxCaption = "Vox/Alm";
constexpr const char* kTrunkVoxCaption = "VOX / Alarm";
constexpr const char* kPmrVoxCaption = "VOX";
constexpr const char* kKeysCaption = "Keys";
constexpr const char* kMicKeysCaption = "Mic Keys";
constexpr const char* kMenusCaption = "Menus";
constexpr const char* kCallTypesCaption = "Call Types";
constexpr const char* kIoCaption = "Input/Output";
constexpr const char* kMrsCaption = "MRS";
constexpr const char* kAudioLevelsCaption = "Audio Levels";
constexpr const char* kNextCaption = "Next Form -->";
constexpr const char* kSimplePmrCaption = "Power-On in Simple PMR";
constexpr const char* kExtAlertAtPowerOnCaption = "External Alert at Power-On";
constexpr const char* kDefaultsCaption = "Defaults";
constexpr const char* kNoDeviceLabel = " ";
constexpr const char* kInputText = "Input";
constexpr const char* kOutputText = "Output";
constexpr const char* kHighText = "High";
constexpr const char* kLowText = "Low";
constexpr const char* kNoDialValue = "";

// The input/output grid: its columns and the names of its lines.
constexpr int kDirectionColumn = 1;
constexpr int kFunctionColumn = 2;
constexpr int kActiveColumn = 3;
constexpr int kDebounceColumn = 4;
constexpr int kDebounceDigits = 5;
const FieldGrid::Column kIoColumns[] = {
    {" ", 90}, {"Input/Output", 58}, {"Function", 108}, {"Active", 48}, {"Dbnce(mS)", 60}};
const char* const kIoLineNames[] = {"Input0   DB15-7", "Output0  DB15-8", "Line 1", "Line 2",
                                    "Line 3",          "Line 4",          "Line 5", "Line 6",
                                    "Line 7",          "Line 8"};

constexpr int kValueColumn = 1;

// The rows of every table whose control names a caption.
const std::span<const FieldRow> kCaptionedRows[] = {ui_rows::kRows, key_rows::kRows, io_rows::kRows,
                                                    level_rows::kRows};

QString CaptionOf(std::string_view control) {
    for (std::span<const FieldRow> rows : kCaptionedRows) {
        for (const FieldRow& row : rows) {
            if (row.control == control) {
                return ToQString(row.caption);
            }
        }
    }
    return ToQString(control);
}

QString CaptionOf(const FieldRow& row) {
    return ToQString(row.caption);
}

std::size_t At(const FieldRow& row, ImageId image) {
    return static_cast<std::size_t>(row.at.Of(image));
}

std::int64_t NumberOf(const fields::FieldValue& value, std::int64_t otherwise = 0) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : otherwise;
}

std::int64_t ReadNumber(const FieldRow& row, ImageId image, std::span<const std::uint8_t> bytes) {
    return NumberOf(fields::ReadField(row, bytes, At(row, image)));
}

// Selects the item of a list whose data is `code`, as the binder does, unless `fallBack` asks
// for the first item in place of a code the list does not have (a head that does not offer the
// function).
void SelectCode(QComboBox& combo, const FieldRow& row, std::int64_t code, bool fallBack) {
    if (fallBack && combo.findData(QVariant::fromValue<qlonglong>(code)) < 0) {
        const QSignalBlocker blocker(combo);
        combo.setCurrentIndex(0);
        return;
    }
    km::SelectCode(combo, code, ToQString(fields::FormatField(row, code)));
}

std::int64_t CodeOf(const QComboBox& combo, std::int64_t otherwise) {
    return combo.currentIndex() < 0 ? otherwise : combo.currentData().toLongLong();
}

// Fills a list with the functions a head offers (their names, their codes as data, the radio's
// short text as a hint); `lowByte` keeps only the low byte of each code.
void FillFunctions(QComboBox& combo, const std::vector<const FunctionEntry*>& offered,
                   bool lowByte = false) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const FunctionEntry* entry : offered) {
        combo.addItem(ToQString(entry->name),
                      QVariant::fromValue<qlonglong>(lowByte ? entry->code & 0xFF : entry->code));
        combo.setItemData(combo.count() - 1, ToQString(entry->display), Qt::ToolTipRole);
    }
}

QStringList TextsOf(const std::vector<std::string_view>& texts) {
    QStringList list;
    for (std::string_view text : texts) {
        list << ToQString(text);
    }
    return list;
}

QStringList StepTexts(AudioLevel level) {
    QStringList list;
    for (const fields::Choice& step : LevelSteps(level)) {
        list << ToQString(step.text);
    }
    return list;
}

QString ButtonName(std::size_t button) {
    return QStringLiteral("F%1").arg(button + 1);
}

}  // namespace

TForm_UI_UserInterface::TForm_UI_UserInterface(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent) {
    setObjectName("TForm_UI_UserInterface");
    setWindowTitle(kFormCaption);
    new QVBoxLayout(this);
}

TForm_UI_UserInterface::~TForm_UI_UserInterface() {
    // Pages removed while the controls go must not look like a choice of the next form.
    if (controls_) {
        controls_->Page_UI_UserInterface.blockSignals(true);
    }
}

UiControls& TForm_UI_UserInterface::Controls() {
    if (!controls_) {
        Build();
    }
    return *controls_;
}

FieldGrid& TForm_UI_UserInterface::GridOf(const QTableWidget& table) {
    Controls();
    for (const Grid& grid : grids_) {
        if (grid.table == &table) {
            return *grid.grid;
        }
    }
    throw std::logic_error("no grid for the table");
}

// ---- Building --------------------------------------------------------------------------------

void TForm_UI_UserInterface::Build() {
    controls_ = std::make_unique<UiControls>();
    NameKeyControls();
    BuildUserOptions();
    BuildAudio();
    BuildVox();
    BuildKeys();
    BuildMicKeys();
    BuildMenus();
    BuildCallTypes();
    BuildInputOutput();
    BuildMrs();
    BuildAudioLevels();
    UiControls& c = *controls_;
    for (auto [tab, caption] : {std::pair{&c.Tab_UO_UserOptions, kUserOptionsCaption},
                                {&c.Tab_AU_Audio, kAudioCaption},
                                {&c.Tab_VOX_VoxAlarm, kVoxCaption},
                                {&c.Tab_KEY_Keys, kKeysCaption},
                                {&c.Tab_KEY2_MicKeys, kMicKeysCaption},
                                {&c.Tab_MNU_Menus, kMenusCaption},
                                {&c.Tab_CT_CallTypes, kCallTypesCaption},
                                {&c.Tab_IO_InputOutput, kIoCaption},
                                {&c.Tab_MRS_Mrs, kMrsCaption},
                                {&c.Tab_GPIF_AudioLevels, kAudioLevelsCaption},
                                {&c.Tab_UI_Next, kNextCaption}}) {
        c.Page_UI_UserInterface.addTab(tab, caption);
    }
    layout()->addWidget(&c.Page_UI_UserInterface);
    // The binders come after the names: they find their controls by name.
    binders_.reserve(4);
    for (const fields::FieldTable* table :
         {&ui_rows::kTable, &key_rows::kTable, &io_rows::kTable, &level_rows::kTable}) {
        binders_.emplace_back(*this, table->rows);
    }
    editChecks_ = std::make_unique<EditChecks>(*this, person());
    WatchEdits();
    Connect();
}

void TForm_UI_UserInterface::NameKeyControls() {
    UiControls& c = *controls_;
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        const bool micKey = b >= 7;
        const QString n = QString::number(b + 1);
        c.ButtonCaptions[b].setObjectName((micKey ? "Lbl_KEY2_FB" : "Lbl_KEY_FB") + n);
        c.ButtonFunctions[b].setObjectName((micKey ? "ComboBox_KEY2_FB" : "ComboBox_KEY_FB") + n);
        c.ButtonLabels[b].setObjectName("Edit_KEY_FB" + n + "Name");
        c.ButtonCaptions[b].setText(ButtonName(b));
    }
    for (std::size_t p = 0; p < kDialPositions; ++p) {
        c.DialValues[p].setObjectName(QStringLiteral("ComboBox_KEY_D%1Value").arg(p + 1));
    }
}

// A caption beside a control; SetShown shows and hides both.
QWidget* TForm_UI_UserInterface::Labelled(QWidget& control, const QString& caption) {
    auto* label = new QLabel(caption);
    label->setBuddy(&control);
    captions_.emplace_back(&control, label);
    return label;
}

void TForm_UI_UserInterface::BuildUserOptions() {
    UiControls& c = *controls_;
    c.CBox_UO_SimplePMR.setText(kSimplePmrCaption);
    c.CBox_UO_ExtAlertAtPowerOn.setText(kExtAlertAtPowerOnCaption);
    c.CBox_UO_ExtAlertAtPowerOn.setVisible(false);
    c.CBox_UO_MemoryKey.setEnabled(false);
    for (const fields::Choice& choice : ui_rows::kPowerOnChoices) {
        if (choice.code != ui_rows::kPowerOnSimplePmr) {
            c.CB_UO_PowerOnMode.addItem(ToQString(choice.text),
                                        QVariant::fromValue<qlonglong>(choice.code));
        }
    }
    auto* fields = new QFormLayout;
    fields->addRow(Labelled(c.CB_UO_PowerOnMode, CaptionOf(ui_rows::kPowerOnMode)),
                   &c.CB_UO_PowerOnMode);
    fields->addRow(QString(), &c.CBox_UO_SimplePMR);
    for (QLineEdit* edit :
         {&c.Edit_UO_UserPassword, &c.Edit_UO_BacklightTime, &c.Edit_UO_PowerDownTime,
          &c.Edit_UO_MenuTimeout, &c.Edit_UO_MessageTimeout, &c.Edit_UO_WelcomeText}) {
        fields->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
        edit->setMaximumWidth(160);
    }
    auto* options = new QVBoxLayout;
    for (QCheckBox* box :
         {&c.CBox_UO_LowPowerOverride, &c.CBox_UO_MemoryKey, &c.CBox_UO_SidePttWithRemote,
          &c.CBox_UO_NoKeypadDialling, &c.CBox_UO_CallTimerDisplay, &c.CBox_UO_PermanentPower,
          &c.CBox_UO_Autolock, &c.CBox_UO_AllowSideKeys, &c.CBox_UO_ExtAlertAtPowerOn}) {
        box->setText(CaptionOf(box->objectName().toStdString()));
        options->addWidget(box);
    }
    options->addStretch(1);
    auto* page = new QHBoxLayout(&c.Tab_UO_UserOptions);
    page->addLayout(fields);
    page->addSpacing(32);
    page->addLayout(options);
    page->addStretch(1);
    fields->setAlignment(Qt::AlignTop);
}

void TForm_UI_UserInterface::BuildAudio() {
    UiControls& c = *controls_;
    auto* beeps = new QVBoxLayout;
    for (QCheckBox* box :
         {&c.CBox_AU_KeyBeepsEnabled, &c.CBox_AU_ServiceBeeps, &c.CBox_AU_InvalidKeyBeeps,
          &c.CBox_AU_BatteryLowAlert, &c.CBox_AU_DefCradleMute, &c.CBox_AU_SaveScramblerState,
          &c.CBox_AU_TelemetryOutput, &c.CBox_AU_EightOhmSpeaker}) {
        box->setText(CaptionOf(box->objectName().toStdString()));
        beeps->addWidget(box);
    }
    beeps->addStretch(1);

    c.GBox_AU_Volumes.setTitle("Volumes");
    auto* volumes = new QFormLayout(&c.GBox_AU_Volumes);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.Edit_AU_MaxVolume, &c.Edit_AU_MinVolume, &c.Edit_AU_MaxAlertVolume,
             &c.Edit_AU_MinAlertVolume, &c.Combo_AU_AlertOffset, &c.Edit_AU_DataVolume}) {
        volumes->addRow(Labelled(*control, CaptionOf(control->objectName().toStdString())),
                        control);
        control->setMaximumWidth(80);
    }

    c.RGrp_AU_ExtAlertPC.setTitle(CaptionOf(ui_rows::kExternalAlert));
    auto* alertLayout = new QVBoxLayout(&c.RGrp_AU_ExtAlertPC);
    for (const fields::Choice& choice : ui_rows::kExtAlertChoices) {
        alertLayout->addWidget(new QRadioButton(ToQString(choice.text), &c.RGrp_AU_ExtAlertPC));
    }
    auto* times = new QFormLayout;
    for (QLineEdit* edit : {&c.Edit_AU_ExtAlertDelay, &c.Edit_AU_ExtAlertDuration}) {
        times->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
        edit->setMaximumWidth(80);
    }
    alertLayout->addLayout(times);

    c.GBox_AU_MuteLevels.setTitle("Mute Levels");
    auto* mutes = new QFormLayout(&c.GBox_AU_MuteLevels);
    for (QLineEdit* edit : {&c.Edit_AU_MinMute, &c.Edit_AU_MaxMute, &c.Edit_AU_DefaultMute}) {
        mutes->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
        edit->setMaximumWidth(80);
    }
    c.GBox_AU_AudioDataPipe.setTitle("Audio Data Pipe");
    auto* pipe = new QVBoxLayout(&c.GBox_AU_AudioDataPipe);
    for (QCheckBox* box :
         {&c.CBox_AU_PhaseInvertTx, &c.CBox_AU_PhaseInvertRx, &c.CBox_AU_RemoveCTCSS}) {
        box->setText(CaptionOf(box->objectName().toStdString()));
        pipe->addWidget(box);
    }

    auto* middle = new QVBoxLayout;
    middle->addWidget(&c.GBox_AU_Volumes);
    middle->addWidget(&c.GBox_AU_MuteLevels);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(&c.RGrp_AU_ExtAlertPC);
    right->addWidget(&c.GBox_AU_AudioDataPipe);
    right->addStretch(1);
    auto* page = new QHBoxLayout(&c.Tab_AU_Audio);
    page->addLayout(beeps);
    page->addLayout(middle);
    page->addLayout(right);
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildVox() {
    UiControls& c = *controls_;
    c.GBox_VOX_Vox.setTitle("VOX");
    auto* vox = new QFormLayout(&c.GBox_VOX_Vox);
    for (QCheckBox* box : {&c.CBox_VOX_VoxPttDefault, &c.CBox_VOX_VoxHandsfree,
                           &c.CBox_VOX_VoxAfterManPtt, &c.CBox_VOX_VoxWithHeadset}) {
        box->setText(CaptionOf(box->objectName().toStdString()));
        vox->addRow(box);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{&c.Combo_VOX_Sensitivity, &c.Edit_VOX_HangTime}) {
        vox->addRow(Labelled(*control, CaptionOf(control->objectName().toStdString())), control);
        control->setMaximumWidth(80);
    }
    c.Group_ALM_Options.setTitle("Alarm");
    auto* alarm = new QFormLayout(&c.Group_ALM_Options);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.Combo_ALM_Microphone, &c.Edit_ALM_Repeats, &c.Edit_ALM_RxTime, &c.Edit_ALM_TxTime,
             &c.Edit_ALM_AlarmDebounce, &c.Edit_ALM_SecondDialStr}) {
        alarm->addRow(Labelled(*control, CaptionOf(control->objectName().toStdString())), control);
    }
    c.CBox_ALM_ConfidenceBeep.setText(CaptionOf("CBox_ALM_ConfidenceBeep"));
    alarm->addRow(&c.CBox_ALM_ConfidenceBeep);
    auto* page = new QHBoxLayout(&c.Tab_VOX_VoxAlarm);
    for (QGroupBox* group : {&c.GBox_VOX_Vox, &c.Group_ALM_Options}) {
        auto* column = new QVBoxLayout;
        column->addWidget(group);
        column->addStretch(1);
        page->addLayout(column);
    }
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildKeys() {
    UiControls& c = *controls_;
    auto* buttons = new QGridLayout;
    buttons->addWidget(new QLabel("Button"), 0, 0);
    buttons->addWidget(new QLabel("Function"), 0, 1);
    buttons->addWidget(new QLabel("Label"), 0, 2);
    constexpr std::size_t kKeysTabButtons = 7;
    for (std::size_t b = 0; b < kKeysTabButtons; ++b) {
        const int line = static_cast<int>(b) + 1;
        buttons->addWidget(&c.ButtonCaptions[b], line, 0);
        buttons->addWidget(&c.ButtonFunctions[b], line, 1);
        buttons->addWidget(&c.ButtonLabels[b], line, 2);
    }
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        c.ButtonFunctions[b].setMinimumWidth(150);
        c.ButtonLabels[b].setMaximumWidth(90);
    }
    c.CBox_KEY_PTTCallRequest.setText(CaptionOf("CBox_KEY_PTTCallRequest"));
    buttons->addWidget(&c.CBox_KEY_PTTCallRequest, static_cast<int>(kKeysTabButtons) + 1, 0, 1, 3);
    buttons->setRowStretch(static_cast<int>(kKeysTabButtons) + 2, 1);

    c.GBox_KEY_SelectSwitch.setTitle("Select Switch");
    (new QVBoxLayout(&c.GBox_KEY_SelectSwitch))->addWidget(&c.ComboBox_KEY_SelectSwitch);
    c.GBox_KEY_DialSwitch.setTitle("Dial Switch");
    auto* dial = new QFormLayout(&c.GBox_KEY_DialSwitch);
    dial->addRow(Labelled(c.ComboBox_KEY_D1, "Use"), &c.ComboBox_KEY_D1);
    for (std::size_t p = 0; p < kDialPositions; ++p) {
        dial->addRow(Labelled(c.DialValues[p], QStringLiteral("Position %1").arg(p + 1)),
                     &c.DialValues[p]);
    }
    c.GBox_KEY_Toggle.setTitle("Toggle Display");
    auto* toggle = new QFormLayout(&c.GBox_KEY_Toggle);
    toggle->addRow(Labelled(c.Combo_KEY_TogFunction, CaptionOf(key_rows::kToggleFunction)),
                   &c.Combo_KEY_TogFunction);
    toggle->addRow(Labelled(c.Edit_KEY_ToggleText, CaptionOf("Edit_KEY_ToggleText")),
                   &c.Edit_KEY_ToggleText);

    auto* switches = new QVBoxLayout;
    switches->addWidget(&c.GBox_KEY_SelectSwitch);
    switches->addWidget(&c.GBox_KEY_DialSwitch);
    switches->addWidget(&c.GBox_KEY_Toggle);
    switches->addStretch(1);
    c.Image_UI_ControlUnit.setMinimumSize(200, 160);
    c.Image_UI_ControlUnit.setAlignment(Qt::AlignCenter);
    QSizePolicy pictureSize = c.Image_UI_ControlUnit.sizePolicy();
    pictureSize.setRetainSizeWhenHidden(true);
    c.Image_UI_ControlUnit.setSizePolicy(pictureSize);
    auto* page = new QHBoxLayout(&c.Tab_KEY_Keys);
    page->addLayout(buttons);
    page->addSpacing(16);
    page->addLayout(switches);
    page->addStretch(1);
    page->addWidget(&c.Image_UI_ControlUnit, 0, Qt::AlignTop);
}

void TForm_UI_UserInterface::BuildMicKeys() {
    UiControls& c = *controls_;
    c.GBox_KEY2_MicButtons.setTitle("Microphone Function Buttons");
    auto* buttons = new QGridLayout(&c.GBox_KEY2_MicButtons);
    for (std::size_t b = 7; b < kButtonCount; ++b) {
        const int line = static_cast<int>(b) - 7;
        buttons->addWidget(&c.ButtonCaptions[b], line, 0);
        buttons->addWidget(&c.ButtonFunctions[b], line, 1);
        buttons->addWidget(&c.ButtonLabels[b], line, 2);
    }
    c.GBox_KEY2_GPS.setTitle("GPS Receiver");
    auto* gps = new QFormLayout(&c.GBox_KEY2_GPS);
    for (QLineEdit* edit : {&c.Edit_KEY2_CFST, &c.Edit_KEY2_CFIT, &c.Edit_KEY2_WFOT,
                            &c.Edit_KEY2_WFIT, &c.Edit_KEY2_PFOT}) {
        gps->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
        edit->setMaximumWidth(80);
    }
    c.CBox_KEY2_GPSBeep.setText(CaptionOf("CBox_KEY2_GPSBeep"));
    gps->addRow(&c.CBox_KEY2_GPSBeep);
    c.GBox_KEY2_ManDown.setTitle("Man-Down");
    auto* manDown = new QFormLayout(&c.GBox_KEY2_ManDown);
    for (QLineEdit* edit : {&c.Edit_KEY2_TiltDelay, &c.Edit_KEY2_AlertDelay}) {
        manDown->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
        edit->setMaximumWidth(80);
    }
    manDown->addRow(Labelled(c.ComboBox_KEY2_MDAlertFunction,
                             CaptionOf(key_rows::ManDownRowOf(ImageId::Trunk))),
                    &c.ComboBox_KEY2_MDAlertFunction);
    auto* left = new QVBoxLayout;
    left->addWidget(&c.GBox_KEY2_MicButtons);
    left->addWidget(&c.GBox_KEY2_ManDown);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(&c.GBox_KEY2_GPS);
    right->addStretch(1);
    auto* page = new QHBoxLayout(&c.Tab_KEY2_MicKeys);
    page->addLayout(left);
    page->addLayout(right);
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildMenus() {
    UiControls& c = *controls_;
    const FieldRow& entry = key_rows::kMenuColumns[0];
    auto* page = new QHBoxLayout(&c.Tab_MNU_Menus);
    for (const auto& [table, records, title] :
         {std::tuple{&c.StrGrid_MNU_MainMenu, &key_rows::kMainMenuRecords, "Main Menu"},
          std::tuple{&c.StrGrid_MNU_SetupMenu, &key_rows::kSetupMenuRecords, "Setup Menu"}}) {
        auto grid = std::make_unique<FieldGrid>(*table, person());
        const FieldGrid::Column columns[] = {{" ", 30}, {title, 130}};
        grid->SetUp(static_cast<int>(records->capacity), columns);
        for (int line = 0; line < static_cast<int>(records->capacity); ++line) {
            grid->BindRecord(line, kValueColumn, *records, line, entry);
        }
        grids_.push_back({table, std::move(grid)});
        page->addWidget(table, 0, Qt::AlignTop);
    }
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildCallTypes() {
    UiControls& c = *controls_;
    using namespace call_type_rows;
    auto grid = std::make_unique<FieldGrid>(c.StrGrid_CT_CallTypes, person());
    const FieldGrid::Column columns[] = {{" ", 30},
                                         {ToQString(kDialColumns[0].caption), 90},
                                         {ToQString(kNameColumns[0].caption), 120}};
    grid->SetUp(static_cast<int>(kCallTypes), columns);
    grid->SetEditor(1, {FieldGrid::Editor::Kind::Dial, static_cast<int>(kDialColumns[0].max)});
    grid->SetEditor(2, {FieldGrid::Editor::Kind::Text, kNameColumns[0].width});
    for (int line = 0; line < static_cast<int>(kCallTypes); ++line) {
        grid->BindRecord(line, 1, kDials, line, kDialColumns[0]);
        grid->BindRecord(line, 2, kNames, line, kNameColumns[0]);
    }
    grids_.push_back({&c.StrGrid_CT_CallTypes, std::move(grid)});
    c.Btn_CT_Defaults.setText(kDefaultsCaption);
    auto* column = new QVBoxLayout;
    column->addWidget(&c.StrGrid_CT_CallTypes);
    column->addWidget(&c.Btn_CT_Defaults, 0, Qt::AlignLeft);
    column->addStretch(1);
    auto* page = new QHBoxLayout(&c.Tab_CT_CallTypes);
    page->addLayout(column);
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildInputOutput() {
    UiControls& c = *controls_;
    auto* board = new QFormLayout;
    board->addRow(Labelled(c.Combo_IO_OptionBoardMode, CaptionOf("Combo_IO_OptionBoardMode")),
                  &c.Combo_IO_OptionBoardMode);
    board->addRow(QString(), &c.Lbl_IO_OptionBoard);
    for (QComboBox* combo : {&c.Combo_IO_SerialADataRate, &c.Combo_IO_Protocol,
                             &c.Combo_IO_SerialBDataRate, &c.Combo_IO_RxAudioGating}) {
        board->addRow(Labelled(*combo, CaptionOf(combo->objectName().toStdString())), combo);
    }
    auto grid = std::make_unique<FieldGrid>(c.StrGrid_IO_OptionBoard, person());
    grid->SetUp(static_cast<int>(io_rows::kLineCount), kIoColumns);
    for (int line = 0; line < static_cast<int>(io_rows::kLineCount); ++line) {
        grid->SetName(line, kIoLineNames[line]);
        grid->SetCellEditor(line, kActiveColumn,
                            {FieldGrid::Editor::Kind::List, 0, {kHighText, kLowText}});
        // The two lines of the accessory connector keep their direction.
        if (line > static_cast<int>(kOutputOnlyLine)) {
            grid->SetCellEditor(line, kDirectionColumn,
                                {FieldGrid::Editor::Kind::List, 0, {kInputText, kOutputText}});
        }
        grid->BindRecord(line, kDebounceColumn, io_rows::kLines, line, io_rows::kLineDebounce);
    }
    grids_.push_back({&c.StrGrid_IO_OptionBoard, std::move(grid)});
    // Typing into the cells the lines do not let one change warns.
    c.StrGrid_IO_OptionBoard.installEventFilter(this);
    auto* column = new QVBoxLayout;
    column->addLayout(board);
    column->addWidget(&c.StrGrid_IO_OptionBoard);
    column->addWidget(&c.Lbl_IO_InputDevice);
    column->addStretch(1);
    auto* page = new QHBoxLayout(&c.Tab_IO_InputOutput);
    page->addLayout(column);
    page->addStretch(1);
}

void TForm_UI_UserInterface::BuildMrs() {
    UiControls& c = *controls_;
    auto* fields = new QFormLayout(&c.Tab_MRS_Mrs);
    for (QLineEdit* edit :
         {&c.Edit_MRS_EncodeLODTime, &c.Edit_MRS_EncodeLETTime, &c.Edit_MRS_PrimaryRptrChan,
          &c.Edit_MRS_SecondaryRptrChan, &c.Edit_MRS_CloneTime, &c.Edit_MRS_RptrActiveTime,
          &c.Edit_MRS_HeartbeatPeriod, &c.Edit_MRS_PowerDownTime, &c.Edit_MRS_ReactivationTime}) {
        fields->addRow(Labelled(*edit, CaptionOf(edit->objectName().toStdString())), edit);
    }
}

void TForm_UI_UserInterface::BuildAudioLevels() {
    UiControls& c = *controls_;
    struct GridRows {
        QTableWidget* table;
        const char* title;
        std::vector<std::pair<const char*, AudioLevel>> lines;
    };
    const GridRows grids[] = {
        {&c.StrGrid_GPIF_TxCol1,
         "Tx Input (dB)",
         {{"1", AudioLevel::TxInput1},
          {"2", AudioLevel::TxInput2},
          {"3", AudioLevel::TxInput3},
          {"4", AudioLevel::TxInput4},
          {"5", AudioLevel::TxInput5},
          {"6", AudioLevel::TxInput6},
          {"7", AudioLevel::TxInput7}}},
        {&c.StrGrid_GPIF_TxCol2,
         "Tx Breakout (dB)",
         {{"1", AudioLevel::TxBreakout1}, {"2", AudioLevel::TxBreakout2}}},
        {&c.StrGrid_GPIF_TxCol3,
         "Modulation",
         {{"1", AudioLevel::Modulation1},
          {"2", AudioLevel::Modulation2},
          {"3", AudioLevel::Modulation3},
          {"DTMF", AudioLevel::Dtmf},
          {"Selcall", AudioLevel::Selcall},
          {"FFSK", AudioLevel::Ffsk},
          {"8", AudioLevel::ModulationLast}}},
        {&c.StrGrid_GPIF_RxCol1,
         "Rx Breakout (dB)",
         {{"1", AudioLevel::RxBreakout1}, {"2", AudioLevel::RxBreakout2}}},
        {&c.StrGrid_GPIF_RxCol2,
         "Line Out (dB)",
         {{"1", AudioLevel::LineOutput1},
          {"2", AudioLevel::LineOutput2},
          {"3", AudioLevel::LineOutput3}}},
    };
    for (const GridRows& rows : grids) {
        auto grid = std::make_unique<FieldGrid>(*rows.table, person());
        const FieldGrid::Column columns[] = {{" ", 50}, {rows.title, 110}};
        grid->SetUp(static_cast<int>(rows.lines.size()), columns);
        for (std::size_t line = 0; line < rows.lines.size(); ++line) {
            const auto [name, level] = rows.lines[line];
            grid->SetName(static_cast<int>(line), name);
            grid->SetCellEditor(static_cast<int>(line), kValueColumn,
                                {FieldGrid::Editor::Kind::List, 0, StepTexts(level)});
            levelCells_.push_back({rows.table, static_cast<int>(line), level});
        }
        grids_.push_back({rows.table, std::move(grid)});
    }
    c.CBox_GPIF_PhaseDTMF.setText("Phase DTMF");
    c.CBox_GPIF_PhaseSelcall.setText("Phase Selcall");
    c.CBox_GPIF_PhaseFFSK.setText("Phase FFSK");
    c.Btn_GPIF_Defaults.setText(kDefaultsCaption);
    auto* limiter = new QFormLayout;
    for (QComboBox* combo :
         {&c.Combo_GPIF_LimiterThreshold, &c.Combo_GPIF_LimiterGain, &c.Combo_GPIF_Discriminator}) {
        limiter->addRow(Labelled(*combo, CaptionOf(combo->objectName().toStdString())), combo);
    }
    auto* tx = new QVBoxLayout;
    tx->addWidget(&c.StrGrid_GPIF_TxCol1);
    tx->addWidget(&c.StrGrid_GPIF_TxCol2);
    tx->addLayout(limiter);
    tx->addStretch(1);
    auto* modulation = new QVBoxLayout;
    modulation->addWidget(&c.StrGrid_GPIF_TxCol3);
    for (QCheckBox* box :
         {&c.CBox_GPIF_PhaseDTMF, &c.CBox_GPIF_PhaseSelcall, &c.CBox_GPIF_PhaseFFSK}) {
        modulation->addWidget(box);
    }
    modulation->addStretch(1);
    auto* rx = new QVBoxLayout;
    rx->addWidget(&c.StrGrid_GPIF_RxCol1);
    rx->addWidget(&c.StrGrid_GPIF_RxCol2);
    rx->addStretch(1);
    rx->addWidget(&c.Btn_GPIF_Defaults, 0, Qt::AlignRight);
    auto* page = new QHBoxLayout(&c.Tab_GPIF_AudioLevels);
    page->addLayout(tx);
    page->addSpacing(12);
    page->addLayout(modulation);
    page->addSpacing(12);
    page->addLayout(rx);
    page->addStretch(1);
}

void TForm_UI_UserInterface::Connect() {
    UiControls& c = *controls_;
    connect(&c.CB_UO_PowerOnMode, &QComboBox::activated, this,
            [this] { CB_UO_PowerOnModeChange(); });
    connect(&c.CBox_UO_PermanentPower, &QCheckBox::clicked, this,
            [this] { CBox_UO_PermanentPowerClick(); });
    connect(&c.Combo_ALM_Microphone, &QComboBox::activated, this,
            [this] { Combo_ALM_MicrophoneChange(); });
    connect(&c.Combo_IO_OptionBoardMode, &QComboBox::activated, this,
            [this] { Combo_IO_OptionBoardModeChange(); });
    connect(&c.CBox_GPIF_PhaseFFSK, &QCheckBox::clicked, this,
            [this] { CBox_GPIF_PhaseFFSKClick(); });
    connect(&c.Btn_GPIF_Defaults, &QPushButton::clicked, this,
            [this] { Btn_GPIF_DefaultsClick(); });
    connect(&c.Btn_CT_Defaults, &QPushButton::clicked, this, [this] { Btn_CT_DefaultsClick(); });
    connect(&c.ComboBox_KEY_D1, &QComboBox::activated, this, [this] { FillDialValues(); });
    connect(&c.Page_UI_UserInterface, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == controls_->Page_UI_UserInterface.indexOf(&controls_->Tab_UI_Next)) {
            Tab_UI_NextShow();
        }
    });
    connect(&c.StrGrid_MNU_MainMenu, &QTableWidget::itemChanged, this,
            [this] { ShowSetupMenuInUse(); });
    connect(&c.StrGrid_IO_OptionBoard, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) {
                if (loading_) {
                    return;
                }
                if (item->column() == kFunctionColumn) {
                    StrGrid_IO_OptionBoardFunctionChange(item->row());
                } else if (item->column() == kDirectionColumn) {
                    const bool input = item->text() == kInputText;
                    SetLineEditors(item->row(), input);
                    GridOf(controls_->StrGrid_IO_OptionBoard)
                        .SetText(item->row(), kFunctionColumn,
                                 input ? ToQString(kTrunkFunctions[0].name) : QString());
                }
            });
    // Enter moves on from the lists and boxes, as it does from the edits.
    for (QWidget* control : c.Page_UI_UserInterface.findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(control) || qobject_cast<QCheckBox*>(control) ||
            qobject_cast<QRadioButton*>(control) || qobject_cast<QPushButton*>(control)) {
            control->installEventFilter(this);
        }
    }
}

void TForm_UI_UserInterface::WatchEdits() {
    UiControls& c = *controls_;
    for (FieldBinder& binder : binders_) {
        for (QWidget* control : binder.Controls()) {
            auto* edit = qobject_cast<QLineEdit*>(control);
            if (edit == nullptr) {
                continue;
            }
            const FieldRow& row = *binder.RowOf(edit);
            const auto keys = row.encoding == fields::Encoding::PackedDial ? EditChecks::Keys::Dial
                              : fields::IsTextEncoding(row.encoding) ? EditChecks::Keys::Printable
                                                                     : EditChecks::Keys::Digits;
            FieldBinder* owner = &binder;
            editChecks_->Watch(*edit, keys, [this, owner, edit] {
                if (!owner->CheckControl(edit, person())) {
                    return false;
                }
                // Values are kept; the warning only points at the other field.
                if (edit == &controls_->Edit_UO_PowerDownTime &&
                    controls_->CBox_UO_PermanentPower.isChecked() && !edit->text().isEmpty() &&
                    edit->text().toLongLong() != 0) {
                    person().Warn(kPermanentPowerWarning);
                }
                return true;
            });
        }
    }
    // With an HM-F head the power-on text must fit the display.
    c.Edit_UO_WelcomeText.installEventFilter(this);
}

// ---- Views -----------------------------------------------------------------------------------

bool TForm_UI_UserInterface::JobView() const {
    return state().ImageKind == kImageTrunk || state().ImageKind == kImagePmr;
}

ImageId TForm_UI_UserInterface::ImageOfView() const {
    return state().ImageKind == kImagePmr ? ImageId::Pmr : ImageId::Trunk;
}

std::span<std::uint8_t> TForm_UI_UserInterface::BytesOfView() const {
    return state().ImageKind == kImagePmr ? workspace().pmr.Bytes() : workspace().trunk.Bytes();
}

FunctionView TForm_UI_UserInterface::FunctionsOfView() const {
    return state().ImageKind == kImagePmr ? FunctionView::Pmr : FunctionView::Trunk;
}

UiContext TForm_UI_UserInterface::Context() const {
    const UiView view = state().ImageKind == kImagePmr     ? UiView::Pmr
                        : state().ImageKind == kImageTrunk ? UiView::Trunk
                                                           : UiView::Network;
    return {view,       state().RadioModeMask, state().RadioTypeMask, state().PortableGeneration,
            accessory_, state().UserLevelMask};
}

bool TForm_UI_UserInterface::Portable() const {
    return IsPortableMask(state().RadioTypeMask);
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_UI_UserInterface::LoadPass() {
    if (!JobView()) {
        return;
    }
    Controls();
    const JobHeader header = ImageOfView() == ImageId::Pmr ? LoadPmrHeader(workspace().pmr)
                                                           : LoadTrunkHeader(workspace().trunk);
    headRow_ = header.radioTypeRow;
    accessory_ = header.accessory;
    LoadShown(false);
}

// Image to controls; `fallBack` puts the first item into a list whose stored function the head
// does not offer (after a change of head).
void TForm_UI_UserInterface::LoadShown(bool fallBack) {
    UiControls& c = *controls_;
    loading_ = true;
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    for (FieldBinder& binder : binders_) {
        binder.Load(image, bytes, 0);
    }
    LoadPowerOnMode();
    FieldBinder& options = binders_[0];
    if (image == ImageId::Trunk) {
        options.Show(ui_rows::kExtAlertDelay,
                     ShownExtAlertDelay(ReadNumber(ui_rows::kExtAlertDelay, image, bytes)));
        options.Show(ui_rows::kExtAlertDuration,
                     ShownExtAlertDuration(ReadNumber(ui_rows::kExtAlertDuration, image, bytes)));
    }
    options.Show(ui_rows::kExternalAlert,
                 ShownExternalAlert(ReadNumber(ui_rows::kExternalAlert, image, bytes)));
    const auto version =
        static_cast<std::uint16_t>(ReadNumber(header_rows::kVersion, image, bytes));
    binders_[2].Show(
        io_rows::kOptionBoard,
        OptionBoardItem(image, ReadNumber(io_rows::kOptionBoard, image, bytes), version));
    LoadKeys(fallBack);
    LoadDialSwitch();
    LoadMenus(fallBack);
    if (image == ImageId::Trunk) {
        GridOf(c.StrGrid_CT_CallTypes).Load(image, bytes, 0);
    }
    LoadIoLines(fallBack);
    devices_ = LoadDeviceSelections(image, bytes);
    c.Lbl_IO_InputDevice.setText(ToQString(DeviceLabel(devices_.input)));
    c.Lbl_IO_OptionBoard.setText(ToQString(DeviceLabel(devices_.optionBoard)));
    LoadLevels();
    ShowPicture();
    ShowBoardLayout();
    loading_ = false;
}

void TForm_UI_UserInterface::LoadPowerOnMode() {
    UiControls& c = *controls_;
    const PowerOnShown shown =
        ShowPowerOnMode(ReadNumber(ui_rows::kPowerOnMode, ImageOfView(), BytesOfView()));
    while (c.CB_UO_PowerOnMode.count() >
           static_cast<int>(std::size(ui_rows::kPowerOnChoices)) - 1) {
        c.CB_UO_PowerOnMode.removeItem(c.CB_UO_PowerOnMode.count() - 1);
    }
    SelectCode(c.CB_UO_PowerOnMode, ui_rows::kPowerOnMode, shown.code, false);
    const QSignalBlocker blocker(c.CBox_UO_SimplePMR);
    c.CBox_UO_SimplePMR.setChecked(shown.simplePmr);
}

void TForm_UI_UserInterface::LoadKeys(bool fallBack) {
    UiControls& c = *controls_;
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    const auto offered = OfferedFunctions(FunctionsOfView(), state().RadioTypeMask, kKeyUse);
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        FillFunctions(c.ButtonFunctions[b], offered);
        if (const auto word = ButtonWord(b, Portable())) {
            const FieldRow& row = key_rows::KeyRowOf(image, *word);
            SelectCode(c.ButtonFunctions[b], row, ReadNumber(row, image, bytes), fallBack);
        }
    }
    const FieldRow& manDown = key_rows::ManDownRowOf(image);
    FillFunctions(c.ComboBox_KEY2_MDAlertFunction, offered, true);
    SelectCode(c.ComboBox_KEY2_MDAlertFunction, manDown, ReadNumber(manDown, image, bytes),
               fallBack);
    FillFunctions(c.Combo_KEY_TogFunction, offered);
    if (image == ImageId::Pmr) {
        SelectCode(c.Combo_KEY_TogFunction, key_rows::kToggleFunction,
                   ReadNumber(key_rows::kToggleFunction, image, bytes), fallBack);
    }
}

void TForm_UI_UserInterface::LoadDialSwitch() {
    UiControls& c = *controls_;
    FillDialValues();
    for (std::size_t p = 0; p < kDialPositions; ++p) {
        const FieldRow& row = *key_rows::kDialValues[p];
        const std::int64_t value = ReadNumber(row, ImageOfView(), BytesOfView());
        SelectCode(c.DialValues[p], row, value, false);
    }
}

void TForm_UI_UserInterface::FillDialValues() {
    UiControls& c = *controls_;
    const std::int64_t use = CodeOf(c.ComboBox_KEY_D1, key_rows::kDialNotUsed);
    for (QComboBox& combo : c.DialValues) {
        const QSignalBlocker blocker(combo);
        combo.clear();
        combo.addItem(kNoDialValue, QVariant::fromValue<qlonglong>(0));
        for (const fields::Choice& value : km::DialValues(use)) {
            combo.addItem(ToQString(value.text), QVariant::fromValue<qlonglong>(value.code));
        }
        combo.setEnabled(use != key_rows::kDialNotUsed);
    }
}

void TForm_UI_UserInterface::LoadMenus(bool fallBack) {
    UiControls& c = *controls_;
    QStringList offered;
    for (const MenuEntry* entry : OfferedMenus(state().RadioTypeMask)) {
        offered << ToQString(entry->name);
    }
    for (QTableWidget* table : {&c.StrGrid_MNU_MainMenu, &c.StrGrid_MNU_SetupMenu}) {
        FieldGrid& grid = GridOf(*table);
        grid.SetEditor(kValueColumn, {FieldGrid::Editor::Kind::List, 0, offered});
        grid.Load(ImageOfView(), BytesOfView(), 0);
        for (int line = 0; fallBack && line < grid.Lines(); ++line) {
            if (!offered.contains(grid.Text(line, kValueColumn))) {
                grid.SetText(line, kValueColumn, offered.value(0));
            }
        }
    }
    ShowSetupMenuInUse();
}

// The setup sub-menu is used only when "Setup" is in the main menu.
void TForm_UI_UserInterface::ShowSetupMenuInUse() {
    UiControls& c = *controls_;
    const FieldGrid& main = GridOf(c.StrGrid_MNU_MainMenu);
    const QString setup = ToQString(fields::FormatField(key_rows::kMenuColumns[0], kSetupMenu));
    bool used = false;
    for (int line = 0; line < main.Lines(); ++line) {
        used = used || main.Text(line, kValueColumn) == setup;
    }
    c.StrGrid_MNU_SetupMenu.setEnabled(used);
}

// A line's function list follows its direction; only an input has a debounce time.
void TForm_UI_UserInterface::SetLineEditors(int line, bool input) {
    FieldGrid& grid = GridOf(controls_->StrGrid_IO_OptionBoard);
    grid.SetCellEditor(line, kFunctionColumn,
                       {FieldGrid::Editor::Kind::List, 0,
                        TextsOf(LineFunctions(FunctionsOfView(), state().RadioTypeMask, input))});
    grid.SetCellEditor(
        line, kDebounceColumn,
        {input ? FieldGrid::Editor::Kind::Digits : FieldGrid::Editor::Kind::None, kDebounceDigits});
}

void TForm_UI_UserInterface::LoadIoLines(bool fallBack) {
    FieldGrid& grid = GridOf(controls_->StrGrid_IO_OptionBoard);
    for (int line = 0; line < grid.Lines(); ++line) {
        const IoLine shown =
            LoadIoLine(ImageOfView(), BytesOfView(), static_cast<std::size_t>(line));
        SetLineEditors(line, shown.input);
        grid.ShowLoaded(line, kDirectionColumn, shown.input ? kInputText : kOutputText);
        grid.ShowLoaded(line, kFunctionColumn, ToQString(shown.function));
        grid.ShowLoaded(line, kActiveColumn, shown.activeHigh ? kHighText : kLowText);
        grid.ShowLoaded(line, kDebounceColumn, ToQString(shown.debounce));
        const auto offered = LineFunctions(FunctionsOfView(), state().RadioTypeMask, shown.input);
        const bool known =
            std::find(offered.begin(), offered.end(), shown.function) != offered.end();
        if (fallBack && shown.input && !known && !offered.empty()) {
            grid.SetText(line, kFunctionColumn, ToQString(offered.front()));
        }
    }
}

void TForm_UI_UserInterface::LoadLevels() {
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    for (const LevelCell& cell : levelCells_) {
        const FieldRow& row = LevelRowOf(cell.level);
        const auto word = static_cast<std::uint16_t>(ReadNumber(row, image, bytes));
        const ShownLevel shown = ShowLevel(cell.level, word);
        GridOf(*cell.table).ShowLoaded(cell.line, kValueColumn, ToQString(shown.text));
        if (QCheckBox* box = PhaseBoxOf(cell.level)) {
            const QSignalBlocker blocker(box);
            box->setChecked(shown.inverted);
        }
    }
}

void TForm_UI_UserInterface::StorePass() {
    if (!Built() || !JobView()) {
        return;
    }
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    for (const FieldBinder& binder : binders_) {
        binder.Store(image, bytes, 0);
    }
    StoreOwnFields();
    for (QTableWidget* table :
         {&controls_->StrGrid_MNU_MainMenu, &controls_->StrGrid_MNU_SetupMenu}) {
        GridOf(*table).Store(image, bytes, 0);
    }
    if (image == ImageId::Trunk) {
        GridOf(controls_->StrGrid_CT_CallTypes).Store(image, bytes, 0);
        // The trunk store marks the PMR job too.
        fields::WriteField(ui_rows::kMarker, workspace().pmr.Bytes(),
                           At(ui_rows::kMarker, ImageId::Pmr),
                           fields::DefaultValue(ui_rows::kMarker));
    }
    StoreLevels();
    WriteFixedUiFields(image, bytes);
}

// What the rows do not store by themselves.
void TForm_UI_UserInterface::StoreOwnFields() {
    UiControls& c = *controls_;
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    auto write = [&](const FieldRow& row, std::int64_t value) {
        fields::WriteField(row, bytes, At(row, image), value);
    };
    const PowerOnShown powerOn{
        CodeOf(c.CB_UO_PowerOnMode, ReadNumber(ui_rows::kPowerOnMode, image, bytes)),
        c.CBox_UO_SimplePMR.isChecked()};
    write(ui_rows::kPowerOnMode,
          PowerOnModeToStore(image, powerOn, state().UserLevelMask,
                             static_cast<int>(ReadNumber(header_rows::kRadioMode, image, bytes))));
    write(ui_rows::kPassword, PasswordToStore(ReadNumber(ui_rows::kPassword, image, bytes)));
    const std::int64_t board = ReadNumber(io_rows::kOptionBoard, image, bytes);
    write(io_rows::kProtocol, ProtocolToStore(board, ReadNumber(io_rows::kProtocol, image, bytes)));

    std::array<std::int64_t, kButtonCount> buttons{};
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        buttons[b] = CodeOf(c.ButtonFunctions[b], kNoFunction);
    }
    StoreKeys(image, bytes, {Portable(), state().PortableGeneration, accessory_}, buttons);
    const FieldRow& manDown = key_rows::ManDownRowOf(image);
    write(manDown, CodeOf(c.ComboBox_KEY2_MDAlertFunction, ReadNumber(manDown, image, bytes)));
    if (image == ImageId::Pmr) {
        write(key_rows::kToggleFunction, CodeOf(c.Combo_KEY_TogFunction, kNoFunction));
    }
    std::array<std::int64_t, kDialPositions> dial{};
    for (std::size_t p = 0; p < kDialPositions; ++p) {
        dial[p] = CodeOf(c.DialValues[p], 0);
    }
    StoreDialSwitch(image, bytes, CodeOf(c.ComboBox_KEY_D1, key_rows::kDialNotUsed), dial);

    FieldGrid& lines = GridOf(c.StrGrid_IO_OptionBoard);
    for (int line = 0; line < lines.Lines(); ++line) {
        StoreIoLine(image, bytes, static_cast<std::size_t>(line),
                    {lines.Text(line, kDirectionColumn) == kInputText,
                     lines.Text(line, kFunctionColumn).toStdString(),
                     lines.Text(line, kActiveColumn) == kHighText,
                     lines.Text(line, kDebounceColumn).toStdString()});
    }
    StoreDeviceSelections(image, bytes, devices_);
}

void TForm_UI_UserInterface::StoreLevels() {
    UiControls& c = *controls_;
    const ImageId image = ImageOfView();
    const auto bytes = BytesOfView();
    const bool ffskAlwaysInverted = image == ImageId::Trunk && NetworkOneIs3rp(bytes);
    for (const LevelCell& cell : levelCells_) {
        const QCheckBox* box = PhaseBoxOf(cell.level);
        const bool inverted = (box != nullptr && box->isChecked()) ||
                              (box == &c.CBox_GPIF_PhaseFFSK && ffskAlwaysInverted);
        const auto word = LevelWord(
            cell.level, GridOf(*cell.table).Text(cell.line, kValueColumn).toStdString(), inverted);
        if (word) {
            const FieldRow& row = LevelRowOf(cell.level);
            fields::WriteField(row, bytes, At(row, image), std::int64_t{*word});
        }
    }
}

bool TForm_UI_UserInterface::CheckFocusedField() {
    if (!Built()) {
        return true;
    }
    for (const Grid& grid : grids_) {
        if (grid.grid->HasFocus() && !grid.grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return editChecks_->CheckFocused();
}

// ---- Visibility ------------------------------------------------------------------------------

void TForm_UI_UserInterface::SetShown(QWidget& control, bool shown) {
    control.setVisible(shown);
    for (const auto& [captioned, label] : captions_) {
        if (captioned == &control) {
            label->setVisible(shown);
        }
    }
}

// A group with nothing to show is hidden with its contents.
void TForm_UI_UserInterface::ShowIfAny(QGroupBox& group) {
    bool any = false;
    for (const QWidget* child :
         group.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        any = any || !child->isHidden();
    }
    group.setVisible(any);
}

void TForm_UI_UserInterface::RefreshVisibility() {
    if (!Built()) {
        return;
    }
    UiControls& c = *controls_;
    const UiVisibility v = UiVisibilityOf(Context());
    SetShown(c.CBox_UO_CallTimerDisplay, v.callTimerDisplay);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.Edit_UO_WelcomeText, &c.Edit_UO_BacklightTime, &c.Edit_UO_MenuTimeout}) {
        SetShown(*control, v.welcomeBacklightMenuTimeout);
    }
    SetShown(c.Edit_UO_UserPassword, v.userPassword);
    SetShown(c.Edit_UO_MessageTimeout, v.messageTimeout);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.CBox_UO_Autolock, &c.CBox_UO_SidePttWithRemote, &c.CBox_UO_AllowSideKeys}) {
        SetShown(*control, v.portableOptions);
    }
    SetShown(c.CBox_UO_NoKeypadDialling, v.noKeypadDialling);
    SetShown(c.CBox_UO_PermanentPower, v.permanentPower);
    SetShown(c.CBox_UO_MemoryKey, false);
    SetShown(c.CBox_UO_SimplePMR, v.simplePmr);

    SetShown(c.Edit_AU_DataVolume, v.dataVolumeAndExternalAlert);
    SetShown(c.RGrp_AU_ExtAlertPC, v.dataVolumeAndExternalAlert);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.CBox_AU_DefCradleMute, &c.Edit_AU_ExtAlertDelay, &c.Edit_AU_ExtAlertDuration}) {
        SetShown(*control, v.cradleMuteAndAlertTimes);
    }
    SetShown(c.CBox_AU_ServiceBeeps, v.serviceBeeps);
    SetShown(c.CBox_AU_BatteryLowAlert, v.batteryLowAlert);
    SetShown(c.GBox_AU_MuteLevels, v.muteLevels);
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.GBox_AU_AudioDataPipe, &c.CBox_AU_TelemetryOutput, &c.CBox_AU_EightOhmSpeaker}) {
        SetShown(*control, v.audioDataPipe);
    }

    SetShown(c.CBox_VOX_VoxHandsfree, v.voxHandsfree);
    SetShown(c.CBox_VOX_VoxPttDefault, v.voxPttDefault);
    for (QWidget* control :
         std::initializer_list<QWidget*>{&c.CBox_VOX_VoxAfterManPtt, &c.CBox_VOX_VoxWithHeadset,
                                         &c.Combo_VOX_Sensitivity, &c.Edit_VOX_HangTime}) {
        SetShown(*control, v.portableVox);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             &c.Edit_ALM_Repeats, &c.Combo_ALM_Microphone, &c.Edit_ALM_TxTime, &c.Edit_ALM_RxTime,
             &c.Edit_ALM_SecondDialStr}) {
        SetShown(*control, v.alarmMobile);
    }
    SetShown(c.Edit_ALM_AlarmDebounce, v.alarmAnyHead);
    SetShown(c.CBox_ALM_ConfidenceBeep, v.alarmAnyHead);
    ShowIfAny(c.GBox_VOX_Vox);
    c.Group_ALM_Options.setVisible(v.alarmGroup);

    const bool labels[kButtonCount] = {v.f1Label,      v.f2F3Labels,   v.f2F3Labels,
                                       v.f4Label,      v.f5ToF7Labels, v.f5ToF7Labels,
                                       v.f5ToF7Labels, v.f5ToF7Labels, v.f5ToF7Labels,
                                       v.f5ToF7Labels, v.f5ToF7Labels};
    const bool buttons[kButtonCount] = {
        v.f1Button,    v.f2ToF4Buttons,    v.f2ToF4Buttons,   v.f2ToF4Buttons,
        v.f5F6Buttons, v.f5F6Buttons,      v.f7Button,        v.f8F9,
        v.f8F9,        v.f10F11GpsManDown, v.f10F11GpsManDown};
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        c.ButtonCaptions[b].setVisible(buttons[b]);
        c.ButtonFunctions[b].setVisible(buttons[b]);
        c.ButtonLabels[b].setVisible(buttons[b] && labels[b]);
    }
    SetShown(c.CBox_KEY_PTTCallRequest, v.pttCallRequest);
    c.GBox_KEY_SelectSwitch.setVisible(v.selectAndDialSwitch);
    c.GBox_KEY_DialSwitch.setVisible(v.selectAndDialSwitch);
    c.GBox_KEY_Toggle.setVisible(v.toggle);
    c.GBox_KEY2_MicButtons.setVisible(v.micButtonsGroup);
    c.GBox_KEY2_GPS.setVisible(v.f10F11GpsManDown);
    c.GBox_KEY2_ManDown.setVisible(v.f10F11GpsManDown);

    QTabWidget& pages = c.Page_UI_UserInterface;
    const std::pair<QWidget*, bool> tabs[] = {
        {&c.Tab_KEY2_MicKeys, v.micKeysTab},         {&c.Tab_MNU_Menus, v.menusTab},
        {&c.Tab_CT_CallTypes, v.callTypesTab},       {&c.Tab_IO_InputOutput, v.ioTab},
        {&c.Tab_GPIF_AudioLevels, v.audioLevelsTab}, {&c.Tab_MRS_Mrs, v.mrsTab},
    };
    for (const auto& [tab, shown] : tabs) {
        pages.setTabVisible(pages.indexOf(tab), shown);
    }
    pages.setTabText(pages.indexOf(&c.Tab_VOX_VoxAlarm),
                     state().ImageKind == kImagePmr ? kPmrVoxCaption : kTrunkVoxCaption);
    ShowBoardLayout();
}

void TForm_UI_UserInterface::ShowBoardLayout() {
    UiControls& c = *controls_;
    const BoardLayout layout = LayoutOfBoard(CodeOf(c.Combo_IO_OptionBoardMode, 0));
    // The lines the board does not use are covered; the grid ends with its last line shown.
    QTableWidget& lines = c.StrGrid_IO_OptionBoard;
    int height = 2 * lines.frameWidth() + lines.horizontalHeader()->sizeHint().height();
    for (int line = 0; line < lines.rowCount(); ++line) {
        const bool covered = static_cast<std::size_t>(line) >= layout.linesShown;
        lines.setRowHidden(line, covered);
        height += covered ? 0 : lines.rowHeight(line);
    }
    lines.setFixedHeight(height);
    SetShown(c.Combo_IO_Protocol, layout.protocol);
    SetShown(c.Combo_IO_SerialBDataRate, layout.serialB);
    SetShown(c.Combo_IO_RxAudioGating, layout.rxAudioGating && state().ImageKind == kImagePmr);
}

void TForm_UI_UserInterface::ShowPicture() {
    UiControls& c = *controls_;
    const QPixmap picture = ShippedPicture(RadioTypePictureName(headRow_));
    c.Image_UI_ControlUnit.setPixmap(
        picture.isNull() ? QPixmap()
                         : picture.scaled(c.Image_UI_ControlUnit.minimumSize(), Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation));
    // The external serial head and the basic fist microphone show no picture here.
    c.Image_UI_ControlUnit.setVisible(headRow_ > 1);
}

void TForm_UI_UserInterface::ShowFirstPage() {
    UiControls& c = Controls();
    const QSignalBlocker blocker(c.Page_UI_UserInterface);
    c.Page_UI_UserInterface.setCurrentWidget(&c.Tab_UO_UserOptions);
}

// ---- Changes of head and accessory -----------------------------------------------------------

void TForm_UI_UserInterface::BeforeRadioTypeChange() {
    StorePass();
}

void TForm_UI_UserInterface::RadioTypeChanged(const RadioTypeChange& change) {
    if (!Built() || !JobView()) {
        return;
    }
    headRow_ = change.newRow;
    // The Radio Type form resets the accessory to "None".
    accessory_ = kAccessoryNone;
    LoadShown(true);
    RefreshVisibility();
}

void TForm_UI_UserInterface::AccessoryChanged(const AccessoryChange& change) {
    accessory_ = change.row;
    RefreshVisibility();
}

// ---- Handlers --------------------------------------------------------------------------------

bool TForm_UI_UserInterface::eventFilter(QObject* watched, QEvent* event) {
    if (!Built() || event->type() != QEvent::KeyPress) {
        return ConfigForm::eventFilter(watched, event);
    }
    UiControls& c = *controls_;
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == &c.Edit_UO_WelcomeText && headRow_ == kRowHmF && !key->text().isEmpty() &&
        key->text().at(0).unicode() >= 32) {
        // The HM-F display shows what fits its width; a key that would overflow it is refused.
        QString text = c.Edit_UO_WelcomeText.text();
        text.insert(c.Edit_UO_WelcomeText.cursorPosition(), key->text());
        if (DisplayWidth(text.toStdString()) > kDisplayWidthPixels) {
            person().Beep();
            return true;
        }
        return false;
    }
    if (watched == &c.StrGrid_IO_OptionBoard && !key->text().isEmpty() &&
        key->text().at(0).unicode() >= 32) {
        FieldGrid& grid = GridOf(c.StrGrid_IO_OptionBoard);
        const int line = c.StrGrid_IO_OptionBoard.currentRow();
        const int column = c.StrGrid_IO_OptionBoard.currentColumn();
        if (column == kDirectionColumn && line == static_cast<int>(kInputOnlyLine)) {
            person().Warn(kPin7IsInput);
            grid.SetText(line, column, kInputText);
            return true;
        }
        if (column == kDirectionColumn && line == static_cast<int>(kOutputOnlyLine)) {
            person().Warn(kPin8IsOutput);
            grid.SetText(line, column, kOutputText);
            return true;
        }
        if (column == kDebounceColumn && line >= 0 &&
            grid.Text(line, kDirectionColumn) == kOutputText) {
            person().Warn(kNoDebounceForOutputs);
            grid.SetText(line, column, QString());
            return true;
        }
        return false;
    }
    const bool control = qobject_cast<QComboBox*>(watched) || qobject_cast<QCheckBox*>(watched) ||
                         qobject_cast<QRadioButton*>(watched) ||
                         qobject_cast<QPushButton*>(watched);
    return (control && MoveOnAtEnter(*event)) || ConfigForm::eventFilter(watched, event);
}

void TForm_UI_UserInterface::CB_UO_PowerOnModeChange() {
    UiControls& c = *controls_;
    const auto refusal = RefusePowerOnMode(CodeOf(c.CB_UO_PowerOnMode, 0), state().RadioModeMask);
    if (!refusal) {
        return;
    }
    person().Error(refusal->message);
    SelectCode(c.CB_UO_PowerOnMode, ui_rows::kPowerOnMode, refusal->code, false);
}

void TForm_UI_UserInterface::CBox_UO_PermanentPowerClick() {
    UiControls& c = *controls_;
    const QString downTime = c.Edit_UO_PowerDownTime.text();
    if (c.CBox_UO_PermanentPower.isChecked() && !downTime.isEmpty() && downTime.toLongLong() != 0) {
        person().Warn(kPermanentPowerWarning);
    }
}

void TForm_UI_UserInterface::Combo_ALM_MicrophoneChange() {
    UiControls& c = *controls_;
    if (CodeOf(c.Combo_ALM_Microphone, 0) != ui_rows::kDirectAuxMic ||
        person().Ask(kCovertMicQuestion) != Answer::Yes) {
        return;
    }
    CovertMicChosen();
}

void TForm_UI_UserInterface::CovertMicChosen() {
    Controls();
    SetCellText(*CellOf(AudioLevel::TxInput1), DefaultLevelText(AudioLevel::TxInput1, true));
    ResetDevices();
}

void TForm_UI_UserInterface::ResetDevices() {
    devices_ = {kNoDevice, kNoDevice};
    controls_->Lbl_IO_OptionBoard.setText(kNoDeviceLabel);
    controls_->Lbl_IO_InputDevice.setText(kNoDeviceLabel);
}

void TForm_UI_UserInterface::Combo_IO_OptionBoardModeChange() {
    UiControls& c = *controls_;
    const std::int64_t board = CodeOf(c.Combo_IO_OptionBoardMode, 0);
    if (board != io_rows::kBoardDmap) {
        c.Lbl_IO_OptionBoard.setText(kNoDeviceLabel);
    }
    ShowBoardLayout();
    if (const auto kind = DeviceKindOfBoard(board)) {
        OpenDeviceWizard(*kind, true);
    }
}

void TForm_UI_UserInterface::StrGrid_IO_OptionBoardFunctionChange(int line) {
    FieldGrid& grid = GridOf(controls_->StrGrid_IO_OptionBoard);
    const bool input = grid.Text(line, kDirectionColumn) == kInputText;
    if (const auto kind = DeviceKindOfLineFunction(grid.Text(line, kFunctionColumn).toStdString());
        kind && input) {
        OpenDeviceWizard(*kind, false);
        return;
    }
    for (int other = 0; other < grid.Lines(); ++other) {
        if (grid.Text(other, kDirectionColumn) == kInputText &&
            DeviceKindOfLineFunction(grid.Text(other, kFunctionColumn).toStdString())) {
            return;
        }
    }
    // No line needs a device any more: the label goes, the selection stays.
    controls_->Lbl_IO_InputDevice.setText(kNoDeviceLabel);
}

void TForm_UI_UserInterface::OpenDeviceWizard(DeviceKind kind, bool optionBoard) {
    TForm_IOW_InputOutputWizard wizard(kind, this);
    const int result = dialogs().Exec(wizard);
    const auto selection = wizard.Selection();
    if (!selection) {
        return;  // cancelled: nothing changes
    }
    (optionBoard ? devices_.optionBoard : devices_.input) = *selection;
    if (result == QDialog::Accepted) {
        ApplyDevice(*selection, optionBoard);
    }
}

void TForm_UI_UserInterface::ApplyDevice(int device, bool optionBoard) {
    UiControls& c = *controls_;
    if (optionBoard && device == kDmapDualHead) {
        binders_[2].Show(io_rows::kSerialARate, io_rows::kRate19200);
        binders_[2].Show(io_rows::kSerialBRate, io_rows::kRate19200);
    }
    for (const Preset& preset : PresetsOf(device)) {
        if (const LevelCell* cell = CellOf(preset.setting)) {
            SetCellText(*cell, preset.step);
            continue;
        }
        // The limiter and discriminator lists: the step's item.
        const auto word = LevelWord(preset.setting, preset.step, false);
        binders_[3].Show(LevelRowOf(preset.setting), std::int64_t{*word});
    }
    (optionBoard ? c.Lbl_IO_OptionBoard : c.Lbl_IO_InputDevice)
        .setText(ToQString(DeviceLabel(device)));
}

const TForm_UI_UserInterface::LevelCell* TForm_UI_UserInterface::CellOf(AudioLevel level) const {
    for (const LevelCell& cell : levelCells_) {
        if (cell.level == level) {
            return &cell;
        }
    }
    return nullptr;
}

QCheckBox* TForm_UI_UserInterface::PhaseBoxOf(AudioLevel level) {
    UiControls& c = *controls_;
    switch (level) {
        case AudioLevel::Dtmf:
            return &c.CBox_GPIF_PhaseDTMF;
        case AudioLevel::Selcall:
            return &c.CBox_GPIF_PhaseSelcall;
        case AudioLevel::Ffsk:
            return &c.CBox_GPIF_PhaseFFSK;
        default:
            return nullptr;
    }
}

void TForm_UI_UserInterface::SetCellText(const LevelCell& cell, std::string_view text) {
    GridOf(*cell.table).SetText(cell.line, kValueColumn, ToQString(text));
}

void TForm_UI_UserInterface::CBox_GPIF_PhaseFFSKClick() {
    if (!controls_->CBox_GPIF_PhaseFFSK.isChecked() && state().ImageKind == kImageTrunk &&
        NetworkOneIs3rp(workspace().trunk.Bytes())) {
        person().Warn(kFfskPhaseWarning);
    }
}

void TForm_UI_UserInterface::Btn_GPIF_DefaultsClick() {
    for (const LevelCell& cell : levelCells_) {
        SetCellText(cell, DefaultLevelText(cell.level, Portable()));
    }
    for (AudioLevel level :
         {AudioLevel::SibThreshold, AudioLevel::CompressorGain, AudioLevel::Discriminator}) {
        binders_[3].Show(LevelRowOf(level), LevelRowOf(level).defaultValue);
    }
    ResetDevices();
}

void TForm_UI_UserInterface::Btn_CT_DefaultsClick() {
    FieldGrid& grid = GridOf(controls_->StrGrid_CT_CallTypes);
    for (int line = 0; line < grid.Lines(); ++line) {
        const auto& defaults = call_type_rows::kDefaults[static_cast<std::size_t>(line)];
        grid.SetText(line, 1, ToQString(defaults.dial));
        grid.SetText(line, 2, ToQString(defaults.name));
    }
}

void TForm_UI_UserInterface::Tab_UI_NextShow() {
    ShowFirstPage();
    shell().ShowForm(state().ImageKind == kImagePmr ? FormId::Channels : FormId::Identities);
}

KM_REGISTER_FORM(FormId::UserInterface, TForm_UI_UserInterface);

}  // namespace km
