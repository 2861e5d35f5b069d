// The real forms in the real main window, as a dealer meets them: leaving a group cell empty, a
// file that is no job, CSV exports of what the forms show, the form on screen and its button,
// the Network Options pages, the name a network is saved under, and rows on the clipboard.
// With KM_SCREENSHOT_DIR set, the pages changed here are saved as pictures.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/Undo.h"
#include "forms/mobile/MobForm.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/ZoneEditor.h"
#include "forms/trunk/IdForm.h"
#include "forms/trunk/NwoForm.h"
#include "image/JobFiles.h"
#include "image/JobMarks.h"
#include "image/Setup.h"
#include "pmr/ChannelTable.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;
using testing::WorkDir;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";
constexpr std::string_view kGroupLength = "Invalid Number \nIdentities must be 9 or 10 digits long";

std::string FileText(const QString& path) {
    const auto bytes = ReadFileBytes(path.toStdString(), 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

class DeskFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file : {"default.tct", "default.cct"}) {
            std::filesystem::copy_file(kData / file, dir_.Path() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        for (const auto& entry : std::filesystem::directory_iterator(kData / "Networks")) {
            std::filesystem::copy_file(entry.path(),
                                       dir_.Path() / "Networks" / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
    void Start(int view, int level = 0) {
        SetupRecord setup;
        setup.viewAtExit = view;
        setup.userLevelIndex = level;
        ASSERT_TRUE(WriteSetup(dir_.Path(), setup));
        window_ = std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_.Path());
        window_->resize(1100, 760);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void TearDown() override {
        EXPECT_EQ(person_.unexpectedQuestions, 0);
        EXPECT_EQ(dialogs_.unexpectedDialogs, 0);
        state_.TrunkJobLoaded = false;
        state_.PmrJobLoaded = false;
        window_.reset();
    }
    template <class Form>
    Form& FormOf(FormId id) const {
        return *dynamic_cast<Form*>(window_->Form(id));
    }
    QToolButton& Button(const char* name) const { return *window_->findChild<QToolButton*>(name); }
    QAction& Action(const char* name) const { return *window_->findChild<QAction*>(name); }
    // A toolbar entry is shown when its toolbar action is.
    bool Shown(const char* name) const {
        auto* widget = window_->findChild<QWidget*>(name);
        auto* toolbar = window_->findChild<QToolBar*>("MF_Panel_Toolbar");
        for (QAction* action : toolbar->actions()) {
            if (toolbar->widgetForAction(action) == widget) {
                return action->isVisible();
            }
        }
        return widget->isVisible();
    }
    // The form windows on screen.
    std::vector<ConfigForm*> FormsShown() const {
        std::vector<ConfigForm*> shown;
        for (int id = 0; id < kFormIdCount; ++id) {
            ConfigForm* form = window_->Form(static_cast<FormId>(id));
            if (form != nullptr && form->isVisible()) {
                shown.push_back(form);
            }
        }
        return shown;
    }
    // The form the pressed form button stands for.
    ConfigForm* FormOfPressedButton() const {
        static const std::pair<const char*, std::array<std::optional<FormId>, 2>> kButtons[] = {
            {"SpBtn_MF_FormA", {FormId::RadioType, FormId::RadioType}},
            {"SpBtn_MF_FormB", {FormId::UserInterface, FormId::UserInterface}},
            {"SpBtn_MF_FormC", {FormId::Identities, FormId::Channels}},
            {"SpBtn_MF_FormD", {FormId::NetworkOptions, FormId::Selcall}},
            {"SpBtn_MF_FormE", {FormId::TextStrings, FormId::EncodeDecode}},
            {"SpBtn_MF_FormF", {std::nullopt, FormId::TextStrings}},
        };
        for (const auto& [name, forms] : kButtons) {
            const auto form = forms[state_.ImageKind == kImagePmr ? 1 : 0];
            if (Button(name).isChecked() && form) {
                return window_->Form(*form);
            }
        }
        return nullptr;
    }
    // A cell typed into through its editor, as a user types.
    void TypeInCell(QTableWidget& grid, int line, int column, const QString& keys) {
        grid.setFocus();
        grid.setCurrentCell(line, column);
        grid.editItem(grid.item(line, column));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        if (keys.isEmpty()) {
            QTest::keyClick(editor, Qt::Key_Delete);
        } else {
            QTest::keyClicks(editor, keys);
        }
    }

    WorkDir dir_;
    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;
};

// ---- Identities: the Groups page -------------------------------------------------------------

TEST_F(DeskFormsTest, AnEmptyGroupCellIsLeftFreelyAndANumberIsCheckedWhenLeft) {
    Start(kViewTrunk);
    window_->Menu_Forms_TrunkClick();
    window_->ShowForm(FormId::Identities);
    auto& id = FormOf<TForm_ID_Identities>(FormId::Identities);
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_GRP_Groups);
    QTableWidget& groups = id.StrGrid_GRP_Groups;

    // An empty cell, clicked and left, says nothing.
    TypeInCell(groups, 0, 1, "");
    groups.setCurrentCell(1, 1);
    EXPECT_EQ(groups.currentRow(), 1);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{});

    // A single digit is checked when its cell is left, and the cell keeps the focus.
    TypeInCell(groups, 1, 1, "2");
    groups.setCurrentCell(2, 1);
    EXPECT_EQ(groups.currentRow(), 1);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(kGroupLength)});
    // Emptied again, it is left without a word.
    person_.shown.clear();
    TypeInCell(groups, 1, 1, "");
    groups.setCurrentCell(2, 1);
    EXPECT_EQ(groups.currentRow(), 2);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{});

    // A group of a stored job, emptied, is left and clears the group.
    TypeInCell(groups, 3, 1, "2002001900");
    groups.setCurrentCell(4, 1);
    ASSERT_TRUE(window_->StoreNetworkForms());
    window_->ReloadForm(FormId::Identities);
    ASSERT_EQ(groups.item(3, 1)->text(), "2002001900");
    TypeInCell(groups, 3, 1, "");
    groups.setCurrentCell(5, 1);
    EXPECT_EQ(groups.currentRow(), 5);
    // Another page, and a store, are reached as well.
    id.Page_ID_Identities.setCurrentIndex(0);
    EXPECT_TRUE(id.CheckFocusedField());
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{});
    ASSERT_TRUE(window_->StoreNetworkForms());
    window_->ReloadForm(FormId::Identities);
    EXPECT_EQ(groups.item(3, 1)->text(), "");
}

// ---- File > Open of a file that is no job ----------------------------------------------------

TEST_F(DeskFormsTest, AFileThatIsNoPmrJobLeavesTheJobTheViewAndTheFormsAsTheyWere) {
    Start(kViewPmr);
    window_->Menu_Forms_PMRClick();
    ASSERT_EQ(state_.ImageKind, kImagePmr);
    state_.BandSelected = 12;
    window_->ShowForm(FormId::Channels);
    const bool lastButtonShown = Shown("SpBtn_MF_FormF");
    ws_->pmr.SetU8(400, 0x5A);
    const auto before = std::vector<std::uint8_t>(ws_->pmr.Bytes().begin(), ws_->pmr.Bytes().end());
    std::vector<std::uint8_t> noise(PmrJobImage::kSize);
    std::uint32_t seed = 4711;
    for (auto& byte : noise) {
        seed = seed * 1103515245 + 12345;
        byte = static_cast<std::uint8_t>(seed >> 16);
    }
    noise[112] = 0x17;  // no format of any program: far above the formats it reads
    noise[113] = 0xE3;
    const QString path = dir_.File("Jobs/noise.pmr");
    ASSERT_TRUE(WriteFileAtomically(path.toStdString(), noise));

    person_.answers = {Answer::Yes, Answer::No};  // destroy the job? Yes; open it anyway? No
    dialogs_.openAnswers = {path};
    window_->Open1Click();
    EXPECT_EQ(person_.Texts(),
              (std::vector<std::string>{std::string(kDestroyConfigurationQuestion),
                                        NotOwnJobQuestion(JobKind::Pmr, "noise.pmr")}));
    EXPECT_EQ(std::vector<std::uint8_t>(ws_->pmr.Bytes().begin(), ws_->pmr.Bytes().end()), before);
    EXPECT_TRUE(state_.PmrJobLoaded);
    EXPECT_EQ(state_.ImageKind, kImagePmr);
    EXPECT_FALSE(window_->PictureShown());
    EXPECT_EQ(window_->ActiveForm(), window_->Form(FormId::Channels));
    EXPECT_TRUE(window_->Form(FormId::Channels)->isVisible());
    EXPECT_TRUE(Button("SpBtn_MF_FormC").isChecked());
    EXPECT_EQ(Shown("SpBtn_MF_FormF"), lastButtonShown);
    EXPECT_TRUE(Shown("SpBtn_MF_FormA"));
    // Save still has its job.
    dialogs_.saveAnswers = {dir_.File("Jobs/kept.pmr")};
    window_->Save1Click();
    EXPECT_FALSE(person_.Showed(kCannotSaveNoJob));
    EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "Jobs" / "kept.pmr"));
}

// ---- CSV exports of the channel and zone tables ----------------------------------------------

TEST_F(DeskFormsTest, ChannelAndZoneExportsWriteWhatTheFormsShowWithoutSavingTheJob) {
    Start(kViewPmr);
    window_->Menu_Forms_PMRClick();
    window_->ShowForm(FormId::Channels);
    auto& channels = FormOf<TCHN_Form_Channels>(FormId::Channels);
    pmr::ChannelTable table;
    for (int n : {1, 2, 5}) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 12500LL * n);
        entry.SetNumber(n);
        entry.SetName(n == 2 ? "Renamed" : "Added " + std::to_string(n));
        table.Add(entry);
    }
    channels.ReplaceTable(table);
    TZEDT_Form& zones = *channels.Tab_CHN_Zones;
    zones.ZONE_StrGrid_Zones.item(0, 1)->setText("Harbour");
    zones.ZONE_StrGrid_Channels.item(0, 1)->setText("5");
    const std::string jobName = state_.CurrentJobFileName;

    const QString channelFile = dir_.File("Jobs/channels.csv");
    dialogs_.saveAnswers = {channelFile};
    window_->findChild<QAction*>("CSVExportPMRChannels")->trigger();
    const std::string channelText = FileText(channelFile);
    EXPECT_NE(channelText.find("\r\n1,Added 1,Chan,"), std::string::npos) << channelText;
    EXPECT_NE(channelText.find("\r\n2,Renamed,Chan,"), std::string::npos) << channelText;
    EXPECT_NE(channelText.find("\r\n5,Added 5,Chan,"), std::string::npos) << channelText;

    const QString zoneFile = dir_.File("Jobs/zones.csv");
    dialogs_.saveAnswers = {zoneFile};
    window_->findChild<QAction*>("CsvExportZoneTable")->trigger();
    const std::string zoneText = FileText(zoneFile);
    EXPECT_NE(zoneText.find("\r\nHarbour,5,"), std::string::npos) << zoneText;

    // The reminders only: no job file was written.
    EXPECT_EQ(person_.shown.size(), 2u);
    EXPECT_EQ(state_.CurrentJobFileName, jobName);
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "Jobs" / "channels.pmr"));
}

// ---- The form on screen and its button -------------------------------------------------------

TEST_F(DeskFormsTest, TheFormShownAlwaysMatchesTheFormButtonPressed) {
    Start(kViewTrunk);
    window_->Menu_Forms_TrunkClick();
    window_->ShowFormButtons();
    for (const char* name : {"SpBtn_MF_FormA", "SpBtn_MF_FormC", "SpBtn_MF_FormB", "SpBtn_MF_FormE",
                             "SpBtn_MF_FormD", "SpBtn_MF_FormC"}) {
        Button(name).click();
        QApplication::processEvents();
        ASSERT_EQ(FormsShown().size(), 1u) << name;
        EXPECT_EQ(FormsShown().front(), FormOfPressedButton()) << name;
        EXPECT_EQ(window_->ActiveForm(), FormOfPressedButton()) << name;
    }
    // A control of a form left behind taking the focus (as after a dialog of a command) does not
    // bring that form forward under the Identities button.
    auto& mobile = FormOf<TForm_MOB_Mobile>(FormId::RadioType);
    mobile.ComboBox_MOB_Mobile.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(window_->ActiveForm(), window_->Form(FormId::Identities));
    EXPECT_EQ(FormOfPressedButton(), window_->Form(FormId::Identities));
    ASSERT_EQ(FormsShown().size(), 1u);
    EXPECT_EQ(FormsShown().front(), window_->Form(FormId::Identities));
}

// ---- Network Options -------------------------------------------------------------------------

TEST_F(DeskFormsTest, NetworkOptionsNeverShowsTheFleetAccessPage) {
    Start(kViewTrunk);
    window_->Menu_Forms_TrunkClick();
    window_->ShowForm(FormId::NetworkOptions);
    auto& options = FormOf<TForm_NWO_NetworkOptions>(FormId::NetworkOptions);
    QTabWidget& pages = options.Page_NWO_NetworkOptions;
    for (int page = 0; page < pages.count(); ++page) {
        EXPECT_EQ(pages.isTabVisible(page), pages.tabText(page) != "Fleet Access")
            << pages.tabText(page).toStdString();
    }
    Screenshot(*window_, "network_options");
}

// ---- The name a network is saved under -------------------------------------------------------

TEST_F(DeskFormsTest, SavingANetworkProposesTheFileThatIsOpen) {
    Start(kViewNetwork, 2);
    // The Radio Type form's network dialog chose Demo.nwk earlier.
    FileDialogRequest earlier;
    earlier.dialog = FileDialogId::NetworkFile;
    dialogs_.openAnswers = {dir_.File("Networks/Demo.nwk")};
    dialogs_.OpenFile(earlier);

    person_.answers = {Answer::Yes};  // network mode
    window_->Menu_Forms_NetworkClick();
    ASSERT_EQ(state_.ImageKind, kImageNetwork);
    person_.answers = {Answer::Yes};  // destroy the configuration
    dialogs_.openAnswers = {dir_.File("Networks/SampleANN.nwk")};
    window_->Open1Click();
    ASSERT_EQ(state_.ImageKind, kImageNetwork);
    dialogs_.saveAnswers = {std::nullopt};
    window_->Save1Click();
    ASSERT_FALSE(dialogs_.requests.empty());
    EXPECT_EQ(dialogs_.requests.back().proposedName, dir_.File("Networks/SampleANN.nwk"));
}

// ---- Rows on the clipboard -------------------------------------------------------------------

TEST_F(DeskFormsTest, CopiedRowsAreTabSeparatedForASpreadsheetAndAPasteThatChangesNothingSaysWhy) {
    Start(kViewTrunk);
    window_->Menu_Forms_TrunkClick();
    window_->ShowForm(FormId::Identities);
    auto& id = FormOf<TForm_ID_Identities>(FormId::Identities);
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_PBK_Phonebook);
    QTableWidget& book = id.StrGrid_PBK_Phonebook;
    book.item(3, 1)->setText("1234");
    book.item(3, 2)->setText("Depot");
    // The line chosen as a user drags over it; the grid, not a cell editor, has the focus.
    book.setCurrentCell(3, 1);
    book.setRangeSelected(QTableWidgetSelectionRange(3, 0, 3, 2), true);
    book.setFocus();
    Action("Copy1").trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text().toStdString(), "3\t1234\tDepot\r\n");
    EXPECT_EQ(copied->data("text/csv").toStdString(), "3,1234,Depot\r\n");

    // Pasted onto the same line, it changes nothing and says so.
    Action("Paste1").trigger();
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(undo::kPasteSameRowsText)});
    // Onto another line it is pasted.
    person_.shown.clear();
    book.setCurrentCell(7, 1);
    book.setFocus();
    Action("Paste1").trigger();
    EXPECT_EQ(book.item(7, 1)->text(), "1234");
    EXPECT_EQ(book.item(7, 2)->text(), "Depot");
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{});

    // A clipboard without rows, and no table to paste into, say why nothing happens.
    QApplication::clipboard()->setText("\r\n");
    book.setFocus();
    Action("Paste1").trigger();
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(undo::kPasteNoRowsText)});
    person_.shown.clear();
    id.CBox_PBK_PhbkAlphaOrder.setFocus();
    Action("Paste1").trigger();
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(undo::kPasteNoTableText)});
}

}  // namespace
}  // namespace km
