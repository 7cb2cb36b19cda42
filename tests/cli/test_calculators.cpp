// voltaro-cli's calculators (wire, ground, conduit, vdrop, motor and the others), run as a user
// runs them against a copy of the application folder: what goes to stdout and stderr, the exit
// status, the --log file (written on an answer, left alone on an error), and DragList left empty.
#include <QtTest>

#include "tests/support/cli_runner.h"
#include "tests/support/golden.h"

using voltaro::testing::CliRun;

class CommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commands_data();
    void commands();
    void logsEachCalculator_data();
    void logsEachCalculator();
    void conduitLeavesNoConductorsBehind();

private:
    CliRun run(const QStringList& args) {
        return voltaro::testing::runCli(QStringList{"--app-dir", app_.path()} + args);
    }
    QTemporaryDir app_;
};

void CommandsTest::initTestCase() {
    QVERIFY(app_.isValid());
    for (const char* file : {"Voltaro.dat", "Zephlib.so"})
        QVERIFY(QFile::copy(QStringLiteral(VOLTARO_TEST_APP_DIR "/") + file, app_.filePath(file)));
}

// clang-format off
// Answers worked by hand from Table 310-16, Table 250-122 and the conduit tables: six 10 AWG THHN
// are 6 x 0.0211 = 0.1266 sq in, over the 0.122 allowed in 1/2 EMT and under 0.213 in 3/4;
// 75000 / (480 x 1.732) = 90.2136 A; a 20 A motor at 480 V needs the first size rated 20 A or more
// at 460 V: 00 3.4, 0 7.6, 1 14, 2 34.
void CommandsTest::commands_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");  // for usage errors, what stderr holds

    // clang-format off
    QTest::newRow("40A copper THHN, 6 conductors, 40C")
        << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN", "--conductors", "6", "--ambient", "40"}
        << 0 << "8  (THHN)\nDe-Rated Amps: 40.04\nCircuit Max Amps: 40\nSee Notes\n" << "";
    QTest::newRow("same job, ambient typed as 104F")
        << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN", "--conductors", "6", "--ambient", "104F"}
        << 0 << "8  (THHN)\nDe-Rated Amps: 40.04\nCircuit Max Amps: 40\nSee Notes\n" << "";
    QTest::newRow("48A copper THW at 35C")
        << QStringList{"wire", "--amps", "48", "--material", "Copper", "--insulation", "THW", "--conductors", "3", "--ambient", "35"}
        << 0 << "6  (THW)\nDe-Rated Amps: 61.1\nCircuit Max Amps: 55\nSee Notes\n" << "";
    QTest::newRow("150A aluminum THHN, 75C terminals")
        << QStringList{"wire", "--amps", "150", "--material", "Aluminum", "--insulation", "THHN", "--conductors", "3", "--ambient", "30", "--terminal-auto", "off"}
        << 0 << "3/0  (THHN)\nDe-Rated Amps: 175\nCircuit Max Amps: 155\nSee Notes\n" << "";
    QTest::newRow("2000A wire")
        << QStringList{"wire", "--amps", "2000", "--material", "Copper", "--insulation", "THHN", "--conductors", "3", "--ambient", "30"}
        << 1 << "" << "Full Load Amps\nToo High.\n";
    QTest::newRow("ambient 190F")
        << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN", "--conductors", "3", "--ambient", "190F"}
        << 1 << "" << "Enter Temp Between\n21C - 80C\n70F - 176F\n";
    QTest::newRow("control characters as amperes")
        << QStringList{"wire", "--amps", "\x01\x1b[2J", "--material", "Copper", "--insulation", "THHN", "--conductors", "3", "--ambient", "30"}
        << 1 << "" << "Amperes Too Low.\n";
    QTest::newRow("control characters in a conductor come back escaped")
        << QStringList{"conduit", "--wire", "10 - \x1b[31mX"} << 1 << "" << "No Area Listed For\nAWG 10 - \\x1b[31mX\n";
    QTest::newRow("ground and fuse for 45A") << QStringList{"ground", "--amps", "45", "--material", "Copper"}
                                             << 0 << "10 Ground\n45 Fuse\nSee Notes\n" << "";
    QTest::newRow("ground and fuse for 400A aluminum") << QStringList{"ground", "--amps", "400", "--material", "Aluminum"}
                                                       << 0 << "1 Ground\n400 Fuse\nSee Notes\n" << "";
    QTest::newRow("6001A ground") << QStringList{"ground", "--amps", "6001", "--material", "Copper"}
                                  << 1 << "" << "Amp Rating Is\nToo High,\n6000 Amps Max.\n";
    // clang-format on

    const QStringList sixThhn{"conduit",   "--wire",    "10 - THHN", "--wire",    "10 - THHN",
                              "--wire",    "10 - THHN", "--wire",    "10 - THHN", "--wire",
                              "10 - THHN", "--wire",    "10 - THHN"};
    // clang-format off
    QTest::newRow("six 10 THHN in EMT") << sixThhn << 0 << "3/4 in.  EMT\n" << "";
    QTest::newRow("conduit type chosen, notes flagged")
        << QStringList{"conduit", "--type", "EMT-NIP*", "--wire", "10 - THHN"} << 0
        << "1/2 in.  EMT-NIP*\nSee Notes\n" << "";
    QTest::newRow("empty conduit") << QStringList{"conduit"} << 1 << "" << "No Conductors\nWere Selected.\n";
    QTest::newRow("conductor without an area")
        << QStringList{"conduit", "--wire", "10 - O'Brien"} << 1 << "" << "No Area Listed For\nAWG 10 - O'Brien\n";
    QTest::newRow("five 2000 RHW fill no conduit")
        << QStringList{"conduit", "--wire", "2000 - RHW", "--wire", "2000 - RHW", "--wire", "2000 - RHW",
                       // clang-format on
                       "--wire", "2000 - RHW", "--wire", "2000 - RHW"}  // clang-format off
        << 1 << "" << "Trade Size Conduit\nNot Large Enough.\n";
    QTest::newRow("unknown conduit type")
        << QStringList{"conduit", "--type", "emt", "--wire", "10 - THHN"} << 1 << ""
        << "voltaro-cli: unknown conduit type \"emt\" (the types are: EMT, ENT, FMC, IMC, "
                                                                        // clang-format on
           "LFNC-B, LFNC-A, LFMC, RMC, PVC-80, PVC-40, PVC-A, PVC-EB, EMT-NIP*)\n";
    // clang-format off
    QTest::newRow("control characters in a conduit type come back escaped")
        << QStringList{"conduit", "--type", "\x1b[2J\n\xc2\x9b", "--wire", "10 - THHN"} << 1 << ""
        << "voltaro-cli: unknown conduit type \"\\x1b[2J\\n\\u009b\" (the types are: EMT, ENT, FMC, "
           // clang-format on
           "IMC, LFNC-B, LFNC-A, LFMC, RMC, PVC-80, PVC-40, PVC-A, PVC-EB, EMT-NIP*)\n";
    // clang-format off
    QTest::newRow("insulation type the table does not hold")
        << QStringList{"wire", "--amps", "20", "--material", "Aluminum", "--insulation", "TFN", "--conductors", "3", "--ambient", "30"}
        << 1 << "" << "voltaro-cli: no insulation type \"TFN\" in the Aluminum table (the types are: RH, RHH, RHW, "
           // clang-format on
           "RHW-2, SA, SIS, TBS, THHN, THHW (dry), THHW (wet), THW, THW-2, THWN, THWN-2, TW, UF, "
           "USE, "
           "USE-2, XHH, XHHW (dry), XHHW (wet), XHHW-2, ZW-2)\n";
    // clang-format off
    QTest::newRow("75 KVA at 480 V three phase")
        << QStringList{"transformer", "--mode", "amps", "--phase", "three", "--input", "75", "--volts", "480"}
        << 0 << "90.21 Full Load Amps\nThree Phase\n" << "";
    QTest::newRow("112.5 KVA at 240 V: the KVA as typed")
        << QStringList{"transformer", "--mode", "amps", "--phase", "single", "--input", "112.5", "--volts", "240"}
        << 0 << "468.75 Full Load Amps\nSingle Phase\n" << "";
    QTest::newRow("100 A at 240 V single phase")
        << QStringList{"transformer", "--mode", "kva", "--phase", "single", "--input", "100", "--volts", "240"}
        << 0 << "24 KVA\nSingle Phase\n" << "";
    QTest::newRow("3000000 KVA overflows")
        << QStringList{"transformer", "--mode", "amps", "--phase", "three", "--input", "3000000", "--volts", "480"}
        << 1 << "" << "Values Too High\nCannot Compute.\n";
    QTest::newRow("75 KVA at 0 V")
        << QStringList{"transformer", "--mode", "amps", "--phase", "single", "--input", "75", "--volts", "0"}
        << 1 << "" << "Values Too High\nCannot Compute.\n";
    QTest::newRow("20 A at 480 V starter") << QStringList{"starter", "--amps", "20", "--volts", "480"}
                                           << 0 << "Use Size 2 Starter\n" << "";
    QTest::newRow("40000 V starter") << QStringList{"starter", "--amps", "20", "--volts", "40000"} << 1
                                     << "" << "Values Too High\nCannot Compute.\n";
    QTest::newRow("576 V starter: lone CRs become newlines")
        << QStringList{"starter", "--amps", "20", "--volts", "576"} << 1 << ""
        << "Volt Rating Is\nToo High.\n575 Volts Max.\n";
    QTest::newRow("1000 A starter") << QStringList{"starter", "--amps", "1000", "--volts", "480"} << 1
                                    << "" << "Amp Rating Is Too\n High For The Voltage Entered.\n";
    QTest::newRow("enclosure 4X")
        << QStringList{"enclosure", "--id", "7"} << 0
        << "NEMA 4X Enclosure\nWatertight, Corrosion-Res.\nSame as Type 4 and also\nresists corrosion\n\n\n"
        << "";
    QTest::newRow("enclosure 19 does not exist") << QStringList{"enclosure", "--id", "19"} << 1 << ""
                                                 << "No NEMA Enclosure\nWith That Number.\n";
    QTest::newRow("enclosure 0 does not exist") << QStringList{"enclosure", "--id", "0"} << 1 << ""
                                                << "No NEMA Enclosure\nWith That Number.\n";
    QTest::newRow("vdrop DC 24 V 16 AWG")
        << QStringList{"vdrop", "--system", "dc", "--volts", "24", "--amps", "4", "--length", "100", "--material", "Copper", "--size", "16"}
        << 0 << "Voltage Drop: 3.99 V (16.63 %)\nAt Load: 20.01 V\nSmallest For 3 %: 8\n" << "";
    QTest::newRow("vdrop 14 AWG aluminum")
        << QStringList{"vdrop", "--system", "three", "--volts", "480", "--amps", "4", "--length", "100", "--material", "Aluminum", "--size", "14", "--conduit", "PVC"}
        << 1 << "" << "Size 14 Is Not Listed\nFor Aluminum In\nChapter 9 Table 9.\n";
    QTest::newRow("motor 25 hp at 575 V") << QStringList{"motor", "--hp", "25", "--phase", "three", "--volts", "575"}
        << 0 << "Full Load Amps: 27\nConductor Ampacity (125 %): 33.75\nUse Size 2 Starter\n" << "";
    // clang-format on

    const QString usage("usage: voltaro-cli");
    // clang-format off
    QTest::newRow("usage: wire without ambient")
        << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN", "--conductors", "3"} << 2 << "" << usage;
    QTest::newRow("usage: material in lower case")
        << QStringList{"wire", "--amps", "20", "--material", "copper", "--insulation", "THHN", "--conductors", "3", "--ambient", "30"} << 2 << "" << usage;
    QTest::newRow("usage: terminal-auto yes")
        << QStringList{"wire", "--amps", "20", "--material", "Copper", "--insulation", "THHN", "--conductors", "3", "--ambient", "30", "--terminal-auto", "yes"} << 2 << "" << usage;
    QTest::newRow("usage: ground without material") << QStringList{"ground", "--amps", "20"} << 2 << "" << usage;
    QTest::newRow("usage: ground twice amps")
        << QStringList{"ground", "--amps", "20", "--amps", "30", "--material", "Copper"} << 2 << "" << usage;
    QTest::newRow("usage: transformer without volts")
        << QStringList{"transformer", "--mode", "kva", "--phase", "single", "--input", "1"} << 2 << "" << usage;
    QTest::newRow("usage: unknown mode")
        << QStringList{"transformer", "--mode", "watts", "--phase", "single", "--input", "1", "--volts", "1"} << 2 << "" << usage;
    QTest::newRow("usage: unknown phase")
        << QStringList{"transformer", "--mode", "kva", "--phase", "two", "--input", "1", "--volts", "1"} << 2 << "" << usage;
    QTest::newRow("usage: starter twice given amps")
        << QStringList{"starter", "--amps", "1", "--amps", "2", "--volts", "480"} << 2 << "" << usage;
    QTest::newRow("usage: starter without amps") << QStringList{"starter", "--volts", "480"} << 2 << "" << usage;
    QTest::newRow("usage: enclosure without id") << QStringList{"enclosure"} << 2 << "" << usage;
    QTest::newRow("usage: conduit with a stray word") << QStringList{"conduit", "10 - THHN"} << 2 << "" << usage;
    QTest::newRow("usage: conduit option without a value") << QStringList{"conduit", "--wire"} << 2 << "" << usage;
    QTest::newRow("usage: vdrop dc with a power factor")
        << QStringList{"vdrop", "--system", "dc", "--volts", "24", "--amps", "4", "--length", "100", "--material", "Copper", "--size", "16", "--pf", "1"} << 2 << "" << usage;
    QTest::newRow("usage: motor phase 3") << QStringList{"motor", "--hp", "10", "--phase", "3", "--volts", "460"} << 2 << "" << usage;
    // clang-format on
}
// clang-format on

void CommandsTest::commands() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    if (exitCode == 2) {
        const auto result = run(args);
        QCOMPARE(result.status, exitCode);
        QCOMPARE(result.out, out);
        QVERIFY2(result.err.contains(err), qPrintable(result.err));
        return;
    }
    // An error leaves the results log as it was: the earlier result is still there.
    const QString log = app_.filePath("previous.log");
    const QByteArray previous("\r\nan earlier result\r\n");
    {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(previous);
    }
    const auto result = run(exitCode == 0 ? args : args + QStringList{"--log", log});
    QCOMPARE(result.status, exitCode);
    QCOMPARE(result.out, out);
    QCOMPARE(result.err, err);
    if (exitCode != 0) QCOMPARE(voltaro::testing::fileBytes(log.toStdString()), previous);
}

// clang-format off
void CommandsTest::logsEachCalculator_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("golden");
    // clang-format off
    QTest::newRow("wire") << QStringList{"wire", "--amps", "40", "--material", "Copper", "--insulation", "THHN",
                                         // clang-format on
                                         "--conductors", "6", "--ambient", "104F"}
                          // clang-format off
                          << "wire-40a-thhn-6-at-40c.log";
    QTest::newRow("ground") << QStringList{"ground", "--amps", "801", "--material", "Aluminum"}
                            << "ground-801a-aluminum.log";
    QTest::newRow("conduit") << QStringList{"conduit", "--type", "EMT-NIP*", "--wire", "8 - RHW*",
                                            // clang-format on
                                            "--wire", "8 - RHW*", "--wire", "10 - THHN"}
                             // clang-format off
                             << "conduit-nipple-notes-5-4.log";
    QTest::newRow("enclosure") << QStringList{"enclosure", "--id", "7"} << "enclosure-4x.log";
    QTest::newRow("transformer") << QStringList{"transformer", "--mode", "amps", "--phase", "three",
                                                // clang-format on
                                                "--input", "75", "--volts", "480"}
                                 // clang-format off
                                 << "transformer-75kva-480v-three.log";
    QTest::newRow("starter") << QStringList{"starter", "--amps", "20", "--volts", "480"}
                             << "starter-20a-480v.log";
    QTest::newRow("vdrop") << QStringList{"vdrop", "--system", "three", "--volts", "480", "--amps", "100", "--length", "200", "--material", "Copper", "--size", "3", "--conduit", "PVC"}
                           << "vdrop-480v-three-3awg-pvc.log";
    QTest::newRow("motor") << QStringList{"motor", "--hp", "25", "--phase", "three", "--volts", "575"}
                           << "motor-25hp-575v-three.log";
    // clang-format on
}
// clang-format on

void CommandsTest::logsEachCalculator() {
    QFETCH(QStringList, args);
    QFETCH(QString, golden);
    const QString log = app_.filePath("result.log");
    QFile::remove(log);
    const auto result = run(args + QStringList{"--log", log});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QString());
    QCOMPARE(voltaro::testing::fileBytes(log.toStdString()),
             voltaro::testing::golden(golden.toLatin1().constData()));
}

void CommandsTest::conduitLeavesNoConductorsBehind() {
    QCOMPARE(run({"conduit", "--wire", "10 - THHN", "--wire", "12 - TW"}).status, 0);
    QCOMPARE(run({"conduit", "--wire", "10 - NOPE"}).status, 1);
    const auto dump = run({"dump", "DragList"});
    QCOMPARE(dump.status, 0);
    QCOMPARE(dump.out, QString("WiresGa,WiresTy\n"));
}

QTEST_GUILESS_MAIN(CommandsTest)
#include "test_calculators.moc"
