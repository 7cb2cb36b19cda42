// The history of answers: every answer the program published, kept in the user's own SQLite file
// ($XDG_DATA_HOME/Voltaro/history.sqlite, folder 0700, file 0600), apart from the reference
// database. It goes through SQLCipher's C API without a key (a plain SQLite file), as SQLCipher is
// the only SQLite in the process.
//
// The promises:
// - One transaction per entry, in WAL mode with every commit synced: a process killed or a power
//   cut at any moment leaves a file that opens, with each entry whole or absent.
// - The file carries its schema version (user_version) and Voltaro's application id. A file of an
//   older schema is brought up to this one step by step, each step one transaction. A file of a
//   newer schema is never changed: it opens read-only and says so (readOnlyReason).
// - A file that is not a database, is damaged, or is another program's SQLite file is set aside
//   (renamed with the date, its journal files with it) when opened for recording, and a new one
//   is started; nothing else is lost.
// - Several connections, in one process or several (the program and voltaro-cli), share the file:
//   a locked file is waited for (busy timeout) rather than failed at once.
//
// A Store is one connection; use it from one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace voltaro::history {

// One input as the user typed it: the control's name in plain words and its text.
struct Input {
    std::string name;   // "Full Load Amps"
    std::string value;  // "40", as typed (a new line in it is kept as a space)
};

struct Entry {
    std::int64_t id = 0;          // given by the store; never reused after a delete
    std::int64_t recordedMs = 0;  // when it was calculated: milliseconds since 1970, UTC
    std::string calculator;       // the calculator's title: "Wire Size"
    std::vector<Input> inputs;
    std::vector<std::string> display;  // the lines the display showed, in order
    std::string log;                   // the whole results log, bytes as written (CR LF lines)
};

// What list() returns. Newest first.
struct Query {
    int limit = -1;        // at most this many; negative: all
    std::string search;    // when not empty: only entries whose calculator, inputs or display lines
                           // hold this text (ASCII letters match either case)
    bool withLog = false;  // also read each entry's log (the list alone needs none)
};

struct Error {
    std::string message;   // names the file: "cannot open /x/history.sqlite: disk I/O error"
    bool damaged = false;  // the file is not a sound database
};

template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
    Result(Error error) : error_(std::move(error)) {}
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Error& error() const { return error_; }

private:
    std::optional<T> value_;
    Error error_;
};

// $XDG_DATA_HOME/Voltaro/history.sqlite when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/Voltaro/history.sqlite; empty when neither names a folder.
std::filesystem::path defaultPath();

// The schema version this Voltaro writes.
inline constexpr int kSchemaVersion = 1;

class Store {
public:
    enum class Mode {
        Record,  // make the folder and file when missing, bring the schema up to date, set a
                 // damaged or foreign file aside and start a new one
        Browse,  // use the file as it is: a missing file is an empty history (nothing is made),
                 // a damaged one an error; entries can still be deleted
    };

    // Opens the history at `path`. Fails only when it cannot be used at all (the folder cannot be
    // made, the file cannot be opened or, browsing, is damaged).
    static Result<std::unique_ptr<Store>> open(const std::filesystem::path& path, Mode mode);

    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Empty unless the file was written by a newer Voltaro (or cannot be written): then nothing
    // is recorded or deleted, and this says why, plainly.
    const std::string& readOnlyReason() const { return readOnlyReason_; }
    // What opening did besides opening, for the user: "... was damaged; it was kept as ... and a
    // new history was started." Empty when nothing happened.
    const std::string& notice() const { return notice_; }

    // Adds `entry` in one transaction and sets its id. On failure the file holds no part of it.
    std::optional<Error> record(Entry& entry);
    Result<std::vector<Entry>> list(const Query& query) const;
    // The entry with its log; an empty optional when there is no such entry.
    Result<std::optional<Entry>> find(std::int64_t id) const;
    Result<std::int64_t> count() const;
    // Deletes one entry (none is no error), or all of them.
    std::optional<Error> remove(std::int64_t id);
    std::optional<Error> clear();

    // For the tests and benchmark: the engine's handle.
    sqlite3* handle() const { return db_; }

private:
    Store(std::filesystem::path path, sqlite3* db) : path_(std::move(path)), db_(db) {}
    Error errorOf(int rc, const std::string& doing) const;
    std::optional<Error> writable() const;
    // Runs `body` (an engine result code) in one write transaction, rolled back unless it ends OK.
    std::optional<Error> transaction(const std::function<int()>& body);

    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
    std::string readOnlyReason_;
    std::string notice_;
    bool missing_ = false;  // browsing a history that has no file yet
};

// The text of the inputs as one line each, "Full Load Amps: 40", for searching and showing.
std::string inputsText(const std::vector<Input>& inputs, const std::string& separator = "\n");

}  // namespace voltaro::history
