#include "Printing.h"

#include <QAction>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScreen>
#include <span>

#include "Dialogs.h"
#include "ReportPainter.h"
#include "core/Files.h"
#include "core/Person.h"
#include "forms/ConfigForm.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/Scl2Form.h"
#include "forms/pmr/SclForm.h"
#include "forms/trunk/IdForm.h"
#include "print/Reports.h"

namespace km {

namespace {

constexpr int kPicturePage = 1;

// Clears the printing flag however a print ends.
class PrintingScope {
  public:
    explicit PrintingScope(bool& printing) : printing_(printing) { printing_ = true; }
    ~PrintingScope() { printing_ = false; }
    PrintingScope(const PrintingScope&) = delete;
    PrintingScope& operator=(const PrintingScope&) = delete;

  private:
    bool& printing_;
};

QString PictureHeader(const QString& caption) {
    return caption + QString::fromLatin1(kPageHeaderGap.data(), kPageHeaderGap.size()) +
           QString::number(kPicturePage);
}

// The header in "Courier" 12 at the top left, the picture below it scaled to the rest of the
// page with its proportions kept. A picture wider than tall is printed across a landscape page
// (and a tall one on a portrait page), so that it fills the page rather than half of it.
bool PaintPicture(QPagedPaintDevice& device, const QPixmap& picture, const QString& header) {
    if (!picture.isNull()) {
        device.setPageOrientation(picture.width() > picture.height() ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait);
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    QFont font(QStringLiteral("Courier"), 12);
    font.setStyleHint(QFont::TypeWriter);
    painter.setFont(QFont(font, &device));
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(0, metrics.ascent(), header);
    const int top = 2 * metrics.height();
    const QSize room(device.width(), device.height() - top);
    if (!picture.isNull() && room.height() > 0) {
        const QSize size = picture.size().scaled(room, Qt::KeepAspectRatio);
        painter.drawPixmap(QRect(QPoint((room.width() - size.width()) / 2, top), size), picture);
    }
    return painter.end();
}

// A modal window with Cancel while a report's pages are drawn.
class AbortDialog {
  public:
    AbortDialog(QWidget* parent, const QString& title)
        : dialog_(QStringLiteral("Printing ") + title, QStringLiteral("Cancel"), 0, 1, parent) {
        dialog_.setWindowTitle(QStringLiteral("Printing"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
    }
    print::KeepGoing Callback() {
        return [this](int printed, int total) {
            dialog_.setMaximum(total);
            dialog_.setValue(printed);
            QCoreApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

  private:
    QProgressDialog dialog_;
};

}  // namespace

std::optional<print::Report> ShownReport(ConfigForm& form) {
    if (auto* channels = dynamic_cast<TCHN_Form_Channels*>(&form);
        channels && channels->Page_CHN_Channels.currentIndex() == 0) {
        return print::ChannelReport(channels->Table());
    }
    if (auto* identities = dynamic_cast<TForm_ID_Identities*>(&form);
        identities &&
        identities->Page_ID_Identities.currentWidget() == &identities->Tab_PBK_Phonebook) {
        return print::TrunkPhonebookReport(identities->ShownPhonebook());
    }
    if (auto* selcall = dynamic_cast<TSCL_Form_Selcall*>(&form);
        selcall && selcall->SCL_Page_Selcall.currentWidget() == &selcall->Tab_SCL_PhoneBook) {
        return print::PmrPhonebookReport(selcall->PhoneBookRows());
    }
    if (auto* sequences = dynamic_cast<TSCL2_Form_Selcall*>(&form)) {
        const QWidget* page = sequences->SCL2_Page_Selcall.currentWidget();
        if (page == &sequences->DCO_Tab_Decode) {
            return print::DecodesReport(sequences->Decodes());
        }
        if (page == &sequences->ENC_Tab_Encode) {
            return print::EncodesReport(sequences->Encodes());
        }
    }
    return std::nullopt;
}

QString ProposedPdfName(const QString& jobFileName, const QString& printed) {
    const QString job =
        jobFileName.isEmpty() ? QStringLiteral("Job") : QFileInfo(jobFileName).completeBaseName();
    QString name = job + " - " + printed + ".pdf";
    // Characters a file name cannot hold on some systems.
    static const QRegularExpression kUnsafe(QStringLiteral("[/\\\\:*?\"<>|]"));
    return name.replace(kUnsafe, QStringLiteral("_"));
}

FormPrinter::FormPrinter(QWidget* parent, Dialogs& dialogs, Person& person)
    : parent_(parent), dialogs_(dialogs), person_(person) {}

QPrinter& FormPrinter::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

bool FormPrinter::Busy() {
    if (printing_) {
        person_.Warn(kAlreadyPrintingText);
    }
    return printing_;
}

std::optional<print::Report> FormPrinter::ReportOf(ConfigForm& form) const {
    auto report = ShownReport(form);
    if (report) {
        const QString name = QFileInfo(job_().fileName).fileName();
        report->footer = ((name.isEmpty() ? QString(kJobNotSavedText) : name) + "  " +
                          QDate::currentDate().toString(Qt::ISODate))
                             .toStdString();
    }
    return report;
}

bool FormPrinter::Paint(QPagedPaintDevice& device, ConfigForm& form, const QString& caption,
                        const std::optional<print::Report>& report, int copies, bool collate) {
    if (!report) {
        return PaintPicture(device, form.grab(), PictureHeader(caption));
    }
    AbortDialog abort(parent_, QString::fromStdString(report->title));
    return print::PaintReport(*report, device, copies, collate, abort.Callback()) ==
           print::PaintResult::Done;
}

void FormPrinter::Print(ConfigForm& form, const QString& caption) {
    QPrinter& printer = Printer();
    if (Busy()) {
        return;
    }
    const auto report = ReportOf(form);
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !report);
    if (!report) {
        dialog.setMinMax(kPicturePage, kPicturePage);
        dialog.setFromTo(kPicturePage, kPicturePage);
    }
    if (dialogs_.Exec(dialog) != QDialog::Accepted) {
        return;
    }
    PrintingScope scope(printing_);
    printer.setDocName(report ? QString::fromStdString(report->title) : caption);
    // The copies of a report are drawn here, so the printer must not multiply them again.
    const int copies = printer.copyCount();
    const bool collate = printer.collateCopies();
    if (report) {
        printer.setCopyCount(1);
    }
    const QPageLayout layout = printer.pageLayout();
    const bool printed = Paint(printer, form, caption, report, copies, collate);
    printer.setCopyCount(copies);
    printer.setPageLayout(layout);
    if (!printed) {
        printer.abort();
        person_.Error(kPrintErrorText);
        return;
    }
    if (!report) {
        person_.Inform(kPrintCompletedText);
    }
}

void FormPrinter::PrintToPdf(ConfigForm& form, const QString& caption) {
    QPrinter& printer = Printer();
    if (Busy()) {
        return;
    }
    const auto report = ReportOf(form);
    const PrintedJob job = job_();
    const QString printed = report ? QString::fromStdString(report->title) : form.windowTitle();
    FileDialogRequest request{.dialog = FileDialogId::PrintPdf,
                              .title = QString::fromUtf8(kPdfTitle),
                              .filters = {QStringLiteral("PDF Files (*.pdf)")},
                              .defaultSuffix = QStringLiteral("pdf"),
                              .folder = job.folder,
                              .proposedName = ProposedPdfName(job.fileName, printed)};
    const auto path = dialogs_.SaveFile(request);
    if (!path) {
        return;
    }
    PrintingScope scope(printing_);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool written = false;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(report ? QString::fromStdString(report->title) : caption);
        writer.setPageLayout(printer.pageLayout());
        written = Paint(writer, form, caption, report, 1, false);
    }
    written = written && WriteFileAtomically(
                             path->toStdString(),
                             std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())));
    if (!written) {
        person_.Error(kPrintErrorText);
        return;
    }
    person_.Inform(QString::fromUtf8(kPdfWrittenText)
                       .arg(QDir::toNativeSeparators(QFileInfo(*path).absoluteFilePath()))
                       .toStdString());
}

void FormPrinter::Preview(ConfigForm& form, const QString& caption) {
    QPrinter& printer = Printer();
    if (Busy()) {
        return;
    }
    const auto report = ReportOf(form);
    const QPixmap picture = form.grab();
    // The printer's orientation as the user left it, after a picture turned it.
    const QPageLayout layout = printer.pageLayout();
    QPrintPreviewDialog preview(&printer, parent_);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    // Large enough to read a page: most of the screen.
    if (const QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen()) {
        preview.resize(screen->availableGeometry().size() * 4 / 5);
    }
    // A page as wide as the window: the rows read at their size, not a whole page in miniature.
    if (auto* fitWidth = preview.findChild<QAction*>(QStringLiteral("fitWidthAction"))) {
        fitWidth->trigger();
    }
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter* page) {
        if (report) {
            print::PaintReport(*report, *page, 1, false);
        } else {
            PaintPicture(*page, picture, PictureHeader(caption));
        }
    });
    PrintingScope scope(printing_);
    dialogs_.Exec(preview);
    printer.setPageLayout(layout);
}

void FormPrinter::PrintSetup() {
    QPrinter& printer = Printer();
    QPageSetupDialog dialog(&printer, parent_);
    dialogs_.Exec(dialog);
}

}  // namespace km
