#include "app/TrayPicture.h"

#include "app/SurfaceCanvas.h"
#include "preview/Fonts.h"
#include "preview/QtColour.h"
#include "solutions/LetterGrid.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <vector>

namespace tw {

namespace {

// Collects the boxes of each colour into one path, in the order the colours
// come, so that a drawing holds a shape for each piece rather than a square
// for each cell (and shows no seams between squares).
class PathCanvas : public Canvas
{
public:
    void fillBox(double x, double y, double width, double height, Colour colour) override
    {
        if (m_paths.empty() || m_paths.back().colour != colour || m_paths.back().letter)
            m_paths.push_back({colour, QPainterPath(), false});
        m_paths.back().path.addRect(x, y, width, height);
    }

    void drawLetter(double x, double y, double side, char letter, Colour colour) override
    {
        m_paths.push_back({colour, letterPath(QRectF(x, y, side, side), letter), true});
    }

    void paint(QPainter &painter) const
    {
        for (const Shape &s : m_paths)
            painter.fillPath(s.letter ? s.path : s.path.simplified(), qtColour(s.colour));
    }

private:
    struct Shape
    {
        Colour colour;
        QPainterPath path;
        bool letter;
    };
    std::vector<Shape> m_paths;
};

} // namespace

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
    paint(surface);
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
    PathCanvas paths;
    paint(paths);
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
    paths.paint(painter);
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
