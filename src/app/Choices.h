#pragma once

#include "solutions/Tray.h"

#include "pieces/Appearance.h"

#include <QString>

namespace tw {

// The practice dialog's choices as last used.
struct PracticeChoices
{
    int count = 12;
    int given = 0; // 0 for the fewest
    double side = 0;  // inches; 0 until chosen
    bool landscape = false;
    bool colour = false;
    int letters = -1; // -1 until chosen: then as the main window shows them
    bool answerKey = true;
    bool cutouts = false;
};

// What the program remembers between runs, each under a key of its own,
// read and written here only: the look of the pieces, the folder files
// were last saved in, the practice dialog's choices and the positions left
// in Solve It Yourself. Nothing is remembered until a choice is made.
class Choices
{
public:
    static PracticeChoices practice();
    static void setPractice(const PracticeChoices &choices);

    static Appearance look();
    static void setLook(Appearance look);

    // The folder a PDF was last saved or printed to; the user's documents
    // folder until then.
    static QString outputFolder();
    static void setOutputFolderOf(const QString &file);

    // The position last left in "Solve It Yourself" on a tray, as rows of
    // letters; empty when none. A kept tray's goes with its name, which
    // stays while others are deleted: its number may not.
    static QString solvePosition(const Tray &tray, int board);
    static void setSolvePosition(const Tray &tray, int board, const QString &text);
};

} // namespace tw
