#include "base/Integer.h"

#include <cfenv>
#include <cmath>

namespace tw {

double roundHalfEven(double value)
{
    // std::nearbyint rounds in the current mode; the program never changes it
    // from the default, round to nearest with ties to even.
    return std::nearbyint(value);
}

Integer toInteger(long long value)
{
    if (!fitsInteger(value))
        throw IntegerOverflow("the number " + std::to_string(value) +
                              " is outside the range -32768 to 32767");
    return static_cast<Integer>(value);
}

std::optional<Integer> wholeInteger(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < INT16_MIN || r > INT16_MAX)
        return std::nullopt;
    return static_cast<Integer>(r);
}

Integer roundToInteger(double value)
{
    if (const auto whole = wholeInteger(value))
        return *whole;
    throw IntegerOverflow("the number " + std::to_string(value) +
                          " is outside the range -32768 to 32767");
}

Long roundToLong(double value)
{
    const double r = roundHalfEven(value);
    if (!std::isfinite(r) || r < INT32_MIN || r > INT32_MAX)
        throw IntegerOverflow("the number " + std::to_string(value) +
                              " is outside the range of a 32-bit integer");
    return static_cast<Long>(r);
}

} // namespace tw
