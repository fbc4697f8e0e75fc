#include "app/Commands.h"

#include "app/FindTiling.h"
#include "app/Practice.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "app/SolveSession.h"
#include "app/TrayPicture.h"
#include "base/NumberText.h"
#include "base/Units.h"
#include "preview/PreviewDocument.h"
#include "report/PracticeSheet.h"
#include "solutions/Boards.h"
#include "solutions/LetterGrid.h"
#include "solutions/Puzzles.h"
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

    if (!c.pdf.empty()) {
        if (const auto failure = preview.writePdf(
                c.pdf, 1, preview.PageCount(), QPageSize::ExactMatch,
                QString::fromStdString(sheetName(c.board, *from, *to)), state.DbPath))
            return fail(failure->sentence("cannot write", c.pdf));
        io.out << "wrote " << c.pdf << " (" << pagesText(preview.PageCount()) << ")\n";
        return 0;
    }
    if (c.page > preview.PageCount())
        return fail("the report has " + pagesText(preview.PageCount()) + ", not a page " +
                    std::to_string(c.page));
    if (const auto error =
            writeOutput(c.png, pngBytes(preview.renderImage(c.page, c.dpi)), state.DbPath))
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

int runFind(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto text = gridText(c, io);
    if (!text)
        return fail(text.error().why);
    const auto found = findTiling(program.state(), *text);
    if (!found)
        return fail(found.error());
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

// A Count or Complete command: the tilings that complete a position.
int runPosition(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    const auto text = gridText(c, io);
    if (!text)
        return fail(text.error().why);
    bool across = false;
    const auto position = readPosition(*text, &across);
    if (!position)
        return fail(position.error().message);
    const auto index = loadTilingIndex(program.state(), position->board);
    if (!index)
        return fail(program.advice().explain(index.error()));
    SolveSession session(*index);
    if (const auto refused = session.open(*text))
        return fail(*refused);
    if (c.kind == Command::Kind::Count) {
        io.out << countLines(session);
        return 0;
    }
    if (session.remaining().empty()) {
        io.err << "No tiling completes this position.\n";
        return 1;
    }
    const std::uint32_t first = session.remaining().front();
    const std::string rows = letterRows(index->tiling(first));
    io.out << (across ? acrossRows(rows) : rows) << "solution " << index->solutionOf(first) << '\n';
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

int runPractice(Program &program, const Command &c, CommandIo &io)
{
    const Failing fail{io.err};
    SharedState &state = program.state();
    PreviewDocument &preview = program.preview();
    const std::string &output = c.pdf.empty() ? c.png : c.pdf;
    if (!c.text)
        if (const auto refusal = outputRefusal(output, state.DbPath))
            return fail("cannot write \"" + output + "\": " + *refusal);
    const auto index = loadTilingIndex(state, c.board);
    if (!index)
        return fail(program.advice().explain(index.error()));
    const std::uint64_t number = c.seed.value_or(newSheetNumber());
    const auto puzzles = makePuzzles(*index, {c.puzzles, c.given, number});
    if (!puzzles)
        return fail(puzzles.error());
    if (c.text) {
        for (std::size_t k = 0; k < puzzles->size(); ++k)
            io.out << (k > 0 ? "\n" : "") << puzzleText(*index, (*puzzles)[k]);
        return 0;
    }

    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(c.board));
    preview.setOrientation(c.landscape ? 1 : 0);
    const std::string limit = sideLimitText(largestSide(preview, tray.cols, tray.rows));
    const auto side = c.side ? parseNumber(*c.side) : std::optional<double>(PracticeSide);
    if (!side || *side <= 0.001 || *side > largestSide(preview, tray.cols, tray.rows))
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
