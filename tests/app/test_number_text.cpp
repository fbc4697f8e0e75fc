#include "app/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tw {
namespace {

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
        TextCase{"whole", "12", 12}, TextCase{"blanks_around", " \t 12  ", 12},
        TextCase{"plus", "+7", 7}, TextCase{"minus", "-3", -3}, TextCase{"fraction", "2.5", 2.5},
        TextCase{"trailing_point", "2.", 2}, TextCase{"leading_point", ".5", 0.5},
        TextCase{"zero", "0", 0}, TextCase{"leading_zeros", "007", 7},
        TextCase{"empty", "", std::nullopt}, TextCase{"blanks_only", "   ", std::nullopt},
        TextCase{"sign_only", "-", std::nullopt}, TextCase{"point_only", ".", std::nullopt},
        TextCase{"two_points", "1.2.3", std::nullopt}, TextCase{"exponent", "1e3", std::nullopt},
        TextCase{"hex", "&H10", std::nullopt}, TextCase{"thousands", "1,000", std::nullopt},
        TextCase{"inner_blank", "1 2", std::nullopt},
        TextCase{"blank_after_sign", "- 2", std::nullopt},
        TextCase{"two_signs", "+-2", std::nullopt}, TextCase{"letters", "twelve", std::nullopt},
        TextCase{"non_ascii_digit", "\xD9\xA3", std::nullopt},
        TextCase{"nul_inside",
                 std::string("1\0"
                             "2",
                             3),
                 std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ParseNumber, NumbersBeyondDoublesAreInfiniteOrZero)
{
    const auto tiny = parseNumber("0." + std::string(400, '0') + "1");
    ASSERT_TRUE(tiny);
    EXPECT_EQ(*tiny, 0.0);
    EXPECT_EQ(parseNumber("-." + std::string(400, '0') + "1"), 0.0);
    const auto huge = parseNumber(std::string(400, '9'));
    ASSERT_TRUE(huge);
    EXPECT_TRUE(std::isinf(*huge));
    const auto negative = parseNumber("-" + std::string(400, '9'));
    ASSERT_TRUE(negative);
    EXPECT_LT(*negative, 0);
    EXPECT_TRUE(parseNumber(std::string(100000, '1'))); // any length is fine
}

TEST(WholeInteger, RoundsHalvesToEvenWithinSixteenBits)
{
    EXPECT_EQ(wholeInteger(2.5), 2);
    EXPECT_EQ(wholeInteger(3.5), 4);
    EXPECT_EQ(wholeInteger(-0.4), 0);
    EXPECT_EQ(wholeInteger(32767), 32767);
    EXPECT_EQ(wholeInteger(32767.5), std::nullopt);
    EXPECT_EQ(wholeInteger(32768), std::nullopt);
    EXPECT_EQ(wholeInteger(-32768.5), -32768);
    EXPECT_EQ(wholeInteger(INFINITY), std::nullopt);
}

} // namespace
} // namespace tw
