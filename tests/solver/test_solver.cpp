#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace tw {
namespace {

SolutionRecord asRecord(const SolverRecord &r)
{
    SolutionRecord s;
    s.O_Index = r.O_Index;
    s.X_Index = r.X_Index;
    for (std::size_t k = 0; k < 11; ++k)
        s.Shape[k] = r.Shape[k];
    return s;
}

// An encoder written apart from the solver's: lays out a tiling as a cell
// map, applies a symmetry, and reads the record back as the decoder would
// lay it (X, square, then pieces by their first cell).
class Encoder
{
public:
    explicit Encoder(int board) : m_tray(Trays[static_cast<std::size_t>(board)]), m_board(board)
    {
        for (int n = 0; n < OrientationCount; ++n) {
            const clsShape &s = orientation(n);
            m_byOffsets[{s.Square2, s.Square3, s.Square4, s.Square5}] = n;
        }
    }

    int symmetries() const { return m_board == SquareBoard ? 8 : 4; }

    SolverRecord image(const Tiling &t, int g) const
    {
        const int stride = m_tray.rows + 1;
        std::vector<std::pair<int, int>> pieces; // (first cell, shape)
        SolverRecord r;
        for (const Placement &p : t.placements) {
            std::vector<std::pair<int, int>> cells; // (column, row)
            for (int k = 0; k < p.cellCount; ++k) {
                const int cell = p.cells[static_cast<std::size_t>(k)];
                cells.push_back(map(g, cell / stride, cell % stride));
            }
            std::sort(cells.begin(), cells.end());
            const int first = cells[0].first * stride + cells[0].second;
            if (p.shape == SquarePiece) {
                r.O_Index = static_cast<Integer>(first);
                continue;
            }
            std::array<int, 4> offsets{};
            for (std::size_t k = 1; k < 5; ++k)
                offsets[k - 1] =
                    8 * (cells[k].first - cells[0].first) + (cells[k].second - cells[0].second);
            const int shape = m_byOffsets.at(offsets);
            if (shape == 0)
                r.X_Index = static_cast<Integer>(first);
            else
                pieces.emplace_back(first, shape);
        }
        std::sort(pieces.begin(), pieces.end());
        for (std::size_t k = 0; k < 11; ++k)
            r.Shape[k] = static_cast<Integer>(pieces[k].second);
        return r;
    }

private:
    std::pair<int, int> map(int g, int c, int r) const
    {
        const int w = m_tray.cols - 1, h = m_tray.rows - 1;
        if (g & 1)
            c = w - c;
        if (g & 2)
            r = h - r;
        if (g & 4)
            std::swap(c, r); // the square only
        return {c, r};
    }

    TrayInfo m_tray;
    int m_board;
    std::map<std::array<int, 4>, int> m_byOffsets;
};

struct Expected
{
    int board;
    std::size_t count;
};

class SolverOnTray : public testing::TestWithParam<Expected>
{
protected:
    // Each tray is searched once for all the tests that follow.
    static const std::vector<SolverRecord> &solutions(int board)
    {
        static std::map<int, std::vector<SolverRecord>> cache;
        auto it = cache.find(board);
        if (it == cache.end())
            it = cache.emplace(board, Solver(board).solve()).first;
        return it->second;
    }
};

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << Trays[static_cast<std::size_t>(e.board)].label;
}

TEST_P(SolverOnTray, FindsEverySolutionOnce)
{
    EXPECT_EQ(solutions(GetParam().board).size(), GetParam().count);
}

TEST_P(SolverOnTray, NumbersTheRecordsInLexicographicOrder)
{
    const auto &records = solutions(GetParam().board);
    EXPECT_TRUE(std::is_sorted(records.begin(), records.end()));
    EXPECT_EQ(std::adjacent_find(records.begin(), records.end()), records.end());
}

TEST_P(SolverOnTray, StoresTheSmallestImageOfEachTilingAndEveryRecordTiles)
{
    const int board = GetParam().board;
    const Encoder encoder(board);
    std::set<std::string> grids;
    for (const SolverRecord &r : solutions(board)) {
        const auto tiling = tileRecord(static_cast<Integer>(board), asRecord(r));
        ASSERT_TRUE(tiling) << tiling.error().message;
        if (board != SquareBoard) {
            EXPECT_EQ(r.O_Index, 0);
        }
        ASSERT_EQ(encoder.image(*tiling, 0), r) << "the encoders disagree";
        for (int g = 1; g < encoder.symmetries(); ++g)
            EXPECT_LT(r, encoder.image(*tiling, g)) << "image " << g << " is smaller";
        grids.insert(letterGrid(*tiling));
    }
    EXPECT_EQ(grids.size(), GetParam().count) << "two records draw the same tiling";
}

INSTANTIATE_TEST_SUITE_P(AllTrays, SolverOnTray,
                         testing::Values(Expected{0, 2339}, Expected{1, 1010}, Expected{2, 368},
                                         Expected{3, 2}, Expected{4, 16146}),
                         [](const auto &info) {
                             const std::string_view label =
                                 Trays[static_cast<std::size_t>(info.param.board)].label;
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

TEST(Solver, GivesTheSameRecordsWhateverTheNumberOfThreads)
{
    for (int board : {1, 2, 3}) {
        const Solver solver(board);
        Solver::Stats one, two;
        EXPECT_EQ(solver.solve(1, &one), solver.solve(2, &two)) << "board " << board;
        EXPECT_EQ(one.nodes, two.nodes);
    }
}

TEST(Solver, RejectsATrayThatDoesNotExist)
{
    EXPECT_THROW(Solver(5), std::out_of_range);
    EXPECT_THROW(Solver(-1), std::out_of_range);
}

} // namespace
} // namespace tw
