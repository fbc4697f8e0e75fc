#include "preview/QtCanvas.h"

#include "base/Units.h"
#include "preview/Fonts.h"
#include "preview/QtColour.h"

#include <QPainter>

#include <cmath>

namespace tw {

QtCanvas::QtCanvas(QPainter &painter, double dpi, qreal ratio, Boxes boxes)
    : m_painter(&painter), m_dpi(dpi * ratio), m_ratio(ratio), m_boxes(boxes)
{}

QtCanvas::QtCanvas(QPaintDevice &device, double dpi, qreal ratio, QColor background)
    : m_device(&device), m_dpi(dpi * ratio), m_ratio(ratio), m_boxes(Boxes::Each),
      m_background(background)
{}

QtCanvas::~QtCanvas()
{
    flush();
}

QRectF QtCanvas::snapped(double x, double y, double width, double height) const
{
    const auto device = [this](double twips) {
        return static_cast<double>(std::lround(twips * m_dpi / TwipsPerInch));
    };
    const double left = device(x), top = device(y);
    return {left / m_ratio, top / m_ratio, (device(x + width) - left) / m_ratio,
            (device(y + height) - top) / m_ratio};
}

QColor QtCanvas::colourOf(Colour colour) const
{
    if (colour == ButtonFace)
        return m_background;
    return isSystemColour(colour) ? QColor(Qt::gray) : qtColour(colour);
}

template<class Paint> void QtCanvas::paint(Paint &&paint)
{
    if (m_painter) {
        paint(*m_painter);
        return;
    }
    QPainter painter(m_device);
    paint(painter);
}

void QtCanvas::fillBox(double x, double y, double width, double height, Colour colour)
{
    const QColor c = colourOf(colour);
    const QRectF box = snapped(x, y, width, height);
    if (m_boxes == Boxes::Each)
        return paint([&](QPainter &painter) { painter.fillRect(box, c); });
    if (!m_shape.isEmpty() && c != m_shapeColour)
        flush();
    m_shapeColour = c;
    m_shape.addRect(box);
}

void QtCanvas::drawLetter(double x, double y, double side, char letter, Colour colour)
{
    flush();
    const QPainterPath path = letterPath(snapped(x, y, side, side), letter);
    paint([&](QPainter &painter) {
        if (m_boxes == Boxes::Shapes) {
            painter.fillPath(path, colourOf(colour));
            return;
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path, colourOf(colour));
        painter.restore();
    });
}

void QtCanvas::flush()
{
    if (m_shape.isEmpty())
        return;
    const QPainterPath shape = m_shape.simplified();
    m_shape = QPainterPath();
    paint([&](QPainter &painter) { painter.fillPath(shape, m_shapeColour); });
}

} // namespace tw
