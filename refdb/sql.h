// Writing values into SQL text. Every query and criterion of the program is built with these:
// a text value always goes in quoted with its single quotes doubled, never raw, so a type or table
// name with an apostrophe can neither break a query nor change it.
#pragma once

#include <string>
#include <string_view>

namespace voltaro::refdb {

// 'text' with every ' doubled: sqlText("O'Brien") is 'O''Brien'.
std::string sqlText(std::string_view text);

// A number in general number format ("20", "12.5").
std::string sqlNumber(double value);

// A column or table name in double quotes, inner quotes doubled: sqlName("2+wires") is "2+wires".
std::string sqlName(std::string_view name);

}  // namespace voltaro::refdb
