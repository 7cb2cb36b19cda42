// The voltage-drop calculator on a copy of the reference database: answers worked by hand from
// Chapter 9 Tables 8 and 9, the columns picked, the smallest-size search, refusals, lists, log.
#include <QtTest>

#include "calc/vdrop/vdrop.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::vdrop;

Q_DECLARE_METATYPE(Inputs)

class VoltageDropTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::CoreFixture> core_;

private Q_SLOTS:
    void init() { core_ = std::make_unique<testing::CoreFixture>(); }

    void answers_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("expected");  // the display lines joined by "|", or the message
        const auto with = [](System system, std::string volts, std::string amps, std::string feet,
                             Material material, std::string size, Conduit conduit = Conduit::Steel,
                             std::string pf = "0.85", std::string limit = "3") {
            return Inputs{system, volts, amps, feet, material, size, conduit, pf, limit};
        };
        const auto S = System::Single, T = System::Three, D = System::Dc;
        const auto Cu = Material::Copper, Al = Material::Aluminum;
        // clang-format off
    // DC: 2 x 4 A x 100 ft x 4.99 (16 AWG stranded) / 1000; within 3 % (0.72 V) Z <= 0.9: 8 AWG.
    QTest::newRow("DC 24 V 16 AWG") << with(D, "24", "4", "100", Cu, "16") << "Voltage Drop: 3.99 V (16.63 %)|At Load: 20.01 V|Smallest For 3 %: 8";
    // 2 x 16 A x 50 ft x 1.2 / 1000; Z <= 2.156 within 3 %: 12 AWG (2.0).
    QTest::newRow("single 115 V 10 AWG PF 1") << with(S, "115", "16", "50", Cu, "10", Conduit::Steel, "1") << "Voltage Drop: 1.92 V (1.67 %)|At Load: 113.08 V|Smallest For 3 %: 12";
    // sqrt 3 x 100 A x 200 ft x (0.25 x 0.85 + 0.047 x 0.527) / 1000; within 14.4 V: 4 AWG, not 6.
    QTest::newRow("three phase 3 AWG in PVC") << with(T, "480", "100", "200", Cu, "3", Conduit::Pvc) << "Voltage Drop: 8.22 V (1.71 %)|At Load: 471.78 V|Smallest For 3 %: 4";
    // 1000 kcmil at PF 0.5: Z = R / 2 + X x 0.866, the conduit picking both columns.
    QTest::newRow("PVC: r_cu_pvc, xl_pvc_al") << with(S, "480", "1000", "100", Cu, "1000", Conduit::Pvc, "0.5") << "Voltage Drop: 7.91 V (1.65 %)|At Load: 472.09 V|Smallest For 3 %: 4/0";
    QTest::newRow("aluminum conduit: r_cu_al") << with(S, "480", "1000", "100", Cu, "1000", Conduit::Aluminum, "0.5") << "Voltage Drop: 8.31 V (1.73 %)|At Load: 471.69 V|Smallest For 3 %: 4/0";
    QTest::newRow("steel: r_cu_steel, xl_steel") << with(S, "480", "1000", "100", Cu, "1000", Conduit::Steel, "0.5") << "Voltage Drop: 9.77 V (2.03 %)|At Load: 470.23 V|Smallest For 3 %: 300";
    QTest::newRow("aluminum 12 AWG, the smallest it has") << with(S, "120", "10", "50", Al, "12") << "Voltage Drop: 2.76 V (2.30 %)|At Load: 117.24 V|Smallest For 3 %: 12";
    // 2 x 10 A x 100 ft x 0.778 / 1000 = 1.556 V of 100 V: a limit equal to it is met.
    QTest::newRow("just under it is not") << with(D, "100", "10", "100", Cu, "8", Conduit::Steel, "0.85", "1.555") << "Voltage Drop: 1.56 V (1.56 %)|At Load: 98.44 V|Smallest For 1.555 %: 6";
    QTest::newRow("limit met exactly") << with(D, "100", "10", "100", Cu, "8", Conduit::Steel, "0.85", "1.556") << "Voltage Drop: 1.56 V (1.56 %)|At Load: 98.44 V|Smallest For 1.556 %: 8";
    QTest::newRow("no size within, limit as typed") << with(D, "12", "100", "1000", Cu, "2000", Conduit::Steel, "0.85", " 5. ") << "Voltage Drop: 1.29 V (10.72 %)|At Load: 10.71 V|No Size Within 5. %";
    QTest::newRow("DC reads no power factor") << with(D, "24", "4", "100", Cu, "18", Conduit::Pvc, "none") << "Voltage Drop: 6.36 V (26.50 %)|At Load: 17.64 V|Smallest For 3 %: 8";
    QTest::newRow("size with a blank margin") << with(S, "120", "10", "50", Cu, " 1/0 ") << "Voltage Drop: 0.13 V (0.11 %)|At Load: 119.87 V|Smallest For 3 %: 14";
    QTest::newRow("volts 12abc") << with(S, "12abc", "1", "1", Cu, "12") << "Enter Volts As\rA Plain Number,\rFor Example 120.";
    QTest::newRow("amps 0") << with(S, "120", "0", "1", Cu, "12") << "Amps Must Be\rAbove 0.";
    QTest::newRow("length 7,5") << with(S, "120", "1", "7,5", Cu, "12") << "Enter Length As\rA Plain Number,\rFor Example 100.";
    QTest::newRow("power factor empty") << with(T, "120", "1", "1", Cu, "12", Conduit::Steel, "") << "Enter Power Factor As\rA Plain Number,\rFor Example 0.85.";
    QTest::newRow("volts beyond a double") << with(S, std::string(400, '9'), "1", "1", Cu, "12") << "Volts Too Large\rTo Compute.";
    QTest::newRow("power factor 0") << with(S, "120", "1", "1", Cu, "12", Conduit::Steel, "0") << "Power Factor Must Be\rAbove 0 And At Most 1.";
    QTest::newRow("limit 100") << with(S, "120", "1", "1", Cu, "12", Conduit::Steel, "0.85", "100") << "Limit Must Be Above\r0 And Below 100 %.";
    QTest::newRow("14 AWG aluminum: a dash in Table 9") << with(S, "120", "1", "1", Al, "14") << "Size 14 Is Not Listed\rFor Aluminum In\rChapter 9 Table 9.";
    QTest::newRow("18 AWG is in Table 8 only") << with(T, "120", "1", "1", Cu, "18") << "Size 18 Is Not Listed\rFor Copper In\rChapter 9 Table 9.";
    QTest::newRow("drop beyond the supply") << with(D, "12", "20", "1000", Cu, "18") << "The Drop Reaches\rThe Supply Volts:\rUse A Larger Size.";
    QTest::newRow("drop too large for a double") << with(D, "12", "1" + std::string(300, '0'), "1" + std::string(300, '0'), Cu, "8") << "The Drop Reaches\rThe Supply Volts:\rUse A Larger Size.";
        // clang-format on
    }
    void answers() {
        QFETCH(Inputs, in);
        QFETCH(QString, expected);
        QCOMPARE(testing::shown(calculateVoltageDrop(core_->db(), in)), std::optional(expected));
    }

    void sizeLists() {
        const auto list = [&](System system, Material material) {
            const auto sizes = std::get<0>(calc::vdrop::sizes(core_->db(), system, material));
            return sizes.front() + " " + sizes[5] + " " + sizes.back() + " (" +
                   std::to_string(sizes.size()) + ")";
        };
        // Table 8 lists 18 to 8 AWG twice (solid, stranded); Table 9 a dash for 14 AWG aluminum.
        QCOMPARE(list(System::Dc, Material::Aluminum), std::string("18 8 2000 (30)"));
        QCOMPARE(list(System::Three, Material::Copper), std::string("14 4 1000 (21)"));
        QCOMPARE(list(System::Single, Material::Aluminum), std::string("12 3 1000 (20)"));
    }

    void logsOneResult() {
        const Inputs in{System::Three, "480", "100", "200", Material::Copper, "3", Conduit::Pvc};
        const auto outcome = calculateVoltageDrop(core_->db(), in);
        QCOMPARE(QByteArray::fromStdString(std::get<calc::Answer>(outcome).log.bytes()),
                 testing::golden("vdrop-480v-three-3awg-pvc.log"));
    }

    void unreadableTable() {
        QVERIFY(!core_->db().execute("DROP TABLE Ch9Table8"));
        const auto outcome = calculateVoltageDrop(core_->db(), Inputs{System::Dc});
        QCOMPARE(std::get<calc::Failure>(outcome).cause, calc::Cause::ReferenceData);
        QVERIFY(std::holds_alternative<calc::Failure>(
            sizes(core_->db(), System::Dc, Material::Copper)));
    }
};

QTEST_APPLESS_MAIN(VoltageDropTest)
#include "test_vdrop.moc"
