// A private copy of the built reference database for a test: the shipped Voltaro.dat is copied
// into a temporary folder and opened there, so a test may fill the work tables, change rows or
// drop a table without touching the file the program and other tests use.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

#include "platform/zephlib_binding.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "shell/shared_state.h"

namespace voltaro::testing {

class ReferenceCopy {
  public:
    ReferenceCopy() {
        const QString source = QStringLiteral(VOLTARO_TEST_APP_DIR "/Voltaro.dat");
        copied_ = dir_.isValid() && QFile::copy(source, dir_.filePath("Voltaro.dat"));
    }

    // The copy's folder, which stands in for the application folder (the results log goes here).
    std::filesystem::path folder() const { return dir_.path().toStdString(); }

    // A fresh shared record as a newly opened panel has it: the copy open, no note flags, the
    // conduit type EMT with no name chosen. nullopt when the copy cannot be made or opened.
    std::optional<shell::SharedState> freshState() const {
        if (!copied_) return std::nullopt;
        auto zephlib = platform::ZephlibBinding::inFolder(VOLTARO_TEST_APP_DIR);
        const auto password = refdb::recoverPassword(zephlib);
        if (!password) return std::nullopt;
        auto db = refdb::Database::open(folder() / "Voltaro.dat", refdb::connectText(*password));
        if (!db) return std::nullopt;
        shell::SharedState state;
        state.RefDb = db.take();
        state.ResultsPath = folder() / "~qxrslt.dat";
        return state;
    }

  private:
    QTemporaryDir dir_;
    bool copied_ = false;
};

}  // namespace voltaro::testing
