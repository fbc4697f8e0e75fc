#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw {

// The value of a text that the input boxes take as a number: blanks (spaces
// or tabs) around, an optional sign, and digits with an optional decimal
// point and fraction ("12", " -3 ", "2.5", "2.", ".5"). Nothing else counts:
// no exponent, no thousands separators, no empty text. A number too large
// for a double comes back as an infinity, one too small for it as zero.
std::optional<double> parseNumber(std::string_view text);

// A whole number written as digits alone ("12", "007"): no sign, no
// spaces, nothing after; nothing for anything else or beyond long long.
std::optional<long long> plainWholeNumber(std::string_view text);

// A whole number with its thousands grouped by commas: "1,234", "-16,146".
std::string groupedNumber(long long n);

// A side as the side-length box shows it: the shortest text that reads
// back as the same Single ("0.0278", "0.375").
std::string sideText(float inches);

// The largest side a message names, inches: rounded down to thousandths,
// so that the figure shown is itself accepted ("0.266", "0.5").
std::string sideLimitText(double inches);

} // namespace tw
