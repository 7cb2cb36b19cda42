// What the shipped reference database holds: the 1999 code tables in the order and shape the
// calculators and panels rely on, and every CSV row of refdb/data/ in it unchanged.
#include <QTest>

#include <fstream>
#include <set>
#include <sstream>

#include "refdb/csv.h"
#include "refdb/sql.h"
#include "tests/support/core_fixture.h"

using namespace voltaro::refdb;
using voltaro::testing::CoreFixture;

namespace {

std::vector<std::string> column(Database& db, const std::string& sql, const std::string& name) {
    auto set = db.openRecordset(sql);
    if (!set) qFatal("%s: %s", sql.c_str(), set.error().description.c_str());
    std::vector<std::string> values;
    for (set->moveFirst(); !set->eof(); set->moveNext()) values.push_back(set->field(name).text());
    return values;
}

const std::vector<std::string> kSizes = {"14",  "12",  "10",   "8",    "6",    "4",    "3",
                                         "2",   "1",   "1/0",  "2/0",  "3/0",  "4/0",  "250",
                                         "300", "350", "400",  "500",  "600",  "700",  "750",
                                         "800", "900", "1000", "1250", "1500", "1750", "2000"};

int sizeRank(const std::string& gauge) {
    const std::vector<std::string> all = {"18", "16"};
    if (gauge == "18") return -2;
    if (gauge == "16") return -1;
    for (std::size_t i = 0; i < kSizes.size(); ++i)
        if (kSizes[i] == gauge) return static_cast<int>(i);
    return 1000;
}

}  // namespace

class TestData : public QObject {
    Q_OBJECT

    CoreFixture copy_;
    std::optional<Database> db_;

private Q_SLOTS:
    void initTestCase() { db_ = copy_.open(); }

    void everyCsvRowIsInItsTable() {
        // The text sources and the built file agree cell for cell (numbers compared as numbers).
        const std::filesystem::path data =
            std::filesystem::path(VOLTARO_TEST_SOURCE_DIR) / "refdb/data";
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(data)) {
            if (entry.path().extension() != ".csv") continue;
            ++files;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            const auto rows = parseCsv(text.str());
            QVERIFY(rows && !rows->empty());
            const std::string table = entry.path().stem().string();
            auto set = db_->openRecordset("SELECT * FROM " + sqlName(table));
            QVERIFY2(set.ok(), table.c_str());
            QCOMPARE(set->recordCount(), static_cast<int>(rows->size()) - 1);
            const auto& header = rows->front();
            QCOMPARE(set->columns(), header);
            set->moveFirst();
            for (std::size_t r = 1; r < rows->size(); ++r, set->moveNext()) {
                for (std::size_t c = 0; c < header.size(); ++c) {
                    const auto value = set->field(header[c]);
                    const auto& cell = (*rows)[r][c];
                    if (cell.empty()) {
                        QVERIFY(value.isNull());
                    } else if (value.isText()) {
                        QCOMPARE(value.text(), cell);
                    } else {
                        QCOMPARE(value.number(), std::stod(cell));
                    }
                }
            }
        }
        QCOMPARE(files, 18);
    }

    void workTablesStartEmpty() {
        for (const char* table : {"KeepWires", "DragList", "Scratch"})
            QCOMPARE(db_->openRecordset(std::string("SELECT * FROM ") + table)->recordCount(), 0);
    }

    void ampacityTableRunsSmallestFirst() {
        auto guages = column(*db_, "SELECT * FROM AWG", "Guage");
        QCOMPARE(guages.front(), std::string("14*"));
        QCOMPARE(guages[1], std::string("12*"));
        QCOMPARE(guages[2], std::string("10*"));
        QCOMPARE(guages.back(), std::string("2000"));
        for (auto& g : guages)
            if (g.back() == '*') g.pop_back();
        QCOMPARE(guages, kSizes);
        // Down every column the ampacity never drops, and the 90 C column is never below 75 C,
        // nor 75 C below 60 C.
        auto set = db_->openRecordset("SELECT * FROM AWG");
        std::map<std::string, double> last;
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            for (const char* metal : {"Cop", "Alu"}) {
                double below = 0;
                for (const char* rating : {"60", "75", "90"}) {
                    const std::string name = std::string(metal) + rating;
                    const auto value = set->field(name);
                    if (value.isNull()) continue;
                    QVERIFY(value.number() >= last[name]);
                    QVERIFY(value.number() >= below);
                    last[name] = below = value.number();
                }
            }
        }
        // 14 AWG does not exist in aluminum.
        set->moveFirst();
        QVERIFY(set->field("Alu60").isNull() && set->field("Alu90").isNull());
        QCOMPARE(set->field("Cop75").number(), 20.0);
    }

    void ampacitySpotValues_data() {
        // Figures of the 1999 ampacity table, read off it by hand.
        QTest::addColumn<QString>("guage");
        QTest::addColumn<QString>("column");
        QTest::addColumn<double>("amps");
        // clang-format off
        QTest::newRow("12 Cu 60") << "12*" << "Cop60" << 25.0;
        QTest::newRow("10 Cu 75") << "10*" << "Cop75" << 35.0;
        QTest::newRow("8 Cu 90") << "8" << "Cop90" << 55.0;
        QTest::newRow("3/0 Cu 75") << "3/0" << "Cop75" << 200.0;
        QTest::newRow("300 Al 75") << "300" << "Alu75" << 230.0;  // 1999: 230, not 2002's
        QTest::newRow("500 Al 90") << "500" << "Alu90" << 350.0;
        QTest::newRow("2000 Cu 90") << "2000" << "Cop90" << 750.0;
        // clang-format on
    }
    void ampacitySpotValues() {
        QFETCH(QString, guage);
        QFETCH(QString, column);
        QFETCH(double, amps);
        auto set = db_->openRecordset("SELECT * FROM AWG");
        QVERIFY(*set->findFirst("Guage = " + sqlText(guage.toStdString())));
        QCOMPARE(set->field(column.toStdString()).number(), amps);
    }

    void insulationListsLandOnTHHN() {
        // The wire panel's list sorts itself and starts on position 11 (copper) or 7 (aluminum).
        for (const auto& [table, position] : {std::pair{"Copper", 11}, std::pair{"Aluminum", 7}}) {
            auto types = column(*db_, std::string("SELECT * FROM ") + table, "Type");
            auto sorted = types;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(types, sorted);
            QCOMPARE(types[static_cast<std::size_t>(position)], std::string("THHN"));
            QCOMPARE(std::set<std::string>(types.begin(), types.end()).size(), types.size());
        }
        auto set = db_->openRecordset("SELECT * FROM Copper");
        const std::pair<const char*, double> rates[] = {
            {"THHN", 90},       {"TW", 60},         {"THWN", 75},
            {"THHW (wet)", 75}, {"THHW (dry)", 90}, {"XHHW (wet)", 75},
            {"XHHW (dry)", 90}, {"FEPW", 75},       {"RH", 75}};
        for (const auto& [type, rate] : rates) {
            QVERIFY2(*set->findFirst("Type = " + sqlText(type)), type);
            QCOMPARE(set->field("Rate").number(), rate);
        }
    }

    void correctionFactors() {
        auto set = db_->openRecordset("SELECT * FROM Correc1");
        QCOMPARE(set->recordCount(), 10);
        set->moveFirst();
        QCOMPARE(set->field("DegST").number(), 21.0);
        set->moveLast();
        QCOMPARE(set->field("DegED").number(), 80.0);
        QVERIFY(*set->findFirst("40 >= DegST AND 40 <= DegED"));
        QCOMPARE(set->field("Cop90").number(), 0.91);
        QCOMPARE(set->field("Alu75").number(), 0.88);
        QVERIFY(*set->findFirst("65 >= DegST AND 65 <= DegED"));
        QVERIFY(set->field("Cop60").isNull());  // not permitted at that ambient
        QCOMPARE(set->field("Cop75").number(), 0.33);
        // Ranges follow one another without gap or overlap.
        double end = 20;
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            QCOMPARE(set->field("DegST").number(), end + 1);
            end = set->field("DegED").number();
        }
    }

    void adjustmentCoversFourToFiveHundred() {
        auto set = db_->openRecordset("SELECT * FROM Correc2");
        double next = 4;
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            QCOMPARE(set->field("CondFrm").number(), next);
            next = set->field("CondTo").number() + 1;
        }
        QCOMPARE(next, 501.0);
        QVERIFY(*set->findFirst("31 >= CondFrm AND 31 <= CondTo"));
        QCOMPARE(set->field("Percent").number(), 0.4);
    }

    void fuseAndGroundTables() {
        auto fuses = column(*db_, "SELECT * FROM FuseSize", "Fuse");
        QCOMPARE(fuses.front(), std::string("15"));
        QCOMPARE(fuses.back(), std::string("6000"));
        QVERIFY(std::find(fuses.begin(), fuses.end(), "601") == fuses.end());  // fuses only
        auto set = db_->openRecordset("SELECT * FROM GndWire");
        QVERIFY(*set->findFirst("OCP >= 45"));
        QCOMPARE(set->field("OCP").text(), std::string("60"));
        QCOMPARE(set->field("Cop").text(), std::string("10"));
        QCOMPARE(set->field("Alu").text(), std::string("8"));
        QVERIFY(*set->findFirst("OCP >= 4000"));
        QCOMPARE(set->field("Alu").text(), std::string("800"));  // 1999 figure
    }

    void conductorTypesForTheConduitPanel() {
        auto types = column(*db_, "SELECT DISTINCT Type FROM WireType", "Type");
        auto sorted = types;
        std::sort(sorted.begin(), sorted.end());  // plain byte order
        QCOMPARE(types, sorted);
        QCOMPARE(types.at(36), std::string("THHN"));
        for (const auto& type : types) {
            // The panel's way: the type's Dim rows in order, then each Dim's gauges.
            std::vector<std::string> gauges;
            for (const auto& dim :
                 column(*db_, "SELECT * FROM WireType WHERE Type = " + sqlText(type), "Dim"))
                for (const auto& gauge :
                     column(*db_, "SELECT * FROM WireDim WHERE Dim = " + sqlText(dim), "Gauge"))
                    gauges.push_back(gauge);
            QVERIFY2(!gauges.empty(), type.c_str());
            for (std::size_t i = 1; i < gauges.size(); ++i)
                QVERIFY2(sizeRank(gauges[i - 1]) < sizeRank(gauges[i]),
                         (type + " " + gauges[i]).c_str());
            // Every gauge of the type has exactly one area.
            auto areas =
                column(*db_, "SELECT * FROM WireArea_Q WHERE Type = " + sqlText(type), "Gauge");
            QCOMPARE(areas, gauges);
        }
        auto set = db_->openRecordset("SELECT * FROM WireArea_Q");
        QVERIFY(*set->findFirst("Type = 'THHN' AND Gauge = '10'"));
        QCOMPARE(set->field("Area").number(), 0.0211);
        QVERIFY(*set->findFirst("Type = 'RHH*' AND Gauge = '8'"));
        QCOMPARE(set->field("Area").number(), 0.0556);
    }

    void conduitTables() {
        auto abbrs = column(*db_, "SELECT * FROM ConType", "Abbr");
        QCOMPARE(abbrs.front(), std::string("EMT"));
        QCOMPARE(abbrs.back(), std::string("EMT-NIP*"));
        for (const auto& abbr : abbrs) {
            auto set = db_->openRecordset("SELECT * FROM ConData_Q WHERE Abbr = " + sqlText(abbr));
            QVERIFY2(set->recordCount() > 0, abbr.c_str());
            double previous = 0;
            for (set->moveFirst(); !set->eof(); set->moveNext()) {
                const double area = set->field("2+wires").number();
                QVERIFY2(area > previous, abbr.c_str());  // ascending trade size
                previous = area;
                QVERIFY(set->field("1wire").number() >= set->field("2+wires").number());
                QVERIFY(set->field("2+wires").number() >= set->field("2wires").number());
            }
        }
        auto emt = column(*db_, "SELECT * FROM ConData_Q WHERE Abbr = 'EMT'", "Size");
        QCOMPARE(emt.front(), std::string("1/2"));
        QCOMPARE(emt.back(), std::string("4"));
    }

    void voltageDropAndMotorSpotValues() {
        // Figures read off Chapter 9 Tables 8 and 9 and Tables 430-148 and 430-150; -1 is a dash.
        const std::tuple<const char*, const char*, double> cells[] = {
            {"Ch9Table8 WHERE size = '16' AND strands = 7", "r_dc_cu_uncoated", 4.99},
            {"Ch9Table9 WHERE size = '10'", "xl_steel", 0.063},
            {"Ch9Table9 WHERE size = '14'", "r_al_pvc", -1},
            {"Motor1Ph WHERE hp = '7-1/2'", "v115", 80},
            {"Motor3Ph WHERE hp = '5'", "v115", -1},
            {"Motor3Ph WHERE hp = '25'", "v575", 27},
        };
        for (const auto& [where, column, value] : cells) {
            auto set = db_->openRecordset(std::string("SELECT * FROM ") + where);
            QCOMPARE(set->recordCount(), 1);
            const auto cell = set->field(column);
            QCOMPARE(cell.isNull() ? -1.0 : cell.number(), value);
        }
    }

    void starterEnclosuresAndNotes() {
        auto sizes = column(*db_, "SELECT * FROM Starter", "Size");
        QCOMPARE(sizes, (std::vector<std::string>{"00", "0", "1", "2", "3", "4", "5", "6", "7", "8",
                                                  "9"}));
        auto set = db_->openRecordset("SELECT * FROM Starter");
        QVERIFY(*set->findFirst("Size = '7'"));
        QVERIFY(set->field("460").isNull());

        auto ids = column(*db_, "SELECT * FROM Enclosures", "ID");
        QCOMPARE(ids.size(), std::size_t{18});
        for (std::size_t i = 0; i < ids.size(); ++i) QCOMPARE(ids[i], std::to_string(i + 1));

        auto notes = db_->openRecordset("SELECT * FROM FootNotes");
        QCOMPARE(notes->recordCount(), 12);
        for (int id = 1; id <= 12; ++id) {
            QVERIFY(*notes->findFirst("ID = " + std::to_string(id)));
            QVERIFY(notes->field("Notes").text().size() > 20);
        }
    }
};

QTEST_APPLESS_MAIN(TestData)
#include "test_data.moc"
