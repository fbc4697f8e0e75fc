#pragma once

#include "solutions/Tray.h"

#include <algorithm>
#include <string_view>

namespace tw::test {

// A tray of any size from rows of '#' for a cell and '.' for none, "/"
// between rows.
inline Tray drawn(std::string_view rows)
{
    std::bitset<Tray::MaxSide * Tray::MaxSide> cells;
    int row = 0, column = 0, cols = 0;
    for (char c : rows) {
        if (c == '/') {
            ++row;
            column = 0;
            continue;
        }
        if (c == '#')
            cells.set(static_cast<std::size_t>(column * Tray::MaxSide + row));
        cols = std::max(cols, ++column);
    }
    return Tray("drawn", cols, row + 1, cells);
}

} // namespace tw::test
