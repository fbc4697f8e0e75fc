#pragma once

#include "app/TwipsScale.h"
#include "pieces/Canvas.h"

#include <QColor>
#include <QImage>

namespace tw {

// The main window's drawing surface: an image that keeps what was painted on
// it, so the window shows it again whenever it is exposed. Boxes are given in
// twips and land on the image's device pixels.
class SurfaceCanvas : public Canvas
{
public:
    // size: the window's client size in twips; scale: the screen's; ratio:
    // device pixels per logical pixel; background: the window's colour, also
    // what the system colour ButtonFace paints.
    SurfaceCanvas(QSizeF twips, TwipsScale scale, qreal ratio, QColor background);

    void fillBox(double x, double y, double width, double height, Colour colour) override;
    void drawLetter(double x, double y, double side, char letter, Colour colour) override;

    // The picture, one pixel per device pixel of the screen.
    const QImage &image() const { return m_image; }
    // Device pixels per logical pixel.
    qreal ratio() const { return m_ratio; }
    QColor background() const { return m_background; }
    // The logical pixel rectangle a box covers.
    QRect pixelRect(const QRectF &twips) const;

private:
    TwipsScale m_scale;
    TwipsScale m_deviceScale;
    qreal m_ratio;
    QImage m_image;
    QColor m_background;
};

} // namespace tw
