#include "ProgramRun.h"
#include "preview/PreviewDocument.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tw {
namespace {

const QSizeF A4(11906, 16838); // twips

// Three pages: portrait, landscape, portrait, each with a black rectangle
// 1440 x 720 twips at (1440, 720) inside quarter-inch margins.
void drawThreePages(PreviewDocument &doc)
{
    doc.StartDoc();
    doc.setBrushStyle(PreviewInterface::BrushStyle::Solid);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            doc.NewPage();
        doc.setOrientation(page == 2 ? 1 : 0);
        doc.setBrushColor(Black);
        doc.DrawRectangle(1440, 720, 1440, 720);
    }
    doc.EndDoc();
}

TEST(PreviewDocument, PagesBeginWithTheFirstDrawingAndKeepTheirOrientation)
{
    PreviewDocument doc(A4);
    doc.StartDoc();
    EXPECT_EQ(doc.PageCount(), 0);
    EXPECT_EQ(doc.MarginTop(), 360); // a quarter inch from the start
    drawThreePages(doc);
    EXPECT_EQ(doc.PageCount(), 3);
    EXPECT_EQ(doc.pageSize(1), A4);
    EXPECT_EQ(doc.pageSize(2), A4.transposed());
    EXPECT_EQ(doc.pageSize(4), QSizeF());
    EXPECT_EQ(doc.PageWidth(), 11906); // the orientation in force now
}

TEST(PreviewDocument, TextStandsAtTheCurrentPositionAndIsMeasuredInTwips)
{
    PreviewDocument doc(A4);
    doc.StartDoc();
    doc.setMarginLeft(0);
    doc.setMarginTop(0);
    doc.setFontSize(10);
    const Long ten = doc.TextWidth("Pentominoes");
    doc.setFontSize(20);
    EXPECT_NEAR(doc.TextWidth("Pentominoes"), 2 * ten, 2 + ten / 50);
    EXPECT_TRUE(doc.LineHeight() >= 400 && doc.LineHeight() < 600); // 20 points and a bit
    doc.setCurrentX(1000);
    doc.printText("Page 1");
    EXPECT_EQ(doc.CurrentX(), 0.0); // the next text starts a line
    // The ink lands below and right of the position.
    doc.setFontSize(40);
    doc.setCurrentX(1440);
    doc.setCurrentY(1440);
    doc.printText("H");
    const QImage image = doc.renderImage(1, 144); // 10 twips a pixel
    int top = image.height(), left = image.width();
    for (int y = 150; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                top = std::min(top, y), left = std::min(left, x);
    EXPECT_TRUE(left >= 144 && left < 164) << left;
    EXPECT_TRUE(top >= 144 && top < 184) << top;
}

TEST(PreviewDocument, WritesAVectorPdfPagePerPageOrSaysWhyNot)
{
    PreviewDocument doc(A4);
    QString error;
    EXPECT_FALSE(doc.writePdf(QStringLiteral("/tmp/x.pdf"), &error));
    EXPECT_EQ(error, QStringLiteral("The document has no pages to save."));
    drawThreePages(doc);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.pdf"));
    ASSERT_TRUE(doc.writePdf(path, &error)) << error.toStdString();
    EXPECT_EQ(test::pdfPages(path), QStringLiteral("3 595 x 842"));
    const QString bad = QStringLiteral("/nonexistent-folder/report.pdf");
    EXPECT_FALSE(doc.writePdf(bad, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write \"") + bad));
}

} // namespace
} // namespace tw
