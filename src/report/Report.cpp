#include "report/Report.h"

#include "base/NumberText.h"
#include "pieces/PreviewInterface.h"
#include "solutions/Catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#ifndef TILEWRIGHT_VERSION
#define TILEWRIGHT_VERSION "0"
#endif

namespace tw {

namespace {

constexpr Long Margin = 360; // a quarter inch on every side

// How many counter values a loop from start up to limit in steps of step
// takes (the limit itself included).
int stepsWithin(Long start, Long limit, Long step)
{
    if (step <= 0 || limit < start)
        return 0;
    return static_cast<int>((limit - start) / step + 1);
}

// The title's size: 15 points, or less on a page too narrow for it to
// stand centred between the copyright block and the page label (A5 in
// portrait), so that nothing overlaps.
double titleSize(PreviewInterface &preview, const std::string &title, Long labelLeft)
{
    constexpr double Gap = 120; // twips between the title and its neighbours
    preview.setFontSize(8);
    const Long left =
        std::max(preview.TextWidth(copyrightNotice()), preview.TextWidth(webAddress()));
    const double middle = (preview.PageWidth() - 720.0) / 2;
    const double room = 2 * std::min(middle - left - Gap, labelLeft - Gap - middle);
    double points = 15;
    for (; points > 6; points -= 0.5) {
        preview.setFontSize(points);
        if (preview.TextWidth(title) <= room)
            break;
    }
    return points;
}

} // namespace

int ReportLayout::columns() const
{
    return stepsWithin(0, columnLimit, columnStep);
}

int ReportLayout::rows() const
{
    return stepsWithin(FirstRowTop, rowLimit, rowStep);
}

ReportLayout reportLayout(Long pageWidth, Long pageHeight, Long marginLeft, Long marginTop,
                          Long marginRight, Long marginBottom, Integer cols, Integer rows,
                          Single unitSize, Long lineHeight)
{
    ReportLayout l;
    l.boardWidth = roundToInteger(cols * unitSize);
    l.boardHeight = roundToInteger(rows * unitSize);
    l.rowLimit = pageHeight - marginTop - marginBottom - l.boardHeight;
    l.rowStep = roundToLong((rows + 1) * unitSize + 5.0 * lineHeight / 8);
    l.columnLimit = roundToLong(pageWidth - marginLeft - marginRight - cols * unitSize);
    l.columnStep = roundToLong(l.boardWidth + unitSize / 4);
    return l;
}

void printPageHead(PreviewInterface &page, const std::string &title, const std::string &label)
{
    page.setCurrentX(0);
    page.setCurrentY(0);
    page.setFontSize(8);
    page.printText(copyrightNotice());
    page.setCurrentY(180);
    page.printText(webAddress());

    page.setFontSize(10);
    const Long labelLeft = page.PageWidth() - 800 - page.TextWidth(label);
    page.setFontSize(titleSize(page, title, labelLeft));
    page.setCurrentY(0);
    page.setCurrentX((page.PageWidth() - 720.0 - page.TextWidth(title)) / 2);
    page.printText(title);

    page.setFontSize(10);
    page.setCurrentX(labelLeft);
    page.printText(label);
}

Single largestSide(const PreviewInterface &preview, Integer cols, Integer rows)
{
    const double width =
        static_cast<double>(preview.PageWidth() - preview.MarginLeft() - preview.MarginRight());
    const double height = static_cast<double>(preview.PageHeight() - preview.MarginTop() -
                                              preview.MarginBottom() - ReportLayout::FirstRowTop);
    return static_cast<Single>(std::min(width / cols, height / rows) / TwipsPerInch);
}

std::string sheetName(const std::string &tray, long from, long to)
{
    return "Pentominoes " + tray + ", " +
           (from == to ? std::to_string(from) : std::to_string(from) + " to " + std::to_string(to));
}

std::string copyrightNotice()
{
    return "\u00A9 2026 Tilewright";
}

std::string webAddress()
{
    return "Tilewright " TILEWRIGHT_VERSION;
}

std::string reportTitle(const Tray &tray)
{
    if (tray.kind() == "Tray")
        return "Pentominoes Cheatsheet for " + tray.label();
    return "Pentominoes Cheatsheet for the " + std::to_string(tray.cols()) + " x " +
           std::to_string(tray.rows()) + " " + tray.kind();
}

void PrintSolution(PreviewInterface &page, const Tiling &solution, const TrayGeometry &where,
                   const PaperLook &look)
{
    printTiling(page, solution, where, look);
}

namespace {

// The layout of trays of cols x rows at the options' side, or why no tray
// fits: a tray as high as the printable page leaves no room under the head,
// and a page loop that places no tray would never end.
Expected<ReportLayout, ReportError> sheetLayout(PreviewInterface &preview, Integer cols,
                                                Integer rows, const ReportOptions &options)
{
    preview.setOrientation(options.landscape ? 1 : 0);
    preview.setFontSize(options.unit / 10);
    const ReportLayout layout =
        reportLayout(preview.PageWidth(), preview.PageHeight(), Margin, Margin, Margin, Margin,
                     cols, rows, options.unit, preview.LineHeight());
    if (layout.traysPerPage() == 0) {
        const std::string limit = sideLimitText(largestSide(preview, cols, rows));
        return ReportError{ReportFault::TrayTooLarge,
                           "At this side length a tray does not fit on a page below the page "
                           "head. Choose a side length of at most " +
                               limit + " inch for the unit square."};
    }
    return layout;
}

// One tray of a sheet drawn: its number, and whether it was the last.
struct Drawn
{
    Integer number;
    bool last;
};

// Starts the document and lays the trays on its pages in turn, each drawn
// by drawNext at its place and captioned with its number, until drawNext
// says it drew the last.
void printSheet(PreviewInterface &preview, const std::string &title, const ReportLayout &layout,
                const ReportOptions &options,
                const std::function<Drawn(const TrayGeometry &)> &drawNext,
                const ReportProgress &progress)
{
    preview.StartDoc();
    preview.setMarginLeft(Margin);
    preview.setMarginRight(Margin);
    preview.setMarginTop(Margin);
    preview.setMarginBottom(Margin);
    preview.setOrientation(options.landscape ? 1 : 0);
    for (Integer pageNumber = 1;; pageNumber = toInteger(pageNumber + 1)) {
        printPageHead(preview, title, "Page " + std::to_string(pageNumber));

        preview.setFontSize(options.unit / 10);
        preview.setForeColor(Black);
        preview.setBrushColor(preview.ForeColor());
        preview.setBrushStyle(PreviewInterface::BrushStyle::Solid);
        preview.setPenStyle(PreviewInterface::PenStyle::Solid);

        // The counters run in 32 bits so that a step past the last place
        // ends the loop instead of overflowing a 16-bit position.
        for (Long y = ReportLayout::FirstRowTop; y <= layout.rowLimit; y += layout.rowStep) {
            for (Long x = 0; x <= layout.columnLimit; x += layout.columnStep) {
                const TrayGeometry where{static_cast<double>(toInteger(x)),
                                         static_cast<double>(toInteger(y)), options.unit};
                const Drawn drawn = drawNext(where);
                const Long w = layout.boardWidth, h = layout.boardHeight;
                preview.setCaptionNumber(drawn.number);
                preview.setCurrentX(x + (w - preview.CaptionWidth()) / 2 -
                                    preview.CaptionOffsetX());
                preview.setCurrentY(y + h - preview.CaptionOffsetY());
                preview.printText(std::to_string(drawn.number));
                if (progress)
                    progress(drawn.number, pageNumber, drawn.last);
                if (drawn.last) {
                    preview.EndDoc();
                    return;
                }
            }
        }
        preview.NewPage();
    }
}

} // namespace

std::optional<ReportError> BuildReport(PreviewInterface &page, const Catalogue &catalogue,
                                       Integer tray, const ReportOptions &options,
                                       const ReportProgress &progress)
{
    const Tray &shape = catalogue.tray(tray);
    // The page is checked before anything is drawn.
    const auto layout = sheetLayout(page, static_cast<Integer>(shape.cols()),
                                    static_cast<Integer>(shape.rows()), options);
    if (!layout)
        return layout.error();
    const Long last = std::min<Long>(options.to, catalogue.count(tray));
    if (options.from < 1 || options.from > last)
        return ReportError{ReportFault::EmptyRange, "The range " + std::to_string(options.from) +
                                                        " to " + std::to_string(options.to) +
                                                        " holds no solution."};
    Integer n = options.from;
    printSheet(
        page, reportTitle(shape), *layout, options,
        [&](const TrayGeometry &where) {
            PrintSolution(page, catalogue.solution(tray, n), where, options.look);
            const Drawn drawn{n, n >= last};
            n = toInteger(n + 1);
            return drawn;
        },
        progress);
    return std::nullopt;
}

} // namespace tw
