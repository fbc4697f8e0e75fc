#pragma once

#include "app/SolveSession.h"

#include <QPointF>
#include <QRect>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// The pieces by number, as the band shows them; O the square.
inline constexpr std::string_view SolveLetters = "XIVWTZUYNLFPO";
// The piece numbered by its letter in SolveLetters; -1 for none.
int pieceOfLetter(char letter);

// Where Solve It Yourself draws a tray of cols x rows in a widget of
// width x height pixels at ratio device pixels to a pixel: the tray, and
// below it a band of the pieces not laid at half size. A unit is a whole
// number of device pixels, as large as the widget allows, so that every
// edge is sharp.
struct SolveLayout
{
    double unit;  // pixels
    QPointF tray; // cell (0, 0)'s corner
    QPointF band; // the band's corner

    // Where cell (column, row) of the tray is.
    QRect cellRect(int column, int row) const;
    // Where the band shows the piece of letter.
    QRect bandRect(char letter) const;
    // The cell under point, on the tray or off it.
    std::pair<int, int> cellAt(QPointF point) const;
    // The letter of the band slot under point, or 0.
    char letterAt(QPointF point) const;
};
SolveLayout solveLayout(int cols, int rows, double width, double height, double ratio);

// The hand of Solve It Yourself: the piece picked and where it is over
// the tray, how each piece lies in the band, and the piece selected (the
// last picked or laid). It asks the session, which holds the one rule of
// what may be laid, and lays through it, so that moving a laid piece is
// one step to undo. Each call that changes what the tray shows says so.
class SolveHand
{
public:
    explicit SolveHand(SolveSession &session);

    // The piece picked: its orientation and the cell its first square is
    // over (off the tray, maybe).
    struct Held
    {
        Integer shape;
        int column, row;
        int grabColumn = 0, grabRow = 0; // the cell held, from the first square
        std::optional<Placement> from;   // the laid piece it was picked up from
    };
    const std::optional<Held> &held() const { return m_held; }
    // Whether the piece held could be laid where it is.
    bool heldFits() const;
    char selected() const { return m_selected; }
    // How the piece of letter lies in the band, and so when next picked.
    Integer orientationOf(char letter) const;

    // Picks the piece of letter: a laid one where it lies, another at the
    // first place it fits (the tray's middle when none), held by its middle.
    bool pick(char letter);
    // The laid piece covering (column, row) picked up, held by that cell.
    bool pickUp(int column, int row);
    // The piece of letter taken from the band, held by its first square over
    // (column, row).
    bool pickFromBand(char letter, int column, int row);
    bool moveHeld(int columns, int rows);
    // The piece held moved so that the cell held is over (column, row).
    bool moveHeldTo(int column, int row);
    bool turnHeld(int direction);
    bool flipHeld();
    // Lays the piece held where it is: false, keeping it, when it does not
    // fit there.
    bool layHeld();
    bool dropHeld();
    // Let go over (column, row): laid where it fits; dragged off the tray,
    // a laid piece is taken back; else it goes back where it was.
    void release(int column, int row);
    // Takes back the piece selected.
    bool takeBackSelected();

    // The position as it shows while a laid piece is held: without it.
    Tiling shown() const;
    // The pieces the band shows, by letter, each as it lies: those not laid
    // nor held.
    std::vector<std::pair<char, Integer>> band() const;
    // The dead end to mark: the piece most recently laid once no tiling
    // completes the position, unless it is the one held.
    const Placement *deadEnd() const;
    // What a screen reader says of the tray.
    std::string description() const;

private:
    void reshapeHeld(bool flip);

    SolveSession &m_session;
    std::optional<Held> m_held;
    std::array<Integer, 13> m_turned{}; // each piece's orientation in the band
    char m_selected = 0;
};

// An orientation's cells from its first square, (column, row); the
// square's too.
std::vector<ColumnRow> cellsOf(Integer shape);

} // namespace tw
