// The wire size calculation on any typed texts. Input: one byte of switches (bit 0 aluminum,
// bit 1 Terminal Auto off), one byte choosing the insulation type, then the load, the conductor
// count and the ambient box, separated by NUL bytes (missing boxes are empty).
//
// Properties: the outcome is an answer or one of the calculation's own messages (never a
// database error: the shipped tables answer every query); an answer is a size of AWG whose
// derated ampacity reaches the load, with load <= circuit max <= derated; the log is whole.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/common/typed_number.h"
#include "calc/wire/wire_size.h"
#include "fuzz/fuzz_support.h"

using namespace voltaro;

namespace {

struct Insulation {
    std::string type, caption;
};

const std::vector<Insulation>& insulations(const std::string& material) {
    static std::vector<Insulation> copper, aluminum;
    auto& list = material == "Copper" ? copper : aluminum;
    if (list.empty()) {
        auto& db = fuzz::referenceDatabase();
        auto set = db.openRecordset("SELECT Type FROM " + material);
        if (!set) fuzz::fail(set.error().description);
        for (set->moveFirst(); !set->eof(); set->moveNext()) {
            const std::string type = set->field("Type").text();
            auto caption = calc::wire::ShowTempRating(db, material, type);
            auto* found = std::get_if<std::optional<std::string>>(&caption);
            if (!found || !*found) fuzz::fail("no rating for " + type);
            list.push_back({type, **found});
        }
    }
    return list;
}

const std::vector<std::string>& guages() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> out;
        auto set = fuzz::referenceDatabase().openRecordset("SELECT Guage FROM AWG");
        if (!set) fuzz::fail(set.error().description);
        for (set->moveFirst(); !set->eof(); set->moveNext())
            out.push_back(set->field("Guage").text());
        return out;
    }();
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string material = (data[0] & 1) ? "Aluminum" : "Copper";
    const bool terminalAuto = !(data[0] & 2);
    const auto& types = insulations(material);
    const Insulation& insulation = types[data[1] % types.size()];

    std::string boxes[3];
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    for (auto& box : boxes) {
        const auto end = rest.find('\0');
        box = std::string(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }

    auto& db = fuzz::referenceDatabase();
    calc::NoteFlags notes{};
    calc::wire::WireInputs inputs{boxes[0],           material, insulation.type,
                                  insulation.caption, boxes[1], boxes[2]};
    inputs.ambient = calc::wire::ConvertFahrenheit(inputs.ambient);
    const auto result = calc::wire::CalSize(db, notes, inputs, terminalAuto);

    if (const auto* failure = std::get_if<calc::Failure>(&result)) {
        const std::string& m = failure->message;
        fuzz::require(m == calc::wire::kTooFewConductors || m == calc::wire::kTooManyConductors ||
                          m == calc::wire::kAmperesTooLow || m == calc::wire::kTempOutOfRange ||
                          m == calc::wire::kTempTooHigh || m == calc::wire::kAmpsTooHigh,
                      "unexpected message: " + m);
        return 0;
    }
    const auto& wire = std::get<calc::wire::WireSize>(result);
    const double load = calc::typedValue(inputs.amps);
    const auto& sizes = guages();
    fuzz::require(std::find(sizes.begin(), sizes.end(), wire.size) != sizes.end(),
                  "size not in AWG: " + wire.size);
    fuzz::require(
        load > 0 && load <= wire.circuitMaxAmps && wire.circuitMaxAmps <= wire.deRatedAmps,
        "ampacities out of order for " + wire.size);
    fuzz::require(notes[10] != notes[11], "not exactly one terminal note");
    fuzz::require(notes[12] == !terminalAuto, "note 12 does not follow the option");

    const auto answer = calc::wire::WriteWireResults(db, notes, inputs, wire);
    fuzz::require(answer.displayLines.size() == 4 && answer.displayLines[3] == "See Notes",
                  "display lines");
    const std::string& log = answer.log.bytes();
    fuzz::require(log.size() >= 2 && log.compare(log.size() - 2, 2, "\r\n") == 0,
                  "log does not end its last line");
    return 0;
}
