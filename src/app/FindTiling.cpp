#include "app/FindTiling.h"

#include "base/NumberText.h"
#include "solutions/Catalogue.h"
#include "solutions/LetterGrid.h"
#include "solutions/Region.h"

namespace tw {

Expected<FoundTiling, std::string> findTiling(const Catalogue &catalogue, std::string_view text)
{
    const auto read = readLetterGrid(text);
    if (!read) {
        // Perhaps a tiling of another tray of the catalogue.
        if (const auto region = readRegionTiling(text, false))
            for (Integer t = 0; t < catalogue.size(); ++t) {
                const Catalogue::Entry &entry = catalogue.entry(t);
                if (entry.source == Catalogue::Source::Database || entry.tray != region->tray)
                    continue;
                if (const auto number = catalogue.find(t, region->letters))
                    return FoundTiling{t, *number, entry.tray.label()};
                return "This tiling of " + theTray(entry.tray) + " is not among its solutions.";
            }
        return read.error().message;
    }
    const Tray &tray = catalogue.tray(read->board);
    if (const auto number = catalogue.find(read->board, read->images))
        return FoundTiling{read->board, *number, tray.label()};
    return "This tiling of " + theTray(tray) + " is not among the solutions of the database.";
}

std::string tooMuchForAGrid(const std::string &what)
{
    return what + " holds more than 64 KB, too much for a grid of letters";
}

QString foundText(const FoundTiling &found)
{
    return QStringLiteral("%1, solution %2")
        .arg(QString::fromStdString(found.name),
             QString::fromStdString(groupedNumber(found.solution)));
}

} // namespace tw
