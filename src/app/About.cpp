#include "app/About.h"

#include "app/Program.h"
#include "base/NumberText.h"
#include "solutions/Catalogue.h"
#include "solutions/Database.h"

#include <QStringList>
#include <QtGlobal>

#ifndef TILEWRIGHT_VERSION
#define TILEWRIGHT_VERSION "0"
#endif

namespace tw {

QString aboutText(const Catalogue &catalogue, const std::string &database,
                  const std::string &library)
{
    QStringList counts;
    long long kept = 0;
    for (Integer t = 0; t < catalogue.size(); ++t) {
        const Catalogue::Source source = catalogue.entry(t).source;
        kept += source == Catalogue::Source::Library;
        if (source == Catalogue::Source::Database)
            counts << QStringLiteral("%1: %2").arg(
                QString::fromStdString(catalogue.tray(t).label()),
                QString::fromStdString(groupedNumber(catalogue.count(t))));
    }
    return QStringLiteral(
               "Tilewright " TILEWRIGHT_VERSION "\n"
               "Every way of fitting the twelve pentominoes into five trays.\n\n"
               "Database: %1\n"
               "Solutions: %2\n"
               "Your trays: %5 in %6\n\n"
               "What it does, in the tray picture's menu (right-click the tray, or press\n"
               "the Menu key or Shift+F10):\n"
               "  Ctrl+F                 Find a Tiling: name the solution of a grid of letters\n"
               "  Ctrl+Shift+C           Copy Solution: its picture and letters, to paste\n"
               "  Ctrl+E                 Export Solution: a picture or text file of it\n"
               "  Ctrl+K                 Practice Sheet: one-answer puzzles and their key\n"
               "  Ctrl+Y                 Solve It Yourself: lay the pieces, with a live count\n"
               "  Ctrl+N                 New Tray: draw a tray of your own, find its solutions\n"
               "  The Print tab          a cheat sheet of any range, through a print preview\n\n"
               "Keys in the main window:\n"
               "  Page Down, Page Up     next, previous solution (hold to run through them)\n"
               "  Ctrl+Home, Ctrl+End    first, last solution\n"
               "  F1                     this window\n"
               "  Esc                    close\n"
               "Keys in Solve It Yourself:\n"
               "  a piece's letter       pick it up; the arrows move it\n"
               "  R, Shift+R, M          turn it, turn it back, flip it\n"
               "  Enter, Esc             lay it, let it go\n"
               "  Delete                 take the selected piece back\n"
               "  H                      a hint\n"
               "  < and >                the tilings that remain\n"
               "  Ctrl+Z, Ctrl+Shift+Z   undo, redo\n"
               "  Ctrl+S, Ctrl+O         save, open a position\n"
               "  F11                    full screen\n"
               "Keys in the print preview:\n"
               "  Page Down, Page Up, Home, End   turn the pages\n"
               "  Ctrl+P, Ctrl+S, Ctrl+C          print, save the PDF, copy the page\n"
               "  Ctrl+plus, Ctrl+minus, Ctrl+wheel   zoom\n\n"
               "Licence: MIT (the LICENSE file that comes with Tilewright).\n"
               "Qt %3, SQLite %4")
        .arg(displayName(database), counts.join(QStringLiteral("; ")),
             QString::fromLatin1(qVersion()), QString::fromStdString(databaseEngineVersion()))
        .arg(QString::fromStdString(groupedNumber(kept)), displayName(library));
}

} // namespace tw
