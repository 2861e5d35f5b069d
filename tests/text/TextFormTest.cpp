// The Text Strings form on the shipped templates, and a change of radio type on the Radio Type
// form reaching the texts, keys, audio inputs and power levels of the job in the main window.

#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "DataFiles.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/mobile/MobForm.h"
#include "forms/text/TxtForm.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

constexpr int kRowHmC = 2;
constexpr int kRowHmFRow = 6;
constexpr int kRowKp8a = 9;

class QuietShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId) override {}
    void ReloadForm(FormId) override {}
};

// The program's single instances around one Text Strings form, with a job from the templates.
struct Desk {
    explicit Desk(int imageKind) {
        state.ImageKind = imageKind;
        state.TrunkJobLoaded = imageKind == kImageTrunk;
        state.PmrJobLoaded = imageKind == kImagePmr;
        state.RadioTypeMask = 16;
        workspace->trunk = datagen::TrunkTemplate();
        workspace->pmr = datagen::PmrTemplate();
    }
    std::unique_ptr<TForm_TXT_Strings> MakeForm() {
        auto form = std::make_unique<TForm_TXT_Strings>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(900, 640);
        form->LoadPass();
        form->RefreshVisibility();
        return form;
    }
    std::span<std::uint8_t> Bytes() {
        return state.ImageKind == kImagePmr ? workspace->pmr.Bytes() : workspace->trunk.Bytes();
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    QuietShell shell;
};

void SetText(TForm_TXT_Strings& form, TextGrid grid, int row, const QString& text) {
    form.GridOf(grid).item(row, 1)->setText(text);
}

QString Text(TForm_TXT_Strings& form, TextGrid grid, int row) {
    return form.GridOf(grid).item(row, 1)->text();
}

QString Label(TForm_TXT_Strings& form, TextGrid grid, int row) {
    return form.GridOf(grid).item(row, 0)->text();
}

std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::string text;
    for (std::size_t i = 0; i < 12 && bytes[offset + i] != 0; ++i) {
        text.push_back(static_cast<char>(bytes[offset + i]));
    }
    return text;
}

// Saves the job of the view under `name` in the job folder and reads the file back.
std::vector<std::uint8_t> Save(TForm_MF_MainForm& window, ScriptedDialogs& dialogs,
                               const testing::WorkDir& dir, const QString& name, std::size_t size) {
    const QString path = dir.File("Jobs/" + name);
    dialogs.saveAnswers = {path};
    window.Save1Click();
    return ReadFileBytes(path.toStdString(), size + 1).value_or(std::vector<std::uint8_t>());
}

void Choose(QComboBox& combo, int row) {
    combo.setCurrentIndex(row);
    emit combo.activated(row);
}

}  // namespace

class TextFormTest : public QObject {
    Q_OBJECT
  private slots:
    void showsTheTemplatesTexts();
    void editedTextsSurviveSavingAndReloading_data();
    void editedTextsSurviveSavingAndReloading();
    void trunkEditRowsPastTheRecordsAreNeverStored();
    void defaultsButtonsFollowTheHead();
    void labelsAndToneNamesFollowTheView();
    void typingTakesPrintableCharactersUpToTheLimit();
    void headChangeInTheTrunkView();
    void headChangeInThePmrView();
    void screenshots();
};

void TextFormTest::showsTheTemplatesTexts() {
    Desk trunk(kImageTrunk);
    auto form = trunk.MakeForm();
    QCOMPARE(form->windowTitle(), QString("Text Strings"));
    QCOMPARE(Text(*form, TextGrid::Messages, 0), QString("All Units"));
    QCOMPARE(Text(*form, TextGrid::Messages, 44), QString());
    QCOMPARE(Text(*form, TextGrid::Menus, 17), QString("--- MENU ---"));
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 9), QString("Done"));
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 10), QString());

    Desk pmr(kImagePmr);
    form = pmr.MakeForm();
    QCOMPARE(Text(*form, TextGrid::Messages, 0), QString("Added"));
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 15), QString("Key-4"));
    QCOMPARE(Text(*form, TextGrid::CtcssNames, 39), QString("Ch Default"));
}

void TextFormTest::editedTextsSurviveSavingAndReloading_data() {
    QTest::addColumn<int>("imageKind");
    QTest::newRow("trunk") << int{kImageTrunk};
    QTest::newRow("pmr") << int{kImagePmr};
}

// Every tab edited, stored, written to a file, read into a fresh job and shown again.
void TextFormTest::editedTextsSurviveSavingAndReloading() {
    QFETCH(int, imageKind);
    QTemporaryDir dir;
    const std::string path = dir.filePath("job").toStdString();
    const QString full = "Twelve chars";
    QStringList edited[4];
    {
        Desk desk(imageKind);
        auto form = desk.MakeForm();
        SetText(*form, TextGrid::Messages, 0, full);
        SetText(*form, TextGrid::Messages, 47, "Last \xC3\xA9");  // an accented letter
        SetText(*form, TextGrid::Menus, 3, QString());
        SetText(*form, TextGrid::EditFunctions, 2, "Change");
        SetText(*form, TextGrid::EditFunctions, 9, "");
        SetText(*form, TextGrid::CtcssNames, 5, "Depot tone");  // stored in a PMR job only
        form->StorePass();
        for (TextGrid grid : kTextGrids) {
            edited[static_cast<int>(grid)] = form->TextsOf(grid);
        }
        QVERIFY(WriteFileAtomically(path, desk.Bytes()));
        // A full-width text is stored without a terminator.
        QCOMPARE(desk.Bytes()[0x014C + 11], std::uint8_t{'s'});
    }
    Desk again(imageKind);
    const auto bytes = ReadFileBytes(path, again.Bytes().size());
    QVERIFY(bytes && bytes->size() == again.Bytes().size());
    std::copy(bytes->begin(), bytes->end(), again.Bytes().begin());
    auto form = again.MakeForm();
    for (TextGrid grid : kTextGrids) {
        if (grid != TextGrid::CtcssNames || imageKind == kImagePmr) {
            QCOMPARE(form->TextsOf(grid), edited[static_cast<int>(grid)]);
        }
    }
    QCOMPARE(Text(*form, TextGrid::Messages, 0), full);
    QCOMPARE(again.Bytes()[0x04B4 + 9 * 8], std::uint8_t{101});
}

// The trunk job has ten edit functions: the six rows after them take no typing and store
// nothing, so the call type names after the records stay as they are.
void TextFormTest::trunkEditRowsPastTheRecordsAreNeverStored() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    QTableWidget& grid = form->GridOf(TextGrid::EditFunctions);
    QVERIFY(grid.item(9, 1)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(grid.item(10, 1)->flags() & Qt::ItemIsEditable));
    const std::vector<std::uint8_t> before(desk.Bytes().begin(), desk.Bytes().end());
    for (int row = 10; row < 16; ++row) {
        SetText(*form, TextGrid::EditFunctions, row, "Extra");
    }
    form->StorePass();
    QVERIFY(std::equal(before.begin(), before.end(), desk.Bytes().begin()));
    form->LoadPass();
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 12), QString());

    // The same rows in the PMR view are records of their own.
    desk.state.ImageKind = kImagePmr;
    form->LoadPass();
    QVERIFY(grid.item(15, 1)->flags() & Qt::ItemIsEditable);
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 15), QString("Key-4"));
}

void TextFormTest::defaultsButtonsFollowTheHead() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    for (TextGrid grid : kTextGrids) {
        for (int row = 0; row < form->GridOf(grid).rowCount(); ++row) {
            SetText(*form, grid, row, "typed");
        }
    }
    // HM-A, HM-B and the earlier portable keep their messages and menus; the edit functions take
    // the default column.
    for (int mask : {1, 2, 256}) {
        desk.state.RadioTypeMask = mask;
        form->Btn_TXT_DefaultText.click();
        form->Btn_TXT3_MenuDefaults.click();
        QCOMPARE(Text(*form, TextGrid::Messages, 0), QString("typed"));
        QCOMPARE(Text(*form, TextGrid::Menus, 0), QString("typed"));
    }
    form->Btn_TXT2_Defaults.click();
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 1), QString("Del"));
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 10), QString());

    desk.state.RadioTypeMask = 4;  // HM-C
    form->Btn_TXT_DefaultText.click();
    form->Btn_TXT3_MenuDefaults.click();
    QCOMPARE(Text(*form, TextGrid::Messages, 0), QString("ALL"));
    QCOMPARE(Text(*form, TextGrid::Messages, 44), QString());
    for (int row : {13, 14, 15, 17}) {
        QCOMPARE(Text(*form, TextGrid::Menus, row), QString());
    }
    QCOMPARE(Text(*form, TextGrid::Menus, 16), QString("SNDMSG"));

    desk.state.RadioTypeMask = 32;  // HM-D
    form->Btn_TXT2_Defaults.click();
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 1), QString("DELETE"));
    form->Btn_TXT3_MenuDefaults.click();
    QCOMPARE(Text(*form, TextGrid::Menus, 8), QString("Ph Book Edit"));

    Desk pmr(kImagePmr);
    form = pmr.MakeForm();
    SetText(*form, TextGrid::Messages, 45, "typed");
    SetText(*form, TextGrid::CtcssNames, 0, "typed");
    SetText(*form, TextGrid::CtcssNames, 39, "typed");
    pmr.state.RadioTypeMask = 32;
    form->Btn_TXT_DefaultText.click();
    form->Btn_TXT3_MenuDefaults.click();
    form->Btn_TXT4_DefaultCTCSStext.click();
    QCOMPARE(Text(*form, TextGrid::Messages, 5), QString("RPTR"));
    QCOMPARE(Text(*form, TextGrid::Messages, 45), QString("typed"));
    QCOMPARE(Text(*form, TextGrid::Menus, 0), QString("--- MENU ---"));
    QCOMPARE(Text(*form, TextGrid::CtcssNames, 0), QString("Undefined"));
    QCOMPARE(Text(*form, TextGrid::CtcssNames, 39), QString("Ch Default"));
    QCOMPARE(desk.person.shown.size() + pmr.person.shown.size(), std::size_t{0});
}

void TextFormTest::labelsAndToneNamesFollowTheView() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    QCOMPARE(form->Page_TXT_TextStrings.count(), 4);
    QCOMPARE(form->Page_TXT_TextStrings.tabText(0), QString("Mobile's Text Messages"));
    QCOMPARE(form->Page_TXT_TextStrings.tabText(1), QString("Menu Text"));
    QCOMPARE(form->Page_TXT_TextStrings.tabText(2), QString("Edit Function Text"));
    QCOMPARE(form->Page_TXT_TextStrings.tabText(3), QString("Next Form -->"));
    QVERIFY(!form->Page_TXT_TextStrings.isTabVisible(3));
    QCOMPARE(form->Lbl_TXT1_General.text(), QString("General"));
    QCOMPARE(form->Lbl_TXT2_EditFunctions.text(), QString("Edit Functions "));
    QCOMPARE(form->Btn_TXT_DefaultText.text(), QString("Defaults"));
    QCOMPARE(Label(*form, TextGrid::Messages, 46), QString("Call 8180"));
    QCOMPARE(Label(*form, TextGrid::Menus, 13), QString("NA"));
    QCOMPARE(Label(*form, TextGrid::EditFunctions, 4), QString("Back"));
    QCOMPARE(Label(*form, TextGrid::EditFunctions, 10), QString());
    QVERIFY(form->StrGrid_TXT4_CTCSSToneNames.isHidden());
    QVERIFY(form->Btn_TXT4_DefaultCTCSStext.isHidden());
    QVERIFY(form->Lbl_TXT4_CTCSSToneNames.isHidden());
    // The label column is never edited.
    QVERIFY(!(form->GridOf(TextGrid::Messages).item(0, 0)->flags() & Qt::ItemIsEditable));
    QVERIFY(form->GridOf(TextGrid::Messages).item(0, 1)->flags() & Qt::ItemIsEditable);

    // The same form in the PMR view.
    desk.state.ImageKind = kImagePmr;
    form->LoadPass();
    form->RefreshVisibility();
    QCOMPARE(Label(*form, TextGrid::Messages, 8), QString("Select to Edit"));
    QCOMPARE(Label(*form, TextGrid::Messages, 44), QString(" "));
    QCOMPARE(Label(*form, TextGrid::EditFunctions, 4), QString("Done"));
    QCOMPARE(Label(*form, TextGrid::EditFunctions, 15), QString("Key-4"));
    QCOMPARE(Label(*form, TextGrid::CtcssNames, 11), QString("=, 97.4 Hz"));
    QCOMPARE(Label(*form, TextGrid::CtcssNames, 39), QString("Ch Default"));
    QVERIFY(!form->StrGrid_TXT4_CTCSSToneNames.isHidden());
    QCOMPARE(form->Lbl_TXT4_CTCSSToneNames.text(), QString("CTCSS Tone Names"));
    // Columns of at least 100 and 110 pixels, and nothing cut off by the grid's width.
    QTableWidget& grid = form->StrGrid_TXT1_12char;
    QVERIFY(grid.columnWidth(0) >= 100);
    QVERIFY(grid.columnWidth(1) >= 110);
    QVERIFY(grid.width() >= grid.columnWidth(0) + grid.columnWidth(1));
}

void TextFormTest::typingTakesPrintableCharactersUpToTheLimit() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    // Keys as the keyboard sends them, one character each, over the cell's text.
    const auto typeInto = [&](TextGrid grid, int row, const QString& keys) {
        form->Page_TXT_TextStrings.setCurrentIndex(grid == TextGrid::Messages ? 0 : 2);
        QTableWidget& table = form->GridOf(grid);
        table.setCurrentCell(row, 1);
        table.editItem(table.item(row, 1));
        auto* editor = table.findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        for (char32_t c : keys.toUcs4()) {
            const QString text = QString::fromUcs4(&c, 1);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(editor, &press);
        }
        table.closePersistentEditor(table.item(row, 1));
    };
    typeInto(TextGrid::Messages, 3, "Thirteen chars");
    // Every key reaches the grid at once, so a store now takes what was typed.
    QCOMPARE(Text(*form, TextGrid::Messages, 3), QString("Thirteen cha"));
    QCOMPARE(desk.person.beeps, 2);

    typeInto(TextGrid::EditFunctions, 4, QString::fromUtf8("Fin\xCE\xA9ish"));  // an Omega
    QCOMPARE(Text(*form, TextGrid::EditFunctions, 4), QString("Finish"));
    QCOMPARE(desk.person.beeps, 3);
    form->StorePass();
    QCOMPARE(desk.workspace->pmr.U8(0x04B4 + 4 * 8), std::uint8_t{59});
    QCOMPARE(TextAt(desk.workspace->pmr.Bytes(), 0x014C + 3 * 12), std::string("Thirteen cha"));
}

// HM-F to HM-C and back in the Trunk view, with the Text Strings form open: its texts follow the
// head, and what it showed but had not stored survives.
void TextFormTest::headChangeInTheTrunkView() {
    testing::WorkDir dir;
    QVERIFY(WriteFileAtomically(dir.Path() / "default.tct", datagen::TrunkTemplate().Bytes()));
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    TForm_MF_MainForm window(*workspace, state, person, dialogs, dir.Path());
    window.NewTrunkJob();
    auto* mobile = dynamic_cast<TForm_MOB_Mobile*>(window.Form(FormId::RadioType));
    auto* text = dynamic_cast<TForm_TXT_Strings*>(window.Form(FormId::TextStrings));
    QVERIFY(mobile && text);
    QCOMPARE(mobile->ComboBox_MOB_Head.currentIndex(), kRowHmFRow);
    SetText(*text, TextGrid::EditFunctions, 0, "Plus");
    workspace->trunk.SetU16(208, 33);

    person.answers = {Answer::Yes};
    Choose(mobile->ComboBox_MOB_Head, kRowHmC);
    QCOMPARE(state.RadioTypeMask, 4);
    QCOMPARE(Text(*text, TextGrid::Messages, 0), QString("ALL"));
    QCOMPARE(Text(*text, TextGrid::Messages, 47), QString("LOCK"));
    QCOMPARE(Text(*text, TextGrid::Menus, 0), QString("PH-BK"));
    QCOMPARE(Text(*text, TextGrid::Menus, 17), QString());
    QCOMPARE(Text(*text, TextGrid::EditFunctions, 0), QString("Plus"));  // trunk edits stay
    // Mobile to mobile: no portable defaults; the store of a mobile writes its fixed key.
    QCOMPARE(workspace->trunk.U16(208), std::uint16_t{4});
    QCOMPARE(workspace->trunk.U16(0x2148), std::uint16_t{0});
    QCOMPARE(mobile->ComboBox_MOB_Accessory.currentIndex(), 0);

    person.answers = {Answer::Yes};
    Choose(mobile->ComboBox_MOB_Head, kRowHmFRow);
    QCOMPARE(state.RadioTypeMask, 16);
    QCOMPARE(Text(*text, TextGrid::Messages, 0), QString("All Units"));
    QCOMPARE(Text(*text, TextGrid::Menus, 17), QString("--- MENU ---"));

    // The job as it is saved.
    const auto saved = Save(window, dialogs, dir, "trunk.tnk", TrunkJobImage::kSize);
    QCOMPARE(saved.size(), TrunkJobImage::kSize);
    QCOMPARE(TextAt(saved, 0x014C), std::string("All Units"));
    QCOMPARE(TextAt(saved, 0x03C4 + 17 * 12), std::string("--- MENU ---"));
    QCOMPARE(saved[0x04B4], std::uint8_t{101 - 28});
    QCOMPARE(saved[trunk::kRadioType], std::uint8_t{4});
    QCOMPARE(person.unexpectedQuestions, 0);
}

// HM-F to HM-C, to the KP8A portable and back in the PMR view: every effect of the change.
void TextFormTest::headChangeInThePmrView() {
    testing::WorkDir dir;
    QVERIFY(WriteFileAtomically(dir.Path() / "default.cct", datagen::PmrTemplate().Bytes()));
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    TForm_MF_MainForm window(*workspace, state, person, dialogs, dir.Path());
    window.NewPmrJob();
    auto* mobile = dynamic_cast<TForm_MOB_Mobile*>(window.Form(FormId::RadioType));
    auto* text = dynamic_cast<TForm_TXT_Strings*>(window.Form(FormId::TextStrings));
    QVERIFY(mobile && text);
    SetText(*text, TextGrid::Messages, 45, "Extra");
    SetText(*text, TextGrid::Menus, 17, "My Zone");
    SetText(*text, TextGrid::EditFunctions, 0, "Plus");
    SetText(*text, TextGrid::CtcssNames, 1, "Depot");
    workspace->pmr.SetU16(0x1D2E, 9);  // high power, 20 W
    workspace->pmr.SetU8(0x1D0E, 0x80);
    workspace->pmr.SetU16(0x1D30, 4);
    // The Channel Options form shows them, as it would for a job opened with them.
    window.ReloadForm(FormId::Channels);

    person.answers = {Answer::Yes};
    Choose(mobile->ComboBox_MOB_Head, kRowHmC);
    QCOMPARE(Text(*text, TextGrid::Messages, 0), QString("ADDED"));
    QCOMPARE(Text(*text, TextGrid::Messages, 43), QString("XAREA"));
    QCOMPARE(Text(*text, TextGrid::Messages, 45), QString("Extra"));
    QCOMPARE(Text(*text, TextGrid::Menus, 16), QString("SNDMSG"));
    QCOMPARE(Text(*text, TextGrid::Menus, 17), QString("My Zone"));
    QCOMPARE(Text(*text, TextGrid::EditFunctions, 0), QString("Add"));
    QCOMPARE(Text(*text, TextGrid::CtcssNames, 1), QString("Depot"));

    person.answers = {Answer::Yes};
    Choose(mobile->ComboBox_MOB_Head, kRowKp8a);
    QCOMPARE(state.RadioTypeMask, 512);
    QCOMPARE(Text(*text, TextGrid::Messages, 2), QString("Stunned"));  // the HM-E column
    QCOMPARE(Text(*text, TextGrid::Menus, 0), QString("--- MENU ---"));
    QCOMPARE(workspace->pmr.U16(208), std::uint16_t{15});
    QCOMPARE(workspace->pmr.U16(214), std::uint16_t{4});
    QCOMPARE(workspace->pmr.U16(0x552), std::uint16_t{2});
    QCOMPARE(workspace->pmr.U16(0x554), std::uint16_t{2});
    QCOMPARE(workspace->pmr.U16(0x1D2E), std::uint16_t{5});
    QCOMPARE(workspace->pmr.U8(0x1D0E), std::uint8_t{0x50});
    QVERIFY(!mobile->ComboBox_MOB_Accessory.isHidden());
    QCOMPARE(mobile->ComboBox_MOB_Accessory.currentIndex(), 0);

    person.answers = {Answer::Yes};
    Choose(mobile->ComboBox_MOB_Head, kRowHmFRow);
    QCOMPARE(Text(*text, TextGrid::Messages, 0), QString("Added"));
    QCOMPARE(Text(*text, TextGrid::Menus, 0), QString("Menu"));
    QCOMPARE(Text(*text, TextGrid::Menus, 17), QString("My Zone"));
    QCOMPARE(workspace->pmr.U16(0x552), std::uint16_t{0});
    QCOMPARE(workspace->pmr.U16(0x1D30), std::uint16_t{4});
    QVERIFY(mobile->ComboBox_MOB_Accessory.isHidden());

    const auto saved = Save(window, dialogs, dir, "pmr.pmr", PmrJobImage::kSize);
    QCOMPARE(saved.size(), PmrJobImage::kSize);
    QCOMPARE(TextAt(saved, 0x014C + 45 * 12), std::string("Extra"));
    QCOMPARE(TextAt(saved, 0x03C4 + 17 * 12), std::string("My Zone"));
    QCOMPARE(TextAt(saved, 0x3B3C + 12), std::string("Depot"));
    QCOMPARE(saved[0x04B4 + 5 * 8 + 1], std::uint8_t{5});
    QCOMPARE(person.unexpectedQuestions, 0);
}

// Pictures of every tab in both views, written when KM_SCREENSHOT_DIR names a folder.
void TextFormTest::screenshots() {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("KM_SCREENSHOT_DIR not set");
    }
    for (int imageKind : {kImageTrunk, kImagePmr}) {
        Desk desk(imageKind);
        auto form = desk.MakeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int tab = 0; tab < 3; ++tab) {
            form->Page_TXT_TextStrings.setCurrentIndex(tab);
            const QString name = QString("%1/text_strings_%2_%3.png")
                                     .arg(folder, imageKind == kImagePmr ? "pmr" : "trunk")
                                     .arg(tab + 1);
            QVERIFY(form->grab().save(name));
        }
    }
}

}  // namespace km

QTEST_MAIN(km::TextFormTest)
#include "TextFormTest.moc"
