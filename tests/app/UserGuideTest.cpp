// The user guide's "Menus at a glance" names every item of every menu of the main window, under
// its menu, so that a new command is found in the guide.

#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"

using namespace km;
using namespace km::testing;

namespace {

QString Plain(QString caption) {
    return caption.remove('&').simplified();
}

// The items of the row of `menu` in the guide's menu table, as one line of text.
QString GuideRow(const QString& guide, const QString& menu) {
    const QRegularExpression row(
        "<tr><td>" + QRegularExpression::escape(menu) + "</td><td>(.*?)</td></tr>",
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = row.match(guide);
    if (!match.hasMatch()) {
        return {};
    }
    return match.captured(1).remove(QRegularExpression("<[^>]*>")).simplified();
}

// Every action of `menu` and of its submenus.
void Items(const QMenu& menu, QStringList& items) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            continue;
        }
        items << Plain(action->text());
        if (action->menu() != nullptr) {
            Items(*action->menu(), items);
        }
    }
}

}  // namespace

class UserGuideTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { RegisterProbeForms(); }

    void menuTableNamesEveryMenuItem() {
        QFile file(QStringLiteral(KM_SOURCE_DIR) + "/help/index.html");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString guide = QString::fromUtf8(file.readAll());
        WorkDir dir;
        Workspace workspace;
        MainState state;
        ShellPerson person;
        ScriptedDialogs dialogs;
        TForm_MF_MainForm window(workspace, state, person, dialogs, dir.Path());
        int menus = 0;
        for (QAction* top : window.menuBar()->actions()) {
            if (top->menu() == nullptr) {
                continue;
            }
            const QString menu = Plain(top->text());
            const QString row = GuideRow(guide, menu);
            QVERIFY2(!row.isEmpty(), qPrintable("the guide has no row for the menu " + menu));
            QStringList items;
            Items(*top->menu(), items);
            QVERIFY(!items.isEmpty());
            for (const QString& item : items) {
                QVERIFY2(row.contains(item), qPrintable(menu + " > " + item + " is not named"));
            }
            ++menus;
        }
        QCOMPARE(menus, 6);  // File, Edit, View, Options, Tools, Help
    }
};

QTEST_MAIN(UserGuideTest)
#include "UserGuideTest.moc"
