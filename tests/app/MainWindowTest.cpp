// The main window: start-up settings, views, file commands, network buttons, exit and the busy
// state, with scripted boxes and dialogs and forms that record their passes.

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "LevelDialogs.h"
#include "MainForm.h"
#include "OptionDialogs.h"
#include "ShellFixtures.h"
#include "image/JobFiles.h"
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

    // A trunk job with both networks, opened in the Trunk view.
    void OpenJobWithTwoNetworks() {
        TrunkJobImage job;
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

        person_.answers = {Answer::Yes};
        window_->Menu_Forms_TrunkClick();
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
        TrunkJobImage job;
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

    void wrongExtensionsReturnToThePicture_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("code file") << "code.bin" << QString::fromUtf8(kProgramCodeFileError);
        QTest::newRow("text file") << "notes.txt" << QString::fromUtf8(kInvalidFileError);
        QTest::newRow("mixed case") << "job.Tnk" << QString::fromUtf8(kInvalidFileError);
    }
    void wrongExtensionsReturnToThePicture() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Start();
        StartTrunkJob();
        dialogs_.openAnswers = {WriteFile(name, std::vector<std::uint8_t>(16384, 1))};
        window_->Open1Click();
        QCOMPARE(person_.Texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(window_->PictureShown());
        QVERIFY(!state_.TrunkJobLoaded && !state_.PmrJobLoaded);
        QVERIFY(!Visible("SpBtn_MF_FormA") && !Visible("SpeedBtn_MF_NW1"));
        QVERIFY(!Visible("Lbl_MF_network"));
        QCOMPARE(window_->ActiveForm(), nullptr);
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
