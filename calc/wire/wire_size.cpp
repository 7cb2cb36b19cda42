#include "calc/wire/wire_size.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "calc/common/data_failure.h"
#include "calc/common/footnotes.h"
#include "calc/common/typed_number.h"
#include "numbers/numbers.h"
#include "refdb/sql.h"

namespace voltaro::calc::wire {

namespace {

using refdb::Recordset;
using refdb::Value;

void flag(NoteFlags& notes, int note) { notes[static_cast<std::size_t>(note)] = true; }
bool flagged(const NoteFlags& notes, int note) { return notes[static_cast<std::size_t>(note)]; }

// A correction factor cell: a number, or a text that is wholly a number. Empty cells and other
// texts are no factor (the insulation may not be used at that temperature).
std::optional<double> factorOf(const Value& cell) {
    if (cell.isNull()) return std::nullopt;
    if (!cell.isText()) return cell.number();
    std::string_view text = std::get<std::string>(cell.data());
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// One row of the lock-step walk of AWG: the ampacity set and the terminal set side by side.
struct Scan {
    Recordset ampacity;  // Guage, MaxAmp
    Recordset terminal;  // Guage, TermMax
    double correction = 1;
    double adjustment = 1;

    // The row's ampacity after correction and adjustment; nullopt for a size that does not exist
    // in this material (empty cell), which never qualifies.
    std::optional<double> derated() const {
        const Value maxAmp = ampacity.field("MaxAmp");
        if (maxAmp.isNull()) return std::nullopt;
        return maxAmp.number() * correction * adjustment;
    }
    double termMax() const { return terminal.field("TermMax").number(); }
    std::string guage() const { return ampacity.field("Guage").text(); }
    // Both sets one row on; false when either has run out of rows.
    bool step() {
        ampacity.moveNext();
        terminal.moveNext();
        return !ampacity.eof() && !terminal.eof();
    }
};

// Outcome of the walk: the size found, no size (the load is too high), or a database failure.
struct NoConductor {};
using ScanResult = std::variant<WireSize, NoConductor, Failure>;

ScanResult scanConductors(NoteFlags& notes, Scan& scan, double load, const std::string& material) {
    WireSize result;
    Recordset& amp = scan.ampacity;
    for (amp.moveFirst(); !amp.eof(); amp.moveNext()) {
        const auto derated = scan.derated();
        if (!derated) continue;
        result.deRatedAmps = *derated;
        if (*derated < load) continue;

        result.size = scan.guage();
        auto found = scan.terminal.findFirst("Guage = " + refdb::sqlText(result.size));
        if (!found) return dataFailure(found.error());
        if (!*found) return dataFailure("AWG has no terminal row for size " + result.size + ".");
        result.circuitMaxAmps = scan.termMax();

        // The terminals decide from here on: the size moves up until its terminal column carries
        // the load. Sizes missing in this material are passed over.
        std::optional<double> current = derated;
        while (load > result.circuitMaxAmps || !current) {
            if (!scan.step()) return NoConductor{};
            result.circuitMaxAmps = scan.termMax();
            current = scan.derated();
            if (current) result.deRatedAmps = *current;
            result.size = scan.guage();
        }

        // Small-conductor overcurrent limits: a starred 14, 12 or 10 protects at no more than its
        // limit; a load above the limit takes the next size.
        if (!result.size.empty() && result.size.back() == '*') {
            const double gauge = numbers::readLeading(result.size.substr(0, 2)).value;
            const bool copper = material == "Copper";
            double limit = 0;
            std::optional<double> afterStep;  // nullopt: the next size's terminal ampacity
            if (gauge == 14) {
                limit = 15;
                afterStep = 20;
            } else if (gauge == 12) {
                limit = copper ? 20 : 15;
                afterStep = copper ? 30 : 25;
            } else if (gauge == 10) {
                limit = copper ? 30 : 25;
            }
            if (limit > 0) {
                result.circuitMaxAmps = limit;
                if (load > limit) {
                    do {
                        if (!scan.step()) return NoConductor{};
                        current = scan.derated();
                    } while (!current);
                    result.deRatedAmps = *current;
                    result.size = scan.guage();
                    result.circuitMaxAmps = afterStep ? *afterStep : scan.termMax();
                    flag(notes, kNoteNextSizeUp);
                }
            }
        }
        return result;
    }
    return NoConductor{};
}

}  // namespace

std::string ConvertFahrenheit(std::string_view text) {
    if (text.empty() || (text.back() != 'F' && text.back() != 'f')) return std::string(text);
    const auto degrees = numbers::toInt16(typedValue(text.substr(0, text.size() - 1)));
    if (!degrees) return std::string(text);
    // 32 bits for the difference: -32768 F less 32 does not fit 16.
    const std::int32_t above = static_cast<std::int32_t>(*degrees) - 32;
    const double celsius = numbers::roundHalfEven(5.0 / 9.0 * above);
    return numbers::general(celsius);
}

std::variant<std::vector<std::string>, Failure> insulationTypes(refdb::Database& db,
                                                                std::string_view material) {
    auto set = db.openRecordset("SELECT * FROM " + refdb::sqlName(material));
    if (!set) return dataFailure(set.error());
    std::vector<std::string> types;
    for (set->moveFirst(); !set->eof(); set->moveNext()) types.push_back(set->field("Type").text());
    return types;
}

std::variant<std::optional<std::string>, Failure> ShowTempRating(refdb::Database& db,
                                                                 std::string_view material,
                                                                 std::string_view type) {
    auto set = db.openRecordset("SELECT * FROM " + refdb::sqlName(material));
    if (!set) return dataFailure(set.error());
    auto found = set->findFirst("Type = " + refdb::sqlText(type));
    if (!found) return dataFailure(found.error());
    if (!*found) return std::optional<std::string>();
    return std::optional<std::string>(set->field("Rate").text() + " C");
}

std::variant<WireSize, Failure> CalSize(refdb::Database& db, NoteFlags& notes,
                                        const WireInputs& inputs, bool terminalAuto) {
    // 1. Inputs and the ampacity column.
    const double load = typedValue(inputs.amps);
    const double count = numbers::roundHalfEven(typedValue(inputs.conductors));
    const double ambient = typedValue(inputs.ambient);
    const std::string prefix = inputs.material == "Copper" ? "Cop" : "Alu";
    const std::string rating = inputs.rating.substr(0, 2);
    const std::string column = prefix + rating;

    // 2. Validation, before any table is read.
    if (count < 1) return Failure{kTooFewConductors};
    if (count > 500) return Failure{kTooManyConductors};
    if (!(load > 0)) return Failure{kAmperesTooLow};
    if (rating != "60" && rating != "75" && rating != "90")
        return dataFailure("Insulation rating \"" + inputs.rating + "\" has no ampacity column.");

    // 3. Ambient correction: 26 to 30 C is the table's own base, 1 without a look-up. A fractional
    // ambient that falls between two whole-degree ranges (25.5, 30.1) is taken in the warmer of
    // the two, whose factor is never the larger one; one beyond the table's ends stays outside.
    double correction = 1;
    if (!(ambient >= 26 && ambient <= 30)) {
        if (!std::isfinite(ambient)) return Failure{kTempOutOfRange};
        auto set =
            db.openRecordset("SELECT DegST, DegED, " + refdb::sqlName(column) + " FROM Correc1");
        if (!set) return dataFailure(set.error());
        auto rangeHolds = [&](double degrees) {
            const std::string t = numbers::general(degrees);
            return set->findFirst(t + " >= DegST AND " + t + " <= DegED");
        };
        auto found = rangeHolds(ambient);
        if (found && !*found && std::floor(ambient) != ambient) {
            auto below = rangeHolds(std::floor(ambient));
            if (!below)
                found = below;
            else if (*below)
                found = rangeHolds(std::ceil(ambient));  // positions on the warmer row
        }
        if (!found) return dataFailure(found.error());
        if (!*found) return Failure{kTempOutOfRange};
        const auto factor = factorOf(set->field(column));
        if (!factor || *factor < 0) return Failure{kTempTooHigh};
        correction = *factor;
    }

    // 4. Adjustment for more than three current-carrying conductors.
    double adjustment = 1;
    if (count > 3) {
        const std::string n = numbers::general(count);
        auto set = db.openRecordset("SELECT * FROM Correc2 WHERE " + n + " >= CondFrm AND " + n +
                                    " <= CondTo");
        if (!set) return dataFailure(set.error());
        set->moveFirst();
        const auto percent = set->eof() ? std::nullopt : factorOf(set->field("Percent"));
        if (!percent || *percent < 0)
            return dataFailure("Correc2 has no adjustment factor for " + n + " conductors.");
        adjustment = *percent;
    }

    // 5. Terminal rating: below 101 A at 60 C when Terminal Auto is on, otherwise 75 C.
    std::string terminalColumn;
    if (terminalAuto && load < 101) {
        terminalColumn = prefix + "60";
        flag(notes, kNoteTerminals60);
    } else {
        terminalColumn = prefix + "75";
        flag(notes, kNoteTerminals75);
    }

    // 6-8. The walk of AWG.
    auto ampacity =
        db.openRecordset("SELECT Guage, " + refdb::sqlName(column) + " AS MaxAmp FROM AWG");
    if (!ampacity) return dataFailure(ampacity.error());
    auto terminal = db.openRecordset("SELECT Guage, " + refdb::sqlName(terminalColumn) +
                                     " AS TermMax FROM AWG");
    if (!terminal) return dataFailure(terminal.error());
    Scan scan{ampacity.take(), terminal.take(), correction, adjustment};
    ScanResult scanned = scanConductors(notes, scan, load, inputs.material);
    if (auto* failure = std::get_if<Failure>(&scanned)) return *failure;

    // 9-10. Note 12 is evaluated whether or not a size was found.
    auto* size = std::get_if<WireSize>(&scanned);
    if (size && size->circuitMaxAmps > size->deRatedAmps) size->circuitMaxAmps = size->deRatedAmps;
    if (!terminalAuto) flag(notes, kNoteTerminals75Everywhere);
    if (!size) return Failure{kAmpsTooHigh};
    return *size;
}

Answer WriteWireResults(refdb::Database& db, const NoteFlags& notes, const WireInputs& inputs,
                        const WireSize& result) {
    Answer answer;
    answer.displayLines = {
        result.size + "  (" + inputs.insulation + ")",
        "De-Rated Amps: " + numbers::general(result.deRatedAmps),
        "Circuit Max Amps: " + numbers::general(result.circuitMaxAmps),
    };
    if (AnyNoteFlagged(notes)) answer.displayLines.push_back("See Notes");

    ResultsLog log = StartResultsLog("~ Calculate Wire Size ~");
    log.write("Full Load Amps: " + inputs.amps);
    log.write("Conductor Type: " + inputs.material);
    log.write("Insulation Type: " + inputs.insulation);
    log.write("Insulation Temp Rating: " + inputs.rating);
    log.write("Current Carrying Conductors in Conduit: " + inputs.conductors);
    log.write("Ambient Temperature in C: " + inputs.ambient);
    log.write("De-Rated max amperes of conductor is: " + numbers::general(result.deRatedAmps));
    log.write("Max amperes of circuit is: " + numbers::general(result.circuitMaxAmps));
    log.write("\r\n");
    log.write("Smallest Conductor Size is:  " + result.size);
    // The next-size-up note is always printed after the note that explains its asterisk.
    std::vector<int> printed;
    for (const int n : {kNoteSmallConductors, kNoteNextSizeUp, kNoteTerminals60, kNoteTerminals75,
                        kNoteTerminals75Everywhere})
        if (flagged(notes, n == kNoteSmallConductors ? static_cast<int>(kNoteNextSizeUp) : n))
            printed.push_back(n);
    writeNotes(log, db, printed);
    answer.log = std::move(log);
    return answer;
}

Outcome calculateWire(refdb::Database& db, NoteFlags& notes, WireInputs& inputs, bool terminalAuto,
                      WireSize* result) {
    inputs.ambient = ConvertFahrenheit(inputs.ambient);
    auto found = CalSize(db, notes, inputs, terminalAuto);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    if (result != nullptr) *result = std::get<WireSize>(found);
    return WriteWireResults(db, notes, inputs, std::get<WireSize>(found));
}

}  // namespace voltaro::calc::wire
