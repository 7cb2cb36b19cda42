#include "calc/starter/starter.h"

#include "numbers/numbers.h"

namespace voltaro::calc::starter {

std::string_view ratingColumn(std::int16_t volts) {
    if (volts <= 215) return "[200]";
    if (volts <= 250) return "[230]";
    return "[460]";
}

std::variant<std::string, Failure> CalStr(refdb::Database& db, double amps, std::int16_t volts) {
    const Failure unreadable{std::string(kCannotCompute), Cause::ReferenceData};
    auto starters = db.openRecordset("SELECT * FROM Starter");
    if (!starters) return unreadable;
    // A NULL rating compares as unknown, so a size without a rating at this voltage is passed by.
    auto found =
        starters->findFirst(std::string(ratingColumn(volts)) + " >= " + numbers::general(amps));
    if (!found) return unreadable;
    if (!*found) return Failure{std::string(kAmpsTooHigh)};
    auto size = starters->field("Size").text();
    if (size.empty()) return unreadable;
    return size;
}

Answer WriteStarterResults(const Inputs& inputs, const std::string& starterSize) {
    Answer answer;
    answer.displayLines.push_back("Use Size " + starterSize + " Starter");
    answer.log = StartResultsLog("~ Calculate Starter Size ~");
    auto& log = answer.log;
    log.write("Full Load Amps: " + inputs.amps);
    log.write("Voltage: " + inputs.volts);
    log.write("");
    log.write("");
    log.write("Use Starter Size:  " + starterSize);
    return answer;
}

Outcome calculateStarter(refdb::Database& db, const Inputs& inputs, std::string* starterSize) {
    const Failure cannotCompute{std::string(kCannotCompute)};
    const auto amps = numbers::readLeading(inputs.amps);
    const auto voltsRead = numbers::readLeading(inputs.volts);
    if (amps.overflow || voltsRead.overflow) return cannotCompute;
    const auto volts = numbers::toInt16(voltsRead.value);
    if (!volts) return cannotCompute;
    if (*volts > kMaxVolts) return Failure{std::string(kVoltsTooHigh)};

    auto size = CalStr(db, amps.value, *volts);
    if (auto* failure = std::get_if<Failure>(&size)) return *failure;
    if (starterSize != nullptr) *starterSize = std::get<std::string>(size);
    return WriteStarterResults(inputs, std::get<std::string>(size));
}

}  // namespace voltaro::calc::starter
