#include "app/SurfaceCanvas.h"

#include "preview/Fonts.h"
#include "preview/QtColour.h"

#include <QPainter>

namespace tw {

SurfaceCanvas::SurfaceCanvas(QSizeF twips, TwipsScale scale, qreal ratio, QColor background)
    : m_scale(scale), m_deviceScale(scale.dpi() * ratio), m_ratio(ratio), m_background(background)
{
    // The image's own pixel ratio stays 1: boxes land on its pixels as they
    // are, and the window maps them onto the screen's device pixels.
    m_image = QImage(m_deviceScale.pixels(twips.width()), m_deviceScale.pixels(twips.height()),
                     QImage::Format_RGB32);
    m_image.fill(background);
}

void SurfaceCanvas::fillBox(double x, double y, double width, double height, Colour colour)
{
    const QColor c = colour == ButtonFace ? m_background
                     : isSystemColour(colour)
                         ? QColor(Qt::gray)
                         : qtColour(colour);
    const QRect box = m_deviceScale.rect(x, y, width, height);
    QPainter painter(&m_image);
    painter.fillRect(box, c);
}

void SurfaceCanvas::drawLetter(double x, double y, double side, char letter, Colour colour)
{
    // On the square's pixels, as the squares were painted.
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(letterPath(QRectF(m_deviceScale.rect(x, y, side, side)), letter),
                     qtColour(colour));
}

QRect SurfaceCanvas::pixelRect(const QRectF &twips) const
{
    return m_scale.rect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace tw
