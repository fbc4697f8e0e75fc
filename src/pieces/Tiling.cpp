#include "pieces/Tiling.h"

#include "pieces/PieceTables.h"

#include <algorithm>

namespace tw {

const Placement *Tiling::at(int column, int row) const
{
    const auto cell = static_cast<Integer>(column * stride() + row);
    for (const Placement &p : placements)
        if (std::find(p.cells.begin(), p.cells.begin() + p.cellCount, cell) !=
            p.cells.begin() + p.cellCount)
            return &p;
    return nullptr;
}

bool Tiling::complete() const
{
    int covered = 0;
    for (const Placement &p : placements)
        covered += p.cellCount;
    return covered == cols * rows;
}

std::optional<Placement> placeOn(const Tiling &tiling, Integer shape, int column, int row)
{
    std::array<ColumnRow, 5> steps{};
    int count = 4;
    if (shape == SquarePiece) {
        steps = {ColumnRow{0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 0}};
    } else if (shape >= 0 && shape < OrientationCount) {
        const auto s = squareSteps(orientation(shape));
        steps = {ColumnRow{0, 0}, s[0], s[1], s[2], s[3]};
        count = 5;
    } else {
        return std::nullopt;
    }
    Placement placed{shape, {}, count};
    for (int k = 0; k < count; ++k) {
        const int c = column + steps[static_cast<std::size_t>(k)].column;
        const int r = row + steps[static_cast<std::size_t>(k)].row;
        if (c < 0 || c >= tiling.cols || r < 0 || r >= tiling.rows || tiling.at(c, r))
            return std::nullopt;
        placed.cells[static_cast<std::size_t>(k)] = static_cast<Integer>(c * tiling.stride() + r);
    }
    return placed;
}

namespace {

// A shape's cells moved to start at (0, 0), as a 5 x 5 bit mask.
unsigned normalMask(std::span<const ColumnRow> cells)
{
    int c0 = 99, r0 = 99;
    for (const ColumnRow &c : cells)
        c0 = std::min(c0, c.column), r0 = std::min(r0, c.row);
    unsigned mask = 0;
    for (const ColumnRow &c : cells) {
        const int dc = c.column - c0, dr = c.row - r0;
        if (dc > 4 || dr > 4)
            return 0;
        mask |= 1u << (dc * 5 + dr);
    }
    return mask;
}

} // namespace

std::optional<Integer> orientationOf(std::span<const ColumnRow> cells)
{
    static const std::vector<std::pair<unsigned, Integer>> masks = [] {
        std::vector<std::pair<unsigned, Integer>> list;
        for (int n = 0; n < OrientationCount; ++n) {
            const auto s = squareSteps(orientation(n));
            const std::array<ColumnRow, 5> at{ColumnRow{0, 0}, s[0], s[1], s[2], s[3]};
            list.emplace_back(normalMask(at), static_cast<Integer>(n));
        }
        std::sort(list.begin(), list.end());
        return list;
    }();
    if (cells.size() != 5)
        return std::nullopt;
    const unsigned mask = normalMask(cells);
    const auto it = std::lower_bound(masks.begin(), masks.end(), std::pair(mask, Integer(0)));
    if (it == masks.end() || it->first != mask)
        return std::nullopt;
    return it->second;
}

Tiling imageOf(const Tiling &tiling, int symmetry)
{
    const bool across = symmetry & 4;
    Tiling image{
        tiling.board, across ? tiling.rows : tiling.cols, across ? tiling.cols : tiling.rows, {}};
    const int stride = tiling.stride();
    for (const Placement &p : tiling.placements) {
        std::array<ColumnRow, 5> at{};
        for (int k = 0; k < p.cellCount; ++k) {
            int c = p.cells[static_cast<std::size_t>(k)] / stride;
            int r = p.cells[static_cast<std::size_t>(k)] % stride;
            if (symmetry & 1)
                c = tiling.cols - 1 - c;
            if (symmetry & 2)
                r = tiling.rows - 1 - r;
            if (across)
                std::swap(c, r);
            at[static_cast<std::size_t>(k)] = {c, r};
        }
        Placement moved{p.shape, {}, p.cellCount};
        for (int k = 0; k < p.cellCount; ++k)
            moved.cells[static_cast<std::size_t>(k)] =
                static_cast<Integer>(at[static_cast<std::size_t>(k)].column * image.stride() +
                                     at[static_cast<std::size_t>(k)].row);
        sortCells(moved);
        if (p.shape != SquarePiece)
            moved.shape = orientationOf(std::span(at).first(static_cast<std::size_t>(p.cellCount)))
                              .value_or(0);
        image.placements.push_back(moved);
    }
    return image;
}

} // namespace tw
