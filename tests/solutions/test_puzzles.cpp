#include "BruteForce.h"
#include "Fixtures.h"
#include "Recorders.h"
#include "report/PracticeSheet.h"
#include "solutions/Puzzles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace tw {
namespace {

using test::indexOf;

// A tiling as cell-by-cell piece numbers, as the search finds them.
std::vector<int> cellsOf(const Tiling &t)
{
    std::vector<int> cells(static_cast<std::size_t>(t.cols * t.rows), -1);
    for (const auto &[c, r] : test::holesOf(t))
        cells[static_cast<std::size_t>(c * t.rows + r)] = test::BruteForce::Hole;
    for (const Placement &p : t.placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int c = p.cells[static_cast<std::size_t>(k)];
            cells[static_cast<std::size_t>(c / t.stride() * t.rows + c % t.stride())] =
                p.shape == SquarePiece ? 12 : orientation(p.shape).Piece;
        }
    return cells;
}

TEST(TilingIndex, HoldsEverySolutionInEveryImageOfItsTray)
{
    // Counts every correct search reproduces, no tiling symmetric.
    for (const auto &[board, tilings] :
         {std::pair{0, 9356u}, {1, 4040u}, {2, 1472u}, {3, 8u}, {4, 129168u}, {5, 520u}}) {
        const TilingIndex &index = indexOf(static_cast<Integer>(board));
        EXPECT_EQ(index.size(), tilings);
        EXPECT_EQ(index.count({}), tilings);
        // A piece held where its tiling lays it.
        const std::uint32_t last = tilings - 1;
        const std::uint32_t piece = index.piecesOf(last).back();
        const auto holders = index.holding(std::span(&piece, 1));
        EXPECT_TRUE(std::binary_search(holders.begin(), holders.end(), last));
        EXPECT_EQ(index.placementOf(index.placement(piece)), piece);
    }
}

struct Sheet
{
    const char *name;
    Integer board;
    int count, given;
    std::uint64_t seed;
};

void PrintTo(const Sheet &s, std::ostream *os)
{
    *os << s.name;
}

class Puzzles : public testing::TestWithParam<Sheet>
{
};

// Each puzzle has exactly one answer, found by a search of the tray with
// the given pieces fixed, and that answer is the solution it names.
TEST_P(Puzzles, HaveExactlyTheOneAnswerTheyName)
{
    const Sheet &s = GetParam();
    const TilingIndex &index = indexOf(s.board);
    const auto puzzles = makePuzzles(index, {s.count, s.given, s.seed});
    ASSERT_TRUE(puzzles) << puzzles.error();
    ASSERT_EQ(puzzles->size(), static_cast<std::size_t>(s.count));
    std::set<std::uint32_t> solutions;
    for (const Puzzle &p : *puzzles) {
        if (s.given != FewestGiven) {
            EXPECT_EQ(p.given.size(), static_cast<std::size_t>(s.given));
        }
        std::vector<Placement> given;
        for (std::uint32_t g : p.given)
            given.push_back(index.placement(g));
        const Tiling answer = index.tiling(p.tiling);
        const test::BruteForce search(answer.cols, answer.rows, given, 2, test::holesOf(answer));
        ASSERT_EQ(search.found.size(), 1u) << puzzleText(index, p);
        EXPECT_EQ(search.found[0], cellsOf(answer));
        solutions.insert(index.solutionOf(p.tiling));
    }
    // From different solutions where the tray has enough.
    EXPECT_EQ(solutions.size(), std::min<std::size_t>(s.count, index.size() / index.images()));
    // The same number, the same sheet; another, another.
    EXPECT_EQ(*makePuzzles(index, {s.count, s.given, s.seed}), *puzzles);
    EXPECT_NE(*makePuzzles(index, {s.count, s.given, s.seed + 1}), *puzzles);
}

INSTANTIATE_TEST_SUITE_P(
    Trays, Puzzles,
    testing::Values(
        Sheet{"fewest_10x6", 0, 6, FewestGiven, 4711}, Sheet{"four_given_12x5", 1, 5, 4, 12},
        Sheet{"fewest_15x4", 2, 4, FewestGiven, 3}, Sheet{"two_given_10x6", 0, 12, 2, 3},
        Sheet{"sixty_from_two_solutions_20x3", 3, 60, 2, 5}, Sheet{"two_given_8x8", 4, 3, 2, 3},
        Sheet{"fewest_8x8", 4, 3, FewestGiven, 99}, Sheet{"eleven_given_8x8", 4, 2, 11, 7},
        Sheet{"fewest_centre_hole", test::CentreHole, 5, FewestGiven, 65}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Puzzles, TheFewestPiecesGivenAreTheFewestThatLeaveOneAnswer)
{
    const TilingIndex &index = indexOf(0);
    for (std::uint32_t tiling : {0u, 1234u, 9355u}) {
        const auto given = fewestGiven(index, tiling, 17);
        ASSERT_FALSE(given.empty());
        EXPECT_EQ(index.count(given), 1u);
        // No set of one piece fewer, from all of the tiling's, does.
        const auto pieces = index.piecesOf(tiling);
        std::vector<std::uint32_t> smaller;
        const std::function<bool(std::size_t)> anyUnique = [&](std::size_t from) {
            if (smaller.size() == given.size() - 1)
                return index.count(smaller, 2) == 1;
            for (std::size_t k = from; k < pieces.size(); ++k) {
                smaller.push_back(pieces[k]);
                const bool unique = anyUnique(k + 1);
                smaller.pop_back();
                if (unique)
                    return true;
            }
            return false;
        };
        EXPECT_FALSE(anyUnique(0)) << "tiling " << tiling;
    }
}

TEST(Puzzles, TooFewPiecesAreRefusedWithTheFewestThatWork)
{
    // No piece of the 8 x 8 tray lies where only one tiling has it; on the
    // rectangles a few do.
    const auto none = makePuzzles(indexOf(4), {3, 1, 1});
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error(), "with 1 piece given, no puzzle on the 8 x 8 tray has a single "
                            "answer; the fewest that work there are 2");
    const auto one = makePuzzles(indexOf(0), {2, 1, 1});
    ASSERT_TRUE(one);
    EXPECT_EQ(indexOf(0).count((*one)[0].given), 1u);
    EXPECT_FALSE(makePuzzles(indexOf(0), {61, 3, 1}));
    const auto all = makePuzzles(indexOf(0), {1, 12, 1});
    ASSERT_FALSE(all);
    EXPECT_EQ(all.error(), "the pieces given must be 1 to 11 on the 10 x 6 tray");
    const auto square = makePuzzles(indexOf(4), {1, 13, 1});
    ASSERT_FALSE(square);
    EXPECT_EQ(square.error(), "the pieces given must be 1 to 12 on the 8 x 8 tray");
    EXPECT_TRUE(makePuzzles(indexOf(4), {1, 12, 1}));
}

// The 20 x 3 tray has few puzzles: every smallest set of each tiling's
// pieces that no other tiling holds, counted here subset by subset.
TEST(Puzzles, AsManyAsTheTrayHasAndNoMore)
{
    const TilingIndex &index = indexOf(3);
    std::size_t total = 0;
    for (std::uint32_t t = 0; t < index.size(); ++t) {
        const auto pieces = index.piecesOf(t);
        for (std::size_t size = 1, found = 0; found == 0; ++size) {
            for (unsigned mask = 0; mask < 1u << pieces.size(); ++mask) {
                std::vector<std::uint32_t> set;
                for (std::size_t k = 0; k < pieces.size(); ++k)
                    if (mask >> k & 1)
                        set.push_back(pieces[k]);
                found += set.size() == size && index.count(set, 2) == 1;
            }
            total += found;
        }
    }
    const auto all = makePuzzles(index, {static_cast<int>(total), FewestGiven, 9});
    ASSERT_TRUE(all) << all.error();
    EXPECT_EQ(std::set(all->begin(), all->end(),
                       [](const Puzzle &a, const Puzzle &b) {
                           return std::tie(a.tiling, a.given) < std::tie(b.tiling, b.given);
                       })
                  .size(),
              total);
    const auto more = makePuzzles(index, {static_cast<int>(total) + 1, FewestGiven, 9});
    ASSERT_FALSE(more);
    EXPECT_EQ(more.error(), "the 20 x 3 tray has only " + std::to_string(total) +
                                " puzzles with one answer and the fewest pieces given; ask for " +
                                std::to_string(total) + " or fewer");
}

// The pieces to cut out carry their letters whatever the sheet's look, and
// lie apart: every group of cells that touch is one piece, of one colour.
// The page holds as many whole sets as fit.
TEST(PracticeSheetPages, LayThePiecesToCutOutApartAndFillThePage)
{
    PracticeSheet sheet;
    sheet.puzzles = {Puzzle{0, {}}};
    sheet.answerKey = false;
    sheet.cutouts = true;
    test::RecordingPreview page;
    ASSERT_FALSE(BuildPracticeSheet(page, indexOf(SquareBoard), sheet));
    EXPECT_EQ(page.PageCount(), 2);
    EXPECT_EQ(page.Orientation(), 0); // upright unless asked
    // The puzzle's empty cells stand in a grid, to lay the pieces on.
    const auto lines = page.ofKind(test::RecordingPreview::Call::Line);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const auto &c) { return c.fore == GridGrey; }),
        2 * 64);
    std::map<char, int> letters;
    for (const auto &call : page.ofKind(test::RecordingPreview::Call::Letter))
        ++letters[call.text.at(0)];
    ASSERT_EQ(letters.size(), 13u);
    const int sets = letters['X'];
    for (const auto &[letter, n] : letters)
        EXPECT_EQ(n, sets) << letter;
    EXPECT_GE(sets, 4); // a quarter-inch set is small: many fit on a page
    // Cells of pieces, by their corners; a piece's cells touch, pieces do not.
    const long unit = std::lround(sheet.unit);
    std::vector<test::RecordingPreview::Call> cells;
    int squares = 0;
    for (const auto &c : page.ofKind(test::RecordingPreview::Call::Rectangle)) {
        if (std::abs(c.c - unit) <= 1)
            cells.push_back(c);
        squares += std::abs(c.c - 2 * unit) <= 1;
    }
    EXPECT_EQ(squares, sets);
    std::vector<int> group(cells.size(), -1);
    int groups = 0;
    for (std::size_t start = 0; start < cells.size(); ++start) {
        if (group[start] >= 0)
            continue;
        std::vector<std::size_t> todo{start};
        group[start] = groups;
        int size = 0;
        while (!todo.empty()) {
            const auto &a = cells[todo.back()];
            todo.pop_back();
            ++size;
            for (std::size_t k = 0; k < cells.size(); ++k) {
                const auto &b = cells[k];
                const long dx = std::abs(a.a - b.a), dy = std::abs(a.b - b.b);
                if (group[k] < 0 && ((dx <= 1 && dy <= unit + 1) || (dy <= 1 && dx <= unit + 1))) {
                    EXPECT_EQ(b.brush, a.brush) << "two pieces touch";
                    group[k] = groups;
                    todo.push_back(k);
                }
            }
        }
        EXPECT_EQ(size, 5);
        ++groups;
    }
    EXPECT_EQ(groups, 12 * sets);
}

// Captions of one kind are set in one size, the largest at which the
// longest fits: "solution 1" as large as "solution 16,146".
TEST(PracticeSheetPages, SetTheCaptionsOfAKindInOneSize)
{
    const TilingIndex &index = indexOf(SquareBoard);
    PracticeSheet sheet;
    sheet.puzzles = {Puzzle{0, {index.piecesOf(0)[0]}},
                     Puzzle{index.size() - 1, {index.piecesOf(index.size() - 1)[0]}}};
    test::RecordingPreview page;
    ASSERT_FALSE(BuildPracticeSheet(page, index, sheet));
    std::map<std::string, std::set<long>> sizes; // by kind
    for (const auto &call : page.ofKind(test::RecordingPreview::Call::Text))
        if (call.text.starts_with("Puzzle "))
            sizes[call.text.find(", solution ") != std::string::npos ? "key" : "puzzle"].insert(
                call.c);
    ASSERT_EQ(sizes.size(), 2u);
    for (const auto &[kind, of] : sizes)
        EXPECT_EQ(of.size(), 1u) << kind;
    EXPECT_LT(*sizes["key"].begin(), 90); // the longest needs less than 9 points
    // In monochrome the given piece (here the square) is shaded on the
    // puzzle and on its answer alike.
    sheet.look.rendering = Rendering::Monochrome;
    ASSERT_FALSE(BuildPracticeSheet(page, index, sheet));
    const auto boxes = page.ofKind(test::RecordingPreview::Call::Rectangle);
    EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                            [](const auto &c) { return c.brush == GivenShade; }),
              4);
}

} // namespace
} // namespace tw
