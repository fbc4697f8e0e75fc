#pragma once

#include "pieces/Canvas.h"

#include <QColor>

namespace tw {

// A colour as Qt paints it, on every surface the same.
inline QColor qtColour(Colour c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

} // namespace tw
