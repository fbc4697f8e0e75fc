#pragma once

#include "base/Units.h"

#include <QRect>
#include <QSizeF>

// Where a page stands in the preview's view, and the zooms that fit it. Pure
// functions of sizes: twips for the page, pixels for the view; a zoom is a
// percentage of the page's real size on a screen of dpi dots per inch.

namespace tw {

// Pixels of grey kept around the page in the view.
inline constexpr int PageMargin = 12;

constexpr double pixelsPerTwip(double zoom, double dpi)
{
    return zoom / 100 * dpi / TwipsPerInch;
}

QSize pagePixels(QSizeF pageTwips, double zoom, double dpi);

// The page's rectangle in a view of size view scrolled to scroll: centred
// where it is smaller than the view, PageMargin from the edge where not.
QRect pageRect(QSize page, QSize view, QPoint scroll);

// The scroll range that shows every part of a page, margins included.
QSize scrollRange(QSize page, QSize view);

// The zoom at which a page pageWidth twips wide fills a view viewWidth
// pixels wide, margins aside; nothing when there is no room or no page.
double zoomToWidth(double pageWidth, int viewWidth, double dpi);

// The zoom at which the page's height fills a control of size control,
// from the width-fitting zoom rounded to a whole number.
double zoomToHeight(int widthZoom, QSizeF pageTwips, QSize control);

} // namespace tw
