#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "solutions/Decoding.h"
#include "solutions/SolutionIndex.h"

#include <string>
#include <string_view>
#include <vector>

// A tiling written as text: rows of piece letters, one letter a cell, F I L
// N P T U V W X Y Z for the pentominoes and O for the 2 x 2 square of the
// 8 x 8 tray. Lower case is taken too; blanks between letters, blank lines
// and trailing spaces are ignored. The grid may stand in any orientation of
// its tray: 6 rows of 10 letters or 10 rows of 6 for the 10 x 6 tray, turned
// or reflected any way. The text is UTF-8, with or without a byte-order
// mark, or UTF-16 with its mark (what Windows editors write).

namespace tw {

// Why a text is not a tiling. The message names the letter, and the first
// of its cells by row and column as typed (1-based), where one is at fault.
struct LetterGridError
{
    enum class Fault {
        Empty,    // no letters at all
        Ragged,   // rows of different lengths
        Size,     // the grid's size fits no tray
        Letter,   // a letter that is not a piece of the tray
        Missing,  // a piece, or the square, is not there
        Repeated, // a piece is there more than once
        Shape,    // the cells of one letter are not that one piece
    };
    Fault fault;
    std::string message;
};

// A tiling read from text: its tray and the records of its symmetric images
// in the tray, each once, smallest first. The database stores a tiling as
// the smallest.
struct ReadTiling
{
    Integer board;
    std::vector<RecordKey> images;
};

Expected<ReadTiling, LetterGridError> readLetterGrid(std::string_view text);

// A position: a tiling of a tray partly laid, written as rows of letters
// with "." for an empty cell, in any orientation of its tray. Each letter
// there must be a whole piece, once; the pieces are laid as the tray lies
// (a grid written across it is turned onto it, and across says so), square
// first if there.
Expected<Tiling, LetterGridError> readPosition(std::string_view text, bool *across = nullptr);

// The tiling as text: rows of letters, top row first, each row ended by a
// newline; "O" marks the square.
std::string letterRows(const Tiling &tiling);

} // namespace tw
