#include "app/PageGeometry.h"

#include <algorithm>

namespace tw {

QSize pagePixels(QSizeF pageTwips, double zoom, double dpi)
{
    return (pageTwips * pixelsPerTwip(zoom, dpi)).toSize();
}

QRect pageRect(QSize page, QSize view, QPoint scroll)
{
    const int x = std::max(PageMargin, (view.width() - page.width()) / 2) - scroll.x();
    const int y = std::max(PageMargin, (view.height() - page.height()) / 2) - scroll.y();
    return QRect(QPoint(x, y), page);
}

QSize scrollRange(QSize page, QSize view)
{
    const QSize whole = page + QSize(2 * PageMargin, 2 * PageMargin);
    return {std::max(0, whole.width() - view.width()), std::max(0, whole.height() - view.height())};
}

double zoomToWidth(double pageWidth, int viewWidth, double dpi)
{
    const int available = viewWidth - 2 * PageMargin;
    if (pageWidth <= 0 || available <= 0)
        return 0;
    return available / (pageWidth * dpi / TwipsPerInch) * 100;
}

double zoomToHeight(int widthZoom, QSizeF pageTwips, QSize control)
{
    if (control.width() <= 0 || pageTwips.height() <= 0)
        return widthZoom;
    return static_cast<float>(widthZoom * (pageTwips.width() / pageTwips.height()) *
                              (static_cast<double>(control.height()) / control.width()));
}

} // namespace tw
