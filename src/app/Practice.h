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

// A new sheet number, 1 to 999999, different from run to run.
std::uint64_t newSheetNumber();

} // namespace tw
