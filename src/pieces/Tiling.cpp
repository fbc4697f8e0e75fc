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
    return covered == cols * rows - static_cast<int>(holes.size());
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
        if (c < 0 || c >= tiling.cols || r < 0 || r >= tiling.rows || tiling.hole(c, r) ||
            tiling.at(c, r))
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

} // namespace tw
