// Which window has the user's attention, and the one rule for "the user is in this program",
// which the main window's timer (Auto Min) and the panel watch both read.
//
// Every window of this program is ours: the main window, the panels, the error window, dialogs
// and message boxes. The foreground is the id of the window of ours that is in front, 0 when the
// user is in another program. When one of our windows goes (the error window closed with Alt+O,
// the main window hidden for a fresh copy of its face), there is a moment with no active window
// at all until the window manager activates the next one; that moment is not switching away.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>

namespace voltaro::platform {

// The application's active window, or when none is active a modal window of ours on its way up
// (a message box the window manager has not activated yet); 0 for another program.
inline std::uintptr_t foregroundWindow() {
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr) active = QApplication::activeModalWidget();
    return active != nullptr ? static_cast<std::uintptr_t>(active->winId()) : 0;
}

// The foreground as the program's watches read it: the window of ours in front; for a moment
// after the last one went (kSettleMs), still that one; then 0. Make one per program and read it
// everywhere the program asks whether the user has switched away.
class Foreground {
public:
    static constexpr std::int64_t kSettleMs = 250;

    explicit Foreground(std::function<std::uintptr_t()> read = foregroundWindow,
                        std::function<std::int64_t()> clockMs = steadyMs)
        : read_(std::move(read)), clockMs_(std::move(clockMs)) {}

    std::uintptr_t operator()() {
        const std::uintptr_t now = read_();
        const std::int64_t at = clockMs_();
        if (now != 0) {
            last_ = now;
            lastAt_ = at;
            return now;
        }
        return last_ != 0 && at - lastAt_ < kSettleMs ? last_ : 0;
    }

    // True once a window of ours has been in front: a program started while another one is
    // active has not been switched away from.
    bool everInFront() const { return last_ != 0; }

    // Tells the watch that a window of ours has just gone from the front (QGuiApplication's
    // focusWindowChanged to none): the settling moment counts from here, not from the last read.
    void leftFront() {
        if (last_ != 0) lastAt_ = clockMs_();
    }

    // The function the panels read.
    std::function<std::uintptr_t()> reader() {
        return [this] { return (*this)(); };
    }

private:
    static std::int64_t steadyMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    std::function<std::uintptr_t()> read_;
    std::function<std::int64_t()> clockMs_;
    std::uintptr_t last_ = 0;
    std::int64_t lastAt_ = 0;
};

}  // namespace voltaro::platform
