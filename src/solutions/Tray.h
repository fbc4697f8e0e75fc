#pragma once

#include "base/Integer.h"

#include <bitset>
#include <string>
#include <utility>
#include <vector>

namespace tw {

// A tray as a value: any set of cells in a box of at most 32 x 32, holes
// allowed, its label, its pieces and its symmetry, all from the cells.
class Tray
{
public:
    static constexpr int MaxSide = 32;

    // A full rectangle of cols x rows cells.
    static Tray rectangle(std::string label, int cols, int rows);
    // The cells given, as bit column * MaxSide + row, within cols x rows.
    Tray(std::string label, int cols, int rows, std::bitset<MaxSide * MaxSide> cells);

    const std::string &label() const { return m_label; }
    // The same cells under another label.
    Tray labelled(std::string label) const
    {
        Tray copy = *this;
        copy.m_label = std::move(label);
        return copy;
    }
    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    // Whether (column, row) is a cell; false outside the box.
    bool has(int column, int row) const;
    int cellCount() const { return m_cellCount; }
    // The twelve pentominoes, and the 2 x 2 square on a tray of 64 cells.
    int pieceCount() const { return cellCount() == 64 ? 13 : 12; }
    bool takesTheSquare() const { return pieceCount() == 13; }
    // "Square" or "Rectangle" for a box filled whole, "Tray" for another
    // region: the word titles use.
    std::string kind() const;

    // The turns and reflections that map the cells onto themselves, the
    // identity first, each as g: bit 0 reflects left to right, bit 1 top
    // to bottom, bit 2 then lays it across (column and row swapped), which
    // only a square box allows. 8, 4, 2 or 1 of them.
    const std::vector<int> &symmetries() const { return m_symmetries; }

    bool operator==(const Tray &other) const
    {
        return m_cols == other.m_cols && m_rows == other.m_rows && m_cells == other.m_cells;
    }

private:
    std::string m_label;
    int m_cols = 0, m_rows = 0;
    std::bitset<MaxSide * MaxSide> m_cells; // (column, row) at column * MaxSide + row
    int m_cellCount = 0;
    std::vector<int> m_symmetries;
};

// How messages name a tray: "the 10 x 6 tray" for one labelled with its own
// size, "the tray \"Centre hole\"" for one with a name of its own.
std::string theTray(const Tray &tray);

// (column, row) moved by symmetry g of a cols x rows box.
inline std::pair<int, int> movedCell(int g, int column, int row, int cols, int rows)
{
    if (g & 1)
        column = cols - 1 - column;
    if (g & 2)
        row = rows - 1 - row;
    if (g & 4)
        std::swap(column, row);
    return {column, row};
}

} // namespace tw
