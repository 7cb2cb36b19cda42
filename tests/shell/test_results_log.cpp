// Publishing an answer: the display, then the results log file, then ResultsReady; one result at a
// time in the file, and a log that cannot be written is no result.
#include <QTemporaryDir>

#include <QTest>
#include <fstream>

#include "shell/results_log.h"
#include "shell/session.h"
#include "tests/support/golden.h"

using namespace voltaro;

namespace {

calc::Answer answer(std::vector<std::string> lines, std::string_view logLine) {
    calc::Answer a;
    a.displayLines = std::move(lines);
    a.log = calc::StartResultsLog("~ Calculate Wire Size ~");
    a.log.write(logLine);
    return a;
}

}  // namespace

class TestResultsLog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<shell::SharedState> state_;
    std::string caption_;

    std::filesystem::path folder() const { return folder_->path().toStdString(); }

private Q_SLOTS:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        state_ = std::make_unique<shell::SharedState>();
        state_->ResultsPath = folder() / "~qxrslt.dat";
        state_->DisplayText = "Size Wire:\r\n";
        state_->SetDisplayCaption = [this](const std::string& text) { caption_ = text; };
    }

    void publishesDisplayThenLogThenReady() {
        const auto first = answer({"8  (THHN)", "See Notes"},
                                  "Full Load Amps: 40, a much longer first result than the second");
        QVERIFY(!shell::publishAnswer(*state_, first));
        QCOMPARE(state_->DisplayText, std::string("Size Wire:\r\n8  (THHN)\r\nSee Notes\r\n"));
        QCOMPARE(caption_, state_->DisplayText);
        QVERIFY(state_->ResultsReady);
        QCOMPARE(testing::fileBytes(state_->ResultsPath),
                 QByteArray::fromStdString(first.log.bytes()));

        // Two results leave only the second.
        const auto second = answer({"10 Ground"}, "Full Load Amps: 45");
        QVERIFY(!shell::publishAnswer(*state_, second));
        QVERIFY(state_->ResultsReady);
        QCOMPARE(testing::fileBytes(state_->ResultsPath),
                 QByteArray::fromStdString(second.log.bytes()));
        QVERIFY(!std::filesystem::exists(state_->ResultsPath.string() + ".new"));
    }

    void aLogThatCannotBeWrittenIsNoResult() {
        QVERIFY(!shell::publishAnswer(*state_, answer({"8  (THHN)"}, "first")));
        const auto first = testing::fileBytes(state_->ResultsPath);
        // The log's file is the reference database under another name: refused; the earlier log
        // stays as it was, but it is no longer a result to print.
        state_->DataPath = folder() / "Voltaro.dat";
        std::filesystem::create_hard_link(state_->ResultsPath, state_->DataPath);
        const auto failure = shell::publishAnswer(*state_, answer({"10 Ground"}, "second"));
        QCOMPARE(failure.value_or(""),
                 "cannot write " + state_->ResultsPath.string() + ": it is the reference database");
        QVERIFY(!state_->ResultsReady);
        QCOMPARE(testing::fileBytes(state_->ResultsPath), first);

        state_->ResultsPath = folder() / "missing" / "log";
        QVERIFY(shell::publishAnswer(*state_, answer({}, "t")));
        QVERIFY(!state_->ResultsReady);
    }

    // Start-up and exit delete the log, but never what is no file.
    void deletingTheLogLeavesAFolder() {
        std::filesystem::create_directories(state_->ResultsPath / "inside");
        QCOMPARE(shell::deleteResultsLog(state_->ResultsPath), std::nullopt);
        QVERIFY(std::filesystem::is_directory(state_->ResultsPath / "inside"));
        std::filesystem::remove_all(state_->ResultsPath);
        std::filesystem::create_symlink(folder(), state_->ResultsPath);
        QCOMPARE(shell::deleteResultsLog(state_->ResultsPath), std::nullopt);
        QVERIFY(!std::filesystem::exists(std::filesystem::symlink_status(state_->ResultsPath)));
        QCOMPARE(shell::deleteResultsLog(state_->ResultsPath), std::nullopt);  // missing: no error
    }

    // A link planted at the program's log is replaced; --log (throughLinks) writes through it.
    void aPlantedLinkIsReplaced() {
        namespace fs = std::filesystem;
        std::ofstream(folder() / "notes.txt") << "my notes";
        for (const bool throughLinks : {false, true}) {
            fs::remove(state_->ResultsPath);
            fs::create_symlink(folder() / "notes.txt", state_->ResultsPath);
            QVERIFY(
                !shell::publishAnswer(*state_, answer({"8  (THHN)"}, "logged"), {}, throughLinks));
            QCOMPARE(fs::is_symlink(state_->ResultsPath), throughLinks);
            QCOMPARE(testing::fileBytes(folder() / "notes.txt").contains("logged"), throughLinks);
        }
    }

    void noResultsFileKeepsNoLog() {
        state_->ResultsReady = true;
        state_->ResultsPath.clear();
        QVERIFY(!shell::publishAnswer(*state_, answer({"3/4 in.  EMT"}, "t")));
        QCOMPARE(state_->DisplayText, std::string("Size Wire:\r\n3/4 in.  EMT\r\n"));
        QVERIFY(!state_->ResultsReady);
        QVERIFY(std::filesystem::is_empty(folder()));
    }

    void resetResults() {
        state_->ResultsReady = true;
        state_->NoteFlags[12] = true;
        shell::ResetResults(*state_);
        QVERIFY(!calc::AnyNoteFlagged(state_->NoteFlags));
        QVERIFY(!state_->ResultsReady);
    }
};

QTEST_GUILESS_MAIN(TestResultsLog)
#include "test_results_log.moc"
