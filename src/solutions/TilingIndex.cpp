#include "solutions/TilingIndex.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"

#include <algorithm>

namespace tw {

namespace {

// A placement's cells as a mask of the tray's cells, row by row within
// columns without the sentinels: at most 64 of them.
std::uint64_t cellMask(const Placement &p, int stride, int rows)
{
    std::uint64_t mask = 0;
    for (int k = 0; k < p.cellCount; ++k) {
        const int c = p.cells[static_cast<std::size_t>(k)];
        mask |= std::uint64_t{1} << ((c / stride) * rows + c % stride);
    }
    return mask;
}

} // namespace

Expected<TilingIndex, DecodeError> TilingIndex::build(Integer board,
                                                      std::span<const RecordKey> records)
{
    TilingIndex index;
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(board));
    index.m_board = board;
    index.m_cols = tray.cols;
    index.m_rows = tray.rows;
    const std::vector<int> &symmetries = trayOf(board).symmetries();
    index.m_images = static_cast<int>(symmetries.size());
    index.m_perTiling = trayOf(board).pieceCount();
    index.m_pieces.reserve(records.size() * static_cast<std::size_t>(index.m_images) *
                           static_cast<std::size_t>(index.m_perTiling));
    const int stride = tray.rows + 1;
    std::uint32_t number = 0;
    for (const RecordKey &record : records) {
        const auto tiling = tileRecord(board, recordOf(record));
        if (!tiling)
            return tiling.error();
        for (const int g : symmetries) {
            const bool across = g & 4;
            const int rows = across ? tray.cols : tray.rows;
            for (const Placement &p : tiling->placements) {
                // The piece's cells in image g, as the image's grid indexes.
                Placement moved{p.shape, {}, p.cellCount};
                std::array<ColumnRow, 5> at{};
                for (int k = 0; k < p.cellCount; ++k) {
                    const auto [c, r] = movedCell(g, p.cells[static_cast<std::size_t>(k)] / stride,
                                                  p.cells[static_cast<std::size_t>(k)] % stride,
                                                  tray.cols, tray.rows);
                    at[static_cast<std::size_t>(k)] = {c, r};
                    moved.cells[static_cast<std::size_t>(k)] =
                        static_cast<Integer>(c * (rows + 1) + r);
                }
                sortCells(moved);
                const std::uint64_t key = cellMask(moved, rows + 1, rows);
                auto [it, added] = index.m_byCells.try_emplace(
                    key, static_cast<std::uint32_t>(index.m_placements.size()));
                if (added) {
                    if (p.shape != SquarePiece)
                        moved.shape = orientationOf(std::span(at).first(5)).value_or(0);
                    index.m_placements.push_back(moved);
                    index.m_holders.emplace_back();
                }
                index.m_holders[it->second].push_back(number);
                index.m_pieces.push_back(it->second);
            }
            ++number;
        }
    }
    return index;
}

std::optional<std::uint32_t> TilingIndex::placementOf(const Placement &placement) const
{
    // The cells alone name a placement: no two orientations cover the same
    // cells.
    const auto it = m_byCells.find(cellMask(placement, m_rows + 1, m_rows));
    if (it == m_byCells.end() || m_placements[it->second].shape != placement.shape)
        return std::nullopt;
    return it->second;
}

std::vector<std::uint32_t> TilingIndex::holding(std::span<const std::uint32_t> placements,
                                                std::size_t limit) const
{
    std::vector<std::uint32_t> found;
    if (placements.empty()) {
        for (std::uint32_t t = 0; t < size() && (limit == 0 || found.size() < limit); ++t)
            found.push_back(t);
        return found;
    }
    // The shortest list, each of its tilings looked up in the others.
    std::vector<const std::vector<std::uint32_t> *> lists;
    for (std::uint32_t p : placements)
        lists.push_back(&m_holders.at(p));
    std::sort(lists.begin(), lists.end(),
              [](const auto *a, const auto *b) { return a->size() < b->size(); });
    std::vector<std::vector<std::uint32_t>::const_iterator> from;
    for (const auto *list : lists)
        from.push_back(list->begin());
    for (std::uint32_t t : *lists.front()) {
        bool everywhere = true;
        for (std::size_t k = 1; k < lists.size() && everywhere; ++k) {
            from[k] = std::lower_bound(from[k], lists[k]->end(), t);
            everywhere = from[k] != lists[k]->end() && *from[k] == t;
        }
        if (everywhere) {
            found.push_back(t);
            if (limit != 0 && found.size() >= limit)
                break;
        }
    }
    return found;
}

std::size_t TilingIndex::count(std::span<const std::uint32_t> placements, std::size_t limit) const
{
    return holding(placements, limit).size();
}

std::span<const std::uint32_t> TilingIndex::piecesOf(std::uint32_t tiling) const
{
    return std::span(m_pieces).subspan(static_cast<std::size_t>(tiling) * m_perTiling,
                                       static_cast<std::size_t>(m_perTiling));
}

Tiling TilingIndex::tiling(std::uint32_t number) const
{
    const bool across = (number % static_cast<std::uint32_t>(m_images)) & 4;
    Tiling t{m_board, across ? m_rows : m_cols, across ? m_cols : m_rows, {}};
    for (std::uint32_t p : piecesOf(number))
        t.placements.push_back(m_placements[p]);
    return t;
}

} // namespace tw
