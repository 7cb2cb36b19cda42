// Typed numbers as the calculators take them, for texts whose number is too large for a double.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "numbers/numbers.h"

namespace voltaro::calc {

// The leading-number value of a typed text, with a number too large for a double ("1e309", a
// million nines) read as an infinity of its sign instead of 0, so that a huge entry is judged too
// high (or too low) rather than taken for an empty box.
inline double typedValue(std::string_view text) {
    const auto reading = numbers::readLeading(text);
    if (!reading.overflow) return reading.value;
    std::size_t i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

// A typed whole number (halves to even) held in 32 bits: values beyond the range are pinned to
// its ends, so that any entry above it is simply "very large" and any below "very small".
inline std::int32_t typedInt32(std::string_view text) {
    const double value = numbers::roundHalfEven(typedValue(text));
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace voltaro::calc
