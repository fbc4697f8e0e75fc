#include "base/Integer.h"
#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

namespace tw {
namespace {

TEST(Integer, NarrowingRejectsWhatSixteenBitsCannotHold)
{
    EXPECT_EQ(toInteger(-32768), -32768);
    EXPECT_THROW(toInteger(200LL * 200), IntegerOverflow); // a product a 16-bit multiply wraps
    EXPECT_EQ(roundToInteger(32767.4), 32767);
    EXPECT_THROW(roundToInteger(32767.5), IntegerOverflow); // rounds first: ties to 32768
    EXPECT_EQ(roundToInteger(-32768.5), -32768);            // ties to even
    EXPECT_EQ(roundToInteger(2.5), 2);
    EXPECT_THROW(roundToInteger(std::numeric_limits<double>::quiet_NaN()), IntegerOverflow);
    EXPECT_EQ(wholeInteger(32768), std::nullopt);
    EXPECT_EQ(roundToLong(2147483647.4), 2147483647);
    EXPECT_THROW(roundToLong(3e9), IntegerOverflow);
}

struct TextCase
{
    const char *name;
    std::string text;
    std::optional<double> value;
};

void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << c.name;
}

class ParseNumber : public testing::TestWithParam<TextCase>
{
};

TEST_P(ParseNumber, TakesOnlyPlainDecimalNumbers)
{
    EXPECT_EQ(parseNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseNumber,
    testing::Values(
        TextCase{"blanks_around", " \t 12  ", 12}, TextCase{"signs", "-3", -3},
        TextCase{"fraction", "2.5", 2.5}, TextCase{"trailing_point", "2.", 2},
        TextCase{"leading_point", "+.5", 0.5}, TextCase{"empty", "", std::nullopt},
        TextCase{"sign_only", "-", std::nullopt}, TextCase{"point_only", ".", std::nullopt},
        TextCase{"two_points", "1.2.3", std::nullopt}, TextCase{"exponent", "1e3", std::nullopt},
        TextCase{"thousands", "1,000", std::nullopt}, TextCase{"inner_blank", "1 2", std::nullopt},
        TextCase{"two_signs", "+-2", std::nullopt},
        TextCase{"non_ascii_digit", "\xD9\xA3", std::nullopt},
        TextCase{"nul_inside",
                 std::string("1\0"
                             "2",
                             3),
                 std::nullopt},
        TextCase{"underflow", "0." + std::string(400, '0') + "1", 0.0},
        TextCase{"overflow", std::string(400, '9'), std::numeric_limits<double>::infinity()}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tw
