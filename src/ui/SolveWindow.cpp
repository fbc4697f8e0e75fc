#include "ui/SolveWindow.h"

#include "app/Choices.h"
#include "app/CommandLine.h"
#include "app/FindTiling.h"
#include "app/Program.h"
#include "base/Files.h"
#include "base/NumberText.h"
#include "pieces/Painter.h"
#include "pieces/PieceTables.h"
#include "preview/Fonts.h"
#include "solutions/Boards.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

// "the 10 x 6 tray" as a sentence begins it.
QString capitalised(const std::string &text)
{
    QString s = QString::fromStdString(text);
    return s.left(1).toUpper() + s.mid(1);
}

constexpr std::string_view Letters = "XIVWTZUYNLFPO"; // by piece number; O the square
constexpr int BandColumns = 7;
constexpr double Slot = 2.5; // a band slot's side, units: its pieces at half size

// A canvas on a painter whose coordinates are twips.
class PainterCanvas : public Canvas
{
public:
    explicit PainterCanvas(QPainter &painter) : m_painter(painter) {}
    void fillBox(double x, double y, double width, double height, Colour colour) override
    {
        m_painter.fillRect(QRectF(x, y, width, height), qtColour(colour));
    }
    void drawLetter(double x, double y, double side, char letter, Colour colour) override
    {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.fillPath(letterPath(QRectF(x, y, side, side), letter), qtColour(colour));
        m_painter.restore();
    }
    static QColor qtColour(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

private:
    QPainter &m_painter;
};

int pieceOfLetter(char letter)
{
    const auto at = Letters.find(letter);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int pieceOf(Integer shape)
{
    return shape == SquarePiece ? 12 : orientation(shape).Piece;
}

// An orientation's cells from its first square, (column, row).
std::vector<ColumnRow> cellsOf(Integer shape)
{
    if (shape == SquarePiece)
        return {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const auto s = squareSteps(orientation(shape));
    return {{0, 0}, s[0], s[1], s[2], s[3]};
}

// A cell turned a quarter clockwise about the first square, or reflected
// left to right.
ColumnRow moved(ColumnRow c, bool flip)
{
    return flip ? ColumnRow{-c.column, c.row} : ColumnRow{-c.row, c.column};
}

// The orientation the cells make once turned or reflected.
Integer reshaped(Integer shape, bool flip)
{
    if (shape == SquarePiece)
        return shape;
    std::vector<ColumnRow> cells = cellsOf(shape);
    for (ColumnRow &c : cells)
        c = moved(c, flip);
    return orientationOf(cells).value_or(shape);
}

// Where cell held (from shape's first square) lies in next, the shape
// turned or reflected, from next's first square: the piece turns about the
// cell the pointer holds.
ColumnRow carried(Integer shape, Integer next, bool flip, ColumnRow held)
{
    if (shape == SquarePiece)
        return held;
    const auto sorted = [](std::vector<ColumnRow> cells, ColumnRow from) {
        std::vector<std::pair<int, int>> out;
        for (const ColumnRow &c : cells)
            out.emplace_back(c.column - from.column, c.row - from.row);
        std::sort(out.begin(), out.end());
        return out;
    };
    std::vector<ColumnRow> cells = cellsOf(shape);
    for (ColumnRow &c : cells)
        c = moved(c, flip);
    const auto target = sorted(cellsOf(next), {0, 0});
    const ColumnRow to = moved(held, flip);
    for (const ColumnRow &first : cells)
        if (sorted(cells, first) == target)
            return {to.column - first.column, to.row - first.row};
    return held;
}

// The cell of shape nearest its middle, from its first square: where a
// piece picked by its letter is held, so that it turns in place.
ColumnRow middleOf(Integer shape)
{
    const std::vector<ColumnRow> cells = cellsOf(shape);
    double column = 0, row = 0;
    for (const ColumnRow &c : cells) {
        column += c.column;
        row += c.row;
    }
    column /= static_cast<double>(cells.size());
    row /= static_cast<double>(cells.size());
    return *std::min_element(cells.begin(), cells.end(), [&](ColumnRow a, ColumnRow b) {
        return std::hypot(a.column - column, a.row - row) <
               std::hypot(b.column - column, b.row - row);
    });
}

} // namespace

SolveBoard::SolveBoard(SolveSession &session, Appearance look, QWidget *parent)
    : QWidget(parent), m_session(session), m_look(look)
{
    setObjectName(QStringLiteral("picSolve"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    for (int piece = 0; piece < 12; ++piece)
        m_turned[static_cast<std::size_t>(piece)] =
            catalogue()[static_cast<std::size_t>(piece)].front().Shape;
    m_turned[12] = SquarePiece;
    setAccessibleName(QStringLiteral("Tray"));
    describe();
}

SolveBoard::Layout SolveBoard::layout() const
{
    const Tiling &t = m_session.position();
    const double wide = std::max<double>(t.cols + 2, BandColumns * Slot);
    const double high = t.rows + 2 + 2 * Slot + 0.5;
    // Whole device pixels to a unit, so that every edge is sharp.
    const double ratio = devicePixelRatioF();
    const double unit =
        std::max(1.0, std::floor(std::min(width() / wide, height() / high) * ratio)) / ratio;
    const double left = std::round((width() - wide * unit) / 2 * ratio) / ratio;
    const double top = std::round((height() - high * unit) / 2 * ratio) / ratio;
    return {unit, QPointF(left + (wide - t.cols) / 2 * unit, top + unit),
            QPointF(left + (wide - BandColumns * Slot) / 2 * unit, top + (t.rows + 2.5) * unit)};
}

QRect SolveBoard::cellRect(int column, int row) const
{
    const Layout l = layout();
    return QRectF(l.tray + QPointF(column * l.unit, row * l.unit), QSizeF(l.unit, l.unit))
        .toAlignedRect();
}

QRect SolveBoard::bandRect(char letter) const
{
    const Layout l = layout();
    const int slot = pieceOfLetter(letter);
    return QRectF(l.band + QPointF(slot % BandColumns * Slot * l.unit,
                                   slot / BandColumns * Slot * l.unit),
                  QSizeF(Slot * l.unit, Slot * l.unit))
        .toAlignedRect();
}

std::pair<int, int> SolveBoard::cellAt(QPointF point) const
{
    const Layout l = layout();
    return {static_cast<int>(std::floor((point.x() - l.tray.x()) / l.unit)),
            static_cast<int>(std::floor((point.y() - l.tray.y()) / l.unit))};
}

Integer SolveBoard::orientationOf(char letter) const
{
    return m_turned[static_cast<std::size_t>(pieceOfLetter(letter))];
}

bool SolveBoard::heldFits() const
{
    return m_held && m_session.fits(m_held->shape, m_held->column, m_held->row,
                                    m_held->from ? &*m_held->from : nullptr);
}

void SolveBoard::pick(char letter)
{
    const int piece = pieceOfLetter(letter);
    if (piece < 0 || (piece == 12 && !m_session.index().tray().takesTheSquare()))
        return;
    m_selected = letter;
    // A laid piece is picked up where it lies.
    for (const Placement &p : m_session.position().placements)
        if (pieceOf(p.shape) == piece) {
            const int stride = m_session.position().stride();
            m_held = Held{p.shape, p.cells[0] / stride, p.cells[0] % stride, 0, 0, p};
            describe();
            update();
            emit changed();
            return;
        }
    // Another comes to the first place where it fits, or the tray's middle.
    const Integer shape = m_turned[static_cast<std::size_t>(piece)];
    const ColumnRow middle = middleOf(shape);
    const Tiling &t = m_session.position();
    m_held = Held{shape,
                  (t.cols - 1) / 2 - middle.column,
                  (t.rows - 1) / 2 - middle.row,
                  middle.column,
                  middle.row,
                  std::nullopt};
    for (int at = 0; at < t.rows * t.cols; ++at)
        if (m_session.fits(shape, at % t.cols, at / t.cols)) {
            m_held->column = at % t.cols;
            m_held->row = at / t.cols;
            break;
        }
    describe();
    update();
    emit changed();
}

void SolveBoard::moveHeld(int columns, int rows)
{
    if (!m_held)
        return;
    m_held->column += columns;
    m_held->row += rows;
    describe();
    update();
}

void SolveBoard::reshapeHeld(bool flip)
{
    const Integer next = reshaped(m_held->shape, flip);
    const ColumnRow grab =
        carried(m_held->shape, next, flip, {m_held->grabColumn, m_held->grabRow});
    m_held->column += m_held->grabColumn - grab.column;
    m_held->row += m_held->grabRow - grab.row;
    m_held->grabColumn = grab.column;
    m_held->grabRow = grab.row;
    m_held->shape = next;
    m_turned[static_cast<std::size_t>(pieceOf(next))] = next;
}

void SolveBoard::turnHeld(int direction)
{
    if (!m_held)
        return;
    for (int k = 0; k < (direction > 0 ? 1 : 3); ++k)
        reshapeHeld(false);
    describe();
    update();
}

void SolveBoard::flipHeld()
{
    if (!m_held)
        return;
    reshapeHeld(true);
    describe();
    update();
}

bool SolveBoard::layHeld()
{
    if (!heldFits())
        return false;
    const Held held = *m_held;
    m_held.reset();
    if (held.from) {
        const int stride = m_session.position().stride();
        m_session.move(held.from->cells[0] / stride, held.from->cells[0] % stride, held.shape,
                       held.column, held.row);
    } else {
        m_session.lay(held.shape, held.column, held.row);
    }
    m_selected = Letters[static_cast<std::size_t>(pieceOf(held.shape))];
    describe();
    update();
    emit changed();
    return true;
}

void SolveBoard::dropHeld()
{
    m_held.reset();
    describe();
    update();
    emit changed();
}

void SolveBoard::takeBackSelected()
{
    for (const Placement &p : m_session.position().placements)
        if (m_selected && pieceOf(p.shape) == pieceOfLetter(m_selected)) {
            const int stride = m_session.position().stride();
            m_held.reset();
            m_session.takeBack(p.cells[0] / stride, p.cells[0] % stride);
            describe();
            update();
            emit changed();
            return;
        }
}

void SolveBoard::setCompletion(std::optional<Tiling> tiling)
{
    m_completion = std::move(tiling);
    update();
}

void SolveBoard::followMouse(QPointF point)
{
    const auto [c, r] = cellAt(point);
    m_held->column = c - m_held->grabColumn;
    m_held->row = r - m_held->grabRow;
    describe();
    update();
}

void SolveBoard::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (m_held && event->button() == Qt::RightButton)
        return turnHeld(+1);
    if (m_held && event->button() == Qt::MiddleButton)
        return flipHeld();
    if (event->button() != Qt::LeftButton)
        return;
    const auto [c, r] = cellAt(event->position());
    const Tiling &t = m_session.position();
    if (const Placement *p = t.at(c, r); p && c >= 0 && c < t.cols && r >= 0 && r < t.rows) {
        // A laid piece picked up, held by the cell under the mouse.
        const int stride = t.stride();
        m_held = Held{p->shape,
                      p->cells[0] / stride,
                      p->cells[0] % stride,
                      c - p->cells[0] / stride,
                      r - p->cells[0] % stride,
                      *p};
        m_selected = Letters[static_cast<std::size_t>(pieceOf(p->shape))];
    } else {
        for (char letter : Letters)
            if (bandRect(letter).contains(event->position().toPoint())) {
                pick(letter);
                if (m_held && !m_held->from) {
                    // Dragged from the band by its first square.
                    m_held->grabColumn = m_held->grabRow = 0;
                    followMouse(event->position());
                }
                break;
            }
    }
    update();
    emit changed();
}

void SolveBoard::mouseMoveEvent(QMouseEvent *event)
{
    if (m_held && (event->buttons() & Qt::LeftButton))
        followMouse(event->position());
}

void SolveBoard::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_held || event->button() != Qt::LeftButton)
        return;
    followMouse(event->position());
    const auto [c, r] = cellAt(event->position());
    const Tiling &t = m_session.position();
    const bool offTray = c < 0 || c >= t.cols || r < 0 || r >= t.rows;
    if (layHeld())
        return;
    // Dragged off the tray: taken back; refused on it: back where it was.
    if (offTray && m_held->from) {
        const int stride = t.stride();
        m_session.takeBack(m_held->from->cells[0] / stride, m_held->from->cells[0] % stride);
    }
    dropHeld();
}

void SolveBoard::wheelEvent(QWheelEvent *event)
{
    if (!m_held || event->angleDelta().y() == 0) {
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
    } else if (key == Qt::Key_Escape && m_held) {
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
    const Layout l = layout();
    const double twips = TwipsPerInch / logicalDpiX(); // per pixel
    const Tiling &position = m_session.position();
    Tiling shown = position;
    if (m_held && m_held->from)
        std::erase(shown.placements, *m_held->from);
    {
        painter.save();
        painter.scale(1 / twips, 1 / twips);
        PainterCanvas canvas(painter);
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
        const TrayGeometry half{0, 0, static_cast<Single>(l.unit * twips / 2)};
        for (char letter : Letters) {
            const int piece = pieceOfLetter(letter);
            const bool laid =
                std::any_of(shown.placements.begin(), shown.placements.end(),
                            [&](const Placement &p) { return pieceOf(p.shape) == piece; });
            if (laid || (piece == 12 && !m_session.index().tray().takesTheSquare()) ||
                (m_held && pieceOf(m_held->shape) == piece))
                continue;
            Tiling alone{0, 5, 5, {}, {}};
            const QRect slot = bandRect(letter);
            // Its first square as low as the cells above it need.
            int above = 0;
            for (const ColumnRow &d : cellsOf(m_turned[static_cast<std::size_t>(piece)]))
                above = std::max(above, -d.row);
            if (const auto p =
                    placeOn(alone, m_turned[static_cast<std::size_t>(piece)], 0, above)) {
                const TrayGeometry at{slot.x() * twips + half.unit / 4,
                                      slot.y() * twips + half.unit / 4, half.unit};
                paintPiece(canvas, *p, alone.stride(), at, m_look);
            }
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
    if (m_session.remaining().empty() && m_session.lastLaid() &&
        !(m_held && m_held->from && *m_held->from == *m_session.lastLaid())) {
        const Placement &p = *m_session.lastLaid();
        const Colour colour = colourOf(p.shape, m_look.palette);
        QPainterPath cells;
        cells.setFillRule(Qt::WindingFill); // cells that touch by a pixel stay whole
        for (int k = 0; k < p.cellCount; ++k)
            cells.addRect(cellRect(p.cells[static_cast<std::size_t>(k)] / position.stride(),
                                   p.cells[static_cast<std::size_t>(k)] % position.stride()));
        painter.save();
        painter.setClipPath(cells);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(
            QPen(PainterCanvas::qtColour(letterColourOn(colour)), std::max(2.0, l.unit / 10)));
        const QRectF box = cells.boundingRect();
        for (double d = -box.height(); d < box.width(); d += l.unit / 3)
            painter.drawLine(QPointF(box.left() + d, box.bottom()),
                             QPointF(box.left() + d + box.height(), box.top()));
        painter.restore();
        outline(painter, p, position.stride(), QPen(Qt::red, std::max(3.0, l.unit / 8)));
    }
    // The piece held, where it would go: in its colour, or refused.
    if (m_held) {
        const bool fits = heldFits();
        const Colour colour = colourOf(m_held->shape, m_look.palette);
        QColor fill = PainterCanvas::qtColour(colour);
        fill.setAlpha(fits ? 200 : 90);
        // Filled as one shape, so that cells which touch by a pixel show no
        // darker seam.
        QPainterPath piece;
        piece.setFillRule(Qt::WindingFill);
        for (const ColumnRow &d : cellsOf(m_held->shape))
            piece.addRect(cellRect(m_held->column + d.column, m_held->row + d.row));
        painter.fillPath(piece.simplified(), fill);
        for (const ColumnRow &d : cellsOf(m_held->shape)) {
            const QRect cell = cellRect(m_held->column + d.column, m_held->row + d.row);
            if (!fits) {
                painter.setPen(QPen(Qt::red, 2));
                painter.drawLine(cell.topLeft(), cell.bottomRight());
                painter.drawLine(cell.topRight(), cell.bottomLeft());
            }
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
    painter.save();
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    // The pen's middle runs along the piece's edge, a half width inside.
    const double in = pen.widthF() / 2;
    for (int k = 0; k < p.cellCount; ++k) {
        const int c = p.cells[static_cast<std::size_t>(k)] / stride;
        const int r = p.cells[static_cast<std::size_t>(k)] % stride;
        const QRectF cell = QRectF(cellRect(c, r)).adjusted(in, in, -in, -in);
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

void SolveBoard::describe()
{
    QString text = QStringLiteral("%1, %2 of its pieces laid")
                       .arg(capitalised(theTray(m_session.index().tray())))
                       .arg(m_session.position().placements.size());
    if (m_held)
        text += QStringLiteral("; %1 picked, its first square at column %2, row %3%4")
                    .arg(QLatin1Char(Letters[static_cast<std::size_t>(pieceOf(m_held->shape))]))
                    .arg(m_held->column + 1)
                    .arg(m_held->row + 1)
                    .arg(heldFits() ? QStringLiteral(", fits") : QStringLiteral(", does not fit"));
    setAccessibleDescription(text);
}

SolveWindow::SolveWindow(std::unique_ptr<TilingIndex> index, Appearance look, Hooks hooks,
                         QWidget *parent)
    : QDialog(parent), m_index(std::move(index)), m_session(*m_index), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("frmSolve"));
    const Tray &tray = m_index->tray();
    const QString label = QString::fromStdString(tray.label());
    setWindowTitle(theTray(tray).starts_with("the tray")
                       ? QStringLiteral("Solve \"%1\" Yourself").arg(label)
                       : QStringLiteral("Solve the %1 Tray Yourself").arg(label));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    m_board = new SolveBoard(m_session, look, this);
    m_board->setBeep(m_hooks.beep);
    lblHint = new QLabel(
        QStringLiteral(
            "Drag a piece onto the tray; while dragging, right-click or turn the wheel to turn it, "
            "middle-click to flip it. Or type its letter, move it with the arrows, R turns, M "
            "flips, Enter lays it, Delete takes it back. H: a hint. < and >: the tilings that "
            "remain. "
            "F11: full screen."),
        this);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    QFont bold = lblCount->font();
    bold.setBold(true);
    lblCount->setFont(bold);
    lblCount->setAccessibleName(QStringLiteral("Count"));
    lblCount->setWordWrap(true);
    lblBrowse = new QLabel(this);
    lblBrowse->setObjectName(QStringLiteral("lblBrowse"));
    const auto button = [this](const char *name, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        return b;
    };
    cmdHint = button("cmdHint", QStringLiteral("&Hint"), QStringLiteral("Lay one more piece (H)"));
    cmdUndo = button("cmdUndo", QStringLiteral("&Undo"), QStringLiteral("Undo (Ctrl+Z)"));
    cmdRedo = button("cmdRedo", QStringLiteral("&Redo"), QStringLiteral("Redo (Ctrl+Shift+Z)"));
    cmdPrevTiling = button("cmdPrevTiling", QStringLiteral("<"),
                           QStringLiteral("Previous tiling that completes this"));
    cmdNextTiling = button("cmdNextTiling", QStringLiteral(">"),
                           QStringLiteral("Next tiling that completes this"));
    cmdShow = button("cmdShow", QStringLiteral("Show in &Main Window"),
                     QStringLiteral("Show this solution in the main window"));
    QPushButton *cmdSave =
        button("cmdSave", QStringLiteral("&Save..."), QStringLiteral("Save the position (Ctrl+S)"));
    QPushButton *cmdOpen =
        button("cmdOpen", QStringLiteral("&Open..."), QStringLiteral("Open a position (Ctrl+O)"));
    QPushButton *cmdClose =
        button("cmdClose", QStringLiteral("Close"), QStringLiteral("Close this window"));

    // Two rows under the count, so that the window fits a small or scaled
    // screen: browsing what remains, then the moves and the files.
    const auto row = [](std::initializer_list<QWidget *> left,
                        std::initializer_list<QWidget *> right) {
        auto *buttons = new QHBoxLayout;
        for (QWidget *w : left)
            buttons->addWidget(w);
        buttons->addStretch(1);
        for (QWidget *w : right)
            buttons->addWidget(w);
        return buttons;
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblHint);
    layout->addWidget(m_board, 1);
    layout->addWidget(lblCount);
    // The tiling shown is named after the buttons, which keep their places.
    layout->addLayout(row({cmdPrevTiling, cmdNextTiling, cmdShow, lblBrowse}, {}));
    layout->addLayout(row({cmdHint, cmdUndo, cmdRedo}, {cmdSave, cmdOpen, cmdClose}));

    connect(cmdHint, &QPushButton::clicked, this, [this] {
        if (const auto why = m_session.hint())
            lblCount->setText(*why);
        else
            follow();
    });
    connect(cmdUndo, &QPushButton::clicked, this, [this] {
        m_session.undo();
        follow();
    });
    connect(cmdRedo, &QPushButton::clicked, this, [this] {
        m_session.redo();
        follow();
    });
    connect(cmdPrevTiling, &QPushButton::clicked, this, [this] { browse(-1); });
    connect(cmdNextTiling, &QPushButton::clicked, this, [this] { browse(+1); });
    connect(cmdShow, &QPushButton::clicked, this, [this] {
        const std::uint32_t tiling =
            m_browsing >= 0 ? m_session.remaining()[static_cast<std::size_t>(m_browsing)]
                            : m_session.remaining().front();
        m_hooks.show(m_index->board(), m_index->solutionOf(tiling));
    });
    connect(cmdSave, &QPushButton::clicked, this, &SolveWindow::save);
    connect(cmdOpen, &QPushButton::clicked, this, &SolveWindow::open);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(m_board, &SolveBoard::changed, this, &SolveWindow::follow);
    const auto keys = [this](QKeySequence sequence, std::function<void()> act) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, std::move(act));
    };
    keys(Qt::CTRL | Qt::Key_Z, [this] { cmdUndo->click(); });
    keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, [this] { cmdRedo->click(); });
    keys(Qt::Key_H, [this] { cmdHint->click(); });
    keys(Qt::CTRL | Qt::Key_S, [this] { save(); });
    keys(Qt::CTRL | Qt::Key_O, [this] { open(); });
    keys(Qt::Key_F11, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });

    // Where the user left this tray last time.
    const QString last = Choices::solvePosition(m_index->tray(), m_index->board());
    if (static_cast<std::size_t>(last.size()) > MaximumGridText) {
        // Refused as an opened file would be, said once the window shows.
        QTimer::singleShot(0, this, [this] {
            m_hooks.message(
                QString::fromStdString(tooMuchForAGrid("The position remembered for this tray") +
                                       "; the tray starts empty."));
        });
    } else if (!last.isEmpty() && !m_session.open(last.toStdString())) {
        m_session.forgetSteps(); // the position alone, not a step to undo
    }
    // Large where there is room, but with its frame well inside the screen
    // it opens on (a small or scaled screen would otherwise cut it off).
    QSize size(900, 700);
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() * 0.9);
    resize(size.expandedTo(minimumSizeHint()));
    m_board->setFocus();
    follow();
}

SolveWindow::~SolveWindow() = default;

void SolveWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_board->held())
        return m_board->dropHeld();
    // < and > step through the tilings that remain, as their buttons do.
    if (event->text() == QLatin1String("<") || event->text() == QLatin1String(">")) {
        QPushButton *step = event->text() == QLatin1String("<") ? cmdPrevTiling : cmdNextTiling;
        if (step->isEnabled())
            step->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SolveWindow::follow()
{
    m_browsing = -1;
    m_board->setCompletion(std::nullopt);
    if (const auto n = m_session.solution())
        lblCount->setText(QStringLiteral("You found solution %1 of %2")
                              .arg(QString::fromStdString(groupedNumber(*n)),
                                   QString::fromStdString(theTray(m_index->tray()))));
    else
        lblCount->setText(m_session.countText());
    cmdUndo->setEnabled(m_session.canUndo());
    cmdRedo->setEnabled(m_session.canRedo());
    const bool some = !m_session.remaining().empty() && !m_session.finished();
    cmdPrevTiling->setEnabled(some);
    cmdNextTiling->setEnabled(some);
    lblBrowse->setText(QString());
    cmdShow->setEnabled(m_session.finished() && m_session.solution());
    cmdHint->setEnabled(!m_session.finished()); // a full tray keeps naming its solution
    Choices::setSolvePosition(m_index->tray(), m_index->board(), QString::fromStdString(m_session.text()));
    m_board->update();
}

void SolveWindow::browse(int step)
{
    const auto count = static_cast<int>(m_session.remaining().size());
    if (count == 0)
        return;
    m_browsing = ((m_browsing < 0 ? (step > 0 ? -1 : 0) : m_browsing) + step + count) % count;
    const std::uint32_t tiling = m_session.remaining()[static_cast<std::size_t>(m_browsing)];
    m_board->setCompletion(m_index->tiling(tiling));
    lblBrowse->setText(
        QStringLiteral("tiling %1 of %2, solution %3")
            .arg(QString::fromStdString(groupedNumber(m_browsing + 1)),
                 QString::fromStdString(groupedNumber(count)),
                 QString::fromStdString(groupedNumber(m_index->solutionOf(tiling)))));
    cmdShow->setEnabled(true);
}

void SolveWindow::save()
{
    const QString name =
        m_hooks.askSavePath(Choices::outputFolder() + QStringLiteral("/Position.txt"),
                            QStringLiteral("Positions (*.txt)"));
    if (name.isEmpty())
        return;
    if (const auto failed = saveChosen(name, m_session.text(), m_hooks.database,
                                       QStringLiteral("The position could not be saved")))
        m_hooks.message(*failed);
}

void SolveWindow::open()
{
    const QString name =
        m_hooks.askOpenPath(Choices::outputFolder(), QStringLiteral("Positions (*.txt)"));
    if (name.isEmpty())
        return;
    const auto path = pathBytes(name);
    const auto text =
        path ? readLimited(*path, MaximumGridText)
             : Expected<std::string, FileFailure>(FileFailure{
                   "the name holds characters that are not valid text", "choose another name"});
    if (!text) {
        m_hooks.message(
            QStringLiteral("The position could not be opened: ") +
            displayName(text.error().sentence("cannot read", path.value_or(name.toStdString()))));
        return;
    }
    if (text->size() > MaximumGridText) {
        m_hooks.message(QStringLiteral("The position could not be opened: ") +
                        displayName(tooMuchForAGrid("\"" + *path + "\"")) + QLatin1Char('.'));
        return;
    }
    if (const auto why = m_session.open(*text))
        m_hooks.message(QString::fromStdString(*why));
    follow();
}

} // namespace tw
