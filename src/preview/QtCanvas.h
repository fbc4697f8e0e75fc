#pragma once

#include "pieces/Canvas.h"

#include <QColor>
#include <QPainterPath>

class QPainter;
class QPaintDevice;

namespace tw {

// The one canvas on Qt's surfaces, through which the painter of tilings
// paints the main window, the pictures for the clipboard and the exports
// (PNG and SVG) and Solve It Yourself. Boxes and letters come in twips;
// dpi says how many of the surface's logical pixels an inch holds, ratio how
// many device pixels a logical one. Every box's edges land on whole device
// pixels, each edge rounded on its own, so that boxes that touch in twips
// touch on the surface; a letter is drawn smooth on its square's pixels.
class QtCanvas : public Canvas
{
public:
    enum class Boxes {
        Each,   // each box painted as it comes
        Shapes, // boxes of one colour that come one after another painted as
                // one outline, when the colour changes and at the end: a
                // drawing holds a shape for each piece and no seams
    };

    // Paints with painter, whose coordinates are logical pixels, while it
    // lives.
    QtCanvas(QPainter &painter, double dpi, qreal ratio = 1, Boxes boxes = Boxes::Each);
    // Paints on device, opening a painter for each box and letter: a
    // surface that keeps its picture between paints. background: what the
    // system colour ButtonFace paints.
    QtCanvas(QPaintDevice &device, double dpi, qreal ratio, QColor background);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas &) = delete;
    QtCanvas &operator=(const QtCanvas &) = delete;

    void fillBox(double x, double y, double width, double height, Colour colour) override;
    void drawLetter(double x, double y, double side, char letter, Colour colour) override;

    // Paints the outline gathered so far (Boxes::Shapes).
    void flush();

private:
    // A box in logical pixels whose edges lie on whole device pixels.
    QRectF snapped(double x, double y, double width, double height) const;
    QColor colourOf(Colour colour) const;
    template<class Paint> void paint(Paint &&paint);

    QPainter *m_painter = nullptr;
    QPaintDevice *m_device = nullptr;
    double m_dpi; // device pixels an inch
    qreal m_ratio;
    Boxes m_boxes;
    QColor m_background = Qt::white;
    QPainterPath m_shape; // the boxes gathered, all of m_shapeColour
    QColor m_shapeColour;
};

} // namespace tw
