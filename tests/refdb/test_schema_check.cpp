// An empty, foreign or damaged data file opens like a good one; the check after opening refuses
// it, names what is missing, and leaves the file byte for byte as it was.
#include <QTest>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <fstream>

#include "refdb/schema_check.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using testing::fileBytes;

class TestSchemaCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusesWhatIsNotTheReferenceDatabase_data() {
        QTest::addColumn<QString>("change");  // SQL run on a copy first; "empty" or "foreign"
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");  // what the message says, or starts with ("...")
        const QString damaged = "the reference database is damaged: ";
        // clang-format off
        QTest::newRow("the shipped file") << "" << 0 << "";
        QTest::newRow("zero bytes")
            << "empty" << SQLITE_NOTADB
            << "not the reference database (an empty or foreign file): missing tables Copper, "
               // clang-format on
               "Aluminum, Correc1, ...";
        // clang-format off
        QTest::newRow("another program's tables, same password")
            << "foreign" << SQLITE_NOTADB
            << "not the reference database (an empty or foreign file): missing tables Copper, ...";
        QTest::newRow("no FootNotes")
            << "DROP TABLE FootNotes" << SQLITE_CORRUPT << damaged + "missing table FootNotes";
        QTest::newRow("no work tables")
            << "DROP TABLE DragList; DROP TABLE Scratch" << SQLITE_CORRUPT
            << damaged + "missing tables DragList, Scratch";
        QTest::newRow("no stored query") << "DROP VIEW ConData_Q" << SQLITE_CORRUPT
                                         << damaged + "missing stored query ConData_Q";
        QTest::newRow("a stored query's table gone")
            << "DROP TABLE WireDim" << SQLITE_CORRUPT
            << damaged +
                   // clang-format on
                   "missing table WireDim; stored query WireArea_Q cannot be read: "
                   "no such table: main.WireDim";
        // clang-format off
        QTest::newRow("a column gone")
            << "ALTER TABLE AWG RENAME TO Old; CREATE TABLE AWG (Guage TEXT, Cop75 INTEGER, "
               // clang-format on
               "Cop90 INTEGER, Alu60 INTEGER, Alu75 INTEGER); DROP TABLE Old"
            // clang-format off
            << SQLITE_CORRUPT << damaged + "table AWG lacks columns Cop60, Alu90";
        QTest::newRow("a table where a stored query belongs")
            << "DROP VIEW WireArea_Q; CREATE TABLE WireArea_Q (Type TEXT, Gauge TEXT, Area REAL)"
            << SQLITE_CORRUPT << damaged + "missing stored query WireArea_Q";
        // clang-format on
    }
    void refusesWhatIsNotTheReferenceDatabase() {
        QFETCH(QString, change);
        QFETCH(int, number);
        QFETCH(QString, description);
        testing::CoreFixture copy;
        if (change == "empty" || change == "foreign") {
            std::ofstream(copy.path(),
                          std::ios::trunc);  // zero bytes: a new database to the engine
            if (change == "foreign") {
                auto db = copy.open();
                QVERIFY(
                    !db.execute("CREATE TABLE Customers (Name TEXT); "
                                "INSERT INTO Customers VALUES ('Ann')"));
            }
        } else if (!change.isEmpty()) {
            QVERIFY(!copy.open().execute(change.toStdString()));
        }
        const auto before = fileBytes(copy.path());

        auto db = copy.open();
        const auto error = refdb::checkSchema(db);
        db.close();

        QCOMPARE(fileBytes(copy.path()), before);
        QCOMPARE(error.has_value(), number != 0);
        if (!error) return;
        QCOMPARE(error->number, number);
        if (description.endsWith("..."))
            QVERIFY2(error->description.rfind(description.chopped(3).toStdString(), 0) == 0,
                     error->description.c_str());
        else
            QCOMPARE(QString::fromStdString(error->description), description);
    }
};

QTEST_APPLESS_MAIN(TestSchemaCheck)
#include "test_schema_check.moc"
