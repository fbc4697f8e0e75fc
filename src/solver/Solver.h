#pragma once

#include "base/Integer.h"

#include <array>
#include <compare>
#include <memory>
#include <vector>

// The generator of the solution database: every tiling of a tray by the
// twelve pentominoes (and on the 8 x 8 tray the 2 x 2 square), found by an
// exhaustive search, one record per class of tilings that the tray's
// symmetries map onto each other.
//
// Of a class's images the record kept is the smallest in the order of
// (O_Index, X_Index, Shape1, ..., Shape11); records are numbered in that same
// order, so a solution's number never depends on how it was found.

namespace tw {

namespace detail {
struct SolverTables;
}

struct SolverRecord
{
    Integer O_Index = 0;             // 8 x 8 only: top-left cell of the square, stride 9; else 0
    Integer X_Index = 0;             // the X's first square, stride Rows + 1
    std::array<Integer, 11> Shape{}; // orientations of the other pieces in laying order

    auto operator<=>(const SolverRecord &) const = default;
};

class Solver
{
public:
    // board: 0..4, the trays' numbering. Throws std::out_of_range otherwise.
    // endTableBits: room for the regions left for the last pieces that the
    // search remembers, as a power of two (0: as much as the tray needs).
    // Less room only makes the search slower.
    explicit Solver(int board, int endTableBits = 0);
    ~Solver();
    Solver(const Solver &) = delete;
    Solver &operator=(const Solver &) = delete;

    // What a search did, for benchmarks: tilings found before symmetric
    // duplicates were merged, placements tried, and regions left for the
    // last pieces that were worked out.
    struct Stats
    {
        long long tilingsFound = 0;
        long long nodes = 0;
        long long regions = 0;
    };

    // All solutions of the tray in solution order (record k is solution k + 1),
    // searched on `threads` threads (0: one per core). The result does not
    // depend on the number of threads.
    std::vector<SolverRecord> solve(unsigned threads = 0, Stats *stats = nullptr) const;

private:
    std::unique_ptr<const detail::SolverTables> m_tables;
};

// The solutions of every tray asked for (boards 0..4), searched together on
// `threads` threads (0: one per core), so that no thread waits while another
// finishes a tray; each tray's records as Solver::solve gives them.
std::vector<std::vector<SolverRecord>> solveTrays(const std::vector<int> &boards,
                                                  unsigned threads = 0);

} // namespace tw
