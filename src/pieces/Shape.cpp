#include "pieces/Shape.h"

#include "pieces/PieceState.h"
#include "pieces/PieceTables.h"
#include "pieces/PreviewInterface.h"

namespace tw {

namespace {

bool insideGrid(const PieceState &state, const Placement &p)
{
    for (int k = 0; k < p.cellCount; ++k) {
        const int c = p.cells[static_cast<std::size_t>(k)];
        if (c < 0 || c > state.GridMax || c >= static_cast<int>(state.BoardGrid.size()))
            return false;
    }
    return true;
}

} // namespace

Placement clsShape::placedAt(Integer i) const
{
    // In a wider type first: a cell beyond 16 bits is outside every grid.
    const auto cell = [i](int offset) {
        const int c = i + offset;
        return fitsInteger(c) ? static_cast<Integer>(c) : Integer(-1);
    };
    return {Shape, {i, cell(Square2), cell(Square3), cell(Square4), cell(Square5)}, 5};
}

void clsShape::DrawIndex(Canvas &canvas, Integer i, int stride, const TrayGeometry &where,
                         Appearance look) const
{
    paintPiece(canvas, placedAt(i), stride, where, look);
}

void clsShape::PrintShape(PreviewInterface &page, Integer cell, int stride,
                          const TrayGeometry &where, const PaperLook &look) const
{
    printPiece(page, placedAt(cell), stride, where, look);
}

bool clsShape::Fits(PieceState &state, Integer i) const
{
    const Placement placed = placedAt(i);
    if (!insideGrid(state, placed))
        return false;
    for (int k = 0; k < placed.cellCount; ++k)
        state.BoardGrid[static_cast<std::size_t>(placed.cells[static_cast<std::size_t>(k)])] = true;
    int k = i;
    while (k <= state.GridMax && state.BoardGrid[static_cast<std::size_t>(k)])
        ++k;
    state.NextCell = toInteger(k);
    return true;
}

Integer clsShape::Modify(const PieceState &state, Integer iSquare) const
{
    const int d = state.Rows - 7;
    int result = iSquare;
    for (int threshold : ColumnThresholds)
        if (iSquare >= threshold)
            result += d;
    return toInteger(result);
}

} // namespace tw
