// The user's working copy of the reference database, for an application folder the user cannot
// write (an installed copy): the program reads and writes the copy (the work tables, compaction at
// exit) and leaves the shipped file alone.
//
// Every Voltaro.dat carries its stamp, the database's user version: the build writes a fingerprint
// of the schema and the tables it was made from, and compaction keeps it. The working copy is made
// again from the shipped file when it is missing, cannot be opened, is not the reference database
// or carries another stamp than the shipped file: a newer package, or an older one after a
// downgrade. It holds nothing of the user's own (the work tables are emptied at every start), so
// replacing it loses nothing. The copy is written by the one file writer (a temporary beside it,
// synced, renamed over it), so it is never half-copied: an interrupted copy leaves the working
// copy as it was, or none.
#pragma once

#include <filesystem>

#include "refdb/database.h"

namespace voltaro::refdb {

// The stamp of an open reference database (its user version; 0 for an unstamped file).
Result<long long> dataStamp(Database& db);

// Opens the working copy `copy` of the shipped file `shipped` for reading and writing, first
// copying the shipped file over it when it is not an up-to-date reference database. The folder of
// `copy` must exist. The shipped file is only read. An error names the file it concerns: a shipped
// file that cannot be opened, or a copy that cannot be written ("cannot write /h/.local/share/
// Voltaro/Voltaro.dat: Permission denied").
Result<Database> openWorkingCopy(const std::filesystem::path& shipped,
                                 const std::filesystem::path& copy, const Password& password);

}  // namespace voltaro::refdb
