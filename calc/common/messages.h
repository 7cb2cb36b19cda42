// Error-window texts that more than one calculator shows.
#pragma once

#include <string_view>

namespace voltaro::calc {

// The reference database could not be read (a missing table, a closed or damaged file). The
// calculators that read it say so instead of answering from partial data.
inline constexpr std::string_view kDatabaseUnreadable = "Reference Data\r\nCannot Be Read.";

}  // namespace voltaro::calc
