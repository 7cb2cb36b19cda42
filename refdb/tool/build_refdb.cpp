// Writes Voltaro.dat, the encrypted reference database, from the schema and the tables kept as
// CSV text. Run by the build:
//
//   build_refdb SCHEMA.sql DATA_DIR ZEPHLIB.so OUT.dat
//
// The password is recovered through Zephlib from the program's scrambled copy, exactly as the
// program does at start-up. Each table's rows come from DATA_DIR/<table>.csv, whose header must
// name the table's columns in order; an empty field is an empty cell; numbers must be plain
// numbers. A table without a file stays empty (the work tables); a file without a table is an
// error. The file is written beside OUT and renamed over it when complete.
//
// The file's user version is its stamp: a fingerprint of the schema and of every table's text, so
// that the same sources always give the same stamp and any change to them gives another. An
// installed program compares it with its user's working copy to know when to copy the file again.
#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "refdb/csv.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "refdb/sql.h"
#include "zephlib/binding/zephlib_binding.h"

namespace fs = std::filesystem;
using namespace voltaro;

namespace {

struct Failure {
    std::string message;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure{"cannot read " + path.string()};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void check(sqlite3* db, int rc, const std::string& what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw Failure{what + ": " + sqlite3_errmsg(db)};
}

struct Column {
    std::string name;
    std::string type;  // declared type, upper case
};

std::vector<Column> columnsOf(sqlite3* db, const std::string& table) {
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "PRAGMA table_info(" + refdb::sqlName(table) + ")";
    check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), sql);
    std::vector<Column> columns;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
        for (auto& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        columns.push_back({reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)), type});
    }
    sqlite3_finalize(stmt);
    return columns;
}

std::vector<std::string> tablesOf(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    check(
        db,
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid",
                           -1, &stmt, nullptr),
        "listing tables");
    std::vector<std::string> tables;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return tables;
}

void bindField(sqlite3* db, sqlite3_stmt* stmt, int index, const Column& column,
               const std::string& field, const std::string& where) {
    if (field.empty()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    const char* first = field.data();
    const char* last = field.data() + field.size();
    if (column.type == "INTEGER") {
        long long value = 0;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last)
            throw Failure{where + ": " + column.name + " is not a whole number: " + field};
        check(db, sqlite3_bind_int64(stmt, index, value), where);
    } else if (column.type == "REAL") {
        double value = 0;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last)
            throw Failure{where + ": " + column.name + " is not a number: " + field};
        check(db, sqlite3_bind_double(stmt, index, value), where);
    } else {
        check(db,
              sqlite3_bind_text(stmt, index, field.data(), static_cast<int>(field.size()),
                                SQLITE_TRANSIENT),
              where);
    }
}

void loadTable(sqlite3* db, const std::string& table, const fs::path& file,
               const std::string& text) {
    std::string error;
    const auto rows = refdb::parseCsv(text, &error);
    if (!rows) throw Failure{file.string() + ": " + error};
    if (rows->empty()) throw Failure{file.string() + ": no header row"};
    const auto columns = columnsOf(db, table);
    const auto& header = rows->front();
    std::vector<std::string> names;
    for (const auto& c : columns) names.push_back(c.name);
    if (header != names)
        throw Failure{file.string() + ": the header must be " + refdb::csvLine(names)};

    std::string sql = "INSERT INTO " + refdb::sqlName(table) + " VALUES (";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += i > 0 ? ", ?" : "?";
    sql += ")";
    sqlite3_stmt* stmt = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), sql);
    for (std::size_t r = 1; r < rows->size(); ++r) {
        const auto& row = (*rows)[r];
        const std::string where = file.filename().string() + " row " + std::to_string(r + 1);
        if (row.size() != columns.size())
            throw Failure{where + ": " + std::to_string(row.size()) + " fields, expected " +
                          std::to_string(columns.size())};
        sqlite3_reset(stmt);
        for (std::size_t i = 0; i < columns.size(); ++i)
            bindField(db, stmt, static_cast<int>(i + 1), columns[i], row[i], where);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_finalize(stmt);
            throw Failure{where + ": " + message};
        }
    }
    sqlite3_finalize(stmt);
}

// FNV-1a over the schema and, for each table loaded, its name and its file's bytes; 31 bits, so
// that it is a positive user version, and never 0, which is an unstamped file.
class Stamp {
public:
    void add(std::string_view bytes) {
        for (const char c : bytes) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 16777619u;
        hash_ = (hash_ ^ 0xffu) * 16777619u;  // an end mark: "ab" + "c" differs from "a" + "bc"
    }
    std::uint32_t value() const { return (hash_ & 0x7fffffffu) != 0 ? hash_ & 0x7fffffffu : 1; }

private:
    std::uint32_t hash_ = 2166136261u;
};

void build(const fs::path& schema, const fs::path& dataDir, const fs::path& zephlib,
           const fs::path& out) {
    platform::ZephlibBinding binding(zephlib);
    const auto password = refdb::recoverPassword(binding);
    if (!password) throw Failure{"cannot recover the password: " + binding.bindError()};
    const std::string key(password->text());

    const fs::path temp = fs::path(out).concat(".building");
    fs::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        throw Failure{"cannot create " + temp.string()};
    try {
        check(db, refdb::keyConnection(db, key), "setting the key");
        check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "BEGIN");
        const std::string schemaText = readFile(schema);
        check(db, sqlite3_exec(db, schemaText.c_str(), nullptr, nullptr, nullptr), schema.string());
        Stamp stamp;
        stamp.add(schemaText);

        std::set<std::string> loaded;
        for (const auto& table : tablesOf(db)) {
            const fs::path file = dataDir / (table + ".csv");
            if (!fs::exists(file)) continue;  // a work table: starts empty
            const std::string text = readFile(file);
            loadTable(db, table, file, text);
            stamp.add(table);
            stamp.add(text);
            loaded.insert(file.filename().string());
        }
        for (const auto& entry : fs::directory_iterator(dataDir)) {
            const auto name = entry.path().filename().string();
            if (entry.path().extension() == ".csv" && !loaded.count(name))
                throw Failure{name + ": no table of that name"};
        }
        const std::string stamped = "PRAGMA user_version = " + std::to_string(stamp.value());
        check(db, sqlite3_exec(db, stamped.c_str(), nullptr, nullptr, nullptr), stamped);
        check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        fs::remove(temp);
        throw;
    }
    sqlite3_close(db);
    fs::rename(temp, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: build_refdb SCHEMA.sql DATA_DIR ZEPHLIB.so OUT.dat\n";
        return 2;
    }
    try {
        build(argv[1], argv[2], argv[3], argv[4]);
    } catch (const Failure& failure) {
        std::cerr << "build_refdb: " << failure.message << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "build_refdb: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
