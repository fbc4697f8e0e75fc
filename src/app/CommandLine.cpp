#include "app/CommandLine.h"

#include "app/Practice.h"
#include "base/NumberText.h"
#include "solutions/Catalogue.h"

#include <QPageSize>

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#ifndef TILEWRIGHT_VERSION
#define TILEWRIGHT_VERSION "0"
#endif

namespace tw {

namespace {

enum class Opt {
    Help,
    Version,
    Report,
    Pdf,
    PngPage,
    Side,
    Landscape,
    Colour,
    Paper,
    Find,
    Grid,
    Svg,
    Png,
    Count,
    Complete,
    Practice,
    Given,
    Seed,
    NoKey,
    Cutouts,
    Text,
    Letters,
    Palette,
    Dpi,
    NewTray,
    Name,
    ListTrays,
    DeleteTray,
    ExportTray,
};
constexpr std::size_t OptionCount = static_cast<std::size_t>(Opt::ExportTray) + 1;

// One option: its names (a one-letter name is written with one dash), the
// value it takes ("" for none), what the help shows after it, its help,
// and the options of which one must be given for it to mean anything.
struct OptionSpec
{
    Opt id;
    std::array<std::string_view, 2> names;
    std::string_view value;
    std::string_view shown;
    std::string_view help;
    std::array<Opt, 4> belongsTo;
    int belongsCount;
};

constexpr std::array<OptionSpec, OptionCount> Options{{
    {Opt::Help, {"h", "help"}, "", "", "Show this help and exit.", {}, 0},
    {Opt::Version, {"v", "version"}, "", "", "Show the version and exit.", {}, 0},
    {Opt::Report,
     {"report", ""},
     "",
     "BOARD FROM TO",
     "Make the cheat sheet of solutions FROM to TO.",
     {},
     0},
    {Opt::Pdf,
     {"pdf", ""},
     "OUT",
     "OUT",
     "Write it to OUT as a PDF.",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::PngPage,
     {"png-page", ""},
     "N",
     "N OUT.png",
     "Write its page N as a PNG image.",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::Side,
     {"side", ""},
     "INCHES",
     "INCHES",
     "The side of a unit square (default: the tray's, as the Print tab).",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::Landscape,
     {"landscape", ""},
     "",
     "",
     "Landscape pages (default: portrait).",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::Colour,
     {"color", "colour"},
     "",
     "",
     "Pieces in colour (default: monochrome).",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::Paper,
     {"paper", ""},
     "SIZE",
     "SIZE",
     "A4, A3, A5, Letter or Legal (default: the printer's, else the locale's).",
     {Opt::Report, Opt::Practice},
     2},
    {Opt::Find,
     {"find", ""},
     "FILE",
     "FILE",
     "Print the tray and number of the tiling in FILE (- for standard input).",
     {},
     0},
    {Opt::Grid,
     {"grid", ""},
     "",
     "BOARD N",
     "Print solution N of BOARD as rows of piece letters.",
     {},
     0},
    {Opt::Svg,
     {"svg", ""},
     "",
     "BOARD N OUT.svg",
     "Write solution N of BOARD as an SVG drawing.",
     {},
     0},
    {Opt::Png,
     {"png", ""},
     "",
     "BOARD N OUT.png",
     "Write solution N of BOARD as a PNG image.",
     {},
     0},
    {Opt::Count,
     {"count", ""},
     "FILE",
     "FILE",
     "Print how many tilings complete the position in FILE, and their solutions.",
     {},
     0},
    {Opt::Complete,
     {"complete", ""},
     "FILE",
     "FILE",
     "Print one tiling that completes the position in FILE, and its solution.",
     {},
     0},
    {Opt::Practice,
     {"practice", ""},
     "",
     "BOARD COUNT",
     "Make a practice sheet of COUNT (1 to 60) puzzles with one answer each.",
     {},
     0},
    {Opt::Given,
     {"given", ""},
     "K",
     "K|fewest",
     "The pieces each puzzle gives (default: fewest, the hardest).",
     {Opt::Practice},
     1},
    {Opt::Seed,
     {"seed", ""},
     "N",
     "N",
     "The sheet's number: the same number makes the same sheet (default: a new one).",
     {Opt::Practice},
     1},
    {Opt::NoKey, {"no-key", ""}, "", "", "Leave the answer key out.", {Opt::Practice}, 1},
    {Opt::Cutouts,
     {"cutouts", ""},
     "",
     "",
     "Add a page of the pieces to cut out.",
     {Opt::Practice},
     1},
    {Opt::Text,
     {"text", ""},
     "",
     "",
     "Print the puzzles as rows of letters, \".\" for a cell to fill.",
     {Opt::Practice},
     1},
    {Opt::Letters,
     {"letters", ""},
     "",
     "",
     "Write each piece's letter on it.",
     {Opt::Report, Opt::Svg, Opt::Png, Opt::Practice},
     4},
    {Opt::Palette,
     {"palette", ""},
     "NAME",
     "NAME",
     "The pieces' colours: standard, or safe for colour-blind readers.",
     {Opt::Report, Opt::Svg, Opt::Png, Opt::Practice},
     4},
    {Opt::Dpi,
     {"dpi", ""},
     "N",
     "N",
     "A PNG's dots per inch, 36 to 600 (default: 150).",
     {Opt::PngPage, Opt::Png},
     2},
    {Opt::NewTray,
     {"new-tray", ""},
     "FILE",
     "FILE",
     "Find every tiling of the region drawn in FILE (# a cell, . none) and keep it.",
     {},
     0},
    {Opt::Name,
     {"name", ""},
     "NAME",
     "NAME",
     "The kept tray's name (default: My tray 1, My tray 2, ...).",
     {Opt::NewTray},
     1},
    {Opt::ListTrays, {"trays", ""}, "", "", "List the trays you have kept.", {}, 0},
    {Opt::DeleteTray, {"delete-tray", ""}, "NAME", "NAME", "Delete a kept tray.", {}, 0},
    {Opt::ExportTray,
     {"export-tray", ""},
     "",
     "NAME FILE",
     "Write a kept tray's region to FILE as text, for --new-tray.",
     {},
     0},
}};

// What the program can be asked to do, one at a time.
constexpr std::array<Opt, 12> Actions{
    Opt::Report,   Opt::Find,     Opt::Grid,    Opt::Svg,       Opt::Png,        Opt::Count,
    Opt::Complete, Opt::Practice, Opt::NewTray, Opt::ListTrays, Opt::DeleteTray, Opt::ExportTray};

const OptionSpec &spec(Opt id)
{
    return Options[static_cast<std::size_t>(id)];
}

// The name an option is known by in messages: its last ("--colour").
std::string nameOf(Opt id)
{
    const OptionSpec &o = spec(id);
    return "--" + std::string(o.names[1].empty() ? o.names[0] : o.names[1]);
}

// "--a", "--a and --b", "--a, --b and --c".
std::string listOf(std::span<const Opt> ids)
{
    std::string text;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (k > 0)
            text += k + 1 == ids.size() ? " and " : ", ";
        text += nameOf(ids[k]);
    }
    return text;
}

std::optional<Opt> optionNamed(std::string_view name)
{
    for (const OptionSpec &o : Options)
        for (std::string_view n : o.names)
            if (!n.empty() && n == name && (n.size() == 1) == (name.size() == 1))
                return o.id;
    return std::nullopt;
}

std::optional<QSizeF> paperNamed(const std::string &name)
{
    for (const QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter, QPageSize::Legal}) {
        const QPageSize size(id);
        if (QString::fromStdString(name).compare(size.key(), Qt::CaseInsensitive) == 0)
            return size.size(QPageSize::Point) * TwipsPerPoint;
    }
    return std::nullopt;
}

// The page --png-page names: 1 to 32767, as pages are counted.
std::optional<int> pageNumber(std::string_view text)
{
    const auto n = plainWholeNumber(text);
    return n && *n >= 1 && *n <= 32767 ? std::optional(static_cast<int>(*n)) : std::nullopt;
}

Command ofKind(Command::Kind kind)
{
    Command c;
    c.kind = kind;
    return c;
}

Command fault(std::string what)
{
    Command c;
    c.kind = Command::Kind::Error;
    c.error = std::move(what);
    return c;
}

// The arguments split into options (each with its value) and the rest.
struct Split
{
    std::array<int, OptionCount> times{};
    std::array<std::string, OptionCount> values;
    std::vector<std::string> positional;
    std::string error;

    bool has(Opt id) const { return times[static_cast<std::size_t>(id)] > 0; }
    const std::string &value(Opt id) const { return values[static_cast<std::size_t>(id)]; }
};

Split split(std::span<const std::string> arguments)
{
    Split s;
    bool optionsEnd = false;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string &a = arguments[k];
        if (optionsEnd || a.size() < 2 || a[0] != '-') {
            s.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnd = true;
            continue;
        }
        const bool longName = a[1] == '-';
        std::string_view name = std::string_view(a).substr(longName ? 2 : 1);
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('='); longName && equals != std::string_view::npos) {
            inlineValue = std::string(name.substr(equals + 1));
            name = name.substr(0, equals);
        }
        const auto id = longName && name.size() == 1 ? std::nullopt : optionNamed(name);
        if (!id) {
            s.error = "unknown option '" + std::string(name) + "'";
            return s;
        }
        const auto i = static_cast<std::size_t>(*id);
        ++s.times[i];
        if (spec(*id).value.empty()) {
            if (inlineValue) {
                s.error = "unexpected value after '" + a.substr(0, a.find('=')) + "'";
                return s;
            }
        } else if (inlineValue) {
            s.values[i] = *inlineValue;
        } else if (k + 1 < arguments.size()) {
            s.values[i] = arguments[++k];
        } else {
            s.error = "missing value after '" + a + "'";
            return s;
        }
    }
    return s;
}

} // namespace

std::string usageLine()
{
    return "usage: tilewright [--report BOARD FROM TO (--pdf OUT | --png-page N OUT.png)\n"
           "                   [--side INCHES] [--landscape] [--color] [--paper SIZE] [--dpi N]\n"
           "                   [--letters] [--palette NAME]]\n"
           "       tilewright --find FILE | --count FILE | --complete FILE | --grid BOARD N\n"
           "       tilewright (--svg BOARD N OUT.svg | --png BOARD N OUT.png [--dpi N])\n"
           "                  [--letters] [--palette NAME]\n"
           "       tilewright --practice BOARD COUNT [--given K|fewest] [--seed N] [--no-key]\n"
           "                  [--cutouts] (--pdf OUT | --png-page N OUT.png | --text)\n"
           "                  [--side INCHES] [--landscape] [--color] [--paper SIZE] [--dpi N]\n"
           "                  [--letters] [--palette NAME]\n"
           "       tilewright --new-tray FILE [--name NAME] | --trays | --delete-tray NAME\n"
           "       tilewright --export-tray NAME FILE";
}

std::string versionLine()
{
    return "tilewright " TILEWRIGHT_VERSION;
}

std::string helpText()
{
    std::string text = usageLine() +
                       "\n\nShows every way of fitting the twelve pentominoes into five trays, one "
                       "at a time, and\nprints them as cheat sheets. With no option it opens its "
                       "window.\n\nBOARD is 0 to 4 or a tray's label: 10x6, 12x5, 15x4, 20x3 or "
                       "8x8 (\"10 x 6\" too), or the name of a tray you kept.\n\nOptions:\n";
    for (const OptionSpec &o : Options) {
        std::string left;
        for (std::string_view name : o.names)
            if (!name.empty())
                left += (left.empty() ? "" : ", ") + std::string(name.size() == 1 ? "-" : "--") +
                        std::string(name);
        if (!o.shown.empty())
            left += " " + std::string(o.shown);
        left.resize(std::max<std::size_t>(left.size(), 24), ' ');
        text += "  " + left + " " + std::string(o.help) + "\n";
    }
    return text +
           "\nExamples:\n"
           "  tilewright --report 10x6 1 2339 --pdf sheet.pdf\n"
           "  tilewright --report \"8 x 8\" 1 100 --png-page 1 page.png --colour --dpi 300\n"
           "  tilewright --grid 10x6 1234 > mine.txt\n"
           "  tilewright --find mine.txt\n"
           "  tilewright --svg 8x8 1 first.svg --letters --palette safe\n"
           "  tilewright --practice 10x6 12 --given 4 --cutouts --pdf puzzles.pdf\n"
           "  tilewright --new-tray centre-hole.txt --name \"Centre hole\"\n"
           "\nYour own trays are kept in Trays.sqlite in the program's data folder\n"
           "($XDG_DATA_HOME/Tilewright/Tilewright, or ~/.local/share/Tilewright/Tilewright).\n";
}

Command parseCommandLine(std::span<const std::string> arguments)
{
    const Split s = split(arguments);
    if (!s.error.empty())
        return fault(s.error);
    for (const OptionSpec &o : Options)
        if (s.times[static_cast<std::size_t>(o.id)] > 1)
            return fault(nameOf(o.id) + " is given more than once");
    if (s.has(Opt::Help))
        return ofKind(Command::Kind::Help);
    if (s.has(Opt::Version))
        return ofKind(Command::Kind::Version);

    const auto asked =
        std::count_if(Actions.begin(), Actions.end(), [&](Opt a) { return s.has(a); });
    if (asked > 1)
        return fault("give only one of " + listOf(Actions));
    for (const OptionSpec &o : Options) {
        const std::span<const Opt> owners(o.belongsTo.data(),
                                          static_cast<std::size_t>(o.belongsCount));
        if (s.has(o.id) && !owners.empty() &&
            std::none_of(owners.begin(), owners.end(), [&](Opt owner) { return s.has(owner); }))
            return fault(nameOf(o.id) + " belongs to " + listOf(owners));
    }
    if (asked == 0) {
        if (!s.positional.empty())
            return fault("unexpected argument \"" + s.positional.front() + "\"");
        return ofKind(Command::Kind::Window);
    }

    Command c;
    c.look.letters = s.has(Opt::Letters);
    if (s.has(Opt::Palette)) {
        std::string name = s.value(Opt::Palette);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        if (name != "standard" && name != "safe")
            return fault("there is no palette \"" + s.value(Opt::Palette) +
                         "\"; the palettes are standard and safe");
        c.look.palette = name == "safe" ? Palette::Safe : Palette::Standard;
    }
    if (s.has(Opt::Dpi)) {
        const auto dpi = plainWholeNumber(s.value(Opt::Dpi));
        if (!dpi || *dpi < MinimumDpi || *dpi > MaximumDpi)
            return fault("the image's resolution must be " + std::to_string(MinimumDpi) + " to " +
                         std::to_string(MaximumDpi) + " dots per inch");
        c.dpi = static_cast<int>(*dpi);
    }
    const std::vector<std::string> &positional = s.positional;
    // Exactly `wanted` arguments after the options, the first a tray.
    const auto takeArguments = [&](std::size_t wanted,
                                   const std::string &needs) -> std::optional<Command> {
        if (positional.size() < wanted)
            return fault(needs);
        if (positional.size() > wanted)
            return fault("unexpected argument \"" + positional[wanted] + "\"");
        // Another name may be one of the user's trays: the command looks
        // it up when it runs.
        const auto board = Catalogue::databaseTrayNamed(positional[0]);
        c.board = board.value_or(KeptTrayBoard);
        if (!board)
            c.trayName = positional[0];
        return std::nullopt;
    };

    // The user's own trays.
    if (s.has(Opt::NewTray) || s.has(Opt::DeleteTray) || s.has(Opt::ListTrays)) {
        if (!positional.empty())
            return fault("unexpected argument \"" + positional.front() + "\"");
        c.kind = s.has(Opt::NewTray)      ? Command::Kind::NewTray
                 : s.has(Opt::DeleteTray) ? Command::Kind::DeleteTray
                                          : Command::Kind::ListTrays;
        c.input = s.value(Opt::NewTray);
        c.trayName = s.has(Opt::DeleteTray) ? s.value(Opt::DeleteTray) : s.value(Opt::Name);
        c.named = s.has(Opt::Name) || s.has(Opt::DeleteTray);
        return c;
    }
    if (s.has(Opt::ExportTray)) {
        if (positional.size() != 2)
            return positional.size() < 2 ? fault("--export-tray needs NAME FILE")
                                         : fault("unexpected argument \"" + positional[2] + "\"");
        c.kind = Command::Kind::ExportTray;
        c.trayName = positional[0];
        c.named = true;
        c.output = positional[1];
        return c;
    }
    for (const auto &[option, kind] : {std::pair{Opt::Find, Command::Kind::Find},
                                       {Opt::Count, Command::Kind::Count},
                                       {Opt::Complete, Command::Kind::Complete}}) {
        if (!s.has(option))
            continue;
        c.kind = kind;
        c.input = s.value(option);
        if (!positional.empty())
            return fault("unexpected argument \"" + positional.front() + "\"");
        return c;
    }
    if (s.has(Opt::Practice)) {
        c.kind = Command::Kind::Practice;
        const int outputs = s.has(Opt::Pdf) + s.has(Opt::PngPage) + s.has(Opt::Text);
        if (outputs != 1)
            return fault("give one of --pdf OUT, --png-page N OUT.png and --text");
        const bool image = s.has(Opt::PngPage);
        if (auto wrong = takeArguments(image ? 3 : 2,
                                       image ? "--practice needs BOARD COUNT, and --png-page N "
                                               "the image's file name"
                                             : "--practice needs BOARD COUNT"))
            return *wrong;
        const auto count = plainWholeNumber(positional[1]);
        if (!count || *count < 1 || *count > 60)
            return fault("a practice sheet holds 1 to 60 puzzles");
        c.puzzles = static_cast<int>(*count);
        c.text = s.has(Opt::Text);
        if (s.has(Opt::Given)) {
            std::string given = s.value(Opt::Given);
            std::transform(given.begin(), given.end(), given.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            const auto k = plainWholeNumber(given);
            // A kept tray's pieces are checked when it is read.
            const int pieces =
                c.board == KeptTrayBoard
                    ? 13
                    : Catalogue::databaseTrays()[static_cast<std::size_t>(c.board)].pieceCount();
            if (given != "fewest" && (!k || *k < 1 || *k >= pieces))
                return fault("--given takes fewest or 1 to " + std::to_string(pieces - 1) +
                             " on this tray");
            c.given = given == "fewest" ? 0 : static_cast<int>(*k);
        }
        if (c.text)
            for (Opt paper : {Opt::Side, Opt::Landscape, Opt::Colour, Opt::Paper, Opt::NoKey,
                              Opt::Cutouts, Opt::Letters, Opt::Palette})
                if (s.has(paper))
                    return fault(nameOf(paper) +
                                 " is for a sheet on paper; --text prints letters only");
        if (s.has(Opt::Seed)) {
            const auto seed = plainWholeNumber(s.value(Opt::Seed));
            if (!seed || *seed < 1 || *seed > static_cast<long long>(LargestSheetNumber))
                return fault("--seed takes a sheet number, 1 to " +
                             std::to_string(LargestSheetNumber));
            c.seed = static_cast<std::uint64_t>(*seed);
        }
        c.answerKey = !s.has(Opt::NoKey);
        c.cutouts = s.has(Opt::Cutouts);
        if (image) {
            const auto page = pageNumber(s.value(Opt::PngPage));
            if (!page)
                return fault("the page to write must be a page number");
            c.page = *page;
            c.png = positional[2];
        }
        c.pdf = s.value(Opt::Pdf);
    }
    if (!s.has(Opt::Report) && !s.has(Opt::Practice)) {
        const Opt action = s.has(Opt::Grid) ? Opt::Grid : s.has(Opt::Svg) ? Opt::Svg : Opt::Png;
        c.kind = action == Opt::Grid  ? Command::Kind::Grid
                 : action == Opt::Svg ? Command::Kind::Svg
                                      : Command::Kind::Png;
        const std::size_t wanted = action == Opt::Grid ? 2 : 3;
        if (auto wrong =
                takeArguments(wanted, nameOf(action) + " needs " + std::string(spec(action).shown)))
            return *wrong;
        c.number = positional[1];
        if (wanted == 3)
            c.output = positional[2];
        return c;
    }

    if (s.has(Opt::Report)) {
        c.kind = Command::Kind::Report;
        const bool pageImage = s.has(Opt::PngPage);
        if (pageImage == s.has(Opt::Pdf))
            return fault("give either --pdf OUT or --png-page N OUT.png");
        if (auto wrong = takeArguments(pageImage ? 4 : 3,
                                       pageImage ? "--report needs BOARD FROM TO, and --png-page "
                                                   "N the image's file name"
                                                 : "--report needs BOARD FROM TO"))
            return *wrong;
        c.from = positional[1];
        c.to = positional[2];
        if (pageImage) {
            const auto page = pageNumber(s.value(Opt::PngPage));
            if (!page)
                return fault("the page to write must be a page number");
            c.page = *page;
            c.png = positional[3];
        } else {
            c.pdf = s.value(Opt::Pdf);
        }
    }
    if (s.has(Opt::Side))
        c.side = s.value(Opt::Side);
    c.landscape = s.has(Opt::Landscape);
    c.colour = s.has(Opt::Colour);
    if (s.has(Opt::Paper)) {
        c.paperName = s.value(Opt::Paper);
        c.paper = paperNamed(c.paperName);
        if (!c.paper)
            return fault("there is no paper \"" + c.paperName +
                         "\"; the papers are A4, A3, A5, Letter and Legal");
    }
    return c;
}

} // namespace tw
