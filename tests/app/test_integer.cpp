#include "app/Integer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tw {
namespace {

struct RoundCase
{
    const char *name;
    double value;
    double expected;
};

void PrintTo(const RoundCase &c, std::ostream *os)
{
    *os << c.name;
}

class RoundHalfEven : public testing::TestWithParam<RoundCase>
{
};

TEST_P(RoundHalfEven, RoundsToNearestWithTiesToEven)
{
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundHalfEven,
    testing::Values(RoundCase{"half_down_to_even", 2.5, 2}, RoundCase{"half_up_to_even", 3.5, 4},
                    RoundCase{"half_to_zero", 0.5, 0}, RoundCase{"one_and_half", 1.5, 2},
                    RoundCase{"negative_half", -2.5, -2}, RoundCase{"negative_odd_half", -3.5, -4},
                    RoundCase{"below_half", 2.4999, 2}, RoundCase{"above_half", 2.5001, 3},
                    RoundCase{"whole", 7, 7}, RoundCase{"unit_times_column", 40.032 * 3, 120}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ToInteger, KeepsTheSixteenBitRangeAndRejectsWhatLiesOutside)
{
    EXPECT_EQ(toInteger(32767), 32767);
    EXPECT_EQ(toInteger(-32768), -32768);
    EXPECT_THROW(toInteger(32768), IntegerOverflow);
    EXPECT_THROW(toInteger(-32769), IntegerOverflow);
    // A product that a 16-bit multiply would wrap is caught, not wrapped.
    EXPECT_THROW(toInteger(200LL * 200), IntegerOverflow);
}

TEST(RoundToInteger, RoundsBeforeCheckingTheRange)
{
    EXPECT_EQ(roundToInteger(32767.4), 32767);
    EXPECT_THROW(roundToInteger(32767.5), IntegerOverflow); // ties to 32768
    EXPECT_EQ(roundToInteger(-32768.5), -32768);            // ties to even -32768
    EXPECT_EQ(roundToInteger(2.5), 2);
    EXPECT_EQ(roundToInteger(3.5), 4);
    EXPECT_THROW(roundToInteger(std::numeric_limits<double>::quiet_NaN()), IntegerOverflow);
    EXPECT_THROW(roundToInteger(std::numeric_limits<double>::infinity()), IntegerOverflow);
}

TEST(RoundToLong, CoversTheThirtyTwoBitRange)
{
    EXPECT_EQ(roundToLong(40.032), 40);
    EXPECT_EQ(roundToLong(2147483647.0), 2147483647);
    EXPECT_THROW(roundToLong(2147483648.0), IntegerOverflow);
    EXPECT_EQ(roundToLong(-0.5), 0);
}

} // namespace
} // namespace tw
