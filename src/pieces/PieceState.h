#pragma once

#include "base/Integer.h"
#include "pieces/Shape.h"

#include <vector>

namespace tw {

// The board grid a decoding lays pieces on: its size, its cells and the
// placement cursor, and the orientations adapted to its column stride.
// Each user of the decoder keeps its own.
struct PieceState
{
    Integer Rows = 0;      // board height in cells
    Integer Stride = 0;    // Rows + 1
    Integer Cols = 0;      // board width in cells
    Integer ColsPlus1 = 0; // Cols + 1
    Integer GridMax = 0;   // highest index of BoardGrid

    // Cell (column c, row r) is index c * Stride + r; true is occupied or a
    // sentinel (the cell under each column, and the column after the last).
    // A byte a cell: decoding scans it for every piece of every record.
    std::vector<unsigned char> BoardGrid;

    Integer NextCell = 0; // where the next piece's first square goes

    std::vector<clsShape> BoardShapes; // orientation k at index k, this board's stride
};

} // namespace tw
