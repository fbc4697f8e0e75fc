#include "pieces/Painter.h"

#include "pieces/PieceTables.h"
#include "pieces/PreviewInterface.h"

#include <cstdint>
#include <optional>

namespace tw {

namespace {

// Offset of a whole number of units, rounded as the painters round it.
Integer unitOffset(int units, Single unit)
{
    return roundToInteger(static_cast<Single>(units) * unit);
}

char letterOf(Integer shape)
{
    return shape == SquarePiece ? 'O' : orientation(shape).Letter.at(0);
}

// A colour mixed with white, for pieces drawn pale.
Colour pale(Colour c)
{
    const auto mix = [](int channel) { return channel + (255 - channel) * 3 / 5; };
    return mix(redOf(c)) | mix(greenOf(c)) << 8 | mix(blueOf(c)) << 16;
}

// The unit square a piece's letter is centred in, twips from the tray's
// corner; nothing when it is too small to carry one.
struct LetterPlace
{
    Integer x, y, side;
};

std::optional<LetterPlace> letterPlace(const Placement &piece, int stride, Single unit)
{
    std::array<ColumnRow, 5> at{};
    for (int k = 0; k < piece.cellCount; ++k)
        at[static_cast<std::size_t>(k)] = {piece.cells[static_cast<std::size_t>(k)] / stride,
                                           piece.cells[static_cast<std::size_t>(k)] % stride};
    const LetterSquare square =
        letterSquare(std::span(at).first(static_cast<std::size_t>(piece.cellCount)));
    const Integer side = roundToInteger(unit);
    if (side < MinimumLetterSquare)
        return std::nullopt;
    // In the middle of a 2 x 2 square, half a unit in from its corner.
    const Single inset = static_cast<Single>(square.size - 1) * unit / 2;
    return LetterPlace{roundToInteger(unitOffset(square.column, unit) + inset),
                       roundToInteger(unitOffset(square.row, unit) + inset), side};
}

// A cell on the page: its grid index, column, row, column offset and
// corner, twips.
struct PageCell
{
    int index, column, row;
    Integer x, left, top;
};

std::array<PageCell, 5> pageCells(const Placement &piece, int stride, const TrayGeometry &where)
{
    const Integer left = roundToInteger(where.left), top = roundToInteger(where.top);
    std::array<PageCell, 5> cells{};
    for (int k = 0; k < piece.cellCount; ++k) {
        const int c = piece.cells[static_cast<std::size_t>(k)];
        const int column = c / stride, row = c % stride;
        const Integer x = unitOffset(column, where.unit);
        cells[static_cast<std::size_t>(k)] = {
            c, column, row, x, toInteger(left + x), toInteger(top + unitOffset(row, where.unit))};
    }
    return cells;
}

// Plain: as a cheat sheet draws it. Shaded, Placed: given and not, in
// monochrome (the X white too); Pale: not given, in colour.
enum class Tone { Plain, Shaded, Placed, Pale };

void printPieceIn(PreviewInterface &page, const Placement &piece, int stride,
                  const TrayGeometry &where, const PaperLook &look, Tone tone)
{
    const auto cells = pageCells(piece, stride, where);
    const auto placed = std::span(cells).first(static_cast<std::size_t>(piece.cellCount));
    const Long side = roundToLong(where.unit);
    const Integer left = roundToInteger(where.left), top = roundToInteger(where.top);
    page.setBrushStyle(PreviewInterface::BrushStyle::Solid);

    // The letter goes on top, black or white on a colour, black on the
    // outlines, white on the black X.
    const auto writeLetter = [&](Colour colour) {
        if (!look.look.letters)
            return;
        const auto place = letterPlace(piece, stride, where.unit);
        if (!place)
            return;
        const Colour fore = page.ForeColor();
        page.setForeColor(colour);
        page.DrawLetter(left + place->x, top + place->y, place->side, letterOf(piece.shape));
        page.setForeColor(fore);
    };

    const bool colours = look.rendering == Rendering::Colour;
    Colour colour = colourOf(piece.shape, look.look.palette);
    if (colours) {
        if (tone == Tone::Pale)
            colour = pale(colour);
        page.setForeColor(colour);
        page.setBrushColor(page.ForeColor());
        for (const PageCell &c : placed)
            page.DrawRectangle(c.left, c.top, side, side);
        if (!look.outlined) {
            writeLetter(letterColourOn(colour));
            return;
        }
    } else if (tone == Tone::Shaded) {
        page.setForeColor(GivenShade);
        page.setBrushColor(GivenShade);
        for (const PageCell &c : placed)
            page.DrawRectangle(c.left, c.top, side, side);
    }
    page.setForeColor(Black);
    page.setBrushColor(page.ForeColor());
    // Rows holding a square of this piece, in the column just finished and
    // in the column being drawn. The cells come in column-major order, so
    // the square above a cell is the previous cell and the column to the
    // left is complete when a new column starts.
    std::uint64_t finishedRows = 0;
    std::uint64_t currentRows = 0;
    int previousCell = -2;
    int columnOffset = -1;
    for (const PageCell &c : placed) {
        if (c.index > previousCell + 1)
            page.DrawLine(c.left, c.top, c.left + side, c.top);
        if (c.x != columnOffset) {
            columnOffset = c.x;
            finishedRows = currentRows;
            currentRows = 0;
        }
        const std::uint64_t rowBit = std::uint64_t{1} << (c.row & 63);
        if (!(finishedRows & rowBit))
            page.DrawLine(c.left, c.top, c.left, c.top + side);
        currentRows |= rowBit;
        previousCell = c.index;
    }

    const bool x = piece.shape == 0 && !colours && tone == Tone::Plain;
    if (x) {
        page.setForeColor(Black);
        page.setBrushColor(page.ForeColor());
        for (const PageCell &c : placed)
            page.DrawRectangle(roundToLong(left + static_cast<Single>(c.column) * where.unit),
                               roundToLong(top + static_cast<Single>(c.row) * where.unit), side,
                               side);
    }
    writeLetter(colours ? letterColourOn(colour) : x ? White : Black);
}

} // namespace

Colour colourOf(Integer shape, Palette palette)
{
    if (shape == SquarePiece)
        return MidGrey;
    const clsShape &s = orientation(shape);
    return paletteColour(palette, s.Piece, s.Color);
}

void DrawSquare(Canvas &canvas, double x, double y, Single unit, Colour colour)
{
    canvas.fillBox(x, y, unit, unit, colour);
}

void paintPiece(Canvas &canvas, const Placement &piece, int stride, const TrayGeometry &where,
                Appearance look)
{
    if (stride <= 0 || piece.cellCount == 0)
        return;
    if (piece.shape == SquarePiece) {
        const int corner = piece.cells[0];
        const double x = where.left + (corner / stride) * where.unit;
        const double y = where.top + (corner % stride) * where.unit;
        canvas.fillBox(x, y, 2 * where.unit, 2 * where.unit, MidGrey);
        if (look.letters && where.unit >= MinimumLetterSquare)
            canvas.drawLetter(x + where.unit / 2, y + where.unit / 2, where.unit, 'O',
                              letterColourOn(MidGrey));
        return;
    }
    const Colour colour = colourOf(piece.shape, look.palette);
    const Integer left = roundToInteger(where.left), top = roundToInteger(where.top);
    for (int k = 0; k < piece.cellCount; ++k) {
        const int c = piece.cells[static_cast<std::size_t>(k)];
        DrawSquare(canvas, toInteger(left + unitOffset(c / stride, where.unit)),
                   toInteger(top + unitOffset(c % stride, where.unit)), where.unit, colour);
    }
    if (!look.letters)
        return;
    if (const auto place = letterPlace(piece, stride, where.unit))
        canvas.drawLetter(left + place->x, top + place->y, place->side, letterOf(piece.shape),
                          letterColourOn(colour));
}

void paintFrame(Canvas &canvas, const TrayGeometry &where, int cols, int rows)
{
    const double unit = where.unit;
    canvas.fillBox(where.left - unit, where.top - unit, (cols + 2) * unit, (rows + 2) * unit,
                   MidGrey);
    canvas.fillBox(where.left, where.top, cols * unit, rows * unit, White);
}

void paintTiling(Canvas &canvas, const Tiling &tiling, const TrayGeometry &where, Appearance look)
{
    // A hole is the tray's own: it takes the frame's grey.
    if (!tiling.complete() || !tiling.holes.empty())
        for (int c = 0; c < tiling.cols; ++c)
            for (int r = 0; r < tiling.rows; ++r)
                if (tiling.hole(c, r) || !tiling.at(c, r))
                    DrawSquare(canvas,
                               toInteger(roundToInteger(where.left) + unitOffset(c, where.unit)),
                               toInteger(roundToInteger(where.top) + unitOffset(r, where.unit)),
                               where.unit, tiling.hole(c, r) ? MidGrey : White);
    for (const Placement &p : tiling.placements)
        paintPiece(canvas, p, tiling.stride(), where, look);
}

void printPiece(PreviewInterface &page, const Placement &piece, int stride,
                const TrayGeometry &where, const PaperLook &look)
{
    if (stride > 0 && piece.shape != SquarePiece)
        printPieceIn(page, piece, stride, where, look, Tone::Plain);
}

void printSquare(PreviewInterface &page, const Placement &square, int stride,
                 const TrayGeometry &where, const PaperLook &look, Colour fill)
{
    if (stride <= 0)
        return;
    page.setBrushColor(fill);
    const int column = square.cells[0] / stride, row = square.cells[0] % stride;
    const Integer originX = roundToInteger(where.left), originY = roundToInteger(where.top);
    const Long left = roundToLong(static_cast<Integer>(column) * where.unit + originX);
    const Long top = roundToLong(static_cast<Integer>(row) * where.unit + originY);
    const Long side = roundToLong(2 * where.unit);
    page.DrawRectangle(left, top, side, side);
    const Long unit = roundToLong(where.unit);
    if (look.look.letters && unit >= MinimumLetterSquare) {
        const Colour fore = page.ForeColor();
        page.setForeColor(letterColourOn(fill));
        page.DrawLetter(left + (side - unit) / 2, top + (side - unit) / 2, unit, 'O');
        page.setForeColor(fore);
    }
}

void printFrame(PreviewInterface &page, const TrayGeometry &where, int cols, int rows)
{
    const Long x = roundToLong(where.left), y = roundToLong(where.top);
    const Long w = roundToInteger(static_cast<Integer>(cols) * where.unit);
    const Long h = roundToInteger(static_cast<Integer>(rows) * where.unit);
    page.DrawLine(x, y, x, y + h);
    page.DrawLine(x, y, x + w, y);
    page.DrawLine(x + w, y, x + w, y + h);
    page.DrawLine(x, y + h, x + w, y + h);
}

// A drawn tray's holes shaded as the tray's own, each outlined where it
// meets a cell of the tray (the frame draws the edges on the box's border).
static void printHoles(PreviewInterface &page, const Tiling &tiling, const TrayGeometry &where)
{
    const Integer left = roundToInteger(where.left), top = roundToInteger(where.top);
    const Long side = roundToLong(where.unit);
    const auto cell = [&](int c, int r) {
        return c >= 0 && c < tiling.cols && r >= 0 && r < tiling.rows && !tiling.hole(c, r);
    };
    const Colour pen = page.ForeColor(), brush = page.BrushColor();
    page.setBrushStyle(PreviewInterface::BrushStyle::Solid);
    for (const Integer h : tiling.holes) {
        const int c = h / tiling.stride(), r = h % tiling.stride();
        const Long x = toInteger(left + unitOffset(c, where.unit));
        const Long y = toInteger(top + unitOffset(r, where.unit));
        page.setForeColor(GivenShade);
        page.setBrushColor(GivenShade);
        page.DrawRectangle(x, y, side, side);
        page.setForeColor(Black);
        if (cell(c - 1, r))
            page.DrawLine(x, y, x, y + side);
        if (cell(c + 1, r))
            page.DrawLine(x + side, y, x + side, y + side);
        if (cell(c, r - 1))
            page.DrawLine(x, y, x + side, y);
        if (cell(c, r + 1))
            page.DrawLine(x, y + side, x + side, y + side);
    }
    page.setForeColor(pen);
    page.setBrushColor(brush);
}

void printTiling(PreviewInterface &page, const Tiling &tiling, const TrayGeometry &where,
                 const PaperLook &look)
{
    const int stride = tiling.stride();
    const bool partial = !tiling.complete();
    const Integer left = roundToInteger(where.left), top = roundToInteger(where.top);
    const Long side = roundToLong(where.unit);
    const auto corner = [&](int c, int r) {
        return std::pair<Long, Long>{toInteger(left + unitOffset(c, where.unit)),
                                     toInteger(top + unitOffset(r, where.unit))};
    };
    const auto empty = [&](int c, int r) {
        return c >= 0 && c < tiling.cols && r >= 0 && r < tiling.rows && !tiling.hole(c, r) &&
               !tiling.at(c, r);
    };
    if (partial && look.gridOnEmpty) {
        // Each empty cell's top and left edge; the next cell, a piece or
        // the frame draws the others.
        page.setForeColor(GridGrey);
        for (int c = 0; c < tiling.cols; ++c)
            for (int r = 0; r < tiling.rows; ++r)
                if (empty(c, r)) {
                    const auto [x, y] = corner(c, r);
                    page.DrawLine(x, y, x + side, y);
                    page.DrawLine(x, y, x, y + side);
                }
    }
    page.setBrushColor(Black);
    std::vector<std::pair<const Placement *, bool>> squares; // and whether given
    const bool monochrome = look.rendering == Rendering::Monochrome;
    int k = 0;
    for (const Placement &p : tiling.placements) {
        const bool given = k++ < look.given;
        if (p.shape == SquarePiece) {
            squares.emplace_back(&p, given);
            continue;
        }
        const Tone tone = look.given == 0 ? Tone::Plain
                          : monochrome    ? (given ? Tone::Shaded : Tone::Placed)
                          : given         ? Tone::Plain
                                          : Tone::Pale;
        printPieceIn(page, p, stride, where, look, tone);
    }
    page.setForeColor(Black);
    if (partial && (monochrome || look.outlined)) {
        // A piece's right and bottom edges are the next piece's left and
        // top ones; towards an empty cell the piece draws them itself.
        for (const Placement &p : tiling.placements)
            for (int j = 0; j < p.cellCount; ++j) {
                const int c = p.cells[static_cast<std::size_t>(j)] / stride;
                const int r = p.cells[static_cast<std::size_t>(j)] % stride;
                const auto [x, y] = corner(c, r);
                if (empty(c + 1, r))
                    page.DrawLine(x + side, y, x + side, y + side);
                if (empty(c, r + 1))
                    page.DrawLine(x, y + side, x + side, y + side);
            }
    }
    if (look.framed)
        printFrame(page, where, tiling.cols, tiling.rows);
    if (look.framed && !tiling.holes.empty())
        printHoles(page, tiling, where);
    for (const auto &[square, given] : squares)
        printSquare(page, *square, stride, where, look,
                    look.given == 0 ? MidGrey
                    : monochrome    ? (given ? GivenShade : White)
                    : given         ? MidGrey
                                    : pale(MidGrey));
}

} // namespace tw
