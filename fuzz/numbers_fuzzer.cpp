// Reading typed numbers: any text reads as a finite number (0 when it overflows), and the general
// number format of that value reads back as the same value to 15 significant digits.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "numbers/numbers.h"

using namespace voltaro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto reading = numbers::readLeading(text);
    fuzz::require(std::isfinite(reading.value), "readLeading gave a value that is not finite");
    if (reading.overflow) fuzz::require(reading.value == 0, "an overflow did not read as 0");

    // The strict reading takes a text whole or not at all, and then agrees with the leading one.
    if (const auto strict = numbers::readStrict(text)) {
        fuzz::require(reading.overflow ? std::isinf(*strict) : *strict == reading.value,
                      "readStrict disagrees");
        fuzz::require(!numbers::readStrict(std::string(text) + "x"), "readStrict took a letter");
    }
    const std::string written = numbers::general(reading.value);
    fuzz::require(written.size() <= 22, "general wrote more than 15 digits: " + written);
    const auto back = numbers::readLeading(written);
    fuzz::require(!back.overflow, "general wrote a number that overflows: " + written);
    const double tolerance = std::fabs(reading.value) * 1e-14;
    fuzz::require(std::fabs(back.value - reading.value) <= tolerance,
                  "general did not round-trip: " + written);
    // Trailing text never changes the value.
    fuzz::require(numbers::readLeading(written + "x").value == back.value,
                  "trailing text changed the value of " + written);

    const double rounded = numbers::roundHalfEven(reading.value);
    fuzz::require(std::fabs(rounded - reading.value) <= 0.5, "rounding moved by more than a half");
    if (const auto i16 = numbers::toInt16(reading.value))
        fuzz::require(*i16 == rounded, "toInt16 disagrees with roundHalfEven");
    else
        fuzz::require(std::fabs(rounded) > 32767, "toInt16 refused a value in range");
    if (const auto i32 = numbers::toInt32(reading.value))
        fuzz::require(*i32 == rounded, "toInt32 disagrees with roundHalfEven");
    else
        fuzz::require(std::fabs(rounded) > 2147483647, "toInt32 refused a value in range");
    return 0;
}
