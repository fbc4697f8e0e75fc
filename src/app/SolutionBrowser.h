#pragma once

#include "app/Steps.h"
#include "app/TrayPicture.h"
#include "base/Integer.h"
#include "pieces/Painter.h"
#include "solutions/Catalogue.h"

#include <QObject>
#include <QRectF>
#include <QString>

#include <string_view>

namespace tw {

struct SharedState;

// Where a tray without a place of its own stands in the area (twips):
// framed, centred, its unit squares the five's where it fits, else smaller,
// on the whole pixels of a screen at 1x and 2x (15 twips a pixel at 96 dpi).
TrayGeometry fittedGeometry(const Tray &tray, const QRectF &area);

// What the "Display" tab shows and how it moves through a tray's solutions:
// the board change, the empty tray, the row of the pieces, and the steps
// (first, last, next, previous, a jump by number). Paints the catalogue's
// tilings on its screen in twips and moves the session's cursor (BoardIndex
// and SolutionNo). The window shows what it reports (the number, which
// steps can be used).

class SolutionBrowser : public QObject
{
    Q_OBJECT

public:
    SolutionBrowser(const Catalogue &catalogue, SharedState &state);

    // The tray shown, and how the catalogue holds it.
    const Catalogue::Entry &entry() const;

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
    // Makes the catalogue's tray t current, on solution 1, shown on the
    // "Display" tab. False, changing nothing, for no such tray.
    bool changeBoard(Integer t);
    // Draws the solution under the cursor (on the "Display" tab) and
    // reports the number and the steps.
    void ShowSolution();
    void first();
    void last();
    // One step forward (+1) or back (-1). Returns whether a further step the
    // same way may follow: false at the end of the set, or when there was no
    // step to take.
    bool step(int direction);
    // The jump to the number typed: false, moving nothing, when the text is
    // not a solution number of the tray (1..count, halves rounded to even).
    bool jump(std::string_view text);
    // The jump to solution n: false, moving nothing, when the tray has no
    // solution n.
    bool goTo(Long n);

    Steps steps() const;
    // Where the user is, as a screen reader tells it: "Solution 12 of 2339",
    // or nothing when the tray has no solution.
    QString position() const;
    // The tray picture in words: the tray, the solution and its rows of
    // letters.
    QString trayDescription() const;
    // The solution shown, on its own in the look in use, for the clipboard
    // and the exports.
    TrayPicture picture() const { return picture(m_look); }
    TrayPicture picture(Appearance look) const;
    // The tray's name, "10 x 6" or a kept tray's.
    QString trayName() const;
    // What the number box shows: the solution number, or nothing when the
    // tray has none.
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

private:
    const Catalogue &m_catalogue;
    SharedState &state;
    Canvas *m_screen = nullptr;
    Appearance m_look;
    bool m_displaying = true;
};

} // namespace tw
