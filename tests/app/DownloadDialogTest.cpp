// The download dialog against the virtual radio: Get File with its extension and description
// checks, the labels, a download to the end, and a dialog that stays put while the radio is busy.

#include <QtTest>
#include <memory>

#include "ShellFixtures.h"
#include "download/DownloadDialog.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/RadioSession.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

using namespace km;
using namespace km::testing;

namespace {

// A code file of `codeLength` (L + 72) bytes with its Software Description.
std::vector<std::uint8_t> CodeFile(std::uint8_t codeType, std::size_t codeLength) {
    std::vector<std::uint8_t> code(codeLength - 63, 0x11);
    SoftwareDescription description;
    description.description = "KM700 STARTUP";
    description.softwareCode = "10820";
    description.versionText = "V6.30";
    description.date = "01/02/2006";
    description.codeType = codeType;
    description.requiredRcpCode = "14010";
    description.requiredRcpVersion = "V5.80";
    return MakeCodeFile(code, description, {});
}

// The programmer's radio session and the virtual radio on one in-memory wire.
struct Bench {
    explicit Bench(const std::filesystem::path& folder)
        : workspace(std::make_unique<Workspace>()),
          session(wire.A(), clock, {*workspace, state, person, progress, folder, {folder}}),
          operations(session.Operations()),
          profile(*sim::ParseProfile("type = 0\n").profile),
          radio(profile, sim::BuildRadioMemory(profile), clock, [this] { return clock.Now(); },
                wire.B(), {false, {}}, {}) {}

    VirtualClock clock;
    WirePair wire{clock};
    ShellPerson person;
    Progress progress;
    MainState state;
    std::unique_ptr<Workspace> workspace;
    RadioSession session;
    RadioOperations& operations;
    sim::Profile profile;
    sim::VirtualRadio radio;
};

}  // namespace

class DownloadDialogTest : public QObject {
    Q_OBJECT

  private:
    std::filesystem::path Folder() const { return dir_.path().toStdString(); }
    QString Put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = Folder() / name;
        WriteFileAtomically(path, bytes);
        return QString::fromStdString(path.string());
    }

    QTemporaryDir dir_;

  private slots:
    void getFileChecksTheExtensionAndTheDescription() {
        Bench bench(Folder());
        ScriptedDialogs dialogs;
        TForm_DLD_Download dialog(bench.operations, dialogs, Folder());
        QCOMPARE(dialog.DLD_Lbl_Description.text(), QString("No Software Description"));
        QCOMPARE(dialog.DLD_Lbl_ChosenFile.text(), QString(kNoCodeFileChosenText));

        dialogs.openAnswers = {Put("code.Bin", CodeFile(4, 20000))};
        dialog.DLD_BitBtn_GetCodeClick();
        QCOMPARE(dialogs.requests.back().title, QString(kOpenCodeFileTitle));
        QCOMPARE(dialogs.requests.back().filterIndex, 4);
        QVERIFY(bench.person.Showed(kInvalidCodeExtensionText));
        QCOMPARE(bench.person.shown.back().buttons, Buttons::Cancel);
        QVERIFY(!dialog.FileChosen());

        dialogs.openAnswers = {Put("code.BIN", CodeFile(4, 20000))};
        dialog.DLD_BitBtn_GetCodeClick();
        QVERIFY(dialog.FileChosen());
        QCOMPARE(dialog.DLD_Lbl_Description.text(), QString("KM700 STARTUP            "));
        QCOMPARE(dialog.DLD_Lbl_Version.text(), QString("V6.30 "));
        QCOMPARE(dialog.DLD_Lbl_Date.text(), QString("01/02/2006"));
        QCOMPARE(bench.state.RadioSoftwareFolder, Folder().string());
        QCOMPARE(dialog.DLD_Lbl_ChosenFile.text(),
                 QString("code.BIN: StartUp software for a Revision 8 KM700 Mobile"));

        auto broken = CodeFile(4, 20000);
        broken.resize(5000);
        dialogs.openAnswers = {Put("broken.bin", broken)};
        dialog.DLD_BitBtn_GetCodeClick();
        QVERIFY(bench.person.Showed(kNoDescriptionText));
        QVERIFY(!dialog.FileChosen());
        QCOMPARE(dialog.DLD_Lbl_SoftwareCode.text(), QString("1xxxx"));
        QCOMPARE(dialog.DLD_Lbl_ReqdRCPversion.text(), QString("Vxx.xx"));
        QCOMPARE(dialog.DLD_Lbl_ChosenFile.text(), QString(kNoCodeFileChosenText));
    }

    // The line above the description names the file and what it is for in words, also when
    // the program does not know its kind.
    void chosenFileIsNamedWithItsKind() {
        Bench bench(Folder());
        ScriptedDialogs dialogs;
        TForm_DLD_Download dialog(bench.operations, dialogs, Folder());
        const struct {
            const char* name;
            std::uint8_t codeType;
            const char* line;
        } cases[] = {
            {"79tm630.bin", 83, "79tm630.bin: TRUNK software for a Revision 9 KM700 Mobile"},
            {"kp_pmr.bin", 59, "kp_pmr.bin: PMR software for a KP800 Portable"},
            {"dmap.bin", 132, "dmap.bin: DMAP software for the option board"},
            {"odd.bin", 37, "odd.bin: code of a kind this program does not know"},
        };
        for (const auto& c : cases) {
            dialogs.openAnswers = {Put(c.name, CodeFile(c.codeType, 20000))};
            dialog.DLD_BitBtn_GetCodeClick();
            QVERIFY(dialog.FileChosen());
            QCOMPARE(dialog.DLD_Lbl_ChosenFile.text(), QString(c.line));
        }
    }

    // Download without a file says why nothing happens, and nothing starts.
    void downloadWithoutAFileSaysWhy() {
        Bench bench(Folder());
        ScriptedDialogs dialogs;
        TForm_DLD_Download dialog(bench.operations, dialogs, Folder());
        dialog.DLD_BitBtn_OKClick();
        QCOMPARE(bench.person.shown.size(), std::size_t{1});
        QCOMPARE(bench.person.shown[0].kind, BoxKind::Information);
        QCOMPARE(bench.person.shown[0].text, std::string(kDownloadNeedsFileText));
        QVERIFY(!bench.state.CommsBusy);
        QVERIFY(!bench.session.Link().PortOpen());
    }

    void downloadRunsToTheEndAndClosesTheDialog() {
        WriteFileAtomically(Folder() / "FIT000101.bin", sim::FitFileContents());
        Bench bench(Folder());
        ScriptedDialogs dialogs;
        TForm_DLD_Download dialog(bench.operations, dialogs, Folder());
        dialog.show();
        dialogs.openAnswers = {Put("7ks_630.bin", CodeFile(4, 20000))};
        dialog.DLD_BitBtn_GetCodeClick();
        bench.person.answers = {Answer::Yes, Answer::No};
        dialog.DLD_BitBtn_OKClick();
        QVERIFY(bench.state.CommsBusy);

        // The dialog cannot be closed while the radio is being written.
        dialog.DLD_BitBtn_CancelClick();
        QVERIFY(dialog.isVisible());
        QVERIFY(bench.clock.AdvanceUntil(
            [&] { return !bench.state.CommsBusy && !bench.session.Link().PortOpen(); }, 60000));
        QVERIFY(bench.person.Showed(kDownloadAnotherQuestion));
        QVERIFY(!dialog.FileChosen());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.DLD_Lbl_Description.text(), QString("No Software Description"));
        QCOMPARE(bench.radio.Memory().EraseCount(), std::size_t{1});
        QVERIFY(bench.radio.Memory().Faults().empty());
    }
};

QTEST_MAIN(DownloadDialogTest)
#include "DownloadDialogTest.moc"
