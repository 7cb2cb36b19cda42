// What the conduit fill panel and its type dialog show and keep, read from and written to the
// reference database: the insulation types, the gauges of one type (the wire rack), the conduit
// types, and the conductors in the conduit, which live in the work table DragList, one row per
// entry of the panel's "Conductors in Conduit" list and in the same order, so that an abandoned
// panel comes back with its conduit as it was.
//
// Every read returns the rows in stored order, or a failure naming the table that could not be
// read (the reference data's fault, never the user's).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/common/outcome.h"
#include "calc/conduit/conduit.h"
#include "refdb/database.h"

namespace voltaro::calc::conduit {

template <typename T>
using Rows = std::variant<std::vector<T>, Failure>;

// The insulation types of WireType, each once, in the order of their first row.
Rows<std::string> insulationTypes(refdb::Database& db);

// The gauges insulation `type` comes in (the wire rack): the gauges of its dimension rows, the
// type's rows in stored order and each dimension's gauges in theirs, each gauge once. An unknown
// type has none.
Rows<std::string> gaugesOf(refdb::Database& db, std::string_view type);

// The conduit types of ConType, in stored order: full name and abbreviation.
Rows<ConduitType> conduitTypes(refdb::Database& db);

// The conductors in DragList, in stored order.
Rows<Conductor> dragList(refdb::Database& db);

// Deletes one DragList row holding `conductor`: the `occurrence`-th such row in stored order
// (0 the first), so that when the list holds the same conductor several times, the row of the
// removed entry goes and the rows keep the list's order. With fewer such rows, the last one goes;
// with none, nothing does. Returns the engine's error, if any.
std::optional<refdb::DbError> removeFromDragList(refdb::Database& db, const Conductor& conductor,
                                                 int occurrence);

}  // namespace voltaro::calc::conduit
