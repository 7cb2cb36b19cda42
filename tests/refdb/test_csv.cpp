// The CSV reader of the table sources and the writer of voltaro-cli dump.
#include <QTest>

#include "refdb/csv.h"

using namespace voltaro::refdb;

class TestCsv : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parses() {
        auto rows = parseCsv("a,b,c\n1,\"x, y\",\n\"say \"\"hi\"\"\",\"two\nlines\",3\r\n");
        QVERIFY(rows);
        QCOMPARE(rows->size(), std::size_t{3});
        QCOMPARE((*rows)[1], (CsvRow{"1", "x, y", ""}));
        QCOMPARE((*rows)[2], (CsvRow{"say \"hi\"", "two\nlines", "3"}));
        QCOMPARE(parseCsv("x")->front(), CsvRow{"x"});
        QCOMPARE(parseCsv("")->size(), std::size_t{0});
        QCOMPARE(parseCsv("\"\"\n")->front(), CsvRow{""});
    }

    void rejectsBrokenQuotes() {
        std::string error;
        QVERIFY(!parseCsv("a,\"open\n", &error));
        QVERIFY(error.find("line") != std::string::npos);
        QVERIFY(!parseCsv("a,b\"c\n"));
        QVERIFY(!parseCsv("\"a\"b\n"));
    }

    void quotesOnlyWhereNeeded() {
        QCOMPARE(csvField("THHN"), std::string("THHN"));
        QCOMPARE(csvField("Outdoor, Dust"), std::string("\"Outdoor, Dust\""));
        QCOMPARE(csvField("6\" max"), std::string("\"6\"\" max\""));
        QCOMPARE(csvField("a\nb"), std::string("\"a\nb\""));
        QCOMPARE(csvField(""), std::string(""));
        QCOMPARE(csvLine({"1", "a,b", ""}), std::string("1,\"a,b\","));
        // What is written reads back the same.
        const CsvRow row = {"plain", "with, comma", "with \"quotes\"", "", "line\r\nbreak"};
        QCOMPARE(parseCsv(csvLine(row) + "\n")->front(), row);
    }
};

QTEST_APPLESS_MAIN(TestCsv)
#include "test_csv.moc"
