#include "calc/common/results_log.h"

namespace voltaro::calc {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}

void ResultsLog::write(std::string_view text) {
    bytes_ += text;
    bytes_ += kLineEnd;
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

}  // namespace voltaro::calc
