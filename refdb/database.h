// The reference database: an SQLCipher file opened with the password, and recordsets over it.
//
// A recordset holds the rows of one query, read when it is opened, in the order the query
// returns them. A snapshot is read-only; a dynaset ("SELECT * FROM Table ...") can also add,
// change and delete rows of its table. Rows are walked with moveFirst/moveNext/moveLast and
// eof(); findFirst() positions on the first row, in the set's order, for which an SQL expression
// over the set's columns is true ("Guage = '4'", "[460] >= 20", "ID = 3").
//
// Errors are values: every operation that can fail returns a DbError with the engine's error
// number and description, for the caller's message.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "refdb/password.h"
#include "refdb/value.h"

struct sqlite3;

namespace voltaro::refdb {

struct DbError {
    int number = 0;           // the engine's result code, or errno for file operations
    std::string description;  // the engine's text
};

// A value or the error that prevented it.
template <typename T>
class Result {
public:
    Result(T value) : data_(std::move(value)) {}
    Result(DbError error) : data_(std::move(error)) {}

    bool ok() const { return data_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& operator*() { return std::get<0>(data_); }
    T* operator->() { return &std::get<0>(data_); }
    T take() { return std::move(std::get<0>(data_)); }
    const DbError& error() const { return std::get<1>(data_); }

private:
    std::variant<T, DbError> data_;
};

// The open connection, shared by the database and its recordsets so that a recordset never
// points at a freed connection. Closing the database closes the connection; recordsets keep their
// rows but can no longer write.
class Connection;

class Recordset {
public:
    enum class Kind { Snapshot, Dynaset };

    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    Kind kind() const;
    const std::vector<std::string>& columns() const;

    // Number of rows in the set (deleted rows no longer count).
    int recordCount() const;
    // True when there is no current row: past the last row, or the set is empty.
    bool eof() const;
    void moveFirst();
    void moveNext();
    void moveLast();

    // Positions on the first row, in the set's order, that satisfies `criterion`. Returns whether
    // one did (noMatch() is then false); with no match the position is left where it was. A
    // criterion the engine cannot read is an error.
    Result<bool> findFirst(std::string_view criterion);
    bool noMatch() const;

    // The current row's field by column name (case-insensitive, as the engine compares names).
    // An empty cell, an unknown name or no current row read as an empty value.
    Value field(std::string_view name) const;
    bool hasColumn(std::string_view name) const;

    // Dynaset only. addNew() starts a new row; setField() fills the row being added or edited;
    // update() writes it (a new row is appended to the set and becomes current). edit() starts
    // changing the current row. deleteCurrent() removes the current row from the table and the
    // set; the position then stays on the row after it.
    std::optional<DbError> addNew();
    std::optional<DbError> edit();
    std::optional<DbError> setField(std::string_view name, Value value);
    std::optional<DbError> update();
    std::optional<DbError> deleteCurrent();

private:
    friend class Database;
    struct Data;
    explicit Recordset(std::unique_ptr<Data> data);
    std::unique_ptr<Data> d_;
};

class Database {
public:
    // Opens an existing database file (never creates one), keyed with the password. A missing
    // file, a wrong password or a file that is no database is an error. ReadOnly never writes the
    // file or its folder (an installed, read-only copy); temporary tables may still be made.
    enum class Access { ReadWrite, ReadOnly };
    static Result<Database> open(const std::filesystem::path& path, const Password& password,
                                 Access access = Access::ReadWrite);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    Result<Recordset> openRecordset(std::string_view sql,
                                    Recordset::Kind kind = Recordset::Kind::Snapshot);
    // Runs statements that return no rows (used by the build tool and tests).
    std::optional<DbError> execute(std::string_view sql);

    // Names of the tables and the stored queries, in the order they were created.
    Result<std::vector<std::string>> tableNames();
    Result<std::vector<std::string>> queryNames();

    bool isOpen() const;
    void close();

    sqlite3* handle() const;  // for the build tool and compaction

private:
    explicit Database(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> connection_;
};

// Keys a freshly opened connection with the password: the key is derived from it with
// kKeyDerivationRounds rounds. Every connection to the reference database is keyed this way (the
// data file, the build step's new file, the compaction's copy). Returns the engine's result code.
//
// Why fewer rounds than the engine's default of 64,000: the password ships inside the program
// (scrambled), so slow key derivation protects nothing, while every start, and every exit's
// compaction twice, pays for it: in a process with the window system's threads, 64,000 rounds took
// about 78 ms each time.
inline constexpr int kKeyDerivationRounds = 16000;
int keyConnection(sqlite3* db, std::string_view password);

// How long a connection waits for a file another process has locked before it reports the lock.
inline constexpr int kBusyTimeoutMs = 10000;

}  // namespace voltaro::refdb
