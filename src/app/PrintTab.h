#pragma once

#include "base/Expected.h"
#include "base/Integer.h"
#include "report/Report.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

namespace tw {

struct SharedState;
class Catalogue;
class PreviewInterface;

// What a check says of an entry: it stands, it gets a beep (not a number),
// or it gets a message (out of range or order).
struct Verdict
{
    enum class Kind { Accepted, Beep, Message };
    Kind kind = Kind::Accepted;
    QString message;

    bool accepted() const { return kind == Kind::Accepted; }
};

// The "Print" tab's options and their checks, and the report run from them:
// the range of solutions, the side of a unit square, the page orientation
// and the rendering. The window, the command line, the benchmarks and the
// tests all set a report up through it. Reports on the tray the session
// shows (BoardIndex) and draws into page (the preview control); owns the
// report's own state: the unit square's side, the largest that fits, the
// rendering and the look.
class PrintTab
{
public:
    PrintTab(const Catalogue &catalogue, SharedState &state, PreviewInterface &page);

    // Sets the catalogue's tray t up for a report as choosing it and opening
    // the "Print" tab do: portrait, monochrome and the tray's default side,
    // which it returns (inches).
    Single prepare(Integer t);

    // Opening the "Print" tab: portrait, monochrome and the board's default
    // side, which it returns (inches) for the side-length box.
    Single open();

    // The progress line for a tray drawn ("Printing Solution 12\n on Page
    // 1"), at most every 50 ms so that showing it does not slow the run,
    // and always for the last; nothing in between.
    std::optional<QString> progressLine(Integer solution, Integer page, bool last);

    // The tray's default side becomes the unit square's (ResetUnitSize):
    // its own, or for a tray without one as large as the 8 x 8 tray is,
    // within the page; returns it, inches, for the side-length box.
    Single ResetUnitSize();

    // 0 portrait, 1 landscape: the page turns and the largest side that fits
    // (MaxUnitSize) follows it. A side already accepted is kept.
    void setOrientation(int index);
    // 0 colour, 1 monochrome.
    void setRender(int index);
    // The pieces' palette and letters.
    void setLook(Appearance look) { m_look = look; }

    Single UnitSize() const { return m_unitSize; }       // twips
    Single MaxUnitSize() const { return m_maxUnitSize; } // inches
    PaperLook paperLook() const;

    // The range boxes, checked at every keystroke against the tray's count
    // and each other (from..to as typed; no lower bound).
    Verdict checkStart(const QString &from, const QString &to) const;
    Verdict checkEnd(const QString &from, const QString &to) const;
    // The side length in inches, checked when its box is left: a number
    // above 0.001 and at most MaxUnitSize. An accepted side becomes UnitSize.
    Verdict checkSide(const QString &inches);

    // The boxes' entries as Preview checks them before a report: the first
    // box that does not stand, and why. An end below 1, which selects
    // nothing, gets a beep.
    enum class Box { Start, End, Side };
    struct Refusal
    {
        Box box;
        Verdict verdict;
    };
    std::optional<Refusal> checkBeforeReport(const QString &from, const QString &to,
                                             const QString &inches);

    // Draws the report of the solutions whose numbers lie within from..to
    // as typed (2.5 to 3.5 is solution 3) at the accepted side, then runs
    // whileNarrowed (the preview is shown).
    std::optional<ReportError> run(const QString &from, const QString &to, bool landscape,
                                   const ReportProgress &progress = {},
                                   const std::function<void()> &whileNarrowed = {});

    // What the last report run holds, "Pentominoes 10 x 6, 1 to 100".
    QString sheetName() const { return m_sheetName; }

private:
    Verdict checkRange(bool start, const QString &from, const QString &to) const;

    Long count() const;

    const Catalogue &m_catalogue;
    SharedState &state;
    PreviewInterface &m_page;
    Single m_unitSize = 0;
    Single m_maxUnitSize = 0;
    Integer m_renderMode = 1;
    Appearance m_look;
    QString m_sheetName;
    QElapsedTimer m_sinceProgress;
};

} // namespace tw
