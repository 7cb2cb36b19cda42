// Where a composed report page goes. The program uses SystemOutput: the system's default printer
// when there is one and it takes the page, otherwise a PDF file in the user's documents folder,
// so a report is never silently lost. Tests put a stand-in printer behind the same interface.
#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <string>

class QPainter;

namespace voltaro::report {

// What became of a page.
struct Delivery {
    enum class Kind { Printed, SavedAsPdf, Failed };
    Kind kind = Kind::Failed;
    QString file;        // SavedAsPdf: the PDF written, as a full path
    std::string reason;  // Failed: why; SavedAsPdf: why the printer was passed over (may be empty)
};

// Draws one page on a painter that is active on the output's device.
using DrawPage = std::function<void(QPainter&)>;

class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    // Sends one portrait page drawn by `draw`; never throws for an output that cannot be used.
    virtual Delivery send(const DrawPage& draw) = 0;
};

// Names the PDF file a report goes to, instead of any printer (for tests and scripts).
inline constexpr const char* kReportPdfVariable = "VOLTARO_REPORT_PDF";

// "Voltaro 2026-12-07 14.05.09.pdf" for that local time: printing twice keeps both.
QString pdfFileName(const QDateTime& when);

class SystemOutput final : public ReportOutput {
public:
    struct Places {
        bool printer = true;  // try the system's default printer first
        QString pdfFile;      // when set, the PDF is written exactly here (replacing that file)
        QString pdfFolder;    // otherwise into this folder under pdfFileName()
    };
    // VOLTARO_REPORT_PDF, when set and not empty: that file and no printer. Otherwise the default
    // printer, then the documents folder of the XDG user dirs, or the home folder when that folder
    // does not exist.
    static Places placesFromEnvironment();

    // `places` is asked on every page, so a documents folder made while the program runs is used.
    explicit SystemOutput(std::function<Places()> places = &placesFromEnvironment,
                          std::function<QDateTime()> clock = &QDateTime::currentDateTime);

    // The default printer; when there is none or it fails, the PDF. A PDF is written to a
    // temporary beside its name and renamed into place only when complete, so a failure leaves no
    // half-written file.
    Delivery send(const DrawPage& draw) override;

private:
    std::function<Places()> places_;
    std::function<QDateTime()> clock_;
};

// The page of a report saved as PDF: portrait, Letter (A4 where the locale measures in metric
// units), drawn from the paper's corner.
QPageLayout pdfPageLayout();

// Writes the page as a one-page PDF of that layout to `file`: SavedAsPdf, or Failed with the
// reason, `file` then being as it was.
Delivery writePdf(const DrawPage& draw, const QString& file, const QPageLayout& layout);

}  // namespace voltaro::report
