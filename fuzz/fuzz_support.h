// What the fuzzers share: the reference database opened once per process (opening it derives the
// key, far too slow to repeat per input), a fresh shared record per input, and a way to stop on a
// broken property with a message libFuzzer keeps beside the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "zephlib/binding/zephlib_binding.h"
#include "refdb/database.h"
#include "refdb/password.h"
#include "shell/shared_state.h"

namespace voltaro::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

// A record as a freshly opened panel sees it, every option on, over the one open database. The
// caller keeps the returned record for the process and resets it per input with freshPanel().
inline shell::SharedState& sharedState() {
    static shell::SharedState* state = [] {
        const std::filesystem::path appDir = VOLTARO_FUZZ_APP_DIR;
        auto zephlib = platform::ZephlibBinding::inFolder(appDir);
        const auto password = refdb::recoverPassword(zephlib);
        if (!password) fail("cannot bind Zephlib in " + appDir.string());
        auto db = refdb::Database::open(appDir / "Voltaro.dat", *password);
        if (!db) fail("cannot open Voltaro.dat: " + db.error().description);
        auto* s = new shell::SharedState;  // lives as long as the process
        s->RefDb = db.take();
        s->ResultsPath = "/nonexistent/~qxrslt.dat";  // fuzzers never write the log file
        return s;
    }();
    return *state;
}

// Back to a new panel: no footnotes, every option on.
inline void freshPanel(shell::SharedState& state) {
    state.NoteFlags.fill(false);
    state.OptionFlags.fill(true);
    state.ResultsReady = false;
}

}  // namespace voltaro::fuzz
