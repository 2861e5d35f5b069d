// The password and level dialogs, the contact viewer, the filter conversion, the message box
// titles and the single-instance lock.

#include <QLockFile>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>
#include <set>

#include "Dialogs.h"
#include "HelpWindow.h"
#include "LevelDialogs.h"
#include "OptionDialogs.h"
#include "QtPerson.h"
#include "ReportBox.h"
#include "ShellFixtures.h"
#include "SingleInstance.h"
#include "radio/RadioInfo.h"

using namespace km;
using namespace km::testing;

namespace {
constexpr const char* kInvalidPassword = "Invalid Password.";
}

class DialogsTest : public QObject {
    Q_OBJECT

  private:
    // Clicks a row of the level dialog the way the user does.
    static void ClickRow(TForm_LVL_Level& dialog, int row) {
        dialog.findChildren<QRadioButton*>().at(row)->click();
    }

  private slots:
    void passwords_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("result");
        QTest::newRow("DINGO") << "DINGO" << static_cast<int>(QDialog::Accepted);
        QTest::newRow("dingo") << "dingo" << static_cast<int>(QDialog::Accepted);
        QTest::newRow("WOMBAT") << "WOMBAT" << static_cast<int>(QDialog::Accepted);
        QTest::newRow("wombat") << "wombat" << static_cast<int>(QDialog::Accepted);
        QTest::newRow("mixed case") << "Dingo" << kPasswordIgnored;
        QTest::newRow("trailing blank") << "dingo " << kPasswordIgnored;
        QTest::newRow("part") << "DING" << kPasswordIgnored;
        QTest::newRow("empty") << "" << kPasswordIgnored;
    }
    void passwords() {
        QFETCH(QString, typed);
        QFETCH(int, result);
        TPWD_Form_Password dialog;
        QCOMPARE(dialog.windowTitle(), QString("Password"));
        dialog.PWD_Edit_Password.setText(typed);
        dialog.PWD_BitBtn_OK.click();
        QCOMPARE(dialog.result(), result);
        // An accepted password is not kept in the edit.
        QCOMPARE(dialog.PWD_Edit_Password.text(), result == QDialog::Accepted ? QString() : typed);
    }

    void passwordCancelled() {
        TPWD_Form_Password dialog;
        dialog.PWD_Edit_Password.setText("DINGO");
        dialog.PWD_BitBtn_Cancel.click();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
    }

    // From `stored`, click `row` with the password dialog answering `password`.
    void levelRules_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("password");  // -1: the dialog must not be shown
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("invalidMessage");
        QTest::newRow("General to Network, cancelled")
            << kLevelGeneral << kLevelNetwork << static_cast<int>(QDialog::Rejected)
            << kLevelGeneral << false;
        QTest::newRow("General to Network, wrong password")
            << kLevelGeneral << kLevelNetwork << kPasswordIgnored << kLevelGeneral << true;
        QTest::newRow("Basic to Network, accepted")
            << kLevelBasic << kLevelNetwork << static_cast<int>(QDialog::Accepted) << kLevelNetwork
            << false;
        QTest::newRow("Network to Basic, no password")
            << kLevelNetwork << kLevelBasic << -1 << kLevelBasic << false;
        QTest::newRow("Basic to General, no password")
            << kLevelBasic << kLevelGeneral << -1 << kLevelGeneral << false;
    }
    void levelRules() {
        QFETCH(int, stored);
        QFETCH(int, row);
        QFETCH(int, password);
        QFETCH(int, selected);
        QFETCH(bool, invalidMessage);
        ShellPerson person;
        int asked = 0;
        TForm_LVL_Level dialog(stored, person, [&]() {
            ++asked;
            return password;
        });
        QCOMPARE(dialog.windowTitle(), QString("User Level"));
        QCOMPARE(dialog.SelectedLevel(), stored);
        ClickRow(dialog, row);
        QCOMPARE(asked, password == -1 ? 0 : 1);
        QCOMPARE(dialog.SelectedLevel(), selected);
        QCOMPARE(person.Showed(kInvalidPassword), invalidMessage);
        QCOMPARE(person.shown.size(), invalidMessage ? std::size_t{1} : std::size_t{0});
        QCOMPARE(person.shown.empty() ? BoxKind::Error : person.shown.front().kind, BoxKind::Error);
    }

    void engineeringKeyRevealsTheRowOnce() {
        ShellPerson person;
        int asked = 0;
        TForm_LVL_Level dialog(kLevelBasic, person, [&]() {
            ++asked;
            return static_cast<int>(QDialog::Accepted);
        });
        dialog.show();
        QCOMPARE(dialog.RowCount(), 3);
        QTest::keyClick(&dialog.LVL_BitBtn_OK, 'z');  // the small letter does nothing
        QCOMPARE(dialog.RowCount(), 3);
        QTest::keyClick(&dialog.LVL_BitBtn_OK, 'Z');
        QTest::keyClick(&dialog.LVL_BitBtn_OK, 'Z');
        QCOMPARE(dialog.RowCount(), 4);
        QCOMPARE(dialog.findChildren<QRadioButton*>().at(kLevelEngineering)->text(),
                 QString("Level 4  Engineering"));
        QCOMPARE(dialog.SelectedLevel(), kLevelEngineering);
        QCOMPARE(asked, 0);
        // Engineering leaves the remembered level at Basic, so Network still asks.
        QCOMPARE(dialog.RememberedLevel(), kLevelBasic);
        ClickRow(dialog, kLevelNetwork);
        QCOMPARE(asked, 1);
        QCOMPARE(dialog.SelectedLevel(), kLevelNetwork);
        dialog.LVL_BitBtn_OK.click();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    }

    void contactDialogTogglesBetweenTheTwoTexts() {
        WorkDir dir;
        const std::string contact = "Radio Dealer\r\nPhone 555 0100\r\n";
        const std::string licence = "Licence \xE9";  // Windows-1252 e acute
        WriteFileAtomically(
            dir.Path() / "Contact.txt",
            std::span(reinterpret_cast<const std::uint8_t*>(contact.data()), contact.size()));
        WriteFileAtomically(
            dir.Path() / "Licence.txt",
            std::span(reinterpret_cast<const std::uint8_t*>(licence.data()), licence.size()));
        TForm_VTR_ContactVeltra dialog(dir.Path());
        QCOMPARE(dialog.windowTitle(), QString("Contact Information"));
        QCOMPARE(dialog.toggleButton_.text(), QString("Licence"));
        QVERIFY(dialog.memo_.toPlainText().startsWith("Radio Dealer"));
        dialog.toggleButton_.click();
        QCOMPARE(dialog.windowTitle(), QString("Software Licence Agreement"));
        QCOMPARE(dialog.toggleButton_.text(), QString("Contact"));
        QCOMPARE(dialog.memo_.toPlainText(), QString::fromUtf8("Licence \u00e9"));
        dialog.toggleButton_.click();
        QCOMPARE(dialog.windowTitle(), QString("Contact Information"));

        WorkDir empty;  // missing files show an empty text
        TForm_VTR_ContactVeltra missing(empty.Path());
        QVERIFY(missing.memo_.toPlainText().isEmpty());
    }

    void filtersListBothLetterCases() {
        const QStringList filters = QtFilters(
            "Trunk Config Files (*.tnk)|*.tnk|PMR Config Files (*.pmr)|*.pmr|Network Files "
            "(*.nwk)|*.nwk|Program Code (*.bin)|*.bin|CSV Files (*.csv)|*.csv||*.PMR||*.NWK||*."
            "BIN||*.TNK||*.CSV");
        QCOMPARE(filters,
                 QStringList({"Trunk Config Files (*.tnk *.TNK)", "PMR Config Files (*.pmr *.PMR)",
                              "Network Files (*.nwk *.NWK)", "Program Code (*.bin *.BIN)",
                              "CSV Files (*.csv *.CSV)"}));
    }

    void userGuideOpensAndItsLinksResolve() {
        const QDir guide(QStringLiteral(KM_SOURCE_DIR "/help"));
        const QStringList pages = guide.entryList({"*.html"}, QDir::Files);
        QVERIFY(pages.contains("index.html"));
        const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+\\.html)\""));
        for (const QString& page : pages) {
            QFile file(guide.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            for (const auto& match : link.globalMatch(html)) {
                QVERIFY2(guide.exists(match.captured(1)),
                         qPrintable(page + " -> " + match.captured(1)));
            }
        }
        const QString before = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(KM_SOURCE_DIR));
        THelpWindow help;
        const bool shown = help.ShowContents();
        QDir::setCurrent(before);
        QVERIFY(shown);
        QCOMPARE(help.browser_.documentTitle(), QString("KM700 RCP P3 User Guide"));
    }

    // The Radio Information report: every value starts in the same column, in a fixed-pitch
    // font, and no line wraps.
    void reportBoxLinesUpItsColumns() {
        RadioInfoValues values;
        values.radioBand = "TK   400-450 MHz";
        values.esn = "10/3/16389";
        values.serialNumber = "VR-000123";
        values.flashType = "2";
        // Every code area with a description and a code line of their whole widths.
        for (CodeDescriptor& descriptor : values.descriptors) {
            const std::string record = "KM700 REV9 STARTUP CODE..12910 V6.30 15/06/2005";
            descriptor.fill(0);
            std::copy(record.begin(), record.end(), descriptor.begin());
        }
        const QString report = QString::fromStdString(FormatRadioInfoReport(values));
        TReportBox box("Information", report);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(QFontInfo(box.text_.font()).fixedPitch());
        QCOMPARE(box.text_.lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(box.text_.toPlainText(), report);
        QCOMPARE(box.text_.horizontalScrollBar()->maximum(), 0);
        QCOMPARE(box.text_.verticalScrollBar()->maximum(), 0);
        // The x of the first character after the tabs that follow each label.
        std::set<int> valueColumns;
        int labelled = 0;
        for (QTextBlock block = box.text_.document()->begin(); block.isValid();
             block = block.next()) {
            const QString line = block.text();
            const int tab = static_cast<int>(line.indexOf('\t'));
            if (tab < 0) {
                continue;
            }
            int value = tab;
            while (value < line.size() && line[value] == '\t') {
                ++value;
            }
            QTextCursor cursor(box.text_.document());
            cursor.setPosition(block.position() + value);
            valueColumns.insert(box.text_.cursorRect(cursor).x());
            ++labelled;
        }
        QCOMPARE(labelled, 12);
        QCOMPARE(valueColumns.size(), std::size_t{1});
        // No line wraps: one block is one line on screen.
        for (QTextBlock block = box.text_.document()->begin(); block.isValid();
             block = block.next()) {
            QCOMPARE(block.layout()->lineCount(), 1);
        }
        KeepPicture(box, "radio_information");
        box.okButton_.click();
        QCOMPARE(box.result(), static_cast<int>(QDialog::Accepted));
    }

    void boxTitles() {
        QCOMPARE(BoxTitle(BoxKind::Error), QString("Error"));
        QCOMPARE(BoxTitle(BoxKind::Warning), QString("Warning"));
        QCOMPARE(BoxTitle(BoxKind::Information), QString("Information"));
        QCOMPARE(BoxTitle(BoxKind::Confirmation), QString("Confirm"));
        QCOMPARE(BoxTitle(BoxKind::Plain), QString("KM700 RCP P3"));
    }

    void secondInstanceIsRefusedAndAStaleLockIsTakenOver() {
        QTemporaryDir dir;
        const QString lockPath = dir.filePath("km700rcp.lock");
        {
            SingleInstance first(lockPath);
            QVERIFY(first.Acquire());
            SingleInstance second(lockPath);
            QVERIFY(!second.Acquire());
        }
        // A lock left by a process that has ended (a crash) does not keep the program out.
        QProcess ended;
        ended.start("sleep", {"0"});
        QVERIFY(ended.waitForStarted());
        const qint64 deadPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        QFile stale(lockPath);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + "\nkm700rcp\n" +
                    QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        SingleInstance next(lockPath);
        QVERIFY(next.Acquire());
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
