// Opening the reference database in tests: the build's own Voltaro.dat, or a private copy of it
// that a test may change. Header-only; link voltaro_refdb (and Qt6::Core for the copy).
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/zephlib_binding.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "shell/shared_state.h"

namespace voltaro::testing {

// The build folder: Voltaro.dat and Zephlib.so.
inline std::filesystem::path appDir() { return VOLTARO_TEST_APP_DIR; }

// Opens `file` with the program's password; nullopt when it cannot.
inline std::optional<refdb::Database> openDatabase(const std::filesystem::path& file) {
    auto zephlib = platform::ZephlibBinding::inFolder(appDir());
    const auto password = refdb::recoverPassword(zephlib);
    if (!password) return std::nullopt;
    auto db = refdb::Database::open(file, refdb::connectText(*password));
    if (!db) return std::nullopt;
    return db.take();
}

// A shared record as a freshly opened panel sees it: the database open, every option on, no
// footnotes flagged, the results log inside `folder`.
inline std::optional<shell::SharedState> freshState(const std::filesystem::path& dataFile,
                                                    const std::filesystem::path& folder) {
    auto db = openDatabase(dataFile);
    if (!db) return std::nullopt;
    shell::SharedState state;
    state.RefDb = std::move(db);
    state.DataPath = dataFile;
    state.ResultsPath = folder / "~qxrslt.dat";
    state.OptionFlags.fill(true);
    state.PanelBusy = false;
    return state;
}

// A copy of the build's Voltaro.dat in `folder`, for tests that change tables.
inline std::filesystem::path copyOfDatabase(const QTemporaryDir& folder) {
    const std::filesystem::path copy = std::filesystem::path(folder.path().toStdString()) /
                                       "Voltaro.dat";
    std::filesystem::copy_file(appDir() / "Voltaro.dat", copy);
    return copy;
}

}  // namespace voltaro::testing
