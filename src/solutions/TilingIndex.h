#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "pieces/Tiling.h"
#include "solutions/Decoding.h"
#include "solutions/Tray.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace tw {

// Every tiling of a tray in a compact form: each stored solution in every
// image under the tray's symmetries (computed from its cells), and for each
// placement of a piece the tilings that hold it, so that how many tilings
// hold a set of pieces is an intersection of lists away, not a search.
//
// Tilings are numbered solution by solution: tiling (s - 1) * images() + k
// is solution s moved by the tray's k-th symmetry (see Tray::symmetries). Placements are numbered
// as they are first met; a placement no tiling holds has no number.
class TilingIndex
{
public:
    // The index of any tray from its solutions, solution 1 first, each a
    // complete tiling of it in grid indexes of stride rows + 1. board: the
    // tray's place in the catalogue.
    static TilingIndex of(const Tray &tray, Integer board, std::span<const Tiling> solutions);

    Integer board() const { return m_board; }
    const Tray &tray() const { return m_tray; }
    int images() const { return m_images; }
    std::uint32_t size() const { return static_cast<std::uint32_t>(m_pieces.size() / m_perTiling); }

    // The number of a piece laid so, or none when no tiling holds it.
    std::optional<std::uint32_t> placementOf(const Placement &placement) const;
    const Placement &placement(std::uint32_t number) const { return m_placements[number]; }
    std::uint32_t placementCount() const { return static_cast<std::uint32_t>(m_placements.size()); }

    // The tilings that hold every placement given (all of them for none),
    // ascending; the first limit of them when limit is not 0.
    std::vector<std::uint32_t> holding(std::span<const std::uint32_t> placements,
                                       std::size_t limit = 0) const;
    // How many tilings hold every placement given, counted up to limit
    // (0: all).
    std::size_t count(std::span<const std::uint32_t> placements, std::size_t limit = 0) const;

    // A tiling's pieces (square, X, then in its record's laying order).
    std::span<const std::uint32_t> piecesOf(std::uint32_t tiling) const;
    Tiling tiling(std::uint32_t number) const;
    Integer solutionOf(std::uint32_t tiling) const
    {
        return static_cast<Integer>(tiling / static_cast<std::uint32_t>(m_images) + 1);
    }

private:
    void add(const Tiling &solution);

    Tray m_tray = Tray::rectangle({}, 0, 0);
    std::vector<Integer> m_holes; // as Tiling::holes
    std::vector<int> m_ordinal;   // by grid index: the cell's place in the tray's cells, or -1
    Integer m_board = 0;
    Integer m_cols = 0, m_rows = 0;
    int m_images = 4;
    int m_perTiling = 12;
    std::vector<Placement> m_placements;
    std::unordered_map<std::uint64_t, std::uint32_t> m_byCells;
    std::vector<std::vector<std::uint32_t>> m_holders; // by placement: its tilings, ascending
    std::vector<std::uint32_t> m_pieces;               // by tiling: its placements
};

} // namespace tw
