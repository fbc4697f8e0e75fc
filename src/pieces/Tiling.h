#pragma once

#include "base/Integer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

namespace tw {

struct ColumnRow;

inline constexpr Integer SquarePiece = -1; // Placement::shape of the 2 x 2 square

// One laid piece: its orientation (0..62, or SquarePiece) and the cells it
// covers as grid indexes of its tray, column by column (index = column *
// (rows + 1) + row): five, or four for the square.
struct Placement
{
    Integer shape = 0;
    std::array<Integer, 5> cells{};
    int cellCount = 0;

    bool operator==(const Placement &) const = default;
};

// Puts a placement's cells in ascending order, the form every table and
// comparison expects.
inline void sortCells(Placement &p)
{
    const int n = std::clamp(p.cellCount, 0, static_cast<int>(p.cells.size()));
    std::sort(p.cells.begin(), p.cells.begin() + n);
}

// A tiling of a tray of cols x rows cells, whole or partial: the pieces laid,
// in the order they were laid; a cell no piece covers is empty. A value:
// it draws nothing and knows nothing of any window or page.
struct Tiling
{
    Integer board = 0; // the tray: its place in the catalogue
    Integer cols = 0, rows = 0;
    std::vector<Placement> placements;
    // Grid indexes of the cells of the box that are not the tray's (a
    // drawn tray's holes), ascending; none for the five trays.
    std::vector<Integer> holes;

    int stride() const { return rows + 1; }
    // Whether (column, row) lies in the box but is not a cell of the tray.
    bool hole(int column, int row) const
    {
        return std::binary_search(holes.begin(), holes.end(),
                                  static_cast<Integer>(column * stride() + row));
    }
    // The piece covering cell (column, row), or none.
    const Placement *at(int column, int row) const;
    // Whether every cell of the tray is covered.
    bool complete() const;

    bool operator==(const Tiling &) const = default;
};

// Orientation shape (0..62) with its first square, the topmost square of
// its leftmost column, on cell (column, row) of the tiling's tray; or the
// square (SquarePiece) with its top-left cell there. Nothing when a cell
// would leave the tray or is already covered.
std::optional<Placement> placeOn(const Tiling &tiling, Integer shape, int column, int row);

// The orientation (0..62) whose five cells, as (column, row) in any order,
// these are; nothing when they make no pentomino.
std::optional<Integer> orientationOf(std::span<const ColumnRow> cells);

} // namespace tw
