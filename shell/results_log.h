// The results log file and the one step that publishes an answer. The file beside the program
// (ResultsPath) holds the log of the last result, for the printed report; every result replaces
// it whole. The log's text is made by the calculator (calc/common/results_log.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "calc/common/outcome.h"
#include "shell/shared_state.h"

namespace voltaro::shell {

// Publishes a calculator's answer, the one way every panel and voltaro-cli does it: the display
// lines are appended to the display (ShowOnDisplay), then the results log is written to
// ResultsPath, then ResultsReady is set, only when the log was written. When the log cannot be
// written ResultsReady is false, no log is left at ResultsPath (the one there belonged to an
// earlier result), and the reason, naming the file, is returned for the caller to show. An empty
// ResultsPath keeps no log (voltaro-cli without --log): nothing is written and ResultsReady stays
// false.
std::optional<std::string> publishAnswer(SharedState& state, const calc::Answer& answer);

// Replaces the file at `path` with `bytes`, whole or not at all: they are written beside it and
// renamed over it in one step, so the report never sees a half-written log. On failure `path` is
// as it was, nothing else is left behind, and the reason, naming the file, is returned.
std::optional<std::string> writeResultsLog(const std::filesystem::path& path,
                                           std::string_view bytes);

// A new panel from a square button: no result to print, no footnotes flagged.
void ResetResults(SharedState& state);

}  // namespace voltaro::shell
