#pragma once

#include "base/Integer.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

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
//
// Anything else is an error, with one line that names it.
struct Command
{
    enum class Kind { Window, Help, Version, Report, Error };
    Kind kind = Kind::Window;
    QString error; // for Error: what is wrong, one line without an end stop

    // The report: tray 0..4, the range as typed, the output and its options.
    Integer board = 0;
    QString from, to;
    QString pdf, png;
    int page = 0;
    std::optional<QString> side;
    bool landscape = false;
    bool colour = false;
    int dpi = 150;
    std::optional<QSizeF> paper; // twips; none: the default printer's, else by locale
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

} // namespace tw
