#include "solutions/Region.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

std::string rows(int count, const std::string &row)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += row + "\n";
    return text;
}

const std::string TenBySix = rows(6, "##########");

// What a region file may hold, and the line that refuses what it may not.
TEST(Region, IsReadFromTextOrRefusedWithTheReason)
{
    struct Row
    {
        const char *name;
        std::string text;
        std::string fault; // empty: read, as a tray of cols x rows
        int cols, rows;
    };
    const Row table[] = {
        {"rows of #", TenBySix, "", 10, 6},
        {"a tiling's letters, BOM, CRLF, margins and trailing spaces",
         "\xEF\xBB\xBF\r\n   \r\n  FFIIIIILLL   \r\n  FFNNNPPPLT \r\n  #########T\r\n" +
             rows(3, "  ##########"),
         "", 10, 6},
        {"lower-case letters and the square", rows(8, "xxxxoooo"), "", 8, 8},
        {"holes", rows(3, "########") + "###..###\n###..###\n" + rows(3, "########"), "", 8, 8},
        {"58 cells", rows(5, "##########") + "########\n", "this one has 58", 0, 0},
        {"an empty file", "", "this one has 0", 0, 0},
        {"as wide as a tray may be", rows(2, std::string(32, '#')), "", 32, 2},
        {"too wide", rows(2, std::string(33, '#')), "32 x 32 cells; this one is 33 x 2", 0, 0},
        {"a tab", "###\t##\n", "row 1, column 4: U+0009 is neither a cell", 0, 0},
        {"a letter that is no piece", rows(5, "##########") + "#####A####\n",
         "row 6, column 6: \"A\" is neither a cell (# or a piece letter) nor a gap", 0, 0},
        {"text that is not UTF-8", "##\xE9\n", "byte 0xE9", 0, 0},
    };
    for (const Row &row : table) {
        SCOPED_TRACE(row.name);
        const auto read = readRegion(row.text);
        if (row.fault.empty()) {
            ASSERT_TRUE(read) << read.error();
            EXPECT_EQ(read->cols(), row.cols);
            EXPECT_EQ(read->rows(), row.rows);
        } else {
            ASSERT_FALSE(read);
            EXPECT_NE(read.error().find(row.fault), std::string::npos) << read.error();
        }
    }
}

// What can be seen at once to leave a region untileable, and where; a
// region that only a search can judge is not refused.
TEST(Region, SaysWhyItCannotBeTiledBeforeAnySearch)
{
    struct Row
    {
        const char *name;
        std::string text;
        std::string message; // empty: none seen
        std::pair<int, int> first;
    };
    const Row table[] = {
        {"the 10 x 6 tray", TenBySix, "", {}},
        {"a part of 7 cells", rows(5, "##########") + "\n#######.###\n",
         "the part of 7 cells at row 7, column 1 cannot be made up", {0, 6}},
        {"a lone cell", rows(5, "##########") + "\n#.#########\n",
         "no piece can cover the cell at row 7, column 1", {0, 6}},
        {"64 cells, the square's part apart", rows(2, "##########.##") + rows(4, "##########"), "", {}},
        {"64 cells, four apart that are no square",
         rows(2, "##########.#") + "##########.##\n" + rows(3, "##########"),
         "no piece can cover the part of 4 cells at row 1, column 12", {11, 0}},
        {"64 cells in one part", rows(8, "########"), "", {}},
    };
    for (const Row &row : table) {
        SCOPED_TRACE(row.name);
        const auto tray = readRegion(row.text);
        ASSERT_TRUE(tray) << tray.error();
        const auto obstacle = visibleObstacle(*tray);
        if (row.message.empty()) {
            EXPECT_FALSE(obstacle) << obstacle->message;
            continue;
        }
        ASSERT_TRUE(obstacle);
        EXPECT_NE(obstacle->message.find(row.message), std::string::npos) << obstacle->message;
        EXPECT_EQ(obstacle->cells.front(), row.first);
    }
}

} // namespace
} // namespace tw
