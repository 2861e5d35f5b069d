#include "ReportPainter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>

namespace km::print {

QFont ReportFont() {
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

PaintResult PaintReport(const Report& report, QPagedPaintDevice& device, int copies, bool collate,
                        const KeepGoing& keepGoing) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return PaintResult::Failed;
    }
    painter.setFont(QFont(ReportFont(), &device));
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.height();
    const auto rowsPerPage = RowsPerPage(device.height(), lineHeight);
    if (!rowsPerPage) {
        painter.end();
        return PaintResult::NoRowFits;
    }
    const std::vector<Page> pages = Paginate(report, *rowsPerPage);
    const std::vector<std::size_t> order = PrintOrder(pages.size(), copies, collate);
    const int total = static_cast<int>(order.size());
    for (int printed = 0; printed < total; ++printed) {
        if (keepGoing && !keepGoing(printed, total)) {
            painter.end();
            return PaintResult::Cancelled;
        }
        if (printed > 0 && !device.newPage()) {
            painter.end();
            return PaintResult::Failed;
        }
        const Page& page = pages[order[static_cast<std::size_t>(printed)]];
        for (std::size_t line = 0; line < page.size(); ++line) {
            const int baseline = static_cast<int>(line) * lineHeight + metrics.ascent();
            painter.drawText(0, baseline, QString::fromStdString(page[line]));
        }
    }
    return painter.end() ? PaintResult::Done : PaintResult::Failed;
}

}  // namespace km::print
