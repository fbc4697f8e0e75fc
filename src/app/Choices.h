#pragma once

#include "pieces/Appearance.h"

#include <QString>

namespace tw {

// What the program remembers between runs, each under a key of its own,
// read and written here only: the look of the pieces and the folder files
// were last saved in. Nothing is remembered until a choice is made.
class Choices
{
public:
    static Appearance look();
    static void setLook(Appearance look);

    // The folder a PDF was last saved or printed to; the user's documents
    // folder until then.
    static QString outputFolder();
    static void setOutputFolderOf(const QString &file);

    // The position last left in "Solve It Yourself" on tray board, as
    // rows of letters; empty when none.
    static QString solvePosition(int board);
    static void setSolvePosition(int board, const QString &text);
};

} // namespace tw
