// voltaro-cli tables and dump: anyone can see what the shipped database holds.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "refdb/csv.h"
#include "tests/support/cli_runner.h"

using namespace voltaro::refdb;
using voltaro::testing::runCli;

class TestCliTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsTablesAndQueries() {
        const auto run = runCli({"tables"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        const auto lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines.first(), QStringLiteral("Copper"));
        QVERIFY(lines.contains("AWG"));
        QVERIFY(lines.contains("WireArea_Q (stored query)"));
        QVERIFY(lines.contains("ConData_Q (stored query)"));
    }

    void dumpsEveryTableAsItsSource() {
        // Each dump reads back to the CSV source it was built from (numbers compared as numbers).
        QDir data(QStringLiteral(VOLTARO_TEST_SOURCE_DIR "/refdb/data"));
        const auto files = data.entryList({"*.csv"}, QDir::Files);
        QCOMPARE(files.size(), 18);
        for (const auto& file : files) {
            const auto table = QFileInfo(file).completeBaseName();
            const auto run = runCli({"dump", table});
            QCOMPARE(run.status, 0);
            QFile source(data.filePath(file));
            QVERIFY(source.open(QIODevice::ReadOnly));
            const auto expected = parseCsv(source.readAll().toStdString());
            const auto dumped = parseCsv(run.out.toStdString());
            QVERIFY2(dumped.has_value(), qPrintable(table));
            QCOMPARE(dumped->size(), expected->size());
            for (std::size_t r = 0; r < expected->size(); ++r) {
                for (std::size_t c = 0; c < (*expected)[r].size(); ++c) {
                    const auto& want = (*expected)[r][c];
                    const auto& got = (*dumped)[r][c];
                    bool numeric = false;
                    const double value = QString::fromStdString(want).toDouble(&numeric);
                    if (numeric && r > 0)
                        QCOMPARE(QString::fromStdString(got).toDouble(), value);
                    else
                        QCOMPARE(got, want);
                }
            }
        }
    }

    void dumpFormat() {
        const auto starter = runCli({"dump", "Starter"});
        QVERIFY(starter.out.startsWith("Size,200,230,460\n00,6.9,6,3.4\n0,11,9.6,7.6\n"));
        QVERIFY(starter.out.endsWith("\n9,,,\n"));  // empty cells are empty fields
        const auto enclosures = runCli({"dump", "Enclosures"});
        QVERIFY(
            enclosures.out.contains("\n1,1,\"General Purpose, Indoor\",Keeps fingers off live,"));
        const auto view = runCli({"dump", "ConData_Q"});
        QVERIFY(view.out.startsWith("Abbr,Size,1wire,2wires,2+wires\nEMT,1/2,0.161,0.094,0.122\n"));
        const auto work = runCli({"dump", "DragList"});
        QCOMPARE(work.out, QStringLiteral("WiresGa,WiresTy\n"));
    }

    void refusesWhatIsNotThere() {
        for (const char* name : {"NoSuchTable", "AWG; DROP TABLE AWG", "sqlite_master", "awg"}) {
            const auto run = runCli({"dump", name});
            QCOMPARE(run.status, 1);
            QVERIFY(run.out.isEmpty());
            QVERIFY(run.err.contains("no table or stored query"));
            QVERIFY(run.err.contains("(the names are: Copper, Aluminum, Correc1,"));
        }
        QCOMPARE(runCli({"dump", "AWG"}).status, 0);
    }

    void usageErrors() {
        for (const QStringList& args :
             {QStringList{}, QStringList{"dump"}, QStringList{"dump", "a", "b"},
              QStringList{"frobnicate"}, QStringList{"--app-dir"},
              QStringList{"--app-dir", "", "tables"}, QStringList{"tables", "extra"}}) {
            const auto run = runCli(args);
            QCOMPARE(run.status, 2);
            QVERIFY(run.out.isEmpty());
            QVERIFY(run.err.contains("usage: voltaro-cli"));
        }
    }

    void applicationFolder() {
        QTemporaryDir dir;
        // No Zephlib.so and no Voltaro.dat there.
        auto run = runCli({"--app-dir", dir.path(), "tables"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains("Zephlib"));
        QVERIFY(QFile::copy(VOLTARO_TEST_APP_DIR "/Zephlib.so", dir.filePath("Zephlib.so")));
        run = runCli({"--app-dir", dir.path(), "tables"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains("Voltaro.dat"));
        QVERIFY(!QFile::exists(dir.filePath("Voltaro.dat")));  // never created by opening
        QVERIFY(QFile::copy(VOLTARO_TEST_APP_DIR "/Voltaro.dat", dir.filePath("Voltaro.dat")));
        run = runCli({"--app-dir", dir.path(), "dump", "FuseSize"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith("Fuse\n15\n20\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliTables)
#include "test_tables.moc"
