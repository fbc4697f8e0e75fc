#pragma once

#include "app/Steps.h"

#include <QObject>
#include <QSize>

namespace tw {

class PreviewDocument;

// The preview's view of its document: the page shown, the zoom, and whether
// the zoom fits the page's width or its height. Every change of the page or
// the zoom, whoever makes it (buttons, keys, the wheel, a fit), goes through
// here and is announced, so that the page box, the buttons and the zoom box
// follow. Pages count from 1; an empty document shows page 0.
class PreviewNavigator : public QObject
{
    Q_OBJECT

public:
    static constexpr double MinimumZoom = 10;
    static constexpr double MaximumZoom = 400;

    explicit PreviewNavigator(const PreviewDocument &document, QObject *parent = nullptr);

    const PreviewDocument &document() const { return m_document; }

    int CurrentPage() const { return m_page; }
    int PageCount() const;
    // Held to the document's pages.
    void setCurrentPage(int page);
    Steps steps() const { return stepsAt(m_page, PageCount()); }

    // Percent of the page's real size, held to MinimumZoom..MaximumZoom.
    double Zoom() const { return m_zoom; }
    void setZoom(double percent);

    // One step in or out (direction +1 or -1) on the ladder 10, 25, 50, 75,
    // 100, 125, 150, 200, 300, 400 percent: to the next rung past the zoom
    // in force, whatever it is.
    void zoomStep(int direction);

    // True while the zoom fits the page's width, false while it fits its
    // height.
    bool FitToWidth = false;
    // Sets the zoom for the fit in force: the page's width across view
    // (pixels, margins aside), or the page's whole height within control.
    void applyFit(QSize view, QSize control, double dpi);

signals:
    void pageChanged();
    void zoomChanged();

private:
    const PreviewDocument &m_document;
    int m_page = 0;
    double m_zoom = 100;
};

} // namespace tw
