#include "refdb/database.h"

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "refdb/sql.h"

namespace voltaro::refdb {

namespace {

DbError errorOf(sqlite3* db, int code) {
    if (db == nullptr) return {code, sqlite3_errstr(code)};
    const int extended = sqlite3_extended_errcode(db);
    return {extended != 0 ? extended : code, sqlite3_errmsg(db)};
}

// A prepared statement, finalised when it goes.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) : db_(db) {
        rc_ = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return rc_ == SQLITE_OK && stmt_ != nullptr; }
    DbError error() const {
        if (rc_ == SQLITE_OK && stmt_ == nullptr) return {SQLITE_MISUSE, "empty statement"};
        return errorOf(db_, rc_);
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
};

Value columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(stmt, i));
        case SQLITE_NULL:
            return Value();
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            return Value(std::string(text != nullptr ? text : "",
                                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))));
        }
    }
}

int bindValue(sqlite3_stmt* stmt, int index, const Value& value) {
    if (value.isInteger())
        return sqlite3_bind_int64(stmt, index, std::get<std::int64_t>(value.data()));
    if (value.isReal()) return sqlite3_bind_double(stmt, index, std::get<double>(value.data()));
    if (value.isText()) {
        const auto& text = std::get<std::string>(value.data());
        return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    return sqlite3_bind_null(stmt, index);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The type affinity a declared column type gives, as the engine decides it; empty for none.
std::string affinityOf(const char* declared) {
    if (declared == nullptr) return {};
    std::string upper(declared);
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.find("INT") != std::string::npos) return "INTEGER";
    if (upper.find("CHAR") != std::string::npos || upper.find("CLOB") != std::string::npos ||
        upper.find("TEXT") != std::string::npos)
        return "TEXT";
    if (upper.empty() || upper.find("BLOB") != std::string::npos) return {};
    if (upper.find("REAL") != std::string::npos || upper.find("FLOA") != std::string::npos ||
        upper.find("DOUB") != std::string::npos)
        return "REAL";
    return "NUMERIC";
}

// Splits "SELECT * FROM Table rest" into the table and the rest; a dynaset must have that shape
// so that its rows can be written back.
std::optional<std::pair<std::string, std::string>> dynasetSource(std::string_view sql) {
    auto skipBlanks = [&](std::size_t i) {
        while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
        return i;
    };
    auto keyword = [&](std::size_t& i, std::string_view word) {
        i = skipBlanks(i);
        if (i + word.size() > sql.size() || !sameName(sql.substr(i, word.size()), word))
            return false;
        i += word.size();
        return true;
    };
    std::size_t i = 0;
    if (!keyword(i, "SELECT") || !keyword(i, "*") || !keyword(i, "FROM")) return std::nullopt;
    i = skipBlanks(i);
    std::string table;
    if (i < sql.size() && (sql[i] == '[' || sql[i] == '"')) {
        const char close = sql[i] == '[' ? ']' : '"';
        const auto end = sql.find(close, i + 1);
        if (end == std::string_view::npos) return std::nullopt;
        table = std::string(sql.substr(i + 1, end - i - 1));
        i = end + 1;
    } else {
        const std::size_t start = i;
        while (i < sql.size() &&
               (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_'))
            ++i;
        table = std::string(sql.substr(start, i - start));
    }
    if (table.empty()) return std::nullopt;
    return std::make_pair(table, std::string(sql.substr(i)));
}

}  // namespace

// ---- Connection -------------------------------------------------------------------------------

class Connection {
public:
    explicit Connection(sqlite3* db) : db_(db) {}
    ~Connection() { close(); }
    sqlite3* db() const { return db_; }
    void close() {
        if (db_ != nullptr) sqlite3_close_v2(db_);
        db_ = nullptr;
    }

private:
    sqlite3* db_;
};

int keyConnection(sqlite3* db, std::string_view password) {
    int rc = sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    if (rc != SQLITE_OK) return rc;
    const std::string rounds = "PRAGMA kdf_iter = " + std::to_string(kKeyDerivationRounds);
    return sqlite3_exec(db, rounds.c_str(), nullptr, nullptr, nullptr);
}

// ---- Recordset --------------------------------------------------------------------------------

struct Recordset::Data {
    std::shared_ptr<Connection> connection;
    Kind kind = Kind::Snapshot;
    std::vector<std::string> columns;
    std::vector<std::string> affinities;  // per column, for criteria
    std::vector<std::vector<Value>> rows;
    std::vector<std::int64_t> rowids;  // dynaset: the table row behind each set row
    std::string table;                 // dynaset: the table written to
    std::size_t position = 0;          // == rows.size() at end of set
    bool noMatch = false;

    enum class Editing { None, Adding, Changing } editing = Editing::None;
    std::vector<Value> buffer;

    int columnIndex(std::string_view name) const {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (sameName(columns[i], name)) return static_cast<int>(i);
        return -1;
    }
    sqlite3* db() const { return connection ? connection->db() : nullptr; }
};

Recordset::Recordset(std::unique_ptr<Data> data) : d_(std::move(data)) {}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

Recordset::Kind Recordset::kind() const { return d_->kind; }
const std::vector<std::string>& Recordset::columns() const { return d_->columns; }
int Recordset::recordCount() const { return static_cast<int>(d_->rows.size()); }
bool Recordset::eof() const { return d_->position >= d_->rows.size(); }
void Recordset::moveFirst() { d_->position = 0; }
void Recordset::moveNext() {
    if (d_->position < d_->rows.size()) ++d_->position;
}
void Recordset::moveLast() { d_->position = d_->rows.empty() ? 0 : d_->rows.size() - 1; }
bool Recordset::noMatch() const { return d_->noMatch; }
bool Recordset::hasColumn(std::string_view name) const { return d_->columnIndex(name) >= 0; }

Value Recordset::field(std::string_view name) const {
    const int i = d_->columnIndex(name);
    if (i < 0 || eof()) return {};
    return d_->rows[d_->position][static_cast<std::size_t>(i)];
}

Result<bool> Recordset::findFirst(std::string_view criterion) {
    sqlite3* db = d_->db();
    if (db == nullptr) return DbError{SQLITE_MISUSE, "the database is closed"};
    // The criterion is evaluated by the engine against each row in turn, the row's values bound
    // as the set's columns with their declared affinities, so that it compares exactly as it
    // would in a WHERE clause on the source.
    std::string sql = "SELECT (" + std::string(criterion) + ") FROM (SELECT ";
    for (std::size_t i = 0; i < d_->columns.size(); ++i) {
        if (i > 0) sql += ", ";
        const std::string parameter = "?" + std::to_string(i + 1);
        sql += d_->affinities[i].empty() ? parameter
                                         : "CAST(" + parameter + " AS " + d_->affinities[i] + ")";
        sql += " AS " + sqlName(d_->columns[i]);
    }
    if (d_->columns.empty()) sql += "NULL";
    sql += ")";
    Statement statement(db, sql);
    if (!statement.ok()) return statement.error();
    for (std::size_t row = 0; row < d_->rows.size(); ++row) {
        sqlite3_stmt* stmt = statement.get();
        sqlite3_reset(stmt);
        for (std::size_t i = 0; i < d_->columns.size(); ++i)
            bindValue(stmt, static_cast<int>(i + 1), d_->rows[row][i]);
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW) return errorOf(db, rc);
        if (sqlite3_column_type(stmt, 0) != SQLITE_NULL && sqlite3_column_double(stmt, 0) != 0.0) {
            d_->position = row;
            d_->noMatch = false;
            return true;
        }
    }
    d_->noMatch = true;
    return false;
}

std::optional<DbError> Recordset::addNew() {
    if (d_->kind != Kind::Dynaset) return DbError{SQLITE_READONLY, "the recordset is read-only"};
    d_->editing = Data::Editing::Adding;
    d_->buffer.assign(d_->columns.size(), Value());
    return std::nullopt;
}

std::optional<DbError> Recordset::edit() {
    if (d_->kind != Kind::Dynaset) return DbError{SQLITE_READONLY, "the recordset is read-only"};
    if (eof()) return DbError{SQLITE_MISUSE, "no current record"};
    d_->editing = Data::Editing::Changing;
    d_->buffer = d_->rows[d_->position];
    return std::nullopt;
}

std::optional<DbError> Recordset::setField(std::string_view name, Value value) {
    if (d_->editing == Data::Editing::None) return DbError{SQLITE_MISUSE, "not adding or editing"};
    const int i = d_->columnIndex(name);
    if (i < 0) return DbError{SQLITE_ERROR, "no such column: " + std::string(name)};
    d_->buffer[static_cast<std::size_t>(i)] = std::move(value);
    return std::nullopt;
}

std::optional<DbError> Recordset::update() {
    if (d_->editing == Data::Editing::None) return DbError{SQLITE_MISUSE, "not adding or editing"};
    sqlite3* db = d_->db();
    if (db == nullptr) return DbError{SQLITE_MISUSE, "the database is closed"};
    const bool adding = d_->editing == Data::Editing::Adding;
    std::string sql;
    if (adding) {
        sql = "INSERT INTO " + sqlName(d_->table) + " (";
        std::string values;
        for (std::size_t i = 0; i < d_->columns.size(); ++i) {
            sql += (i > 0 ? ", " : "") + sqlName(d_->columns[i]);
            values += (i > 0 ? ", ?" : "?") + std::to_string(i + 1);
        }
        sql += ") VALUES (" + values + ")";
    } else {
        sql = "UPDATE " + sqlName(d_->table) + " SET ";
        for (std::size_t i = 0; i < d_->columns.size(); ++i)
            sql += (i > 0 ? ", " : "") + sqlName(d_->columns[i]) + " = ?" + std::to_string(i + 1);
        sql += " WHERE rowid = ?" + std::to_string(d_->columns.size() + 1);
    }
    Statement statement(db, sql);
    if (!statement.ok()) return statement.error();
    for (std::size_t i = 0; i < d_->buffer.size(); ++i)
        bindValue(statement.get(), static_cast<int>(i + 1), d_->buffer[i]);
    if (!adding)
        sqlite3_bind_int64(statement.get(), static_cast<int>(d_->columns.size() + 1),
                           d_->rowids[d_->position]);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE) return errorOf(db, rc);
    if (adding) {
        d_->rows.push_back(std::move(d_->buffer));
        d_->rowids.push_back(sqlite3_last_insert_rowid(db));
        d_->position = d_->rows.size() - 1;
    } else {
        d_->rows[d_->position] = std::move(d_->buffer);
    }
    d_->buffer.clear();
    d_->editing = Data::Editing::None;
    return std::nullopt;
}

std::optional<DbError> Recordset::deleteCurrent() {
    if (d_->kind != Kind::Dynaset) return DbError{SQLITE_READONLY, "the recordset is read-only"};
    if (eof()) return DbError{SQLITE_MISUSE, "no current record"};
    sqlite3* db = d_->db();
    if (db == nullptr) return DbError{SQLITE_MISUSE, "the database is closed"};
    Statement statement(db, "DELETE FROM " + sqlName(d_->table) + " WHERE rowid = ?1");
    if (!statement.ok()) return statement.error();
    sqlite3_bind_int64(statement.get(), 1, d_->rowids[d_->position]);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE) return errorOf(db, rc);
    const auto at = static_cast<std::ptrdiff_t>(d_->position);
    d_->rows.erase(d_->rows.begin() + at);
    d_->rowids.erase(d_->rowids.begin() + at);
    return std::nullopt;
}

// ---- Database ---------------------------------------------------------------------------------

Database::Database(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() { close(); }

Result<Database> Database::open(const std::filesystem::path& path, const Password& password,
                                Access access) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(
        path.c_str(), &db,
        access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    auto connection = std::make_shared<Connection>(db);
    if (rc != SQLITE_OK) return errorOf(db, rc);
    rc = keyConnection(db, password.text());
    if (rc != SQLITE_OK) return errorOf(db, rc);
    // The program and voltaro-cli may use one file at the same moment (the program emptying a
    // work table while a script reads): a locked file is waited for, a short while, not failed.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // The key is only tried on the first read: a wrong password or a file that is not ours fails
    // here, not in the middle of a calculation.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return errorOf(db, rc);
    return Database(std::move(connection));
}

bool Database::isOpen() const { return connection_ && connection_->db() != nullptr; }

void Database::close() {
    if (connection_) connection_->close();
    connection_.reset();
}

sqlite3* Database::handle() const { return connection_ ? connection_->db() : nullptr; }

std::optional<DbError> Database::execute(std::string_view sql) {
    sqlite3* db = handle();
    if (db == nullptr) return DbError{SQLITE_MISUSE, "the database is closed"};
    const std::string text(sql);
    const int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return errorOf(db, rc);
    return std::nullopt;
}

Result<Recordset> Database::openRecordset(std::string_view sql, Recordset::Kind kind) {
    sqlite3* db = handle();
    if (db == nullptr) return DbError{SQLITE_MISUSE, "the database is closed"};
    auto data = std::make_unique<Recordset::Data>();
    data->connection = connection_;
    data->kind = kind;

    std::string query(sql);
    if (kind == Recordset::Kind::Dynaset) {
        auto source = dynasetSource(sql);
        if (!source)
            return DbError{SQLITE_ERROR, "an updatable recordset needs SELECT * FROM a table"};
        data->table = source->first;
        query = "SELECT rowid, * FROM " + sqlName(source->first) + source->second;
    }
    Statement statement(db, query);
    if (!statement.ok()) return statement.error();
    sqlite3_stmt* stmt = statement.get();
    const int first = kind == Recordset::Kind::Dynaset ? 1 : 0;  // skip the rowid
    const int count = sqlite3_column_count(stmt);
    for (int i = first; i < count; ++i) {
        data->columns.emplace_back(sqlite3_column_name(stmt, i));
        data->affinities.push_back(affinityOf(sqlite3_column_decltype(stmt, i)));
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(count - first));
        for (int i = first; i < count; ++i) row.push_back(columnValue(stmt, i));
        data->rows.push_back(std::move(row));
        if (first == 1) data->rowids.push_back(sqlite3_column_int64(stmt, 0));
    }
    if (rc != SQLITE_DONE) return errorOf(db, rc);
    return Recordset(std::move(data));
}

namespace {

Result<std::vector<std::string>> namesOfType(Database& db, const char* type) {
    auto set = db.openRecordset(std::string("SELECT name FROM sqlite_master WHERE type = ") +
                                sqlText(type) + " ORDER BY rowid");
    if (!set) return set.error();
    std::vector<std::string> names;
    for (set->moveFirst(); !set->eof(); set->moveNext()) names.push_back(set->field("name").text());
    return names;
}

}  // namespace

Result<std::vector<std::string>> Database::tableNames() { return namesOfType(*this, "table"); }
Result<std::vector<std::string>> Database::queryNames() { return namesOfType(*this, "view"); }

}  // namespace voltaro::refdb
