#include "BruteForce.h"
#include "Fixtures.h"
#include "app/SolveHand.h"
#include "app/SolveSession.h"
#include "solutions/Boards.h"
#include "solutions/LetterGrid.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace tw {
namespace {

using test::indexOf;

// Random positions of every tray, counted by the index and by a plain
// search of the tray with the laid pieces fixed: the same tilings, and a
// completion that is one of them.
TEST(SolveSession, CountsWhatASearchOfTheTrayFinds)
{
    std::mt19937 random(2026);
    for (const Integer board : {0, 1, 2, 3, 4, int(test::CentreHole)}) {
        const TilingIndex &index = indexOf(board);
        for (int trial = 0; trial < 12; ++trial) {
            SolveSession session(index);
            // Pieces of a random tiling, and now and then one laid anywhere.
            const Tiling tiling = index.tiling(random() % index.size());
            const int laid = 3 + static_cast<int>(random() % 4);
            for (int k = 0; k < laid; ++k) {
                Placement p = tiling.placements[random() % tiling.placements.size()];
                const int stride = tiling.stride();
                int column = p.cells[0] / stride, row = p.cells[0] % stride;
                if (trial % 3 == 0 && k == laid - 1)
                    column = static_cast<int>(random() % tiling.cols), row = 0; // elsewhere
                session.lay(p.shape, column, row);
            }
            const test::BruteForce search(tiling.cols, tiling.rows, session.position().placements,
                                          1000000, test::holesOf(tiling));
            ASSERT_EQ(session.remaining().size(), search.found.size())
                << letterRows(session.position());
            std::set<Integer> solutions;
            for (std::uint32_t t : session.remaining())
                solutions.insert(index.solutionOf(t));
            EXPECT_EQ(session.solutions(), solutions.size());
            if (!search.found.empty())
                EXPECT_NE(session.countText().indexOf(QStringLiteral("still complete")), -1);
            else
                EXPECT_EQ(session.countText(),
                          QStringLiteral("No tiling completes this: take a piece back"));
        }
    }
}

TEST(SolveSession, RefusesWhatNoTilingHasAndSaysWhatToTakeBack)
{
    const TilingIndex &index = indexOf(0);
    SolveSession session(index);
    EXPECT_EQ(session.countText(),
              QStringLiteral("9,356 tilings still complete this (2,339 solutions)"));
    EXPECT_TRUE(session.lay(0, 0, 1));            // the X, its first square at column 0, row 1
    EXPECT_FALSE(session.lay(0, 5, 1));           // a second X
    EXPECT_FALSE(session.lay(1, 1, 0));           // an I over the X
    EXPECT_FALSE(session.lay(2, 8, 0));           // an I off the tray
    EXPECT_FALSE(session.lay(SquarePiece, 4, 4)); // no square on a rectangle
    EXPECT_EQ(session.remaining().size(), 0u);    // an X on the edge leaves a cell no piece fills
    EXPECT_EQ(session.hint(), QStringLiteral("Take back the X first."));
    EXPECT_TRUE(session.undo());
    EXPECT_EQ(session.remaining().size(), 9356u);
    EXPECT_TRUE(session.redo());
    EXPECT_TRUE(session.takeBack(1, 1));
    EXPECT_FALSE(session.redo()); // a new step leaves nothing to redo
    EXPECT_TRUE(session.position().placements.empty());
    // A position read from text: a square on a rectangle, a grid of no tray.
    SolveSession again(index);
    EXPECT_TRUE(again.open("OO........\n"));
    EXPECT_EQ(*again.open(std::string(8, 'O') + "\n"),
              "A grid of 1 row of 8 letters fits no tray: the trays are 10 x 6, 12 x 5, 15 x 4, 20 "
              "x 3 and 8 x 8.");
    // On 20 x 3, a Z of one solution, a Y of the other and an L of the
    // first's mirror image: each is in a tiling, no two are in one, so no
    // one piece taken back opens a way on.
    SolveSession strip(indexOf(3));
    EXPECT_FALSE(strip.open("........Z.....YYYY..\n......ZZZ......Y..L.\n......Z........LLLL.\n"));
    EXPECT_EQ(strip.hint(), QStringLiteral("Take pieces back: no tiling completes this."));
}

// The layout at 1x and 2x: whole device pixels to a unit; each cell's first
// and last pixel are that cell's; the band's slots lie under the tray,
// apart, inside the widget, each found by its letter.
TEST(SolveLayout, LaysCellsAndBandOnWholePixelsAndFindsWhatIsUnderAPoint)
{
    for (const double ratio : {1.0, 2.0}) {
        const SolveLayout l = solveLayout(10, 6, 800, 600, ratio);
        EXPECT_EQ(std::fmod(l.unit * ratio, 1), 0) << ratio;
        for (const auto &[c, r] : {std::pair{0, 0}, {9, 5}, {4, 3}}) {
            const QRect cell = l.cellRect(c, r);
            EXPECT_EQ(l.cellAt(cell.topLeft()), std::pair(c, r));
            EXPECT_EQ(l.cellAt(QPointF(cell.right() + 0.99, cell.bottom() + 0.99)),
                      std::pair(c, r));
            EXPECT_EQ(l.cellAt(QPointF(cell.right() + 1, cell.top())), std::pair(c + 1, r));
        }
        std::vector<QRect> band;
        for (const char letter : SolveLetters) {
            const QRect slot = l.bandRect(letter);
            EXPECT_EQ(l.letterAt(slot.center()), letter);
            EXPECT_GT(slot.top(), l.cellRect(0, 5).bottom()) << letter;
            EXPECT_TRUE(QRect(0, 0, 800, 600).contains(slot)) << letter;
            for (const QRect &other : band)
                EXPECT_FALSE(other.intersects(slot)) << letter;
            band.push_back(slot);
        }
        EXPECT_EQ(l.letterAt(l.cellRect(4, 3).center()), 0);
    }
}

// On a tray the program does not ship, the hand keeps pieces off its holes.
TEST(SolveHand, KeepsPiecesOffTheHolesOfATrayDrawnByAUser)
{
    SolveSession session(indexOf(test::CentreHole));
    SolveHand hand(session);
    EXPECT_FALSE(hand.pick('O')) << "60 cells take no square";
    ASSERT_TRUE(hand.pick('I'));
    hand.moveHeld(3, 0); // down column 4, over the hole
    EXPECT_EQ(hand.description(),
              "The tray \"Centre hole\", 0 of its pieces laid; I picked, its first square at "
              "column 4, row 1, does not fit");
    EXPECT_FALSE(hand.layHeld());
    hand.moveHeld(-1, 0);
    EXPECT_TRUE(hand.layHeld());
    EXPECT_EQ(session.position().placements.size(), 1u);
}

} // namespace
} // namespace tw
