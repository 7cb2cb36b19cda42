// The conduit size calculation on any conduit type and list of entries. Input: one byte choosing
// the conduit type (below 0xE0 a ConType row, otherwise the first line of the rest is typed as
// the abbreviation), then the entries, one per line ('\n'; at most 40). A line starting with '#'
// stands for a real conductor, a WireArea_Q type and gauge picked by its next two bytes; any
// other line is the entry as typed ("12 - THHN", "junk").
//
// Properties: DragList is empty after every call. The outcome is an answer or one of the
// calculation's messages, and the one the entries call for: no entries, the first entry whose
// type and gauge have no area (named as typed), or no trade size large enough. An answer is a
// trade size of that conduit type, the first in stored order whose fill for that many conductors
// is above the total area worked again here (a size whose fill is within 1e-9 in.sq. of the total
// may go either way). Notes 4, 5 and 8 follow the types, the abbreviation and the count; "See
// Notes" and the log agree. Adding a real conductor never gives a smaller trade size, except
// from two conductors to three, where the fill allowed rises from 31 % to 40 % of the conduit.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "calc/conduit/conduit.h"
#include "fuzz/fuzz_support.h"

using namespace voltaro;
using namespace voltaro::calc::conduit;

namespace {

constexpr std::size_t kMaxEntries = 40;
constexpr double kFillSlack = 1e-9;  // square inches

struct TradeSize {
    std::string size;
    double fill[3];  // one conductor, two, more than two (square inches)
};

struct Tables {
    std::vector<std::string> abbrs;                               // ConType, in order
    std::map<std::string, std::vector<TradeSize>> sizes;          // ConData_Q by Abbr
    std::map<std::pair<std::string, std::string>, double> area;   // first area of type, gauge
    std::vector<std::pair<std::string, std::string>> conductors;  // type, gauge with an area
};

int dragListRows() {
    auto set = fuzz::referenceDatabase().openRecordset("SELECT COUNT(*) AS n FROM DragList");
    if (!set) fuzz::fail(set.error().description);
    return static_cast<int>(set->field("n").number());
}

refdb::Recordset rowsOf(const std::string& sql) {
    auto set = fuzz::referenceDatabase().openRecordset(sql);
    if (!set) fuzz::fail(sql + ": " + set.error().description);
    return set.take();
}

const Tables& tables() {
    static const Tables t = [] {
        Tables out;
        auto types = rowsOf("SELECT * FROM ConType");
        for (types.moveFirst(); !types.eof(); types.moveNext())
            out.abbrs.push_back(types.field("Abbr").text());
        auto sizes = rowsOf("SELECT * FROM ConData_Q");
        for (sizes.moveFirst(); !sizes.eof(); sizes.moveNext())
            out.sizes[sizes.field("Abbr").text()].push_back(
                {sizes.field("Size").text(),
                 {sizes.field("1wire").number(), sizes.field("2wires").number(),
                  sizes.field("2+wires").number()}});
        auto areas = rowsOf("SELECT * FROM WireArea_Q");
        for (areas.moveFirst(); !areas.eof(); areas.moveNext()) {
            std::pair<std::string, std::string> key{areas.field("Type").text(),
                                                    areas.field("Gauge").text()};
            if (out.area.emplace(key, areas.field("Area").number()).second)
                out.conductors.push_back(key);
        }
        if (out.abbrs.empty() || out.conductors.empty()) fuzz::fail("empty conduit tables");
        // Rows left by some earlier run would be blamed on the first input.
        if (dragListRows() != 0) fuzz::fail("DragList was not empty at start");
        return out;
    }();
    return t;
}

std::string realEntry(std::size_t pick) {
    const auto& [type, gauge] = tables().conductors[pick % tables().conductors.size()];
    return gauge + " - " + type;
}

bool endsWithStar(std::string_view text) { return !text.empty() && text.back() == '*'; }

// What the calculation should give for the entries in `abbr`: a message, or the index of the
// trade size in the type's list with the indexes that may also be given (a fill within the
// slack of the total), as [first, last].
struct Expected {
    std::string message;  // empty for an answer
    std::size_t first = 0, last = 0;
    bool sizeMayBeMissing = false;  // the type's sizes near the total may all be too small
};

Expected expected(const std::string& abbr, const std::vector<std::string>& entries) {
    if (entries.empty()) return {std::string(kNoConductors)};
    const auto& t = tables();
    double total = 0;
    for (const auto& entry : entries) {
        const auto at = entry.find(" - ");
        const std::string gauge = entry.substr(0, at);
        const std::string type = at == std::string::npos ? "" : entry.substr(at + 3);
        const auto found = t.area.find({type, gauge});
        if (found == t.area.end()) return {notListedMessage(gauge, type)};
        total += found->second;
    }
    const int column = entries.size() == 1 ? 0 : entries.size() == 2 ? 1 : 2;
    const auto sizes = t.sizes.find(abbr);
    if (sizes == t.sizes.end()) return {std::string(kNotLargeEnough)};
    const auto& list = sizes->second;
    Expected e;
    std::size_t i = 0;
    while (i < list.size() && list[i].fill[column] <= total - kFillSlack) ++i;
    e.first = i;
    while (i < list.size() && list[i].fill[column] <= total + kFillSlack) ++i;
    e.last = i;
    if (e.last == list.size()) {
        if (e.first == list.size()) return {std::string(kNotLargeEnough)};
        e.sizeMayBeMissing = true;
    }
    return e;
}

// The index of a trade size in the type's list, or the list's size when it is not there.
std::size_t indexOf(const std::string& abbr, const std::string& size) {
    const auto found = tables().sizes.find(abbr);
    if (found == tables().sizes.end()) return 0;
    const auto& list = found->second;
    return static_cast<std::size_t>(
        std::find_if(list.begin(), list.end(), [&](const TradeSize& s) { return s.size == size; }) -
        list.begin());
}

// What one calculation gave, after its checks: a trade size (its index in the type's list), no
// size large enough, or another message (neither flag set).
struct Result {
    bool answered = false;
    bool notLargeEnough = false;
    std::size_t index = 0;
};

Result check(const std::string& abbr, const std::vector<std::string>& entries) {
    calc::NoteFlags notes{};
    const Expected want = expected(abbr, entries);
    const auto outcome =
        conduitForEntries(fuzz::referenceDatabase(), notes, {abbr, "Fuzzed Conduit"}, entries);
    fuzz::require(dragListRows() == 0, "DragList is not empty after the calculation");

    const bool anyStar = std::any_of(entries.begin(), entries.end(), [](const std::string& e) {
        return endsWithStar(e);  // the type is the entry's end
    });
    if (const auto* failure = std::get_if<calc::Failure>(&outcome)) {
        const bool tooSmallMayBe =
            want.message.empty() && want.sizeMayBeMissing && failure->message == kNotLargeEnough;
        fuzz::require(failure->message == want.message || tooSmallMayBe,
                      "message \"" + failure->message + "\" instead of \"" +
                          (want.message.empty() ? "an answer" : want.message) + "\"");
        if (failure->message == kNotLargeEnough) {
            fuzz::require(notes[4] == anyStar, "note 4 does not follow the types");
            fuzz::require(notes[5] == endsWithStar(abbr), "note 5 does not follow " + abbr);
            fuzz::require(notes[8] == (entries.size() > 30), "note 8 does not follow the count");
            return {false, true, 0};
        }
        return {};
    }
    fuzz::require(want.message.empty(), "an answer instead of \"" + want.message + "\"");
    const auto& answer = std::get<calc::Answer>(outcome);
    fuzz::require(!answer.displayLines.empty(), "no display line");
    const std::string& line = answer.displayLines[0];
    const std::string suffix = " in.  " + abbr;
    fuzz::require(line.size() > suffix.size() &&
                      line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0,
                  "display line: " + line);
    const std::string size = line.substr(0, line.size() - suffix.size());
    const std::size_t index = indexOf(abbr, size);
    fuzz::require(index < tables().sizes.at(abbr).size(), size + " is no trade size of " + abbr);
    fuzz::require(want.first <= index && index <= want.last,
                  size + " is not the first trade size of " + abbr + " large enough");

    fuzz::require(notes[4] == anyStar, "note 4 does not follow the types");
    fuzz::require(notes[5] == endsWithStar(abbr), "note 5 does not follow " + abbr);
    fuzz::require(notes[8] == (entries.size() > 30), "note 8 does not follow the count");
    const bool flagged = notes[4] || notes[5] || notes[8];
    fuzz::require(answer.displayLines.size() == (flagged ? 2u : 1u) &&
                      (!flagged || answer.displayLines[1] == "See Notes"),
                  "\"See Notes\" does not follow the notes");
    const std::string& log = answer.log.bytes();
    fuzz::require(
        log.find("Smallest Trade Size Conduit is:  " + size + suffix + "\r\n") != std::string::npos,
        "log does not name " + size);
    for (std::size_t i = 0; i < entries.size(); ++i)
        fuzz::require(log.find("      " + std::to_string(i + 1) + ".\tAWG " + entries[i] +
                               "\r\n") != std::string::npos,
                      "log does not list entry " + std::to_string(i + 1));
    return {true, false, index};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto& t = tables();
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto nextLine = [&rest] {
        const auto end = rest.find('\n');
        const std::string line(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        return line;
    };
    std::string abbr;
    if (data[0] < 0xE0)
        abbr = t.abbrs[data[0] % t.abbrs.size()];
    else
        abbr = nextLine();
    std::vector<std::string> entries;
    while (!rest.empty() && entries.size() < kMaxEntries) {
        const std::string line = nextLine();
        if (!line.empty() && line[0] == '#') {
            const std::size_t pick = (line.size() > 1 ? std::uint8_t(line[1]) << 8 : 0) |
                                     (line.size() > 2 ? std::uint8_t(line[2]) : 0);
            entries.push_back(realEntry(pick));
        } else {
            entries.push_back(line);
        }
    }

    const Result before = check(abbr, entries);
    // From two conductors to three the allowed fill rises (31 % to 40 %): a smaller size is right.
    if (entries.empty() || entries.size() == 2 || !(before.answered || before.notLargeEnough))
        return 0;
    entries.push_back(realEntry(size * 7919u + data[size - 1]));
    const Result after = check(abbr, entries);
    if (before.notLargeEnough)
        fuzz::require(after.notLargeEnough, "one more conductor fits where fewer did not");
    else if (after.answered)
        fuzz::require(after.index >= before.index, "one more conductor gave a smaller trade size");
    return 0;
}
