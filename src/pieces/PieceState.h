#pragma once

#include "base/Integer.h"
#include "pieces/Appearance.h"
#include "pieces/Canvas.h"
#include "pieces/PieceTables.h"

#include <vector>

namespace tw {

class PreviewInterface;

// The part of the shared state that laying and drawing pieces reads and
// writes: the board grid and its size, the drawing origin and unit, the
// placement cursor and where the pieces are drawn. The full shared state
// (SharedState) extends it. Lengths are twips.
struct PieceState
{
    Long OutputMode = 0; // 0 display tab (paint on screen), 1 report tab

    Integer Rows = 0;      // board height in cells
    Integer Stride = 0;    // Rows + 1
    Integer Cols = 0;      // board width in cells
    Integer ColsPlus1 = 0; // Cols + 1
    Integer GridMax = 0;   // highest index of BoardGrid

    // Cell (column c, row r) is index c * Stride + r; true is occupied or a
    // sentinel (the cell under each column, and the column after the last).
    std::vector<bool> BoardGrid;

    Single UnitSize = 0;   // side of one unit square
    Single DoubleUnit = 0; // side of the 2 x 2 square piece
    Integer OriginX = 0;   // position of cell (0, 0) on the current surface
    Integer OriginY = 0;

    Integer NextCell = 0; // where the next piece's first square goes
    Integer XIndex = 0;   // first square of the X of the record being printed

    PieceCatalogue PieceShapes; // built once by LoadShapes
    Colour DrawColor = 0;       // colour the unit-square painter uses
    Integer RenderMode = 0;     // report rendering: 0 colour, 1 monochrome
    Appearance Look;            // palette and piece letters, everywhere pieces are drawn

    // Drawing targets, owned elsewhere.
    PreviewInterface *PreviewControl = nullptr; // the preview document
    Canvas *Screen = nullptr;                   // the main window's surface
};

} // namespace tw
