#include "ProgramRun.h"
#include "Recorders.h"
#include "Table.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "base/NumberText.h"
#include "pieces/PieceTables.h"
#include "preview/PreviewDocument.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/SharedState.h"

#include <QImage>
#include <QPageSize>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

namespace tw {
namespace {

using Call = test::RecordingPreview::Call;
using K = Verdict::Kind;

// The "Print" tab set up on a tray of the generated database, drawing into
// a recorder on Letter paper with quarter-inch margins.
class PrintTabTest : public testing::Test
{
protected:
    void prepare(Integer board, const char *side = nullptr, int render = 1)
    {
        ASSERT_FALSE(program.Main());
        for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop,
                         &PreviewInterface::setMarginRight, &PreviewInterface::setMarginBottom})
            (preview.*set)(360);
        print.prepare(board);
        if (side) {
            ASSERT_TRUE(print.checkSide(QString::fromLatin1(side)).accepted());
        }
        print.setRender(render);
    }
    std::optional<ReportError> run(int from, int to, bool landscape = false)
    {
        return print.run(QString::number(from), QString::number(to), landscape);
    }
    SharedState &state() { return program.state(); }

    Program program{test::testDatabaseFolder(), QSizeF(12240, 15840)};
    test::RecordingPreview preview{12240, 15840};
    PrintTab print{program.catalogue(), program.state(), preview};
};

// A row: its name, the box checked, from, to, the verdict and its message.
class RangeVerdict : public PrintTabTest,
                     public testing::WithParamInterface<std::vector<std::string>>
{
};

TEST_P(RangeVerdict, OnTheTenBySixTray)
{
    prepare(0);
    const auto box = [&](std::size_t k) {
        return GetParam().at(k) == "EMPTY" ? QString() : QString::fromStdString(GetParam().at(k));
    };
    const Verdict v = GetParam().at(1) == "start" ? print.checkStart(box(2), box(3))
                                                  : print.checkEnd(box(2), box(3));
    const std::map<std::string, Verdict::Kind> kinds{
        {"Accepted", K::Accepted}, {"Beep", K::Beep}, {"Message", K::Message}};
    EXPECT_EQ(v.kind, kinds.at(GetParam().at(4)));
    EXPECT_EQ(v.message.toStdString(), GetParam().size() > 5 ? GetParam().at(5) : "");
}

INSTANTIATE_TEST_SUITE_P(Boxes, RangeVerdict,
                         testing::ValuesIn(test::tableRows("range-verdicts.txt")),
                         [](const auto &info) { return info.param[0]; });

TEST_F(PrintTabTest, TheSideMayBeAnythingThatFitsTheOrientedPage)
{
    prepare(0);
    for (const char *bad : {"half", "", "0", "-0.5", "0.001"})
        EXPECT_EQ(print.checkSide(QString::fromLatin1(bad)).kind, K::Beep) << bad;
    const Single portrait = print.MaxUnitSize();
    EXPECT_TRUE(print.checkSide(QString::number(portrait, 'f', 9)).accepted());
    EXPECT_EQ(print.checkSide(QString::number(portrait + 0.01, 'f', 4)).message,
              QStringLiteral("In order to fit on the page, the Sidelength of the Unit Square "
                             "must be under ") +
                  QString::fromStdString(sideLimitText(portrait)) + QStringLiteral(" inch"));
    print.setOrientation(1);
    EXPECT_GT(print.MaxUnitSize(), portrait);
    EXPECT_TRUE(print.checkSide(QStringLiteral("0.0278")).accepted());
    EXPECT_FLOAT_EQ(print.UnitSize(), 0.0278f * 1440);
    // The limit the message names is itself accepted, and it is the limit
    // to the thousandth, on every tray either way up.
    for (Integer board = 0; board < BoardCount; ++board)
        for (int orientation : {0, 1}) {
            prepare(board);
            print.setOrientation(orientation);
            const QString said = print.checkSide(QStringLiteral("9")).message;
            const QString limit = said.section(QLatin1Char(' '), -2, -2);
            SCOPED_TRACE(said.toStdString());
            EXPECT_TRUE(print.checkSide(limit).accepted());
            EXPECT_FALSE(
                print.checkSide(QString::number(limit.toDouble() + 0.002, 'f', 3)).accepted());
        }
    prepare(0);
    // Preview also refuses an end below 1, which selects nothing; from 1 to
    // 1 is the first solution alone.
    EXPECT_EQ(print.checkBeforeReport("-3", "0.6", "0.0278")->verdict.kind, K::Beep);
    EXPECT_FALSE(print.checkBeforeReport("1", "1", "0.0278"));
}

TEST_F(PrintTabTest, OneSolutionIsOnePageWithOneFramedNumberedTray)
{
    prepare(0, "0.0278");
    bool shown = false;
    ASSERT_FALSE(print.run("5", "5", false, {}, [&] { shown = true; }));
    EXPECT_TRUE(shown);
    EXPECT_EQ(preview.PageCount(), 1);
    const auto texts = preview.ofKind(Call::Text);
    ASSERT_EQ(texts.size(), 5u); // the head's four, and the tray's number
    EXPECT_EQ(texts[2].text, "Pentominoes Cheatsheet for the 10 x 6 Rectangle");
    EXPECT_EQ(texts[4].text, "5");
    // The tray at (0, 500), 10 x 6 squares of 40 twips, framed.
    const Call bottom = preview.ofKind(Call::Line).back();
    EXPECT_EQ((std::array{bottom.a, bottom.b, bottom.c, bottom.d}),
              (std::array{0L, 740L, 400L, 740L}));
}

// The page loop as drawn: each tray's number on the grid of rows and
// columns that the layout allows, every page but the last full, in order.
// Squares of 51 twips on Letter: 22 trays a row, 523 twips apart; a row
// every 357 + 64 twips (the recorder's lines are 102 twips) from 500 to the
// limit, 14814, which the 35th row meets exactly.
TEST_F(PrintTabTest, FillsEachPageWithTheTraysItsLayoutHolds)
{
    prepare(0, "0.03541666667");
    ASSERT_FALSE(run(1, 2339));
    std::vector<std::map<long, int>> pages; // by page: how many numbers on each line
    long next = 1;
    for (const Call &c : preview.ofKind(Call::Text))
        if (c.text.starts_with("Page ")) {
            pages.emplace_back();
            EXPECT_EQ(c.text, "Page " + std::to_string(pages.size()));
        } else if (c.text == std::to_string(next) && c.b > 400)
            ++next, ++pages.back()[c.b];
    EXPECT_EQ(next, 2340);
    ASSERT_EQ(pages.size(), 4u); // 770 a page
    EXPECT_EQ(pages[0].size(), 35u);
    for (const auto &page : pages)
        for (const auto &[y, trays] : page)
            if (&page != &pages.back() || y != page.rbegin()->first) {
                EXPECT_EQ(trays, 22) << "the line at " << y;
            }
}

TEST_F(PrintTabTest, SaysWhyNoReportIsMade)
{
    // A side that fits the page's width but not below the page head is
    // refused by the tab, which names the limit the report lays trays at.
    prepare(4, "0.5");
    print.setOrientation(1);
    const QString said = print.checkSide(QStringLiteral("0.999")).message;
    ASSERT_TRUE(said.startsWith(QStringLiteral("In order to fit on the page")))
        << said.toStdString();
    ASSERT_TRUE(print.checkSide(said.section(QLatin1Char(' '), -2, -2)).accepted());
    EXPECT_FALSE(run(1, 1, true));
    preview.calls.clear();
    print.prepare(3);
    auto error = run(3, 9);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "The range 3 to 9 holds no solution.");
    for (const auto &[from, to] : {std::pair{"", "2"}, {"1", "x"}}) {
        error = print.run(QString::fromLatin1(from), QString::fromLatin1(to), false);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->fault, ReportFault::EmptyRange) << from << " to " << to;
    }
    EXPECT_TRUE(preview.calls.empty());
}

TEST(PrintedPage, ShowsEachSquareInItsPiecesColourAndTheFrameAroundThem)
{
    // Solution 1 of the 10 x 6 tray in colour, half-inch squares, rendered at
    // 72 dpi: 20 twips a pixel, a square 36 pixels.
    Program program(test::testDatabaseFolder(), QSizeF(11906, 16838));
    ASSERT_FALSE(program.Main());
    PrintTab print(program.catalogue(), program.state(), program.preview());
    print.prepare(0);
    ASSERT_TRUE(print.checkSide(QStringLiteral("0.5")).accepted());
    print.setRender(0);
    ASSERT_FALSE(print.run(QStringLiteral("1"), QStringLiteral("1"), false));
    const QImage page = program.preview().renderImage(1, 72);
    const auto at = [&](double x, double y) { // twips inside the margins
        return page.pixelColor(static_cast<int>((360 + x) / 20), static_cast<int>((360 + y) / 20));
    };
    const auto tiling =
        DecodeSolution(0, SolutionRecord{0, 2, {22, 4, 2, 54, 62, 42, 9, 11, 16, 23, 36}});
    ASSERT_TRUE(tiling);
    for (const Placement &p : tiling->placements)
        for (int k = 0; k < p.cellCount; ++k) {
            const int cell = p.cells[static_cast<std::size_t>(k)];
            const Colour c = orientation(p.shape).Color;
            EXPECT_EQ(at(cell / 7 * 720 + 360, 500 + cell % 7 * 720 + 360),
                      QColor(redOf(c), greenOf(c), blueOf(c)))
                << "cell " << cell;
        }
    // Black along the tray's right and bottom edges, white beyond.
    EXPECT_EQ(at(7200, 500 + 1000), QColor(Qt::black));
    EXPECT_EQ(at(3000, 500 + 4320), QColor(Qt::black));
    EXPECT_EQ(at(7200 + 200, 500 + 1000), QColor(Qt::white));
    EXPECT_EQ(at(3000, 500 + 4320 + 100), QColor(Qt::white)); // above the caption
}

// The page head on every paper the command line offers, either way up:
// the copyright block, the title and the page label never overlap, and
// the title keeps its 15 points wherever it has the room.
TEST(PrintedPage, TheHeadFitsEveryPaper)
{
    for (const QPageSize::PageSizeId paper :
         {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter, QPageSize::Legal})
        for (const bool landscape : {false, true})
            for (const Integer board : {Integer(0), SquareBoard}) {
                SCOPED_TRACE(QPageSize(paper).key().toStdString() +
                             (landscape ? " landscape " : " ") + std::to_string(board));
                Program program(test::testDatabaseFolder(),
                                QPageSize(paper).size(QPageSize::Point) * 20);
                ASSERT_FALSE(program.Main());
                PrintTab print(program.catalogue(), program.state(), program.preview());
                print.prepare(board);
                print.setOrientation(landscape ? 1 : 0);
                ASSERT_FALSE(print.run(QStringLiteral("1"), QStringLiteral("1"), landscape));
                std::vector<QRectF> head;
                for (const QRectF &box : program.preview().textBoxes(1))
                    if (box.top() < ReportLayout::FirstRowTop)
                        head.push_back(box);
                ASSERT_EQ(head.size(), 4u); // copyright, address, title, label
                // The two lines of the copyright block stand one 8-point line
                // apart by design; everything else stands clear.
                for (std::size_t a = 0; a < head.size(); ++a)
                    for (std::size_t b = std::max<std::size_t>(a + 1, 2); b < head.size(); ++b)
                        EXPECT_FALSE(head[a].intersects(head[b])) << a << " and " << b;
                const bool roomy = paper != QPageSize::A5 || landscape;
                EXPECT_EQ(head[2].height() > 300, roomy); // a 15-point line is 345 twips
            }
}

} // namespace
} // namespace tw
