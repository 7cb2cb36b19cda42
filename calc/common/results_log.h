// The text of the results log: the report of one calculation, which the shell writes to the file
// beside the program and the printed report reads back. Every result replaces it whole.
//
// A calculator builds its result with StartResultsLog(title), write() for each of its lines and,
// for its footnotes, writeNotes() (calc/common/footnotes.h).
//
// Bytes: UTF-8 text (what was typed, as typed; the program's own texts are ASCII), every line
// ended by CR LF; a line passed in may itself hold CR LF.
#pragma once

#include <string>
#include <string_view>

namespace voltaro::calc {

class ResultsLog {
public:
    // The text written so far.
    const std::string& bytes() const { return bytes_; }

    // Appends `text` and CR LF.
    void write(std::string_view text);

private:
    friend ResultsLog StartResultsLog(std::string_view title);
    std::string bytes_;
};

// Starts a result: CR LF, "1999 NEC Code Year", CR LF, CR LF, "Voltaro Results:", CR LF, CR LF,
// the title, CR LF, CR LF.
ResultsLog StartResultsLog(std::string_view title);

}  // namespace voltaro::calc
