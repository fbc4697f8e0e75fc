#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "pieces/Shape.h"
#include "pieces/Tiling.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A solution record stores where the X lies (and on the 8 x 8 tray the 2 x 2
// square), then the orientation of each of the other eleven pentominoes in
// laying order; every piece is laid with its first square on the first free
// cell of the board grid, scanning column by column, top to bottom.

namespace tw {

struct PieceState;

// A record's values as read; a missing (NULL) value is nullopt.
struct SolutionRecord
{
    std::optional<long long> O_Index; // 8 x 8 only: top-left cell of the square, stride 9
    std::optional<long long> X_Index; // first square of the X, current board's layout
    std::array<std::optional<long long>, 11> Shape; // Shape1..Shape11: orientations 0..62
};

// A record's values in the database's order, O_Index, X_Index, Shape1 to
// Shape11, once every one is known to be a 16-bit whole number: the compact
// form every record is kept in. Compared as a whole, keys order records as
// the solutions are numbered.
using RecordKey = std::array<Integer, 13>;

SolutionRecord recordOf(const RecordKey &key);

enum class DecodeFault {
    MissingValue,    // a field is NULL
    ValueOutOfRange, // a value does not fit a 16-bit integer
    BadOrientation,  // a Shape value is not 0..62
    RepeatedPiece,   // a pentomino appears twice (so another is missing)
    OutsideTray,     // a piece or the square would leave the tray
    Overlap,         // a piece would cover a cell already covered
};

struct DecodeError
{
    DecodeFault fault;
    std::string message; // names the field and what is wrong with it
};

// Checks that the record is a complete tiling of board 0..4 by the twelve
// pentominoes (and the square on the 8 x 8) and returns the placements, or the
// first fault found: DecodeSolution on a grid of the board's own. A record
// that leaves a cell free necessarily makes some piece overlap another or
// leave the tray, and is reported as that.
Expected<Tiling, DecodeError> DecodeSolution(Integer board, const SolutionRecord &record);

// The same verdict as DecodeSolution, without the placements or the reason: a
// few mask operations a piece, so that every record can be checked each time
// the program starts. board is 0..4.
bool fillsTray(Integer board, const RecordKey &key);

// Whether a record that fills its tray is the smallest record among the
// images of its tiling under the tray's turns and reflections: the one the
// generator writes.
bool smallestImage(Integer board, const RecordKey &key);

// The tiling as rows of piece letters, top row first, rows separated by "/";
// "O" marks the square and "." a free cell.
std::string letterGrid(const Tiling &tiling);

// Rebuilds BoardShapes for the board: a copy of every catalogue orientation
// with its offsets converted to the board's Stride.
void BuildBoardShapes(PieceState &board);

// Decodes the record of tray boardIndex on its grid (made by boardGrid):
// clears the grid and lays the square, the X and the eleven pieces, each
// checked where it would lie and then laid by Fits, and returns the tiling
// they make, which the painter draws on any surface; NextCell ends at
// GridMax + 1. A record that is not a tiling is returned as the first fault
// found, the grid then holding the pieces laid before it.
Expected<Tiling, DecodeError> DecodeSolution(PieceState &board, Integer boardIndex,
                                             const SolutionRecord &record);

} // namespace tw
