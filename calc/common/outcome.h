// What a calculation core gives back: the answer (the lines it appends to the main display and
// the text of the results log of the result), or the failure: the error window's message, line
// breaks included, and whose fault it is.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "calc/common/results_log.h"

namespace voltaro::calc {

struct Answer {
    std::vector<std::string> displayLines;  // appended to the display, in order
    ResultsLog log;                         // the whole results log of this result
};

// Whose fault a failure is. The message is made for it where the failure is made; nothing reads
// the cause back out of the message.
enum class Cause {
    Input,          // the entries cannot be answered: the message says what to change
    ReferenceData,  // the reference database cannot answer (not open, damaged, a table missing
                    // or short of rows): the user is told so, not blamed for the entries
};

struct Failure {
    std::string message;  // exactly as the error window shows it
    Cause cause = Cause::Input;
};

using Outcome = std::variant<Answer, Failure>;

}  // namespace voltaro::calc
