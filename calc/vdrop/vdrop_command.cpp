// voltaro-cli vdrop: the voltage-drop calculator. Option values the panel's lists offer are
// checked here (a value no list offers is a malformed command line); the typed boxes go to the
// core as typed, which reads them and refuses what it cannot.
#include "calc/vdrop/vdrop.h"
#include "cli/app.h"

namespace voltaro::cli::commands {

namespace {

int run(const Context& context, const std::vector<std::string>& args) {
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
    return calculate(context, *options, [&](shell::SharedState&, refdb::Database& db) {
        return calculateVoltageDrop(db, inputs);
    });
}

}  // namespace

std::vector<Command> vdrop() {
    return {{"vdrop",
             "--system single|three|dc --volts V --amps A --length FEET --material "
             "Copper|Aluminum --size SIZE [--conduit PVC|Aluminum|Steel] [--pf PF] [--limit PCT] "
             "[--log PATH]",
             run}};
}

}  // namespace voltaro::cli::commands
