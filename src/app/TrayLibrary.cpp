#include "app/TrayLibrary.h"

#include "base/NumberText.h"
#include "solutions/Boards.h"
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

// Whether text is the label of a built-in tray, spaces and case aside.
bool builtInLabel(std::string text)
{
    std::erase(text, ' ');
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (std::size_t k = 0; k < Trays.size(); ++k) {
        std::string label(Trays[k].label);
        std::erase(label, ' ');
        if (text == label || text == std::to_string(k))
            return true;
    }
    return false;
}

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

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
    const LibraryContents library = readLibrary(path);
    if (library.warning)
        io.err << "tilewright: " << *library.warning << '\n';
    const std::string name = c.named ? c.trayName : defaultTrayName(library);
    if (const auto refusal = nameRefusal(name))
        return refuse(io, *refusal);
    const Tray region = standardOrientation(*drawn).labelled(name);
    if (const KeptTray *taken = keptTrayNamed(library, name))
        return refuse(io, "a tray named " + quoted(taken->name) +
                              " is kept already; choose another name with --name");
    if (const auto taken = regionTaken(region, library))
        return refuse(io, *taken + (taken->starts_with("this region is the built-in")
                                        ? "; draw another"
                                        : ""));
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
        return refuse(io, c.input + " cannot be tiled: the pieces fit it in no way; nothing was kept");
    if (const auto error = keepTray(path, trayNameOf(name), region, found->solutions))
        return refuse(io, error->message + "; nothing was kept");
    io.out << "Saved " << quoted(name) << ": "
           << groupedNumber(static_cast<long long>(found->solutions.size())) << " solutions ("
           << region.cellCount() << " cells, " << region.symmetries().size() << " symmetr"
           << (region.symmetries().size() == 1 ? "y" : "ies") << ")\n";
    return 0;
}

} // namespace

Tiling keptTiling(const KeptTray &kept, Integer board, Long n)
{
    return tilingOf(kept.tray, board, kept.solutions.at(static_cast<std::size_t>(n - 1)));
}

Single keptTraySide(Single largest, const Tray &tray)
{
    constexpr double EightByEight = 0.0286 * 8;
    return static_cast<Single>(
        std::min<double>(largest, EightByEight / std::max(tray.cols(), tray.rows())));
}

std::optional<std::string> regionTaken(const Tray &region, const LibraryContents &library)
{
    const Tray standard = standardOrientation(region);
    for (std::size_t k = 0; k < Trays.size(); ++k)
        if (standardOrientation(trayOf(static_cast<Integer>(k))) == standard)
            return "this region is the built-in " + std::string(Trays[k].label) + " tray";
    for (const KeptTray &kept : library.trays)
        if (kept.tray == standard)
            return "this region is kept already, as " + quoted(kept.name);
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
    if (std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.category() == QChar::Other_Control; }))
        return "a tray's name is one line of text, without tabs or line breaks";
    if (builtInLabel(name))
        return quoted(name) + " names a built-in tray; choose another name";
    return std::nullopt;
}

std::string defaultTrayName(const LibraryContents &library)
{
    for (int n = 1;; ++n) {
        const std::string name = "My tray " + std::to_string(n);
        if (!keptTrayNamed(library, name))
            return name;
    }
}

const KeptTray *keptTrayNamed(const LibraryContents &library, const std::string &name)
{
    const std::string key = trayNameOf(name).key;
    for (const KeptTray &kept : library.trays)
        if (trayNameOf(kept.name).key == key)
            return &kept;
    return nullptr;
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
    const LibraryContents library = readLibrary(path);
    if (library.warning)
        io.err << "tilewright: " << *library.warning << '\n';
    if (c.kind == Command::Kind::ListTrays) {
        for (const KeptTray &kept : library.trays)
            io.out << quoted(kept.name) << ": " << kept.tray.cellCount() << " cells, "
                   << kept.tray.symmetries().size() << " symmetr"
                   << (kept.tray.symmetries().size() == 1 ? "y" : "ies") << ", "
                   << groupedNumber(static_cast<long long>(kept.solutions.size()))
                   << " solutions\n";
        return 0;
    }
    const KeptTray *kept = keptTrayNamed(library, c.trayName);
    if (!kept)
        return refuse(io, "there is no tray " + quoted(c.trayName) +
                              " in your library; tilewright --trays lists them");
    if (const auto failure = writeWholeFile(c.output, regionText(kept->tray)))
        return refuse(io, failure->sentence("cannot write", c.output));
    return 0;
}

} // namespace tw
