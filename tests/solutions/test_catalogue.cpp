#include "Fixtures.h"
#include "Recorders.h"
#include "pieces/Painter.h"
#include "pieces/PieceTables.h"
#include "solutions/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tw {
namespace {

// A tiling's letters cell by cell, the tray's cells column by column.
CellLetters lettersOf(const Tiling &t, const Tray &tray)
{
    CellLetters letters;
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (const Placement *p = t.at(c, r))
                letters += p->shape == SquarePiece ? 'O' : orientation(p->shape).Letter[0];
            else if (tray.has(c, r))
                letters += '.';
    return letters;
}

// A tray the program does not ship, given to the catalogue with the tilings
// of the tests' own search, is numbered, found and indexed, and painted, as
// the database's trays are (its practice sheets and its live count are in
// the tables of those tests).
TEST(Catalogue, ATrayItDoesNotShipIsNumberedFoundIndexedAndPainted)
{
    const Catalogue &catalogue = test::withCentreHole();
    const Integer t = test::CentreHole;
    const Tray &tray = catalogue.tray(t);
    EXPECT_EQ(theTray(tray), "the tray \"Centre hole\"");
    ASSERT_EQ(catalogue.count(t), 65);
    // Every tiling the search finds, and no other, is an image of one
    // solution, whose number its smallest image finds.
    const TilingIndex &index = *catalogue.tilingIndex(t);
    const auto images = cellImages(tray);
    std::set<CellLetters> indexed;
    for (std::uint32_t k = 0; k < index.size(); ++k) {
        const CellLetters letters = lettersOf(index.tiling(k), tray);
        indexed.insert(letters);
        ASSERT_EQ(catalogue.find(t, smallestImage(letters, images)), index.solutionOf(k)) << k;
    }
    EXPECT_EQ(index.size(), indexed.size());
    EXPECT_EQ(indexed, test::plainTilings(tray));
    // On the screen each cell in its piece's colour, each hole in the
    // frame's grey.
    const Tiling first = catalogue.solution(t, 1);
    EXPECT_EQ(first.holes.size(), 4u);
    test::RecordingCanvas canvas;
    paintTiling(canvas, first, {0, 0, 100}, {});
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 8; ++r) {
            const double x = c * 100 + 50, y = r * 100 + 50;
            const auto last =
                std::find_if(canvas.boxes.rbegin(), canvas.boxes.rend(), [&](const auto &b) {
                    return b.x <= x && x < b.x + b.width && b.y <= y && y < b.y + b.height;
                });
            ASSERT_NE(last, canvas.boxes.rend());
            const Placement *p = first.at(c, r);
            EXPECT_EQ(last->colour, p ? colourOf(p->shape, Palette::Standard) : MidGrey)
                << c << ", " << r;
        }
}

} // namespace
} // namespace tw
