#include "app/ReportCommand.h"

#include "app/Advice.h"
#include "app/PrintTab.h"
#include "app/Program.h"
#include "base/OutputFile.h"
#include "preview/PreviewDocument.h"
#include "solutions/Boards.h"
#include "solutions/SharedState.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>

#include <cmath>

namespace tw {

namespace {

struct Arguments
{
    Integer board = -1;
    QString from, to;
    QString pdf, png;
    int pngPage = 0;
    std::optional<QString> side;
    bool landscape = false;
    bool colour = false;
};

std::optional<Integer> boardNamed(const QString &name)
{
    for (int k = 0; k < BoardCount; ++k) {
        const QString label = QString::fromLatin1(Trays[static_cast<std::size_t>(k)].label.data(),
                                                  static_cast<int>(Trays[k].label.size()));
        if (name == QString::number(k) ||
            name.compare(QString(label).remove(QLatin1Char(' ')), Qt::CaseInsensitive) == 0)
            return static_cast<Integer>(k);
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

} // namespace

bool isReportCommand(const QStringList &arguments)
{
    return arguments.size() > 1 && arguments[1] == QLatin1String("--report");
}

int runReportCommand(const QStringList &arguments, const std::string &programFolder, QSizeF paper,
                     std::ostream &out, std::ostream &err)
{
    const auto fail = [&](const QString &why) {
        err << "tilewright: " << why.toStdString() << '\n';
        return 2;
    };
    // Program name, --report, BOARD, FROM, TO, then options.
    if (arguments.size() < 5)
        return fail(QStringLiteral("usage: tilewright --report BOARD FROM TO (--pdf OUT.pdf | "
                                   "--png-page N OUT.png) [--side INCHES] [--landscape] "
                                   "[--color]"));
    Arguments a;
    const auto board = boardNamed(arguments[2]);
    if (!board)
        return fail(QStringLiteral("there is no tray \"%1\"; the trays are 0 to 4 or 10x6, "
                                   "12x5, 15x4, 20x3, 8x8")
                        .arg(arguments[2]));
    a.board = *board;
    a.from = arguments[3];
    a.to = arguments[4];
    for (int k = 5; k < arguments.size(); ++k) {
        const QString &option = arguments[k];
        const bool hasValue = k + 1 < arguments.size();
        if (option == QLatin1String("--pdf") && hasValue) {
            a.pdf = arguments[++k];
        } else if (option == QLatin1String("--png-page") && k + 2 < arguments.size()) {
            const auto page = wholeNumber(arguments[++k]);
            if (!page || *page < 1 || *page > 32767)
                return fail(QStringLiteral("the page to write must be a page number"));
            a.pngPage = static_cast<int>(*page);
            a.png = arguments[++k];
        } else if (option == QLatin1String("--side") && hasValue) {
            a.side = arguments[++k];
        } else if (option == QLatin1String("--landscape")) {
            a.landscape = true;
        } else if (option == QLatin1String("--color")) {
            a.colour = true;
        } else {
            return fail(QStringLiteral("unknown or incomplete option \"%1\"").arg(option));
        }
    }
    if (a.pdf.isEmpty() == a.png.isEmpty())
        return fail(QStringLiteral("give either --pdf OUT.pdf or --png-page N OUT.png"));
    const QString output = a.pdf.isEmpty() ? a.png : a.pdf;
    if (const auto refusal =
            outputRefusal(QFile::encodeName(output).toStdString(), databasePath(programFolder)))
        return fail(QStringLiteral("cannot write \"%1\": %2")
                        .arg(output, QString::fromStdString(*refusal)));

    Program program(programFolder, paper);
    if (auto error = program.Main()) {
        // Byte for byte: a path that is not valid text stays as the terminal
        // shows it.
        err << "tilewright: " << error->problem << ' ' << remedyFor(*error) << '\n';
        return 2;
    }
    SharedState &state = program.state();
    PreviewDocument &preview = program.preview();

    PrintTab print(state);
    if (auto prepared = print.prepare(a.board); !prepared)
        return fail(QString::fromStdString(explain(prepared.error())));
    print.setOrientation(a.landscape ? 1 : 0);
    print.setRender(a.colour ? 0 : 1);
    const Long count = state.SolutionSet.RecordCount();

    const auto from = wholeNumber(a.from);
    const auto to = wholeNumber(a.to);
    if (!from || !to || *from < 1 || *to > count || *from > *to)
        return fail(QStringLiteral("the range must be two solution numbers from 1 to %1, the "
                                   "first not above the second")
                        .arg(count));
    if (a.side && !print.checkSide(*a.side).accepted())
        // The limit shown is rounded down, so that it is itself accepted.
        return fail(
            QStringLiteral("the side length must be a number of inches above 0.001 "
                           "and at most %1")
                .arg(std::floor(static_cast<double>(state.MaxUnitSize) * 1000) / 1000, 0, 'f', 3));
    if (const auto error = print.run(a.from, a.to, a.landscape))
        return fail(
            QString::fromStdString(error->database ? explain(*error->database) : error->message));

    if (!a.pdf.isEmpty()) {
        QString error;
        if (!preview.writePdf(a.pdf, &error))
            return fail(error);
        out << "wrote " << a.pdf.toStdString() << " (" << preview.PageCount() << " pages)\n";
        return 0;
    }
    if (a.pngPage > preview.PageCount())
        return fail(QStringLiteral("the report has %1 pages, not %2")
                        .arg(preview.PageCount())
                        .arg(a.pngPage));
    const QImage image = preview.renderImage(a.pngPage, 150);
    QSaveFile file(a.png);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(a.png, file.errorString()));
    out << "wrote " << a.png.toStdString() << " (page " << a.pngPage << " of "
        << preview.PageCount() << ")\n";
    return 0;
}

} // namespace tw
