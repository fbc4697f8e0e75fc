#include "Recorders.h"
#include "app/SharedState.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using test::RecordingCanvas;
using test::RecordingPreview;

// A fresh state with board `board` current, its shapes built and the grid
// cleared.
SharedState onBoard(Integer board)
{
    SharedState state;
    LoadShapes(state);
    SetBoardLayout(state, board);
    BuildBoardShapes(state);
    ClearBoard(state);
    state.OutputMode = -1; // lay without drawing unless a test asks
    return state;
}

std::vector<int> occupiedBoardCells(const SharedState &state)
{
    std::vector<int> cells;
    for (int c = 0; c < state.Cols; ++c)
        for (int r = 0; r < state.Rows; ++r)
            if (state.BoardGrid[static_cast<std::size_t>(c * state.Stride + r)])
                cells.push_back(c * state.Stride + r);
    return cells;
}

struct ModifyCase
{
    const char *name;
    Integer board;
    std::vector<int> offsets;
    std::vector<int> expected;
};

void PrintTo(const ModifyCase &c, std::ostream *os)
{
    *os << c.name;
}

class ModifyOnTray : public testing::TestWithParam<ModifyCase>
{
};

TEST_P(ModifyOnTray, ConvertsStrideEightOffsetsToTheTraysStride)
{
    SharedState state = onBoard(GetParam().board);
    std::vector<int> result;
    for (int off : GetParam().offsets)
        result.push_back(orientation(0).Modify(state, static_cast<Integer>(off)));
    EXPECT_EQ(result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, ModifyOnTray,
    testing::Values(ModifyCase{"x_on_10x6", 0, {7, 8, 9, 16}, {6, 7, 8, 14}},
                    ModifyCase{"i_on_10x6", 0, {8, 16, 24, 32}, {7, 14, 21, 28}},
                    ModifyCase{"x_on_8x8", 4, {7, 8, 9, 16}, {8, 9, 10, 18}},
                    ModifyCase{"i_on_8x8", 4, {8, 16, 24, 32}, {9, 18, 27, 36}},
                    ModifyCase{"x_on_20x3", 3, {7, 8, 9, 16}, {3, 4, 5, 8}},
                    ModifyCase{"five_20x3", 3, {5}, {1}}, ModifyCase{"five_12x5", 1, {5}, {3}},
                    ModifyCase{"five_10x6", 0, {5}, {4}}, ModifyCase{"five_8x8", 4, {5}, {6}},
                    ModifyCase{"below_five_unchanged_20x3", 3, {1, 2, 3, 4}, {1, 2, 3, 4}},
                    ModifyCase{"below_five_unchanged_15x4", 2, {1, 2, 3, 4}, {1, 2, 3, 4}},
                    ModifyCase{"below_five_unchanged_8x8", 4, {1, 2, 3, 4}, {1, 2, 3, 4}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Fits, MarksTheFiveCellsAndMovesNextCellToTheFirstFreeCell)
{
    SharedState state = onBoard(0);
    // The vertical I at cell 0 fills column 0's rows 0-4; row 5 stays free.
    EXPECT_TRUE(state.BoardShapes[1].Fits(state, 0));
    EXPECT_EQ(occupiedBoardCells(state), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(state.NextCell, 5);
    // The X at X_Index 2 (offsets 6, 7, 8, 14 on 10 x 6).
    SharedState x = onBoard(0);
    EXPECT_TRUE(x.BoardShapes[0].Fits(x, 2));
    EXPECT_EQ(occupiedBoardCells(x), (std::vector<int>{2, 8, 9, 10, 16}));
    EXPECT_EQ(x.NextCell, 3);
}

TEST(Fits, OnTheLastFreeCellsSetsNextCellPastTheGrid)
{
    SharedState state = onBoard(0);
    for (int cell = 0; cell <= state.GridMax; ++cell)
        state.BoardGrid[static_cast<std::size_t>(cell)] = true;
    for (int cell : {69 - 7, 69 - 14, 69 - 21, 69 - 28, 69 - 35}) // a horizontal I on row 0
        state.BoardGrid[static_cast<std::size_t>(cell)] = false;
    EXPECT_TRUE(state.BoardShapes[2].Fits(state, 34));
    EXPECT_EQ(state.NextCell, state.GridMax + 1);
}

TEST(Fits, RefusesAPlacementThatLeavesTheGridAndChangesNothing)
{
    SharedState state = onBoard(0);
    const auto before = state.BoardGrid;
    state.NextCell = 12;
    EXPECT_FALSE(state.BoardShapes[2].Fits(state, 60)); // 60 + 28 > GridMax 77
    EXPECT_FALSE(state.BoardShapes[2].Fits(state, -1));
    EXPECT_EQ(state.BoardGrid, before);
    EXPECT_EQ(state.NextCell, 12);
}

TEST(Remove, UndoesFitsAndPaintsTheCellsWhite)
{
    SharedState state = onBoard(0);
    RecordingCanvas canvas;
    state.Screen = &canvas;
    state.OutputMode = 0;
    state.UnitSize = 200;
    const auto before = state.BoardGrid;
    const clsShape &f = state.BoardShapes[47];
    ASSERT_TRUE(f.Fits(state, 8));
    ASSERT_TRUE(f.Remove(state, 8));
    EXPECT_EQ(state.BoardGrid, before);
    EXPECT_EQ(state.NextCell, 8);
    EXPECT_EQ(state.DrawColor, f.Color);
    ASSERT_EQ(canvas.boxes.size(), 10u);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(canvas.boxes[k].colour, f.Color);
        EXPECT_EQ(canvas.boxes[k + 5].colour, White);
        EXPECT_EQ(canvas.boxes[k + 5].x, canvas.boxes[k].x);
        EXPECT_EQ(canvas.boxes[k + 5].y, canvas.boxes[k].y);
    }
}

TEST(DrawIndex, PaintsEachSquareAtColumnAndRowTimesTheUnit)
{
    SharedState state = onBoard(0); // Stride 7
    RecordingCanvas canvas;
    state.Screen = &canvas;
    state.UnitSize = 300;
    state.OriginX = 1000;
    state.OriginY = 2000;
    clsShape s = state.BoardShapes[1]; // vertical I, offsets 1..4
    s.Square2 = 8 - 0;                 // square 2 at index 8: column 1, row 1
    s.Square3 = 5;                     // index 5: column 0, row 5 (last row)
    s.DrawIndex(state, 0);
    ASSERT_EQ(canvas.boxes.size(), 5u);
    EXPECT_EQ(canvas.boxes[0], (RecordingCanvas::Box{1000, 2000, 300, 300, s.Color}));
    EXPECT_EQ(canvas.boxes[1], (RecordingCanvas::Box{1300, 2300, 300, 300, s.Color}));
    EXPECT_EQ(canvas.boxes[2], (RecordingCanvas::Box{1000, 3500, 300, 300, s.Color}));
    EXPECT_EQ(state.DrawColor, s.Color);
}

TEST(DrawIndex, RoundsFractionalUnitsHalvesToEven)
{
    SharedState state = onBoard(0);
    RecordingCanvas canvas;
    state.Screen = &canvas;
    state.UnitSize = 2.5f;
    state.BoardShapes[2].DrawIndex(state, 0); // horizontal I: columns 0..4
    std::vector<double> xs;
    for (const auto &b : canvas.boxes)
        xs.push_back(b.x);
    EXPECT_EQ(xs, (std::vector<double>{0, 2, 5, 8, 10})); // 2.5 -> 2, 7.5 -> 8
}

TEST(Fits, DrawsOnlyOnTheSurfaceOfTheCurrentOutputMode)
{
    struct Case
    {
        Long mode;
        std::size_t screenBoxes, previewCalls;
    };
    for (const Case &c : {Case{0, 5, 0}, Case{1, 0, 5}, Case{2, 0, 0}}) {
        SharedState state = onBoard(0);
        RecordingCanvas canvas;
        RecordingPreview preview;
        state.Screen = &canvas;
        state.PreviewControl = &preview;
        state.UnitSize = 200;
        state.OutputMode = c.mode;
        state.NextCell = 0;
        state.BoardShapes[1].Fits(state, 0);
        EXPECT_EQ(canvas.boxes.size(), c.screenBoxes) << "mode " << c.mode;
        EXPECT_EQ(preview.ofKind(RecordingPreview::Call::Rectangle).size(), c.previewCalls)
            << "mode " << c.mode;
    }
}

// --- report rendering -------------------------------------------------------

struct PrintFixture
{
    SharedState state = onBoard(0);
    RecordingPreview preview;

    explicit PrintFixture(Integer renderMode)
    {
        state.PreviewControl = &preview;
        state.OutputMode = 1;
        state.UnitSize = 300;
        state.RenderMode = renderMode;
    }

    std::vector<std::array<long, 4>> lines() const
    {
        std::vector<std::array<long, 4>> out;
        for (const auto &c : preview.ofKind(RecordingPreview::Call::Line)) {
            EXPECT_EQ(c.fore, Black);
            out.push_back({c.a, c.b, c.c, c.d});
        }
        return out;
    }
};

TEST(PrintShape, ColourDrawsTheXAsFiveSquaresAtXIndex)
{
    PrintFixture f(0);
    f.state.OriginX = 1000;
    f.state.OriginY = 2000;
    f.state.XIndex = 8;
    f.state.NextCell = 0;
    f.state.BoardShapes[0].PrintShape(f.state);
    EXPECT_EQ(f.state.NextCell, 8);
    EXPECT_EQ(f.preview.brushStyle, PreviewInterface::BrushStyle::Solid);
    using Call = RecordingPreview::Call;
    const std::vector<Call> expected{{Call::Rectangle, 1300, 2300, 300, 300, 0, 0},
                                     {Call::Rectangle, 1600, 2000, 300, 300, 0, 0},
                                     {Call::Rectangle, 1600, 2300, 300, 300, 0, 0},
                                     {Call::Rectangle, 1600, 2600, 300, 300, 0, 0},
                                     {Call::Rectangle, 1900, 2300, 300, 300, 0, 0}};
    EXPECT_EQ(f.preview.calls, expected);
}

TEST(PrintShape, ColourFillsAndOutlinesInThePieceColour)
{
    PrintFixture f(0);
    const clsShape &p = f.state.BoardShapes[55];
    f.state.NextCell = 0;
    p.PrintShape(f.state);
    ASSERT_EQ(f.preview.calls.size(), 5u);
    for (const auto &c : f.preview.calls) {
        EXPECT_EQ(c.kind, RecordingPreview::Call::Rectangle);
        EXPECT_EQ(c.fore, p.Color);
        EXPECT_EQ(c.brush, p.Color);
    }
}

TEST(PrintShape, MonochromeHorizontalIHasFiveTopEdgesAndOneLeftEdge)
{
    PrintFixture f(1);
    f.state.NextCell = 0;
    f.state.BoardShapes[2].PrintShape(f.state);
    EXPECT_EQ(f.lines(), (std::vector<std::array<long, 4>>{{0, 0, 300, 0},
                                                           {0, 0, 0, 300},
                                                           {300, 0, 600, 0},
                                                           {600, 0, 900, 0},
                                                           {900, 0, 1200, 0},
                                                           {1200, 0, 1500, 0}}));
}

TEST(PrintShape, MonochromeVerticalIHasOneTopEdgeAndFiveLeftEdges)
{
    PrintFixture f(1);
    f.state.NextCell = 0;
    f.state.BoardShapes[1].PrintShape(f.state);
    EXPECT_EQ(f.lines(), (std::vector<std::array<long, 4>>{{0, 0, 300, 0},
                                                           {0, 0, 0, 300},
                                                           {0, 300, 0, 600},
                                                           {0, 600, 0, 900},
                                                           {0, 900, 0, 1200},
                                                           {0, 1200, 0, 1500}}));
}

TEST(PrintShape, MonochromeXDrawsItsEdgesThenASolidCross)
{
    PrintFixture f(1);
    f.state.XIndex = 1; // left arm at column 0, row 1
    f.state.BoardShapes[0].PrintShape(f.state);
    const auto &calls = f.preview.calls;
    // Edges first: the left arm's top and left, the top square's top and
    // left, the bottom square's left, the right arm's top; the centre has X
    // squares above and to its left.
    ASSERT_EQ(calls.size(), 6u + 5u);
    EXPECT_EQ(f.lines(), (std::vector<std::array<long, 4>>{{0, 300, 300, 300},
                                                           {0, 300, 0, 600},
                                                           {300, 0, 600, 0},
                                                           {300, 0, 300, 300},
                                                           {300, 600, 300, 900},
                                                           {600, 300, 900, 300}}));
    using Call = RecordingPreview::Call;
    const std::vector<Call> cross(calls.begin() + 6, calls.end());
    EXPECT_EQ(cross, (std::vector<Call>{{Call::Rectangle, 0, 300, 300, 300, 0, 0},
                                        {Call::Rectangle, 300, 0, 300, 300, 0, 0},
                                        {Call::Rectangle, 300, 300, 300, 300, 0, 0},
                                        {Call::Rectangle, 300, 600, 300, 300, 0, 0},
                                        {Call::Rectangle, 600, 300, 300, 300, 0, 0}}));
}

TEST(PrintShape, MonochromeDrawsNoLineInsideTheTwoByTwoBlockOfAP)
{
    PrintFixture f(1);
    f.state.NextCell = 0;
    f.state.BoardShapes[55].PrintShape(f.state); // ##/##/#.
    // Top edges of (0,0) and (1,0); left edges of column 0's three squares.
    EXPECT_EQ(
        f.lines(),
        (std::vector<std::array<long, 4>>{
            {0, 0, 300, 0}, {0, 0, 0, 300}, {0, 300, 0, 600}, {0, 600, 0, 900}, {300, 0, 600, 0}}));
}

TEST(PrintShape, DoesNothingWithoutAPreviewControl)
{
    SharedState state = onBoard(0);
    state.NextCell = 3;
    state.XIndex = 9;
    state.BoardShapes[0].PrintShape(state);
    EXPECT_EQ(state.NextCell, 3);
}

} // namespace
} // namespace tw
