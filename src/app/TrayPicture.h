#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "base/Units.h"
#include "pieces/Appearance.h"
#include "pieces/Canvas.h"
#include "pieces/PieceTables.h"
#include "solutions/Decoding.h"

#include <QByteArray>
#include <QImage>
#include <QMimeData>
#include <QSizeF>
#include <QString>

#include <string>

namespace tw {

// The tray as the main window frames it: a grey border one unit wide around
// the white cells, the unit 200 twips; (left, top) is the first cell's
// corner.
void drawTrayFrame(Canvas &canvas, double left, double top, int cols, int rows);

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
    // The picture of the record on board 0..4 in the look, or why the
    // record is not a tiling of it. pieces: the catalogue, built by
    // LoadShapes.
    static Expected<TrayPicture, DecodeError> make(const PieceCatalogue &pieces, Integer board,
                                                   const SolutionRecord &record, Appearance look);

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
    // The letter grid, a row of letters a line.
    std::string text() const { return m_text; }
    // For the clipboard: the letters for a text editor, the image at dpi
    // for an image editor, and the drawing titled title for a vector
    // editor.
    QMimeData *mimeData(double dpi, const QString &title) const;

private:
    TrayPicture(const PieceCatalogue &pieces, Integer board, const SolutionRecord &record,
                Appearance look, std::string text)
        : m_pieces(&pieces), m_board(board), m_record(record), m_look(look), m_text(std::move(text))
    {}

    const PieceCatalogue *m_pieces;
    Integer m_board;
    SolutionRecord m_record;
    Appearance m_look;
    std::string m_text;
};

} // namespace tw
