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
#include "solutions/Boards.h"
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

// The unit side that prints a kept tray's longer side as long as the 8 x 8
// tray's, inches for one cell of the longer side.
std::string pagesText(int count)
{
    return count == 1 ? "1 page" : std::to_string(count) + " pages";
}

std::string trayLabel(Integer board)
{
    return std::string(Trays.at(static_cast<std::size_t>(board)).label);
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

int runReport(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    SharedState &state = program.state();
    PreviewDocument &preview = program.preview();
    if (const auto refusal = outputRefusal(output, state.DbPath))
        return fail("cannot write \"" + output + "\": " + *refusal);
    PrintTab print(state, preview);
    print.setLook(c.look);
    const auto prepared = print.prepare(c.board);
    if (!prepared)
        return fail(program.advice().explain(prepared.error()));
    print.setOrientation(c.landscape ? 1 : 0);
    print.setRender(c.colour ? 0 : 1);
    const Long count = state.SolutionSet.RecordCount();
    const auto from = plainWholeNumber(c.from);
    const auto to = plainWholeNumber(c.to);
    if (!from || !to || *from < 1 || *to > count || *from > *to)
        return fail("the range must be two solution numbers from 1 to " + std::to_string(count) +
                    ", the first not above the second");
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(c.board));
    const Single largest = largestSide(preview, tray.cols, tray.rows);
    const std::string limit = sideLimitText(largest);
    if (c.side && !print.checkSide(QString::fromStdString(*c.side)).accepted())
        return fail("the side length must be a number of inches above 0.001 and at most " + limit);
    if (!c.side && *prepared > largest)
        return fail("the " + trayLabel(c.board) + " tray's own side of " + sideText(*prepared) +
                    " inch does not fit " +
                    (c.paperName.empty() ? std::string("the paper") : c.paperName + " paper") +
                    (c.landscape ? " in landscape" : "") + "; give --side with at most " + limit);
    if (const auto error =
            print.run(QString::fromStdString(c.from), QString::fromStdString(c.to), c.landscape)) {
        if (error->fault == ReportFault::TrayTooLarge)
            return fail("at this side length a tray does not fit on a page below the page head; "
                        "give --side with at most " +
                        limit);
        return fail(error->database ? program.advice().explain(*error->database) : error->message);
    }

    return writeSheet(program, c, io, sheetName(trayOf(c.board).label(), *from, *to));
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
                                 QString::fromStdString(title), program.state().DbPath))
            return fail(failure->sentence("cannot write", c.pdf));
        io.out << "wrote " << c.pdf << " (" << pagesText(preview.PageCount()) << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail("the report has " + pagesText(preview.PageCount()) + ", not a page " +
                    std::to_string(c.page));
    if (const auto error = writeOutput(c.png, pngBytes(preview.renderImage(c.page, c.dpi)),
                                       program.state().DbPath))
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

// The user's tray that the region of a tiling or a position read from text
// is, and its solutions' index; none when it is none of them.
struct KeptMatch
{
    KeptTray tray;
    Integer board;
    RegionTiling read;
};

std::optional<KeptMatch> keptTrayOf(std::string_view text, bool position)
{
    auto read = readRegionTiling(text, position);
    if (!read)
        return std::nullopt;
    const LibraryContents library = readLibrary(libraryPath());
    for (std::size_t k = 0; k < library.trays.size(); ++k)
        if (library.trays[k].tray == read->tray)
            return KeptMatch{library.trays[k], keptBoard(k), std::move(*read)};
    return std::nullopt;
}

int runFind(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto text = gridText(c, io);
    if (!text)
        return fail(text.error().why);
    // A tiling of the five trays, or else of one of the user's: the library
    // is read only then.
    auto found = findTiling(program.state(), *text);
    if (!found)
        found = findTiling(program.state(), *text, readLibrary(libraryPath()).trays);
    if (!found)
        return fail(found.error());
    if (!found->kept.empty()) {
        io.out << found->kept << ' ' << found->solution << '\n';
        return 0;
    }
    io.out << trayLabel(found->board) << ' ' << found->solution << '\n';
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
    if (!position) {
        // Not a position of the five trays: perhaps one of the user's.
        const auto kept = keptTrayOf(*text, true);
        if (!kept)
            return fail(position.error().message);
        std::vector<Tiling> solutions;
        for (const CellLetters &s : kept->tray.solutions)
            solutions.push_back(tilingOf(kept->tray.tray, kept->board, s));
        const TilingIndex index = TilingIndex::of(kept->tray.tray, kept->board, solutions);
        SolveSession session(index);
        session.open(tilingOf(kept->tray.tray, kept->board, kept->read.letters));
        return positionAnswer(session, c, io, false);
    }
    const auto index = loadTilingIndex(program.state(), position->board);
    if (!index)
        return fail(program.advice().explain(index.error()));
    SolveSession session(*index);
    if (const auto refused = session.open(*text))
        return fail(*refused);
    return positionAnswer(session, c, io, across);
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
int runSolution(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    SharedState &state = program.state();
    const Integer count = state.RecordIndex.count(c.board);
    const std::string tray = trayLabel(c.board);
    const auto number = plainWholeNumber(c.number);
    if (!number || *number < 1 || *number > count)
        return fail("there is no solution \"" + c.number + "\" of the " + tray +
                    " tray; its solutions are 1 to " + std::to_string(count));
    const auto n = static_cast<Integer>(*number);
    if (const auto error = SelectBoard(state, c.board, n, n))
        return fail(program.advice().explain(*error));
    if (state.SolutionSet.RecordCount() != 1)
        return fail("solution " + std::to_string(n) + " of the " + tray +
                    " tray is no longer in the database; it has changed since it was read");
    const auto picture = TrayPicture::make(c.board, state.SolutionSet.currentRecord(), c.look);
    if (!picture)
        return fail("solution " + std::to_string(n) + " of the " + tray +
                    " tray cannot be shown: " + picture.error().message);
    if (c.kind == Command::Kind::Grid) {
        io.out << picture->text();
        return 0;
    }
    const QByteArray bytes =
        c.kind == Command::Kind::Svg ? picture->svg(foundText({c.board, n})) : picture->png(c.dpi);
    if (const auto error = writeOutput(c.output, bytes, state.DbPath))
        return fail(*error);
    io.out << "wrote " << c.output << '\n';
    return 0;
}

// The practice sheet of the tray the index holds.
int practiceOn(Program &program, const TilingIndex &index, const Command &c, CommandIo &io);

int runPractice(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    SharedState &state = program.state();
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    if (!c.text)
        if (const auto refusal = outputRefusal(output, state.DbPath))
            return fail("cannot write \"" + output + "\": " + *refusal);
    const auto index = loadTilingIndex(state, c.board);
    if (!index)
        return fail(program.advice().explain(index.error()));
    return practiceOn(program, *index, c, io);
}

int practiceOn(Program &program, const TilingIndex &indexOfTray, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    SharedState &state = program.state();
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
                QStringLiteral("Pentomino Puzzles, Sheet %1").arg(number), state.DbPath))
            return fail(failure->sentence("cannot write", c.pdf));
        io.out << "wrote " << c.pdf << " (" << pages << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail("the sheet has " + pagesText(preview.PageCount()) + ", not a page " +
                    std::to_string(c.page));
    if (const auto error =
            writeOutput(c.png, pngBytes(preview.renderImage(c.page, c.dpi)), state.DbPath))
        return fail(*error);
    io.out << "wrote " << c.png << " (page " << c.page << " of " << pages << ")\n";
    return 0;
}

// A user's tray named on the command line, and the number it goes by.
struct Kept
{
    KeptTray tray;
    Integer board;
};

Expected<Kept, Refusal> keptTray(const Command &c, CommandIo &io)
{
    const LibraryContents library = readLibrary(libraryPath());
    if (library.warning)
        io.err << "tilewright: " << *library.warning << '\n';
    if (const KeptTray *named = keptTrayNamed(library, c.trayName))
        return Kept{*named, keptBoard(static_cast<std::size_t>(named - library.trays.data()))};
    return Refusal{"there is no tray \"" + c.trayName +
                   "\"; the trays are 0 to 4 or 10x6, 12x5, 15x4, 20x3, 8x8, and those you kept "
                   "(tilewright --trays lists them)"};
}

// A solution number of the kept tray, 1 to its count.
Expected<Integer, Refusal> keptNumber(const Kept &kept, const std::string &typed)
{
    const auto n = plainWholeNumber(typed);
    const auto count = static_cast<long long>(kept.tray.solutions.size());
    if (!n || *n < 1 || *n > count)
        return Refusal{"there is no solution \"" + typed + "\" of " + theTray(kept.tray.tray) +
                       "; its solutions are 1 to " + std::to_string(count)};
    return static_cast<Integer>(*n);
}

Tiling keptTiling(const Kept &kept, Integer n)
{
    return keptTiling(kept.tray, kept.board, n);
}

// --grid, --svg, --png, --report and --practice on a kept tray.
int answerOnKeptTray(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto kept = keptTray(c, io);
    if (!kept)
        return fail(kept.error().why);
    const Tray &tray = kept->tray.tray;
    if (c.kind == Command::Kind::Practice) {
        std::vector<Tiling> solutions;
        for (Integer n = 1; n <= static_cast<Integer>(kept->tray.solutions.size()); ++n)
            solutions.push_back(keptTiling(*kept, n));
        return practiceOn(program, TilingIndex::of(tray, kept->board, solutions), c, io);
    }
    if (c.kind != Command::Kind::Report) {
        const auto n = keptNumber(*kept, c.number);
        if (!n)
            return fail(n.error().why);
        const TrayPicture picture(keptTiling(*kept, *n), c.look);
        if (c.kind == Command::Kind::Grid) {
            io.out << picture.text();
            return 0;
        }
        const QByteArray bytes =
            c.kind == Command::Kind::Svg
                ? picture.svg(QString::fromStdString(tray.label() + " " + std::to_string(*n)))
                : picture.png(c.dpi);
        if (const auto error = writeOutput(c.output, bytes, program.state().DbPath))
            return fail(*error);
        io.out << "wrote " << c.output << '\n';
        return 0;
    }

    PreviewDocument &preview = program.preview();
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    if (const auto refusal = outputRefusal(output, program.state().DbPath))
        return fail("cannot write \"" + output + "\": " + *refusal);
    const auto from = keptNumber(*kept, c.from), to = keptNumber(*kept, c.to);
    if (!from || !to || *from > *to)
        return fail("the range must be two solution numbers from 1 to " +
                    std::to_string(kept->tray.solutions.size()) +
                    ", the first not above the second");
    const auto cols = static_cast<Integer>(tray.cols()), rows = static_cast<Integer>(tray.rows());
    preview.setOrientation(c.landscape ? 1 : 0);
    const Single largest = largestSide(preview, cols, rows);
    const double side = c.side ? parseNumber(*c.side).value_or(0) : keptTraySide(largest, tray);
    if (side <= 0.001 || side > largest)
        return fail("the side length must be a number of inches above 0.001 and at most " +
                    sideLimitText(largest));
    ReportOptions options;
    options.from = *from;
    options.to = *to;
    options.landscape = c.landscape;
    options.unit = static_cast<Single>(side * TwipsPerInch);
    options.look.rendering = c.colour ? Rendering::Colour : Rendering::Monochrome;
    options.look.look = c.look;
    if (const auto error = BuildTrayReport(
            preview, tray, [&](Integer n) { return keptTiling(*kept, n); }, options))
        return fail(error->message);
    return writeSheet(program, c, io, sheetName(tray.label(), *from, *to));
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
        if (command.board == KeptTrayBoard)
            return answerOnKeptTray(program, command, io);
        switch (command.kind) {
        case Command::Kind::Report:
            return runReport(program, command, io);
        case Command::Kind::Find:
            return runFind(program, command, io);
        case Command::Kind::Practice:
            return runPractice(program, command, io);
        case Command::Kind::Count:
        case Command::Kind::Complete:
            return runPosition(program, command, io);
        case Command::Kind::Grid:
        case Command::Kind::Svg:
        case Command::Kind::Png:
            return runSolution(program, command, io);
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
