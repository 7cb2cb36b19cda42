// The one fixture of the tests of the calculation cores, the reference database and the shell's
// data side: a private copy of the build's Voltaro.dat in a temporary folder of its own (which
// stands in for the application folder), opened as the program opens it, and note flags all
// clear, as a freshly opened panel has them. Build one per test function (a member reset in
// init(), or a local) so that no test sees what another changed: a test may fill the work tables,
// change rows or drop a table. Header-only; link voltaro_refdb.
#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <filesystem>
#include <optional>
#include <string>

#include "calc/common/note_flags.h"
#include "calc/common/outcome.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::testing {

// The build folder: Voltaro.dat and Zephlib.so.
inline std::filesystem::path appDir() { return VOLTARO_TEST_APP_DIR; }

// The password that opens the reference database, recovered through Zephlib as the program does;
// empty when Zephlib cannot be used.
inline refdb::Password password() {
    auto zephlib = platform::ZephlibBinding::inFolder(appDir());
    return refdb::recoverPassword(zephlib).value_or(refdb::Password(std::string_view()));
}

class CoreFixture {
public:
    CoreFixture() {
        if (!dir_.isValid()) qFatal("cannot make a temporary folder");
        std::filesystem::copy_file(appDir() / "Voltaro.dat", path_);
    }

    // The copy's folder, which stands in for the application folder (files a test writes go here).
    std::filesystem::path folder() const { return dir_.path().toStdString(); }
    const std::filesystem::path& path() const { return path_; }
    const refdb::Password& password() const { return password_; }

    // The copy, opened as the program opens it: the fixture's own connection, opened on first use
    // (a test of compaction never opens it). The test stops at once when it cannot be opened.
    refdb::Database& db() {
        if (!db_) db_ = open();
        return *db_;
    }

    // Another connection to the copy, the caller's own.
    refdb::Database open() const {
        auto db = refdb::Database::open(path_, password_);
        if (!db) qFatal("cannot open the reference copy: %s", db.error().description.c_str());
        return db.take();
    }

    // The flags a core sets, as a freshly opened panel has them: all clear.
    calc::NoteFlags notes{};

private:
    QTemporaryDir dir_;
    std::filesystem::path path_ = folder() / "Voltaro.dat";
    refdb::Password password_ = testing::password();
    std::optional<refdb::Database> db_;
};

// What a calculation shows: its display lines joined by "|", or the message of an input refusal
// (nullopt for a failure of any other cause).
inline std::optional<QString> shown(const calc::Outcome& outcome) {
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        if (failure->cause != calc::Cause::Input) return std::nullopt;
        return QString::fromStdString(failure->message);
    }
    QStringList lines;
    for (const auto& line : std::get<calc::Answer>(outcome).displayLines)
        lines << QString::fromStdString(line);
    return lines.join('|');
}

}  // namespace voltaro::testing
