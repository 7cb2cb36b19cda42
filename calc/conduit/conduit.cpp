#include "calc/conduit/conduit.h"

#include <map>
#include <utility>

#include "calc/common/data_failure.h"
#include "calc/common/footnotes.h"
#include "refdb/sql.h"

namespace voltaro::calc::conduit {

namespace {

constexpr std::string_view kSeparator = " - ";
// More conductors than this in one raceway flag note 8.
constexpr int kCrowdedCount = 30;

Failure unreadable() { return dataFailure("The conductor and conduit tables cannot be read."); }

bool endsWithStar(std::string_view text) { return !text.empty() && text.back() == '*'; }

// The engine reads SQL text only up to a NUL, so a value holding one cannot be quoted into a
// criterion; no row of the reference data holds one, so such a value matches nothing.
bool holdsNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// The fill column for a number of conductors: one, two, or more than two.
std::string_view fillColumn(int conductors) {
    if (conductors == 1) return "[1wire]";
    if (conductors == 2) return "[2wires]";
    return "[2+wires]";
}

}  // namespace

std::string notListedMessage(std::string_view gauge, std::string_view type) {
    return "No Area Listed For\r\nAWG " + entryOf({std::string(gauge), std::string(type)});
}

Conductor conductorOf(std::string_view entry) {
    const auto at = entry.find(kSeparator);
    if (at == std::string_view::npos) return {std::string(entry), {}};
    return {std::string(entry.substr(0, at)), std::string(entry.substr(at + kSeparator.size()))};
}

std::string entryOf(const Conductor& conductor) {
    return conductor.gauge + std::string(kSeparator) + conductor.type;
}

std::optional<refdb::DbError> addToDragList(refdb::Database& db, const Conductor& conductor) {
    auto rows = db.openRecordset("SELECT * FROM DragList WHERE 0", refdb::Recordset::Kind::Dynaset);
    if (!rows) return rows.error();
    if (auto error = rows->addNew()) return error;
    if (auto error = rows->setField("WiresGa", conductor.gauge)) return error;
    if (auto error = rows->setField("WiresTy", conductor.type)) return error;
    return rows->update();
}

std::variant<std::string, Failure> CalPipe(refdb::Database& db, NoteFlags& notes,
                                           std::string_view abbr) {
    auto conductors = db.openRecordset("SELECT * FROM DragList");
    auto areas = db.openRecordset("SELECT * FROM WireArea_Q");
    if (!conductors || !areas) return unreadable();
    const int count = conductors->recordCount();
    if (count == 0) return Failure{std::string(kNoConductors)};

    double total = 0.0;  // square inches
    // A conduit usually holds many conductors of a few kinds: each kind is looked up once.
    std::map<std::pair<std::string, std::string>, double> areaOf;
    for (conductors->moveFirst(); !conductors->eof(); conductors->moveNext()) {
        const auto gauge = conductors->field("WiresGa").text();
        const auto type = conductors->field("WiresTy").text();
        auto known = areaOf.find({type, gauge});
        if (known == areaOf.end()) {
            if (holdsNul(gauge) || holdsNul(type)) return Failure{notListedMessage(gauge, type)};
            auto found = areas->findFirst("Type = " + refdb::sqlText(type) +
                                          " AND Gauge = " + refdb::sqlText(gauge));
            if (!found) return unreadable();
            // A conductor without an area would otherwise be counted with another row's area.
            if (!*found) return Failure{notListedMessage(gauge, type)};
            known =
                areaOf.emplace(std::make_pair(type, gauge), areas->field("Area").number()).first;
        }
        if (endsWithStar(type)) notes[kNoteUncoveredConductor] = true;
        total += known->second;
    }

    // The total goes into the criterion in general number format (15 significant digits), so a
    // sum such as 0.1 + 0.1 + 0.1 meets an allowed area of 0.3 as equal, not as just above it.
    bool found = false;
    std::string size;
    if (!holdsNul(abbr)) {
        auto sizes =
            db.openRecordset("SELECT * FROM ConData_Q WHERE Abbr = " + refdb::sqlText(abbr));
        if (!sizes) return unreadable();
        auto match =
            sizes->findFirst(std::string(fillColumn(count)) + " > " + refdb::sqlNumber(total));
        if (!match) return unreadable();
        found = *match;
        if (found) size = sizes->field("Size").text();
    }
    if (endsWithStar(abbr)) notes[kNoteSpecialRaceway] = true;
    if (count > kCrowdedCount) notes[kNoteCrowdedRaceway] = true;
    if (!found) return Failure{std::string(kNotLargeEnough)};
    return size;
}

Answer WriteConduitResults(refdb::Database& db, const NoteFlags& notes, const ConduitType& type,
                           std::string_view conduitSize, const std::vector<std::string>& entries) {
    const std::string sizeLine = std::string(conduitSize) + " in. " + " " + type.abbr;
    Answer answer;
    answer.displayLines.push_back(sizeLine);
    if (AnyNoteFlagged(notes)) answer.displayLines.emplace_back("See Notes");
    answer.log = StartResultsLog("~ Calculate Conduit Size ~");
    auto& log = answer.log;
    log.write("Current Conduit Type: " + type.abbr);
    log.write(type.name);
    log.write("Conductors Selected:\r\n");
    for (std::size_t i = 0; i < entries.size(); ++i)
        log.write("      " + std::to_string(i + 1) + ".\tAWG " + entries[i]);
    log.write("\r\n");
    log.write("Smallest Trade Size Conduit is:  " + sizeLine);
    std::vector<int> printed;
    for (const Note n : {kNoteSpecialRaceway, kNoteUncoveredConductor, kNoteCrowdedRaceway})
        if (notes[n]) printed.push_back(n);
    writeNotes(log, db, printed);
    return answer;
}

Outcome calculateConduit(refdb::Database& db, NoteFlags& notes, const ConduitType& type,
                         const std::vector<std::string>& entries) {
    auto size = CalPipe(db, notes, type.abbr);
    if (auto* failure = std::get_if<Failure>(&size)) return *failure;
    return WriteConduitResults(db, notes, type, std::get<std::string>(size), entries);
}

Outcome conduitForEntries(refdb::Database& db, NoteFlags& notes, const ConduitType& type,
                          const std::vector<std::string>& entries) {
    // The entries go into a DragList of this connection's own, in the temporary schema, made like
    // the file's: an unqualified name finds the temporary schema first, so CalPipe reads them
    // there. The file is never written (a read-only copy answers as well) and no other caller
    // sees them.
    if (db.execute("DROP TABLE IF EXISTS temp.DragList") ||
        db.execute("CREATE TEMP TABLE DragList AS SELECT * FROM main.DragList WHERE 0"))
        return unreadable();
    const auto outcome = [&]() -> Outcome {
        for (const auto& entry : entries)
            if (addToDragList(db, conductorOf(entry))) return unreadable();
        return calculateConduit(db, notes, type, entries);
    }();
    db.execute("DROP TABLE temp.DragList");
    return outcome;
}

}  // namespace voltaro::calc::conduit
