#include "shell/session.h"

#include <system_error>

#include "refdb/compact.h"
#include "refdb/password.h"
#include "refdb/schema_check.h"
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

std::optional<std::string> OpenSession(SharedState& state, const std::filesystem::path& appDir,
                                       platform::ZephlibBinding& zephlib,
                                       const OptionsStore& options) {
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) return "cannot use Zephlib.so: " + zephlib.bindError();
    state.SoundLibPath = appDir / "Tonebank.so";
    state.DataPath = appDir / "Voltaro.dat";
    auto db = refdb::Database::open(state.DataPath, *password);
    if (!db) return "cannot open " + state.DataPath.string() + ": " + db.error().description;
    // Before anything writes: an empty or foreign file stays as it was.
    if (auto error = refdb::checkSchema(*db))
        return "cannot open " + state.DataPath.string() + ": " + error->description;
    state.RefDb = db.take();
    state.ConduitAbbr = "EMT";
    for (const char* table : {"DragList", "KeepWires", "Scratch"})
        if (auto error = ClearTable(state, table))
            return std::string("cannot empty ") + table + ": " + error->description;
    state.ResultsPath = appDir / "~qxrslt.dat";
    if (auto error = deleteResultsLog(state.ResultsPath)) return error;
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
