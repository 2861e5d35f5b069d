#pragma once
// The main window: menus, toolbar, status bar, the start picture and the MDI area in which the
// forms of the current view are shown maximised. It owns the view commands, the file commands and
// the options dialogs; the images and the run-time state live in the Workspace and MainState it
// is given.

#include <QActionGroup>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "Dialogs.h"
#include "Views.h"
#include "download/DownloadDialog.h"
#include "fields/Field.h"
#include "forms/ConfigForm.h"
#include "image/JobFiles.h"
#include "image/Setup.h"
#include "tables/Verify.h"

class QMdiSubWindow;

namespace km {

class TForm_COM_ComPort;
class TForm_BNK_Blank;
class RadioCommands;
class THelpWindow;
class CsvCommands;
class FormPrinter;
class EditMenu;

class TForm_MF_MainForm : public QMainWindow, public Shell {
    Q_OBJECT
  public:
    // `workDir` holds Setup.dat, the templates and the job folders.
    TForm_MF_MainForm(Workspace& workspace, MainState& state, Person& person, Dialogs& dialogs,
                      std::filesystem::path workDir, QWidget* parent = nullptr);
    ~TForm_MF_MainForm() override;

    // Shell
    void ShowFormButtons() override;
    void ShowNetworkLabel() override;
    bool StoreNetworkForms() override;
    void SelectNetwork(int selector) override;
    void ShowForm(FormId id) override;
    void ReloadForm(FormId id) override;

    // Re-reads the names of the two network slots and shows the current one (when a view is
    // built from an image).
    void RefreshNetworkNames();

    // Builders of the three views from the image in memory, and new jobs from a template.
    void BuildTrunkView();
    void BuildPmrView();
    void BuildNetworkView();
    void NewTrunkJob();
    void NewPmrJob();
    void NewNetworkJob();

    // The progress window of a radio operation sets this; while busy every file, print and radio
    // command does nothing and everything that could disturb the operation is disabled.
    void SetCommsBusy(bool busy);

    // The checked view item (none while the serial monitor is shown).
    std::optional<View> CheckedView() const;
    const SetupRecord& Setup() const { return setup_; }
    JobFiles& Jobs() { return jobs_; }
    // Read Radio, Radio Information, the progress dialog and the serial monitor.
    RadioCommands& Radio() { return *radio_; }
    // The form of the current view with this id, or null when it is not open.
    ConfigForm* Form(FormId id) const override;
    // The form shown in front, or null while the start picture is shown.
    ConfigForm* ActiveForm() const;
    bool PictureShown() const;
    // The file list the radio software choice reads code file names from.
    QStringList CodeFileNames(const QString& folder, const QString& pattern) const;

    // A file given to the program on its command line (a double click in a file manager): opened
    // as File > Open opens the file its dialog returns, in the view of the file's kind. A file
    // that is not there, or a network file below the Network level, is named in a message.
    void OpenGivenFile(const std::filesystem::path& file);

    // Applies a level index: shows or hides the Network view item and the Tools menu and sets
    // UserLevelMask (also run at start-up).
    void ApplyLevel(int levelIndex);

  public slots:
    void New1Click();
    void Open1Click();
    void Save1Click();
    void ReadMobile1Click();
    void ProgramMobile1Click();
    void ProgramSeveral1Click();
    void Print1Click();
    void CompareWith1Click();
    void PrintSetup1Click();
    void Exit1Click();
    void Menu_Forms_TrunkClick();
    void Menu_Forms_PMRClick();
    void Menu_Forms_NetworkClick();
    void SpeedBtn_MF_NW1Click();
    void SpeedBtn_MF_NW2Click();
    void FormButtonClick(int index);
    void Menu_Options_LevelClick();
    void Menu_Options_ComPortClick();
    void Menu_Options_SetupClick();
    void RadioInformation1Click();
    void RadioFirmware1Click();
    void SerialComms1Click();
    void CopyNW1ToNW2Click();
    void Contents1Click();
    void Menu_Help_AboutClick();
    void Menu_Help_VeltraClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The part of Open after its dialog: the file's extension decides, whatever the view.
    void OpenChosenFile(const std::optional<std::filesystem::path>& chosen);
    void CreateMenus();
    void RunPrint(void (FormPrinter::*command)(ConfigForm&, const QString&));
    void AddPrintItem(const char* name, const char* caption,
                      void (FormPrinter::*command)(ConfigForm&, const QString&));
    void CreateToolbar();
    void CreateLongLivedForms();
    void ReadSetupAndApply();

    void BuildView(View view, bool newJob);
    void ShowViewToolbar(const ViewDefinition& definition);
    void SetFormButtons(const ViewDefinition& definition, bool showAll);
    void OpenFormsOf(const ViewDefinition& definition);
    void DestroyFormsNotIn(const ViewDefinition& definition);
    void EnsureForm(FormId id);
    // Presses the form button of the view that stands for `id` (none for a form without one).
    void PressButtonOf(FormId id);
    void HideLargeViewButtons();
    void ShowNetworkControls(bool shown);
    void CheckView(View view);
    void RefreshCaption();

    // The store and load pass sets of a view (the per-network forms alone when `perNetworkOnly`).
    // A store pass set first checks the field being edited; false cancels the command.
    bool StorePassSet(View view, bool perNetworkOnly = false);
    // The image a view edits (a Network view edits the network file of the chosen slot).
    std::pair<fields::ImageId, std::span<std::uint8_t>> ImageOfView(View view);
    // Runs every field's check over the job of the view before programming: true when nothing
    // is found or the user programs despite warnings; errors refuse, and a finding chosen in the
    // list is shown on its form.
    bool JobPassesChecks(View view);
    // Shows the form and page of a field and puts the focus in its control.
    void GoToField(const tables::Finding& finding);
    // The store pass set of the view on screen, so that a view command keeps what was typed
    // there; a view whose job is not loaded (or was just given up) has nothing to keep.
    bool StoreShownView();
    void LoadPassSet(View view, bool perNetworkOnly = false);
    void SwitchNetwork(int selector);
    bool UnsavedChangesAllowClose();
    // The unsaved-changes question for the job of `view` when it is shown: true when the job may
    // be left (nothing unsaved, saved, or No), false for Cancel or a save that did not happen.
    bool OfferToSave(View view);
    // "Do you want to save radio configuration?": Yes runs `save` (false when it was cancelled or
    // failed), No gives the changes up, Cancel keeps them.
    bool AskToSave(const std::function<bool()>& save);
    // The view whose forms are shown, if any.
    std::optional<View> ShownView() const;
    // Before a view command leaves the job on show out of sight: the unsaved-changes question.
    bool MayLeaveShownJob();
    bool SaveView(View view);
    // Exit's Yes in the Network view: saves every network whose file changed.
    bool SaveChangedNetworks();
    void WriteSetup();
    JobView JobViewOf(View view) const;

    Workspace& ws_;
    MainState& state_;
    Person& person_;
    Dialogs& dialogs_;
    JobFiles jobs_;
    SetupRecord setup_;
    FormContext context_;
    View currentView_ = View::Trunk;  // the view of the forms built, when ImageKind is not 0

    // Menus (children of the window, so that they are found by name)
    QMenu File1{"&File", this};
    QMenu CSVImport1{"CSV Import", this};
    QMenu CSVExport1{"CSV Export", this};
    QMenu Menu_Forms{"&View", this};
    QMenu Menu_Options{"Options", this};
    QMenu Tools{"Tools", this};
    QMenu Menu_Help{"&Help", this};
    QActionGroup viewGroup_{this};
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* ReadMobile1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* ProgramMobile1 = nullptr;
    QAction* ProgramSeveral1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* CompareWith1 = nullptr;
    QAction* PrintSetup1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Menu_Forms_Trunk = nullptr;
    QAction* Menu_Forms_PMR = nullptr;
    QAction* Menu_Forms_Network = nullptr;
    QAction* Menu_Options_Level = nullptr;
    QAction* Menu_Options_ComPort = nullptr;
    QAction* Menu_Options_Setup = nullptr;
    QAction* RadioInformation1 = nullptr;
    QAction* RadioFirmware1 = nullptr;
    QAction* SerialComms1 = nullptr;
    QAction* CopyNW1ToNW2 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* Menu_Help_About = nullptr;
    QAction* Menu_Help_Veltra = nullptr;

    // Toolbar
    QToolBar MF_Panel_Toolbar{"Toolbar"};
    QToolButton SpeedBtn_MF_New;
    QToolButton SpeedBtn_MF_Open;
    QToolButton SpeedBtn_MF_ReadMobile;
    QToolButton SpeedBtn_MF_Save;
    QToolButton SpeedBtn_MF_ProgramMobile;
    QToolButton SpeedBtn_MF_Print;
    QToolButton SpBtn_MF_PMR;
    QToolButton SpBtn_MF_TRUNK;
    std::array<QToolButton, kFormButtonCount> formButtons_;
    QButtonGroup formButtonGroup_;
    QToolButton SpeedBtn_MF_NW1;
    QToolButton SpeedBtn_MF_NW2;
    QButtonGroup networkButtonGroup_;
    QLabel Lbl_MF_network;
    std::array<QFrame, 2> bevels_;
    // Toolbar entries, to show and hide the buttons (a widget in a toolbar hides through its
    // action).
    struct ToolbarEntries;
    std::unique_ptr<ToolbarEntries> entries_;

    // The user level, a permanent entry of the status bar.
    QLabel MF_StatusBar_Level;

    QTimer Timer_1SecDelay;
    QTimer StopCommsTimer;

    QMdiArea mdiArea_;
    std::unique_ptr<TForm_BNK_Blank> blank_;
    std::unique_ptr<TForm_COM_ComPort> comPort_;
    std::unique_ptr<RadioCommands> radio_;
    std::unique_ptr<TForm_DLD_Download> download_;  // created on first Upgrade Software
    std::unique_ptr<THelpWindow> help_;
    std::unique_ptr<CsvCommands> csv_;      // the CSV items of the File menu
    std::unique_ptr<FormPrinter> printer_;  // Print, Print Setup, Print Preview, Print to PDF
    FormId shownForm_ = FormId::RadioType;  // the form ShowForm put on screen last
    std::unique_ptr<EditMenu> edit_;        // Undo, Redo, Copy, Paste, Bulk Edit
    // The open forms, each in its maximised MDI window (destroyed before the MDI area).
    std::array<std::unique_ptr<QMdiSubWindow>, kFormIdCount> windows_;
    std::array<ConfigForm*, kFormIdCount> forms_{};
};

}  // namespace km
