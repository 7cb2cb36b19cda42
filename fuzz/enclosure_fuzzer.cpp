// Selecting a NEMA enclosure by a typed number. Input: the typed text.
//
// Properties: the whole number read from the text (halves to even) selects the Enclosures row
// with that ID, or, when no row has it (0, negative, past the last, beyond 16 bits, too large to
// read), the outcome is "No NEMA Enclosure" / "With That Number." and nothing else. An answer
// shows that row's NEMA type and its five description lines, and the log names the same type and
// ends with the same lines.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "calc/enclosure/enclosure.h"
#include "fuzz/fuzz_support.h"
#include "numbers/numbers.h"

using namespace voltaro;
using namespace voltaro::calc::enclosure;

namespace {

const std::map<double, Enclosure>& enclosures() {
    static const std::map<double, Enclosure> rows = [] {
        std::map<double, Enclosure> out;
        auto set = fuzz::referenceDatabase().openRecordset("SELECT * FROM Enclosures");
        if (!set) fuzz::fail(set.error().description);
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            Enclosure row;
            row.nema = set->field("Nema").text();
            for (std::size_t i = 0; i < row.lines.size(); ++i)
                row.lines[i] = set->field("d" + std::to_string(i + 1)).text();
            out[set->field("ID").number()] = row;
        }
        if (out.empty()) fuzz::fail("the Enclosures table is empty");
        return out;
    }();
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto reading = numbers::readLeading(text);
    const double id = reading.overflow ? 0 : numbers::roundHalfEven(reading.value);
    const auto& rows = enclosures();
    const auto row = rows.find(id);

    const auto outcome = selectEnclosure(fuzz::referenceDatabase(), text);

    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        fuzz::require(failure->message == kNoSuchEnclosure,
                      "unexpected message: " + failure->message);
        fuzz::require(row == rows.end(), "no enclosure for ID " + numbers::general(id));
        return 0;
    }
    fuzz::require(row != rows.end(),
                  "an enclosure for ID " + numbers::general(id) + ", which has none");
    const Enclosure& want = row->second;
    const auto& answer = std::get<calc::Answer>(outcome);
    fuzz::require(answer.displayLines.size() == 6, "display lines");
    fuzz::require(answer.displayLines[0] == "NEMA " + want.nema + " Enclosure",
                  "ID " + numbers::general(id) + " shows " + answer.displayLines[0]);
    for (std::size_t i = 0; i < want.lines.size(); ++i)
        fuzz::require(answer.displayLines[i + 1] == want.lines[i],
                      "description line " + std::to_string(i + 1));

    const std::string& log = answer.log.bytes();
    fuzz::require(log.find("NEMA Enclosure:  " + want.nema + "\r\n\r\n") != std::string::npos,
                  "log does not name NEMA " + want.nema);
    std::string tail;
    for (const auto& line : want.lines) tail += line + "\r\n";
    fuzz::require(
        log.size() >= tail.size() && log.compare(log.size() - tail.size(), tail.size(), tail) == 0,
        "log does not end with the description");
    return 0;
}
