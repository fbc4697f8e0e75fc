#include "Drawn.h"
#include "Fixtures.h"
#include "Recorders.h"
#include "pieces/Appearance.h"
#include "pieces/Painter.h"
#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/Region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

namespace tw {
namespace {

using Call = test::RecordingPreview::Call;

// The first 10 x 6 solution.
const SolutionRecord First = test::record(0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36});

// A 10 x 6 tray with three of the first solution's pieces laid: the X,
// the U and the P, in the first's places.
Tiling partial()
{
    Tiling full = *DecodeSolution(0, First);
    Tiling part{0, full.cols, full.rows, {}, {}};
    for (const Placement &p : full.placements)
        if (p.shape == 0 || orientation(p.shape).Letter == "U" ||
            orientation(p.shape).Letter == "P")
            part.placements.push_back(p);
    return part;
}

// On paper a piece carries its letter when its square is at least 117
// twips (2.1 mm) wide, and none a hair below that.
TEST(Letters, OnPaperNeedASquareOfTheLeastSide)
{
    for (const auto &[unit, letters] : {std::pair{117.0f, 12u}, {117.4f, 12u}, {116.4f, 0u}}) {
        test::RecordingPreview page;
        printTiling(page, *DecodeSolution(0, First), {0, 0, unit}, PaperLook{.look = {true}});
        EXPECT_EQ(page.ofKind(Call::Letter).size(), letters) << unit;
    }
}

// On paper a hole is shaded and outlined where it meets the tray's cells,
// and no line runs between two holes: the centre's four, and one a cell in
// from the corner.
TEST(PartialTiling, OnPaperOutlinesAHoleWhereItMeetsTheTray)
{
    using Edge = std::array<long, 4>;
    const struct
    {
        const char *rows;
        std::vector<Edge> edges, none;
        int holes;
    } trays[] = {
        {"########/########/########/###..###/###..###/########/########/########",
         {{900, 900, 900, 1200},
          {900, 1200, 900, 1500},
          {1500, 900, 1500, 1200},
          {1500, 1200, 1500, 1500},
          {900, 900, 1200, 900},
          {1200, 900, 1500, 900},
          {900, 1500, 1200, 1500},
          {1200, 1500, 1500, 1500}},
         {{1200, 900, 1200, 1200}, {900, 1200, 1200, 1200}},
         4},
        {"####/#.##/####",
         {{300, 300, 300, 600}, {300, 300, 600, 300}, {600, 300, 600, 600}, {300, 600, 600, 600}},
         {},
         1},
    };
    for (const auto &t : trays) {
        test::RecordingPreview page;
        printTiling(page, emptyTiling(test::drawn(t.rows), 5), {0, 0, 300}, PaperLook{});
        std::set<Edge> black;
        for (const Call &c : page.ofKind(Call::Line))
            if (c.fore == Black)
                black.insert({c.a, c.b, c.c, c.d});
        for (const Edge &edge : t.edges)
            EXPECT_EQ(black.count(edge), 1u) << t.rows << ": " << edge[0] << "," << edge[1];
        for (const Edge &between : t.none)
            EXPECT_EQ(black.count(between), 0u) << between[0] << "," << between[1];
        const auto shaded = page.ofKind(Call::Rectangle);
        EXPECT_EQ(std::count_if(shaded.begin(), shaded.end(),
                                [](const Call &c) { return c.brush == GivenShade; }),
                  t.holes);
    }
}

TEST(PartialTiling, OnPaperShowsTheEmptyCellsGridAndTheGivenPiecesApart)
{
    const Tiling t = partial();
    const auto draw = [&](Rendering rendering, int given) {
        test::RecordingPreview page;
        PaperLook look;
        look.rendering = rendering;
        look.gridOnEmpty = true;
        look.given = given;
        printTiling(page, t, {0, 0, 300}, look);
        return page;
    };
    const auto inGrey = [](const test::RecordingPreview &page, Colour colour) {
        std::vector<Call> lines;
        for (const Call &c : page.ofKind(Call::Line))
            if (c.fore == colour)
                lines.push_back(c);
        return lines;
    };
    // Monochrome: each empty cell's top and left edge in the grid's grey;
    // the given pieces shaded and outlined in black, their edges towards
    // empty cells too.
    const auto mono = draw(Rendering::Monochrome, 3);
    EXPECT_EQ(inGrey(mono, GridGrey).size(), 2u * 45);
    for (const Call &r : mono.ofKind(Call::Rectangle))
        EXPECT_EQ(r.brush, GivenShade) << std::hex << r.brush;
    EXPECT_EQ(mono.ofKind(Call::Rectangle).size(), 15u); // the X given is shaded too
    const auto black = inGrey(mono, Black);
    // A line along the right edge of the U's cell (2, 1), whose right
    // neighbour (3, 1), the F's, is empty: x = 900 from y = 300 to 600.
    // And one along the bottom of the P's cell (3, 0), above the empty
    // (3, 1): y = 300 from x = 900 to 1200.
    for (const auto &[x1, y1, x2, y2] : {std::array{900, 300, 900, 600}, {900, 300, 1200, 300}})
        EXPECT_TRUE(std::any_of(
            black.begin(), black.end(),
            [&](const Call &c) { return c.a == x1 && c.b == y1 && c.c == x2 && c.d == y2; }))
            << x1 << "," << y1 << " to " << x2 << "," << y2;
    // Colour: no grid over the pieces' colours, given pieces in full colour
    // and, in an answer, the others pale.
    const auto colour = draw(Rendering::Colour, 0);
    for (const Call &r : colour.ofKind(Call::Rectangle))
        EXPECT_NE(r.brush, GivenShade);
    Tiling whole = *DecodeSolution(0, First);
    test::RecordingPreview answer;
    PaperLook look;
    look.given = 1; // the X given, the others laid by the pupil
    printTiling(answer, whole, {0, 0, 300}, look);
    const auto cells = answer.ofKind(Call::Rectangle);
    ASSERT_EQ(cells.size(), 60u);
    EXPECT_EQ(cells.front().brush, Black);                                  // the X, as given
    EXPECT_GT(greenOf(cells.back().brush), greenOf(orientation(36).Color)); // a paler N
}

} // namespace
} // namespace tw
