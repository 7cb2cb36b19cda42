#include "calc/ground/ground_ocp.h"

#include "calc/common/data_failure.h"
#include "calc/common/footnotes.h"
#include "calc/common/typed_number.h"
#include "refdb/sql.h"

namespace voltaro::calc::ground {

std::int32_t readCurrent(std::string_view text) { return typedInt32(text); }

std::variant<GroundSize, Failure> CalGround(refdb::Database& db, NoteFlags& notes,
                                            std::int32_t amps, std::string_view material) {
    if (amps > 800) notes[kNoteDeviceOver800] = true;

    // No lower limit: 0 or a negative current takes the smallest rating.
    auto fuses = db.openRecordset("SELECT * FROM FuseSize");
    if (!fuses) return dataFailure(fuses.error());
    // An empty table would otherwise pass for a current above 6000 A.
    if (fuses->recordCount() == 0) return dataFailure("FuseSize holds no ratings.");
    auto fuse = fuses->findFirst("Fuse >= " + std::to_string(amps));
    if (!fuse) return dataFailure(fuse.error());
    if (!*fuse) return Failure{kAmpRatingTooHigh};
    const refdb::Value rating = fuses->field("Fuse");
    GroundSize result;
    result.fuse = rating.text();

    auto grounds = db.openRecordset("SELECT * FROM GndWire");
    if (!grounds) return dataFailure(grounds.error());
    // The rating goes into the criterion as a number, whatever the cell holds.
    auto ground = grounds->findFirst("OCP >= " + refdb::sqlNumber(rating.number()));
    if (!ground) return dataFailure(ground.error());
    if (!*ground) return Failure{kNoGroundWire};
    result.ground = grounds->field(material == "Copper" ? "Cop" : "Alu").text();
    if (result.ground.empty()) return Failure{kNoGroundWire};
    return result;
}

Answer WriteGroundResults(refdb::Database& db, const NoteFlags& notes, const GroundInputs& inputs,
                          const GroundSize& result) {
    Answer answer;
    // The panel shows "<ground> Ground" CR LF "<fuse> Fuse" in one call: two display lines.
    answer.displayLines = {result.ground + " Ground", result.fuse + " Fuse", "See Notes"};

    ResultsLog log = StartResultsLog("~ Calculate Ground and OCP ~");
    log.write("Full Load Amps: " + inputs.amps);
    log.write("Conductor Type: " + inputs.material);
    log.write("\r\n");
    log.write("Ground Conductor Size:  " + result.ground);
    log.write("Fuse or Circuit Breaker:  " + result.fuse + " Amps");
    std::vector<int> printed{kNoteGroundNoLarger, kNoteGroundForVoltageDrop,
                             kNoteNextStandardDevice};
    if (notes[kNoteDeviceOver800]) printed.push_back(kNoteDeviceOver800);
    writeNotes(log, db, printed);
    answer.log = std::move(log);
    return answer;
}

Outcome calculateGround(refdb::Database& db, NoteFlags& notes, const GroundInputs& inputs,
                        GroundSize* result) {
    auto found = CalGround(db, notes, readCurrent(inputs.amps), inputs.material);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    if (result != nullptr) *result = std::get<GroundSize>(found);
    return WriteGroundResults(db, notes, inputs, std::get<GroundSize>(found));
}

}  // namespace voltaro::calc::ground
