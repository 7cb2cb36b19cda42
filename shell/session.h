// The data side of a run: what start-up does after the window is set up (password, paths, the
// reference database, work tables, stale results log, options, note flags), the display line,
// the emptying of work tables, and what exit does with the results log and the database.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "refdb/database.h"
#include "shell/options_store.h"
#include "shell/shared_state.h"

namespace voltaro::platform {
class ZephlibBinding;
}

namespace voltaro::shell {

// Appends a line and CR LF to DisplayText and shows it. A caller starting a new message sets
// DisplayText to "" first.
void ShowOnDisplay(SharedState& state, std::string_view line);

// Deletes every row of a work table, one by one as an updatable set.
std::optional<refdb::DbError> ClearTable(SharedState& state, std::string_view table);

// Where a run keeps Voltaro.dat, the results log and the compaction temporary: the application
// folder itself when this process may write it (the build folder, an unpacked copy); otherwise (an
// installed, read-only copy) the user's data folder, $XDG_DATA_HOME/Voltaro (by default
// ~/.local/share/Voltaro), which holds a working copy of the shipped Voltaro.dat. Empty when the
// application folder cannot be written and neither variable names a folder.
std::filesystem::path dataFolderFor(const std::filesystem::path& appDir);

// Start-up from the password on: recovers the password through Zephlib, sets the paths (the sound
// library in the application folder, the rest in `dataFolder`), opens RefDb (in a data folder
// other than the application folder: the working copy, made or brought up to date from the
// shipped file first, the folder created if need be) and checks that it holds the whole schema (an
// empty, foreign or damaged file is refused before anything writes it), sets ConduitAbbr, empties
// DragList, KeepWires and Scratch, deletes a stale results log, reads the options and clears the
// note flags. Returns why it failed (the program then ends without a window).
std::optional<std::string> OpenSession(SharedState& state, const std::filesystem::path& appDir,
                                       const std::filesystem::path& dataFolder,
                                       platform::ZephlibBinding& zephlib,
                                       const OptionsStore& options);

// Closes RefDb and compacts the data file through TmpCmpct.mdb beside it with a freshly recovered
// password. Returns every error the engine reported (empty on success); the data file is then as
// it was.
std::vector<refdb::DbError> CompactDataFile(SharedState& state, platform::ZephlibBinding& zephlib);

// The message box text for one compaction error.
std::string compactErrorText(const refdb::DbError& error);

// Exit, data side: the results log deleted, the database compacted and released. Returns the
// compaction's errors.
std::vector<refdb::DbError> CloseSession(SharedState& state, platform::ZephlibBinding& zephlib);

}  // namespace voltaro::shell
