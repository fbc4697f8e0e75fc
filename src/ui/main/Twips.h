#pragma once

#include <QHash>
#include <QRect>
#include <QString>

#include <cmath>

class QWidget;

namespace tw {

// Converts twips (1440 per logical inch) to pixels of a screen with the
// given logical dots per inch: 15 twips a pixel at 96 dpi. A box's edges are
// rounded separately, so boxes that touch in twips touch in pixels.
class TwipsScale
{
public:
    explicit TwipsScale(double dpi = 96) : m_dpi(dpi) {}

    double dpi() const { return m_dpi; }
    int pixels(double twips) const { return static_cast<int>(std::lround(twips * m_dpi / 1440)); }
    double twips(int pixels) const { return pixels * 1440.0 / m_dpi; }
    QRect rect(double left, double top, double width, double height) const
    {
        const int x = pixels(left), y = pixels(top);
        return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
    }

private:
    double m_dpi;
};

// Places controls at rectangles given in twips, relative to their
// containers, and remembers them, so that a placement can follow from
// earlier ones exactly. A negative size is placed as nothing.
class TwipsLayout
{
public:
    explicit TwipsLayout(TwipsScale scale = TwipsScale()) : m_scale(scale) {}

    const TwipsScale &scale() const { return m_scale; }
    void place(QWidget *control, double left, double top, double width, double height);
    QRectF rect(const QWidget *control) const { return m_rects.value(control); }
    double rightOf(const QWidget *control) const { return rect(control).right(); }
    double bottomOf(const QWidget *control) const { return rect(control).bottom(); }

private:
    TwipsScale m_scale;
    QHash<const QWidget *, QRectF> m_rects;
};

// The screen's scale for a window about to be shown.
TwipsScale screenScale(const QWidget *window);

// A plain message box: the text, an OK button, no icon, titled with the
// program's name.
void showPlainMessage(QWidget *parent, const QString &text);

} // namespace tw
