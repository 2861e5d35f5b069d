// Program Radio runs every field's check first, and File > Compare with... lists the fields in
// which the job differs from a file; both on the real forms, with scripted boxes and dialogs.

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "JobCheckDialogs.h"
#include "MainForm.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelRows.h"

using namespace km;
using namespace km::testing;

class JobChecksTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<Workspace> ws_;
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;

    QString WriteJob(const QString& name, const PmrJobImage& job) {
        const QString path = dir_->File(name);
        WriteFileAtomically(path.toStdString(), job.Bytes());
        return path;
    }
    // The shipped PMR template made a job for a KP8B (radio type code 7, which shows the
    // accessory list) whose accessory word (118) holds 9, a code no list entry has.
    std::unique_ptr<PmrJobImage> OddJob() {
        auto job = std::make_unique<PmrJobImage>();
        const auto shipped = ReadFileBytes(
            std::filesystem::path(KM_SOURCE_DIR) / "data/default.cct", PmrJobImage::kSize);
        if (shipped && shipped->size() == PmrJobImage::kSize) {
            job->Write(0, *shipped);
        }
        job->SetU8(106, 7);
        job->SetU16(118, 9);
        return job;
    }
    void OpenPmr(const PmrJobImage& job) {
        SetupRecord setup;
        setup.viewAtExit = kViewPmr;
        QVERIFY(WriteSetup(dir_->Path(), setup));
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        dialogs_.openAnswers = {WriteJob("Jobs/odd.pmr", job)};
        window_->Open1Click();
        QCOMPARE(state_.ImageKind, static_cast<int>(kImagePmr));
    }
    // Answers the next modal dialog with `result` after selecting its first row, and keeps the
    // lines it listed.
    void AnswerList(int result, QStringList& lines) {
        dialogs_.modal.push_back([result, &lines](QDialog& dialog) {
            if (auto* list = dialog.findChild<QListWidget*>()) {
                for (int i = 0; i < list->count(); ++i) {
                    lines << list->item(i)->text();
                }
            }
            if (auto* tree = dialog.findChild<QTreeWidget*>()) {
                for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                    QStringList cells;
                    for (int c = 0; c < tree->columnCount(); ++c) {
                        cells << tree->topLevelItem(i)->text(c);
                    }
                    lines << cells.join(" | ");
                }
            }
            return result;
        });
    }

  private slots:
    void init() {
        dir_ = std::make_unique<WorkDir>();
        ws_ = std::make_unique<Workspace>();
        state_ = MainState{};
        person_ = ShellPerson{};
        dialogs_ = ScriptedDialogs{};
    }
    void cleanup() { window_.reset(); }

    void warningsAreListedAndCancelStopsProgramming() {
        OpenPmr(*OddJob());
        QStringList lines;
        AnswerList(QDialog::Rejected, lines);
        window_->ProgramMobile1Click();
        QCOMPARE(lines, QStringList{"warning: Radio Type > Accessory (header.accessory): Value is "
                                    "not one of the list's entries"});
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        // Cancelled before the port was touched: no port message, nothing busy.
        QVERIFY(person_.Texts().empty());
        QVERIFY(!state_.CommsBusy);
    }

    void goToFieldShowsTheFormAndFocusesTheControl() {
        OpenPmr(*OddJob());
        QStringList lines;
        AnswerList(TForm_CHK_Findings::kGoToField, lines);
        window_->ProgramMobile1Click();
        auto* accessory = window_->findChild<QComboBox*>("ComboBox_MOB_Accessory");
        QVERIFY(accessory);
        QTRY_VERIFY(accessory->hasFocus() || QApplication::focusWidget() == accessory);
        QVERIFY(!state_.CommsBusy);
    }

    void aJobWithoutFindingsGoesStraightToTheRadio() {
        auto job = OddJob();
        job->SetU16(118, 0);
        OpenPmr(*job);
        window_->ProgramMobile1Click();
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        // The command went on to the serial port: it opened it, or said why it could not.
        QVERIFY(state_.CommsBusy || !person_.Texts().empty());
    }

    void compareListsTheFieldsThatDiffer() {
        auto job = OddJob();
        job->SetU16(118, 0);
        OpenPmr(*job);
        auto other = OddJob();
        other->SetU16(118, 3);
        other->SetU8(107, 2);
        dialogs_.openAnswers = {WriteJob("Jobs/other.pmr", *other)};
        QStringList lines;
        AnswerList(QDialog::Accepted, lines);
        window_->findChild<QAction*>("CompareWith1")->trigger();
        // Other forms' store passes may have written fields the file does not hold; the two
        // header fields changed by hand are listed with both values.
        QVERIFY(lines.contains("Radio Type |  | Radio Mode | PMR Radio | Multi Mode Radio"));
        QVERIFY(lines.contains("Radio Type |  | Accessory | None | OEM Mic"));
    }

    // Channels are named by number and name and matched by number; the form list shows one
    // form's fields, and the values the program computes only when asked for.
    void compareNamesChannelsAndFiltersByForm() {
        const auto demo = ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "sim/data/demo.pmr",
                                        PmrJobImage::kSize);
        QVERIFY(demo && demo->size() == PmrJobImage::kSize);
        auto job = std::make_unique<PmrJobImage>();
        job->Write(0, *demo);
        OpenPmr(*job);
        // A first comparison runs the store pass, so that the image is the job as stored.
        dialogs_.openAnswers = {WriteJob("Jobs/first.pmr", *job)};
        QStringList ignored;
        AnswerList(QDialog::Accepted, ignored);
        window_->CompareWith1Click();
        auto other = std::make_unique<PmrJobImage>(ws_->pmr);
        other->SetU16(118, 3);                      // accessory: OEM Mic
        const std::size_t third = 0x3D2C + 2 * 32;  // the third entry of the channel table
        other->SetText(third + 12, 12, "RENAMED");
        other->SetU8(third + 24, other->U8(third + 24) ^ 0x01);  // its link to the next entry
        const int number = static_cast<int>(std::get<std::int64_t>(
            fields::ReadField(pmr::channel_rows::kNumber, ws_->pmr.Bytes(), third + 10)));
        const QString name =
            QString::fromStdString(std::get<std::string>(fields::ReadField(
                                       pmr::channel_rows::kName, ws_->pmr.Bytes(), third + 12)))
                .trimmed();
        dialogs_.openAnswers = {WriteJob("Jobs/other.pmr", *other)};
        QStringList all;
        QStringList radioType;
        QStringList withDerived;
        dialogs_.modal.push_back([&](QDialog& dialog) {
            auto& compare = dynamic_cast<TForm_CMP_Compare&>(dialog);
            all = compare.ShownRows();
            compare.Combo_CMP_Form.setCurrentText("Radio Type");
            radioType = compare.ShownRows();
            compare.Combo_CMP_Form.setCurrentIndex(0);
            compare.CBox_CMP_Derived.setChecked(true);
            withDerived = compare.ShownRows();
            compare.show();
            KeepPicture(compare, "compare_with");
            return static_cast<int>(QDialog::Accepted);
        });
        window_->CompareWith1Click();
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        const QString entry = QString("Channel %1 %2").arg(number, 3, 10, QChar('0')).arg(name);
        QCOMPARE(all,
                 (QStringList{"Radio Type |  | Accessory | None | OEM Mic",
                              "Channel Options | " + entry + " | Name | " + name + " | RENAMED"}));
        QCOMPARE(radioType, (QStringList{"Radio Type |  | Accessory | None | OEM Mic"}));
        QCOMPARE(withDerived.size(), 3);
        QVERIFY(withDerived[2].startsWith("Channel Options | " + entry + " | Next visible entry"));
    }

    void compareRefusesAJobOfAnotherKind() {
        auto job = OddJob();
        OpenPmr(*job);
        TrunkJobImage trunkJob;
        const QString path = dir_->File("Jobs/t.tnk");
        WriteFileAtomically(path.toStdString(), trunkJob.Bytes());
        dialogs_.openAnswers = {path};
        window_->findChild<QAction*>("CompareWith1")->trigger();
        QCOMPARE(person_.Texts(), std::vector<std::string>{kCompareOtherKind});
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
    }
};

QTEST_MAIN(JobChecksTest)
#include "JobChecksTest.moc"
