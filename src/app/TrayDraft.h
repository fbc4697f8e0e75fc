#pragma once

#include "solutions/Region.h"
#include "solutions/Tray.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// A tray being drawn in the New Tray editor: cells on a grid of 32 x 32,
// changed by strokes of the mouse or keys, each stroke one step to undo.
// What the window shows of it (the cell count against what the pieces
// need, the symmetry in words, why it cannot be tiled) comes from here.
class TrayDraft
{
public:
    static constexpr int Side = Tray::MaxSide;
    using Cells = std::bitset<Side * Side>;

    bool has(int column, int row) const;
    int cellCount() const { return static_cast<int>(m_cells.count()); }
    bool empty() const { return m_cells.none(); }

    // A stroke: the mouse pressed on a cell removes cells, on a gap adds
    // them, for every cell the stroke then passes; ended, it is one step.
    void beginStroke(int column, int row);
    void strokeTo(int column, int row);
    void endStroke();
    bool stroking() const { return m_stroking; }

    // The keyboard's cursor: the arrows move it, Space toggles its cell and
    // a move with Shift carries the cell it leaves to the cell it reaches
    // (drawing or rubbing out a line), each Shift move one step.
    int cursorColumn() const { return m_cursorColumn; }
    int cursorRow() const { return m_cursorRow; }
    void moveCursor(int dColumn, int dRow, bool extend);
    void toggleAtCursor();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();

    // Replaces the drawing by the tray's cells at the top left of the grid,
    // one step to undo.
    void load(const Tray &tray);
    void clear();

    // The drawing as a tray, its box shrunk to its cells (none: empty).
    Tray tray(std::string label = {}) const;

    // "58 of 60 cells", "64 of 64 cells: the 2 x 2 square joins the twelve
    // pentominoes", ...
    std::string countLine() const;
    // "Symmetry: " and the turns and reflections that leave the drawing as it
    // is, in words; nothing while it is empty.
    std::string symmetryLine() const;
    // Why the drawing, of the right number of cells, cannot be tiled, with
    // the cells at fault on the grid; nothing when nothing shows at once.
    std::optional<Obstacle> obstacle() const;
    // Whether the drawing is a region the pieces may tile: the cell count
    // right and no obstacle seen.
    bool searchable() const;

private:
    // The drawing's box on the grid (right < left when it is empty).
    struct Box
    {
        int left, top, right, bottom;
    };
    Box box() const;
    void set(int column, int row, bool cell);
    // The drawing replaced, one step to undo.
    void replace(const Cells &cells);
    // The step on top of from becomes the drawing; the drawing goes onto to.
    void step(std::vector<Cells> &from, std::vector<Cells> &to);
    void commit(const Cells &before);
    static bool inside(int column, int row)
    {
        return column >= 0 && column < Side && row >= 0 && row < Side;
    }

    Cells m_cells;
    std::vector<Cells> m_undo, m_redo;
    Cells m_strokeStart;
    bool m_stroking = false, m_adding = false;
    int m_cursorColumn = 0, m_cursorRow = 0;
};

// Where the editor's grid of cells stands in a view of width x height
// pixels: square cells of whole pixels, the grid centred.
struct DraftLayout
{
    int cell = 1, left = 0, top = 0;

    // The cell under a point of the view, or none off the grid.
    std::optional<std::pair<int, int>> cellAt(int x, int y) const;
    // A cell's square in the view, as left, top and side.
    std::array<int, 3> square(int column, int row) const
    {
        return {left + column * cell, top + row * cell, cell};
    }
};
DraftLayout draftLayout(int width, int height);

// A tray's symmetry in words: "the same under all 8 turns and
// reflections", "under a half-turn only", "no symmetry", ...
std::string symmetryWords(const Tray &tray);

} // namespace tw
