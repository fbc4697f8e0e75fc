#include "preview/PreviewControl.h"
#include "preview/PreviewDocument.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tw;

namespace {

const QSizeF A4(11906, 16838); // twips

// pdfinfo's lines for the file: "Pages: n" and one "Page k size: w x h pts"
// per page.
QStringList pdfInfo(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral(PDFINFO), {QStringLiteral("-f"), QStringLiteral("1"),
                                      QStringLiteral("-l"), QStringLiteral("99"), path});
    p.waitForFinished();
    QStringList lines;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QLatin1String("Pages:")) ||
            line.contains(QRegularExpression(QStringLiteral("^Page +[0-9]+ size:"))))
            lines << line.simplified();
    return lines;
}

// A three-page document: portrait, landscape, portrait, each with a black
// rectangle 1440 x 720 twips at (1440, 720) inside quarter-inch margins.
void drawThreePages(PreviewDocument &doc)
{
    doc.StartDoc();
    for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop,
                     &PreviewInterface::setMarginRight, &PreviewInterface::setMarginBottom})
        (doc.*set)(360);
    doc.setBrushStyle(PreviewInterface::BrushStyle::Solid);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            doc.NewPage();
        doc.setOrientation(page == 2 ? 1 : 0);
        doc.setForeColor(Black);
        doc.setBrushColor(Black);
        doc.DrawRectangle(1440, 720, 1440, 720);
    }
    doc.EndDoc();
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void pagesStartWithTheFirstDrawing();
    void pagesKeepTheirOrientationAndMargins();
    void textStandsAtTheCurrentPositionAndIsMeasuredInTwips();
    void rendersARectangleAtItsTwips_data();
    void rendersARectangleAtItsTwips();
    void theViewShowsThePageAtItsZoom();
    void zoomStaysWithinItsRange();
    void writesAVectorPdfPagePerPage();
    void printsToPdfWithoutAPrinter();
    void aPdfThatCannotBeWrittenIsReported();
    void copiesThePageAsImageAndSvg();
};

void TestPreview::pagesStartWithTheFirstDrawing()
{
    PreviewDocument doc(A4);
    doc.StartDoc();
    QCOMPARE(doc.PageCount(), 0);
    doc.DrawLine(0, 0, 100, 100);
    QCOMPARE(doc.PageCount(), 1);
    doc.NewPage();
    QCOMPARE(doc.PageCount(), 2);
    QCOMPARE(doc.operationCount(1), std::size_t{1});
    QCOMPARE(doc.operationCount(2), std::size_t{0});
    doc.EndDoc();
    QCOMPARE(doc.CurrentPage(), 1);
    doc.setCurrentPage(5);
    QCOMPARE(doc.CurrentPage(), 2);
    doc.StartDoc();
    QCOMPARE(doc.PageCount(), 0);
    QVERIFY(doc.memoryUsed(1) == 0);
}

void TestPreview::pagesKeepTheirOrientationAndMargins()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    QCOMPARE(PreviewDocument(A4).MarginTop(), 360); // a quarter inch from the start
    QCOMPARE(doc.pageSize(1), A4);
    QCOMPARE(doc.pageSize(2), A4.transposed());
    QCOMPARE(doc.pageSize(3), A4);
    QCOMPARE(doc.MarginLeft(), 360);
    QCOMPARE(doc.PageWidth(), 11906);
    doc.setOrientation(1);
    QCOMPARE(doc.PageWidth(), 16838);
    QCOMPARE(doc.PageHeight(), 11906);
    QCOMPARE(doc.pageSize(0), QSizeF());
}

void TestPreview::textStandsAtTheCurrentPositionAndIsMeasuredInTwips()
{
    PreviewDocument doc(A4);
    doc.StartDoc();
    for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop})
        (doc.*set)(0);
    doc.setFontSize(10);
    const Long ten = doc.TextWidth("Pentominoes");
    doc.setFontSize(20);
    const Long twenty = doc.TextWidth("Pentominoes");
    QVERIFY(ten > 0);
    QVERIFY(std::abs(twenty - 2 * ten) <= 2 + ten / 50); // proportional to the size
    QVERIFY(doc.TextWidth("Pentominoes Cheatsheet") > twenty);
    // A line of 20-point text is a little over 400 twips high.
    QVERIFY(doc.LineHeight() >= 400 && doc.LineHeight() < 600);
    doc.setCurrentX(1000);
    doc.setCurrentY(700);
    doc.printText("Page 1");
    QCOMPARE(doc.CurrentX(), 0.0);
    QCOMPARE(doc.CurrentY(), 700.0);

    // The text's ink lands below and right of its position (no margins
    // here).
    doc.setFontSize(40);
    doc.setCurrentX(1440);
    doc.setCurrentY(1440);
    doc.printText("H");
    const QImage image = doc.renderImage(1, 144); // 10 twips a pixel
    int top = image.height(), left = image.width();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128 && y > 150)
                top = std::min(top, y), left = std::min(left, x);
    QVERIFY2(left >= 1440 / 10 && left < (1440 + 200) / 10, qPrintable(QString::number(left)));
    QVERIFY2(top >= 1440 / 10 && top < (1440 + 400) / 10, qPrintable(QString::number(top)));
}

void TestPreview::rendersARectangleAtItsTwips_data()
{
    QTest::addColumn<double>("zoom");
    QTest::newRow("100%") << 100.0;
    QTest::newRow("200%") << 200.0;
}

void TestPreview::rendersARectangleAtItsTwips()
{
    QFETCH(double, zoom);
    PreviewDocument doc(A4);
    drawThreePages(doc);
    const double dpi = 96 * zoom / 100; // one inch of paper: 96 or 192 pixels
    const QImage image = doc.renderImage(1, dpi);
    const double k = dpi / 1440;
    QCOMPARE(image.width(), static_cast<int>(std::ceil(11906 * k)));
    // The rectangle spans (1800, 1080) to (3240, 1800) twips on the paper.
    const auto black = [&](double x, double y) { return qGray(image.pixel(x * k, y * k)) < 64; };
    QVERIFY(black(1800 + 30, 1080 + 30));
    QVERIFY(black(3240 - 30, 1800 - 30));
    QVERIFY(black(2500, 1400));
    QVERIFY(!black(1800 - 30, 1400));
    QVERIFY(!black(3240 + 30, 1400));
    QVERIFY(!black(2500, 1080 - 30));
    QVERIFY(!black(2500, 1800 + 30));
}

void TestPreview::theViewShowsThePageAtItsZoom()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    PreviewControl view(&doc);
    view.resize(1200, 1600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentPage(1);
    view.setZoom(200);
    view.RefreshView();
    const QRect page = view.pageRect();
    const double k = 2 * view.logicalDpiX() / 1440.0;
    QCOMPARE(page.width(), static_cast<int>(11906 * k));
    const QImage shot = view.viewport()->grab().toImage();
    const auto at = [&](double x, double y) {
        return qGray(
            shot.pixel(page.x() + static_cast<int>(x * k), page.y() + static_cast<int>(y * k)));
    };
    QVERIFY(at(2500, 1400) < 64);
    QVERIFY(at(1000, 1400) > 200);
}

void TestPreview::zoomStaysWithinItsRange()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    PreviewControl view(&doc);
    QSignalSpy notified(&view, &PreviewControl::Notify);
    view.setZoom(5);
    QCOMPARE(view.Zoom(), 10.0);
    view.setZoom(1000);
    QCOMPARE(view.Zoom(), 400.0);
    QVERIFY(notified.count() >= 2);
    QCOMPARE(notified.last().at(0).toInt(), static_cast<int>(PreviewControl::ZoomChanged));
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentPage(1);
    view.ZoomToWidth();
    QVERIFY(std::abs(view.pageRect().width() - (view.viewport()->width() - 24)) <= 2);
}

void TestPreview::writesAVectorPdfPagePerPage()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.pdf"));
    QString error;
    QVERIFY2(doc.writePdf(path, &error), qPrintable(error));
    QCOMPARE(pdfInfo(path),
             QStringList({"Pages: 3", "Page 1 size: 595 x 842 pts (A4)",
                          "Page 2 size: 842 x 595 pts (A4)", "Page 3 size: 595 x 842 pts (A4)"}));
}

void TestPreview::printsToPdfWithoutAPrinter()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    PreviewControl view(&doc);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(view.printTo(printer, 2, 3));
    const QStringList info = pdfInfo(printer.outputFileName());
    QCOMPARE(info.value(0), QStringLiteral("Pages: 2"));
    QCOMPARE(info.value(1), QStringLiteral("Page 1 size: 842 x 595 pts (A4)"));
    QCOMPARE(info.value(2), QStringLiteral("Page 2 size: 595 x 842 pts (A4)"));
    QVERIFY(!view.printTo(printer, 3, 2));
}

void TestPreview::aPdfThatCannotBeWrittenIsReported()
{
    PreviewDocument doc(A4);
    QString error;
    QVERIFY(!doc.writePdf(QStringLiteral("/tmp/x.pdf"), &error));
    QCOMPARE(error, QStringLiteral("The document has no pages to save."));
    drawThreePages(doc);
    const QString path = QStringLiteral("/nonexistent-folder/report.pdf");
    QVERIFY(!doc.writePdf(path, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write \"") + path), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

void TestPreview::copiesThePageAsImageAndSvg()
{
    PreviewDocument doc(A4);
    drawThreePages(doc);
    PreviewControl view(&doc);
    view.CopyPage(QStringLiteral(".wmf"), 2);
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied);
    QVERIFY(copied->hasImage());
    const QImage image = qvariant_cast<QImage>(copied->imageData());
    QVERIFY(image.width() > image.height()); // page 2 is landscape
    const QByteArray svg = copied->data(QStringLiteral("image/svg+xml"));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("<rect") || svg.contains("<path") || svg.contains("<polygon"));
}

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
