#include "preview/PreviewDocument.h"

#include "base/Units.h"
#include "preview/Fonts.h"
#include "preview/QtColour.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <future>
#include <optional>
#include <span>
#include <tuple>

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

// Lines along one row, or one column, that touch or overlap become one
// line: the same picture in far fewer strokes for a printer or a PDF.
void joinLines(std::vector<QLine> &lines)
{
    struct Run
    {
        bool down; // along a column
        int at, from, to;
        bool operator<(const Run &o) const
        {
            return std::tie(down, at, from) < std::tie(o.down, o.at, o.from);
        }
    };
    std::vector<Run> runs;
    std::vector<QLine> others;
    for (const QLine &l : lines) {
        if (l.y1() == l.y2())
            runs.push_back({false, l.y1(), std::min(l.x1(), l.x2()), std::max(l.x1(), l.x2())});
        else if (l.x1() == l.x2())
            runs.push_back({true, l.x1(), std::min(l.y1(), l.y2()), std::max(l.y1(), l.y2())});
        else
            others.push_back(l);
    }
    std::sort(runs.begin(), runs.end());
    lines = std::move(others);
    for (std::size_t k = 0; k < runs.size();) {
        Run r = runs[k];
        for (++k; k < runs.size() && runs[k].down == r.down && runs[k].at == r.at &&
                  runs[k].from <= r.to;
             ++k)
            r.to = std::max(r.to, runs[k].to);
        lines.push_back(r.down ? QLine(r.at, r.from, r.at, r.to) : QLine(r.from, r.at, r.to, r.at));
    }
}

// The lines as few strokes as may be: lines that meet end to end continue
// one stroke instead of starting their own.
std::vector<pdf::PageArt::Stroke> chained(const std::vector<QLine> &lines)
{
    // Both ends of every line, sorted by point.
    struct End
    {
        int x, y;
        std::uint32_t line;
        bool operator<(const End &o) const { return std::tie(x, y) < std::tie(o.x, o.y); }
    };
    std::vector<End> ends;
    ends.reserve(2 * lines.size());
    for (std::uint32_t k = 0; k < lines.size(); ++k) {
        ends.push_back({lines[k].x1(), lines[k].y1(), k});
        ends.push_back({lines[k].x2(), lines[k].y2(), k});
    }
    std::sort(ends.begin(), ends.end());
    std::vector<bool> used(lines.size());
    // The far end of an unused line that ends at p, marking it used.
    const auto next = [&](QPoint p) -> std::optional<QPoint> {
        for (auto it = std::lower_bound(ends.begin(), ends.end(), End{p.x(), p.y(), 0});
             it != ends.end() && it->x == p.x() && it->y == p.y(); ++it)
            if (!used[it->line]) {
                used[it->line] = true;
                const QLine &l = lines[it->line];
                return l.p1() == p ? l.p2() : l.p1();
            }
        return std::nullopt;
    };
    std::vector<pdf::PageArt::Stroke> strokes;
    std::deque<QPoint> stroke;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (used[k])
            continue;
        used[k] = true;
        stroke = {lines[k].p1(), lines[k].p2()};
        while (const auto p = next(stroke.back()))
            stroke.push_back(*p);
        while (const auto p = next(stroke.front()))
            stroke.push_front(*p);
        strokes.emplace_back(stroke.begin(), stroke.end());
    }
    return strokes;
}

QPainterPath pathOf(const std::vector<pdf::PageArt::Stroke> &strokes)
{
    QPainterPath path;
    for (const auto &stroke : strokes) {
        path.moveTo(stroke.front());
        for (std::size_t i = 1; i < stroke.size(); ++i)
            path.lineTo(stroke[i]);
    }
    return path;
}

// How a run is drawn: a filled rectangle outlined in its own colour is
// painted as a fill alone, the same picture without stroking each one.
bool outlined(bool pen, bool fill, Colour fore, Colour brush)
{
    return pen && !(fill && fore == brush);
}

// Fills of one colour that continue each other along a row, then along a
// column, become one rectangle.
void joinFills(std::vector<QRectF> &rects)
{
    const auto join = [&](auto key, auto continues, auto extend) {
        std::sort(rects.begin(), rects.end(),
                  [&](const QRectF &a, const QRectF &b) { return key(a) < key(b); });
        std::vector<QRectF> out;
        for (const QRectF &r : rects)
            if (!out.empty() && continues(out.back(), r))
                extend(out.back(), r);
            else
                out.push_back(r);
        rects = std::move(out);
    };
    join([](const QRectF &r) { return std::tuple(r.top(), r.height(), r.left()); },
         [](const QRectF &a, const QRectF &b) {
             return a.top() == b.top() && a.height() == b.height() && b.left() == a.right();
         },
         [](QRectF &a, const QRectF &b) { a.setRight(b.right()); });
    join([](const QRectF &r) { return std::tuple(r.left(), r.width(), r.top()); },
         [](const QRectF &a, const QRectF &b) {
             return a.left() == b.left() && a.width() == b.width() && b.top() == a.bottom();
         },
         [](QRectF &a, const QRectF &b) { a.setBottom(b.bottom()); });
}

// Paints a run of lines, or of rectangles, drawn alike. A PDF or a printer
// takes the lines joined where they continue each other and strung into
// strokes, and fills joined likewise in a frame of their own: the same
// picture in far fewer, shorter instructions, much less to write and
// compress. The screen and images take them as they are, pixel for pixel.
void paintBatch(QPainter &painter, std::vector<QLine> &lines, std::vector<QRectF> &rects,
                bool vector, bool fillsOnly)
{
    if (!lines.empty() && vector) {
        joinLines(lines);
        painter.drawPath(pathOf(chained(lines)));
    } else if (!lines.empty()) {
        const std::vector<QLineF> exact(lines.begin(), lines.end());
        painter.drawLines(exact.data(), static_cast<int>(exact.size()));
    }
    if (rects.empty())
        return;
    if (!vector || !fillsOnly) {
        painter.drawRects(rects.data(), static_cast<int>(rects.size()));
        return;
    }
    joinFills(rects);
    QPointF corner = rects[0].topLeft();
    for (const QRectF &r : rects)
        corner = QPointF(std::min(corner.x(), r.left()), std::min(corner.y(), r.top()));
    for (QRectF &r : rects)
        r.translate(-corner);
    painter.save();
    painter.translate(corner);
    painter.drawRects(rects.data(), static_cast<int>(rects.size()));
    painter.restore();
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
    return qtColour(colour);
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

std::vector<QRectF> PreviewDocument::textBoxes(int number) const
{
    std::vector<QRectF> boxes;
    if (const Page *p = page(number))
        for (const Operation &op : p->operations)
            if (const auto *text = std::get_if<Text>(&op.shape)) {
                const QFontMetricsF metrics = metricsFor(text->hundredthsOfPoint / 100.0);
                boxes.emplace_back(
                    text->x, text->y,
                    metrics.horizontalAdvance(p->texts[static_cast<std::size_t>(text->index)]),
                    metrics.lineSpacing());
            }
    return boxes;
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

void PreviewDocument::walk(const Page &page, const BatchVisitor &batch, const SingleVisitor &single)
{
    std::vector<QLine> lines;
    std::vector<QRectF> rects;
    const Operation *style = nullptr;
    const auto flush = [&] {
        if (style)
            batch(*style, lines, rects);
        lines.clear();
        rects.clear();
        style = nullptr;
    };
    const auto sameStyle = [](const Operation &x, const Operation &y) {
        return x.shape.index() == y.shape.index() && x.pen == y.pen && x.fill == y.fill &&
               (!x.pen || x.fore == y.fore) && (!x.fill || x.brush == y.brush);
    };
    for (const Operation &op : page.operations) {
        if (style && !sameStyle(*style, op))
            flush();
        if (const auto *line = std::get_if<Line>(&op.shape)) {
            style = style ? style : &op;
            lines.emplace_back(line->x1, line->y1, line->x2, line->y2);
        } else if (const auto *box = std::get_if<Box>(&op.shape)) {
            style = style ? style : &op;
            rects.emplace_back(box->left, box->top, box->width, box->height);
        } else {
            flush();
            single(op);
        }
    }
    flush();
}

void PreviewDocument::renderPage(int number, QPainter &painter) const
{
    paint(number, painter, Layers::All);
}

void PreviewDocument::paint(int number, QPainter &painter, Layers layers) const
{
    const Page *p = page(number);
    if (!p)
        return;
    painter.save();
    painter.translate(p->settings.margins[0], p->settings.margins[1]);
    const bool vector = painter.paintEngine()->type() == QPaintEngine::Pdf;
    int fontSize = -1;
    double ascent = 0;
    walk(
        *p,
        [&](const Operation &style, std::vector<QLine> &lines, std::vector<QRectF> &rects) {
            if (layers == Layers::TextOnly)
                return;
            const bool outline = outlined(style.pen, style.fill, style.fore, style.brush);
            painter.setPen(outline ? QPen(toQColor(style.fore), vector ? PrintedOutline : 0)
                                   : QPen(Qt::NoPen));
            painter.setBrush(style.fill ? QBrush(toQColor(style.brush)) : QBrush(Qt::NoBrush));
            paintBatch(painter, lines, rects, vector, !outline);
        },
        [&](const Operation &op) {
            if (const auto *letter = std::get_if<Letter>(&op.shape)) {
                if (layers == Layers::TextOnly)
                    return;
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing);
                painter.fillPath(
                    letterPath(QRectF(letter->left, letter->top, letter->side, letter->side),
                               letter->letter),
                    toQColor(op.fore));
                painter.restore();
                return;
            }
            const Text &text = std::get<Text>(op.shape);
            if (text.hundredthsOfPoint != fontSize) {
                fontSize = text.hundredthsOfPoint;
                painter.setFont(deviceFont(fontSize / 100.0, painter.device()));
                ascent = painter.fontMetrics().ascent();
            }
            painter.setPen(QPen(toQColor(op.fore), 0));
            painter.drawText(QPointF(text.x, text.y + ascent),
                             p->texts[static_cast<std::size_t>(text.index)]);
        });
    painter.restore();
}

pdf::PageArt PreviewDocument::pdfArt(const Page &page)
{
    pdf::PageArt art;
    const QPoint margins(page.settings.margins[0], page.settings.margins[1]);
    walk(
        page,
        [&](const Operation &style, std::vector<QLine> &lines, std::vector<QRectF> &rects) {
            const bool outline = outlined(style.pen, style.fill, style.fore, style.brush);
            if (!lines.empty() && outline) {
                joinLines(lines);
                for (QLine &l : lines)
                    l.translate(margins);
                art.strokes(chained(lines), style.fore);
            }
            if (rects.empty())
                return;
            if (!outline)
                joinFills(rects);
            for (QRectF &r : rects)
                r.translate(margins);
            art.rectangles(rects, outline ? std::optional(style.fore) : std::nullopt,
                           style.fill ? std::optional(style.brush) : std::nullopt);
        },
        [](const Operation &) {});
    return art;
}

bool PreviewDocument::paintPages(QPagedPaintDevice &device, int first, int last,
                                 QPageSize::SizeMatchPolicy match) const
{
    return paintPagesOf(
        device, first, last, [&](int number) { return pageLayout(number, match); }, Layers::All);
}

QPageLayout PreviewDocument::pageLayout(int number, QPageSize::SizeMatchPolicy match) const
{
    const QSizeF points = pageSize(number) / TwipsPerPoint;
    const bool landscape = points.width() > points.height();
    return QPageLayout(
        QPageSize(landscape ? points.transposed() : points, QPageSize::Point, QString(), match),
        landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void PreviewDocument::setPaper(QPagedPaintDevice &device, const QPageLayout &paper)
{
    // A printer refuses margins narrower than the ones it cannot print on;
    // its paper and orientation are then set alone (a page is painted from
    // the paper's corner whatever the margins).
    if (device.setPageLayout(paper))
        return;
    device.setPageSize(paper.pageSize());
    device.setPageOrientation(paper.orientation());
}

std::span<const PreviewDocument::Page> PreviewDocument::pages(int first, int last) const
{
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(PageCount()));
    if (first > last)
        return {};
    return std::span(m_pages).subspan(static_cast<std::size_t>(first - 1),
                                      static_cast<std::size_t>(last - first + 1));
}

bool PreviewDocument::allGrey(int first, int last) const
{
    const auto grey = [](Colour c) { return redOf(c) == greenOf(c) && greenOf(c) == blueOf(c); };
    const auto pagesOf = pages(first, last);
    return std::all_of(pagesOf.begin(), pagesOf.end(), [&](const Page &page) {
        return std::all_of(page.operations.begin(), page.operations.end(),
                           [&](const Operation &op) {
                               // Only a rectangle can leave its outline out.
                               const bool inked = op.pen || !std::holds_alternative<Box>(op.shape);
                               return (!inked || grey(op.fore)) && (!op.fill || grey(op.brush));
                           });
    });
}

bool PreviewDocument::paintPagesOf(QPagedPaintDevice &device, int first, int last,
                                   const PaperOf &paper, Layers layers) const
{
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(PageCount()));
    if (first > last)
        return false;
    setPaper(device, paper(first));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / TwipsPerInch;
    for (int number = first; number <= last; ++number) {
        if (number > first) {
            setPaper(device, paper(number));
            if (!device.newPage())
                return false;
        }
        painter.save();
        painter.scale(scale, scale);
        paint(number, painter, layers);
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

std::optional<FileFailure> PreviewDocument::writePdf(const std::string &path, int first, int last,
                                                     QPageSize::SizeMatchPolicy match,
                                                     const QString &title,
                                                     const std::string &database) const
{
    if (pages(first, last).empty())
        return FileFailure{"the document has no pages to save", {}};
    const QByteArray written = pdf(
        first, last, [&](int number) { return pageLayout(number, match); }, title);
    if (written.isEmpty())
        return FileFailure{"the PDF could not be made", {}};
    return writeWholeFile(
        path, std::string_view(written.constData(), static_cast<std::size_t>(written.size())),
        database);
}

QByteArray PreviewDocument::pdf(int first, int last, const PaperOf &paper,
                                const QString &title) const
{
    const auto pagesOf = pages(first, last);
    if (pagesOf.empty())
        return {};
    first = std::max(first, 1);
    last = first + static_cast<int>(pagesOf.size()) - 1;
    // Twips as the PDF's own unit: every coordinate a whole number.
    constexpr int resolution = static_cast<int>(TwipsPerInch);
    const auto write = [&](Layers layers) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution);
        writer.setCreator(QStringLiteral("Tilewright"));
        writer.setTitle(title);
        if (!paintPagesOf(writer, first, last, paper, layers))
            return QByteArray();
        return buffer.data();
    };
    // Qt writes the text while another thread writes the lines and
    // rectangles, which are then added to Qt's pages. Letters are left to
    // Qt, and so is the whole document should adding fail.
    const bool apart = std::none_of(pagesOf.begin(), pagesOf.end(), [](const Page &page) {
        return std::any_of(page.operations.begin(), page.operations.end(), [](const Operation &op) {
            return std::holds_alternative<Letter>(op.shape);
        });
    });
    QByteArray written;
    if (apart) {
        std::vector<double> heights;
        for (int number = first; number <= last; ++number)
            heights.push_back(paper(number).fullRectPoints().height());
        auto art = std::async(std::launch::async, [&] {
            std::vector<QByteArray> packed;
            for (std::size_t k = 0; k < pagesOf.size(); ++k)
                packed.push_back(pdfArt(pagesOf[k]).packed(heights[k], resolution));
            return packed;
        });
        written = write(Layers::TextOnly);
        if (!pdf::addPageArt(written, art.get(), heights))
            written.clear();
    }
    if (written.isEmpty())
        written = write(Layers::All);
    return written;
}

} // namespace tw
