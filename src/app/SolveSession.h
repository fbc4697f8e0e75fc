#pragma once

#include "base/Expected.h"
#include "pieces/Tiling.h"
#include "solutions/TilingIndex.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// "Solve it yourself" without its window: a tray the user lays pieces on,
// with how many of the tray's tilings still complete it, hints, undo and
// redo, and the tilings that remain to browse. The tray lies as drawn: its
// tilings are every solution in every image.
class SolveSession
{
public:
    explicit SolveSession(const TilingIndex &index);

    const TilingIndex &index() const { return m_index; }
    // The pieces laid, in the order they were laid.
    const Tiling &position() const { return m_position; }

    // Lays orientation shape (or the square) with its first cell on
    // (column, row); false, changing nothing, when it would leave the tray,
    // cover a laid piece, or lay a piece laid already.
    bool lay(Integer shape, int column, int row);
    // Takes back the piece covering (column, row); false when none does.
    bool takeBack(int column, int row);
    // Moves the piece covering (fromColumn, fromRow) to lie as orientation
    // shape with its first cell on (column, row), as one step to undo;
    // false, changing nothing, when no piece is there or it would not fit.
    bool move(int fromColumn, int fromRow, Integer shape, int column, int row);
    // Whether lay, or move from the piece laid on from, would succeed.
    bool fits(Integer shape, int column, int row, const Placement *from = nullptr) const;
    // Puts the position laid in text (rows of letters, "." for an empty
    // cell) on the tray, as one step to undo; why not, when the text is not
    // a position of this tray.
    std::optional<std::string> open(std::string_view text);
    // The same for a position already read, laid as the tray lies.
    void open(Tiling position) { step(std::move(position)); }
    bool undo();
    bool redo();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Nothing to undo or redo from here on.
    void forgetSteps()
    {
        m_undo.clear();
        m_redo.clear();
    }

    // The tilings that still complete the position, in the index's order.
    const std::vector<std::uint32_t> &remaining() const { return m_remaining; }
    // How many solutions those tilings come from.
    std::size_t solutions() const;
    // "14 tilings still complete this (9 solutions)", or that none does.
    QString countText() const;
    // The piece most recently laid, which a dead end is marked on.
    const Placement *lastLaid() const;

    // Lays one more piece: of the tilings that remain, the piece and place
    // most of them share. When none remains, lays nothing and returns
    // which laid piece to take back first.
    std::optional<QString> hint();

    // Whether the tray is full, and then its solution's number.
    bool finished() const { return m_position.complete(); }
    std::optional<Integer> solution() const;

    // The position as text: rows of letters, "." for an empty cell.
    std::string text() const;

private:
    // from with the piece laid, or none when it does not fit there.
    std::optional<Tiling> withLaid(Tiling from, Integer shape, int column, int row) const;
    // The position without the piece p (none: the whole position).
    Tiling without(const Placement *p) const;
    void step(Tiling next);
    void recount();

    const TilingIndex &m_index;
    Tiling m_position;
    std::vector<Tiling> m_undo, m_redo;
    std::vector<std::uint32_t> m_remaining;
};

// "10 x 6: 14 tilings, 9 solutions", then the solutions' numbers, for
// --count.
std::string countLines(const SolveSession &session);

} // namespace tw
