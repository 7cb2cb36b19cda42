#include "refdb/working_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_writer.h"
#include "refdb/schema_check.h"

namespace voltaro::refdb {

namespace {

// The whole file, read through interruptions; the shipped file is a few dozen kilobytes.
Result<std::string> readWhole(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return DbError{errno, "cannot read " + path.string() + ": " + std::strerror(errno)};
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int number = errno;
            ::close(fd);
            return DbError{number, "cannot read " + path.string() + ": " + std::strerror(number)};
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

// The copy when it opens, is the reference database and carries `stamp`; otherwise nothing (it is
// to be made again).
std::optional<Database> upToDate(const std::filesystem::path& copy, const Password& password,
                                 long long stamp) {
    std::error_code ec;
    if (!std::filesystem::exists(copy, ec)) return std::nullopt;
    auto db = Database::open(copy, password);
    if (!db) return std::nullopt;
    auto copyStamp = dataStamp(*db);
    if (!copyStamp || *copyStamp != stamp || checkSchema(*db)) return std::nullopt;
    return db.take();
}

}  // namespace

Result<long long> dataStamp(Database& db) {
    auto version = db.openRecordset("PRAGMA user_version");
    if (!version) return version.error();
    version->moveFirst();
    return static_cast<long long>(version->field("user_version").number());
}

Result<Database> openWorkingCopy(const std::filesystem::path& shipped,
                                 const std::filesystem::path& copy, const Password& password) {
    auto describe = [](const std::filesystem::path& path, const DbError& error) {
        return DbError{error.number, "cannot open " + path.string() + ": " + error.description};
    };
    long long stamp = 0;
    {
        auto source = Database::open(shipped, password, Database::Access::ReadOnly);
        if (!source) return describe(shipped, source.error());
        auto shippedStamp = dataStamp(*source);
        if (!shippedStamp) return describe(shipped, shippedStamp.error());
        stamp = *shippedStamp;
    }
    if (auto current = upToDate(copy, password, stamp)) return std::move(*current);

    auto bytes = readWhole(shipped);
    if (!bytes) return bytes.error();
    if (auto error = platform::writeFileInPlace(copy, *bytes))
        return DbError{error->number, error->message};
    auto db = Database::open(copy, password);
    if (!db) return describe(copy, db.error());
    return db;
}

}  // namespace voltaro::refdb
