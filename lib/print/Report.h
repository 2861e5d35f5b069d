#pragma once
// A printed report as text: a title (the printer's document title), two header lines, a dashed
// line and one row per entry, set in a fixed-pitch font. Every page repeats the header: line 0
// holds a single blank, lines 1 and 2 the header, line 3 the dashes, and the rows follow from
// line 4. A report with a footer ends every page with it on the page's last line (the line after
// the last row a full page holds): the job's file name and the date, and "Page n of m" at the
// right end of the dashed line. The page geometry comes from the device the report is printed on;
// everything else is decided here so that a printer, a PDF and a preview show the same pages.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace km::print {

struct Report {
    std::string title;
    std::string header1;
    std::string header2;
    std::size_t dashes = 0;
    std::vector<std::string> rows;  // UTF-8
    std::string footer;             // the job's file name and the date; empty: no footer
};

// "Page 2 of 5".
std::string PageNumberText(std::size_t page, std::size_t pages);
// The footer line of page `page` (from 1) of `pages`: the footer text, blanks, and the page
// number ending under the end of the dashed line (or two blanks after the text when it is longer).
std::string FooterLine(const Report& report, std::size_t page, std::size_t pages);

using Page = std::vector<std::string>;  // the lines of one page, from line 0

// Lines a page gives the header before its first row, and the lines a page needs beyond its rows.
inline constexpr int kHeaderLines = 4;
inline constexpr int kReservedLines = 5;

// Rows a page holds when `pageHeight` takes lines of `lineHeight` (both in device units): the
// lines that fit less five, at least one. Nullopt when not even the header and one row fit (or a
// line has no height), which the printing commands report as an error.
std::optional<int> RowsPerPage(int pageHeight, int lineHeight);

// The report in pages of `rowsPerPage` rows (at least 1); a report without rows is one page of
// its header.
std::vector<Page> Paginate(const Report& report, int rowsPerPage);

// The pages to print, in order, for `copies` copies: with `collate` the whole report once per
// copy, otherwise every page `copies` times in a row. Fewer than one copy prints one.
std::vector<std::size_t> PrintOrder(std::size_t pageCount, int copies, bool collate);

}  // namespace km::print
