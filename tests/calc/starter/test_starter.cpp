// The motor starter calculator on a copy of the reference database: the voltage columns and their
// edges, the rounding of the volts, greater-or-equal matching, empty ratings, every message, and
// the results log.
#include <QtTest>

#include "calc/starter/starter.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::starter;

class StarterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void sizes_data();
    void sizes();
    void logsOneResult();
    void logsInputsAsTyped();
    void unanswerableTablesCannotCompute_data();
    void unanswerableTablesCannotCompute();

private:
    std::unique_ptr<testing::CoreFixture> core_;
};

void StarterTest::init() { core_ = std::make_unique<testing::CoreFixture>(); }

// clang-format off
// Ratings from the NEMA starter table (refdata/starter.csv), amperes at 200 / 230 / 460 V:
// 00: 6.9 / 6 / 3.4, 0: 11 / 9.6 / 7.6, 1: 25.3 / 22 / 14, 2: 32.2 / 42 / 34, ...,
// 6: 414 / 480 / 477, 7 to 9: no ratings. 11 A tells the 200 V column (size 0) from the 230 V
// one (size 1); 8 A tells the 230 V column (size 0) from the 460 V one (size 1).
void StarterTest::sizes_data() {
    QTest::addColumn<QByteArray>("amps");
    QTest::addColumn<QByteArray>("volts");
    QTest::addColumn<QString>("expected");  // the display line, or the message

    const QString volts = QString::fromLatin1(kVoltsTooHigh.data(), kVoltsTooHigh.size());
    const QString amps = QString::fromLatin1(kAmpsTooHigh.data(), kAmpsTooHigh.size());
    const QString cannot = QString::fromLatin1(kCannotCompute.data(), kCannotCompute.size());

    // clang-format off
    QTest::newRow("20 A at 480 V") << QByteArray("20") << QByteArray("480") << "Use Size 2 Starter";
    QTest::newRow("215 V: 200 V column, equal rating matches") << QByteArray("11") << QByteArray("215") << "Use Size 0 Starter";
    QTest::newRow("216 V: 230 V column") << QByteArray("11") << QByteArray("216") << "Use Size 1 Starter";
    QTest::newRow("215.5 V rounds to 216") << QByteArray("11") << QByteArray("215.5") << "Use Size 1 Starter";
    QTest::newRow("250 V: 230 V column") << QByteArray("8") << QByteArray("250") << "Use Size 0 Starter";
    QTest::newRow("250.5 V rounds to 250") << QByteArray("8") << QByteArray("250.5") << "Use Size 0 Starter";
    QTest::newRow("251 V: 460 V column") << QByteArray("8") << QByteArray("251") << "Use Size 1 Starter";
    QTest::newRow("575 V is accepted") << QByteArray("8") << QByteArray("575") << "Use Size 1 Starter";
    QTest::newRow("0 V: 200 V column") << QByteArray("11") << QByteArray("0") << "Use Size 0 Starter";
    QTest::newRow("negative volts: 200 V column") << QByteArray("11") << QByteArray("-480") << "Use Size 0 Starter";
    QTest::newRow("letters for volts read as 0") << QByteArray("11") << QByteArray("volts") << "Use Size 0 Starter";
    QTest::newRow("12.5 A at 230 V") << QByteArray("12.5") << QByteArray("230") << "Use Size 1 Starter";
    QTest::newRow("amperes written with 15 digits") << QByteArray("14.00000000000001") << QByteArray("480") << "Use Size 1 Starter";
    QTest::newRow("480 A at 230 V: the last rated size") << QByteArray("480") << QByteArray("230") << "Use Size 6 Starter";
    QTest::newRow("negative amperes: the smallest size") << QByteArray("-5") << QByteArray("480") << "Use Size 00 Starter";
    QTest::newRow("letters for amperes read as 0") << QByteArray("full") << QByteArray("480") << "Use Size 00 Starter";
    QTest::newRow("576 V: volts message") << QByteArray("20") << QByteArray("576") << volts;
    QTest::newRow("575.5 V rounds to 576") << QByteArray("20") << QByteArray("575.5") << volts;
    QTest::newRow("32767 V fits 16 bits but is too high") << QByteArray("20") << QByteArray("32767") << volts;
    QTest::newRow("40000 V beyond 16 bits") << QByteArray("20") << QByteArray("40000") << cannot;
    QTest::newRow("-40000 V beyond 16 bits") << QByteArray("20") << QByteArray("-40000") << cannot;
    QTest::newRow("volts 1e309") << QByteArray("20") << QByteArray("1e309") << cannot;
    QTest::newRow("amperes 1e309") << QByteArray("1e309") << QByteArray("480") << cannot;
    QTest::newRow("amperes of a million digits") << QByteArray(1000000, '7') << QByteArray("480") << cannot;
    QTest::newRow("481 A at 230 V: empty ratings never match") << QByteArray("481") << QByteArray("230") << amps;
    QTest::newRow("478 A at 480 V above every rating") << QByteArray("478") << QByteArray("480") << amps;
    QTest::newRow("1e300 A") << QByteArray("1e300") << QByteArray("208") << amps;
    QTest::newRow("control characters after the numbers") << QByteArray("20\x01") << QByteArray("480\x7f") << "Use Size 2 Starter";
    // clang-format on
}
// clang-format on

void StarterTest::sizes() {
    QFETCH(QByteArray, amps);
    QFETCH(QByteArray, volts);
    QFETCH(QString, expected);
    const auto outcome = calculateStarter(core_->db(), {amps.toStdString(), volts.toStdString()});
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        QCOMPARE(QString::fromStdString(failure->message), expected);
        QCOMPARE(failure->cause, calc::Cause::Input);
        return;
    }
    const auto& answer = std::get<calc::Answer>(outcome);
    QCOMPARE(answer.displayLines, std::vector<std::string>{expected.toStdString()});
}

void StarterTest::logsOneResult() {
    const auto outcome = calculateStarter(core_->db(), {"20", "480"});
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QCOMPARE(QByteArray::fromStdString(answer->log.bytes()),
             testing::golden("starter-20a-480v.log"));
}

void StarterTest::logsInputsAsTyped() {
    const auto outcome = calculateStarter(core_->db(), {" 20 A", "480V"});
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    const auto lines = QString::fromStdString(answer->log.bytes()).split("\r\n");
    QCOMPARE(lines.mid(7), (QStringList{"Full Load Amps:  20 A", "Voltage: 480V", "", "",
                                        "Use Starter Size:  2", ""}));
}

// The reference data's fault, told with the panel's own message.
void StarterTest::unanswerableTablesCannotCompute_data() {
    QTest::addColumn<QString>("change");
    // clang-format off
    QTest::newRow("empty size") << "UPDATE Starter SET Size = '' WHERE Size = '2'";
    QTest::newRow("unreadable table") << "DROP TABLE Starter";
    // clang-format on
}

void StarterTest::unanswerableTablesCannotCompute() {
    QFETCH(QString, change);
    QVERIFY(!core_->db().execute(change.toStdString()));
    const auto outcome = calculateStarter(core_->db(), {"20", "480"});
    const auto* failure = std::get_if<calc::Failure>(&outcome);
    QVERIFY(failure != nullptr);
    QCOMPARE(failure->message, std::string(kCannotCompute));
    QCOMPARE(failure->cause, calc::Cause::ReferenceData);
}

QTEST_APPLESS_MAIN(StarterTest)
#include "test_starter.moc"
