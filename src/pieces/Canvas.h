#pragma once

#include "base/Integer.h"

namespace tw {

// A colour as the program stores it: &HBBGGRR, red in the low byte. A value
// with the top bit set names a system colour instead; the only one used is
// ButtonFace (&H8000000F), the face colour of buttons and windows.
using Colour = Long;

inline constexpr Colour Black = 0x000000;
inline constexpr Colour White = 0xFFFFFF;
inline constexpr Colour MidGrey = 0x808080;
inline constexpr Colour ButtonFace = static_cast<Colour>(0x8000000Fu);

constexpr int redOf(Colour c)
{
    return c & 0xFF;
}
constexpr int greenOf(Colour c)
{
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Colour c)
{
    return (c >> 16) & 0xFF;
}
constexpr bool isSystemColour(Colour c)
{
    return c < 0;
}

// A surface that the unit-square painter fills. Coordinates and sizes are
// twips (1440 per inch) from the surface's top-left corner, x to the right and
// y downward. The main window's drawing surface implements it; tests record
// the calls.
class Canvas
{
public:
    virtual ~Canvas() = default;

    // Fills the box with corners (x, y) and (x + width, y + height), outline
    // and interior both in colour.
    virtual void fillBox(double x, double y, double width, double height, Colour colour) = 0;

    // Writes letter in colour, centred in the square with corner (x, y) and
    // the given side (a unit square's), its ink LetterInkShare of the side
    // high.
    virtual void drawLetter(double x, double y, double side, char letter, Colour colour) = 0;
};

} // namespace tw
