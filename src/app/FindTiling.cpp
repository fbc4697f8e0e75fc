#include "app/FindTiling.h"

#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/LetterGrid.h"
#include "solutions/Region.h"
#include "solutions/SharedState.h"

#include <algorithm>

namespace tw {

Expected<FoundTiling, std::string> findTiling(const SharedState &state, std::string_view text,
                                              const std::vector<KeptTray> &kept)
{
    const auto read = readLetterGrid(text);
    if (!read) {
        // Perhaps a tiling of one of the user's trays.
        if (const auto region = readRegionTiling(text, false))
            for (std::size_t k = 0; k < kept.size(); ++k) {
                if (!(kept[k].tray == region->tray))
                    continue;
                const auto &solutions = kept[k].solutions;
                const auto at =
                    std::lower_bound(solutions.begin(), solutions.end(), region->letters);
                if (at == solutions.end() || *at != region->letters)
                    return "This tiling of the tray \"" + kept[k].name +
                           "\" is not among its solutions.";
                return FoundTiling{keptBoard(k), static_cast<Integer>(at - solutions.begin() + 1),
                                   kept[k].name};
            }
        return read.error().message;
    }
    if (const auto number = state.RecordIndex.find(read->board, read->images))
        return FoundTiling{read->board, *number};
    return "This tiling of the " + std::string(Trays[static_cast<std::size_t>(read->board)].label) +
           " tray is not among the solutions of the database.";
}

std::string tooMuchForAGrid(const std::string &what)
{
    return what + " holds more than 64 KB, too much for a grid of letters";
}

QString foundText(const FoundTiling &found)
{
    if (!found.kept.empty())
        return QStringLiteral("%1, solution %2")
            .arg(QString::fromStdString(found.kept),
                 QString::fromStdString(groupedNumber(found.solution)));
    const std::string_view label = Trays.at(static_cast<std::size_t>(found.board)).label;
    return QStringLiteral("%1, solution %2")
        .arg(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())),
             QString::fromStdString(groupedNumber(found.solution)));
}

} // namespace tw
