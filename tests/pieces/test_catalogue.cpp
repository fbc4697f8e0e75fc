#include "pieces/PieceTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace tw {
namespace {

using Cells = std::vector<std::pair<int, int>>; // (column, row)

Cells cellsOf(const clsShape &s)
{
    Cells cells{{0, 0}};
    for (const ColumnRow &step : squareSteps(s))
        cells.emplace_back(step.column, step.row);
    return cells;
}

TEST(OrientationTable, EveryEntryAgreesWithItsOwnOffsets)
{
    for (int n = 0; n < OrientationCount; ++n) {
        const clsShape &s = orientation(n);
        SCOPED_TRACE("orientation " + std::to_string(n));
        const std::vector<int> offsets{s.Square2, s.Square3, s.Square4, s.Square5};
        EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
        EXPECT_GT(offsets.front(), 0);
        EXPECT_EQ(std::set<int>(offsets.begin(), offsets.end()).size(), 4u);

        int minC = 0, maxC = 0, minR = 0, maxR = 0;
        for (auto [c, r] : cellsOf(s)) {
            EXPECT_LE(r, 4);
            EXPECT_GE(r, -3);
            minC = std::min(minC, c), maxC = std::max(maxC, c);
            minR = std::min(minR, r), maxR = std::max(maxR, r);
            // Square 1 is the top square of the leftmost column.
            EXPECT_TRUE(c > 0 || r >= 0);
        }
        EXPECT_EQ(minC, 0);
        EXPECT_EQ(s.StartX, -minR);
        EXPECT_EQ(s.Width, maxC - minC + 1);
        EXPECT_EQ(s.Height, maxR - minR + 1);
    }
}

} // namespace
} // namespace tw
