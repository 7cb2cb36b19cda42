// The results log file and the one step that publishes an answer. The file beside the program
// (ResultsPath) holds the log of the last result, for the printed report; every result replaces
// it whole. The log's text is made by the calculator (calc/common/results_log.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/common/outcome.h"
#include "shell/shared_state.h"

namespace voltaro::shell {

// Publishes a calculator's answer, the one way every panel and voltaro-cli does it: the display
// lines are appended to the display (ShowOnDisplay), then the results log is written to
// ResultsPath, then ResultsReady is set, only when the log was written. When the log cannot be
// written ResultsReady is false, the file at ResultsPath is left exactly as it was (an earlier
// result's log, no longer printable), and the reason, naming the file, is returned for the caller
// to show. An empty ResultsPath keeps no log (voltaro-cli without --log): nothing is written and
// ResultsReady stays false. The program's own log replaces a link found at ResultsPath (planted
// there, it would send the log anywhere); `throughLinks` writes the file a link names instead, as
// voltaro-cli's --log does.
//
// With RecordAnswer installed the answer is also handed to the history, with `source` (the
// calculator's title and its inputs as typed), whether or not the log could be written; the
// history never holds the answer up.
struct AnswerSource {
    std::string calculator;
    std::vector<history::Input> inputs;
};
std::optional<std::string> publishAnswer(SharedState& state, const calc::Answer& answer,
                                         const AnswerSource& source = {},
                                         bool throughLinks = false);

// Replaces the file at `path` with `bytes` through the one file writer (platform/file_writer.h):
// whole or not at all, never a folder, device or the like, and never `dataPath` (the reference
// database) under any name. On failure `path` is as it was, nothing else is left behind, and the
// reason is returned: "cannot write /x/~qxrslt.dat: Permission denied".
std::optional<std::string> writeResultsLog(const std::filesystem::path& path,
                                           std::string_view bytes,
                                           const std::filesystem::path& dataPath,
                                           bool throughLinks = true);

// Deletes the log at start-up and exit. A missing log is no error; neither is something that is
// no file (a folder, a device): it is left alone, and the next write names it.
std::optional<std::string> deleteResultsLog(const std::filesystem::path& path);

// A new panel from a square button: no result to print, no footnotes flagged.
void ResetResults(SharedState& state);

}  // namespace voltaro::shell
