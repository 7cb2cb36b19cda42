// The motor current calculator: from a motor's horsepower, phase and supply volts to the full-load
// current of the 1999 tables (430-148 single phase, 430-150 three phase), the conductor ampacity
// of 125 % of it and, for a three-phase motor at 575 V or less, the starter size the starter
// calculator gives for that current at those volts.
//
// The volts pick the table's column: 110-120 V the 115 V column, exactly 200 V and 208 V their
// own, 220-240 V the 230 V column; three phase also 440-480 V (460 V), 550-600 V (575 V) and
// exactly 2300 V. The tables' currents serve those system voltages.
//
// calculateMotor() is the calculate press: the boxes' texts as typed (the volts read strictly,
// the horsepower as electricians write it), then two or three display lines and the results log,
// or the error window's message naming the box. horsepowers() gives the panel's list.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/outcome.h"
#include "refdb/database.h"

namespace voltaro::calc::motor {

enum class Phase { Single, Three };

struct Inputs {
    std::string hp = "10";  // "1/2", "1 1/2", "1-1/2", "1.5", "10"
    Phase phase = Phase::Three;
    std::string volts = "460";
};

// A horsepower as electricians write it: a plain number ("10", "1.5", ".5"), a fraction ("3/4"),
// or a whole number and a fraction joined by blanks or a hyphen ("7 1/2", "7-1/2"), with a blank
// margin. nullopt for anything else, a zero denominator included.
std::optional<double> readHorsepower(std::string_view text);

// The rated voltage of the column that serves `volts` for the phase (115, 200, 208, 230, 460,
// 575 or 2300), or nullopt when no column does.
std::optional<int> ratedVolts(Phase phase, double volts);

// The ratings the phase's table lists, smallest first, as the table writes them ("1-1/2").
std::variant<std::vector<std::string>, Failure> horsepowers(refdb::Database& db, Phase phase);

// The figures of an answer.
struct Figures {
    int column = 0;           // rated volts of the column used
    double fullLoadAmps = 0;  // the table current
    double ampacity = 0;      // 125 % of it, to the cent
    std::string starter;      // the starter size; empty when none is given or none is rated
};

// The calculate press. On success `figures`, when given, receives the figures behind the lines.
Outcome calculateMotor(refdb::Database& db, const Inputs& inputs, Figures* figures = nullptr);

}  // namespace voltaro::calc::motor
