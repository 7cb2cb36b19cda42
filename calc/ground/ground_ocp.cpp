#include "calc/ground/ground_ocp.h"

#include "calc/common/data_failure.h"
#include "calc/common/typed_number.h"
#include "refdb/sql.h"
#include "shell/results_log.h"

namespace voltaro::calc::ground {

std::int32_t readCurrent(std::string_view text) { return typedInt32(text); }

std::variant<GroundSize, Failure> CalGround(shell::SharedState& state, std::int32_t amps,
                                            std::string_view material) {
    if (amps > 800) state.NoteFlags[9] = true;
    if (!state.RefDb || !state.RefDb->isOpen()) return dataFailure("The database is not open.");
    refdb::Database& db = *state.RefDb;

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

Answer WriteGroundResults(shell::SharedState& state, const GroundInputs& inputs,
                          const GroundSize& result) {
    Answer answer;
    // The panel shows "<ground> Ground" CR LF "<fuse> Fuse" in one call: two display lines.
    answer.displayLines = {result.ground + " Ground", result.fuse + " Fuse", "See Notes"};

    shell::ResultsLog log = shell::StartResultsLog("~ Calculate Ground and OCP ~");
    log.write("Full Load Amps: " + inputs.amps);
    log.write("Conductor Type: " + inputs.material);
    log.write("\r\n");
    log.write("Ground Conductor Size:  " + result.ground);
    log.write("Fuse or Circuit Breaker:  " + result.fuse + " Amps");
    std::vector<int> notes{6, 2, 3};
    if (state.NoteFlags[9]) notes.push_back(9);
    log.writeNotes(state, notes);
    answer.log = std::move(log);
    return answer;
}

Outcome calculateGround(shell::SharedState& state, const GroundInputs& inputs) {
    auto result = CalGround(state, readCurrent(inputs.amps), inputs.material);
    if (auto* failure = std::get_if<Failure>(&result)) return *failure;
    return WriteGroundResults(state, inputs, std::get<GroundSize>(result));
}

}  // namespace voltaro::calc::ground
