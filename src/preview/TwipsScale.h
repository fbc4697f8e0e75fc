#pragma once

#include "base/Units.h"

#include <QRect>

#include <cmath>

namespace tw {

// Converts twips (1440 per logical inch) to pixels of a screen with the
// given logical dots per inch: 15 twips a pixel at 96 dpi. A box's edges are
// rounded separately, so boxes that touch in twips touch in pixels.
class TwipsScale
{
public:
    explicit TwipsScale(double dpi = 96) : m_dpi(dpi) {}

    double dpi() const { return m_dpi; }
    int pixels(double twips) const
    {
        return static_cast<int>(std::lround(twips * m_dpi / TwipsPerInch));
    }
    double twips(int pixels) const { return pixels * TwipsPerInch / m_dpi; }
    QRect rect(double left, double top, double width, double height) const
    {
        const int x = pixels(left), y = pixels(top);
        return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
    }

private:
    double m_dpi;
};

} // namespace tw
