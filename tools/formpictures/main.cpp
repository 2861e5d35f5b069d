// km_form_pictures: pictures of every page of every form, and a page-by-page comparison of two
// sets of them.
//
//   km_form_pictures <data folder> <picture folder>
//       Copies the data folder (the templates, the networks, the pictures) into a scratch working
//       folder, builds each view on a new job in a main window of a fixed size, at the Basic and
//       at the Engineering level, and saves one PNG per page: every page of every tab control of
//       every form under the view's buttons. The names are stable, so two runs can be compared:
//       <view>-<level>-<button>_<form>-<page>[-<page>].png
//   km_form_pictures --compare <before folder> <after folder>
//       Names every picture whose pixels differ, and those only one folder holds. Exit code 0
//       when the two folders show the same, 1 when a page differs, 2 on wrong arguments.
//
// It runs on the offscreen platform unless QT_QPA_PLATFORM names another.

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <memory>
#include <set>

#include "Dialogs.h"
#include "LevelDialogs.h"
#include "MainForm.h"
#include "Views.h"

namespace {

constexpr QSize kWindowSize(1280, 960);

// Answers every box without a window: an OK box is acknowledged, a question declined. What was
// asked goes to stderr, as something the pictures may not show.
class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view text, km::Buttons buttons) override {
        std::fprintf(stderr, "box: %.*s\n", static_cast<int>(text.size()), text.data());
        switch (buttons) {
            case km::Buttons::Ok:
                return km::Answer::Ok;
            case km::Buttons::YesNo:
            case km::Buttons::YesNoCancel:
                return km::Answer::No;
            case km::Buttons::OkCancel:
            case km::Buttons::Cancel:
                break;
        }
        return km::Answer::Cancel;
    }
    void Beep() override {}
};

// Chooses no file and closes every dialog at once.
class NoDialogs : public km::Dialogs {
  public:
    std::optional<QString> OpenFile(const km::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const km::FileDialogRequest&) override { return std::nullopt; }
    int Exec(QDialog&) override { return 0; }
};

bool CopyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) {
            return false;
        }
    }
    return true;
}

// A name part of letters, digits and underscores.
QString Tidy(QString text) {
    for (QChar& c : text) {
        if (!c.isLetterOrNumber()) {
            c = '_';
        }
    }
    return text;
}

// The tab controls of `root` that no other tab control of `root` holds.
QList<QTabWidget*> OutermostTabs(QWidget& root) {
    QList<QTabWidget*> outermost;
    for (QTabWidget* tabs : root.findChildren<QTabWidget*>()) {
        bool nested = false;
        for (QWidget* up = tabs->parentWidget(); up && up != &root; up = up->parentWidget()) {
            nested = nested || qobject_cast<QTabWidget*>(up) != nullptr;
        }
        if (!nested) {
            outermost.push_back(tabs);
        }
    }
    return outermost;
}

class Photographer {
  public:
    Photographer(QWidget& window, QString folder) : window_(window), folder_(std::move(folder)) {}

    // Saves a picture of each page reachable through the tab controls of `root`.
    void Pages(QWidget& root, const QString& name) {
        const QList<QTabWidget*> tabs = OutermostTabs(root);
        if (tabs.isEmpty()) {
            Save(name);
            return;
        }
        for (int t = 0; t < tabs.size(); ++t) {
            QTabWidget& control = *tabs[t];
            const QString prefix = tabs.size() > 1 ? name + QString("-t%1").arg(t) : name;
            const int shown = control.currentIndex();
            for (int i = 0; i < control.count(); ++i) {
                if (!control.isTabVisible(i)) {
                    continue;
                }
                control.setCurrentIndex(i);
                Pages(*control.widget(i), QString("%1-%2_%3")
                                              .arg(prefix)
                                              .arg(i + 1, 2, 10, QChar('0'))
                                              .arg(Tidy(control.tabText(i))));
            }
            control.setCurrentIndex(shown);
        }
    }

    int saved() const { return saved_; }

  private:
    void Save(const QString& name) {
        QApplication::processEvents();
        QApplication::processEvents();
        const QString file = QDir(folder_).filePath(name + ".png");
        if (!window_.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return;
        }
        ++saved_;
    }

    QWidget& window_;
    QString folder_;
    int saved_ = 0;
};

// Builds `view` on a new job in a fresh main window and pictures every form of its buttons.
void PictureView(km::View view, int level, const QString& workFolder, const QString& pictures,
                 int& saved) {
    km::Workspace workspace;
    km::MainState state;
    SilentPerson person;
    NoDialogs dialogs;
    km::TForm_MF_MainForm window(workspace, state, person, dialogs, workFolder.toStdString());
    window.resize(kWindowSize);
    window.show();
    window.ApplyLevel(level);
    switch (view) {
        case km::View::Trunk:
            window.Menu_Forms_TrunkClick();
            window.ShowFormButtons();
            break;
        case km::View::Pmr:
            window.Menu_Forms_PMRClick();
            window.ShowFormButtons();
            break;
        case km::View::Network:
            window.Menu_Forms_TrunkClick();
            window.BuildNetworkView();
            break;
    }
    window.resize(kWindowSize);
    Photographer photographer(window, pictures);
    static const char* const kViewNames[] = {"", "trunk", "pmr", "network"};
    static const char* const kLevelNames[] = {"basic", "general", "network", "eng"};
    const km::ViewDefinition& definition = km::DefinitionOf(view);
    for (int b = 0; b < km::kFormButtonCount; ++b) {
        const auto& button = definition.buttons[static_cast<std::size_t>(b)];
        if (!button) {
            continue;
        }
        window.ShowForm(button->form);
        km::ConfigForm* form = window.Form(button->form);
        if (!form) {
            continue;
        }
        const QString name = QString("%1-%2-%3_%4")
                                 .arg(kViewNames[static_cast<int>(view)])
                                 .arg(kLevelNames[level])
                                 .arg(QChar('A' + b))
                                 .arg(Tidy(button->hint));
        photographer.Pages(*form, name);
    }
    saved += photographer.saved();
}

int TakePictures(const QString& dataFolder, const QString& pictures) {
    const QString data = QFileInfo(dataFolder).absoluteFilePath();
    QTemporaryDir work;
    if (!work.isValid() || !CopyFolder(data, work.path())) {
        std::fprintf(stderr, "cannot copy %s into a working folder\n", qPrintable(data));
        return 1;
    }
    if (!QDir().mkpath(pictures)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(pictures));
        return 1;
    }
    QDir::setCurrent(work.path());
    int saved = 0;
    for (const int level : {km::kLevelBasic, km::kLevelEngineering}) {
        for (const km::View view : {km::View::Trunk, km::View::Pmr}) {
            PictureView(view, level, work.path(), pictures, saved);
        }
    }
    // The Network view exists from the Network level on.
    PictureView(km::View::Network, km::kLevelEngineering, work.path(), pictures, saved);
    std::printf("%d pages in %s\n", saved, qPrintable(pictures));
    return 0;
}

std::set<QString> PicturesIn(const QString& folder) {
    const QStringList names = QDir(folder).entryList({"*.png"}, QDir::Files, QDir::Name);
    return {names.begin(), names.end()};
}

// The rectangle of the pixels that differ between two pictures of one size.
QRect DifferingArea(const QImage& a, const QImage& b) {
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

int Compare(const QString& before, const QString& after) {
    const std::set<QString> a = PicturesIn(before);
    const std::set<QString> b = PicturesIn(after);
    std::set<QString> all = a;
    all.insert(b.begin(), b.end());
    int differing = 0;
    for (const QString& name : all) {
        if (!a.contains(name)) {
            std::printf("only after:  %s\n", qPrintable(name));
            ++differing;
            continue;
        }
        if (!b.contains(name)) {
            std::printf("only before: %s\n", qPrintable(name));
            ++differing;
            continue;
        }
        const QImage one =
            QImage(QDir(before).filePath(name)).convertToFormat(QImage::Format_ARGB32);
        const QImage two =
            QImage(QDir(after).filePath(name)).convertToFormat(QImage::Format_ARGB32);
        if (one == two) {
            continue;
        }
        ++differing;
        if (one.size() != two.size()) {
            std::printf("differs:     %s (size)\n", qPrintable(name));
            continue;
        }
        const QRect area = DifferingArea(one, two);
        std::printf("differs:     %s (%d,%d %dx%d)\n", qPrintable(name), area.x(), area.y(),
                    area.width(), area.height());
    }
    std::printf("%zu pages compared, %d differ\n", all.size(), differing);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // A steady text cursor: a blinking one would make two runs differ.
    QApplication::setCursorFlashTime(0);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == "--compare") {
        return Compare(args[2], args[3]);
    }
    if (args.size() == 3 && !args[1].startsWith("-")) {
        return TakePictures(args[1], args[2]);
    }
    std::fprintf(stderr,
                 "usage: km_form_pictures <data folder> <picture folder>\n"
                 "       km_form_pictures --compare <before folder> <after folder>\n");
    return 2;
}
