#include "app/CommandLine.h"

#include "app/Advice.h"
#include "app/FindTiling.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "app/TrayPicture.h"
#include "base/OutputFile.h"
#include "base/Units.h"
#include "preview/PreviewDocument.h"
#include "solutions/Boards.h"
#include "solutions/SharedState.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QSaveFile>

#include <cmath>

#ifndef TILEWRIGHT_VERSION
#define TILEWRIGHT_VERSION "0"
#endif

namespace tw {

namespace {

// The options, in the order the help lists them.
struct Options
{
    QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    QCommandLineOption version{{"v", "version"}, "Show the version and exit."};
    QCommandLineOption report{"report", "Make the cheat sheet of solutions FROM to TO."};
    QCommandLineOption pdf{"pdf", "Write it to OUT as a PDF.", "OUT"};
    QCommandLineOption page{"png-page", "Write its page N as a PNG image.", "N"};
    QCommandLineOption side{
        "side", "The side of a unit square (default: the tray's, as the Print tab).", "INCHES"};
    QCommandLineOption landscape{"landscape", "Landscape pages (default: portrait)."};
    QCommandLineOption colour{{"color", "colour"}, "Pieces in colour (default: monochrome)."};
    QCommandLineOption paper{
        "paper", "A4, A3, A5, Letter or Legal (default: the printer's, else the locale's).",
        "SIZE"};
    QCommandLineOption find{
        "find", "Print the tray and number of the tiling in FILE (- for standard input).", "FILE"};
    QCommandLineOption grid{"grid", "Print solution N of BOARD as rows of piece letters."};
    QCommandLineOption svg{"svg", "Write solution N of BOARD as an SVG drawing."};
    QCommandLineOption png{"png", "Write solution N of BOARD as a PNG image."};
    QCommandLineOption letters{"letters", "Write each piece's letter on it."};
    QCommandLineOption palette{
        "palette", "The pieces' colours: standard, or safe for colour-blind readers.", "NAME"};
    QCommandLineOption dpi{"dpi",
                           QStringLiteral("A PNG's dots per inch, %1 to %2 (default: 150).")
                               .arg(MinimumDpi)
                               .arg(MaximumDpi),
                           "N"};

    QList<const QCommandLineOption *> all() const
    {
        return {&help,  &version, &report, &pdf, &page, &side,    &landscape, &colour,
                &paper, &find,    &grid,   &svg, &png,  &letters, &palette,   &dpi};
    }
    // What the program can be asked to do, one at a time.
    QList<const QCommandLineOption *> actions() const
    {
        return {&report, &find, &grid, &svg, &png};
    }
    // The options that shape a report.
    QList<const QCommandLineOption *> reportOptions() const
    {
        return {&pdf, &page, &side, &landscape, &colour, &paper};
    }
    // What an option's value, and the arguments that follow it, stand for.
    QString arguments(const QCommandLineOption *o) const
    {
        if (o == &report)
            return QStringLiteral("BOARD FROM TO");
        if (o == &page)
            return QStringLiteral("N OUT.png");
        if (o == &grid)
            return QStringLiteral("BOARD N");
        if (o == &svg)
            return QStringLiteral("BOARD N OUT.svg");
        if (o == &png)
            return QStringLiteral("BOARD N OUT.png");
        return o->valueName();
    }
};

const char *const TrayNames = "the trays are 0 to 4 or 10x6, 12x5, 15x4, 20x3, 8x8";

std::optional<Integer> boardNamed(QString name)
{
    name.remove(QLatin1Char(' '));
    for (int k = 0; k < BoardCount; ++k) {
        const std::string_view label = Trays[static_cast<std::size_t>(k)].label;
        if (name == QString::number(k) ||
            name.compare(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()))
                             .remove(QLatin1Char(' ')),
                         Qt::CaseInsensitive) == 0)
            return static_cast<Integer>(k);
    }
    return std::nullopt;
}

std::optional<QSizeF> paperNamed(const QString &name)
{
    for (const QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter, QPageSize::Legal}) {
        const QPageSize size(id);
        if (name.compare(size.key(), Qt::CaseInsensitive) == 0)
            return size.size(QPageSize::Point) * TwipsPerPoint;
    }
    return std::nullopt;
}

// A whole number written plainly, or nothing.
std::optional<long long> wholeNumber(const QString &text)
{
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

QString pages(int count)
{
    return count == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(count);
}

Command ofKind(Command::Kind kind)
{
    Command c;
    c.kind = kind;
    return c;
}

Command fault(const QString &what)
{
    Command c;
    c.kind = Command::Kind::Error;
    c.error = what;
    return c;
}

} // namespace

QString usageLine()
{
    return QStringLiteral(
        "usage: tilewright [--report BOARD FROM TO (--pdf OUT | --png-page N OUT.png)\n"
        "                   [--side INCHES] [--landscape] [--color] [--paper SIZE] [--dpi N]\n"
        "                   [--letters] [--palette NAME]]\n"
        "       tilewright --find FILE | --grid BOARD N\n"
        "       tilewright (--svg BOARD N OUT.svg | --png BOARD N OUT.png [--dpi N])\n"
        "                  [--letters] [--palette NAME]");
}

QString versionLine()
{
    return QStringLiteral("tilewright " TILEWRIGHT_VERSION);
}

QString helpText()
{
    QString text =
        usageLine() + QStringLiteral("\n\nShows every way of fitting the twelve pentominoes "
                                     "into five trays, one at a time, and\nprints them as "
                                     "cheat sheets. With no option it opens its window.\n\n"
                                     "BOARD is 0 to 4 or a tray's label: 10x6, 12x5, 15x4, "
                                     "20x3 or 8x8 (\"10 x 6\" too).\n\nOptions:\n");
    const Options options;
    for (const QCommandLineOption *o : options.all()) {
        QStringList names;
        for (const QString &name : o->names())
            names << (name.size() == 1 ? "-" : "--") + name;
        QString left = names.join(QStringLiteral(", "));
        if (const QString arguments = options.arguments(o); !arguments.isEmpty())
            left += QLatin1Char(' ') + arguments;
        text += QStringLiteral("  %1 %2\n").arg(left, -24).arg(o->description());
    }
    return text + QStringLiteral("\nExamples:\n"
                                 "  tilewright --report 10x6 1 2339 --pdf sheet.pdf\n"
                                 "  tilewright --report \"8 x 8\" 1 100 --png-page 1 page.png "
                                 "--colour --dpi 300\n"
                                 "  tilewright --grid 10x6 1234 > mine.txt\n"
                                 "  tilewright --find mine.txt\n"
                                 "  tilewright --svg 8x8 1 first.svg --letters --palette safe\n");
}

Command parseCommandLine(const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    for (const QCommandLineOption *o : options.all())
        parser.addOption(*o);
    if (!parser.parse(arguments)) {
        // Qt's "Unknown option 'x'." as one of ours.
        QString why = parser.errorText();
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        return fault(why.left(1).toLower() + why.mid(1));
    }
    const QStringList given = parser.optionNames(); // as written, repeats included
    for (const QCommandLineOption *o : options.all()) {
        const auto times = std::count_if(given.begin(), given.end(), [&](const QString &name) {
            return o->names().contains(name);
        });
        if (times > 1)
            return fault(QStringLiteral("--%1 is given more than once").arg(o->names().last()));
    }
    if (parser.isSet(options.help))
        return ofKind(Command::Kind::Help);
    if (parser.isSet(options.version))
        return ofKind(Command::Kind::Version);

    QStringList positional = parser.positionalArguments();
    const QList<const QCommandLineOption *> actions = options.actions();
    const auto asked = std::count_if(actions.begin(), actions.end(),
                                     [&](const QCommandLineOption *o) { return parser.isSet(*o); });
    if (asked > 1)
        return fault(QStringLiteral("give only one of --report, --find, --grid, --svg and --png"));
    const bool report = parser.isSet(options.report);
    const bool image = parser.isSet(options.page) || parser.isSet(options.png);
    if (!report)
        for (const QCommandLineOption *o : options.reportOptions())
            if (parser.isSet(*o))
                return fault(QStringLiteral("--%1 belongs to --report").arg(o->names().last()));
    if (parser.isSet(options.dpi) && !image)
        return fault(QStringLiteral("--dpi belongs to --png-page and --png"));
    const bool drawn = report || parser.isSet(options.svg) || parser.isSet(options.png);
    for (const QCommandLineOption *o : {&options.letters, &options.palette})
        if (parser.isSet(*o) && !drawn)
            return fault(
                QStringLiteral("--%1 belongs to --report, --svg and --png").arg(o->names().last()));
    if (asked == 0) {
        if (!positional.isEmpty())
            return fault(QStringLiteral("unexpected argument \"%1\"").arg(positional.first()));
        return ofKind(Command::Kind::Window);
    }

    Command c;
    c.look.letters = parser.isSet(options.letters);
    if (parser.isSet(options.palette)) {
        const QString name = parser.value(options.palette).toLower();
        if (name != QLatin1String("standard") && name != QLatin1String("safe"))
            return fault(QStringLiteral("there is no palette \"%1\"; the palettes are standard "
                                        "and safe")
                             .arg(parser.value(options.palette)));
        c.look.palette = name == QLatin1String("safe") ? Palette::Safe : Palette::Standard;
    }
    if (parser.isSet(options.dpi)) {
        const auto dpi = wholeNumber(parser.value(options.dpi));
        if (!dpi || *dpi < MinimumDpi || *dpi > MaximumDpi)
            return fault(QStringLiteral("the image's resolution must be %1 to %2 dots per inch")
                             .arg(MinimumDpi)
                             .arg(MaximumDpi));
        c.dpi = static_cast<int>(*dpi);
    }
    // Exactly `wanted` arguments after the options, the first a tray.
    const auto takeArguments = [&](int wanted, const QString &needs) -> std::optional<Command> {
        if (positional.size() < wanted)
            return fault(needs);
        if (positional.size() > wanted)
            return fault(QStringLiteral("unexpected argument \"%1\"").arg(positional[wanted]));
        const auto board = boardNamed(positional[0]);
        if (!board)
            return fault(QStringLiteral("there is no tray \"%1\"; %2")
                             .arg(positional[0], QLatin1String(TrayNames)));
        c.board = *board;
        return std::nullopt;
    };

    if (!report) {
        if (parser.isSet(options.find)) {
            c.kind = Command::Kind::Find;
            c.input = parser.value(options.find);
            if (!positional.isEmpty())
                return fault(QStringLiteral("unexpected argument \"%1\"").arg(positional.first()));
            return c;
        }
        const QCommandLineOption &action = parser.isSet(options.grid)  ? options.grid
                                           : parser.isSet(options.svg) ? options.svg
                                                                       : options.png;
        c.kind = &action == &options.grid  ? Command::Kind::Grid
                 : &action == &options.svg ? Command::Kind::Svg
                                           : Command::Kind::Png;
        const int wanted = &action == &options.grid ? 2 : 3;
        if (auto wrong =
                takeArguments(wanted, QStringLiteral("--%1 needs %2")
                                          .arg(action.names().last(), options.arguments(&action))))
            return *wrong;
        c.number = positional[1];
        if (wanted == 3)
            c.output = positional[2];
        return c;
    }

    c.kind = Command::Kind::Report;
    const bool pageImage = parser.isSet(options.page);
    if (pageImage == parser.isSet(options.pdf))
        return fault(QStringLiteral("give either --pdf OUT or --png-page N OUT.png"));
    if (auto wrong = takeArguments(
            pageImage ? 4 : 3,
            pageImage ? QStringLiteral("--report needs BOARD FROM TO, and --png-page N the "
                                       "image's file name")
                      : QStringLiteral("--report needs BOARD FROM TO")))
        return *wrong;
    c.from = positional[1];
    c.to = positional[2];
    if (pageImage) {
        const auto n = wholeNumber(parser.value(options.page));
        if (!n || *n < 1 || *n > 32767)
            return fault(QStringLiteral("the page to write must be a page number"));
        c.page = static_cast<int>(*n);
        c.png = positional[3];
    } else {
        c.pdf = parser.value(options.pdf);
    }
    if (parser.isSet(options.side))
        c.side = parser.value(options.side);
    c.landscape = parser.isSet(options.landscape);
    c.colour = parser.isSet(options.colour);
    if (parser.isSet(options.paper)) {
        c.paper = paperNamed(parser.value(options.paper));
        if (!c.paper)
            return fault(QStringLiteral("there is no paper \"%1\"; the papers are A4, A3, A5, "
                                        "Letter and Legal")
                             .arg(parser.value(options.paper)));
    }
    return c;
}

int runReport(const Command &c, const std::string &programFolder, QSizeF paper, std::ostream &out,
              std::ostream &err)
{
    const auto fail = [&](const QString &why) {
        err << "tilewright: " << why.toStdString() << '\n';
        return 2;
    };
    const QString output = c.pdf.isEmpty() ? c.png : c.pdf;
    Program program(programFolder, paper);
    if (auto error = program.Main()) {
        // Byte for byte: a path that is not valid text stays as the terminal
        // shows it.
        err << "tilewright: " << error->problem << ' ' << program.advice().remedy(*error) << '\n';
        return 2;
    }
    if (const auto refusal =
            outputRefusal(QFile::encodeName(output).toStdString(), program.state().DbPath))
        return fail(QStringLiteral("cannot write \"%1\": %2")
                        .arg(output, QString::fromStdString(*refusal)));
    SharedState &state = program.state();
    PreviewDocument &preview = program.preview();
    state.Look = c.look;

    PrintTab print(state);
    if (auto prepared = print.prepare(c.board); !prepared)
        return fail(QString::fromStdString(program.advice().explain(prepared.error())));
    print.setOrientation(c.landscape ? 1 : 0);
    print.setRender(c.colour ? 0 : 1);
    const Long count = state.SolutionSet.RecordCount();
    const auto from = wholeNumber(c.from);
    const auto to = wholeNumber(c.to);
    if (!from || !to || *from < 1 || *to > count || *from > *to)
        return fail(QStringLiteral("the range must be two solution numbers from 1 to %1, the "
                                   "first not above the second")
                        .arg(count));
    if (c.side && !print.checkSide(*c.side).accepted())
        // The limit shown is rounded down, so that it is itself accepted.
        return fail(
            QStringLiteral("the side length must be a number of inches above 0.001 "
                           "and at most %1")
                .arg(std::floor(static_cast<double>(state.MaxUnitSize) * 1000) / 1000, 0, 'f', 3));
    if (const auto error = print.run(c.from, c.to, c.landscape))
        return fail(QString::fromStdString(
            error->database ? program.advice().explain(*error->database) : error->message));

    if (!c.pdf.isEmpty()) {
        QString error;
        if (!preview.writePdf(c.pdf, &error))
            return fail(error);
        out << "wrote " << c.pdf.toStdString() << " (" << pages(preview.PageCount()).toStdString()
            << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail(QStringLiteral("the report has %1, not a page %2")
                        .arg(pages(preview.PageCount()))
                        .arg(c.page));
    const QImage image = preview.renderImage(c.page, c.dpi);
    QSaveFile file(c.png);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(c.png, file.errorString()));
    out << "wrote " << c.png.toStdString() << " (page " << c.page << " of " << preview.PageCount()
        << ")\n";
    return 0;
}

namespace {

// The text of a tiling: the file's, or standard input's for "-".
Expected<std::string, QString> readGrid(const QString &name, std::istream &in)
{
    std::string text(static_cast<std::size_t>(MaximumGridText) + 1, '\0');
    if (name == QLatin1String("-")) {
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        const QFileInfo info(name);
        QFile file(name);
        if (info.isDir())
            return QStringLiteral("cannot read \"%1\": it is a folder").arg(name);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read \"%1\": %2").arg(name, file.errorString());
        const qint64 got = file.read(text.data(), static_cast<qint64>(text.size()));
        text.resize(static_cast<std::size_t>(std::max<qint64>(got, 0)));
    }
    if (static_cast<long long>(text.size()) > MaximumGridText)
        return QStringLiteral("\"%1\" holds more than 64 KB, too much for a grid of letters")
            .arg(name);
    return text;
}

} // namespace

int answer(Program &program, const Command &c, std::istream &in, std::ostream &out,
           std::ostream &err)
{
    const auto fail = [&](const QString &why) {
        err << "tilewright: " << why.toStdString() << '\n';
        return 2;
    };
    SharedState &state = program.state();
    if (c.kind == Command::Kind::Find) {
        const auto text = readGrid(c.input, in);
        if (!text)
            return fail(text.error());
        const auto found = findTiling(state, *text);
        if (!found)
            return fail(QString::fromStdString(found.error()));
        out << Trays[static_cast<std::size_t>(found->board)].label << ' ' << found->solution
            << '\n';
        return 0;
    }

    const Integer count = state.RecordIndex.count(c.board);
    const std::string_view label = Trays[static_cast<std::size_t>(c.board)].label;
    const QString tray = QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
    const auto number = wholeNumber(c.number);
    if (!number || *number < 1 || *number > count)
        return fail(QStringLiteral("there is no solution \"%1\" of the %2 tray; its solutions are "
                                   "1 to %3")
                        .arg(c.number, tray)
                        .arg(count));
    const auto n = static_cast<Integer>(*number);
    if (const auto error = SelectBoard(state, c.board, n, n))
        return fail(QString::fromStdString(program.advice().explain(*error)));
    if (state.SolutionSet.RecordCount() != 1)
        return fail(QStringLiteral("solution %1 of the %2 tray is no longer in the database; "
                                   "it has changed since it was read")
                        .arg(n)
                        .arg(tray));
    const auto picture =
        TrayPicture::make(state.PieceShapes, c.board, state.SolutionSet.currentRecord(), c.look);
    if (!picture)
        return fail(QStringLiteral("solution %1 of the %2 tray cannot be shown: %3")
                        .arg(*number)
                        .arg(tray, QString::fromStdString(picture.error().message)));
    if (c.kind == Command::Kind::Grid) {
        out << picture->text();
        return 0;
    }

    if (const auto refusal = outputRefusal(QFile::encodeName(c.output).toStdString(), state.DbPath))
        return fail(QStringLiteral("cannot write \"%1\": %2")
                        .arg(c.output, QString::fromStdString(*refusal)));
    QSaveFile file(c.output);
    bool written = file.open(QIODevice::WriteOnly);
    if (written && c.kind == Command::Kind::Svg)
        written = file.write(picture->svg(foundText({c.board, n}))) >= 0;
    else if (written)
        written = picture->image(c.dpi).save(&file, "PNG");
    if (!written || !file.commit())
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(c.output, file.errorString()));
    out << "wrote " << c.output.toStdString() << '\n';
    return 0;
}

int runSolution(const Command &command, const std::string &programFolder, std::istream &in,
                std::ostream &out, std::ostream &err)
{
    // The report's paper plays no part here.
    Program program(programFolder, QPageSize(QPageSize::A4).size(QPageSize::Point) * TwipsPerPoint);
    if (auto error = program.Main()) {
        err << "tilewright: " << error->problem << ' ' << program.advice().remedy(*error) << '\n';
        return 2;
    }
    return answer(program, command, in, out, err);
}

} // namespace tw
