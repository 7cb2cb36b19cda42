#include "shell/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/file_writer.h"
#include "refdb/compact.h"
#include "refdb/password.h"
#include "refdb/schema_check.h"
#include "refdb/working_copy.h"
#include "shell/results_log.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::shell {

void ShowOnDisplay(SharedState& state, std::string_view line) {
    state.DisplayText += line;
    state.DisplayText += "\r\n";
    if (state.SetDisplayCaption) state.SetDisplayCaption(state.DisplayText);
}

std::optional<refdb::DbError> ClearTable(SharedState& state, std::string_view table) {
    if (!state.RefDb) return refdb::DbError{21, "the reference database is not open"};
    // The work tables are the program's own names; a name is never taken from input.
    auto set = state.RefDb->openRecordset("SELECT * FROM " + std::string(table),
                                          refdb::Recordset::Kind::Dynaset);
    if (!set) return set.error();
    if (set->recordCount() > 0) {
        set->moveFirst();
        while (!set->eof())
            if (auto error = set->deleteCurrent()) return error;
    }
    return std::nullopt;
}

std::filesystem::path dataFolderFor(const std::filesystem::path& appDir) {
    // The effective ids, as the files will be made: the folder must take new files and renames.
    if (::faccessat(AT_FDCWD, appDir.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return appDir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/')
        return std::filesystem::path(xdg) / "Voltaro";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        return std::filesystem::path(home) / ".local" / "share" / "Voltaro";
    return {};
}

namespace {

// The folder and those above it that are missing, each made private to the user (0700), as the
// user's data folders are.
std::optional<std::string> makeFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return std::nullopt;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        if (auto error = makeFolder(folder.parent_path())) return error;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot create " + folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> OpenSession(SharedState& state, const std::filesystem::path& appDir,
                                       const std::filesystem::path& dataFolder,
                                       platform::ZephlibBinding& zephlib,
                                       const OptionsStore& options) {
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) return "cannot use Zephlib.so: " + zephlib.bindError();
    if (dataFolder.empty())
        return "cannot keep a working copy of Voltaro.dat: " + appDir.string() +
               " cannot be written, and neither XDG_DATA_HOME nor HOME names a folder";
    state.SoundLibPath = appDir / "Tonebank.so";
    state.DataPath = dataFolder / "Voltaro.dat";
    const auto shipped = appDir / "Voltaro.dat";
    if (dataFolder != appDir)
        if (auto error = makeFolder(dataFolder)) return error;
    auto db = dataFolder == appDir ? refdb::Database::open(state.DataPath, *password)
                                   : refdb::openWorkingCopy(shipped, state.DataPath, *password);
    if (!db) {
        if (dataFolder != appDir) return db.error().description;  // it names the file
        return "cannot open " + state.DataPath.string() + ": " + db.error().description;
    }
    // Before anything writes: an empty or foreign file stays as it was.
    if (auto error = refdb::checkSchema(*db))
        return "cannot open " + state.DataPath.string() + ": " + error->description;
    state.RefDb = db.take();
    state.ConduitAbbr = "EMT";
    for (const char* table : {"DragList", "KeepWires", "Scratch"})
        if (auto error = ClearTable(state, table))
            return std::string("cannot empty ") + table + ": " + error->description;
    state.ResultsPath = dataFolder / "~qxrslt.dat";
    if (auto error = deleteResultsLog(state.ResultsPath)) return error;
    // Only this run writes its log: a writer's temporary beside it is one a killed run left.
    platform::removeStaleTemporaries(state.ResultsPath);
    options.LoadOptions(state, false);
    state.NoteFlags.fill(false);
    return std::nullopt;
}

std::vector<refdb::DbError> CompactDataFile(SharedState& state, platform::ZephlibBinding& zephlib) {
    state.WorkRs.reset();
    const auto temp = state.DataPath.parent_path() / "TmpCmpct.mdb";
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) {
        if (state.RefDb) state.RefDb->close();
        return {refdb::DbError{0, "cannot use Zephlib.so: " + zephlib.bindError()}};
    }
    // The open connection writes the compacted copy and is closed on the way.
    if (state.RefDb && state.RefDb->isOpen())
        return refdb::compactDataFile(*state.RefDb, state.DataPath, temp, *password);
    return refdb::compactDataFile(state.DataPath, temp, *password);
}

std::string compactErrorText(const refdb::DbError& error) {
    return "Database Compact Unsuccessful!\rError number: " + std::to_string(error.number) + "\r" +
           error.description;
}

std::vector<refdb::DbError> CloseSession(SharedState& state, platform::ZephlibBinding& zephlib) {
    if (!state.ResultsPath.empty()) (void)deleteResultsLog(state.ResultsPath);
    auto errors = CompactDataFile(state, zephlib);
    state.RefDb.reset();
    return errors;
}

}  // namespace voltaro::shell
