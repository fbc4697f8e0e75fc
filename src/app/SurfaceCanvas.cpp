#include "app/SurfaceCanvas.h"

namespace tw {

namespace {

// The image's own pixel ratio stays 1: boxes land on its pixels as they are,
// and the window maps them onto the screen's device pixels.
QImage surfaceImage(QSizeF twips, TwipsScale device, QColor background)
{
    QImage image(device.pixels(twips.width()), device.pixels(twips.height()), QImage::Format_RGB32);
    image.fill(background);
    return image;
}

} // namespace

SurfaceCanvas::SurfaceCanvas(QSizeF twips, TwipsScale scale, qreal ratio, QColor background)
    : m_scale(scale), m_ratio(ratio), m_background(background),
      m_image(surfaceImage(twips, TwipsScale(scale.dpi() * ratio), background)),
      m_canvas(m_image, scale.dpi() * ratio, 1, background)
{}

QRect SurfaceCanvas::pixelRect(const QRectF &twips) const
{
    return m_scale.rect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace tw
