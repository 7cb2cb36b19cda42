// voltaro-cli transformer, voltaro-cli starter: the equipment sizing calculators.
#include "calc/starter/starter.h"
#include "calc/transformer/transformer.h"
#include "cli/app.h"

namespace voltaro::cli {

namespace {

int transformer(const Context& context, const std::vector<std::string>& args) {
    using namespace calc::transformer;
    const auto options = parseOptions(args, {"mode", "phase", "input", "volts", "log"});
    if (!options || !options->has("mode") || !options->has("phase") || !options->has("input") ||
        !options->has("volts"))
        return kUsage;
    Inputs inputs;
    const auto mode = options->get("mode");
    const auto phase = options->get("phase");
    if (mode != "kva" && mode != "amps") return kUsage;
    if (phase != "single" && phase != "three") return kUsage;
    inputs.mode = mode == "kva" ? Mode::Kva : Mode::Amperes;
    inputs.phase = phase == "single" ? Phase::Single : Phase::Three;
    inputs.first = options->get("input");
    inputs.volts = options->get("volts");
    // No table is read: the calculation needs no database.
    shell::SharedState state;
    return report(context, state, calculateTransformer(inputs), *options);
}

int starter(const Context& context, const std::vector<std::string>& args) {
    const auto options = parseOptions(args, {"amps", "volts", "log"});
    if (!options || !options->has("amps") || !options->has("volts")) return kUsage;
    const calc::starter::Inputs inputs{options->get("amps"), options->get("volts")};
    return calculate(context, *options, [&](shell::SharedState&, refdb::Database& db) {
        return calc::starter::calculateStarter(db, inputs);
    });
}

}  // namespace

std::vector<Command> equipmentCommands() {
    return {
        {"transformer",
         "--mode kva|amps --phase single|three --input AMPS_OR_KVA --volts VOLTS [--log PATH]",
         transformer},
        {"starter", "--amps AMPS --volts VOLTS [--log PATH]", starter},
    };
}

}  // namespace voltaro::cli
