#include "pieces/Shape.h"

#include "pieces/Appearance.h"
#include "pieces/PieceState.h"
#include "pieces/PieceTables.h"
#include "pieces/PreviewInterface.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tw {

namespace {

std::array<int, 5> cellsAt(const clsShape &s, int i)
{
    return {i, i + s.Square2, i + s.Square3, i + s.Square4, i + s.Square5};
}

bool insideGrid(const PieceState &state, const std::array<int, 5> &cells)
{
    for (int c : cells)
        if (c < 0 || c > state.GridMax || c >= static_cast<int>(state.BoardGrid.size()))
            return false;
    return true;
}

// Offset of a whole number of units, rounded as the painters round it.
Integer unitOffset(int units, Single unitSize)
{
    return roundToInteger(static_cast<Single>(units) * unitSize);
}

// Paints the cells of shape s at grid index i in colour on the surface.
void paintCells(PieceState &state, const clsShape &s, Integer i, Colour colour)
{
    state.DrawColor = colour;
    if (state.Stride <= 0)
        return;
    for (int c : cellsAt(s, i))
        DrawSquare(state, unitOffset(c / state.Stride, state.UnitSize),
                   unitOffset(c % state.Stride, state.UnitSize));
}

// The unit square the letter of a piece covering these grid indexes is
// centred in, twips from the origin; nothing when it is too small to carry
// one.
struct LetterPlace
{
    Integer x, y, side;
};

std::optional<LetterPlace> letterPlace(const PieceState &state, const std::array<int, 5> &cells)
{
    std::array<ColumnRow, 5> at{};
    for (std::size_t k = 0; k < cells.size(); ++k)
        at[k] = {cells[k] / state.Stride, cells[k] % state.Stride};
    const LetterSquare square = letterSquare(at);
    const Integer side = roundToInteger(state.UnitSize);
    if (side < MinimumLetterSquare)
        return std::nullopt;
    // In the middle of a 2 x 2 square, half a unit in from its corner.
    const Single inset = static_cast<Single>(square.size - 1) * state.UnitSize / 2;
    return LetterPlace{roundToInteger(unitOffset(square.column, state.UnitSize) + inset),
                       roundToInteger(unitOffset(square.row, state.UnitSize) + inset), side};
}

} // namespace

Colour clsShape::ColorIn(const PieceState &state) const
{
    return paletteColour(state.Look.palette, Piece, Color);
}

void DrawSquare(PieceState &state, Integer dx, Integer dy)
{
    if (!state.Screen)
        return;
    const Integer x = toInteger(state.OriginX + dx);
    const Integer y = toInteger(state.OriginY + dy);
    state.Screen->fillBox(x, y, state.UnitSize, state.UnitSize, state.DrawColor);
}

void clsShape::DrawIndex(PieceState &state, Integer i) const
{
    const Colour colour = ColorIn(state);
    paintCells(state, *this, i, colour);
    if (!state.Look.letters || !state.Screen || state.Stride <= 0)
        return;
    if (const auto place = letterPlace(state, cellsAt(*this, i)))
        state.Screen->drawLetter(state.OriginX + place->x, state.OriginY + place->y, place->side,
                                 Letter.at(0), letterColourOn(colour));
}

bool clsShape::Fits(PieceState &state, Integer i) const
{
    const auto cells = cellsAt(*this, i);
    if (!insideGrid(state, cells))
        return false;
    for (int c : cells)
        state.BoardGrid[static_cast<std::size_t>(c)] = true;

    if (state.OutputMode == 1)
        PrintShape(state);
    else if (state.OutputMode == 0)
        DrawIndex(state, i);

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

bool clsShape::Remove(PieceState &state, Integer i) const
{
    const auto cells = cellsAt(*this, i);
    if (!insideGrid(state, cells))
        return false;
    for (int c : cells)
        state.BoardGrid[static_cast<std::size_t>(c)] = false;

    // Paint the cells in the empty tray's colour, then leave DrawColor at the
    // piece's colour as DrawIndex would.
    paintCells(state, *this, i, White);
    state.DrawColor = ColorIn(state);

    state.NextCell = i;
    return true;
}

void clsShape::PrintShape(PieceState &state) const
{
    PreviewInterface *preview = state.PreviewControl;
    if (!preview || state.Stride <= 0)
        return;
    if (Piece == 0)
        state.NextCell = state.XIndex;

    const auto placedCells = cellsAt(*this, state.NextCell);
    const Long side = roundToLong(state.UnitSize);
    preview->setBrushStyle(PreviewInterface::BrushStyle::Solid);

    struct Cell
    {
        int index, column, row;
        Integer x, left, top;
    };
    std::array<Cell, 5> cells{};
    for (std::size_t k = 0; k < placedCells.size(); ++k) {
        const int c = placedCells[k];
        const int column = c / state.Stride;
        const int row = c % state.Stride;
        const Integer x = unitOffset(column, state.UnitSize);
        cells[k] = {c,
                    column,
                    row,
                    x,
                    toInteger(state.OriginX + x),
                    toInteger(state.OriginY + unitOffset(row, state.UnitSize))};
    }

    // The letter goes on top, black or white on a colour, black on the
    // outlines, white on the black X.
    const auto writeLetter = [&](Colour colour) {
        if (!state.Look.letters)
            return;
        const auto place = letterPlace(state, placedCells);
        if (!place)
            return;
        const Colour fore = preview->ForeColor();
        preview->setForeColor(colour);
        preview->DrawLetter(state.OriginX + place->x, state.OriginY + place->y, place->side,
                            Letter.at(0));
        preview->setForeColor(fore);
    };

    if (state.RenderMode == 0) {
        const Colour colour = ColorIn(state);
        preview->setForeColor(colour);
        preview->setBrushColor(preview->ForeColor());
        for (const Cell &c : cells)
            preview->DrawRectangle(c.left, c.top, side, side);
        writeLetter(letterColourOn(colour));
        return;
    }

    preview->setForeColor(Black);
    preview->setBrushColor(preview->ForeColor());
    // Rows holding a square of this piece, in the column just finished and in
    // the column being drawn. The cells come in column-major order, so the
    // square above a cell is the previous cell and the column to the left is
    // complete when a new column starts.
    std::uint64_t finishedRows = 0;
    std::uint64_t currentRows = 0;
    int previousCell = -2;
    int columnOffset = -1;
    for (const Cell &c : cells) {
        if (c.index > previousCell + 1)
            preview->DrawLine(c.left, c.top, c.left + side, c.top);
        if (c.x != columnOffset) {
            columnOffset = c.x;
            finishedRows = currentRows;
            currentRows = 0;
        }
        const std::uint64_t rowBit = std::uint64_t{1} << (c.row & 63);
        if (!(finishedRows & rowBit))
            preview->DrawLine(c.left, c.top, c.left, c.top + side);
        currentRows |= rowBit;
        previousCell = c.index;
    }

    if (Shape == 0) {
        preview->setForeColor(Black);
        preview->setBrushColor(preview->ForeColor());
        for (const Cell &c : cells)
            preview->DrawRectangle(
                roundToLong(state.OriginX + static_cast<Single>(c.column) * state.UnitSize),
                roundToLong(state.OriginY + static_cast<Single>(c.row) * state.UnitSize), side,
                side);
    }
    writeLetter(Shape == 0 ? White : Black);
}

} // namespace tw
