#include "solutions/TilingIndex.h"

#include "pieces/PieceTables.h"

#include <algorithm>

namespace tw {

TilingIndex TilingIndex::of(const Tray &tray, Integer board, std::span<const Tiling> solutions)
{
    TilingIndex index;
    index.m_tray = tray;
    index.m_board = board;
    index.m_cols = static_cast<Integer>(tray.cols());
    index.m_rows = static_cast<Integer>(tray.rows());
    index.m_images = static_cast<int>(tray.symmetries().size());
    index.m_perTiling = tray.pieceCount();
    // Placements are keyed by the tray's cells they cover, numbered column
    // by column: at most 64 of them, whatever the box. An image lies on
    // the same cells (a symmetry maps the tray onto itself), across or not.
    const int stride = tray.rows() + 1;
    index.m_ordinal.assign(static_cast<std::size_t>(tray.cols() * stride + 1), -1);
    for (int c = 0, n = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (tray.has(c, r))
                index.m_ordinal[static_cast<std::size_t>(c * stride + r)] = n++;
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (!tray.has(c, r))
                index.m_holes.push_back(static_cast<Integer>(c * stride + r));
    index.m_pieces.reserve(solutions.size() * static_cast<std::size_t>(index.m_images) *
                           static_cast<std::size_t>(index.m_perTiling));
    for (const Tiling &solution : solutions)
        index.add(solution);
    return index;
}

namespace {

std::uint64_t cellMask(const Placement &p, const std::vector<int> &ordinal)
{
    std::uint64_t mask = 0;
    for (int k = 0; k < p.cellCount; ++k) {
        const auto c = static_cast<std::size_t>(p.cells[static_cast<std::size_t>(k)]);
        const int n = c < ordinal.size() ? ordinal[c] : -1;
        if (n < 0 || n >= 64)
            return 0; // off the tray: no tiling holds it
        mask |= std::uint64_t{1} << n;
    }
    return mask;
}

} // namespace

void TilingIndex::add(const Tiling &solution)
{
    const int stride = m_rows + 1;
    auto number =
        static_cast<std::uint32_t>(m_pieces.size() / static_cast<std::size_t>(m_perTiling));
    for (const int g : m_tray.symmetries()) {
        const int rows = g & 4 ? m_cols : m_rows;
        for (const Placement &p : solution.placements) {
            // The piece's cells in image g, as the image's grid indexes.
            Placement moved{p.shape, {}, p.cellCount};
            std::array<ColumnRow, 5> at{};
            for (int k = 0; k < p.cellCount; ++k) {
                const auto [c, r] =
                    movedCell(g, p.cells[static_cast<std::size_t>(k)] / stride,
                              p.cells[static_cast<std::size_t>(k)] % stride, m_cols, m_rows);
                at[static_cast<std::size_t>(k)] = {c, r};
                moved.cells[static_cast<std::size_t>(k)] = static_cast<Integer>(c * (rows + 1) + r);
            }
            sortCells(moved);
            const std::uint64_t key = cellMask(moved, m_ordinal);
            auto [it, added] =
                m_byCells.try_emplace(key, static_cast<std::uint32_t>(m_placements.size()));
            if (added) {
                if (p.shape != SquarePiece)
                    moved.shape = orientationOf(std::span(at).first(5)).value_or(0);
                m_placements.push_back(moved);
                m_holders.emplace_back();
            }
            m_holders[it->second].push_back(number);
            m_pieces.push_back(it->second);
        }
        ++number;
    }
}

std::optional<std::uint32_t> TilingIndex::placementOf(const Placement &placement) const
{
    // The cells alone name a placement: no two orientations cover the same
    // cells.
    const auto it = m_byCells.find(cellMask(placement, m_ordinal));
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
    const bool across = m_tray.symmetries()[number % static_cast<std::uint32_t>(m_images)] & 4;
    // A symmetry maps the tray onto itself: its holes stay holes.
    Tiling t{m_board, across ? m_rows : m_cols, across ? m_cols : m_rows, {}, m_holes};
    for (std::uint32_t p : piecesOf(number))
        t.placements.push_back(m_placements[p]);
    return t;
}

} // namespace tw
