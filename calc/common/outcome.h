// What a calculation core gives back: the answer (the lines it appends to the main display and
// the results log of the result), or the message of the error window, line breaks included.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "shell/results_log.h"

namespace voltaro::calc {

struct Answer {
    std::vector<std::string> displayLines;  // appended to the display, in order
    shell::ResultsLog log;                  // the whole results log of this result
};

struct Failure {
    std::string message;  // exactly as the error window shows it
};

using Outcome = std::variant<Answer, Failure>;

}  // namespace voltaro::calc
