// km700rcp: the desktop configuration programmer.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <clocale>
#include <exception>

#include "Dialogs.h"
#include "MainForm.h"
#include "QtPerson.h"
#include "Resources.h"
#include "SingleInstance.h"

namespace {

constexpr const char* kAlreadyRunning = "Application Already Running";
constexpr const char* kWorkFolderNotReady = "Cannot set up the working folder\n%1";
// The program's name on the system: its settings and per-user folders and its window class.
constexpr const char* kProgramName = "km700rcp";

// Shows an exception that reaches the event loop in a box and lets the loop go on.
class Application : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            km::QtPerson(activeWindow()).Error(error.what());
        }
        return false;
    }
};

// A developer switch: KM_SCREENSHOT=<file.png> grabs the main window once it is shown, and
// KM_SCREENSHOT_VIEW=trunk|pmr|network builds that view first (a new job, its form buttons shown
// as after the Radio Type form). It also prints how long the window took to appear.
void ScheduleScreenshot(km::TForm_MF_MainForm& window, const QElapsedTimer& sinceStart) {
    const QString file = qEnvironmentVariable("KM_SCREENSHOT");
    if (file.isEmpty()) {
        return;
    }
    QTimer::singleShot(0, &window, [&sinceStart]() {
        qInfo("main window shown after %lld ms", static_cast<long long>(sinceStart.elapsed()));
    });
    QTimer::singleShot(300, &window, [&window, file]() {
        const QString view = qEnvironmentVariable("KM_SCREENSHOT_VIEW");
        if (view == "trunk") {
            window.Menu_Forms_TrunkClick();
            window.ShowFormButtons();
        } else if (view == "pmr") {
            window.Menu_Forms_PMRClick();
            window.ShowFormButtons();
        } else if (view == "network") {
            window.Menu_Forms_TrunkClick();
            window.ApplyLevel(2);
            window.BuildNetworkView();
        }
        QTimer::singleShot(300, &window, [&window, file]() {
            window.grab().save(file);
            QApplication::quit();
        });
    });
}

// The file named on the command line (a file manager passes the one double-clicked), made
// absolute against the folder the program was started in, before the program moves to its
// working folder; empty when none was named.
QString FileToOpen(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Configuration programmer for KM700 mobile and KP800 portable radios.");
    parser.addHelpOption();
    parser.addPositionalArgument(
        "file", "A trunk job (.tnk), PMR job (.pmr) or network file (.nwk) to open.", "[file]");
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    Application app(argc, argv);
    // Numbers in files and on screen are written with a point whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(kProgramName);
    QGuiApplication::setDesktopFileName(KM_APP_ID);

    const QString fileToOpen = FileToOpen(app);

    km::SingleInstance instance;
    if (!instance.Acquire()) {
        km::QtPerson().Show(km::BoxKind::Plain, kAlreadyRunning, km::Buttons::Ok);
        return 0;
    }

    km::QtPerson person;
    const km::WorkFolderChoice workFolder = km::WorkFolderAtStart(QDir::currentPath());
    if (!workFolder.ready) {
        // Every save then says what it could not write; Setup can choose another folder.
        person.Warn(QString(kWorkFolderNotReady).arg(workFolder.folder).toStdString());
    }
    // The pictures and the user guide are looked for in the working folder first.
    QDir::setCurrent(workFolder.folder);

    km::Workspace workspace;
    km::MainState state;
    km::QtDialogs dialogs;
    km::TForm_MF_MainForm window(workspace, state, person, dialogs,
                                 workFolder.folder.toStdString());
    person.SetParent(&window);
    dialogs.SetParent(&window);
    window.show();
    if (!fileToOpen.isEmpty()) {
        // Once the window is up, so that a question about the file has the window behind it.
        QTimer::singleShot(0, &window, [&window, fileToOpen] {
            window.OpenGivenFile(std::filesystem::path(fileToOpen.toStdString()));
        });
    }
    ScheduleScreenshot(window, sinceStart);
    return QApplication::exec();
}
