#include "report/PracticeSheet.h"

#include "base/NumberText.h"
#include "base/Units.h"
#include "pieces/PieceTables.h"
#include "pieces/PreviewInterface.h"
#include "report/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

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

// The size of every caption of a kind: as large as 9 points and small
// enough that the longest fits under its tray, one size for them all.
double captionSize(PreviewInterface &page, const std::vector<std::string> &texts, Long width)
{
    double points = 9;
    const auto fits = [&] {
        page.setFontSize(points);
        return std::all_of(texts.begin(), texts.end(),
                           [&](const std::string &t) { return page.TextWidth(t) <= width; });
    };
    while (points > 5 && !fits())
        points -= 0.5;
    return points;
}

void printCaption(PreviewInterface &page, const std::string &text, Long x, Long y, double points)
{
    page.setFontSize(points);
    page.setForeColor(Black);
    page.setCurrentX(static_cast<double>(x));
    page.setCurrentY(static_cast<double>(y));
    page.printText(text);
}

// How far an orientation's cells reach from its first square: rows above
// (negative) and below, columns to the right.
struct Extent
{
    int top = 0, bottom = 0, right = 0;
};

Extent extentOf(Integer shape)
{
    if (shape == SquarePiece)
        return {0, 1, 1};
    Extent e;
    for (const ColumnRow &d : squareSteps(orientation(shape))) {
        e.top = std::min(e.top, d.row);
        e.bottom = std::max(e.bottom, d.row);
        e.right = std::max(e.right, d.column);
    }
    return e;
}

// As many whole sets of the pieces (and the square) as fit on a grid of
// cols x rows cells, each piece lying flat, one empty cell around it, so
// that the pieces make no tray's tiling and each is cut out alone.
Tiling cutoutSets(double cols, double rows, bool square)
{
    Tiling grid{0,
                static_cast<Integer>(std::clamp(cols, 0.0, 200.0)),
                static_cast<Integer>(std::clamp(rows, 0.0, 200.0)),
                {},
                {}};
    // Each piece in its first orientation that is no taller than wide.
    std::vector<Integer> shapes;
    for (int piece = 0; piece < 12; ++piece)
        for (int shape = 0; shape < OrientationCount; ++shape) {
            if (orientation(shape).Piece != piece)
                continue;
            const Extent e = extentOf(static_cast<Integer>(shape));
            if (e.bottom - e.top <= e.right) {
                shapes.push_back(static_cast<Integer>(shape));
                break;
            }
        }
    if (square)
        shapes.push_back(SquarePiece);
    int x = 0, y = 0, shelf = 0;
    for (;;) {
        const std::size_t whole = grid.placements.size();
        for (Integer shape : shapes) {
            const auto [top, bottom, right] = extentOf(shape);
            if (x + right >= grid.cols) {
                x = 0;
                y += shelf + 1;
                shelf = 0;
            }
            const auto placed = placeOn(grid, shape, x, y - top);
            if (!placed) {
                grid.placements.resize(whole); // only whole sets
                return grid;
            }
            grid.placements.push_back(*placed);
            x += right + 2;
            shelf = std::max(shelf, bottom - top + 1);
        }
    }
}

} // namespace

Single practiceLargestSide(PreviewInterface &page, int cols, int rows)
{
    page.setFontSize(9);
    const double caption = static_cast<double>(page.LineHeight()) + 60;
    const double width = static_cast<double>(page.PageWidth() - 2 * Margin);
    const double height =
        static_cast<double>(page.PageHeight() - 2 * Margin - ReportLayout::FirstRowTop) - caption;
    return static_cast<Single>(std::max(0.0, std::min(width / cols, height / rows)) / TwipsPerInch);
}

std::optional<std::string> BuildPracticeSheet(PreviewInterface &page, const TilingIndex &index,
                                              const PracticeSheet &sheet)
{
    const Tray &tray = index.tray();
    page.setOrientation(sheet.landscape ? 1 : 0);
    page.setFontSize(9);
    const Long caption = page.LineHeight() + 60;
    const auto traySize = [&](Single unit) {
        return std::pair<Long, Long>{roundToLong(tray.cols() * unit),
                                     roundToLong(tray.rows() * unit)};
    };
    const auto [w, h] = traySize(sheet.unit);
    const Grid puzzles = gridFor(page, w, h, caption);
    if (puzzles.perPage() == 0) {
        const std::string limit =
            sideLimitText(practiceLargestSide(page, tray.cols(), tray.rows()));
        return "At this side length a tray does not fit on a page with its caption; choose a side "
               "of at most " +
               limit + " inch.";
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
    const std::string tray_ = tray.label();
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
    const std::string where = " for the " + tray_ + " " + tray.kind();

    std::vector<std::string> puzzleCaptions, keyCaptions;
    for (int k = 0; k < count; ++k) {
        const Puzzle &p = sheet.puzzles[static_cast<std::size_t>(k)];
        const std::string name = "Puzzle " + std::to_string(k + 1) + ": ";
        puzzleCaptions.push_back(name + piecesToPlace(index, p));
        keyCaptions.push_back(name + tray_ + ", solution " +
                              groupedNumber(index.solutionOf(p.tiling)));
    }
    const double puzzlePoints = captionSize(page, puzzleCaptions, w);
    const double keyPoints = captionSize(page, keyCaptions, kw);

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
        printCaption(page, puzzleCaptions[static_cast<std::size_t>(k)], x, y + h + 40,
                     puzzlePoints);
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
            printCaption(page, keyCaptions[static_cast<std::size_t>(k)], x, y + kh + 40, keyPoints);
        });
    if (sheet.cutouts) {
        startPage("Pieces to Cut Out for Sheet " + number);
        PaperLook look = sheet.look;
        look.look.letters = true;
        look.outlined = true;
        look.framed = false;
        const Long width = page.PageWidth() - 2 * Margin;
        const Long height = page.PageHeight() - 2 * Margin - ReportLayout::FirstRowTop;
        const bool square = tray.takesTheSquare();
        Single unit = sheet.unit;
        Tiling pieces = cutoutSets(width / unit, height / unit, square);
        while (pieces.placements.empty() && unit > 30) {
            unit *= 0.9f;
            pieces = cutoutSets(width / unit, height / unit, square);
        }
        printTiling(page, pieces, {0, double(ReportLayout::FirstRowTop), unit}, look);
    }
    page.EndDoc();
    return std::nullopt;
}

} // namespace tw
