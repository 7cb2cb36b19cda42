// voltaro-cli vdrop, voltaro-cli motor: the voltage-drop and motor current calculators. Option
// values the pickers offer are checked here (a value no picker offers is a malformed command line);
// the typed boxes go to the cores as typed, which read them and refuse what they cannot.
#include <algorithm>

#include "calc/motor/motor.h"
#include "calc/vdrop/vdrop.h"
#include "cli/app.h"

namespace voltaro::cli {

namespace {

// The index of `value` among `names`, or nullopt.
std::optional<std::size_t> pick(const std::string& value,
                                std::initializer_list<const char*> names) {
    const auto found = std::find(names.begin(), names.end(), value);
    if (found == names.end()) return std::nullopt;
    return static_cast<std::size_t>(found - names.begin());
}

int vdrop(const Context& context, const std::vector<std::string>& args) {
    using namespace calc::vdrop;
    const auto options = parseOptions(args, {"system", "volts", "amps", "length", "material",
                                             "size", "conduit", "pf", "limit", "log"});
    if (!options) return kUsage;
    for (const char* required : {"system", "volts", "amps", "length", "material", "size"})
        if (!options->has(required)) return kUsage;
    const auto system = pick(options->get("system"), {"single", "three", "dc"});
    const auto material = pick(options->get("material"), {"Copper", "Aluminum"});
    const auto conduit = pick(options->get("conduit", "Steel"), {"PVC", "Aluminum", "Steel"});
    if (!system || !material || !conduit) return kUsage;
    Inputs inputs;
    inputs.system = static_cast<System>(*system);
    // DC runs take no conduit and no power factor: asking for them is a mistake in the command.
    if (inputs.system == System::Dc && (options->has("conduit") || options->has("pf")))
        return kUsage;
    inputs.volts = options->get("volts");
    inputs.amps = options->get("amps");
    inputs.length = options->get("length");
    inputs.material = static_cast<Material>(*material);
    inputs.size = options->get("size");
    inputs.conduit = static_cast<Conduit>(*conduit);
    inputs.pf = options->get("pf", inputs.pf);
    inputs.limit = options->get("limit", inputs.limit);

    auto state = freshState(context);
    if (!state) return kFailed;
    const auto outcome = shell::withDatabase(
        *state, [&](refdb::Database& db) { return calculateVoltageDrop(db, inputs); });
    return report(context, *state, outcome, *options);
}

int motor(const Context& context, const std::vector<std::string>& args) {
    using namespace calc::motor;
    const auto options = parseOptions(args, {"hp", "phase", "volts", "log"});
    if (!options || !options->has("hp") || !options->has("phase") || !options->has("volts"))
        return kUsage;
    const auto phase = pick(options->get("phase"), {"single", "three"});
    if (!phase) return kUsage;
    const Inputs inputs{options->get("hp"), static_cast<Phase>(*phase), options->get("volts")};
    auto state = freshState(context);
    if (!state) return kFailed;
    const auto outcome = shell::withDatabase(
        *state, [&](refdb::Database& db) { return calculateMotor(db, inputs); });
    return report(context, *state, outcome, *options);
}

}  // namespace

std::vector<Command> dropAndMotorCommands() {
    return {
        {"vdrop",
         "--system single|three|dc --volts V --amps A --length FEET --material Copper|Aluminum "
         "--size SIZE [--conduit PVC|Aluminum|Steel] [--pf PF] [--limit PCT] [--log PATH]",
         vdrop},
        {"motor", "--hp HP --phase single|three --volts V [--log PATH]", motor},
    };
}

}  // namespace voltaro::cli
