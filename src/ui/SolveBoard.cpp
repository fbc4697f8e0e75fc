#include "ui/SolveBoard.h"

#include "base/Units.h"
#include "pieces/Painter.h"
#include "pieces/PieceTables.h"
#include "preview/QtCanvas.h"
#include "preview/QtColour.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tw {

SolveBoard::SolveBoard(SolveSession &session, Appearance look, QWidget *parent)
    : QWidget(parent), m_session(session), m_hand(session), m_look(look)
{
    setObjectName(QStringLiteral("picSolve"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setAccessibleName(QStringLiteral("Tray"));
    shown(true);
}

SolveLayout SolveBoard::layout() const
{
    const Tiling &t = m_session.position();
    return solveLayout(t.cols, t.rows, width(), height(), devicePixelRatioF());
}

bool SolveBoard::shown(bool did)
{
    if (did) {
        setAccessibleDescription(QString::fromStdString(m_hand.description()));
        update();
    }
    return did;
}

bool SolveBoard::told(bool did)
{
    if (shown(did))
        emit changed();
    return did;
}

void SolveBoard::setCompletion(std::optional<Tiling> tiling)
{
    m_completion = std::move(tiling);
    update();
}

void SolveBoard::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (held() && event->button() == Qt::RightButton)
        return turnHeld(+1);
    if (held() && event->button() == Qt::MiddleButton)
        return flipHeld();
    if (event->button() != Qt::LeftButton)
        return;
    const SolveLayout l = layout();
    const auto [c, r] = l.cellAt(event->position());
    if (!m_hand.pickUp(c, r))
        m_hand.pickFromBand(l.letterAt(event->position()), c, r);
    told(true);
}

void SolveBoard::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        const auto [c, r] = layout().cellAt(event->position());
        shown(m_hand.moveHeldTo(c, r));
    }
}

void SolveBoard::mouseReleaseEvent(QMouseEvent *event)
{
    if (!held() || event->button() != Qt::LeftButton)
        return;
    const auto [c, r] = layout().cellAt(event->position());
    m_hand.release(c, r);
    told(true);
}

void SolveBoard::wheelEvent(QWheelEvent *event)
{
    if (!held() || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    turnHeld(event->angleDelta().y() < 0 ? +1 : -1);
    event->accept();
}

void SolveBoard::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text().toUpper();
    const int key = event->key();
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
        moveHeld(key == Qt::Key_Left    ? -1
                 : key == Qt::Key_Right ? 1
                                        : 0,
                 key == Qt::Key_Up     ? -1
                 : key == Qt::Key_Down ? 1
                                       : 0);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!layHeld())
            m_beep ? m_beep() : QApplication::beep();
    } else if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        takeBackSelected();
    } else if (key == Qt::Key_R) {
        turnHeld(event->modifiers() & Qt::ShiftModifier ? -1 : +1);
    } else if (key == Qt::Key_M) {
        flipHeld();
    } else if (key == Qt::Key_Escape && held()) {
        dropHeld();
    } else if (text.size() == 1 && pieceOfLetter(text[0].toLatin1()) >= 0 &&
               !(event->modifiers() & Qt::ControlModifier)) {
        pick(text[0].toLatin1());
    } else {
        QWidget::keyPressEvent(event);
    }
}

void SolveBoard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const SolveLayout l = layout();
    const double twips = TwipsPerInch / logicalDpiX(); // per pixel
    const Tiling &position = m_session.position();
    const Tiling shown = m_hand.shown();
    {
        painter.save();
        QtCanvas canvas(painter, logicalDpiX(), devicePixelRatioF());
        const TrayGeometry where{l.tray.x() * twips, l.tray.y() * twips,
                                 static_cast<Single>(l.unit * twips)};
        paintFrame(canvas, where, position.cols, position.rows);
        if (m_completion) {
            // The tiling shown, pale under the pieces laid.
            painter.setOpacity(0.35);
            paintTiling(canvas, *m_completion, where, m_look);
            painter.setOpacity(1);
            for (const Placement &p : shown.placements)
                paintPiece(canvas, p, position.stride(), where, m_look);
        } else {
            paintTiling(canvas, shown, where, m_look);
        }
        // The pieces not laid, at half size in the band.
        const Single half = static_cast<Single>(l.unit * twips / 2);
        for (const auto &[letter, shape] : m_hand.band()) {
            Tiling alone{0, 5, 5, {}, {}};
            const QRect slot = l.bandRect(letter);
            // Its first square as low as the cells above it need.
            int above = 0;
            for (const ColumnRow &d : cellsOf(shape))
                above = std::max(above, -d.row);
            if (const auto p = placeOn(alone, shape, 0, above))
                paintPiece(canvas, *p, alone.stride(),
                           {slot.x() * twips + half / 4, slot.y() * twips + half / 4, half},
                           m_look);
        }
        painter.restore();
    }
    // Each laid piece outlined, so that neighbours of close colours stay
    // apart on a projector.
    const double line =
        std::max(1.0, std::round(l.unit / 16 * devicePixelRatioF())) / devicePixelRatioF();
    for (const Placement &p : shown.placements)
        outline(painter, p, position.stride(), QPen(QColor(32, 32, 32), line));
    // A dead end: the piece most recently laid, striped in black or white,
    // whichever stands out on its colour, and outlined in red.
    if (const Placement *dead = m_hand.deadEnd()) {
        const Placement &p = *dead;
        const Colour colour = colourOf(p.shape, m_look.palette);
        QPainterPath cells;
        cells.setFillRule(Qt::WindingFill); // cells that touch by a pixel stay whole
        for (int k = 0; k < p.cellCount; ++k)
            cells.addRect(l.cellRect(p.cells[static_cast<std::size_t>(k)] / position.stride(),
                                     p.cells[static_cast<std::size_t>(k)] % position.stride()));
        painter.save();
        painter.setClipPath(cells);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(qtColour(letterColourOn(colour)), std::max(2.0, l.unit / 10)));
        const QRectF box = cells.boundingRect();
        for (double d = -box.height(); d < box.width(); d += l.unit / 3)
            painter.drawLine(QPointF(box.left() + d, box.bottom()),
                             QPointF(box.left() + d + box.height(), box.top()));
        painter.restore();
        outline(painter, p, position.stride(), QPen(Qt::red, std::max(3.0, l.unit / 8)));
    }
    // The piece held, where it would go: in its colour, or refused.
    if (const auto &h = held()) {
        const bool fits = heldFits();
        QColor fill = qtColour(colourOf(h->shape, m_look.palette));
        fill.setAlpha(fits ? 200 : 90);
        // Filled as one shape, so that cells which touch by a pixel show no
        // darker seam.
        QPainterPath piece;
        piece.setFillRule(Qt::WindingFill);
        for (const ColumnRow &d : cellsOf(h->shape))
            piece.addRect(l.cellRect(h->column + d.column, h->row + d.row));
        painter.fillPath(piece.simplified(), fill);
        if (!fits)
            for (const ColumnRow &d : cellsOf(h->shape)) {
                const QRect cell = l.cellRect(h->column + d.column, h->row + d.row);
                painter.setPen(QPen(Qt::red, 2));
                painter.drawLine(cell.topLeft(), cell.bottomRight());
                painter.drawLine(cell.topRight(), cell.bottomLeft());
            }
    }
}

void SolveBoard::outline(QPainter &painter, const Placement &p, int stride, QPen pen) const
{
    const auto covers = [&p, stride](int column, int row) {
        return column >= 0 && row >= 0 && row < stride - 1 &&
               std::find(p.cells.begin(), p.cells.begin() + p.cellCount, column * stride + row) !=
                   p.cells.begin() + p.cellCount;
    };
    const SolveLayout l = layout();
    painter.save();
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    // The pen's middle runs along the piece's edge, a half width inside.
    const double in = pen.widthF() / 2;
    for (int k = 0; k < p.cellCount; ++k) {
        const int c = p.cells[static_cast<std::size_t>(k)] / stride;
        const int r = p.cells[static_cast<std::size_t>(k)] % stride;
        const QRectF cell = QRectF(l.cellRect(c, r)).adjusted(in, in, -in, -in);
        if (!covers(c, r - 1))
            painter.drawLine(cell.topLeft(), cell.topRight());
        if (!covers(c, r + 1))
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        if (!covers(c - 1, r))
            painter.drawLine(cell.topLeft(), cell.bottomLeft());
        if (!covers(c + 1, r))
            painter.drawLine(cell.topRight(), cell.bottomRight());
    }
    painter.restore();
}

} // namespace tw
