#pragma once

#include "base/Integer.h"
#include "pieces/Painter.h"
#include "solutions/Database.h"
#include "solutions/Tray.h"

#include <functional>
#include <optional>
#include <string>

// The printed cheat sheet: every solution of a tray between two numbers,
// drawn as small framed trays in rows and columns, page after page, each with
// its number under it and a head on every page. Drawn through the preview
// interface only, so the window and the command line share it.

namespace tw {

struct SharedState;
struct PieceState;
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
std::string reportTitle(Integer board);
std::string reportTitle(const Tray &tray);

// Called once per tray drawn, with its number and page; last is true for the
// final tray of the run.
using ReportProgress = std::function<void(Integer solution, Integer page, bool last)>;

// Why a report could not be made.
enum class ReportFault {
    NoPreview,    // there is no preview control to draw into
    TrayTooLarge, // at this side length no tray fits a page below the head
    EmptyRange,   // the range holds no solution
    Database,     // the database failed (database says how)
    BadRecord,    // a record of the range is not a tiling
};

struct ReportError
{
    ReportFault fault;
    std::string message;                   // for the user, naming the solution where it matters
    std::optional<DatabaseError> database; // for ReportFault::Database
};

// Draws the report of the current board (BoardIndex) into page: selects the
// range from the database, starts a document and draws every tray. Leaves
// SolutionSet on the range, past its end. Returns why when the report
// cannot be made; nothing is drawn then, except for a record found broken
// on the way.
std::optional<ReportError> BuildReport(SharedState &state, PreviewInterface &page,
                                       const ReportOptions &options,
                                       const ReportProgress &progress = {});

// The cheat sheet of any tray, solutions options.from to options.to of it,
// each drawn by the painter from the tiling solution(n) gives.
std::optional<ReportError> BuildTrayReport(PreviewInterface &page, const Tray &tray,
                                           const std::function<Tiling(Integer)> &solution,
                                           const ReportOptions &options,
                                           const ReportProgress &progress = {});

// Decodes the record of tray boardIndex onto board and draws its tray at
// where: the pieces, the frame, then on the 8 x 8 tray the 2 x 2 square.
Expected<Tiling, DecodeError> PrintSolution(PreviewInterface &page, PieceState &board,
                                            Integer boardIndex, const SolutionRecord &record,
                                            const TrayGeometry &where, const PaperLook &look);

} // namespace tw
