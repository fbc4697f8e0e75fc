#include "pieces/Appearance.h"

#include "pieces/PieceTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tw {

namespace {

// &HBBGGRR, in colour-table order: X I V W T Z U Y N L F P.
constexpr std::array<Colour, PieceCount> SafeColours{
    0x000000, // X black (Okabe & Ito)
    0x33AADD, // I ochre #DDAA33 (Tol high-contrast)
    0xA779CC, // V reddish purple #CC79A7 (Okabe & Ito)
    0xBB7700, // W blue #0077BB (Tol vibrant)
    0xFFDD99, // T light cyan #99DDFF (Tol light)
    0x884400, // Z dark blue #004488 (Tol high-contrast)
    0xDDAA77, // U light blue #77AADD (Tol light)
    0x337711, // Y green #117733 (Tol muted)
    0x7733EE, // N magenta #EE3377 (Tol vibrant)
    0x88DDEE, // L light yellow #EEDD88 (Tol light)
    0x552288, // F wine #882255 (Tol muted)
    0xDDDDDD, // P pale grey #DDDDDD (Tol muted)
};

double luminance(Colour c)
{
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(redOf(c)) + 0.7152 * linear(greenOf(c)) + 0.0722 * linear(blueOf(c));
}

} // namespace

Colour paletteColour(Palette palette, int piece, Colour standard)
{
    if (palette == Palette::Safe && piece >= 0 && piece < PieceCount)
        return SafeColours[static_cast<std::size_t>(piece)];
    return standard;
}

Colour letterColourOn(Colour fill)
{
    const double l = luminance(fill);
    // Contrast ratios (L1 + 0.05) / (L2 + 0.05) against white and black.
    return 1.05 / (l + 0.05) > (l + 0.05) / 0.05 ? White : Black;
}

LetterSquare letterSquare(std::span<const ColumnRow> cells)
{
    const auto has = [&](int c, int r) {
        return std::any_of(cells.begin(), cells.end(),
                           [&](const ColumnRow &x) { return x.column == c && x.row == r; });
    };
    for (const ColumnRow &x : cells)
        if (has(x.column + 1, x.row) && has(x.column, x.row + 1) && has(x.column + 1, x.row + 1))
            return {x.column, x.row, 2};
    double middleColumn = 0, middleRow = 0;
    for (const ColumnRow &x : cells)
        middleColumn += x.column, middleRow += x.row;
    middleColumn /= static_cast<double>(cells.size());
    middleRow /= static_cast<double>(cells.size());
    const auto distance = [&](const ColumnRow &x) {
        return std::hypot(x.column - middleColumn, x.row - middleRow);
    };
    const ColumnRow best =
        *std::min_element(cells.begin(), cells.end(), [&](const ColumnRow &a, const ColumnRow &b) {
            return distance(a) < distance(b) - 1e-9;
        });
    return {best.column, best.row, 1};
}

} // namespace tw
