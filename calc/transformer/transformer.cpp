#include "calc/transformer/transformer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "numbers/numbers.h"

namespace voltaro::calc::transformer {

namespace {

// The square root of 3 as the trade writes it; the answers depend on this literal.
constexpr double kRootThree = 1.732;

std::string_view phaseText(Phase phase) {
    return phase == Phase::Single ? "Single Phase" : "Three Phase";
}

}  // namespace

double roundToCents(double value) {
    // d.dddddddddddddde+XX: the 15 significant digits the number is written with.
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(value));
    const char* e = std::strchr(text, 'e');
    if (e == nullptr) return value;
    const int exponent = std::atoi(e + 1);
    // Digits that lie at or above the second decimal: value = 0.d1d2...d15 x 10^(exponent + 1).
    const int keep = exponent + 3;
    if (keep >= 15) return std::copysign(std::strtod(text, nullptr), value);
    if (keep < 0) return std::copysign(0.0, value);
    char digits[15];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, 14);
    std::int64_t cents = 0;  // at most 14 digits: exact in a double
    for (int i = 0; i < keep; ++i) cents = cents * 10 + (digits[i] - '0');
    if (digits[keep] >= '5') ++cents;
    return std::copysign(static_cast<double>(cents) / 100.0, value);
}

std::optional<double> CalKVA(const Inputs& inputs) {
    const auto a = numbers::readLeading(inputs.first);
    const auto v = numbers::readLeading(inputs.volts);
    if (a.overflow || v.overflow) return std::nullopt;

    double answer = 0.0;
    if (inputs.mode == Mode::Kva) {
        answer = inputs.phase == Phase::Single ? v.value * a.value / 1000.0
                                               : v.value * kRootThree * a.value / 1000.0;
    } else {
        // The KVA as typed, in volt-amperes. Volt-amperes beyond 32 bits cannot be computed.
        const double k = a.value * 1000.0;
        if (k > static_cast<double>(std::numeric_limits<std::int32_t>::max()) ||
            k < static_cast<double>(std::numeric_limits<std::int32_t>::min()))
            return std::nullopt;
        const double divisor = inputs.phase == Phase::Single ? v.value : v.value * kRootThree;
        // Volts x 1.732 beyond a double is an overflow, not a divisor that makes the answer 0.
        if (!std::isfinite(divisor)) return std::nullopt;
        answer = k / divisor;
    }
    // Division by zero gives an infinity, 0/0 a NaN, an overflow an infinity: none is an answer.
    if (!std::isfinite(answer)) return std::nullopt;
    // An answer within 15-digit rounding of the largest double rounds past it.
    const double rounded = roundToCents(answer);
    if (!std::isfinite(rounded)) return std::nullopt;
    return rounded;
}

Answer WriteTransformerResults(const Inputs& inputs, const std::string& result) {
    const bool kva = inputs.mode == Mode::Kva;
    Answer answer;
    answer.displayLines.push_back(result + (kva ? " KVA" : " Full Load Amps"));
    answer.displayLines.emplace_back(phaseText(inputs.phase));
    answer.log = StartResultsLog(kva ? "~ Calculate KVA ~" : "~ Calculate Transformer ~");
    auto& log = answer.log;
    // The first box's caption follows the mode: it names what was typed into it.
    log.write(std::string(kva ? "Full Load Amps" : "Transformer KVA") + ": " + inputs.first);
    log.write("Power: " + std::string(phaseText(inputs.phase)));
    log.write("Voltage: " + inputs.volts);
    log.write("");
    log.write(std::string(kva ? "Transformer KVA Rating:  " : "Transformer Full Load Amps:  ") +
              result);
    return answer;
}

Outcome calculateTransformer(const Inputs& inputs, std::string* result) {
    const auto answer = CalKVA(inputs);
    if (!answer) return Failure{std::string(kCannotCompute)};
    const std::string text = numbers::general(*answer);
    if (result != nullptr) *result = text;
    return WriteTransformerResults(inputs, text);
}

}  // namespace voltaro::calc::transformer
