// The three forms of the Network view in the real main window: what each page shows and stores,
// its questions and checks, and a network made here, saved, reopened and loaded into a trunk job.
// With KM_SCREENSHOT_DIR set, every page of every form is saved there as a picture.

#include <gtest/gtest.h>

#include <QGroupBox>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/mobile/MobForm.h"
#include "forms/network/HntForm.h"
#include "forms/network/SysForm.h"
#include "forms/network/TimForm.h"
#include "image/Setup.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;
using testing::WorkDir;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

constexpr std::string_view kNetworkTypeQuestion =
    "Changing the network type will affect the network parameters:               \n"
    "Network Identity, Zone Length, Area Length and SIL,               \n"
    "These values will be reset to 0.               \n\n"
    "Are you sure you want to change the Network Type?";

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

QRadioButton* Button(QGroupBox& group, const QString& text) {
    for (QRadioButton* button : group.findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

void Type(QTableWidget& grid, int line, int column, const QString& text) {
    grid.setCurrentCell(line, column);
    grid.item(line, column)->setText(text);
}

// Every value a form shows: texts of edits, lists and grid cells, ticks, chosen buttons and which
// pages are shown.
std::map<std::string, std::string> Shown(const QWidget& form) {
    std::map<std::string, std::string> shown;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        std::string name = widget->objectName().toStdString();
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget); edit && !name.empty()) {
            shown[name] = edit->text().toStdString() + (edit->isEnabled() ? "" : " (disabled)");
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget);
                   combo && !name.empty()) {
            shown[name] = combo->currentText().toStdString();
        } else if (const auto* box = qobject_cast<const QCheckBox*>(widget); box && !name.empty()) {
            shown[name] = box->isChecked() ? "ticked" : "clear";
        } else if (const auto* radio = qobject_cast<const QRadioButton*>(widget);
                   radio && radio->isChecked()) {
            shown[radio->parentWidget()->objectName().toStdString()] = radio->text().toStdString();
        } else if (const auto* grid = qobject_cast<const QTableWidget*>(widget)) {
            for (int line = 0; line < grid->rowCount(); ++line) {
                for (int column = 0; column < grid->columnCount(); ++column) {
                    shown[name + "[" + std::to_string(line) + "," + std::to_string(column) + "]"] =
                        grid->item(line, column)->text().toStdString();
                }
            }
        } else if (const auto* pages = qobject_cast<const QTabWidget*>(widget)) {
            for (int page = 0; page < pages->count(); ++page) {
                shown[name + " " + pages->tabText(page).toStdString()] =
                    pages->isTabVisible(page) ? "shown" : "hidden";
            }
        }
    }
    return shown;
}

// The entries in which two views of the forms differ, one a line.
std::string Differences(const std::map<std::string, std::string>& a,
                        const std::map<std::string, std::string>& b) {
    std::string out;
    for (const auto& [name, value] : a) {
        const auto other = b.find(name);
        if (other == b.end() || other->second != value) {
            out += name + ": \"" + value + "\" / \"" +
                   (other == b.end() ? std::string("(none)") : other->second) + "\"\n";
        }
    }
    for (const auto& [name, value] : b) {
        if (!a.contains(name)) {
            out += name + ": (none) / \"" + value + "\"\n";
        }
    }
    return out;
}

class NetworkFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file : {"default.tct", "default.cct"}) {
            std::filesystem::copy_file(kData / file, dir_.Path() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        SetupRecord setup;
        setup.userLevelIndex = 2;  // Network
        setup.viewAtExit = kViewNetwork;
        ASSERT_TRUE(WriteSetup(dir_.Path(), setup));
        window_ = std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_.Path());
        window_->resize(1100, 760);
        window_->show();
    }
    void TearDown() override {
        EXPECT_EQ(person_.unexpectedQuestions, 0);
        EXPECT_EQ(dialogs_.unexpectedDialogs, 0);
        state_.TrunkJobLoaded = false;
        state_.PmrJobLoaded = false;
        window_.reset();
    }

    // A new network from the template, in the Network view.
    void NewNetwork() {
        person_.answers = {Answer::Yes};
        window_->Menu_Forms_NetworkClick();
        ASSERT_EQ(state_.ImageKind, kImageNetwork);
        person_.shown.clear();
    }
    TForm_NWSYS_System& System() const {
        return *dynamic_cast<TForm_NWSYS_System*>(window_->Form(FormId::NetworkSystem));
    }
    TForm_NWTIM_ThresholdAndTimers& Timers() const {
        return *dynamic_cast<TForm_NWTIM_ThresholdAndTimers*>(
            window_->Form(FormId::ThresholdsTimers));
    }
    TForm_NWHNT_Hunt& Hunt() const {
        return *dynamic_cast<TForm_NWHNT_Hunt*>(window_->Form(FormId::HuntChannels));
    }
    std::span<const std::uint8_t> Slot(int selector) const {
        return ws_->trunk.Bytes().subspan(trunk::NetworkFileStart(selector), NetworkImage::kSize);
    }
    bool StoreAll() { return window_->StoreNetworkForms(); }

    // A Regional ANN network in the TK band with a value on every page.
    void EditEveryPage() {
        TForm_NWSYS_System& sys = System();
        sys.Edit_SYS_NetworkDescription.setText("North Coast trunk network");
        sys.Combo_SYS_FrequencyBand.setCurrentIndex(9);  // TK 400-450 MHz
        sys.Combo_SYS_FrequencyBandChange();
        Button(sys.RadioGrp_SYS_NetworkScheme, "ANN")->click();
        sys.Edit_SYS_Identity.setText("100");
        sys.Edit_SYS_ZoneLength.setText("2");
        sys.Edit_SYS_AreaLength.setText("3");
        sys.Edit_SYS_LengthSIL.setText("4");
        sys.Edit_REG_RQRINFO.setText("1234");
        sys.CBox_REG_PwrOnRegistration.setChecked(true);
        Button(sys.RadioGrp_REG_DemandedRegistration, "1991 Version")->click();
        sys.Edit_FSL_LevelL0dBm.setText("95");
        sys.Edit_FSL_LevelL2dBm.setText("85");
        sys.Combo_FSL_LevelMargin2.setCurrentIndex(3);
        sys.Edit_FSL_KPRLevelL0.setText("99");
        sys.CBox_FSL_FallbackAllowed.click();
        Button(sys.RadioGrp_FSL_FallbackType, "Variable")->click();
        sys.Edit_FSL_FallbackChannel.setText("77");
        sys.Edit_FSL_FallbackNDD.setText("12");
        sys.CBox_GEN_BkgndHuntEnable.setChecked(true);
        sys.Edit_GEN_VoteNowSampleLength.setText("10");
        sys.Edit_GEN_NumOfPresselOnMsg.setText("3");
        Type(sys.StrGrid_ANN_RCPMEPTable, 5, 1, "4");
        Type(sys.StrGrid_ANN_RCPMEPTable, 5, 2, "6");
        Type(sys.StrGrid_OPID_RoamingTable, 2, 1, "17");
        Type(sys.StrGrid_OPID_RoamingTable, 6, 1, "127");

        TForm_NWTIM_ThresholdAndTimers& tim = Timers();
        Button(tim.RadioGrp_CAL_CallUnits, "Minutes   (5 - 13)")->click();
        tim.Edit_CAL_CallTime.setText("7");
        Button(tim.RadioGrp_CAL_EmergUnits, "Seconds (10 - 254)")->click();
        tim.Edit_CAL_EmergTime.setText("120");
        Button(tim.RadioGrp_CAL_TSCLIMcontrol, "CLIM overridden by TSCLIM")->click();
        tim.Btn_ERR_DefaultTimers.click();
        Type(tim.StrGrid_TIM_Timers, 0, 1, "90");
        Type(tim.StrGrid_TIM_Timers, 3, 1, "20");
        Type(tim.StrGrid_ERR_ErrorRates, 6, 1, "16");
        tim.Edit_ERR_NS.setText("7");

        TForm_NWHNT_Hunt& hunt = Hunt();
        const QStringList first = {"1",   "100",     "420.00625", "430,0125",
                                   "Low", "12.5kHz", "B, 100 Hz"};
        const QStringList second = {"101",  "200",   "425.0025", "435.0075",
                                    "High", "15kHz", "Undefined"};
        for (int column = 1; column <= 7; ++column) {
            Type(hunt.StrGrid_CHN_ChannelTable, 0, column, first[column - 1]);
        }
        for (int column = 1; column <= 7; ++column) {
            Type(hunt.StrGrid_CHN_ChannelTable, 1, column, second[column - 1]);
        }
        Button(hunt.RadioGrp_CHN_ChanSpacing, "20    kHz")->click();
        hunt.CBox_CHN_XtalSwitch.setChecked(true);
        hunt.ComboBox_CHN_TxHighPwr.setCurrentIndex(9);
        Type(hunt.StrGrid_NHNT_NormalHunt, 0, 1, "5");
        Type(hunt.StrGrid_NHNT_NormalHunt, 0, 2, "Timed");
        Type(hunt.StrGrid_NHNT_NormalHunt, 1, 1, "17");
        hunt.CBox_CHNT_EnableComprHunt.setChecked(true);
        hunt.Edit_CHNT_HighestChan.setText("200");
        hunt.Edit_CHNT_LowestChan.setText("1");
        Type(hunt.StrGrid_CHNT_WithdrawnChn, 0, 1, "50");
        hunt.StrGrid_CHNT_WithdrawnChn.setCurrentCell(1, 1);
        hunt.StrGrid_CHN_ChannelTable.setCurrentCell(2, 1);
        // Every value passed its check.
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{});
    }

    std::map<std::string, std::string> ShownByAll() const {
        std::map<std::string, std::string> all;
        for (const QWidget* form :
             {static_cast<const QWidget*>(&System()), static_cast<const QWidget*>(&Timers()),
              static_cast<const QWidget*>(&Hunt())}) {
            for (auto& [name, value] : Shown(*form)) {
                all[form->objectName().toStdString() + "." + name] = value;
            }
        }
        return all;
    }

    WorkDir dir_;
    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;
};

TEST_F(NetworkFormsTest, ANetworkSavedReopenedAndLoadedIntoATrunkJobShowsTheSameValues) {
    NewNetwork();
    EditEveryPage();
    const QString file = dir_.File("Networks/north.nwk");
    dialogs_.saveAnswers = {file};
    window_->Save1Click();
    const auto shown = ShownByAll();
    EXPECT_EQ(shown.at("TForm_NWSYS_System.Edit_SYS_Identity"), "100");
    EXPECT_EQ(shown.at("TForm_NWHNT_Hunt.StrGrid_CHN_ChannelTable[1,4]"), "435.0075");

    // Reopened in the Network view.
    person_.answers = {Answer::Yes};
    window_->New1Click();
    EXPECT_NE(ShownByAll(), shown);
    person_.answers = {Answer::Yes};
    dialogs_.openAnswers = {file};
    window_->Open1Click();
    auto reopened = ShownByAll();
    // Typed texts come back as the form shows stored values.
    auto expected = shown;
    expected["TForm_NWHNT_Hunt.StrGrid_CHN_ChannelTable[0,3]"] = "420.00625";
    expected["TForm_NWHNT_Hunt.StrGrid_CHN_ChannelTable[0,4]"] = "430.01250";
    expected["TForm_NWHNT_Hunt.StrGrid_CHN_ChannelTable[1,3]"] = "425.00250";
    expected["TForm_NWHNT_Hunt.StrGrid_CHN_ChannelTable[1,4]"] = "435.00750";
    expected["TForm_NWSYS_System.StrGrid_OPID_RoamingTable[0,1]"] = "17";
    expected["TForm_NWSYS_System.StrGrid_OPID_RoamingTable[1,1]"] = "127";
    expected["TForm_NWSYS_System.StrGrid_OPID_RoamingTable[2,1]"] = "";
    expected["TForm_NWSYS_System.StrGrid_OPID_RoamingTable[6,1]"] = "";
    EXPECT_EQ(Differences(reopened, expected), "");

    // Loaded as Network 1 of a new trunk job and shown in the Network view.
    window_->Menu_Forms_TrunkClick();
    person_.answers = {Answer::Yes};
    window_->New1Click();
    ASSERT_EQ(state_.ImageKind, kImageTrunk);
    dialogs_.openAnswers = {file};
    dynamic_cast<TForm_MOB_Mobile*>(window_->Form(FormId::RadioType))->Btn_MOB_LoadNW1Click();
    ASSERT_TRUE(NetworkPresent(ws_->trunk, 0));
    NewNetwork();
    EXPECT_EQ(state_.NetworkSelector, 0);
    EXPECT_EQ(Differences(ShownByAll(), expected), "");
}

TEST_F(NetworkFormsTest, N1AndN2ShowAndKeepTheNetworkOfEachSlot) {
    // A trunk job with two sample networks of one band and scheme.
    TrunkJobImage job;
    std::filesystem::path sample = kData / "Networks" / "Demo.nwk";
    const auto demo = ReadFileBytes(sample, NetworkImage::kSize);
    ASSERT_TRUE(demo);
    job.Write(trunk::NetworkFileStart(0), *demo);
    job.Write(trunk::NetworkFileStart(1), *demo);
    job.SetText(trunk::NetworkFileStart(1) + 32, 60, "Second network");
    const QString path = dir_.File("Jobs/two.tnk");
    WriteFileAtomically(path.toStdString(), job.Bytes());
    dialogs_.openAnswers = {path};
    window_->Menu_Forms_TrunkClick();
    person_.answers = {Answer::Yes};
    window_->Open1Click();
    NewNetwork();
    EXPECT_EQ(System().Edit_SYS_NetworkDescription.text(), "Demonstration network, channels 1-200");
    System().Edit_SYS_NetworkDescription.setText("First network");
    window_->SpeedBtn_MF_NW2Click();
    ASSERT_EQ(state_.NetworkSelector, 1);
    EXPECT_EQ(System().Edit_SYS_NetworkDescription.text(), "Second network");
    EXPECT_EQ(Hunt().StrGrid_CHN_ChannelTable.item(0, 2)->text(), "200");
    window_->SpeedBtn_MF_NW1Click();
    EXPECT_EQ(System().Edit_SYS_NetworkDescription.text(), "First network");
    EXPECT_EQ(ws_->trunk.Text(trunk::NetworkFileStart(0) + 32, 13), "First network");
    EXPECT_EQ(ws_->trunk.Text(trunk::NetworkFileStart(1) + 32, 14), "Second network");
}

TEST_F(NetworkFormsTest, StoredFieldsLandAtTheirPlacesOfTheNetworkFile) {
    NewNetwork();
    EditEveryPage();
    ASSERT_TRUE(StoreAll());
    const auto file = Slot(0);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "--NETWORK FILE--");
    EXPECT_EQ(Word(file, 92), 0x544B);
    EXPECT_EQ(Word(file, 94), 1);          // ANN
    EXPECT_EQ(Word(file, 96), 100 * 128);  // Regional 100
    EXPECT_EQ(Word(file, 102), 4);
    EXPECT_EQ(Word(file, 104), 1234);
    EXPECT_EQ(file[107] & 0xE0, 0x80 | 0x20);
    EXPECT_EQ(Word(file, 118), 18);
    EXPECT_EQ(Word(file, 126), 1);
    EXPECT_EQ(Word(file, 128), 1);
    EXPECT_EQ(Word(file, 132), 12);
    EXPECT_EQ(file[490], 6);  // ANN prefix 5: extent, partition
    EXPECT_EQ(file[491], 4);
    EXPECT_EQ(Word(file, 1244), 17 * 128);  // roaming entries from the first, no gaps
    EXPECT_EQ(Word(file, 1246), 127 * 128);
    EXPECT_EQ(Word(file, 1248), 0xFFFF);
    EXPECT_EQ(Word(file, 392), 3);    // 7 minutes
    EXPECT_EQ(Word(file, 394), 120);  // seconds
    EXPECT_EQ(Word(file, 396), 0);
    EXPECT_EQ(Word(file, 398), 1);
    EXPECT_EQ(Word(file, 400), 90);
    EXPECT_EQ(Word(file, 406), 1200);  // TD 20 minutes
    EXPECT_EQ(Word(file, 418), 20);    // TL
    EXPECT_EQ(Word(file, 420), 10);    // TJ
    EXPECT_EQ(file[452], 16);
    EXPECT_EQ(Word(file, 454), 7);
    EXPECT_EQ(file[740 + 1], 1);  // sub-band 1: channels 1..100
    EXPECT_EQ(file[740 + 3], 100);
    EXPECT_EQ(Word(file, 148), 200);  // highest maximum channel, in sub-band 2
    EXPECT_EQ(Word(file, 738), 2);
    EXPECT_EQ(Word(file, 150), 1);
    EXPECT_EQ(file[736], 0x05 | 0x08);  // 20 kHz, crystal switch
    EXPECT_EQ(Word(file, 1242), 9);
    EXPECT_EQ(Word(file, 228), 0x8005);  // channel 5, Timed
    EXPECT_EQ(Word(file, 230), 17);
    EXPECT_EQ(Word(file, 224), 2);
    EXPECT_EQ(Word(file, 156), 1);
    EXPECT_EQ(Word(file, 160), 50);
}

TEST_F(NetworkFormsTest, ATemplateNetworkLoadedAndStoredUnchangedKeepsEveryByte) {
    NewNetwork();
    const std::vector<std::uint8_t> before(Slot(0).begin(), Slot(0).end());
    ASSERT_TRUE(StoreAll());
    EXPECT_EQ(std::vector<std::uint8_t>(Slot(0).begin(), Slot(0).end()), before);
}

TEST_F(NetworkFormsTest, NetworkTypeQuestionResetsTheValuesOrLeavesEverything) {
    NewNetwork();
    TForm_NWSYS_System& sys = System();
    sys.Edit_SYS_Identity.setText("5");
    sys.Edit_SYS_ZoneLength.setText("2");
    const auto opid = sys.Page_NWSYS_Systems.indexOf(&sys.Tab_OPID_Roaming);
    EXPECT_TRUE(sys.Page_NWSYS_Systems.isTabVisible(opid));

    person_.answers = {Answer::No};
    Button(sys.RadioGrp_SYS_NetworkType, "National")->click();
    EXPECT_TRUE(Button(sys.RadioGrp_SYS_NetworkType, "Regional")->isChecked());
    EXPECT_EQ(sys.Edit_SYS_Identity.text(), "5");
    EXPECT_EQ(sys.Edit_SYS_ZoneLength.text(), "2");
    EXPECT_TRUE(sys.Page_NWSYS_Systems.isTabVisible(opid));

    person_.answers = {Answer::Yes};
    Button(sys.RadioGrp_SYS_NetworkType, "National")->click();
    EXPECT_EQ(person_.Texts(), (std::vector<std::string>{std::string(kNetworkTypeQuestion),
                                                         std::string(kNetworkTypeQuestion)}));
    for (const QLineEdit* edit : {&sys.Edit_SYS_Identity, &sys.Edit_SYS_ZoneLength,
                                  &sys.Edit_SYS_AreaLength, &sys.Edit_SYS_LengthSIL}) {
        EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
    }
    EXPECT_FALSE(sys.Page_NWSYS_Systems.isTabVisible(opid));
    sys.Edit_SYS_Identity.setText("3");
    ASSERT_TRUE(StoreAll());
    EXPECT_EQ(Word(Slot(0), 96), 0x7000);
}

TEST_F(NetworkFormsTest, EditsTakeDigitsOnlyAndCheckTheRangeOfTheNetworkType) {
    NewNetwork();
    TForm_NWSYS_System& sys = System();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    sys.Edit_SYS_LengthSIL.setFocus();
    sys.Edit_SYS_LengthSIL.clear();
    QTest::keyClicks(&sys.Edit_SYS_LengthSIL, "5x");
    EXPECT_EQ(sys.Edit_SYS_LengthSIL.text(), "5");
    EXPECT_EQ(person_.beeps, 1);
    // A Regional network's SIL is 3..4: the check refuses 5, Enter keeps the focus.
    QTest::keyClick(&sys.Edit_SYS_LengthSIL, Qt::Key_Return);
    EXPECT_EQ(person_.Texts(),
              std::vector<std::string>{"Value out of range.  Must be between 3 and 4"});
    EXPECT_TRUE(sys.Edit_SYS_LengthSIL.hasFocus());
    EXPECT_FALSE(window_->StoreNetworkForms());
    sys.Edit_SYS_LengthSIL.setText("4");
    QTest::keyClick(&sys.Edit_SYS_LengthSIL, Qt::Key_Return);
    EXPECT_FALSE(sys.Edit_SYS_LengthSIL.hasFocus());
    EXPECT_TRUE(window_->StoreNetworkForms());
    EXPECT_EQ(Word(Slot(0), 102), 4);
}

TEST_F(NetworkFormsTest, PagesFollowSchemeTypeAndTicks) {
    NewNetwork();
    TForm_NWSYS_System& sys = System();
    const auto ann = sys.Page_NWSYS_Systems.indexOf(&sys.Tab_ANN_RCPMEP);
    EXPECT_FALSE(sys.Page_NWSYS_Systems.isTabVisible(ann));
    Button(sys.RadioGrp_SYS_NetworkScheme, "ANN")->click();
    EXPECT_TRUE(sys.Page_NWSYS_Systems.isTabVisible(ann));
    Button(sys.RadioGrp_SYS_NetworkScheme, "CPSX")->click();
    EXPECT_FALSE(sys.Page_NWSYS_Systems.isTabVisible(ann));
    sys.CBox_REG_RQREnabled.click();
    EXPECT_FALSE(sys.Edit_REG_RQRINFO.isEnabled());
    EXPECT_FALSE(sys.Lbl_REG_RQRINFO.isEnabled());
    EXPECT_FALSE(sys.Edit_FSL_FallbackChannel.isEnabled());
    sys.CBox_FSL_FallbackAllowed.click();
    EXPECT_TRUE(sys.Edit_FSL_FallbackChannel.isEnabled());
    EXPECT_TRUE(sys.RadioGrp_FSL_FallbackType.isEnabled());
    sys.Page_NWSYS_Systems.setCurrentWidget(&sys.Tab_GEN_General);
    testing::KeepPicture(sys, "network_general");
    // The greyed boxes stand under a caption that says what they are.
    const auto* reserved = sys.findChild<QGroupBox*>("GBox_GEN_Reserved");
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(reserved->title(), "Reserved (not stored)");
    for (const QCheckBox& undefined : sys.CBox_GEN_Undefined) {
        EXPECT_EQ(undefined.text(), "Undefined");
        EXPECT_FALSE(undefined.isEnabled());
        EXPECT_TRUE(reserved->isAncestorOf(&undefined));
    }
}

TEST_F(NetworkFormsTest, GridCellsThatFailTheirCheckCannotBeLeft) {
    NewNetwork();
    TForm_NWSYS_System& sys = System();
    QTableWidget& ann = sys.StrGrid_ANN_RCPMEPTable;
    Type(ann, 3, 1, "10");
    Type(ann, 3, 2, "1");  // with partition 10 only extent 0 is allowed
    ann.setCurrentCell(4, 2);
    EXPECT_EQ(ann.currentRow(), 3);
    EXPECT_EQ(ann.currentColumn(), 2);
    EXPECT_EQ(person_.Texts().back(), "Value out of range.  Must be between 0 and 0");
    ann.item(3, 2)->setText("0");
    ann.setCurrentCell(4, 2);
    EXPECT_EQ(ann.currentRow(), 4);

    // Hunt grid: a frequency outside the band is refused, and Save too while it is shown.
    TForm_NWHNT_Hunt& hunt = Hunt();
    state_.BandSelected = 9;  // TK 400-450 MHz
    QTableWidget& channels = hunt.StrGrid_CHN_ChannelTable;
    Type(channels, 0, 1, "1");
    Type(channels, 0, 2, "10");
    Type(channels, 0, 3, "460");
    channels.setCurrentCell(0, 4);
    EXPECT_EQ(channels.currentColumn(), 3);
    EXPECT_EQ(person_.Texts().back(), "Value out of range.\nMust be between 400MHz and 450MHz");
    window_->ShowForm(FormId::HuntChannels);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    channels.setFocus();
    if (hunt.CheckFocusedField()) {
        ADD_FAILURE() << "the bad frequency passed";
    }
    // Normal hunt: a channel twice.
    Type(hunt.StrGrid_NHNT_NormalHunt, 0, 1, "9");
    Type(hunt.StrGrid_NHNT_NormalHunt, 1, 1, "9");
    hunt.StrGrid_NHNT_NormalHunt.setCurrentCell(2, 1);
    EXPECT_EQ(hunt.StrGrid_NHNT_NormalHunt.currentRow(), 1);
    EXPECT_EQ(person_.Texts().back(), "Duplicate value is not allowed");
}

TEST_F(NetworkFormsTest, TimersShowTheirUnitsAndDefaultsReachTheImageOnStore) {
    NewNetwork();
    ws_->trunk.SetU16(trunk::NetworkFileStart(0) + 392, 9);
    ws_->trunk.SetU16(trunk::NetworkFileStart(0) + 394, 10);
    ws_->trunk.SetU16(trunk::NetworkFileStart(0) + 406, 125);  // 125 seconds
    window_->ReloadForm(FormId::ThresholdsTimers);
    TForm_NWTIM_ThresholdAndTimers& tim = Timers();
    EXPECT_TRUE(Button(tim.RadioGrp_CAL_CallUnits, "Minutes   (5 - 13)")->isChecked());
    EXPECT_EQ(tim.Edit_CAL_CallTime.text(), "13");
    EXPECT_TRUE(Button(tim.RadioGrp_CAL_EmergUnits, "Seconds (10 - 254)")->isChecked());
    EXPECT_EQ(tim.Edit_CAL_EmergTime.text(), "10");
    EXPECT_TRUE(Button(tim.RadioGrp_CAL_DataUnits, "No Limit")->isChecked());
    EXPECT_FALSE(tim.Edit_CAL_DataTime.isEnabled());
    EXPECT_EQ(tim.StrGrid_TIM_Timers.item(3, 1)->text(), "2");
    // Untouched, the seconds that are no whole minute stay.
    ASSERT_TRUE(StoreAll());
    EXPECT_EQ(Word(Slot(0), 406), 125);

    Button(tim.RadioGrp_CAL_CallUnits, "No Limit")->click();
    EXPECT_FALSE(tim.Edit_CAL_CallTime.isEnabled());
    EXPECT_EQ(tim.Edit_CAL_CallTime.text(), "");
    for (int line = 0; line < 18; ++line) {
        tim.StrGrid_TIM_Timers.item(line, 1)->setText("1");
    }
    tim.Btn_ERR_DefaultTimers.click();
    ASSERT_TRUE(StoreAll());
    const std::uint16_t expected[] = {60, 2,  60, 600, 180, 5, 10, 4,  2,
                                      20, 10, 7,  5,   250, 5, 60, 60, 180};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(Word(Slot(0), 400 + 2 * i), expected[i]) << 400 + 2 * i;
    }
    EXPECT_EQ(Word(Slot(0), 392), 0);
}

TEST_F(NetworkFormsTest, NextFormPagesChainTheForms) {
    NewNetwork();
    System().Page_NWSYS_Systems.setCurrentWidget(&System().Tab_NWSYS_Next);
    EXPECT_EQ(window_->ActiveForm(), &Timers());
    EXPECT_EQ(Timers().Page_NWTIM_ThresholdAndTimers.currentWidget(),
              &Timers().Tab_CAL_CallDurations);
    Timers().Page_NWTIM_ThresholdAndTimers.setCurrentWidget(&Timers().Tab_NWTIM_Next);
    EXPECT_EQ(window_->ActiveForm(), &Hunt());
    EXPECT_EQ(Hunt().Page_HNT_Hunt.currentWidget(), &Hunt().Tab_CHN_Channels);
}

TEST_F(NetworkFormsTest, Screenshots) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "KM_SCREENSHOT_DIR not set";
    }
    NewNetwork();
    EditEveryPage();
    QDir().mkpath(folder);
    for (FormId id : {FormId::NetworkSystem, FormId::ThresholdsTimers, FormId::HuntChannels}) {
        window_->ShowForm(id);
        auto* pages = window_->Form(id)->findChild<QTabWidget*>();
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page)) {
                continue;
            }
            const QSignalBlocker blocker(pages);
            pages->setCurrentIndex(page);
            QApplication::processEvents();
            window_->grab().save(
                QDir(folder).filePath(QString("%1_%2.png").arg(static_cast<int>(id)).arg(page)));
        }
    }
}

}  // namespace
}  // namespace km
