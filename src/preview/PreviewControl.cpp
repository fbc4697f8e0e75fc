#include "preview/PreviewControl.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

constexpr double TwipsPerInch = 1440;
// Report coordinates are 16-bit: paper beyond 32767 twips (22.7 inches) is
// not used.
constexpr double LargestPaper = 32767;

} // namespace

QSizeF defaultPaper()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        const QSizeF points = printer.defaultPageSize().size(QPageSize::Point);
        const QSizeF twips = points * 20;
        if (!twips.isEmpty() && twips.width() <= LargestPaper && twips.height() <= LargestPaper)
            return twips;
    }
    const auto system = QLocale::system().measurementSystem();
    if (system == QLocale::ImperialUSSystem || system == QLocale::ImperialUKSystem)
        return QPageSize(QPageSize::Letter).size(QPageSize::Point) * 20;
    return QPageSize(QPageSize::A4).size(QPageSize::Point) * 20;
}

PreviewControl::PreviewControl(PreviewDocument *document, QWidget *parent)
    : QAbstractScrollArea(parent), m_document(document)
{
    setObjectName(QStringLiteral("vp"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    connect(m_document, &PreviewDocument::documentChanged, this, [this] {
        m_cachePage = 0;
        emit Notify(DocumentChanged);
    });
}

void PreviewControl::setCurrentPage(Integer page)
{
    const Integer before = m_document->CurrentPage();
    m_document->setCurrentPage(page);
    if (m_document->CurrentPage() != before) {
        m_cachePage = 0;
        emit Notify(PageShown);
    }
}

void PreviewControl::setZoom(double percent)
{
    const double zoom = std::clamp(percent, MinimumZoom, MaximumZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    m_cachePage = 0;
    updateScrollBars();
    emit Notify(ZoomChanged);
}

double PreviewControl::pixelsPerTwip() const
{
    return m_zoom / 100 * logicalDpiX() / TwipsPerInch;
}

QSize PreviewControl::pagePixels() const
{
    const QSizeF twips = m_document->pageSize(CurrentPage());
    return (twips * pixelsPerTwip()).toSize();
}

void PreviewControl::ZoomToWidth()
{
    const QSizeF twips = m_document->pageSize(std::max<int>(CurrentPage(), 1));
    const double width = twips.isEmpty() ? m_document->PageWidth() : twips.width();
    const int available = viewport()->width() - 2 * PageMargin;
    if (width <= 0 || available <= 0)
        return;
    setZoom(available / (width * logicalDpiX() / TwipsPerInch) * 100);
}

void PreviewControl::RefreshView()
{
    m_cachePage = 0;
    updateScrollBars();
    viewport()->update();
}

void PreviewControl::enableNavigation(Navigation kind, bool on)
{
    (kind == Navigation::MouseWheel ? m_wheel : m_keyboard) = on;
}

QRect PreviewControl::pageRect() const
{
    const QSize page = pagePixels();
    const int x = std::max(PageMargin, (viewport()->width() - page.width()) / 2) -
                  horizontalScrollBar()->value();
    const int y = std::max(PageMargin, (viewport()->height() - page.height()) / 2) -
                  verticalScrollBar()->value();
    return QRect(QPoint(x, y), page);
}

void PreviewControl::updateScrollBars()
{
    const QSize page = pagePixels() + QSize(2 * PageMargin, 2 * PageMargin);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, page.width() - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setRange(0, std::max(0, page.height() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
}

void PreviewControl::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const int page = CurrentPage();
    if (page < 1 || viewport()->width() <= 0 || viewport()->height() <= 0)
        return;
    const QRect target = pageRect();
    painter.fillRect(target.translated(3, 3), palette().color(QPalette::Shadow));
    painter.fillRect(target, Qt::white);

    // The page is drawn once per page and zoom into a pixmap at the screen's
    // pixel ratio; scrolling and exposing only copy it. Beyond about 64
    // million pixels it is drawn straight into the view instead.
    const qreal ratio = devicePixelRatioF();
    const QSize device = (QSizeF(target.size()) * ratio).toSize();
    if (static_cast<double>(device.width()) * device.height() > 64e6) {
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        painter.scale(pixelsPerTwip(), pixelsPerTwip());
        m_document->renderPage(page, painter);
        return;
    }
    if (m_cachePage != page || m_cache.size() != device) {
        QImage image(device, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter p(&image);
        p.scale(pixelsPerTwip(), pixelsPerTwip());
        m_document->renderPage(page, p);
        p.end();
        m_cache = QPixmap::fromImage(std::move(image));
        m_cachePage = page;
    }
    painter.drawPixmap(target.topLeft(), m_cache);
}

void PreviewControl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PreviewControl::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PreviewControl::wheelEvent(QWheelEvent *event)
{
    if (m_wheel)
        QAbstractScrollArea::wheelEvent(event);
    else
        event->ignore();
}

void PreviewControl::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyboard) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageDown:
        setCurrentPage(static_cast<Integer>(CurrentPage() + 1));
        RefreshView();
        break;
    case Qt::Key_PageUp:
        setCurrentPage(static_cast<Integer>(CurrentPage() - 1));
        RefreshView();
        break;
    case Qt::Key_Home:
        setCurrentPage(1);
        RefreshView();
        break;
    case Qt::Key_End:
        setCurrentPage(PageCount());
        RefreshView();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool PreviewControl::printTo(QPrinter &printer, Integer first, Integer last) const
{
    first = std::max<Integer>(first, 1);
    last = std::min(last, PageCount());
    if (first > last)
        return false;
    printer.setFullPage(true);
    const auto layoutOf = [&](int number) {
        const QSizeF points = m_document->pageSize(number) / 20;
        const bool landscape = points.width() > points.height();
        return QPageLayout(QPageSize(landscape ? points.transposed() : points, QPageSize::Point,
                                     QString(), QPageSize::FuzzyMatch),
                           landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
    };
    printer.setPageLayout(layoutOf(first));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / TwipsPerInch;
    for (int number = first; number <= last; ++number) {
        if (number > first) {
            printer.setPageLayout(layoutOf(number));
            if (!printer.newPage())
                return false;
        }
        painter.save();
        painter.scale(scale, scale);
        m_document->renderPage(number, painter);
        painter.restore();
    }
    return painter.end();
}

bool PreviewControl::PrintPages(Integer first, Integer last)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!PrinterName.isEmpty())
        printer.setPrinterName(PrinterName);
    printer.setDocName(JobTitle.isEmpty() ? QStringLiteral("Pentominoes cheat sheet") : JobTitle);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max<int>(1, PageCount()));
    printer.setFromTo(first, last);
    dialog.setPrintRange(m_printRange == PrintRange::CurrentPage ? QAbstractPrintDialog::CurrentPage
                                                                 : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted) {
        emit PrintAborted();
        return false;
    }
    Integer from = first, to = last;
    if (printer.printRange() == QPrinter::PageRange) {
        from = static_cast<Integer>(printer.fromPage());
        to = static_cast<Integer>(printer.toPage());
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = CurrentPage();
    }
    emit TextNotify(QStringLiteral("printer"), QStringLiteral("%1,%2,%3,%4")
                                                   .arg(printer.printerName())
                                                   .arg(from)
                                                   .arg(to)
                                                   .arg(printer.docName()));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = printTo(printer, from, to);
    QApplication::restoreOverrideCursor();
    if (!printed)
        emit PrintAborted();
    return printed;
}

void PreviewControl::CopyPage(const QString &format, Integer page)
{
    Q_UNUSED(format)
    if (page < 1 || page > PageCount())
        return;
    auto *mime = new QMimeData;
    const double ratio = devicePixelRatioF();
    QImage image = m_document->renderImage(page, logicalDpiX() * ratio);
    image.setDevicePixelRatio(ratio);
    mime->setImageData(image);
    mime->setData(QStringLiteral("image/svg+xml"), m_document->renderSvg(page));
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace tw
