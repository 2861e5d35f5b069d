#pragma once
// File > Print and Print Setup: the form on show printed as a picture under the main window's
// caption, or, while a page that lists one of the job's tables is on show, that table as a text
// report (lib/print). The same pages go to a printer, to a PDF file or into a preview window.
//
// One print job runs at a time. A report is drawn page by page behind an abort dialog whose Cancel
// stops the document; a failure leaves the job as it was and says so.

#include <QPrinter>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "print/Report.h"

class QPagedPaintDevice;
class QWidget;

namespace km {

class ConfigForm;
class Dialogs;
class Person;

inline constexpr std::string_view kAlreadyPrintingText =
    "Already printing... Please try again later!";
inline constexpr std::string_view kPrintErrorText = "User abort or other error!";
inline constexpr std::string_view kPrintCompletedText = "Printing Completed!";

// Between the caption and the page number of a form picture's header.
inline constexpr std::string_view kPageHeaderGap = "                            Page ";

// What the printed pages say of the job, and where a PDF of them is proposed: the job's file name
// (empty while the job has none) and the job folder.
struct PrintedJob {
    QString fileName;
    QString folder;
};

// The footer of a report's pages: the job's file name (or "Job not saved") and the date.
inline constexpr const char* kJobNotSavedText = "Job not saved";
inline constexpr const char* kPdfTitle = "Print to PDF";
inline constexpr const char* kPdfWrittenText = "The PDF file was written:\n%1";
// The name Print to PDF proposes: the job's name, then the report or the form.
QString ProposedPdfName(const QString& jobFileName, const QString& printed);

// The report a form prints instead of its picture while the page that lists its table is on
// show, or nullopt.
std::optional<print::Report> ShownReport(ConfigForm& form);

class FormPrinter {
  public:
    FormPrinter(QWidget* parent, Dialogs& dialogs, Person& person);
    // Where the job's name and folder come from (the main window's state).
    void SetJob(std::function<PrintedJob()> job) { job_ = std::move(job); }

    // File > Print: the print dialog (one page for a form picture), then the pages on the
    // printer. A form picture ends with "Printing Completed!".
    void Print(ConfigForm& form, const QString& caption);
    // The same pages into a PDF file chosen in a save dialog, written whole.
    void PrintToPdf(ConfigForm& form, const QString& caption);
    // The same pages in a preview window, from which they can be printed.
    void Preview(ConfigForm& form, const QString& caption);
    // File > Print Setup: the printer, its paper and margins for the next print.
    void PrintSetup();

    bool Printing() const { return printing_; }
    // The printer, made on first use (it asks the print system for its printers) and kept with
    // what the dialogs set.
    QPrinter& Printer();

  private:
    // Draws the pages on `device`; false when they could not all be drawn (the device's document
    // is then to be aborted).
    bool Paint(QPagedPaintDevice& device, ConfigForm& form, const QString& caption,
               const std::optional<print::Report>& report, int copies, bool collate);
    bool Busy();
    // The report the form prints, with its footer.
    std::optional<print::Report> ReportOf(ConfigForm& form) const;

    QWidget* parent_;
    Dialogs& dialogs_;
    Person& person_;
    std::function<PrintedJob()> job_ = [] { return PrintedJob{}; };
    std::unique_ptr<QPrinter> printer_;
    bool printing_ = false;
};

}  // namespace km
