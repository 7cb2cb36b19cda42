#include "refdb/sql.h"

#include "numbers/numbers.h"

namespace voltaro::refdb {

namespace {

std::string quoted(std::string_view text, char quote) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back(quote);
    for (const char c : text) {
        if (c == quote) out.push_back(quote);
        out.push_back(c);
    }
    out.push_back(quote);
    return out;
}

}  // namespace

std::string sqlText(std::string_view text) { return quoted(text, '\''); }
std::string sqlName(std::string_view name) { return quoted(name, '"'); }
std::string sqlNumber(double value) { return numbers::general(value); }

}  // namespace voltaro::refdb
