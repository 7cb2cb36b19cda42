// Comma-separated text as the reference tables are kept and shown (RFC 4180): fields quoted only
// where they hold a comma, a quote or a line break, quotes inside doubled.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voltaro::refdb {

using CsvRow = std::vector<std::string>;

// Parses a whole CSV text (LF or CR LF line ends). nullopt with `error` set when a quoted field
// is not closed or a quote stands inside an unquoted field.
std::optional<std::vector<CsvRow>> parseCsv(std::string_view text, std::string* error = nullptr);

// One field, quoted only where needed.
std::string csvField(std::string_view field);
// One row, fields joined by commas, without line end.
std::string csvLine(const CsvRow& row);

}  // namespace voltaro::refdb
