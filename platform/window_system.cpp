#include "platform/window_system.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace voltaro::platform {

std::string processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::optional<std::string> platformFor(const Environment& env) {
    if (!env("QT_QPA_PLATFORM").empty()) return std::nullopt;  // the user's own choice
    if (!env("WAYLAND_DISPLAY").empty() || env("XDG_SESSION_TYPE") == "wayland") return "xcb";
    return std::nullopt;
}

std::string noWindowSystemMessage(const Environment& env, const std::string& program) {
    const std::string display = env("DISPLAY");
    const std::string chosen = env("QT_QPA_PLATFORM");
    std::string message = "Voltaro cannot show its window: ";
    if (chosen != "xcb" && !chosen.empty()) {
        message += "the window system \"" + chosen + "\" (QT_QPA_PLATFORM) cannot be started.\n";
    } else if (!display.empty()) {
        message += "the display \"" + display + "\" cannot be opened.\n";
    } else if (!env("WAYLAND_DISPLAY").empty() || env("XDG_SESSION_TYPE") == "wayland") {
        message +=
            "this Wayland session has no XWayland (DISPLAY is not set). Voltaro places and "
            "shapes its windows itself, which it does through XWayland.\n";
    } else {
        message += "there is no graphical session (DISPLAY is not set).\n";
    }
    const std::string shown = program.empty() ? "voltaro" : program;
    const auto slash = shown.rfind('/');
    const std::string cli =
        slash == std::string::npos ? "voltaro-cli" : shown.substr(0, slash + 1) + "voltaro-cli";
    message += "Start it from a desktop session or over ssh with X forwarding (ssh -X);\n";
    message += "for a look without a screen, run it under xvfb-run: xvfb-run -a " + shown + "\n";
    message += "For answers without a window, use voltaro-cli: " + cli + " --help\n";
    return message;
}

namespace {

// argv[0] as the process was started, read from the kernel: the message handler below has no
// other way to it.
std::string startedAs() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string first;
    std::getline(in, first, '\0');
    return first;
}

void onPlatformMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const auto message = noWindowSystemMessage(processEnvironment, startedAs());
        std::fputs(message.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    const bool platformNote =
        context.category != nullptr && std::strncmp(context.category, "qt.qpa", 6) == 0;
    if (platformNote && processEnvironment("DISPLAY").empty() &&
        processEnvironment("WAYLAND_DISPLAY").empty())
        return;  // "could not connect to display": the message says so plainly
    const QByteArray line = qFormatLogMessage(type, context, text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
}

}  // namespace

WindowSystemStart::WindowSystemStart() {
    if (auto platform = platformFor(processEnvironment))
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platform));
    qInstallMessageHandler(onPlatformMessage);
}

WindowSystemStart::~WindowSystemStart() { started(); }

void WindowSystemStart::started() {
    if (!watching_) return;
    qInstallMessageHandler(nullptr);
    watching_ = false;
}

}  // namespace voltaro::platform
