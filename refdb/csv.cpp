#include "refdb/csv.h"

namespace voltaro::refdb {

std::optional<std::vector<CsvRow>> parseCsv(std::string_view text, std::string* error) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the current field was quoted (only a separator may follow)
    bool rowStarted = false;  // something of the current row has been read
    int line = 1;
    auto fail = [&](const std::string& why) -> std::optional<std::vector<CsvRow>> {
        if (error != nullptr) *error = "line " + std::to_string(line) + ": " + why;
        return std::nullopt;
    };
    auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field.push_back('"');
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == '\n') ++line;
                field.push_back(c);
            }
            continue;
        }
        if (c == ',') {
            endField();
            rowStarted = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (rowStarted || !field.empty() || wasQuoted) {
                endField();
                rows.push_back(std::move(row));
                row.clear();
            }
            rowStarted = false;
            ++line;
        } else if (c == '"') {
            if (!field.empty() || wasQuoted) return fail("a quote inside an unquoted field");
            quoted = true;
            rowStarted = true;
        } else {
            if (wasQuoted) return fail("text after a closing quote");
            field.push_back(c);
            rowStarted = true;
        }
    }
    if (quoted) return fail("a quoted field is not closed");
    if (rowStarted || !field.empty() || wasQuoted) {
        endField();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string csvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (const char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string csvLine(const CsvRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) line.push_back(',');
        line += csvField(row[i]);
    }
    return line;
}

}  // namespace voltaro::refdb
