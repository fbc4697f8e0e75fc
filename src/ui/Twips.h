#pragma once

#include "preview/TwipsScale.h"

#include <QHash>
#include <QRect>
#include <QString>

class QWidget;

namespace tw {

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
