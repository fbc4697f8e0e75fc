#include "app/TrayPicture.h"

#include "app/SurfaceCanvas.h"
#include "preview/QtCanvas.h"
#include "solutions/LetterGrid.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace tw {

TrayPicture::TrayPicture(Tiling tiling, Appearance look) : m_tiling(std::move(tiling)), m_look(look)
{}

std::string TrayPicture::text() const
{
    return letterRows(m_tiling);
}

QSizeF TrayPicture::size() const
{
    return {(m_tiling.cols + 2) * ScreenUnit, (m_tiling.rows + 2) * ScreenUnit};
}

void TrayPicture::paint(Canvas &canvas) const
{
    // The tray as the "Display" tab frames it: a grey border one unit wide
    // around the cells.
    const TrayGeometry where{ScreenUnit, ScreenUnit, ScreenUnit};
    paintFrame(canvas, where, m_tiling.cols, m_tiling.rows);
    paintTiling(canvas, m_tiling, where, m_look);
}

QImage TrayPicture::image(double dpi) const
{
    SurfaceCanvas surface(size(), TwipsScale(dpi), 1, Qt::white);
    paint(surface.canvas());
    QImage image = surface.image();
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    return image;
}

QByteArray TrayPicture::png(double dpi) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image(dpi).save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray TrayPicture::svg(const QString &title) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // Drawn in twips; shown at the screen's 15 twips a pixel.
    const QSizeF twips = size();
    generator.setViewBox(QRectF(QPointF(0, 0), twips));
    generator.setSize((twips / 15).toSize());
    generator.setResolution(96);
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Tilewright"));
    QPainter painter(&generator);
    painter.setPen(Qt::NoPen);
    {
        // A shape for each piece, in twips.
        QtCanvas shapes(painter, TwipsPerInch, 1, QtCanvas::Boxes::Shapes);
        paint(shapes);
    }
    painter.end();
    return bytes;
}

QMimeData *TrayPicture::mimeData(double dpi, const QString &title) const
{
    auto *data = new QMimeData;
    data->setText(QString::fromStdString(text()));
    data->setImageData(image(dpi));
    data->setData(QStringLiteral("image/svg+xml"), svg(title));
    return data;
}

} // namespace tw
