// What the reference database costs: opening it (the password's key derivation dominates), the
// schema check that follows every opening, and the lookups of one wire-size calculation once it
// is open. Each is set beside a baseline run in the same process: opening an unencrypted copy of
// the same tables, the opening itself for the check, and the same lookups as bare prepared
// statements on the engine, so the figures read as ratios.
#include <benchmark/benchmark.h>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <string>

#include "refdb/database.h"
#include "refdb/password.h"
#include "refdb/schema_check.h"
#include "zephlib/binding/zephlib_binding.h"

using namespace voltaro;
namespace fs = std::filesystem;

namespace {

struct Files {
    fs::path encrypted, plain;
    refdb::Password password{std::string_view()};

    Files() {
        const fs::path dir = fs::temp_directory_path() / "voltaro-bench";
        fs::create_directories(dir);
        encrypted = dir / "Voltaro.dat";
        plain = dir / "Plain.dat";
        fs::copy_file(fs::path(VOLTARO_BENCH_APP_DIR) / "Voltaro.dat", encrypted,
                      fs::copy_options::overwrite_existing);
        auto zephlib = platform::ZephlibBinding::inFolder(VOLTARO_BENCH_APP_DIR);
        password = *refdb::recoverPassword(zephlib);
        // The same tables without encryption, for the baseline.
        fs::remove(plain);
        auto db = refdb::Database::open(encrypted, password);
        const std::string attach = "ATTACH DATABASE '" + plain.string() + "' AS plain KEY ''";
        sqlite3_exec(db->handle(), attach.c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db->handle(), "SELECT sqlcipher_export('plain'); DETACH DATABASE plain",
                     nullptr, nullptr, nullptr);
    }
};

Files& files() {
    static Files f;  // benchmark-process fixture
    return f;
}

void OpenEncrypted(benchmark::State& state) {
    for (auto _ : state) {
        auto db = refdb::Database::open(files().encrypted, files().password);
        benchmark::DoNotOptimize(db.ok());
    }
}

void OpenPlainBaseline(benchmark::State& state) {
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(files().plain.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        benchmark::DoNotOptimize(
            sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr));
        sqlite3_close(db);
    }
}

// 40 A copper THHN, 6 conductors, 40 C: correction, adjustment, and the two AWG queries, each
// positioned with find-first as the calculation does.
void WireSizeLookups(benchmark::State& state) {
    auto db = refdb::Database::open(files().encrypted, files().password);
    for (auto _ : state) {
        auto correction = db->openRecordset("SELECT DegST, DegED, Cop90 FROM Correc1");
        auto found = correction->findFirst("40 >= DegST AND 40 <= DegED");
        auto adjustment =
            db->openRecordset("SELECT * FROM Correc2 WHERE 6 >= CondFrm AND 6 <= CondTo");
        auto ampacity = db->openRecordset("SELECT Guage, Cop90 AS MaxAmp FROM AWG");
        auto terminal = db->openRecordset("SELECT Guage, Cop60 AS TermMax FROM AWG");
        auto size = terminal->findFirst("Guage = '8'");
        benchmark::DoNotOptimize(correction->field("Cop90").number() * *found * *size +
                                 adjustment->field("Percent").number() + ampacity->recordCount());
    }
}

// The check every opening runs, set beside the opening it follows (OpenEncrypted).
void CheckSchemaAfterOpening(benchmark::State& state) {
    auto db = refdb::Database::open(files().encrypted, files().password);
    for (auto _ : state) benchmark::DoNotOptimize(refdb::checkSchema(*db).has_value());
}

double stepOne(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    double value = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) value += sqlite3_column_double(stmt, 1);
    sqlite3_finalize(stmt);
    return value;
}

void WireSizeLookupsBaseline(benchmark::State& state) {
    auto db = refdb::Database::open(files().encrypted, files().password);
    for (auto _ : state) {
        double sum = stepOne(db->handle(),
                             "SELECT DegST, Cop90 FROM Correc1 WHERE 40 >= DegST AND 40 <= DegED");
        sum += stepOne(db->handle(),
                       "SELECT CondFrm, Percent FROM Correc2 WHERE 6 >= CondFrm AND 6 <= CondTo");
        sum += stepOne(db->handle(), "SELECT Guage, Cop90 FROM AWG");
        sum += stepOne(db->handle(), "SELECT Guage, Cop60 FROM AWG WHERE Guage = '8'");
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

BENCHMARK(OpenEncrypted)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenPlainBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckSchemaAfterOpening)->Unit(benchmark::kMillisecond);
BENCHMARK(WireSizeLookups)->Unit(benchmark::kMicrosecond);
BENCHMARK(WireSizeLookupsBaseline)->Unit(benchmark::kMicrosecond);
// --gui: run inside a QGuiApplication, as the program does. Key derivation costs more in a process
// with the window system's threads running than in a single-threaded one.
int main(int argc, char** argv) {
    std::unique_ptr<QGuiApplication> app;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--gui") {
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            app = std::make_unique<QGuiApplication>(argc, argv);
            break;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
