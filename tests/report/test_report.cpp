// The printed report. The page is read back from its PDF with poppler's pdftotext and pdffonts:
// log line k at x 1 in, y 2.5 + 0.15 k in (empty lines keep their gap), the header texts at their
// places, nothing past the 7.5 in edge, one portrait page, the Liberation faces embedded. The
// print command: what the display says for a printed page, a PDF and a failure, the sound and the
// pointer, when it does nothing, and where the page goes by default.
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sstream>

#include "assets/resource_names.h"
#include "calc/common/footnotes.h"
#include "report/page.h"
#include "report/print_command.h"
#include "shell/skin.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::report;
namespace fs = std::filesystem;

namespace {

constexpr double kTolerance = 0.02;  // inches
const QDateTime kNow(QDate(2026, 12, 7), QTime(14, 5, 9));

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed (is poppler-utils installed?)", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    QString text;
    double x, y, right;  // inches from the page's top-left corner; y is the top of the text
};

// The words of a PDF, with its count of pages and the size of its last (inches).
QList<Word> wordsOf(const QString& pdf, int& pages, QSizeF& size) {
    const QString xhtml = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"});
    static const QRegularExpression page(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    for (auto m = page.globalMatch(xhtml); m.hasNext(); ++pages) {
        const auto match = m.next();
        size = {match.captured(1).toDouble() / 72, match.captured(2).toDouble() / 72};
    }
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">(.*?)</word>)re"));
    QList<Word> words;
    for (auto m = word.globalMatch(xhtml); m.hasNext();) {
        const auto match = m.next();
        QString text = match.captured(4);
        text.replace("&apos;", "'").replace("&quot;", "\"").replace("&lt;", "<");
        text.replace("&gt;", ">").replace("&amp;", "&");
        words.append({text, match.captured(1).toDouble() / 72, match.captured(2).toDouble() / 72,
                      match.captured(3).toDouble() / 72});
    }
    return words;
}

// The text of the words whose tops lie within `tolerance` of y and that start in [x, x + span),
// and where the first of them starts (-1 when there is none).
QString lineAt(const QList<Word>& words, double x, double y, double* start, double span = 10,
               double tolerance = kTolerance) {
    QStringList texts;
    *start = -1;
    for (const Word& w : words) {
        if (std::abs(w.y - y) > tolerance || w.x < x - kTolerance || w.x >= x + span) continue;
        if (texts.isEmpty()) *start = w.x;
        texts << w.text;
    }
    return texts.join(' ');
}

// A printer that prints onto an image at 100 dots per inch and keeps every page.
class StandInPrinter final : public ReportOutput {
public:
    QList<QImage> pages;
    Delivery send(const DrawPage& draw) override {
        QImage page(850, 1100, QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        QPainter painter(&page);
        draw(painter);
        pages.append(page);
        return {Delivery::Kind::Printed, {}, {}};
    }
};

// Sets an environment variable (unsets it for a null value) and puts it back when destroyed.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvironmentGuard() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

}  // namespace

class TestReport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    shell::SharedState state_;
    QStringList sounds_;
    QList<bool> pointer_;
    std::ostringstream errors_;
    StandInPrinter printer_;

    fs::path folder() const { return dir_->path().toStdString(); }
    QString documents() const { return dir_->filePath("Documents"); }

    PrintCommand command(ReportOutput& output) {
        PrintCommand::Hooks hooks;
        hooks.playSound = [this](const char* sound) { sounds_ << sound; };
        hooks.showBusy = [this](bool busy) { pointer_ << busy; };
        hooks.today = [] { return kNow.date(); };
        hooks.errors = &errors_;
        return PrintCommand(state_, output, shell::skinBitmap(assets::program::kPRNLOGO), hooks);
    }
    // No printer; PDFs go into `pdfFolder` named for kNow.
    SystemOutput pdfOutput(const QString& pdfFolder) {
        return SystemOutput(
            [=] {
                return SystemOutput::Places{false, {}, pdfFolder};
            },
            [] { return kNow; });
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QDir(dir_->path()).mkdir("Documents");
        state_ = {};
        state_.ResultsPath = folder() / "~qxrslt.dat";
        std::ofstream(state_.ResultsPath, std::ios::binary)
            << testing::golden("starter-20a-480v.log").constData();
        state_.PanelBusy = false;
        state_.ResultsReady = true;
        state_.OptionFlags[shell::kButtonSounds] = true;
        state_.DisplayText = "Use Size 2 Starter\r\n";
        sounds_.clear();
        pointer_.clear();
        errors_.str({});
        printer_.pages.clear();
    }
    void cleanup() { dir_.reset(); }

    void pageShowsTheLogUnderTheHeader_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::newRow("transformer") << testing::golden("transformer-75kva-480v-three.log");
        const QByteArray wire = testing::golden("wire-40a-thhn-6-at-40c.log");
        QTest::newRow("wire with a note") << wire;
        // Every footnote there is under the wire result: each fits the page, word for word.
        QByteArray everyNote = wire.left(wire.indexOf("Notes:\r\n") + 8);
        testing::CoreFixture core;
        for (int n = 1; n <= 12; ++n)
            everyNote += QByteArray::fromStdString(calc::FootNoteText(core.db(), n)) + "\r\n";
        QTest::newRow("wire with every note") << everyNote;
    }
    void pageShowsTheLogUnderTheHeader() {
        QFETCH(QByteArray, log);
        std::ofstream(state_.ResultsPath, std::ios::binary) << log.constData();
        auto pdf = pdfOutput(documents());
        command(pdf).run();
        const QString file = QDir(documents()).filePath(pdfFileName(kNow));
        int pages = 0;
        QSizeF size;
        const QList<Word> words = wordsOf(file, pages, size);
        QCOMPARE(pages, 1);
        QVERIFY2(size.width() < size.height(), "portrait");

        const QString date = QLocale::system().toString(kNow.date(), QLocale::ShortFormat);
        const QList<std::tuple<QString, double, double>> header = {
            {QString::fromUtf8(kRightsNotice), 1.7, 1.5},
            {kMakerLine, 4.5, 1.5},
            {kTagline, 1.5, 1.9},
            {kDateCaption, 5.5, 1.9},
            {date, 6.7, 1.9}};
        double start = 0;
        for (const auto& [text, x, y] : header) {
            QVERIFY2(lineAt(words, x, y, &start, 2.9).startsWith(text), qPrintable(text));
            QVERIFY2(std::abs(start - x) <= kTolerance, qPrintable(text));
        }
        const QStringList lines = splitLogLines(log);
        QVERIFY(lines.count(QString()) >= 4);  // the header's empty lines are among them
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const double y = 2.5 + 0.15 * static_cast<double>(k);
            if (lines[k].isEmpty()) {  // nothing printed, and the step still taken
                QCOMPARE(lineAt(words, 1, y, &start, 10, 0.07), QString());
                continue;
            }
            QCOMPARE(lineAt(words, 1, y, &start), lines[k].simplified());
            QVERIFY2(std::abs(start - 1) <= kTolerance, qPrintable(lines[k]));
        }
        for (const Word& w : words) QVERIFY2(w.right <= 7.5, qPrintable(w.text));

        // Regular serif for the notices, bold serif for the date and the log, sans for the rest,
        // each embedded (pdffonts: the name first, "emb" fifth from the end).
        QStringList faces;
        for (const QString& row : run("pdffonts", {file}).split('\n', Qt::SkipEmptyParts).mid(2)) {
            const QStringList columns = row.simplified().split(' ');
            QCOMPARE(columns[columns.size() - 5], QStringLiteral("yes"));
            faces << columns.first().section('+', -1);  // without a subset tag
        }
        faces.sort();
        QCOMPARE(faces, QStringList({"LiberationSans", "LiberationSerif", "LiberationSerif-Bold"}));
    }

    void logIsReadAsTypedUtf8() {
        QCOMPARE(splitLogLines("Ambient: 20\xc2\xb0\r\nok"),
                 (QStringList{QStringLiteral("Ambient: 20\u00b0"), "ok"}));
    }

    void displayTellsWhatBecameOfThePage_data() {
        QTest::addColumn<QString>("output");  // the stand-in printer, pdf, or a blocked pdf folder
        QTest::addColumn<bool>("autoPrinting");
        QTest::addColumn<bool>("logThere");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("error");  // what the error stream says, in part

        // clang-format off
        QTest::newRow("printed") << "printer" << false << true << "Printing Complete.\r\n" << "";
        QTest::newRow("printed by Auto Print: no sound")
            << "printer" << true << true << "Printing Complete.\r\n" << "";
        QTest::newRow("no printer: saved as PDF, the folder named")
            << "pdf" << false << true << "Saved As PDF:\r\nVoltaro 2026-12-07 14.05.09.pdf\r\nin ~/Documents\r\n"
            << "the report was saved as /";
        QTest::newRow("documents folder cannot be written")
            << "blocked" << false << true << "Printing Failed.\r\n" << "not printed: cannot write ";
        QTest::newRow("results log missing")
            << "printer" << false << false << "Printing Failed.\r\n"
            << "not printed: cannot read the results log ";
        // clang-format on
    }
    void displayTellsWhatBecameOfThePage() {
        QFETCH(QString, output);
        QFETCH(bool, autoPrinting);
        QFETCH(bool, logThere);
        QFETCH(QString, display);
        QFETCH(QString, error);
        // A regular file where a folder should be: no one, root included, can write under it.
        std::ofstream(folder() / "blocker") << "not a folder";
        auto pdf =
            pdfOutput(output == "blocked" ? dir_->filePath("blocker/Documents") : documents());
        if (!logThere) fs::remove(state_.ResultsPath);
        state_.AutoPrinting = autoPrinting;
        const EnvironmentGuard home("HOME", dir_->path().toLocal8Bit());

        command(output == "printer" ? static_cast<ReportOutput&>(printer_) : pdf).run();

        QCOMPARE(QString::fromStdString(state_.DisplayText), display);
        QCOMPARE(sounds_, autoPrinting ? QStringList() : QStringList{"TickLo"});
        QCOMPARE(pointer_, (QList<bool>{true, false}));  // the hourglass, then the normal pointer
        QVERIFY(!state_.AutoPrinting);
        const QString said = QString::fromStdString(errors_.str());
        QVERIFY2(error.isEmpty() ? said.isEmpty() : said.contains(error), qPrintable(said));
        QCOMPARE(printer_.pages.size(), display.contains("Complete") ? 1 : 0);
        QCOMPARE(QDir(documents()).entryList(QDir::Files).size(), output == "pdf" ? 1 : 0);
    }

    void printingTwicePrintsTheSamePageAndKeepsBothPdfs() {
        command(printer_).run();
        command(printer_).run();
        QCOMPARE(printer_.pages.size(), 2);
        QCOMPARE(printer_.pages[0], printer_.pages[1]);
        auto pdf = pdfOutput(documents());
        command(pdf).run();
        command(pdf).run();  // in the same second
        QCOMPARE(QDir(documents()).entryList(QDir::Files),
                 QStringList(
                     {"Voltaro 2026-12-07 14.05.09 (2).pdf", "Voltaro 2026-12-07 14.05.09.pdf"}));
    }

    void doesNothingWhileAPanelIsBusyOrBeforeAResult_data() {
        QTest::addColumn<bool>("panelBusy");
        QTest::addColumn<bool>("resultsReady");
        QTest::addColumn<bool>("autoPrintingAfter");
        // clang-format off
        QTest::newRow("panel busy") << true << true << true;
        QTest::newRow("no result yet: Auto Print ends") << false << false << false;
        // clang-format on
    }
    void doesNothingWhileAPanelIsBusyOrBeforeAResult() {
        QFETCH(bool, panelBusy);
        QFETCH(bool, resultsReady);
        QFETCH(bool, autoPrintingAfter);
        state_.PanelBusy = panelBusy;
        state_.ResultsReady = resultsReady;
        state_.AutoPrinting = true;
        command(printer_).run();
        QCOMPARE(state_.DisplayText, std::string("Use Size 2 Starter\r\n"));
        QVERIFY(sounds_.isEmpty() && pointer_.isEmpty() && printer_.pages.isEmpty());
        QCOMPARE(state_.AutoPrinting, autoPrintingAfter);
    }

    void pdfGoesToTheDocumentsFolderOrHome_data() {
        QTest::addColumn<QString>("documentsDir");  // as user-dirs.dirs names it
        QTest::addColumn<QString>("expected");      // under the temporary folder
        // clang-format off
        QTest::newRow("the documents folder") << "$HOME/../Documents" << "Documents";
        QTest::newRow("home when it is missing") << "$HOME/Papers" << "home";
        // clang-format on
    }
    void pdfGoesToTheDocumentsFolderOrHome() {
        QFETCH(QString, documentsDir);
        QFETCH(QString, expected);
        QDir(dir_->path()).mkdir("home");
        std::ofstream(folder() / "user-dirs.dirs")
            << "XDG_DOCUMENTS_DIR=\"" << documentsDir.toStdString() << "\"\n";
        const EnvironmentGuard home("HOME", dir_->filePath("home").toLocal8Bit());
        const EnvironmentGuard config("XDG_CONFIG_HOME", dir_->path().toLocal8Bit());
        const EnvironmentGuard unset(kReportPdfVariable, "");  // empty counts as unset
        const auto places = SystemOutput::placesFromEnvironment();
        QVERIFY(places.printer && places.pdfFile.isEmpty());
        QCOMPARE(QDir(places.pdfFolder).canonicalPath(),
                 QDir(dir_->filePath(expected)).canonicalPath());

        const EnvironmentGuard named(kReportPdfVariable, "/tmp/page.pdf");
        const auto forTests = SystemOutput::placesFromEnvironment();
        QVERIFY(!forTests.printer);
        QCOMPARE(forTests.pdfFile, QStringLiteral("/tmp/page.pdf"));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
