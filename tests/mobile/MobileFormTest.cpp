// The Radio Type form against a scripted person, scripted file dialogs and a shell that records
// what the form asks of the main window.

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "config/NetworkSlots.h"
#include "config/RadioTypes.h"
#include "core/Files.h"
#include "forms/mobile/MobForm.h"
#include "forms/mobile/RadioTypeListener.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

constexpr std::uint16_t kBandTk = 0x544B;  // entry 9
constexpr std::uint16_t kBandX8 = 0x5838;  // entry 15

class RecordingShell : public Shell {
  public:
    void ShowFormButtons() override { calls.push_back("buttons"); }
    void ShowNetworkLabel() override { calls.push_back("label"); }
    bool StoreNetworkForms() override {
        calls.push_back("store networks");
        return true;
    }
    void SelectNetwork(int selector) override {
        calls.push_back("select " + std::to_string(selector));
    }
    void ShowForm(FormId id) override { calls.push_back("show " + std::to_string(int(id))); }
    void ReloadForm(FormId id) override { calls.push_back("reload " + std::to_string(int(id))); }
    bool Called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    std::vector<std::string> calls;
};

// Records what it hears, and the first programmable key of the trunk job at each step.
class RecordingListener : public RadioTypeListener {
  public:
    explicit RecordingListener(const TrunkJobImage* trunk = nullptr) : trunk_(trunk) {}
    void BeforeRadioTypeChange() override { keys.push_back(Key()); }
    void RadioTypeChanged(const RadioTypeChange& change) override {
        changes.push_back(change);
        keys.push_back(Key());
    }
    void AccessoryChanged(const AccessoryChange& change) override { accessories.push_back(change); }
    std::vector<RadioTypeChange> changes;
    std::vector<AccessoryChange> accessories;
    std::vector<int> keys;

  private:
    int Key() const { return trunk_ ? trunk_->U16(208) : -1; }
    const TrunkJobImage* trunk_;
};

std::string Id(FormId id) {
    return std::to_string(static_cast<int>(id));
}

// One set of the program's single instances and the fakes around a Radio Type form.
struct Desk {
    explicit Desk(int imageKind) {
        state.ImageKind = imageKind;
        state.TrunkJobLoaded = imageKind == kImageTrunk;
        state.PmrJobLoaded = imageKind == kImagePmr;
        state.RadioModeMask = imageKind == kImageTrunk ? kModeTrunk : kModePmr;
    }
    std::unique_ptr<TForm_MOB_Mobile> MakeForm() {
        auto form = std::make_unique<TForm_MOB_Mobile>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(760, 480);
        return form;
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    RecordingShell shell;
};

void Choose(QComboBox& combo, int row) {
    combo.setCurrentIndex(row);
    emit combo.activated(row);
}

NetworkImage MakeNetwork(std::uint16_t band, std::uint16_t scheme, const std::string& name) {
    NetworkImage file;
    file.SetText(network::kMarker, 16, "--NETWORK FILE--");
    file.SetText(network::kName, network::kNameWidth, name + std::string(16 - name.size(), ' '));
    file.SetU16(network::kBandCode, band);
    file.SetU16(network::kNumberingScheme, scheme);
    return file;
}

QString WriteNetwork(const QTemporaryDir& dir, const QString& name, const NetworkImage& file) {
    const QString path = dir.filePath(name);
    WriteFileAtomically(path.toStdString(), file.Bytes());
    return path;
}

bool Shown(const QWidget& widget) {
    return !widget.isHidden();
}

}  // namespace

class MobileFormTest : public QObject {
    Q_OBJECT
  private slots:
    void trunkChoicesSurviveSavingAndReloading();
    void pmrChoicesSurviveSavingAndReloading();
    void radioTypeChangeAsksAndTellsTheOtherForms();
    void radioModeWarnings();
    void bandChangeWarnsOnlyWhenABandWasChosen();
    void accessoryStaysNoneForMobiles();
    void leavingTheRadioPageNeedsANetworkOrBand();
    void networkFileButtons();
    void visibilityFollowsViewModeAndType();
    void descriptionHoldsSixtyBytes();
    void bandListFollowsTheCountry();
    void separatorAndReservedRowsAreShownButNotOffered();
    void enterMovesToTheNextControl();
    void focusComingBackAfterTheQuestionKeepsTheRowOnEntry();
    void inTheMainWindow();
    void screenshots();

  private:
    QTemporaryDir dir_;
};

void MobileFormTest::trunkChoicesSurviveSavingAndReloading() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    form->LoadPass();
    desk.dialogs.openAnswers = {
        WriteNetwork(dir_, "Depot.nwk", MakeNetwork(kBandTk, 0, "DEPOT.NWK"))};
    form->Btn_MOB_LoadNW1Click();
    QCOMPARE(form->Lbl_MOB_FilenameNW1.text(), QString("DEPOT.NWK"));
    QCOMPARE(desk.state.Network1Name, std::string("DEPOT.NWK"));
    QCOMPARE(desk.dialogs.requests.back().title, QString("Open - Network File 1"));

    form->Memo_MOB_Description.setPlainText("Depot fleet\nVan 3");
    Choose(form->ComboBox_MOB_Mobile, 2);
    desk.person.answers = {Answer::Yes};
    Choose(form->ComboBox_MOB_Head, 10);  // KP8B, a portable
    Choose(form->ComboBox_MOB_Accessory, 2);
    form->StorePass();
    QVERIFY(desk.person.answers.empty());
    QCOMPARE(desk.person.unexpectedQuestions, 0);

    const auto path = (dir_.filePath("job.tnk")).toStdString();
    QVERIFY(WriteFileAtomically(path, desk.workspace->trunk.Bytes()));

    Desk again(kImageTrunk);
    const auto bytes = ReadFileBytes(path, TrunkJobImage::Size());
    QVERIFY(bytes && bytes->size() == TrunkJobImage::Size());
    again.workspace->trunk.Write(0, *bytes);
    auto reloaded = again.MakeForm();
    reloaded->LoadPass();
    QCOMPARE(reloaded->Memo_MOB_Description.toPlainText(), QString("Depot fleet\nVan 3"));
    QCOMPARE(reloaded->ComboBox_MOB_Mobile.currentIndex(), 2);
    QCOMPARE(reloaded->ComboBox_MOB_Head.currentIndex(), 10);
    QCOMPARE(reloaded->ComboBox_MOB_Accessory.currentIndex(), 2);
    QCOMPARE(again.state.BandSelected, 9);
    QCOMPARE(again.state.RadioTypeMask, 1024);
    QCOMPARE(reloaded->Lbl_MOB_FilenameNW1.text().trimmed(), QString("DEPOT.NWK"));
    QCOMPARE(reloaded->Lbl_MOB_FilenameNW2.text(), QString());
    // The change from a mobile to a portable gave the programmable keys their portable defaults.
    QCOMPARE(again.workspace->trunk.U16(208), std::uint16_t{1});
    QCOMPARE(again.workspace->trunk.U16(212), std::uint16_t{0xFFFF});
    QCOMPARE(again.workspace->trunk.U16(kVersionWordOffset), std::uint16_t{5860});
}

void MobileFormTest::pmrChoicesSurviveSavingAndReloading() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    form->LoadPass();
    Choose(form->ComboBox_MOB_Frequency, 15);
    desk.person.answers = {Answer::Yes};
    Choose(form->ComboBox_MOB_Head, 13);  // KP8D
    Choose(form->ComboBox_MOB_Accessory, 3);
    form->StorePass();
    QCOMPARE(desk.workspace->pmr.U16(pmr::kBandCode), kBandX8);
    QCOMPARE(desk.workspace->pmr.U16(pmr::kFormatVersion), std::uint16_t{202});
    QCOMPARE(desk.workspace->pmr.U16(208), std::uint16_t{15});

    const auto path = (dir_.filePath("job.pmr")).toStdString();
    QVERIFY(WriteFileAtomically(path, desk.workspace->pmr.Bytes()));
    Desk again(kImagePmr);
    const auto bytes = ReadFileBytes(path, PmrJobImage::Size());
    QVERIFY(bytes && bytes->size() == PmrJobImage::Size());
    again.workspace->pmr.Write(0, *bytes);
    auto reloaded = again.MakeForm();
    reloaded->LoadPass();
    QCOMPARE(reloaded->ComboBox_MOB_Frequency.currentIndex(), 15);
    QCOMPARE(reloaded->ComboBox_MOB_Head.currentIndex(), 13);
    QCOMPARE(reloaded->ComboBox_MOB_Accessory.currentIndex(), 3);
    QCOMPARE(again.state.BandSelected, 15);
    QCOMPARE(again.state.PortableGeneration, 2);
}

void MobileFormTest::radioTypeChangeAsksAndTellsTheOtherForms() {
    const std::string question =
        "Changing the Radio Type may cause changes to the current           \n"
        "configuration, including all customised text.           \n\n"
        "If you do change the Radio Type, please check all text fields.           \n"
        "(eg. Phonebook Text, Names, Text Message Menus (ABC), etc)          \n\n"
        "Do you wish to continue ?";
    Desk desk(kImageTrunk);
    desk.workspace->trunk.SetU8(trunk::kRadioType, 4);  // HM-F
    desk.workspace->trunk.SetU16(kVersionWordOffset, 5860);
    auto form = desk.MakeForm();
    RecordingListener listener(&desk.workspace->trunk);
    form->LoadPass();
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 6);

    // No keeps the row on entry and tells nobody.
    desk.person.answers = {Answer::No};
    Choose(form->ComboBox_MOB_Head, 2);
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 6);
    QVERIFY(listener.changes.empty());
    QCOMPARE(desk.person.shown.back().text, question);

    // Choosing the shown row again asks nothing.
    desk.person.shown.clear();
    Choose(form->ComboBox_MOB_Head, 6);
    QVERIFY(desk.person.shown.empty());

    // The separator row stands for no model of its own: KP8A is chosen instead.
    desk.person.answers = {Answer::Yes};
    Choose(form->ComboBox_MOB_Head, 8);
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 9);
    QCOMPARE(desk.state.RadioTypeMask, 512);
    QCOMPARE(listener.changes.size(), std::size_t{1});
    QCOMPARE(listener.changes[0].previousRow, 6);
    QCOMPARE(listener.changes[0].newRow, 9);
    QVERIFY(listener.changes[0].mobileToPortable);
    QVERIFY(!listener.changes[0].pmrView);
    QCOMPARE(desk.workspace->trunk.U16(214), std::uint16_t{6});
    // The listeners stored before the image took the portable keys and were told after.
    QCOMPARE(listener.keys, (std::vector<int>{0, 1}));

    // Portable to portable and portable to mobile leave the keys; the accessory goes to "None".
    Choose(form->ComboBox_MOB_Accessory, 1);
    QCOMPARE(listener.accessories.size(), std::size_t{1});
    desk.workspace->trunk.SetU16(214, 99);
    desk.person.answers = {Answer::Yes, Answer::Yes};
    Choose(form->ComboBox_MOB_Head, 12);
    QCOMPARE(form->ComboBox_MOB_Accessory.currentIndex(), 0);
    QCOMPARE(desk.state.PortableGeneration, 2);
    Choose(form->ComboBox_MOB_Head, 7);
    QCOMPARE(desk.state.PortableGeneration, 0);
    QCOMPARE(desk.workspace->trunk.U16(214), std::uint16_t{99});
    QCOMPARE(listener.changes.size(), std::size_t{3});
    QVERIFY(!listener.changes[2].mobileToPortable);
    form->StorePass();
    QCOMPARE(desk.workspace->trunk.U8(trunk::kRadioType), std::uint8_t{4});
    QCOMPARE(desk.workspace->trunk.U8(trunk::kHeadVariant), std::uint8_t{3});
    QCOMPARE(desk.person.unexpectedQuestions, 0);
}

void MobileFormTest::radioModeWarnings() {
    const std::string pmrInTrunk =
        "To Edit PMR radio configurations,                       \n"
        "Select Menu option View\\PMR Forms.";
    const std::string trunkInPmr =
        "To Edit Trunk radio configurations,                       \n"
        "Select Menu option View\\Trunk Forms.";
    struct Case {
        int imageKind;
        int row;
        std::string warning;
        int mask;
    };
    const Case cases[] = {{kImageTrunk, 0, pmrInTrunk, 1}, {kImageTrunk, 1, "", 2},
                          {kImageTrunk, 2, "", 4},         {kImagePmr, 1, trunkInPmr, 2},
                          {kImagePmr, 0, "", 1},           {kImagePmr, 2, "", 4}};
    for (const auto& c : cases) {
        Desk desk(c.imageKind);
        auto form = desk.MakeForm();
        form->LoadPass();
        Choose(form->ComboBox_MOB_Mobile, c.row);
        QCOMPARE(form->ComboBox_MOB_Mobile.currentIndex(), c.row);  // the choice stays
        QCOMPARE(desk.state.RadioModeMask, c.mask);
        if (c.warning.empty()) {
            QVERIFY(desk.person.shown.empty());
        } else {
            QCOMPARE(desk.person.shown.size(), std::size_t{1});
            QCOMPARE(desk.person.shown[0].text, c.warning);
            QCOMPARE(desk.person.shown[0].kind, BoxKind::Warning);
        }
    }
}

void MobileFormTest::bandChangeWarnsOnlyWhenABandWasChosen() {
    const std::string warning =
        "If the Frequency Band is changed, the channel table frequencies will be invalid. ";
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    form->LoadPass();
    Choose(form->ComboBox_MOB_Frequency, 2);
    QVERIFY(desk.person.shown.empty());
    QCOMPARE(desk.state.BandSelected, 2);
    Choose(form->ComboBox_MOB_Frequency, 3);
    QCOMPARE(desk.person.shown.size(), std::size_t{1});
    QCOMPARE(desk.person.shown[0].text, warning);
    QCOMPARE(desk.state.BandSelected, 3);
    desk.state.PmrJobLoaded = false;
    Choose(form->ComboBox_MOB_Frequency, 4);
    QCOMPARE(desk.person.shown.size(), std::size_t{1});
}

void MobileFormTest::accessoryStaysNoneForMobiles() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    RecordingListener listener;
    form->LoadPass();  // HM-A
    Choose(form->ComboBox_MOB_Accessory, 3);
    QCOMPARE(form->ComboBox_MOB_Accessory.currentIndex(), 0);
    QVERIFY(listener.accessories.empty());
}

void MobileFormTest::leavingTheRadioPageNeedsANetworkOrBand() {
    {
        Desk desk(kImageTrunk);
        auto form = desk.MakeForm();
        form->LoadPass();
        form->Page_MOB_Mobile.setCurrentIndex(1);
        QCOMPARE(form->Page_MOB_Mobile.currentIndex(), 0);
        QCOMPARE(desk.person.Texts(),
                 std::vector<std::string>{"Cannot continue. \nPlease Load a valid Network file."});
        QVERIFY(desk.shell.calls.empty());

        desk.workspace->trunk.Write(trunk::NetworkFileStart(0),
                                    MakeNetwork(kBandTk, 0, "A.NWK").Bytes());
        form->Page_MOB_Mobile.setCurrentIndex(1);
        QCOMPARE(desk.shell.calls,
                 (std::vector<std::string>{"buttons", "show " + Id(FormId::UserInterface)}));
        QCOMPARE(form->Page_MOB_Mobile.currentIndex(), 0);
    }
    {
        Desk desk(kImagePmr);
        auto form = desk.MakeForm();
        form->LoadPass();
        form->Page_MOB_Mobile.setCurrentIndex(1);
        QCOMPARE(form->Page_MOB_Mobile.currentIndex(), 0);
        QCOMPARE(
            desk.person.Texts(),
            std::vector<std::string>{"Cannot continue. \nPlease select a valid Frequency Band."});
        Choose(form->ComboBox_MOB_Frequency, 5);
        form->Page_MOB_Mobile.setCurrentIndex(1);
        QVERIFY(desk.shell.Called("show " + Id(FormId::UserInterface)));
    }
}

void MobileFormTest::networkFileButtons() {
    Desk desk(kImageTrunk);
    auto form = desk.MakeForm();
    form->LoadPass();
    const QString first = WriteNetwork(dir_, "north.nwk", MakeNetwork(kBandTk, 1, "NORTH.NWK"));
    const QString second = WriteNetwork(dir_, "south.nwk", MakeNetwork(kBandTk, 1, "SOUTH.NWK"));
    const QString otherBand = WriteNetwork(dir_, "x8.nwk", MakeNetwork(kBandX8, 1, "X8.NWK"));
    const QString shortFile = dir_.filePath("short.nwk");
    WriteFileAtomically(shortFile.toStdString(), std::vector<std::uint8_t>(100, 0));

    // A cancelled dialog and a short file change nothing.
    desk.dialogs.openAnswers = {std::nullopt, shortFile, first, otherBand, second};
    form->Btn_MOB_LoadNW1Click();
    form->Btn_MOB_LoadNW1Click();
    QCOMPARE(desk.person.Texts(), std::vector<std::string>{std::string(kNetworkFileSizeError)});
    QVERIFY(!NetworkPresent(desk.workspace->trunk, 0));
    form->Btn_MOB_LoadNW1Click();
    QVERIFY(NetworkPresent(desk.workspace->trunk, 0));
    // The scheme differs from the empty slot's: identities are cleared and reloaded.
    QVERIFY(desk.shell.Called("reload " + Id(FormId::Identities)));

    form->Btn_MOB_LoadNW2Click();
    QCOMPARE(desk.person.shown.back().text, std::string(kNetwork2BandError));
    QCOMPARE(desk.dialogs.requests.back().title, QString("Open - Network File 2"));
    form->Btn_MOB_LoadNW2Click();
    QCOMPARE(form->Lbl_MOB_FilenameNW2.text(), QString("SOUTH.NWK"));
    QCOMPARE(desk.state.Network2Name, std::string("SOUTH.NWK"));

    desk.person.shown.clear();
    form->Btn_MOB_DeleteNW1Click();
    QCOMPARE(desk.person.Texts(), std::vector<std::string>{std::string(kDeleteOrderError)});

    // Deleting the network being edited takes the per-network forms back to Network 1.
    desk.state.NetworkSelector = 1;
    desk.shell.calls.clear();
    desk.person.answers = {Answer::Yes};
    form->Btn_MOB_DeleteNW2Click();
    QVERIFY(!NetworkPresent(desk.workspace->trunk, 1));
    QCOMPARE(desk.state.Network2Name, std::string("Not Defined   "));
    QCOMPARE(form->Lbl_MOB_FilenameNW2.text(), QString());
    QCOMPARE(desk.shell.calls, (std::vector<std::string>{"store networks", "select 0", "label"}));

    desk.person.answers = {Answer::Yes};
    form->Btn_MOB_DeleteNW1Click();
    QVERIFY(!NetworkPresent(desk.workspace->trunk, 0));
    QCOMPARE(desk.state.Network1Name, std::string("Not Defined   "));
    QCOMPARE(desk.person.unexpectedQuestions, 0);
    QCOMPARE(desk.dialogs.unexpectedDialogs, 0);
}

void MobileFormTest::visibilityFollowsViewModeAndType() {
    struct Case {
        int imageKind;
        int modeRow;
        int headRow;
        int level;
        bool band, networks, accessory, version;
    };
    const Case cases[] = {
        {kImageTrunk, 1, 6, 1, false, true, false, false},
        {kImageTrunk, 2, 9, 4, false, true, true, true},
        {kImageTrunk, 0, 10, 8, false, false, true, true},
        {kImagePmr, 0, 6, 2, true, false, false, false},
        {kImagePmr, 2, 13, 4, true, false, true, true},
        {kImagePmr, 1, 11, 1, false, false, false, false},
    };
    for (const auto& c : cases) {
        Desk desk(c.imageKind);
        desk.state.UserLevelMask = c.level;
        const RadioTypeCode code = RadioTypeCodeOfRow(c.headRow);
        auto write = [&](auto& image, std::size_t variantAt) {
            image.SetU16(kVersionWordOffset, 5860);
            image.SetU8(trunk::kRadioMode, static_cast<std::uint8_t>(c.modeRow));
            image.SetU8(trunk::kRadioType, code.code);
            image.SetU8(variantAt, code.headVariant);
        };
        if (c.imageKind == kImageTrunk) {
            write(desk.workspace->trunk, trunk::kHeadVariant);
        } else {
            write(desk.workspace->pmr, pmr::kHeadVariant);
        }
        auto form = desk.MakeForm();
        form->LoadPass();
        QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), c.headRow);
        QCOMPARE(Shown(form->ComboBox_MOB_Frequency), c.band);
        QCOMPARE(Shown(form->Lbl_MOB_Frequency), c.band);
        QCOMPARE(Shown(form->GBox_MOB_NWFile1), c.networks);
        QCOMPARE(Shown(form->GBox_MOB_NWFile2), c.networks);
        QCOMPARE(Shown(form->ComboBox_MOB_Accessory), c.accessory);
        QCOMPARE(Shown(form->Lbl_MOB_RCPJobVersion), c.version);
        QCOMPARE(form->Lbl_MOB_RCPJobVersion.text(), QString("Made with RCP V5860"));
    }
}

void MobileFormTest::descriptionHoldsSixtyBytes() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    form->LoadPass();
    form->Memo_MOB_Description.setPlainText(QString(59, 'a'));
    form->Memo_MOB_Description.moveCursor(QTextCursor::End);
    QTest::keyClicks(&form->Memo_MOB_Description, "bc");
    QCOMPARE(form->Memo_MOB_Description.toPlainText(), QString(59, 'a') + "b");
    QCOMPARE(desk.person.beeps, 1);
    // A line break takes two bytes in the image.
    form->Memo_MOB_Description.setPlainText(QString(58, 'a'));
    form->Memo_MOB_Description.moveCursor(QTextCursor::End);
    QTest::keyClick(&form->Memo_MOB_Description, Qt::Key_Return);
    QCOMPARE(form->Memo_MOB_Description.toPlainText(), QString(58, 'a') + "\n");
    QTest::keyClick(&form->Memo_MOB_Description, Qt::Key_X);
    QCOMPARE(form->Memo_MOB_Description.toPlainText(), QString(58, 'a') + "\n");
}

void MobileFormTest::bandListFollowsTheCountry() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    QCOMPARE(form->ComboBox_MOB_Frequency.count(), 16);
    QCOMPARE(form->ComboBox_MOB_Frequency.itemText(0), QString("Undefined"));
    desk.state.CountryCode = 5;
    form->LoadPass();
    QCOMPARE(form->ComboBox_MOB_Frequency.count(), 16);
    QCOMPARE(form->ComboBox_MOB_Frequency.itemText(2), QString("AC   150-174 MHz"));
    QCOMPARE(form->ComboBox_MOB_Frequency.itemText(13), QString("UW-H 440-512 MHz"));
    desk.state.CountryCode = 1;
    form->LoadPass();
    QCOMPARE(form->ComboBox_MOB_Frequency.itemText(2), QString("AC   136-174 MHz"));
    QCOMPARE(form->ComboBox_MOB_Frequency.itemText(15), QString("X8   806-870 MHz"));
}

// A job may hold the earlier portable or the reserved code: the list shows its row, but no user
// can choose either row, by mouse or by keys.
void MobileFormTest::separatorAndReservedRowsAreShownButNotOffered() {
    Desk desk(kImagePmr);
    desk.workspace->pmr.SetU16(kVersionWordOffset, 5860);
    desk.workspace->pmr.SetU8(pmr::kRadioType, 9);  // the reserved code
    desk.workspace->pmr.SetU8(pmr::kHeadVariant, 2);
    auto form = desk.MakeForm();
    form->LoadPass();
    QCOMPARE(form->ComboBox_MOB_Head.currentText(), QString("Reserved"));
    const auto* rows = qobject_cast<const QStandardItemModel*>(form->ComboBox_MOB_Head.model());
    QVERIFY(rows);
    for (int row = 0; row < form->ComboBox_MOB_Head.count(); ++row) {
        QCOMPARE(rows->item(row)->isEnabled(), row != 8 && row != 11);
    }
    // The arrow keys step over them (each step a radio type change, answered Yes).
    desk.person.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    form->show();
    form->ComboBox_MOB_Head.setCurrentIndex(7);
    QTest::keyClick(&form->ComboBox_MOB_Head, Qt::Key_Down);
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 9);
    form->ComboBox_MOB_Head.setCurrentIndex(10);
    QTest::keyClick(&form->ComboBox_MOB_Head, Qt::Key_Down);
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 12);
}

void MobileFormTest::enterMovesToTheNextControl() {
    Desk desk(kImagePmr);
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    form->ComboBox_MOB_Mobile.setFocus();
    QTRY_VERIFY(form->ComboBox_MOB_Mobile.hasFocus());
    QTest::keyClick(&form->ComboBox_MOB_Mobile, Qt::Key_Return);
    QVERIFY(!form->ComboBox_MOB_Mobile.hasFocus());
    QCOMPARE(form->ComboBox_MOB_Mobile.currentIndex(), 0);
}

// A message box hands the focus back to the list when it closes; that is no new entry into the
// list, so a No answer still goes back to the row the list had before.
void MobileFormTest::focusComingBackAfterTheQuestionKeepsTheRowOnEntry() {
    class RefocusingPerson : public ShellPerson {
      public:
        Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
            QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(combo, &back);
            return ShellPerson::Show(kind, text, buttons);
        }
        QComboBox* combo = nullptr;
    };
    Desk desk(kImagePmr);
    RefocusingPerson person;
    auto form = std::make_unique<TForm_MOB_Mobile>(
        FormContext{*desk.workspace, desk.state, person, desk.dialogs, desk.shell});
    person.combo = &form->ComboBox_MOB_Head;
    form->LoadPass();
    person.answers = {Answer::No};
    Choose(form->ComboBox_MOB_Head, 5);
    QCOMPARE(form->ComboBox_MOB_Head.currentIndex(), 0);
    QCOMPARE(desk.state.RadioTypeMask, 1);
}

// The registered form in the real main window: a new trunk job opens on it, and once a network
// is loaded the "Next Form -->" page moves on to the User Interface form.
void MobileFormTest::inTheMainWindow() {
    testing::WorkDir dir;
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    TForm_MF_MainForm window(*workspace, state, person, dialogs, dir.Path());
    window.show();
    window.NewTrunkJob();
    auto* form = dynamic_cast<TForm_MOB_Mobile*>(window.Form(FormId::RadioType));
    QVERIFY(form != nullptr);
    QCOMPARE(window.ActiveForm(), form);

    form->Page_MOB_Mobile.setCurrentIndex(1);
    QCOMPARE(window.ActiveForm(), form);
    QVERIFY(person.Showed("Cannot continue. \nPlease Load a valid Network file."));

    dialogs.openAnswers = {WriteNetwork(dir_, "Depot.nwk", MakeNetwork(kBandTk, 0, "DEPOT.NWK"))};
    form->Btn_MOB_LoadNW1Click();
    form->Page_MOB_Mobile.setCurrentIndex(1);
    QVERIFY(window.ActiveForm() != form);
    QCOMPARE(window.ActiveForm(), window.Form(FormId::UserInterface));
    QCOMPARE(form->Page_MOB_Mobile.currentIndex(), 0);

    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        workspace->trunk.SetU8(trunk::kRadioMode, 1);
        workspace->trunk.SetU8(trunk::kRadioType, 4);
        workspace->trunk.SetU8(trunk::kHeadVariant, 3);
        window.ShowForm(FormId::RadioType);
        window.ReloadForm(FormId::RadioType);
        window.resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.grab().save(folder + "/main_window_trunk.png"));
    }
    QCOMPARE(person.unexpectedQuestions, 0);
}

// Pictures of the form in both views, written when KM_SCREENSHOT_DIR names a folder.
void MobileFormTest::screenshots() {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("KM_SCREENSHOT_DIR not set");
    }
    {
        Desk desk(kImageTrunk);
        desk.state.UserLevelMask = 4;
        desk.workspace->trunk.Write(trunk::NetworkFileStart(0),
                                    MakeNetwork(kBandTk, 0, "DEPOT.NWK").Bytes());
        desk.workspace->trunk.SetU16(trunk::kBandCode, kBandTk);
        desk.workspace->trunk.SetU16(kVersionWordOffset, 5860);
        desk.workspace->trunk.SetU8(trunk::kRadioMode, 2);
        desk.workspace->trunk.SetU8(trunk::kRadioType, 6);  // KP8A
        desk.workspace->trunk.SetText(trunk::kDescription, 64, "Depot fleet\r\nVan 3");
        auto form = desk.MakeForm();
        form->LoadPass();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->grab().save(folder + "/radio_type_trunk.png"));
    }
    {
        Desk desk(kImagePmr);
        desk.workspace->pmr.SetU16(kVersionWordOffset, 5860);
        desk.workspace->pmr.SetU16(pmr::kBandCode, 0x4143);
        desk.workspace->pmr.SetU8(pmr::kRadioType, 4);
        desk.workspace->pmr.SetText(pmr::kDescription, 64, "Council works depot");
        auto form = desk.MakeForm();
        form->LoadPass();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->grab().save(folder + "/radio_type_pmr.png"));
        // The Radio Type list open, with its separator and Reserved rows greyed.
        form->ComboBox_MOB_Head.showPopup();
        QWidget* list = form->ComboBox_MOB_Head.view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(list));
        QVERIFY(list->grab().save(folder + "/radio_type_list.png"));
        form->ComboBox_MOB_Head.hidePopup();
    }
}

}  // namespace km

QTEST_MAIN(km::MobileFormTest)
#include "MobileFormTest.moc"
