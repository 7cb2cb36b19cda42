// The transformer calculator: KVA from full-load amperes and secondary volts, or full-load
// amperes from KVA and volts, single or three phase. A closed formula; no table is read.
//
// calculateTransformer() is the calculate press: CalKVA, then the two display lines and the
// results log, or the error window's message. Inputs are the two boxes' texts exactly as typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc/common/outcome.h"
#include "calc/common/results_log.h"

namespace voltaro::calc::transformer {

// The mode knob: KVA from amperes and volts, or full-load amperes from KVA and volts.
enum class Mode { Kva, Amperes };
// The phase knob.
enum class Phase { Single, Three };

struct Inputs {
    Mode mode = Mode::Kva;
    Phase phase = Phase::Single;
    std::string first = "1";    // TA: amperes in the KVA mode, KVA in the amperes mode
    std::string volts = "115";  // TV: secondary volts
};

// Every failure of the calculation: a number too large to read, the KVA times 1000 beyond 32 bits,
// a division by zero, 0/0, or an answer too large for a double.
inline constexpr std::string_view kCannotCompute = "Values Too High\r\nCannot Compute.";

// The answer rounded to two decimals (amperes mode: the KVA as typed times 1000, which must lie
// within 32 bits, divided by V or by V x 1.732, so 7.5 KVA at 240 V is 31.25 A; KVA mode:
// V x A / 1000 or V x 1.732 x A / 1000), all in doubles; nullopt when it cannot be computed.
std::optional<double> CalKVA(const Inputs& inputs);

// How "###0.00" then a conversion back to a number rounds a finite value: at the second decimal
// of its 15-significant-digit decimal form, halves away from zero (0.125 -> 0.13, 83.136 -> 83.14).
double roundToCents(double value);

// The display lines and the results log of an answer; `result` is the answer in general number
// format.
Answer WriteTransformerResults(const Inputs& inputs, const std::string& result);

// The calculate press. On success `result`, when given, receives the answer in general number
// format.
Outcome calculateTransformer(const Inputs& inputs, std::string* result = nullptr);

}  // namespace voltaro::calc::transformer
