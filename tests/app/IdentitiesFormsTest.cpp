// The Identities and Network Options forms in the real main window of the Trunk view: what each
// page shows and stores, their checks and questions, the two networks, the phone book's CSV file
// and the chaining of the pages. With KM_SCREENSHOT_DIR set, every page is saved as a picture.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "CsvCommand.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "config/Phonebook.h"
#include "core/Files.h"
#include "forms/trunk/IdForm.h"
#include "forms/trunk/NwoForm.h"
#include "image/Setup.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;
using testing::WorkDir;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

constexpr std::size_t kSlot1 = 0x2800;
constexpr std::size_t kSlot2 = 0x3400;
constexpr std::uint16_t kBandTk = 0x544B;

void Type(QTableWidget& grid, int line, int column, const QString& text) {
    grid.setCurrentCell(line, column);
    grid.item(line, column)->setText(text);
}

std::string Cell(const QTableWidget& grid, int line, int column) {
    return grid.item(line, column)->text().toStdString();
}

// Every value a form shows: edits, lists, ticks, grid cells and which pages are shown.
std::map<std::string, std::string> Shown(const QWidget& form) {
    std::map<std::string, std::string> shown;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        const std::string name = widget->objectName().toStdString();
        if (name.empty()) {
            continue;
        }
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            shown[name] = edit->text().toStdString();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            shown[name] = combo->currentText().toStdString();
        } else if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
            shown[name] = box->isChecked() ? "ticked" : "clear";
        } else if (const auto* grid = qobject_cast<const QTableWidget*>(widget)) {
            for (int line = 0; line < grid->rowCount(); ++line) {
                for (int column = 1; column < grid->columnCount(); ++column) {
                    shown[name + "[" + std::to_string(line) + "," + std::to_string(column) + "]"] =
                        Cell(*grid, line, column);
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
    return out;
}

std::string FileText(const QString& path) {
    const auto bytes = ReadFileBytes(path.toStdString(), 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class IdentitiesFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file : {"default.tct", "default.cct"}) {
            std::filesystem::copy_file(kData / file, dir_.Path() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        SetupRecord setup;
        setup.viewAtExit = kViewTrunk;
        ASSERT_TRUE(WriteSetup(dir_.Path(), setup));
        window_ = std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_.Path());
        window_->resize(1100, 760);
        window_->show();
        window_->Menu_Forms_TrunkClick();
        ASSERT_EQ(state_.ImageKind, kImageTrunk);
        ASSERT_TRUE(state_.TrunkJobLoaded);
        person_.shown.clear();
    }
    void TearDown() override {
        EXPECT_EQ(person_.unexpectedQuestions, 0);
        EXPECT_EQ(dialogs_.unexpectedDialogs, 0);
        state_.TrunkJobLoaded = false;
        state_.PmrJobLoaded = false;
        window_.reset();
    }

    TForm_ID_Identities& Id() const {
        return *dynamic_cast<TForm_ID_Identities*>(window_->Form(FormId::Identities));
    }
    TForm_NWO_NetworkOptions& Nwo() const {
        return *dynamic_cast<TForm_NWO_NetworkOptions*>(window_->Form(FormId::NetworkOptions));
    }
    // Both networks present, with their numbering schemes; the forms load again.
    void Networks(int scheme1, int scheme2) {
        for (int selector : {0, 1}) {
            const std::size_t file = trunk::NetworkFileStart(selector);
            ws_->trunk.SetU16(file + network::kBandCode, kBandTk);
            ws_->trunk.SetU16(file + network::kNumberingScheme,
                              static_cast<std::uint16_t>(selector == 0 ? scheme1 : scheme2));
        }
        window_->ReloadForm(FormId::Identities);
        window_->ReloadForm(FormId::NetworkOptions);
    }
    void Select(int selector) {
        if (selector == 1) {
            window_->SpeedBtn_MF_NW2Click();
        } else {
            window_->SpeedBtn_MF_NW1Click();
        }
        ASSERT_EQ(state_.NetworkSelector, selector);
    }
    bool StoreAll() { return window_->StoreNetworkForms(); }

    // A value on every page of both forms, for MPT1343 numbering.
    void EditEveryPage() {
        TForm_ID_Identities& id = Id();
        id.Edit_RI_RadioIdentity.setText("2002001250");
        id.Edit_RI_HighestUnit.setText("450");
        id.Edit_RI_DispatcherIdentity.setText("2002001201");
        id.Edit_RI_DataIdentity.setText("2002001202");
        id.Edit_RI_EmergencyAddr.setText("12*#");
        Type(id.StrGrid_GRP_Groups, 0, 1, "2002001900");
        Type(id.StrGrid_GRP_Groups, 1, 1, "2002001901");
        id.StrGrid_GRP_Groups.setCurrentCell(2, 1);
        id.CBox_GRP_TalkGroups.setChecked(true);
        id.Edit_GRP_HighestGroup.setText("905");
        id.Edit_GRP_OwnFleetGroup.setText("2002");
        Type(id.StrGrid_5DD_Table, 0, 1, "25");
        Type(id.StrGrid_5DD_Table, 0, 2, "201");
        Type(id.StrGrid_5DD_Table, 0, 3, "2001");
        Type(id.StrGrid_5DD_Table, 0, 4, "300");
        Type(id.StrGrid_5DD_Table, 10, 1, "905");
        Type(id.StrGrid_5DD_Table, 10, 2, "201");
        Type(id.StrGrid_5DD_Table, 10, 3, "2001");
        Type(id.StrGrid_5DD_Table, 10, 4, "20");
        id.StrGrid_5DD_Table.setCurrentCell(11, 1);
        id.CBox_FAC_SpeechCall.setChecked(true);
        id.CBox_FAC_3rdPartyDiversion.setChecked(true);
        id.ComboBox_FAC_DataDivert.setCurrentIndex(2);
        id.Edit_DTMF_TonePeriod.setText("120");
        id.Edit_DTMF_Holdover.setText("500");
        id.Edit_DTMF_Sequence1.setText("12-34");
        Type(id.StrGrid_PBK_Phonebook, 0, 1, "1234");
        Type(id.StrGrid_PBK_Phonebook, 0, 2, "Head Office");
        Type(id.StrGrid_PBK_Phonebook, 21, 1, "*9#");
        Type(id.StrGrid_PBK_Phonebook, 21, 2, "Depot");
        id.StrGrid_PBK_Phonebook.setCurrentCell(22, 1);
        id.CBox_PBK_PhbkAlphaOrder.setChecked(false);
        Type(id.StrGrid_STA_StatusNames, 0, 1, "Busy");
        Type(id.StrGrid_STA_StatusNames, 0, 2, "At Base");
        Type(id.StrGrid_STA_StatusNames, 0, 3, "STA+GPS");
        Type(id.StrGrid_STA_StatusNames, 1, 3, "STA+JOB");
        id.StrGrid_STA_StatusNames.setCurrentCell(2, 1);
        id.CBox_STA_StatusCall.setChecked(true);
        id.Combo_STA_MaxTxStatus.setCurrentIndex(12);
        id.Combo_STA_PowerOnStatus.setCurrentIndex(4);
        id.Combo_STA_GPSPollStatus.setCurrentIndex(3);
        id.Edit_DAT_DataRetries.setText("7");
        id.Edit_DAT_DataLeadInDelay.setText("250");
        id.CBox_DAT_DataJobNumbers.setChecked(true);
        id.Edit_DAT_TimeBased.setText("600");

        TForm_NWO_NetworkOptions& nwo = Nwo();
        nwo.Combo_ACQ_Type[0].setCurrentIndex(3);
        nwo.Edit_ACQ_Data[0].setText("9");
        nwo.Edit_NDD_HomeZone.setText("0");
        nwo.Combo_NDD_MobileControlCategory.setCurrentIndex(2);
        nwo.Edit_NDD_AbbrDialMaxLimit.setText("30");
        Type(nwo.StrGrid_NDD_NDDPrefData, 1, 1, "4");
        Type(nwo.StrGrid_NDD_NDDPrefData, 1, 2, "3");
        Type(nwo.StrGrid_NDD_NDDPrefData, 1, 3, "6");
        nwo.StrGrid_NDD_NDDPrefData.setCurrentCell(2, 1);
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{});
    }

    std::map<std::string, std::string> ShownByBoth() const {
        std::map<std::string, std::string> all;
        for (const QWidget* form :
             {static_cast<const QWidget*>(&Id()), static_cast<const QWidget*>(&Nwo())}) {
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

TEST_F(IdentitiesFormsTest, AJobEditedOnEveryPageSavedAndReopenedShowsTheSameValues) {
    EditEveryPage();
    const QString file = dir_.File("Jobs/north.tnk");
    dialogs_.saveAnswers = {file};
    window_->Save1Click();
    const auto shown = ShownByBoth();
    person_.answers = {Answer::Yes};
    window_->New1Click();
    ASSERT_NE(Differences(ShownByBoth(), shown), "");
    person_.answers = {Answer::Yes};
    dialogs_.openAnswers = {file};
    window_->Open1Click();
    ASSERT_EQ(state_.ImageKind, kImageTrunk);
    EXPECT_EQ(Differences(ShownByBoth(), shown), "");
    // Nothing edited since: exit asks nothing.
    EXPECT_EQ(person_.unexpectedQuestions, 0);
}

TEST_F(IdentitiesFormsTest, AJobStoredUntouchedKeepsEveryByte) {
    // As a radio might hold them: spare bits of a record, all-ones five-digit entries, a reply
    // code no list has, a name with a control byte.
    ws_->trunk.SetU8(kSlot1 + 0x14, 0xF9);
    ws_->trunk.FillRegion(0x2A00, 80, 0xFF);
    ws_->trunk.SetU16(0x2DA2, 0x0F00);
    ws_->trunk.SetU8(0x1538, 0x07);
    window_->ReloadForm(FormId::Identities);
    window_->ReloadForm(FormId::NetworkOptions);
    const TrunkJobImage before = ws_->trunk;
    ASSERT_TRUE(StoreAll());
    for (std::size_t i = 0; i < TrunkJobImage::kSize; ++i) {
        EXPECT_EQ(ws_->trunk.U8(i), before.U8(i)) << i;
    }
}

TEST_F(IdentitiesFormsTest, StoredFieldsLandAtTheirPlaces) {
    EditEveryPage();
    ASSERT_TRUE(StoreAll());
    const TrunkJobImage& image = ws_->trunk;
    EXPECT_EQ(image.Text(kSlot1, 16), "--NETWORK DATA--");
    EXPECT_EQ(image.U8(kSlot1 + 0x10), 0x80);
    EXPECT_EQ(image.U16(kSlot1 + 0x12), 2 + 50);
    EXPECT_EQ(image.U16(kSlot1 + 0x68), 2 + 250);  // highest unit 450
    EXPECT_EQ(image.U8(kSlot1 + 0x18), 0x80);      // group 1
    EXPECT_EQ(image.U8(kSlot1 + 0x70), 0x12);      // emergency 12*#
    EXPECT_EQ(image.U8(kSlot1 + 0x71), 0xBC);
    EXPECT_EQ(image.U8(kSlot1 + 0x6A) & 1, 1);
    EXPECT_EQ(image.U16(kSlot1 + 0x6C), 2 * 2002 + 905 - 4900);
    EXPECT_EQ(image.U16(kSlot1 + 0x86), 120);
    EXPECT_EQ(image.U8(kSlot1 + 0x5B1), 5);  // DTMF-1 "12-34"
    EXPECT_EQ(image.U8(kSlot1 + 0x5B2), 0x12);
    EXPECT_EQ(image.U8(kSlot1 + 0x5B3), 0xD3);
    EXPECT_EQ(image.U8(0x2910), 0x89);  // five-digit entry 11
    EXPECT_EQ(image.U8(0x2911), 0x03);
    EXPECT_EQ(image.U16(0x2DA0), 0x0120);
    EXPECT_EQ(image.Text(0x2A5C, 12), "Busy");
    EXPECT_EQ(image.U16(kSlot1 + 0x1F8), 12);
    EXPECT_EQ(image.U16(kSlot1 + 0x1FA), 5);
    EXPECT_EQ(image.U8(kSlot1 + 0x1F5), 7);
    EXPECT_EQ(image.U16(0x0134), 600);
    EXPECT_EQ(image.U8(0x009E) & 1, 1);  // not alphabetical
    EXPECT_EQ(image.U8(0x0598), 0x12);
    EXPECT_EQ(image.Text(0x1538, 12), "Head Office");
    EXPECT_EQ(image.U16(kSlot1 + 0x550), 3 << 14 | 9);
    EXPECT_EQ(image.U16(kSlot1 + 0x562), 2);
    EXPECT_EQ(image.U16(kSlot1 + 0x564), 30);
    EXPECT_EQ(image.U8(kSlot1 + 0x568 + 4), 3);  // preference entry 2: length, priority, data
    EXPECT_EQ(image.U8(kSlot1 + 0x569 + 4), 4);
    EXPECT_EQ(image.U16(kSlot1 + 0x56A + 4), 6);
}

TEST_F(IdentitiesFormsTest, EachNetworkKeepsItsIdentitiesAndBothShareOnePhonebook) {
    Networks(kSchemeMpt1343, kSchemeMpt1343);
    Id().Edit_RI_RadioIdentity.setText("2002001250");
    Type(Id().StrGrid_PBK_Phonebook, 3, 2, "Shared");
    Id().StrGrid_PBK_Phonebook.setCurrentCell(4, 2);
    Select(1);
    EXPECT_EQ(Id().Edit_RI_RadioIdentity.text(), "");
    EXPECT_EQ(Cell(Id().StrGrid_PBK_Phonebook, 3, 2), "Shared");
    Id().Edit_RI_RadioIdentity.setText("3003002300");
    Select(0);
    EXPECT_EQ(Id().Edit_RI_RadioIdentity.text(), "2002001250");
    Select(1);
    EXPECT_EQ(Id().Edit_RI_RadioIdentity.text(), "3003002300");
    EXPECT_EQ(ws_->trunk.U8(kSlot2 + 0x10), 0x80 | 100);
    EXPECT_EQ(ws_->trunk.U8(kSlot1 + 0x10), 0x80);
}

TEST_F(IdentitiesFormsTest, TheCpsxBoxShowsOnlyWhileACpsxNetworkIsEdited) {
    Networks(kSchemeMpt1343, kSchemeCpsx);
    window_->ShowForm(FormId::Identities);
    TForm_ID_Identities& id = Id();
    EXPECT_FALSE(id.GBox_RI_CPSX.isVisible());
    EXPECT_TRUE(id.Edit_RI_DataIdentity.isVisible());
    Select(1);
    EXPECT_TRUE(id.GBox_RI_CPSX.isVisible());
    EXPECT_FALSE(id.Edit_RI_DataIdentity.isVisible());
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_GRP_Groups);
    EXPECT_FALSE(id.Edit_GRP_OwnFleetGroup.isVisible());
    Select(0);
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_RI_RadioIdentity);
    EXPECT_FALSE(id.GBox_RI_CPSX.isVisible());
}

TEST_F(IdentitiesFormsTest, CpsxCountsOutOfOrderResetTheIdentities) {
    Networks(kSchemeCpsx, kSchemeCpsx);
    TForm_ID_Identities& id = Id();
    id.Edit_RI_RadioIdentity.setText("20020200");
    Type(id.StrGrid_GRP_Groups, 0, 1, "20020900");
    id.StrGrid_GRP_Groups.setCurrentCell(1, 1);
    id.ComboBox_RI_CPSXLarge.setCurrentIndex(3);
    id.ComboBox_RI_CPSXMedium.setCurrentIndex(2);
    id.ComboBox_RI_CPSXChange(CpsxCount::Medium);
    EXPECT_EQ(person_.Texts().back().substr(0, 22), "Medium size parameter ");
    EXPECT_EQ(id.ComboBox_RI_CPSXLarge.currentText(), "10");
    EXPECT_EQ(id.ComboBox_RI_CPSXMedium.currentText(), "10");
    EXPECT_EQ(id.ComboBox_RI_CPSXSmall.currentText(), "10");
    EXPECT_EQ(id.Edit_RI_RadioIdentity.text(), "");
    EXPECT_EQ(id.Edit_RI_HighestUnit.text(), "200");
    EXPECT_EQ(id.Edit_GRP_HighestGroup.text(), "900");
    EXPECT_EQ(Cell(id.StrGrid_GRP_Groups, 0, 1), "");
}

TEST_F(IdentitiesFormsTest, FieldsAreCheckedWhenLeftAndKeepTheFocus) {
    window_->ShowForm(FormId::Identities);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TForm_ID_Identities& id = Id();
    id.Edit_RI_RadioIdentity.setFocus();
    QTest::keyClicks(&id.Edit_RI_RadioIdentity, "20x0200");
    EXPECT_EQ(id.Edit_RI_RadioIdentity.text(), "200200");
    EXPECT_EQ(person_.beeps, 1);
    QTest::keyClick(&id.Edit_RI_RadioIdentity, Qt::Key_Return);
    EXPECT_EQ(person_.Texts(),
              std::vector<std::string>{"Invalid Number \nIdentities must be 9 or 10 digits long"});
    EXPECT_TRUE(id.Edit_RI_RadioIdentity.hasFocus());
    EXPECT_FALSE(window_->StoreNetworkForms());
    id.Edit_RI_RadioIdentity.setText("2002001200");
    QTest::keyClick(&id.Edit_RI_RadioIdentity, Qt::Key_Return);
    EXPECT_TRUE(id.Edit_RI_HighestUnit.hasFocus());
    QTest::keyClicks(&id.Edit_RI_HighestUnit, "150");
    QTest::keyClick(&id.Edit_RI_HighestUnit, Qt::Key_Return);
    EXPECT_EQ(person_.Texts().back(), "Value out of Range. Must be between 200 - 899");
    id.Edit_RI_HighestUnit.setText("250");
    QTest::keyClick(&id.Edit_RI_HighestUnit, Qt::Key_Return);
    EXPECT_FALSE(id.Edit_RI_HighestUnit.hasFocus());
    // The emergency identity takes dial characters; E only under CPSX.
    id.Edit_RI_EmergencyAddr.setFocus();
    QTest::keyClicks(&id.Edit_RI_EmergencyAddr, "1*#E");
    EXPECT_EQ(id.Edit_RI_EmergencyAddr.text(), "1*#");
    // DTMF times: the range message of the row.
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_DTMF_Dtmf);
    id.Edit_DTMF_LET.setFocus();
    id.Edit_DTMF_LET.setText("0");
    QTest::keyClick(&id.Edit_DTMF_LET, Qt::Key_Return);
    EXPECT_EQ(person_.Texts().back(), "Value out of range.  Must be between 1 and 9999");
    id.Edit_DTMF_LET.setText("1000");
}

TEST_F(IdentitiesFormsTest, GroupAndFiveDigitCellsThatFailCannotBeLeft) {
    TForm_ID_Identities& id = Id();
    Type(id.StrGrid_GRP_Groups, 2, 1, "2002001200");
    id.StrGrid_GRP_Groups.setCurrentCell(3, 1);
    EXPECT_EQ(id.StrGrid_GRP_Groups.currentRow(), 2);
    EXPECT_EQ(person_.shown.back().text,
              "Invalid Number \nGroup Number (last 2 or 3 digits) must be in range 90-99 or "
              "900-998");
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Error);
    id.StrGrid_GRP_Groups.item(2, 1)->setText("2002001900");
    id.StrGrid_GRP_Groups.setCurrentCell(3, 1);
    EXPECT_EQ(id.StrGrid_GRP_Groups.currentRow(), 3);

    Type(id.StrGrid_5DD_Table, 0, 1, "30");
    id.StrGrid_5DD_Table.setCurrentCell(0, 2);
    EXPECT_EQ(id.StrGrid_5DD_Table.currentColumn(), 1);
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Warning);
    EXPECT_EQ(person_.shown.back().text.substr(0, 18), "Invalid FleetCode.");
    // A line without a FleetCode sends the cursor back to it.
    id.StrGrid_5DD_Table.item(0, 1)->setText("25");
    id.StrGrid_5DD_Table.setCurrentCell(5, 3);
    EXPECT_EQ(person_.Texts().back(), "Please define the FleetCode first.              \n ");
    QApplication::processEvents();
    EXPECT_EQ(id.StrGrid_5DD_Table.currentRow(), 5);
    EXPECT_EQ(id.StrGrid_5DD_Table.currentColumn(), 1);
}

TEST_F(IdentitiesFormsTest, StatusListsFollowTheMaximumAndWarnOfTheSameStatus) {
    TForm_ID_Identities& id = Id();
    id.Combo_STA_MaxTxStatus.setCurrentIndex(0);
    id.Combo_STA_InterrogateValue.setCurrentIndex(3);
    id.Combo_STA_InterrogateValueChange();
    EXPECT_EQ(person_.Texts().back(), std::string(kInterrogateWithoutMaximum));
    EXPECT_EQ(id.Combo_STA_InterrogateValue.currentText(), "Disabled");
    id.Combo_STA_MaxTxStatus.setCurrentIndex(20);
    id.Combo_STA_PowerOnStatus.setCurrentText("7");
    id.Combo_STA_InterrogateValue.setCurrentText("7");
    id.Combo_STA_InterrogateValueChange();
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Warning);
    EXPECT_EQ(person_.Texts().back(), std::string(kInterrogateSameAsPowerOn));
    const std::size_t boxes = person_.shown.size();
    id.Combo_STA_InterrogateValue.setCurrentText("8");
    id.Combo_STA_InterrogateValueChange();
    EXPECT_EQ(person_.shown.size(), boxes);
    id.CBox_STA_StatusCall.setChecked(false);
    id.CBox_STA_StatusCallClick();
    EXPECT_EQ(id.Combo_STA_InterrogateValue.currentText(), "Disabled");
    EXPECT_EQ(id.Combo_STA_PowerOnStatus.currentText(), "1");
    Type(id.StrGrid_STA_StatusNames, 4, 1, "Going Home");
    id.Btn_STA_Copy.click();
    EXPECT_EQ(Cell(id.StrGrid_STA_StatusNames, 4, 2), "Going Home");
}

TEST_F(IdentitiesFormsTest, PhonebookButtonsAskAndFillInsertAndDelete) {
    TForm_ID_Identities& id = Id();
    QTableWidget& grid = id.StrGrid_PBK_Phonebook;
    EXPECT_EQ(Cell(grid, 0, 0), "SFD 0");
    EXPECT_EQ(Cell(grid, 19, 0), "SFD 19");
    EXPECT_EQ(Cell(grid, 20, 0), "20");
    Type(grid, 247, 1, "0998");
    Type(grid, 247, 2, "Car");
    grid.setCurrentCell(247, 1);
    person_.answers = {Answer::Yes};
    id.Btn_PBK_FillToEnd.click();
    EXPECT_EQ(person_.Texts().back(), std::string(kFillToEndQuestion));
    EXPECT_EQ(Cell(grid, 249, 1), "1000");
    EXPECT_EQ(Cell(grid, 249, 2), "Car");
    Type(grid, 100, 1, "12*");
    grid.setCurrentCell(100, 1);
    person_.answers = {Answer::Yes};
    id.Btn_PBK_FillToEnd.click();
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Error);
    EXPECT_EQ(person_.Texts().back(), "'12*' is not a valid integer value");
    EXPECT_EQ(Cell(grid, 101, 1), "");
    grid.setCurrentCell(100, 1);
    id.Btn_PBK_InsertRow.click();
    EXPECT_EQ(Cell(grid, 100, 1), "");
    EXPECT_EQ(Cell(grid, 101, 1), "12*");
    id.Btn_PBK_DeleteRow.click();
    EXPECT_EQ(Cell(grid, 100, 1), "12*");
    person_.answers = {Answer::No};
    id.Btn_PBK_DeleteAll.click();
    EXPECT_EQ(Cell(grid, 100, 1), "12*");
    person_.answers = {Answer::Yes};
    id.Btn_PBK_DeleteAll.click();
    EXPECT_EQ(person_.Texts().back(), std::string(kDeletePhonebookQuestion));
    EXPECT_EQ(Cell(grid, 100, 1), "");
    EXPECT_EQ(Cell(grid, 249, 2), "");
}

TEST_F(IdentitiesFormsTest, PagesFollowTheRadioTypeAndTheView) {
    TForm_ID_Identities& id = Id();
    const auto visible = [&](QWidget& page) {
        return id.Page_ID_Identities.isTabVisible(id.Page_ID_Identities.indexOf(&page));
    };
    state_.RadioTypeMask = 2;  // HM-B
    id.RefreshVisibility();
    EXPECT_FALSE(visible(id.Tab_STA_Status));
    EXPECT_FALSE(visible(id.Tab_DAT_Data));
    EXPECT_TRUE(visible(id.Tab_DTMF_Dtmf));
    EXPECT_FALSE(visible(id.Tab_SFD_CallDispatchers));
    state_.RadioTypeMask = 32;  // HM-D
    id.RefreshVisibility();
    EXPECT_TRUE(visible(id.Tab_STA_Status));
    EXPECT_TRUE(visible(id.Tab_DAT_Data));
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_DAT_Data);
    window_->ShowForm(FormId::Identities);
    id.Page_ID_Identities.setCurrentWidget(&id.Tab_DAT_Data);
    EXPECT_TRUE(id.CBox_DAT_IgnitionSense.isVisible());
    EXPECT_FALSE(id.Edit_DAT_DistanceBased.isVisible());
    state_.RadioTypeMask = 512;  // KP8A
    id.RefreshVisibility();
    EXPECT_FALSE(id.CBox_DAT_IgnitionSense.isVisible());
    EXPECT_EQ(id.Page_ID_Identities.indexOf(&id.Tab_PBK_Phonebook), 5);
}

TEST_F(IdentitiesFormsTest, DataRetriesOfOldJobsShowZeroAndOne) {
    ws_->trunk.SetU16(kVersionWordOffset, 3131);
    ws_->trunk.SetU8(kSlot1 + 0x1F5, 9);
    window_->ReloadForm(FormId::Identities);
    EXPECT_EQ(Id().Edit_DAT_DataRetries.text(), "0");
    EXPECT_EQ(Id().Edit_DAT_DataLeadInDelay.text(), "1");
    ws_->trunk.SetU16(kVersionWordOffset, 3132);
    window_->ReloadForm(FormId::Identities);
    EXPECT_EQ(Id().Edit_DAT_DataRetries.text(), "9");
}

TEST_F(IdentitiesFormsTest, NetworkOptionsShiftByTheLengthsOfTheNetworkBeingEdited) {
    Networks(kSchemeMpt1343, kSchemeMpt1343);
    // Network 1: zone length 3 of a 4-bit field; Network 2: the wide field.
    ws_->trunk.SetU16(trunk::NetworkFileStart(0) + 0x62, 3);
    ws_->trunk.SetU16(trunk::NetworkFileStart(1) + 0x62, 9);
    ws_->trunk.SetU8(trunk::NetworkFileStart(1) + 0x61, 0x40);
    window_->ReloadForm(FormId::NetworkOptions);
    TForm_NWO_NetworkOptions& nwo = Nwo();
    EXPECT_FALSE(nwo.Page_NWO_NetworkOptions.isTabVisible(2));
    nwo.Combo_ACQ_Type[0].setCurrentIndex(1);
    nwo.Combo_ACQ_TypeChange(0);
    EXPECT_EQ(nwo.Edit_ACQ_Data[0].text(), "0");
    nwo.Edit_ACQ_Data[0].setText("5");
    ASSERT_TRUE(StoreAll());
    EXPECT_EQ(ws_->trunk.U16(kSlot1 + 0x550), 1 << 14 | 10);
    Select(1);
    window_->ShowForm(FormId::NetworkOptions);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    nwo.Combo_ACQ_Type[1].setCurrentIndex(3);
    nwo.Edit_ACQ_Data[1].setFocus();
    nwo.Edit_ACQ_Data[1].setText("16");
    QTest::keyClick(&nwo.Edit_ACQ_Data[1], Qt::Key_Return);
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{});  // Full takes 0-511 here
    Select(0);
    nwo.Edit_ACQ_Data[1].setFocus();
    nwo.Combo_ACQ_Type[1].setCurrentIndex(3);
    nwo.Edit_ACQ_Data[1].setText("16");
    QTest::keyClick(&nwo.Edit_ACQ_Data[1], Qt::Key_Return);
    EXPECT_EQ(person_.Texts(),
              std::vector<std::string>{"Value out of range.  Must be between 0 and 15"});
    nwo.Edit_ACQ_Data[1].setText("15");
    // Preference data of length 3 takes 0-7.
    Type(nwo.StrGrid_NDD_NDDPrefData, 0, 2, "3");
    Type(nwo.StrGrid_NDD_NDDPrefData, 0, 3, "8");
    nwo.StrGrid_NDD_NDDPrefData.setCurrentCell(1, 1);
    EXPECT_EQ(nwo.StrGrid_NDD_NDDPrefData.currentRow(), 0);
    EXPECT_EQ(person_.Texts().back(), "Value out of range.  Must be between 0 and 7");
    nwo.StrGrid_NDD_NDDPrefData.item(0, 3)->setText("7");
    nwo.StrGrid_NDD_NDDPrefData.setCurrentCell(1, 1);
    EXPECT_EQ(nwo.StrGrid_NDD_NDDPrefData.currentRow(), 1);
    nwo.Btn_NDD_DefaultsClick();
    EXPECT_EQ(nwo.Edit_NDD_AbbrDialMaxLimit.text(), "15");
    EXPECT_EQ(nwo.Combo_NDD_MobileControlCategory.currentText(), "A");
    EXPECT_EQ(Cell(nwo.StrGrid_NDD_NDDPrefData, 0, 3), "0");
}

TEST_F(IdentitiesFormsTest, NextFormPagesChainTheForms) {
    window_->ShowForm(FormId::Identities);
    Id().Page_ID_Identities.setCurrentWidget(&Id().Tab_ID_Next);
    EXPECT_EQ(window_->ActiveForm(), &Nwo());
    EXPECT_EQ(Nwo().Page_NWO_NetworkOptions.currentWidget(), &Nwo().Tab_ACQ_Aquisition);
    Nwo().Page_NWO_NetworkOptions.setCurrentWidget(&Nwo().Tab_NWO_Next);
    EXPECT_EQ(window_->ActiveForm(), window_->Form(FormId::TextStrings));
}

// ---- CSV -------------------------------------------------------------------------------------

TEST_F(IdentitiesFormsTest, PhonebookExportedByTheDesktopIsTheFileOfTheCommandLine) {
    EditEveryPage();
    const QString csv = dir_.File("Jobs/book.csv");
    dialogs_.saveAnswers = {csv};
    window_->findChild<QAction*>("CSVExportPhonebook")->trigger();
    EXPECT_EQ(person_.Texts().back(),
              "RCP Job configuration file must be saved,                  \n"
              "before saving phonebook to a CSV file.");
    EXPECT_EQ(dialogs_.requests.back().title, "Save As - CSV File");
    EXPECT_EQ(dialogs_.requests.back().filterIndex, 4);
    const std::string desktop = FileText(csv);
    EXPECT_EQ(csv::Lines(desktop).size(), 252u);
    EXPECT_NE(desktop.find("\r\n0,1234,Head Office\r\n"), std::string::npos);

    const QString job = dir_.File("Jobs/book.tnk");
    dialogs_.saveAnswers = {job};
    window_->Save1Click();
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(cli::CsvMain({"csv", "export", "--table", "phonebook", job.toStdString()}, out, err),
              0)
        << err.str();
    EXPECT_EQ(out.str(), desktop);
}

TEST_F(IdentitiesFormsTest, PhonebookImportFillsTheGridAndRefusesOtherFilesFirst) {
    TForm_ID_Identities& id = Id();
    Type(id.StrGrid_PBK_Phonebook, 0, 2, "Keep");
    id.StrGrid_PBK_Phonebook.setCurrentCell(1, 2);
    state_.CurrentJobFileName = "x.tnk";

    const QString pmr = dir_.File("Jobs/pmr.csv");
    WriteFileAtomically(pmr.toStdString(),
                        std::vector<std::uint8_t>{'P', 'M', 'R', ',', 'P', 'h', 'o', 'n', 'e', 'b',
                                                  'o', 'o', 'k', '\r', '\n'});
    dialogs_.openAnswers = {pmr};
    window_->findChild<QAction*>("CSVImportPhonebook")->trigger();
    EXPECT_EQ(dialogs_.requests.back().title, "Open - Phonebook CSV File");
    EXPECT_EQ(dialogs_.requests.back().filterIndex, 5);
    EXPECT_EQ(person_.Texts().back(), "File does not contain a valid Phonebook.");
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 0, 2), "Keep");
    EXPECT_EQ(state_.CurrentJobFileName, "x.tnk");

    // Rows fill the grid in file order, whatever their index says; the 251st is left out.
    const QString trunkFile = dir_.File("Jobs/trunk.csv");
    std::string text = "TRUNK,Phonebook\nIndex, Number, Name,\n3,555,Three\n,556,Four\n3,1,Again\n";
    for (int r = 3; r < 251; ++r) {
        text += "0,9,Filler\n";
    }
    WriteFileAtomically(trunkFile.toStdString(),
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    dialogs_.openAnswers = {trunkFile};
    window_->findChild<QAction*>("CSVImportPhonebook")->trigger();
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 0, 1), "555");
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 0, 2), "Three");
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 1, 2), "Four");
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 2, 2), "Again");
    EXPECT_EQ(Cell(id.StrGrid_PBK_Phonebook, 249, 2), "Filler");
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Warning);
    EXPECT_EQ(person_.Texts().back(),
              "1 rows of the file were not imported:\nthe list holds 250 entries.");
    EXPECT_EQ(state_.CurrentJobFileName, "");
    EXPECT_EQ(state_.CsvFolder, dir_.File("Jobs").toStdString());
}

TEST_F(IdentitiesFormsTest, PhonebookCommandsNeedAJobOfTheView) {
    state_.TrunkJobLoaded = false;
    window_->findChild<QAction*>("CSVExportPhonebook")->trigger();
    EXPECT_EQ(person_.Texts(),
              std::vector<std::string>{"Please load a valid job configuration first."});
    state_.TrunkJobLoaded = true;
}

TEST_F(IdentitiesFormsTest, Screenshots) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "KM_SCREENSHOT_DIR not set";
    }
    state_.RadioTypeMask = 16;
    Networks(kSchemeMpt1343, kSchemeCpsx);
    EditEveryPage();
    QDir().mkpath(folder);
    for (int selector : {0, 1}) {
        Select(selector);
        for (FormId id : {FormId::Identities, FormId::NetworkOptions}) {
            window_->ShowForm(id);
            auto* pages = window_->Form(id)->findChild<QTabWidget*>();
            for (int page = 0; page < pages->count(); ++page) {
                if (!pages->isTabVisible(page)) {
                    continue;
                }
                const QSignalBlocker blocker(pages);
                pages->setCurrentIndex(page);
                QApplication::processEvents();
                window_->grab().save(QDir(folder).filePath(QString("n%1_%2_%3.png")
                                                               .arg(selector + 1)
                                                               .arg(static_cast<int>(id))
                                                               .arg(page)));
            }
        }
    }
}

}  // namespace
}  // namespace km
