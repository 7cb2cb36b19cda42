// What the history costs. Recording one answer: what the calculation itself pays (handing the entry
// to the recorder, which writes on its own thread) and the write the recorder then does (one
// synced transaction); opening the History window and showing its list. Each runs against a
// history of 10,000 answers and, as the baseline in the same run, against an empty one, so the
// figures read as ratios. Run on the offscreen platform unless QT_QPA_PLATFORM names another.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>

#include "history/recorder.h"
#include "history/store.h"
#include "shell/history_window.h"

using namespace voltaro;
namespace fs = std::filesystem;

namespace {

// A wire size answer as the program keeps it: its inputs, four display lines and a log of about
// 1.2 KB with its notes.
history::Entry wireAnswer(int n) {
    std::string log =
        "\r\n1999 NEC Code Year\r\n\r\nVoltaro Results:\r\n\r\n~ Calculate Wire Size "
        "~\r\n\r\nFull Load Amps: " +
        std::to_string(n % 400) + "\r\n";
    for (int i = 0; i < 12; ++i)
        log +=
            "Terminals taken at 60 C: the circuit is 100 A or less, so the conductor is sized "
            "from\r\n";
    return {0,
            1700000000000 + n * 60000LL,
            "Wire Size",
            {{"Full Load Amps", std::to_string(n % 400)},
             {"Conductor Type", "Copper"},
             {"Insulation Type", "THHN"},
             {"Current Carrying Conductors in Conduit", "6"},
             {"Ambient Temp in C", "40"}},
            {"8  (THHN)", "De-Rated Amps: 40.04", "Circuit Max Amps: 40", "See Notes"},
            log};
}

struct Histories {
    QTemporaryDir dir;
    fs::path full, empty;

    Histories() {
        full = fs::path(dir.path().toStdString()) / "full" / "history.sqlite";
        empty = fs::path(dir.path().toStdString()) / "empty" / "history.sqlite";
        auto store = *history::Store::open(full, history::Store::Mode::Record);
        sqlite3_exec(store->handle(), "BEGIN", nullptr, nullptr, nullptr);
        for (int n = 0; n < 10000; ++n) {
            auto entry = wireAnswer(n);
            store->record(entry);
        }
        sqlite3_exec(store->handle(), "COMMIT", nullptr, nullptr, nullptr);
        history::Store::open(empty, history::Store::Mode::Record);
    }
    const fs::path& path(const benchmark::State& state) { return state.range(0) ? full : empty; }
};

Histories& histories() {
    static Histories h;  // benchmark-process fixture
    return h;
}

// The entries written in a run are taken out again untimed, so the history keeps its size.
// Range 1: synced or not. The recorder syncs every commit; unsynced shows what the flush to the
// disk costs of it (the write alone).
void WriteOneAnswer(benchmark::State& state) {
    auto store = *history::Store::open(histories().path(state), history::Store::Mode::Record);
    if (!state.range(1))
        sqlite3_exec(store->handle(), "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    const auto before = *store->count();
    int n = 0;
    for (auto _ : state) {
        auto entry = wireAnswer(++n);
        benchmark::DoNotOptimize(store->record(entry));
    }
    const std::string trim = "DELETE FROM answers WHERE id > (SELECT max(id) FROM answers) - " +
                             std::to_string(*store->count() - before);
    sqlite3_exec(store->handle(), trim.c_str(), nullptr, nullptr, nullptr);
}

void HandOverOneAnswer(benchmark::State& state) {
    history::Recorder recorder(histories().path(state), {});
    recorder.flush();
    const auto entry = wireAnswer(1);
    for (auto _ : state) recorder.record(entry);
    recorder.flush();  // the loop's timing has ended
    auto store = *history::Store::open(histories().path(state), history::Store::Mode::Record);
    const std::string trim =
        "DELETE FROM answers WHERE id > " + std::to_string(state.range(0) ? 10000 : 0);
    sqlite3_exec(store->handle(), trim.c_str(), nullptr, nullptr, nullptr);
}

// From nothing to the window shown with its list read and the newest entry's log in view.
void OpenHistoryWindow(benchmark::State& state) {
    for (auto _ : state) {
        shell::HistoryWindow window(histories().path(state), {});
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.selectedId());
    }
}

void SearchAsYouType(benchmark::State& state) {
    auto store = *history::Store::open(histories().path(state), history::Store::Mode::Browse);
    for (auto _ : state) benchmark::DoNotOptimize(store->list({-1, "THHN", false}));
}

}  // namespace

BENCHMARK(WriteOneAnswer)
    ->ArgNames({"full", "synced"})
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);
// A fixed count: every answer handed over is then written, each with its own synced commit.
BENCHMARK(HandOverOneAnswer)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenHistoryWindow)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchAsYouType)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
