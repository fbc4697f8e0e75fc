#pragma once

#include "preview/QtCanvas.h"
#include "preview/TwipsScale.h"

#include <QColor>
#include <QImage>

namespace tw {

// The main window's drawing surface: an image that keeps what was painted on
// it, so the window shows it again whenever it is exposed. The painter
// paints it through its canvas, in twips, on the image's device pixels.
class SurfaceCanvas
{
public:
    // size: the window's client size in twips; scale: the screen's; ratio:
    // device pixels per logical pixel; background: the window's colour, also
    // what the system colour ButtonFace paints.
    SurfaceCanvas(QSizeF twips, TwipsScale scale, qreal ratio, QColor background);

    Canvas &canvas() { return m_canvas; }
    // The picture, one pixel per device pixel of the screen.
    const QImage &image() const { return m_image; }
    // Device pixels per logical pixel.
    qreal ratio() const { return m_ratio; }
    QColor background() const { return m_background; }
    // The logical pixel rectangle a box covers.
    QRect pixelRect(const QRectF &twips) const;

private:
    TwipsScale m_scale;
    qreal m_ratio;
    QColor m_background;
    QImage m_image;
    QtCanvas m_canvas;
};

} // namespace tw
