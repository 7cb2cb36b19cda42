// The conduit size calculation on a copy of the reference database: the fill column by conductor
// count, strictly-greater fill (equal totals move on), note flags 4, 5 and 8 with their order,
// every message, DragList as the panel keeps it, and the results log.
#include <QtTest>

#include "calc/common/footnotes.h"
#include "calc/conduit/conduit.h"
#include "tests/support/core_fixture.h"
#include "tests/support/golden.h"

using namespace voltaro;
using namespace voltaro::calc::conduit;

namespace {

QStringList times(int count, const QString& entry) {
    QStringList entries;
    for (int i = 0; i < count; ++i) entries << entry;
    return entries;
}

std::vector<std::string> entriesOf(const QStringList& list) {
    std::vector<std::string> entries;
    for (const auto& entry : list) entries.push_back(entry.toStdString());
    return entries;
}

QList<int> flagsOf(const calc::NoteFlags& notes) {
    QList<int> flags;
    for (int i = 1; i <= 12; ++i)
        if (notes[static_cast<std::size_t>(i)]) flags << i;
    return flags;
}

QStringList displayOf(const calc::Outcome& outcome) {
    QStringList lines;
    if (const auto* answer = std::get_if<calc::Answer>(&outcome))
        for (const auto& line : answer->displayLines) lines << QString::fromStdString(line);
    return lines;
}

QString messageOf(const calc::Outcome& outcome) {
    const auto* failure = std::get_if<calc::Failure>(&outcome);
    return failure ? QString::fromStdString(failure->message) : QString();
}

QString text(std::string_view message) { return QString::fromStdString(std::string(message)); }

}  // namespace

class ConduitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void sizes_data();
    void sizes();
    void logsOneResult();
    void logWithoutNotesEndsWithTheHeading();
    void readsTheConductorsTheDragListHolds();
    void leavesDragListAsItWas();
    void notesOfAFailedAttemptDoNotReachTheNext();
    void unreadableTable();

private:
    // The calculate press with the conduit holding `entries`.
    calc::Outcome press(const std::vector<std::string>& entries) {
        core_->notes.fill(true);  // what a failed try may leave: none of it reaches this answer
        return conduitForEntries(core_->db(), core_->notes, type_, entries);
    }

    std::unique_ptr<testing::CoreFixture> core_;
    ConduitType type_;
};

void ConduitTest::init() {
    core_ = std::make_unique<testing::CoreFixture>();
    type_ = {};
}

// clang-format off
// Worked by hand from refdata: conductor areas (conductor_area.csv, sq in) and the EMT allowances
// 1wire / 2wires / 2+wires (conduit_area.csv): 1/2 0.161 / 0.094 / 0.122, 3/4 0.283 / 0.165 /
// 0.213, 1 0.458 / 0.268 / 0.346, 1-1/2 .. / .. / 0.814, 2 .. / .. / 1.342.
void ConduitTest::sizes_data() {
    QTest::addColumn<QString>("abbr");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("expected");  // the trade size, or the whole message
    QTest::addColumn<QList<int>>("flags");

    const QString noSize = text(kNotLargeEnough);
    // 6 x 0.0211 = 0.1266 > 0.122
    // clang-format off
    QTest::newRow("six 10 THHN in EMT") << "EMT" << times(6, "10 - THHN") << "3/4" << QList<int>{};
    // 0.1562: under 0.161 (1wire), over 0.122 (2+wires)
    QTest::newRow("one conductor: one-conductor column") << "EMT" << QStringList{"1 - THHN"} << "1/2" << QList<int>{};
    // 2 x 0.0507 = 0.1014: over 0.094 (2wires), under 0.122 and 0.161
    QTest::newRow("two conductors: two-conductor column") << "EMT" << times(2, "6 - THHN") << "3/4" << QList<int>{};
    // 3 x 0.0366 = 0.1098: under 0.122 (2+wires), over 0.094 (2wires)
    QTest::newRow("three conductors: over-two column") << "EMT" << times(3, "8 - THHN") << "1/2" << QList<int>{};
    // 3 x 0.0507 = 0.1521 > 0.122; once would be 0.0507
    QTest::newRow("three identical conductors count three times") << "EMT" << times(3, "6 - THHN") << "3/4" << QList<int>{};
    // 10 x 0.0814 = 0.814, the 1-1/2 allowance exactly (0.8140000000000002 as a double sum)
    QTest::newRow("total equal to an allowance moves on") << "EMT" << times(10, "4 - XHHW") << "2" << QList<int>{};
    // 2 x 0.3 = 0.6, the ENT 1-1/2 two-conductor allowance; ENT 2 allows 0.993
    QTest::newRow("equal two-conductor allowance moves on") << "ENT" << times(2, "4/0 - PFA") << "2" << QList<int>{};
    // 30 x 0.0097 = 0.291, 31 x = 0.3007: both over 0.213, under 0.346
    QTest::newRow("30 conductors do not flag note 8") << "EMT" << times(30, "14 - THHN") << "1" << QList<int>{};
    QTest::newRow("31 conductors flag note 8") << "EMT" << times(31, "14 - THHN") << "1" << QList<int>{8};
    // 0.0556 under 0.161
    QTest::newRow("a type ending in * flags note 4") << "EMT" << QStringList{"8 - RHW*"} << "1/2" << QList<int>{4};
    // 0.0211 + 0.0556 = 0.0767 under 0.094
    QTest::newRow("one starred type among others") << "EMT" << QStringList{"10 - THHN", "8 - RHW*"} << "1/2" << QList<int>{4};
    // the nipple's one-conductor allowance at 1/2 is 0.182
    QTest::newRow("the nipple flags note 5") << "EMT-NIP*" << QStringList{"10 - THHN"} << "1/2" << QList<int>{5};
    // 10 x 3.3719 = 33.719, over the 4 in. 5.901
    QTest::newRow("no trade size large enough") << "EMT" << times(10, "2000 - RHW") << noSize << QList<int>{};
    QTest::newRow("no trade size: flags 5 and 8 still set") << "EMT-NIP*" << times(31, "2000 - RHW*") << noSize << QList<int>{4, 5, 8};
    QTest::newRow("a conduit type without sizes") << "XYZ" << QStringList{"10 - THHN"} << noSize << QList<int>{};
    QTest::newRow("a quote in the conduit type matches nothing") << "EMT' OR '1'='1" << QStringList{"10 - THHN"} << noSize << QList<int>{};
    QTest::newRow("empty conduit: no note flags") << "EMT-NIP*" << QStringList{} << text(kNoConductors) << QList<int>{};
    QTest::newRow("a type without areas") << "EMT" << QStringList{"10 - THHN", "10 - NOPE"} << "No Area Listed For\r\nAWG 10 - NOPE" << QList<int>{};
    QTest::newRow("a gauge the type lacks") << "EMT" << QStringList{"18 - THHN"} << "No Area Listed For\r\nAWG 18 - THHN" << QList<int>{};
    QTest::newRow("an entry without the separator") << "EMT" << QStringList{"10 THHN"} << "No Area Listed For\r\nAWG 10 THHN - " << QList<int>{};
    QTest::newRow("an apostrophe in the type") << "EMT" << QStringList{"10 - O'Brien"} << "No Area Listed For\r\nAWG 10 - O'Brien" << QList<int>{};
    QTest::newRow("a quote that would end the criterion") << "EMT" << QStringList{"10 - THHN' OR Type = 'TW"} << "No Area Listed For\r\nAWG 10 - THHN' OR Type = 'TW" << QList<int>{};
    QTest::newRow("a NUL in the type") << "EMT" << QStringList{QString("10 - THHN") + QChar(0)} << QString("No Area Listed For\r\nAWG 10 - THHN") + QChar(0) << QList<int>{};
    QTest::newRow("a tab after the type") << "EMT" << QStringList{"10 - THHN\t"} << "No Area Listed For\r\nAWG 10 - THHN\t" << QList<int>{};
    // clang-format on
}
// clang-format on

void ConduitTest::sizes() {
    QFETCH(QString, abbr);
    QFETCH(QStringList, entries);
    QFETCH(QString, expected);
    QFETCH(QList<int>, flags);

    type_.abbr = abbr.toStdString();
    const auto outcome = press(entriesOf(entries));
    if (expected.contains('\n')) {
        QCOMPARE(messageOf(outcome), expected);
    } else {
        QStringList display{expected + " in.  " + abbr};
        if (!flags.isEmpty()) display << "See Notes";
        QCOMPARE(displayOf(outcome), display);
    }
    QCOMPARE(flagsOf(core_->notes), flags);
}

void ConduitTest::logsOneResult() {
    type_ = {"EMT-NIP*", "EMT Nipple 24 in. Max (60% Fill)"};
    // 2 x 0.0556 + 0.0211 = 0.1323, under the nipple's 0.182 at 1/2
    const auto outcome = press({"8 - RHW*", "8 - RHW*", "10 - THHN"});
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    QCOMPARE(QByteArray::fromStdString(answer->log.bytes()),
             testing::golden("conduit-nipple-notes-5-4.log"));
}

void ConduitTest::logWithoutNotesEndsWithTheHeading() {
    const auto outcome = press(entriesOf(times(2, "10 - THHN")));
    const auto* answer = std::get_if<calc::Answer>(&outcome);
    QVERIFY(answer != nullptr);
    const auto lines = QString::fromStdString(answer->log.bytes()).split("\r\n");
    QCOMPARE(lines.mid(7),
             (QStringList{"Current Conduit Type: EMT", "", "Conductors Selected:", "",
                          "      1.\tAWG 10 - THHN", "      2.\tAWG 10 - THHN", "", "",
                          "Smallest Trade Size Conduit is:  1/2 in.  EMT", "", "Notes:", ""}));
}

void ConduitTest::readsTheConductorsTheDragListHolds() {
    // As the panel leaves it: three conductors dropped into the conduit, one by one.
    for (int i = 0; i < 3; ++i) QVERIFY(!addToDragList(core_->db(), {"6", "THHN"}));
    const std::vector<std::string> entries(3, "6 - THHN");
    QCOMPARE(displayOf(calculateConduit(core_->db(), core_->notes, type_, entries)),
             QStringList{"3/4 in.  EMT"});
    QCOMPARE(std::get<std::string>(CalPipe(core_->db(), core_->notes, "EMT")), std::string("3/4"));
}

void ConduitTest::leavesDragListAsItWas() {
    QVERIFY(!addToDragList(core_->db(), {"12", "TW"}));
    const auto outcome = press(entriesOf(times(6, "10 - THHN")));
    QCOMPARE(displayOf(outcome), QStringList{"3/4 in.  EMT"});  // the TW row was not counted
    auto rows = core_->db().openRecordset("SELECT * FROM DragList");
    QVERIFY(rows.ok());
    QCOMPARE(rows->recordCount(), 1);
    QCOMPARE(rows->field("WiresGa").text(), std::string("12"));
    QCOMPARE(rows->field("WiresTy").text(), std::string("TW"));
    // Only a temporary table is written: a connection that may not write the file answers too.
    auto readOnly =
        refdb::Database::open(core_->path(), core_->password(), refdb::Database::Access::ReadOnly);
    QVERIFY(readOnly.ok());
    QCOMPARE(displayOf(conduitForEntries(*readOnly, core_->notes, type_, {"10 - THHN"})),
             QStringList{"1/2 in.  EMT"});
}

void ConduitTest::notesOfAFailedAttemptDoNotReachTheNext() {
    type_.abbr = "EMT-NIP*";
    const auto failed = press(entriesOf(times(31, "2000 - RHW")));
    QCOMPARE(messageOf(failed), text(kNotLargeEnough));
    QCOMPARE(flagsOf(core_->notes), (QList<int>{5, 8}));

    // The panel stays open; the user empties the conduit and drops in one starred conductor.
    const auto outcome = press({"8 - RHW*"});
    QCOMPARE(displayOf(outcome), (QStringList{"1/2 in.  EMT-NIP*", "See Notes"}));
    const auto& log = std::get<calc::Answer>(outcome).log.bytes();
    // Notes 5 and 4, its own; not the failure's 8.
    const auto notes = QString::fromStdString(log.substr(log.find("Notes:")));
    std::string expected = "Notes:\r\n";
    for (const int n : {5, 4}) expected += calc::FootNoteText(core_->db(), n) + "\r\n";
    QCOMPARE(notes, QString::fromStdString(expected));
}

void ConduitTest::unreadableTable() {
    QVERIFY(!core_->db().execute("DROP VIEW WireArea_Q"));
    const auto outcome = press({"10 - THHN"});
    QVERIFY(messageOf(outcome).startsWith("Reference Database Error:\r\n"));
    QCOMPARE(std::get<calc::Failure>(outcome).cause, calc::Cause::ReferenceData);
}

QTEST_APPLESS_MAIN(ConduitTest)
#include "test_conduit.moc"
