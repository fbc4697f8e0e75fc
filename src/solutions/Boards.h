#pragma once

#include "base/Integer.h"
#include "base/Units.h"
#include "solutions/Tray.h"

#include <array>
#include <optional>
#include <string_view>

namespace tw {

struct PieceState;
class PreviewInterface;

// One of the five trays. Sizes are cells (columns x rows); the position is the
// twips position of the tray's top-left cell on the main window; the default
// side is the report's unit-square side in inches.
struct TrayInfo
{
    std::string_view label;
    Integer cols;
    Integer rows;
    Integer trayLeft;
    Integer trayTop;
    Single defaultSide;
    Integer solutions; // as many as the generator finds and writes
};

inline constexpr int BoardCount = 5;
// The 8 x 8 tray, the only square one and the only one with the 2 x 2 piece.
inline constexpr Integer SquareBoard = 4;

// Indexed by the database's Board, which is also their place in the
// catalogue.
inline constexpr std::array<TrayInfo, BoardCount> Trays{{
    {"10 x 6", 10, 6, 4000, 3700, 0.0278f, 2339},
    {"12 x 5", 12, 5, 3600, 3750, 0.0408f, 1010},
    {"15 x 4", 15, 4, 3500, 3800, 0.0468f, 368},
    {"20 x 3", 20, 3, 3000, 3850, 0.375f, 2},
    {"8 x 8", 8, 8, 4200, 3500, 0.0286f, 16146},
}};

// Whether board is one of the database's Board numbers, taken at its full
// width (a stored 65536 is none of them).
inline constexpr bool isBuiltIn(long long board)
{
    return board >= 0 && board < BoardCount;
}
// The five trays' Board numbers, in the database's order.
inline constexpr std::array<Integer, BoardCount> BuiltInBoards{0, 1, 2, 3, 4};

// Board 0..4 as a tray value: its cells, pieces and symmetry. Throws
// std::out_of_range for another number.
const Tray &trayOf(Integer board);

// Makes board boardIndex (0..4) the grid's: Rows, Stride, Cols, ColsPlus1
// and GridMax. Throws std::out_of_range for another index.
void SetBoardLayout(PieceState &board, Integer boardIndex);

// Re-creates BoardGrid for the board: every cell free but the sentinels.
void ClearBoard(PieceState &board);

// The grid of board 0..4, its layout set, its shapes built, cleared.
PieceState boardGrid(Integer boardIndex);

} // namespace tw
