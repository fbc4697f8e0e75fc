#include "report/Report.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct LayoutCase
{
    const char *name;
    Long pageWidth, pageHeight;
    Integer cols, rows;
    Single unit;
    Long lineHeight;
    int columns, rowsPerPage;
};

void PrintTo(const LayoutCase &c, std::ostream *os)
{
    *os << c.name;
}

class PageLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(PageLayout, FitsTheTraysTheLoopLimitsAllow)
{
    const LayoutCase &c = GetParam();
    const ReportLayout l = reportLayout(c.pageWidth, c.pageHeight, 360, 360, 360, 360, c.cols,
                                        c.rows, c.unit, c.lineHeight);
    EXPECT_EQ(l.columns(), c.columns);
    EXPECT_EQ(l.rows(), c.rowsPerPage);
}

// Letter paper, quarter-inch margins; worked by hand from the loop limits.
INSTANTIATE_TEST_SUITE_P(
    Pages, PageLayout,
    testing::Values(
        // 10 x 6 at 40 twips: column step 410, row step 280 + 57.5 -> 338.
        LayoutCase{"small_10x6_portrait", 12240, 15840, 10, 6, 40, 92, 28, 43},
        LayoutCase{"small_10x6_landscape", 15840, 12240, 10, 6, 40, 92, 36, 32},
        // Twice the side: step 820, row step 560 + 115 = 675 from 500 to 14640.
        LayoutCase{"larger_10x6_portrait", 12240, 15840, 10, 6, 80, 184, 14, 21},
        // 20 x 3 at 540 twips: one tray a row, row step 2160 + 776 -> 2936.
        LayoutCase{"wide_20x3_portrait", 12240, 15840, 20, 3, 540, 1242, 1, 5},
        // An inch on the 8 x 8: one tray fills the width.
        LayoutCase{"inch_8x8_portrait", 12240, 15840, 8, 8, 1440, 300, 1, 1},
        // ... and in landscape leaves no room below the head.
        LayoutCase{"inch_8x8_landscape", 15840, 12240, 8, 8, 1440, 300, 1, 0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tw
