#pragma once
// A report drawn on a paged device: a printer, a PDF writer or a preview page. The rows a page
// holds follow from the device's page height and the font's line height; the pages and their
// order come from lib/print.

#include <QFont>
#include <functional>

#include "print/Report.h"

class QPagedPaintDevice;

namespace km::print {

// The reports' fixed-pitch font: "Courier New" at 8 points, or the monospace font that stands in
// for it.
QFont ReportFont();

enum class PaintResult {
    Done,
    NoRowFits,  // the page does not even take the header and one row
    Failed,     // the device refused to start the document or a page
    Cancelled,  // `keepGoing` said no
};

// Asked before each printed page with the number of pages printed so far and the total; false
// stops the document.
using KeepGoing = std::function<bool(int printed, int total)>;

// Draws `report` on `device`, `copies` times as PrintOrder lays them out. The caller aborts the
// device's document (QPrinter::abort) on any result but Done.
PaintResult PaintReport(const Report& report, QPagedPaintDevice& device, int copies, bool collate,
                        const KeepGoing& keepGoing = {});

}  // namespace km::print
