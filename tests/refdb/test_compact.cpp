// Compaction at exit must never lose the data file: a failure at any step leaves it byte for byte
// as it was, and success leaves a smaller, complete file that opens with the same password.
#include <QTest>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "refdb/compact.h"
#include "refdb/working_copy.h"
#include "tests/support/core_fixture.h"

using namespace voltaro::refdb;
using voltaro::testing::CoreFixture;

namespace {

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int rowsOf(Database& db, const std::string& table) {
    return db.openRecordset("SELECT * FROM " + table)->recordCount();
}

}  // namespace

Q_DECLARE_METATYPE(CompactStep)

class TestCompact : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compactsAndKeepsEverything() {
        CoreFixture copy;
        {
            // Fill and empty a work table, as a long session of the conduit panel does.
            auto db = copy.open();
            QVERIFY(
                !db.execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                            "WHERE i < 20000) INSERT INTO Scratch SELECT 'gauge ' || i FROM n"));
            QVERIFY(!db.execute("DELETE FROM Scratch"));
        }
        const auto before = std::filesystem::file_size(copy.path());
        const auto stamp = *dataStamp(copy.db());
        QVERIFY(stamp > 1);  // a fingerprint, not a fixed number
        copy.db().close();
        const auto temp = copy.path().parent_path() / "TmpCmpct.mdb";
        std::ofstream(temp) << "left over from an earlier run";

        const auto errors = compactDataFile(copy.path(), temp, copy.password());
        QVERIFY(errors.empty());
        QVERIFY(!std::filesystem::exists(temp));
        QVERIFY(std::filesystem::file_size(copy.path()) < before);

        auto db = copy.open();
        QCOMPARE(rowsOf(db, "AWG"), 28);
        QCOMPARE(rowsOf(db, "WireType"), 602);
        QCOMPARE(rowsOf(db, "Scratch"), 0);
        QCOMPARE(db.queryNames()->size(), std::size_t{2});
        QCOMPARE(*dataStamp(db), stamp);  // an installed copy's working copy keeps its stamp
        auto set = db.openRecordset("SELECT * FROM WireArea_Q");
        QVERIFY(*set->findFirst("Type = 'THHN' AND Gauge = '10'"));
        QCOMPARE(set->field("Area").number(), 0.0211);
        db.close();

        // Keyed as the data file is: the engine's default key derivation does not open it.
        sqlite3* other = nullptr;
        sqlite3_open_v2(copy.path().c_str(), &other, SQLITE_OPEN_READONLY, nullptr);
        const auto password = copy.password().text();
        sqlite3_key(other, password.data(), static_cast<int>(password.size()));
        QCOMPARE(
            sqlite3_exec(other, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
            SQLITE_NOTADB);
        sqlite3_close(other);

        // Still encrypted.
        sqlite3* plain = nullptr;
        sqlite3_open_v2(copy.path().c_str(), &plain, SQLITE_OPEN_READONLY, nullptr);
        QCOMPARE(
            sqlite3_exec(plain, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr),
            SQLITE_NOTADB);
        sqlite3_close(plain);
    }

    void failureAtAnyStepLeavesTheFile_data() {
        QTest::addColumn<CompactStep>("step");
        // clang-format off
        QTest::newRow("removing a stale copy") << CompactStep::RemoveStaleCopy;
        QTest::newRow("opening the data file") << CompactStep::OpenSource;
        QTest::newRow("writing the copy") << CompactStep::Export;
        QTest::newRow("opening the copy") << CompactStep::OpenCopy;
        QTest::newRow("checking the copy") << CompactStep::CheckCopy;
        QTest::newRow("replacing the file") << CompactStep::Replace;
        // clang-format on
    }
    void failureAtAnyStepLeavesTheFile() {
        QFETCH(CompactStep, step);
        CoreFixture copy;
        const auto original = bytesOf(copy.path());
        const auto temp = copy.path().parent_path() / "TmpCmpct.mdb";
        std::vector<CompactStep> reached;
        const auto errors =
            compactDataFile(copy.path(), temp, copy.password(), [&](CompactStep at) {
                reached.push_back(at);
                return at == step ? std::optional<DbError>(DbError{SQLITE_IOERR, "injected"})
                                  : std::nullopt;
            });
        QCOMPARE(errors.size(), std::size_t{1});
        QCOMPARE(errors.front().number, SQLITE_IOERR);
        QCOMPARE(errors.front().description, std::string("injected"));
        QCOMPARE(reached.back(), step);  // nothing after the failed step ran
        QVERIFY(bytesOf(copy.path()) == original);
        QVERIFY(!std::filesystem::exists(temp));
        QVERIFY(Database::open(copy.path(), copy.password()).ok());
    }

    void wrongPasswordReportsTheEnginesError() {
        CoreFixture copy;
        const auto original = bytesOf(copy.path());
        const auto temp = copy.path().parent_path() / "TmpCmpct.mdb";
        const auto errors = compactDataFile(copy.path(), temp, Password("WrongPassword"));
        QCOMPARE(errors.size(), std::size_t{1});
        QCOMPARE(errors.front().number, SQLITE_NOTADB);
        QVERIFY(!errors.front().description.empty());
        QVERIFY(bytesOf(copy.path()) == original);
        QVERIFY(!std::filesystem::exists(temp));
    }

    void unwritableCopyLeavesTheFile() {
        CoreFixture copy;
        const auto original = bytesOf(copy.path());
        const auto temp = copy.path().parent_path() / "no such folder" / "TmpCmpct.mdb";
        const auto errors = compactDataFile(copy.path(), temp, copy.password());
        QCOMPARE(errors.size(), std::size_t{1});
        QCOMPARE(errors.front().number & 0xFF, SQLITE_CANTOPEN);
        QVERIFY(bytesOf(copy.path()) == original);
    }

    void staleCopyThatCannotBeDeleted() {
        CoreFixture copy;
        const auto original = bytesOf(copy.path());
        const auto temp = copy.path().parent_path() / "TmpCmpct.mdb";
        std::filesystem::create_directories(temp / "inside");
        const auto errors = compactDataFile(copy.path(), temp, copy.password());
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY(errors.front().description.find("TmpCmpct.mdb") != std::string::npos);
        QVERIFY(bytesOf(copy.path()) == original);
        QVERIFY(std::filesystem::is_directory(temp));  // not ours to remove
    }

    void missingDataFile() {
        CoreFixture copy;
        std::filesystem::remove(copy.path());
        const auto temp = copy.path().parent_path() / "TmpCmpct.mdb";
        const auto errors = compactDataFile(copy.path(), temp, copy.password());
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY(!std::filesystem::exists(copy.path()));
        QVERIFY(!std::filesystem::exists(temp));
    }
};

QTEST_APPLESS_MAIN(TestCompact)
#include "test_compact.moc"
