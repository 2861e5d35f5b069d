#include "print/Report.h"

#include <algorithm>

namespace km::print {

std::optional<int> RowsPerPage(int pageHeight, int lineHeight) {
    if (lineHeight <= 0 || pageHeight / lineHeight < kReservedLines) {
        return std::nullopt;
    }
    return std::max(1, pageHeight / lineHeight - kReservedLines);
}

std::string PageNumberText(std::size_t page, std::size_t pages) {
    return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

std::string FooterLine(const Report& report, std::size_t page, std::size_t pages) {
    const std::string number = PageNumberText(page, pages);
    const std::size_t width = std::max(report.dashes, report.footer.size() + 2 + number.size());
    return report.footer + std::string(width - report.footer.size() - number.size(), ' ') + number;
}

std::vector<Page> Paginate(const Report& report, int rowsPerPage) {
    const std::size_t perPage = static_cast<std::size_t>(std::max(1, rowsPerPage));
    const std::size_t pageCount =
        std::max<std::size_t>(1, (report.rows.size() + perPage - 1) / perPage);
    std::vector<Page> pages(pageCount);
    for (std::size_t p = 0; p < pageCount; ++p) {
        Page& page = pages[p];
        page = {" ", report.header1, report.header2, std::string(report.dashes, '-')};
        const std::size_t first = p * perPage;
        const std::size_t last = std::min(report.rows.size(), first + perPage);
        for (std::size_t r = first; r < last; ++r) {
            page.push_back(report.rows[r]);
        }
        if (!report.footer.empty()) {
            page.resize(kHeaderLines + perPage);
            page.push_back(FooterLine(report, p + 1, pageCount));
        }
    }
    return pages;
}

std::vector<std::size_t> PrintOrder(std::size_t pageCount, int copies, bool collate) {
    const std::size_t times = static_cast<std::size_t>(std::max(1, copies));
    std::vector<std::size_t> order;
    order.reserve(pageCount * times);
    if (collate) {
        for (std::size_t c = 0; c < times; ++c) {
            for (std::size_t p = 0; p < pageCount; ++p) {
                order.push_back(p);
            }
        }
        return order;
    }
    for (std::size_t p = 0; p < pageCount; ++p) {
        order.insert(order.end(), times, p);
    }
    return order;
}

}  // namespace km::print
