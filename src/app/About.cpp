#include "app/About.h"

#include "app/Program.h"
#include "base/NumberText.h"
#include "solutions/Boards.h"
#include "solutions/Database.h"
#include "solutions/SharedState.h"

#include <QStringList>
#include <QtGlobal>

#ifndef TILEWRIGHT_VERSION
#define TILEWRIGHT_VERSION "0"
#endif

namespace tw {

QString aboutText(const SharedState &state)
{
    QStringList counts;
    for (Integer board = 0; board < BoardCount; ++board)
        counts << QStringLiteral("%1: %2").arg(
            QString::fromLatin1(
                Trays[static_cast<std::size_t>(board)].label.data(),
                static_cast<qsizetype>(Trays[static_cast<std::size_t>(board)].label.size())),
            QString::fromStdString(groupedNumber(state.RecordIndex.count(board))));
    return QStringLiteral(
               "Tilewright " TILEWRIGHT_VERSION "\n"
               "Every way of fitting the twelve pentominoes into five trays.\n\n"
               "Database: %1\n"
               "Solutions: %2\n\n"
               "Keys in the main window:\n"
               "  Page Down, Page Up     next, previous solution (hold to run through them)\n"
               "  Ctrl+Home, Ctrl+End    first, last solution\n"
               "  Ctrl+F                 find a tiling\n"
               "  F1                     this window\n"
               "  Esc                    close\n"
               "Keys in the print preview:\n"
               "  Page Down, Page Up, Home, End   turn the pages\n"
               "  Ctrl+P, Ctrl+S, Ctrl+C          print, save the PDF, copy the page\n"
               "  Ctrl+plus, Ctrl+minus, Ctrl+wheel   zoom\n\n"
               "Licence: MIT (the LICENSE file that comes with Tilewright).\n"
               "Qt %3, SQLite %4")
        .arg(displayName(state.DbPath), counts.join(QStringLiteral("; ")),
             QString::fromLatin1(qVersion()), QString::fromStdString(databaseEngineVersion()));
}

} // namespace tw
