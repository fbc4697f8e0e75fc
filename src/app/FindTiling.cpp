#include "app/FindTiling.h"

#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/LetterGrid.h"
#include "solutions/SharedState.h"

namespace tw {

Expected<FoundTiling, std::string> findTiling(const SharedState &state, std::string_view text)
{
    const auto read = readLetterGrid(text);
    if (!read)
        return read.error().message;
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
    const std::string_view label = Trays.at(static_cast<std::size_t>(found.board)).label;
    return QStringLiteral("%1, solution %2")
        .arg(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())),
             QString::fromStdString(groupedNumber(found.solution)));
}

} // namespace tw
