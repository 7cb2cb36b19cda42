// The transformer calculation on any typed texts. Input: one byte of switches (bit 0 the
// amperes mode, bit 1 three phase), then the first box (amperes or KVA) and the volts box,
// separated by a NUL byte (a missing box is empty).
//
// Properties: the outcome is an answer or "Values Too High" / "Cannot Compute."; an answer is a
// finite number in general format with at most two decimals, within half a cent of the formula
// worked again here in long double (KVA x 1000 within 32 bits for the amperes mode). It is
// refused exactly when the formula gives no number: a box too large to read, the 32-bit product,
// a division by zero, any step beyond the range of a double, or an answer that rounds past it.
// The display lines and the log name the same answer.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "calc/transformer/transformer.h"
#include "fuzz/fuzz_support.h"
#include "numbers/numbers.h"

using namespace voltaro;
using namespace voltaro::calc::transformer;

namespace {

constexpr double kRootThree = 1.732;

// The formula's value worked in long double, or nothing when a step of it, taken in doubles in
// the order the formula states, leaves the range of a double or divides by zero.
std::optional<long double> formula(const Inputs& in) {
    const auto a = numbers::readLeading(in.first);
    const auto v = numbers::readLeading(in.volts);
    if (a.overflow || v.overflow) return std::nullopt;
    const auto finite = [](double step) { return std::isfinite(step); };
    const long double volts = v.value;
    if (in.mode == Mode::Kva) {
        if (in.phase == Phase::Single) {
            if (!finite(v.value * a.value)) return std::nullopt;
            return volts * a.value / 1000;
        }
        const double rooted = v.value * kRootThree;
        if (!finite(rooted) || !finite(rooted * a.value)) return std::nullopt;
        return volts * kRootThree * a.value / 1000;
    }
    const double voltAmperes = a.value * 1000;
    if (voltAmperes > 2147483647.0 || voltAmperes < -2147483648.0) return std::nullopt;  // 32 bits
    const bool single = in.phase == Phase::Single;
    const double divisor = single ? v.value : v.value * kRootThree;
    if (!finite(divisor) || divisor == 0 || !finite(voltAmperes / divisor)) return std::nullopt;
    return voltAmperes / (single ? volts : volts * kRootThree);
}

// Whether a double written with 15 significant digits still reads as a double: just below the
// largest double it rounds up past it.
bool fifteenDigitsFit(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::isfinite(std::strtod(text, nullptr));
}

// What the calculation should answer: the formula's value, or nothing when there is none or it
// does not survive rounding to two decimals.
std::optional<long double> expected(const Inputs& in) {
    const auto value = formula(in);
    if (value && !fifteenDigitsFit(static_cast<double>(*value))) return std::nullopt;
    return value;
}

// The digits after the decimal point of a general-format number: "12.5" has one, "1E+15" none;
// a negative exponent ("1E-05") counts as more than any answer may have.
std::size_t decimalsOf(std::string_view text) {
    const auto exponent = text.find('E');
    if (exponent != std::string_view::npos) return text[exponent + 1] == '-' ? 99 : 0;
    const auto point = text.find('.');
    return point == std::string_view::npos ? 0 : text.size() - point - 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Inputs in;
    in.mode = (data[0] & 1) ? Mode::Amperes : Mode::Kva;
    in.phase = (data[0] & 2) ? Phase::Three : Phase::Single;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto nul = rest.find('\0');
    in.first = std::string(rest.substr(0, nul));
    in.volts = nul == std::string_view::npos ? std::string() : std::string(rest.substr(nul + 1));

    const auto want = expected(in);
    const auto outcome = calculateTransformer(in);
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        fuzz::require(failure->message == kCannotCompute,
                      "unexpected message: " + failure->message);
        if (want) fuzz::fail("refused the answer " + numbers::general(static_cast<double>(*want)));
        return 0;
    }
    fuzz::require(want.has_value(), "answered where the formula gives no number");
    const auto& answer = std::get<calc::Answer>(outcome);
    fuzz::require(answer.displayLines.size() == 2, "display lines");
    const std::string_view suffix = in.mode == Mode::Kva ? " KVA" : " Full Load Amps";
    const std::string& line = answer.displayLines[0];
    fuzz::require(line.size() > suffix.size() &&
                      line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0,
                  "first display line: " + line);
    const std::string result = line.substr(0, line.size() - suffix.size());
    fuzz::require(
        answer.displayLines[1] == (in.phase == Phase::Single ? "Single Phase" : "Three Phase"),
        "phase line: " + answer.displayLines[1]);

    const auto reading = numbers::readLeading(result);
    fuzz::require(!reading.overflow && std::isfinite(reading.value) &&
                      numbers::general(reading.value) == result,
                  "answer is not a finite number in general format: " + result);
    fuzz::require(decimalsOf(result) <= 2, "more than two decimals: " + result);
    // Half a cent of rounding, and the rounding of doubles over a few steps.
    const long double error = std::fabs(reading.value - *want);
    fuzz::require(error <= 0.00501L + std::fabs(*want) * 1e-13L,
                  "answer " + result + " is not the formula's " +
                      numbers::general(static_cast<double>(*want)));

    const std::string& log = answer.log.bytes();
    const std::string last = std::string(in.mode == Mode::Kva ? "Transformer KVA Rating:  "
                                                              : "Transformer Full Load Amps:  ") +
                             result + "\r\n";
    fuzz::require(
        log.size() >= last.size() && log.compare(log.size() - last.size(), last.size(), last) == 0,
        "log does not end with the answer");
    return 0;
}
