#include "cli/app.h"

#include <algorithm>
#include <ostream>

#include "refdb/password.h"
#include "shell/results_log.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::cli {

std::optional<refdb::Database> openReferenceDatabase(const Context& context) {
    auto zephlib = platform::ZephlibBinding::inFolder(context.appDir);
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) {
        context.err << "voltaro-cli: cannot use Zephlib: " << zephlib.bindError() << "\n";
        return std::nullopt;
    }
    const auto path = context.appDir / "Voltaro.dat";
    auto db = refdb::Database::open(path, *password);
    if (!db) {
        context.err << "voltaro-cli: cannot open " << path.string() << ": " << db.error().description
                    << " (error " << db.error().number << ")\n";
        return std::nullopt;
    }
    return db.take();
}

std::optional<shell::SharedState> freshState(const Context& context) {
    auto db = openReferenceDatabase(context);
    if (!db) return std::nullopt;
    shell::SharedState state;
    state.RefDb = std::move(db);
    state.DataPath = context.appDir / "Voltaro.dat";
    state.SoundLibPath = context.appDir / "Tonebank.so";
    state.OptionFlags.fill(true);
    state.PanelBusy = false;
    return state;
}

std::string Options::get(const std::string& name, const std::string& fallback) const {
    const auto found = values.find(name);
    return found == values.end() || found->second.empty() ? fallback : found->second.front();
}

const std::vector<std::string>& Options::all(const std::string& name) const {
    static const std::vector<std::string> none;
    const auto found = values.find(name);
    return found == values.end() ? none : found->second;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args,
                                    const std::vector<std::string>& single,
                                    const std::vector<std::string>& repeated) {
    Options options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const auto& name = args[i];
        if (name.size() < 3 || name.compare(0, 2, "--") != 0) return std::nullopt;
        const auto bare = name.substr(2);
        const bool once = std::find(single.begin(), single.end(), bare) != single.end();
        const bool many = std::find(repeated.begin(), repeated.end(), bare) != repeated.end();
        if (!once && !many) return std::nullopt;
        if (once && options.has(bare)) return std::nullopt;
        if (i + 1 >= args.size()) return std::nullopt;
        options.values[bare].push_back(args[i + 1]);
    }
    return options;
}

namespace {

// The error window's breaks (CR LF or a lone CR) as newlines.
std::string withNewlines(const std::string& message) {
    std::string out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < message.size() && message[i + 1] == '\n') ++i;
        } else {
            out.push_back(message[i]);
        }
    }
    return out;
}

}  // namespace

int report(const Context& context, shell::SharedState& state, const calc::Outcome& outcome,
           const Options& options) {
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        context.err << withNewlines(failure->message) << "\n";
        return kFailed;
    }
    const auto& answer = std::get<calc::Answer>(outcome);
    // Published as a panel publishes it; the lines are printed only once all of it has worked.
    state.ResultsPath = options.get("log");
    if (auto error = shell::publishAnswer(state, answer)) {
        context.err << "voltaro-cli: " << *error << "\n";
        return kFailed;
    }
    for (const auto& line : answer.displayLines) context.out << line << "\n";
    return kDone;
}

}  // namespace voltaro::cli
