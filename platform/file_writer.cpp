#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <random>
#include <system_error>
#include <variant>

namespace voltaro::platform {

namespace {

std::string reasonOf(int number) { return std::generic_category().message(number); }

WriteError failure(const std::filesystem::path& target, int number, const std::string& reason) {
    return {number, "cannot write " + target.string() + ": " + reason};
}

WriteError failure(const std::filesystem::path& target, int number) {
    return failure(target, number, reasonOf(number));
}

// Why a file that exists is no target, or nullopt for a regular file.
std::optional<WriteError> refuseKind(const std::filesystem::path& target, mode_t mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return failure(target, EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode)) return failure(target, 0, "it is a device, not a file");
    if (S_ISFIFO(mode)) return failure(target, 0, "it is a fifo, not a file");
    if (S_ISSOCK(mode)) return failure(target, 0, "it is a socket, not a file");
    return failure(target, 0, "it is not a regular file");
}

// What the check found out about the target: the file to replace (the target itself, or the file
// a link names) and, when it exists, its mode and owner for the new file.
struct Target {
    std::filesystem::path file;
    bool exists = false;
    struct stat status {};
};

// Refuses what must not be replaced; otherwise says which file to replace. A link is followed by
// the kernel (O_PATH without O_NOFOLLOW) so that its rules for links in shared folders apply, and
// only then resolved to a path.
std::variant<Target, WriteError> inspect(const std::filesystem::path& target,
                                         const WriteOptions& options) {
    if (target.empty()) return failure(target, ENOENT);
    if (!target.has_filename()) return failure(target, EISDIR);

    Target found;
    found.file = target;
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0) {
        if (errno == ENOENT) return found;  // a new file; its folder is checked by creating in it
        return failure(target, errno);
    }
    if (S_ISLNK(link.st_mode) && options.replaceLinks) return found;  // the link goes, whole
    const int fd = ::open(target.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && S_ISLNK(link.st_mode))
            return failure(target, ENOENT, "it is a link to a file that does not exist");
        return failure(target, errno);
    }
    const int statResult = ::fstat(fd, &found.status);
    const int statError = errno;
    ::close(fd);
    if (statResult != 0) return failure(target, statError);
    if (auto refused = refuseKind(target, found.status.st_mode)) return *refused;

    for (const auto& guarded : options.protectedFiles) {
        struct stat other {};
        if (::stat(guarded.path.c_str(), &other) == 0 && other.st_dev == found.status.st_dev &&
            other.st_ino == found.status.st_ino)
            return failure(target, 0, "it is " + guarded.role);
    }

    if (S_ISLNK(link.st_mode)) {
        // Not /proc/self/fd: a writer that replaced the file meanwhile would make that name
        // "... (deleted)". realpath walks the same links the kernel has just allowed.
        std::array<char, PATH_MAX> resolved{};
        if (::realpath(target.c_str(), resolved.data()) == nullptr) return failure(target, errno);
        found.file = resolved.data();
    }
    // The shell's ">" refuses a file we may not write; so do we, although the folder would let us
    // rename over it.
    if (::faccessat(AT_FDCWD, found.file.c_str(), W_OK, AT_EACCESS) != 0)
        return failure(target, errno);
    found.exists = true;
    return found;
}

// A name beside `file` that nobody can guess: ".<name>.<10 random letters or digits>".
std::filesystem::path temporaryNameFor(const std::filesystem::path& file, std::mt19937_64& random) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = file.filename().string();
    if (name.size() > 200) name.resize(200);  // room for the suffix within a name's 255 bytes
    name = "." + name + ".";
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int i = 0; i < 10; ++i) name += kLetters[pick(random)];
    return file.parent_path() / name;
}

// The temporary while it exists: closed and removed unless it has been renamed.
class Temporary {
public:
    ~Temporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }
    const std::filesystem::path& path() const { return path_; }
    void opened(int fd, std::filesystem::path path) {
        fd_ = fd;
        path_ = std::move(path);
    }
    // Close reports late write errors (a full disk on some file systems); the descriptor is gone
    // either way.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }
    void renamed() { path_.clear(); }

private:
    int fd_ = -1;
    std::filesystem::path path_;
};

void syncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<WriteError> writeFileInPlace(const std::filesystem::path& target,
                                           std::string_view bytes, const WriteOptions& options) {
    auto injected = [&](WriteStep step,
                        const std::filesystem::path& temporary) -> std::optional<int> {
        return options.fault ? options.fault(step, temporary) : std::nullopt;
    };

    if (auto number = injected(WriteStep::CheckTarget, {})) return failure(target, *number);
    auto inspected = inspect(target, options);
    if (auto* refused = std::get_if<WriteError>(&inspected)) return *refused;
    const Target& found = std::get<Target>(inspected);

    Temporary temporary;
    {
        std::random_device seed;
        std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed());
        // A name taken meanwhile (or a link planted there) is never opened: try another. A new
        // file's mode is 0644 less the umask; a replaced file's is set once the bytes are in.
        const mode_t mode = found.exists ? 0600 : 0644;
        for (int attempt = 0;; ++attempt) {
            auto name = temporaryNameFor(found.file, random);
            if (auto number = injected(WriteStep::CreateTemporary, name))
                return failure(target, *number);
            const int fd =
                ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd >= 0) {
                temporary.opened(fd, std::move(name));
                break;
            }
            if (errno != EEXIST || attempt == 99) return failure(target, errno);
        }
    }

    if (auto number = injected(WriteStep::Write, temporary.path())) return failure(target, *number);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(temporary.fd(), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return failure(target, errno);
        if (written == 0) return failure(target, EIO);
        done += static_cast<std::size_t>(written);
    }

    if (auto number = injected(WriteStep::SyncFile, temporary.path()))
        return failure(target, *number);
    if (found.exists) {
        // The owner only where the process may set it (root, or a group it belongs to).
        if (found.status.st_uid != ::geteuid() || found.status.st_gid != ::getegid())
            (void)::fchown(temporary.fd(), found.status.st_uid, found.status.st_gid);
        if (::fchmod(temporary.fd(), found.status.st_mode & 0777) != 0)
            return failure(target, errno);
    }
    if (::fsync(temporary.fd()) != 0) return failure(target, errno);
    if (temporary.close() != 0) return failure(target, errno);

    if (auto number = injected(WriteStep::Replace, temporary.path()))
        return failure(target, *number);
    if (std::rename(temporary.path().c_str(), found.file.c_str()) != 0)
        return failure(target, errno);
    const auto folder = temporary.path().parent_path();
    temporary.renamed();

    // The new bytes are in place: from here on nothing is reported, only made durable.
    if (!injected(WriteStep::SyncFolder, {})) syncFolder(folder);
    return std::nullopt;
}

int removeStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = "." + target.filename().string() + ".";
    const auto folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    int removed = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 10 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        bool ours = true;
        for (std::size_t i = prefix.size(); i < name.size(); ++i)
            ours = ours && std::isalnum(static_cast<unsigned char>(name[i])) != 0;
        struct stat status {};
        // Only a regular file of this user: a link or anything else by that name is not ours.
        if (!ours || ::lstat(it->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid())
            continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

void failWritesBeyondTheSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace voltaro::platform
