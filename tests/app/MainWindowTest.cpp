// The main window: start-up settings, views, file commands, network buttons, exit and the busy
// state, with scripted boxes and dialogs and forms that record their passes.

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "LevelDialogs.h"
#include "MainForm.h"
#include "OptionDialogs.h"
#include "ShellFixtures.h"
#include "image/JobFiles.h"
#include "image/JobMarks.h"
#include "image/NetworkFile.h"
#include "image/Setup.h"
#include "link/DataLink.h"

using namespace km;
using namespace km::testing;

namespace {

constexpr const char* kChangingView =
    "Changing view will destroy the current configuration.            \nDo you want to continue.";
constexpr const char* kNetworkMode =
    "Network Level is only required by your network provider             \nto create or modify "
    "trunk network files.             \n\nAre you sure you want to change to network mode?";
constexpr const char* kNoNetwork2 =
    "Cannot change to network 2.\nThere is no Network 2 file loaded.";
constexpr const char* kSaveQuestion = "Do you want to save radio configuration?";

std::vector<std::string> Names(std::initializer_list<FormId> ids, const char* prefix) {
    std::vector<std::string> names;
    for (FormId id : ids) {
        names.push_back(prefix + ProbeName(id));
    }
    return names;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<Workspace> ws_;
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;

    void Start(std::optional<SetupRecord> setup = std::nullopt) {
        if (setup) {
            QVERIFY(WriteSetup(dir_->Path(), *setup));
        }
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
        window_->show();
    }
    SetupRecord Levelled(int level, int view = kViewTrunk) {
        SetupRecord setup;
        setup.userLevelIndex = level;
        setup.viewAtExit = view;
        return setup;
    }
    QToolButton* Button(const char* name) const { return window_->findChild<QToolButton*>(name); }
    QAction* Action(const char* name) const { return window_->findChild<QAction*>(name); }
    // A toolbar entry is shown when its toolbar action is.
    bool Visible(const char* name) const {
        auto* widget = window_->findChild<QWidget*>(name);
        auto* toolbar = window_->findChild<QToolBar*>("MF_Panel_Toolbar");
        for (QAction* action : toolbar->actions()) {
            if (toolbar->widgetForAction(action) == widget) {
                return action->isVisible();
            }
        }
        return widget->isVisible();
    }
    QString WriteFile(const QString& name, std::span<const std::uint8_t> bytes) {
        const QString path = dir_->File(name);
        WriteFileAtomically(path.toStdString(), bytes);
        return path;
    }
    static std::vector<std::uint8_t> Text(const std::string& text) {
        return {text.begin(), text.end()};
    }
    void StartTrunkJob() {
        Button("SpBtn_MF_TRUNK")->click();
        window_->ShowFormButtons();
    }
    // A trunk job as this program stores it: radio mode Trunk Radio and format mark 100.
    static TrunkJobImage OwnTrunkJob() {
        TrunkJobImage job;
        job.SetU8(107, 1);
        job.SetU16(112, 100);
        return job;
    }
    QString LevelShown() const {
        return window_->statusBar()->findChild<QLabel*>("MF_StatusBar_Level")->text();
    }

    // A trunk job with both networks, opened in the Trunk view.
    void OpenJobWithTwoNetworks() {
        TrunkJobImage job = OwnTrunkJob();
        for (int slot = 0; slot < 2; ++slot) {
            job.SetU16(trunk::NetworkFileStart(slot) + network::kBandCode, 0x544B);
            job.SetText(trunk::NetworkFileStart(slot) + network::kName, 14,
                        slot == 0 ? "first.nwk" : "second.nwk");
        }
        dialogs_.openAnswers = {WriteFile("Jobs/two.tnk", job.Bytes())};
        window_->Open1Click();
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
    }

  private slots:
    void initTestCase() { RegisterProbeForms(); }

    void init() {
        dir_ = std::make_unique<WorkDir>();
        ws_ = std::make_unique<Workspace>();
        state_ = MainState{};
        person_ = ShellPerson{};
        dialogs_ = ScriptedDialogs{};
        PassLog().clear();
        FocusedFieldValid() = true;
    }

    void cleanup() {
        QCOMPARE(person_.unexpectedQuestions, 0);
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        if (window_) {
            state_.CommsBusy = false;
            state_.TrunkJobLoaded = false;
            state_.PmrJobLoaded = false;
            window_.reset();
        }
    }

    void startsWithDefaultsWhenSetupFileIsMissing() {
        Start();
        QCOMPARE(window_->CheckedView(), View::Trunk);
        QVERIFY(Button("SpBtn_MF_TRUNK")->isChecked());
        QVERIFY(!Action("Menu_Forms_Network")->isVisible());
        QVERIFY(!window_->findChild<QMenu*>("Tools")->menuAction()->isVisible());
        QCOMPARE(state_.UserLevelMask, 1);
        QCOMPARE(state_.CountryCode, 1);
        QCOMPARE(window_->Setup().comPortIndex, 0);
        QCOMPARE(window_->Setup().countryIndex, 1);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageNone));
        QVERIFY(window_->PictureShown());
        // The caption alone, followed by the mode caption of the blank form.
        QCOMPARE(window_->windowTitle(), QString("RCP V5.86   - [ Trunk Mode ]"));
        // Only New, Open, Read Radio and the two large view buttons lead on.
        for (const char* shown :
             {"SpeedBtn_MF_New", "SpeedBtn_MF_Open", "SpeedBtn_MF_ReadMobile", "SpBtn_MF_PMR"}) {
            QVERIFY2(Visible(shown), shown);
        }
        for (const char* hidden : {"SpeedBtn_MF_Save", "SpeedBtn_MF_ProgramMobile",
                                   "SpeedBtn_MF_Print", "SpBtn_MF_FormA", "SpeedBtn_MF_NW1"}) {
            QVERIFY2(!Visible(hidden), hidden);
        }

        QVERIFY(window_->close());
        const SetupRecord written = ReadSetup(dir_->Path());
        QCOMPARE(written, SetupRecord{});
    }

    void storedViewAndLevel_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("storedView");
        QTest::addColumn<int>("checkedView");
        QTest::addColumn<bool>("networkItem");
        QTest::addColumn<bool>("tools");
        QTest::addColumn<int>("mask");
        QTest::newRow("network view at Basic") << 0 << 3 << 1 << false << false << 1;
        QTest::newRow("network view at General") << 1 << 3 << 1 << false << false << 2;
        QTest::newRow("network view at Network") << 2 << 3 << 3 << true << false << 4;
        QTest::newRow("PMR view at Engineering") << 3 << 2 << 2 << true << true << 8;
        QTest::newRow("no view at General") << 1 << 0 << 1 << false << false << 2;
    }
    void storedViewAndLevel() {
        QFETCH(int, level);
        QFETCH(int, storedView);
        QFETCH(int, checkedView);
        QFETCH(bool, networkItem);
        QFETCH(bool, tools);
        QFETCH(int, mask);
        Start(Levelled(level, storedView));
        QCOMPARE(static_cast<int>(*window_->CheckedView()), checkedView);
        QCOMPARE(Action("Menu_Forms_Network")->isVisible(), networkItem);
        QCOMPARE(window_->findChild<QMenu*>("Tools")->menuAction()->isVisible(), tools);
        QCOMPARE(state_.UserLevelMask, mask);
    }

    void trunkButtonAtStartStartsNewJobWithoutQuestion() {
        Start();
        Button("SpBtn_MF_TRUNK")->click();
        QVERIFY(person_.shown.empty());
        QVERIFY(state_.TrunkJobLoaded);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QCOMPARE(state_.RadioModeMask, 2);
        QCOMPARE(state_.RadioTypeMask, 16);
        QVERIFY(!window_->PictureShown());
        QVERIFY(!Visible("SpBtn_MF_TRUNK") && !Visible("SpBtn_MF_PMR"));
        // A new job shows "Select Radio Type" alone until the Radio Type form is completed.
        QVERIFY(Visible("SpBtn_MF_FormA"));
        QVERIFY(!Visible("SpBtn_MF_FormB") && !Visible("SpeedBtn_MF_NW1"));
        QCOMPARE(Button("SpBtn_MF_FormA")->toolTip(), QString("Select Radio Type"));
        QCOMPARE(window_->ActiveForm(), window_->Form(FormId::RadioType));
        QCOMPARE(PassLog(), Names({FormId::RadioType, FormId::UserInterface, FormId::Identities,
                                   FormId::NetworkOptions, FormId::TextStrings},
                                  "L:"));
        const auto lastSaved = ReadFileBytes(dir_->Path() / "LastSaved.tnk", 1 << 16);
        QVERIFY(lastSaved && lastSaved->size() == TrunkJobImage::kSize);
        QVERIFY(window_->windowTitle().startsWith(QString("RCP V5.86  <>") + QString(25, ' ') +
                                                  " TRUNK RADIO     "));

        window_->ShowFormButtons();
        QVERIFY(Visible("SpBtn_MF_FormE") && !Visible("SpBtn_MF_FormF"));
        QCOMPARE(Button("SpBtn_MF_FormC")->text(), QString("ID"));
        QVERIFY(Visible("SpeedBtn_MF_NW1") && Visible("Lbl_MF_network"));
    }

    void pmrToTrunkAsksOnlyWithPmrJob() {
        Start(Levelled(0, kViewPmr));
        Button("SpBtn_MF_TRUNK")->click();  // no image yet: a new trunk job, no question
        QVERIFY(person_.shown.empty());
        QVERIFY(state_.TrunkJobLoaded);

        person_.answers = {Answer::Yes};  // Trunk to PMR drops the trunk job
        window_->Menu_Forms_PMRClick();
        QVERIFY(person_.Showed(kChangingView));
        QVERIFY(state_.PmrJobLoaded && !state_.TrunkJobLoaded);
        ws_->trunk.SetU8(500, 0x5A);
        ws_->pmr.SetU8(500, 0xA5);
        const TrunkJobImage trunkBefore = ws_->trunk;
        const PmrJobImage pmrBefore = ws_->pmr;

        person_.answers = {Answer::No};
        window_->Menu_Forms_TrunkClick();
        QCOMPARE(person_.shown.size(), std::size_t{2});
        QCOMPARE(window_->CheckedView(), View::Pmr);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImagePmr));
        QVERIFY(state_.PmrJobLoaded);
        QVERIFY(ws_->trunk == trunkBefore);
        QVERIFY(ws_->pmr == pmrBefore);

        // The PMR job was changed: after Yes the unsaved-changes question; No drops the job.
        person_.answers = {Answer::Yes, Answer::No};
        window_->Menu_Forms_TrunkClick();
        QCOMPARE(person_.shown.back().text, std::string(kSaveQuestion));
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QVERIFY(state_.TrunkJobLoaded && !state_.PmrJobLoaded);
    }

    void network2WithoutNetwork2WarnsAndKeepsNetwork1() {
        Start();
        StartTrunkJob();
        Button("SpeedBtn_MF_NW2")->click();
        QCOMPARE(person_.Texts(), std::vector<std::string>{kNoNetwork2});
        QVERIFY(Button("SpeedBtn_MF_NW1")->isChecked());
        QCOMPARE(state_.NetworkSelector, 0);

        // With a Network 2 the per-network forms store into slot 1's data and load slot 2's.
        ws_->trunk.SetU16(trunk::NetworkFileStart(1) + network::kBandCode, 0x4142);
        ws_->trunk.SetText(trunk::NetworkFileStart(1) + network::kName, 14, "second.nwk");
        window_->RefreshNetworkNames();
        PassLog().clear();
        Button("SpeedBtn_MF_NW2")->click();
        QCOMPARE(state_.NetworkSelector, 1);
        QVERIFY(Button("SpeedBtn_MF_NW2")->isChecked());
        QCOMPARE(window_->findChild<QLabel*>("Lbl_MF_network")->text(), QString("second.nwk"));
        std::vector<std::string> expected =
            Names({FormId::Identities, FormId::NetworkOptions}, "S:");
        for (const auto& load : Names({FormId::Identities, FormId::NetworkOptions}, "L:")) {
            expected.push_back(load);
        }
        // The load pass set ends with the visibility refreshes, which the probes do not log.
        QCOMPARE(PassLog(), expected);

        // A new job starts on Network 1 again.
        window_->New1Click();
        QCOMPARE(state_.NetworkSelector, 0);
    }

    void exitAfterSaveAsksNothing() {
        Start();
        StartTrunkJob();
        dialogs_.saveAnswers = {dir_->File("Jobs/first.tnk")};
        window_->Save1Click();
        QVERIFY(QFileInfo::exists(dir_->File("Jobs/first.tnk")));
        QVERIFY(window_->windowTitle().contains("<first.tnk>"));
        QVERIFY(window_->close());
        QVERIFY(person_.shown.empty());
        QCOMPARE(ReadSetup(dir_->Path()).viewAtExit, static_cast<int>(kViewTrunk));
    }

    void exitAfterEditAsksAndCancelKeepsTheProgram() {
        Start();
        StartTrunkJob();
        ws_->trunk.SetU8(300, 0x33);  // an edit, as a form's store pass leaves it
        person_.answers = {Answer::Cancel};
        QVERIFY(!window_->close());
        QCOMPARE(person_.Texts(), std::vector<std::string>{kSaveQuestion});
        QCOMPARE(person_.shown.back().buttons, Buttons::YesNoCancel);
        QVERIFY(!QFileInfo::exists(dir_->File("Setup.dat")));

        // Yes with the save dialog cancelled keeps the program and the edit.
        person_.answers = {Answer::Yes};
        dialogs_.saveAnswers = {std::nullopt};
        QVERIFY(!window_->close());
        QVERIFY(state_.TrunkJobLoaded);

        person_.answers = {Answer::Yes};
        dialogs_.saveAnswers = {dir_->File("Jobs/second.tnk")};
        QVERIFY(window_->close());
        const auto saved = ReadFileBytes(dir_->Path() / "Jobs/second.tnk", 1 << 16);
        QVERIFY(saved && saved->at(300) == 0x33);
    }

    void versionWordAloneIsNoUnsavedChange() {
        Start();
        StartTrunkJob();
        ws_->trunk.SetU16(kVersionWordOffset, 1234);
        QVERIFY(window_->close());
        QVERIFY(person_.shown.empty());
    }

    void networkEditsAskBeforeExit() {
        Start(Levelled(2));
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageNetwork));
        QVERIFY(person_.Showed(kNetworkMode));
        ws_->trunk.SetU8(trunk::NetworkFileStart(0) + 40, 0x41);
        person_.answers = {Answer::No};
        QVERIFY(window_->close());
        QVERIFY(person_.Showed(kSaveQuestion));
    }

    void networkEditAsksBeforeExitAfterMovingToTheOtherNetwork() {
        Start(Levelled(2));
        OpenJobWithTwoNetworks();
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        ws_->trunk.SetU8(trunk::NetworkFileStart(0) + 40, 0x41);  // an edit of Network 1
        Button("SpeedBtn_MF_NW2")->click();
        QCOMPARE(state_.NetworkSelector, 1);
        // Choosing the Network view again rebuilds it, and the edit is still unsaved.
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        person_.shown.clear();

        // Yes saves the changed network from its own slot; the unchanged one is not offered.
        person_.answers = {Answer::Yes};
        dialogs_.saveAnswers = {dir_->File("Networks/edited.nwk")};
        QVERIFY(window_->close());
        QCOMPARE(person_.Texts(), std::vector<std::string>{kSaveQuestion});
        QCOMPARE(state_.NetworkSelector, 0);
        QCOMPARE(dialogs_.requests.back().title, QString("Save As - Network File"));
        const auto saved = ReadFileBytes(dir_->Path() / "Networks/edited.nwk", 1 << 16);
        QVERIFY(saved && saved->size() == NetworkImage::kSize);
        QCOMPARE(saved->at(40), std::uint8_t{0x41});
    }

    void choosingTheShownViewStoresBeforeItLoads_data() {
        QTest::addColumn<int>("view");
        QTest::newRow("Trunk") << static_cast<int>(View::Trunk);
        QTest::newRow("PMR") << static_cast<int>(View::Pmr);
        QTest::newRow("Network") << static_cast<int>(View::Network);
    }
    void choosingTheShownViewStoresBeforeItLoads() {
        QFETCH(int, view);
        const View shown = static_cast<View>(view);
        Start(Levelled(2, view));
        const auto choose = [this, shown] {
            switch (shown) {
                case View::Trunk:
                    window_->Menu_Forms_TrunkClick();
                    break;
                case View::Pmr:
                    window_->Menu_Forms_PMRClick();
                    break;
                case View::Network:
                    person_.answers = {Answer::Yes};
                    window_->Menu_Forms_NetworkClick();
                    break;
            }
        };
        choose();
        QCOMPARE(window_->CheckedView(), shown);
        const auto order = DefinitionOf(shown).passOrder;
        std::vector<std::string> expected;
        for (const char* prefix : {"S:", "L:"}) {
            for (FormId id : order) {
                expected.push_back(prefix + ProbeName(id));
            }
        }
        PassLog().clear();
        choose();
        QCOMPARE(PassLog(), expected);

        // A typed value that fails its check keeps the view, and nothing loads over the text.
        PassLog().clear();
        FocusedFieldValid() = false;
        choose();
        QVERIFY(PassLog().empty());
        QCOMPARE(window_->CheckedView(), shown);
    }

    void commandsDoNothingWhileBusy() {
        Start(Levelled(3));
        StartTrunkJob();
        const MainState before = state_;
        const TrunkJobImage image = ws_->trunk;
        window_->SetCommsBusy(true);
        PassLog().clear();
        window_->New1Click();
        window_->Open1Click();
        window_->Save1Click();
        window_->Menu_Forms_PMRClick();
        window_->Menu_Forms_NetworkClick();
        window_->SpeedBtn_MF_NW2Click();
        window_->CopyNW1ToNW2Click();
        window_->Menu_Options_LevelClick();
        window_->Menu_Options_ComPortClick();
        QVERIFY(person_.shown.empty());
        QVERIFY(dialogs_.requests.empty());
        QVERIFY(PassLog().empty());
        QVERIFY(ws_->trunk == image);
        QCOMPARE(state_.ImageKind, before.ImageKind);
        QCOMPARE(window_->CheckedView(), View::Trunk);
        QVERIFY(!Action("Menu_Options_ComPort")->isEnabled());
        QVERIFY(!Action("Menu_Forms_PMR")->isEnabled());
        QVERIFY(!Button("SpeedBtn_MF_NW2")->isEnabled());

        window_->SetCommsBusy(false);
        QVERIFY(Action("Menu_Options_ComPort")->isEnabled());
    }

    void exitDuringAnOperationAsksFirst() {
        Start();
        window_->SetCommsBusy(true);
        QFile::remove(dir_->File("Setup.dat"));
        person_.answers = {Answer::No};
        QVERIFY(!window_->close());
        QCOMPARE(person_.shown.size(), std::size_t{1});
        QCOMPARE(person_.shown.front().kind, BoxKind::Confirmation);
        QVERIFY(!QFileInfo::exists(dir_->File("Setup.dat")));

        person_.answers = {Answer::Yes};
        QVERIFY(window_->close());
        QVERIFY(QFileInfo::exists(dir_->File("Setup.dat")));
    }

    void storePassesRunInOrderAfterTheFocusedFieldIsChecked() {
        Start();
        StartTrunkJob();
        PassLog().clear();
        FocusedFieldValid() = false;
        window_->Save1Click();
        QVERIFY(dialogs_.requests.empty());
        QVERIFY(PassLog().empty());

        FocusedFieldValid() = true;
        dialogs_.saveAnswers = {std::nullopt};
        window_->Save1Click();
        QCOMPARE(PassLog(), Names({FormId::RadioType, FormId::UserInterface, FormId::Identities,
                                   FormId::NetworkOptions, FormId::TextStrings},
                                  "S:"));
        QCOMPARE(dialogs_.requests.back().title, QString("Save As - Trunking Job File"));
        QCOMPARE(dialogs_.requests.back().filterIndex, 1);
    }

    void trunkFileOpenedInPmrViewSwitchesToTrunk() {
        Start(Levelled(0, kViewPmr));
        Button("SpBtn_MF_PMR")->click();
        QCOMPARE(state_.ImageKind, static_cast<int>(kImagePmr));
        TrunkJobImage job = OwnTrunkJob();
        job.SetU8(700, 0x77);
        dialogs_.openAnswers = {WriteFile("Jobs/job.tnk", job.Bytes())};
        window_->Open1Click();
        QCOMPARE(dialogs_.requests.back().title, QString("Open - PMR Job File"));
        QCOMPARE(window_->CheckedView(), View::Trunk);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QVERIFY(state_.TrunkJobLoaded);
        QCOMPARE(ws_->trunk.U8(700), 0x77);
        QVERIFY(window_->windowTitle().contains("<job.tnk>"));
        // An opened job shows all its form buttons and the network controls.
        QVERIFY(Visible("SpBtn_MF_FormE") && Visible("SpeedBtn_MF_NW1"));
    }

    void networkFileOpensOnlyAtNetworkLevel_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("opens");
        QTest::newRow("General") << 1 << false;
        QTest::newRow("Network") << 2 << true;
    }
    void networkFileOpensOnlyAtNetworkLevel() {
        QFETCH(int, level);
        QFETCH(bool, opens);
        Start(Levelled(level));
        NetworkImage file;
        file.SetText(network::kMarker, 16, "--NETWORK FILE--");
        file.SetU16(network::kBandCode, 0x4142);
        dialogs_.openAnswers = {WriteFile("Networks/net.nwk", file.Bytes())};
        window_->Open1Click();
        QCOMPARE(state_.TrunkJobLoaded, opens);
        QCOMPARE(state_.ImageKind, opens ? static_cast<int>(kImageNetwork) : 0);
        const auto slot = ws_->trunk.Region(trunk::NetworkFileStart(0), NetworkImage::kSize);
        QCOMPARE(std::equal(slot.begin(), slot.end(), file.Bytes().begin()), opens);
        if (opens) {
            QCOMPARE(window_->CheckedView(), View::Network);
            QVERIFY(!Visible("SpeedBtn_MF_ReadMobile") && Visible("SpeedBtn_MF_Save"));
        }
    }

    void networkFileOpenChecksSizeSchemeAndBand_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("message");
        QTest::newRow("short") << 1535 << 0 << 0x544B << QString::fromUtf8(kNetworkFileSizeError);
        QTest::newRow("long") << 1537 << 0 << 0x544B << QString::fromUtf8(kNetworkFileSizeError);
        QTest::newRow("scheme") << 1536 << 4 << 0x544B << QString::fromUtf8(kUnknownSchemeError);
        QTest::newRow("no band") << 1536 << 3 << 0 << QString::fromUtf8(kNetworkNoBandError);
    }
    void networkFileOpenChecksSizeSchemeAndBand() {
        QFETCH(int, size);
        QFETCH(int, scheme);
        QFETCH(int, band);
        QFETCH(QString, message);
        Start(Levelled(2));
        StartTrunkJob();
        const TrunkJobImage before = ws_->trunk;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size), 0);
        const std::string_view marker = "--NETWORK FILE--";
        std::copy(marker.begin(), marker.end(), bytes.begin());
        bytes[92] = static_cast<std::uint8_t>(band & 0xFF);
        bytes[93] = static_cast<std::uint8_t>(band >> 8);
        bytes[94] = static_cast<std::uint8_t>(scheme);
        dialogs_.openAnswers = {WriteFile("Networks/bad.nwk", bytes)};
        window_->Open1Click();
        QCOMPARE(person_.Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(person_.shown.front().kind, BoxKind::Error);
        QVERIFY(ws_->trunk == before);
        QCOMPARE(window_->CheckedView(), View::Trunk);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
    }

    void wrongExtensionsLeaveTheJobOnScreen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("code file") << "code.bin" << QString::fromUtf8(kProgramCodeFileError);
        QTest::newRow("text file") << "notes.txt" << QString::fromUtf8(kInvalidFileError);
        QTest::newRow("mixed case") << "job.Tnk" << QString::fromUtf8(kInvalidFileError);
    }
    // A file of another kind says what is wrong with it and leaves the job, the view and its
    // forms as they were, so that Save still saves the job.
    void wrongExtensionsLeaveTheJobOnScreen() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Start();
        StartTrunkJob();
        ws_->trunk.SetU8(300, 0x33);
        const TrunkJobImage before = ws_->trunk;
        ConfigForm* shown = window_->ActiveForm();
        QVERIFY(shown != nullptr);
        dialogs_.openAnswers = {WriteFile(name, std::vector<std::uint8_t>(16384, 1))};
        window_->Open1Click();
        QCOMPARE(person_.Texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(!window_->PictureShown());
        QVERIFY(state_.TrunkJobLoaded);
        QVERIFY(ws_->trunk == before);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QVERIFY(Visible("SpBtn_MF_FormA") && Visible("SpBtn_MF_FormB"));
        QCOMPARE(window_->ActiveForm(), shown);
        QVERIFY(shown->isVisible());
        dialogs_.saveAnswers = {dir_->File("kept.tnk")};
        window_->Save1Click();
        QVERIFY(!person_.Showed(kCannotSaveNoJob));
        QVERIFY(std::filesystem::exists(dir_->File("kept.tnk").toStdString()));
    }

    void levelBelowNetworkLeavesTheNetworkView() {
        Start(Levelled(2));
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        dialogs_.modal = {[](QDialog& dialog) {
            dialog.findChildren<QRadioButton*>().at(kLevelGeneral)->click();
            return static_cast<int>(QDialog::Accepted);
        }};
        window_->Menu_Options_LevelClick();
        QCOMPARE(state_.UserLevelMask, 2);
        QCOMPARE(window_->CheckedView(), View::Trunk);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QVERIFY(!Action("Menu_Forms_Network")->isVisible());
    }

    void fileOfRandomBytesIsNotTakenForAJob_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("opensAs");
        QTest::newRow("trunk") << "noise.tnk" << 16384 << static_cast<int>(kImageTrunk);
        QTest::newRow("network") << "noise.nwk" << 1536 << static_cast<int>(kImageNetwork);
    }
    void fileOfRandomBytesIsNotTakenForAJob() {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(int, opensAs);
        Start(Levelled(2));
        StartTrunkJob();
        ws_->trunk.SetU8(300, 0x33);
        const TrunkJobImage before = ws_->trunk;
        const QString title = window_->windowTitle();
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        std::uint32_t seed = 12345;
        for (auto& byte : bytes) {
            seed = seed * 1103515245 + 12345;
            byte = static_cast<std::uint8_t>(seed >> 16);
        }
        if (opensAs == kImageNetwork) {  // a scheme and a band that the other checks take
            bytes[92] = 0x4B;
            bytes[93] = 0x54;
            bytes[94] = 1;
            bytes[95] = 0;
        }
        const QString path = WriteFile(name, bytes);
        const JobKind kind = opensAs == kImageNetwork ? JobKind::Network : JobKind::Trunk;
        const std::string question = NotOwnJobQuestion(kind, name.toStdString());

        person_.answers = {Answer::No};
        dialogs_.openAnswers = {path};
        window_->Open1Click();
        QCOMPARE(person_.Texts(), std::vector<std::string>{question});
        QCOMPARE(person_.shown.back().kind, BoxKind::Warning);
        QCOMPARE(person_.shown.back().buttons, Buttons::YesNo);
        QVERIFY(ws_->trunk == before);
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageTrunk));
        QCOMPARE(window_->windowTitle(), title);
        QVERIFY(!person_.Showed(kSaveQuestion));

        person_.answers = {Answer::Yes};
        dialogs_.openAnswers = {path};
        window_->Open1Click();
        QCOMPARE(state_.ImageKind, opensAs);
        QVERIFY(!(ws_->trunk == before));
    }

    void userLevelIsShownInTheStatusBar() {
        Start(Levelled(0));
        auto* label = window_->statusBar()->findChild<QLabel*>("MF_StatusBar_Level");
        QVERIFY(label && label->isVisible());
        QCOMPARE(LevelShown(), QString("Level 1  Basic"));
        dialogs_.modal = {[](QDialog& dialog) {
            dialog.findChildren<QRadioButton*>().at(kLevelGeneral)->click();
            return static_cast<int>(QDialog::Accepted);
        }};
        window_->Menu_Options_LevelClick();
        QCOMPARE(LevelShown(), QString("Level 2  General"));
        // A stored level no row has works as General, and says so.
        window_->ApplyLevel(7);
        QCOMPARE(LevelShown(), QString("Level 2  General"));
        window_->ApplyLevel(kLevelEngineering);
        QCOMPARE(LevelShown(), QString("Level 4  Engineering"));
        // An operation's message beside it leaves the level in place.
        window_->statusBar()->showMessage("Radio programmed");
        QVERIFY(label->isVisible());
        QCOMPARE(LevelShown(), QString("Level 4  Engineering"));
    }

    void leavingAnUnsavedJobForAnotherViewAsksToSaveIt_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("saveAnswer");  // -1: the job was not changed, so no question
        QTest::addColumn<int>("shownAfter");
        const int trunk = kImageTrunk;
        const int pmr = kImagePmr;
        const int network = kImageNetwork;
        const int yes = static_cast<int>(Answer::Yes);
        const int no = static_cast<int>(Answer::No);
        const int cancel = static_cast<int>(Answer::Cancel);
        QTest::newRow("PMR to Network, Cancel stays") << pmr << network << cancel << pmr;
        QTest::newRow("PMR to Network, Yes saves") << pmr << network << yes << network;
        QTest::newRow("PMR to Network, nothing unsaved") << pmr << network << -1 << network;
        QTest::newRow("PMR to Trunk, No drops") << pmr << trunk << no << trunk;
        QTest::newRow("PMR to Trunk, Cancel stays") << pmr << trunk << cancel << pmr;
        QTest::newRow("Trunk to PMR, Yes saves") << trunk << pmr << yes << pmr;
        QTest::newRow("Network to PMR, Cancel stays") << network << pmr << cancel << network;
    }
    void leavingAnUnsavedJobForAnotherViewAsksToSaveIt() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, saveAnswer);
        QFETCH(int, shownAfter);
        Start(Levelled(2));
        auto command = [this](int view) {
            switch (view) {
                case kImagePmr:
                    return window_->Menu_Forms_PMRClick();
                case kImageNetwork:
                    return window_->Menu_Forms_NetworkClick();
                default:
                    return window_->Menu_Forms_TrunkClick();
            }
        };
        // A job of the first view, changed as a radio read or an edit leaves it.
        person_.answers = {Answer::Yes};  // the Network view's own question
        command(from);
        QCOMPARE(state_.ImageKind, from);
        const bool changed = saveAnswer >= 0;
        const std::size_t changedAt =
            from == kImageNetwork ? trunk::NetworkFileStart(0) + 40 : std::size_t{500};
        if (changed) {
            (from == kImagePmr ? ws_->pmr.SetU8(changedAt, 0x5A)
                               : ws_->trunk.SetU8(changedAt, 0x5A));
        }
        person_.shown.clear();
        const std::string first = to == kImageNetwork ? kNetworkMode : kChangingView;
        person_.answers = {Answer::Yes};
        if (changed) {
            person_.answers.push_back(static_cast<Answer>(saveAnswer));
        }
        const QString savedAs = dir_->File(from == kImagePmr       ? "Jobs/kept.pmr"
                                           : from == kImageNetwork ? "Networks/kept.nwk"
                                                                   : "Jobs/kept.tnk");
        if (saveAnswer == static_cast<int>(Answer::Yes)) {
            dialogs_.saveAnswers = {savedAs};
        }
        command(to);

        std::vector<std::string> asked = {first};
        if (changed) {
            asked.push_back(kSaveQuestion);
        }
        QCOMPARE(person_.Texts(), asked);
        QCOMPARE(state_.ImageKind, shownAfter);
        QCOMPARE(window_->CheckedView(),
                 static_cast<View>(shownAfter == kImagePmr       ? View::Pmr
                                   : shownAfter == kImageNetwork ? View::Network
                                                                 : View::Trunk));
        if (shownAfter == from && changed) {
            QCOMPARE(from == kImagePmr ? ws_->pmr.U8(changedAt) : ws_->trunk.U8(changedAt), 0x5A);
        }
        const auto saved = ReadFileBytes(savedAs.toStdString(), 1 << 17);
        QCOMPARE(saved.has_value(), saveAnswer == static_cast<int>(Answer::Yes));
        if (saved) {
            const std::size_t inFile = from == kImageNetwork ? 40 : changedAt;
            QCOMPARE(saved->at(inFile), std::uint8_t{0x5A});
        }
    }

    // A trunk job changed in the Trunk view (or read from a radio) and then shown in the Network
    // view is not lost at exit: the Network view's test covers the rest of the trunk job too.
    void trunkJobChangesAreOfferedForSavingFromTheNetworkView() {
        Start(Levelled(2));
        StartTrunkJob();
        ws_->trunk.SetU8(300, 0x33);
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        QCOMPARE(state_.ImageKind, static_cast<int>(kImageNetwork));
        QCOMPARE(person_.Texts(), std::vector<std::string>{kNetworkMode});

        person_.answers = {Answer::Cancel};
        QVERIFY(!window_->close());
        QCOMPARE(person_.shown.back().text, std::string(kSaveQuestion));

        // Yes saves the trunk job as a trunk job; the networks were not changed.
        person_.answers = {Answer::Yes};
        dialogs_.saveAnswers = {dir_->File("Jobs/kept.tnk")};
        QVERIFY(window_->close());
        QCOMPARE(dialogs_.requests.back().title, QString("Save As - Trunking Job File"));
        const auto saved = ReadFileBytes(dir_->Path() / "Jobs/kept.tnk", 1 << 16);
        QVERIFY(saved && saved->at(300) == 0x33);
    }

    void settingsThatCannotBeWrittenAreReported() {
        Start();
        QVERIFY(QDir(dir_->File("")).mkdir("Setup.dat"));  // a folder in the file's place
        QVERIFY(window_->close());
        QCOMPARE(person_.Texts(), std::vector<std::string>{"Cannot write file Setup.dat."});
    }

    void setupDialogChoosesTheCountry() {
        Start();
        int shownCountry = -1;
        dialogs_.modal = {[&](QDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>("Combo_SET_Country");
            shownCountry = combo->currentIndex();
            combo->setCurrentIndex(2);
            return static_cast<int>(QDialog::Accepted);
        }};
        window_->Menu_Options_SetupClick();
        QCOMPARE(shownCountry, 1);
        QCOMPARE(state_.CountryCode, 5);
        QVERIFY(window_->close());
        QCOMPARE(ReadSetup(dir_->Path()).countryIndex, 2);
    }

    void comPortRowsNameTheDeviceOfEachComNumber() {
        const QString here = WriteFile("line-here", Text(""));
        const QString gone = dir_->File("gone");
        WriteFile("comports.cfg",
                  Text("COM1=" + here.toStdString() + "\nCOM2=" + gone.toStdString()));
        Start();
        QStringList rows;
        dialogs_.modal = {[&](QDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>("ComboBox_COM_ComPort");
            for (int i = 0; i < combo->count(); ++i) {
                rows << combo->itemText(i);
            }
            dialog.findChild<QPushButton*>("BitBtn_COM_Cancel")->click();
            return dialog.result();
        }};
        window_->Menu_Options_ComPortClick();
        QCOMPARE(rows.size(), kComPortCount);
        // The marks stand in one column below each other, whatever the length of the device.
        QVERIFY2(rows[0].startsWith("COM1   " + here + "   "), qPrintable(rows[0]));
        QVERIFY2(rows[1].startsWith("COM2   " + gone + "   "), qPrintable(rows[1]));
        QVERIFY(rows[0].endsWith("(comports.cfg)"));
        QVERIFY(rows[1].endsWith("(comports.cfg)   (absent)"));
        QCOMPARE(rows[1].indexOf("(comports.cfg)"), rows[0].indexOf("(comports.cfg)"));
        QVERIFY(rows[1].indexOf("(comports.cfg)") > 7 + here.size());
        for (int i = 0; i < kComPortCount; ++i) {
            QVERIFY2(rows[i].startsWith(QStringLiteral("COM%1 ").arg(i + 1)), qPrintable(rows[i]));
            QVERIFY(rows[i].contains("/"));
        }
        // Listed afresh each time: a device that appears is no longer marked absent.
        WriteFile("gone", Text(""));
        dialogs_.modal = {[&](QDialog& dialog) {
            rows[1] = dialog.findChild<QComboBox*>("ComboBox_COM_ComPort")->itemText(1);
            dialog.findChild<QPushButton*>("BitBtn_COM_Cancel")->click();
            return dialog.result();
        }};
        window_->Menu_Options_ComPortClick();
        QVERIFY2(rows[1].endsWith(" (comports.cfg)"), qPrintable(rows[1]));
        QVERIFY(!rows[1].contains("(absent)"));
    }

    void comPortCancelRestoresTheStoredPort() {
        // COM12 leads nowhere, so that OK opens no device of this machine.
        WriteFile("comports.cfg", Text("COM12=" + dir_->File("no-such-device").toStdString()));
        Start();
        int rows = 0;
        int afterCancel = -1;
        dialogs_.modal = {
            [&](QDialog& dialog) {
                auto* combo = dialog.findChild<QComboBox*>("ComboBox_COM_ComPort");
                rows = combo->count();
                combo->setCurrentIndex(7);
                dialog.findChild<QPushButton*>("BitBtn_COM_Cancel")->click();
                afterCancel = combo->currentIndex();
                return dialog.result();
            },
            [](QDialog& dialog) {
                dialog.findChild<QComboBox*>("ComboBox_COM_ComPort")->setCurrentIndex(11);
                dialog.findChild<QPushButton*>("BitBtn2")->click();
                return dialog.result();
            }};
        window_->Menu_Options_ComPortClick();
        QCOMPARE(rows, kComPortCount);
        QCOMPARE(afterCancel, 0);
        QCOMPARE(window_->Setup().comPortIndex, 0);
        window_->Menu_Options_ComPortClick();
        QCOMPARE(window_->Setup().comPortIndex, 11);
        QCOMPARE(person_.Texts(), std::vector<std::string>{kPortDoesNotExistText});
        QVERIFY(window_->close());
        QCOMPARE(ReadSetup(dir_->Path()).comPortIndex, 11);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
