// Start-up's data side and exit's, on a private application folder.
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

#include "refdb/password.h"
#include "shell/session.h"
#include "tests/support/golden.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;
using namespace voltaro::shell;
namespace fs = std::filesystem;

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    fs::path app_;

    OptionsStore options() const { return OptionsStore(app_ / "config.ini", app_ / "autostart"); }

    void fillWorkTables() {
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        auto db = refdb::Database::open(app_ / "Voltaro.dat", *refdb::recoverPassword(zephlib));
        QVERIFY(db.ok());
        QVERIFY(
            !db->execute("INSERT INTO DragList VALUES ('10', 'THHN'), ('12', 'TW');"
                         "INSERT INTO KeepWires VALUES ('40', 0, 11, '6', '40');"
                         "INSERT INTO Scratch VALUES ('14')"));
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        app_ = dir_->path().toStdString();
        for (const char* file : {"Zephlib.so", "Voltaro.dat"})
            fs::copy_file(fs::path(VOLTARO_TEST_APP_DIR) / file, app_ / file);
    }
    void cleanup() { dir_.reset(); }

    void startsClean() {
        fillWorkTables();
        std::ofstream(app_ / "~qxrslt.dat") << "an old result";
        // A writer's temporary left by a killed run goes too; a file merely named alike stays.
        std::ofstream(app_ / ".~qxrslt.dat.Ab3dE5gH9k") << "half a result";
        std::ofstream(app_ / ".~qxrslt.dat.mine") << "not a temporary";
        SharedState state;
        state.NoteFlags.fill(true);
        state.ConduitAbbr = "RMC";
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        QCOMPARE(OpenSession(state, app_, app_, zephlib, options()), std::nullopt);
        QVERIFY(state.RefDb && state.RefDb->isOpen());
        QCOMPARE(state.DataPath, app_ / "Voltaro.dat");
        QCOMPARE(state.SoundLibPath, app_ / "Tonebank.so");
        QCOMPARE(state.ResultsPath, app_ / "~qxrslt.dat");
        QVERIFY(!fs::exists(state.ResultsPath));
        QVERIFY(!fs::exists(app_ / ".~qxrslt.dat.Ab3dE5gH9k"));
        QVERIFY(fs::exists(app_ / ".~qxrslt.dat.mine"));
        QCOMPARE(state.ConduitAbbr, std::string("EMT"));
        for (const char* table : {"DragList", "KeepWires", "Scratch"})
            QCOMPARE(
                state.RefDb->openRecordset(std::string("SELECT * FROM ") + table)->recordCount(),
                0);
        for (const bool flag : state.NoteFlags) QVERIFY(!flag);
        for (const bool on : state.OptionFlags) QVERIFY(on);  // nothing stored: every option on
    }

    // Refused before anything writes it: the work tables are not emptied, nothing is compacted.
    void aDataFileThatIsNotTheReferenceEndsStartUp_data() {
        QTest::addColumn<QString>("change");  // "missing", "empty", or SQL run on the file first
        QTest::addColumn<QString>("named");   // what the reason must name
        // clang-format off
        QTest::newRow("missing") << "missing" << "Voltaro.dat";
        QTest::newRow("zero bytes") << "empty" << "missing tables Copper, Aluminum,";
        QTest::newRow("no FootNotes") << "DROP TABLE FootNotes" << "missing table FootNotes";
        // clang-format on
    }
    void aDataFileThatIsNotTheReferenceEndsStartUp() {
        QFETCH(QString, change);
        QFETCH(QString, named);
        const auto data = app_ / "Voltaro.dat";
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        if (change == "missing") fs::remove(data);
        if (change == "empty") std::ofstream(data, std::ios::trunc);
        if (change.startsWith("DROP"))
            QVERIFY(!refdb::Database::open(data, *refdb::recoverPassword(zephlib))
                         ->execute(change.toStdString()));
        const auto before = testing::fileBytes(data);
        SharedState state;
        const auto failure = OpenSession(state, app_, app_, zephlib, options());
        QVERIFY(failure.has_value());
        QVERIFY2(failure->find(named.toStdString()) != std::string::npos, failure->c_str());
        QCOMPARE(testing::fileBytes(data), before);
        QCOMPARE(fs::exists(data), change != "missing");
    }

    void missingZephlibEndsStartUp() {
        fs::remove(app_ / "Zephlib.so");
        SharedState state;
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        const auto failure = OpenSession(state, app_, app_, zephlib, options());
        QVERIFY(failure.has_value());
        QVERIFY(failure->find("Zephlib.so") != std::string::npos);
        QVERIFY(!state.RefDb);
    }

    void displayLines() {
        SharedState state;
        std::string caption;
        state.SetDisplayCaption = [&](const std::string& text) { caption = text; };
        state.DisplayText = "";
        ShowOnDisplay(state, "Size Wire:");
        ShowOnDisplay(state, "Use # 8 AWG");
        QCOMPARE(state.DisplayText, std::string("Size Wire:\r\nUse # 8 AWG\r\n"));
        QCOMPARE(caption, state.DisplayText);
    }

    void exitRemovesTheLogAndCompacts() {
        SharedState state;
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        QCOMPARE(OpenSession(state, app_, app_, zephlib, options()), std::nullopt);
        std::ofstream(state.ResultsPath) << "a result";
        QVERIFY(CloseSession(state, zephlib).empty());
        QVERIFY(!fs::exists(state.ResultsPath));
        QVERIFY(!fs::exists(app_ / "TmpCmpct.mdb"));
        QVERIFY(!state.RefDb);
        // Without the database a calculation is the one plain failure, and its core never runs.
        bool ran = false;
        const auto outcome = withDatabase(state, [&](refdb::Database&) -> calc::Outcome {
            ran = true;
            return calc::Answer{};
        });
        QVERIFY(!ran);
        const auto& failure = std::get<calc::Failure>(outcome);
        QCOMPARE(failure.message,
                 std::string("Reference Database Error:\r\nThe database is not open."));
        QCOMPARE(failure.cause, calc::Cause::ReferenceData);
        // The compacted file opens and holds the tables.
        auto db = refdb::Database::open(app_ / "Voltaro.dat", *refdb::recoverPassword(zephlib));
        QVERIFY(db.ok());
        QCOMPARE(db->openRecordset("SELECT * FROM AWG")->recordCount(), 28);
    }

    void failedCompactionIsReportedAndKeepsTheFile() {
        SharedState state;
        auto zephlib = platform::ZephlibBinding::inFolder(app_);
        QCOMPARE(OpenSession(state, app_, app_, zephlib, options()), std::nullopt);
        fs::create_directories(app_ / "TmpCmpct.mdb" / "in the way");
        const auto errors = CloseSession(state, zephlib);
        QCOMPARE(errors.size(), std::size_t{1});
        const auto text = compactErrorText(errors.front());
        QVERIFY(text.rfind("Database Compact Unsuccessful!\rError number: ", 0) == 0);
        QVERIFY(text.find(errors.front().description) != std::string::npos);
        QVERIFY(refdb::Database::open(app_ / "Voltaro.dat", *refdb::recoverPassword(zephlib)).ok());
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
