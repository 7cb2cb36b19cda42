// Compaction of the reference database at exit.
//
// The data file is copied, compacted and encrypted with the same password, into the temporary
// file; the copy is opened with the password and checked (integrity, the same tables and stored
// queries, the same row counts); only then is it renamed over the data file, in one step. Until
// that rename the data file is untouched, and after it the new file is complete, so no failure
// and no crash at any point can lose the database. On failure the temporary file is removed.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "refdb/database.h"

namespace voltaro::refdb {

enum class CompactStep {
    RemoveStaleCopy,  // delete a temporary file left by an earlier run
    OpenSource,       // open the data file with the password
    Export,           // write the compacted, encrypted copy
    OpenCopy,         // open the copy with the password
    CheckCopy,        // integrity check and contents compared with the source
    Replace,          // rename the copy over the data file
};

// Tests use this to make a step fail; it returns the error the step should report.
using CompactFault = std::function<std::optional<DbError>(CompactStep)>;

// Compacts `dataPath` through `tempPath`. Returns every error met (empty on success); on failure
// the data file is exactly as it was. The database must not be open elsewhere in the process.
std::vector<DbError> compactDataFile(const std::filesystem::path& dataPath,
                                     const std::filesystem::path& tempPath,
                                     const Password& password, const CompactFault& fault = {});

// The same from the connection already open on `dataPath` (it is closed on the way, whatever
// happens after the copy has been written).
std::vector<DbError> compactDataFile(Database& source, const std::filesystem::path& dataPath,
                                     const std::filesystem::path& tempPath,
                                     const Password& password, const CompactFault& fault = {});

}  // namespace voltaro::refdb
