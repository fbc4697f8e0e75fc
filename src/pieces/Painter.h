#pragma once

#include "base/Integer.h"
#include "pieces/Appearance.h"
#include "pieces/Canvas.h"
#include "pieces/Tiling.h"

namespace tw {

class PreviewInterface;

// The one painter of tilings, whole or partial, on every surface: a Canvas
// (the main window, pictures for the clipboard and the exports) or a page of
// a PreviewInterface (the preview, printers, PDF). It is handed what it
// draws, where and how, and reads and keeps nothing else.

// Where a tray is drawn: the corner of its cell (0, 0) and the side of a
// unit square, twips.
struct TrayGeometry
{
    double left = 0, top = 0;
    Single unit = 0;
};

// How pieces look on paper: filled in their colours, or outlined in black
// with the X a solid black cross.
enum class Rendering { Colour, Monochrome };

// What a page shows of a tiling beyond its pieces.
struct PaperLook
{
    Rendering rendering = Rendering::Colour;
    Appearance look;
    // Faint lines around the empty cells of a partial tiling, for a pupil
    // to draw the missing pieces in.
    bool gridOnEmpty = false;
    // The first `given` pieces stand apart from the others, the X and the
    // square too: shaded grey in monochrome, the others white; in colour,
    // the others are drawn pale.
    int given = 0;
    // Pieces in colour outlined too, to be cut out.
    bool outlined = false;
    // The tray's frame drawn around the tiling; pieces laid apart to be cut
    // out have none.
    bool framed = true;
};

// The grey of the 2 x 2 square, the frame and, shaded, of given pieces.
inline constexpr Colour GivenShade = 0xD0D0D0;
inline constexpr Colour GridGrey = 0xB0B0B0;

// --- on a canvas -----------------------------------------------------------

// A piece's colour in the palette, by its orientation (the square's grey
// for SquarePiece).
Colour colourOf(Integer shape, Palette palette);

// Paints one unit square in colour with its corner at (x, y).
void DrawSquare(Canvas &canvas, double x, double y, Single unit, Colour colour);
// A piece: each of its cells a unit square in its colour in the look's
// palette (grey for the square), and its letter when the look asks.
void paintPiece(Canvas &canvas, const Placement &piece, int stride, const TrayGeometry &where,
                Appearance look);
// The tray's grey frame, one unit wide, around its white cells.
void paintFrame(Canvas &canvas, const TrayGeometry &where, int cols, int rows);
// The pieces of a tiling in their order, its empty cells white.
void paintTiling(Canvas &canvas, const Tiling &tiling, const TrayGeometry &where, Appearance look);

// --- on a page -------------------------------------------------------------

// A piece laid with its cells as given, filled in its colour or outlined
// (its top and left edges: the next piece's, the frame's, draw the others),
// then its letter when the look asks and the square is large enough.
// Leaves the pen and brush colours as it drew.
void printPiece(PreviewInterface &page, const Placement &piece, int stride,
                const TrayGeometry &where, const PaperLook &look);
// The 2 x 2 square in fill (its grey unless told), outlined in the pen's
// colour.
void printSquare(PreviewInterface &page, const Placement &square, int stride,
                 const TrayGeometry &where, const PaperLook &look, Colour fill = MidGrey);
// The tray's frame: its four edges, one line each.
void printFrame(PreviewInterface &page, const TrayGeometry &where, int cols, int rows);
// A whole tray as a cheat sheet draws it: the pieces, the frame, then the
// square; for a partial tiling, the edges of pieces towards empty cells
// and, when asked, the grid of the empty cells.
void printTiling(PreviewInterface &page, const Tiling &tiling, const TrayGeometry &where,
                 const PaperLook &look);

} // namespace tw
