#include "shell/results_log.h"

#include <system_error>

#include "platform/file_writer.h"
#include "shell/session.h"

namespace voltaro::shell {

std::optional<std::string> publishAnswer(SharedState& state, const calc::Answer& answer) {
    for (const auto& line : answer.displayLines) ShowOnDisplay(state, line);
    state.ResultsReady = false;
    if (state.ResultsPath.empty()) return std::nullopt;
    if (auto failure = writeResultsLog(state.ResultsPath, answer.log.bytes(), state.DataPath))
        return failure;
    state.ResultsReady = true;
    return std::nullopt;
}

std::optional<std::string> writeResultsLog(const std::filesystem::path& path,
                                           std::string_view bytes,
                                           const std::filesystem::path& dataPath) {
    platform::WriteOptions options;
    if (!dataPath.empty()) options.protectedFiles.push_back({dataPath, "the reference database"});
    if (auto error = platform::writeFileInPlace(path, bytes, options)) return error->message;
    return std::nullopt;
}

std::optional<std::string> deleteResultsLog(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (!std::filesystem::is_regular_file(status) && !std::filesystem::is_symlink(status))
        return std::nullopt;
    if (std::filesystem::remove(path, ec) || !ec) return std::nullopt;
    return "cannot delete " + path.string() + ": " + ec.message();
}

void ResetResults(SharedState& state) {
    state.ResultsReady = false;
    for (std::size_t i = 1; i <= calc::kLastNote; ++i) state.NoteFlags[i] = false;
}

}  // namespace voltaro::shell
