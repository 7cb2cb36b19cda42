// Whether an open database is the reference database: every table and stored query that
// refdb/schema.sql creates is there, with every column it declares. The schema's text is compiled
// in, so that file stays the one list of what the program needs.
//
// Callers run it right after opening and before anything writes: the engine takes a zero-byte
// file for a new, empty database, and another database keyed with the same password opens as
// well, so without this an empty, foreign or damaged file would only show as wrong or empty
// answers. The check only reads; a refused file is left byte for byte as it was.
#pragma once

#include <optional>

#include "refdb/database.h"

namespace voltaro::refdb {

// nullopt when `db` holds the whole schema. Otherwise an error naming what is missing: "missing
// tables FootNotes, Scratch", "table AWG lacks columns Cop60", "stored query WireArea_Q cannot be
// read: no such table: main.WireDim", several joined by "; ". Its number is the engine's "not a
// database" when none of the schema is there (an empty or foreign file), else "corrupt".
std::optional<DbError> checkSchema(Database& db);

}  // namespace voltaro::refdb
