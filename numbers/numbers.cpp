#include "numbers/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace voltaro::numbers {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Reading readLeading(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    const std::size_t start = i;  // first character of the unsigned number
    std::size_t intDigits = 0, fracDigits = 0;
    // The decimal magnitude of the first non-zero digit (1 for "5", 3 for "500", -1 for "0.05"):
    // when the conversion reports "out of range" it tells an overflow from an underflow.
    long long magnitude = 0;
    bool seenSignificant = false;
    while (i < text.size() && isDigit(text[i])) {
        seenSignificant = seenSignificant || text[i] != '0';
        if (seenSignificant) ++magnitude;
        ++intDigits;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            if (!seenSignificant && text[i] != '0') {
                seenSignificant = true;
                magnitude = -static_cast<long long>(fracDigits);
            }
            ++fracDigits;
            ++i;
        }
    }
    if (intDigits + fracDigits == 0) return {};  // no number at the start: reads as 0

    std::size_t end = i;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
            end = j;
        }
    }
    if (!seenSignificant) return {};  // all zeros, whatever the exponent

    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(text.data() + start, text.data() + end, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the magnitude says which.
        if (magnitude + exponent > 0) return {0.0, true};
        return {};
    }
    if (ec != std::errc()) return {};
    return {negative ? -value : value, false};
}

std::optional<double> readStrict(std::string_view text) {
    const auto margin = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = 0, end = text.size();
    while (begin < end && margin(text[begin])) ++begin;
    while (end > begin && margin(text[end - 1])) --end;
    const auto number = text.substr(begin, end - begin);
    std::size_t digits = 0, points = 0;
    for (const char c : number) {
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    // Only digits and one point are left, which the leading-number reading takes whole.
    const auto reading = readLeading(number);
    return reading.overflow ? std::numeric_limits<double>::infinity() : reading.value;
}

double roundHalfEven(double value) {
    // The default floating-point rounding mode rounds halves to the even neighbour.
    return std::nearbyint(value);
}

namespace {

template <typename Int>
std::optional<Int> toInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

}  // namespace

std::optional<std::int16_t> toInt16(double value) { return toInteger<std::int16_t>(value); }
std::optional<std::int32_t> toInt32(double value) { return toInteger<std::int32_t>(value); }

std::string general(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0.0) return "0";  // also -0

    std::array<char, 64> buffer{};
    const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    std::string text(buffer.data(), ptr);
    // "1e+15" -> "1E+15": the exponent letter is written in upper case.
    if (const auto e = text.find('e'); e != std::string::npos) text[e] = 'E';
    return text;
}

}  // namespace voltaro::numbers
