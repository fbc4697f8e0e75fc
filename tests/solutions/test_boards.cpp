#include "Recorders.h"
#include "app/SharedState.h"
#include "solutions/Boards.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

struct GridCase
{
    const char *name;
    Integer board;
    Integer stride, gridMax;
};

void PrintTo(const GridCase &c, std::ostream *os)
{
    *os << c.name;
}

class ClearBoardOnTray : public testing::TestWithParam<GridCase>
{
};

TEST_P(ClearBoardOnTray, SizesTheGridForTheTray)
{
    const GridCase &g = GetParam();
    SharedState state;
    SetBoardLayout(state, g.board);
    EXPECT_EQ(state.Stride, g.stride);
    EXPECT_EQ(state.GridMax, g.gridMax);
    ClearBoard(state);
    ASSERT_EQ(state.BoardGrid.size(), static_cast<std::size_t>(g.gridMax + 1));
    // Leftovers of an earlier board are discarded whole.
    state.BoardGrid.assign(200, true);
    ClearBoard(state);
    EXPECT_EQ(state.BoardGrid.size(), static_cast<std::size_t>(g.gridMax + 1));
    EXPECT_FALSE(state.BoardGrid[0]);
}

INSTANTIATE_TEST_SUITE_P(Trays, ClearBoardOnTray,
                         testing::Values(GridCase{"b10x6", 0, 7, 77}, GridCase{"b12x5", 1, 6, 78},
                                         GridCase{"b15x4", 2, 5, 80}, GridCase{"b20x3", 3, 4, 84},
                                         GridCase{"b8x8", 4, 9, 81}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ClearBoard, TenBySixHasExactlyTheListedSentinels)
{
    SharedState state;
    SetBoardLayout(state, 0);
    ClearBoard(state);
    std::vector<int> set;
    for (int i = 0; i <= state.GridMax; ++i)
        if (state.BoardGrid[static_cast<std::size_t>(i)])
            set.push_back(i);
    std::vector<int> expected{6, 13, 20, 27, 34, 41, 48, 55, 62};
    for (int i = 69; i <= 77; ++i)
        expected.push_back(i);
    EXPECT_EQ(set, expected);
}

TEST(SetBoardLayout, TakesTheTraysPlaceAndSize)
{
    SharedState state;
    SetBoardLayout(state, 3);
    EXPECT_EQ(state.BoardIndex, 3);
    EXPECT_EQ(state.TrayLeft, 3000);
    EXPECT_EQ(state.TrayTop, 3850);
    EXPECT_EQ(state.Cols, 20);
    EXPECT_EQ(state.ColsPlus1, 21);
    EXPECT_EQ(state.Rows, 3);
    EXPECT_THROW(SetBoardLayout(state, 5), std::out_of_range);
    EXPECT_THROW(SetBoardLayout(state, -1), std::out_of_range);
}

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
        SharedState state;
        test::RecordingPreview preview(c.width, c.height);
        for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop,
                         &PreviewInterface::setMarginRight, &PreviewInterface::setMarginBottom})
            (preview.*set)(360);
        preview.setOrientation(static_cast<Integer>(c.orientation));
        state.PreviewControl = &preview;
        SetBoardLayout(state, c.board);
        EXPECT_FLOAT_EQ(state.MaxUnitSize, static_cast<float>(c.expected)) << c.name;
    }
}

TEST(SetBoardLayout, APrintableExtentBeyondSixteenBitsIsReportedNotWrapped)
{
    SharedState state;
    test::RecordingPreview preview(40000, 15840);
    state.PreviewControl = &preview;
    EXPECT_THROW(SetBoardLayout(state, 0), IntegerOverflow);
}

TEST(ResetUnitSize, FollowsTheOpenTab)
{
    SharedState state;
    SetBoardLayout(state, 3);
    state.OutputMode = 1;
    const auto side = ResetUnitSize(state);
    ASSERT_TRUE(side);
    EXPECT_EQ(sideText(*side), "0.375");
    EXPECT_FLOAT_EQ(state.UnitSize, 540);
    EXPECT_FLOAT_EQ(state.DoubleUnit, 1080);

    state.OutputMode = 0;
    EXPECT_FALSE(ResetUnitSize(state));
    EXPECT_FLOAT_EQ(state.UnitSize, 200);
    EXPECT_FLOAT_EQ(state.DoubleUnit, 400);
}

TEST(ResetUnitSize, OnTheReportTabRestoresTheBoardSize)
{
    SharedState state;
    SetBoardLayout(state, 2);
    state.Rows = 7, state.Stride = 8; // as the piece row leaves them
    state.OutputMode = 1;
    ResetUnitSize(state);
    EXPECT_EQ(state.Rows, 4);
    EXPECT_EQ(state.Stride, 5);
    EXPECT_EQ(state.Cols, 15);
}

TEST(SideText, WritesEachDefaultSideAsTyped)
{
    std::vector<std::string> texts;
    for (const TrayInfo &t : Trays)
        texts.push_back(sideText(t.defaultSide));
    EXPECT_EQ(texts, (std::vector<std::string>{"0.0278", "0.0408", "0.0468", "0.375", "0.0286"}));
}

} // namespace
} // namespace tw
