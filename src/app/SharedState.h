#pragma once

#include "app/Integer.h"
#include "pieces/Canvas.h"
#include "pieces/PieceTables.h"
#include "pieces/Shape.h"
#include "solutions/Database.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tw {

class PreviewInterface;

// The state that start-up, the board catalogue, the decoder, the shape
// objects, the windows and the report share. The program owns one and hands
// it to the parts that need it; each test starts from a fresh one. Everything
// starts zero, empty or absent. Lengths are twips unless a name says inches.
struct SharedState
{
    // --- the solution database ---
    std::string DbPath;        // the program's folder + "/Solutions.mdb"
    std::string ConnectString; // how the database is opened (an SQLite URI)
    std::unique_ptr<Database> DbConnection;
    RecordSet SolutionSet; // the selected records, with the cursor

    // --- current solution and board ---
    Integer SolutionNo = 0; // 1-based position of the record set's cursor
    Integer BoardIndex = 0; // 0..4, the board list's index
    Long OutputMode = 0;    // 0 display tab (paint on screen), 1 report tab

    Integer Rows = 0;      // board height in cells
    Integer Stride = 0;    // Rows + 1
    Integer Cols = 0;      // board width in cells
    Integer ColsPlus1 = 0; // Cols + 1
    Integer GridMax = 0;   // highest index of BoardGrid

    // Cell (column c, row r) is index c * Stride + r; true is occupied or a
    // sentinel (the cell under each column, and the column after the last).
    std::vector<bool> BoardGrid;

    Single UnitSize = 0;    // side of one unit square
    Single DoubleUnit = 0;  // side of the 2 x 2 square piece
    Single MaxUnitSize = 0; // inches: largest side at which a board fits a page

    Integer TrayLeft = 0; // screen position of the tray's top-left cell
    Integer TrayTop = 0;
    Integer OriginX = 0; // position of cell (0, 0) on the current surface
    Integer OriginY = 0;

    // --- the record being decoded ---
    Integer NextCell = 0; // where the next piece's first square goes
    std::array<Integer, 13> ShapeList{};
    Integer OIndex = 0;
    Integer OColumn = 0;
    Integer ORow = 0;
    Integer XIndex = 0;

    // --- pieces ---
    PieceCatalogue PieceShapes;        // built once by LoadShapes
    std::vector<clsShape> BoardShapes; // orientation k at index k, current tray
    Colour DrawColor = 0;              // colour the unit-square painter uses
    Integer RenderMode = 0;            // report rendering: 0 colour, 1 monochrome

    // --- drawing targets, owned elsewhere ---
    PreviewInterface *PreviewControl = nullptr; // the preview document
    Canvas *Screen = nullptr;                   // the main window's surface
};

} // namespace tw
