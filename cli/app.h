// What every voltaro-cli command shares: the application folder, the reference database opened
// the way the program opens it, option parsing, and how a calculation's outcome is reported.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/common/outcome.h"
#include "refdb/database.h"
#include "shell/shared_state.h"

namespace voltaro::cli {

// Exit statuses: 0 done; 1 the job failed (message on stderr), a value the reference database
// does not hold included; 2 the command line is malformed.
enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

struct Context {
    std::filesystem::path appDir;
    std::ostream& out;
    std::ostream& err;
};

// Writes "voltaro-cli: " and the message on `err`, with control characters escaped (see shown()).
void complain(const Context& context, std::string_view message);

// The text as a message may repeat it: control characters (and their UTF-8 forms U+0080 to
// U+009F) written as \n, \t, \r or \xHH, \uHHHH, so that what a user typed can never move the
// cursor or clear the terminal.
std::string shown(std::string_view text);

// Opens <appDir>/Voltaro.dat read-only (voltaro-cli never writes it) with the password recovered
// through <appDir>/Zephlib.so, and checks that it holds the whole schema. On failure writes why on
// `err` and returns nullopt.
std::optional<refdb::Database> openReferenceDatabase(const Context& context);

// A fresh shared record as a freshly opened panel sees it: the database open, the paths set, every
// option on, no note flags; no results log file unless a command's --log names one. nullopt (and
// a message on `err`) when the database cannot be opened.
std::optional<shell::SharedState> freshState(const Context& context);

// "--name value" pairs. `single` names may appear once, `repeated` names any number of times;
// anything else, a missing value or a stray word makes it nullopt (a usage error).
struct Options {
    std::map<std::string, std::vector<std::string>> values;
    bool has(const std::string& name) const { return values.count(name) > 0; }
    // The value of a single option, or `fallback` when it was not given.
    std::string get(const std::string& name, const std::string& fallback = {}) const;
    const std::vector<std::string>& all(const std::string& name) const;
};
std::optional<Options> parseOptions(const std::vector<std::string>& args,
                                    const std::vector<std::string>& single,
                                    const std::vector<std::string>& repeated = {});

// Reports a calculation: an answer is published as the program publishes it (shell::publishAnswer:
// with `--log PATH` the results log is written to PATH through the one file writer, never over
// <appDir>/Voltaro.dat), then its display lines go to `out`, one per line; a log that cannot be
// written is a failure, with the reason on `err` and PATH as it was. On a failure of the
// calculation the error window's message goes to `err` (its line breaks as newlines), nothing to
// `out`, and the log file is left untouched. Returns the exit status.
int report(const Context& context, shell::SharedState& state, const calc::Outcome& outcome,
           const Options& options);

// The run of most calculator commands: a fresh shared record (status 1 when the database cannot
// be opened), the core run on its database, and its outcome reported as above.
int calculate(
    const Context& context, const Options& options,
    const std::function<calc::Outcome(shell::SharedState& state, refdb::Database& db)>& core);

// The index of `value` among `names` (the choices an option offers), or nullopt.
std::optional<std::size_t> pick(const std::string& value, std::initializer_list<const char*> names);

struct Command {
    std::string name;
    std::string usage;  // arguments after the name, for the usage text
    std::function<int(const Context&, const std::vector<std::string>& args)> run;
};

// The command groups, in the order the usage text lists them; the calculators' commands that
// live beside their cores (calc/<name>/<name>_command.cpp, each a function
// voltaro::cli::commands::<name>() in the target voltaro_command_<name>) follow the conductor
// commands, listed by cli/CMakeLists.txt in calculator_commands.h.
std::vector<Command> tableCommands();
std::vector<Command> racewayCommands();    // conduit, enclosure
std::vector<Command> equipmentCommands();  // transformer, starter
std::vector<Command> conductorCommands();  // wire, ground
std::vector<Command> historyCommands();    // the answers the program kept

}  // namespace voltaro::cli
