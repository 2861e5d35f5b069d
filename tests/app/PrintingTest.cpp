// File > Print, Print to PDF and Print Preview of the form on show: the Channel Options form's
// channel page prints the channel table as a report, its other pages print the form's picture.
// The scripted print dialog sends the printer's pages into a PDF file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <memory>

#include "Printing.h"
#include "ShellFixtures.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/Scl2Form.h"
#include "forms/pmr/SclForm.h"
#include "forms/trunk/IdForm.h"
#include "tables/Tables.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

class NullShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId) override {}
    void ReloadForm(FormId) override {}
};

constexpr const char* kCaption = "Configuration Programmer";

// Keeps a copy of a printed PDF when KM_SCREENSHOTS names a folder, for looking at the pages.
void KeepCopy(const QString& path) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QFile::copy(path, QDir(folder).filePath(QFileInfo(path).fileName()));
    }
}

int PageCount(const QString& path) {
    KeepCopy(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int pages = 0;
    for (auto match = page.globalMatch(QString::fromLatin1(file.readAll())); match.hasNext();
         match.next()) {
        ++pages;
    }
    return pages;
}

struct Desk {
    Desk() {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        pmr::ChannelTable table;
        for (int n = 1; n <= 3; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 12500LL * n);
            entry.SetNumber(n);
            table.Add(entry);
        }
        testing::ScriptedPerson quiet;
        pmr::StoreChannelTable(table, {.radioTypeMask = 16}, workspace->pmr, quiet);
        form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(900, 560);
        form->LoadPass();
        form->show();
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The next modal dialog is the print dialog: `check` looks at it, its pages go to `pdf`.
    void ScriptPrintDialog(const QString& pdf, int copies,
                           std::function<void(QPrintDialog&)> check = {}) {
        dialogs.modal.push_back([pdf, copies, check](QDialog& dialog) {
            auto& print = dynamic_cast<QPrintDialog&>(dialog);
            if (check) {
                check(print);
            }
            print.printer()->setOutputFormat(QPrinter::PdfFormat);
            print.printer()->setOutputFileName(pdf);
            print.printer()->setCopyCount(copies);
            print.printer()->setCollateCopies(false);
            return static_cast<int>(QDialog::Accepted);
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
    std::unique_ptr<TCHN_Form_Channels> form;
    FormPrinter printer{nullptr, dialogs, person};
};

TEST(PrintingTest, TheChannelPagePrintsTheChannelReportWithItsCopiesAndNoCompletedBox) {
    Desk desk;
    const auto report = ShownReport(*desk.form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->title, "PMR Channel Table");
    EXPECT_EQ(report->rows.size(), 3U);

    desk.ScriptPrintDialog(desk.Path("report.pdf"), 2, [](QPrintDialog& dialog) {
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    });
    desk.printer.Print(*desk.form, kCaption);
    // One page, printed twice by the program itself; the printer is left with its two copies.
    EXPECT_EQ(PageCount(desk.Path("report.pdf")), 2);
    EXPECT_EQ(desk.printer.Printer().copyCount(), 2);
    EXPECT_EQ(desk.printer.Printer().docName(), "PMR Channel Table");
    EXPECT_TRUE(desk.person.shown.empty());
    EXPECT_FALSE(desk.printer.Printing());
}

TEST(PrintingTest, TheIdentitiesPhonebookPagePrintsTheTrunkPhonebookReport) {
    auto workspace = std::make_unique<Workspace>();
    MainState state;
    state.ImageKind = kImageTrunk;
    state.TrunkJobLoaded = true;
    state.UserLevelMask = 8;
    tables::FillTemplateDefaults(fields::ImageId::Trunk, workspace->trunk.Bytes());
    Phonebook book = LoadPhonebook(workspace->trunk.Bytes());
    book[4].name = "Depot";
    book[4].number = "1234";
    StorePhonebook(workspace->trunk.Bytes(), book);
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
    TForm_ID_Identities form(FormContext{*workspace, state, person, dialogs, shell});
    form.LoadPass();
    EXPECT_FALSE(ShownReport(form));
    form.Page_ID_Identities.setCurrentWidget(&form.Tab_PBK_Phonebook);
    const auto report = ShownReport(form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->rows.size(), 1U);
}

// A PMR job's selcall forms: what the scripted test desk of the channel form holds, without it.
struct SelcallDesk {
    SelcallDesk() {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
    }
    FormContext Context() { return {*workspace, state, person, dialogs, shell}; }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
};

TEST(PrintingTest, TheSelcallPhonebookPagePrintsTheFilledEntriesAsTheGridShowsThem) {
    SelcallDesk desk;
    TSCL_Form_Selcall form(desk.Context());
    form.LoadPass();
    auto rows = form.PhoneBookRows();
    ASSERT_GT(rows.size(), 200U);
    // The grid and the report number the entries alike, from 0.
    rows[5] = {"Depot", "12345"};
    rows[80] = {"", "777"};
    rows[200] = {"Base", ""};
    form.ShowPhoneBookRows(rows);  // shown, not yet stored: the report prints what is on show

    EXPECT_FALSE(ShownReport(form));
    form.SCL_Page_Selcall.setCurrentWidget(&form.Tab_SCL_PhoneBook);
    ASSERT_EQ(form.SCL_Page_Selcall.currentIndex(), 3);
    const auto report = ShownReport(form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->title, "Phonebook Table");
    ASSERT_EQ(report->rows.size(), 3U);
    EXPECT_EQ(report->rows[0].substr(0, 4), "5   ");
    EXPECT_EQ(report->rows[1].substr(0, 4), "80  ");
    EXPECT_EQ(report->rows[2].substr(0, 4), "200 ");
    EXPECT_NE(report->rows[0].find("Depot"), std::string::npos);
}

TEST(PrintingTest, TheEncodeDecodeFormPrintsDecodesOnItsFirstPageAndEncodesOnItsSecond) {
    SelcallDesk desk;
    TSCL2_Form_Selcall form(desk.Context());
    form.LoadPass();
    ASSERT_FALSE(form.Decodes().empty());
    struct Case {
        QWidget* page;
        std::string title;
        std::size_t rows;
    };
    const Case cases[] = {
        {&form.DCO_Tab_Decode, "PMR Selcall Decodes Table", form.Decodes().size()},
        {&form.ENC_Tab_Encode, "PMR Selcall Encodes Table", form.Encodes().size()},
    };
    for (const Case& c : cases) {
        form.SCL2_Page_Selcall.setCurrentWidget(c.page);
        const auto report = ShownReport(form);
        ASSERT_TRUE(report) << c.title;
        EXPECT_EQ(report->title, c.title);
        EXPECT_EQ(report->rows.size(), c.rows);
    }
    EXPECT_EQ(form.SCL2_Page_Selcall.indexOf(&form.DCO_Tab_Decode), 0);
}

TEST(PrintingTest, PaperThatTakesNoRowOfTheReportGivesTheErrorAndPrintsNothing) {
    Desk desk;
    const QString pdf = desk.Path("tiny.pdf");
    desk.dialogs.modal.push_back([pdf](QDialog& dialog) {
        QPrinter& printer = *dynamic_cast<QPrintDialog&>(dialog).printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QSizeF(30, 12), QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        return static_cast<int>(QDialog::Accepted);
    });
    desk.printer.Print(*desk.form, kCaption);
    EXPECT_EQ(desk.person.Texts(), std::vector<std::string>{"User abort or other error!"});
    EXPECT_LE(PageCount(pdf), 1);  // at most the empty page an aborted document leaves
    EXPECT_FALSE(desk.printer.Printing());
}

TEST(PrintingTest, AnotherPagePrintsThePictureOfOnePageAndSaysPrintingCompleted) {
    Desk desk;
    desk.form->Page_CHN_Channels.setCurrentIndex(1);
    EXPECT_FALSE(ShownReport(*desk.form));
    desk.ScriptPrintDialog(desk.Path("picture.pdf"), 1, [](QPrintDialog& dialog) {
        EXPECT_EQ(dialog.minPage(), 1);
        EXPECT_EQ(dialog.maxPage(), 1);
        EXPECT_EQ(dialog.fromPage(), 1);
        EXPECT_EQ(dialog.toPage(), 1);
    });
    desk.printer.Print(*desk.form, kCaption);
    EXPECT_EQ(PageCount(desk.Path("picture.pdf")), 1);
    EXPECT_EQ(desk.person.Texts(), std::vector<std::string>{"Printing Completed!"});
}

TEST(PrintingTest, ACancelledDialogPrintsNothing) {
    Desk desk;
    desk.dialogs.modal.push_back([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    desk.printer.Print(*desk.form, kCaption);
    desk.dialogs.saveAnswers.push_back(std::nullopt);
    desk.printer.PrintToPdf(*desk.form, kCaption);
    EXPECT_TRUE(desk.person.shown.empty());
    EXPECT_TRUE(QDir(desk.dir.path()).isEmpty());
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
}

TEST(PrintingTest, PrintWhileAPrintJobRunsSaysAlreadyPrintingAndPrintsNothing) {
    Desk desk;
    desk.dialogs.modal.push_back([&desk](QDialog&) {
        desk.printer.Print(*desk.form, kCaption);  // pressed while the preview is up
        return static_cast<int>(QDialog::Accepted);
    });
    desk.printer.Preview(*desk.form, kCaption);
    EXPECT_EQ(desk.person.Texts(),
              std::vector<std::string>{"Already printing... Please try again later!"});
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);  // no print dialog was opened
    EXPECT_FALSE(desk.printer.Printing());
}

TEST(PrintingTest, PrintToPdfWritesTheFileWholeOrSaysTheError) {
    Desk desk;
    desk.dialogs.saveAnswers.push_back(desk.Path("channels.pdf"));
    desk.printer.PrintToPdf(*desk.form, kCaption);
    EXPECT_EQ(PageCount(desk.Path("channels.pdf")), 1);
    ASSERT_FALSE(desk.dialogs.requests.empty());
    EXPECT_EQ(desk.dialogs.requests.back().dialog, FileDialogId::PrintPdf);
    // It says where the file went.
    EXPECT_EQ(desk.person.Texts(),
              std::vector<std::string>{
                  "The PDF file was written:\n" +
                  QDir::toNativeSeparators(desk.Path("channels.pdf")).toStdString()});
    desk.person.shown.clear();

    desk.dialogs.saveAnswers.push_back(desk.Path("no/such/folder/channels.pdf"));
    desk.printer.PrintToPdf(*desk.form, kCaption);
    EXPECT_EQ(desk.person.Texts(), std::vector<std::string>{"User abort or other error!"});
}

// The PDF is proposed in the job folder, named after the job and what is printed.
TEST(PrintingTest, PrintToPdfProposesTheJobsNameAndTheReportInTheJobFolder) {
    Desk desk;
    desk.printer.SetJob([&desk] {
        return PrintedJob{desk.Path("Jobs/depot.pmr"), desk.Path("Jobs")};
    });
    desk.dialogs.saveAnswers.push_back(std::nullopt);
    desk.printer.PrintToPdf(*desk.form, kCaption);
    ASSERT_EQ(desk.dialogs.requests.size(), 1U);
    EXPECT_EQ(desk.dialogs.requests[0].folder, desk.Path("Jobs"));
    EXPECT_EQ(desk.dialogs.requests[0].proposedName, QString("depot - PMR Channel Table.pdf"));
    // A form picture is named after the form; a job never saved is "Job".
    EXPECT_EQ(ProposedPdfName("", "Channel Options"), QString("Job - Channel Options.pdf"));
    EXPECT_EQ(ProposedPdfName("/x/a.b.pmr", "Radio: Type?"), QString("a.b - Radio_ Type_.pdf"));
}

// A form wider than tall is printed on a landscape page, so that it fills the page.
TEST(PrintingTest, AWideFormIsPrintedAcrossALandscapePage) {
    Desk desk;
    desk.form->Page_CHN_Channels.setCurrentIndex(1);
    desk.form->resize(900, 500);
    desk.dialogs.saveAnswers.push_back(desk.Path("wide.pdf"));
    desk.printer.PrintToPdf(*desk.form, kCaption);
    QFile file(desk.Path("wide.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)"));
    const auto match = box.match(QString::fromLatin1(file.readAll()));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_GT(match.captured(1).toDouble(), match.captured(2).toDouble());
}

TEST(PrintingTest, PreviewOpensAtMostOfTheScreen) {
    Desk desk;
    QSize shown;
    bool fitsWidth = false;
    desk.dialogs.modal.push_back([&shown, &fitsWidth](QDialog& dialog) {
        shown = dialog.size();
        // The page fills the window's width, so the report reads at its size.
        const auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        fitsWidth = preview != nullptr && preview->zoomMode() == QPrintPreviewWidget::FitToWidth;
        dialog.show();
        testing::KeepPicture(dialog, "print_preview");
        return static_cast<int>(QDialog::Accepted);
    });
    desk.printer.Preview(*desk.form, kCaption);
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_GE(shown.width(), screen.width() * 3 / 4);
    EXPECT_GE(shown.height(), screen.height() * 3 / 4);
    EXPECT_TRUE(fitsWidth);
}

}  // namespace
}  // namespace km
