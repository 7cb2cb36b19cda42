// Opening the reference database in tests: the build's own Voltaro.dat, or a private copy of it
// that a test may change (fill the work tables, change rows, drop a table) without touching the
// file the program and other tests use. Header-only; link voltaro_refdb.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <optional>
#include <string>

#include "zephlib/binding/zephlib_binding.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "shell/shared_state.h"

namespace voltaro::testing {

// The build folder: Voltaro.dat and Zephlib.so.
inline std::filesystem::path appDir() { return VOLTARO_TEST_APP_DIR; }

// The password that opens the reference database, recovered through Zephlib as the program does;
// empty when Zephlib cannot be used.
inline refdb::Password password() {
    auto zephlib = platform::ZephlibBinding::inFolder(appDir());
    return refdb::recoverPassword(zephlib).value_or(refdb::Password(std::string_view()));
}

// Opens `file` with the program's password; nullopt when it cannot.
inline std::optional<refdb::Database> openDatabase(const std::filesystem::path& file) {
    auto db = refdb::Database::open(file, password());
    if (!db) return std::nullopt;
    return db.take();
}

// A shared record as a freshly opened panel sees it: the database open, every option on, no
// footnotes flagged, the conduit type EMT with no name chosen, the results log inside `folder`.
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

// A private copy of Voltaro.dat in its own temporary folder, gone with the object.
class ReferenceCopy {
public:
    ReferenceCopy() : path_(copyOfDatabase(dir_)), password_(testing::password()) {}

    // The copy's folder, which stands in for the application folder (the results log goes here).
    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    const std::filesystem::path& path() const { return path_; }
    const refdb::Password& password() const { return password_; }

    // The copy, opened as the program opens it; the test fails at once when it cannot be.
    refdb::Database open() const {
        auto db = refdb::Database::open(path_, password_);
        if (!db) qFatal("cannot open the reference copy: %s", db.error().description.c_str());
        return db.take();
    }

    // A fresh shared record on the copy (see freshState above).
    std::optional<shell::SharedState> freshState() const {
        return testing::freshState(path_, folder());
    }

private:
    QTemporaryDir dir_;
    std::filesystem::path path_;
    refdb::Password password_;
};

}  // namespace voltaro::testing
