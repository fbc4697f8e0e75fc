#include "app/SolveHand.h"

#include "pieces/PieceTables.h"
#include "solutions/Boards.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

constexpr int BandColumns = 7;
constexpr double Slot = 2.5; // a band slot's side, units: its pieces at half size

int pieceOf(Integer shape)
{
    return shape == SquarePiece ? 12 : orientation(shape).Piece;
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

int pieceOfLetter(char letter)
{
    const auto at = SolveLetters.find(letter);
    return letter == 0 || at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::vector<ColumnRow> cellsOf(Integer shape)
{
    if (shape == SquarePiece)
        return {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    const auto s = squareSteps(orientation(shape));
    return {{0, 0}, s[0], s[1], s[2], s[3]};
}

SolveLayout solveLayout(int cols, int rows, double width, double height, double ratio)
{
    const double wide = std::max<double>(cols + 2, BandColumns * Slot);
    const double high = rows + 2 + 2 * Slot + 0.5;
    const double unit =
        std::max(1.0, std::floor(std::min(width / wide, height / high) * ratio)) / ratio;
    const double left = std::round((width - wide * unit) / 2 * ratio) / ratio;
    const double top = std::round((height - high * unit) / 2 * ratio) / ratio;
    return {unit, QPointF(left + (wide - cols) / 2 * unit, top + unit),
            QPointF(left + (wide - BandColumns * Slot) / 2 * unit, top + (rows + 2.5) * unit)};
}

QRect SolveLayout::cellRect(int column, int row) const
{
    return QRectF(tray + QPointF(column * unit, row * unit), QSizeF(unit, unit)).toAlignedRect();
}

QRect SolveLayout::bandRect(char letter) const
{
    const int slot = pieceOfLetter(letter);
    return QRectF(band +
                      QPointF(slot % BandColumns * Slot * unit, slot / BandColumns * Slot * unit),
                  QSizeF(Slot * unit, Slot * unit))
        .toAlignedRect();
}

std::pair<int, int> SolveLayout::cellAt(QPointF point) const
{
    return {static_cast<int>(std::floor((point.x() - tray.x()) / unit)),
            static_cast<int>(std::floor((point.y() - tray.y()) / unit))};
}

char SolveLayout::letterAt(QPointF point) const
{
    for (const char letter : SolveLetters)
        if (bandRect(letter).contains(point.toPoint()))
            return letter;
    return 0;
}

SolveHand::SolveHand(SolveSession &session) : m_session(session)
{
    for (int piece = 0; piece < 12; ++piece)
        m_turned[static_cast<std::size_t>(piece)] =
            catalogue()[static_cast<std::size_t>(piece)].front().Shape;
    m_turned[12] = SquarePiece;
}

Integer SolveHand::orientationOf(char letter) const
{
    return m_turned[static_cast<std::size_t>(pieceOfLetter(letter))];
}

bool SolveHand::heldFits() const
{
    return m_held && m_session.fits(m_held->shape, m_held->column, m_held->row,
                                    m_held->from ? &*m_held->from : nullptr);
}

bool SolveHand::pick(char letter)
{
    const int piece = pieceOfLetter(letter);
    if (piece < 0 || (piece == 12 && !m_session.index().tray().takesTheSquare()))
        return false;
    m_selected = letter;
    const Tiling &t = m_session.position();
    // A laid piece is picked up where it lies.
    for (const Placement &p : t.placements)
        if (pieceOf(p.shape) == piece) {
            m_held = Held{p.shape, p.cells[0] / t.stride(), p.cells[0] % t.stride(), 0, 0, p};
            return true;
        }
    // Another comes to the first place where it fits, or the tray's middle.
    const Integer shape = m_turned[static_cast<std::size_t>(piece)];
    const ColumnRow middle = middleOf(shape);
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
    return true;
}

bool SolveHand::pickUp(int column, int row)
{
    const Tiling &t = m_session.position();
    const Placement *p = t.at(column, row);
    if (!p || column < 0 || column >= t.cols || row < 0 || row >= t.rows)
        return false;
    const int stride = t.stride();
    const int first = p->cells[0];
    m_held = Held{
        p->shape, first / stride, first % stride, column - first / stride, row - first % stride,
        *p};
    m_selected = SolveLetters[static_cast<std::size_t>(pieceOf(p->shape))];
    return true;
}

bool SolveHand::pickFromBand(char letter, int column, int row)
{
    if (!pick(letter))
        return false;
    if (!m_held->from) {
        m_held->grabColumn = m_held->grabRow = 0;
        moveHeldTo(column, row);
    }
    return true;
}

bool SolveHand::moveHeld(int columns, int rows)
{
    if (!m_held)
        return false;
    m_held->column += columns;
    m_held->row += rows;
    return true;
}

bool SolveHand::moveHeldTo(int column, int row)
{
    if (!m_held)
        return false;
    m_held->column = column - m_held->grabColumn;
    m_held->row = row - m_held->grabRow;
    return true;
}

void SolveHand::reshapeHeld(bool flip)
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

bool SolveHand::turnHeld(int direction)
{
    if (!m_held)
        return false;
    for (int k = 0; k < (direction > 0 ? 1 : 3); ++k)
        reshapeHeld(false);
    return true;
}

bool SolveHand::flipHeld()
{
    if (!m_held)
        return false;
    reshapeHeld(true);
    return true;
}

bool SolveHand::layHeld()
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
    m_selected = SolveLetters[static_cast<std::size_t>(pieceOf(held.shape))];
    return true;
}

bool SolveHand::dropHeld()
{
    const bool held = m_held.has_value();
    m_held.reset();
    return held;
}

void SolveHand::release(int column, int row)
{
    if (!m_held)
        return;
    moveHeldTo(column, row);
    const Tiling &t = m_session.position();
    const bool offTray = column < 0 || column >= t.cols || row < 0 || row >= t.rows;
    if (layHeld())
        return;
    if (offTray && m_held->from) {
        const int stride = t.stride();
        m_session.takeBack(m_held->from->cells[0] / stride, m_held->from->cells[0] % stride);
    }
    dropHeld();
}

bool SolveHand::takeBackSelected()
{
    const Tiling &t = m_session.position();
    for (const Placement &p : t.placements)
        if (pieceOf(p.shape) == pieceOfLetter(m_selected)) {
            m_held.reset();
            m_session.takeBack(p.cells[0] / t.stride(), p.cells[0] % t.stride());
            return true;
        }
    return false;
}

Tiling SolveHand::shown() const
{
    Tiling shown = m_session.position();
    if (m_held && m_held->from)
        std::erase(shown.placements, *m_held->from);
    return shown;
}

std::vector<std::pair<char, Integer>> SolveHand::band() const
{
    const Tiling laid = shown();
    std::vector<std::pair<char, Integer>> out;
    for (int piece = 0; piece < 13; ++piece) {
        const bool away =
            std::any_of(laid.placements.begin(), laid.placements.end(),
                        [&](const Placement &p) { return pieceOf(p.shape) == piece; }) ||
            (piece == 12 && !m_session.index().tray().takesTheSquare()) ||
            (m_held && pieceOf(m_held->shape) == piece);
        if (!away)
            out.emplace_back(SolveLetters[static_cast<std::size_t>(piece)],
                             m_turned[static_cast<std::size_t>(piece)]);
    }
    return out;
}

const Placement *SolveHand::deadEnd() const
{
    const Placement *last = m_session.lastLaid();
    if (!m_session.remaining().empty() || !last ||
        (m_held && m_held->from && *m_held->from == *last))
        return nullptr;
    return last;
}

std::string SolveHand::description() const
{
    std::string tray = theTray(m_session.index().tray());
    if (!tray.empty())
        tray[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(tray[0])));
    std::string text = tray + ", " + std::to_string(m_session.position().placements.size()) +
                       " of its pieces laid";
    if (m_held)
        text += std::string("; ") + SolveLetters[static_cast<std::size_t>(pieceOf(m_held->shape))] +
                " picked, its first square at column " + std::to_string(m_held->column + 1) +
                ", row " + std::to_string(m_held->row + 1) +
                (heldFits() ? ", fits" : ", does not fit");
    return text;
}

} // namespace tw
