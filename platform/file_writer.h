// The one writer for files written in place (the results log, voltaro-cli's --log).
//
// The promise: after writeFileInPlace() the target holds either all of the new bytes or exactly
// what it held before, never a mix and never nothing. The new bytes go into a temporary file
// beside the target, with a name nobody can guess, created exclusively and without following
// links, written in full, flushed to the disk and renamed over the target in one step; then the
// folder is flushed so that the rename survives a power cut. On any failure only that temporary
// is removed: the target (a file, a link, a folder or nothing at all) stays exactly as it was.
//
// What is refused before anything is written:
// - a target that exists and is neither a regular file nor a link to one (a folder, a device, a
//   fifo, a socket, a link to any of these, a link to nothing);
// - an existing target we may not write (its permissions), as the shell's ">" would refuse it;
// - a target that is the same file (device and inode) as one of the protected files, such as the
//   reference database, whatever name or link leads to it.
//
// A link as target is written through: the file it names gets the new bytes, the link stays a
// link. A user who points a log name at a file elsewhere expects the log there, as ">" does, and
// replacing the link would silently cut it. The link is resolved by the kernel (so the
// sticky-folder protections against planted links hold), and the temporary goes beside the file it
// names.
//
// A new file gets mode 0644 less the umask; a replaced file keeps its mode, and its owner where
// the process may set it. Writers running at the same time each rename their own complete file:
// the last one wins, none fails, the target never vanishes and no temporary is left behind.
//
// A file larger than the process's file-size limit fails with "File too large" only when SIGXFSZ
// is ignored; by default that signal ends the process, leaving the temporary behind. The program
// and voltaro-cli call failWritesBeyondTheSizeLimit() first thing in main.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltaro::platform {

enum class WriteStep {
    CheckTarget,      // what the target is: refused unless absent, a regular file or a link to one
    CreateTemporary,  // the uniquely named temporary beside the (resolved) target
    Write,            // every byte, through short writes and interruptions
    SyncFile,         // the temporary's bytes and mode on the disk, then closed
    Replace,          // renamed over the target
    SyncFolder,       // the rename on the disk
};

// Tests use this to make a step fail: it returns the errno the step should report, or nullopt to
// let the step run. `temporary` is the name the temporary file has or is about to get (empty
// before CreateTemporary), so that a test can plant something there.
using WriteFault =
    std::function<std::optional<int>(WriteStep, const std::filesystem::path& temporary)>;

// A file the writer must never replace, and what to call it in the refusal.
struct ProtectedFile {
    std::filesystem::path path;
    std::string role;  // "the reference database"
};

struct WriteOptions {
    std::vector<ProtectedFile> protectedFiles;
    WriteFault fault;
    // The program's own files (its results log) are never written through a link: a link found at
    // the target, planted there by anyone, is replaced by the new file and what it named stays as
    // it was.
    bool replaceLinks = false;
};

struct WriteError {
    int number = 0;       // errno, or 0 for a refusal that has no system reason
    std::string message;  // "cannot write /x/y.log: Permission denied"
};

// Writes `bytes` to `target` as promised above. Returns nullopt on success, else the failure
// naming the target as given and the system's reason. Once the rename is done the write has
// succeeded: a folder that cannot be flushed afterwards is not reported.
std::optional<WriteError> writeFileInPlace(const std::filesystem::path& target,
                                           std::string_view bytes,
                                           const WriteOptions& options = {});

// Removes the temporaries a writer of `target` left behind when it was killed before its rename
// (".<name>.<10 letters or digits>" beside it): call it only where no writer of that target can be
// running, as the program does at start for its own results log. Returns how many went.
int removeStaleTemporaries(const std::filesystem::path& target);

// Ignores SIGXFSZ for the whole process, so that a write beyond the file-size limit (ulimit -f)
// fails with EFBIG, which the writer reports, instead of ending the process.
void failWritesBeyondTheSizeLimit();

}  // namespace voltaro::platform
