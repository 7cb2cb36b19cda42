// The database layer: opening with the password, walking and searching recordsets, writing
// through dynasets, and text values that can never change a query.
#include <QTest>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <algorithm>
#include <fstream>

#include "refdb/sql.h"
#include "tests/support/core_fixture.h"

using namespace voltaro::refdb;
using voltaro::testing::CoreFixture;

class TestDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensOnlyWithThePassword() {
        CoreFixture copy;
        QVERIFY(!copy.password().text().empty());
        QVERIFY(Database::open(copy.path(), copy.password()).ok());

        auto wrong = Database::open(copy.path(), Password("NotThePassword"));
        QVERIFY(!wrong.ok());
        QCOMPARE(wrong.error().number, SQLITE_NOTADB);

        // The recovered buffer's NUL padding is no part of the key.
        Password::Buffer padded{};
        const auto text = copy.password().text();
        std::copy(text.begin(), text.end(), padded.begin());
        QVERIFY(Database::open(copy.path(), Password(padded)).ok());
    }

    void plainSqliteCannotReadTheFile() {
        CoreFixture copy;
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(copy.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        const int rc =
            sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_NOTADB);
        // Nor does the file hold any of its texts in the clear.
        std::ifstream in(copy.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        QVERIFY(bytes.find("THHN") == std::string::npos);
        QVERIFY(bytes.find("SQLite format") == std::string::npos);
    }

    void missingFileIsAnErrorAndStaysMissing() {
        CoreFixture copy;
        const auto missing = copy.path().parent_path() / "Absent.dat";
        auto db = Database::open(missing, copy.password());
        QVERIFY(!db.ok());
        QCOMPARE(db.error().number & 0xFF, SQLITE_CANTOPEN);
        QVERIFY(!std::filesystem::exists(missing));
    }

    void walksASnapshot() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM FuseSize");
        QVERIFY(set.ok());
        QCOMPARE(set->recordCount(), 37);
        set->moveFirst();
        QCOMPARE(set->field("Fuse").text(), std::string("15"));
        QCOMPARE(set->field("fuse").number(), 15.0);  // names compare without case
        set->moveNext();
        QCOMPARE(set->field("Fuse").text(), std::string("20"));
        set->moveLast();
        QCOMPARE(set->field("Fuse").text(), std::string("6000"));
        QVERIFY(!set->eof());
        set->moveNext();
        QVERIFY(set->eof());
        QCOMPARE(set->field("Fuse").text(), std::string(""));  // no current row reads empty
        set->moveNext();                                       // moving past the end stays there
        QVERIFY(set->eof());

        auto empty = db.openRecordset("SELECT * FROM KeepWires");
        QVERIFY(empty.ok());
        QCOMPARE(empty->recordCount(), 0);
        QVERIFY(empty->eof());
        empty->moveLast();
        QVERIFY(empty->eof());
    }

    void emptyCellsReadAsEmptyText() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT Guage, Alu75 FROM AWG");
        set->moveFirst();
        QCOMPARE(set->field("Guage").text(), std::string("14*"));
        QVERIFY(set->field("Alu75").isNull());
        QCOMPARE(set->field("Alu75").text(), std::string(""));
        QCOMPARE(set->field("NoSuchColumn").text(), std::string(""));
        QVERIFY(!set->hasColumn("NoSuchColumn"));
    }

    void findFirstFollowsTheSetsOrder_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("found");  // empty: no match
        // clang-format off
        QTest::newRow("text gauge") << "SELECT * FROM AWG" << "Guage = '4'" << "Cop75" << "85";
        QTest::newRow("starred gauge") << "SELECT * FROM AWG" << "Guage = '12*'" << "Cop60" << "25";
        QTest::newRow("bracketed column") << "SELECT * FROM Starter" << "[460] >= 20" << "Size" << "2";
        QTest::newRow("fractional amperes") << "SELECT * FROM Starter" << "[230] >= 12.5" << "Size" << "1";
        QTest::newRow("empty cells never match") << "SELECT * FROM Starter" << "[460] >= 500" << "Size" << "";
        QTest::newRow("id") << "SELECT * FROM Enclosures" << "ID = 3" << "Nema" << "3";
        QTest::newRow("range") << "SELECT DegST, DegED, Cop90 FROM Correc1" << "35 >= DegST AND 35 <= DegED" << "Cop90" << "0.96";
        QTest::newRow("alias") << "SELECT Guage, Cop75 AS MaxAmp FROM AWG" << "MaxAmp >= 100" << "Guage" << "3";
        QTest::newRow("reverse order") << "SELECT * FROM FuseSize ORDER BY Fuse DESC" << "Fuse >= 45" << "Fuse" << "6000";
        QTest::newRow("stored query") << "SELECT * FROM ConData_Q WHERE Abbr = 'EMT'" << "[2+wires] > 0.3" << "Size" << "1";
        QTest::newRow("view pair") << "SELECT * FROM WireArea_Q" << "Type = 'THHN' AND Gauge = '10'" << "Area" << "0.0211";
        QTest::newRow("text column, number literal") << "SELECT * FROM AWG" << "Guage = 4" << "Cop60" << "70";
        QTest::newRow("no match") << "SELECT * FROM FuseSize" << "Fuse > 6000" << "Fuse" << "";
        // clang-format on
    }
    void findFirstFollowsTheSetsOrder() {
        QFETCH(QString, sql);
        QFETCH(QString, criterion);
        QFETCH(QString, column);
        QFETCH(QString, found);
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset(sql.toStdString());
        QVERIFY(set.ok());
        set->moveLast();  // the search starts from the first row wherever the set stands
        const auto before = set->field(column.toStdString()).text();
        auto result = set->findFirst(criterion.toStdString());
        QVERIFY(result.ok());
        QCOMPARE(*result, !found.isEmpty());
        QCOMPARE(set->noMatch(), found.isEmpty());
        // With no match the position stays where it was.
        QCOMPARE(QString::fromStdString(set->field(column.toStdString()).text()),
                 found.isEmpty() ? QString::fromStdString(before) : found);
    }

    void criterionAgreesWithTheEngine() {
        // For a spread of criteria over the ampacity table, findFirst lands on the same row as
        // the engine's own WHERE clause over the table.
        CoreFixture copy;
        auto db = copy.open();
        const char* criteria[] = {"Cop60 >= 55",   "Alu90 > 100",     "Guage = '1/0'",
                                  "Alu60 IS NULL", "Guage LIKE '%*'", "Cop90 * 0.82 * 0.8 >= 40",
                                  "Alu75 = ''",    "Guage >= '3'",    "Cop75 >= '100'"};
        for (const char* criterion : criteria) {
            auto set = db.openRecordset("SELECT * FROM AWG");
            auto found = set->findFirst(criterion);
            QVERIFY2(found.ok(), criterion);
            auto engine = db.openRecordset(std::string("SELECT Guage FROM AWG WHERE ") + criterion +
                                           " ORDER BY rowid LIMIT 1");
            QVERIFY(engine.ok());
            engine->moveFirst();
            QCOMPARE(*found, !engine->eof());
            if (*found) QCOMPARE(set->field("Guage").text(), engine->field("Guage").text());
        }
    }

    void unreadableCriterionIsAnError() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM AWG");
        auto result = set->findFirst("Guage = = 4");
        QVERIFY(!result.ok());
        QVERIFY(!result.error().description.empty());
        QVERIFY(!set->findFirst("NoSuchColumn = 1").ok());
    }

    void badQueryIsAnError() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM NoSuchTable");
        QVERIFY(!set.ok());
        QCOMPARE(set.error().number, SQLITE_ERROR);
        QVERIFY(set.error().description.find("NoSuchTable") != std::string::npos);
    }

    void dynasetAddsEditsAndDeletes() {
        CoreFixture copy;
        auto db = copy.open();
        {
            auto set = db.openRecordset("SELECT * FROM KeepWires", Recordset::Kind::Dynaset);
            QVERIFY(set.ok());
            QVERIFY(!set->addNew());
            QVERIFY(!set->setField("Amps", "40"));
            QVERIFY(!set->setField("Material", 0));
            QVERIFY(!set->setField("Insul", 11));
            QVERIFY(!set->setField("Wires", "6"));
            QVERIFY(!set->setField("Temp", "104F"));
            QVERIFY(set->setField("NoSuchColumn", "x").has_value());
            QVERIFY(!set->update());
            QCOMPARE(set->recordCount(), 1);
            QCOMPARE(set->field("Temp").text(), std::string("104F"));
            QVERIFY(!set->addNew());
            QVERIFY(!set->setField("Amps", "15"));
            QVERIFY(!set->update());
            QCOMPARE(set->recordCount(), 2);
        }
        {
            auto set = db.openRecordset("SELECT * FROM KeepWires", Recordset::Kind::Dynaset);
            QCOMPARE(set->recordCount(), 2);
            set->moveFirst();
            QCOMPARE(set->field("Insul").number(), 11.0);
            QVERIFY(!set->edit());
            QVERIFY(!set->setField("Wires", "9"));
            QVERIFY(!set->update());
        }
        {
            // Emptying a table the way the panels do: delete the current row until the end.
            auto set = db.openRecordset("SELECT * FROM KeepWires", Recordset::Kind::Dynaset);
            set->moveFirst();
            QCOMPARE(set->field("Wires").text(), std::string("9"));
            while (!set->eof()) QVERIFY(!set->deleteCurrent());
            QCOMPARE(set->recordCount(), 0);
        }
        auto after = db.openRecordset("SELECT * FROM KeepWires");
        QCOMPARE(after->recordCount(), 0);
    }

    void dynasetDeletesOnlyTheCurrentRow() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM DragList", Recordset::Kind::Dynaset);
        for (const char* gauge : {"10", "12", "10"}) {
            QVERIFY(!set->addNew());
            QVERIFY(!set->setField("WiresGa", gauge));
            QVERIFY(!set->setField("WiresTy", "THHN"));
            QVERIFY(!set->update());
        }
        auto match = set->findFirst("WiresGa = '10'");
        QVERIFY(match.ok() && *match);
        QVERIFY(!set->deleteCurrent());
        QCOMPARE(set->field("WiresGa").text(), std::string("12"));  // the row after it
        auto left = db.openRecordset("SELECT WiresGa FROM DragList");
        QCOMPARE(left->recordCount(), 2);
        left->moveFirst();
        QCOMPARE(left->field("WiresGa").text(), std::string("12"));
        left->moveNext();
        QCOMPARE(left->field("WiresGa").text(), std::string("10"));
    }

    void snapshotsAndQueriesAreReadOnly() {
        CoreFixture copy;
        auto db = copy.open();
        auto snapshot = db.openRecordset("SELECT * FROM KeepWires");
        QVERIFY(snapshot->addNew().has_value());
        QVERIFY(snapshot->deleteCurrent().has_value());
        QVERIFY(!db.openRecordset("SELECT Guage FROM AWG", Recordset::Kind::Dynaset).ok());
        auto where =
            db.openRecordset("SELECT * FROM AWG WHERE Cop60 > 100", Recordset::Kind::Dynaset);
        QVERIFY(where.ok());
        QCOMPARE(where->recordCount(), 20);
    }

    void textValuesCannotChangeAQuery() {
        QCOMPARE(sqlText("THHN"), std::string("'THHN'"));
        QCOMPARE(sqlText("O'Brien"), std::string("'O''Brien'"));
        QCOMPARE(sqlText("''"), std::string("''''''"));
        QCOMPARE(sqlName("2+wires"), std::string("\"2+wires\""));
        QCOMPARE(sqlNumber(20), std::string("20"));
        QCOMPARE(sqlNumber(12.5), std::string("12.5"));

        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM DragList", Recordset::Kind::Dynaset);
        QVERIFY(!set->addNew());
        QVERIFY(!set->setField("WiresGa", "10"));
        QVERIFY(!set->setField("WiresTy", "O'Brien"));
        QVERIFY(!set->update());

        auto found = set->findFirst("WiresTy = " + sqlText("O'Brien"));
        QVERIFY(found.ok() && *found);
        // A text built to break out of its quotes is just a text that matches nothing.
        auto injected =
            db.openRecordset("SELECT * FROM WireArea_Q WHERE Type = " + sqlText("x' OR '1'='1"));
        QVERIFY(injected.ok());
        QCOMPARE(injected->recordCount(), 0);
        auto dropped = db.openRecordset("SELECT * FROM WireType WHERE Type = " +
                                        sqlText("'; DROP TABLE AWG; --"));
        QVERIFY(dropped.ok());
        QVERIFY(db.openRecordset("SELECT * FROM AWG").ok());
    }

    void closedDatabaseFailsCleanly() {
        CoreFixture copy;
        auto db = copy.open();
        auto set = db.openRecordset("SELECT * FROM DragList", Recordset::Kind::Dynaset);
        db.close();
        QVERIFY(!db.isOpen());
        QVERIFY(!db.openRecordset("SELECT * FROM AWG").ok());
        QVERIFY(!set->addNew());
        QVERIFY(set->update().has_value());
        QVERIFY(!set->findFirst("WiresGa = '10'").ok());
    }

    void listsTablesAndStoredQueries() {
        CoreFixture copy;
        auto db = copy.open();
        auto tables = db.tableNames();
        auto queries = db.queryNames();
        QVERIFY(tables.ok() && queries.ok());
        const std::vector<std::string> expectedTables = {
            "Copper",    "Aluminum",  "Correc1",  "Correc2",  "AWG",        "FuseSize",
            "GndWire",   "WireType",  "WireDim",  "ConType",  "ConData",    "Starter",
            "Ch9Table8", "Ch9Table9", "Motor1Ph", "Motor3Ph", "Enclosures", "FootNotes",
            "KeepWires", "DragList",  "Scratch"};
        QCOMPARE(*tables, expectedTables);
        QCOMPARE(*queries, (std::vector<std::string>{"WireArea_Q", "ConData_Q"}));
    }
};

QTEST_APPLESS_MAIN(TestDatabase)
#include "test_database.moc"
