#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// The program's number types and the two conversions every computation goes
// through. Integer is 16-bit signed, Long 32-bit signed, Single a 32-bit float.
// A result that does not fit its type is never wrapped or truncated: the
// conversion throws IntegerOverflow, which callers report as an error.

namespace tw {

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;

// Thrown when a value does not fit the Integer or Long it is converted to.
class IntegerOverflow : public std::overflow_error
{
public:
    explicit IntegerOverflow(const std::string &what) : std::overflow_error(what) {}
};

// Rounds to the nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). NaN and infinities come back unchanged.
double roundHalfEven(double value);

// True when value lies in -32768..32767.
constexpr bool fitsInteger(long long value)
{
    return value >= INT16_MIN && value <= INT16_MAX;
}

// 16-bit arithmetic: compute a sum or product in a wider type, then narrow it
// here. Throws IntegerOverflow when value is outside -32768..32767.
Integer toInteger(long long value);

// A floating value rounded halves to even, as an Integer when it fits one
// (-32768..32767); nothing for a value beyond, an infinity or NaN.
std::optional<Integer> wholeInteger(double value);

// A floating value rounded halves to even, as an Integer or a Long. Throws
// IntegerOverflow when the rounded value does not fit or value is not finite.
Integer roundToInteger(double value);
Long roundToLong(double value);

} // namespace tw
