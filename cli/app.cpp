#include "cli/app.h"

#include <algorithm>
#include <ostream>

#include "refdb/password.h"
#include "refdb/schema_check.h"
#include "shell/results_log.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::cli {

void complain(const Context& context, std::string_view message) {
    context.err << "voltaro-cli: " << shown(message) << "\n";
}

std::string shown(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c < 0x20 || c == 0x7f)
            out += {'\\', 'x', kDigits[c >> 4], kDigits[c & 15]};
        else if (c == 0xc2 && next >= 0x80 && next <= 0x9f) {
            out += {'\\', 'u', '0', '0', kDigits[next >> 4], kDigits[next & 15]};
            ++i;
        } else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

std::optional<refdb::Database> openReferenceDatabase(const Context& context) {
    auto zephlib = platform::ZephlibBinding::inFolder(context.appDir);
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) {
        complain(context, "cannot use Zephlib: " + zephlib.bindError());
        return std::nullopt;
    }
    const auto path = context.appDir / "Voltaro.dat";
    auto db = refdb::Database::open(path, *password, refdb::Database::Access::ReadOnly);
    auto error = db ? refdb::checkSchema(*db) : db.error();
    if (error) {
        complain(context, "cannot open " + path.string() + ": " + error->description + " (error " +
                              std::to_string(error->number) + ")");
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
        // An empty file name would answer and keep no log.
        if (bare == "log" && args[i + 1].empty()) return std::nullopt;
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
        // The message's own breaks stay breaks; anything else it repeats of the input is escaped.
        const auto text = withNewlines(failure->message);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            context.err << shown(text.substr(start, end - start)) << "\n";
        context.err << shown(text.substr(start)) << "\n";
        return kFailed;
    }
    const auto& answer = std::get<calc::Answer>(outcome);
    // Published as a panel publishes it; the lines are printed only once all of it has worked.
    state.ResultsPath = options.get("log");
    if (state.DataPath.empty()) state.DataPath = context.appDir / "Voltaro.dat";  // never the log
    // --log writes through a link, as the shell's ">" does.
    if (auto error = shell::publishAnswer(state, answer, {}, true)) {
        complain(context, *error);
        return kFailed;
    }
    for (const auto& line : answer.displayLines) context.out << line << "\n";
    return kDone;
}

int calculate(
    const Context& context, const Options& options,
    const std::function<calc::Outcome(shell::SharedState& state, refdb::Database& db)>& core) {
    auto state = freshState(context);
    if (!state) return kFailed;
    const auto outcome =
        shell::withDatabase(*state, [&](refdb::Database& db) { return core(*state, db); });
    return report(context, *state, outcome, options);
}

std::optional<std::size_t> pick(const std::string& value,
                                std::initializer_list<const char*> names) {
    const auto found = std::find(names.begin(), names.end(), value);
    if (found == names.end()) return std::nullopt;
    return static_cast<std::size_t>(found - names.begin());
}

}  // namespace voltaro::cli
