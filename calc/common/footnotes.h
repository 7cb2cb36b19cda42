// The footnotes under a result: numbered texts in the reference database's FootNotes table,
// printed by number in the order each calculator gives.
#pragma once

#include <string>
#include <vector>

#include "calc/common/results_log.h"
#include "refdb/database.h"

namespace voltaro::calc {

// The text of footnote n from the FootNotes table; empty when there is no such note or the table
// cannot be read.
std::string FootNoteText(refdb::Database& db, int n);

// An empty line, "Notes:", then the text of each footnote in `numbers`, in that order, one per
// line. The caller decides which notes its flags call for.
void writeNotes(ResultsLog& log, refdb::Database& db, const std::vector<int>& numbers);

}  // namespace voltaro::calc
