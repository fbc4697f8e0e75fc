#include "solutions/Boards.h"

#include "pieces/PreviewInterface.h"
#include "solutions/SharedState.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace tw {

namespace {

void setBoardSize(SharedState &state, const TrayInfo &tray)
{
    state.Rows = tray.rows;
    state.Stride = toInteger(tray.rows + 1);
    state.Cols = tray.cols;
    state.ColsPlus1 = toInteger(tray.cols + 1);
}

} // namespace

void SetBoardLayout(SharedState &state, Integer boardIndex)
{
    if (boardIndex < 0 || boardIndex >= BoardCount)
        throw std::out_of_range("board index " + std::to_string(boardIndex));
    const TrayInfo &tray = Trays[static_cast<std::size_t>(boardIndex)];
    state.BoardIndex = boardIndex;
    state.TrayLeft = tray.trayLeft;
    state.TrayTop = tray.trayTop;
    setBoardSize(state, tray);
    state.GridMax = toInteger(state.ColsPlus1 * state.Stride);

    const PreviewInterface *preview = state.PreviewControl;
    if (!preview)
        return;
    const Integer w = toInteger(static_cast<long long>(preview->PageWidth()) -
                                preview->MarginLeft() - preview->MarginRight());
    const Integer h = toInteger(static_cast<long long>(preview->PageHeight()) -
                                preview->MarginTop() - preview->MarginBottom());
    const Single x = static_cast<Single>(static_cast<double>(w) / state.Cols / TwipsPerInch);
    const Single y = static_cast<Single>(static_cast<double>(h) / state.Rows / TwipsPerInch);
    state.MaxUnitSize = x < y ? x : y;
}

void ClearBoard(SharedState &state)
{
    state.BoardGrid.assign(static_cast<std::size_t>(state.GridMax + 1), false);
    for (int c = 1; c <= state.Cols; ++c)
        state.BoardGrid[static_cast<std::size_t>(c * state.Stride - 1)] = true;
    for (int i = state.Cols * state.Stride; i <= state.GridMax; ++i)
        state.BoardGrid[static_cast<std::size_t>(i)] = true;
}

std::optional<Single> ResetUnitSize(SharedState &state)
{
    std::optional<Single> side;
    state.UnitSize = ScreenUnit;
    if (state.OutputMode == 1) {
        const TrayInfo &tray = Trays.at(static_cast<std::size_t>(state.BoardIndex));
        setBoardSize(state, tray);
        side = tray.defaultSide;
        state.UnitSize = static_cast<Single>(tray.defaultSide * TwipsPerInch);
    }
    state.DoubleUnit = 2 * state.UnitSize;
    return side;
}

std::string sideText(Single inches)
{
    // The shortest text that reads back as the same Single: 0.0278, not
    // 0.027799999.
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, inches);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

} // namespace tw
