// Reaching the window system, before the application object exists.
//
// The skin places and shapes its windows itself, which a Wayland client may not do: on a Wayland
// session the program runs through XWayland (Qt's xcb platform) unless the user has chosen a
// platform with QT_QPA_PLATFORM. And where there is no window system at all (a console, ssh
// without X forwarding, a service) Qt would end the program with an abort, a core file and advice
// to reinstall it; instead the program says what is missing, how to run it and where answers come
// from without a window (voltaro-cli), and ends with status 1.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace voltaro::platform {

// An environment variable's value; empty when it is not set.
using Environment = std::function<std::string(const char* name)>;
std::string processEnvironment(const char* name);

// The QT_QPA_PLATFORM to set, or nullopt to leave the choice as it is: "xcb" on a Wayland session
// (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE "wayland") when QT_QPA_PLATFORM is not set.
std::optional<std::string> platformFor(const Environment& env);

// What the user reads when the window system cannot be reached, ending in how to run the program
// and voltaro-cli. `program` is the program as it was started (argv[0]); voltaro-cli is named in
// the same folder.
std::string noWindowSystemMessage(const Environment& env, const std::string& program);

// Lives around the construction of the application object: chooses the platform (platformFor),
// and while it lives, Qt's fatal message that the platform cannot start prints
// noWindowSystemMessage instead and ends the process with status 1. Qt's own warnings about the
// platform are passed on when a display is named (they say why it failed) and left out when
// none is (the message says it). started() hands messages back to Qt once the application exists.
class WindowSystemStart {
public:
    WindowSystemStart();
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;

    void started();

private:
    bool watching_ = true;
};

}  // namespace voltaro::platform
