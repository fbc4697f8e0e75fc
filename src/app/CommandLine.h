#pragma once

#include "base/Integer.h"
#include "pieces/Appearance.h"

#include <QSizeF>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tw {

// What the program's command line asks for (the options are listed, with
// their help, in one table in CommandLine.cpp; helpText() shows them).
// Arguments are bytes as the system passed them: a file name need not be
// valid text and is used exactly as given.
inline constexpr Integer KeptTrayBoard = -1;

struct Command
{
    enum class Kind {
        Window,
        Help,
        Version,
        Report,
        Find,
        Grid,
        Svg,
        Png,
        Count,
        Complete,
        Practice,
        NewTray,
        ListTrays,
        DeleteTray,
        ExportTray,
        Error
    };
    Kind kind = Kind::Window;
    std::string error; // for Error: what is wrong, one line without an end stop

    // The tray of a report or a solution: the catalogue's place of one of
    // the database's trays, or KeptTrayBoard for another name (trayName),
    // looked up among the user's trays.
    Integer board = 0;
    // The report: the range as typed, the output and its options.
    std::string from, to;
    std::string pdf, png;
    int page = 0;
    std::optional<std::string> side;
    bool landscape = false;
    bool colour = false;
    int dpi = 150;               // a PNG's, report page or solution
    Appearance look;             // the pieces' letters and palette, in a report or a picture
    std::optional<QSizeF> paper; // twips; none: the default printer's, else by locale
    std::string paperName;       // as typed, for messages

    // One solution: its number as typed, the file a tiling is read from
    // ("-" for standard input) or the file a picture is written to.
    std::string number;
    std::string input, output;

    // A practice sheet: its puzzles, the pieces each gives (0: the
    // fewest), its number (none: a new one), and what it holds besides.
    int puzzles = 0;
    int given = 0;
    std::optional<std::uint64_t> seed;
    bool answerKey = true;
    bool cutouts = false;
    bool text = false; // the puzzles as rows of letters, not pages

    // A kept tray's name as typed (with named: given at all); a new
    // tray's region is read from input, an exported one written to output.
    std::string trayName;
    bool named = false;

    bool operator==(const Command &) const = default;
};

// Parses the arguments that follow the program's name. Pure: it reads no
// file, needs no application object and starts nothing.
Command parseCommandLine(std::span<const std::string> arguments);

std::string helpText();
std::string versionLine();
std::string usageLine();

// The PNG resolutions --dpi takes.
inline constexpr int MinimumDpi = 36;
inline constexpr int MaximumDpi = 600;

// The most a tiling's text may hold, bytes: a grid is a few lines.
inline constexpr std::size_t MaximumGridText = 64 * 1024;

} // namespace tw
