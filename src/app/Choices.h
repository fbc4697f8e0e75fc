#pragma once

#include "pieces/Appearance.h"

#include <QString>

#include <string>

namespace tw {

// The practice dialog's choices as last used.
struct PracticeChoices
{
    int count = 12;
    int given = 0;   // 0 for the fewest
    double side = 0; // inches; 0 until chosen
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
    // letters; empty when none. It goes with the tray's key in the
    // catalogue (a kept tray's name, which stays while others are deleted:
    // its place may not), case aside.
    static QString solvePosition(const std::string &key);
    static void setSolvePosition(const std::string &key, const QString &text);
};

} // namespace tw
