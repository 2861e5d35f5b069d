#include "PrintCommand.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <charconv>
#include <iostream>
#include <optional>
#include <ostream>

#include "CliCommand.h"
#include "ReportPainter.h"
#include "core/Files.h"
#include "print/Reports.h"
#include "tables/JobDump.h"

namespace km::cli {
namespace {

constexpr int kMostCopies = 99;
constexpr double kMarginMillimetres = 10.0;

struct Parsed {
    std::string report;
    std::vector<std::string> files;
    int copies = 1;
    bool collate = false;
    bool help = false;
    std::string error;
};

std::optional<int> CopiesOf(const std::string& text) {
    int copies = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), copies);
    if (ec != std::errc() || end != text.data() + text.size() || copies < 1 ||
        copies > kMostCopies) {
        return std::nullopt;
    }
    return copies;
}

Parsed Parse(const std::vector<std::string>& args) {
    Parsed parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "--report" || arg == "--copies";
        if (valued && i + 1 >= args.size()) {
            parsed.error = arg + " needs a value";
            return parsed;
        }
        if (arg == "--help") {
            parsed.help = true;
        } else if (arg == "--report") {
            parsed.report = args[++i];
        } else if (arg == "--copies") {
            const auto copies = CopiesOf(args[++i]);
            if (!copies) {
                parsed.error = "--copies takes a number of 1 .. 99";
                return parsed;
            }
            parsed.copies = *copies;
        } else if (arg == "--collate") {
            parsed.collate = true;
        } else if (arg.starts_with("-")) {
            parsed.error = "unknown option " + arg;
            return parsed;
        } else {
            parsed.files.push_back(arg);
        }
    }
    return parsed;
}

int Usage(const std::string& error, std::ostream& err) {
    err << "km700rcp-cli: " << error << "\n\n" << kPrintUsageText;
    return kExitUsage;
}

// The report as the bytes of a PDF file, or nullopt when not even one row fits a page.
std::optional<QByteArray> PdfOf(const print::Report& report, const Parsed& parsed) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(report.title));
    writer.setCreator(QStringLiteral("km700rcp-cli"));
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
    if (print::PaintReport(report, writer, parsed.copies, parsed.collate) !=
        print::PaintResult::Done) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

bool IsPrintCommand(std::string_view command) {
    return command == "print";
}

int PrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Parsed parsed = Parse(args);
    if (parsed.help) {
        out << kPrintUsageText;
        return kExitDone;
    }
    if (!parsed.error.empty()) {
        return Usage(parsed.error, err);
    }
    const print::ReportKind* kind = print::FindReport(parsed.report);
    if (kind == nullptr) {
        return Usage(
            parsed.report.empty() ? "--report is missing" : "no report named " + parsed.report,
            err);
    }
    if (parsed.files.size() != 2) {
        return Usage("print takes JOB and OUT.pdf", err);
    }
    const std::string& jobFile = parsed.files[0];
    const std::string& pdfFile = parsed.files[1];
    auto read = tables::ReadJobBytes(jobFile);
    if (const auto* error = std::get_if<std::string>(&read)) {
        err << "km700rcp-cli: " << *error << "\n";
        return kExitUsage;
    }
    const auto& job = std::get<tables::JobBytes>(read);
    if (job.image != kind->image) {
        err << "km700rcp-cli: " << jobFile << " holds no " << kind->name << " report\n";
        return kExitUsage;
    }
    const auto pdf = PdfOf(kind->build(job.bytes), parsed);
    if (!pdf) {
        err << "km700rcp-cli: not even one row of the report fits a page\n";
        return kExitFailed;
    }
    if (!WriteFileAtomically(pdfFile, std::span(reinterpret_cast<const std::uint8_t*>(pdf->data()),
                                                static_cast<std::size_t>(pdf->size())))) {
        err << "km700rcp-cli: cannot write " << pdfFile << "\n";
        return kExitCannotWrite;
    }
    return kExitDone;
}

int PrintMain(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    return PrintCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

}  // namespace km::cli
