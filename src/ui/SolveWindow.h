#pragma once

#include "app/SolveSession.h"
#include "pieces/Appearance.h"
#include "ui/WindowHooks.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPainter;
class QPen;
class QPushButton;

namespace tw {

struct SharedState;

// The tray the user lays pieces on, large, with the pieces not yet laid in
// a band below it. A piece is picked with the mouse or by typing its
// letter, moved by dragging or with the arrow keys, turned (right button,
// wheel, R) and flipped (middle button, M), laid where it fits (release,
// Enter), and taken back (dragged off the tray, Delete). The tray's unit is
// a whole number of device pixels, as large as the widget allows.
class SolveBoard : public QWidget
{
    Q_OBJECT

public:
    SolveBoard(SolveSession &session, Appearance look, QWidget *parent);
    // How the board tells that a key did nothing (the system's beep unless set).
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // The piece picked: its orientation and the cell its first square is
    // over (off the tray, maybe); none when nothing is picked.
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

    void pick(char letter);
    void moveHeld(int columns, int rows);
    void turnHeld(int direction);
    void flipHeld();
    // Lays the piece held where it is: false, keeping it, when it does not
    // fit there.
    bool layHeld();
    void dropHeld();
    // Takes back the piece selected (the last picked or laid).
    void takeBackSelected();
    // A tiling that completes the position, drawn under the laid pieces;
    // none for none.
    void setCompletion(std::optional<Tiling> tiling);

    // Where cell (column, row) of the tray is, in the widget's pixels.
    QRect cellRect(int column, int row) const;
    // Where the band shows a piece not laid (letter), in pixels.
    QRect bandRect(char letter) const;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::function<void()> m_beep;
    struct Layout
    {
        double unit;  // pixels
        QPointF tray; // cell (0, 0)'s corner
        QPointF band; // the band's corner
    };
    Layout layout() const;
    // The cell under a point of the widget, or of the band.
    std::pair<int, int> cellAt(QPointF point) const;
    void followMouse(QPointF point);
    // The piece held turned a quarter clockwise, or flipped, about the cell
    // held.
    void reshapeHeld(bool flip);
    // Draws the outer edges of a laid piece with pen, inside its cells.
    void outline(QPainter &painter, const Placement &p, int stride, QPen pen) const;
    Integer orientationOf(char letter) const;
    void describe();

    SolveSession &m_session;
    Appearance m_look;
    std::optional<Held> m_held;
    std::array<Integer, 13> m_turned{}; // each piece's orientation in the band
    char m_selected = 0;
    std::optional<Tiling> m_completion;
};

// "Solve It Yourself": the board, a line that always says how many
// tilings still complete the position, Hint, Undo, Redo, the tilings that
// remain to step through, Save and Open, and Show in Main Window once the
// tray is full or a tiling is shown. F11 toggles full screen. The position
// of each tray is kept for the next time.
class SolveWindow : public QDialog
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void(const QString &)> message;
        std::function<QString(const QString &start, const QString &filter)> askSavePath;
        std::function<QString(const QString &start, const QString &filter)> askOpenPath;
        // Shows solution n of the tray in the main window.
        std::function<void(Integer board, Integer n)> show;
        // The solution database, which a position is never saved over.
        std::string database;
        std::function<void()> beep;
    };

    SolveWindow(std::unique_ptr<TilingIndex> index, Appearance look, Hooks hooks, QWidget *parent);
    ~SolveWindow() override;

    SolveSession &session() { return m_session; }
    SolveBoard &board() { return *m_board; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow();
    void browse(int step);
    void save();
    void open();

    std::unique_ptr<TilingIndex> m_index;
    SolveSession m_session;
    Hooks m_hooks;
    SolveBoard *m_board;
    QLabel *lblHint;
    QLabel *lblCount;
    QLabel *lblBrowse;
    QPushButton *cmdHint, *cmdUndo, *cmdRedo, *cmdPrevTiling, *cmdNextTiling, *cmdShow;
    int m_browsing = -1; // the remaining tiling shown, -1 for none
};

} // namespace tw
