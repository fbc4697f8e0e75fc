#pragma once

#include "pieces/Canvas.h"

#include <QByteArray>
#include <QPoint>
#include <QRectF>

#include <optional>
#include <vector>

// A page's lines and rectangles written as PDF page content by the program
// itself, and added to the pages of a PDF that Qt's writer made with the
// text alone.
//
// Qt's writer puts every point of a line in page coordinates, so each
// tray's edges repeat its place on the page; here each run is drawn in a
// frame of its own, its numbers short and the same from tray to tray, which
// is far less to write and compress and a far smaller file. The picture is
// the same: the same paths, line widths, caps, joins and stroke adjustment.

namespace tw::pdf {

class PageArt
{
public:
    using Stroke = std::vector<QPoint>;

    // Lines PrintedOutline wide through the points of each stroke.
    void strokes(const std::vector<Stroke> &strokes, Colour colour);
    // Rectangles (of whole twips) filled, outlined, or both (outlined on top).
    void rectangles(const std::vector<QRectF> &rects, std::optional<Colour> outline,
                    std::optional<Colour> fill);

    // The content as a compressed PDF content stream for a page of
    // pageHeight points, in the units (unitsPerInch) and the graphics state
    // that Qt's writer sets up on its pages: twips from the paper's top-left
    // corner here, stroke adjustment (the ExtGState ArtState names), RGB
    // colours, lines PrintedOutline wide with square caps and bevelled joins.
    QByteArray packed(double pageHeight, int unitsPerInch) const;

private:
    void frame(QPoint corner);
    void colour(Colour colour, std::optional<Colour> &current, const char *op);

    QByteArray m_content;
    std::optional<Colour> m_stroke, m_fill;
};

// The name of the graphics state that the art's content streams set, among
// a page's resources.
inline constexpr const char *ArtState = "/TilewrightArt";

// Adds to each page of a PDF a content stream made by PageArt::packed, drawn
// before the page's own content, with the graphics state it names among the
// page's resources; the PDF is read and written again by a PDF library,
// its streams copied as they are. False, with pdf unchanged, when the file
// cannot be read without a warning, when a page's resources already use that
// name, or when its pages are not as many or as tall (points) as pageHeights
// says.
bool addPageArt(QByteArray &pdf, const std::vector<QByteArray> &packedArt,
                const std::vector<double> &pageHeights);

} // namespace tw::pdf
