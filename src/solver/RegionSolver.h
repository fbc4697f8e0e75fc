#pragma once

#include "solutions/Region.h"
#include "solutions/Tray.h"

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// Every tiling of any region of 60 or 64 cells, symmetry-reduced: a bitboard
// search over the region's cells taken column by column (at most 64 of
// them, one bit each), the X laid first and only where no symmetry of the
// region moves it to a place searched already.

namespace tw {

struct RegionProgress
{
    long long placements = 0; // pieces laid so far
    long long tilings = 0;    // tilings found so far, symmetric copies not yet merged
};

struct RegionSolutions
{
    // Each solution once, as the smallest of its images under the region's
    // symmetries, in ascending order: solution k + 1 is solutions[k].
    std::vector<CellLetters> solutions;
    long long tilings = 0;    // with every symmetric copy counted
    long long placements = 0; // pieces laid by the search
};

// Searches the region (60 or 64 cells; another size finds nothing) on
// `threads` threads (0: one per core). `progress`, when given, is called on
// the calling thread at least every 0.2 s while the search runs; when
// `cancel` becomes true the search stops within 0.1 s and nothing is
// returned. The result does not depend on the number of threads.
std::optional<RegionSolutions> solveRegion(const Tray &region, unsigned threads = 0,
                                           const std::function<void(const RegionProgress &)> &progress = {},
                                           const std::atomic<bool> *cancel = nullptr);

} // namespace tw
