// A file named on the desktop program's command line (a double click in a file manager) opens in
// the view of its kind, as File > Open opens it; a file that is not there, and a network file
// below the Network level, are named in a message.

#include <QFileDialog>
#include <QtTest>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"

using namespace km;
using namespace km::testing;

class GivenFileTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<Workspace> ws_;
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;

    void Start(int level, int view) {
        SetupRecord setup;
        setup.userLevelIndex = level;
        setup.viewAtExit = view;
        QVERIFY(WriteSetup(dir_->Path(), setup));
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
        window_->show();
    }
    std::filesystem::path Write(const QString& name, std::span<const std::uint8_t> bytes) {
        const QString path = dir_->File(name);
        WriteFileAtomically(path.toStdString(), bytes);
        return path.toStdString();
    }

  private slots:
    void initTestCase() { RegisterProbeForms(); }
    void init() {
        dir_ = std::make_unique<WorkDir>();
        ws_ = std::make_unique<Workspace>();
        state_ = MainState{};
        person_ = ShellPerson{};
        dialogs_ = ScriptedDialogs{};
    }
    void cleanup() {
        QCOMPARE(person_.unexpectedQuestions, 0);
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        window_.reset();
    }

    void eachKindOpensInItsView_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("storedView");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("imageKind");
        QTest::addColumn<int>("checkedView");
        QTest::newRow("trunk job, PMR view stored")
            << 0 << static_cast<int>(kViewPmr) << "job.tnk" << static_cast<int>(kImageTrunk)
            << static_cast<int>(View::Trunk);
        QTest::newRow("PMR job, Trunk view stored")
            << 0 << static_cast<int>(kViewTrunk) << "job.pmr" << static_cast<int>(kImagePmr)
            << static_cast<int>(View::Pmr);
        QTest::newRow("upper-case extension")
            << 0 << static_cast<int>(kViewTrunk) << "JOB.PMR" << static_cast<int>(kImagePmr)
            << static_cast<int>(View::Pmr);
        QTest::newRow("network file at the Network level")
            << 2 << static_cast<int>(kViewTrunk) << "net.nwk" << static_cast<int>(kImageNetwork)
            << static_cast<int>(View::Network);
    }
    void eachKindOpensInItsView() {
        QFETCH(int, level);
        QFETCH(int, storedView);
        QFETCH(QString, name);
        QFETCH(int, imageKind);
        QFETCH(int, checkedView);
        Start(level, storedView);
        std::filesystem::path file;
        if (name.endsWith("tnk")) {
            TrunkJobImage job;
            job.SetU8(107, 1);
            job.SetU16(112, 100);
            job.SetU8(700, 0x77);
            file = Write("Jobs/" + name, job.Bytes());
        } else if (name.endsWith("nwk")) {
            NetworkImage network;
            network.SetText(network::kMarker, 16, "--NETWORK FILE--");
            network.SetU16(network::kBandCode, 0x544B);
            file = Write("Networks/" + name, network.Bytes());
        } else {
            PmrJobImage job;
            job.SetU16(112, 202);
            job.SetU8(700, 0x77);
            file = Write("Jobs/" + name, job.Bytes());
        }
        window_->OpenGivenFile(file);
        QVERIFY2(person_.shown.empty(), person_.shown.empty() ? "" : person_.shown[0].text.c_str());
        QCOMPARE(state_.ImageKind, imageKind);
        QCOMPARE(window_->CheckedView(), static_cast<View>(checkedView));
        QVERIFY(!window_->PictureShown());
        if (imageKind == kImageTrunk) {
            QCOMPARE(ws_->trunk.U8(700), 0x77);
        } else if (imageKind == kImagePmr) {
            QCOMPARE(ws_->pmr.U8(700), 0x77);
        }
        QVERIFY(window_->windowTitle().contains(QFileInfo(name).fileName()) ||
                imageKind == kImageNetwork);
        KeepPicture(*window_, "given_file_" + QFileInfo(name).suffix().toLower());
    }

    void aFileThatIsNotThereIsNamed() {
        Start(0, kViewTrunk);
        const std::filesystem::path missing = dir_->Path() / "Jobs" / "gone.tnk";
        window_->OpenGivenFile(missing);
        QCOMPARE(person_.shown.size(), std::size_t{1});
        QCOMPARE(person_.shown[0].kind, BoxKind::Error);
        QVERIFY(QString::fromStdString(person_.shown[0].text)
                    .contains(QString::fromStdString(missing.string())));
        QVERIFY(!state_.TrunkJobLoaded && !state_.PmrJobLoaded);
        QVERIFY(window_->PictureShown());
    }

    void aNetworkFileBelowTheNetworkLevelSaysWhy() {
        Start(1, kViewTrunk);
        NetworkImage network;
        network.SetText(network::kMarker, 16, "--NETWORK FILE--");
        network.SetU16(network::kBandCode, 0x544B);
        window_->OpenGivenFile(Write("Networks/net.nwk", network.Bytes()));
        QCOMPARE(person_.shown.size(), std::size_t{1});
        QCOMPARE(person_.shown[0].kind, BoxKind::Warning);
        QVERIFY(QString::fromStdString(person_.shown[0].text).contains("Options > Level"));
        QVERIFY(!state_.TrunkJobLoaded);
        QCOMPARE(state_.ImageKind, 0);
    }

    // The same checks as File > Open: a file of another kind is refused with Open's message.
    void aFileOfAnotherKindGetsOpensMessage() {
        Start(0, kViewTrunk);
        window_->OpenGivenFile(Write("Jobs/notes.txt", std::vector<std::uint8_t>(100, 'x')));
        QCOMPARE(person_.Texts(), std::vector<std::string>{std::string(kInvalidFileError)});
        QVERIFY(window_->PictureShown());
    }

    // File > Open offers the kinds Open accepts; Compare with... the same.
    void openDialogsOfferOnlyJobFiles() {
        Start(0, kViewTrunk);
        dialogs_.openAnswers = {std::nullopt, std::nullopt};
        window_->Open1Click();
        const QStringList expected = {"Trunk Config Files (*.tnk *.TNK)",
                                      "PMR Config Files (*.pmr *.PMR)",
                                      "Network Files (*.nwk *.NWK)"};
        QCOMPARE(dialogs_.requests.back().filters, expected);
        QCOMPARE(JobFileFilters(), expected);
    }

    // A file dialog opens in its detail view, wide enough for the Size and Date columns.
    void fileDialogsShowTheirColumns() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        PrepareFileDialog(dialog, FileDialogRequest{.title = "Open - Job File",
                                                    .filters = JobFileFilters(),
                                                    .folder = dir_->File("Jobs")});
        QCOMPARE(dialog.viewMode(), QFileDialog::Detail);
        QVERIFY(dialog.width() >= 900 && dialog.height() >= 540);
        dialog.show();
        KeepPicture(dialog, "file_dialog");
    }
};

QTEST_MAIN(GivenFileTest)
#include "GivenFileTest.moc"
