#pragma once

#include "base/Integer.h"
#include "pieces/Appearance.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace tw {

// What the program's command line asks for:
//
//   tilewright                     the window
//   tilewright --help | --version  a text on standard output
//   tilewright --report BOARD FROM TO (--pdf OUT | --png-page N OUT.png)
//              [--side INCHES] [--landscape] [--color] [--dpi N] [--paper SIZE]
//              [--letters] [--palette NAME]
//   tilewright --find FILE         the tray and number of a tiling
//   tilewright --grid BOARD N      a solution as rows of letters
//   tilewright --svg BOARD N OUT.svg | --png BOARD N OUT.png [--dpi N]
//              [--letters] [--palette NAME]
//
// Anything else is an error, with one line that names it.
struct Command
{
    enum class Kind { Window, Help, Version, Report, Find, Grid, Svg, Png, Error };
    Kind kind = Kind::Window;
    QString error; // for Error: what is wrong, one line without an end stop

    // The tray 0..4 of a report or a solution.
    Integer board = 0;
    // The report: the range as typed, the output and its options.
    QString from, to;
    QString pdf, png;
    int page = 0;
    std::optional<QString> side;
    bool landscape = false;
    bool colour = false;
    int dpi = 150;               // a PNG's, report page or solution
    Appearance look;             // the pieces' letters and palette, in a report or a picture
    std::optional<QSizeF> paper; // twips; none: the default printer's, else by locale

    // One solution: its number as typed, the file a tiling is read from
    // ("-" for standard input) or the file a picture is written to.
    QString number;
    QString input, output;
};

// Parses the arguments (the program's name first) with QCommandLineParser.
// Needs no application object.
Command parseCommandLine(const QStringList &arguments);

QString helpText();
QString versionLine();
QString usageLine();

// The PNG resolutions --dpi takes.
inline constexpr int MinimumDpi = 36;
inline constexpr int MaximumDpi = 600;

// Makes the report a Report command asks for, as the "Print" tab would, and
// writes it as a vector PDF or one page as a PNG image. A database or
// arguments that cannot make it print one line to err and return 2, writing
// nothing. paper: the portrait paper, twips. Needs a QGuiApplication.
int runReport(const Command &command, const std::string &programFolder, QSizeF paper,
              std::ostream &out, std::ostream &err);

// Answers a Find, Grid, Svg or Png command from the program's database:
// prints "BOARD-LABEL SOLUTION" for a tiling read from a file or in, prints
// a solution's letter grid, or writes its picture in the screen's colours.
// Returns 0, 1 for a tiling the database lacks, or 2 with one line on err
// for anything that cannot be done. Needs a QGuiApplication.
int runSolution(const Command &command, const std::string &programFolder, std::istream &in,
                std::ostream &out, std::ostream &err);

// The most a tiling's text may hold, bytes: a grid is a few lines.
inline constexpr long long MaximumGridText = 64 * 1024;

class Program;
// The same on a program whose database is open, for many commands in turn.
int answer(Program &program, const Command &command, std::istream &in, std::ostream &out,
           std::ostream &err);

} // namespace tw
