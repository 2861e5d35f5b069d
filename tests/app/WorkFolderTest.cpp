// The working folder: where the program works when started in a folder with its files and when
// not, how the per-user folder is filled from the installed data, and its place in Setup and
// About.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "OptionDialogs.h"
#include "Resources.h"

using namespace km;

namespace {

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class WorkFolderTest : public QObject {
    Q_OBJECT

  private:
    QString Path(const QString& relative) const { return home_.filePath(relative); }
    QString UserFolder() const { return Path("data/km700rcp"); }

    // Installed data as the package lays it out: templates, texts and the sample network.
    QString MakeInstalledData() {
        const QString data = Path("installed");
        WriteText(data + "/default.tct", "trunk template");
        WriteText(data + "/default.cct", "pmr template");
        WriteText(data + "/Contact.txt", "contact");
        WriteText(data + "/Networks/Demo.nwk", "network");
        return data;
    }

  private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        // Every per-user place inside the scratch folder.
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        QCoreApplication::setApplicationName("km700rcp");
    }

    void cleanup() {
        QFile::remove(UserSettingsFile());
        QDir(UserFolder()).removeRecursively();
        QDir(Path("installed")).removeRecursively();
        QDir(Path("start")).removeRecursively();
    }

    void perUserFolderIsTheUsualPlaceForApplicationData() {
        QCOMPARE(DefaultUserWorkFolder(), UserFolder());
        QCOMPARE(UserWorkFolder(), UserFolder());
    }

    void startFolderIsKeptOnlyWhenItHoldsATemplate_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("kept");
        QTest::newRow("trunk template") << "default.tct" << true;
        QTest::newRow("PMR template") << "default.cct" << true;
        QTest::newRow("template named in capitals") << "DEFAULT.TCT" << true;
        // A settings file alone is what an earlier start from that folder left behind.
        QTest::newRow("Setup.dat alone") << "Setup.dat" << false;
        QTest::newRow("a job alone") << "Jobs/a.tnk" << false;
        QTest::newRow("template as a folder") << "default.tct/x" << false;
        QTest::newRow("nothing") << "" << false;
    }
    void startFolderIsKeptOnlyWhenItHoldsATemplate() {
        QFETCH(QString, file);
        QFETCH(bool, kept);
        const QString start = Path("start");
        QDir().mkpath(start);
        if (!file.isEmpty()) {
            WriteText(start + "/" + file, "x");
        }
        const WorkFolderChoice choice = WorkFolderAtStart(start);
        QVERIFY(choice.ready);
        QCOMPARE(choice.folder, kept ? start : UserFolder());
        // A folder with the program's files is used as it is; the per-user folder is not made.
        QCOMPARE(QFileInfo::exists(UserFolder()), !kept);
        QCOMPARE(QFileInfo::exists(start + "/Jobs"), file.startsWith("Jobs"));
    }

    void newFolderIsFilledFromTheInstalledData() {
        const QString data = MakeInstalledData();
        QVERIFY(SeedWorkFolder(UserFolder(), data));
        for (const char* name :
             {"default.tct", "default.cct", "Contact.txt", "Networks/Demo.nwk"}) {
            QCOMPARE(ReadText(UserFolder() + "/" + name), ReadText(data + "/" + name));
        }
        for (const char* folder : {"Jobs", "Networks", "Radio_SW"}) {
            QVERIFY(QFileInfo(UserFolder() + "/" + folder).isDir());
        }
    }

    void filledFolderKeepsTheUsersFiles() {
        const QString data = MakeInstalledData();
        QVERIFY(SeedWorkFolder(UserFolder(), data));
        WriteText(UserFolder() + "/Contact.txt", "edited");
        WriteText(UserFolder() + "/Jobs/fleet.tnk", "job");
        QVERIFY(QFile::remove(UserFolder() + "/Networks/Demo.nwk"));

        // A folder with its templates is not filled again: a file the user removed stays away.
        QVERIFY(SeedWorkFolder(UserFolder(), data));
        QVERIFY(!QFileInfo::exists(UserFolder() + "/Networks/Demo.nwk"));

        // Without templates it is filled again, but what the user has there is never replaced.
        QVERIFY(QFile::remove(UserFolder() + "/default.tct"));
        QVERIFY(QFile::remove(UserFolder() + "/default.cct"));
        QVERIFY(SeedWorkFolder(UserFolder(), data));
        QCOMPARE(ReadText(UserFolder() + "/default.tct"), QByteArray("trunk template"));
        QCOMPARE(ReadText(UserFolder() + "/Networks/Demo.nwk"), QByteArray("network"));
        QCOMPARE(ReadText(UserFolder() + "/Contact.txt"), QByteArray("edited"));
        QCOMPARE(ReadText(UserFolder() + "/Jobs/fleet.tnk"), QByteArray("job"));
    }

    void missingInstalledDataLeavesAnEmptyFolder() {
        QVERIFY(SeedWorkFolder(UserFolder(), Path("installed")));
        QVERIFY(QFileInfo(UserFolder() + "/Jobs").isDir());
        QVERIFY(!HoldsProgramFiles(UserFolder()));
    }

    void folderThatCannotBeMadeIsReported() {
        WriteText(Path("start/file"), "x");
        QVERIFY(!SeedWorkFolder(Path("start/file/work"), MakeInstalledData()));
        QVERIFY(StoreUserWorkFolder(Path("start/file/work")));
        const WorkFolderChoice choice = WorkFolderAtStart(Path("start"));
        QCOMPARE(choice.folder, Path("start/file/work"));
        QVERIFY(!choice.ready);
    }

    void folderChosenInSetupIsUsedAtTheNextStart() {
        const QString chosen = Path("chosen");
        QVERIFY(StoreUserWorkFolder(chosen));
        QCOMPARE(StoredUserWorkFolder(), chosen);
        QCOMPARE(WorkFolderAtStart(Path("start")).folder, chosen);
        QVERIFY(QFileInfo(chosen + "/Radio_SW").isDir());
        QVERIFY(StoreUserWorkFolder(QString()));
        QCOMPARE(WorkFolderAtStart(Path("start")).folder, UserFolder());
        QDir(chosen).removeRecursively();
    }

    void setupShowsTheFolderAndKeepsAChange() {
        TForm_SET_Setup dialog(0);
        QCOMPARE(dialog.Edit_SET_WorkFolder.text(), UserFolder());
        // OK without a change stores nothing.
        dialog.okButton_.click();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QVERIFY(!QFileInfo::exists(UserSettingsFile()));

        const QString chosen = Path("chosen/work");
        TForm_SET_Setup changed(0);
        changed.Edit_SET_WorkFolder.setText(chosen);
        changed.okButton_.click();
        QCOMPARE(changed.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(StoredUserWorkFolder(), chosen);
        QVERIFY(QFileInfo(chosen).isDir());
        QCOMPARE(TForm_SET_Setup(0).Edit_SET_WorkFolder.text(), chosen);

        // Emptied, or the default typed out, it goes back to the default.
        for (const QString& typed : {QString(), UserFolder() + "/"}) {
            QVERIFY(StoreUserWorkFolder(chosen));
            TForm_SET_Setup reset(0);
            reset.Edit_SET_WorkFolder.setText(typed);
            reset.okButton_.click();
            QCOMPARE(reset.result(), static_cast<int>(QDialog::Accepted));
            QCOMPARE(StoredUserWorkFolder(), QString());
        }
        QDir(Path("chosen")).removeRecursively();
    }

    void setupRefusesAFolderItCannotUse_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("relative") << "work"
                                  << "Give the whole path of the folder.";
        QTest::newRow("under a file") << Path("start/file/work") << "The folder cannot be created.";
    }
    void setupRefusesAFolderItCannotUse() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        WriteText(Path("start/file"), "x");
        TForm_SET_Setup dialog(0);
        dialog.show();
        dialog.Edit_SET_WorkFolder.setText(typed);
        dialog.okButton_.click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(dialog.workFolderError_.text(), message);
        QVERIFY(!dialog.workFolderError_.isHidden());
        QCOMPARE(StoredUserWorkFolder(), QString());
        QVERIFY(!QFileInfo::exists(QDir::current().filePath("work")));
    }

    void aboutShowsTheWorkingFolder() {
        TAboutBox about(std::filesystem::path("/home/user/radios"));
        QCOMPARE(about.workFolder_.text(), QString("Working folder: /home/user/radios"));
    }

  private:
    QTemporaryDir home_;
};

QTEST_MAIN(WorkFolderTest)
#include "WorkFolderTest.moc"
