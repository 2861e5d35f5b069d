// The User Interface form on the shipped templates: every tab edited, stored, saved and shown
// again in both views, the rules that go beyond the rows, a change of head through the Radio Type
// form, and the Input/Output Device dialog.

#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "DataFiles.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/mobile/MobForm.h"
#include "forms/ui/IowForm.h"
#include "forms/ui/UiForm.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

constexpr int kRowHmC = 2;
constexpr int kRowKp8a = 9;
constexpr int kRowKp8c = 12;
constexpr int kValue = 1;  // the value column of a grid

class RecordingShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId id) override { shown.push_back(id); }
    void ReloadForm(FormId) override {}
    std::vector<FormId> shown;
};

// The program's single instances around one User Interface form, with a job from the templates.
struct Desk {
    explicit Desk(int imageKind, int radioTypeRow = kRowHmF) {
        state.ImageKind = imageKind;
        state.TrunkJobLoaded = imageKind == kImageTrunk;
        state.PmrJobLoaded = imageKind == kImagePmr;
        state.UserLevelMask = 8;
        workspace->trunk = datagen::TrunkTemplate();
        workspace->pmr = datagen::PmrTemplate();
        SetHead(radioTypeRow);
        state.RadioModeMask = imageKind == kImagePmr ? 1 : 2;
    }
    // The header and run-time state of a head, as the Radio Type form leaves them.
    void SetHead(int row) {
        const RadioTypeRow& head = kRadioTypeRows[static_cast<std::size_t>(row)];
        state.RadioTypeMask = head.RadioTypeMask;
        state.PortableGeneration = head.PortableGeneration;
        const RadioTypeCode code = RadioTypeCodeOfRow(row);
        for (auto bytes : {workspace->trunk.Bytes(), workspace->pmr.Bytes()}) {
            bytes[106] = code.code;
        }
        workspace->trunk.SetU8(116, code.headVariant);
        workspace->pmr.SetU8(120, code.headVariant);
    }
    void SetAccessory(int accessory) {
        workspace->trunk.SetU16(114, static_cast<std::uint16_t>(accessory));
        workspace->pmr.SetU16(118, static_cast<std::uint16_t>(accessory));
    }
    std::unique_ptr<TForm_UI_UserInterface> MakeForm() {
        auto form = std::make_unique<TForm_UI_UserInterface>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(1000, 640);
        form->LoadPass();
        form->RefreshVisibility();
        return form;
    }
    std::span<std::uint8_t> Bytes() {
        return state.ImageKind == kImagePmr ? workspace->pmr.Bytes() : workspace->trunk.Bytes();
    }
    std::uint16_t Word(std::size_t at) {
        const auto bytes = Bytes();
        return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    RecordingShell shell;
};

void Choose(QComboBox& combo, const QString& text) {
    const int index = combo.findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

void Type(QLineEdit& edit, const QString& text) {
    edit.setText(text);
}

QString Cell(TForm_UI_UserInterface& form, QTableWidget& table, int line, int column = kValue) {
    return form.GridOf(table).Text(line, column);
}

void SetCell(TForm_UI_UserInterface& form, QTableWidget& table, int line, const QString& text,
             int column = kValue) {
    form.GridOf(table).SetText(line, column, text);
}

// Answers the next Input/Output Device dialog: checks item `item` (0 is "Don't change input
// settings") and presses OK, after noting the items offered.
void AnswerWizard(ScriptedDialogs& dialogs, int item, QStringList* offered = nullptr) {
    dialogs.modal.push_back([item, offered](QDialog& dialog) {
        auto& wizard = dynamic_cast<TForm_IOW_InputOutputWizard&>(dialog);
        if (offered) {
            for (QAbstractButton* button : wizard.Devices.buttons()) {
                offered->push_back(button->text());
            }
        }
        wizard.Devices.button(item)->setChecked(true);
        wizard.BitBtn_IOW_OKClick();
        return wizard.result();
    });
}

}  // namespace

class UiFormTest : public QObject {
    Q_OBJECT
  private slots:
    void isBuiltWhenFirstLoaded();
    void showsTheTemplates();
    void everyTabSurvivesSavingAndReloading_data();
    void everyTabSurvivesSavingAndReloading();
    void storesByTheRulesOfTheOptions();
    void keysOfAMobileAndOfAPortable();
    void audioLevelsWithPhaseAndUnknownWords();
    void visibilityFollowsHeadViewLevelAndAccessory();
    void questionsAndWarnings();
    void inputOutputLinesAndTheirFixedLines();
    void deviceWizard();
    void aValueTypedButNotLeftIsCheckedBeforeAStore();
    void thePowerOnTextFitsTheHmFDisplay();
    void nextFormAndCaptions();
    void headChangeRebuildsTheLists();
    void screenshots();
};

void UiFormTest::isBuiltWhenFirstLoaded() {
    Desk desk(kImageNone);
    TForm_UI_UserInterface form(
        FormContext{*desk.workspace, desk.state, desk.person, desk.dialogs, desk.shell});
    QVERIFY(!form.Built());
    form.LoadPass();  // no job view: nothing to show
    form.StorePass();
    form.RefreshVisibility();
    QVERIFY(!form.Built());
    desk.state.ImageKind = kImageTrunk;
    form.LoadPass();
    QVERIFY(form.Built());
    QCOMPARE(form.windowTitle(), QString("User Interface"));
}

void UiFormTest::showsTheTemplates() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QCOMPARE(c.CB_UO_PowerOnMode.currentText(), QString("Last Selected Mode"));
    QCOMPARE(c.Edit_UO_BacklightTime.text(), QString("10"));
    QCOMPARE(c.Edit_UO_MenuTimeout.text(), QString("10"));
    QCOMPARE(c.Edit_UO_UserPassword.text(), QString("0"));
    QCOMPARE(c.Combo_AU_AlertOffset.currentText(), QString("0"));
    QCOMPARE(c.Edit_ALM_SecondDialStr.text(), QString());
    QCOMPARE(c.ButtonFunctions[0].currentText(), QString("Undefined"));
    QCOMPARE(Cell(*form, c.StrGrid_CT_CallTypes, 0, 1), QString("*1*"));
    QCOMPARE(Cell(*form, c.StrGrid_CT_CallTypes, 9, 2), QString("Cancl Busy"));
    QCOMPARE(Cell(*form, c.StrGrid_MNU_MainMenu, 0), QString("No Menu"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("0"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 1), QString("0.0"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol3, 3), QString("60%"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_RxCol1, 0), QString("0"));
    QCOMPARE(c.Combo_GPIF_Discriminator.currentText(), QString("0.0"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 0, 1), QString("Input"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 0, 2), QString("Undefined"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 1, 1), QString("Output"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 1, 2), QString());

    // Loaded and stored unchanged, the job keeps every byte.
    const std::vector<std::uint8_t> before(desk.Bytes().begin(), desk.Bytes().end());
    form->StorePass();
    for (std::size_t i = 0; i < before.size(); ++i) {
        QVERIFY2(before[i] == desk.Bytes()[i], qPrintable(QString::number(i, 16)));
    }
    Desk pmr(kImagePmr);
    form = pmr.MakeForm();
    const std::vector<std::uint8_t> pmrBefore(pmr.Bytes().begin(), pmr.Bytes().end());
    form->StorePass();
    for (std::size_t i = 0; i < pmrBefore.size(); ++i) {
        QVERIFY2(pmrBefore[i] == pmr.Bytes()[i], qPrintable(QString::number(i, 16)));
    }
    QCOMPARE(form->Controls().Edit_VOX_HangTime.text(), QString("1000"));
}

void UiFormTest::everyTabSurvivesSavingAndReloading_data() {
    QTest::addColumn<int>("imageKind");
    QTest::addColumn<int>("head");
    QTest::newRow("trunk, HM-F") << int{kImageTrunk} << kRowHmF;
    QTest::newRow("trunk, KP8C") << int{kImageTrunk} << kRowKp8c;
    QTest::newRow("PMR, HM-F") << int{kImagePmr} << kRowHmF;
    QTest::newRow("PMR, KP8C") << int{kImagePmr} << kRowKp8c;
}

// Every tab edited, stored, written to a file, read into a fresh job and shown again.
void UiFormTest::everyTabSurvivesSavingAndReloading() {
    QFETCH(int, imageKind);
    QFETCH(int, head);
    QTemporaryDir dir;
    const std::string path = dir.filePath("job").toStdString();
    const bool pmr = imageKind == kImagePmr;
    {
        Desk desk(imageKind, head);
        desk.SetAccessory(2);
        // A multi-mode radio, so that any power-on mode is kept.
        desk.Bytes()[107] = 2;
        desk.state.RadioModeMask = 4;
        auto form = desk.MakeForm();
        UiControls& c = form->Controls();
        Choose(c.CB_UO_PowerOnMode, "P25");
        Type(c.Edit_UO_UserPassword, "4321");
        Type(c.Edit_UO_BacklightTime, "120");
        Type(c.Edit_UO_PowerDownTime, "30");
        Type(c.Edit_UO_MessageTimeout, "9");
        Type(c.Edit_UO_WelcomeText, "Hello");
        c.CBox_UO_LowPowerOverride.setChecked(true);
        c.CBox_UO_Autolock.setChecked(true);
        c.CBox_AU_KeyBeepsEnabled.setChecked(true);
        Type(c.Edit_AU_MaxVolume, "25");
        Choose(c.Combo_AU_AlertOffset, "-7");
        Type(c.Edit_AU_DataVolume, "12");
        c.RGrp_AU_ExtAlertPC.findChildren<QRadioButton*>().at(1)->setChecked(true);
        if (pmr) {
            Type(c.Edit_AU_MinMute, "3");
            c.CBox_AU_RemoveCTCSS.setChecked(true);
            c.CBox_VOX_VoxWithHeadset.setChecked(true);
            Choose(c.Combo_VOX_Sensitivity, "11");
            Type(c.Edit_VOX_HangTime, "2000");
            Choose(c.Combo_KEY_TogFunction, "Mute");
            Type(c.Edit_KEY_ToggleText, "Toggled");
            Type(c.ButtonLabels[6], "Seven");
        } else {
            Type(c.Edit_AU_ExtAlertDuration, "1000");
            Choose(c.Combo_ALM_Microphone, "Handsfree Mic");
            Type(c.Edit_ALM_Repeats, "3");
            Type(c.Edit_ALM_AlarmDebounce, "500");
            Type(c.Edit_ALM_SecondDialStr, "12*#");
            c.CBox_KEY_PTTCallRequest.setChecked(true);
            SetCell(*form, c.StrGrid_CT_CallTypes, 2, "#7", 1);
            SetCell(*form, c.StrGrid_CT_CallTypes, 2, "Urgent", 2);
        }
        Choose(c.ButtonFunctions[0], pmr ? "Send Ch Encode" : "Alarm");
        Choose(c.ButtonFunctions[4], pmr ? "Monitor-Reset" : "Menu");
        Choose(c.ButtonFunctions[6], pmr ? "Channel Up" : "Call SFD 2");
        Choose(c.ButtonFunctions[9], pmr ? "Special Enc3" : "Send DTMF1");
        Type(c.ButtonLabels[0], "Scan");
        Choose(c.ComboBox_KEY_SelectSwitch, "First 16 channels");
        Choose(c.ComboBox_KEY_D1, "Zone");
        Choose(c.DialValues[2], "Zone 5");
        Type(c.Edit_KEY2_CFST, "120");
        Type(c.Edit_KEY2_TiltDelay, "30");
        Choose(c.ComboBox_KEY2_MDAlertFunction, pmr ? "Alarm" : "Call");
        QVERIFY(!c.StrGrid_MNU_SetupMenu.isEnabled());
        SetCell(*form, c.StrGrid_MNU_MainMenu, 0, "Setup");
        QVERIFY(c.StrGrid_MNU_SetupMenu.isEnabled());
        SetCell(*form, c.StrGrid_MNU_SetupMenu, 3, "Contrast");
        Choose(c.Combo_IO_OptionBoardMode, "600ohm Interface");
        Choose(c.Combo_IO_Protocol, "SUP");
        SetCell(*form, c.StrGrid_IO_OptionBoard, 3, "Input", 1);
        SetCell(*form, c.StrGrid_IO_OptionBoard, 3, "High", 3);
        SetCell(*form, c.StrGrid_IO_OptionBoard, 3, "250", 4);
        SetCell(*form, c.StrGrid_GPIF_TxCol1, 5, "+6");
        SetCell(*form, c.StrGrid_GPIF_TxCol3, 4, "75%");
        c.CBox_GPIF_PhaseSelcall.setChecked(true);
        Choose(c.Combo_GPIF_LimiterGain, "18 ");
        form->StorePass();
        QVERIFY(WriteFileAtomically(path, desk.Bytes()));
        QCOMPARE(desk.person.shown.size(), std::size_t{0});
    }
    Desk desk(imageKind, head);
    desk.SetAccessory(2);
    desk.state.RadioModeMask = 4;
    const auto saved = ReadFileBytes(path, desk.Bytes().size() + 1);
    QVERIFY(saved && saved->size() == desk.Bytes().size());
    std::copy(saved->begin(), saved->end(), desk.Bytes().begin());
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QCOMPARE(c.CB_UO_PowerOnMode.currentText(), QString("P25"));
    QCOMPARE(c.Edit_UO_UserPassword.text(), QString("4321"));
    QCOMPARE(c.Edit_UO_BacklightTime.text(), QString("120"));
    QCOMPARE(c.Edit_UO_PowerDownTime.text(), QString("30"));
    QCOMPARE(c.Edit_UO_MessageTimeout.text(), QString("9"));
    QCOMPARE(c.Edit_UO_WelcomeText.text(), QString("Hello"));
    QVERIFY(c.CBox_UO_LowPowerOverride.isChecked());
    QVERIFY(c.CBox_UO_Autolock.isChecked());
    QVERIFY(c.CBox_AU_KeyBeepsEnabled.isChecked());
    QCOMPARE(c.Edit_AU_MaxVolume.text(), QString("25"));
    QCOMPARE(c.Combo_AU_AlertOffset.currentText(), QString("-7"));
    QCOMPARE(c.Edit_AU_DataVolume.text(), QString("12"));
    QVERIFY(c.RGrp_AU_ExtAlertPC.findChildren<QRadioButton*>().at(1)->isChecked());
    if (pmr) {
        QCOMPARE(c.Edit_AU_MinMute.text(), QString("3"));
        QVERIFY(c.CBox_AU_RemoveCTCSS.isChecked());
        QVERIFY(c.CBox_VOX_VoxWithHeadset.isChecked());
        QCOMPARE(c.Combo_VOX_Sensitivity.currentText(), QString("11"));
        QCOMPARE(c.Edit_VOX_HangTime.text(), QString("2000"));
        QCOMPARE(c.Combo_KEY_TogFunction.currentText(), QString("Mute"));
        QCOMPARE(c.Edit_KEY_ToggleText.text(), QString("Toggled"));
        QCOMPARE(c.ButtonLabels[6].text(), QString("Seven"));
    } else {
        QCOMPARE(c.Edit_AU_ExtAlertDuration.text(), QString("1000"));
        QCOMPARE(c.Combo_ALM_Microphone.currentText(), QString("Handsfree Mic"));
        QCOMPARE(c.Edit_ALM_Repeats.text(), QString("3"));
        QCOMPARE(c.Edit_ALM_AlarmDebounce.text(), QString("500"));
        QCOMPARE(c.Edit_ALM_SecondDialStr.text(), QString("12*#"));
        QVERIFY(c.CBox_KEY_PTTCallRequest.isChecked());
        QCOMPARE(Cell(*form, c.StrGrid_CT_CallTypes, 2, 1), QString("#7"));
        QCOMPARE(Cell(*form, c.StrGrid_CT_CallTypes, 2, 2), QString("Urgent"));
    }
    QCOMPARE(c.ButtonFunctions[0].currentText(), QString(pmr ? "Send Ch Encode" : "Alarm"));
    const bool portable = head == kRowKp8c;
    // A mobile has no F7 and no microphone keys; its F5 survives.
    QCOMPARE(c.ButtonFunctions[4].currentText(), QString(pmr ? "Monitor-Reset" : "Menu"));
    if (portable) {
        QCOMPARE(c.ButtonFunctions[6].currentText(), QString(pmr ? "Channel Up" : "Call SFD 2"));
        QCOMPARE(c.ButtonFunctions[9].currentText(), QString(pmr ? "Special Enc3" : "Send DTMF1"));
    }
    QCOMPARE(c.ButtonLabels[0].text(), QString("Scan"));
    QCOMPARE(c.ComboBox_KEY_SelectSwitch.currentText(), QString("First 16 channels"));
    QCOMPARE(c.ComboBox_KEY_D1.currentText(), QString("Zone"));
    QCOMPARE(c.DialValues[2].currentText(), QString("Zone 5"));
    QCOMPARE(c.DialValues[0].currentText(), QString());
    QCOMPARE(c.Edit_KEY2_CFST.text(), QString("120"));
    QCOMPARE(c.Edit_KEY2_TiltDelay.text(), QString("30"));
    QCOMPARE(c.ComboBox_KEY2_MDAlertFunction.currentText(), QString(pmr ? "Alarm" : "Call"));
    QCOMPARE(Cell(*form, c.StrGrid_MNU_MainMenu, 0), QString("Setup"));
    QCOMPARE(Cell(*form, c.StrGrid_MNU_SetupMenu, 3), QString("Contrast"));
    QCOMPARE(c.Combo_IO_OptionBoardMode.currentText(), QString("600ohm Interface"));
    QCOMPARE(c.Combo_IO_Protocol.currentText(), QString("SUP"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 3, 1), QString("Input"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 3, 3), QString("High"));
    QCOMPARE(Cell(*form, c.StrGrid_IO_OptionBoard, 3, 4), QString("250"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 5), QString("+6"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol3, 4), QString("75%"));
    QVERIFY(c.CBox_GPIF_PhaseSelcall.isChecked());
    QCOMPARE(c.Combo_GPIF_LimiterGain.currentText(), QString("18 "));
}

void UiFormTest::storesByTheRulesOfTheOptions() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    // Trunk Radio with "PMR" chosen stores Network 1 (the list refuses it when chosen by hand;
    // a value set by other means still obeys the store's rule).
    c.CB_UO_PowerOnMode.setCurrentIndex(c.CB_UO_PowerOnMode.findText("PMR"));
    Type(c.Edit_UO_UserPassword, "0999");
    Type(c.Edit_AU_ExtAlertDuration, "1000");
    c.RGrp_AU_ExtAlertPC.findChildren<QRadioButton*>().at(2)->setChecked(true);  // Off
    form->StorePass();
    QCOMPARE(desk.Word(0x090), std::uint16_t{1});
    QCOMPARE(desk.Word(0x092), std::uint16_t{0});
    QCOMPARE(desk.Word(0x0AE), std::uint16_t{250});
    QVERIFY((desk.Bytes()[0x0A1] & 0x02) != 0);
    QCOMPARE(desk.workspace->pmr.Text(0x080, 16), std::string("-OPERATION DATA-"));

    Type(c.Edit_UO_UserPassword, "1234");
    form->StorePass();
    QCOMPARE(desk.Word(0x092), std::uint16_t{0x1234});

    // A stored 9000 shows as 0, -31 selects the first item, a Simple PMR power-on mode shows as
    // "PMR" with its box; both alert bits show "Off".
    desk.Bytes()[0x0AE] = 9000 & 0xFF;
    desk.Bytes()[0x0AF] = 9000 >> 8;
    desk.Bytes()[0x0AA] = 0xE1;
    desk.Bytes()[0x0AB] = 0xFF;
    desk.Bytes()[0x090] = 4;
    desk.Bytes()[0x0A0] |= 0x80;
    desk.Bytes()[0x0A2] = 0;
    desk.Bytes()[0x0A3] = 0;
    form->LoadPass();
    QCOMPARE(c.Edit_AU_ExtAlertDuration.text(), QString("0"));
    QCOMPARE(c.Combo_AU_AlertOffset.currentIndex(), 0);
    QCOMPARE(c.CB_UO_PowerOnMode.currentText(), QString("PMR"));
    QVERIFY(c.CBox_UO_SimplePMR.isChecked());
    QVERIFY(c.RGrp_AU_ExtAlertPC.findChildren<QRadioButton*>().at(2)->isChecked());
    QCOMPARE(c.Edit_AU_ExtAlertDelay.text(), QString("1"));
    // At the Engineering level the trunk store keeps Simple PMR.
    form->StorePass();
    QCOMPARE(desk.Word(0x090), std::uint16_t{4});
}

void UiFormTest::keysOfAMobileAndOfAPortable() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    Choose(c.ButtonFunctions[4], "Alarm");
    Choose(c.ButtonFunctions[5], "Clear");
    Type(c.ButtonLabels[0], "Scan");
    form->StorePass();
    QCOMPARE(desk.Word(0x0C0), std::uint16_t{7});
    QCOMPARE(desk.Word(0x0D6), std::uint16_t{6});
    const std::uint16_t fixed[] = {0, 6, 3, 4, 2, 1};
    for (std::size_t i = 0; i < 6; ++i) {
        QCOMPARE(desk.Word(0x0CA + 2 * i), fixed[i]);
    }
    QCOMPARE(desk.Bytes()[0x3A4], std::uint8_t{73});
    QCOMPARE(desk.Bytes()[0x3A5], std::uint8_t{7});

    // A KP8C with ACC1 keeps F5..F11 one after the other and gets its microphone mark.
    Desk portable(kImagePmr, kRowKp8c);
    portable.SetAccessory(1);
    form = portable.MakeForm();
    UiControls& p = form->Controls();
    Choose(p.ButtonFunctions[4], "Backlight");
    Choose(p.ButtonFunctions[8], "Zone Up");
    Type(p.ButtonLabels[4], "Light");
    form->StorePass();
    QCOMPARE(portable.Word(0x0CA), std::uint16_t{0x37});
    QCOMPARE(portable.Word(0x0D2), kPmrFunctions[62].code);
    QCOMPARE(portable.Word(0x0DC), std::uint16_t{0x80});
    QCOMPARE(portable.workspace->pmr.Text(0x1D96, 6), std::string("Light"));
    QCOMPARE(portable.Bytes()[0x1D94], std::uint8_t{0});

    // A stored code no list has is shown by number and written back unchanged.
    portable.workspace->pmr.SetU16(0x0C2, 0x77);
    form->LoadPass();
    QCOMPARE(p.ButtonFunctions[0].currentText(), QString("? 119"));
    form->StorePass();
    QCOMPARE(portable.Word(0x0C2), std::uint16_t{0x77});
}

void UiFormTest::audioLevelsWithPhaseAndUnknownWords() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    c.CBox_GPIF_PhaseDTMF.setChecked(true);
    SetCell(*form, c.StrGrid_GPIF_TxCol1, 0, "-18");
    form->StorePass();
    QCOMPARE(desk.Word(0x2158), std::uint16_t{60256});
    QCOMPARE(desk.Word(0x2148), std::uint16_t{0xFFFD});
    c.CBox_GPIF_PhaseDTMF.setChecked(false);
    form->LoadPass();
    QVERIFY(c.CBox_GPIF_PhaseDTMF.isChecked());
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol3, 3), QString("60%"));
    c.CBox_GPIF_PhaseDTMF.setChecked(false);
    form->StorePass();
    QCOMPARE(desk.Word(0x2158), std::uint16_t{5280});

    // A word no step has shows as its number and stays as it was.
    desk.workspace->trunk.SetU16(0x2150, 12345);
    form->LoadPass();
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 1), QString("? 12345"));
    form->StorePass();
    QCOMPARE(desk.Word(0x2150), std::uint16_t{12345});

    // Defaults: "+12" for the first and third input of a portable; both devices forgotten.
    desk.SetHead(kRowKp8a);
    form->LoadPass();
    SetCell(*form, c.StrGrid_GPIF_TxCol3, 6, "200%");
    c.Btn_GPIF_Defaults.click();
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+12"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 1), QString("0.0"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 2), QString("+12"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol3, 6), QString("100%"));
    QCOMPARE(form->Devices().input, 255);
    QCOMPARE(form->Devices().optionBoard, 255);
    form->StorePass();
    QCOMPARE(desk.Word(0x2140), std::uint16_t{0xFFFF});
    QCOMPARE(desk.Word(0x2148), std::uint16_t{2});
}

void UiFormTest::visibilityFollowsHeadViewLevelAndAccessory() {
    Desk desk(kImageTrunk, kRowHmF);
    desk.state.UserLevelMask = 1;
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QTabWidget& pages = c.Page_UI_UserInterface;
    QVERIFY(!pages.isTabVisible(pages.indexOf(&c.Tab_KEY2_MicKeys)));
    QVERIFY(!pages.isTabVisible(pages.indexOf(&c.Tab_GPIF_AudioLevels)));
    QVERIFY(!pages.isTabVisible(pages.indexOf(&c.Tab_MRS_Mrs)));
    QVERIFY(pages.isTabVisible(pages.indexOf(&c.Tab_CT_CallTypes)));
    QVERIFY(pages.isTabVisible(pages.indexOf(&c.Tab_IO_InputOutput)));
    QVERIFY(c.CBox_UO_SimplePMR.isHidden());
    QVERIFY(c.ButtonFunctions[6].isHidden());

    desk.state.UserLevelMask = 4;
    desk.SetHead(kRowKp8a);
    desk.SetAccessory(2);
    form->LoadPass();
    form->RefreshVisibility();
    QVERIFY(pages.isTabVisible(pages.indexOf(&c.Tab_KEY2_MicKeys)));
    QVERIFY(pages.isTabVisible(pages.indexOf(&c.Tab_GPIF_AudioLevels)));
    QVERIFY(!pages.isTabVisible(pages.indexOf(&c.Tab_IO_InputOutput)));
    QVERIFY(!c.ButtonFunctions[6].isHidden());
    QVERIFY(!c.GBox_KEY2_GPS.isHidden());

    // A change of accessory on the Radio Type form reaches the form.
    form->AccessoryChanged({3, false});
    QVERIFY(pages.isTabVisible(pages.indexOf(&c.Tab_KEY2_MicKeys)));
    QVERIFY(c.GBox_KEY2_MicButtons.isHidden());
    QVERIFY(c.GBox_KEY2_GPS.isHidden());
    form->AccessoryChanged({0, false});
    QVERIFY(!pages.isTabVisible(pages.indexOf(&c.Tab_KEY2_MicKeys)));
}

void UiFormTest::questionsAndWarnings() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    Choose(c.CB_UO_PowerOnMode, "PMR");
    QCOMPARE(desk.person.Texts().back(),
             std::string("You Cannot Power-up in PMR mode,                   \n"
                         "if the Mobile is Trunk only."));
    QCOMPARE(c.CB_UO_PowerOnMode.currentText(), QString("Network 1"));

    Type(c.Edit_UO_PowerDownTime, "15");
    c.CBox_UO_PermanentPower.click();
    QCOMPARE(desk.person.Texts().back(),
             std::string("Power Down Timer should be disabled if Permanent-Power option is "
                         "enabled.                       \n"));
    QVERIFY(c.CBox_UO_PermanentPower.isChecked());

    // "Direct Aux Mic": No leaves the levels; Yes sets the first input to +12 and forgets the
    // devices.
    desk.person.answers = {Answer::No, Answer::Yes};
    Choose(c.Combo_ALM_Microphone, "Direct Aux Mic");
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("0"));
    Choose(c.Combo_ALM_Microphone, "Direct Aux Mic");
    QCOMPARE(desk.person.Texts().back(),
             std::string("Covert Microphone audio input level will be set to 12dB.              "
                         "     \n  "));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+12"));
    QCOMPARE(c.Lbl_IO_InputDevice.text(), QString(" "));
    QCOMPARE(form->Devices().input, 255);

    // FFSK phase with a 3RP Network 1.
    desk.workspace->trunk.SetU16(trunk::NetworkFileStart(0) + 94, 2);
    c.CBox_GPIF_PhaseFFSK.setChecked(true);
    c.CBox_GPIF_PhaseFFSK.click();
    QCOMPARE(desk.person.Texts().back(),
             std::string("This option must be enabled if the Network Scheme is 3RP.           "
                         "           \n"));
    form->StorePass();
    QVERIFY(desk.Word(0x216C) >= 0x8000);

    Desk pmr(kImagePmr);
    form = pmr.MakeForm();
    Choose(form->Controls().CB_UO_PowerOnMode, "Network 2");
    QCOMPARE(pmr.person.Texts().back(),
             std::string("You Cannot Power-up in Trunk mode,                   \n"
                         "if the Mobile is PMR only."));
    QCOMPARE(form->Controls().CB_UO_PowerOnMode.currentText(), QString("PMR"));
}

void UiFormTest::inputOutputLinesAndTheirFixedLines() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QTableWidget& table = c.StrGrid_IO_OptionBoard;
    QCOMPARE(table.horizontalHeaderItem(1)->text(), QString("Input/Output"));
    QCOMPARE(table.horizontalHeaderItem(4)->text(), QString("Dbnce(mS)"));
    QCOMPARE(Cell(*form, table, 0, 0), QString("Input0   DB15-7"));
    QCOMPARE(Cell(*form, table, 1, 0), QString("Output0  DB15-8"));
    // Without a board only the two connector lines are uncovered; DMAP shows all ten.
    QVERIFY(table.isRowHidden(2));
    QVERIFY(!table.isRowHidden(1));

    table.setFocus();
    table.setCurrentCell(0, 1);
    QTest::keyClicks(&table, "O");
    QCOMPARE(desk.person.Texts().back(), std::string("DB15 Pin 7 is always an Input."));
    QCOMPARE(Cell(*form, table, 0, 1), QString("Input"));
    table.setCurrentCell(1, 1);
    QTest::keyClicks(&table, "I");
    QCOMPARE(desk.person.Texts().back(), std::string("DB15 Pin 8 is always an Output."));
    table.setCurrentCell(1, 4);
    QTest::keyClicks(&table, "5");
    QCOMPARE(desk.person.Texts().back(),
             std::string("Debounce property is not required for Outputs."));
    QCOMPARE(Cell(*form, table, 1, 4), QString());

    // An output line's functions are the outputs; an input with no function stores 0xFF.
    SetCell(*form, table, 1, "Music Mute", 2);
    form->StorePass();
    QCOMPARE(desk.Bytes()[0x20F8], std::uint8_t{0xFF});
    QCOMPARE(desk.Word(0x20FA), std::uint16_t{0xFFFF});
    QCOMPARE(desk.Bytes()[0x20FC], std::uint8_t{2});
}

void UiFormTest::deviceWizard() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QTableWidget& table = c.StrGrid_IO_OptionBoard;

    // "PTT Ext" with "Direct Covert Mic".
    QStringList offered;
    AnswerWizard(desk.dialogs, 2, &offered);
    SetCell(*form, table, 0, "PTT Ext", 2);
    QCOMPARE(offered, (QStringList{"Don't change input settings", "Desk Mic", "Direct Covert Mic",
                                   "Mini Handsfree Mic", "4mVrms Ext Input", "40mVrms Ext Input",
                                   "400mVrms Ext Input"}));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+42"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 1), QString("0.0"));
    QCOMPARE(c.Combo_GPIF_LimiterGain.currentText(), QString("12 "));
    QCOMPARE(c.Lbl_IO_InputDevice.text(), QString("Direct Covert Mic"));
    form->StorePass();
    QCOMPARE(desk.Bytes()[0x2140], std::uint8_t{2});

    // "PTT Data" offers only the data pipe, which presets inputs 3 and 4.
    offered.clear();
    AnswerWizard(desk.dialogs, 1, &offered);
    SetCell(*form, table, 0, "PTT Data", 2);
    QCOMPARE(offered, (QStringList{"Don't change input settings", "RS232 Data Pipe"}));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+42"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 2), QString("-6"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 3), QString("-1.0"));

    // "Don't change input settings" leaves every setting and stores 255.
    AnswerWizard(desk.dialogs, 0);
    SetCell(*form, table, 0, "PTT Ext Data", 2);
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+42"));
    QCOMPARE(form->Devices().input, 255);

    // A function that needs no device clears the label, not the selection.
    SetCell(*form, table, 0, "Alarm", 2);
    QCOMPARE(c.Lbl_IO_InputDevice.text(), QString(" "));
    QCOMPARE(form->Devices().input, 255);

    // DMAP: "DMAP Dual Head" sets both serial rates to 19200, "DMAP Line User" leaves them.
    Choose(c.Combo_IO_SerialADataRate, "1200");
    AnswerWizard(desk.dialogs, 2);
    Choose(c.Combo_IO_OptionBoardMode, "DMAP");
    QCOMPARE(c.Combo_IO_SerialADataRate.currentText(), QString("1200"));
    QCOMPARE(c.Lbl_IO_OptionBoard.text(), QString("DMAP Line User"));
    QVERIFY(!table.isRowHidden(9));
    AnswerWizard(desk.dialogs, 1);
    Choose(c.Combo_IO_OptionBoardMode, "DMAP");
    QCOMPARE(c.Combo_IO_SerialADataRate.currentText(), QString("19200"));
    QCOMPARE(c.Combo_IO_SerialBDataRate.currentText(), QString("19200"));
    // Cancel changes nothing.
    desk.dialogs.modal.push_back([](QDialog&) { return int{QDialog::Rejected}; });
    Choose(c.Combo_IO_OptionBoardMode, "SIB");
    QCOMPARE(c.Lbl_IO_OptionBoard.text(), QString(" "));
    QCOMPARE(form->Devices().optionBoard, 10);
    form->StorePass();
    QCOMPARE(desk.Word(0x2140), std::uint16_t{0x0AFF});

    // A stored word shows the names; the selections are the job's.
    desk.workspace->trunk.SetU16(0x2140, 0x0AFF);
    form->LoadPass();
    QCOMPARE(c.Lbl_IO_InputDevice.text(), QString());
    QCOMPARE(c.Lbl_IO_OptionBoard.text(), QString("DMAP Dual Head"));
    QCOMPARE(desk.dialogs.unexpectedDialogs, 0);
}

void UiFormTest::aValueTypedButNotLeftIsCheckedBeforeAStore() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    UiControls& c = form->Controls();
    c.Edit_UO_MenuTimeout.setFocus();
    QApplication::processEvents();
    Type(c.Edit_UO_MenuTimeout, "999");
    QVERIFY(!form->CheckFocusedField());
    QCOMPARE(desk.person.Texts().back(),
             std::string("Value out of range.  Must be between 1 and 255"));
    Type(c.Edit_UO_MenuTimeout, "200");
    QVERIFY(form->CheckFocusedField());
}

void UiFormTest::thePowerOnTextFitsTheHmFDisplay() {
    for (int head : {kRowHmF, int{kRowHmFPlus}}) {
        Desk desk(kImageTrunk, head);
        auto form = desk.MakeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QLineEdit& text = form->Controls().Edit_UO_WelcomeText;
        text.setFocus();
        // "W" is 17 pixels: six fit the 103 pixels of the HM-F display, a seventh does not.
        QTest::keyClicks(&text, "WWWWWWW");
        QCOMPARE(text.text(), QString(head == kRowHmF ? "WWWWWW" : "WWWWWWW"));
        QCOMPARE(desk.person.beeps, head == kRowHmF ? 1 : 0);
    }
}

void UiFormTest::nextFormAndCaptions() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    UiControls& c = form->Controls();
    QTabWidget& pages = c.Page_UI_UserInterface;
    QCOMPARE(pages.tabText(pages.indexOf(&c.Tab_VOX_VoxAlarm)), QString("VOX / Alarm"));
    QCOMPARE(pages.tabText(pages.indexOf(&c.Tab_UI_Next)), QString("Next Form -->"));
    pages.setCurrentWidget(&c.Tab_UI_Next);
    QCOMPARE(desk.shell.shown, std::vector<FormId>{FormId::Identities});
    QCOMPARE(pages.currentWidget(), &c.Tab_UO_UserOptions);

    desk.state.ImageKind = kImagePmr;
    form->LoadPass();
    form->RefreshVisibility();
    QCOMPARE(pages.tabText(pages.indexOf(&c.Tab_VOX_VoxAlarm)), QString("VOX"));
    pages.setCurrentWidget(&c.Tab_UI_Next);
    QCOMPARE(desk.shell.shown.back(), FormId::Channels);
}

// HM-F to KP8A and back in the main window: the lists follow the head, a function the new head
// does not offer falls back to the first item, and the keys and inputs take the portable
// defaults.
void UiFormTest::headChangeRebuildsTheLists() {
    testing::WorkDir dir;
    QVERIFY(WriteFileAtomically(dir.Path() / "default.tct", datagen::TrunkTemplate().Bytes()));
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    TForm_MF_MainForm window(*workspace, state, person, dialogs, dir.Path());
    window.NewTrunkJob();
    auto* mobile = dynamic_cast<TForm_MOB_Mobile*>(window.Form(FormId::RadioType));
    auto* form = dynamic_cast<TForm_UI_UserInterface*>(window.Form(FormId::UserInterface));
    QVERIFY(mobile && form);
    UiControls& c = form->Controls();
    Choose(c.ButtonFunctions[0], "Auxiliary");  // offered by mobiles only
    Choose(c.ButtonFunctions[1], "Alarm");
    QVERIFY(c.ButtonFunctions[0].findText("Auxiliary") >= 0);

    person.answers = {Answer::Yes};
    mobile->ComboBox_MOB_Head.setCurrentIndex(kRowKp8a);
    emit mobile->ComboBox_MOB_Head.activated(kRowKp8a);
    QCOMPARE(state.RadioTypeMask, 512);
    QCOMPARE(c.ButtonFunctions[0].findText("Auxiliary"), -1);
    QCOMPARE(c.ButtonFunctions[0].currentText(), QString("Undefined"));
    QCOMPARE(c.ButtonFunctions[1].currentText(), QString("Alarm"));
    // F8..F11 of a portable: the portable defaults Left, Right, none, Clear.
    QCOMPARE(c.ButtonFunctions[7].currentText(), QString("Left"));
    QCOMPARE(c.ButtonFunctions[10].currentText(), QString("Clear"));
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("+12"));
    QVERIFY(!c.Image_UI_ControlUnit.isHidden());

    person.answers = {Answer::Yes};
    mobile->ComboBox_MOB_Head.setCurrentIndex(1);  // HM-B: no picture here
    emit mobile->ComboBox_MOB_Head.activated(1);
    QVERIFY(c.Image_UI_ControlUnit.isHidden());
    QCOMPARE(Cell(*form, c.StrGrid_GPIF_TxCol1, 0), QString("0"));
    QCOMPARE(person.unexpectedQuestions, 0);
}

// Pictures of every tab for a mobile and a portable head in both views, written when
// KM_SCREENSHOT_DIR names a folder.
void UiFormTest::screenshots() {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("KM_SCREENSHOT_DIR not set");
    }
    for (int imageKind : {kImageTrunk, kImagePmr}) {
        for (int head : {kRowHmF, kRowKp8c}) {
            Desk desk(imageKind, head);
            desk.SetAccessory(head == kRowKp8c ? 2 : 0);
            desk.state.RadioModeMask = 4;
            auto form = desk.MakeForm();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QTabWidget& pages = form->Controls().Page_UI_UserInterface;
            for (int tab = 0; tab + 1 < pages.count(); ++tab) {
                if (!pages.isTabVisible(tab)) {
                    continue;
                }
                pages.setCurrentIndex(tab);
                const QString name =
                    QString("%1/ui_%2_%3_%4.png")
                        .arg(folder, imageKind == kImagePmr ? "pmr" : "trunk",
                             head == kRowHmF ? "hmf" : "kp8c", QString::number(tab + 1));
                QVERIFY(form->grab().save(name));
            }
        }
    }
}

}  // namespace km

QTEST_MAIN(km::UiFormTest)
#include "UiFormTest.moc"
