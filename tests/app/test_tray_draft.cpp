#include "Drawn.h"
#include "app/SolutionBrowser.h"
#include "app/TrayDraft.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// The words for each kind of symmetry a region can have.
TEST(TrayDraft, NamesTheRegionsSymmetryInWords)
{
    const struct
    {
        const char *name, *text, *words;
    } rows[] = {
        {"a square", "##/##", "the same under all 8 turns and reflections"},
        {"a rectangle", "###/###",
         "the same under a half-turn and in mirrors left to right and top to bottom only"},
        {"an F", "##./.##/.#.", "no symmetry"},
        {"four arms turning one way", ".#../.###/###./..#.", "the same under quarter turns only"},
        {"a square less two corners", ".##/###/##.",
         "the same under a half-turn and in both diagonal mirrors only"},
        {"an S", ".##/##.", "the same under a half-turn only"},
        {"a T", "###/.#.", "the same in a mirror left to right only"},
        {"a T on its side", "#./##/#.", "the same in a mirror top to bottom only"},
        {"an L of three", "#./##", "the same in a diagonal mirror only"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(symmetryWords(test::drawn(row.text)), row.words) << row.name;
}

TEST(TrayDraft, CountsItsCellsAgainstWhatThePiecesNeed)
{
    TrayDraft draft;
    EXPECT_EQ(draft.symmetryLine(), "");
    for (const auto &[cells, line] :
         {std::pair{1, "1 of 60 cells"},
          {60, "60 of 60 cells"},
          {61, "61 of 64 cells: at 64 the 2 x 2 square joins the pieces"},
          {64, "64 of 64 cells: the 2 x 2 square joins the twelve pentominoes"},
          {65, "65 cells: at most 64, the twelve pentominoes and the 2 x 2 square"}}) {
        while (draft.cellCount() < cells) {
            draft.beginStroke(draft.cellCount() % 32, draft.cellCount() / 32);
            draft.endStroke();
        }
        EXPECT_EQ(draft.countLine(), line);
        EXPECT_EQ(draft.searchable(), cells == 60 || cells == 64) << cells;
    }
    // The drawing as a tray: its box shrunk to its cells, wherever it lies.
    draft.clear();
    for (int c = 5; c < 15; ++c)
        for (int r = 20; r < 26; ++r) {
            draft.beginStroke(c, r);
            draft.endStroke();
        }
    EXPECT_EQ(draft.tray(), Tray::rectangle("", 10, 6));
    EXPECT_EQ(draft.tray().symmetries().size(), 4u);
}

// The editor's grid and a kept tray in the main window both stand on whole
// pixels: cells of whole pixels, and a tray picture on the 15-twip steps of
// a screen at 1x and 2x, within the place for it.
TEST(TrayDraft, LaysItsGridAndTheKeptTrayOnWholePixels)
{
    const DraftLayout grid = draftLayout(500, 490);
    EXPECT_EQ(grid.cell, 15);
    EXPECT_EQ(grid.cellAt(grid.left, grid.top), std::pair(0, 0));
    EXPECT_EQ(grid.cellAt(grid.left + 32 * 15 - 1, grid.top + 32 * 15 - 1), std::pair(31, 31));
    EXPECT_FALSE(grid.cellAt(grid.left - 1, grid.top));
    EXPECT_FALSE(grid.cellAt(grid.left + 32 * 15, grid.top));
    const QRectF place(2800, 3300, 4400, 2000);
    for (const Tray &tray :
         {Tray::rectangle("", 8, 8), Tray::rectangle("", 32, 2), Tray::rectangle("", 2, 32)}) {
        const TrayGeometry at = fittedGeometry(tray, place);
        const QRectF frame(at.left - at.unit, at.top - at.unit, (tray.cols() + 2) * at.unit,
                           (tray.rows() + 2) * at.unit);
        EXPECT_TRUE(place.contains(frame)) << tray.cols() << " x " << tray.rows();
        EXPECT_LE(at.unit, 200);
        if (at.unit < 200)
            for (const double twips : {at.left, at.top, double(at.unit)})
                EXPECT_EQ(std::fmod(twips, 15), 0) << tray.cols() << " x " << tray.rows();
    }
    EXPECT_EQ(fittedGeometry(Tray::rectangle("", 8, 8), place).unit, 200);
    EXPECT_EQ(fittedGeometry(Tray::rectangle("", 32, 2), place).unit, 120);
}

} // namespace
} // namespace tw
