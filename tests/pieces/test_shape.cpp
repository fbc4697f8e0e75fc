#include "Fixtures.h"
#include "Recorders.h"
#include "app/SharedState.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace tw {
namespace {

using test::onBoard;
using test::RecordingCanvas;
using test::RecordingPreview;

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

// The preview calls as short texts: "L x1,y1-x2,y2" for a line, "R l,t wxh
// #rrggbb" for a rectangle with its fill.
std::vector<std::string> callsOf(const RecordingPreview &preview)
{
    std::vector<std::string> out;
    for (const auto &c : preview.calls) {
        char text[80];
        if (c.kind == RecordingPreview::Call::Line)
            std::snprintf(text, sizeof text, "L %ld,%ld-%ld,%ld", c.a, c.b, c.c, c.d);
        else
            std::snprintf(text, sizeof text, "R %ld,%ld %ldx%ld #%02x%02x%02x", c.a, c.b, c.c, c.d,
                          redOf(c.brush), greenOf(c.brush), blueOf(c.brush));
        out.push_back(text);
    }
    return out;
}

struct PrintCase
{
    const char *name;
    int shape;      // orientation on the 10 x 6 tray
    Integer cell;   // NextCell, or XIndex for the X
    Integer render; // 0 colour, 1 monochrome
    Integer originX, originY;
    std::vector<std::string> calls;
};

void PrintTo(const PrintCase &c, std::ostream *os)
{
    *os << c.name;
}

class PrintShapeCase : public testing::TestWithParam<PrintCase>
{
};

TEST_P(PrintShapeCase, DrawsExactlyTheseCalls)
{
    const PrintCase &c = GetParam();
    SharedState state = onBoard(0);
    RecordingPreview preview;
    state.PreviewControl = &preview;
    state.OutputMode = 1;
    state.UnitSize = 300;
    state.RenderMode = c.render;
    state.OriginX = c.originX;
    state.OriginY = c.originY;
    (c.shape == 0 ? state.XIndex : state.NextCell) = c.cell;
    state.BoardShapes[static_cast<std::size_t>(c.shape)].PrintShape(state);
    EXPECT_EQ(callsOf(preview), c.calls);
    EXPECT_EQ(preview.brushStyle, PreviewInterface::BrushStyle::Solid);
    EXPECT_EQ(state.NextCell, c.cell);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PrintShapeCase,
    testing::Values(
        // X at XIndex 8 (offsets 6, 7, 8, 14), origin (1000, 2000).
        PrintCase{"colour_x",
                  0,
                  8,
                  0,
                  1000,
                  2000,
                  {"R 1300,2300 300x300 #000000", "R 1600,2000 300x300 #000000",
                   "R 1600,2300 300x300 #000000", "R 1600,2600 300x300 #000000",
                   "R 1900,2300 300x300 #000000"}},
        PrintCase{"colour_p",
                  55,
                  0,
                  0,
                  0,
                  0,
                  {"R 0,0 300x300 #b0b0b0", "R 0,300 300x300 #b0b0b0", "R 0,600 300x300 #b0b0b0",
                   "R 300,0 300x300 #b0b0b0", "R 300,300 300x300 #b0b0b0"}},
        PrintCase{"mono_horizontal_i",
                  2,
                  0,
                  1,
                  0,
                  0,
                  {"L 0,0-300,0", "L 0,0-0,300", "L 300,0-600,0", "L 600,0-900,0", "L 900,0-1200,0",
                   "L 1200,0-1500,0"}},
        PrintCase{"mono_vertical_i",
                  1,
                  0,
                  1,
                  0,
                  0,
                  {"L 0,0-300,0", "L 0,0-0,300", "L 0,300-0,600", "L 0,600-0,900", "L 0,900-0,1200",
                   "L 0,1200-0,1500"}},
        // The X's outline, then the solid cross over it.
        PrintCase{"mono_x",
                  0,
                  1,
                  1,
                  0,
                  0,
                  {"L 0,300-300,300", "L 0,300-0,600", "L 300,0-600,0", "L 300,0-300,300",
                   "L 300,600-300,900", "L 600,300-900,300", "R 0,300 300x300 #000000",
                   "R 300,0 300x300 #000000", "R 300,300 300x300 #000000",
                   "R 300,600 300x300 #000000", "R 600,300 300x300 #000000"}},
        // No line between the squares of the P's 2 x 2 block.
        PrintCase{
            "mono_p",
            55,
            0,
            1,
            0,
            0,
            {"L 0,0-300,0", "L 0,0-0,300", "L 0,300-0,600", "L 0,600-0,900", "L 300,0-600,0"}}),
    [](const auto &info) { return std::string(info.param.name); });

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
