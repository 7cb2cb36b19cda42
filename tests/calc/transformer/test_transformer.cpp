// The transformer calculator: both formulas, the KVA as typed and its 32-bit product, the
// failures, two-decimal rounding, and what goes on the display and into the results log.
#include <QtTest>

#include "calc/transformer/transformer.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::transformer;

namespace {

Inputs inputs(const QString& mode, const QString& phase, const QByteArray& first,
              const QByteArray& volts) {
    Inputs in;
    in.mode = mode == "kva" ? Mode::Kva : Mode::Amperes;
    in.phase = phase == "single" ? Phase::Single : Phase::Three;
    in.first = first.toStdString();
    in.volts = volts.toStdString();
    return in;
}

QStringList linesOf(const calc::Answer& answer) {
    QStringList lines;
    for (const auto& line : answer.displayLines) lines << QString::fromStdString(line);
    return lines;
}

}  // namespace

class TransformerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void roundsAtTheSecondDecimal_data();
    void roundsAtTheSecondDecimal();
    void logsOneResult();
    void logNamesTheModeAndKeepsInputsAsTyped_data();
    void logNamesTheModeAndKeepsInputsAsTyped();
};

// clang-format off
// Expected answers worked by hand: KVA = V x A / 1000 (x 1.732 for three phase); amperes =
// KVA x 1000 / V (/ 1.732 for three phase); two decimals. "" means the error message.
void TransformerTest::answers_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("volts");
    QTest::addColumn<QString>("firstLine");

    // clang-format off
    QTest::newRow("100 A at 240 V single phase") << "kva" << "single" << QByteArray("100") << QByteArray("240") << "24 KVA";
    QTest::newRow("100 A at 480 V three phase: 83.136") << "kva" << "three" << QByteArray("100") << QByteArray("480") << "83.14 KVA";
    QTest::newRow("1.732 as written, not the square root of 3") << "kva" << "three" << QByteArray("1000") << QByteArray("1000") << "1732 KVA";
    QTest::newRow("75 KVA at 480 V three phase") << "amps" << "three" << QByteArray("75") << QByteArray("480") << "90.21 Full Load Amps";
    QTest::newRow("7.5 KVA as typed, not 8") << "amps" << "single" << QByteArray("7.5") << QByteArray("240") << "31.25 Full Load Amps";
    QTest::newRow("112.5 KVA as typed, not 112") << "amps" << "single" << QByteArray("112.5") << QByteArray("240") << "468.75 Full Load Amps";
    QTest::newRow("37.5 KVA three phase") << "amps" << "three" << QByteArray("37.5") << QByteArray("208") << "104.09 Full Load Amps";
    QTest::newRow("2.5 KVA as typed, not 2") << "amps" << "single" << QByteArray("2.5") << QByteArray("240") << "10.42 Full Load Amps";
    QTest::newRow("0.4 KVA as typed, not 0") << "amps" << "single" << QByteArray("0.4") << QByteArray("240") << "1.67 Full Load Amps";
    QTest::newRow("2147483.647 KVA: 32 bits of volt-amperes") << "amps" << "single" << QByteArray("2147483.647") << QByteArray("1000") << "2147483.65 Full Load Amps";
    QTest::newRow("-2147483.648 KVA still fits") << "amps" << "single" << QByteArray("-2147483.648") << QByteArray("1000") << "-2147483.65 Full Load Amps";
    QTest::newRow("2147483.648 KVA overflows 32 bits") << "amps" << "single" << QByteArray("2147483.648") << QByteArray("1000") << "";
    QTest::newRow("-2147484 KVA overflows 32 bits") << "amps" << "single" << QByteArray("-2147484") << QByteArray("1000") << "";
    QTest::newRow("3000000 KVA overflows 32 bits") << "amps" << "three" << QByteArray("3000000") << QByteArray("480") << "";
    QTest::newRow("KVA beyond 32 bits before the product") << "amps" << "single" << QByteArray("1e12") << QByteArray("480") << "";
    QTest::newRow("amperes mode, 0 V: division by zero") << "amps" << "single" << QByteArray("75") << QByteArray("0") << "";
    QTest::newRow("amperes mode, -0 V: division by zero") << "amps" << "three" << QByteArray("75") << QByteArray("-0") << "";
    QTest::newRow("amperes mode, 0 KVA and 0 V: 0/0") << "amps" << "three" << QByteArray("0") << QByteArray("0") << "";
    QTest::newRow("amperes mode, empty boxes: 0/0") << "amps" << "single" << QByteArray("") << QByteArray("") << "";
    QTest::newRow("amperes mode, tiny volts overflow the quotient") << "amps" << "single" << QByteArray("75") << QByteArray("1e-320") << "";
    QTest::newRow("KVA mode, letters read as 0") << "kva" << "single" << QByteArray("abc") << QByteArray("240") << "0 KVA";
    QTest::newRow("KVA mode, empty boxes give 0") << "kva" << "three" << QByteArray("") << QByteArray("") << "0 KVA";
    QTest::newRow("leading blanks and trailing units") << "kva" << "single" << QByteArray("  100A") << QByteArray("240 V") << "24 KVA";
    QTest::newRow("negative amperes pass through") << "kva" << "single" << QByteArray("-100") << QByteArray("240") << "-24 KVA";
    QTest::newRow("large answer in general format") << "kva" << "single" << QByteArray("1e15") << QByteArray("1000") << "1E+15 KVA";
    QTest::newRow("amperes 1e309 cannot be read") << "kva" << "single" << QByteArray("1e309") << QByteArray("240") << "";
    QTest::newRow("volts 1e309 cannot be read") << "kva" << "single" << QByteArray("100") << QByteArray("1e309") << "";
    QTest::newRow("a million digits cannot be read") << "kva" << "three" << QByteArray(1000000, '9') << QByteArray("240") << "";
    QTest::newRow("product too large for a double") << "kva" << "single" << QByteArray("1e200") << QByteArray("1e200") << "";
    QTest::newRow("amperes mode, volts x 1.732 beyond a double") << "amps" << "three" << QByteArray("75") << QByteArray("1.5e308") << "";
    QTest::newRow("amperes mode, answer rounds past the largest double") << "amps" << "single" << QByteArray("2147483") << QByteArray("1.1945770712221554e-299") << "";
    QTest::newRow("amperes mode, answer just below that rounding") << "amps" << "single" << QByteArray("2147483") << QByteArray("1.19459e-299") << "1.79767367883542E+308 Full Load Amps";
    QTest::newRow("infinity times zero is no answer") << "kva" << "three" << QByteArray("0") << QByteArray("1.7e308") << "";
    QTest::newRow("control characters after the number") << "kva" << "single" << QByteArray("100\x01\x7f", 5) << QByteArray("240\r\n") << "24 KVA";
    // clang-format on
}
// clang-format on

void TransformerTest::answers() {
    QFETCH(QString, mode);
    QFETCH(QString, phase);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, volts);
    QFETCH(QString, firstLine);

    const auto outcome = calculateTransformer(inputs(mode, phase, first, volts));
    if (firstLine.isEmpty()) {
        const auto* failure = std::get_if<calc::Failure>(&outcome);
        QVERIFY(failure != nullptr);
        QCOMPARE(failure->message, std::string("Values Too High\r\nCannot Compute."));
        return;
    }
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QCOMPARE(linesOf(*answer),
             QStringList({firstLine, phase == "single" ? "Single Phase" : "Three Phase"}));
}

// clang-format off
void TransformerTest::roundsAtTheSecondDecimal_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    // clang-format off
    QTest::newRow("83.136") << 83.136 << 83.14;
    QTest::newRow("90.2135...") << 75000.0 / (480 * 1.732) << 90.21;
    QTest::newRow("decimal half up: 1.005") << 1.005 << 1.01;  // 1.00499999... in binary
    QTest::newRow("decimal half up: 0.125") << 0.125 << 0.13;
    QTest::newRow("carry into the units: 9.995") << 9.995 << 10.0;
    QTest::newRow("below half a cent") << 0.0049 << 0.0;
    QTest::newRow("half a cent") << 0.005 << 0.01;
    QTest::newRow("far below a cent") << 1e-9 << 0.0;
    QTest::newRow("negative halves away from zero") << -2.675 << -2.68;
    QTest::newRow("beyond 15 digits unchanged") << 1e20 << 1e20;
    // clang-format on
}
// clang-format on

void TransformerTest::roundsAtTheSecondDecimal() {
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(roundToCents(value), rounded);
}

void TransformerTest::logsOneResult() {
    const auto outcome = calculateTransformer(inputs("amps", "three", "75", "480"));
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QCOMPARE(QByteArray::fromStdString(answer->log.bytes()),
             testing::golden("transformer-75kva-480v-three.log"));
}

// clang-format off
void TransformerTest::logNamesTheModeAndKeepsInputsAsTyped_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("volts");
    QTest::addColumn<QStringList>("lines");  // the log after its seven heading lines
    // clang-format off
    QTest::newRow("KVA mode") << "kva" << "single" << QByteArray(" 100 A") << QByteArray("240V")
                              << QStringList{"~ Calculate KVA ~", "", "Full Load Amps:  100 A",
                                             // clang-format on
                                             "Power: Single Phase", "Voltage: 240V", "",
                                             "Transformer KVA Rating:  24", ""};
    // clang-format off
    QTest::newRow("amperes mode") << "amps" << "single" << QByteArray("7.5") << QByteArray("240")
                                  << QStringList{"~ Calculate Transformer ~", "",
                                                 // clang-format on
                                                 "Transformer KVA: 7.5", "Power: Single Phase",
                                                 "Voltage: 240", "",
                                                 "Transformer Full Load Amps:  31.25", ""};
}
// clang-format on

void TransformerTest::logNamesTheModeAndKeepsInputsAsTyped() {
    QFETCH(QString, mode);
    QFETCH(QString, phase);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, volts);
    QFETCH(QStringList, lines);
    const auto outcome = calculateTransformer(inputs(mode, phase, first, volts));
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    const auto all = QString::fromStdString(answer->log.bytes()).split("\r\n");
    QCOMPARE(all.mid(5), lines);
}

QTEST_APPLESS_MAIN(TransformerTest)
#include "test_transformer.moc"
