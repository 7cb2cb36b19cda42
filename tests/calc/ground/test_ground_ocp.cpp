// The fuse or breaker and equipment ground for a current, against 240-6(a) standard ratings and
// Table 250-122 (expected values read from the code tables by hand).
#include <QTest>

#include "calc/ground/ground_ocp.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using calc::ground::GroundInputs;

class TestGroundOcp : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::CoreFixture> core_;

    calc::Outcome calculate(const GroundInputs& inputs) {
        core_->notes.fill(true);  // what a failed try may leave: none of it reaches this answer
        return calc::ground::calculateGround(core_->db(), core_->notes, inputs);
    }

private Q_SLOTS:
    void init() { core_ = std::make_unique<testing::CoreFixture>(); }
    void readCurrent_data();
    void readCurrent();
    void calculate_data();
    void calculate();
    void answerAndLogMatchTheGoldenFile();
    void emptyTables_data();
    void emptyTables();
};

void TestGroundOcp::readCurrent_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("amps");
    // clang-format off
    QTest::newRow("15.5 -> 16") << "15.5" << 16;
    QTest::newRow("16.5 -> 16") << "16.5" << 16;
    QTest::newRow("17.5 -> 18") << "17.5" << 18;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("45A") << "45A" << 45;
    QTest::newRow("2147483647.4") << "2147483647.4" << 2147483647;
    QTest::newRow("beyond 32 bits") << "2147483648" << 2147483647;
    QTest::newRow("1e309") << "1e309" << 2147483647;
    QTest::newRow("below 32 bits") << "-1e12" << -2147483647 - 1;
    QTest::newRow("-1e309") << "-1e309" << -2147483647 - 1;
    // clang-format on
}

void TestGroundOcp::readCurrent() {
    QFETCH(QString, typed);
    QFETCH(int, amps);
    QCOMPARE(calc::ground::readCurrent(typed.toStdString()), amps);
}

void TestGroundOcp::calculate_data() {
    QTest::addColumn<QString>("amps");
    QTest::addColumn<QString>("material");
    QTest::addColumn<QString>("expected");  // display lines joined by '|', or the message
    QTest::addColumn<bool>("note9");

    const QString tooHigh = calc::ground::kAmpRatingTooHigh;
    // clang-format off
    QTest::newRow("45A copper") << "45" << "Copper" << "10 Ground|45 Fuse|See Notes" << false;
    QTest::newRow("45A aluminum") << "45" << "Aluminum" << "8 Ground|45 Fuse|See Notes" << false;
    QTest::newRow("46A takes 50") << "46" << "Copper" << "10 Ground|50 Fuse|See Notes" << false;
    QTest::newRow("100A aluminum") << "100" << "Aluminum" << "6 Ground|100 Fuse|See Notes" << false;
    QTest::newRow("101A takes 110") << "101" << "Copper" << "6 Ground|110 Fuse|See Notes" << false;
    QTest::newRow("15.5 reads 16") << "15.5" << "Copper" << "12 Ground|20 Fuse|See Notes" << false;
    QTest::newRow("14.5 reads 14") << "14.5" << "Copper" << "14 Ground|15 Fuse|See Notes" << false;
    QTest::newRow("0 takes the smallest") << "0" << "Copper" << "14 Ground|15 Fuse|See Notes" << false;
    QTest::newRow("negative takes the smallest") << "-30" << "Aluminum" << "12 Ground|15 Fuse|See Notes" << false;
    QTest::newRow("empty takes the smallest") << "" << "Copper" << "14 Ground|15 Fuse|See Notes" << false;
    QTest::newRow("800A no note 9") << "800" << "Copper" << "1/0 Ground|800 Fuse|See Notes" << false;
    QTest::newRow("801A note 9") << "801" << "Copper" << "2/0 Ground|1000 Fuse|See Notes" << true;
    QTest::newRow("6000A aluminum") << "6000" << "Aluminum" << "1200 Ground|6000 Fuse|See Notes" << true;
    QTest::newRow("6001A too high") << "6001" << "Copper" << tooHigh << true;
    QTest::newRow("beyond 32 bits too high") << "99999999999" << "Copper" << tooHigh << true;
    QTest::newRow("1e309 too high") << "1e309" << "Aluminum" << tooHigh << true;
    QTest::newRow("a million nines too high") << QString(1'000'000, '9') << "Copper" << tooHigh << true;
    QTest::newRow("control characters read as 0") << "\x01\x1b[2J" << "Copper" << "14 Ground|15 Fuse|See Notes" << false;
    // clang-format on
}

void TestGroundOcp::calculate() {
    QFETCH(QString, amps);
    QFETCH(QString, material);
    QFETCH(QString, expected);
    QFETCH(bool, note9);

    const auto outcome = calculate({amps.toStdString(), material.toStdString()});
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        QCOMPARE(QString::fromStdString(failure->message), expected);
    } else {
        QStringList lines;
        for (const auto& line : std::get<calc::Answer>(outcome).displayLines)
            lines << QString::fromStdString(line);
        QCOMPARE(lines.join('|'), expected);
    }
    QCOMPARE(core_->notes[9], note9);
    for (int i = 1; i <= 12; ++i)
        if (i != 9) QVERIFY(!core_->notes[static_cast<std::size_t>(i)]);
}

void TestGroundOcp::answerAndLogMatchTheGoldenFile() {
    const auto outcome = calculate({"801", "Aluminum"});
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer);
    QCOMPARE(QByteArray::fromStdString(answer->log.bytes()),
             testing::golden("ground-801a-aluminum.log"));
}

void TestGroundOcp::emptyTables_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("no fuse ratings") << "DELETE FROM FuseSize"
                                     << "Reference Database Error:\r\nFuseSize holds no ratings.";
    QTest::newRow("no ground sizes") << "DELETE FROM GndWire" << calc::ground::kNoGroundWire;
    QTest::newRow("ground table stops short") << "DELETE FROM GndWire WHERE OCP >= 40"
                                              << calc::ground::kNoGroundWire;
    // clang-format on
}

void TestGroundOcp::emptyTables() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    QVERIFY(!core_->db().execute(change.toStdString()));
    const auto outcome = calculate({"45", "Copper"});
    const auto* failure = std::get_if<calc::Failure>(&outcome);
    QVERIFY(failure);
    QCOMPARE(QString::fromStdString(failure->message), message);
}

QTEST_GUILESS_MAIN(TestGroundOcp)
#include "test_ground_ocp.moc"
