#include "app/TrayDraft.h"

#include <algorithm>

namespace tw {

namespace {

std::size_t bit(int column, int row)
{
    return static_cast<std::size_t>(column * TrayDraft::Side + row);
}

} // namespace

bool TrayDraft::has(int column, int row) const
{
    return inside(column, row) && m_cells.test(bit(column, row));
}

void TrayDraft::set(int column, int row, bool cell)
{
    if (inside(column, row))
        m_cells.set(bit(column, row), cell);
}

void TrayDraft::commit(const Cells &before)
{
    if (before == m_cells)
        return;
    m_undo.push_back(before);
    m_redo.clear();
}

void TrayDraft::beginStroke(int column, int row)
{
    if (!inside(column, row))
        return;
    m_strokeStart = m_cells;
    m_stroking = true;
    m_adding = !has(column, row);
    set(column, row, m_adding);
}

void TrayDraft::strokeTo(int column, int row)
{
    if (m_stroking)
        set(column, row, m_adding);
}

void TrayDraft::endStroke()
{
    if (!m_stroking)
        return;
    m_stroking = false;
    commit(m_strokeStart);
}

void TrayDraft::moveCursor(int dColumn, int dRow, bool extend)
{
    const int column = std::clamp(m_cursorColumn + dColumn, 0, Side - 1);
    const int row = std::clamp(m_cursorRow + dRow, 0, Side - 1);
    if (extend) {
        const Cells before = m_cells;
        set(column, row, has(m_cursorColumn, m_cursorRow));
        commit(before);
    }
    m_cursorColumn = column;
    m_cursorRow = row;
}

void TrayDraft::toggleAtCursor()
{
    const Cells before = m_cells;
    set(m_cursorColumn, m_cursorRow, !has(m_cursorColumn, m_cursorRow));
    commit(before);
}

void TrayDraft::step(std::vector<Cells> &from, std::vector<Cells> &to)
{
    if (from.empty())
        return;
    to.push_back(m_cells);
    m_cells = from.back();
    from.pop_back();
}

void TrayDraft::undo()
{
    step(m_undo, m_redo);
}

void TrayDraft::redo()
{
    step(m_redo, m_undo);
}

void TrayDraft::replace(const Cells &cells)
{
    const Cells before = m_cells;
    m_cells = cells;
    commit(before);
}

void TrayDraft::load(const Tray &tray)
{
    Cells cells;
    for (int c = 0; c < tray.cols(); ++c)
        for (int r = 0; r < tray.rows(); ++r)
            if (tray.has(c, r))
                cells.set(bit(c, r));
    replace(cells);
}

void TrayDraft::clear()
{
    replace({});
}

TrayDraft::Box TrayDraft::box() const
{
    Box box{Side, Side, -1, -1};
    for (int c = 0; c < Side; ++c)
        for (int r = 0; r < Side; ++r)
            if (has(c, r))
                box = {std::min(box.left, c), std::min(box.top, r), std::max(box.right, c),
                       std::max(box.bottom, r)};
    return box;
}

Tray TrayDraft::tray(std::string label) const
{
    const Box at = box();
    std::bitset<Tray::MaxSide * Tray::MaxSide> cells;
    for (int c = at.left; c <= at.right; ++c)
        for (int r = at.top; r <= at.bottom; ++r)
            if (has(c, r))
                cells.set(static_cast<std::size_t>((c - at.left) * Tray::MaxSide + (r - at.top)));
    return Tray(std::move(label), std::max(0, at.right - at.left + 1),
                std::max(0, at.bottom - at.top + 1), cells);
}

std::string TrayDraft::countLine() const
{
    const int n = cellCount();
    const std::string cells = std::to_string(n);
    if (n <= 60)
        return cells + " of 60 cells";
    if (n < 64)
        return cells + " of 64 cells: at 64 the 2 x 2 square joins the pieces";
    if (n == 64)
        return "64 of 64 cells: the 2 x 2 square joins the twelve pentominoes";
    return cells + " cells: at most 64, the twelve pentominoes and the 2 x 2 square";
}

std::string TrayDraft::symmetryLine() const
{
    return empty() ? std::string() : "Symmetry: " + symmetryWords(tray());
}

std::optional<Obstacle> TrayDraft::obstacle() const
{
    if (cellCount() != 60 && cellCount() != 64)
        return std::nullopt;
    auto seen = visibleObstacle(tray());
    if (seen) {
        const Box at = box();
        for (auto &[c, r] : seen->cells)
            c += at.left, r += at.top;
    }
    return seen;
}

bool TrayDraft::searchable() const
{
    return (cellCount() == 60 || cellCount() == 64) && !obstacle();
}

std::optional<std::pair<int, int>> DraftLayout::cellAt(int x, int y) const
{
    if (x < left || y < top)
        return std::nullopt;
    const int column = (x - left) / cell, row = (y - top) / cell;
    if (column >= TrayDraft::Side || row >= TrayDraft::Side)
        return std::nullopt;
    return std::pair{column, row};
}

DraftLayout draftLayout(int width, int height)
{
    DraftLayout layout;
    layout.cell = std::max(1, std::min(width, height) / TrayDraft::Side);
    layout.left = (width - layout.cell * TrayDraft::Side) / 2;
    layout.top = (height - layout.cell * TrayDraft::Side) / 2;
    return layout;
}

std::string symmetryWords(const Tray &tray)
{
    const std::vector<int> &g = tray.symmetries();
    const auto holds = [&g](int s) { return std::find(g.begin(), g.end(), s) != g.end(); };
    switch (g.size()) {
    case 8:
        return "the same under all 8 turns and reflections";
    case 4:
        if (holds(5))
            return "the same under quarter turns only";
        if (holds(4))
            return "the same under a half-turn and in both diagonal mirrors only";
        return "the same under a half-turn and in mirrors left to right and top to bottom only";
    case 2:
        if (holds(3))
            return "the same under a half-turn only";
        if (holds(1))
            return "the same in a mirror left to right only";
        if (holds(2))
            return "the same in a mirror top to bottom only";
        return "the same in a diagonal mirror only";
    default:
        return "no symmetry";
    }
}

} // namespace tw
