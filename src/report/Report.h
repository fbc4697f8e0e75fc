#pragma once

#include "base/Integer.h"
#include "pieces/Painter.h"
#include "solutions/Tray.h"

#include <functional>
#include <optional>
#include <string>

// The printed cheat sheet: every solution of a tray between two numbers,
// drawn as small framed trays in rows and columns, page after page, each with
// its number under it and a head on every page. Drawn through the preview
// interface only, so the window and the command line share it.

namespace tw {

class Catalogue;
class PreviewInterface;

struct ReportOptions
{
    Integer from = 1;       // first solution number, 1..count
    Integer to = 1;         // last solution number, from..count
    bool landscape = false; // page orientation
    Single unit = 0;        // side of a unit square, twips
    PaperLook look;         // colour or monochrome, palette, letters
};

// Where the trays go on a page, twips inside the margins. A page holds
// columns x rows trays: the first at (0, FirstRowTop), then every
// columnStep to the right up to columnLimit and every rowStep down up to
// rowLimit (a tray whose corner lies on a limit still fits).
struct ReportLayout
{
    static constexpr Long FirstRowTop = 500; // the page head stands above

    Integer boardWidth = 0;
    Integer boardHeight = 0;
    Long rowLimit = 0, rowStep = 0;
    Long columnLimit = 0, columnStep = 0;

    int columns() const;
    int rows() const;
    int traysPerPage() const { return columns() * rows(); }
};

// The layout for trays of cols x rows cells of side unitSize twips on a page
// of pageWidth x pageHeight twips with the given margins, captions of
// lineHeight twips.
ReportLayout reportLayout(Long pageWidth, Long pageHeight, Long marginLeft, Long marginTop,
                          Long marginRight, Long marginBottom, Integer cols, Integer rows,
                          Single unitSize, Long lineHeight);

// The largest side of a unit square, inches, at which a tray of cols x rows
// cells fits the preview's printable page below the page head.
Single largestSide(const PreviewInterface &preview, Integer cols, Integer rows);

// What a sheet of solutions from..to of board holds, for its file name and
// its title: "Pentominoes 10 x 6, 1 to 100".
std::string sheetName(const std::string &tray, long from, long to);

// A page's head: the copyright notice and the program's name and version at
// the left, the title in the middle (15 points, less where the page is too
// narrow for it), the label ("Page 1") at the right.
void printPageHead(PreviewInterface &page, const std::string &title, const std::string &label);

// The page head's texts.
std::string copyrightNotice();
std::string webAddress();
std::string reportTitle(const Tray &tray);

// Called once per tray drawn, with its number and page; last is true for the
// final tray of the run.
using ReportProgress = std::function<void(Integer solution, Integer page, bool last)>;

// Why a report could not be made.
enum class ReportFault {
    TrayTooLarge, // at this side length no tray fits a page below the head
    EmptyRange,   // the range holds no solution
};

struct ReportError
{
    ReportFault fault;
    std::string message; // for the user
};

// Draws the cheat sheet of solutions options.from to options.to (as many
// of them as there are) of the catalogue's tray into page: starts a
// document and draws every tray in turn. Returns why when no sheet can be
// made; nothing is drawn then.
std::optional<ReportError> BuildReport(PreviewInterface &page, const Catalogue &catalogue,
                                       Integer tray, const ReportOptions &options,
                                       const ReportProgress &progress = {});

// Draws one solution's tray at where: the pieces, the frame, then the 2 x 2
// square where there is one.
void PrintSolution(PreviewInterface &page, const Tiling &solution, const TrayGeometry &where,
                   const PaperLook &look);

} // namespace tw
