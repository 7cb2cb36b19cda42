#include "shell/options_store.h"

#include <QSettings>

#include <cstdlib>
#include <system_error>

#include "platform/file_writer.h"

namespace voltaro::shell {

namespace {
constexpr const char* kGroup = "QXoptions";
constexpr const char* kFirstStartKey = "Voltaro/DefaultsWritten";
constexpr std::array<bool, kOptionCount> kDefaults = {true, true, false, false, false, true};
}  // namespace

OptionsStore::OptionsStore(std::filesystem::path settingsFile,
                           std::filesystem::path autostartFolder)
    : settingsFile_(std::move(settingsFile)), autostartFolder_(std::move(autostartFolder)) {}

OptionsStore OptionsStore::forUser() {
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr) {
        config = std::filesystem::path(home) / ".config";
    } else {
        config = std::filesystem::temp_directory_path();
    }
    return OptionsStore(config / "Voltaro" / "Voltaro.ini", config / "autostart");
}

QString OptionsStore::settingsPath() const {
    return QString::fromStdString(settingsFile_.string());
}

void OptionsStore::LoadOptions(SharedState& state, bool namesOnly) const {
    for (int i = 0; i < kOptionCount; ++i)
        state.OptionKeys[static_cast<std::size_t>(i)] = kOptionKeyNames[i];
    if (namesOnly) return;
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    for (int i = 0; i < kOptionCount; ++i) {
        const auto key = QString::fromStdString(state.OptionKeys[static_cast<std::size_t>(i)]);
        state.OptionFlags[static_cast<std::size_t>(i)] =
            settings.value(key, QStringLiteral("On")).toString() == QLatin1String("On");
    }
}

std::optional<std::string> OptionsStore::writeOptions(
    const SharedState& state, const std::array<bool, kOptionCount>& on) const {
    // One pass: the file is rewritten once, not once per key.
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    for (std::size_t i = 0; i < on.size(); ++i)
        settings.setValue(QString::fromStdString(state.OptionKeys[i]),
                          on[i] ? QStringLiteral("On") : QStringLiteral("Off"));
    settings.sync();
    if (settings.status() != QSettings::NoError) return "cannot write " + settingsFile_.string();
    return std::nullopt;
}

void OptionsStore::WriteDefaultOptions(SharedState& state) const {
    LoadOptions(state, true);
    (void)writeOptions(state, kDefaults);
    (void)DeleteRunEntry("Voltaro");
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(kFirstStartKey, true);
}

bool OptionsStore::isFirstStart() const {
    QSettings settings(settingsPath(), QSettings::IniFormat);
    return !settings.value(kFirstStartKey, false).toBool();
}

std::filesystem::path OptionsStore::runEntryPath(const std::string& name) const {
    return autostartFolder_ / (name + ".desktop");
}

namespace {

// A program path quoted for an Exec line: inside double quotes, ", `, $ and \ take a backslash,
// and the file format itself then doubles every backslash. A percent sign would start a field
// code and is doubled; line breaks and tabs are written as the file format's escapes.
std::string execQuoted(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '\\') {
            quoted += "\\\\\\\\";  // a literal backslash is four in the file
            continue;
        }
        if (c == '%') {
            quoted += "%%";
            continue;
        }
        if (c == '\n' || c == '\r' || c == '\t') {
            quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
            continue;
        }
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        quoted.push_back(c);
    }
    quoted += "\"";
    return quoted;
}

}  // namespace

std::optional<std::string> OptionsStore::SetRunEntry(const std::string& name,
                                                     const std::filesystem::path& program,
                                                     const std::string& argument) const {
    const std::string command = execQuoted(program.string()) + " " + argument;
    std::error_code ec;
    std::filesystem::create_directories(autostartFolder_, ec);
    if (ec) return "cannot create " + autostartFolder_.string() + ": " + ec.message();
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=" +
        name +
        "\n"
        "Comment=Electrician's calculator, 1999 NEC\n"
        "Exec=" +
        command +
        "\n"
        "Terminal=false\n";
    if (auto error = platform::writeFileInPlace(runEntryPath(name), entry)) return error->message;
    return std::nullopt;
}

std::filesystem::path launcherFor(const std::filesystem::path& program) {
    const auto appDir = program.parent_path();
    if (appDir.filename() != "voltaro" || appDir.parent_path().filename() != "lib") return program;
    const auto launcher = appDir.parent_path().parent_path() / "bin" / "voltaro";
    std::error_code ec;
    return std::filesystem::equivalent(launcher, program, ec) ? launcher : program;
}

std::optional<std::string> OptionsStore::DeleteRunEntry(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(runEntryPath(name), ec);
    if (ec) return "cannot remove " + runEntryPath(name).string() + ": " + ec.message();
    return std::nullopt;
}

}  // namespace voltaro::shell
