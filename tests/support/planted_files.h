// What a hostile but fair user leaves where a file is to be written (links, folders, fifos,
// devices), and a snapshot of a folder to prove that a write left everything else as it was.
#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/golden.h"

namespace voltaro::testing {

// Everything in a folder that a write could change, entry by entry (names relative to it): kind
// and mode, inode, where a link points and what a file holds.
inline std::map<std::string, std::string> folderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_ino);
        if (S_ISLNK(st.st_mode))
            what += " -> " + std::filesystem::read_symlink(entry.path()).string();
        if (S_ISREG(st.st_mode)) what += " " + fileBytes(entry.path()).toStdString();
        entries[entry.path().lexically_relative(folder).string()] = what;
    }
    return entries;
}

// Makes `what` at `at`: "folder" (with a file inside), "fifo", "socket", "device" (a copy of
// /dev/full), "link to a fifo", "link" (to `victim`), "dangling link", "link to the data" and
// "hard link to the data" (to `data`), "read-only" (an existing file made so). False when this
// user cannot make it (only root makes devices; root may write a read-only file).
inline bool plant(const std::string& what, const std::filesystem::path& at,
                  const std::filesystem::path& data, const std::filesystem::path& victim) {
    namespace fs = std::filesystem;
    if (what == "folder") fs::create_directories(at / "inside");
    if (what == "fifo") ::mkfifo(at.c_str(), 0644);
    if (what == "link to a fifo") {
        ::mkfifo((at.parent_path() / "fifo").c_str(), 0644);
        fs::create_symlink("fifo", at);
    }
    if (what == "link") fs::create_symlink(victim, at);
    if (what == "dangling link") fs::create_symlink("missing", at);
    if (what == "link to the data") fs::create_symlink(data, at);
    if (what == "hard link to the data") fs::create_hard_link(data, at);
    if (what == "socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{AF_UNIX, {}};
        at.string().copy(address.sun_path, sizeof address.sun_path - 1);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::close(fd);
    }
    if (what == "device") return ::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    if (what == "read-only") {
        fs::permissions(at, fs::perms::owner_read);
        return ::geteuid() != 0;
    }
    return true;
}

}  // namespace voltaro::testing
