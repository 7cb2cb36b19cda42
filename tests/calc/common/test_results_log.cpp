// The text of the results log: its exact bytes, and footnotes by number.
#include <QTest>

#include "calc/common/footnotes.h"
#include "calc/common/results_log.h"
#include "tests/support/core_fixture.h"

using namespace voltaro;
using calc::StartResultsLog;

namespace {

const char kHeader[] =
    "\r\n1999 NEC Code Year\r\n\r\nVoltaro Results:\r\n\r\n~ Calculate Wire Size ~\r\n\r\n";

}  // namespace

class TestResultsLog : public QObject {
    Q_OBJECT

    testing::CoreFixture core_;

private Q_SLOTS:
    void headerBytes() {
        const auto log = StartResultsLog("~ Calculate Wire Size ~");
        QCOMPARE(log.bytes(), std::string(kHeader));
    }

    void linesEndInCrLfAndMayHoldThem() {
        auto log = StartResultsLog("~ Calculate Wire Size ~");
        log.write("a");
        log.write("\r\n");  // an embedded break: two empty lines
        log.write("b");
        QCOMPARE(log.bytes(), std::string(kHeader) + "a\r\n\r\n\r\nb\r\n");
    }

    void notesInTheOrderGiven() {
        auto& db = core_.db();
        auto log = StartResultsLog("t");
        calc::writeNotes(log, db, {11, 7});
        const std::string expected = StartResultsLog("t").bytes() + "\r\nNotes:\r\n" +
                                     calc::FootNoteText(db, 11) + "\r\n" +
                                     calc::FootNoteText(db, 7) + "\r\n";
        QCOMPARE(log.bytes(), expected);
        auto none = StartResultsLog("t");
        calc::writeNotes(none, db, {});
        QCOMPARE(none.bytes(), StartResultsLog("t").bytes() + "\r\nNotes:\r\n");
    }

    void footNoteText() {
        auto& db = core_.db();
        for (int n = 1; n <= 12; ++n)
            QVERIFY2(!calc::FootNoteText(db, n).empty(), qPrintable(QString::number(n)));
        QVERIFY(calc::FootNoteText(db, 9).rfind("Device rated over 800 A", 0) == 0);
        QCOMPARE(calc::FootNoteText(db, 13), std::string());
        QCOMPARE(calc::FootNoteText(db, 0), std::string());
    }

    void anyNoteFlagged() {
        calc::NoteFlags notes{};
        notes[0] = true;  // never used: not a note
        QVERIFY(!calc::AnyNoteFlagged(notes));
        notes[12] = true;
        QVERIFY(calc::AnyNoteFlagged(notes));
    }
};

QTEST_GUILESS_MAIN(TestResultsLog)
#include "test_results_log.moc"
