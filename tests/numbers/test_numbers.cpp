// How typed numbers are read and answers are written.
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <regex>
#include <string>

#include "numbers/numbers.h"

using namespace voltaro::numbers;

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsLeadingNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        // clang-format off
        QTest::newRow("plain") << QByteArray("40") << 40.0;
        QTest::newRow("fraction") << QByteArray("12.5") << 12.5;
        QTest::newRow("leading blanks") << QByteArray("  \t 7") << 7.0;
        QTest::newRow("unit after it") << QByteArray("45A") << 45.0;
        QTest::newRow("Fahrenheit suffix") << QByteArray("104F") << 104.0;
        QTest::newRow("second point ends it") << QByteArray("1.2.3") << 1.2;
        QTest::newRow("comma is not a point") << QByteArray("1,5") << 1.0;
        QTest::newRow("negative") << QByteArray("-3.5") << -3.5;
        QTest::newRow("plus sign") << QByteArray("+8") << 8.0;
        QTest::newRow("point first") << QByteArray(".5") << 0.5;
        QTest::newRow("point last") << QByteArray("5.") << 5.0;
        QTest::newRow("exponent") << QByteArray("1.5E3") << 1500.0;
        QTest::newRow("lower-case exponent") << QByteArray("2e-2") << 0.02;
        QTest::newRow("exponent without digits") << QByteArray("3E") << 3.0;
        QTest::newRow("exponent sign only") << QByteArray("3e+x") << 3.0;
        QTest::newRow("letters") << QByteArray("abc") << 0.0;
        QTest::newRow("empty") << QByteArray("") << 0.0;
        QTest::newRow("blanks only") << QByteArray("   ") << 0.0;
        QTest::newRow("sign only") << QByteArray("-") << 0.0;
        QTest::newRow("point only") << QByteArray(".") << 0.0;
        QTest::newRow("blank inside") << QByteArray("1 2") << 1.0;
        QTest::newRow("control character first") << QByteArray("\x01" "5") << 0.0;
        QTest::newRow("tiny underflows to zero") << QByteArray("1e-400") << 0.0;
        QTest::newRow("zero with huge exponent") << QByteArray("0e999999") << 0.0;
        QTest::newRow("leading zeros") << QByteArray("0007.25") << 7.25;
        // clang-format on
    }
    void readsLeadingNumber() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        const auto reading = readLeading(std::string_view(text.constData(), text.size()));
        QVERIFY(!reading.overflow);
        QCOMPARE(reading.value, value);
    }

    void reportsOverflow_data() {
        QTest::addColumn<QByteArray>("text");
        // clang-format off
        QTest::newRow("1e309") << QByteArray("1e309");
        QTest::newRow("negative") << QByteArray("-1e309");
        QTest::newRow("million nines") << QByteArray(1'000'000, '9');
        QTest::newRow("small mantissa, huge exponent") << QByteArray("0.001e400");
        QTest::newRow("exponent beyond any int") << QByteArray("1e99999999999999999999");
        // clang-format on
    }
    void reportsOverflow() {
        QFETCH(QByteArray, text);
        const auto reading = readLeading(std::string_view(text.constData(), text.size()));
        QVERIFY(reading.overflow);
        QCOMPARE(reading.value, 0.0);
    }

    void millionDigitsInRange() {
        // A long run of zeros after the point is still an ordinary number.
        const std::string text = "0." + std::string(1'000'000, '0') + "1";
        const auto reading = readLeading(text);
        QVERIFY(!reading.overflow);
        QCOMPARE(reading.value, 0.0);
        const std::string big = "12" + std::string(300, '0');
        QCOMPARE(readLeading(big).value, 1.2e301);
    }

    void roundsHalfToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        // clang-format off
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("112.5") << 112.5 << 112;
        QTest::newRow("7.5") << 7.5 << 8;
        // clang-format on
    }
    void roundsHalfToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(toInt32(value), std::optional<std::int32_t>(rounded));
        QCOMPARE(toInt16(value), std::optional<std::int16_t>(static_cast<std::int16_t>(rounded)));
    }

    void fitsIntegers() {
        QCOMPARE(toInt16(32767.0), std::optional<std::int16_t>(32767));
        QCOMPARE(toInt16(32767.5), std::nullopt);  // rounds to 32768
        QCOMPARE(toInt16(32766.5), std::optional<std::int16_t>(32766));
        QCOMPARE(toInt16(-32768.0), std::optional<std::int16_t>(-32768));
        QCOMPARE(toInt16(-32768.5), std::optional<std::int16_t>(-32768));  // even neighbour
        QCOMPARE(toInt16(-32769.0), std::nullopt);
        QCOMPARE(toInt16(40000.0), std::nullopt);
        QCOMPARE(toInt32(2147483647.0), std::optional<std::int32_t>(2147483647));
        QCOMPARE(toInt32(2147483647.5), std::nullopt);
        QCOMPARE(toInt32(-2147483648.0), std::optional<std::int32_t>(-2147483647 - 1));
        QCOMPARE(toInt32(-2147483649.0), std::nullopt);
        QCOMPARE(toInt32(std::numeric_limits<double>::infinity()), std::nullopt);
        QCOMPARE(toInt32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    }

    void writesGeneralFormat_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("whole") << 24.0 << "24";
        QTest::newRow("two decimals") << 19.68 << "19.68";
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("no trailing zeros") << 12.50 << "12.5";
        QTest::newRow("negative") << -3.25 << "-3.25";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("15 significant digits") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("binary noise hidden") << 0.1 + 0.2 << "0.3";
        QTest::newRow("largest plain") << 999999999999999.0 << "999999999999999";
        QTest::newRow("exponent above") << 1e15 << "1E+15";
        QTest::newRow("small plain") << 0.0001 << "0.0001";
        QTest::newRow("exponent below") << 0.00001 << "1E-05";
        QTest::newRow("thousands unseparated") << 1234567.0 << "1234567";
        QTest::newRow("product of factors") << 50 * 0.88 * 0.8 << "35.2";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "Infinity";
        // clang-format on
    }
    void writesGeneralFormat() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(general(value)), text);
    }

    void generalFormatReadsBack() {
        // What is written is read back as the same value (to 15 digits), for criteria and logs.
        for (const double v : {0.1, 2.5, 90.21, 1234.5678, 6000.0, 1e-3, 7e20}) {
            const auto text = general(v);
            const double back = readLeading(text).value;
            QVERIFY2(std::fabs(back - v) <= std::fabs(v) * 1e-14, text.c_str());
        }
    }

    void readsStrictly() {
        // What the walk below cannot reach: other characters, and numbers a double cannot hold.
        for (const char* refused : {"5\n", "\xef\xbc\x95", "1,5", "12abc"})
            QVERIFY2(!readStrict(refused), refused);
        QVERIFY(!readStrict(std::string_view("5\0", 2)));
        QCOMPARE(readStrict(std::string(400, '9')), std::numeric_limits<double>::infinity());
        QCOMPARE(readStrict("0." + std::string(400, '0') + "1"), std::optional<double>(0.0));
        QCOMPARE(readStrict(" \t12.5\t "), std::optional<double>(12.5));
        // Every text of up to five characters over an alphabet with each kind of character the
        // rule names: accepted exactly when it has the plain shape, with the value strtod reads.
        const std::string alphabet = " \t09.e-,a+";
        const std::regex plain(R"([ \t]*(\d+\.?\d*|\.\d+)[ \t]*)");
        std::string text;
        const std::function<void()> walk = [&] {
            const auto reading = readStrict(text);
            if (reading.has_value() != std::regex_match(text, plain))
                QFAIL(qPrintable("wrong verdict on \"" + QString::fromStdString(text) + "\""));
            if (reading && *reading != std::strtod(text.c_str(), nullptr))
                QFAIL(qPrintable("wrong value of \"" + QString::fromStdString(text) + "\""));
            if (text.size() == 5) return;
            for (const char c : alphabet) {
                text.push_back(c);
                walk();
                text.pop_back();
                if (QTest::currentTestFailed()) return;
            }
        };
        walk();
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
