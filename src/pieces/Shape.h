#pragma once

#include "base/Integer.h"
#include "pieces/Canvas.h"

#include <string>

namespace tw {

struct PieceState;

// One orientation of one piece. The fields are plain properties: setting one
// stores the value and nothing else. Square2..Square5 are grid-index offsets
// of squares 2 to 5 from square 1, the topmost square of the leftmost column;
// the catalogue writes them for a column stride of 8, a tray's copy for the
// tray's Stride.
//
// The operations read and write the shared state they are handed: the board
// grid, NextCell, the drawing origin and unit, OutputMode, DrawColor.
struct clsShape
{
    std::string Letter;
    Colour Color = 0;
    Integer Height = 0; // rows of the bounding box
    Integer Piece = 0;  // 0..11 in colour-table order; 0 is the X
    Integer Shape = 0;  // orientation number 0..62; 0 is the X
    Integer Square2 = 0;
    Integer Square3 = 0;
    Integer Square4 = 0;
    Integer Square5 = 0;
    Integer StartX = 0; // rows of the bounding box above square 1
    Integer Width = 0;  // columns of the bounding box

    // Paints the orientation on the main window's surface with square 1 at
    // grid index i, in the shape's colour in the palette in use (DrawColor),
    // one unit square per cell at (column * UnitSize, row * UnitSize) from
    // the origin, and its letter when the look asks for one. Leaves the grid
    // alone.
    void DrawIndex(PieceState &state, Integer i) const;

    // The shape's colour in the palette in use.
    Colour ColorIn(const PieceState &state) const;

    // Lays the orientation with square 1 at grid index i: marks its five cells
    // occupied without testing them, draws it for the current OutputMode
    // (0: DrawIndex, 1: PrintShape, other values: nothing) and moves NextCell
    // to the first free cell at or after i (GridMax + 1 when none is left).
    // Returns false, changing nothing, when a cell would fall outside
    // 0..GridMax.
    bool Fits(PieceState &state, Integer i) const;

    // The stride-8 offset iSquare converted to the current tray's Stride
    // (Rows + 1). Changes nothing.
    Integer Modify(const PieceState &state, Integer iSquare) const;

    // Draws the placed orientation (square 1 at NextCell; the X at XIndex)
    // into the preview control: filled squares in the piece's colour when
    // RenderMode is 0, otherwise the piece's top and left edges in black and
    // the X as a solid black cross; then its letter when the look asks for
    // one and the square holds it. Does nothing without a preview control.
    void PrintShape(PieceState &state) const;

    // Takes the orientation at grid index i off the board again: frees its
    // cells, paints them white and sets NextCell to i. Returns false, changing
    // nothing, when a cell would fall outside 0..GridMax.
    bool Remove(PieceState &state, Integer i) const;
};

// Paints one unit square (UnitSize by UnitSize) in DrawColor on the main
// window's surface at (OriginX + dx, OriginY + dy) twips. Does nothing while
// the program has no surface (headless use).
void DrawSquare(PieceState &state, Integer dx, Integer dy);

} // namespace tw
