// The six options and the log-on start entry.
//
// Options live in the user's settings (an INI file: group "QXoptions", one key per option, "On" or
// "Off"). A missing key reads as "On"; any stored value other than exactly "On" is off. A marker
// key of our own records that the first-start defaults were written.
//
// The log-on start entry is an XDG autostart file, ~/.config/autostart/Voltaro.desktop, that
// starts "<application folder>/Voltaro min" (an installed copy: its launcher, "<prefix>/bin/voltaro
// min"); removing the entry deletes the file.
#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>

#include "shell/shared_state.h"

namespace voltaro::shell {

class OptionsStore {
public:
    // `settingsFile`: the INI file; `autostartFolder`: where log-on entries go. Start-up passes the
    // user's own (see forUser); tests pass temporary ones.
    OptionsStore(std::filesystem::path settingsFile, std::filesystem::path autostartFolder);

    // <config>/Voltaro/Voltaro.ini and <config>/autostart for the current user ($XDG_CONFIG_HOME
    // or ~/.config).
    static OptionsStore forUser();

    // Sets OptionKeys to the six key names; unless namesOnly, reads each option into OptionFlags.
    void LoadOptions(SharedState& state, bool namesOnly) const;

    // Writes "On", "On", "Off", "Off", "Off", "On", removes the log-on entry, and marks the first
    // start as done.
    void WriteDefaultOptions(SharedState& state) const;

    bool isFirstStart() const;

    // The six options' stored values, key i "On" exactly when on[i] (the options panel saves them
    // all). Returns the reason on failure.
    std::optional<std::string> writeOptions(const SharedState& state,
                                            const std::array<bool, kOptionCount>& on) const;

    // The log-on start entry: the session runs `program` with `argument` at log-on ("min"). Both
    // return the reason on failure.
    std::optional<std::string> SetRunEntry(const std::string& name,
                                           const std::filesystem::path& program,
                                           const std::string& argument) const;
    std::optional<std::string> DeleteRunEntry(const std::string& name) const;
    std::filesystem::path runEntryPath(const std::string& name) const;

private:
    QString settingsPath() const;
    std::filesystem::path settingsFile_;
    std::filesystem::path autostartFolder_;
};

// What the log-on entry starts for `program`: the installed launcher, <prefix>/bin/voltaro, when
// the program is <prefix>/lib/voltaro/Voltaro and that launcher leads to it; otherwise the program
// itself (the build folder, an unpacked copy).
std::filesystem::path launcherFor(const std::filesystem::path& program);

// The option keys in index order.
inline constexpr const char* kOptionKeyNames[kOptionCount] = {
    "Button Sounds", "Slide Sounds", "Auto Start", "Auto Min", "Auto Print", "Terminal Auto"};

}  // namespace voltaro::shell
