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
#include <cmath>
#include <set>

namespace tw {
namespace {

using test::RecordingCanvas;
using Call = test::RecordingPreview::Call;

// The first 10 x 6 solution, and an 8 x 8 one with the square in the centre.
const std::pair<Integer, SolutionRecord> Examples[] = {
    {0, test::record(0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36})},
    {SquareBoard, test::record(30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61})}};

// The screen's picture of a record, as the "Display" tab paints it.
RecordingCanvas painted(Integer board, const SolutionRecord &record, Appearance look)
{
    const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
    RecordingCanvas canvas;
    paintTiling(canvas, *DecodeSolution(board, record),
                {double(tray.trayLeft), double(tray.trayTop), ScreenUnit}, look);
    return canvas;
}

TEST(Letters, EachPieceCarriesItsLetterInItsLargestSquare)
{
    for (const auto &[board, record] : Examples)
        for (const Palette palette : {Palette::Standard, Palette::Safe}) {
            const std::string grid = letterGrid(*DecodeSolution(board, record));
            const TrayInfo &tray = Trays[static_cast<std::size_t>(board)];
            const auto letterAt = [&](double x, double y) {
                const auto c = static_cast<std::size_t>(std::floor((x - tray.trayLeft) / 200));
                const auto r = static_cast<std::size_t>(std::floor((y - tray.trayTop) / 200));
                return grid.at(r * static_cast<std::size_t>(tray.cols + 1) + c);
            };
            const RecordingCanvas plain = painted(board, record, {false, palette});
            const RecordingCanvas lettered = painted(board, record, {true, palette});
            EXPECT_TRUE(plain.letters.empty());
            EXPECT_EQ(plain.boxes, lettered.boxes); // letters only add to the picture
            std::set<char> seen;
            for (const auto &l : lettered.letters) {
                seen.insert(l.letter);
                // On its own piece: the P's and the square's in the middle of
                // their 2 x 2 block, every quarter around the middle theirs.
                const double cx = l.x + 100, cy = l.y + 100;
                const double reach = l.letter == 'P' || l.letter == 'O' ? 150 : 50;
                for (double dx : {-reach, reach})
                    for (double dy : {-reach, reach})
                        EXPECT_EQ(letterAt(cx + dx, cy + dy), l.letter);
                // Black or white, as it reads on the colour painted under it.
                const auto under = std::find_if(
                    lettered.boxes.rbegin(), lettered.boxes.rend(), [&](const auto &b) {
                        return cx >= b.x && cx < b.x + b.width && cy >= b.y && cy < b.y + b.height;
                    });
                EXPECT_EQ(l.colour, letterColourOn(under->colour)) << l.letter;
            }
            EXPECT_EQ(seen.size(), board == SquareBoard ? 13u : 12u);
        }
}

TEST(Letters, OnPagesReadAsTheirRenderingAndNeedRoom)
{
    for (const auto &[board, record] : Examples)
        for (const Integer render : {0, 1})
            for (const Single unit : {200.0f, float(MinimumLetterSquare), 116.0f}) {
                test::RecordingPreview preview;
                PaperLook look;
                look.rendering = render == 0 ? Rendering::Colour : Rendering::Monochrome;
                look.look = {true, Palette::Safe};
                printTiling(preview, *DecodeSolution(board, record), {0, 500, unit}, look);
                const auto letters = preview.ofKind(Call::Letter);
                // A unit square under 117 twips holds no letter.
                EXPECT_EQ(letters.size(), unit < MinimumLetterSquare ? 0u
                                          : board == SquareBoard     ? 13u
                                                                     : 12u);
                // Black on outlines but white on the solid X; on colour, what
                // reads better.
                for (const Call &l : letters)
                    EXPECT_EQ(l.fore, l.text == "O" ? letterColourOn(MidGrey)
                                      : render == 1 ? (l.text == "X" ? White : Black)
                                                    : letterColourOn(l.brush))
                        << l.text << " rendering " << render;
                EXPECT_EQ(preview.ForeColor(), Black); // left as the page expects it
                test::RecordingCanvas screen;          // which needs the same room
                paintTiling(screen, *DecodeSolution(board, record), {0, 500, unit}, look.look);
                EXPECT_EQ(screen.letters.size(), letters.size()) << unit;
            }
}

// A 10 x 6 tray with three of the first solution's pieces laid: the X,
// the U and the P, in the first's places.
Tiling partial()
{
    Tiling full = *DecodeSolution(0, Examples[0].second);
    Tiling part{0, full.cols, full.rows, {}, {}};
    for (const Placement &p : full.placements)
        if (p.shape == 0 || orientation(p.shape).Letter == "U" ||
            orientation(p.shape).Letter == "P")
            part.placements.push_back(p);
    return part;
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
    Tiling whole = *DecodeSolution(0, Examples[0].second);
    test::RecordingPreview answer;
    PaperLook look;
    look.given = 1; // the X given, the others laid by the pupil
    printTiling(answer, whole, {0, 0, 300}, look);
    const auto cells = answer.ofKind(Call::Rectangle);
    ASSERT_EQ(cells.size(), 60u);
    EXPECT_EQ(cells.front().brush, Black);                                  // the X, as given
    EXPECT_GT(greenOf(cells.back().brush), greenOf(orientation(36).Color)); // a paler N
}

// On an answer, the X and the square show whether they were given as every
// piece does: in monochrome shaded or white, in colour full or pale.
TEST(PartialTiling, AnAnswerTellsTheGivenXAndSquareFromThePlacedOnes)
{
    Tiling whole = *DecodeSolution(SquareBoard, Examples[1].second);
    const auto first = [&](Integer shape) {
        std::stable_partition(whole.placements.begin(), whole.placements.end(),
                              [shape](const Placement &p) { return p.shape == shape; });
    };
    struct Row
    {
        const char *name;
        Rendering rendering;
        bool xGiven, squareGiven;
        Colour x, square; // the brush of the X's cells, and of the square
    };
    for (const Row &row :
         {Row{"monochrome, X given", Rendering::Monochrome, true, false, GivenShade, White},
          Row{"monochrome, square given", Rendering::Monochrome, false, true, White, GivenShade},
          Row{"colour, square given", Rendering::Colour, false, true, 0, MidGrey},
          Row{"colour, square placed", Rendering::Colour, true, false, 0, 0}}) {
        SCOPED_TRACE(row.name);
        first(row.xGiven ? Integer(0) : SquarePiece);
        PaperLook look;
        look.rendering = row.rendering;
        look.given = 1;
        test::RecordingPreview page;
        printTiling(page, whole, {0, 0, 300}, look);
        const auto rectangles = page.ofKind(Call::Rectangle);
        const auto squareCall = std::find_if(rectangles.begin(), rectangles.end(),
                                             [](const Call &c) { return c.c == 600; });
        ASSERT_NE(squareCall, rectangles.end());
        if (row.square != 0 || row.rendering == Rendering::Monochrome)
            EXPECT_EQ(squareCall->brush, row.square) << std::hex << squareCall->brush;
        else
            EXPECT_NE(squareCall->brush, MidGrey); // pale
        if (row.rendering == Rendering::Monochrome) {
            const auto of = [&](Colour c) {
                return std::count_if(rectangles.begin(), rectangles.end(),
                                     [c](const Call &r) { return r.c == 300 && r.brush == c; });
            };
            EXPECT_EQ(of(Black), 0);
            EXPECT_EQ(of(GivenShade), row.x == GivenShade ? 5 : 0);
        }
    }
}

} // namespace
} // namespace tw
