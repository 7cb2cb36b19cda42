// The conduit size calculation: the smallest trade size of the current conduit type whose
// allowed fill area is larger than the total area of the conductors in it.
//
// The conductors are the rows of the work table DragList, which the conduit fill panel keeps in
// step with its "Conductors in Conduit" list (one row per conductor, gauge and insulation type).
// CalPipe reads DragList; the results log lists the panel's entries ("GAUGE - TYPE"), in list
// order. conduitForEntries() runs the whole press for a given list of entries without writing
// the file's DragList, for scripts and tests. The caller hands over the reference database
// already open, the note flags and the current conduit type.
//
// Areas are square inches, as the WireArea_Q and ConData_Q tables hold them.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/note_flags.h"
#include "calc/common/outcome.h"
#include "calc/common/results_log.h"
#include "refdb/database.h"

namespace voltaro::calc::conduit {

inline constexpr std::string_view kNoConductors = "No Conductors\r\nWere Selected.";
inline constexpr std::string_view kNotLargeEnough = "Trade Size Conduit\r\nNot Large Enough.";

// A conductor whose insulation type and gauge have no area in WireArea_Q; the message names it
// as the list shows it: "No Area Listed For" CR LF "AWG <gauge> - <type>".
std::string notListedMessage(std::string_view gauge, std::string_view type);

struct Conductor {
    std::string gauge;
    std::string type;
};

// The current conduit type: its abbreviation (ConData_Q's Abbr) and its full name once the type
// dialog has been used (empty before).
struct ConduitType {
    std::string abbr = "EMT";
    std::string name;
};

// A list entry's parts: the text before the first " - " is the gauge, the rest the type. An
// entry without " - " is all gauge, with an empty type.
Conductor conductorOf(std::string_view entry);
// The list entry of a conductor: gauge + " - " + type.
std::string entryOf(const Conductor& conductor);

// Adds one conductor at the end of DragList, as dropping it into the conduit does.
std::optional<refdb::DbError> addToDragList(refdb::Database& db, const Conductor& conductor);

// The trade size for the conductors in DragList and the conduit type `abbr`, or the failure
// message. Sets note flags 4 (a type ending in "*"), 5 (`abbr` ends in "*") and 8 (more than 30
// conductors); 5 and 8 also when no trade size is large enough. Never clears a flag.
std::variant<std::string, Failure> CalPipe(refdb::Database& db, NoteFlags& notes,
                                           std::string_view abbr);

// The display lines of an answer (the trade size and type, then "See Notes" when a note is
// flagged) and its results log: the conduit type, its name, the numbered `entries`, the trade
// size, and the flagged notes in the order 5, 4, 8.
Answer WriteConduitResults(refdb::Database& db, const NoteFlags& notes, const ConduitType& type,
                           std::string_view conduitSize, const std::vector<std::string>& entries);

// The calculate press with DragList as the panel left it and `entries` its list: CalPipe, then
// WriteConduitResults.
Outcome calculateConduit(refdb::Database& db, NoteFlags& notes, const ConduitType& type,
                         const std::vector<std::string>& entries);

// The calculate press for a conduit holding exactly `entries` ("GAUGE - TYPE", in order). They are
// held in a temporary DragList of this connection that shadows the file's while the press runs,
// so the file is never written (a database opened read-only will do), its DragList is left as it
// was and a concurrent caller never sees them. The note flags it sets stay set in `notes`.
Outcome conduitForEntries(refdb::Database& db, NoteFlags& notes, const ConduitType& type,
                          const std::vector<std::string>& entries);

}  // namespace voltaro::calc::conduit
