#include "shell/results_log.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace voltaro::shell {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

void ResultsLog::write(std::string_view text) {
    bytes_ += text;
    bytes_ += kLineEnd;
}

void ResultsLog::writeNotes(SharedState& state, std::initializer_list<int> numbers) {
    write("");
    write("Notes:");
    for (const int n : numbers) write(FootNoteText(state, n));
}

void ResultsLog::writeNotes(SharedState& state, const std::vector<int>& numbers) {
    write("");
    write("Notes:");
    for (const int n : numbers) write(FootNoteText(state, n));
}

ResultsLog StartResultsLog(std::string_view title) {
    ResultsLog log;
    log.write("");
    log.write("1999 NEC Code Year");
    log.write("");
    log.write("Voltaro Results:");
    log.write("");
    log.write(title);
    log.write("");
    return log;
}

std::optional<std::string> closeResultsLog(SharedState& state, const ResultsLog& log) {
    state.ResultsReady = false;
    const auto& path = state.ResultsPath;
    auto temp = path;
    temp += ".new";
    std::string failure;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(log.bytes().data(), static_cast<std::streamsize>(log.bytes().size()));
        out.close();
        if (!out) failure = "cannot write " + temp.string();
    }
    if (failure.empty() && std::rename(temp.c_str(), path.c_str()) != 0)
        failure = "cannot replace " + path.string();
    if (!failure.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        std::filesystem::remove(path, ignored);
        return failure;
    }
    state.ResultsReady = true;
    return std::nullopt;
}

std::string FootNoteText(SharedState& state, int n) {
    std::string text;
    if (state.RefDb && state.RefDb->isOpen()) {
        auto set = state.RefDb->openRecordset("SELECT * FROM FootNotes");
        if (set) {
            state.WorkRs = set.take();
            state.WorkRs->moveLast();
            auto found = state.WorkRs->findFirst("ID = " + std::to_string(n));
            if (found && *found) text = state.WorkRs->field("Notes").text();
        }
    }
    state.WorkRs.reset();
    return text;
}

bool AnyNoteFlagged(const SharedState& state) {
    for (int i = 1; i <= 12; ++i)
        if (state.NoteFlags[static_cast<std::size_t>(i)]) return true;
    return false;
}

void ResetResults(SharedState& state) {
    state.ResultsReady = false;
    for (int i = 1; i <= 12; ++i) state.NoteFlags[static_cast<std::size_t>(i)] = false;
}

}  // namespace voltaro::shell
