#pragma once

#include "base/Expected.h"
#include "pieces/Tiling.h"
#include "solutions/Tray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A tray a user draws: any region of 60 cells (the twelve pentominoes) or
// 64 (with the 2 x 2 square) in a box of at most 32 x 32, holes allowed.
//
// As text, rows top to bottom: "#" or a piece letter for a cell, "." or a
// space for none. Blank rows and columns around the drawing are ignored,
// as are a byte-order mark, CRLF line ends and trailing spaces, so that a
// tiling's letter grid is a region too.

namespace tw {

// The region drawn in the text, its box shrunk to its cells, as drawn (not
// turned); or one line saying why it is no tray: the number of cells, the
// size, a character that is neither a cell nor a gap.
Expected<Tray, std::string> readRegion(std::string_view text, std::string label = {});

// Why a region held as cells is no tray: a number of cells the pieces do
// not make (a Tray's box is never beyond 32 x 32).
std::optional<std::string> regionFault(const Tray &tray);

// The region laid in its one standard orientation: of its turns and
// reflections, the widest, then the one whose cells come first column by
// column. A region drawn anywhere, turned or reflected, lies the same way.
Tray standardOrientation(const Tray &tray);

// The region moved by turn or reflection g of its box (as movedCell moves
// a cell), its box turned with it.
Tray turned(const Tray &tray, int g);

// The region as text, rows of "#" and ".", each row ended by a newline.
std::string regionText(const Tray &tray);

// A reason, seen without any search, why no tiling exists: a part of the
// region (cells joined side by side) whose size the pieces cannot make up,
// or a cell that no piece can cover (one in a part of fewer than five
// cells, not the square's). The cells at fault as (column, row).
struct Obstacle
{
    std::string message;
    std::vector<std::pair<int, int>> cells;
};
std::optional<Obstacle> visibleObstacle(const Tray &tray);

// A tiling of a region: its cells' piece letters (F I L N P T U V W X Y Z,
// O for the square), one per cell, the cells column by column, each column
// top to bottom.
using CellLetters = std::string;

// The cells of the tray, column by column, as (column, row).
std::vector<std::pair<int, int>> cellsInOrder(const Tray &tray);

// For each symmetry of the tray (as Tray::symmetries lists them), where each
// cell goes: image[g][k] is the position in cell order of cell k moved.
std::vector<std::vector<int>> cellImages(const Tray &tray);

// The smallest of the tiling's images under the tray's symmetries, the form
// a solution is kept in.
CellLetters smallestImage(const CellLetters &tiling, const std::vector<std::vector<int>> &images);

// Why the letters are no tiling of the tray (a letter that is not a piece,
// a piece missing, twice or of the wrong shape); nothing when they are. A
// partial tiling ("." for an empty cell) may lack pieces.
std::optional<std::string> tilingFault(const Tray &tray, const CellLetters &letters,
                                       bool partial = false);

// A tiling of a region read from text, rows of piece letters, " " (and,
// but in a position, ".") for a gap; in a position "." is an empty cell.
// The region comes out in its standard orientation, the letters moved with
// it: a whole tiling as its smallest image, the form solutions are kept in.
struct RegionTiling
{
    Tray tray;
    CellLetters letters;
};
Expected<RegionTiling, std::string> readRegionTiling(std::string_view text, bool position);

// The letters as rows of text with "." for a gap, rows ended by "/" between
// them (no final one): one line, for scripts.
std::string letterLine(const Tray &tray, const CellLetters &letters);

} // namespace tw

namespace tw {

// Every place piece `letter` (F ... Z, O for the square) can lie on the
// tray, as masks of cells in cell order (bit k: cell k). Trays of more than
// 64 cells have none.
std::vector<std::uint64_t> placementsOf(const Tray &tray, char letter);

} // namespace tw

namespace tw {

// The tiling the letters make of the tray, as the painter and the tiling
// index take it: its holes listed, the square first, then the X, then the
// pieces in the order their first cells come. board: the number the tray is
// known by.
Tiling tilingOf(const Tray &tray, Integer board, const CellLetters &letters);

// An empty tiling of the tray: its box and its holes.
Tiling emptyTiling(const Tray &tray, Integer board);

} // namespace tw
