// voltaro-cli wire and ground as a script sees them: what goes to stdout and stderr, the exit
// status, and the results log written with --log (or left alone on a failure).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VOLTARO_TEST_APP_DIR "/voltaro-cli"), args);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLatin1(process.readAllStandardOutput()),
            QString::fromLatin1(process.readAllStandardError())};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString golden(const char* relative) {
    return QStringLiteral(VOLTARO_TEST_SOURCE_DIR "/") + relative;
}

}  // namespace

class TestCliConductors : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

private Q_SLOTS:
    void answers_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out");
        // Worked by hand from Table 310-16 and Table 250-122.
        QTest::newRow("40A copper THHN, 6 conductors, 40C")
            << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "6", "--ambient", "40"}
            << "8  (THHN)\nDe-Rated Amps: 40.04\nCircuit Max Amps: 40\nSee Notes\n";
        QTest::newRow("same job, ambient typed as 104F")
            << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "6", "--ambient", "104F"}
            << "8  (THHN)\nDe-Rated Amps: 40.04\nCircuit Max Amps: 40\nSee Notes\n";
        QTest::newRow("48A copper THW at 35C")
            << QStringList{"wire", "--amps", "48", "--material", "Copper", "--insulation", "THW",
                           "--conductors", "3", "--ambient", "35"}
            << "6  (THW)\nDe-Rated Amps: 61.1\nCircuit Max Amps: 55\nSee Notes\n";
        QTest::newRow("150A aluminum THHN, 75C terminals")
            << QStringList{"wire", "--amps", "150", "--material", "Aluminum", "--insulation",
                           "THHN", "--conductors", "3", "--ambient", "30", "--terminal-auto", "off"}
            << "3/0  (THHN)\nDe-Rated Amps: 175\nCircuit Max Amps: 155\nSee Notes\n";
        QTest::newRow("ground and fuse for 45A")
            << QStringList{"ground", "--amps", "45", "--material", "Copper"}
            << "10 Ground\n45 Fuse\nSee Notes\n";
        QTest::newRow("ground and fuse for 400A aluminum")
            << QStringList{"ground", "--amps", "400", "--material", "Aluminum"}
            << "1 Ground\n400 Fuse\nSee Notes\n";
    }
    void answers() {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        const Run run = runCli(args);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, out);
        QCOMPARE(run.status, 0);
    }

    void failures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("err");
        QTest::newRow("2000A wire")
            << QStringList{"wire", "--amps", "2000", "--material", "Copper", "--insulation",
                           "THHN", "--conductors", "3", "--ambient", "30"}
            << "Full Load Amps\nToo High.\n";
        QTest::newRow("ambient 190F")
            << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "3", "--ambient", "190F"}
            << "Enter Temp Between\n21C - 80C\n70F - 176F\n";
        QTest::newRow("control characters as amperes")
            << QStringList{"wire", "--amps", "\x01\x1b[2J", "--material", "Copper",
                           "--insulation", "THHN", "--conductors", "3", "--ambient", "30"}
            << "Amperes Too Low.\n";
        QTest::newRow("6001A ground")
            << QStringList{"ground", "--amps", "6001", "--material", "Copper"}
            << "Amp Rating Is\nToo High,\n6000 Amps Max.\n";
    }
    void failures() {
        QFETCH(QStringList, args);
        QFETCH(QString, err);
        const QString log = folder_.filePath("failure.log");
        QFile previous(log);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("the previous result\r\n");
        previous.close();
        const Run run = runCli(args << "--log" << log);
        QCOMPARE(run.err, err);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.status, 1);
        QCOMPARE(readFile(log), QByteArray("the previous result\r\n"));
    }

    void usage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("wire without ambient")
            << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "3"};
        QTest::newRow("material in lower case")
            << QStringList{"wire", "--amps", "20", "--material", "copper", "--insulation", "THHN",
                           "--conductors", "3", "--ambient", "30"};
        QTest::newRow("unknown insulation type")
            << QStringList{"wire", "--amps", "20", "--material", "Aluminum", "--insulation", "TFN",
                           "--conductors", "3", "--ambient", "30"};
        QTest::newRow("terminal-auto yes")
            << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "3", "--ambient", "30", "--terminal-auto", "yes"};
        QTest::newRow("ground without material") << QStringList{"ground", "--amps", "20"};
        QTest::newRow("ground twice amps")
            << QStringList{"ground", "--amps", "20", "--amps", "30", "--material", "Copper"};
    }
    void usage() {
        QFETCH(QStringList, args);
        const Run run = runCli(args);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QString());
        QVERIFY(run.err.contains("usage: voltaro-cli"));
    }

    void logsMatchTheGoldenFiles_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("golden");
        QTest::newRow("wire")
            << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN",
                           "--conductors", "6", "--ambient", "104F"}
            << golden("tests/calc/wire/golden/wire_40A_thhn_6_at_40C.log");
        QTest::newRow("ground")
            << QStringList{"ground", "--amps", "801", "--material", "Aluminum"}
            << golden("tests/calc/ground/golden/ground_801A_aluminum.log");
    }
    void logsMatchTheGoldenFiles() {
        QFETCH(QStringList, args);
        QFETCH(QString, golden);
        const QString log = folder_.filePath("result.log");
        const Run run = runCli(args << "--log" << log);
        QCOMPARE(run.status, 0);
        const QByteArray expected = readFile(golden);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readFile(log), expected);
    }
};

QTEST_GUILESS_MAIN(TestCliConductors)
#include "tst_cli_conductors.moc"
