#pragma once

#include "base/Expected.h"
#include "solutions/Database.h"
#include "solutions/TilingIndex.h"

#include <cstdint>

namespace tw {

struct SharedState;

// Every tiling of tray board, read from the open database (checked when it
// was opened).
Expected<TilingIndex, DatabaseError> loadTilingIndex(const SharedState &state, Integer board);

// Sheet numbers run from 1 to this, wherever a sheet is made.
inline constexpr std::uint64_t LargestSheetNumber = 999999;

// A new sheet number, 1 to LargestSheetNumber, different from run to run.
std::uint64_t newSheetNumber();

} // namespace tw
