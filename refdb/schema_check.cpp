#include "refdb/schema_check.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "refdb/schema_text.h"
#include "refdb/sql.h"

namespace voltaro::refdb {

namespace {

struct SchemaObject {
    std::string type;  // "table" or "view"
    std::string name;
    std::vector<std::string> columns;
};

std::string lower(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Rows of a query on a plain engine handle, as texts.
std::vector<std::vector<std::string>> rowsOf(sqlite3* db, const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            row.emplace_back(text != nullptr ? text : "");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return rows;
}

// What the schema's text creates, read back from a database in memory that ran it: the engine
// parses the file, so no second list of names can drift from it.
Result<std::vector<SchemaObject>> expectedObjects() {
    sqlite3* memory = nullptr;
    int rc =
        sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::vector<SchemaObject> objects;
    if (rc == SQLITE_OK) {
        const std::string schema(kSchemaSql);
        rc = sqlite3_exec(memory, schema.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        DbError error{rc, "the built-in schema does not run: " +
                              std::string(memory ? sqlite3_errmsg(memory) : sqlite3_errstr(rc))};
        sqlite3_close(memory);
        return error;
    }
    for (auto& row : rowsOf(memory,
                            "SELECT type, name FROM sqlite_master "
                            "WHERE type IN ('table', 'view') ORDER BY rowid")) {
        SchemaObject object{row[0], row[1], {}};
        for (auto& column : rowsOf(memory, "PRAGMA table_info(" + sqlName(object.name) + ")"))
            object.columns.push_back(column[1]);
        objects.push_back(std::move(object));
    }
    sqlite3_close(memory);
    return objects;
}

}  // namespace

std::optional<DbError> checkSchema(Database& db) {
    auto expected = expectedObjects();
    if (!expected) return expected.error();
    auto objects =
        db.openRecordset("SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view')");
    if (!objects) return objects.error();
    // Names are compared as the engine compares them, without regard to case.
    std::set<std::string> present;
    for (objects->moveFirst(); !objects->eof(); objects->moveNext())
        present.insert(objects->field("type").text() + " " + lower(objects->field("name").text()));

    std::vector<std::string> missingTables, missingQueries, problems;
    std::size_t found = 0;
    for (const auto& object : *expected) {
        const bool table = object.type == "table";
        if (present.count(object.type + " " + lower(object.name)) == 0) {
            (table ? missingTables : missingQueries).push_back(object.name);
            continue;
        }
        ++found;
        const std::string what = (table ? "table " : "stored query ") + object.name;
        // For a stored query this also compiles it, so one whose tables are gone shows here.
        auto columns = db.openRecordset("PRAGMA table_info(" + sqlName(object.name) + ")");
        if (!columns) {
            problems.push_back(what + " cannot be read: " + columns.error().description);
            continue;
        }
        std::vector<std::string> have, lacking;
        for (columns->moveFirst(); !columns->eof(); columns->moveNext())
            have.push_back(lower(columns->field("name").text()));
        for (const auto& column : object.columns)
            if (std::find(have.begin(), have.end(), lower(column)) == have.end())
                lacking.push_back(column);
        if (!lacking.empty())
            problems.push_back(what + " lacks column" + (lacking.size() > 1 ? "s " : " ") +
                               joined(lacking));
    }
    if (!missingQueries.empty())
        problems.insert(problems.begin(), std::string("missing stored quer") +
                                              (missingQueries.size() > 1 ? "ies " : "y ") +
                                              joined(missingQueries));
    if (!missingTables.empty())
        problems.insert(problems.begin(), std::string("missing table") +
                                              (missingTables.size() > 1 ? "s " : " ") +
                                              joined(missingTables));
    if (problems.empty()) return std::nullopt;

    std::string description;
    for (const auto& problem : problems) description += (description.empty() ? "" : "; ") + problem;
    if (found == 0)
        return DbError{SQLITE_NOTADB,
                       "not the reference database (an empty or foreign file): " + description};
    return DbError{SQLITE_CORRUPT, "the reference database is damaged: " + description};
}

}  // namespace voltaro::refdb
