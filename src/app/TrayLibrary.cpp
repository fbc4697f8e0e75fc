#include "app/TrayLibrary.h"

#include "base/NumberText.h"
#include "solver/RegionSolver.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace tw {

namespace {

// A region file is small: 32 rows of 32 cells, whatever the line ends.
constexpr std::size_t MaximumRegionText = 64 * 1024;

int refuse(CommandIo &io, const std::string &why)
{
    io.err << "tilewright: " << why << '\n';
    return 2;
}

std::string quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

int newTray(const Command &c, const std::string &path, CommandIo &io)
{
    const auto text = readLimited(c.input, MaximumRegionText);
    if (!text)
        return refuse(io, text.error().sentence("cannot read", c.input));
    if (text->size() > MaximumRegionText)
        return refuse(io, quoted(c.input) + " is too long to be a region; a region is at most "
                                            "32 rows of 32 cells");
    const auto drawn = readRegion(*text);
    if (!drawn)
        return refuse(io, c.input + ": " + drawn.error());
    Catalogue catalogue;
    if (const auto warning = readKeptTrays(catalogue, path))
        io.err << "tilewright: " << *warning << '\n';
    const std::string name = c.named ? c.trayName : defaultTrayName(catalogue);
    if (const auto refusal = nameRefusal(name))
        return refuse(io, *refusal);
    const Tray region = standardOrientation(*drawn).labelled(name);
    if (const auto taken = keptTrayNamed(catalogue, name))
        return refuse(io, "a tray named " + quoted(catalogue.tray(*taken).label()) +
                              " is kept already; choose another name with --name");
    if (const auto taken = regionTaken(region, catalogue))
        return refuse(
            io,
            *taken + (taken->starts_with("this region is the built-in") ? "; draw another" : ""));
    if (const auto obstacle = visibleObstacle(region))
        return refuse(io, c.input + " cannot be tiled: " + obstacle->message);

    const bool terminal = ::isatty(STDERR_FILENO);
    const auto found = solveRegion(region, 0, [&](const RegionProgress &p) {
        if (terminal)
            io.err << "\rsearching: " << groupedNumber(p.placements) << " placements, "
                   << groupedNumber(p.tilings) << " tilings found" << std::flush;
    });
    if (terminal)
        io.err << "\r\033[K" << std::flush;
    // The library's folder is made when a tray is first kept.
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    if (!found || found->solutions.empty())
        return refuse(io,
                      c.input + " cannot be tiled: the pieces fit it in no way; nothing was kept");
    if (const auto error = keepTray(path, trayNameOf(name), region, found->solutions))
        return refuse(io, error->message + "; nothing was kept");
    io.out << "Saved " << quoted(name) << ": "
           << groupedNumber(static_cast<long long>(found->solutions.size())) << " solutions ("
           << region.cellCount() << " cells, " << region.symmetries().size() << " symmetr"
           << (region.symmetries().size() == 1 ? "y" : "ies") << ")\n";
    return 0;
}

} // namespace

std::optional<std::string> readKeptTrays(Catalogue &catalogue, const std::string &path)
{
    LibraryContents library = readLibrary(path);
    catalogue.setKept(std::move(library.trays));
    return library.warning;
}

Single keptTraySide(Single largest, const Tray &tray)
{
    constexpr double EightByEight = 0.0286 * 8;
    return static_cast<Single>(
        std::min<double>(largest, EightByEight / std::max(tray.cols(), tray.rows())));
}

std::optional<std::string> regionTaken(const Tray &region, const Catalogue &catalogue)
{
    const Tray standard = standardOrientation(region);
    for (Integer t = 0; t < catalogue.size(); ++t) {
        const Catalogue::Entry &entry = catalogue.entry(t);
        if (standardOrientation(entry.tray) != standard)
            continue;
        if (entry.source == Catalogue::Source::Database)
            return "this region is the built-in " + entry.tray.label() + " tray";
        if (entry.source == Catalogue::Source::Library)
            return "this region is kept already, as " + quoted(entry.tray.label());
    }
    return std::nullopt;
}

std::string libraryPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Trays.sqlite"))
        .toStdString();
}

TrayName trayNameOf(const std::string &name)
{
    return {name, QString::fromStdString(name)
                      .normalized(QString::NormalizationForm_C)
                      .toCaseFolded()
                      .toStdString()};
}

std::optional<std::string> nameRefusal(const std::string &name)
{
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (text.toUtf8().toStdString() != name)
        return "a tray's name must be text (UTF-8)";
    if (text.trimmed().isEmpty())
        return "a tray needs a name";
    if (text.toUcs4().size() > 64)
        return "a tray's name is at most 64 characters; this one has " +
               std::to_string(text.toUcs4().size());
    if (std::any_of(text.begin(), text.end(),
                    [](QChar ch) { return ch.category() == QChar::Other_Control; }))
        return "a tray's name is one line of text, without tabs or line breaks";
    if (Catalogue::databaseTrayNamed(name))
        return quoted(name) + " names a built-in tray; choose another name";
    return std::nullopt;
}

std::string defaultTrayName(const Catalogue &catalogue)
{
    for (int n = 1;; ++n) {
        const std::string name = "My tray " + std::to_string(n);
        if (!keptTrayNamed(catalogue, name))
            return name;
    }
}

std::optional<Integer> keptTrayNamed(const Catalogue &catalogue, const std::string &name)
{
    const std::string key = trayNameOf(name).key;
    for (Integer t = 0; t < catalogue.size(); ++t)
        if (catalogue.entry(t).source == Catalogue::Source::Library &&
            trayNameOf(catalogue.tray(t).label()).key == key)
            return t;
    return std::nullopt;
}

int runTrayCommand(const Command &c, const std::string &path, CommandIo &io)
{
    if (c.kind == Command::Kind::NewTray)
        return newTray(c, path, io);
    if (c.kind == Command::Kind::DeleteTray) {
        if (const auto error = deleteTray(path, trayNameOf(c.trayName).key))
            return refuse(io, error->fault == LibraryFault::NotFound
                                  ? "there is no tray " + quoted(c.trayName) +
                                        " in your library; tilewright --trays lists them"
                                  : error->message);
        return 0;
    }
    Catalogue catalogue;
    if (const auto warning = readKeptTrays(catalogue, path))
        io.err << "tilewright: " << *warning << '\n';
    if (c.kind == Command::Kind::ListTrays) {
        for (Integer t = 0; t < catalogue.size(); ++t) {
            if (catalogue.entry(t).source != Catalogue::Source::Library)
                continue;
            const Tray &tray = catalogue.tray(t);
            io.out << quoted(tray.label()) << ": " << tray.cellCount() << " cells, "
                   << tray.symmetries().size() << " symmetr"
                   << (tray.symmetries().size() == 1 ? "y" : "ies") << ", "
                   << groupedNumber(catalogue.count(t)) << " solutions\n";
        }
        return 0;
    }
    const auto kept = keptTrayNamed(catalogue, c.trayName);
    if (!kept)
        return refuse(io, "there is no tray " + quoted(c.trayName) +
                              " in your library; tilewright --trays lists them");
    if (const auto failure = writeWholeFile(c.output, regionText(catalogue.tray(*kept))))
        return refuse(io, failure->sentence("cannot write", c.output));
    return 0;
}

} // namespace tw
