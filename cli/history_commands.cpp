// voltaro-cli history: the answers the program kept in the user's history, newest first, and
// one entry's log. The history is only read (the calculating commands never add to it); a history
// the program has not started yet is an empty one.
#include <ctime>
#include <ostream>

#include "cli/app.h"
#include "history/store.h"

namespace voltaro::cli {

namespace {

// "2026-12-07 20:15:03" (text, CSV) or "2026-12-07T20:15:03+01:00" (JSON), in local time.
std::string dateText(std::int64_t ms, bool iso) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::strftime(text, sizeof text, iso ? "%Y-%m-%dT%H:%M:%S%z" : "%Y-%m-%d %H:%M:%S", &local);
    const std::string out = text;
    if (!iso || out.size() < 5) return out;
    return out.substr(0, out.size() - 2) + ":" + out.substr(out.size() - 2);  // +0100 -> +01:00
}

bool validUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t more = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        if (more == 0 || i + more >= text.size()) return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += more + 1;
    }
    return true;
}

// A JSON string. The program's display and log are 8-bit text: bytes that are not UTF-8 are
// taken as Latin-1, as the display shows them.
std::string jsonString(const std::string& text) {
    std::string utf8;
    if (validUtf8(text)) {
        utf8 = text;
    } else {
        for (char ch : text) {
            const auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                utf8 += ch;
            } else {
                utf8 += static_cast<char>(0xc0 | (c >> 6));
                utf8 += static_cast<char>(0x80 | (c & 0x3f));
            }
        }
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "\"";
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\')
            out += {'\\', ch};
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c == 0x7f)
            out += {'\\', 'u', '0', '0', kDigits[c >> 4], kDigits[c & 15]};
        else
            out += ch;
    }
    return out + "\"";
}

// A CSV field: quoted, its quotes doubled; line breaks stay inside the quotes.
std::string csvField(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string joined(const std::vector<std::string>& lines, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? separator : "") + lines[i];
    return out;
}

std::optional<std::unique_ptr<history::Store>> openHistory(const Context& context) {
    auto store = history::Store::open(history::defaultPath(), history::Store::Mode::Browse);
    if (!store) {
        complain(context, store.error().message);
        return std::nullopt;
    }
    return std::move(*store);
}

bool digitsOnly(const std::string& text) {
    return !text.empty() && text.size() < 19 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

int show(const Context& context, const std::vector<std::string>& args) {
    if (args.size() != 1 || !digitsOnly(args[0])) return kUsage;
    auto store = openHistory(context);
    if (!store) return kFailed;
    auto found = (*store)->find(std::stoll(args[0]));
    if (!found) {
        complain(context, found.error().message);
        return kFailed;
    }
    if (!*found) {
        complain(context, "the history holds no entry " + args[0]);
        return kFailed;
    }
    context.out << (*found)->log;  // the results log as it was written, CR LF lines
    return kDone;
}

int list(const Context& context, const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "show") return show(context, {args.begin() + 1, args.end()});
    const auto options = parseOptions(args, {"limit", "format", "search"});
    if (!options) return kUsage;
    history::Query query;
    query.search = options->get("search");
    if (options->has("limit")) {
        const auto limit = options->get("limit");
        if (!digitsOnly(limit) || limit.size() > 9) return kUsage;
        query.limit = std::stoi(limit);
    }
    const auto format = options->get("format", "text");
    if (format != "text" && format != "csv" && format != "json") return kUsage;
    auto store = openHistory(context);
    if (!store) return kFailed;
    auto entries = (*store)->list(query);
    if (!entries) {
        complain(context, entries.error().message);
        return kFailed;
    }
    auto& out = context.out;
    if (format == "text") {
        // One line each: id, date, calculator, the answer's first line; what a user typed is
        // escaped, so it cannot move the terminal's cursor.
        for (const auto& e : *entries)
            out << e.id << "  " << dateText(e.recordedMs, false) << "  " << shown(e.calculator)
                << "  " << shown(e.display.empty() ? std::string() : e.display.front()) << "\n";
    } else if (format == "csv") {
        out << "id,date,calculator,inputs,display\r\n";
        for (const auto& e : *entries)
            out << e.id << "," << csvField(dateText(e.recordedMs, false)) << ","
                << csvField(e.calculator) << "," << csvField(history::inputsText(e.inputs)) << ","
                << csvField(joined(e.display, "\n")) << "\r\n";
    } else {
        out << "[";
        for (std::size_t i = 0; i < entries->size(); ++i) {
            const auto& e = (*entries)[i];
            out << (i ? ",\n " : "\n ") << "{\"id\": " << e.id
                << ", \"date\": " << jsonString(dateText(e.recordedMs, true))
                << ", \"calculator\": " << jsonString(e.calculator) << ", \"inputs\": [";
            for (std::size_t k = 0; k < e.inputs.size(); ++k)
                out << (k ? ", " : "") << "{\"name\": " << jsonString(e.inputs[k].name)
                    << ", \"value\": " << jsonString(e.inputs[k].value) << "}";
            out << "], \"display\": [";
            for (std::size_t k = 0; k < e.display.size(); ++k)
                out << (k ? ", " : "") << jsonString(e.display[k]);
            out << "]}";
        }
        out << (entries->empty() ? "]\n" : "\n]\n");
    }
    return kDone;
}

}  // namespace

std::vector<Command> historyCommands() {
    return {{"history", "[--limit N] [--format text|csv|json] [--search TEXT] | history show ID",
             &list}};
}

}  // namespace voltaro::cli
