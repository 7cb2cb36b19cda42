// The results log: a small text file beside the program that holds the report of the last
// calculation, read back by the printed report. Every result replaces it whole.
//
// A calculator builds its result with StartResultsLog(title), write() for each of its lines and
// writeNotes() for its footnotes, then closeResultsLog() puts the text in place. The file is
// written beside the log and renamed over it in one step, so the report never sees a half-written
// log and a failed write never leaves one behind.
//
// Bytes: 8-bit text, every line ended by CR LF; a line passed in may itself hold CR LF.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/shared_state.h"

namespace voltaro::shell {

class ResultsLog {
public:
    // The text written so far.
    const std::string& bytes() const { return bytes_; }

    // Appends `text` and CR LF.
    void write(std::string_view text);

    // An empty line, "Notes:", then the text of each footnote in `numbers`, in that order, one per
    // line. The caller decides which notes its flags call for.
    void writeNotes(SharedState& state, std::initializer_list<int> numbers);
    // The same for a list the calculator builds from its flags.
    void writeNotes(SharedState& state, const std::vector<int>& numbers);

private:
    friend ResultsLog StartResultsLog(std::string_view title);
    std::string bytes_;
};

// Starts a result: CR LF, "1999 NEC Code Year", CR LF, CR LF, "Voltaro Results:", CR LF, CR LF,
// the title, CR LF, CR LF.
ResultsLog StartResultsLog(std::string_view title);

// Replaces the file at state.ResultsPath with the log and sets ResultsReady. On failure the old
// log is removed as well (it belongs to an earlier result), ResultsReady is false, and the reason
// is returned for the caller's message.
std::optional<std::string> closeResultsLog(SharedState& state, const ResultsLog& log);

// The text of footnote n from the FootNotes table; empty when there is no such note or the table
// cannot be read. Uses WorkRs and leaves it empty: a caller's own set in WorkRs is gone after it.
std::string FootNoteText(SharedState& state, int n);

// True when any of NoteFlags 1 to 12 is set.
bool AnyNoteFlagged(const SharedState& state);

// A new panel from a square button: no result to print, no footnotes flagged.
void ResetResults(SharedState& state);

}  // namespace voltaro::shell
