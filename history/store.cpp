#include "history/store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

namespace voltaro::history {

namespace {

// "VOLT" in the file's header, so that another program's SQLite file is told from ours.
constexpr int kApplicationId = 0x564f4c54;
// A commit waits this long for another connection's write to end.
constexpr int kBusyTimeoutMs = 3000;

// Each step takes the schema from version i to i + 1, in one transaction with the version change.
const char* const kMigrations[kSchemaVersion] = {
    // 0 -> 1: the answers, and apart from them their logs, so that listing and searching read
    // a few hundred bytes an answer rather than its whole log. AUTOINCREMENT: an id is never
    // given again after a delete, so an id a user noted down never names another answer.
    "CREATE TABLE answers ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " recorded_ms INTEGER NOT NULL,"  // milliseconds since 1970, UTC
    " calculator TEXT NOT NULL,"
    " inputs TEXT NOT NULL,"    // "name: value" lines, LF between them
    " display TEXT NOT NULL);"  // the display lines, LF between them
    "CREATE TABLE logs ("
    " id INTEGER PRIMARY KEY,"  // the answer's
    " log TEXT NOT NULL)",      // the results log as written
};

// Closes a statement however the scope is left.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &s_, nullptr); }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int rc() const { return rc_; }
    sqlite3_stmt* get() const { return s_; }
    void text(int index, const std::string& value) {
        sqlite3_bind_text(s_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
    }
    std::string column(int index) const {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s_, index));
        return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(s_, index)))
                     : std::string();
    }

private:
    sqlite3_stmt* s_ = nullptr;
    int rc_ = SQLITE_OK;
};

bool isDamage(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + oneLine(lines[i]);
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<Input> parseInputs(const std::string& text) {
    std::vector<Input> inputs;
    for (const auto& line : splitLines(text)) {
        const auto colon = line.find(": ");
        if (colon == std::string::npos)
            inputs.push_back({line, {}});
        else
            inputs.push_back({line.substr(0, colon), line.substr(colon + 2)});
    }
    return inputs;
}

// The entry on the row `s` stands on: id, recorded_ms, calculator, inputs, display and, with
// `withLog`, the log, in that order.
Entry entryAt(Statement& s, bool withLog) {
    Entry entry;
    entry.id = sqlite3_column_int64(s.get(), 0);
    entry.recordedMs = sqlite3_column_int64(s.get(), 1);
    entry.calculator = s.column(2);
    entry.inputs = parseInputs(s.column(3));
    entry.display = splitLines(s.column(4));
    if (withLog) entry.log = s.column(5);
    return entry;
}

// The folder and those above it that are missing, each private to the user (0700).
std::optional<std::string> makeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(folder, ec)) return std::nullopt;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        if (auto error = makeFolder(folder.parent_path())) return error;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot create " + folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

// "history.sqlite" -> "history damaged 2026-12-07 20.15.03.sqlite" (local time), with " (2)"
// and so on when that name is taken.
std::filesystem::path setAsideName(const std::filesystem::path& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H.%M.%S", &local);
    const auto base = path.stem().string() + " damaged " + stamp;
    std::error_code ec;
    for (int n = 1;; ++n) {
        auto name = path.parent_path() / (base + (n > 1 ? " (" + std::to_string(n) + ")" : "") +
                                          path.extension().string());
        if (!std::filesystem::exists(std::filesystem::symlink_status(name, ec))) return name;
    }
}

// Renames the file and its journal files (a write-ahead log left beside a new file would be
// replayed into it). Returns the new name, or the reason.
Result<std::filesystem::path> setAside(const std::filesystem::path& path) {
    const auto aside = setAsideName(path);
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const std::filesystem::path from = path.string() + suffix;
        if (::rename(from.c_str(), (aside.string() + suffix).c_str()) != 0 && errno != ENOENT)
            return Error{"cannot set " + from.string() + " aside: " + std::strerror(errno)};
    }
    if (::rename(path.c_str(), aside.c_str()) != 0)
        return Error{"cannot set " + path.string() + " aside: " + std::strerror(errno)};
    return aside;
}

// What the file's header says.
struct Inspection {
    int rc = SQLITE_OK;
    int applicationId = 0, version = 0, objects = 0;
    bool foreign() const {
        return applicationId != kApplicationId && !(applicationId == 0 && objects == 0);
    }
};

Inspection inspect(sqlite3* db) {
    Inspection found;
    const auto integer = [&](const char* sql, int& into) {
        if (found.rc != SQLITE_OK) return;
        Statement s(db, sql);
        found.rc = s.rc();
        if (found.rc != SQLITE_OK) return;
        const int rc = sqlite3_step(s.get());
        if (rc == SQLITE_ROW)
            into = sqlite3_column_int(s.get(), 0);
        else
            found.rc = rc;
    };
    integer("PRAGMA application_id", found.applicationId);
    integer("PRAGMA user_version", found.version);
    integer("SELECT count(*) FROM sqlite_master", found.objects);
    return found;
}

}  // namespace

std::filesystem::path defaultPath() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/')
        return std::filesystem::path(xdg) / "Voltaro" / "history.sqlite";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        return std::filesystem::path(home) / ".local" / "share" / "Voltaro" / "history.sqlite";
    return {};
}

std::string inputsText(const std::vector<Input>& inputs, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        out += (i ? separator : "") + oneLine(inputs[i].name) + ": " + oneLine(inputs[i].value);
    return out;
}

Result<std::unique_ptr<Store>> Store::open(const std::filesystem::path& path, Mode mode) {
    if (path.empty())
        return Error{
            "there is no folder for the history: neither XDG_DATA_HOME nor HOME names one"};
    std::error_code ec;
    std::string notice;
    if (mode == Mode::Browse && !std::filesystem::exists(path, ec)) {
        std::unique_ptr<Store> store(new Store(path, nullptr));
        store->missing_ = true;
        return store;
    }
    if (mode == Mode::Record) {
        if (auto error = makeFolder(path.parent_path())) return Error{*error};
    }
    for (int attempt = 0;; ++attempt) {
        if (mode == Mode::Record) {
            // Made here rather than by the engine, so that it is private from its first byte; the
            // journal files the engine makes beside it take its mode.
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EACCES)
                return Error{"cannot open " + path.string() + ": " + std::strerror(errno)};
            if (fd >= 0) ::close(fd);
        }
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_close(db);
            db = nullptr;
            rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        }
        std::unique_ptr<Store> store(new Store(path, db));
        if (rc != SQLITE_OK) return store->errorOf(rc, "open");
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        sqlite3_extended_result_codes(db, 1);
        const Inspection found = inspect(db);
        const bool unusable = isDamage(found.rc) || (found.rc == SQLITE_OK && found.foreign());
        if (unusable && mode == Mode::Record && attempt == 0) {
            const std::string why =
                found.rc == SQLITE_OK ? "is not Voltaro's history" : "was damaged";
            store.reset();
            auto aside = setAside(path);
            if (!aside) return aside.error();
            notice = "The history file " + path.string() + " " + why + "; it was kept as " +
                     aside->filename().string() + " and a new history was started.";
            continue;
        }
        if (found.rc != SQLITE_OK) return store->errorOf(found.rc, "read");
        if (found.foreign())
            return Error{"cannot read " + path.string() + ": it is not Voltaro's history", true};
        store->notice_ = notice;
        if (found.version > kSchemaVersion) {
            store->readOnlyReason_ = "The history file " + path.string() +
                                     " was written by a newer Voltaro. It is only read: answers "
                                     "are not added to it and none can be deleted.";
            sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
            return store;
        }
        if (sqlite3_db_readonly(db, "main") == 1) {
            store->readOnlyReason_ = "The history file " + path.string() +
                                     " cannot be written (its permissions). It is only read.";
        }
        if (mode == Mode::Browse) {
            // A file no Voltaro has set up yet holds no answers; browsing never sets one up.
            if (found.version < kSchemaVersion) store->missing_ = true;
            return store;
        }
        if (!store->readOnlyReason_.empty()) return store;
        // Every commit is synced to the disk (in WAL mode, the log only), so an answer the
        // program showed is still there after a power cut.
        rc = sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL", nullptr,
                          nullptr, nullptr);
        if (rc != SQLITE_OK) return store->errorOf(rc, "set up");
        rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return store->errorOf(rc, "set up");
        // Another process may have brought the file up to date meanwhile.
        const Inspection locked = inspect(db);
        for (int version = locked.version; rc == SQLITE_OK && version < kSchemaVersion; ++version) {
            rc = sqlite3_exec(db, kMigrations[version], nullptr, nullptr, nullptr);
            const std::string stamp = "PRAGMA user_version = " + std::to_string(version + 1) +
                                      "; PRAGMA application_id = " + std::to_string(kApplicationId);
            if (rc == SQLITE_OK) rc = sqlite3_exec(db, stamp.c_str(), nullptr, nullptr, nullptr);
        }
        if (locked.rc != SQLITE_OK) rc = locked.rc;
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const auto error = store->errorOf(rc, "set up");
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return error;
        }
        return store;
    }
}

Store::~Store() { sqlite3_close(db_); }

Error Store::errorOf(int rc, const std::string& doing) const {
    std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (rc == SQLITE_FULL || (rc & 0xff) == SQLITE_FULL) reason = "the disk is full";
    return Error{"cannot " + doing + " " + path_.string() + ": " + reason, isDamage(rc)};
}

std::optional<Error> Store::writable() const {
    if (!readOnlyReason_.empty()) return Error{readOnlyReason_};
    return std::nullopt;
}

std::optional<Error> Store::transaction(const std::function<int()>& body) {
    int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = body();
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return std::nullopt;
    const auto error = errorOf(rc, "write");
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return error;
}

std::optional<Error> Store::record(Entry& entry) {
    if (auto error = writable()) return error;
    if (missing_) return Error{"cannot write " + path_.string() + ": it is only browsed"};
    std::int64_t id = 0;
    auto error = transaction([&] {
        Statement answer(db_,
                         "INSERT INTO answers (recorded_ms, calculator, inputs, display)"
                         " VALUES (?1, ?2, ?3, ?4)");
        if (answer.rc() != SQLITE_OK) return answer.rc();
        sqlite3_bind_int64(answer.get(), 1, entry.recordedMs);
        answer.text(2, oneLine(entry.calculator));
        answer.text(3, inputsText(entry.inputs));
        answer.text(4, joinLines(entry.display));
        if (const int rc = sqlite3_step(answer.get()); rc != SQLITE_DONE) return rc;
        id = sqlite3_last_insert_rowid(db_);
        Statement log(db_, "INSERT INTO logs (id, log) VALUES (?1, ?2)");
        if (log.rc() != SQLITE_OK) return log.rc();
        sqlite3_bind_int64(log.get(), 1, id);
        log.text(2, entry.log);
        const int rc = sqlite3_step(log.get());
        return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
    if (!error) entry.id = id;
    return error;
}

Result<std::vector<Entry>> Store::list(const Query& query) const {
    std::vector<Entry> entries;
    if (missing_) return entries;
    std::string sql = "SELECT id, recorded_ms, calculator, inputs, display";
    sql += query.withLog ? ", log FROM answers LEFT JOIN logs USING (id)" : " FROM answers";
    if (!query.search.empty())
        sql +=
            " WHERE calculator LIKE ?1 ESCAPE '\\' OR inputs LIKE ?1 ESCAPE '\\'"
            " OR display LIKE ?1 ESCAPE '\\'";
    sql += " ORDER BY id DESC LIMIT ?2";
    Statement s(db_, sql.c_str());
    if (s.rc() != SQLITE_OK) return errorOf(s.rc(), "read");
    if (!query.search.empty()) {
        std::string pattern = "%";
        for (char c : query.search) {
            if (c == '%' || c == '_' || c == '\\') pattern += '\\';
            pattern += c;
        }
        s.text(1, pattern + "%");
    }
    sqlite3_bind_int(s.get(), 2, query.limit < 0 ? -1 : query.limit);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) entries.push_back(entryAt(s, query.withLog));
    if (rc != SQLITE_DONE) return errorOf(rc, "read");
    return entries;
}

Result<std::optional<Entry>> Store::find(std::int64_t id) const {
    if (missing_) return std::optional<Entry>();
    Statement s(db_,
                "SELECT id, recorded_ms, calculator, inputs, display, log FROM answers"
                " LEFT JOIN logs USING (id) WHERE id = ?1");
    if (s.rc() != SQLITE_OK) return errorOf(s.rc(), "read");
    sqlite3_bind_int64(s.get(), 1, id);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_DONE) return std::optional<Entry>();
    if (rc != SQLITE_ROW) return errorOf(rc, "read");
    return std::optional<Entry>(entryAt(s, true));
}

Result<std::int64_t> Store::count() const {
    if (missing_) return std::int64_t{0};
    Statement s(db_, "SELECT count(*) FROM answers");
    if (s.rc() != SQLITE_OK) return errorOf(s.rc(), "read");
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_ROW) return errorOf(rc, "read");
    return std::int64_t{sqlite3_column_int64(s.get(), 0)};
}

std::optional<Error> Store::remove(std::int64_t id) {
    if (auto error = writable()) return error;
    if (missing_) return std::nullopt;
    return transaction([&] {
        for (const char* sql :
             {"DELETE FROM logs WHERE id = ?1", "DELETE FROM answers WHERE id = ?1"}) {
            Statement s(db_, sql);
            if (s.rc() != SQLITE_OK) return s.rc();
            sqlite3_bind_int64(s.get(), 1, id);
            if (const int rc = sqlite3_step(s.get()); rc != SQLITE_DONE) return rc;
        }
        return SQLITE_OK;
    });
}

std::optional<Error> Store::clear() {
    if (auto error = writable()) return error;
    if (missing_) return std::nullopt;
    return transaction([&] {
        return sqlite3_exec(db_, "DELETE FROM logs; DELETE FROM answers", nullptr, nullptr,
                            nullptr);
    });
}

}  // namespace voltaro::history
