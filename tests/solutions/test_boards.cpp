#include "Recorders.h"
#include "solutions/Boards.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(SetBoardLayout, MaxUnitSizeIsTheSmallerOfTheTwoRatios)
{
    struct Case
    {
        const char *name;
        Integer board;
        Long width, height, orientation;
        double expected;
    };
    // Letter paper with quarter-inch margins: 8 x 10.5 inches inside.
    for (const Case &c : {Case{"10x6 portrait, width limits", 0, 12240, 15840, 0, 8.0 / 10},
                          Case{"8x8 portrait", 4, 12240, 15840, 0, 8.0 / 8},
                          Case{"8x8 landscape, height limits", 4, 12240, 15840, 1, 8.0 / 8},
                          Case{"20x3 landscape", 3, 12240, 15840, 1, 10.5 / 20},
                          // wide enough for the columns, short for the rows
                          Case{"10x6 on a strip", 0, 28800, 2880 + 720, 0, 2.0 / 6}}) {
        test::RecordingPreview preview(c.width, c.height);
        for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop,
                         &PreviewInterface::setMarginRight, &PreviewInterface::setMarginBottom})
            (preview.*set)(360);
        preview.setOrientation(static_cast<Integer>(c.orientation));
        const TrayInfo &tray = Trays[static_cast<std::size_t>(c.board)];
        EXPECT_FLOAT_EQ(maxUnitSize(preview, tray.cols, tray.rows), static_cast<float>(c.expected))
            << c.name;
    }
}

} // namespace
} // namespace tw
