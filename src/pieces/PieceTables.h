#pragma once

#include "pieces/Shape.h"

#include <array>
#include <string_view>
#include <vector>

// The piece catalogue: the 63 orientations of the twelve pentominoes and the
// twelve piece colours, kept as two constant texts and parsed into shapes.
//
// The order of OrientationTable is part of the database format: solution
// records store orientation numbers, the 0-based positions in this table.

namespace tw {

// Entries "Letter,StartX,Width,Height,Square2,Square3,Square4,Square5" separated
// by ";". Offsets are for a column stride of 8: offset = 8 * dc + dr.
extern const std::string_view OrientationTable;
// Entries "Letter,&HBBGGRR,Count" separated by ";", one per piece.
extern const std::string_view ColourTable;

inline constexpr int PieceCount = 12;
inline constexpr int OrientationCount = 63;

// The catalogue's layout: one collection per piece in colour-table order, each
// holding the piece's orientations in table order. Index 0 is item 1 of the
// original 1-based collections.
using PieceCollection = std::vector<clsShape>;
using PieceCatalogue = std::vector<PieceCollection>;

// The catalogue (PieceShapes), parsed from the two tables once, the first
// time it is asked for; constant from then on.
const PieceCatalogue &LoadShapes();
const PieceCatalogue &catalogue();
// Catalogue shape of orientation number 0..62.
const clsShape &orientation(int shape);

// A stride-8 offset lies one column further right for each of these it
// reaches; the offsets that occur (1-11, 14-18, 23-25, 32) leave no doubt.
inline constexpr std::array<int, 4> ColumnThresholds{5, 14, 23, 32};

// Column and row of a square relative to square 1, from a stride-8 offset.
struct ColumnRow
{
    int column;
    int row;
};
ColumnRow offsetToColumnRow(int offset8);

// The four non-first squares of an orientation as column/row steps.
std::array<ColumnRow, 4> squareSteps(const clsShape &catalogueShape);

} // namespace tw
