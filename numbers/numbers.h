// How Voltaro reads the numbers people type and writes the numbers it shows.
//
// Reading: a box holds whatever the user typed; its value is the number at the start of the
// text ("12.5A" is 12.5, "abc" is 0), or, strictly, the one plain number the text holds. Writing:
// general number format, the way every answer, log line and query criterion spells a number ("24",
// "19.68", "0.5", "1E+15").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace voltaro::numbers {

// The leading-number value of a typed text. Leading blanks (space, tab, CR, LF) are skipped;
// then an optional sign, digits with an optional "." fraction, and an optional exponent
// ("E" or "e", optional sign, digits) are read; anything after that is ignored. A text that does
// not start with a number reads as 0. `overflow` is set, and `value` is 0, when the number is too
// large for a double ("1e309", a million nines); a number too small to represent reads as 0.
struct Reading {
    double value = 0.0;
    bool overflow = false;
};
Reading readLeading(std::string_view text);

// The value of a text that holds one plain number and nothing else: an optional margin of blanks
// (spaces and tabs) around digits with an optional decimal point ("12", "12.", ".5", " 7.25 ").
// No sign, no exponent, no thousands separator, no decimal comma: "12abc", "1e3", "-4", "7,5",
// "." and an empty or blank text are refused (nullopt). A number too large for a double reads as
// infinity, for the caller to refuse as too large; one too small to represent reads as 0. The new
// calculators read their boxes this way, so that a slip of the keyboard is pointed out instead of
// silently read as part of a number.
std::optional<double> readStrict(std::string_view text);

// Round to the nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Round half to even and fit the result into a 16- or 32-bit signed integer; nullopt when it
// does not fit or the value is not a finite number.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

// General number format: at most 15 significant digits, no trailing zeros after the decimal
// point, no thousands separator, no leading blank, "." as decimal point. Very large or very
// small magnitudes use an exponent ("1E+15", "1E-05"). Negative zero is written "0". Values that
// are not finite are written "Infinity", "-Infinity" or "NaN" (callers check before they get here).
std::string general(double value);

}  // namespace voltaro::numbers
