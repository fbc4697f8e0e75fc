#include "base/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tw {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t digits = 0, points = 0;
    for (char c : text) {
        if (isDigit(c))
            ++digits;
        else if (c == '.' && points == 0)
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;

    double value = 0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Without an exponent, a number too large for a double has a whole
        // part; one too small for it has none.
        const auto wholePart = text.substr(0, text.find('.'));
        const bool large = wholePart.find_first_not_of('0') != std::string_view::npos;
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<long long> plainWholeNumber(std::string_view text)
{
    long long n = 0;
    const char *end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, n);
    return ec == std::errc() && at == end && !text.empty() && text.front() != '-' ? std::optional(n)
                                                                                  : std::nullopt;
}

std::string groupedNumber(long long n)
{
    const std::string digits = std::to_string(n);
    const std::size_t sign = n < 0 ? 1 : 0;
    std::string text = digits.substr(0, sign);
    for (std::size_t k = sign; k < digits.size(); ++k) {
        if (k > sign && (digits.size() - k) % 3 == 0)
            text += ',';
        text += digits[k];
    }
    return text;
}

std::string sideText(float inches)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, inches);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string sideLimitText(double inches)
{
    const long long thousandths =
        std::isfinite(inches) && inches > 0 ? static_cast<long long>(std::floor(inches * 1000)) : 0;
    std::string text = std::to_string(thousandths / 1000) + ".";
    const std::string fraction = std::to_string(1000 + thousandths % 1000).substr(1);
    text += fraction;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace tw
