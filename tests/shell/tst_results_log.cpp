// The results log: its exact bytes, one result at a time, footnotes by number.
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>

#include "tests/support/files.h"
#include "shell/results_log.h"
#include "tests/support/reference_db.h"

using namespace voltaro;

namespace {

const char kHeader[] =
    "\r\n1999 NEC Code Year\r\n\r\nVoltaro Results:\r\n\r\n~ Calculate Wire Size ~\r\n\r\n";

}  // namespace

class TestResultsLog : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::optional<shell::SharedState> state_;

private Q_SLOTS:
    void init() {
        state_ = testing::freshState(testing::appDir() / "Voltaro.dat",
                                     folder_.path().toStdString());
        QVERIFY(state_);
    }

    void headerBytes() {
        const auto log = shell::StartResultsLog("~ Calculate Wire Size ~");
        QCOMPARE(log.bytes(), std::string(kHeader));
    }

    void linesEndInCrLfAndMayHoldThem() {
        auto log = shell::StartResultsLog("~ Calculate Wire Size ~");
        log.write("a");
        log.write("\r\n");  // an embedded break: two empty lines
        log.write("b");
        QCOMPARE(log.bytes(), std::string(kHeader) + "a\r\n\r\n\r\nb\r\n");
    }

    void notesInTheOrderGiven() {
        auto log = shell::StartResultsLog("t");
        log.writeNotes(*state_, std::vector<int>{11, 7});
        const std::string expected = shell::StartResultsLog("t").bytes() + "\r\nNotes:\r\n" +
                                     shell::FootNoteText(*state_, 11) + "\r\n" +
                                     shell::FootNoteText(*state_, 7) + "\r\n";
        QCOMPARE(log.bytes(), expected);
        auto none = shell::StartResultsLog("t");
        none.writeNotes(*state_, std::vector<int>{});
        QCOMPARE(none.bytes(), shell::StartResultsLog("t").bytes() + "\r\nNotes:\r\n");
    }

    void footNoteText() {
        for (int n = 1; n <= 12; ++n) QVERIFY2(!shell::FootNoteText(*state_, n).empty(), qPrintable(QString::number(n)));
        QVERIFY(shell::FootNoteText(*state_, 9).rfind("Device rated over 800 A", 0) == 0);
        QCOMPARE(shell::FootNoteText(*state_, 13), std::string());
        QCOMPARE(shell::FootNoteText(*state_, 0), std::string());
        QVERIFY(!state_->WorkRs);
    }

    void twoResultsLeaveOnlyTheSecond() {
        auto first = shell::StartResultsLog("~ Calculate Wire Size ~");
        first.write("Full Load Amps: 40, a much longer first result than the second");
        QVERIFY(!shell::closeResultsLog(*state_, first));
        auto second = shell::StartResultsLog("~ Calculate Ground and OCP ~");
        second.write("Full Load Amps: 45");
        QVERIFY(!shell::closeResultsLog(*state_, second));
        QVERIFY(state_->ResultsReady);
        QCOMPARE(testing::fileBytes(state_->ResultsPath), second.bytes());
        QVERIFY(!std::filesystem::exists(state_->ResultsPath.string() + ".new"));
    }

    void aFailedWriteIsNoResult() {
        state_->ResultsPath = std::filesystem::path(folder_.path().toStdString()) / "missing" / "log";
        QVERIFY(shell::closeResultsLog(*state_, shell::StartResultsLog("t")));
        QVERIFY(!state_->ResultsReady);
    }

    void resetResults() {
        state_->ResultsReady = true;
        QVERIFY(!shell::AnyNoteFlagged(*state_));
        state_->NoteFlags[12] = true;
        QVERIFY(shell::AnyNoteFlagged(*state_));
        shell::ResetResults(*state_);
        QVERIFY(!shell::AnyNoteFlagged(*state_));
        QVERIFY(!state_->ResultsReady);
    }
};

QTEST_GUILESS_MAIN(TestResultsLog)
#include "tst_results_log.moc"
