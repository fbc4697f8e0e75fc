#include "app/PageGeometry.h"
#include "app/PreviewNavigator.h"
#include "preview/PreviewDocument.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

void drawPages(PreviewDocument &doc, int pages)
{
    doc.StartDoc();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            doc.NewPage();
        doc.DrawLine(0, 0, 1440, 1440);
    }
    doc.EndDoc();
}

TEST(PreviewNavigator, KeepsThePageWithinTheDocumentAndAnnouncesEveryChange)
{
    PreviewDocument doc(QSizeF(11906, 16838));
    drawPages(doc, 3);
    PreviewNavigator nav(doc);
    int announced = 0;
    QObject::connect(&nav, &PreviewNavigator::pageChanged, [&] { ++announced; });
    nav.setCurrentPage(9);
    EXPECT_EQ(nav.CurrentPage(), 3);
    EXPECT_EQ(nav.steps(), (Steps{true, true, false, false}));
    nav.setCurrentPage(3); // no change, no word
    EXPECT_EQ(announced, 1);
    drawPages(doc, 1); // drawn again: from its first page
    EXPECT_EQ(nav.CurrentPage(), 1);
    EXPECT_EQ(nav.steps(), Steps{});
    doc.StartDoc();
    EXPECT_EQ(nav.CurrentPage(), 0);
}

TEST(PreviewNavigator, HoldsTheZoomInRangeAndFitsWidthOrHeight)
{
    PreviewDocument doc(QSizeF(11906, 16838));
    drawPages(doc, 1);
    PreviewNavigator nav(doc);
    nav.setZoom(5);
    EXPECT_EQ(nav.Zoom(), 10);
    nav.setZoom(1e9);
    EXPECT_EQ(nav.Zoom(), 400);
    // At 96 dpi the page is 793.7 pixels wide at 100%; PageMargin each side.
    nav.FitToWidth = true;
    nav.applyFit(QSize(794 + 2 * PageMargin, 500), QSize(820, 520), 96);
    EXPECT_NEAR(nav.Zoom(), 100, 0.1);
    nav.FitToWidth = false; // the whole height within the control
    nav.applyFit(QSize(794 + 2 * PageMargin, 500), QSize(820, 520), 96);
    EXPECT_NEAR(nav.Zoom(), 100 * (11906.0 / 16838) * (520.0 / 820), 0.01);
    EXPECT_EQ(zoomToWidth(11906, 2 * PageMargin, 96), 0); // no room
}

TEST(PageGeometry, CentresASmallPageAndKeepsAMarginAroundALargeOne)
{
    EXPECT_EQ(pageRect(QSize(100, 200), QSize(300, 300), QPoint()), QRect(100, 50, 100, 200));
    EXPECT_EQ(pageRect(QSize(1000, 2000), QSize(300, 300), QPoint(10, 20)),
              QRect(PageMargin - 10, PageMargin - 20, 1000, 2000));
    EXPECT_EQ(scrollRange(QSize(1000, 100), QSize(300, 300)), QSize(1000 + 24 - 300, 0));
}

} // namespace
} // namespace tw
