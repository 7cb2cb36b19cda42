// The motor current calculator on a copy of the reference database: horsepower as written, the
// column the volts pick, answers worked from the tables, refusals, the lists and the log.
#include <QtTest>

#include "calc/motor/motor.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::motor;

class MotorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::CoreFixture> core_;

private Q_SLOTS:
    void init() { core_ = std::make_unique<testing::CoreFixture>(); }

    void readsHorsepower() {
        for (const char* half : {"1 1/2", "1-1/2", " 1.5 ", "1\t 1/2", "3/2"})
            QCOMPARE(readHorsepower(half), std::optional(1.5));
        QCOMPARE(readHorsepower("7-1/2"), std::optional(7.5));
        for (const char* bad : {"", "1/0", "1/", "/2", "1-", "1 -1/2", "1--1/2", "-1/2", "1.5/2",
                                "1 1/2 HP", "1,5", "1e1", "1/2/3"})
            QVERIFY2(!readHorsepower(bad), bad);
    }

    void picksColumn() {
        // clang-format off
        const struct { double volts; int single, three; } rows[] = {
            {109.9, 0, 0}, {110, 115, 115}, {120, 115, 115}, {120.1, 0, 0}, {200, 200, 200}, {200.5, 0, 0},
            {208, 208, 208}, {219.9, 0, 0}, {220, 230, 230}, {240, 230, 230}, {241, 0, 0}, {439, 0, 0},
            {440, 0, 460}, {480, 0, 460}, {549, 0, 0}, {550, 0, 575}, {600, 0, 575}, {601, 0, 0},
            {2300, 0, 2300}, {2299, 0, 0},
        };
        // clang-format on
        for (const auto& row : rows) {
            QCOMPARE(ratedVolts(Phase::Single, row.volts).value_or(0), row.single);
            QCOMPARE(ratedVolts(Phase::Three, row.volts).value_or(0), row.three);
        }
    }

    void answers_data() {
        QTest::addColumn<QString>("hp");
        QTest::addColumn<bool>("three");
        QTest::addColumn<QString>("volts");
        QTest::addColumn<QString>("expected");  // the display lines joined by "|", or the message
        // clang-format off
        // Starter ratings at 460 V: 00 3.4, 0 7.6, 1 14, 2 34 ... 6 477; at 200 V: 00 6.9, 0 11.
        QTest::newRow("25 hp at 575 V") << "25" << true << "575" << "Full Load Amps: 27|Conductor Ampacity (125 %): 33.75|Use Size 2 Starter";
        QTest::newRow("10 hp at 460 V: rating equal to the current") << "10" << true << "460" << "Full Load Amps: 14|Conductor Ampacity (125 %): 17.5|Use Size 1 Starter";
        QTest::newRow("12.0 A written 12") << "1-1/2" << true << "115" << "Full Load Amps: 12|Conductor Ampacity (125 %): 15|Use Size 1 Starter";
        QTest::newRow("a half cent rounds up") << "1/2" << true << "575" << "Full Load Amps: 0.9|Conductor Ampacity (125 %): 1.13|Use Size 00 Starter";
        QTest::newRow("no starter rated") << "500" << true << "460" << "Full Load Amps: 590|Conductor Ampacity (125 %): 737.5|No Starter Size Rated For 590 A";
        QTest::newRow("600 V: above the starter table") << "10" << true << "600" << "Full Load Amps: 11|Conductor Ampacity (125 %): 13.75";
        QTest::newRow("2300 V") << "100" << true << "2300" << "Full Load Amps: 26|Conductor Ampacity (125 %): 32.5";
        QTest::newRow("single phase: no starter") << "1" << false << "230" << "Full Load Amps: 8|Conductor Ampacity (125 %): 10";
        QTest::newRow("dash in the table") << "5" << true << "115" << "No Current Listed For\r5 HP At 115 V\rThree Phase.";
        QTest::newRow("4 hp not listed") << "4" << true << "460" << "4 HP Is Not Listed\rFor Three Phase Motors.\rNearest Listed: 3, 5";
        QTest::newRow("above the table") << "15" << false << "230" << "15 HP Is Not Listed\rFor Single Phase Motors.\rNearest Listed: 10";
        QTest::newRow("horsepower unreadable") << "ten" << true << "460" << "Enter Horsepower As\r10, 1/2, 1 1/2,\r1-1/2 Or 1.5.";
        QTest::newRow("volts 460V") << "10" << true << "460V" << "Enter Volts As\rA Plain Number,\rFor Example 460.";
        QTest::newRow("no column three phase") << "10" << true << "300" << "No Column For 300 V.\rUse 110-120, 200, 208, 220-240,\r440-480, 550-600 Or 2300 V.";
        QTest::newRow("no column single phase") << "1" << false << "460" << "No Column For 460 V.\rUse 110-120, 200, 208\rOr 220-240 V.";
        // clang-format on
    }
    void answers() {
        QFETCH(QString, hp);
        QFETCH(bool, three);
        QFETCH(QString, volts);
        QFETCH(QString, expected);
        const Inputs in{hp.toStdString(), three ? Phase::Three : Phase::Single,
                        volts.toStdString()};
        QCOMPARE(testing::shown(calculateMotor(core_->db(), in)), std::optional(expected));
    }

    void horsepowerLists() {
        const auto list = [&](Phase phase) {
            const auto ratings = std::get<0>(horsepowers(core_->db(), phase));
            return ratings.front() + " " + ratings[6] + " " + ratings.back() + " (" +
                   std::to_string(ratings.size()) + ")";
        };
        QCOMPARE(list(Phase::Single), std::string("1/6 1-1/2 10 (12)"));
        QCOMPARE(list(Phase::Three), std::string("1/2 5 500 (27)"));
    }

    void logsOneResult() {
        const auto outcome = calculateMotor(core_->db(), {"25", Phase::Three, "575"});
        QCOMPARE(QByteArray::fromStdString(std::get<calc::Answer>(outcome).log.bytes()),
                 testing::golden("motor-25hp-575v-three.log"));
    }

    // The reference data's fault, the motor tables' and the starter table's alike.
    void unreadableTables() {
        for (const char* table : {"Starter", "Motor3Ph"}) {
            QVERIFY(!core_->db().execute(std::string("DROP TABLE ") + table));
            const auto outcome = calculateMotor(core_->db(), {"10", Phase::Three, "460"});
            QCOMPARE(std::get<calc::Failure>(outcome).cause, calc::Cause::ReferenceData);
        }
    }
};

QTEST_APPLESS_MAIN(MotorTest)
#include "test_motor.moc"
