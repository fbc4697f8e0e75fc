#pragma once

#include "base/Integer.h"
#include "pieces/PieceState.h"
#include "pieces/Shape.h"
#include "solutions/Database.h"
#include "solutions/SolutionIndex.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tw {

// The state that start-up, the board catalogue, the decoder, the shape
// objects, the windows and the report share. The program owns one and hands
// it to the parts that need it; each test starts from a fresh one. Everything
// starts zero, empty or absent. Lengths are twips unless a name says inches.
struct SharedState : PieceState
{
    // --- the solution database ---
    std::string DbPath;        // the program's folder + "/Solutions.mdb"
    std::string ConnectString; // how the database is opened (an SQLite URI)
    std::unique_ptr<Database> DbConnection;
    RecordSet SolutionSet;     // the selected records, with the cursor
    SolutionIndex RecordIndex; // every record's solution number, by record

    // --- current solution and board ---
    Integer SolutionNo = 0; // 1-based position of the record set's cursor
    Integer BoardIndex = 0; // 0..4, the board list's index

    Single MaxUnitSize = 0; // inches: largest side at which a board fits a page
    Integer TrayLeft = 0;   // screen position of the tray's top-left cell
    Integer TrayTop = 0;

    // --- the record being decoded ---
    std::array<Integer, 13> ShapeList{};
    Integer OIndex = 0;
    Integer OColumn = 0;
    Integer ORow = 0;

    std::vector<clsShape> BoardShapes; // orientation k at index k, current tray
};

} // namespace tw
