#pragma once

#include "app/Steps.h"
#include "app/TrayPicture.h"
#include "base/Integer.h"
#include "pieces/Painter.h"
#include "pieces/PieceState.h"
#include "solutions/Library.h"

#include <QObject>
#include <QRectF>
#include <QString>

#include <string_view>

namespace tw {

struct SharedState;
class Advice;

// What the "Display" tab shows and how it moves through a tray's solutions:
// the board change, the empty tray, the row of the pieces, and the steps
// (first, last, next, previous, a jump by number). Paints on its screen in
// twips and keeps SolutionNo equal to the position of SolutionSet's cursor.
// The window shows what it reports (the number, which steps can be used)
// and shows its messages.
// Where a kept tray stands in the area (twips): framed, centred, its unit
// squares the five's where it fits, else smaller, on the whole pixels of a
// screen at 1x and 2x (15 twips a pixel at 96 dpi).
TrayGeometry fittedGeometry(const Tray &tray, const QRectF &area);

class SolutionBrowser : public QObject
{
    Q_OBJECT

public:
    // advice: what to tell about a database that fails.
    SolutionBrowser(SharedState &state, const Advice &advice);

    // The user's kept trays, which the boards after the five name in their
    // order (keptBoard); none: only the five.
    void setKeptTrays(const std::vector<KeptTray> *trays) { m_keptTrays = trays; }
    const std::vector<KeptTray> &keptTrays() const;
    // The kept tray shown, or none when it is one of the five.
    const KeptTray *kept() const { return m_kept; }

    // The window's surface, painted in twips; none paints nothing.
    void setScreen(Canvas *screen) { m_screen = screen; }
    // The pieces' palette and letters.
    void setLook(Appearance look) { m_look = look; }
    Appearance look() const { return m_look; }
    // Whether the "Display" tab is open: only there are solutions painted
    // (OutputMode 0); on the "Print" tab the tray area stays blank.
    void setDisplaying(bool displaying) { m_displaying = displaying; }
    bool displaying() const { return m_displaying; }
    // Where the current tray's cell (0, 0) stands and its unit, twips.
    TrayGeometry trayGeometry() const;

    // --- the picture ---
    // The empty tray with its grey frame, on the "Display" tab only.
    void DrawTray();
    // The twelve pieces in a row above the tray, each in its first
    // orientation.
    void DrawPieceRow();
    // Blanks the area where the trays stand.
    void clearTrayArea();

    // --- moving ---
    // Makes a board current (0..4, or a kept tray's) and selects its solutions; solution 1 is
    // current and, on the "Display" tab, shown. When the tray cannot be
    // read, says so and leaves no steps; returns false then.
    bool changeBoard(Integer board);
    // Draws the record under the cursor (on the "Display" tab) and reports
    // the number and the steps. A record that cannot be shown raises
    // cannotShow, leaves the empty tray under its number, then says why.
    void ShowSolution();
    void first();
    void last();
    // One step forward (+1) or back (-1). Returns whether a further step the
    // same way may follow: false at the end of the set, when the solution
    // could not be shown, or when there was no step to take.
    bool step(int direction);
    // The jump to the number typed: false, moving nothing, when the text is
    // not a solution number of the tray (1..count, halves rounded to even).
    bool jump(std::string_view text);
    // The jump to solution n: false, moving nothing, when the tray has no
    // solution n.
    bool goTo(Long n);

    Steps steps() const;
    // Where the user is, as a screen reader tells it: "Solution 12 of 2339",
    // or nothing when no tray could be read.
    QString position() const;
    // The tray picture in words: the tray, the solution and its rows of
    // letters.
    QString trayDescription() const;
    // The solution shown, on its own in the look in use, for the clipboard
    // and the exports; why not, when its record is not a tiling.
    Expected<TrayPicture, DecodeError> picture() const { return picture(m_look); }
    Expected<TrayPicture, DecodeError> picture(Appearance look) const;
    // The tray's name, "10 x 6" or a kept tray's.
    QString trayName() const;
    // What the number box shows: the solution number, or nothing when no
    // tray could be read.
    QString number() const;
    Long count() const;

    // The framed tray on the window's surface, twips.
    QRectF frameArea() const;
    // The areas of the window's surface, twips.
    static QRectF trayArea();

signals:
    // The number or the steps changed.
    void moved();
    // A part of the surface was painted (twips).
    void painted(QRectF area);
    // A solution could not be shown: whatever repeats must stop, before the
    // message comes.
    void cannotShow();
    void message(const QString &text);

private:
    // ShowSolution, telling whether the record could be shown.
    bool showCurrent();
    void showNoSolution();

    // Solution n of the kept tray shown.
    Tiling keptTiling(Long n) const;

    SharedState &state;
    const Advice &m_advice;
    const std::vector<KeptTray> *m_keptTrays = nullptr;
    const KeptTray *m_kept = nullptr;
    PieceState m_board;
    Canvas *m_screen = nullptr;
    Appearance m_look;
    bool m_displaying = true;
};

} // namespace tw
