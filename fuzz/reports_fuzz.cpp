// Any bytes as a job whose table is printed: one report, laid out in pages of any number of rows
// and copies. Nothing may crash or touch memory outside an image; every row lands on exactly one
// page, under the header, and no page holds more rows than it takes.
//
// Input: rows per page, copies and collation, the report, the number of channels the job says it
// holds (a few, so that one input costs one page or two rather than a thousand channels), then
// the job's bytes (repeated to its size).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ImageFuzzInput.h"
#include "fields/Field.h"
#include "image/Images.h"
#include "print/Report.h"
#include "print/Reports.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckPages(const km::print::Report& report, int rowsPerPage, int copies, bool collate) {
    const std::vector<km::print::Page> pages = km::print::Paginate(report, rowsPerPage);
    std::size_t rows = 0;
    for (const km::print::Page& page : pages) {
        Require(page.size() >= km::print::kHeaderLines);
        Require(page[1] == report.header1 && page[2] == report.header2);
        rows += page.size() - km::print::kHeaderLines;
        Require(page.size() - km::print::kHeaderLines <=
                static_cast<std::size_t>(rowsPerPage < 1 ? 1 : rowsPerPage));
    }
    Require(rows == report.rows.size());
    const auto order = km::print::PrintOrder(pages.size(), copies, collate);
    Require(order.size() == pages.size() * static_cast<std::size_t>(copies < 1 ? 1 : copies));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 4;
    if (size < kHead) {
        return 0;
    }
    const int rowsPerPage = static_cast<std::int8_t>(data[0]);
    const int copies = data[1] % 5;
    const bool collate = (data[1] & 0x80) != 0;
    const auto kinds = km::print::ReportKinds();
    const km::print::ReportKind& kind = kinds[data[2] % kinds.size()];
    const std::size_t imageSize = km::fields::kImageSizes[static_cast<std::size_t>(kind.image)];
    std::vector<std::uint8_t> job = km::fuzzing::Tiled({data + kHead, size - kHead}, imageSize);
    if (kind.image == km::fields::ImageId::Pmr) {
        const std::uint16_t channels = data[3] % 40;
        job[km::pmr::kChannelCount] = static_cast<std::uint8_t>(channels);
        job[km::pmr::kChannelCount + 1] = 0;
    }
    const km::print::Report report = kind.build(job);
    Require(report.title == kind.title);
    Require(report.rows.size() <= 1000);
    CheckPages(report, rowsPerPage, copies, collate);
    return 0;
}
