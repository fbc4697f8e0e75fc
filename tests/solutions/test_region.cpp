#include "Table.h"
#include "solutions/Region.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

// What a region file may hold, and the line that refuses what it may not.
TEST(Region, IsReadFromTextOrRefusedWithTheReason)
{
    for (const auto &row : test::tableRows("regions.txt")) {
        SCOPED_TRACE(row[0]);
        const auto read = readRegion(test::unescaped(row[1]));
        if (row[2] == "-") {
            ASSERT_FALSE(read);
            EXPECT_NE(read.error().find(row.at(3)), std::string::npos) << read.error();
        } else {
            ASSERT_TRUE(read) << read.error();
            EXPECT_EQ(std::to_string(read->cols()) + " x " + std::to_string(read->rows()), row[2]);
        }
    }
}

// What can be seen at once to leave a region untileable, and where; a
// region that only a search can judge is not refused.
TEST(Region, SaysWhyItCannotBeTiledBeforeAnySearch)
{
    for (const auto &row : test::tableRows("obstacles.txt")) {
        SCOPED_TRACE(row[0]);
        const auto tray = readRegion(test::unescaped(row[1]));
        ASSERT_TRUE(tray) << tray.error();
        const auto obstacle = visibleObstacle(*tray);
        if (row[2] == "-") {
            EXPECT_FALSE(obstacle) << obstacle->message;
            continue;
        }
        ASSERT_TRUE(obstacle);
        EXPECT_NE(obstacle->message.find(row.at(3)), std::string::npos) << obstacle->message;
        const auto [column, rowOfCell] = obstacle->cells.front();
        EXPECT_EQ(std::to_string(column) + " " + std::to_string(rowOfCell), row[2]);
    }
}

} // namespace
} // namespace tw
