#include "ProgramRun.h"
#include "pieces/Appearance.h"

#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace tw {
namespace {

TEST(SolutionCommand, PipesAGridAndWritesValidPictures)
{
    using test::runProgram;
    const auto grid = runProgram({"--grid", "15x4", "300"});
    EXPECT_EQ(runProgram({"--find", "-"}, grid.out.toUtf8()).out, QStringLiteral("15 x 4 300\n"));
    // A text that is no tiling: the reason, and status 2.
    const auto bad = runProgram({"--find", "-"}, "FILN\nPTUV\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("tilewright: A grid of 2 rows of 4 letters")));

    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("tray.svg"));
    const QString png = dir.filePath(QStringLiteral("tray.png"));
    EXPECT_EQ(runProgram({"--svg", "20 x 3", "2", svg}).status, 0);
    const QSvgRenderer drawing(svg);
    ASSERT_TRUE(drawing.isValid());
    EXPECT_EQ(drawing.viewBoxF(), QRectF(0, 0, 22 * 200, 5 * 200)); // framed, in twips
    // A shape for each piece and for each letter, whatever colours meet, and
    // the frame's two.
    EXPECT_EQ(runProgram({"--svg", "8x8", "1", svg, "--letters"}).status, 0);
    QFile lettered(svg);
    ASSERT_TRUE(lettered.open(QIODevice::ReadOnly));
    EXPECT_EQ(lettered.readAll().count("<path"), 13 + 13 + 2);
    EXPECT_EQ(
        runProgram({"--png", "8x8", "16146", png, "--dpi", "288", "--palette", "safe", "--letters"})
            .status,
        0);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(400, 400)); // 10 units of 200 twips at 288 dpi
    EXPECT_EQ(image.dotsPerMeterX(), 11339);
    // The frame's grey; inside, each cell's corner (away from the letters)
    // in the square's grey or one of the twelve safe colours.
    EXPECT_EQ(image.pixelColor(20, 20), QColor(0x80, 0x80, 0x80));
    std::set<Colour> seen;
    for (int c = 0; c < 64; ++c) {
        const QColor p = image.pixelColor(44 + 40 * (c / 8), 44 + 40 * (c % 8));
        seen.insert(p.red() | p.green() << 8 | p.blue() << 16);
    }
    for (int piece = 0; piece < 12; ++piece)
        seen.erase(paletteColour(Palette::Safe, piece, 0));
    EXPECT_EQ(seen, std::set<Colour>{MidGrey});
}

// A practice sheet from the command line: as text, each puzzle's given
// letters are where its named solution has them, and on pages.
TEST(PracticeCommand, WritesPuzzlesAsTextOrPages)
{
    using test::runProgram;
    const auto text =
        runProgram({"--practice", "15x4", "3", "--seed", "5", "--given", "3", "--text"});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    const QStringList puzzles = text.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(puzzles.size(), 3);
    for (const QString &puzzle : puzzles) {
        QStringList rows = puzzle.trimmed().split(QLatin1Char('\n'));
        ASSERT_EQ(rows.size(), 5);
        const QString solution = rows.takeLast();
        ASSERT_TRUE(solution.startsWith(QStringLiteral("solution ")));
        const QStringList grid =
            runProgram({"--grid", "15x4", solution.mid(9)}).out.trimmed().split(QLatin1Char('\n'));
        // The puzzle's rows are its solution's in some image of the tray.
        int letters = 0;
        bool matches = false;
        for (int g = 0; g < 4 && !matches; ++g) {
            matches = true;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 15; ++c) {
                    const QChar given = rows[r][c];
                    const QChar there = grid[g & 2 ? 3 - r : r][g & 1 ? 14 - c : c];
                    matches = matches && (given == QLatin1Char('.') || given == there);
                }
        }
        for (const QString &row : rows)
            letters += 15 - row.count(QLatin1Char('.'));
        EXPECT_TRUE(matches) << puzzle.toStdString();
        EXPECT_EQ(letters, 15); // three pieces given
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    auto r = runProgram({"--practice", "8x8", "20", "--seed", "8", "--cutouts", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("(4 pages, sheet 8)\n"))) << r.out.toStdString();
    EXPECT_EQ(test::pdfPages(pdf), QStringLiteral("4 595 x 842")); // 2 of puzzles, key, pieces
    r = runProgram({"--practice", "8x8", "2", "--given", "1", "--text"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("the fewest that work there are 2")));
    // Two pieces given: ten letters in each of the twelve puzzles.
    r = runProgram({"--practice", "10x6", "12", "--given", "2", "--seed", "3", "--text"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList two = r.out.trimmed().split(QStringLiteral("\n\n"));
    ASSERT_EQ(two.size(), 12);
    for (const QString &puzzle : two)
        EXPECT_EQ(puzzle.section(QStringLiteral("solution"), 0, 0)
                      .count(QRegularExpression(QStringLiteral("[A-Z]"))),
                  10)
            << puzzle.toStdString();
    r = runProgram({"--practice", "20x3", "60", "--text"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("ask for 48 or fewer"))) << r.err.toStdString();
}

// A position read from a file or standard input: the tilings that complete
// it, one of them, or none.
TEST(PositionCommand, CountsAndCompletesPositions)
{
    using test::runProgram;
    const QByteArray position = "UUUPPP....\nU.U.PP....\n..........\n..........\n"
                                "..........\n..........\n";
    auto r = runProgram({"--count", "-"}, position);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    EXPECT_EQ(lines[0], QStringLiteral("10 x 6: 13 tilings, 13 solutions"));
    EXPECT_EQ(lines[1].split(QLatin1Char(' ')).size(), 13);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1 2 156 ")));
    r = runProgram({"--complete", "-"}, position);
    ASSERT_EQ(r.status, 0);
    const QString grid = r.out.section(QStringLiteral("solution "), 0, 0);
    const QString number = r.out.section(QStringLiteral("solution "), 1).trimmed();
    EXPECT_EQ(runProgram({"--find", "-"}, grid.toUtf8()).out, "10 x 6 " + number + "\n");
    EXPECT_TRUE(grid.startsWith(QStringLiteral("UUUPPP")));
    // Typed across the tray (10 rows of 6), answered across.
    QByteArray across;
    for (int c = 0; c < 10; ++c) {
        for (int row = 0; row < 6; ++row)
            across += position[row * 11 + c];
        across += '\n';
    }
    r = runProgram({"--complete", "-"}, across);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList rows = r.out.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 11);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("UU")));
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(rows[k].size(), 6);
    // Too much on standard input is named as such.
    r = runProgram({"--find", "-"}, QByteArray(70000, 'F'));
    EXPECT_EQ(r.err, QStringLiteral("tilewright: the standard input holds more than 64 KB, too "
                                    "much for a grid of letters\n"));
    // None completes an X that leaves a corner no piece can fill.
    r = runProgram({"--complete", "-"}, ".X........\nXXX.......\n.X........\n..........\n"
                                        "..........\n..........\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("No tiling completes this position.\n"));
    r = runProgram({"--count", "-"}, "XX........\n..........\n..........\n..........\n"
                                     "..........\n..........\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("are not one X pentomino")));
}

} // namespace
} // namespace tw
