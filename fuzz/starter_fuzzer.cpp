// The motor starter calculation on any typed texts. Input: the amperes box and the volts box,
// separated by a NUL byte (a missing box is empty).
//
// Properties: the outcome is an answer or one of the calculation's three messages, and the one
// the inputs call for: the volts message exactly above 575 V (whole volts within 16 bits),
// "Cannot Compute" for a box too large to read or volts beyond 16 bits, otherwise the amperes
// message exactly when no size is rated for the amperes at that voltage's column. An answer is
// the first Starter size, in stored order, whose rating in that column reaches the amperes (as
// the criterion writes them, to 15 digits); the display line and the log name it.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/starter/starter.h"
#include "fuzz/fuzz_support.h"
#include "numbers/numbers.h"

using namespace voltaro;
using namespace voltaro::calc::starter;

namespace {

struct Row {
    std::string size;
    std::optional<double> rating[3];  // at 200, 230 and 460 V; empty where the size has none
};

const std::vector<Row>& starters() {
    static const std::vector<Row> rows = [] {
        std::vector<Row> out;
        auto set = fuzz::referenceDatabase().openRecordset("SELECT * FROM Starter");
        if (!set) fuzz::fail(set.error().description);
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            Row row{set->field("Size").text(), {}};
            const char* columns[] = {"200", "230", "460"};
            for (int i = 0; i < 3; ++i) {
                const auto value = set->field(columns[i]);
                if (!value.isNull()) row.rating[i] = value.number();
            }
            out.push_back(row);
        }
        if (out.empty()) fuzz::fail("the Starter table is empty");
        return out;
    }();
    return rows;
}

// The rating column for whole volts: up to 215 V the 200 V column, up to 250 V the 230 V one.
int columnOf(std::int16_t volts) { return volts <= 215 ? 0 : volts <= 250 ? 1 : 2; }

// The message or the size the inputs call for.
std::variant<std::string, calc::Failure> expected(const Inputs& in) {
    const auto amps = numbers::readLeading(in.amps);
    const auto volts = numbers::readLeading(in.volts);
    const calc::Failure cannot{std::string(kCannotCompute)};
    if (amps.overflow || volts.overflow) return cannot;
    const double whole = numbers::roundHalfEven(volts.value);
    if (whole < -32768 || whole > 32767) return cannot;
    if (whole > 575) return calc::Failure{std::string(kVoltsTooHigh)};
    // The amperes are compared as the criterion spells them (strtod: "1E-310" is no error).
    const double criterion = std::strtod(numbers::general(amps.value).c_str(), nullptr);
    const int column = columnOf(static_cast<std::int16_t>(whole));
    for (const Row& row : starters())
        if (row.rating[column] && *row.rating[column] >= criterion) return row.size;
    return calc::Failure{std::string(kAmpsTooHigh)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto nul = text.find('\0');
    Inputs in;
    in.amps = std::string(text.substr(0, nul));
    in.volts = nul == std::string_view::npos ? std::string() : std::string(text.substr(nul + 1));

    const auto want = expected(in);
    const auto outcome = calculateStarter(fuzz::referenceDatabase(), in);

    const auto* starterSize = std::get_if<std::string>(&want);
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        if (starterSize)
            fuzz::fail("message " + failure->message + " where size " + *starterSize + " fits");
        const auto& wanted = std::get<calc::Failure>(want).message;
        fuzz::require(failure->message == wanted,
                      "message " + failure->message + " instead of " + wanted);
        return 0;
    }
    if (!starterSize) fuzz::fail("an answer instead of " + std::get<calc::Failure>(want).message);
    fuzz::require(!starterSize->empty(), "the matching Starter row has no size");
    const auto& answer = std::get<calc::Answer>(outcome);
    fuzz::require(answer.displayLines.size() == 1 &&
                      answer.displayLines[0] == "Use Size " + *starterSize + " Starter",
                  "display line is not size " + *starterSize);
    const std::string last = "Use Starter Size:  " + *starterSize + "\r\n";
    const std::string& log = answer.log.bytes();
    fuzz::require(
        log.size() >= last.size() && log.compare(log.size() - last.size(), last.size(), last) == 0,
        "log does not end with size " + *starterSize);
    return 0;
}
