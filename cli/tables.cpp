// voltaro-cli tables, voltaro-cli dump NAME: what the shipped reference database holds.
#include <algorithm>
#include <optional>
#include <ostream>

#include "cli/app.h"
#include "refdb/csv.h"
#include "refdb/sql.h"

namespace voltaro::cli {

namespace {

struct Names {
    std::vector<std::string> tables, queries;
};

// The database's tables and stored queries; nullopt (and the reason on err) when unreadable.
std::optional<Names> namesIn(const Context& context, refdb::Database& db) {
    auto tables = db.tableNames();
    auto queries = db.queryNames();
    if (!tables || !queries) {
        complain(context, (tables ? queries.error() : tables.error()).description);
        return std::nullopt;
    }
    return Names{tables.take(), queries.take()};
}

int listTables(const Context& context, const std::vector<std::string>& args) {
    if (!args.empty()) return kUsage;
    auto db = openReferenceDatabase(context);
    if (!db) return kFailed;
    const auto names = namesIn(context, *db);
    if (!names) return kFailed;
    for (const auto& name : names->tables) context.out << name << "\n";
    for (const auto& name : names->queries) context.out << name << " (stored query)\n";
    return kDone;
}

int dump(const Context& context, const std::vector<std::string>& args) {
    if (args.size() != 1) return kUsage;
    auto db = openReferenceDatabase(context);
    if (!db) return kFailed;
    // Only names the database holds are dumped; the name is never spliced in as typed.
    const auto names = namesIn(context, *db);
    if (!names) return kFailed;
    const auto& name = args[0];
    auto holds = [&](const std::vector<std::string>& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    if (!holds(names->tables) && !holds(names->queries)) {
        std::string known;
        for (const auto* list : {&names->tables, &names->queries})
            for (const auto& one : *list) known += (known.empty() ? "" : ", ") + one;
        complain(context,
                 "no table or stored query named \"" + name + "\" (the names are: " + known + ")");
        return kFailed;
    }
    auto set = db->openRecordset("SELECT * FROM " + refdb::sqlName(name));
    if (!set) {
        complain(context, set.error().description);
        return kFailed;
    }
    context.out << refdb::csvLine(set->columns()) << "\n";
    for (set->moveFirst(); !set->eof(); set->moveNext()) {
        refdb::CsvRow row;
        for (const auto& column : set->columns()) row.push_back(set->field(column).text());
        context.out << refdb::csvLine(row) << "\n";
    }
    return kDone;
}

}  // namespace

std::vector<Command> tableCommands() {
    return {
        {"tables", "", listTables},
        {"dump", "NAME", dump},
    };
}

}  // namespace voltaro::cli
