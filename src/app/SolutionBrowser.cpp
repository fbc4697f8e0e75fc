#include "app/SolutionBrowser.h"

#include "app/Advice.h"
#include "app/TrayPicture.h"
#include "base/NumberText.h"
#include "pieces/PieceTables.h"
#include "solutions/Boards.h"
#include "solutions/Decoding.h"
#include "solutions/SharedState.h"

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

// Where the board change and the "Print" tab blank the surface.
constexpr double ClearLeft = 2800, ClearTop = 3300, ClearWidth = 5000, ClearHeight = 4400;
// Where the row of pieces stands: from (600, 2400), five squares high at most.
constexpr double RowLeft = 600, RowTop = 2400;

void fill(Canvas *screen, double x, double y, double width, double height, Colour colour)
{
    if (screen)
        screen->fillBox(x, y, width, height, colour);
}

// Down to a whole number of 15-twip steps.
double onPixels(double twips)
{
    return std::floor(twips / 15) * 15;
}

// Where a kept tray may stand: where the five stand, from the 20 x 3 tray's
// frame across to the 8 x 8 tray's down, above the tabs.
QRectF keptArea()
{
    return {2800, 3300, 4400, 2000};
}

} // namespace

TrayGeometry fittedGeometry(const Tray &tray, const QRectF &area)
{
    const double cols = tray.cols() + 2, rows = tray.rows() + 2;
    // The five's unit where it fits; smaller, a whole number of pixels, so
    // that every cell has the same size on the screen.
    const double fits = std::min(area.width() / cols, area.height() / rows);
    const double unit = fits >= ScreenUnit ? ScreenUnit : std::max(15.0, onPixels(fits));
    return {onPixels(area.left() + (area.width() - cols * unit) / 2) + unit,
            onPixels(area.top() + (area.height() - rows * unit) / 2) + unit,
            static_cast<Single>(unit)};
}

SolutionBrowser::SolutionBrowser(SharedState &sharedState, const Advice &advice)
    : state(sharedState), m_advice(advice)
{}

QRectF SolutionBrowser::trayArea()
{
    return {ClearLeft, ClearTop, ClearWidth, ClearHeight};
}

TrayGeometry SolutionBrowser::trayGeometry() const
{
    if (m_kept)
        return fittedGeometry(m_kept->tray, keptArea());
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(state.BoardIndex));
    return {static_cast<double>(tray.trayLeft), static_cast<double>(tray.trayTop), ScreenUnit};
}

QRectF SolutionBrowser::frameArea() const
{
    if (m_kept) {
        const TrayGeometry at = trayGeometry();
        return {at.left - at.unit, at.top - at.unit, (m_kept->tray.cols() + 2) * at.unit,
                (m_kept->tray.rows() + 2) * at.unit};
    }
    const TrayInfo &tray = Trays.at(static_cast<std::size_t>(state.BoardIndex));
    return {tray.trayLeft - ScreenUnit, tray.trayTop - ScreenUnit, (tray.cols + 2) * ScreenUnit,
            (tray.rows + 2) * ScreenUnit};
}

void SolutionBrowser::DrawTray()
{
    if (!m_displaying)
        return;
    if (m_kept) {
        const QRectF place = keptArea();
        fill(m_screen, place.left(), place.top(), place.width(), place.height(), ButtonFace);
        if (m_screen) {
            paintFrame(*m_screen, trayGeometry(), m_kept->tray.cols(), m_kept->tray.rows());
            paintTiling(*m_screen, emptyTiling(m_kept->tray, state.BoardIndex), trayGeometry(),
                        m_look);
        }
        emit painted(trayArea());
        return;
    }
    fill(m_screen, 2800, 3300, 3900, 2000, ButtonFace);
    if (m_screen)
        paintFrame(*m_screen, trayGeometry(), m_board.Cols, m_board.Rows);
    emit painted(trayArea());
}

void SolutionBrowser::DrawPieceRow()
{
    // Each piece's first orientation in the catalogue's own layout, seven
    // rows high (stride 8), side by side one empty column apart.
    TrayGeometry where{RowLeft, RowTop, ScreenUnit};
    for (const PieceCollection &piece : LoadShapes()) {
        const clsShape &first = piece.front();
        if (m_screen)
            first.DrawIndex(*m_screen, first.StartX, 8, where, m_look);
        where.left = toInteger(static_cast<Integer>(where.left) +
                               roundToInteger((first.Width + 1) * where.unit));
    }
    emit painted({RowLeft, RowTop, 10000 - RowLeft, 5 * ScreenUnit});
}

void SolutionBrowser::clearTrayArea()
{
    fill(m_screen, ClearLeft, ClearTop, ClearWidth, ClearHeight, ButtonFace);
    emit painted(trayArea());
}

bool SolutionBrowser::changeBoard(Integer board)
{
    m_kept = nullptr;
    if (!isBuiltIn(board)) {
        const std::size_t k = keptPlace(board);
        if (!m_keptTrays || k >= m_keptTrays->size())
            return false;
        m_kept = &(*m_keptTrays)[k];
        state.BoardIndex = board;
        clearTrayArea();
        DrawTray();
        state.SolutionNo = 1;
        ShowSolution();
        return true;
    }
    state.BoardIndex = board;
    m_board = boardGrid(board);
    clearTrayArea();
    DrawTray();
    if (auto error = SelectBoard(state, board)) {
        // The tray cannot be read: no steps until it is chosen again.
        showNoSolution();
        emit message(QString::fromStdString(m_advice.explain(*error)));
        return false;
    }
    state.SolutionNo = 1;
    ShowSolution();
    return true;
}

void SolutionBrowser::ShowSolution()
{
    showCurrent();
}

bool SolutionBrowser::showCurrent()
{
    if (count() == 0) {
        showNoSolution();
        return false;
    }
    // On the "Print" tab the tray area is blank and the pieces would go into
    // the preview document, so only the number and the steps follow the
    // cursor.
    std::optional<DecodeError> error;
    if (m_kept) {
        if (m_displaying) {
            if (m_screen) {
                paintFrame(*m_screen, trayGeometry(), m_kept->tray.cols(), m_kept->tray.rows());
                paintTiling(*m_screen, keptTiling(state.SolutionNo), trayGeometry(), m_look);
            }
            emit painted(trayArea());
        }
        emit moved();
        return true;
    }
    if (m_displaying) {
        Drawing drawing;
        drawing.target = Drawing::Target::Screen;
        drawing.screen = m_screen;
        drawing.where = trayGeometry();
        drawing.look.look = m_look;
        if (auto shown = DecodeSolution(m_board, state.BoardIndex,
                                        state.SolutionSet.currentRecord(), drawing);
            !shown)
            error = shown.error();
        if (error) {
            emit cannotShow();
            DrawTray(); // the empty tray stands for the solution that cannot be shown
        }
        emit painted(trayArea());
    }
    emit moved();
    if (!error)
        return true;
    const std::string_view tray = Trays.at(static_cast<std::size_t>(state.BoardIndex)).label;
    emit message(QStringLiteral("Solution %1 of the %2 tray cannot be shown: %3.")
                     .arg(state.SolutionNo)
                     .arg(QString::fromLatin1(tray.data(), static_cast<qsizetype>(tray.size())),
                          QString::fromStdString(error->message)));
    return false;
}

void SolutionBrowser::showNoSolution()
{
    state.SolutionNo = 0;
    emit cannotShow();
    emit moved();
}

void SolutionBrowser::first()
{
    if (!m_kept)
        state.SolutionSet.MoveFirst();
    state.SolutionNo = 1;
    ShowSolution();
}

void SolutionBrowser::last()
{
    if (!m_kept)
        state.SolutionSet.MoveLast();
    state.SolutionNo = toInteger(count());
    ShowSolution();
}

bool SolutionBrowser::step(int direction)
{
    const Steps can = steps();
    if (direction > 0 ? !can.next : !can.previous)
        return false;
    if (m_kept)
        ;
    else if (direction > 0)
        state.SolutionSet.MoveNext();
    else
        state.SolutionSet.MovePrevious();
    state.SolutionNo = toInteger(state.SolutionNo + direction);
    return showCurrent() && state.SolutionNo != (direction > 0 ? count() : 1);
}

bool SolutionBrowser::jump(std::string_view text)
{
    const auto number = parseNumber(text);
    const auto n = number ? wholeInteger(*number) : std::nullopt;
    return n && goTo(*n);
}

bool SolutionBrowser::goTo(Long n)
{
    if (n < 1 || n > count())
        return false;
    state.SolutionNo = toInteger(n);
    if (n == 1) {
        first();
    } else if (n == count()) {
        last();
    } else {
        if (!m_kept) {
            state.SolutionSet.MoveFirst();
            state.SolutionSet.FindSolution(n);
        }
        ShowSolution();
    }
    return true;
}

QString SolutionBrowser::position() const
{
    return number().isEmpty() ? QString()
                              : QStringLiteral("Solution %1 of %2").arg(number()).arg(count());
}

const std::vector<KeptTray> &SolutionBrowser::keptTrays() const
{
    static const std::vector<KeptTray> none;
    return m_keptTrays ? *m_keptTrays : none;
}

QString SolutionBrowser::trayName() const
{
    if (m_kept)
        return QString::fromStdString(m_kept->name);
    const std::string_view label = Trays.at(static_cast<std::size_t>(state.BoardIndex)).label;
    return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
}

Tiling SolutionBrowser::keptTiling(Long n) const
{
    return tilingOf(m_kept->tray, state.BoardIndex,
                    m_kept->solutions.at(static_cast<std::size_t>(n - 1)));
}

QString SolutionBrowser::trayDescription() const
{
    const QString tray = trayName();
    const auto tiling = number().isEmpty() ? Expected<Tiling, DecodeError>(DecodeError{})
                        : m_kept ? Expected<Tiling, DecodeError>(keptTiling(state.SolutionNo))
                                 : tileRecord(state.BoardIndex, state.SolutionSet.currentRecord());
    if (!tiling)
        return QStringLiteral("The %1 tray, empty").arg(tray);
    return QStringLiteral("The %1 tray, %2, rows %3")
        .arg(tray, position().toLower(),
             QString::fromStdString(letterGrid(*tiling))
                 .replace(QLatin1Char('/'), QStringLiteral(", ")));
}

Expected<TrayPicture, DecodeError> SolutionBrowser::picture(Appearance look) const
{
    if (m_kept)
        return TrayPicture(keptTiling(state.SolutionNo), look);
    return TrayPicture::make(state.BoardIndex, state.SolutionSet.currentRecord(), look);
}

Steps SolutionBrowser::steps() const
{
    return stepsAt(state.SolutionNo, count());
}

QString SolutionBrowser::number() const
{
    return state.SolutionNo >= 1 && count() > 0 ? QString::number(state.SolutionNo) : QString();
}

Long SolutionBrowser::count() const
{
    if (m_kept)
        return static_cast<Long>(m_kept->solutions.size());
    return state.SolutionSet.RecordCount();
}

} // namespace tw
