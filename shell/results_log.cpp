#include "shell/results_log.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "shell/session.h"

namespace voltaro::shell {

std::optional<std::string> publishAnswer(SharedState& state, const calc::Answer& answer) {
    for (const auto& line : answer.displayLines) ShowOnDisplay(state, line);
    state.ResultsReady = false;
    if (state.ResultsPath.empty()) return std::nullopt;
    if (auto failure = writeResultsLog(state.ResultsPath, answer.log.bytes())) {
        std::error_code ignored;
        std::filesystem::remove(state.ResultsPath, ignored);
        return failure;
    }
    state.ResultsReady = true;
    return std::nullopt;
}

std::optional<std::string> writeResultsLog(const std::filesystem::path& path,
                                           std::string_view bytes) {
    auto temp = path;
    temp += ".new";
    std::string failure;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) failure = "cannot write " + temp.string();
    }
    if (failure.empty() && std::rename(temp.c_str(), path.c_str()) != 0)
        failure = "cannot replace " + path.string();
    if (failure.empty()) return std::nullopt;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return failure;
}

void ResetResults(SharedState& state) {
    state.ResultsReady = false;
    for (int i = 1; i <= 12; ++i) state.NoteFlags[static_cast<std::size_t>(i)] = false;
}

}  // namespace voltaro::shell
