#include "calc/common/footnotes.h"

namespace voltaro::calc {

std::string FootNoteText(refdb::Database& db, int n) {
    auto notes = db.openRecordset("SELECT * FROM FootNotes");
    if (!notes) return {};
    notes->moveLast();
    auto found = notes->findFirst("ID = " + std::to_string(n));
    return found && *found ? notes->field("Notes").text() : std::string();
}

void writeNotes(ResultsLog& log, refdb::Database& db, const std::vector<int>& numbers) {
    log.write("");
    log.write("Notes:");
    for (const int n : numbers) log.write(FootNoteText(db, n));
}

}  // namespace voltaro::calc
