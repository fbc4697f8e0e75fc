#include "report/PracticeSheet.h"

#include "base/NumberText.h"
#include "base/Units.h"
#include "pieces/PreviewInterface.h"
#include "report/Report.h"
#include "solutions/Boards.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace tw {

namespace {

constexpr Long Margin = 360;
constexpr Long Gap = 360; // between trays, a quarter inch

// Where trays of a size stand on a page: columns x rows of them below the
// head, each with room for a caption line under it.
struct Grid
{
    Long width, height; // a tray's, caption included
    int columns = 0, rows = 0;
    int perPage() const { return columns * rows; }
};

Grid gridFor(const PreviewInterface &page, Long trayWidth, Long trayHeight, Long caption)
{
    Grid g{trayWidth, trayHeight + caption, 0, 0};
    const Long width = page.PageWidth() - 2 * Margin;
    const Long height = page.PageHeight() - 2 * Margin - ReportLayout::FirstRowTop;
    if (trayWidth <= width && g.height <= height) {
        g.columns = static_cast<int>((width + Gap) / (trayWidth + Gap));
        g.rows = static_cast<int>((height + Gap) / (g.height + Gap));
    }
    return g;
}

// A caption under a tray, as large as 9 points and small enough to fit it.
void printCaption(PreviewInterface &page, const std::string &text, Long x, Long y, Long width)
{
    double points = 9;
    for (page.setFontSize(points); points > 5 && page.TextWidth(text) > width; points -= 0.5)
        page.setFontSize(points - 0.5);
    page.setForeColor(Black);
    page.setCurrentX(static_cast<double>(x));
    page.setCurrentY(static_cast<double>(y));
    page.printText(text);
}

} // namespace

std::optional<std::string> BuildPracticeSheet(PreviewInterface &page, const TilingIndex &index,
                                              const PracticeSheet &sheet)
{
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(index.board()));
    page.setOrientation(sheet.landscape ? 1 : 0);
    page.setFontSize(9);
    const Long caption = page.LineHeight() + 60;
    const auto traySize = [&](Single unit) {
        return std::pair<Long, Long>{roundToLong(tray.cols * unit), roundToLong(tray.rows * unit)};
    };
    const auto [w, h] = traySize(sheet.unit);
    const Grid puzzles = gridFor(page, w, h, caption);
    if (puzzles.perPage() == 0) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%.3f",
                      std::floor(largestSide(page, tray.cols, tray.rows) * 1000 * 0.9) / 1000);
        return "At this side length a tray does not fit on a page with its caption; choose a side "
               "of at most " +
               std::string(limit) + " inch.";
    }
    // The answers smaller, at three fifths of the side.
    const Single keyUnit = sheet.unit * 0.6f;
    const auto [kw, kh] = traySize(keyUnit);
    const Grid key = gridFor(page, kw, kh, caption);
    const int count = static_cast<int>(sheet.puzzles.size());
    const auto pagesFor = [count](const Grid &g) {
        return (count + g.perPage() - 1) / g.perPage();
    };
    const int puzzlePages = pagesFor(puzzles);
    const int keyPages = sheet.answerKey ? pagesFor(key) : 0;
    const int pages = puzzlePages + keyPages + (sheet.cutouts ? 1 : 0);

    page.StartDoc();
    for (auto set : {&PreviewInterface::setMarginLeft, &PreviewInterface::setMarginTop,
                     &PreviewInterface::setMarginRight, &PreviewInterface::setMarginBottom})
        (page.*set)(Margin);
    page.setOrientation(sheet.landscape ? 1 : 0);
    const std::string tray_ = std::string(tray.label);
    const std::string number = std::to_string(sheet.number);
    int pageNumber = 0;
    const auto startPage = [&](const std::string &title) {
        if (pageNumber++ > 0)
            page.NewPage();
        printPageHead(page, title,
                      "Page " + std::to_string(pageNumber) + " of " + std::to_string(pages));
        page.setBrushStyle(PreviewInterface::BrushStyle::Solid);
        page.setPenStyle(PreviewInterface::PenStyle::Solid);
    };
    // Each item in a place of the grid, pages begun as they fill.
    const auto lay = [&](const Grid &g, const std::string &title,
                         const std::function<void(int, Long, Long)> &draw) {
        // The columns centred across the page.
        const Long left = (page.PageWidth() - 2 * Margin - g.columns * (g.width + Gap) + Gap) / 2;
        for (int k = 0; k < count; ++k) {
            const int place = k % g.perPage();
            if (place == 0)
                startPage(title);
            draw(k, left + (place % g.columns) * (g.width + Gap),
                 ReportLayout::FirstRowTop + (place / g.columns) * (g.height + Gap));
        }
    };
    const std::string where =
        " for the " + tray_ + (index.board() == SquareBoard ? " Square" : " Rectangle");

    PaperLook given = sheet.look;
    given.gridOnEmpty = true;
    lay(puzzles, "Pentomino Puzzles" + where + ", Sheet " + number, [&](int k, Long x, Long y) {
        const Puzzle &p = sheet.puzzles[static_cast<std::size_t>(k)];
        Tiling shown = index.tiling(p.tiling);
        shown.placements.clear();
        for (std::uint32_t g : p.given)
            shown.placements.push_back(index.placement(g));
        given.given = static_cast<int>(shown.placements.size());
        printTiling(page, shown, {double(x), double(y), sheet.unit}, given);
        printCaption(page, "Puzzle " + std::to_string(k + 1) + ": " + piecesToPlace(index, p), x,
                     y + h + 40, w);
    });
    if (sheet.answerKey)
        lay(key, "Answers to Sheet " + number + where, [&](int k, Long x, Long y) {
            const Puzzle &p = sheet.puzzles[static_cast<std::size_t>(k)];
            // The given pieces first, drawn apart from those placed.
            Tiling answer = index.tiling(p.tiling);
            answer.placements.clear();
            for (std::uint32_t g : p.given)
                answer.placements.push_back(index.placement(g));
            for (std::uint32_t piece : index.piecesOf(p.tiling))
                if (std::find(p.given.begin(), p.given.end(), piece) == p.given.end())
                    answer.placements.push_back(index.placement(piece));
            PaperLook look = sheet.look;
            look.given = static_cast<int>(p.given.size());
            printTiling(page, answer, {double(x), double(y), keyUnit}, look);
            printCaption(page,
                         "Puzzle " + std::to_string(k + 1) + ": " + tray_ + ", solution " +
                             groupedNumber(index.solutionOf(p.tiling)),
                         x, y + kh + 40, kw);
        });
    if (sheet.cutouts) {
        // A tiling of the tray is the twelve pieces (and the square) with no
        // card between them: cut along the lines.
        startPage("Pieces to Cut Out for Sheet " + number);
        PaperLook look = sheet.look;
        look.look.letters = true;
        look.outlined = true;
        const Single fit =
            std::min<Single>(sheet.unit, largestSide(page, tray.cols, tray.rows) * TwipsPerInch);
        printTiling(page, index.tiling(0), {0, double(ReportLayout::FirstRowTop), fit}, look);
    }
    page.EndDoc();
    return std::nullopt;
}

} // namespace tw
