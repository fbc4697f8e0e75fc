#pragma once

#include "app/SolveHand.h"
#include "pieces/Appearance.h"

#include <QWidget>

#include <functional>
#include <optional>

class QPainter;
class QPen;

namespace tw {

// The tray the user lays pieces on, large, with the pieces not yet laid in
// a band below it. A piece is picked with the mouse or by typing its
// letter, moved by dragging or with the arrow keys, turned (right button,
// wheel, R) and flipped (middle button, M), laid where it fits (release,
// Enter), and taken back (dragged off the tray, Delete). The hand and the
// layout it is drawn on are SolveHand's and SolveLayout's; this is their
// view and their events.
class SolveBoard : public QWidget
{
    Q_OBJECT

public:
    SolveBoard(SolveSession &session, Appearance look, QWidget *parent);
    // How the board tells that a key did nothing (the system's beep unless set).
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    using Held = SolveHand::Held;
    const std::optional<Held> &held() const { return m_hand.held(); }
    bool heldFits() const { return m_hand.heldFits(); }

    void pick(char letter) { told(m_hand.pick(letter)); }
    void moveHeld(int columns, int rows) { shown(m_hand.moveHeld(columns, rows)); }
    void turnHeld(int direction) { shown(m_hand.turnHeld(direction)); }
    void flipHeld() { shown(m_hand.flipHeld()); }
    bool layHeld() { return told(m_hand.layHeld()); }
    void dropHeld()
    {
        m_hand.dropHeld();
        told(true);
    }
    void takeBackSelected() { told(m_hand.takeBackSelected()); }
    // A tiling that completes the position, drawn under the laid pieces;
    // none for none.
    void setCompletion(std::optional<Tiling> tiling);

    // Where cell (column, row) of the tray is, in the widget's pixels.
    QRect cellRect(int column, int row) const { return layout().cellRect(column, row); }
    // Where the band shows a piece not laid (letter), in pixels.
    QRect bandRect(char letter) const { return layout().bandRect(letter); }

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
    SolveLayout layout() const;
    // After a call that did something: drawn again and described; told,
    // also said to the window.
    bool shown(bool did);
    bool told(bool did);
    // Draws the outer edges of a laid piece with pen, inside its cells.
    void outline(QPainter &painter, const Placement &p, int stride, QPen pen) const;

    std::function<void()> m_beep;
    SolveSession &m_session;
    SolveHand m_hand;
    Appearance m_look;
    std::optional<Tiling> m_completion;
};

} // namespace tw
