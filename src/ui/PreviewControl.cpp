#include "ui/PreviewControl.h"

#include "app/Choices.h"
#include "app/PageGeometry.h"
#include "app/Program.h"
#include "preview/PreviewDocument.h"
#include "ui/PrintJob.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

// Report coordinates are 16-bit: paper beyond 32767 twips (22.7 inches) is
// not used.
constexpr double LargestPaper = 32767;

} // namespace

QSizeF defaultPaper()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        const QSizeF points = printer.defaultPageSize().size(QPageSize::Point);
        const QSizeF twips = points * TwipsPerPoint;
        if (!twips.isEmpty() && twips.width() <= LargestPaper && twips.height() <= LargestPaper)
            return twips;
    }
    const auto system = QLocale::system().measurementSystem();
    if (system == QLocale::ImperialUSSystem || system == QLocale::ImperialUKSystem)
        return QPageSize(QPageSize::Letter).size(QPageSize::Point) * TwipsPerPoint;
    return QPageSize(QPageSize::A4).size(QPageSize::Point) * TwipsPerPoint;
}

PreviewControl::PreviewControl(PreviewDocument *document, QWidget *parent)
    : QAbstractScrollArea(parent), m_document(document), m_navigator(*document)
{
    setObjectName(QStringLiteral("vp"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    connect(m_document, &PreviewDocument::documentChanged, this, [this] {
        m_cachePage = 0;
        emit Notify(DocumentChanged);
    });
    connect(&m_navigator, &PreviewNavigator::pageChanged, this, [this] {
        m_cachePage = 0;
        emit Notify(PageShown);
    });
    connect(&m_navigator, &PreviewNavigator::zoomChanged, this, [this] {
        m_cachePage = 0;
        updateScrollBars();
        emit Notify(ZoomChanged);
    });
}

QSize PreviewControl::pagePixels() const
{
    return tw::pagePixels(m_document->pageSize(CurrentPage()), Zoom(), logicalDpiX());
}

void PreviewControl::ZoomToWidth()
{
    const QSizeF twips = m_document->pageSize(std::max<int>(CurrentPage(), 1));
    const double width = twips.isEmpty() ? m_document->PageWidth() : twips.width();
    if (const double zoom = zoomToWidth(width, viewport()->width(), logicalDpiX()))
        setZoom(zoom);
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
    return tw::pageRect(pagePixels(), viewport()->size(),
                        QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void PreviewControl::updateScrollBars()
{
    const QSize view = viewport()->size();
    const QSize range = scrollRange(pagePixels(), view);
    horizontalScrollBar()->setRange(0, range.width());
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setRange(0, range.height());
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    // A notch of the wheel scrolls the desktop's number of lines of text,
    // as other viewers do.
    const int line = fontMetrics().lineSpacing();
    horizontalScrollBar()->setSingleStep(line);
    verticalScrollBar()->setSingleStep(line);
}

QSize PreviewControl::fitView() const
{
    // The room inside the frame without the scroll bars; fitting the width
    // leaves the vertical bar's room when the page is then taller than
    // the view, so that no horizontal bar is needed.
    QSize room = maximumViewportSize();
    const QSizeF twips = m_document->pageSize(std::max<int>(CurrentPage(), 1));
    if (!m_navigator.FitToWidth || twips.isEmpty())
        return room;
    const double zoom = zoomToWidth(twips.width(), room.width(), logicalDpiX());
    const double height = twips.height() * pixelsPerTwip(zoom, logicalDpiX()) + 2 * PageMargin;
    if (height > room.height())
        room.rwidth() -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return room;
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
        painter.scale(pixelsPerTwip(Zoom(), logicalDpiX()), pixelsPerTwip(Zoom(), logicalDpiX()));
        m_document->renderPage(page, painter);
        return;
    }
    if (m_cachePage != page || m_cache.size() != device) {
        QImage image(device, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter p(&image);
        p.scale(pixelsPerTwip(Zoom(), logicalDpiX()), pixelsPerTwip(Zoom(), logicalDpiX()));
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
    if (!m_wheel) {
        event->ignore();
        return;
    }
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // With Ctrl the wheel zooms, a step for each notch (120 eighths of a
    // degree), however finely a touchpad divides them.
    m_wheelZoom += event->angleDelta().y();
    const int notches = m_wheelZoom / 120;
    m_wheelZoom -= notches * 120;
    for (int k = 0; k < std::abs(notches); ++k)
        m_navigator.zoomStep(notches > 0 ? +1 : -1);
    if (notches != 0)
        RefreshView();
    event->accept();
}

void PreviewControl::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyboard) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageDown:
        m_navigator.setCurrentPage(m_navigator.CurrentPage() + 1);
        RefreshView();
        break;
    case Qt::Key_PageUp:
        m_navigator.setCurrentPage(m_navigator.CurrentPage() - 1);
        RefreshView();
        break;
    case Qt::Key_Home:
        m_navigator.setCurrentPage(1);
        RefreshView();
        break;
    case Qt::Key_End:
        m_navigator.setCurrentPage(m_navigator.PageCount());
        RefreshView();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool PreviewControl::printTo(QPrinter &printer, Integer first, Integer last, QString *error) const
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    printer.setFullPage(true);
    // A printer takes the standard paper nearest to the page's. Printing to
    // a file writes a PDF as Save PDF does, with its refusals.
    if (!printer.outputFileName().isEmpty()) {
        const QString name = printer.outputFileName();
        const auto path = pathBytes(name);
        if (!path)
            return fail(tr("The report could not be printed to \"%1\": the name holds characters "
                           "that are not valid text. Choose another name.")
                            .arg(name));
        if (const auto failure = m_document->writePdf(*path, first, last, QPageSize::FuzzyMatch,
                                                      printer.docName(), m_databasePath))
            return fail(tr("The report could not be printed to a file: %1")
                            .arg(displayName(failure->sentence("cannot write", *path))));
        return true;
    }
    const auto refused = [&](const QString &why) {
        return fail(tr("The report could not be printed: the printer \"%1\" %2. Check that the "
                       "printer and the print server are ready, then print again.")
                        .arg(printer.printerName(), why));
    };
    // A printer gets a PDF written as Save PDF writes it, on the paper the
    // printer takes, handed to the print server as Qt's print engine hands
    // its own. That engine stays for greys from colours, which only it makes.
    if (printer.outputFormat() == QPrinter::NativeFormat &&
        (printer.colorMode() == QPrinter::Color || m_document->allGrey(first, last))) {
        const auto paper = [&](int number) {
            // The paper as the printer takes it, which the job's options name.
            PreviewDocument::setPaper(printer,
                                      m_document->pageLayout(number, QPageSize::FuzzyMatch));
            const QPageLayout taken = printer.pageLayout();
            return QPageLayout(taken.pageSize(), taken.orientation(), QMarginsF());
        };
        const QByteArray pdf = m_document->pdf(first, last, paper, printer.docName());
        if (pdf.isEmpty())
            return fail(tr("There are no pages to print."));
        QString refusal;
        if (!sendPrintJob(printer, pdf, &refusal))
            return refused(tr("did not take the job: %1").arg(refusal));
        return true;
    }
    if (!m_document->paintPages(printer, first, last, QPageSize::FuzzyMatch))
        return refused(tr("could not be started"));
    return true;
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
    m_printError.clear();
    // Printing to a file proposes the folder last saved in and a name after
    // what the document holds, as Save PDF does.
    // Qt's dialog proposes the name again whenever a printer is chosen, so
    // the proposal follows it.
    const QString proposed =
        Choices::outputFolder() + QLatin1Char('/') + printer.docName() + QStringLiteral(".pdf");
    auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
    const auto propose = [file, proposed, name = QFileInfo(proposed).fileName()] {
        if (file && QFileInfo(file->text()).fileName() == name)
            file->setText(proposed);
    };
    if (auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers")))
        connect(printers, &QComboBox::currentIndexChanged, file, propose, Qt::QueuedConnection);
    QTimer::singleShot(0, file, propose);
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
    const auto escaped = [](QString field) {
        return field.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char(','), QStringLiteral("\\,"));
    };
    emit TextNotify(QStringLiteral("printer"),
                    QStringList{escaped(printer.printerName()), QString::number(from),
                                QString::number(to), escaped(printer.docName())}
                        .join(QLatin1Char(',')));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = printTo(printer, from, to, &m_printError);
    QApplication::restoreOverrideCursor();
    if (printed && !printer.outputFileName().isEmpty())
        Choices::setOutputFolderOf(printer.outputFileName());
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

QStringList textNotifyFields(const QString &text)
{
    QStringList fields(QString{});
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k] == QLatin1Char('\\') && k + 1 < text.size())
            fields.back() += text[++k];
        else if (text[k] == QLatin1Char(','))
            fields.append(QString());
        else
            fields.back() += text[k];
    }
    return fields;
}

} // namespace tw
