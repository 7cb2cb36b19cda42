#include "calc/motor/motor.h"

#include <cmath>

#include "calc/common/data_failure.h"
#include "calc/common/results_log.h"
#include "calc/starter/starter.h"
#include "numbers/numbers.h"
#include "refdb/sql.h"

namespace voltaro::calc::motor {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Digits and nothing else, as a number (too many for a double: nullopt).
std::optional<double> digits(std::string_view text) {
    for (const char c : text)
        if (!isDigit(c)) return std::nullopt;
    return numbers::readStrict(text);
}

std::string_view phaseName(Phase phase) {
    return phase == Phase::Single ? "Single Phase" : "Three Phase";
}

std::string_view tableName(Phase phase) {
    return phase == Phase::Single ? "Table 430-148" : "Table 430-150";
}

// Every message of the calculator is made here; parts break with a lone CR, as the error window
// shows the other calculators' messages.
const Failure kHorsepowerUnreadable{"Enter Horsepower As\r10, 1/2, 1 1/2,\r1-1/2 Or 1.5."};
const Failure kVoltsUnreadable{"Enter Volts As\rA Plain Number,\rFor Example 460."};

Failure horsepowerNotListed(std::string_view hp, Phase phase,
                            const std::vector<std::string>& near) {
    std::string nearest;
    for (const auto& rating : near) nearest += (nearest.empty() ? "" : ", ") + rating;
    return {std::string(hp) + " HP Is Not Listed\rFor " + std::string(phaseName(phase)) +
            " Motors.\rNearest Listed: " + nearest};
}

Failure noColumn(std::string_view volts, Phase phase) {
    return {"No Column For " + std::string(volts) + " V.\r" +
            (phase == Phase::Single
                 ? "Use 110-120, 200, 208\rOr 220-240 V."
                 : "Use 110-120, 200, 208, 220-240,\r440-480, 550-600 Or 2300 V.")};
}

Failure noCurrentListed(std::string_view hp, int column, Phase phase) {
    return {"No Current Listed For\r" + std::string(hp) + " HP At " + std::to_string(column) +
            " V\r" + std::string(phaseName(phase)) + "."};
}

Failure unreadable(Phase phase) {
    return dataFailure(std::string(tableName(phase)) + " cannot be read.");
}

constexpr std::string_view kNotes[] = {
    "The table current, not the nameplate current, sizes the conductors and the starter",
    "(430-6(a)); the conductors carry at least 125 % of it (430-22(a)).",
};

// 1.25 x the current to the cent, a half cent rounded up: 0.9 A gives 1.13. The product is first
// written to 15 digits, so that binary noise cannot turn a half cent into a little less.
double ampacityOf(double amps) {
    const double cents = numbers::readLeading(numbers::general(amps * 125.0)).value;
    return std::round(cents) / 100.0;
}

struct Rating {
    std::string hp;  // as the table writes it
    double value = 0;
};

std::variant<std::vector<Rating>, Failure> ratings(refdb::Database& db, Phase phase) {
    auto set = db.openRecordset(phase == Phase::Single ? "SELECT hp FROM Motor1Ph"
                                                       : "SELECT hp FROM Motor3Ph");
    if (!set) return unreadable(phase);
    std::vector<Rating> out;
    for (set->moveFirst(); !set->eof(); set->moveNext()) {
        Rating rating{set->field("hp").text()};
        const auto value = readHorsepower(rating.hp);
        if (!value) return unreadable(phase);
        rating.value = *value;
        out.push_back(std::move(rating));
    }
    if (out.empty()) return unreadable(phase);
    return out;
}

bool same(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(b)); }

}  // namespace

std::optional<double> readHorsepower(std::string_view text) {
    text = trimmed(text);
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return numbers::readStrict(text);
    // A fraction at the end: numerator digits, "/", denominator digits.
    std::size_t start = slash;
    while (start > 0 && isDigit(text[start - 1])) --start;
    const auto numerator = digits(text.substr(start, slash - start));
    const auto denominator = digits(text.substr(slash + 1));
    if (!numerator || !denominator || *denominator == 0 || slash == start ||
        slash + 1 == text.size())
        return std::nullopt;
    // Digits beyond a double's range read as infinite: over as many they make no number.
    const double fraction = *numerator / *denominator;
    if (std::isnan(fraction)) return std::nullopt;
    // Before it, nothing or a whole number and its joint: blanks, or one hyphen.
    auto whole = text.substr(0, start);
    if (whole.empty()) return fraction;
    if (whole.back() == '-')
        whole.remove_suffix(1);
    else if (isBlank(whole.back()))
        whole = trimmed(whole);
    else
        return std::nullopt;
    const auto units = digits(whole);
    if (!units || whole.empty()) return std::nullopt;
    return *units + fraction;
}

std::optional<int> ratedVolts(Phase phase, double volts) {
    if (volts >= 110 && volts <= 120) return 115;
    if (volts == 200) return 200;
    if (volts == 208) return 208;
    if (volts >= 220 && volts <= 240) return 230;
    if (phase == Phase::Single) return std::nullopt;
    if (volts >= 440 && volts <= 480) return 460;
    if (volts >= 550 && volts <= 600) return 575;
    if (volts == 2300) return 2300;
    return std::nullopt;
}

std::variant<std::vector<std::string>, Failure> horsepowers(refdb::Database& db, Phase phase) {
    auto found = ratings(db, phase);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    std::vector<std::string> out;
    for (const auto& rating : std::get<std::vector<Rating>>(found)) out.push_back(rating.hp);
    return out;
}

Outcome calculateMotor(refdb::Database& db, const Inputs& in, Figures* figures) {
    const std::string_view hpTyped = trimmed(in.hp);
    const auto hp = readHorsepower(in.hp);
    if (!hp) return kHorsepowerUnreadable;

    auto found = ratings(db, in.phase);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    const auto& table = std::get<std::vector<Rating>>(found);
    const Rating* rating = nullptr;
    const Rating *below = nullptr, *above = nullptr;
    for (const auto& row : table) {
        if (same(row.value, *hp)) rating = &row;
        if (row.value < *hp) below = &row;
        if (row.value > *hp && above == nullptr) above = &row;
    }
    if (rating == nullptr) {
        std::vector<std::string> near;
        for (const Rating* r : {below, above})
            if (r != nullptr) near.push_back(r->hp);
        return horsepowerNotListed(hpTyped, in.phase, near);
    }

    const auto volts = numbers::readStrict(in.volts);
    if (!volts) return kVoltsUnreadable;
    Figures f;
    const auto column = ratedVolts(in.phase, *volts);
    if (!column) return noColumn(trimmed(in.volts), in.phase);
    f.column = *column;
    auto set = db.openRecordset(std::string("SELECT * FROM ") +
                                (in.phase == Phase::Single ? "Motor1Ph" : "Motor3Ph"));
    if (!set) return unreadable(in.phase);
    auto hit = set->findFirst("hp = " + refdb::sqlText(rating->hp));
    if (!hit || !*hit) return unreadable(in.phase);
    const auto amps = set->field("v" + std::to_string(f.column));
    if (amps.isNull()) return noCurrentListed(rating->hp, f.column, in.phase);
    f.fullLoadAmps = amps.number();
    if (!(f.fullLoadAmps > 0)) return unreadable(in.phase);
    f.ampacity = ampacityOf(f.fullLoadAmps);

    Answer answer;
    answer.displayLines = {
        "Full Load Amps: " + numbers::general(f.fullLoadAmps),
        "Conductor Ampacity (125 %): " + numbers::general(f.ampacity),
    };
    // The starter table is for three-phase motors up to 575 V: the starter calculator's own limit.
    if (in.phase == Phase::Three && *volts <= starter::kMaxVolts) {
        const auto whole = numbers::toInt16(*volts);
        auto size = starter::CalStr(db, f.fullLoadAmps, whole.value_or(starter::kMaxVolts));
        if (auto* failure = std::get_if<Failure>(&size)) {
            if (failure->cause != Cause::Input) return *failure;
            answer.displayLines.push_back("No Starter Size Rated For " +
                                          numbers::general(f.fullLoadAmps) + " A");
        } else {
            f.starter = std::get<std::string>(size);
            answer.displayLines.push_back("Use Size " + f.starter + " Starter");
        }
    }

    auto& log = answer.log = StartResultsLog("~ Calculate Motor Current ~");
    log.write("Horsepower: " + in.hp);
    log.write("Power: " + std::string(phaseName(in.phase)));
    log.write("Voltage: " + in.volts);
    log.write("Column: " + std::to_string(f.column) + " V, " + std::string(tableName(in.phase)));
    log.write("");
    for (const auto& line : answer.displayLines) log.write(line);
    log.write("");
    log.write("Notes:");
    for (const auto line : kNotes) log.write(line);

    if (figures != nullptr) *figures = f;
    return answer;
}

}  // namespace voltaro::calc::motor
