#include "MainForm.h"

#include <QMdiSubWindow>

#include "radio/FleetDialog.h"
#include "radio/RadioCommands.h"
#include "radio/SerialMonitor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <map>

#include "Blank.h"
#include "CsvCommands.h"
#include "EditMenu.h"
#include "HelpWindow.h"
#include "JobCheckDialogs.h"
#include "LevelDialogs.h"
#include "OptionDialogs.h"
#include "Printing.h"
#include "Resources.h"
#include "ViewOptions.h"
#include "config/ViewSwitch.h"
#include "forms/Undo.h"

namespace km {
namespace {

// Status-bar hints of the menu items.
constexpr const char* kHintNew = "Create a new Radio Configuration File.";
constexpr const char* kHintOpen = "Open an existing Radio Configuration file.";
constexpr const char* kHintReadMobile = "Read Configuration from mobile/portable radio.";
constexpr const char* kHintSave = "Save Radio Configuration to a File.";
constexpr const char* kHintCompare = "Compare the Radio Configuration with a File.";
constexpr const char* kHintProgramMobile =
    "Program mobile/portable radio with current configuration.";
constexpr const char* kHintProgramSeveral =
    "Program several radios at once, each with its own values from a sheet.";
constexpr const char* kHintCsvImport = "Import CSV file into current job file.";
constexpr const char* kHintCsvExport = "Export tables to a file in CSV format.";
constexpr const char* kHintPrint = "Print Radio Configuration.";
constexpr const char* kHintPrintSetup = "Setup Printer Type, Paper.";
constexpr const char* kHintExit = "Exit the Configuration Programmer.";
constexpr const char* kHintTrunkForms =
    "Enable Configuration Programmer to Read/Write/Program Trunk Radios.";
constexpr const char* kHintPmrForms =
    "Enable Configuration Programmer to Read/Write/Program PMR Radios.";
constexpr const char* kHintNetworkFile = "Enable Programmer to create Trunk Network Files.";
constexpr const char* kHintLevel = "Specify User Level - Basic, General or Network.";
constexpr const char* kHintComPort = "Specify serial COM Port. ";
constexpr const char* kHintSetup = "Specify additional RCP configuration options.";
constexpr const char* kHintRadioInformation =
    "Read the software version number and date from the radio.";
constexpr const char* kHintUpgradeSoftware = "Upgrade the radio's operating software.";
constexpr const char* kHintSerialComms =
    "Monitor MAP27 Serial Communications between radio and programmer.";
constexpr const char* kHintCopyNetwork = "Copy Trunk Network 1 configuration to Network 2.";
constexpr const char* kHintContents = "Help for Configuration Programmer.";
constexpr const char* kHintAbout = "Configuration Programmer Version Number and Date.";
constexpr const char* kHintContact = "How to contact local distributer.";

// Hints of the toolbar buttons.
constexpr const char* kTipNew = "New";
constexpr const char* kTipOpen = "Open File";
constexpr const char* kTipReadRadio = "Read Radio";
constexpr const char* kTipSave = "Save to File";
constexpr const char* kTipProgramRadio = "Program Radio";
constexpr const char* kTipPrint = "Print Selected Form";
constexpr const char* kTipPmr = "PMR Radio Configuration.";
constexpr const char* kTipTrunk = "Trunk Radio Configuration.";
constexpr const char* kTipNetwork1 = "Network 1";
constexpr const char* kTipNetwork2 = "Network 2";
constexpr const char* kTipLevel = "User level; Options > Level changes it.";

// Questions and warnings of the view and network commands.
constexpr const char* kChangingViewQuestion =
    "Changing view will destroy the current configuration.            \nDo you want to continue.";
constexpr const char* kNetworkModeQuestion =
    "Network Level is only required by your network provider             \nto create or modify "
    "trunk network files.             \n\nAre you sure you want to change to network mode?";
constexpr const char* kNoNetwork2Warning =
    "Cannot change to network 2.\nThere is no Network 2 file loaded.";
constexpr const char* kSaveQuestion = "Do you want to save radio configuration?";
constexpr const char* kBusyExitQuestion =
    "A radio operation is in progress.\nExiting now stops it and can leave the radio "
    "unusable.\n\nDo you want to exit anyway?";
constexpr const char* kHelpMissing = "The user guide is not installed.";
// A file named on the command line.
constexpr const char* kGivenFileMissing = "Cannot open %1\nThere is no such file.";
constexpr const char* kGivenNetworkFileNeedsLevel =
    "Network files are opened at the Network user level.\nChoose it in Options > Level, then "
    "open the file with File > Open File.";

// Texts of the serial monitor mode.
constexpr const char* kSerialCommsCaption =
    "KM700 RCP                             Serial Comms    ";

constexpr int kLinkPollInterval = 500;
constexpr int kStopCommsInterval = 100;

// The CSV items of the import and export menus.
struct CsvItem {
    const char* caption;
    const char* importName;
    const char* exportName;
};
constexpr std::array<CsvItem, 4> kCsvItems = {{
    {"Phonebook", "CSVImportPhonebook", "CSVExportPhonebook"},
    {"Channels", "CSVImportPMRChannels", "CSVExportPMRChannels"},
    {"Zones", "CsvImportZoneTable", "CsvExportZoneTable"},
    {"Status List", "CSVImportStatus", "CsvExportStatus"},
}};

int FormIndex(FormId id) {
    return static_cast<int>(id);
}

QAction* AddItem(QMenu& menu, const char* name, const char* caption, const char* hint) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setStatusTip(QString::fromUtf8(hint));
    return action;
}

void SetUpButton(QToolButton& button, const char* name, const QString& text, const char* tip,
                 const QString& picture = {}) {
    button.setObjectName(name);
    button.setText(text);
    button.setToolTip(QString::fromUtf8(tip));
    button.setStatusTip(QString::fromUtf8(tip));
    button.setAutoRaise(true);
    const QPixmap glyph = picture.isEmpty() ? QPixmap() : ShippedPicture(picture);
    if (!glyph.isNull()) {
        button.setIcon(glyph);
        button.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    } else {
        button.setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
}

}  // namespace

struct TForm_MF_MainForm::ToolbarEntries {
    std::map<const QWidget*, QAction*> of;
    void Show(const QWidget& widget, bool shown) {
        if (auto it = of.find(&widget); it != of.end()) {
            it->second->setVisible(shown);
        }
    }
    bool Shown(const QWidget& widget) const {
        auto it = of.find(&widget);
        return it != of.end() && it->second->isVisible();
    }
};

TForm_MF_MainForm::TForm_MF_MainForm(Workspace& workspace, MainState& state, Person& person,
                                     Dialogs& dialogs, std::filesystem::path workDir,
                                     QWidget* parent)
    : QMainWindow(parent),
      ws_(workspace),
      state_(state),
      person_(person),
      dialogs_(dialogs),
      jobs_(workspace, state, person, std::move(workDir)),
      context_{workspace, state, person, dialogs, *this},
      entries_(std::make_unique<ToolbarEntries>()),
      csv_(std::make_unique<CsvCommands>(workspace, state, person, dialogs, jobs_.WorkDir(),
                                         [this](FormId id) { return Form(id); })),
      printer_(std::make_unique<FormPrinter>(this, dialogs, person)) {
    setObjectName("TForm_MF_MainForm");
    CreateMenus();
    CreateToolbar();
    statusBar()->setObjectName("MF_StatusBar1");
    statusBar()->setSizeGripEnabled(true);
    MF_StatusBar_Level.setObjectName("MF_StatusBar_Level");
    MF_StatusBar_Level.setToolTip(kTipLevel);
    statusBar()->addPermanentWidget(&MF_StatusBar_Level);

    mdiArea_.setObjectName("MF_MdiArea");
    mdiArea_.setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(&mdiArea_);
    // Forms come forward through ShowForm only, which presses their buttons. Another form whose
    // control takes the focus (the area shows and activates its window, as when the focus comes
    // back after the dialog of a command) goes out of sight again and the form on screen stays.
    connect(&mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
        QMdiSubWindow* shown = windows_[FormIndex(shownForm_)].get();
        const bool otherForm =
            active != nullptr && active != shown &&
            std::any_of(windows_.begin(), windows_.end(),
                        [active](const auto& window) { return window.get() == active; });
        if (!otherForm || shown == nullptr || !shown->isVisible()) {
            return;
        }
        // After the activation under way is over.
        QTimer::singleShot(0, this, [this, other = QPointer<QMdiSubWindow>(active)] {
            QMdiSubWindow* onScreen = windows_[FormIndex(shownForm_)].get();
            if (other != nullptr && other != onScreen && onScreen != nullptr) {
                other->hide();
                mdiArea_.setActiveSubWindow(onScreen);
                PressButtonOf(shownForm_);
            }
        });
    });

    Timer_1SecDelay.setObjectName("Timer_1SecDelay");
    Timer_1SecDelay.setInterval(kLinkPollInterval);
    StopCommsTimer.setObjectName("StopCommsTimer");
    StopCommsTimer.setInterval(kStopCommsInterval);

    ReadSetupAndApply();
    comPort_ = std::make_unique<TForm_COM_ComPort>(setup_.comPortIndex, setup_.baudRateIndex, this);
    radio_ = std::make_unique<RadioCommands>(
        ws_, state_, person_, jobs_.WorkDir(), [this] { return setup_.comPortIndex; }, this);
    radio_->SetBusyChanged([this](bool busy) { SetCommsBusy(busy); });
    comPort_->SetPortLister(
        [folder = jobs_.WorkDir()] { return ListComPorts(kComPortCount, folder); });
    comPort_->SetPortChanged([this](int comIndex) {
        setup_.comPortIndex = comIndex;
        radio_->ChangePort(comIndex);
    });
    radio_->SetJobReplaced([this](int imageKind) {
        if (imageKind == kImagePmr) {
            BuildPmrView();
        } else {
            BuildTrunkView();
        }
    });
    CreateLongLivedForms();

    blank_ = std::make_unique<TForm_BNK_Blank>();
    mdiArea_.addSubWindow(blank_.get());
    blank_->SetMode(CheckedView() ? static_cast<int>(*CheckedView()) : 0);
    blank_->showMaximized();
    RefreshCaption();
    resize(1120, 760);
}

TForm_MF_MainForm::~TForm_MF_MainForm() = default;

void TForm_MF_MainForm::CreateMenus() {
    menuBar()->addMenu(&File1);
    File1.setObjectName("File1");
    New1 = AddItem(File1, "New1", "&New", kHintNew);
    Open1 = AddItem(File1, "Open1", "&Open File", kHintOpen);
    File1.addSeparator();
    ReadMobile1 = AddItem(File1, "ReadMobile1", "&Read Radio", kHintReadMobile);
    File1.addSeparator();
    Save1 = AddItem(File1, "Save1", "&Save File", kHintSave);
    File1.addSeparator();
    ProgramMobile1 = AddItem(File1, "ProgramMobile1", "Program &Radio", kHintProgramMobile);
    ProgramSeveral1 =
        AddItem(File1, "ProgramSeveral1", "Program Several Radios...", kHintProgramSeveral);
    File1.addSeparator();
    CSVImport1.setObjectName("CSVImport1");
    CSVExport1.setObjectName("CSVExport1");
    File1.addMenu(&CSVImport1)->setStatusTip(kHintCsvImport);
    File1.addMenu(&CSVExport1)->setStatusTip(kHintCsvExport);
    for (const CsvItem& item : kCsvItems) {
        CSVImport1.addAction(item.caption)->setObjectName(item.importName);
        CSVExport1.addAction(item.caption)->setObjectName(item.exportName);
    }
    csv_->Connect(CSVImport1, CSVExport1);
    csv_->SetCaptionChanged([this] { RefreshCaption(); });
    csv_->SetStoreView([this] { return StoreShownView(); });
    printer_->SetJob([this] {
        return PrintedJob{QString::fromStdString(state_.CurrentJobFileName).trimmed(),
                          QString::fromStdString((jobs_.WorkDir() / state_.JobFolder).string())};
    });
    File1.addSeparator();
    CompareWith1 = AddItem(File1, "CompareWith1", "&Compare with...", kHintCompare);
    File1.addSeparator();
    Print1 = AddItem(File1, "Print1", "&Print", kHintPrint);
    PrintSetup1 = AddItem(File1, "PrintSetup1", "Print Setup", kHintPrintSetup);
    AddPrintItem("PrintPreview1", "Print Pre&view", &FormPrinter::Preview);
    AddPrintItem("PrintToPdf1", "Print to P&DF...", &FormPrinter::PrintToPdf);
    File1.addSeparator();
    Exit1 = AddItem(File1, "Exit1", "E&xit", kHintExit);

    edit_ = std::make_unique<EditMenu>(*this, person_, [this] {
        if (ConfigForm* form = ActiveForm()) {
            form->RefreshVisibility();
        }
    });

    menuBar()->addMenu(&Menu_Forms);
    Menu_Forms.setObjectName("Menu_Forms");
    Menu_Forms_Trunk = AddItem(Menu_Forms, "Menu_Forms_Trunk", "&Trunk Forms", kHintTrunkForms);
    Menu_Forms_PMR = AddItem(Menu_Forms, "Menu_Forms_PMR", "&PMR Forms", kHintPmrForms);
    Menu_Forms_Network =
        AddItem(Menu_Forms, "Menu_Forms_Network", "&Network File", kHintNetworkFile);
    for (QAction* item : {Menu_Forms_Trunk, Menu_Forms_PMR, Menu_Forms_Network}) {
        item->setCheckable(true);
        viewGroup_.addAction(item);
    }
    Menu_Forms.addSeparator();
    AddChannelsAsTableItem(Menu_Forms, *this, person_);

    menuBar()->addMenu(&Menu_Options);
    Menu_Options.setObjectName("Menu_Options");
    Menu_Options_Level = AddItem(Menu_Options, "Menu_Options_Level", "&Level", kHintLevel);
    Menu_Options_ComPort = AddItem(Menu_Options, "Menu_Options_ComPort", "&COM Port", kHintComPort);
    Menu_Options_Setup = AddItem(Menu_Options, "Menu_Options_Setup", "&Setup", kHintSetup);
    Menu_Options.addSeparator();
    RadioInformation1 =
        AddItem(Menu_Options, "RadioInformation1", "Radio &Information", kHintRadioInformation);
    RadioFirmware1 =
        AddItem(Menu_Options, "RadioFirmware1", "&Upgrade Software", kHintUpgradeSoftware);

    menuBar()->addMenu(&Tools);
    Tools.setObjectName("Tools");
    SerialComms1 = AddItem(Tools, "SerialComms1", "&Serial Comms", kHintSerialComms);
    SerialComms1->setVisible(false);
    CopyNW1ToNW2 = AddItem(Tools, "CopyNW1ToNW2", "Copy NW1 to NW2", kHintCopyNetwork);

    menuBar()->addMenu(&Menu_Help);
    Menu_Help.setObjectName("Menu_Help");
    Contents1 = AddItem(Menu_Help, "Contents1", "Contents", kHintContents);
    Menu_Help_About = AddItem(Menu_Help, "Menu_Help_About", "&About", kHintAbout);
    Menu_Help_Veltra = AddItem(Menu_Help, "Menu_Help_Veltra", "&Contact", kHintContact);

    // The desktop's usual keys for the usual commands.
    New1->setShortcut(QKeySequence::New);
    Open1->setShortcut(QKeySequence::Open);
    Save1->setShortcut(QKeySequence::Save);
    Print1->setShortcut(QKeySequence::Print);
    Contents1->setShortcut(QKeySequence::HelpContents);

    connect(New1, &QAction::triggered, this, &TForm_MF_MainForm::New1Click);
    connect(Open1, &QAction::triggered, this, &TForm_MF_MainForm::Open1Click);
    connect(ReadMobile1, &QAction::triggered, this, &TForm_MF_MainForm::ReadMobile1Click);
    connect(Save1, &QAction::triggered, this, &TForm_MF_MainForm::Save1Click);
    connect(CompareWith1, &QAction::triggered, this, &TForm_MF_MainForm::CompareWith1Click);
    connect(ProgramMobile1, &QAction::triggered, this, &TForm_MF_MainForm::ProgramMobile1Click);
    connect(ProgramSeveral1, &QAction::triggered, this, &TForm_MF_MainForm::ProgramSeveral1Click);
    connect(Print1, &QAction::triggered, this, &TForm_MF_MainForm::Print1Click);
    connect(PrintSetup1, &QAction::triggered, this, &TForm_MF_MainForm::PrintSetup1Click);
    connect(Exit1, &QAction::triggered, this, &TForm_MF_MainForm::Exit1Click);
    connect(Menu_Forms_Trunk, &QAction::triggered, this, &TForm_MF_MainForm::Menu_Forms_TrunkClick);
    connect(Menu_Forms_PMR, &QAction::triggered, this, &TForm_MF_MainForm::Menu_Forms_PMRClick);
    connect(Menu_Forms_Network, &QAction::triggered, this,
            &TForm_MF_MainForm::Menu_Forms_NetworkClick);
    connect(Menu_Options_Level, &QAction::triggered, this,
            &TForm_MF_MainForm::Menu_Options_LevelClick);
    connect(Menu_Options_ComPort, &QAction::triggered, this,
            &TForm_MF_MainForm::Menu_Options_ComPortClick);
    connect(Menu_Options_Setup, &QAction::triggered, this,
            &TForm_MF_MainForm::Menu_Options_SetupClick);
    connect(RadioInformation1, &QAction::triggered, this,
            &TForm_MF_MainForm::RadioInformation1Click);
    connect(RadioFirmware1, &QAction::triggered, this, &TForm_MF_MainForm::RadioFirmware1Click);
    connect(SerialComms1, &QAction::triggered, this, &TForm_MF_MainForm::SerialComms1Click);
    connect(CopyNW1ToNW2, &QAction::triggered, this, &TForm_MF_MainForm::CopyNW1ToNW2Click);
    connect(Contents1, &QAction::triggered, this, &TForm_MF_MainForm::Contents1Click);
    connect(Menu_Help_About, &QAction::triggered, this, &TForm_MF_MainForm::Menu_Help_AboutClick);
    connect(Menu_Help_Veltra, &QAction::triggered, this, &TForm_MF_MainForm::Menu_Help_VeltraClick);
}

void TForm_MF_MainForm::CreateToolbar() {
    MF_Panel_Toolbar.setObjectName("MF_Panel_Toolbar");
    MF_Panel_Toolbar.setMovable(false);
    MF_Panel_Toolbar.setFloatable(false);
    MF_Panel_Toolbar.setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, &MF_Panel_Toolbar);

    auto add = [this](QWidget& widget) {
        entries_->of[&widget] = MF_Panel_Toolbar.addWidget(&widget);
    };

    SetUpButton(SpeedBtn_MF_New, "SpeedBtn_MF_New", "New", kTipNew, "new.png");
    SetUpButton(SpeedBtn_MF_Open, "SpeedBtn_MF_Open", "Open", kTipOpen, "open.png");
    SetUpButton(SpeedBtn_MF_ReadMobile, "SpeedBtn_MF_ReadMobile", "Read", kTipReadRadio,
                "read.png");
    SetUpButton(SpeedBtn_MF_Save, "SpeedBtn_MF_Save", "Save", kTipSave, "save.png");
    SetUpButton(SpeedBtn_MF_ProgramMobile, "SpeedBtn_MF_ProgramMobile", "Program", kTipProgramRadio,
                "program.png");
    SetUpButton(SpeedBtn_MF_Print, "SpeedBtn_MF_Print", "Print", kTipPrint, "print.png");
    for (QToolButton* button :
         {&SpeedBtn_MF_New, &SpeedBtn_MF_Open, &SpeedBtn_MF_ReadMobile, &SpeedBtn_MF_Save,
          &SpeedBtn_MF_ProgramMobile, &SpeedBtn_MF_Print}) {
        add(*button);
    }
    connect(&SpeedBtn_MF_New, &QToolButton::clicked, this, &TForm_MF_MainForm::New1Click);
    connect(&SpeedBtn_MF_Open, &QToolButton::clicked, this, &TForm_MF_MainForm::Open1Click);
    connect(&SpeedBtn_MF_ReadMobile, &QToolButton::clicked, this,
            &TForm_MF_MainForm::ReadMobile1Click);
    connect(&SpeedBtn_MF_Save, &QToolButton::clicked, this, &TForm_MF_MainForm::Save1Click);
    connect(&SpeedBtn_MF_ProgramMobile, &QToolButton::clicked, this,
            &TForm_MF_MainForm::ProgramMobile1Click);
    connect(&SpeedBtn_MF_Print, &QToolButton::clicked, this, &TForm_MF_MainForm::Print1Click);

    MF_Panel_Toolbar.addSeparator();
    QFont large = font();
    large.setPointSize(large.pointSize() + 6);
    large.setBold(true);
    SetUpButton(SpBtn_MF_PMR, "SpBtn_MF_PMR", "PMR", kTipPmr);
    SetUpButton(SpBtn_MF_TRUNK, "SpBtn_MF_TRUNK", "TRUNK", kTipTrunk);
    for (QToolButton* button : {&SpBtn_MF_PMR, &SpBtn_MF_TRUNK}) {
        button->setFont(large);
        button->setCheckable(true);
        button->setMinimumSize(96, 40);
        add(*button);
    }
    connect(&SpBtn_MF_PMR, &QToolButton::clicked, this, &TForm_MF_MainForm::Menu_Forms_PMRClick);
    connect(&SpBtn_MF_TRUNK, &QToolButton::clicked, this,
            &TForm_MF_MainForm::Menu_Forms_TrunkClick);

    static constexpr std::array<const char*, kFormButtonCount> kFormButtonNames = {
        "SpBtn_MF_FormA", "SpBtn_MF_FormB", "SpBtn_MF_FormC",
        "SpBtn_MF_FormD", "SpBtn_MF_FormE", "SpBtn_MF_FormF"};
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < kFormButtonCount; ++i) {
        QToolButton& button = formButtons_[static_cast<std::size_t>(i)];
        SetUpButton(button, kFormButtonNames[static_cast<std::size_t>(i)], QString::number(i + 1),
                    "");
        button.setCheckable(true);
        button.setFont(bold);
        button.setMinimumSize(40, 40);
        button.setIconSize(QSize(28, 28));
        formButtonGroup_.addButton(&button, i);
        add(button);
    }
    formButtonGroup_.setExclusive(true);
    connect(&formButtonGroup_, &QButtonGroup::idClicked, this, &TForm_MF_MainForm::FormButtonClick);

    bevels_[0].setFrameShape(QFrame::VLine);
    bevels_[0].setFrameShadow(QFrame::Sunken);
    add(bevels_[0]);
    SetUpButton(SpeedBtn_MF_NW1, "SpeedBtn_MF_NW1", "N1", kTipNetwork1);
    SetUpButton(SpeedBtn_MF_NW2, "SpeedBtn_MF_NW2", "N2", kTipNetwork2);
    for (QToolButton* button : {&SpeedBtn_MF_NW1, &SpeedBtn_MF_NW2}) {
        button->setCheckable(true);
        button->setFont(bold);
        button->setMinimumSize(36, 40);
        networkButtonGroup_.addButton(button);
        add(*button);
    }
    SpeedBtn_MF_NW1.setChecked(true);
    connect(&SpeedBtn_MF_NW1, &QToolButton::clicked, this,
            &TForm_MF_MainForm::SpeedBtn_MF_NW1Click);
    connect(&SpeedBtn_MF_NW2, &QToolButton::clicked, this,
            &TForm_MF_MainForm::SpeedBtn_MF_NW2Click);
    Lbl_MF_network.setObjectName("Lbl_MF_network");
    Lbl_MF_network.setMinimumWidth(160);
    Lbl_MF_network.setContentsMargins(8, 0, 8, 0);
    Lbl_MF_network.setFont(bold);
    add(Lbl_MF_network);
    bevels_[1].setFrameShape(QFrame::VLine);
    bevels_[1].setFrameShadow(QFrame::Sunken);
    add(bevels_[1]);

    // At start only New, Open, Read Radio and the two large view buttons lead on.
    for (QWidget* hidden : {static_cast<QWidget*>(&SpeedBtn_MF_Save),
                            static_cast<QWidget*>(&SpeedBtn_MF_ProgramMobile),
                            static_cast<QWidget*>(&SpeedBtn_MF_Print)}) {
        entries_->Show(*hidden, false);
    }
    for (QToolButton& button : formButtons_) {
        entries_->Show(button, false);
    }
    ShowNetworkControls(false);
}

void TForm_MF_MainForm::ReadSetupAndApply() {
    setup_ = ReadSetup(jobs_.WorkDir());
    switch (setup_.viewAtExit) {
        case kViewPmr:
            CheckView(View::Pmr);
            break;
        case kViewNetwork:
            CheckView(View::Network);
            break;
        default:
            CheckView(View::Trunk);
    }
    ApplyLevel(setup_.userLevelIndex);
    state_.CountryCode = CountryCodeFromIndex(setup_.countryIndex);
    state_.NetworkSelector = 0;
}

void TForm_MF_MainForm::CreateLongLivedForms() {
    for (FormId id : {FormId::RadioType, FormId::UserInterface, FormId::TextStrings}) {
        EnsureForm(id);
    }
}

void TForm_MF_MainForm::ApplyLevel(int levelIndex) {
    const bool networkItem = levelIndex == kLevelNetwork || levelIndex == kLevelEngineering;
    const bool tools = levelIndex == kLevelEngineering;
    Menu_Forms_Network->setVisible(networkItem);
    Tools.menuAction()->setVisible(tools);
    state_.UserLevelMask = UserLevelMaskFromIndex(levelIndex);
    MF_StatusBar_Level.setText(LevelRowText(LevelIndexFromMask(state_.UserLevelMask)));
    if (!networkItem && CheckedView() == View::Network) {
        if (state_.ImageKind == kImageNetwork) {
            // The Network view's forms cannot stay on screen below the Network level: change to
            // the Trunk view on the same image (as View > Trunk would, without a question).
            Menu_Forms_TrunkClick();
        } else {
            CheckView(View::Trunk);
        }
    }
    for (ConfigForm* form : forms_) {
        if (form) {
            form->RefreshVisibility();
        }
    }
}

std::optional<View> TForm_MF_MainForm::CheckedView() const {
    if (Menu_Forms_Trunk->isChecked()) {
        return View::Trunk;
    }
    if (Menu_Forms_PMR->isChecked()) {
        return View::Pmr;
    }
    if (Menu_Forms_Network->isChecked()) {
        return View::Network;
    }
    return std::nullopt;
}

void TForm_MF_MainForm::CheckView(View view) {
    switch (view) {
        case View::Trunk:
            Menu_Forms_Trunk->setChecked(true);
            break;
        case View::Pmr:
            Menu_Forms_PMR->setChecked(true);
            break;
        case View::Network:
            Menu_Forms_Network->setChecked(true);
            break;
    }
    SpBtn_MF_TRUNK.setChecked(view == View::Trunk);
    SpBtn_MF_PMR.setChecked(view == View::Pmr);
}

JobView TForm_MF_MainForm::JobViewOf(View view) const {
    switch (view) {
        case View::Pmr:
            return JobView::Pmr;
        case View::Network:
            return JobView::Network;
        case View::Trunk:
            break;
    }
    return JobView::Trunk;
}

// ---- Forms -----------------------------------------------------------------------------------

ConfigForm* TForm_MF_MainForm::Form(FormId id) const {
    return forms_[FormIndex(id)];
}

ConfigForm* TForm_MF_MainForm::ActiveForm() const {
    if (PictureShown()) {
        return nullptr;
    }
    QMdiSubWindow* active = mdiArea_.activeSubWindow();
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        if (windows_[i] && windows_[i].get() == active) {
            return forms_[i];
        }
    }
    return nullptr;
}

bool TForm_MF_MainForm::PictureShown() const {
    return blank_->PictureShown();
}

void TForm_MF_MainForm::EnsureForm(FormId id) {
    const int index = FormIndex(id);
    if (windows_[index]) {
        return;
    }
    std::unique_ptr<ConfigForm> form = CreateForm(id, context_);
    form->setObjectName(form->objectName().isEmpty() ? QString::fromUtf8(FormTitle(id))
                                                     : form->objectName());
    auto window = std::make_unique<QMdiSubWindow>();
    window->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->setWindowTitle(form->windowTitle());
    forms_[index] = form.get();
    window->setWidget(form.release());  // the window owns its form
    mdiArea_.addSubWindow(window.get());
    window->hide();
    windows_[index] = std::move(window);
}

void TForm_MF_MainForm::DestroyFormsNotIn(const ViewDefinition& definition) {
    for (int index = 0; index < kFormIdCount; ++index) {
        const auto id = static_cast<FormId>(index);
        const bool inView = std::find(definition.passOrder.begin(), definition.passOrder.end(),
                                      id) != definition.passOrder.end();
        if (windows_[index] && !inView && !LongLivedForm(id)) {
            forms_[index] = nullptr;
            windows_[index].reset();
        } else if (windows_[index] && !inView) {
            windows_[index]->hide();
        }
    }
}

void TForm_MF_MainForm::OpenFormsOf(const ViewDefinition& definition) {
    DestroyFormsNotIn(definition);
    for (FormId id : definition.passOrder) {
        EnsureForm(id);
    }
}

void TForm_MF_MainForm::ShowForm(FormId id) {
    EnsureForm(id);
    blank_->ShowPicture(false);
    QMdiSubWindow* window = windows_[FormIndex(id)].get();
    shownForm_ = id;
    forms_[FormIndex(id)]->ShowFirstPage();
    window->showMaximized();
    mdiArea_.setActiveSubWindow(window);
    window->raise();
    // One form is on screen at a time: a form left behind could come forward (the area activates
    // the window of a control that takes the focus, or the one on top when a dialog closes) while
    // the button of another stays pressed.
    for (auto& other : windows_) {
        if (other && other.get() != window) {
            other->hide();
        }
    }
    PressButtonOf(id);
}

void TForm_MF_MainForm::PressButtonOf(FormId id) {
    const ViewDefinition& definition = DefinitionOf(currentView_);
    for (int i = 0; i < kFormButtonCount; ++i) {
        if (definition.buttons[i] && definition.buttons[i]->form == id) {
            formButtons_[static_cast<std::size_t>(i)].setChecked(true);
        }
    }
}

void TForm_MF_MainForm::ReloadForm(FormId id) {
    if (ConfigForm* form = Form(id)) {
        form->LoadPass();
        form->RefreshVisibility();
        // The job changed under the form (a network file loaded or deleted): earlier edits
        // cannot come back.
        undo::StartAfresh();
    }
}

void TForm_MF_MainForm::FormButtonClick(int index) {
    const auto& button = DefinitionOf(currentView_).buttons[static_cast<std::size_t>(index)];
    if (!button || state_.ImageKind == kImageNone) {
        return;
    }
    // A value that fails its check keeps its form on screen (the form left is hidden).
    ConfigForm* active = ActiveForm();
    if (active != nullptr && active != Form(button->form) && !active->CheckFocusedField()) {
        for (std::size_t i = 0; i < forms_.size(); ++i) {
            if (forms_[i] == active) {
                PressButtonOf(static_cast<FormId>(i));
            }
        }
        return;
    }
    ShowForm(button->form);
}

bool TForm_MF_MainForm::StoreShownView() {
    switch (state_.ImageKind) {
        case kImageTrunk:
            return !state_.TrunkJobLoaded || StorePassSet(View::Trunk);
        case kImageNetwork:
            return !state_.TrunkJobLoaded || StorePassSet(View::Network);
        case kImagePmr:
            return !state_.PmrJobLoaded || StorePassSet(View::Pmr);
        default:
            return true;
    }
}

bool TForm_MF_MainForm::StorePassSet(View view, bool perNetworkOnly) {
    if (ConfigForm* active = ActiveForm(); active && !active->CheckFocusedField()) {
        return false;
    }
    const ViewDefinition& definition = DefinitionOf(view);
    for (FormId id : perNetworkOnly ? definition.perNetwork : definition.passOrder) {
        if (ConfigForm* form = Form(id)) {
            form->StorePass();
        }
    }
    return true;
}

void TForm_MF_MainForm::LoadPassSet(View view, bool perNetworkOnly) {
    const ViewDefinition& definition = DefinitionOf(view);
    for (FormId id : perNetworkOnly ? definition.perNetwork : definition.passOrder) {
        if (ConfigForm* form = Form(id)) {
            form->LoadPass();
        }
    }
    for (FormId id : definition.refreshed) {
        if (ConfigForm* form = Form(id)) {
            form->RefreshVisibility();
        }
    }
    // Another job or network: earlier edits are no longer on screen to be undone.
    undo::StartAfresh();
}

// ---- Views -----------------------------------------------------------------------------------

void TForm_MF_MainForm::BuildTrunkView() {
    BuildView(View::Trunk, false);
}
void TForm_MF_MainForm::BuildPmrView() {
    BuildView(View::Pmr, false);
}
void TForm_MF_MainForm::BuildNetworkView() {
    BuildView(View::Network, false);
}

// A new job starts on Network 1: its N1/N2 buttons stay hidden until the Radio Type form is
// completed, so a Network 2 chosen for the previous job must not carry over unseen.
void TForm_MF_MainForm::NewTrunkJob() {
    if (jobs_.NewJob(JobView::Trunk)) {
        BuildView(View::Trunk, true);
    }
}

void TForm_MF_MainForm::NewPmrJob() {
    if (jobs_.NewJob(JobView::Pmr)) {
        BuildView(View::Pmr, true);
    }
}

void TForm_MF_MainForm::NewNetworkJob() {
    if (jobs_.NewJob(JobView::Network)) {
        BuildView(View::Network, true);
    }
}

void TForm_MF_MainForm::BuildView(View view, bool newJob) {
    const ViewDefinition& definition = DefinitionOf(view);
    // The network files are compared with what they were when the Network view was entered;
    // rebuilding the view it already shows keeps that, so no edit is forgotten.
    const bool enteringNetworkView = EnterView(state_, JobViewOf(view), newJob);
    currentView_ = view;
    CheckView(view);
    blank_->SetMode(static_cast<int>(view));
    ShowViewToolbar(definition);
    // A new trunk or PMR job shows only "Select Radio Type" until the Radio Type form is
    // completed; a new network shows its three buttons at once.
    SetFormButtons(definition, !newJob || view == View::Network);
    OpenFormsOf(definition);
    if (enteringNetworkView) {
        jobs_.TakeNetworkBaseline();
    }
    if (definition.networkButtons && !newJob) {
        RefreshNetworkNames();
    }
    ShowNetworkControls(definition.networkButtons && !newJob);
    ShowForm(definition.passOrder.front());
    LoadPassSet(view);
    RefreshCaption();
}

void TForm_MF_MainForm::ShowViewToolbar(const ViewDefinition& definition) {
    for (QWidget* button :
         {static_cast<QWidget*>(&SpeedBtn_MF_New), static_cast<QWidget*>(&SpeedBtn_MF_Open),
          static_cast<QWidget*>(&SpeedBtn_MF_Save), static_cast<QWidget*>(&SpeedBtn_MF_Print)}) {
        entries_->Show(*button, true);
    }
    entries_->Show(SpeedBtn_MF_ReadMobile, definition.readAndProgram);
    entries_->Show(SpeedBtn_MF_ProgramMobile, definition.readAndProgram);
    MF_Panel_Toolbar.show();
}

void TForm_MF_MainForm::SetFormButtons(const ViewDefinition& definition, bool showAll) {
    static constexpr std::array<const char*, kFormButtonCount> kGlyphs = {
        "form_a.png", "form_b.png", "form_c.png", "form_d.png", "form_e.png", "form_f.png"};
    static constexpr std::array<const char*, 3> kViewGlyphPrefix = {"trunk_", "pmr_", "network_"};
    const QString prefix = kViewGlyphPrefix[static_cast<std::size_t>(definition.view) - 1];
    for (int i = 0; i < kFormButtonCount; ++i) {
        QToolButton& button = formButtons_[static_cast<std::size_t>(i)];
        const auto& entry = definition.buttons[static_cast<std::size_t>(i)];
        if (entry) {
            SetUpButton(button, button.objectName().toUtf8().constData(), entry->caption,
                        entry->hint, prefix + kGlyphs[static_cast<std::size_t>(i)]);
        }
        entries_->Show(button, entry.has_value() && (showAll || i == 0));
    }
    formButtons_[0].setChecked(true);
}

void TForm_MF_MainForm::ShowFormButtons() {
    if (state_.ImageKind == kImageNone) {
        return;
    }
    const ViewDefinition& definition = DefinitionOf(currentView_);
    SetFormButtons(definition, true);
    if (definition.networkButtons) {
        // The names are those of the view build or of the Radio Type form's loads since.
        ShowNetworkLabel();
        ShowNetworkControls(true);
    }
}

void TForm_MF_MainForm::ShowNetworkControls(bool shown) {
    for (QWidget* widget :
         {static_cast<QWidget*>(&SpeedBtn_MF_NW1), static_cast<QWidget*>(&SpeedBtn_MF_NW2),
          static_cast<QWidget*>(&Lbl_MF_network), static_cast<QWidget*>(&bevels_[0]),
          static_cast<QWidget*>(&bevels_[1])}) {
        entries_->Show(*widget, shown);
    }
}

void TForm_MF_MainForm::RefreshNetworkNames() {
    jobs_.RefreshNetworkNames();
    ShowNetworkLabel();
}

void TForm_MF_MainForm::ShowNetworkLabel() {
    const std::string& name =
        state_.NetworkSelector == 1 ? state_.Network2Name : state_.Network1Name;
    Lbl_MF_network.setText(QString::fromStdString(name));
    (state_.NetworkSelector == 1 ? SpeedBtn_MF_NW2 : SpeedBtn_MF_NW1).setChecked(true);
}

void TForm_MF_MainForm::HideLargeViewButtons() {
    entries_->Show(SpBtn_MF_PMR, false);
    entries_->Show(SpBtn_MF_TRUNK, false);
}

void TForm_MF_MainForm::RefreshCaption() {
    setWindowTitle(
        QString::fromStdString(WindowCaption(state_.ImageKind, state_.CurrentJobFileName)));
}

// ---- View and network commands ---------------------------------------------------------------

void TForm_MF_MainForm::Menu_Forms_TrunkClick() {
    HideLargeViewButtons();
    const View before = state_.ImageKind == kImagePmr       ? View::Pmr
                        : state_.ImageKind == kImageNetwork ? View::Network
                                                            : View::Trunk;
    if (state_.CommsBusy) {
        CheckView(before);
        return;
    }
    if (state_.ImageKind == kImagePmr && state_.PmrJobLoaded) {
        if (person_.Ask(kChangingViewQuestion) != Answer::Yes || !MayLeaveShownJob()) {
            CheckView(View::Pmr);
            return;
        }
        state_.PmrJobLoaded = false;
        state_.CurrentJobFileName.clear();
        state_.BandSelected = 0;
    }
    if (!state_.TrunkJobLoaded) {
        NewTrunkJob();
        if (state_.ImageKind != kImageTrunk) {
            CheckView(before);
        }
        return;
    }
    if (!StoreShownView()) {
        CheckView(before);
        return;
    }
    state_.CurrentJobFileName.clear();
    BuildTrunkView();
}

void TForm_MF_MainForm::Menu_Forms_PMRClick() {
    HideLargeViewButtons();
    const View before = state_.ImageKind == kImageNetwork ? View::Network : View::Trunk;
    if (state_.CommsBusy) {
        CheckView(state_.ImageKind == kImagePmr ? View::Pmr : before);
        return;
    }
    if (state_.ImageKind != kImagePmr && state_.TrunkJobLoaded) {
        if (person_.Ask(kChangingViewQuestion) != Answer::Yes || !MayLeaveShownJob()) {
            CheckView(before);
            return;
        }
        state_.TrunkJobLoaded = false;
        state_.BandSelected = 0;
        state_.CurrentJobFileName.clear();
    }
    if (!state_.PmrJobLoaded) {
        NewPmrJob();
        if (state_.ImageKind != kImagePmr) {
            CheckView(before);
        }
        return;
    }
    if (!StoreShownView()) {
        CheckView(state_.ImageKind == kImagePmr ? View::Pmr : before);
        return;
    }
    BuildPmrView();
}

void TForm_MF_MainForm::Menu_Forms_NetworkClick() {
    HideLargeViewButtons();
    const View before = state_.ImageKind == kImagePmr       ? View::Pmr
                        : state_.ImageKind == kImageNetwork ? View::Network
                                                            : View::Trunk;
    if (state_.CommsBusy || state_.UserLevelMask < 4) {
        CheckView(before);
        return;
    }
    // The PMR job goes out of sight: the Network view has no unsaved test for it.
    if (person_.Ask(kNetworkModeQuestion) != Answer::Yes ||
        (state_.ImageKind == kImagePmr && !MayLeaveShownJob())) {
        CheckView(before);
        return;
    }
    if (!state_.TrunkJobLoaded) {
        NewNetworkJob();
        if (state_.ImageKind != kImageNetwork) {
            CheckView(before);
        }
        return;
    }
    if (!StoreShownView()) {
        CheckView(before);
        return;
    }
    if (state_.ImageKind == kImagePmr) {
        state_.CurrentJobFileName.clear();
    }
    BuildNetworkView();
}

void TForm_MF_MainForm::SpeedBtn_MF_NW1Click() {
    if (state_.CommsBusy) {
        SpeedBtn_MF_NW2.setChecked(state_.NetworkSelector == 1);
        SpeedBtn_MF_NW1.setChecked(state_.NetworkSelector == 0);
        return;
    }
    SwitchNetwork(0);
}

void TForm_MF_MainForm::SpeedBtn_MF_NW2Click() {
    if (state_.CommsBusy) {
        SpeedBtn_MF_NW2.setChecked(state_.NetworkSelector == 1);
        SpeedBtn_MF_NW1.setChecked(state_.NetworkSelector == 0);
        return;
    }
    if (!NetworkPresent(ws_.trunk, 1)) {
        person_.Warn(kNoNetwork2Warning);
        SpeedBtn_MF_NW1.setChecked(true);
        SwitchNetwork(0);
        return;
    }
    SwitchNetwork(1);
}

void TForm_MF_MainForm::SwitchNetwork(int selector) {
    if (selector != state_.NetworkSelector && StoreNetworkForms()) {
        SelectNetwork(selector);
    } else {
        ShowNetworkLabel();  // the buttons show the network that stays current
    }
}

bool TForm_MF_MainForm::StoreNetworkForms() {
    return state_.ImageKind == kImageNone || StorePassSet(currentView_, true);
}

void TForm_MF_MainForm::SelectNetwork(int selector) {
    state_.NetworkSelector = selector;
    ShowNetworkLabel();
    if (state_.ImageKind != kImageNone) {
        LoadPassSet(currentView_, true);
    }
}

// ---- File commands ---------------------------------------------------------------------------

void TForm_MF_MainForm::New1Click() {
    HideLargeViewButtons();
    const std::optional<View> view = CheckedView();
    if (state_.CommsBusy || !view || !jobs_.ConfirmReplacingJob(JobViewOf(*view))) {
        return;
    }
    switch (*view) {
        case View::Trunk:
            NewTrunkJob();
            break;
        case View::Pmr:
            NewPmrJob();
            break;
        case View::Network:
            NewNetworkJob();
            break;
    }
}

void TForm_MF_MainForm::Open1Click() {
    HideLargeViewButtons();
    const std::optional<View> view = CheckedView();
    if (state_.CommsBusy || !view || !jobs_.ConfirmReplacingJob(JobViewOf(*view))) {
        return;
    }
    const JobDialogSetup setup = OpenDialogSetup(JobViewOf(*view), state_);
    FileDialogRequest request;
    request.dialog = FileDialogId::OpenJob;
    request.title = QString::fromUtf8(setup.title.data(), setup.title.size());
    request.filters = JobFileFilters();
    request.filterIndex = setup.filterIndex;
    request.defaultSuffix =
        QString::fromUtf8(setup.defaultExtension.data(), setup.defaultExtension.size())
            .remove(QStringLiteral("*."));
    request.folder = QString::fromStdString((jobs_.WorkDir() / setup.folder).string());
    std::optional<std::filesystem::path> chosen;
    if (const std::optional<QString> path = dialogs_.OpenFile(request)) {
        chosen = std::filesystem::path(path->toStdString());
    }
    OpenChosenFile(chosen);
}

void TForm_MF_MainForm::OpenGivenFile(const std::filesystem::path& file) {
    HideLargeViewButtons();
    if (state_.CommsBusy) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        person_.Error(
            QString(kGivenFileMissing).arg(QString::fromStdString(file.string())).toStdString());
        return;
    }
    if (!jobs_.LevelOpens(file)) {
        person_.Warn(kGivenNetworkFileNeedsLevel);
        return;
    }
    const std::optional<View> view = CheckedView();
    if (view && !jobs_.ConfirmReplacingJob(JobViewOf(*view))) {
        return;
    }
    OpenChosenFile(file);
}

void TForm_MF_MainForm::OpenChosenFile(const std::optional<std::filesystem::path>& chosen) {
    switch (jobs_.Open(chosen)) {
        case JobOpenOutcome::TrunkLoaded:
            state_.NetworkSelector = 0;
            BuildTrunkView();
            break;
        case JobOpenOutcome::NetworkLoaded:
            BuildNetworkView();
            break;
        case JobOpenOutcome::PmrLoaded:
            BuildPmrView();
            break;
        case JobOpenOutcome::Nothing:
            break;
    }
    RefreshCaption();
}

void TForm_MF_MainForm::Save1Click() {
    if (state_.CommsBusy) {
        return;
    }
    if (const std::optional<View> view = CheckedView()) {
        SaveView(*view);
    }
}

bool TForm_MF_MainForm::SaveView(View view) {
    const JobView jobView = JobViewOf(view);
    if (!jobs_.MaySave(jobView)) {
        return false;
    }
    const FileDialogId proposalFrom =
        view == View::Network ? FileDialogId::NetworkFile : FileDialogId::OpenJob;
    std::string openName = dialogs_.LastFileName(proposalFrom).toStdString();
    const std::string proposal = jobs_.ProposeSaveName(jobView, openName);
    if (openName.empty()) {
        dialogs_.ForgetFileName(proposalFrom);
    }
    if (state_.ImageKind == ViewStateOf(JobViewOf(view)).imageKind && !StorePassSet(view)) {
        return false;
    }
    const JobDialogSetup setup = SaveDialogSetup(jobView, state_);
    FileDialogRequest request;
    request.dialog = FileDialogId::SaveAs;
    request.title = QString::fromUtf8(setup.title.data(), setup.title.size());
    request.filters = QtFilters(kSaveDialogFilter);
    request.filterIndex = setup.filterIndex;
    request.defaultSuffix =
        QString::fromUtf8(setup.defaultExtension.data(), setup.defaultExtension.size())
            .remove(QStringLiteral("*."));
    request.folder = QString::fromStdString((jobs_.WorkDir() / setup.folder).string());
    request.proposedName = QString::fromStdString(proposal);
    const std::optional<QString> chosen = dialogs_.SaveFile(request);
    bool saved = false;
    if (chosen) {
        saved = jobs_.Save(jobView, std::filesystem::path(chosen->toStdString()));
        if (saved && view == View::Network) {
            RefreshNetworkNames();
        }
    }
    RefreshCaption();
    return saved;
}

void TForm_MF_MainForm::CopyNW1ToNW2Click() {
    if (!state_.CommsBusy) {
        jobs_.CopyNW1ToNW2();
    }
}

// ---- Radio commands: entry points; the radio operations fill them in -------------------------

void TForm_MF_MainForm::ReadMobile1Click() {
    HideLargeViewButtons();
    const auto view = CheckedView();
    radio_->ReadRadio(view == View::Pmr       ? kImagePmr
                      : view == View::Network ? kImageNetwork
                                              : kImageTrunk);
}
void TForm_MF_MainForm::ProgramMobile1Click() {
    const auto view = CheckedView();
    radio_->ProgramRadio(
        [this, view] { return view && StorePassSet(*view) && JobPassesChecks(*view); });
}
void TForm_MF_MainForm::ProgramSeveral1Click() {
    if (state_.CommsBusy) {
        return;
    }
    const auto view = CheckedView();
    const bool trunk = view == View::Trunk && state_.TrunkJobLoaded;
    const bool pmr = view == View::Pmr && state_.PmrJobLoaded;
    FleetDialog dialog(
        {jobs_.WorkDir(),
         {jobs_.WorkDir(), QCoreApplication::applicationDirPath().toStdString()},
         dialogs_,
         person_,
         trunk || pmr ? &ws_ : nullptr,
         &state_,
         pmr ? kImagePmr : kImageTrunk,
         [this, view] { return view && StorePassSet(*view) && JobPassesChecks(*view); }},
        this);
    dialogs_.Exec(dialog);
}
void TForm_MF_MainForm::RadioInformation1Click() {
    radio_->RadioInformation();
}
void TForm_MF_MainForm::RadioFirmware1Click() {
    if (state_.CommsBusy) {
        return;
    }
    // The dialog is created on first use and lives for the rest of the run.
    if (!download_) {
        download_ = std::make_unique<TForm_DLD_Download>(radio_->Operations(), dialogs_,
                                                         jobs_.WorkDir(), this);
    }
    download_->show();
    download_->raise();
}
// The form on show (nothing while the start picture is shown), not while the radio is busy.
void TForm_MF_MainForm::Print1Click() {
    RunPrint(&FormPrinter::Print);
}

void TForm_MF_MainForm::RunPrint(void (FormPrinter::*command)(ConfigForm&, const QString&)) {
    if (ConfigForm* form = ActiveForm(); form && !state_.CommsBusy) {
        ((*printer_).*command)(*form, windowTitle());
    }
}

void TForm_MF_MainForm::AddPrintItem(const char* name, const char* caption,
                                     void (FormPrinter::*command)(ConfigForm&, const QString&)) {
    connect(AddItem(File1, name, caption, kHintPrint), &QAction::triggered, this,
            [this, command] { RunPrint(command); });
}

// ---- Checks and comparison of the whole job --------------------------------------------------

std::pair<fields::ImageId, std::span<std::uint8_t>> TForm_MF_MainForm::ImageOfView(View view) {
    switch (view) {
        case View::Pmr:
            return {fields::ImageId::Pmr, ws_.pmr.Bytes()};
        case View::Network:
            return {fields::ImageId::Network,
                    ws_.trunk.Region(trunk::NetworkFileStart(state_.NetworkSelector == 1 ? 1 : 0),
                                     NetworkImage::kSize)};
        case View::Trunk:
            break;
    }
    return {fields::ImageId::Trunk, ws_.trunk.Bytes()};
}

bool TForm_MF_MainForm::JobPassesChecks(View view) {
    const auto [image, bytes] = ImageOfView(view);
    const std::vector<tables::Finding> findings = tables::VerifyImage(image, bytes);
    if (findings.empty()) {
        return true;
    }
    TForm_CHK_Findings dialog(findings, this);
    const int result = dialogs_.Exec(dialog);
    if (result == TForm_CHK_Findings::kGoToField && dialog.CurrentRow() >= 0) {
        GoToField(findings[static_cast<std::size_t>(dialog.CurrentRow())]);
    }
    return result == QDialog::Accepted;
}

void TForm_MF_MainForm::GoToField(const tables::Finding& finding) {
    // A field of a trunk job's second network is shown with Network 2 chosen.
    if (finding.id.starts_with("n1.") && state_.NetworkSelector == 1) {
        SpeedBtn_MF_NW1Click();
    } else if (finding.id.starts_with("n2.") && state_.NetworkSelector != 1) {
        SpeedBtn_MF_NW2Click();
    }
    if (finding.control.empty()) {
        return;
    }
    const QString name = QString::fromStdString(finding.control);
    for (FormId id : DefinitionOf(currentView_).passOrder) {
        ConfigForm* form = Form(id);
        QWidget* control = form ? form->findChild<QWidget*>(name) : nullptr;
        if (control == nullptr) {
            continue;
        }
        ShowForm(id);
        // Open every page on the way from the form to the control.
        for (QWidget* page = control; page && page != form; page = page->parentWidget()) {
            if (auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget())) {
                if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
                    tabs->setCurrentWidget(page);
                }
            }
        }
        control->setFocus();
        return;
    }
}

void TForm_MF_MainForm::CompareWith1Click() {
    const std::optional<View> view = CheckedView();
    if (state_.CommsBusy || !view || state_.ImageKind != ViewStateOf(JobViewOf(*view)).imageKind ||
        !StorePassSet(*view)) {
        return;
    }
    const JobDialogSetup setup = OpenDialogSetup(JobViewOf(*view), state_);
    FileDialogRequest request;
    request.dialog = FileDialogId::OpenJob;
    request.title = QString::fromUtf8(kCompareTitle);
    request.filters = JobFileFilters();
    request.filterIndex = setup.filterIndex;
    request.folder = QString::fromStdString((jobs_.WorkDir() / setup.folder).string());
    const std::optional<QString> chosen = dialogs_.OpenFile(request);
    if (!chosen) {
        return;
    }
    const auto read = tables::ReadJobBytes(chosen->toStdString());
    const auto [image, bytes] = ImageOfView(*view);
    const auto* job = std::get_if<tables::JobBytes>(&read);
    if (job == nullptr || job->image != image) {
        person_.Error(job ? std::string(kCompareOtherKind) : std::get<std::string>(read));
        return;
    }
    TForm_CMP_Compare dialog(QFileInfo(*chosen).fileName(),
                             tables::CompareJobs(image, bytes, job->bytes), this);
    dialogs_.Exec(dialog);
}
void TForm_MF_MainForm::PrintSetup1Click() {
    if (!state_.CommsBusy) {
        printer_->PrintSetup();
    }
}

void TForm_MF_MainForm::SerialComms1Click() {
    if (state_.CommsBusy) {
        return;
    }
    setWindowTitle(kSerialCommsCaption);
    viewGroup_.setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* item : {Menu_Forms_Trunk, Menu_Forms_PMR, Menu_Forms_Network}) {
        item->setChecked(false);
    }
    viewGroup_.setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    blank_->ShowPicture(false);
    MF_Panel_Toolbar.hide();
    TCOM_Form_SerialMonitor& monitor = radio_->SerialMonitor();
    monitor.COM_Panel_Options.show();
    if (qobject_cast<QMdiSubWindow*>(monitor.parentWidget()) == nullptr) {
        mdiArea_.addSubWindow(&monitor);
    }
    monitor.parentWidget()->showMaximized();
}

QStringList TForm_MF_MainForm::CodeFileNames(const QString& folder, const QString& pattern) const {
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

// ---- Options and help ------------------------------------------------------------------------

void TForm_MF_MainForm::Menu_Options_LevelClick() {
    if (state_.CommsBusy) {
        return;
    }
    TForm_LVL_Level dialog(
        LevelIndexFromMask(state_.UserLevelMask), person_,
        [this]() {
            TPWD_Form_Password password(this);
            return dialogs_.Exec(password);
        },
        this);
    if (dialogs_.Exec(dialog) == QDialog::Accepted && dialog.SelectedLevel() >= 0) {
        setup_.userLevelIndex = dialog.SelectedLevel();
    }
    ApplyLevel(setup_.userLevelIndex);
}

void TForm_MF_MainForm::Menu_Options_ComPortClick() {
    if (!state_.CommsBusy) {
        comPort_->ListPorts();
        dialogs_.Exec(*comPort_);  // OK moves the radio port (SetPortChanged above)
    }
}

void TForm_MF_MainForm::Menu_Options_SetupClick() {
    TForm_SET_Setup dialog(setup_.countryIndex, this);
    if (dialogs_.Exec(dialog) == QDialog::Accepted) {
        setup_.countryIndex = dialog.CountryIndex();
        state_.CountryCode = CountryCodeFromIndex(setup_.countryIndex);
    }
}

// The guide stays open beside the main window while the user works.
void TForm_MF_MainForm::Contents1Click() {
    if (!help_) {
        help_ = std::make_unique<THelpWindow>(this);
    }
    if (!help_->ShowContents()) {
        person_.Error(kHelpMissing);
        return;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void TForm_MF_MainForm::Menu_Help_AboutClick() {
    TAboutBox about(jobs_.WorkDir(), this);
    dialogs_.Exec(about);
}

void TForm_MF_MainForm::Menu_Help_VeltraClick() {
    TForm_VTR_ContactVeltra contact(jobs_.WorkDir(), this);
    dialogs_.Exec(contact);
}

// ---- Busy state, exit and close --------------------------------------------------------------

void TForm_MF_MainForm::SetCommsBusy(bool busy) {
    state_.CommsBusy = busy;
    for (QAction* item :
         {Menu_Options_ComPort, Menu_Options_Level, CopyNW1ToNW2, Menu_Forms_Trunk, Menu_Forms_PMR,
          Menu_Forms_Network, New1, Open1, Save1, CompareWith1, ReadMobile1, ProgramMobile1, Print1,
          ProgramSeveral1, PrintSetup1, RadioInformation1, RadioFirmware1}) {
        item->setEnabled(!busy);
    }
    CSVImport1.setEnabled(!busy);
    CSVExport1.setEnabled(!busy);
    for (QToolButton* button :
         {&SpeedBtn_MF_New, &SpeedBtn_MF_Open, &SpeedBtn_MF_ReadMobile, &SpeedBtn_MF_Save,
          &SpeedBtn_MF_ProgramMobile, &SpeedBtn_MF_Print, &SpBtn_MF_PMR, &SpBtn_MF_TRUNK,
          &SpeedBtn_MF_NW1, &SpeedBtn_MF_NW2}) {
        button->setEnabled(!busy);
    }
}

void TForm_MF_MainForm::Exit1Click() {
    close();
}

bool TForm_MF_MainForm::UnsavedChangesAllowClose() {
    const std::optional<View> view = CheckedView();
    return !view || OfferToSave(*view);
}

std::optional<View> TForm_MF_MainForm::ShownView() const {
    switch (state_.ImageKind) {
        case kImageTrunk:
            return View::Trunk;
        case kImagePmr:
            return View::Pmr;
        case kImageNetwork:
            return View::Network;
        default:
            return std::nullopt;
    }
}

bool TForm_MF_MainForm::MayLeaveShownJob() {
    const std::optional<View> shown = ShownView();
    return !shown || OfferToSave(*shown);
}

bool TForm_MF_MainForm::OfferToSave(View view) {
    const bool loaded = view == View::Pmr ? state_.PmrJobLoaded : state_.TrunkJobLoaded;
    if (!loaded || state_.ImageKind != ViewStateOf(JobViewOf(view)).imageKind) {
        return true;
    }
    if (!StorePassSet(view)) {
        return false;
    }
    if (view != View::Network) {
        return !jobs_.HasUnsavedChanges(JobViewOf(view)) ||
               AskToSave([this, view] { return SaveView(view); });
    }
    // The Network view shows the trunk job's network files only; the rest of the job may hold
    // changes made in the Trunk view or read from a radio, which are saved as a trunk job.
    const bool networks = jobs_.HasUnsavedChanges(JobView::Network);
    const bool trunkJob = jobs_.TrunkJobChangedBesideNetworks();
    return (!networks && !trunkJob) || AskToSave([this, networks, trunkJob] {
               return (!networks || SaveChangedNetworks()) && (!trunkJob || SaveView(View::Trunk));
           });
}

bool TForm_MF_MainForm::AskToSave(const std::function<bool()>& save) {
    switch (person_.Ask(kSaveQuestion, Buttons::YesNoCancel)) {
        case Answer::Yes:
            // A save that was cancelled or failed keeps the job: the edits are not lost.
            return save();
        case Answer::No:
            return true;
        default:
            return false;
    }
}

bool TForm_MF_MainForm::SaveChangedNetworks() {
    // A network file is saved from its own slot: each changed network is shown in turn, so that
    // the network label and the Save As dialog belong to it.
    const int shown = state_.NetworkSelector;
    for (int selector : {shown, 1 - shown}) {
        if (!jobs_.NetworkChanged(selector)) {
            continue;
        }
        if (selector != state_.NetworkSelector) {
            SwitchNetwork(selector);
        }
        if (selector != state_.NetworkSelector || !SaveView(View::Network)) {
            return false;
        }
    }
    return true;
}

void TForm_MF_MainForm::WriteSetup() {
    setup_.comPortIndex = comPort_->StoredComIndex();
    setup_.baudRateIndex = comPort_->StoredBaudIndex();
    setup_.userLevelIndex = LevelIndexFromMask(state_.UserLevelMask);
    const std::optional<View> view = CheckedView();
    setup_.viewAtExit = view ? static_cast<int>(*view) : kViewNone;
    if (!km::WriteSetup(jobs_.WorkDir(), setup_)) {
        person_.Error(CannotWriteFileText(kSetupFileName));
    }
}

void TForm_MF_MainForm::closeEvent(QCloseEvent* event) {
    if (state_.CommsBusy && person_.Ask(kBusyExitQuestion) != Answer::Yes) {
        event->ignore();
        return;
    }
    if (!UnsavedChangesAllowClose()) {
        event->ignore();
        return;
    }
    WriteSetup();
    state_.TrunkJobLoaded = false;
    state_.PmrJobLoaded = false;
    event->accept();
}

}  // namespace km
