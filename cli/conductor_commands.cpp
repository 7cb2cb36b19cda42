// voltaro-cli wire, voltaro-cli ground: the conductor sizing calculators, each run as a freshly
// opened panel would run it (no footnotes left from an earlier result, every option on unless the
// command says otherwise).
#include <ostream>

#include "calc/ground/ground_ocp.h"
#include "calc/wire/wire_size.h"
#include "cli/app.h"
#include "refdb/sql.h"

namespace voltaro::cli {

namespace {

bool isMaterial(const std::string& text) { return text == "Copper" || text == "Aluminum"; }

int wire(const Context& context, const std::vector<std::string>& args) {
    const auto options = parseOptions(
        args, {"amps", "material", "insulation", "conductors", "ambient", "terminal-auto", "log"});
    if (!options) return kUsage;
    for (const char* required : {"amps", "material", "insulation", "conductors", "ambient"})
        if (!options->has(required)) return kUsage;
    const std::string terminalAuto = options->get("terminal-auto", "on");
    if (!isMaterial(options->get("material")) || (terminalAuto != "on" && terminalAuto != "off"))
        return kUsage;

    auto state = freshState(context);
    if (!state) return kFailed;
    state->OptionFlags[shell::kTerminalAuto] = terminalAuto == "on";

    calc::wire::WireInputs inputs;
    inputs.amps = options->get("amps");
    inputs.material = options->get("material");
    inputs.insulation = options->get("insulation");
    inputs.conductors = options->get("conductors");
    inputs.ambient = options->get("ambient");
    // The panel shows the rating of the selected type; only types of the material's table exist.
    auto rating = shell::withDatabase(*state, [&](refdb::Database& db) {
        return calc::wire::ShowTempRating(db, inputs.material, inputs.insulation);
    });
    if (auto* failure = std::get_if<calc::Failure>(&rating))
        return report(context, *state, *failure, *options);
    const auto& caption = std::get<std::optional<std::string>>(rating);
    if (!caption) {
        // Not a malformed command line: a value the reference database does not hold.
        std::string known;
        if (auto types =
                state->RefDb->openRecordset("SELECT Type FROM " + refdb::sqlName(inputs.material)))
            for (types->moveFirst(); !types->eof(); types->moveNext())
                known += (known.empty() ? "" : ", ") + types->field("Type").text();
        complain(context, "no insulation type \"" + inputs.insulation + "\" in the " +
                              inputs.material + " table (the types are: " + known + ")");
        return kFailed;
    }
    inputs.rating = *caption;
    const auto outcome = shell::withDatabase(*state, [&](refdb::Database& db) {
        return calc::wire::calculateWire(db, state->NoteFlags, inputs,
                                         state->OptionFlags[shell::kTerminalAuto]);
    });
    return report(context, *state, outcome, *options);
}

int ground(const Context& context, const std::vector<std::string>& args) {
    const auto options = parseOptions(args, {"amps", "material", "log"});
    if (!options || !options->has("amps") || !isMaterial(options->get("material"))) return kUsage;
    const calc::ground::GroundInputs inputs{options->get("amps"), options->get("material")};
    return calculate(context, *options, [&](shell::SharedState& state, refdb::Database& db) {
        return calc::ground::calculateGround(db, state.NoteFlags, inputs);
    });
}

}  // namespace

std::vector<Command> conductorCommands() {
    return {
        {"wire",
         "--amps A --material Copper|Aluminum --insulation TYPE --conductors N --ambient T[F] "
         "[--terminal-auto on|off] [--log PATH]",
         wire},
        {"ground", "--amps A --material Copper|Aluminum [--log PATH]", ground},
    };
}

}  // namespace voltaro::cli
