// voltaro-cli motor: the motor full-load current calculator. The phase is one of the knob's two
// choices (anything else is a malformed command line); the horsepower and the volts go to the
// core as typed.
#include "calc/motor/motor.h"
#include "cli/app.h"

namespace voltaro::cli::commands {

namespace {

int run(const Context& context, const std::vector<std::string>& args) {
    using namespace calc::motor;
    const auto options = parseOptions(args, {"hp", "phase", "volts", "log"});
    if (!options || !options->has("hp") || !options->has("phase") || !options->has("volts"))
        return kUsage;
    const auto phase = pick(options->get("phase"), {"single", "three"});
    if (!phase) return kUsage;
    const Inputs inputs{options->get("hp"), static_cast<Phase>(*phase), options->get("volts")};
    return calculate(context, *options, [&](shell::SharedState&, refdb::Database& db) {
        return calculateMotor(db, inputs);
    });
}

}  // namespace

std::vector<Command> motor() {
    return {{"motor", "--hp HP --phase single|three --volts V [--log PATH]", run}};
}

}  // namespace voltaro::cli::commands
