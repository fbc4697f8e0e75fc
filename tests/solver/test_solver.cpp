#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/LetterGrid.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace tw {
namespace {

struct Expected
{
    int board;
    std::size_t count;
    long long found; // tilings the search finds before merging images
    // What one thread's search takes today: placements tried, regions left
    // for the last pieces worked out (the 8 x 8, on every core, unchecked).
    long long nodes, regions;
};

class SolverOnTray : public testing::TestWithParam<Expected>
{
protected:
    // Each tray is searched once for all the tests that follow.
    static const std::vector<SolverRecord> &solutions(int board, Solver::Stats *stats = nullptr)
    {
        static std::map<int, std::pair<std::vector<SolverRecord>, Solver::Stats>> cache;
        auto it = cache.find(board);
        if (it == cache.end()) {
            Solver::Stats found;
            auto records = Solver(board).solve(board == SquareBoard ? 0 : 1, &found);
            it = cache.emplace(board, std::pair{std::move(records), found}).first;
        }
        if (stats)
            *stats = it->second.second;
        return it->second.first;
    }
};

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << Trays[static_cast<std::size_t>(e.board)].label;
}

// Symmetry keeps most tilings from being found more than once, and the
// pruning and the remembered regions keep the work down: a fault in them
// finds the same records, only slower (see bench_solver).
TEST_P(SolverOnTray, FindsEverySolutionOnceInOrderWithinItsWorkBudget)
{
    Solver::Stats stats;
    const auto &records = solutions(GetParam().board, &stats);
    EXPECT_EQ(records.size(), GetParam().count);
    EXPECT_TRUE(std::is_sorted(records.begin(), records.end())); // numbered in order
    EXPECT_EQ(std::adjacent_find(records.begin(), records.end()), records.end());
    EXPECT_LE(stats.tilingsFound, GetParam().found);
    if (GetParam().board != SquareBoard) {
        EXPECT_LE(stats.nodes, GetParam().nodes);
        EXPECT_LE(stats.regions, GetParam().regions);
    }
}

TEST_P(SolverOnTray, StoresTheSmallestImageOfEachTilingAndEveryRecordTiles)
{
    const int board = GetParam().board;
    std::set<std::string> grids;
    for (const SolverRecord &r : solutions(board)) {
        RecordKey key{r.O_Index, r.X_Index};
        std::copy(r.Shape.begin(), r.Shape.end(), key.begin() + 2);
        const auto tiling = DecodeSolution(static_cast<Integer>(board), recordOf(key));
        ASSERT_TRUE(tiling) << tiling.error().message;
        EXPECT_TRUE(board == SquareBoard || r.O_Index == 0); // the square only in the 8 x 8
        // The tiling read back from its letters, apart from the solver: its
        // smallest image is the record.
        const auto read = readLetterGrid(letterRows(*tiling));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->images.front(), key);
        grids.insert(letterGrid(*tiling));
    }
    EXPECT_EQ(grids.size(), GetParam().count) << "two records draw the same tiling";
}

INSTANTIATE_TEST_SUITE_P(
    AllTrays, SolverOnTray,
    testing::Values(Expected{0, 2339, 2339, 363672, 14122}, Expected{1, 1010, 1308, 135614, 3218},
                    Expected{2, 368, 402, 35797, 648}, Expected{3, 2, 4, 6557, 110},
                    Expected{4, 16146, 16817, 0, 0}),
    [](const auto &info) {
        const std::string_view label = Trays[static_cast<std::size_t>(info.param.board)].label;
        return "b" + std::string(label.substr(0, label.find(' '))) + "x" +
               std::string(label.substr(label.rfind(' ') + 1));
    });

TEST(Solver, FirstSolutionsAreTheKnownExamples)
{
    const auto first10x6 = Solver(0).solve().front();
    EXPECT_EQ(first10x6, (SolverRecord{0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36}}));
    const auto square = Solver(4).solve();
    EXPECT_EQ(square.front(), (SolverRecord{0, 4, {18, 4, 2, 8, 52, 25, 42, 11, 22, 60, 38}}));
    const SolverRecord centre{30, 2, {22, 1, 30, 36, 5, 14, 43, 51, 9, 18, 61}};
    EXPECT_TRUE(std::binary_search(square.begin(), square.end(), centre));
    // 65 tilings have the square in the centre (columns and rows 3 and 4).
    EXPECT_EQ(std::count_if(square.begin(), square.end(),
                            [](const SolverRecord &r) { return r.O_Index == 30; }),
              65);
}

TEST(Solver, GivesTheSameRecordsWhateverTheThreadsTheTraysSearchedTogetherAndTheRoomForRegions)
{
    const std::vector<std::vector<SolverRecord>> together = solveTrays({1, 2, 3}, 2);
    for (int board : {1, 2, 3}) {
        const auto alone = Solver(board).solve(1);
        EXPECT_EQ(Solver(board).solve(2), alone) << "board " << board;
        EXPECT_EQ(together[static_cast<std::size_t>(board - 1)], alone) << "board " << board;
        // Room for six regions: nearly every region is worked out each time,
        // while two threads fill and read the same tables.
        EXPECT_EQ(Solver(board, 3).solve(2), alone) << "board " << board;
    }
}

} // namespace
} // namespace tw
