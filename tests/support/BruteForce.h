#pragma once

#include "pieces/PieceTables.h"
#include "pieces/Tiling.h"
#include "solutions/Region.h"
#include "solutions/Tray.h"

#include <array>
#include <set>
#include <vector>

namespace tw::test {

// The tilings of a tray of cols x rows, less the holes given as (column,
// row), with the 2 x 2 square when 64 cells are left, that keep the given
// pieces where they lie, found by a plain
// search on the first free cell, apart from the program's own solver and
// its counts: at most `limit` of them, as cell-by-cell piece numbers
// (0..11, 12 for the square; Hole for a hole).
class BruteForce
{
public:
    static constexpr int Hole = 13;

    BruteForce(int cols, int rows, const std::vector<Placement> &given, std::size_t limit,
               const std::vector<std::pair<int, int>> &holes = {})
        : m_cols(cols), m_rows(rows), m_limit(limit),
          m_grid(static_cast<std::size_t>(cols * rows), -1)
    {
        for (const auto &[c, r] : holes)
            m_grid[static_cast<std::size_t>(c * rows + r)] = Hole;
        for (const Placement &p : given) {
            const int piece = p.shape == SquarePiece ? 12 : orientation(p.shape).Piece;
            m_used[static_cast<std::size_t>(piece)] = true;
            for (int k = 0; k < p.cellCount; ++k) {
                const int c = p.cells[static_cast<std::size_t>(k)] / (rows + 1);
                const int r = p.cells[static_cast<std::size_t>(k)] % (rows + 1);
                m_grid[static_cast<std::size_t>(c * rows + r)] = piece;
            }
        }
        if (cols * rows - static_cast<int>(holes.size()) != 64)
            m_used[12] = true;
        search();
    }

    std::vector<std::vector<int>> found;

private:
    void search()
    {
        std::size_t free = 0;
        while (free < m_grid.size() && m_grid[free] >= 0)
            ++free;
        if (free == m_grid.size()) {
            found.push_back(m_grid);
            return;
        }
        const int c0 = static_cast<int>(free) / m_rows, r0 = static_cast<int>(free) % m_rows;
        for (int piece = 0; piece < 13 && found.size() < m_limit; ++piece) {
            if (m_used[static_cast<std::size_t>(piece)])
                continue;
            for (const auto &cells : shapesOf(piece)) {
                bool fits = true;
                for (const ColumnRow &d : cells) {
                    const int c = c0 + d.column, r = r0 + d.row;
                    fits = fits && c >= 0 && c < m_cols && r >= 0 && r < m_rows &&
                           m_grid[static_cast<std::size_t>(c * m_rows + r)] < 0;
                }
                if (!fits)
                    continue;
                for (const ColumnRow &d : cells)
                    m_grid[static_cast<std::size_t>((c0 + d.column) * m_rows + r0 + d.row)] = piece;
                m_used[static_cast<std::size_t>(piece)] = true;
                search();
                m_used[static_cast<std::size_t>(piece)] = false;
                for (const ColumnRow &d : cells)
                    m_grid[static_cast<std::size_t>((c0 + d.column) * m_rows + r0 + d.row)] = -1;
            }
        }
    }

    // A piece's orientations as steps from their first cell in column order.
    static const std::vector<std::vector<ColumnRow>> &shapesOf(int piece)
    {
        static const auto all = [] {
            std::array<std::vector<std::vector<ColumnRow>>, 13> shapes;
            for (int n = 0; n < OrientationCount; ++n) {
                const auto s = squareSteps(orientation(n));
                shapes[static_cast<std::size_t>(orientation(n).Piece)].push_back(
                    {{0, 0}, s[0], s[1], s[2], s[3]});
            }
            shapes[12].push_back({{0, 0}, {0, 1}, {1, 0}, {1, 1}});
            return shapes;
        }();
        return all[static_cast<std::size_t>(piece)];
    }

    int m_cols, m_rows;
    std::size_t m_limit;
    std::vector<int> m_grid;
    std::array<bool, 13> m_used{};
};

// The tray's tilings found by the plain search, every symmetric copy
// included, each as its letters cell by cell.
inline std::set<CellLetters> plainTilings(const Tray &tray)
{
    std::vector<std::pair<int, int>> holes;
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (!tray.has(c, r))
                holes.emplace_back(c, r);
    const BruteForce search(tray.cols(), tray.rows(), {}, 1'000'000, holes);
    std::set<CellLetters> tilings;
    for (const auto &grid : search.found) {
        CellLetters letters;
        for (const int piece : grid)
            if (piece != BruteForce::Hole)
                letters +=
                    piece == 12 ? 'O' : catalogue()[static_cast<std::size_t>(piece)][0].Letter[0];
        tilings.insert(letters);
    }
    return tilings;
}

} // namespace tw::test
