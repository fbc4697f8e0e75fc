#include "ProgramRun.h"
#include "base/Units.h"
#include "preview/PreviewDocument.h"

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace tw {
namespace {

const QSizeF A4(11906, 16838); // twips

// What a cheat sheet draws: a tray's outline and edges, a square filled in
// grey and outlined, the X filled black, a number; the second page
// landscape. With a letter on the X when asked.
void drawTrays(PreviewDocument &doc, bool letter)
{
    doc.StartDoc();
    for (int page = 1; page <= 2; ++page) {
        if (page > 1)
            doc.NewPage();
        doc.setOrientation(page == 2 ? 1 : 0);
        for (int tray = 0; tray < 3; ++tray) {
            const Long x = 500 + tray * 2100, y = 700;
            doc.setForeColor(Black);
            doc.setBrushStyle(PreviewInterface::BrushStyle::Transparent);
            for (int k = 0; k <= 8; ++k) {
                doc.DrawLine(x, y + k * 205, x + 1640, y + k * 205);
                doc.DrawLine(x + k * 205, y, x + k * 205, y + (k % 3 ? 820 : 1640));
            }
            doc.setBrushStyle(PreviewInterface::BrushStyle::Solid);
            doc.setBrushColor(0x808080);
            doc.DrawRectangle(x + 410, y + 410, 410, 410);
            doc.setBrushColor(tray == 1 ? 0x3050E0 : Black);
            doc.setForeColor(tray == 1 ? 0x3050E0 : Black);
            // Squares side by side, one above another, and gaps between.
            for (const auto &[dx, dy] : {std::pair{0, 0}, {205, 0}, {615, 0}, {0, 205}, {0, 615}})
                doc.DrawRectangle(x + 1025 + dx, y + 1230 + dy, 205, 205);
            if (letter && tray == 2)
                doc.DrawLetter(x + 1230, y + 1230, 205, 'X');
            doc.setForeColor(Black);
            doc.setFontSize(8);
            doc.setCurrentX(static_cast<double>(x));
            doc.setCurrentY(static_cast<double>(y + 1700));
            doc.printText(std::to_string(tray + 1));
        }
    }
    doc.EndDoc();
}

// The line widths in force wherever a PDF's pages stroke a path, and how
// many separate lines and boxes make their paths, read from the file as a strict reader (qpdf)
// lays it out plainly.
std::pair<std::set<double>, int> strokes(const QString &pdf)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    QProcess qpdf;
    qpdf.start(QStringLiteral(QPDF),
               {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, plain});
    qpdf.waitForFinished();
    QFile file(plain);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::set<double> widths;
    int count = 0;
    double width = 1; // a page's own until set
    std::vector<double> saved;
    QByteArray last;
    for (const QByteArray &token : file.readAll().simplified().split(' ')) {
        if (token == "w")
            width = last.toDouble();
        else if (token == "q")
            saved.push_back(width);
        else if (token == "Q" && !saved.empty())
            width = saved.back(), saved.pop_back();
        else if (token == "S" || token == "s" || token == "B" || token == "B*")
            widths.insert(width);
        else if (token == "m" || token == "re")
            ++count;
        last = token;
    }
    return {widths, count};
}

TEST(PreviewDocument, TheWrittenPdfLooksExactlyAsQtsWriterDrawsIt)
{
    // Each row: its name, a letter drawn, the pages written, how the paper
    // is matched, and the pages as pdfinfo reads them.
    for (const auto &[name, letter, first, last, match, pages] :
         {std::tuple{"every page", false, 1, 2, QPageSize::ExactMatch, "2 595 x 842"},
          {"page 2 as printed to a file", false, 2, 2, QPageSize::FuzzyMatch, "1 842 x 595"},
          {"with a letter", true, 1, 2, QPageSize::ExactMatch, "2 595 x 842"}}) {
        SCOPED_TRACE(name);
        PreviewDocument doc(A4);
        drawTrays(doc, letter);
        QTemporaryDir dir;
        const QString written = dir.filePath(QStringLiteral("written.pdf"));
        const auto failure =
            doc.writePdf(written.toStdString(), first, last, match, QStringLiteral("Trays"));
        ASSERT_FALSE(failure) << failure->reason;
        const QString drawn = dir.filePath(QStringLiteral("drawn.pdf"));
        {
            QPdfWriter writer(drawn);
            writer.setResolution(1440);
            ASSERT_TRUE(doc.paintPages(writer, first, last, match));
        }
        EXPECT_EQ(test::pdfPages(written), pages);
        for (int page = 1; page <= last - first + 1; ++page) {
            const QByteArray picture = test::pdfPicture(written, page, 150);
            ASSERT_GT(picture.size(), 100000);
            EXPECT_TRUE(picture == test::pdfPicture(drawn, page, 150)) << "page " << page;
            // Each of the trays' lines is there, whatever became of them
            // on the way: dark on every row and every column.
            const QImage image = QImage::fromData(picture, "PPM");
            const auto dark = [&](int x, int y) { // twips within the margins
                const QPoint at((x + doc.MarginLeft()) * 150 / 1440,
                                (y + doc.MarginTop()) * 150 / 1440);
                int darkest = 255;
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy)
                        darkest = std::min(darkest, qGray(image.pixel(at + QPoint(dx, dy))));
                return darkest < 128;
            };
            for (int tray = 0; tray < 3; ++tray)
                for (int k = 0; k <= 8; ++k) {
                    const int x = 500 + tray * 2100, y = 700;
                    EXPECT_TRUE(dark(x + 100, y + k * 205)) << "row " << k << " of " << tray;
                    EXPECT_TRUE(dark(x + k * 205, y + 100)) << "column " << k << " of " << tray;
                }
            // ... every square, and the gaps between them paper.
            for (int tray = 0; tray < 3; ++tray)
                for (const auto &[dx, dy, inked] : {std::tuple{1537, 1332, false},
                                                    {1127, 1742, false},
                                                    {1742, 1332, true},
                                                    {1127, 1947, true}})
                    EXPECT_EQ(dark(500 + tray * 2100 + dx, 700 + dy), inked)
                        << dx << " in " << tray;
        }
        // Every outline is stroked at the same fixed width, whichever
        // writer wrote it, so that every reader and printer draws it alike.
        // Lines that meet end to end are joined: 19 paths a tray at most,
        // for its 18 lines and 6 boxes.
        const auto [widths, count] = strokes(written);
        EXPECT_EQ(widths, std::set<double>{PrintedOutline});
        EXPECT_LE(count, (last - first + 1) * 3 * 19 + (letter ? 2 : 0));
        // The lines and rectangles are written apart unless a letter is
        // among them; Qt then writes the whole page.
        QFile file(written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().contains(pdf::ArtState), !letter);
    }
}

} // namespace
} // namespace tw
