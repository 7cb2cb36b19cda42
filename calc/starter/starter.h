// The motor starter calculator: the starter size for a three-phase motor from its full-load
// amperes and the supply volts, looked up in the Starter table.
//
// calculateStarter() is the calculate press: the volts check, CalStr, then the display line and
// the results log, or the error window's message. Inputs are the two boxes' texts as typed; the
// caller hands over the reference database already open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "calc/common/outcome.h"
#include "calc/common/results_log.h"
#include "refdb/database.h"

namespace voltaro::calc::starter {

struct Inputs {
    std::string amps = "20";    // Ts: full-load amperes
    std::string volts = "480";  // Ti: supply volts
};

// Messages. The first two break with a lone CR, as the error window has always shown them.
inline constexpr std::string_view kVoltsTooHigh = "Volt Rating Is\rToo High.\r575 Volts Max.";
inline constexpr std::string_view kAmpsTooHigh =
    "Amp Rating Is Too\r High For The Voltage Entered.";
// Volts beyond 16 bits, a number too large to read (the input's fault); an unreadable table, an
// empty size (the reference data's fault, reported with the same message).
inline constexpr std::string_view kCannotCompute = "Values Too High\r\nCannot Compute.";

// The highest supply voltage the table covers.
inline constexpr std::int16_t kMaxVolts = 575;

// The rating column for a voltage: "[200]" up to 215 V (zero and negative included), "[230]"
// from 216 to 250 V, "[460]" from 251 V.
std::string_view ratingColumn(std::int16_t volts);

// The first Starter row, in stored order, whose rating in the volts' column is at least `amps`
// (an empty rating never matches): its Size, or the failure message.
std::variant<std::string, Failure> CalStr(refdb::Database& db, double amps, std::int16_t volts);

// The display line and the results log of an answer.
Answer WriteStarterResults(const Inputs& inputs, const std::string& starterSize);

// The calculate press. On success `starterSize`, when given, receives the size.
Outcome calculateStarter(refdb::Database& db, const Inputs& inputs,
                         std::string* starterSize = nullptr);

}  // namespace voltaro::calc::starter
