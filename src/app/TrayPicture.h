#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "base/Units.h"
#include "pieces/Appearance.h"
#include "pieces/Canvas.h"
#include "pieces/Tiling.h"

#include <QByteArray>
#include <QImage>
#include <QMimeData>
#include <QSizeF>
#include <QString>

#include <string>

namespace tw {

// One solution on its own, in the screen's colours: the framed tray with the
// pieces painted by the same painter as the main window's. It can be drawn
// on any canvas, and taken out as a PNG image, an SVG drawing or rows of
// letters.
// The resolution of the picture put on the clipboard: unit squares of 32
// pixels, large enough to paste into a worksheet.
inline constexpr double ClipboardDpi = 32 * TwipsPerInch / ScreenUnit;

class TrayPicture
{
public:
    // The picture of a tiling, whole or partial.
    TrayPicture(Tiling tiling, Appearance look);

    // The whole picture, frame included, twips.
    QSizeF size() const;
    // Paints the picture with its top-left corner at (0, 0).
    void paint(Canvas &canvas) const;

    // At dpi dots per inch, each box on whole pixels as on the screen.
    QImage image(double dpi) const;
    // The image as a PNG file's bytes; empty when it cannot be encoded.
    QByteArray png(double dpi) const;
    // A vector drawing, one outline for each piece, titled with title.
    QByteArray svg(const QString &title) const;
    // The letter grid, a row of letters a line ("." for an empty cell).
    std::string text() const;
    // For the clipboard: the letters for a text editor, the image at dpi
    // for an image editor, and the drawing titled title for a vector
    // editor.
    QMimeData *mimeData(double dpi, const QString &title) const;

private:
    Tiling m_tiling;
    Appearance m_look;
};

} // namespace tw
