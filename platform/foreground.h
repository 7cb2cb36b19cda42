// Which window has the user's attention: the id of the application's active window, 0 when the
// user is in another program.
#pragma once

#include <QApplication>
#include <QWidget>

#include <cstdint>

namespace voltaro::platform {

inline std::uintptr_t foregroundWindow() {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? static_cast<std::uintptr_t>(active->winId()) : 0;
}

}  // namespace voltaro::platform
