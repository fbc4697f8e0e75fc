#pragma once

#include "solver/Solver.h"

#include <optional>
#include <string>
#include <vector>

namespace tw {

// One tray's records in solution order (record k is solution k + 1).
struct BoardSolutions
{
    int board;
    std::vector<SolverRecord> records;
};

// Writes a solution database holding the given trays to path. The file is
// written beside path under a temporary name and renamed into place only when
// complete, so an interrupted run never leaves a half-written database.
// Returns a one-line reason on failure, when path is left as it was.
std::optional<std::string> writeSolutionDatabase(const std::string &path,
                                                 const std::vector<BoardSolutions> &boards);

} // namespace tw
