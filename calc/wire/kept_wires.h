// The wire size panel's inputs kept while the panel is closed: when the user switches to another
// program the panel saves them in the work table KeepWires, and the next open of the panel takes
// them back out. The table holds at most the one row of the last save.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "refdb/database.h"

namespace voltaro::calc::wire {

// One saved row: the three boxes as typed and the two lists' positions.
struct KeptWires {
    std::string amps;           // Amps: the load current box
    std::int16_t material = 0;  // Material: position in the material list
    std::int16_t insul = 0;     // Insul: position in the sorted insulation list
    std::string wires;          // Wires: the conductor count box
    std::string temp;           // Temp: the ambient box
};

// Saves `kept` as the only row of KeepWires: a save replaces whatever an earlier save left, so
// the panel comes back with the inputs the user last left.
std::optional<refdb::DbError> keepWires(refdb::Database& db, const KeptWires& kept);

// The saved row and an empty table afterwards; nullopt when nothing was saved. Of several rows
// (a table written by an older program) the last one is the latest save.
refdb::Result<std::optional<KeptWires>> takeKeptWires(refdb::Database& db);

}  // namespace voltaro::calc::wire
