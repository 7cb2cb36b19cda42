// What every voltaro-cli command shares: the application folder, the reference database opened
// the way the program opens it, and the command table.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "refdb/database.h"

namespace voltaro::cli {

// Exit statuses: 0 done, 1 the job failed (message on stderr), 2 the command line is wrong.
enum Exit { kDone = 0, kFailed = 1, kUsage = 2 };

struct Context {
    std::filesystem::path appDir;
    std::ostream& out;
    std::ostream& err;
};

// Opens <appDir>/Voltaro.dat with the password recovered through <appDir>/Zephlib.so. On failure
// writes why on `err` and returns nullopt.
std::optional<refdb::Database> openReferenceDatabase(const Context& context);

struct Command {
    std::string name;
    std::string usage;  // arguments after the name, for the usage text
    std::function<int(const Context&, const std::vector<std::string>& args)> run;
};

// The commands, in the order the usage text lists them.
std::vector<Command> tableCommands();

}  // namespace voltaro::cli
