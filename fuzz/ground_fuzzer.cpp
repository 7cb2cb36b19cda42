// The ground and OCP calculation on any typed current. Input: one byte (bit 0 aluminum), then the
// text of the current box.
//
// Properties: above 6000 A the message, otherwise the smallest standard rating at or above the
// current with its ground size from the table; note 9 exactly above 800 A; the log is whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/ground/ground_ocp.h"
#include "fuzz/fuzz_support.h"

using namespace voltaro;

namespace {

const std::vector<double>& ratings() {
    static const std::vector<double> list = [] {
        std::vector<double> out;
        auto set = fuzz::referenceDatabase().openRecordset("SELECT Fuse FROM FuseSize");
        if (!set) fuzz::fail(set.error().description);
        for (set->moveFirst(); !set->eof(); set->moveNext())
            out.push_back(set->field("Fuse").number());
        return out;
    }();
    return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string material = (data[0] & 1) ? "Aluminum" : "Copper";
    const std::string amps(reinterpret_cast<const char*>(data) + 1, size - 1);

    calc::NoteFlags notes{};
    const std::int32_t current = calc::ground::readCurrent(amps);
    const auto outcome =
        calc::ground::calculateGround(fuzz::referenceDatabase(), notes, {amps, material});
    fuzz::require(notes[9] == (current > 800), "note 9 does not follow 800 A");

    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        fuzz::require(failure->message == calc::ground::kAmpRatingTooHigh && current > 6000,
                      "unexpected message: " + failure->message);
        return 0;
    }
    fuzz::require(current <= 6000, "no message above 6000 A");
    const auto& answer = std::get<calc::Answer>(outcome);
    fuzz::require(answer.displayLines.size() == 3, "display lines");
    const std::string& fuseLine = answer.displayLines[1];
    const double fuse = std::stod(fuseLine);
    double smallest = 0;
    for (const double r : ratings())
        if (r >= current) {
            smallest = r;
            break;
        }
    fuzz::require(fuse == smallest, "not the smallest rating at or above the current: " + fuseLine);
    fuzz::require(answer.displayLines[0].size() > 7, "no ground size");
    const std::string& log = answer.log.bytes();
    fuzz::require(log.compare(log.size() - 2, 2, "\r\n") == 0, "log does not end its last line");
    return 0;
}
