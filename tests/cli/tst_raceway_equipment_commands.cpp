// voltaro-cli conduit, enclosure, transformer and starter, run as a user runs them, against a
// copy of the application folder: what goes to stdout and stderr, the exit status, the --log file
// (written on an answer, left alone on an error), and DragList left empty.
#include <QtTest>

#include "tests/calc/common/golden.h"

namespace {

const QString kCli = QStringLiteral(VOLTARO_TEST_APP_DIR "/voltaro-cli");

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void commands_data();
    void commands();
    void logsEachCalculator_data();
    void logsEachCalculator();
    void errorLeavesTheLogAsItWas_data();
    void errorLeavesTheLogAsItWas();
    void conduitLeavesNoConductorsBehind();

  private:
    Run run(const QStringList& args);
    QTemporaryDir app_;
};

void CommandsTest::initTestCase() {
    QVERIFY(app_.isValid());
    for (const char* file : {"Voltaro.dat", "Zephlib.so"})
        QVERIFY(QFile::copy(QStringLiteral(VOLTARO_TEST_APP_DIR "/") + file, app_.filePath(file)));
}

Run CommandsTest::run(const QStringList& args) {
    QProcess process;
    process.start(kCli, QStringList{"--app-dir", app_.path()} + args);
    Run result;
    if (!process.waitForFinished(60000)) return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// clang-format off
// Answers worked by hand: six 10 AWG THHN are 6 x 0.0211 = 0.1266 sq in, over the 0.122 allowed in
// 1/2 EMT and under 0.213 in 3/4; 75000 / (480 x 1.732) = 90.2136 A; a 20 A motor at 480 V needs
// the first size rated 20 A or more at 460 V: 00 3.4, 0 7.6, 1 14, 2 34.
void CommandsTest::commands_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");  // for usage errors, the start of stderr

    const QStringList sixThhn{"conduit", "--wire", "10 - THHN", "--wire", "10 - THHN", "--wire", "10 - THHN",
                              "--wire", "10 - THHN", "--wire", "10 - THHN", "--wire", "10 - THHN"};
    QTest::newRow("six 10 THHN in EMT") << sixThhn << 0 << QByteArray("3/4 in.  EMT\n") << QByteArray();
    QTest::newRow("conduit type chosen, notes flagged")
        << QStringList{"conduit", "--type", "EMT-NIP*", "--wire", "10 - THHN"} << 0
        << QByteArray("1/2 in.  EMT-NIP*\nSee Notes\n") << QByteArray();
    QTest::newRow("empty conduit") << QStringList{"conduit"} << 1 << QByteArray()
                                   << QByteArray("No Conductors\nWere Selected.\n");
    QTest::newRow("conductor without an area")
        << QStringList{"conduit", "--wire", "10 - O'Brien"} << 1 << QByteArray()
        << QByteArray("No Area Listed For\nAWG 10 - O'Brien\n");
    QTest::newRow("unknown conduit type")
        << QStringList{"conduit", "--type", "emt", "--wire", "10 - THHN"} << 1 << QByteArray()
        << QByteArray("voltaro-cli: unknown conduit type \"emt\" (the types are: EMT ENT FMC IMC "
                      "LFNC-B LFNC-A LFMC RMC PVC-80 PVC-40 PVC-A PVC-EB EMT-NIP*)\n");
    QTest::newRow("75 KVA at 480 V three phase")
        << QStringList{"transformer", "--mode", "amps", "--phase", "three", "--input", "75", "--volts", "480"}
        << 0 << QByteArray("90.21 Full Load Amps\nThree Phase\n") << QByteArray();
    QTest::newRow("100 A at 240 V single phase")
        << QStringList{"transformer", "--mode", "kva", "--phase", "single", "--input", "100", "--volts", "240"}
        << 0 << QByteArray("24 KVA\nSingle Phase\n") << QByteArray();
    QTest::newRow("3000000 KVA overflows")
        << QStringList{"transformer", "--mode", "amps", "--phase", "three", "--input", "3000000", "--volts", "480"}
        << 1 << QByteArray() << QByteArray("Values Too High\nCannot Compute.\n");
    QTest::newRow("20 A at 480 V starter") << QStringList{"starter", "--amps", "20", "--volts", "480"}
                                           << 0 << QByteArray("Use Size 2 Starter\n") << QByteArray();
    QTest::newRow("40000 V starter") << QStringList{"starter", "--amps", "20", "--volts", "40000"} << 1
                                     << QByteArray() << QByteArray("Values Too High\nCannot Compute.\n");
    QTest::newRow("576 V starter: lone CRs become newlines")
        << QStringList{"starter", "--amps", "20", "--volts", "576"} << 1 << QByteArray()
        << QByteArray("Volt Rating Is\nToo High.\n575 Volts Max.\n");
    QTest::newRow("enclosure 4X")
        << QStringList{"enclosure", "--id", "7"} << 0
        << QByteArray("NEMA 4X Enclosure\nWatertight, Corrosion-Res.\nSame as Type 4 and also\n"
                      "resists corrosion\n\n\n")
        << QByteArray();
    QTest::newRow("enclosure 19 does not exist") << QStringList{"enclosure", "--id", "19"} << 1 << QByteArray()
                                                 << QByteArray("No NEMA Enclosure\nWith That Number.\n");

    const QByteArray usage("usage: voltaro-cli");
    QTest::newRow("usage: transformer without volts")
        << QStringList{"transformer", "--mode", "kva", "--phase", "single", "--input", "1"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: unknown mode")
        << QStringList{"transformer", "--mode", "watts", "--phase", "single", "--input", "1", "--volts", "1"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: unknown phase")
        << QStringList{"transformer", "--mode", "kva", "--phase", "two", "--input", "1", "--volts", "1"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: starter twice given amps")
        << QStringList{"starter", "--amps", "1", "--amps", "2", "--volts", "480"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: starter without amps") << QStringList{"starter", "--volts", "480"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: enclosure without id") << QStringList{"enclosure"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: conduit with a stray word") << QStringList{"conduit", "10 - THHN"} << 2 << QByteArray() << usage;
    QTest::newRow("usage: conduit option without a value") << QStringList{"conduit", "--wire"} << 2 << QByteArray() << usage;
}
// clang-format on

void CommandsTest::commands() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const auto result = run(args);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, out);
    if (exitCode == 2)
        QVERIFY2(result.err.startsWith(err), result.err.constData());
    else
        QCOMPARE(result.err, err);
}

// clang-format off
void CommandsTest::logsEachCalculator_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("golden");
    QTest::newRow("conduit") << QStringList{"conduit", "--type", "EMT-NIP*", "--wire", "8 - RHW*",
                                            "--wire", "8 - RHW*", "--wire", "10 - THHN"}
                             << "conduit-nipple-notes-5-4.log";
    QTest::newRow("enclosure") << QStringList{"enclosure", "--id", "7"} << "enclosure-4x.log";
    QTest::newRow("transformer") << QStringList{"transformer", "--mode", "amps", "--phase", "three",
                                                "--input", "75", "--volts", "480"}
                                 << "transformer-75kva-480v-three.log";
    QTest::newRow("starter") << QStringList{"starter", "--amps", "20", "--volts", "480"}
                             << "starter-20a-480v.log";
}
// clang-format on

void CommandsTest::logsEachCalculator() {
    QFETCH(QStringList, args);
    QFETCH(QString, golden);
    const QString log = app_.filePath("result.log");
    QFile::remove(log);
    const auto result = run(args + QStringList{"--log", log});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), voltaro::testing::goldenLog(golden));
}

// clang-format off
void CommandsTest::errorLeavesTheLogAsItWas_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("conduit") << QStringList{"conduit", "--wire", "2000 - RHW", "--wire", "2000 - RHW",
                                            "--wire", "2000 - RHW", "--wire", "2000 - RHW",
                                            "--wire", "2000 - RHW"};
    QTest::newRow("enclosure") << QStringList{"enclosure", "--id", "0"};
    QTest::newRow("transformer") << QStringList{"transformer", "--mode", "amps", "--phase", "single",
                                                "--input", "75", "--volts", "0"};
    QTest::newRow("starter") << QStringList{"starter", "--amps", "1000", "--volts", "480"};
}
// clang-format on

void CommandsTest::errorLeavesTheLogAsItWas() {
    QFETCH(QStringList, args);
    const QString log = app_.filePath("previous.log");
    const QByteArray previous("\r\nan earlier result\r\n");
    {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(previous);
    }
    const auto result = run(args + QStringList{"--log", log});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QByteArray());
    QVERIFY(!result.err.isEmpty());
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), previous);
}

void CommandsTest::conduitLeavesNoConductorsBehind() {
    QCOMPARE(run({"conduit", "--wire", "10 - THHN", "--wire", "12 - TW"}).exitCode, 0);
    QCOMPARE(run({"conduit", "--wire", "10 - NOPE"}).exitCode, 1);
    const auto dump = run({"dump", "DragList"});
    QCOMPARE(dump.exitCode, 0);
    QCOMPARE(dump.out, QByteArray("WiresGa,WiresTy\n"));
}

QTEST_GUILESS_MAIN(CommandsTest)
#include "tst_raceway_equipment_commands.moc"
