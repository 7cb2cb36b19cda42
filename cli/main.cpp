// voltaro-cli [--app-dir DIR] COMMAND [ARGS], voltaro-cli --help | --version
//
// The application folder (default: the folder this executable is in) holds Voltaro.dat and
// Zephlib.so, the same files the program uses; voltaro-cli only reads them, so an installed,
// read-only folder will do. An answer that cannot be written to the standard output is a failure
// (status 1), as is a --log file that cannot be written.
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "calculator_commands.h"
#include "cli/app.h"
#include "platform/file_writer.h"

using namespace voltaro::cli;

namespace {

std::filesystem::path executableFolder() {
    std::array<char, 4096> path{};
    const auto length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return std::filesystem::current_path();
    return std::filesystem::path(std::string(path.data(), static_cast<std::size_t>(length)))
        .parent_path();
}

void usage(const std::vector<Command>& commands, std::ostream& out = std::cerr) {
    out << "usage: voltaro-cli [--app-dir DIR] COMMAND [ARGS]\n"
           "       voltaro-cli --help | --version\ncommands:\n";
    for (const auto& command : commands)
        out << "  " << command.name << (command.usage.empty() ? "" : " ") << command.usage << "\n";
}

// --help: the usage, what the options mean and the exit statuses; the manual has the rest.
void help(const std::vector<Command>& commands) {
    std::cout
        << "voltaro-cli answers from Voltaro's reference database (the 1999 National Electrical\n"
           "Code tables) what the program's panels answer, one display line per line.\n\n";
    usage(commands, std::cout);
    std::cout
        << "\n"
           "  --app-dir DIR  the application folder with Voltaro.dat and Zephlib.so (default: the\n"
           "                 folder voltaro-cli is in); it is only read\n"
           "  --log PATH     also write the results log to PATH, as the program writes it\n\n"
           "Exit status: 0 answered; 1 failed, with the reason on standard error; 2 a malformed\n"
           "command line. See voltaro-cli(1) for every command's options and examples.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Command> commands = tableCommands();
    for (auto group : {racewayCommands(), equipmentCommands()})
        commands.insert(commands.end(), group.begin(), group.end());
    for (auto& command : conductorCommands()) commands.push_back(std::move(command));
    for (auto& command : commands::calculators()) commands.push_back(std::move(command));
    for (auto& command : historyCommands()) commands.push_back(std::move(command));
    voltaro::platform::failWritesBeyondTheSizeLimit();
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path appDir = executableFolder();
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "--version")) {
        if (args[0] == "--help")
            help(commands);
        else
            std::cout << "voltaro-cli " VOLTARO_VERSION "\n";
        return std::cout.flush() ? kDone : kFailed;
    }
    if (!args.empty() && args[0] == "--app-dir") {
        // An empty folder would make every file name relative to wherever the script runs.
        if (args.size() < 2 || args[1].empty()) {
            std::cerr << "voltaro-cli: --app-dir needs a folder\n";
            usage(commands);
            return kUsage;
        }
        appDir = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        usage(commands);
        return kUsage;
    }
    for (const auto& command : commands) {
        if (command.name != args[0]) continue;
        const Context context{appDir, std::cout, std::cerr};
        int status = command.run(context, {args.begin() + 1, args.end()});
        if (status == kUsage) usage(commands);
        // An answer that never reached its reader is no answer: a full disk, a closed pipe's
        // end, /dev/full.
        errno = 0;
        if (!std::cout.flush()) {
            const int number = errno;
            complain(context,
                     std::string("cannot write the standard output") +
                         (number != 0 ? ": " + std::generic_category().message(number) : ""));
            if (status == kDone) status = kFailed;
        }
        return status;
    }
    usage(commands);
    return kUsage;
}
