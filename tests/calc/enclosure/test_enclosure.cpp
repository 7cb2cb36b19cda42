// The NEMA enclosure selector on a copy of the reference database: the entry at a number, its
// five description lines (empty ones kept), numbers that name no entry, and the results log.
#include <QtTest>

#include "calc/enclosure/enclosure.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::enclosure;

class EnclosureTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void selects_data();
    void selects();
    void logsOneResult();
    void unreadableTable();

private:
    std::unique_ptr<testing::CoreFixture> core_;
};

void EnclosureTest::init() { core_ = std::make_unique<testing::CoreFixture>(); }

// clang-format off
// Rows of refdata/enclosures.csv, 18 entries.
void EnclosureTest::selects_data() {
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QStringList>("display");  // empty: no such enclosure

    const QStringList first{"NEMA 1 Enclosure", "General Purpose, Indoor", "Keeps fingers off live",
                            "parts and keeps out", "falling dirt", ""};
    // clang-format off
    QTest::newRow("first entry, empty last line") << QByteArray("1") << first;
    QTest::newRow("two empty lines at the end")
        << QByteArray("7") << QStringList{"NEMA 4X Enclosure", "Watertight, Corrosion-Res.",
                       // clang-format on
                       "Same as Type 4 and also", "resists corrosion", "", ""};
    // clang-format off
    QTest::newRow("all five lines")
        << QByteArray("11") << QStringList{"NEMA 7 Enclosure", "Hazardous Loc., Class I",
                                                   // clang-format on
                                                   "Indoor, Division 1,", "gas groups A B C D;",
                                                   "contains an internal", "explosion"};
    // clang-format off
    QTest::newRow("last entry")
        << QByteArray("18") << QStringList{"NEMA 13 Enclosure", "Oiltight/Dusttight, Indoor",
                                               // clang-format on
                                               "Dust, lint, sprayed water,", "oil and noncorrosive",
                                               "coolant", ""};
    // clang-format off
    QTest::newRow("1.5 rounds to 2, not 1")
        << QByteArray("1.5") << QStringList{"NEMA 2 Enclosure", "Drip-Proof, Indoor",
                       // clang-format on
                       "Type 1 protection plus", "dripping and light", "splashing liquids", ""};
    // clang-format off
    QTest::newRow("trailing text ignored") << QByteArray(" 1st") << first;
    QTest::newRow("0 names none") << QByteArray("0") << QStringList{};
    QTest::newRow("one past the last") << QByteArray("19") << QStringList{};
    QTest::newRow("negative") << QByteArray("-1") << QStringList{};
    QTest::newRow("letters read as 0") << QByteArray("four") << QStringList{};
    QTest::newRow("empty") << QByteArray("") << QStringList{};
    QTest::newRow("beyond 16 bits") << QByteArray("65537") << QStringList{};
    QTest::newRow("1e309") << QByteArray("1e309") << QStringList{};
    QTest::newRow("a million digits") << QByteArray(1000000, '1') << QStringList{};
    // clang-format on
}
// clang-format on

void EnclosureTest::selects() {
    QFETCH(QByteArray, id);
    QFETCH(QStringList, display);
    const auto outcome = selectEnclosure(core_->db(), std::string_view(id.constData(), id.size()));
    if (display.isEmpty()) {
        const auto* failure = std::get_if<calc::Failure>(&outcome);
        QVERIFY(failure != nullptr);
        QCOMPARE(failure->message, std::string(kNoSuchEnclosure));
        return;
    }
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QStringList lines;
    for (const auto& line : answer->displayLines) lines << QString::fromStdString(line);
    QCOMPARE(lines, display);
}

void EnclosureTest::logsOneResult() {
    const auto outcome = selectEnclosure(core_->db(), 7);
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QCOMPARE(QByteArray::fromStdString(answer->log.bytes()), testing::golden("enclosure-4x.log"));
}

void EnclosureTest::unreadableTable() {
    QVERIFY(!core_->db().execute("DROP TABLE Enclosures"));
    const auto outcome = selectEnclosure(core_->db(), 1);
    const auto* failure = std::get_if<calc::Failure>(&outcome);
    QVERIFY(failure != nullptr);
    QCOMPARE(failure->cause, calc::Cause::ReferenceData);
    QVERIFY(failure->message.rfind("Reference Database Error:\r\n", 0) == 0);
}

QTEST_APPLESS_MAIN(EnclosureTest)
#include "test_enclosure.moc"
