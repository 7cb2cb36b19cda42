#include "refdb/compact.h"

#define SQLITE_HAS_CODEC 1
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <system_error>

#include "refdb/sql.h"

namespace voltaro::refdb {

namespace {

DbError fileError(int number, const std::string& what) {
    return {number, what + ": " + std::strerror(number)};
}

// What a database holds, for comparing a copy with its source: every schema object and the row
// count of every table.
Result<std::map<std::string, long long>> contentsOf(Database& db) {
    std::map<std::string, long long> contents;
    auto objects = db.openRecordset(
        "SELECT type, name FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' ORDER BY name");
    if (!objects) return objects.error();
    for (objects->moveFirst(); !objects->eof(); objects->moveNext()) {
        const std::string type = objects->field("type").text();
        const std::string name = objects->field("name").text();
        long long rows = -1;
        if (type == "table") {
            auto count = db.openRecordset("SELECT count(*) AS n FROM " + sqlName(name));
            if (!count) return count.error();
            rows = static_cast<long long>(count->field("n").number());
        }
        contents[type + " " + name] = rows;
    }
    return contents;
}

std::optional<DbError> syncPath(const std::filesystem::path& path, bool directory) {
    const int fd = ::open(path.c_str(), directory ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0) return fileError(errno, "cannot open " + path.string());
    const int rc = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    if (rc != 0) return fileError(saved, "cannot flush " + path.string());
    return std::nullopt;
}

std::optional<DbError> exportInto(Database& source, const std::filesystem::path& tempPath,
                                  std::string_view password) {
    // The data file is open without permission to create files, and an attached file inherits
    // that, so the copy starts as an empty file made here (an empty file is a new database).
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return DbError{SQLITE_CANTOPEN,
                       "unable to create " + tempPath.string() + ": " + std::strerror(errno)};
    ::close(fd);

    sqlite3* db = source.handle();
    sqlite3_stmt* attach = nullptr;
    int rc = sqlite3_prepare_v2(db, "ATTACH DATABASE ?1 AS compacted KEY ?2", -1, &attach, nullptr);
    if (rc == SQLITE_OK) {
        const std::string path = tempPath.string();
        sqlite3_bind_text(attach, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(attach, 2, password.data(), static_cast<int>(password.size()),
                          SQLITE_TRANSIENT);
        rc = sqlite3_step(attach);
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
        DbError error{sqlite3_extended_errcode(db), sqlite3_errmsg(db)};
        sqlite3_finalize(attach);
        return error;
    }
    sqlite3_finalize(attach);

    // The copy's key is derived with the same number of rounds as the data file's, and the export
    // copies the schema and rows but not the user version, which is carried by hand.
    auto error =
        source.execute("PRAGMA compacted.kdf_iter = " + std::to_string(kKeyDerivationRounds));
    if (!error) {
        auto version = source.openRecordset("PRAGMA main.user_version");
        if (!version) error = version.error();
        if (!error) error = source.execute("SELECT sqlcipher_export('compacted')");
        if (!error)
            error = source.execute(
                "PRAGMA compacted.user_version = " +
                std::to_string(static_cast<long long>(version->field("user_version").number())));
    }
    if (auto detached = source.execute("DETACH DATABASE compacted"); detached && !error)
        error = detached;
    return error;
}

}  // namespace

std::vector<DbError> compactDataFile(const std::filesystem::path& dataPath,
                                     const std::filesystem::path& tempPath,
                                     const Password& password, const CompactFault& fault) {
    if (fault) {
        if (auto error = fault(CompactStep::OpenSource)) {
            // Reported as the open failing; nothing else has happened yet.
            std::error_code ignored;
            std::filesystem::remove(tempPath, ignored);
            return {*error};
        }
    }
    auto source = Database::open(dataPath, password);
    if (!source) {
        std::error_code ignored;
        std::filesystem::remove(tempPath, ignored);
        return {source.error()};
    }
    auto skipOpen = [&](CompactStep step) -> std::optional<DbError> {
        return step == CompactStep::OpenSource || !fault ? std::nullopt : fault(step);
    };
    return compactDataFile(*source, dataPath, tempPath, password, skipOpen);
}

std::vector<DbError> compactDataFile(Database& source, const std::filesystem::path& dataPath,
                                     const std::filesystem::path& tempPath,
                                     const Password& password, const CompactFault& fault) {
    auto injected = [&](CompactStep step) -> std::optional<DbError> {
        return fault ? fault(step) : std::nullopt;
    };
    auto removeCopy = [&] {
        std::error_code ignored;
        std::filesystem::remove(tempPath, ignored);
    };
    auto failed = [&](DbError error) {
        removeCopy();
        return std::vector<DbError>{std::move(error)};
    };

    // A stale copy is deleted first; one that cannot be deleted stops the compaction.
    if (auto error = injected(CompactStep::RemoveStaleCopy)) return {*error};
    std::error_code ec;
    std::filesystem::remove(tempPath, ec);
    if (ec) return {fileError(ec.value(), "cannot delete " + tempPath.string())};

    if (!source.isOpen()) return {DbError{SQLITE_MISUSE, "the database is closed"}};

    // The copy is written through the connection already open on the data file, which saves
    // deriving the key from the password once more.
    std::map<std::string, long long> sourceContents;
    {
        if (auto error = injected(CompactStep::OpenSource)) return failed(*error);
        auto contents = contentsOf(source);
        if (!contents) return failed(contents.error());
        sourceContents = contents.take();

        if (auto error = injected(CompactStep::Export)) return failed(*error);
        if (auto error = exportInto(source, tempPath, password.text())) return failed(*error);
    }
    source.close();
    {
        if (auto error = injected(CompactStep::OpenCopy)) return failed(*error);
        auto copy = Database::open(tempPath, password);
        if (!copy) return failed(copy.error());

        if (auto error = injected(CompactStep::CheckCopy)) return failed(*error);
        auto check = copy->openRecordset("PRAGMA integrity_check");
        if (!check) return failed(check.error());
        check->moveFirst();
        if (check->eof() || check->field("integrity_check").text() != "ok")
            return failed(DbError{SQLITE_CORRUPT, "the compacted copy failed its integrity check"});
        auto contents = contentsOf(*copy);
        if (!contents) return failed(contents.error());
        if (*contents != sourceContents)
            return failed(DbError{SQLITE_CORRUPT, "the compacted copy differs from the data file"});
    }

    if (auto error = injected(CompactStep::Replace)) return failed(*error);
    if (auto error = syncPath(tempPath, false)) return failed(*error);
    if (std::rename(tempPath.c_str(), dataPath.c_str()) != 0)
        return failed(fileError(errno, "cannot replace " + dataPath.string()));
    // The rename itself is made durable; a failure here no longer puts the data at risk.
    (void)syncPath(dataPath.parent_path().empty() ? "." : dataPath.parent_path(), true);
    return {};
}

}  // namespace voltaro::refdb
