#include "solutions/Boards.h"

#include "pieces/PieceState.h"
#include "pieces/PreviewInterface.h"
#include "solutions/Decoding.h"

#include <stdexcept>
#include <string>

namespace tw {

const Tray &trayOf(Integer board)
{
    static const std::array<Tray, BoardCount> trays = [] {
        std::array<Tray, BoardCount> made{Tray::rectangle({}, 0, 0), Tray::rectangle({}, 0, 0),
                                          Tray::rectangle({}, 0, 0), Tray::rectangle({}, 0, 0),
                                          Tray::rectangle({}, 0, 0)};
        for (int b = 0; b < BoardCount; ++b)
            made[static_cast<std::size_t>(b)] = Tray::rectangle(
                std::string(Trays[static_cast<std::size_t>(b)].label),
                Trays[static_cast<std::size_t>(b)].cols, Trays[static_cast<std::size_t>(b)].rows);
        return made;
    }();
    if (board < 0 || board >= BoardCount)
        throw std::out_of_range("board index " + std::to_string(board));
    return trays[static_cast<std::size_t>(board)];
}

void SetBoardLayout(PieceState &board, Integer boardIndex)
{
    if (boardIndex < 0 || boardIndex >= BoardCount)
        throw std::out_of_range("board index " + std::to_string(boardIndex));
    const TrayInfo &tray = Trays[static_cast<std::size_t>(boardIndex)];
    board.Rows = tray.rows;
    board.Stride = toInteger(tray.rows + 1);
    board.Cols = tray.cols;
    board.ColsPlus1 = toInteger(tray.cols + 1);
    board.GridMax = toInteger(board.ColsPlus1 * board.Stride);
}

void ClearBoard(PieceState &board)
{
    board.BoardGrid.assign(static_cast<std::size_t>(board.GridMax + 1), false);
    for (int c = 1; c <= board.Cols; ++c)
        board.BoardGrid[static_cast<std::size_t>(c * board.Stride - 1)] = true;
    for (int i = board.Cols * board.Stride; i <= board.GridMax; ++i)
        board.BoardGrid[static_cast<std::size_t>(i)] = true;
}

PieceState boardGrid(Integer boardIndex)
{
    PieceState board;
    SetBoardLayout(board, boardIndex);
    BuildBoardShapes(board);
    ClearBoard(board);
    return board;
}

} // namespace tw
