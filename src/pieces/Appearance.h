#pragma once

#include "pieces/Canvas.h"

#include <span>

namespace tw {

struct ColumnRow;

// The piece colours in use: the program's own, or a set that stays apart
// for readers with any of the three kinds of colour blindness.
enum class Palette { Standard, Safe };

// How the pieces look, wherever they are drawn: their palette, and whether
// each carries its letter. The default is the program's usual picture.
struct Appearance
{
    bool letters = false;
    Palette palette = Palette::Standard;
    bool operator==(const Appearance &) const = default;
};

// The colour of piece 0..11 (colour-table order: X I V W T Z U Y N L F P) in
// the palette; standard is the catalogue's colour of the piece. The safe
// colours come from Paul Tol's and Okabe & Ito's colour-blind-safe schemes,
// chosen so that every two pieces, and a piece and the grey of the square
// and the frame, differ by at least 10.5 (CIEDE2000) under protanopia,
// deuteranopia and tritanopia as under normal vision.
Colour paletteColour(Palette palette, int piece, Colour standard);

// Black or white, whichever stands out more on fill (by WCAG contrast).
Colour letterColourOn(Colour fill);

// A piece's letter is centred in its largest inner square, its ink this
// share of a unit square's side, the same on every piece; unit squares
// smaller than MinimumLetterSquare twips (0.081 inch, 2.1 mm) carry no
// letters, since they would be smaller than 5-point capitals.
inline constexpr double LetterInkShare = 0.6;
inline constexpr double MinimumLetterSquare = 117;

// The largest square of whole cells inside the piece (2 x 2 for the P and
// the square piece, one cell otherwise), the one nearest the middle of the
// piece, the first in the cells' order on a tie.
struct LetterSquare
{
    int column, row, size;
};
LetterSquare letterSquare(std::span<const ColumnRow> cells);

} // namespace tw
