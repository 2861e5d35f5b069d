#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "PrintCommand.h"
#include "ReportPainter.h"
#include "config/Phonebook.h"
#include "core/Files.h"
#include "image/Images.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "cli_print_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Pages of a PDF file: one "/Type /Page" object each (the page tree is "/Type /Pages").
int PageCount(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int pages = 0;
    for (auto match = page.globalMatch(QString::fromLatin1(pdf)); match.hasNext(); match.next()) {
        ++pages;
    }
    return pages;
}

class PrintCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(dir_.isValid());
        TrunkJobImage trunk;
        Phonebook book(250);
        book[30] = {"1234", "Workshop"};
        StorePhonebook(trunk.Bytes(), book);
        ASSERT_TRUE(WriteFileAtomically(Path("job.tnk"), trunk.Bytes()));
        ASSERT_TRUE(WriteFileAtomically(Path("job.pmr"), PmrJobImage().Bytes()));
    }

    fs::path Path(const std::string& name) const {
        return fs::path(dir_.path().toStdString()) / name;
    }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "print");
        out_.str({});
        err_.str({});
        return PrintCommand(args, out_, err_);
    }

    QByteArray Pdf(const std::string& name) const {
        const auto bytes = ReadFileBytes(Path(name), 1 << 24);
        return bytes ? QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                  static_cast<qsizetype>(bytes->size()))
                     : QByteArray();
    }

    QTemporaryDir dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(PrintCommandTest, WritesEachReportAsAPdfWithItsCopies) {
    const std::string job = Path("job.tnk").string();
    ASSERT_EQ(Run({"--report", "trunk-phonebook", job, Path("book.pdf").string()}), 0)
        << err_.str();
    const QByteArray pdf = Pdf("book.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(PageCount(pdf), 1);

    ASSERT_EQ(
        Run({"--report", "trunk-phonebook", "--copies", "3", job, Path("three.pdf").string()}), 0);
    EXPECT_EQ(PageCount(Pdf("three.pdf")), 3);
    // The trunk phone book goes by csv's name for it as well.
    ASSERT_EQ(Run({"--report", "phonebook", job, Path("same.pdf").string()}), 0) << err_.str();
    EXPECT_EQ(PageCount(Pdf("same.pdf")), 1);

    ASSERT_EQ(Run({"--report", "channels", Path("job.pmr").string(), Path("chn.pdf").string(),
                   "--collate", "--copies", "2"}),
              0);
    EXPECT_EQ(PageCount(Pdf("chn.pdf")), 2);
}

TEST_F(PrintCommandTest, WrongArgumentsGiveTwoAndAFileThatCannotBeWrittenThree) {
    const std::string tnk = Path("job.tnk").string();
    const std::string pdf = Path("out.pdf").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {{tnk, pdf}, 2},
        {{"--report", "nonsense", tnk, pdf}, 2},
        {{"--report", "channels", tnk, pdf}, 2},  // a trunk job has no channel table
        {{"--report", "trunk-phonebook", tnk}, 2},
        {{"--report", "trunk-phonebook", tnk, pdf, "--copies", "0"}, 2},
        {{"--report", "trunk-phonebook", tnk, pdf, "--copies", "2x"}, 2},
        {{"--report", "trunk-phonebook", tnk, pdf, "--staple"}, 2},
        {{"--report", "trunk-phonebook", Path("missing.tnk").string(), pdf}, 2},
        {{"--report", "trunk-phonebook", tnk, Path("no/such/folder/out.pdf").string()}, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), c.exitCode) << c.args.back();
        EXPECT_FALSE(err_.str().empty());
    }
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out_.str().find("--report NAME"), std::string::npos);
}

// The rows a page of `writer` takes, as the painter works them out.
int RowsOn(QPdfWriter& writer) {
    const QFontMetrics metrics(QFont(print::ReportFont(), &writer));
    return print::RowsPerPage(writer.height(), metrics.height()).value_or(-1);
}

print::Report ReportOf(int rows) {
    print::Report report{.title = "T", .header1 = "one", .header2 = "two", .dashes = 60};
    for (int r = 0; r < rows; ++r) {
        report.rows.push_back(std::to_string(r));
    }
    return report;
}

int PagesPainted(const print::Report& report, int copies, bool collate, int* rowsPerPage) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    *rowsPerPage = RowsOn(writer);
    EXPECT_EQ(print::PaintReport(report, writer, copies, collate), print::PaintResult::Done);
    return PageCount(buffer.data());
}

TEST(ReportPainterTest, RRowsFillOnePageAndRPlusOneTwoWithCopiesPerPageOrCollated) {
    EnsureApplication();
    int rows = 0;
    PagesPainted(ReportOf(1), 1, false, &rows);
    ASSERT_GT(rows, 10);
    EXPECT_EQ(PagesPainted(ReportOf(rows), 1, false, &rows), 1);
    EXPECT_EQ(PagesPainted(ReportOf(rows + 1), 1, false, &rows), 2);
    EXPECT_EQ(PagesPainted(ReportOf(rows + 1), 2, false, &rows), 4);
    EXPECT_EQ(PagesPainted(ReportOf(rows + 1), 2, true, &rows), 4);
}

TEST(ReportPainterTest, APageThatTakesNoRowIsRefusedAndCancellingStops) {
    EnsureApplication();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter tiny(&buffer);
    tiny.setPageSize(QPageSize(QSizeF(20, 10), QPageSize::Millimeter));
    tiny.setPageMargins(QMarginsF(0, 0, 0, 0));
    EXPECT_EQ(print::PaintReport(ReportOf(3), tiny, 1, false), print::PaintResult::NoRowFits);

    QBuffer other;
    other.open(QIODevice::WriteOnly);
    QPdfWriter writer(&other);
    int asked = 0;
    EXPECT_EQ(print::PaintReport(ReportOf(1), writer, 3, false,
                                 [&](int printed, int total) {
                                     ++asked;
                                     EXPECT_EQ(total, 3);
                                     return printed < 1;
                                 }),
              print::PaintResult::Cancelled);
    EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace km::cli
