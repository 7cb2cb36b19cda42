#include "calc/enclosure/enclosure.h"

#include "calc/common/data_failure.h"
#include "numbers/numbers.h"

namespace voltaro::calc::enclosure {

std::variant<int, Failure> enclosureCount(refdb::Database& db) {
    auto rows = db.openRecordset("SELECT * FROM Enclosures");
    if (!rows) return dataFailure("The enclosure table cannot be read.");
    return rows->recordCount();
}

std::variant<Enclosure, Failure> enclosureAt(refdb::Database& db, int id) {
    const Failure unreadable = dataFailure("The enclosure table cannot be read.");
    auto rows = db.openRecordset("SELECT * FROM Enclosures");
    if (!rows) return unreadable;
    auto found = rows->findFirst("ID = " + std::to_string(id));
    if (!found) return unreadable;
    if (!*found) return Failure{std::string(kNoSuchEnclosure)};
    Enclosure enclosure;
    enclosure.nema = rows->field("Nema").text();
    for (std::size_t i = 0; i < enclosure.lines.size(); ++i)
        enclosure.lines[i] = rows->field("d" + std::to_string(i + 1)).text();
    return enclosure;
}

std::string descriptionText(const Enclosure& enclosure) {
    std::string text;
    for (std::size_t i = 0; i < enclosure.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += enclosure.lines[i];
    }
    return text;
}

Answer WriteEnclosureResults(const Enclosure& enclosure) {
    Answer answer;
    answer.displayLines.push_back("NEMA " + enclosure.nema + " Enclosure");
    for (const auto& line : enclosure.lines) answer.displayLines.push_back(line);
    answer.log = StartResultsLog("~ Select NEMA Enclosure ~");
    auto& log = answer.log;
    log.write("NEMA Enclosure:  " + enclosure.nema + "\r\n");
    log.write("NEMA Description:\r\n");
    log.write(descriptionText(enclosure));
    return answer;
}

Outcome selectEnclosure(refdb::Database& db, int id) {
    auto found = enclosureAt(db, id);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    return WriteEnclosureResults(std::get<Enclosure>(found));
}

Outcome selectEnclosure(refdb::Database& db, std::string_view idText) {
    const auto read = numbers::readLeading(idText);
    const auto id = read.overflow ? std::nullopt : numbers::toInt16(read.value);
    if (!id) return Failure{std::string(kNoSuchEnclosure)};
    return selectEnclosure(db, static_cast<int>(*id));
}

}  // namespace voltaro::calc::enclosure
