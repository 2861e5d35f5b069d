// The two networks of a trunk job between the Radio Type form and the main window: the names the
// label shows after a load, and Network 2 deleted while it is the network being edited. The Radio
// Type form is the real one; the per-network forms record their passes.

#include <QLabel>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "config/NetworkSlots.h"
#include "forms/mobile/MobForm.h"

using namespace km;
using namespace km::testing;

namespace {

constexpr std::uint16_t kBandTk = 0x544B;
constexpr std::size_t kFirstIdentityRecord = 16;  // in a slot's job part; bit 7 = defined
constexpr std::uint8_t kDefinedBit = 0x80;

// An Identities form that shows a defined identity: its store pass writes that record of the
// current network back, as the real form writes what it shows.
class DefinedIdentityForm : public ConfigForm {
  public:
    explicit DefinedIdentityForm(const FormContext& context) : ConfigForm(context) {}
    void LoadPass() override { PassLog().push_back("L:" + ProbeName(FormId::Identities)); }
    void StorePass() override {
        PassLog().push_back("S:" + ProbeName(FormId::Identities));
        const std::size_t record = trunk::SlotStart(state().NetworkSelector) + kFirstIdentityRecord;
        workspace().trunk.SetU8(record, workspace().trunk.U8(record) | kDefinedBit);
    }
};

std::unique_ptr<ConfigForm> MakeDefinedIdentityForm(const FormContext& context) {
    return std::make_unique<DefinedIdentityForm>(context);
}

std::unique_ptr<ConfigForm> MakeRadioTypeForm(const FormContext& context) {
    return std::make_unique<TForm_MOB_Mobile>(context);
}

}  // namespace

class NetworkFlowsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<Workspace> ws_;
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;

    TForm_MOB_Mobile& RadioType() const {
        return *dynamic_cast<TForm_MOB_Mobile*>(window_->Form(FormId::RadioType));
    }
    QString Label() const { return window_->findChild<QLabel*>("Lbl_MF_network")->text(); }
    QToolButton* Button(const char* name) const { return window_->findChild<QToolButton*>(name); }
    // A network file saved earlier under `savedAs` and now called `fileName`.
    QString Network(const QString& fileName, std::uint16_t scheme,
                    const std::string& savedAs = "old-name.nwk") {
        NetworkImage file;
        file.SetText(network::kMarker, 16, "--NETWORK FILE--");
        file.SetText(network::kName, network::kNameWidth,
                     savedAs + std::string(network::kNameWidth - savedAs.size(), ' '));
        file.SetU16(network::kBandCode, kBandTk);
        file.SetU16(network::kNumberingScheme, scheme);
        const QString path = dir_->File("Networks/" + fileName);
        WriteFileAtomically(path.toStdString(), file.Bytes());
        return path;
    }
    void LoadNetwork(int selector, const QString& path) {
        dialogs_.openAnswers = {path};
        if (selector == 0) {
            RadioType().Btn_MOB_LoadNW1Click();
        } else {
            RadioType().Btn_MOB_LoadNW2Click();
        }
    }
    // A new trunk job with Network 1 "north.nwk" and Network 2 "south.nwk", the form completed.
    void StartJobWithTwoNetworks() {
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
        window_->show();
        Button("SpBtn_MF_TRUNK")->click();
        LoadNetwork(0, Network("north.nwk", kSchemeMpt1343));
        RadioType().Tab_MOB_NextShow();
        LoadNetwork(1, Network("south.nwk", kSchemeMpt1343));
    }

  private slots:
    void initTestCase() {
        RegisterProbeForms();
        RegisterForm(FormId::RadioType, &MakeRadioTypeForm);
        RegisterForm(FormId::Identities, &MakeDefinedIdentityForm);
    }

    void init() {
        dir_ = std::make_unique<WorkDir>();
        ws_ = std::make_unique<Workspace>();
        state_ = MainState{};
        person_ = ShellPerson{};
        dialogs_ = ScriptedDialogs{};
        PassLog().clear();
    }

    void cleanup() {
        QCOMPARE(person_.unexpectedQuestions, 0);
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        state_.TrunkJobLoaded = false;
        window_.reset();
    }

    void labelAndNamesAgreeAfterLoadingNetworks() {
        StartJobWithTwoNetworks();
        // The upper-case file name, not the name the file was once saved under.
        QCOMPARE(state_.Network1Name, std::string("NORTH.NWK"));
        QCOMPARE(RadioType().Lbl_MOB_FilenameNW1.text(), QString("NORTH.NWK"));
        QCOMPARE(Label(), QString("NORTH.NWK"));
        QCOMPARE(state_.Network2Name, std::string("SOUTH.NWK"));
        QCOMPARE(RadioType().Lbl_MOB_FilenameNW2.text(), QString("SOUTH.NWK"));

        Button("SpeedBtn_MF_NW2")->click();
        QCOMPARE(Label(), QString("SOUTH.NWK"));
        // A new Network 2 while it is current shows at once.
        LoadNetwork(1, Network("west.nwk", kSchemeMpt1343));
        QCOMPARE(Label(), QString("WEST.NWK"));
        QCOMPARE(state_.Network2Name, std::string("WEST.NWK"));
    }

    // A network loaded from its file is named after the file in capitals; the job opened again
    // names it by the slot's name field, spelled as the network was saved, in the main window and
    // on the Radio Type form alike.
    void aReopenedJobNamesItsNetworkByTheSlotsNameField() {
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
        window_->show();
        Button("SpBtn_MF_TRUNK")->click();
        LoadNetwork(0, Network("SampleANN.nwk", kSchemeMpt1343, "SampleANN.nwk"));
        RadioType().Tab_MOB_NextShow();
        QCOMPARE(Label(), QString("SAMPLEANN.NWK"));
        TrunkJobImage job = ws_->trunk;
        job.SetU8(107, 1);
        job.SetU16(112, 100);
        const QString path = dir_->File("Jobs/with-network.tnk");
        WriteFileAtomically(path.toStdString(), job.Bytes());
        dialogs_.openAnswers = {path};
        person_.answers = {Answer::Yes};  // give up the job on show
        window_->Open1Click();
        QCOMPARE(Label().trimmed(), QString("SampleANN.nwk"));
        QCOMPARE(RadioType().Lbl_MOB_FilenameNW1.text().trimmed(), QString("SampleANN.nwk"));
    }

    void deletingTheCurrentNetwork2StoresSwitchesThenLoads_data() {
        QTest::addColumn<bool>("schemeChange");
        QTest::newRow("Delete button") << false;
        QTest::newRow("Network 1 of another scheme") << true;
    }
    void deletingTheCurrentNetwork2StoresSwitchesThenLoads() {
        QFETCH(bool, schemeChange);
        StartJobWithTwoNetworks();
        Button("SpeedBtn_MF_NW2")->click();
        QCOMPARE(state_.NetworkSelector, 1);
        PassLog().clear();

        person_.answers = {Answer::Yes};
        if (schemeChange) {
            LoadNetwork(0, Network("east.nwk", kSchemeAnn));
            QCOMPARE(person_.Texts().back(), std::string(kSchemeChangeQuestion));
        } else {
            RadioType().Btn_MOB_DeleteNW2Click();
            QCOMPARE(person_.Texts().back(), std::string(kDeleteNetwork2Question));
        }
        QVERIFY(!NetworkPresent(ws_->trunk, 1));
        const std::vector<std::string> expected = {
            "S:" + ProbeName(FormId::Identities), "S:" + ProbeName(FormId::NetworkOptions),
            "L:" + ProbeName(FormId::Identities), "L:" + ProbeName(FormId::NetworkOptions)};
        QCOMPARE(PassLog(), expected);
        QCOMPARE(state_.NetworkSelector, 0);
        QVERIFY(Button("SpeedBtn_MF_NW1")->isChecked());
        QCOMPARE(Label(), QString::fromStdString(state_.Network1Name));
        QCOMPARE(state_.Network1Name, std::string(schemeChange ? "EAST.NWK" : "NORTH.NWK"));
        QCOMPARE(state_.Network2Name, std::string(kRadioTypeNetworkNotDefined));

        // Network 2's identities were stored while it was current; a new scheme clears them, and
        // nothing stored afterwards brings them back.
        const std::uint8_t network2Record =
            ws_->trunk.U8(trunk::SlotStart(1) + kFirstIdentityRecord);
        QCOMPARE((network2Record & kDefinedBit) != 0, !schemeChange);
    }
};

QTEST_MAIN(NetworkFlowsTest)
#include "NetworkFlowsTest.moc"
