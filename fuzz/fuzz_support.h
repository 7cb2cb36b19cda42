// What the fuzzers share: the reference database opened once per process (opening it derives the
// key, far too slow to repeat per input), and a way to stop on a broken property with a message
// libFuzzer keeps beside the input. Each input starts with note flags of its own, all clear, as a
// freshly opened panel has them.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "refdb/database.h"
#include "refdb/password.h"
#include "zephlib/binding/zephlib_binding.h"

namespace voltaro::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

// The one open reference database of the process.
inline refdb::Database& referenceDatabase() {
    static refdb::Database* db = [] {
        const std::filesystem::path appDir = VOLTARO_FUZZ_APP_DIR;
        auto zephlib = platform::ZephlibBinding::inFolder(appDir);
        const auto password = refdb::recoverPassword(zephlib);
        if (!password) fail("cannot bind Zephlib in " + appDir.string());
        auto opened = refdb::Database::open(appDir / "Voltaro.dat", *password);
        if (!opened) fail("cannot open Voltaro.dat: " + opened.error().description);
        return new refdb::Database(opened.take());  // lives as long as the process
    }();
    return *db;
}

}  // namespace voltaro::fuzz
