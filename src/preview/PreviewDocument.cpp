#include "preview/PreviewDocument.h"

#include "base/Units.h"
#include "preview/Fonts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

// Text is measured on a device of 1440 dots per inch, so that one device
// pixel is one twip and the metrics do not depend on the screen.
const QImage &measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(TwipsPerInch / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

QFontMetricsF metricsFor(double points)
{
    return QFontMetricsF(PreviewDocument::printFont(points), &measuringDevice());
}

// A font that, on a painter whose coordinates are twips, is points tall on
// any device: Qt sizes fonts by the device's resolution before the painter's
// transform shrinks twips to device units.
QFont deviceFont(double points, const QPaintDevice *device)
{
    QFont font = PreviewDocument::printFont(points);
    font.setPointSizeF(points * TwipsPerInch / device->logicalDpiY());
    return font;
}

} // namespace

PreviewDocument::PreviewDocument(QSizeF paper, QObject *parent) : QObject(parent), m_paper(paper) {}

PreviewDocument::~PreviewDocument() = default;

QFont PreviewDocument::printFont(double points)
{
    QFont font = sansFont(std::max(points, 0.1));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor PreviewDocument::toQColor(Colour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

void PreviewDocument::StartDoc()
{
    m_pages.clear();
    m_x = m_y = 0;
    emit documentChanged();
}

void PreviewDocument::EndDoc()
{
    emit documentChanged();
}

void PreviewDocument::NewPage()
{
    pageToDrawOn(); // a page break on an empty document ends an empty page 1
    m_pages.push_back(Page{m_settings, {}, {}});
    m_x = m_y = 0;
    emit documentChanged();
}

Integer PreviewDocument::PageCount() const
{
    return static_cast<Integer>(std::min<std::size_t>(m_pages.size(), 32767));
}

PreviewDocument::Page &PreviewDocument::pageToDrawOn()
{
    if (m_pages.empty())
        m_pages.push_back(Page{m_settings, {}, {}});
    return m_pages.back();
}

const PreviewDocument::Page *PreviewDocument::page(int number) const
{
    if (number < 1 || number > static_cast<int>(m_pages.size()))
        return nullptr;
    return &m_pages[static_cast<std::size_t>(number - 1)];
}

void PreviewDocument::setMargin(int which, Long twips)
{
    m_settings.margins[which] = twips;
    if (!m_pages.empty())
        m_pages.back().settings.margins[which] = twips;
}

void PreviewDocument::setOrientation(Integer orientation)
{
    m_settings.orientation = orientation == 1 ? 1 : 0;
    if (!m_pages.empty())
        m_pages.back().settings.orientation = m_settings.orientation;
}

QSizeF PreviewDocument::sizeOf(const Settings &s) const
{
    return s.orientation == 1 ? m_paper.transposed() : m_paper;
}

Long PreviewDocument::PageWidth() const
{
    return static_cast<Long>(std::lround(sizeOf(m_settings).width()));
}

Long PreviewDocument::PageHeight() const
{
    return static_cast<Long>(std::lround(sizeOf(m_settings).height()));
}

QSizeF PreviewDocument::pageSize(int number) const
{
    const Page *p = page(number);
    return p ? sizeOf(p->settings) : QSizeF();
}

void PreviewDocument::setFontSize(double points)
{
    m_fontSize = points;
}

void PreviewDocument::printText(const std::string &text)
{
    Page &p = pageToDrawOn();
    p.texts.push_back(QString::fromStdString(text));
    p.operations.push_back({false, false, m_fore, m_brush,
                            Text{static_cast<std::int32_t>(std::lround(m_x)),
                                 static_cast<std::int32_t>(std::lround(m_y)),
                                 static_cast<std::int32_t>(std::lround(m_fontSize * 100)),
                                 static_cast<std::int32_t>(p.texts.size() - 1)}});
    m_x = 0;
}

Long PreviewDocument::TextWidth(const std::string &text) const
{
    return static_cast<Long>(
        std::lround(metricsFor(m_fontSize).horizontalAdvance(QString::fromStdString(text))));
}

Long PreviewDocument::LineHeight() const
{
    return static_cast<Long>(std::lround(metricsFor(m_fontSize).lineSpacing()));
}

void PreviewDocument::setCaptionNumber(Long number)
{
    const QFontMetricsF metrics = metricsFor(m_fontSize);
    const QRectF ink = metrics.tightBoundingRect(QString::number(number));
    // The ink of the digits starts ink.left() right of the pen and
    // ascent + ink.top() below the line top; a gap of 0.15 em parts it from
    // whatever it hangs from.
    const double gap = 0.15 * m_fontSize * TwipsPerPoint;
    m_caption = {ink.width(), ink.left(), metrics.ascent() + ink.top() - gap};
}

void PreviewDocument::DrawLine(Long x1, Long y1, Long x2, Long y2)
{
    pageToDrawOn().operations.push_back(
        {m_penStyle == PenStyle::Solid, false, m_fore, m_brush, Line{x1, y1, x2, y2}});
}

void PreviewDocument::DrawRectangle(Long left, Long top, Long width, Long height)
{
    pageToDrawOn().operations.push_back({m_penStyle == PenStyle::Solid,
                                         m_brushStyle == BrushStyle::Solid, m_fore, m_brush,
                                         Box{left, top, width, height}});
}

void PreviewDocument::DrawLetter(Long left, Long top, Long side, char letter)
{
    pageToDrawOn().operations.push_back(
        {false, false, m_fore, m_brush, Letter{left, top, side, letter}});
}

std::size_t PreviewDocument::operationCount(int number) const
{
    const Page *p = page(number);
    return p ? p->operations.size() : 0;
}

std::size_t PreviewDocument::memoryUsed(int number) const
{
    const Page *p = page(number);
    if (!p)
        return 0;
    std::size_t bytes = sizeof(Page) + p->operations.capacity() * sizeof(Operation);
    for (const QString &t : p->texts)
        bytes += sizeof(QString) + static_cast<std::size_t>(t.capacity()) * sizeof(QChar);
    return bytes;
}

void PreviewDocument::renderPage(int number, QPainter &painter) const
{
    const Page *p = page(number);
    if (!p)
        return;
    painter.save();
    painter.translate(p->settings.margins[0], p->settings.margins[1]);

    // Runs of lines or rectangles drawn alike go to the painter in one call.
    std::vector<QLineF> lines;
    std::vector<QRectF> rects;
    const Operation *batch = nullptr;
    const auto flush = [&] {
        if (!lines.empty())
            painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        if (!rects.empty())
            painter.drawRects(rects.data(), static_cast<int>(rects.size()));
        lines.clear();
        rects.clear();
        batch = nullptr;
    };
    const auto sameStyle = [](const Operation &x, const Operation &y) {
        return x.shape.index() == y.shape.index() && x.pen == y.pen && x.fill == y.fill &&
               (!x.pen || x.fore == y.fore) && (!x.fill || x.brush == y.brush);
    };
    const auto startBatch = [&](const Operation &op) {
        if (batch)
            return;
        batch = &op;
        // A filled rectangle outlined in its own colour is painted as a fill
        // alone: the same picture, without stroking each one.
        const bool outline = op.pen && !(op.fill && op.fore == op.brush);
        painter.setPen(outline ? QPen(toQColor(op.fore), 0) : QPen(Qt::NoPen));
        painter.setBrush(op.fill ? QBrush(toQColor(op.brush)) : QBrush(Qt::NoBrush));
    };
    int fontSize = -1;
    double ascent = 0;
    for (const Operation &op : p->operations) {
        if (batch && !sameStyle(*batch, op))
            flush();
        if (const auto *line = std::get_if<Line>(&op.shape)) {
            startBatch(op);
            lines.emplace_back(line->x1, line->y1, line->x2, line->y2);
        } else if (const auto *box = std::get_if<Box>(&op.shape)) {
            startBatch(op);
            rects.emplace_back(box->left, box->top, box->width, box->height);
        } else if (const auto *letter = std::get_if<Letter>(&op.shape)) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(
                letterPath(QRectF(letter->left, letter->top, letter->side, letter->side),
                           letter->letter),
                toQColor(op.fore));
            painter.restore();
        } else {
            const Text &text = std::get<Text>(op.shape);
            if (text.hundredthsOfPoint != fontSize) {
                fontSize = text.hundredthsOfPoint;
                painter.setFont(deviceFont(fontSize / 100.0, painter.device()));
                ascent = painter.fontMetrics().ascent();
            }
            painter.setPen(QPen(toQColor(op.fore), 0));
            painter.drawText(QPointF(text.x, text.y + ascent),
                             p->texts[static_cast<std::size_t>(text.index)]);
        }
    }
    flush();
    painter.restore();
}

bool PreviewDocument::paintPages(QPagedPaintDevice &device, int first, int last,
                                 QPageSize::SizeMatchPolicy match) const
{
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(PageCount()));
    if (first > last)
        return false;
    const auto layoutOf = [&](int number) {
        const QSizeF points = pageSize(number) / TwipsPerPoint;
        const bool landscape = points.width() > points.height();
        return QPageLayout(
            QPageSize(landscape ? points.transposed() : points, QPageSize::Point, QString(), match),
            landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
    };
    device.setPageLayout(layoutOf(first));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / TwipsPerInch;
    for (int number = first; number <= last; ++number) {
        if (number > first) {
            device.setPageLayout(layoutOf(number));
            if (!device.newPage())
                return false;
        }
        painter.save();
        painter.scale(scale, scale);
        renderPage(number, painter);
        painter.restore();
    }
    return painter.end();
}

QImage PreviewDocument::renderImage(int number, double dpi) const
{
    const QSizeF twips = pageSize(number);
    if (twips.isEmpty())
        return {};
    QImage image(static_cast<int>(std::ceil(twips.width() * dpi / TwipsPerInch)),
                 static_cast<int>(std::ceil(twips.height() * dpi / TwipsPerInch)),
                 QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(dpi / TwipsPerInch, dpi / TwipsPerInch);
    renderPage(number, painter);
    return image;
}

QByteArray PreviewDocument::renderSvg(int number) const
{
    const QSizeF twips = pageSize(number);
    if (twips.isEmpty())
        return {};
    constexpr double dpi = 96;
    const QSizeF pixels = twips * (dpi / TwipsPerInch);
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(dpi));
    svg.setSize(pixels.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), pixels));
    svg.setTitle(QStringLiteral("Tilewright page %1").arg(number));
    QPainter painter(&svg);
    painter.scale(dpi / TwipsPerInch, dpi / TwipsPerInch);
    renderPage(number, painter);
    painter.end();
    return buffer.data();
}

bool PreviewDocument::writePdf(const QString &path, QString *error) const
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (m_pages.empty())
        return fail(tr("The document has no pages to save."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(tr("Cannot write \"%1\": %2.").arg(path, file.errorString()));

    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("Tilewright"));
    writer.setTitle(QStringLiteral("Pentominoes cheat sheet"));
    if (!paintPages(writer, 1, PageCount(), QPageSize::ExactMatch))
        return fail(tr("Cannot write \"%1\".").arg(path));
    if (!file.commit())
        return fail(tr("Cannot write \"%1\": %2.").arg(path, file.errorString()));
    return true;
}

} // namespace tw
