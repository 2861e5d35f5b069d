// The Selcall form and the Encode/Decode form with its two dialogs, against a scripted person and
// scripted modal dialogs. Offsets are the image's own, written out as literals.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <memory>

#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/Scl2Form.h"
#include "forms/pmr/SclForm.h"
#include "forms/pmr/SequenceEditors.h"
#include "forms/ui/UiForm.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

class FormShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId id) override { shown.push_back(id); }
    void ReloadForm(FormId) override {}
    ConfigForm* Form(FormId id) const override {
        const auto form = forms.find(id);
        return form == forms.end() ? nullptr : form->second;
    }
    std::vector<FormId> shown;
    std::map<FormId, ConfigForm*> forms;
};

// Saves a picture of a widget when KM_SCREENSHOTS names a folder, for looking at the layout.
void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

struct Desk {
    Desk() {
        const auto bytes =
            ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
        EXPECT_TRUE(bytes && bytes->size() == PmrJobImage::kSize);
        std::copy(bytes->begin(), bytes->end(), workspace->pmr.Bytes().begin());
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
    }
    FormContext Context() { return {*workspace, state, person, dialogs, shell}; }
    template <class Form>
    std::unique_ptr<Form> Make(FormId id) {
        auto form = std::make_unique<Form>(Context());
        form->resize(1000, 640);
        shell.forms[id] = form.get();
        return form;
    }
    std::uint8_t Byte(std::size_t at) const { return workspace->pmr.U8(at); }
    std::uint16_t Word(std::size_t at) const { return workspace->pmr.U16(at); }
    std::vector<std::uint8_t> Bytes(std::size_t at, std::size_t n) const {
        const auto bytes = workspace->pmr.Bytes().subspan(at, n);
        return {bytes.begin(), bytes.end()};
    }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    FormShell shell;
};

void Choose(QComboBox& combo, const char* text) {
    const int index = combo.findText(text);
    ASSERT_GE(index, 0) << text;
    combo.setCurrentIndex(index);
}

void ChooseRadio(QGroupBox& group, const char* text) {
    for (QRadioButton* button : group.findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text;
}

bool RadioChecked(const QGroupBox& group, const char* text) {
    for (const QRadioButton* button : group.findChildren<QRadioButton*>()) {
        if (button->text() == text) {
            return button->isChecked();
        }
    }
    return false;
}

void SetCell(QTableWidget& grid, int row, int column, const char* text) {
    grid.item(row, column)->setText(text);
}
QString Cell(const QTableWidget& grid, int row, int column) {
    return grid.item(row, column)->text();
}

void Activate(QWidget& form) {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
}

QCheckBox& OperationBox(QWidget& form, const char* name) {
    auto* box = form.findChild<QCheckBox*>(name);
    EXPECT_NE(box, nullptr) << name;
    return *box;
}

// ---- Selcall form ----------------------------------------------------------------------------

TEST(SelcallForm, WhatIsTypedOnEveryPageIsStoredWhereTheRadioReadsItAndShownAgain) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    form->SOP_Edit_OwnID.setText("12ab");
    form->SOP_CBox_UserEnteredID.setChecked(true);
    Choose(form->SOP_Combo_EncToneset1, "SIGTEC_ZVEI_1");
    form->SOP_Edit_ToneDuration[1].setText("80");
    Choose(form->SOP_Combo_ResetTone, "E");
    form->SOP2_Edit_VariableDigits.setText("3");
    Choose(form->SOP2_Combo_GrpAlertTone, "Beep");
    form->FBE_Edit_Send2Encode.setText("12");
    SetCell(form->FBE_StrGrid_FBEncodes, 2, 1, "45");
    SetCell(form->SCL_SGrid_PhoneBook, 5, 1, "Depot");
    SetCell(form->SCL_SGrid_PhoneBook, 5, 2, "12AB3");
    form->SCL_CBox_PhbkAlphaOrder.setChecked(false);
    SetCell(form->STA_StrGrid_Status, 0, 1, "On scene");
    SetCell(form->STA_StrGrid_Status, 0, 2, "12");
    ChooseRadio(form->STA_RadioGrp_SentStatus, "Default Status");
    form->STA_Edit_DefaultStatus.setText("77");
    form->TRST_Edit_TimedResetInterval.setText("30");
    OperationBox(*form, "TRST_CBox_RestoreTxLockout").setChecked(true);
    OperationBox(*form, "RST_CBox_CloseSelcallMute").setChecked(true);
    form->ALM_Edit_AlarmEncode.setText("9");
    Choose(form->ALM_Combo_Microphone, "Fist Mic");
    form->ALM_CBox_StayOnAlarmCh.setChecked(true);
    form->StorePass();

    EXPECT_EQ(desk.Bytes(0x1E66, 6), (std::vector<std::uint8_t>{0x12, 0xAB, 0xFF, 0xFF, 4, 0}));
    EXPECT_EQ(desk.Byte(0x1E76) & 0x91, 0x90);  // user entered identity, default status
    EXPECT_EQ(desk.Bytes(0x1E74, 2), (std::vector<std::uint8_t>{0x77, 0xFF}));
    EXPECT_EQ(desk.Word(0x1E86), 11);
    EXPECT_EQ(desk.Word(0x1E8A + 2 * 10), 2600);  // SIGTEC_ZVEI_1, digit A
    EXPECT_EQ(desk.Word(0x1F0E), 80);
    EXPECT_EQ(desk.Word(0x1E7C), 14);
    EXPECT_EQ(desk.Word(0x1E6C), 3);
    EXPECT_EQ(desk.Byte(0x1E70) & 0x07, 3);
    EXPECT_EQ(desk.Word(0x1F14), 12);
    EXPECT_EQ(desk.Word(0x1F16 + 4), 45);
    EXPECT_EQ(desk.Word(0x1F16), 0xFFFF);
    EXPECT_EQ(desk.Bytes(0x0598 + 5 * 24, 17),
              (std::vector<std::uint8_t>{0x12, 0xAB, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0, 5, 'D', 'e', 'p', 'o', 't'}));
    EXPECT_EQ(desk.Byte(0x009E) & 1, 1);
    EXPECT_EQ(desk.Bytes(0x1F2E, 4), (std::vector<std::uint8_t>{0x12, 0xFF, 'O', 'n'}));
    EXPECT_EQ(desk.Word(0x29BA), 30);
    EXPECT_EQ(desk.Byte(0x29BC), 0x04);
    EXPECT_EQ(desk.Byte(0x29BE), 0x80);
    EXPECT_EQ(desk.Word(0x29CA), 9);
    EXPECT_EQ(desk.Byte(0x29C8) & 0xF0, 0xC0);  // fist microphone, stay on the alarm channel

    // A job stored, closed and opened again shows the same values, and stores the same bytes.
    const std::vector<std::uint8_t> stored = desk.Bytes(0, PmrJobImage::kSize);
    auto again = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    again->LoadPass();
    EXPECT_EQ(again->SOP_Edit_OwnID.text(), "12AB");
    EXPECT_TRUE(again->SOP_CBox_UserEnteredID.isChecked());
    EXPECT_EQ(again->SOP_Combo_EncToneset1.currentText(), "SIGTEC_ZVEI_1");
    EXPECT_EQ(again->SOP_Edit_ToneDuration[1].text(), "80");
    EXPECT_EQ(Cell(again->FBE_StrGrid_FBEncodes, 2, 1), "45");
    EXPECT_EQ(Cell(again->SCL_SGrid_PhoneBook, 5, 2), "12AB3");
    EXPECT_FALSE(again->SCL_CBox_PhbkAlphaOrder.isChecked());
    EXPECT_EQ(Cell(again->STA_StrGrid_Status, 0, 1), "On scene");
    EXPECT_EQ(again->STA_Edit_DefaultStatus.text(), "77");
    EXPECT_TRUE(OperationBox(*again, "RST_CBox_CloseSelcallMute").isChecked());
    EXPECT_EQ(again->ALM_Combo_Microphone.currentText(), "Fist Mic");
    again->StorePass();
    EXPECT_EQ(desk.Bytes(0, PmrJobImage::kSize), stored);
}

TEST(SelcallForm, SaveDecodedStatusDropsTheDefaultStatus) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    EXPECT_EQ(form->STA_Edit_DefaultStatus.text(), "0");
    ChooseRadio(form->STA_RadioGrp_SentStatus, "Default Status");
    EXPECT_FALSE(form->STA_Edit_DefaultStatus.isHidden());
    form->STA_Edit_DefaultStatus.setText("42");
    ChooseRadio(form->STA_RadioGrp_SentStatus, "Save Decoded Status");
    EXPECT_TRUE(form->STA_Edit_DefaultStatus.isHidden());
    form->StorePass();
    EXPECT_EQ(desk.Byte(0x1E76) & 0x11, 0x01);
    EXPECT_EQ(desk.Bytes(0x1E74, 2), (std::vector<std::uint8_t>{0xFF, 0xFF}));
    auto again = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    again->LoadPass();
    EXPECT_TRUE(RadioChecked(again->STA_RadioGrp_SentStatus, "Save Decoded Status"));
    EXPECT_TRUE(again->STA_Edit_DefaultStatus.isHidden());
}

TEST(SelcallForm, FieldRulesWarnAndKeepOrRefuse) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    Activate(*form);
    // "User Entered ID" needs an own identity.
    form->SOP_CBox_UserEnteredID.click();
    EXPECT_FALSE(form->SOP_CBox_UserEnteredID.isChecked());
    EXPECT_TRUE(desk.person.Showed(pmr::kOwnIdentityNeededText));
    form->SOP_Edit_OwnID.setText("12");
    form->SOP_CBox_UserEnteredID.click();
    EXPECT_TRUE(form->SOP_CBox_UserEnteredID.isChecked());
    // Emptying the identity unticks it when the field is left.
    form->SOP_Edit_OwnID.setFocus();
    form->SOP_Edit_OwnID.clear();
    form->SOP2_Edit_VariableDigits.setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(form->SOP_CBox_UserEnteredID.isChecked());
    // A changed count of variable digits is told once; an unchanged one is not.
    desk.person.shown.clear();
    form->SOP2_Edit_VariableDigits.setText("5");
    form->SOP2_Edit_StatusDigits.setFocus();
    form->SOP2_Edit_VariableDigits.setFocus();
    form->SOP2_Edit_StatusDigits.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(
        desk.person.Texts(),
        (std::vector<std::string>{
            "Please ensure that the number of Variable digits in any Decode or                \n"
            "Encode sequence does not exceed 5."}));
    // A duration over 4000 ms warns and is kept; one over 30000 is refused.
    desk.person.shown.clear();
    form->SOP_Edit_ToneDuration[3].setText("4500");
    form->SOP_Edit_ToneDuration[3].setFocus();
    EXPECT_TRUE(form->CheckFocusedField());
    EXPECT_TRUE(desk.person.Showed("Tone durations for Decodes must be less than 4000mS."));
    form->SOP_Edit_ToneDuration[3].setText("30001");
    EXPECT_FALSE(form->CheckFocusedField());
    EXPECT_TRUE(desk.person.Showed("Value out of range.  Must be between 20 and 30000"));
    form->SOP_Edit_ToneDuration[3].setText("1000");
}

TEST(SelcallForm, TheAlarmChannelMustBeInTheChannelTableAsItIsNow) {
    Desk desk;
    auto channels = desk.Make<TCHN_Form_Channels>(FormId::Channels);
    channels->LoadPass();
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    Activate(*form);
    form->ALM_Edit_AlarmChannelNum.setFocus();
    form->ALM_Edit_AlarmChannelNum.setText("5");
    EXPECT_FALSE(form->CheckFocusedField());
    EXPECT_TRUE(desk.person.Showed("Channel has not been defined in the channel table."));
    // A channel added to the table (not yet stored) counts.
    pmr::ChannelTable table;
    pmr::ChannelEntry entry = pmr::DefaultEntry(450000000);
    entry.SetNumber(5);
    table.Add(entry);
    channels->ReplaceTable(table);
    EXPECT_TRUE(form->CheckFocusedField());
    form->ALM_Edit_AlarmChannelNum.setText("1000");
    EXPECT_FALSE(form->CheckFocusedField());
    form->ALM_Edit_AlarmChannelNum.clear();
    EXPECT_TRUE(form->CheckFocusedField());
    form->StorePass();
    EXPECT_EQ(desk.Word(0x29C2), 0xFFFF);
}

TEST(SelcallForm, PagesAndControlsFollowTheRadioTypeAndFfskStatusMessages) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    const auto tabShown = [&](QWidget& tab) {
        return form->SCL_Page_Selcall.isTabVisible(form->SCL_Page_Selcall.indexOf(&tab));
    };
    form->LoadPass();
    EXPECT_TRUE(tabShown(form->Tab_SCL_PhoneBook));
    EXPECT_TRUE(tabShown(form->Tab_STA_Status));
    EXPECT_FALSE(form->SOP_CBox_FreeDialSelcall.isHidden());
    EXPECT_FALSE(form->ALM_Combo_Microphone.isHidden());
    EXPECT_TRUE(form->SOP_Combo_ToneMargin.isHidden());
    desk.state.RadioTypeMask = 256;  // a portable without the lists
    form->RefreshVisibility();
    EXPECT_FALSE(tabShown(form->Tab_SCL_PhoneBook));
    EXPECT_FALSE(tabShown(form->Tab_STA_Status));
    EXPECT_TRUE(form->SOP_CBox_FreeDialSelcall.isHidden());
    EXPECT_TRUE(form->ALM_Combo_Microphone.isHidden());
    EXPECT_TRUE(form->ALM_Edit_BtnPress.isHidden());
    desk.state.RadioTypeMask = 16;
    desk.state.RadioModeMask = 0;  // no radio mode: none of them
    form->RefreshVisibility();
    EXPECT_FALSE(tabShown(form->Tab_STA_Status));
    EXPECT_TRUE(form->ALM_Edit_BtnPress.isHidden());
    desk.state.RadioModeMask = 1;
    desk.workspace->pmr.SetU8(0x1D24, 0x40);
    form->RefreshVisibility();
    EXPECT_TRUE(form->STA_StrGrid_Status.isColumnHidden(2));
    EXPECT_TRUE(form->STA_Btn_FillToEnd.isHidden());
    EXPECT_TRUE(form->STA_RadioGrp_SentStatus.isHidden());
    EXPECT_TRUE(form->STA_GrpBox_RemoteOptions.isHidden());
}

TEST(SelcallForm, TheUserTonesetGridShowsWithAUserDefinedTonesetAndWarnsWhenIncomplete) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    EXPECT_TRUE(form->SOP2_GrpBox_UserToneset.isHidden());
    Choose(form->SOP_Combo_DecToneset, "USER_DEFINED");
    EXPECT_FALSE(form->SOP2_GrpBox_UserToneset.isHidden());
    for (int d = 0; d < 16; ++d) {
        SetCell(form->SOP2_StrGrid_UserTones, d, 1, d == 9 ? "" : "1000");
    }
    form->StorePass();
    EXPECT_TRUE(desk.person.Showed(pmr::kUserTonesetIncompleteText));
    EXPECT_EQ(desk.Word(0x0578), 1000);
    EXPECT_EQ(desk.Word(0x1ECC), 970);
    EXPECT_EQ(desk.Word(0x1ECC + 2), 1030);
    auto again = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    again->LoadPass();
    EXPECT_EQ(Cell(again->SOP2_StrGrid_UserTones, 0, 1), "1000");
    EXPECT_EQ(Cell(again->SOP2_StrGrid_UserTones, 9, 1), "0");
}

TEST(SelcallForm, PhoneBookAndStatusCommands) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    QTableWidget& book = form->SCL_SGrid_PhoneBook;
    SetCell(book, 10, 1, "Car");
    SetCell(book, 10, 2, "100");
    book.setCurrentCell(10, 1);
    desk.person.answers = {Answer::Yes};
    form->SCL_Btn_FillToEndClick();
    EXPECT_EQ(Cell(book, 11, 2), "101");
    EXPECT_EQ(Cell(book, 249, 1), "Car");
    EXPECT_EQ(Cell(book, 249, 2), "339");
    EXPECT_EQ(Cell(book, 9, 1), "");
    // No: nothing is filled and the grid has the focus.
    SetCell(book, 20, 2, "1A");
    book.setCurrentCell(20, 2);
    desk.person.answers = {Answer::No};
    form->SCL_Btn_FillToEndClick();
    EXPECT_EQ(Cell(book, 21, 2), "111");
    desk.person.answers = {Answer::Yes};
    form->SCL_Btn_FillToEndClick();
    EXPECT_TRUE(desk.person.Showed("'1A' is not a valid integer value"));
    EXPECT_EQ(Cell(book, 21, 2), "111");
    // Insert on the last row empties it only; Delete moves the rows up.
    book.setCurrentCell(249, 1);
    form->SCL_Btn_InsertRowClick();
    EXPECT_EQ(Cell(book, 249, 1), "");
    EXPECT_EQ(Cell(book, 248, 2), "338");
    book.setCurrentCell(10, 1);
    form->SCL_Btn_DeleteRowClick();
    EXPECT_EQ(Cell(book, 10, 2), "101");
    desk.person.answers = {Answer::Yes};
    form->SCL_Btn_ClearPhbkClick();
    EXPECT_EQ(Cell(book, 10, 1), "");
    EXPECT_TRUE(desk.person.Showed(" Delete the Entire Phonebook?\n "));

    QTableWidget& list = form->STA_StrGrid_Status;
    SetCell(list, 50, 1, "Busy");
    SetCell(list, 50, 2, "9998");
    list.setCurrentCell(50, 2);
    desk.person.answers = {Answer::Yes};
    form->STA_Btn_FillToEndClick();
    EXPECT_EQ(Cell(list, 99, 2), "9999");
    form->StorePass();
    EXPECT_EQ(desk.Bytes(0x1F2E + 26 * 99, 6),
              (std::vector<std::uint8_t>{0x99, 0x99, 'B', 'u', 's', 'y'}));
    EXPECT_EQ(desk.Bytes(0x0598 + 24 * 10, 13),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0, 0, 0}));
}

TEST(SelcallForm, ADirectCovertAlarmMicrophoneSetsTheUserInterfaceAudioInput) {
    Desk desk;
    desk.workspace->pmr.SetU16(0x2B30, 0x0302);  // two devices chosen
    auto ui = desk.Make<TForm_UI_UserInterface>(FormId::UserInterface);
    ui->LoadPass();
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    Choose(form->ALM_Combo_Microphone, "Direct Covert Mic");
    desk.person.answers = {Answer::No};
    form->ALM_Combo_MicrophoneChange();
    EXPECT_EQ(ui->Devices().input, 2);
    desk.person.answers = {Answer::Yes};
    form->ALM_Combo_MicrophoneChange();
    EXPECT_TRUE(
        desk.person.Showed("Covert Microphone audio input level will be set to 12dB."
                           "                   \n  "));
    EXPECT_EQ(ui->Devices().input, 255);
    EXPECT_EQ(ui->Devices().optionBoard, 255);
    const QTableWidget& levels = ui->Controls().StrGrid_GPIF_TxCol1;
    EXPECT_EQ(levels.item(0, levels.columnCount() - 1)->text(), "+12");
}

TEST(SelcallForm, APhoneBookNameMustFitTheHmFDisplayBeforeAnotherCellIsChosen) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    QTableWidget& book = form->SCL_SGrid_PhoneBook;
    book.setCurrentCell(3, 1);
    SetCell(book, 3, 1, "WWWWWWWWWWWW");
    book.setCurrentCell(4, 1);
    EXPECT_EQ(book.currentRow(), 3);
    ASSERT_FALSE(desk.person.shown.empty());
    EXPECT_EQ(desk.person.shown.back().kind, BoxKind::Warning);
    SetCell(book, 3, 1, "Depot");
    book.setCurrentCell(4, 1);
    EXPECT_EQ(book.currentRow(), 4);
}

TEST(SelcallForm, NextFormShowsTheDecodesOfTheEncodeDecodeForm) {
    Desk desk;
    auto form = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    form->LoadPass();
    form->SCL_Page_Selcall.setCurrentWidget(&form->Tab_SCL_Next);
    EXPECT_EQ(desk.shell.shown, std::vector<FormId>{FormId::EncodeDecode});
    EXPECT_EQ(form->SCL_Page_Selcall.currentWidget(), &form->Tab_SOP_Options);
}

// ---- Encode/Decode form ----------------------------------------------------------------------

// The next modal dialog is the encode dialog; `edit` fills it, then OK is pressed.
void ScriptEncodeDialog(Desk& desk, std::function<void(TEDIT_ENC_Form&)> edit) {
    desk.dialogs.modal.push_back([edit](QDialog& dialog) {
        auto& encode = dynamic_cast<TEDIT_ENC_Form&>(dialog);
        edit(encode);
        encode.EDENC_BitBtn_OKClick();
        return encode.result();
    });
}

TEST(EncodeDecodeForm, AnEncodeTypedInItsDialogIsListedAndStoredAsToneBytes) {
    Desk desk;
    desk.workspace->pmr.SetU16(0x1E6C, 2);  // two variable identity digits
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    EXPECT_EQ(form->windowTitle(), "Selcall 2");
    EXPECT_EQ(form->DEC_LBox_Decodes.count(), 8);
    EXPECT_EQ(form->DEC_LBox_Decodes.currentRow(), 0);
    ScriptEncodeDialog(desk, [](TEDIT_ENC_Form& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Selcall Encode Mask");
        EXPECT_EQ(dialog.EDENC_Edit_EncodeNumber.text(), "1");
        EXPECT_EQ(dialog.EDENC_Lbl_Info.tonesets[0].text(), "Toneset 1 : CML_CCIR");
        EXPECT_EQ(dialog.EDENC_Lbl_Info.durations[3].text(), "Duration 3 : 1000 mSec");
        dialog.EDENC_Edit_EncodeNumber.setText("7");
        QTest::keyClicks(&dialog.EDENC_Edit_Mask, "1a#-");
        QTest::keyClicks(&dialog.EDENC_Edit_Duration, "3");
        QTest::keyClicks(&dialog.EDENC_Edit_Toneset, "2");
        dialog.EDENC_Edit_LET.setText("150");
        Choose(dialog.EDENC_Combo_OnCarrier, "Inhibit on Carrier");
        dialog.EDENC_Edit_AppendEncode.setText("12");
    });
    form->ENC_Btn_AddClick();
    ASSERT_EQ(form->ENC_LBox_Encodes.count(), 1);
    EXPECT_EQ(form->ENC_LBox_Encodes.item(0)->text().toStdString(),
              "007    1A#-                      150  0     NoChange  InhOnCarr 0    D1    12 ");
    EXPECT_EQ(form->ENC_Lbl_Heading.text().toStdString(),
              " #     Mask                      LET  LOD   Mute      Queuing   Rsnd/AckD +Enc  ");
    form->StorePass();
    const std::vector<std::uint8_t> record = desk.Bytes(0xBA2C + 192, 32);
    EXPECT_EQ(record[0] & 0x1F, 4);
    EXPECT_EQ(record[1], 0x40 | 4);
    EXPECT_EQ(record[7], 15);
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + 12, record.begin() + 17),
              (std::vector<std::uint8_t>{0xD1, 0xDA, 0xF0, 0xFF, 0}));
    EXPECT_EQ(desk.Word(114), 7);
    EXPECT_EQ(desk.Word(0x29DA), 7);

    auto again = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    again->LoadPass();
    EXPECT_EQ(again->ENC_LBox_Encodes.item(0)->text(), form->ENC_LBox_Encodes.item(0)->text());
    again->StorePass();
    EXPECT_EQ(desk.Bytes(0xBA2C + 192, 32), record);
}

TEST(EncodeDecodeForm, MaskKeysCountAgainstTheSelcallFormAsItIsShown) {
    Desk desk;
    auto selcall = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    selcall->LoadPass();
    selcall->SOP2_Edit_StatusDigits.setText("4");  // typed, not stored
    selcall->SOP_Edit_ToneDuration[2].clear();
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    ScriptEncodeDialog(desk, [&](TEDIT_ENC_Form& dialog) {
        QTest::keyClicks(&dialog.EDENC_Edit_Mask, "*****g");
        EXPECT_EQ(dialog.EDENC_Edit_Mask.text(), "****");
        EXPECT_TRUE(
            desk.person.Showed("Maximum number of Status Digits is 4.                           \n"
                               "Maximum is specified on the Selcall\\MoreOptions page."));
        QTest::keyClicks(&dialog.EDENC_Edit_Duration, "0241");
        EXPECT_EQ(dialog.EDENC_Edit_Duration.text(), "01");
        EXPECT_TRUE(
            desk.person.Showed("Tone duration 2 is undefined.                               \n"
                               "Tone durations are specified on the selcall options page"));
        EXPECT_EQ(desk.person.beeps, 4);  // "*", "g", "2" and "4"
    });
    form->ENC_Btn_AddClick();
    EXPECT_EQ(form->Encodes().at(0).number, 1);
    EXPECT_EQ(pmr::TonesOf(form->Encodes().at(0).record, pmr::SequenceKind::Encode),
              (pmr::ToneStrings{"****", "0111", "1111"}));
}

TEST(EncodeDecodeForm, OkRefusesAnEncodeNumberedZeroOrTakenAndAddSelectsTheNewLine) {
    Desk desk;
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    for (int number : {3, 250}) {
        ScriptEncodeDialog(desk, [number](TEDIT_ENC_Form& dialog) {
            dialog.EDENC_Edit_EncodeNumber.setText(QString::number(number));
            QTest::keyClicks(&dialog.EDENC_Edit_Mask, "12");
        });
        form->ENC_Btn_AddClick();
    }
    ASSERT_EQ(form->Encodes().size(), 2u);
    EXPECT_EQ(form->ENC_LBox_Encodes.currentRow(), 1);
    // After 250 the number proposed is 0, which OK refuses; a taken number too.
    desk.dialogs.modal.push_back([&](QDialog& dialog) {
        auto& encode = dynamic_cast<TEDIT_ENC_Form&>(dialog);
        EXPECT_EQ(encode.EDENC_Edit_EncodeNumber.text(), "0");
        encode.EDENC_BitBtn_OKClick();
        EXPECT_NE(encode.result(), QDialog::Accepted);
        EXPECT_TRUE(desk.person.Showed("Value out of range.  Must be between 1 and 250"));
        encode.EDENC_Edit_EncodeNumber.setText("3");
        encode.EDENC_BitBtn_OKClick();
        EXPECT_NE(encode.result(), QDialog::Accepted);
        EXPECT_TRUE(desk.person.Showed("Duplicate Encode Numbers are not allowed."));
        encode.EDENC_Edit_EncodeNumber.setText("4");
        encode.EDENC_Edit_AppendEncode.setText("4");
        encode.EDENC_BitBtn_OKClick();
        EXPECT_TRUE(desk.person.Showed("Cannot append encode to itself. "));
        encode.EDENC_Edit_AppendEncode.clear();
        encode.EDENC_BitBtn_OKClick();
        return encode.result();
    });
    form->ENC_Btn_AddClick();
    ASSERT_EQ(form->Encodes().size(), 3u);
    EXPECT_EQ(form->Encodes()[1].number, 4);
    EXPECT_EQ(form->ENC_LBox_Encodes.currentRow(), 1);
    // Delete selects the line before; the first line removed leaves none selected.
    form->ENC_Btn_DeleteClick();
    EXPECT_EQ(form->ENC_LBox_Encodes.currentRow(), 0);
    form->ENC_Btn_DeleteClick();
    EXPECT_EQ(form->ENC_LBox_Encodes.currentRow(), -1);
    EXPECT_EQ(form->Encodes().size(), 1u);
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
}

TEST(EncodeDecodeForm, TheDecodeDialogKeepsItsRules) {
    Desk desk;
    desk.state.RadioTypeMask = 512;  // a portable: no external alert
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    form->DEC_LBox_Decodes.setCurrentRow(2);
    desk.dialogs.modal.push_back([&](QDialog& dialog) {
        auto& decode = dynamic_cast<TEDIT_DEC_Form&>(dialog);
        EXPECT_EQ(decode.windowTitle(), "Decode Mask");
        EXPECT_EQ(decode.EDDEC_Edit_DecodeNumber.text(), "3");
        EXPECT_FALSE(decode.EDDEC_Edit_DecodeNumber.isEnabled());
        EXPECT_TRUE(decode.EDDEC_Combo_ExtAlertAction.isHidden());
        EXPECT_EQ(decode.EDDEC_Lbl_Info.tonesets[0].text(), "Toneset : CML_CCIR");
        EXPECT_TRUE(decode.EDDEC_Lbl_Info.tonesets[1].isHidden());
        // "K" is no decode character.
        QTest::keyClicks(&decode.EDDEC_Edit_Mask, "12k-");
        EXPECT_EQ(decode.EDDEC_Edit_Mask.text(), "12-");
        // Duration 3 (1000 ms) is defined and not above 4000 ms.
        QTest::keyClicks(&decode.EDDEC_Edit_Duration, "3");
        // The alert tone and time are offered while the action is "Start" only.
        Choose(decode.EDDEC_Combo_AlertAction, "Stop");
        EXPECT_FALSE(decode.EDDEC_Combo_AlertTone.isEnabled());
        Choose(decode.EDDEC_Combo_AlertAction, "Start");
        EXPECT_TRUE(decode.EDDEC_Edit_AlertTime.isEnabled());
        // The trailing reset tone needs an acknowledge encode.
        decode.EDDEC_CBox_ResetAck.click();
        EXPECT_FALSE(decode.EDDEC_CBox_ResetAck.isChecked());
        EXPECT_TRUE(desk.person.Showed(pmr::kAckResetToneText));
        decode.EDDEC_Edit_AckEncode.setText("5");
        decode.EDDEC_CBox_ResetAck.click();
        EXPECT_TRUE(decode.EDDEC_CBox_ResetAck.isChecked());
        decode.EDDEC_Edit_DecodeName.setText("Depot");
        decode.EDDEC_CBox_ThirdToneReset.setChecked(true);
        decode.EDDEC_BitBtn_OK.click();
        return decode.result();
    });
    form->DEC_Btn_EditClick();
    EXPECT_EQ(form->DEC_LBox_Decodes.currentRow(), 2);
    EXPECT_EQ(form->DEC_LBox_Decodes.item(2)->text().toStdString(),
              "003  12-                     Start No      NoChg  NoChg NoChg   5   NoChg  No ");
    form->StorePass();
    EXPECT_EQ(desk.Bytes(0x29E4 + 64 + 12, 4), (std::vector<std::uint8_t>{0xC1, 0xC2, 0xEF, 0}));
    EXPECT_EQ(desk.Byte(0x29E4 + 64 + 8), 5);
    EXPECT_EQ(desk.Byte(0x29E4 + 64 + 9) & 1, 1);
    EXPECT_EQ(desk.Byte(0x29BF) & 1, 1);
    EXPECT_EQ(desk.Bytes(0x1DF4 + 24, 6), (std::vector<std::uint8_t>{'D', 'e', 'p', 'o', 't', 0}));
}

TEST(EncodeDecodeForm, NextFormShowsTheTextStrings) {
    Desk desk;
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    form->SCL2_Page_Selcall.setCurrentWidget(&form->ENC_Tab_Encode);
    form->SCL2_Page_Selcall.setCurrentWidget(&form->SCL2_Tab_Next);
    EXPECT_EQ(desk.shell.shown, std::vector<FormId>{FormId::TextStrings});
    EXPECT_EQ(form->SCL2_Page_Selcall.currentWidget(), &form->DCO_Tab_Decode);
}

// Pictures of every page and both dialogs, for looking at the layout (KM_SCREENSHOTS).
TEST(SelcallScreens, EveryPageAndDialog) {
    Desk desk;
    auto selcall = desk.Make<TSCL_Form_Selcall>(FormId::Selcall);
    selcall->LoadPass();
    Choose(selcall->SOP_Combo_EncToneset2, "USER_DEFINED");
    selcall->show();
    for (int page = 0; page + 1 < selcall->SCL_Page_Selcall.count(); ++page) {
        selcall->SCL_Page_Selcall.setCurrentIndex(page);
        QApplication::processEvents();
        Screenshot(*selcall, "selcall_" + QString::number(page) + "_" +
                                 selcall->SCL_Page_Selcall.tabText(page).replace(' ', '_'));
    }
    auto form = desk.Make<TSCL2_Form_Selcall>(FormId::EncodeDecode);
    form->LoadPass();
    form->show();
    for (int page = 0; page < 2; ++page) {
        form->SCL2_Page_Selcall.setCurrentIndex(page);
        QApplication::processEvents();
        Screenshot(*form, "selcall2_" + form->SCL2_Page_Selcall.tabText(page));
    }
    pmr::EncodeEntry encode;
    TEDIT_ENC_Form encodeDialog(selcall->CurrentSettings(), form->Encodes(), std::nullopt,
                                desk.person);
    encodeDialog.FillFromEntry(encode);
    encodeDialog.show();
    QApplication::processEvents();
    Screenshot(encodeDialog, "selcall2_encode_dialog");
    TEDIT_DEC_Form decodeDialog(selcall->CurrentSettings(), Head::HmF, true, desk.person);
    decodeDialog.FillFromEntry(form->Decodes().at(0));
    decodeDialog.show();
    QApplication::processEvents();
    Screenshot(decodeDialog, "selcall2_decode_dialog");
    EXPECT_GT(encodeDialog.sizeHint().width(), 0);
}

}  // namespace
}  // namespace km
