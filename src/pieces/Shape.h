#pragma once

#include "base/Integer.h"
#include "pieces/Canvas.h"
#include "pieces/Painter.h"

#include <string>

namespace tw {

struct PieceState;

// One orientation of one piece. The fields are plain properties: setting one
// stores the value and nothing else. Square2..Square5 are grid-index offsets
// of squares 2 to 5 from square 1, the topmost square of the leftmost column;
// the catalogue writes them for a column stride of 8, a tray's copy for the
// tray's Stride. The drawing is the painter's (Painter.h).
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

    // The five cells of the orientation with square 1 at grid index i.
    Placement placedAt(Integer i) const;

    // Paints the orientation with square 1 at grid index i on the canvas:
    // a unit square per cell in its colour in the look's palette, at
    // (column * unit, row * unit) from the tray's corner, and its letter
    // when the look asks for one.
    void DrawIndex(Canvas &canvas, Integer i, int stride, const TrayGeometry &where,
                   Appearance look) const;

    // Lays the orientation with square 1 at grid index i: marks its five cells
    // occupied without testing them and moves NextCell to the first free
    // cell at or after i (GridMax + 1 when none is left). Returns false,
    // changing nothing, when a cell would fall outside 0..GridMax. Drawing
    // is the painter's, from the tiling a decoding returns.
    bool Fits(PieceState &state, Integer i) const;

    // The stride-8 offset iSquare converted to the board's Stride (Rows + 1).
    // Changes nothing.
    Integer Modify(const PieceState &state, Integer iSquare) const;

    // Draws the orientation with square 1 at grid index cell on the page:
    // filled squares in its colour, or its top and left edges in black and
    // the X as a solid black cross; then its letter when the look asks.
    void PrintShape(PreviewInterface &page, Integer cell, int stride, const TrayGeometry &where,
                    const PaperLook &look) const;
};

} // namespace tw
