// voltaro-cli conduit, voltaro-cli enclosure: conduit size and the NEMA enclosure types.
#include <ostream>

#include "calc/conduit/conduit.h"
#include "calc/enclosure/enclosure.h"
#include "cli/app.h"

namespace voltaro::cli {

namespace {

// Sets the conduit type as the type dialog does: the abbreviation and its full name from ConType.
// An abbreviation that ConType does not hold is refused, with the ones it does.
bool chooseConduitType(const Context& context, shell::SharedState& state, const std::string& abbr) {
    auto types = state.RefDb->openRecordset("SELECT * FROM ConType");
    if (!types) {
        complain(context, types.error().description);
        return false;
    }
    std::string known;
    for (types->moveFirst(); !types->eof(); types->moveNext()) {
        const auto candidate = types->field("Abbr").text();
        if (candidate == abbr) {
            state.ConduitAbbr = abbr;
            state.ConduitName = types->field("PipeName").text();
            return true;
        }
        known += (known.empty() ? "" : ", ") + candidate;
    }
    complain(context, "unknown conduit type \"" + abbr + "\" (the types are: " + known + ")");
    return false;
}

int conduit(const Context& context, const std::vector<std::string>& args) {
    const auto options = parseOptions(args, {"type", "log"}, {"wire"});
    if (!options) return kUsage;
    auto state = freshState(context);
    if (!state) return kFailed;
    if (options->has("type") && !chooseConduitType(context, *state, options->get("type")))
        return kFailed;
    const auto outcome = shell::withDatabase(*state, [&](refdb::Database& db) {
        return calc::conduit::conduitForEntries(
            db, state->NoteFlags, {state->ConduitAbbr, state->ConduitName}, options->all("wire"));
    });
    return report(context, *state, outcome, *options);
}

int enclosure(const Context& context, const std::vector<std::string>& args) {
    const auto options = parseOptions(args, {"id", "log"});
    if (!options || !options->has("id")) return kUsage;
    return calculate(context, *options, [&](shell::SharedState&, refdb::Database& db) {
        return calc::enclosure::selectEnclosure(db, options->get("id"));
    });
}

}  // namespace

std::vector<Command> racewayCommands() {
    return {
        {"conduit", "[--type ABBR] --wire \"GAUGE - TYPE\" [--wire ...] [--log PATH]", conduit},
        {"enclosure", "--id N [--log PATH]", enclosure},
    };
}

}  // namespace voltaro::cli
