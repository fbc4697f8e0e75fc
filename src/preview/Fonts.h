#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRectF>

namespace tw {

// The sans-serif the program writes in, on screen and on paper: Liberation
// Sans (Arial's widths, which the windows' designs assume) when installed,
// else the system's own sans-serif.
QFont sansFont(double points);

// The outline of a piece's letter in the program's bold sans-serif, centred
// in square and LetterInkShare of its side high (narrower where a wide
// letter would not fit), in the square's units: one drawing for the screen,
// the page, a PDF and an SVG alike.
QPainterPath letterPath(const QRectF &square, char letter);

} // namespace tw
