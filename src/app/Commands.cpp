#include "app/Commands.h"

#include "app/FindTiling.h"
#include "app/Practice.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "app/SolveSession.h"
#include "app/TrayLibrary.h"
#include "app/TrayPicture.h"
#include "base/NumberText.h"
#include "base/Units.h"
#include "preview/PreviewDocument.h"
#include "report/PracticeSheet.h"
#include "report/Report.h"
#include "solutions/Catalogue.h"
#include "solutions/LetterGrid.h"
#include "solutions/Puzzles.h"
#include "solutions/Region.h"
#include "solutions/SharedState.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>

#include <charconv>
#include <cmath>
#include <exception>

namespace tw {

namespace {

// Writes the command's one line of failure and returns its status.
struct Failing
{
    std::ostream &err;
    int operator()(const std::string &why) const
    {
        err << "tilewright: " << why << '\n';
        return 2;
    }
};

std::string pagesText(int count)
{
    return count == 1 ? "1 page" : std::to_string(count) + " pages";
}

// The bytes of an image as a PNG file; empty when it cannot be encoded.
QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

// Writes an output whole; nothing is said to have been written unless it was.
std::optional<std::string> writeOutput(const std::string &path, const QByteArray &bytes,
                                       const std::string &database)
{
    if (bytes.isEmpty())
        return "cannot write \"" + path + "\": the picture could not be made";
    if (const auto failure = writeWholeFile(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            database))
        return failure->sentence("cannot write", path);
    return std::nullopt;
}

int writeSheet(Program &program, const Command &c, CommandIo &io, const std::string &title);

int runReport(Program &program, Integer t, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    const Catalogue &catalogue = program.catalogue();
    PreviewDocument &preview = program.preview();
    if (const auto refusal = outputRefusal(output, program.DbPath()))
        return fail("cannot write \"" + output + "\": " + *refusal);
    PrintTab print(catalogue, program.state(), preview);
    print.setLook(c.look);
    const Single ownSide = print.prepare(t);
    print.setOrientation(c.landscape ? 1 : 0);
    print.setRender(c.colour ? 0 : 1);
    const Long count = catalogue.count(t);
    const auto from = plainWholeNumber(c.from);
    const auto to = plainWholeNumber(c.to);
    if (!from || !to || *from < 1 || *to > count || *from > *to)
        return fail("the range must be two solution numbers from 1 to " + std::to_string(count) +
                    ", the first not above the second");
    const Tray &tray = catalogue.tray(t);
    const Single largest =
        largestSide(preview, static_cast<Integer>(tray.cols()), static_cast<Integer>(tray.rows()));
    const std::string limit = sideLimitText(largest);
    if (c.side && !print.checkSide(QString::fromStdString(*c.side)).accepted())
        return fail("the side length must be a number of inches above 0.001 and at most " + limit);
    if (!c.side && ownSide > largest)
        return fail(theTray(tray) + "'s own side of " + sideText(ownSide) + " inch does not fit " +
                    (c.paperName.empty() ? std::string("the paper") : c.paperName + " paper") +
                    (c.landscape ? " in landscape" : "") + "; give --side with at most " + limit);
    if (const auto error =
            print.run(QString::fromStdString(c.from), QString::fromStdString(c.to), c.landscape)) {
        if (error->fault == ReportFault::TrayTooLarge)
            return fail("at this side length a tray does not fit on a page below the page head; "
                        "give --side with at most " +
                        limit);
        return fail(error->message);
    }
    return writeSheet(program, c, io, sheetName(tray.label(), *from, *to));
}

// Writes the cheat sheet the preview holds as the command asks: the PDF,
// titled so, or one page as an image.
int writeSheet(Program &program, const Command &c, CommandIo &io, const std::string &title)
{
    const Failing fail{io.err};
    PreviewDocument &preview = program.preview();
    if (!c.pdf.empty()) {
        if (const auto failure =
                preview.writePdf(c.pdf, 1, preview.PageCount(), QPageSize::ExactMatch,
                                 QString::fromStdString(title), program.DbPath()))
            return fail(failure->sentence("cannot write", c.pdf));
        io.out << "wrote " << c.pdf << " (" << pagesText(preview.PageCount()) << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail("the report has " + pagesText(preview.PageCount()) + ", not a page " +
                    std::to_string(c.page));
    if (const auto error =
            writeOutput(c.png, pngBytes(preview.renderImage(c.page, c.dpi)), program.DbPath()))
        return fail(*error);
    io.out << "wrote " << c.png << " (page " << c.page << " of " << preview.PageCount() << ")\n";
    return 0;
}

// Why a command cannot go on, for its one line.
struct Refusal
{
    std::string why;
};

// The text of a grid or a position, read from its file or standard input.
Expected<std::string, Refusal> gridText(const Command &c, CommandIo &io)
{
    auto text = c.input == "-" ? io.input(MaximumGridText) : readLimited(c.input, MaximumGridText);
    if (!text)
        return Refusal{
            text.error().sentence("cannot read", c.input == "-" ? "the standard input" : c.input)};
    if (text->size() > MaximumGridText)
        return Refusal{
            tooMuchForAGrid(c.input == "-" ? "the standard input" : "\"" + c.input + "\"")};
    return std::move(*text);
}

// Reads the user's trays into the catalogue, for a command that names one
// or whose text may be of one; warn: whether a library that cannot be used
// is said.
void readKept(Program &program, CommandIo &io, bool warn)
{
    const auto warning = readKeptTrays(program.catalogue(), libraryPath());
    if (warning && warn)
        io.err << "tilewright: " << *warning << '\n';
}

int runFind(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto text = gridText(c, io);
    if (!text)
        return fail(text.error().why);
    // A tiling of the database's trays, or else of one of the user's: the
    // library is read only then.
    auto found = findTiling(program.catalogue(), *text);
    if (!found) {
        readKept(program, io, false);
        found = findTiling(program.catalogue(), *text);
    }
    if (!found)
        return fail(found.error());
    io.out << found->name << ' ' << found->solution << '\n';
    return 0;
}

// Rows of letters (each ended by a newline) read down the columns: the
// tiling laid across, as a position typed across it was.
std::string acrossRows(const std::string &rows)
{
    std::vector<std::string> lines;
    for (std::size_t from = 0, end; (end = rows.find('\n', from)) != std::string::npos;
         from = end + 1)
        lines.push_back(rows.substr(from, end - from));
    std::string out;
    for (std::size_t c = 0; !lines.empty() && c < lines[0].size(); ++c) {
        for (const std::string &line : lines)
            out += line[c];
        out += '\n';
    }
    return out;
}

int positionAnswer(const SolveSession &session, const Command &c, CommandIo &io, bool across);

// A Count or Complete command: the tilings that complete a position.
int runPosition(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto text = gridText(c, io);
    if (!text)
        return fail(text.error().why);
    bool across = false;
    const auto position = readPosition(*text, &across);
    if (position) {
        SolveSession session(*program.catalogue().tilingIndex(position->board));
        if (const auto refused = session.open(*text))
            return fail(*refused);
        return positionAnswer(session, c, io, across);
    }
    // Not a position of the database's trays: perhaps one of the user's.
    const auto read = readRegionTiling(*text, true);
    if (!read)
        return fail(position.error().message);
    readKept(program, io, false);
    const Catalogue &catalogue = program.catalogue();
    for (Integer t = 0; t < catalogue.size(); ++t)
        if (catalogue.entry(t).source != Catalogue::Source::Database &&
            catalogue.tray(t) == read->tray) {
            SolveSession session(*catalogue.tilingIndex(t));
            session.open(tilingOf(read->tray, t, read->letters));
            return positionAnswer(session, c, io, false);
        }
    return fail(position.error().message);
}

int positionAnswer(const SolveSession &session, const Command &c, CommandIo &io, bool across)
{
    if (c.kind == Command::Kind::Count) {
        io.out << countLines(session);
        return 0;
    }
    if (session.remaining().empty()) {
        io.err << "No tiling completes this position.\n";
        return 1;
    }
    const std::uint32_t first = session.remaining().front();
    const std::string rows = letterRows(session.index().tiling(first));
    io.out << (across ? acrossRows(rows) : rows) << "solution " << session.index().solutionOf(first)
           << '\n';
    return 0;
}

// A Grid, Svg or Png command: one solution, as letters or a picture.
int runSolution(Program &program, Integer t, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const Catalogue &catalogue = program.catalogue();
    const Long count = catalogue.count(t);
    const auto number = plainWholeNumber(c.number);
    if (!number || *number < 1 || *number > count)
        return fail("there is no solution \"" + c.number + "\" of " + theTray(catalogue.tray(t)) +
                    "; its solutions are 1 to " + std::to_string(count));
    const auto n = static_cast<Integer>(*number);
    const TrayPicture picture(catalogue.solution(t, n), c.look);
    if (c.kind == Command::Kind::Grid) {
        io.out << picture.text();
        return 0;
    }
    const QByteArray bytes = c.kind == Command::Kind::Svg
                                 ? picture.svg(foundText({t, n, catalogue.tray(t).label()}))
                                 : picture.png(c.dpi);
    if (const auto error = writeOutput(c.output, bytes, program.DbPath()))
        return fail(*error);
    io.out << "wrote " << c.output << '\n';
    return 0;
}

// The practice sheet of the tray the index holds.
int practiceOn(Program &program, const TilingIndex &index, const Command &c, CommandIo &io);

int runPractice(Program &program, Integer t, const Command &c, CommandIo &io)
{
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    if (!c.text)
        if (const auto refusal = outputRefusal(output, program.DbPath()))
            return Failing{io.err}("cannot write \"" + output + "\": " + *refusal);
    return practiceOn(program, *program.catalogue().tilingIndex(t), c, io);
}

int practiceOn(Program &program, const TilingIndex &indexOfTray, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    PreviewDocument &preview = program.preview();
    const TilingIndex *const index = &indexOfTray;
    const std::uint64_t number = c.seed.value_or(newSheetNumber());
    const auto puzzles = makePuzzles(*index, {c.puzzles, c.given, number});
    if (!puzzles)
        return fail(puzzles.error());
    if (c.text) {
        for (std::size_t k = 0; k < puzzles->size(); ++k)
            io.out << (k > 0 ? "\n" : "") << puzzleText(*index, (*puzzles)[k]);
        return 0;
    }

    const Integer cols = static_cast<Integer>(index->tray().cols());
    const Integer rows = static_cast<Integer>(index->tray().rows());
    preview.setOrientation(c.landscape ? 1 : 0);
    const Single largest = practiceLargestSide(preview, cols, rows);
    const std::string limit = sideLimitText(largest);
    const auto side = c.side ? parseNumber(*c.side) : std::optional<double>(PracticeSide);
    if (!side || *side <= 0.001 || *side > largest)
        return fail("the side length must be a number of inches above 0.001 and at most " + limit);
    PracticeSheet sheet;
    sheet.puzzles = *puzzles;
    sheet.number = number;
    sheet.unit = static_cast<Single>(*side * TwipsPerInch);
    sheet.landscape = c.landscape;
    sheet.look.rendering = c.colour ? Rendering::Colour : Rendering::Monochrome;
    sheet.look.look = c.look;
    sheet.answerKey = c.answerKey;
    sheet.cutouts = c.cutouts;
    if (const auto error = BuildPracticeSheet(preview, *index, sheet))
        return fail(*error);
    const std::string pages = pagesText(preview.PageCount()) + ", sheet " + std::to_string(number);
    if (!c.pdf.empty()) {
        if (const auto failure = preview.writePdf(
                c.pdf, 1, preview.PageCount(), QPageSize::ExactMatch,
                QStringLiteral("Pentomino Puzzles, Sheet %1").arg(number), program.DbPath()))
            return fail(failure->sentence("cannot write", c.pdf));
        io.out << "wrote " << c.pdf << " (" << pages << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail("the sheet has " + pagesText(preview.PageCount()) + ", not a page " +
                    std::to_string(c.page));
    if (const auto error =
            writeOutput(c.png, pngBytes(preview.renderImage(c.page, c.dpi)), program.DbPath()))
        return fail(*error);
    io.out << "wrote " << c.png << " (page " << c.page << " of " << pages << ")\n";
    return 0;
}

// The tray a command names: one of the database's, or one the user kept
// (the library is read then).
Expected<Integer, Refusal> namedTray(Program &program, const Command &c, CommandIo &io)
{
    if (c.board != KeptTrayBoard)
        return c.board;
    readKept(program, io, true);
    if (const auto t = keptTrayNamed(program.catalogue(), c.trayName))
        return *t;
    return Refusal{"there is no tray \"" + c.trayName +
                   "\"; the trays are 0 to 4 or 10x6, 12x5, 15x4, 20x3, 8x8, and those you kept "
                   "(tilewright --trays lists them)"};
}

} // namespace

int guarded(std::ostream &err, const std::function<int()> &body)
{
    try {
        return body();
    } catch (const std::exception &e) {
        err << "tilewright: something went wrong: " << e.what()
            << "; nothing was written (please report this)\n";
    } catch (...) {
        err << "tilewright: something went wrong; nothing was written (please report this)\n";
    }
    return 2;
}

int answer(Program &program, const Command &command, CommandIo &io)
{
    return guarded(io.err, [&] {
        const auto named = [&](int (*run)(Program &, Integer, const Command &, CommandIo &)) {
            const auto t = namedTray(program, command, io);
            return t ? run(program, *t, command, io) : Failing{io.err}(t.error().why);
        };
        switch (command.kind) {
        case Command::Kind::Report:
            return named(runReport);
        case Command::Kind::Find:
            return runFind(program, command, io);
        case Command::Kind::Practice:
            return named(runPractice);
        case Command::Kind::Count:
        case Command::Kind::Complete:
            return runPosition(program, command, io);
        case Command::Kind::Grid:
        case Command::Kind::Svg:
        case Command::Kind::Png:
            return named(runSolution);
        default:
            return Failing{io.err}("this command has nothing to answer");
        }
    });
}

int runCommand(const Command &command, const std::string &programFolder, QSizeF paper,
               CommandIo &io)
{
    return guarded(io.err, [&] {
        Program program(programFolder, command.paper.value_or(paper));
        if (auto error = program.Main()) {
            // Byte for byte: a path that is not valid text stays as the
            // terminal shows it.
            io.err << "tilewright: " << error->problem << ' ' << program.advice().remedy(*error)
                   << '\n';
            return 2;
        }
        return answer(program, command, io);
    });
}

} // namespace tw
