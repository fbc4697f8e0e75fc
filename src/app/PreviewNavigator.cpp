#include "app/PreviewNavigator.h"

#include "app/PageGeometry.h"
#include "preview/PreviewDocument.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tw {

PreviewNavigator::PreviewNavigator(const PreviewDocument &document, QObject *parent)
    : QObject(parent), m_document(document)
{
    m_page = PageCount() > 0 ? 1 : 0;
    // A document drawn again starts on its first page.
    connect(&document, &PreviewDocument::documentChanged, this, [this] {
        m_page = std::clamp(m_page, PageCount() > 0 ? 1 : 0, PageCount());
        emit pageChanged();
    });
}

int PreviewNavigator::PageCount() const
{
    return m_document.PageCount();
}

void PreviewNavigator::setCurrentPage(int page)
{
    page = std::clamp(page, PageCount() > 0 ? 1 : 0, PageCount());
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged();
}

void PreviewNavigator::setZoom(double percent)
{
    const double zoom = std::clamp(percent, MinimumZoom, MaximumZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit zoomChanged();
}

void PreviewNavigator::zoomStep(int direction)
{
    static constexpr std::array<double, 10> Ladder{10, 25, 50, 75, 100, 125, 150, 200, 300, 400};
    // A zoom that a fit left between two rungs goes to the nearer rung's
    // side that the step points to.
    const double now = std::nearbyint(m_zoom);
    if (direction > 0) {
        const auto next = std::upper_bound(Ladder.begin(), Ladder.end(), now);
        setZoom(next == Ladder.end() ? MaximumZoom : *next);
    } else {
        const auto next = std::lower_bound(Ladder.begin(), Ladder.end(), now);
        setZoom(next == Ladder.begin() ? MinimumZoom : *(next - 1));
    }
}

void PreviewNavigator::applyFit(QSize view, QSize control, double dpi)
{
    const QSizeF shown = m_document.pageSize(std::max(m_page, 1));
    const double width = shown.isEmpty() ? m_document.PageWidth() : shown.width();
    if (const double z = zoomToWidth(width, view.width(), dpi))
        setZoom(z);
    if (!FitToWidth && control.width() > 0) {
        const int widthZoom = static_cast<int>(std::nearbyint(m_zoom));
        const double height = zoomToHeight(
            widthZoom, QSizeF(m_document.PageWidth(), m_document.PageHeight()), control);
        // The control's proportions can overrate the view's height (its
        // frame, the page's margins): never more than shows the whole page.
        const double tall = shown.isEmpty() ? m_document.PageHeight() : shown.height();
        const double whole = zoomToWidth(tall, view.height(), dpi);
        setZoom(whole > 0 ? std::min(height, std::floor(whole)) : height);
    }
}

} // namespace tw
