#include "Fixtures.h"
#include "Recorders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace tw {
namespace {

using test::RecordingCanvas;
using test::RecordingPreview;

TEST(Fits, RefusesAPlacementThatLeavesTheGridAndChangesNothing)
{
    PieceState state = boardGrid(0);
    const auto before = state.BoardGrid;
    EXPECT_FALSE(state.BoardShapes[2].Fits(state, 60)); // 60 + 28 > GridMax 77
    EXPECT_FALSE(state.BoardShapes[2].Fits(state, -1));
    EXPECT_EQ(state.BoardGrid, before);
}

// The preview calls as short texts: "L x1,y1-x2,y2" for a line, "R l,t
// #rrggbb" for a 300-twip square filled with a colour.
std::string callsOf(const RecordingPreview &preview)
{
    std::ostringstream out;
    for (const auto &c : preview.calls) {
        char text[80];
        if (c.kind == RecordingPreview::Call::Line)
            std::snprintf(text, sizeof text, "L %ld,%ld-%ld,%ld; ", c.a, c.b, c.c, c.d);
        else
            std::snprintf(text, sizeof text, "R %ld,%ld #%02x%02x%02x; ", c.a, c.b, redOf(c.brush),
                          greenOf(c.brush), blueOf(c.brush));
        out << text;
    }
    return out.str();
}

struct PrintCase
{
    const char *name;
    int shape;      // orientation on the 10 x 6 tray
    Integer cell;   // NextCell, or XIndex for the X
    Integer render; // 0 colour, 1 monochrome
    Integer origin; // x and y of the tray's cell (0, 0)
    const char *calls;
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
    const PieceState state = boardGrid(0);
    RecordingPreview preview;
    PaperLook look;
    look.rendering = c.render == 0 ? Rendering::Colour : Rendering::Monochrome;
    state.BoardShapes[static_cast<std::size_t>(c.shape)].PrintShape(
        preview, c.cell, state.Stride, {double(c.origin), double(c.origin), 300}, look);
    EXPECT_EQ(callsOf(preview), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PrintShapeCase,
    testing::Values(
        PrintCase{"mono_horizontal_i", 2, 0, 1, 0,
                  "L 0,0-300,0; L 0,0-0,300; L 300,0-600,0; L 600,0-900,0; L 900,0-1200,0; "
                  "L 1200,0-1500,0; "},
        PrintCase{"mono_vertical_i", 1, 0, 1, 0,
                  "L 0,0-300,0; L 0,0-0,300; L 0,300-0,600; L 0,600-0,900; L 0,900-0,1200; "
                  "L 0,1200-0,1500; "},
        // The X's outline, then the solid cross over it.
        PrintCase{"mono_x", 0, 1, 1, 0,
                  "L 0,300-300,300; L 0,300-0,600; L 300,0-600,0; L 300,0-300,300; "
                  "L 300,600-300,900; L 600,300-900,300; R 0,300 #000000; R 300,0 #000000; "
                  "R 300,300 #000000; R 300,600 #000000; R 600,300 #000000; "},
        // No line between the squares of the P's 2 x 2 block.
        PrintCase{"mono_p", 55, 0, 1, 0,
                  "L 0,0-300,0; L 0,0-0,300; L 0,300-0,600; L 0,600-0,900; L 300,0-600,0; "}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tw
