// The print command of the print button and of Auto Print: reads the results log of the last
// result, composes the report page and sends it to its output, then tells the user on the display
// what became of it:
//
//   the page was printed        "Printing Complete."
//   it went to a PDF instead    "Saved As PDF:", the file's name on the next line and its folder
//                               ("in ~/Documents") on the one after (the whole path on the error
//                               stream)
//   neither worked              "Printing Failed." (the reason on the error stream)
//
// The hourglass shows while it works and the normal pointer comes back in every case. Nothing
// happens while a panel is busy or before there is a result; the log is only read, so the same
// result prints again until the next calculation replaces it.
#pragma once

#include <QDate>
#include <QImage>

#include <functional>
#include <iosfwd>

#include "report/output.h"
#include "shell/shared_state.h"

namespace voltaro::report {

class PrintCommand {
public:
    // What the command needs from the desktop, injected so tests can watch it.
    struct Hooks {
        // Plays a sound of the sound library and returns when it has ended.
        std::function<void(const char* sound)> playSound;
        // The hourglass pointer (true) or the normal one (false).
        std::function<void(bool busy)> showBusy;
        // Today, for the calculation date on the page.
        std::function<QDate()> today = &QDate::currentDate;
        // Where the reasons of a failed print go.
        std::ostream* errors = nullptr;  // nullptr: std::cerr
    };

    // `logo` is the bitmap "PRNLOGO". The command keeps references to `state` and `output`.
    PrintCommand(shell::SharedState& state, ReportOutput& output, QImage logo, Hooks hooks);

    // One press of the print button, or Auto Print when AutoPrinting is set: no "TickLo" then.
    void run();

private:
    Delivery printLog();

    shell::SharedState& state_;
    ReportOutput& output_;
    QImage logo_;
    Hooks hooks_;
};

}  // namespace voltaro::report
