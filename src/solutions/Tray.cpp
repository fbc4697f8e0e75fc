#include "solutions/Tray.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tw {

Tray Tray::rectangle(std::string label, int cols, int rows)
{
    std::bitset<MaxSide * MaxSide> cells;
    for (int c = 0; c < std::clamp(cols, 0, MaxSide); ++c)
        for (int r = 0; r < std::clamp(rows, 0, MaxSide); ++r)
            cells.set(static_cast<std::size_t>(c * MaxSide + r));
    return Tray(std::move(label), cols, rows, cells);
}

Tray::Tray(std::string label, int cols, int rows, std::bitset<MaxSide * MaxSide> cells)
    : m_label(std::move(label)), m_cols(std::clamp(cols, 0, MaxSide)),
      m_rows(std::clamp(rows, 0, MaxSide)), m_cells(cells),
      m_cellCount(static_cast<int>(cells.count()))
{
    for (int g = 0; g < 8; ++g) {
        if ((g & 4) && m_cols != m_rows)
            continue;
        bool maps = true;
        for (int c = 0; c < m_cols && maps; ++c)
            for (int r = 0; r < m_rows && maps; ++r)
                if (has(c, r)) {
                    const auto [mc, mr] = movedCell(g, c, r, m_cols, m_rows);
                    maps = has(mc, mr);
                }
        if (maps)
            m_symmetries.push_back(g);
    }
}

std::string Tray::kind() const
{
    if (cellCount() != m_cols * m_rows)
        return "Tray";
    return m_cols == m_rows ? "Square" : "Rectangle";
}

std::string theTray(const Tray &tray)
{
    if (tray.label() == std::to_string(tray.cols()) + " x " + std::to_string(tray.rows()))
        return "the " + tray.label() + " tray";
    return "the tray \"" + tray.label() + "\"";
}

bool Tray::has(int column, int row) const
{
    return column >= 0 && column < m_cols && row >= 0 && row < m_rows &&
           m_cells.test(static_cast<std::size_t>(column * MaxSide + row));
}

} // namespace tw
