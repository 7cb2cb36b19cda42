// The NEMA enclosure selector: the enclosure type shown at a scroll position (an Enclosures row
// by ID, numbered from 1 without gaps) and what selecting it puts on the display and in the log.
// The caller hands over the reference database already open.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>

#include "calc/common/outcome.h"
#include "calc/common/results_log.h"
#include "refdb/database.h"

namespace voltaro::calc::enclosure {

struct Enclosure {
    std::string nema;                  // the NEMA type as shown ("1", "3R", "4X")
    std::array<std::string, 5> lines;  // d1 to d5; an empty cell is an empty line
};

// A number that names no enclosure (only a typed number can; the scroll bar stays in range).
inline constexpr std::string_view kNoSuchEnclosure = "No NEMA Enclosure\r\nWith That Number.";

// How many enclosure types there are (the scroll bar's maximum), or the failure message.
std::variant<int, Failure> enclosureCount(refdb::Database& db);

// The enclosure at scroll position `id`, or the failure message.
std::variant<Enclosure, Failure> enclosureAt(refdb::Database& db, int id);

// The description box's text: the five lines joined by CR LF.
std::string descriptionText(const Enclosure& enclosure);

// The display lines ("NEMA <type> Enclosure", then the five description lines) and the results
// log of a selection.
Answer WriteEnclosureResults(const Enclosure& enclosure);

// Selecting the enclosure at `id`: WriteEnclosureResults of the enclosure there.
Outcome selectEnclosure(refdb::Database& db, int id);

// The same from a typed number, read as the program reads numbers (leading number, halves to
// even); a number beyond 16 bits names no enclosure.
Outcome selectEnclosure(refdb::Database& db, std::string_view idText);

}  // namespace voltaro::calc::enclosure
