#include "report/output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/print_queue.h"

namespace voltaro::report {

namespace {

// Dots per inch of the PDF's drawing; the page's positions are in inches, so this only sets how
// finely they are placed.
constexpr int kPdfResolution = 1200;

std::string text(const QString& s) { return s.toLocal8Bit().toStdString(); }

// A name in `folder` that no file has yet: pdfFileName(when), then "... (2).pdf" and so on should
// two reports come in the same second.
QString freePdfPath(const QString& folder, const QDateTime& when) {
    const QDir dir(folder);
    const QString name = pdfFileName(when);
    QString path = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(name.chopped(4) + QStringLiteral(" (%1).pdf").arg(n));
    return path;
}

// The default printer: Printed, or Failed with why it was not (no printer is a failure too). The
// page goes as a PDF on the printer's own paper, drawn from the corner of its printable area, and
// the print queue's answer is heard: a queue that refuses the job is a failed print.
Delivery printOnDefaultPrinter(const DrawPage& draw) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return {Delivery::Kind::Failed, {}, "there is no default printer"};
    const std::string name = text(info.printerName());
    QPageLayout layout = QPrinter(info, QPrinter::HighResolution).pageLayout();
    layout.setOrientation(QPageLayout::Portrait);

    const QTemporaryDir folder;
    if (!folder.isValid())
        return {Delivery::Kind::Failed, {}, "no temporary folder for the print job"};
    const QString file = folder.filePath(QStringLiteral("Voltaro Results.pdf"));
    Delivery drawn = writePdf(draw, file, layout);
    if (drawn.kind != Delivery::Kind::SavedAsPdf) return drawn;
    const auto job =
        platform::printPdf(name, QFile::encodeName(file).toStdString(), "Voltaro Results");
    if (job.id == 0)
        return {Delivery::Kind::Failed,
                {},
                "the printer " + name + " did not take the page (" + job.refusal + ")"};
    return {Delivery::Kind::Printed, {}, {}};
}

}  // namespace

QString pdfFileName(const QDateTime& when) {
    return QStringLiteral("Voltaro ") + when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) +
           QStringLiteral(".pdf");
}

SystemOutput::Places SystemOutput::placesFromEnvironment() {
    Places places;
    const QString file = qEnvironmentVariable(kReportPdfVariable);
    if (!file.isEmpty()) {
        places.printer = false;
        places.pdfFile = file;
        return places;
    }
    places.pdfFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (places.pdfFolder.isEmpty() || !QFileInfo(places.pdfFolder).isDir())
        places.pdfFolder = QDir::homePath();
    return places;
}

SystemOutput::SystemOutput(std::function<Places()> places, std::function<QDateTime()> clock)
    : places_(std::move(places)), clock_(std::move(clock)) {}

Delivery SystemOutput::send(const DrawPage& draw) {
    const Places places = places_();
    std::string passedOver;
    if (places.printer) {
        Delivery printed = printOnDefaultPrinter(draw);
        if (printed.kind == Delivery::Kind::Printed) return printed;
        passedOver = printed.reason;
    }
    const QString file =
        places.pdfFile.isEmpty() ? freePdfPath(places.pdfFolder, clock_()) : places.pdfFile;
    Delivery saved = writePdf(draw, file, pdfPageLayout());
    if (saved.kind == Delivery::Kind::SavedAsPdf) {
        saved.reason = passedOver;
    } else if (!passedOver.empty()) {
        saved.reason = passedOver + "; " + saved.reason;
    }
    return saved;
}

QPageLayout pdfPageLayout() {
    const auto paper = QLocale::system().measurementSystem() == QLocale::MetricSystem
                           ? QPageSize::A4
                           : QPageSize::Letter;
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

Delivery writePdf(const DrawPage& draw, const QString& file, const QPageLayout& layout) {
    const auto failed = [&file](const QString& why) {
        return Delivery{
            Delivery::Kind::Failed, {}, "cannot write " + text(file) + ": " + text(why)};
    };
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return failed(out.errorString());
    {
        QPdfWriter writer(&out);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Voltaro"));
        writer.setTitle(QStringLiteral("Voltaro Results"));
        QPainter painter;
        if (!painter.begin(&writer)) return failed(QStringLiteral("the PDF cannot be started"));
        draw(painter);
        if (!painter.end()) return failed(QStringLiteral("the PDF cannot be finished"));
    }
    if (!out.commit()) return failed(out.errorString());
    return {Delivery::Kind::SavedAsPdf, QFileInfo(file).absoluteFilePath(), {}};
}

}  // namespace voltaro::report
